#include "TransparentBitmap.h"
#include <vector>

CTransparentBitmap::CTransparentBitmap()
    : m_nBmpWidth(0), m_nBmpHeight(0), m_hMask(NULL), m_bPaletteValid(FALSE)
{
}

CTransparentBitmap::~CTransparentBitmap()
{
    if (m_hMask)
        ::DeleteObject(m_hMask);
    m_palette.DeleteObject();
}

void CTransparentBitmap::DeleteImage()
{
    if (m_hMask)
        ::DeleteObject(m_hMask), m_hMask = NULL;
    m_palette.DeleteObject();
    m_bPaletteValid = FALSE;
    m_nBmpWidth = m_nBmpHeight = 0;
    DeleteObject();
    m_pBits = NULL;
    m_nWidth = m_nHeight = 0;
}

BOOL CTransparentBitmap::LoadResource(LPCTSTR lpszName)
{
    HBITMAP hBitmap = (HBITMAP)::LoadImage(AfxGetResourceHandle(), lpszName, IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION);
    if (!hBitmap)
        return FALSE;
    DeleteImage();
    Attach(hBitmap);
    return CreatePaletteFromBitmap();
}

BOOL CTransparentBitmap::CreatePaletteFromBitmap()
{
    DIBSECTION ds;
    if (!m_hObject || ::GetObject(m_hObject, sizeof ds, &ds) != sizeof ds)
        return FALSE;
    m_palette.DeleteObject();
    const DWORD colors =
        ds.dsBmih.biClrUsed ? ds.dsBmih.biClrUsed
                            : (ds.dsBmih.biBitCount >= 32 ? 0xFFFFFFFF : 1u << ds.dsBmih.biBitCount);
    CDC screen;
    screen.Attach(::GetDC(NULL));
    if (colors <= 256) {
        CDC dc;
        dc.CreateCompatibleDC(&screen);
        CBitmap* old = dc.SelectObject(this);
        RGBQUAD table[256];
        const UINT got = ::GetDIBColorTable(dc.m_hDC, 0, colors, table);
        dc.SelectObject(old);
        std::vector<BYTE> store(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (got ? got : 1));
        LOGPALETTE* pal = reinterpret_cast<LOGPALETTE*>(store.data());
        pal->palVersion = 0x300;
        pal->palNumEntries = WORD(got);
        for (UINT i = 0; i < got; ++i) {
            pal->palPalEntry[i].peRed = table[i].rgbRed;
            pal->palPalEntry[i].peGreen = table[i].rgbGreen;
            pal->palPalEntry[i].peBlue = table[i].rgbBlue;
            pal->palPalEntry[i].peFlags = 0;
        }
        m_palette.CreatePalette(pal);
    } else {
        m_palette.CreateHalftonePalette(&screen);
    }
    ::ReleaseDC(NULL, screen.Detach());
    m_bPaletteValid = TRUE;
    return TRUE;
}

BOOL CTransparentBitmap::LoadFile(LPCTSTR lpszPath)
{
    CDC dc;
    if (!dc.CreateCompatibleDC(NULL))
        return FALSE;
    DeleteImage();
    return CBitmapDIB::LoadFile(lpszPath, &dc, 0, 255);
}

void CTransparentBitmap::ReadSize()
{
    BITMAP bm;
    if (m_hObject && ::GetObject(m_hObject, sizeof bm, &bm)) {
        m_nBmpWidth = bm.bmWidth;
        m_nBmpHeight = bm.bmHeight;
    }
}

int CTransparentBitmap::GetWidth()
{
    if (!m_nBmpWidth || !m_nBmpHeight)
        ReadSize();
    return m_nBmpWidth;
}

int CTransparentBitmap::GetHeight()
{
    if (!m_nBmpWidth || !m_nBmpHeight)
        ReadSize();
    return m_nBmpHeight;
}

void CTransparentBitmap::Draw(CDC* pDC, int x, int y)
{
    if (!pDC || !m_hObject)
        return;
    CDC dc;
    dc.CreateCompatibleDC(pDC);
    CBitmap* old = dc.SelectObject(this);
    pDC->BitBlt(x, y, GetWidth(), GetHeight(), &dc, 0, 0, SRCCOPY);
    dc.SelectObject(old);
}

void CTransparentBitmap::MakeMask(CDC* pTarget)
{
    if (m_hMask)
        ::DeleteObject(m_hMask);
    m_hMask = ::CreateBitmap(m_nBmpWidth, m_nBmpHeight, 1, 1, NULL);
    CDC maskDC, imageDC;
    maskDC.CreateCompatibleDC(pTarget);
    imageDC.CreateCompatibleDC(pTarget);
    HGDIOBJ oldMask = maskDC.SelectObject(m_hMask);
    CBitmap* oldImage = imageDC.SelectObject(this);
    imageDC.SetBkColor(imageDC.GetPixel(0, 0));
    maskDC.BitBlt(0, 0, m_nBmpWidth, m_nBmpHeight, &imageDC, 0, 0, SRCCOPY);
    imageDC.SelectObject(oldImage);
    maskDC.SelectObject(oldMask);
}

void CTransparentBitmap::DrawTransparent(CDC* pDC, int x, int y)
{
    if (!pDC || !m_hObject)
        return;
    ReadSize();
    const int w = m_nBmpWidth, h = m_nBmpHeight;
    if (!m_hMask)
        MakeMask(pDC);
    CDC offDC, imageDC, maskDC;
    offDC.CreateCompatibleDC(pDC);
    imageDC.CreateCompatibleDC(pDC);
    maskDC.CreateCompatibleDC(pDC);
    HBITMAP off = ::CreateBitmap(w, h, pDC->GetDeviceCaps(PLANES), pDC->GetDeviceCaps(BITSPIXEL),
                                 NULL);
    HGDIOBJ oldOff = offDC.SelectObject(off);
    offDC.BitBlt(0, 0, w, h, pDC, x, y, SRCCOPY);
    CBitmap* oldImage = imageDC.SelectObject(this);
    CPalette* oldPalette = NULL;
    if (m_bPaletteValid && m_palette.m_hObject) {
        oldPalette = offDC.SelectPalette(&m_palette, FALSE);
        offDC.RealizePalette();
    }
    HGDIOBJ oldMask = maskDC.SelectObject(m_hMask);
    offDC.SetBkColor(RGB(255, 255, 255));
    offDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCINVERT);
    offDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, SRCAND);
    offDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCINVERT);
    pDC->BitBlt(x, y, w, h, &offDC, 0, 0, SRCCOPY);
    if (oldPalette)
        offDC.SelectPalette(oldPalette, FALSE);
    maskDC.SelectObject(oldMask);
    imageDC.SelectObject(oldImage);
    offDC.SelectObject(oldOff);
    ::DeleteObject(off);
}
