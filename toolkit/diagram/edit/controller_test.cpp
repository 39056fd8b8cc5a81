// The controller on a buffered viewport in a hidden host window, driven by synthetic messages:
// the state table, the shape tools, selection, cursors, handles and the direct-manipulation
// drags, each finished gesture one undoable command.
#include "od_edit_fixture.h"
#include <math.h>
#include <memory>
#include "ODGeometry.h"
#include "ODCommands.h"
#include "ODLabelComponent.h"
#include "ODLinkComponent.h"
#include "ODTracker.h"
#include "ODPortComponent.h"
#include "ODTextComponent.h"
#include "od_test_canvas.h"

namespace {

CRect BoundsOf(CODComponent* c) { return c->GetBounds(); }

}  // namespace

// ---------------------------------------------------------------------------------------------
// The state table

TEST(StateTable, EventsLeadToTheNextState)
{
    enum Ev { LDown, Move, MoveAtPress, LUp, Dbl, RDown, RUp };
    struct Case {
        int from;
        Ev event;
        int to;
    } cases[] = {
        {10, LDown, 11}, {11, LUp, 10}, {11, Move, 12},     {13, LDown, 14}, {14, LUp, 13},
        {14, Move, 15},  {16, LDown, 17}, {17, Move, 18},   {17, LUp, 17},  {17, Dbl, 17},
        {18, RUp, 16},   {19, LDown, 20}, {20, Move, 21},   {21, RUp, 19},  {22, LDown, 23},
        {23, Move, 24},  {24, RUp, 22},   {25, LDown, 26},  {26, Move, 27}, {27, RUp, 25},
        {28, LDown, 29}, {29, LUp, 28},   {29, Move, 30},   {31, LDown, 31}, {31, LUp, 0},
        {31, RUp, 0},    {32, LUp, 0},    {32, RUp, 0},     {33, RUp, 0},   {34, LUp, 0},
        {37, RUp, 0},    {37, LDown, 37}, {40, LDown, 41},  {41, LUp, 40},  {41, Move, 42},
        {40, RUp, 40},   {43, LDown, 44}, {44, Move, 45},   {44, LUp, 43},  {0, LDown, 1},
        {1, LUp, 0},     {1, MoveAtPress, 2}, {3, LDown, 1}, {0, RDown, 0}, {10, Move, 10},
        {13, RUp, 13},
    };
    for (const Case& c : cases) {
        EditFixture f;
        const CPoint p(300, 200);
        f.Down(p.x, p.y);  // records the press point in select state
        f.Up(p.x, p.y);
        f.controller->SetState(c.from);
        switch (c.event) {
        case LDown: f.Down(p.x, p.y); break;
        case Move: f.Move(p.x + 20, p.y + 10); break;
        case MoveAtPress: f.Move(p.x, p.y); break;
        case LUp: f.Up(p.x, p.y); break;
        case Dbl: f.DblClk(p.x, p.y); break;
        case RDown: f.RDown(p.x, p.y); break;
        case RUp: f.RUp(p.x, p.y); break;
        }
        EXPECT_EQ(f.State(), c.to) << "from " << c.from << " event " << c.event;
        f.controller->EndCapture();
    }
}

TEST(StateTable, State38AndOutOfRangeAreInert)
{
    EditFixture f;
    f.AddRect(100, 100, 200, 200);
    for (int state : {38, 48, -1}) {
        f.controller->SetState(state);
        f.Down(150, 150);
        f.Move(170, 160);
        f.Up(170, 160);
        f.DblClk(170, 160);
        f.RDown(170, 160);
        f.RUp(170, 160);
        f.Send(WM_KEYDOWN, VK_SHIFT, 0, 0);
        EXPECT_EQ(f.State(), state);
        EXPECT_EQ(f.Count(), 1);
        EXPECT_EQ(BoundsOf(f.model.GetChild(0)), CRect(100, 100, 200, 200));
    }
}

TEST(StateTable, PressedStatesWaitForAMoveAwayFromThePressPoint)
{
    EditFixture f;
    CODRectComponent* r = f.AddRect(100, 100, 200, 200);
    (void)r;
    f.Down(150, 150);  // on the selected component: move pressed
    ASSERT_EQ(f.State(), 6);
    f.Move(150, 150);
    EXPECT_EQ(f.State(), 6);
    f.Move(151, 150);
    EXPECT_EQ(f.State(), 7);
    f.Up(151, 150);
    EXPECT_EQ(f.State(), 0);
}

// ---------------------------------------------------------------------------------------------
// Shape tools

TEST(Tools, EachShapeToolMakesOneSelectedComponentInOneInsertCommand)
{
    struct Case {
        UINT command;
        const char* cls;
        bool clicks;
    } cases[] = {
        {ID_OD_RECTANGLE, "CODRectComponent", false},
        {ID_OD_ELLIPSE, "CODEllipseComponent", false},
        {ID_OD_LINE, "CODLineComponent", false},
        {ID_OD_POLYLINE, "CODLineComponent", true},
        {ID_OD_POLYGON, "CODPolygonComponent", true},
        {ID_OD_POLYCURVE, "CODCurveComponent", true},
        {ID_OD_CLOSED_CURVE, "CODClosedCurveComponent", true},
    };
    for (const Case& c : cases) {
        EditFixture f;
        f.Command(c.command);
        EXPECT_EQ(f.controller->GetCurrentCursor(),
                  ::LoadCursor(::GetModuleHandle(NULL), MAKEINTRESOURCE(IDC_OD_DRAW)));
        if (c.clicks) {
            f.Down(100, 100);
            f.Up(100, 100);
            f.Move(200, 120);
            f.Down(200, 120);
            f.Up(200, 120);
            f.Move(150, 220);
            f.Down(150, 220);
            f.Up(150, 220);
            f.DblClk(150, 220);
        } else
            f.Drag(CPoint(100, 100), CPoint(200, 180));
        ASSERT_EQ(f.Count(), 1) << c.cls;
        CODComponent* made = f.model.GetChild(0);
        EXPECT_STREQ(made->GetRuntimeClass()->m_lpszClassName, c.cls);
        EXPECT_EQ(f.State(), 0);
        ASSERT_EQ(f.Selection()->GetSize(), 1);
        EXPECT_EQ((*f.Selection())[0], made);
        ASSERT_NE(f.LastCommand(), nullptr);
        EXPECT_EQ(f.LastCommand()->GetType(), 14);
        EXPECT_EQ(f.model.GetHistory()->GetUndoCount(), 1);
        f.Command(ID_EDIT_UNDO);
        EXPECT_EQ(f.Count(), 0);
        EXPECT_EQ(f.Selection()->GetSize(), 0);
        f.Command(ID_EDIT_REDO);
        EXPECT_EQ(f.Count(), 1);
        EXPECT_EQ(f.Selection()->GetSize(), 1);
    }
}

TEST(Tools, RectangleFromPressToReleaseSquareWithShiftSnappedAndClamped)
{
    struct Case {
        CPoint from, to;
        UINT flags;
        bool snap;
        CRect expected;
    } cases[] = {
        {{100, 100}, {180, 150}, 0, false, {100, 100, 180, 150}},
        {{180, 150}, {100, 100}, 0, false, {100, 100, 180, 150}},  // normalised
        {{100, 100}, {180, 150}, MK_SHIFT, false, {100, 100, 180, 180}},
        {{103, 98}, {178, 152}, 0, true, {100, 100, 180, 150}},
    };
    for (const Case& c : cases) {
        EditFixture f;
        f.view.GetHorizontalGridMeasure();
        if (c.snap) {
            f.view.SetSnapToGrid(TRUE);
            // A grid step of 10 logical units.
            float unit = f.view.GetHorizontalGridSpacing() / 12.0f * 10.0f;
            f.view.SetHorizontalGridSpacing(unit);
            f.view.SetVerticalGridSpacing(unit);
            CPoint g = f.view.SnapToGrid(13, 7);
            ASSERT_EQ(g, CPoint(10, 10)) << "grid of 10 expected";
        }
        f.Command(ID_OD_RECTANGLE);
        f.Drag(c.from, c.to, c.flags);
        ASSERT_EQ(f.Count(), 1);
        EXPECT_EQ(BoundsOf(f.model.GetChild(0)), c.expected) << c.flags << " " << c.snap;
    }
}

TEST(Tools, LineWithShiftKeepsTheLargerAxis)
{
    EditFixture f;
    f.Command(ID_OD_LINE);
    f.Drag(CPoint(100, 100), CPoint(200, 130), MK_SHIFT);
    ASSERT_EQ(f.Count(), 1);
    CODLineComponent* line = DYNAMIC_DOWNCAST(CODLineComponent, f.model.GetChild(0));
    ASSERT_NE(line, nullptr);
    CArray<CPoint, CPoint> v;
    line->GetVertexArray(&v);
    ASSERT_EQ(v.GetSize(), 2);
    EXPECT_EQ(v[0], CPoint(100, 100));
    EXPECT_EQ(v[1], CPoint(200, 100));
}

TEST(Tools, CancelPathsKeepTheToolArmedAndMakeNothing)
{
    struct Case {
        UINT command;
        int armed;
    } cases[] = {{ID_OD_RECTANGLE, 10}, {ID_OD_ELLIPSE, 28}, {ID_OD_LINE, 13}};
    for (const Case& c : cases) {
        EditFixture f;
        f.Command(c.command);
        f.Down(100, 100);
        f.Up(100, 100);  // a click without a move
        EXPECT_EQ(f.State(), c.armed);
        EXPECT_EQ(f.Count(), 0);
    }
    for (UINT command : {ID_OD_POLYLINE, ID_OD_POLYGON, ID_OD_POLYCURVE, ID_OD_CLOSED_CURVE}) {
        EditFixture f;
        f.Command(command);
        int armed = f.State();
        f.Down(100, 100);
        f.Move(150, 100);
        f.Down(150, 100);
        f.RUp(150, 100);  // a right release ends the figure
        EXPECT_EQ(f.State(), armed);
        EXPECT_EQ(f.Count(), 0);
        EXPECT_EQ(f.controller->GetPointList()->GetSize(), 0);
    }
    // A polygon needs three points: two clicks and a double click end it empty.
    EditFixture f;
    f.Command(ID_OD_POLYGON);
    f.Down(100, 100);
    f.Move(150, 100);
    f.DblClk(150, 100);
    EXPECT_EQ(f.State(), 19);
    EXPECT_EQ(f.Count(), 0);
}

TEST(Tools, ToolsAreDisabledOnAReadOnlyModelUnlessTheOptionWordIsSet)
{
    EditFixture f;
    int check = 0;
    EXPECT_TRUE(f.Enabled(ID_OD_RECTANGLE));
    f.Command(ID_OD_RECTANGLE);
    f.Enabled(ID_OD_RECTANGLE, &check);
    EXPECT_EQ(check, 1);
    f.model.SetReadOnly(TRUE);
    EXPECT_FALSE(f.Enabled(ID_OD_LINE));
    f.model.SetOption(1);
    EXPECT_TRUE(f.Enabled(ID_OD_LINE));
}

// ---------------------------------------------------------------------------------------------
// Selection

TEST(Selection, ClickShiftCtrlAndRightClick)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(50, 50, 100, 100);
    CODRectComponent* b = f.AddRect(200, 50, 250, 100);
    CODRectComponent* c = f.AddRect(350, 50, 400, 100);
    f.Down(10, 300);  // empty space clears
    f.Up(10, 300);
    EXPECT_EQ(f.Selection()->GetSize(), 0);

    f.Down(75, 75);
    f.Up(75, 75);
    ASSERT_EQ(f.Selection()->GetSize(), 1);
    EXPECT_EQ((*f.Selection())[0], a);

    f.Down(225, 75, MK_SHIFT);
    f.Up(225, 75, MK_SHIFT);
    f.Down(375, 75, MK_CONTROL);
    f.Up(375, 75, MK_CONTROL);
    ASSERT_EQ(f.Selection()->GetSize(), 3);
    EXPECT_EQ(f.controller->GetLastSelected(), c);

    f.Down(75, 75, MK_CONTROL);  // Ctrl on a selected one makes it the last
    f.Up(75, 75, MK_CONTROL);
    EXPECT_EQ(f.controller->GetLastSelected(), a);

    f.Down(225, 75, MK_SHIFT);  // Shift on a selected one takes it out
    f.Up(225, 75, MK_SHIFT);
    EXPECT_EQ(f.Selection()->IndexOf(b), -1);
    EXPECT_EQ(f.Selection()->GetSize(), 2);

    f.Down(375, 75);  // a plain click on a selected one: the release keeps it alone
    f.Up(375, 75);
    ASSERT_EQ(f.Selection()->GetSize(), 1);
    EXPECT_EQ((*f.Selection())[0], c);

    f.RDown(225, 75);  // a right press selects and never drags
    EXPECT_EQ(f.State(), 0);
    ASSERT_EQ(f.Selection()->GetSize(), 1);
    EXPECT_EQ((*f.Selection())[0], b);
}

TEST(Selection, RubberBandAddsWhatItCoversOnce)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(50, 50, 100, 100);
    f.AddRect(120, 50, 170, 100);
    f.AddRect(400, 300, 450, 350);
    f.controller->ClearSelection();
    f.controller->GetSelection()->Add(a);
    f.Down(40, 40, MK_SHIFT);
    f.Move(60, 60, MK_SHIFT);
    f.Move(200, 120, MK_SHIFT);
    EXPECT_EQ(f.State(), 2);
    f.Up(200, 120, MK_SHIFT);  // Shift: a square of 160
    EXPECT_EQ(f.State(), 0);
    EXPECT_EQ(f.Selection()->GetSize(), 2);
    EXPECT_EQ(f.Selection()->IndexOf(a), 0);
}

TEST(Selection, HoverCursors)
{
    EditFixture f;
    CODRectComponent* r = f.AddRect(100, 100, 200, 200);
    (void)r;
    HMODULE self = ::GetModuleHandle(NULL);
    struct Case {
        CPoint at;
        UINT flags;
        HCURSOR expected;
    } cases[] = {
        {{150, 150}, 0, ::LoadCursor(self, MAKEINTRESOURCE(IDC_OD_SELECT_MOVE))},
        {{100, 100}, 0, ::LoadCursor(NULL, IDC_SIZENWSE)},
        {{150, 100}, 0, ::LoadCursor(NULL, IDC_SIZENS)},
        {{200, 100}, 0, ::LoadCursor(NULL, IDC_SIZENESW)},
        {{200, 150}, 0, ::LoadCursor(NULL, IDC_SIZEWE)},
        {{400, 400}, 0, ::LoadCursor(NULL, IDC_ARROW)},
    };
    for (const Case& c : cases) {
        f.Move(c.at.x, c.at.y, c.flags);
        EXPECT_EQ(f.controller->GetCurrentCursor(), c.expected) << c.at.x << "," << c.at.y;
    }
    // Over a line's vertex: the vertex cursor, with Ctrl the delete cursor (two vertices are
    // the least a line keeps, so it cannot lose one).
    CODLineComponent* line = f.AddLine(CPoint(300, 300), CPoint(400, 300));
    (void)line;
    f.Move(300, 300);
    EXPECT_EQ(f.controller->GetCurrentCursor(), ::LoadCursor(self, MAKEINTRESOURCE(IDC_OD_VERTEX)));
    f.Move(350, 300, MK_CONTROL);
    EXPECT_EQ(f.controller->GetCurrentCursor(),
              ::LoadCursor(self, MAKEINTRESOURCE(IDC_OD_INSERT_VERTEX)));
}

TEST(Selection, HandleSquaresStayInDevicePixelsAt200Percent)
{
    EditFixture f;
    CODRectComponent* r = f.AddRect(50, 50, 100, 100);
    f.view.SetZoom(200, 200);
    f.view.SetLogicalOrigin(0, 0);
    // Handle 4 (bottom-right) at logical (100, 100) is device (200, 200): its square spans
    // 3 device pixels each way whatever the zoom, and is hit 3 pixels further out.
    Canvas canvas(400, 400, 0x00FF00);
    f.view.PrepareDC(&canvas.dc);
    f.view.DrawSelectionHandles(&canvas.dc, f.Selection(), r, CRect(0, 0, 400, 400));
    canvas.dc.SetMapMode(MM_TEXT);
    canvas.dc.SetWindowOrg(0, 0);
    canvas.dc.SetViewportOrg(0, 0);
    EXPECT_EQ(canvas.At(197, 200), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(203, 200), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(196, 200), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(204, 200), RGB(0, 255, 0));
    int handle = -1;
    EXPECT_EQ(f.view.HandleHitTest(CPoint(101, 101), handle), r);
    EXPECT_EQ(handle, 4);
    EXPECT_EQ(f.view.HandleHitTest(CPoint(75, 75), handle), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Drags

TEST(Drags, MoveWithSnapPlacesTheTopLeftOnTheGrid)
{
    EditFixture f;
    CODRectComponent* r = f.AddRect(103, 104, 153, 154);
    f.view.SetSnapToGrid(TRUE);
    float unit = f.view.GetHorizontalGridSpacing() / 12.0f * 10.0f;
    f.view.SetHorizontalGridSpacing(unit);
    f.view.SetVerticalGridSpacing(unit);
    f.Drag(CPoint(120, 120), CPoint(151, 139));
    EXPECT_EQ(BoundsOf(r).TopLeft(), CPoint(130, 120));
    EXPECT_EQ(f.LastCommand()->GetType(), 1);
    f.Command(ID_EDIT_UNDO);
    EXPECT_EQ(BoundsOf(r), CRect(103, 104, 153, 154));
    f.Command(ID_EDIT_REDO);
    EXPECT_EQ(BoundsOf(r).TopLeft(), CPoint(130, 120));
}

TEST(Drags, AMovedPortSnapsItsCentre)
{
    EditFixture f;
    CODCirclePort* port = new CODCirclePort;
    port->Create(CPoint(103, 104), 3);
    f.controller->InsertComponent(port);
    f.view.SetSnapToGrid(TRUE);
    float unit = f.view.GetHorizontalGridSpacing() / 12.0f * 10.0f;
    f.view.SetHorizontalGridSpacing(unit);
    f.view.SetVerticalGridSpacing(unit);
    f.Drag(CPoint(103, 104), CPoint(134, 123));
    EXPECT_EQ(f.LastCommand()->GetType(), 1);
    EXPECT_EQ(port->GetLocation(), CPoint(130, 120));
}

TEST(Drags, MoveWithShiftKeepsTheLargerAxisAndUnmovableStays)
{
    EditFixture f;
    CODRectComponent* a = f.AddRect(100, 100, 150, 150);
    CODRectComponent* b = f.AddRect(200, 100, 250, 150);
    f.SetEdit(b, &CODEditProperties::SetCanMove, FALSE);
    f.controller->GetSelection()->Add(a);  // a last: the press is on it
    f.controller->GetSelection()->Remove(a);
    f.controller->GetSelection()->Add(a);
    ASSERT_EQ(f.Selection()->GetSize(), 2);
    f.Down(120, 120);  // Shift on the press would take a out of the selection
    f.Move(140, 125, MK_SHIFT);
    f.Move(160, 130, MK_SHIFT);
    f.Up(160, 130, MK_SHIFT);
    EXPECT_EQ(BoundsOf(a), CRect(140, 100, 190, 150));
    EXPECT_EQ(BoundsOf(b), CRect(200, 100, 250, 150));
}

TEST(Drags, RotationSnapsTo150Tenths)
{
    struct Case {
        int dy;
        int angle;
    } cases[] = {{53, 0}, {54, 150}, {-57, -150}};
    for (const Case& c : cases) {
        EditFixture f;
        CODRectComponent* r = f.AddRect(100, 100, 300, 140);  // centre (200, 120)
        (void)r;
        f.view.SetAngleSnap(TRUE);
        f.Command(ID_OD_FREE_ROTATE);
        f.Down(290, 120);  // angle 0 from the centre
        ASSERT_EQ(f.State(), 4);
        f.Move(300, 120);
        f.Move(400, 120 + c.dy);
        f.Up(400, 120 + c.dy);
        EXPECT_EQ(f.State(), 3);
        CODRotateCommand* rotate = dynamic_cast<CODRotateCommand*>(f.LastCommand());
        ASSERT_NE(rotate, nullptr);
        EXPECT_EQ(rotate->GetAngle(), c.angle) << c.dy;
    }
}

TEST(Drags, ScalingByHandleWithModifiers)
{
    struct Case {
        CPoint grab, to;
        UINT flags;
        float sx, sy;
        int reference;
    } cases[] = {
        {{200, 150}, {250, 175}, 0, 1.5f, 1.5f, 0},
        {{200, 150}, {250, 150}, 0, 1.5f, 1.0f, 0},
        {{100, 100}, {80, 90}, 0, 1.2f, 1.2f, 4},
        {{150, 150}, {150, 200}, 0, 1.0f, 2.0f, 1},
        {{200, 125}, {220, 125}, 0, 1.2f, 1.0f, 7},
        {{200, 150}, {250, 160}, MK_SHIFT, 1.5f, 1.5f, 0},
        {{200, 150}, {225, 150}, MK_CONTROL, 1.5f, 1.0f, 8},
        {{150, 150}, {180, 175}, MK_SHIFT, 1.0f, 1.5f, 1},  // Shift on an edge: no uniform
    };
    for (const Case& c : cases) {
        EditFixture f;
        f.AddRect(100, 100, 200, 150);  // selected; W 100, H 50
        f.Down(c.grab.x, c.grab.y, c.flags);
        ASSERT_EQ(f.State(), 8) << c.grab.x << "," << c.grab.y;
        f.Move(c.to.x, c.to.y, c.flags);
        f.Up(c.to.x, c.to.y, c.flags);
        CODScaleCommand* scale = dynamic_cast<CODScaleCommand*>(f.LastCommand());
        ASSERT_NE(scale, nullptr);
        EXPECT_FLOAT_EQ(scale->GetScaleX(), c.sx) << c.grab.x << "," << c.grab.y << " " << c.flags;
        EXPECT_FLOAT_EQ(scale->GetScaleY(), c.sy) << c.grab.x << "," << c.grab.y << " " << c.flags;
        EXPECT_EQ(scale->GetHandle(), c.reference);
    }
}

TEST(Drags, KeepAspectAndAFlatLineScaleSoundly)
{
    {
        EditFixture f;
        CODRectComponent* r = f.AddRect(100, 100, 200, 150);
        f.SetEdit(r, &CODEditProperties::SetCanStretch, FALSE);
        f.Drag(CPoint(200, 125), CPoint(220, 125));
        CODScaleCommand* scale = dynamic_cast<CODScaleCommand*>(f.LastCommand());
        ASSERT_NE(scale, nullptr);
        EXPECT_FLOAT_EQ(scale->GetScaleX(), 1.2f);
        EXPECT_FLOAT_EQ(scale->GetScaleY(), 1.2f);
    }
    {
        // A horizontal line has no height: scaling its height keeps the factor at 1, and its
        // width still scales, so no factor becomes infinite.
        EditFixture f;
        CODLineComponent* line = f.AddLine(CPoint(100, 100), CPoint(200, 100));
        f.Command(ID_OD_EDIT_VERTICES);  // the line is edited by its vertices: leave that
        f.controller->OnCommandExecuted(nullptr);
        f.controller->SetState(0);
        CODComponentSet one;
        one.Add(line);
        float sx = 0, sy = 0;
        // Press the bottom-right scaling handle of a plain component: handle 4.
        CODRectComponent* flat = f.AddRect(300, 100, 400, 100);
        (void)flat;
        f.Drag(CPoint(400, 100), CPoint(450, 130));
        CODScaleCommand* scale = dynamic_cast<CODScaleCommand*>(f.LastCommand());
        ASSERT_NE(scale, nullptr);
        sx = scale->GetScaleX();
        sy = scale->GetScaleY();
        EXPECT_TRUE(std::isfinite(sx) && std::isfinite(sy));
        EXPECT_FLOAT_EQ(sx, 1.5f);
        EXPECT_FLOAT_EQ(sy, 1.0f);
    }
}

TEST(Drags, VertexDragMovesOneVertexInOneCommand)
{
    EditFixture f;
    CODLineComponent* line = f.AddLine(CPoint(100, 100), CPoint(200, 100));
    f.Drag(CPoint(200, 100), CPoint(220, 140));
    CArray<CPoint, CPoint> v;
    line->GetVertexArray(&v);
    EXPECT_EQ(v[1], CPoint(220, 140));
    EXPECT_EQ(f.LastCommand()->GetType(), 6);
    f.Command(ID_EDIT_UNDO);
    line->GetVertexArray(&v);
    EXPECT_EQ(v[1], CPoint(200, 100));
}

TEST(Drags, CtrlOnASegmentInsertsAVertexAlsoOnAZeroLengthSegment)
{
    EditFixture f;
    CODLineComponent* line = f.AddLine(CPoint(100, 100), CPoint(300, 100));
    f.Down(200, 102, MK_CONTROL);
    f.Up(200, 102, MK_CONTROL);
    CArray<CPoint, CPoint> v;
    line->GetVertexArray(&v);
    ASSERT_EQ(v.GetSize(), 3);
    EXPECT_EQ(v[1], CPoint(200, 100));
    EXPECT_EQ(f.LastCommand()->GetType(), 4);
    // Ctrl on a vertex that may go deletes it.
    f.Down(200, 100, MK_CONTROL);
    f.Up(200, 100, MK_CONTROL);
    line->GetVertexArray(&v);
    EXPECT_EQ(v.GetSize(), 2);
    EXPECT_EQ(f.LastCommand()->GetType(), 5);

    EditFixture g;
    CPoint same[3] = {CPoint(100, 100), CPoint(100, 100), CPoint(200, 200)};
    CODLineComponent* bent = new CODLineComponent;
    bent->Create(same, 3);
    g.controller->InsertComponent(bent);
    g.Down(100, 100, MK_CONTROL);
    g.Up(100, 100, MK_CONTROL);
    bent->GetVertexArray(&v);
    for (int i = 0; i < v.GetSize(); ++i)
        EXPECT_TRUE(v[i] == CPoint(100, 100) || v[i] == CPoint(200, 200));
}

TEST(Keys, ShiftPressedDuringADragUpdatesAtOnceRepeatsDoNothing)
{
    EditFixture f;
    CODRectComponent* r = f.AddRect(100, 100, 150, 150);
    f.Down(120, 120);
    f.Move(150, 130);
    f.SetKeys(MK_SHIFT);
    f.Send(WM_KEYDOWN, VK_SHIFT, 0, 0);  // repeat count 0: nothing
    f.Send(WM_KEYDOWN, VK_SHIFT, 1, 0);  // lParam's low word is the repeat count
    f.SetKeys(0);
    f.Up(150, 130, MK_SHIFT);
    EXPECT_EQ(BoundsOf(r), CRect(130, 100, 180, 150));
}

TEST(Keys, PageDownScrollsByTheVisibleHeight)
{
    EditFixture f;
    CSize visible = f.view.GetLogicalSize();
    CPoint before = f.view.GetLogicalOrigin();
    f.Send(WM_KEYDOWN, VK_NEXT, 1, 0);
    CPoint after = f.view.GetLogicalOrigin();
    EXPECT_EQ(after.x, before.x);
    EXPECT_EQ(after.y, std::min(before.y + visible.cy, 700 - visible.cy));
    f.Send(WM_KEYDOWN, VK_PRIOR, 1, 0);
    EXPECT_EQ(f.view.GetLogicalOrigin(), before);
}

TEST(ContextMenu, CanvasOrComponentPopup)
{
    EditFixture f;
    CMenu* menu = f.controller->BuildContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetMenuItemID(0), (UINT)ID_EDIT_CUT);
    EXPECT_EQ(menu->GetMenuItemCount(), 13);
    f.AddRect(10, 10, 20, 20);
    menu = f.controller->BuildContextMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->GetMenuItemID(menu->GetMenuItemCount() - 1), (UINT)ID_OD_PROPERTIES);
}

// ---------------------------------------------------------------------------------------------
// Text, image and link tools

TEST(TextTool, PlacedInsideThePageSnappedAndRightClickCancels)
{
    {
        EditFixture f;
        f.view.SetLogicalOrigin(500, 0);
        f.Command(ID_OD_TEXT);
        f.Down(595, 100);  // a press does nothing
        EXPECT_EQ(f.State(), 31);
        f.Up(595, 100);  // logical x 1095: beyond the page's right edge at 1000
        ASSERT_EQ(f.Count(), 1);
        CODComponent* text = f.model.GetChild(0);
        EXPECT_STREQ(text->GetRuntimeClass()->m_lpszClassName, "CODTextComponent");
        EXPECT_LE(text->GetHitRegion()->GetBounds().right, 1000);
        EXPECT_EQ(f.State(), 0);
        EXPECT_EQ((*f.Selection())[0], text);
    }
    {
        EditFixture f;
        f.view.SetSnapToGrid(TRUE);
        f.Command(ID_OD_TEXT);
        f.Up(203, 117);
        ASSERT_EQ(f.Count(), 1);
        CPoint topLeft = f.model.GetChild(0)->GetExtent().TopLeft();
        EXPECT_EQ(f.view.SnapToGrid(topLeft.x, topLeft.y), topLeft);
    }
    {
        EditFixture f;
        f.Command(ID_OD_TEXT);
        f.RUp(200, 100);
        EXPECT_EQ(f.State(), 0);
        EXPECT_EQ(f.Count(), 0);
    }
}

TEST(TextTool, EndingAnEditRecordsATextCommandEvenUnchanged)
{
    EditFixture f;
    f.Command(ID_OD_TEXT);
    f.Up(200, 200);
    CODTextComponent* text = DYNAMIC_DOWNCAST(CODTextComponent, f.model.GetChild(0));
    ASSERT_NE(text, nullptr);
    CPoint centre = text->GetBounds().CenterPoint();
    f.DblClk(centre.x, centre.y);
    ASSERT_TRUE(text->IsEditing());
    f.Down(10, 400);  // a press on empty space ends the edit
    f.Up(10, 400);
    EXPECT_FALSE(text->IsEditing());
    EXPECT_EQ(f.LastCommand()->GetType(), 10);
}

TEST(TextTool, DoubleClickingASymbolWithoutLabelsGivesItOneToEdit)
{
    EditFixture f;
    CODSymbolComponent* s = f.AddSymbol(CRect(100, 100, 200, 160), CPoint(200, 130));
    CPoint inside(150, 130);
    f.controller->LPtoDP(&inside);
    f.DblClk(inside.x, inside.y);
    ASSERT_EQ(s->GetLabelCount(), 1);
    CODLabelComponent* label = s->GetLabel(0);
    EXPECT_EQ(label->GetOwner(), s);
    EXPECT_GE(f.model.GetChildIndex(label), 0);
    EXPECT_TRUE(label->IsEditing());
    EXPECT_NEAR(label->GetBounds().CenterPoint().x, 150, 1);  // centred on the symbol
    MvcCommandBase* insert = f.LastCommand();
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->GetType(), 14);
    f.Down(10, 400);
    f.Up(10, 400);
    EXPECT_FALSE(label->IsEditing());
    EXPECT_EQ(f.LastCommand()->GetType(), 10);

    // A second double click edits the label the symbol has.
    f.DblClk(inside.x, inside.y);
    EXPECT_EQ(s->GetLabelCount(), 1);
    EXPECT_TRUE(label->IsEditing());
    f.Down(10, 400);
    f.Up(10, 400);

    // The insertion is a step of its own: undone, the symbol is bare; redone, labelled again.
    label->AddRef();
    CODComponentSet one;
    one.Add(label);
    f.model.Undo();
    f.model.Undo();
    EXPECT_EQ(f.LastCommand(), insert);
    f.model.Undo();
    EXPECT_EQ(s->GetLabelCount(), 0);
    EXPECT_EQ(f.model.GetChildIndex(label), -1);
    f.model.Redo();
    ASSERT_EQ(s->GetLabelCount(), 1);
    EXPECT_EQ(s->GetLabel(0), label);
    EXPECT_EQ(label->GetOwner(), s);
    EXPECT_GE(f.model.GetChildIndex(label), 0);
    // So does a label deleted on its own and brought back.
    f.controller->DeleteComponents(&one);
    EXPECT_EQ(s->GetLabelCount(), 0);
    f.model.Undo();
    ASSERT_EQ(s->GetLabelCount(), 1);
    EXPECT_EQ(label->GetOwner(), s);
    label->Release();

    // On a read-only drawing nothing is added.
    EditFixture g;
    CODSymbolComponent* bare = g.AddSymbol(CRect(100, 100, 200, 160), CPoint(200, 130));
    g.model.SetReadOnly(TRUE);
    g.DblClk(inside.x, inside.y);
    EXPECT_EQ(bare->GetLabelCount(), 0);
    EXPECT_EQ(g.LastCommand(), nullptr);
}

TEST(PlaceTool, RightReleaseDiscardsThePendingComponent)
{
    EditFixture f;
    CODRectComponent* ready = new CODRectComponent;
    ready->Create(0, 0, 20, 20);
    f.controller->BeginPortPlacement(ready);
    EXPECT_EQ(f.State(), 34);
    f.Up(300, 200);
    ASSERT_EQ(f.Count(), 1);
    EXPECT_EQ(f.model.GetChild(0)->GetBounds().CenterPoint(), CPoint(300, 200));
    CODRectComponent* other = new CODRectComponent;
    other->Create(0, 0, 20, 20);
    f.controller->BeginPortPlacement(other);
    f.RUp(300, 200);
    EXPECT_EQ(f.State(), 0);
    EXPECT_EQ(f.controller->GetPendingComponent(), nullptr);
    EXPECT_EQ(f.Count(), 1);
}

TEST(PortTool, PlacesAFreeStandingCirclePortAndRightReleaseCancels)
{
    EditFixture f;
    f.Command(ID_OD_PORT);
    EXPECT_EQ(f.State(), 33);
    f.Up(300, 200);
    EXPECT_EQ(f.State(), 0);
    ASSERT_EQ(f.Count(), 1);
    CODCirclePort* port = DYNAMIC_DOWNCAST(CODCirclePort, f.model.GetChild(0));
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->GetRadius(), 3);
    EXPECT_EQ(port->GetOwner(), nullptr);
    CPoint want(300, 200);
    f.controller->DPtoLP(&want);
    if (f.view.IsSnapToGrid())
        want = f.view.SnapToGrid(want.x, want.y);
    EXPECT_EQ(port->GetLocation(), want);
    EXPECT_EQ(f.LastCommand()->GetType(), 14);  // one Insert command
    f.Command(ID_OD_PORT);
    f.RUp(100, 100);
    EXPECT_EQ(f.State(), 0);
    EXPECT_EQ(f.Count(), 1);
}

namespace {

CPoint Device(EditFixture& f, CPoint logical)
{
    f.controller->LPtoDP(&logical);
    return logical;
}

}  // namespace

TEST(LinkTool, JoinsTwoPortsThroughABendAsOneUndoableCommand)
{
    EditFixture f;
    CODSymbolComponent* a = f.AddSymbol(CRect(40, 40, 100, 100), CPoint(100, 70));
    CODSymbolComponent* b = f.AddSymbol(CRect(300, 140, 360, 200), CPoint(300, 170));
    f.Command(ID_OD_LINK);
    EXPECT_EQ(f.State(), 37);
    CPoint empty = Device(f, CPoint(200, 300));
    f.Down(empty.x, empty.y);  // no port: nothing
    EXPECT_EQ(f.State(), 37);
    CPoint from = Device(f, CPoint(101, 70));
    f.Down(from.x, from.y);
    f.Up(from.x, from.y);
    ASSERT_EQ(f.State(), 39);
    CPoint bend = Device(f, CPoint(200, 70));
    f.Down(bend.x, bend.y);
    f.Up(bend.x, bend.y);
    CPoint to = Device(f, CPoint(299, 170));
    f.Down(to.x, to.y);
    f.Up(to.x, to.y);
    EXPECT_EQ(f.State(), 0);
    ASSERT_EQ(f.Count(), 3);
    CODLinkComponent* link = DYNAMIC_DOWNCAST(CODLinkComponent, f.model.GetChild(2));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetSourceComponent(), a);
    EXPECT_EQ(link->GetTargetComponent(), b);
    ASSERT_EQ(link->GetVertexCount(), 3);
    EXPECT_EQ(link->GetVertex(0), CPoint(100, 70));
    EXPECT_EQ(link->GetVertex(2), CPoint(300, 170));
    ASSERT_NE(f.LastCommand(), nullptr);
    EXPECT_EQ(f.LastCommand()->GetType(), 12);

    CString text;
    f.LastCommand()->GetDescription(text);
    EXPECT_STREQ(text, "Link Command: 1 components");
    // The copy names the same link: run again after an undo it puts that one back.
    std::unique_ptr<CODLinkCommand> copy(((CODLinkCommand*)f.LastCommand())->Clone());
    ASSERT_EQ(copy->GetComponents()->GetSize(), 1);
    EXPECT_EQ((*copy->GetComponents())[0], link);
    link->AddRef();
    f.model.Undo();
    EXPECT_EQ(f.Count(), 2);
    EXPECT_EQ(a->GetConnectionCount(), 0);
    EXPECT_TRUE(copy->Execute());
    ASSERT_EQ(f.Count(), 3);
    EXPECT_EQ(a->GetConnectionCount(), 1);
    copy->Unexecute();
    EXPECT_EQ(f.Count(), 2);
    f.model.Redo();
    ASSERT_EQ(f.Count(), 3);
    EXPECT_EQ(f.model.GetChild(2), link);
    EXPECT_EQ(a->GetConnectionCount(), 1);
    EXPECT_EQ(b->GetConnectionCount(), 1);
    // Moving a joined symbol carries the link's end along.
    CODComponentSet moved;
    moved.Add(b);
    f.model.MoveComponents(&moved, 0, 20);
    EXPECT_EQ(link->GetVertex(2), CPoint(300, 190));
    EXPECT_EQ(link->GetVertex(0), CPoint(100, 70));
    link->Release();
}

TEST(LinkTool, ShiftAlignsTheBendsAndTheLastBendToTheTargetPort)
{
    struct Row {
        const char* name;
        UINT bendFlags, finishFlags;
        CPoint bend;  // where the middle vertex ends up
    } rows[] = {
        {"free", 0, 0, CPoint(200, 75)},
        {"bend on an axis of the first point", MK_SHIFT, 0, CPoint(200, 70)},
        {"last bend lined up with the port", 0, MK_SHIFT, CPoint(200, 170)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditFixture f;
        f.AddSymbol(CRect(40, 40, 100, 100), CPoint(100, 70));
        f.AddSymbol(CRect(300, 140, 360, 200), CPoint(300, 170));
        f.Command(ID_OD_LINK);
        CPoint from = Device(f, CPoint(100, 70));
        f.Down(from.x, from.y);
        f.Up(from.x, from.y);
        CPoint bend = Device(f, CPoint(200, 75));
        f.Down(bend.x, bend.y, row.bendFlags);
        f.Up(bend.x, bend.y, row.bendFlags);
        CPoint to = Device(f, CPoint(299, 171));
        f.Down(to.x, to.y, row.finishFlags);
        f.Up(to.x, to.y, row.finishFlags);
        ASSERT_EQ(f.Count(), 3);
        CODLinkComponent* link = DYNAMIC_DOWNCAST(CODLinkComponent, f.model.GetChild(2));
        ASSERT_NE(link, nullptr);
        ASSERT_EQ(link->GetVertexCount(), 3);
        EXPECT_EQ(link->GetVertex(1), row.bend);
        EXPECT_EQ(link->GetVertex(2), CPoint(300, 170));  // the port's own location
        EXPECT_NE(link->GetTargetComponent(), nullptr);
    }
}

TEST(LinkTool, ADoubleClickAwayFromPortsLeavesTheTargetEndFree)
{
    EditFixture f;
    CODSymbolComponent* a = f.AddSymbol(CRect(40, 40, 100, 100), CPoint(100, 70));
    f.Command(ID_OD_LINK);
    CPoint from = Device(f, CPoint(100, 70));
    f.Down(from.x, from.y);
    f.Up(from.x, from.y);
    CPoint end = Device(f, CPoint(250, 250));
    f.Down(end.x, end.y);
    f.Up(end.x, end.y);
    f.DblClk(end.x, end.y);
    f.Up(end.x, end.y);
    EXPECT_EQ(f.State(), 0);
    ASSERT_EQ(f.Count(), 2);
    CODLinkComponent* link = DYNAMIC_DOWNCAST(CODLinkComponent, f.model.GetChild(1));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetSourceComponent(), a);
    EXPECT_EQ(link->GetTargetComponent(), nullptr);
    EXPECT_EQ(link->GetConnectionCount(), 1);
    EXPECT_EQ(link->GetVertex(link->GetVertexCount() - 1), CPoint(250, 250));
    EXPECT_EQ(f.LastCommand()->GetType(), 12);
}

TEST(LinkTool, RightReleaseCancelsAndLeavesNothing)
{
    EditFixture f;
    f.AddSymbol(CRect(40, 40, 100, 100), CPoint(100, 70));
    f.Command(ID_OD_LINK);
    CPoint from = Device(f, CPoint(100, 70));
    f.Down(from.x, from.y);
    f.Up(from.x, from.y);
    ASSERT_EQ(f.State(), 39);
    f.RUp(from.x + 50, from.y);
    EXPECT_EQ(f.State(), 0);
    EXPECT_EQ(f.Count(), 1);
    EXPECT_EQ(f.controller->GetPendingComponent(), nullptr);
}

namespace {

// Symbols a and b joined by a straight link from a's port (100, 70) to b's (300, 170), the
// link selected.
CODLinkComponent* JoinWithLink(EditFixture& f, CODSymbolComponent*& a, CODSymbolComponent*& b)
{
    a = f.AddSymbol(CRect(40, 40, 100, 100), CPoint(100, 70));
    b = f.AddSymbol(CRect(300, 140, 360, 200), CPoint(300, 170));
    CODLinkComponent* link = new CODLinkComponent;
    link->Create(a->GetPort(0), b->GetPort(0));
    f.model.AppendChild(link);
    f.controller->GetSelection()->Add(link);
    return link;
}

}  // namespace

TEST(LinkEndDrag, RejoinsTheEndToThePortUnderTheReleaseAsOneUndoableCommand)
{
    EditFixture f;
    CODSymbolComponent *a, *b;
    CODLinkComponent* link = JoinWithLink(f, a, b);
    CODSymbolComponent* c = f.AddSymbol(CRect(300, 300, 360, 360), CPoint(300, 330));
    ASSERT_EQ(b->GetConnectionCount(), 1);
    MvcCommandBase* before = f.LastCommand();
    // A press on the end and a release without a drag leave the join alone.
    CPoint end = Device(f, CPoint(300, 170));
    f.Down(end.x, end.y);
    EXPECT_EQ(f.State(), 46);
    f.Up(end.x, end.y);
    EXPECT_EQ(f.State(), 0);
    EXPECT_EQ(link->GetTargetComponent(), b);
    EXPECT_EQ(f.LastCommand(), before);
    // Dropped near c's port, the end lands on it and joins c; b lets go.
    f.Drag(end, Device(f, CPoint(303, 327)));
    EXPECT_EQ(f.State(), 0);
    ASSERT_NE(f.LastCommand(), before);
    EXPECT_EQ(f.LastCommand()->GetType(), 21);
    EXPECT_EQ(link->GetTargetComponent(), c);
    EXPECT_EQ(link->GetVertex(link->GetVertexCount() - 1), CPoint(300, 330));
    EXPECT_EQ(b->GetConnectionCount(), 0);
    EXPECT_EQ(c->GetConnectionCount(), 1);
    EXPECT_EQ(link->GetConnectionCount(), 2);
    f.model.Undo();
    EXPECT_EQ(link->GetTargetComponent(), b);
    EXPECT_EQ(link->GetVertex(link->GetVertexCount() - 1), CPoint(300, 170));
    EXPECT_EQ(c->GetConnectionCount(), 0);
    f.model.Redo();
    EXPECT_EQ(link->GetTargetComponent(), c);
    // The source end dropped on empty space only moves, and lets a go.
    f.Drag(Device(f, CPoint(100, 70)), Device(f, CPoint(100, 250)));
    EXPECT_EQ(link->GetVertex(0), CPoint(100, 250));
    EXPECT_EQ(a->GetConnectionCount(), 0);
    EXPECT_EQ(link->GetConnectionCount(), 1);
    f.model.Undo();
    EXPECT_EQ(link->GetVertex(0), CPoint(100, 70));
    EXPECT_EQ(link->GetSourceComponent(), a);
}

TEST(LinkEndDrag, ShiftKeepsTheLargerAxisAndAPortBeatsTheGrid)
{
    struct Row {
        const char* name;
        UINT flags;
        BOOL snap;
        CPoint drop, end;
        BOOL joinsC;
    } rows[] = {
        {"free", 0, FALSE, CPoint(340, 181), CPoint(340, 181), FALSE},
        {"shift keeps x", MK_SHIFT, FALSE, CPoint(340, 181), CPoint(340, 170), FALSE},
        {"shift on a tie keeps y", MK_SHIFT, FALSE, CPoint(330, 200), CPoint(300, 200), FALSE},
        {"snapped", 0, TRUE, CPoint(343, 183), CPoint(-1, -1), FALSE},
        {"near a port: on its location", 0, TRUE, CPoint(305, 332), CPoint(304, 333), TRUE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditFixture f;
        CODSymbolComponent *a, *b;
        CODLinkComponent* link = JoinWithLink(f, a, b);
        CODSymbolComponent* c = f.AddSymbol(CRect(304, 300, 364, 360), CPoint(304, 333));
        f.view.SetSnapToGrid(row.snap);
        CPoint want = row.end.x < 0 ? f.view.SnapToGrid(row.drop.x, row.drop.y) : row.end;
        f.SetKeys(row.flags);
        f.Drag(Device(f, CPoint(300, 170)), Device(f, row.drop), row.flags);
        f.SetKeys(0);
        EXPECT_EQ(f.State(), 0);
        EXPECT_EQ(link->GetVertex(link->GetVertexCount() - 1), want);
        EXPECT_EQ(link->GetTargetComponent(), row.joinsC ? c : nullptr);
        EXPECT_EQ(b->GetConnectionCount(), 0);
        EXPECT_EQ(f.LastCommand()->GetType(), 21);
    }
}

TEST(Drags, TheFeedbackOfMovedSymbolsCarriesTheLinkJoiningThem)
{
    EditFixture f;
    CODSymbolComponent *a, *b;
    CODLinkComponent* link = JoinWithLink(f, a, b);
    f.controller->ClearSelection();
    f.controller->GetSelection()->Add(b);
    f.controller->GetSelection()->Add(a);
    CPoint press = Device(f, CPoint(70, 70));
    CPoint to = Device(f, CPoint(70, 110));
    f.Down(press.x, press.y);
    f.Move(to.x, to.y);
    ASSERT_EQ(f.State(), 7);
    CODComponentSetTracker* tracker = f.controller->GetSetTracker();
    CODLinkComponent* shown = nullptr;
    for (int i = 0; i < tracker->GetExtraCount(); ++i)
        if (CODLinkComponent* clone = DYNAMIC_DOWNCAST(CODLinkComponent, tracker->GetExtraTracker(i)->GetComponent())) {
            EXPECT_TRUE(tracker->IsDrawn(tracker->GetExtraTracker(i)));
            shown = clone;
        }
    ASSERT_NE(shown, nullptr);
    EXPECT_NE(shown, link);  // a clone: the link itself stays put until the release
    EXPECT_EQ(shown->GetVertex(0), CPoint(100, 110));
    EXPECT_EQ(shown->GetVertex(shown->GetVertexCount() - 1), CPoint(300, 210));
    EXPECT_EQ(link->GetVertex(0), CPoint(100, 70));
    f.Up(to.x, to.y);
    EXPECT_EQ(link->GetVertex(0), CPoint(100, 110));
    EXPECT_EQ(tracker->GetExtraCount(), 0);
}

TEST(PortCommands, MoveJoinsTheTargetAndUndoRejoinsTheOldPorts)
{
    EditFixture f;
    CODSymbolComponent* a = f.AddSymbol(CRect(0, 0, 50, 50), CPoint(50, 25));
    CODSymbolComponent* b = f.AddSymbol(CRect(50, 0, 100, 50), CPoint(50, 25));
    CODSymbolComponent* c = f.AddSymbol(CRect(0, 100, 50, 150), CPoint(50, 125));
    CODPortComponent* pa = a->GetPort(0);
    ASSERT_NE(a->Connect(pa, b->GetPort(0)), nullptr);
    CODMovePortCommand move(&f.model, 0, 100, c->GetPort(0));
    move.AddComponent(pa);
    CString text;
    move.GetDescription(text);
    EXPECT_STREQ(text, "Move Port Command: x = 0  y = 100");
    EXPECT_TRUE(move.Execute());
    EXPECT_EQ(pa->GetLocation(), CPoint(50, 125));
    EXPECT_EQ(a->GetConnectionCount(), 1);  // b let go (it does not follow), c joined
    EXPECT_EQ(b->GetConnectionCount(), 0);
    EXPECT_EQ(c->GetConnectionCount(), 1);
    EXPECT_TRUE(move.Unexecute());
    EXPECT_EQ(pa->GetLocation(), CPoint(50, 25));
    EXPECT_EQ(b->GetConnectionCount(), 1);
    // The copy moves the same port by the same offset to the same target.
    std::unique_ptr<CODMovePortCommand> copy(move.Clone());
    copy->GetDescription(text);
    EXPECT_STREQ(text, "Move Port Command: x = 0  y = 100");
    EXPECT_TRUE(copy->Execute());
    EXPECT_EQ(pa->GetLocation(), CPoint(50, 125));
    EXPECT_EQ(c->GetConnectionCount(), 1);
    EXPECT_TRUE(copy->Unexecute());
    EXPECT_EQ(pa->GetLocation(), CPoint(50, 25));
    // Without a target the port only moves; its join to a is let go once the ports part (a
    // does not follow) and made again by the undo.
    CODMovePortCommand plain(&f.model, 10, 0);
    plain.AddComponent(b->GetPort(0));
    EXPECT_TRUE(plain.Execute());
    EXPECT_EQ(b->GetPort(0)->GetLocation(), CPoint(60, 25));
    EXPECT_EQ(b->GetConnectionCount(), 0);
    EXPECT_EQ(c->GetConnectionCount(), 0);
    EXPECT_TRUE(plain.Unexecute());
    EXPECT_EQ(b->GetPort(0)->GetLocation(), CPoint(50, 25));
    EXPECT_EQ(b->GetConnectionCount(), 1);  // rejoined to a
    // Nothing or more than one component, or a port without an owner: nothing moves.
    CODMovePortCommand none(&f.model, 5, 5);
    EXPECT_FALSE(none.Execute());
    CODCirclePort* loose = new CODCirclePort;
    loose->AddRef();
    loose->Create(CPoint(5, 5), 3);
    {
        CODMovePortCommand ownerless(&f.model, 5, 5);
        ownerless.AddComponent(loose);
        EXPECT_FALSE(ownerless.Execute());
    }
    EXPECT_EQ(loose->GetLocation(), CPoint(5, 5));
    loose->Release();
}
