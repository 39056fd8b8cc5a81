// Pictures of the database browser for people: run under a display with
// QUORVEL_SCREENSHOT_DIR (a Unix folder); each state is taken with xwd. Skipped otherwise.
// (No answers helper here: its windows live on a desktop of their own, off the screen.)
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxdao.h>
#include <stdlib.h>
#include <functional>
#include <string>
#include "AppConfig.h"
#include "ClipGroupsPPage.h"
#include "ClipsPPage.h"
#include "DatabaseSheet.h"
#include "Globals.h"
#include "PeoplePPage.h"
#include "Recordsets.h"
#include "browser_res.h"

namespace {

CWinApp theApp("Quorvel Redovove");

void Pump(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (GetTickCount() < end) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

const char* s_dir;
CDatabaseSheet* s_sheet;
std::function<void(CDatabaseSheet&, const char*)>* s_shoot;

void ShootWindow(CWnd& window, const char* name)
{
    window.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump(800);
    std::string command = std::string("xwd -root -silent -out '") + s_dir + "/" + name + ".xwd'";
    EXPECT_EQ(0, system(command.c_str()));
}

void Shoot(CDatabaseSheet& sheet, const char* name)
{
    ShootWindow(sheet, name);
}

void Click(CWnd* page, UINT id)
{
    page->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)page->GetDlgItem(id)->GetSafeHwnd());
}

} // namespace

TEST(BrowserScreens, ReadOnlyEditingAndBanner)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "no screenshot folder";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    CString folder;
    folder.Format("%squorvel-screens-%lu\\", temp, GetCurrentProcessId());
    CreateDirectoryA(folder, NULL);
    CAppConfig config;
    config.SetInstallDir(folder);
    config.SetCaptureDirectory(folder);
    static const char defs[] =
        "<FieldDefs><Field Name=\"ClipType\" DisplayName=\"Clip Type\" DisplayType=\"List\">"
        "<Entry>Swing</Entry><Entry>Drill</Entry><Entry>Comparison</Entry></Field>"
        "<Field Name=\"ClipFilter\" DisplayName=\"Clip Filter\" DisplayType=\"List\">"
        "<Entry>Show All</Entry><Entry>Show Swings</Entry><Entry>Show Drills</Entry>"
        "<Entry>Show Comparisons</Entry><Entry>Show Players</Entry><Entry>Show Pros</Entry>"
        "<Entry>Show Lady Pros</Entry><Entry>Show Students</Entry></Field>"
        "<Field Name=\"RoleFilter\" DisplayName=\"Role Filter\" DisplayType=\"List\">"
        "<Entry>Show All</Entry><Entry>Show Students</Entry><Entry>Show Instructors</Entry>"
        "<Entry>Show Pros</Entry></Field>"
        "<Field Name=\"Club\" DisplayName=\"Club\" DisplayType=\"List\"><Entry>Driver</Entry>"
        "<Entry>7 Iron</Entry></Field><Field Name=\"View\" DisplayName=\"View\" "
        "DisplayType=\"List\"><Entry>Face on</Entry><Entry>Down the line</Entry></Field>"
        "<Field Name=\"Role\" DisplayName=\"Role\" DisplayType=\"List\"><Entry>Student</Entry>"
        "<Entry>Instructor</Entry><Entry>Pro</Entry></Field></FieldDefs>";
    config.m_xmlParser.ParseText(defs, (int)sizeof defs - 1);
    g_pAppConfig = &config;
    {
        CDaoDatabase db;
        DeleteFileA(config.GetDatabasePath());
        db.Create(config.GetDatabasePath(), ";LANGID=0x0409;CP=1252;COUNTRY=0");
        for (const char* const* s = kClipDatabaseSchema; *s; ++s)
            db.Execute(*s);
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID]) "
                   "VALUES ('Ida', 'Hale', 'Instructor', -1)");
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID], "
                   "[City], [Phone], [Zip]) VALUES ('Sam', 'O''Brien', 'Student', 1, 'Ayr', "
                   "'5551234567', '12345')");
        db.Execute("INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [ClipType], [Club], "
                   "[View], [Comment], [ComparisonClipID], [VideoClipFileName], [DateTimeStamp], "
                   "[TrimIn]) VALUES (2, 'O''Brien,Sam Swing', 'Swing', 'Driver', 'Face on', "
                   "'Slices under pressure', -1, 'CLP0001.avi', #06/01/2026 10:30:00#, 0)");
        db.Close();
    }
    s_dir = dir;
    std::function<void(CDatabaseSheet&, const char*)> shoot = Shoot;
    {
        CDatabaseSheet sheet("Vido Database");
        s_sheet = &sheet;
        s_shoot = &shoot;
        struct Tick
        {
            static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD) { KillTimer(NULL, id); Run(); }
            static void Run()
            {
            CDatabaseSheet& sheet = *s_sheet;
            sheet.SetWindowPos(NULL, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
            CClipsPPage* clips = sheet.GetClipsPage();
            (*s_shoot)(sheet, "browser_clips_readonly");
            Click(clips, IDC_CP_EDIT);
            (*s_shoot)(sheet, "browser_clips_editing");
            Click(clips, IDC_CP_EDIT);
            clips->CheckRadioButton(IDC_DB_SHOW_ALL, IDC_CP_SHOW_LADY_PROS, IDC_CP_SHOW_STUDENTS);
            Click(clips, IDC_CP_SHOW_STUDENTS);
            (*s_shoot)(sheet, "browser_clips_banner");
            sheet.SetActivePage(0);
            (*s_shoot)(sheet, "browser_people_readonly");
            CPeoplePPage* people = sheet.GetPeoplePage();
            Click(people, IDC_PP_EDIT);
            (*s_shoot)(sheet, "browser_people_editing");
            sheet.PressButton(PSBTN_CANCEL);
            }
        };
        SetTimer(NULL, 0, 300, Tick::Proc);
        sheet.ShowModal(1);
    }
    g_pAppConfig = NULL;
}

TEST(BrowserScreens, ClipGroupsPage)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "no screenshot folder";
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    CString folder;
    folder.Format("%squorvel-groups-%lu\\", temp, GetCurrentProcessId());
    CreateDirectoryA(folder, NULL);
    CAppConfig config;
    config.SetInstallDir(folder);
    config.SetCaptureDirectory(folder);
    static const char defs[] =
        "<FieldDefs><Field Name=\"ClipType\" DisplayName=\"Clip Type\" DisplayType=\"List\">"
        "<Entry>Swing</Entry><Entry>Drill</Entry><Entry>Comparison</Entry></Field>"
        "<Field Name=\"ClipFilter\" DisplayName=\"Clip Filter\" DisplayType=\"List\">"
        "<Entry>Show All</Entry><Entry>Show Swings</Entry><Entry>Show Drills</Entry>"
        "<Entry>Show Comparisons</Entry><Entry>Show Players</Entry><Entry>Show Pros</Entry>"
        "<Entry>Show Lady Pros</Entry><Entry>Show Students</Entry></Field>"
        "<Field Name=\"Club\" DisplayName=\"Club\" DisplayType=\"List\"><Entry>Driver</Entry>"
        "</Field></FieldDefs>";
    config.m_xmlParser.ParseText(defs, (int)sizeof defs - 1);
    g_pAppConfig = &config;
    {
        CDaoDatabase db;
        DeleteFileA(config.GetDatabasePath());
        db.Create(config.GetDatabasePath(), ";LANGID=0x0409;CP=1252;COUNTRY=0");
        for (const char* const* s = kClipDatabaseSchema; *s; ++s)
            db.Execute(*s);
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID]) "
                   "VALUES ('Ida', 'Hale', 'Instructor', -1)");
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID]) "
                   "VALUES ('Sam', 'O''Brien', 'Student', 1)");
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID]) "
                   "VALUES ('Ben', 'Hogg', 'Pro', -1)");
        const char* clips[] = {
            "(2, 'O''Brien,Sam Swing', 'Swing', 'Driver', 'Face on', 'Slices under pressure', "
            "#06/01/2026 10:30:00#)",
            "(2, 'O''Brien,Sam Drill', 'Drill', 'Driver', 'Down the line', 'Tempo drill', "
            "#06/02/2026 09:15:00#)",
            "(3, 'Hogg,Ben Swing', 'Swing', 'Driver', 'Face on', 'Reference swing', "
            "#05/20/2026 16:00:00#)"};
        for (const char* values : clips)
            db.Execute(CString("INSERT INTO [VideoClip] ([PersonID], [VideoClipName], "
                               "[ClipType], [Club], [View], [Comment], [DateTimeStamp]) VALUES ") +
                       values);
        db.Execute("INSERT INTO [ReferenceClipMaster] ([GroupName], [Comment]) "
                   "VALUES ('Driver faults', '')");
        db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID]) VALUES (1, 1)");
        db.Execute("INSERT INTO [ReferenceClipGroupDetail] ([RefClipID], [VideoID]) VALUES (1, 3)");
        db.Close();
    }
    s_dir = dir;
    {
        CDatabaseSheet owner("Vido Database");
        owner.CreateGroupRecordsets();
        owner.OpenGroupRecordsets();
        CClipGroupsPPage page;
        page.SetMembershipRecordset(owner.GetGroupDetailRecordset());
        page.SetGroupRecordset(owner.GetGroupMasterRecordset());
        CPropertySheet sheet("Vido Database");
        sheet.AddPage(&page);
        static CPropertySheet* s_groups;
        static CClipGroupsPPage* s_page;
        s_groups = &sheet;
        s_page = &page;
        struct Tick
        {
            static void CALLBACK Proc(HWND, UINT, UINT_PTR id, DWORD)
            {
                KillTimer(NULL, id);
                s_groups->SetWindowPos(NULL, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                ShootWindow(*s_groups, "browser_groups");
                s_page->CheckRadioButton(IDC_DB_SHOW_ALL, IDC_CP_SHOW_PLAYERS, IDC_CP_SHOW_STUDENTS);
                Click(s_page, IDC_CP_SHOW_STUDENTS);
                s_page->GetFilterChoices().SetCurSel(1);
                s_page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_DB_CHOICE, CBN_SELCHANGE),
                                    (LPARAM)s_page->GetFilterChoices().GetSafeHwnd());
                ShootWindow(*s_groups, "browser_groups_banner");
                s_groups->PressButton(PSBTN_CANCEL);
            }
        };
        SetTimer(NULL, 0, 300, Tick::Proc);
        sheet.DoModal();
        owner.CloseGroupRecordsets();
    }
    g_pAppConfig = NULL;
}
