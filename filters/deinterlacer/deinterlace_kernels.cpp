#include "deinterlace_kernels.h"
#include "stretch.h"
#include <cstring>

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
    // A row of the block read after it has been made (the last line of the second field
    // of the heights that need it) is read from a copy kept beforehand; one such row at most.
    int kept = -1;
    for (int y = 0; y < rows; ++y) {
        const int from = FieldRow(StretchSourceRow(y, H, rows), field, fixUp, H), to = top + y;
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
    int lastFrom = -1;
    for (int y = rows - 1; y >= 0; --y) {
        const int from = FieldRow(StretchSourceRow(y, H, rows), field, fixUp, H);
        const uint32_t* s = from == kept ? saved : reinterpret_cast<const uint32_t*>(f.Row(from));
        uint32_t* d = reinterpret_cast<uint32_t*>(f.Row(top + y));
        // Most field rows make two rows of the picture: the second is a copy of the first.
        if (from == lastFrom) {
            memcpy(d, f.Row(top + y + 1), size_t(f.Pitch()));
            continue;
        }
        lastFrom = from;
        if (width == W) {
            if (s != d)
                memcpy(d, s, size_t(W) * 4);
        } else {
            for (int x = 0; x < width; ++x)
                d[x] = s[colMap[x]];
            memset(d + width, 0, tail);
        }
    }
    if (top > 0)
        memset(f.Row(0), 0, size_t(top) * size_t(f.Pitch()));
    if (top + rows < H)
        memset(f.Row(top + rows), 0, size_t(H - top - rows) * size_t(f.Pitch()));
    return true;
}
