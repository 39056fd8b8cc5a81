#include "transbmp.h"
#include <vector>

CTransparentBitmap::CTransparentBitmap()
    : m_hBitmap(NULL), m_hMask(NULL), m_hPalette(NULL), m_bHasPalette(FALSE), m_nWidth(-1),
      m_nHeight(-1)
{
}

CTransparentBitmap::~CTransparentBitmap() { Free(); }

void CTransparentBitmap::Free()
{
    if (m_hBitmap)
        ::DeleteObject(m_hBitmap);
    if (m_hMask)
        ::DeleteObject(m_hMask);
    if (m_hPalette)
        ::DeleteObject(m_hPalette);
    m_hBitmap = NULL;
    m_hMask = NULL;
    m_hPalette = NULL;
    m_bHasPalette = FALSE;
    m_nWidth = m_nHeight = -1;
}

BOOL CTransparentBitmap::Load(LPCTSTR lpszResource)
{
    Free();
    m_hBitmap = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), lpszResource, IMAGE_BITMAP, 0, 0,
                                      LR_CREATEDIBSECTION);
    if (!m_hBitmap)
        return FALSE;

    // The palette: the bitmap's own colour table, or a halftone one for deeper bitmaps.
    HDC screen = ::GetDC(NULL);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, m_hBitmap);
    RGBQUAD table[256];
    UINT n = ::GetDIBColorTable(mem, 0, 256, table);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    if (n > 0) {
        std::vector<BYTE> block(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
        LOGPALETTE* lp = (LOGPALETTE*)block.data();
        lp->palVersion = 0x300;
        lp->palNumEntries = (WORD)n;
        for (UINT i = 0; i < n; ++i) {
            lp->palPalEntry[i].peRed = table[i].rgbRed;
            lp->palPalEntry[i].peGreen = table[i].rgbGreen;
            lp->palPalEntry[i].peBlue = table[i].rgbBlue;
            lp->palPalEntry[i].peFlags = 0;
        }
        m_hPalette = ::CreatePalette(lp);
    } else {
        m_hPalette = ::CreateHalftonePalette(screen);
    }
    ::ReleaseDC(NULL, screen);
    m_bHasPalette = m_hPalette != NULL;
    return TRUE;
}

void CTransparentBitmap::ReadSize()
{
    if (m_nWidth >= 0 || !m_hBitmap)
        return;
    BITMAP bm = {};
    ::GetObjectA(m_hBitmap, sizeof bm, &bm);
    m_nWidth = bm.bmWidth;
    m_nHeight = bm.bmHeight;
}

int CTransparentBitmap::Width()
{
    ReadSize();
    return m_nWidth < 0 ? 0 : m_nWidth;
}

int CTransparentBitmap::Height()
{
    ReadSize();
    return m_nHeight < 0 ? 0 : m_nHeight;
}

COLORREF CTransparentBitmap::TransparentColor()
{
    if (!m_hBitmap)
        return CLR_INVALID;
    HDC mem = ::CreateCompatibleDC(NULL);
    HGDIOBJ old = ::SelectObject(mem, m_hBitmap);
    COLORREF c = ::GetPixel(mem, 0, 0);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    return c;
}

// One bit per pixel: set where the image has the transparent colour.
void CTransparentBitmap::MakeMask()
{
    if (m_hMask || !m_hBitmap)
        return;
    int w = Width(), h = Height();
    COLORREF key = TransparentColor();
    m_hMask = ::CreateBitmap(w, h, 1, 1, NULL);
    HDC image = ::CreateCompatibleDC(NULL), mask = ::CreateCompatibleDC(NULL);
    HGDIOBJ oldImage = ::SelectObject(image, m_hBitmap);
    HGDIOBJ oldMask = ::SelectObject(mask, m_hMask);
    ::SetBkColor(image, key);
    ::BitBlt(mask, 0, 0, w, h, image, 0, 0, SRCCOPY);
    ::SelectObject(mask, oldMask);
    ::SelectObject(image, oldImage);
    ::DeleteDC(mask);
    ::DeleteDC(image);
}

void CTransparentBitmap::Draw(CDC* pDC, int x, int y)
{
    if (!m_hBitmap || !pDC)
        return;
    MakeMask();
    int w = Width(), h = Height();
    HDC target = pDC->GetSafeHdc();

    // Compose off-screen so the target never shows the intermediate steps.
    HDC work = ::CreateCompatibleDC(target);
    HBITMAP workBmp = ::CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldWork = ::SelectObject(work, workBmp);
    ::BitBlt(work, 0, 0, w, h, target, x, y, SRCCOPY);

    HDC image = ::CreateCompatibleDC(target), mask = ::CreateCompatibleDC(target);
    HGDIOBJ oldImage = ::SelectObject(image, m_hBitmap);
    HGDIOBJ oldMask = ::SelectObject(mask, m_hMask);
    HPALETTE oldPal = NULL;
    if (m_hPalette) {
        oldPal = ::SelectPalette(work, m_hPalette, FALSE);
        ::RealizePalette(work);
    }
    // A one-bit source paints its set bits in the background colour, its clear bits in the
    // text colour: white and black make the AND keep the target where the key colour was.
    ::SetBkColor(work, RGB(255, 255, 255));
    ::SetTextColor(work, RGB(0, 0, 0));
    ::BitBlt(work, 0, 0, w, h, image, 0, 0, SRCINVERT);
    ::BitBlt(work, 0, 0, w, h, mask, 0, 0, SRCAND);
    ::BitBlt(work, 0, 0, w, h, image, 0, 0, SRCINVERT);
    if (oldPal)
        ::SelectPalette(work, oldPal, FALSE);

    ::BitBlt(target, x, y, w, h, work, 0, 0, SRCCOPY);

    ::SelectObject(mask, oldMask);
    ::SelectObject(image, oldImage);
    ::DeleteDC(mask);
    ::DeleteDC(image);
    ::SelectObject(work, oldWork);
    ::DeleteObject(workBmp);
    ::DeleteDC(work);
}
