// Checks of bitmap and Targa files as bytes, kept apart from Win32 so that they can be driven
// natively (sanitizers, fuzzing). Files may come from anywhere: every length is bounded by the
// bytes really there.
#pragma once
#include <cstddef>
#include <cstdint>

namespace dibparse {

// Where the parts of a packed DIB (info or core header, colour table, pixels) lie.
struct DibLayout
{
    uint32_t headerSize;   // 12 for the core header, 40 or more for the info header
    int32_t width;
    int32_t height;        // negative: top-down
    uint16_t bitCount;
    uint32_t compression;  // 0 RGB, 1 RLE8, 2 RLE4, 3 bit fields
    uint32_t colorCount;   // colour-table entries
    uint32_t tableBytes;   // colour table (and the three masks of bit fields after a 40-byte header)
    uint32_t bitsOffset;   // from the start of the block
    uint32_t pixelBytes;   // pixel bytes really there that the picture uses
};

// Largest picture a file may declare (pixels a side, pixels in all).
const int32_t kMaxSide = 32768;
const int64_t kMaxPixels = int64_t(1) << 26;

// Little-endian reads.
inline uint16_t Get16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t Get32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline void Put32(uint8_t* p, uint32_t v)
{
    p[0] = uint8_t(v), p[1] = uint8_t(v >> 8), p[2] = uint8_t(v >> 16), p[3] = uint8_t(v >> 24);
}

// Header queries on a header already checked (or written by the program itself).
int32_t Width(const uint8_t* header);
int32_t Height(const uint8_t* header);
uint32_t ColorCount(const uint8_t* header);
uint32_t ColorTableSize(const uint8_t* header);

// True when the block of size bytes holds a packed DIB that GDI can paint without reading
// past it: a known header, a bit count and compression that go together, a colour table of
// at most 256 entries, and pixels for every row (RLE: at least one byte).
bool CheckPackedDib(const uint8_t* block, size_t size, DibLayout* layout);

// Makes a packed DIB read from a file whose file header puts the pixels at pixelsAt (from
// the start of the block) contiguous with its colour table, and limits the stated image
// size of compressed pictures to the bytes there. size becomes the bytes in use. False when
// the block is no paintable DIB.
bool NormalisePackedDib(uint8_t* block, size_t& size, uint32_t pixelsAt);

// An uncompressed true-colour Targa file (image type 2, 24 or 32 bits a pixel).
struct TargaInfo
{
    int width, height, depth;
    size_t pixelOffset;  // after the header, the image ID and any colour map
};

enum TargaResult { kTargaOk, kTargaUnhandled, kTargaShort };
// kTargaUnhandled for another image type or pixel depth, or a picture with no pixels or
// larger than kMaxSide a side or kMaxPixels in all; kTargaShort for a file shorter than its
// header, image ID and colour map.
TargaResult ReadTargaHeader(const uint8_t* file, size_t size, TargaInfo* info);

// Copies the file's pixels into a 32-bit bottom-up bitmap of bw x bh: the file's first row
// onto the top line, surplus file rows (at the start) and columns skipped, lines and columns
// the file lacks left as they are; stops where the file ends.
void CopyTargaPixels(const uint8_t* file, size_t size, const TargaInfo& info, uint32_t* bits,
                     int bw, int bh);

}  // namespace dibparse
