#include "pixel_convert.h"
extern "C" {
#include <libswscale/swscale.h>
#include <libavutil/pixfmt.h>
}
#include <cstdlib>
#include <cstring>

static bool IsRgbFormat(int format)
{
    return format == AV_PIX_FMT_BGRA || format == AV_PIX_FMT_BGR24 || format == AV_PIX_FMT_RGB565LE ||
           format == AV_PIX_FMT_RGB555LE;
}

static bool IsRgb(PixelLayout l) { return IsRgbFormat(PixelConverter::FormatOf(l)); }

PixelConverter::~PixelConverter()
{
    for (SwsContext* c : m_ctx)
        sws_freeContext(c);
}

int PixelConverter::FormatOf(PixelLayout layout)
{
    switch (layout) {
    case PixelLayout::RGB32: return AV_PIX_FMT_BGRA;
    case PixelLayout::RGB24: return AV_PIX_FMT_BGR24;
    case PixelLayout::RGB565: return AV_PIX_FMT_RGB565LE;
    case PixelLayout::RGB555: return AV_PIX_FMT_RGB555LE;
    case PixelLayout::YUY2: return AV_PIX_FMT_YUYV422;
    case PixelLayout::UYVY: return AV_PIX_FMT_UYVY422;
    default: return AV_PIX_FMT_NONE;
    }
}


namespace {

// One chroma plane of 4:1:1 widened to 4:2:2: each sample kept, and one between it and the
// next (their mean, at the pixel halfway between them).
void WidenChroma411(const uint8_t* src, int srcStride, int width, int height, uint8_t* dst)
{
    const int in = (width + 3) / 4, out = (width + 1) / 2;
    const int pairs = in - 1 < out / 2 ? in - 1 : out / 2;
    for (int y = 0; y < height; ++y) {
        const uint8_t* s = src + ptrdiff_t(y) * srcStride;
        uint8_t* d = dst + ptrdiff_t(y) * out;
        // Written as pairs of bytes, which the compiler turns into vector work.
        for (int i = 0; i < pairs; ++i) {
            const uint16_t pair = uint16_t(s[i] | ((s[i] + s[i + 1] + 1) >> 1) << 8);
            memcpy(d + 2 * i, &pair, 2);
        }
        // The last sample has none after it: it stands for the rest of the row.
        for (int x = 2 * (pairs > 0 ? pairs : 0); x < out; ++x)
            d[x] = s[x / 2 < in ? x / 2 : in - 1];
    }
}

} // namespace

bool PixelConverter::Convert(int srcFormat, int srcWidth, int srcHeight, const uint8_t* const srcData[4],
                             const int srcStride[4], PixelLayout dst, int dstWidth, int dstHeight, uint8_t* dstPixels)
{
    const int dstFormat = FormatOf(dst);
    const int h = dstHeight < 0 ? -dstHeight : dstHeight;
    if (dstFormat == AV_PIX_FMT_NONE || dstWidth <= 0 || h == 0)
        return false;
    const int row = RowBytes(dst, dstWidth);
    // RGB with a positive height is bottom-up: write from the last row with a negative stride.
    if (IsRgb(dst) && dstHeight > 0)
        return Scale(srcFormat, srcWidth, srcHeight, srcData, srcStride, dstFormat, dstWidth, h,
                     dstPixels + size_t(row) * (h - 1), -row);
    return Scale(srcFormat, srcWidth, srcHeight, srcData, srcStride, dstFormat, dstWidth, h, dstPixels, row);
}

bool PixelConverter::ConvertFieldRows(int srcFormat, int srcWidth, int srcHeight, const uint8_t* const srcData[4],
                                      const int srcStride[4], PixelLayout dst, int dstWidth, int dstHeight,
                                      uint8_t* dstPixels, int parity)
{
    const int dstFormat = FormatOf(dst);
    const int h = dstHeight < 0 ? -dstHeight : dstHeight;
    if ((srcFormat != AV_PIX_FMT_YUV411P && srcFormat != AV_PIX_FMT_YUV422P) || !IsRgb(dst) ||
        dstFormat == AV_PIX_FMT_NONE || srcWidth <= 0 || dstWidth != srcWidth || h != srcHeight ||
        (parity != 0 && parity != 1))
        return false;
    // The scaler converts rows in pairs and a last odd row its own way: whole pictures and
    // fields both of even heights give the same rows.
    if (h % 4 != 0)
        return false;
    // The first picture row that lies at a buffer row of that parity.
    const bool bottomUp = dstHeight > 0;
    const int first = bottomUp ? (h - 1 - parity) & 1 : parity;
    const int rows = h / 2;
    const uint8_t* planes[4] = {};
    int strides[4] = {};
    for (int i = 0; i < 3; ++i) {
        planes[i] = srcData[i] + ptrdiff_t(first) * srcStride[i];
        strides[i] = srcStride[i] * 2;
    }
    const int row = RowBytes(dst, dstWidth);
    const size_t at = size_t(row) * (bottomUp ? h - 1 - first : first);
    if (!Scale(srcFormat, srcWidth, rows, planes, strides, dstFormat, dstWidth, rows, dstPixels + at,
               bottomUp ? -2 * row : 2 * row))
        return false;
    if (parity == 0)
        return true;
    // The odd rows' field shows the first buffer row too (it has no row of its own above
    // it): the pair of picture rows that holds it is converted as the whole picture would.
    const int pair = bottomUp ? h - 2 : 0;
    for (int i = 0; i < 3; ++i)
        planes[i] = srcData[i] + ptrdiff_t(pair) * srcStride[i];
    return Scale(srcFormat, srcWidth, 2, planes, srcStride, dstFormat, dstWidth, 2,
                 dstPixels + size_t(row) * (bottomUp ? 1 : 0), bottomUp ? -row : row);
}

bool PixelConverter::Scale(int srcFormat, int srcWidth, int srcHeight, const uint8_t* const srcData[4],
                           const int srcStride[4], int dstFormat, int dstWidth, int h, uint8_t* dstFirst,
                           int dstStride)
{
    if (srcWidth <= 0 || srcHeight <= 0 || dstWidth <= 0 || h <= 0)
        return false;
    // The scaler has no quick way from 4:1:1 (NTSC DV) to RGB, and its general one takes
    // several times as long as from 4:2:2. At the same size the chroma is widened to 4:2:2
    // first, a band of rows at a time just before the scaler converts those rows, so the
    // widened rows are still in the cache when it reads them.
    if (srcFormat == AV_PIX_FMT_YUV411P && IsRgbFormat(dstFormat) && dstWidth == srcWidth &&
        h == srcHeight) {
        SwsContext* ctx = Context(AV_PIX_FMT_YUV422P, srcWidth, srcHeight, dstFormat, dstWidth, h);
        if (!ctx)
            return false;
        const int chromaStride = (srcWidth + 1) / 2;
        const int plane = chromaStride * kWidenRows;
        m_chroma.resize(size_t(plane) * 2);
        uint8_t* const dst[4] = {dstFirst, nullptr, nullptr, nullptr};
        const int dstStrides[4] = {dstStride, 0, 0, 0};
        const int strides[4] = {srcStride[0], chromaStride, chromaStride, 0};
        // Bands of an even number of rows: the scaler converts rows in pairs.
        for (int y = 0; y < srcHeight; y += kWidenRows) {
            const int rows = srcHeight - y < kWidenRows ? srcHeight - y : kWidenRows;
            WidenChroma411(srcData[1] + ptrdiff_t(y) * srcStride[1], srcStride[1], srcWidth, rows, m_chroma.data());
            WidenChroma411(srcData[2] + ptrdiff_t(y) * srcStride[2], srcStride[2], srcWidth, rows,
                           m_chroma.data() + plane);
            const uint8_t* planes[4] = {srcData[0] + ptrdiff_t(y) * srcStride[0], m_chroma.data(),
                                        m_chroma.data() + plane, nullptr};
            if (sws_scale(ctx, planes, strides, y, rows, dst, dstStrides) <= 0)
                return false;
        }
        return true;
    }
    SwsContext* ctx = Context(srcFormat, srcWidth, srcHeight, dstFormat, dstWidth, h);
    if (!ctx)
        return false;
    uint8_t* planes[4] = {dstFirst, nullptr, nullptr, nullptr};
    int strides[4] = {dstStride, 0, 0, 0};
    return sws_scale(ctx, srcData, srcStride, 0, srcHeight, planes, strides) > 0;
}

SwsContext* PixelConverter::Context(int srcFormat, int srcWidth, int srcHeight, int dstFormat, int dstWidth, int h)
{
    const int key[6] = {srcFormat, srcWidth, srcHeight, dstFormat, dstWidth, h};
    int slot = 0;
    while (slot < kContexts && !(m_ctx[slot] && memcmp(key, m_key[slot], sizeof key) == 0))
        ++slot;
    if (slot == kContexts) {
        slot = m_next;
        m_next = (m_next + 1) % kContexts;
        sws_freeContext(m_ctx[slot]);
        m_ctx[slot] = sws_getContext(srcWidth, srcHeight, AVPixelFormat(srcFormat), dstWidth, h,
                                     AVPixelFormat(dstFormat), SWS_BILINEAR, nullptr, nullptr, nullptr);
        memcpy(m_key[slot], key, sizeof key);
    }
    return m_ctx[slot];
}

bool PixelConverter::Convert(PixelLayout src, int srcWidth, int srcHeight, const uint8_t* srcPixels, PixelLayout dst,
                             int dstWidth, int dstHeight, uint8_t* dstPixels)
{
    const int sh = srcHeight < 0 ? -srcHeight : srcHeight;
    const int dh = dstHeight < 0 ? -dstHeight : dstHeight;
    const int srow = RowBytes(src, srcWidth);
    const bool srcBottomUp = IsRgb(src) && srcHeight > 0;
    const bool dstBottomUp = IsRgb(dst) && dstHeight > 0;
    // Same layout and size: a row copy, flipped when the orientations differ.
    if (src == dst && srcWidth == dstWidth && sh == dh) {
        if (srcBottomUp == dstBottomUp) {
            memcpy(dstPixels, srcPixels, size_t(srow) * sh);
        } else {
            for (int y = 0; y < sh; ++y)
                memcpy(dstPixels + size_t(y) * srow, srcPixels + size_t(sh - 1 - y) * srow, srow);
        }
        return true;
    }
    const uint8_t* planes[4] = {srcPixels, nullptr, nullptr, nullptr};
    int strides[4] = {srow, 0, 0, 0};
    if (srcBottomUp) {
        planes[0] = srcPixels + size_t(srow) * (sh - 1);
        strides[0] = -srow;
    }
    return Convert(FormatOf(src), srcWidth, sh, planes, strides, dst, dstWidth, dstBottomUp ? dh : -dh, dstPixels);
}
