// The abstract manager a docking frame hands what it does not know about its bars: saving,
// identifying and re-creating bars of kinds only the manager knows, and its own options.
#ifndef QUORVEL_SECCONTROLBARMANAGER_H
#define QUORVEL_SECCONTROLBARMANAGER_H

#include <afxwin.h>

class CControlBar;
class SECControlBarInfo;
class SECControlBarInfoEx;
class SECPersistentTreeNode;
class SECPTNFactory;

class SECControlBarManager : public CObject {
  DECLARE_DYNAMIC(SECControlBarManager)

 public:
  explicit SECControlBarManager(CFrameWnd* pFrameWnd = NULL) : m_pFrameWnd(pFrameWnd) {}
  virtual ~SECControlBarManager() {}

  virtual BOOL LoadState(SECPersistentTreeNode* pNode) { return pNode != NULL; }
  virtual void LoadState(LPCTSTR lpszProfileName) { (void)lpszProfileName; }
  virtual BOOL SaveState(SECPTNFactory& factory, SECPersistentTreeNode* pNode)
  {
    (void)factory;
    return pNode != NULL;
  }
  virtual void SaveState(LPCTSTR lpszProfileName) { (void)lpszProfileName; }
  // The kind of a bar the manager made (0: none it knows).
  virtual DWORD GetBarTypeID(CWnd* pWnd) { (void)pWnd; return 0; }
  // The extension record of a bar kind the manager knows (NULL: none).
  virtual SECControlBarInfoEx* CreateBarInfo(DWORD dwTypeID) { (void)dwTypeID; return NULL; }
  virtual CControlBar* CreateBar(SECControlBarInfo* pInfo) { (void)pInfo; return NULL; }

  CFrameWnd* m_pFrameWnd;  // the frame it serves, not owned
};

#endif  // QUORVEL_SECCONTROLBARMANAGER_H
