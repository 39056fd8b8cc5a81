// A 32-bit DIB-section bitmap: a GDI bitmap object whose pixels are reachable in memory.
// The video control builds it top-down (its pictures are one 0x00RRGGBB word per pixel,
// top line first, lines of width words), the program bottom-up.
#pragma once
#include <afxwin.h>

class CBitmapDIB : public CBitmap
{
public:
    CBitmapDIB();
    virtual ~CBitmapDIB();

    // A zero-filled section of the size; the result of attaching it (FALSE: none made).
    BOOL Create(int width, int height, int bitsPerPixel);
    // Every byte of the pixel memory set to the value.
    void Fill(BYTE value);
    // Copies a block of 32-bit pixels from a buffer (stride in pixels) into the bitmap.
    BOOL CopyIn(const void* source, int sx, int sy, int width, int height, int stride, int dx,
                int dy);
    // The lines k = parity, parity + 2, ... of the block, each written twice (line doubling).
    BOOL CopyField(const void* source, int sx, int sy, int width, int height, int stride,
                   int dx, int dy, int parity);
    // Copies the block, skipping source pixels whose value AND mask equals the key; in
    // mode 1 each copied pixel takes the replacement's top byte.
    BOOL CopyKeyed(const void* source, DWORD key, DWORD mask, int sx, int sy, int width,
                   int height, int stride, int dx, int dy, int mode, DWORD replacement);
#ifndef BITMAPDIB_TOP_DOWN
    BOOL Draw(CDC* dc, int x, int y, int width, int height, int sx, int sy, int swidth,
              int sheight);
#endif

    DWORD* m_pBits;
    int m_nWidth;
    int m_nHeight;
    BITMAPINFOHEADER m_bih;

private:
    // The pixel the copies write: clipped to the bitmap, null outside it.
    DWORD* Line(int y) const;
#ifndef BITMAPDIB_TOP_DOWN
    HANDLE m_hDrawDib;
#endif
};
