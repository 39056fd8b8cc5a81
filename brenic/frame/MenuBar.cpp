#include "MenuBar.h"
#include <cmath>
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "Globals.h"
#include "Lesson.h"
#include "resource.h"

CMenuBar* g_pMenuBar = NULL;

MenuBarLayout ComputeMenuBarLayout(int cx, int cy, int logoWidth, int clubLabelLength,
                                   BOOL nextRecording)
{
    MenuBarLayout l;
    l.y = (int)std::ceil(cy / 2.0 - 7);
    l.logoX = cx - logoWidth;
    l.viewX = cx - 257;
    l.clubX = cx - 132;
    l.viewLabelX = cx - 288;
    l.clubLabelX = cx - 2 * clubLabelLength - 160;
    l.nextLabelX = cx - 373;
    const int e = nextRecording ? 0 : 73;
    l.lessonLabelX = cx + e - 458;
    l.lessonX = cx + e - 416;
    l.fieldsShown = cx >= 725;
    return l;
}

CString FormatLessonTime(int seconds)
{
    if (seconds < 0)
        seconds = 0;
    CString text;
    text.Format("%02d:%02d", seconds / 60, seconds % 60);
    return text;
}

IMPLEMENT_DYNAMIC(CMenuBar, SECMenuBar)

BEGIN_MESSAGE_MAP(CMenuBar, SECMenuBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CMenuBar::CMenuBar() : m_bFieldsShown(TRUE), m_bNextRecording(FALSE)
{
}

CMenuBar::~CMenuBar()
{
    if (g_pClavio)
        g_pClavio->Unsubscribe(this);
}

int CMenuBar::OnCreate(LPCREATESTRUCT lpcs)
{
    if (SECMenuBar::OnCreate(lpcs) == -1)
        return -1;
    m_logo.Create(NULL, WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 20, 20), this, 0);
    m_logo.LoadBitmaps(IDB_MENUBAR_LOGO);
    m_logo.SizeToContent();
    m_logo.SetWindowPos(NULL, 300, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_logo.ShowWindow(SW_SHOW);

    const DWORD edit = WS_CHILD | WS_VISIBLE | ES_READONLY;
    m_view.Create(edit, CRect(0, 0, 69, 14), this, 11);
    m_club.Create(edit, CRect(0, 0, 79, 14), this, 12);
    m_lessonTime.Create(edit, CRect(0, 0, 30, 14), this, 13);
    m_viewLabel.Create("View", WS_CHILD | WS_VISIBLE, CRect(0, 0, 23, 12), this, 11);
    const CString club =
        g_pAppConfig ? g_pAppConfig->m_xmlParser.GetDisplayName("Club") : CString("Club");
    m_clubLabel.Create(club, WS_CHILD | WS_VISIBLE, CRect(0, 0, 5 * club.GetLength() + 1, 12),
                       this, 12);
    m_nextLabel.Create("Next Recording:", WS_CHILD, CRect(0, 0, 80, 14), this, 13);
    m_lessonLabel.Create("Lesson", WS_CHILD | WS_VISIBLE, CRect(0, 0, 35, 14), this, 12);

    CClientDC dc(this);
    LOGFONTA lf = {};
    lf.lfHeight = -MulDiv(8, dc.GetDeviceCaps(LOGPIXELSY), 72);
    lf.lfWeight = 400;
    lf.lfOutPrecision = 2;
    lf.lfQuality = 2;
    lstrcpyA(lf.lfFaceName, "MS Sans serif");
    m_font.CreateFontIndirect(&lf);
    CWnd* controls[] = {&m_view, &m_club, &m_lessonTime, &m_viewLabel, &m_clubLabel,
                        &m_nextLabel, &m_lessonLabel};
    for (CWnd* c : controls)
        c->SetFont(&m_font);

    UpdateLessonTime();
    if (g_pClavio)
        g_pClavio->Subscribe(this, CObserverSvr::CLIP_LOADED | CObserverSvr::UPDATE);
    return 0;
}

void CMenuBar::OnSize(UINT nType, int cx, int cy)
{
    SECMenuBar::OnSize(nType, cx, cy);
    if (!m_view.GetSafeHwnd())
        return;
    CRect logo(0, 0, 0, 0);
    if (m_logo.GetSafeHwnd())
        m_logo.GetWindowRect(&logo);
    CString club;
    m_clubLabel.GetWindowText(club);
    const MenuBarLayout l =
        ComputeMenuBarLayout(cx, cy, logo.Width(), club.GetLength(), m_bNextRecording);
    const UINT flags = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (m_logo.GetSafeHwnd())
        m_logo.SetWindowPos(NULL, l.logoX, 0, 0, 0, flags);
    m_view.SetWindowPos(NULL, l.viewX, l.y, 0, 0, flags);
    m_club.SetWindowPos(NULL, l.clubX, l.y, 0, 0, flags);
    m_viewLabel.SetWindowPos(NULL, l.viewLabelX, l.y, 0, 0, flags);
    m_clubLabel.SetWindowPos(NULL, l.clubLabelX, l.y, 0, 0, flags);
    m_nextLabel.SetWindowPos(NULL, l.nextLabelX, l.y, 0, 0, flags);
    m_lessonLabel.SetWindowPos(NULL, l.lessonLabelX, l.y, 0, 0, flags);
    m_lessonTime.SetWindowPos(NULL, l.lessonX, l.y, 0, 0, flags);

    const int show = l.fieldsShown ? SW_SHOW : SW_HIDE;
    CWnd* shown[] = {&m_view, &m_club, &m_lessonTime, &m_viewLabel, &m_clubLabel,
                     &m_lessonLabel};
    for (CWnd* c : shown)
        c->ShowWindow(show);
    m_nextLabel.ShowWindow(l.fieldsShown && m_bNextRecording ? SW_SHOW : SW_HIDE);
    m_bFieldsShown = l.fieldsShown;
}

void CMenuBar::OnPaint()
{
    CPaintDC dc(this);
    if (m_bFieldsShown) {
        CEdit* fields[] = {&m_view, &m_club, &m_lessonTime};
        for (CEdit* f : fields) {
            CRect r;
            f->GetWindowRect(&r);
            ScreenToClient(&r);
            r.InflateRect(3, 3);
            dc.DrawEdge(&r, EDGE_SUNKEN, BF_RECT);
        }
    }
    DoPaint(&dc);
}

void CMenuBar::Relayout()
{
    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
    Invalidate();
}

void CMenuBar::UpdateLessonTime()
{
    if (m_lessonTime.GetSafeHwnd())
        m_lessonTime.SetWindowText(FormatLessonTime(g_pLesson ? g_pLesson->GetSecondsLeft() : 0));
}

void CMenuBar::ShowNextRecording(CString club, CString view)
{
    m_club.SetWindowText(club);
    m_view.SetWindowText(view);
    m_nextLabel.ShowWindow(SW_SHOW);
    m_bNextRecording = TRUE;
    Relayout();
}

void CMenuBar::ShowClipFields()
{
    CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    if (!clip)
        return;
    m_view.SetWindowText(clip->m_strView);
    m_club.SetWindowText(clip->m_strClub);
}

void CMenuBar::OnClipLoaded()
{
    if (!GetSafeHwnd())
        return;
    m_bNextRecording = FALSE;
    m_nextLabel.ShowWindow(SW_HIDE);
    ShowClipFields();
    Relayout();
}

void CMenuBar::OnUpdate()
{
    if (GetSafeHwnd())
        ShowClipFields();
}
