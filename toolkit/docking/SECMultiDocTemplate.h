// A multi-document template whose views live in MDI children or in dockable frames inside
// control bars of the toolkit's MDI frame, moved between the two without being made again,
// with a feature word that switches the frames' caption extras.
#ifndef QUORVEL_SECMULTIDOCTEMPLATE_H
#define QUORVEL_SECMULTIDOCTEMPLATE_H

#include <afxext.h>

#include "SECMDIFrameWnd.h"

class SECMultiDocTemplate : public CMultiDocTemplate {
  DECLARE_DYNAMIC(SECMultiDocTemplate)

 public:
  // Feature bits: 1 extension on, 2 no state button, 4 no right double-click, 8 no menu.
  enum { featOn = 1, featNoStateButton = 2, featNoDoubleClick = 4, featNoContextMenu = 8 };
  // Dock sides of GetDockedSide.
  enum { sideTop = 0, sideLeft = 1, sideBottom = 2, sideRight = 3, sideFloating = 4 };

  SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pViewClass,
                      DWORD dwFeatures = (DWORD)-1);
  SECMultiDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                      CRuntimeClass* pViewClass, UINT nDockingResourceID,
                      CRuntimeClass* pDockingFrameClass, CRuntimeClass* pBarClass,
                      DWORD dwFeatures = (DWORD)-1);
  virtual ~SECMultiDocTemplate();

  virtual void LoadTemplate() override;
  virtual CFrameWnd* CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) override;

  virtual CFrameWnd* CreateNewFrameEx(CDocument* pDoc, CFrameWnd* pOther, BOOL bDocking,
                                      int nBarID = 0);
  virtual CDocument* OpenDocumentFileEx(LPCTSTR lpszPathName, BOOL bMakeVisible, BOOL bDocking,
                                        int nBarID = 0);
  virtual CFrameWnd* SwitchFrame(CFrameWnd* pFrame);
  virtual CFrameWnd* CreateDockingFrame(CDocument* pDoc, CFrameWnd* pOther, UINT nDockBarID,
                                        const SECDockPosition* pPos, const SECDockSize* pSize);
  virtual BOOL IsDockingFrame(CFrameWnd* pFrame) const;
  virtual int GetDockedSide(CFrameWnd* pFrame) const;
  virtual CFrameWnd* DockMDIChild(CFrameWnd* pFrame, UINT nDockBarID = 0,
                                  const SECDockPosition* pPos = NULL, const SECDockSize* pSize = NULL);
  virtual CFrameWnd* DockMDIChildDefault(CFrameWnd* pFrame);
  virtual CFrameWnd* UndockToMDIChild(CFrameWnd* pFrame);
  virtual void MoveChildWindows(CWnd* pFrom, CWnd* pTo);
  virtual BOOL ActivateDocFrame(CFrameWnd* pFrame);
  virtual void SetFrameFeatures(CFrameWnd* pFrame, DWORD dwFeatures);
  virtual void EnableStateButton(BOOL bEnable, BOOL bApply = TRUE);
  virtual void EnableDoubleClickToggle(BOOL bEnable, BOOL bApply = TRUE);
  virtual void EnableContextMenu(BOOL bEnable, BOOL bApply = TRUE);
  virtual BOOL IsStateButtonEnabled() const;
  virtual BOOL IsDoubleClickToggleEnabled() const;
  virtual BOOL IsContextMenuEnabled() const;
  virtual void ModifyFeatures(DWORD dwRemove, DWORD dwAdd, BOOL bApply = TRUE);
  virtual void ApplyFeatures();

  CRuntimeClass* m_pDockingFrameClass;
  CRuntimeClass* m_pBarClass;
  BOOL m_bCreateDocking;
  UINT m_nDockingResourceID;
  DWORD m_dwChildFeatures;
  DWORD m_dwDockingFeatures;
  int m_nDockBarID;
  HMENU m_hDockingMenu;
  HACCEL m_hDockingAccel;

 protected:
  // The toolkit's MDI frame the template's frames live in (the main window), or NULL.
  static SECMDIFrameWnd* GetMainFrame();
  // Gives the new frame its first pane as active view when it has none.
  static void AdoptPaneView(CFrameWnd* pFrame);
};

#endif  // QUORVEL_SECMULTIDOCTEMPLATE_H
