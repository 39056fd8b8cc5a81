#include "ODFillProperties.h"
#include "ODPatternImage.h"

IMPLEMENT_SERIAL(CODFillProperties, CODProperty, VERSIONABLE_SCHEMA | 1)

CODFillProperties::CODFillProperties(int id)
    : CODPropertyGroup(id), m_crColor(RGB(255, 255, 255)), m_bTransparent(FALSE),
      m_nFillStyle(0), m_nHatchStyle(HS_BDIAGONAL), m_nBkMode(TRANSPARENT),
      m_crBkColor(RGB(255, 255, 255)), m_pImage(NULL), m_pBitmap(NULL)
{
}

CODFillProperties::CODFillProperties(const CODFillProperties& other)
    : CODPropertyGroup(other), m_crColor(other.m_crColor), m_bTransparent(other.m_bTransparent),
      m_nFillStyle(other.m_nFillStyle), m_nHatchStyle(other.m_nHatchStyle),
      m_nBkMode(other.m_nBkMode), m_crBkColor(other.m_crBkColor), m_pImage(NULL),
      m_pBitmap(NULL)
{
    ReplaceImage(other.m_pImage);
}

CODFillProperties::~CODFillProperties()
{
    delete m_pBitmap;
    ReplaceImage(NULL);
}

void CODFillProperties::ReplaceImage(SECDib* image)
{
    if (image == m_pImage)
        return;
    if (image)
        ODPatternAddRef(image);
    SECDib* old = m_pImage;
    m_pImage = image;
    if (old)
        ODPatternRelease(old);
}

void CODFillProperties::Serialize(CArchive& ar)
{
    CODProperty::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (DWORD)1 << (DWORD)m_crColor << (LONG)m_bTransparent << (LONG)m_nFillStyle
           << (LONG)m_nHatchStyle << (LONG)m_nBkMode << (DWORD)m_crBkColor;
        ODWritePatternImage(ar, m_pImage);
    } else {
        DWORD version, color, bkColor;
        LONG transparent, style, hatch, mode;
        ar >> version >> color >> transparent >> style >> hatch >> mode >> bkColor;
        m_crColor = color;
        m_bTransparent = transparent;
        m_nFillStyle = style;
        m_nHatchStyle = hatch;
        m_nBkMode = mode;
        m_crBkColor = bkColor;
        SECDib* image = ODReadPatternImage(ar);
        ReplaceImage(image);
        if (image)
            ODPatternRelease(image);  // the read's own count; the group holds one now
    }
}

void CODFillProperties::CopyFrom(const CODProperty* other, DWORD mask)
{
    if (!SameClass(other))
        return;
    const CODFillProperties* p = static_cast<const CODFillProperties*>(other);
    if (mask & 0x01)
        m_crColor = p->m_crColor;
    if (mask & 0x02)
        m_bTransparent = p->m_bTransparent;
    if (mask & 0x04)
        m_nFillStyle = p->m_nFillStyle;
    if (mask & 0x08)
        m_nHatchStyle = p->m_nHatchStyle;
    if (mask & 0x10)
        m_nBkMode = p->m_nBkMode;
    if (mask & 0x20)
        m_crBkColor = p->m_crBkColor;
    if (mask & 0x40)
        ReplaceImage(p->m_pImage);
}

BOOL CODFillProperties::IsEqual(const CODProperty* other) const
{
    if (!SameClass(other) || other->GetId() != m_nId)
        return FALSE;
    const CODFillProperties* p = static_cast<const CODFillProperties*>(other);
    return m_crColor == p->m_crColor && m_bTransparent == p->m_bTransparent &&
           m_nFillStyle == p->m_nFillStyle && m_nHatchStyle == p->m_nHatchStyle &&
           m_nBkMode == p->m_nBkMode && m_crBkColor == p->m_crBkColor &&
           m_pImage == p->m_pImage;
}

void CODFillProperties::SetFillStyle(int style)
{
    if (style >= 0 && style <= 3)
        m_nFillStyle = style;
}

void CODFillProperties::SetHatchStyle(int hatch)
{
    if (hatch >= 0 && hatch <= 5)
        m_nHatchStyle = hatch;
}

void CODFillProperties::SetBkMode(int mode)
{
    if (mode == TRANSPARENT || mode == OPAQUE)
        m_nBkMode = mode;
}

void CODFillProperties::SetPatternImage(SECDib* image)
{
    if (image)
        ReplaceImage(image);
}

void CODFillProperties::Assign(const CODFillProperties& other)
{
    m_nId = other.m_nId;
    SetColor(other.m_crColor);
    SetTransparent(other.m_bTransparent);
    SetFillStyle(other.m_nFillStyle);
    SetHatchStyle(other.m_nHatchStyle);
    SetBkMode(other.m_nBkMode);
    SetBkColor(other.m_crBkColor);
    SetPatternImage(other.m_pImage);
}

CBrush* CODFillProperties::CreateBrush(CDC* dc)
{
    CBrush* brush = new CBrush;
    if (m_bTransparent || m_nFillStyle == 1) {
        LOGBRUSH lb = {BS_NULL, m_crColor, (ULONG_PTR)m_nHatchStyle};
        brush->CreateBrushIndirect(&lb);
    } else if (m_nFillStyle == 2) {
        brush->CreateHatchBrush(m_nHatchStyle, m_crColor);
    } else if (m_nFillStyle == 3) {
        delete m_pBitmap;
        m_pBitmap = m_pImage ? ODMakePatternBitmap(m_pImage, dc) : NULL;
        if (m_pBitmap)
            brush->CreatePatternBrush(m_pBitmap);
        else
            brush->CreateSolidBrush(m_crColor);
    } else {
        brush->CreateSolidBrush(m_crColor);
    }
    return brush;
}

int* CODFillProperties::IntMember(int index)
{
    switch (index) {
    case 2: return &m_bTransparent;
    case 3: return &m_nFillStyle;
    case 4: return &m_nHatchStyle;
    default: return &m_nBkMode;
    }
}
