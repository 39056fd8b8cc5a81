// The menu bar and its frame plug-in.
#include "SECMenuBar.h"
#include "SECDocTemplateUtils.h"
#include "SECFrameWnd.h"
#include "SECToolBarManager.h"
#include <afxpriv.h>
#include <cstdarg>

IMPLEMENT_DYNAMIC(SECMenuBar, SECCustomToolBar)
IMPLEMENT_DYNAMIC(SECMenuBarFeature, SECBmpMenuPlugIn)

namespace {
const UINT WM_SEC_MENUPROD = ::RegisterWindowMessageA("WM_SEC_MENUPROD");

// Reads a NUL-terminated UTF-16 string inside [p, end); the position after it, or NULL.
const BYTE* ReadText(const BYTE* p, const BYTE* end, CString* pText)
{
  const BYTE* q = p;
  while (q + 1 < end && (q[0] | q[1]) != 0)
    q += 2;
  if (q + 1 >= end)
    return NULL;
  if (pText != NULL) {
    int nChars = (int)((q - p) / 2);
    std::vector<WCHAR> w(nChars + 1, 0);
    memcpy(w.data(), p, nChars * 2);
    int n = ::WideCharToMultiByte(CP_ACP, 0, w.data(), nChars, NULL, 0, NULL, NULL);
    std::vector<char> a(n + 1, 0);
    ::WideCharToMultiByte(CP_ACP, 0, w.data(), nChars, a.data(), n, NULL, NULL);
    *pText = a.data();
  }
  return q + 2;
}

WORD Word(const BYTE* p) { return (WORD)(p[0] | (p[1] << 8)); }
DWORD DWord(const BYTE* p) { return (DWORD)(p[0] | (p[1] << 8) | (p[2] << 16) | ((DWORD)p[3] << 24)); }

// Items of one level of a standard template; the position after the level, or NULL.
const BYTE* WalkStd(const BYTE* p, const BYTE* end, CStringArray* pTexts, int nDepth)
{
  if (nDepth > 32)
    return NULL;
  for (;;) {
    if (p + 2 > end)
      return NULL;
    WORD wFlags = Word(p);
    p += 2;
    if (!(wFlags & MF_POPUP)) {
      if (p + 2 > end)
        return NULL;
      p += 2;
    }
    CString str;
    p = ReadText(p, end, pTexts != NULL ? &str : NULL);
    if (p == NULL)
      return NULL;
    if (pTexts != NULL)
      pTexts->Add(str);
    if (wFlags & MF_POPUP) {
      p = WalkStd(p, end, NULL, nDepth + 1);
      if (p == NULL)
        return NULL;
    }
    if (wFlags & MF_END)
      return p;
  }
}

const BYTE* Align4(const BYTE* p, const BYTE* base)
{
  return base + (((p - base) + 3) & ~(ptrdiff_t)3);
}

const BYTE* WalkEx(const BYTE* p, const BYTE* end, const BYTE* base, CStringArray* pTexts, int nDepth)
{
  if (nDepth > 32)
    return NULL;
  for (;;) {
    p = Align4(p, base);
    if (p + 14 > end)
      return NULL;
    WORD wResInfo = Word(p + 12);
    p += 14;
    CString str;
    p = ReadText(p, end, pTexts != NULL ? &str : NULL);
    if (p == NULL)
      return NULL;
    if (pTexts != NULL)
      pTexts->Add(str);
    if (wResInfo & 0x01) {
      p = Align4(p, base);
      if (p + 4 > end)
        return NULL;
      p += 4;  // help id
      p = WalkEx(p, end, base, NULL, nDepth + 1);
      if (p == NULL)
        return NULL;
    }
    if (wResInfo & 0x80)
      return p;
  }
}

BOOL LoadMenuTemplate(UINT nMenuID, const BYTE*& pData, DWORD& nBytes)
{
  HINSTANCE hInst = AfxFindResourceHandle(MAKEINTRESOURCE(nMenuID), RT_MENU);
  HRSRC hRsrc = ::FindResourceA(hInst, MAKEINTRESOURCEA(nMenuID), (LPCSTR)RT_MENU);
  if (hRsrc == NULL)
    return FALSE;
  nBytes = ::SizeofResource(hInst, hRsrc);
  HGLOBAL h = ::LoadResource(hInst, hRsrc);
  pData = h != NULL ? (const BYTE*)::LockResource(h) : NULL;
  return pData != NULL;
}
}  // namespace

BOOL SECMenuTemplateTopItems(const BYTE* pData, DWORD nBytes, CStringArray& texts)
{
  texts.RemoveAll();
  if (pData == NULL || nBytes < 4)
    return FALSE;
  const BYTE* end = pData + nBytes;
  WORD wVersion = Word(pData), wOffset = Word(pData + 2);
  if (wVersion == 0) {
    const BYTE* p = pData + 4 + wOffset;
    if (p > end)
      return FALSE;
    return WalkStd(p, end, &texts, 0) != NULL;
  }
  if (wVersion == 1) {
    const BYTE* p = pData + 4 + wOffset;
    if (p > end || nBytes < 8)
      return FALSE;
    return WalkEx(p, end, pData, &texts, 0) != NULL;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Menu bar

BEGIN_MESSAGE_MAP(SECMenuBar, SECCustomToolBar)
  ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChange)
END_MESSAGE_MAP()

SECMenuBar::SECMenuBar()
    : m_bFloated(FALSE), m_hMenuFont(SECCreateMenuFont(FALSE)), m_dwMask((DWORD)-1), m_nMenuID(0)
{
  m_menuMasks.InitHashTable(17);
}

SECMenuBar::~SECMenuBar()
{
  if (m_hWnd != NULL && ::IsWindow(m_hWnd))
    DestroyWindow();
  DeleteAllButtons();
  if (m_hMenuFont != NULL)
    ::DeleteObject(m_hMenuFont);
}

BOOL SECMenuBar::CreateEx(DWORD dwExStyle, CWnd* pParentWnd, DWORD dwStyle, UINT nID, LPCTSTR lpszTitle)
{
  return SECCustomToolBar::CreateEx(dwExStyle | CBRS_EX_OWNROW, pParentWnd, dwStyle | CBRS_HIDE_INPLACE,
                                    nID, lpszTitle);
}

BOOL SECMenuBar::BuildMenuInfo(SECToolBarManager* pMgr, int nCount, const UINT* pMenuIDs)
{
  m_menuMasks.RemoveAll();
  m_menuTexts.clear();
  std::vector<CStringArray*> texts;
  size_t nTotal = 0;
  for (int i = 0; i < nCount; i++) {
    CStringArray* p = new CStringArray;
    const BYTE* pData = NULL;
    DWORD nBytes = 0;
    if (!LoadMenuTemplate(pMenuIDs[i], pData, nBytes) || !SECMenuTemplateTopItems(pData, nBytes, *p)) {
      delete p;
      p = NULL;
    }
    texts.push_back(p);
    if (p != NULL)
      nTotal += (size_t)p->GetSize();
  }
  SECBtnMapEntry* pMap = new SECBtnMapEntry[nTotal + 1];
  memset(pMap, 0, sizeof(SECBtnMapEntry) * (nTotal + 1));
  m_menuTexts.reserve(nTotal);
  std::vector<UINT> ids;
  UINT nNextID = 0x80000001;
  DWORD dwBit = 1;
  size_t n = 0;
  for (int i = 0; i < nCount; i++) {
    CStringArray* p = texts[i];
    if (p == NULL)
      continue;  // a menu that cannot be loaded: no bit, no entries
    for (INT_PTR k = 0; k < p->GetSize(); k++) {
      m_menuTexts.push_back(p->GetAt(k));
      SECBtnMapEntry& e = pMap[n++];
      e.m_pBtnClass = &SECTBMenuBtn::classSECTBMenuBtn;
      e.m_nID = nNextID++;
      e.m_nStyle = SEC_TBBS_NOAUTODISABLE | SEC_TBBS_VCENTER;
      e.m_nParams[0] = pMenuIDs[i];
      e.m_nParams[1] = (UINT_PTR)k;
      e.m_nParams[2] = (UINT_PTR)(LPCTSTR)m_menuTexts.back();
      e.m_nParams[3] = dwBit;
      ids.push_back(e.m_nID);
    }
    m_menuMasks.SetAt(pMenuIDs[i], dwBit);
    dwBit <<= 1;
    delete p;
  }
  if (pMgr != NULL) {
    pMgr->SetMenuButtonMap(pMap);
    pMgr->SetDefaultMenuBtns((int)ids.size(), ids.data());
  } else {
    delete[] m_pMenuBtnMap;
    m_pMenuBtnMap = pMap;
    SetButtons(ids.data(), (int)ids.size());
    ApplyMenuMask(m_dwMask, FALSE);
  }
  return !ids.empty();
}

std::vector<UINT> SECMenuIDList(int nCount, UINT nFirst, va_list args)
{
  std::vector<UINT> ids;
  if (nCount > 0)
    ids.push_back(nFirst);
  for (int i = 1; i < nCount; i++)
    ids.push_back(va_arg(args, UINT));
  return ids;
}

BOOL SECMenuBar::SetMenuInfo(int nCount, UINT nMenuID, ...)
{
  va_list args;
  va_start(args, nMenuID);
  std::vector<UINT> ids = SECMenuIDList(nCount, nMenuID, args);
  va_end(args);
  return BuildMenuInfo(NULL, (int)ids.size(), ids.data());
}

void SECMenuBar::ApplyMenuMask(DWORD dwMask, BOOL bRedraw)
{
  m_dwMask = dwMask;
  for (int i = 0; i < GetBtnCount(); i++) {
    SECStdBtn* p = GetButton(i);
    if (p->m_nType != SEC_BTNTYPE_MENU)
      continue;
    HideButton(i, (((SECTBMenuBtn*)p)->m_dwMask & dwMask) == 0);
  }
  if (bRedraw && m_hWnd != NULL) {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
      pFrame->RecalcLayout();
    Invalidate();
  }
}

void SECMenuBar::ResetMenuButtons(BOOL bNoRedraw)
{
  ClearSelection(FALSE);
  DeleteAllButtons();
  SECToolBarManager* pMgr = GetManager();
  std::vector<UINT> ids;
  if (pMgr != NULL) {
    int n = 0;
    const UINT* p = NULL;
    pMgr->GetDefaultMenuBtns(n, p);
    ids.assign(p, p + n);
  } else {
    for (const SECBtnMapEntry* e = m_pMenuBtnMap; e != NULL && e->m_pBtnClass != NULL; e++)
      ids.push_back(e->m_nID);
  }
  SetButtons(ids.data(), (int)ids.size());
  ApplyMenuMask(m_dwMask, !bNoRedraw);
}

int SECMenuBar::FindMnemonic(TCHAR c)
{
  for (int i = 0; i < GetBtnCount(); i++) {
    SECStdBtn* p = GetButton(i);
    if (p->m_nType == SEC_BTNTYPE_MENU && !(p->m_nStyle & SEC_TBBS_HIDDEN) &&
        ((SECTBMenuBtn*)p)->m_cMnemonic == c)
      return i;
  }
  return -1;
}

void SECMenuBar::InsertButton(int nIndex, UINT nID, BOOL bSeparator, BOOL bNoRedraw)
{
  SECCustomToolBar::InsertButton(nIndex, nID, bSeparator, TRUE);
  ApplyMenuMask(m_dwMask, FALSE);
  if (!bNoRedraw && m_hWnd != NULL) {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
      pFrame->RecalcLayout();
    Invalidate();
  }
}

BOOL SECMenuBar::SwitchMenu(UINT nMenuID)
{
  DWORD dwBit = 0;
  if (!m_menuMasks.Lookup(nMenuID, dwBit)) {
    // The frames that hold floating bars (resource 20514) show the main window's own menu.
    CWinApp* pApp = AfxGetApp();
    CFrameWnd* pMain = pApp != NULL ? DYNAMIC_DOWNCAST(CFrameWnd, pApp->m_pMainWnd) : NULL;
    SECDocTemplateUtils utils;
    if (nMenuID != 20514 || pMain == NULL ||
        !m_menuMasks.Lookup(utils.GetFrameResourceId(pMain), dwBit))
      return FALSE;
  }
  ApplyMenuMask(dwBit, FALSE);
  m_nMenuID = nMenuID;
  return TRUE;
}

BOOL SECMenuBar::LoadMenuButtons(UINT nMenuID)
{
  CMenu menu;
  if (!menu.LoadMenu(nMenuID))
    return FALSE;
  int n = (int)menu.GetMenuItemCount();
  std::vector<UINT> ids;
  for (int i = 0; i < n; i++)
    ids.push_back((UINT)i | 0x80000000);
  SetButtons(ids.data(), (int)ids.size());
  return TRUE;
}

void SECMenuBar::OpenSystemMenu()
{
  SECStdBtn* pOpen = GetButton(m_nOpenMenu);
  if (pOpen != NULL) {
    pOpen->m_nStyle &= ~SEC_TBBS_PRESSED;
    pOpen->Invalidate();
  }
  m_nOpenMenu = -1;
  SECTBNotify nm;
  memset(&nm, 0, sizeof(nm));
  nm.hdr.hwndFrom = m_hWnd;
  nm.hdr.idFrom = (UINT_PTR)GetDlgCtrlID();
  nm.hdr.code = SEC_TBN_OPENMENU;
  nm.nIndex = -1;
  nm.nParam1 = 0;
  nm.nParam2 = -1;
  CWnd* pOwner = GetOwner();
  HWND hOwner = pOwner != NULL ? pOwner->GetSafeHwnd() : ::GetParent(m_hWnd);
  ::SendMessageA(hOwner, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

void SECMenuBar::SelectAdjacentMenu(BOOL bForward)
{
  int n;
  if (m_nOpenMenu < 0)
    n = bForward ? FirstMenuButton() : LastMenuButton();  // from the system menu
  else
    n = NextMenuButton(bForward);
  if (n < 0)
    OpenSystemMenu();
  else
    OpenMenuButton(n);
}

void SECMenuBar::OnBarStyleChange(DWORD dwOldStyle, DWORD dwNewStyle)
{
  if (!(dwOldStyle & CBRS_FLOATING) && (dwNewStyle & CBRS_FLOATING))
    m_bFloated = TRUE;
  SECCustomToolBar::OnBarStyleChange(dwOldStyle, dwNewStyle);
}

DWORD SECMenuBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
  DWORD dw = SECCustomToolBar::RecalcDelayShow(lpLayout);
  if (m_bFloated && IsFloating()) {
    CWnd* pMini = GetParentFrame();
    if (pMini != NULL && (pMini->GetStyle() & WS_SYSMENU)) {
      pMini->ModifyStyle(WS_SYSMENU, 0, SWP_FRAMECHANGED);
      m_bFloated = FALSE;
    }
  }
  return dw;
}

LRESULT SECMenuBar::OnSettingChange(WPARAM, LPARAM)
{
  if (m_hMenuFont != NULL)
    ::DeleteObject(m_hMenuFont);
  m_hMenuFont = SECCreateMenuFont(FALSE);
  ApplyBtnSizes();
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != NULL)
    pFrame->RecalcLayout();
  Invalidate();
  return 0;
}

// ---------------------------------------------------------------------------------------------
// The plug-in: process-wide state of the one popup that can be open

namespace {
HHOOK s_hHook = NULL;
HWND s_hWndOpenBar = NULL;
SECMenuBarFeature* s_pActive = NULL;
BOOL s_bSysBox = FALSE;
SECTBNotify* s_pQueued = NULL;
CPoint s_ptLast(-32768, -32768);
}  // namespace

BEGIN_MESSAGE_MAP(SECMenuBarFeature, SECBmpMenuPlugIn)
  ON_MESSAGE(WM_SYSCOMMAND, OnSysCommandMsg)
  ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupFeature)
  ON_MESSAGE(WM_MENUSELECT, OnMenuSelectMsg)
  ON_REGISTERED_MESSAGE(WM_SEC_MENUPROD, OnMenuProd)
  ON_MESSAGE(WM_NCACTIVATE, OnNcActivateMsg)
END_MESSAGE_MAP()

SECMenuBarFeature::SECMenuBarFeature() : SECBmpMenuPlugIn(TRUE) {}

SECMenuBarFeature::~SECMenuBarFeature()
{
  if (s_pActive == this)
    s_pActive = NULL;
}

BOOL SECMenuBarFeature::IsPopupOpen() { return s_hWndOpenBar != NULL; }

BOOL SECMenuBarFeature::PreTranslateMessage(MSG* pMsg)
{
  if (m_pMenuBar == NULL || m_pMenuBar->m_hWnd == NULL || pMsg->message != WM_SYSCHAR)
    return SECBmpMenuPlugIn::PreTranslateMessage(pMsg);
  TCHAR c = (TCHAR)pMsg->wParam;
  if (c == ' ') {
    m_bKeyboardOpened = TRUE;
    m_pMenuBar->OpenSystemMenu();
    return TRUE;
  }
  c = (TCHAR)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)c);
  int n = m_pMenuBar->FindMnemonic(c);
  if (n >= 0) {
    m_bKeyboardOpened = TRUE;
    m_pMenuBar->OpenMenuButton(n);
  }
  return TRUE;  // an Alt + letter without a button is swallowed too
}

LRESULT SECMenuBarFeature::OnSysCommandMsg(WPARAM wParam, LPARAM)
{
  if (wParam == 0xF093 && m_pMenuBar != NULL && m_pMenuBar->m_hWnd != NULL) {
    m_pMenuBar->OpenSystemMenu();
    SetHandled(TRUE);
    return 0;
  }
  SetHandled(FALSE);
  return 0;
}

LRESULT SECMenuBarFeature::OnInitMenuPopupFeature(WPARAM wParam, LPARAM lParam)
{
  if (m_bKeyboardOpened) {
    ::PostMessageA(m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
    m_bKeyboardOpened = FALSE;
  }
  return OnInitMenuPopupMsg(wParam, lParam);
}

LRESULT SECMenuBarFeature::OnMenuSelectMsg(WPARAM, LPARAM)
{
  m_bMenuSelected = TRUE;
  SetHandled(FALSE);
  return 0;
}

LRESULT SECMenuBarFeature::OnMenuProd(WPARAM, LPARAM)
{
  if (!m_bMenuSelected && m_pMenuBar != NULL && m_pMenuBar->m_hWnd != NULL) {
    m_bKeyboardOpened = TRUE;
    m_pMenuBar->SelectAdjacentMenu(m_bForward);
  }
  SetHandled(TRUE);
  return 0;
}

LRESULT SECMenuBarFeature::OnNcActivateMsg(WPARAM, LPARAM)
{
  SetHandled(FALSE);
  return 0;
}

BOOL SECMenuBarFeature::SwitchMenu(UINT nMenuID)
{
  if (m_pMenuBar == NULL || !m_pMenuBar->SwitchMenu(nMenuID))
    return FALSE;
  CFrameWnd* pFrame = DYNAMIC_DOWNCAST(CFrameWnd, CWnd::FromHandlePermanent(m_hWnd));
  if (pFrame != NULL)
    pFrame->RecalcLayout();
  if (m_pMenuBar->m_hWnd != NULL)
    m_pMenuBar->Invalidate();
  return TRUE;
}

BOOL SECMenuBarFeature::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
  SECTBNotify* pReq = (SECTBNotify*)lParam;
  if (pReq == NULL || (pReq->hdr.code != SEC_TBN_OPENMENU && pReq->hdr.code != SEC_TBN_CLOSEMENU))
    return FALSE;
  if (pResult != NULL)
    *pResult = 0;
  HandleRequest(pReq);
  SetHandled(TRUE);
  return TRUE;
}

void SECMenuBarFeature::HandleRequest(SECTBNotify* pReq)
{
  while (pReq != NULL) {
    SECMenuBar* pBar = DYNAMIC_DOWNCAST(SECMenuBar, CWnd::FromHandlePermanent(pReq->hdr.hwndFrom));
    HMENU hMenu = NULL;
    BOOL bOwnSys = FALSE;
    if (pReq->hdr.code == SEC_TBN_OPENMENU) {
      if (pReq->nParam1 != 0 && pReq->nParam2 >= 0) {
        hMenu = (HMENU)::SendMessageA(m_hWnd, WM_SECGETMENU, (WPARAM)pReq->nParam1, (LPARAM)pReq->nParam2);
      } else if (pReq->nParam1 != 0 && pReq->nParam2 == -1) {
        hMenu = (HMENU)pReq->nParam1;
      } else if (pReq->nParam1 == 0 && pReq->nParam2 == -1) {
        hMenu = ::GetSystemMenu(m_hWnd, FALSE);
        if (hMenu != NULL && ::GetMenuDefaultItem(hMenu, FALSE, 0) == (UINT)-1)
          ::SetMenuDefaultItem(hMenu, SC_CLOSE, FALSE);
        bOwnSys = TRUE;
      }
    }
    BOOL bAllocated = pReq->nAllocated != 0;
    if (hMenu == NULL || !::IsMenu(hMenu)) {
      if (s_hWndOpenBar != NULL)
        ::SendMessageA(m_hWnd, WM_CANCELMODE, 0, 0);
      else if (pBar != NULL)
        pBar->MenuClosed();  // nothing can be tracked without a menu: the button comes back up
      if (bAllocated)
        delete pReq;
      return;
    }
    if (s_hWndOpenBar != NULL) {
      // the loop of the open popup takes it up once that has closed
      if (s_pQueued == NULL)
        s_pQueued = new SECTBNotify;
      if (s_pQueued != pReq)
        *s_pQueued = *pReq;
      s_pQueued->nAllocated = 1;
      if (bAllocated && pReq != s_pQueued)
        delete pReq;
      ::SendMessageA(m_hWnd, WM_CANCELMODE, 0, 0);
      ::EndMenu();
      return;
    }
    s_pActive = this;
    s_hWndOpenBar = pBar != NULL ? pBar->m_hWnd : NULL;
    if (bOwnSys)
      TrackSysMenu(pBar, hMenu, pReq);
    else
      TrackPopup(pBar, hMenu, pReq);
    s_hWndOpenBar = NULL;
    s_pActive = NULL;
    if (bAllocated)
      delete pReq;
    pReq = s_pQueued;
    s_pQueued = NULL;
    if (pReq == NULL && pBar != NULL && ::IsWindow(pBar->m_hWnd))
      pBar->MenuClosed();
  }
}

void SECMenuBarFeature::TrackPopup(SECMenuBar* pBar, HMENU hMenu, SECTBNotify* pReq)
{
  CRect rc(0, 0, 0, 0);
  if (pBar != NULL) {
    pBar->GetButtonRect(pReq->nIndex, &rc);
    pBar->ClientToScreen(&rc);
  }
  SetHook(TRUE);
  TPMPARAMS tpm;
  tpm.cbSize = sizeof(tpm);
  tpm.rcExclude = rc;
  ::TrackPopupMenuEx(hMenu, 0, rc.left, rc.bottom, m_hWnd, &tpm);
  SetHook(FALSE);
}

CRect SECMenuBarFeature::SysBoxRect(BOOL bForHook) const
{
  CRect rc;
  ::GetWindowRect(m_hWnd, &rc);
  CRect box;
  BOOL bInset = !bForHook || (::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_THICKFRAME);
  box.left = rc.left + (bInset ? ::GetSystemMetrics(SM_CXFRAME) : 0);
  box.top = rc.top + (bInset ? ::GetSystemMetrics(SM_CYFRAME) : 0);
  box.right = box.left + ::GetSystemMetrics(SM_CXSIZE) - (bForHook ? 1 : 0);
  box.bottom = box.top + ::GetSystemMetrics(SM_CYSIZE);
  return box;
}

void SECMenuBarFeature::TrackSysMenu(SECMenuBar* pBar, HMENU hMenu, SECTBNotify* pReq)
{
  (void)pBar;
  (void)pReq;
  CRect box = SysBoxRect(FALSE);
  SetHook(TRUE);
  s_bSysBox = TRUE;
  UINT nCmd = (UINT)::TrackPopupMenu(hMenu, TPM_RETURNCMD, box.left, box.bottom, 0, m_hWnd, NULL);
  if (nCmd != 0)
    ::PostMessageA(m_hWnd, WM_SYSCOMMAND, nCmd, 0);
  s_bSysBox = FALSE;
  SetHook(FALSE);
}

void SECMenuBarFeature::SetHook(BOOL bInstall)
{
  if (bInstall && s_hHook == NULL)
    s_hHook = ::SetWindowsHookExA(WH_MSGFILTER, MsgFilterProc, NULL, ::GetCurrentThreadId());
  else if (!bInstall && s_hHook != NULL) {
    ::UnhookWindowsHookEx(s_hHook);
    s_hHook = NULL;
  }
}

LRESULT CALLBACK SECMenuBarFeature::MsgFilterProc(int nCode, WPARAM wParam, LPARAM lParam)
{
  MSG* pMsg = (MSG*)lParam;
  SECMenuBarFeature* pThis = s_pActive;
  if (nCode != MSGF_MENU || pMsg == NULL || pThis == NULL)
    return ::CallNextHookEx(s_hHook, nCode, wParam, lParam);
  CPoint pt = pMsg->pt;
  if (s_bSysBox && (pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_LBUTTONDBLCLK)) {
    if (pThis->SysBoxRect(TRUE).PtInRect(pt)) {
      ::PostMessageA(pThis->m_hWnd, WM_CANCELMODE, 0, 0);
      if (pMsg->message == WM_LBUTTONDBLCLK) {
        HMENU hSys = ::GetSystemMenu(pThis->m_hWnd, FALSE);
        UINT nDef = hSys != NULL ? ::GetMenuDefaultItem(hSys, FALSE, 0) : (UINT)-1;
        ::PostMessageA(pThis->m_hWnd, WM_SYSCOMMAND, nDef == (UINT)-1 ? SC_CLOSE : nDef, 0);
      }
      return TRUE;
    }
    return ::CallNextHookEx(s_hHook, nCode, wParam, lParam);
  }
  if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_LEFT || pMsg->wParam == VK_RIGHT)) {
    pThis->m_bForward = pMsg->wParam == VK_RIGHT;
    pThis->m_bMenuSelected = FALSE;
    ::PostMessageA(pThis->m_hWnd, WM_SEC_MENUPROD, 0, 0);
    return ::CallNextHookEx(s_hHook, nCode, wParam, lParam);
  }
  if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_LBUTTONDOWN) {
    if (pMsg->message == WM_MOUSEMOVE && pt == s_ptLast)
      return TRUE;
    s_ptLast = pt;
    if (s_hWndOpenBar != NULL && ::WindowFromPoint(pt) == s_hWndOpenBar) {
      SECMenuBar* pBar = DYNAMIC_DOWNCAST(SECMenuBar, CWnd::FromHandlePermanent(s_hWndOpenBar));
      if (pBar != NULL) {
        MSG msg = *pMsg;
        CPoint ptClient = pt;
        ::ScreenToClient(s_hWndOpenBar, &ptClient);
        msg.hwnd = s_hWndOpenBar;
        msg.lParam = MAKELPARAM(ptClient.x, ptClient.y);
        if (pBar->MenuMouseMsg(&msg))
          return TRUE;
      }
    }
  }
  return ::CallNextHookEx(s_hHook, nCode, wParam, lParam);
}
