#include "TransparentBitmap.h"
#include <vector>

CTransparentBitmap::CTransparentBitmap()
    : m_nImageWidth(0), m_nImageHeight(0), m_hMask(NULL), m_bPaletteValid(FALSE)
{
}

CTransparentBitmap::~CTransparentBitmap()
{
    if (m_hMask)
        ::DeleteObject(m_hMask);
    m_palette.DeleteObject();
    DeleteObject();
}

void CTransparentBitmap::DeleteImage()
{
    if (m_hMask)
        ::DeleteObject(m_hMask);
    m_hMask = NULL;
    m_palette.DeleteObject();
    m_bPaletteValid = FALSE;
    m_nImageWidth = m_nImageHeight = 0;
    DeleteObject();
    // The DIB members describe only sections this class's base made itself.
    m_pBits = NULL;
    m_nWidth = m_nHeight = 0;
}

BOOL CTransparentBitmap::LoadResource(LPCTSTR name)
{
    DeleteImage();
    HBITMAP bitmap = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), name, IMAGE_BITMAP, 0, 0,
                                           LR_CREATEDIBSECTION);
    if (!bitmap)
        return FALSE;
    Attach(bitmap);
    // The section may carry a full 256-entry table; the palette takes the resource's own.
    int colours = 0;
    HINSTANCE module = AfxGetResourceHandle();
    if (HRSRC info = ::FindResourceA(module, name, (LPCSTR)RT_BITMAP)) {
        HGLOBAL block = ::LoadResource(module, info);
        const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)::LockResource(block);
        if (header && ::SizeofResource(module, info) >= sizeof *header &&
            header->biSize >= sizeof *header)
            colours = ColourCount(header->biClrUsed, header->biBitCount);
    }
    m_bPaletteValid = BuildPalette(colours);
    return TRUE;
}

BOOL CTransparentBitmap::LoadFile(LPCTSTR path)
{
    DeleteImage();
    CDC dc;
    if (!dc.CreateCompatibleDC(NULL))
        return FALSE;
    if (CBitmapDIB::LoadFile(path, &dc, 0, 255))
        return TRUE;
    DeleteImage();
    return FALSE;
}

// Colours of a DIB: its used-colour count, or all that its depth holds; more than 256
// stands for the deep bitmaps without a colour table.
int CTransparentBitmap::ColourCount(DWORD used, WORD bitCount)
{
    if (bitCount > 8)
        return 257;
    return used ? (int)(used < 256 ? used : 256) : 1 << bitCount;
}

BOOL CTransparentBitmap::CreatePaletteFromBitmap()
{
    return BuildPalette(0);
}

BOOL CTransparentBitmap::BuildPalette(int colours)
{
    if (!m_hObject)
        return FALSE;
    m_palette.DeleteObject();
    if (colours <= 0) {
        DIBSECTION section = {};
        if (::GetObjectA(m_hObject, sizeof section, &section) == sizeof section)
            colours = ColourCount(section.dsBmih.biClrUsed, section.dsBmih.biBitCount);
        else
            colours = 257; // a device bitmap: no colour table of its own
    }

    CClientDC screen(NULL);
    if (colours <= 256) {
        CDC mem;
        mem.CreateCompatibleDC(&screen);
        CBitmap* old = mem.SelectObject(this);
        RGBQUAD table[256];
        UINT n = ::GetDIBColorTable(mem.GetSafeHdc(), 0, colours, table);
        mem.SelectObject(old);
        if (n == 0)
            return FALSE;
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
        return m_palette.CreatePalette(lp);
    }
    return m_palette.CreateHalftonePalette(&screen);
}

void CTransparentBitmap::ReadSize()
{
    BITMAP bm = {};
    if (m_hObject && ::GetObjectA(m_hObject, sizeof bm, &bm)) {
        m_nImageWidth = bm.bmWidth;
        m_nImageHeight = bm.bmHeight;
    }
}

int CTransparentBitmap::GetWidth()
{
    if (m_nImageWidth == 0 || m_nImageHeight == 0)
        ReadSize();
    return m_nImageWidth;
}

int CTransparentBitmap::GetHeight()
{
    if (m_nImageWidth == 0 || m_nImageHeight == 0)
        ReadSize();
    return m_nImageHeight;
}

void CTransparentBitmap::Draw(CDC* pDC, int x, int y)
{
    if (!m_hObject || !pDC || !pDC->GetSafeHdc())
        return;
    CDC mem;
    if (!mem.CreateCompatibleDC(pDC))
        return;
    CBitmap* old = mem.SelectObject(this);
    pDC->BitBlt(x, y, GetWidth(), GetHeight(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(old);
}

// One bit per pixel: 1 (white) where the image has the colour of its top-left pixel. The
// pixels are compared by their colour alone: a loaded file's pixels carry an opaque alpha
// byte that a raster conversion would count as part of the colour.
void CTransparentBitmap::BuildMask(CDC* pTarget)
{
    if (m_hMask)
        ::DeleteObject(m_hMask);
    m_hMask = NULL;
    int w = GetWidth(), h = GetHeight();
    if (w <= 0 || h <= 0)
        return;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h; // top line first
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    std::vector<DWORD> pixels((size_t)w * h);
    if (::GetDIBits(pTarget->GetSafeHdc(), (HBITMAP)m_hObject, 0, h, pixels.data(), &bi,
                    DIB_RGB_COLORS) != h)
        return;
    const DWORD key = pixels[0] & 0xFFFFFF;
    const int stride = ((w + 15) / 16) * 2; // monochrome rows end on a word
    std::vector<BYTE> bits((size_t)stride * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if ((pixels[(size_t)y * w + x] & 0xFFFFFF) == key)
                bits[(size_t)y * stride + x / 8] |= (BYTE)(0x80 >> (x % 8));
    m_hMask = ::CreateBitmap(w, h, 1, 1, bits.data());
}

void CTransparentBitmap::DrawTransparent(CDC* pDC, int x, int y)
{
    if (!m_hObject || !pDC || !pDC->GetSafeHdc())
        return;
    ReadSize();
    int w = m_nImageWidth, h = m_nImageHeight;
    if (w <= 0 || h <= 0)
        return;
    if (!m_hMask)
        BuildMask(pDC);
    if (!m_hMask)
        return;

    // Composed off-screen, so that the target gets one copy and never a half-drawn image.
    CDC work, image, mask;
    work.CreateCompatibleDC(pDC);
    image.CreateCompatibleDC(pDC);
    mask.CreateCompatibleDC(pDC);
    CBitmap off;
    off.CreateBitmap(w, h, pDC->GetDeviceCaps(PLANES), pDC->GetDeviceCaps(BITSPIXEL), NULL);
    CBitmap* oldWork = work.SelectObject(&off);
    work.BitBlt(0, 0, w, h, pDC, x, y, SRCCOPY);

    CBitmap* oldImage = image.SelectObject(this);
    CPalette* oldPalette = NULL;
    if (m_bPaletteValid) {
        oldPalette = work.SelectPalette(&m_palette, FALSE);
        work.RealizePalette();
    }
    HGDIOBJ oldMask = ::SelectObject(mask.GetSafeHdc(), m_hMask);

    // A one-bit source paints its set bits in the background colour and its clear bits in
    // the text colour: white and black make the AND keep the target where the key was.
    work.SetBkColor(RGB(255, 255, 255));
    work.SetTextColor(RGB(0, 0, 0));
    work.BitBlt(0, 0, w, h, &image, 0, 0, SRCINVERT);
    work.BitBlt(0, 0, w, h, &mask, 0, 0, SRCAND);
    work.BitBlt(0, 0, w, h, &image, 0, 0, SRCINVERT);
    pDC->BitBlt(x, y, w, h, &work, 0, 0, SRCCOPY);

    ::SelectObject(mask.GetSafeHdc(), oldMask);
    if (oldPalette)
        work.SelectPalette(oldPalette, FALSE);
    image.SelectObject(oldImage);
    work.SelectObject(oldWork);
}
