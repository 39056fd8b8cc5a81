#include "ODProperty.h"
#include <stdlib.h>
#include "diagram_res.h"

extern "C" const GUID IID_IODPropertyContainer = {
    0xF2610FA0, 0x295C, 0x11D2, {0xB3, 0x29, 0x00, 0x60, 0x08, 0xAF, 0xE0, 0x59}};

// ---------------------------------------------------------------------------------------------
// Exceptions

IMPLEMENT_DYNAMIC(CODException, CException)
IMPLEMENT_DYNAMIC(CODPropertyConversionException, CODException)

CODException::CODException() : CException(TRUE)
{
}

BOOL CODException::GetErrorMessage(LPSTR buffer, UINT max, PUINT)
{
    UINT id = GetMessageId();
    if (id == 0 || buffer == NULL || max == 0)
        return FALSE;
    CString text;
    if (!text.LoadString(id))
        return FALSE;
    lstrcpynA(buffer, text, (int)max);
    return TRUE;
}

UINT CODPropertyConversionException::GetMessageId() const
{
    return IDS_OD_PROPERTY_CONVERSION;
}

void ODThrowConversion()
{
    throw new CODPropertyConversionException;
}

// ---------------------------------------------------------------------------------------------
// CODProperty

IMPLEMENT_SERIAL(CODProperty, CObject, VERSIONABLE_SCHEMA | 1)

CODProperty::CODProperty(int id) : m_nId(id), m_nRefs(0)
{
}

CODProperty::CODProperty(const CODProperty& other) : CObject(), IODPropertyUnknown(),
    m_nId(other.m_nId), m_nRefs(0)
{
}

CODProperty::~CODProperty()
{
}

void CODProperty::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1 << (LONG)m_nId;
    } else {
        DWORD version;
        LONG id;
        ar >> version >> id;
        m_nId = id;
    }
}

BOOL CODProperty::Accepts(int id) const
{
    return id == m_nId;
}

CODProperty* CODProperty::Clone() const
{
    return new CODProperty(*this);
}

BOOL CODProperty::SameClass(const CODProperty* other) const
{
    return other != NULL && other->GetRuntimeClass() == GetRuntimeClass();
}

void CODProperty::CopyFrom(const CODProperty* other, DWORD)
{
    if (other)
        m_nId = other->m_nId;
}

BOOL CODProperty::IsEqual(const CODProperty* other) const
{
    return other != NULL && other->m_nId == m_nId;
}

void CODProperty::GetValueAsString(CString& value)
{
    GetValue(value);
}

void CODProperty::SetValueFromString(const char* value)
{
    SetValue((LPCTSTR)value);
}

void CODProperty::GetValue(float&) { ODThrowConversion(); }
void CODProperty::GetValue(DWORD&) { ODThrowConversion(); }
void CODProperty::GetValue(ODValue32&) { ODThrowConversion(); }
void CODProperty::GetValue(int&) { ODThrowConversion(); }
void CODProperty::GetValue(CString&) { ODThrowConversion(); }
void CODProperty::SetValue(float) { ODThrowConversion(); }
void CODProperty::SetValue(DWORD) { ODThrowConversion(); }
void CODProperty::SetValue(ODValue32) { ODThrowConversion(); }
void CODProperty::SetValue(int) { ODThrowConversion(); }
void CODProperty::SetValue(LPCTSTR) { ODThrowConversion(); }

HRESULT CODProperty::QueryInterface(REFIID iid, void** out)
{
    IODPropertyContainer* container = GetContainer();
    if (container != NULL && out != NULL && IsEqualGUID(iid, IID_IODPropertyContainer)) {
        AddRef();
        *out = container;
        return S_OK;
    }
    return E_NOINTERFACE;
}

ULONG CODProperty::AddRef()
{
    return ++m_nRefs;
}

ULONG CODProperty::Release()
{
    ULONG refs = --m_nRefs;
    if (refs == 0)
        delete this;
    return refs;
}

// ---------------------------------------------------------------------------------------------
// Single values

IMPLEMENT_SERIAL(CODBoolProperty, CODProperty, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CODIntProperty, CODProperty, VERSIONABLE_SCHEMA | 1)

CODBoolProperty::CODBoolProperty(int id, BOOL value) : CODProperty(id), m_bValue(value)
{
}

CODBoolProperty::CODBoolProperty(const CODBoolProperty& other)
    : CODProperty(other), m_bValue(other.m_bValue)
{
}

void CODBoolProperty::Serialize(CArchive& ar)
{
    CODProperty::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (LONG)m_bValue;
    } else {
        LONG value;
        ar >> value;
        m_bValue = value;
    }
}

CODProperty* CODBoolProperty::Clone() const
{
    return new CODBoolProperty(*this);
}

void CODBoolProperty::CopyFrom(const CODProperty* other, DWORD)
{
    if (SameClass(other))
        m_bValue = static_cast<const CODBoolProperty*>(other)->m_bValue;
}

BOOL CODBoolProperty::IsEqual(const CODProperty* other) const
{
    return SameClass(other) && other->GetId() == m_nId &&
           static_cast<const CODBoolProperty*>(other)->m_bValue == m_bValue;
}

void CODBoolProperty::GetValue(CString& value)
{
    value.LoadString(m_bValue ? IDS_OD_TRUE : IDS_OD_FALSE);
}

void CODBoolProperty::SetValue(LPCTSTR value)
{
    m_bValue = FALSE;
    if (value == NULL)
        return;
    CString yes, word, one;
    yes.LoadString(IDS_OD_TRUE);
    word.LoadString(IDS_OD_YES);
    one.LoadString(IDS_OD_ONE);
    if (lstrcmpiA(value, yes) == 0 || lstrcmpiA(value, word) == 0 || strcmp(value, one) == 0)
        m_bValue = TRUE;
}

CODIntProperty::CODIntProperty(int id, int value) : CODProperty(id), m_nValue(value)
{
}

CODIntProperty::CODIntProperty(const CODIntProperty& other)
    : CODProperty(other), m_nValue(other.m_nValue)
{
}

void CODIntProperty::Serialize(CArchive& ar)
{
    CODProperty::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (LONG)m_nValue;
    } else {
        LONG value;
        ar >> value;
        m_nValue = value;
    }
}

CODProperty* CODIntProperty::Clone() const
{
    return new CODIntProperty(*this);
}

void CODIntProperty::CopyFrom(const CODProperty* other, DWORD)
{
    if (SameClass(other))
        m_nValue = static_cast<const CODIntProperty*>(other)->m_nValue;
}

BOOL CODIntProperty::IsEqual(const CODProperty* other) const
{
    return SameClass(other) && other->GetId() == m_nId &&
           static_cast<const CODIntProperty*>(other)->m_nValue == m_nValue;
}

void CODIntProperty::GetValue(CString& value)
{
    value.Format("%d", m_nValue);
}

void CODIntProperty::SetValue(LPCTSTR value)
{
    m_nValue = value ? atoi(value) : 0;
}

// ---------------------------------------------------------------------------------------------
// CODPropertyCache

CODPropertyCache::CODPropertyCache() : m_entries(10)
{
}

CODPropertyCache::~CODPropertyCache()
{
    m_entries.RemoveAll();
}

CODPropertyCache* CODPropertyCache::GetCache()
{
    // Made on first use, so that drawings built while the program starts find it, and kept to
    // the very end of the process: destroyed among the other static objects at exit, it would
    // release pens, brushes and images after the handle maps they leave through are gone.
    static CODPropertyCache* cache = new CODPropertyCache;
    return cache;
}

CODPropertyPtr CODPropertyCache::Intern(const CODProperty& p)
{
    for (POSITION pos = m_entries.GetHeadPosition(); pos != NULL;) {
        const CODPropertyPtr& entry = m_entries.GetNext(pos);
        if (entry->IsEqual(&p))
            return entry;
    }
    CODPropertyPtr clone(p.Clone());
    m_entries.AddHead(clone);
    return clone;
}

int CODPropertyCache::Clean()
{
    int removed = 0;
    for (POSITION pos = m_entries.GetHeadPosition(); pos != NULL;) {
        POSITION here = pos;
        const CODPropertyPtr& entry = m_entries.GetNext(pos);
        if (entry->GetRefCount() == 1) {
            m_entries.RemoveAt(here);
            ++removed;
        }
    }
    return removed;
}
