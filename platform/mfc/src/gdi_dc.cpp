// CDC: the device-context wrapper, and CMetaFileDC.
#include "afx.h"
#include "afxgdi_.h"
#include "gdi_maps.h"

static CDC* MakeTempDC(HDC h)
{
    CDC* p = new CDC;
    p->m_hDC = p->m_hAttribDC = h;
    return p;
}

static void DetachTempDC(CDC* p) { p->m_hDC = p->m_hAttribDC = NULL; }

static CGdiHandleMapT<HDC, CDC>& DCMap()
{
    static CGdiHandleMapT<HDC, CDC> map(MakeTempDC, DetachTempDC);
    return map;
}

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CMetaFileDC, CDC)

CDC::CDC() : m_hDC(NULL), m_hAttribDC(NULL), m_bPrinting(FALSE) {}

CDC::~CDC()
{
    if (m_hDC != NULL)
        ::DeleteDC(Detach());
}

CDC* PASCAL CDC::FromHandle(HDC hDC) { return DCMap().FromHandle(hDC); }
void PASCAL CDC::DeleteTempMap() { DCMap().DeleteTemp(); }

BOOL CDC::Attach(HDC hDC)
{
    ASSERT(m_hDC == NULL);
    if (hDC == NULL)
        return FALSE;
    m_hDC = hDC;
    DCMap().SetPermanent(hDC, this);
    SetAttribDC(m_hDC);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    if (hDC != NULL)
        DCMap().RemovePermanent(hDC, this);
    ReleaseAttribDC();
    ReleaseOutputDC();
    return hDC;
}

void CDC::SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }
void CDC::SetOutputDC(HDC hDC) { m_hDC = hDC; }
void CDC::ReleaseAttribDC() { m_hAttribDC = NULL; }
void CDC::ReleaseOutputDC() { m_hDC = NULL; }

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput,
                   const void* lpInitData)
{
    return Attach(::CreateDCA(lpszDriverName, lpszDeviceName, lpszOutput,
                              (const DEVMODEA*)lpInitData));
}

BOOL CDC::CreateIC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput,
                   const void* lpInitData)
{
    return Attach(::CreateICA(lpszDriverName, lpszDeviceName, lpszOutput,
                              (const DEVMODEA*)lpInitData));
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC != NULL ? pDC->m_hDC : NULL));
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == NULL)
        return FALSE;
    DCMap().ForgetTemp(m_hDC, this);
    return ::DeleteDC(Detach());
}

int CDC::SaveDC()
{
    int nRet = 0;
    if (m_hAttribDC != NULL)
        nRet = ::SaveDC(m_hAttribDC);
    if (HDC h = OutputOnly()) {
        // When the two handles are at different levels no one number names both saved
        // states; -1 does (RestoreDC(-1) restores the latest state of each).
        int nOut = ::SaveDC(h);
        if (m_hAttribDC == NULL)
            nRet = nOut;
        else if (nOut != nRet)
            nRet = -1;
    }
    return nRet;
}

BOOL CDC::RestoreDC(int nSavedDC)
{
    BOOL ok = TRUE;
    if (HDC h = OutputOnly())
        ok = ::RestoreDC(h, nSavedDC);
    if (m_hAttribDC != NULL)
        ok = ::RestoreDC(m_hAttribDC, nSavedDC) && ok;
    return ok;
}

int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

UINT CDC::SetBoundsRect(LPCRECT lpRectBounds, UINT flags)
{
    return ::SetBoundsRect(m_hDC, lpRectBounds, flags);
}

UINT CDC::GetBoundsRect(LPRECT lpRectBounds, UINT flags)
{
    return ::GetBoundsRect(m_hAttribDC, lpRectBounds, flags);
}

BOOL CDC::ResetDC(const DEVMODE* lpDevMode)
{
    return ::ResetDCA(m_hAttribDC, lpDevMode) != NULL;
}

CPoint CDC::GetBrushOrg() const
{
    POINT pt = {0, 0};
    ::GetBrushOrgEx(m_hDC, &pt);
    return pt;
}

CPoint CDC::SetBrushOrg(int x, int y)
{
    POINT pt = {0, 0};
    ::SetBrushOrgEx(m_hDC, x, y, &pt);
    return pt;
}

CPoint CDC::SetBrushOrg(POINT point) { return SetBrushOrg(point.x, point.y); }

int CDC::EnumObjects(int nObjectType, int(CALLBACK* lpfn)(LPVOID, LPARAM), LPARAM lpData)
{
    return ::EnumObjects(m_hAttribDC, nObjectType, (GOBJENUMPROC)lpfn, lpData);
}

// ---------------------------------------------------------------------------------------------
// Selection

HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    HGDIOBJ hOld = NULL;
    if (HDC h = OutputOnly())
        hOld = ::SelectObject(h, hObject);
    if (m_hAttribDC != NULL)
        hOld = ::SelectObject(m_hAttribDC, hObject);
    return hOld;
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    if (pObject == NULL)
        return NULL;
    return CGdiObject::FromHandle(SelectObject(pObject->m_hObject));
}

CPen* CDC::SelectObject(CPen* pPen) { return (CPen*)SelectObject((CGdiObject*)pPen); }
CBrush* CDC::SelectObject(CBrush* pBrush) { return (CBrush*)SelectObject((CGdiObject*)pBrush); }
CFont* CDC::SelectObject(CFont* pFont) { return (CFont*)SelectObject((CGdiObject*)pFont); }

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return (CBitmap*)SelectObject((CGdiObject*)pBitmap);
}

int CDC::SelectObject(CRgn* pRgn) { return SelectClipRgn(pRgn); }

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex)));
}

CPen* CDC::GetCurrentPen() const
{
    return CPen::FromHandle((HPEN)::GetCurrentObject(m_hAttribDC, OBJ_PEN));
}

CBrush* CDC::GetCurrentBrush() const
{
    return CBrush::FromHandle((HBRUSH)::GetCurrentObject(m_hAttribDC, OBJ_BRUSH));
}

CPalette* CDC::GetCurrentPalette() const
{
    return CPalette::FromHandle((HPALETTE)::GetCurrentObject(m_hAttribDC, OBJ_PAL));
}

CFont* CDC::GetCurrentFont() const
{
    return CFont::FromHandle((HFONT)::GetCurrentObject(m_hAttribDC, OBJ_FONT));
}

CBitmap* CDC::GetCurrentBitmap() const
{
    return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hAttribDC, OBJ_BITMAP));
}

COLORREF CDC::GetNearestColor(COLORREF crColor) const
{
    return ::GetNearestColor(m_hAttribDC, crColor);
}

CPalette* CDC::SelectPalette(CPalette* pPalette, BOOL bForceBackground)
{
    return CPalette::FromHandle(
        ::SelectPalette(m_hDC, (HPALETTE)pPalette->GetSafeHandle(), bForceBackground));
}

UINT CDC::RealizePalette() { return ::RealizePalette(m_hDC); }
void CDC::UpdateColors() { ::UpdateColors(m_hDC); }

// ---------------------------------------------------------------------------------------------
// Attributes: settings reach both handles, the attribute DC's previous value is returned.

#define SET_BOTH(call_out, call_attr, type, init) \
    type ret = init;                              \
    if (HDC h = OutputOnly())                     \
        ret = call_out;                           \
    if (m_hAttribDC != NULL)                      \
        ret = call_attr;                          \
    return ret;

COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
int CDC::GetPolyFillMode() const { return ::GetPolyFillMode(m_hAttribDC); }
int CDC::GetROP2() const { return ::GetROP2(m_hAttribDC); }
int CDC::GetStretchBltMode() const { return ::GetStretchBltMode(m_hAttribDC); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }

COLORREF CDC::SetBkColor(COLORREF c)
{
    SET_BOTH(::SetBkColor(h, c), ::SetBkColor(m_hAttribDC, c), COLORREF, CLR_INVALID)
}

int CDC::SetBkMode(int n) { SET_BOTH(::SetBkMode(h, n), ::SetBkMode(m_hAttribDC, n), int, 0) }

int CDC::SetPolyFillMode(int n)
{
    SET_BOTH(::SetPolyFillMode(h, n), ::SetPolyFillMode(m_hAttribDC, n), int, 0)
}

int CDC::SetROP2(int n) { SET_BOTH(::SetROP2(h, n), ::SetROP2(m_hAttribDC, n), int, 0) }

int CDC::SetStretchBltMode(int n)
{
    SET_BOTH(::SetStretchBltMode(h, n), ::SetStretchBltMode(m_hAttribDC, n), int, 0)
}

COLORREF CDC::SetTextColor(COLORREF c)
{
    SET_BOTH(::SetTextColor(h, c), ::SetTextColor(m_hAttribDC, c), COLORREF, CLR_INVALID)
}

int CDC::GetMapMode() const { return ::GetMapMode(m_hAttribDC); }

int CDC::SetMapMode(int n) { SET_BOTH(::SetMapMode(h, n), ::SetMapMode(m_hAttribDC, n), int, 0) }

CPoint CDC::GetViewportOrg() const
{
    POINT pt = {0, 0};
    ::GetViewportOrgEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::SetViewportOrg(int x, int y)
{
    POINT pt = {0, 0};
    if (HDC h = OutputOnly())
        ::SetViewportOrgEx(h, x, y, &pt);
    if (m_hAttribDC != NULL)
        ::SetViewportOrgEx(m_hAttribDC, x, y, &pt);
    return pt;
}

CPoint CDC::SetViewportOrg(POINT point) { return SetViewportOrg(point.x, point.y); }

CPoint CDC::OffsetViewportOrg(int nWidth, int nHeight)
{
    POINT pt = {0, 0};
    if (HDC h = OutputOnly())
        ::OffsetViewportOrgEx(h, nWidth, nHeight, &pt);
    if (m_hAttribDC != NULL)
        ::OffsetViewportOrgEx(m_hAttribDC, nWidth, nHeight, &pt);
    return pt;
}

CSize CDC::GetViewportExt() const
{
    SIZE size = {0, 0};
    ::GetViewportExtEx(m_hAttribDC, &size);
    return size;
}

CSize CDC::SetViewportExt(int cx, int cy)
{
    SIZE size = {0, 0};
    if (HDC h = OutputOnly())
        ::SetViewportExtEx(h, cx, cy, &size);
    if (m_hAttribDC != NULL)
        ::SetViewportExtEx(m_hAttribDC, cx, cy, &size);
    return size;
}

CSize CDC::SetViewportExt(SIZE size) { return SetViewportExt(size.cx, size.cy); }

CSize CDC::ScaleViewportExt(int xNum, int xDenom, int yNum, int yDenom)
{
    SIZE size = {0, 0};
    if (HDC h = OutputOnly())
        ::ScaleViewportExtEx(h, xNum, xDenom, yNum, yDenom, &size);
    if (m_hAttribDC != NULL)
        ::ScaleViewportExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
    return size;
}

CPoint CDC::GetWindowOrg() const
{
    POINT pt = {0, 0};
    ::GetWindowOrgEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::SetWindowOrg(int x, int y)
{
    POINT pt = {0, 0};
    if (HDC h = OutputOnly())
        ::SetWindowOrgEx(h, x, y, &pt);
    if (m_hAttribDC != NULL)
        ::SetWindowOrgEx(m_hAttribDC, x, y, &pt);
    return pt;
}

CPoint CDC::SetWindowOrg(POINT point) { return SetWindowOrg(point.x, point.y); }

CPoint CDC::OffsetWindowOrg(int nWidth, int nHeight)
{
    POINT pt = {0, 0};
    if (HDC h = OutputOnly())
        ::OffsetWindowOrgEx(h, nWidth, nHeight, &pt);
    if (m_hAttribDC != NULL)
        ::OffsetWindowOrgEx(m_hAttribDC, nWidth, nHeight, &pt);
    return pt;
}

CSize CDC::GetWindowExt() const
{
    SIZE size = {0, 0};
    ::GetWindowExtEx(m_hAttribDC, &size);
    return size;
}

CSize CDC::SetWindowExt(int cx, int cy)
{
    SIZE size = {0, 0};
    if (HDC h = OutputOnly())
        ::SetWindowExtEx(h, cx, cy, &size);
    if (m_hAttribDC != NULL)
        ::SetWindowExtEx(m_hAttribDC, cx, cy, &size);
    return size;
}

CSize CDC::SetWindowExt(SIZE size) { return SetWindowExt(size.cx, size.cy); }

CSize CDC::ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom)
{
    SIZE size = {0, 0};
    if (HDC h = OutputOnly())
        ::ScaleWindowExtEx(h, xNum, xDenom, yNum, yDenom, &size);
    if (m_hAttribDC != NULL)
        ::ScaleWindowExtEx(m_hAttribDC, xNum, xDenom, yNum, yDenom, &size);
    return size;
}

// ---------------------------------------------------------------------------------------------
// Coordinates

void CDC::DPtoLP(LPPOINT lpPoints, int nCount) const { ::DPtoLP(m_hAttribDC, lpPoints, nCount); }
void CDC::DPtoLP(LPRECT lpRect) const { ::DPtoLP(m_hAttribDC, (LPPOINT)lpRect, 2); }
void CDC::LPtoDP(LPPOINT lpPoints, int nCount) const { ::LPtoDP(m_hAttribDC, lpPoints, nCount); }
void CDC::LPtoDP(LPRECT lpRect) const { ::LPtoDP(m_hAttribDC, (LPPOINT)lpRect, 2); }

// A size is a distance, not a position: scale it by the extents' magnitudes and keep the
// caller's sign (a size stays positive in modes whose y axis points up).
static LONG ScaleSize(LONG v, LONG num, LONG den)
{
    return den == 0 ? v : ::MulDiv(v, num < 0 ? -num : num, den < 0 ? -den : den);
}

void CDC::DPtoLP(LPSIZE lpSize) const
{
    CSize win = GetWindowExt(), vp = GetViewportExt();
    lpSize->cx = ScaleSize(lpSize->cx, win.cx, vp.cx);
    lpSize->cy = ScaleSize(lpSize->cy, win.cy, vp.cy);
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    CSize win = GetWindowExt(), vp = GetViewportExt();
    lpSize->cx = ScaleSize(lpSize->cx, vp.cx, win.cx);
    lpSize->cy = ScaleSize(lpSize->cy, vp.cy, win.cy);
}

static const int HIMETRIC_INCH = 2540;

void CDC::DPtoHIMETRIC(LPSIZE lpSize) const
{
    int nMapMode = GetMapMode();
    if (nMapMode < MM_ISOTROPIC && nMapMode != MM_TEXT) {
        // A fixed metric mode: let GDI do the scaling through MM_HIMETRIC.
        CDC* self = const_cast<CDC*>(this);
        self->SetMapMode(MM_HIMETRIC);
        DPtoLP(lpSize);
        self->SetMapMode(nMapMode);
    } else {
        int cxPerInch = GetDeviceCaps(LOGPIXELSX);
        int cyPerInch = GetDeviceCaps(LOGPIXELSY);
        if (cxPerInch > 0 && cyPerInch > 0) {
            lpSize->cx = ::MulDiv(lpSize->cx, HIMETRIC_INCH, cxPerInch);
            lpSize->cy = ::MulDiv(lpSize->cy, HIMETRIC_INCH, cyPerInch);
        }
    }
}

void CDC::HIMETRICtoDP(LPSIZE lpSize) const
{
    int nMapMode = GetMapMode();
    if (nMapMode < MM_ISOTROPIC && nMapMode != MM_TEXT) {
        CDC* self = const_cast<CDC*>(this);
        self->SetMapMode(MM_HIMETRIC);
        LPtoDP(lpSize);
        self->SetMapMode(nMapMode);
    } else {
        int cxPerInch = GetDeviceCaps(LOGPIXELSX);
        int cyPerInch = GetDeviceCaps(LOGPIXELSY);
        lpSize->cx = ::MulDiv(lpSize->cx, cxPerInch, HIMETRIC_INCH);
        lpSize->cy = ::MulDiv(lpSize->cy, cyPerInch, HIMETRIC_INCH);
    }
}

void CDC::LPtoHIMETRIC(LPSIZE lpSize) const
{
    LPtoDP(lpSize);
    DPtoHIMETRIC(lpSize);
}

void CDC::HIMETRICtoLP(LPSIZE lpSize) const
{
    HIMETRICtoDP(lpSize);
    DPtoLP(lpSize);
}

// ---------------------------------------------------------------------------------------------
// Regions and clipping

BOOL CDC::FillRgn(CRgn* pRgn, CBrush* pBrush)
{
    return ::FillRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle());
}

BOOL CDC::FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
{
    return ::FrameRgn(m_hDC, (HRGN)pRgn->GetSafeHandle(), (HBRUSH)pBrush->GetSafeHandle(),
                      nWidth, nHeight);
}

BOOL CDC::InvertRgn(CRgn* pRgn) { return ::InvertRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }
BOOL CDC::PaintRgn(CRgn* pRgn) { return ::PaintRgn(m_hDC, (HRGN)pRgn->GetSafeHandle()); }

int CDC::GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
BOOL CDC::PtVisible(int x, int y) const { return ::PtVisible(m_hDC, x, y); }
BOOL CDC::PtVisible(POINT point) const { return PtVisible(point.x, point.y); }
BOOL CDC::RectVisible(LPCRECT lpRect) const { return ::RectVisible(m_hDC, lpRect); }

int CDC::SelectClipRgn(CRgn* pRgn)
{
    HRGN hRgn = (HRGN)pRgn->GetSafeHandle();
    int nRet = ERROR;
    if (HDC h = OutputOnly())
        nRet = ::SelectClipRgn(h, hRgn);
    if (m_hAttribDC != NULL)
        nRet = ::SelectClipRgn(m_hAttribDC, hRgn);
    return nRet;
}

int CDC::SelectClipRgn(CRgn* pRgn, int nMode)
{
    HRGN hRgn = (HRGN)pRgn->GetSafeHandle();
    int nRet = ERROR;
    if (HDC h = OutputOnly())
        nRet = ::ExtSelectClipRgn(h, hRgn, nMode);
    if (m_hAttribDC != NULL)
        nRet = ::ExtSelectClipRgn(m_hAttribDC, hRgn, nMode);
    return nRet;
}

int CDC::ExcludeClipRect(int x1, int y1, int x2, int y2)
{
    SET_BOTH(::ExcludeClipRect(h, x1, y1, x2, y2), ::ExcludeClipRect(m_hAttribDC, x1, y1, x2, y2),
             int, ERROR)
}

int CDC::ExcludeClipRect(LPCRECT r) { return ExcludeClipRect(r->left, r->top, r->right, r->bottom); }

int CDC::IntersectClipRect(int x1, int y1, int x2, int y2)
{
    SET_BOTH(::IntersectClipRect(h, x1, y1, x2, y2),
             ::IntersectClipRect(m_hAttribDC, x1, y1, x2, y2), int, ERROR)
}

int CDC::IntersectClipRect(LPCRECT r)
{
    return IntersectClipRect(r->left, r->top, r->right, r->bottom);
}

int CDC::OffsetClipRgn(int x, int y)
{
    SET_BOTH(::OffsetClipRgn(h, x, y), ::OffsetClipRgn(m_hAttribDC, x, y), int, ERROR)
}

int CDC::OffsetClipRgn(SIZE size) { return OffsetClipRgn(size.cx, size.cy); }

// ---------------------------------------------------------------------------------------------
// Lines: the current position is kept in both handles.

CPoint CDC::GetCurrentPosition() const
{
    POINT pt = {0, 0};
    ::GetCurrentPositionEx(m_hAttribDC, &pt);
    return pt;
}

CPoint CDC::MoveTo(int x, int y)
{
    POINT pt = {0, 0};
    if (HDC h = OutputOnly())
        ::MoveToEx(h, x, y, &pt);
    if (m_hAttribDC != NULL)
        ::MoveToEx(m_hAttribDC, x, y, &pt);
    return pt;
}

CPoint CDC::MoveTo(POINT point) { return MoveTo(point.x, point.y); }

BOOL CDC::LineTo(int x, int y)
{
    if (m_hAttribDC != NULL && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, x, y, NULL);
    return ::LineTo(m_hDC, x, y);
}

BOOL CDC::LineTo(POINT point) { return LineTo(point.x, point.y); }

BOOL CDC::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Arc(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Arc(LPCRECT r, POINT s, POINT e)
{
    return Arc(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y);
}

BOOL CDC::ArcTo(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    BOOL ok = ::ArcTo(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
    if (m_hAttribDC != NULL && m_hAttribDC != m_hDC) {
        POINT pt;
        ::GetCurrentPositionEx(m_hDC, &pt);
        ::MoveToEx(m_hAttribDC, pt.x, pt.y, NULL);
    }
    return ok;
}

BOOL CDC::ArcTo(LPCRECT r, POINT s, POINT e)
{
    return ArcTo(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y);
}

BOOL CDC::AngleArc(int x, int y, int nRadius, float fStartAngle, float fSweepAngle)
{
    BOOL ok = ::AngleArc(m_hDC, x, y, nRadius, fStartAngle, fSweepAngle);
    if (m_hAttribDC != NULL && m_hAttribDC != m_hDC) {
        POINT pt;
        ::GetCurrentPositionEx(m_hDC, &pt);
        ::MoveToEx(m_hAttribDC, pt.x, pt.y, NULL);
    }
    return ok;
}

int CDC::GetArcDirection() const { return ::GetArcDirection(m_hAttribDC); }

int CDC::SetArcDirection(int n)
{
    SET_BOTH(::SetArcDirection(h, n), ::SetArcDirection(m_hAttribDC, n), int, 0)
}

BOOL CDC::Polyline(const POINT* p, int n) { return ::Polyline(m_hDC, p, n); }

BOOL CDC::PolylineTo(const POINT* p, int n)
{
    BOOL ok = ::PolylineTo(m_hDC, p, n);
    if (ok && n > 0 && m_hAttribDC != NULL && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, p[n - 1].x, p[n - 1].y, NULL);
    return ok;
}

BOOL CDC::PolyPolyline(const POINT* p, const DWORD* counts, int n)
{
    return ::PolyPolyline(m_hDC, p, counts, n);
}

BOOL CDC::PolyBezier(const POINT* p, int n) { return ::PolyBezier(m_hDC, p, n); }

BOOL CDC::PolyBezierTo(const POINT* p, int n)
{
    BOOL ok = ::PolyBezierTo(m_hDC, p, n);
    if (ok && n > 0 && m_hAttribDC != NULL && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, p[n - 1].x, p[n - 1].y, NULL);
    return ok;
}

BOOL CDC::PolyDraw(const POINT* p, const BYTE* types, int n)
{
    BOOL ok = ::PolyDraw(m_hDC, p, types, n);
    if (ok && n > 0 && m_hAttribDC != NULL && m_hAttribDC != m_hDC)
        ::MoveToEx(m_hAttribDC, p[n - 1].x, p[n - 1].y, NULL);
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Simple drawing and shapes

void CDC::FillRect(LPCRECT r, CBrush* pBrush) { ::FillRect(m_hDC, r, (HBRUSH)pBrush->GetSafeHandle()); }
void CDC::FrameRect(LPCRECT r, CBrush* pBrush) { ::FrameRect(m_hDC, r, (HBRUSH)pBrush->GetSafeHandle()); }
void CDC::InvertRect(LPCRECT r) { ::InvertRect(m_hDC, r); }
BOOL CDC::DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
BOOL CDC::DrawIcon(POINT point, HICON hIcon) { return DrawIcon(point.x, point.y, hIcon); }

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateA(m_hDC, hBrush, NULL, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy,
                        nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateA(m_hDC, hBrush, NULL, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy,
                        nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCTSTR lpszText, UINT nFlags, BOOL bPrefixText,
                    int nTextLen, HBRUSH hBrush)
{
    return ::DrawStateA(m_hDC, hBrush, NULL, (LPARAM)lpszText, (WPARAM)nTextLen, pt.x, pt.y,
                        size.cx, size.cy, nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

BOOL CDC::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Chord(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Chord(LPCRECT r, POINT s, POINT e)
{
    return Chord(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y);
}

void CDC::DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
BOOL CDC::Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Ellipse(LPCRECT r) { return Ellipse(r->left, r->top, r->right, r->bottom); }

BOOL CDC::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    return ::Pie(m_hDC, x1, y1, x2, y2, x3, y3, x4, y4);
}

BOOL CDC::Pie(LPCRECT r, POINT s, POINT e)
{
    return Pie(r->left, r->top, r->right, r->bottom, s.x, s.y, e.x, e.y);
}

BOOL CDC::Polygon(const POINT* p, int n) { return ::Polygon(m_hDC, p, n); }

BOOL CDC::PolyPolygon(const POINT* p, const INT* counts, int n)
{
    return ::PolyPolygon(m_hDC, p, counts, n);
}

BOOL CDC::Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
BOOL CDC::Rectangle(LPCRECT r) { return Rectangle(r->left, r->top, r->right, r->bottom); }

BOOL CDC::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
}

BOOL CDC::RoundRect(LPCRECT r, POINT pt)
{
    return RoundRect(r->left, r->top, r->right, r->bottom, pt.x, pt.y);
}

// ---------------------------------------------------------------------------------------------
// Bitmaps

BOOL CDC::PatBlt(int x, int y, int w, int h, DWORD dwRop) { return ::PatBlt(m_hDC, x, y, w, h, dwRop); }

BOOL CDC::BitBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
{
    return ::BitBlt(m_hDC, x, y, w, h, pSrcDC->GetSafeHdc(), xSrc, ySrc, dwRop);
}

BOOL CDC::StretchBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc, int wSrc,
                     int hSrc, DWORD dwRop)
{
    return ::StretchBlt(m_hDC, x, y, w, h, pSrcDC->GetSafeHdc(), xSrc, ySrc, wSrc, hSrc, dwRop);
}

BOOL CDC::MaskBlt(int x, int y, int w, int h, CDC* pSrcDC, int xSrc, int ySrc,
                  CBitmap& maskBitmap, int xMask, int yMask, DWORD dwRop)
{
    return ::MaskBlt(m_hDC, x, y, w, h, pSrcDC->GetSafeHdc(), xSrc, ySrc,
                     (HBITMAP)maskBitmap.m_hObject, xMask, yMask, dwRop);
}

// The blending calls live in gdi32 under their Gdi names, so no extra import library is
// needed.
extern "C" {
BOOL WINAPI GdiTransparentBlt(HDC, int, int, int, int, HDC, int, int, int, int, UINT);
BOOL WINAPI GdiAlphaBlend(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
BOOL WINAPI GdiGradientFill(HDC, TRIVERTEX*, ULONG, void*, ULONG, ULONG);
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC,
                         int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, UINT clrTransparent)
{
    return GdiTransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(),
                             xSrc, ySrc, nSrcWidth, nSrcHeight, clrTransparent);
}

BOOL CDC::AlphaBlend(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC,
                     int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, BLENDFUNCTION blend)
{
    return GdiAlphaBlend(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(), xSrc,
                         ySrc, nSrcWidth, nSrcHeight, blend);
}

BOOL CDC::GradientFill(TRIVERTEX* pVertices, ULONG nVertices, void* pMesh, ULONG nMeshElements,
                       DWORD dwMode)
{
    return GdiGradientFill(m_hDC, pVertices, nVertices, pMesh, nMeshElements, dwMode);
}

COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::GetPixel(POINT point) const { return GetPixel(point.x, point.y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
COLORREF CDC::SetPixel(POINT point, COLORREF c) { return SetPixel(point.x, point.y, c); }
BOOL CDC::SetPixelV(int x, int y, COLORREF c) { return ::SetPixelV(m_hDC, x, y, c); }
BOOL CDC::SetPixelV(POINT point, COLORREF c) { return SetPixelV(point.x, point.y, c); }
BOOL CDC::FloodFill(int x, int y, COLORREF c) { return ::FloodFill(m_hDC, x, y, c); }

BOOL CDC::ExtFloodFill(int x, int y, COLORREF c, UINT nFillType)
{
    return ::ExtFloodFill(m_hDC, x, y, c, nFillType);
}

// ---------------------------------------------------------------------------------------------
// Text

BOOL CDC::TextOut(int x, int y, LPCTSTR s, int n) { return ::TextOutA(m_hDC, x, y, s, n); }

BOOL CDC::TextOut(int x, int y, const CString& str)
{
    return TextOut(x, y, (LPCTSTR)str, str.GetLength());
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCTSTR s, UINT n, LPINT dx)
{
    return ::ExtTextOutA(m_hDC, x, y, nOptions, lpRect, s, n, dx);
}

BOOL CDC::ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, const CString& str, LPINT dx)
{
    return ExtTextOut(x, y, nOptions, lpRect, (LPCTSTR)str, str.GetLength(), dx);
}

CSize CDC::TabbedTextOut(int x, int y, LPCTSTR s, int n, int nTabPositions,
                         LPINT lpnTabStopPositions, int nTabOrigin)
{
    LONG r = ::TabbedTextOutA(m_hDC, x, y, s, n, nTabPositions, lpnTabStopPositions, nTabOrigin);
    return CSize(LOWORD(r), HIWORD(r));
}

CSize CDC::TabbedTextOut(int x, int y, const CString& str, int nTabPositions,
                         LPINT lpnTabStopPositions, int nTabOrigin)
{
    return TabbedTextOut(x, y, (LPCTSTR)str, str.GetLength(), nTabPositions, lpnTabStopPositions,
                         nTabOrigin);
}

int CDC::DrawText(LPCTSTR s, int n, LPRECT lpRect, UINT nFormat)
{
    return ::DrawTextA(m_hDC, s, n, lpRect, nFormat);
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
{
    return DrawText((LPCTSTR)str, str.GetLength(), lpRect, nFormat);
}

int CDC::DrawTextEx(LPTSTR s, int n, LPRECT lpRect, UINT nFormat, LPDRAWTEXTPARAMS p)
{
    return ::DrawTextExA(m_hDC, s, n, lpRect, nFormat, p);
}

CSize CDC::GetTextExtent(LPCTSTR s, int n) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hAttribDC, s, n, &size);
    return size;
}

CSize CDC::GetTextExtent(const CString& str) const
{
    return GetTextExtent((LPCTSTR)str, str.GetLength());
}

CSize CDC::GetOutputTextExtent(LPCTSTR s, int n) const
{
    SIZE size = {0, 0};
    ::GetTextExtentPoint32A(m_hDC, s, n, &size);
    return size;
}

CSize CDC::GetOutputTextExtent(const CString& str) const
{
    return GetOutputTextExtent((LPCTSTR)str, str.GetLength());
}

CSize CDC::GetTabbedTextExtent(LPCTSTR s, int n, int nTabPositions, LPINT lpnTabStopPositions) const
{
    DWORD r = ::GetTabbedTextExtentA(m_hAttribDC, s, n, nTabPositions, lpnTabStopPositions);
    return CSize(LOWORD(r), HIWORD(r));
}

CSize CDC::GetTabbedTextExtent(const CString& str, int nTabPositions,
                               LPINT lpnTabStopPositions) const
{
    return GetTabbedTextExtent((LPCTSTR)str, str.GetLength(), nTabPositions, lpnTabStopPositions);
}

BOOL CDC::GrayString(CBrush* pBrush, BOOL(CALLBACK* lpfnOutput)(HDC, LPARAM, int), LPARAM lpData,
                     int nCount, int x, int y, int nWidth, int nHeight)
{
    return ::GrayStringA(m_hDC, (HBRUSH)pBrush->GetSafeHandle(), (GRAYSTRINGPROC)lpfnOutput,
                         lpData, nCount, x, y, nWidth, nHeight);
}

UINT CDC::GetTextAlign() const { return ::GetTextAlign(m_hAttribDC); }

UINT CDC::SetTextAlign(UINT n)
{
    SET_BOTH(::SetTextAlign(h, n), ::SetTextAlign(m_hAttribDC, n), UINT, GDI_ERROR)
}

int CDC::GetTextFace(int nCount, LPTSTR lpszFacename) const
{
    return ::GetTextFaceA(m_hAttribDC, nCount, lpszFacename);
}

int CDC::GetTextFace(CString& rString) const
{
    char buf[LF_FACESIZE + 1] = "";
    int n = ::GetTextFaceA(m_hAttribDC, sizeof(buf), buf);
    rString = buf;
    return n;
}

BOOL CDC::GetTextMetrics(LPTEXTMETRIC lpMetrics) const
{
    return ::GetTextMetricsA(m_hAttribDC, lpMetrics);
}

BOOL CDC::GetOutputTextMetrics(LPTEXTMETRIC lpMetrics) const
{
    return ::GetTextMetricsA(m_hDC, lpMetrics);
}

int CDC::SetTextJustification(int nBreakExtra, int nBreakCount)
{
    SET_BOTH(::SetTextJustification(h, nBreakExtra, nBreakCount),
             ::SetTextJustification(m_hAttribDC, nBreakExtra, nBreakCount), int, 0)
}

int CDC::GetTextCharacterExtra() const { return ::GetTextCharacterExtra(m_hAttribDC); }

int CDC::SetTextCharacterExtra(int n)
{
    SET_BOTH(::SetTextCharacterExtra(h, n), ::SetTextCharacterExtra(m_hAttribDC, n), int,
             (int)0x80000000)
}

BOOL CDC::GetCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    return ::GetCharWidthA(m_hAttribDC, nFirstChar, nLastChar, lpBuffer);
}

BOOL CDC::GetOutputCharWidth(UINT nFirstChar, UINT nLastChar, LPINT lpBuffer) const
{
    return ::GetCharWidthA(m_hDC, nFirstChar, nLastChar, lpBuffer);
}

DWORD CDC::GetFontData(DWORD dwTable, DWORD dwOffset, LPVOID lpData, DWORD cbData) const
{
    return ::GetFontData(m_hAttribDC, dwTable, dwOffset, lpData, cbData);
}

// ---------------------------------------------------------------------------------------------
// Frames and edges

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    // An opaque empty text output fills the rectangle with the background colour without
    // making a brush; the background colour stays set afterwards, as callers expect.
    ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT r = {x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    // Top and left edges stop one pixel short so the bottom-right colour owns both far
    // corners.
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);
}

BOOL CDC::DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags)
{
    return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags);
}

BOOL CDC::DrawFrameControl(LPRECT lpRect, UINT nType, UINT nState)
{
    return ::DrawFrameControl(m_hDC, lpRect, nType, nState);
}

CBrush* PASCAL CDC::GetHalftoneBrush()
{
    // A checkerboard of alternate pixels; made once and kept for the life of the process.
    static CBrush* s_pBrush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; i++)
            pattern[i] = (WORD)(0x5555 << (i & 1));
        CBrush* pBrush = new CBrush;
        HBITMAP hBitmap = ::CreateBitmap(8, 8, 1, 1, pattern);
        if (hBitmap != NULL) {
            pBrush->Attach(::CreatePatternBrush(hBitmap));
            ::DeleteObject(hBitmap);
        }
        return pBrush;
    }();
    return s_pBrush;
}

// The frame of thickness `size` inside `rect` as a region (empty when rect is NULL).
static void MakeFrameRgn(CRgn& rgn, LPCRECT rect, SIZE size)
{
    rgn.CreateRectRgn(0, 0, 0, 0);
    if (rect == NULL)
        return;
    CRgn outer, inner;
    outer.CreateRectRgnIndirect(rect);
    RECT in = *rect;
    ::InflateRect(&in, -size.cx, -size.cy);
    ::IntersectRect(&in, &in, rect);
    inner.CreateRectRgnIndirect(&in);
    rgn.CombineRgn(&outer, &inner, RGN_DIFF);
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast,
                       CBrush* pBrush, CBrush* pBrushLast)
{
    if (pBrush == NULL)
        pBrush = GetHalftoneBrush();
    if (pBrushLast == NULL)
        pBrushLast = pBrush;

    CRgn rgnNew, rgnLast;
    MakeFrameRgn(rgnNew, lpRect, size);
    MakeFrameRgn(rgnLast, lpRectLast, sizeLast);

    // The drawing is an inversion with the brush (PATINVERT): drawing the old frame again
    // removes it. With one brush for both, the pixels in both frames would be inverted
    // twice, so only the symmetric difference is painted.
    auto invert = [this](CRgn* pRgn, CBrush* pUse) {
        SelectClipRgn(pRgn);
        RECT box;
        GetClipBox(&box);
        CBrush* pOld = SelectObject(pUse);
        PatBlt(box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
        SelectObject(pOld);
    };
    if (pBrush->m_hObject == pBrushLast->m_hObject) {
        CRgn rgnUpdate;
        rgnUpdate.CreateRectRgn(0, 0, 0, 0);
        rgnUpdate.CombineRgn(&rgnNew, &rgnLast, RGN_XOR);
        invert(&rgnUpdate, pBrush);
    } else {
        if (lpRectLast != NULL)
            invert(&rgnLast, pBrushLast);
        invert(&rgnNew, pBrush);
    }
    SelectClipRgn(NULL);
}

BOOL CDC::ScrollDC(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* pRgnUpdate,
                   LPRECT lpRectUpdate)
{
    return ::ScrollDC(m_hDC, dx, dy, lpRectScroll, lpRectClip,
                      (HRGN)pRgnUpdate->GetSafeHandle(), lpRectUpdate);
}

// ---------------------------------------------------------------------------------------------
// Printing

int CDC::StartDoc(LPDOCINFO lpDocInfo) { return ::StartDocA(m_hDC, lpDocInfo); }

int CDC::StartDoc(LPCTSTR lpszDocName)
{
    DOCINFOA di;
    memset(&di, 0, sizeof(di));
    di.cbSize = sizeof(di);
    di.lpszDocName = lpszDocName;
    return StartDoc(&di);
}

int CDC::StartPage() { return ::StartPage(m_hDC); }
int CDC::EndPage() { return ::EndPage(m_hDC); }
int CDC::SetAbortProc(BOOL(CALLBACK* lpfn)(HDC, int)) { return ::SetAbortProc(m_hDC, (ABORTPROC)lpfn); }
int CDC::AbortDoc() { return ::AbortDoc(m_hDC); }
int CDC::EndDoc() { return ::EndDoc(m_hDC); }

int CDC::Escape(int nEscape, int nCount, LPCSTR lpszInData, LPVOID lpOutData)
{
    return ::Escape(m_hDC, nEscape, nCount, lpszInData, lpOutData);
}

int CDC::ExtEscape(int nEscape, int nInputSize, LPCSTR lpszInputData, int nOutputSize,
                   LPSTR lpszOutputData)
{
    return ::ExtEscape(m_hDC, nEscape, nInputSize, lpszInputData, nOutputSize, lpszOutputData);
}

// ---------------------------------------------------------------------------------------------
// Paths

BOOL CDC::AbortPath() { return ::AbortPath(m_hDC); }
BOOL CDC::BeginPath() { return ::BeginPath(m_hDC); }
BOOL CDC::CloseFigure() { return ::CloseFigure(m_hDC); }
BOOL CDC::EndPath() { return ::EndPath(m_hDC); }
BOOL CDC::FillPath() { return ::FillPath(m_hDC); }
BOOL CDC::FlattenPath() { return ::FlattenPath(m_hDC); }
BOOL CDC::StrokeAndFillPath() { return ::StrokeAndFillPath(m_hDC); }
BOOL CDC::StrokePath() { return ::StrokePath(m_hDC); }
BOOL CDC::WidenPath() { return ::WidenPath(m_hDC); }

float CDC::GetMiterLimit() const
{
    float f = 0;
    ::GetMiterLimit(m_hDC, &f);
    return f;
}

BOOL CDC::SetMiterLimit(float fMiterLimit)
{
    if (HDC h = OutputOnly())
        ::SetMiterLimit(h, fMiterLimit, NULL);
    return ::SetMiterLimit(m_hAttribDC, fMiterLimit, NULL);
}

int CDC::GetPath(LPPOINT lpPoints, LPBYTE lpTypes, int nCount) const
{
    return ::GetPath(m_hDC, lpPoints, lpTypes, nCount);
}

BOOL CDC::SelectClipPath(int nMode)
{
    // A path lives in one DC only: the output DC's path becomes its clip region, and the
    // attribute DC gets the same region.
    if (m_hDC == m_hAttribDC || m_hAttribDC == NULL)
        return ::SelectClipPath(m_hDC, nMode);
    HRGN hRgn = ::PathToRegion(m_hDC);
    if (hRgn == NULL)
        return FALSE;
    BOOL ok = ::ExtSelectClipRgn(m_hDC, hRgn, nMode) != ERROR &&
              ::ExtSelectClipRgn(m_hAttribDC, hRgn, nMode) != ERROR;
    ::DeleteObject(hRgn);
    return ok;
}

// ---------------------------------------------------------------------------------------------
// Metafiles

BOOL CDC::PlayMetaFile(HMETAFILE hMF) { return ::PlayMetaFile(m_hDC, hMF); }

BOOL CDC::PlayMetaFile(HENHMETAFILE hEnhMetaFile, LPCRECT lpBounds)
{
    return ::PlayEnhMetaFile(m_hDC, hEnhMetaFile, lpBounds);
}

BOOL CDC::AddMetaFileComment(UINT nDataSize, const BYTE* pCommentData)
{
    return ::GdiComment(m_hDC, nDataSize, pCommentData);
}

CMetaFileDC::~CMetaFileDC()
{
    // Unclosed recording: close it so the handles are not lost, and discard the result.
    if (m_hDC != NULL) {
        if (::GetObjectType(m_hDC) == OBJ_ENHMETADC)
            ::DeleteEnhMetaFile(CloseEnhanced());
        else
            ::DeleteMetaFile(Close());
    }
}

BOOL CMetaFileDC::Create(LPCTSTR lpszFilename)
{
    ASSERT(m_hDC == NULL);
    m_hDC = ::CreateMetaFileA(lpszFilename);
    // An old-style metafile cannot answer queries: there is no attribute DC.
    return m_hDC != NULL;
}

BOOL CMetaFileDC::CreateEnhanced(CDC* pDCRef, LPCTSTR lpszFileName, LPCRECT lpBounds,
                                 LPCTSTR lpszDescription)
{
    ASSERT(m_hDC == NULL);
    HDC hRef = pDCRef != NULL ? pDCRef->m_hAttribDC : NULL;
    m_hDC = ::CreateEnhMetaFileA(hRef, lpszFileName, lpBounds, lpszDescription);
    if (m_hDC == NULL)
        return FALSE;
    // The metafile DC answers for the reference device itself.
    m_hAttribDC = m_hDC;
    return TRUE;
}

HMETAFILE CMetaFileDC::Close()
{
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = NULL;
    return h != NULL ? ::CloseMetaFile(h) : NULL;
}

HENHMETAFILE CMetaFileDC::CloseEnhanced()
{
    HDC h = m_hDC;
    m_hDC = m_hAttribDC = NULL;
    return h != NULL ? ::CloseEnhMetaFile(h) : NULL;
}

void CMetaFileDC::SetAttribDC(HDC hDC) { m_hAttribDC = hDC; }
