// Geometric and colour operations on the in-memory image: rotation by 90 degrees,
// cropping, mirroring and a brightness curve. Pixels of 1, 4 and 8 bits and of 2, 3 and 4
// bytes are moved whole.
#include "SECImage.h"
#include "SECResource.h"
#include <cmath>
#include <cstring>

namespace {

DWORD GetPixelValue(const BYTE* row, int x, int bits)
{
    switch (bits) {
    case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    case 8: return row[x];
    default: {
        DWORD v = 0;
        memcpy(&v, row + (size_t)x * (bits / 8), bits / 8);
        return v;
    }
    }
}

void SetPixelValue(BYTE* row, int x, int bits, DWORD v)
{
    switch (bits) {
    case 1: {
        BYTE bit = BYTE(0x80 >> (x & 7));
        row[x >> 3] = v ? row[x >> 3] | bit : row[x >> 3] & ~bit;
        break;
    }
    case 4:
        row[x >> 1] = (x & 1) ? BYTE((row[x >> 1] & 0xF0) | (v & 0x0F))
                              : BYTE((row[x >> 1] & 0x0F) | (v << 4));
        break;
    case 8: row[x] = BYTE(v); break;
    default: memcpy(row + (size_t)x * (bits / 8), &v, bits / 8); break;
    }
}

bool Movable(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

BOOL SECPixelImage::Rotate90(BOOL bClockwise)
{
    if (m_lpSrcBits == NULL || m_lpBMI == NULL)
        return FALSE;
    if (!Movable(m_nBitCount)) {
        AfxMessageBox(IDS_SEC_ROTATE_ERROR);
        return FALSE;
    }
    AlignRows();
    const int oldWidth = m_nWidth, oldHeight = m_nHeight, bits = m_nBitCount;
    const DWORD oldRow = AlignedRowBytes();
    const DWORD newRow = RowBytes(bits, oldHeight, TRUE);
    HGLOBAL hNew = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T)newRow * oldWidth);
    if (hNew == NULL)
        return FALSE;
    BYTE* dst = (BYTE*)::GlobalLock(hNew);
    // Rows in memory order (bottom first): clockwise, (x, y) goes to column y of row
    // (width - 1 - x); counter-clockwise to column (height - 1 - y) of row x.
    for (int y = 0; y < oldHeight; y++) {
        const BYTE* src = m_lpSrcBits + (size_t)y * oldRow;
        for (int x = 0; x < oldWidth; x++) {
            DWORD v = GetPixelValue(src, x, bits);
            if (bClockwise)
                SetPixelValue(dst + (size_t)(oldWidth - 1 - x) * newRow, y, bits, v);
            else
                SetPixelValue(dst + (size_t)x * newRow, oldHeight - 1 - y, bits, v);
        }
    }
    ::GlobalUnlock(m_hPixels);
    ::GlobalFree(m_hPixels);
    m_hPixels = hNew;
    m_lpSrcBits = dst;
    m_nWidth = oldHeight;
    m_nHeight = oldWidth;
    m_lpBMI->bmiHeader.biWidth = m_nWidth;
    m_lpBMI->bmiHeader.biHeight = m_nHeight;
    m_lpBMI->bmiHeader.biSizeImage = newRow * (DWORD)m_nHeight;
    m_n8BitWidth = (m_nWidth + 3) & ~3;
    return TRUE;
}

BOOL SECPixelImage::Crop(int x, int y, int nWidth, int nHeight)
{
    if (m_lpSrcBits == NULL || m_lpBMI == NULL || !Movable(m_nBitCount))
        return FALSE;
    // Clip the rectangle (y counted from the top row) to the image.
    LONGLONG left = x, top = y, right = (LONGLONG)x + nWidth, bottom = (LONGLONG)y + nHeight;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > m_nWidth) right = m_nWidth;
    if (bottom > m_nHeight) bottom = m_nHeight;
    if (right <= left || bottom <= top)
        return FALSE;
    AlignRows();
    const int bits = m_nBitCount;
    const int newWidth = int(right - left), newHeight = int(bottom - top);
    const DWORD oldRow = AlignedRowBytes(), newRow = RowBytes(bits, newWidth, TRUE);
    HGLOBAL hNew = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (SIZE_T)newRow * newHeight);
    if (hNew == NULL)
        return FALSE;
    BYTE* dst = (BYTE*)::GlobalLock(hNew);
    for (int row = 0; row < newHeight; row++) {
        // new row counted from the bottom; its source row from the top is top + (newHeight-1-row)
        int fromTop = int(top) + (newHeight - 1 - row);
        const BYTE* src = m_lpSrcBits + (size_t)(m_nHeight - 1 - fromTop) * oldRow;
        BYTE* out = dst + (size_t)row * newRow;
        for (int col = 0; col < newWidth; col++)
            SetPixelValue(out, col, bits, GetPixelValue(src, int(left) + col, bits));
    }
    ::GlobalUnlock(m_hPixels);
    ::GlobalFree(m_hPixels);
    m_hPixels = hNew;
    m_lpSrcBits = dst;
    m_nWidth = newWidth;
    m_nHeight = newHeight;
    m_lpBMI->bmiHeader.biWidth = m_nWidth;
    m_lpBMI->bmiHeader.biHeight = m_nHeight;
    m_lpBMI->bmiHeader.biSizeImage = newRow * (DWORD)m_nHeight;
    m_n8BitWidth = (m_nWidth + 3) & ~3;
    return TRUE;
}

BOOL SECPixelImage::Mirror()
{
    if (m_lpSrcBits == NULL || !Movable(m_nBitCount))
        return FALSE;
    AlignRows();
    const DWORD rowBytes = AlignedRowBytes();
    for (int y = 0; y < m_nHeight; y++) {
        BYTE* row = m_lpSrcBits + (size_t)y * rowBytes;
        for (int a = 0, b = m_nWidth - 1; a < b; a++, b--) {
            DWORD va = GetPixelValue(row, a, m_nBitCount), vb = GetPixelValue(row, b, m_nBitCount);
            SetPixelValue(row, a, m_nBitCount, vb);
            SetPixelValue(row, b, m_nBitCount, va);
        }
    }
    return TRUE;
}

BOOL SECPixelImage::AdjustBrightness(short nAmount)
{
    if (m_lpSrcBits == NULL || m_lpBMI == NULL)
        return FALSE;
    int direction = nAmount > 0 ? 1 : -1;
    if (m_nBitCount == 4 || m_nBitCount == 8) {
        for (int i = 0; i < m_nColors; i++)
            AdjustPixelBrightness(direction, &m_lpRGB[i].rgbBlue);
        CreatePalette();
    } else if (m_nBitCount == 24 || m_nBitCount == 32) {
        AlignRows();
        const int step = m_nBitCount / 8;
        for (int y = 0; y < m_nHeight; y++) {
            BYTE* p = m_lpSrcBits + (size_t)y * AlignedRowBytes();
            for (int x = 0; x < m_nWidth; x++, p += step)
                AdjustPixelBrightness(direction, p);
        }
    }
    return TRUE;
}

void SECPixelImage::AdjustPixelBrightness(int nDirection, BYTE* pBGR)
{
    const double pi = 3.14159265358979323846;
    double r = pBGR[2] / 255.0, g = pBGR[1] / 255.0, b = pBGR[0] / 255.0;
    double v = r > g ? (r > b ? r : b) : (g > b ? g : b);
    double low = r < g ? (r < b ? r : b) : (g < b ? g : b);
    double s = v != 0 ? (v - low) / v : 0;
    double h = -1;  // undefined
    if (s != 0) {
        double d = v - low;
        if (r == v)
            h = (g - b) / d;
        else if (g == v)
            h = 2 + (b - r) / d;
        else
            h = 4 + (r - g) / d;
        h *= 60;
        if (h < 0)
            h += 360;
    }
    double nv = v + (((sin((v - 0.5) * pi) + 1) * 0.5) - v) * nDirection * 0.5;
    nv = nv < 0 ? 0 : nv > 1 ? 1 : nv;
    if (h < 0) {
        r = g = b = nv;
    } else {
        if (h >= 360)
            h = 0;
        int sector = (int)floor(h / 60);
        double f = h / 60 - sector;
        double p = nv * (1 - s), q = nv * (1 - s * f), t = nv * (1 - s * (1 - f));
        switch (sector) {
        case 0: r = nv, g = t, b = p; break;
        case 1: r = q, g = nv, b = p; break;
        case 2: r = p, g = nv, b = t; break;
        case 3: r = p, g = q, b = nv; break;
        case 4: r = t, g = p, b = nv; break;
        default: r = nv, g = p, b = q; break;
        }
    }
    pBGR[2] = BYTE(floor(r * 255 + 0.5));
    pBGR[1] = BYTE(floor(g * 255 + 0.5));
    pBGR[0] = BYTE(floor(b * 255 + 0.5));
}
