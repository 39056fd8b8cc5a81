// The directory dialog in both forms, answered by a script: the old-style file dialog with
// only its folder list and drive box, and the shell's folder browser.
#include "gtest_wine.h"
#include "dialog_script.h"
#include "dirselect.h"

namespace {

// A folder on the prefix's own drive: the folder browser lists every folder along the way,
// and a shared folder such as /tmp changes under it while other programs run.
// The dialogs take the focus only on a desktop no other test program's windows are on.
class DirSelectTest : public testing::Test {
protected:
    CString dir;

    static void SetUpTestSuite() { RunOnOwnDesktop("dirselect"); }

    void SetUp() override
    {
        dir.Format("C:\\secdir_%lu", (unsigned long)::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryA(dir, NULL));
        ASSERT_TRUE(::CreateDirectoryA(dir + "\\sub", NULL));
    }
    void TearDown() override
    {
        ::SetCurrentDirectoryA("C:\\");  // the old-style dialog moves into the chosen folder
        ::RemoveDirectoryA(dir + "\\sub");
        ::RemoveDirectoryA(dir);
    }
};

void Press(HWND hDlg, int nID)
{
    ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)::GetDlgItem(hDlg, nID));
}

TEST_F(DirSelectTest, FileDialogFormShowsOnlyFolders)
{
    SECDirSelectDlg dlg("Pick a folder", NULL, dir);
    EXPECT_EQ(SECDSD_FILEDIALOG, dlg.GetStyle());
    bool hidden = true;
    CString edit, caption;
    HWND focus = NULL, folders = NULL;
    DialogScript script([&](HWND hDlg) {
        for (int nID : {1090, 1152, 1120, 1089, 1136})
            hidden = hidden && !::IsWindowVisible(::GetDlgItem(hDlg, nID));
        char text[64] = "";
        ::GetDlgItemTextA(hDlg, 1152, text, sizeof text);
        edit = text;
        ::GetWindowTextA(hDlg, text, sizeof text);
        caption = text;
        focus = ::GetFocus();
        folders = ::GetDlgItem(hDlg, 1121);
        // Into "sub" by a double click in the folder list, then OK.
        LRESULT i = ::SendMessageA(folders, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM) "[sub]");
        ::SendMessageA(folders, LB_SETCURSEL, i, 0);
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(1121, LBN_DBLCLK), (LPARAM)folders);
        Press(hDlg, IDOK);
    });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1, script.Runs());
    EXPECT_TRUE(hidden);
    EXPECT_STREQ("noclose", edit);
    EXPECT_STREQ("Pick a folder", caption);
    EXPECT_EQ(folders, focus);
    CString path;
    dlg.GetPath(path);
    EXPECT_EQ(0, lstrcmpiA(dir + "\\sub\\", path)) << (LPCTSTR)path;
}

TEST_F(DirSelectTest, DriveRootHasOneBackslash)
{
    SECDirSelectDlg dlg("Root", NULL, "C:\\");
    DialogScript script([](HWND hDlg) { Press(hDlg, IDOK); });
    ASSERT_EQ(IDOK, dlg.DoModal());
    CString path;
    dlg.GetPath(path);
    EXPECT_EQ(0, lstrcmpiA("C:\\", path)) << (LPCTSTR)path;

    SECDirSelectDlg cancelled("Root", NULL, dir);
    DialogScript cancel([](HWND hDlg) { Press(hDlg, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, cancelled.DoModal());
}

TEST_F(DirSelectTest, ShellFormOpensAtTheInitialFolder)
{
    SECDirSelectDlg dlg(0, "Choose", dir + "\\sub", NULL);
    EXPECT_EQ(0, dlg.GetStyle());
    EXPECT_EQ(0, dlg.SetStyle(0x0006));  // bit 1 is replaced too
    EXPECT_EQ(0x0006, dlg.SetStyle(0x0008));
    EXPECT_EQ(0x000C, dlg.GetStyle());  // other bits stay
    dlg.SetStyle(0);
    DialogScript script([](HWND hDlg) { Press(hDlg, IDOK); });
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(1, script.Runs());
    CString path;
    dlg.GetPath(path);
    EXPECT_EQ(0, lstrcmpiA(dir + "\\sub\\", path)) << (LPCTSTR)path;
}

TEST_F(DirSelectTest, ShellFormRefusesAFolderItCannotOpen)
{
    SECDirSelectDlg dlg(0, "Choose", dir + "\\missing", NULL);
    DialogScript script([](HWND hDlg) { Press(hDlg, IDOK); }, 2000);
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ(0, script.Runs());  // nothing was shown
}

}  // namespace
