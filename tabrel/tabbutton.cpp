#include "tabbutton.h"
#include "clock.h"
#include "tabrelctl.h"

IMPLEMENT_DYNAMIC(CTabButton, CBaseBmpButton)

BEGIN_MESSAGE_MAP(CTabButton, CBaseBmpButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_RBUTTONUP()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CTabButton::CTabButton()
    : m_nTabIndex(0), m_pControl(NULL), m_bHoldPending(FALSE), m_bAdjustEnabled(TRUE)
{
}

BOOL CTabButton::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID, CCreateContext* pContext)
{
    m_nTabIndex = (int)nID;
    return CWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
}

void CTabButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    if (m_pControl)
        m_pControl->SelectTab(m_nTabIndex);
    m_nMouseFlags = nFlags;
    CBaseBmpButton::OnLButtonDown(nFlags, point);
}

BOOL CTabButton::OnHold()
{
    if (!m_bAdjustEnabled)
        return TRUE;
    if (m_pControl)
        m_pControl->HoldTab(m_nTabIndex + 1);
    SetExtraState(1);
    m_bHoldPending = TRUE;
    return TRUE;
}

void CTabButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_nMouseFlags = nFlags;
    CBaseBmpButton::OnLButtonUp(nFlags, point);
    if (m_bHoldPending) {
        SetCheckMode(TRUE);
        SetCheckState(TRUE);
        Invalidate(FALSE);
        m_bHoldPending = FALSE;
        if (m_pControl)
            m_pControl->ArmHold(m_nTabIndex + 1);
    }
    if (m_pControl && m_pControl->m_hWnd)
        m_pControl->SetFocus();
}

void CTabButton::OnRButtonDown(UINT nFlags, CPoint)
{
    if (!m_bAdjustEnabled)
        return;
    SetCheckMode(TRUE);
    SetCheckState(TRUE);
    Invalidate(FALSE);
    CTabrelClock::Get()->SetTimer(m_hWnd, kMoveTimer, kMoveElapse);
    if (m_pControl)
        m_pControl->EndHold();
    m_nMouseFlags = nFlags;
    Default();
}

void CTabButton::OnRButtonUp(UINT, CPoint)
{
    if (!m_bAdjustEnabled)
        return;
    CTabrelClock::Get()->KillTimer(m_hWnd, kMoveTimer);
    m_nMouseFlags = 0;
    RestoreFace();
    Default();
}

void CTabButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kMoveTimer) {
        if (m_bAdjustEnabled) {
            CTabrelClock::Get()->KillTimer(m_hWnd, kMoveTimer);
            SetExtraState(1);
            if (m_pControl)
                m_pControl->MoveTabToThumb(m_nTabIndex + 1);
        }
        return;
    }
    CBaseBmpButton::OnTimer(nIDEvent);
}

void CTabButton::RestoreFace()
{
    m_nExtraState = 0;
    SetCheckMode(FALSE);
    SetCheckState(FALSE);
    if (m_hWnd)
        Invalidate(FALSE);
}
