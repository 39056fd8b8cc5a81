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
