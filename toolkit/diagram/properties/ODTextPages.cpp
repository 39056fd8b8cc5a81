// The General, Edit and Text pages of the component sheet.
#include "ODPropSheet.h"
#include "SECColorWell.h"

// ---------------------------------------------------------------------------------------------
// General

BEGIN_MESSAGE_MAP(CODGeneralCompPP, CODCompPropPage)
    ON_MESSAGE(SECCW_COLOR_CHOSEN, OnColorChosen)
END_MESSAGE_MAP()

BOOL CODGeneralCompPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_well.BindDialogItem(idColor, this);
    m_bShowing = TRUE;
    SetDlgItemText(idName, m_values[0].text);
    SetDlgItemText(idType, m_values[1].text);
    CheckDlgButton(idTransparent, m_values[2].number ? BST_CHECKED : BST_UNCHECKED);
    m_well.SetColor((COLORREF)m_values[3].number);
    if (m_values[4].number) {
        // An image's bitmap properties appear 5 pixels below the type field.
        CRect type, group;
        GetDlgItem(idType)->GetWindowRect(&type);
        GetDlgItem(idBitmapGroup)->GetWindowRect(&group);
        const int down = type.bottom + 5 - group.top;
        static const UINT ids[] = {idBitmapGroup, idTransparent, idColorLabel, idColor};
        for (UINT id : ids) {
            CWnd* control = GetDlgItem(id);
            CRect r;
            control->GetWindowRect(&r);
            ScreenToClient(&r);
            control->SetWindowPos(NULL, r.left, r.top + down, 0, 0,
                                  SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            control->ShowWindow(SW_SHOW);
        }
    }
    GetDlgItem(idName)->EnableWindow(m_same[0]);
    GetDlgItem(idType)->EnableWindow(m_same[1]);
    m_bShowing = FALSE;
    EnableWindow(m_bEnabled);
    return TRUE;
}

BOOL CODGeneralCompPP::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (!m_bShowing && id == idName && code == EN_CHANGE) {
        GetDlgItemText(idName, m_values[0].text);
        MarkChanged(0);
        return TRUE;
    }
    if (!m_bShowing && id == idTransparent && code == BN_CLICKED) {
        m_values[2].number = IsDlgButtonChecked(idTransparent) == BST_CHECKED;
        MarkChanged(2);
        return TRUE;
    }
    return CPropertyPage::OnCommand(wParam, lParam);
}

LRESULT CODGeneralCompPP::OnColorChosen(WPARAM id, LPARAM colour)
{
    if (id == idColor) {
        m_values[3].number = (LONG)(COLORREF)colour;
        MarkChanged(3);
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Edit

const UINT CODEditCompPP::s_ids[9] = {idPropertyChange, idReadOnly, idMove,     idRotate, idScale,
                                      idSelect,         idStretch,  idVertices, idContain};

namespace {
enum { memberReadOnly = 1, memberScale = 4, memberSelect = 5, memberStretch = 6 };
}

BOOL CODEditCompPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bShowing = TRUE;
    if (m_same[memberScale] && !m_values[memberScale].number)
        m_values[memberStretch].number = 0;
    for (int i = 0; i < 9; ++i)
        ShowCheck(s_ids[i], i);
    if (m_same[memberScale] && !m_values[memberScale].number)
        OnBoxClick(memberScale);
    if (m_same[memberReadOnly] && m_values[memberReadOnly].number)
        OnBoxClick(memberReadOnly);
    m_bShowing = FALSE;
    EnableWindow(m_bEnabled);
    return TRUE;
}

BOOL CODEditCompPP::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (!m_bShowing && HIWORD(wParam) == BN_CLICKED)
        for (int i = 0; i < 9; ++i)
            if (LOWORD(wParam) == s_ids[i]) {
                OnBoxClick(i);
                return TRUE;
            }
    return CPropertyPage::OnCommand(wParam, lParam);
}

void CODEditCompPP::OnBoxClick(int member)
{
    m_values[member].number = TakeCheckClick(s_ids[member]);
    MarkChanged(member);
    const BOOL checked = m_values[member].number != 0;
    if (member == memberReadOnly) {
        // Read only: nothing may be changed, but the component may still be selected.
        for (int i = 0; i < 9; ++i)
            if (i != memberReadOnly && i != memberSelect)
                GetDlgItem(s_ids[i])->EnableWindow(!checked);
    } else if (member == memberScale) {
        GetDlgItem(idStretch)->EnableWindow(checked);
        if (!checked && IsDlgButtonChecked(idStretch) == BST_CHECKED)
            MarkChanged(memberStretch);
    }
    // Stretching without scaling counts as not allowed.
    if (!m_values[memberScale].number)
        m_values[memberStretch].number = 0;
    else if (IsDlgButtonChecked(idStretch) != BST_INDETERMINATE)
        m_values[memberStretch].number = IsDlgButtonChecked(idStretch) == BST_CHECKED;
}

// ---------------------------------------------------------------------------------------------
// Text

namespace {
const int kVertical[3] = {0, 4, 8};
}

BOOL CODTextCompPP::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_bShowing = TRUE;
    SetDlgItemText(idText, m_values[0].text);
    CheckDlgButton(idMultipleLines, m_values[1].number ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(idWordBreak, m_values[2].number ? BST_CHECKED : BST_UNCHECKED);
    const int horizontal = (int)m_values[3].number;
    for (int i = 0; i < 3; ++i) {
        CheckDlgButton(idLeft + i, horizontal == i ? BST_CHECKED : BST_UNCHECKED);
        CheckDlgButton(idTop + i, m_values[4].number == kVertical[i] ? BST_CHECKED : BST_UNCHECKED);
    }
    EnableDependents();
    m_bShowing = FALSE;
    EnableWindow(m_bEnabled);
    return TRUE;
}

void CODTextCompPP::EnableDependents()
{
    const BOOL multiple = m_values[1].number != 0;
    GetDlgItem(idWordBreak)->EnableWindow(multiple);
    for (int i = 0; i < 3; ++i)
        GetDlgItem(idTop + i)->EnableWindow(!multiple);
}

BOOL CODTextCompPP::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam), code = HIWORD(wParam);
    if (m_bShowing)
        return CPropertyPage::OnCommand(wParam, lParam);
    if (id == idText && code == EN_CHANGE) {
        GetDlgItemText(idText, m_values[0].text);
        MarkChanged(0);
    } else if (id == idMultipleLines && code == BN_CLICKED) {
        const BOOL multiple = IsDlgButtonChecked(idMultipleLines) == BST_CHECKED;
        m_values[1].number = multiple;
        MarkChanged(1);
        if ((m_values[2].number != 0) != multiple) {
            m_values[2].number = multiple;
            MarkChanged(2);
        }
        CheckDlgButton(idWordBreak, multiple ? BST_CHECKED : BST_UNCHECKED);
        EnableDependents();
    } else if (id == idWordBreak && code == BN_CLICKED) {
        m_values[2].number = IsDlgButtonChecked(idWordBreak) == BST_CHECKED;
        MarkChanged(2);
    } else if (id >= idLeft && id <= idRight && code == BN_CLICKED) {
        m_values[3].number = (LONG)(id - idLeft);
        MarkChanged(3);
    } else if (id >= idTop && id <= idBottom && code == BN_CLICKED) {
        m_values[4].number = kVertical[id - idTop];
        MarkChanged(4);
    } else
        return CPropertyPage::OnCommand(wParam, lParam);
    return TRUE;
}
