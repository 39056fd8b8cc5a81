// The toolkit's status bar: panes of the common status control, each with a command id, a
// width, a style and a text, on the toolkit's control-bar base. The pane with id 0 holds
// the bar's window text (the frame's message line).
#ifndef QUORVEL_SECSTATUSBAR_H
#define QUORVEL_SECSTATUSBAR_H

#include "SECControlBar.h"
#include <vector>

#define SBPF_UPDATE 0x0001  // the text changed while updates were off

class SECStatusBar : public SECControlBar {
  DECLARE_DYNCREATE(SECStatusBar)

 public:
  SECStatusBar();
  virtual ~SECStatusBar();

  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM,
              UINT nID = AFX_IDW_STATUS_BAR);
  BOOL CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle = 0,
                DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
  BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

  // Out-of-range indices answer -1, 0, FALSE or an empty text.
  int CommandToIndex(UINT nIDFind) const;
  UINT GetItemID(int nIndex) const;
  UINT GetPaneStyle(int nIndex) const;
  void GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const;
  void GetPaneText(int nIndex, CString& rString) const;
  CString GetPaneText(int nIndex) const;
  void GetItemRect(int nIndex, LPRECT lpRect) const;
  void SetPaneStyle(int nIndex, UINT nStyle);
  void SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth);
  BOOL SetPaneWidth(int nIndex, int cxWidth);
  BOOL SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate = TRUE);
  void UpdateAllPanes(BOOL bUpdateRects, BOOL bUpdateText);

  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // A change of the border bits recalculates the non-client area.
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) { (void)lpDrawItemStruct; }

  int m_nMinHeight;

 protected:
  struct Pane {
    UINT nID;
    int cxText;
    UINT nStyle;
    UINT nFlags;
    CString strText;
  };
  std::vector<Pane> m_panes;
  bool Valid(int nIndex) const { return nIndex >= 0 && nIndex < (int)m_panes.size(); }

  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg void OnPaint();
  afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
  afx_msg void OnNcPaint();
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSetMinHeight(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  friend class SECStatusCmdUI;
};

class SECStatusCmdUI : public CCmdUI {
 public:
  virtual void Enable(BOOL bOn = TRUE) override;
  virtual void SetCheck(int nCheck = 1) override;
  virtual void SetText(LPCTSTR lpszText) override;
};

#endif  // QUORVEL_SECSTATUSBAR_H
