#include "CmdBar.h"
#include "Globals.h"
#include "Lesson.h"
#include "PanelLogic.h"
#include "PanelRes.h"

CCmdBar* g_pCmdBar = NULL;

CLessonDlg::CLessonDlg(CWnd* pParent) : CBaseDialog(IDD_LESSON_PAGE, pParent)
{
}

BOOL CLessonDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetBitmap("BACK5", tile);
    SetDlgItemText(1073, "Pat Sample");
    SetDlgItemText(1074, "Right Hand");
    SetDlgItemText(1030, "Lee Sample");
    UpdateTexts(TRUE);
    return TRUE;
}

void CLessonDlg::Repaint(UINT id, int margin)
{
    CWnd* item = GetDlgItem(id);
    if (!item)
        return;
    CRect rect;
    item->GetWindowRect(&rect);
    ScreenToClient(&rect);
    rect.InflateRect(margin, margin);
    InvalidateRect(&rect, TRUE);
}

void CLessonDlg::UpdateTexts(BOOL student)
{
    if (!GetSafeHwnd())
        return;
    CString text;
    text.Format("Lesson duration: %d (min)", g_pLesson ? g_pLesson->GetDuration() : 0);
    SetDlgItemText(1153, text);
    Repaint(1153, 0);
    SetDlgItemText(1154, panel::TimeRemainingText(g_pLesson ? g_pLesson->GetSecondsLeft() : 0));
    Repaint(1154, 0);
    if (!student)
        return;
    BOOL active = g_pLesson && g_pLesson->IsActive();
    SetDlgItemText(1073, active ? g_pLesson->GetStudentName() : CString());
    SetDlgItemText(1074, "");
    SetDlgItemText(1030, "");
    for (UINT id : {1073u, 1074u, 1030u})
        Repaint(id, 3);
}

CStudentVideoCmdDlg::CStudentVideoCmdDlg(CWnd* pParent) : CBaseDialog(IDD_STUDENT_PAGE, pParent)
{
}

BOOL CStudentVideoCmdDlg::OnInitDialog()
{
    CBaseDialog::OnInitDialog();
    SetBitmap("STUDENT_CTRL", tile);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------

BEGIN_MESSAGE_MAP(CCmdBar, SECControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CCmdBar::CCmdBar()
{
}

CCmdBar::~CCmdBar()
{
    if (g_pCmdBar == this)
        g_pCmdBar = NULL;
}

int CCmdBar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (SECControlBar::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_tabWnd.Create(this, WS_CHILD | WS_VISIBLE, 0xE900))
        return -1;
    m_lessonDlg.Create(&m_tabWnd);
    m_videoDlg.Create(&m_tabWnd);
    m_graphicsDlg.Create(&m_tabWnd);
    m_effectsDlg.Create(&m_tabWnd);
    m_videoDlg.SetGraphicsDlg(&m_graphicsDlg);
    m_effectsDlg.m_shadow.SetGraphicsDlg(&m_graphicsDlg);

    struct Page {
        CWnd* page;
        const char* label;
        UINT icon;
    } pages[] = {
        {&m_lessonDlg, "Lesson", IDI_TAB_LESSON},
        {&m_videoDlg, "Video", IDI_TAB_VIDEO},
        {&m_graphicsDlg, "Graphics", IDI_TAB_GRAPHICS},
        {&m_effectsDlg, "Vistrel", IDI_TAB_VISTREL},
    };
    for (int i = 0; i < 4; ++i) {
        m_tabWnd.AddTab(pages[i].page, pages[i].label);
        m_tabWnd.SetTabIcon(i, pages[i].icon, 16, 16);
    }
    m_tabWnd.SetTabStyle(0x80);
    if (CWnd* tabs = (CWnd*)m_tabWnd.GetTabControl()) {
        CRect client;
        m_tabWnd.GetClientRect(&client);
        tabs->SetWindowPos(NULL, 0, 0, client.Width(), client.Height() + 500,
                           SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    }
    m_tabWnd.Invalidate();
    m_tabWnd.ActivateTab(1);
    return 0;
}

void CCmdBar::OnSize(UINT nType, int cx, int cy)
{
    SECControlBar::OnSize(nType, cx, cy);
    if (!m_tabWnd.GetSafeHwnd())
        return;
    CRect inside;
    GetInsideRect(inside);
    m_tabWnd.SetWindowPos(NULL, inside.left, inside.top, inside.Width(), inside.Height(),
                          SWP_NOZORDER | SWP_NOACTIVATE);
}
