// Picture conversion and scaling with libswscale between FFmpeg frames and the layer's
// uncompressed layouts (RGB rows bottom-up unless the height is negative).
#pragma once
#include "video_formats.h"
#include <cstdint>
#include <vector>

struct SwsContext;

class PixelConverter {
public:
    PixelConverter() = default;
    ~PixelConverter();
    PixelConverter(const PixelConverter&) = delete;
    PixelConverter& operator=(const PixelConverter&) = delete;

    // From planes of an FFmpeg pixel format into a picture of the given layout. dstHeight
    // negative means top-down rows. False when the conversion is not possible.
    bool Convert(int srcFormat, int srcWidth, int srcHeight, const uint8_t* const srcData[4], const int srcStride[4],
                 PixelLayout dst, int dstWidth, int dstHeight, uint8_t* dstPixels);
    // From one layout to another (same rules for negative heights on both sides).
    bool Convert(PixelLayout src, int srcWidth, int srcHeight, const uint8_t* srcPixels, PixelLayout dst,
                 int dstWidth, int dstHeight, uint8_t* dstPixels);

    static int FormatOf(PixelLayout layout);

private:
    SwsContext* m_ctx = nullptr;
    std::vector<uint8_t> m_chroma;   // both chroma planes of a 4:1:1 picture widened to 4:2:2
    int m_key[6] = {};
};
