// The toolkit's images in memory: a device-independent bitmap (BITMAPINFOHEADER with its
// colour table, and the pixel rows bottom row first) in movable global memory, with a GDI
// palette for palette displays. The file format is left to the derived classes (bitmap files,
// JPEG files); the archive form is the bitmap-file layout for every image class.
#ifndef QUORVEL_SECIMAGE_H
#define QUORVEL_SECIMAGE_H

#include <afxwin.h>

class SECPixelImage : public CObject {
public:
    SECPixelImage();
    virtual ~SECPixelImage();

    virtual void Serialize(CArchive& ar) override;
    virtual BOOL CreatePalette();
    // Reads or writes the file at the path (on the current file when one is set). FALSE when
    // the file cannot be opened, read or written; the image is then as before.
    virtual BOOL LoadImage(LPCTSTR lpszFileName);
    virtual BOOL Read(CFile* pFile);
    virtual BOOL SaveImage(LPCTSTR lpszFileName);
    virtual BOOL Write(CFile* pFile);
    virtual BOOL Clear();
    virtual BOOL AfterRead();
    virtual BOOL BeforeWrite();
    virtual BOOL AfterWrite();
    virtual BOOL DoWrite(CFile* pFile) = 0;
    virtual BOOL DoRead(CFile* pFile) = 0;
    virtual void FreeFiles();

    BOOL CreateFromBitmap(CDC* pDC, CBitmap* pBitmap);
    // A new device bitmap (owned by the caller) compatible with pDC (the screen when NULL)
    // holding the image at its size; NULL for an empty image.
    CBitmap* MakeBitmap(CDC* pDC);
    int StretchDIBits(CDC* pDC, int x, int y, int nWidth, int nHeight, int xSrc, int ySrc,
                      int nSrcWidth, int nSrcHeight, const void* lpBits,
                      const BITMAPINFO* lpBitsInfo, UINT nUsage, DWORD dwRop);
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    BOOL CopyFrom(const SECPixelImage& src);
    BOOL TakeOver(SECPixelImage& src);

    // Image operations. Rotate90: clockwise with bClockwise set (the top row becomes the
    // right column), else counter-clockwise. Crop: the rectangle from column x, row y
    // (counted from the top), clipped to the image; FALSE when nothing of it is inside.
    // Mirror: left and right exchanged. AdjustBrightness: a contrast curve on the values
    // (colour table or pixels), lightening with a positive amount, else darkening.
    BOOL Rotate90(BOOL bClockwise);
    BOOL Crop(int x, int y, int nWidth, int nHeight);
    BOOL Mirror();
    BOOL AdjustBrightness(short nAmount);
    // One blue, green, red triple through the curve (direction +1 or -1).
    static void AdjustPixelBrightness(int nDirection, BYTE* pBGR);

    // Row layout of the pixel block.
    DWORD PackedRowBytes() const { return RowBytes(m_nBitCount, m_nWidth, FALSE); }
    DWORD AlignedRowBytes() const { return RowBytes(m_nBitCount, m_nWidth, TRUE); }
    static DWORD RowBytes(int nBitCount, int nWidth, BOOL bAligned);
    BOOL AlignRows();
    BOOL PackRows();
    BOOL FlipRows();

    // TRUE for an info header the readers take: at least 40 bytes, uncompressed, a bit count
    // of 1, 4, 8, 16, 24 or 32 and a bottom-up size of at most 2^20 pixels a side.
    static BOOL IsReadableHeader(const BITMAPINFOHEADER& info);

    // Colour-table entries of a bit count: 2, 16 or 256 up to 8 bits, none above.
    static WORD ColorsForBits(int nBitCount);

    // Screen the images take their display depth from; tests set a depth to reach the
    // palette-display paths on a true-colour screen (bits 0 = the real screen).
    static void SetDisplayDepthForTest(int nBitsPixel, int nPlanes);

    // Replaces the image with the given header (40 bytes and the colour table) and pixel
    // rows (DWORD-aligned, bottom row first); the blocks are taken over. Used by the readers.
    void Attach(HGLOBAL hInfo, HGLOBAL hPixels);

    int m_nBitCount;         // bits per pixel of the image
    int m_nDispBits;         // bits per pixel of a palette screen, else 0
    int m_nDispPlanes;       // colour planes of the screen
    BOOL m_bRowsAligned;     // rows padded to 32 bits
    int m_n8BitWidth;        // the width rounded up to a multiple of 4
    int m_nWidth;
    int m_nHeight;
    WORD m_nColors;          // colour-table entries
    WORD m_nDispColors;      // colours of a palette screen, else 0
    CPalette* m_pPalette;    // none for images above 8 bits
    CFile* m_pCurrentFile;   // a file object of the user's, opened by LoadImage/SaveImage
    HGLOBAL m_hPixels;
    BYTE* m_lpSrcBits;       // the locked pixel rows
    HGLOBAL m_hInfo;
    BITMAPINFO* m_lpBMI;     // the locked header and colour table
    RGBQUAD* m_lpRGB;        // the colour table, 40 bytes into the header
    BOOL m_bHalftone;        // a palette screen whose depth differs from the image's
    int m_nExpandBit;        // expansion of 1- and 4-bit rows into colours
    int m_nExpandCount;
    int m_nIOBufSize;        // the read/write buffer over the current file (kept empty)
    int m_nIOBufFill;
    int m_nIOBufPos;
    HGLOBAL m_hIOBuf;
    CPtrList m_files;        // file objects that loading or saving created

protected:
    void FreeBlocks();
    void CopyFormat(const SECPixelImage& src);  // sizes, layout flags and colour count
    void ClearIOBuffer();
    SECPixelImage* NewEmptyImage() const;
    BOOL ReadArchive(CArchive& ar);
    void WriteArchive(CArchive& ar);
};

#endif  // QUORVEL_SECIMAGE_H
