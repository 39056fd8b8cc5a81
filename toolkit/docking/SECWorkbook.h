// The workbook: an MDI frame with a strip of sheet tabs under its client area, one tab per
// child frame (worksheet); a click on a tab activates its sheet, the active tab is raised,
// titles too long for a tab end in dots and show whole in a tooltip.
#ifndef QUORVEL_SECWORKBOOK_H
#define QUORVEL_SECWORKBOOK_H

#include "SECMDIFrameWnd.h"

// Sent to the workbook when the active sheet may have changed; to the client to refresh it.
#define WM_SECWORKBOOK_ACTIVATED 0x84D
#define WM_SECWORKBOOK_REFRESH 0x84E

class SECWorksheet;

// The MDI client, made smaller than its room by four margins (for the strip and its border).
class SECWorkbookClient : public CWnd {
 public:
  SECWorkbookClient() : m_nLeft(0), m_nRight(0), m_nTop(0), m_nBottom(0) {}
  void SetMargins(int nLeft, int nRight, int nTop, int nBottom);
  void GetMargins(int& nLeft, int& nRight, int& nTop, int& nBottom) const;
  virtual void CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType = adjustBorder) override;

 protected:
  int m_nLeft, m_nRight, m_nTop, m_nBottom;
  afx_msg LRESULT OnMDISetMenu(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class SECWorkbook : public SECMDIFrameWnd {
  DECLARE_DYNCREATE(SECWorkbook)

 public:
  SECWorkbook();
  virtual ~SECWorkbook();

  virtual void GetClientFrameRect(CRect& rect);
  virtual BOOL CanActivateSheet(SECWorksheet*) { return TRUE; }
  virtual void AddSheet(SECWorksheet* pSheet);
  virtual void RemoveSheet(SECWorksheet* pSheet);
  virtual BOOL TabTextFits(SECWorksheet* pSheet);
  // The tab's seven points (frame client coordinates); FALSE for a sheet not in the book.
  virtual BOOL GetTabPolygon(SECWorksheet* pSheet, POINT pts[7]);
  virtual CString GetSheetTitle(SECWorksheet* pSheet);
  virtual void GetTabTextRect(SECWorksheet* pSheet, int cxIcon, CRect& rect);
  virtual void DrawTab(CDC* pDC, SECWorksheet* pSheet);
  virtual void DrawClientBorder(CDC* pDC);
  virtual void DrawTabText(CDC* pDC, SECWorksheet* pSheet);
  virtual HICON GetSheetIcon(SECWorksheet* pSheet);
  virtual BOOL SetSheetIcon(SECWorksheet* pSheet, HICON hIcon, BOOL bRedraw = TRUE);

  void ShowTabs(BOOL bShow);
  void ToggleTabs() { ShowTabs(!m_bTabsShown); }
  void ShowIcons(BOOL bShow);
  void ToggleIcons() { ShowIcons(!m_bIconsShown); }
  // Command user interface of the two toggles: checked while shown.
  void UpdateToggleTabs(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bTabsShown ? 1 : 0); }
  void UpdateToggleIcons(CCmdUI* pCmdUI) { pCmdUI->SetCheck(m_bIconsShown ? 1 : 0); }
  int ComputeTabWidth();
  void InvalidateTab(SECWorksheet* pSheet, BOOL bToRightEdge);
  void InvalidateTabs();
  int FindSheet(SECWorksheet* pSheet) const;
  SECWorksheet* GetSheet(int nIndex) const;
  int GetSheetCount() const { return (int)m_sheets.GetSize(); }
  BOOL GetTabRegion(SECWorksheet* pSheet, CRgn& rgn);
  // The title cut with dots to fit the width, as a tab draws it.
  static CString FitTitle(CDC* pDC, CString strTitle, int cxWidth);

  BOOL AreTabsShown() const { return m_bTabsShown; }
  BOOL AreIconsShown() const { return m_bIconsShown; }
  int GetTabWidth() const { return m_nTabWidth; }
  SECWorkbookClient* GetClient() const { return m_pClient; }
  CFont* GetTabFont() { return &m_font; }

  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  virtual void RecalcLayout(BOOL bNotify = TRUE) override;
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

  // Read by the dock bars: a workbook shows its strip.
  static BOOL s_bTabsShown;

 protected:
  CPtrArray m_sheets;  // SECWorksheet*, in tab order
  BOOL m_bTabsShown;
  BOOL m_bIconsShown;
  CFont m_font;
  SECWorkbookClient* m_pClient;
  CPen m_penWhite, m_penBlack, m_penShadow, m_penFace;
  int m_nTabWidth, m_nTabHeight, m_nSlant, m_nActiveExtraWidth, m_nActiveExtraHeight, m_nMaxTabWidth;
  CRect m_rectLastClient;
  int m_nLastActive;
  CToolTipCtrl* m_pToolTip;

  // The place of a visible sheet among the visible ones; -1 for a hidden or unknown sheet.
  int VisibleIndex(SECWorksheet* pSheet) const;
  void GetMDIClientRect(CRect& rect) const;
  BOOL IsRaised(SECWorksheet* pSheet) const;

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnSheetActivated(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

class SECWorksheet : public SECMDIChildWnd {
  DECLARE_DYNCREATE(SECWorksheet)

 public:
  SECWorksheet() : m_hIcon(NULL), m_nTabIndex(0), m_bPressed(FALSE) {}

  virtual BOOL LoadFrame(UINT nIDResource,
                         DWORD dwDefaultStyle = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                         CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL) override;
  virtual void OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt) override;
  virtual void OnUpdateFrameTitle(BOOL bAddToTitle) override;
  // The workbook it belongs to; NULL in any other MDI frame.
  SECWorkbook* GetWorkbook();

  HICON m_hIcon;
  int m_nTabIndex;
  BOOL m_bPressed;

 protected:
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

// The sheet that holds a bar floated inside the workbook; closing it only hides the bar.
class SECControlBarWorksheet : public SECWorksheet {
  DECLARE_DYNCREATE(SECControlBarWorksheet)

 public:
  SECControlBarWorksheet();
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  virtual void RecalcLayout(BOOL bNotify = TRUE) override;
  SECDockBar* GetDockBar() { return &m_dockBar; }

 protected:
  SECDockBar m_dockBar;
  virtual BOOL OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnClose();
  afx_msg void OnWindowPosChanged(WINDOWPOS* lpwndpos);
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECWORKBOOK_H
