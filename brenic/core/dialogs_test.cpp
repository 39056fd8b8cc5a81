// The progress window and the prompt dialogs, headless.
#include "gtest_wine.h"
#include <afxwin.h>
#include <string>
#include "FileTask.h"
#include "ProgressDlg.h"
#include "PromptDlgs.h"
#include "dialog_answers.h"
#include "resource.h"

namespace {

// Counts the key presses that reach a plain window.
struct KeyCounter
{
    static LRESULT CALLBACK Proc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp)
    {
        if (msg == WM_KEYDOWN)
            ++s_keys;
        return DefWindowProcA(wnd, msg, wp, lp);
    }
    KeyCounter()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "KeyCounter";
        RegisterClassA(&wc);
        wnd = CreateWindowA("KeyCounter", "", WS_OVERLAPPED, 0, 0, 10, 10, NULL, NULL,
                            wc.hInstance, NULL);
        s_keys = 0;
    }
    ~KeyCounter() { DestroyWindow(wnd); }
    HWND wnd;
    static inline int s_keys = 0;
};

int Position(CProgressDlg& dlg)
{
    return (int)dlg.m_progress.SendMessage(PBM_GETPOS, 0, 0);
}

} // namespace

TEST(ProgressDlg, InitialisesStepsAndCompletes)
{
    CProgressDlg dlg(FALSE);
    dlg.SetMessage("Deleting unsaved capture files...");
    dlg.SetRange(4);
    dlg.Show(NULL);
    ASSERT_TRUE(dlg.GetSafeHwnd());
    char text[128];
    dlg.GetDlgItemText(IDC_PROGRESS_MESSAGE, text, sizeof text);
    EXPECT_STREQ("Deleting unsaved capture files...", text);
    dlg.GetWindowText(text, sizeof text);
    EXPECT_STREQ("Quorvel Redovove", text);
    EXPECT_FALSE(dlg.GetDlgItem(IDC_PROGRESS_CANCEL)->IsWindowEnabled());
    EXPECT_EQ(0, dlg.StepIt());
    EXPECT_EQ(1, Position(dlg));
    dlg.SetMessage("Searching...");
    dlg.GetDlgItemText(IDC_PROGRESS_MESSAGE, text, sizeof text);
    EXPECT_STREQ("Searching...", text);
    // A range set after the window exists counts only for Complete.
    dlg.SetRange(10);
    EXPECT_EQ(0, dlg.StepIt());
    dlg.Complete();
    EXPECT_EQ(4, (int)dlg.m_progress.SendMessage(PBM_GETRANGE, FALSE, 0));
    // Cancel is refused when not allowed.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED),
                    (LPARAM)dlg.GetDlgItem(IDC_PROGRESS_CANCEL)->GetSafeHwnd());
    EXPECT_FALSE(dlg.IsCancelled());
}

TEST(ProgressDlg, RangesAbove16BitsAreKept)
{
    CProgressDlg dlg(FALSE);
    dlg.SetRange(100000 * 4);
    dlg.Show(NULL);
    EXPECT_EQ(400000, (int)dlg.m_progress.SendMessage(PBM_GETRANGE, FALSE, 0));
    dlg.Complete();
}

TEST(ProgressDlg, CancelIsAOneWayFlag)
{
    CProgressDlg dlg(TRUE);
    dlg.Show(NULL);
    EXPECT_TRUE(dlg.GetDlgItem(IDC_PROGRESS_CANCEL)->IsWindowEnabled());
    dlg.GetDlgItem(IDC_PROGRESS_CANCEL)->PostMessage(BM_CLICK);
    EXPECT_EQ(0, dlg.StepIt());
    EXPECT_TRUE(dlg.IsCancelled());
    EXPECT_TRUE(dlg.IsWindowVisible());
}

TEST(ProgressDlg, QuitIsPassedOn)
{
    CProgressDlg dlg(FALSE);
    dlg.Show(NULL);
    PostQuitMessage(0);
    EXPECT_NE(0, dlg.StepIt());
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(1u, msg.wParam);
}

// While files are moved, the pump keeps painting but user input for other windows is
// dropped, so no command can start in the middle of the task.
TEST(ProgressDlg, UserInputWaitsForTheFileTask)
{
    KeyCounter other;
    CProgressDlg dlg(FALSE);
    dlg.Show(NULL);
    {
        CFileTask task;
        PostMessageA(other.wnd, WM_KEYDOWN, VK_F1, 0);
        EXPECT_EQ(0, dlg.StepIt());
        EXPECT_EQ(0, KeyCounter::s_keys);
    }
    PostMessageA(other.wnd, WM_KEYDOWN, VK_F1, 0);
    EXPECT_EQ(0, dlg.StepIt());
    EXPECT_EQ(1, KeyCounter::s_keys);
}

// The caller works on right after Show and SetMessage, with no loop of its own: the window
// and its controls are painted by then, and no input was handled on the way.
TEST(ProgressDlg, PaintedBeforeTheWorkGoesOn)
{
    KeyCounter other;
    auto pending = [](HWND wnd) {
        std::string waiting;
        if (GetUpdateRect(wnd, NULL, FALSE))
            waiting += "the dialog ";
        for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (GetUpdateRect(child, NULL, FALSE))
                waiting += "control " + std::to_string(GetDlgCtrlID(child)) + " ";
        return waiting;
    };
    CProgressDlg dlg(TRUE);
    dlg.SetMessage("Compacting and Repairing database...");
    PostMessageA(other.wnd, WM_KEYDOWN, VK_F1, 0);
    dlg.Show(NULL);
    ASSERT_TRUE(dlg.GetSafeHwnd());
    EXPECT_EQ("", pending(dlg.GetSafeHwnd()));
    dlg.SetMessage("Searching for invalid clip records...");
    EXPECT_EQ("", pending(dlg.GetSafeHwnd()));
    EXPECT_EQ(0, KeyCounter::s_keys);
    MSG msg;
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

TEST(PromptDialogs, ButtonsAnswerWithTheirValues)
{
    struct Case
    {
        const char* name;
        int button;
        INT_PTR answer;
    };
    const Case restore[] = {{"Restore", IDC_RESTORE_RESTORE, IDC_RESTORE_RESTORE},
                            {"Delete", IDC_RESTORE_DELETE, IDC_RESTORE_DELETE},
                            {"Escape", IDCANCEL, IDCANCEL}};
    for (const Case& c : restore) {
        DialogAnswers answers;
        answers.Queue(c.button);
        CRestoreTempDlg dlg;
        EXPECT_EQ(c.answer, dlg.DoModal()) << c.name;
        EXPECT_TRUE(answers.Saw("Restore Temporary Files"));
    }
    const Case replace[] = {{"Yes", IDC_REPLACE_YES, 1270}, {"No", IDC_REPLACE_NO, 1268},
                            {"Yes To All", IDC_REPLACE_YESTOALL, 1267},
                            {"No To All", IDC_REPLACE_NOTOALL, 1269},
                            {"Escape", IDCANCEL, IDCANCEL}};
    for (const Case& c : replace) {
        DialogAnswers answers;
        answers.Queue(c.button);
        CReplaceOptions dlg("Clip CLP0001.avi has already been exported.");
        EXPECT_EQ(c.answer, dlg.DoModal()) << c.name;
        EXPECT_TRUE(answers.Saw("|Clip CLP0001.avi has already been exported."));
        EXPECT_TRUE(answers.Saw("Multi-Export Options"));
    }
    const Case save[] = {{"Edit", IDOK, IDOK}, {"Cancel", IDCANCEL, IDCANCEL},
                         {"Save", IDC_SAVE_EXISTING_SAVE, 5}};
    for (const Case& c : save) {
        DialogAnswers answers;
        answers.Queue(c.button);
        CSaveExistingDlg dlg;
        EXPECT_EQ(c.answer, dlg.DoModal()) << c.name;
    }
    const Case trans[] = {{"Continue", IDC_TRANS_CONTINUE, 1271},
                          {"Re-Transcode", IDC_TRANS_RETRANSCODE, 1272},
                          {"Cancel", IDC_TRANS_CANCEL, 1273},
                          {"Escape", IDCANCEL, 1273}};
    for (const Case& c : trans) {
        DialogAnswers answers;
        answers.Queue(c.button);
        CTransOptDlg dlg;
        EXPECT_EQ(c.answer, dlg.DoModal()) << c.name;
    }
    const Case unsaved[] = {{"Delete and Exit", IDC_UNSAVED_DELETE_EXIT, 1297},
                            {"Exit", IDC_UNSAVED_EXIT, 1298},
                            {"Cancel", IDCANCEL, IDCANCEL}};
    for (const Case& c : unsaved) {
        DialogAnswers answers;
        answers.Queue(c.button);
        CUnsavedClipsDlg dlg;
        EXPECT_EQ(c.answer, dlg.DoModal()) << c.name;
        EXPECT_TRUE(answers.Saw("Unsaved Clips"));
    }
}
