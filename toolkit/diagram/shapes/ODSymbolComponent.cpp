#include "ODSymbolComponent.h"
#include <limits.h>
#include <algorithm>
#include <vector>
#include "ODEditProperties.h"
#include "ODGeometry.h"
#include "ODLabelComponent.h"
#include "ODOrientationProperties.h"
#include "ODSpatialIndex.h"
#include <math.h>
#include "ODProperty.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODConnection, CObject, 0)
IMPLEMENT_SERIAL(CODSymbolComponent, CODComponent, VERSIONABLE_SCHEMA | 2)

namespace {

// A Bool property's value, FALSE when there is none.
BOOL BoolValue(CODComponent* c, int id, BOOL inherit)
{
    CODProperty* p = c ? c->FindProperty(id, inherit) : NULL;
    if (p == NULL)
        return FALSE;
    int value = 0;
    p->GetValue(value);
    return value != 0;
}

// Connections read and not taken, while readings are open on this thread.
thread_local int t_sweepDepth = 0;
thread_local std::vector<CODConnection*> t_notTaken;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Connection

CODConnectionSweep::CODConnectionSweep()
{
    ++t_sweepDepth;
}

CODConnectionSweep::~CODConnectionSweep()
{
    if (--t_sweepDepth > 0)
        return;
    std::vector<CODConnection*> left;
    left.swap(t_notTaken);
    for (CODConnection* connection : left)
        delete connection;
}

void CODConnectionSweep::NotTaken(CODConnection* connection)
{
    if (t_sweepDepth > 0 &&
        std::find(t_notTaken.begin(), t_notTaken.end(), connection) == t_notTaken.end())
        t_notTaken.push_back(connection);
}

void CODConnectionSweep::Taken(CODConnection* connection)
{
    auto at = std::find(t_notTaken.begin(), t_notTaken.end(), connection);
    if (at != t_notTaken.end())
        t_notTaken.erase(at);
}

CODConnection::~CODConnection()
{
    CODConnectionSweep::Taken(this);
    SetSource(NULL);
    SetTarget(NULL);
}

void CODConnection::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar.WriteObject(m_pSource);
        ar.WriteObject(m_pTarget);
        ar << (DWORD)0;
    } else {
        CODPortComponent* source =
            (CODPortComponent*)ar.ReadObject(RUNTIME_CLASS(CODPortComponent));
        SetSource(source);
        CODPortComponent* target =
            (CODPortComponent*)ar.ReadObject(RUNTIME_CLASS(CODPortComponent));
        SetTarget(target);
        DWORD reserved;
        ar >> reserved;
    }
}

void CODConnection::SetSource(CODPortComponent* port)
{
    if (port)
        port->AddRef();
    if (m_pSource)
        m_pSource->Release();
    m_pSource = port;
}

void CODConnection::SetTarget(CODPortComponent* port)
{
    if (port)
        port->AddRef();
    if (m_pTarget)
        m_pTarget->Release();
    m_pTarget = port;
}

BOOL CODConnection::GetFarFollow(CODPortComponent* port)
{
    if (port == NULL)
        return FALSE;
    if (port == m_pTarget)
        return GetSourceFollow();
    if (port == m_pSource)
        return GetTargetFollow();
    return FALSE;
}

BOOL CODConnection::GetTargetFollow()
{
    return m_pTarget ? BoolValue(m_pTarget->GetOwner(), 70, FALSE) : FALSE;
}

BOOL CODConnection::GetSourceFollow()
{
    return m_pSource ? BoolValue(m_pSource->GetOwner(), 70, FALSE) : FALSE;
}

BOOL CODConnection::SetEndState(CODPortComponent* port, int state)
{
    if (port == NULL)
        return FALSE;
    if (port == m_pSource)
        return SetSourceState(state);
    if (port == m_pTarget)
        return SetTargetState(state);
    return FALSE;
}

BOOL CODConnection::NotifyEnd(CODPortComponent* port)
{
    if (port == NULL)
        return FALSE;
    if (port == m_pSource)
        return NotifySource();
    if (port == m_pTarget)
        return NotifyTarget();
    return FALSE;
}

BOOL CODConnection::Notify(CODPortComponent* port, int state)
{
    CODSymbolComponent* owner = CODSymbolComponent::OwnerOf(port);
    if (owner == NULL)
        return FALSE;
    if (state == 1)
        return owner->OnFarEndMoved(this);
    if (state == 2)
        return owner->OnFarEndRemoved(this);
    return FALSE;
}

BOOL CODConnection::NotifySource()
{
    return Notify(m_pSource, m_nSourceState);
}

BOOL CODConnection::NotifyTarget()
{
    return Notify(m_pTarget, m_nTargetState);
}

BOOL CODConnection::IsCoincident()
{
    return m_pSource && m_pTarget && m_pSource->GetLocation() == m_pTarget->GetLocation();
}

BOOL CODPortComponent::CanConnectTo(CODPortComponent* other)
{
    CODSymbolComponent* owner = CODSymbolComponent::OwnerOf(this);
    return owner ? owner->CanConnect(this, other) : FALSE;
}

// ---------------------------------------------------------------------------------------------
// Connection map

CODConnectionMap::~CODConnectionMap()
{
    ClearInternalStates();
    RemoveAll();
}

void CODConnectionMap::Set(CODConnection* connection, CODPortComponent* port)
{
    void* value;
    if (!Lookup(connection, value))
        SetAt(connection, port);
    else if (value != port)
        SetAt(connection, NULL);
}

BOOL CODConnectionMap::Contains(CODConnection* connection, CODPortComponent* port)
{
    void* value;
    return Lookup(connection, value) && (value == NULL || value == port);
}

void CODConnectionMap::AddSymbol(CODSymbolComponent* symbol)
{
    if (symbol == NULL)
        return;
    CODConnectionArray connections;
    symbol->GetConnections(&connections);
    for (int i = 0; i < connections.GetSize(); ++i)
        Set(connections[i], symbol->GetOwnPort(connections[i]));
}

int CODConnectionMap::AddSymbols(CODComponentSet* set)
{
    if (set == NULL)
        return 0;
    for (int i = 0; i < set->GetSize(); ++i)
        AddSymbol(DYNAMIC_DOWNCAST(CODSymbolComponent, (*set)[i]));
    return (int)set->GetSize();
}

void CODConnectionMap::CollectLinks(CODComponentSet* set)
{
    auto add = [set](CODPortComponent* port) {
        CODComponent* owner = port ? port->GetOwner() : NULL;
        if (owner && set->IndexOf(owner) < 0)
            set->Add(owner);
    };
    for (POSITION at = GetStartPosition(); at;) {
        void* key;
        void* value;
        GetNextAssoc(at, key, value);
        CODConnection* connection = (CODConnection*)key;
        if (value)
            add((CODPortComponent*)value);
        else {
            add(connection->GetSource());
            add(connection->GetTarget());
        }
    }
}

void CODConnectionMap::ClearInternalStates()
{
    for (POSITION at = GetStartPosition(); at;) {
        void* key;
        void* value;
        GetNextAssoc(at, key, value);
        if (value == NULL)
            ((CODConnection*)key)->ClearStates();
    }
}

// ---------------------------------------------------------------------------------------------
// Symbol: construction and loading

CODSymbolComponent::CODSymbolComponent() : m_pCenterPort(NULL)
{
    CreateCenterPort();
    m_pCenterPort->SetCenterPort(1);
}

CODSymbolComponent::CODSymbolComponent(const CODSymbolComponent& other)
    : CODComponent(other), m_pCenterPort(NULL)
{
    CreateCenterPort();
    m_pCenterPort->SetCenterPort(1);
    if (other.m_pCenterPort) {
        m_pCenterPort->Release();
        m_pCenterPort = new CODCirclePort(*other.m_pCenterPort);
        m_pCenterPort->AddRef();
        m_pCenterPort->SetOwner(this);
    }
    for (int i = 0; i < other.m_ports.GetSize(); ++i)
        AddPort((CODPortComponent*)other.m_ports[i]->Clone());
    for (int i = 0; i < other.m_labels.GetSize(); ++i)
        AddLabel((CODLabelComponent*)other.m_labels[i]->Clone());
}

CODSymbolComponent::~CODSymbolComponent()
{
    Empty();
}

// Drops connections, ports, the centre port and the labels.
void CODSymbolComponent::Empty()
{
    RemoveAllConnections();
    RemoveAllPorts();
    if (m_pCenterPort) {
        m_pCenterPort->SetOwner(NULL);
        m_pCenterPort->Release();
        m_pCenterPort = NULL;
    }
    RemoveAllLabels();
}

CODPortComponent* CODSymbolComponent::CreateCenterPort()
{
    m_pCenterPort = new CODCirclePort(this);
    m_pCenterPort->AddRef();
    return m_pCenterPort;
}

BOOL CODSymbolComponent::Create()
{
    if (m_pCenterPort)
        m_pCenterPort->Create(CPoint(0, 0), 3);
    return CODComponent::Create(IDS_OD_SYMBOL);
}

BOOL CODSymbolComponent::Create(CODComponentSet* children)
{
    return CODComponent::Create(children);
}

BOOL CODSymbolComponent::LoadFromFile(LPCTSTR path)
{
    CFile file(path, CFile::modeRead | CFile::shareDenyWrite);
    CArchive ar(&file, CArchive::load, 4096);
    Serialize(ar);
    return TRUE;
}

void CODSymbolComponent::Serialize(CArchive& ar)
{
    // Held over the children's records too: a connection this record does not take may be
    // taken by a symbol among them.
    CODConnectionSweep sweep;
    if (ar.IsStoring()) {
        ar << (LONG)-1 << (DWORD)2;
        ar << (int)m_labels.GetSize();
        for (int i = 0; i < m_labels.GetSize(); ++i)
            ar.WriteObject(m_labels[i]);
        ar << (int)m_ports.GetSize();
        for (int i = 0; i < m_ports.GetSize(); ++i)
            ar.WriteObject(m_ports[i]);
        ar.WriteObject(m_pCenterPort);
        ar << (int)m_connections.GetSize();
        for (int i = 0; i < m_connections.GetSize(); ++i)
            ar.WriteObject(m_connections[i]);
    } else {
        Empty();
        // Every element a symbol lists is its own: one that already has an owner (or a
        // parent), or a NULL entry, comes only from a damaged stream.
        auto refuse = [&ar]() { AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName); };
        LONG first;
        ar >> first;
        int labels = first;
        if (first == -1) {
            DWORD version;
            ar >> version >> labels;
        }
        if (labels < 0)
            refuse();
        AfxCheckStoredCount(ar, labels, 1);
        for (int i = 0; i < labels; ++i) {
            CODLabelComponent* label =
                (CODLabelComponent*)ar.ReadObject(RUNTIME_CLASS(CODLabelComponent));
            if (label == NULL || label->GetOwner() != NULL || !AddLabel(label))
                refuse();
        }
        int ports;
        ar >> ports;
        if (ports < 0)
            refuse();
        AfxCheckStoredCount(ar, ports, 1);
        for (int i = 0; i < ports; ++i) {
            CODPortComponent* port = (CODPortComponent*)ar.ReadObject(RUNTIME_CLASS(CODPortComponent));
            if (port == NULL || port->GetOwner() != NULL || port->GetParent() != NULL || !AddPort(port))
                refuse();
        }
        CODCirclePort* centre = (CODCirclePort*)ar.ReadObject(RUNTIME_CLASS(CODCirclePort));
        if (centre) {
            if (centre->GetOwner() != NULL || centre->GetParent() != NULL)
                refuse();
            centre->AddRef();
            centre->SetOwner(this);
            m_pCenterPort = centre;
        }
        int count;
        ar >> count;
        if (count < 0)
            refuse();
        AfxCheckStoredCount(ar, count, 1);
        for (int i = 0; i < count; ++i) {
            CODConnection* connection = (CODConnection*)ar.ReadObject(RUNTIME_CLASS(CODConnection));
            if (connection == NULL)
                refuse();
            // Only a connection from one of this symbol's ports to a port of another owner is
            // kept: one naming no port, two ports of this symbol, or none of them joins nothing
            // here. Such a one may be shared with a record still to be read, so it is left to
            // the sweep of the reading rather than deleted at once.
            CODPortComponent* s = connection->GetSource();
            CODPortComponent* t = connection->GetTarget();
            if (s == NULL || t == NULL || s == t || (s->GetOwner() == this) == (t->GetOwner() == this)) {
                CODSymbolComponent* a = OwnerOf(s);
                CODSymbolComponent* b = OwnerOf(t);
                if ((a == NULL || a->m_connections.IndexOf(connection) < 0) &&
                    (b == NULL || b->m_connections.IndexOf(connection) < 0) &&
                    m_connections.IndexOf(connection) < 0)
                    CODConnectionSweep::NotTaken(connection);
                continue;
            }
            CODConnectionSweep::Taken(connection);
            AddConnectionEntry(connection);
        }
        // The centre port keeps its stored Bool 80: its property objects may be shared with
        // records still to be read, so they are not replaced while loading.
    }
    CODComponent::Serialize(ar);
}

CODSymbolComponent* CODSymbolComponent::OwnerOf(CODPortComponent* port)
{
    return port ? DYNAMIC_DOWNCAST(CODSymbolComponent, port->GetOwner()) : NULL;
}

void CODSymbolComponent::InitChildEditProperties(CODComponent* child)
{
    CODEditProperties edit(40);
    child->GetProperty(40, edit);
    edit.SetCanSelect(FALSE);
    child->SetOrAddProperty(edit);
}

// ---------------------------------------------------------------------------------------------
// Ports

BOOL CODSymbolComponent::AddPort(CODPortComponent* port)
{
    // A port has one owner: one held by another symbol (or placed as a component of its own)
    // would be released twice.
    if (port == NULL || m_ports.IndexOf(port) >= 0 || (port->GetOwner() != NULL && port->GetOwner() != this) ||
        port->GetParent() != NULL)
        return FALSE;
    m_ports.Add(port);
    port->AddRef();
    port->SetOwner(this);
    UpdateCenterPort();
    return TRUE;
}

// A port leaving its symbol takes its connections with it: a connection naming an ownerless
// port could no longer be told anything or be removed from the far owner.
BOOL CODSymbolComponent::RemovePortAt(int index)
{
    CODPortComponent* port = GetPort(index);
    if (port == NULL)
        return FALSE;
    CODConnectionArray joined;
    FindConnections(port, &joined);
    for (int i = 0; i < joined.GetSize(); ++i)
        RemoveConnection(joined[i]);
    m_ports.RemoveAt(index, 1);
    port->SetOwner(NULL);
    port->Release();
    UpdateCenterPort();
    return TRUE;
}

void CODSymbolComponent::RemoveAllPorts()
{
    while (m_ports.GetSize() > 0)
        if (!RemovePortAt(0))
            m_ports.RemoveAt(0, 1);
}

int CODSymbolComponent::GetPorts(CODComponentSet* set)
{
    for (int i = 0; set && i < m_ports.GetSize(); ++i)
        set->Add(m_ports[i]);
    return (int)m_ports.GetSize();
}

CODPortComponent* CODSymbolComponent::GetPort(int index) const
{
    return index >= 0 && index < m_ports.GetSize() ? m_ports[index] : NULL;
}

void CODSymbolComponent::SetPortsVisible(BOOL visible)
{
    for (int i = 0; i < m_ports.GetSize(); ++i)
        m_ports[i]->SetVisible(visible);
}

void CODSymbolComponent::DrawPorts(CDC* dc)
{
    for (int i = 0; i < m_ports.GetSize(); ++i)
        m_ports[i]->Draw(dc);
}

void CODSymbolComponent::SetCenterPortEnabled(BOOL enabled)
{
    if (m_pCenterPort)
        m_pCenterPort->SetOrAddProperty(CODBoolProperty(80, enabled));
}

void CODSymbolComponent::UpdateCenterPort()
{
    if (m_pCenterPort)
        SetCenterPortEnabled(GetPortCount() <= 0);
}

CODPortComponent* CODSymbolComponent::FindPortAt(const CPoint* pt, int tolerance)
{
    if (pt == NULL)
        return NULL;
    CODPortComponent* best = NULL;
    int bestDistance = INT_MAX;
    for (int i = 0; i < m_ports.GetSize(); ++i) {
        CODPortComponent* port = m_ports[i];
        CODProperty* enabled = port->FindProperty(80, FALSE);
        if (enabled && !BoolValue(port, 80, FALSE))
            continue;
        if (!port->HitTestPort(pt, tolerance))
            continue;
        CPoint at = port->GetLocation();
        int d = PointDistance(at.x, at.y, pt->x, pt->y);
        if (d < bestDistance) {
            best = port;
            bestDistance = d;
        }
    }
    if (m_pCenterPort == NULL)
        return best;
    if (m_pCenterPort->FindProperty(80, FALSE) && !BoolValue(m_pCenterPort, 80, FALSE))
        return best;
    CRect bounds = GetBounds();
    if (best == NULL && pt->x >= bounds.left && pt->x <= bounds.right && pt->y >= bounds.top &&
        pt->y <= bounds.bottom)
        return m_pCenterPort;
    if (m_pCenterPort->HitTestPort(pt, tolerance)) {
        CPoint at = m_pCenterPort->GetLocation();
        if (PointDistance(at.x, at.y, pt->x, pt->y) < bestDistance)
            return m_pCenterPort;
    }
    return best;
}

BOOL CODSymbolComponent::MovePort(CODPortComponent* port, int dx, int dy)
{
    if (port == NULL)
        return FALSE;
    port->SetLocation(port->GetLocation() + CPoint(dx, dy));
    MarkFarEnds(port, 1);
    CODConnectionMap map;
    map.AddSymbol(this);
    UpdateConnectedLinks(&map);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Drawing and region

void CODSymbolComponent::OnDraw(CDC* dc)
{
    CODComponent::OnDraw(dc);
    DrawPorts(dc);
}

CODRgn* CODSymbolComponent::RecalcRegion()
{
    m_rcPrevious = m_rcBounds;
    PushTransform();
    BuildRegion(&m_bodyRegion);
    m_rcExtent = GetOwnExtent();
    for (int i = 0; i < m_children.GetSize(); ++i) {
        m_bodyRegion.Append(*m_children[i]->RecalcRegion());
        m_rcExtent = ODUnionRect(m_rcExtent, m_children[i]->GetExtent());
    }
    for (int i = 0; i < m_ports.GetSize(); ++i) {
        m_bodyRegion.Append(*m_ports[i]->RecalcRegion());
        m_rcExtent = ODUnionRect(m_rcExtent, m_ports[i]->GetExtent());
    }
    if (m_pCenterPort) {
        CPoint centre = m_bodyRegion.GetBounds().CenterPoint();
        m_pCenterPort->RecalcRegion();
        if (m_pCenterPort->GetLocation() != centre) {
            m_pCenterPort->SetLocation(centre);
            MarkFarEnds(m_pCenterPort, 1);
        }
    }
    PopTransform();
    m_region = m_bodyRegion;
    for (int i = 0; i < m_labels.GetSize(); ++i)
        m_region.Append(*m_labels[i]->RecalcRegion());
    m_rcBounds = m_region.GetBounds();
    return &m_region;
}

// ---------------------------------------------------------------------------------------------
// Connections

int CODSymbolComponent::GetConnections(CODConnectionArray* connections)
{
    for (int i = 0; connections && i < m_connections.GetSize(); ++i)
        connections->Add(m_connections[i]);
    return (int)m_connections.GetSize();
}

CODConnection* CODSymbolComponent::FindConnection(CODPortComponent* a, CODPortComponent* b)
{
    for (int i = 0; i < m_connections.GetSize(); ++i)
        if (m_connections[i]->GetSource() == a && m_connections[i]->GetTarget() == b)
            return m_connections[i];
    return NULL;
}

void CODSymbolComponent::FindConnections(CODPortComponent* port, CODConnectionArray* connections)
{
    for (int i = 0; i < m_connections.GetSize(); ++i)
        if (m_connections[i]->GetSource() == port || m_connections[i]->GetTarget() == port)
            connections->Add(m_connections[i]);
}

void CODSymbolComponent::GetConnectionsTo(CODComponent* component, CODConnectionArray* connections)
{
    for (int i = 0; i < m_connections.GetSize(); ++i) {
        CODPortComponent* farEnd = GetConnectedPort(m_connections[i]);
        if (farEnd && farEnd->GetOwner() == component)
            connections->Add(m_connections[i]);
    }
}

CODPortComponent* CODSymbolComponent::GetOwnPort(CODConnection* c)
{
    if (c == NULL)
        return NULL;
    if (c->GetSource() && c->GetSource()->GetOwner() == this)
        return c->GetSource();
    if (c->GetTarget() && c->GetTarget()->GetOwner() == this)
        return c->GetTarget();
    return NULL;
}

BOOL CODSymbolComponent::IsSourceOf(CODConnection* c)
{
    return c && c->GetSource() && c->GetSource()->GetOwner() == this;
}

CODPortComponent* CODSymbolComponent::GetConnectedPort(CODConnection* c)
{
    if (c == NULL)
        return NULL;
    if (c->GetSource() && c->GetSource()->GetOwner() != this)
        return c->GetSource();
    if (c->GetTarget() && c->GetTarget()->GetOwner() != this)
        return c->GetTarget();
    return NULL;
}

void CODSymbolComponent::MarkFarEnds(CODPortComponent* port, int state)
{
    for (int i = 0; i < m_connections.GetSize(); ++i) {
        if (m_connections[i]->GetSource() == port)
            m_connections[i]->SetTargetState(state);
        if (m_connections[i]->GetTarget() == port)
            m_connections[i]->SetSourceState(state);
    }
}

void CODSymbolComponent::MarkAllFarEnds(int state)
{
    for (int i = 0; i < m_connections.GetSize(); ++i)
        m_connections[i]->SetEndState(GetConnectedPort(m_connections[i]), state);
    for (int i = 0; i < m_children.GetSize(); ++i)
        if (CODSymbolComponent* child = DYNAMIC_DOWNCAST(CODSymbolComponent, m_children[i]))
            child->MarkAllFarEnds(state);
}

void CODSymbolComponent::RemoveAllConnections()
{
    for (int i = (int)m_connections.GetSize() - 1; i >= 0; --i)
        RemoveConnection(m_connections[i]);
}

int CODSymbolComponent::DisconnectAllExcept(CODComponentSet* keep)
{
    int removed = 0;
    for (int i = (int)m_connections.GetSize() - 1; i >= 0; --i) {
        if (i >= m_connections.GetSize())
            continue;
        CODPortComponent* farEnd = GetConnectedPort(m_connections[i]);
        if (farEnd && keep && keep->IndexOf(farEnd->GetOwner()) >= 0)
            continue;
        RemoveConnection(m_connections[i]);
        ++removed;
    }
    return removed;
}

void CODSymbolComponent::RegisterAllConnections()
{
    for (int i = 0; i < m_connections.GetSize(); ++i)
        RegisterWithFarEnd(m_connections[i]);
}

void CODSymbolComponent::UnregisterAllConnections()
{
    for (int i = 0; i < m_connections.GetSize(); ++i)
        UnregisterFromFarEnd(m_connections[i]);
}

void CODSymbolComponent::UpdateConnectedLinks(CODConnectionMap* map)
{
    if (map == NULL)
        return;
    CCArray_T<CODSymbolComponent*, CODSymbolComponent*> told;
    CODConnectionArray connections;
    GetConnections(&connections);
    for (int i = 0; i < connections.GetSize(); ++i) {
        CODConnection* c = connections[i];
        CODPortComponent* farEnd = GetConnectedPort(c);
        CODSymbolComponent* owner = OwnerOf(farEnd);
        if (owner == NULL || map->Contains(c, farEnd))
            continue;
        if (c->NotifyEnd(farEnd)) {
            map->Set(c, farEnd);
            if (told.IndexOf(owner) < 0)
                told.Add(owner);
        }
    }
    for (int i = 0; i < told.GetSize(); ++i)
        told[i]->UpdateConnectedLinks(map);
    for (int i = 0; i < m_children.GetSize(); ++i)
        if (CODSymbolComponent* child = DYNAMIC_DOWNCAST(CODSymbolComponent, m_children[i]))
            child->UpdateConnectedLinks(map);
}

BOOL CODSymbolComponent::FollowConnection(CODConnection* connection)
{
    if (m_connections.IndexOf(connection) < 0)
        return FALSE;
    CODPortComponent* own = GetOwnPort(connection);
    CODPortComponent* farEnd = GetConnectedPort(connection);
    if (own == NULL || farEnd == NULL)
        return FALSE;
    CPoint d = farEnd->GetLocation() - own->GetLocation();
    Translate(d.x, d.y);
    return TRUE;
}

void CODSymbolComponent::CollectConnected(CODComponentSet* set)
{
    for (int i = 0; i < m_connections.GetSize(); ++i) {
        CODSymbolComponent* owner = OwnerOf(GetConnectedPort(m_connections[i]));
        if (owner && set->IndexOf(owner) < 0) {
            set->Add(owner);
            owner->CollectConnected(set);
        }
    }
    for (int i = 0; i < m_children.GetSize(); ++i)
        if (CODSymbolComponent* child = DYNAMIC_DOWNCAST(CODSymbolComponent, m_children[i]))
            child->CollectConnected(set);
}

void CODSymbolComponent::CollectFollowers(CODComponentSet* set)
{
    for (int i = 0; i < m_connections.GetSize(); ++i) {
        CODConnection* c = m_connections[i];
        CODSymbolComponent* owner = OwnerOf(GetConnectedPort(c));
        if (owner == NULL || set->IndexOf(owner) >= 0)
            continue;
        if (GetChildIndex(owner) < 0)
            set->Add(owner);
        if (c->GetFarFollow(GetOwnPort(c)))
            owner->CollectFollowers(set);
    }
    for (int i = 0; i < m_children.GetSize(); ++i)
        if (CODSymbolComponent* child = DYNAMIC_DOWNCAST(CODSymbolComponent, m_children[i]))
            child->CollectFollowers(set);
}

// Two ports of one owner are refused: the connection would enter that owner's list twice.
CODConnection* CODSymbolComponent::Connect(CODPortComponent* a, CODPortComponent* b)
{
    if (a == NULL || b == NULL || a == b || FindConnection(a, b))
        return NULL;
    CODSymbolComponent* farEnd = OwnerOf(b);
    if (farEnd == NULL || farEnd == OwnerOf(a) || !a->CanConnectTo(b) || !b->CanConnectTo(a))
        return NULL;
    CODConnection* connection = new CODConnection;
    connection->SetSource(a);
    connection->SetTarget(b);
    AddConnectionEntry(connection);
    farEnd->AddConnectionEntry(connection);
    OnConnect(connection);
    farEnd->OnConnect(connection);
    return connection;
}

void CODSymbolComponent::DisconnectFrom(CODComponent* component)
{
    CODConnectionArray joined;
    GetConnectionsTo(component, &joined);
    for (int i = 0; i < joined.GetSize(); ++i)
        RemoveConnection(joined[i]);
}

void CODSymbolComponent::RemoveConnection(CODConnection* connection)
{
    if (connection == NULL)
        return;
    CODSymbolComponent* farEnd = OwnerOf(GetConnectedPort(connection));
    OnDisconnect(connection);
    RemoveConnectionEntry(connection);
    if (farEnd && farEnd != this && farEnd->m_connections.IndexOf(connection) >= 0) {
        farEnd->OnDisconnect(connection);
        farEnd->RemoveConnectionEntry(connection);
    }
    delete connection;
}

void CODSymbolComponent::Disconnect(CODPortComponent* a, CODPortComponent* b)
{
    RemoveConnection(FindConnection(a, b));
}

int CODSymbolComponent::AddConnectionEntry(CODConnection* connection)
{
    int at = m_connections.IndexOf(connection);
    if (at >= 0)
        return at;
    return (int)m_connections.Add(connection);
}

void CODSymbolComponent::RemoveConnectionEntry(CODConnection* connection)
{
    m_connections.Remove(connection);
}

void CODSymbolComponent::RegisterWithFarEnd(CODConnection* connection)
{
    if (CODSymbolComponent* farEnd = OwnerOf(GetConnectedPort(connection)))
        farEnd->AddConnectionEntry(connection);
}

void CODSymbolComponent::UnregisterFromFarEnd(CODConnection* connection)
{
    if (CODSymbolComponent* farEnd = OwnerOf(GetConnectedPort(connection)))
        farEnd->RemoveConnectionEntry(connection);
}

BOOL CODSymbolComponent::OnFarEndMoved(CODConnection* connection)
{
    if (m_connections.IndexOf(connection) < 0)
        return FALSE;
    if (BoolValue(this, 70, TRUE))
        return FollowConnection(connection);
    if (!connection->IsCoincident())
        RemoveConnection(connection);
    return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Life in the drawing

void CODSymbolComponent::OnAttach(CODComponent* parent)
{
    if (parent) {
        int at = parent->GetChildIndex(this);
        for (int i = 0; i < m_labels.GetSize(); ++i) {
            CODLabelComponent* label = m_labels[i];
            if (parent->GetChildIndex(label) >= 0)
                continue;
            // Right after the symbol, in label order.
            if (at >= 0)
                parent->InsertChild(label, ++at);
            else
                parent->AppendChild(label);
        }
    }
    RegisterAllConnections();
}

void CODSymbolComponent::OnDetach(CODComponent* parent)
{
    CODConnectionMap map;
    map.AddSymbol(this);
    MarkAllFarEnds(2);
    UpdateConnectedLinks(&map);
    UnregisterAllConnections();
    if (parent == NULL)
        return;
    // The labels leave the parent with the symbol but stay in the list for a re-attachment;
    // the owner is cleared meanwhile so that the label does not let go of its place.
    for (int i = 0; i < m_labels.GetSize(); ++i) {
        CODLabelComponent* label = m_labels[i];
        int index = parent->GetChildIndex(label);
        if (index < 0)
            continue;
        label->AddRef();
        label->SetOwner(NULL);
        parent->RemoveChildAt(index);
        label->SetOwner(this);
        label->Release();
    }
}

void CODSymbolComponent::OnTransformChanged()
{
    UpdateRegion(TRUE);
    MarkAllFarEnds(1);
}

void CODSymbolComponent::OnGrouped(CODComponent* group)
{
    if (DYNAMIC_DOWNCAST(CODSymbolComponent, group))
        return;
    DisconnectAllExcept(group ? group->GetChildren() : NULL);
}

// ---------------------------------------------------------------------------------------------
// Labels

BOOL CODSymbolComponent::AddLabel(CODLabelComponent* label)
{
    return InsertLabel(label, (int)m_labels.GetSize());
}

CODLabelComponent* CODSymbolComponent::AddLabel(LPCTSTR text, CODComponent* owner, CDC* dc)
{
    CODLabelComponent* label = new CODLabelComponent;
    label->SetOwner(owner);
    label->SetText(text);
    CDC temp;
    if (dc == NULL && temp.CreateCompatibleDC(NULL))
        dc = &temp;
    if (dc) {
        label->UpdateLogicalUnits(dc);
        label->SizeToText(8, dc);
    }
    if (!AddLabel(label)) {
        delete label;
        return NULL;
    }
    return label;
}

BOOL CODSymbolComponent::InsertLabel(CODLabelComponent* label, int index)
{
    if (label == NULL || m_labels.IndexOf(label) >= 0 || index < 0 || index > m_labels.GetSize())
        return FALSE;
    m_labels.InsertAt(index, label);
    label->AddRef();
    if (label->GetOwner() != this)
        label->SetOwner(this);
    CODComponent* parent = GetParent();
    if (parent && parent->GetChildIndex(label) < 0)
        parent->AppendChild(label);
    return TRUE;
}

BOOL CODSymbolComponent::RemoveLabel(CODLabelComponent* label)
{
    int index = m_labels.IndexOf(label);
    return index >= 0 && RemoveLabelAt(index);
}

BOOL CODSymbolComponent::RemoveLabelAt(int index)
{
    if (index < 0 || index >= m_labels.GetSize() || m_labels[index] == NULL)
        return FALSE;
    CODLabelComponent* label = m_labels[index];
    m_labels.RemoveAt(index, 1);
    // A label kept alive elsewhere (a command) must not reach this symbol once it is gone.
    if (label->GetOwner() == this)
        label->SetOwner(NULL);
    CODComponent* parent = GetParent();
    int child = parent ? parent->GetChildIndex(label) : -1;
    if (child >= 0)
        parent->RemoveChildAt(child);
    label->Release();
    return TRUE;
}

void CODSymbolComponent::RemoveAllLabels()
{
    while (m_labels.GetSize() > 0)
        if (!RemoveLabelAt(0))
            m_labels.RemoveAt(0, 1);
}

CODLabelComponent* CODSymbolComponent::GetLabel(int index) const
{
    return index >= 0 && index < m_labels.GetSize() ? m_labels[index] : NULL;
}

CPoint CODSymbolComponent::GetLabelPosition(CODLabelComponent* label)
{
    CODOrientationProperties* orientation =
        DYNAMIC_DOWNCAST(CODOrientationProperties, label->FindProperty(60));
    if (orientation == NULL)
        return label->GetOrigin();
    CRect b = m_bodyRegion.GetBounds();
    int W = b.Width(), H = b.Height();
    CSize size = label->GetSize();
    int w = size.cx, h = size.cy;
    int dx = orientation->GetOffsetX(), dy = orientation->GetOffsetY();
    int left = b.left - dx, centreX = b.left + (W / 2 - w / 2), right = b.right - w + dx;
    int top = b.top - dy, centreY = b.top + (H / 2 - h / 2), bottom = b.bottom - h + dy;
    switch (orientation->GetPosition()) {
    case 0: return CPoint(left, top);
    case 1: return CPoint(centreX, top);
    case 2: return CPoint(right, top);
    case 3: return CPoint(right, centreY);
    case 4: return CPoint(right, bottom);
    case 5: return CPoint(centreX, bottom);
    case 6: return CPoint(left, bottom);
    case 7: return CPoint(left, centreY);
    case 8: return CPoint(centreX, centreY);
    default: return CPoint(0, 0);
    }
}

// The labels move with the symbol's recalculation, so they leave the spatial index with it.
CODRgn CODSymbolComponent::UpdateRegion(BOOL notifyParent)
{
    CODSpatialIndex* index = GetParentSpatialIndex();
    CODComponentSet filed;
    if (index)
        for (int i = 0; i < m_labels.GetSize(); ++i)
            if (m_labels[i]->GetParent() == m_pParent)
                filed.Add(m_labels[i]);
    if (index)
        index->Remove(&filed);
    CODRgn region = CODComponent::UpdateRegion(notifyParent);
    if (index)
        index->Insert(&filed);
    return region;
}

void CODSymbolComponent::UpdateFullRegion(CODLabelComponent*)
{
    CODSpatialIndex* index = GetParentSpatialIndex();
    if (index)
        index->Remove(this);
    m_rcPrevious = m_rcBounds;
    m_region = m_bodyRegion;
    for (int i = 0; i < m_labels.GetSize(); ++i)
        m_region.Append(*m_labels[i]->GetRegion());
    CRect r = m_region.GetBounds();
    SetOrigin(r.left, r.top);
    SetSize(r.Width(), r.Height());
    if (index)
        index->Insert(this);
}

int CODSymbolComponent::CollectMoveDependents(CODComponentSet* set)
{
    int count = CODComponent::CollectMoveDependents(set);
    for (int i = 0; i < m_labels.GetSize(); ++i)
        if (set->IndexOf(m_labels[i]) < 0) {
            set->Add(m_labels[i]);
            ++count;
        }
    return count;
}

void CODSymbolComponent::Scale(float sx, float sy, float x, float y)
{
    // Labels keep their size: each is centred on the scaled place of its old centre.
    for (int i = 0; i < m_labels.GetSize(); ++i) {
        CODLabelComponent* label = m_labels[i];
        CRect b = label->GetBounds();
        float cx = (b.left + b.right) / 2.0f, cy = (b.top + b.bottom) / 2.0f;
        float nx = x + (cx - x) * sx, ny = y + (cy - y) * sy;
        label->MoveTo(CPoint((int)lroundf(nx - b.Width() / 2.0f), (int)lroundf(ny - b.Height() / 2.0f)));
    }
    CODComponent::Scale(sx, sy, x, y);
}

// ---------------------------------------------------------------------------------------------
// The node interface

HRESULT CODSymbolComponent::QueryInterface(REFIID iid, void** out)
{
    if (out != NULL && IsEqualGUID(iid, IID_IODGraphNode)) {
        AddRef();
        *out = static_cast<IODGraphNode*>(&m_xGraphNode);
        return S_OK;
    }
    return CODComponent::QueryInterface(iid, out);
}

IODGraphEdge* CODSymbolComponent::XGraphNode::GetEdge(DWORD id)
{
    // The edge is named by its own id (a link answers no node interface whose id could be
    // compared).
    for (int i = 0; i < m_pSymbol->m_connections.GetSize(); ++i) {
        CODPortComponent* farPort = m_pSymbol->GetConnectedPort(m_pSymbol->m_connections[i]);
        CODSymbolComponent* owner = farPort ? OwnerOf(farPort) : NULL;
        if (owner == NULL || owner->GetId() != id)
            continue;
        void* edge = NULL;
        if (FAILED(owner->QueryInterface(IID_IODGraphEdge, &edge)))
            return NULL;
        return (IODGraphEdge*)edge;
    }
    return NULL;
}

int CODSymbolComponent::XGraphNode::CollectEdges(IODGraphSink* sink, int direction)
{
    int count = 0;
    for (int i = 0; i < m_pSymbol->m_connections.GetSize(); ++i) {
        CODPortComponent* farPort = m_pSymbol->GetConnectedPort(m_pSymbol->m_connections[i]);
        CODSymbolComponent* owner = farPort ? OwnerOf(farPort) : NULL;
        void* found = NULL;
        if (owner == NULL || FAILED(owner->QueryInterface(IID_IODGraphEdge, &found)))
            continue;
        IODGraphEdge* edge = (IODGraphEdge*)found;
        BOOL take = TRUE;
        if (direction != 0) {
            IODGraphNode* node = direction == 1 ? edge->GetSourceNode() : edge->GetTargetNode();
            take = node != NULL && node->GetId() == GetId();
            if (node)
                node->Release();
        }
        if (take) {
            if (sink)
                sink->Add(edge);
            ++count;
        }
        edge->Release();
    }
    return count;
}

int CODSymbolComponent::XGraphNode::CountEdges(int direction)
{
    return CollectEdges(NULL, direction);
}

IODGraphNode* CODSymbolComponent::XGraphNode::GetAdjacentNode(IODGraphEdge* edge)
{
    if (edge == NULL)
        return NULL;
    IODGraphNode* source = NULL;
    IODGraphNode* target = NULL;
    edge->GetNodes(&source, &target);
    IODGraphNode* answer = NULL;
    if (source == this)
        answer = target, target = NULL;
    else if (target == this)
        answer = source, source = NULL;
    if (source)
        source->Release();
    if (target)
        target->Release();
    return answer;
}

int CODSymbolComponent::XGraphNode::CollectAdjacent(IODGraphSink* sink, int direction)
{
    CODGraphCollection edges;
    CollectEdges(&edges, direction);
    int count = 0;
    for (int i = 0; i < edges.GetSize(); ++i) {
        IODGraphNode* node = GetAdjacentNode((IODGraphEdge*)edges[i]);
        if (node == NULL)
            continue;
        sink->Add(node);
        node->Release();
        ++count;
    }
    return count;
}

int CODSymbolComponent::XGraphNode::Reach(IODGraphSink* sink, int direction)
{
    CODGraphCollection edges;
    CollectEdges(&edges, direction);
    int count = 0;
    for (int i = 0; i < edges.GetSize(); ++i) {
        IODGraphNode* node = GetAdjacentNode((IODGraphEdge*)edges[i]);
        if (node == NULL)
            continue;
        if (!sink->Contains(node)) {
            sink->Add(node);
            ++count;
            if (direction == 0)
                node->CollectReachable(sink);
            else if (direction == 1)
                node->CollectReachableForward(sink);
            else
                node->CollectReachableBackward(sink);
        }
        node->Release();
    }
    return count;
}
