// Toolbar customisation: the Toolbars dialog, the Customize sheet with its Toolbars page and
// commands page (button palettes and the menu list), and the New Toolbar dialog.
#ifndef QUORVEL_SECTOOLBARSDLG_H
#define QUORVEL_SECTOOLBARSDLG_H

#include "SECCustomToolBar.h"
#include <afxdlgs.h>

class SECToolBarManager;

extern const UINT WM_TOOLBARSTYLECHANGING;  // wParam 1 large buttons, 2 cool look changed

// The part the Toolbars dialog and the Toolbars page share.
class SECToolBarsBase {
 public:
  SECToolBarsBase() : m_bToolTips(TRUE), m_bCoolLook(FALSE), m_bLargeBtns(FALSE),
      m_bInitToolTips(TRUE), m_bInitCoolLook(FALSE), m_bInitLargeBtns(FALSE), m_pManager(NULL),
      m_pWnd(NULL) {}
  virtual ~SECToolBarsBase() {}

  void SetManager(SECToolBarManager* pMgr);
  void ApplyCurrent();
  void RestoreInitial();
  void FillList();
  void UpdateNameField();
  void OnBarNotify(UINT nBarID, UINT nCode);
  void OnNameKillFocus();
  BOOL OnNew();
  void OnResetOrDelete();
  void OnCheckChange();
  void ReadChecks();
  SECCustomToolBar* SelectedBar();

  CCheckListBox m_list;
  BOOL m_bToolTips, m_bCoolLook, m_bLargeBtns;
  BOOL m_bInitToolTips, m_bInitCoolLook, m_bInitLargeBtns;
  SECToolBarManager* m_pManager;
  CWnd* m_pWnd;  // the dialog or page
};

class SECNewToolBar : public CDialog {
 public:
  explicit SECNewToolBar(CWnd* pParent = NULL);
  CString m_strName;

 protected:
  virtual BOOL OnInitDialog() override;
  virtual void DoDataExchange(CDataExchange* pDX) override;
  afx_msg void OnNameChange();
  DECLARE_MESSAGE_MAP()
};

class SECToolBarsDlg : public CDialog, public SECToolBarsBase {
 public:
  explicit SECToolBarsDlg(CWnd* pParent = NULL);
  virtual ~SECToolBarsDlg();

 protected:
  virtual BOOL OnInitDialog() override;
  virtual void DoDataExchange(CDataExchange* pDX) override;
  virtual void OnOK() override;
  virtual void OnCancel() override;
  void Finish(int nResult);
  afx_msg void OnCheckBox();
  afx_msg void OnNewBtn();
  afx_msg void OnCustomize();
  afx_msg void OnReset();
  afx_msg void OnListCheck();
  afx_msg void OnListSel();
  afx_msg void OnNameKill();
  afx_msg LRESULT OnBarNotifyMsg(WPARAM wParam, LPARAM lParam);
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class SECToolBarsPage : public CPropertyPage, public SECToolBarsBase {
  DECLARE_DYNAMIC(SECToolBarsPage)

 public:
  SECToolBarsPage();
  explicit SECToolBarsPage(UINT nIDTemplate, UINT nIDCaption = 0);
  virtual ~SECToolBarsPage();
  void SetManager(SECToolBarManager* pMgr) { SECToolBarsBase::SetManager(pMgr); }

  virtual BOOL OnSetActive() override;
  virtual BOOL OnKillActive() override;
  virtual void OnOK() override;
  virtual void OnCancel() override;
  virtual void OnReset() override;

 protected:
  virtual BOOL OnInitDialog() override;
  virtual void DoDataExchange(CDataExchange* pDX) override;
  void TellSiblings(WPARAM nWhat);
  afx_msg void OnToolTipsCheck();
  afx_msg void OnCoolLookCheck();
  afx_msg void OnLargeCheck();
  afx_msg void OnNewBtn();
  afx_msg void OnResetBtn();
  afx_msg void OnListCheck();
  afx_msg void OnListSel();
  afx_msg void OnNameKill();
  afx_msg LRESULT OnBarNotifyMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The palette of a commands-page group: always in config mode, no balancing, copies out,
// takes no drops (a toolbar button dropped on it is deleted).
class SECCustomizeToolBar : public SECCustomToolBar {
  DECLARE_DYNCREATE(SECCustomizeToolBar)

 public:
  SECCustomizeToolBar() { m_bConfig = TRUE; }
  virtual void BalanceRows(int nRows, void* pRows) override { (void)nRows; (void)pRows; }
  virtual BOOL IsCopyDrag() override { return TRUE; }
  virtual BOOL AcceptsDrops() override { return FALSE; }
};

class SECMenuListBox : public CListBox {
  DECLARE_DYNAMIC(SECMenuListBox)

 public:
  SECMenuListBox() : m_pManager(NULL), m_bOldWindows(FALSE) {}
  SECToolBarManager* m_pManager;
  BOOL m_bOldWindows;

 protected:
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  DECLARE_MESSAGE_MAP()
};

class SECToolBarCmdPage;

class SECBtnGroup : public CObject {
 public:
  SECBtnGroup() : m_pWnd(NULL), m_nCount(0), m_pIDs(NULL) {}
  virtual ~SECBtnGroup() { delete m_pWnd; }
  virtual BOOL Create(SECToolBarCmdPage* pPage, SECToolBarManager* pMgr, UINT nID) = 0;
  virtual void Layout(const CRect& rect) { (void)rect; }
  virtual void Activate(BOOL bActive) { (void)bActive; }

  CWnd* m_pWnd;  // owned
  CString m_strName;
  int m_nCount;
  const UINT* m_pIDs;  // not owned
};

class SECTBBtnGroup : public SECBtnGroup {
 public:
  virtual BOOL Create(SECToolBarCmdPage* pPage, SECToolBarManager* pMgr, UINT nID) override;
  virtual void Layout(const CRect& rect) override;
  virtual void Activate(BOOL bActive) override;
  SECCustomizeToolBar* Palette() const { return (SECCustomizeToolBar*)m_pWnd; }
};

class SECMenuBtnGroup : public SECBtnGroup {
 public:
  virtual BOOL Create(SECToolBarCmdPage* pPage, SECToolBarManager* pMgr, UINT nID) override;
};

class SECToolBarCmdPage : public CPropertyPage {
  DECLARE_DYNCREATE(SECToolBarCmdPage)

 public:
  class CGroupArray : public CObArray {
   public:
    virtual ~CGroupArray();
  };

  SECToolBarCmdPage();
  explicit SECToolBarCmdPage(UINT nIDTemplate, UINT nIDCaption = 0);
  virtual ~SECToolBarCmdPage();

  void SetManager(SECToolBarManager* pMgr);
  void DefineBtnGroup(LPCTSTR lpszName, int nCount, const UINT* pIDs);
  void DefineMenuGroup(LPCTSTR lpszName);
  int GetGroupCount() const { return (int)m_groups.GetSize(); }
  SECBtnGroup* GetGroup(int i) const { return (SECBtnGroup*)m_groups[i]; }
  void ShowDescription(UINT nCmdID);

  virtual BOOL OnSetActive() override;
  virtual BOOL OnKillActive() override;
  virtual void OnReset() override;

  SECToolBarManager* m_pManager;

 protected:
  virtual BOOL OnInitDialog() override;
  void SelectGroup(int nIndex);
  afx_msg void OnCategoryChange();
  afx_msg void OnDestroy();
  afx_msg LRESULT OnBarNotifyMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnStyleChanging(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  CGroupArray m_groups;
  int m_nActive;
  UINT* m_pMenuIDs;  // owned
};

class SECToolBarSheet : public CPropertySheet {
  DECLARE_DYNAMIC(SECToolBarSheet)

 public:
  SECToolBarSheet(UINT nIDCaption = 20538, CWnd* pParentWnd = NULL, UINT iSelectPage = 0);

 protected:
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg LRESULT OnFloatStatus(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECTOOLBARSDLG_H
