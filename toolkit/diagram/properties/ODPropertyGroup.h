// The part every property group shares: the container interface over relative member indexes,
// each member answering only its own value kind.
#pragma once
#include "ODProperty.h"

class CODPropertyGroup : public CODProperty, public IODPropertyContainer
{
public:
    explicit CODPropertyGroup(int id) : CODProperty(id) {}
    CODPropertyGroup(const CODPropertyGroup& other) : CODProperty(other), IODPropertyContainer() {}

    HRESULT QueryInterface(REFIID iid, void** out) override
    {
        return CODProperty::QueryInterface(iid, out);
    }
    ULONG AddRef() override { return CODProperty::AddRef(); }
    ULONG Release() override { return CODProperty::Release(); }
    IODPropertyContainer* GetContainer() override { return this; }
    BOOL Accepts(int id) const override { return id >= m_nId && id <= m_nId + GetMemberCount(); }

    using CODProperty::GetValue;
    using CODProperty::SetValue;
    BOOL GetValue(int index, float& value) override;
    BOOL GetValue(int index, DWORD& value) override;
    BOOL GetValue(int index, ODValue32& value) override;
    BOOL GetValue(int index, int& value) override;
    BOOL GetValue(int index, CString& value) override;
    BOOL SetValue(int index, float value) override;
    BOOL SetValue(int index, DWORD value) override;
    BOOL SetValue(int index, ODValue32 value) override;
    BOOL SetValue(int index, int value) override;
    BOOL SetValue(int index, LPCTSTR value) override;

protected:
    enum Kind { kindNone = 0, kindColor = 2, kindInt = 4, kindString = 5 };
    virtual int GetMemberCount() const = 0;
    // The kind of member index (1 .. count); kindNone: no typed access at all.
    virtual Kind GetMemberKind(int index) const = 0;
    virtual DWORD* ColorMember(int) { return NULL; }
    virtual int* IntMember(int) { return NULL; }
    virtual CString* StringMember(int) { return NULL; }

private:
    // FALSE outside the group; throws for a member of another kind.
    BOOL Check(int index, Kind kind) const;
};
