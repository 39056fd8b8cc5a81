#include "ODLineProperties.h"
#include "ODGeometry.h"

IMPLEMENT_SERIAL(CODLineProperties, CODProperty, VERSIONABLE_SCHEMA | 2)

CODLineProperties::CODLineProperties(int id)
    : CODPropertyGroup(id), m_crColor(0), m_bTransparent(FALSE), m_nWidth(1),
      m_nLogicalWidth(PointsToLogical(1, NULL, 1)), m_nStyle(PS_SOLID)
{
}

CODLineProperties::CODLineProperties(const CODLineProperties& other)
    : CODPropertyGroup(other), m_crColor(other.m_crColor), m_bTransparent(other.m_bTransparent),
      m_nWidth(other.m_nWidth), m_nLogicalWidth(other.m_nLogicalWidth), m_nStyle(other.m_nStyle)
{
}

CODLineProperties& CODLineProperties::operator=(const CODLineProperties& other)
{
    m_nId = other.m_nId;
    m_crColor = other.m_crColor;
    m_bTransparent = other.m_bTransparent;
    SetLogicalWidth(other.m_nLogicalWidth, NULL);
    SetStyle(other.m_nStyle);
    m_nWidth = other.m_nWidth;
    return *this;
}

void CODLineProperties::Serialize(CArchive& ar)
{
    CODProperty::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (DWORD)2 << (DWORD)m_crColor << (LONG)m_bTransparent << (LONG)m_nWidth
           << (LONG)m_nLogicalWidth << (LONG)m_nStyle;
    } else {
        DWORD version, color;
        LONG transparent, width, logical = -1, style;
        ar >> version >> color >> transparent >> width;
        if (version >= 2)
            ar >> logical;
        ar >> style;
        m_crColor = color;
        m_bTransparent = transparent;
        m_nWidth = width;
        m_nStyle = style;
        // An older record has no logical width: it follows from the points for the screen.
        m_nLogicalWidth = version >= 2 ? logical : PointsToLogical(width, NULL, 1);
    }
}

void CODLineProperties::CopyFrom(const CODProperty* other, DWORD mask)
{
    if (!SameClass(other))
        return;
    const CODLineProperties* p = static_cast<const CODLineProperties*>(other);
    if (mask & 0x01)
        m_crColor = p->m_crColor;
    if (mask & 0x02)
        m_bTransparent = p->m_bTransparent;
    if (mask & 0x04) {
        m_nWidth = p->m_nWidth;
        m_nLogicalWidth = p->m_nLogicalWidth;
    }
    if (mask & 0x08)
        m_nStyle = p->m_nStyle;
}

BOOL CODLineProperties::IsEqual(const CODProperty* other) const
{
    if (!SameClass(other) || other->GetId() != m_nId)
        return FALSE;
    const CODLineProperties* p = static_cast<const CODLineProperties*>(other);
    return m_crColor == p->m_crColor && m_bTransparent == p->m_bTransparent &&
           m_nLogicalWidth == p->m_nLogicalWidth && m_nWidth == p->m_nWidth &&
           m_nStyle == p->m_nStyle;
}

void CODLineProperties::SetWidth(int points, CDC* dc)
{
    if (points < 0)
        return;
    m_nWidth = points;
    m_nLogicalWidth = PointsToLogical(points, dc, 1);
}

void CODLineProperties::SetLogicalWidth(int logical, CDC* dc)
{
    if (logical < 0)
        return;
    m_nLogicalWidth = logical;
    m_nWidth = LogicalToPoints(logical, dc, 1);
}

void CODLineProperties::SetStyle(int style)
{
    if (style >= 0 && style <= 4)
        m_nStyle = style;
}

CPen* CODLineProperties::CreatePen(CDC* dc) const
{
    int width = m_nLogicalWidth;
    if (width == -1)
        width = m_nWidth > 0 ? PointsToLogical(m_nWidth, dc, 1) : 1;
    CPen* pen = new CPen;
    pen->CreatePen(m_bTransparent ? PS_NULL : m_nStyle, width, m_crColor);
    return pen;
}

int* CODLineProperties::IntMember(int index)
{
    switch (index) {
    case 2: return &m_bTransparent;
    case 3: return &m_nLogicalWidth;
    default: return &m_nStyle;
    }
}
