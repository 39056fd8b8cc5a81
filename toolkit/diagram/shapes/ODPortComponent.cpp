#include "ODPortComponent.h"
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODTransform.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODPortComponent, CODPointComponent, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CODCirclePort, CODPortComponent, VERSIONABLE_SCHEMA | 1)

CODPortComponent::CODPortComponent() : m_pOwner(NULL), m_dwCenterPort(0)
{
    AllocVertices(1);
}

CODPortComponent::CODPortComponent(CODComponent* owner) : m_pOwner(owner), m_dwCenterPort(0)
{
    AllocVertices(1);
}

// A copy has no owner until a symbol adopts it.
CODPortComponent::CODPortComponent(const CODPortComponent& other)
    : CODPointComponent(other), m_pOwner(NULL), m_dwCenterPort(other.m_dwCenterPort)
{
}

void CODPortComponent::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1 << m_dwCenterPort;
    } else {
        DWORD version;
        ar >> version >> m_dwCenterPort;
    }
    CODPointComponent::Serialize(ar);
}

BOOL CODPortComponent::Create(CPoint pt)
{
    SetLocation(pt);
    CODEditProperties edit(40);
    edit.SetCanRotate(FALSE);
    edit.SetCanScale(FALSE);
    SetOrAddProperty(edit);
    return CODPointComponent::Create(IDS_OD_PORT);
}

void CODPortComponent::GetPortTransform(CODTransform& t)
{
    t.SetIdentity();
    if (m_pOwner)
        m_pOwner->GetFullTransform(t);
    if (m_pTransform)
        t = t * *m_pTransform;
}

CPoint CODPortComponent::GetLocation()
{
    if (m_nCount < 1)
        return CPoint(0, 0);
    CODTransform t;
    GetPortTransform(t);
    return t.Transform(m_pVertices[0].x, m_pVertices[0].y);
}

void CODPortComponent::SetLocation(CPoint pt)
{
    if (m_nCount < 1)
        AllocVertices(1);
    CODTransform t;
    GetPortTransform(t);
    m_pVertices[0] = t.InverseTransform(pt.x, pt.y);
    // Inside a region recalculation the transforms are already pushed.
    if (GetTransformStack()->GetDepth() == 0)
        UpdateRegion(FALSE);
    else
        RecalcRegion();
}

BOOL CODPortComponent::HitTestPort(const CPoint* pt, int tolerance)
{
    if (pt == NULL)
        return FALSE;
    CRect r = GetBounds();
    r.InflateRect(tolerance, tolerance);
    return r.PtInRect(*pt);
}

// ---------------------------------------------------------------------------------------------
// Circle port

void CODCirclePort::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1 << m_nRadius;
    } else {
        DWORD version;
        ar >> version >> m_nRadius;
    }
    CODPortComponent::Serialize(ar);
}

BOOL CODCirclePort::Create(CPoint pt, int radius)
{
    SetRadius(radius);
    ApplyProperties(NULL);
    return CODPortComponent::Create(pt);
}

void CODCirclePort::SetRadius(int radius)
{
    m_nRadius = radius;
    UpdateRegion(TRUE);
}

void CODCirclePort::ApplyProperties(CODPropertyList* properties)
{
    CODPortComponent::ApplyProperties(properties);
    CODFillProperties fill(20);
    fill.SetFillStyle(1);
    SetOrAddProperty(fill);
}

void CODCirclePort::OnDraw(CDC* dc)
{
    if (m_nCount != 1)
        return;
    CPoint c = DrawingVertices()[0];
    CRect r(c.x - m_nRadius, c.y - m_nRadius, c.x + m_nRadius, c.y + m_nRadius);
    dc->MoveTo(r.left, (r.top + r.bottom) / 2);
    dc->LineTo(r.right, (r.top + r.bottom) / 2);
    dc->MoveTo((r.left + r.right) / 2, r.top);
    dc->LineTo((r.left + r.right) / 2, r.bottom);
    dc->Ellipse(&r);
}

void CODCirclePort::BuildRegion(CODRgn* region)
{
    if (region == NULL || m_nCount != 1)
        return;
    RefreshDrawingVertices();
    CPoint c = DrawingVertices()[0];
    int r = m_nRadius;
    CPoint square[4] = {CPoint(c.x - r, c.y - r), CPoint(c.x + r, c.y - r), CPoint(c.x + r, c.y + r),
                        CPoint(c.x - r, c.y + r)};
    region->SetPolygon(square, 4);
}
