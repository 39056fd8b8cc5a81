// Row kernels of the Deinterlacer, on bottom-up frames held in one buffer (row 0 is the
// bottom line). Every kernel bounds its rows and columns by the frame it is given.
#pragma once
#include <cstddef>
#include <cstdint>

struct FrameView {
    uint8_t* bits = nullptr;
    int width = 0, height = 0, bytesPerPixel = 4;
    ptrdiff_t Pitch() const { return ptrdiff_t(width) * bytesPerPixel; }
    uint8_t* Row(int y) const { return bits + y * Pitch(); }
};

// Keeps the rows of one field and doubles them over the rows of the other: for
// r = field + 1, field + 3, ... row r - 1 is copied over row r.
void DoubleField(const FrameView& f, int field);

// Copies the first `columns` pixels of row `from` over row `to` (whole rows for -1).
void CopyRow(const FrameView& f, int from, int to, int columns = -1);

// Crop of one field: for r = base, base + 2, ... below base + rows, `width` pixels of row
// v + r from column x0 go to row field + r at column 0 and are doubled into the row above.
// With field 1 the row below the first kept line (row base) takes that line as well.
// Rows or columns outside the frame are skipped.
void CopyCropField(const FrameView& f, int field, int x0, int v, int base, int width, int rows);

// The full view of one field, worked in the frame's own buffer: the same picture as
// DoubleField (and, for field 1 of the heights that need it, row H - 2 taking row H - 1)
// followed by a nearest-pixel scale of the whole frame into `width` x `rows` pixels whose
// first row is `top`, with every other pixel of the frame set to 0. Rows are made from
// the last down, each from the row of the field it shows, so no row is read after it has
// been written (one row that is, is read from a copy); a geometry where that cannot hold
// (an enlargement) is refused (false) and the frame is left untouched. scratch holds at
// least width + f.width entries.
bool ScaleFieldInPlace(const FrameView& f, int field, bool fixUp, int top, int width, int rows,
                       int* scratch);
