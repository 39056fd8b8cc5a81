#include "ClipList.h"
#include "MainFrm.h"
#include "../video/Clavio.h"
#include "../video/Clip.h"
#include "AppConfig.h"
#include "Globals.h"
#include "Lesson.h"
#include "PanelActions.h"
#include "ProgressDlg.h"
#include "QuickRegisterDlg.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CClipList, CListCtrl)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_CONTEXTMENU()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_NOTIFY_REFLECT(LVN_GETDISPINFO, OnGetDispInfo)
    ON_COMMAND(ID_CLIPS_SAVE_SELECTED, OnSaveSelected)
    ON_UPDATE_COMMAND_UI(ID_CLIPS_SAVE_SELECTED, OnUpdateWithSelection)
    ON_COMMAND(ID_CLIPS_DELETE_SELECTED, OnDeleteSelected)
    ON_UPDATE_COMMAND_UI(ID_CLIPS_DELETE_SELECTED, OnUpdateWithSelection)
    ON_COMMAND(ID_CLIPS_EXPORT, OnExport)
    ON_UPDATE_COMMAND_UI(ID_CLIPS_EXPORT, OnUpdateWithSelection)
    ON_COMMAND(ID_CLIPS_EMAIL, OnEmail)
    ON_UPDATE_COMMAND_UI(ID_CLIPS_EMAIL, OnUpdateWithSelection)
    ON_COMMAND(ID_CLIPS_DELETE_ALL, OnDeleteAll)
    ON_UPDATE_COMMAND_UI(ID_CLIPS_DELETE_ALL, OnUpdateAlways)
    ON_COMMAND(ID_CLIPS_INFO, OnClipInfo)
    ON_UPDATE_COMMAND_UI(ID_CLIPS_INFO, OnUpdateWithSelection)
    ON_COMMAND(ID_PROS_SAVE_SELECTED, OnSaveSelected)
    ON_UPDATE_COMMAND_UI(ID_PROS_SAVE_SELECTED, OnUpdateWithSelection)
    ON_COMMAND(ID_CLIPS_LOAD_PANEL, OnLoadClipPanel)
    ON_UPDATE_COMMAND_UI(ID_CLIPS_LOAD_PANEL, OnUpdateAlways)
    ON_COMMAND(ID_PROS_CLEAR_SELECTED, OnDeleteSelected)
    ON_UPDATE_COMMAND_UI(ID_PROS_CLEAR_SELECTED, OnUpdateWithSelection)
    ON_COMMAND(ID_PROS_EXPORT, OnExport)
    ON_UPDATE_COMMAND_UI(ID_PROS_EXPORT, OnUpdateWithSelection)
    ON_COMMAND(ID_PROS_EMAIL, OnEmail)
    ON_UPDATE_COMMAND_UI(ID_PROS_EMAIL, OnUpdateWithSelection)
    ON_COMMAND(ID_CLIPS_CLEAR_PANEL, OnClearPanel)
    ON_UPDATE_COMMAND_UI(ID_CLIPS_CLEAR_PANEL, OnUpdateAlways)
    ON_COMMAND(ID_PROS_INFO, OnClipInfo)
    ON_UPDATE_COMMAND_UI(ID_PROS_INFO, OnUpdateWithSelection)
END_MESSAGE_MAP()

namespace
{
struct MenuEntry
{
    UINT id;
    const char* text;
};

const MenuEntry kStudentMenu[] = {
    {ID_CLIPS_SAVE_SELECTED, "S&ave Selected Clip"}, {ID_CLIPS_DELETE_SELECTED, "Delete &Selected Clips"},
    {ID_CLIPS_EXPORT, "&Export Selected Clip"},      {ID_CLIPS_EMAIL, "E&mail Selected Clip"},
    {ID_CLIPS_DELETE_ALL, "&Delete All Clips"},      {ID_CLIPS_INFO, "&Clip Info..."},
};

const MenuEntry kProMenu[] = {
    {ID_PROS_SAVE_SELECTED, "S&ave Selected Clip"}, {ID_CLIPS_LOAD_PANEL, "&Load Clip Panel..."},
    {ID_PROS_CLEAR_SELECTED, "Clear &Selected Clips"}, {ID_PROS_EXPORT, "&Export Selected Clip"},
    {ID_PROS_EMAIL, "E&mail Selected Clip"},         {ID_CLIPS_CLEAR_PANEL, "&Clear Panel"},
    {ID_PROS_INFO, "Clip &Info..."},
};

// The commands only the reference pane carries.
BOOL IsProsOnly(UINT id)
{
    switch (id) {
    case ID_CLIPS_CLEAR_PANEL:
    case ID_PROS_INFO:
    case ID_PROS_SAVE_SELECTED:
    case ID_PROS_CLEAR_SELECTED:
    case ID_PROS_EXPORT:
    case ID_PROS_EMAIL:
        return TRUE;
    }
    return FALSE;
}

// The subject names of a clip, put back when an export or e-mail has used other ones.
struct SubjectCopy
{
    explicit SubjectCopy(CClip* c)
        : clip(c), first(c->m_subject.m_FirstName), last(c->m_subject.m_LastName),
          person(c->m_nPersonID)
    {
    }
    void Restore()
    {
        clip->m_subject.m_FirstName = first;
        clip->m_subject.m_LastName = last;
        clip->m_nPersonID = person;
    }
    CClip* clip;
    CString first, last;
    int person;
};

BOOL IsStoredAndChanged(CClip* clip)
{
    return clip->IsDrawingModified() && !clip->m_bNew;
}
} // namespace

CClipList::CClipList()
    : m_nPaneKind(0), m_strProgressText("Deleting clips..."), m_nPressedItem(-1), m_ptPressed(0, 0)
{
}

CClipList::~CClipList() {}

void CClipList::SetReferencePane(int kind)
{
    m_nPaneKind = kind;
    m_strProgressText = kind ? "Clearing clips..." : "Deleting clips...";
}

int CClipList::InsertClip(CClip* clip, CString label)
{
    LVITEM item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = GetItemCount();
    item.pszText = (LPSTR)(LPCTSTR)label;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = (LPARAM)clip;
    const int index = InsertItem(&item);
    if (index >= 0)
        EnsureVisible(index, FALSE);
    return index;
}

int CClipList::FindItem(const CClip* clip) const
{
    if (!GetSafeHwnd())
        return -1;
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetClip(i) == clip)
            return i;
    return -1;
}

BOOL CClipList::IsNewClip(CClip* clip) const
{
    return !ContainsGlobalID(clip->m_strGlobalID);
}

BOOL CClipList::ContainsGlobalID(CString globalID) const
{
    if (!GetSafeHwnd())
        return FALSE;
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetClip(i)->m_strGlobalID == globalID)
            return TRUE;
    return FALSE;
}

int CClipList::FindItemByPath(CString path) const
{
    if (!GetSafeHwnd())
        return -1;
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetClip(i)->m_strVideoPath == path)
            return i;
    return -1;
}

int CClipList::FindClip(CString path) const
{
    const int item = FindItemByPath(path);
    return item < 0 ? -1 : GetClip(item)->m_nID;
}

BOOL CClipList::HasUnsavedClips() const
{
    if (!GetSafeHwnd())
        return FALSE;
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetClip(i)->IsModified())
            return TRUE;
    return FALSE;
}

BOOL CClipList::HasModifiedSelection() const
{
    if (!GetSafeHwnd())
        return FALSE;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED))
        if (IsStoredAndChanged(GetClip(i)))
            return TRUE;
    return FALSE;
}

void CClipList::NotifyUpdate()
{
    if (g_pClavio)
        g_pClavio->NotifyUpdate();
}

void CClipList::DeleteClipItem(int item)
{
    CClip* clip = GetClip(item);
    // The item goes first: the clip's destructor repaints the panel.
    DeleteItem(item);
    if (g_pClavio) {
        if (g_pClavio->GetCurrentClip() == clip)
            g_pClavio->LoadClip(NULL);
        if (g_pClavio->GetOtherClip() == clip)
            g_pClavio->LoadClipInOtherChannel(NULL);
    }
    delete clip;
}

void CClipList::DeleteSelectedClips()
{
    CWaitCursor wait;
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(-1, LVNI_SELECTED))
        DeleteClipItem(i);
    Arrange(LVA_DEFAULT);
    NotifyUpdate();
}

void CClipList::DeleteAllClips(BOOL all)
{
    if (!GetSafeHwnd())
        return;
    const int count = GetItemCount();
    if (!count)
        return;
    CProgressDlg progress(FALSE);
    progress.SetMessage(m_strProgressText);
    progress.SetRange(count);
    // Shown in the program (a main window exists), also while the windows are destroyed
    // at its end; then it stands on its own.
    CWnd* main = AfxGetMainWnd();
    if (main && ::IsWindow(main->m_hWnd))
        progress.Show(IsWindowVisible() ? this : NULL);
    CWaitCursor wait;
    CClip* kept = NULL;
    CString keptText;
    for (int n = 0; n < count && GetItemCount(); ++n) {
        CClip* clip = GetClip(0);
        if (!all && g_pClavio && g_pClavio->GetCurrentClip() == clip) {
            kept = clip;
            keptText = GetItemText(0, 0);
            DeleteItem(0);
        } else {
            DeleteClipItem(0);
        }
        if (progress.GetSafeHwnd())
            progress.StepIt();
    }
    if (kept) {
        LVITEM item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.pszText = (LPSTR)(LPCTSTR)keptText;
        item.iImage = I_IMAGECALLBACK;
        item.lParam = (LPARAM)kept;
        InsertItem(&item);
    }
    if (progress.GetSafeHwnd()) {
        // The progress window stays up a moment so that the coach sees it.
        Sleep(1000);
        progress.DestroyWindow();
    }
}

BOOL CClipList::RemoveClipByID(int id)
{
    if (!GetSafeHwnd())
        return FALSE;
    for (int i = 0; i < GetItemCount(); ++i)
        if (GetClip(i)->m_nID == id) {
            DeleteClipItem(i);
            return TRUE;
        }
    return FALSE;
}

void CClipList::RefreshClipByID(int id)
{
    if (!GetSafeHwnd())
        return;
    for (int i = 0; i < GetItemCount(); ++i) {
        CClip* clip = GetClip(i);
        if (clip->m_nID == id && clip->Reload())
            SetItemText(i, 0, clip->GetSubjectShortName());
        if (clip->IsComparison() && clip->m_nComparisonClipID == id) {
            CClip* partner = clip->GetComparisonClip();
            if (partner)
                partner->Reload();
        }
    }
}

BOOL CClipList::PrepareDrag(int item)
{
    if (item < 0 || item >= GetItemCount())
        return FALSE;
    HGLOBAL block = CClavio::MakeClipDragBlock(GetClip(item));
    if (!block)
        return FALSE;
    m_dataSource.Empty();
    m_dataSource.CacheGlobalData(
        (CLIPFORMAT)(g_pAppConfig ? g_pAppConfig->GetClipClipboardFormat() : 0), block);
    return TRUE;
}

BOOL CClipList::BuildContextMenu(CMenu& menu) const
{
    const MenuEntry* entries = NULL;
    int count = 0;
    if (m_nPaneKind == 0) {
        entries = kStudentMenu;
        count = (int)(sizeof kStudentMenu / sizeof *kStudentMenu);
    } else if (m_nPaneKind == 1) {
        entries = kProMenu;
        count = (int)(sizeof kProMenu / sizeof *kProMenu);
    } else {
        return FALSE;
    }
    if (!menu.CreatePopupMenu())
        return FALSE;
    for (int i = 0; i < count; ++i)
        menu.AppendMenu(MF_STRING, entries[i].id, entries[i].text);
    return TRUE;
}

BOOL CClipList::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (m_nPaneKind == 0 && IsProsOnly(nID))
        return FALSE;
    return CListCtrl::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CClipList::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ID_CLIPS_DELETE_SELECTED:
        DeleteSelectedClips();
        return TRUE;
    case ID_CLIPS_DELETE_ALL:
        OnDeleteAll();
        return TRUE;
    }
    return CListCtrl::OnCommand(wParam, lParam);
}

int CClipList::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CListCtrl::OnCreate(lpcs) == -1)
        return -1;
    SetCallbackMask(LVIS_OVERLAYMASK);
    return 0;
}

void CClipList::OnDestroy()
{
    DeleteAllClips(TRUE);
    CListCtrl::OnDestroy();
}

void CClipList::OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVDISPINFO* info = (NMLVDISPINFO*)pNMHDR;
    CClip* clip = (CClip*)info->item.lParam;
    if (!clip && info->item.iItem >= 0 && info->item.iItem < GetItemCount())
        clip = GetClip(info->item.iItem);
    if (clip) {
        const BOOL students = m_nPaneKind == 0;
        if (info->item.mask & LVIF_IMAGE)
            info->item.iImage = clip->GetImageIndex(students);
        if (info->item.mask & LVIF_STATE)
            info->item.state |= INDEXTOOVERLAYMASK(clip->GetOverlayImageIndex(students));
    }
    *pResult = 0;
}

// A press on an item only arms a drag; the drag starts once the mouse has left the system's
// drag rectangle around the press with the button still down. Starting it on the press
// itself ran a modal wait that swallowed the release, so a click or a double click left the
// list (and the mouse capture) in the middle of a drag that never came.
void CClipList::OnLButtonDown(UINT nFlags, CPoint point)
{
    CListCtrl::OnLButtonDown(nFlags, point);
    m_nPressedItem = HitTest(point);
    m_ptPressed = point;
}

void CClipList::OnMouseMove(UINT nFlags, CPoint point)
{
    CListCtrl::OnMouseMove(nFlags, point);
    if (m_nPressedItem < 0)
        return;
    if (!(nFlags & MK_LBUTTON)) {
        m_nPressedItem = -1;
        return;
    }
    CRect still(m_ptPressed, m_ptPressed);
    still.InflateRect(::GetSystemMetrics(SM_CXDRAG), ::GetSystemMetrics(SM_CYDRAG));
    if (still.PtInRect(point))
        return;
    const int item = m_nPressedItem;
    m_nPressedItem = -1;
    if (!PrepareDrag(item))
        return;
    // The drag loop takes the mouse for itself; whatever the list view held is let go.
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    m_dataSource.DoDragDrop(DROPEFFECT_COPY);
    // The block names a clip the list may delete later: no stale pointer stays on offer.
    m_dataSource.Empty();
}

void CClipList::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_nPressedItem = -1;
    CListCtrl::OnLButtonUp(nFlags, point);
}

void CClipList::OnLButtonDblClk(UINT, CPoint point)
{
    m_nPressedItem = -1;
    const int item = HitTest(point);
    if (item >= 0 && g_pClavio)
        g_pClavio->LoadClip(GetClip(item));
}

void CClipList::OnContextMenu(CWnd*, CPoint point)
{
    CMenu menu;
    if (!BuildContextMenu(menu))
        return;
    menu.TrackPopupMenu(TPM_CENTERALIGN | TPM_RIGHTBUTTON, point.x, point.y, AfxGetMainWnd());
}

void CClipList::OnDeleteSelected()
{
    DeleteSelectedClips();
}

void CClipList::OnUpdateWithSelection(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(HasSelection());
}

void CClipList::OnUpdateAlways(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

void CClipList::OnDeleteAll()
{
    if (AfxMessageBox("Are you sure you want to delete all clips in the Clip Panel?", MB_YESNO) !=
        IDYES)
        return;
    DeleteAllClips(TRUE);
    NotifyUpdate();
}

void CClipList::OnClearPanel()
{
    if (m_nPaneKind == 0)
        return;
    DeleteAllClips(TRUE);
    NotifyUpdate();
}

void CClipList::OnSaveSelected()
{
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) {
        CClip* clip = GetClip(i);
        if (g_pClavio)
            g_pClavio->LoadClip(clip);
        clip->Save();
    }
}

void CClipList::OnClipInfo()
{
    CWaitCursor wait;
    const int item = GetNextItem(-1, LVNI_SELECTED);
    if (item >= 0)
        GetClip(item)->ShowInfo();
}

void CClipList::OnLoadClipPanel()
{
    CMainFrame::ShowDatabaseSheet();
}

BOOL CClipList::ChooseSubjectNames(CString& first, CString& last)
{
    const CString student = g_pLesson && g_pLesson->IsActive() ? g_pLesson->GetStudentName()
                                                               : CString();
    if (!student.IsEmpty()) {
        const int space = student.Find(' ');
        first = space < 0 ? CString() : student.Left(space);
        last = space < 0 ? student : student.Mid(space + 1);
        return TRUE;
    }
    if (!first.IsEmpty() || !last.IsEmpty())
        return TRUE;
    CQuickRegisterDlg dialog(FALSE);
    dialog.SetCaption("Enter Subject Name to be used for Unsaved Clips");
    if (dialog.DoModal() != IDOK)
        return FALSE;
    first = dialog.m_strFirstName;
    last = dialog.m_strLastName;
    return TRUE;
}

void CClipList::OnExport()
{
    const BOOL students = m_nPaneKind == 0;
    const int selected = GetSelectedCount();
    CProgressDlg progress(TRUE);
    progress.SetMessage("Exporting Clips");
    progress.SetRange(4 * selected);
    progress.Show(AfxGetMainWnd());
    CString first, last;
    if (selected > 1) {
        // The changes of stored clips reach the exported files only once they are saved:
        // Yes leaves the export so that the coach saves them first; No exports as stored.
        if (HasModifiedSelection() &&
            AfxMessageBox("Some of the clips have been modified.  You must save the modified "
                          "clips for the changes to be exported.  \nWould you like to save the "
                          "clips now?",
                          MB_YESNO) == IDYES) {
            if (progress.GetSafeHwnd())
                progress.DestroyWindow();
            return;
        }
        CClip::BeginBatchExport();
    }
    for (int i = GetNextItem(-1, LVNI_SELECTED); i >= 0; i = GetNextItem(i, LVNI_SELECTED)) {
        CClip* clip = GetClip(i);
        SubjectCopy names(clip);
        if (students && !clip->HasSubject()) {
            if (!ChooseSubjectNames(first, last))
                break;
            clip->m_subject.m_FirstName = first;
            clip->m_subject.m_LastName = last;
        }
        if (selected == 1 && IsStoredAndChanged(clip) &&
            AfxMessageBox("Clip has been modified.  You must save the clip for the changes to "
                          "be included in the exported clip.  \nWould you like to save the "
                          "clip now?",
                          MB_YESNO) == IDYES)
            clip->Save();
        const int result = clip->ExportClips(&progress);
        if (students)
            names.Restore();
        if (selected > 1 && result == 2 &&
            AfxMessageBox("You are exporting multiple clips, would you like to cancel all?",
                          MB_YESNO) == IDYES)
            break;
        if (progress.GetSafeHwnd())
            progress.StepIt();
        if (progress.IsCancelled()) {
            AfxMessageBox("Export has been cancelled.");
            break;
        }
    }
    CClip::EndBatchExport();
    if (progress.GetSafeHwnd())
        progress.DestroyWindow();
}

void CClipList::OnEmail()
{
    if (GetSelectedCount() > 1) {
        AfxMessageBox("You cannot select multiple clips for Video Email.");
        return;
    }
    const int item = GetNextItem(-1, LVNI_SELECTED);
    if (item < 0)
        return;
    CClip* clip = GetClip(item);
    SubjectCopy names(clip);
    if (m_nPaneKind == 0 && !clip->HasSubject()) {
        CString first, last;
        if (!ChooseSubjectNames(first, last))
            return;
        clip->m_subject.m_FirstName = first;
        clip->m_subject.m_LastName = last;
    }
    if (IsStoredAndChanged(clip) &&
        AfxMessageBox("Clip has been modified.  You must save the clip for the changes to be "
                      "included in the emailed clip.  \nWould you like to save the clip now?",
                      MB_YESNO) == IDYES)
        clip->Save();
    clip->SendVideoEmail(FALSE);
    if (m_nPaneKind == 0)
        names.Restore();
}
