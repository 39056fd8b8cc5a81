// Image operations (rotation, cropping, mirroring, brightness) over every pixel size, and
// bitmap resources loaded with the button greys mapped to the system colours.
#include "gtest_wine.h"
#include "image_test_util.h"
#include "SECResource.h"
#include "SECSysColor.h"
#include <vector>

namespace {

const int kBits[] = {1, 4, 8, 16, 24, 32};

std::unique_ptr<SECDib> Sample(int bits, int width, int height)
{
    return MakePatternImage(bits, width, height,
                            [](int i, int y) { return BYTE(i * 29 + y * 71 + 5); });
}

}  // namespace

TEST(SECImageOps, RotateBothWaysAtEveryBitCount)
{
    for (int bits : kBits)
        for (BOOL clockwise : {TRUE, FALSE}) {
            SCOPED_TRACE(bits * 10 + clockwise);
            const int W = 5, H = 3;
            auto img = Sample(bits, W, H);
            auto before = Sample(bits, W, H);
            ASSERT_TRUE(img->Rotate90(clockwise));
            ASSERT_EQ(img->GetWidth(), H);
            ASSERT_EQ(img->GetHeight(), W);
            EXPECT_EQ(img->m_lpBMI->bmiHeader.biWidth, H);
            for (int y = 0; y < H; y++)
                for (int x = 0; x < W; x++) {
                    DWORD moved = clockwise ? ColourAt(*img, y, W - 1 - x) : ColourAt(*img, H - 1 - y, x);
                    ASSERT_EQ(moved, ColourAt(*before, x, y)) << x << "," << y;
                }
            // four turns give the image back
            for (int i = 0; i < 3; i++)
                img->Rotate90(clockwise);
            for (int y = 0; y < H; y++)
                for (int x = 0; x < W; x++)
                    ASSERT_EQ(ColourAt(*img, x, y), ColourAt(*before, x, y));
        }
    SECDib empty;
    EXPECT_FALSE(empty.Rotate90(TRUE));
}

TEST(SECImageOps, CropClipsToTheImage)
{
    struct Case { int x, y, w, h; bool ok; int left, top, width, height; } cases[] = {
        {0, 0, 7, 5, true, 0, 0, 7, 5},     {2, 1, 3, 2, true, 2, 1, 3, 2},
        {-2, -1, 4, 3, true, 0, 0, 2, 2},   {5, 3, 10, 10, true, 5, 3, 2, 2},
        {7, 0, 3, 3, false, 0, 0, 0, 0},    {1, 1, 0, 2, false, 0, 0, 0, 0},
        {1, 1, -3, 2, false, 0, 0, 0, 0},   {0, 0, 0x7FFFFFFF, 0x7FFFFFFF, true, 0, 0, 7, 5},
    };
    for (int bits : kBits)
        for (const Case& c : cases) {
            SCOPED_TRACE(bits * 100 + c.x * 10 + c.w);
            auto img = Sample(bits, 7, 5);
            auto before = Sample(bits, 7, 5);
            EXPECT_EQ(img->Crop(c.x, c.y, c.w, c.h), c.ok ? TRUE : FALSE);
            if (!c.ok) {
                ASSERT_EQ(img->GetWidth(), 7);
                continue;
            }
            ASSERT_EQ(img->GetWidth(), c.width);
            ASSERT_EQ(img->GetHeight(), c.height);
            EXPECT_EQ(img->m_lpBMI->bmiHeader.biHeight, c.height);
            for (int r = 0; r < c.height; r++)      // rows from the top
                for (int col = 0; col < c.width; col++)
                    ASSERT_EQ(ColourAt(*img, col, c.height - 1 - r),
                              ColourAt(*before, c.left + col, 5 - 1 - (c.top + r)));
        }
}

TEST(SECImageOps, MirrorAndBrightness)
{
    for (int bits : kBits) {
        auto img = Sample(bits, 5, 2);
        auto before = Sample(bits, 5, 2);
        ASSERT_TRUE(img->Mirror());
        for (int y = 0; y < 2; y++)
            for (int x = 0; x < 5; x++)
                ASSERT_EQ(ColourAt(*img, x, y), ColourAt(*before, 4 - x, y)) << bits;
    }

    struct Case { int direction; BYTE in[3], out[3]; } cases[] = {  // blue, green, red
        {1, {51, 51, 51}, {38, 38, 38}},       {-1, {51, 51, 51}, {64, 64, 64}},
        {1, {200, 200, 200}, {213, 213, 213}}, {1, {0, 0, 0}, {0, 0, 0}},
        {1, {255, 255, 255}, {255, 255, 255}}, {1, {40, 80, 200}, {43, 85, 213}},
        {-1, {40, 80, 200}, {37, 75, 187}},
    };
    for (const Case& c : cases) {
        BYTE p[3] = {c.in[0], c.in[1], c.in[2]};
        SECPixelImage::AdjustPixelBrightness(c.direction, p);
        EXPECT_EQ(p[0], c.out[0]);
        EXPECT_EQ(p[1], c.out[1]);
        EXPECT_EQ(p[2], c.out[2]);
    }
    // 24-bit images change their pixels, palette images their colour table
    auto rgb = MakePatternImage(24, 1, 1, [](int, int) { return BYTE(51); });
    EXPECT_TRUE(rgb->AdjustBrightness(5));
    EXPECT_EQ(rgb->m_lpSrcBits[0], 38);
    auto pal = MakePatternImage(8, 2, 1, [](int i, int) { return BYTE(i); });
    RGBQUAD entry = pal->m_lpRGB[1];
    BYTE expected[3] = {entry.rgbBlue, entry.rgbGreen, entry.rgbRed};
    SECPixelImage::AdjustPixelBrightness(-1, expected);
    EXPECT_TRUE(pal->AdjustBrightness(-3));
    EXPECT_EQ(pal->m_lpRGB[1].rgbRed, expected[2]);
    EXPECT_EQ(pal->m_lpSrcBits[1], 1);
}

TEST(SECSysColor, MapsTheFourGreysOnly)
{
    RGBQUAD table[] = {{0, 0, 0, 0},       {128, 128, 128, 0}, {192, 192, 192, 0},
                       {255, 255, 255, 0}, {192, 192, 192, 1}, {10, 20, 30, 0}};
    MapSysColors(table, 6);
    const int sys[] = {COLOR_BTNTEXT, COLOR_BTNSHADOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT};
    for (int i = 0; i < 4; i++) {
        COLORREF c = GetSysColor(sys[i]);
        EXPECT_EQ(RGB(table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue), c) << i;
        EXPECT_EQ(table[i].rgbReserved, 0);
    }
    EXPECT_EQ(table[4].rgbReserved, 1);  // a reserved byte set: not a grey of the map
    EXPECT_EQ(table[4].rgbBlue, 192);
    EXPECT_EQ(table[5].rgbRed, 30);
}

TEST(SECSysColor, LoadedBitmapFollowsAChangedButtonFace)
{
    int element = COLOR_BTNFACE;
    COLORREF saved = GetSysColor(COLOR_BTNFACE);
    COLORREF face = RGB(10, 120, 230);
    ASSERT_TRUE(SetSysColors(1, &element, &face));
    CBitmap arrow;
    BOOL loaded = LoadSysColorBitmap(&arrow, MAKEINTRESOURCE(IDB_SEC_MENUARROW_DOWN));
    SetSysColors(1, &element, &saved);
    ASSERT_TRUE(loaded);
    BITMAP bm;
    arrow.GetObject(sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 9);
    EXPECT_EQ(bm.bmHeight, 6);
    HDC mem = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(mem, arrow.GetSafeHandle());
    EXPECT_EQ(GetPixel(mem, 0, 0), face);                          // the light grey
    EXPECT_EQ(GetPixel(mem, 4, 2), GetSysColor(COLOR_BTNTEXT));    // the black arrow
    SelectObject(mem, old);
    DeleteDC(mem);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), saved);

    CBitmap none;
    EXPECT_FALSE(LoadSysColorBitmap(&none, MAKEINTRESOURCE(1)));
    EXPECT_EQ(none.GetSafeHandle(), nullptr);
}
