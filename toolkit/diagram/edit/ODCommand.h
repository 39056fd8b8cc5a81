// The base of the diagram's commands: the model a command works on and the components it
// holds a reference on; the update command the model broadcasts to its observers.
#pragma once
#include "MvcCommand.h"
#include "MvcCollections.h"

class CODModel;
class CODComponent;

class CODCommand : public MvcCommandBase
{
public:
    explicit CODCommand(CODModel* model);
    virtual ~CODCommand();

    BOOL Unexecute() override;
    virtual MvcCommandBase* MakeInverse() { return NULL; }
    virtual void AddComponent(CODComponent* component);
    virtual void AddComponents(CODComponentSet* set);
    virtual void RemoveComponent(CODComponent* component);
    virtual void RemoveAllComponents();

    CODComponentSet* GetComponents() { return &m_components; }
    CODModel* GetModel() const { return m_pModel; }

protected:
    void DropAllComponents();

    CODModel* m_pModel;
    CODComponentSet m_components;
};

class CODComponentSetCommand : public CODCommand
{
public:
    explicit CODComponentSetCommand(CODModel* model) : CODCommand(model), m_indexes(10) {}
    ~CODComponentSetCommand() override;
    // The position of each member among the model's top-level components.
    void RecordIndexes(CODComponentSet* set);
    BOOL LookupIndex(CODComponent* component, int& index) const;
    void StoreIndex(CODComponent* component, int index) { m_indexes.SetAt(component, index); }
    // A label taken out of the drawing lets go of its symbol; the symbol of each member label
    // is remembered (with a reference) so that putting the label back gives it to the symbol
    // again.
    void RecordOwners(CODComponentSet* set);
    void StoreOwner(CODComponent* label, CODComponent* owner);
    void RestoreOwner(CODComponent* component);
    // Gives another command the index and owner recorded for a member.
    void CopyRecords(CODComponent* component, CODComponentSetCommand* to) const;

protected:
    CMap<CODComponent*, CODComponent*, int, int> m_indexes;
    CMap<CODComponent*, CODComponent*, CODComponent*, CODComponent*> m_owners;
};

class CODUpdateCommand : public CODCommand
{
public:
    enum { typeId = 13 };
    explicit CODUpdateCommand(CODModel* model, int hint = 0) : CODCommand(model), m_nHint(hint) {}
    int GetType() override { return typeId; }
    using MvcCommandBase::GetDescription;
    void GetDescription(CString& description) override { description = "Update Command"; }
    virtual CODUpdateCommand* Clone();

    int GetHint() const { return m_nHint; }
    void SetHint(int hint) { m_nHint = hint; }

protected:
    int m_nHint;
};
