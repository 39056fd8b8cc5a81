// Control bars: the layout protocol with the frame, delayed showing, idle updates, the
// messages of their child windows, dragging by the mouse, tool tips and fly-by prompts.
#include "afxext.h"

IMPLEMENT_DYNAMIC(CControlBar, CWnd)

BEGIN_MESSAGE_MAP(CControlBar, CWnd)
  ON_WM_CREATE()
  ON_WM_DESTROY()
  ON_WM_PAINT()
  ON_WM_TIMER()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_MOUSEACTIVATE()
  ON_WM_WINDOWPOSCHANGING()
  ON_MESSAGE(WM_SIZEPARENT, OnSizeParent)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
END_MESSAGE_MAP()

namespace {
// A border line is two pixels wide on this system's 3-D look.
const int kBorder = 2;
}  // namespace

CControlBar::CControlBar()
    : m_cxLeftBorder(6), m_cxRightBorder(6), m_cyTopBorder(2), m_cyBottomBorder(2),
      m_cxDefaultGap(2), m_nMRUWidth(32767), m_nCount(0), m_pData(NULL), m_nStateFlags(0),
      m_dwStyle(0), m_dwDockStyle(0), m_pDockSite(NULL), m_pDockBar(NULL),
      m_pDockContext(NULL), m_bAutoDelete(FALSE), m_nFlyByHit(-1)
{
}

CControlBar::~CControlBar()
{
  if (m_hWnd != NULL && ::IsWindow(m_hWnd))
    DestroyWindow();  // leaves the frame's list and its dock bar on the way
  if (m_pDockSite != NULL)
    m_pDockSite->RemoveControlBar(this);
  delete m_pDockContext;
  m_pDockContext = NULL;
  free(m_pData);
}

BOOL CControlBar::PreCreateWindow(CREATESTRUCT& cs)
{
  if (cs.lpszClass == NULL) {
    AfxDeferRegisterClass(AFX_WNDCONTROLBAR_REG);
    cs.lpszClass = AFX_WNDCONTROLBAR;
  }
  // The CBRS_ bits live in m_dwStyle, not in the window's style.
  m_dwStyle = cs.style & CBRS_ALL;
  cs.style &= ~CBRS_ALL;
  cs.style |= WS_CLIPSIBLINGS;
  return CWnd::PreCreateWindow(cs);
}

int CControlBar::OnCreate(LPCREATESTRUCT lpcs)
{
  if (CWnd::OnCreate(lpcs) == -1)
    return -1;
  if (m_dwStyle & CBRS_TOOLTIPS)
    EnableToolTips();
  // A bar made as a child of a frame belongs to it.
  CWnd* pParent = GetParent();
  if (pParent != NULL && pParent->IsFrameWnd()) {
    m_pDockSite = (CFrameWnd*)pParent;
    m_pDockSite->AddControlBar(this);
  }
  return 0;
}

void CControlBar::OnDestroy()
{
  KillTimer(AFX_IDT_FLYBY_WAIT);
  KillTimer(AFX_IDT_FLYBY_CHECK);
  // Out of its dock bar (no place-holder: the bar is gone) and out of its frame's list,
  // while both still exist.
  if (m_pDockBar != NULL && !IsDockBar()) {
    CDockBar* pDockBar = m_pDockBar;
    m_pDockBar = NULL;
    int nPos;
    while ((nPos = pDockBar->FindBar(this)) > 0)
      pDockBar->m_arrBars.RemoveAt(nPos);
    pDockBar->RemoveEmptyRows();
  }
  if (m_pDockSite != NULL) {
    m_pDockSite->RemoveControlBar(this);
    m_pDockSite = NULL;
  }
  CWnd::OnDestroy();
}

void CControlBar::PostNcDestroy()
{
  if (m_bAutoDelete)
    delete this;
}

BOOL CControlBar::AllocElements(int nElements, int cbElement)
{
  free(m_pData);
  m_pData = NULL;
  m_nCount = 0;
  if (nElements <= 0 || cbElement <= 0)
    return TRUE;
  m_pData = calloc((size_t)nElements, (size_t)cbElement);
  if (m_pData == NULL)
    return FALSE;
  m_nCount = nElements;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Styles and docking

void CControlBar::SetBarStyle(DWORD dwStyle)
{
  dwStyle &= CBRS_ALL;
  if (m_dwStyle != dwStyle) {
    DWORD dwOldStyle = m_dwStyle;
    m_dwStyle = dwStyle;
    if (m_hWnd != NULL && ((dwOldStyle ^ dwStyle) & CBRS_TOOLTIPS))
      EnableToolTips((dwStyle & CBRS_TOOLTIPS) != 0);
    OnBarStyleChange(dwOldStyle, dwStyle);
  }
}

void CControlBar::OnBarStyleChange(DWORD, DWORD) {}

void CControlBar::EnableDocking(DWORD dwDockStyle)
{
  m_dwDockStyle = dwDockStyle;
  if (m_pDockContext == NULL)
    m_pDockContext = new CDockContext(this);
  if (m_hWndOwner == NULL)
    m_hWndOwner = ::GetParent(m_hWnd);
}

BOOL CControlBar::IsFloating() const
{
  if (IsDockBar())
    return ((CDockBar*)this)->m_bFloating;
  return m_pDockBar != NULL && m_pDockBar->m_bFloating;
}

// The frame the bar sits in now: a floating bar's mini frame, else its frame.
CFrameWnd* CControlBar::GetDockingFrame() const
{
  CFrameWnd* pFrameWnd = GetParentFrame();
  if (pFrameWnd == NULL)
    pFrameWnd = m_pDockSite;
  return pFrameWnd;
}

void CControlBar::CalcInsideRect(CRect& rect, BOOL bHorz) const
{
  DWORD dwStyle = m_dwStyle;
  if (dwStyle & CBRS_BORDER_LEFT)
    rect.left += kBorder;
  if (dwStyle & CBRS_BORDER_TOP)
    rect.top += kBorder;
  if (dwStyle & CBRS_BORDER_RIGHT)
    rect.right -= kBorder;
  if (dwStyle & CBRS_BORDER_BOTTOM)
    rect.bottom -= kBorder;
  // The inner borders run along the bar: across it they swap for a vertical one.
  if (bHorz) {
    rect.left += m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

// ---------------------------------------------------------------------------------------------
// Sizes and the frame's layout

CSize CControlBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
  // A plain bar is only its borders, stretched along its side when asked.
  CSize size(bStretch && bHorz ? 32767 : 0, bStretch && !bHorz ? 32767 : 0);
  CRect rect(0, 0, 0, 0);
  CalcInsideRect(rect, bHorz);
  size.cx -= rect.Width();
  size.cy -= rect.Height();
  if (size.cx > 32767)
    size.cx = 32767;
  if (size.cy > 32767)
    size.cy = 32767;
  return size;
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode)
{
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

void CControlBar::DelayShow(BOOL bShow)
{
  m_nStateFlags &= ~(delayHide | delayShow);
  BOOL bVisible = (GetStyle() & WS_VISIBLE) != 0;
  if (bShow && !bVisible)
    m_nStateFlags |= delayShow;
  else if (!bShow && bVisible)
    m_nStateFlags |= delayHide;
}

BOOL CControlBar::IsVisible() const
{
  if (m_nStateFlags & delayHide)
    return FALSE;
  if (m_nStateFlags & delayShow)
    return TRUE;
  return (GetStyle() & WS_VISIBLE) != 0;
}

DWORD CControlBar::RecalcDelayShow(AFX_SIZEPARENTPARAMS* lpLayout)
{
  DWORD dwVisible = GetStyle() & WS_VISIBLE;
  if (m_nStateFlags & (delayHide | delayShow)) {
    BOOL bShow = (m_nStateFlags & delayShow) != 0;
    if (lpLayout == NULL || lpLayout->hDWP != NULL) {
      m_nStateFlags &= ~(delayHide | delayShow);
      ::SetWindowPos(m_hWnd, NULL, 0, 0, 0, 0,
                     SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE |
                         (bShow ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
    dwVisible = bShow ? WS_VISIBLE : 0;
  }
  return (m_dwStyle & CBRS_ALL) | dwVisible;
}

// The frame's layout: a visible bar takes its thickness from the side it is aligned to
// and leaves the rest of the rectangle to the bars after it and the client pane.
LRESULT CControlBar::OnSizeParent(WPARAM, LPARAM lParam)
{
  AFX_SIZEPARENTPARAMS* lpLayout = (AFX_SIZEPARENTPARAMS*)lParam;
  DWORD dwStyle = RecalcDelayShow(lpLayout);
  if (!(dwStyle & WS_VISIBLE) || !(dwStyle & CBRS_ALIGN_ANY))
    return 0;
  CRect rect(lpLayout->rect);
  CSize sizeAvail = rect.Size();
  DWORD dwMode = lpLayout->bStretch ? LM_STRETCH : 0;
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) && (m_dwStyle & CBRS_FLOATING))
    dwMode |= LM_HORZ | LM_MRUWIDTH;
  else if (dwStyle & CBRS_ORIENT_HORZ)
    dwMode |= LM_HORZ | LM_HORZDOCK;
  else
    dwMode |= LM_VERTDOCK;
  CSize size = CalcDynamicLayout(-1, dwMode);
  if (size.cx > sizeAvail.cx)
    size.cx = sizeAvail.cx < 0 ? 0 : sizeAvail.cx;
  if (size.cy > sizeAvail.cy)
    size.cy = sizeAvail.cy < 0 ? 0 : sizeAvail.cy;
  if (dwStyle & CBRS_ORIENT_HORZ) {
    lpLayout->sizeTotal.cy += size.cy;
    if (lpLayout->sizeTotal.cx < size.cx)
      lpLayout->sizeTotal.cx = size.cx;
    if (dwStyle & CBRS_ALIGN_TOP) {
      lpLayout->rect.top += size.cy;
    } else {
      rect.top = rect.bottom - size.cy;
      lpLayout->rect.bottom -= size.cy;
    }
  } else {
    lpLayout->sizeTotal.cx += size.cx;
    if (lpLayout->sizeTotal.cy < size.cy)
      lpLayout->sizeTotal.cy = size.cy;
    if (dwStyle & CBRS_ALIGN_LEFT) {
      lpLayout->rect.left += size.cx;
    } else {
      rect.left = rect.right - size.cx;
      lpLayout->rect.right -= size.cx;
    }
  }
  rect.right = rect.left + size.cx;
  rect.bottom = rect.top + size.cy;
  if (lpLayout->hDWP != NULL)
    AfxRepositionWindow(lpLayout, m_hWnd, &rect);
  return 0;
}

void CControlBar::OnWindowPosChanging(WINDOWPOS* lpWndPos)
{
  CWnd::OnWindowPosChanging(lpWndPos);
  // The borders are drawn along the edges: a bar that changes size repaints them.
  if (!(lpWndPos->flags & SWP_NOSIZE) && (m_dwStyle & CBRS_BORDER_ANY))
    Invalidate();
}

// ---------------------------------------------------------------------------------------------
// Painting

void CControlBar::OnPaint()
{
  PAINTSTRUCT ps;
  CDC* pDC = BeginPaint(&ps);
  DoPaint(pDC);
  EndPaint(&ps);
}

void CControlBar::DoPaint(CDC* pDC)
{
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
}

void CControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
  DWORD dwStyle = m_dwStyle;
  if (!(dwStyle & CBRS_BORDER_ANY))
    return;
  HDC hDC = pDC->GetSafeHdc();
  COLORREF clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
  COLORREF clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  auto line = [hDC](int x, int y, int cx, int cy, COLORREF clr) {
    RECT rc = {x, y, x + cx, y + cy};
    ::SetBkColor(hDC, clr);
    ::ExtTextOutA(hDC, 0, 0, ETO_OPAQUE, &rc, NULL, 0, NULL);
  };
  // Each border is a shadow line with a highlight line inside it (sunk into the frame).
  if (dwStyle & CBRS_BORDER_LEFT) {
    line(rect.left, rect.top, 1, rect.Height(), clrShadow);
    line(rect.left + 1, rect.top, 1, rect.Height(), clrHilite);
    rect.left += kBorder;
  }
  if (dwStyle & CBRS_BORDER_TOP) {
    line(rect.left, rect.top, rect.Width(), 1, clrShadow);
    line(rect.left, rect.top + 1, rect.Width(), 1, clrHilite);
    rect.top += kBorder;
  }
  if (dwStyle & CBRS_BORDER_RIGHT) {
    line(rect.right - 2, rect.top, 1, rect.Height(), clrShadow);
    line(rect.right - 1, rect.top, 1, rect.Height(), clrHilite);
    rect.right -= kBorder;
  }
  if (dwStyle & CBRS_BORDER_BOTTOM) {
    line(rect.left, rect.bottom - 2, rect.Width(), 1, clrShadow);
    line(rect.left, rect.bottom - 1, rect.Width(), 1, clrHilite);
    rect.bottom -= kBorder;
  }
}

// ---------------------------------------------------------------------------------------------
// Idle updates and the messages of the bar's children

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
  if (!(GetStyle() & WS_VISIBLE) && !(m_nStateFlags & delayShow))
    return 0;
  // The commands of a bar are the owner frame's, floating or not.
  CFrameWnd* pTarget = NULL;
  CWnd* pOwner = GetOwner();
  if (pOwner != NULL && pOwner->IsFrameWnd())
    pTarget = (CFrameWnd*)pOwner;
  if (pTarget == NULL)
    pTarget = m_pDockSite != NULL ? m_pDockSite : GetParentFrame();
  if (pTarget != NULL)
    OnUpdateCmdUI(pTarget, (BOOL)wParam);
  return 0;
}

LRESULT CControlBar::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam)
{
  switch (nMsg) {
  case WM_COMMAND:
  case WM_NOTIFY:
  case WM_DRAWITEM:
  case WM_MEASUREITEM:
  case WM_DELETEITEM:
  case WM_COMPAREITEM:
  case WM_VKEYTOITEM:
  case WM_CHARTOITEM: {
    // What the bar (or the child itself, by reflection) does not handle goes to the owner.
    LRESULT lResult = 0;
    if (m_hWnd != NULL && OnWndMsg(nMsg, wParam, lParam, &lResult))
      return lResult;
    CWnd* pOwner = GetOwner();
    if (pOwner != NULL && pOwner->m_hWnd != NULL && pOwner->m_hWnd != m_hWnd)
      return pOwner->SendMessage(nMsg, wParam, lParam);
    return DefWindowProc(nMsg, wParam, lParam);
  }
  }
  return CWnd::WindowProc(nMsg, wParam, lParam);
}

// ---------------------------------------------------------------------------------------------
// Mouse: dragging and toggling docked bars

int CControlBar::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
  // Clicking a floating bar activates the frame above it, not the mini frame alone.
  int nResult = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
  if (nResult == MA_NOACTIVATE || nResult == MA_NOACTIVATEANDEAT)
    return nResult;
  if (m_pDockSite != NULL && IsFloating())
    m_pDockSite->ActivateTopParent();
  return nResult;
}

void CControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
  // Off its tools a bar that can dock starts a drag.
  if (m_pDockContext != NULL && OnToolHitTest(point, NULL) == -1) {
    ClientToScreen(&point);
    m_pDockContext->StartDrag(point);
    return;
  }
  CWnd::OnLButtonDown(nFlags, point);
}

void CControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
  if (m_pDockContext != NULL && OnToolHitTest(point, NULL) == -1) {
    m_pDockContext->ToggleDocking();
    return;
  }
  CWnd::OnLButtonDblClk(nFlags, point);
}

// ---------------------------------------------------------------------------------------------
// Tool tips and fly-by prompts

INT_PTR CControlBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
  return CWnd::OnToolHitTest(point, pTI);
}

CFrameWnd* CControlBar::GetMessageFrame() const
{
  if (m_pDockSite != NULL)
    return m_pDockSite;
  CWnd* pOwner = GetOwner();
  if (pOwner != NULL && pOwner->IsFrameWnd())
    return (CFrameWnd*)pOwner;
  return GetTopLevelFrame();
}

void CControlBar::SetStatusText(INT_PTR nHit)
{
  CFrameWnd* pFrame = GetMessageFrame();
  if (pFrame == NULL || pFrame->m_hWnd == NULL)
    return;
  if (nHit > 0) {
    pFrame->SendMessage(WM_SETMESSAGESTRING, (WPARAM)nHit);
    m_nStateFlags |= statusSet;
  } else if (m_nStateFlags & statusSet) {
    pFrame->SendMessage(WM_POPMESSAGESTRING, AFX_IDS_IDLEMESSAGE);
    m_nStateFlags &= ~statusSet;
  }
}

BOOL CControlBar::PreTranslateMessage(MSG* pMsg)
{
  if (CWnd::PreTranslateMessage(pMsg))
    return TRUE;
  if (m_dwStyle & CBRS_TOOLTIPS)
    FilterToolTipMessage(pMsg);

  // Fly-by: the prompt of the tool under the mouse goes to the frame's message line.
  if ((m_dwStyle & CBRS_FLYBY) && pMsg->message == WM_MOUSEMOVE &&
      (pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd))) {
    CPoint point((short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam));
    ::MapWindowPoints(pMsg->hwnd, m_hWnd, &point, 1);
    INT_PTR nHit = OnToolHitTest(point, NULL);
    if (nHit != m_nFlyByHit) {
      m_nFlyByHit = nHit;
      if (nHit <= 0) {
        KillTimer(AFX_IDT_FLYBY_WAIT);
        SetStatusText(-1);
      } else if (m_nStateFlags & statusSet) {
        SetStatusText(nHit);  // already showing prompts: follow at once
      } else {
        SetTimer(AFX_IDT_FLYBY_WAIT, 300, NULL);
      }
    }
  }
  return FALSE;
}

void CControlBar::OnTimer(UINT_PTR nIDEvent)
{
  if (nIDEvent == AFX_IDT_FLYBY_WAIT) {
    KillTimer(AFX_IDT_FLYBY_WAIT);
    if (m_nFlyByHit > 0) {
      SetStatusText(m_nFlyByHit);
      SetTimer(AFX_IDT_FLYBY_CHECK, 200, NULL);
    }
    return;
  }
  if (nIDEvent == AFX_IDT_FLYBY_CHECK) {
    // The prompt stays while the mouse is over the bar.
    CPoint pt;
    ::GetCursorPos(&pt);
    HWND hWndUnder = ::WindowFromPoint(pt);
    if (hWndUnder != m_hWnd && !::IsChild(m_hWnd, hWndUnder)) {
      KillTimer(AFX_IDT_FLYBY_CHECK);
      m_nFlyByHit = -1;
      SetStatusText(-1);
    }
    return;
  }
  CWnd::OnTimer(nIDEvent);
}

// ---------------------------------------------------------------------------------------------

void CWnd::ActivateTopParent()
{
  CWnd* pTopLevel = GetTopLevelParent();
  if (pTopLevel == NULL)
    return;
  HWND hWndActive = ::GetActiveWindow();
  if (hWndActive == pTopLevel->m_hWnd)
    return;
  // A popup of the top-level window (a floating bar, a dialog) may stay active.
  if (hWndActive != NULL && ::GetLastActivePopup(pTopLevel->m_hWnd) == hWndActive)
    return;
  pTopLevel->SetActiveWindow();
}

// ---------------------------------------------------------------------------------------------
// CReBar

IMPLEMENT_DYNAMIC(CReBar, CControlBar)

BEGIN_MESSAGE_MAP(CReBar, CControlBar)
  ON_NOTIFY_REFLECT(RBN_HEIGHTCHANGE, OnHeightChange)
END_MESSAGE_MAP()

CReBar::CReBar()
{
  m_cxLeftBorder = m_cxRightBorder = m_cyTopBorder = m_cyBottomBorder = 0;
}

BOOL CReBar::Create(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, UINT nID)
{
  INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_COOL_CLASSES};
  ::InitCommonControlsEx(&icc);
  m_dwStyle = dwStyle & CBRS_ALL;
  dwStyle &= ~CBRS_ALL;
  dwStyle |= dwCtrlStyle | CCS_NOPARENTALIGN | CCS_NOMOVEY | CCS_NODIVIDER | CCS_NORESIZE;
  CRect rect(0, 0, 0, 0);
  if (!CWnd::Create(REBARCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID))
    return FALSE;
  return TRUE;
}

// The low word of a rebar's style is the control's own (RBS_, CCS_), not bar styles.
BOOL CReBar::PreCreateWindow(CREATESTRUCT& cs) { return CWnd::PreCreateWindow(cs); }

BOOL CReBar::AddBand(CWnd* pBar, REBARBANDINFOA* pRBBI)
{
  pRBBI->cbSize = sizeof(REBARBANDINFOA);
  pRBBI->fMask |= RBBIM_CHILD | RBBIM_CHILDSIZE;
  pRBBI->hwndChild = pBar->m_hWnd;
  CSize size;
  CControlBar* pControlBar = DYNAMIC_DOWNCAST(CControlBar, pBar);
  if (pControlBar != NULL) {
    size = pControlBar->CalcFixedLayout(FALSE, (m_dwStyle & CBRS_ORIENT_HORZ) != 0);
  } else {
    CRect rect;
    pBar->GetWindowRect(&rect);
    size = rect.Size();
  }
  pRBBI->cyMinChild = size.cy;
  pRBBI->cxMinChild = size.cx;
  pRBBI->fMask |= RBBIM_SIZE;
  pRBBI->cx = size.cx;
  if (!::SendMessageA(m_hWnd, RB_INSERTBANDA, (WPARAM)-1, (LPARAM)pRBBI))
    return FALSE;
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != NULL)
    pFrame->RecalcLayout();
  return TRUE;
}

BOOL CReBar::AddBar(CWnd* pBar, LPCTSTR pszText, CBitmap* pbmp, DWORD dwStyle)
{
  REBARBANDINFOA rbbi;
  memset(&rbbi, 0, sizeof(rbbi));
  rbbi.fMask = RBBIM_STYLE;
  rbbi.fStyle = dwStyle;
  if (pszText != NULL) {
    rbbi.fMask |= RBBIM_TEXT;
    rbbi.lpText = (LPSTR)pszText;
  }
  if (pbmp != NULL) {
    rbbi.fMask |= RBBIM_BACKGROUND;
    rbbi.hbmBack = (HBITMAP)pbmp->GetSafeHandle();
  }
  return AddBand(pBar, &rbbi);
}

BOOL CReBar::AddBar(CWnd* pBar, COLORREF clrFore, COLORREF clrBack, LPCTSTR pszText,
                    DWORD dwStyle)
{
  REBARBANDINFOA rbbi;
  memset(&rbbi, 0, sizeof(rbbi));
  rbbi.fMask = RBBIM_STYLE | RBBIM_COLORS;
  rbbi.fStyle = dwStyle;
  rbbi.clrFore = clrFore;
  rbbi.clrBack = clrBack;
  if (pszText != NULL) {
    rbbi.fMask |= RBBIM_TEXT;
    rbbi.lpText = (LPSTR)pszText;
  }
  return AddBand(pBar, &rbbi);
}

// The rebar's own height (all its rows), across the whole side.
CSize CReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
  CRect rect(0, 0, 0, 0);
  if (m_hWnd != NULL) {
    int nHeight = (int)::SendMessageA(m_hWnd, RB_GETBARHEIGHT, 0, 0);
    if (bHorz)
      rect.bottom = nHeight;
    else
      rect.right = nHeight;
  }
  CSize size = rect.Size();
  if (bStretch) {
    if (bHorz)
      size.cx = 32767;
    else
      size.cy = 32767;
  }
  return size;
}

void CReBar::OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler)
{
  UpdateDialogControls(pTarget, bDisableIfNoHndler);
}

void CReBar::OnHeightChange(NMHDR*, LRESULT* pResult)
{
  CFrameWnd* pFrame = GetParentFrame();
  if (pFrame != NULL)
    pFrame->DelayRecalcLayout();
  *pResult = 0;
}
