// The toolkit's base of every dockable bar: a size remembered for each docking state, a
// share of its dock row, an extended style word, a gripper with close and expand buttons,
// proportional layout of its child windows and inner margins.
#ifndef QUORVEL_SECCONTROLBAR_H
#define QUORVEL_SECCONTROLBAR_H

#include <afxext.h>
#include <vector>

class SECControlBarManager;
class SECDockBar;
class SECControlBarInfo;

// Extended style bits
#define CBRS_EX_STDCONTEXTMENU 0x0001L  // right-click context menu
#define CBRS_EX_SIZE_TO_FIT 0x0002L     // proportional child layout
#define CBRS_EX_UNIDIRECTIONAL 0x0004L  // width-driven sizing, as a toolbar
#define CBRS_EX_DRAWBORDERS 0x0008L     // border lines in the 3-D colours
#define CBRS_EX_BORDERSPACE 0x0010L     // inner margins round the child
#define CBRS_EX_ALLOW_MDI_FLOAT 0x0020L // may float in the main window
#define CBRS_EX_FILLCHILD 0x0040L       // the first child fills the inside while docked
#define CBRS_EX_OWNROW 0x0080L          // a dock row of its own
#define CBRS_EX_COOL 0x0100L            // flat one-pixel borders
#define CBRS_EX_GRIPPER 0x0200L
#define CBRS_EX_GRIPPER_CLOSE 0x0400L
#define CBRS_EX_GRIPPER_EXPAND 0x0800L

// Commands of the bar's context menu
#define ID_SEC_ALLOWDOCKING 43040
#define ID_SEC_HIDE 43041
#define ID_SEC_MDIFLOAT 43042

// The gripper's metrics: for a bar docked top or bottom a strip at its left made of a
// margin, a bar, a gap, a bar and a margin; for a bar docked left or right the same strip
// across its top.
class SECGripperInfo : public CObject {
 public:
  SECGripperInfo();
  CString m_strCloseTip, m_strExpandTip, m_strContractTip;
  virtual ~SECGripperInfo() {}
  virtual int GetHorzGripperWidth() const;
  virtual int GetVertGripperHeight() const;

  int m_nLeftMargin, m_nBarWidth, m_nGap, m_nBarWidth2, m_nRightMargin;
  int m_nTopMargin, m_nBarHeight, m_nGapV, m_nBarHeight2, m_nBottomMargin;
  int m_nInset;  // on the other axis
};

class SECControlBar : public CControlBar {
  DECLARE_DYNCREATE(SECControlBar)

 public:
  SECControlBar();
  virtual ~SECControlBar();

  // The sizes every new bar remembers for each docking state.
  static int s_nDefaultLength;     // 300
  static int s_nDefaultThickness;  // 180

  virtual BOOL Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwStyle, DWORD dwExStyle,
                      UINT nID, CCreateContext* pContext = NULL);
  virtual BOOL CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = NULL);

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  virtual void DoPaint(CDC* pDC) override;
  // Besides MFC's tools: while docked, the close button (id 1024) and the expand button
  // (id 2048) with their tips.
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

  virtual void GetInsideRect(CRect& rect);
  virtual CDockContext* CreateDockContext();
  virtual void SetExtendedStyle(DWORD dwExStyle, BOOL bRedraw = TRUE);
  virtual void ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  virtual void DrawBorders(CDC* pDC, CRect& rect);
  virtual void NotifyPreDock() { OnPreDock(); }
  virtual void OnPreDock() {}
  virtual void OnPostDock() {}
  virtual void NotifyPreFloat() { OnPreFloat(); }
  virtual void OnPreFloat() {}
  virtual void OnPostFloat() {}
  virtual void NotifyPreMDIFloat() { OnPreMDIFloat(); }
  virtual void OnPreMDIFloat() {}
  virtual void OnPostMDIFloat() {}
  virtual void AddContextMenuItems(HMENU hMenu) { (void)hMenu; }
  virtual BOOL CanPressCloseButton() { return TRUE; }
  virtual BOOL CanPressExpandButton() { return TRUE; }
  // Adds the gripper to the size (width when horizontal, else height); returns it.
  virtual int AddGripperSize(CSize& size, BOOL bHorz);
  virtual void DrawGripper(CDC* pDC, CRect& rect);
  // The gripper's buttons: each placed at the head of the strip left (rect, in and out),
  // drawn released or pressed.
  virtual void PlaceCloseButton(CDC* pDC, CRect& rect, BOOL bHorz);
  virtual void DrawCloseButtonPressed(CDC* pDC);
  virtual void DrawCloseButton(CDC* pDC);
  virtual void PlaceExpandButton(CDC* pDC, CRect& rect, BOOL bHorz);
  virtual void DrawExpandButtonPressed(CDC* pDC);
  virtual void DrawExpandButton(CDC* pDC);
  virtual void UpdateExpandState(BOOL bHorz);

  // The kind of the toolkit dock bar holding the bar (non-zero: one inside an MDI child
  // floating in the main window); 0 when none holds it.
  int GetDockKind() const;

  // One line of the classic (not cool) borders.
  struct BorderLine {
    CRect rect;
    COLORREF clr;
  };
  // The classic border lines of a bar of these styles in the rectangle, which is shrunk by
  // the border size for each border present. Dark lines in the shadow colour, highlight
  // lines (3-D borders only) in the highlight colour; both in the button face colour unless
  // the borders are to be visible (CBRS_EX_DRAWBORDERS). A bar aligned left or right gets a
  // longer left line and shorter top and bottom lines.
  static void CalcClassicBorders(DWORD dwStyle, DWORD dwExStyle, CRect& rect,
                                 std::vector<BorderLine>& lines);

  DWORD GetExtendedStyle() const { return m_dwExStyle; }
  void EnableDocking(DWORD dwDockStyle);
  // Where the bar is docked: row, column (bars before it in its row, hidden ones
  // included), the dock bar's id, the row share and the row's thickness. FALSE when hidden
  // or not held by a toolkit dock bar.
  BOOL GetDockPosition(int& nRow, int& nCol, UINT& nDockBarID, float& fShare, int& nThick);
  // MFC's inside rectangle, or with cool look the toolkit's: flat borders and the gripper.
  void CalcInsideRectEx(CRect& rect, BOOL bHorz, BOOL bIncGripper = TRUE);
  BOOL IsHorzDocked() const;
  BOOL IsDocked() const { return m_pDockBar != NULL && !IsFloating(); }
  // The record of the dock state: MFC's values and the toolkit's; and back. The extended
  // style is not applied by SetBarInfoEx (the dock state does it once all bars stand).
  virtual void GetBarInfoEx(SECControlBarInfo* pInfo);
  void SetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd);
  virtual void OnGetBarInfoEx(SECControlBarInfo* pInfo) { (void)pInfo; }
  virtual void OnSetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd)
  {
    (void)pInfo;
    (void)pFrameWnd;
  }

  CSize m_szHorzDock;   // docked top or bottom: cx along the row, cy thickness
  CSize m_szVertDock;   // docked left or right: cx thickness, cy along
  CSize m_szFloat;
  DWORD m_dwMRUDockingState;  // the sides remembered while docking is off
  float m_fPctWidth;          // share of the dock row, 1.0 = the whole row
  float m_fSavedPctWidth;     // kept while floating
  DWORD m_dwExStyle;
  CRect m_rcBorderSpace;      // inner margins
  SECControlBarManager* m_pManager;  // not owned
  SECGripperInfo m_GripperInfo;
  CRect m_rcCloseBtn;
  BOOL m_bClosePressed;
  CRect m_rcExpandBtn;
  BOOL m_bExpandPressed;
  BOOL m_bExpandEnabled;
  BOOL m_bNotExpanded;
  BOOL m_bButtonsHorz;
  CPoint m_ptLastMenu;        // where the context menu last opened (screen)

 protected:
  // The client rectangle and each child's rectangle as recorded, in z-order.
  struct ChildLayout {
    CRect rectClient;
    std::vector<std::pair<HWND, CRect>> children;
  };
  ChildLayout* m_pChildLayout;
  void RecordChildLayout();
  void DropChildLayout();
  void LayoutChildren(int cx, int cy);
  SECDockBar* GetSECDockBar() const;

  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnNcPaint();
  afx_msg void OnHide();
  afx_msg void OnAllowDocking();
  afx_msg void OnFloatInMainWindow();
  DECLARE_MESSAGE_MAP()

  friend class SECDockBar;
  friend class SECFrameWnd;
};

// A rebar whose bands holding toolkit bars lay those bars out at the band's width.
class SECReBar : public CReBar {
  DECLARE_DYNAMIC(SECReBar)

 public:
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
};

#endif  // QUORVEL_SECCONTROLBAR_H
