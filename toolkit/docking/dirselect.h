// Directory selection: the shell's folder browser, or (before Windows 4, or on request) the
// old-style file dialog reduced to its folder list and drive box.
#pragma once
#include "afxdlgs.h"

// Form bits of the directory dialog (m_wStyle).
#define SECDSD_FILEDIALOG 0x0001  // the old-style file dialog form
#define SECDSD_RESERVED 0x0002

// TRUE on Windows 4 (95 / NT 4) or later, where the shell's folder browser exists.
BOOL SECIsWindows4();

class SECDirSelectDlg : public CFileDialog {
    DECLARE_DYNAMIC(SECDirSelectDlg)
public:
    // The file-dialog form.
    explicit SECDirSelectDlg(LPCTSTR lpszTitle = NULL, CWnd* pParent = NULL,
                             LPCTSTR lpszInitialDir = NULL);
    SECDirSelectDlg(WORD wStyle, LPCTSTR lpszTitle, LPCTSTR lpszInitialDir, CWnd* pParent);

    // Returns the old style; bits 0 and 1 are replaced (before Windows 4 the file-dialog form
    // is forced).
    WORD SetStyle(const WORD& wStyle);
    WORD GetStyle() const { return m_wStyle; }
    void SetTitle(LPCTSTR lpszTitle);
    void SetInitialDir(LPCTSTR lpszDir);

    virtual INT_PTR DoModal() override;
    // The chosen folder, ending in one backslash.
    void GetPath(CString& path) const;
    // The shell's folder browser, opened at the initial directory (the current one when there
    // is none); FALSE when it cannot open there or nothing was chosen.
    virtual BOOL BrowseForFolder(CString& path);

protected:
    virtual BOOL OnInitDialog() override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    void Init(LPCTSTR lpszTitle, LPCTSTR lpszInitialDir);

    CWnd* m_pParent;
    char m_szDirName[MAX_PATH];
    WORD m_wStyle;
    CString m_strTitle;
    CString m_strInitialDir;
};
