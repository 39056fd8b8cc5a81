// The bitmap dialog erased into a DIB section: the three display modes with images smaller
// and larger than the client area, no image, images from resources, and the colours of
// static controls and trackbars.
#include "gtest_wine.h"
#include "image_test_util.h"
#include "SECBitmapDialog.h"
#include "SECResource.h"

namespace {

const DWORD kMarker = 0xFF00FF;
const DWORD kRed = 0xFF0000, kBlue = 0x0000FF;

// A 24-bit image, blue but for its top-left pixel, which is red.
std::unique_ptr<SECDib> Marked(int width, int height)
{
    return MakePatternImage(24, width, height, [height](int i, int y) -> BYTE {
        bool corner = y == height - 1 && i < 3;
        int channel = i % 3;  // blue, green, red
        return corner ? (channel == 2 ? 255 : 0) : (channel == 0 ? 255 : 0);
    });
}

class Canvas {
public:
    Canvas(int cx, int cy) : cx(cx), cy(cy)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader = {sizeof(BITMAPINFOHEADER), cx, -cy, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, (void**)&bits, NULL, 0);
        dc = CreateCompatibleDC(NULL);
        old = SelectObject(dc, bitmap);
        for (int i = 0; i < cx * cy; i++)
            bits[i] = kMarker;
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    DWORD At(int x, int y) const { return bits[y * cx + x] & 0xFFFFFF; }
    int cx, cy;
    HDC dc;
    DWORD* bits = nullptr;
    HBITMAP bitmap;
    HGDIOBJ old;
};

class BitmapDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(100));
        CRect client;
        dlg.GetClientRect(&client);
        cx = client.Width();
        cy = client.Height();
        ASSERT_GT(cx, 40);
        ASSERT_GT(cy, 30);
    }
    void TearDown() override { dlg.DestroyWindow(); }
    std::unique_ptr<Canvas> Erase()
    {
        auto canvas = std::make_unique<Canvas>(cx, cy);
        dlg.SendMessage(WM_ERASEBKGND, (WPARAM)canvas->dc, 0);
        return canvas;
    }
    SECBitmapDialog dlg{100};
    int cx = 0, cy = 0;
};

}  // namespace

TEST_F(BitmapDialogTest, ModesWithSmallerAndLargerImages)
{
    // no image: a plain dialog's erase
    auto plain = Erase();
    const DWORD dialogColour = plain->At(0, 0);
    EXPECT_NE(dialogColour, kMarker);

    auto little = Marked(10, 8);
    ASSERT_TRUE(dlg.SetBitmapImage(little.get(), SECBitmapDialog::tile));
    auto tiled = Erase();
    EXPECT_EQ(tiled->At(0, 0), kRed);
    EXPECT_EQ(tiled->At(10, 0), kRed);
    EXPECT_EQ(tiled->At(20, 8), kRed);
    EXPECT_EQ(tiled->At(5, 5), kBlue);
    EXPECT_EQ(tiled->At(cx - 1, cy - 1) == kRed || tiled->At(cx - 1, cy - 1) == kBlue, true);

    ASSERT_TRUE(dlg.SetBitmapImage(little.get(), SECBitmapDialog::center));
    auto centred = Erase();
    EXPECT_EQ(centred->At(0, 0), dialogColour);
    EXPECT_EQ(centred->At((cx - 10) / 2, (cy - 8) / 2), kRed);
    EXPECT_EQ(centred->At((cx - 10) / 2 + 9, (cy - 8) / 2 + 7), kBlue);
    EXPECT_EQ(centred->At((cx - 10) / 2 + 10, (cy - 8) / 2), dialogColour);

    ASSERT_TRUE(dlg.SetBitmapImage(little.get(), SECBitmapDialog::stretch));
    auto stretched = Erase();
    EXPECT_EQ(stretched->At(0, 0), kRed);
    EXPECT_EQ(stretched->At(cx / 10 - 1, cy / 8 - 1), kRed);
    EXPECT_EQ(stretched->At(cx - 1, cy - 1), kBlue);

    // larger than the client: tiled once at (0, 0), centred with negative offsets
    auto large = Marked(cx * 2, cy * 2);
    ASSERT_TRUE(dlg.SetBitmapImage(large.get(), SECBitmapDialog::tile));
    auto once = Erase();
    EXPECT_EQ(once->At(0, 0), kRed);
    EXPECT_EQ(once->At(cx - 1, cy - 1), kBlue);
    ASSERT_TRUE(dlg.SetBitmapImage(large.get(), SECBitmapDialog::center));
    auto cut = Erase();
    EXPECT_EQ(cut->At(0, 0), kBlue);

    // taking the image away: a plain dialog again
    EXPECT_FALSE(dlg.SetBitmapImage(NULL));
    EXPECT_EQ(dlg.GetImage(), nullptr);
    EXPECT_EQ(Erase()->At(0, 0), dialogColour);
    // an empty image draws nothing and does not hang
    SECDib empty;
    dlg.SetBitmapImage(&empty, SECBitmapDialog::tile);
    EXPECT_EQ(Erase()->At(0, 0), dialogColour);
}

TEST_F(BitmapDialogTest, ResourcesPalettesAndHalftone)
{
    EXPECT_FALSE(dlg.SetBitmap("NO_SUCH_BITMAP"));
    EXPECT_EQ(dlg.GetImage(), nullptr);
    ASSERT_TRUE(dlg.SetBitmapId(IDB_SEC_MENUARROW_DOWN, SECBitmapDialog::tile));
    ASSERT_NE(dlg.GetImage(), nullptr);
    EXPECT_EQ(dlg.GetImage()->GetWidth(), 9);
    SECDib* kept = dlg.GetImage();
    EXPECT_FALSE(dlg.SetBitmapId(1));  // a failed load keeps the image
    EXPECT_EQ(dlg.GetImage(), kept);
    EXPECT_TRUE(dlg.GetImage()->m_pPalette != NULL || dlg.GetImage()->m_nBitCount > 8);
    auto tiled = Erase();
    EXPECT_EQ(tiled->At(0, 0), 0xC0C0C0u);  // the arrow's light grey
    EXPECT_EQ(tiled->At(4, 2), 0u);          // and its black

    // on a palette screen colour images without a table are drawn through halftoning
    auto colour = Marked(4, 4);
    auto indexed = MakeImage(8, 4, 4);
    SECPixelImage::SetDisplayDepthForTest(8, 1);
    dlg.SetBitmapImage(colour.get());
    EXPECT_TRUE(dlg.GetImage()->m_bHalftone);
    auto halftoned = Erase();
    EXPECT_NE(halftoned->At(1, 1), kMarker);
    dlg.SetBitmapImage(indexed.get());
    EXPECT_FALSE(dlg.GetImage()->m_bHalftone);
    SECPixelImage::SetDisplayDepthForTest(0, 0);
    dlg.SetBitmapImage(colour.get());
    EXPECT_FALSE(dlg.GetImage()->m_bHalftone);
    EXPECT_EQ(dlg.SendMessage(WM_QUERYNEWPALETTE), dlg.SendMessage(WM_QUERYNEWPALETTE));
}

TEST_F(BitmapDialogTest, StaticsAreTransparentTrackbarsAreNot)
{
    HWND text = ::GetDlgItem(dlg.m_hWnd, 101), bar = ::GetDlgItem(dlg.m_hWnd, 102);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(bar, nullptr);
    HBRUSH null = (HBRUSH)GetStockObject(NULL_BRUSH);
    Canvas canvas(4, 4);
    EXPECT_NE((HBRUSH)dlg.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)canvas.dc, (LPARAM)text), null);
    auto image = Marked(4, 4);
    dlg.SetBitmapImage(image.get());
    SetBkMode(canvas.dc, OPAQUE);
    EXPECT_EQ((HBRUSH)dlg.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)canvas.dc, (LPARAM)text), null);
    EXPECT_EQ(GetBkMode(canvas.dc), TRANSPARENT);
    SetBkMode(canvas.dc, OPAQUE);
    EXPECT_NE((HBRUSH)dlg.SendMessage(WM_CTLCOLORSTATIC, (WPARAM)canvas.dc, (LPARAM)bar), null);
    EXPECT_EQ(GetBkMode(canvas.dc), OPAQUE);
}
