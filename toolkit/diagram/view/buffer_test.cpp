// Buffered drawing over a hidden window: the buffer's size and margin, renders on
// invalidation, paints that copy only inside the bounds, and printing straight to the DC.
#include "gtest_wine.h"
#include "MvcBufferedWrapper.h"
#include "ODClosedShapes.h"
#include "ODFillProperties.h"
#include "ODViewport.h"
#include "od_test_canvas.h"

namespace {

typedef MvcBufferedWrapper_T<CODViewport> BufferedViewport;

struct Fixture {
    CWnd wnd;
    CODModel model;
    BufferedViewport view;
    CODRectComponent* rect;
    Fixture()
    {
        wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 400, 300), NULL, 0);
        model.SetSize(CSize(1000, 700));
        view.SetModel(&model);
        view.Create(&wnd, NULL);
        view.SetSize(200, 150);
        view.InitialUpdate();
        rect = new CODRectComponent;
        rect->Create(20, 20, 60, 60);
        CODFillProperties fill(20);
        fill.SetColor(RGB(0, 0, 255));
        rect->SetOrAddProperty(fill);
        model.AppendChild(rect);
    }
    ~Fixture() { wnd.DestroyWindow(); }
};

// A surface filled with green, so that what is copied shows.
struct Target : Canvas {
    Target() : Canvas(300, 300, 0x00FF00) {}
};

}  // namespace

TEST(Buffer, KeptUpTo100PixelsOfGrowthReplacedBeyond)
{
    Fixture f;
    ASSERT_NE(f.view.GetBufferBitmap(), nullptr);
    EXPECT_EQ(f.view.GetBufferBitmap()->GetBitmapDimension(), CSize(300, 250));
    CBitmap* first = f.view.GetBufferBitmap();
    struct {
        CSize size;
        bool kept;
    } cases[] = {{{300, 250}, true}, {{100, 100}, true}, {{301, 250}, false}};
    for (auto& c : cases) {
        CBitmap* before = f.view.GetBufferBitmap();
        f.view.SetSize(c.size.cx, c.size.cy);
        EXPECT_EQ(f.view.GetBufferBitmap() == before, c.kept) << c.size.cx;
    }
    EXPECT_NE(f.view.GetBufferBitmap(), first);
    EXPECT_EQ(f.view.GetBufferBitmap()->GetBitmapDimension(), CSize(401, 350));
}

TEST(Buffer, PaintsCopyInsideTheBoundsOnly)
{
    Fixture f;
    ASSERT_NE(f.view.GetMemoryDC(), nullptr);  // the copy comes from the buffer
    CRect r = f.rect->GetBounds();
    f.view.InvalidateRect(&r, TRUE, FALSE);  // renders at once
    Target t;
    f.view.CopyBuffer(&t.dc, CRect(0, 0, 300, 300));
    EXPECT_EQ(t.At(40, 40), RGB(0, 0, 255));     // the rectangle, from the buffer
    EXPECT_EQ(t.At(250, 40), RGB(0, 255, 0));    // outside the bounds (200 x 150): untouched
    EXPECT_EQ(t.At(40, 200), RGB(0, 255, 0));
}

TEST(Buffer, PrinterDCDrawsDirectly)
{
    Fixture f;
    f.view.SetBuffering(FALSE);
    f.view.ReleaseBuffer();
    f.view.SetBuffering(TRUE);
    Target t;
    t.dc.m_bPrinting = TRUE;
    f.view.PrepareDC(&t.dc);
    f.view.Draw(&t.dc);  // no buffer is needed to print
    EXPECT_EQ(t.At(40, 40), RGB(0, 0, 255));
    EXPECT_EQ(f.view.GetMemoryDC(), nullptr);
}
