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

bool CBitmapDIB::Ready() const
{
    if (!m_hObject || !m_pBits || m_bih.biBitCount != 32)
        return false;
    GdiFlush();
    return true;
}

DWORD* CBitmapDIB::Line(int y) const
{
    if (!m_pBits || y < 0 || y >= m_nHeight)
        return NULL;
    return m_pBits + size_t(y) * m_nWidth;
}

bool CBitmapDIB::ClipRect(int& x1, int& y1, int& x2, int& y2, int w2, int h2) const
{
    const int w = m_nWidth < w2 ? m_nWidth : w2;
    const int h = m_nHeight < h2 ? m_nHeight : h2;
    x1 = x1 < 0 ? 0 : x1;
    y1 = y1 < 0 ? 0 : y1;
    x2 = x2 >= w ? w - 1 : x2;
    y2 = y2 >= h ? h - 1 : y2;
    return x1 <= x2 && y1 <= y2;
}

namespace {

// Clips a block between a buffer and a bitmap of bw x bh to the bitmap and to the buffer's
// origin; false when nothing is left.
bool ClipBlock(int& sx, int& sy, int& width, int& height, int& dx, int& dy, int bw, int bh)
{
    if (sx < 0)
        width += sx, dx -= sx, sx = 0;
    if (sy < 0)
        height += sy, dy -= sy, sy = 0;
    if (dx < 0)
        width += dx, sx -= dx, dx = 0;
    if (dy < 0)
        height += dy, sy -= dy, dy = 0;
    if (dx + width > bw)
        width = bw - dx;
    if (dy + height > bh)
        height = bh - dy;
    return width > 0 && height > 0;
}

bool IsKey(DWORD p, DWORD key, DWORD mask) { return (p & mask) == key; }

}  // namespace

// Every pixel of the (already clipped) inclusive rectangle through f.
template <class F> void ForEachPixel(DWORD* bits, int width, int x1, int y1, int x2, int y2, F f)
{
    for (int y = y1; y <= y2; ++y) {
        DWORD* row = bits + size_t(y) * width;
        for (int x = x1; x <= x2; ++x)
            row[x] = f(row[x]);
    }
}

BOOL CBitmapDIB::SetAlpha(DWORD value, int x1, int y1, int x2, int y2)
{
    if (!Ready())
        return FALSE;
    if (ClipRect(x1, y1, x2, y2))
        ForEachPixel(m_pBits, m_nWidth, x1, y1, x2, y2,
                     [&](DWORD p) { return value | (p & 0x00FFFFFF); });
    return TRUE;
}

BOOL CBitmapDIB::SetAlphaByKey(DWORD value, int x1, int y1, int x2, int y2, DWORD key,
                               DWORD mask, int match, DWORD keep)
{
    if (!Ready())
        return FALSE;
    if (ClipRect(x1, y1, x2, y2))
        ForEachPixel(m_pBits, m_nWidth, x1, y1, x2, y2, [&](DWORD p) {
            return IsKey(p, key, mask) == (match == 1) ? value | (p & keep) : p;
        });
    return TRUE;
}

BOOL CBitmapDIB::CopyKeyed(const CBitmapDIB* source, DWORD key, DWORD mask, int x1, int y1,
                           int x2, int y2)
{
    if (!Ready())
        return FALSE;
    if (source && source->m_pBits && source != this &&
        ClipRect(x1, y1, x2, y2, source->m_nWidth, source->m_nHeight)) {
        GdiFlush();
        for (int y = y1; y <= y2; ++y) {
            const DWORD* from = source->Line(y);
            DWORD* to = Line(y);
            for (int x = x1; x <= x2; ++x)
                if (!IsKey(from[x], key, mask))
                    to[x] = from[x];
        }
    }
    return TRUE;
}

BOOL CBitmapDIB::CopyFromBuffer(const void* buffer, int bx, int by, int width, int rows,
                                int stride, int x, int y)
{
    return CopyBlock(buffer, false, 0, 0, bx, by, width, rows, stride, x, y, 0, 0);
}

BOOL CBitmapDIB::CopyToBuffer(int x, int y, int width, int rows, void* buffer, int bx, int by,
                              int stride) const
{
    if (!Ready())
        return FALSE;
    // The same clipping with the roles exchanged: the bitmap is the source.
    if (!buffer || !ClipBlock(bx, by, width, rows, x, y, m_nWidth, m_nHeight))
        return TRUE;
    DWORD* to = static_cast<DWORD*>(buffer);
    for (int k = 0; k < rows; ++k)
        memcpy(to + size_t(by + k) * stride + bx, Line(y + k) + x, size_t(width) * 4);
    return TRUE;
}

BOOL CBitmapDIB::CopyFromBufferKeyed(const void* buffer, DWORD key, DWORD mask, int bx, int by,
                                     int width, int rows, int stride, int x, int y,
                                     int alphaMode, DWORD alpha)
{
    return CopyBlock(buffer, true, key, mask, bx, by, width, rows, stride, x, y, alphaMode,
                     alpha);
}

BOOL CBitmapDIB::CopyBlock(const void* buffer, bool keyed, DWORD key, DWORD mask, int bx,
                           int by, int width, int rows, int stride, int x, int y, int alphaMode,
                           DWORD alpha)
{
    if (!Ready())
        return FALSE;
    if (!buffer || !ClipBlock(bx, by, width, rows, x, y, m_nWidth, m_nHeight))
        return TRUE;
    const DWORD* src = static_cast<const DWORD*>(buffer);
    for (int k = 0; k < rows; ++k) {
        const DWORD* from = src + size_t(by + k) * stride + bx;
        DWORD* to = Line(y + k) + x;
        if (!keyed && alphaMode != 1) {
            memcpy(to, from, size_t(width) * 4);
            continue;
        }
        for (int i = 0; i < width; ++i) {
            DWORD p = from[i];
            if (keyed && IsKey(p, key, mask))
                continue;
            to[i] = alphaMode == 1 ? (p & 0x00FFFFFF) | (alpha & 0xFF000000) : p;
        }
    }
    return TRUE;
}

BOOL CBitmapDIB::CopyFieldKeyed(const void* buffer, DWORD key, DWORD mask, int bx, int by,
                                int width, int rows, int stride, int x, int y, int firstRow)
{
    if (!Ready())
        return FALSE;
    if (!buffer || bx < 0 || by < 0 || firstRow < 0)
        return TRUE;
    int cols = width, sx = bx, dx = x, sy = 0, dy = 0, h = 1;
    if (!ClipBlock(sx, sy, cols, h, dx, dy, m_nWidth, 1))
        return TRUE;
    const DWORD* src = static_cast<const DWORD*>(buffer);
    for (int l = firstRow; l < rows; l += 2) {
        const DWORD* from = src + size_t(by + l) * stride + sx;
        DWORD* upper = Line(y + l);
        DWORD* lower = l + 1 != rows ? Line(y + l + 1) : NULL;
        const DWORD* next = src + size_t(by + l + 1) * stride + sx;
        for (int i = 0; i < cols; ++i) {
            const DWORD before = upper ? upper[dx + i] : 0;
            if (upper && !IsKey(from[i], key, mask))
                upper[dx + i] = from[i];
            if (lower) {
                if (!IsKey(next[i], key, mask))
                    lower[dx + i] = next[i];
                else if (upper)
                    lower[dx + i] = before;
            }
        }
    }
    return TRUE;
}

BOOL CBitmapDIB::CopyField(const void* source, int sx, int sy, int width, int height, int stride,
                           int dx, int dy, int parity)
{
    if (!Ready())
        return FALSE;
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

BOOL CBitmapDIB::DoubleField(int width, int rows, int x, int y, int parity, void*, int, int)
{
    if (!Ready())
        return FALSE;
    int x2 = x + width - 1, y1 = 0, y2 = 0;
    if (width <= 0 || !ClipRect(x, y1, x2, y2))
        return TRUE;
    for (int r = y; r < y + rows; r += 2) {
        DWORD* a = Line(r);
        DWORD* b = Line(r + 1);
        if (!a || !b)
            continue;
        if (parity & 1)
            memcpy(a + x, b + x, size_t(x2 - x + 1) * 4);
        else
            memcpy(b + x, a + x, size_t(x2 - x + 1) * 4);
    }
    return TRUE;
}

namespace {

// Weighted mean per byte channel of n pixels.
DWORD Blend(const DWORD* px, const int* weight, int n, int divisor)
{
    DWORD out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        int sum = 0;
        for (int i = 0; i < n; ++i)
            sum += int((px[i] >> shift) & 0xFF) * weight[i];
        out |= DWORD(sum / divisor) << shift;
    }
    return out;
}

}  // namespace

BOOL CBitmapDIB::HalfSize(const CBitmapDIB* source)
{
    if (!Ready())
        return FALSE;
    if (!source || !source->m_pBits)
        return TRUE;
    static const int weight[4] = {50, 20, 20, 10};
    const int w = m_nWidth < source->m_nWidth / 2 ? m_nWidth : source->m_nWidth / 2;
    const int h = m_nHeight < source->m_nHeight / 2 ? m_nHeight : source->m_nHeight / 2;
    for (int y = 0; y < h; ++y) {
        const DWORD* r0 = source->Line(2 * y);
        const DWORD* r1 = source->Line(2 * y + 1);
        DWORD* to = Line(y);
        for (int x = 0; x < w; ++x) {
            const DWORD px[4] = {r0[2 * x], r0[2 * x + 1], r1[2 * x], r1[2 * x + 1]};
            to[x] = Blend(px, weight, 4, 100);
        }
    }
    return TRUE;
}

BOOL CBitmapDIB::ThirdSize(const CBitmapDIB* source)
{
    if (!Ready())
        return FALSE;
    if (!source || !source->m_pBits)
        return TRUE;
    static const int weight[9] = {10, 10, 10, 10, 10, 10, 10, 10, 10};
    const int w = m_nWidth < source->m_nWidth / 3 ? m_nWidth : source->m_nWidth / 3;
    const int h = m_nHeight < source->m_nHeight / 3 ? m_nHeight : source->m_nHeight / 3;
    for (int y = 0; y < h; ++y) {
        const DWORD* r[3] = {source->Line(3 * y), source->Line(3 * y + 1),
                             source->Line(3 * y + 2)};
        DWORD* to = Line(y);
        for (int x = 0; x < w; ++x) {
            DWORD px[9];
            for (int k = 0; k < 9; ++k)
                px[k] = r[k / 3][3 * x + k % 3];
            to[x] = Blend(px, weight, 9, 90);
        }
    }
    return TRUE;
}

BOOL CBitmapDIB::AlphaToGrey()
{
    if (!Ready())
        return FALSE;
    for (size_t i = 0, n = size_t(m_nWidth) * m_nHeight; i < n; ++i)
        m_pBits[i] = (m_pBits[i] >> 24) * 0x01010101u;
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
