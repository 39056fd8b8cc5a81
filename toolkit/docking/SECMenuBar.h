// The menu bar: a customisable toolbar whose buttons are the top-level popups of menu
// resources, and the frame plug-in that makes it behave like a window menu (Alt + letter,
// arrow keys from popup to popup, the mouse switching popups, the system menu at either end).
#ifndef QUORVEL_SECMENUBAR_H
#define QUORVEL_SECMENUBAR_H

#include "SECBmpMenuPlugIn.h"
#include "SECCustomToolBar.h"
#include <afxtempl.h>
#include <cstdarg>
#include <vector>

class SECToolBarManager;

// A menu template's top-level item texts (ANSI), walked within the resource's bytes in the
// template's own form (standard or extended). FALSE when the template cannot be read.
// The menu ids of a variadic call: the first and nCount - 1 more from args.
std::vector<UINT> SECMenuIDList(int nCount, UINT nFirst, va_list args);

BOOL SECMenuTemplateTopItems(const BYTE* pData, DWORD nBytes, CStringArray& texts);

class SECMenuBar : public SECCustomToolBar {
  DECLARE_DYNAMIC(SECMenuBar)

 public:
  SECMenuBar();
  virtual ~SECMenuBar();

  using SECCustomToolBar::CreateEx;
  virtual BOOL CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID,
                        LPCTSTR lpszTitle = NULL) override;
  virtual DWORD RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout) override;
  virtual void OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle) override;
  virtual void InsertButton(int nIndex, UINT nID, BOOL bSeparator = FALSE,
                            BOOL bNoRedraw = FALSE) override;
  virtual HFONT GetMenuFont() override { return m_hMenuFont; }
  virtual BOOL IsCoolLook() override { return TRUE; }

  virtual int FindMnemonic(TCHAR c);
  virtual void ApplyMenuMask(DWORD dwMask, BOOL bRedraw = TRUE);
  virtual void ResetMenuButtons(BOOL bNoRedraw = FALSE);
  // Without a manager: the bar's own map and buttons.
  virtual BOOL SetMenuInfo(int nCount, UINT nMenuID, ...);

  // Builds the menu-button map of the menus for the manager (or the bar when NULL).
  BOOL BuildMenuInfo(SECToolBarManager* pMgr, int nCount, const UINT* pMenuIDs);
  BOOL SwitchMenu(UINT nMenuID);
  BOOL LoadMenuButtons(UINT nMenuID);
  void SelectAdjacentMenu(BOOL bForward);
  void OpenSystemMenu();
  DWORD GetMenuMask() const { return m_dwMask; }
  UINT GetMenuID() const { return m_nMenuID; }

  CMap<UINT, UINT, DWORD, DWORD> m_menuMasks;
  std::vector<CString> m_menuTexts;  // the map's text pointers point in here
  BOOL m_bFloated;
  HFONT m_hMenuFont;
  DWORD m_dwMask;
  UINT m_nMenuID;

 protected:
  afx_msg LRESULT OnSettingChange(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

// The state a menu bar's plug-in keeps while its popups run.
class SECMenuBarMessages {
 public:
  SECMenuBarMessages() : m_pMenuBar(NULL), m_bKeyboardOpened(FALSE), m_bMenuSelected(FALSE), m_bForward(TRUE) {}
  virtual ~SECMenuBarMessages() {}
  SECMenuBar* m_pMenuBar;
  BOOL m_bKeyboardOpened;
  BOOL m_bMenuSelected;
  BOOL m_bForward;
};

class SECMenuBarFeature : public SECBmpMenuPlugIn, public SECMenuBarMessages {
  DECLARE_DYNAMIC(SECMenuBarFeature)

 public:
  SECMenuBarFeature();
  virtual ~SECMenuBarFeature();

  void SetMenuBar(SECMenuBar* pBar) { m_pMenuBar = pBar; }
  virtual BOOL PreTranslateMessage(MSG* pMsg) override;
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  // The menu-bar plug-in's own switch: the bar's, then a layout and a repaint.
  BOOL SwitchMenu(UINT nMenuID);
  // Whether a popup of a menu bar is open now (any frame of the thread).
  static BOOL IsPopupOpen();

 protected:
  void HandleRequest(SECTBNotify* pReq);
  void TrackPopup(SECMenuBar* pBar, HMENU hMenu, SECTBNotify* pReq);
  void TrackSysMenu(SECMenuBar* pBar, HMENU hMenu, SECTBNotify* pReq);
  static void SetHook(BOOL bInstall);
  static LRESULT CALLBACK MsgFilterProc(int nCode, WPARAM wParam, LPARAM lParam);
  CRect SysBoxRect(BOOL bForHook) const;

  afx_msg LRESULT OnSysCommandMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnInitMenuPopupFeature(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMenuSelectMsg(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnMenuProd(WPARAM wParam, LPARAM lParam);
  afx_msg LRESULT OnNcActivateMsg(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()
};

#endif  // QUORVEL_SECMENUBAR_H
