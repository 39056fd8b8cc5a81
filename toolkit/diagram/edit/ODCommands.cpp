#include "ODCommands.h"
#include "ODImageComponent.h"
#include "ODLinkComponent.h"
#include <algorithm>
#include <utility>
#include <vector>
#include "ODGeometry.h"
#include "diagram_res.h"
#include "ODPointComponent.h"
#include "ODTextComponent.h"

namespace {

void Describe(CString& out, LPCTSTR name, int count)
{
    out.Format("%s: %d components", name, count);
}

// The component and everything below it, parents first.
void CollectTree(CODComponent* c, CArray<CODComponent*, CODComponent*>& out)
{
    out.Add(c);
    for (int i = 0; i < c->GetChildCount(); ++i)
        CollectTree(c->GetChild(i), out);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Insert and delete

void CODInsertCommand::GetDescription(CString& description)
{
    Describe(description, "Insert Command", m_components.GetSize());
}

BOOL CODInsertCommand::Execute()
{
    RecordOwners(&m_components);
    // Members with a recorded place go back lowest place first, whatever the order of the set:
    // each then lands where it was, and the stacking order is the one before the delete.
    std::vector<std::pair<int, int>> placed;  // (recorded index, member)
    std::vector<int> appended;
    for (int i = 0; i < m_components.GetSize(); ++i) {
        int index;
        if (LookupIndex(m_components[i], index))
            placed.push_back(std::make_pair(index, i));
        else
            appended.push_back(i);
    }
    std::stable_sort(placed.begin(), placed.end(),
                     [](const std::pair<int, int>& a, const std::pair<int, int>& b) {
                         return a.first < b.first;
                     });
    for (size_t k = 0; k < placed.size() + appended.size(); ++k) {
        const bool hasPlace = k < placed.size();
        CODComponent* c = m_components[hasPlace ? placed[k].second : appended[k - placed.size()]];
        if (m_pModel->GetChildIndex(c) != -1)
            continue;
        RestoreOwner(c);
        if (hasPlace && placed[k].first < m_pModel->GetChildCount())
            m_pModel->InsertChild(c, placed[k].first);
        else
            m_pModel->AppendChild(c);
    }
    m_pModel->UpdateComponents(&m_components, 1);
    return TRUE;
}

MvcCommandBase* CODInsertCommand::MakeInverse()
{
    CODDeleteCommand* inverse = new CODDeleteCommand(m_pModel);
    for (int i = m_components.GetSize() - 1; i >= 0; --i)
        inverse->AddComponent(m_components[i]);
    return inverse;
}

CODInsertCommand* CODInsertCommand::Clone()
{
    CODInsertCommand* copy = new CODInsertCommand(m_pModel);
    for (int i = 0; i < m_components.GetSize(); ++i) {
        copy->AddComponent(m_components[i]);
        CopyRecords(m_components[i], copy);
    }
    return copy;
}

void CODDeleteCommand::GetDescription(CString& description)
{
    Describe(description, "Delete Command", m_components.GetSize());
}

BOOL CODDeleteCommand::Execute()
{
    RecordIndexes(&m_components);
    RecordOwners(&m_components);
    for (int i = 0; i < m_components.GetSize(); ++i)
        m_pModel->RemoveComponent(m_components[i]);
    m_pModel->UpdateComponents(&m_components, 6);
    return TRUE;
}

// Putting back in reverse order at the recorded places rebuilds the old order.
MvcCommandBase* CODDeleteCommand::MakeInverse()
{
    CODInsertCommand* inverse = new CODInsertCommand(m_pModel);
    for (int i = m_components.GetSize() - 1; i >= 0; --i) {
        inverse->AddComponent(m_components[i]);
        CopyRecords(m_components[i], inverse);
    }
    return inverse;
}

CODDeleteCommand* CODDeleteCommand::Clone()
{
    CODDeleteCommand* copy = new CODDeleteCommand(m_pModel);
    for (int i = 0; i < m_components.GetSize(); ++i) {
        copy->AddComponent(m_components[i]);
        CopyRecords(m_components[i], copy);
    }
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Move, rotate, scale

void CODMoveCommand::GetDescription(CString& description)
{
    description.Format("Move Command: x = %d  y = %d", m_nDx, m_nDy);
}

CODMoveCommand* CODMoveCommand::Clone()
{
    CODMoveCommand* copy = new CODMoveCommand(m_pModel, m_nDx, m_nDy);
    copy->AddComponents(&m_components);
    return copy;
}

BOOL CODMoveCommand::Execute()
{
    m_pModel->ConstrainOffset(&m_components, &m_nDx, &m_nDy, NULL);
    m_pModel->MoveComponents(&m_components, m_nDx, m_nDy);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

MvcCommandBase* CODMoveCommand::MakeInverse()
{
    CODMoveCommand* inverse = new CODMoveCommand(m_pModel, -m_nDx, -m_nDy);
    inverse->AddComponents(&m_components);
    return inverse;
}

void CODRotateCommand::GetDescription(CString& description)
{
    description.Format("Rotate Command: angle = %.1f  aspect ratio = %d:%d", m_nAngle / 10.0,
                       m_nAspectX, m_nAspectY);
}

// The centres recorded by an execution are not copied: the copy records its own.
CODRotateCommand* CODRotateCommand::Clone()
{
    CODRotateCommand* copy = new CODRotateCommand(m_pModel, m_nAngle);
    copy->SetAspectRatio(m_nAspectX, m_nAspectY);
    copy->AddComponents(&m_components);
    return copy;
}

void CODRotateCommand::SetAspectRatio(int x, int y)
{
    if (x <= 0 || y <= 0)
        return;
    m_nAspectX = x;
    m_nAspectY = y;
}

BOOL CODRotateCommand::Execute()
{
    m_centreX.RemoveAll();
    m_centreY.RemoveAll();
    for (int i = 0; i < m_components.GetSize(); ++i) {
        float x, y;
        m_components[i]->GetRegionHandleF(8, &x, &y);
        m_centreX.SetAt(m_components[i], x);
        m_centreY.SetAt(m_components[i], y);
    }
    m_pModel->RotateComponents(&m_components, m_nAngle, m_nAspectX, m_nAspectY);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

BOOL CODRotateCommand::Unexecute()
{
    for (int i = 0; i < m_components.GetSize(); ++i) {
        CODComponent* c = m_components[i];
        float x, y;
        if (!m_centreX.Lookup(c, x) || !m_centreY.Lookup(c, y))
            c->GetRegionHandleF(8, &x, &y);
        const CRect before = c->GetBounds();  // the area to repaint as well
        c->Rotate(-m_nAngle, x, y, m_nAspectX, m_nAspectY);
        c->SetPreviousBounds(before.left, before.top, before.right, before.bottom);
    }
    m_pModel->SetModified(TRUE);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

void CODScaleCommand::GetDescription(CString& description)
{
    description.Format("Scale Command: x = %.1f%%  y = %.1f%%  ref point = %d",
                       (double)(m_fSx * 100.0f), (double)(m_fSy * 100.0f), m_nHandle);
}

CODScaleCommand* CODScaleCommand::Clone()
{
    CODScaleCommand* copy = new CODScaleCommand(m_pModel, m_fSx, m_fSy, m_nHandle);
    copy->AddComponents(&m_components);
    return copy;
}

BOOL CODScaleCommand::Execute()
{
    m_pModel->ScaleComponents(&m_components, m_fSx, m_fSy, m_nHandle);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

// A mirrored component's fixed handle is now on the other side.
MvcCommandBase* CODScaleCommand::MakeInverse()
{
    float sx = m_fSx != 0.0f ? 1.0f / m_fSx : 1.0f;
    float sy = m_fSy != 0.0f ? 1.0f / m_fSy : 1.0f;
    CODScaleCommand* inverse =
        new CODScaleCommand(m_pModel, sx, sy, MirrorHandle(m_fSx, m_fSy, m_nHandle));
    inverse->AddComponents(&m_components);
    return inverse;
}

// ---------------------------------------------------------------------------------------------
// Vertices

CODVertexCommand::CODVertexCommand(CODModel* model, CODComponent* component, int index, int x,
                                   int y)
    : CODCommand(model), m_nIndex(index), m_pt(x, y)
{
    AddComponent(component);
}

BOOL CODInsertVertexCommand::Execute()
{
    m_pModel->InsertVertex(&m_components, m_nIndex, m_pt.x, m_pt.y);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

MvcCommandBase* CODInsertVertexCommand::MakeInverse()
{
    return new CODDeleteVertexCommand(m_pModel, m_components.GetSize() ? m_components[0] : NULL,
                                      m_nIndex);
}

// The vertex's position is kept so that the inverse puts it back where it was.
BOOL CODDeleteVertexCommand::Execute()
{
    if (m_components.GetSize() > 0)
        if (CODPointComponent* p = DYNAMIC_DOWNCAST(CODPointComponent, m_components[0])) {
            CArray<CPoint, CPoint> vertices;
            p->GetVertexArray(&vertices);
            if (m_nIndex >= 0 && m_nIndex < vertices.GetSize())
                m_pt = vertices[m_nIndex];
        }
    m_pModel->DeleteVertex(&m_components, m_nIndex);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

MvcCommandBase* CODDeleteVertexCommand::MakeInverse()
{
    return new CODInsertVertexCommand(m_pModel, m_components.GetSize() ? m_components[0] : NULL,
                                      m_nIndex, m_pt.x, m_pt.y);
}

BOOL CODMoveVertexCommand::Execute()
{
    m_pModel->MoveVertex(&m_components, m_nIndex, m_pt.x, m_pt.y);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

MvcCommandBase* CODMoveVertexCommand::MakeInverse()
{
    return new CODMoveVertexCommand(m_pModel, m_components.GetSize() ? m_components[0] : NULL,
                                    m_nIndex, -m_pt.x, -m_pt.y);
}

void CODInsertVertexCommand::GetDescription(CString& description)
{
    description.Format("Insert Vertex Command: index = %d point = (%d,%d)", m_nIndex, m_pt.x,
                       m_pt.y);
}

// The copy carries the index and the point only: it names no component to change.
CODInsertVertexCommand* CODInsertVertexCommand::Clone()
{
    return new CODInsertVertexCommand(m_pModel, NULL, m_nIndex, m_pt.x, m_pt.y);
}

void CODDeleteVertexCommand::GetDescription(CString& description)
{
    description.Format("Delete Vertex Command: index = %d", m_nIndex);
}

CODDeleteVertexCommand* CODDeleteVertexCommand::Clone()
{
    CODDeleteVertexCommand* copy = new CODDeleteVertexCommand(m_pModel, NULL, m_nIndex);
    copy->AddComponents(&m_components);
    copy->m_pt = m_pt;
    return copy;
}

void CODMoveVertexCommand::GetDescription(CString& description)
{
    description.Format("Move Vertex Command: index = %d  x = %d  y = %d", m_nIndex, m_pt.x, m_pt.y);
}

CODMoveVertexCommand* CODMoveVertexCommand::Clone()
{
    CODMoveVertexCommand* copy = new CODMoveVertexCommand(m_pModel, NULL, m_nIndex, m_pt.x, m_pt.y);
    copy->AddComponents(&m_components);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Properties

void CODPropertyCommand::GetDescription(CString& description)
{
    description.Format("Property command -> property type = %d",
                       m_pProperty ? m_pProperty->GetId() : 0);
}

// The copy has a property object of its own (both commands delete theirs) and its own copies
// of the old values; the mask is not copied.
void CODPropertyCommand::CopyTo(CODPropertyCommand* copy)
{
    copy->SetProperty(m_pProperty ? m_pProperty->Clone() : NULL);
    copy->AddComponents(&m_components);
    for (int i = 0; i < m_touched.GetSize(); ++i) {
        m_touched[i]->AddRef();
        copy->m_touched.Add(m_touched[i]);
        copy->m_before.Add(m_before[i] ? m_before[i]->Clone() : NULL);
    }
}

CODPropertyCommand* CODPropertyCommand::Clone()
{
    CODPropertyCommand* copy = new CODPropertyCommand(m_pModel);
    CopyTo(copy);
    return copy;
}

void CODFontCommand::GetDescription(CString& description)
{
    description.Format("Font command -> property type = %d", m_pProperty ? m_pProperty->GetId() : 0);
}

CODFontCommand* CODFontCommand::Clone()
{
    CODFontCommand* copy = new CODFontCommand(m_pModel);
    CopyTo(copy);
    copy->m_texts.Append(m_texts);
    copy->m_bounds.Append(m_bounds);
    return copy;
}

CODPropertyCommand::CODPropertyCommand(CODModel* model, CODProperty* property)
    : CODCommand(model), m_pProperty(property), m_dwMask(0xFFFF)
{
}

CODPropertyCommand::~CODPropertyCommand()
{
    Forget();
    delete m_pProperty;
}

void CODPropertyCommand::SetProperty(CODProperty* property)
{
    if (property == m_pProperty)
        return;
    delete m_pProperty;
    m_pProperty = property;
}

void CODPropertyCommand::Forget()
{
    for (int i = 0; i < m_before.GetSize(); ++i)
        delete m_before[i];
    for (int i = 0; i < m_touched.GetSize(); ++i)
        m_touched[i]->Release();
    m_before.RemoveAll();
    m_touched.RemoveAll();
}

BOOL CODPropertyCommand::Execute()
{
    if (m_pProperty == NULL)
        return FALSE;
    Forget();
    for (int i = 0; i < m_components.GetSize(); ++i) {
        CArray<CODComponent*, CODComponent*> tree;
        CollectTree(m_components[i], tree);
        for (int n = 0; n < tree.GetSize(); ++n) {
            CODProperty* had = tree[n]->FindProperty(m_pProperty->GetId());
            tree[n]->AddRef();
            m_touched.Add(tree[n]);
            m_before.Add(had ? had->Clone() : NULL);
        }
    }
    for (int i = 0; i < m_components.GetSize(); ++i)
        m_components[i]->SetProperty(*m_pProperty, m_dwMask);
    m_pModel->SetModified(TRUE);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

BOOL CODPropertyCommand::Unexecute()
{
    for (int i = 0; i < m_touched.GetSize(); ++i) {
        CODComponent* c = m_touched[i];
        if (m_before[i])
            c->SetOrAddProperty(*m_before[i]);
        else if (m_pProperty)
            c->RemoveProperty(m_pProperty->GetId());
        c->UpdateRegion(FALSE);
    }
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

BOOL CODFontCommand::Execute()
{
    m_texts.RemoveAll();
    m_bounds.RemoveAll();
    for (int i = 0; i < m_components.GetSize(); ++i) {
        CArray<CODComponent*, CODComponent*> tree;
        CollectTree(m_components[i], tree);
        for (int n = 0; n < tree.GetSize(); ++n)
            if (CODTextComponent* t = DYNAMIC_DOWNCAST(CODTextComponent, tree[n])) {
                m_texts.Add(t);
                m_bounds.Add(t->GetTextBounds());
            }
    }
    CODPropertyCommand::Execute();
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    for (int i = 0; i < m_texts.GetSize(); ++i) {
        CODTextComponent* t = static_cast<CODTextComponent*>(m_texts[i]);
        t->SizeToText(8, &dc);
        t->UpdateRegion(TRUE);
    }
    return TRUE;
}

BOOL CODFontCommand::Unexecute()
{
    CODPropertyCommand::Unexecute();
    for (int i = 0; i < m_texts.GetSize(); ++i) {
        CODTextComponent* t = static_cast<CODTextComponent*>(m_texts[i]);
        t->SetTextBounds(m_bounds[i]);
        t->UpdateRegion(TRUE);
    }
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

BOOL CODNameCommand::Execute()
{
    m_oldNames.RemoveAll();
    for (int i = 0; i < m_components.GetSize(); ++i) {
        m_oldNames.Add(m_components[i]->GetName());
        m_components[i]->SetName(m_strName);
    }
    m_pModel->SetModified(TRUE);
    m_pModel->UpdateComponents(&m_components, 0);
    return TRUE;
}

BOOL CODNameCommand::Unexecute()
{
    for (int i = 0; i < m_components.GetSize() && i < m_oldNames.GetSize(); ++i)
        m_components[i]->SetName(m_oldNames[i]);
    m_pModel->UpdateComponents(&m_components, 0);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Link

CODLinkCommand::~CODLinkCommand()
{
    SetSourcePort(NULL);
    SetTargetPort(NULL);
}

void CODLinkCommand::SetSourcePort(CODPortComponent* port)
{
    if (port)
        port->AddRef();
    if (m_pSource)
        m_pSource->Release();
    m_pSource = port;
}

void CODLinkCommand::SetTargetPort(CODPortComponent* port)
{
    if (port)
        port->AddRef();
    if (m_pTarget)
        m_pTarget->Release();
    m_pTarget = port;
}

CODComponent* CODLinkCommand::CreateLink()
{
    CODLinkComponent* link = new CODLinkComponent;
    link->Create(m_path, NULL, NULL);
    return link;
}

BOOL CODLinkCommand::Execute()
{
    if (m_components.GetSize() == 0)
        AddComponent(CreateLink());
    CODLinkComponent* link = DYNAMIC_DOWNCAST(CODLinkComponent, m_components[0]);
    if (link) {
        if (m_pSource)
            link->ConnectSource(m_pSource);
        if (m_pTarget)
            link->ConnectTarget(m_pTarget);
        if (m_path.GetSize() > 1)
            link->SetVertexArray(&m_path);
    }
    if (m_pModel->GetChildIndex(m_components[0]) < 0)
        m_pModel->AppendChild(m_components[0]);
    m_pModel->UpdateComponents(&m_components, 1);
    return TRUE;
}

MvcCommandBase* CODLinkCommand::MakeInverse()
{
    if (m_components.GetSize() != 1)
        return NULL;
    CODDeleteCommand* inverse = new CODDeleteCommand(m_pModel);
    inverse->AddComponent(m_components[0]);
    return inverse;
}

void CODLinkCommand::GetDescription(CString& description)
{
    description.Format("Link Command: %d components", (int)m_components.GetSize());
}

CODLinkCommand* CODLinkCommand::Clone()
{
    CODLinkCommand* copy = new CODLinkCommand(m_pModel);
    if (m_components.GetSize() > 0)
        copy->AddComponent(m_components[0]);
    copy->SetSourcePort(m_pSource);
    copy->SetTargetPort(m_pTarget);
    copy->SetPath(m_path);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Port move

void CODMovePortCommand::DropConnectedPorts()
{
    for (int i = 0; i < m_connected.GetSize(); ++i)
        m_connected[i]->Release();
    m_connected.RemoveAll();
}

BOOL CODMovePortCommand::Execute()
{
    CODComponentSet refresh;
    BOOL moved = FALSE;
    CODPortComponent* port =
        m_components.GetSize() == 1 ? DYNAMIC_DOWNCAST(CODPortComponent, m_components[0]) : NULL;
    CODSymbolComponent* owner = CODSymbolComponent::OwnerOf(port);
    if (owner) {
        DropConnectedPorts();
        CODConnectionArray joined;
        owner->FindConnections(port, &joined);
        for (int i = 0; i < joined.GetSize(); ++i)
            if (CODPortComponent* other = owner->GetConnectedPort(joined[i])) {
                other->AddRef();
                m_connected.Add(other);
            }
        moved = owner->MovePort(port, m_nDx, m_nDy);
        if (moved) {
            refresh.Add(owner);
            CODSymbolComponent* targetOwner = CODSymbolComponent::OwnerOf(m_pTarget);
            if (targetOwner && owner->Connect(port, m_pTarget) && refresh.IndexOf(targetOwner) < 0)
                refresh.Add(targetOwner);
            owner->UpdateRegion(TRUE);
        }
        m_pModel->SetModified(TRUE);
    }
    m_pModel->UpdateComponents(&refresh, 2);
    return moved;
}

BOOL CODMovePortCommand::Unexecute()
{
    CODComponentSet refresh;
    BOOL moved = FALSE;
    CODPortComponent* port =
        m_components.GetSize() == 1 ? DYNAMIC_DOWNCAST(CODPortComponent, m_components[0]) : NULL;
    CODSymbolComponent* owner = CODSymbolComponent::OwnerOf(port);
    if (owner) {
        moved = owner->MovePort(port, -m_nDx, -m_nDy);
        if (moved) {
            refresh.Add(owner);
            for (int i = 0; i < m_connected.GetSize(); ++i)
                if (!owner->FindConnection(port, m_connected[i]) &&
                    !owner->FindConnection(m_connected[i], port))
                    owner->Connect(port, m_connected[i]);
            owner->UpdateRegion(TRUE);
        }
    }
    m_pModel->UpdateComponents(&refresh, 2);
    return moved;
}

void CODMovePortCommand::GetDescription(CString& description)
{
    description.Format("Move Port Command: x = %d  y = %d", m_nDx, m_nDy);
}

CODMovePortCommand* CODMovePortCommand::Clone()
{
    CODMovePortCommand* copy = new CODMovePortCommand(m_pModel, m_nDx, m_nDy, m_pTarget);
    copy->AddComponents(&m_components);
    return copy;
}

// ---------------------------------------------------------------------------------------------
// Transparency

BOOL CODTransparencyCommand::Execute()
{
    m_oldTransparent.RemoveAll();
    m_oldColors.RemoveAll();
    for (int i = 0; i < m_components.GetSize(); ++i) {
        CODImageComponent* image = DYNAMIC_DOWNCAST(CODImageComponent, m_components[i]);
        if (image == NULL)
            continue;
        if (m_bApplyTransparent) {
            m_oldTransparent.SetAt(image, image->GetTransparent());
            image->SetTransparent(m_bTransparent);
        }
        if (m_bApplyColor) {
            m_oldColors.SetAt(image, image->GetTransparentColor());
            image->SetTransparency(m_crTransparent);
        }
    }
    m_pModel->SetModified(TRUE);
    m_pModel->UpdateComponents(&m_components, 0);
    return TRUE;
}

BOOL CODTransparencyCommand::Unexecute()
{
    for (int i = (int)m_components.GetSize() - 1; i >= 0; --i) {
        CODImageComponent* image = DYNAMIC_DOWNCAST(CODImageComponent, m_components[i]);
        if (image == NULL)
            continue;
        int transparent;
        COLORREF colour;
        if (m_bApplyTransparent && m_oldTransparent.Lookup(image, transparent))
            image->SetTransparent(transparent);
        if (m_bApplyColor && m_oldColors.Lookup(image, colour))
            image->SetTransparency(colour);
    }
    m_pModel->UpdateComponents(&m_components, 0);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Text

void CODTextCommand::SetMapping(CDC* dc)
{
    m_nMapMode = MM_TEXT;
    m_szWindowExt = m_szViewportExt = CSize(1, 1);
    if (dc == NULL || dc->GetSafeHdc() == NULL)
        return;
    m_nMapMode = dc->GetMapMode();
    if (m_nMapMode == MM_ANISOTROPIC || m_nMapMode == MM_ISOTROPIC) {
        m_szWindowExt = dc->GetWindowExt();
        m_szViewportExt = dc->GetViewportExt();
    }
}

void CODTextCommand::PrepareMeasureDC(CDC* dc)
{
    dc->SetMapMode(m_nMapMode);
    if (m_nMapMode == MM_ANISOTROPIC || m_nMapMode == MM_ISOTROPIC) {
        dc->SetWindowExt(m_szWindowExt);
        dc->SetViewportExt(m_szViewportExt);
    }
}

BOOL CODTextCommand::Execute()
{
    m_texts.RemoveAll();
    m_oldTexts.RemoveAll();
    m_oldBounds.RemoveAll();
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    PrepareMeasureDC(&dc);
    for (int i = 0; i < m_components.GetSize(); ++i) {
        CODTextComponent* t = DYNAMIC_DOWNCAST(CODTextComponent, m_components[i]);
        if (t == NULL)
            continue;
        m_texts.Add(t);
        m_oldTexts.Add(t->GetText());
        m_oldBounds.Add(t->GetTextBounds());
        t->SetText(m_strText);
        t->SizeToText(8, &dc);
        t->UpdateRegion(TRUE);
    }
    m_pModel->SetModified(TRUE);
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

BOOL CODTextCommand::Unexecute()
{
    for (int i = 0; i < m_texts.GetSize(); ++i) {
        m_texts[i]->SetText(m_oldTexts[i]);
        m_texts[i]->SetTextBounds(m_oldBounds[i]);
        m_texts[i]->UpdateRegion(TRUE);
    }
    m_pModel->UpdateComponents(&m_components, 2);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Group and ungroup

CODGroupCommand::~CODGroupCommand()
{
    SetGroup(NULL);
}

void CODGroupCommand::SetGroup(CODComponent* group)
{
    if (group == m_pGroup)
        return;
    if (group)
        group->AddRef();
    if (m_pGroup)
        m_pGroup->Release();
    m_pGroup = group;
}

BOOL CODGroupCommand::Execute()
{
    RecordIndexes(&m_components);
    // The group takes the place of its frontmost member.
    int at = -1;
    for (int i = 0; i < m_components.GetSize(); ++i) {
        int index;
        if (LookupIndex(m_components[i], index))
            at = std::max(at, index);
    }
    if (at >= 0)
        at -= m_components.GetSize() - 1;
    m_pModel->GroupComponents(&m_components, m_pGroup, at < 0 ? -1 : at);
    CODComponentSet changed;
    if (m_pGroup && m_pModel->GetChildIndex(m_pGroup) >= 0)
        changed.Add(m_pGroup);
    m_pModel->UpdateComponents(&changed, 1);
    return TRUE;
}

BOOL CODGroupCommand::Unexecute()
{
    if (m_pGroup && m_pModel->GetChildIndex(m_pGroup) >= 0) {
        CMap<CODComponent*, CODComponent*, int, int> positions;
        for (int i = 0; i < m_components.GetSize(); ++i) {
            int index;
            if (LookupIndex(m_components[i], index))
                positions.SetAt(m_components[i], index);
        }
        m_pModel->UngroupComponents(m_pGroup, &positions);
    }
    m_pModel->UpdateComponents(&m_components, 1);
    return TRUE;
}

CODUngroupCommand::~CODUngroupCommand()
{
    Forget();
}

void CODUngroupCommand::Forget()
{
    POSITION pos = m_children.GetStartPosition();
    while (pos) {
        CODComponent* group;
        CODComponentSet* children;
        m_children.GetNextAssoc(pos, group, children);
        for (int i = 0; i < children->GetSize(); ++i)
            (*children)[i]->Release();
        delete children;
    }
    m_children.RemoveAll();
    m_groupIndexes.RemoveAll();
}

BOOL CODUngroupCommand::LookupChildren(CODComponent* group, CODComponentSet*& children) const
{
    return m_children.Lookup(group, children);
}

BOOL CODUngroupCommand::Execute()
{
    Forget();
    CString groupType;
    groupType.LoadString(IDS_OD_GROUP);
    CODComponentSet changed;
    for (int i = 0; i < m_components.GetSize(); ++i) {
        CODComponent* group = m_components[i];
        int index = m_pModel->GetChildIndex(group);
        if (index < 0 || group->GetChildCount() <= 0 || group->GetType() != groupType)
            continue;
        CODComponentSet* children = new CODComponentSet;
        for (int n = 0; n < group->GetChildCount(); ++n) {
            children->Add(group->GetChild(n));
            group->GetChild(n)->AddRef();
        }
        m_children.SetAt(group, children);
        m_groupIndexes.SetAt(group, index);
        m_pModel->UngroupComponents(group, NULL);
        changed.Append(*children);
    }
    m_pModel->UpdateComponents(&changed, 1);
    return TRUE;
}

BOOL CODUngroupCommand::Unexecute()
{
    for (int i = m_components.GetSize() - 1; i >= 0; --i) {
        CODComponent* group = m_components[i];
        CODComponentSet* children;
        int index;
        if (!m_children.Lookup(group, children) || !m_groupIndexes.Lookup(group, index))
            continue;
        m_pModel->GroupComponents(children, group, index);
    }
    m_pModel->UpdateComponents(&m_components, 1);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Order

BOOL CODOrderCommand::Execute()
{
    m_before.RemoveAll();
    m_before.Append(*m_pModel->GetChildren());
    m_pModel->OrderComponents(&m_components, m_nKind);
    return TRUE;
}

BOOL CODOrderCommand::Unexecute()
{
    // Only the order changed: put every former top-level component back at its place.
    for (int i = 0; i < m_before.GetSize(); ++i) {
        CODComponent* c = m_before[i];
        int now = m_pModel->GetChildIndex(c);
        if (now < 0 || now == i)
            continue;
        c->AddRef();
        m_pModel->RemoveChildAt(now);
        m_pModel->InsertChild(c, std::min(i, m_pModel->GetChildCount()));
        c->Release();
    }
    m_pModel->UpdateComponents(&m_components, 1);
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Macro and align

CODMacroCommand::~CODMacroCommand()
{
    RemoveAllCommands();
}

void CODMacroCommand::AddCommand(MvcCommandBase* command)
{
    if (command == NULL)
        return;
    m_commands.Add(command);
    if (CODCommand* od = dynamic_cast<CODCommand*>(command))
        AddComponents(od->GetComponents());
}

void CODMacroCommand::AddCommands(CommandList* commands)
{
    if (commands)
        for (int i = 0; i < commands->GetSize(); ++i)
            AddCommand((*commands)[i]);
}

void CODMacroCommand::RemoveAllCommands()
{
    for (int i = 0; i < m_commands.GetSize(); ++i)
        delete m_commands[i];
    m_commands.RemoveAll();
}

BOOL CODMacroCommand::Execute()
{
    for (int i = 0; i < m_commands.GetSize(); ++i)
        m_commands[i]->Execute();
    return TRUE;
}

BOOL CODMacroCommand::Unexecute()
{
    for (int i = (int)m_commands.GetSize() - 1; i >= 0; --i)
        m_commands[i]->Unexecute();
    return TRUE;
}

// The moves are worked out once; a redo runs the same moves again.
BOOL CODAlignCommand::Execute()
{
    if (m_commands.GetSize() == 0 && m_components.GetSize() > 1) {
        CRect a = m_components[m_components.GetSize() - 1]->GetBounds();
        for (int i = 0; i < m_components.GetSize() - 1; ++i) {
            CRect b = m_components[i]->GetBounds();
            int dx = 0, dy = 0;
            switch (m_nKind) {
            case 0: dy = a.top - b.top; break;
            case 1: dy = a.CenterPoint().y - b.CenterPoint().y; break;
            case 2: dy = a.bottom - b.bottom; break;
            case 3: dx = a.left - b.left; break;
            case 4: dx = a.CenterPoint().x - b.CenterPoint().x; break;
            case 5: dx = a.right - b.right; break;
            default: break;
            }
            CODMoveCommand* move = new CODMoveCommand(m_pModel, dx, dy);
            move->AddComponent(m_components[i]);
            AddCommand(move);
        }
    }
    return CODMacroCommand::Execute();
}

// ---------------------------------------------------------------------------------------------
// Descriptions and copies of the name, text, structure and macro commands

void CODNameCommand::GetDescription(CString& description)
{
    description.Format("Name Command: name = %s", (LPCTSTR)m_strName);
}

CODNameCommand* CODNameCommand::Clone()
{
    CODNameCommand* copy = new CODNameCommand(m_pModel);
    copy->SetName(m_strName);
    copy->AddComponents(&m_components);
    copy->m_oldNames.Append(m_oldNames);
    return copy;
}

// The colour as six hexadecimal digits (blue, green, red as a COLORREF holds them).
void CODTransparencyCommand::GetDescription(CString& description)
{
    description.Format("Transparency Command: transparent value = %s transparent color = 0x%06X",
                       m_bTransparent ? "TRUE" : "FALSE", (unsigned)m_crTransparent);
}

CODTransparencyCommand* CODTransparencyCommand::Clone()
{
    CODTransparencyCommand* copy = new CODTransparencyCommand(m_pModel);
    copy->m_bTransparent = m_bTransparent;
    copy->m_crTransparent = m_crTransparent;
    copy->m_bApplyTransparent = m_bApplyTransparent;
    copy->m_bApplyColor = m_bApplyColor;
    copy->AddComponents(&m_components);
    for (POSITION at = m_oldTransparent.GetStartPosition(); at;) {
        CODComponent* c;
        int value;
        m_oldTransparent.GetNextAssoc(at, c, value);
        copy->m_oldTransparent.SetAt(c, value);
    }
    for (POSITION at = m_oldColors.GetStartPosition(); at;) {
        CODComponent* c;
        COLORREF value;
        m_oldColors.GetNextAssoc(at, c, value);
        copy->m_oldColors.SetAt(c, value);
    }
    return copy;
}

void CODTextCommand::GetDescription(CString& description)
{
    description.Format("Text Command: text = %s", (LPCTSTR)m_strText);
}

// The mapping is not copied: the copy measures in MM_TEXT until it is given one.
CODTextCommand* CODTextCommand::Clone()
{
    CODTextCommand* copy = new CODTextCommand(m_pModel);
    copy->SetText(m_strText);
    copy->AddComponents(&m_components);
    copy->m_texts.Append(m_texts);
    copy->m_oldTexts.Append(m_oldTexts);
    copy->m_oldBounds.Append(m_oldBounds);
    return copy;
}

void CODGroupCommand::GetDescription(CString& description)
{
    Describe(description, "Group Command", m_components.GetSize());
}

namespace {

void CopyIndexes(const CMap<CODComponent*, CODComponent*, int, int>& from,
                 CMap<CODComponent*, CODComponent*, int, int>& to)
{
    POSITION pos = from.GetStartPosition();
    while (pos) {
        CODComponent* c;
        int index;
        from.GetNextAssoc(pos, c, index);
        to.SetAt(c, index);
    }
}

}  // namespace

// The group itself is not copied: the copy is given its own.
CODGroupCommand* CODGroupCommand::Clone()
{
    CODGroupCommand* copy = new CODGroupCommand(m_pModel);
    copy->AddComponents(&m_components);
    CopyIndexes(m_indexes, copy->m_indexes);
    return copy;
}

void CODUngroupCommand::GetDescription(CString& description)
{
    description.Format("Ungroup Command: %d groups", m_components.GetSize());
}

CODUngroupCommand* CODUngroupCommand::Clone()
{
    CODUngroupCommand* copy = new CODUngroupCommand(m_pModel);
    copy->AddComponents(&m_components);
    CopyIndexes(m_groupIndexes, copy->m_groupIndexes);
    POSITION pos = m_children.GetStartPosition();
    while (pos) {
        CODComponent* group;
        CODComponentSet* children;
        m_children.GetNextAssoc(pos, group, children);
        CODComponentSet* own = new CODComponentSet;
        for (int i = 0; i < children->GetSize(); ++i) {
            (*children)[i]->AddRef();
            own->Add((*children)[i]);
        }
        copy->m_children.SetAt(group, own);
    }
    return copy;
}

void CODOrderCommand::GetDescription(CString& description)
{
    static const char* const kinds[4] = {"Front", "Back", "Forward", "Backward"};
    description.Format("Order Command: %s",
                       m_nKind >= 0 && m_nKind < 4 ? kinds[m_nKind] : "Undefined");
}

CODOrderCommand* CODOrderCommand::Clone()
{
    CODOrderCommand* copy = new CODOrderCommand(m_pModel, m_nKind);
    copy->AddComponents(&m_components);
    copy->m_before.Append(m_before);
    return copy;
}

void CODMacroCommand::GetDescription(CString& description)
{
    description.Format("Macro Command: %d commands on %d components\n", (int)m_commands.GetSize(),
                       m_components.GetSize());
    for (int i = 0; i < m_commands.GetSize(); ++i) {
        CString line;
        m_commands[i]->GetDescription(line);
        description += "  " + line + "\n";
    }
}
