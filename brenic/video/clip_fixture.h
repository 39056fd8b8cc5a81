// Test helper of the clip tests: a program folder of its own with a capture folder, a clip
// database with two people (an instructor and a student) and the dialog answerer.
#pragma once
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxdao.h>
#include <string>
#include "AppConfig.h"
#include "Clip.h"
#include "Globals.h"
#include "Recordsets.h"
#include "dialog_answers.h"

class ClipFolder : public testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        m_dir.Format("%squorvel-clip-%lu-%d\\", temp, GetCurrentProcessId(), s_serial++);
        // A run that was stopped may have left a folder under a process id used again.
        RemoveTree(m_dir);
        CreateDirectoryA(m_dir, NULL);
        m_config.SetInstallDir(m_dir);
        m_capture = m_dir + "Capture";
        CreateDirectoryA(m_capture, NULL);
        m_config.SetCaptureDirectory(m_capture);
        g_pAppConfig = &m_config;
        m_main = m_config.GetDatabasePath();
        CDaoDatabase db;
        db.Create(m_main, dbLangGeneral);
        for (const char* const* s = kClipDatabaseSchema; *s; ++s)
            db.Execute(*s);
        db.Execute("INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID], "
                   "[L/RHand]) VALUES ('Hale', 'Ida', 'Instructor', -1, 'Right Hand')");
        db.Execute("INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID], "
                   "[L/RHand]) VALUES ('O''Brien', 'Sam', 'Student', 1, 'Left Hand')");
        db.Close();
        CClip::s_bKeepTempFiles = FALSE;
    }

    void TearDown() override
    {
        g_pAppConfig = NULL;
        RemoveTree(m_dir);
    }

    static void RemoveTree(const CString& dir)
    {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(dir + "*", &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                CString name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(dir + name + "\\");
                } else {
                    SetFileAttributesA(dir + name, FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(dir + name);
                }
            } while (FindNextFileA(find, &found));
            FindClose(find);
        }
        RemoveDirectoryA(dir);
    }

public:
    static void WriteBytes(const CString& path, const std::string& bytes)
    {
        HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        WriteFile(file, bytes.data(), (DWORD)bytes.size(), &written, NULL);
        CloseHandle(file);
    }

    static std::string ReadBytes(const CString& path)
    {
        std::string bytes;
        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0,
                                  NULL);
        if (file == INVALID_HANDLE_VALUE)
            return "<missing>";
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, NULL) && got)
            bytes.append(buffer, got);
        CloseHandle(file);
        return bytes;
    }

protected:
    static BOOL Exists(const CString& path)
    {
        return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    }

    // A new capture of the student with a video file of its own in the capture folder.
    CClip* NewCapture(const char* name = "CAP1a.avi", const std::string& video = "RIFF-video")
    {
        CClip* clip = new CClip;
        clip->m_strVideoPath = m_capture + "\\" + name;
        WriteBytes(clip->m_strVideoPath, video);
        clip->m_subject.m_FirstName = "Sam";
        clip->m_subject.m_LastName = "O'Brien";
        clip->m_subject.m_Role = "Student";
        clip->m_captureTime = COleDateTime(2024, 3, 5, 14, 7, 9);
        clip->m_nTrimOut = 45;
        clip->m_nFrames = 46;
        return clip;
    }

    // Adds a row for a clip the way a first save does (row added, then written).
    int AddRow(CClip* clip)
    {
        CClipRecord rs;
        rs.Open(dbOpenDynaset, "[VideoClip]");
        rs.AddNew();
        rs.Update();
        rs.SetBookmark(rs.GetLastModifiedBookmark());
        clip->m_nID = rs.m_ID;
        clip->WriteRecord(&rs);
        rs.Close();
        clip->m_bNew = FALSE;
        return clip->m_nID;
    }

    static inline int s_serial = 0;
    CAppConfig m_config;
    CString m_dir, m_capture, m_main;
    DialogAnswers m_answers;
};
