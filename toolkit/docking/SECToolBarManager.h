// The manager of a frame's customisable toolbars and menu bar: the shared button images and
// drawing cache, the button maps, the default toolbars, new user toolbars, the four global
// options, the customise mode and the manager's saved options.
#ifndef QUORVEL_SECTOOLBARMANAGER_H
#define QUORVEL_SECTOOLBARMANAGER_H

#include "SECControlBarManager.h"
#include "SECToolBtn.h"
#include <afxcoll.h>
#include <vector>

class SECBmpMgr;
class SECCustomToolBar;
class SECMenuBar;

// "WM_BARNOTIFY": wParam the toolbar id, lParam the code
extern const UINT WM_BARNOTIFY;
#define SEC_BARNOTIFY_SHOWN 0
#define SEC_BARNOTIFY_HIDDEN 1
#define SEC_BARNOTIFY_CREATED 2
#define SEC_BARNOTIFY_DESTROYED 3
#define SEC_BARNOTIFY_SELECTION 4

// Toolbar ids
#define SEC_IDW_MENUBAR 0xE8FF        // 59647
#define SEC_IDW_FIRST_USERBAR 0xE820  // 59424
#define SEC_IDW_LAST_USERBAR 0xE8FF   // user ids stay below 59648

// Bar kinds given to the dock state
#define SEC_BARTYPE_TOOLBAR 14946
#define SEC_BARTYPE_MENUBAR 14947

// The Customize result of the Toolbars dialog
#define SEC_IDC_CUSTOMIZE 43099

class SECToolBarManager : public SECControlBarManager {
  DECLARE_DYNAMIC(SECToolBarManager)

 public:
  struct DefaultBar {
    UINT nID;
    CString strTitle;
    int nCount;
    const UINT* pBtnIDs;  // not owned
    DWORD dwDockStyle;
    UINT nDockBarID;
    UINT nBesideID;
    BOOL bDocked;
    BOOL bVisible;
  };
  // The command button rectangle: valid while a toolbar sends a button's command.
  struct CmdBtnRect {
    int nRef;
    BOOL bValid;
    CRect rect;  // screen
  };

  SECToolBarManager();
  SECToolBarManager(CFrameWnd* pFrameWnd, CWnd* pOwner = NULL);
  virtual ~SECToolBarManager();

  virtual BOOL LoadState(SECPersistentTreeNode* pNode) override;
  virtual void LoadState(LPCTSTR lpszProfileName) override;
  virtual BOOL SaveState(SECPTNFactory& factory, SECPersistentTreeNode* pNode) override;
  virtual void SaveState(LPCTSTR lpszProfileName) override;
  virtual DWORD GetBarTypeID(CWnd* pWnd) override;
  virtual SECControlBarInfoEx* CreateBarInfo(DWORD dwTypeID) override;
  virtual CControlBar* CreateBar(SECControlBarInfo* pInfo) override;
  virtual SECCustomToolBar* ToolBarFromRect(const CRect& rectScreen);
  virtual SECCustomToolBar* ToolBarFromID(UINT nID);
  virtual void CreateDefaultBars();
  virtual BOOL ApplyLargeButtons();
  virtual void ConnectBars();

  // Options
  void EnableToolTips(BOOL bEnable);
  void EnableFlyBy(BOOL bEnable);
  void EnableCoolLook(BOOL bEnable = TRUE, DWORD dwExStyle = 0x300);
  void EnableLargeBtns(BOOL bEnable);
  BOOL ToolTipsEnabled() const { return m_bToolTips; }
  BOOL FlyByEnabled() const { return m_bFlyBy; }
  BOOL CoolLookEnabled() const { return m_bCoolLook; }
  BOOL LargeBtnsEnabled() const { return m_bLargeBtns; }
  void ApplyBtnSizes(SECCustomToolBar* pBar);

  // Images and button maps
  BOOL LoadToolBarResource(LPCTSTR lpszSmall, LPCTSTR lpszLarge = NULL);
  BOOL LoadToolBarResource(UINT nSmall, UINT nLarge = 0)
  {
    return LoadToolBarResource(MAKEINTRESOURCE(nSmall), nLarge != 0 ? MAKEINTRESOURCE(nLarge) : NULL);
  }
  BOOL AddToolBarResource(LPCTSTR lpszSmall, LPCTSTR lpszLarge = NULL);
  BOOL AddBitmapResource(LPCTSTR lpszBitmap, LPCTSTR lpszLarge, const UINT* pIDs, int nCount);
  BOOL AddBitmap(HBITMAP hSmall, HBITMAP hLarge, const UINT* pIDs, int nCount);
  void SetButtonMap(const SECBtnMapEntry* pMap) { m_pBtnMap = pMap; }
  const SECBtnMapEntry* GetButtonMap() const { return m_pBtnMap; }
  const SECBtnMapEntry* GetMenuButtonMap() const { return m_pMenuBtnMap; }
  // Takes ownership of a map built from menu resources (NULL clears).
  void SetMenuButtonMap(SECBtnMapEntry* pMap);
  // Builds the menu bar's buttons from menu resources; FALSE without a menu bar or entries.
  BOOL SetMenuInfo(int nCount, UINT nMenuID, ...);
  BOOL SetMenuInfoV(int nCount, const UINT* pMenuIDs);
  BOOL SetMenuBitMap(const UINT* pPairs, int nCount);
  void SetDefaultMenuBtns(int nCount, const UINT* pIDs);
  void GetDefaultMenuBtns(int& nCount, const UINT*& pIDs) const;
  SECBmpMgr* GetBmpMgr() const { return m_pBmpMgr; }
  SECBtnDrawCache* GetDrawCache();

  // Default toolbars
  void DefineDefaultToolBar(UINT nID, LPCTSTR lpszTitle, int nCount, const UINT* pBtnIDs,
                            DWORD dwDockStyle = CBRS_ALIGN_ANY, UINT nDockBarID = AFX_IDW_DOCKBAR_TOP,
                            UINT nBesideID = 0, BOOL bDocked = TRUE, BOOL bVisible = TRUE);
  BOOL DefineDefaultToolBarFromResource(UINT nID, LPCTSTR lpszTitle, UINT nResID,
                                        DWORD dwDockStyle = CBRS_ALIGN_ANY,
                                        UINT nDockBarID = AFX_IDW_DOCKBAR_TOP, UINT nBesideID = 0,
                                        BOOL bDocked = TRUE, BOOL bVisible = TRUE);
  BOOL GetDefaultButtons(UINT nID, int& nCount, const UINT*& pIDs) const;

  // Toolbars
  SECCustomToolBar* CreateNewToolBar(LPCTSTR lpszTitle = NULL);
  void InformBtns(UINT nID, UINT nKind, void* pData);
  CFrameWnd* GetFrameWnd() const { return m_pFrameWnd; }
  // Every customisable toolbar of the frame, in the frame's list order.
  void GetToolBars(std::vector<SECCustomToolBar*>& bars) const;
  SECMenuBar* GetFrameMenuBar() const;

  // Customisation
  int ExecuteToolBarsDlg();
  void EnterCustomizeMode();
  void ExitCustomizeMode();
  BOOL IsCustomizeMode() const { return m_bWindowsDisabled; }
  void EnableConfigMode(BOOL bEnable);
  BOOL IsConfigMode() const { return m_bConfigMode; }
  void SetCustomizeDlg(CWnd* pWnd) { m_pCustomizeDlg = pWnd; }
  CWnd* GetCustomizeDlg() const { return m_pCustomizeDlg; }
  void GetCustomizeDlgRect(CRect& rect) const;
  void AddNotifyWnd(CWnd* pWnd);
  void RemoveNotifyWnd(CWnd* pWnd);
  void NotifyBarChange(UINT nBarID, UINT nCode);
  BOOL GetCommandBtnRect(CRect& rect) const;
  CmdBtnRect* RetainCmdBtnRect();
  static void ReleaseCmdBtnRect(CmdBtnRect* p);

  DWORD ToolBarStyle() const;
  DWORD ToolBarExStyle() const { return m_bCoolLook ? 0x300 : 0; }

  CWnd* m_pOwner;
  CRuntimeClass* m_pToolBarClass;
  SECCustomToolBar* m_pSelectedBar;  // holds the customise selection

 protected:
  void Construct();
  void ApplyToBars(DWORD dwStyleBit, BOOL bSet);
  SECCustomToolBar* NewToolBar();

  CArray<HWND, HWND> m_disabledWnds;
  CPtrArray m_defaultBars;  // DefaultBar*, owned
  CPtrArray m_notifyWnds;   // CWnd*, not owned
  CWnd* m_pCustomizeDlg;
  BOOL m_bWindowsDisabled;
  BOOL m_bConfigMode;
  BOOL m_bToolTips, m_bFlyBy, m_bCoolLook, m_bLargeBtns;
  const SECBtnMapEntry* m_pBtnMap;
  SECBtnMapEntry* m_pMenuBtnMap;  // owned
  CmdBtnRect* m_pCmdBtnRect;
  std::vector<UINT> m_defaultMenuBtns;
  SECBmpMgr* m_pBmpMgr;
  SECBtnDrawCache* m_pDrawCache;
};

#endif  // QUORVEL_SECTOOLBARMANAGER_H
