// A 32-bit DIB-section bitmap: a GDI bitmap object whose pixels are reachable in memory.
// The video control builds it top-down (its pictures are one 0x00RRGGBB word per pixel,
// top line first, lines of width words), the program bottom-up (memory row 0 is the bottom
// line). Pixels are 0xAARRGGBB. Rectangles of the pixel operations are inclusive, in memory
// rows, and clipped to the bitmaps (and buffers' origins) involved.
#pragma once
#include <afxwin.h>
#include <climits>

class CBitmapDIB : public CBitmap
{
public:
    CBitmapDIB();
    virtual ~CBitmapDIB();

    // A zero-filled section of the size; the result of attaching it (FALSE: none made).
    BOOL Create(int width, int height, int bitsPerPixel);
    // Every byte of the pixel memory set to the value.
    void Fill(BYTE value);

    // The pixel operations: FALSE (nothing done) without a section, else TRUE.
    BOOL SetAlpha(DWORD value, int x1, int y1, int x2, int y2);
    BOOL SetAlphaByKey(DWORD value, int x1, int y1, int x2, int y2, DWORD key, DWORD mask,
                       int match, DWORD keep);
    // The rectangle of another bitmap, skipping its pixels whose value AND mask is the key.
    BOOL CopyKeyed(const CBitmapDIB* source, DWORD key, DWORD mask, int x1, int y1, int x2,
                   int y2);
    // Blocks of 32-bit pixels between a buffer (stride in pixels) and the bitmap.
    BOOL CopyFromBuffer(const void* buffer, int bx, int by, int width, int rows, int stride,
                        int x, int y);
    BOOL CopyToBuffer(int x, int y, int width, int rows, void* buffer, int bx, int by,
                      int stride) const;
    // As CopyFromBuffer, skipping key pixels; in alpha mode 1 each copied pixel takes the top
    // byte of alpha.
    BOOL CopyFromBufferKeyed(const void* buffer, DWORD key, DWORD mask, int bx, int by,
                             int width, int rows, int stride, int x, int y, int alphaMode,
                             DWORD alpha);
    // Every other row from firstRow, keyed; the row below each (unless it is the block's last
    // line) from the buffer's next row, where that is a key pixel from the row copied.
    BOOL CopyFieldKeyed(const void* buffer, DWORD key, DWORD mask, int bx, int by, int width,
                        int rows, int stride, int x, int y, int firstRow);
    // The lines k = parity, parity + 2, ... of the block, each written twice (line doubling).
    BOOL CopyField(const void* source, int sx, int sy, int width, int height, int stride,
                   int dx, int dy, int parity);
    // Row pairs from y: odd parity copies the upper (r + 1) onto r, even r onto r + 1.
    BOOL DoubleField(int width, int rows, int x, int y, int parity, void* = NULL, int = 0,
                     int = 0);
    // Scaled-down copies of a source twice (weights 50, 20, 20, 10) or three times (mean of
    // 3 x 3) the size; pixels whose block is not wholly in the source are left alone.
    BOOL HalfSize(const CBitmapDIB* source);
    BOOL ThirdSize(const CBitmapDIB* source);
    BOOL AlphaToGrey();

#ifndef BITMAPDIB_TOP_DOWN
    BOOL Draw(CDC* dc, int x, int y, int width, int height, int sx, int sy, int swidth,
              int sheight);
    // A BMP, DIB or Targa file by its extension; alpha mode 0 makes every pixel opaque
    // (top byte alpha), mode 1 keys the first pixel's colour out. Failures are shown.
    BOOL LoadFile(const CString& path, CDC* pDC, int nAlphaMode, int alpha = 255);
    // Uncompressed 32-bit Targa, top line first; FALSE (shown) when the file fails.
    BOOL SaveTarga(const CString& path);
    // FALSE when the image cannot be made or the file cannot be written.
    BOOL SaveAsJpeg(const CString& path, int quality);
    // A 24-byte header {a, b, width, height, 0x0AA55701, 0} and the pixels in memory order.
    BOOL WriteRaw(CFile* file, int a, int b);
#endif

    BITMAPINFOHEADER m_bih;
    DWORD* m_pBits;
    int m_nWidth;
    int m_nHeight;

private:
    // The pixel row: null outside the bitmap.
    DWORD* Line(int y) const;
    // Clips an inclusive rectangle to the bitmap (and a second size when given).
    bool ClipRect(int& x1, int& y1, int& x2, int& y2, int w2 = INT_MAX, int h2 = INT_MAX) const;
    bool Ready() const;
    BOOL CopyBlock(const void* buffer, bool keyed, DWORD key, DWORD mask, int bx, int by,
                   int width, int rows, int stride, int x, int y, int alphaMode, DWORD alpha);
#ifndef BITMAPDIB_TOP_DOWN
    BOOL ReadBmp(CFile& file, CDC* pDC);
    BOOL ReadTarga(CFile& file);
    HANDLE m_hDrawDib;
#endif
};
