#include "deinterlace_kernels.h"
#include "stretch.h"
#include <cstring>
#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

void CopyRow(const FrameView& f, int from, int to, int columns)
{
    if (from < 0 || from >= f.height || to < 0 || to >= f.height || from == to)
        return;
    size_t bytes = size_t(f.Pitch());
    if (columns >= 0 && columns < f.width)
        bytes = size_t(columns) * f.bytesPerPixel;
    memcpy(f.Row(to), f.Row(from), bytes);
}

void DoubleField(const FrameView& f, int field)
{
    const size_t bytes = size_t(f.Pitch());
    for (int r = (field ? 1 : 0) + 1; r < f.height; r += 2)
        memcpy(f.Row(r), f.Row(r - 1), bytes);
}

void CopyCropField(const FrameView& f, int field, int x0, int v, int base, int width, int rows)
{
    if (x0 < 0)
        x0 = 0;
    if (x0 > f.width)
        x0 = f.width;
    if (width > f.width - x0)
        width = f.width - x0;
    if (width <= 0 || rows <= 0)
        return;
    const size_t bytes = size_t(width) * f.bytesPerPixel;
    const size_t offset = size_t(x0) * f.bytesPerPixel;
    for (int r = base; r < base + rows; r += 2) {
        const int src = v + r, dst = field + r;
        if (dst < 0 || dst >= f.height)
            continue;
        if (src >= 0 && src < f.height)
            memmove(f.Row(dst), f.Row(src) + offset, bytes);
        if (dst + 1 < f.height)
            memcpy(f.Row(dst + 1), f.Row(dst), bytes);
    }
    // With the second field the row below the first kept line would keep the uncropped
    // picture: it takes that line too.
    if (field == 1 && base >= 0 && base + 1 < f.height)
        memcpy(f.Row(base), f.Row(base + 1), bytes);
}

namespace {

// Gathers d[x] = s[colMap[x]] for x in 0 .. width - 1 into one or two rows at once (d1 may
// be null). s may be one of the rows written when every column reads at or right of itself:
// each pixel is read before any write at or right of it.
void GatherRowsPlain(const uint32_t* s, const int* colMap, int width, uint32_t* d0,
                     uint32_t* d1)
{
    for (int x = 0; x < width; ++x) {
        const uint32_t v = s[colMap[x]];
        d0[x] = v;
        if (d1)
            d1[x] = v;
    }
}

// Pixels, from the left, that the vector gather may take: whole blocks of 8 columns whose
// map rises by at most 15 across the block without going back (so 16 source pixels from the
// block's first source column hold all 8) and whose 16 source pixels lie within the row.
// The map from a row to a narrower one of at least half its width rises by 1 or 2 per
// column, so all of it but a short end qualifies.
int VectorGatherColumns(const int* colMap, int width, int sourceWidth)
{
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const int b = colMap[x];
        if (b < 0 || b + 16 > sourceWidth || colMap[x + 7] - b > 15)
            break;
        bool rising = true;
        for (int i = 1; i < 8; ++i)
            rising &= colMap[x + i] >= colMap[x + i - 1];
        if (!rising)
            break;
    }
    return x;
}

#if defined(__x86_64__) || defined(__i386__)
// The same gather, 8 pixels a step: two loads of 8 source pixels, each permuted by the
// block's offsets, and the halves chosen by whether the offset passes 7. Every block's loads
// come before its stores, and lie at or right of its first column.
__attribute__((target("avx2"))) void GatherRowsAvx2(const uint32_t* s, const int* colMap,
                                                    int width, int vectorColumns,
                                                    uint32_t* d0, uint32_t* d1)
{
    const __m256i seven = _mm256_set1_epi32(7);
    int x = 0;
    for (; x < vectorColumns; x += 8) {
        const int b = colMap[x];
        const __m256i offset = _mm256_sub_epi32(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(colMap + x)),
            _mm256_set1_epi32(b));
        const __m256i lo = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b));
        const __m256i hi = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + b + 8));
        const __m256i v = _mm256_blendv_epi8(_mm256_permutevar8x32_epi32(lo, offset),
                                             _mm256_permutevar8x32_epi32(hi, offset),
                                             _mm256_cmpgt_epi32(offset, seven));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d0 + x), v);
        if (d1)
            _mm256_storeu_si256(reinterpret_cast<__m256i*>(d1 + x), v);
    }
    GatherRowsPlain(s, colMap + x, width - x, d0 + x, d1 ? d1 + x : nullptr);
}

bool HaveAvx2()
{
    static const bool have = __builtin_cpu_supports("avx2");
    return have;
}
#else
bool HaveAvx2() { return false; }
void GatherRowsAvx2(const uint32_t*, const int*, int, int, uint32_t*, uint32_t*) {}
#endif

void GatherRows(const uint32_t* s, const int* colMap, int width, int vectorColumns,
                uint32_t* d0, uint32_t* d1)
{
    if (vectorColumns > 0 && HaveAvx2())
        GatherRowsAvx2(s, colMap, width, vectorColumns, d0, d1);
    else
        GatherRowsPlain(s, colMap, width, d0, d1);
}

// The row of the field that row r shows once the other field's rows are doubled over.
int FieldRow(int r, int field, bool fixUp, int height)
{
    if (fixUp && field == 1 && r == height - 2)
        r = height - 1;
    if (field == 0)
        return r & ~1;
    return r == 0 || (r & 1) ? r : r - 1;
}

} // namespace

bool ScaleFieldInPlace(const FrameView& f, int field, bool fixUp, int top, int width, int rows,
                       int* scratch)
{
    const int W = f.width, H = f.height;
    if (f.bytesPerPixel != 4 || width < 1 || rows < 1 || width > W || top < 0 || top + rows > H)
        return false;
    int* colMap = scratch;
    uint32_t* saved = reinterpret_cast<uint32_t*>(scratch + width);
    StretchColumnMap(W, width, false, colMap);
    bool ahead = true;   // each column reads at or right of itself: a row may make itself
    for (int x = 0; x < width; ++x)
        ahead &= colMap[x] >= x;
    // The field row that row y of the block shows.
    auto shown = [&](int y) { return FieldRow(StretchSourceRow(y, H, rows), field, fixUp, H); };
    // A row of the block read after it has been made (the last line of the second field
    // of the heights that need it) is read from a copy kept beforehand; one such row at most.
    int kept = -1;
    for (int y = 0; y < rows; ++y) {
        const int from = shown(y), to = top + y;
        if (from == to && !ahead)
            return false;
        if (from > to && from < top + rows) {
            if (kept >= 0 && kept != from)
                return false;
            kept = from;
        }
    }
    if (kept >= 0)
        memcpy(saved, f.Row(kept), size_t(W) * 4);
    const size_t tail = size_t(W - width) * 4;
    const int vectorColumns = width == W ? 0 : VectorGatherColumns(colMap, width, W);
    // Most field rows make two rows of the picture: both are written in one pass.
    int below = shown(rows - 1);   // the field row that row y shows, carried down
    for (int y = rows - 1; y >= 0;) {
        const int from = below;
        int last = y;   // the lowest row of the run of rows showing the same field row
        while (last > 0 && (below = shown(last - 1)) == from)
            --last;
        const uint32_t* s = from == kept ? saved : reinterpret_cast<const uint32_t*>(f.Row(from));
        uint32_t* d0 = reinterpret_cast<uint32_t*>(f.Row(top + y));
        uint32_t* d1 = y > last ? reinterpret_cast<uint32_t*>(f.Row(top + y - 1)) : nullptr;
        // The next field row and the two rows made from it are asked for while this pass
        // runs: in play the other field's rows were last touched a field step ago and are
        // out of the near caches, and the passes are bound by waiting for them.
        if (last > 0) {
            const uint8_t* ns = f.Row(below);
            uint8_t* nd = f.Row(top + last - 1);
            for (ptrdiff_t o = 0; o < f.Pitch(); o += 64) {
                __builtin_prefetch(ns + o, 0);
                __builtin_prefetch(nd + o, 1);
                if (last > 1)
                    __builtin_prefetch(nd - f.Pitch() + o, 1);
            }
        }
        if (width == W) {
            if (s != d0)
                memcpy(d0, s, size_t(W) * 4);
            if (d1 && s != d1)
                memcpy(d1, s, size_t(W) * 4);
        } else {
            GatherRows(s, colMap, width, vectorColumns, d0, d1);
            memset(d0 + width, 0, tail);
            if (d1)
                memset(d1 + width, 0, tail);
        }
        // A field row shown by more than two rows (not met with the reference sizes) gives
        // the rest a copy.
        for (int r = y - 2; r >= last; --r)
            memcpy(f.Row(top + r), d0, size_t(f.Pitch()));
        y = last - 1;
    }
    if (top > 0)
        memset(f.Row(0), 0, size_t(top) * size_t(f.Pitch()));
    if (top + rows < H)
        memset(f.Row(top + rows), 0, size_t(H - top - rows) * size_t(f.Pitch()));
    return true;
}
