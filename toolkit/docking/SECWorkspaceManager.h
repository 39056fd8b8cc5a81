// The workspace manager: saves the layout of a frame window (its placement and title, every
// document with the frames that show it, the docked and floating bars, the toolbar manager's
// settings) as one persistent tree, a workspace, in a profile file or a registry key, and
// restores it; keeps the recently used workspaces and handles the workspace commands of its
// host frame, into which it is plugged.
#ifndef QUORVEL_SECWORKSPACEMANAGER_H
#define QUORVEL_SECWORKSPACEMANAGER_H

#include "SECWndPlugIn.h"
#include <afxcoll.h>

class SECPersistentTreeNode;
class SECPTNFactory;
class SECPTNStrategy;
class SECControlBarManager;

// Storage modes.
#define SEC_WORKSPACE_PROFILE 0
#define SEC_WORKSPACE_REGISTRY 1

class SECWorkspaceManagerEx : public SECWndPlugIn {
  DECLARE_DYNCREATE(SECWorkspaceManagerEx)

 public:
  SECWorkspaceManagerEx();
  virtual ~SECWorkspaceManagerEx();

  virtual BOOL PlugInTo(CWnd* host) override;
  // Commands: the consumed flag tells the host to route the command no further.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                        AFX_CMDHANDLERINFO* pHandlerInfo) override;
  BOOL TakeConsumed();

  virtual void SetStorageMode(int nMode, BOOL bListUnderAppKey = FALSE);
  virtual void SetRegistryKey(LPCTSTR lpszBaseKey, int nMode = SEC_WORKSPACE_PROFILE,
                              HKEY hRoot = HKEY_CURRENT_USER, BOOL bListUnderAppKey = FALSE);
  virtual BOOL CloseWorkspace();
  virtual BOOL SaveWorkspace(LPCTSTR lpszName);
  virtual BOOL SaveActiveWorkspace();
  virtual BOOL OpenWorkspace(LPCTSTR lpszName, BOOL bQuiet = FALSE);
  virtual BOOL OpenWorkspacePrompt(BOOL bFromList, BOOL bQuiet = FALSE);
  // A new strategy the caller deletes.
  virtual SECPTNStrategy* CreateStrategy(LPCTSTR lpszName);
  virtual BOOL RestoreWorkspaceBars(SECPersistentTreeNode* pRoot);
  virtual BOOL RestoreFrames(SECPersistentTreeNode* pRoot, CFrameWnd*& pActive);
  virtual BOOL SaveWorkspaceBars(SECPTNFactory& factory, SECPersistentTreeNode* pRoot);
  virtual BOOL SaveFrames(SECPTNFactory& factory, SECPersistentTreeNode* pRoot);
  virtual BOOL GetWorkspaceName(CString& strName, BOOL bSaving);
  virtual void OnWorkspaceOpened(SECPersistentTreeNode* pRoot, LPCTSTR lpszName);
  virtual void OnWorkspaceSaved(SECPTNFactory& factory, SECPersistentTreeNode* pRoot,
                                LPCTSTR lpszName);
  virtual BOOL CloseDocumentFrames();
  virtual BOOL CloseFrameExtras(void* pHostData, CWnd* pHost);
  virtual BOOL RestoreAdditionalView(CDocument* pDoc, CFrameWnd* pFrame,
                                     SECPersistentTreeNode* pNode);
  virtual SECPersistentTreeNode* SaveAdditionalView(CDocument* pDoc, CView* pView,
                                                    CFrameWnd* pFrame, SECPTNFactory& factory,
                                                    SECPersistentTreeNode* pFrameNode,
                                                    int nIndex);
  virtual BOOL RestoreMainFrame(SECPersistentTreeNode* pFramesNode);
  virtual BOOL SaveMainFrame(SECPTNFactory& factory, SECPersistentTreeNode* pFramesNode);
  virtual BOOL RestoreChildFrames(SECPersistentTreeNode* pFramesNode, CFrameWnd*& pActive);
  virtual BOOL SaveChildFrames(SECPTNFactory& factory, SECPersistentTreeNode* pFramesNode,
                               CFrameWnd* pActive);
  virtual BOOL RestoreViewFrame(SECPersistentTreeNode* pNode, CDocument*& pDoc,
                                CFrameWnd*& pLastFrame, CFrameWnd*& pActive);
  virtual SECPersistentTreeNode* SaveViewFrame(CDocument* pDoc, CView* pView, CFrameWnd* pFrame,
                                               CFrameWnd* pActive, SECPTNFactory& factory,
                                               SECPersistentTreeNode* pDocNode, int nIndex);
  virtual void SaveDockedView(CFrameWnd* pFrame, SECPersistentTreeNode* pNode);
  virtual void SaveDockedViewFloating(CWnd* pBar, SECPersistentTreeNode* pNode);
  virtual void SaveDocumentIfNeeded(CFrameWnd* pFrame, CDocument* pDoc);
  virtual CFrameWnd* OpenDocumentFrame(CDocTemplate* pTemplate, LPCTSTR lpszPath);
  virtual CDocument* OpenDockedViewDocument(SECPersistentTreeNode* pNode,
                                            CDocTemplate* pTemplate, LPCTSTR lpszPath);
  virtual void RestoreDockedViewFloating(CWnd* pBar, SECPersistentTreeNode* pNode);
  virtual CFrameWnd* CreateAdditionalFrame(CDocTemplate* pTemplate, CDocument* pDoc,
                                           CFrameWnd* pLastFrame);
  virtual CFrameWnd* CreateDockedViewFrame(SECPersistentTreeNode* pNode,
                                           CDocTemplate* pTemplate, CDocument* pDoc,
                                           CFrameWnd* pLastFrame);
  virtual void ActivateRestoredFrame(CFrameWnd* pFrame);
  virtual BOOL ReadWorkspaceList(CStringList& list);
  virtual BOOL WriteWorkspaceList(const CStringList& list);
  virtual void AddToWorkspaceList(LPCTSTR lpszName, CStringList& list);
  virtual BOOL RemoveFromWorkspaceList(LPCTSTR lpszName);
  virtual CString GetWorkspaceListKey() const;
  virtual BOOL ManageWorkspaces(CString& strName, BOOL bOpenAllowed, BOOL bSaveAllowed);
  virtual void ApplyWorkspaceListEdits(const CStringList& asRead, CStringList& edited,
                                       const CStringList& removed);
  virtual BOOL PromptForWorkspaceFile(CString& strName, BOOL bSaving);

  // The current workspace's name; TRUE while one is open.
  BOOL GetActiveWorkspace(CString& strName) const;
  CFrameWnd* GetHostFrame() const { return m_pHostFrame; }
  int GetStorageMode() const { return m_nStorageMode; }
  const CString& GetBaseKey() const { return m_strBaseKey; }

  CString m_strFileFilter;  // "*.wsp"
  int m_nMaxListCount;      // 8

 protected:
  CFrameWnd* m_pHostFrame;  // not owned
  CString m_strWorkspace;
  BOOL m_bWorkspaceOpen;
  CString m_strBaseKey;
  HKEY m_hRootKey;
  int m_nStorageMode;
  BOOL m_bListUnderAppKey;
  BOOL m_bConsumed;

  SECControlBarManager* GetHostBarManager() const;
  // The list's key, opened (or made) for the operation; NULL when it cannot be.
  HKEY OpenListKey(BOOL bCreate) const;

  afx_msg void OnWorkspaceNew();
  afx_msg void OnWorkspaceOpen();
  afx_msg void OnWorkspaceSave();
  afx_msg void OnWorkspaceClose();
  afx_msg void OnUpdateWorkspaceClose(CCmdUI* pCmdUI);
  afx_msg void OnWorkspaceSaveAs();
  afx_msg void OnWorkspaceDelete();
  afx_msg BOOL OnWorkspaceRecent(UINT nID);
  afx_msg void OnUpdateWorkspaceRecent(CCmdUI* pCmdUI);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECWORKSPACEMANAGER_H
