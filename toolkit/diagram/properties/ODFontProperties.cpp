#include "ODFontProperties.h"
#include "ODGeometry.h"

IMPLEMENT_SERIAL(CODFontProperties, CODProperty, VERSIONABLE_SCHEMA | 2)

CODFontProperties::CODFontProperties(int id)
    : CODPropertyGroup(id), m_strFaceName("Times New Roman"), m_nPointSize(10),
      m_nHeight(PointsToLogical(10, NULL, 1)), m_crColor(0), m_nWeight(FW_NORMAL),
      m_bItalic(FALSE), m_bUnderline(FALSE), m_bStrikeOut(FALSE)
{
}

CODFontProperties::CODFontProperties(const CODFontProperties& other)
    : CODPropertyGroup(other), m_strFaceName(other.m_strFaceName),
      m_nPointSize(other.m_nPointSize), m_nHeight(other.m_nHeight), m_crColor(other.m_crColor),
      m_nWeight(other.m_nWeight), m_bItalic(other.m_bItalic), m_bUnderline(other.m_bUnderline),
      m_bStrikeOut(other.m_bStrikeOut)
{
}

CODFontProperties& CODFontProperties::operator=(const CODFontProperties& other)
{
    m_nId = other.m_nId;
    SetFaceName(other.m_strFaceName);
    m_crColor = other.m_crColor;
    SetLogicalHeight(other.m_nHeight, NULL);
    SetWeight(other.m_nWeight);
    m_bItalic = other.m_bItalic;
    m_bUnderline = other.m_bUnderline;
    m_bStrikeOut = other.m_bStrikeOut;
    m_nPointSize = other.m_nPointSize;
    return *this;
}

void CODFontProperties::Serialize(CArchive& ar)
{
    CODProperty::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (DWORD)2 << m_strFaceName << (LONG)m_nPointSize << (DWORD)m_crColor
           << (LONG)m_nHeight << (LONG)m_nWeight << (LONG)m_bItalic << (LONG)m_bUnderline
           << (LONG)m_bStrikeOut;
    } else {
        DWORD version, color;
        CString face;
        LONG points, height = 0, weight, italic, underline, strikeOut;
        ar >> version >> face >> points >> color;
        if (version >= 2)
            ar >> height;
        ar >> weight >> italic >> underline >> strikeOut;
        m_strFaceName = face;
        m_nPointSize = points;
        m_crColor = color;
        // An older record has no logical height: it follows from the points for the screen.
        m_nHeight = version >= 2 ? height : PointsToLogical(points, NULL, 1);
        m_nWeight = weight;
        m_bItalic = italic;
        m_bUnderline = underline;
        m_bStrikeOut = strikeOut;
    }
}

void CODFontProperties::CopyFrom(const CODProperty* other, DWORD mask)
{
    if (!SameClass(other))
        return;
    const CODFontProperties* p = static_cast<const CODFontProperties*>(other);
    if (mask & 0x01)
        m_strFaceName = p->m_strFaceName;
    if (mask & 0x02) {
        m_nPointSize = p->m_nPointSize;
        m_nHeight = p->m_nHeight;
    }
    if (mask & 0x04)
        m_crColor = p->m_crColor;
    if (mask & 0x08)
        m_nWeight = p->m_nWeight;
    if (mask & 0x10)
        m_bItalic = p->m_bItalic;
    if (mask & 0x20)
        m_bUnderline = p->m_bUnderline;
    if (mask & 0x40)
        m_bStrikeOut = p->m_bStrikeOut;
}

BOOL CODFontProperties::IsEqual(const CODProperty* other) const
{
    if (!SameClass(other) || other->GetId() != m_nId)
        return FALSE;
    const CODFontProperties* p = static_cast<const CODFontProperties*>(other);
    return m_strFaceName == p->m_strFaceName && m_nPointSize == p->m_nPointSize &&
           m_crColor == p->m_crColor && m_nHeight == p->m_nHeight && m_nWeight == p->m_nWeight &&
           m_bItalic == p->m_bItalic && m_bUnderline == p->m_bUnderline &&
           m_bStrikeOut == p->m_bStrikeOut;
}

void CODFontProperties::SetFaceName(LPCTSTR face)
{
    if (face)
        m_strFaceName = face;
}

void CODFontProperties::SetPointSize(int points, CDC* dc)
{
    if (points < 2)
        return;
    m_nPointSize = points;
    m_nHeight = PointsToLogical(points, dc, 1);
}

void CODFontProperties::SetLogicalHeight(int height, CDC* dc)
{
    m_nHeight = height;
    m_nPointSize = LogicalToPoints(height, dc, 1);
}

void CODFontProperties::SetWeight(int weight)
{
    if (weight >= 0 && weight <= 1000)
        m_nWeight = weight;
}

CFont* CODFontProperties::CreateFont(CDC* dc) const
{
    LOGFONTA lf;
    memset(&lf, 0, sizeof(lf));
    lf.lfHeight = m_nHeight > 0 ? -m_nHeight : -PointsToLogical(m_nPointSize, dc, 1);
    lf.lfWeight = m_nWeight;
    lf.lfItalic = (BYTE)m_bItalic;
    lf.lfUnderline = (BYTE)m_bUnderline;
    lf.lfStrikeOut = (BYTE)m_bStrikeOut;
    lstrcpynA(lf.lfFaceName, m_strFaceName, LF_FACESIZE);
    lf.lfCharSet = DEFAULT_CHARSET;
    CFont* font = new CFont;
    font->CreateFontIndirect(&lf);
    return font;
}

int* CODFontProperties::IntMember(int index)
{
    switch (index) {
    case 2: return &m_nPointSize;
    case 4: return &m_nWeight;
    case 5: return &m_bItalic;
    case 6: return &m_bUnderline;
    case 7: return &m_bStrikeOut;
    default: return &m_nHeight;
    }
}
