#include "ODPropSheet.h"
#include "SECColorWell.h"

BEGIN_MESSAGE_MAP(CODLineCompPP, CODCompPropPage)
    ON_MESSAGE(SECCW_COLOR_CHOSEN, OnColorChosen)
END_MESSAGE_MAP()

BOOL CODLineCompPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_well.BindDialogItem(idColor, this);
    m_styleList.SubclassDlgItem(idStyle, this);
    m_widthList.SubclassDlgItem(idWidth, this);
    m_styleList.Fill();
    m_widthList.Fill();
    m_bShowing = TRUE;
    ShowRecord();
    m_bShowing = FALSE;
    EnableWindow(m_bEnabled);
    return TRUE;
}

void CODLineCompPP::ShowRecord()
{
    int style = (int)m_values[1].number;
    const int width = (int)m_values[2].number;
    if (width != 0)
        style = 0;
    m_values[1].number = style;
    ShowMember(0);
    ShowMember(1);
    ShowMember(2);
    m_styleList.EnableWindow(width == 0);
    m_widthList.EnableWindow(width != 0 || style == 0);
    m_nStyleIndex = m_styleList.GetCurSel();
    m_nWidthIndex = m_widthList.GetCurSel();

    ShowCheck(idTransparent, 3);
    if (m_same[3] && m_values[3].number)
        OnTransparentClick();
}

// A member set from outside while the window is shown: the controls follow.
void CODLineCompPP::ShowMember(int index)
{
    if (GetSafeHwnd() == NULL || m_styleList.GetSafeHwnd() == NULL)
        return;
    switch (index) {
    case 0:
        m_well.SetColor((COLORREF)m_values[0].number);
        m_styleList.SetColor((COLORREF)m_values[0].number);
        m_widthList.SetColor((COLORREF)m_values[0].number);
        break;
    case 1:
        if (m_same[1])
            m_styleList.SelectValue((int)m_values[1].number);
        else
            m_styleList.SetCurSel(-1);
        break;
    case 2:
        if (m_same[2])
            m_widthList.SelectValue((int)m_values[2].number);
        else
            m_widthList.SetCurSel(-1);
        break;
    case 3:
        ShowCheck(idTransparent, 3);
        break;
    }
}

BOOL CODLineCompPP::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (!m_bShowing) {
        if (id == idStyle && code == LBN_SELCHANGE) {
            OnListChange(m_styleList, m_nStyleIndex, 1, m_widthList, 2);
            return TRUE;
        }
        if (id == idWidth && code == LBN_SELCHANGE) {
            OnListChange(m_widthList, m_nWidthIndex, 2, m_styleList, 1);
            return TRUE;
        }
        if (id == idTransparent && code == BN_CLICKED) {
            OnTransparentClick();
            return TRUE;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

LRESULT CODLineCompPP::OnColorChosen(WPARAM id, LPARAM colour)
{
    if (id != idColor)
        return 0;
    m_values[0].number = (LONG)(COLORREF)colour;
    m_styleList.SetColor((COLORREF)colour);
    m_widthList.SetColor((COLORREF)colour);
    MarkChanged(0);
    return 0;
}


// A choice in one list: that member changed when the selection moved; the other list is usable
// only while this one shows its thin or solid value (0), and the other member counts as changed
// as well when it is not 0, since the choice overrides it.
void CODLineCompPP::OnListChange(CODSampleListBox& list, int& lastIndex, int member,
                                 CODSampleListBox& other, int otherMember)
{
    const int index = list.GetCurSel();
    if (index != lastIndex)
        MarkChanged(member);
    lastIndex = index;
    other.EnableWindow(list.GetSelectedValue() == 0);
    if (other.GetSelectedValue() != 0)
        MarkChanged(otherMember);
    UpdateStyleAndWidth();
}

void CODLineCompPP::UpdateStyleAndWidth()
{
    if (m_changed[1] && m_styleList.IsWindowEnabled()) {
        m_values[1].number = m_styleList.GetSelectedValue();
        m_values[2].number = 1;
    } else if (m_changed[2]) {
        m_values[1].number = 0;
        m_values[2].number = m_widthList.GetSelectedValue();
    }
}

void CODLineCompPP::OnTransparentClick()
{
    const BOOL checked = TakeCheckClick(idTransparent);
    m_values[3].number = checked;
    MarkChanged(3);
    // A line that is not drawn has no colour, style or width to choose; once drawn again the
    // lists keep their rule that a thick line is solid and a dashed line thin.
    static const UINT labels[] = {idColor, idColorLabel, idStyleLabel, idWidthLabel};
    for (UINT id : labels)
        if (CWnd* control = GetDlgItem(id))
            control->EnableWindow(!checked);
    m_styleList.EnableWindow(!checked && m_widthList.GetSelectedValue() == 0);
    m_widthList.EnableWindow(!checked && m_styleList.GetSelectedValue() == 0);
}
