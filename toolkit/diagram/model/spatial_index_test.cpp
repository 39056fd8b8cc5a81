// The spatial index against a brute-force scan of random rectangles, and the split-line cases.
#include "gtest_wine.h"
#include <algorithm>
#include <random>
#include <vector>
#include "ODComponent.h"
#include "ODGeometry.h"
#include "ODSpatialIndex.h"

namespace {

class Box : public CODComponent
{
public:
    explicit Box(CRect r) { Place(r); }
    void Place(CRect r)
    {
        m_rcBounds = r;
    }
};

std::vector<CODComponent*> Sorted(CODComponentSet& set)
{
    std::vector<CODComponent*> v(set.GetData(), set.GetData() + set.GetSize());
    std::sort(v.begin(), v.end());
    return v;
}

template <class Pred>
std::vector<CODComponent*> Scan(const std::vector<Box*>& boxes, Pred pred)
{
    std::vector<CODComponent*> v;
    for (Box* b : boxes)
        if (pred(b->GetBounds()))
            v.push_back(b);
    std::sort(v.begin(), v.end());
    return v;
}

TEST(SpatialIndex, AgreesWithABruteForceScan)
{
    std::mt19937 rng(25);
    auto coord = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    CODSpatialIndex index;
    index.Initialize(CRect(0, 0, 1000, 800));
    EXPECT_EQ(index.GetMinCellSize(), 80);
    std::vector<Box*> boxes;
    for (int i = 0; i < 400; ++i) {
        int x = coord(-50, 1000), y = coord(-50, 800);
        Box* b = new Box(CRect(x, y, x + coord(0, 150), y + coord(0, 150)));
        boxes.push_back(b);
        index.Insert(b);
    }
    // Some leave, some move (out of the index while their bounds change).
    for (int i = 0; i < 100; ++i) {
        index.Remove(boxes[i]);
        delete boxes[i];
    }
    boxes.erase(boxes.begin(), boxes.begin() + 100);
    for (int i = 0; i < 100; ++i) {
        Box* b = boxes[i];
        index.Remove(b);
        int x = coord(0, 900), y = coord(0, 700);
        b->Place(CRect(x, y, x + coord(0, 300), y + coord(0, 20)));
        index.Insert(b);
    }
    for (int q = 0; q < 300; ++q) {
        int x = coord(-20, 1020), y = coord(-20, 820), tol = coord(0, 3) == 0 ? coord(1, 10) : 0;
        CODComponentSet out;
        index.QueryPoint(&out, x, y, tol);
        CRect square(x - tol, y - tol, x + tol, y + tol);
        auto expected = Scan(boxes, [&](const CRect& r) {
            return tol > 0 ? RectsOverlap(r, square) : PointInRect(x, y, r);
        });
        ASSERT_EQ(Sorted(out), expected) << x << "," << y << " tol " << tol;

        int l = coord(-20, 1000), t = coord(-20, 800);
        CRect rect(l, t, l + coord(0, 400), t + coord(0, 400));
        out.RemoveAll();
        index.QueryContained(&out, rect);
        ASSERT_EQ(Sorted(out), Scan(boxes, [&](const CRect& r) { return RectInRect(r, rect); }));
        out.RemoveAll();
        index.QueryOverlapping(&out, rect);
        ASSERT_EQ(Sorted(out), Scan(boxes, [&](const CRect& r) { return RectsOverlap(r, rect); }));
    }
    for (Box* b : boxes)
        delete b;
}

TEST(SpatialIndex, SplitLines)
{
    CODSpatialIndex index;
    CODComponentSet out;
    Box stray(CRect(0, 0, 5, 5));
    out.Add(&stray);
    index.QueryPoint(&out, 1, 1, 0);  // before the first Initialize: left as it was
    EXPECT_EQ(out.GetSize(), 1);

    index.Initialize(CRect(0, 0, 10, 10));
    EXPECT_EQ(index.GetMinCellSize(), 2);

    index.Initialize(CRect(0, 0, 1000, 1000));
    Box across(CRect(400, 100, 600, 200));  // crosses the root's line x = 500
    Box line(CRect(500, 700, 500, 900));    // no width, on that line
    Box left(CRect(100, 700, 200, 900));
    index.Insert(&across);
    index.Insert(&line);
    index.Insert(&left);
    struct Case {
        int x, y;
        size_t count;
    } points[] = {{450, 150, 1}, {550, 150, 1}, {500, 150, 1}, {500, 800, 1}, {150, 800, 1}, {900, 900, 0}};
    for (const Case& c : points) {
        index.QueryPoint(&out, c.x, c.y, 0);
        EXPECT_EQ((size_t)out.GetSize(), c.count) << c.x << "," << c.y;
    }
    index.QueryContained(&out, CRect(0, 0, 1000, 1000));
    EXPECT_EQ(out.GetSize(), 3);  // each once
    index.QueryOverlapping(&out, CRect(500, 600, 500, 950));  // zero width, on the line
    EXPECT_EQ(out.GetSize(), 1);
    EXPECT_EQ(out[0], &line);

    // A component whose bounds changed behind the index still leaves no entry behind.
    across.Place(CRect(0, 0, 1, 1));
    index.Remove(&across);
    index.QueryPoint(&out, 550, 150, 0);
    EXPECT_EQ(out.GetSize(), 0);
    EXPECT_EQ(index.GetCount(), 2);
}

}  // namespace
