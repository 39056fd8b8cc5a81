// Lines, closed shapes and text boxes: vertex edits and their codes, regions and hit tests,
// arrow heads, points along a line, the pixels they draw on a DIB section, the text layout
// and the records they store.
#include "gtest_wine.h"
#include "ODClosedShapes.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODLineProperties.h"
#include "ODMeasure.h"
#include "ODMetafileComponent.h"
#include "ODTextComponent.h"
#include "ODViewport.h"
#include "od_stream_util.h"
#include "od_test_canvas.h"

namespace {

std::vector<CPoint> Vertices(CODPointComponent& c)
{
    std::vector<CPoint> v(c.GetVertexCount());
    c.CopyVertices(v.data());
    return v;
}

void SetLine(CODComponent& c, COLORREF colour, int width, int style = PS_SOLID)
{
    CODLineProperties line(10);
    line.SetColor(colour);
    line.SetWidth(width, NULL);
    line.SetStyle(style);
    c.SetOrAddProperty(line);
}

void SetFill(CODComponent& c, COLORREF colour)
{
    CODFillProperties fill(20);
    fill.SetColor(colour);
    c.SetOrAddProperty(fill);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Points and lines

TEST(PointLine, VertexEditsAndRemovalLimits)
{
    CPoint pts[3] = {CPoint(0, 0), CPoint(100, 0), CPoint(100, 100)};
    CODLineComponent line;
    ASSERT_TRUE(line.Create(pts, 2));
    EXPECT_EQ(line.GetType(), "Line");
    EXPECT_TRUE(line.CanAddVertex());
    EXPECT_FALSE(line.CanRemoveVertex());
    line.InsertVertex(2, 100, 100);  // count: appends
    EXPECT_EQ(line.GetVertexCount(), 3);
    EXPECT_TRUE(line.CanRemoveVertex());
    line.InsertVertex(4, 5, 5);  // count + 1: nothing
    line.InsertVertex(-1, 5, 5);
    EXPECT_EQ(line.GetVertexCount(), 3);
    EXPECT_EQ(line.RemoveVertex(3), CPoint(0, 0));
    EXPECT_EQ(line.GetVertexCount(), 3);
    EXPECT_EQ(line.OffsetVertex(3, 1, 1), 3);
    EXPECT_EQ(line.GetVertex(-1), CPoint(0, 0));
    EXPECT_EQ(line.SetVertex(7, 1, 1), CPoint(0, 0));
    EXPECT_EQ(line.RemoveVertex(1), CPoint(100, 0));
    EXPECT_EQ(Vertices(line), (std::vector<CPoint>{CPoint(0, 0), CPoint(100, 100)}));
    EXPECT_EQ(line.GetBounds(), CRect(0, 0, 100, 100));

    line.SetVertices(NULL, 5);
    EXPECT_EQ(line.GetVertexCount(), 5);
    EXPECT_EQ(line.CopyVertices(NULL), 5);
}

TEST(PointLine, TransformedVerticesAndHandles)
{
    CPoint pts[2] = {CPoint(0, 0), CPoint(100, 0)};
    CODLineComponent line;
    line.Create(pts, 2);
    line.Translate(10, 20);
    CArray<CPoint, CPoint> handles;
    line.GetHandles(handles, TRUE);
    ASSERT_EQ(handles.GetSize(), 2);
    EXPECT_EQ(handles[0], CPoint(10, 20));
    EXPECT_EQ(handles[1], CPoint(110, 20));
    line.GetHandles(handles, FALSE);
    EXPECT_EQ(handles.GetSize(), 8);
    // A vertex moved in parent terms stays in local terms under the transform.
    EXPECT_EQ(line.MoveVertex(1, 5, 5), 0);
    EXPECT_EQ(Vertices(line)[1], CPoint(105, 5));
    EXPECT_EQ(line.GetVertex(1), CPoint(115, 25));
    EXPECT_EQ(line.SetVertex(0, 0, 0), CPoint(10, 20));
    EXPECT_EQ(Vertices(line)[0], CPoint(-10, -20));
    // Moving the origin moves the vertices, not the transform.
    line.UpdateRegion(FALSE);
    CRect before = line.GetBounds();
    line.MoveOrigin(3, 4);
    EXPECT_EQ(line.GetBounds(), before + CPoint(3, 4));
}

TEST(PointLine, ArrowHeads)
{
    struct {
        CPoint from, tip;
        CPoint head[3];
    } cases[] = {
        {{0, 0}, {100, 0}, {{100, 0}, {90, -4}, {90, 4}}},
        {{100, 0}, {0, 0}, {{0, 0}, {10, 4}, {10, -4}}},
        {{0, 0}, {0, 100}, {{0, 100}, {4, 90}, {-4, 90}}},
    };
    for (auto& c : cases) {
        CODArrowEndpoint arrow;
        arrow.SetPoints(c.from, c.tip);
        CPoint head[3];
        arrow.GetArrowPoints(head);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(head[i], c.head[i]) << c.tip.x << "," << c.tip.y << " point " << i;
    }
    CODArrowEndpoint arrow;
    arrow.SetLength(-1);
    arrow.SetWidth(-3);
    EXPECT_EQ(arrow.GetLength(), 10);
    EXPECT_EQ(arrow.GetWidth(), 8);
}

TEST(PointLine, HitsByToleranceAndInsideTheHead)
{
    CPoint pts[2] = {CPoint(0, 50), CPoint(100, 50)};
    CODLineComponent line;
    line.Create(pts, 2);
    line.SetEndEndpoint(new CODArrowEndpoint);
    line.UpdateRegion(FALSE);
    struct {
        CPoint p;
        int tolerance;
        int hits;
    } cases[] = {{{50, 50}, 1, 1}, {{50, 52}, 3, 1}, {{50, 55}, 3, 0}, {{93, 52}, 0, 1}, {{120, 50}, 2, 0}};
    for (auto& c : cases)
        EXPECT_EQ(line.HitTest(&c.p, NULL, c.tolerance), c.hits) << c.p.x << "," << c.p.y;
}

TEST(PointLine, PointAtPercent)
{
    CPoint pts[3] = {CPoint(0, 0), CPoint(100, 0), CPoint(100, 100)};
    CODLineComponent line;
    line.Create(pts, 3);
    EXPECT_EQ(line.GetLength(), 200);
    struct {
        int percent;
        CPoint at;
        int from, to;
    } cases[] = {{0, {0, 0}, 0, 1}, {25, {50, 0}, 0, 1}, {50, {100, 0}, 0, 1}, {75, {100, 50}, 1, 2},
                 {100, {100, 100}, 1, 2}, {101, {0, 0}, -7, -7}, {-1, {0, 0}, -7, -7}};
    for (auto& c : cases) {
        int from = -7, to = -7;
        EXPECT_EQ(line.GetPointAtPercent(c.percent, &from, &to), c.at) << c.percent;
        EXPECT_EQ(from, c.from) << c.percent;
        EXPECT_EQ(to, c.to) << c.percent;
    }
    // Fewer than two vertices: the first one or the origin, nothing read past the array.
    line.SetVertices(pts + 1, 1);
    EXPECT_EQ(line.GetPointAtPercent(50), CPoint(100, 0));
    line.SetVertices(NULL, 0);
    EXPECT_EQ(line.GetPointAtPercent(50), CPoint(0, 0));
}

TEST(PointLine, LoadedLineWithOneVertexHasNoEndpoints)
{
    // A stored line of one vertex with an arrow at each end: builds and draws without them.
    Bytes b;
    b.NewClass("CODLineComponent", 1).D(1);
    b.NewClass("CODArrowEndpoint", 0).D(0).D(0).D(0).D(0).D(10).D(8);
    b.W(0x8000 | 3);  // second object of the arrow class
    b.D(0).D(0).D(0).D(0).D(10).D(8);
    b.D(1).D(1).D(5).D(5);
    b.D(1).D(0).Str("").Str("").Rect(0, 0, 0, 0).W(0).D(1).D(0).D(0).W(0);
    CODLineComponent* line = NULL;
    Load(b.v, [&](CArchive& ar) { line = (CODLineComponent*)ar.ReadObject(RUNTIME_CLASS(CODLineComponent)); });
    ASSERT_NE(line, nullptr);
    line->AddRef();
    line->UpdateRegion(FALSE);
    Canvas canvas(20, 20);
    line->Draw(&canvas.dc);
    EXPECT_LE(line->GetRegion()->GetSegmentCount(), 1);  // no heads
    line->Release();
}

// ---------------------------------------------------------------------------------------------
// Closed shapes and curves

TEST(ClosedShapes, RectangleCornerRule)
{
    struct {
        int index, dx, dy, code;
        CRect box;  // vertices 0 and 2 after the drag
    } cases[] = {
        {2, 10, 5, 0, {0, 0, 110, 55}}, {0, 100, 0, 1, {0, 0, 100, 50}}, {0, 0, 50, 2, {0, 0, 100, 50}},
        {1, -100, 50, 3, {0, 0, 100, 50}}, {4, 1, 1, 3, {0, 0, 100, 50}}, {0, 150, 0, 0, {150, 0, 100, 50}},
    };
    for (auto& c : cases) {
        CODRectComponent rect;
        ASSERT_TRUE(rect.Create(0, 0, 100, 50));
        EXPECT_EQ(rect.MoveVertex(c.index, c.dx, c.dy), c.code) << c.index;
        std::vector<CPoint> v = Vertices(rect);
        EXPECT_EQ(v[0], c.box.TopLeft()) << c.index;
        EXPECT_EQ(v[1], CPoint(c.box.right, c.box.top)) << c.index;
        EXPECT_EQ(v[2], c.box.BottomRight()) << c.index;
        EXPECT_EQ(v[3], CPoint(c.box.left, c.box.bottom)) << c.index;
    }
    // A damaged record with two vertices: no corner is read past them.
    CODRectComponent rect;
    rect.SetVertices(NULL, 2);
    EXPECT_EQ(rect.OffsetVertex(1, 1, 1), 3);
}

TEST(ClosedShapes, EllipsePointsHandlesAndEdgeDrag)
{
    CODEllipseComponent e;
    ASSERT_TRUE(e.Create(CRect(0, 0, 100, 100)));
    std::vector<CPoint> v = Vertices(e);
    ASSERT_EQ(v.size(), 13u);
    EXPECT_EQ(v[0], CPoint(85, 85));
    EXPECT_EQ(v[1], CPoint(105, 66));
    EXPECT_EQ(v[2], CPoint(105, 34));
    EXPECT_EQ(v[3], CPoint(85, 15));
    EXPECT_EQ(v[4], CPoint(66, -5));
    EXPECT_EQ(v[12], v[0]);
    CArray<CPoint, CPoint> h;
    e.GetHandles(h, TRUE);
    ASSERT_EQ(h.GetSize(), 4);
    EXPECT_EQ(h[0], CPoint(50, 0));
    EXPECT_EQ(h[1], CPoint(100, 50));
    EXPECT_EQ(h[2], CPoint(50, 100));
    EXPECT_EQ(h[3], CPoint(0, 50));
    EXPECT_EQ(e.MoveVertex(1, -100, 0), 3);
    EXPECT_EQ(Vertices(e), v);
    EXPECT_EQ(e.MoveVertex(1, 100, 0), 0);
    e.GetHandles(h, TRUE);
    EXPECT_EQ(h[1], CPoint(200, 50));
    EXPECT_EQ(e.MoveVertex(13, 1, 1), 3);
    // Inside hits, far outside does not.
    CPoint in(100, 50), out(-30, 50);
    EXPECT_EQ(e.HitTest(&in, NULL, 0), 1);
    EXPECT_EQ(e.HitTest(&out, NULL, 0), 0);
}

TEST(ClosedShapes, CurveCountsAndVertexRules)
{
    CPoint pts[7] = {CPoint(0, 0), CPoint(10, 20), CPoint(30, 20), CPoint(40, 0),
                     CPoint(50, -20), CPoint(70, -20), CPoint(80, 0)};
    struct {
        int given, kept;
        BOOL created;
    } cases[] = {{6, 4, TRUE}, {7, 7, TRUE}, {1, 1, TRUE}, {0, 0, FALSE}};
    for (auto& c : cases) {
        CODCurveComponent curve;
        EXPECT_EQ(curve.Create(pts, c.given), c.created) << c.given;
        EXPECT_EQ(curve.GetVertexCount(), c.kept) << c.given;
        EXPECT_FALSE(curve.CanAddVertex());
        EXPECT_FALSE(curve.CanRemoveVertex());
    }
    CODCurveComponent curve;
    curve.Create(pts, 7);
    EXPECT_EQ(curve.GetSegmentCount(), 2);
    CODClosedCurveComponent closed;
    EXPECT_FALSE(closed.Create(pts, 0));
    ASSERT_TRUE(closed.Create(pts, 4));
    EXPECT_EQ(closed.GetType(), "Closed Curve");
    CODPolygonComponent polygon;
    polygon.Create(pts, 3);
    EXPECT_FALSE(polygon.CanRemoveVertex());
    polygon.AppendVertex(5, 5);
    EXPECT_TRUE(polygon.CanRemoveVertex());
}

TEST(ShapePixels, FillOutlineArrowDashAndClosedCurve)
{
    Canvas canvas(200, 200);
    CODRectComponent rect;
    rect.Create(10, 10, 60, 60);
    SetLine(rect, RGB(255, 0, 0), 1);
    SetFill(rect, RGB(0, 0, 255));
    rect.Draw(&canvas.dc);
    EXPECT_EQ(canvas.At(10, 30), RGB(255, 0, 0));  // outline
    EXPECT_EQ(canvas.At(35, 35), RGB(0, 0, 255));  // interior
    EXPECT_EQ(canvas.At(70, 35), RGB(255, 255, 255));

    // The arrow head is filled with the line's colour.
    CPoint pts[2] = {CPoint(80, 100), CPoint(180, 100)};
    CODLineComponent arrow;
    arrow.Create(pts, 2);
    SetLine(arrow, RGB(0, 128, 0), 1);
    arrow.SetEndEndpoint(new CODArrowEndpoint);
    arrow.Draw(&canvas.dc);
    EXPECT_EQ(canvas.At(172, 101), RGB(0, 128, 0));
    EXPECT_EQ(canvas.At(172, 98), RGB(0, 128, 0));
    // Drawn as feedback the line has no head.
    Canvas feedback(200, 200);
    arrow.DrawFeedback(&feedback.dc);
    EXPECT_EQ(feedback.At(172, 98), RGB(255, 255, 255));

    // A dashed line leaves gaps along its length.
    CPoint dash[2] = {CPoint(10, 150), CPoint(190, 150)};
    CODLineComponent dashed;
    dashed.Create(dash, 2);
    SetLine(dashed, RGB(0, 0, 0), 1, PS_DASH);
    dashed.Draw(&canvas.dc);
    int inked = 0;
    for (int x = 10; x < 190; ++x)
        inked += canvas.At(x, 150) == RGB(0, 0, 0);
    EXPECT_GT(inked, 40);
    EXPECT_LT(inked, 170);

    // A closed curve whose last point is not its first is closed by a straight line: the
    // pixel on that chord is inked.
    Canvas curveCanvas(120, 120);
    CPoint c[4] = {CPoint(10, 100), CPoint(10, 10), CPoint(110, 10), CPoint(110, 100)};
    CODClosedCurveComponent closed;
    closed.Create(c, 4);
    SetLine(closed, RGB(255, 0, 0), 1);
    SetFill(closed, RGB(0, 0, 255));
    closed.Draw(&curveCanvas.dc);
    EXPECT_EQ(curveCanvas.At(60, 100), RGB(255, 0, 0));
    EXPECT_EQ(curveCanvas.At(60, 80), RGB(0, 0, 255));
}

// A file holding a metafile of a red square filling its 20 x 10 mm frame.
CString WriteMetafile()
{
    CDC screen;
    screen.CreateCompatibleDC(NULL);
    CRect frame(0, 0, 2000, 1000);
    HDC dc = CreateEnhMetaFileA(screen.GetSafeHdc(), NULL, &frame, "Test\0Square\0\0");
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all = {0, 0, 100, 50};
    FillRect(dc, &all, red);
    DeleteObject(red);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    CString path = SaveTestMetafile(emf);
    DeleteEnhMetaFile(emf);
    return path;
}

TEST(Metafile, DrawnInItsBoxDescribedAndSized)
{
    CString path = WriteMetafile();
    CODMetafileComponent m;
    ASSERT_TRUE(m.Create(CRect(20, 20, 60, 40)));
    EXPECT_EQ(m.GetType(), "Metafile");
    EXPECT_FALSE(m.GetFrameSize(*std::make_unique<CODMeasure>(), *std::make_unique<CODMeasure>()));
    ASSERT_TRUE(m.LoadFile(path));
    CString d;
    EXPECT_EQ(m.GetDescription(d), 13);  // both strings with their terminators
    EXPECT_EQ(CString((LPCTSTR)d), "Test");
    CODMeasure w, h;
    ASSERT_TRUE(m.GetFrameSize(w, h));
    EXPECT_EQ(w.GetUnits(), 4);
    EXPECT_FLOAT_EQ(w.GetValue(), 20.0f);
    EXPECT_FLOAT_EQ(h.GetValue(), 10.0f);
    Canvas canvas(100, 100);
    m.Draw(&canvas.dc);
    EXPECT_EQ(canvas.At(40, 30), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(70, 30), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(40, 50), RGB(255, 255, 255));
    // Stored and read back, and copied.
    std::vector<BYTE> stored = Store([&](CArchive& ar) { m.Serialize(ar); });
    CODMetafileComponent back;
    Load(stored, [&](CArchive& ar) { back.Serialize(ar); });
    ASSERT_NE(back.GetMetafile(), nullptr);
    EXPECT_EQ(FirstDifference(Store([&](CArchive& ar) { back.Serialize(ar); }), stored), -1);
    std::unique_ptr<CODComponent> copy(m.Clone());
    EXPECT_NE(((CODMetafileComponent*)copy.get())->GetMetafile(), nullptr);
    EXPECT_TRUE(m.DeleteMetafile());
    EXPECT_FALSE(m.DeleteMetafile());
    EXPECT_FALSE(m.LoadFile("no such file.emf"));
    DeleteFileA(path);
}

TEST(Metafile, OnlyASoundRecordChainIsRead)
{
    CString path = WriteMetafile();
    HENHMETAFILE emf = GetEnhMetaFileA(path);
    UINT n = GetEnhMetaFileBits(emf, 0, NULL);
    std::vector<BYTE> good(n);
    GetEnhMetaFileBits(emf, n, good.data());
    DeleteEnhMetaFile(emf);
    DeleteFileA(path);
    ASSERT_TRUE(CODMetafileComponent::IsSoundMetafile(good.data(), good.size()));
    auto with = [&](size_t at, DWORD value) {
        std::vector<BYTE> b(good);
        memcpy(b.data() + at, &value, 4);
        return b;
    };
    const ENHMETAHEADER* h = (const ENHMETAHEADER*)good.data();
    std::vector<std::vector<BYTE>> bad = {
        std::vector<BYTE>(good.begin(), good.end() - 20),        // cut: the header counts more
        with(offsetof(ENHMETAHEADER, nBytes), n + 4),            // header counts more than there is
        with(4, 0xFFFFFFF0u),                                    // first record runs past the end
        with(h->nSize + 4, 6),                                   // a record shorter than its head
        with(n - 20, EMR_LINETO),                                // the last record is not EOF
    };
    for (size_t i = 0; i < bad.size(); ++i)
        EXPECT_FALSE(CODMetafileComponent::IsSoundMetafile(bad[i].data(), bad[i].size())) << i;
    // A stored record with a damaged chain raises the archive exception.
    CODMetafileComponent m;
    m.Create(CRect(0, 0, 10, 10));
    std::vector<BYTE> record = Store([&](CArchive& ar) { m.Serialize(ar); });
    record.resize(record.size() - 4);  // count 0
    Bytes b;
    b.Raw(record.data(), record.size()).D((DWORD)bad[4].size()).Raw(bad[4].data(), bad[4].size());
    CODMetafileComponent back;
    EXPECT_THROW(Load(b.v, [&](CArchive& ar) { back.Serialize(ar); }), CArchiveException*);
}

// ---------------------------------------------------------------------------------------------
// Text

namespace {

// A multi-line text box on a memory DC with its own font selected for measuring.
struct TextFixture {
    Canvas canvas{400, 300};
    CODTextComponent text;
    CFont* font = NULL;
    CFont* old = NULL;
    TextFixture()
    {
        text.Create(CRect(0, 0, 300, 200), &canvas.dc);
        text.SetOrAddProperty(CODBoolProperty(240, TRUE));
        CODFontProperties* f = DYNAMIC_DOWNCAST(CODFontProperties, text.FindProperty(30));
        font = f->CreateFont(NULL);
        old = canvas.dc.SelectObject(font);
    }
    ~TextFixture()
    {
        canvas.dc.SelectObject(old);
        delete font;
    }
    int Width(const char* s) { return canvas.dc.GetTextExtent(s, (int)strlen(s)).cx; }
    // Sets the box width so that exactly `fits` fits on a line.
    void WidthFor(const char* fits)
    {
        CRect m = text.GetTextMargins(&canvas.dc);
        CSize b = text.GetBorderSize(&canvas.dc);
        int w = Width(fits) + m.left + m.right + 2 * b.cx;
        text.SetTextBounds(CRect(0, 0, w, 200));
    }
    std::vector<std::pair<int, int>> Layout(const char* s)
    {
        text.SetText(s);
        ODLineTable lines;
        text.LayoutLines(&canvas.dc, lines);
        std::vector<std::pair<int, int>> out;
        for (auto& l : lines)
            out.push_back({l.start, l.length});
        return out;
    }
};

typedef std::vector<std::pair<int, int>> Lines;

}  // namespace

TEST(Text, LayoutTable)
{
    TextFixture f;
    EXPECT_EQ(f.Layout("A\nB"), (Lines{{0, 1}, {2, 1}}));
    EXPECT_EQ(f.Layout("A\r\nB\r\n"), (Lines{{0, 1}, {3, 1}, {6, 0}}));
    EXPECT_EQ(f.Layout("A\rB"), (Lines{{0, 1}, {2, 1}}));
    EXPECT_EQ(f.Layout(""), Lines{});
    // Without word wrap a long line stays whole.
    f.WidthFor("aa bb");
    EXPECT_EQ(f.Layout("aa bb cc"), (Lines{{0, 8}}));
    // With word wrap the last word moves on, its preceding space staying behind.
    f.text.SetOrAddProperty(CODBoolProperty(230, TRUE));
    EXPECT_EQ(f.Layout("aa bb cc"), (Lines{{0, 6}, {6, 2}}));
    // A word wider than the line keeps a line of its own; nothing is lost.
    f.WidthFor("a");
    EXPECT_EQ(f.Layout("Swing through"), (Lines{{0, 6}, {6, 7}}));
    // Single line: breaks are not honoured.
    f.text.SetOrAddProperty(CODBoolProperty(240, FALSE));
    EXPECT_EQ(f.Layout("A\r\nB"), (Lines{{0, 4}}));
}

// The line table of the last layout drawn, read and written a line at a time.
TEST(Text, LineTableAccessors)
{
    TextFixture f;
    f.text.SetText("one\r\ntwo words");
    f.text.Draw(&f.canvas.dc);
    EXPECT_EQ(f.text.GetLineStart(1), 5);
    EXPECT_EQ(f.text.GetLineLength(1), 9);
    EXPECT_STREQ(f.text.GetLine(0), "one");
    EXPECT_STREQ(f.text.GetLine(1), "two words");
    // A line the table does not have reads as 0; writing one half grows the table and keeps
    // the other half of an entry that exists.
    EXPECT_EQ(f.text.GetLineLength(4), 0);
    f.text.SetLineLength(4, 2);
    EXPECT_EQ(f.text.GetLineStart(3), 0);
    EXPECT_EQ(f.text.GetLineLength(3), 0);
    EXPECT_STREQ(f.text.GetLine(4), "on");
    f.text.SetLineStart(4, 0x10005);  // 16 bits, as the table holds them
    EXPECT_EQ(f.text.GetLineStart(4), 5);
    EXPECT_EQ(f.text.GetLineLength(4), 2);
    EXPECT_STREQ(f.text.GetLine(4), "tw");
    // Past the text's end: cut to what is there.
    f.text.SetLineLength(4, 100);
    EXPECT_STREQ(f.text.GetLine(4), "two words");
    f.text.SetLineStart(4, 100);
    EXPECT_STREQ(f.text.GetLine(4), "");
    EXPECT_STREQ(f.text.GetLine(-1), "");
}

TEST(Text, LongTextOffsetsDoNotWrap)
{
    TextFixture f;
    std::string s(70000, 'x');
    s += "\nend";
    Lines lines = f.Layout(s.c_str());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], std::make_pair(70001, 3));
}

TEST(Text, RotationAndUnrotatedBounds)
{
    struct {
        CPoint a, b;
        int rotation;
    } cases[] = {{{0, 0}, {100, 100}, 450}, {{100, 0}, {0, 0}, 1800}, {{0, 0}, {0, -5}, -900}, {{0, 0}, {100, 0}, 0}};
    for (auto& c : cases) {
        CODTextComponent t;
        CPoint v[4] = {c.a, c.b, c.b, c.a};
        t.SetVertices(v, 4);
        EXPECT_EQ(t.GetRotation(), c.rotation);
    }
    CODTextComponent t;
    t.Create(CRect(0, 0, 100, 40), NULL);
    t.Rotate(900, 50.0f, 20.0f);
    EXPECT_EQ(t.GetRotation(), 900);
    EXPECT_EQ(t.GetTextBounds(), CRect(0, 0, 100, 40));
}

TEST(Text, GrowsAboutItsCentreAndNeverShrinks)
{
    TextFixture f;
    f.text.SetOrAddProperty(CODBoolProperty(240, FALSE));
    f.text.SetText("Hi");
    f.text.GrowToText(8, &f.canvas.dc);
    EXPECT_EQ(f.text.GetTextBounds(), CRect(0, 0, 300, 200));
    f.text.SizeToText(8, &f.canvas.dc);
    CRect fitted = f.text.GetTextBounds();
    EXPECT_LT(fitted.Width(), 300);
    EXPECT_EQ(fitted.CenterPoint().x, 150);
    f.text.SetText("Hi there, keep the head still");
    f.text.GrowToText(8, &f.canvas.dc);
    CRect grown = f.text.GetTextBounds();
    EXPECT_GT(grown.Width(), fitted.Width());
    EXPECT_EQ(grown.Height(), fitted.Height());
    EXPECT_NEAR(grown.CenterPoint().x, 150, 1);
    // A box that is not four vertices is left alone.
    CODTextComponent odd;
    odd.SetVertices(NULL, 0);
    odd.SizeToText(8, NULL);
    EXPECT_EQ(odd.GetVertexCount(), 0);
}

TEST(Text, DrawnRotatedAndClippedToTheBox)
{
    Canvas canvas(300, 300);
    CODTextComponent t;
    t.SetText("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    t.Create(CRect(100, 130, 200, 170), &canvas.dc);
    SetLine(t, RGB(255, 255, 255), 0);
    CODFillProperties clear(20);
    clear.SetTransparent(TRUE);
    t.SetOrAddProperty(clear);
    t.Rotate(900, 150.0f, 150.0f);
    t.Draw(&canvas.dc);
    // Upright, the text runs across; turned by 90 degrees its ink stands in a column inside the
    // turned box (130..170 across, 100..200 along), and none escapes it.
    int inside = 0, outside = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 300; ++x)
            if (canvas.At(x, y) != RGB(255, 255, 255)) {
                if (x >= 129 && x <= 171 && y >= 99 && y <= 201)
                    ++inside;
                else
                    ++outside;
            }
    EXPECT_GT(inside, 50);
    EXPECT_EQ(outside, 0);
}

namespace {

// The viewport's window: records the notification codes it receives.
struct NotifyWnd : CWnd {
    std::vector<UINT> codes;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_NOTIFY)
            codes.push_back(((NMHDR*)lParam)->code);
        return CWnd::WindowProc(msg, wParam, lParam);
    }
};

BOOL Key(CODInPlaceEdit* editor, UINT key)
{
    MSG msg = {};
    msg.hwnd = editor->GetSafeHwnd();
    msg.message = WM_KEYDOWN;
    msg.wParam = key;
    return editor->PreTranslateMessage(&msg);
}

}  // namespace

TEST(TextEditor, ReturnArrowsAndEnd)
{
    NotifyWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    CODViewport view;
    view.Create(&wnd, NULL);
    view.InitialUpdate();
    CODTextComponent text;
    text.SetText("abc");
    text.Create(CRect(10, 10, 110, 40), NULL);
    text.Rotate(300, 60.0f, 25.0f);
    ASSERT_TRUE(text.BeginEdit(&view));
    EXPECT_FALSE(text.BeginEdit(&view));
    CODInPlaceEdit* editor = text.GetEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->GetDlgCtrlID(), 1125);
    EXPECT_EQ(text.GetEditText(), "abc");
    EXPECT_EQ(text.GetRotation(), 0);  // upright while edited
    CArray<CPoint, CPoint> handles;
    handles.Add(CPoint(1, 1));
    text.GetHandles(handles, TRUE);
    EXPECT_EQ(handles.GetSize(), 1);  // no handles while editing

    // Arrow keys move the caret and are consumed.
    editor->SetSel(0, 0);
    EXPECT_TRUE(Key(editor, VK_RIGHT));
    int start, end;
    editor->GetSel(start, end);
    EXPECT_EQ(start, 1);
    // Return ends a single-line edit through the parent.
    EXPECT_TRUE(Key(editor, VK_RETURN));
    EXPECT_EQ(wnd.codes, std::vector<UINT>{100});
    // In a multi-line text it goes on to the control.
    text.SetOrAddProperty(CODBoolProperty(240, TRUE));
    EXPECT_FALSE(Key(editor, VK_RETURN));
    EXPECT_EQ(wnd.codes.size(), 1u);

    text.SetEditText("swing");
    text.CommitEdit();
    EXPECT_EQ(text.GetText(), "swing");
    text.EndEdit();
    EXPECT_FALSE(text.IsEditing());
    EXPECT_EQ(text.GetRotation(), 300);
    wnd.DestroyWindow();
}

// ---------------------------------------------------------------------------------------------
// Stored form

TEST(ShapeRecords, LineWithArrowByteExact)
{
    CPoint pts[2] = {CPoint(0, 0), CPoint(100, 0)};
    CODLineComponent* line = new CODLineComponent;
    line->AddRef();
    line->SetVertices(pts, 2);
    line->RemoveProperty(40);
    line->SetEndEndpoint(new CODArrowEndpoint);
    line->UpdateRegion(FALSE);
    CRect b = line->GetBounds();
    std::vector<BYTE> stored = Store([&](CArchive& ar) { ar.WriteObject(line); });
    Bytes want;
    want.NewClass("CODLineComponent", 1).D(1).W(0);
    want.NewClass("CODArrowEndpoint", 0).D(0).D(0).D(100).D(0).D(10).D(8);
    want.D(1).D(2).D(0).D(0).D(100).D(0);
    want.D(1).D(0).Str("").Str("").Rect(b.left, b.top, b.right, b.bottom).W(0).D(1).D(0).D(0).W(0);
    EXPECT_EQ(FirstDifference(stored, want.v), -1);
    line->Release();
}

TEST(ShapeRecords, BareRecordsByteExact)
{
    // Each class's own part: its version (and fields) before its base's record.
    CPoint box[4] = {CPoint(0, 0), CPoint(10, 0), CPoint(10, 5), CPoint(0, 5)};
    auto tail = [](Bytes& b, CODComponent* c) {
        CRect r = c->GetBounds();
        b.D(1).D(4);
        for (LONG v : {0, 0, 10, 0, 10, 5, 0, 5})
            b.D(v);
        b.D(1).D(0).Str("").Str("").Rect(r.left, r.top, r.right, r.bottom).W(0).D(1).D(0).D(0).W(0);
    };
    struct Case {
        CODPointComponent* c;
        const char* name;
        std::vector<DWORD> own;  // DWORDs of the own parts, outermost first
    };
    CODTextComponent* text = new CODTextComponent;
    text->SetText("ab");
    Case cases[] = {
        {new CODRectComponent, "CODRectComponent", {1}},
        {new CODEllipseComponent, "CODEllipseComponent", {1}},
        {new CODPolygonComponent, "CODPolygonComponent", {1}},
        {new CODCurveComponent, "CODCurveComponent", {1}},
        {new CODClosedCurveComponent, "CODClosedCurveComponent", {1, 1}},
        {text, "CODTextComponent", {1}},
    };
    for (Case& c : cases) {
        c.c->AddRef();
        while (c.c->GetProperties()->GetCount() > 0)
            c.c->GetProperties()->RemoveHead();
        c.c->SetVertices(box, 4);
        c.c->UpdateRegion(FALSE);
        Bytes want;
        want.NewClass(c.name, 1);
        for (DWORD d : c.own)
            want.D(d);
        if (c.c == text)
            want.Str("ab");
        tail(want, c.c);
        std::vector<BYTE> stored = Store([&](CArchive& ar) { ar.WriteObject(c.c); });
        EXPECT_EQ(FirstDifference(stored, want.v), -1) << c.name;
        c.c->Release();
    }
    // The metafile component writes its base first, then its version and a count of 0.
    CODMetafileComponent* m = new CODMetafileComponent;
    m->AddRef();
    m->GetProperties()->RemoveAll();
    m->SetVertices(box, 4);
    m->UpdateRegion(FALSE);
    Bytes want;
    want.NewClass("CODMetafileComponent", 1);
    tail(want, m);
    want.D(1).D(0);
    EXPECT_EQ(FirstDifference(Store([&](CArchive& ar) { ar.WriteObject(m); }), want.v), -1);
    m->Release();
}

TEST(ShapeRecords, EveryShapeRoundTrips)
{
    CODModel model;
    PlainPageSettings(model);
    CPoint pts[4] = {CPoint(0, 0), CPoint(40, 10), CPoint(80, 0), CPoint(120, 30)};
    CODLineComponent* line = new CODLineComponent;
    line->Create(pts, 3);
    line->SetStartEndpoint(new CODArrowEndpoint);
    model.AppendChild(line);
    CODRectComponent* rect = new CODRectComponent;
    rect->Create(1, 2, 30, 40);
    model.AppendChild(rect);
    CODEllipseComponent* e = new CODEllipseComponent;
    e->Create(CRect(0, 0, 50, 20));
    model.AppendChild(e);
    CODClosedCurveComponent* cc = new CODClosedCurveComponent;
    cc->Create(pts, 4);
    model.AppendChild(cc);
    CODTextComponent* t = new CODTextComponent;
    t->SetText("Head still");
    t->Create(CRect(0, 50, 90, 80), NULL);
    model.AppendChild(t);
    std::vector<BYTE> stored = StoreModel(model);

    CODModel again;
    Load(stored, [&](CArchive& ar) { again.Serialize(ar); });
    ASSERT_EQ(again.GetChildCount(), 5);
    CODLineComponent* l = DYNAMIC_DOWNCAST(CODLineComponent, again.GetChild(0));
    ASSERT_NE(l, nullptr);
    EXPECT_NE(DYNAMIC_DOWNCAST(CODArrowEndpoint, l->GetStartEndpoint()), nullptr);
    EXPECT_EQ(l->GetEndEndpoint(), nullptr);
    EXPECT_EQ(Vertices(*l), Vertices(*line));
    EXPECT_NE(DYNAMIC_DOWNCAST(CODEllipseComponent, again.GetChild(2)), nullptr);
    CODTextComponent* t2 = DYNAMIC_DOWNCAST(CODTextComponent, again.GetChild(4));
    ASSERT_NE(t2, nullptr);
    EXPECT_EQ(t2->GetText(), "Head still");
    // What was read stores the same bytes again.
    std::vector<BYTE> restored = StoreModel(again);
    CODModel third;
    Load(restored, [&](CArchive& ar) { third.Serialize(ar); });
    EXPECT_EQ(FirstDifference(StoreModel(third), restored), -1);
    EXPECT_EQ(restored.size(), stored.size());
}

TEST(ShapeRecords, EndpointNamedByTwoLinesIsHeldTwice)
{
    // A damaged stream naming one arrow from two lines: each line holds its own.
    Bytes line1, rest;
    auto tail = [](Bytes& b) {
        b.D(1).D(2).D(0).D(0).D(9).D(0);
        b.D(1).D(0).Str("").Str("").Rect(0, 0, 0, 0).W(0).D(1).D(0).D(0).W(0);
    };
    Bytes b;
    b.NewClass("CODLineComponent", 1).D(1).W(0);
    b.NewClass("CODArrowEndpoint", 0).D(0).D(0).D(9).D(0).D(10).D(8);  // class 3, object 4
    tail(b);
    b.W(0x8001).D(1).W(0).W(4);  // second line, end: a reference to object 4
    tail(b);
    CODLineComponent *a = NULL, *c = NULL;
    Load(b.v, [&](CArchive& ar) {
        a = (CODLineComponent*)ar.ReadObject(RUNTIME_CLASS(CODLineComponent));
        c = (CODLineComponent*)ar.ReadObject(RUNTIME_CLASS(CODLineComponent));
    });
    ASSERT_NE(a, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_NE(a->GetEndEndpoint(), c->GetEndEndpoint());
    a->AddRef();
    c->AddRef();
    a->Release();
    c->Release();
}

TEST(ShapeModel, VertexEditsAndTextOfTextComponents)
{
    CODModel model;
    CPoint pts[2] = {CPoint(0, 0), CPoint(100, 0)};
    CODLineComponent* line = new CODLineComponent;
    line->Create(pts, 2);
    model.AppendChild(line);
    CODTextComponent* t = new CODTextComponent;
    t->Create(CRect(0, 50, 10, 60), NULL);
    model.AppendChild(t);
    CODComponent* plain = new CODComponent;
    model.AppendChild(plain);
    CODComponentSet set;
    set.Add(line);
    set.Add(plain);
    model.InsertVertex(&set, 1, 50, 20);
    EXPECT_EQ(line->GetVertexCount(), 3);
    EXPECT_EQ(line->GetBounds().bottom, 20);
    model.MoveVertex(&set, 1, 0, 10);
    EXPECT_EQ(line->GetVertex(1), CPoint(50, 30));
    model.DeleteVertex(&set, 1);
    EXPECT_EQ(line->GetVertexCount(), 2);
    EXPECT_TRUE(model.IsModified());
    CODComponentSet texts;
    texts.Add(t);
    texts.Add(line);
    model.SetTextOfTextComponents(&texts, "A much longer text than before");
    EXPECT_EQ(t->GetText(), "A much longer text than before");
    EXPECT_GT(t->GetBounds().Width(), 10);
}
