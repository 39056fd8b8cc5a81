#include "ODTracker.h"
#include <math.h>
#include <algorithm>
#include "ODEditProperties.h"
#include "ODGeometry.h"
#include "ODSymbolComponent.h"

// ---------------------------------------------------------------------------------------------
// CODComponentTracker

CODComponentTracker::CODComponentTracker(CODComponent* component)
    : m_pComponent(NULL), m_rcStart(0, 0, 0, 0)
{
    SetComponent(component);
}

CODComponentTracker::~CODComponentTracker()
{
    if (m_pComponent)
        m_pComponent->Release();
}

void CODComponentTracker::SetComponent(CODComponent* component)
{
    if (component == m_pComponent)
        return;
    if (m_pComponent)
        m_pComponent->Release();
    m_pComponent = component;
    m_start = CODTransform();
    m_rcStart.SetRectEmpty();
    if (component) {
        component->AddRef();
        m_rcStart = component->GetHitRegion()->GetBounds();
        component->GetFullTransform(m_start);
    }
}

void CODComponentTracker::Apply(CODTransform* transform)
{
    m_pComponent->SetTransform(transform);
    m_pComponent->OnTransformChanged();
}

void CODComponentTracker::Offset(int dx, int dy)
{
    if (m_pComponent == NULL)
        return;
    CODTransform* t = new CODTransform(m_start);
    t->Translate(dx, dy);
    Apply(t);
}

void CODComponentTracker::Rotate(int angle, int handle, int aspectX, int aspectY)
{
    if (m_pComponent == NULL)
        return;
    float x, y;
    GetHandlePointF(m_rcStart, handle, &x, &y);
    CODTransform* t = new CODTransform(m_start);
    t->RotateAbout(angle, x, y, aspectX, aspectY);
    Apply(t);
}

void CODComponentTracker::Scale(float sx, float sy, int handle)
{
    if (m_pComponent == NULL)
        return;
    float x, y;
    GetHandlePointF(m_rcStart, handle, &x, &y);
    CODTransform* t = new CODTransform(m_start);
    t->ScaleAbout(sx, sy, x, y);
    Apply(t);
}

void CODComponentTracker::Draw(CDC* dc)
{
    if (m_pComponent == NULL)
        return;
    m_pComponent->PushAncestorTransforms();
    m_pComponent->DrawFeedback(dc);
    m_pComponent->PopAncestorTransforms();
}

// ---------------------------------------------------------------------------------------------
// CODComponentSetTracker

CODComponentSetTracker::CODComponentSetTracker()
    : m_nCount(0), m_pTrackers(NULL), m_nExtraCount(0), m_pExtras(NULL), m_rcUnion(0, 0, 0, 0),
      m_nReferenceHandle(0), m_bSinglePort(FALSE)
{
}

CODComponentSetTracker::~CODComponentSetTracker()
{
    Clear();
}

void CODComponentSetTracker::SetComponents(CODComponentSet* set)
{
    m_region.Empty();
    m_rcUnion.SetRectEmpty();
    m_drawList.RemoveAll();
    delete[] m_pTrackers;
    m_pTrackers = NULL;
    m_nCount = set ? set->GetSize() : 0;
    if (m_nCount == 0)
        return;
    m_pTrackers = new CODComponentTracker[m_nCount];
    m_bSinglePort = m_nCount == 1 && (*set)[0]->IsKindOfName("CODPortComponent");
    for (int i = 0; i < m_nCount; ++i) {
        CODComponent* c = (*set)[i];
        m_pTrackers[i].SetComponent(c);
        m_region.Append(*c->GetRegion());
        m_rcUnion = UnionRects(m_rcUnion, c->GetExtent());
    }
    // A port has no extent of its own: its bounds are its connection point, whose centre the
    // move snaps to the grid.
    if (m_bSinglePort) {
        CPoint at = ((CODPortComponent*)(*set)[0])->GetLocation();
        m_rcUnion.SetRect(at, at);
    }
}

void CODComponentSetTracker::SetExtraComponents(CODComponentSet* set)
{
    delete[] m_pExtras;
    m_pExtras = NULL;
    m_nExtraCount = set ? set->GetSize() : 0;
    if (m_nExtraCount == 0)
        return;
    m_pExtras = new CODComponentTracker[m_nExtraCount];
    for (int i = 0; i < m_nExtraCount; ++i)
        m_pExtras[i].SetComponent((*set)[i]);
}

CPoint CODComponentSetTracker::GetReferencePoint()
{
    return GetHandlePoint(m_rcUnion, m_bSinglePort ? 8 : m_nReferenceHandle);
}

// The joins of the symbol clones, so that the clones of the links joined to them follow each
// re-placed symbol.
void CODComponentSetTracker::MapConnections(CODConnectionMap& map)
{
    for (int i = 0; i < m_nCount; ++i)
        map.AddSymbol(DYNAMIC_DOWNCAST(CODSymbolComponent, m_pTrackers[i].GetComponent()));
}

void CODComponentSetTracker::FollowLinks(CODConnectionMap& map, CODComponentTracker& tracker)
{
    if (CODSymbolComponent* symbol = DYNAMIC_DOWNCAST(CODSymbolComponent, tracker.GetComponent()))
        symbol->UpdateConnectedLinks(&map);
}

// The extra trackers of the links the map reached go into the draw list once.
void CODComponentSetTracker::DrawLinkedExtras(CODConnectionMap& map)
{
    CODComponentSet links;
    map.CollectLinks(&links);
    for (int i = 0; i < m_nExtraCount; ++i)
        if (links.IndexOf(m_pExtras[i].GetComponent()) >= 0 && m_drawList.IndexOf(&m_pExtras[i]) < 0)
            m_drawList.Add(&m_pExtras[i]);
}

void CODComponentSetTracker::TrackMove(CDC* dc, int dx, int dy)
{
    CODConnectionMap map;
    MapConnections(map);
    std::vector<CRect> bounds;
    for (int i = 0; i < m_nCount; ++i) {
        m_pTrackers[i].Offset(dx, dy);
        FollowLinks(map, m_pTrackers[i]);
        bounds.push_back(m_pTrackers[i].GetComponent() ? m_pTrackers[i].GetComponent()->GetBounds()
                                                        : CRect(0, 0, 0, 0));
        m_drawList.Add(&m_pTrackers[i]);
    }
    for (int i = 0; i < m_nCount; ++i)
        if (CODComponent* c = m_pTrackers[i].GetComponent())
            c->SetPreviousBounds(bounds[i].left, bounds[i].top, bounds[i].right, bounds[i].bottom);
    DrawLinkedExtras(map);
    Draw(dc);
}

void CODComponentSetTracker::TrackRotate(CDC* dc, int angle, int aspectX, int aspectY)
{
    CODConnectionMap map;
    MapConnections(map);
    for (int i = 0; i < m_nCount; ++i) {
        m_pTrackers[i].Rotate(angle, 8, aspectX, aspectY);
        FollowLinks(map, m_pTrackers[i]);
        m_drawList.Add(&m_pTrackers[i]);
    }
    DrawLinkedExtras(map);
    Draw(dc);
}

// A clone that may not be stretched keeps its aspect with one magnitude in both axes.
void CODComponentSetTracker::TrackScale(CDC* dc, float sx, float sy, int reference)
{
    CODConnectionMap map;
    MapConnections(map);
    for (int i = 0; i < m_nCount; ++i) {
        float fx = sx, fy = sy;
        CODComponent* c = m_pTrackers[i].GetComponent();
        CODEditProperties edit;
        if (c && c->GetProperty(40, edit) && !edit.GetCanStretch()) {
            float ax = fabsf(sx), ay = fabsf(sy);
            float m = reference == 3 || reference == 7   ? ax
                      : reference == 1 || reference == 5 ? ay
                                                         : (ax > ay ? ax : ay);
            fx = sx > 0 ? m : -m;
            fy = sy > 0 ? m : -m;
        }
        m_pTrackers[i].Scale(fx, fy, reference);
        FollowLinks(map, m_pTrackers[i]);
        m_drawList.Add(&m_pTrackers[i]);
    }
    DrawLinkedExtras(map);
    Draw(dc);
}

int CODComponentSetTracker::Draw(CDC* dc)
{
    for (int i = 0; i < m_drawList.GetSize(); ++i)
        m_drawList[i]->Draw(dc);
    return m_drawList.GetSize();
}

void CODComponentSetTracker::Clear()
{
    m_drawList.RemoveAll();
    delete[] m_pTrackers;
    delete[] m_pExtras;
    m_pTrackers = m_pExtras = NULL;
    m_nCount = m_nExtraCount = 0;
}
