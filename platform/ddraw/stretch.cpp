#include "stretch.h"
#include <cstring>

void StretchColumnMap(int sw, int dw, bool mirror, int* map)
{
    const uint64_t step = (uint64_t(sw) << 32) / uint64_t(dw);
    uint64_t pos = step / 2;
    for (int x = 0; x < dw; ++x, pos += step) {
        int s = int(pos >> 32);
        if (s >= sw)
            s = sw - 1;
        map[x] = mirror ? sw - 1 - s : s;
    }
}

int StretchSourceRow(int y, int sh, int dh)
{
    int s = int(((uint64_t(2 * y + 1) * uint64_t(sh)) / uint64_t(dh)) / 2);
    return s >= sh ? sh - 1 : s;
}

void StretchPixels32(const uint8_t* src, ptrdiff_t srcPitch, int sw, int sh, uint8_t* dst,
                     ptrdiff_t dstPitch, int dw, int dh, bool mirror, int* colMap)
{
    if (sw < 1 || sh < 1 || dw < 1 || dh < 1)
        return;
    const bool straight = !mirror && sw == dw;
    if (!straight)
        StretchColumnMap(sw, dw, mirror, colMap);
    int lastRow = -1;
    const uint8_t* lastOut = nullptr;
    for (int y = 0; y < dh; ++y) {
        const int sy = StretchSourceRow(y, sh, dh);
        uint32_t* d = reinterpret_cast<uint32_t*>(dst + y * dstPitch);
        if (sy == lastRow) {
            // Enlarged rows repeat: copy the row already made.
            memcpy(d, lastOut, size_t(dw) * 4);
            continue;
        }
        const uint32_t* s = reinterpret_cast<const uint32_t*>(src + sy * srcPitch);
        if (straight) {
            memcpy(d, s, size_t(dw) * 4);
        } else {
            int x = 0;
            for (; x + 4 <= dw; x += 4) {
                d[x] = s[colMap[x]];
                d[x + 1] = s[colMap[x + 1]];
                d[x + 2] = s[colMap[x + 2]];
                d[x + 3] = s[colMap[x + 3]];
            }
            for (; x < dw; ++x)
                d[x] = s[colMap[x]];
        }
        lastRow = sy;
        lastOut = reinterpret_cast<const uint8_t*>(d);
    }
}

void StretchPixels(const uint8_t* src, ptrdiff_t srcPitch, int sw, int sh, uint8_t* dst,
                   ptrdiff_t dstPitch, int dw, int dh, int bytesPerPixel, bool mirror,
                   int* colMap)
{
    if (bytesPerPixel == 4) {
        StretchPixels32(src, srcPitch, sw, sh, dst, dstPitch, dw, dh, mirror, colMap);
        return;
    }
    if (sw < 1 || sh < 1 || dw < 1 || dh < 1 || bytesPerPixel < 1 || bytesPerPixel > 4)
        return;
    StretchColumnMap(sw, dw, mirror, colMap);
    for (int y = 0; y < dh; ++y) {
        const uint8_t* s = src + StretchSourceRow(y, sh, dh) * srcPitch;
        uint8_t* d = dst + y * dstPitch;
        for (int x = 0; x < dw; ++x)
            memcpy(d + x * bytesPerPixel, s + colMap[x] * bytesPerPixel, bytesPerPixel);
    }
}
