#include "ODRgn.h"
#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include "ODGeometry.h"
#include "ODTransform.h"

CRect ODUnionRect(const CRect& first, const CRect& second)
{
    CRect a(first), b(second);
    a.NormalizeRect();
    b.NormalizeRect();
    bool aEmpty = a.left == 0 && a.top == 0 && a.right == 0 && a.bottom == 0;
    bool bEmpty = b.left == 0 && b.top == 0 && b.right == 0 && b.bottom == 0;
    if (aEmpty)
        return b;
    if (bEmpty)
        return a;
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

// ---------------------------------------------------------------------------------------------
// CODRgnSegment

CODRgnSegment::CODRgnSegment(const CPoint* points, int count) : m_rcBounds(0, 0, 0, 0)
{
    if (points && count > 0)
        m_points.assign(points, points + count);
    RecalcBounds();
}

void CODRgnSegment::RecalcBounds()
{
    m_rcBounds = BoundingRectOfPoints(GetPoints(), GetCount());
}

CPoint CODRgnSegment::GetPoint(int index) const
{
    return index >= 0 && index < GetCount() ? m_points[index] : CPoint(0, 0);
}

namespace {

// Side of e relative to the directed line a-b: a point on the line counts as negative.
inline int Side(const POINT& a, const POINT& b, const POINT& e)
{
    long long l = ((long long)b.y - a.y) * ((long long)e.x - a.x);
    long long r = ((long long)b.x - a.x) * ((long long)e.y - a.y);
    return l < r ? 1 : -1;
}

inline bool Cross(const POINT& a, const POINT& b, const POINT& p, const POINT& q)
{
    return Side(a, b, p) != Side(a, b, q) && Side(p, q, a) != Side(p, q, b);
}

bool InRect(int x, int y, const CRect& r)
{
    return r.left <= x && x <= r.right && r.top <= y && y <= r.bottom;
}

}  // namespace

BOOL CODRgnSegment::HitTest(int x, int y, int tolerance) const
{
    const int n = GetCount();
    if (n == 0)
        return FALSE;
    CPoint band[4];
    const CPoint* poly = m_points.data();
    int count = n;
    if (n == 2 && tolerance > 0) {
        CRect test(m_rcBounds);
        test.InflateRect(tolerance, tolerance);
        if (!InRect(x, y, test))
            return FALSE;
        int angle = LineAngle(m_points[0].x, m_points[0].y, m_points[1].x, m_points[1].y);
        CODTransform turn;
        turn.Rotate(-angle);
        CPoint p0 = turn.Transform(m_points[0].x, m_points[0].y);
        CPoint p1 = turn.Transform(m_points[1].x, m_points[1].y);
        band[0] = CPoint(p0.x, p0.y - tolerance);
        band[1] = CPoint(p1.x, p1.y - tolerance);
        band[2] = CPoint(p1.x, p1.y + tolerance);
        band[3] = CPoint(p0.x, p0.y + tolerance);
        turn.InverseTransformPoints(band, 4);
        poly = band;
        count = 4;
    } else if (!InRect(x, y, m_rcBounds)) {
        return FALSE;
    }
    // A ray from the point to the right past the bounds; an odd count of crossings is inside.
    POINT from = {x, y};
    POINT to = {m_rcBounds.right + 50, y};
    if (count == 4 && poly == band)
        to.x = std::max(to.x, BoundingRectOfPoints(band, 4).right + 50);
    unsigned short crossings = 0;
    for (int i = 0; i < count; ++i) {
        const POINT& a = poly[i];
        const POINT& b = poly[(i + 1) % count];
        if (Cross(a, b, from, to))
            ++crossings;
    }
    return (crossings & 1) != 0;
}

CODRgnSegment CODRgnSegment::Transformed(const CODTransform* t) const
{
    CODRgnSegment copy(*this);
    if (t) {
        t->TransformPoints(copy.m_points.data(), copy.GetCount());
        copy.RecalcBounds();
    }
    return copy;
}

CODRgnSegment CODRgnSegment::InverseTransformed(const CODTransform* t) const
{
    CODRgnSegment copy(*this);
    if (t) {
        t->InverseTransformPoints(copy.m_points.data(), copy.GetCount());
        copy.RecalcBounds();
    }
    return copy;
}

// ---------------------------------------------------------------------------------------------
// CODRgn

void CODRgn::Empty()
{
    m_segments.clear();
    m_rcBounds.SetRect(0, 0, 0, 0);
    m_bStale = false;
}

CODRgnSegment CODRgn::GetSegment(int index) const
{
    return index >= 0 && index < GetSegmentCount() ? m_segments[index] : CODRgnSegment();
}

CRect CODRgn::GetSegmentBounds(int index) const
{
    return index >= 0 && index < GetSegmentCount() ? m_segments[index].GetBounds()
                                                   : CRect(0, 0, 0, 0);
}

int CODRgn::AddSegment(const CODRgnSegment& segment)
{
    m_segments.push_back(segment);
    m_bStale = true;
    return GetSegmentCount() - 1;
}

void CODRgn::SetPolyline(const CPoint* points, int count)
{
    Empty();
    for (int i = 0; points && i + 1 < count; ++i)
        m_segments.push_back(CODRgnSegment(points + i, 2));
    RecalcBounds();
}

void CODRgn::SetPolygon(const CPoint* points, int count)
{
    Empty();
    if (count < 3)
        for (int i = 0; points && i + 1 < count; ++i)
            m_segments.push_back(CODRgnSegment(points + i, 2));
    m_segments.push_back(CODRgnSegment(points, count));
    RecalcBounds();
}

namespace {

struct PointF {
    float x, y;
};

inline PointF Mid(PointF a, PointF b)
{
    return PointF{(a.x + b.x) / 2.0f, (a.y + b.y) / 2.0f};
}

inline bool Same(PointF a, PointF b)
{
    return a.x == b.x && a.y == b.y;
}

// b lies within 1 unit of the chord a-c.
inline bool Flat(PointF a, PointF b, PointF c)
{
    double cross = (double)(b.x - a.x) * (c.y - a.y) - (double)(b.y - a.y) * (c.x - a.x);
    double chord = (double)(c.x - a.x) * (c.x - a.x) + (double)(c.y - a.y) * (c.y - a.y);
    return cross * cross <= chord;
}

void Subdivide(PointF p0, PointF p1, PointF p2, PointF p3, std::vector<CPoint>& out, int depth)
{
    PointF m01 = Mid(p0, p1), m12 = Mid(p1, p2), m23 = Mid(p2, p3);
    PointF m012 = Mid(m01, m12), m123 = Mid(m12, m23), m = Mid(m012, m123);
    // The depth bound keeps a huge curve from flattening into millions of points.
    const bool deep = depth >= 16;
    if (Flat(p0, m012, m) || deep)
        out.push_back(CPoint(RoundToInt(m.x), RoundToInt(m.y)));
    else if (!(Same(m01, p1) && Same(m012, p2) && Same(m, p3)))
        Subdivide(p0, m01, m012, m, out, depth + 1);
    if (Flat(m, m23, p3) || deep)
        out.push_back(CPoint(RoundToInt(p3.x), RoundToInt(p3.y)));
    else if (!(Same(m, p0) && Same(m123, p1) && Same(m23, p2)))
        Subdivide(m, m123, m23, p3, out, depth + 1);
}

}  // namespace

void CODRgn::Flatten(const CPoint* points, int count)
{
    m_flat.clear();
    m_flat.push_back(points[0]);
    for (int i = 1; i + 2 < count; i += 3) {
        PointF p0{(float)points[i - 1].x, (float)points[i - 1].y};
        PointF p1{(float)points[i].x, (float)points[i].y};
        PointF p2{(float)points[i + 1].x, (float)points[i + 1].y};
        PointF p3{(float)points[i + 2].x, (float)points[i + 2].y};
        Subdivide(p0, p1, p2, p3, m_flat, 0);
    }
}

void CODRgn::SetBezier(const CPoint* points, int count)
{
    Empty();
    if (count <= 3) {
        SetPolyline(points, count);
        return;
    }
    Flatten(points, count);
    SetPolyline(m_flat.data(), (int)m_flat.size());
    RecalcBounds();
    for (int i = 0; i < count; ++i)
        m_rcBounds = ODUnionRect(m_rcBounds, CRect(points[i].x - 1, points[i].y - 1,
                                                   points[i].x + 1, points[i].y + 1));
    std::vector<CPoint>().swap(m_flat);
}

void CODRgn::SetClosedBezier(const CPoint* points, int count)
{
    Empty();
    if (count <= 3) {
        SetPolygon(points, count);
        return;
    }
    Flatten(points, count);
    SetPolygon(m_flat.data(), (int)m_flat.size());
    RecalcBounds();
    std::vector<CPoint>().swap(m_flat);
}

// The bounds are the union of every segment's, whatever their order: with current bounds only
// the new segments need uniting, which keeps a composite of many children linear to rebuild.
void CODRgn::Append(const CODRgn& other)
{
    const bool current = !m_bStale && !m_segments.empty();
    m_segments.insert(m_segments.end(), other.m_segments.begin(), other.m_segments.end());
    if (!current) {
        RecalcBounds();
        return;
    }
    for (const CODRgnSegment& s : other.m_segments)
        m_rcBounds = ODUnionRect(m_rcBounds, s.GetBounds());
}

void CODRgn::RecalcBounds()
{
    m_bStale = false;
    if (m_segments.empty())
        return;
    m_rcBounds = m_segments[0].GetBounds();
    for (size_t i = 1; i < m_segments.size(); ++i)
        m_rcBounds = ODUnionRect(m_rcBounds, m_segments[i].GetBounds());
}

BOOL CODRgn::HitTest(int x, int y, int tolerance) const
{
    return HitTestSegment(x, y, tolerance) >= 0;
}

int CODRgn::HitTestSegment(int x, int y, int tolerance) const
{
    for (size_t i = 0; i < m_segments.size(); ++i)
        if (m_segments[i].HitTest(x, y, tolerance))
            return (int)i;
    return -1;
}

CPoint CODRgn::GetBoundaryPoint(CPoint p, CPoint q, int extra) const
{
    if (p == q)
        return p;
    const bool alongX = abs(q.x - p.x) > abs(q.y - p.y);
    const bool positive = alongX ? p.x < q.x : p.y < q.y;
    CPoint r = p;
    for (const CODRgnSegment& segment : m_segments) {
        const int n = segment.GetCount();
        const CPoint* pts = segment.GetPoints();
        int edges = n >= 2 ? n : 0;
        for (int i = 0; i < edges; ++i) {
            if (n == 2 && i == 1)
                break;  // a two-point chain has one edge; its closing edge is the same line
            CPoint crossing;
            if (!SegmentIntersection(p, q, pts[i], pts[(i + 1) % n], &crossing))
                continue;
            int along = alongX ? crossing.x : crossing.y;
            int best = alongX ? r.x : r.y;
            if (positive ? along > best : along < best)
                r = crossing;
        }
    }
    if (q.x < p.x && r.x - 1 >= q.x)
        r.x -= 1;
    if (q.y < p.y && r.y - 1 >= q.y)
        r.y -= 1;
    if (extra != 0) {
        auto toward = [](int from, int target, int step) {
            if (target >= from)
                return std::min(from + step, target);
            return std::max(from - step, target);
        };
        if (p.x == q.x) {
            r.y = toward(r.y, q.y, extra);
        } else if (p.y == q.y) {
            r.x = toward(r.x, q.x, extra);
        } else {
            int length = PointDistance(p.x, p.y, q.x, q.y);
            if (length > 0) {
                r.x = toward(r.x, q.x, MulDiv(extra, abs(q.x - p.x), length));
                r.y = toward(r.y, q.y, MulDiv(extra, abs(q.y - p.y), length));
            }
        }
    }
    return r;
}

CODRgn CODRgn::Transformed(const CODTransform* t) const
{
    CODRgn copy;
    for (const CODRgnSegment& s : m_segments)
        copy.m_segments.push_back(s.Transformed(t));
    copy.RecalcBounds();
    return copy;
}

CODRgn CODRgn::InverseTransformed(const CODTransform* t) const
{
    CODRgn copy;
    for (const CODRgnSegment& s : m_segments)
        copy.m_segments.push_back(s.InverseTransformed(t));
    copy.RecalcBounds();
    return copy;
}
