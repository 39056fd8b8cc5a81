// Common dialogs (file, colour, print, page setup) and property sheets and pages.
#pragma once

#include "afxwin.h"
#include <commdlg.h>
#include <prsht.h>

/////////////////////////////////////////////////////////////////////////////
// Common dialogs

class CCommonDialog : public CDialog
{
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

protected:
    virtual void OnOK() override;
    virtual void OnCancel() override;
};

// The hook procedure of the framework's common dialogs: attaches the dialog object on
// WM_INITDIALOG so its message map sees the dialog's messages and notifications.
UINT_PTR CALLBACK AfxCommDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CFileDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CFileDialog)
public:
    OPENFILENAMEA m_ofn;

    // lpszFilter: pairs of description and pattern separated by '|', ending with "||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCTSTR lpszDefExt = NULL,
                         LPCTSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         LPCTSTR lpszFilter = NULL, CWnd* pParentWnd = NULL);

    virtual INT_PTR DoModal() override;

    CString GetPathName() const;
    CString GetFileName() const;
    CString GetFileExt() const;
    CString GetFileTitle() const;
    BOOL GetReadOnlyPref() const { return (m_ofn.Flags & OFN_READONLY) != 0; }

    // Multiple selection: iterate the chosen files as full paths.
    POSITION GetStartPosition() const;
    CString GetNextPathName(POSITION& pos) const;

    // While the (Explorer-style) dialog is shown
    void SetTemplate(UINT nWin3ID, UINT nWin4ID);
    void SetTemplate(LPCTSTR lpWin3ID, LPCTSTR lpWin4ID);
    CString GetFolderPath() const;
    void SetControlText(int nID, LPCSTR lpsz);
    void HideControl(int nID);
    void SetDefExt(LPCSTR lpsz);

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFilter;
    CString m_strDefExt;
    char m_szFileTitle[64];
    char m_szFileName[MAX_PATH];
    LPCTSTR m_pTemplateWin3;
    LPCTSTR m_pTemplateWin4;

    virtual UINT OnShareViolation(LPCTSTR lpszPathName);
    virtual BOOL OnFileNameOK();
    virtual void OnLBSelChangedNotify(UINT nIDBox, UINT iCurSel, UINT nCode);
    virtual void OnInitDone();
    virtual void OnFileNameChange();
    virtual void OnFolderChange();
    virtual void OnTypeChange();

    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    virtual void OnOK() override;
    virtual void OnCancel() override;

    // The window of the dialog itself: with the Explorer style the object is attached to
    // the child window that carries the hook, and the dialog is its parent.
    HWND DialogWindow() const;
};

// Parses the file buffer of a multiple selection: a directory followed by names (Explorer
// style: NUL-separated and ending with two NULs; old style: separated by spaces), or a
// single full path. Exposed for tests.
void AfxSplitMultiSelect(LPCSTR lpszBuffer, BOOL bExplorer, CStringArray& paths);

class CColorDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CColorDialog)
public:
    CHOOSECOLORA m_cc;

    explicit CColorDialog(COLORREF clrInit = 0, DWORD dwFlags = 0, CWnd* pParentWnd = NULL);
    virtual INT_PTR DoModal() override;

    void SetCurrentColor(COLORREF clr);
    COLORREF GetColor() const { return m_cc.rgbResult; }
    static COLORREF* PASCAL GetSavedCustomColors();

protected:
    virtual BOOL OnColorOK();
};

class CPrintDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CPrintDialog)
public:
    PRINTDLGA m_pd;

    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS |
                                          PD_HIDEPRINTTOFILE | PD_NOSELECTION,
                          CWnd* pParentWnd = NULL);
    virtual ~CPrintDialog();

    virtual INT_PTR DoModal() override;
    // The default printer without showing anything; FALSE when there is none.
    BOOL GetDefaults();

    int GetCopies() const;
    BOOL PrintCollate() const { return (m_pd.Flags & PD_COLLATE) != 0; }
    BOOL PrintSelection() const { return (m_pd.Flags & PD_SELECTION) != 0; }
    BOOL PrintAll() const { return !PrintRange() && !PrintSelection(); }
    BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) != 0; }
    int GetFromPage() const { return PrintRange() ? m_pd.nFromPage : -1; }
    int GetToPage() const { return PrintRange() ? m_pd.nToPage : -1; }
    LPDEVMODEA GetDevMode() const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;
    HDC GetPrinterDC() const;
    HDC CreatePrinterDC();

protected:
    BOOL m_bPrintSetupOnly;
};

class CPageSetupDialog : public CCommonDialog
{
    DECLARE_DYNAMIC(CPageSetupDialog)
public:
    PAGESETUPDLGA m_psd;

    explicit CPageSetupDialog(DWORD dwFlags = PSD_MARGINS | PSD_INWININIINTLMEASURE,
                              CWnd* pParentWnd = NULL);
    virtual ~CPageSetupDialog();
    virtual INT_PTR DoModal() override;

    LPDEVMODEA GetDevMode() const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;
    HDC CreatePrinterDC();
    CSize GetPaperSize() const { return CSize(m_psd.ptPaperSize.x, m_psd.ptPaperSize.y); }
    void GetMargins(LPRECT lpRectMargins, LPRECT lpRectMinMargins) const;

    // The sample page's painting: non-zero from either skips the dialog's own drawing.
    virtual UINT PreDrawPage(WORD wPaper, WORD wFlags, LPPAGESETUPDLGA pPSD);
    virtual UINT OnDrawPage(CDC* pDC, UINT nMessage, LPRECT lpRect);
};

/////////////////////////////////////////////////////////////////////////////
// Property sheets

class CPropertySheet;
class CTabCtrl;

class CPropertyPage : public CDialog
{
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);
    explicit CPropertyPage(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);
    virtual ~CPropertyPage();
    void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
    void Construct(LPCTSTR lpszTemplateName, UINT nIDCaption = 0);

    PROPSHEETPAGEA m_psp;

    void CancelToClose();
    // Enables the sheet's Apply button (or disables it when no page is modified).
    void SetModified(BOOL bChanged = TRUE);
    LRESULT QuerySiblings(WPARAM wParam, LPARAM lParam);

    virtual BOOL OnSetActive();
    virtual BOOL OnKillActive();
    virtual BOOL OnApply();
    virtual void OnReset();
    virtual void OnOK() override;
    virtual void OnCancel() override;
    virtual BOOL OnQueryCancel();
    virtual LRESULT OnWizardBack();
    virtual LRESULT OnWizardNext();
    virtual BOOL OnWizardFinish();

    CPropertySheet* GetParentSheet() const;

protected:
    CString m_strCaption;
    BOOL m_bFirstSetActive;

    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    virtual BOOL PreTranslateMessage(MSG* pMsg) override;
    void CommonConstruct(LPCTSTR lpszTemplateName, UINT nIDCaption);

    friend class CPropertySheet;
class CTabCtrl;
};

class CPropertySheet : public CWnd
{
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    virtual ~CPropertySheet();
    void Construct(UINT nIDCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);
    void Construct(LPCTSTR pszCaption, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);

    PROPSHEETHEADERA m_psh;

    // Modeless; dwStyle (DWORD)-1 means the standard sheet style, visible.
    virtual BOOL Create(CWnd* pParentWnd = NULL, DWORD dwStyle = (DWORD)-1, DWORD dwExStyle = 0);
    virtual INT_PTR DoModal();

    int GetPageCount() const;
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage);
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);
    CTabCtrl* GetTabControl() const;
    void SetWizardMode();
    void SetFinishText(LPCTSTR lpszText);
    void SetWizardButtons(DWORD dwFlags);
    void EnableStackedTabs(BOOL bStacked) { m_bStacked = bStacked; }

    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    // Ends the sheet's modal loop with nEndID (a modeless sheet is destroyed).
    void EndDialog(int nEndID);
    BOOL PressButton(int nButton);

    virtual BOOL OnInitDialog();
    virtual BOOL ContinueModal() override;
    virtual BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    CWnd* m_pParentWnd;
    BOOL m_bModeless;

protected:
    CPtrArray m_pages;
    CString m_strCaption;
    BOOL m_bStacked;
    DWORD m_dwStyle;    // style of a modeless sheet, applied as the sheet is created
    DWORD m_dwExStyle;

    // Fills m_psh.ppsp from the pages' PROPSHEETPAGE records (called before creating).
    void BuildPropPageArray();
    void CommonConstruct(CWnd* pParentWnd, UINT iSelectPage);
    static int CALLBACK PropSheetCallback(HWND hWnd, UINT message, LPARAM lParam);

    afx_msg LRESULT HandleInitDialog(WPARAM, LPARAM);
    afx_msg void OnClose();
    afx_msg LRESULT OnPressButton(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    friend class CPropertyPage;

private:
    PROPSHEETPAGEA* m_pPageArray;
};
