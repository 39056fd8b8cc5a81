// Row kernels of the surface layer, apart from COM so that they can be tested and
// measured on plain buffers.
#pragma once
#include <cstddef>
#include <cstdint>

// Stretches a (sw x sh) block of 32-bit pixels into a (dw x dh) block, nearest pixel by
// pixel centre, optionally mirrored left to right. Pitches in bytes. The source and
// destination blocks must not overlap. colMap is scratch of at least dw entries.
void StretchPixels32(const uint8_t* src, ptrdiff_t srcPitch, int sw, int sh, uint8_t* dst,
                     ptrdiff_t dstPitch, int dw, int dh, bool mirror, int* colMap);

// Same for any pixel size (1 to 4 bytes), used when a surface is not 32-bit.
void StretchPixels(const uint8_t* src, ptrdiff_t srcPitch, int sw, int sh, uint8_t* dst,
                   ptrdiff_t dstPitch, int dw, int dh, int bytesPerPixel, bool mirror,
                   int* colMap);
