#include "SECSysData.h"

SECSysData secData;

SECSysData::SECSysData()
{
    m_bWin4 = LOBYTE(LOWORD(GetVersion())) >= 4;
    UpdateSysColors();
    m_hcurHSplit = NULL;
    m_hcurVSplit = NULL;
    m_hSpare = NULL;
    m_hcurArrow = ::LoadCursor(NULL, IDC_ARROW);
    m_cxBorder = m_cyBorder = m_bWin4 ? 2 : 1;
}

// The cursors are shared system or resource cursors: nothing to free.
SECSysData::~SECSysData() {}

void SECSysData::UpdateSysColors()
{
    m_clrBtnFace = ::GetSysColor(COLOR_BTNFACE);
    m_clrBtnShadow = ::GetSysColor(COLOR_BTNSHADOW);
    m_clrBtnHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_clrWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    m_clr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    m_clr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    m_clrWindowText = ::GetSysColor(COLOR_WINDOWTEXT);
    m_clrWindow = ::GetSysColor(COLOR_WINDOW);
    m_clrHighlight = ::GetSysColor(COLOR_HIGHLIGHT);
    m_clrHighlightText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
}
