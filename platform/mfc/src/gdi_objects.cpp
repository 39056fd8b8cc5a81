// GDI object wrappers: CGdiObject and its pens, brushes, fonts, bitmaps, palettes and
// regions.
#include "afx.h"
#include "afxgdi_.h"
#include "gdi_maps.h"

static CGdiObject* MakeTempGdiObject(HGDIOBJ h)
{
    // The wrapper's class follows the handle's kind, so CPen::FromHandle and friends hand
    // back an object of the class they name.
    CGdiObject* p;
    switch (::GetObjectType(h)) {
    case OBJ_PEN:
    case OBJ_EXTPEN: p = new CPen; break;
    case OBJ_BRUSH: p = new CBrush; break;
    case OBJ_FONT: p = new CFont; break;
    case OBJ_BITMAP: p = new CBitmap; break;
    case OBJ_PAL: p = new CPalette; break;
    case OBJ_REGION: p = new CRgn; break;
    default: p = new CGdiObject; break;
    }
    p->m_hObject = h;
    return p;
}

static void DetachTempGdiObject(CGdiObject* p) { p->m_hObject = NULL; }

static CGdiHandleMapT<HGDIOBJ, CGdiObject>& GdiMap()
{
    static CGdiHandleMapT<HGDIOBJ, CGdiObject> map(MakeTempGdiObject, DetachTempGdiObject);
    return map;
}

IMPLEMENT_DYNCREATE(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::~CGdiObject() { DeleteObject(); }

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject) { return GdiMap().FromHandle(hObject); }

static std::vector<void (*)()>& TempMapCleanups()
{
    static std::vector<void (*)()> cleanups;
    return cleanups;
}

void AfxRegisterTempMapCleanup(void (*pfnDeleteTemp)()) { TempMapCleanups().push_back(pfnDeleteTemp); }

void PASCAL CGdiObject::DeleteTempMap()
{
    GdiMap().DeleteTemp();
    for (auto pfn : TempMapCleanups())
        pfn();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    ASSERT(m_hObject == NULL);
    if (hObject == NULL)
        return FALSE;
    m_hObject = hObject;
    GdiMap().SetPermanent(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h != NULL)
        GdiMap().RemovePermanent(h, this);
    m_hObject = NULL;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == NULL)
        return FALSE;
    GdiMap().ForgetTemp(m_hObject, this);
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return ::GetObjectA(m_hObject, nCount, lpObject);
}

UINT CGdiObject::GetObjectType() const { return (UINT)::GetObjectType(m_hObject); }

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    // Stock objects are not deleted by DeleteObject, so owning one is harmless.
    return Attach(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject() { return ::UnrealizeObject(m_hObject); }

// ---------------------------------------------------------------------------------------------

static void ThrowIfNull(BOOL ok)
{
    if (!ok)
        AfxThrowResourceException();
}

CPen::CPen(int nPenStyle, int nWidth, COLORREF crColor)
{
    ThrowIfNull(CreatePen(nPenStyle, nWidth, crColor));
}

CPen::CPen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
           const DWORD* lpStyle)
{
    ThrowIfNull(CreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
{
    return Attach(::CreatePen(nPenStyle, nWidth, crColor));
}

BOOL CPen::CreatePen(int nPenStyle, int nWidth, const LOGBRUSH* pLogBrush, int nStyleCount,
                     const DWORD* lpStyle)
{
    return Attach(::ExtCreatePen(nPenStyle, nWidth, pLogBrush, nStyleCount, lpStyle));
}

BOOL CPen::CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }

CBrush::CBrush(COLORREF crColor) { ThrowIfNull(CreateSolidBrush(crColor)); }
CBrush::CBrush(int nIndex, COLORREF crColor) { ThrowIfNull(CreateHatchBrush(nIndex, crColor)); }
CBrush::CBrush(CBitmap* pBitmap) { ThrowIfNull(CreatePatternBrush(pBitmap)); }

BOOL CBrush::CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    return Attach(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* lpLogBrush)
{
    return Attach(::CreateBrushIndirect(lpLogBrush));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return pBitmap != NULL && Attach(::CreatePatternBrush((HBITMAP)pBitmap->GetSafeHandle()));
}

BOOL CBrush::CreateDIBPatternBrush(HGLOBAL hPackedDIB, UINT nUsage)
{
    return Attach(::CreateDIBPatternBrush(hPackedDIB, nUsage));
}

BOOL CBrush::CreateDIBPatternBrush(const void* lpPackedDIB, UINT nUsage)
{
    return Attach(::CreateDIBPatternBrushPt(lpPackedDIB, nUsage));
}

BOOL CBrush::CreateSysColorBrush(int nIndex) { return Attach(::GetSysColorBrush(nIndex)); }

// ---------------------------------------------------------------------------------------------

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont)
{
    return Attach(::CreateFontIndirectA(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight,
                       BYTE bItalic, BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet,
                       BYTE nOutPrecision, BYTE nClipPrecision, BYTE nQuality,
                       BYTE nPitchAndFamily, LPCTSTR lpszFacename)
{
    return Attach(::CreateFontA(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic,
                                bUnderline, cStrikeOut, nCharSet, nOutPrecision, nClipPrecision,
                                nQuality, nPitchAndFamily, lpszFacename));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCTSTR lpszFaceName, CDC* pDC)
{
    LOGFONT lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    lstrcpynA(lf.lfFaceName, lpszFaceName ? lpszFaceName : "", LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONT* lpLogFont, CDC* pDC)
{
    // lfHeight is in tenths of a point: make it the character height in the DC's logical
    // units (a negative height asks for the character cell without the leading).
    HDC hDC = pDC != NULL ? pDC->m_hAttribDC : ::GetDC(NULL);
    LOGFONT lf = *lpLogFont;
    POINT pt;
    pt.y = ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lf.lfHeight, 720);
    pt.x = 0;
    ::DPtoLP(hDC, &pt, 1);
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &ptOrg, 1);
    lf.lfHeight = -abs(pt.y - ptOrg.y);
    if (pDC == NULL)
        ::ReleaseDC(NULL, hDC);
    return CreateFontIndirect(&lf);
}

// ---------------------------------------------------------------------------------------------

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap)
{
    return Attach(::LoadBitmapA(NULL, MAKEINTRESOURCEA(nIDBitmap)));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount,
                           const void* lpBits)
{
    return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap)
{
    return Attach(::CreateBitmapIndirect(lpBitmap));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CBitmap::CreateDiscardableBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateDiscardableBitmap(pDC->m_hDC, nWidth, nHeight));
}

DWORD CBitmap::SetBitmapBits(DWORD dwCount, const void* lpBits)
{
    return ::SetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits);
}

DWORD CBitmap::GetBitmapBits(DWORD dwCount, LPVOID lpBits) const
{
    return ::GetBitmapBits((HBITMAP)m_hObject, dwCount, lpBits);
}

CSize CBitmap::SetBitmapDimension(int nWidth, int nHeight)
{
    SIZE size = {0, 0};
    ::SetBitmapDimensionEx((HBITMAP)m_hObject, nWidth, nHeight, &size);
    return size;
}

CSize CBitmap::GetBitmapDimension() const
{
    SIZE size = {0, 0};
    ::GetBitmapDimensionEx((HBITMAP)m_hObject, &size);
    return size;
}

// ---------------------------------------------------------------------------------------------

BOOL CPalette::CreatePalette(LPLOGPALETTE lpLogPalette)
{
    return Attach(::CreatePalette(lpLogPalette));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC)
{
    return pDC != NULL && Attach(::CreateHalftonePalette(pDC->m_hDC));
}

int CPalette::GetEntryCount()
{
    WORD n = 0;
    ::GetObjectA(m_hObject, sizeof(n), &n);
    return n;
}

UINT CPalette::GetPaletteEntries(UINT nStartIndex, UINT nNumEntries,
                                 LPPALETTEENTRY lpPaletteColors) const
{
    return ::GetPaletteEntries((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::SetPaletteEntries(UINT nStartIndex, UINT nNumEntries,
                                 LPPALETTEENTRY lpPaletteColors)
{
    return ::SetPaletteEntries((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
}

void CPalette::AnimatePalette(UINT nStartIndex, UINT nNumEntries, LPPALETTEENTRY lpPaletteColors)
{
    ::AnimatePalette((HPALETTE)m_hObject, nStartIndex, nNumEntries, lpPaletteColors);
}

UINT CPalette::GetNearestPaletteIndex(COLORREF crColor) const
{
    return ::GetNearestPaletteIndex((HPALETTE)m_hObject, crColor);
}

BOOL CPalette::ResizePalette(UINT nNumEntries)
{
    return ::ResizePalette((HPALETTE)m_hObject, nNumEntries);
}

// ---------------------------------------------------------------------------------------------

BOOL CRgn::CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateRectRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }

BOOL CRgn::CreateEllipticRgn(int x1, int y1, int x2, int y2)
{
    return Attach(::CreateEllipticRgn(x1, y1, x2, y2));
}

BOOL CRgn::CreateEllipticRgnIndirect(LPCRECT lpRect)
{
    return Attach(::CreateEllipticRgnIndirect(lpRect));
}

BOOL CRgn::CreatePolygonRgn(LPPOINT lpPoints, int nCount, int nMode)
{
    return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
}

BOOL CRgn::CreatePolyPolygonRgn(LPPOINT lpPoints, LPINT lpPolyCounts, int nCount,
                                int nPolyFillMode)
{
    return Attach(::CreatePolyPolygonRgn(lpPoints, lpPolyCounts, nCount, nPolyFillMode));
}

BOOL CRgn::CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
{
    return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
}

BOOL CRgn::CreateFromPath(CDC* pDC) { return Attach(::PathToRegion(pDC->m_hDC)); }

BOOL CRgn::CreateFromData(const XFORM* lpXForm, int nCount, const RGNDATA* pRgnData)
{
    return Attach(::ExtCreateRegion(lpXForm, nCount, pRgnData));
}

void CRgn::SetRectRgn(int x1, int y1, int x2, int y2)
{
    ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2);
}

void CRgn::SetRectRgn(LPCRECT r) { SetRectRgn(r->left, r->top, r->right, r->bottom); }

int CRgn::CombineRgn(CRgn* pRgn1, CRgn* pRgn2, int nCombineMode)
{
    return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgn1->GetSafeHandle(),
                        (HRGN)pRgn2->GetSafeHandle(), nCombineMode);
}

int CRgn::CopyRgn(CRgn* pRgnSrc)
{
    return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgnSrc->GetSafeHandle(), NULL, RGN_COPY);
}

BOOL CRgn::EqualRgn(CRgn* pRgn) const
{
    return ::EqualRgn((HRGN)m_hObject, (HRGN)pRgn->GetSafeHandle());
}

int CRgn::OffsetRgn(int x, int y) { return ::OffsetRgn((HRGN)m_hObject, x, y); }
int CRgn::OffsetRgn(POINT point) { return OffsetRgn(point.x, point.y); }
int CRgn::GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox((HRGN)m_hObject, lpRect); }
BOOL CRgn::PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
BOOL CRgn::PtInRegion(POINT point) const { return PtInRegion(point.x, point.y); }
BOOL CRgn::RectInRegion(LPCRECT lpRect) const { return ::RectInRegion((HRGN)m_hObject, lpRect); }

int CRgn::GetRegionData(LPRGNDATA lpRgnData, int nCount) const
{
    return (int)::GetRegionData((HRGN)m_hObject, nCount, lpRgnData);
}
