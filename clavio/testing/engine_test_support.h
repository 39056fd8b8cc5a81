// What the video engine's tests share: an application object that records the message
// boxes instead of showing them (graphs report from several threads), a window that
// collects WM_VIDEO_NOTIFY codes, and DV clips written at test time.
#pragma once
#include <afxwin.h>
#include "gtest_wine.h"
#include "dv_fixture.h"
#include "VideoEngine.h"
#include <mutex>
#include <string>
#include <vector>

class CRecordingApp : public CWinApp
{
public:
    CRecordingApp() : CWinApp("Engine tests") {}
    int DoMessageBox(LPCTSTR prompt, UINT, UINT) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_boxes.push_back(prompt);
        return IDOK;
    }
    std::vector<std::string> Boxes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_boxes;
    }
    std::string AllBoxes()
    {
        std::string all;
        for (const std::string& b : Boxes())
            all += "[" + b + "]";
        return all;
    }
    void ClearBoxes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_boxes.clear();
    }
    bool Saw(const std::string& part)
    {
        for (const std::string& b : Boxes())
            if (b.find(part) != std::string::npos)
                return true;
        return false;
    }

private:
    std::mutex m_mutex;
    std::vector<std::string> m_boxes;
};

// COM for the whole test program: the engine's graphs live in one apartment, as in the
// control, and the layer's module is loaded once. Programs that host the control itself
// define ENGINE_TESTS_OWN_COM and open their single-threaded apartment themselves.
#ifndef ENGINE_TESTS_OWN_COM
class ComForTheProgram : public testing::Environment
{
public:
    void SetUp() override { CoInitializeEx(NULL, COINIT_MULTITHREADED); }
    void TearDown() override { CoUninitialize(); }
};
inline testing::Environment* const g_comEnvironment =
    testing::AddGlobalTestEnvironment(new ComForTheProgram);
#endif

// A plain window whose WM_VIDEO_NOTIFY codes are read by pumping the test thread's queue.
class NotifyWindow
{
public:
    NotifyWindow()
    {
        m_hwnd = CreateWindowExA(0, "STATIC", "notify", WS_POPUP, 0, 0, 608, 456, NULL, NULL,
                                 NULL, NULL);
        m_wnd.Attach(m_hwnd);
    }
    ~NotifyWindow()
    {
        m_wnd.Detach();
        DestroyWindow(m_hwnd);
    }
    CWnd* Wnd() { return &m_wnd; }
    // Codes that arrived within `ms` (the queue is read until then).
    std::vector<WPARAM> Codes(DWORD ms)
    {
        DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageA(&msg, m_hwnd, WM_VIDEO_NOTIFY, WM_VIDEO_NOTIFY, PM_REMOVE))
                m_codes.push_back(msg.wParam);
            Sleep(5);
        } while (GetTickCount() - start < ms);
        std::vector<WPARAM> codes;
        codes.swap(m_codes);
        return codes;
    }
    // Waits until a code arrives (true) or `ms` pass.
    bool WaitFor(WPARAM code, DWORD ms)
    {
        DWORD start = GetTickCount();
        do {
            MSG msg;
            while (PeekMessageA(&msg, m_hwnd, WM_VIDEO_NOTIFY, WM_VIDEO_NOTIFY, PM_REMOVE))
                if (msg.wParam == code)
                    return true;
            Sleep(5);
        } while (GetTickCount() - start < ms);
        return false;
    }

private:
    HWND m_hwnd;
    CWnd m_wnd;
    std::vector<WPARAM> m_codes;
};

// A DV clip in /tmp for the life of the object; its Windows path in `path`.
class TestClip
{
public:
    TestClip(const DvClipFormat& format, const char* name)
    {
        m_unix = std::string("/tmp/") + name + std::to_string(GetCurrentProcessId()) + ".avi";
        std::string error;
        ok = WriteDvClip(m_unix, format, &error);
        EXPECT_TRUE(ok) << error;
        path = WinePath(m_unix).c_str();
    }
    ~TestClip() { remove(m_unix.c_str()); }
    CString path;
    bool ok = false;

private:
    std::string m_unix;
};
