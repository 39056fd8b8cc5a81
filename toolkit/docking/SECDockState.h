// The dock state of a toolkit frame: one record per toolkit bar and dock bar, with the
// sizes, share and styles MFC's record does not keep, in the profile or an archive; bars
// that no longer exist are made again from their stored class names.
#ifndef QUORVEL_SECDOCKSTATE_H
#define QUORVEL_SECDOCKSTATE_H

#include <afxext.h>

class SECControlBarManager;
class SECDockState;
class SECPersistentTreeNode;
class SECPTNFactory;

// The extension a bar manager attaches for its own kinds of bars.
class SECControlBarInfoEx : public CObject {
  DECLARE_DYNCREATE(SECControlBarInfoEx)

 public:
  virtual ~SECControlBarInfoEx() {}
  virtual void SerializeEx(CArchive& ar, SECDockState* pDockState)
  {
    (void)ar;
    (void)pDockState;
  }
  virtual BOOL LoadState(LPCTSTR lpszSection, SECDockState* pDockState)
  {
    (void)lpszSection;
    (void)pDockState;
    return FALSE;
  }
  virtual BOOL SaveState(LPCTSTR lpszSection) { (void)lpszSection; return FALSE; }
  virtual BOOL LoadStateTree(SECPersistentTreeNode* pNode) { return pNode != NULL; }
  virtual BOOL SaveStateTree(SECPTNFactory& factory, SECPersistentTreeNode* pNode)
  {
    (void)factory;
    return pNode != NULL;
  }
};

class SECControlBarInfo : public CControlBarInfo {
 public:
  explicit SECControlBarInfo(SECControlBarManager* pManager = NULL);
  virtual ~SECControlBarInfo();

  virtual BOOL SaveState(LPCTSTR lpszProfileName, int nIndex) override;
  virtual BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState) override;
  void Serialize(CArchive& ar, SECDockState* pDockState);
  // The persistent-tree form: a child "Bar-<n>" of the parent; FALSE (no child) for the
  // empty dock bar the profile form declines too.
  virtual BOOL SaveStateTree(SECPTNFactory& factory, SECPersistentTreeNode* pParent, int nIndex);
  virtual BOOL LoadStateTree(SECPersistentTreeNode* pNode, SECDockState* pDockState);

  CSize m_szMRUHorzDock;
  CSize m_szMRUVertDock;
  CSize m_szMRUFloat;
  DWORD m_dwMRUDockingState;
  DWORD m_dwDockStyle;
  float m_fPctWidth;
  DWORD m_dwStyle;
  DWORD m_dwExStyle;
  BOOL m_bPrevFloating;
  BOOL m_bMDIChild;
  WINDOWPLACEMENT m_wpMDIChild;  // of the MDI child window, when m_bMDIChild
  CString m_strClassName;
  CString m_strWindowName;
  UINT m_nResourceID;
  SECControlBarInfoEx* m_pBarInfoEx;  // owned
  DWORD m_dwTypeID;
  SECControlBarManager* m_pManager;  // not owned
};

// A row share as stored text: share x 1,000,000 as a decimal integer; negatives, missing
// and unreadable values read as 0.
CString SECShareToText(float fShare);
float SECShareFromText(LPCTSTR lpsz);

class SECDockState : public CDockState {
  DECLARE_DYNCREATE(SECDockState)

 public:
  explicit SECDockState(SECControlBarManager* pManager = NULL);
  virtual ~SECDockState();

  virtual void Serialize(CArchive& ar) override;
  virtual void SaveState(LPCTSTR lpszProfileName);
  virtual void LoadState(LPCTSTR lpszProfileName);
  // The persistent-tree form: a child "DockState" of the parent. Loading answers FALSE, with
  // nothing loaded, when there is no such child.
  virtual BOOL SaveStateTree(SECPTNFactory& factory, SECPersistentTreeNode* pParent);
  virtual BOOL LoadStateTree(SECPersistentTreeNode* pParent);
  virtual BOOL GetDockState(CFrameWnd* pFrame);
  virtual BOOL SetDockState(CFrameWnd* pFrame);
  virtual SECControlBarInfo* NewBarInfo(SECControlBarManager* pManager);
  // A bar of a stored class name; only toolkit bar classes are made. NULL when none.
  virtual CControlBar* CreateBarFromInfo(LPCTSTR lpszClassName, CFrameWnd* pFrame,
                                         SECControlBarInfo* pInfo);
  void CleanupState();

  SECControlBarManager* m_pManager;  // not owned
  CPtrList* m_pDynamicBars;          // the frame's list of bars made here, not owned
};

#endif  // QUORVEL_SECDOCKSTATE_H
