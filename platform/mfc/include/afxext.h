// Extensions of the windows layer: control bars and the docking machinery. A frame keeps
// its bars in m_listControlBars; dock bars along its sides (and one inside each floating
// mini frame) hold the docked bars in rows; a bar's dock context drags it between them; a
// dock state records the whole arrangement in the profile or an archive.
#ifndef QUORVEL_AFXEXT_H
#define QUORVEL_AFXEXT_H

#include "afxwin.h"
#include "afxpriv.h"

class CControlBar;
class CDockBar;
class CDockContext;
class CDockState;
class CControlBarInfo;

// Layout modes of CControlBar::CalcDynamicLayout
#define LM_STRETCH 0x01   // stretch to the length asked for
#define LM_HORZ 0x02      // horizontal, else vertical
#define LM_MRUWIDTH 0x04  // the most-recently used width (floating)
#define LM_HORZDOCK 0x08  // docked top or bottom
#define LM_VERTDOCK 0x10  // docked left or right
#define LM_LENGTHY 0x20   // the length is a height, else a width
#define LM_COMMIT 0x40    // remember the size asked for

// Status bar pane styles
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS SBT_NOBORDERS
#define SBPS_POPOUT SBT_POPOUT
#define SBPS_OWNERDRAW SBT_OWNERDRAW
#define SBPS_DISABLED 0x04000000
#define SBPS_STRETCH 0x08000000

// Fly-by prompts: a short wait before the first prompt, then a check for the mouse leaving.
#define AFX_IDT_FLYBY_WAIT 0xE000
#define AFX_IDT_FLYBY_CHECK 0xE001

// OLE control sites of a dialog template; the control container fills it in. Dialog
// templates with OLE controls are created through ExecuteDlgInit here, so the bars only
// keep what they are given.
struct _AFX_OCC_DIALOG_INFO;

// ---------------------------------------------------------------------------------------------
// CControlBar: the base of every bar a frame lays out around its client area.

class CControlBar : public CWnd {
  DECLARE_DYNAMIC(CControlBar)

 protected:
  CControlBar();

 public:
  virtual ~CControlBar();

  int GetCount() const { return m_nCount; }
  DWORD GetBarStyle() { return m_dwStyle; }
  void SetBarStyle(DWORD dwStyle);
  void EnableDocking(DWORD dwDockStyle);
  CFrameWnd* GetDockingFrame() const;
  BOOL IsFloating() const;
  void CalcInsideRect(CRect& rect, BOOL bHorz) const;
  void GetBarInfo(CControlBarInfo* pInfo);
  void SetBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz);
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode);
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
  virtual void DoPaint(CDC* pDC);
  // Shows or hides the bar at the next layout; IsVisible counts such a pending change.
  virtual void DelayShow(BOOL bShow);
  virtual BOOL IsVisible() const;
  // Applies a pending show or hide (not in a layout query); answers the bar's style with
  // WS_VISIBLE as it is, or will be, after the layout.
  virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout);
  virtual BOOL IsDockBar() const { return FALSE; }
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle);
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  virtual BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;
  virtual void PostNcDestroy() override;

  void DrawBorders(CDC* pDC, CRect& rect);
  // Per-element storage of derived bars (buttons, panes): nElements of cbElement bytes,
  // zero-filled; 0 elements frees it.
  BOOL AllocElements(int nElements, int cbElement);

  // Borders inside the bar, in pixels (left and right along a horizontal bar)
  int m_cxLeftBorder, m_cxRightBorder;
  int m_cyTopBorder, m_cyBottomBorder;
  int m_cxDefaultGap;
  UINT m_nMRUWidth;  // the width of a floating dynamic bar

  int m_nCount;
  void* m_pData;

  enum StateFlags { delayHide = 1, delayShow = 2, tempHide = 4, statusSet = 8 };
  UINT m_nStateFlags;

  DWORD m_dwStyle;          // CBRS_ bits
  DWORD m_dwDockStyle;      // the sides it may dock on (CBRS_ALIGN_ bits, CBRS_FLOAT_MULTI)
  CFrameWnd* m_pDockSite;   // the frame it belongs to
  CDockBar* m_pDockBar;     // the dock bar holding it, or NULL
  CDockContext* m_pDockContext;
  BOOL m_bAutoDelete;       // delete the object when its window is gone

 protected:
  INT_PTR m_nFlyByHit;       // the tool the fly-by prompt shows (-1: none)
  // Shows the prompt of a command in the frame's message line (-1: the idle prompt).
  void SetStatusText(INT_PTR nHit);
  CFrameWnd* GetMessageFrame() const;

  afx_msg int OnCreate(LPCREATESTRUCT lpcs);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  friend class CFrameWnd;
  friend class CDockBar;
  friend class CDockContext;
};

// ---------------------------------------------------------------------------------------------
// CDockBar: the rows of bars along one side of a frame, or inside a floating mini frame.
// m_arrBars: entry 0 is NULL; each row is a run of entries ended by NULL; an entry is a
// bar, or the id of a bar that left (a place-holder, below 0x10000) so that it comes back
// to the same place.

class CDockBar : public CControlBar {
  DECLARE_DYNAMIC(CDockBar)

 public:
  explicit CDockBar(BOOL bFloating = FALSE);
  virtual ~CDockBar();

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID);

  BOOL m_bFloating;
  CPtrArray m_arrBars;
  BOOL m_bLayoutQuery;  // the current layout only asks for sizes
  CRect m_rectLayout;   // the room the current layout offers

  int GetDockedCount() const;
  virtual int GetDockedVisibleCount() const;
  CControlBar* GetDockedControlBar(int nPos) const;
  // Index of the bar (or of a place-holder, passed as its id) in m_arrBars; -1 if absent.
  int FindBar(CControlBar* pBar, int nPosExclude = -1);
  void ShowAll(BOOL bShow);
  // Docks a bar here: at the row and place that the screen rectangle points at, or without
  // one at the bar's place-holder, else in a new last row.
  void DockControlBar(CControlBar* pBar, LPCRECT lpRect = NULL);
  // Takes a bar out; with nAddPlaceHolder its entry becomes its place-holder. TRUE when the
  // floating frame holding this dock bar was destroyed (its last bar left).
  BOOL RemoveControlBar(CControlBar* pBar, int nPosExclude = -1, int nAddPlaceHolder = 0);
  void RemovePlaceHolder(CControlBar* pBar);
  // Inserts a bar at the row and column a rectangle (client coordinates) points at.
  int Insert(CControlBar* pBarIns, CRect rect, CPoint ptMid);

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  virtual void DoPaint(CDC* pDC) override;
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  virtual BOOL IsDockBar() const override { return TRUE; }

  // Bar records of a dock bar: the ids of its entries, place-holders as id + 0x10000 and
  // row ends as 0; SetBarInfo rebuilds the rows from them.
  void GetDockBarInfo(CControlBarInfo* pInfo);
  void SetDockBarInfo(CControlBarInfo* pInfo, CFrameWnd* pFrameWnd);

 protected:
  // Takes the bar's styles and window for this dock bar (alignment, borders, floating).
  void AttachBar(CControlBar* pBar);
  void RemoveEmptyRows();

  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  friend class CFrameWnd;
  friend class CControlBar;
  friend class CDockContext;
};

// ---------------------------------------------------------------------------------------------
// CDockContext: drags a bar to dock or float it, resizes a floating one, and toggles it
// between its last dock place and its last floating place. The loops read the mouse and
// keys from the messages they take from the queue.

class CDockContext {
 public:
  explicit CDockContext(CControlBar* pBar);
  virtual ~CDockContext();

  virtual void StartDrag(CPoint pt);
  virtual void StartResize(int nHitTest, CPoint pt);
  virtual void ToggleDocking();

  // The steps of the loops; a derived context may dock, stretch or report differently.
  void Move(CPoint pt);
  virtual void EndDrag();
  void OnKey(int nChar, BOOL bDown);
  virtual void Stretch(CPoint pt);
  virtual void EndResize();
  void InitLoop();
  virtual void CancelLoop();
  BOOL Track();
  void DrawFocusRect(BOOL bRemoveRect = FALSE);
  // The outline shown over a dock side (screen coordinates); a derived context may show where
  // the bar would really go.
  virtual void AdjustDockFeedback(CRect& rect) { (void)rect; }
  void UpdateState(BOOL* pFlag, BOOL bNewValue);
  virtual DWORD CanDock();
  CDockBar* GetDockBar(DWORD dwOverDockStyle);
  // A drag ending over no dock side: the place and style the bar floats with (kept as the
  // last floating ones).
  void RememberFloatPlace();

  CPoint m_ptLast;
  CRect m_rectLast;
  CSize m_sizeLast;
  BOOL m_bDitherLast;
  CRect m_rectDragHorz;
  CRect m_rectDragVert;
  CRect m_rectFrameDragHorz;
  CRect m_rectFrameDragVert;
  CControlBar* m_pBar;
  CFrameWnd* m_pDockSite;
  DWORD m_dwDockStyle;
  DWORD m_dwOverDockStyle;  // the side the drag is over (0: floating)
  DWORD m_dwStyle;          // the bar's style when the drag started
  BOOL m_bFlip;             // Shift: the other orientation
  BOOL m_bForceFrame;       // Ctrl: never dock
  CDC* m_pDC;               // not used: the outline is a window of its own (m_hWndOutline)
  HWND m_hWndOutline;       // while a loop runs: the topmost outline window
  BOOL m_bDragging;         // dragging, else resizing
  int m_nHitTest;
  UINT m_uMRUDockID;
  CRect m_rectMRUDockPos;   // client coordinates of that dock bar
  DWORD m_dwMRUFloatStyle;
  CPoint m_ptMRUFloatPos;
};

// ---------------------------------------------------------------------------------------------
// CMiniDockFrameWnd: the small captioned popup that holds floating bars.

class CMiniDockFrameWnd : public CMiniFrameWnd {
  DECLARE_DYNCREATE(CMiniDockFrameWnd)

 public:
  CMiniDockFrameWnd();
  virtual ~CMiniDockFrameWnd();
  virtual BOOL Create(CWnd* pParent, DWORD dwBarStyle);
  virtual void RecalcLayout(BOOL bNotify = TRUE) override;
  // The dock bar that holds the floating bars; a derived frame may hold one of its own kind
  // (this one then stays without a window).
  virtual CDockBar* GetDockBar() { return &m_wndDockBar; }

  CDockBar m_wndDockBar;

 protected:
  CDockContext* GetFirstBarContext();
  afx_msg void OnClose();
  afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
  afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
  afx_msg void OnGetMinMaxInfo(MINMAXINFO* lpMMI);
  DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------------------------
// Dock state: one record per bar of a frame, in the profile or an archive.

class CControlBarInfo {
 public:
  CControlBarInfo();
  virtual ~CControlBarInfo() {}

  UINT m_nBarID;
  BOOL m_bVisible;
  BOOL m_bFloating;
  BOOL m_bHorz;
  BOOL m_bDockBar;
  CPoint m_pointPos;   // in its dock bar; a floating dock bar's client origin on the screen
  UINT m_nMRUWidth;
  BOOL m_bDocking;     // the bar has a dock context: the four values below are kept
  UINT m_uMRUDockID;
  CRect m_rectMRUDockPos;
  DWORD m_dwMRUFloatStyle;
  CPoint m_ptMRUFloatPos;
  CPtrArray m_arrBarID;  // of a dock bar: ids, place-holders as id + 0x10000, row ends 0
  CControlBar* m_pBar;

  // FALSE (and nothing written) for a dock bar that holds nothing worth keeping.
  virtual BOOL SaveState(LPCTSTR lpszProfileName, int nIndex);
  // FALSE when the record's section does not exist.
  virtual BOOL LoadState(LPCTSTR lpszProfileName, int nIndex, CDockState* pDockState);
  void Serialize(CArchive& ar, CDockState* pDockState);
};

class CDockState : public CObject {
  DECLARE_SERIAL(CDockState)

 public:
  CDockState();
  virtual ~CDockState();

  CPtrArray m_arrBarInfo;  // CControlBarInfo*, owned
  DWORD m_dwVersion;

  BOOL m_bScaling;
  CRect m_rectDevice;  // the screen now
  CRect m_rectClip;
  CSize m_sizeLogical; // the screen the state was saved on

  virtual void Serialize(CArchive& ar) override;
  void LoadState(LPCTSTR lpszProfileName);
  void SaveState(LPCTSTR lpszProfileName);
  void Clear();
  DWORD GetVersion() const { return m_dwVersion; }

  // Positions saved on a screen of another size are scaled to this one; a state without a
  // stored screen size is taken as it is.
  void ScalePoint(CPoint& pt);
  void ScaleRectPos(CRect& rect);
  CSize GetScreenSize();
  void SetScreenSize(CSize& size);
};

// ---------------------------------------------------------------------------------------------
// CReBar: a bar over the common controls' rebar.

class CReBar : public CControlBar {
  DECLARE_DYNAMIC(CReBar)

 public:
  CReBar();
  BOOL Create(CWnd* pParentWnd, DWORD dwCtrlStyle = RBS_BANDBORDERS,
              DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | CBRS_TOP,
              UINT nID = AFX_IDW_REBAR);
  BOOL AddBar(CWnd* pBar, LPCTSTR pszText = NULL, CBitmap* pbmp = NULL,
              DWORD dwStyle = RBBS_GRIPPERALWAYS | RBBS_FIXEDBMP);
  BOOL AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText = NULL,
              DWORD dwStyle = RBBS_GRIPPERALWAYS);
  HWND GetReBarCtrl() const { return m_hWnd; }

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  BOOL AddBand(CWnd* pBar, REBARBANDINFOA* pRBBI);
  afx_msg void OnHeightChange(NMHDR* pNMHDR, LRESULT* pResult);
  DECLARE_MESSAGE_MAP()
};

#endif
