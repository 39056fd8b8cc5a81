// The colour well and its popup form: cell geometry, painting, keyboard and mouse selection,
// the "&Other..." button and the custom cell, and the popup's capture of the mouse.
#include "SECColorWell.h"
#include "SECResource.h"
#include <memory>

IMPLEMENT_DYNAMIC(SECColorWell, CWnd)
IMPLEMENT_DYNAMIC(SECPopupColorWell, SECColorWell)

const COLORREF SECColorWell::s_defaultColors[20] = {
    RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
    RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
    RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
    RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
    RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};

namespace {

// The "&Other..." button: gives Tab and the arrows back to its well, and closes a popup
// well when the focus goes elsewhere.
class SECWellOtherButton : public CButton {
public:
    explicit SECWellOtherButton(SECColorWell* pWell) : m_pWell(pWell) {}

protected:
    afx_msg UINT OnGetDlgCode() { return DLGC_WANTTAB | DLGC_WANTARROWS | DLGC_BUTTON; }
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        bool popup = m_pWell->IsKindOf(RUNTIME_CLASS(SECPopupColorWell));
        if (nChar == VK_TAB && !popup && !shift) {
            CWnd* pDialog = m_pWell->GetParent();
            CWnd* pNext = pDialog != NULL ? pDialog->GetNextDlgTabItem(m_pWell, FALSE) : NULL;
            if (pNext != NULL)
                pNext->SetFocus();
        } else if (nChar == VK_TAB || nChar == VK_LEFT || nChar == VK_RIGHT || nChar == VK_UP ||
                   nChar == VK_DOWN) {
            m_pWell->SetFocus();
        } else {
            CButton::OnKeyDown(nChar, nRepCnt, nFlags);
        }
    }
    afx_msg void OnKillFocus(CWnd* pNewWnd)
    {
        CButton::OnKillFocus(pNewWnd);
        SECPopupColorWell* pPopup = DYNAMIC_DOWNCAST(SECPopupColorWell, m_pWell);
        if (pPopup != NULL && pNewWnd != m_pWell && pPopup->IsActive())
            pPopup->Close();
    }
    DECLARE_MESSAGE_MAP()

    SECColorWell* m_pWell;
};

BEGIN_MESSAGE_MAP(SECWellOtherButton, CButton)
    ON_WM_GETDLGCODE()
    ON_WM_KEYDOWN()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

}  // namespace

BEGIN_MESSAGE_MAP(SECColorWell, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_KEYDOWN()
    ON_WM_GETDLGCODE()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
    ON_WM_SYSCOLORCHANGE()
    ON_BN_CLICKED(SECCW_OTHER_BUTTON_ID, OnOther)
END_MESSAGE_MAP()

SECColorWell::SECColorWell()
    : m_nCols(4), m_nRows(5), m_nCellWidth(10), m_nCellHeight(10), m_nBorderX(2),
      m_nBorderY(2), m_nSelCol(1), m_nSelRow(1), m_nCustomCol(3), m_nCustomRow(5),
      m_nCustomIndex(20), m_bOtherButton(FALSE), m_pOtherButton(NULL), m_bCustomShown(FALSE),
      m_bPaletteDrawing(FALSE), m_bHoverTracking(FALSE), m_bHasFocus(FALSE), m_nRowPitch(12)
{
    m_brBackground.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    FillColors();
}

SECColorWell::~SECColorWell()
{
    if (m_pOtherButton != NULL && m_pOtherButton->m_hWnd != NULL)
        m_pOtherButton->DestroyWindow();
    delete m_pOtherButton;
}

void SECColorWell::SetDefaultGrid()
{
    m_nCols = 4;
    m_nRows = 5;
}

void SECColorWell::Reset()
{
    SetDefaultGrid();
    m_nSelCol = m_nSelRow = 1;
    m_nCustomCol = m_nCols - 1;
    m_nCustomRow = m_nRows;
    m_nCustomIndex = m_nCols * m_nRows;
    m_bCustomShown = FALSE;
    m_bHoverTracking = FALSE;
    m_bHasFocus = FALSE;
    FillColors();
}

void SECColorWell::FillColors()
{
    const int cells = m_nCols * m_nRows;
    m_colors.assign(cells + 1, RGB(0, 0, 0));
    PALETTEENTRY entries[256];
    UINT got = ::GetPaletteEntries((HPALETTE)::GetStockObject(DEFAULT_PALETTE), 0,
                                   cells < 256 ? cells : 256, entries);
    for (int i = 0; i < cells; i++)
        m_colors[i] = got > 0 ? (UINT)i < got ? RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue)
                                              : RGB(0, 0, 0)
                              : s_defaultColors[i % 20];
    AddCustomColors();
    CreatePalette();
}

BOOL SECColorWell::CreatePalette()
{
    m_palette.DeleteObject();
    std::vector<BYTE> mem(sizeof(LOGPALETTE) + m_colors.size() * sizeof(PALETTEENTRY));
    LOGPALETTE* lp = (LOGPALETTE*)mem.data();
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)m_colors.size();
    for (size_t i = 0; i < m_colors.size(); i++)
        lp->palPalEntry[i] = {GetRValue(m_colors[i]), GetGValue(m_colors[i]),
                              GetBValue(m_colors[i]), 0};
    return m_palette.CreatePalette(lp);
}

void SECColorWell::ComputeMetrics(CWnd* pParentWnd, DWORD dwStyle)
{
    CRect cell(0, 0, 10, 10);
    if (pParentWnd == NULL || !::MapDialogRect(pParentWnd->GetSafeHwnd(), &cell)) {
        LONG units = ::GetDialogBaseUnits();
        cell.SetRect(0, 0, LOWORD(units) * 10 / 4, HIWORD(units) * 10 / 8);
    }
    m_nCellWidth = cell.Width();
    m_nCellHeight = cell.Height();
    m_nRowPitch = m_nCellHeight + 2;
    m_nBorderX = m_nBorderY = (dwStyle & 1) ? 4 : 2;
    if (HasFocusFrame()) {
        m_nBorderX++;
        m_nBorderY++;
    }
}

CSize SECColorWell::WindowSize() const
{
    int cx = 2 * m_nBorderX + m_nCols * (m_nCellWidth + 2) - 2;
    int cy = 2 * m_nBorderY + m_nRows * (m_nCellHeight + 2) - 2;
    if (m_bOtherButton)
        cy += m_nRowPitch + 6;
    return CSize(cx, cy);
}

CRect SECColorWell::CellRect(int nCol, int nRow) const
{
    int left = m_nBorderX + nCol * (m_nCellWidth + 2);
    int top = m_nBorderY + nRow * (m_nCellHeight + 2);
    if (IsCustomCell(nCol, nRow))
        top += 5;
    return CRect(left, top, left + m_nCellWidth, top + m_nCellHeight);
}

BOOL SECColorWell::IsCustomCell(int nCol, int nRow) const
{
    return nCol == m_nCustomCol && nRow == m_nCustomRow;
}

int SECColorWell::IndexOf(int nCol, int nRow) const
{
    return IsCustomCell(nCol, nRow) ? m_nCustomIndex : nRow * m_nCols + nCol;
}

BOOL SECColorWell::HitTest(CPoint point, int& nCol, int& nRow) const
{
    for (int r = 0; r < m_nRows; r++)
        for (int c = 0; c < m_nCols; c++) {
            CRect cell = CellRect(c, r);
            cell.InflateRect(1, 1);
            if (cell.PtInRect(point)) {
                nCol = c;
                nRow = r;
                return TRUE;
            }
        }
    if (m_bCustomShown && CellRect(m_nCustomCol, m_nCustomRow).PtInRect(point)) {
        nCol = m_nCustomCol;
        nRow = m_nCustomRow;
        return TRUE;
    }
    return FALSE;
}

BOOL SECColorWell::MoveFrom(UINT nKey, int& nCol, int& nRow) const
{
    const int lastCol = m_nCols - 1, lastRow = m_nRows - 1;
    const bool custom = IsCustomCell(m_nSelCol, m_nSelRow) != FALSE;
    int c = m_nSelCol, r = m_nSelRow;
    switch (nKey) {
    case VK_LEFT:
        if (custom)
            c = lastCol, r = lastRow;
        else if (c > 0)
            c--;
        else if (r > 0)
            c = lastCol, r--;
        else if (m_bCustomShown)
            c = m_nCustomCol, r = m_nCustomRow;
        else
            c = lastCol, r = lastRow;
        break;
    case VK_RIGHT:
        if (custom)
            c = 0, r = 0;
        else if (c < lastCol)
            c++;
        else if (r < lastRow)
            c = 0, r++;
        else if (m_bCustomShown)
            c = m_nCustomCol, r = m_nCustomRow;
        else
            c = 0, r = 0;
        break;
    case VK_UP:
        if (custom)
            r = lastRow;
        else if (r > 0)
            r--;
        else if (m_bCustomShown && c == m_nCustomCol)
            r = m_nCustomRow;
        else
            r = lastRow;
        break;
    case VK_DOWN:
        if (custom)
            r = 0;
        else if (r < lastRow)
            r++;
        else if (m_bCustomShown && c == m_nCustomCol)
            r = m_nCustomRow;
        else
            r = 0;
        break;
    default:
        return FALSE;
    }
    nCol = c;
    nRow = r;
    return TRUE;
}

BOOL SECColorWell::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                          BOOL bOtherButton)
{
    Reset();
    m_bOtherButton = bOtherButton;
    ComputeMetrics(pParentWnd, dwStyle);
    CSize size = WindowSize();
    LPCTSTR cls = AfxRegisterWndClass(GetClassStyle(), ::LoadCursor(NULL, IDC_ARROW));
    CRect rc(rect.left, rect.top, rect.left + size.cx, rect.top + size.cy);
    if (!CWnd::Create(cls, NULL, dwStyle | WS_CHILD, rc, pParentWnd, nID))
        return FALSE;
    if (m_bOtherButton)
        CreateOtherButton(pParentWnd);
    return TRUE;
}

void SECColorWell::CreateOtherButton(CWnd* pFontSource)
{
    CString text;
    if (!text.LoadString(IDS_SEC_OTHER_COLOR))
        text = "&Other...";
    const CSize size = WindowSize();
    const int top = m_nBorderY + m_nRows * m_nRowPitch + 5;
    CRect button(m_nBorderX, top, size.cx - m_nBorderX, top + m_nCellHeight);
    m_pOtherButton = new SECWellOtherButton(this);
    m_pOtherButton->Create(text, WS_CHILD | WS_VISIBLE | WS_TABSTOP, button, this,
                           SECCW_OTHER_BUTTON_ID);
    if (pFontSource != NULL)
        m_pOtherButton->SetFont(pFontSource->GetFont(), FALSE);
}

void SECColorWell::InvalidateCell(int nCol, int nRow)
{
    if (m_hWnd == NULL)
        return;
    CRect cell = CellRect(nCol, nRow);
    cell.InflateRect(2, 2);
    InvalidateRect(&cell, FALSE);
}

void SECColorWell::SelectCell(int nCol, int nRow, SelectHow)
{
    InvalidateCell(m_nSelCol, m_nSelRow);
    m_nSelCol = nCol;
    m_nSelRow = nRow;
    InvalidateCell(nCol, nRow);
    NotifyParent();
}

void SECColorWell::NotifyParent()
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->SendMessage(SECCW_COLOR_CHOSEN, GetDlgCtrlID(), (LPARAM)GetColor());
}

COLORREF SECColorWell::GetColor() const
{
    int index = IndexOf(m_nSelCol, m_nSelRow);
    return index >= 0 && index < (int)m_colors.size() ? m_colors[index] : RGB(0, 0, 0);
}

void SECColorWell::SelectColor(COLORREF colour)
{
    colour &= 0x00FFFFFF;
    for (int r = 0; r < m_nRows; r++)
        for (int c = 0; c < m_nCols; c++)
            if (m_colors[IndexOf(c, r)] == colour) {
                InvalidateCell(m_nSelCol, m_nSelRow);
                m_nSelCol = c;
                m_nSelRow = r;
                InvalidateCell(c, r);
                return;
            }
    if (!m_bOtherButton)
        return;
    m_colors[m_nCustomIndex] = colour;
    CreatePalette();
    if (!m_bCustomShown) {
        m_bCustomShown = TRUE;
        if (m_pOtherButton != NULL && m_pOtherButton->m_hWnd != NULL) {
            CRect button;
            m_pOtherButton->GetWindowRect(&button);
            ScreenToClient(&button);
            button.right -= m_nCellWidth + 2;
            m_pOtherButton->MoveWindow(&button);
        }
    }
    InvalidateCell(m_nSelCol, m_nSelRow);
    m_nSelCol = m_nCustomCol;
    m_nSelRow = m_nCustomRow;
    InvalidateCell(m_nSelCol, m_nSelRow);
}

void SECColorWell::DrawCell(CDC* pDC, const CRect& rect, int nIndex)
{
    CRect rc = rect;
    pDC->DrawEdge(&rc, EDGE_SUNKEN, BF_RECT);
    rc.DeflateRect(2, 2);
    CBrush brush(m_bPaletteDrawing ? PALETTEINDEX(nIndex) : m_colors[nIndex]);
    pDC->FillRect(&rc, &brush);
}

void SECColorWell::DrawSelectedCell(CDC* pDC, const CRect& rect, int nIndex)
{
    CRect rc = rect;
    rc.InflateRect(1, 1);
    const COLORREF frames[3] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0)};
    for (COLORREF f : frames) {
        CBrush brush(f);
        pDC->FrameRect(&rc, &brush);
        rc.DeflateRect(1, 1);
    }
    CBrush brush(m_bPaletteDrawing ? PALETTEINDEX(nIndex) : m_colors[nIndex]);
    pDC->FillRect(&rc, &brush);
}

void SECColorWell::Paint(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CPalette* pOldPalette = NULL;
    if (m_bPaletteDrawing) {
        pOldPalette = pDC->SelectPalette(&m_palette, FALSE);
        pDC->RealizePalette();
    }
    pDC->FillRect(&client, &m_brBackground);
    CRect area = client;
    if (HasFocusFrame()) {
        if (m_bHasFocus) {
            CBrush frame(GetSysColor(COLOR_WINDOWFRAME));
            pDC->FrameRect(&area, &frame);
        }
        area.DeflateRect(1, 1);
    }
    if (GetStyle() & 1)
        pDC->DrawEdge(&area, EDGE_RAISED, BF_RECT);
    for (int r = 0; r < m_nRows; r++)
        for (int c = 0; c < m_nCols; c++) {
            if (c == m_nSelCol && r == m_nSelRow)
                continue;
            DrawCell(pDC, CellRect(c, r), IndexOf(c, r));
        }
    if (m_bOtherButton) {
        int y = m_nBorderY + m_nRows * m_nRowPitch + 1;
        CRect line(m_nBorderX, y, client.right - m_nBorderX, y + 2);
        pDC->DrawEdge(&line, EDGE_ETCHED, BF_TOP);
        if (m_bCustomShown && !IsCustomCell(m_nSelCol, m_nSelRow))
            DrawCell(pDC, CellRect(m_nCustomCol, m_nCustomRow), m_nCustomIndex);
    }
    if (!IsCustomCell(m_nSelCol, m_nSelRow) || m_bCustomShown)
        DrawSelectedCell(pDC, CellRect(m_nSelCol, m_nSelRow), IndexOf(m_nSelCol, m_nSelRow));
    if (pOldPalette != NULL)
        pDC->SelectPalette(pOldPalette, FALSE);
}

void SECColorWell::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CDC mem;
    CBitmap bitmap;
    if (mem.CreateCompatibleDC(&dc) &&
        bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height())) {
        CBitmap* pOld = mem.SelectObject(&bitmap);
        Paint(&mem);
        dc.BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
        mem.SelectObject(pOld);
    } else {
        Paint(&dc);
    }
}

BOOL SECColorWell::OnEraseBkgnd(CDC*) { return TRUE; }

void SECColorWell::OnLButtonDown(UINT, CPoint point)
{
    SetFocus();
    int c, r;
    if (HitTest(point, c, r))
        SelectCell(c, r, byClick);
}

void SECColorWell::OnMouseMove(UINT, CPoint point)
{
    int c, r;
    if (m_bHoverTracking && HitTest(point, c, r) && (c != m_nSelCol || r != m_nSelRow))
        SelectCell(c, r, byHover);
}

void SECColorWell::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    int c, r;
    if (MoveFrom(nChar, c, r)) {
        SelectCell(c, r, byKeyboard);
    } else if (nChar == VK_TAB && m_pOtherButton != NULL) {
        if (GetKeyState(VK_SHIFT) & 0x8000) {
            CWnd* pDialog = GetParent();
            CWnd* pPrev = pDialog != NULL ? pDialog->GetNextDlgTabItem(this, TRUE) : NULL;
            if (pPrev != NULL)
                pPrev->SetFocus();
        } else {
            m_pOtherButton->SetFocus();
        }
    } else {
        CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    }
}

UINT SECColorWell::OnGetDlgCode()
{
    return DLGC_WANTARROWS | DLGC_WANTCHARS | (m_pOtherButton != NULL ? DLGC_WANTTAB : 0);
}

void SECColorWell::OnSetFocus(CWnd* pOldWnd)
{
    CWnd::OnSetFocus(pOldWnd);
    // Shift+Tab arriving from elsewhere goes on to the other button.
    if ((GetKeyState(VK_SHIFT) & 0x8000) && m_pOtherButton != NULL && pOldWnd != m_pOtherButton) {
        m_pOtherButton->SetFocus();
        return;
    }
    m_bHasFocus = TRUE;
    Invalidate(FALSE);
}

void SECColorWell::OnKillFocus(CWnd* pNewWnd)
{
    CWnd::OnKillFocus(pNewWnd);
    m_bHasFocus = FALSE;
    Invalidate(FALSE);
}

void SECColorWell::OnSysColorChange()
{
    CWnd::OnSysColorChange();
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(GetSysColor(COLOR_BTNFACE));
    CreatePalette();
    Invalidate(FALSE);
}

void SECColorWell::OpenColorDialog()
{
    CColorDialog dlg(GetColor(), GetColorDialogFlags(), this);
    if (dlg.DoModal() == IDOK) {
        SelectColor(dlg.GetColor());
        NotifyParent();
    }
}

void SECColorWell::OnOther()
{
    SECPopupColorWell* pPopup = DYNAMIC_DOWNCAST(SECPopupColorWell, this);
    if (pPopup == NULL) {
        OpenColorDialog();
        return;
    }
    if (pPopup->m_pNotifyWnd != NULL)
        pPopup->m_pNotifyWnd->PostMessage(SECCW_OTHER_COLOR);
    pPopup->Close();
}

// ---------------------------------------------------------------------------------------------
// Popup

BEGIN_MESSAGE_MAP(SECPopupColorWell, SECColorWell)
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_KILLFOCUS()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

SECPopupColorWell::SECPopupColorWell() : m_pNotifyWnd(NULL), m_bActive(FALSE) {}

void SECPopupColorWell::Reset()
{
    SECColorWell::Reset();
    m_bActive = FALSE;
}

CPoint SECPopupColorWell::PlacePopup(const CRect& rcButton, CSize size, const CRect& rcScreen)
{
    CPoint at(rcButton.left, rcButton.bottom);
    if (at.y + size.cy > rcScreen.bottom)
        at.y = rcButton.top - size.cy;
    if (at.x + size.cx > rcScreen.right)
        at.x = rcButton.right - size.cx;
    return at;
}

BOOL SECPopupColorWell::CreatePopup(DWORD dwStyle, const RECT& rcButton, CWnd* pNotifyWnd,
                                    BOOL bOtherButton, COLORREF colour, BOOL bPaletteDrawing)
{
    Reset();
    m_bOtherButton = bOtherButton;
    m_pNotifyWnd = pNotifyWnd;
    m_rcButton = rcButton;
    m_bPaletteDrawing = bPaletteDrawing;
    dwStyle |= WS_POPUP | 1;
    ComputeMetrics(pNotifyWnd != NULL ? pNotifyWnd->GetParent() : NULL, dwStyle);
    CSize size = WindowSize();
    CRect screen(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    CPoint at = PlacePopup(m_rcButton, size, screen);
    LPCTSTR cls = AfxRegisterWndClass(GetClassStyle(), ::LoadCursor(NULL, IDC_ARROW));
    if (!CWnd::CreateEx(0, cls, NULL, dwStyle, at.x, at.y, size.cx, size.cy,
                        pNotifyWnd != NULL ? pNotifyWnd->GetSafeHwnd() : NULL, NULL))
        return FALSE;
    if (m_bOtherButton)
        CreateOtherButton(pNotifyWnd);
    SelectColor(colour);
    m_bActive = TRUE;
    SetFocus();
    m_bHoverTracking = TRUE;
    SetCapture();
    return TRUE;
}

void SECPopupColorWell::Close()
{
    if (m_hWnd == NULL)
        return;
    m_bActive = FALSE;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    DestroyWindow();
}

void SECPopupColorWell::OnDestroy()
{
    m_bActive = FALSE;
    if (m_pOtherButton != NULL) {
        delete m_pOtherButton;  // its window goes with this one
        m_pOtherButton = NULL;
    }
    SECColorWell::OnDestroy();
}

void SECPopupColorWell::NotifyParent()
{
    if (m_pNotifyWnd != NULL)
        m_pNotifyWnd->SendMessage(SECCW_COLOR_CHOSEN, 0, (LPARAM)GetColor());
}

void SECPopupColorWell::SelectCell(int nCol, int nRow, SelectHow how)
{
    InvalidateCell(m_nSelCol, m_nSelRow);
    m_nSelCol = nCol;
    m_nSelRow = nRow;
    InvalidateCell(nCol, nRow);
    if (how == byClick) {
        m_bActive = FALSE;
        NotifyParent();
        Close();
    }
}

void SECPopupColorWell::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (m_pOtherButton != NULL && m_pOtherButton->m_hWnd != NULL) {
        CRect button;
        m_pOtherButton->GetWindowRect(&button);
        ScreenToClient(&button);
        if (button.PtInRect(point)) {
            OnOther();
            return;
        }
    }
    if (client.PtInRect(point)) {
        int c, r;
        if (HitTest(point, c, r))
            SelectCell(c, r, byClick);
        return;
    }
    CPoint screen = point;
    ClientToScreen(&screen);
    if (m_rcButton.PtInRect(screen))
        return;  // the opening button: the popup stays
    // Elsewhere: close, and the click goes on to the window under the pointer.
    Close();
    HWND hTarget = ::WindowFromPoint(screen);
    if (hTarget != NULL) {
        ::ScreenToClient(hTarget, &screen);
        ::PostMessageA(hTarget, WM_LBUTTONDOWN, nFlags, MAKELPARAM(screen.x, screen.y));
    }
}

void SECPopupColorWell::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_ESCAPE) {
        Close();  // without a notification
        return;
    }
    if (nChar == VK_RETURN || nChar == VK_SPACE)
        return;  // chosen when the key comes up
    SECColorWell::OnKeyDown(nChar, nRepCnt, nFlags);
}

void SECPopupColorWell::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN || nChar == VK_SPACE)
        SelectCell(m_nSelCol, m_nSelRow, byClick);
    else
        SECColorWell::OnKeyUp(nChar, nRepCnt, nFlags);
}

void SECPopupColorWell::OnKillFocus(CWnd* pNewWnd)
{
    SECColorWell::OnKillFocus(pNewWnd);
    if (m_bActive && (m_pOtherButton == NULL || pNewWnd != m_pOtherButton))
        Close();
}
