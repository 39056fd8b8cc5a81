// The toolkit's control bar: sizes by docking state, row share, gripper and child layout.
#include "SECControlBar.h"
#include "SECDockBar.h"
#include "SECDockContext.h"
#include "SECDockBars_res.h"
#include "SECSysData.h"
#include <algorithm>

IMPLEMENT_DYNCREATE(SECControlBar, CControlBar)

BEGIN_MESSAGE_MAP(SECControlBar, CControlBar)
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_DESTROY()
  ON_WM_ERASEBKGND()
  ON_WM_CONTEXTMENU()
  ON_WM_NCPAINT()
  ON_COMMAND(ID_SEC_HIDE, OnHide)
  ON_COMMAND(ID_SEC_ALLOWDOCKING, OnAllowDocking)
  ON_COMMAND(ID_SEC_MDIFLOAT, OnFloatInMainWindow)
END_MESSAGE_MAP()

int SECControlBar::s_nDefaultLength = 300;
int SECControlBar::s_nDefaultThickness = 180;

SECGripperInfo::SECGripperInfo()
    : m_nLeftMargin(4), m_nBarWidth(3), m_nGap(1), m_nBarWidth2(3), m_nRightMargin(6),
      m_nTopMargin(4), m_nBarHeight(3), m_nGapV(1), m_nBarHeight2(3), m_nBottomMargin(6),
      m_nInset(3)
{
  m_strCloseTip.LoadString(IDS_SEC_GRIPPER_HIDE);
  m_strExpandTip.LoadString(IDS_SEC_GRIPPER_EXPAND);
  m_strContractTip.LoadString(IDS_SEC_GRIPPER_CONTRACT);
}

int SECGripperInfo::GetHorzGripperWidth() const
{
  return m_nLeftMargin + m_nBarWidth + m_nGap + m_nBarWidth2 + m_nRightMargin;
}

int SECGripperInfo::GetVertGripperHeight() const
{
  return m_nTopMargin + m_nBarHeight + m_nGapV + m_nBarHeight2 + m_nBottomMargin;
}

SECControlBar::SECControlBar()
    : m_szHorzDock(0, 0), m_szVertDock(0, 0), m_szFloat(0, 0), m_dwMRUDockingState(0),
      m_fPctWidth(1.0f), m_fSavedPctWidth(1.0f), m_dwExStyle(0), m_rcBorderSpace(10, 10, 10, 10),
      m_pManager(NULL), m_rcCloseBtn(0, 0, 0, 0), m_bClosePressed(FALSE),
      m_rcExpandBtn(0, 0, 0, 0), m_bExpandPressed(FALSE), m_bExpandEnabled(TRUE),
      m_bNotExpanded(TRUE), m_bButtonsHorz(TRUE), m_pChildLayout(NULL)
{
}

SECControlBar::~SECControlBar()
{
  if (m_hWnd != NULL && ::IsWindow(m_hWnd))
    DestroyWindow();
  DropChildLayout();
}

BOOL SECControlBar::Create(CWnd* pParentWnd, LPCTSTR lpszWindowName, DWORD dwStyle,
                           DWORD dwExStyle, UINT nID, CCreateContext* pContext)
{
  return CreateEx(NULL, lpszWindowName, dwStyle, dwExStyle, CRect(0, 0, 0, 0), pParentWnd, nID,
                  pContext);
}

BOOL SECControlBar::CreateEx(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                             DWORD dwExStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                             CCreateContext* pContext)
{
  m_dwStyle = dwStyle & CBRS_ALL;
  m_dwExStyle = dwExStyle;
  if (!CWnd::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext))
    return FALSE;
  if (m_dwExStyle & CBRS_EX_SIZE_TO_FIT)
    RecordChildLayout();
  m_szHorzDock = m_szVertDock = m_szFloat = CSize(s_nDefaultLength, s_nDefaultThickness);
  EnableToolTips(TRUE);
  return TRUE;
}

CDockContext* SECControlBar::CreateDockContext() { return new SECDockContext(this); }

void SECControlBar::EnableDocking(DWORD dwDockStyle)
{
  m_dwDockStyle = dwDockStyle;
  if (m_pDockContext == NULL)
    m_pDockContext = CreateDockContext();
  if (m_hWndOwner == NULL)
    m_hWndOwner = ::GetParent(m_hWnd);
}

void SECControlBar::OnUpdateCmdUI(CFrameWnd*, BOOL) {}

// ---------------------------------------------------------------------------------------------
// Sizes

CSize SECControlBar::CalcFixedLayout(BOOL, BOOL bHorz) { return bHorz ? m_szHorzDock : m_szVertDock; }

CSize SECControlBar::CalcDynamicLayout(int nLength, DWORD nMode)
{
  if (nMode & LM_COMMIT) {
    int v = nLength;
    if (nMode & LM_STRETCH)
      v = (int)((float)nLength * m_fPctWidth);
    if (nMode & LM_HORZDOCK) {
      (nMode & LM_LENGTHY ? m_szHorzDock.cy : m_szHorzDock.cx) = v;
    } else if (nMode & LM_VERTDOCK) {
      (nMode & LM_LENGTHY ? m_szVertDock.cy : m_szVertDock.cx) = v;
    } else if (nMode & LM_LENGTHY) {
      m_szFloat.cy = v;
    } else {
      m_szFloat.cx = v;
      m_nMRUWidth = (UINT)v;
    }
  }
  if (nMode & (LM_HORZDOCK | LM_VERTDOCK))
    return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
  return m_szFloat;
}

BOOL SECControlBar::IsHorzDocked() const { return (m_dwStyle & CBRS_ORIENT_HORZ) != 0; }

SECDockBar* SECControlBar::GetSECDockBar() const
{
  return m_pDockBar != NULL ? DYNAMIC_DOWNCAST(SECDockBar, (CObject*)m_pDockBar) : NULL;
}

BOOL SECControlBar::GetDockPosition(int& nRow, int& nCol, UINT& nDockBarID, float& fShare,
                                    int& nThick)
{
  SECDockBar* pDock = GetSECDockBar();
  if (pDock == NULL || pDock->m_bFloating || !pDock->FindBarRow(this, nRow, nCol, nThick))
    return FALSE;  // floating bars have no dock position
  nDockBarID = (UINT)pDock->GetDlgCtrlID();
  fShare = m_fPctWidth;
  return TRUE;
}

int SECControlBar::AddGripperSize(CSize& size, BOOL bHorz)
{
  int n = bHorz ? m_GripperInfo.GetHorzGripperWidth() : m_GripperInfo.GetVertGripperHeight();
  (bHorz ? size.cx : size.cy) += n;
  return n;
}

void SECControlBar::CalcInsideRectEx(CRect& rect, BOOL bHorz, BOOL bIncGripper)
{
  if (!(m_dwExStyle & CBRS_EX_COOL)) {
    CalcInsideRect(rect, bHorz);
    return;
  }
  if (m_dwStyle & CBRS_BORDER_LEFT) rect.left++;
  if (m_dwStyle & CBRS_BORDER_TOP) rect.top++;
  if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right--;
  if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom--;
  BOOL bGripper = IsDocked() && (m_dwExStyle & CBRS_EX_GRIPPER);
  if (bHorz) {
    rect.left += bGripper ? m_GripperInfo.GetHorzGripperWidth() : m_cxLeftBorder;
    rect.top += m_cyTopBorder;
    rect.right -= m_cxRightBorder;
    rect.bottom -= m_cyBottomBorder;
  } else {
    rect.left += m_cyTopBorder;
    rect.top += (bIncGripper && bGripper) ? m_GripperInfo.GetVertGripperHeight() : m_cxLeftBorder;
    rect.right -= m_cyBottomBorder;
    rect.bottom -= m_cxRightBorder;
  }
}

void SECControlBar::GetInsideRect(CRect& rect)
{
  GetClientRect(&rect);
  int nInset = m_GripperInfo.m_nInset;
  if (IsDocked() && (m_dwExStyle & CBRS_EX_GRIPPER)) {
    if (IsHorzDocked()) {
      rect.left += m_GripperInfo.GetHorzGripperWidth();
      rect.top += nInset;
    } else {
      rect.top += m_GripperInfo.GetVertGripperHeight();
      rect.left += nInset;
    }
    rect.right -= nInset;
    rect.bottom -= nInset;
  } else if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
    rect.DeflateRect(m_rcBorderSpace.left, m_rcBorderSpace.top, m_rcBorderSpace.right,
                     m_rcBorderSpace.bottom);
  }
  if (rect.right < rect.left) rect.right = rect.left;
  if (rect.bottom < rect.top) rect.bottom = rect.top;
}

// ---------------------------------------------------------------------------------------------
// Extended style and child layout

void SECControlBar::SetExtendedStyle(DWORD dwExStyle, BOOL bRedraw)
{
  if (IsFloating() && m_hWnd != NULL) {
    CWnd* pFrame = GetParentFrame();
    if (pFrame != NULL) {
      if (dwExStyle & CBRS_EX_UNIDIRECTIONAL)
        pFrame->ModifyStyle(0, MFS_4THICKFRAME, 0);
      else
        pFrame->ModifyStyle(MFS_4THICKFRAME, WS_THICKFRAME | MFS_THICKFRAME,
                            SWP_NOSIZE | SWP_NOMOVE);
    }
  }
  BOOL bWasFit = (m_dwExStyle & CBRS_EX_SIZE_TO_FIT) != 0;
  BOOL bFit = (dwExStyle & CBRS_EX_SIZE_TO_FIT) != 0;
  DWORD dwOld = m_dwExStyle;
  m_dwExStyle = dwExStyle;
  if (bFit && !bWasFit)
    RecordChildLayout();
  else if (!bFit)
    DropChildLayout();
  if (dwOld != dwExStyle && bRedraw && m_hWnd != NULL) {
    // Zero size: the next frame layout sizes and draws it again.
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    CFrameWnd* pFrame = GetDockingFrame();
    if (pFrame != NULL)
      pFrame->DelayRecalcLayout();
  }
}

void SECControlBar::ModifyExtendedStyle(DWORD dwRemove, DWORD dwAdd, BOOL bRedraw)
{
  SetExtendedStyle((m_dwExStyle & ~dwRemove) | dwAdd, bRedraw);
}

void SECControlBar::RecordChildLayout()
{
  DropChildLayout();
  if (m_hWnd == NULL)
    return;
  m_pChildLayout = new ChildLayout;
  GetClientRect(&m_pChildLayout->rectClient);
  for (HWND h = ::GetWindow(m_hWnd, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
    CRect rect;
    ::GetWindowRect(h, &rect);
    ::MapWindowPoints(NULL, m_hWnd, (LPPOINT)&rect, 2);
    m_pChildLayout->children.emplace_back(h, rect);
  }
}

void SECControlBar::DropChildLayout()
{
  delete m_pChildLayout;
  m_pChildLayout = NULL;
}

void SECControlBar::OnSize(UINT nType, int cx, int cy)
{
  CControlBar::OnSize(nType, cx, cy);
  if (nType != SIZE_MINIMIZED && cx > 0 && cy > 0)
    LayoutChildren(cx, cy);
}

void SECControlBar::LayoutChildren(int cx, int cy)
{
  (void)cx;
  (void)cy;
  CRect rectInside;
  BOOL bHorz = IsFloating() || IsHorzDocked();
  GetClientRect(&rectInside);
  if (m_dwExStyle & CBRS_EX_GRIPPER) {
    int nInset = m_GripperInfo.m_nInset;
    if (bHorz) {
      rectInside.left += m_GripperInfo.GetHorzGripperWidth();
      rectInside.top += nInset;
    } else {
      rectInside.top += m_GripperInfo.GetVertGripperHeight();
      rectInside.left += nInset;
    }
    rectInside.right -= nInset;
    rectInside.bottom -= nInset;
  } else if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
    rectInside.DeflateRect(m_rcBorderSpace.left, m_rcBorderSpace.top, m_rcBorderSpace.right,
                           m_rcBorderSpace.bottom);
  }
  if (rectInside.right < rectInside.left) rectInside.right = rectInside.left;
  if (rectInside.bottom < rectInside.top) rectInside.bottom = rectInside.top;

  UINT nFlags = SWP_NOZORDER | SWP_NOACTIVATE;
  if (SECDockBar::s_bRedrawSwitch)
    nFlags |= SWP_NOREDRAW;
  if ((m_dwExStyle & CBRS_EX_SIZE_TO_FIT) && m_pChildLayout != NULL) {
    // A layout recorded before the bar had a size has nothing to scale by: the children
    // stay where they are until a layout with a size is recorded.
    int nRecW = m_pChildLayout->rectClient.Width(), nRecH = m_pChildLayout->rectClient.Height();
    if (nRecW <= 0 || nRecH <= 0) {
      RecordChildLayout();
      return;
    }
    int w = rectInside.Width(), h = rectInside.Height();
    int nOffX = rectInside.left, nOffY = rectInside.top;
    HDWP hdwp = ::BeginDeferWindowPos((int)m_pChildLayout->children.size());
    for (auto& child : m_pChildLayout->children) {
      if (!::IsWindow(child.first))
        continue;
      const CRect& r = child.second;
      int l = w * r.left / nRecW + nOffX, t = h * r.top / nRecH + nOffY;
      int rr = w * r.right / nRecW + nOffX, b = h * r.bottom / nRecH + nOffY;
      if (hdwp != NULL)
        hdwp = ::DeferWindowPos(hdwp, child.first, NULL, l, t, rr - l, b - t, nFlags);
    }
    if (hdwp != NULL)
      ::EndDeferWindowPos(hdwp);
    if (IsFloating())
      Invalidate();
  } else if ((m_dwExStyle & CBRS_EX_FILLCHILD) && IsDocked()) {
    HWND hChild = ::GetWindow(m_hWnd, GW_CHILD);
    if (hChild != NULL)
      ::SetWindowPos(hChild, NULL, rectInside.left, rectInside.top, rectInside.Width(),
                     rectInside.Height(), nFlags);
  }
}

// ---------------------------------------------------------------------------------------------
// Expand state, painting

void SECControlBar::UpdateExpandState(BOOL bHorz)
{
  m_bButtonsHorz = bHorz;
  SECDockBar* pDock = GetSECDockBar();
  m_bNotExpanded = !(pDock != NULL && pDock->IsBarExpanded(this));
  m_bExpandEnabled = !(pDock != NULL && pDock->IsAloneInRow(this));
}

void SECControlBar::DoPaint(CDC* pDC)
{
  CRect rect;
  GetClientRect(&rect);
  DrawBorders(pDC, rect);
}

void SECControlBar::DrawGripper(CDC* pDC, CRect& rect)
{
  HDC hdc = pDC->GetSafeHdc();
  const SECGripperInfo& g = m_GripperInfo;
  BOOL bHorz = IsHorzDocked();
  CRect strip(rect);
  strip.DeflateRect(1, 1);
  if (bHorz) {
    strip.right = strip.left + g.GetHorzGripperWidth();
    strip.DeflateRect(0, g.m_nInset);
  } else {
    strip.bottom = strip.top + g.GetVertGripperHeight();
    strip.DeflateRect(g.m_nInset, 0);
  }
  if (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) {
    PlaceCloseButton(pDC, strip, bHorz);
    if (m_bClosePressed)
      DrawCloseButtonPressed(pDC);
    else
      DrawCloseButton(pDC);
  }
  if (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) {
    PlaceExpandButton(pDC, strip, bHorz);
    if (m_bExpandPressed && m_bExpandEnabled)
      DrawExpandButtonPressed(pDC);
    else
      DrawExpandButton(pDC);
  }
  // Two raised lines along the rest of the strip.
  for (int i = 0; i < 2; i++) {
    int nOff = (bHorz ? g.m_nLeftMargin : g.m_nTopMargin) + i * (g.m_nBarWidth + g.m_nGap);
    CRect bar = bHorz ? CRect(strip.left + nOff, strip.top, strip.left + nOff + g.m_nBarWidth,
                              strip.bottom)
                      : CRect(strip.left, strip.top + nOff, strip.right,
                              strip.top + nOff + g.m_nBarHeight);
    if (bar.Width() > 0 && bar.Height() > 0)
      ::DrawEdge(hdc, &bar, BDR_RAISEDINNER, BF_RECT);
  }
}

namespace {
// A square at the head of the gripper strip; the strip then starts after it.
void PlaceGripperButton(const SECGripperInfo& g, CRect& strip, BOOL bHorz, CRect& rcBtn)
{
  if (bHorz) {
    rcBtn.SetRect(std::max<LONG>(strip.left + g.m_nLeftMargin - 2, 0), strip.top,
                  std::min<LONG>(strip.right - g.m_nRightMargin + 2, strip.right), 0);
    rcBtn.bottom = rcBtn.top + rcBtn.Width();
    strip.top = rcBtn.bottom + 2;
  } else {
    rcBtn.SetRect(0, strip.top + g.m_nTopMargin - 2, strip.right,
                  strip.bottom - g.m_nBottomMargin + 2);
    rcBtn.left = rcBtn.right - rcBtn.Height();
    strip.right = rcBtn.left - 2;
  }
}
}  // namespace

void SECControlBar::PlaceCloseButton(CDC*, CRect& rect, BOOL bHorz)
{
  PlaceGripperButton(m_GripperInfo, rect, bHorz, m_rcCloseBtn);
}

void SECControlBar::DrawCloseButtonPressed(CDC* pDC)
{
  ::DrawFrameControl(pDC->GetSafeHdc(), &m_rcCloseBtn, DFC_CAPTION,
                     DFCS_CAPTIONCLOSE | DFCS_PUSHED);
}

void SECControlBar::DrawCloseButton(CDC* pDC)
{
  ::DrawFrameControl(pDC->GetSafeHdc(), &m_rcCloseBtn, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

void SECControlBar::PlaceExpandButton(CDC*, CRect& rect, BOOL bHorz)
{
  UpdateExpandState(bHorz);
  PlaceGripperButton(m_GripperInfo, rect, bHorz, m_rcExpandBtn);
}

namespace {
void DrawExpandArrow(HDC hdc, const CRect& rcBtn, BOOL bHorz, BOOL bNotExpanded, UINT nExtra)
{
  CRect r(rcBtn);
  r.left--;
  r.top--;
  UINT nState = bHorz ? (bNotExpanded ? DFCS_SCROLLLEFT : DFCS_SCROLLRIGHT)
                      : (bNotExpanded ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
  ::DrawFrameControl(hdc, &r, DFC_SCROLL, nState | nExtra);
}
}  // namespace

void SECControlBar::DrawExpandButtonPressed(CDC* pDC)
{
  DrawExpandArrow(pDC->GetSafeHdc(), m_rcExpandBtn, m_bButtonsHorz, m_bNotExpanded,
                  DFCS_PUSHED);
}

void SECControlBar::DrawExpandButton(CDC* pDC)
{
  DrawExpandArrow(pDC->GetSafeHdc(), m_rcExpandBtn, m_bButtonsHorz, m_bNotExpanded,
                  m_bExpandEnabled ? 0 : DFCS_INACTIVE);
}

void SECControlBar::CalcClassicBorders(DWORD dwStyle, DWORD dwExStyle, CRect& rect,
                                       std::vector<BorderLine>& lines)
{
  lines.clear();
  if (!(dwStyle & CBRS_BORDER_ANY))
    return;
  BOOL bShown = (dwExStyle & CBRS_EX_DRAWBORDERS) != 0;
  COLORREF clrDark = !bShown ? secData.m_clrBtnFace
                     : secData.m_bWin4 ? secData.m_clrBtnShadow
                                       : secData.m_clrWindowFrame;
  COLORREF clrHilite = bShown ? secData.m_clrBtnHilite : secData.m_clrBtnFace;
  BOOL b3D = (dwStyle & CBRS_BORDER_3D) != 0;
  BOOL bVert = (dwStyle & (CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT)) != 0;
  const CRect r(rect);
  // Lines along the top and bottom; a vertical bar's start at x = 2, 3 pixels short.
  int xLine = bVert ? 2 : r.left;
  int cxLine = bVert ? r.Width() - 3 : r.Width();
  auto add = [&lines](int x, int y, int cx, int cy, COLORREF clr) {
    lines.push_back({CRect(x, y, x + cx, y + cy), clr});
  };
  // The dark line at the edge (one pixel further in on the right and bottom when a
  // highlight follows), the highlight one pixel further in.
  if (dwStyle & CBRS_BORDER_LEFT) {
    int y = bVert ? r.top - 2 : r.top, cy = bVert ? r.Height() + 6 : r.Height();
    add(r.left, y, 1, cy, clrDark);
    if (b3D)
      add(r.left + 1, y, 1, cy, clrHilite);
  }
  if (dwStyle & CBRS_BORDER_TOP) {
    add(xLine, r.top, cxLine, 1, clrDark);
    if (b3D)
      add(xLine, r.top + 1, cxLine, 1, clrHilite);
  }
  if (dwStyle & CBRS_BORDER_RIGHT) {
    add(r.right - (b3D ? 2 : 1), r.top, 1, r.Height(), clrDark);
    if (b3D)
      add(r.right - 1, r.top, 1, r.Height(), clrHilite);
  }
  if (dwStyle & CBRS_BORDER_BOTTOM) {
    add(xLine, r.bottom - (b3D ? 2 : 1), cxLine, 1, clrDark);
    if (b3D)
      add(xLine, r.bottom - 1, cxLine, 1, clrHilite);
  }
  if (dwStyle & CBRS_BORDER_LEFT) rect.left += secData.m_cxBorder;
  if (dwStyle & CBRS_BORDER_TOP) rect.top += secData.m_cyBorder;
  if (dwStyle & CBRS_BORDER_RIGHT) rect.right -= secData.m_cxBorder;
  if (dwStyle & CBRS_BORDER_BOTTOM) rect.bottom -= secData.m_cyBorder;
}

void SECControlBar::DrawBorders(CDC* pDC, CRect& rect)
{
  if (!(m_dwStyle & CBRS_BORDER_ANY))
    return;
  if (m_dwExStyle & CBRS_EX_COOL) {
    if (m_dwStyle & CBRS_BORDER_LEFT) rect.left++;
    if (m_dwStyle & CBRS_BORDER_TOP) rect.top++;
    if (m_dwStyle & CBRS_BORDER_RIGHT) rect.right--;
    if (m_dwStyle & CBRS_BORDER_BOTTOM) rect.bottom--;
    if ((m_dwExStyle & CBRS_EX_GRIPPER) && IsDocked())
      DrawGripper(pDC, rect);
    return;
  }
  std::vector<BorderLine> lines;
  CalcClassicBorders(m_dwStyle, m_dwExStyle, rect, lines);
  HDC hdc = pDC->GetSafeHdc();
  COLORREF clrOld = ::GetBkColor(hdc);
  for (const BorderLine& line : lines) {
    ::SetBkColor(hdc, line.clr);
    ::ExtTextOutA(hdc, 0, 0, ETO_OPAQUE, &line.rect, NULL, 0, NULL);
  }
  ::SetBkColor(hdc, clrOld);
}

void SECControlBar::OnNcPaint()
{
  // The borders on the window rectangle, the client area left out; then the background
  // fills what the borders left of the non-client area.
  HDC hdc = ::GetWindowDC(m_hWnd);
  if (hdc == NULL)
    return;
  CRect rectWindow, rectClient;
  GetWindowRect(&rectWindow);
  GetClientRect(&rectClient);
  ClientToScreen(&rectClient);
  rectClient.OffsetRect(-rectWindow.left, -rectWindow.top);
  rectWindow.OffsetRect(-rectWindow.left, -rectWindow.top);
  ::ExcludeClipRect(hdc, rectClient.left, rectClient.top, rectClient.right, rectClient.bottom);
  CDC dc;
  dc.Attach(hdc);
  DrawBorders(&dc, rectWindow);
  ::IntersectClipRect(hdc, rectWindow.left, rectWindow.top, rectWindow.right, rectWindow.bottom);
  SendMessage(WM_ERASEBKGND, (WPARAM)hdc);
  dc.Detach();
  ::ReleaseDC(m_hWnd, hdc);
}

int SECControlBar::GetDockKind() const
{
  SECDockBar* pDock = GetSECDockBar();
  return pDock != NULL ? pDock->m_nKind : 0;
}

void SECControlBar::OnFloatInMainWindow()
{
  SECDockContext* pContext = dynamic_cast<SECDockContext*>(m_pDockContext);
  if (pContext != NULL)
    pContext->ToggleFloatInMainWindow();
}

// ---------------------------------------------------------------------------------------------
// Rebar

IMPLEMENT_DYNAMIC(SECReBar, CReBar)

CSize SECReBar::CalcFixedLayout(BOOL bStretch, BOOL bHorz)
{
  CSize size = CReBar::CalcFixedLayout(bStretch, bHorz);
  if (m_hWnd == NULL)
    return size;
  int nBands = (int)::SendMessageA(m_hWnd, RB_GETBANDCOUNT, 0, 0);
  for (int i = 0; i < nBands; i++) {
    REBARBANDINFOA info;
    memset(&info, 0, sizeof info);
    info.cbSize = sizeof info;
    info.fMask = RBBIM_CHILD | RBBIM_SIZE;
    if (!::SendMessageA(m_hWnd, RB_GETBANDINFOA, (WPARAM)i, (LPARAM)&info))
      continue;
    CWnd* pChild = CWnd::FromHandlePermanent(info.hwndChild);
    SECControlBar* pBar = pChild != NULL ? DYNAMIC_DOWNCAST(SECControlBar, pChild) : NULL;
    if (pBar != NULL)
      pBar->CalcFixedLayout((BOOL)info.cx, bHorz);
  }
  return size;
}

BOOL SECControlBar::OnEraseBkgnd(CDC* pDC)
{
  if (m_dwExStyle & CBRS_EX_BORDERSPACE) {
    CRect rectClient, rectInside;
    GetClientRect(&rectClient);
    GetInsideRect(rectInside);
    HDC hdc = pDC->GetSafeHdc();
    HBRUSH hbr = ::CreateSolidBrush(secData.m_clrBtnFace);
    HGDIOBJ hOld = ::SelectObject(hdc, hbr);
    ::PatBlt(hdc, rectClient.left, rectClient.top, rectClient.Width(),
             rectInside.top - rectClient.top, PATCOPY);
    ::PatBlt(hdc, rectClient.left, rectInside.bottom, rectClient.Width(),
             rectClient.bottom - rectInside.bottom, PATCOPY);
    ::PatBlt(hdc, rectClient.left, rectInside.top, rectInside.left - rectClient.left,
             rectInside.Height(), PATCOPY);
    ::PatBlt(hdc, rectInside.right, rectInside.top, rectClient.right - rectInside.right,
             rectInside.Height(), PATCOPY);
    ::SelectObject(hdc, hOld);
    ::DeleteObject(hbr);
  }
  return (BOOL)Default();
}

// ---------------------------------------------------------------------------------------------
// Context menu and its commands

void SECControlBar::OnContextMenu(CWnd*, CPoint point)
{
  if (!(m_dwExStyle & CBRS_EX_STDCONTEXTMENU)) {
    Default();
    return;
  }
  HMENU hMenu = ::CreatePopupMenu();
  CString strAllow, strHide;
  strAllow.LoadString(ID_SEC_ALLOWDOCKING);
  strHide.LoadString(ID_SEC_HIDE);
  ::AppendMenuA(hMenu, MF_STRING | ((m_dwDockStyle & CBRS_ALIGN_ANY) ? MF_CHECKED : 0),
                ID_SEC_ALLOWDOCKING, strAllow);
  ::AppendMenuA(hMenu, MF_STRING, ID_SEC_HIDE, strHide);
  AddContextMenuItems(hMenu);
  if (m_pDockContext != NULL && m_pDockContext->m_pDockSite != NULL)
    m_pDockContext->m_pDockSite->SendMessage(0x38FF, (WPARAM)this, (LPARAM)hMenu);
  if (point.x == -1 && point.y == -1) {
    CRect rect;
    GetClientRect(&rect);
    point = CPoint(rect.Width() / 4, 10);
    ClientToScreen(&point);
  }
  m_ptLastMenu = point;
  ::TrackPopupMenu(hMenu, TPM_RIGHTBUTTON, point.x, point.y, 0, m_hWnd, NULL);
  ::DestroyMenu(hMenu);
}

void SECControlBar::OnHide()
{
  CFrameWnd* pFrame = m_pDockSite != NULL ? m_pDockSite : GetParentFrame();
  if (pFrame != NULL)
    pFrame->ShowControlBar(this, FALSE, FALSE);
}

void SECControlBar::OnAllowDocking()
{
  if (m_dwDockStyle & CBRS_ALIGN_ANY) {
    m_dwMRUDockingState = m_dwDockStyle & CBRS_ALIGN_ANY;
    if (IsDocked() && m_pDockContext != NULL)
      m_pDockContext->ToggleDocking();
    EnableDocking(0);
  } else {
    EnableDocking(m_dwMRUDockingState);
  }
}

void SECControlBar::OnDestroy()
{
  SECDockBar* pDock = GetSECDockBar();
  if (pDock != NULL && !IsDockBar()) {
    int nPos;
    while ((nPos = pDock->FindBar(this)) > 0)
      pDock->m_arrBars.RemoveAt(nPos);
  }
  DropChildLayout();
  CControlBar::OnDestroy();
  CFrameWnd* pFrame = m_pDockSite;
  if (pFrame != NULL && pFrame->m_hWnd != NULL)
    pFrame->DelayRecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// Gripper buttons

INT_PTR SECControlBar::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
  if (!(m_dwStyle & CBRS_TOOLTIPS))
    return -1;
  INT_PTR nHit = CControlBar::OnToolHitTest(point, pTI);
  if (nHit != -1 || !IsDocked())
    return nHit;
  const CString* pTip = NULL;
  const CRect* pRect = NULL;
  if ((m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcCloseBtn.PtInRect(point)) {
    nHit = 1024;
    pTip = &m_GripperInfo.m_strCloseTip;
    pRect = &m_rcCloseBtn;
  } else if ((m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_rcExpandBtn.PtInRect(point)) {
    nHit = 2048;
    pTip = m_bNotExpanded ? &m_GripperInfo.m_strExpandTip : &m_GripperInfo.m_strContractTip;
    pRect = &m_rcExpandBtn;
  } else {
    return -1;
  }
  if (pTI != NULL) {
    pTI->hwnd = m_hWnd;
    pTI->uId = (UINT_PTR)nHit;
    pTI->rect = *pRect;
    // The tip control copies the text when the tool is added; the bar keeps the string.
    pTI->lpszText = const_cast<LPSTR>((LPCSTR)*pTip);
  }
  return nHit;
}

void SECControlBar::OnLButtonDown(UINT nFlags, CPoint point)
{
  BOOL bClose = (m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcCloseBtn.PtInRect(point);
  BOOL bExpand = !bClose && (m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_bExpandEnabled &&
                 m_rcExpandBtn.PtInRect(point);
  if (bClose || bExpand) {
    if (IsFloating()) {  // a floating bar shows no buttons
      m_bClosePressed = m_bExpandPressed = FALSE;
      return;
    }
    BOOL& bPressed = bClose ? m_bClosePressed : m_bExpandPressed;
    if (!bPressed && (bClose ? CanPressCloseButton() : CanPressExpandButton())) {
      bPressed = TRUE;
      SetCapture();
      Invalidate();
    }
    return;
  }
  if (m_bClosePressed || m_bExpandPressed) {
    m_bClosePressed = m_bExpandPressed = FALSE;
    Invalidate();
  }
  if (m_pDockBar != NULL)
    CControlBar::OnLButtonDown(nFlags, point);
  else
    Default();
}

void SECControlBar::OnLButtonUp(UINT, CPoint point)
{
  if (::GetCapture() == m_hWnd)
    ::ReleaseCapture();
  if (m_bClosePressed) {
    m_bClosePressed = FALSE;
    Invalidate();
    if (m_rcCloseBtn.PtInRect(point)) {
      OnHide();
      return;
    }
  } else if (m_bExpandPressed) {
    m_bExpandPressed = FALSE;
    Invalidate();
    SECDockBar* pDock = GetSECDockBar();
    if (pDock != NULL && m_rcExpandBtn.PtInRect(point)) {
      pDock->ExpandBar(this, pDock->IsBarExpanded(this) ? 2 : 1);
      return;
    }
  }
  Default();
}

void SECControlBar::OnLButtonDblClk(UINT nFlags, CPoint point)
{
  if (((m_dwExStyle & CBRS_EX_GRIPPER_CLOSE) && m_rcCloseBtn.PtInRect(point)) ||
      ((m_dwExStyle & CBRS_EX_GRIPPER_EXPAND) && m_rcExpandBtn.PtInRect(point)))
    return;
  if (m_pDockBar != NULL)
    CControlBar::OnLButtonDblClk(nFlags, point);
  else
    Default();
}
