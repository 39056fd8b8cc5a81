#include "ODPropSheet.h"

const UINT CODLabelCompPP::s_positionIds[9] = {idTopLeft,     idTopCenter,  idTopRight,
                                               idCenterRight, idBottomRight, idBottomCenter,
                                               idBottomLeft,  idCenterLeft, idCenter};

BOOL CODLabelCompPP::OnInitDialog()
{
    // The base shows the offsets: what it sets is no change of the user's.
    m_bShowing = TRUE;
    m_nX = (int)m_values[1].number;
    m_nY = (int)m_values[2].number;
    CPropertyPage::OnInitDialog();
    const int position = (int)m_values[0].number;
    for (int i = 0; i < 9; ++i)
        CheckDlgButton(s_positionIds[i], i == position ? BST_CHECKED : BST_UNCHECKED);
    m_bShowing = FALSE;
    EnableWindow(m_bEnabled);
    return TRUE;
}

void CODLabelCompPP::DoDataExchange(CDataExchange* pDX)
{
    CODCompPropPage::DoDataExchange(pDX);
    DDX_Text(pDX, idX, m_nX);
    DDV_MinMaxInt(pDX, m_nX, -100, 100);
    DDX_Text(pDX, idY, m_nY);
    DDV_MinMaxInt(pDX, m_nY, -100, 100);
}

BOOL CODLabelCompPP::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (!m_bShowing) {
        if (code == BN_CLICKED)
            for (UINT button : s_positionIds)
                if (button == id) {
                    // A button that only takes the focus says clicked too: only a new
                    // position counts.
                    const int position = ReadPosition();
                    if (position != m_values[0].number) {
                        m_values[0].number = position;
                        MarkChanged(0);
                    }
                    return TRUE;
                }
        if (code == EN_CHANGE && (id == idX || id == idY)) {
            MarkChanged(id == idX ? 1 : 2);
            return TRUE;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

// The first checked button in the order Top-Left, Top-Center, Top-Right, Center-Left, Center,
// Center-Right, Bottom-Left, Bottom-Center, Bottom-Right; the centre when none is.
int CODLabelCompPP::ReadPosition()
{
    static const int order[9] = {0, 1, 2, 7, 8, 3, 6, 5, 4};
    for (int code : order)
        if (IsDlgButtonChecked(s_positionIds[code]) == BST_CHECKED)
            return code;
    return 8;
}

// The offsets are taken only when both lie in -100..100; otherwise the platform's message
// says so and neither is reported.
void CODLabelCompPP::GetPageData(ODPageRecord* record)
{
    if (GetSafeHwnd() && (m_changed[0] || m_changed[1] || m_changed[2])) {
        m_values[0].number = ReadPosition();
        if (UpdateData(TRUE)) {
            m_values[1].number = m_nX;
            m_values[2].number = m_nY;
        } else
            m_changed[1] = m_changed[2] = FALSE;
    }
    CODCompPropPage::GetPageData(record);
}
