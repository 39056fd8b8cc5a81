#include "BitmapDIB.h"
#ifndef BITMAPDIB_TOP_DOWN
#include <vfw.h>
#endif
#include <cstring>

CBitmapDIB::CBitmapDIB() : m_pBits(NULL), m_nWidth(0), m_nHeight(0)
{
    memset(&m_bih, 0, sizeof m_bih);
    m_bih.biSize = sizeof m_bih;
    m_bih.biPlanes = 1;
    m_bih.biBitCount = 32;
    m_bih.biCompression = BI_RGB;
#ifndef BITMAPDIB_TOP_DOWN
    m_hDrawDib = NULL;
#endif
}

CBitmapDIB::~CBitmapDIB()
{
#ifndef BITMAPDIB_TOP_DOWN
    if (m_hDrawDib)
        DrawDibClose((HDRAWDIB)m_hDrawDib);
#endif
    DeleteObject();
}

BOOL CBitmapDIB::Create(int width, int height, int bitsPerPixel)
{
    DeleteObject();
    m_pBits = NULL;
    m_nWidth = m_nHeight = 0;
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0)
        return FALSE;
    m_bih.biWidth = width;
#ifdef BITMAPDIB_TOP_DOWN
    m_bih.biHeight = -height;
#else
    m_bih.biHeight = height;
#endif
    m_bih.biBitCount = WORD(bitsPerPixel);
    void* bits = NULL;
    HBITMAP section = CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(&m_bih),
                                       DIB_RGB_COLORS, &bits, NULL, 0);
    if (!section)
        return FALSE;
    m_pBits = static_cast<DWORD*>(bits);
    m_nWidth = width;
    m_nHeight = height;
    return Attach(section);
}

void CBitmapDIB::Fill(BYTE value)
{
    if (!m_pBits)
        return;
    GdiFlush();
    const int stride = ((m_nWidth * m_bih.biBitCount + 31) / 32) * 4;
    memset(m_pBits, value, size_t(stride) * m_nHeight);
}

DWORD* CBitmapDIB::Line(int y) const
{
    if (!m_pBits || y < 0 || y >= m_nHeight)
        return NULL;
    return m_pBits + size_t(y) * m_nWidth;
}

namespace {

// Clips a block to the bitmap; false when nothing is left.
bool ClipBlock(int& sx, int& sy, int& width, int& height, int& dx, int& dy, int bw, int bh)
{
    if (dx < 0)
        width += dx, sx -= dx, dx = 0;
    if (dy < 0)
        height += dy, sy -= dy, dy = 0;
    if (dx + width > bw)
        width = bw - dx;
    if (dy + height > bh)
        height = bh - dy;
    return width > 0 && height > 0 && sx >= 0 && sy >= 0;
}

} // namespace

BOOL CBitmapDIB::CopyIn(const void* source, int sx, int sy, int width, int height, int stride,
                        int dx, int dy)
{
    if (!m_hObject || !m_pBits)
        return FALSE;
    GdiFlush();
    if (!source || !ClipBlock(sx, sy, width, height, dx, dy, m_nWidth, m_nHeight))
        return TRUE;
    const DWORD* src = static_cast<const DWORD*>(source);
    for (int k = 0; k < height; ++k)
        memcpy(Line(dy + k) + dx, src + size_t(sy + k) * stride + sx, size_t(width) * 4);
    return TRUE;
}

BOOL CBitmapDIB::CopyField(const void* source, int sx, int sy, int width, int height, int stride,
                           int dx, int dy, int parity)
{
    if (!m_hObject || !m_pBits)
        return FALSE;
    GdiFlush();
    if (!source || width <= 0 || sx < 0 || sy < 0 || dx < 0 || dx + width > m_nWidth)
        return TRUE;
    const DWORD* src = static_cast<const DWORD*>(source);
    for (int k = parity; k < height; k += 2) {
        const DWORD* from = src + size_t(sy + k) * stride + sx;
        if (DWORD* to = Line(dy + k))
            memcpy(to + dx, from, size_t(width) * 4);
        if (k + 1 != height)
            if (DWORD* to = Line(dy + k + 1))
                memcpy(to + dx, from, size_t(width) * 4);
    }
    return TRUE;
}

BOOL CBitmapDIB::CopyKeyed(const void* source, DWORD key, DWORD mask, int sx, int sy, int width,
                           int height, int stride, int dx, int dy, int mode, DWORD replacement)
{
    if (!m_hObject || !m_pBits)
        return FALSE;
    GdiFlush();
    if (!source || !ClipBlock(sx, sy, width, height, dx, dy, m_nWidth, m_nHeight))
        return TRUE;
    const DWORD* src = static_cast<const DWORD*>(source);
    for (int k = 0; k < height; ++k) {
        const DWORD* from = src + size_t(sy + k) * stride + sx;
        DWORD* to = Line(dy + k) + dx;
        for (int i = 0; i < width; ++i) {
            DWORD p = from[i];
            if ((p & mask) == key)
                continue;
            to[i] = mode == 1 ? (p & 0x00FFFFFF) | (replacement & 0xFF000000) : p;
        }
    }
    return TRUE;
}

#ifndef BITMAPDIB_TOP_DOWN
BOOL CBitmapDIB::Draw(CDC* dc, int x, int y, int width, int height, int sx, int sy, int swidth,
                      int sheight)
{
    if (!dc || !m_pBits)
        return FALSE;
    if (!m_hDrawDib)
        m_hDrawDib = DrawDibOpen();
    return DrawDibDraw((HDRAWDIB)m_hDrawDib, dc->m_hDC, x, y, width, height, &m_bih, m_pBits,
                       sx, sy, swidth, sheight, 0);
}
#endif
