#include "ODCustomViewport.h"

CODCustomViewport::CODCustomViewport() : m_crLineColor(0), m_nLineWidth(1), m_nLineStyle(0)
{
}

CODCustomViewport::~CODCustomViewport()
{
}

void CODCustomViewport::SetLineStyle(int style)
{
    if (style >= 0 && style <= 4)
        m_nLineStyle = style;
}
