// The program's top-level window: fixed size from the skin, the docking toolkit's frame,
// function and navigation keys, the lesson tick and import-queue timers, the clip-file
// hand-over, the workspace saved at close and the commands of the main menu.
#pragma once
#include <afxwin.h>
#include <afxtempl.h>
#include "SECFrameWnd.h"

class CDatabaseSheet;
class SECToolBarManager;
class CConsumerBkgDlg;

// One queued clip file of the import queue.
class CImportWorkItem : public CObject
{
public:
    explicit CImportWorkItem(CString path) : m_strPath(path) {}
    CString m_strPath;
};

class CMainFrame : public SECFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    virtual ~CMainFrame();

    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                          AFX_CMDHANDLERINFO* pHandlerInfo) override;
    virtual BOOL DestroyWindow() override;
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    virtual BOOL PreTranslateMessage(MSG* pMsg) override;
    virtual BOOL LoadFrame(UINT nIDResource,
                           DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;

    // Alt + letter for the hidden menu bar wherever the focus is in the main window, before
    // a child dialog can swallow it. TRUE: handled.
    BOOL OfferSysChar(MSG* pMsg);
    SECToolBarManager* GetToolBarManager() const { return m_pToolBarManager; }

    // The import queue of clip files handed over or found at start.
    void QueueImport(CString path);
    void ProcessImportQueue();
    void ClearImportQueue();
    int GetImportQueueCount() const { return (int)m_importQueue.GetCount(); }
    // The path of the queued item at `index` (0 the next to import).
    CString GetQueuedImport(int index) const
    {
        POSITION pos = m_importQueue.FindIndex(index);
        return pos ? m_importQueue.GetAt(pos)->m_strPath : CString();
    }

    // The local database sheet on its Clips page: shown again when it has been created
    // before, else run from that page. 0 when the database cannot be connected, else what the
    // sheet's loop returned.
    static int ShowDatabaseSheet();
    // View Database and Open: the same, but a sheet not yet created runs on the page it
    // opens with (Register).
    static int ViewDatabaseSheet();

    // The dockable command palette and video bar (nothing in the program calls it).
    int CreateBars();
    // The View menu's check marks from the bars' visibility; visible bars shown again.
    void UpdateViewMenu(BOOL showVisible);

    // The frame's outer size: the skin's client size with the borders and caption.
    static CSize GetFrameSize();

    // Function keys through the settings' key table (never with Alt held: Alt+F4 closes),
    // and, while no dialog or popup of the main window is active, the navigation keys to the
    // position slider (Escape swallowed when asked). TRUE: the message is consumed.
    static BOOL TranslateProgramKey(MSG* pMsg, HWND slider, BOOL swallowEscape);
    // The position slider the skinned panel registered with the video manager, if any.
    static HWND SliderWindow();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnClose();
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSizing(UINT fwSide, LPRECT pRect);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    afx_msg void OnDestroy();
    afx_msg void OnMove(int x, int y);
    afx_msg BOOL OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);

    afx_msg void OnNoAction();
    afx_msg void OnUpdateAlwaysEnabled(CCmdUI* pCmdUI);
    afx_msg void OnUpdateDisabled(CCmdUI* pCmdUI);
    // The skinned panel of the active view (NULL when none).
    CConsumerBkgDlg* GetPanel();
    afx_msg void OnPanelKey(UINT nID);
    afx_msg void OnStopButton();
    afx_msg void OnPlayKey();
    afx_msg void OnRealPlayKey();
    afx_msg void OnDrawProperties();
    afx_msg void OnClipSave();
    afx_msg void OnUpdateClipSave(CCmdUI* pCmdUI);
    afx_msg void OnToggleWindow();
    afx_msg void OnAddNewBar();
    afx_msg void OnCustomize();
    afx_msg void OnUpdateViewBars(CCmdUI* pCmdUI);
    afx_msg void OnViewCmdPalette();
    afx_msg void OnViewVideoBar();
    void ToggleBar(CControlBar* bar, UINT id);
    afx_msg void OnSplitWindowKey();
    afx_msg void OnLockImpactKey();
    afx_msg void OnLockViewKey();
    afx_msg void OnToggleMirrorKey();
    afx_msg void OnDatabaseMaintenance();
    afx_msg void OnViewDatabase();
    afx_msg void OnImportAvi();
    afx_msg void OnHelpContents();
    afx_msg void OnNetworkDatabase();
    afx_msg void OnToolsOptions();
    afx_msg void OnDiskCapacity();
    afx_msg void OnVideoHelp();
    DECLARE_MESSAGE_MAP()

    // Runs the timer's work; FALSE when an exception escaped it (already reported).
    void TimerTick(UINT_PTR nIDEvent);

    SECToolBarManager* m_pToolBarManager;
    CTypedPtrList<CPtrList, CImportWorkItem*> m_importQueue;
    BYTE m_bImportRunning;
    BOOL m_bFirstShow;
    BOOL m_bFirstMove;
};

// The database sheet of another machine's database (NULL when none is open).
extern CDatabaseSheet* g_pRemoteDatabaseSheet;
