// The shortcut list: the client window of a list bar in the shortcut bar. One column of large
// icons (or a list of small ones), two arrow buttons instead of scroll bars, items lit under
// the mouse and sunk while pressed, and items moved by dragging within a list or into another
// shortcut list of this process.
#pragma once

#include <afxole.h>
#include "SECListCtrl.h"
#include "shortcutbar.h"
#include "shortcutlist_res.h"

#define SCLIS_HOT 0x0400
#define SCLIS_PRESSED 0x0800
#define SCLIS_HOTMASK 0x0C00

// Notification codes sent to the list's notification window.
#define SCLN_ITEMDROPPED 1100
#define SCLN_ITEMCLICKED 1101

// Hit-test results of the arrow buttons.
#define SCL_HT_SCROLLUP (-10)
#define SCL_HT_SCROLLDOWN (-11)


// The record of SCLN_ITEMCLICKED (and of the other notifications, item -1).
struct SECShortcutListNotify {
  NMHDR hdr;
  int iItem;
};

// The drag data: the process identifier and the dragged item's record (its text pointer
// points into the source list, so only a drag of this process is ever accepted).
struct SECShortcutDragBlock {
  BYTE id[16];
  LVITEMA item;
};

class SECShortcutListCtrl : public SECListCtrl {
  DECLARE_DYNCREATE(SECShortcutListCtrl)
 public:
  class ScrollButton {
   public:
    explicit ScrollButton(int nDirection) : m_rect(0, 0, 0, 0), m_nState(0), m_nDirection(nDirection) {}
    virtual ~ScrollButton() {}
    virtual void Draw(CDC* pDC);
    void SetRect(const RECT& rc) { m_rect = rc; }
    const CRect& GetRect() const { return m_rect; }
    void ChangeState(UINT nAdd, UINT nRemove) { m_nState = nAdd | (m_nState & ~nRemove); }
    UINT GetState() const { return m_nState; }
    enum { stPressed = 0x01 };

   protected:
    CRect m_rect;
    UINT m_nState;
    int m_nDirection;  // 1 up, 0 down
  };

  class ListDropTarget : public COleDropTarget {
   public:
    ListDropTarget() : m_pList(NULL), m_rectMarker(0, 0, 0, 0) { memset(m_id, 0, sizeof m_id); }
    DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pData, DWORD dwKeyState, CPoint point) override;
    BOOL OnDrop(CWnd* pWnd, COleDataObject* pData, DROPEFFECT dropEffect, CPoint point) override;
    void OnDragLeave(CWnd* pWnd) override;

    SECShortcutListCtrl* m_pList;
    CRect m_rectMarker;
    BYTE m_id[16];

   protected:
    BOOL IsOwnProcess() const;
    void EraseMarker();
  };

  SECShortcutListCtrl();
  virtual ~SECShortcutListCtrl();

  // Added operations.
  virtual void InvalidateItemRow(int nItem, BOOL bErase, BOOL bToEnd);
  virtual void DrawDropMarker(CDC* pDC, const RECT& rcMarker, int nCode);
  virtual void DrawScrollButtons(CDC* pDC, SCROLLINFO* pInfo);
  virtual BOOL PrepareDragData(COleDataSource* pSource, LVITEMA* pItem);
  virtual void OnPrepareContextMenu(CMenu* pMenu);
  virtual ListDropTarget* NewDropTarget();
  virtual ScrollButton* NewScrollUpButton();
  virtual ScrollButton* NewScrollDownButton();
  virtual void ScrollLineDown();
  virtual void ScrollLineUp();
  virtual POINT* GetLeftMarkerPoints(const RECT& rcMarker, int nCode);
  virtual POINT* GetRightMarkerPoints(const RECT& rcMarker, int nCode);
  virtual UINT GetItemHotState(int nItem);
  virtual void SetItemHotState(int nItem, UINT nState);
  virtual LRESULT NotifyItem(int nCode, const LVITEMA* pItem);

  // Replaced base operations.
  virtual int HitTest(int x, int y, UINT* pFlags, int* pCol) override;
  virtual int RecalcLayout() override;
  virtual int GetRowGap() const override { return 12; }
  virtual void Paint(CDC* pDC) override;
  virtual void DrawItemIcon(SECListPaintContext* pContext) override;
  virtual void DrawItemText(SECListPaintContext* pContext) override;
  virtual BOOL DeleteItem(SECListItem* pItem) override;
  virtual BOOL DeleteItems(int nFirst, int nCount) override;
  virtual BOOL DeleteAllItems() override;

  // Drags an item for a move (the mouse starts it; a drop source may be given). The effect.
  DROPEFFECT DragItem(int nItem, COleDropSource* pDropSource = NULL);

  // Row, icon and label boxes of a shown item in large-icon view; FALSE when not shown.
  BOOL GetItemBoxes(int nItem, RECT* pRow, RECT* pIcon, RECT* pLabel);
  // The gap under a point: the marker rectangle, the position code and the item above it
  // (-1 for none). FALSE without a window.
  BOOL FindDropGap(CPoint point, RECT* pMarker, int* pCode, int* pAbove);

  int GetHotItem() const { return m_nHotItem; }
  UINT_PTR GetHotTimer() const { return m_nHotTimer; }
  int GetLastWheelDelta() const { return m_nLastWheelDelta; }
  ScrollButton* GetScrollUpButton() const { return m_pUpButton; }
  ScrollButton* GetScrollDownButton() const { return m_pDownButton; }
  ListDropTarget* GetDropTarget() const { return m_pDropTarget; }
  CPoint GetPressPoint() const { return m_ptPress; }

  static CLIPFORMAT GetClipboardFormat();
  static const BYTE* GetProcessId();  // NULL until the first list made it
  // The drag of this process in progress, or NULL.
  static const SECShortcutDragBlock* GetCurrentDrag();
  // Reads a drop's block when it is exactly the drag in progress of this process.
  static BOOL ReadDragBlock(COleDataObject* pData, SECShortcutDragBlock* pBlock);

  enum { HOT_TIMER = 0xF0F0, HOT_DELAY = 250, DRAG_SLOP = 5 };

 protected:
  int m_nHotItem;
  UINT_PTR m_nHotTimer;
  int m_nLastWheelDelta;
  ListDropTarget* m_pDropTarget;
  ScrollButton* m_pUpButton;
  ScrollButton* m_pDownButton;
  CPoint m_ptPress;

  void PositionButtons();
  void ClearAllHotStates();
  void SetMode(int nMode);

  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
  afx_msg void OnLargeIcon();
  afx_msg void OnSmallIcon();
  DECLARE_MESSAGE_MAP()
};

// A bar of the shortcut bar whose client is a shortcut list; item operations go to the list.
class SECListBar : public SECBar {
  DECLARE_DYNCREATE(SECListBar)
 public:
  SECListBar() {}
  SECListBar(const SECListBar& other) : SECBar(other) {}
  SECListBar& operator=(const SECListBar& other)
  {
    SECBar::operator=(other);
    return *this;
  }

  virtual void SetWnd(CWnd* pWnd) override;
  virtual void OnRemove() override;

  SECShortcutListCtrl* GetListCtrl() const;
  BOOL SetNotifyWnd(CWnd* pWnd);
  CImageList* GetImageList(int nType) const;
  CImageList* SetImageList(CImageList* pImageList, int nType);
  int GetItemCount() const;
  BOOL GetItem(LVITEMA* pItem) const;
  BOOL SetItem(const LVITEMA* pItem);
  CString GetItemText(int nItem, int nSubItem = 0) const;
  int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const;
  BOOL SetItemText(int nItem, LPCTSTR lpszText, int nSubItem = 0);
  BOOL SetItemData(int nItem, DWORD_PTR dwData);
  DWORD_PTR GetItemData(int nItem) const;
  int AddItem(LPCTSTR lpszText, int nImage);
  int InsertItem(const LVITEMA* pItem);
  int InsertItem(int nItem, LPCTSTR lpszText, int nImage);
  BOOL DeleteItem(int nItem);
  BOOL DeleteAllItems();
  int HitTest(CPoint pt, UINT* pFlags = NULL) const;
  int HitTest(LVHITTESTINFO* pInfo) const;
};
