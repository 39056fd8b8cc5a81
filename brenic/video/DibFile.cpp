#include "DibFile.h"
#include "DibParse.h"
#include <cstring>
#include <vector>

namespace {

const WORD kBmpType = 0x4D42;  // "BM"

const uint8_t* Bytes(LPSTR p) { return reinterpret_cast<const uint8_t*>(p); }

}  // namespace

LPSTR DibBitsPointer(LPSTR lpbi)
{
    return lpbi + *reinterpret_cast<DWORD*>(lpbi) + DibColorTableSize(lpbi);
}

DWORD DibWidth(LPSTR lpbi) { return DWORD(dibparse::Width(Bytes(lpbi))); }

DWORD DibHeight(LPSTR lpbi) { return DWORD(dibparse::Height(Bytes(lpbi))); }

WORD DibColorTableSize(LPSTR lpbi) { return WORD(dibparse::ColorTableSize(Bytes(lpbi))); }

WORD DibColorCount(LPSTR lpbi) { return WORD(dibparse::ColorCount(Bytes(lpbi))); }

HGLOBAL DuplicateGlobalBlock(HGLOBAL hMem)
{
    if (!hMem)
        return NULL;
    const SIZE_T size = GlobalSize(hMem);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!copy)
        return NULL;
    void* from = GlobalLock(hMem);
    void* to = GlobalLock(copy);
    if (from && to)
        memcpy(to, from, size);
    GlobalUnlock(copy);
    GlobalUnlock(hMem);
    return copy;
}

HDIB DibReadFile(CFile& file)
{
    BYTE header[14];
    if (file.Read(header, sizeof header) != sizeof header ||
        dibparse::Get16(header) != kBmpType)
        return NULL;
    const DWORD length = file.GetLength();
    if (length <= sizeof header)
        return NULL;
    // The block holds what really follows the file header: a stated size is not trusted.
    size_t size = length - sizeof header;
    HDIB hDib = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!hDib)
        return NULL;
    uint8_t* block = static_cast<uint8_t*>(GlobalLock(hDib));
    const UINT got = block ? file.Read(block, UINT(size)) : 0;
    const uint32_t offBits = dibparse::Get32(header + 10);
    size = got;
    const bool ok = got > 0 &&
                    dibparse::NormalisePackedDib(block, size,
                                                 offBits > sizeof header ? offBits - 14 : 0);
    GlobalUnlock(hDib);
    if (!ok) {
        GlobalFree(hDib);
        return NULL;
    }
    return hDib;
}

BOOL DibWriteFile(HDIB hDib, CFile& file)
{
    LPSTR lpbi = static_cast<LPSTR>(GlobalLock(hDib));
    if (!lpbi)
        return FALSE;
    BITMAPINFOHEADER* bih = reinterpret_cast<BITMAPINFOHEADER*>(lpbi);
    if (bih->biSize < sizeof(BITMAPINFOHEADER)) {
        GlobalUnlock(hDib);
        return FALSE;
    }
    DWORD pixels;
    if (bih->biCompression == BI_RLE8 || bih->biCompression == BI_RLE4) {
        pixels = bih->biSizeImage;
    } else {
        const LONG rows = bih->biHeight < 0 ? -bih->biHeight : bih->biHeight;
        pixels = DWORD((bih->biBitCount * bih->biWidth + 31) / 32 * 4) * DWORD(rows);
        bih->biSizeImage = pixels;
    }
    const DWORD dib = bih->biSize + DibColorTableSize(lpbi) + pixels;
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = kBmpType;
    bfh.bfSize = sizeof bfh + dib;
    bfh.bfOffBits = sizeof bfh + bih->biSize + DibColorTableSize(lpbi);
    try {
        file.Write(&bfh, sizeof bfh);
        file.Write(lpbi, dib);
    } catch (CException*) {
        GlobalUnlock(hDib);
        throw;
    }
    GlobalUnlock(hDib);
    return TRUE;
}

int DibPaint(HDC hdc, LPRECT lpDCRect, HDIB hDib, LPRECT lpDIBRect, CPalette* pPal)
{
    if (!hDib || !hdc || !lpDCRect || !lpDIBRect)
        return 0;
    LPSTR lpbi = static_cast<LPSTR>(GlobalLock(hDib));
    if (!lpbi)
        return 0;
    HPALETTE old = NULL;
    if (pPal && pPal->m_hObject)
        old = SelectPalette(hdc, (HPALETTE)pPal->m_hObject, TRUE);
    SetStretchBltMode(hdc, COLORONCOLOR);
    LPSTR bits = DibBitsPointer(lpbi);
    const BITMAPINFO* info = reinterpret_cast<const BITMAPINFO*>(lpbi);
    const int dw = lpDCRect->right - lpDCRect->left, dh = lpDCRect->bottom - lpDCRect->top;
    const int sw = lpDIBRect->right - lpDIBRect->left, sh = lpDIBRect->bottom - lpDIBRect->top;
    const int rows = abs(int(DibHeight(lpbi)));
    int result;
    if (dw == sw && dh == sh)
        result = SetDIBitsToDevice(hdc, lpDCRect->left, lpDCRect->top, dw, dh, lpDIBRect->left,
                                   rows - lpDIBRect->top - sh, 0, rows, bits, info,
                                   DIB_RGB_COLORS);
    else
        result = StretchDIBits(hdc, lpDCRect->left, lpDCRect->top, dw, dh, lpDIBRect->left,
                               lpDIBRect->top, sw, sh, bits, info, DIB_RGB_COLORS, SRCCOPY);
    if (old)
        SelectPalette(hdc, old, TRUE);
    GlobalUnlock(hDib);
    return result;
}

BOOL DibCreatePalette(HDIB hDib, CPalette* pPal)
{
    if (!hDib || !pPal)
        return FALSE;
    LPSTR lpbi = static_cast<LPSTR>(GlobalLock(hDib));
    if (!lpbi)
        return FALSE;
    const WORD count = DibColorCount(lpbi);
    BOOL result = FALSE;
    if (count && count <= 256) {
        std::vector<BYTE> store(sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * count);
        LOGPALETTE* pal = reinterpret_cast<LOGPALETTE*>(store.data());
        pal->palVersion = 0x300;
        pal->palNumEntries = count;
        const bool core = *reinterpret_cast<DWORD*>(lpbi) == sizeof(BITMAPCOREHEADER);
        // After the header and, for bit fields, their masks.
        const BYTE* table = reinterpret_cast<BYTE*>(lpbi) + *reinterpret_cast<DWORD*>(lpbi) +
                            DibColorTableSize(lpbi) - count * (core ? 3 : 4);
        for (WORD i = 0; i < count; ++i) {
            const BYTE* e = table + i * (core ? 3 : 4);
            pal->palPalEntry[i].peRed = e[2];
            pal->palPalEntry[i].peGreen = e[1];
            pal->palPalEntry[i].peBlue = e[0];
            pal->palPalEntry[i].peFlags = 0;
        }
        result = pPal->CreatePalette(pal);
    }
    GlobalUnlock(hDib);
    return result;
}
