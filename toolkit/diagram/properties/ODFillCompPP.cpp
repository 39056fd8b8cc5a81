#include "ODPropSheet.h"
#include "SECColorWell.h"

BEGIN_MESSAGE_MAP(CODFillCompPP, CODCompPropPage)
    ON_MESSAGE(SECCW_COLOR_CHOSEN, OnColorChosen)
END_MESSAGE_MAP()

BOOL CODFillCompPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_foreground.BindDialogItem(idForeground, this);
    m_background.BindDialogItem(idBackground, this);
    m_hatch.SubclassDlgItem(idHatch, this);
    m_bShowing = TRUE;
    m_hatch.Fill();
    m_foreground.SetColor((COLORREF)m_values[0].number);
    m_background.SetColor((COLORREF)m_values[1].number);
    m_hatch.SetForegroundColor((COLORREF)m_values[0].number);
    m_hatch.SetBackgroundColor((COLORREF)m_values[1].number);
    m_hatch.SetBackgroundTransparent(m_values[4].number != 0);
    if (m_same[2])
        m_hatch.SelectValue((int)m_values[2].number);
    m_nHatchIndex = m_hatch.GetCurSel();
    ShowCheck(idTransparentBackground, 4);
    ShowCheck(idTransparentFill, 3);
    if (m_same[3] && m_values[3].number)
        OnTransparentFillClick();
    m_bShowing = FALSE;
    EnableWindow(m_bEnabled);
    return TRUE;
}

BOOL CODFillCompPP::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (!m_bShowing) {
        if (id == idHatch && code == LBN_SELCHANGE) {
            const int index = m_hatch.GetCurSel();
            if (index != m_nHatchIndex) {
                m_values[2].number = m_hatch.GetSelectedValue();
                MarkChanged(2);
            }
            m_nHatchIndex = index;
            return TRUE;
        }
        if (id == idTransparentFill && code == BN_CLICKED) {
            OnTransparentFillClick();
            return TRUE;
        }
        if (id == idTransparentBackground && code == BN_CLICKED) {
            m_values[4].number = TakeCheckClick(idTransparentBackground);
            m_hatch.SetBackgroundTransparent(m_values[4].number != 0);
            MarkChanged(4);
            return TRUE;
        }
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

LRESULT CODFillCompPP::OnColorChosen(WPARAM id, LPARAM colour)
{
    if (id == idForeground) {
        m_values[0].number = (LONG)(COLORREF)colour;
        m_hatch.SetForegroundColor((COLORREF)colour);
        MarkChanged(0);
    } else if (id == idBackground) {
        m_values[1].number = (LONG)(COLORREF)colour;
        m_hatch.SetBackgroundColor((COLORREF)colour);
        MarkChanged(1);
    }
    return 0;
}

// A fill that is not drawn has no colours or hatch to choose.
void CODFillCompPP::OnTransparentFillClick()
{
    const BOOL checked = TakeCheckClick(idTransparentFill);
    m_values[3].number = checked;
    MarkChanged(3);
    static const UINT ids[] = {idForeground, idForegroundLabel, idBackground, idBackgroundLabel,
                               idHatch, idHatchLabel, idTransparentBackground};
    for (UINT control : ids)
        if (CWnd* wnd = GetDlgItem(control))
            wnd->EnableWindow(!checked);
}
