// The DIB bitmap: pixel operations on rectangles partly outside (run under AddressSanitizer
// too), the scaling weights, BMP files of every form loading upright, Targa round trips and
// foreign Targa files, hostile headers refused, and failures reported.
#include "dialog_answers.h"
#include "BitmapDIB.h"
#include "DibFile.h"
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string TempPath(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

void WriteBytes(const std::string& path, const std::vector<BYTE>& bytes)
{
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, NULL);
    CloseHandle(h);
}

std::vector<BYTE> ReadBytes(const std::string& path)
{
    std::vector<BYTE> bytes;
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    bytes.resize(GetFileSize(h, NULL));
    DWORD got = 0;
    ReadFile(h, bytes.data(), DWORD(bytes.size()), &got, NULL);
    CloseHandle(h);
    return bytes;
}

void Put16(std::vector<BYTE>& v, size_t at, unsigned x) { v[at] = BYTE(x), v[at + 1] = BYTE(x >> 8); }
void Put32(std::vector<BYTE>& v, size_t at, unsigned x)
{
    Put16(v, at, x & 0xFFFF), Put16(v, at + 2, x >> 16);
}

// Colours whose components survive 5-bit fields exactly.
DWORD Colour(int i)
{
    static const BYTE comp[3] = {0x00, 0x84, 0xFF};
    return DWORD(comp[i % 3]) << 16 | DWORD(comp[(i / 3) % 3]) << 8 | comp[(i / 9) % 3];
}

const int W = 7, H = 5;
int IndexAt(int x, int y, int colours) { return (x * 7 + y * 3 + x * y) % colours; }

struct BmpForm
{
    const char* name;
    int bits;
    int compression;  // 0, 1 RLE8, 2 RLE4
    bool core;
    bool topDown;
};

// A BMP file of W x H whose picture row 0 is the top.
std::vector<BYTE> MakeBmp(const BmpForm& f)
{
    const int colours = f.bits <= 8 ? (f.bits == 1 ? 2 : 16) : 27;
    const int tableEntries = f.bits <= 8 ? (1 << f.bits) : 0;
    const int entry = f.core ? 3 : 4;
    const int header = f.core ? 12 : 40;
    std::vector<BYTE> pixels;
    const int stride = (f.bits * W + 31) / 32 * 4;
    for (int row = 0; row < H; ++row) {
        const int y = f.topDown ? row : H - 1 - row;  // picture row stored at this file row
        if (f.compression == 1 || f.compression == 2) {
            for (int x = 0; x < W; ++x) {
                const int i = IndexAt(x, y, colours);
                pixels.push_back(1);
                pixels.push_back(BYTE(f.compression == 1 ? i : i << 4));
            }
            pixels.push_back(0), pixels.push_back(0);
            continue;
        }
        std::vector<BYTE> line(stride);
        for (int x = 0; x < W; ++x) {
            const int i = IndexAt(x, y, colours);
            const DWORD c = Colour(i);
            switch (f.bits) {
            case 1: line[x / 8] |= BYTE(i << (7 - x % 8)); break;
            case 4: line[x / 2] |= BYTE(x % 2 ? i : i << 4); break;
            case 8: line[x] = BYTE(i); break;
            case 16: {
                const unsigned v = ((c >> 19) & 31) << 10 | ((c >> 11) & 31) << 5 | ((c >> 3) & 31);
                line[2 * x] = BYTE(v), line[2 * x + 1] = BYTE(v >> 8);
                break;
            }
            case 24: line[3 * x] = BYTE(c), line[3 * x + 1] = BYTE(c >> 8), line[3 * x + 2] = BYTE(c >> 16); break;
            case 32: memcpy(&line[4 * x], &c, 4); break;
            }
        }
        pixels.insert(pixels.end(), line.begin(), line.end());
    }
    if (f.compression)
        pixels.push_back(0), pixels.push_back(1);
    const size_t offBits = 14 + header + tableEntries * entry;
    std::vector<BYTE> file(offBits);
    file[0] = 'B', file[1] = 'M';
    Put32(file, 2, unsigned(offBits + pixels.size()));
    Put32(file, 10, unsigned(offBits));
    Put32(file, 14, header);
    if (f.core) {
        Put16(file, 18, W), Put16(file, 20, H), Put16(file, 22, 1), Put16(file, 24, f.bits);
    } else {
        Put32(file, 18, W), Put32(file, 22, f.topDown ? unsigned(-H) : H);
        Put16(file, 26, 1), Put16(file, 28, f.bits), Put32(file, 30, f.compression);
        Put32(file, 34, f.compression ? unsigned(pixels.size()) : 0);
    }
    for (int i = 0; i < tableEntries; ++i) {
        const DWORD c = Colour(i);
        BYTE* e = &file[14 + header + i * entry];
        e[0] = BYTE(c), e[1] = BYTE(c >> 8), e[2] = BYTE(c >> 16);
    }
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

TEST(BitmapDib, OperationsWithoutASectionDoNothing)
{
    CBitmapDIB b;
    EXPECT_FALSE(b.SetAlpha(0xFF000000, 0, 0, 1, 1));
    EXPECT_FALSE(b.AlphaToGrey());
    EXPECT_FALSE(b.HalfSize(&b));
    DWORD buf[4] = {};
    EXPECT_FALSE(b.CopyToBuffer(0, 0, 2, 2, buf, 0, 0, 2));
}

TEST(BitmapDib, RectanglesPartlyOutsideAreClipped)
{
    CBitmapDIB b;
    ASSERT_TRUE(b.Create(8, 6, 32));
    b.Fill(0x11);
    EXPECT_TRUE(b.SetAlpha(0xFF000000, -5, -5, 100, 2));
    EXPECT_EQ(0xFF111111u, b.m_pBits[0]);
    EXPECT_EQ(0xFF111111u, b.m_pBits[2 * 8 + 7]);
    EXPECT_EQ(0x11111111u, b.m_pBits[3 * 8]);
    EXPECT_TRUE(b.SetAlphaByKey(0x22000000, 6, 4, 50, 50, 0x111111, 0xFFFFFF, 1, 0xFFFFFF));
    EXPECT_EQ(0x22111111u, b.m_pBits[5 * 8 + 7]);
    EXPECT_EQ(0x11111111u, b.m_pBits[5 * 8 + 5]);
    EXPECT_TRUE(b.SetAlpha(0, 9, 9, 3, 3));  // inverted and outside: nothing

    // A keyed copy from a narrower, shorter bitmap: only the common part.
    CBitmapDIB narrow;
    ASSERT_TRUE(narrow.Create(3, 2, 32));
    for (int i = 0; i < 6; ++i)
        narrow.m_pBits[i] = i == 4 ? 0x00ABCDEF : 0x00000100 + i;
    EXPECT_TRUE(b.CopyKeyed(&narrow, 0xABCDEF, 0xFFFFFF, -1, -1, 7, 5));
    EXPECT_EQ(0x100u, b.m_pBits[0]);
    EXPECT_EQ(0x102u, b.m_pBits[2]);
    EXPECT_EQ(0x103u, b.m_pBits[8]);
    EXPECT_EQ(0xFF111111u, b.m_pBits[9]);   // key pixel skipped
    EXPECT_EQ(0xFF111111u, b.m_pBits[3]);   // beyond the source

    // Buffer copies hanging over every edge.
    std::vector<DWORD> buf(10 * 10);
    for (size_t i = 0; i < buf.size(); ++i)
        buf[i] = DWORD(i);
    EXPECT_TRUE(b.CopyFromBuffer(buf.data(), 0, 0, 10, 10, 10, -2, -3));
    EXPECT_EQ(buf[3 * 10 + 2], b.m_pBits[0]);
    EXPECT_EQ(buf[(3 + 5) * 10 + 2 + 7], b.m_pBits[5 * 8 + 7]);
    EXPECT_TRUE(b.CopyFromBuffer(buf.data(), -4, 0, 6, 2, 10, 0, 0));  // buffer origin clipped
    EXPECT_EQ(buf[0], b.m_pBits[4]);
    std::vector<DWORD> out(10 * 10, 7);
    EXPECT_TRUE(b.CopyToBuffer(6, 4, 10, 10, out.data(), 1, 1, 10));
    EXPECT_EQ(b.m_pBits[4 * 8 + 6], out[11]);
    EXPECT_EQ(b.m_pBits[5 * 8 + 7], out[2 * 10 + 2]);
    EXPECT_EQ(7u, out[3 * 10 + 3]);
    EXPECT_TRUE(b.CopyFromBufferKeyed(buf.data(), 12, 0xFFFFFFFF, 1, 1, 30, 30, 10, 5, 4, 1,
                                      0xAB000000));
    EXPECT_EQ(0xAB000000u | buf[11], b.m_pBits[4 * 8 + 5]);
    EXPECT_EQ(0xAB000000u | buf[21], b.m_pBits[5 * 8 + 5]);
    EXPECT_NE(0xAB000000u | 12u, b.m_pBits[4 * 8 + 6]);  // the key pixel 12 skipped
    EXPECT_TRUE(b.DoubleField(100, 100, -3, 4, 1));
    EXPECT_TRUE(b.DoubleField(8, 3, 0, 5, 0));  // row 6 does not exist
}

TEST(BitmapDib, FieldCopyKeepsTheRowAboveUnderKeyPixels)
{
    CBitmapDIB b;
    ASSERT_TRUE(b.Create(2, 4, 32));
    for (int i = 0; i < 8; ++i)
        b.m_pBits[i] = 0x500 + i;
    const DWORD key = 0xEE;
    // Buffer rows: 0 {1, key}, 1 {key, 4}, 2 {5, 6}, 3 {7, 8}.
    const DWORD buf[8] = {1, key, key, 4, 5, 6, 7, 8};
    EXPECT_TRUE(b.CopyFieldKeyed(buf, key, 0xFFFFFFFF, 0, 0, 5, 3, 2, 0, 0, 0));
    EXPECT_EQ(1u, b.m_pBits[0]);
    EXPECT_EQ(0x501u, b.m_pBits[1]);  // key: kept
    EXPECT_EQ(0x500u, b.m_pBits[2]);  // key below: the row above before the copy
    EXPECT_EQ(4u, b.m_pBits[3]);
    EXPECT_EQ(5u, b.m_pBits[4]);      // row 2, the block's last line: no line below
    EXPECT_EQ(0x506u, b.m_pBits[6]);
}

TEST(BitmapDib, HalfAndThirdSizeWeights)
{
    CBitmapDIB src, half, third;
    ASSERT_TRUE(src.Create(7, 6, 32));
    ASSERT_TRUE(half.Create(5, 5, 32));
    ASSERT_TRUE(third.Create(3, 3, 32));
    half.Fill(0x33);
    third.Fill(0x33);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 7; ++x)
            src.m_pBits[y * 7 + x] = DWORD(10 * (x + 1) + y) * 0x01010101u;
    EXPECT_TRUE(half.HalfSize(&src));
    // (50 * 10 + 20 * 20 + 20 * 11 + 10 * 21) / 100 = 13
    EXPECT_EQ(0x0D0D0D0Du, half.m_pBits[0]);
    EXPECT_EQ(0x33333333u, half.m_pBits[3]);      // column 3 would need source column 7
    EXPECT_EQ(0x33333333u, half.m_pBits[3 * 5]);  // row 3 would need source row 7
    EXPECT_TRUE(third.ThirdSize(&src));
    // mean of x 0..2 (10, 20, 30) and y 0..2 (0, 1, 2): 21
    EXPECT_EQ(0x15151515u, third.m_pBits[0]);
    EXPECT_EQ(0x33333333u, third.m_pBits[2]);     // columns 6..8 are not all there
    EXPECT_EQ(0x33333333u, third.m_pBits[2 * 3]);
    third.m_pBits[0] = 0x80123456;
    EXPECT_TRUE(third.AlphaToGrey());
    EXPECT_EQ(0x80808080u, third.m_pBits[0]);
}

class BitmapDibFiles : public ::testing::Test
{
protected:
    DialogAnswers answers;
    CDC dc;
    void SetUp() override { ASSERT_TRUE(dc.CreateCompatibleDC(NULL)); }
};

TEST_F(BitmapDibFiles, EveryBmpFormLoadsUpright)
{
    const BmpForm forms[] = {
        {"1 bit", 1, 0, false, false},  {"4 bits", 4, 0, false, false},
        {"8 bits", 8, 0, false, false}, {"16 bits", 16, 0, false, false},
        {"24 bits", 24, 0, false, false}, {"32 bits", 32, 0, false, false},
        {"RLE8", 8, 1, false, false},   {"RLE4", 4, 2, false, false},
        {"core header", 8, 0, true, false}, {"top-down", 24, 0, false, true},
    };
    const std::string path = TempPath("bitmapdib_form.bmp");
    for (const BmpForm& f : forms) {
        SCOPED_TRACE(f.name);
        WriteBytes(path, MakeBmp(f));
        CBitmapDIB b;
        ASSERT_TRUE(b.LoadFile(path.c_str(), &dc, 0));
        ASSERT_EQ(W, b.m_nWidth);
        ASSERT_EQ(H, b.m_nHeight);
        EXPECT_GT(b.m_bih.biHeight, 0);
        const int colours = f.bits <= 8 ? (f.bits == 1 ? 2 : 16) : 27;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const DWORD p = b.m_pBits[(H - 1 - y) * W + x];
                ASSERT_EQ(0xFF000000u | Colour(IndexAt(x, y, colours)), p) << x << "," << y;
            }
    }
    EXPECT_EQ(0u, answers.Count());
}

TEST_F(BitmapDibFiles, HostileHeadersAreRefused)
{
    const BmpForm base = {"8 bits", 8, 0, false, false};
    struct Case
    {
        const char* name;
        size_t at;
        unsigned value;
        int width;  // 2 or 4 bytes
    } cases[] = {
        {"header size past the file", 14, 5000, 4},
        {"unknown header size", 14, 41, 4},
        {"huge colour count", 14 + 32, 0x10000000, 4},
        {"colour count above 256", 14 + 32, 257, 4},
        {"huge width", 18, 0x7FFFFFFF, 4},
        {"negative width", 18, unsigned(-7), 4},
        {"height 0", 22, 0, 4},
        {"height past the pixels", 22, 500, 4},
        {"bit count 7", 28, 7, 2},
        {"planes 2", 26, 2, 2},
        {"RLE4 on 8 bits", 30, 2, 4},
        {"JPEG compression", 30, 4, 4},
    };
    const std::string path = TempPath("bitmapdib_hostile.bmp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<BYTE> file = MakeBmp(base);
        if (c.width == 2)
            Put16(file, c.at, c.value);
        else
            Put32(file, c.at, c.value);
        WriteBytes(path, file);
        answers.Clear();
        CBitmapDIB b;
        EXPECT_FALSE(b.LoadFile(path.c_str(), &dc, 0));
        EXPECT_TRUE(answers.Saw("Invalid BMP Format, file ")) ;
        EXPECT_EQ(NULL, b.m_hObject);
    }
    // Cut short: every length from the file header on.
    std::vector<BYTE> whole = MakeBmp(base);
    for (size_t len = 0; len < whole.size(); len += 61) {
        WriteBytes(path, std::vector<BYTE>(whole.begin(), whole.begin() + len));
        CBitmapDIB b;
        EXPECT_FALSE(b.LoadFile(path.c_str(), &dc, 0)) << len;
    }
    // RLE whose stated size runs past the file: the stated size is cut to the bytes there.
    std::vector<BYTE> rle = MakeBmp({"RLE8", 8, 1, false, false});
    Put32(rle, 34, 0x7FFFFFF0);
    WriteBytes(path, rle);
    CFile file(path.c_str(), CFile::modeRead);
    HDIB dib = DibReadFile(file);
    ASSERT_NE(nullptr, dib);
    LPSTR lpbi = (LPSTR)GlobalLock(dib);
    EXPECT_EQ(rle.size() - 14 - 40 - 256 * 4, ((BITMAPINFOHEADER*)lpbi)->biSizeImage);
    EXPECT_LE(size_t(DibBitsPointer(lpbi) - lpbi) + ((BITMAPINFOHEADER*)lpbi)->biSizeImage,
              GlobalSize(dib));
    GlobalUnlock(dib);
    GlobalFree(dib);
}

TEST_F(BitmapDibFiles, WrittenDibReadsBack)
{
    WriteBytes(TempPath("bitmapdib_w.bmp"), MakeBmp({"4 bits", 4, 0, false, false}));
    CFile in(TempPath("bitmapdib_w.bmp").c_str(), CFile::modeRead);
    HDIB dib = DibReadFile(in);
    ASSERT_NE(nullptr, dib);
    in.Close();
    {
        CFile out(TempPath("bitmapdib_w2.bmp").c_str(), CFile::modeCreate | CFile::modeWrite);
        EXPECT_TRUE(DibWriteFile(dib, out));
    }
    // The same file, with the image size filled in.
    std::vector<BYTE> expected = ReadBytes(TempPath("bitmapdib_w.bmp"));
    Put32(expected, 34, (4 * W + 31) / 32 * 4 * H);
    EXPECT_EQ(expected, ReadBytes(TempPath("bitmapdib_w2.bmp")));
    LPSTR lpbi = (LPSTR)GlobalLock(dib);
    EXPECT_EQ(16, DibColorCount(lpbi));
    EXPECT_EQ(64, DibColorTableSize(lpbi));
    EXPECT_EQ(DWORD(W), DibWidth(lpbi));
    GlobalUnlock(dib);
    CPalette pal;
    EXPECT_TRUE(DibCreatePalette(dib, &pal));
    PALETTEENTRY e;
    pal.GetPaletteEntries(5, 1, &e);
    EXPECT_EQ(Colour(5), DWORD(e.peRed) << 16 | DWORD(e.peGreen) << 8 | e.peBlue);
    HGLOBAL copy = DuplicateGlobalBlock(dib);
    ASSERT_NE(nullptr, copy);
    EXPECT_EQ(0, memcmp(GlobalLock(copy), GlobalLock(dib), GlobalSize(dib)));
    GlobalUnlock(copy), GlobalUnlock(dib);
    GlobalFree(copy);
    GlobalFree(dib);
}

TEST_F(BitmapDibFiles, TargaRoundTripAndForeignTargas)
{
    CBitmapDIB b;
    ASSERT_TRUE(b.Create(5, 3, 32));
    for (int i = 0; i < 15; ++i)
        b.m_pBits[i] = 0x01000000u * (i + 1) + i * 0x010203;
    const std::string path = TempPath("bitmapdib_rt.Tga");
    ASSERT_TRUE(b.SaveTarga(path.c_str()));
    CBitmapDIB back;
    ASSERT_TRUE(back.Create(5, 3, 32));
    ASSERT_TRUE(back.LoadFile(path.c_str(), &dc, 2));  // mode 2: the alpha as read
    EXPECT_EQ(0, memcmp(b.m_pBits, back.m_pBits, 15 * 4));
    // Without a bitmap the file makes one of its size.
    CBitmapDIB fresh;
    ASSERT_TRUE(fresh.LoadFile(path.c_str(), &dc, 0));
    EXPECT_EQ(5, fresh.m_nWidth);
    EXPECT_EQ(0xFF000000u | (b.m_pBits[14] & 0xFFFFFF), fresh.m_pBits[14]);

    // 24 bits with an image ID, 2 x 2: rows top first.
    std::vector<BYTE> tga(18, 0);
    tga[0] = 3, tga[2] = 2, tga[12] = 2, tga[14] = 2, tga[16] = 24;
    tga.insert(tga.end(), {'I', 'D', '!'});
    const BYTE px[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    tga.insert(tga.end(), px, px + 12);
    WriteBytes(TempPath("bitmapdib_24.tga"), tga);
    CBitmapDIB t;
    ASSERT_TRUE(t.LoadFile(TempPath("bitmapdib_24.tga").c_str(), &dc, 0));
    EXPECT_EQ(0xFF030201u, t.m_pBits[2]);  // first file row on the top line
    EXPECT_EQ(0xFF0C0B0Au, t.m_pBits[1]);
    // Cut inside the pixels: what is there is read, nothing past it.
    tga.resize(tga.size() - 5);
    WriteBytes(TempPath("bitmapdib_24.tga"), tga);
    CBitmapDIB cut;
    ASSERT_TRUE(cut.Create(2, 2, 32));
    cut.Fill(0);
    ASSERT_TRUE(cut.LoadFile(TempPath("bitmapdib_24.tga").c_str(), &dc, 2));
    EXPECT_EQ(0xFF060504u, cut.m_pBits[3]);
    EXPECT_EQ(0u, cut.m_pBits[1]);
    // Another image type or depth, and sizes past the bitmap files' limits (32768 a side,
    // 2^26 pixels: the 74-byte file declaring 17936 x 59314 took gigabytes) or of no pixels.
    const struct {
        BYTE type, depth;
        int width, height;
    } refused[] = {{10, 32, 2, 2},       {2, 16, 2, 2},        {2, 32, 17936, 59314},
                   {2, 24, 32769, 1},    {2, 32, 1, 40000},    {2, 32, 8193, 8192},
                   {2, 32, 0, 5},        {2, 24, 3, 0}};
    for (const auto& r : refused) {
        SCOPED_TRACE(testing::Message() << r.width << " x " << r.height);
        std::vector<BYTE> other(18 + 56, 0);
        other[2] = r.type, other[16] = r.depth;
        other[12] = BYTE(r.width), other[13] = BYTE(r.width >> 8);
        other[14] = BYTE(r.height), other[15] = BYTE(r.height >> 8);
        WriteBytes(TempPath("bitmapdib_o.tga"), other);
        answers.Clear();
        CBitmapDIB o;
        EXPECT_FALSE(o.LoadFile(TempPath("bitmapdib_o.tga").c_str(), &dc, 0));
        EXPECT_TRUE(answers.Saw("Unhandled Targa Format"));
    }
}

TEST_F(BitmapDibFiles, ExtensionsAndFailures)
{
    WriteBytes(TempPath("bitmapdib_e.DiB"), MakeBmp({"8 bits", 8, 0, false, false}));
    CBitmapDIB b;
    EXPECT_TRUE(b.LoadFile(TempPath("bitmapdib_e.DiB").c_str(), &dc, 1));
    // Alpha mode 1: the first pixel's colour keyed out.
    EXPECT_EQ(0u, b.m_pBits[0] >> 24);
    answers.Clear();
    WriteBytes(TempPath("bitmapdib_e.jpg"), {1, 2, 3});
    EXPECT_FALSE(b.LoadFile(TempPath("bitmapdib_e.jpg").c_str(), &dc, 0));
    EXPECT_TRUE(answers.Saw("Unrecognized Graphic File Extension: "));
    EXPECT_TRUE(answers.Saw(".JPG"));
    answers.Clear();
    EXPECT_FALSE(b.LoadFile(TempPath("bitmapdib_none.bmp").c_str(), &dc, 0));
    EXPECT_TRUE(answers.Saw("Could not Open File:"));
    // Saving: JPEG written and readable; a folder that does not exist fails.
    EXPECT_TRUE(b.SaveAsJpeg(TempPath("bitmapdib_s.jpg").c_str(), 100));
    EXPECT_GT(ReadBytes(TempPath("bitmapdib_s.jpg")).size(), 100u);
    EXPECT_FALSE(b.SaveAsJpeg(TempPath("no_such_dir\\x.jpg").c_str(), 100));
    answers.Clear();
    EXPECT_FALSE(b.SaveTarga(TempPath("no_such_dir\\x.tga").c_str()));
    EXPECT_EQ(1u, answers.Count());
    CMemFile raw;
    EXPECT_TRUE(b.WriteRaw(&raw, 3, 4));
    EXPECT_EQ(24u + W * H * 4, raw.GetLength());
}

}  // namespace
