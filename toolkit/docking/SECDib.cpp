// Bitmap files: writing the file, info header, colour table and aligned rows; reading them
// back with every size taken from the file checked against the bytes really there.
#include "SECDib.h"
#include <cstring>
#include <vector>

IMPLEMENT_SERIAL(SECDib, CObject, 1)

namespace {

const DWORD kFileHeaderBytes = 14;
const DWORD kInfoHeaderBytes = sizeof(BITMAPINFOHEADER);
// Header and colour table together (larger info headers included) stay below this.
const DWORD kMaxHeaderBytes = 0x10000;
const ULONGLONG kMaxPixelBytes = 512ull << 20;

}  // namespace

SECDib::SECDib() {}
SECDib::~SECDib() {}

BOOL SECDib::DoWrite(CFile* pFile)
{
    if (m_lpSrcBits == NULL || m_lpBMI == NULL)
        return FALSE;
    if (!AlignRows())
        return FALSE;
    DWORD tableBytes = 4 * (DWORD)m_nColors;
    DWORD rowBytes = AlignedRowBytes() * (DWORD)m_nHeight;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfSize = kInfoHeaderBytes + rowBytes + tableBytes + kFileHeaderBytes;
    file.bfOffBits = kInfoHeaderBytes + tableBytes + kFileHeaderBytes;
    BITMAPINFOHEADER info = m_lpBMI->bmiHeader;
    info.biSize = kInfoHeaderBytes;
    info.biSizeImage = 0;
    pFile->Write(&file, kFileHeaderBytes);
    pFile->Write(&info, kInfoHeaderBytes);
    if (tableBytes != 0)
        pFile->Write(m_lpRGB, tableBytes);
    pFile->Write(m_lpSrcBits, rowBytes);
    return TRUE;
}

BOOL SECDib::DoRead(CFile* pFile)
{
    DWORD start = pFile->GetPosition();
    DWORD length = pFile->GetLength();
    ULONGLONG available = length > start ? length - start : 0;
    BITMAPFILEHEADER file;
    if (available < kFileHeaderBytes + kInfoHeaderBytes ||
        pFile->Read(&file, kFileHeaderBytes) != kFileHeaderBytes || file.bfType != 0x4D42)
        return FALSE;
    // The header and colour table run from the file header to the pixels.
    if (file.bfOffBits < kFileHeaderBytes + kInfoHeaderBytes || file.bfOffBits > available ||
        file.bfOffBits - kFileHeaderBytes > kMaxHeaderBytes)
        return FALSE;
    DWORD headerBytes = file.bfOffBits - kFileHeaderBytes;
    std::vector<BYTE> header(headerBytes);
    if (pFile->Read(header.data(), headerBytes) != headerBytes)
        return FALSE;
    BITMAPINFOHEADER info;
    memcpy(&info, header.data(), kInfoHeaderBytes);
    int bits = info.biBitCount;
    WORD colors = ColorsForBits(bits);
    if (!IsReadableHeader(info) || info.biSize > headerBytes)
        return FALSE;
    DWORD used = colors == 0 ? 0 : info.biClrUsed;
    if (used > colors)
        return FALSE;
    DWORD tableEntries = used != 0 ? used : colors;
    if ((ULONGLONG)info.biSize + 4ull * tableEntries > headerBytes)
        return FALSE;
    ULONGLONG pixelBytes = (ULONGLONG)RowBytes(bits, info.biWidth, TRUE) * (ULONGLONG)info.biHeight;
    if (pixelBytes > kMaxPixelBytes ||
        pixelBytes > available - file.bfOffBits)
        return FALSE;

    HGLOBAL hPixels = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T)pixelBytes);
    HGLOBAL hInfo = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kInfoHeaderBytes + 4 * colors);
    if (hPixels == NULL || hInfo == NULL) {
        if (hPixels != NULL)
            ::GlobalFree(hPixels);
        if (hInfo != NULL)
            ::GlobalFree(hInfo);
        return FALSE;
    }
    BYTE* pixels = (BYTE*)::GlobalLock(hPixels);
    UINT got = pFile->Read(pixels, (UINT)pixelBytes);
    ::GlobalUnlock(hPixels);
    if (got != pixelBytes) {
        ::GlobalFree(hPixels);
        ::GlobalFree(hInfo);
        return FALSE;
    }
    DWORD tableOffset = info.biSize;  // larger info headers keep their table after them
    info.biSize = kInfoHeaderBytes;
    info.biClrUsed = used;
    BYTE* kept = (BYTE*)::GlobalLock(hInfo);
    memcpy(kept, &info, kInfoHeaderBytes);
    memcpy(kept + kInfoHeaderBytes, header.data() + tableOffset, 4 * (SIZE_T)tableEntries);
    ::GlobalUnlock(hInfo);
    Attach(hInfo, hPixels);
    return TRUE;
}
