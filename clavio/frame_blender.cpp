#include "frame_blender.h"
#include <algorithm>
#include <cstddef>
#include <cstring>

CFrameBlender::CFrameBlender()
    : m_nFrameX(0), m_nFrameY(0), m_nFrameWidth(720), m_nFrameHeight(480)
{
}

bool CFrameBlender::ClipRect(int* sx, int* sy, int* w, int* h, int* dx, int* dy) const
{
    const int X = m_nFrameX, Y = m_nFrameY, W = m_nFrameWidth, H = m_nFrameHeight;
    if (*dx < X) {
        *w -= X - *dx;
        *sx += X - *dx;
        *dx = X;
    }
    if (*w < 1)
        return true;
    if (*dx + *w - 1 > X + W - 1) {
        *w = X + W - *dx;
        if (*w < 1)
            return true;
    }
    if (*dy < Y) {
        *h -= Y - *dy;
        *sy += Y - *dy;
        *dy = Y;
    }
    if (*h < 1)
        return true;
    if (*dy + *h - 1 > Y + H - 1) {
        *h = Y + H - *dy;
        if (*h < 1)
            return true;
    }
    return false;
}

bool CFrameBlender::ClipToSource(int& sx, int& sy, int& w, int& h, int& dx, int& dy,
                                 int width, int height, bool flipped)
{
    if (width >= 0) {
        if (sx < 0) {
            w += sx;
            dx -= sx;
            sx = 0;
        }
        if (sx + w > width)
            w = width - sx;
        if (w < 1)
            return false;
    }
    if (height >= 0) {
        if (sy < 0) {
            // Dropping the first source lines drops the last destination lines of a
            // flipped copy, the first ones of a straight copy.
            h += sy;
            if (!flipped)
                dy -= sy;
            sy = 0;
        }
        if (sy + h > height) {
            int cut = sy + h - height;
            h -= cut;
            if (flipped)
                dy += cut;
        }
        if (h < 1)
            return false;
    }
    return true;
}

bool CFrameBlender::Clip(int& sx, int& sy, int& w, int& h, int& dx, int& dy, bool flipped,
                         bool withSourceB) const
{
    if (w < 1 || h < 1 || ClipRect(&sx, &sy, &w, &h, &dx, &dy))
        return false;
    if (!ClipToSource(sx, sy, w, h, dx, dy, m_nSourceWidth, m_nSourceHeight, flipped))
        return false;
    if (withSourceB &&
        !ClipToSource(sx, sy, w, h, dx, dy, m_nSourceBWidth, m_nSourceBHeight, flipped))
        return false;
    return true;
}

void CFrameBlender::Copy(int sx, int sy, int w, int h, int dx, int dy)
{
    if (!Clip(sx, sy, w, h, dx, dy, false, false))
        return;
    for (int k = 0; k < h; ++k)
        memcpy(m_pDest + (ptrdiff_t)(dy + k) * m_nDestStride + dx,
               m_pSource + (ptrdiff_t)(sy + k) * m_nSourceStride + sx, w * sizeof(uint32_t));
}

void CFrameBlender::CopyField(int sx, int sy, int w, int h, int dx, int dy, bool odd)
{
    if (!Clip(sx, sy, w, h, dx, dy, false, false))
        return;
    int k = ((dy & 1) != (odd ? 1 : 0)) ? 1 : 0;
    for (; k < h; k += 2)
        memcpy(m_pDest + (ptrdiff_t)(dy + k) * m_nDestStride + dx,
               m_pSource + (ptrdiff_t)(sy + k) * m_nSourceStride + sx, w * sizeof(uint32_t));
}

void CFrameBlender::FillField(uint8_t value, int dx, int dy, int w, int h, bool odd)
{
    int sx = 0, sy = 0;
    if (w < 1 || h < 1 || ClipRect(&sx, &sy, &w, &h, &dx, &dy))
        return;
    const uint32_t pixel = value * 0x01010101u;
    int k = ((dy & 1) != (odd ? 1 : 0)) ? 1 : 0;
    for (; k < h; k += 2)
        std::fill_n(m_pDest + (ptrdiff_t)(dy + k) * m_nDestStride + dx, w, pixel);
}

void CFrameBlender::BlendLine(const uint32_t* s, uint32_t* d, int w) const
{
    for (int i = 0; i < w; ++i) {
        const uint32_t sp = s[i], dp = d[i];
        const uint32_t A = sp >> 24;
        if (A == 255) {
            d[i] = sp;
            continue;
        }
        if (A == 0 || dp == sp)
            continue;
        const uint32_t a = (A * 256) / 255, na = 256 - a;
        const uint32_t r = (((dp >> 16) & 0xFF) * na + ((sp >> 16) & 0xFF) * a) >> 8;
        const uint32_t g = (((dp >> 8) & 0xFF) * na + ((sp >> 8) & 0xFF) * a) >> 8;
        const uint32_t b = ((dp & 0xFF) * na + (sp & 0xFF) * a) >> 8;
        const uint32_t top = std::min<uint32_t>((dp >> 24) + A, 255);
        d[i] = (top << 24) | (r << 16) | (g << 8) | b;
    }
}

void CFrameBlender::Blend(int sx, int sy, int w, int h, int dx, int dy)
{
    if (!Clip(sx, sy, w, h, dx, dy, false, false))
        return;
    for (int k = 0; k < h; ++k)
        BlendLine(m_pSource + (ptrdiff_t)(sy + k) * m_nSourceStride + sx,
                  m_pDest + (ptrdiff_t)(dy + k) * m_nDestStride + dx, w);
}

void CFrameBlender::BlendField(int sx, int sy, int w, int h, int dx, int dy, bool odd)
{
    if (!Clip(sx, sy, w, h, dx, dy, false, false))
        return;
    int k = ((dy & 1) != (odd ? 1 : 0)) ? 1 : 0;
    for (; k < h; k += 2)
        BlendLine(m_pSource + (ptrdiff_t)(sy + k) * m_nSourceStride + sx,
                  m_pDest + (ptrdiff_t)(dy + k) * m_nDestStride + dx, w);
}

void CFrameBlender::KeyedCopyFlipped(int sx, int sy, int w, int h, int dx, int dy,
                                     uint32_t key, uint32_t mask)
{
    if (!Clip(sx, sy, w, h, dx, dy, true, false))
        return;
    for (int k = 0; k < h; ++k) {
        const uint32_t* s = m_pSource + (ptrdiff_t)(sy + k) * m_nSourceStride + sx;
        uint32_t* d = m_pDest + (ptrdiff_t)(dy + h - 1 - k) * m_nDestStride + dx;
        for (int i = 0; i < w; ++i)
            if ((s[i] & mask) != key)
                d[i] = s[i];
    }
}

void CFrameBlender::Blend2(int sx, int sy, int w, int h, int dx, int dy)
{
    if (!Clip(sx, sy, w, h, dx, dy, false, true))
        return;
    for (int k = 0; k < h; ++k) {
        const uint32_t* a = m_pSource + (ptrdiff_t)(sy + k) * m_nSourceStride + sx;
        const uint32_t* b = m_pSourceB + (ptrdiff_t)(sy + k) * m_nSourceBStride + sx;
        uint32_t* d = m_pDest + (ptrdiff_t)(dy + k) * m_nDestStride + dx;
        for (int i = 0; i < w; ++i) {
            const uint32_t ap = a[i], bp = b[i];
            const uint32_t weight =
                m_bUseConstantAlpha ? (uint32_t)m_nConstantAlpha : ((ap >> 24) * 256) / 255;
            if (weight == 255) {
                d[i] = m_bAlphaMode ? ap : ((ap & 0x00FFFFFF) | (bp & 0xFF000000));
                continue;
            }
            if (weight == 0) {
                d[i] = bp;
                continue;
            }
            const uint32_t nw = 256 - weight;
            const uint32_t r = (((bp >> 16) & 0xFF) * nw + ((ap >> 16) & 0xFF) * weight) >> 8;
            const uint32_t g = (((bp >> 8) & 0xFF) * nw + ((ap >> 8) & 0xFF) * weight) >> 8;
            const uint32_t bl = ((bp & 0xFF) * nw + (ap & 0xFF) * weight) >> 8;
            const uint32_t top = m_bAlphaMode ? std::min<uint32_t>((ap >> 24) + (bp >> 24), 255)
                                              : (bp >> 24);
            d[i] = (top << 24) | (r << 16) | (g << 8) | bl;
        }
    }
}
