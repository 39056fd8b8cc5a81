// Test helper of the database browser: a folder of its own with a settings store, the
// field definitions and a current database made at test time.
#pragma once
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxdao.h>
#include <functional>
#include <string>
#include "AppConfig.h"
#include "Globals.h"
#include "Recordsets.h"
#include "dialog_answers.h"

namespace browser_test {

inline std::string S(const CString& s) { return std::string((LPCTSTR)s); }

inline const char kFieldDefs[] =
    "<FieldDefs>\n"
    "<Field Name=\"ClipType\" DisplayName=\"Clip Type\" DisplayType=\"List\">"
    "<Entry>Swing</Entry><Entry>Drill</Entry><Entry>Comparison</Entry></Field>\n"
    "<Field Name=\"ClipFilter\" DisplayName=\"Clip Filter\" DisplayType=\"List\">"
    "<Entry>Show All</Entry><Entry>Show Swings</Entry><Entry>Show Drills</Entry>"
    "<Entry>Show Comparisons</Entry><Entry>Show Players</Entry><Entry>Show Pros</Entry>"
    "<Entry>Show Lady Pros</Entry><Entry>Show Students</Entry></Field>\n"
    "<Field Name=\"RoleFilter\" DisplayName=\"Role Filter\" DisplayType=\"List\">"
    "<Entry>Show All</Entry><Entry>Show Students</Entry><Entry>Show Instructors</Entry>"
    "<Entry>Show Pros</Entry></Field>\n"
    "<Field Name=\"Club\" DisplayName=\"Club\" DisplayType=\"List\">"
    "<Entry>Driver</Entry><Entry>7 Iron</Entry><Entry>Putter</Entry></Field>\n"
    "<Field Name=\"View\" DisplayName=\"View\" DisplayType=\"List\">"
    "<Entry>Face on</Entry><Entry>Down the line</Entry></Field>\n"
    "<Field Name=\"Role\" DisplayName=\"Role\" DisplayType=\"List\">"
    "<Entry>Student</Entry><Entry>Instructor</Entry><Entry>Pro</Entry><Entry>Other</Entry>"
    "</Field>\n"
    "</FieldDefs>\n";

inline void Execute(const CString& path, const char* const* statements)
{
    CDaoDatabase db;
    db.Open(path, FALSE, FALSE);
    for (; *statements; ++statements)
        db.Execute(*statements);
    db.Close();
}

inline void RemoveTree(const CString& dir)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(dir + "*", &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            CString name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(dir + name + "\\");
            else {
                SetFileAttributesA(dir + name, FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(dir + name);
            }
        } while (FindNextFileA(find, &found));
        FindClose(find);
    }
    RemoveDirectoryA(dir);
}

// A settings store over a temporary folder holding a current, empty database.
class BrowserTest : public testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_dir.Format("%squorvel-browser-%lu-%d\\", temp, GetCurrentProcessId(), s_serial++);
        RemoveTree(m_dir);
        CreateDirectoryA(m_dir, NULL);
        m_config.SetInstallDir(m_dir);
        m_capture = m_dir + "Capture";
        CreateDirectoryA(m_capture, NULL);
        m_config.SetCaptureDirectory(m_capture);
        m_config.m_xmlParser.ParseText(kFieldDefs, (int)sizeof kFieldDefs - 1);
        g_pAppConfig = &m_config;
        m_db = m_config.GetDatabasePath();
        CDaoDatabase db;
        db.Create(m_db, ";LANGID=0x0409;CP=1252;COUNTRY=0");
        db.Close();
        Execute(m_db, kClipDatabaseSchema);
    }

    void TearDown() override
    {
        g_pAppConfig = NULL;
        RemoveTree(m_dir);
    }

    void Run(const char* sql, const CDaoParams& params = CDaoParams())
    {
        CDaoDatabase db;
        db.Open(m_db, FALSE, FALSE);
        db.Execute(sql, params);
        db.Close();
    }

    long AddPerson(const CString& first, const CString& last, const char* role = "Student",
                   long instructor = -1)
    {
        Run("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID], "
            "[LastLessonNumber]) VALUES (?, ?, ?, ?, 0)",
            CDaoParams().Add(first).Add(last).Add(role).Add((LONG)instructor));
        return LastID("Person");
    }

    long LastID(const char* table)
    {
        CDaoDatabase db;
        db.Open(m_db, FALSE, TRUE);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, CString("SELECT Max([ID]) AS M FROM [") + table + "]");
        long id = 0;
        if (!rs.IsEOF()) {
            COleVariant value = rs.GetFieldValue(0);
            if (SUCCEEDED(VariantChangeType(&value, &value, 0, VT_I4)))
                id = V_I4(&value);
        }
        rs.Close();
        db.Close();
        return id;
    }

    // The number of rows a query gives.
    long Count(const char* sql)
    {
        CDaoDatabase db;
        db.Open(m_db, FALSE, TRUE);
        CDaoRecordset rs(&db);
        rs.Open(dbOpenSnapshot, sql);
        long n = 0;
        for (; !rs.IsEOF(); rs.MoveNext())
            ++n;
        rs.Close();
        db.Close();
        return n;
    }

    static inline int s_serial = 0;
    CAppConfig m_config;
    CString m_dir, m_capture, m_db;
};

} // namespace browser_test

namespace browser_test {

// Runs `action` from inside the next modal loop (a one-shot timer of the thread).
class InsideLoop
{
public:
    explicit InsideLoop(std::function<void()> action, UINT delay = 30)
    {
        s_action = std::move(action);
        m_timer = SetTimer(NULL, 0, delay, Tick);
    }
    ~InsideLoop() { KillTimer(NULL, m_timer); }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        KillTimer(NULL, id);
        std::function<void()> action = std::move(s_action);
        s_action = nullptr;
        if (action)
            action();
    }
    UINT_PTR m_timer;
    static inline std::function<void()> s_action;
};

// A database of people and clips made at test time: an instructor, students (one of them
// the instructor's), a pro, a lady pro; clips of one, five and thirty days ago; a
// comparison pair; a clip in a group; clips whose files are missing.
struct ClipFixture
{
    long hale, obrien, muller, pro, lady;
    long swingNew, drillOld, compA, compB, grouped;
};

inline void AddClip(BrowserTest& t, CDaoDatabase& db, long person, const char* type,
                    double daysAgo, long partner, const CString& file, long* id)
{
    COleVariant when;
    V_VT(&when) = VT_DATE;
    V_DATE(&when) = (COleDateTime::GetCurrentTime() - COleDateTimeSpan(daysAgo)).m_dt;
    db.Execute("INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [ClipType], [Club], "
               "[View], [Comment], [ComparisonClipID], [VideoClipFileName], [DateTimeStamp], "
               "[TrimIn], [Person2ID]) VALUES (?, ?, ?, 'Driver', 'Face on', '', ?, ?, ?, 0, -1)",
               CDaoParams().Add(person).Add(CString(type)).Add(CString(type)).Add(partner)
                   .Add(file).Add(when));
    (void)t;
    CDaoRecordset rs(&db);
    rs.Open(dbOpenSnapshot, "SELECT Max([ID]) FROM [VideoClip]");
    COleVariant v = rs.GetFieldValue(0);
    VariantChangeType(&v, &v, 0, VT_I4);
    *id = V_I4(&v);
    rs.Close();
}

} // namespace browser_test
