// The toolkit's own owner-painted list control: rows of differing heights (wrapped labels),
// its own child scroll bars, a painted header, sub-item objects per item and a second
// per-item state word. It speaks the list view's vocabulary (LVITEM, LVCOLUMN, the LVS_*
// style values and the LVN_*/NM_* notifications) without being a list view. Nearly every
// step is a virtual operation so that a derived list can replace one at a time.
#pragma once

#include <afxwin.h>
#include <afxcmn.h>
#include <afxcoll.h>
#include <afxdlgs.h>
#include <commctrl.h>

#include "SECListCtrl_res.h"
#include "SECOffscreenDC.h"

// Size of the list's text buffer; label edits are limited to one byte less.
#define SECLIST_TEXT_MAX 2048

// List style bits (the list's own word; values of the list-view styles).
#define SECLIST_VIEWMASK 0x0003
#define SECLIST_SINGLESEL 0x0004
#define SECLIST_SHOWSELALWAYS 0x0008
#define SECLIST_SHAREIMAGELISTS 0x0040
#define SECLIST_NOLABELWRAP 0x0080
#define SECLIST_EDITLABELS 0x0200
#define SECLIST_NOSCROLL 0x2000
#define SECLIST_NOCOLUMNHEADER 0x4000

// Extended list style bits.
#define SECLIST_EX_CLIPPEDTIPS 0x00100000
#define SECLIST_EX_ROWLINES 0x00400000
#define SECLIST_EX_COLUMNLINES 0x00800000
#define SECLIST_EX_FULLROWSELECT 0x02000000
#define SECLIST_EX_FILLLABELCOLUMN 0x04000000
#define SECLIST_EX_KEEPDELETEDWIDTH 0x08000000

// Hit-test flags.
#define SECLIST_HT_NOWHERE 0x0001
#define SECLIST_HT_ONICON 0x0002
#define SECLIST_HT_ONLABEL 0x0004
#define SECLIST_HT_ONSTATEICON 0x0008
#define SECLIST_HT_ABOVE 0x0008
#define SECLIST_HT_BELOW 0x0010
#define SECLIST_HT_TORIGHT 0x0020
#define SECLIST_HT_TOLEFT 0x0040
#define SECLIST_HT_ONDIVIDER 0x0800
#define SECLIST_HT_ONHEADER 0x1000
#define SECLIST_HT_ONROW 0x2000
#define SECLIST_HT_LEFTOFLABEL 0x4000
#define SECLIST_HT_RIGHTOFLABEL 0x8000

// Scroll-bar ids (the framework's first horizontal and vertical scroll-bar ids).
#define SECLIST_ID_HSCROLL 59904
#define SECLIST_ID_VSCROLL 59920

class SECListEdit;
class SECListTip;
class SECListBaseC;

// One cell of a sub-item column.
class SECListSubItem {
 public:
  SECListSubItem();
  virtual ~SECListSubItem();

  char* m_pszText;  // owned, or LPSTR_TEXTCALLBACKA: the parent supplies it
  RECT m_rcText;    // label rectangle, relative to the cell
};

// One row.
class SECListItem {
 public:
  SECListItem();
  virtual ~SECListItem();

  // Appends an empty sub-item (text from the parent); its array index.
  int AddSubItem();
  // Inserts an empty sub-item at an array position.
  void InsertSubItem(int nPos);
  // Sub-item number from 1: deletes it and removes the entry.
  void DeleteSubItem(int nSubItem);
  // Sub-item number from 1; null past the count.
  SECListSubItem* GetSubItem(int nSubItem) const;
  int GetSubItemCount() const { return (int)m_arrSubItems.GetSize(); }

  CPtrArray m_arrSubItems;  // SECListSubItem*, owned; number k is entry k-1
  char* m_pszText;          // owned, null, or LPSTR_TEXTCALLBACKA
  UINT m_state;             // state bits other than selected, focused and drop-highlighted
  int m_iImage;             // -1: from the parent
  LPARAM m_lParam;          // item data
  int m_cy;                 // row height; -1 until measured
  UINT m_userState;
  RECT m_rcText;       // label, relative to the row's top left corner
  RECT m_rcIcon;       // icon, the same
  RECT m_rcStateIcon;  // state icon, filled only by derived lists
};

// One column.
struct SECListColumn {
  int fmt;           // 0 left, 1 right, 2 centred
  int cx;            // width in pixels
  CString strTitle;
  int iSubItem;      // 0: the label column
};

// The application's per-item state word, read and written through its own record.
struct SECListUserState {
  UINT mask;       // 1: the value is meant
  int iItem;       // the item the record is about
  UINT state;
  UINT stateMask;
};

// One painting or measuring pass over one device context.
class SECListPaintContext {
 public:
  explicit SECListPaintContext(CDC* pDC);
  virtual ~SECListPaintContext();

  LVITEMA lvi;
  DWORD dwReserved[3];
  CDC* pdc;
  RECT rect;        // the row while rows are walked, then the cell
  int iCol;
  int iView;
  DWORD dwReserved2;
  CFont* pFont;
  SECListItem* pItem;
  SECListSubItem* pSubItem;
  SECListColumn* pCol;
  COLORREF rgbText;
  COLORREF rgbLabelFill;
  COLORREF rgbCellBk;
  COLORREF rgbLabelBk;
};

// What the label editor and the tip see of the list.
class SECListClient {
 public:
  virtual ~SECListClient() {}
  virtual HWND GetListHwnd() const { return NULL; }
  virtual BOOL IsLabelWrap() const { return FALSE; }
  virtual BOOL EndLabelEdit(BOOL /*bCommit*/) { return FALSE; }
  virtual int GetColumnSubItem(int /*nCol*/) const { return -1; }
  virtual BOOL GetScrollOffsets(int* /*pOffsets*/) const { return FALSE; }
  virtual void GetListRect(RECT* /*pRect*/) const {}
  virtual BOOL GetCellRect(int /*nItem*/, int /*nCol*/, RECT* /*pRect*/, int /*nCode*/) { return FALSE; }
  virtual CString GetItemText(int /*nItem*/, int /*nSubItem*/) { return CString(); }
  virtual void ClientToScreen(RECT* /*pRect*/) const {}
  virtual CWnd* CaptureMouse(BOOL /*bCapture*/) { return NULL; }
  virtual BOOL IsItemSelected(int /*nItem*/) { return FALSE; }
  virtual COLORREF GetSelTextColor() const { return 0; }
  virtual COLORREF GetSelTextBkColor() const { return 0; }
  virtual COLORREF GetTipTextColor() const { return 0; }
  virtual COLORREF GetTipBkColor() const { return 0; }
  virtual CFont* GetLabelFont() const { return NULL; }
};

// The in-place label editor.
class SECListEdit : public CEdit {
  DECLARE_DYNAMIC(SECListEdit)
 public:
  explicit SECListEdit(SECListClient* pClient = NULL);
  virtual ~SECListEdit();

  SECListClient* m_pClient;

 protected:
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  DECLARE_MESSAGE_MAP()
};

// The pop-up that shows the whole text of a label its cell cuts off.
class SECListTip : public CWnd {
 public:
  explicit SECListTip(SECListClient* pClient = NULL);
  virtual ~SECListTip();

  virtual BOOL ShowTip(UINT nHitFlags, int nItem, int nCol, int x, int y);
  virtual void HideTip();
  virtual void RefreshTip();

  int GetShownItem() const { return m_nItem; }
  int GetShownSubItem() const { return m_nSubItem; }
  const CString& GetShownText() const { return m_strText; }
  // Paints the tip onto any device context of the tip's client size.
  void PaintTip(CDC* pDC);

  int m_nItem;
  int m_nSubItem;
  SECListClient* m_pClient;
  CString m_strText;
  RECT m_rcCell;
  BOOL m_bCaptured;

 protected:
  afx_msg void OnPaint();
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

class SECListBaseC : public CWnd, public SECListClient {
  DECLARE_DYNAMIC(SECListBaseC)

 public:
  SECListBaseC();
  virtual ~SECListBaseC();

  // SECListClient
  virtual HWND GetListHwnd() const override;
  virtual BOOL IsLabelWrap() const override;
  virtual BOOL EndLabelEdit(BOOL bCommit) override;
  virtual int GetColumnSubItem(int nCol) const override;
  virtual BOOL GetScrollOffsets(int* pOffsets) const override;
  virtual void GetListRect(RECT* pRect) const override;
  virtual BOOL GetCellRect(int nItem, int nCol, RECT* pRect, int nCode) override;
  virtual CString GetItemText(int nItem, int nSubItem) override;
  virtual void ClientToScreen(RECT* pRect) const override;
  virtual CWnd* CaptureMouse(BOOL bCapture) override;
  virtual BOOL IsItemSelected(int nItem) override;
  virtual COLORREF GetSelTextColor() const override;
  virtual COLORREF GetSelTextBkColor() const override;
  virtual COLORREF GetTipTextColor() const override;
  virtual COLORREF GetTipBkColor() const override;
  virtual CFont* GetLabelFont() const override;

  // CWnd
  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                      const RECT& rect, CWnd* pParentWnd, UINT nID,
                      CCreateContext* pContext = NULL) override;
  virtual CScrollBar* GetScrollBarCtrl(int nBar) const override;

  // Creation
  virtual BOOL CreateList(DWORD dwStyle, DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd,
                          UINT nID, LPVOID lpParam = NULL);
  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      LPVOID lpParam = NULL);
  virtual BOOL CreateListWindow(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName,
                                DWORD dwStyle, int x, int y, int cx, int cy, HWND hWndParent,
                                UINT nID, LPVOID lpParam);
  virtual BOOL ReplaceDialogItem(UINT nID, CWnd* pDialog);

  // Colours and fonts
  virtual COLORREF GetBkColor() const;
  virtual COLORREF GetTextColor() const;
  virtual COLORREF GetTextBkColor() const;
  virtual COLORREF GetDisabledTextColor() const;
  virtual COLORREF GetLabelBkColor() const;
  virtual COLORREF GetSelLabelBkColor() const;
  virtual CFont* GetHeaderFont() const;
  virtual CWnd* GetNotifyWnd() const;
  virtual BOOL SetBkColor(COLORREF rgb);
  virtual BOOL SetTextColor(COLORREF rgb);
  virtual BOOL SetTextBkColor(COLORREF rgb);
  virtual BOOL SetSelTextColor(COLORREF rgb);
  virtual BOOL SetSelTextBkColor(COLORREF rgb);
  virtual BOOL SetDisabledTextColor(COLORREF rgb);
  virtual BOOL SetLabelBkColor(COLORREF rgb);
  virtual BOOL SetSelLabelBkColor(COLORREF rgb);
  virtual BOOL SetTipBkColor(COLORREF rgb);
  virtual BOOL SetTipTextColor(COLORREF rgb);
  virtual BOOL SetLabelFont(CFont* pFont);
  virtual BOOL SetHeaderFont(CFont* pFont);
  virtual BOOL SetNotifyWnd(CWnd* pWnd);
  virtual BOOL SetFollowSysColors(BOOL bFollow);
  virtual BOOL GetFollowSysColors() const;

  // Redrawing and row arithmetic
  virtual BOOL RedrawItems(int nItem, BOOL bLabelOnly, BOOL bErase, BOOL bToEnd, BOOL bUpdateNow);
  virtual BOOL InvalidateItemRange(int nFirst, int nLast);
  virtual int GetTopIndex() const;
  virtual int GetCountPerPage();
  virtual int GetCountPerPageAbove();
  virtual int GetLastPageTop();
  virtual int GetLastFullyVisible(int nUnused = 0);
  virtual int GetFirstRowBelow();
  virtual int GetPageUpTop();
  virtual int ItemIndexAtY(POINT* pt);
  virtual int ItemIndexAtY2(POINT* pt);
  virtual int ItemIndexAtY3(POINT* pt);
  virtual BOOL SetItemHeight(int nItem, int cy);
  virtual int HeightBetween(int nFrom, int nTo, BOOL bInclusive);
  virtual int ItemsInHeight(int cy, int nStart, BOOL bDown);
  virtual int RecalcLayout();
  virtual BOOL ResetItemHeight(int nItem);

  // Columns
  virtual BOOL DeleteColumnByTitle(const CString& strTitle);
  virtual BOOL DeleteColumn(int nCol);
  virtual BOOL DeleteAllColumns();
  virtual BOOL AppendColumn(const LVCOLUMNA* pColumn);
  virtual BOOL AppendColumn(const CString& strTitle, int fmt, int cx, int iSubItem);
  virtual BOOL AppendColumnRecord(SECListColumn* pColumn);
  virtual BOOL InsertColumn(int nCol, const LVCOLUMNA* pColumn, BOOL bRedraw = TRUE);
  virtual BOOL InsertColumn(int nCol, const CString& strTitle, int fmt, int cx, int iSubItem,
                            BOOL bRedraw = TRUE);
  virtual BOOL InsertColumnRecord(int nCol, SECListColumn* pColumn, BOOL bRedraw = TRUE);
  virtual BOOL GetColumn(int nCol, LVCOLUMNA* pColumn);
  virtual BOOL SetColumn(int nCol, const LVCOLUMNA* pColumn, BOOL bRedraw = TRUE);
  virtual int GetColumnLeft(int nCol);
  virtual int GetColumnRight(int nCol);
  virtual SECListColumn* SetColumnWidth(int nCol, int cx);
  virtual int GetColumnWidth(int nCol);
  virtual BOOL SetColumnFormat(int nCol, int fmt);
  virtual int GetColumnFormat(int nCol);
  virtual BOOL SetColumnTitle(int nCol, const CString& strTitle);
  virtual CString GetColumnTitle(int nCol);
  virtual BOOL HasColumn(const CString& strTitle);
  virtual int GetColumnCount() const;
  virtual BOOL FindColumn(const CString& strTitle, int* pCol, int* pSubItem);
  virtual SECListColumn* GetColumnAt(int nCol) const;

  // Items
  virtual LPARAM GetItemDataOf(SECListItem* pItem) const;
  virtual int GetItemCount() const;
  virtual int GetSubItemCount() const;
  virtual BOOL SetItem(const LVITEMA* pItem, BOOL bRedraw = TRUE);
  virtual BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszText, int nImage,
                       UINT nState, UINT nStateMask, LPARAM lParam);
  virtual BOOL SetItemUserState(const LVITEMA* pItem, SECListUserState* pState);
  virtual BOOL GetItem(LVITEMA* pItem, BOOL bCopyText = TRUE, BOOL bNotify = TRUE);
  virtual BOOL GetItemUserState(const LVITEMA* pItem, SECListUserState* pState, BOOL bNotify = TRUE);
  virtual BOOL SetItemText(int nItem, int nSubItem, LPCTSTR lpszText);
  virtual int GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen);
  virtual BOOL DeleteItem(SECListItem* pItem);
  virtual BOOL DeleteItems(int nFirst, int nCount);
  virtual BOOL DeleteAllItems();
  virtual UINT GetSelectedCount() const;
  virtual BOOL GetLabelCellRect(int nItem, RECT* pRect, int nCode);
  virtual int InsertItemRecord(int nIndex, SECListItem* pItem);
  virtual int InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask,
                         int nImage, LPARAM lParam);
  virtual int InsertItem(int nItem, LPCTSTR lpszItem, int nImage);
  virtual int InsertItem(int nItem, LPCTSTR lpszItem);
  virtual int InsertItem(const LVITEMA* pItem);
  virtual int InsertItemAfter(SECListItem* pRef, LVITEMA* pItem);
  virtual int InsertItemBefore(SECListItem* pRef, LVITEMA* pItem);
  virtual BOOL SetFocusItem(int nItem, BOOL bSelect = TRUE);
  virtual BOOL MoveFocus(int nItem);
  virtual BOOL DeselectAllExcept(int nItem);
  virtual BOOL SelectRange(int nFirst, int nLast, BOOL bSelect = TRUE);
  virtual int GetFocusItem() const;
  virtual SIZE* GetContentSize(SIZE* pSize, int nUnused = 0);
  virtual BOOL SetItemState(int nItem, UINT nState, UINT nMask);
  virtual UINT GetItemState(int nItem, UINT nMask);
  virtual BOOL SetItemData(int nItem, LPARAM lParam);
  virtual LPARAM GetItemData(int nItem);
  virtual BOOL SelectItem(int nItem, BOOL bSelect = TRUE);
  virtual UINT GetCallbackMask() const;
  virtual BOOL SetCallbackMask(UINT nMask);
  virtual UINT GetUserCallbackMask() const;
  virtual BOOL SetUserCallbackMask(UINT nMask);
  virtual BOOL NeedsDispInfo(int nItem);
  virtual int GetNextItem(int nItem, int nFlags);
  virtual BOOL SetDropHighlight(int nItem);
  virtual int GetDropHighlight() const;
  virtual CImageList* GetImageList(int nType) const;
  virtual CImageList* SetImageList(CImageList* pImageList, int nType);
  virtual BOOL CopyImageList(CImageList* pSource, CImageList** ppCopy);
  virtual int HitTest(int x, int y, UINT* pFlags, int* pCol);
  virtual int SetTopIndex(int nItem);
  virtual int ScrollHorz(int dx);
  virtual int ScrollVert(int dy, BOOL bFromBottom = FALSE);
  virtual BOOL EnsureVisible(int nItem, BOOL bUnused = FALSE);
  virtual BOOL EnsureRangeVisible(int nFirst, int nLast, BOOL bUnused = FALSE);
  virtual CWnd* EditLabel(int nItem, int nCol = 0);
  virtual SECListEdit* GetEditControl() const;
  virtual BOOL CancelEditTimer();

  // Styles
  virtual BOOL HasListStyle(DWORD dwBits) const;
  virtual BOOL HasListStyleEx(DWORD dwBits) const;
  virtual BOOL GetListStyles(DWORD* pStyle, DWORD* pStyleEx) const;
  virtual BOOL SetListStyles(DWORD dwStyle, DWORD dwStyleEx, BOOL bRedraw = TRUE);
  virtual DWORD GetListStyle() const;
  virtual DWORD GetListStyleEx() const;
  virtual BOOL SetListStyle(DWORD dwStyle, BOOL bRedraw = TRUE);
  virtual BOOL SetListStyleEx(DWORD dwStyleEx, BOOL bRedraw = TRUE);
  virtual BOOL ModifyListStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  virtual BOOL ModifyListStyleEx(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw = TRUE);
  virtual BOOL ModifyListStyles(DWORD dwRemove, DWORD dwAdd, DWORD dwRemoveEx, DWORD dwAddEx,
                                BOOL bRedraw = TRUE);
  virtual BOOL EnableLabelWrap(BOOL bEnable);
  virtual BOOL EnableClippedLabelTips(BOOL bEnable);
  virtual BOOL EnableMultiSelect(BOOL bEnable);
  virtual BOOL AreClippedLabelTipsEnabled() const;
  virtual BOOL IsHeaderVisible() const;
  virtual BOOL ShowHeader(BOOL bShow);
  virtual BOOL IsMultiSelect() const;
  virtual BOOL SetAutoUpdate(BOOL bAuto);
  virtual BOOL GetAutoUpdate() const;

  // Layout and scroll bars
  virtual int RecalcScrollBars();
  virtual int GetContentWidth(BOOL bMeasure = TRUE);
  virtual int GetScrollItemCount() const;
  virtual void GetListClientRect(RECT* pRect) const;
  virtual CDC* GetMeasureDC(BOOL* pOwned);
  virtual BOOL FitLabelColumnIfNeeded();
  virtual BOOL CreateScrollBar(int nType, UINT nID);
  virtual BOOL AddSubItems(SECListItem* pItem);
  virtual BOOL RemoveAllSubItems(SECListItem* pItem);
  virtual int InitNewItem(SECListItem* pItem);
  virtual SECListItem* CreateItem();
  virtual void ShowScrollBarEx(int nType, BOOL bShow, SCROLLINFO* pInfo = NULL);
  virtual void PrepareBkColor(SECListPaintContext* pContext);
  virtual void PrepareLabelBkColor(SECListPaintContext* pContext);
  virtual void PrepareTextColors(SECListPaintContext* pContext);
  virtual void PrepareFont(SECListPaintContext* pContext);
  virtual void GetRowLinePen(CPen** ppPen);
  virtual void GetColumnLinePen(CPen** ppPen);
  virtual int MeasureItem(SECListPaintContext* pContext);
  virtual int MeasureItemAt(int nItem, SECListPaintContext* pContext = NULL);
  virtual int MeasureCell(SECListPaintContext* pContext);
  virtual void MeasureIcon(SECListPaintContext* pContext, RECT* pRect);
  virtual void MeasureText(SECListPaintContext* pContext, const RECT* pIcon, RECT* pRect);
  virtual void PositionScrollBars();
  virtual int FitLabelColumn();
  virtual int GetRowGap() const;
  virtual int TrackColumnDivider(int x, int y, int nCol);

  // Painting
  virtual void Paint(CDC* pDC);
  virtual BOOL PrepareItem(SECListPaintContext* pContext);
  virtual SECListPaintContext* CreatePaintContext(CDC* pDC);
  virtual CDC* CreateMemoryDC(CDC* pDC, const RECT* pRect);
  virtual void PaintHeader(SECListPaintContext* pContext);
  virtual void PaintItems(SECListPaintContext* pContext);
  virtual void PaintItem(SECListPaintContext* pContext);
  virtual void PaintCell(SECListPaintContext* pContext);
  virtual void DrawItemIcon(SECListPaintContext* pContext);
  virtual void DrawItemText(SECListPaintContext* pContext);
  virtual void DrawRowLine(SECListPaintContext* pContext);
  virtual void DrawColumnLines(SECListPaintContext* pContext);
  virtual void UpdateVScroll(int nCount);
  virtual void UpdateHScroll(int cxContent);

  // Keys: focused item, sub-item of the current column, Shift, Control, repeat, flags
  virtual void OnKeyUp(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyDown(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyF2(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyReturn(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyHome(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyEnd(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyLeft(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyBack(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyRight(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyMultiply(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyPageUp(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);
  virtual void OnKeyPageDown(int nItem, int nSubItem, BOOL bShift, BOOL bCtrl, UINT nRep, UINT nFlags);

  // Notifications and hooks
  virtual LRESULT NotifyParent(int nCode);
  virtual void OnBeginDrag(int nItem, int x, int y);
  virtual LRESULT NotifyBeginLabelEdit(int nItem, int nSubItem);
  virtual void OnBeginRightDrag(int nItem, int x, int y);
  virtual LRESULT NotifyDeleteItem(int nItem);
  virtual BOOL NotifyEndLabelEdit(int nItem, int nSubItem, CString* pText, BOOL bCommit);
  virtual void OnItemChanged(int nItem, int nOldFocus, BOOL bByMouse);
  virtual BOOL OnItemChanging(int nItem, int nOldFocus, BOOL bByMouse);
  virtual LRESULT NotifyGetDispInfo(LVITEMA* pItem);
  virtual void OnSetDispInfo(LVITEMA* pItem);
  virtual void OnGetUserDispInfo(SECListUserState* pState);
  virtual void OnReserved(DWORD_PTR dwUnused);
  virtual LRESULT NotifyInsertItem(int nItem);
  virtual LRESULT NotifyKeyDown(UINT nVKey);
  virtual BOOL SelectByInput(int nItem, UINT nHitFlags, UINT nKeyFlags, BOOL bByMouse);
  virtual void OnAfterSelectByInput(int nItem, BOOL bByMouse);
  virtual CWnd* GetNotifyTarget() const;
  virtual void AdoptCreateStyles(CREATESTRUCT* pcs);
  virtual void GetClickAction(POINT* pt, int nItem, UINT nHitFlags, BOOL* pArmDrag, BOOL* pSelect);

  // Not virtual
  SECListItem* GetItemAt(int nItem) const;
  int CountPerPage() { return GetCountPerPage(); }
  LRESULT GetLastNotifyResult() const { return m_lLastNotifyResult; }
  int GetEditItem() const { return m_nEditItem; }
  int GetPendingEditItem() const { return m_nPendingEdit; }
  int GetAnchorItem() const { return m_nAnchor; }
  int GetScrollOffsetX() const { return m_nHorzOffset; }
  DWORD GetScrollBarWord() const { return m_dwScrollBars; }
  int GetHeaderHeight() const { return m_nHeaderHeight; }
  const CDWordArray& GetSelection() const { return m_arrSel; }
  SECListTip* GetTip() const { return m_pTip; }
  BOOL IsDragging() const { return m_bDragging; }

  // Cached system values shared by every list.
  static COLORREF s_rgbMenu;
  static COLORREF s_rgbMenuText;
  static COLORREF s_rgbBtnFace;
  static int s_cxVScroll;
  static int s_cyHScroll;
  static void ReadSysValues();

 protected:
  int m_nWheelDelta;
  int m_nTopIndex;
  int m_nHeaderHeight;
  int m_nPendingEdit;
  int m_nCurColumn;
  int m_nEditItem;
  int m_nSubItemCount;
  int m_nFocusItem;
  int m_nDropItem;
  int m_nAnchor;
  LRESULT m_lLastNotifyResult;
  UINT m_nCallbackMask;
  UINT m_nUserCallbackMask;
  UINT_PTR m_nEditTimer;
  DWORD m_dwListStyle;
  DWORD m_dwListStyleEx;
  DWORD m_dwScrollBars;
  COLORREF m_rgbText;
  COLORREF m_rgbTextBk;
  COLORREF m_rgbSelText;
  COLORREF m_rgbSelTextBk;
  COLORREF m_rgbDisabledText;
  COLORREF m_rgbLabelBk;
  COLORREF m_rgbSelLabelBk;
  COLORREF m_rgbTipBk;
  COLORREF m_rgbTipText;
  COLORREF m_rgbBk;
  BOOL m_bOnDivider;
  BOOL m_bSelVetoed;
  BOOL m_bEndingEdit;
  BOOL m_bAutoUpdate;
  BOOL m_bDragging;
  BOOL m_bDragArmed;
  BOOL m_bFollowSysColors;
  HCURSOR m_hDividerCursor;
  char* m_pszTextBuf;
  CFont* m_pLabelFont;
  CFont* m_pHeaderFont;
  CImageList* m_pImageList;
  CImageList* m_pSmallImageList;
  CImageList* m_pStateImageList;
  SECListTip* m_pTip;
  int m_nHorzOffset;
  int m_nVertOffset;
  int m_xDown;
  int m_yDown;
  CString m_strPreEdit;
  CPtrArray m_arrColumns;
  CPtrArray m_arrItems;
  CDWordArray m_arrSel;
  SECListEdit* m_pEdit;
  CWnd* m_pNotifyWnd;
  CScrollBar m_sbHorz;
  CScrollBar m_sbVert;
  CDC m_measureDC;  // kept for measuring text: asking the system for a window DC per row is slow

  // Shared helpers
  // Walks the rows (report) or cells (icon view, flowing into lines) from the top index.
  struct RowWalk {
    int nItem;
    int x, y, xLine, lineBottom, cxCell;
    RECT list;
  };
  void BeginRowWalk(RowWalk& w);
  void NextRowRect(RowWalk& w, RECT* pRect);
  // The row (or icon cell) of a shown item; FALSE above the top index or below the list.
  BOOL GetRowRect(int nItem, RECT* pRect);
  void LoadColors();
  BOOL SelFind(int nItem, int* pPos) const;
  BOOL SelAdd(int nItem);
  BOOL SelRemove(int nItem);
  int RowHeight(int nItem);
  int ListHeight() const;
  int ListWidth() const;
  int View() const { return (int)(m_dwListStyle & SECLIST_VIEWMASK); }
  BOOL IsReportWithHeader() const;
  BOOL ValidSubItem(const SECListItem* pItem, int nSubItem) const;
  char** TextSlot(SECListItem* pItem, int nSubItem) const;
  void SetVertBarPos(int nPos);
  int LabelColumnIndex() const;
  void EndEditAndHideTip();
  void SendNotify(NMHDR* pHdr, int nCode, LRESULT* pResult);
  void OnEditUpdateText();
  void FinishLabelEditDestroy();
};

class SECListCtrl : public SECListBaseC {
  DECLARE_DYNAMIC(SECListCtrl)
 public:
  SECListCtrl();
  virtual ~SECListCtrl();

  using SECListBaseC::OnKeyDown;
  using SECListBaseC::OnKeyUp;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg void OnDestroy();
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSysColorChange();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  afx_msg UINT OnGetDlgCode();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg void OnCancelMode();
  afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnEditKillFocus();
  afx_msg void OnEditUpdate();
  DECLARE_MESSAGE_MAP()
};

// Dialog data exchange for a list member: makes the list in place of the dialog item the
// first time; the exchange fails when that is not possible.
void AFXAPI DDX_SECListCtrl(CDataExchange* pDX, int nIDC, SECListBaseC& rList);
