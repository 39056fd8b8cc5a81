// The clip image lists and the transparent bitmap, drawn on DIB sections.
#include "gtest_wine.h"
#include <afxwin.h>
#include <vector>
#include "ImgList.h"
#include "PanelRes.h"
#include "TransparentBitmap.h"

namespace {

// The face colour the picture generator gives a resource number.
COLORREF FaceColour(int n)
{
    return RGB((n * 73) % 200 + 30, (n * 151) % 200 + 30, (n * 37) % 200 + 30);
}

// A 32-bit top-down DIB section in a memory DC, filled with one colour.
class Canvas
{
public:
    Canvas(int w, int h, COLORREF fill) : m_w(w), m_h(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_dib = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, (void**)&m_bits, NULL, 0);
        m_dc.CreateCompatibleDC(NULL);
        m_old = SelectObject(m_dc.GetSafeHdc(), m_dib);
        Fill(fill);
    }
    ~Canvas()
    {
        SelectObject(m_dc.GetSafeHdc(), m_old);
        m_dc.DeleteDC();
        DeleteObject(m_dib);
    }
    void Fill(COLORREF c)
    {
        GdiFlush();
        for (int i = 0; i < m_w * m_h; ++i)
            m_bits[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    COLORREF At(int x, int y)
    {
        GdiFlush();
        DWORD p = m_bits[y * m_w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    std::vector<DWORD> Pixels()
    {
        GdiFlush();
        return std::vector<DWORD>(m_bits, m_bits + m_w * m_h);
    }
    CDC* DC() { return &m_dc; }

private:
    int m_w, m_h;
    HBITMAP m_dib;
    DWORD* m_bits = nullptr;
    HGDIOBJ m_old;
    CDC m_dc;
};

const COLORREF kBack = RGB(10, 200, 30);

// Draws one image of a list transparently on the background and reads a pixel of its face.
COLORREF ListFace(CImageList& list, int index, int x, int y, UINT style = ILD_TRANSPARENT)
{
    Canvas c(40, 40, kBack);
    EXPECT_TRUE(list.Draw(c.DC(), index, CPoint(0, 0), style));
    return c.At(x, y);
}

// The 8-bit lists keep the pictures' colours only as closely as their colour table does.
void ExpectNear(COLORREF want, COLORREF got, const char* what)
{
    int d = abs(GetRValue(want) - GetRValue(got)) + abs(GetGValue(want) - GetGValue(got)) +
            abs(GetBValue(want) - GetBValue(got));
    EXPECT_LE(d, 96) << what << ": want " << std::hex << want << " got " << got;
}

} // namespace

TEST(ImgList, HoldsEveryPictureInOrder)
{
    CImgList lists;
    ASSERT_TRUE(lists.Create());
    EXPECT_EQ(25, lists.GetLargeList().GetImageCount());
    EXPECT_EQ(10, lists.GetSmallList().GetImageCount());
    EXPECT_EQ(1, lists.GetStateList().GetImageCount());

    const int large[25] = {136, 133, 139, 132, 137, 138, 134, 135, 176, 175, 183, 189, 237,
                           238, 235, 268, 240, 269, 239, 270, 267, 252, 253, 275, 276};
    for (int i = 0; i < 25; ++i) {
        bool overlay = i >= 14 && i <= 20;
        // Icons: a face inside a key border; overlays: a block in the lower-left corner.
        COLORREF got = overlay ? ListFace(lists.GetLargeList(), i, 2, 30)
                               : ListFace(lists.GetLargeList(), i, 20, 10);
        ExpectNear(FaceColour(large[i]), got, ("large " + std::to_string(i)).c_str());
        // The key colour shows the background.
        EXPECT_EQ(kBack, ListFace(lists.GetLargeList(), i, 0, 0)) << i;
    }
    const int smallIds[10] = {144, 142, 147, 141, 145, 146, 143, 148, 149, 150};
    for (int i = 0; i < 10; ++i) {
        ExpectNear(FaceColour(smallIds[i]), ListFace(lists.GetSmallList(), i, 10, 5),
                   ("small " + std::to_string(i)).c_str());
        EXPECT_EQ(kBack, ListFace(lists.GetSmallList(), i, 0, 0)) << i;
    }
    ExpectNear(FaceColour(254), ListFace(lists.GetStateList(), 0, 20, 10), "state");

    // The stored indexes.
    const int pairs[8] = {lists.m_nIconA, lists.m_nIconB, lists.m_nIconC, lists.m_nIconD,
                          lists.m_nIconE, lists.m_nIconF, lists.m_nIconG, lists.m_nIconH};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(i, pairs[i]);
    EXPECT_EQ(8, lists.m_nSmallIconI);
    EXPECT_EQ(9, lists.m_nSmallIconJ);
    EXPECT_EQ(8, lists.m_nProClip);
    EXPECT_EQ(10, lists.m_nDefaultClip);
    EXPECT_EQ(12, lists.m_nComparisonClip);
    EXPECT_EQ(13, lists.m_nDrillClip);
    EXPECT_EQ(21, lists.m_nFaceOnClip);
    EXPECT_EQ(22, lists.m_nDownLineClip);
    EXPECT_EQ(0, lists.m_nStateImage);
    EXPECT_EQ(23, lists.m_nProDownLineClip);
    EXPECT_EQ(24, lists.m_nSplitClip);
    for (int n = 0; n < 7; ++n) {
        EXPECT_EQ(14 + n, lists.m_nOverlayImage[n]);
        EXPECT_EQ(n + 1, lists.m_nOverlayNumber[n]);
    }
}

TEST(ImgList, OverlayNumberDrawsItsImage)
{
    CImgList lists;
    ASSERT_TRUE(lists.Create());
    CImageList& large = lists.GetLargeList();
    const int overlays[7] = {235, 268, 240, 269, 239, 270, 267};
    // On black: Wine lays an overlay's pixels over what lies below its key-coloured ones
    // with an OR, so only a black background shows the overlay exactly as drawn alone.
    const COLORREF black = RGB(0, 0, 0);
    for (int n = 1; n <= 7; ++n) {
        Canvas plain(40, 40, black), marked(40, 40, black), alone(40, 40, black);
        large.Draw(plain.DC(), lists.m_nDefaultClip, CPoint(0, 0), ILD_TRANSPARENT);
        large.Draw(marked.DC(), lists.m_nDefaultClip, CPoint(0, 0),
                   ILD_TRANSPARENT | INDEXTOOVERLAYMASK(n));
        // The overlay's block lands on the icon; the rest of the icon is unchanged.
        large.Draw(alone.DC(), lists.m_nOverlayImage[n - 1], CPoint(0, 0), ILD_TRANSPARENT);
        EXPECT_EQ(alone.At(5, 28), marked.At(5, 28)) << n;
        ExpectNear(FaceColour(overlays[n - 1]), alone.At(5, 28),
                   ("overlay " + std::to_string(n)).c_str());
        EXPECT_EQ(plain.At(20, 10), marked.At(20, 10)) << n;
        EXPECT_NE(plain.At(5, 28), marked.At(5, 28)) << n;
    }
}

TEST(TransparentBitmap, KeyColouredPixelsShowTheBackground)
{
    // The same picture at 8 and at 24 bits per pixel.
    for (const char* name : {"TEST_KEY8", "TEST_KEY24"}) {
        SCOPED_TRACE(name);
        CTransparentBitmap bmp;
        ASSERT_TRUE(bmp.LoadResource(name));
        EXPECT_EQ(20, bmp.GetWidth());
        EXPECT_EQ(12, bmp.GetHeight());

        Canvas c(40, 30, kBack);
        bmp.DrawTransparent(c.DC(), 5, 7);
        EXPECT_EQ(kBack, c.At(5, 7));          // the top-left pixel itself
        EXPECT_EQ(kBack, c.At(15, 13));        // a key pixel inside the picture
        EXPECT_EQ(kBack, c.At(9, 18));         // the key-coloured bottom line
        EXPECT_EQ(RGB(0, 0, 255), c.At(6, 8)); // the picture's own colours
        EXPECT_EQ(RGB(0, 160, 0), c.At(20, 10));
        EXPECT_EQ(kBack, c.At(4, 7));          // outside the picture: untouched
        EXPECT_EQ(kBack, c.At(25, 10));

        // Opaque drawing keeps the key colour; a second transparent draw reuses the mask.
        Canvas o(40, 30, kBack);
        bmp.Draw(o.DC(), 5, 7);
        EXPECT_EQ(RGB(255, 0, 255), o.At(5, 7));
        EXPECT_EQ(RGB(255, 0, 255), o.At(15, 13));
        EXPECT_EQ(RGB(0, 0, 255), o.At(6, 8));
        Canvas again(40, 30, RGB(1, 2, 3));
        bmp.DrawTransparent(again.DC(), 5, 7);
        EXPECT_EQ(RGB(1, 2, 3), again.At(15, 13));
        EXPECT_EQ(RGB(0, 160, 0), again.At(20, 10));
    }
}

TEST(TransparentBitmap, PaletteFromTheColourTableOrHalftone)
{
    CTransparentBitmap eight, deep;
    ASSERT_TRUE(eight.LoadResource("TEST_KEY8"));
    ASSERT_TRUE(deep.LoadResource("TEST_KEY24"));
    ASSERT_TRUE(eight.HasPalette());
    ASSERT_TRUE(deep.HasPalette());
    // Magenta, blue and green: the table of the 8-bit picture.
    EXPECT_EQ(3, eight.GetPalette().GetEntryCount());
    PALETTEENTRY e[3];
    eight.GetPalette().GetPaletteEntries(0, 3, e);
    EXPECT_EQ(255, e[0].peRed);
    EXPECT_EQ(255, e[0].peBlue);
    EXPECT_EQ(0, e[0].peGreen);
    CClientDC screen(NULL);
    CPalette halftone;
    halftone.CreateHalftonePalette(&screen);
    EXPECT_EQ(halftone.GetEntryCount(), deep.GetPalette().GetEntryCount());
    EXPECT_GT(deep.GetPalette().GetEntryCount(), 3);
}

TEST(TransparentBitmap, ReloadTakesTheNewSizeAndMask)
{
    CTransparentBitmap bmp;
    ASSERT_TRUE(bmp.LoadResource("TEST_KEY8"));
    Canvas first(60, 40, kBack);
    bmp.DrawTransparent(first.DC(), 0, 0); // size and mask of the first picture made
    EXPECT_EQ(20, bmp.GetWidth());

    ASSERT_TRUE(bmp.LoadResource(160)); // a 28 x 22 button face with magenta corners
    EXPECT_EQ(28, bmp.GetWidth());
    EXPECT_EQ(22, bmp.GetHeight());
    Canvas c(60, 40, kBack);
    bmp.DrawTransparent(c.DC(), 0, 0);
    EXPECT_EQ(kBack, c.At(0, 0));
    EXPECT_EQ(kBack, c.At(27, 21));
    // Beyond the first picture's size, and where the first picture's key pixel lay.
    EXPECT_EQ(FaceColour(160), c.At(25, 18));
    EXPECT_EQ(FaceColour(160), c.At(10, 6));
}

TEST(TransparentBitmap, AnEmptyObjectDrawsNothing)
{
    CTransparentBitmap bmp;
    EXPECT_FALSE(bmp.LoadResource(9999));
    EXPECT_FALSE(bmp.IsLoaded());
    EXPECT_FALSE(bmp.HasPalette());
    EXPECT_EQ(0, bmp.GetWidth());
    EXPECT_EQ(0, bmp.GetHeight());
    Canvas c(20, 20, kBack);
    std::vector<DWORD> before = c.Pixels();
    bmp.Draw(c.DC(), 0, 0);
    bmp.DrawTransparent(c.DC(), 0, 0);
    EXPECT_EQ(before, c.Pixels());

    // A failed load after a good one leaves the object empty too.
    ASSERT_TRUE(bmp.LoadResource("TEST_KEY8"));
    EXPECT_FALSE(bmp.LoadResource("NO_SUCH_PICTURE"));
    EXPECT_FALSE(bmp.IsLoaded());
    EXPECT_EQ(0, bmp.GetWidth());
    bmp.DrawTransparent(c.DC(), 0, 0);
    EXPECT_EQ(before, c.Pixels());
}

TEST(TransparentBitmap, LoadsAFileAfterAResource)
{
    // The 24-bit test picture as a file: a file header before the resource's bytes.
    HRSRC info = FindResourceA(NULL, "TEST_KEY24", (LPCSTR)RT_BITMAP);
    ASSERT_TRUE(info);
    const BYTE* dib = (const BYTE*)LockResource(LoadResource(NULL, info));
    DWORD size = SizeofResource(NULL, info);
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfSize = sizeof fh + size;
    fh.bfOffBits = sizeof fh + sizeof(BITMAPINFOHEADER);
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    GetTempFileNameA(dir, "tbm", 0, path);
    CString file = CString(path) + ".bmp";
    DeleteFileA(path);
    HANDLE h = CreateFileA(file, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    DWORD written;
    WriteFile(h, &fh, sizeof fh, &written, NULL);
    WriteFile(h, dib, size, &written, NULL);
    CloseHandle(h);

    CTransparentBitmap bmp;
    ASSERT_TRUE(bmp.LoadResource(160));
    ASSERT_TRUE(bmp.LoadFile(file));
    EXPECT_FALSE(bmp.HasPalette());
    EXPECT_EQ(20, bmp.GetWidth());
    EXPECT_EQ(12, bmp.GetHeight());
    Canvas c(40, 30, kBack);
    bmp.DrawTransparent(c.DC(), 0, 0);
    EXPECT_EQ(kBack, c.At(0, 0));
    EXPECT_EQ(kBack, c.At(10, 6));
    EXPECT_EQ(RGB(0, 0, 255), c.At(1, 1));
    EXPECT_EQ(RGB(0, 160, 0), c.At(15, 1));
    EXPECT_EQ(kBack, c.At(25, 1)); // the button face's width is gone with it
    DeleteFileA(file);
}
