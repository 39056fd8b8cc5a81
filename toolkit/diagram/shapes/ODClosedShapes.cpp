#include "ODClosedShapes.h"
#include <math.h>
#include "ODFillProperties.h"
#include "ODGeometry.h"
#include "ODLineProperties.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODRectComponent, CODPointComponent, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CODEllipseComponent, CODPointComponent, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CODPolygonComponent, CODPointComponent, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CODCurveComponent, CODPointComponent, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CODClosedCurveComponent, CODCurveComponent, VERSIONABLE_SCHEMA | 1)

namespace {

// Each shape's own part of its record is its version alone.
void SerializeVersion(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1;
    } else {
        DWORD version;
        ar >> version;
    }
}

BOOL IsMetafileDC(CDC* dc)
{
    return dc->GetDeviceCaps(TECHNOLOGY) == DT_METAFILE;
}

// A metafile keeps curves as the polygons of their flattened hit region.
void DrawRegionRecords(CDC* dc, const CODRgn& region)
{
    for (int i = 0; i < region.GetSegmentCount(); ++i) {
        CODRgnSegment s = region.GetSegment(i);
        if (s.GetCount() > 0)
            dc->Polygon(s.GetPoints(), s.GetCount());
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Rectangle and the corner rule

int ODOffsetBoxCorner(CODPointComponent* box, int i, CPoint d)
{
    CPoint* v = box->GetVertexData();
    // A box read from a damaged stream may lack corners: nothing past them is read.
    if (i < 0 || i >= box->GetVertexCount() || box->GetVertexCount() < 4)
        return 3;
    LONG left = v[0].x, top = v[0].y, right = v[2].x, bottom = v[2].y;
    switch (i) {
    case 0: left += d.x; top += d.y; break;
    case 1: right += d.x; top += d.y; break;
    case 2: right += d.x; bottom += d.y; break;
    case 3: left += d.x; bottom += d.y; break;
    default: break;
    }
    if (right - left == 0)
        return bottom - top != 0 ? 1 : 3;
    if (bottom - top == 0)
        return 2;
    v[0] = CPoint(left, top);
    v[1] = CPoint(right, top);
    v[2] = CPoint(right, bottom);
    v[3] = CPoint(left, bottom);
    return 0;
}

void CODRectComponent::Serialize(CArchive& ar)
{
    SerializeVersion(ar);
    CODPointComponent::Serialize(ar);
}

BOOL CODRectComponent::CreateWithoutProperties(int left, int top, int right, int bottom)
{
    CPoint v[4] = {CPoint(left, top), CPoint(right, top), CPoint(right, bottom), CPoint(left, bottom)};
    SetVertices(v, 4);
    return CODPointComponent::Create(IDS_OD_RECTANGLE);
}

BOOL CODRectComponent::Create(int left, int top, int right, int bottom)
{
    CPoint v[4] = {CPoint(left, top), CPoint(right, top), CPoint(right, bottom), CPoint(left, bottom)};
    SetVertices(v, 4);
    SetOrAddProperty(CODLineProperties(10));
    SetOrAddProperty(CODFillProperties(20));
    return CODPointComponent::Create(IDS_OD_RECTANGLE);
}

void CODRectComponent::OnDraw(CDC* dc)
{
    if (m_nCount > 0)
        dc->Polygon(DrawingVertices(), m_nCount);
}

int CODRectComponent::OffsetVertex(int i, int dx, int dy)
{
    if (i < 0 || i >= m_nCount)
        return 3;
    return ODOffsetBoxCorner(this, i, LocalOffset(i, dx, dy));
}

// ---------------------------------------------------------------------------------------------
// Ellipse

void CODEllipseComponent::Serialize(CArchive& ar)
{
    SerializeVersion(ar);
    CODPointComponent::Serialize(ar);
}

BOOL CODEllipseComponent::Create(CRect r)
{
    SetEllipseRect(r);
    SetOrAddProperty(CODLineProperties(10));
    SetOrAddProperty(CODFillProperties(20));
    return CODPointComponent::Create(IDS_OD_ELLIPSE);
}

void CODEllipseComponent::SetEllipseRect(CRect r)
{
    AllocVertices(13);
    float rx = (float)(r.right - r.left) / 2, ry = (float)(r.bottom - r.top) / 2;
    float cx = r.left + rx, cy = r.top + ry;
    float c = sqrtf(2.0f);
    float arx = (8 - c) * rx / 6, ary = (8 - c) * ry / 6;
    float brx = (7 * c - 8) * rx / 6, bry = (7 * c - 8) * ry / 6;
    float dx = rx / c, dy = ry / c;
    const float pts[13][2] = {
        {cx + dx, cy + dy},   {cx + arx, cy + bry}, {cx + arx, cy - bry}, {cx + dx, cy - dy},
        {cx + brx, cy - ary}, {cx - brx, cy - ary}, {cx - dx, cy - dy},   {cx - arx, cy - bry},
        {cx - arx, cy + bry}, {cx - dx, cy + dy},   {cx - brx, cy + ary}, {cx + brx, cy + ary},
        {cx + dx, cy + dy}};
    for (int i = 0; i < 13; ++i)
        m_pVertices[i] = m_pVertices[13 + i] = CPoint(RoundToInt(pts[i][0]), RoundToInt(pts[i][1]));
}

CRect CODEllipseComponent::LocalCurveBounds() const
{
    CODRgn r;
    r.SetClosedBezier(m_pVertices, m_nCount);
    return r.GetBounds();
}

void CODEllipseComponent::GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices)
{
    if (!vertices) {
        CODComponent::GetHandles(handles, vertices);
        return;
    }
    CRect b = LocalCurveBounds();
    int mx = (b.left + b.right) / 2, my = (b.top + b.bottom) / 2;
    CPoint pts[4] = {CPoint(mx, b.top), CPoint(b.right, my), CPoint(mx, b.bottom), CPoint(b.left, my)};
    handles.RemoveAll();
    for (CPoint& p : pts)
        handles.Add(m_pTransform ? m_pTransform->Transform(p.x, p.y) : p);
}

void CODEllipseComponent::OnDraw(CDC* dc)
{
    if (m_nCount == 0)
        return;
    dc->BeginPath();
    if (IsMetafileDC(dc))
        DrawRegionRecords(dc, m_region);
    else
        dc->PolyBezier(DrawingVertices(), m_nCount);
    dc->EndPath();
    dc->StrokeAndFillPath();
}

CODRgn CODEllipseComponent::CreateOutlineRegion()
{
    return ParentBezierOutline();
}

void CODEllipseComponent::BuildRegion(CODRgn* region)
{
    BuildVertexRegion(region, kClosedBezier);
}

int CODEllipseComponent::OffsetVertex(int i, int dx, int dy)
{
    if (i < 0 || i > 12 || i >= m_nCount)
        return 3;
    CPoint d = LocalOffset(i, dx, dy);
    CRect b = LocalCurveBounds();
    switch (i) {
    case 0:
        if (b.top + d.y == b.bottom)
            return 3;
        b.top += d.y;
        break;
    case 1:
        if (b.right + d.x == b.left)
            return 3;
        b.right += d.x;
        break;
    case 2:
        if (b.bottom + d.y == b.top)
            return 3;
        b.bottom += d.y;
        break;
    case 3:
        if (b.left + d.x == b.right)
            return 3;
        b.left += d.x;
        break;
    default: break;
    }
    SetEllipseRect(b);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Polygon

void CODPolygonComponent::Serialize(CArchive& ar)
{
    SerializeVersion(ar);
    CODPointComponent::Serialize(ar);
}

BOOL CODPolygonComponent::Create(const CPoint* p, int n)
{
    SetVertices(p, n);
    SetOrAddProperty(CODLineProperties(10));
    SetOrAddProperty(CODFillProperties(20));
    return CODPointComponent::Create(IDS_OD_POLYGON);
}

void CODPolygonComponent::OnDraw(CDC* dc)
{
    if (m_nCount > 0)
        dc->Polygon(DrawingVertices(), m_nCount);
}

// ---------------------------------------------------------------------------------------------
// Curves

void CODCurveComponent::Serialize(CArchive& ar)
{
    SerializeVersion(ar);
    CODPointComponent::Serialize(ar);
}

BOOL CODCurveComponent::Create(const CPoint* p, int n)
{
    // No point at all makes no curve (the count formula would ask for one that is not there).
    if (p == NULL || n < 1)
        return FALSE;
    SetVertices(p, 3 * GetSegmentCountFor(n) + 1);
    SetOrAddProperty(CODLineProperties(10));
    return CODPointComponent::Create(IDS_OD_CURVE);
}

void CODCurveComponent::DrawCurve(CDC* dc)
{
    if (IsMetafileDC(dc))
        DrawRegionRecords(dc, m_region);
    else if (m_nCount > 0)
        dc->PolyBezier(DrawingVertices(), m_nCount);
}

void CODCurveComponent::OnDraw(CDC* dc)
{
    DrawCurve(dc);
}

void CODCurveComponent::BuildRegion(CODRgn* region)
{
    BuildVertexRegion(region, kBezier);
}

void CODClosedCurveComponent::Serialize(CArchive& ar)
{
    SerializeVersion(ar);
    CODCurveComponent::Serialize(ar);
}

BOOL CODClosedCurveComponent::Create(const CPoint* p, int n)
{
    if (!CODCurveComponent::Create(p, n))
        return FALSE;
    SetOrAddProperty(CODFillProperties(20));
    return LoadType(IDS_OD_CLOSED_CURVE);
}

void CODClosedCurveComponent::OnDraw(CDC* dc)
{
    if (m_nCount == 0)
        return;
    dc->BeginPath();
    DrawCurve(dc);
    const CPoint* d = DrawingVertices();
    if (d[m_nCount - 1] != d[0]) {
        dc->MoveTo(d[m_nCount - 1]);
        dc->LineTo(d[0]);
    }
    dc->EndPath();
    dc->StrokeAndFillPath();
}

CODRgn CODClosedCurveComponent::CreateOutlineRegion()
{
    return ParentBezierOutline();
}

void CODClosedCurveComponent::BuildRegion(CODRgn* region)
{
    BuildVertexRegion(region, kClosedBezier);
}
