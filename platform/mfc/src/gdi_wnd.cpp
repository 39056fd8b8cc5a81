// GDI members that need the window layer: window DCs, resources (bitmaps, menus), popup
// menus, the rectangle tracker and the wait cursor.
#include "afxwin.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)

// ---------------------------------------------------------------------------------------------
// Window DCs

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    if (!Attach(::BeginPaint(m_hWnd, &m_ps)))
        AfxThrowResourceException();
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    // NULL means the whole screen.
    if (!Attach(::GetDC(m_hWnd)))
        AfxThrowResourceException();
}

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    if (!Attach(::GetWindowDC(m_hWnd)))
        AfxThrowResourceException();
}

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

int CDC::ExcludeUpdateRgn(CWnd* pWnd) { return ::ExcludeUpdateRgn(m_hDC, pWnd->GetSafeHwnd()); }

// ---------------------------------------------------------------------------------------------
// Resources: looked up in the resource module, then in the program itself.

static HINSTANCE FindResourceModule(LPCTSTR lpszName, LPCTSTR lpszType)
{
    HINSTANCE hInst = AfxFindResourceHandle(lpszName, lpszType);
    if (::FindResourceA(hInst, lpszName, lpszType) == NULL)
        hInst = ::GetModuleHandleA(NULL);
    return hInst;
}

BOOL CBitmap::LoadBitmap(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = FindResourceModule(lpszResourceName, RT_BITMAP);
    return Attach(::LoadBitmapA(hInst, lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource) { return LoadBitmap(MAKEINTRESOURCE(nIDResource)); }

BOOL CBitmap::LoadMappedBitmap(UINT nIDBitmap, UINT nFlags, LPCOLORMAP lpColorMap, int nMapSize)
{
    HINSTANCE hInst = FindResourceModule(MAKEINTRESOURCE(nIDBitmap), RT_BITMAP);
    return Attach(::CreateMappedBitmap(hInst, nIDBitmap, (WORD)nFlags, lpColorMap, nMapSize));
}

BOOL CMenu::LoadMenu(LPCTSTR lpszResourceName)
{
    HINSTANCE hInst = FindResourceModule(lpszResourceName, RT_MENU);
    return Attach(::LoadMenuA(hInst, lpszResourceName));
}

BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCE(nIDResource)); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    // While the menu is up the window's idle processing must not update the menu items.
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}

// ---------------------------------------------------------------------------------------------
// Wait cursor

CWaitCursor::CWaitCursor() { AfxGetApp() ? AfxGetApp()->BeginWaitCursor() : (void)::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT)); }

CWaitCursor::~CWaitCursor()
{
    if (AfxGetApp())
        AfxGetApp()->EndWaitCursor();
    else
        ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_ARROW));
}

void CWaitCursor::Restore()
{
    if (AfxGetApp())
        AfxGetApp()->RestoreWaitCursor();
    else
        ::SetCursor(::LoadCursorA(NULL, (LPCSTR)IDC_WAIT));
}

// ---------------------------------------------------------------------------------------------
// Rectangle tracker

CRectTracker::CRectTracker() { Construct(); }

CRectTracker::CRectTracker(LPCRECT lpSrcRect, UINT nStyle)
{
    Construct();
    m_rect.CopyRect(lpSrcRect);
    m_nStyle = nStyle;
}

CRectTracker::~CRectTracker() {}

void CRectTracker::Construct()
{
    m_nStyle = 0;
    m_rect.SetRectEmpty();
    m_nHandleSize = 6;
    m_sizeMin.cx = m_sizeMin.cy = m_nHandleSize * 2;
    m_bAllowInvert = FALSE;
    m_rectLast.SetRectEmpty();
    m_sizeLast.cx = m_sizeLast.cy = 0;
    m_bErase = FALSE;
    m_bFinalErase = FALSE;
}

int CRectTracker::GetHandleSize(LPCRECT lpRect) const
{
    CRect r(lpRect != NULL ? *lpRect : m_rect);
    r.NormalizeRect();
    int size = m_nHandleSize;
    if (!(m_nStyle & resizeOutside)) {
        // Inside handles never take more than a quarter of a small rectangle.
        int sizeMax = std::min(abs(r.Width()), abs(r.Height())) / 4;
        size = std::max(std::min(size, sizeMax), 1);
    }
    return size;
}

UINT CRectTracker::GetHandleMask() const
{
    // Corners always; the side handles only where the side is long enough for them.
    UINT mask = 0x0F;
    int size = m_nHandleSize * 3;
    if (abs(m_rect.Width()) - size > 4)
        mask |= 0x50;
    if (abs(m_rect.Height()) - size > 4)
        mask |= 0xA0;
    return mask;
}

void CRectTracker::GetHandleRect(int nHandle, CRect* pHandleRect) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    if (m_nStyle & (solidLine | dottedLine))
        r.InflateRect(1, 1);
    // Handles sit on the inside unless resizeOutside.
    int size = GetHandleSize();
    if (m_nStyle & resizeOutside)
        r.InflateRect(size - 1, size - 1);
    int xs[3] = {r.left, r.left + (r.Width() - size) / 2, r.right - size};
    int ys[3] = {r.top, r.top + (r.Height() - size) / 2, r.bottom - size};
    static const int cell[9][2] = {{0, 0}, {2, 0}, {2, 2}, {0, 2}, {1, 0},
                                   {2, 1}, {1, 2}, {0, 1}, {1, 1}};
    int x = xs[cell[nHandle][0]], y = ys[cell[nHandle][1]];
    pHandleRect->SetRect(x, y, x + size, y + size);
}

void CRectTracker::GetTrueRect(LPRECT lpTrueRect) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    int nInflate = (m_nStyle & resizeOutside) ? GetHandleSize() - 1 : 0;
    if (m_nStyle & hatchedBorder)
        nInflate = std::max(nInflate, GetHandleSize() - 1);
    if (m_nStyle & (solidLine | dottedLine))
        nInflate = std::max(nInflate, 1);
    r.InflateRect(nInflate, nInflate);
    *lpTrueRect = r;
}

void CRectTracker::Draw(CDC* pDC) const
{
    int nSaved = pDC->SaveDC();
    pDC->SetMapMode(MM_TEXT);
    pDC->SetViewportOrg(0, 0);
    pDC->SetWindowOrg(0, 0);
    CRect r = m_rect;
    r.NormalizeRect();

    if (m_nStyle & (solidLine | dottedLine)) {
        CPen pen(m_nStyle & dottedLine ? PS_DOT : PS_SOLID, 0, RGB(0, 0, 0));
        CPen* pOldPen = pDC->SelectObject(&pen);
        CGdiObject* pOldBrush = pDC->SelectStockObject(NULL_BRUSH);
        pDC->SetROP2(R2_COPYPEN);
        CRect frame = r;
        frame.InflateRect(1, 1);
        pDC->Rectangle(frame);
        pDC->SelectObject(pOldBrush);
        pDC->SelectObject(pOldPen);
    }
    if ((m_nStyle & (hatchInside | hatchedBorder)) != 0) {
        CBrush hatch(HS_BDIAGONAL, RGB(0, 0, 0));
        pDC->SetBkMode(TRANSPARENT);
        if (m_nStyle & hatchInside) {
            CBrush* pOld = pDC->SelectObject(&hatch);
            pDC->SelectStockObject(NULL_PEN);
            pDC->Rectangle(r.left + 1, r.top + 1, r.right, r.bottom);
            pDC->SelectObject(pOld);
        }
        if (m_nStyle & hatchedBorder) {
            CRect outer;
            GetTrueRect(&outer);
            CRgn rgnOuter, rgnInner, rgnBorder;
            rgnOuter.CreateRectRgnIndirect(&outer);
            rgnInner.CreateRectRgnIndirect(&r);
            rgnBorder.CreateRectRgn(0, 0, 0, 0);
            rgnBorder.CombineRgn(&rgnOuter, &rgnInner, RGN_DIFF);
            pDC->FillRgn(&rgnBorder, &hatch);
        }
    }
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        for (int i = 0; i < 8; i++) {
            if (mask & (1u << i)) {
                CRect handle;
                GetHandleRect(i, &handle);
                pDC->FillSolidRect(handle, RGB(0, 0, 0));
            }
        }
    }
    pDC->RestoreDC(nSaved);
}

int CRectTracker::HitTestHandles(CPoint point) const
{
    CRect truth;
    GetTrueRect(&truth);
    if (!truth.PtInRect(point))
        return hitNothing;
    if (m_nStyle & (resizeInside | resizeOutside)) {
        UINT mask = GetHandleMask();
        for (int i = 0; i < 8; i++) {
            if (mask & (1u << i)) {
                CRect handle;
                GetHandleRect(i, &handle);
                if (handle.PtInRect(point))
                    return i;
            }
        }
    }
    // Inside a hatched border (not on a handle) moves; so does the rectangle itself.
    CRect inner = m_rect;
    inner.NormalizeRect();
    if ((m_nStyle & hatchedBorder) && !inner.PtInRect(point))
        return hitMiddle;
    return inner.PtInRect(point) ? hitMiddle : hitNothing;
}

int CRectTracker::HitTest(CPoint point) const
{
    CRect r = m_rect;
    r.NormalizeRect();
    if (r.IsRectEmpty() && !(m_nStyle & resizeOutside))
        return hitNothing;
    return HitTestHandles(point);
}

int CRectTracker::NormalizeHit(int nHandle) const
{
    // With an inverted rectangle the handle the user grabbed sits on the other side.
    if (nHandle == hitMiddle || nHandle == hitNothing)
        return nHandle;
    static const int swapX[8] = {1, 0, 3, 2, 4, 7, 6, 5};
    static const int swapY[8] = {3, 2, 1, 0, 6, 5, 4, 7};
    if (m_rect.Width() < 0)
        nHandle = swapX[nHandle];
    if (m_rect.Height() < 0)
        nHandle = swapY[nHandle];
    return nHandle;
}

BOOL CRectTracker::SetCursor(CWnd* pWnd, UINT nHitTest) const
{
    if (nHitTest != HTCLIENT)
        return FALSE;
    CPoint point;
    ::GetCursorPos(&point);
    pWnd->ScreenToClient(&point);
    int nHandle = NormalizeHit(HitTestHandles(point));
    if (nHandle < 0)
        return FALSE;
    static const LPCSTR cursors[9] = {IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENWSE, IDC_SIZENESW,
                                      IDC_SIZENS,   IDC_SIZEWE,   IDC_SIZENS,   IDC_SIZEWE,
                                      IDC_SIZEALL};
    ::SetCursor(::LoadCursorA(NULL, cursors[nHandle]));
    return TRUE;
}

void CRectTracker::GetModifyPointers(int nHandle, int** ppx, int** ppy, int* px, int* py)
{
    if (nHandle == hitMiddle)
        nHandle = hitTopLeft;  // moving drags the top left corner, the rest follows
    *ppx = *ppy = NULL;
    int* pLeft = (int*)&m_rect.left;
    int* pTop = (int*)&m_rect.top;
    int* pRight = (int*)&m_rect.right;
    int* pBottom = (int*)&m_rect.bottom;
    switch (nHandle) {
    case hitTopLeft: *ppx = pLeft; *ppy = pTop; break;
    case hitTopRight: *ppx = pRight; *ppy = pTop; break;
    case hitBottomRight: *ppx = pRight; *ppy = pBottom; break;
    case hitBottomLeft: *ppx = pLeft; *ppy = pBottom; break;
    case hitTop: *ppy = pTop; break;
    case hitRight: *ppx = pRight; break;
    case hitBottom: *ppy = pBottom; break;
    case hitLeft: *ppx = pLeft; break;
    }
    if (px != NULL)
        *px = *ppx != NULL ? **ppx : 0;
    if (py != NULL)
        *py = *ppy != NULL ? **ppy : 0;
}

void CRectTracker::AdjustRect(int nHandle, LPRECT)
{
    if (nHandle == hitMiddle)
        return;
    // The edge being dragged stops at the minimum size; with inversion allowed the
    // rectangle may turn over, and then the minimum holds on the other side.
    int *px, *py;
    GetModifyPointers(nHandle, &px, &py, NULL, NULL);
    auto keepMinimum = [this](int* pEdge, LONG& lo, LONG& hi, int minSize) {
        int extent = hi - lo;
        int sign = (m_bAllowInvert && extent < 0) ? -1 : 1;
        if (sign * extent >= minSize)
            return;
        if (pEdge == (int*)&lo)
            lo = hi - sign * minSize;
        else
            hi = lo + sign * minSize;
    };
    if (px != NULL)
        keepMinimum(px, m_rect.left, m_rect.right, m_sizeMin.cx);
    if (py != NULL)
        keepMinimum(py, m_rect.top, m_rect.bottom, m_sizeMin.cy);
}

void CRectTracker::OnChangedRect(const CRect&) {}

void CRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
    CRect rect = *lpRect;
    rect.NormalizeRect();
    if (pWndClipTo != NULL) {
        pWnd->ClientToScreen(&rect);
        pWndClipTo->ScreenToClient(&rect);
    }
    CSize size(0, 0);
    if (!m_bFinalErase) {
        // Thin frame while resizing; as thick as the handles while moving.
        if (m_nStyle & hatchedBorder) {
            size.cx = size.cy = std::max(1, GetHandleSize(rect) - 1);
            rect.InflateRect(size);
        } else {
            size.cx = size.cy = 1;
        }
    }
    pDC->DrawDragRect(rect, size, m_bErase ? NULL : (LPCRECT)m_rectLast, m_sizeLast);
    m_rectLast = rect;
    m_sizeLast = size;
}

BOOL CRectTracker::Track(CWnd* pWnd, CPoint point, BOOL bAllowInvert, CWnd* pWndClipTo)
{
    int nHandle = HitTestHandles(point);
    if (nHandle < 0)
        return FALSE;
    m_bAllowInvert = bAllowInvert;
    return TrackHandle(nHandle, pWnd, point, pWndClipTo);
}

BOOL CRectTracker::TrackRubberBand(CWnd* pWnd, CPoint point, BOOL bAllowInvert)
{
    m_bAllowInvert = bAllowInvert;
    m_rect.SetRect(point.x, point.y, point.x, point.y);
    return TrackHandle(hitBottomRight, pWnd, point, NULL);
}

BOOL CRectTracker::TrackHandle(int nHandle, CWnd* pWnd, CPoint point, CWnd* pWndClipTo)
{
    if (::GetCapture() != NULL)
        return FALSE;
    pWnd->UpdateWindow();
    CRect rectSave = m_rect;

    // The offsets from the mouse to the edges being moved, so the edge does not jump.
    int *px, *py, xDiff, yDiff;
    GetModifyPointers(nHandle, &px, &py, &xDiff, &yDiff);
    xDiff = point.x - xDiff;
    yDiff = point.y - yDiff;
    int nWidth = m_rect.Width(), nHeight = m_rect.Height();

    pWnd->SetCapture();
    CDC* pDrawDC = pWndClipTo != NULL ? pWndClipTo->GetDC() : pWnd->GetDC();
    CRect rectOld;
    BOOL bMoved = FALSE;
    BOOL bOK = FALSE;
    m_rectLast.SetRectEmpty();
    m_sizeLast.cx = m_sizeLast.cy = 0;
    m_bErase = m_bFinalErase = FALSE;

    for (;;) {
        MSG msg;
        if (!::GetMessageA(&msg, NULL, 0, 0))
            break;
        if (::GetCapture() != pWnd->m_hWnd)
            break;
        switch (msg.message) {
        case WM_LBUTTONUP:
        case WM_MOUSEMOVE: {
            rectOld = m_rect;
            CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
            if (px != NULL)
                *px = pt.x - xDiff;
            if (py != NULL)
                *py = pt.y - yDiff;
            if (nHandle == hitMiddle) {
                m_rect.right = m_rect.left + nWidth;
                m_rect.bottom = m_rect.top + nHeight;
            }
            AdjustRect(nHandle, &m_rect);
            m_bFinalErase = msg.message == WM_LBUTTONUP;
            if (!rectOld.EqualRect(m_rect) || m_bFinalErase) {
                if (bMoved) {
                    m_bErase = TRUE;
                    DrawTrackerRect(&rectOld, pWndClipTo, pDrawDC, pWnd);
                }
                OnChangedRect(rectOld);
                if (msg.message != WM_LBUTTONUP)
                    bMoved = TRUE;
            }
            if (m_bFinalErase) {
                bOK = TRUE;
                goto ExitLoop;
            }
            if (!rectOld.EqualRect(m_rect)) {
                m_bErase = FALSE;
                DrawTrackerRect(&m_rect, pWndClipTo, pDrawDC, pWnd);
            }
            break;
        }
        case WM_KEYDOWN:
            if (msg.wParam != VK_ESCAPE)
                break;
            // fall through: Escape cancels
        case WM_RBUTTONDOWN:
            if (bMoved) {
                m_bErase = m_bFinalErase = TRUE;
                DrawTrackerRect(&m_rect, pWndClipTo, pDrawDC, pWnd);
            }
            m_rect = rectSave;
            goto ExitLoop;
        default:
            ::DispatchMessageA(&msg);
            break;
        }
    }
ExitLoop:
    if (pWndClipTo != NULL)
        pWndClipTo->ReleaseDC(pDrawDC);
    else
        pWnd->ReleaseDC(pDrawDC);
    ::ReleaseCapture();
    // Only a real drag counts: a click leaves the rectangle as it was.
    if (!m_bAllowInvert)
        m_rect.NormalizeRect();
    return bOK && bMoved && !rectSave.EqualRect(m_rect);
}
