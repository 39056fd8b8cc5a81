// Loading bitmap resources with the button greys mapped to the system colours.
#include "SECSysColor.h"
#include <cstring>
#include <vector>

void MapSysColors(RGBQUAD* pTable, int nEntries)
{
    static const struct {
        DWORD colour;  // the RGBQUAD as one value: blue low, reserved high
        int sysColour;
    } kMap[] = {{0x000000, COLOR_BTNTEXT},
                {0x808080, COLOR_BTNSHADOW},
                {0xC0C0C0, COLOR_BTNFACE},
                {0xFFFFFF, COLOR_BTNHIGHLIGHT}};
    for (int i = 0; i < nEntries; i++) {
        DWORD value;
        memcpy(&value, &pTable[i], 4);
        for (const auto& m : kMap)
            if (value == m.colour) {
                COLORREF c = GetSysColor(m.sysColour);
                pTable[i] = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
                break;
            }
    }
}

BOOL LoadSysColorBitmap(CBitmap* pBitmap, LPCTSTR lpszResourceName)
{
    if (pBitmap == NULL)
        return FALSE;
    HINSTANCE hModule = AfxGetResourceHandle();
    HRSRC hFound = FindResourceA(hModule, lpszResourceName, (LPCSTR)RT_BITMAP);
    HGLOBAL hResource = hFound != NULL ? LoadResource(hModule, hFound) : NULL;
    const BYTE* pData = hResource != NULL ? (const BYTE*)LockResource(hResource) : NULL;
    if (pData == NULL)
        return FALSE;
    // The resource's size bounds everything read from it.
    DWORD size = SizeofResource(hModule, hFound);
    BITMAPINFOHEADER info;
    if (size < sizeof info)
        return FALSE;
    memcpy(&info, pData, sizeof info);
    if (info.biSize < sizeof info || info.biSize > size || info.biWidth <= 0 ||
        info.biHeight == 0 || info.biBitCount == 0 || info.biBitCount > 8 ||
        info.biCompression != BI_RGB)
        return FALSE;
    DWORD entries = 1u << info.biBitCount;
    if (info.biClrUsed != 0 && info.biClrUsed < entries)
        entries = info.biClrUsed;
    LONG height = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    ULONGLONG rowBytes = (((ULONGLONG)info.biWidth * info.biBitCount + 31) / 32) * 4;
    ULONGLONG pixelsAt = (ULONGLONG)info.biSize + 4ull * entries;
    if (pixelsAt + rowBytes * (ULONGLONG)height > size)
        return FALSE;
    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 4 * entries);
    memcpy(header.data(), &info, sizeof info);
    ((BITMAPINFOHEADER*)header.data())->biSize = sizeof info;
    memcpy(header.data() + sizeof info, pData + info.biSize, 4 * entries);
    MapSysColors((RGBQUAD*)(header.data() + sizeof info), (int)entries);

    HDC screen = GetDC(NULL);
    HBITMAP hBitmap = CreateCompatibleBitmap(screen, info.biWidth, height);
    HDC mem = hBitmap != NULL ? CreateCompatibleDC(screen) : NULL;
    BOOL ok = FALSE;
    if (mem != NULL) {
        HGDIOBJ old = SelectObject(mem, hBitmap);
        ok = StretchDIBits(mem, 0, 0, info.biWidth, height, 0, 0, info.biWidth, height,
                           pData + pixelsAt, (const BITMAPINFO*)header.data(), DIB_RGB_COLORS,
                           SRCCOPY) != 0;
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    ReleaseDC(NULL, screen);
    if (!ok) {
        if (hBitmap != NULL)
            DeleteObject(hBitmap);
        return FALSE;
    }
    pBitmap->DeleteObject();
    return pBitmap->Attach(hBitmap);
}
