// Hit regions: the outline of what a component draws, as chains of points in model coordinates
// with every transform applied. Each chain is a closed polygon, except that a two-point chain
// tested with a tolerance is a band around its line.
#pragma once
#include <afxwin.h>
#include <vector>

class CODTransform;

class CODRgnSegment
{
public:
    CODRgnSegment() : m_rcBounds(0, 0, 0, 0) {}
    CODRgnSegment(const CPoint* points, int count);
    BOOL operator==(const CODRgnSegment& other) const { return m_points == other.m_points; }
    BOOL operator!=(const CODRgnSegment& other) const { return !(*this == other); }

    CPoint GetPoint(int index) const;
    const CPoint* GetPoints() const { return m_points.empty() ? NULL : m_points.data(); }
    int GetCount() const { return (int)m_points.size(); }
    CRect GetBounds() const { return m_rcBounds; }
    BOOL HitTest(int x, int y, int tolerance) const;
    CODRgnSegment Transformed(const CODTransform* t) const;
    CODRgnSegment InverseTransformed(const CODTransform* t) const;

private:
    void RecalcBounds();

    CRect m_rcBounds;
    std::vector<CPoint> m_points;
};

class CODRgn
{
public:
    CODRgn() : m_rcBounds(0, 0, 0, 0), m_bStale(false) {}
    BOOL operator==(const CODRgn& other) const { return m_segments == other.m_segments; }
    BOOL operator!=(const CODRgn& other) const { return !(*this == other); }

    void Empty();
    CRect GetBounds() const { return m_rcBounds; }
    int GetSegmentCount() const { return (int)m_segments.size(); }
    CODRgnSegment GetSegment(int index) const;
    CRect GetSegmentBounds(int index) const;
    int AddSegment(const CODRgnSegment& segment);
    void SetPolyline(const CPoint* points, int count);
    void SetPolygon(const CPoint* points, int count);
    void SetBezier(const CPoint* points, int count);
    void SetClosedBezier(const CPoint* points, int count);
    void Append(const CODRgn& other);
    void RecalcBounds();
    BOOL HitTest(int x, int y, int tolerance) const;
    int HitTestSegment(int x, int y, int tolerance) const;
    CPoint GetBoundaryPoint(CPoint from, CPoint to, int extra) const;
    CODRgn Transformed(const CODTransform* t) const;
    CODRgn InverseTransformed(const CODTransform* t) const;

private:
    void Flatten(const CPoint* points, int count);

    CRect m_rcBounds;
    bool m_bStale;  // segments were added without their bounds being united
    std::vector<CODRgnSegment> m_segments;
    std::vector<CPoint> m_flat;  // working storage of the Bezier flattening
};

// The union of two rectangles as the regions and components form it: a rectangle of four
// zero coordinates is no rectangle, and both are normalised first.
CRect ODUnionRect(const CRect& a, const CRect& b);
