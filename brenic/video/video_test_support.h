// What the video manager's tests share: an application that records the program's message
// boxes, answers for modal windows of the controls, the global objects the video manager
// reads, a host window with a CClavio in it, and DV clips written at test time.
#pragma once
#include <afxwin.h>
#include <afxole.h>
#include "../core/dialog_answers.h"
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <memory>
#include <string>
#include <vector>
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "Globals.h"
#include "TabrelEx.h"
#include "VideoWindow.h"
#include "dv_fixture.h"
#include "../frame/ClipBar.h"
#include "../frame/Lesson.h"

// This process's CPU time so far (kernel and user), in seconds, for the benchmarks.
inline double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return (double)(((ULONGLONG)t.dwHighDateTime << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

class CVideoTestApp : public CWinApp
{
public:
    CVideoTestApp() : CWinApp("Quorvel Redovove") {}
    int DoMessageBox(LPCTSTR prompt, UINT, UINT) override
    {
        m_boxes.push_back(prompt);
        return IDOK;
    }
    bool Saw(const std::string& part) const
    {
        for (const std::string& b : m_boxes)
            if (b.find(part) != std::string::npos)
                return true;
        return false;
    }
    std::vector<std::string> m_boxes;
};

inline void Pump(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(2);
    } while (GetTickCount() - start < ms);
}

// Pumps messages until the condition holds or the time is up; the condition's last answer.
inline bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms)
            return done();
        Pump(5);
    }
    return true;
}

// A folder of its own under /tmp for the test program, as a Windows path with no trailing
// backslash; emptied and removed by the object.
class TempFolder
{
public:
    explicit TempFolder(const char* tag)
    {
        // A fresh name from the system: the Wine process id is unique only within one
        // prefix, and test programs of other prefixes share /tmp.
        std::string pattern = std::string("/tmp/quorvel-") + tag + "-XXXXXX";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()))
            m_unix = name.data();
        EXPECT_FALSE(m_unix.empty()) << "no folder " << pattern;
        path = WinePath(m_unix).c_str();
    }
    ~TempFolder()
    {
        std::string cmd = "rm -rf '" + m_unix + "'";
        system(cmd.c_str());
    }
    CString path;
    std::string m_unix;
};

// A whole file read by its Unix path ("" when missing).
inline std::string ReadUnix(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A recording `xdg-email` first on PATH while the object lives: a run writes its arguments,
// one a line, to Recorded() (the last run's only).
class RecordingComposer
{
public:
    explicit RecordingComposer(const TempFolder& folder)
        : m_bin(folder.m_unix + "/bin"), m_log(folder.m_unix + "/mail.log"),
          m_oldPath(getenv("PATH") ? getenv("PATH") : "")
    {
        EXPECT_EQ(0, system(("mkdir -p '" + m_bin + "'").c_str()));
        {
            std::ofstream script(m_bin + "/xdg-email");
            script << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << m_log
                   << "'\n";
        }
        EXPECT_EQ(0, system(("chmod +x '" + m_bin + "/xdg-email'").c_str()));
        setenv("PATH", (m_bin + ":" + m_oldPath).c_str(), 1);
    }
    ~RecordingComposer() { setenv("PATH", m_oldPath.c_str(), 1); }
    std::string Recorded() const { return ReadUnix(m_log); }
    void Forget() const { remove(m_log.c_str()); }

private:
    std::string m_bin, m_log, m_oldPath;
};

// A DV clip (frame numbers in the picture) in a folder; its Windows path in `path`.
class DvClip
{
public:
    DvClip(const TempFolder& folder, const char* name, int frames, bool pal = false)
    {
        m_unix = folder.m_unix + "/" + name;
        DvClipFormat format;
        format.frames = frames;
        format.pal = pal;
        format.withAudio = false;
        format.fieldNumbers = true;
        std::string error;
        ok = WriteDvClip(m_unix, format, &error);
        EXPECT_TRUE(ok) << error;
        path = WinePath(m_unix).c_str();
    }
    CString path;
    bool ok = false;
    std::string m_unix;
};

// The global objects the video manager reads, and the video manager window in a host.
class VideoManagerFixture : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        AfxOleInit();
        AfxEnableControlContainer();
    }
    void SetUp() override
    {
        m_folder.reset(new TempFolder("video"));
        g_pAppConfig = new CAppConfig;
        g_pAppConfig->SetInstallDir(m_folder->path + "\\");
        g_pAppConfig->SetCaptureDirectory(m_folder->path);
        g_pLesson = new CLesson;
        m_clipBar.reset(new CClipBar);
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host",
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600, NULL,
                                    NULL));
        g_pClavio = m_clavio = new CClavio;
        ASSERT_TRUE(m_clavio->Create(NULL, "Clavio", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                     CRect(0, 0, 700, 500), &m_host, 100));
        m_clavio->SetView(&m_host);
        ASSERT_TRUE(m_clipBar->CreatePanel(&m_host, CRect(0, 510, 306, 587), 152));
    }
    void TearDown() override
    {
        m_clipBar.reset();
        if (m_clavio->GetSafeHwnd())
            m_clavio->DestroyWindow();
        delete m_clavio;
        g_pClavio = m_clavio = nullptr;
        m_host.DestroyWindow();
        delete g_pLesson;
        g_pLesson = nullptr;
        delete g_pAppConfig;
        g_pAppConfig = nullptr;
        m_folder.reset();
    }
    // A clip of the channel's kind for a DV file, as the clip panel would own it.
    CClip* NewClip(const DvClip& file, int frames)
    {
        CClip* clip = new CClip;
        clip->m_strVideoPath = file.path;
        clip->m_bNew = FALSE; // the test's file outlives the clip
        clip->SetTrimOut(frames - 1);
        clip->m_nFrames = frames;
        m_clipBar->AddClip(clip, "");
        return clip;
    }

    DialogAnswers m_answers;
    std::unique_ptr<TempFolder> m_folder;
    std::unique_ptr<CClipBar> m_clipBar;
    CWnd m_host;
    CClavio* m_clavio = nullptr;
};
