// The viewport without a window: zoom limits and steps, zoom to a rectangle, grid spacing and
// snapping, what each model hint invalidates, pages, and the pixels of background, grid, page
// bounds and components drawn at 200 % on a DIB section.
#include "gtest_wine.h"
#include "ODClosedShapes.h"
#include "ODCommand.h"
#include "ODFillProperties.h"
#include "ODGeometry.h"
#include "ODViewport.h"
#include "od_test_canvas.h"

namespace {

// Records what it is asked to invalidate (logical rectangles).
struct RecordingViewport : CODViewport {
    std::vector<CRect> invalidated;
    void InvalidateRect(const RECT* rect, BOOL, BOOL) override { invalidated.push_back(*rect); }
};

struct Fixture {
    CODModel model;
    RecordingViewport view;
    Fixture(CSize window = CSize(400, 300))
    {
        model.SetSize(CSize(1000, 700));
        view.SetModel(&model);
        view.InitialUpdate();
        view.SetSize(window.cx, window.cy);
    }
};

}  // namespace

TEST(Viewport, ZoomLimitsAndSteps)
{
    Fixture f;
    int lo, hi;
    f.view.SetZoomLimits(0, -5);  // a minimum of 0 would divide by zero
    f.view.GetZoomLimits(&lo, &hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 1);
    f.view.SetZoomLimits(25, 400);
    struct {
        int x, y;
        CSize after;
    } cases[] = {{200, 200, {200, 200}}, {401, 100, {200, 200}}, {24, 24, {200, 200}}, {25, 400, {25, 400}}};
    for (auto& c : cases) {
        f.view.SetZoom(c.x, c.y);
        EXPECT_EQ(f.view.GetZoom(), c.after) << c.x << "," << c.y;
    }
    // Steps whose scales are exact in single precision, so that the zoom reads back whole.
    f.view.SetZoomStep(200);
    f.view.SetZoom(200, 200);
    f.view.ZoomIn(10, 10);
    EXPECT_EQ(f.view.GetZoom(), CSize(400, 400));
    CPoint origin = f.view.GetLogicalOrigin();
    f.view.ZoomIn(10, 10);  // beyond the maximum: nothing, no recentring
    EXPECT_EQ(f.view.GetZoom(), CSize(400, 400));
    EXPECT_EQ(f.view.GetLogicalOrigin(), origin);
    f.view.ZoomOut(10, 10);
    EXPECT_EQ(f.view.GetZoom(), CSize(200, 200));
    f.view.ZoomOut(10, 10);  // 0 is below the minimum
    EXPECT_EQ(f.view.GetZoom(), CSize(200, 200));
}

TEST(Viewport, ZoomToRectAndEnsureVisible)
{
    Fixture f;
    f.view.ZoomToRect(CRect(100, 100, 300, 250));  // 400x300 window over 200x150
    EXPECT_EQ(f.view.GetZoom(), CSize(200, 200));
    EXPECT_EQ(f.view.GetLogicalRect(), CRect(100, 100, 300, 250));
    f.view.ZoomToRect(CRect(5, 5, 5, 5));  // empty: as 1 by 1, clamped
    EXPECT_GE(f.view.GetZoom().cx, 1499);  // 1500 %, read back through the float scale
    EXPECT_LE(f.view.GetZoom().cx, 1500);

    f.view.SetZoom(100, 100);
    CODRectComponent* r = new CODRectComponent;
    r->Create(900, 600, 950, 650);
    f.model.AppendChild(r);
    CODComponentSet set;
    set.Add(r);
    f.view.EnsureVisible(&set);
    // Centred, but kept inside the model.
    EXPECT_EQ(f.view.GetLogicalRect(), CRect(600, 400, 1000, 700));
}

TEST(Viewport, GridSpacingAndSnapping)
{
    Fixture f;
    EXPECT_FLOAT_EQ(f.view.GetHorizontalGridSpacing(), 0.125f);
    CSize ppi = ODScreenPixelsPerInch();
    float hs = ppi.cx / 8.0f, vs = ppi.cy / 8.0f;
    CPoint snapped = f.view.SnapToGrid((int)(hs * 3 + 1), (int)(vs * 2 - 1));
    EXPECT_EQ(snapped, CPoint((int)(hs * 3 + 0.5f), (int)(vs * 2 + 0.5f)));
    // A spacing of 0 has no grid: the point stays.
    f.view.GetHorizontalGridMeasure()->SetValue(0.0f);
    EXPECT_EQ(f.view.SnapToGrid(13, 17), CPoint(13, 17));
    // Spacings in the drawing unit.
    f.view.GetCoordinateMapping()->SetUnits(4);
    f.view.SetHorizontalGridSpacing(25.4f);
    EXPECT_NEAR(f.view.GetHorizontalGridMeasure()->GetValue(), 1.0f, 1e-5f);
    EXPECT_NEAR(f.view.GetHorizontalGridSpacing(), 25.4f, 1e-4f);
}

TEST(Viewport, WhatEachHintInvalidates)
{
    Fixture f;
    CODRectComponent* r = new CODRectComponent;
    r->Create(100, 100, 200, 150);
    f.model.AppendChild(r);
    CODComponentSet set;
    set.Add(r);
    CSize t(5, 5);
    f.view.DPtoLP(&t);
    struct {
        int hint;
        CRect want;  // empty: the whole viewport
    } cases[] = {{1, {100 - t.cx, 100 - t.cx, 200 + t.cx, 150 + t.cx}},
                 {6, {100 - t.cx, 100 - t.cx, 200 + t.cx, 150 + t.cx}},
                 {3, {}},
                 {4, {}},
                 {5, {}}};
    for (auto& c : cases) {
        f.view.invalidated.clear();
        CODUpdateCommand update(&f.model, c.hint);
        update.AddComponents(&set);
        f.view.OnUpdate(&f.model, &update);
        ASSERT_EQ(f.view.invalidated.size(), 1u) << c.hint;
        CRect want = c.want.IsRectNull() ? f.view.GetLogicalRect() : c.want;
        EXPECT_EQ(f.view.invalidated[0], want) << c.hint;
    }
    // Hint 2 covers the old and the new place.
    r->Translate(300, 0);
    f.view.invalidated.clear();
    CODUpdateCommand moved(&f.model, 2);
    moved.AddComponents(&set);
    f.view.OnUpdate(&f.model, &moved);
    ASSERT_EQ(f.view.invalidated.size(), 1u);
    CRect got = f.view.invalidated[0];
    EXPECT_EQ(got, CRect(100 - t.cx, 100 - t.cx, 500 + t.cx, 150 + t.cx))
        << got.left << "," << got.top << "," << got.right << "," << got.bottom;
    // Other messages are ignored; none at all invalidates everything.
    f.view.invalidated.clear();
    struct Other : CODCommand {
        Other(CODModel* m) : CODCommand(m) {}
        int GetType() override { return 99; }
        void GetDescription(CString& d) override { d = "other"; }
    } other(&f.model);
    f.view.OnUpdate(&f.model, &other);
    EXPECT_TRUE(f.view.invalidated.empty());
}

TEST(Viewport, Pages)
{
    Fixture f;
    EXPECT_EQ(f.view.GetPageCount(), 0);
    f.view.SetPageSize(CSize(600, 600));
    EXPECT_EQ(f.view.GetPageCount(), 4);
    EXPECT_EQ(f.view.GetPageRect(1), CRect(0, 0, 600, 600));
    EXPECT_EQ(f.view.GetPageRect(4), CRect(600, 600, 1200, 1200));
}

static void AddBlueRect(Fixture& f, int l, int t, int r, int b)
{
    CODRectComponent* rect = new CODRectComponent;
    rect->Create(l, t, r, b);
    CODFillProperties fill(20);
    fill.SetColor(RGB(0, 0, 255));
    rect->SetOrAddProperty(fill);
    f.model.AppendChild(rect);
}

TEST(ViewportPixels, BackgroundGridPageBoundsAndComponentsAt200Percent)
{
    Fixture f(CSize(200, 200));
    f.view.SetPageSize(CSize(50, 1000));
    f.view.SetZoom(200, 200);
    AddBlueRect(f, 20, 20, 40, 40);

    Canvas canvas(200, 200);
    f.view.PrepareDC(&canvas.dc);
    f.view.DrawArea(&canvas.dc, f.view.GetLogicalRect());
    auto at = [&](int x, int y) { return canvas.At(x, y); };
    CSize ppi = ODScreenPixelsPerInch();
    int gx = 2 * RoundToInt(ppi.cx / 8.0f), gy = 2 * RoundToInt(ppi.cy / 8.0f);
    EXPECT_EQ(at(gx, gy), RGB(0, 0, 0));              // a grid dot, doubled
    EXPECT_EQ(at(gx + 1, gy + 1), RGB(255, 255, 255));  // white between dots
    EXPECT_EQ(at(60, 60), RGB(0, 0, 255));  // the rectangle's interior at twice its place
    EXPECT_EQ(at(60, 20), RGB(255, 255, 255));
    // The page bound at logical x 50 is a dashed line at device x 100.
    int inked = 0;
    for (int y = 0; y < 200; ++y)
        inked += at(100, y) == RGB(0, 0, 0);
    EXPECT_GT(inked, 40);
    EXPECT_LT(inked, 190);
}

// A repaint of part of the window draws again the part of every component it touches, also of
// one that reaches beyond it.
TEST(ViewportPixels, APartialRepaintDrawsTheComponentsItCrosses)
{
    Fixture f(CSize(200, 200));
    f.view.SetGridVisible(FALSE);
    AddBlueRect(f, 10, 10, 120, 120);

    Canvas canvas(200, 200);
    f.view.PrepareDC(&canvas.dc);
    f.view.DrawArea(&canvas.dc, CRect(50, 50, 150, 150));
    EXPECT_EQ(canvas.At(60, 60), RGB(0, 0, 255));     // the part inside the area
    EXPECT_EQ(canvas.At(30, 30), RGB(255, 255, 255));  // outside it nothing is drawn
    EXPECT_EQ(canvas.At(130, 130), RGB(255, 255, 255));
}

TEST(Viewport, GridOutOfRangeSwitchesOff)
{
    Fixture f;
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    struct {
        float spacing;
        BOOL visible;
    } cases[] = {{0.05f, FALSE}, {0.0625f, TRUE}, {6.0f, TRUE}, {6.5f, FALSE}};
    for (auto& c : cases) {
        f.view.SetGridVisible(TRUE);
        f.view.SetHorizontalGridSpacing(c.spacing);
        f.view.DrawGrid(&dc, CRect(0, 0, 10, 10));
        EXPECT_EQ(f.view.IsGridVisible(), c.visible) << c.spacing;
    }
}

TEST(Viewport, DefaultPropertiesAndHitTest)
{
    Fixture f;
    EXPECT_EQ(f.view.GetDefaultProperties()->GetCount(), 5);
    CODRectComponent* r = new CODRectComponent;
    r->Create(10, 10, 50, 50);
    f.model.AppendChild(r);
    CODPropertyList list;
    CODFillProperties fill(20);  // only the groups a component has are applied
    fill.SetColor(RGB(1, 2, 3));
    list.AddTail(CODPropertyPtr(fill.Clone()));
    f.view.SetDefaultProperties(&list);
    EXPECT_EQ(f.view.GetDefaultProperties()->GetCount(), 1);
    f.view.ApplyDefaultProperties(r);
    CODFillProperties got(20);
    ASSERT_TRUE(r->GetProperty(20, got));
    EXPECT_EQ(got.GetColor(), RGB(1, 2, 3));
    EXPECT_EQ(f.view.ComponentHitTest(30, 30), r);
    EXPECT_EQ(f.view.ComponentHitTest(300, 300), nullptr);
}

TEST(Viewport, ExportsReadBack)
{
    Fixture f;
    f.model.SetSize(CSize(200, 100));
    CODRectComponent* r = new CODRectComponent;
    r->Create(20, 20, 60, 60);
    CODFillProperties fill(20);
    fill.SetColor(RGB(0, 0, 255));
    r->SetOrAddProperty(fill);
    f.model.AppendChild(r);

    // The enhanced metafile: a sound one, that plays the rectangle back.
    CMemFile file;
    ASSERT_TRUE(f.view.ExportMetafile(&file, "Drawing\0\0"));
    std::vector<BYTE> bytes((size_t)file.GetLength());
    file.SeekToBegin();
    file.Read(bytes.data(), (UINT)bytes.size());
    HENHMETAFILE emf = SetEnhMetaFileBits((UINT)bytes.size(), bytes.data());
    ASSERT_NE(emf, nullptr);
    ENHMETAHEADER header;
    GetEnhMetaFileHeader(emf, sizeof(header), &header);
    EXPECT_GT(header.nRecords, 3u);
    EXPECT_EQ(f.view.GetLogicalRect(), CRect(0, 0, 400, 300));  // the view is as it was
    DeleteEnhMetaFile(emf);

    // The bitmap: the model's extent at the present zoom, with the rectangle in it.
    SECDib dib;
    ASSERT_TRUE(f.view.ExportBitmap(&dib, NULL));
    EXPECT_EQ(dib.GetWidth(), 200);
    EXPECT_EQ(dib.GetHeight(), 100);
    HDC screenDC = GetDC(NULL);
    CDC screen;
    screen.Attach(screenDC);
    CBitmap* bitmap = dib.MakeBitmap(&screen);
    screen.Detach();
    ReleaseDC(NULL, screenDC);
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    ASSERT_NE(bitmap, nullptr);
    CBitmap* old = dc.SelectObject(bitmap);
    EXPECT_EQ(dc.GetPixel(40, 40), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(100, 40), RGB(255, 255, 255));
    dc.SelectObject(old);
    delete bitmap;
}

TEST(Viewport, PageSizeFromThePageSettings)
{
    Fixture f;
    int pw = f.view.UpdatePageSize();
    EXPECT_EQ(pw, f.view.GetPageSize().cx);
    EXPECT_GE(pw, 0);
}
