#include "ClipsMarkDlg.h"
#include "BrowserLists.h"
#include "frame_dialogs_res.h"

namespace
{
// The field's label and list; the template's (empty) list stays when the file has none.
void FillField(CDialog& dialog, CComboBox& combo, UINT label, LPCTSTR field)
{
    dialog.SetDlgItemText(label, FieldDisplayName(field, field));
    combo.ResetContent();
    if (AddFieldEntries(combo, field) > 0)
        combo.SetCurSel(0);
}

// The first entry that begins with the text (without regard to case), else the text typed.
void ShowStored(CComboBox& combo, const CString& text)
{
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString entry;
        combo.GetLBText(i, entry);
        if (entry.GetLength() >= text.GetLength() &&
            entry.Left(text.GetLength()).CompareNoCase(text) == 0) {
            combo.SetCurSel(i);
            return;
        }
    }
    combo.SetCurSel(-1);
    combo.SetWindowText(text);
}
} // namespace

CClipsMarkDlg::CClipsMarkDlg(CWnd* parent) : CDialog(IDD_CLIPS_MARK, parent) {}

void CClipsMarkDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_CLIP_VIEW, m_view);
    DDX_Control(pDX, IDC_CLIP_CLUB, m_club);
    if (pDX->m_bSaveAndValidate) {
        m_view.GetWindowText(m_strView);
        m_club.GetWindowText(m_strClub);
    }
}

BOOL CClipsMarkDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    FillField(*this, m_club, IDC_MARK_CLUB_LABEL, "Club");
    FillField(*this, m_view, IDC_MARK_VIEW_LABEL, "View");
    ShowStored(m_club, m_strClub);
    ShowStored(m_view, m_strView);
    return TRUE;
}

void CClipsMarkDlg::OnOK()
{
    m_view.GetWindowText(m_strView);
    m_club.GetWindowText(m_strClub);
    EndDialog(IDOK);
}
