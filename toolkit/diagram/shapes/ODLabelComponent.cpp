#include "ODLabelComponent.h"
#include "ODEditProperties.h"
#include "ODOrientationProperties.h"
#include "ODSymbolComponent.h"
#include "ODTransform.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODLabelComponent, CODTextComponent, 1)

namespace {
CODSymbolComponent* SymbolOf(CODComponent* owner)
{
    return DYNAMIC_DOWNCAST(CODSymbolComponent, owner);
}
}  // namespace

CODLabelComponent::CODLabelComponent() : m_bFollowOwner(FALSE), m_pOwner(NULL) {}

CODLabelComponent::CODLabelComponent(int position) : m_bFollowOwner(FALSE), m_pOwner(NULL)
{
    SetOrientation(position);
}

CODLabelComponent::CODLabelComponent(const CODLabelComponent& other)
    : CODTextComponent(other), m_bFollowOwner(other.m_bFollowOwner), m_pOwner(other.m_pOwner)
{
}

CODLabelComponent::~CODLabelComponent() {}

void CODLabelComponent::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1 << (int)m_bFollowOwner;
    } else {
        DWORD version;
        int follow;
        ar >> version >> follow;
        m_bFollowOwner = follow;
    }
    CODTextComponent::Serialize(ar);
}

BOOL CODLabelComponent::Create(CDC* dc)
{
    CDC temp;
    if (dc == NULL) {
        if (!temp.CreateCompatibleDC(NULL))
            return FALSE;
        dc = &temp;
    }
    BOOL ok = CODTextComponent::Create(0, 0, dc);
    return LoadType(IDS_OD_LABEL) && ok;
}

void CODLabelComponent::SetOrientation(int position)
{
    CODOrientationProperties orientation;
    orientation.SetPosition(position);
    SetOrAddProperty(orientation);
}

void CODLabelComponent::OwnerRefresh()
{
    if (CODSymbolComponent* owner = SymbolOf(m_pOwner))
        owner->UpdateFullRegion(this);
}

BOOL CODLabelComponent::SetOrAddProperty(const CODProperty& p)
{
    BOOL ok = CODTextComponent::SetOrAddProperty(p);
    if (p.GetId() == 60 || p.GetId() == 260) {
        m_bFollowOwner = TRUE;
        UpdateRegion(TRUE);
    }
    return ok;
}

BOOL CODLabelComponent::SetProperty(const CODProperty& p, DWORD mask)
{
    BOOL ok = CODTextComponent::SetProperty(p, mask);
    if (ok && (p.GetId() == 60 || p.GetId() == 260)) {
        m_bFollowOwner = TRUE;
        UpdateRegion(TRUE);
    }
    return ok;
}

CODRgn CODLabelComponent::UpdateRegion(BOOL notifyParent)
{
    CODRgn region = CODTextComponent::UpdateRegion(notifyParent);
    OwnerRefresh();
    return region;
}

CODRgn* CODLabelComponent::RecalcRegion()
{
    CRect saved = GetBounds();
    BuildRegion(&m_region);
    CRect r = m_region.GetBounds();
    SetSize(r.Width(), r.Height());
    PositionOnOwner();
    CODRgn* region = CODTextComponent::RecalcRegion();
    m_rcPrevious = saved;
    return region;
}

void CODLabelComponent::PositionOnOwner()
{
    CODSymbolComponent* owner = SymbolOf(m_pOwner);
    if (!m_bFollowOwner || owner == NULL || FindProperty(60) == NULL)
        return;
    CPoint p = owner->GetLabelPosition(this);
    CODTransform ancestors;
    GetAncestorTransform(ancestors);
    p = ancestors.InverseTransform(p.x, p.y);
    CPoint v0 = GetVertexCount() > 0 ? GetVertexData()[0] : CPoint(0, 0);  // local
    CODTransform* t = m_pTransform ? m_pTransform : new CODTransform;
    t->SetIdentity();
    t->Translate(p.x - v0.x, p.y - v0.y);
    SetTransform(t);
}

void CODLabelComponent::OnTransformChanged()
{
    UpdateRegion(FALSE);
    if (m_pParent)
        m_pParent->OnChildChanged(this);
}

void CODLabelComponent::OnAttach(CODComponent*)
{
    if (CODSymbolComponent* owner = SymbolOf(m_pOwner)) {
        owner->AddLabel(this);
        owner->UpdateFullRegion(this);
    }
}

void CODLabelComponent::OnDetach(CODComponent*)
{
    if (CODSymbolComponent* owner = SymbolOf(m_pOwner)) {
        owner->RemoveLabel(this);
        owner->UpdateFullRegion(this);
    }
}

void CODLabelComponent::OnMoveSet(CODComponentSet* set)
{
    if (m_pOwner == NULL || set->IndexOf(m_pOwner) < 0)
        m_bFollowOwner = FALSE;
}
