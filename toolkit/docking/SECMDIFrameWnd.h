// The toolkit's multiple-document frame and child frame: message-filter trees for caption
// controls and the extended system command, a docked active child beside the MDI children,
// a cyclic default docking side, menus kept by resource id, and a gradient caption.
#ifndef QUORVEL_SECMDIFRAMEWND_H
#define QUORVEL_SECMDIFRAMEWND_H

#include <afxext.h>
#include <afxtempl.h>

#include <vector>

#include "SECDockBar.h"
#include "SECMsgFilter.h"

class SECMenuBar;
class SECWndPlugIn;
class SECBmpMenuPlugIn;
class SECMultiDocTemplate;
class SECControlBarManager;

// Where a bar docks: the dock bar's row, column and flags; and the bar's width share and length.
typedef SECDockBar::Position SECDockPosition;
struct SECDockSize {
  float fPctWidth;
  int nLength;
};

class SECMDIFrameWnd : public CMDIFrameWnd {
  DECLARE_DYNCREATE(SECMDIFrameWnd)

 public:
  SECMDIFrameWnd();
  virtual ~SECMDIFrameWnd();

  // Filters: 257 (system-command extension) on with the multi-document flag, the caption list
  // of maximized children (256) and its state button (260) and the right double-click (261).
  virtual void ConfigureMsgFilters(BOOL bMultiDoc);
  SECMsgFilter* GetMsgFilter() const { return m_pMsgFilter; }
  const SECMsgFilter::DescriptorTable& GetDescriptorTable() const { return m_filterTable; }

  // Docking on the four sides with the toolkit's dock bars, as the single-document frame.
  void EnableDocking(DWORD dwDockStyle);
  virtual SECDockBar* CreateDockBar();
  virtual void DockControlBarEx(CControlBar* pBar, const SECDockPosition& pos, UINT nDockBarID,
                                const SECDockSize& size);
  void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = NULL);
  void DockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
  // Docks the bar again: without a dock bar, where its place is held, else on its side.
  virtual void ReDockControlBar(CControlBar* pBar, CDockBar* pDockBar, LPCRECT lpRect = NULL);
  // Floats the bar in a new mini frame at a screen point; a bar alone and visible in a
  // floating dock bar sharing an alignment with the style only has its frame moved there.
  virtual void FloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);
  // Always a new mini frame, shown: how a bar leaves the main window.
  virtual void ReFloatControlBar(CControlBar* pBar, CPoint point, DWORD dwStyle = CBRS_ALIGN_TOP);

  // The next default side in the cycle bottom, left, right (row breaks marked by zeros).
  virtual void GetNextDockPosition(UINT& nDockBarID, SECDockPosition& pos, SECDockSize& size);
  // Where a bar floated in the main window goes: a negative coordinate asks for the next
  // cascade place; a given screen point is taken to MDI-client coordinates; both clamped.
  CPoint GetMDIFloatPosition(CPoint point);
  // Floats a bar in an MDI child of this frame (the bar "floats in the main window").
  virtual void FloatControlBarInMDIChild(CControlBar* pBar, CPoint point,
                                         DWORD dwStyle = CBRS_ALIGN_TOP);
  // A new child of the MDI float-frame class holding an empty floating dock bar; NULL on failure.
  virtual CFrameWnd* CreateMDIFloatFrame();
  void SetMDIFloatFrameClass(CRuntimeClass* pClass) { m_pMDIFloatFrameClass = pClass; }
  // The dock layout, bars floating in the main window included; bars the restore had to
  // make are kept in the created-objects list and deleted with the frame.
  virtual void LoadBarState(LPCTSTR lpszProfileName);
  virtual void SaveBarState(LPCTSTR lpszProfileName);
  CPtrList m_listCreatedObjects;
  // Set while a bar moves into or out of the main window ("Float In Main Window").
  int m_nBusy;
  CPoint GetCascadePosition() const { return m_ptCascade; }
  // A dockable frame inside a bar: the bar's first child when it is one, else NULL.
  virtual CFrameWnd* GetEmbeddedFrame(CControlBar* pBar);
  // On: the frame's docked styles are kept in two window properties, its parent frame takes
  // this frame's look and the frame a caption; off: the kept styles come back.
  virtual void SetEmbeddedFrameFloating(CFrameWnd* pFrame, BOOL bFloating);
  // A floating bar about to dock: its embedded frame gets its docked styles back.
  void LeaveEmbeddedFloating(CControlBar* pBar);
  // The frame covers its parent frame's window rectangle.
  virtual void FitEmbeddedFrame(CFrameWnd* pFrame);
  // Whether the bar sits in an MDI child of this frame (it floats in the main window).
  static BOOL IsFloatingInMDIChild(CControlBar* pBar);

  // The docked active child: a frame that is not an MDI child but gets commands, help and
  // the menu first while it is active.
  virtual void ActivateDockedChild(CFrameWnd* pChild);
  virtual void DeactivateDockedChild(BOOL bActivateClient);
  CFrameWnd* GetDockedActiveChild() const;
  virtual CFrameWnd* GetActiveFrame() override;
  // With a docked active child, its document names the title and its menu is shown.
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  virtual void OnUpdateFrameMenu(HMENU hMenuAlt) override;
  void SetAutoActivateView(BOOL b) { m_bAutoActivateView = b; }
  // After the frame's activation: the active view (this frame's, else the active frame's) is
  // told, takes the focus when the focus is outside it, and learns of its frame's activation.
  virtual void ActivateFrameView(UINT nState, CWnd* pWndOther, BOOL bMinimized);

  // Menus kept by resource id.
  BOOL LoadMenus(int nCount, ...);
  // Its own menu map, after the shared menu of the toolkit template of that resource id.
  virtual HMENU GetMenuForId(UINT nID);
  // The application's first toolkit multi-document template (of that id; 0: any).
  static SECMultiDocTemplate* FindMultiDocTemplate(UINT nID);
  virtual void SetMenuBarMenu(UINT nID);
  virtual void UpdateWindowMenu();
  virtual void RefreshMDIButtons();
  virtual SECMenuBar* GetMenuBar() const { return m_pMenuBar; }
  BOOL HasMenuBar() const { return m_pMenuBar != NULL; }
  void SetMenuBar(SECMenuBar* pMenuBar) { m_pMenuBar = pMenuBar; }
  // Bitmap menus are chosen before the window is created; the menu plug-in (the menu-bar
  // feature with a menu bar, else bitmap menus) lives from creation to WM_CLOSE.
  void EnableBitmapMenus(BOOL bEnable = TRUE, int nOption = 0)
  {
    m_bBmpMenus = bEnable;
    m_nBmpMenuOption = nOption;
  }
  SECWndPlugIn* GetMenuPlugIn() const { return m_pMenuPlugIn; }
  SECBmpMenuPlugIn* GetBmpMenuPlugIn() const;
  virtual BOOL PreTranslateMessage(MSG* pMsg) override;
  // The resource id is the default and current menu id; with a menu bar the window has no
  // menu of its own: the frame keeps its own copy of the menu resource for the bar.
  virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
  HMENU GetOwnMenu() const { return m_hMenuOwn; }
  UINT GetCurrentMenuId() const { return m_nCurrentMenuId; }
  // With a menu bar and no active child, the bar switches to the new default menu at once.
  void SetDefaultMenuId(UINT nID);
  UINT GetDefaultMenuId() const { return m_nDefaultMenuId; }

  // The toolbar manager (not owned): its bars are saved and restored with the dock state;
  // while it customises, the frame keeps still (no closing, no hit test, no stay-active).
  virtual SECControlBarManager* GetControlBarManager() const { return m_pControlBarManager; }
  virtual void SetControlBarManager(SECControlBarManager* p) { m_pControlBarManager = p; }
  BOOL InCustomizeMode() const;
  virtual void OnEnterIdleEx(UINT nWhy, CWnd* pWho);

  // Gradient caption.
  BOOL EnableGradientCaption(BOOL bEnable = TRUE, BOOL bRepaint = TRUE);
  BOOL HasGradientCaption() const { return m_bGradientCaption; }
  void SetCaptionAlignment(int nAlign, BOOL bRepaint = TRUE);
  BOOL IsCaptionActive() const { return m_bCaptionActive; }
  virtual void GetCaptionFont(CFont& font);
  virtual void GetCaptionFontItalic(CFont& font);
  virtual void DrawCaption();
  void GetCaptionRect(CRect& rc);
  // Fills left to right in bands; each channel rises linearly and never passes its target
  // (a falling channel takes the target at once). An empty rectangle is not filled.
  static void GradientFill(CDC* pDC, const RECT& rc, int nBands, COLORREF clrFrom, COLORREF clrTo);
  // Draws the title: the part before the first '-' in the first font, the rest in the second.
  static void DrawSplitTitle(CDC* pDC, const CString& strTitle, CRect rcText, int nAlign,
                             CFont* pItalic, CFont* pPlain, COLORREF clrFirst, COLORREF clrRest);

  virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  enum { CASCADE_START = 30, CASCADE_DX = 20, CASCADE_DY = 23, GRADIENT_BANDS = 60 };

 protected:
  CRect m_rectClient;
  CRuntimeClass* m_pDockBarClass;
  CRuntimeClass* m_pMDIFloatFrameClass;
  CPoint m_ptCascade;
  HWND m_hWndDockedChild;  // kept by handle: the frame may go while docked and active
  BOOL m_bAutoActivateView;
  int m_nCaptionAlign;
  BOOL m_bCaptionActive;
  BOOL m_bGradientCaption;
  SECMsgFilter* m_pMsgFilter;
  SECMsgFilter::DescriptorTable m_filterTable;
  int m_nCaptionListDescriptor;
  SECMenuBar* m_pMenuBar;  // not owned
  SECWndPlugIn* m_pMenuPlugIn;  // owned
  HMENU m_hMenuOwn;             // with a menu bar: the frame's copy of its menu; owned
  BOOL m_bBmpMenus;
  int m_nBmpMenuOption;
  SECControlBarManager* m_pControlBarManager;  // not owned
  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnClose();
  afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
  afx_msg void OnSysColorChange();
  afx_msg void OnEnterIdle(UINT nWhy, CWnd* pWho);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg LRESULT OnNcHitTest(CPoint point);
  // A bar alone and visible in a floating dock bar sharing an alignment bit with the style:
  // its floating frame (of that class) moves to the point, given in the coordinates of the
  // frame's parent or, with bScreen, of the screen. FALSE when the bar is not so placed.
  BOOL MoveLoneFloatingFrame(CControlBar* pBar, CPoint point, DWORD dwStyle,
                             CRuntimeClass* pFrameClass, BOOL bScreen);
  void FloatInMiniFrame(CControlBar* pBar, CPoint point, DWORD dwStyle, BOOL bAlwaysShow);
  CMap<UINT, UINT, HMENU, HMENU> m_menuMap;
  UINT m_nCurrentMenuId;
  UINT m_nDefaultMenuId;
  BOOL m_bNewShell;
  std::vector<UINT> m_dockSequence;
  int m_nDockSeqIndex;

  LRESULT OnGradientNcActivate(BOOL bActive);
  LRESULT OnGradientNcPaint(HRGN hRgn);
  LRESULT OnGradientSetText(LPARAM lParam);
  // Runs the default processing with WS_VISIBLE taken away, so that the system draws no caption.
  LRESULT DefaultInvisible(UINT message, WPARAM wParam, LPARAM lParam);

  // The workspace commands stay enabled: the workspace manager carries them out.
  afx_msg void OnWorkspaceCommand();
  afx_msg void OnWorkspaceRange(UINT nID);
  afx_msg void OnUpdateWorkspaceCommand(CCmdUI* pCmdUI);
  afx_msg LRESULT OnSecGetMenu(WPARAM wParam, LPARAM lParam);
  // A bar's context menu (wParam the bar, lParam the menu): "Allow Docking" greyed while the
  // bar floats in the main window; "Float In Main Window" for bars that may, checked then.
  afx_msg LRESULT OnBarContextMenu(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class SECMDIChildWnd : public CMDIChildWnd {
  DECLARE_DYNCREATE(SECMDIChildWnd)

 public:
  SECMDIChildWnd();
  virtual ~SECMDIChildWnd();

  virtual BOOL LoadFrame(UINT nIDResource,
                         DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
  virtual void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) override;
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  virtual void RefreshFrameMenu(CWnd* pWnd);
  // Bit 1: filters on at all; bit 2: no caption controls; bit 4: no caption right
  // double-click; bit 8: no caption context menu.
  virtual void ConfigureMsgFilters(DWORD dwFlags);

  void SetMenuBarMenuId(UINT nID);
  UINT GetMenuBarMenuId() const { return m_nMenuBarMenuId; }
  SECMsgFilter* GetMsgFilter() const { return m_pMsgFilter; }
  // The MDI frame when it is the toolkit's; NULL otherwise (nothing of it is then called).
  SECMDIFrameWnd* GetSECMDIFrame();

 protected:
  UINT m_nMenuBarMenuId;
  BOOL m_bUseMenuBarMenu;
  HMENU m_hMenuAlt;
  SECMsgFilter* m_pMsgFilter;
  SECMsgFilter::DescriptorTable m_filterTable;

  // Takes the frame's docked child away, makes this the MDI active child and focuses its view.
  void ActivateByMouse();

  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnParentNotify(UINT message, LPARAM lParam);
  afx_msg void OnChildActivate();
  afx_msg void OnMDIActivate(BOOL bActivate, CWnd* pActivateWnd, CWnd* pDeactivateWnd);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

// What the MDI children that hold a bar floated in the main window share (the plain one and
// the workbook's sheet): the embedded floating dock bar and the handlers around its bar.
struct SECBarChildSupport {
  // Made in the main frame (the bar's dock site), then moved into the child.
  static BOOL CreateDockBar(CFrameWnd* pChild, SECDockBar& dock);
  // The bar the dock bar holds while it holds a single one (no CBRS_FLOAT_MULTI); else NULL.
  static CControlBar* SingleBar(SECDockBar& dock);
  // The child's caption is the dock bar's text.
  static void TakeCaption(CFrameWnd* pChild, SECDockBar& dock);
  // A dynamic bar commits the child's new client size (plus the borders) as its floating size.
  static void CommitSize(SECDockBar& dock, UINT nType, int cx, int cy);
  // TRUE when closing only restored the child and hid its bar.
  static BOOL CloseHidesBar(CFrameWnd* pChild, SECDockBar& dock);
  // The child's top-left corner (screen) becomes the bar's floating place.
  static void RememberPlace(CFrameWnd* pChild, SECDockBar& dock);
  // The main window's MDI client refreshes its Window menu.
  static void RefreshWindowMenu();
};

// The MDI child that holds one bar floated in the main window. Closing it only hides the bar.
class SECControlBarMDIChildWnd : public SECMDIChildWnd {
  DECLARE_DYNCREATE(SECControlBarMDIChildWnd)
 public:
  SECControlBarMDIChildWnd();
  virtual ~SECControlBarMDIChildWnd();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  virtual void RecalcLayout(BOOL bNotify = TRUE) override;
  void MDIRestore();
  SECDockBar* GetDockBar() { return &m_wndDockBar; }
  // The bar it holds, while it holds a single one (no CBRS_FLOAT_MULTI); else NULL.
  CControlBar* GetSingleBar();
 protected:
  SECDockBar m_wndDockBar;
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnClose();
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECMDIFRAMEWND_H
