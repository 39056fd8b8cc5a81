// A dockable bar of button objects (not a common-control toolbar): it lays its buttons out in
// rows for each docking state, draws them through an off-screen cache, tracks the hot button
// in the flat look, presses buttons and sends their commands to its owner, runs their command
// UI, lets the user rearrange them by dragging, and saves its title and buttons with the dock
// state. The base of the menu bar and of the customisation page's button palette.
#ifndef QUORVEL_SECCUSTOMTOOLBAR_H
#define QUORVEL_SECCUSTOMTOOLBAR_H

#include "SECControlBar.h"
#include "SECDockState.h"
#include "SECToolBtn.h"
#include <afxcoll.h>
#include <vector>

class SECToolBarManager;
class SECBmpMgr;
class SECPersistentTreeNode;
class SECPTNFactory;

// One saved button: command id (0 a separator) and what its class stores.
struct SECBtnInfo {
  SECBtnInfo() : m_nID(0), m_nLen(0), m_pData(NULL) {}
  virtual ~SECBtnInfo() { delete[] m_pData; }
  UINT m_nID;
  BYTE m_nLen;
  BYTE* m_pData;  // owned
};

class SECBtnInfoArray : public CPtrArray {
 public:
  virtual ~SECBtnInfoArray();
  void DeleteAll();
  SECBtnInfo* GetInfo(INT_PTR i) const { return (SECBtnInfo*)GetAt(i); }
};

// The stored form of a toolbar's buttons: records of command id (4 bytes, little-endian),
// extra-data length (1 byte) and the extra data. Parsing stops at the first record the block
// does not hold whole; FALSE then (the records before it are kept).
void SECBtnInfoToBlob(const SECBtnInfoArray& arr, CByteArray& blob);
BOOL SECBtnInfoFromBlob(const BYTE* pData, UINT nLen, SECBtnInfoArray& arr);

// A customisable toolbar's title and buttons in the dock state.
class SECCustomToolBarInfoEx : public SECControlBarInfoEx {
  DECLARE_DYNCREATE(SECCustomToolBarInfoEx)

 public:
  virtual ~SECCustomToolBarInfoEx() {}
  virtual void SerializeEx(CArchive& ar, SECDockState* pDockState) override;
  virtual BOOL LoadState(LPCTSTR lpszSection, SECDockState* pDockState) override;
  virtual BOOL SaveState(LPCTSTR lpszSection) override;
  virtual BOOL LoadStateTree(SECPersistentTreeNode* pNode) override;
  virtual BOOL SaveStateTree(SECPTNFactory& factory, SECPersistentTreeNode* pNode) override;

  CString m_strTitle;
  SECBtnInfoArray m_btnInfo;
};

// The command UI of one button.
class SECCustomToolCmdUI : public CCmdUI {
 public:
  virtual void Enable(BOOL bOn = TRUE) override;
  virtual void SetCheck(int nCheck = 1) override;
  virtual void SetText(LPCTSTR lpszText) override { (void)lpszText; }
};

class SECCustomToolBar : public SECControlBar {
  DECLARE_DYNCREATE(SECCustomToolBar)

 public:
  class SECBtnArray : public CPtrArray {
   public:
    virtual ~SECBtnArray() {}
  };

  SECCustomToolBar();
  virtual ~SECCustomToolBar();

  using SECControlBar::Create;
  virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle = NULL);
  virtual BOOL CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID,
                        LPCTSTR lpszTitle = NULL);
  virtual BOOL CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                        DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                        CCreateContext* pContext = NULL) override;

  virtual INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override;
  virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
  virtual CSize CalcDynamicLayout(int nLength, DWORD nMode) override;
  virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;
  virtual void DelayShow(BOOL bShow) override;
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  virtual void DoPaint(CDC* pDC) override;
  virtual void DrawBorders(CDC* pDC, CRect& rect) override;
  virtual void OnGetBarInfoEx(SECControlBarInfo* pInfo) override;
  virtual void OnSetBarInfoEx(SECControlBarInfo* pInfo, CFrameWnd* pFrameWnd) override;
  virtual int AddGripperSize(CSize& size, BOOL bHorz) override;

  // FALSE when no button remains. An emptied user toolbar (id above 59423) destroys itself
  // once the current message is handled.
  virtual BOOL RemoveButton(int nIndex, BOOL bNoRedraw = FALSE);
  virtual void InsertButton(int nIndex, UINT nID, BOOL bSeparator = FALSE, BOOL bNoRedraw = FALSE);
  virtual void SetButtons(const UINT* pIDs, int nCount);
  virtual void StretchToParent();
  virtual void TrackMenu(SECStdBtn* pBtn, INT_PTR nParam1, INT_PTR nParam2);
  virtual void OpenMenuButton(int nIndex);
  virtual int FirstMenuButton();
  virtual int LastMenuButton();
  virtual int NextMenuButton(BOOL bForward);
  virtual HFONT GetBarFont() { return m_hFont; }
  virtual HFONT GetMenuFont() { return GetBarFont(); }
  virtual void BalanceRows(int nRows, void* pRows);
  virtual BOOL IsCopyDrag() { return (::GetKeyState(VK_CONTROL) & 0x8000) != 0; }
  virtual BOOL AcceptsDrops() { return TRUE; }
  virtual void DeleteAllButtons();
  virtual BOOL IsCoolLook() { return (m_dwExStyle & CBRS_EX_COOL) != 0; }
  // A mouse message while a popup of this bar is open: TRUE when it is taken.
  virtual BOOL MenuMouseMsg(MSG* pMsg);
  virtual void MenuClosed();
  virtual BOOL DragButton(int nIndex, int x, int y);
  virtual void UpdateRebarBand(CWnd* pReBar, CSize size);
  virtual int HitTest(int x, int y, CRect* pRect = NULL) const;
  virtual void UpdateButton(int nIndex);
  virtual BOOL DropButton(CRect rect, SECStdBtn* pBtn, BOOL bCopy, BOOL bNoRedraw = FALSE);
  virtual SECStdBtn* CreateButton(UINT nID, SECCustomToolBar* pBar = NULL);
  virtual SECStdBtn* CreateSeparator(SECCustomToolBar* pBar = NULL);

  int GetBtnCount() const { return (int)m_btns.GetSize(); }
  SECStdBtn* GetButton(int nIndex) const;
  int CommandToIndex(UINT nID) const;
  int IndexOfButton(const SECStdBtn* pBtn) const;
  UINT GetItemID(int nIndex) const;
  void GetButtonRect(int nIndex, LPRECT lpRect) const;
  int GetSelectedBtn() const { return m_nSelected; }
  void SetButtonStyle(int nIndex, UINT nStyle);
  UINT GetButtonStyle(int nIndex) const;
  void HideButton(int nIndex, BOOL bHide);
  void SetBmpMgr(SECBmpMgr* pMgr);
  SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
  void ApplyBtnSizes();
  int GetImageIndex(UINT nID) const;
  BOOL LoadToolBar(LPCTSTR lpszResource);
  BOOL LoadToolBar(UINT nIDResource) { return LoadToolBar(MAKEINTRESOURCE(nIDResource)); }
  void InformBtn(UINT nID, UINT nKind, void* pData, BOOL bAllBars = TRUE);
  void SetConfigMode(BOOL bConfig);
  BOOL InConfigMode() const { return m_bConfig; }
  void SelectButton(int nIndex, BOOL bRedraw = TRUE);
  void SelectButtonObject(SECStdBtn* pBtn, BOOL bRedraw = TRUE);
  void ClearSelection(BOOL bRedraw = TRUE);
  void NotifyBarChange(UINT nCode);
  void SetButtonMap(const SECBtnMapEntry* pMap) { m_pBtnMap = pMap; }
  const SECBtnMapEntry* GetButtonMap() const;
  const SECBtnMapEntry* GetMenuButtonMap() const;
  void SetManager(SECToolBarManager* pMgr);
  SECToolBarManager* GetManager() const;
  CSize GetImageSize() const;
  int GetOpenMenuIndex() const { return m_nOpenMenu; }
  int GetHotIndex() const { return m_nHot; }
  void UpdateHotTracking();
  // The layout proper (length, LM_ mode); the bar's size.
  CSize CalcLayout(int nLength, DWORD dwMode);
  CSize WrapButtons(int nLength, BOOL bHeight);
  CSize CachedSize(int n) const { return m_szCache[n]; }

  static BOOL s_bAltDrag;      // TRUE while an Alt-drag runs
  static BOOL s_bCmdInProgress;  // a button's command is being sent

  int m_nSepWidth;
  int m_nSelected;
  int m_nHot;
  int m_nOpenMenu;
  BOOL m_bConfig;
  SECBtnDrawCache* m_pOwnCache;
  DWORD m_dwOrientation;
  BOOL m_bDirty[3];   // floating, horizontal-docked, vertical-docked
  CSize m_szCache[3];
  DWORD m_dwFlags;    // bit 0: no drags to other toolbars
  HFONT m_hFont;
  const SECBtnMapEntry* m_pBtnMap;      // own map, not owned
  SECBtnMapEntry* m_pMenuBtnMap;        // own menu-button map, owned
  int m_nMaxBtnWidth;
  SECBtnArray m_btns;

 protected:
  SECBmpMgr* m_pBmpMgr;
  BOOL m_bHotTimer;
  void InvalidateButton(int nIndex);
  SECBtnDrawCache* GetCache();
  // Whether a drop of the dragged rectangle ended up in a place this toolbar checks.
  void ReorderAfterRemove(int nRemovedAt, int nRemovedCount, BOOL bSelectedGone, BOOL bHotGone);
  void DestroyEmptied();
  void RecalcAndPaint();

  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnCancelMode();
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);
  afx_msg void OnSysColorChange();
  afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
  afx_msg void OnWindowPosChanging(WINDOWPOS* lpWndPos);
  afx_msg void OnDestroy();
  afx_msg LRESULT OnSizeParent(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNoDelayHide(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDestroyEmptied(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnAddButtons(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDeleteButton(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

  friend class SECStdBtn;
};

// The drag of one button (from a toolbar, the palette or the menu list); TRUE unless a move
// emptied its source toolbar.
BOOL SECDragButton(SECToolBarManager* pMgr, SECStdBtn* pBtn, int nIndex, int x, int y,
                   SECCustomToolBar* pSource, CWnd* pTrackWnd, BOOL bCopy);

#endif  // QUORVEL_SECCUSTOMTOOLBAR_H
