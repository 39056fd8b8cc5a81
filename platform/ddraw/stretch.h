// Row kernels of the surface layer, apart from COM so that they can be tested and
// measured on plain buffers.
#pragma once
#include <cstddef>
#include <cstdint>

// Source column of each of dw destination columns: the source pixel under the centre of
// the destination pixel (mirrored left to right on request).
void StretchColumnMap(int sw, int dw, bool mirror, int* map);
// Source row of destination row y, the same way.
int StretchSourceRow(int y, int sh, int dh);

// Stretches a (sw x sh) block of 32-bit pixels into a (dw x dh) block, nearest pixel by
// pixel centre, optionally mirrored left to right. Pitches in bytes. The source and
// destination blocks must not overlap. colMap is scratch of at least dw entries.
void StretchPixels32(const uint8_t* src, ptrdiff_t srcPitch, int sw, int sh, uint8_t* dst,
                     ptrdiff_t dstPitch, int dw, int dh, bool mirror, int* colMap);

// Same for any pixel size (1 to 4 bytes), used when a surface is not 32-bit.
void StretchPixels(const uint8_t* src, ptrdiff_t srcPitch, int sw, int sh, uint8_t* dst,
                   ptrdiff_t dstPitch, int dw, int dh, int bytesPerPixel, bool mirror,
                   int* colMap);
