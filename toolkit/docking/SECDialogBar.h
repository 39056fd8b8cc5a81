// A toolkit bar whose content is a dialog template: the toolkit's docking, gripper, sizes
// and dock-state record around a modeless dialog.
#ifndef QUORVEL_SECDIALOGBAR_H
#define QUORVEL_SECDIALOGBAR_H

#include "SECControlBar.h"

class SECDialogBar : public SECControlBar {
  DECLARE_DYNCREATE(SECDialogBar)

 public:
  SECDialogBar();
  virtual ~SECDialogBar();

  BOOL Create(CWnd* pParentWnd, LPCTSTR lpszTemplateName, DWORD dwStyle, DWORD dwExStyle, UINT nID);
  BOOL Create(CWnd* pParentWnd, UINT nIDTemplate, DWORD dwStyle, DWORD dwExStyle, UINT nID);

  // Whether a dialog template suits a bar: 0 when it is not in the module's resources; 1 when
  // found and bCheckStyle is FALSE; else 0 with WS_VISIBLE, 1 with WS_CHILD, 0 without it
  // (a template that cannot be loaded: 1).
  static int CheckDialogTemplate(LPCTSTR lpszTemplateName, BOOL bCheckStyle);

  virtual BOOL SetOccDialogInfo(struct _AFX_OCC_DIALOG_INFO* pOccDialogInfo) override;
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  virtual void GetBarInfoEx(SECControlBarInfo* pInfo) override;

  CSize m_sizeDefault;         // the dialog's size right after creation
  LPCTSTR m_lpszTemplateName;  // a numeric id (below 0x10000) or a name
  struct _AFX_OCC_DIALOG_INFO* m_pOccDialogInfo;  // not owned
};

#endif  // QUORVEL_SECDIALOGBAR_H
