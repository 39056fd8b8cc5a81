#include "ODEditProperties.h"

IMPLEMENT_SERIAL(CODEditProperties, CODProperty, VERSIONABLE_SCHEMA | 1)

CODEditProperties::CODEditProperties(int id) : CODPropertyGroup(id)
{
    for (int i = 0; i < memberCount; ++i)
        m_members[i] = TRUE;
    m_members[readOnly] = FALSE;
    m_members[canContain] = FALSE;
}

CODEditProperties::CODEditProperties(const CODEditProperties& other) : CODPropertyGroup(other)
{
    for (int i = 0; i < memberCount; ++i)
        m_members[i] = other.m_members[i];
}

CODEditProperties& CODEditProperties::operator=(const CODEditProperties& other)
{
    m_nId = other.m_nId;
    for (int i = 0; i < memberCount; ++i)
        m_members[i] = other.m_members[i];
    return *this;
}

void CODEditProperties::Serialize(CArchive& ar)
{
    CODProperty::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (DWORD)1;
        for (int i = 0; i < memberCount; ++i)
            ar << (LONG)m_members[i];
    } else {
        DWORD version;
        ar >> version;
        for (int i = 0; i < memberCount; ++i) {
            LONG value;
            ar >> value;
            m_members[i] = value;
        }
    }
}

void CODEditProperties::CopyFrom(const CODProperty* other, DWORD mask)
{
    if (!SameClass(other))
        return;
    const CODEditProperties* p = static_cast<const CODEditProperties*>(other);
    for (int i = 0; i < memberCount; ++i)
        if (mask & (1u << i))
            m_members[i] = p->m_members[i];
}

BOOL CODEditProperties::IsEqual(const CODProperty* other) const
{
    if (!SameClass(other) || other->GetId() != m_nId)
        return FALSE;
    const CODEditProperties* p = static_cast<const CODEditProperties*>(other);
    for (int i = 0; i < memberCount; ++i)
        if (m_members[i] != p->m_members[i])
            return FALSE;
    return TRUE;
}
