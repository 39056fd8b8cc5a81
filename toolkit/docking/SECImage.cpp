// The image base: the in-memory DIB, its palette, drawing, device bitmaps, loading and saving
// through CFile objects, and the archive form shared by every image class.
#include "SECImage.h"
#include "SECDib.h"
#include <cstring>
#include <memory>

namespace {

// Largest pixel block an image may hold; sizes from files are checked against it before
// anything is allocated.
const ULONGLONG kMaxPixelBytes = 512ull << 20;
const DWORD kFileHeaderBytes = 14;
const DWORD kInfoHeaderBytes = sizeof(BITMAPINFOHEADER);
const LONG kMaxSide = 1 << 20;

int g_testDisplayBits = 0;
int g_testDisplayPlanes = 1;

// A zero-filled movable block, or NULL.
HGLOBAL NewBlock(ULONGLONG nBytes)
{
    if (nBytes == 0 || nBytes > kMaxPixelBytes + 0x10000)
        return NULL;
    return ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T)nBytes);
}

void FreeBlock(HGLOBAL& hBlock)
{
    if (hBlock != NULL) {
        ::GlobalUnlock(hBlock);
        ::GlobalFree(hBlock);
        hBlock = NULL;
    }
}

// A duplicate of a block at its allocated size.
HGLOBAL DuplicateBlock(HGLOBAL hSource)
{
    if (hSource == NULL)
        return NULL;
    SIZE_T nBytes = ::GlobalSize(hSource);
    HGLOBAL hCopy = NewBlock(nBytes);
    if (hCopy == NULL)
        return NULL;
    const void* src = ::GlobalLock(hSource);
    void* dst = ::GlobalLock(hCopy);
    memcpy(dst, src, nBytes);
    ::GlobalUnlock(hCopy);
    ::GlobalUnlock(hSource);
    return hCopy;
}

int BitCountClass(int nBits)
{
    return nBits <= 1 ? 1 : nBits <= 4 ? 4 : nBits <= 8 ? 8 : 24;
}

}  // namespace

void SECPixelImage::SetDisplayDepthForTest(int nBitsPixel, int nPlanes)
{
    g_testDisplayBits = nBitsPixel;
    g_testDisplayPlanes = nPlanes;
}

DWORD SECPixelImage::RowBytes(int nBitCount, int nWidth, BOOL bAligned)
{
    ULONGLONG bits = (ULONGLONG)(nBitCount > 0 ? nBitCount : 0) * (ULONGLONG)(nWidth > 0 ? nWidth : 0);
    return bAligned ? (DWORD)(((bits + 31) / 32) * 4) : (DWORD)((bits + 7) / 8);
}

WORD SECPixelImage::ColorsForBits(int nBitCount)
{
    switch (nBitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

BOOL SECPixelImage::IsReadableHeader(const BITMAPINFOHEADER& info)
{
    int bits = info.biBitCount;
    bool knownBits = ColorsForBits(bits) != 0 || bits == 16 || bits == 24 || bits == 32;
    return info.biSize >= kInfoHeaderBytes && info.biWidth > 0 && info.biHeight > 0 &&
           info.biWidth <= kMaxSide && info.biHeight <= kMaxSide && knownBits &&
           info.biCompression == BI_RGB;
}

SECPixelImage::SECPixelImage()
    : m_nBitCount(0), m_nDispBits(0), m_nDispPlanes(1), m_bRowsAligned(FALSE), m_n8BitWidth(0),
      m_nWidth(0), m_nHeight(0), m_nColors(0), m_nDispColors(0), m_pPalette(NULL),
      m_pCurrentFile(NULL), m_hPixels(NULL), m_lpSrcBits(NULL), m_hInfo(NULL), m_lpBMI(NULL),
      m_lpRGB(NULL), m_bHalftone(FALSE), m_nExpandBit(0), m_nExpandCount(0), m_nIOBufSize(0),
      m_nIOBufFill(0), m_nIOBufPos(0), m_hIOBuf(NULL)
{
    int bits, planes;
    if (g_testDisplayBits > 0) {
        bits = g_testDisplayBits;
        planes = g_testDisplayPlanes;
    } else {
        HDC hdc = ::GetDC(NULL);
        bits = ::GetDeviceCaps(hdc, BITSPIXEL);
        planes = ::GetDeviceCaps(hdc, PLANES);
        ::ReleaseDC(NULL, hdc);
    }
    m_nDispPlanes = planes;
    if (bits == 1)
        m_nDispColors = (WORD)(1 << (planes < 1 ? 1 : planes > 8 ? 8 : planes));
    else if (bits == 2)
        m_nDispColors = 4;
    else if (bits == 4)
        m_nDispColors = 16;
    else if (bits == 8)
        m_nDispColors = 256;
    m_nDispBits = m_nDispColors != 0 ? bits : 0;
}

SECPixelImage::~SECPixelImage()
{
    FreeBlocks();
    ClearIOBuffer();
    FreeFiles();
}

void SECPixelImage::FreeBlocks()
{
    FreeBlock(m_hPixels);
    m_lpSrcBits = NULL;
    FreeBlock(m_hInfo);
    m_lpBMI = NULL;
    m_lpRGB = NULL;
    delete m_pPalette;
    m_pPalette = NULL;
}

void SECPixelImage::ClearIOBuffer()
{
    if (m_hIOBuf != NULL) {
        ::GlobalFree(m_hIOBuf);
        m_hIOBuf = NULL;
    }
    m_nIOBufSize = m_nIOBufFill = m_nIOBufPos = 0;
}

void SECPixelImage::FreeFiles()
{
    POSITION pos = m_files.GetHeadPosition();
    while (pos != NULL)
        delete (CFile*)m_files.GetNext(pos);
    m_files.RemoveAll();
}

BOOL SECPixelImage::Clear()
{
    FreeBlocks();
    m_nWidth = m_nHeight = m_nBitCount = 0;
    m_nColors = 0;
    m_n8BitWidth = 0;
    m_bRowsAligned = FALSE;
    m_bHalftone = FALSE;
    ClearIOBuffer();
    return TRUE;
}

void SECPixelImage::Attach(HGLOBAL hInfo, HGLOBAL hPixels)
{
    FreeBlocks();
    m_hInfo = hInfo;
    m_lpBMI = (BITMAPINFO*)::GlobalLock(hInfo);
    m_lpRGB = (RGBQUAD*)((BYTE*)m_lpBMI + kInfoHeaderBytes);
    m_hPixels = hPixels;
    m_lpSrcBits = (BYTE*)::GlobalLock(hPixels);
    m_nWidth = m_lpBMI->bmiHeader.biWidth;
    m_nHeight = m_lpBMI->bmiHeader.biHeight;
    m_nBitCount = m_lpBMI->bmiHeader.biBitCount;
    m_nColors = ColorsForBits(m_nBitCount);
    m_n8BitWidth = (m_nWidth + 3) & ~3;
    m_bRowsAligned = TRUE;
}

BOOL SECPixelImage::CreatePalette()
{
    delete m_pPalette;
    m_pPalette = NULL;
    if (m_nBitCount > 8 || m_lpBMI == NULL)
        return TRUE;
    DWORD used = m_lpBMI->bmiHeader.biClrUsed;
    DWORD entries = used > m_nColors ? used : m_nColors;
    DWORD filled = used != 0 ? used : m_nColors;
    if (entries > 256)
        entries = 256;
    if (filled > m_nColors)  // the table holds m_nColors entries
        filled = m_nColors;
    std::unique_ptr<BYTE[]> mem(new BYTE[sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY)]());
    LOGPALETTE* lp = (LOGPALETTE*)mem.get();
    lp->palVersion = 0x300;
    lp->palNumEntries = (WORD)entries;
    for (DWORD i = 0; i < filled; i++) {
        lp->palPalEntry[i].peRed = m_lpRGB[i].rgbRed;
        lp->palPalEntry[i].peGreen = m_lpRGB[i].rgbGreen;
        lp->palPalEntry[i].peBlue = m_lpRGB[i].rgbBlue;
        lp->palPalEntry[i].peFlags = 0;
    }
    m_pPalette = new CPalette;
    BOOL ok = m_pPalette->CreatePalette(lp);
    if (!ok) {
        delete m_pPalette;
        m_pPalette = NULL;
    }
    return ok;
}

BOOL SECPixelImage::AfterRead()
{
    CreatePalette();
    m_n8BitWidth = (m_nWidth + 3) & ~3;
    if (m_hPixels != NULL)
        AlignRows();
    m_bHalftone = m_nDispBits != 0 && m_nDispBits != m_nBitCount;
    if (m_hInfo == NULL && m_nWidth > 0 && m_nHeight > 0) {
        HGLOBAL hInfo = NewBlock(kInfoHeaderBytes + 4 * m_nColors);
        if (hInfo == NULL)
            return FALSE;
        m_hInfo = hInfo;
        m_lpBMI = (BITMAPINFO*)::GlobalLock(hInfo);
        m_lpRGB = (RGBQUAD*)((BYTE*)m_lpBMI + kInfoHeaderBytes);
        BITMAPINFOHEADER& h = m_lpBMI->bmiHeader;
        h.biSize = kInfoHeaderBytes;
        h.biWidth = m_nWidth;
        h.biHeight = m_nHeight;
        h.biPlanes = (WORD)m_nDispPlanes;
        h.biBitCount = (WORD)m_nBitCount;
        h.biCompression = BI_RGB;
        h.biSizeImage = (DWORD)m_nHeight * m_n8BitWidth;
    }
    return TRUE;
}

BOOL SECPixelImage::BeforeWrite() { return TRUE; }
BOOL SECPixelImage::AfterWrite() { return TRUE; }

SECPixelImage* SECPixelImage::NewEmptyImage() const { return new SECDib; }

BOOL SECPixelImage::Read(CFile* pFile)
{
    CFile* pPrevious = m_pCurrentFile;
    m_pCurrentFile = pFile;
    std::unique_ptr<SECPixelImage> old;
    if (m_hPixels != NULL && m_hInfo != NULL && m_nWidth > 0 && m_nHeight > 0) {
        old.reset(NewEmptyImage());
        old->TakeOver(*this);
    }
    Clear();
    BOOL ok = FALSE;
    try {
        ok = DoRead(pFile) && AfterRead();
    } catch (CException* e) {  // a file that fails under the reader is not an image
        e->Delete();
        ok = FALSE;
    }
    if (!ok) {
        Clear();
        if (old)
            TakeOver(*old);
    }
    m_pCurrentFile = pPrevious;
    return ok;
}

BOOL SECPixelImage::Write(CFile* pFile)
{
    CFile* pPrevious = m_pCurrentFile;
    m_pCurrentFile = pFile;
    BOOL ok = FALSE;
    try {
        ok = BeforeWrite() && DoWrite(pFile) && AfterWrite();
    } catch (CException* e) {  // a write error is a failed save, not the caller's crash
        e->Delete();
        ok = FALSE;
    }
    m_pCurrentFile = pPrevious;
    return ok;
}

BOOL SECPixelImage::LoadImage(LPCTSTR lpszFileName)
{
    CFile* pFile = m_pCurrentFile;
    if (pFile != NULL) {
        if (!pFile->Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite))
            return FALSE;
    } else {
        pFile = new CFile;
        if (!pFile->Open(lpszFileName, CFile::modeRead | CFile::shareDenyWrite)) {
            delete pFile;
            return FALSE;
        }
        m_files.AddTail(pFile);
    }
    BOOL ok = Read(pFile);
    pFile->Abort();
    return ok;
}

BOOL SECPixelImage::SaveImage(LPCTSTR lpszFileName)
{
    CFile* pFile = m_pCurrentFile;
    const UINT mode = CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive;
    if (pFile != NULL) {
        if (!pFile->Open(lpszFileName, mode))
            return FALSE;
    } else {
        pFile = new CFile;
        if (!pFile->Open(lpszFileName, mode)) {
            delete pFile;
            return FALSE;
        }
        m_files.AddTail(pFile);
    }
    BOOL ok = Write(pFile);
    try {
        pFile->Close();
    } catch (CException* e) {
        e->Delete();
        pFile->Abort();
        ok = FALSE;
    }
    return ok;
}

BOOL SECPixelImage::CreateFromBitmap(CDC* pDC, CBitmap* pBitmap)
{
    BITMAP bm;
    if (pBitmap == NULL || pBitmap->GetObject(sizeof bm, &bm) == 0 || bm.bmWidth <= 0 ||
        bm.bmHeight <= 0)
        return FALSE;
    int bits = BitCountClass(bm.bmBitsPixel * bm.bmPlanes);
    WORD colors = ColorsForBits(bits);
    DWORD rowBytes = RowBytes(bits, bm.bmWidth, TRUE);
    HGLOBAL hPixels = NewBlock((ULONGLONG)rowBytes * bm.bmHeight);
    HGLOBAL hInfo = NewBlock(kInfoHeaderBytes + 4 * colors);
    if (hPixels == NULL || hInfo == NULL) {
        FreeBlock(hPixels);
        FreeBlock(hInfo);
        return FALSE;
    }
    BITMAPINFO* bmi = (BITMAPINFO*)::GlobalLock(hInfo);
    BYTE* pixels = (BYTE*)::GlobalLock(hPixels);
    BITMAPINFOHEADER& h = bmi->bmiHeader;
    h.biSize = kInfoHeaderBytes;
    h.biWidth = bm.bmWidth;
    h.biHeight = bm.bmHeight;
    h.biPlanes = 1;
    h.biBitCount = (WORD)bits;
    h.biCompression = BI_RGB;
    h.biSizeImage = rowBytes * bm.bmHeight;
    HDC hdc = pDC != NULL ? pDC->GetSafeHdc() : NULL;
    HDC screen = hdc == NULL ? ::GetDC(NULL) : NULL;
    int rows = ::GetDIBits(hdc != NULL ? hdc : screen, (HBITMAP)pBitmap->GetSafeHandle(), 0,
                           bm.bmHeight, pixels, bmi, DIB_RGB_COLORS);
    if (screen != NULL)
        ::ReleaseDC(NULL, screen);
    ::GlobalUnlock(hPixels);
    ::GlobalUnlock(hInfo);
    if (rows == 0) {
        ::GlobalFree(hPixels);
        ::GlobalFree(hInfo);
        return FALSE;
    }
    Clear();
    Attach(hInfo, hPixels);
    CreatePalette();
    m_bHalftone = m_nDispBits != 0 && m_nDispBits != m_nBitCount;
    return TRUE;
}

CBitmap* SECPixelImage::MakeBitmap(CDC* pDC)
{
    if (m_lpSrcBits == NULL || m_lpBMI == NULL)
        return NULL;
    AlignRows();
    HDC screen = NULL;
    HDC hdc = pDC != NULL ? pDC->GetSafeHdc() : NULL;
    if (hdc == NULL)
        hdc = screen = ::GetDC(NULL);
    CBitmap* pBitmap = new CBitmap;
    HDC mem = ::CreateCompatibleDC(hdc);
    if (mem == NULL || !pBitmap->Attach(::CreateCompatibleBitmap(hdc, m_nWidth, m_nHeight))) {
        delete pBitmap;
        pBitmap = NULL;
    } else {
        HGDIOBJ old = ::SelectObject(mem, pBitmap->GetSafeHandle());
        CDC* pMem = CDC::FromHandle(mem);
        StretchDIBits(pMem, 0, 0, m_nWidth, m_nHeight, 0, 0, m_nWidth, m_nHeight, m_lpSrcBits,
                      m_lpBMI, DIB_RGB_COLORS, SRCCOPY);
        ::SelectObject(mem, old);
    }
    if (mem != NULL)
        ::DeleteDC(mem);
    if (screen != NULL)
        ::ReleaseDC(NULL, screen);
    return pBitmap;
}

int SECPixelImage::StretchDIBits(CDC* pDC, int x, int y, int nWidth, int nHeight, int xSrc,
                                 int ySrc, int nSrcWidth, int nSrcHeight, const void* lpBits,
                                 const BITMAPINFO* lpBitsInfo, UINT nUsage, DWORD dwRop)
{
    if (!m_bHalftone)
        return ::StretchDIBits(pDC->m_hDC, x, y, nWidth, nHeight, xSrc, ySrc, nSrcWidth,
                               nSrcHeight, lpBits, lpBitsInfo, nUsage, dwRop);
    CPalette halftone;
    if (!halftone.CreateHalftonePalette(pDC))
        return FALSE;
    CPalette* pOld = pDC->SelectPalette(&halftone, FALSE);
    if (pOld == NULL)
        return FALSE;
    pDC->RealizePalette();
    int oldMode = pDC->SetStretchBltMode(HALFTONE);
    int result = ::StretchDIBits(pDC->m_hDC, x, y, nWidth, nHeight, xSrc, ySrc, nSrcWidth,
                                 nSrcHeight, lpBits, lpBitsInfo, nUsage, dwRop);
    if (oldMode != 0)
        pDC->SetStretchBltMode(oldMode);
    pDC->SelectPalette(pOld, FALSE);
    halftone.DeleteObject();
    return result;
}

void SECPixelImage::CopyFormat(const SECPixelImage& src)
{
    m_nBitCount = src.m_nBitCount;
    m_bRowsAligned = src.m_bRowsAligned;
    m_n8BitWidth = src.m_n8BitWidth;
    m_nWidth = src.m_nWidth;
    m_nHeight = src.m_nHeight;
    m_nColors = src.m_nColors;
    m_bHalftone = src.m_bHalftone;
}

BOOL SECPixelImage::CopyFrom(const SECPixelImage& src)
{
    if (&src == this)
        return TRUE;
    HGLOBAL hPixels = DuplicateBlock(src.m_hPixels);
    HGLOBAL hInfo = DuplicateBlock(src.m_hInfo);
    if ((src.m_hPixels != NULL && hPixels == NULL) || (src.m_hInfo != NULL && hInfo == NULL)) {
        FreeBlock(hPixels);
        FreeBlock(hInfo);
        return FALSE;
    }
    FreeBlocks();
    m_hPixels = hPixels;
    m_lpSrcBits = hPixels != NULL ? (BYTE*)::GlobalLock(hPixels) : NULL;
    m_hInfo = hInfo;
    m_lpBMI = hInfo != NULL ? (BITMAPINFO*)::GlobalLock(hInfo) : NULL;
    m_lpRGB = m_lpBMI != NULL ? (RGBQUAD*)((BYTE*)m_lpBMI + kInfoHeaderBytes) : NULL;
    CopyFormat(src);
    ClearIOBuffer();
    CreatePalette();
    return TRUE;
}

BOOL SECPixelImage::TakeOver(SECPixelImage& src)
{
    if (&src == this)
        return TRUE;
    FreeBlocks();
    m_hPixels = src.m_hPixels;
    m_lpSrcBits = src.m_lpSrcBits;
    m_hInfo = src.m_hInfo;
    m_lpBMI = src.m_lpBMI;
    m_lpRGB = src.m_lpRGB;
    m_pPalette = src.m_pPalette;
    CopyFormat(src);
    src.m_hPixels = src.m_hInfo = NULL;
    src.m_lpSrcBits = NULL;
    src.m_lpBMI = NULL;
    src.m_lpRGB = NULL;
    src.m_pPalette = NULL;
    src.Clear();
    return TRUE;
}

BOOL SECPixelImage::AlignRows()
{
    DWORD packed = PackedRowBytes(), aligned = AlignedRowBytes();
    if (m_bRowsAligned || packed == aligned || m_lpSrcBits == NULL) {
        m_bRowsAligned = TRUE;
        return TRUE;
    }
    SIZE_T need = (SIZE_T)aligned * m_nHeight;
    if (::GlobalSize(m_hPixels) < need) {
        ::GlobalUnlock(m_hPixels);
        HGLOBAL h = ::GlobalReAlloc(m_hPixels, need, GMEM_MOVEABLE | GMEM_ZEROINIT);
        if (h == NULL) {
            m_lpSrcBits = (BYTE*)::GlobalLock(m_hPixels);
            return FALSE;
        }
        m_hPixels = h;
        m_lpSrcBits = (BYTE*)::GlobalLock(h);
    }
    for (int row = m_nHeight - 1; row >= 0; row--) {
        BYTE* dst = m_lpSrcBits + (SIZE_T)row * aligned;
        memmove(dst, m_lpSrcBits + (SIZE_T)row * packed, packed);
        memset(dst + packed, 0, aligned - packed);
    }
    m_bRowsAligned = TRUE;
    return TRUE;
}

BOOL SECPixelImage::PackRows()
{
    DWORD packed = PackedRowBytes(), aligned = AlignedRowBytes();
    if (!m_bRowsAligned || m_lpSrcBits == NULL) {
        m_bRowsAligned = FALSE;
        return TRUE;
    }
    if (packed != aligned)
        for (int row = 1; row < m_nHeight; row++)
            memmove(m_lpSrcBits + (SIZE_T)row * packed, m_lpSrcBits + (SIZE_T)row * aligned,
                    packed);
    m_bRowsAligned = FALSE;
    return TRUE;
}

BOOL SECPixelImage::FlipRows()
{
    if (!AlignRows())
        return FALSE;
    DWORD aligned = AlignedRowBytes();
    std::unique_ptr<BYTE[]> tmp(new BYTE[aligned ? aligned : 1]);
    for (int top = 0, bottom = m_nHeight - 1; top < bottom; top++, bottom--) {
        BYTE* a = m_lpSrcBits + (SIZE_T)top * aligned;
        BYTE* b = m_lpSrcBits + (SIZE_T)bottom * aligned;
        memcpy(tmp.get(), a, aligned);
        memcpy(a, b, aligned);
        memcpy(b, tmp.get(), aligned);
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Archive form: the bitmap-file headers, then bit count x (width rounded up to 4) x height / 8
// pixel bytes. That count is not the size of the rows for every image: for 16-, 24- and
// 32-bit images it may be larger (written as the rows followed by zeros, read into a block
// of the full count), and for 1- and 4-bit images it is smaller, so those are stored as 8-bit
// images, whose count is exact. Streams written with the count alone still read back.

void SECPixelImage::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        WriteArchive(ar);
    else
        ReadArchive(ar);
}

void SECPixelImage::WriteArchive(CArchive& ar)
{
    if (m_lpSrcBits == NULL || m_lpBMI == NULL || m_nWidth <= 0 || m_nHeight <= 0) {
        // An empty image: a file header of no type, which reads back as an empty image.
        BYTE none[kFileHeaderBytes] = {};
        ar.Write(none, sizeof none);
        return;
    }
    AlignRows();
    int bits = m_nBitCount;
    const BYTE* rows = m_lpSrcBits;
    const RGBQUAD* table = m_lpRGB;
    BITMAPINFOHEADER info = m_lpBMI->bmiHeader;
    std::unique_ptr<BYTE[]> expanded;
    DWORD aligned = AlignedRowBytes();
    if (bits == 1 || bits == 4) {
        DWORD wide = RowBytes(8, m_nWidth, TRUE);
        expanded.reset(new BYTE[(SIZE_T)wide * m_nHeight]());
        for (int y = 0; y < m_nHeight; y++) {
            const BYTE* src = m_lpSrcBits + (SIZE_T)y * aligned;
            BYTE* dst = expanded.get() + (SIZE_T)y * wide;
            for (int x = 0; x < m_nWidth; x++)
                dst[x] = bits == 1 ? (src[x >> 3] >> (7 - (x & 7))) & 1
                                   : (x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4;
        }
        if (info.biClrUsed == 0)
            info.biClrUsed = m_nColors;
        bits = 8;
        rows = expanded.get();
        aligned = wide;
    }
    WORD colors = ColorsForBits(bits);
    info.biSize = kInfoHeaderBytes;
    info.biBitCount = (WORD)bits;
    info.biSizeImage = 0;
    if (colors == 0)
        info.biClrUsed = 0;
    DWORD headerBytes = kInfoHeaderBytes + 4 * colors;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    DWORD storedRow = (((DWORD)(bits / 8) * m_nWidth) + 3) & ~3u;
    file.bfSize = headerBytes + kFileHeaderBytes + storedRow * m_nHeight;
    file.bfOffBits = headerBytes + kFileHeaderBytes;
    ar.Write(&file, kFileHeaderBytes);
    ar.Write(&info, kInfoHeaderBytes);
    if (colors != 0) {
        RGBQUAD full[256] = {};
        memcpy(full, table, 4 * (SIZE_T)m_nColors);
        ar.Write(full, 4 * colors);
    }
    ULONGLONG count = (ULONGLONG)bits * (ULONGLONG)((m_nWidth + 3) & ~3) * m_nHeight / 8;
    ULONGLONG block = (ULONGLONG)aligned * m_nHeight;
    ULONGLONG fromRows = count < block ? count : block;
    ar.Write(rows, (UINT)fromRows);
    static const BYTE zeros[4096] = {};
    for (ULONGLONG left = count - fromRows; left > 0;) {
        UINT n = left < sizeof zeros ? (UINT)left : (UINT)sizeof zeros;
        ar.Write(zeros, n);
        left -= n;
    }
}

BOOL SECPixelImage::ReadArchive(CArchive& ar)
{
    BITMAPFILEHEADER file;
    if (ar.Read(&file, kFileHeaderBytes) != kFileHeaderBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    if (file.bfType != 0x4D42) {
        Clear();
        return FALSE;
    }
    if (file.bfOffBits < kFileHeaderBytes + kInfoHeaderBytes ||
        file.bfOffBits > kFileHeaderBytes + kInfoHeaderBytes + 4 * 256)
        AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
    DWORD headerBytes = file.bfOffBits - kFileHeaderBytes;
    BYTE header[kInfoHeaderBytes + 4 * 256];
    if (ar.Read(header, headerBytes) != headerBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    BITMAPINFOHEADER info;
    memcpy(&info, header, kInfoHeaderBytes);
    int bits = info.biBitCount;
    WORD colors = ColorsForBits(bits);
    if (!IsReadableHeader(info) || headerBytes < kInfoHeaderBytes + 4 * colors)
        AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
    ULONGLONG count = (ULONGLONG)bits * (((ULONGLONG)info.biWidth + 3) & ~3ull) * info.biHeight / 8;
    ULONGLONG block = (ULONGLONG)RowBytes(bits, info.biWidth, TRUE) * info.biHeight;
    if (count > kMaxPixelBytes || block > kMaxPixelBytes)
        AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
    AfxCheckStoredCount(ar, (DWORD)count, 1);
    HGLOBAL hPixels = NewBlock(count > block ? count : block);
    HGLOBAL hInfo = NewBlock(kInfoHeaderBytes + 4 * colors);
    if (hPixels == NULL || hInfo == NULL) {
        FreeBlock(hPixels);
        FreeBlock(hInfo);
        AfxThrowMemoryException();
    }
    BYTE* pixels = (BYTE*)::GlobalLock(hPixels);
    UINT got = ar.Read(pixels, (UINT)count);
    ::GlobalUnlock(hPixels);
    if (got != count) {
        ::GlobalFree(hPixels);
        ::GlobalFree(hInfo);
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    }
    info.biSize = kInfoHeaderBytes;
    if (info.biClrUsed > colors)
        info.biClrUsed = 0;
    BYTE* kept = (BYTE*)::GlobalLock(hInfo);
    memcpy(kept, &info, kInfoHeaderBytes);
    memcpy(kept + kInfoHeaderBytes, header + kInfoHeaderBytes, 4 * (SIZE_T)colors);
    ::GlobalUnlock(hInfo);
    Clear();
    Attach(hInfo, hPixels);
    AfterRead();
    return TRUE;
}
