// Browse edits in a dialog: their buttons, ids, enabling and showing, and the directory and
// file dialogs they open, answered by a script.
#include "gtest_wine.h"
#include "browseedit.h"
#include "browse_res.h"
#include "dialog_script.h"
#include "dirselect.h"
#include <string>

void PrintTo(const CRect& rc, std::ostream* os)
{
    *os << "(" << rc.left << ", " << rc.top << ", " << rc.right << ", " << rc.bottom << ")";
}

namespace {

CRect ChildRect(HWND hParent, HWND hChild)
{
    CRect rc;
    ::GetWindowRect(hChild, &rc);
    ::MapWindowPoints(NULL, hParent, (LPPOINT)&rc, 2);
    return rc;
}

CString Text(HWND hWnd)
{
    char buf[MAX_PATH] = "";
    ::GetWindowTextA(hWnd, buf, sizeof buf);
    return buf;
}

void Press(HWND hDlg, int nID)
{
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nID));
}

// The test dialog, modeless, with its three edits.
class BrowseEditTest : public testing::Test {
protected:
    CDialog dlg;
    SECBrowseDirEdit dirEdit;
    SECBrowseFileEdit fileEdit;
    SECBrowseDirEdit disabledEdit;
    CString dir;

    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(MAKEINTRESOURCEA(100), NULL));
        dir.Format("C:\\secbrowse_%lu", (unsigned long)::GetCurrentProcessId());
        ::CreateDirectoryA(dir, NULL);
        HANDLE h = ::CreateFileA(dir + "\\clip.kpx", GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ::CloseHandle(h);
        ::SetCurrentDirectoryA("C:\\windows");
    }
    void TearDown() override
    {
        if (dlg.m_hWnd != NULL)
            dlg.DestroyWindow();
        ::SetCurrentDirectoryA("C:\\");
        ::DeleteFileA(dir + "\\clip.kpx");
        ::RemoveDirectoryA(dir);
    }
    // Clicks an edit's button as the user would: the dialog hears of it and reflects it.
    void Click(SECBrowseEditBase& edit)
    {
        HWND hButton = edit.GetButton()->m_hWnd;
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hButton), BN_CLICKED), (LPARAM)hButton);
    }
};

TEST_F(BrowseEditTest, ButtonsSitBesideTheirEdits)
{
    CRect before = ChildRect(dlg.m_hWnd, ::GetDlgItem(dlg.m_hWnd, 1001));
    ASSERT_TRUE(dirEdit.Initialize(1001, &dlg));
    ASSERT_TRUE(fileEdit.Initialize(1002, &dlg));
    ASSERT_TRUE(disabledEdit.Initialize(1003, &dlg));
    SECBrowseDirEdit none;
    EXPECT_FALSE(none.Initialize(1999, &dlg));
    EXPECT_EQ(nullptr, none.GetButton());

    SECBrowseButton* pButton = dirEdit.GetButton();
    ASSERT_NE(nullptr, pButton);
    EXPECT_EQ(0x7FFFu, pButton->GetID());
    EXPECT_EQ(0x7FFE, fileEdit.GetButton()->GetDlgCtrlID());
    EXPECT_EQ(0x7FFD, disabledEdit.GetButton()->GetDlgCtrlID());
    EXPECT_STREQ("...", Text(pButton->m_hWnd));
    CRect edit = ChildRect(dlg.m_hWnd, dirEdit.m_hWnd);
    CRect button = ChildRect(dlg.m_hWnd, pButton->m_hWnd);
    EXPECT_EQ(CRect(before.left, before.top, before.right - 26, before.bottom), edit);
    EXPECT_EQ(CRect(before.right - 25, before.top, before.right, before.bottom), button);
    EXPECT_EQ(pButton->m_hWnd, ::GetWindow(dirEdit.m_hWnd, GW_HWNDNEXT));  // next in tab order

    // A disabled edit has a disabled button until it is enabled; hiding hides both.
    EXPECT_TRUE(pButton->IsWindowEnabled());
    EXPECT_FALSE(disabledEdit.GetButton()->IsWindowEnabled());
    disabledEdit.EnableWindow(TRUE);
    EXPECT_TRUE(disabledEdit.GetButton()->IsWindowEnabled());
    dirEdit.EnableWindow(FALSE);
    EXPECT_FALSE(pButton->IsWindowEnabled());
    dirEdit.ShowWindow(SW_HIDE);
    EXPECT_FALSE(pButton->IsWindowVisible());
    dirEdit.ShowWindow(SW_SHOW);
    EXPECT_TRUE(pButton->IsWindowVisible());

    // The buttons go with the dialog.
    dlg.DestroyWindow();
    EXPECT_EQ(nullptr, dirEdit.GetButton());
    EXPECT_EQ(nullptr, fileEdit.GetButton());
}

TEST_F(BrowseEditTest, DirectoryEditOpensWhereItsTextPoints)
{
    ASSERT_TRUE(dirEdit.Initialize(1001, &dlg));
    EXPECT_STREQ("Select Directory", dirEdit.GetTitle());
    EXPECT_EQ(SECDSD_FILEDIALOG, dirEdit.GetDialogStyle());

    struct Case {
        CString text;      // the edit's text before the click
        CString shownIn;   // the folder the dialog shows
        int answer;
        CString after;     // the edit's text after it
    } cases[] = {
        {dir + "\\", dir, IDOK, dir + "\\"},
        {dir + "\\gone", "C:\\windows", IDOK, "C:\\windows\\"},  // the default place
        {dir, dir, IDCANCEL, dir},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE((LPCTSTR)c.text);
        ::SetCurrentDirectoryA("C:\\windows");
        dirEdit.SetWindowText(c.text);
        CString shown, caption;
        DialogScript script([&](HWND hDlg) {
            shown = Text(::GetDlgItem(hDlg, 1088));
            caption = Text(hDlg);
            Press(hDlg, c.answer);
        });
        Click(dirEdit);
        EXPECT_EQ(1, script.Runs());
        EXPECT_STREQ("Select Directory", caption);
        EXPECT_EQ(0, lstrcmpiA(c.shownIn, shown)) << (LPCTSTR)shown;
        CString after;
        dirEdit.GetWindowText(after);
        EXPECT_EQ(0, lstrcmpiA(c.after, after)) << (LPCTSTR)after;
    }
}

TEST_F(BrowseEditTest, FileEditOpensInTheDirectoryItHolds)
{
    ASSERT_TRUE(fileEdit.Initialize(1002, &dlg));
    EXPECT_STREQ("Select File", fileEdit.GetTitle());
    EXPECT_EQ((DWORD)(OFN_HIDEREADONLY | OFN_NOCHANGEDIR), fileEdit.GetFlags());

    // A directory: the dialog opens in it with no name; the current folder is kept.
    fileEdit.SetWindowText(dir);
    CString folder, name, caption;
    DialogScript script([&](HWND hDlg) {
        char buf[MAX_PATH] = "";
        ::SendMessageA(hDlg, CDM_GETFOLDERPATH, sizeof buf, (LPARAM)buf);
        folder = buf;
        buf[0] = 0;
        ::SendMessageA(hDlg, CDM_GETSPEC, sizeof buf, (LPARAM)buf);
        name = buf;
        caption = Text(hDlg);
        ::SetDlgItemTextA(hDlg, 1148, "clip.kpx");  // the file name box
        Press(hDlg, IDOK);
    });
    Click(fileEdit);
    EXPECT_EQ(1, script.Runs());
    EXPECT_EQ(0, lstrcmpiA(dir, folder)) << (LPCTSTR)folder;
    EXPECT_STREQ("", name);
    EXPECT_STREQ("Select File", caption);
    CString after;
    fileEdit.GetWindowText(after);
    EXPECT_EQ(0, lstrcmpiA(dir + "\\clip.kpx", after)) << (LPCTSTR)after;
    char current[MAX_PATH];
    ::GetCurrentDirectoryA(sizeof current, current);
    EXPECT_EQ(0, lstrcmpiA("C:\\windows", current)) << current;

    // A name that is neither a folder nor a file starts empty; cancelling changes nothing.
    fileEdit.SetWindowText("C:\\no\\such.kpx");
    DialogScript cancel([&](HWND hDlg) {
        char buf[MAX_PATH] = "x";
        ::SendMessageA(hDlg, CDM_GETSPEC, sizeof buf, (LPARAM)buf);
        name = buf;
        Press(hDlg, IDCANCEL);
    });
    Click(fileEdit);
    EXPECT_STREQ("", name);
    fileEdit.GetWindowText(after);
    EXPECT_STREQ("C:\\no\\such.kpx", after);

    EXPECT_EQ((DWORD)(OFN_HIDEREADONLY | OFN_FILEMUSTEXIST),
              fileEdit.ModifyFlags(OFN_NOCHANGEDIR, OFN_FILEMUSTEXIST));
}

TEST(BrowseEditPaths, ExistingDirectories)
{
    struct Case {
        const char* path;
        BOOL exists;
        const char* trimmed;
    } cases[] = {
        {"C:", TRUE, "C:\\"},
        {"C:\\", TRUE, "C:\\"},
        {"C:\\windows\\", TRUE, "C:\\windows"},
        {"C:\\windows\\win.ini", FALSE, "C:\\windows\\win.ini"},
        {"C:\\no such folder", FALSE, "C:\\no such folder"},
        {"C:\\win*", FALSE, "C:\\win*"},
        {"", FALSE, ""},
    };
    for (const Case& c : cases) {
        CString path = c.path;
        EXPECT_EQ(c.exists, SECBrowseEditBase::IsExistingDirectory(path)) << c.path;
        EXPECT_STREQ(c.trimmed, path);
    }
}

}  // namespace
