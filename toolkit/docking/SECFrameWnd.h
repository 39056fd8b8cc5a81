// The toolkit's top-level frame: its own dock bars (rows shared by the bars' shares), bars
// docked at a row and column with a share and a thickness, a control-bar manager, and the
// bars a restored dock state created.
#ifndef QUORVEL_SECFRAMEWND_H
#define QUORVEL_SECFRAMEWND_H

#include <afxext.h>

class SECControlBar;
class SECControlBarManager;
class SECDockBar;
class SECWorkspaceManagerEx;
class SECMenuBar;
class SECWndPlugIn;
class SECBmpMenuPlugIn;

// Registered once: wParam a menu resource id, lParam a sub-menu position.
extern const UINT WM_SECGETMENU;

class SECFrameWnd : public CFrameWnd {
  DECLARE_DYNCREATE(SECFrameWnd)

 public:
  SECFrameWnd();
  virtual ~SECFrameWnd();

  virtual SECDockBar* CreateDockBar();
  virtual void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  // Docks the bar at (column, row) of the dock bar with that id, or of the side its
  // alignment names; commits the thickness and stores the share. A bar that names no side
  // and no dock bar of the id is not docked.
  virtual void DockControlBarEx(CControlBar* pBar, UINT nDockBarID = 0, int nCol = 0,
                                int nRow = 0, float fPctWidth = 1.0f, int nThick = 150);
  // The bars' layout in the application profile, in the toolkit's dock-state form.
  virtual void LoadBarState(LPCTSTR lpszProfileName);
  virtual void SaveBarState(LPCTSTR lpszProfileName);
  virtual SECControlBarManager* GetControlBarManager() const { return m_pControlBarManager; }
  virtual void SetControlBarManager(SECControlBarManager* p) { m_pControlBarManager = p; }
  virtual HMENU GetMenuCopy(UINT nID) const { return nID == m_nMenuResID ? m_hMenuCopy : NULL; }
  virtual void RecalcLayout(BOOL bNotify = TRUE) override;
  // The workspace manager (or the top-level frame's) sees commands first.
  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra,
                        AFX_CMDHANDLERINFO* pHandlerInfo) override;
  // Makes the manager from the class, sets its key and mode and plugs it in; NULL (and no
  // manager kept) for a null class or one that cannot be plugged in.
  virtual SECWorkspaceManagerEx* CreateWorkspaceManager(CRuntimeClass* pClass, LPCTSTR lpszKey,
                                                        int nMode = 0, BOOL bListUnderAppKey = FALSE);
  SECWorkspaceManagerEx* GetWorkspaceManager() const { return m_pWorkspaceMgr; }
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual void OnEnterIdleEx(UINT nWhy, CWnd* pWho);
  // The menu copy with a menu bar, else the default menu.
  virtual HMENU GetFrameMenu() const;
  // Leaving print preview redraws the frame with all its children.
  virtual void OnSetPreviewMode(BOOL bPreview, void* pState) override;
  // Hand this frame to a plug-in: A plugs it into the frame, B unplugs it when this frame is
  // its host. Each returns the plug-in's answer (FALSE for none).
  virtual BOOL ForwardToObjectA(SECWndPlugIn* pObject);
  virtual BOOL ForwardToObjectB(SECWndPlugIn* pObject);

  // The frame's own caption: a gradient from black to the active caption colour and the
  // title in two fonts (the part before the first '-' italic). Only on a new-shell system;
  // returns the previous setting (FALSE and nothing done otherwise).
  BOOL SetCaptionPainting(BOOL bEnable, BOOL bRedraw = TRUE);
  BOOL IsCaptionPainting() const { return m_bCaptionPainting; }
  // 0 left, 1 centred, anything else right.
  void SetCaptionAlignment(int nAlign, BOOL bRedraw = TRUE);
  int GetCaptionAlignment() const { return m_nCaptionAlign; }
  virtual void CreateItalicCaptionFont(CFont& font);
  virtual void CreateCaptionFont(CFont& font);
  virtual void PaintCaption();
  // The caption bar in window coordinates: from the frame border to the first caption button.
  void GetCaptionRect(CRect& rc);

  // Images beside menu commands, handed to the bitmap-menu plug-in (FALSE without one).
  BOOL AddToolBarResource(LPCTSTR lpszResource);
  BOOL AddToolBarResourceId(UINT nID);
  BOOL AddBitmapResource(LPCTSTR lpszBitmap, const UINT* pIDs, int nCount);
  BOOL AddBitmapResourceId(UINT nID, const UINT* pIDs, int nCount);
  BOOL AddBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount);

  // Menus: bitmap menus are chosen before the window is created; a frame with a menu bar
  // shows its menu resource through it.
  void EnableBitmapMenus(BOOL bEnable = TRUE, int nOption = 0);
  void SetMenuResource(UINT nID);
  CMenu* GetMenuObject();
  SECBmpMenuPlugIn* GetBmpMenuPlugIn() const;
  SECWndPlugIn* GetMenuPlugIn() const { return m_pMenuPlugIn; }
  // The menu plug-in a frame makes at creation: the menu-bar feature with a menu bar, else
  // bitmap menus when asked for (sharing the toolbar manager's bitmaps); plugged in; or NULL.
  static SECWndPlugIn* MakeMenuPlugIn(CFrameWnd* pFrame, SECMenuBar* pMenuBar, BOOL bBmpMenus,
                                      SECControlBarManager* pManager);
  // After the frame's own WM_INITMENUPOPUP: bitmap menus post-process the popup.
  static void AfterInitMenuPopup(SECWndPlugIn* pPlugIn, BOOL bBmpMenus, UINT message,
                                 WPARAM wParam, LPARAM lParam);
  // Whether the toolbar manager is customising now.
  BOOL InCustomizeMode() const;

  void EnableDocking(DWORD dwDockStyle);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
  void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
  void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
  SECControlBar* GetSECControlBar(UINT nID);

  // The docking steps, for any frame whose sides are the toolkit's dock bars (this frame and
  // the toolkit's MDI frame). A position is a row, a column and the dock bar's flags.
  static void EnableDockingIn(CFrameWnd* pFrame, DWORD dwDockStyle,
                              SECDockBar* (*pfnMakeDockBar)(CFrameWnd*));
  static CDockBar* DockBarForStyleIn(CFrameWnd* pFrame, DWORD dwStyle);
  static void DockControlBarExIn(CFrameWnd* pFrame, CControlBar* pBar, UINT nDockBarID, int nRow,
                                 int nCol, int nFlags, float fPctWidth, int nThick);
  static void DockControlBarIn(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar,
                               LPCRECT lpRect);
  // Without a dock bar: the side holding the bar's place (its id), else its alignment's side.
  static void ReDockControlBarIn(CFrameWnd* pFrame, CControlBar* pBar, CDockBar* pDockBar,
                                 LPCRECT lpRect);
  // A toolkit bar that may be sized in both directions floats in a thick-framed mini frame.
  static void SetFloatingFrameLook(CControlBar* pBar, CWnd* pMiniFrame);
  // Every toolkit toolbar of the frame reloads its button bitmaps (system colours changed).
  static void ReloadToolBarBitmapsIn(CFrameWnd* pFrame);
  // While the toolbars are customised, a dialog's idle time lays the frame out at once.
  static void LayOutWhileCustomizing(CFrameWnd* pFrame, BOOL bCustomizing, UINT nWhy);
  static BOOL IsCustomizing(SECControlBarManager* pManager);

  // A free control-bar id: the one wanted, or the first free of the next 1000; 0 when none.
  static UINT GetUniqueBarID(CFrameWnd* pFrame, UINT nID);
  static BOOL IsBarIDFree(CFrameWnd* pFrame, UINT nID);
  static BOOL AreBarIDsUnique(CFrameWnd* pFrame);

  BOOL m_bNewShell;
  BOOL m_bClosing;
  CRect m_rectLastClient;
  SECControlBarManager* m_pControlBarManager;  // not owned
  HMENU m_hMenuCopy;                           // owned
  UINT m_nMenuResID;
  CPtrList m_listDynamicBars;  // bars a restored dock state made; owned
  SECWorkspaceManagerEx* m_pWorkspaceMgr;  // owned
  SECMenuBar* m_pMenuBar;        // not owned; set by the owner before the window is made
  SECWndPlugIn* m_pMenuPlugIn;   // owned
  BOOL m_bBmpMenus;
  int m_nBmpMenuOption;
  int m_nCaptionAlign;
  BOOL m_bCaptionPainting;
  int m_nLastNcActive;

 protected:
  // Default processing with WS_VISIBLE taken away, so the system draws no caption.
  LRESULT DefaultInvisible(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnCaptionNcPaint(HRGN hRgn);
  // The dock bar that takes a bar of this alignment; NULL when it names no side exactly.
  CDockBar* DockBarForStyle(DWORD dwStyle);
  afx_msg LRESULT OnSecGetMenu(WPARAM wParam, LPARAM lParam);
  // The workspace commands do nothing here: the workspace manager carries them out.
  afx_msg void OnWorkspaceCommand();
  afx_msg void OnUpdateWorkspaceCommand(CCmdUI* pCmdUI);
  afx_msg BOOL OnWorkspaceRecent(UINT nID);
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg LRESULT OnNcHitTest(CPoint point);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg BOOL OnNcActivate(BOOL bActive);
  afx_msg void OnSysColorChange();
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECFRAMEWND_H
