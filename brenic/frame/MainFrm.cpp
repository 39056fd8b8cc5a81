#include "MainFrm.h"
#include "ClipBar.h"
#include <afxdao.h>
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "CustomConfig.h"
#include "DatabaseMgr.h"
#include "DatabaseSheet.h"
#include "DiskCapacityDlg.h"
#include "LaunchHelpDlg.h"
#include "ToolsSheet.h"
#include "Globals.h"
#include "Lesson.h"
#include "NetworkDbDlg.h"
#include "resource.h"
#include "MenuBar.h"
#include "SECToolBarManager.h"
#include "SECToolBarsDlg.h"
#include "SECWorkspaceManager.h"
#include "TabrelEx.h"
#include "VideoWindow.h"
#include "BrenicView.h"
#include "ConsumerBkgDlg.h"
#include "CmdBar.h"
#include "PanelBars.h"
#include "VideoBar.h"

CDatabaseSheet* g_pRemoteDatabaseSheet = NULL;

IMPLEMENT_DYNCREATE(CMainFrame, SECFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, SECFrameWnd)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_WM_SHOWWINDOW()
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_SIZING()
    ON_WM_GETMINMAXINFO()
    ON_WM_DEVICECHANGE()
    ON_WM_DESTROY()
    ON_WM_MOVE()
    ON_WM_COPYDATA()
    ON_WM_MOUSEWHEEL()
    ON_COMMAND(ID_VIEW_CLIPPANEL, OnNoAction)
    ON_UPDATE_COMMAND_UI_RANGE(ID_VIEW_CLIPPANEL, ID_VIEW_VIDEOBAR, OnUpdateViewBars)
    ON_COMMAND(ID_VIEW_CMDPALETTE, OnViewCmdPalette)
    ON_COMMAND(ID_VIEW_VIDEOBAR, OnViewVideoBar)
    ON_COMMAND(ID_ADD_NEW_BAR, OnAddNewBar)
    ON_COMMAND(ID_CUSTOMIZE, OnCustomize)
    ON_COMMAND(ID_VIEW_RESTORE_DEFAULT, OnNoAction)
    ON_UPDATE_COMMAND_UI(ID_VIEW_RESTORE_DEFAULT, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_TAB16TOGGLEKEY, OnNoAction)
    ON_COMMAND(ID_DATABASE_MAINTENANCE, OnDatabaseMaintenance)
    ON_UPDATE_COMMAND_UI(ID_DATABASE_MAINTENANCE, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_VIEW_DATABASE, OnViewDatabase)
    ON_UPDATE_COMMAND_UI(ID_VIEW_DATABASE, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_IMPORT_AVI, OnImportAvi)
    ON_UPDATE_COMMAND_UI(ID_IMPORT_AVI, OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_HELP_CONTENTS_QV, OnHelpContents)
    ON_COMMAND(ID_DATABASE_NETWORK, OnNetworkDatabase)
    ON_UPDATE_COMMAND_UI(ID_DATABASE_NETWORK, OnUpdateDisabled)
    ON_COMMAND(ID_TOGGLEWINDOW, OnToggleWindow)
    ON_COMMAND_RANGE(ID_STARTAUTORECKEY, ID_UPDATEFRAMECOUNT, OnPanelKey)
    ON_COMMAND(ID_STOP_BUTTON, OnStopButton)
    ON_COMMAND(ID_PLAYKEY, OnPlayKey)
    ON_COMMAND(ID_REALPLAYKEY, OnRealPlayKey)
    ON_COMMAND(ID_DRAW_PROPERTIES, OnDrawProperties)
    ON_COMMAND(ID_CLIP_SAVE, OnClipSave)
    ON_UPDATE_COMMAND_UI(ID_CLIP_SAVE, OnUpdateClipSave)
    ON_COMMAND(ID_SPLITWINDOWKEY, OnSplitWindowKey)
    ON_COMMAND(ID_LOCKIMPACTKEY, OnLockImpactKey)
    ON_COMMAND(ID_LOCKVIEWKEY, OnLockViewKey)
    ON_COMMAND(ID_TOGGLEMIRRORKEY, OnToggleMirrorKey)
    ON_COMMAND(ID_TOOLS_OPTIONS, OnToolsOptions)
    ON_COMMAND(ID_TOOLS_DISKCAPACITY, OnDiskCapacity)
    ON_COMMAND(ID_HELP_VIDEOHELP, OnVideoHelp)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_bImportRunning(FALSE), m_bFirstShow(TRUE), m_bFirstMove(TRUE)
{
    m_pToolBarManager = new SECToolBarManager(this);
    SetControlBarManager(m_pToolBarManager);
    m_pMenuBar = g_pMenuBar = new CMenuBar;
    // The skinned panel makes the clip panel; this frame deletes it.
    CClipBar::ForgetClipBar();
}

CMainFrame::~CMainFrame()
{
    // The command palette and the video bar delete themselves with their windows.
    SetControlBarManager(NULL);
    delete m_pToolBarManager;
    if (g_pMenuBar == m_pMenuBar)
        g_pMenuBar = NULL;
    delete m_pMenuBar;
    m_pMenuBar = NULL;
    ClearImportQueue();
    delete CClipBar::GetClipBar();
}

BOOL CMainFrame::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                           CCreateContext* pContext)
{
    if (!SECFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
        return FALSE;
    // The menu bar carries the main menu, not the document type's.
    SetMenuResource(IDR_MAINFRAME);
    return TRUE;
}

BOOL CMainFrame::OfferSysChar(MSG* pMsg)
{
    if (pMsg->message != WM_SYSCHAR || !m_pMenuPlugIn || !GetSafeHwnd())
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return m_pMenuPlugIn->PreTranslateMessage(pMsg);
}

CSize CMainFrame::GetFrameSize()
{
    const CSize client = CCustomConfig().GetClientSize();
    return CSize(client.cx + 2 * GetSystemMetrics(SM_CXBORDER) + 10,
                 client.cy + 2 * GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION) +
                     10);
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs)
{
    const CSize client = CCustomConfig().GetClientSize();
    cs.cx = client.cx + 2 * GetSystemMetrics(SM_CXBORDER);
    cs.cy = client.cy + GetSystemMetrics(SM_CYBORDER) + GetSystemMetrics(SM_CYCAPTION);
    return SECFrameWnd::PreCreateWindow(cs);
}

void CMainFrame::OnGetMinMaxInfo(MINMAXINFO* lpMMI)
{
    const CSize size = GetFrameSize();
    lpMMI->ptMaxSize = CPoint(size.cx, size.cy);
    lpMMI->ptMaxPosition = CPoint(0, 0);
    lpMMI->ptMinTrackSize = CPoint(size.cx, size.cy);
    lpMMI->ptMaxTrackSize = CPoint(size.cx, size.cy);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpcs)
{
    if (SECFrameWnd::OnCreate(lpcs) == -1)
        return -1;
    // The keys of the main menu's Ctrl+ hints.
    if (!m_hAccelTable)
        m_hAccelTable = ::LoadAcceleratorsA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    m_pToolBarManager->LoadToolBarResource(IDR_MAINFRAME);
    m_pToolBarManager->SetMenuInfo(1, IDR_MAINFRAME);
    EnableDocking(CBRS_ALIGN_ANY);
    m_pToolBarManager->EnableCoolLook(TRUE, 0x300);
    m_pToolBarManager->CreateDefaultBars();
    if (m_pMenuBar && m_pMenuBar->GetSafeHwnd())
        ShowControlBar(m_pMenuBar, FALSE, FALSE);
    SetTimer(1, 1000, NULL);
    return 0;
}

void CMainFrame::OnShowWindow(BOOL bShow, UINT nStatus)
{
    if (m_bFirstShow) {
        m_bFirstShow = FALSE;
        CreateWorkspaceManager(RUNTIME_CLASS(SECWorkspaceManagerEx),
                               "Software\\Quorvel\\Dorvane LE\\v2.0", 0);
        if (g_pAppConfig && g_pAppConfig->IsLoaded()) {
            CDatabaseMgr database;
            try {
                database.RepairInterruptedSaves();
            } catch (CDaoException* e) {
                e->ReportError();
                e->Delete();
            }
            database.DeleteUnsavedImportFiles();
            database.HandleUnsavedCaptureFiles();
        }
    }
    SECFrameWnd::OnShowWindow(bShow, nStatus);
}

void CMainFrame::TimerTick(UINT_PTR nIDEvent)
{
    try {
        if (nIDEvent == 1 && g_pLesson)
            g_pLesson->OnTimer();
    } catch (...) {
        AfxMessageBox("Unhandled exception in CMainFrame timer.");
    }
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == 2) {
        try {
            if (!m_bImportRunning)
                ProcessImportQueue();
        } catch (...) {
            AfxMessageBox("Unhandled exception in CMainFrame timer.");
            SECFrameWnd::OnTimer(nIDEvent);
        }
        return;
    }
    TimerTick(nIDEvent);
    SECFrameWnd::OnTimer(nIDEvent);
}

void CMainFrame::OnSize(UINT nType, int cx, int cy)
{
    SECFrameWnd::OnSize(nType, cx, cy);
}

void CMainFrame::OnSizing(UINT fwSide, LPRECT pRect)
{
    CWnd::OnSizing(fwSide, pRect);
}

BOOL CMainFrame::OnDeviceChange(UINT nEventType, DWORD_PTR dwData)
{
    return g_pClavio ? g_pClavio->OnDeviceChange(nEventType, dwData)
                     : CWnd::OnDeviceChange(nEventType, dwData);
}

void CMainFrame::OnDestroy()
{
    SECFrameWnd::OnDestroy();
}

BOOL CMainFrame::DestroyWindow()
{
    KillTimer(1);
    return SECFrameWnd::DestroyWindow();
}

void CMainFrame::OnMove(int x, int y)
{
    SECFrameWnd::OnMove(x, y);
    const BOOL first = m_bFirstMove;
    m_bFirstMove = FALSE;
    if (first || !g_pClavio || !g_pClavio->GetSafeHwnd())
        return;
    CVideoWindow* channel = g_pClavio->GetChannel0();
    if (channel && channel->GetSafeHwnd() && channel->GetOS() == 5)
        g_pClavio->RedrawVideo();
}

BOOL CMainFrame::OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)
{
    if (g_pClavio && g_pClavio->GetSafeHwnd())
        g_pClavio->StepField(zDelta <= 0 ? 1 : -1);
    return SECFrameWnd::OnMouseWheel(nFlags, zDelta, pt);
}

void CMainFrame::OnClose()
{
    if (g_pClavio)
        g_pClavio->Stop();
    // The workspace manager is made at the first showing; a frame closed before (or
    // whose manager could not be made) has no workspace to save.
    if (GetWorkspaceManager() && g_pAppConfig)
        GetWorkspaceManager()->SaveWorkspace(g_pAppConfig->GetInstallDir() +
                                             "quorvel_anaz_LE.wsp");
    CVideoWindow* channel = g_pClavio && g_pClavio->GetSafeHwnd()
                                ? g_pClavio->GetChannel(g_pClavio->GetCurrentChannel())
                                : NULL;
    if (channel && channel->GetSafeHwnd() && g_pAppConfig)
        g_pAppConfig->SetLastKnownGoodCamera(channel->GetLastKnownGoodCamera());
    SECFrameWnd::OnClose();
    // Whether or not the frame closed, the next database command builds fresh sheets; a
    // sheet whose loop is still on the stack stays until that loop has ended.
    for (CDatabaseSheet** sheet : {&g_pDatabaseSheet, &g_pRemoteDatabaseSheet})
        if (*sheet && !(*sheet)->IsInModalLoop()) {
            delete *sheet;
            *sheet = NULL;
        }
}

BOOL CMainFrame::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (SECFrameWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    // The clip panel's commands (its menus are tracked with this frame as owner), while the
    // panel is shown.
    CClipBar* panel = CClipBar::GetClipBar();
    return panel && panel->GetSafeHwnd() && panel->IsWindowVisible() &&
           panel->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CMainFrame::TranslateProgramKey(MSG* pMsg, HWND slider, BOOL swallowEscape)
{
    if (pMsg->message != WM_KEYDOWN && pMsg->message != WM_SYSKEYDOWN)
        return FALSE;
    const UINT key = (UINT)pMsg->wParam;
    if (key >= VK_F1 && key <= VK_F12) {
        // A key pressed with Alt is no hot key: Alt+F4 closes the window (F10 alone, a
        // system key without Alt, still is one).
        const BOOL alt = (HIWORD(pMsg->lParam) & KF_ALTDOWN) != 0;
        if (!alt && g_pAppConfig && g_pAppConfig->DispatchHotKey(key))
            return TRUE;
        return FALSE;
    }
    CWnd* main = AfxGetMainWnd();
    if (!main || main->GetLastActivePopup() != main)
        return FALSE;
    switch (key) {
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
        if (!slider || !::IsWindow(slider))
            return FALSE;
        ::SendMessageA(slider, pMsg->message, pMsg->wParam, pMsg->lParam);
        return TRUE;
    case VK_ESCAPE:
        return swallowEscape;
    default:
        return FALSE;
    }
}

HWND CMainFrame::SliderWindow()
{
    CTabrelEx* slider = g_pClavio ? g_pClavio->GetSlider() : NULL;
    return slider ? slider->GetSafeHwnd() : NULL;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg)
{
    if (TranslateProgramKey(pMsg, SliderWindow(), TRUE))
        return TRUE;
    return SECFrameWnd::PreTranslateMessage(pMsg);
}

// ---------------------------------------------------------------------------------------
// Import queue

void CMainFrame::QueueImport(CString path)
{
    m_importQueue.AddTail(new CImportWorkItem(path));
}

void CMainFrame::ClearImportQueue()
{
    while (!m_importQueue.IsEmpty())
        delete m_importQueue.RemoveHead();
}

// The batch runs on the first tick; hand-overs that arrive meanwhile (through the
// importer's progress window) join the queue and this loop takes them. While another import
// runs, the tick ends at once and the next one (about a second later) tries again: that
// import may be the very one whose message pump delivered this tick, and waiting here
// would never let it finish.
void CMainFrame::ProcessImportQueue()
{
    if (CClip::s_bImporting)
        return;
    CClip::SetQueuedImport();
    while (!m_importQueue.IsEmpty()) {
        m_bImportRunning = TRUE;
        if (CClip::s_bImporting)
            break;
        CImportWorkItem* item = m_importQueue.RemoveHead();
        CClip::ImportClipFiles(item->m_strPath, 0);
        delete item;
        if (g_pClavio && g_pClavio->GetSafeHwnd())
            g_pClavio->RedrawCurrentWindow(CCustomConfig().GetVideoRect());
    }
    m_bImportRunning = FALSE;
    if (!m_importQueue.IsEmpty())
        return;
    CClip::EndBatchImport();
    KillTimer(2);
}

BOOL CMainFrame::OnCopyData(CWnd* pWnd, COPYDATASTRUCT* pCopyDataStruct)
{
    if (!pCopyDataStruct || pCopyDataStruct->dwData != 1)
        return SECFrameWnd::OnCopyData(pWnd, pCopyDataStruct);
    // Never read beyond the block the sender gave, NUL or not.
    const char* data = (const char*)pCopyDataStruct->lpData;
    DWORD length = 0;
    while (data && length < pCopyDataStruct->cbData && data[length])
        ++length;
    // An empty path names no file: the importer would ask for files instead.
    if (length == 0)
        return TRUE;
    QueueImport(CString(data, (int)length));
    if (!m_bImportRunning)
        SetTimer(2, 1000, NULL);
    if (g_pClavio && g_pClavio->GetSafeHwnd())
        g_pClavio->RedrawVideo();
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Commands

int CMainFrame::CreateBars()
{
    return CreatePanelBars(this) ? 1 : 0;
}

void CMainFrame::OnCustomize()
{
    SECToolBarSheet sheet(20538, this);
    SECToolBarsPage toolbars;
    toolbars.SetManager(m_pToolBarManager);
    SECToolBarCmdPage commands(20509);
    commands.SetManager(m_pToolBarManager);
    static const UINT fileButtons[] = {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_SEPARATOR,
                                       ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_SEPARATOR,
                                       ID_FILE_PRINT, ID_APP_ABOUT};
    commands.DefineBtnGroup("File", 10, fileButtons);
    commands.DefineMenuGroup("Menu");
    sheet.AddPage(&toolbars);
    sheet.AddPage(&commands);
    sheet.DoModal();
}

void CMainFrame::OnAddNewBar()
{
    AddTestBar(this);
}

static BOOL BarVisible(CWnd* bar)
{
    return bar && bar->GetSafeHwnd() && bar->IsWindowVisible();
}

void CMainFrame::UpdateViewMenu(BOOL showVisible)
{
    const BOOL palette = BarVisible(g_pCmdBar);
    const BOOL video = BarVisible(g_pVideoBar);
    const BOOL clips = BarVisible(CClipBar::GetClipBar());
    HMENU menu = GetMenuCopy(IDR_MAINFRAME);
    HMENU view = menu ? ::GetSubMenu(menu, 2) : NULL;
    if (view) {
        ::CheckMenuItem(view, ID_VIEW_CMDPALETTE, palette ? MF_CHECKED : MF_UNCHECKED);
        ::CheckMenuItem(view, ID_VIEW_VIDEOBAR, video ? MF_CHECKED : MF_UNCHECKED);
        if (clips)
            ::CheckMenuItem(view, ID_VIEW_CLIPPANEL, MF_CHECKED);
    }
    if (showVisible) {
        if (palette)
            ShowControlBar(g_pCmdBar, TRUE, FALSE);
        if (video)
            ShowControlBar(g_pVideoBar, TRUE, FALSE);
    }
}

void CMainFrame::OnUpdateViewBars(CCmdUI*)
{
    UpdateViewMenu(FALSE);
}

// Shows the bar when its item was unchecked, hides it when it was checked.
void CMainFrame::ToggleBar(CControlBar* bar, UINT id)
{
    HMENU menu = GetMenuCopy(IDR_MAINFRAME);
    HMENU view = menu ? ::GetSubMenu(menu, 2) : NULL;
    const BOOL checked = view && (::GetMenuState(view, id, MF_BYCOMMAND) & MF_CHECKED);
    if (view)
        ::CheckMenuItem(view, id, checked ? MF_UNCHECKED : MF_CHECKED);
    if (bar && bar->GetSafeHwnd())
        ShowControlBar(bar, !checked, FALSE);
}

void CMainFrame::OnViewCmdPalette()
{
    ToggleBar(g_pCmdBar, ID_VIEW_CMDPALETTE);
}

void CMainFrame::OnViewVideoBar()
{
    ToggleBar(g_pVideoBar, ID_VIEW_VIDEOBAR);
}

void CMainFrame::OnNoAction()
{
}

void CMainFrame::OnUpdateAlwaysEnabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CMainFrame::OnUpdateDisabled(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

// The video manager's hot keys; nothing to do before its window exists.
static CClavio* LiveClavio()
{
    return g_pClavio && g_pClavio->GetSafeHwnd() ? g_pClavio : NULL;
}

void CMainFrame::OnToggleWindow() { if (CClavio* c = LiveClavio()) c->SelectOtherChannel(); }

void CMainFrame::OnSplitWindowKey() { if (CClavio* c = LiveClavio()) c->OnSplitWindowKey(); }

void CMainFrame::OnLockImpactKey() { if (CClavio* c = LiveClavio()) c->OnLockImpactKey(); }

void CMainFrame::OnLockViewKey() { if (CClavio* c = LiveClavio()) c->OnLockViewKey(); }

void CMainFrame::OnToggleMirrorKey() { if (CClavio* c = LiveClavio()) c->OnToggleMirrorKey(); }

CConsumerBkgDlg* CMainFrame::GetPanel()
{
    CView* view = GetActiveView();
    if (!view || !view->IsKindOf(RUNTIME_CLASS(CBrenicView)))
        return NULL;
    CWnd* panel = ((CBrenicView*)view)->GetPanelWnd();
    return panel && panel->GetSafeHwnd() ? (CConsumerBkgDlg*)panel : NULL;
}

// The hidden hot-key commands the skinned panel carries out.
void CMainFrame::OnPanelKey(UINT nID)
{
    CConsumerBkgDlg* panel = GetPanel();
    if (!panel)
        return;
    switch (nID) {
    case ID_STARTAUTORECKEY: panel->ClickRecord(1); break;
    case ID_TRIGGERAUTORECKEY: panel->ClickCaptureTrigger(); break;
    case ID_STARTMANRECKEY: panel->ClickRecord(0); break;
    case ID_ATTENSLIDER: panel->ClickSlider(); break;
    case ID_UPDATEFRAMECOUNT: panel->ShowSliderPosition(); break;
    }
}

void CMainFrame::OnStopButton()
{
    if (CConsumerBkgDlg* panel = GetPanel())
        panel->StopPlayback();
}

// Slow Play and Play as their buttons (1009 and 1169) would have them.
void CMainFrame::OnPlayKey()
{
    if (CConsumerBkgDlg* panel = GetPanel())
        panel->SendMessage(WM_COMMAND, 1009);
}

void CMainFrame::OnRealPlayKey()
{
    if (CConsumerBkgDlg* panel = GetPanel())
        panel->SendMessage(WM_COMMAND, 1169);
}

void CMainFrame::OnDrawProperties()
{
    if (CConsumerBkgDlg* panel = GetPanel())
        panel->SendMessage(WM_COMMAND, ID_DRAW_PROPERTIES);
}

void CMainFrame::OnClipSave()
{
    if (CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL)
        clip->Save();
}

void CMainFrame::OnUpdateClipSave(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(g_pClavio && g_pClavio->GetCurrentClip() != NULL);
}

void CMainFrame::OnDatabaseMaintenance()
{
    if (g_pClavio && g_pClavio->IsCaptureArmed())
        g_pClavio->Stop();
    CDatabaseMgr database;
    database.Maintenance();
}

int CMainFrame::ShowDatabaseSheet()
{
    if (!g_pAppConfig || !g_pAppConfig->ConnectDatabase() || !g_pDatabaseSheet)
        return 0;
    if (g_pDatabaseSheet->IsCreated())
        return g_pDatabaseSheet->ShowModal(1);
    g_pDatabaseSheet->SetActivePage(1);
    return (int)g_pDatabaseSheet->DoModal();
}

int CMainFrame::ViewDatabaseSheet()
{
    if (!g_pAppConfig || !g_pAppConfig->ConnectDatabase() || !g_pDatabaseSheet)
        return 0;
    if (g_pDatabaseSheet->IsCreated())
        return g_pDatabaseSheet->ShowModal(1);
    return (int)g_pDatabaseSheet->DoModal();
}

void CMainFrame::OnViewDatabase()
{
    ViewDatabaseSheet();
}

void CMainFrame::OnImportAvi()
{
    CClip::ImportClipFiles(CString(), 0);
}

// The compiled help file opens in the desktop's viewer: Wine's own viewer needs a browser
// engine this system does not have.
void CMainFrame::OnHelpContents()
{
    const CString path = g_pAppConfig ? g_pAppConfig->GetHelpFilePath() : CString();
    if (path.IsEmpty() || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        AfxMessageBox("Could not find the help file " + path + ".");
        return;
    }
    WinExec("winebrowser \"" + path + "\"", SW_SHOW);
}

void CMainFrame::OnToolsOptions()
{
    CToolsSheet sheet("Options");
    sheet.AddPages();
    OnStopButton();
    sheet.DoModal();
}

void CMainFrame::OnDiskCapacity()
{
    CDiskCapacityDlg dialog;
    dialog.DoModal();
}

void CMainFrame::OnVideoHelp()
{
    CLaunchHelpDlg dialog(1);
    dialog.DoModal();
}

void CMainFrame::OnNetworkDatabase()
{
    if (g_pClavio && g_pClavio->IsCaptureArmed())
        g_pClavio->Stop();
    CNetworkDbDlg dialog(this);
    if (dialog.DoModal() != IDOK)
        return;
    const CString machine = dialog.m_strMachineName;
    if (g_pRemoteDatabaseSheet && g_pRemoteDatabaseSheet->IsInModalLoop())
        return; // shown already: its loop is on the stack
    if (g_pRemoteDatabaseSheet && (machine != g_pAppConfig->GetRemoteMachineName() ||
                                   !g_pRemoteDatabaseSheet->IsRemote())) {
        delete g_pRemoteDatabaseSheet;
        g_pRemoteDatabaseSheet = NULL;
    }
    // The remote sheet's recordsets open on the network database, so the flag is on from
    // its construction; it is off again however the showing ends.
    g_pAppConfig->SetNetworkDatabase(TRUE);
    if (!g_pRemoteDatabaseSheet) {
        dialog.ApplyRemotePaths();
        g_pRemoteDatabaseSheet =
            new CDatabaseSheet("Vido Database on " + machine, TRUE, NULL, 1);
        g_pAppConfig->SetRemoteMachineName(machine);
        if (!g_pRemoteDatabaseSheet->IsConnected()) {
            g_pAppConfig->SetNetworkDatabase(FALSE);
            delete g_pRemoteDatabaseSheet;
            g_pRemoteDatabaseSheet = NULL;
            AfxMessageBox("Cannot connect to database");
            return;
        }
    }
    try {
        g_pRemoteDatabaseSheet->ShowModal(1);
        g_pAppConfig->SetNetworkDatabase(FALSE);
    } catch (CDaoException* e) {
        g_pAppConfig->SetNetworkDatabase(FALSE);
        if (!g_pRemoteDatabaseSheet->IsInModalLoop()) {
            delete g_pRemoteDatabaseSheet;
            g_pRemoteDatabaseSheet = NULL;
        }
        AfxMessageBox(DaoErrorText(e), MB_ICONEXCLAMATION);
        e->Delete();
    }
}
