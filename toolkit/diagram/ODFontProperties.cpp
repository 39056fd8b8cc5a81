#include "ODFontProperties.h"

CODFontProperties::CODFontProperties()
    : m_strFaceName("Arial"), m_nPointSize(10), m_nHeight(-13), m_crColor(0), m_nWeight(400),
      m_bItalic(FALSE), m_bUnderline(FALSE)
{
}

CODFontProperties::~CODFontProperties()
{
}

void CODFontProperties::SetFaceName(LPCTSTR face)
{
    if (face)
        m_strFaceName = face;
}

void CODFontProperties::SetPointSize(int points)
{
    if (points <= 1)
        return;
    m_nPointSize = points;
    // Without a device context the height is taken at the screen's 96 pixels per inch.
    m_nHeight = -MulDiv(points, 96, 72);
}

void CODFontProperties::SetWeight(int weight)
{
    if (weight >= 0 && weight <= 1000)
        m_nWeight = weight;
}
