// The workspace manager dialog and its list box editor.
#include "SECWsMgrDialog.h"
#include "SECResource.h"

namespace {
CString LoadText(UINT nID)
{
  CString str;
  str.LoadString(nID);
  return str;
}

void Report(UINT nText, LPCTSTR lpszName = NULL)
{
  CString strText = LoadText(nText);
  if (lpszName != NULL) {
    CString strFormat = strText;
    strText.Format(strFormat, lpszName);
  }
  AfxMessageBox(strText, MB_OK | MB_ICONEXCLAMATION);
}

// Moves the entry at nFrom to nTo.
void MoveEntry(CStringList& list, int nFrom, int nTo)
{
  POSITION pos = list.FindIndex(nFrom);
  if (pos == NULL || nTo < 0 || nTo >= list.GetCount())
    return;
  CString name = list.GetAt(pos);
  list.RemoveAt(pos);
  POSITION at = list.FindIndex(nTo);
  if (at != NULL)
    list.InsertBefore(at, name);
  else
    list.AddTail(name);
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// SECWSLBEditorEx

SECWSLBEditorEx::SECWSLBEditorEx(CStringList& asRead, CStringList& edited, CStringList& removed,
                                 SECWsMgrDialogEx* pDialog)
    : m_asRead(asRead), m_edited(edited), m_removed(removed), m_pWsDialog(pDialog)
{
}

void SECWSLBEditorEx::OnEditBegin()
{
  m_pWsDialog->EnableButtons(FALSE);
  SECListBoxEditor::OnEditBegin();
}

void SECWSLBEditorEx::OnEditEnd()
{
  m_pWsDialog->EnableButtons(TRUE);
  SECListBoxEditor::OnEditEnd();
}

void SECWSLBEditorEx::PutBack(int nIndex, LPCTSTR lpszText)
{
  DWORD_PTR data = m_pList->GetItemData(nIndex);
  m_pList->DeleteString(nIndex);
  m_pList->InsertString(nIndex, lpszText);
  m_pList->SetItemData(nIndex, data);
  m_pList->SetCurSel(nIndex);
}

void SECWSLBEditorEx::OnItemRenamed(int nIndex, LPCTSTR lpszOld, LPCTSTR lpszNew)
{
  CString strNew = lpszNew;
  if (strNew.IsEmpty()) {
    AfxMessageBox(LoadText(IDS_SEC_WS_INVALID_NAME), MB_OK | MB_ICONEXCLAMATION);
    PutBack(nIndex, lpszOld);
    return;
  }
  if (m_edited.Find(strNew) != NULL) {
    Report(IDS_SEC_WS_NAME_EXISTS, strNew);
    PutBack(nIndex, lpszOld);
    return;
  }
  POSITION pos = m_edited.Find(lpszOld);
  if (pos != NULL)
    m_edited.SetAt(pos, strNew);
}

void SECWSLBEditorEx::OnItemAdded(int nIndex, LPCTSTR lpszText)
{
  CString strName = lpszText;
  if (strName.IsEmpty()) {
    Report(IDS_SEC_WS_INVALID_NEW_NAME);
    DeleteItemAt(nIndex);
    return;
  }
  if (m_edited.Find(strName) != NULL) {
    Report(IDS_SEC_WS_NEW_NAME_EXISTS, strName);
    DeleteItemAt(nIndex);
    return;
  }
  CString strText;
  strText.Format(LoadText(IDS_SEC_WS_SAVE_NEW), (LPCTSTR)strName);
  if (AfxMessageBox(strText, MB_YESNO | MB_ICONQUESTION) == IDYES)
    m_pDialog->PostMessage(WM_COMMAND, IDC_SEC_WS_SAVE, 0);
  else
    DeleteItemAt(nIndex);
}

void SECWSLBEditorEx::OnItemMoved(int nOld, int nNew, LPCTSTR lpszText)
{
  // The same move in both lists, so that the saved order is the one shown.
  MoveEntry(m_asRead, nOld, nNew);
  MoveEntry(m_edited, nOld, nNew);
  SECListBoxEditor::OnItemMoved(nOld, nNew, lpszText);
}

BOOL SECWSLBEditorEx::OnItemDeleting(int, LPCTSTR lpszText)
{
  m_removed.AddTail(lpszText);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// SECWsMgrDialogEx

BEGIN_MESSAGE_MAP(SECWsMgrDialogEx, CDialog)
  ON_BN_CLICKED(IDC_SEC_WS_OPEN, OnOpen)
  ON_BN_CLICKED(IDC_SEC_WS_SAVE, OnSave)
  ON_BN_CLICKED(IDC_SEC_WS_DONE, OnDone)
  ON_WM_PAINT()
END_MESSAGE_MAP()

SECWsMgrDialogEx::SECWsMgrDialogEx(CStringList& asRead, CStringList& edited, CStringList& removed,
                                   LPCTSTR lpszName, BOOL bOpenAllowed, BOOL bSaveAllowed,
                                   CWnd* pParent)
    : CDialog(IDD_SEC_WORKSPACEMGR, pParent), m_strName(lpszName), m_bOpenAllowed(bOpenAllowed),
      m_bSaveAllowed(bSaveAllowed), m_pEditor(NULL), m_asRead(asRead)
{
  m_pEditor = new SECWSLBEditorEx(asRead, edited, removed, this);
  OSVERSIONINFOA vi = {sizeof(vi)};
  ::GetVersionExA(&vi);
  m_bRepaintEditor = vi.dwMajorVersion < 4;
}

SECWsMgrDialogEx::~SECWsMgrDialogEx() { delete m_pEditor; }

void SECWsMgrDialogEx::DoDataExchange(CDataExchange*) {}

BOOL SECWsMgrDialogEx::OnInitDialog()
{
  CDialog::OnInitDialog();
  CListBox* pList = (CListBox*)GetDlgItem(IDC_SEC_WS_LIST);
  for (POSITION pos = m_asRead.GetHeadPosition(); pos != NULL;)
    pList->AddString(m_asRead.GetNext(pos));
  GetDlgItem(IDC_SEC_WS_OPEN)->EnableWindow(m_bOpenAllowed);
  GetDlgItem(IDC_SEC_WS_SAVE)->EnableWindow(m_bSaveAllowed);
  m_pEditor->Initialize(this, IDC_SEC_WS_LIST, m_bSaveAllowed ? 0xF3E : 0xE7E);
  SetWindowText(LoadText(m_bOpenAllowed   ? IDS_SEC_WS_OPEN_TITLE
                         : m_bSaveAllowed ? IDS_SEC_WS_SAVE_TITLE
                                          : IDS_SEC_WS_MANAGER));
  m_pEditor->SetWindowText(LoadText(IDS_SEC_WS_WORKSPACES));
  SetDlgItemText(IDC_SEC_WS_ACTIVE,
                 m_strName.IsEmpty() ? LoadText(IDS_SEC_WS_NONE_ACTIVE) : m_strName);
  return TRUE;
}

void SECWsMgrDialogEx::EnableButtons(BOOL bEnable)
{
  GetDlgItem(IDC_SEC_WS_OPEN)->EnableWindow(bEnable && m_bOpenAllowed);
  GetDlgItem(IDC_SEC_WS_SAVE)->EnableWindow(bEnable && m_bSaveAllowed);
  GetDlgItem(IDC_SEC_WS_DONE)->EnableWindow(bEnable);
}

void SECWsMgrDialogEx::TakeSelection()
{
  CListBox* pList = (CListBox*)GetDlgItem(IDC_SEC_WS_LIST);
  int nSel = pList->GetCurSel();
  if (nSel < 0) {
    AfxMessageBox(LoadText(IDS_SEC_WS_SELECT_ITEM), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  CString strName;
  pList->GetText(nSel, strName);
  if (strName.IsEmpty()) {
    AfxMessageBox(LoadText(IDS_SEC_WS_INVALID_NAME), MB_OK | MB_ICONEXCLAMATION);
    return;
  }
  m_strName = strName;
  EndDialog(IDOK);
}

void SECWsMgrDialogEx::OnOpen() { TakeSelection(); }
void SECWsMgrDialogEx::OnSave() { TakeSelection(); }
void SECWsMgrDialogEx::OnDone() { EndDialog(IDOK); }

void SECWsMgrDialogEx::OnPaint()
{
  Default();
  if (m_bRepaintEditor && m_pEditor->m_hWnd != NULL)
    m_pEditor->RedrawWindow();
}
