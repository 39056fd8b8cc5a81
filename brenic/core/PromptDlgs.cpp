#include "PromptDlgs.h"

CAnswerDialog::CAnswerDialog(UINT templateId, CWnd* parent, const UINT* buttons,
                             const INT_PTR* answers, int count)
    : CDialog(templateId, parent), m_pButtons(buttons), m_pAnswers(answers), m_nButtons(count)
{
}

BOOL CAnswerDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        for (int i = 0; i < m_nButtons; ++i)
            if (LOWORD(wParam) == m_pButtons[i]) {
                EndDialog((int)m_pAnswers[i]);
                return TRUE;
            }
    }
    return CDialog::OnCommand(wParam, lParam);
}

// ---------------------------------------------------------------------------------------
static const UINT kReplaceButtons[] = {IDC_REPLACE_YES, IDC_REPLACE_NO, IDC_REPLACE_YESTOALL,
                                       IDC_REPLACE_NOTOALL};
static const INT_PTR kReplaceAnswers[] = {IDC_REPLACE_YES, IDC_REPLACE_NO, IDC_REPLACE_YESTOALL,
                                          IDC_REPLACE_NOTOALL};

CReplaceOptions::CReplaceOptions(CString text, CWnd* parent)
    : CAnswerDialog(IDD_REPLACE_OPTIONS, parent, kReplaceButtons, kReplaceAnswers, 4),
      m_strText(text)
{
}

BOOL CReplaceOptions::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetDlgItemText(IDC_REPLACE_TEXT, m_strText);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
static const UINT kRestoreButtons[] = {IDC_RESTORE_RESTORE, IDC_RESTORE_DELETE};
static const INT_PTR kRestoreAnswers[] = {IDC_RESTORE_RESTORE, IDC_RESTORE_DELETE};

CRestoreTempDlg::CRestoreTempDlg(CWnd* parent)
    : CAnswerDialog(IDD_RESTORE_TEMP, parent, kRestoreButtons, kRestoreAnswers, 2)
{
}

// ---------------------------------------------------------------------------------------
static const UINT kSaveButtons[] = {IDOK, IDCANCEL, IDC_SAVE_EXISTING_SAVE};
static const INT_PTR kSaveAnswers[] = {IDOK, IDCANCEL, CSaveExistingDlg::answerSave};

CSaveExistingDlg::CSaveExistingDlg(CWnd* parent)
    : CAnswerDialog(IDD_SAVE_EXISTING, parent, kSaveButtons, kSaveAnswers, 3)
{
}

BOOL CSaveExistingDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SendDlgItemMessage(IDC_SAVE_EXISTING_ICON, STM_SETICON,
                       (WPARAM)::LoadIcon(NULL, IDI_QUESTION), 0);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
static const UINT kTransButtons[] = {IDC_TRANS_CONTINUE, IDC_TRANS_RETRANSCODE,
                                     IDC_TRANS_CANCEL};
static const INT_PTR kTransAnswers[] = {IDC_TRANS_CONTINUE, IDC_TRANS_RETRANSCODE,
                                        IDC_TRANS_CANCEL};

CTransOptDlg::CTransOptDlg(CWnd* parent)
    : CAnswerDialog(IDD_TRANS_OPT, parent, kTransButtons, kTransAnswers, 3)
{
}

void CTransOptDlg::OnCancel()
{
    EndDialog(IDC_TRANS_CANCEL);
}

// ---------------------------------------------------------------------------------------
static const UINT kUnsavedButtons[] = {IDC_UNSAVED_DELETE_EXIT, IDC_UNSAVED_EXIT};
static const INT_PTR kUnsavedAnswers[] = {IDC_UNSAVED_DELETE_EXIT, IDC_UNSAVED_EXIT};

CUnsavedClipsDlg::CUnsavedClipsDlg(CWnd* parent)
    : CAnswerDialog(IDD_UNSAVED_CLIPS, parent, kUnsavedButtons, kUnsavedAnswers, 2)
{
}

void CUnsavedClipsDlg::OnCancel()
{
    EndDialog(IDCANCEL);
}
