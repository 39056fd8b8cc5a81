// Tabbed windows: a child window holding several child windows (its tab windows), one shown
// at a time, with a tab control along one edge to switch between them. SECTabWndBase holds
// the mechanics; SEC3DTabWnd adds the sunken frame, the strip on any of the four edges and
// the three-dimensional tab control.
#ifndef QUORVEL_SECTABWND_H
#define QUORVEL_SECTABWND_H

#include "SECTabControl.h"

#define SEC_IDW_TABCTRL 59952    // the tab control's child id
#define SEC_IDW_TABCLIENT 60160  // first id of tab windows made from a runtime class

class SECTabWndBase : public CWnd {
  DECLARE_DYNAMIC(SECTabWndBase)

 public:
  SECTabWndBase();
  virtual ~SECTabWndBase();

  // CWnd's generic creation goes to the tabbed window's own.
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID,
                      CCreateContext* pContext = NULL) override;

  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE,
                      UINT nID = AFX_IDW_PANE_FIRST);
  virtual BOOL CreateScrollBarCtrl(DWORD dwStyle, UINT nID);
  virtual BOOL CreateTabControl(DWORD dwStyle, UINT nID);
  virtual CWnd* InsertTab(CRuntimeClass* pViewClass, int nIndex, LPCTSTR lpszLabel,
                          CCreateContext* pContext = NULL, UINT nID = (UINT)-1);
  virtual void InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel);
  virtual CWnd* AddTab(CRuntimeClass* pViewClass, LPCTSTR lpszLabel,
                       CCreateContext* pContext = NULL, UINT nID = (UINT)-1);
  virtual void AddTab(CWnd* pWnd, LPCTSTR lpszLabel);
  virtual void SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx = 16, int cy = 16);
  virtual void SetTabIcon(int nIndex, UINT nIDResource, int cx = 16, int cy = 16);
  virtual void SetTabIcon(int nIndex, HICON hIcon);
  virtual void OnTabAdded(int nIndex, LPARAM lData);
  virtual void RemoveTab(int nIndex);
  virtual void RemoveTab(CWnd* pWnd);
  virtual void RenameTab(int nIndex, LPCTSTR lpszLabel);
  virtual void RenameTab(CWnd* pWnd, LPCTSTR lpszLabel);
  virtual void ActivateTab(int nIndex);
  virtual void ActivateTab(CWnd* pWnd);
  virtual void ActivateTab(CWnd* pWnd, int nIndex);
  virtual void ClearActiveTab();
  virtual void ScrollToTab(int nIndex);
  virtual void ScrollToTab(CWnd* pWnd);
  virtual void FocusActiveTab();
  virtual CWnd* SetNotifyWnd(CWnd* pWnd);
  virtual CWnd* GetNotifyWnd() const;
  // The part of the client area the shown tab window occupies.
  virtual void GetInsideRect(LPRECT lpRect) const;
  virtual void RecalcLayout();

  int GetTabCount() const;
  BOOL GetTabInfo(int nIndex, LPCTSTR& lpszLabel, BOOL& bSelected, CWnd*& pWnd,
                  void*& pExtra, HMENU& hMenu) const;
  BOOL FindTab(const CWnd* pWnd, int& nIndex) const;
  BOOL TabExists(const CWnd* pWnd) const;
  BOOL TabExists(int nIndex) const;
  BOOL GetActiveTab(int& nIndex) const;
  BOOL GetActiveTab(CWnd*& pWnd) const;
  CWnd* GetActiveWnd() const { return m_pActiveWnd; }
  SECTabControlBase* GetTabControl() const { return m_pTabCtrl; }

 protected:
  SECTabControlBase* m_pTabCtrl;
  CWnd* m_pActiveWnd;
  CWnd* m_pWndCreating;
  CWnd* m_pNotifyWnd;

  CWnd* CreateTabWindow(CRuntimeClass* pViewClass, LPCTSTR lpszLabel, CCreateContext* pContext,
                        UINT nID);
  void MakeActive(CWnd* pWnd);

  afx_msg void OnDestroy();
  afx_msg LRESULT OnTabSelect(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnTabReselect(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The nearest ancestor of the window that is a tabbed window, or NULL.
SECTabWndBase* GetParentTabWnd(const CWnd* pWnd);

class SEC3DTabWnd : public SECTabWndBase {
  DECLARE_DYNCREATE(SEC3DTabWnd)

 public:
  SEC3DTabWnd();
  virtual ~SEC3DTabWnd();

  using SECTabWndBase::Create;
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | TWS_TABS_ON_BOTTOM,
                      UINT nID = AFX_IDW_PANE_FIRST) override;
  virtual BOOL CreateTabControl(DWORD dwStyle, UINT nID) override;
  virtual void GetInsideRect(LPRECT lpRect) const override;
  virtual void RecalcLayout() override;

  // The former flags; the strip moves to the edge the new ones name.
  DWORD SetTabStyle(DWORD dwFlags);
  DWORD GetTabStyle() const { return m_dwTabCtrlStyle; }

  void EnableTab(int nIndex, BOOL bEnable = TRUE);
  void EnableTab(CWnd* pWnd, BOOL bEnable = TRUE);
  BOOL IsTabEnabled(int nIndex) const;
  BOOL IsTabEnabled(CWnd* pWnd) const;
  BOOL SetFontActiveTab(CFont* pFont, BOOL bRedraw = TRUE);
  BOOL SetFontInactiveTab(CFont* pFont, BOOL bRedraw = TRUE);
  CFont* GetFontActiveTab();
  CFont* GetFontInactiveTab();
  void RefreshTabControl();

  int m_nTabStripHeight;
  int m_nTabStripWidth;

 protected:
  DWORD m_dwTabCtrlStyle;

  SEC3DTabControl* TabCtrl3D() const { return (SEC3DTabControl*)m_pTabCtrl; }
  // The sunken frame around the inside rectangle and the bands around it.
  void DrawFrame(CDC* pDC);
  void EraseBands(CDC* pDC);

  afx_msg BOOL OnNcCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnTabSelect3D(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECTABWND_H
