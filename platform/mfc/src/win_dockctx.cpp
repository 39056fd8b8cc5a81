// Dock contexts: dragging a bar with feedback drawn on the screen until it docks on a side
// or floats, resizing a floating bar from its frame's border, and toggling a bar between
// its last dock place and its last floating place.
#include "afxext.h"

namespace {
const int kBorder = 2;  // the border the feedback rectangles keep round the mouse

inline BOOL IsHorz(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_HORZ) != 0; }
inline BOOL IsVert(DWORD dwStyle) { return (dwStyle & CBRS_ORIENT_VERT) != 0; }

// Moves a rectangle so that it holds the point.
void KeepPointInside(CRect& rect, CPoint pt)
{
  if (pt.x < rect.left)
    rect.OffsetRect(pt.x - rect.left, 0);
  else if (pt.x >= rect.right)
    rect.OffsetRect(pt.x + kBorder - rect.right, 0);
  if (pt.y < rect.top)
    rect.OffsetRect(0, pt.y - rect.top);
  else if (pt.y >= rect.bottom)
    rect.OffsetRect(0, pt.y + kBorder - rect.bottom);
}

// The point a mouse message carries, on the screen.
CPoint MessagePoint(const MSG& msg)
{
  CPoint pt((short)LOWORD(msg.lParam), (short)HIWORD(msg.lParam));
  if (msg.hwnd != NULL)
    ::ClientToScreen(msg.hwnd, &pt);
  return pt;
}

// The mini frame's borders round a floating bar's rectangle, so that the bar floats where
// the feedback showed it.
void AddFrameBorders(CRect& rect) { CMiniFrameWnd::CalcBorders(&rect, WS_THICKFRAME | WS_CAPTION); }

// The outline shown while a bar is dragged or sized. Wine's X11 driver does not show what is
// drawn on the desktop window, so the outline is a topmost popup shaped to the outline's
// frame, filled with the outline's brush, that never activates and lets the mouse through.
const char kOutlineClass[] = "AfxDockOutline";

LRESULT CALLBACK OutlineProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_NCHITTEST:
    return HTTRANSPARENT;
  case WM_MOUSEACTIVATE:
    return MA_NOACTIVATE;
  case WM_ERASEBKGND: {
    RECT rect;
    ::GetClientRect(hWnd, &rect);
    HBRUSH hBrush = (HBRUSH)::GetWindowLongPtrA(hWnd, GWLP_USERDATA);
    if (hBrush != NULL)
      ::FillRect((HDC)wParam, &rect, hBrush);
    return 1;
  }
  case WM_PAINT: {
    PAINTSTRUCT ps;
    ::BeginPaint(hWnd, &ps);
    ::EndPaint(hWnd, &ps);
    return 0;
  }
  }
  return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

HWND CreateOutline()
{
  static const bool s_bRegistered = [] {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = OutlineProc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = kOutlineClass;
    return ::RegisterClassA(&wc) != 0;
  }();
  if (!s_bRegistered)
    return NULL;
  return ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT,
                           kOutlineClass, "", WS_POPUP | WS_DISABLED, 0, 0, 0, 0, NULL, NULL,
                           ::GetModuleHandleA(NULL), NULL);
}

// Shows the outline as a frame of the given thickness round the rectangle; thickness 0 hides it.
void ShowOutline(HWND hWnd, const CRect& rect, CSize size, HBRUSH hBrush)
{
  if (hWnd == NULL)
    return;
  if (size.cx <= 0 || size.cy <= 0 || rect.IsRectEmpty()) {
    ::ShowWindow(hWnd, SW_HIDE);
    return;
  }
  ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, (LONG_PTR)hBrush);
  HRGN hRgn = ::CreateRectRgn(0, 0, rect.Width(), rect.Height());
  HRGN hInside = ::CreateRectRgn(size.cx, size.cy, rect.Width() - size.cx, rect.Height() - size.cy);
  ::CombineRgn(hRgn, hRgn, hInside, RGN_DIFF);
  ::DeleteObject(hInside);
  ::SetWindowPos(hWnd, HWND_TOPMOST, rect.left, rect.top, rect.Width(), rect.Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  ::SetWindowRgn(hWnd, hRgn, TRUE);  // the window owns the region now
  ::InvalidateRect(hWnd, NULL, TRUE);
  ::UpdateWindow(hWnd);
}
}  // namespace

CDockContext::CDockContext(CControlBar* pBar)
    : m_ptLast(0, 0), m_rectLast(0, 0, 0, 0), m_sizeLast(0, 0), m_bDitherLast(FALSE),
      m_rectDragHorz(0, 0, 0, 0), m_rectDragVert(0, 0, 0, 0), m_rectFrameDragHorz(0, 0, 0, 0),
      m_rectFrameDragVert(0, 0, 0, 0), m_pBar(pBar), m_pDockSite(pBar->m_pDockSite),
      m_dwDockStyle(0), m_dwOverDockStyle(0), m_dwStyle(0), m_bFlip(FALSE), m_bForceFrame(FALSE),
      m_pDC(NULL), m_hWndOutline(NULL), m_bDragging(FALSE), m_nHitTest(0), m_uMRUDockID(0),
      m_rectMRUDockPos(0, 0, 0, 0), m_dwMRUFloatStyle(0), m_ptMRUFloatPos(-1, -1)
{
  if (m_pDockSite == NULL)
    m_pDockSite = pBar->GetParentFrame();
}

CDockContext::~CDockContext()
{
  // A bar that goes leaves its dock bar.
  if (m_pBar != NULL && m_pBar->m_pDockBar != NULL) {
    CDockBar* pDockBar = m_pBar->m_pDockBar;
    m_pBar->m_pDockBar = NULL;
    int nPos;
    while ((nPos = pDockBar->FindBar(m_pBar)) > 0)
      pDockBar->m_arrBars.RemoveAt(nPos);
    pDockBar->RemoveEmptyRows();
  }
}

// ---------------------------------------------------------------------------------------------
// The loop

void CDockContext::InitLoop()
{
  m_dwDockStyle = m_pBar->m_dwDockStyle;
  m_dwStyle = m_pBar->m_dwStyle;
  m_dwOverDockStyle = 0;
  m_bFlip = m_bForceFrame = FALSE;
  m_bDitherLast = FALSE;
  m_rectLast.SetRectEmpty();
  m_sizeLast = CSize(0, 0);
  if (m_hWndOutline == NULL)
    m_hWndOutline = CreateOutline();
}

void CDockContext::CancelLoop()
{
  DrawFocusRect(TRUE);
  if (::GetCapture() == m_pBar->m_hWnd)
    ::ReleaseCapture();
  if (m_hWndOutline != NULL) {
    ::DestroyWindow(m_hWndOutline);
    m_hWndOutline = NULL;
  }
}

BOOL CDockContext::Track()
{
  if (::GetCapture() != NULL)
    return FALSE;  // someone else is tracking the mouse
  m_pBar->SetCapture();
  while (::GetCapture() == m_pBar->m_hWnd) {
    MSG msg;
    if (!::GetMessageA(&msg, NULL, 0, 0)) {
      ::PostQuitMessage((int)msg.wParam);
      break;
    }
    switch (msg.message) {
    case WM_LBUTTONUP:
      if (m_bDragging)
        EndDrag();
      else
        EndResize();
      return TRUE;
    case WM_MOUSEMOVE:
      if (m_bDragging)
        Move(MessagePoint(msg));
      else
        Stretch(MessagePoint(msg));
      break;
    case WM_KEYUP:
      if (m_bDragging)
        OnKey((int)msg.wParam, FALSE);
      break;
    case WM_KEYDOWN:
      if (m_bDragging)
        OnKey((int)msg.wParam, TRUE);
      if (msg.wParam == VK_ESCAPE) {
        CancelLoop();
        return FALSE;
      }
      break;
    case WM_RBUTTONDOWN:
      CancelLoop();
      return FALSE;
    default:
      ::DispatchMessageA(&msg);
      break;
    }
  }
  CancelLoop();
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Dragging

void CDockContext::StartDrag(CPoint pt)
{
  if (m_pDockSite == NULL)
    m_pDockSite = m_pBar->m_pDockSite;
  if (m_pDockSite == NULL)
    return;  // a bar outside any frame has nowhere to go
  m_bDragging = TRUE;
  InitLoop();
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  m_ptLast = pt;
  if (m_pBar->m_dwStyle & CBRS_SIZE_DYNAMIC) {
    CSize sizeHorz = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_HORZDOCK);
    CSize sizeVert = m_pBar->CalcDynamicLayout(0, LM_VERTDOCK);
    CSize sizeFloat = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
    m_rectDragHorz = CRect(rect.TopLeft(), sizeHorz);
    m_rectDragVert = CRect(rect.TopLeft(), sizeVert);
    m_rectFrameDragHorz = CRect(rect.TopLeft(), sizeFloat);
    m_rectFrameDragVert = m_rectFrameDragHorz;
  } else if (m_pBar->m_dwStyle & CBRS_SIZE_FIXED) {
    CSize sizeHorz = m_pBar->CalcDynamicLayout(-1, LM_HORZ | LM_HORZDOCK);
    CSize sizeVert = m_pBar->CalcDynamicLayout(-1, LM_VERTDOCK);
    m_rectDragHorz = m_rectFrameDragHorz = CRect(rect.TopLeft(), sizeHorz);
    m_rectDragVert = m_rectFrameDragVert = CRect(rect.TopLeft(), sizeVert);
  } else {
    // The bar keeps its size in its own orientation and takes the other one centred on
    // the mouse.
    BOOL bHorz = IsHorz(m_dwStyle);
    CSize size = m_pBar->CalcDynamicLayout(-1, bHorz ? LM_VERTDOCK : LM_HORZ | LM_HORZDOCK);
    if (bHorz) {
      m_rectDragHorz = rect;
      m_rectDragVert = CRect(CPoint(pt.x - size.cx / 2, pt.y - size.cy / 2), size);
    } else {
      m_rectDragVert = rect;
      m_rectDragHorz = CRect(CPoint(pt.x - size.cx / 2, pt.y - size.cy / 2), size);
    }
    m_rectFrameDragHorz = m_rectDragHorz;
    m_rectFrameDragVert = m_rectDragVert;
  }
  AddFrameBorders(m_rectFrameDragHorz);
  AddFrameBorders(m_rectFrameDragVert);
  KeepPointInside(m_rectDragHorz, pt);
  KeepPointInside(m_rectDragVert, pt);
  KeepPointInside(m_rectFrameDragHorz, pt);
  KeepPointInside(m_rectFrameDragVert, pt);

  m_dwOverDockStyle = CanDock();
  Move(pt);
  Track();
}

void CDockContext::Move(CPoint pt)
{
  CPoint ptOffset = pt - m_ptLast;
  m_rectDragHorz.OffsetRect(ptOffset);
  m_rectFrameDragHorz.OffsetRect(ptOffset);
  m_rectDragVert.OffsetRect(ptOffset);
  m_rectFrameDragVert.OffsetRect(ptOffset);
  m_ptLast = pt;
  m_dwOverDockStyle = m_bForceFrame ? 0 : CanDock();
  DrawFocusRect();
}

void CDockContext::OnKey(int nChar, BOOL bDown)
{
  if (nChar == VK_CONTROL)
    UpdateState(&m_bForceFrame, bDown);
  if (nChar == VK_SHIFT)
    UpdateState(&m_bFlip, bDown);
}

void CDockContext::UpdateState(BOOL* pFlag, BOOL bNewValue)
{
  if (*pFlag == bNewValue)
    return;
  *pFlag = bNewValue;
  m_dwOverDockStyle = (m_bDragging && m_bForceFrame) ? 0 : CanDock();
  DrawFocusRect();
}

// The side the drag would dock on: the orientation the bar has (or the other one with
// Shift) first; without Shift the other orientation only when both rectangles agree.
DWORD CDockContext::CanDock()
{
  if (m_pDockSite == NULL)
    return 0;
  BOOL bStyleHorz = IsHorz(m_dwStyle);
  if (m_bFlip)
    bStyleHorz = !bStyleHorz;
  DWORD dwDock = 0;
  if (bStyleHorz && IsHorz(m_dwDockStyle))
    dwDock = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
  else if (IsVert(m_dwDockStyle))
    dwDock = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
  if (!m_bFlip) {
    if (dwDock == 0 && IsHorz(m_dwDockStyle)) {
      DWORD dwVert = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_VERT);
      DWORD dwHorz = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_VERT);
      dwDock = dwVert == dwHorz ? dwHorz : 0;
    }
    if (dwDock == 0 && IsVert(m_dwDockStyle)) {
      DWORD dwVert = m_pDockSite->CanDock(m_rectDragVert, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
      DWORD dwHorz = m_pDockSite->CanDock(m_rectDragHorz, m_dwDockStyle & ~CBRS_ORIENT_HORZ);
      dwDock = dwVert == dwHorz ? dwVert : 0;
    }
  }
  return dwDock;
}

CDockBar* CDockContext::GetDockBar(DWORD dwOverDockStyle)
{
  DWORD dw = 0;
  CDockBar* pBar = NULL;
  if (IsHorz(dwOverDockStyle)) {
    dw = m_pDockSite->CanDock(m_rectDragHorz, dwOverDockStyle & ~CBRS_ORIENT_VERT, &pBar);
    if (dw != 0)
      return pBar;
  }
  if (IsVert(dwOverDockStyle)) {
    dw = m_pDockSite->CanDock(m_rectDragVert, dwOverDockStyle & ~CBRS_ORIENT_HORZ, &pBar);
    if (dw != 0)
      return pBar;
  }
  return NULL;
}

void CDockContext::DrawFocusRect(BOOL bRemoveRect)
{
  if (m_hWndOutline == NULL)
    return;
  CSize size(GetSystemMetrics(SM_CXBORDER), GetSystemMetrics(SM_CYBORDER));
  CRect rect;
  BOOL bDither = FALSE;
  if (m_dwOverDockStyle != 0) {
    // Over a side: the bar's outline as it would dock there.
    rect = IsHorz(m_dwOverDockStyle) ? m_rectDragHorz : m_rectDragVert;
    AdjustDockFeedback(rect);
  } else {
    // Floating: the frame's outline, thick and dithered.
    BOOL bHorz = IsHorz(m_dwStyle);
    if (m_bFlip)
      bHorz = !bHorz;
    rect = bHorz ? m_rectFrameDragHorz : m_rectFrameDragVert;
    size.cx = GetSystemMetrics(SM_CXFRAME) - 1;
    size.cy = GetSystemMetrics(SM_CYFRAME) - 1;
    bDither = TRUE;
  }
  if (bRemoveRect)
    size.cx = size.cy = 0;
  // An opaque outline cannot invert what lies under it as a drawn one would: the thin outline
  // over a side is black, the thick floating one the half-tone pattern.
  HBRUSH hBrush = bDither ? (HBRUSH)CDC::GetHalftoneBrush()->GetSafeHandle()
                          : (HBRUSH)::GetStockObject(BLACK_BRUSH);
  ShowOutline(m_hWndOutline, rect, size, hBrush);
  m_rectLast = rect;
  m_sizeLast = size;
  m_bDitherLast = bDither;
}

void CDockContext::EndDrag()
{
  CancelLoop();
  m_bDragging = FALSE;
  if (m_dwOverDockStyle != 0) {
    CDockBar* pDockBar = GetDockBar(m_dwOverDockStyle);
    if (pDockBar == NULL)
      return;
    CRect rect = IsVert(m_dwOverDockStyle) ? m_rectDragVert : m_rectDragHorz;
    UINT uID = (UINT)pDockBar->GetDlgCtrlID();
    if (uID >= AFX_IDW_DOCKBAR_TOP && uID <= AFX_IDW_DOCKBAR_BOTTOM) {
      m_uMRUDockID = uID;
      m_rectMRUDockPos = rect;
      pDockBar->ScreenToClient(&m_rectMRUDockPos);
    }
    m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
    m_pDockSite->RecalcLayout();
    return;
  }
  RememberFloatPlace();
  m_pDockSite->FloatControlBar(m_pBar, m_ptMRUFloatPos, m_dwMRUFloatStyle);
}

void CDockContext::RememberFloatPlace()
{
  BOOL bHorz = IsHorz(m_dwStyle);
  if ((m_dwStyle & CBRS_SIZE_DYNAMIC) || (bHorz && !m_bFlip) || (!bHorz && m_bFlip)) {
    m_dwMRUFloatStyle = CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = m_rectFrameDragHorz.TopLeft();
  } else {
    m_dwMRUFloatStyle = CBRS_ALIGN_LEFT | (m_dwDockStyle & CBRS_FLOAT_MULTI);
    m_ptMRUFloatPos = m_rectFrameDragVert.TopLeft();
  }
}

// ---------------------------------------------------------------------------------------------
// Resizing a floating bar

void CDockContext::StartResize(int nHitTest, CPoint pt)
{
  if (m_pDockSite == NULL)
    m_pDockSite = m_pBar->m_pDockSite;
  if (m_pDockSite == NULL)
    return;
  m_bDragging = FALSE;
  InitLoop();
  m_nHitTest = nHitTest;
  m_ptLast = pt;
  CRect rect;
  m_pBar->GetWindowRect(&rect);
  CSize size = m_pBar->CalcDynamicLayout(0, LM_HORZ | LM_MRUWIDTH);
  m_rectDragHorz = CRect(rect.TopLeft(), size);
  m_rectDragVert = m_rectDragHorz;
  m_rectFrameDragHorz = m_rectDragHorz;
  AddFrameBorders(m_rectFrameDragHorz);
  CFrameWnd* pFrame = m_pBar->GetParentFrame();
  if (pFrame != NULL && pFrame != m_pDockSite) {
    // The borders of the frame the bar floats in now.
    CRect rectFrame;
    pFrame->GetWindowRect(&rectFrame);
    m_rectFrameDragHorz.SetRect(m_rectDragHorz.left - (rect.left - rectFrame.left),
                                m_rectDragHorz.top - (rect.top - rectFrame.top),
                                m_rectDragHorz.right + (rectFrame.right - rect.right),
                                m_rectDragHorz.bottom + (rectFrame.bottom - rect.bottom));
  }
  // The vertical frame rectangle keeps the borders' widths, to put them back later.
  m_rectFrameDragVert.SetRect(m_rectFrameDragHorz.left - m_rectDragHorz.left,
                              m_rectFrameDragHorz.top - m_rectDragHorz.top,
                              m_rectFrameDragHorz.right - m_rectDragHorz.right,
                              m_rectFrameDragHorz.bottom - m_rectDragHorz.bottom);
  m_dwOverDockStyle = 0;
  Stretch(pt);
  Track();
}

void CDockContext::Stretch(CPoint pt)
{
  CPoint ptOffset = pt - m_ptLast;
  int nLength = 0;
  DWORD dwMode = LM_HORZ | LM_COMMIT;
  switch (m_nHitTest) {
  case HTLEFT:
    nLength = m_rectDragHorz.Width() - ptOffset.x;
    break;
  case HTRIGHT:
    nLength = m_rectDragHorz.Width() + ptOffset.x;
    break;
  case HTTOP:
  case HTTOPLEFT:
  case HTTOPRIGHT:
    nLength = m_rectDragHorz.Height() - ptOffset.y;
    dwMode |= LM_LENGTHY;
    break;
  default:
    nLength = m_rectDragHorz.Height() + ptOffset.y;
    dwMode |= LM_LENGTHY;
    break;
  }
  if (nLength < 0)
    nLength = 0;
  CSize size = m_pBar->CalcDynamicLayout(nLength, dwMode);
  // The edge that does not move anchors the bar.
  CRect rect = m_rectDragHorz;
  if (m_nHitTest == HTLEFT || m_nHitTest == HTTOPLEFT || m_nHitTest == HTBOTTOMLEFT)
    rect.left = rect.right - size.cx;
  else
    rect.right = rect.left + size.cx;
  if (m_nHitTest == HTTOP || m_nHitTest == HTTOPLEFT || m_nHitTest == HTTOPRIGHT)
    rect.top = rect.bottom - size.cy;
  else
    rect.bottom = rect.top + size.cy;
  m_rectDragHorz = m_rectDragVert = rect;
  m_rectFrameDragHorz.SetRect(rect.left + m_rectFrameDragVert.left,
                              rect.top + m_rectFrameDragVert.top,
                              rect.right + m_rectFrameDragVert.right,
                              rect.bottom + m_rectFrameDragVert.bottom);
  m_ptLast = pt;
  DrawFocusRect();
}

void CDockContext::EndResize()
{
  CancelLoop();
  m_pBar->CalcDynamicLayout(m_rectDragHorz.Width(), LM_HORZ | LM_COMMIT);
  m_pDockSite->FloatControlBar(m_pBar, m_rectFrameDragHorz.TopLeft(),
                               CBRS_ALIGN_TOP | (m_dwDockStyle & CBRS_FLOAT_MULTI) |
                                   CBRS_SIZE_DYNAMIC);
}

// ---------------------------------------------------------------------------------------------
// Double-click: back to the last dock place, or out to the last floating place

void CDockContext::ToggleDocking()
{
  if (m_pDockSite == NULL)
    m_pDockSite = m_pBar->m_pDockSite;
  if (m_pDockSite == NULL)
    return;
  if (m_pBar->IsFloating()) {
    if (!(m_pBar->m_dwDockStyle & CBRS_ALIGN_ANY))
      return;  // it may not dock
    CDockBar* pDockBar = NULL;
    if (m_uMRUDockID != 0)
      pDockBar = DYNAMIC_DOWNCAST(CDockBar, m_pDockSite->GetControlBar(m_uMRUDockID));
    if (pDockBar != NULL && pDockBar->FindBar((CControlBar*)(UINT_PTR)(m_pBar->GetDlgCtrlID() & 0xFFFF)) > 0) {
      // Its place-holder keeps its row and column.
      m_pDockSite->DockControlBar(m_pBar, pDockBar, NULL);
    } else if (pDockBar != NULL) {
      CRect rect = m_rectMRUDockPos;
      pDockBar->ClientToScreen(&rect);
      m_pDockSite->DockControlBar(m_pBar, pDockBar, &rect);
    } else {
      m_pDockSite->DockControlBar(m_pBar, (CDockBar*)NULL, NULL);
    }
    m_pDockSite->RecalcLayout();
    return;
  }
  CPoint ptFloat = m_ptMRUFloatPos;
  if (ptFloat.x < 0 || ptFloat.y < 0) {
    ptFloat = m_rectMRUDockPos.TopLeft();
    CWnd* pParent = m_pBar->GetParent();
    if (pParent != NULL)
      pParent->ClientToScreen(&ptFloat);
  }
  DWORD dwStyle = m_dwMRUFloatStyle;
  if (!(dwStyle & CBRS_ALIGN_ANY))
    dwStyle |= IsVert(m_pBar->m_dwStyle) ? CBRS_ALIGN_LEFT : CBRS_ALIGN_TOP;
  m_pDockSite->FloatControlBar(m_pBar, ptFloat, dwStyle);
}
