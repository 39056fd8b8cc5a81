// Browse edits: a dialog's edit control with a small "..." button at its right end that
// opens a selection dialog and writes the chosen path into the edit. SECBrowseDirEdit picks
// a directory, SECBrowseFileEdit a file.
#pragma once
#include "afxwin.h"
#include "afxdlgs.h"

class SECBrowseEditBase;

// The "..." button; it belongs to its edit and deletes itself when its window is gone.
class SECBrowseButton : public CButton {
    DECLARE_DYNAMIC(SECBrowseButton)
public:
    explicit SECBrowseButton(SECBrowseEditBase* pEdit);

    // Takes the right 25 pixels of the edit (which becomes 26 pixels narrower), the highest
    // control id from 0x7FFF down that the parent does not use, and the place after the edit
    // in the tab order. FALSE when its window cannot be made.
    BOOL CreateButton();
    UINT GetID() const { return m_nID; }

    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* pResult) override;

protected:
    virtual void PostNcDestroy() override;

    SECBrowseEditBase* m_pEdit;  // NULL once the edit has let go of the button
    UINT m_nID;
    friend class SECBrowseEditBase;
};

class SECBrowseEditBase : public CEdit {
    DECLARE_DYNAMIC(SECBrowseEditBase)
public:
    SECBrowseEditBase();
    virtual ~SECBrowseEditBase();

    // Takes over the dialog's edit control and gives it its button; FALSE when the control
    // cannot be taken over.
    BOOL Initialize(UINT nID, CWnd* pDialog);
    // Runs the selection dialog; called by the button.
    virtual void Browse() = 0;

    void SetTitle(LPCTSTR lpszTitle) { m_strTitle = lpszTitle; }
    const CString& GetTitle() const { return m_strTitle; }
    SECBrowseButton* GetButton() const { return m_pButton; }

    // TRUE when the path names an existing directory; a trailing backslash is removed from
    // it (a drive keeps its root's: "c:" and "c:\" both become "c:\").
    static BOOL IsExistingDirectory(CString& path);

protected:
    // Destroys the button (which deletes itself) and forgets it.
    void DropButton();
    afx_msg void OnDestroy();
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()

protected:
    SECBrowseButton* m_pButton;
    CString m_strTitle;
    friend class SECBrowseButton;
};

class SECBrowseDirEdit : public SECBrowseEditBase {
    DECLARE_DYNAMIC(SECBrowseDirEdit)
public:
    SECBrowseDirEdit();
    virtual void Browse() override;

    // Form bits of the directory dialog; before Windows 4 its file-dialog form is forced.
    void SetDialogStyle(WORD wStyle);
    WORD GetDialogStyle() const { return m_wStyle; }

protected:
    WORD m_wStyle;
};

class SECBrowseFileEdit : public SECBrowseEditBase {
    DECLARE_DYNAMIC(SECBrowseFileEdit)
public:
    SECBrowseFileEdit();
    virtual void Browse() override;

    // The file dialog's flags without the cleared bits and with the set ones.
    DWORD ModifyFlags(DWORD dwRemove, DWORD dwAdd);
    DWORD GetFlags() const { return m_dwFlags; }
    void SetFilter(LPCTSTR lpszFilter) { m_strFilter = lpszFilter; }
    void SetInitialFile(LPCTSTR lpszFile) { m_strInitialFile = lpszFile; }
    void SetDefExt(LPCTSTR lpszExt) { m_strDefExt = lpszExt; }

protected:
    CString m_strFilter;
    CString m_strInitialFile;
    CString m_strDefExt;
    DWORD m_dwFlags;
};
