#include "DibParse.h"
#include <cstring>

namespace dibparse {

namespace {

bool IsCore(const uint8_t* header) { return Get32(header) == 12; }

uint16_t BitCount(const uint8_t* header)
{
    return IsCore(header) ? Get16(header + 10) : Get16(header + 14);
}

uint32_t Compression(const uint8_t* header) { return IsCore(header) ? 0 : Get32(header + 16); }

}  // namespace

int32_t Width(const uint8_t* header)
{
    return IsCore(header) ? int32_t(Get16(header + 4)) : int32_t(Get32(header + 4));
}

int32_t Height(const uint8_t* header)
{
    return IsCore(header) ? int32_t(Get16(header + 6)) : int32_t(Get32(header + 8));
}

uint32_t ColorCount(const uint8_t* header)
{
    if (!IsCore(header)) {
        uint32_t used = Get32(header + 32);
        if (used)
            return used;
    }
    switch (BitCount(header)) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

uint32_t ColorTableSize(const uint8_t* header)
{
    if (IsCore(header))
        return ColorCount(header) * 3;
    uint32_t bytes = ColorCount(header) * 4;
    // A 40-byte header keeps the three colour masks of bit fields in front of the table.
    if (Compression(header) == 3 && Get32(header) == 40)
        bytes += 12;
    return bytes;
}

namespace {

// Everything but the pixels: headers, sizes, colour table.
bool CheckHeaders(const uint8_t* block, size_t size, DibLayout& l)
{
    if (!block || size < 12)
        return false;
    l = DibLayout();
    l.headerSize = Get32(block);
    uint16_t planes;
    if (l.headerSize == 12) {
        planes = Get16(block + 8);
    } else {
        if (l.headerSize != 40 && l.headerSize != 52 && l.headerSize != 56 &&
            l.headerSize != 108 && l.headerSize != 124)
            return false;
        if (size < l.headerSize)
            return false;
        planes = Get16(block + 12);
    }
    l.width = Width(block);
    l.height = Height(block);
    l.bitCount = BitCount(block);
    l.compression = Compression(block);
    if (planes != 1 || l.width <= 0 || l.height == 0 || l.width > kMaxSide ||
        l.height > kMaxSide || l.height < -kMaxSide)
        return false;
    const int64_t rows = l.height < 0 ? -int64_t(l.height) : l.height;
    if (int64_t(l.width) * rows > kMaxPixels)
        return false;
    switch (l.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return false;
    }
    switch (l.compression) {
    case 0: break;
    case 1: if (l.bitCount != 8 || l.height < 0) return false; break;
    case 2: if (l.bitCount != 4 || l.height < 0) return false; break;
    case 3: if (l.bitCount != 16 && l.bitCount != 32) return false; break;
    default: return false;
    }
    l.colorCount = ColorCount(block);
    if (l.colorCount > 256)
        return false;
    l.tableBytes = ColorTableSize(block);
    l.bitsOffset = l.headerSize + l.tableBytes;
    return l.bitsOffset <= size;
}

}  // namespace

bool CheckPackedDib(const uint8_t* block, size_t size, DibLayout* layout)
{
    DibLayout l;
    if (!CheckHeaders(block, size, l))
        return false;
    const int64_t rows = l.height < 0 ? -int64_t(l.height) : l.height;
    const uint64_t available = size - l.bitsOffset;
    if (l.compression == 1 || l.compression == 2) {
        uint32_t stated = Get32(block + 20);
        if (available == 0)
            return false;
        l.pixelBytes = uint32_t(stated && stated < available ? stated : available);
    } else {
        const uint64_t stride = (uint64_t(l.bitCount) * uint64_t(l.width) + 31) / 32 * 4;
        const uint64_t need = stride * uint64_t(rows);
        if (need > available)
            return false;
        l.pixelBytes = uint32_t(need);
    }
    if (layout)
        *layout = l;
    return true;
}

bool NormalisePackedDib(uint8_t* block, size_t& size, uint32_t pixelsAt)
{
    DibLayout l;
    if (!CheckHeaders(block, size, l))
        return false;
    const uint32_t bitsOffset = l.bitsOffset;
    if (pixelsAt > bitsOffset && pixelsAt <= size) {
        memmove(block + bitsOffset, block + pixelsAt, size - pixelsAt);
        size -= pixelsAt - bitsOffset;
    }
    if (!CheckPackedDib(block, size, &l))
        return false;
    if ((l.compression == 1 || l.compression == 2) && l.headerSize >= 40)
        Put32(block + 20, l.pixelBytes);
    size = size_t(l.bitsOffset) + l.pixelBytes;
    return true;
}

TargaResult ReadTargaHeader(const uint8_t* file, size_t size, TargaInfo* info)
{
    if (!file || size < 18)
        return kTargaShort;
    if (file[2] != 2)
        return kTargaUnhandled;
    const int depth = file[16];
    if (depth != 24 && depth != 32)
        return kTargaUnhandled;
    size_t offset = 18 + size_t(file[0]);  // the image ID
    if (file[1] != 0) {
        // A colour map beside true-colour pixels: skipped.
        const size_t entries = Get16(file + 5);
        const size_t entryBits = file[7];
        offset += entries * ((entryBits + 7) / 8);
    }
    if (offset > size)
        return kTargaShort;
    // The same limits as a bitmap file: a header's word is no reason to make a picture of
    // gigabytes.
    const int width = Get16(file + 12), height = Get16(file + 14);
    if (width == 0 || height == 0 || width > kMaxSide || height > kMaxSide ||
        int64_t(width) * height > kMaxPixels)
        return kTargaUnhandled;
    info->width = width;
    info->height = height;
    info->depth = depth;
    info->pixelOffset = offset;
    return kTargaOk;
}

void CopyTargaPixels(const uint8_t* file, size_t size, const TargaInfo& info, uint32_t* bits,
                     int bw, int bh)
{
    if (!file || !bits || bw <= 0 || bh <= 0 || info.pixelOffset > size)
        return;
    const size_t bpp = size_t(info.depth / 8);
    const size_t rowBytes = size_t(info.width) * bpp;
    const int skip = info.height > bh ? info.height - bh : 0;
    const int columns = info.width < bw ? info.width : bw;
    const uint8_t* end = file + size;
    for (int r = skip; r < info.height; ++r) {
        const int line = bh - 1 - (r - skip);
        if (line < 0)
            break;
        const size_t start = info.pixelOffset + size_t(r) * rowBytes;
        if (start >= size)
            break;
        const uint8_t* p = file + start;
        uint32_t* to = bits + size_t(line) * size_t(bw);
        for (int x = 0; x < columns; ++x, p += bpp) {
            if (size_t(end - p) < bpp)
                return;
            uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
            v |= bpp == 4 ? uint32_t(p[3]) << 24 : 0xFF000000u;
            to[x] = v;
        }
    }
}

}  // namespace dibparse
