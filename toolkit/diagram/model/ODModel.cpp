#include "ODModel.h"
#include <algorithm>
#include <math.h>
#include <stdlib.h>
#include <time.h>
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODGeometry.h"
#include "ODLineProperties.h"
#include "ODOrientationProperties.h"
#include "ODClosedShapes.h"
#include "ODImageComponent.h"
#include "ODMetafileComponent.h"
#include "ODPortComponent.h"
#include "ODLabelComponent.h"
#include "ODLinkComponent.h"
#include "ODSymbolComponent.h"
#include "ODTextComponent.h"
#include "SECDib.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODModel, CODComponent, VERSIONABLE_SCHEMA | 2)

extern "C" const GUID IID_IODGraph = {
    0x0BC88DA0, 0x295D, 0x11D2, {0xB3, 0x29, 0x00, 0x60, 0x08, 0xAF, 0xE0, 0x59}};
extern "C" const GUID IID_IODGraphNode = {
    0x0BC88DA1, 0x295D, 0x11D2, {0xB3, 0x29, 0x00, 0x60, 0x08, 0xAF, 0xE0, 0x59}};
extern "C" const GUID IID_IODGraphEdge = {
    0x0BC88DA3, 0x295D, 0x11D2, {0xB3, 0x29, 0x00, 0x60, 0x08, 0xAF, 0xE0, 0x59}};

void ODRegisterStoredClasses()
{
    // Naming each class keeps its registration in a program that only reads drawings.
    static const CRuntimeClass* const classes[] = {
        RUNTIME_CLASS(CODComponent),        RUNTIME_CLASS(CODModel),
        RUNTIME_CLASS(CODTransform),        RUNTIME_CLASS(CODProperty),
        RUNTIME_CLASS(CODBoolProperty),     RUNTIME_CLASS(CODIntProperty),
        RUNTIME_CLASS(CODLineProperties),   RUNTIME_CLASS(CODFillProperties),
        RUNTIME_CLASS(CODFontProperties),   RUNTIME_CLASS(CODEditProperties),
        RUNTIME_CLASS(CODOrientationProperties), RUNTIME_CLASS(CODPageSettings),
        RUNTIME_CLASS(SECDib),
        RUNTIME_CLASS(CODPointComponent),   RUNTIME_CLASS(CODLineComponent),
        RUNTIME_CLASS(CODEndpoint),         RUNTIME_CLASS(CODArrowEndpoint),
        RUNTIME_CLASS(CODRectComponent),    RUNTIME_CLASS(CODEllipseComponent),
        RUNTIME_CLASS(CODPolygonComponent), RUNTIME_CLASS(CODCurveComponent),
        RUNTIME_CLASS(CODClosedCurveComponent), RUNTIME_CLASS(CODTextComponent),
        RUNTIME_CLASS(CODMetafileComponent), RUNTIME_CLASS(CODImageComponent),
        RUNTIME_CLASS(CODDib), RUNTIME_CLASS(CODPortComponent), RUNTIME_CLASS(CODCirclePort),
        RUNTIME_CLASS(CODSymbolComponent), RUNTIME_CLASS(CODConnection),
        RUNTIME_CLASS(CODLinkComponent), RUNTIME_CLASS(CODLabelComponent),
    };
    for (const CRuntimeClass* cls : classes)
        AfxClassInit(const_cast<CRuntimeClass*>(cls));
}

CODModel::CODModel()
    : MvcPresentationModel_T<CODComponent>(NULL), m_bModified(FALSE), m_nOption(0),
      m_crBackground(RGB(255, 255, 255)), m_pBackground(NULL), m_bBackgroundShared(FALSE),
      m_idMap(10), m_bDragSource(FALSE), m_bDroppedOnSelf(FALSE)
{
    ODRegisterStoredClasses();
    SetUndoManager(&m_history);
    srand((unsigned)time(NULL));
    m_rcBounds.SetRect(0, 0, 0, 0);
    Initialize();
}

CODModel::~CODModel()
{
    DisposeBackground();
    // The children leave through the model, so that the id map empties with them; the index
    // is emptied at once rather than entry by entry.
    m_index.Initialize(CRect(0, 0, 0, 0));
    while (m_children.GetSize() > 0)
        RemoveChildAt(m_children.GetSize() - 1);
}

void CODModel::DisposeBackground()
{
    if (m_pBackground) {
        if (m_bBackgroundShared)
            m_pBackground->Release();
        else
            delete m_pBackground;
    }
    m_pBackground = NULL;
    m_bBackgroundShared = FALSE;
}

void CODModel::RebuildIndex()
{
    m_index.Initialize(CRect(m_rcBounds.TopLeft(), CODComponent::GetSize()));
    m_index.Insert(&m_children);
}

void CODModel::Initialize()
{
    m_index.Initialize(CRect(0, 0, 0, 0));  // rebuilt below; emptied at once, not child by child
    RemoveAllChildren();
    DisposeBackground();
    MvcVisualComponent::SetSize(1000, 1000);
    SetBackgroundColor(RGB(255, 255, 255));
    m_bDragSource = FALSE;
    m_bDroppedOnSelf = FALSE;
    m_bModified = FALSE;
    RemoveProperty(40);
    CODEditProperties edit(40);
    edit.SetCanContain(TRUE);
    AddProperty(edit);
    RemoveProperty(50);
    CODEditProperties labels(50);
    labels.SetCanSelect(TRUE);
    AddProperty(labels);
    UpdateComponents(NULL, 5);
    RebuildIndex();
    m_bModified = FALSE;
}

// ---------------------------------------------------------------------------------------------
// Permissions of the model's own edit groups

BOOL CODModel::IsReadOnly()
{
    CODEditProperties edit;
    return GetProperty(40, edit) ? edit.IsReadOnly() : FALSE;
}

void CODModel::SetReadOnly(BOOL readOnly)
{
    CODEditProperties edit(40);
    edit.SetReadOnly(readOnly);
    SetProperty(edit, 0x01);
}

BOOL CODModel::CanSelect()
{
    CODEditProperties edit;
    return GetProperty(40, edit) ? edit.GetCanSelect() : TRUE;
}

void CODModel::SetCanSelect(BOOL canSelect)
{
    CODEditProperties edit(40);
    edit.SetCanSelect(canSelect);
    SetProperty(edit, 0x02);
}

BOOL CODModel::CanEditProperties()
{
    CODEditProperties edit;
    return GetProperty(40, edit) ? edit.GetCanEditProperties() : TRUE;
}

void CODModel::SetCanEditProperties(BOOL canEdit)
{
    CODEditProperties edit(40);
    edit.SetCanEditProperties(canEdit);
    SetProperty(edit, 0x40);
}

void CODModel::SetLabelsSelectable(BOOL selectable)
{
    CODEditProperties labels(50);
    GetProperty(50, labels);
    labels.SetCanSelect(selectable);
    SetOrAddProperty(labels);
}

// ---------------------------------------------------------------------------------------------
// Constraints

BOOL CODModel::FitsAt(const POINT* topLeft, CODComponent* component)
{
    CRect canvas(m_rcBounds.TopLeft(), CODComponent::GetSize());
    CRect r(*topLeft, component->GetSize());
    return r.left >= canvas.left && r.top >= canvas.top && r.right <= canvas.right &&
           r.bottom <= canvas.bottom;
}

BOOL CODModel::CanMoveBy(CODComponentSet* set, int dx, int dy)
{
    if (set == NULL)
        return TRUE;
    for (int i = 0; i < set->GetSize(); ++i) {
        CPoint p = (*set)[i]->GetOrigin() + CSize(dx, dy);
        if (!FitsAt(&p, (*set)[i]))
            return FALSE;
    }
    return TRUE;
}

namespace {

CRect UnionOfSet(CODComponentSet* set, int dx, int dy, bool* any)
{
    CRect r(0, 0, 0, 0);
    *any = false;
    for (int i = 0; set && i < set->GetSize(); ++i) {
        CODComponent* c = (*set)[i];
        CRect b(c->GetOrigin(), c->GetSize());
        b.OffsetRect(dx, dy);
        r = *any ? CRect(std::min(r.left, b.left), std::min(r.top, b.top), std::max(r.right, b.right),
                         std::max(r.bottom, b.bottom))
                 : b;
        *any = true;
    }
    return r;
}

}  // namespace

BOOL CODModel::ConstrainPosition(CODComponentSet* set, int* x, int* y, const RECT* bounds)
{
    bool any = bounds != NULL;
    CRect r = bounds ? CRect(*bounds) : UnionOfSet(set, 0, 0, &any);
    CRect canvas(m_rcBounds.TopLeft(), CODComponent::GetSize());
    if (r.Width() > canvas.Width() || r.Height() > canvas.Height())
        return FALSE;
    if (!any)
        return TRUE;
    r.OffsetRect(*x - r.left, *y - r.top);
    if (r.right > canvas.right)
        *x -= r.right - canvas.right;
    if (r.bottom > canvas.bottom)
        *y -= r.bottom - canvas.bottom;
    if (r.left < canvas.left)
        *x += canvas.left - r.left;
    if (r.top < canvas.top)
        *y += canvas.top - r.top;
    return TRUE;
}

BOOL CODModel::ConstrainOffset(CODComponentSet* set, int* dx, int* dy, const RECT* bounds)
{
    bool any = bounds != NULL;
    CRect r = bounds ? CRect(*bounds) : UnionOfSet(set, 0, 0, &any);
    CRect canvas(m_rcBounds.TopLeft(), CODComponent::GetSize());
    if (r.Width() > canvas.Width() || r.Height() > canvas.Height())
        return FALSE;
    if (!any)
        return TRUE;
    r.OffsetRect(*dx, *dy);
    if (r.right > canvas.right)
        *dx -= r.right - canvas.right;
    if (r.bottom > canvas.bottom)
        *dy -= r.bottom - canvas.bottom;
    if (r.left < canvas.left)
        *dx += canvas.left - r.left;
    if (r.top < canvas.top)
        *dy += canvas.top - r.top;
    return TRUE;
}

BOOL CODModel::ClampPoints(CODComponentSet*, POINT* points, int count)
{
    CRect canvas(m_rcBounds.TopLeft(), CODComponent::GetSize());
    for (int i = 0; points && i < count; ++i) {
        points[i].x = std::max(canvas.left, std::min(canvas.right, (int)points[i].x));
        points[i].y = std::max(canvas.top, std::min(canvas.bottom, (int)points[i].y));
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Children

BOOL CODModel::AppendChild(CODComponent* child)
{
    if (!CODComponent::AppendChild(child))
        return FALSE;
    m_index.Insert(child);
    child->ShareProperties();
    m_bModified = TRUE;
    return TRUE;
}

BOOL CODModel::InsertChild(CODComponent* child, int index)
{
    if (!CODComponent::InsertChild(child, index))
        return FALSE;
    m_index.Insert(child);
    child->ShareProperties();
    m_bModified = TRUE;
    return TRUE;
}

// A position off the child array is no child: nothing happens.
BOOL CODModel::RemoveChildAt(int index)
{
    if (index < 0 || index >= m_children.GetSize())
        return FALSE;
    m_index.Remove(m_children[index]);
    if (!CODComponent::RemoveChildAt(index))
        return FALSE;
    m_bModified = TRUE;
    return TRUE;
}

void CODModel::InitChildEditProperties(CODComponent* child)
{
    CODEditProperties edit;
    child->GetProperty(40, edit);
    BOOL select = TRUE;
    if (child->IsKindOfName("CODLabelComponent")) {
        CODEditProperties labels;
        if (GetProperty(50, labels))
            select = labels.GetCanSelect();
    }
    edit.SetCanSelect(select);
    child->SetOrAddProperty(edit);
}

BOOL CODModel::RemoveComponent(CODComponent* component)
{
    int index = GetChildIndex(component);
    return index >= 0 ? RemoveChildAt(index) : FALSE;
}

int CODModel::HitTest(const CPoint* p, CODComponentSet* hits, int tolerance)
{
    int count = 0;
    for (int i = 0; i < m_children.GetSize(); ++i)
        count += m_children[i]->HitTest(p, hits, tolerance);
    return count;
}

void CODModel::BuildRegion(CODRgn* region)
{
    CRect r = m_rcBounds;
    CPoint corners[4] = {r.TopLeft(), CPoint(r.right, r.top), r.BottomRight(),
                         CPoint(r.left, r.bottom)};
    region->SetPolygon(corners, 4);
}

HRESULT CODModel::QueryInterface(REFIID iid, void** out)
{
    if (out != NULL && IsEqualGUID(iid, IID_IODGraph)) {
        AddRef();
        *out = static_cast<IODGraph*>(this);
        return S_OK;
    }
    return CODComponent::QueryInterface(iid, out);
}

IUnknown* CODModel::GetNode(DWORD id)
{
    CODComponent* c = FindById(id);
    void* out = NULL;
    if (c == NULL || FAILED(c->QueryInterface(IID_IODGraphNode, &out)))
        return NULL;
    return (IUnknown*)out;
}

IUnknown* CODModel::GetEdge(DWORD id)
{
    CODComponent* c = FindById(id);
    void* out = NULL;
    if (c == NULL || FAILED(c->QueryInterface(IID_IODGraphEdge, &out)))
        return NULL;
    return (IUnknown*)out;
}

// ---------------------------------------------------------------------------------------------
// Ids

DWORD CODModel::GenerateId()
{
    for (;;) {
        DWORD id = (DWORD)(rand() & 0x7FFF) * (DWORD)(rand() & 0x7FFF);
        CODComponent* holder;
        if (id != 0 && !m_idMap.Lookup(id, holder))
            return id;
    }
}

BOOL CODModel::RegisterId(DWORD id, CODComponent* component)
{
    if (id == 0 || component == NULL)
        return FALSE;
    CODComponent* holder;
    if (m_idMap.Lookup(id, holder))
        return holder == component;
    CODComponent* current;
    DWORD old = component->CODComponent::GetId();
    if (old != 0 && m_idMap.Lookup(old, current) && current == component)
        m_idMap.RemoveKey(old);
    m_idMap.SetAt(id, component);
    component->SetId(id);
    return TRUE;
}

BOOL CODModel::UnregisterComponent(CODComponent* component)
{
    CODComponent* holder;
    DWORD id = component ? component->CODComponent::GetId() : 0;
    if (!m_idMap.Lookup(id, holder) || holder != component)
        return FALSE;
    return m_idMap.RemoveKey(id);
}

BOOL CODModel::UnregisterId(DWORD id)
{
    return m_idMap.RemoveKey(id);
}

CODComponent* CODModel::FindById(DWORD id)
{
    CODComponent* holder = NULL;
    return m_idMap.Lookup(id, holder) ? holder : NULL;
}

// ---------------------------------------------------------------------------------------------
// Canvas and appearance

CSize CODModel::SetSize(const CSize& size)
{
    CSize old = CODComponent::GetSize();
    MvcVisualComponent::SetSize(size.cx, size.cy);
    UpdateComponents(NULL, 3);
    RebuildIndex();
    m_bModified = TRUE;
    return old;
}

CPoint CODModel::SetOrigin(const CPoint& origin)
{
    CPoint old = m_rcBounds.TopLeft();
    CSize size = CODComponent::GetSize();
    MvcVisualComponent::SetOrigin(origin.x, origin.y);
    UpdateComponents(NULL, 3);
    m_index.Initialize(CRect(origin, size));
    m_index.Insert(&m_children);
    m_bModified = TRUE;
    return old;
}

void CODModel::SetBackgroundColor(COLORREF color)
{
    m_crBackground = color;
    UpdateComponents(NULL, 0);
    m_bModified = TRUE;
}

void CODModel::SetBackgroundComponent(CODComponent* component, BOOL shared)
{
    if (m_pBackground && m_bBackgroundShared)
        m_pBackground->Release();
    m_pBackground = component;
    m_bBackgroundShared = shared;
    if (component && shared)
        component->AddRef();
    UpdateComponents(NULL, 0);
    m_bModified = TRUE;
}

void CODModel::SetComponentName(CODComponent* component, const CString& name)
{
    if (component)
        component->SetName(name);
}

// ---------------------------------------------------------------------------------------------
// Broadcasts

void CODModel::UpdateComponent(CODComponent* component, int hint)
{
    CODComponentSet set;
    if (component)
        set.Add(component);
    UpdateComponents(&set, hint);
}

void CODModel::InsertVertex(CODComponentSet* set, int index, int x, int y)
{
    for (int i = 0; set && i < set->GetSize(); ++i)
        if (CODPointComponent* p = DYNAMIC_DOWNCAST(CODPointComponent, (*set)[i]))
            p->InsertVertex(index, x, y);
    SetModified(TRUE);
}

void CODModel::DeleteVertex(CODComponentSet* set, int index)
{
    for (int i = 0; set && i < set->GetSize(); ++i)
        if (CODPointComponent* p = DYNAMIC_DOWNCAST(CODPointComponent, (*set)[i]))
            p->RemoveVertex(index);
    SetModified(TRUE);
}

void CODModel::MoveVertex(CODComponentSet* set, int index, int dx, int dy)
{
    for (int i = 0; set && i < set->GetSize(); ++i)
        if (CODPointComponent* p = DYNAMIC_DOWNCAST(CODPointComponent, (*set)[i])) {
            p->UpdateRegion(FALSE);
            p->MoveVertex(index, dx, dy);
        }
    SetModified(TRUE);
}

void CODModel::SetTextOfTextComponents(CODComponentSet* set, LPCTSTR text)
{
    for (int i = 0; set && i < set->GetSize(); ++i) {
        CODTextComponent* t = DYNAMIC_DOWNCAST(CODTextComponent, (*set)[i]);
        if (t == NULL || t->GetParent() != this)
            continue;
        t->SetText(text);
        t->SizeToText(8, NULL);
        t->UpdateRegion(TRUE);
    }
    UpdateComponents(set, 1);
}

void CODModel::UpdateComponents(CODComponentSet* set, int hint)
{
    CODUpdateCommand command(this, hint);
    command.AddComponents(set);
    UpdateAllObservers(NULL, static_cast<MvcCommandBase*>(&command));
}

// ---------------------------------------------------------------------------------------------
// Queries

int CODModel::GetComponentsAtPoint(CODComponentSet* out, int x, int y, int tolerance)
{
    CODComponentSet candidates;
    m_index.QueryPoint(&candidates, x, y, tolerance);
    for (int i = 0; i < candidates.GetSize(); ++i)
        if (candidates[i]->GetHitRegion()->HitTest(x, y, tolerance))
            out->Add(candidates[i]);
    SortChildren(out);
    return out->GetSize();
}

int CODModel::GetComponentsInRect(CODComponentSet* out, const RECT& rect)
{
    CODComponentSet found;
    m_index.QueryContained(&found, rect);
    out->Append(found);
    SortChildren(out);
    return out->GetSize();
}

int CODModel::GetComponentsOverlapping(CODComponentSet* out, const RECT& rect)
{
    CODComponentSet found;
    m_index.QueryOverlapping(&found, rect);
    out->Append(found);
    SortChildren(out);
    return out->GetSize();
}

// ---------------------------------------------------------------------------------------------
// Moving, rotating, scaling

void CODModel::CollectWorkingSet(CODComponentSet* set, int kind, CODComponentSet* working)
{
    working->Copy(*set);
    for (int i = 0; i < set->GetSize(); ++i) {
        CODComponent* c = (*set)[i];
        if (kind == 0)
            c->CollectMoveDependents(working);
        else if (kind == 1)
            c->CollectRotateDependents(working);
        else
            c->CollectScaleDependents(working);
    }
}

void CODModel::BeginChange(CODComponentSet* working, std::vector<CRect>* saved)
{
    saved->clear();
    for (int i = 0; i < working->GetSize(); ++i) {
        saved->push_back((*working)[i]->GetBounds());
        (*working)[i]->OnMoveSet(working);
    }
}

void CODModel::EndChange(CODComponentSet* working, const std::vector<CRect>& saved)
{
    for (int i = 0; i < working->GetSize() && i < (int)saved.size(); ++i)
        (*working)[i]->SetPreviousBounds(saved[i].left, saved[i].top, saved[i].right,
                                         saved[i].bottom);
    m_bModified = TRUE;
}

// A moved symbol tells the components joined to it, through the map the whole change shares.
static void UpdateLinksOf(CODComponent* c, CODConnectionMap* map)
{
    if (CODSymbolComponent* symbol = DYNAMIC_DOWNCAST(CODSymbolComponent, c))
        symbol->UpdateConnectedLinks(map);
}

void CODModel::MoveComponents(CODComponentSet* set, int dx, int dy)
{
    if (set == NULL || (dx == 0 && dy == 0))
        return;
    CODComponentSet working;
    CollectWorkingSet(set, 0, &working);
    CODConnectionMap map;
    map.AddSymbols(&working);  // joined symbols moving together keep their connections
    std::vector<CRect> saved;
    for (int i = 0; i < working.GetSize(); ++i) {
        saved.push_back(working[i]->GetBounds());
        working[i]->OnMoveSet(&working);
        working[i]->Translate(dx, dy);
        UpdateLinksOf(working[i], &map);
    }
    EndChange(&working, saved);
}

void CODModel::RotateComponents(CODComponentSet* set, int angle, int aspectX, int aspectY)
{
    if (set == NULL || angle == 0)
        return;
    CODComponentSet working;
    CollectWorkingSet(set, 1, &working);
    CODConnectionMap map;
    map.AddSymbols(&working);  // joined symbols moving together keep their connections
    std::vector<CRect> saved;
    for (int i = 0; i < working.GetSize(); ++i) {
        saved.push_back(working[i]->GetBounds());
        working[i]->OnMoveSet(&working);
        float x, y;
        working[i]->GetRegionHandleF(8, &x, &y);
        working[i]->Rotate(angle, x, y, aspectX, aspectY);
        UpdateLinksOf(working[i], &map);
    }
    EndChange(&working, saved);
}

void CODModel::ScaleComponents(CODComponentSet* set, float sx, float sy, int handle)
{
    if (set == NULL || (sx == 1.0f && sy == 1.0f))
        return;
    CODComponentSet working;
    CollectWorkingSet(set, 2, &working);
    CODConnectionMap map;
    map.AddSymbols(&working);  // joined symbols moving together keep their connections
    std::vector<CRect> saved;
    for (int i = 0; i < working.GetSize(); ++i) {
        CODComponent* c = working[i];
        saved.push_back(c->GetBounds());
        c->OnMoveSet(&working);
        float x, y;
        c->GetRegionHandleF(handle, &x, &y);
        float fx = sx, fy = sy;
        CODEditProperties edit;
        if (c->GetProperty(40, edit) && !edit.GetCanStretch()) {
            float ax = fabsf(sx), ay = fabsf(sy);
            float s = handle == 1 || handle == 5 ? ay : handle == 3 || handle == 7 ? ax : std::max(ax, ay);
            fx = sx < 0 ? -s : s;
            fy = sy < 0 ? -s : s;
        }
        c->Scale(fx, fy, x, y);
        UpdateLinksOf(c, &map);
    }
    EndChange(&working, saved);
}

void CODModel::AlignComponents(CODComponentSet* set, int how)
{
    if (set == NULL || set->GetSize() == 0)
        return;
    CODComponent* anchor = (*set)[set->GetSize() - 1];
    CRect a = anchor->GetBounds();
    for (int i = 0; i < set->GetSize() - 1; ++i) {
        CODComponent* c = (*set)[i];
        CRect b = c->GetBounds();
        int dx = 0, dy = 0;
        switch (how) {
        case 0: dy = a.top - b.top; break;
        case 1: dy = a.CenterPoint().y - b.CenterPoint().y; break;
        case 2: dy = a.bottom - b.bottom; break;
        case 3: dx = a.left - b.left; break;
        case 4: dx = a.CenterPoint().x - b.CenterPoint().x; break;
        case 5: dx = a.right - b.right; break;
        default: break;
        }
        if (dx != 0 || dy != 0) {
            CODComponentSet one;
            one.Add(c);
            MoveComponents(&one, dx, dy);
        }
    }
    m_bModified = TRUE;
}

void CODModel::OrderComponents(CODComponentSet* set, int how)
{
    if (set == NULL)
        return;
    const int last = m_children.GetSize() - 1;
    CODComponentSet touched;
    for (int n = 0; n < set->GetSize(); ++n) {
        CODComponent* c = (*set)[n];
        touched.Add(c);
        int i = GetChildIndex(c);
        if (i < 0)
            continue;
        c->AddRef();
        switch (how) {
        case 0:
            RemoveChildAt(i);
            AppendChild(c);
            break;
        case 1:
            RemoveChildAt(i);
            InsertChild(c, 0);
            break;
        case 2:
            if (i < last) {
                RemoveChildAt(i);
                InsertChild(c, std::min(i + 1, m_children.GetSize()));
            }
            break;
        case 3:
            if (i >= 1) {
                RemoveChildAt(i);
                InsertChild(c, std::min(i - 1, m_children.GetSize()));
            }
            break;
        default: break;
        }
        c->Release();
    }
    UpdateComponents(&touched, 1);
    m_bModified = TRUE;
}

void CODModel::GroupComponents(CODComponentSet* set, CODComponent* group, int index)
{
    if (set == NULL || group == NULL) {
        m_bModified = TRUE;
        return;
    }
    CODRgn joined;
    for (int n = 0; n < set->GetSize(); ++n) {
        CODComponent* c = (*set)[n];
        if (c == group || !c->CanJoinGroup(set) || GetChildIndex(c) < 0)
            continue;
        c->AddRef();
        RemoveComponent(c);
        group->AppendChild(c);
        joined.Append(*c->GetHitRegion());
        c->Release();
    }
    CRect r = joined.GetBounds();
    for (int i = 0; i < group->GetChildCount(); ++i) {
        CODComponent* child = group->GetChild(i);
        child->OnGrouped(group);
        CODTransform* t = child->GetTransform() ? new CODTransform(*child->GetTransform())
                                                : new CODTransform;
        t->Translate(-r.left, -r.top);
        child->SetTransform(t);
    }
    if (group->GetChildCount() > 0) {
        CString groupType;
        groupType.LoadString(IDS_OD_GROUP);
        if (group->GetType().IsEmpty())
            group->SetType(groupType);
        if (group->GetName().IsEmpty())
            group->SetName(groupType);
        group->SetTransform(NULL);
        CODTransform* t = new CODTransform;
        t->Translate(r.left, r.top);
        group->SetTransform(t);
        group->UpdateRegion(FALSE);
        if (index >= 0 && index <= m_children.GetSize())
            InsertChild(group, index);
        else
            AppendChild(group);
    }
    m_bModified = TRUE;
}

void CODModel::UngroupComponents(CODComponent* group,
                                 CMap<CODComponent*, CODComponent*, int, int>* positions)
{
    CString groupType;
    groupType.LoadString(IDS_OD_GROUP);
    if (group == NULL || group->GetChildCount() <= 0 || group->GetType() != groupType)
        return;
    int next = GetChildIndex(group);
    group->AddRef();
    RemoveComponent(group);
    CODTransform* g = group->GetTransform();
    for (int i = 0; i < group->GetChildCount(); ++i) {
        CODComponent* child = group->GetChild(i);
        child->OnUngrouped(group);
        if (g) {
            CODTransform* own = child->GetTransform();
            child->SetTransform(own ? new CODTransform(*g * *own) : new CODTransform(*g));
        }
    }
    while (group->GetChildCount() > 0) {
        CODComponent* child = group->GetChild(0);
        child->AddRef();
        group->RemoveChildAt(0);
        child->UpdateRegion(FALSE);
        int at;
        if (!(positions && positions->Lookup(child, at)))
            at = next++;
        if (at < 0 || at > m_children.GetSize())
            at = m_children.GetSize();
        InsertChild(child, at);
        child->Release();
    }
    group->SetTransform(NULL);
    group->Release();
    m_bModified = TRUE;
}

// ---------------------------------------------------------------------------------------------
// Properties of sets

void CODModel::SetComponentsProperty(CODComponentSet* set, CODProperty* property, DWORD mask)
{
    if (set && property)
        for (int i = 0; i < set->GetSize(); ++i)
            (*set)[i]->SetProperty(*property, mask);
    m_bModified = TRUE;
}

void CODModel::ApplyMember(CODComponentSet* set, CODProperty& group, DWORD mask)
{
    SetComponentsProperty(set, &group, mask);
    m_bModified = TRUE;
}

void CODModel::SetLineColor(CODComponentSet* set, COLORREF color)
{
    CODLineProperties p(10);
    p.SetColor(color);
    ApplyMember(set, p, 0x01);
}

void CODModel::SetLineWidth(CODComponentSet* set, int width)
{
    CODLineProperties p(10);
    p.SetLogicalWidth(width, NULL);
    ApplyMember(set, p, 0x04);
}

void CODModel::SetLineStyle(CODComponentSet* set, int style)
{
    CODLineProperties p(10);
    p.SetStyle(style);
    ApplyMember(set, p, 0x08);
}

void CODModel::SetFillColor(CODComponentSet* set, COLORREF color)
{
    CODFillProperties p(20);
    p.SetColor(color);
    ApplyMember(set, p, 0x01);
}

void CODModel::SetFillStyle(CODComponentSet* set, int style)
{
    CODFillProperties p(20);
    p.SetFillStyle(style);
    ApplyMember(set, p, 0x04);
}

void CODModel::SetHatchStyle(CODComponentSet* set, int hatch)
{
    CODFillProperties p(20);
    p.SetHatchStyle(hatch);
    ApplyMember(set, p, 0x08);
}

void CODModel::SetFillPattern(CODComponentSet* set, SECDib* image)
{
    CODFillProperties p(20);
    p.SetPatternImage(image);
    ApplyMember(set, p, 0x40);
}

void CODModel::SetFontFace(CODComponentSet* set, LPCTSTR face)
{
    CODFontProperties p(30);
    p.SetFaceName(face);
    ApplyMember(set, p, 0x01);
}

void CODModel::SetFontSize(CODComponentSet* set, int points)
{
    CODFontProperties p(30);
    p.SetPointSize(points, NULL);
    ApplyMember(set, p, 0x02);
}

void CODModel::SetFontColor(CODComponentSet* set, COLORREF color)
{
    CODFontProperties p(30);
    p.SetColor(color);
    ApplyMember(set, p, 0x04);
}

void CODModel::SetFontWeight(CODComponentSet* set, int weight)
{
    CODFontProperties p(30);
    p.SetWeight(weight);
    ApplyMember(set, p, 0x08);
}

void CODModel::SetFontItalic(CODComponentSet* set, BOOL italic)
{
    CODFontProperties p(30);
    p.SetItalic(italic);
    ApplyMember(set, p, 0x10);
}

void CODModel::SetFontUnderline(CODComponentSet* set, BOOL underline)
{
    CODFontProperties p(30);
    p.SetUnderline(underline);
    ApplyMember(set, p, 0x20);
}

void CODModel::SetFontStrikeOut(CODComponentSet* set, BOOL strikeOut)
{
    CODFontProperties p(30);
    p.SetStrikeOut(strikeOut);
    ApplyMember(set, p, 0x40);
}

// ---------------------------------------------------------------------------------------------
// Page setup

void CODModel::InitPageSetup(PAGESETUPDLGA* psd)
{
    CWinApp* app = AfxGetApp();
    PRINTDLGA pd;
    memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    if (!m_pageSettings.HasPrinter() && app && app->GetPrinterDeviceDefaults(&pd)) {
        m_pageSettings.SetPrinter(pd.hDevNames);
        m_bModified = TRUE;
    }
    m_pageSettings.GetPageSetup(psd);
}

void CODModel::ApplyPageSetup(const PAGESETUPDLGA* psd)
{
    m_pageSettings.SetPageSetup(psd);
    UpdateComponents(NULL, 4);
    m_bModified = TRUE;
}

void CODModel::PreparePrinting(CPrintInfo* info)
{
    CWinApp* app = AfxGetApp();
    PRINTDLGA pd;
    memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    if (!m_pageSettings.HasPrinter() && app && app->GetPrinterDeviceDefaults(&pd)) {
        m_pageSettings.SetPrinter(pd.hDevNames);
        m_bModified = TRUE;
    }
    m_pageSettings.PreparePrintInfo(info);
}

void CODModel::SetPageUnits(short measureUnit)
{
    m_pageSettings.SetUnits(PageUnitsForMeasureUnit((WORD)measureUnit));
}

// ---------------------------------------------------------------------------------------------
// Stored form

void CODModel::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        CODComponent::Serialize(ar);
        ar << (DWORD)2;
        m_pageSettings.Serialize(ar);
        ar << (DWORD)m_crBackground;
        ar.WriteObject(m_pBackground);
        m_bModified = FALSE;
        return;
    }

    // Nothing of a drawing that could not be read stays behind: what the reading replaces is
    // kept until the whole record has been read, and put back when it is refused.
    const int before = m_children.GetSize();
    KeptState kept;
    KeepState(kept);
    const CODPageSettings keptPage(m_pageSettings);
    const COLORREF keptColor = m_crBackground;
    const BOOL keptModified = m_bModified;
    CODComponent* background = NULL;
    try {
        CODConnectionSweep sweep;
        CODComponent::Serialize(ar);
        DWORD version;
        ar >> version;
        if (version <= 1)
            m_pageSettings.SerializeOldFormat(ar);
        else
            m_pageSettings.Serialize(ar);
        DWORD color;
        ar >> color;
        m_crBackground = color;
        background = (CODComponent*)ar.ReadObject(RUNTIME_CLASS(CODComponent));
        if (background && (background->GetParent() || background->GetRefCount() != 0 ||
                           background->IsKindOfName("CODModel"))) {
            // One held elsewhere in the drawing is left to its holder; one read just for this
            // place is of no use to anyone.
            if (background->GetParent() == NULL && background->GetRefCount() == 0)
                delete background;
            background = NULL;
            AfxThrowArchiveException(CArchiveException::badIndex, ar.m_strFileName);
        }
    } catch (...) {
        while (m_children.GetSize() > before)
            RemoveChildAt(m_children.GetSize() - 1);
        RestoreState(kept);
        m_pageSettings = keptPage;
        m_crBackground = keptColor;
        UpdateRegion(FALSE);
        RebuildIndex();
        m_bModified = keptModified;
        throw;
    }
    DropState(kept);
    DisposeBackground();
    m_pBackground = background;
    m_bBackgroundShared = FALSE;
    UpdateRegion(FALSE);
    RebuildIndex();
    UpdateComponents(NULL, 3);
    m_bModified = FALSE;
}
