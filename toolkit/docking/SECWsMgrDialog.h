// The workspace manager dialog (registry mode): pick, rename, reorder and delete stored
// workspaces. Its list is edited by SECWSLBEditorEx, which keeps the manager's name lists in
// step with the list box.
#ifndef QUORVEL_SECWSMGRDIALOG_H
#define QUORVEL_SECWSMGRDIALOG_H

#include "SECListBoxEditor.h"
#include <afxcoll.h>

class SECWsMgrDialogEx;

class SECWSLBEditorEx : public SECListBoxEditor {
 public:
  SECWSLBEditorEx(CStringList& asRead, CStringList& edited, CStringList& removed,
                  SECWsMgrDialogEx* pDialog);

  virtual void OnEditBegin() override;
  virtual void OnEditEnd() override;
  virtual void OnItemRenamed(int nIndex, LPCTSTR lpszOld, LPCTSTR lpszNew) override;
  virtual void OnItemAdded(int nIndex, LPCTSTR lpszText) override;
  virtual void OnItemMoved(int nOld, int nNew, LPCTSTR lpszText) override;
  virtual BOOL OnItemDeleting(int nIndex, LPCTSTR lpszText) override;

 protected:
  CStringList& m_asRead;
  CStringList& m_edited;
  CStringList& m_removed;
  SECWsMgrDialogEx* m_pWsDialog;

  void PutBack(int nIndex, LPCTSTR lpszText);
};

class SECWsMgrDialogEx : public CDialog {
 public:
  SECWsMgrDialogEx(CStringList& asRead, CStringList& edited, CStringList& removed,
                   LPCTSTR lpszName, BOOL bOpenAllowed, BOOL bSaveAllowed,
                   CWnd* pParent = NULL);
  virtual ~SECWsMgrDialogEx();

  virtual void DoDataExchange(CDataExchange* pDX) override;
  virtual BOOL OnInitDialog() override;
  void EnableButtons(BOOL bEnable);
  SECWSLBEditorEx* GetEditor() { return m_pEditor; }

  CString m_strName;
  BOOL m_bOpenAllowed;
  BOOL m_bSaveAllowed;

 protected:
  SECWSLBEditorEx* m_pEditor;
  CStringList& m_asRead;
  BOOL m_bRepaintEditor;

  void TakeSelection();
  afx_msg void OnOpen();
  afx_msg void OnSave();
  afx_msg void OnDone();
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECWSMGRDIALOG_H
