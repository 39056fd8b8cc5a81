// The geometry functions: angles, distances, crossings, rectangle tests, handles and the
// conversions between points and logical units.
#include "gtest_wine.h"
#include "ODGeometry.h"

namespace {

TEST(Geometry, RoundingHalvesAwayFromZero)
{
    struct Case {
        double in;
        int out;
    } cases[] = {{2.5, 3}, {-2.5, -3}, {0.49, 0}, {-0.5, -1}, {1e12, 2147483647}, {-1e12, -2147483647 - 1}};
    for (const Case& c : cases)
        EXPECT_EQ(RoundToInt(c.in), c.out) << c.in;
}

TEST(Geometry, AnglesAndDistances)
{
    struct Angle {
        int x2, y2, tenths;
    } angles[] = {{10, 0, 0},     {-10, 0, 1800}, {0, 10, 900},   {0, -10, -900},
                  {0, 0, 900},    {-10, 10, 1350}, {10, -10, -450}};
    for (const Angle& a : angles)
        EXPECT_EQ(LineAngle(0, 0, a.x2, a.y2), a.tenths) << a.x2 << "," << a.y2;

    EXPECT_EQ(PointDistance(0, 0, 3, 4), 5);
    EXPECT_EQ(PointDistance(0, 0, 1, 1), 1);
    // Far beyond the 32-bit squares' limit of about 46,000.
    EXPECT_EQ(PointDistance(0, 0, 60000, 80000), 100000);
    EXPECT_EQ(PointDistance(-1000000, 0, 1000000, 0), 2000000);
}

TEST(Geometry, ProjectionOntoALine)
{
    EXPECT_EQ(ProjectPointOnLine(0, 0, 10, 0, 4, 7), CPoint(4, 0));
    EXPECT_EQ(ProjectPointOnLine(0, 0, 10, 0, 15, -3), CPoint(15, 0));  // not clamped
    EXPECT_EQ(ProjectPointOnLine(0, 0, 100000, 100000, 100000, 0), CPoint(50000, 50000));
    EXPECT_EQ(ProjectPointOnLine(5, 6, 5, 6, 40, 40), CPoint(5, 6));  // no line: that point
}

TEST(Geometry, SidesAndCrossings)
{
    EXPECT_EQ(PointSide(0, 0, 10, 0, 5, 0), -1);
    EXPECT_EQ(PointSide(0, 0, 10, 0, 5, 5), 1);
    EXPECT_FALSE(SegmentsIntersect(0, 0, 10, 0, 5, 0, 15, 0));
    EXPECT_TRUE(SegmentsIntersect(0, 0, 10, 10, 0, 10, 10, 0));
    CPoint p(-1, -1);
    EXPECT_TRUE(SegmentIntersection(0, 0, 10, 10, 0, 10, 10, 0, &p));
    EXPECT_EQ(p, CPoint(5, 5));
    p = CPoint(-1, -1);
    EXPECT_FALSE(SegmentIntersection(0, 0, 10, 0, 0, 5, 10, 5, &p));
    EXPECT_EQ(p, CPoint(-1, -1));
}

TEST(Geometry, RectangleTests)
{
    EXPECT_TRUE(PointInRect(10, 10, CRect(10, 10, 0, 0)));
    EXPECT_FALSE(PointInRect(11, 10, CRect(10, 10, 0, 0)));
    EXPECT_TRUE(RectInRect(CRect(2, 2, 8, 8), CRect(0, 0, 10, 10)));
    EXPECT_FALSE(RectInRect(CRect(2, 2, 12, 8), CRect(0, 0, 10, 10)));
    struct Case {
        CRect a, b;
        BOOL overlap;
    } cases[] = {
        {CRect(0, 40, 100, 60), CRect(40, 0, 60, 100), TRUE},   // a cross
        {CRect(0, 0, 10, 10), CRect(20, 0, 30, 10), FALSE},     // side by side with a gap
        {CRect(0, 0, 100, 100), CRect(10, 10, 20, 20), TRUE},   // one inside the other
        {CRect(0, 0, 10, 10), CRect(5, 5, 15, 15), TRUE},       // corners overlap
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RectsOverlap(c.a, c.b), c.overlap);
        EXPECT_EQ(RectsOverlap(c.b, c.a), c.overlap);
    }
    CPoint pts[] = {CPoint(3, 9), CPoint(-2, 4), CPoint(7, -1)};
    EXPECT_EQ(BoundingRectOfPoints(pts, 3), CRect(-2, -1, 7, 9));
    EXPECT_EQ(BoundingRectOfPoints(pts, 0), CRect(0, 0, 0, 0));
}

TEST(Geometry, HandlesAndTheirMirrors)
{
    CRect r(0, 0, 5, 5);
    CPoint expected[] = {CPoint(0, 0), CPoint(2, 0), CPoint(5, 0), CPoint(5, 2), CPoint(5, 5),
                         CPoint(2, 5), CPoint(0, 5), CPoint(0, 2), CPoint(2, 2), CPoint(2, 2)};
    for (int h = 0; h <= 9; ++h)
        EXPECT_EQ(GetHandlePoint(r, h), expected[h]) << h;
    float x, y;
    GetHandlePointF(r, 8, &x, &y);
    EXPECT_FLOAT_EQ(x, 2.5f);
    EXPECT_FLOAT_EQ(y, 2.5f);

    EXPECT_EQ(MirrorHandle(-1, -1, 1), 5);
    EXPECT_EQ(MirrorHandle(-1, -1, 3), 7);
    EXPECT_EQ(MirrorHandle(-1, 1, 0), 2);
    EXPECT_EQ(MirrorHandle(-1, 1, 1), 1);
    EXPECT_EQ(MirrorHandle(1, -1, 2), 4);
    EXPECT_EQ(MirrorHandle(0, 0, 6), 6);
}

TEST(Geometry, PointsAndLogicalUnitsOnTheScreen)
{
    HDC screen = ::GetDC(NULL);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(NULL, screen);
    EXPECT_EQ(PointsToLogical(72, NULL, FALSE), dpi);
    EXPECT_EQ(LogicalToPoints(dpi, NULL, FALSE), 72);
}

}  // namespace
