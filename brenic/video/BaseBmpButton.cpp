#include "BaseBmpButton.h"

IMPLEMENT_DYNAMIC(CBaseBmpButton, CBitmapButton)

BEGIN_MESSAGE_MAP(CBaseBmpButton, CBitmapButton)
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
END_MESSAGE_MAP()

namespace {
const UINT_PTR kHoldTimer = 1;
const UINT kHoldMilliseconds = 1000;
}  // namespace

CBaseBmpButton::CBaseBmpButton()
    : m_bHighlight(FALSE), m_crHighlight(0x26A2C6), m_bCheckMode(FALSE), m_bDraw3DFrame(FALSE),
      m_bDrawFocus(FALSE), m_bTransparent(TRUE), m_bFocusDrawn(FALSE), m_nStateImage(0),
      m_bChecked(FALSE), m_nFocusInset(1), m_bHeld(FALSE), m_bCheckLocked(false),
      m_bAlwaysPressed(false)
{
    m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_crHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_crFace = ::GetSysColor(COLOR_BTNFACE);
    m_crShadow2 = ::GetSysColor(COLOR_BTNSHADOW);
    m_crFrame = ::GetSysColor(COLOR_WINDOWFRAME);
}

CBaseBmpButton::~CBaseBmpButton()
{
}

template <class Loader>
BOOL CBaseBmpButton::LoadFour(Loader load, LPCTSTR normal, LPCTSTR pressed, LPCTSTR focus,
                              LPCTSTR disabled)
{
    CTransparentBitmap* const images[4] = {&m_bmpNormal, &m_bmpPressed, &m_bmpFocus,
                                           &m_bmpDisabled};
    LPCTSTR const names[4] = {normal, pressed, focus, disabled};
    BOOL ok = TRUE;
    for (int i = 0; i < 4; ++i) {
        images[i]->DeleteImage();
        if (names[i] && !load(*images[i], names[i]))
            ok = FALSE;
    }
    return normal && m_bmpNormal.m_hObject ? ok : FALSE;
}

namespace {
BOOL FromResource(CTransparentBitmap& b, LPCTSTR name) { return b.LoadResource(name); }
BOOL FromFile(CTransparentBitmap& b, LPCTSTR path) { return b.LoadFile(path); }
LPCTSTR Id(UINT id) { return id ? MAKEINTRESOURCE(id) : NULL; }
}  // namespace

BOOL CBaseBmpButton::LoadBitmaps(LPCTSTR normal, LPCTSTR pressed, LPCTSTR focus,
                                 LPCTSTR disabled)
{
    return LoadFour(FromResource, normal, pressed, focus, disabled);
}

BOOL CBaseBmpButton::LoadBitmaps(UINT normal, UINT pressed, UINT focus, UINT disabled)
{
    return LoadFour(FromResource, Id(normal), Id(pressed), Id(focus), Id(disabled));
}

BOOL CBaseBmpButton::LoadBitmapFiles(LPCTSTR normal, LPCTSTR pressed, LPCTSTR focus,
                                     LPCTSTR disabled)
{
    return LoadFour(FromFile, normal, pressed, focus, disabled);
}

template <class Loader> BOOL CBaseBmpButton::LoadStates(Loader load, LPCTSTR image1,
                                                        LPCTSTR image2)
{
    LPCTSTR const names[2] = {image1, image2};
    for (int i = 0; i < 2; ++i) {
        m_bmpState[i].DeleteImage();
        if (names[i])
            load(m_bmpState[i], names[i]);
    }
    return TRUE;
}

BOOL CBaseBmpButton::LoadStateBitmaps(LPCTSTR image1, LPCTSTR image2)
{
    return LoadStates(FromResource, image1, image2);
}

BOOL CBaseBmpButton::LoadStateBitmaps(UINT image1, UINT image2)
{
    return LoadStates(FromResource, Id(image1), Id(image2));
}

BOOL CBaseBmpButton::LoadStateBitmapFiles(LPCTSTR image1, LPCTSTR image2)
{
    return LoadStates(FromFile, image1, image2);
}

void CBaseBmpButton::SizeToContent()
{
    if (!m_hWnd || !m_bmpNormal.m_hObject)
        return;
    SetWindowPos(NULL, 0, 0, m_bmpNormal.GetWidth(), m_bmpNormal.GetHeight(),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
}

void CBaseBmpButton::SetCheck(BOOL b)
{
    m_bChecked = b;
    if (m_hWnd)
        Invalidate(FALSE);
}

void CBaseBmpButton::SetStateImage(int n)
{
    if (n < 0 || n > 2)
        return;
    m_nStateImage = n;
    if (m_hWnd)
        Invalidate(FALSE);
}

BOOL CBaseBmpButton::PreTranslateMessage(MSG* pMsg)
{
    if ((pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
        pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return CBitmapButton::PreTranslateMessage(pMsg);
}

void CBaseBmpButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    const UINT state = lpDIS->itemState;
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool checked = m_bCheckMode && m_bChecked;
    const bool focused = (state & ODS_FOCUS) != 0;
    const bool disabled = (state & ODS_DISABLED) != 0;

    CTransparentBitmap* image = &m_bmpNormal;
    if (((selected || checked) && m_bmpPressed.m_hObject) || m_bAlwaysPressed) {
        image = &m_bmpPressed;
        if (m_nStateImage > 0)
            image = &m_bmpState[m_nStateImage - 1];
    } else if (focused && m_bmpFocus.m_hObject) {
        image = &m_bmpFocus;
    } else if (disabled && m_bmpDisabled.m_hObject) {
        image = &m_bmpDisabled;
    }

    CRect rect(lpDIS->rcItem);
    if (m_bDraw3DFrame) {
        if (selected || checked) {
            pDC->FillSolidRect(&rect, m_bHighlight ? m_crHighlight : m_crFace);
            pDC->Draw3dRect(&rect, m_crFrame, m_crHilite);
            rect.DeflateRect(1, 1);
            pDC->Draw3dRect(&rect, m_crShadow, m_crFace);
            if (selected)
                rect.left += 1, rect.top += 1;
        } else {
            pDC->FillSolidRect(&rect, m_crFace);
            pDC->Draw3dRect(&rect, m_crHilite, m_crFrame);
            rect.DeflateRect(1, 1);
            pDC->Draw3dRect(&rect, m_crFace, m_crShadow);
            rect.right -= 1, rect.bottom -= 1;
        }
    }

    CRect focusRect(rect);
    focusRect.DeflateRect(m_nFocusInset, m_nFocusInset);
    if (!focused && m_bFocusDrawn) {
        pDC->SetBkColor(m_crFace);
        pDC->DrawFocusRect(&focusRect);
    }

    if (image->m_hObject) {
        const int x = rect.left + rect.Width() / 2 - image->GetWidth() / 2;
        const int y = rect.top + rect.Height() / 2 - image->GetHeight() / 2;
        if (m_bTransparent)
            image->DrawTransparent(pDC, x, y);
        else
            image->Draw(pDC, x, y);
    }

    if (disabled && !m_bmpDisabled.m_hObject)
        Emboss(pDC, rect);

    if (m_bDrawFocus && focused) {
        pDC->SetBkColor(m_crFace);
        pDC->DrawFocusRect(&focusRect);
        m_bFocusDrawn = TRUE;
    } else {
        m_bFocusDrawn = FALSE;
    }
}

void CBaseBmpButton::Emboss(CDC* pDC, const CRect& rect)
{
    const int w = rect.Width(), h = rect.Height();
    if (w <= 4 || h <= 4)
        return;
    CDC mono;
    mono.CreateCompatibleDC(pDC);
    CBitmap bits;
    bits.CreateBitmap(w, h, 1, 1, NULL);
    CBitmap* old = mono.SelectObject(&bits);
    // White where the area shows the face or highlight colour, black elsewhere.
    mono.PatBlt(0, 0, w, h, WHITENESS);
    pDC->SetBkColor(m_crFace);
    mono.BitBlt(0, 0, w, h, pDC, rect.left, rect.top, SRCCOPY);
    pDC->SetBkColor(m_crHilite);
    mono.BitBlt(0, 0, w, h, pDC, rect.left, rect.top, SRCPAINT);
    const DWORD rop = 0xB8074A;  // pattern where the source is black, destination elsewhere
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SetBkColor(RGB(255, 255, 255));
    CBrush hilite, shadow;
    hilite.CreateSolidBrush(m_crHilite);
    shadow.CreateSolidBrush(m_crShadow);
    CBrush* oldBrush = pDC->SelectObject(&hilite);
    pDC->BitBlt(rect.left + 2, rect.top + 2, w - 3, h - 3, &mono, 0, 0, rop);
    pDC->SelectObject(&shadow);
    pDC->BitBlt(rect.left + 1, rect.top + 1, w - 4, h - 4, &mono, 0, 0, rop);
    pDC->SelectObject(oldBrush);
    mono.SelectObject(old);
}

BOOL CBaseBmpButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CBaseBmpButton::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetTimer(kHoldTimer, kHoldMilliseconds, NULL);
    CBitmapButton::OnLButtonDown(nFlags, point);
}

void CBaseBmpButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != kHoldTimer) {
        CBitmapButton::OnTimer(nIDEvent);
        return;
    }
    m_bHeld = TRUE;
    KillTimer(kHoldTimer);
    try {
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_BMPBUTTON_HELD, WPARAM(this), 0);
    } catch (...) {
        AfxMessageBox("Unhandled exception in timer for CBaseBmpButton.");
    }
}

void CBaseBmpButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (client.PtInRect(point) && (GetState() & BST_PUSHED) && GetCapture() == this &&
        m_bCheckMode && !m_bCheckLocked)
        m_bChecked = !m_bChecked;
    KillTimer(kHoldTimer);
    if (m_bHeld) {
        m_bHeld = FALSE;
        if (CWnd* parent = GetParent())
            parent->SendMessage(WM_BMPBUTTON_RELEASED, WPARAM(this), 0);
    }
    CBitmapButton::OnLButtonUp(nFlags, point);
}
