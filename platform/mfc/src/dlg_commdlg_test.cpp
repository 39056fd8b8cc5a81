// Common dialogs run headless: the file dialog with multiple selection and a type change,
// and the colour dialog.
#include "afxdlgs.h"
#include "gtest_wine.h"
#include "dlg_test_util.h"

#include <dlgs.h>
#include <stdlib.h>
#include <unistd.h>

TEST(FileDialog, SplitsMultipleSelections)
{
    struct {
        const char* buffer;  // with its NULs; ends in two
        size_t size;
        BOOL bExplorer;
        std::vector<std::string> paths;
    } cases[] = {
        {"C:\\clips\\a.kpx\0", 16, TRUE, {"C:\\clips\\a.kpx"}},
        {"C:\\clips\0a.kpx\0b.avi\0", 22, TRUE, {"C:\\clips\\a.kpx", "C:\\clips\\b.avi"}},
        {"C:\\\0a.kpx\0", 11, TRUE, {"C:\\a.kpx"}},  // a root keeps its one backslash
        {"C:\\clips a.kpx b.avi", 21, FALSE, {"C:\\clips\\a.kpx", "C:\\clips\\b.avi"}},
        {"C:\\clips\\a.kpx", 15, FALSE, {"C:\\clips\\a.kpx"}},
        {"", 1, TRUE, {}},
    };
    for (auto& t : cases) {
        std::string buf(t.buffer, t.size);
        buf.append(2, '\0');
        CStringArray paths;
        AfxSplitMultiSelect(buf.data(), t.bExplorer, paths);
        std::vector<std::string> got;
        for (int i = 0; i < paths.GetSize(); i++)
            got.push_back((LPCTSTR)paths[i]);
        EXPECT_EQ(t.paths, got) << t.buffer;
    }
}

namespace {

class CPickTwoDlg : public CFileDialog
{
public:
    using CFileDialog::CFileDialog;
    int m_nTypeChanges = 0;
    DWORD m_nFilterIndexSeen = 0;
    CString m_folder;

    void OnInitDone() override
    {
        m_folder = GetFolderPath();
        // The user picks the second file type, then types two names and presses Open.
        HWND hDlg = ::GetParent(m_hWnd);
        HWND hTypes = ::GetDlgItem(hDlg, cmb1);
        ::SendMessageA(hTypes, CB_SETCURSEL, 1, 0);
        ::SendMessageA(hDlg, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELENDOK), (LPARAM)hTypes);
        // The file-name box is addressed by its classic id, whatever control the dialog uses.
        SetControlText(edt1, "\"a.kpx\" \"b.avi\"");
        ::PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                       (LPARAM)::GetDlgItem(hDlg, IDOK));
    }
    void OnTypeChange() override
    {
        m_nTypeChanges++;
        m_nFilterIndexSeen = m_ofn.nFilterIndex;
    }
};

}  // namespace

TEST(FileDialog, OpensSeveralFilesAndReportsTypeChanges)
{
    char dirTemplate[] = "/tmp/mfc_filedlg_XXXXXX";
    ASSERT_NE(nullptr, mkdtemp(dirTemplate));
    std::string dir = dirTemplate;
    for (const char* name : {"a.kpx", "b.avi"})
        fclose(fopen((dir + "/" + name).c_str(), "w"));
    std::string winDir = WinePath(dir);

    CPickTwoDlg dlg(TRUE, "kpx", NULL, OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY,
                    "Quorvel / AVI files (*.kpx;*.avi)|*.kpx;*.avi|Quorvel files (*.kpx)|*.kpx|"
                    "AVI files (*.avi)|*.avi||");
    std::vector<char> names(1024000, '\0');  // as large as the program's import dialog uses
    dlg.m_ofn.lpstrFile = names.data();
    dlg.m_ofn.nMaxFile = (DWORD)names.size();
    dlg.m_ofn.lpstrInitialDir = winDir.c_str();
    dlg.m_ofn.lpstrTitle = "Select a video file to load";

    DialogWatchdog watchdog;
    ASSERT_EQ(IDOK, dlg.DoModal());
    EXPECT_EQ(NULL, dlg.m_hWnd);
    EXPECT_EQ(0, lstrcmpiA(winDir.c_str(), dlg.m_folder));
    EXPECT_EQ(1, dlg.m_nTypeChanges);
    EXPECT_EQ(2u, dlg.m_nFilterIndexSeen);

    std::vector<std::string> paths;
    POSITION pos = dlg.GetStartPosition();
    while (pos != NULL)
        paths.push_back((LPCTSTR)dlg.GetNextPathName(pos));
    ASSERT_EQ(2u, paths.size());
    EXPECT_EQ(0, lstrcmpiA((winDir + "\\a.kpx").c_str(), paths[0].c_str()));
    EXPECT_EQ(0, lstrcmpiA((winDir + "\\b.avi").c_str(), paths[1].c_str()));

    for (const char* name : {"a.kpx", "b.avi"})
        unlink((dir + "/" + name).c_str());
    rmdir(dir.c_str());
}

namespace {

class CPickColorDlg : public CColorDialog
{
public:
    using CColorDialog::CColorDialog;
    BOOL m_bAttached = FALSE;
    BOOL OnInitDialog() override
    {
        m_bAttached = m_hWnd != NULL;
        ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)::GetDlgItem(m_hWnd, IDOK));
        return CColorDialog::OnInitDialog();
    }
};

}  // namespace

TEST(ColorDialog, ReturnsTheColourItOpenedWith)
{
    CPickColorDlg dlg(RGB(0x26, 0xA2, 0xC6), CC_FULLOPEN);
    DialogWatchdog watchdog;
    EXPECT_EQ(IDOK, dlg.DoModal());
    EXPECT_TRUE(dlg.m_bAttached);
    EXPECT_EQ(RGB(0x26, 0xA2, 0xC6), dlg.GetColor());
    EXPECT_EQ(CColorDialog::GetSavedCustomColors(), dlg.m_cc.lpCustColors);
}

namespace {

class COldStyleDlg : public CFileDialog
{
public:
    using CFileDialog::CFileDialog;
    BOOL m_bAttached = FALSE;
    BOOL OnInitDialog() override
    {
        // Without the Explorer style the hook sits on the dialog itself.
        m_bAttached = m_hWnd != NULL && ::GetDlgItem(m_hWnd, IDOK) != NULL;
        ::PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                       (LPARAM)::GetDlgItem(m_hWnd, IDCANCEL));
        return CFileDialog::OnInitDialog();
    }
};

}  // namespace

TEST(FileDialog, OldStyleDialogIsHookedToo)
{
    COldStyleDlg dlg(FALSE, NULL, NULL, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY,
                     "(nofiles)|NOFILES.$$$||");
    dlg.m_ofn.Flags &= ~OFN_EXPLORER;
    DialogWatchdog watchdog;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_TRUE(dlg.m_bAttached);
    EXPECT_EQ(NULL, dlg.m_hWnd);
}
