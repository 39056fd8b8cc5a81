#include "ODLinkComponent.h"
#include <algorithm>
#include "ODEditProperties.h"
#include "ODGeometry.h"
#include "ODLabelComponent.h"
#include "ODOrientationProperties.h"
#include <math.h>
#include "ODPointComponent.h"
#include "ODProperty.h"
#include "ODTransform.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODLinkComponent, CODSymbolComponent, VERSIONABLE_SCHEMA | 1)

namespace {

BOOL BoolOf(CODComponent* c, int id, BOOL inherit)
{
    CODProperty* p = c ? c->FindProperty(id, inherit) : NULL;
    int value = 0;
    if (p)
        p->GetValue(value);
    return value != 0;
}

}  // namespace

CODLinkComponent::CODLinkComponent() : m_pLine(NULL)
{
    for (int end = 0; end < 2; ++end) {
        CODCirclePort* port = new CODCirclePort(this);
        port->SetVisible(FALSE);
        AddPort(port);
    }
    ApplyProperties(NULL);
}

CODLinkComponent::CODLinkComponent(const CODLinkComponent& other)
    : CODSymbolComponent(other), m_pLine(NULL)
{
    if (GetChildCount() > 0)
        m_pLine = DYNAMIC_DOWNCAST(CODLineComponent, GetChild(0));
}

void CODLinkComponent::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1;
    } else {
        DWORD version;
        ar >> version;
    }
    CODSymbolComponent::Serialize(ar);
    if (!ar.IsStoring())
        m_pLine = GetChildCount() > 0 ? DYNAMIC_DOWNCAST(CODLineComponent, GetChild(0)) : NULL;
}

void CODLinkComponent::ApplyProperties(CODPropertyList*)
{
    SetOrAddProperty(CODBoolProperty(70, TRUE));
    SetOrAddProperty(CODBoolProperty(100, TRUE));
}

// ---------------------------------------------------------------------------------------------
// Creation

BOOL CODLinkComponent::Finish(BOOL created, CODPortComponent* source, CODPortComponent* target,
                              BOOL unselectableEnds)
{
    if (!created)
        return FALSE;
    AppendChild(m_pLine);
    if (source)
        ConnectSource(source);
    if (target)
        ConnectTarget(target);
    ((CODCirclePort*)GetTargetPort())->Create(CPoint(0, 0), 3);
    ((CODCirclePort*)GetSourcePort())->Create(CPoint(0, 0), 3);
    if (unselectableEnds) {
        CODEditProperties edit(40);
        edit.SetCanSelect(FALSE);
        GetTargetPort()->SetOrAddProperty(edit);
        GetSourcePort()->SetOrAddProperty(edit);
    }
    RouteEnds();
    UpdateEndPorts();
    UpdateRegion(FALSE);
    return CODComponent::Create(IDS_OD_LINK);
}

BOOL CODLinkComponent::Create(const CArray<CPoint, CPoint>& points, CODPortComponent* source,
                              CODPortComponent* target)
{
    m_pLine = new CODLineComponent;
    return Finish(m_pLine->Create(points), source, target, TRUE);
}

BOOL CODLinkComponent::Create(const CPoint* points, int count, CODPortComponent* source,
                              CODPortComponent* target)
{
    m_pLine = new CODLineComponent;
    return Finish(m_pLine->Create(points, count), source, target, FALSE);
}

BOOL CODLinkComponent::Create(CODPortComponent* source, CODPortComponent* target)
{
    CArray<CPoint, CPoint> points;
    points.Add(source ? source->GetLocation() : CPoint(0, 0));
    points.Add(target ? target->GetLocation() : CPoint(0, 0));
    return Create(points, source, target);
}

// ---------------------------------------------------------------------------------------------
// Ends

CODConnection* CODLinkComponent::EndConnection(CODPortComponent* end)
{
    CODConnectionArray at;
    FindConnections(end, &at);
    return at.GetSize() > 0 ? at[0] : NULL;
}

CODComponent* CODLinkComponent::GetSourceComponent()
{
    CODConnection* c = EndConnection(GetSourcePort());
    CODPortComponent* farPort = c ? GetConnectedPort(c) : NULL;
    return farPort ? farPort->GetOwner() : NULL;
}

CODComponent* CODLinkComponent::GetTargetComponent()
{
    CODConnection* c = EndConnection(GetTargetPort());
    CODPortComponent* farPort = c ? GetConnectedPort(c) : NULL;
    return farPort ? farPort->GetOwner() : NULL;
}

CODConnection* CODLinkComponent::ConnectSource(CODPortComponent* port)
{
    return Connect(GetSourcePort(), port);
}

CODConnection* CODLinkComponent::ConnectTarget(CODPortComponent* port)
{
    return Connect(GetTargetPort(), port);
}

void CODLinkComponent::DisconnectSource()
{
    if (CODConnection* c = EndConnection(GetSourcePort()))
        RemoveConnection(c);
}

void CODLinkComponent::DisconnectTarget()
{
    if (CODConnection* c = EndConnection(GetTargetPort()))
        RemoveConnection(c);
}

BOOL CODLinkComponent::CanConnect(CODPortComponent* own, CODPortComponent* other)
{
    CODPortComponent* source = GetSourcePort();
    CODPortComponent* target = GetTargetPort();
    if (own == source || other == source)
        return EndConnection(source) == NULL;
    if (own == target || other == target)
        return EndConnection(target) == NULL;
    return TRUE;
}

void CODLinkComponent::OnConnect(CODConnection* connection)
{
    if (m_connections.IndexOf(connection) < 0)
        return;
    CODPortComponent* own = GetOwnPort(connection);
    if (own && (own == GetSourcePort() || own == GetTargetPort()))
        own->SetOrAddProperty(CODBoolProperty(80, FALSE));
    RouteEnds();
    UpdateEndPorts();
}

void CODLinkComponent::OnDisconnect(CODConnection* connection)
{
    CODPortComponent* own = GetOwnPort(connection);
    if (own && (own == GetSourcePort() || own == GetTargetPort()))
        own->SetOrAddProperty(CODBoolProperty(80, TRUE));
}

BOOL CODLinkComponent::FollowConnection(CODConnection* connection)
{
    if (m_connections.IndexOf(connection) < 0)
        return FALSE;
    RouteEnds();
    UpdateEndPorts();
    UpdateRegion(FALSE);
    return TRUE;
}

BOOL CODLinkComponent::OnFarEndMoved(CODConnection* connection)
{
    if (m_connections.IndexOf(connection) < 0)
        return FALSE;
    if (BoolOf(this, 70, TRUE)) {
        BOOL followed = FollowConnection(connection);
        connection->ClearStates();
        return followed;
    }
    if (!connection->IsCoincident())
        RemoveConnection(connection);
    return FALSE;
}

BOOL CODLinkComponent::OnFarEndRemoved(CODConnection* connection)
{
    if (m_connections.IndexOf(connection) < 0)
        return TRUE;
    if (BoolOf(this, 90, TRUE) && GetParent()) {
        GetParent()->RemoveChild(this);
        return FALSE;
    }
    return TRUE;
}

BOOL CODLinkComponent::MovePort(CODPortComponent* port, int dx, int dy)
{
    BOOL moved = CODSymbolComponent::MovePort(port, dx, dy);
    if (m_pLine) {
        int n = m_pLine->GetVertexCount();
        if (port == GetSourcePort())
            m_pLine->MoveVertex(0, dx, dy);
        else if (port == GetTargetPort())
            m_pLine->MoveVertex(n - 1, dx, dy);
        RouteEnds();
        UpdateEndPorts();
    }
    return moved;
}

void CODLinkComponent::OnTransformChanged()
{
    if (BoolOf(this, 100, TRUE)) {
        RouteEnds();
        UpdateEndPorts();
    } else {
        MarkAllFarEnds(1);
    }
    UpdateRegion(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Path

CPoint CODLinkComponent::GetVertex(int index)
{
    return m_pLine ? m_pLine->GetVertex(index) : CPoint(-1, -1);
}

CPoint CODLinkComponent::GetPointOnPath(int percent, int* first, int* second)
{
    if (m_pLine == NULL)
        return CPoint(0, 0);
    // A placement outside 0..100 names no segment: it is held to the path.
    percent = std::min(100, std::max(0, percent));
    CPoint pt = m_pLine->GetPointAtPercent(percent, first, second);
    if (m_pTransform)
        pt = m_pTransform->Transform(pt.x, pt.y);
    return pt;
}

// A label with a placement group 260 sits along the path: its position member is a percentage
// of the path, its x offset the label's anchor handle and its y offset a distance across.
CPoint CODLinkComponent::GetLabelPosition(CODLabelComponent* label)
{
    CODProperty* placement = label->FindProperty(260);
    CODOrientationProperties* group = DYNAMIC_DOWNCAST(CODOrientationProperties, placement);
    if (group == NULL)
        return CODSymbolComponent::GetLabelPosition(label);
    int i = -1, j = -1;
    CPoint pt = GetPointOnPath(group->GetPosition(), &i, &j);
    int count = GetVertexCount();
    if (i >= 0 && j >= 0 && i < count && j < count) {
        CPoint a = GetVertex(i), b = GetVertex(j);
        int angle = LineAngle(a.x, a.y, b.x, b.y);
        float theta = (1800 - angle) / 10.0f * (3.14159f / 180.0f);
        int distance = group->GetOffsetY();
        pt.x += (int)lroundf(sinf(theta) * distance);
        pt.y += (int)lroundf(cosf(theta) * distance);
    }
    CSize size = label->GetSize();
    pt -= GetHandlePoint(CRect(0, 0, size.cx, size.cy), group->GetOffsetX());
    return pt;
}

CPoint CODLinkComponent::ClipToOutline(CODComponent* component, CPoint end, CPoint neighbour)
{
    if (component == NULL)
        return end;
    return component->GetHitRegion()->GetBoundaryPoint(end, neighbour, 4);
}

void CODLinkComponent::UpdateEndPorts()
{
    if (m_pLine == NULL || m_pLine->GetVertexCount() < 2)
        return;
    int n = m_pLine->GetVertexCount();
    CODTransform t;
    GetFullTransform(t);
    CPoint* p = m_pLine->GetVertexData();
    GetSourcePort()->SetLocation(t.Transform(p[0].x, p[0].y));
    GetTargetPort()->SetLocation(t.Transform(p[n - 1].x, p[n - 1].y));
}

void CODLinkComponent::RouteEnds()
{
    if (m_pLine == NULL || m_pLine->GetVertexCount() < 2)
        return;
    int n = m_pLine->GetVertexCount();
    CPoint* p = m_pLine->GetVertexData();
    CODTransform t;
    GetFullTransform(t);
    p[0] = t.Transform(p[0].x, p[0].y);
    p[n - 1] = t.Transform(p[n - 1].x, p[n - 1].y);
    BOOL sourceAtCentre = FALSE, targetAtCentre = FALSE;
    CODComponent* sourceOwner = NULL;
    CODComponent* targetOwner = NULL;
    for (int i = 0; i < m_connections.GetSize(); ++i) {
        CODConnection* c = m_connections[i];
        if (c->GetSource() == NULL || c->GetTarget() == NULL)
            continue;
        CODPortComponent* own = GetOwnPort(c);
        CODPortComponent* farPort = GetConnectedPort(c);
        if (farPort == NULL)
            continue;
        if (own == GetTargetPort()) {
            p[n - 1] = farPort->GetLocation();
            targetAtCentre = farPort->IsCenterPort() != 0;
            targetOwner = farPort->GetOwner();
        } else if (own == GetSourcePort()) {
            p[0] = farPort->GetLocation();
            sourceAtCentre = farPort->IsCenterPort() != 0;
            sourceOwner = farPort->GetOwner();
        }
    }
    auto neighbour = [&](int i) {
        return n > 2 ? t.Transform(p[i].x, p[i].y) : p[i];
    };
    if (sourceAtCentre)
        p[0] = ClipToOutline(sourceOwner, p[0], neighbour(1));
    if (targetAtCentre)
        p[n - 1] = ClipToOutline(targetOwner, p[n - 1], neighbour(n - 2));
    p[0] = t.InverseTransform(p[0].x, p[0].y);
    p[n - 1] = t.InverseTransform(p[n - 1].x, p[n - 1].y);
}

int CODLinkComponent::OffsetVertex(int index, int dx, int dy)
{
    if (m_pLine == NULL)
        return 3;
    int n = m_pLine->GetVertexCount();
    if (index < 0 || index >= n)
        return 3;
    CODTransform t;
    GetFullTransform(t);
    CPoint* p = m_pLine->GetVertexData();
    p[index] = t.Transform(p[index].x, p[index].y);
    m_pLine->OffsetVertex(index, dx, dy);
    p = m_pLine->GetVertexData();
    p[index] = t.InverseTransform(p[index].x, p[index].y);
    if (n > 1 && (index == 1 || index == n - 2))
        RouteEnds();
    UpdateEndPorts();
    return 0;
}

int CODLinkComponent::MoveVertex(int index, int dx, int dy)
{
    int code = OffsetVertex(index, dx, dy);
    UpdateRegion(FALSE);
    return code;
}

void CODLinkComponent::OffsetVertices(int dx, int dy)
{
    if (m_pLine == NULL)
        return;
    m_pLine->OffsetVertices(dx, dy);
    UpdateEndPorts();
    UpdateRegion(FALSE);
}

int CODLinkComponent::GetVertexArray(CArray<CPoint, CPoint>* points)
{
    return m_pLine ? m_pLine->GetVertexArray(points) : 0;
}

int CODLinkComponent::CopyVertices(CPoint* points)
{
    return m_pLine ? m_pLine->CopyVertices(points) : 0;
}

void CODLinkComponent::SetVertexArray(const CArray<CPoint, CPoint>* points)
{
    if (m_pLine == NULL)
        return;
    m_pLine->SetVertexArray(points);
    RouteEnds();
    UpdateEndPorts();
    UpdateRegion(FALSE);
}

void CODLinkComponent::SetVertices(const CPoint* points, int count)
{
    if (m_pLine == NULL)
        return;
    m_pLine->SetVertices(points, count);
    RouteEnds();
    UpdateEndPorts();
    UpdateRegion(FALSE);
}

int CODLinkComponent::GetVertexCount()
{
    return m_pLine ? m_pLine->GetVertexCount() : 0;
}

void CODLinkComponent::GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices)
{
    handles.RemoveAll();
    if (m_pLine)
        m_pLine->GetHandles(handles, vertices);
}

void CODLinkComponent::GetVertices(CArray<CPoint, CPoint>& points, int flag)
{
    points.RemoveAll();
    if (m_pLine)
        m_pLine->GetVertices(points, flag);
}

BOOL CODLinkComponent::CanAddVertex()
{
    return m_pLine ? m_pLine->CanAddVertex() : FALSE;
}

BOOL CODLinkComponent::CanRemoveVertex()
{
    return m_pLine ? m_pLine->CanRemoveVertex() : FALSE;
}

// ---------------------------------------------------------------------------------------------
// The edge interface: a link is never a node.

HRESULT CODLinkComponent::QueryInterface(REFIID iid, void** out)
{
    if (out != NULL && IsEqualGUID(iid, IID_IODGraphEdge)) {
        AddRef();
        *out = static_cast<IODGraphEdge*>(&m_xGraphEdge);
        return S_OK;
    }
    if (IsEqualGUID(iid, IID_IODGraphNode)) {
        if (out)
            *out = NULL;
        return E_NOINTERFACE;
    }
    return CODComponent::QueryInterface(iid, out);
}

namespace {
IODGraphNode* NodeOf(CODComponent* component)
{
    void* node = NULL;
    if (component == NULL || FAILED(component->QueryInterface(IID_IODGraphNode, &node)))
        return NULL;
    return (IODGraphNode*)node;
}
}  // namespace

int CODLinkComponent::XGraphEdge::GetNodes(IODGraphNode** source, IODGraphNode** target)
{
    int count = 0;
    IODGraphNode** outs[2] = {source, target};
    CODComponent* ends[2] = {m_pLink->GetSourceComponent(), m_pLink->GetTargetComponent()};
    for (int i = 0; i < 2; ++i) {
        if (outs[i])
            *outs[i] = NULL;
        IODGraphNode* node = NodeOf(ends[i]);
        if (node == NULL)
            continue;
        ++count;
        if (outs[i])
            *outs[i] = node;
        else
            node->Release();
    }
    return count;
}

IODGraphNode* CODLinkComponent::XGraphEdge::GetSourceNode()
{
    return NodeOf(m_pLink->GetSourceComponent());
}

IODGraphNode* CODLinkComponent::XGraphEdge::GetTargetNode()
{
    return NodeOf(m_pLink->GetTargetComponent());
}
