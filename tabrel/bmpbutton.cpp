#include "bmpbutton.h"
#include "clock.h"

IMPLEMENT_DYNAMIC(CBaseBmpButton, CButton)

BEGIN_MESSAGE_MAP(CBaseBmpButton, CButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
END_MESSAGE_MAP()

CBaseBmpButton::CBaseBmpButton()
    : m_nExtraState(0), m_b3DFrame(FALSE), m_bHighlight(FALSE), m_bCheckMode(FALSE),
      m_bCheckState(FALSE), m_bHeld(FALSE), m_bHoldReported(FALSE), m_nMouseFlags(0)
{
}

BOOL CBaseBmpButton::LoadBitmaps(LPCTSTR lpszNormal, LPCTSTR lpszPressed, LPCTSTR lpszFocus,
                                 LPCTSTR lpszDisabled)
{
    LPCTSTR names[4] = {lpszNormal, lpszPressed, lpszFocus, lpszDisabled};
    for (int i = 0; i < 4; ++i)
        m_images[i].Free();
    if (!m_images[0].Load(lpszNormal))
        return FALSE;
    for (int i = 1; i < 4; ++i)
        if (names[i])
            m_images[i].Load(names[i]);
    return TRUE;
}

BOOL CBaseBmpButton::LoadExtraBitmap(int nState, LPCTSTR lpszResource)
{
    if (nState < 1 || nState > 2)
        return FALSE;
    return m_extra[nState - 1].Load(lpszResource);
}

void CBaseBmpButton::SetExtraState(int nState)
{
    m_nExtraState = nState;
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CBaseBmpButton::OnHold() { return FALSE; }

BOOL CBaseBmpButton::IsPressed(UINT nItemState) const
{
    return (nItemState & ODS_SELECTED) || (m_bCheckMode && m_bCheckState) ||
           (m_nMouseFlags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
}

CTransparentBitmap* CBaseBmpButton::ImageFor(UINT nItemState)
{
    CTransparentBitmap* image = &m_images[0];
    if (IsPressed(nItemState)) {
        if (m_nExtraState >= 1 && m_nExtraState <= 2 && m_extra[m_nExtraState - 1].IsLoaded())
            image = &m_extra[m_nExtraState - 1];
        else if (m_images[1].IsLoaded())
            image = &m_images[1];
    } else if ((nItemState & ODS_FOCUS) && m_images[2].IsLoaded()) {
        image = &m_images[2];
    } else if ((nItemState & ODS_DISABLED) && m_images[3].IsLoaded()) {
        image = &m_images[3];
    }
    return image->IsLoaded() ? image : NULL;
}

void CBaseBmpButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    UINT state = lpDIS->itemState;
    BOOL pressed = IsPressed(state);
    if (m_b3DFrame) {
        COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        pDC->FillSolidRect(&rc, pressed && m_bHighlight ? kHighlightColor : face);
        CRect edge = rc;
        pDC->DrawEdge(&edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    CTransparentBitmap* image = ImageFor(state);
    if (image) {
        int offset = (state & ODS_SELECTED) ? 1 : 0;
        int x = rc.left + (rc.Width() - image->Width()) / 2 + offset;
        int y = rc.top + (rc.Height() - image->Height()) / 2 + offset;
        if ((state & ODS_DISABLED) && !m_images[3].IsLoaded())
            pDC->DrawState(CPoint(x, y), CSize(image->Width(), image->Height()),
                           image->m_hBitmap, DST_BITMAP | DSS_DISABLED);
        else
            image->Draw(pDC, x, y);
    }
    if ((state & ODS_FOCUS) && !m_images[2].IsLoaded()) {
        CRect focus = rc;
        focus.DeflateRect(3, 3);
        pDC->DrawFocusRect(&focus);
    }
}

BOOL CBaseBmpButton::PreTranslateMessage(MSG* pMsg)
{
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
        pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CButton::PreTranslateMessage(pMsg);
}

void CBaseBmpButton::OnLButtonDown(UINT nFlags, CPoint)
{
    m_bHeld = FALSE;
    m_bHoldReported = FALSE;
    m_nMouseFlags = nFlags;
    CTabrelClock::Get()->SetTimer(m_hWnd, kHoldTimer, kHoldElapse);
    Default();
}

void CBaseBmpButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_nMouseFlags = nFlags;
    CTabrelClock::Get()->KillTimer(m_hWnd, kHoldTimer);
    CRect rc;
    GetClientRect(&rc);
    BOOL pushedOver = (GetState() & BST_PUSHED) && rc.PtInRect(point);
    Default();
    if (m_bCheckMode && pushedOver) {
        m_bCheckState = !m_bCheckState;
        Invalidate(FALSE);
    }
    // Only a hold the parent was told of is ended for it.
    if (m_bHeld && m_bHoldReported && m_hWnd)
        ::SendMessageA(::GetParent(m_hWnd), WM_BUTTON_HOLD_END, (WPARAM)m_hWnd, 0);
    m_bHeld = FALSE;
    m_bHoldReported = FALSE;
}

void CBaseBmpButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kHoldTimer) {
        Default();
        return;
    }
    m_bHeld = TRUE;
    CTabrelClock::Get()->KillTimer(m_hWnd, kHoldTimer);
    if (!OnHold()) {
        m_bHoldReported = TRUE;
        ::SendMessageA(::GetParent(m_hWnd), WM_BUTTON_HOLD, (WPARAM)m_hWnd, 0);
    }
}
