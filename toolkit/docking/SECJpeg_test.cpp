// JPEG images: files equal to a direct encode by the library, palette images expanded,
// the image untouched by writing, cut and foreign files, the palette-display read and
// failing files.
#include "gtest_wine.h"
#include "image_test_util.h"
#include "SECJpeg.h"
#include <cstring>
#include <memory>
#include <string>
#include <vector>

// The library's header next to the Windows ones: its `boolean` (int) renamed, and the
// integer types it would define taken from the Windows headers.
#define XMD_H
#define boolean jpeg_boolean
#include <jpeglib.h>
#undef boolean

namespace {

BYTE Pattern(int x, int y) { return BYTE(x * 37 + y * 11); }

// The image's top-first rows as red, green, blue, for a direct encode.
std::vector<BYTE> RgbRows(const SECPixelImage& img)
{
    std::vector<BYTE> rgb;
    for (int top = 0; top < img.GetHeight(); top++)
        for (int x = 0; x < img.GetWidth(); x++) {
            DWORD c = ColourAt(img, x, img.GetHeight() - 1 - top);
            rgb.push_back(BYTE(c >> 16));
            rgb.push_back(BYTE(c >> 8));
            rgb.push_back(BYTE(c));
        }
    return rgb;
}

// A JPEG file made by the library directly from rows of 3 (red, green, blue) or 1 (grey)
// samples.
std::vector<BYTE> DirectEncode(int width, int height, const std::vector<BYTE>& samples,
                               int quality, int components = 3)
{
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = NULL;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = width;
    c.image_height = height;
    c.input_components = components;
    c.in_color_space = components == 3 ? JCS_RGB : JCS_GRAYSCALE;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, quality, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = (JSAMPROW)&samples[(size_t)c.next_scanline * width * components];
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<BYTE> bytes(out, out + size);
    free(out);
    return bytes;
}

// Moves a DIB's pixels and colour table into a JPEG image.
std::unique_ptr<SECJpeg> AsJpeg(SECPixelImage& dib)
{
    auto jpeg = std::make_unique<SECJpeg>();
    EXPECT_TRUE(jpeg->CopyFrom(dib));
    return jpeg;
}

}  // namespace

TEST(SECJpeg, FileEqualsADirectEncodeAtTheQuality)
{
    struct Case { int bits, width, height, quality; } cases[] = {
        {24, 37, 23, 75}, {24, 37, 23, 100}, {24, 1, 9, 75}, {4, 5, 7, 100}, {4, 7, 3, 75},
        {1, 33, 4, 100}, {8, 6, 5, 75}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits * 1000 + c.width);
        auto dib = MakePatternImage(c.bits, c.width, c.height, Pattern);
        auto jpeg = AsJpeg(*dib);
        EXPECT_EQ(jpeg->m_nQuality, 75);
        if (c.quality != 75)
            jpeg->m_nQuality = c.quality;
        std::vector<BYTE> before(jpeg->m_lpSrcBits,
                                 jpeg->m_lpSrcBits + jpeg->AlignedRowBytes() * c.height);
        std::vector<BYTE> file = FileBytes(*jpeg);
        EXPECT_EQ(file, DirectEncode(c.width, c.height, RgbRows(*dib), c.quality));
        // the image is as before the write: bottom-up, aligned rows, same bytes
        EXPECT_TRUE(jpeg->m_bRowsAligned);
        EXPECT_EQ(0, memcmp(before.data(), jpeg->m_lpSrcBits, before.size()));
        // and it reads back at its size
        SECJpeg back;
        ASSERT_TRUE(ReadBytes(back, file));
        EXPECT_EQ(back.GetWidth(), c.width);
        EXPECT_EQ(back.GetHeight(), c.height);
        EXPECT_EQ(back.m_nBitCount, 24);
    }
}

TEST(SECJpeg, ReadsBottomUpInTheDibByteOrder)
{
    // top half red, bottom half blue (rows are stored bottom first)
    auto dib = MakePatternImage(24, 16, 16, [](int x, int y) -> BYTE {
        int channel = x % 3;  // blue, green, red
        return y < 8 ? (channel == 0 ? 255 : 0) : (channel == 2 ? 255 : 0);
    });
    auto jpeg = AsJpeg(*dib);
    jpeg->m_nQuality = 100;
    SECJpeg back;
    ASSERT_TRUE(ReadBytes(back, FileBytes(*jpeg)));
    const BYTE* bottom = back.m_lpSrcBits;
    const BYTE* top = back.m_lpSrcBits + 15 * back.AlignedRowBytes();
    EXPECT_GT(bottom[0], 240);
    EXPECT_LT(bottom[2], 15);
    EXPECT_GT(top[2], 240);
    EXPECT_LT(top[0], 15);

    // a grey file reads into three equal bytes a pixel
    SECJpeg grey;
    ASSERT_TRUE(ReadBytes(grey, DirectEncode(5, 3, std::vector<BYTE>(15, 0x80), 100, 1)));
    EXPECT_EQ(grey.m_nBitCount, 24);
    for (int i = 0; i < 15; i++)
        EXPECT_NEAR(grey.m_lpSrcBits[i], 0x80, 1) << i;
}

TEST(SECJpeg, CutFilesReadAndForeignFilesKeepTheImage)
{
    auto dib = MakePatternImage(24, 64, 64, Pattern);
    auto jpeg = AsJpeg(*dib);
    std::vector<BYTE> file = FileBytes(*jpeg);
    std::vector<BYTE> cut(file.begin(), file.begin() + file.size() / 2);
    SECJpeg back;
    EXPECT_TRUE(ReadBytes(back, cut));
    EXPECT_EQ(back.GetWidth(), 64);
    EXPECT_EQ(back.GetHeight(), 64);

    std::vector<BYTE> keep(back.m_lpSrcBits, back.m_lpSrcBits + back.AlignedRowBytes() * 64);
    std::vector<BYTE> bmp;
    {
        CMemFile f;
        dib->Write(&f);
        bmp.resize(f.GetLength());
        f.SeekToBegin();
        f.Read(bmp.data(), (UINT)bmp.size());
    }
    std::vector<BYTE> headerOnly(file.begin(), file.begin() + 2);
    std::vector<BYTE> badSize = file;
    for (size_t i = 0; i + 8 < badSize.size(); i++)
        if (badSize[i] == 0xFF && badSize[i + 1] == 0xC0) {  // frame header: height, width 0
            badSize[i + 5] = badSize[i + 6] = badSize[i + 7] = badSize[i + 8] = 0;
            break;
        }
    for (const std::vector<BYTE>* foreign : {&bmp, &headerOnly, &badSize}) {
        EXPECT_FALSE(ReadBytes(back, *foreign));
        ASSERT_EQ(back.GetWidth(), 64);
        EXPECT_EQ(0, memcmp(keep.data(), back.m_lpSrcBits, keep.size()));
    }
    EXPECT_FALSE(ReadBytes(back, {}));
    EXPECT_EQ(back.GetWidth(), 64);
}

TEST(SECJpeg, PaletteDisplaysReadEightBitsWith256Colours)
{
    SECPixelImage::SetDisplayDepthForTest(8, 1);
    SECJpeg reader;
    SECPixelImage::SetDisplayDepthForTest(0, 0);
    EXPECT_TRUE(reader.m_bQuantize);
    auto dib = MakePatternImage(24, 16, 8, [](int x, int y) -> BYTE {
        int channel = x % 3;
        return channel == 2 ? 200 : channel == 1 ? BYTE(y * 20) : 30;
    });
    auto jpeg = AsJpeg(*dib);
    EXPECT_FALSE(jpeg->m_bQuantize);
    jpeg->m_nQuality = 100;
    ASSERT_TRUE(ReadBytes(reader, FileBytes(*jpeg)));
    EXPECT_EQ(reader.m_nBitCount, 8);
    EXPECT_EQ(reader.m_nColors, 256);
    ASSERT_NE(reader.m_pPalette, nullptr);
    EXPECT_EQ(reader.m_pPalette->GetEntryCount(), 256);
    EXPECT_EQ(reader.AlignedRowBytes(), 16u);
    // the bottom-left pixel's colour is close to the image's (red 200, blue 30)
    const RGBQUAD& q = reader.m_lpRGB[reader.m_lpSrcBits[0]];
    EXPECT_NEAR(q.rgbRed, 200, 12);
    EXPECT_NEAR(q.rgbBlue, 30, 12);

    // without quantisation a palette display still reads 24 bits
    reader.m_bQuantize = FALSE;
    ASSERT_TRUE(ReadBytes(reader, FileBytes(*jpeg)));
    EXPECT_EQ(reader.m_nBitCount, 24);
}

TEST(SECJpeg, FailingFilesAreFalseAndTheImageUnchanged)
{
    auto dib = MakePatternImage(24, 80, 60, [](int x, int y) { return BYTE(x * x * 7 + y * y * 13); });
    auto jpeg = AsJpeg(*dib);
    jpeg->m_nQuality = 100;
    std::vector<BYTE> before(jpeg->m_lpSrcBits, jpeg->m_lpSrcBits + jpeg->AlignedRowBytes() * 60);
    ASSERT_GT(FileBytes(*jpeg).size(), 5000u);
    // failing in the first buffer, in the file's end and past the first full buffer
    for (UINT room : {0u, 100u, 4000u, 5000u}) {
        std::vector<BYTE> buffer(room + 1);
        CMemFile full(buffer.data(), room);  // cannot grow
        EXPECT_FALSE(jpeg->Write(&full)) << room;
        EXPECT_EQ(0, memcmp(before.data(), jpeg->m_lpSrcBits, before.size()));
    }
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    EXPECT_FALSE(jpeg->SaveImage((std::string(dir) + "no such folder\\a.jpg").c_str()));
    std::string path = std::string(dir) + "secjpeg_test.jpg";
    EXPECT_TRUE(jpeg->SaveImage(path.c_str()));
    SECJpeg back;
    EXPECT_TRUE(back.LoadImage(path.c_str()));
    EXPECT_EQ(back.GetWidth(), 80);
    DeleteFileA(path.c_str());
    SECJpeg empty;
    CMemFile file;
    EXPECT_FALSE(empty.Write(&file));
}
