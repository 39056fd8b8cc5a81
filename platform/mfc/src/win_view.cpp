// Views: attachment to the document, activation, painting through OnDraw, printing, and the
// scrolling view.
#include "afxwin.h"
#include "afxpriv.h"
#include <commdlg.h>

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
  ON_WM_PAINT()
  ON_WM_MOUSEACTIVATE()
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_MESSAGE(WM_INITIALUPDATE, OnInitialUpdateMsg)
END_MESSAGE_MAP()

CView::CView() : m_pDocument(NULL) {}

CView::~CView()
{
  if (m_pDocument != NULL)
    m_pDocument->RemoveView(this);
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
  if (cs.lpszClass == NULL) {
    AfxDeferRegisterClass(AFX_WNDFRAMEORVIEW_REG);
    cs.lpszClass = AFX_WNDFRAMEORVIEW;
  }
  if (cs.style & WS_BORDER) {
    cs.dwExStyle |= WS_EX_CLIENTEDGE;
    cs.style &= ~WS_BORDER;
  }
  return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
  if (CWnd::OnCreate(lpcs) == -1)
    return -1;
  CCreateContext* pContext = (CCreateContext*)lpcs->lpCreateParams;
  if (pContext != NULL && pContext->m_pCurrentDoc != NULL)
    pContext->m_pCurrentDoc->AddView(this);
  return 0;
}

void CView::OnDestroy()
{
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != NULL && pFrame->GetActiveView() == this)
    pFrame->SetActiveView(NULL, FALSE);
  CWnd::OnDestroy();
}

// Views are made with new by the frame and die with their window.
void CView::PostNcDestroy() { delete this; }

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
  AFX_THREAD_STATE* ts = AfxGetThreadState();
  CView* pOldRoutingView = ts->m_pRoutingView;
  ts->m_pRoutingView = this;
  BOOL bHandled = CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  if (!bHandled && m_pDocument != NULL)
    bHandled = m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
  ts->m_pRoutingView = pOldRoutingView;
  return bHandled;
}

void CView::OnPaint()
{
  PAINTSTRUCT ps;
  HDC hDC = ::BeginPaint(m_hWnd, &ps);
  CDC dc;
  dc.Attach(hDC);
  try {
    OnPrepareDC(&dc);
    OnDraw(&dc);
  } catch (...) {
    dc.Detach();
    ::EndPaint(m_hWnd, &ps);
    throw;
  }
  dc.Detach();
  ::EndPaint(m_hWnd, &ps);
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
  int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
    return nResult;
  CFrameWnd* pParentFrame = GetParentFrame();
  if (pParentFrame != NULL) {
    CView* pView = pParentFrame->GetActiveView();
    HWND hWndFocus = ::GetFocus();
    if (pView == this && m_hWnd != hWndFocus && !::IsChild(m_hWnd, hWndFocus))
      OnActivateView(TRUE, this, this);  // re-activate to take the focus back
    else
      pParentFrame->SetActiveView(this);
  }
  return nResult;
}

LRESULT CView::OnInitialUpdateMsg(WPARAM, LPARAM)
{
  OnInitialUpdate();
  return 0;
}

void CView::OnInitialUpdate() { OnUpdate(NULL, 0, NULL); }

void CView::OnUpdate(CView* pSender, LPARAM, CObject*)
{
  if (pSender != this)
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView*, CView*)
{
  if (bActivate) {
    // Take the focus when this view's top-level window is the active one.
    CWnd* pTop = GetTopLevelParent();
    if (pTop != NULL && ::GetActiveWindow() == pTop->m_hWnd)
      SetFocus();
  }
}

void CView::OnActivateFrame(UINT, CFrameWnd*) {}
void CView::OnPrepareDC(CDC*, CPrintInfo*) {}
BOOL CView::IsSelected(const CObject*) const { return FALSE; }
BOOL CView::OnScrollBy(CSize, BOOL) { return FALSE; }
BOOL CView::OnScroll(UINT, UINT, BOOL) { return FALSE; }
void CView::CalcWindowRect(LPRECT lpClientRect, UINT nAdjustType)
{
  if (nAdjustType != 0) {
    // Room for the scroll bars the view shows.
    DWORD dwStyle = GetStyle();
    if (dwStyle & WS_VSCROLL)
      lpClientRect->right += ::GetSystemMetrics(SM_CXVSCROLL);
    if (dwStyle & WS_HSCROLL)
      lpClientRect->bottom += ::GetSystemMetrics(SM_CYHSCROLL);
  }
  CWnd::CalcWindowRect(lpClientRect, nAdjustType);
}
CScrollBar* CView::GetScrollBarCtrl(int nBar) const { return CWnd::GetScrollBarCtrl(nBar); }

// ---------------------------------------------------------------------------------------------
// Printing

CPrintInfo::CPrintInfo()
    : m_pPD(NULL), m_bDocObject(FALSE), m_bPreview(FALSE), m_bDirect(FALSE),
      m_bContinuePrinting(TRUE), m_nCurPage(1), m_nNumPreviewPages(0), m_lpUserData(NULL),
      m_rectDraw(0, 0, 0, 0), m_nJobNumber(0), m_dwFlags(0), m_nOffsetPage(0), m_nMinPage(1),
      m_nMaxPage(0xFFFF), m_nFromPage(1), m_nToPage(0xFFFF)
{
  memset(&m_pd, 0, sizeof(m_pd));
  m_pd.lStructSize = sizeof(m_pd);
  m_pd.Flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION;
}

CPrintInfo::~CPrintInfo()
{
  if (m_pd.hDC != NULL)
    ::DeleteDC(m_pd.hDC);
}

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo) { return DoPreparePrinting(pInfo); }
void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnPrint(CDC* pDC, CPrintInfo*) { OnDraw(pDC); }
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}
void CView::OnEndPrintPreview(CDC*, CPrintInfo*, POINT, CView*) {}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
  CWinApp* pApp = AfxGetApp();
  PRINTDLGA& pd = pInfo->m_pd;
  pd.hwndOwner = GetTopLevelParent()->GetSafeHwnd();
  pd.nMinPage = (WORD)pInfo->m_nMinPage;
  pd.nMaxPage = (WORD)pInfo->m_nMaxPage;
  pd.nFromPage = (WORD)pInfo->m_nMinPage;
  pd.nToPage = (WORD)pInfo->m_nMaxPage;
  if (pInfo->m_bPreview || pInfo->m_bDirect) {
    // No dialog: the application's printer, or the system's default.
    if (pApp == NULL || !pApp->GetPrinterDeviceDefaults(&pd))
      return FALSE;
    LPDEVNAMES lpDevNames = (LPDEVNAMES)::GlobalLock(pd.hDevNames);
    LPDEVMODEA lpDevMode = pd.hDevMode != NULL ? (LPDEVMODEA)::GlobalLock(pd.hDevMode) : NULL;
    if (lpDevNames != NULL)
      pd.hDC = ::CreateDCA((LPCSTR)lpDevNames + lpDevNames->wDriverOffset,
                           (LPCSTR)lpDevNames + lpDevNames->wDeviceOffset,
                           (LPCSTR)lpDevNames + lpDevNames->wOutputOffset, lpDevMode);
    ::GlobalUnlock(pd.hDevNames);
    if (pd.hDevMode != NULL)
      ::GlobalUnlock(pd.hDevMode);
    // The handles stay the application's.
    pd.hDevNames = NULL;
    pd.hDevMode = NULL;
    if (pd.hDC == NULL)
      return FALSE;
  } else {
    if (pApp != NULL) {
      pApp->UpdatePrinterSelection(FALSE);
      pd.hDevMode = pApp->m_hDevMode;
      pd.hDevNames = pApp->m_hDevNames;
    }
    pd.Flags |= PD_RETURNDC;
    if (!::PrintDlgA(&pd))
      return FALSE;
    if (pApp != NULL)
      pApp->SelectPrinter(pd.hDevNames, pd.hDevMode, TRUE);
    pd.hDevNames = NULL;
    pd.hDevMode = NULL;
    if (pd.hDC == NULL)
      return FALSE;
  }
  pInfo->m_nFromPage = pd.nFromPage;
  pInfo->m_nToPage = pd.nToPage;
  if (!(pd.Flags & PD_PAGENUMS)) {
    pInfo->m_nFromPage = pInfo->m_nMinPage;
    pInfo->m_nToPage = pInfo->m_nMaxPage;
  }
  return TRUE;
}

void CView::OnFilePrint()
{
  CPrintInfo printInfo;
  const MSG* pMsg = GetCurrentMessage();
  printInfo.m_bDirect = pMsg->message == WM_COMMAND && LOWORD(pMsg->wParam) == ID_FILE_PRINT_DIRECT;
  if (!OnPreparePrinting(&printInfo) || printInfo.m_pd.hDC == NULL)
    return;

  CDC dcPrint;
  dcPrint.Attach(printInfo.m_pd.hDC);
  printInfo.m_pd.hDC = NULL;  // the CDC owns it now
  dcPrint.m_bPrinting = TRUE;

  CString strTitle;
  if (m_pDocument != NULL)
    strTitle = m_pDocument->GetTitle();
  if (strTitle.GetLength() > 31)
    strTitle = strTitle.Left(31);
  DOCINFOA docInfo;
  memset(&docInfo, 0, sizeof(docInfo));
  docInfo.cbSize = sizeof(docInfo);
  docInfo.lpszDocName = strTitle;

  OnBeginPrinting(&dcPrint, &printInfo);
  if (::StartDocA(dcPrint.m_hDC, &docInfo) <= 0) {
    OnEndPrinting(&dcPrint, &printInfo);
    dcPrint.DeleteDC();
    AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
    return;
  }
  BOOL bError = FALSE;
  for (printInfo.m_nCurPage = printInfo.m_nFromPage;
       printInfo.m_nCurPage <= printInfo.m_nToPage && printInfo.m_bContinuePrinting;
       printInfo.m_nCurPage++) {
    OnPrepareDC(&dcPrint, &printInfo);
    if (!printInfo.m_bContinuePrinting)
      break;
    printInfo.m_rectDraw.SetRect(0, 0, ::GetDeviceCaps(dcPrint.m_hDC, HORZRES),
                                 ::GetDeviceCaps(dcPrint.m_hDC, VERTRES));
    if (::StartPage(dcPrint.m_hDC) < 0) {
      bError = TRUE;
      break;
    }
    OnPrint(&dcPrint, &printInfo);
    if (::EndPage(dcPrint.m_hDC) < 0) {
      bError = TRUE;
      break;
    }
    // Without a page count the view prints one page unless it asks for more.
    if (printInfo.m_nMaxPage == 0xFFFF && printInfo.m_nToPage == 0xFFFF)
      break;
  }
  if (bError)
    ::AbortDoc(dcPrint.m_hDC);
  else
    ::EndDoc(dcPrint.m_hDC);
  OnEndPrinting(&dcPrint, &printInfo);
  dcPrint.DeleteDC();
}

// Print preview is not offered: the command prints as the print command does.
void CView::OnFilePrintPreview() { OnFilePrint(); }

// ---------------------------------------------------------------------------------------------
// CScrollView

IMPLEMENT_DYNAMIC(CScrollView, CView)

BEGIN_MESSAGE_MAP(CScrollView, CView)
  ON_WM_SIZE()
  ON_WM_HSCROLL()
  ON_WM_VSCROLL()
  ON_WM_MOUSEWHEEL()
END_MESSAGE_MAP()

const SIZE CScrollView::sizeDefault = {0, 0};

CScrollView::CScrollView() : m_nMapMode(MM_TEXT), m_totalLog(0, 0), m_totalDev(0, 0), m_pageDev(0, 0), m_lineDev(0, 0) {}
CScrollView::~CScrollView() {}

void CScrollView::SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage,
                                 const SIZE& sizeLine)
{
  m_nMapMode = nMapMode;
  m_totalLog = sizeTotal;
  // Device sizes: the logical sizes through a DC in the view's mapping mode.
  HDC hDC = ::GetDC(m_hWnd);
  int nOld = ::SetMapMode(hDC, nMapMode);
  POINT pts[3] = {{sizeTotal.cx, sizeTotal.cy}, {sizePage.cx, sizePage.cy}, {sizeLine.cx, sizeLine.cy}};
  ::LPtoDP(hDC, pts, 3);
  POINT org = {0, 0};
  ::LPtoDP(hDC, &org, 1);
  ::SetMapMode(hDC, nOld);
  ::ReleaseDC(m_hWnd, hDC);
  m_totalDev = CSize(abs(pts[0].x - org.x), abs(pts[0].y - org.y));
  m_pageDev = CSize(abs(pts[1].x - org.x), abs(pts[1].y - org.y));
  m_lineDev = CSize(abs(pts[2].x - org.x), abs(pts[2].y - org.y));
  if (m_pageDev.cx == 0)
    m_pageDev.cx = m_totalDev.cx / 10;
  if (m_pageDev.cy == 0)
    m_pageDev.cy = m_totalDev.cy / 10;
  if (m_lineDev.cx == 0)
    m_lineDev.cx = m_pageDev.cx / 10;
  if (m_lineDev.cy == 0)
    m_lineDev.cy = m_pageDev.cy / 10;
  if (m_hWnd != NULL) {
    UpdateBars();
    Invalidate(TRUE);
  }
}

void CScrollView::GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage,
                                       SIZE& sizeLine) const
{
  nMapMode = m_nMapMode;
  sizeTotal = m_totalDev;
  sizePage = m_pageDev;
  sizeLine = m_lineDev;
}

CPoint CScrollView::GetScrollPosition() const
{
  CPoint pt(::GetScrollPos(m_hWnd, SB_HORZ), ::GetScrollPos(m_hWnd, SB_VERT));
  return pt;  // device units (the same as logical ones in MM_TEXT)
}

void CScrollView::ScrollToPosition(POINT pt)
{
  CPoint cur = GetScrollPosition();
  OnScrollBy(CSize(pt.x - cur.x, pt.y - cur.y), TRUE);
}

void CScrollView::OnPrepareDC(CDC* pDC, CPrintInfo* pInfo)
{
  ::SetMapMode(pDC->m_hDC, m_nMapMode);
  if (pInfo == NULL) {
    CPoint pt = GetScrollPosition();
    ::SetViewportOrgEx(pDC->m_hDC, -pt.x, -pt.y, NULL);
  }
}

void CScrollView::UpdateBars()
{
  CRect rc;
  GetClientRect(&rc);
  SCROLLINFO si;
  memset(&si, 0, sizeof(si));
  si.cbSize = sizeof(si);
  si.fMask = SIF_PAGE | SIF_RANGE;
  si.nMin = 0;
  si.nMax = m_totalDev.cx - 1;
  si.nPage = (UINT)rc.Width();
  ::SetScrollInfo(m_hWnd, SB_HORZ, &si, TRUE);
  si.nMax = m_totalDev.cy - 1;
  si.nPage = (UINT)rc.Height();
  ::SetScrollInfo(m_hWnd, SB_VERT, &si, TRUE);
}

void CScrollView::OnSize(UINT nType, int cx, int cy)
{
  CView::OnSize(nType, cx, cy);
  UpdateBars();
}

BOOL CScrollView::OnScrollBy(CSize sizeScroll, BOOL bDoScroll)
{
  int xOrig = ::GetScrollPos(m_hWnd, SB_HORZ), yOrig = ::GetScrollPos(m_hWnd, SB_VERT);
  int x = xOrig + sizeScroll.cx, y = yOrig + sizeScroll.cy;
  int xMax = GetScrollLimit(SB_HORZ), yMax = GetScrollLimit(SB_VERT);
  x = x < 0 ? 0 : (x > xMax ? xMax : x);
  y = y < 0 ? 0 : (y > yMax ? yMax : y);
  if (x == xOrig && y == yOrig)
    return FALSE;
  if (bDoScroll) {
    ScrollWindow(xOrig - x, yOrig - y);
    ::SetScrollPos(m_hWnd, SB_HORZ, x, TRUE);
    ::SetScrollPos(m_hWnd, SB_VERT, y, TRUE);
  }
  return TRUE;
}

BOOL CScrollView::OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll)
{
  int x = ::GetScrollPos(m_hWnd, SB_HORZ), y = ::GetScrollPos(m_hWnd, SB_VERT);
  int xOrig = x, yOrig = y;
  switch (LOBYTE(nScrollCode)) {
  case SB_TOP: x = 0; break;
  case SB_BOTTOM: x = INT_MAX; break;
  case SB_LINEUP: x -= m_lineDev.cx; break;
  case SB_LINEDOWN: x += m_lineDev.cx; break;
  case SB_PAGEUP: x -= m_pageDev.cx; break;
  case SB_PAGEDOWN: x += m_pageDev.cx; break;
  case SB_THUMBTRACK: x = (int)nPos; break;
  }
  switch (HIBYTE(nScrollCode)) {
  case SB_TOP: y = 0; break;
  case SB_BOTTOM: y = INT_MAX; break;
  case SB_LINEUP: y -= m_lineDev.cy; break;
  case SB_LINEDOWN: y += m_lineDev.cy; break;
  case SB_PAGEUP: y -= m_pageDev.cy; break;
  case SB_PAGEDOWN: y += m_pageDev.cy; break;
  case SB_THUMBTRACK: y = (int)nPos; break;
  }
  return OnScrollBy(CSize(x - xOrig, y - yOrig), bDoScroll);
}

void CScrollView::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
  OnScroll(MAKEWORD(nSBCode, 0xFF), nPos, TRUE);
}

void CScrollView::OnVScroll(UINT nSBCode, UINT nPos, CScrollBar*)
{
  OnScroll(MAKEWORD(0xFF, nSBCode), nPos, TRUE);
}

BOOL CScrollView::OnMouseWheel(UINT, short zDelta, CPoint)
{
  int nLines = -zDelta / WHEEL_DELTA * 3;
  return OnScrollBy(CSize(0, nLines * m_lineDev.cy), TRUE);
}
