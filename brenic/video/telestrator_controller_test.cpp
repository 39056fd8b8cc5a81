// The telestrator controller driven by mouse messages on an overlay window: the protractor's
// angle and label, arrow heads, vertical lines, a right click and a double click mid-figure,
// and an undo while the protractor's temporary label is up.
#include "gtest_wine.h"
#include <afxwin.h>
#include "ODCustomController.h"
#include "ODCustomModel.h"
#include "ODCustomViewport.h"
#include "ODPointComponent.h"
#include "ODTextComponent.h"
#include "OverlayWnd.h"

namespace {

TEST(ProtractorArithmetic, AnglesAndLabelPlaces)
{
    struct Case
    {
        CPoint a, b, c;
        int angle;
    } cases[] = {
        {{0, 0}, {100, 0}, {100, 100}, 90},
        {{0, 0}, {100, 0}, {200, 0}, 180},     // collinear, beyond B
        {{0, 0}, {100, 0}, {0, 0}, 0},         // C on A: d3 = 0
        {{100, 0}, {100, 0}, {50, 50}, 0},     // A = B
        {{0, 0}, {100, 0}, {0, 1}, 1},
        {{1, 1}, {300001, 1}, {600001, 1}, 180},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.angle, CODCustomController::AngleAt(c.a, c.b, c.c)) << c.c.x << "," << c.c.y;
    // 15 degrees or less: beside B.
    EXPECT_EQ(CPoint(115, 15), CODCustomController::LabelCentre({0, 0}, {100, 0}, {0, 10}));
    // Else 50 units from B on the bisector: for the right angle towards (-1, 1).
    EXPECT_EQ(CPoint(100 - 35, 35), CODCustomController::LabelCentre({0, 0}, {100, 0}, {100, 100}));
}

class OverlayFixture : public ::testing::Test
{
protected:
    CWnd parent;
    COverlayWnd overlay;
    CODCustomModel model;
    void SetUp() override
    {
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP,
                                    CRect(0, 0, 608, 456), NULL, 0));
        model.SetSize(CSize(608, 456));
        overlay.SetModel(&model);
        ASSERT_TRUE(overlay.Create(NULL, "OverlayWnd0", WS_CHILD, CRect(0, 0, 607, 455),
                                   &parent, 0));
        overlay.ShowWindow(SW_SHOW);
    }
    void TearDown() override { parent.DestroyWindow(); }
    CODCustomController* Controller()
    {
        return static_cast<CODCustomController*>(overlay.GetViewport()->GetController());
    }
    void Command(UINT id) { overlay.SendMessage(WM_COMMAND, id, 0); }
    void Send(UINT msg, int x, int y, WPARAM keys = 0)
    {
        overlay.SendMessage(msg, keys, MAKELPARAM(x, y));
    }
    void Click(int x, int y)
    {
        Send(WM_MOUSEMOVE, x, y);
        Send(WM_LBUTTONDOWN, x, y, MK_LBUTTON);
        Send(WM_LBUTTONUP, x, y);
    }
    void Drag(CPoint from, CPoint to)
    {
        Send(WM_MOUSEMOVE, from.x, from.y);
        Send(WM_LBUTTONDOWN, from.x, from.y, MK_LBUTTON);
        Send(WM_MOUSEMOVE, (from.x + to.x) / 2, (from.y + to.y) / 2, MK_LBUTTON);
        Send(WM_MOUSEMOVE, to.x, to.y, MK_LBUTTON);
        Send(WM_LBUTTONUP, to.x, to.y);
    }
    int Count() { return model.GetChildCount(); }
    CODComponent* Last() { return Count() ? model.GetChild(Count() - 1) : nullptr; }
};

TEST_F(OverlayFixture, CommandsBeforeTheFirstShowingAreIgnored)
{
    COverlayWnd hidden;
    CODCustomModel other;
    hidden.SetModel(&other);
    ASSERT_TRUE(hidden.Create(NULL, "OverlayWnd1", WS_CHILD, CRect(0, 0, 100, 100), &parent, 0));
    hidden.SendMessage(WM_COMMAND, ID_DRAW_LINE, 0);
    auto* c = static_cast<CODCustomController*>(hidden.GetViewport()->GetController());
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(-1, c->GetTool());
    hidden.DestroyWindow();
}

TEST_F(OverlayFixture, ProtractorShowsItsAngle)
{
    Command(ID_DRAW_PROTRACTOR);
    ASSERT_NE(nullptr, Controller());
    EXPECT_EQ(4, Controller()->GetTool());
    Click(0, 0);
    Send(WM_MOUSEMOVE, 50, 0);
    Click(100, 0);
    ASSERT_NE(nullptr, Controller()->GetAngleLabel());
    Send(WM_MOUSEMOVE, 100, 50);
    Click(100, 100);
    EXPECT_EQ(nullptr, Controller()->GetAngleLabel());
    ASSERT_EQ(1, Count());
    CODComponent* figure = Last();
    ASSERT_TRUE(CODCustomController::IsProtractor(figure));
    CODTextComponent* label = static_cast<CODTextComponent*>(figure->GetChild(0));
    EXPECT_STREQ("90\xBA", label->GetText());
    EXPECT_EQ("child", label->GetName());
    EXPECT_EQ(4, Controller()->GetTool());  // armed again
    // Moving the selection with the label alone leaves it in place.
    CODComponentSet only;
    only.Add(label);
    const CRect before = label->GetTextBounds();
    Controller()->MoveComponents(&only, 10, 10);
    EXPECT_EQ(before, label->GetTextBounds());
}

TEST_F(OverlayFixture, UndoWhileTheTemporaryLabelIsUp)
{
    Command(ID_DRAW_PROTRACTOR);
    Click(10, 10);
    Send(WM_MOUSEMOVE, 60, 10);
    Click(110, 10);
    ASSERT_NE(nullptr, Controller()->GetAngleLabel());
    ASSERT_EQ(1, Count());
    overlay.SendMessage(WM_COMMAND, ID_EDIT_UNDO, 0);
    EXPECT_EQ(0, Count());
    // The label is gone from the drawing: the third click must not touch it again.
    Send(WM_MOUSEMOVE, 110, 60);
    Click(110, 110);
    EXPECT_EQ(nullptr, Controller()->GetAngleLabel());
    ASSERT_EQ(1, Count());
    EXPECT_TRUE(CODCustomController::IsProtractor(Last()));
}

TEST_F(OverlayFixture, ArrowHeadAtTheFirstVertexAndVerticalLines)
{
    Command(ID_DRAW_ARROW);
    Drag(CPoint(20, 20), CPoint(200, 120));
    ASSERT_EQ(1, Count());
    CODLineComponent* arrow = DYNAMIC_DOWNCAST(CODLineComponent, Last());
    ASSERT_NE(nullptr, arrow);
    ASSERT_NE(nullptr, arrow->GetStartEndpoint());
    EXPECT_TRUE(arrow->GetStartEndpoint()->IsKindOf(RUNTIME_CLASS(CODArrowEndpoint)));
    EXPECT_EQ(nullptr, arrow->GetEndEndpoint());
    EXPECT_EQ(3, Controller()->GetTool());  // still armed

    Command(ID_DRAW_VLINE);
    Drag(CPoint(300, 50), CPoint(340, 200));
    ASSERT_EQ(2, Count());
    CODLineComponent* v = DYNAMIC_DOWNCAST(CODLineComponent, Last());
    ASSERT_NE(nullptr, v);
    EXPECT_EQ("VLine", v->GetName());
    EXPECT_EQ(v->GetVertex(0).x, v->GetVertex(1).x);
    // Dragging one end sideways moves both; up or down only that end.
    Command(ID_DRAW_RESET_TOOLS);
    Controller()->MoveVertex(v, 1, 25, 0);
    EXPECT_EQ(v->GetVertex(0).x, v->GetVertex(1).x);
    const int y0 = v->GetVertex(0).y;
    Controller()->MoveVertex(v, 1, 0, 30);
    EXPECT_EQ(y0, v->GetVertex(0).y);
}

TEST_F(OverlayFixture, RightClickMidPolylineAndDoubleClickClears)
{
    Command(ID_DRAW_POLYLINE);
    Click(10, 10);
    Send(WM_MOUSEMOVE, 50, 50);
    Click(80, 40);
    Send(WM_RBUTTONDOWN, 90, 90, MK_RBUTTON);
    Send(WM_RBUTTONUP, 90, 90);
    EXPECT_EQ(0, Count());  // the figure is discarded
    EXPECT_EQ(nullptr, Controller()->BuildContextMenu());  // none after the right click
    CMenu* menu = Controller()->BuildContextMenu();
    ASSERT_NE(nullptr, menu);
    CString text;
    menu->GetMenuString(0, text, MF_BYPOSITION);
    EXPECT_STREQ("Cu&t", text);

    Command(ID_DRAW_LINE);
    Drag(CPoint(10, 300), CPoint(200, 300));
    Drag(CPoint(10, 350), CPoint(200, 380));
    ASSERT_EQ(2, Count());
    Send(WM_LBUTTONDBLCLK, 500, 400, MK_LBUTTON);
    EXPECT_EQ(0, Count());
}

}  // namespace
