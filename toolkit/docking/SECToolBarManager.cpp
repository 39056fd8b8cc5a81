// The toolbar manager.
#include "SECToolBarManager.h"
#include "SECBmpMgr.h"
#include "SECCustomToolBar.h"
#include "SECDockBar.h"
#include "SECFrameWnd.h"
#include "SECMenuBar.h"
#include "SECPersistentTree.h"
#include "SECToolBars_res.h"
#include "SECToolBarsDlg.h"
#include <afxpriv.h>
#include <cstdarg>

IMPLEMENT_DYNAMIC(SECToolBarManager, SECControlBarManager)

const UINT WM_BARNOTIFY = ::RegisterWindowMessageA("WM_BARNOTIFY");

SECToolBarManager::SECToolBarManager() : SECControlBarManager(NULL), m_pOwner(NULL) { Construct(); }

SECToolBarManager::SECToolBarManager(CFrameWnd* pFrameWnd, CWnd* pOwner)
    : SECControlBarManager(pFrameWnd), m_pOwner(pOwner)
{
  Construct();
}

void SECToolBarManager::Construct()
{
  m_pToolBarClass = RUNTIME_CLASS(SECCustomToolBar);
  m_pSelectedBar = NULL;
  m_pCustomizeDlg = NULL;
  m_bWindowsDisabled = FALSE;
  m_bConfigMode = FALSE;
  m_bToolTips = TRUE;
  m_bFlyBy = TRUE;
  m_bCoolLook = FALSE;
  m_bLargeBtns = FALSE;
  m_pBtnMap = NULL;
  m_pMenuBtnMap = NULL;
  m_pCmdBtnRect = new CmdBtnRect{1, FALSE, CRect(0, 0, 0, 0)};
  m_pBmpMgr = new SECBmpMgr;
  m_pDrawCache = NULL;
}

SECToolBarManager::~SECToolBarManager()
{
  m_pBmpMgr->Release();
  ReleaseCmdBtnRect(m_pCmdBtnRect);
  for (INT_PTR i = 0; i < m_defaultBars.GetSize(); i++)
    delete (DefaultBar*)m_defaultBars[i];
  delete[] m_pMenuBtnMap;
  delete m_pDrawCache;
}

SECBtnDrawCache* SECToolBarManager::GetDrawCache()
{
  if (m_pDrawCache == NULL)
    m_pDrawCache = new SECBtnDrawCache;
  return m_pDrawCache;
}

SECToolBarManager::CmdBtnRect* SECToolBarManager::RetainCmdBtnRect()
{
  m_pCmdBtnRect->nRef++;
  return m_pCmdBtnRect;
}

void SECToolBarManager::ReleaseCmdBtnRect(CmdBtnRect* p)
{
  if (p != NULL && --p->nRef <= 0)
    delete p;
}

BOOL SECToolBarManager::GetCommandBtnRect(CRect& rect) const
{
  if (m_pCmdBtnRect->bValid)
    rect = m_pCmdBtnRect->rect;
  return m_pCmdBtnRect->bValid;
}

void SECToolBarManager::GetToolBars(std::vector<SECCustomToolBar*>& bars) const
{
  bars.clear();
  if (m_pFrameWnd == NULL)
    return;
  POSITION pos = m_pFrameWnd->m_listControlBars.GetHeadPosition();
  while (pos != NULL) {
    CControlBar* p = (CControlBar*)m_pFrameWnd->m_listControlBars.GetNext(pos);
    if (p->IsKindOf(RUNTIME_CLASS(SECCustomToolBar)))
      bars.push_back((SECCustomToolBar*)p);
  }
}

SECMenuBar* SECToolBarManager::GetFrameMenuBar() const
{
  SECFrameWnd* pFrame = DYNAMIC_DOWNCAST(SECFrameWnd, m_pFrameWnd);
  return pFrame != NULL ? pFrame->m_pMenuBar : NULL;
}

DWORD SECToolBarManager::ToolBarStyle() const
{
  return WS_CHILD | WS_VISIBLE | CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM | CBRS_SIZE_DYNAMIC |
         (m_bFlyBy ? CBRS_FLYBY : 0) | (m_bToolTips ? CBRS_TOOLTIPS : 0);
}

// ---------------------------------------------------------------------------------------------
// Options

void SECToolBarManager::ApplyToBars(DWORD dwStyleBit, BOOL bSet)
{
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  for (SECCustomToolBar* p : bars)
    p->SetBarStyle(bSet ? p->GetBarStyle() | dwStyleBit : p->GetBarStyle() & ~dwStyleBit);
}

void SECToolBarManager::EnableToolTips(BOOL bEnable)
{
  if (!bEnable == !m_bToolTips)
    return;
  m_bToolTips = bEnable;
  ApplyToBars(CBRS_TOOLTIPS, bEnable);
}

void SECToolBarManager::EnableFlyBy(BOOL bEnable)
{
  if (!bEnable == !m_bFlyBy)
    return;
  m_bFlyBy = bEnable;
  ApplyToBars(CBRS_FLYBY, bEnable);
}

void SECToolBarManager::EnableCoolLook(BOOL bEnable, DWORD dwExStyle)
{
  if (!bEnable == !m_bCoolLook)
    return;
  m_bCoolLook = bEnable;
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  for (SECCustomToolBar* p : bars) {
    p->m_dwExStyle = bEnable ? p->m_dwExStyle | dwExStyle : p->m_dwExStyle & ~dwExStyle;
    p->m_bDirty[0] = p->m_bDirty[1] = p->m_bDirty[2] = TRUE;
    if ((dwExStyle & CBRS_EX_COOL) && p->m_hWnd != NULL)
      p->Invalidate();
  }
  if (m_pFrameWnd != NULL)
    m_pFrameWnd->DelayRecalcLayout(TRUE);
}

void SECToolBarManager::EnableLargeBtns(BOOL bEnable)
{
  if (!bEnable == !m_bLargeBtns)
    return;
  m_bLargeBtns = bEnable;
  ApplyLargeButtons();
}

void SECToolBarManager::ApplyBtnSizes(SECCustomToolBar* pBar)
{
  if (pBar != NULL)
    pBar->ApplyBtnSizes();
}

BOOL SECToolBarManager::ApplyLargeButtons()
{
  m_pBmpMgr->SetSmallImages(!m_bLargeBtns);
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  for (SECCustomToolBar* p : bars) {
    ApplyBtnSizes(p);
    if (p->IsFloating()) {
      CFrameWnd* pMini = p->GetParentFrame();
      if (pMini != NULL)
        pMini->RecalcLayout();
    }
  }
  if (!bars.empty() && m_pFrameWnd != NULL)
    m_pFrameWnd->DelayRecalcLayout(TRUE);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Images and maps

BOOL SECToolBarManager::LoadToolBarResource(LPCTSTR lpszSmall, LPCTSTR lpszLarge)
{
  return m_pBmpMgr->AddToolBarResource(lpszSmall, lpszLarge, TRUE);
}

BOOL SECToolBarManager::AddToolBarResource(LPCTSTR lpszSmall, LPCTSTR lpszLarge)
{
  return m_pBmpMgr->AddToolBarResource(lpszSmall, lpszLarge, TRUE);
}

BOOL SECToolBarManager::AddBitmapResource(LPCTSTR lpszBitmap, LPCTSTR lpszLarge, const UINT* pIDs,
                                          int nCount)
{
  return m_pBmpMgr->AddBitmapResource(lpszBitmap, lpszLarge, pIDs, nCount, TRUE);
}

BOOL SECToolBarManager::AddBitmap(HBITMAP hSmall, HBITMAP hLarge, const UINT* pIDs, int nCount)
{
  return m_pBmpMgr->AddBitmap(hSmall, hLarge, pIDs, nCount);
}

void SECToolBarManager::SetMenuButtonMap(SECBtnMapEntry* pMap)
{
  if (pMap != m_pMenuBtnMap)
    delete[] m_pMenuBtnMap;
  m_pMenuBtnMap = pMap;
}

void SECToolBarManager::SetDefaultMenuBtns(int nCount, const UINT* pIDs)
{
  m_defaultMenuBtns.assign(pIDs, pIDs + (nCount > 0 ? nCount : 0));
}

void SECToolBarManager::GetDefaultMenuBtns(int& nCount, const UINT*& pIDs) const
{
  nCount = (int)m_defaultMenuBtns.size();
  pIDs = m_defaultMenuBtns.empty() ? NULL : m_defaultMenuBtns.data();
}

BOOL SECToolBarManager::SetMenuInfo(int nCount, UINT nMenuID, ...)
{
  va_list args;
  va_start(args, nMenuID);
  std::vector<UINT> ids = SECMenuIDList(nCount, nMenuID, args);
  va_end(args);
  return SetMenuInfoV((int)ids.size(), ids.data());
}

BOOL SECToolBarManager::SetMenuInfoV(int nCount, const UINT* pMenuIDs)
{
  SECMenuBar* pBar = GetFrameMenuBar();
  if (pBar == NULL)
    return FALSE;
  return pBar->BuildMenuInfo(this, nCount, pMenuIDs);
}

BOOL SECToolBarManager::SetMenuBitMap(const UINT* pPairs, int nCount)
{
  SECMenuBar* pBar = GetFrameMenuBar();
  if (pBar == NULL)
    return FALSE;
  pBar->m_menuMasks.RemoveAll();
  for (int i = 0; i < nCount; i++)
    pBar->m_menuMasks.SetAt(pPairs[2 * i], pPairs[2 * i + 1]);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Default toolbars

void SECToolBarManager::DefineDefaultToolBar(UINT nID, LPCTSTR lpszTitle, int nCount,
                                             const UINT* pBtnIDs, DWORD dwDockStyle,
                                             UINT nDockBarID, UINT nBesideID, BOOL bDocked,
                                             BOOL bVisible)
{
  DefaultBar* p = new DefaultBar;
  p->nID = nID;
  p->strTitle = lpszTitle != NULL ? lpszTitle : "";
  p->nCount = nCount;
  p->pBtnIDs = pBtnIDs;
  p->dwDockStyle = dwDockStyle;
  p->nDockBarID = nDockBarID;
  p->nBesideID = nBesideID;
  p->bDocked = bDocked;
  p->bVisible = bVisible;
  m_defaultBars.Add(p);
}

BOOL SECToolBarManager::DefineDefaultToolBarFromResource(UINT nID, LPCTSTR lpszTitle, UINT nResID,
                                                         DWORD dwDockStyle, UINT nDockBarID,
                                                         UINT nBesideID, BOOL bDocked, BOOL bVisible)
{
  CSize size;
  CDWordArray ids;
  if (!SECReadToolBarResource(MAKEINTRESOURCE(nResID), size, ids))
    return FALSE;
  // the id list lives as long as the manager: kept with the resource's copy
  static std::vector<std::vector<UINT>> s_lists;
  s_lists.emplace_back(ids.GetData(), ids.GetData() + ids.GetSize());
  DefineDefaultToolBar(nID, lpszTitle, (int)ids.GetSize(), s_lists.back().data(), dwDockStyle,
                       nDockBarID, nBesideID, bDocked, bVisible);
  return TRUE;
}

BOOL SECToolBarManager::GetDefaultButtons(UINT nID, int& nCount, const UINT*& pIDs) const
{
  for (INT_PTR i = 0; i < m_defaultBars.GetSize(); i++) {
    DefaultBar* p = (DefaultBar*)m_defaultBars[i];
    if (p->nID == nID) {
      nCount = p->nCount;
      pIDs = p->pBtnIDs;
      return TRUE;
    }
  }
  return FALSE;
}

SECCustomToolBar* SECToolBarManager::NewToolBar()
{
  CObject* pObj = m_pToolBarClass != NULL ? m_pToolBarClass->CreateObject() : NULL;
  SECCustomToolBar* pBar = pObj != NULL ? DYNAMIC_DOWNCAST(SECCustomToolBar, pObj) : NULL;
  if (pBar == NULL) {
    delete pObj;
    return NULL;
  }
  if (m_pOwner != NULL)
    pBar->SetOwner(m_pOwner);
  pBar->SetManager(this);
  pBar->SetBmpMgr(m_pBmpMgr);
  return pBar;
}

void SECToolBarManager::CreateDefaultBars()
{
  if (m_pFrameWnd == NULL)
    return;
  SECFrameWnd* pSECFrame = DYNAMIC_DOWNCAST(SECFrameWnd, m_pFrameWnd);
  SECMenuBar* pMenuBar = GetFrameMenuBar();
  if (pMenuBar != NULL && pMenuBar->m_hWnd == NULL) {
    CString strTitle;
    strTitle.LoadString(IDS_SEC_MENUBAR);
    pMenuBar->SetManager(this);
    pMenuBar->SetBmpMgr(m_pBmpMgr);
    if (m_pOwner != NULL)
      pMenuBar->SetOwner(m_pOwner);
    if (pMenuBar->CreateEx(ToolBarExStyle(), m_pFrameWnd, ToolBarStyle(), SEC_IDW_MENUBAR, strTitle)) {
      ApplyBtnSizes(pMenuBar);
      pMenuBar->ResetMenuButtons(TRUE);
      pMenuBar->EnableDocking(CBRS_ALIGN_ANY);
      if (pSECFrame != NULL)
        pSECFrame->DockControlBar(pMenuBar, AFX_IDW_DOCKBAR_TOP);
      else
        m_pFrameWnd->DockControlBar(pMenuBar, AFX_IDW_DOCKBAR_TOP);
    }
  }
  std::vector<SECCustomToolBar*> made;
  for (INT_PTR i = 0; i < m_defaultBars.GetSize(); i++) {
    DefaultBar* d = (DefaultBar*)m_defaultBars[i];
    SECCustomToolBar* pBar = NewToolBar();
    if (pBar == NULL)
      break;
    if (!pBar->CreateEx(ToolBarExStyle(), m_pFrameWnd, ToolBarStyle(), d->nID, d->strTitle)) {
      delete pBar;
      break;
    }
    ApplyBtnSizes(pBar);
    pBar->SetButtons(d->pBtnIDs, d->nCount);
    pBar->EnableDocking(d->dwDockStyle);
    pBar->m_bAutoDelete = TRUE;
    made.push_back(pBar);
    CControlBar* pBeside = d->nBesideID != 0 ? ToolBarFromID(d->nBesideID) : NULL;
    if (pBeside != NULL) {
      m_pFrameWnd->RecalcLayout();
      CRect rc;
      pBeside->GetWindowRect(&rc);
      if (d->nDockBarID == AFX_IDW_DOCKBAR_TOP || d->nDockBarID == AFX_IDW_DOCKBAR_BOTTOM)
        rc.OffsetRect(1, 0);
      else
        rc.OffsetRect(0, 1);
      if (pSECFrame != NULL)
        pSECFrame->DockControlBar(pBar, d->nDockBarID, &rc);
      else
        m_pFrameWnd->DockControlBar(pBar, d->nDockBarID, &rc);
    } else if (pSECFrame != NULL) {
      pSECFrame->DockControlBar(pBar, d->nDockBarID);  // beside a bar that is not there: no position
    } else {
      m_pFrameWnd->DockControlBar(pBar, d->nDockBarID);
    }
  }
  m_pFrameWnd->RecalcLayout();
  for (size_t i = 0; i < made.size(); i++) {
    DefaultBar* d = (DefaultBar*)m_defaultBars[(INT_PTR)i];
    if (!d->bVisible) {
      if (pSECFrame != NULL)
        pSECFrame->ShowControlBar(made[i], FALSE, FALSE);
      else
        m_pFrameWnd->ShowControlBar(made[i], FALSE, FALSE);
    }
    if (!d->bDocked && made[i]->m_pDockContext != NULL)
      made[i]->m_pDockContext->ToggleDocking();
  }
}

// ---------------------------------------------------------------------------------------------
// Toolbars

SECCustomToolBar* SECToolBarManager::CreateNewToolBar(LPCTSTR lpszTitle)
{
  if (m_pFrameWnd == NULL)
    return NULL;
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  UINT nID = SEC_IDW_FIRST_USERBAR;
  for (bool bAgain = true; bAgain;) {
    bAgain = false;
    for (SECCustomToolBar* p : bars)
      if (p->m_hWnd != NULL && (UINT)p->GetDlgCtrlID() == nID) {
        nID++;
        bAgain = true;
        break;
      }
    if (nID >= 0xE900)
      return NULL;
  }
  if (nID >= SEC_IDW_MENUBAR)
    return NULL;  // the menu bar's id is never a user toolbar's
  SECCustomToolBar* pBar = NewToolBar();
  if (pBar == NULL)
    return NULL;
  // the whole name, however long the dialog let it be
  CString strTitle;
  if (lpszTitle != NULL) {
    strTitle = lpszTitle;
  } else {
    CString strFmt;
    if (!strFmt.LoadString(IDS_SEC_TOOLBAR_FMT))
      strFmt = "ToolBar%d";
    strTitle.Format(strFmt, (int)(nID - (SEC_IDW_FIRST_USERBAR - 1)));
  }
  if (!pBar->CreateEx(ToolBarExStyle(), m_pFrameWnd, ToolBarStyle(), nID, strTitle)) {
    delete pBar;
    return NULL;
  }
  ApplyBtnSizes(pBar);
  pBar->SetConfigMode(m_bConfigMode);
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  pBar->m_bAutoDelete = TRUE;
  return pBar;
}

SECCustomToolBar* SECToolBarManager::ToolBarFromRect(const CRect& rectScreen)
{
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  for (SECCustomToolBar* p : bars) {
    if (p->m_hWnd == NULL || !p->IsWindowVisible())
      continue;
    CRect rc;
    CWnd* pWnd = p->IsFloating() ? (CWnd*)p->GetParentFrame() : (CWnd*)p;
    pWnd->GetWindowRect(&rc);
    CRect rcAnd;
    if (rcAnd.IntersectRect(&rc, &rectScreen))
      return p;
  }
  return NULL;
}

SECCustomToolBar* SECToolBarManager::ToolBarFromID(UINT nID)
{
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  for (SECCustomToolBar* p : bars)
    if (p->m_hWnd != NULL && (UINT)p->GetDlgCtrlID() == nID)
      return p;
  return NULL;
}

void SECToolBarManager::InformBtns(UINT nID, UINT nKind, void* pData)
{
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  for (SECCustomToolBar* p : bars)
    p->InformBtn(nID, nKind, pData, FALSE);
}

void SECToolBarManager::ConnectBars()
{
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  if (bars.empty()) {
    CreateDefaultBars();
    return;
  }
  for (SECCustomToolBar* p : bars) {
    p->SetManager(this);
    p->SetBmpMgr(m_pBmpMgr);
    if (p->m_hWnd != NULL)
      p->Invalidate();
  }
}

// ---------------------------------------------------------------------------------------------
// Customisation

int SECToolBarManager::ExecuteToolBarsDlg()
{
  SECToolBarsDlg dlg(m_pFrameWnd);
  dlg.SetManager(this);
  return (int)dlg.DoModal();
}

void SECToolBarManager::EnterCustomizeMode()
{
  if (m_bWindowsDisabled || m_pFrameWnd == NULL || m_pFrameWnd->m_hWnd == NULL)
    return;
  m_bWindowsDisabled = TRUE;
  m_pFrameWnd->EnableWindow(TRUE);
  for (HWND h = ::GetWindow(m_pFrameWnd->m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
    CWnd* pWnd = CWnd::FromHandlePermanent(h);
    BOOL bDock = pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(CControlBar)) &&
                 ((CControlBar*)pWnd)->IsDockBar();
    if (::IsWindowEnabled(h) && !bDock) {
      m_disabledWnds.Add(h);
      ::EnableWindow(h, FALSE);
    }
  }
}

void SECToolBarManager::ExitCustomizeMode()
{
  if (!m_bWindowsDisabled)
    return;
  m_bWindowsDisabled = FALSE;
  if (m_pFrameWnd != NULL && m_pFrameWnd->m_hWnd != NULL)
    m_pFrameWnd->EnableWindow(FALSE);
  for (INT_PTR i = 0; i < m_disabledWnds.GetSize(); i++)
    if (::IsWindow(m_disabledWnds[i]))
      ::EnableWindow(m_disabledWnds[i], TRUE);
  m_disabledWnds.RemoveAll();
}

void SECToolBarManager::EnableConfigMode(BOOL bEnable)
{
  m_bConfigMode = bEnable;
  std::vector<SECCustomToolBar*> bars;
  GetToolBars(bars);
  for (SECCustomToolBar* p : bars)
    p->SetConfigMode(bEnable);
}

void SECToolBarManager::GetCustomizeDlgRect(CRect& rect) const
{
  rect.SetRectEmpty();
  if (m_pCustomizeDlg != NULL && m_pCustomizeDlg->m_hWnd != NULL)
    m_pCustomizeDlg->GetWindowRect(&rect);
}

void SECToolBarManager::AddNotifyWnd(CWnd* pWnd)
{
  for (INT_PTR i = 0; i < m_notifyWnds.GetSize(); i++)
    if (m_notifyWnds[i] == pWnd)
      return;
  m_notifyWnds.Add(pWnd);
}

void SECToolBarManager::RemoveNotifyWnd(CWnd* pWnd)
{
  for (INT_PTR i = m_notifyWnds.GetSize() - 1; i >= 0; i--)
    if (m_notifyWnds[i] == pWnd)
      m_notifyWnds.RemoveAt(i);
}

void SECToolBarManager::NotifyBarChange(UINT nBarID, UINT nCode)
{
  CPtrArray wnds;
  wnds.Copy(m_notifyWnds);
  for (INT_PTR i = 0; i < wnds.GetSize(); i++) {
    CWnd* pWnd = (CWnd*)wnds[i];
    if (pWnd->m_hWnd != NULL && ::IsWindow(pWnd->m_hWnd))
      pWnd->SendMessage(WM_BARNOTIFY, nBarID, nCode);
  }
}

// ---------------------------------------------------------------------------------------------
// Dock state and saved options

DWORD SECToolBarManager::GetBarTypeID(CWnd* pWnd)
{
  if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(SECMenuBar)))
    return SEC_BARTYPE_MENUBAR;
  if (pWnd != NULL && pWnd->IsKindOf(RUNTIME_CLASS(SECCustomToolBar)))
    return SEC_BARTYPE_TOOLBAR;
  return SECControlBarManager::GetBarTypeID(pWnd);
}

SECControlBarInfoEx* SECToolBarManager::CreateBarInfo(DWORD dwTypeID)
{
  if (dwTypeID == SEC_BARTYPE_TOOLBAR || dwTypeID == SEC_BARTYPE_MENUBAR)
    return new SECCustomToolBarInfoEx;
  return NULL;
}

CControlBar* SECToolBarManager::CreateBar(SECControlBarInfo* pInfo)
{
  if (pInfo == NULL || m_pFrameWnd == NULL)
    return NULL;
  SECCustomToolBar* pBar = NULL;
  if (pInfo->m_dwTypeID == SEC_BARTYPE_TOOLBAR) {
    pBar = NewToolBar();
    if (pBar != NULL)
      pBar->m_bAutoDelete = TRUE;
  } else if (pInfo->m_dwTypeID == SEC_BARTYPE_MENUBAR) {
    pBar = GetFrameMenuBar();
    if (pBar != NULL && pBar->m_hWnd != NULL)
      return NULL;  // it stands already
    if (pBar != NULL) {
      pBar->SetManager(this);
      pBar->SetBmpMgr(m_pBmpMgr);
    }
  }
  if (pBar == NULL)
    return SECControlBarManager::CreateBar(pInfo);
  if (!pBar->CreateEx(ToolBarExStyle(), m_pFrameWnd, ToolBarStyle(), pInfo->m_nBarID, NULL)) {
    if (pBar->m_bAutoDelete)
      delete pBar;
    return NULL;
  }
  ApplyBtnSizes(pBar);
  pBar->EnableDocking(CBRS_ALIGN_ANY);
  return pBar;
}

void SECToolBarManager::SaveState(LPCTSTR lpszProfileName)
{
  CWinApp* pApp = AfxGetApp();
  if (pApp == NULL || lpszProfileName == NULL)
    return;
  CString strSection;
  strSection.Format("%.255s-ToolBarManager", lpszProfileName);
  pApp->WriteProfileInt(strSection, "ToolTips", m_bToolTips ? 1 : 0);
  pApp->WriteProfileInt(strSection, "CoolLook", m_bCoolLook ? 1 : 0);
  pApp->WriteProfileInt(strSection, "LargeButtons", m_bLargeBtns ? 1 : 0);
}

void SECToolBarManager::LoadState(LPCTSTR lpszProfileName)
{
  CWinApp* pApp = AfxGetApp();
  if (pApp != NULL && lpszProfileName != NULL) {
    CString strSection;
    strSection.Format("%.255s-ToolBarManager", lpszProfileName);
    EnableToolTips(pApp->GetProfileInt(strSection, "ToolTips", m_bToolTips) != 0);
    EnableCoolLook(pApp->GetProfileInt(strSection, "CoolLook", m_bCoolLook) != 0, 0x300);
    EnableLargeBtns(pApp->GetProfileInt(strSection, "LargeButtons", m_bLargeBtns) != 0);
  }
  ConnectBars();
}

BOOL SECToolBarManager::SaveState(SECPTNFactory& factory, SECPersistentTreeNode* pNode)
{
  if (pNode == NULL || pNode->FindChild("ToolBarMgr") != NULL)
    return FALSE;
  SECPersistentTreeNode* pChild = factory.CreateNode("ToolBarMgr", pNode);
  if (pChild == NULL)
    return FALSE;
  pChild->SetBoolValue("ToolTips", m_bToolTips, TRUE);
  pChild->SetBoolValue("CoolLook", m_bCoolLook, TRUE);
  pChild->SetBoolValue("LargeButtons", m_bLargeBtns, TRUE);
  return TRUE;
}

BOOL SECToolBarManager::LoadState(SECPersistentTreeNode* pNode)
{
  SECPersistentTreeNode* pChild = pNode != NULL ? pNode->FindChild("ToolBarMgr") : NULL;
  if (pChild == NULL) {
    m_bLargeBtns = FALSE;
    m_bToolTips = TRUE;
    m_bCoolLook = TRUE;
  } else {
    BOOL bToolTips, bCool, bLarge;
    pChild->GetBoolValue("ToolTips", bToolTips, TRUE);
    pChild->GetBoolValue("CoolLook", bCool, TRUE);
    pChild->GetBoolValue("LargeButtons", bLarge, TRUE);
    EnableToolTips(bToolTips);
    EnableCoolLook(bCool, 0x300);
    EnableLargeBtns(bLarge);
  }
  ConnectBars();
  return pNode != NULL;
}
