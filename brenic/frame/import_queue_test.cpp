// The main frame's import queue: what a hand-over queues, one ordered batch per tick with
// hand-overs that arrive during it, a tick deferred while another import runs, and the
// timer stopped after the batch.
#include "clip_fixture.h"
#include "ClipBar.h"
#include "MainFrm.h"
#include "resource.h"

namespace {
class TestApp : public CWinApp
{
public:
    TestApp() : CWinApp("Quorvel Redovove") {}
};
TestApp theApp;

class ImportQueue : public ClipFolder
{
protected:
    void SetUp() override
    {
        ClipFolder::SetUp();
        static char cmdLine[] = "";
        AfxWinInit(::GetModuleHandleA(NULL), NULL, cmdLine, SW_SHOWNORMAL);
        m_frame = new CMainFrame;
        ASSERT_TRUE(m_frame->LoadFrame(IDR_BRENICTYPE, WS_OVERLAPPEDWINDOW));
        theApp.m_pMainWnd = m_frame;
        // The frame deletes the panel.
        m_panel = new CClipBar;
        ASSERT_TRUE(m_panel->CreatePanel(m_frame, CRect(0, 0, 306, 77), 152));
        m_sources = m_dir + "Sources\\";
        CreateDirectoryA(m_sources, NULL);
    }
    void TearDown() override
    {
        m_frame->DestroyWindow();
        theApp.m_pMainWnd = NULL;
        CClip::s_bImporting = FALSE;
        CClip::EndBatchImport();
        ClipFolder::TearDown();
    }
    // A bare video to import; its path.
    CString Source(const char* name)
    {
        const CString path = m_sources + name;
        WriteBytes(path, "bare-video");
        return path;
    }
    LRESULT HandOver(DWORD_PTR id, const void* data, DWORD size)
    {
        COPYDATASTRUCT block = {id, size, (void*)data};
        return m_frame->SendMessage(WM_COPYDATA, 0, (LPARAM)&block);
    }
    LRESULT HandOver(const CString& path)
    {
        char block[256] = {};
        memcpy(block, (LPCTSTR)path, path.GetLength());
        return HandOver(1, block, sizeof block);
    }
    void Tick() { m_frame->SendMessage(WM_TIMER, 2); }
    std::vector<CString> Labels()
    {
        std::vector<CString> out;
        for (int i = 0; i < m_panel->GetStudentCount(); ++i)
            out.push_back(m_panel->GetStudentList().GetItemText(i, 0));
        return out;
    }

    CMainFrame* m_frame = nullptr;
    CClipBar* m_panel = nullptr;
    CString m_sources;
};

CString g_lateSource;
bool g_handedOver = false;
// Hands one more file over while the first import's progress window comes up.
LRESULT CALLBACK HandOverDuringImport(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE && !g_handedOver && !g_lateSource.IsEmpty()) {
        g_handedOver = true;
        const CString path = g_lateSource;
        char block[256] = {};
        memcpy(block, (LPCTSTR)path, path.GetLength());
        COPYDATASTRUCT data = {1, sizeof block, block};
        AfxGetMainWnd()->SendMessage(WM_COPYDATA, 0, (LPARAM)&data);
    }
    return CallNextHookEx(NULL, code, wParam, lParam);
}
} // namespace

TEST_F(ImportQueue, WhatAHandOverQueues)
{
    struct Case
    {
        DWORD_PTR id;
        std::string data;
        DWORD size;
        LRESULT result;
        const char* queued; // NULL: nothing queued
    } cases[] = {
        {1, std::string("C:\\a.kpx\0rest", 13), 13, TRUE, "C:\\a.kpx"},
        {2, std::string("C:\\b.kpx\0", 9), 9, FALSE, NULL}, // not a hand-over
        {1, "C:\\abcdefgh", 6, TRUE, "C:\\abc"},            // no NUL within the block
        {1, std::string("\0C:\\c.kpx", 9), 9, TRUE, NULL},   // an empty path
        {1, "", 0, TRUE, NULL},                              // no data at all
    };
    for (const Case& c : cases) {
        m_frame->ClearImportQueue();
        EXPECT_EQ(c.result, HandOver(c.id, c.size ? c.data.data() : NULL, c.size)) << c.id;
        if (c.queued) {
            ASSERT_EQ(1, m_frame->GetImportQueueCount()) << c.queued;
            EXPECT_STREQ(c.queued, m_frame->GetQueuedImport(0));
        } else {
            EXPECT_EQ(0, m_frame->GetImportQueueCount()) << c.data;
        }
    }
    // A cancelled import drops what is queued.
    HandOver("C:\\x.kpx");
    HandOver("C:\\y.kpx");
    m_frame->ClearImportQueue();
    EXPECT_EQ(0, m_frame->GetImportQueueCount());
    m_frame->KillTimer(2);
}

TEST_F(ImportQueue, OneOrderedBatchJoinedByLateHandOvers)
{
    const CString a = Source("a.avi"), b = Source("b.avi");
    g_lateSource = Source("c.avi");
    EXPECT_TRUE(HandOver(a));
    EXPECT_TRUE(HandOver(b));
    EXPECT_EQ(2, m_frame->GetImportQueueCount());
    g_handedOver = false;
    HHOOK hook = SetWindowsHookExA(WH_CBT, HandOverDuringImport, NULL, GetCurrentThreadId());
    Tick();
    UnhookWindowsHookEx(hook);
    g_lateSource.Empty();
    EXPECT_TRUE(g_handedOver);
    EXPECT_EQ(0, m_frame->GetImportQueueCount());
    const std::vector<CString> expected = {"a", "b", "c"};
    EXPECT_EQ(expected, Labels());
    // The batch is over: its timer is stopped and the importer's batch state cleared.
    EXPECT_FALSE(m_frame->KillTimer(2));
    EXPECT_FALSE(CClip::s_bBatchImport);
    EXPECT_FALSE(CClip::s_bQueuedImport);
}

TEST_F(ImportQueue, AnotherImportDefersTheTick)
{
    const CString a = Source("a.avi");
    HandOver(a);
    CClip::s_bImporting = TRUE;
    Tick();
    EXPECT_EQ(1, m_frame->GetImportQueueCount());
    EXPECT_EQ(0, m_panel->GetStudentCount());
    // The timer still runs for the next try.
    EXPECT_TRUE(m_frame->KillTimer(2));
    m_frame->SetTimer(2, 1000, NULL);
    CClip::s_bImporting = FALSE;
    Tick();
    EXPECT_EQ(0, m_frame->GetImportQueueCount());
    EXPECT_EQ(1, m_panel->GetStudentCount());
    EXPECT_FALSE(m_frame->KillTimer(2));
}
