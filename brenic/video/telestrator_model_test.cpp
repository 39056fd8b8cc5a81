// The telestrator's model and viewport: zoom limits keeping the centre, the key colour
// followed by the background, a NULL model, and which changes mark the clip's drawing.
#include "gtest_wine.h"
#include <afxwin.h>
#include "Clip.h"
#include "ODCustomModel.h"
#include "ODCustomViewport.h"

namespace {

// A command that only changes the model's modified state, as every drawing change does.
class TouchCommand : public CODCommand
{
public:
    explicit TouchCommand(CODModel* model) : CODCommand(model) {}
    int GetType() override { return 9999; }
    void GetDescription(CString& d) override { d = "touch"; }
    BOOL Execute() override
    {
        m_pModel->SetModified(TRUE);
        return TRUE;
    }
};

// A viewport whose control reports a key colour of the test's choosing.
class KeyedViewport : public CODCustomViewport
{
public:
    COLORREF key = 0x100010;
    bool hasControl = false;
    BOOL ReadKeyColor(COLORREF* out) override
    {
        if (!hasControl)
            return FALSE;
        *out = key;
        return TRUE;
    }
};

struct ViewFixture
{
    CWnd wnd;
    CODCustomModel model;
    KeyedViewport view;
    ViewFixture()
    {
        wnd.CreateEx(0, AfxRegisterWndClass(0), "view", WS_POPUP, CRect(0, 0, 304, 228), NULL, 0);
        model.SetSize(CSize(608, 456));
        view.SetModel(&model);
        view.Create(&wnd, NULL);
        view.SetSize(304, 228);
        view.InitialUpdate();
    }
    ~ViewFixture() { wnd.DestroyWindow(); }
    CPoint Centre() { return view.GetLogicalRect().CenterPoint(); }
};

TEST(TelestratorViewport, ZoomStopsAtTheLimitsAndKeepsTheCentre)
{
    ViewFixture f;
    struct Case
    {
        int from;
        bool in;
        int to;
    } cases[] = {{990, true, 1000}, {1000, true, 1000}, {500, true, 525},
                 {110, false, 100}, {100, false, 100}, {500, false, 475}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.from);
        f.view.SetZoom(c.from, c.from);
        f.view.CenterOn(300, 220);
        const CPoint before = f.Centre();
        if (c.in)
            f.view.ZoomIn();
        else
            f.view.ZoomOut();
        EXPECT_EQ(c.to, f.view.GetZoomPercent());
        EXPECT_NEAR(before.x, f.Centre().x, 2);
        EXPECT_NEAR(before.y, f.Centre().y, 2);
    }
}

TEST(TelestratorViewport, BackgroundFollowsTheKeyColour)
{
    ViewFixture f;
    EXPECT_EQ(COLORREF(0xA8A8A8), CODCustomViewport().GetKeyColor());
    // Without a control the last key stays.
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CBitmap bmp;
    bmp.CreateBitmap(10, 10, 1, 32, NULL);
    CBitmap* old = dc.SelectObject(&bmp);
    f.view.EraseBuffer(&dc, CRect(0, 0, 10, 10));
    EXPECT_EQ(COLORREF(0xA8A8A8), dc.GetPixel(5, 5));
    f.view.hasControl = true;
    f.view.EraseBuffer(&dc, CRect(0, 0, 10, 10));
    EXPECT_EQ(COLORREF(0x100010), f.view.GetKeyColor());
    EXPECT_EQ(COLORREF(0x100010), dc.GetPixel(5, 5));
    f.view.key = RGB(1, 200, 3);
    f.view.EraseBuffer(&dc, CRect(0, 0, 10, 10));
    EXPECT_EQ(RGB(1, 200, 3), dc.GetPixel(5, 5));
    dc.SelectObject(old);
}

TEST(TelestratorViewport, NullModelAndDefaultLine)
{
    CODCustomViewport view;
    CODCustomModel model;
    view.SetModel(NULL);
    EXPECT_EQ(nullptr, view.GetModel());
    view.SetModel(&model);
    EXPECT_EQ(&model, view.GetModel());
    view.SetModel(NULL);
    EXPECT_EQ(nullptr, view.GetModel());
    ASSERT_NE(nullptr, view.FindLineProperties());
    ASSERT_NE(nullptr, view.FindFontProperties());
    view.SetLineColor(RGB(255, 0, 0));
    view.SetLineWidth(4);
    view.SetLineStyle(2);
    EXPECT_EQ(RGB(255, 0, 0), view.FindLineProperties()->GetColor());
    EXPECT_EQ(4, view.GetLineWidth());
    EXPECT_EQ(2, view.GetLineStyle());
}

TEST(TelestratorModel, ChangesUndoAndRedoMarkTheClip)
{
    CClip clip;
    CODCustomModel& model = *clip.GetDrawingModel();
    model.SetModified(FALSE);
    clip.SetDrawingModified(FALSE);
    EXPECT_TRUE(model.Do(new TouchCommand(&model)));
    EXPECT_TRUE(clip.IsDrawingModified());
    clip.SetDrawingModified(FALSE);
    model.SetModified(FALSE);  // saved
    EXPECT_NE(nullptr, model.Undo());
    EXPECT_TRUE(clip.IsDrawingModified());
    clip.SetDrawingModified(FALSE);
    model.SetModified(FALSE);
    EXPECT_NE(nullptr, model.Redo());
    EXPECT_TRUE(clip.IsDrawingModified());
    // Nothing to undo twice over: nothing marked.
    clip.SetDrawingModified(FALSE);
    model.SetModified(FALSE);
    model.Redo();
    EXPECT_FALSE(clip.IsDrawingModified());

    CODCustomModel live;  // no clip: records and marks nothing
    EXPECT_TRUE(live.Do(new TouchCommand(&live)));
    EXPECT_NE(nullptr, live.PeekUndo());
}

}  // namespace
