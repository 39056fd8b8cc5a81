#include "ODOrientationProperties.h"

IMPLEMENT_SERIAL(CODOrientationProperties, CODProperty, VERSIONABLE_SCHEMA | 1)

CODOrientationProperties::CODOrientationProperties(int id)
    : CODPropertyGroup(id), m_nPosition(8), m_nOffsetX(10), m_nOffsetY(10)
{
}

CODOrientationProperties::CODOrientationProperties(const CODOrientationProperties& other)
    : CODPropertyGroup(other), m_nPosition(other.m_nPosition), m_nOffsetX(other.m_nOffsetX),
      m_nOffsetY(other.m_nOffsetY)
{
}

void CODOrientationProperties::Serialize(CArchive& ar)
{
    CODProperty::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (DWORD)1 << (LONG)m_nPosition << (LONG)m_nOffsetX << (LONG)m_nOffsetY;
    } else {
        DWORD version;
        LONG position, x, y;
        ar >> version >> position >> x >> y;
        m_nPosition = position;
        m_nOffsetX = x;
        m_nOffsetY = y;
    }
}

void CODOrientationProperties::CopyFrom(const CODProperty* other, DWORD mask)
{
    if (!SameClass(other))
        return;
    const CODOrientationProperties* p = static_cast<const CODOrientationProperties*>(other);
    if (mask & 0x01)
        m_nPosition = p->m_nPosition;
    if (mask & 0x02) {
        m_nOffsetX = p->m_nOffsetX;
        m_nOffsetY = p->m_nOffsetY;
    }
}

BOOL CODOrientationProperties::IsEqual(const CODProperty* other) const
{
    if (!SameClass(other) || other->GetId() != m_nId)
        return FALSE;
    const CODOrientationProperties* p = static_cast<const CODOrientationProperties*>(other);
    return m_nPosition == p->m_nPosition && m_nOffsetX == p->m_nOffsetX &&
           m_nOffsetY == p->m_nOffsetY;
}
