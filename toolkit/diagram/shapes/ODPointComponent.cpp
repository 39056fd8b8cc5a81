#include "ODPointComponent.h"
#include <string.h>
#include <unordered_set>
#include "ODGeometry.h"
#include "ODLineProperties.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODPointComponent, CODComponent, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CODEndpoint, CObject, 0)
IMPLEMENT_SERIAL(CODArrowEndpoint, CODEndpoint, 0)
IMPLEMENT_SERIAL(CODLineComponent, CODPointComponent, VERSIONABLE_SCHEMA | 1)

namespace {

// The decorations held by lines. A damaged stream may name one decoration from two lines; the
// second holder then takes a copy, so that each is deleted once. Lives until the process ends.
std::unordered_set<const CODEndpoint*>& g_endpoints = *new std::unordered_set<const CODEndpoint*>;

CODEndpoint* Hold(CODEndpoint* e)
{
    if (e != NULL && !g_endpoints.insert(e).second) {
        e = e->Clone();
        g_endpoints.insert(e);
    }
    return e;
}

void Drop(CODEndpoint* e)
{
    if (e != NULL) {
        g_endpoints.erase(e);
        delete e;
    }
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CODPointComponent

CODPointComponent::CODPointComponent() : m_nCount(0), m_pVertices(NULL) {}

CODPointComponent::CODPointComponent(const CODPointComponent& other)
    : CODComponent(other), m_nCount(0), m_pVertices(NULL)
{
    AllocVertices(other.m_nCount);
    for (int i = 0; i < m_nCount; ++i)
        m_pVertices[i] = m_pVertices[m_nCount + i] = other.m_pVertices[i];
}

CODPointComponent::~CODPointComponent()
{
    delete[] m_pVertices;
}

CODComponent* CODPointComponent::Clone() const
{
    return new CODPointComponent(*this);
}

void CODPointComponent::AllocVertices(int n)
{
    if (n < 0)
        n = 0;
    delete[] m_pVertices;
    m_pVertices = n > 0 ? new CPoint[2 * (size_t)n] : NULL;
    m_nCount = n;
}

void CODPointComponent::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1 << (LONG)m_nCount;
        for (int i = 0; i < m_nCount; ++i)
            ar << (LONG)m_pVertices[i].x << (LONG)m_pVertices[i].y;
    } else {
        DWORD version;
        LONG count;
        ar >> version >> count;
        if (count < 0)
            AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
        AfxCheckStoredCount(ar, (DWORD)count, 8);
        AllocVertices((int)count);
        for (int i = 0; i < m_nCount; ++i) {
            LONG x, y;
            ar >> x >> y;
            m_pVertices[i] = m_pVertices[m_nCount + i] = CPoint(x, y);
        }
    }
    CODComponent::Serialize(ar);
}

BOOL CODPointComponent::Create(UINT typeId)
{
    for (int i = 0; i < m_nCount; ++i)
        m_pVertices[m_nCount + i] = m_pVertices[i];
    return CODComponent::Create(typeId);
}

int CODPointComponent::GetVertexArray(CArray<CPoint, CPoint>* a)
{
    if (a != NULL) {
        a->RemoveAll();
        a->SetSize(m_nCount);
        for (int i = 0; i < m_nCount; ++i)
            (*a)[i] = m_pVertices[i];
    }
    return m_nCount;
}

int CODPointComponent::CopyVertices(CPoint* p)
{
    if (p != NULL)
        for (int i = 0; i < m_nCount; ++i)
            p[i] = m_pVertices[i];
    return m_nCount;
}

int CODPointComponent::SetVertexArray(const CArray<CPoint, CPoint>* a)
{
    int n = a ? (int)a->GetSize() : 0;
    AllocVertices(n);
    for (int i = 0; i < n; ++i)
        m_pVertices[i] = (*a)[i];
    return m_nCount;
}

void CODPointComponent::SetVertices(const CPoint* p, int n)
{
    AllocVertices(n);
    if (p != NULL)
        for (int i = 0; i < m_nCount; ++i)
            m_pVertices[i] = p[i];
}

int CODPointComponent::MoveVertex(int i, int dx, int dy)
{
    int code = OffsetVertex(i, dx, dy);
    UpdateRegion(FALSE);
    return code;
}

CPoint CODPointComponent::LocalOffset(int i, int dx, int dy) const
{
    if (m_pTransform == NULL)
        return CPoint(dx, dy);
    CPoint p = m_pTransform->Transform(m_pVertices[i].x, m_pVertices[i].y);
    p = m_pTransform->InverseTransform(p.x + dx, p.y + dy);
    return p - m_pVertices[i];
}

int CODPointComponent::OffsetVertex(int i, int dx, int dy)
{
    if (i < 0 || i >= m_nCount)
        return 3;
    m_pVertices[i] += LocalOffset(i, dx, dy);
    return 0;
}

void CODPointComponent::OffsetVertices(int dx, int dy)
{
    for (int i = 0; i < m_nCount; ++i)
        m_pVertices[i] += LocalOffset(i, dx, dy);
}

CPoint CODPointComponent::GetVertex(int i)
{
    if (i < 0 || i >= m_nCount)
        return CPoint(0, 0);
    CODTransform t;
    GetFullTransform(t);
    return t.Transform(m_pVertices[i].x, m_pVertices[i].y);
}

CPoint CODPointComponent::SetVertex(int i, int x, int y)
{
    if (i < 0 || i >= m_nCount)
        return CPoint(0, 0);
    CODTransform t;
    GetFullTransform(t);
    CPoint old = t.Transform(m_pVertices[i].x, m_pVertices[i].y);
    m_pVertices[i] = t.InverseTransform(x, y);
    return old;
}

void CODPointComponent::InsertVertex(int i, int x, int y)
{
    if (i < 0 || i > m_nCount)
        return;
    CPoint p = m_pTransform ? m_pTransform->InverseTransform(x, y) : CPoint(x, y);
    std::vector<CPoint> old(m_pVertices, m_pVertices + m_nCount);
    AllocVertices((int)old.size() + 1);
    for (int k = 0; k < m_nCount; ++k)
        m_pVertices[k] = k < i ? old[k] : k == i ? p : old[k - 1];
    UpdateRegion(FALSE);
}

CPoint CODPointComponent::RemoveVertex(int i)
{
    if (i < 0 || i >= m_nCount)
        return CPoint(0, 0);
    std::vector<CPoint> old(m_pVertices, m_pVertices + m_nCount);
    CPoint removed = old[i];
    old.erase(old.begin() + i);
    SetVertices(old.data(), (int)old.size());
    UpdateRegion(FALSE);
    return removed;
}

void CODPointComponent::GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices)
{
    if (!vertices) {
        CODComponent::GetHandles(handles, vertices);
        return;
    }
    CODTransform t;
    GetFullTransform(t);
    handles.RemoveAll();
    for (int i = 0; i < m_nCount; ++i)
        handles.Add(t.Transform(m_pVertices[i].x, m_pVertices[i].y));
}

void CODPointComponent::GetVertices(CArray<CPoint, CPoint>& points, int flag)
{
    for (int i = 0; i < m_nCount; ++i)
        points.Add(m_pTransform ? m_pTransform->Transform(m_pVertices[i].x, m_pVertices[i].y)
                                : m_pVertices[i]);
    CODComponent::GetVertices(points, flag);
}

void CODPointComponent::RefreshDrawingVertices()
{
    GetTransformStack()->GetTop().TransformPoints(m_pVertices, DrawingVertices(), m_nCount);
}

void CODPointComponent::BuildVertexRegion(CODRgn* region, RegionForm form)
{
    if (region == NULL)
        return;
    if (m_nCount == 0) {
        region->Empty();
        return;
    }
    RefreshDrawingVertices();
    switch (form) {
    case kPolygon: region->SetPolygon(DrawingVertices(), m_nCount); break;
    case kPolyline: region->SetPolyline(DrawingVertices(), m_nCount); break;
    case kBezier: region->SetBezier(DrawingVertices(), m_nCount); break;
    case kClosedBezier: region->SetClosedBezier(DrawingVertices(), m_nCount); break;
    }
}

CODRgn CODPointComponent::ParentBezierOutline()
{
    CODRgn outline;
    for (int i = 0; i < m_nCount; ++i)
        DrawingVertices()[i] =
            m_pTransform ? m_pTransform->Transform(m_pVertices[i].x, m_pVertices[i].y) : m_pVertices[i];
    outline.SetBezier(DrawingVertices(), m_nCount);
    return outline;
}

void CODPointComponent::BuildRegion(CODRgn* region)
{
    BuildVertexRegion(region, kPolygon);
}

CRect CODPointComponent::GetOwnExtent()
{
    return m_region.GetBounds();
}

CODRgn CODPointComponent::CreateOutlineRegion()
{
    CODRgn outline;
    if (m_nCount == 0)
        return outline;
    std::vector<CPoint> pts;
    for (int i = 0; i <= m_nCount; ++i) {
        const CPoint& v = m_pVertices[i % m_nCount];
        pts.push_back(m_pTransform ? m_pTransform->Transform(v.x, v.y) : v);
    }
    outline.SetPolyline(pts.data(), (int)pts.size());
    return outline;
}

CPoint CODPointComponent::SetOrigin(int x, int y)
{
    CPoint old = GetOrigin();
    OffsetVertices(x - old.x, y - old.y);
    UpdateRegion(FALSE);
    return old;
}

CPoint CODPointComponent::MoveOrigin(int dx, int dy)
{
    OffsetVertices(dx, dy);
    UpdateRegion(FALSE);
    return GetOrigin();
}

CPoint CODPointComponent::OffsetBounds(int dx, int dy)
{
    return MoveOrigin(dx, dy);
}

void CODPointComponent::PrepareDC(CDC* dc)
{
    CODComponent::PrepareDC(dc);
    RefreshDrawingVertices();
}

// ---------------------------------------------------------------------------------------------
// Decorations

void CODEndpoint::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (LONG)m_ptFrom.x << (LONG)m_ptFrom.y << (LONG)m_ptTip.x << (LONG)m_ptTip.y;
    } else {
        LONG v[4];
        ar >> v[0] >> v[1] >> v[2] >> v[3];
        m_ptFrom = CPoint(v[0], v[1]);
        m_ptTip = CPoint(v[2], v[3]);
    }
}

void CODArrowEndpoint::Serialize(CArchive& ar)
{
    CODEndpoint::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (LONG)m_nLength << (LONG)m_nWidth;
    } else {
        LONG length, width;
        ar >> length >> width;
        m_nLength = length;
        m_nWidth = width;
    }
}

void CODArrowEndpoint::GetArrowPoints(CPoint pts[3])
{
    int h = RoundToInt(m_nWidth / 2.0f);
    CODTransform m;
    m.Rotate(LineAngle(m_ptFrom.x, m_ptFrom.y, m_ptTip.x, m_ptTip.y));
    m.Translate(m_ptTip.x, m_ptTip.y);
    pts[0] = m.Transform(0, 0);
    pts[1] = m.Transform(-m_nLength, -h);
    pts[2] = m.Transform(-m_nLength, h);
}

void CODArrowEndpoint::Draw(CDC* dc)
{
    // The head is filled with the colour of the pen the line is drawn with.
    COLORREF colour = RGB(0, 0, 0);
    HGDIOBJ pen = ::GetCurrentObject(dc->GetSafeHdc(), OBJ_PEN);
    int size = pen ? ::GetObject(pen, 0, NULL) : 0;
    if (size == (int)sizeof(LOGPEN)) {
        LOGPEN lp;
        if (::GetObject(pen, sizeof(lp), &lp))
            colour = lp.lopnColor;
    } else if (size >= (int)sizeof(EXTLOGPEN) - (int)sizeof(DWORD)) {
        std::vector<BYTE> buffer(size + sizeof(DWORD));
        if (::GetObject(pen, size, buffer.data()))
            colour = ((EXTLOGPEN*)buffer.data())->elpColor;
    }
    CPoint pts[3];
    GetArrowPoints(pts);
    CBrush brush(colour);
    CBrush* old = dc->SelectObject(&brush);
    dc->Polygon(pts, 3);
    dc->SelectObject(old);
}

void CODArrowEndpoint::BuildRegion(CODRgn* region)
{
    CPoint pts[3];
    GetArrowPoints(pts);
    region->SetPolygon(pts, 3);
}

// ---------------------------------------------------------------------------------------------
// CODLineComponent

CODLineComponent::CODLineComponent() : m_pStart(NULL), m_pEnd(NULL) {}

CODLineComponent::CODLineComponent(const CODLineComponent& other)
    : CODPointComponent(other), m_pStart(NULL), m_pEnd(NULL)
{
    if (other.m_pStart)
        m_pStart = Hold(other.m_pStart->Clone());
    if (other.m_pEnd)
        m_pEnd = Hold(other.m_pEnd->Clone());
}

CODLineComponent::~CODLineComponent()
{
    Drop(m_pStart);
    Drop(m_pEnd);
}

CODComponent* CODLineComponent::Clone() const
{
    return new CODLineComponent(*this);
}

void CODLineComponent::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1;
        ar.WriteObject(m_pStart);
        ar.WriteObject(m_pEnd);
    } else {
        DWORD version;
        ar >> version;
        SetStartEndpoint((CODEndpoint*)ar.ReadObject(RUNTIME_CLASS(CODEndpoint)));
        SetEndEndpoint((CODEndpoint*)ar.ReadObject(RUNTIME_CLASS(CODEndpoint)));
    }
    CODPointComponent::Serialize(ar);
}

BOOL CODLineComponent::Create(const CArray<CPoint, CPoint>& a)
{
    return Create(a.GetData(), (int)a.GetSize());
}

BOOL CODLineComponent::Create(const CPoint* p, int n)
{
    SetVertices(p, n);
    SetOrAddProperty(CODLineProperties(10));
    return CODPointComponent::Create(IDS_OD_LINE);
}

void CODLineComponent::SetStartEndpoint(CODEndpoint* endpoint)
{
    if (endpoint == m_pStart)
        return;
    Drop(m_pStart);
    m_pStart = Hold(endpoint);
}

void CODLineComponent::SetEndEndpoint(CODEndpoint* endpoint)
{
    if (endpoint == m_pEnd)
        return;
    Drop(m_pEnd);
    m_pEnd = Hold(endpoint);
}

BOOL CODLineComponent::PlaceEndpoint(BOOL start)
{
    CODEndpoint* e = start ? m_pStart : m_pEnd;
    // A loaded line may have fewer than two vertices: its decorations then have no place.
    if (e == NULL || m_nCount < 2)
        return FALSE;
    const CPoint* d = DrawingVertices();
    if (start)
        e->SetPoints(d[1], d[0]);
    else
        e->SetPoints(d[m_nCount - 2], d[m_nCount - 1]);
    return TRUE;
}

void CODLineComponent::DrawStartEndpoint(CDC* dc)
{
    if (PlaceEndpoint(TRUE))
        m_pStart->Draw(dc);
}

void CODLineComponent::DrawEndEndpoint(CDC* dc)
{
    if (PlaceEndpoint(FALSE))
        m_pEnd->Draw(dc);
}

void CODLineComponent::OnDraw(CDC* dc)
{
    if (m_nCount > 0)
        dc->Polyline(DrawingVertices(), m_nCount);
    if (!m_bFeedback) {
        DrawStartEndpoint(dc);
        DrawEndEndpoint(dc);
    }
    // Children (a label that travels with the line) are drawn inside the line's own state.
    CODComponent::OnDraw(dc);
}

void CODLineComponent::BuildRegion(CODRgn* region)
{
    if (region == NULL)
        return;
    BuildVertexRegion(region, kPolyline);
    for (BOOL start : {TRUE, FALSE})
        if (PlaceEndpoint(start)) {
            CODRgn head;
            (start ? m_pStart : m_pEnd)->BuildRegion(&head);
            region->Append(head);
        }
}

int CODLineComponent::GetLength()
{
    int length = 0;
    for (int i = 1; i < m_nCount; ++i)
        length += PointDistance(m_pVertices[i - 1].x, m_pVertices[i - 1].y, m_pVertices[i].x,
                                m_pVertices[i].y);
    return length;
}

CPoint CODLineComponent::GetPointAtPercent(int percent)
{
    int from, to;
    return GetPointAtPercent(percent, &from, &to);
}

CPoint CODLineComponent::GetPointAtPercent(int percent, int* pFrom, int* pTo)
{
    if (m_nCount == 0)
        return CPoint(0, 0);
    CPoint result = m_pVertices[0];
    if (percent < 0 || percent > 100 || m_nCount < 2)
        return result;
    int from = 0, to = 1;
    int target = RoundToInt((float)GetLength() * (percent / 100.0f));
    int covered = 0;
    for (;;) {
        const CPoint& a = m_pVertices[from];
        const CPoint& b = m_pVertices[to];
        int d = PointDistance(a.x, a.y, b.x, b.y);
        if (d > 0 && covered + d >= target) {
            int t = (target - covered) * 100 / d;
            result = CPoint(a.x + RoundToInt((double)t * (b.x - a.x) / 100.0),
                            a.y + RoundToInt((double)t * (b.y - a.y) / 100.0));
            break;
        }
        if (to + 1 < m_nCount) {
            covered += d;
            ++from;
            ++to;
        } else {
            result = m_pVertices[0];
            break;
        }
    }
    if (pFrom)
        *pFrom = from;
    if (pTo)
        *pTo = to;
    return result;
}
