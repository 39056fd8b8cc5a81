// Owner-drawn buttons: the drawing pipeline, the colour-well button and its drop-down, the
// bitmap button's layouts, and the menu button.
#include "SECButtons.h"
#include "SECResource.h"
#include "SECSysColor.h"

IMPLEMENT_DYNAMIC(SECOwnerDrawButton, CButton)
IMPLEMENT_DYNAMIC(SECWellButton, SECOwnerDrawButton)
IMPLEMENT_DYNAMIC(SECBitmapButton, SECOwnerDrawButton)
IMPLEMENT_DYNAMIC(SECMenuButton, SECBitmapButton)

COLORREF SECOwnerDrawButton::s_clrShadow, SECOwnerDrawButton::s_clrHighlight,
    SECOwnerDrawButton::s_clrFace, SECOwnerDrawButton::s_clrFrame;

// ---------------------------------------------------------------------------------------------
// The drawing pipeline

BEGIN_MESSAGE_MAP(SECOwnerDrawButton, CButton)
    ON_WM_GETDLGCODE()
    ON_WM_KEYUP()
    ON_WM_LBUTTONUP()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

SECOwnerDrawButton::SECOwnerDrawButton() : m_bNewLook(LOBYTE(LOWORD(GetVersion())) > 3)
{
    LoadSysColors();
}

void SECOwnerDrawButton::LoadSysColors()
{
    s_clrShadow = GetSysColor(COLOR_BTNSHADOW);
    s_clrHighlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    s_clrFace = GetSysColor(COLOR_BTNFACE);
    s_clrFrame = GetSysColor(COLOR_WINDOWFRAME);
}

BOOL SECOwnerDrawButton::BindDialogItem(UINT nID, CWnd* pParentWnd)
{
    if (!SubclassDlgItem(nID, pParentWnd))
        return FALSE;
    ModifyStyle(0x0F, BS_OWNERDRAW);
    return TRUE;
}

BOOL SECOwnerDrawButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect,
                                CWnd* pParentWnd, UINT nID)
{
    return CButton::Create(lpszCaption, (dwStyle & ~0x0F) | BS_OWNERDRAW, rect, pParentWnd, nID);
}

void SECOwnerDrawButton::SetButtonStyle(UINT nStyle, BOOL bRedraw)
{
    UINT old = GetButtonStyle();
    CButton::SetButtonStyle((nStyle & ~0x0F) | BS_OWNERDRAW, FALSE);
    if (old != GetButtonStyle() && bRedraw)
        Invalidate();
}

UINT SECOwnerDrawButton::OnGetDlgCode() { return DLGC_BUTTON; }

void SECOwnerDrawButton::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CButton::OnKeyUp(nChar, nRepCnt, nFlags);
    if (nChar == VK_SPACE)
        DoClick();
}

BOOL SECOwnerDrawButton::IsClickRelease(CPoint point) const
{
    CRect client;
    GetClientRect(&client);
    return ::GetCapture() == m_hWnd && (GetState() & BST_PUSHED) && client.PtInRect(point);
}

void SECOwnerDrawButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (IsClickRelease(point))
        DoClick();
    CButton::OnLButtonUp(nFlags, point);
}

void SECOwnerDrawButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    LoadSysColors();
    Invalidate();
}

CRect SECOwnerDrawButton::DrawFrame(CDC* pDC, const CRect& rect, UINT nState)
{
    CRect rc = rect;
    pDC->FillSolidRect(&rc, s_clrFace);
    if (!m_bNewLook) {
        // a border without its four corner pixels
        pDC->FillSolidRect(rc.left + 1, rc.top, rc.Width() - 2, 1, s_clrFrame);
        pDC->FillSolidRect(rc.left + 1, rc.bottom - 1, rc.Width() - 2, 1, s_clrFrame);
        pDC->FillSolidRect(rc.left, rc.top + 1, 1, rc.Height() - 2, s_clrFrame);
        pDC->FillSolidRect(rc.right - 1, rc.top + 1, 1, rc.Height() - 2, s_clrFrame);
        rc.DeflateRect(1, 1);
    }
    const bool pressed = (nState & ODS_SELECTED) != 0;
    COLORREF rings[2][2];
    if (pressed && m_bNewLook)
        rings[0][0] = s_clrFrame, rings[0][1] = s_clrHighlight, rings[1][0] = s_clrShadow,
        rings[1][1] = s_clrFace;
    else if (pressed)
        rings[0][0] = rings[1][0] = s_clrShadow, rings[0][1] = rings[1][1] = s_clrHighlight;
    else if (m_bNewLook)
        rings[0][0] = s_clrHighlight, rings[0][1] = s_clrFrame, rings[1][0] = s_clrFace,
        rings[1][1] = s_clrShadow;
    else
        rings[0][0] = rings[1][0] = s_clrHighlight, rings[0][1] = rings[1][1] = s_clrShadow;
    for (auto& ring : rings) {
        pDC->Draw3dRect(&rc, ring[0], ring[1]);
        rc.DeflateRect(1, 1);
    }
    if (pressed)
        rc.OffsetRect(1, 1);
    else
        rc.DeflateRect(0, 0, 1, 1);
    return rc;
}

void SECOwnerDrawButton::DrawDisabled(CDC* pDC, const CRect& rect)
{
    // A mask, white where the content shows the face or highlight colour, drawn twice
    // through the pattern where it is black: highlight, then shadow.
    CDC mask;
    CBitmap bits;
    if (!mask.CreateCompatibleDC(pDC) || !bits.CreateBitmap(rect.Width(), rect.Height(), 1, 1, NULL))
        return;
    CBitmap* pOld = mask.SelectObject(&bits);
    COLORREF oldBk = pDC->SetBkColor(s_clrFace);
    mask.BitBlt(0, 0, rect.Width(), rect.Height(), pDC, rect.left, rect.top, SRCCOPY);
    pDC->SetBkColor(s_clrHighlight);
    mask.BitBlt(0, 0, rect.Width(), rect.Height(), pDC, rect.left, rect.top, SRCPAINT);
    pDC->SetBkColor(RGB(255, 255, 255));
    COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
    const struct { COLORREF colour; int offset; } passes[] = {{s_clrHighlight, 2}, {s_clrShadow, 1}};
    for (const auto& pass : passes) {
        CBrush brush(pass.colour);
        CBrush* pOldBrush = pDC->SelectObject(&brush);
        pDC->BitBlt(rect.left + pass.offset, rect.top + pass.offset, rect.Width() - pass.offset,
                    rect.Height() - pass.offset, &mask, 0, 0, 0xB8074A);
        pDC->SelectObject(pOldBrush);
    }
    pDC->SetBkColor(oldBk);
    pDC->SetTextColor(oldText);
    mask.SelectObject(pOld);
}

void SECOwnerDrawButton::DrawFocus(CDC* pDC, const CRect& rect, UINT nState)
{
    if (!(nState & ODS_FOCUS))
        return;
    CRect rc = rect;
    rc.DeflateRect(m_bNewLook ? 1 : 2, m_bNewLook ? 1 : 2);
    if (nState & ODS_SELECTED)
        rc.OffsetRect(1, 1);
    DrawFocusRect(pDC, rc);
}

void SECOwnerDrawButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect item = lpDIS->rcItem;
    if (lpDIS->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        CDC mem;
        CBitmap bitmap;
        CDC* pTarget = pDC;
        CBitmap* pOld = NULL;
        CRect rc = item;
        if (mem.CreateCompatibleDC(pDC) &&
            bitmap.CreateCompatibleBitmap(pDC, item.Width(), item.Height())) {
            pOld = mem.SelectObject(&bitmap);
            pTarget = &mem;
            rc.OffsetRect(-item.left, -item.top);
            mem.SelectObject(pDC->GetCurrentFont());
        }
        BeginDraw(pTarget);
        CRect content = DrawFrame(pTarget, rc, lpDIS->itemState);
        DrawContent(pTarget, content, lpDIS->itemState);
        if (lpDIS->itemState & ODS_DISABLED)
            DrawDisabled(pTarget, content);
        if (pTarget == &mem) {
            pDC->BitBlt(item.left, item.top, item.Width(), item.Height(), &mem, 0, 0, SRCCOPY);
            mem.SelectObject(pOld);
        }
        EndDraw(pTarget);
        DrawFocus(pDC, item, lpDIS->itemState);
    } else if (lpDIS->itemAction & ODA_FOCUS) {
        DrawFocus(pDC, item, lpDIS->itemState);
    }
}

// ---------------------------------------------------------------------------------------------
// Colour-well button

BEGIN_MESSAGE_MAP(SECWellButton, SECOwnerDrawButton)
    ON_MESSAGE(SECCW_COLOR_CHOSEN, OnColorChosen)
    ON_MESSAGE(SECCW_OTHER_COLOR, OnOtherColor)
END_MESSAGE_MAP()

SECWellButton::SECWellButton()
    : m_pPopup(new SECPopupColorWell), m_bPaletteDrawing(FALSE), m_bOtherButton(TRUE),
      m_colour(RGB(0, 0, 0)), m_pOldPalette(NULL)
{
    CreatePalette();
}

SECWellButton::~SECWellButton()
{
    if (m_pPopup->m_hWnd != NULL)
        m_pPopup->DestroyWindow();
    delete m_pPopup;
}

BOOL SECWellButton::CreatePalette()
{
    m_palette.DeleteObject();
    struct {
        LOGPALETTE head;
    } lp = {{0x300, 1, {{GetRValue(m_colour), GetGValue(m_colour), GetBValue(m_colour), 0}}}};
    return m_palette.CreatePalette(&lp.head);
}

void SECWellButton::SetColor(COLORREF colour)
{
    m_colour = colour & 0x00FFFFFF;
    CreatePalette();
    if (m_hWnd != NULL)
        Invalidate();
}

void SECWellButton::OpenDropDown()
{
    CRect rc;
    GetWindowRect(&rc);
    m_pPopup->CreatePopup(WS_VISIBLE, rc, this, m_bOtherButton, m_colour, m_bPaletteDrawing);
}

void SECWellButton::DoClick()
{
    if (m_pPopup->m_hWnd == NULL || !m_pPopup->IsActive())
        OpenDropDown();
}

LRESULT SECWellButton::OnColorChosen(WPARAM, LPARAM lParam)
{
    SetColor((COLORREF)lParam);
    UpdateWindow();
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->SendMessage(SECCW_COLOR_CHOSEN, GetDlgCtrlID(), (LPARAM)m_colour);
    return 0;
}

LRESULT SECWellButton::OnOtherColor(WPARAM, LPARAM)
{
    CColorDialog dlg(m_colour, GetColorDialogFlags(), this);
    if (dlg.DoModal() == IDOK)
        OnColorChosen(0, (LPARAM)dlg.GetColor());
    return 0;
}

void SECWellButton::BeginDraw(CDC* pDC)
{
    m_pOldPalette = NULL;
    if (m_bPaletteDrawing) {
        m_pOldPalette = pDC->SelectPalette(&m_palette, FALSE);
        pDC->RealizePalette();
    }
}

void SECWellButton::EndDraw(CDC* pDC)
{
    if (m_pOldPalette != NULL)
        pDC->SelectPalette(m_pOldPalette, FALSE);
    m_pOldPalette = NULL;
}

void SECWellButton::DrawContent(CDC* pDC, const CRect& rect, UINT nState)
{
    // the arrow: 5 x 3, 7 pixels in from the right edge, centred vertically
    int top = rect.top + (rect.Height() - 3) / 2;
    for (int i = 0; i < 3; i++)
        pDC->FillSolidRect(rect.right - 7 + i, top + i, 5 - 2 * i, 1, RGB(0, 0, 0));
    // the separator
    pDC->FillSolidRect(rect.right - 10, rect.top + 1, 1, rect.Height() - 2, s_clrShadow);
    pDC->FillSolidRect(rect.right - 9, rect.top + 1, 1, rect.Height() - 2, s_clrHighlight);
    if (nState & ODS_DISABLED)
        return;
    CRect box(rect.left + 3, rect.top + 2, rect.right - 13, rect.bottom - 2);
    CBrush frame(RGB(0, 0, 0));
    pDC->FrameRect(&box, &frame);
    box.DeflateRect(1, 1);
    CBrush fill(m_bPaletteDrawing ? PALETTEINDEX(0) : m_colour);
    pDC->FillRect(&box, &fill);
}

void SECWellButton::DrawFocusRect(CDC* pDC, const CRect& rect)
{
    CRect rc = rect;
    rc.DeflateRect(1, 1);
    pDC->DrawFocusRect(&rc);
}

// ---------------------------------------------------------------------------------------------
// Bitmap button

BEGIN_MESSAGE_MAP(SECBitmapButton, SECOwnerDrawButton)
    ON_WM_SIZE()
    ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

SECBitmapButton::SECBitmapButton()
    : m_lpszResource(NULL), m_nMarginX(5), m_nMarginY(5), m_nLayout(imageLeft)
{
}

BOOL SECBitmapButton::LoadBitmapResource(LPCTSTR lpszBitmap)
{
    CBitmap bitmap;
    if (!LoadSysColorBitmap(&bitmap, lpszBitmap))
        return FALSE;
    m_bitmap.DeleteObject();
    m_bitmap.Attach(bitmap.Detach());
    if (IS_INTRESOURCE(lpszBitmap)) {
        m_lpszResource = lpszBitmap;
    } else {
        m_strResource = lpszBitmap;
        m_lpszResource = m_strResource;
    }
    return TRUE;
}

BOOL SECBitmapButton::BindDialogItem(UINT nID, int nLayout, LPCTSTR lpszBitmap, CWnd* pParentWnd)
{
    if (!LoadBitmapResource(lpszBitmap) || !SECOwnerDrawButton::BindDialogItem(nID, pParentWnd))
        return FALSE;
    m_nLayout = nLayout;
    LayoutImageAndText();
    return TRUE;
}

BOOL SECBitmapButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, int nLayout, LPCTSTR lpszBitmap,
                             const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!LoadBitmapResource(lpszBitmap))
        return FALSE;
    m_nLayout = nLayout;
    if (!SECOwnerDrawButton::Create(lpszCaption, dwStyle, rect, pParentWnd, nID))
        return FALSE;
    LayoutImageAndText();
    return TRUE;
}

BOOL SECBitmapButton::ChangeBitmap(LPCTSTR lpszBitmap)
{
    if (!LoadBitmapResource(lpszBitmap))
        return FALSE;  // the previous bitmap stays
    LayoutImageAndText();
    if (m_hWnd != NULL)
        Invalidate();
    return TRUE;
}

void SECBitmapButton::SetContentMargins(int x, int y)
{
    m_nMarginX = x;
    m_nMarginY = y;
    LayoutImageAndText();
}

CSize SECBitmapButton::GetImageSize() const
{
    BITMAP bm;
    if (m_bitmap.GetSafeHandle() == NULL || m_bitmap.GetObject(sizeof bm, &bm) == 0)
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

void SECBitmapButton::ComputeLayout(const CRect& client, CSize image, int nMarginX, int nMarginY,
                                    int nLayout, CRect& rcImage, CRect& rcText)
{
    CRect area = client;
    area.right -= 3;
    area.bottom -= 3;
    const int midX = area.left + (area.Width() - image.cx) / 2;
    const int midY = area.top + (area.Height() - image.cy) / 2;
    switch (nLayout) {
    case imageLeft:
        rcImage.SetRect(area.left + nMarginX, midY, area.left + nMarginX + image.cx, midY + image.cy);
        rcText.SetRect(rcImage.right + 1, area.top, area.right, area.bottom);
        break;
    case imageRight:
        rcImage.SetRect(area.right - nMarginX - image.cx, midY, area.right - nMarginX, midY + image.cy);
        rcText.SetRect(area.left, area.top, rcImage.left - 1, area.bottom);
        break;
    case imageTop:
        rcImage.SetRect(midX, area.top + nMarginY, midX + image.cx, area.top + nMarginY + image.cy);
        rcText.SetRect(area.left, rcImage.bottom + 1, area.right, area.bottom);
        break;
    case imageBottom:
        rcImage.SetRect(midX, area.bottom - nMarginY - image.cy, midX + image.cx, area.bottom - nMarginY);
        rcText.SetRect(area.left, area.top, area.right, rcImage.top - 1);
        break;
    default:
        rcImage.SetRect(midX, midY, midX + image.cx, midY + image.cy);
        rcText.SetRectEmpty();
        break;
    }
    rcImage &= client;
    rcText &= client;
}

CSize SECBitmapButton::FitSize(CSize image, CSize text, int nLayout, int nMarginX, int nMarginY)
{
    CSize size;
    if (nLayout == imageLeft || nLayout == imageRight)
        size = CSize(image.cx + text.cx + 5, image.cy > text.cy ? image.cy : text.cy);
    else
        size = CSize(image.cx > text.cx ? image.cx : text.cx, image.cy + text.cy + 5);
    return CSize(size.cx + 2 * nMarginX + 3, size.cy + 2 * nMarginY + 3);
}

void SECBitmapButton::LayoutImageAndText()
{
    if (m_hWnd == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    ComputeLayout(client, GetImageSize(), m_nMarginX, m_nMarginY, m_nLayout, m_rcImage, m_rcText);
}

CFont* SECBitmapButton::TextFont()
{
    CFont* pFont = GetFont();
    return pFont != NULL ? pFont : CFont::FromHandle((HFONT)GetStockObject(DEFAULT_GUI_FONT));
}

CSize SECBitmapButton::TextExtent(CDC* pDC)
{
    CString text;
    GetWindowText(text);
    CFont* pOld = pDC->SelectObject(TextFont());
    CRect rc(0, 0, 0, 0);
    pDC->DrawText(text, &rc, DT_CALCRECT | DT_SINGLELINE);
    pDC->SelectObject(pOld);
    return rc.Size();
}

void SECBitmapButton::FitToContent()
{
    CSize text(0, 0);
    if (m_nLayout != imageOnly) {
        CClientDC dc(this);
        text = TextExtent(&dc);
    }
    CSize size = FitSize(GetImageSize(), text, m_nLayout, m_nMarginX, m_nMarginY);
    SetWindowPos(NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SECBitmapButton::OnSize(UINT nType, int cx, int cy)
{
    SECOwnerDrawButton::OnSize(nType, cx, cy);
    LayoutImageAndText();
}

void SECBitmapButton::OnSysColorChange()
{
    SECOwnerDrawButton::OnSysColorChange();
    if (m_lpszResource == NULL)
        return;
    CString name = m_strResource;
    LoadBitmapResource(IS_INTRESOURCE(m_lpszResource) ? m_lpszResource : (LPCTSTR)name);
    Invalidate();
}

void SECBitmapButton::DrawContent(CDC* pDC, const CRect&, UINT nState)
{
    const CPoint shift = (nState & ODS_SELECTED) ? CPoint(1, 1) : CPoint(0, 0);
    CRect image = m_rcImage + shift, text = m_rcText + shift;
    if (m_bitmap.GetSafeHandle() != NULL) {
        CDC mem;
        if (mem.CreateCompatibleDC(pDC)) {
            CBitmap* pOld = mem.SelectObject(&m_bitmap);
            pDC->BitBlt(image.left, image.top, image.Width(), image.Height(), &mem, 0, 0, SRCCOPY);
            mem.SelectObject(pOld);
        }
    }
    if (m_nLayout == imageOnly)
        return;
    CString caption;
    GetWindowText(caption);
    CFont* pOld = pDC->SelectObject(TextFont());
    pDC->SetBkColor(s_clrFace);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->DrawText(caption, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    pDC->SelectObject(pOld);
}

void SECBitmapButton::DrawFocusRect(CDC* pDC, const CRect& rect)
{
    CRect rc;
    if (m_nLayout == imageOnly) {
        rc = m_rcImage;
        rc.InflateRect(3, 3);
    } else {
        CSize extent = TextExtent(pDC);
        CPoint centre = m_rcText.CenterPoint();
        rc.SetRect(centre.x - extent.cx / 2 - 1, centre.y - extent.cy / 2,
                   centre.x - extent.cx / 2 + extent.cx + 1, centre.y - extent.cy / 2 + extent.cy);
    }
    if (rect.left > (m_bNewLook ? 1 : 2))  // pressed: moved with the content
        rc.OffsetRect(1, 1);
    pDC->DrawFocusRect(&rc);
}

// ---------------------------------------------------------------------------------------------
// Menu button

BEGIN_MESSAGE_MAP(SECMenuButton, SECBitmapButton)
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

SECMenuButton::SECMenuButton() : m_bRight(FALSE), m_bDrawing(TRUE) {}

int SECMenuButton::PrepareMenu(LPCTSTR lpszCaption)
{
    return lpszCaption != NULL && *lpszCaption != 0 ? imageRight : imageOnly;
}

BOOL SECMenuButton::SetPopupMenu(UINT nIDMenu)
{
    m_menu.DestroyMenu();
    return m_menu.LoadMenu(nIDMenu);
}

BOOL SECMenuButton::BindDialogItem(UINT nID, UINT nIDMenu, CWnd* pParentWnd)
{
    char caption[101] = {};
    if (pParentWnd != NULL)
        ::GetDlgItemTextA(pParentWnd->GetSafeHwnd(), nID, caption, sizeof caption);
    SetPopupMenu(nIDMenu);
    return SECBitmapButton::BindDialogItem(nID, PrepareMenu(caption),
                                           MAKEINTRESOURCE(IDB_SEC_MENUARROW_DOWN), pParentWnd);
}

BOOL SECMenuButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, UINT nIDMenu, const RECT& rect,
                           CWnd* pParentWnd, UINT nID)
{
    SetPopupMenu(nIDMenu);
    return SECBitmapButton::Create(lpszCaption, dwStyle, PrepareMenu(lpszCaption),
                                   MAKEINTRESOURCE(m_bRight ? IDB_SEC_MENUARROW_RIGHT
                                                            : IDB_SEC_MENUARROW_DOWN),
                                   rect, pParentWnd, nID);
}

void SECMenuButton::SetMenuToRight(BOOL bRight)
{
    m_bRight = bRight;
    ChangeBitmap(MAKEINTRESOURCE(bRight ? IDB_SEC_MENUARROW_RIGHT : IDB_SEC_MENUARROW_DOWN));
}

CPoint SECMenuButton::MenuPosition(const CRect& rcButton, BOOL bRight)
{
    return bRight ? CPoint(rcButton.right, rcButton.top) : CPoint(rcButton.left, rcButton.bottom);
}

void SECMenuButton::DoClick()
{
    // Without a menu (or one without a popup) a click does nothing.
    CMenu* pPopup = m_menu.GetSafeHmenu() != NULL ? m_menu.GetSubMenu(0) : NULL;
    if (pPopup == NULL)
        return;
    CRect rc;
    GetWindowRect(&rc);
    CPoint at = MenuPosition(rc, m_bRight);
    CWnd* pOwner = GetParent();
    CRuntimeClass* pBarClass = CRuntimeClass::FromName("CControlBar");
    if (pOwner != NULL && pBarClass != NULL && pOwner->IsKindOf(pBarClass) &&
        pOwner->GetParentFrame() != NULL)
        pOwner = pOwner->GetParentFrame();
    m_bDrawing = FALSE;
    BOOL chosen = pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, at.x, at.y, pOwner);
    if (chosen) {
        MSG msg;
        ::PeekMessageA(&msg, m_hWnd, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE);
    }
    m_bDrawing = TRUE;
    Invalidate();
}

void SECMenuButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (m_bDrawing)
        SECBitmapButton::DrawItem(lpDIS);
}

void SECMenuButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    BOOL click = IsClickRelease(point);
    CButton::OnLButtonUp(nFlags, point);
    if (click)
        DoClick();
}

// ---------------------------------------------------------------------------------------------

void AFXAPI DDX_ColorWell(CDataExchange* pDX, int nIDC, COLORREF& colour)
{
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (SECWellButton* pButton = DYNAMIC_DOWNCAST(SECWellButton, pWnd)) {
        if (pDX->m_bSaveAndValidate)
            colour = pButton->GetColor();
        else
            pButton->SetColor(colour);
    } else if (SECColorWell* pWell = DYNAMIC_DOWNCAST(SECColorWell, pWnd)) {
        if (pDX->m_bSaveAndValidate)
            colour = pWell->GetColor();
        else
            pWell->SelectColor(colour);
    }
}
