// Tabbed windows: tab windows made from runtime classes or given, activation and focus, and
// the three-dimensional frame and layout.
#include "SECTabWnd.h"

IMPLEMENT_DYNAMIC(SECTabWndBase, CWnd)
IMPLEMENT_DYNCREATE(SEC3DTabWnd, SECTabWndBase)

BEGIN_MESSAGE_MAP(SECTabWndBase, CWnd)
  ON_WM_DESTROY()
  ON_MESSAGE(TCM_TABSEL, OnTabSelect)
  ON_MESSAGE(TCM_TABREACTIVATE, OnTabReselect)
END_MESSAGE_MAP()

SECTabWndBase::SECTabWndBase()
    : m_pTabCtrl(NULL), m_pActiveWnd(NULL), m_pWndCreating(NULL), m_pNotifyWnd(NULL)
{
}

SECTabWndBase::~SECTabWndBase()
{
  delete m_pTabCtrl;
}

BOOL SECTabWndBase::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT&, CWnd* pParentWnd,
                           UINT nID, CCreateContext*)
{
  return Create(pParentWnd, dwStyle, nID);
}

BOOL SECTabWndBase::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
  m_pNotifyWnd = pParentWnd;
  dwStyle &= ~(WS_HSCROLL | WS_VSCROLL);
  if (m_hWnd == NULL) {
    LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
    if (!CWnd::CreateEx(0, lpszClass, NULL, dwStyle, CRect(0, 0, 0, 0), pParentWnd, nID))
      return FALSE;
  }
  BOOL bMade = FALSE;
  try {
    bMade = CreateTabControl(dwStyle, SEC_IDW_TABCTRL);
  } catch (CException* e) {
    e->Delete();
    bMade = FALSE;
  }
  if (!bMade) {
    DestroyWindow();
    return FALSE;
  }
  return TRUE;
}

BOOL SECTabWndBase::CreateScrollBarCtrl(DWORD dwStyle, UINT nID)
{
  return ::CreateWindowExA(0, "SCROLLBAR", NULL, dwStyle | WS_CHILD, 0, 0, 1, 1, m_hWnd,
                           (HMENU)(UINT_PTR)nID, AfxGetInstanceHandle(), NULL) != NULL;
}

BOOL SECTabWndBase::CreateTabControl(DWORD, UINT) { return FALSE; }

CWnd* SECTabWndBase::CreateTabWindow(CRuntimeClass* pViewClass, LPCTSTR, CCreateContext* pContext,
                                     UINT nID)
{
  if (pViewClass == NULL)
    return NULL;
  if (nID == (UINT)-1)
    nID = SEC_IDW_TABCLIENT + GetTabCount();
  CObject* pObject = pViewClass->CreateObject();
  CWnd* pWnd = DYNAMIC_DOWNCAST(CWnd, pObject);
  if (pWnd == NULL) {
    delete pObject;
    return NULL;
  }
  m_pWndCreating = pWnd;
  BOOL bMade = pWnd->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID,
                            pContext);
  m_pWndCreating = NULL;
  if (!bMade) {
    // A window whose creation failed is not deleted by its own clean-up.
    if (pWnd->m_hWnd == NULL)
      delete pWnd;
    return NULL;
  }
  return pWnd;
}

CWnd* SECTabWndBase::InsertTab(CRuntimeClass* pViewClass, int nIndex, LPCTSTR lpszLabel,
                               CCreateContext* pContext, UINT nID)
{
  if (m_pTabCtrl == NULL || nIndex < 0 || nIndex > GetTabCount())
    return NULL;
  CWnd* pWnd = CreateTabWindow(pViewClass, lpszLabel, pContext, nID);
  if (pWnd != NULL)
    InsertTab(pWnd, nIndex, lpszLabel);
  return pWnd;
}

CWnd* SECTabWndBase::AddTab(CRuntimeClass* pViewClass, LPCTSTR lpszLabel, CCreateContext* pContext,
                            UINT nID)
{
  if (m_pTabCtrl == NULL)
    return NULL;
  CWnd* pWnd = CreateTabWindow(pViewClass, lpszLabel, pContext, nID);
  if (pWnd != NULL)
    AddTab(pWnd, lpszLabel);
  return pWnd;
}

void SECTabWndBase::InsertTab(CWnd* pWnd, int nIndex, LPCTSTR lpszLabel)
{
  if (m_pTabCtrl == NULL || nIndex < 0 || nIndex > GetTabCount())
    return;
  m_pTabCtrl->InsertTab(nIndex, lpszLabel, pWnd);
  OnTabAdded(nIndex, 0);
}

void SECTabWndBase::AddTab(CWnd* pWnd, LPCTSTR lpszLabel)
{
  if (m_pTabCtrl == NULL)
    return;
  m_pTabCtrl->AddTab(lpszLabel, pWnd);
  OnTabAdded(GetTabCount() - 1, 0);
}

void SECTabWndBase::SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx, int cy)
{
  if (m_pTabCtrl != NULL)
    m_pTabCtrl->SetTabIcon(nIndex, lpszResourceName, cx, cy);
}

void SECTabWndBase::SetTabIcon(int nIndex, UINT nIDResource, int cx, int cy)
{
  if (m_pTabCtrl != NULL)
    m_pTabCtrl->SetTabIcon(nIndex, nIDResource, cx, cy);
}

void SECTabWndBase::SetTabIcon(int nIndex, HICON hIcon)
{
  if (m_pTabCtrl != NULL)
    m_pTabCtrl->SetTabIcon(nIndex, hIcon);
}

void SECTabWndBase::OnTabAdded(int, LPARAM) {}

void SECTabWndBase::RemoveTab(int nIndex)
{
  if (!TabExists(nIndex))
    return;
  CWnd* pWnd = m_pTabCtrl->GetTabPtr(nIndex)->m_pClient;
  if (pWnd != NULL && pWnd == m_pActiveWnd) {
    // Nothing is shown until another tab is activated.
    m_pActiveWnd = NULL;
    if (::IsWindow(pWnd->m_hWnd))
      pWnd->ShowWindow(SW_HIDE);
  }
  m_pTabCtrl->DeleteTab(nIndex);
}

void SECTabWndBase::RemoveTab(CWnd* pWnd)
{
  int nIndex;
  if (FindTab(pWnd, nIndex))
    RemoveTab(nIndex);
}

void SECTabWndBase::RenameTab(int nIndex, LPCTSTR lpszLabel)
{
  if (TabExists(nIndex))
    m_pTabCtrl->RenameTab(nIndex, lpszLabel);
}

void SECTabWndBase::RenameTab(CWnd* pWnd, LPCTSTR lpszLabel)
{
  int nIndex;
  if (FindTab(pWnd, nIndex))
    RenameTab(nIndex, lpszLabel);
}

void SECTabWndBase::ActivateTab(int nIndex)
{
  if (TabExists(nIndex))
    ActivateTab(m_pTabCtrl->GetTabPtr(nIndex)->m_pClient, nIndex);
}

void SECTabWndBase::ActivateTab(CWnd* pWnd)
{
  int nIndex;
  if (FindTab(pWnd, nIndex))
    ActivateTab(pWnd, nIndex);
}

void SECTabWndBase::ActivateTab(CWnd* pWnd, int nIndex)
{
  if (!TabExists(nIndex) || pWnd == m_pActiveWnd)
    return;
  int nActive;
  if (!m_pTabCtrl->GetActiveTab(nActive) || nActive != nIndex)
    m_pTabCtrl->ActivateTab(nIndex);
  if (pWnd == m_pActiveWnd)
    return;  // the control's notification has done it already
  if (m_pActiveWnd != NULL && ::IsWindow(m_pActiveWnd->m_hWnd))
    m_pActiveWnd->ShowWindow(SW_HIDE);
  m_pActiveWnd = pWnd;
  if (pWnd == NULL)
    return;
  pWnd->ShowWindow(SW_SHOW);
  MakeActive(pWnd);
  RecalcLayout();
  Invalidate();
}

// A view becomes its frame's active view; any other window takes the focus.
void SECTabWndBase::MakeActive(CWnd* pWnd)
{
  CView* pView = DYNAMIC_DOWNCAST(CView, pWnd);
  if (pView != NULL) {
    CFrameWnd* pFrame = GetParentFrame();
    if (pFrame != NULL)
      pFrame->SetActiveView(pView);
    CFrameWnd* pTop = GetTopLevelFrame();
    if (pTop != NULL)
      pTop->SetWindowPos(NULL, 0, 0, 0, 0,
                         SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    pWnd->SetFocus();
  }
}

void SECTabWndBase::ClearActiveTab()
{
  if (m_pTabCtrl != NULL)
    m_pTabCtrl->ClearSelection();
}

void SECTabWndBase::ScrollToTab(int nIndex)
{
  if (TabExists(nIndex))
    m_pTabCtrl->ScrollToTab(nIndex);
}

void SECTabWndBase::ScrollToTab(CWnd* pWnd)
{
  int nIndex;
  if (FindTab(pWnd, nIndex))
    ScrollToTab(nIndex);
}

void SECTabWndBase::FocusActiveTab()
{
  if (m_pActiveWnd != NULL)
    MakeActive(m_pActiveWnd);
}

CWnd* SECTabWndBase::SetNotifyWnd(CWnd* pWnd)
{
  m_pNotifyWnd = pWnd != NULL ? pWnd : GetParent();
  return m_pNotifyWnd;
}

CWnd* SECTabWndBase::GetNotifyWnd() const { return m_pNotifyWnd; }

void SECTabWndBase::GetInsideRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }

void SECTabWndBase::RecalcLayout() {}

int SECTabWndBase::GetTabCount() const
{
  return m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL ? m_pTabCtrl->GetTabCount() : 0;
}

BOOL SECTabWndBase::GetTabInfo(int nIndex, LPCTSTR& lpszLabel, BOOL& bSelected, CWnd*& pWnd,
                               void*& pExtra, HMENU& hMenu) const
{
  return TabExists(nIndex) &&
         m_pTabCtrl->GetTabInfo(nIndex, lpszLabel, bSelected, pWnd, pExtra, hMenu);
}

BOOL SECTabWndBase::FindTab(const CWnd* pWnd, int& nIndex) const
{
  return GetTabCount() > 0 && m_pTabCtrl->FindTab(pWnd, nIndex);
}

BOOL SECTabWndBase::TabExists(const CWnd* pWnd) const
{
  int nIndex;
  return FindTab(pWnd, nIndex);
}

BOOL SECTabWndBase::TabExists(int nIndex) const
{
  return nIndex >= 0 && nIndex < GetTabCount();
}

BOOL SECTabWndBase::GetActiveTab(int& nIndex) const
{
  nIndex = 0;
  return GetTabCount() > 0 && m_pTabCtrl->GetActiveTab(nIndex);
}

BOOL SECTabWndBase::GetActiveTab(CWnd*& pWnd) const
{
  pWnd = m_pActiveWnd;
  return m_pActiveWnd != NULL;
}

void SECTabWndBase::OnDestroy()
{
  if (m_pTabCtrl != NULL) {
    if (m_pTabCtrl->m_hWnd != NULL)
      m_pTabCtrl->DestroyWindow();
    delete m_pTabCtrl;
    m_pTabCtrl = NULL;
  }
  m_pActiveWnd = NULL;
  CWnd::OnDestroy();
}

LRESULT SECTabWndBase::OnTabSelect(WPARAM wParam, LPARAM)
{
  int nIndex = (int)wParam;
  if (TabExists(nIndex))
    ActivateTab(m_pTabCtrl->GetTabPtr(nIndex)->m_pClient, nIndex);
  return 0;
}

LRESULT SECTabWndBase::OnTabReselect(WPARAM, LPARAM)
{
  // After the shown tab was removed, the control's active tab has no window shown: a click
  // on it shows it.
  int nIndex;
  if (m_pActiveWnd == NULL && GetActiveTab(nIndex))
    OnTabSelect((WPARAM)nIndex, 0);
  else
    FocusActiveTab();
  return 0;
}

SECTabWndBase* GetParentTabWnd(const CWnd* pWnd)
{
  if (pWnd == NULL || pWnd->m_hWnd == NULL)
    return NULL;
  for (HWND h = ::GetParent(pWnd->m_hWnd); h != NULL; h = ::GetParent(h)) {
    SECTabWndBase* pTabWnd = DYNAMIC_DOWNCAST(SECTabWndBase, CWnd::FromHandlePermanent(h));
    if (pTabWnd != NULL)
      return pTabWnd;
  }
  return NULL;
}

// ---------------------------------------------------------------------------------------------
// SEC3DTabWnd

BEGIN_MESSAGE_MAP(SEC3DTabWnd, SECTabWndBase)
  ON_WM_NCCREATE()
  ON_WM_SIZE()
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_MESSAGE(TCM_TABSEL, OnTabSelect3D)
END_MESSAGE_MAP()

SEC3DTabWnd::SEC3DTabWnd()
    : m_nTabStripHeight(30), m_nTabStripWidth(30), m_dwTabCtrlStyle(TWS_TABS_ON_BOTTOM)
{
}

SEC3DTabWnd::~SEC3DTabWnd() {}

BOOL SEC3DTabWnd::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
  DWORD dwScroll = dwStyle & (TWS_LEFTRIGHTSCROLL | TWS_FULLSCROLL);
  if (dwScroll & TWS_FULLSCROLL)
    dwScroll = TWS_FULLSCROLL;
  m_dwTabCtrlStyle = dwScroll | (dwStyle & TWS_TAB_STYLES);
  return SECTabWndBase::Create(pParentWnd, dwStyle & (0x4 | 0x8 | 0xF000 | 0xFFFF0000), nID);
}

BOOL SEC3DTabWnd::CreateTabControl(DWORD, UINT nID)
{
  SEC3DTabControl* pCtrl = new SEC3DTabControl;
  m_pTabCtrl = pCtrl;
  pCtrl->Create(m_dwTabCtrlStyle | WS_VISIBLE, CRect(0, 0, 0, 0), this, nID);
  return TRUE;
}

DWORD SEC3DTabWnd::SetTabStyle(DWORD dwFlags)
{
  DWORD dwOld = m_dwTabCtrlStyle;
  if (dwFlags == dwOld)
    return dwOld;
  m_dwTabCtrlStyle = dwFlags;
  RecalcLayout();
  if (TabCtrl3D() != NULL && TabCtrl3D()->m_hWnd != NULL)
    TabCtrl3D()->ModifyTabStyle(dwOld & TWS_TAB_STYLES, dwFlags & TWS_TAB_STYLES);
  if (m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL)
    m_pTabCtrl->RecalcLayout();
  Invalidate();
  return dwOld;
}

void SEC3DTabWnd::GetInsideRect(LPRECT lpRect) const
{
  CRect rc;
  ::GetClientRect(m_hWnd, &rc);
  if (m_dwTabCtrlStyle & TWS_TABS_ON_BOTTOM) {
    rc.top += 4;
    rc.bottom -= m_nTabStripHeight + 1;
    rc.left += 6;
    rc.right -= 7;
  } else if (m_dwTabCtrlStyle & TWS_TABS_ON_TOP) {
    rc.top += m_nTabStripHeight + 1;
    rc.bottom -= 4;
    rc.left += 6;
    rc.right -= 7;
  } else if (m_dwTabCtrlStyle & TWS_TABS_ON_LEFT) {
    rc.top += 4;
    rc.bottom -= 6;
    rc.left += m_nTabStripWidth + 1;
    rc.right -= 7;
  } else {
    rc.top += 4;
    rc.bottom -= 6;
    rc.left += 6;
    rc.right -= m_nTabStripWidth + 1;
  }
  *lpRect = rc;
}

void SEC3DTabWnd::RecalcLayout()
{
  if (m_dwTabCtrlStyle & (TWS_TABS_ON_TOP | TWS_TABS_ON_BOTTOM)) {
    m_nTabStripWidth = 0;
    m_nTabStripHeight = 30;
  } else {
    m_nTabStripHeight = 0;
    m_nTabStripWidth = 30;
  }
  if (m_hWnd == NULL)
    return;
  CRect in, cl;
  GetInsideRect(&in);
  GetClientRect(&cl);
  CRect rcTabs;
  if (m_dwTabCtrlStyle & TWS_TABS_ON_BOTTOM)
    rcTabs.SetRect(in.left, in.bottom + 1, in.right, cl.bottom + 1);
  else if (m_dwTabCtrlStyle & TWS_TABS_ON_TOP)
    rcTabs.SetRect(in.left, cl.top, in.right, in.top);
  else if (m_dwTabCtrlStyle & TWS_TABS_ON_LEFT)
    rcTabs.SetRect(cl.left, in.top, in.left, in.bottom);
  else
    rcTabs.SetRect(in.right, cl.top, cl.right, cl.top + in.Height());
  CRect rcActive(in.left, in.top, in.right - 1, in.bottom);

  HDWP hdwp = ::BeginDeferWindowPos(2);
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
  CRect now;
  if (m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL) {
    m_pTabCtrl->GetWindowRect(&now);
    ScreenToClient(&now);
    if (now != rcTabs && hdwp != NULL)
      hdwp = ::DeferWindowPos(hdwp, m_pTabCtrl->m_hWnd, NULL, rcTabs.left, rcTabs.top,
                              rcTabs.Width(), rcTabs.Height(), flags | SWP_NOREDRAW);
  }
  if (m_pActiveWnd != NULL && ::IsWindow(m_pActiveWnd->m_hWnd)) {
    m_pActiveWnd->GetWindowRect(&now);
    ScreenToClient(&now);
    if (now != rcActive && hdwp != NULL)
      hdwp = ::DeferWindowPos(hdwp, m_pActiveWnd->m_hWnd, NULL, rcActive.left, rcActive.top,
                              rcActive.Width(), rcActive.Height(), flags);
  }
  if (hdwp != NULL)
    ::EndDeferWindowPos(hdwp);
}

void SEC3DTabWnd::EnableTab(int nIndex, BOOL bEnable)
{
  if (TabCtrl3D() != NULL)
    TabCtrl3D()->EnableTab(nIndex, bEnable);
}

void SEC3DTabWnd::EnableTab(CWnd* pWnd, BOOL bEnable)
{
  int nIndex;
  if (FindTab(pWnd, nIndex))
    EnableTab(nIndex, bEnable);
}

BOOL SEC3DTabWnd::IsTabEnabled(int nIndex) const
{
  return TabCtrl3D() != NULL && TabCtrl3D()->IsTabEnabled(nIndex);
}

BOOL SEC3DTabWnd::IsTabEnabled(CWnd* pWnd) const
{
  int nIndex;
  return FindTab(pWnd, nIndex) && IsTabEnabled(nIndex);
}

BOOL SEC3DTabWnd::SetFontActiveTab(CFont* pFont, BOOL bRedraw)
{
  if (TabCtrl3D() == NULL || !TabCtrl3D()->SetTabFont(pFont, 1, bRedraw))
    return FALSE;
  if (bRedraw)
    Invalidate();
  return TRUE;
}

BOOL SEC3DTabWnd::SetFontInactiveTab(CFont* pFont, BOOL bRedraw)
{
  if (TabCtrl3D() == NULL || !TabCtrl3D()->SetTabFont(pFont, 0, bRedraw))
    return FALSE;
  if (bRedraw)
    Invalidate();
  return TRUE;
}

CFont* SEC3DTabWnd::GetFontActiveTab()
{
  return TabCtrl3D() != NULL ? TabCtrl3D()->GetTabFont(1) : NULL;
}

CFont* SEC3DTabWnd::GetFontInactiveTab()
{
  return TabCtrl3D() != NULL ? TabCtrl3D()->GetTabFont(0) : NULL;
}

void SEC3DTabWnd::RefreshTabControl()
{
  if (TabCtrl3D() != NULL && TabCtrl3D()->m_hWnd != NULL)
    TabCtrl3D()->RefreshGdiObjects();
}

BOOL SEC3DTabWnd::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
  if (!SECTabWndBase::OnNcCreate(lpCreateStruct))
    return FALSE;
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent != NULL && (::GetWindowLongA(hParent, GWL_EXSTYLE) & WS_EX_CLIENTEDGE))
    CWnd::ModifyStyleEx(hParent, WS_EX_CLIENTEDGE, 0, SWP_FRAMECHANGED);
  return TRUE;
}

void SEC3DTabWnd::OnSize(UINT nType, int cx, int cy)
{
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0) {
    RecalcLayout();
    if (m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL)
      m_pTabCtrl->Invalidate(TRUE);
    Invalidate(FALSE);
  }
  SECTabWndBase::OnSize(nType, cx, cy);
}

void SEC3DTabWnd::OnPaint()
{
  CPaintDC dc(this);
  if (m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL) {
    CRect rcTabs, rcOver;
    m_pTabCtrl->GetWindowRect(&rcTabs);
    ScreenToClient(&rcTabs);
    if (rcOver.IntersectRect(&rcTabs, &dc.m_ps.rcPaint)) {
      rcOver.OffsetRect(-rcTabs.left, -rcTabs.top);
      m_pTabCtrl->InvalidateRect(&rcOver, TRUE);
    }
  }
  DrawFrame(&dc);
}

void SEC3DTabWnd::DrawFrame(CDC* pDC)
{
  CRect in;
  GetInsideRect(&in);
  const COLORREF white = RGB(255, 255, 255), face = ::GetSysColor(COLOR_BTNFACE),
                 shadow = ::GetSysColor(COLOR_BTNSHADOW), black = RGB(0, 0, 0);
  const COLORREF columns[4] = {white, face, shadow, black};
  int y = in.top - 4, h = in.Height() + 8;
  for (int i = 0; i < 4; i++) {
    pDC->FillSolidRect(in.left - 4 + i, y, 1, h, columns[i]);
    pDC->FillSolidRect(in.right + i, y, 1, h, columns[i]);
  }
  int x = in.left - 4, w = in.Width() + 8;
  pDC->FillSolidRect(x + 0, in.top - 4, w - 1, 1, white);
  pDC->FillSolidRect(x + 1, in.top - 3, w - 3, 1, face);
  pDC->FillSolidRect(x + 2, in.top - 2, w - 6, 1, shadow);
  pDC->FillSolidRect(x + 3, in.top - 1, w - 8, 1, black);
  int b = in.bottom + 1;
  pDC->FillSolidRect(x + 2, b + 0, w - 5, 1, white);
  pDC->FillSolidRect(x + 1, b + 1, w - 3, 1, face);
  pDC->FillSolidRect(x + 1, b + 2, w - 2, 1, shadow);
  pDC->FillSolidRect(x, b + 3, w, 1, black);
}

BOOL SEC3DTabWnd::OnEraseBkgnd(CDC* pDC)
{
  EraseBands(pDC);
  return TRUE;
}

void SEC3DTabWnd::EraseBands(CDC* pDC)
{
  CRect in, cl;
  GetInsideRect(&in);
  GetClientRect(&cl);
  int nSaved = pDC->SaveDC();
  if (m_pTabCtrl != NULL && m_pTabCtrl->m_hWnd != NULL && m_pTabCtrl->IsWindowVisible()) {
    CRect rcTabs;
    m_pTabCtrl->GetWindowRect(&rcTabs);
    ScreenToClient(&rcTabs);
    pDC->ExcludeClipRect(&rcTabs);
  }
  const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
  pDC->FillSolidRect(CRect(cl.left, cl.top, cl.right, in.top), face);
  pDC->FillSolidRect(CRect(cl.left, in.top, in.left, in.bottom), face);
  pDC->FillSolidRect(CRect(in.right - 1, in.top, cl.right, in.bottom), face);
  pDC->FillSolidRect(CRect(cl.left, in.bottom, cl.right, cl.bottom), face);
  pDC->FillSolidRect(CRect(in.left - 1, in.bottom, in.right, in.bottom + 1), face);
  pDC->RestoreDC(nSaved);
}

LRESULT SEC3DTabWnd::OnTabSelect3D(WPARAM wParam, LPARAM lParam)
{
  SECTabWndBase::OnTabSelect(wParam, lParam);
  Invalidate();
  if (m_pNotifyWnd != NULL && m_pNotifyWnd->m_hWnd != NULL)
    m_pNotifyWnd->SendMessage(TCM_TABSEL, wParam, 0);
  return 0;
}
