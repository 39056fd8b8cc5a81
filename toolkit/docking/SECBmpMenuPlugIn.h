// Bitmap menus: a plug-in of the frame that turns its popup menus into owner-drawn menus with
// the toolbar images beside their commands, and keeps their mnemonics working.
#ifndef QUORVEL_SECBMPMENUPLUGIN_H
#define QUORVEL_SECBMPMENUPLUGIN_H

#include "SECWndPlugIn.h"
#include <map>
#include <set>
#include <vector>

class SECBmpMgr;

// A font of the system's menu font (the non-client metrics), bold when asked.
HFONT SECCreateMenuFont(BOOL bBold = FALSE);

// The item data of every item the plug-in made owner-drawn.
class SECBmpMenuItemInfo : public CObject {
  DECLARE_DYNAMIC(SECBmpMenuItemInfo)

 public:
  SECBmpMenuItemInfo(UINT nID, LPCTSTR lpszText);
  UINT m_nID;
  CString m_strText;  // with '&' and the tab-separated accelerator
  TCHAR m_cMnemonic;  // lower case, 0 when none
};

class SECBmpMenuPlugIn : public SECWndPlugIn {
  DECLARE_DYNAMIC(SECBmpMenuPlugIn)

 public:
  explicit SECBmpMenuPlugIn(BOOL bOwnCheckMarks = TRUE);
  virtual ~SECBmpMenuPlugIn();

  // The items the plug-in made owner-drawn in one menu.
  struct SECBmpMenuInfo : std::vector<SECBmpMenuItemInfo*> {
    SECBmpMenuInfo();
    HMENU m_hMenu;
  };

  BOOL AddToolBarResource(LPCTSTR lpszResource);
  BOOL AddToolBarResourceId(UINT nID) { return AddToolBarResource(MAKEINTRESOURCE(nID)); }
  BOOL AddBitmapResource(LPCTSTR lpszBitmap, const UINT* pIDs, int nCount);
  BOOL AddBitmapResourceId(UINT nID, const UINT* pIDs, int nCount)
  {
    return AddBitmapResource(MAKEINTRESOURCE(nID), pIDs, nCount);
  }
  BOOL AddBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount);
  void SetBmpMgr(SECBmpMgr* pMgr);
  SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
  // What the WM_INITMENUPOPUP handler does; the frame calls it after its own processing.
  void ForwardInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu);
  // Ids whose items are drawn by someone else.
  BOOL IsExcluded(UINT nID) const { return m_excluded.count(nID) != 0; }
  // The plug-in's own record behind an item's data, or NULL.
  SECBmpMenuItemInfo* OwnInfo(ULONG_PTR nData) const;
  // Items converted so far, all menus.
  size_t GetInfoCount() const { return m_allInfos.size(); }

  virtual void CleanupMenus();
  virtual void CreateMenuFont();
  virtual void CreateBoldMenuFont();
  // A one-bit mask of the image at sx in the image DC: white where it shows face or
  // highlight. The mask bitmap is made and selected into the mask DC (the old one returned).
  virtual void CreateImageMask(CDC* pDC, CDC* pMaskDC, HBITMAP& hMask, HGDIOBJ& hOldMask, int cx,
                               int cy, CDC* pImageDC, int sx);
  // A checked, unselected item's image over the dithered background.
  virtual void DrawCheckedImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pImageDC, int sx);
  // A disabled item's image, embossed: highlight one pixel down and right, shadow in place.
  virtual void DrawDisabledImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pImageDC, int sx);

  // Colours read at construction and on system colour changes.
  static COLORREF s_clrFace, s_clrHilite, s_clrShadow, s_clrSelect, s_clrMenu, s_clrGrayText,
      s_clrSelectText, s_clrMenuText;
  static void ReadColors();

 protected:
  void ConvertMenu(HMENU hMenu);
  void MeasureItem(MEASUREITEMSTRUCT* p, SECBmpMenuItemInfo* pInfo);
  void DrawItem(DRAWITEMSTRUCT* p, SECBmpMenuItemInfo* pInfo);
  void DrawImageBox(DRAWITEMSTRUCT* p, CDC* pDC, CRect rect, HBITMAP hBitmap, int nImage, int cx,
                    int cy);
  void RestoreMenus();

  std::map<HMENU, SECBmpMenuInfo> m_menus;
  std::set<SECBmpMenuItemInfo*> m_allInfos;
  std::set<UINT> m_excluded;
  BOOL m_bOwnCheckMarks;
  SECBmpMgr* m_pBmpMgr;
  HFONT m_hMenuFont, m_hBoldFont;
  HBRUSH m_hbrDither;
  HBITMAP m_hbmRadio;
  HBITMAP m_hbmCheck;

  afx_msg LRESULT OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMeasureItemMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnDrawItemMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMenuCharMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnIdleUpdateCmdUIMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSettingChangeMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnSysColorChangeMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECBMPMENUPLUGIN_H
