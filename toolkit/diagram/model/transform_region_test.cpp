// Transforms, the drawing stack and hit regions.
#include "gtest_wine.h"
#include "ODRgn.h"
#include "ODTransform.h"

namespace {

TEST(Transform, IdentityAndEditing)
{
    CODTransform t;
    EXPECT_TRUE(t.IsIdentity());
    XFORM x;
    t.GetXForm(&x);
    EXPECT_EQ(x.eM11, 1.0f);
    EXPECT_EQ(x.eM12, 0.0f);
    EXPECT_EQ(x.eM22, 1.0f);
    EXPECT_EQ(t.Transform(7, -3), CPoint(7, -3));

    CODTransform s;
    s.Scale(1.0f, 1.0f);
    EXPECT_TRUE(s == t);
    s.Scale(2, 3);
    EXPECT_EQ(s.Transform(1, 1), CPoint(2, 3));

    CODTransform r;
    r.Translate(5, 7);
    r.Rotate(900);  // applies after the translation
    EXPECT_EQ(r.Transform(0, 0), CPoint(-7, 5));
    EXPECT_EQ(r.GetRotation(), 900);

    CODTransform about;
    about.ScaleAbout(2, 2, 10, 10);
    EXPECT_EQ(about.Transform(10, 10), CPoint(10, 10));
    EXPECT_EQ(about.Transform(11, 10), CPoint(12, 10));
}

TEST(Transform, CompositionOrder)
{
    CODTransform a, b;
    a.Translate(10, 0);
    b.Scale(2, 2);
    EXPECT_EQ((a * b).Transform(1, 0), CPoint(12, 0));
    EXPECT_EQ((b * a).Transform(1, 0), CPoint(22, 0));
}

TEST(Transform, RoundingAndInverse)
{
    CODTransform t;
    t.Scale(0.5f, 0.5f);
    EXPECT_EQ(t.Transform(5, -5), CPoint(3, -3));  // 2.5 and -2.5
    CODTransform m;
    m.Translate(3, 4);
    m.Rotate(300);
    m.Scale(2, 3);
    CPoint p = m.Transform(20, -11);
    EXPECT_EQ(m.InverseTransform(p.x, p.y), CPoint(20, -11));
    // A singular transform leaves points where they are.
    CODTransform flat;
    flat.Scale(0.0f, 1.0f);
    EXPECT_EQ(flat.InverseTransform(9, 4), CPoint(9, 4));
}

TEST(Transform, RotationAboutAPointWithAspects)
{
    struct Case {
        int ax, ay;
    } cases[] = {{1, 1}, {3, 3}, {0, 0}, {-2, -1}};  // equal, or 0 and below taken as 1
    for (const Case& c : cases) {
        CODTransform t;
        t.RotateAbout(900, 10.0f, 10.0f, c.ax, c.ay);
        EXPECT_EQ(t.Transform(20, 10), CPoint(10, 20)) << c.ax << "," << c.ay;
    }
    CODTransform wide;
    wide.RotateAbout(900, 0.0f, 0.0f, 2, 1);
    EXPECT_EQ(wide.Transform(10, 0), CPoint(0, 5));
}

TEST(TransformStack, PushPopAndThreads)
{
    CODTransformStack* stack = GetTransformStack();
    EXPECT_TRUE(stack->Pop().IsIdentity());
    EXPECT_EQ(stack->GetDepth(), 0);
    stack->Push(NULL);
    EXPECT_TRUE(stack->GetTop().IsIdentity());
    CODTransform outer, inner;
    outer.Translate(100, 0);
    inner.Scale(2, 2);
    stack->Push(&outer);
    stack->Push(&inner);  // inner applies first
    EXPECT_EQ(stack->GetTop().Transform(1, 0), CPoint(102, 0));
    // Another thread has a stack of its own.
    struct Probe {
        static DWORD WINAPI Run(void* depth)
        {
            *(int*)depth = GetTransformStack()->GetDepth();
            return 0;
        }
    };
    int otherDepth = -1;
    HANDLE thread = ::CreateThread(NULL, 0, Probe::Run, &otherDepth, 0, NULL);
    ASSERT_NE(thread, (HANDLE)NULL);
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    EXPECT_EQ(otherDepth, 0);
    EXPECT_EQ(stack->GetDepth(), 3);
    stack->Pop();
    stack->Pop();
    stack->Pop();
    EXPECT_EQ(stack->GetDepth(), 0);
}

TEST(Region, EmptyLinesAndPolygons)
{
    CODRgn r;
    EXPECT_EQ(r.GetBounds(), CRect(0, 0, 0, 0));
    EXPECT_FALSE(r.HitTest(0, 0, 5));

    CPoint line[] = {CPoint(0, 0), CPoint(100, 0)};
    r.SetPolyline(line, 2);
    EXPECT_FALSE(r.HitTest(50, 0, 0));
    EXPECT_TRUE(r.HitTest(50, 2, 3));
    EXPECT_FALSE(r.HitTest(50, 5, 3));
    // A band wider than the ray's usual reach is still hit in all its width.
    CPoint upright[] = {CPoint(0, 0), CPoint(0, 100)};
    CODRgn column;
    column.SetPolyline(upright, 2);
    EXPECT_TRUE(column.HitTest(60, 50, 80));
    EXPECT_FALSE(column.HitTest(90, 50, 80));

    CPoint square[] = {CPoint(0, 0), CPoint(10, 0), CPoint(10, 10), CPoint(0, 10)};
    r.SetPolygon(square, 4);
    EXPECT_TRUE(r.HitTest(5, 5, 0));
    EXPECT_FALSE(r.HitTest(15, 5, 0));

    r.SetPolygon(line, 2);
    EXPECT_EQ(r.GetSegmentCount(), 2);
    CPoint one[] = {CPoint(7, 8)};
    r.SetPolygon(one, 1);
    EXPECT_EQ(r.GetSegmentCount(), 1);
    EXPECT_EQ(r.GetBounds(), CRect(7, 8, 7, 8));

    // A chain whose points are all (0, 0) does not widen the bounds.
    CPoint away[] = {CPoint(20, 20), CPoint(30, 20), CPoint(30, 30)};
    CPoint zeros[] = {CPoint(0, 0), CPoint(0, 0)};
    CODRgn other;
    other.SetPolygon(away, 3);
    CODRgn nothing;
    nothing.AddSegment(CODRgnSegment(zeros, 2));
    other.Append(nothing);
    EXPECT_EQ(other.GetBounds(), CRect(20, 20, 30, 30));
}

TEST(Region, OverlappingSegmentsAndBoundaryPoints)
{
    CODRgn r;
    CPoint big[] = {CPoint(0, 0), CPoint(100, 0), CPoint(100, 100), CPoint(0, 100)};
    CPoint inner[] = {CPoint(40, 40), CPoint(60, 40), CPoint(60, 60), CPoint(40, 60)};
    r.AddSegment(CODRgnSegment(inner, 4));
    r.AddSegment(CODRgnSegment(big, 4));
    r.RecalcBounds();
    EXPECT_EQ(r.HitTestSegment(50, 50, 0), 0);
    EXPECT_EQ(r.HitTestSegment(10, 10, 0), 1);

    CODRgn box;
    box.SetPolygon(inner, 4);
    EXPECT_EQ(box.GetBoundaryPoint(CPoint(0, 50), CPoint(0, 50), 0), CPoint(0, 50));
    EXPECT_EQ(box.GetBoundaryPoint(CPoint(0, 50), CPoint(50, 50), 0), CPoint(40, 50));
    // A line that misses: its start moved by the extra distance, never past its end.
    EXPECT_EQ(box.GetBoundaryPoint(CPoint(0, 0), CPoint(0, 30), 10), CPoint(0, 10));
    EXPECT_EQ(box.GetBoundaryPoint(CPoint(0, 0), CPoint(0, 30), 100), CPoint(0, 30));
}

TEST(Region, BezierBoundsIncludeControlPoints)
{
    CPoint curve[] = {CPoint(0, 0), CPoint(10, 100), CPoint(90, 100), CPoint(100, 0), CPoint(500, 500)};
    CODRgn r;
    r.SetBezier(curve, 5);
    EXPECT_GT(r.GetSegmentCount(), 2);  // flattened, the fifth point ignored
    EXPECT_EQ(r.GetBounds(), CRect(-1, -1, 501, 501));
    CODRgn closed;
    closed.SetClosedBezier(curve, 4);
    EXPECT_EQ(closed.GetSegmentCount(), 1);
    CRect b = closed.GetBounds();
    EXPECT_EQ(b.left, 0);
    EXPECT_EQ(b.right, 100);
    EXPECT_LT(b.bottom, 100);  // the curve stays inside its control points
    EXPECT_TRUE(closed.HitTest(50, 40, 0));
}

}  // namespace
