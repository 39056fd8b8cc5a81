#include "ClipBar.h"
#include "../video/Clavio.h"
#include "../video/Clip.h"
#include "AppConfig.h"
#include "DatabaseMgr.h"
#include "Globals.h"
#include "ImgList.h"
#include "PromptDlgs.h"
#include "resource.h"

CClipBar* CClipBar::s_pClipBar = NULL;

namespace
{
const COLORREF kPaneBack = RGB(0x80, 0x80, 0x80);
const COLORREF kPaneText = RGB(0xFF, 0xFF, 0xFF);
const UINT kShortcutBarId = 151;
// The shortcut bar's own style: alignment value 2 and the sliding switch between bars.
const DWORD kShortcutBarStyle = 0x12;
} // namespace

BEGIN_MESSAGE_MAP(CClipBar, CWnd)
    ON_WM_SIZE()
    ON_WM_CREATE()
END_MESSAGE_MAP()

CClipBar::CClipBar()
{
    s_pClipBar = this;
}

CClipBar::~CClipBar()
{
    if (GetSafeHwnd())
        DestroyWindow();
    if (s_pClipBar == this)
        s_pClipBar = NULL;
}

BOOL CClipBar::CreatePanel(CWnd* parent, const CRect& rect, UINT id)
{
    return Create(NULL, "Clip Panel", WS_CHILD | WS_VISIBLE, rect, parent, id);
}

BOOL CClipBar::CreateList(CClipList& list, LPCTSTR label, int kind)
{
    if (!list.Create(LVS_ICON | LVS_ALIGNLEFT | LVS_SHAREIMAGELISTS | WS_VISIBLE,
                     CRect(0, 0, 800, 100), &m_shortcutBar, 1))
        return FALSE;
    m_shortcutBar.AddBar(&list, label, TRUE);
    if (g_pImgList) {
        list.SetImageList(&g_pImgList->GetLargeList(), LVSIL_NORMAL);
        list.SetImageList(&g_pImgList->GetSmallList(), LVSIL_SMALL);
        if (kind == 0)
            list.SetImageList(&g_pImgList->GetStateList(), LVSIL_STATE);
    }
    list.SetBkColor(kPaneBack);
    list.SetTextColor(kPaneText);
    list.SetTextBkColor(kPaneBack);
    list.SetReferencePane(kind);
    return TRUE;
}

int CClipBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    if (!m_shortcutBar.Create(this, WS_CHILD | WS_VISIBLE | kShortcutBarStyle, kShortcutBarId)) {
        TRACE("Unable to create SECListShortcutBar\n");
        ::OutputDebugStringA("Unable to create SECListShortcutBar\n");
        return -1;
    }
    m_shortcutBar.SetWindowPos(NULL, 0, 0, 306, 77, SWP_NOZORDER);
    m_shortcutBar.ModifyStyleEx(0, WS_EX_CLIENTEDGE);
    if (!CreateList(m_students, "Students", 0) || !CreateList(m_pros, "Pros", 1))
        return -1;
    m_shortcutBar.ActivateBar(0);
    if (g_pClavio)
        g_pClavio->Subscribe(this, CObserverSvr::CLIP_LOADED | CObserverSvr::UPDATE);
    return 0;
}

void CClipBar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_shortcutBar.GetSafeHwnd()) {
        CRect client;
        GetClientRect(&client);
        m_shortcutBar.SetWindowPos(NULL, 0, 0, client.Width(), client.Height(),
                                   SWP_NOACTIVATE | SWP_NOZORDER);
    }
}

BOOL CClipBar::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_students.GetSafeHwnd() && m_students.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (m_pros.GetSafeHwnd() && m_pros.OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CClipBar::ListsClip(const CClip* clip) const
{
    return clip && (m_students.FindItem(clip) >= 0 || m_pros.FindItem(clip) >= 0);
}

BOOL CClipBar::AddClip(CClip* clip, CString label)
{
    if (!clip)
        return FALSE;
    if (m_shortcutBar.GetSafeHwnd())
        m_shortcutBar.ActivateBar(0);
    if (!m_students.GetSafeHwnd() || !m_students.IsNewClip(clip)) {
        if (m_students.GetSafeHwnd())
            AfxMessageBox("Clip has already been added to the Clip Panel");
        delete clip;
        return FALSE;
    }
    BOOL load = FALSE;
    if (label.IsEmpty()) {
        label = clip->GetSubjectShortName();
        if (label.IsEmpty())
            label = clip->m_captureTime.Format("%I:%M:%S");
        else
            load = TRUE;
    }
    m_students.InsertClip(clip, label);
    if (load && g_pClavio)
        g_pClavio->LoadClip(clip);
    return TRUE;
}

BOOL CClipBar::AddReferenceClip(CClip* clip, CString label)
{
    if (!clip)
        return FALSE;
    if (!m_pros.GetSafeHwnd() || !m_pros.IsNewClip(clip)) {
        if (m_pros.GetSafeHwnd())
            AfxMessageBox("Clip has already been added to the Clip Panel");
        delete clip;
        return FALSE;
    }
    // The clip moves from Students to Pros: the Students item with its video file goes. It
    // is found by its file, not by its database ID, which every unsaved clip shares.
    const int student = clip->m_strVideoPath.IsEmpty()
                            ? -1
                            : m_students.FindItemByPath(clip->m_strVideoPath);
    if (student >= 0) {
        if (m_students.GetClip(student) == clip)
            m_students.DeleteItem(student); // the very clip moves: one owner only
        else
            m_students.DeleteClipItem(student);
    }
    if (m_shortcutBar.GetSafeHwnd())
        m_shortcutBar.ActivateBar(1);
    if (label.IsEmpty())
        label = clip->GetSubjectShortName();
    m_pros.InsertClip(clip, label);
    if (g_pClavio)
        g_pClavio->LoadClip(clip);
    return TRUE;
}

BOOL CClipBar::RemoveClipByID(int id)
{
    return m_pros.RemoveClipByID(id) || m_students.RemoveClipByID(id);
}

void CClipBar::RefreshClipByID(int id)
{
    m_pros.RefreshClipByID(id);
    m_students.RefreshClipByID(id);
}

void CClipBar::Refresh()
{
    if (!m_shortcutBar.GetSafeHwnd() || !m_shortcutBar.HasActiveBar())
        return;
    if (CWnd* pane = m_shortcutBar.GetActiveBar()->GetWnd())
        pane->Invalidate(FALSE);
}

BOOL CClipBar::ClearClips()
{
    CDatabaseMgr database;
    const CString pattern = (g_pAppConfig ? g_pAppConfig->GetCaptureDirectory() : CString()) +
                            "\\CAP*.avi";
    if (!m_students.HasUnsavedClips() && !m_pros.HasUnsavedClips()) {
        database.DeleteCaptureFiles((DWORD)-1);
        if (g_pClavio)
            g_pClavio->SetClosing(TRUE);
        return TRUE;
    }
    // The question is about capture files: with none in the folder nothing is asked.
    int answer = 0;
    if (database.CountFiles(pattern) > 0) {
        CUnsavedClipsDlg dialog;
        answer = (int)dialog.DoModal();
        if (answer == IDCANCEL)
            return FALSE;
        if (answer == IDC_UNSAVED_EXIT) {
            CClip::s_bKeepTempFiles = TRUE;
            m_students.SetProgressText("Clearing clips...");
        }
    }
    if (g_pClavio)
        g_pClavio->SetClosing(TRUE);
    m_students.DeleteAllClips(TRUE);
    m_pros.DeleteAllClips(TRUE);
    if (answer == IDC_UNSAVED_DELETE_EXIT)
        database.DeleteCaptureFiles((DWORD)-1);
    else
        database.DeleteVideoFiles(102400);
    return TRUE;
}
