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
    // Like the first, but only the picture rows that lie at buffer rows of the given parity
    // (0 even, 1 odd and also the first buffer row, which that field shows) are written;
    // the others are left as they are. Only where each row
    // converts alone (chroma not shared between rows), at the same size and for heights
    // that are a multiple of 4: false otherwise, nothing written.
    bool ConvertFieldRows(int srcFormat, int srcWidth, int srcHeight, const uint8_t* const srcData[4],
                          const int srcStride[4], PixelLayout dst, int dstWidth, int dstHeight, uint8_t* dstPixels,
                          int parity);
    // From one layout to another (same rules for negative heights on both sides).
    bool Convert(PixelLayout src, int srcWidth, int srcHeight, const uint8_t* srcPixels, PixelLayout dst,
                 int dstWidth, int dstHeight, uint8_t* dstPixels);

    static int FormatOf(PixelLayout layout);

private:
    // Converts srcHeight rows into rows dstStride bytes apart from dstFirst.
    bool Scale(int srcFormat, int srcWidth, int srcHeight, const uint8_t* const srcData[4], const int srcStride[4],
               int dstFormat, int dstWidth, int dstHeight, uint8_t* dstFirst, int dstStride);

    // The scaler set-up for that conversion, made when not kept; null when impossible.
    SwsContext* Context(int srcFormat, int srcWidth, int srcHeight, int dstFormat, int dstWidth, int h);

    // Rows of 4:1:1 chroma widened at a time (even: the scaler converts rows in pairs).
    static const int kWidenRows = 16;
    // Scaler set-ups kept: whole pictures, the rows of one field and the pair of rows that
    // the odd field also shows alternate in stepped play.
    static const int kContexts = 3;
    SwsContext* m_ctx[kContexts] = {};
    int m_key[kContexts][6] = {};
    int m_next = 0;
    std::vector<uint8_t> m_chroma;   // both chroma planes of a band of 4:1:1 rows widened to 4:2:2
};
