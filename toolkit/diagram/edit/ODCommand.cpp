#include "ODCommand.h"
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

CODUpdateCommand* CODUpdateCommand::Clone()
{
    CODUpdateCommand* copy = new CODUpdateCommand(m_pModel);
    copy->AddComponents(&m_components);
    return copy;
}
