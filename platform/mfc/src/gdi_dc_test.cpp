// CDC drawing checked pixel by pixel on a 32-bit DIB section.
#include "afx.h"
#include "afxgdi_.h"
#include "gtest_wine.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kGreen = RGB(0, 255, 0);

// A memory DC with a top-down 32-bit DIB section selected, filled white.
struct DibCanvas {
    CDC dc;
    CBitmap bitmap;
    HGDIOBJ hOld = NULL;  // a handle: temporary wrappers may be freed by a test
    DWORD* bits = nullptr;
    int width, height;

    DibCanvas(int w, int h) : width(w), height(h)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* p = nullptr;
        HBITMAP hbm = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &p, NULL, 0);
        bits = (DWORD*)p;
        bitmap.Attach(hbm);
        dc.CreateCompatibleDC(NULL);
        hOld = dc.SelectObject(bitmap.m_hObject);
        dc.FillSolidRect(0, 0, w, h, kWhite);
    }
    ~DibCanvas() { dc.SelectObject(hOld); }

    COLORREF At(int x, int y)
    {
        GdiFlush();
        DWORD v = bits[y * width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    int Count(COLORREF c, const RECT& r)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++)
                n += At(x, y) == c;
        return n;
    }
    std::vector<DWORD> Snapshot()
    {
        GdiFlush();
        return std::vector<DWORD>(bits, bits + width * height);
    }
};

struct PixelCase {
    int x, y;
    COLORREF expected;
};

void ExpectPixels(DibCanvas& canvas, std::initializer_list<PixelCase> cases, const char* what)
{
    for (const PixelCase& c : cases)
        EXPECT_EQ(c.expected, canvas.At(c.x, c.y)) << what << " at (" << c.x << ", " << c.y << ")";
}

}  // namespace

TEST(CDCDrawing, LinesRectanglesEllipsesInTextMode)
{
    DibCanvas canvas(64, 64);
    CDC& dc = canvas.dc;
    CPen red(PS_SOLID, 1, kRed);
    CBrush blue(kBlue);
    CPen* pOldPen = dc.SelectObject(&red);
    CBrush* pOldBrush = dc.SelectObject(&blue);

    dc.MoveTo(2, 3);
    EXPECT_TRUE(dc.LineTo(20, 3));
    EXPECT_EQ(CPoint(20, 3), dc.GetCurrentPosition());
    dc.Rectangle(10, 10, 20, 20);
    dc.Ellipse(30, 30, 60, 60);
    ExpectPixels(canvas,
                 {{2, 3, kRed}, {19, 3, kRed}, {20, 3, kWhite}, {1, 3, kWhite},  // end excluded
                  {10, 10, kRed}, {19, 19, kRed}, {15, 15, kBlue}, {20, 20, kWhite},
                  {45, 45, kBlue}, {31, 31, kWhite}, {58, 58, kWhite}},
                 "text mode");

    // The objects selected first come back as the same wrapper objects.
    EXPECT_EQ(&red, dc.SelectObject(pOldPen));
    EXPECT_EQ(&blue, dc.SelectObject(pOldBrush));
}

TEST(CDCDrawing, AnisotropicMappingWithYAxisUp)
{
    DibCanvas canvas(64, 64);
    CDC& dc = canvas.dc;
    // 100 logical units over 50 pixels, origin at the bottom left, y up.
    EXPECT_EQ(MM_TEXT, dc.SetMapMode(MM_ANISOTROPIC));
    dc.SetWindowOrg(0, 0);
    dc.SetWindowExt(100, 100);
    dc.SetViewportOrg(0, 63);
    dc.SetViewportExt(50, -50);

    CPoint pts[2] = {CPoint(20, 20), CPoint(60, 60)};
    dc.LPtoDP(pts, 2);
    EXPECT_EQ(CPoint(10, 53), pts[0]);
    EXPECT_EQ(CPoint(30, 33), pts[1]);
    dc.DPtoLP(pts, 2);
    EXPECT_EQ(CPoint(20, 20), pts[0]);
    EXPECT_EQ(CPoint(60, 60), pts[1]);

    // Sizes are distances and keep their sign across a flipped axis.
    CSize size(40, 40);
    dc.LPtoDP(&size);
    EXPECT_EQ(CSize(20, 20), size);
    dc.DPtoLP(&size);
    EXPECT_EQ(CSize(40, 40), size);

    CBrush green(kGreen);
    CPen* pOldPen = (CPen*)dc.SelectStockObject(NULL_PEN);
    CBrush* pOldBrush = dc.SelectObject(&green);
    dc.Rectangle(20, 20, 60, 60);  // device (10, 33)-(30, 53)
    dc.SelectObject(pOldBrush);
    dc.SelectObject(pOldPen);
    ExpectPixels(canvas, {{20, 43, kGreen}, {11, 50, kGreen}, {5, 43, kWhite}, {40, 43, kWhite},
                          {20, 20, kWhite}, {20, 60, kWhite}},
                 "anisotropic rectangle");

    CPen pen(PS_SOLID, 1, kBlack);
    dc.SelectObject(&pen);
    dc.MoveTo(0, 100);  // device row 13
    dc.LineTo(100, 100);
    dc.SelectObject(pOldPen);
    EXPECT_EQ(kBlack, canvas.At(25, 13));
    EXPECT_EQ(kWhite, canvas.At(25, 15));

    EXPECT_EQ(MM_ANISOTROPIC, dc.GetMapMode());
    EXPECT_EQ(CSize(100, 100), dc.GetWindowExt());
    EXPECT_EQ(CSize(50, -50), dc.GetViewportExt());
    EXPECT_EQ(CPoint(0, 63), dc.GetViewportOrg());
}

TEST(CDCDrawing, TextInBothMappingModes)
{
    DibCanvas canvas(128, 64);
    CDC& dc = canvas.dc;
    CFont font;
    ASSERT_TRUE(font.CreateFont(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                NONANTIALIASED_QUALITY, 0, "Arial"));
    CFont* pOldFont = dc.SelectObject(&font);
    dc.SetTextColor(kBlack);
    dc.SetBkMode(TRANSPARENT);

    CSize extent = dc.GetTextExtent("WW", 2);
    ASSERT_GT(extent.cx, 4);
    ASSERT_GT(extent.cy, 4);
    dc.TextOut(4, 4, CString("WW"));
    CRect inside(4, 4, 4 + extent.cx, 4 + extent.cy);
    EXPECT_GT(canvas.Count(kBlack, inside), 20);
    EXPECT_EQ(0, canvas.Count(kBlack, CRect(0, 4 + extent.cy, 128, 64)));

    // The same string drawn at logical (0, 0) with the origin moved to (64, 30) and a scale
    // of 2 logical units a pixel lands at (64, 30) at half size.
    dc.FillSolidRect(0, 0, 128, 64, kWhite);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt(2, 2);
    dc.SetViewportExt(1, 1);
    dc.SetViewportOrg(64, 30);
    CFont big;
    ASSERT_TRUE(big.CreateFont(-40, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                               NONANTIALIASED_QUALITY, 0, "Arial"));
    dc.SelectObject(&big);
    CSize logical = dc.GetTextExtent("WW", 2);
    dc.TextOut(0, 0, "WW", 2);
    EXPECT_EQ(0, canvas.Count(kBlack, CRect(0, 0, 64, 64)));
    EXPECT_EQ(0, canvas.Count(kBlack, CRect(0, 0, 128, 30)));
    EXPECT_GT(canvas.Count(kBlack, CRect(64, 30, 64 + logical.cx / 2 + 1, 30 + logical.cy / 2 + 1)),
              20);
    dc.SelectObject(pOldFont);
}

TEST(CDCState, SaveRestoreAndClipping)
{
    DibCanvas canvas(32, 32);
    CDC& dc = canvas.dc;
    int saved = dc.SaveDC();
    ASSERT_NE(0, saved);
    dc.SetMapMode(MM_LOMETRIC);
    dc.IntersectClipRect(CRect(4, -4, 8, -8));  // device (4..8) after the mode switch
    EXPECT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(MM_TEXT, dc.GetMapMode());

    CRgn rgn;
    rgn.CreateRectRgn(5, 5, 10, 10);
    dc.SelectClipRgn(&rgn);
    CRect box;
    EXPECT_EQ(SIMPLEREGION, dc.GetClipBox(&box));
    EXPECT_EQ(CRect(5, 5, 10, 10), box);
    dc.FillSolidRect(0, 0, 32, 32, kRed);
    EXPECT_EQ(25, canvas.Count(kRed, CRect(0, 0, 32, 32)));
    dc.SelectClipRgn(NULL);
    dc.ExcludeClipRect(0, 0, 16, 32);
    dc.FillSolidRect(0, 0, 32, 32, kBlue);
    EXPECT_EQ(kRed, canvas.At(6, 6));
    EXPECT_EQ(kBlue, canvas.At(16, 0));
    EXPECT_TRUE(dc.PtVisible(20, 20));
    EXPECT_FALSE(dc.PtVisible(2, 2));
}

TEST(CDCFrames, SolidAnd3dRects)
{
    DibCanvas canvas(16, 16);
    CDC& dc = canvas.dc;
    dc.Draw3dRect(CRect(2, 2, 10, 8), kRed, kBlue);
    ExpectPixels(canvas,
                 {{2, 2, kRed}, {8, 2, kRed}, {9, 2, kBlue},  // top right corner is bottom-right's
                  {2, 6, kRed}, {2, 7, kBlue},                // bottom left too
                  {9, 7, kBlue}, {5, 5, kWhite}, {10, 2, kWhite}, {2, 8, kWhite}},
                 "3-D rectangle");
}

TEST(CDCFrames, DragRectInvertsAndErases)
{
    DibCanvas canvas(40, 40);
    CDC& dc = canvas.dc;
    dc.FillSolidRect(0, 0, 40, 40, kBlack);
    dc.FillSolidRect(20, 0, 20, 40, kGreen);
    std::vector<DWORD> original = canvas.Snapshot();

    CBrush white(kWhite);
    CRect first(4, 4, 20, 20), second(10, 10, 30, 30);
    CSize thick(2, 2), none(0, 0);
    dc.DrawDragRect(first, thick, NULL, none, &white);
    EXPECT_EQ(kWhite, canvas.At(4, 4));  // frame inverted by a white brush: black -> white
    EXPECT_EQ(kWhite, canvas.At(5, 12));
    EXPECT_EQ(kBlack, canvas.At(6, 6));  // inside untouched
    EXPECT_EQ(kBlack, canvas.At(3, 3));    // outside untouched

    // Moving: the old frame vanishes and the new one appears, also where they cross.
    dc.DrawDragRect(second, thick, first, thick, &white);
    DibCanvas expected(40, 40);
    expected.dc.FillSolidRect(0, 0, 40, 40, kBlack);
    expected.dc.FillSolidRect(20, 0, 20, 40, kGreen);
    expected.dc.DrawDragRect(second, thick, NULL, none, &white);
    EXPECT_EQ(expected.Snapshot(), canvas.Snapshot());

    // Thickness 0 removes it.
    dc.DrawDragRect(second, none, second, thick, &white);
    EXPECT_EQ(original, canvas.Snapshot());

    // The default half-tone brush touches every other pixel of the frame.
    dc.DrawDragRect(first, thick, NULL, none);
    std::vector<DWORD> now = canvas.Snapshot();
    int changed = 0;
    for (size_t i = 0; i < now.size(); i++)
        changed += now[i] != original[i];
    int frame = 16 * 16 - 12 * 12;
    EXPECT_EQ(frame / 2, changed);
    dc.DrawDragRect(first, none, first, thick);
    EXPECT_EQ(original, canvas.Snapshot());
}

TEST(CDCHandles, FromHandleAndAttributeDC)
{
    DibCanvas canvas(8, 8);
    HDC h = canvas.dc.GetSafeHdc();
    EXPECT_EQ(&canvas.dc, CDC::FromHandle(h));  // permanent
    CDC* pNull = nullptr;
    EXPECT_EQ(NULL, pNull->GetSafeHdc());

    HDC other = CreateCompatibleDC(NULL);
    CDC* temp = CDC::FromHandle(other);
    ASSERT_NE(nullptr, temp);
    EXPECT_EQ(temp, CDC::FromHandle(other));
    EXPECT_EQ(other, temp->m_hAttribDC);
    CDC::DeleteTempMap();  // frees the wrapper, not the DC
    EXPECT_EQ(OBJ_MEMDC, (int)GetObjectType(other));

    // A separate attribute DC: settings reach both, queries read the attribute DC.
    CDC split;
    split.SetOutputDC(h);
    split.SetAttribDC(other);
    split.SetMapMode(MM_LOENGLISH);
    EXPECT_EQ(MM_LOENGLISH, GetMapMode(h));
    EXPECT_EQ(MM_LOENGLISH, GetMapMode(other));
    split.MoveTo(3, -4);
    CPoint pt;
    GetCurrentPositionEx(other, &pt);
    EXPECT_EQ(CPoint(3, -4), pt);
    split.SetMapMode(MM_TEXT);
    // Saved at different levels: the state is named by -1, which restores both.
    ::SaveDC(other);
    int saved = split.SaveDC();
    EXPECT_EQ(-1, saved);
    split.SetMapMode(MM_HIENGLISH);
    EXPECT_TRUE(split.RestoreDC(saved));
    EXPECT_EQ(MM_TEXT, GetMapMode(h));
    EXPECT_EQ(MM_TEXT, GetMapMode(other));
    split.ReleaseOutputDC();
    split.ReleaseAttribDC();
    DeleteDC(other);

    // Stock and temporary GDI objects come back with the class of their kind.
    CGdiObject* pStock = CGdiObject::FromHandle(GetStockObject(BLACK_PEN));
    EXPECT_TRUE(pStock->IsKindOf(RUNTIME_CLASS(CPen)));
    EXPECT_TRUE(CGdiObject::FromHandle(GetStockObject(WHITE_BRUSH))->IsKindOf(RUNTIME_CLASS(CBrush)));
    CGdiObject::DeleteTempMap();
}

TEST(CDCMetafile, EnhancedMetafileRecordsAndPlaysBack)
{
    DibCanvas canvas(32, 32);
    CMetaFileDC meta;
    ASSERT_TRUE(meta.CreateEnhanced(&canvas.dc, NULL, NULL, "test\0picture\0"));
    EXPECT_EQ(meta.m_hDC, meta.m_hAttribDC);
    CBrush red(kRed);
    CPen* pOldPen = (CPen*)meta.SelectStockObject(NULL_PEN);
    CBrush* pOldBrush = meta.SelectObject(&red);
    meta.Rectangle(0, 0, 16, 16);
    meta.SelectObject(pOldBrush);
    meta.SelectObject(pOldPen);
    HENHMETAFILE hemf = meta.CloseEnhanced();
    ASSERT_NE((HENHMETAFILE)NULL, hemf);
    EXPECT_EQ(NULL, meta.m_hDC);

    // Played into a frame twice the recorded size: the square fills it.
    CRect bounds(0, 0, 32, 32);
    EXPECT_TRUE(canvas.dc.PlayMetaFile(hemf, bounds));
    EXPECT_EQ(kRed, canvas.At(2, 2));
    EXPECT_EQ(kRed, canvas.At(28, 28));
    DeleteEnhMetaFile(hemf);
}

TEST(CGdiObjects, RegionsAndBitmaps)
{
    CRgn a, b, c;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateRectRgn(5, 5, 15, 15);
    c.CreateRectRgn(0, 0, 0, 0);
    struct {
        int mode;
        POINT in, out;
    } cases[] = {
        {RGN_AND, {7, 7}, {2, 2}},
        {RGN_OR, {12, 12}, {12, 2}},
        {RGN_DIFF, {2, 2}, {7, 7}},
        {RGN_XOR, {12, 12}, {7, 7}},
    };
    for (auto& t : cases) {
        EXPECT_NE(ERROR, c.CombineRgn(&a, &b, t.mode)) << t.mode;
        EXPECT_TRUE(c.PtInRegion(t.in)) << t.mode;
        EXPECT_FALSE(c.PtInRegion(t.out)) << t.mode;
    }
    c.OffsetRgn(100, 0);
    CRect box;
    c.GetRgnBox(&box);
    EXPECT_EQ(100, box.left);

    CDC screen;
    screen.CreateCompatibleDC(NULL);
    CBitmap bmp;
    ASSERT_TRUE(bmp.CreateBitmap(12, 7, 1, 32, NULL));
    BITMAP info;
    EXPECT_EQ((int)sizeof(info), bmp.GetBitmap(&info));
    EXPECT_EQ(12, info.bmWidth);
    EXPECT_EQ(7, info.bmHeight);
    HGDIOBJ h = bmp.m_hObject;
    EXPECT_EQ(&bmp, CBitmap::FromHandle((HBITMAP)h));
    EXPECT_TRUE(bmp.DeleteObject());
    EXPECT_EQ(NULL, bmp.m_hObject);
    EXPECT_FALSE(bmp.DeleteObject());

    // Point fonts convert tenths of a point through the DC's resolution.
    CFont font;
    ASSERT_TRUE(font.CreatePointFont(120, "Arial", &screen));
    LOGFONT lf;
    font.GetLogFont(&lf);
    EXPECT_EQ(-MulDiv(120, screen.GetDeviceCaps(LOGPIXELSY), 720), lf.lfHeight);
}
