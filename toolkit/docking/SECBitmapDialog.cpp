// The bitmap dialog: the background image and its three display modes, palettes, and
// transparent static controls.
#include "SECBitmapDialog.h"
#include <memory>

IMPLEMENT_DYNAMIC(SECBitmapDialog, CDialog)

BEGIN_MESSAGE_MAP(SECBitmapDialog, CDialog)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
END_MESSAGE_MAP()

SECBitmapDialog::SECBitmapDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd), m_pBrush(new CBrush), m_pImage(NULL),
      m_nDisplayMode(tile), m_pPalette(NULL)
{
    m_pBrush->CreateStockObject(NULL_BRUSH);
}

SECBitmapDialog::SECBitmapDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CDialog(lpszTemplateName, pParentWnd), m_pBrush(new CBrush), m_pImage(NULL),
      m_nDisplayMode(tile), m_pPalette(NULL)
{
    m_pBrush->CreateStockObject(NULL_BRUSH);
}

SECBitmapDialog::~SECBitmapDialog()
{
    delete m_pImage;
    delete m_pBrush;
}

BOOL SECBitmapDialog::TakeImage(SECDib* pImage, int nDisplayMode)
{
    delete m_pImage;
    m_pImage = pImage;
    m_nDisplayMode = nDisplayMode;
    SetPalette(m_pImage->m_pPalette);
    // A palette screen shows colour images without a table through a halftone palette.
    SetHalftone(m_pImage->m_nDispBits != 0 && m_pImage->m_nBitCount > 8);
    return TRUE;
}

BOOL SECBitmapDialog::SetBitmap(LPCTSTR lpszResourceName, int nDisplayMode)
{
    HBITMAP hBitmap = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), lpszResourceName,
                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    if (hBitmap == NULL)
        return FALSE;
    CBitmap bitmap;
    bitmap.Attach(hBitmap);
    std::unique_ptr<SECDib> image(new SECDib);
    if (!image->CreateFromBitmap(NULL, &bitmap))
        return FALSE;
    return TakeImage(image.release(), nDisplayMode);
}

BOOL SECBitmapDialog::SetBitmapId(UINT nIDResource, int nDisplayMode)
{
    return SetBitmap(MAKEINTRESOURCE(nIDResource), nDisplayMode);
}

BOOL SECBitmapDialog::SetBitmapImage(SECDib* pImage, int nDisplayMode)
{
    if (pImage == NULL) {
        ClearBitmap();
        return FALSE;
    }
    std::unique_ptr<SECDib> copy(new SECDib);
    if (!copy->CopyFrom(*pImage))
        return FALSE;
    return TakeImage(copy.release(), nDisplayMode);
}

void SECBitmapDialog::ClearBitmap()
{
    delete m_pImage;
    m_pImage = NULL;
    m_pPalette = NULL;
}

CPalette* SECBitmapDialog::SetPalette(CPalette* pPalette)
{
    CPalette* pOld = m_pPalette;
    m_pPalette = pPalette;
    if (m_hWnd != NULL)
        RealizeOwnPalette(FALSE);
    return pOld;
}

void SECBitmapDialog::SetHalftone(BOOL bHalftone)
{
    if (m_pImage != NULL)
        m_pImage->m_bHalftone = bHalftone;
}

HBRUSH SECBitmapDialog::GetTransparentBrush() { return (HBRUSH)m_pBrush->GetSafeHandle(); }

HBRUSH SECBitmapDialog::OnTransparentCtlColor(CDC* pDC, CWnd*)
{
    pDC->SetBkMode(TRANSPARENT);
    return GetTransparentBrush();
}

int SECBitmapDialog::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    int result = CDialog::OnCreate(lpCreateStruct);
    m_pPalette = m_pImage != NULL ? m_pImage->m_pPalette : NULL;
    return result;
}

BOOL SECBitmapDialog::OnEraseBkgnd(CDC* pDC)
{
    if (m_pImage == NULL || m_pImage->m_lpSrcBits == NULL)
        return CDialog::OnEraseBkgnd(pDC);
    const int w = m_pImage->GetWidth(), h = m_pImage->GetHeight();
    CRect client;
    GetClientRect(&client);
    CPalette* pOld = m_pPalette != NULL ? pDC->SelectPalette(m_pPalette, FALSE) : NULL;
    auto draw = [&](int x, int y, int cx, int cy) {
        m_pImage->StretchDIBits(pDC, x, y, cx, cy, 0, 0, w, h, m_pImage->m_lpSrcBits,
                                m_pImage->m_lpBMI, DIB_RGB_COLORS, SRCCOPY);
    };
    if (m_nDisplayMode == center) {
        CDialog::OnEraseBkgnd(pDC);
        draw((client.Width() - w) / 2, (client.Height() - h) / 2, w, h);
    } else if (m_nDisplayMode == stretch) {
        draw(0, 0, client.Width(), client.Height());
    } else if (w > 0 && h > 0) {  // an empty image is not tiled
        for (int y = 0; y < client.Height(); y += h)
            for (int x = 0; x < client.Width(); x += w)
                draw(x, y, w, h);
    }
    if (pOld != NULL)
        pDC->SelectPalette(pOld, FALSE);
    return TRUE;
}

HBRUSH SECBitmapDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    if (m_pImage != NULL && nCtlColor == CTLCOLOR_STATIC && pWnd != NULL) {
        char cls[64] = {};
        ::GetClassNameA(pWnd->m_hWnd, cls, sizeof cls);
        if (lstrcmpiA(cls, "msctls_trackbar32") != 0)
            return OnTransparentCtlColor(pDC, pWnd);
    }
    return CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
}

BOOL SECBitmapDialog::RealizeOwnPalette(BOOL bBackground)
{
    if (m_pPalette == NULL || m_hWnd == NULL)
        return FALSE;
    CClientDC dc(this);
    CPalette* pOld = dc.SelectPalette(m_pPalette, bBackground);
    UINT changed = dc.RealizePalette();
    if (pOld != NULL)
        dc.SelectPalette(pOld, TRUE);
    if (changed == 0)
        return FALSE;
    Invalidate(TRUE);
    return TRUE;
}

BOOL SECBitmapDialog::OnQueryNewPalette()
{
    const MSG* msg = GetCurrentMessage();
    return RealizeOwnPalette(msg != NULL && msg->message == WM_PALETTECHANGED);
}

void SECBitmapDialog::OnPaletteChanged(CWnd* pFocusWnd)
{
    if (pFocusWnd == this || (pFocusWnd != NULL && IsChild(pFocusWnd)))
        return;
    RealizeOwnPalette(TRUE);
}
