// Helpers of the image tests: images of a given form with patterned pixels, and images
// written to and read from memory files.
#ifndef QUORVEL_IMAGE_TEST_UTIL_H
#define QUORVEL_IMAGE_TEST_UTIL_H

#include "SECDib.h"
#include <memory>
#include <vector>

// Colour-table entry i of the test images.
inline RGBQUAD TestColour(int i, DWORD seed)
{
    return {BYTE(i * 3 + seed), BYTE(i * 5 + 16), BYTE(255 - i), 0};
}

// An image of the given form; pixel byte i of row y (bottom first) is pixel(i, y).
template <class PixelFn>
std::unique_ptr<SECDib> MakePatternImage(int bits, int width, int height, PixelFn pixel,
                                         DWORD seed = 1)
{
    WORD colors = SECPixelImage::ColorsForBits(bits);
    DWORD row = SECPixelImage::RowBytes(bits, width, TRUE);
    HGLOBAL hInfo = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 40 + 4 * colors);
    HGLOBAL hPixels = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, row * height);
    BITMAPINFO* bmi = (BITMAPINFO*)GlobalLock(hInfo);
    bmi->bmiHeader = {40, width, height, 1, (WORD)bits, BI_RGB, 0, 0, 0, 0, 0};
    for (int i = 0; i < colors; i++)
        bmi->bmiColors[i] = TestColour(i, seed);
    GlobalUnlock(hInfo);
    BYTE* p = (BYTE*)GlobalLock(hPixels);
    DWORD packed = SECPixelImage::RowBytes(bits, width, FALSE);
    for (int y = 0; y < height; y++)
        for (DWORD i = 0; i < packed; i++)
            p[y * row + i] = BYTE(pixel(int(i), y));
    // bits past the last pixel stay clear, as GDI leaves them
    if ((bits * width) % 8 != 0)
        for (int y = 0; y < height; y++)
            p[y * row + packed - 1] &= BYTE(0xFF00 >> ((bits * width) % 8));
    GlobalUnlock(hPixels);
    auto img = std::make_unique<SECDib>();
    img->Attach(hInfo, hPixels);
    img->AfterRead();
    return img;
}

inline std::unique_ptr<SECDib> MakeImage(int bits, int width, int height, DWORD seed = 1)
{
    return MakePatternImage(bits, width, height,
                     [seed](int i, int y) { return BYTE(y * 31 + i * 7 + seed); }, seed);
}

// The file form of the image as its class writes it.
inline std::vector<BYTE> FileBytes(SECPixelImage& img)
{
    CMemFile file;
    EXPECT_TRUE(img.Write(&file));
    std::vector<BYTE> bytes(file.GetLength());
    file.SeekToBegin();
    if (!bytes.empty())
        file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

inline BOOL ReadBytes(SECPixelImage& img, const std::vector<BYTE>& bytes)
{
    CMemFile file;
    if (!bytes.empty())
        file.Write(bytes.data(), (UINT)bytes.size());
    file.SeekToBegin();
    return img.Read(&file);
}

// The colour of a pixel (x from the left, y from the bottom row) as 0x00RRGGBB: the table
// entry for palette images, the raw pixel value otherwise.
inline DWORD ColourAt(const SECPixelImage& img, int x, int y)
{
    const BYTE* row = img.m_lpSrcBits + (size_t)y * img.AlignedRowBytes();
    int index;
    switch (img.m_nBitCount) {
    case 1: index = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
    case 4: index = (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4; break;
    case 8: index = row[x]; break;
    case 16: return row[2 * x] | row[2 * x + 1] << 8;
    case 24: return row[3 * x] | row[3 * x + 1] << 8 | row[3 * x + 2] << 16;
    default:
        return row[4 * x] | row[4 * x + 1] << 8 | row[4 * x + 2] << 16 | DWORD(row[4 * x + 3]) << 24;
    }
    const RGBQUAD& q = img.m_lpRGB[index];
    return q.rgbBlue | q.rgbGreen << 8 | q.rgbRed << 16;
}

#endif  // QUORVEL_IMAGE_TEST_UTIL_H
