// The buttons of a customisable toolbar: small objects, not windows, that know their command,
// image, style bits, place and size, draw themselves through a shared off-screen cache and
// answer press, move and release. Which class a command gets is decided by a button map.
#ifndef QUORVEL_SECTOOLBTN_H
#define QUORVEL_SECTOOLBTN_H

#include <afxwin.h>

class SECCustomToolBar;
class SECStdBtn;
class SECBmpMgr;

// Style bits (the low 24 follow the common-control toolbar's)
#define SEC_TBBS_SEPARATOR 0x00000001
#define SEC_TBBS_CHECKBOX 0x00000002
#define SEC_TBBS_DROPDOWN 0x00000008
#define SEC_TBBS_CHECKED 0x00010000
#define SEC_TBBS_PRESSED 0x00020000
#define SEC_TBBS_DISABLED 0x00040000
#define SEC_TBBS_HIDDEN 0x00080000
#define SEC_TBBS_INDETERMINATE 0x00100000
#define SEC_TBBS_WRAPPED 0x00200000
#define SEC_TBBS_SELECTED 0x01000000
#define SEC_TBBS_HOT 0x02000000
#define SEC_TBBS_NOAUTODISABLE 0x10000000
#define SEC_TBBS_VCENTER 0x20000000

// Button kinds
#define SEC_BTNTYPE_STD 0
#define SEC_BTNTYPE_MENU 3
#define SEC_BTNTYPE_CAPMENU 4
#define SEC_BTNTYPE_CAPTION 5

// Notification codes a button sends to its toolbar's owner
#define SEC_TBN_DROPDOWN ((UINT)-710)
#define SEC_TBN_OPENMENU ((UINT)-2120)
#define SEC_TBN_CLOSEMENU ((UINT)-2121)

// Kind 1 of InformBtn: a style change {set, mask}
#define SEC_BTNINFORM_STYLE 1
struct SECBtnStyleChange {
  UINT nSet;
  UINT nMask;
};

// One record per button class: the function that makes an object of it (NULL on failure).
struct SECButtonClass {
  SECStdBtn* (*m_pfnCreate)();
  SECStdBtn* CreateButton() const;
};

// A button map: entries ended by one with a NULL class.
struct SECBtnMapEntry {
  const SECButtonClass* m_pBtnClass;
  UINT m_nID;
  UINT m_nStyle;
  UINT_PTR m_nParams[4];  // handed to the button's Init
};

// What a toolbar notification carries: the common toolbar notification with the button
// rectangle's four words reused for the button index and the two parameters, and a last word
// that the menu machinery sets on records it allocated itself.
struct SECTBNotify {
  NMHDR hdr;
  int iItem;             // command id
  TBBUTTON tbButton;     // zero
  int cchText;           // zero
  LPSTR pszText;         // zero
  int nIndex;            // the button's index in the toolbar (-1: the system menu)
  INT_PTR nParam1;       // a menu resource id or a menu handle
  INT_PTR nParam2;       // a popup index, -1 for a handle
  INT_PTR nAllocated;    // 0: the sender's record
};

// The off-screen drawing cache shared by the buttons of a manager's toolbars.
class SECBtnDrawCache {
 public:
  SECBtnDrawCache();
  ~SECBtnDrawCache();
  // Makes the face and mask bitmaps for a paint; FALSE (and nothing selected) on failure.
  BOOL PrepareDraw(CDC* pPaintDC, int cx, int cy);
  void EndDraw();
  void RecreateDitherBrush();
  // Selects a strip into the image DC (remembering what it held first).
  void SelectImage(HBITMAP hBitmap);

  CDC m_dcMono;   // mask
  CDC m_dcImage;  // the strip of the button being drawn
  CDC m_dcFace;   // where each button is composed
  HBRUSH m_hbrDither;
  HBITMAP m_hbmFace, m_hbmMono;
  HGDIOBJ m_hOldFace, m_hOldMono;
  HGDIOBJ m_hOldImage;  // what the image DC held first
  HBITMAP m_hbmImage;   // what is selected now
  CSize m_size;
};

// The 8 x 8 face/highlight pattern of checked buttons (a new brush, caller deletes).
HBRUSH SECCreateDitherBrush();

class SECStdBtn {
 public:
  SECStdBtn();
  virtual ~SECStdBtn() {}

  static const SECButtonClass classSECStdBtn;
  virtual const SECButtonClass* GetButtonClass() const { return &classSECStdBtn; }

  virtual void SetOrientation(DWORD dwAlign) { (void)dwAlign; }
  virtual void SetStyle(UINT nStyle) { m_nStyle = nStyle; }
  virtual UINT GetStyle() const { return m_nStyle; }
  virtual BOOL HasStyle(UINT nBits) const { return (m_nStyle & nBits) == nBits; }
  virtual void SetPos(int x, int y) { m_x = x; m_y = y; }
  virtual void Invalidate(BOOL bErase = FALSE);
  virtual void Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams);
  virtual BOOL CanDrag() const { return TRUE; }
  virtual void Draw(CDC* pDC, SECBtnDrawCache& cache);
  virtual BOOL PressDown(int x, int y);
  virtual void PressMove(int x, int y);
  virtual void PressCancel();
  virtual UINT PressUp(int x, int y);
  virtual void Refresh() {}
  virtual void BarStyleChanged(DWORD dwStyle) { (void)dwStyle; }
  virtual INT_PTR ToolHitTest(CPoint point, TOOLINFOA* pTI) const;
  virtual void InformBtn(UINT nKind, void* pData);
  virtual void AdjustSize();
  virtual void GetBtnInfo(BYTE& nLen, LPBYTE& pData) const { nLen = 0; pData = NULL; }
  virtual void SetBtnInfo(BYTE nLen, const BYTE* pData) { (void)nLen; (void)pData; }
  virtual LRESULT SendNotify(UINT nCode, INT_PTR nParam1, INT_PTR nParam2);
  virtual void DrawFace(SECBtnDrawCache& cache, BOOL bFlat, int& x, int& y, int& cx, int& cy,
                        int nImgWidth = -1);
  virtual void DrawDisabled(SECBtnDrawCache& cache, int x, int y, int cx, int cy);
  virtual void DrawChecked(SECBtnDrawCache& cache, int x, int y, int cx, int cy);
  virtual void DrawIndeterminate(SECBtnDrawCache& cache, int x, int y, int cx, int cy);
  virtual void DrawSelection(SECBtnDrawCache& cache);
  virtual BOOL SelectImage(SECBtnDrawCache& cache);
  virtual BOOL DrawSeparator(CDC* pDC);
  virtual void DrawButton(SECBtnDrawCache& cache);
  virtual void DrawImage(int x, int y, int cx, int cy, SECBtnDrawCache& cache, int sx, int sy);
  virtual void DrawTransparent(CDC* pDC, SECBtnDrawCache& cache);
  virtual void DrawSelectionIf(SECBtnDrawCache& cache);
  virtual void Blit(CDC* pDC, SECBtnDrawCache& cache);

  CRect GetRect() const { return CRect(m_x, m_y, m_x + m_cx, m_y + m_cy); }
  BOOL IsMenuButton() const { return m_nType == SEC_BTNTYPE_MENU || m_nType == SEC_BTNTYPE_CAPMENU; }
  CSize ImageSize() const;

  UINT m_nID;
  int m_nImage;
  UINT m_nStyle;
  int m_x, m_y;
  int m_cx, m_cy;
  UINT m_nType;
  SECCustomToolBar* m_pToolBar;  // not owned

 protected:
  // The image in the face DC, with the mask of its ink in the mask DC.
  void CreateMask(SECBtnDrawCache& cache, int x, int y, int cx, int cy);
  BOOL m_bImageSelected;  // SelectImage found a strip for this paint
};

// A text button that opens one popup of a menu resource (the menu bar's buttons).
class SECTBMenuBtn : public SECStdBtn {
 public:
  SECTBMenuBtn();
  static const SECButtonClass classSECTBMenuBtn;
  virtual const SECButtonClass* GetButtonClass() const override { return &classSECTBMenuBtn; }

  // Parameters: menu resource id, popup index, text, menu mask.
  virtual void Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams) override;
  virtual BOOL PressDown(int x, int y) override;
  virtual void AdjustSize() override;
  virtual void DrawFace(SECBtnDrawCache& cache, BOOL bFlat, int& x, int& y, int& cx, int& cy,
                        int nImgWidth = -1) override;
  virtual BOOL SelectImage(SECBtnDrawCache& cache) override { (void)cache; return FALSE; }
  virtual void DropDown();
  virtual void ComputeMnemonic();

  CString m_strText;
  UINT m_nMenuID;
  int m_nPopup;
  TCHAR m_cMnemonic;
  DWORD m_dwMask;
};

// The rectangle that shows where a dragged button goes.
class SECToolBarRectTracker : public CRectTracker {
 public:
  SECToolBarRectTracker() : CRectTracker(CRect(0, 0, 0, 0), hatchedBorder) {}
  virtual ~SECToolBarRectTracker() {}
  virtual void DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd) override;
  // Follows the mouse anywhere on the screen; FALSE when cancelled.
  BOOL TrackFrom(CWnd* pWnd, CPoint point);
};

#endif  // QUORVEL_SECTOOLBTN_H
