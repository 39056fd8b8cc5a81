// Tab controls: the strip of tabs of a tabbed window. SECTabControlBase keeps the tabs, the
// active tab, the selection flags and the notifications to the parent; SEC3DTabControl adds
// the three-dimensional look on any of the four edges, fonts, icons, disabled tabs drawn
// embossed, labels shortened with "..." when the tabs do not fit and tooltips with the full
// label. Indices out of range do nothing (or answer FALSE).
#ifndef QUORVEL_SECTABCONTROL_H
#define QUORVEL_SECTABCONTROL_H

#include <afxwin.h>
#include <afxcmn.h>
#include <afxcoll.h>

// Notifications to the parent window (first parameter: a tab index, or 0).
#define TCM_TABSEL (WM_USER + 1000)         // a tab was activated (or marked selected)
#define TCM_TABDBLCLK (WM_USER + 1001)      // an enabled tab was double-clicked
#define TCM_TABSELCLR (WM_USER + 1002)      // the selection was cleared
#define TCM_TABREACTIVATE (WM_USER + 1003)  // the active tab was clicked again

// Tab style bits, in the control's window style and the tabbed window's style.
#define TWS_LEFTRIGHTSCROLL 0x0001L
#define TWS_FULLSCROLL 0x0002L
#define TWS_TABS_ON_BOTTOM 0x0010L  // the tabs hang from the top of the control
#define TWS_TABS_ON_TOP 0x0020L     // the tabs stand on the bottom of the control
#define TWS_TABS_ON_LEFT 0x0040L
#define TWS_TABS_ON_RIGHT 0x0080L
#define TWS_TAB_ORIENTATIONS 0x00F0L
#define TWS_NOACTIVE_TAB_ENLARGED 0x0100L
#define TWS_TAB_STYLES 0x0FF0L  // 0x10 to 0x800: given on to the tab control

class SECTab : public CObject {
  DECLARE_DYNCREATE(SECTab)

 public:
  SECTab();
  CString m_csLabel;  // the text shown
  int m_nWidth;
  int m_nHeight;
  BOOL m_bSelected;
  CWnd* m_pClient;  // the tab's window (not owned)
  void* m_pExtra;
  HMENU m_hMenu;  // the second extra word
};

class SEC3DTab : public SECTab {
  DECLARE_DYNCREATE(SEC3DTab)

 public:
  SEC3DTab();
  CRect m_rect;
  HICON m_hIcon;
  BOOL m_bEnabled;
  CString m_csFullLabel;
  BOOL m_bShortened;
};

class SECTabControlBase : public CWnd {
  DECLARE_DYNAMIC(SECTabControlBase)

 public:
  SECTabControlBase();
  virtual ~SECTabControlBase();

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  virtual void InitializeObjects(DWORD dwStyle);
  virtual SECTab* CreateNewTab() const;
  virtual void RecalcLayout();
  virtual void OnActivateTab(int nTab);
  virtual void DestroyGdiObjects();
  virtual SECTab* InsertTab(int nIndex, LPCTSTR lpszLabel = NULL, CWnd* pWnd = NULL,
                            void* pExtra = NULL, HMENU hMenu = NULL);
  virtual SECTab* AddTab(LPCTSTR lpszLabel = NULL, CWnd* pWnd = NULL, void* pExtra = NULL,
                         HMENU hMenu = NULL);
  virtual void SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx = 16, int cy = 16);
  virtual void SetTabIcon(int nIndex, UINT nIDResource, int cx = 16, int cy = 16);
  virtual void SetTabIcon(int nIndex, HICON hIcon);
  virtual void DeleteTab(int nIndex);
  virtual void RenameTab(int nIndex, LPCTSTR lpszLabel);
  virtual void ActivateTab(int nIndex);
  virtual void OnTabReselected();
  virtual void MarkTabSelected(int nIndex);
  virtual void ClearSelection();
  virtual void ScrollToTab(int nIndex);
  virtual void InvalidateTab(int nIndex);

  int GetTabCount() const { return (int)m_pTabArray->GetSize(); }
  BOOL TabExists(int nIndex) const { return nIndex >= 0 && nIndex < GetTabCount(); }
  SECTab* GetTabPtr(int nIndex) const;
  // FALSE for an index out of range; the label of a 3-D tab is its full label.
  BOOL GetTabInfo(int nIndex, LPCTSTR& lpszLabel, BOOL& bSelected, CWnd*& pWnd,
                  void*& pExtra, HMENU& hMenu) const;
  // The index of the window's tab (the last one when several have it).
  BOOL FindTab(const CWnd* pWnd, int& nIndex) const;
  BOOL GetActiveTab(int& nIndex) const;

 protected:
  CPtrArray* m_pTabArray;
  int m_nActiveTab;
  BOOL m_bActiveTab;
  HCURSOR m_hcurArrow;

  void InvalidateFrom(int nIndex);
  void Notify(UINT message, WPARAM wParam);

  afx_msg void OnDestroy();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  DECLARE_MESSAGE_MAP()
};

class SEC3DTabControl : public SECTabControlBase {
  DECLARE_DYNAMIC(SEC3DTabControl)

 public:
  SEC3DTabControl();
  virtual ~SEC3DTabControl();

  virtual void InitializeObjects(DWORD dwStyle) override;
  virtual SECTab* CreateNewTab() const override;
  virtual void RecalcLayout() override;
  virtual void OnActivateTab(int nTab) override;
  virtual void DestroyGdiObjects() override;
  virtual SECTab* InsertTab(int nIndex, LPCTSTR lpszLabel = NULL, CWnd* pWnd = NULL,
                            void* pExtra = NULL, HMENU hMenu = NULL) override;
  virtual SECTab* AddTab(LPCTSTR lpszLabel = NULL, CWnd* pWnd = NULL, void* pExtra = NULL,
                         HMENU hMenu = NULL) override;
  virtual void SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx = 16,
                          int cy = 16) override;
  virtual void SetTabIcon(int nIndex, UINT nIDResource, int cx = 16, int cy = 16) override;
  virtual void SetTabIcon(int nIndex, HICON hIcon) override;
  virtual void RenameTab(int nIndex, LPCTSTR lpszLabel) override;
  virtual void InvalidateTab(int nIndex) override;

  virtual void CreateTabFonts(DWORD dwStyle);
  virtual void EnableTab(int nIndex, BOOL bEnable = TRUE);
  virtual BOOL IsTabEnabled(int nIndex) const;
  virtual BOOL ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  virtual void FitLabels(int nTotalLength, int nTotalHeight, int nAvailable);
  // nWhich 0: the font of the other tabs, 1: the active tab's font.
  virtual BOOL SetTabFont(CFont* pFont, int nWhich, BOOL bRedraw = TRUE);
  virtual BOOL GetTabRect(int nIndex, CRect& rect) const;
  virtual void DrawTab(CDC* pDC, int nIndex);
  virtual void FillSolid(CDC* pDC, const CRect& rect, COLORREF clr);
  virtual void DrawTabShapeBottom(CDC* pDC, SEC3DTab* pTab);
  virtual void DrawTabShapeTop(CDC* pDC, SEC3DTab* pTab);
  virtual void DrawTabShapeLeft(CDC* pDC, SEC3DTab* pTab);
  virtual void DrawTabShapeRight(CDC* pDC, SEC3DTab* pTab);
  virtual void DrawTabLabel(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle);
  virtual void DrawDisabledImage(CDC* pDC, int cx, int cy);
  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;

  // Turning fitting off or on restores every tab's full label.
  void SetFitLabels(BOOL bFit);
  BOOL GetFitLabels() const { return m_bFitLabels; }
  BOOL LabelsShown() const { return m_bShowLabels; }
  CFont* GetTabFont(int nWhich);
  // New fonts, pens and brushes after a style or system-colour change.
  void RefreshGdiObjects();

 protected:
  BOOL m_bFitLabels;
  CFont m_fontNormal;
  CFont m_fontActive;
  CPen m_penBlack;
  CPen m_penBlackActive;
  CPen m_penShadow;
  CPen m_penWhite;
  CBrush m_brushFace;
  CBrush m_brushWindow;
  COLORREF m_clrText;
  COLORREF m_clrTextActive;
  BOOL m_bShowLabels;
  CToolTipCtrl* m_pToolTip;

  SEC3DTab* Tab3D(int nIndex) const { return (SEC3DTab*)GetTabPtr(nIndex); }
  int LabelWidth(CDC* pDC, const CString& label) const;
  int TabsLength(CDC* pDC, BOOL bFullLabels) const;
  int Escapement(DWORD dwStyle) const;
  BOOL MakeFont(CFont& font, LOGFONT lf, DWORD dwStyle);
  // The whole strip as it is painted, into any device context (the window paints through a
  // memory bitmap of its client size).
  void PaintStrip(CDC* pDC, const CRect& rcUpdate);
  void DrawEdgeLines(CDC* pDC, const CRect& rcClient, DWORD dwStyle);

  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  afx_msg void OnSysColorChange();
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECTABCONTROL_H
