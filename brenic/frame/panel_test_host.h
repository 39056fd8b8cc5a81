// Test host of the panels: a top-level window with the video manager in it (both video
// controls real), the settings store, DV clips written at test time, and the answers to
// the message boxes the panels show.
#pragma once
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxole.h>
#include <stdlib.h>
#include <unistd.h>
#include <string>
#include <vector>
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "Globals.h"
#include "VideoWindow.h"
#include "dialog_answers.h"
#include "dv_fixture.h"

class PanelHost : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        AfxOleInit();
        AfxEnableControlContainer();
    }

    void SetUp() override
    {
        g_pAppConfig = new CAppConfig;
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "Panel host",
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                    CRect(0, 0, 800, 620), NULL, 0));
        g_pClavio = new CClavio;
        ASSERT_TRUE(g_pClavio->Create(NULL, NULL, WS_CHILD | WS_VISIBLE,
                                      CRect(15, 33, 627, 493), &m_host, 0));
        m_answers.Clear();
        s_commands = &m_commands;
        m_hook = SetWindowsHookExA(WH_CALLWNDPROC, RecordCommand, NULL, GetCurrentThreadId());
    }

    void TearDown() override
    {
        UnhookWindowsHookEx(m_hook);
        s_commands = nullptr;
        DestroyPanels();
        if (g_pClavio) {
            g_pClavio->LoadClip(NULL);
            g_pClavio->DestroyWindow();
            delete g_pClavio;
            g_pClavio = NULL;
        }
        for (CClip* clip : m_clips)
            delete clip;
        m_clips.clear();
        m_host.DestroyWindow();
        delete g_pAppConfig;
        g_pAppConfig = NULL;
        for (const std::string& file : m_files)
            remove(file.c_str());
        m_files.clear();
    }

    // Panels made by a test go before the video manager.
    virtual void DestroyPanels() {}

    // A clip of a DV file written now: frames frames at 29.97 (or 25, pal), trim over all.
    CClip* MakeClip(int frames, bool pal = false)
    {
        const std::string name = TempClipName("panel_clip");
        DvClipFormat format;
        format.frames = frames;
        format.pal = pal;
        format.withAudio = false;
        std::string error;
        EXPECT_TRUE(WriteDvClip(name, format, &error)) << error;
        m_files.push_back(name);
        CClip* clip = new CClip;
        clip->m_strVideoPath = CString("Z:") + name.c_str();
        clip->m_strVideoPath.Replace('/', '\\');
        clip->m_nFrames = frames;
        clip->m_nTrimIn = 0;
        clip->m_nTrimOut = frames - 1;
        m_clips.push_back(clip);
        return clip;
    }

public:
    // A fresh clip file name from the system: the Wine process id is unique only within one
    // prefix, and test programs of other prefixes share /tmp.
    static std::string TempClipName(const char* tag)
    {
        std::string pattern = std::string("/tmp/") + tag + "_XXXXXX.avi";
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        int fd = mkstemps(name.data(), 4);
        EXPECT_NE(-1, fd) << pattern;
        if (fd != -1)
            close(fd);
        return name.data();
    }

protected:
    // Shows a clip in the current channel, or in the other one.
    void Load(CClip* clip, bool other = false)
    {
        if (other)
            ASSERT_TRUE(g_pClavio->LoadClipInOtherChannel(clip));
        else
            ASSERT_TRUE(g_pClavio->LoadClip(clip));
    }

    // Both channels with a clip, in comparison view.
    void LoadBothSplit()
    {
        g_pClavio->SetLiveInput(FALSE, TRUE);
        g_pClavio->SetComparisonView(FALSE);
        g_pClavio->SelectChannel(0);
        Load(MakeClip(12));
        g_pClavio->SelectChannel(1);
        Load(MakeClip(14));
    }

    // Runs the messages already queued (posted notifications, answers to dialogs).
    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // Clicks a bitmap button or a push button the way the mouse does.
    static void Click(CWnd& button)
    {
        button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        button.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        Pump();
    }

    // The drawing commands sent to the overlays: channel * 100000 + command.
    static LRESULT CALLBACK RecordCommand(int code, WPARAM wp, LPARAM lp)
    {
        const CWPSTRUCT* m = (const CWPSTRUCT*)lp;
        if (code == HC_ACTION && m->message == WM_COMMAND && s_commands && g_pClavio)
            for (int n = 0; n < 2; ++n)
                if (m->hwnd == g_pClavio->GetOverlay(n)->GetSafeHwnd())
                    s_commands->push_back(n * 100000 + (UINT)LOWORD(m->wParam));
        return CallNextHookEx(NULL, code, wp, lp);
    }
    // The commands sent since the last call, without the position-changed ones.
    std::vector<UINT> TakeCommands()
    {
        std::vector<UINT> out;
        for (UINT c : m_commands)
            if (c % 100000 != 32848)
                out.push_back(c);
        m_commands.clear();
        return out;
    }

    CWnd m_host;
    HHOOK m_hook = NULL;
    std::vector<UINT> m_commands;
    static inline std::vector<UINT>* s_commands = nullptr;
    DialogAnswers m_answers;
    std::vector<CClip*> m_clips;
    std::vector<std::string> m_files;
};
