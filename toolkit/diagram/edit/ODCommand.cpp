#include "ODCommand.h"
#include "ODLabelComponent.h"
#include "ODModel.h"

CODCommand::CODCommand(CODModel* model) : m_pModel(model)
{
}

CODCommand::~CODCommand()
{
    DropAllComponents();
}

BOOL CODCommand::Unexecute()
{
    MvcCommandBase* inverse = MakeInverse();
    if (inverse == NULL)
        return TRUE;
    inverse->Execute();
    delete inverse;
    return TRUE;
}

void CODCommand::AddComponent(CODComponent* component)
{
    if (component == NULL || m_components.IndexOf(component) >= 0)
        return;
    m_components.Add(component);
    component->AddRef();
}

void CODCommand::AddComponents(CODComponentSet* set)
{
    if (set)
        for (int i = 0; i < set->GetSize(); ++i)
            AddComponent((*set)[i]);
}

void CODCommand::RemoveComponent(CODComponent* component)
{
    int index = component ? m_components.IndexOf(component) : -1;
    if (index < 0)
        return;
    m_components.RemoveAt(index, 1);
    component->Release();
}

void CODCommand::RemoveAllComponents()
{
    DropAllComponents();
}

void CODCommand::DropAllComponents()
{
    while (m_components.GetSize() > 0) {
        CODComponent* last = m_components[m_components.GetSize() - 1];
        m_components.RemoveAt(m_components.GetSize() - 1, 1);
        last->Release();
    }
}

void CODComponentSetCommand::RecordIndexes(CODComponentSet* set)
{
    if (set == NULL || m_pModel == NULL)
        return;
    for (int i = 0; i < set->GetSize(); ++i) {
        int index = m_pModel->GetChildIndex((*set)[i]);
        if (index != -1)
            m_indexes.SetAt((*set)[i], index);
    }
}

BOOL CODComponentSetCommand::LookupIndex(CODComponent* component, int& index) const
{
    return m_indexes.Lookup(component, index);
}

CODComponentSetCommand::~CODComponentSetCommand()
{
    POSITION pos = m_owners.GetStartPosition();
    while (pos) {
        CODComponent *label, *owner;
        m_owners.GetNextAssoc(pos, label, owner);
        owner->Release();
    }
}

void CODComponentSetCommand::StoreOwner(CODComponent* label, CODComponent* owner)
{
    CODComponent* old = NULL;
    if (owner == NULL || (m_owners.Lookup(label, old) && old == owner))
        return;
    owner->AddRef();
    if (old)
        old->Release();
    m_owners.SetAt(label, owner);
}

void CODComponentSetCommand::RecordOwners(CODComponentSet* set)
{
    for (int i = 0; set && i < set->GetSize(); ++i)
        if (CODLabelComponent* label = DYNAMIC_DOWNCAST(CODLabelComponent, (*set)[i]))
            StoreOwner(label, label->GetOwner());
}

void CODComponentSetCommand::RestoreOwner(CODComponent* component)
{
    CODLabelComponent* label = DYNAMIC_DOWNCAST(CODLabelComponent, component);
    CODComponent* owner = NULL;
    // A symbol no longer in a drawing does not take the label back.
    if (label && label->GetOwner() == NULL && m_owners.Lookup(label, owner) && owner->GetParent())
        label->SetOwner(owner);
}

void CODComponentSetCommand::CopyRecords(CODComponent* component, CODComponentSetCommand* to) const
{
    int index;
    if (LookupIndex(component, index))
        to->StoreIndex(component, index);
    CODComponent* owner;
    if (m_owners.Lookup(component, owner))
        to->StoreOwner(component, owner);
}

CODUpdateCommand* CODUpdateCommand::Clone()
{
    CODUpdateCommand* copy = new CODUpdateCommand(m_pModel);
    copy->AddComponents(&m_components);
    return copy;
}
