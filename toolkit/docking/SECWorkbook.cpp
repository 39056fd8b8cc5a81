// The workbook, its client and its worksheets.
#include "SECWorkbook.h"

#include <afxcmn.h>

#include <algorithm>

BOOL SECWorkbook::s_bTabsShown = FALSE;

// ---------------------------------------------------------------------------------------------
// SECWorkbookClient

BEGIN_MESSAGE_MAP(SECWorkbookClient, CWnd)
  ON_MESSAGE(WM_MDISETMENU, OnMDISetMenu)
  ON_MESSAGE(WM_SECWORKBOOK_REFRESH, OnMDISetMenu)
END_MESSAGE_MAP()

void SECWorkbookClient::SetMargins(int nLeft, int nRight, int nTop, int nBottom)
{
  m_nLeft = nLeft;
  m_nRight = nRight;
  m_nTop = nTop;
  m_nBottom = nBottom;
}

void SECWorkbookClient::GetMargins(int& nLeft, int& nRight, int& nTop, int& nBottom) const
{
  nLeft = m_nLeft;
  nRight = m_nRight;
  nTop = m_nTop;
  nBottom = m_nBottom;
}

void SECWorkbookClient::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
  lpClientRect->left += m_nLeft;
  lpClientRect->top += m_nTop;
  lpClientRect->right -= m_nRight;
  lpClientRect->bottom -= m_nBottom;
  CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}

LRESULT SECWorkbookClient::OnMDISetMenu(WPARAM wParam, LPARAM lParam)
{
  LRESULT lResult = 0;
  if (wParam != (WPARAM)-1 && lParam != (LPARAM)-1)
    lResult = DefWindowProc(WM_MDISETMENU, wParam, lParam);
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent != NULL)
    ::SendMessageA(hParent, WM_SECWORKBOOK_ACTIVATED, 0, 0);
  return lResult;
}

// ---------------------------------------------------------------------------------------------
// SECWorkbook

IMPLEMENT_DYNCREATE(SECWorkbook, SECMDIFrameWnd)

BEGIN_MESSAGE_MAP(SECWorkbook, SECMDIFrameWnd)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_SECWORKBOOK_ACTIVATED, OnSheetActivated)
  ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
  ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
  ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
END_MESSAGE_MAP()

SECWorkbook::SECWorkbook()
    : m_bTabsShown(FALSE),
      m_bIconsShown(TRUE),
      m_pClient(NULL),
      m_nTabWidth(100),
      m_nTabHeight(23),
      m_nSlant(2),
      m_nActiveExtraWidth(4),
      m_nActiveExtraHeight(2),
      m_nMaxTabWidth(90),
      m_rectLastClient(0, 0, 0, 0),
      m_nLastActive(0),
      m_pToolTip(NULL)
{
  m_pMDIFloatFrameClass = RUNTIME_CLASS(SECControlBarWorksheet);
}

SECWorkbook::~SECWorkbook()
{
  delete m_pToolTip;
  delete m_pClient;
}

BOOL SECWorkbook::OnCreateClient(LPCREATESTRUCT lpcs, CCreateContext* pContext)
{
  if (!SECMDIFrameWnd::OnCreateClient(lpcs, pContext))
    return FALSE;
  SECWorkbookClient* pClient = new SECWorkbookClient;
  if (m_hWndMDIClient == NULL || !pClient->SubclassWindow(m_hWndMDIClient)) {
    delete pClient;  // no client of ours: no tabs, but a working frame
    return TRUE;
  }
  m_pClient = pClient;
  HGDIOBJ hFont = ::GetStockObject(DEFAULT_GUI_FONT);
  if (hFont == NULL)
    hFont = ::GetStockObject(ANSI_VAR_FONT);
  LOGFONTA lf;
  ::GetObjectA(hFont, sizeof lf, &lf);
  m_font.CreateFontIndirect(&lf);
  m_penWhite.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  m_penFace.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNFACE));
  return TRUE;
}

void SECWorkbook::OnDestroy()
{
  // The sheets still open go in the frame's handling, and take their tabs off the client.
  SECMDIFrameWnd::OnDestroy();
  if (m_pClient != NULL) {
    m_pClient->UnsubclassWindow();
    delete m_pClient;
    m_pClient = NULL;
  }
}

void SECWorkbook::ShowTabs(BOOL bShow)
{
  m_bTabsShown = bShow;
  if (m_pClient != NULL) {
    if (bShow)
      m_pClient->SetMargins(13, 13, 13, 33);
    else
      m_pClient->SetMargins(0, 0, 0, 0);
  }
  s_bTabsShown = bShow;
  if (m_hWnd != NULL)
    RecalcLayout();
}

void SECWorkbook::ShowIcons(BOOL bShow)
{
  m_bIconsShown = bShow;
  InvalidateTabs();
}

HICON SECWorkbook::GetSheetIcon(SECWorksheet* pSheet)
{
  return m_bIconsShown && pSheet != NULL ? pSheet->m_hIcon : NULL;
}

BOOL SECWorkbook::SetSheetIcon(SECWorksheet* pSheet, HICON hIcon, BOOL bRedraw)
{
  if (pSheet == NULL)
    return FALSE;
  pSheet->m_hIcon = hIcon;
  if (bRedraw)
    InvalidateTab(pSheet, FALSE);
  return TRUE;
}

void SECWorkbook::GetMDIClientRect(CRect& rect) const
{
  rect.SetRectEmpty();
  if (m_hWndMDIClient == NULL)
    return;
  ::GetWindowRect(m_hWndMDIClient, &rect);
  ::ScreenToClient(m_hWnd, (POINT*)&rect.left);
  ::ScreenToClient(m_hWnd, (POINT*)&rect.right);
}

void SECWorkbook::GetClientFrameRect(CRect& rect)
{
  rect.SetRectEmpty();
  if (m_hWnd == NULL)
    return;
  RepositionBars(0, 0xFFFF, AFX_IDW_PANE_FIRST, reposQuery, &rect);
}

int SECWorkbook::ComputeTabWidth()
{
  if (GetSheetCount() == 0)
    return m_nTabWidth;  // no tab to share the width
  CRect rect;
  GetMDIClientRect(rect);
  return std::min((rect.Width() + 5) / GetSheetCount(), m_nMaxTabWidth);
}

int SECWorkbook::FindSheet(SECWorksheet* pSheet) const
{
  for (int i = 0; i < GetSheetCount(); i++)
    if (m_sheets[i] == pSheet)
      return i;
  return -1;
}

SECWorksheet* SECWorkbook::GetSheet(int nIndex) const
{
  return nIndex >= 0 && nIndex < GetSheetCount() ? (SECWorksheet*)m_sheets[nIndex] : NULL;
}

int SECWorkbook::VisibleIndex(SECWorksheet* pSheet) const
{
  if (pSheet == NULL || FindSheet(pSheet) < 0)
    return -1;
  int k = pSheet->m_nTabIndex;
  for (int i = 0; i < pSheet->m_nTabIndex && i < GetSheetCount(); i++) {
    SECWorksheet* p = GetSheet(i);
    if (p->m_hWnd == NULL || !(p->GetStyle() & WS_VISIBLE))
      --k;
  }
  return k;
}

BOOL SECWorkbook::IsRaised(SECWorksheet* pSheet) const
{
  return pSheet->m_bPressed || MDIGetActive() == pSheet;
}

BOOL SECWorkbook::GetTabPolygon(SECWorksheet* pSheet, POINT pts[7])
{
  int k = VisibleIndex(pSheet);
  if (k < 0)
    return FALSE;
  CRect client;
  GetMDIClientRect(client);
  const int W = m_nTabWidth, H = m_nTabHeight, s = m_nSlant;
  const int ew = m_nActiveExtraWidth, eh = m_nActiveExtraHeight;
  const int a = IsRaised(pSheet) ? 1 : 0;
  pts[0] = {client.left + k * W - a * (ew / 2), client.bottom + 4};
  pts[1] = {pts[0].x, pts[0].y + H - s};
  pts[2] = {pts[1].x + s, pts[1].y + a * eh + s};
  pts[3] = {pts[2].x + a * ew + W - 2 * s, pts[2].y};
  pts[4] = {pts[3].x + s, pts[1].y};
  pts[5] = {pts[4].x, pts[0].y};
  pts[6] = pts[0];
  return TRUE;
}

BOOL SECWorkbook::GetTabRegion(SECWorksheet* pSheet, CRgn& rgn)
{
  POINT pts[7];
  if (!GetTabPolygon(pSheet, pts))
    return FALSE;
  return rgn.CreatePolygonRgn(pts, 7, WINDING);
}

void SECWorkbook::GetTabTextRect(SECWorksheet* pSheet, int cxIcon, CRect& rect)
{
  POINT pts[7];
  rect.SetRectEmpty();
  if (GetTabPolygon(pSheet, pts))
    rect.SetRect(pts[2].x + cxIcon + 3, pts[0].y, pts[4].x - 2, pts[3].y);
}

CString SECWorkbook::GetSheetTitle(SECWorksheet* pSheet)
{
  CString strTitle;
  if (pSheet == NULL || pSheet->m_hWnd == NULL)
    return strTitle;
  CDocument* pDoc = pSheet->GetActiveDocument();
  if (pDoc != NULL)
    strTitle = pDoc->GetTitle();
  else
    pSheet->GetWindowText(strTitle);
  return strTitle;
}

CString SECWorkbook::FitTitle(CDC* pDC, CString strTitle, int cxWidth)
{
  while (strTitle.GetLength() >= 4 && pDC->GetTextExtent(strTitle).cx > cxWidth) {
    strTitle = strTitle.Left(strTitle.GetLength() - 1);
    strTitle = strTitle.Left(strTitle.GetLength() - 3) + "...";
  }
  return strTitle;
}

BOOL SECWorkbook::TabTextFits(SECWorksheet* pSheet)
{
  if (pSheet == NULL || m_hWnd == NULL)
    return FALSE;
  CString strTitle = GetSheetTitle(pSheet);
  if (strTitle.IsEmpty())
    return FALSE;
  CClientDC dc(this);
  CFont* pOld = m_font.GetSafeHandle() != NULL ? dc.SelectObject(&m_font) : NULL;
  int cx = dc.GetTextExtent(strTitle).cx;
  if (pOld != NULL)
    dc.SelectObject(pOld);
  CRect rect;
  GetTabTextRect(pSheet, 16, rect);  // the icon's room is kept whether icons show or not
  return cx <= rect.Width();
}

void SECWorkbook::AddSheet(SECWorksheet* pSheet)
{
  if (pSheet == NULL || FindSheet(pSheet) >= 0)
    return;
  pSheet->m_nTabIndex = (int)m_sheets.Add(pSheet);
  int nWidth = ComputeTabWidth();
  if (nWidth != m_nTabWidth) {
    m_nTabWidth = nWidth;
    if (m_bTabsShown)
      InvalidateTabs();
  } else if (m_bTabsShown) {
    if (GetSheetCount() < 2)
      Invalidate();
    else
      InvalidateTab(pSheet, FALSE);
  }
  if (m_pToolTip == NULL && m_hWnd != NULL) {
    m_pToolTip = new CToolTipCtrl;
    if (m_pToolTip->Create(this, 0)) {
      m_pToolTip->Activate(TRUE);
      EnableToolTips(TRUE);
    } else {
      delete m_pToolTip;
      m_pToolTip = NULL;
    }
  }
}

void SECWorkbook::RemoveSheet(SECWorksheet* pSheet)
{
  int nIndex = FindSheet(pSheet);
  if (nIndex < 0)
    return;
  m_sheets.RemoveAt(nIndex);
  for (int i = nIndex; i < GetSheetCount(); i++)
    GetSheet(i)->m_nTabIndex = i;
  if (GetSheetCount() > 0) {
    int nWidth = ComputeTabWidth();
    if (nWidth != m_nTabWidth) {
      m_nTabWidth = nWidth;
      if (m_bTabsShown)
        InvalidateTabs();
      return;
    }
  }
  if (!m_bTabsShown || m_hWnd == NULL)
    return;
  if (GetSheetCount() == 0)
    Invalidate();
  else
    InvalidateTab(GetSheet(std::min(nIndex, GetSheetCount() - 1)), TRUE);
}

void SECWorkbook::InvalidateTab(SECWorksheet* pSheet, BOOL bToRightEdge)
{
  int k = VisibleIndex(pSheet);
  if (k < 0 || m_hWnd == NULL)
    return;
  CRect client, frame;
  GetMDIClientRect(client);
  GetClientRect(&frame);
  const int x = client.left + k * m_nTabWidth;
  CRect rect(x - 2, client.bottom + 4, bToRightEdge ? frame.right : x + m_nTabWidth + 2,
             client.bottom + m_nTabHeight + 8);
  InvalidateRect(&rect, TRUE);
}

void SECWorkbook::InvalidateTabs()
{
  if (m_hWnd == NULL)
    return;
  CRect client, frame;
  GetMDIClientRect(client);
  GetClientRect(&frame);
  CRect rect(frame.left, client.bottom + 4, frame.right, client.bottom + m_nTabHeight + 8);
  InvalidateRect(&rect, TRUE);
}

void SECWorkbook::RecalcLayout(BOOL bNotify)
{
  SECMDIFrameWnd::RecalcLayout(bNotify);
  if (!m_bTabsShown || m_hWnd == NULL)
    return;
  CRect rect;
  GetClientFrameRect(rect);
  if (rect != m_rectLastClient) {
    if (GetSheetCount() > 0)
      m_nTabWidth = ComputeTabWidth();
    Invalidate();
    m_rectLastClient = rect;
  }
}

// ---------------------------------------------------------------------------------------------
// Drawing

BOOL SECWorkbook::OnEraseBkgnd(CDC* pDC)
{
  CRect mdi;
  GetMDIClientRect(mdi);
  pDC->ExcludeClipRect(&mdi);
  CRect rect;
  GetClientFrameRect(rect);
  pDC->FillSolidRect(&rect, ::GetSysColor(COLOR_BTNFACE));
  CRect client;
  GetClientRect(&client);
  if (rect.bottom < client.bottom) {
    pDC->FillSolidRect(rect.left, rect.bottom - 1, rect.Width(), 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(rect.left, rect.bottom - 2, rect.Width(), 1, ::GetSysColor(COLOR_BTNSHADOW));
  }
  if (rect.right < client.right) {
    pDC->FillSolidRect(rect.right - 1, rect.top + 1, 1, rect.Height() - 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    pDC->FillSolidRect(rect.right - 2, rect.top, 1, rect.Height() - 2, ::GetSysColor(COLOR_BTNSHADOW));
  }
  return TRUE;
}

void SECWorkbook::DrawTab(CDC* pDC, SECWorksheet* pSheet)
{
  POINT p[7];
  if (!GetTabPolygon(pSheet, p))
    return;
  CRgn rgn;
  rgn.CreatePolygonRgn(p, 7, WINDING);
  CBrush face(::GetSysColor(COLOR_BTNFACE));
  pDC->FillRgn(&rgn, &face);
  CPen* pOld = pDC->SelectObject(&m_penShadow);
  pDC->MoveTo(p[1].x + 1, p[1].y - 1);
  pDC->LineTo(p[2].x, p[2].y - 2);
  pDC->LineTo(p[3].x, p[3].y - 2);
  pDC->LineTo(p[4].x - 2, p[4].y - 1);
  pDC->LineTo(p[5].x - 2, p[5].y);
  pDC->LineTo(p[5].x, p[5].y);
  pDC->SelectObject(&m_penWhite);
  pDC->MoveTo(p[0].x, p[0].y + 1);
  pDC->LineTo(p[1].x, p[1].y - 1);
  pDC->SelectObject(&m_penBlack);
  pDC->MoveTo(p[2].x + 1, p[2].y - 1);
  pDC->LineTo(p[3].x, p[3].y - 1);
  pDC->LineTo(p[4].x - 1, p[4].y - 1);
  pDC->LineTo(p[5].x - 1, p[5].y);
  pDC->SelectObject(pOld);
}

void SECWorkbook::DrawClientBorder(CDC* pDC)
{
  CRect c;
  GetMDIClientRect(c);
  const int l = c.left, t = c.top, r = c.right, b = c.bottom;
  CPen* pOld = pDC->SelectObject(&m_penShadow);
  pDC->MoveTo(l - 4, b + 4);
  pDC->LineTo(r + 4, b + 4);
  pDC->LineTo(r + 4, t - 4);
  pDC->SelectObject(&m_penWhite);
  pDC->MoveTo(r + 4, t - 5);
  pDC->LineTo(l - 5, t - 5);
  pDC->LineTo(l - 5, b + 5);
  pDC->SelectObject(&m_penBlack);
  pDC->LineTo(r + 5, b + 5);
  pDC->LineTo(r + 5, t - 5);
  int ml = 0, mr = 0, mt = 0, mb = 0;
  if (m_pClient != NULL)
    m_pClient->GetMargins(ml, mr, mt, mb);
  pDC->SelectObject(&m_penShadow);
  pDC->MoveTo(l - ml, t - mt);
  pDC->LineTo(r + mr, t - mt);
  pDC->SelectObject(&m_penWhite);
  pDC->MoveTo(l - ml, t - mt + 1);
  pDC->LineTo(r + mr, t - mt + 1);
  pDC->SelectObject(pOld);
}

void SECWorkbook::DrawTabText(CDC* pDC, SECWorksheet* pSheet)
{
  POINT p[7];
  if (!GetTabPolygon(pSheet, p))
    return;
  const int cxIcon = m_bIconsShown ? 16 : 0;
  HICON hIcon = GetSheetIcon(pSheet);
  if (hIcon != NULL)
    ::DrawIconEx(pDC->m_hDC, p[2].x + 1, p[0].y + 4, hIcon, cxIcon, cxIcon, 0, NULL, DI_NORMAL);
  CRect rect;
  GetTabTextRect(pSheet, cxIcon, rect);
  CFont* pOld = m_font.GetSafeHandle() != NULL ? pDC->SelectObject(&m_font) : NULL;
  CString strTitle = FitTitle(pDC, GetSheetTitle(pSheet), rect.Width());
  if (!strTitle.IsEmpty())
    pDC->DrawText(strTitle, &rect, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  if (pOld != NULL)
    pDC->SelectObject(pOld);
}

void SECWorkbook::OnPaint()
{
  CPaintDC dc(this);
  CRect mdi;
  GetMDIClientRect(mdi);
  if (!m_bTabsShown || mdi.IsRectEmpty() || m_pClient == NULL)
    return;
  dc.SetBkMode(TRANSPARENT);
  for (int i = 0; i < GetSheetCount(); i++) {
    SECWorksheet* pSheet = GetSheet(i);
    if (pSheet->m_hWnd != NULL && (pSheet->GetStyle() & WS_VISIBLE)) {
      DrawTab(&dc, pSheet);
      DrawTabText(&dc, pSheet);
    }
  }
  DrawClientBorder(&dc);
  // The active tab lies on top of its neighbours.
  CMDIChildWnd* pActive = MDIGetActive();
  SECWorksheet* pSheet = pActive != NULL ? DYNAMIC_DOWNCAST(SECWorksheet, pActive) : NULL;
  if (pSheet != NULL && (pSheet->GetStyle() & WS_VISIBLE)) {
    DrawTab(&dc, pSheet);
    DrawTabText(&dc, pSheet);
  }
}

// ---------------------------------------------------------------------------------------------
// Mouse and tooltips

void SECWorkbook::OnLButtonDown(UINT nFlags, CPoint point)
{
  if (m_bTabsShown) {
    CMDIChildWnd* pActive = MDIGetActive();
    for (int i = 0; i < GetSheetCount(); i++) {
      SECWorksheet* pSheet = GetSheet(i);
      if (pSheet == pActive || pSheet->m_hWnd == NULL || !(pSheet->GetStyle() & WS_VISIBLE))
        continue;
      CRgn rgn;
      if (!GetTabRegion(pSheet, rgn) || !rgn.PtInRegion(point) || !CanActivateSheet(pSheet))
        continue;
      pSheet->m_bPressed = TRUE;
      UpdateWindow();
      pSheet->ActivateFrame(-1);
      break;
    }
  }
  Default();
}

void SECWorkbook::OnLButtonUp(UINT, CPoint)
{
  if (m_bTabsShown)
    for (int i = 0; i < GetSheetCount(); i++)
      GetSheet(i)->m_bPressed = FALSE;
  Default();
}

INT_PTR SECWorkbook::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
  SECWorkbook* pThis = const_cast<SECWorkbook*>(this);
  for (int i = 0; i < GetSheetCount(); i++) {
    SECWorksheet* pSheet = GetSheet(i);
    if (pSheet->m_hWnd == NULL || !(pSheet->GetStyle() & WS_VISIBLE))
      continue;
    CRgn rgn;
    if (!pThis->GetTabRegion(pSheet, rgn) || !rgn.PtInRegion(point))
      continue;
    if (pThis->TabTextFits(pSheet))
      return -1;
    if (pTI != NULL) {
      CRect box;
      rgn.GetRgnBox(&box);
      pTI->hwnd = m_hWnd;
      pTI->uId = (UINT_PTR)(i + 1);
      pTI->rect = box;
      CString strTitle = pThis->GetSheetTitle(pSheet);
      pTI->lpszText = (LPSTR)malloc((size_t)strTitle.GetLength() + 1);
      if (pTI->lpszText != NULL)
        strcpy(pTI->lpszText, strTitle);
    }
    return i + 1;
  }
  return -1;
}

LRESULT SECWorkbook::OnSheetActivated(WPARAM, LPARAM)
{
  if (GetSheet(m_nLastActive) != NULL)
    InvalidateTab(GetSheet(m_nLastActive), FALSE);
  CMDIChildWnd* pActive = MDIGetActive();
  SECWorksheet* pSheet = pActive != NULL ? DYNAMIC_DOWNCAST(SECWorksheet, pActive) : NULL;
  if (pSheet != NULL) {
    InvalidateTab(pSheet, FALSE);
    m_nLastActive = FindSheet(pSheet);
    if (!pSheet->IsZoomed())
      UpdateWindow();
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// SECWorksheet

IMPLEMENT_DYNCREATE(SECWorksheet, SECMDIChildWnd)

BEGIN_MESSAGE_MAP(SECWorksheet, SECMDIChildWnd)
  ON_WM_SHOWWINDOW()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

SECWorkbook* SECWorksheet::GetWorkbook()
{
  CMDIFrameWnd* pFrame = m_hWnd != NULL ? GetMDIFrame() : NULL;
  return pFrame != NULL ? DYNAMIC_DOWNCAST(SECWorkbook, pFrame) : NULL;
}

BOOL SECWorksheet::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                             CCreateContext* pContext)
{
  if (!SECMDIChildWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext))
    return FALSE;
  SECWorkbook* pBook = GetWorkbook();
  if (pBook != NULL)
    pBook->AddSheet(this);
  m_hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource), IMAGE_ICON,
                                16, 16, LR_SHARED);
  return TRUE;
}

void SECWorksheet::OnUpdateFrameMenu(BOOL bActive, CWnd* pActivateWnd, HMENU hMenuAlt)
{
  SECMDIChildWnd::OnUpdateFrameMenu(bActive, pActivateWnd, hMenuAlt);
  SECWorkbook* pBook = GetWorkbook();
  if (m_hMenuShared == NULL && pBook != NULL && pBook->HasMenuBar())
    ::SendMessageA(pBook->m_hWndMDIClient, WM_SECWORKBOOK_REFRESH, (WPARAM)-1, (LPARAM)-1);
}

void SECWorksheet::OnUpdateFrameTitle(BOOL bAddToTitle)
{
  SECMDIChildWnd::OnUpdateFrameTitle(bAddToTitle);
  SECWorkbook* pBook = GetWorkbook();
  if (pBook != NULL)
    pBook->InvalidateTab(this, FALSE);
}

void SECWorksheet::OnShowWindow(BOOL bShow, UINT nStatus)
{
  Default();
  (void)bShow;
  (void)nStatus;
  SECWorkbook* pBook = GetWorkbook();
  if (pBook != NULL)
    pBook->InvalidateTab(this, TRUE);
}

void SECWorksheet::OnDestroy()
{
  SECWorkbook* pBook = GetWorkbook();
  if (pBook != NULL)
    pBook->RemoveSheet(this);
  SECMDIChildWnd::OnDestroy();
}

// ---------------------------------------------------------------------------------------------
// SECControlBarWorksheet

IMPLEMENT_DYNCREATE(SECControlBarWorksheet, SECWorksheet)

BEGIN_MESSAGE_MAP(SECControlBarWorksheet, SECWorksheet)
  ON_WM_SIZE()
  ON_WM_CLOSE()
  ON_WM_WINDOWPOSCHANGED()
  ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

SECControlBarWorksheet::SECControlBarWorksheet() : m_dockBar(TRUE, 1)
{
  m_dockBar.m_bAutoDelete = FALSE;  // a member: its window going must not delete it
}

BOOL SECControlBarWorksheet::PreCreateWindow(CREATESTRUCT& cs)
{
  BOOL bResult = SECWorksheet::PreCreateWindow(cs);
  cs.dwExStyle &= ~WS_EX_CLIENTEDGE;
  return bResult;
}

BOOL SECControlBarWorksheet::OnCreateClient(LPCREATESTRUCT, CCreateContext*)
{
  BOOL bWasInLayout = m_bInRecalcLayout;
  m_bInRecalcLayout = TRUE;  // no layout while the dock bar moves in
  BOOL bResult = SECBarChildSupport::CreateDockBar(this, m_dockBar);
  m_bInRecalcLayout = bWasInLayout;
  return bResult;
}

void SECControlBarWorksheet::RecalcLayout(BOOL bNotify)
{
  if (m_bInRecalcLayout)
    return;
  SECWorksheet::RecalcLayout(bNotify);
  SECBarChildSupport::TakeCaption(this, m_dockBar);
}

void SECControlBarWorksheet::OnSize(UINT nType, int cx, int cy)
{
  SECBarChildSupport::CommitSize(m_dockBar, nType, cx, cy);
  SECWorksheet::OnSize(nType, cx, cy);
}

void SECControlBarWorksheet::OnClose()
{
  if (!SECBarChildSupport::CloseHidesBar(this, m_dockBar))
    SECWorksheet::OnClose();
}

void SECControlBarWorksheet::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
  SECBarChildSupport::RememberPlace(this, m_dockBar);
  SECWorksheet::OnWindowPosChanged(lpwndpos);
}

void SECControlBarWorksheet::OnShowWindow(BOOL bShow, UINT nStatus)
{
  SECWorksheet::OnShowWindow(bShow, nStatus);
  SECBarChildSupport::RefreshWindowMenu();
}
