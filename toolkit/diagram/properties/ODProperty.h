// Property objects of the drawing toolkit: small, serialisable, reference-counted values with an
// integer id. Single values (Bool, Int) and groups (line, fill, font, edit, orientation) share
// the operations below; equal properties are shared between components through the cache.
#pragma once
#include <afx.h>
#include <afxtempl.h>
#include <objbase.h>

// Kind 3 of the typed access: a 32-bit value of its own type, answered only by single values.
enum ODValue32 : int32_t {};

// {F2610FA0-295C-11D2-B329-006008AFE059}
extern "C" const GUID IID_IODPropertyContainer;

class CODException : public CException
{
    DECLARE_DYNAMIC(CODException)

public:
    CODException();
    virtual BOOL GetErrorMessage(LPSTR buffer, UINT max, PUINT helpContext = NULL) override;
    virtual UINT GetMessageId() const { return 0; }
    UINT GetErrorStringId() const { return GetMessageId(); }
};

class CODPropertyConversionException : public CODException
{
    DECLARE_DYNAMIC(CODPropertyConversionException)

public:
    UINT GetMessageId() const override;
};

// Creates the conversion exception on the heap and throws it.
[[noreturn]] void ODThrowConversion();

// Typed access by id. In a group the index is relative: member id minus the group's id.
class IODPropertyContainer
{
public:
    virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    virtual BOOL GetValue(int index, float& value) = 0;
    virtual BOOL GetValue(int index, DWORD& value) = 0;
    virtual BOOL GetValue(int index, ODValue32& value) = 0;
    virtual BOOL GetValue(int index, int& value) = 0;
    virtual BOOL GetValue(int index, CString& value) = 0;
    virtual BOOL SetValue(int index, float value) = 0;
    virtual BOOL SetValue(int index, DWORD value) = 0;
    virtual BOOL SetValue(int index, ODValue32 value) = 0;
    virtual BOOL SetValue(int index, int value) = 0;
    virtual BOOL SetValue(int index, LPCTSTR value) = 0;

protected:
    ~IODPropertyContainer() {}
};

// The IUnknown-style part of every property.
class IODPropertyUnknown
{
public:
    virtual HRESULT QueryInterface(REFIID iid, void** out) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IODPropertyUnknown() {}
};

class CODProperty : public CObject, public IODPropertyUnknown
{
    DECLARE_SERIAL(CODProperty)

public:
    explicit CODProperty(int id = -1);
    CODProperty(const CODProperty& other);
    virtual ~CODProperty();

    void Serialize(CArchive& ar) override;
    virtual BOOL Accepts(int id) const;
    virtual CODProperty* Clone() const;
    virtual void CopyFrom(const CODProperty* other, DWORD mask);
    virtual BOOL IsEqual(const CODProperty* other) const;
    virtual void GetValueAsString(CString& value);
    virtual void SetValueFromString(const char* value);
    virtual void GetValue(float& value);
    virtual void GetValue(DWORD& value);
    virtual void GetValue(ODValue32& value);
    virtual void GetValue(int& value);
    virtual void GetValue(CString& value);
    virtual void SetValue(float value);
    virtual void SetValue(DWORD value);
    virtual void SetValue(ODValue32 value);
    virtual void SetValue(int value);
    virtual void SetValue(LPCTSTR value);

    HRESULT QueryInterface(REFIID iid, void** out) override;
    ULONG AddRef() override;
    ULONG Release() override;

    int GetId() const { return m_nId; }
    void SetId(int id) { m_nId = id; }
    ULONG GetRefCount() const { return m_nRefs; }
    // Names kept for callers that use the short forms.
    void GetString(CString& value) { GetValueAsString(value); }
    void SetString(const char* value) { SetValueFromString(value); }

    // A group answers the container; single values answer NULL.
    virtual IODPropertyContainer* GetContainer() { return NULL; }

protected:
    // The same run-time class as this property (equality and copying refuse any other).
    BOOL SameClass(const CODProperty* other) const;

    int m_nId;
    ULONG m_nRefs;
};

class CODBoolProperty : public CODProperty
{
    DECLARE_SERIAL(CODBoolProperty)

public:
    explicit CODBoolProperty(int id = -1, BOOL value = FALSE);
    CODBoolProperty(const CODBoolProperty& other);

    void Serialize(CArchive& ar) override;
    CODProperty* Clone() const override;
    void CopyFrom(const CODProperty* other, DWORD mask) override;
    BOOL IsEqual(const CODProperty* other) const override;
    using CODProperty::GetValue;
    using CODProperty::SetValue;
    void GetValue(ODValue32& value) override { value = (ODValue32)m_bValue; }
    void GetValue(int& value) override { value = m_bValue; }
    void GetValue(CString& value) override;
    void SetValue(ODValue32 value) override { m_bValue = (BOOL)value; }
    void SetValue(int value) override { m_bValue = value; }
    void SetValue(LPCTSTR value) override;

    BOOL GetValue() const { return m_bValue; }
    void SetValue(BOOL value, int) { m_bValue = value; }

protected:
    BOOL m_bValue;
};

class CODIntProperty : public CODProperty
{
    DECLARE_SERIAL(CODIntProperty)

public:
    explicit CODIntProperty(int id = -1, int value = 0);
    CODIntProperty(const CODIntProperty& other);

    void Serialize(CArchive& ar) override;
    CODProperty* Clone() const override;
    void CopyFrom(const CODProperty* other, DWORD mask) override;
    BOOL IsEqual(const CODProperty* other) const override;
    using CODProperty::GetValue;
    using CODProperty::SetValue;
    void GetValue(ODValue32& value) override { value = (ODValue32)m_nValue; }
    void GetValue(int& value) override { value = m_nValue; }
    void GetValue(CString& value) override;
    void SetValue(ODValue32 value) override { m_nValue = (int)value; }
    void SetValue(int value) override { m_nValue = value; }
    void SetValue(LPCTSTR value) override;

    int GetValue() const { return m_nValue; }

protected:
    int m_nValue;
};

// A counted reference to a property.
class CODPropertyPtr
{
public:
    CODPropertyPtr() : m_p(NULL) {}
    CODPropertyPtr(CODProperty* p) : m_p(p)
    {
        if (m_p)
            m_p->AddRef();
    }
    CODPropertyPtr(const CODPropertyPtr& other) : CODPropertyPtr(other.m_p) {}
    ~CODPropertyPtr()
    {
        if (m_p)
            m_p->Release();
    }
    CODPropertyPtr& operator=(CODProperty* p)
    {
        if (p)
            p->AddRef();
        CODProperty* old = m_p;
        m_p = p;
        if (old)
            old->Release();
        return *this;
    }
    CODPropertyPtr& operator=(const CODPropertyPtr& other) { return *this = other.m_p; }
    CODProperty* operator->() const { return m_p; }
    CODProperty& operator*() const { return *m_p; }
    operator CODProperty*() const { return m_p; }
    CODProperty* Get() const { return m_p; }

private:
    CODProperty* m_p;
};

// The process-wide cache of shared properties, most recently added first.
class CODPropertyCache
{
public:
    CODPropertyCache();
    ~CODPropertyCache();

    static CODPropertyCache* GetCache();

    // The first cached property equal to p, or a clone of p added to the cache.
    CODPropertyPtr Intern(const CODProperty& p);
    // Drops the entries that only the cache still references; returns how many went.
    int Clean();
    int GetCount() const { return (int)m_entries.GetCount(); }

private:
    CODPropertyCache(const CODPropertyCache&) = delete;
    CODPropertyCache& operator=(const CODPropertyCache&) = delete;

    CList<CODPropertyPtr, const CODPropertyPtr&> m_entries;
};

// Serialises a property list: each entry as an object record.
typedef CList<CODPropertyPtr, const CODPropertyPtr&> CODPropertyList;
