#include "deinterlace_kernels.h"
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
