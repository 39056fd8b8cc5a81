// Bitmap images: files written and read back, hostile files refused with the previous image
// kept, the archive form (byte layout, every bit count and small width, streams written with
// the stored pixel count) and device bitmaps.
#include "gtest_wine.h"
#include "image_test_util.h"
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

void ExpectSamePixels(const SECPixelImage& a, const SECPixelImage& b)
{
    ASSERT_EQ(a.GetWidth(), b.GetWidth());
    ASSERT_EQ(a.GetHeight(), b.GetHeight());
    for (int y = 0; y < a.GetHeight(); y++)
        for (int x = 0; x < a.GetWidth(); x++)
            ASSERT_EQ(ColourAt(a, x, y), ColourAt(b, x, y)) << "pixel " << x << "," << y;
}

template <class T>
void Put(std::vector<BYTE>& b, size_t at, T v)
{
    memcpy(b.data() + at, &v, sizeof v);
}

std::string TempPath(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

}  // namespace

TEST(SECDibFile, WritesTheBitmapFileLayout)
{
    auto img = MakeImage(1, 33, 3);
    std::vector<BYTE> b = FileBytes(*img);
    ASSERT_EQ(b.size(), 14u + 40 + 8 + 8 * 3);
    BITMAPFILEHEADER fh;
    memcpy(&fh, b.data(), 14);
    EXPECT_EQ(fh.bfType, 0x4D42);
    EXPECT_EQ(fh.bfSize, b.size());
    EXPECT_EQ(fh.bfOffBits, 14u + 40 + 8);
    EXPECT_EQ(fh.bfReserved1 | fh.bfReserved2, 0);
    BITMAPINFOHEADER ih;
    memcpy(&ih, b.data() + 14, 40);
    EXPECT_EQ(ih.biSizeImage, 0u);
    EXPECT_EQ(ih.biWidth, 33);
    EXPECT_EQ(0, memcmp(b.data() + 62, img->m_lpSrcBits, 24));
}

TEST(SECDibFile, RoundTripsEveryFormOfFixture)
{
    struct Case { int bits, width, height; } cases[] = {
        {1, 33, 3}, {4, 5, 4}, {4, 7, 1}, {8, 9, 5}, {24, 5, 3}, {24, 1, 1}, {16, 3, 2}, {32, 2, 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits * 1000 + c.width);
        auto img = MakeImage(c.bits, c.width, c.height);
        SECDib back;
        ASSERT_TRUE(ReadBytes(back, FileBytes(*img)));
        EXPECT_EQ(back.m_nBitCount, c.bits);
        EXPECT_EQ(back.m_nColors, SECPixelImage::ColorsForBits(c.bits));
        EXPECT_TRUE(back.m_bRowsAligned);
        ExpectSamePixels(*img, back);
        EXPECT_EQ(0, memcmp(img->m_lpSrcBits, back.m_lpSrcBits, img->AlignedRowBytes() * c.height));
        EXPECT_EQ(0, memcmp(img->m_lpRGB, back.m_lpRGB, 4 * img->m_nColors));
        EXPECT_EQ(back.m_pPalette != NULL, c.bits <= 8);
    }
}

TEST(SECDibFile, OneBitWidth33HasEightByteRowsAndTwoEntryPalette)
{
    auto img = MakeImage(1, 33, 2);
    SECDib back;
    ASSERT_TRUE(ReadBytes(back, FileBytes(*img)));
    EXPECT_EQ(back.AlignedRowBytes(), 8u);
    ASSERT_NE(back.m_pPalette, nullptr);
    EXPECT_EQ(back.m_pPalette->GetEntryCount(), 2);
}

TEST(SECDibFile, HostileFilesAreRefusedAndTheOldImageKept)
{
    auto good = MakeImage(8, 6, 4);
    const std::vector<BYTE> base = FileBytes(*good);  // 14 + 40 + 1024 + 8 * 4
    struct Case {
        const char* what;
        void (*spoil)(std::vector<BYTE>&);
    } cases[] = {
        {"not BM", [](std::vector<BYTE>& b) { b[0] = 'X'; }},
        {"empty", [](std::vector<BYTE>& b) { b.clear(); }},
        {"header only", [](std::vector<BYTE>& b) { b.resize(14); }},
        {"offset below the header", [](std::vector<BYTE>& b) { Put<DWORD>(b, 10, 20); }},
        {"offset past the end", [](std::vector<BYTE>& b) { Put<DWORD>(b, 10, 0xFFFFFC00); }},
        {"offset wraps", [](std::vector<BYTE>& b) { Put<DWORD>(b, 10, 0xFFFFFFFF); }},
        {"info size 0", [](std::vector<BYTE>& b) { Put<DWORD>(b, 14, 0); }},
        {"info size past the offset", [](std::vector<BYTE>& b) { Put<DWORD>(b, 14, 5000); }},
        {"width 0", [](std::vector<BYTE>& b) { Put<LONG>(b, 18, 0); }},
        {"width negative", [](std::vector<BYTE>& b) { Put<LONG>(b, 18, -6); }},
        {"height 0", [](std::vector<BYTE>& b) { Put<LONG>(b, 22, 0); }},
        {"height negative", [](std::vector<BYTE>& b) { Put<LONG>(b, 22, INT_MIN); }},
        {"huge", [](std::vector<BYTE>& b) { Put<LONG>(b, 18, 0x7FFFFFFF); Put<LONG>(b, 22, 0x7FFFFFFF); }},
        {"width overflowing a row", [](std::vector<BYTE>& b) { Put<LONG>(b, 18, 0x40000000); Put<LONG>(b, 22, 1); }},
        {"bit count 3", [](std::vector<BYTE>& b) { Put<WORD>(b, 28, 3); }},
        {"bit count 0", [](std::vector<BYTE>& b) { Put<WORD>(b, 28, 0); }},
        {"run-length compressed", [](std::vector<BYTE>& b) { Put<DWORD>(b, 30, BI_RLE8); }},
        {"jpeg compressed", [](std::vector<BYTE>& b) { Put<DWORD>(b, 30, BI_JPEG); }},
        {"300 colours used", [](std::vector<BYTE>& b) { Put<DWORD>(b, 46, 300); }},
        {"rows past the end", [](std::vector<BYTE>& b) { b.resize(b.size() - 1); }},
        {"more rows than the file", [](std::vector<BYTE>& b) { Put<LONG>(b, 22, 5); }},
        {"table past the offset", [](std::vector<BYTE>& b) { Put<DWORD>(b, 10, 14 + 40 + 16); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto img = MakeImage(24, 3, 2, 9);
        auto before = MakeImage(24, 3, 2, 9);
        std::vector<BYTE> bytes = base;
        c.spoil(bytes);
        EXPECT_FALSE(ReadBytes(*img, bytes));
        ExpectSamePixels(*img, *before);
        EXPECT_EQ(img->m_nBitCount, 24);
    }
    // and a good file after them all loads
    SECDib img;
    EXPECT_TRUE(ReadBytes(img, base));
    ExpectSamePixels(img, *good);
}

TEST(SECDibFile, ReadsSmallerColourTablesAndLargerInfoHeaders)
{
    auto img = MakeImage(8, 4, 2);
    std::vector<BYTE> b = FileBytes(*img);
    // a table of 3 entries after a 108-byte info header
    std::vector<BYTE> v;
    v.insert(v.end(), b.begin(), b.begin() + 54);
    v.resize(14 + 108);
    v.insert(v.end(), b.begin() + 54, b.begin() + 54 + 12);
    v.insert(v.end(), b.end() - 8, b.end());
    Put<DWORD>(v, 14, 108);
    Put<DWORD>(v, 46, 3);
    Put<DWORD>(v, 10, 14 + 108 + 12);
    Put<DWORD>(v, 2, (DWORD)v.size());
    SECDib back;
    ASSERT_TRUE(ReadBytes(back, v));
    EXPECT_EQ(back.m_lpBMI->bmiHeader.biSize, 40u);
    EXPECT_EQ(back.m_lpBMI->bmiHeader.biClrUsed, 3u);
    EXPECT_EQ(0, memcmp(back.m_lpRGB, img->m_lpRGB, 12));
    EXPECT_EQ(back.m_lpRGB[3].rgbRed | back.m_lpRGB[3].rgbGreen | back.m_lpRGB[3].rgbBlue, 0);
    EXPECT_EQ(0, memcmp(back.m_lpSrcBits, img->m_lpSrcBits, 8));
    EXPECT_EQ(back.m_pPalette->GetEntryCount(), 256);
}

TEST(SECDibFile, LoadAndSaveByPathOwnTheirFileObjects)
{
    std::string path = TempPath("secdib_test.bmp");
    auto img = MakeImage(4, 5, 3);
    ASSERT_TRUE(img->SaveImage(path.c_str()));
    EXPECT_EQ(img->m_files.GetCount(), 1);
    SECDib back;
    ASSERT_TRUE(back.LoadImage(path.c_str()));
    ASSERT_TRUE(back.LoadImage(path.c_str()));
    EXPECT_EQ(back.m_files.GetCount(), 2);
    ExpectSamePixels(*img, back);
    // a missing file or folder is a plain FALSE, the image kept
    EXPECT_FALSE(back.LoadImage(TempPath("no such file.bmp").c_str()));
    EXPECT_FALSE(img->SaveImage(TempPath("no such folder\\x.bmp").c_str()));
    ExpectSamePixels(*img, back);
    // on a file object of the caller's: a failed open is FALSE as well
    CFile mine;
    back.m_pCurrentFile = &mine;
    EXPECT_FALSE(back.LoadImage(TempPath("no such file.bmp").c_str()));
    EXPECT_TRUE(back.LoadImage(path.c_str()));
    EXPECT_EQ(back.m_files.GetCount(), 2);
    back.m_pCurrentFile = NULL;
    DeleteFileA(path.c_str());
}

TEST(SECDibFile, AWriteErrorIsFalse)
{
    auto img = MakeImage(24, 4, 4);
    BYTE room[100];
    CMemFile full(room, sizeof room);  // cannot grow past 100 bytes
    EXPECT_FALSE(img->Write(&full));
    EXPECT_TRUE(img->m_bRowsAligned);
}

// ---------------------------------------------------------------------------------------------
// Archive form

namespace {

std::vector<BYTE> Store(SECDib* img)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << img;
        ar.Close();
    }
    std::vector<BYTE> bytes(file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    return bytes;
}

std::unique_ptr<SECDib> Load(const std::vector<BYTE>& bytes)
{
    CMemFile file;
    file.Write(bytes.data(), (UINT)bytes.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    SECDib* img = NULL;
    ar >> img;
    return std::unique_ptr<SECDib>(img);
}

// Bytes of the object record before the image: new-class tag, schema, name length, "SECDib".
const size_t kRecord = 2 + 2 + 2 + 6;

}  // namespace

TEST(SECDibArchive, StoredLayoutHasTheFixedCounts)
{
    auto img = MakeImage(24, 5, 3);
    std::vector<BYTE> b = Store(img.get());
    // 14 + 40 header bytes, then 24 x 8 x 3 / 8 = 72 pixel bytes: the 48 bytes of rows, zeros
    ASSERT_EQ(b.size(), kRecord + 54 + 72);
    BITMAPFILEHEADER fh;
    memcpy(&fh, b.data() + kRecord, 14);
    EXPECT_EQ(fh.bfType, 0x4D42);
    EXPECT_EQ(fh.bfSize, 40u + 14 + 16 * 3);  // (24 / 8 x 5) rounded to 4 = 16 per row
    EXPECT_EQ(fh.bfOffBits, 54u);
    EXPECT_EQ(0, memcmp(b.data() + kRecord + 54, img->m_lpSrcBits, 48));
    for (size_t i = kRecord + 54 + 48; i < b.size(); i++)
        EXPECT_EQ(b[i], 0) << i;
}

TEST(SECDibArchive, RoundTripsEveryBitCountAndWidth)
{
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (int width = 1; width <= 8; width++) {
            SCOPED_TRACE(bits * 100 + width);
            auto img = MakeImage(bits, width, 3, width);
            std::vector<BYTE> b = Store(img.get());
            auto back = Load(b);
            ASSERT_NE(back, nullptr);
            // 1- and 4-bit images are stored as 8 bits: the count is exact for them
            EXPECT_EQ(back->m_nBitCount, bits < 8 ? 8 : bits);
            ExpectSamePixels(*img, *back);
            if (bits < 8) {
                EXPECT_EQ(back->m_lpBMI->bmiHeader.biClrUsed, (DWORD)img->m_nColors);
                EXPECT_EQ(back->m_pPalette->GetEntryCount(), 256);
            }
            // and the stored form of the loaded image is the same bytes again
            if (bits >= 8)
                EXPECT_EQ(Store(back.get()), b);
        }
}

TEST(SECDibArchive, StreamsWrittenWithTheStoredCountReadBack)
{
    // A 24-bit image of width 5 stored as its rows followed by whatever lay after them.
    auto img = MakeImage(24, 5, 2);
    std::vector<BYTE> b = Store(img.get());
    for (size_t i = kRecord + 54 + 32; i < b.size(); i++)
        b[i] = 0xEE;
    auto back = Load(b);
    ExpectSamePixels(*img, *back);

    // A 1-bit image of width 33 stored with 1 x 36 x 2 / 8 = 9 pixel bytes: the first row
    // and one byte of the second; the rest reads as zeros.
    auto one = MakeImage(1, 33, 2);
    std::vector<BYTE> s(b.begin(), b.begin() + kRecord);
    BITMAPFILEHEADER fh = {0x4D42, 54 + 8, 0, 0, 54 + 8};
    s.insert(s.end(), (BYTE*)&fh, (BYTE*)&fh + 14);
    s.insert(s.end(), (BYTE*)one->m_lpBMI, (BYTE*)one->m_lpBMI + 48);
    s.insert(s.end(), one->m_lpSrcBits, one->m_lpSrcBits + 9);
    s.push_back(0x5A);  // what follows the object stays unread
    CMemFile file;
    file.Write(s.data(), (UINT)s.size());
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    SECDib* loaded = NULL;
    ar >> loaded;
    std::unique_ptr<SECDib> keep(loaded);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->m_nBitCount, 1);
    EXPECT_EQ(0, memcmp(loaded->m_lpSrcBits, one->m_lpSrcBits, 9));
    for (int i = 9; i < 16; i++)
        EXPECT_EQ(loaded->m_lpSrcBits[i], 0);
    BYTE next = 0;
    ar >> next;
    EXPECT_EQ(next, 0x5A);
}

TEST(SECDibArchive, EmptyImagesAndBadStreams)
{
    SECDib empty;
    auto back = Load(Store(&empty));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetWidth(), 0);
    EXPECT_EQ(back->m_lpSrcBits, nullptr);

    auto img = MakeImage(8, 4, 4);
    const std::vector<BYTE> good = Store(img.get());
    struct Case {
        const char* what;
        void (*spoil)(std::vector<BYTE>&);
    } cases[] = {
        {"cut in the pixels", [](std::vector<BYTE>& b) { b.resize(b.size() - 1); }},
        {"cut in the header", [](std::vector<BYTE>& b) { b.resize(kRecord + 30); }},
        {"offset too small", [](std::vector<BYTE>& b) { Put<DWORD>(b, kRecord + 10, 20); }},
        {"offset too large", [](std::vector<BYTE>& b) { Put<DWORD>(b, kRecord + 10, 0x10000); }},
        {"table shorter than the bit count", [](std::vector<BYTE>& b) { Put<DWORD>(b, kRecord + 10, 60); }},
        {"huge size", [](std::vector<BYTE>& b) { Put<LONG>(b, kRecord + 18, 0xFFFFF); Put<LONG>(b, kRecord + 22, 0xFFFFF); }},
        {"count past the stream", [](std::vector<BYTE>& b) { Put<LONG>(b, kRecord + 22, 400); }},
        {"negative height", [](std::vector<BYTE>& b) { Put<LONG>(b, kRecord + 22, -4); }},
        {"bit count 7", [](std::vector<BYTE>& b) { Put<WORD>(b, kRecord + 28, 7); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<BYTE> b = good;
        c.spoil(b);
        bool threw = false;
        try {
            Load(b);
        } catch (CArchiveException* e) {
            threw = true;
            e->Delete();
        }
        EXPECT_TRUE(threw);
    }
}

TEST(SECDibArchive, AnObjectOfAnotherClassIsABadClass)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        CObList list;
        ar << &list;
        ar.Close();
    }
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    SECDib* img = NULL;
    int cause = -1;
    try {
        ar >> img;
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::badClass);
}

// ---------------------------------------------------------------------------------------------
// Device bitmaps and drawing

TEST(SECDibDevice, FromAndToDeviceBitmaps)
{
    HDC screen = GetDC(NULL);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.Attach(CreateCompatibleBitmap(screen, 7, 3)));
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, bitmap.GetSafeHandle());
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 7; x++)
            SetPixel(mem, x, y, RGB(x * 30, y * 80, 200));
    SelectObject(mem, old);

    SECDib img;
    ASSERT_TRUE(img.CreateFromBitmap(CDC::FromHandle(mem), &bitmap));
    EXPECT_EQ(img.m_nBitCount, 24);
    EXPECT_EQ(img.GetWidth(), 7);
    // bottom-up rows: the top row is the last
    EXPECT_EQ(ColourAt(img, 2, 2), (DWORD)(200 | 0 << 8 | 60 << 16));

    std::unique_ptr<CBitmap> made(img.MakeBitmap(NULL));
    ASSERT_NE(made, nullptr);
    old = SelectObject(mem, made->GetSafeHandle());
    EXPECT_EQ(GetPixel(mem, 6, 1), RGB(180, 80, 200));
    SelectObject(mem, old);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);

    SECDib empty;
    EXPECT_EQ(empty.MakeBitmap(NULL), nullptr);
    CBitmap none;
    EXPECT_FALSE(empty.CreateFromBitmap(NULL, &none));
}

TEST(SECDibDevice, PaletteDisplaysDrawThroughAHalftonePalette)
{
    SECPixelImage::SetDisplayDepthForTest(8, 1);
    auto img = MakeImage(24, 4, 4);
    EXPECT_EQ(img->m_nDispBits, 8);
    EXPECT_EQ(img->m_nDispColors, 256);
    EXPECT_TRUE(img->m_bHalftone);
    auto pal = MakeImage(8, 4, 4);
    EXPECT_FALSE(pal->m_bHalftone);
    SECPixelImage::SetDisplayDepthForTest(0, 0);
    EXPECT_FALSE(MakeImage(24, 4, 4)->m_bHalftone);

    HDC screen = GetDC(NULL);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 4, 4);
    HGDIOBJ old = SelectObject(mem, target);
    SetStretchBltMode(mem, COLORONCOLOR);
    CDC* dc = CDC::FromHandle(mem);
    EXPECT_EQ(img->StretchDIBits(dc, 0, 0, 4, 4, 0, 0, 4, 4, img->m_lpSrcBits, img->m_lpBMI,
                                 DIB_RGB_COLORS, SRCCOPY), 4);
    EXPECT_EQ(GetStretchBltMode(mem), COLORONCOLOR);  // restored
    EXPECT_EQ(GetCurrentObject(mem, OBJ_PAL), GetStockObject(DEFAULT_PALETTE));
    SelectObject(mem, old);
    DeleteObject(target);
    DeleteDC(mem);
    ReleaseDC(NULL, screen);
}

TEST(SECDibDevice, CopyTakeOverAndRowLayout)
{
    auto img = MakeImage(24, 3, 3);
    SECDib copy;
    ASSERT_TRUE(copy.CopyFrom(*img));
    ExpectSamePixels(*img, copy);
    EXPECT_NE(copy.m_lpSrcBits, img->m_lpSrcBits);
    SECDib taken;
    taken.TakeOver(copy);
    EXPECT_EQ(copy.m_lpSrcBits, nullptr);
    EXPECT_EQ(copy.GetWidth(), 0);
    ExpectSamePixels(*img, taken);

    // rows of 9 bytes padded to 12: pack, align and flip keep the pixels
    std::vector<BYTE> before(img->m_lpSrcBits, img->m_lpSrcBits + 12 * 3);
    taken.PackRows();
    EXPECT_FALSE(taken.m_bRowsAligned);
    EXPECT_EQ(0, memcmp(taken.m_lpSrcBits + 9, before.data() + 12, 9));
    EXPECT_EQ(0, memcmp(taken.m_lpSrcBits + 18, before.data() + 24, 9));
    taken.AlignRows();
    EXPECT_EQ(0, memcmp(taken.m_lpSrcBits, before.data(), before.size()));
    taken.FlipRows();
    EXPECT_EQ(0, memcmp(taken.m_lpSrcBits, before.data() + 24, 12));
    EXPECT_EQ(0, memcmp(taken.m_lpSrcBits + 24, before.data(), 12));
}
