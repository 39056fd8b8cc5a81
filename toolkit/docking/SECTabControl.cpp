// Tab controls: the tab list, activation and notifications (SECTabControlBase) and the
// three-dimensional strip with its layout, label fitting, painting and tooltips.
#include "SECTabControl.h"

IMPLEMENT_DYNCREATE(SECTab, CObject)
IMPLEMENT_DYNCREATE(SEC3DTab, SECTab)
IMPLEMENT_DYNAMIC(SECTabControlBase, CWnd)
IMPLEMENT_DYNAMIC(SEC3DTabControl, SECTabControlBase)

SECTab::SECTab()
    : m_nWidth(0), m_nHeight(0), m_bSelected(FALSE), m_pClient(NULL), m_pExtra(NULL),
      m_hMenu(NULL)
{
}

SEC3DTab::SEC3DTab() : m_hIcon(NULL), m_bEnabled(TRUE), m_bShortened(FALSE)
{
  m_nWidth = 90;  // until the first layout
}

// ---------------------------------------------------------------------------------------------
// SECTabControlBase

BEGIN_MESSAGE_MAP(SECTabControlBase, CWnd)
  ON_WM_DESTROY()
  ON_WM_SETCURSOR()
END_MESSAGE_MAP()

SECTabControlBase::SECTabControlBase()
    : m_pTabArray(new CPtrArray), m_nActiveTab(0), m_bActiveTab(FALSE), m_hcurArrow(NULL)
{
}

SECTabControlBase::~SECTabControlBase()
{
  if (m_pTabArray != NULL) {
    for (int i = 0; i < GetTabCount(); i++)
      delete (SECTab*)m_pTabArray->GetAt(i);
    delete m_pTabArray;
  }
}

BOOL SECTabControlBase::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
  LPCTSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
  if (!CWnd::Create(lpszClass, NULL, dwStyle | WS_CHILD, rect, pParentWnd, nID))
    return FALSE;
  if (m_pTabArray == NULL)
    m_pTabArray = new CPtrArray;
  m_hcurArrow = ::LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
  InitializeObjects(dwStyle);
  return TRUE;
}

void SECTabControlBase::InitializeObjects(DWORD) {}
SECTab* SECTabControlBase::CreateNewTab() const { return new SECTab; }
void SECTabControlBase::RecalcLayout() {}
void SECTabControlBase::OnActivateTab(int) {}
void SECTabControlBase::DestroyGdiObjects() {}
void SECTabControlBase::SetTabIcon(int, LPCTSTR, int, int) {}
void SECTabControlBase::SetTabIcon(int, UINT, int, int) {}
void SECTabControlBase::SetTabIcon(int, HICON) {}
void SECTabControlBase::ScrollToTab(int) {}
void SECTabControlBase::InvalidateTab(int) {}

SECTab* SECTabControlBase::GetTabPtr(int nIndex) const
{
  return TabExists(nIndex) ? (SECTab*)m_pTabArray->GetAt(nIndex) : NULL;
}

void SECTabControlBase::InvalidateFrom(int nIndex)
{
  for (int i = nIndex < 0 ? 0 : nIndex; i < GetTabCount(); i++)
    InvalidateTab(i);
}

void SECTabControlBase::Notify(UINT message, WPARAM wParam)
{
  CWnd* pParent = GetParent();
  if (pParent != NULL)
    pParent->SendMessage(message, wParam, 0);
}

SECTab* SECTabControlBase::InsertTab(int nIndex, LPCTSTR lpszLabel, CWnd* pWnd, void* pExtra,
                                     HMENU hMenu)
{
  if (nIndex < 0 || nIndex > GetTabCount())
    return NULL;
  SECTab* pTab = CreateNewTab();
  pTab->m_csLabel = lpszLabel != NULL ? lpszLabel : "";
  pTab->m_pClient = pWnd;
  pTab->m_pExtra = pExtra;
  pTab->m_hMenu = hMenu;
  pTab->m_bSelected = FALSE;
  m_pTabArray->InsertAt(nIndex, pTab);
  // The active tab keeps its place in the list.
  if (m_bActiveTab && nIndex <= m_nActiveTab)
    m_nActiveTab++;
  return pTab;
}

SECTab* SECTabControlBase::AddTab(LPCTSTR lpszLabel, CWnd* pWnd, void* pExtra, HMENU hMenu)
{
  SECTab* pTab = SECTabControlBase::InsertTab(GetTabCount(), lpszLabel, pWnd, pExtra, hMenu);
  RecalcLayout();
  InvalidateTab(GetTabCount() - 1);
  return pTab;
}

void SECTabControlBase::DeleteTab(int nIndex)
{
  if (!TabExists(nIndex))
    return;
  InvalidateFrom(nIndex);
  delete (SECTab*)m_pTabArray->GetAt(nIndex);
  m_pTabArray->RemoveAt(nIndex);
  if (m_bActiveTab) {
    if (GetTabCount() == 0) {
      m_bActiveTab = FALSE;
      m_nActiveTab = 0;
    } else if (nIndex < m_nActiveTab) {
      m_nActiveTab--;  // the same tab stays active
    } else if (m_nActiveTab >= GetTabCount()) {
      // The active tab was the last: the new last tab becomes active.
      m_bActiveTab = FALSE;
      ActivateTab(GetTabCount() - 1);
    } else if (nIndex == m_nActiveTab) {
      ActivateTab(nIndex);
    }
  }
  InvalidateFrom(nIndex);
  RecalcLayout();
}

void SECTabControlBase::RenameTab(int nIndex, LPCTSTR lpszLabel)
{
  if (!TabExists(nIndex))
    return;
  InvalidateFrom(nIndex);
  GetTabPtr(nIndex)->m_csLabel = lpszLabel != NULL ? lpszLabel : "";
  RecalcLayout();
  InvalidateFrom(nIndex);
}

void SECTabControlBase::ActivateTab(int nIndex)
{
  if (!TabExists(nIndex))
    return;
  if (m_bActiveTab && m_nActiveTab == nIndex)
    return;
  if (m_bActiveTab && TabExists(m_nActiveTab)) {
    GetTabPtr(m_nActiveTab)->m_bSelected = FALSE;
    InvalidateTab(m_nActiveTab);
  }
  m_nActiveTab = nIndex;
  m_bActiveTab = TRUE;
  GetTabPtr(nIndex)->m_bSelected = TRUE;
  OnActivateTab(nIndex);
  InvalidateTab(nIndex);
  ScrollToTab(nIndex);
  Notify(TCM_TABSEL, (WPARAM)nIndex);
}

void SECTabControlBase::OnTabReselected()
{
  Notify(TCM_TABREACTIVATE, (WPARAM)m_nActiveTab);
}

void SECTabControlBase::MarkTabSelected(int nIndex)
{
  if (!TabExists(nIndex))
    return;
  GetTabPtr(nIndex)->m_bSelected = TRUE;
  InvalidateTab(nIndex);
  Notify(TCM_TABSEL, (WPARAM)m_nActiveTab);
}

void SECTabControlBase::ClearSelection()
{
  for (int i = 0; i < GetTabCount(); i++) {
    SECTab* pTab = GetTabPtr(i);
    if (pTab->m_bSelected) {
      pTab->m_bSelected = FALSE;
      InvalidateTab(i);
    }
  }
  m_bActiveTab = FALSE;
  Notify(TCM_TABSELCLR, 0);
}

BOOL SECTabControlBase::GetTabInfo(int nIndex, LPCTSTR& lpszLabel, BOOL& bSelected,
                                   CWnd*& pWnd, void*& pExtra, HMENU& hMenu) const
{
  SECTab* pTab = GetTabPtr(nIndex);
  if (pTab == NULL)
    return FALSE;
  SEC3DTab* p3D = DYNAMIC_DOWNCAST(SEC3DTab, pTab);
  lpszLabel = p3D != NULL ? (LPCTSTR)p3D->m_csFullLabel : (LPCTSTR)pTab->m_csLabel;
  bSelected = pTab->m_bSelected;
  pWnd = pTab->m_pClient;
  pExtra = pTab->m_pExtra;
  hMenu = pTab->m_hMenu;
  return TRUE;
}

BOOL SECTabControlBase::FindTab(const CWnd* pWnd, int& nIndex) const
{
  BOOL bFound = FALSE;
  for (int i = 0; i < GetTabCount(); i++) {
    if (GetTabPtr(i)->m_pClient == pWnd) {
      nIndex = i;
      bFound = TRUE;
    }
  }
  return bFound;
}

BOOL SECTabControlBase::GetActiveTab(int& nIndex) const
{
  nIndex = m_nActiveTab;
  return m_bActiveTab;
}

void SECTabControlBase::OnDestroy()
{
  if (m_pTabArray != NULL) {
    for (int i = 0; i < GetTabCount(); i++)
      delete (SECTab*)m_pTabArray->GetAt(i);
    delete m_pTabArray;
    m_pTabArray = NULL;
  }
  CWnd::OnDestroy();
}

BOOL SECTabControlBase::OnSetCursor(CWnd*, UINT, UINT)
{
  ::SetCursor(m_hcurArrow);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// SEC3DTabControl

namespace {

const int kTabThickness = 22;  // across the strip
const int kTabPadding = 6;     // before the label (and after it)
const int kIconRoom = 25;      // padding plus a 16-pixel icon and its gap
const int kIconSize = 16;
const int kFirstTabOffset = 7;
const char kEllipsis[] = "...";

BOOL Horizontal(DWORD dwStyle)
{
  return (dwStyle & (TWS_TABS_ON_BOTTOM | TWS_TABS_ON_TOP)) != 0;
}

void Line(CDC* pDC, CPen* pPen, const POINT* pts, int n)
{
  CPen* pOld = pDC->SelectObject(pPen);
  pDC->MoveTo(pts[0]);
  for (int i = 1; i < n; i++)
    pDC->LineTo(pts[i]);
  pDC->SelectObject(pOld);
}

}  // namespace

BEGIN_MESSAGE_MAP(SEC3DTabControl, SECTabControlBase)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_DESTROY()
  ON_WM_SYSCOLORCHANGE()
END_MESSAGE_MAP()

SEC3DTabControl::SEC3DTabControl()
    : m_bFitLabels(TRUE), m_clrText(RGB(0, 0, 0)), m_clrTextActive(RGB(0, 0, 0)),
      m_bShowLabels(TRUE), m_pToolTip(NULL)
{
}

SEC3DTabControl::~SEC3DTabControl()
{
  delete m_pToolTip;
}

SECTab* SEC3DTabControl::CreateNewTab() const { return new SEC3DTab; }

void SEC3DTabControl::InitializeObjects(DWORD dwStyle)
{
  CreateTabFonts(dwStyle);
  m_brushWindow.DeleteObject();
  m_brushFace.DeleteObject();
  m_penBlack.DeleteObject();
  m_penBlackActive.DeleteObject();
  m_penShadow.DeleteObject();
  m_penWhite.DeleteObject();
  m_brushWindow.CreateSolidBrush(::GetSysColor(COLOR_WINDOW));
  m_brushFace.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
  m_penBlack.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  m_penBlackActive.CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  m_penShadow.CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
  m_penWhite.CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
  m_clrText = RGB(0, 0, 0);
  m_clrTextActive = RGB(0, 0, 0);
  if (m_pToolTip == NULL) {
    CToolTipCtrl* pTip = new CToolTipCtrl;
    if (pTip->Create(this)) {
      pTip->Activate(TRUE);
      m_pToolTip = pTip;
      EnableToolTips(TRUE);
    } else {
      delete pTip;
    }
  }
}

void SEC3DTabControl::RefreshGdiObjects()
{
  DestroyGdiObjects();
  InitializeObjects(GetStyle());
  RecalcLayout();
  Invalidate();
}

void SEC3DTabControl::OnSysColorChange()
{
  RefreshGdiObjects();
}

int SEC3DTabControl::Escapement(DWORD dwStyle) const
{
  if (dwStyle & TWS_TABS_ON_LEFT)
    return 900;
  if (dwStyle & TWS_TABS_ON_RIGHT)
    return -900;
  return 0;
}

BOOL SEC3DTabControl::MakeFont(CFont& font, LOGFONT lf, DWORD dwStyle)
{
  lf.lfEscapement = lf.lfOrientation = Escapement(dwStyle);
  CFont made;
  if (!made.CreateFontIndirect(&lf))
    return FALSE;
  font.DeleteObject();
  font.Attach(made.Detach());
  return TRUE;
}

void SEC3DTabControl::CreateTabFonts(DWORD dwStyle)
{
  LOGFONT lf;
  memset(&lf, 0, sizeof(lf));
  lf.lfHeight = 15;
  lf.lfWeight = FW_NORMAL;
  lf.lfCharSet = ANSI_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynA(lf.lfFaceName, "Arial Narrow", LF_FACESIZE);
  MakeFont(m_fontNormal, lf, dwStyle);
  lf.lfWeight = FW_SEMIBOLD;
  MakeFont(m_fontActive, lf, dwStyle);
}

CFont* SEC3DTabControl::GetTabFont(int nWhich)
{
  if (nWhich == 0)
    return &m_fontNormal;
  if (nWhich == 1)
    return &m_fontActive;
  return NULL;
}

BOOL SEC3DTabControl::SetTabFont(CFont* pFont, int nWhich, BOOL bRedraw)
{
  CFont* pStored = GetTabFont(nWhich);
  if (pStored == NULL || pFont == NULL || pFont->GetSafeHandle() == NULL)
    return FALSE;
  LOGFONT lf, lfOld;
  memset(&lfOld, 0, sizeof(lfOld));
  if (pFont->GetLogFont(&lf) == 0)
    return FALSE;
  if (pStored->GetSafeHandle() != NULL)
    pStored->GetLogFont(&lfOld);
  DWORD dwStyle = m_hWnd != NULL ? GetStyle() : 0;
  BOOL bTaken = MakeFont(*pStored, lf, dwStyle);
  if (!bTaken && lfOld.lfFaceName[0] != 0)
    MakeFont(*pStored, lfOld, dwStyle);
  if (m_hWnd == NULL)
    return bTaken;
  RecalcLayout();
  if (bRedraw) {
    if (nWhich == 1) {
      if (m_bActiveTab)
        InvalidateTab(m_nActiveTab);
    } else {
      InvalidateFrom(0);
    }
  }
  return bTaken;
}

BOOL SEC3DTabControl::ModifyTabStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
  BOOL bChanged = ModifyStyle(dwRemove, dwAdd, nFlags);
  if (dwAdd & TWS_TAB_ORIENTATIONS) {
    LOGFONT lf;
    DWORD dwStyle = GetStyle();
    if (m_fontNormal.GetSafeHandle() != NULL && m_fontNormal.GetLogFont(&lf))
      MakeFont(m_fontNormal, lf, dwStyle);
    if (m_fontActive.GetSafeHandle() != NULL && m_fontActive.GetLogFont(&lf))
      MakeFont(m_fontActive, lf, dwStyle);
    RecalcLayout();
  }
  return bChanged;
}

void SEC3DTabControl::EnableTab(int nIndex, BOOL bEnable)
{
  SEC3DTab* pTab = Tab3D(nIndex);
  if (pTab == NULL || (pTab->m_bEnabled != FALSE) == (bEnable != FALSE))
    return;
  pTab->m_bEnabled = bEnable != FALSE;
  InvalidateTab(nIndex);
}

BOOL SEC3DTabControl::IsTabEnabled(int nIndex) const
{
  SEC3DTab* pTab = Tab3D(nIndex);
  return pTab != NULL && pTab->m_bEnabled;
}

SECTab* SEC3DTabControl::InsertTab(int nIndex, LPCTSTR lpszLabel, CWnd* pWnd, void* pExtra,
                                   HMENU hMenu)
{
  SECTab* pTab = SECTabControlBase::InsertTab(nIndex, lpszLabel, pWnd, pExtra, hMenu);
  if (pTab == NULL)
    return NULL;
  ((SEC3DTab*)pTab)->m_csFullLabel = pTab->m_csLabel;
  RecalcLayout();
  InvalidateFrom(nIndex);
  return pTab;
}

SECTab* SEC3DTabControl::AddTab(LPCTSTR lpszLabel, CWnd* pWnd, void* pExtra, HMENU hMenu)
{
  SECTab* pTab = SECTabControlBase::InsertTab(GetTabCount(), lpszLabel, pWnd, pExtra, hMenu);
  if (pTab == NULL)
    return NULL;
  ((SEC3DTab*)pTab)->m_csFullLabel = pTab->m_csLabel;
  RecalcLayout();
  InvalidateTab(GetTabCount() - 1);
  return pTab;
}

void SEC3DTabControl::RenameTab(int nIndex, LPCTSTR lpszLabel)
{
  SEC3DTab* pTab = Tab3D(nIndex);
  if (pTab == NULL)
    return;
  pTab->m_csFullLabel = lpszLabel != NULL ? lpszLabel : "";
  pTab->m_bShortened = FALSE;
  SECTabControlBase::RenameTab(nIndex, lpszLabel);
}

void SEC3DTabControl::SetTabIcon(int nIndex, HICON hIcon)
{
  SEC3DTab* pTab = Tab3D(nIndex);
  if (pTab == NULL)
    return;
  pTab->m_hIcon = hIcon;
  RecalcLayout();
  InvalidateFrom(nIndex);
}

void SEC3DTabControl::SetTabIcon(int nIndex, LPCTSTR lpszResourceName, int cx, int cy)
{
  if (!TabExists(nIndex))
    return;
  HICON hIcon = (HICON)::LoadImageA(AfxGetResourceHandle(), lpszResourceName, IMAGE_ICON, cx, cy, 0);
  SetTabIcon(nIndex, hIcon);
}

void SEC3DTabControl::SetTabIcon(int nIndex, UINT nIDResource, int cx, int cy)
{
  SetTabIcon(nIndex, MAKEINTRESOURCEA(nIDResource), cx, cy);
}

void SEC3DTabControl::SetFitLabels(BOOL bFit)
{
  m_bFitLabels = bFit;
  for (int i = 0; i < GetTabCount(); i++) {
    SEC3DTab* pTab = Tab3D(i);
    pTab->m_csLabel = pTab->m_csFullLabel;
    pTab->m_bShortened = FALSE;
  }
}

BOOL SEC3DTabControl::GetTabRect(int nIndex, CRect& rect) const
{
  SEC3DTab* pTab = Tab3D(nIndex);
  if (pTab == NULL)
    return FALSE;
  rect = pTab->m_rect;
  return TRUE;
}

void SEC3DTabControl::InvalidateTab(int nIndex)
{
  SEC3DTab* pTab = Tab3D(nIndex);
  if (pTab == NULL || m_hWnd == NULL)
    return;
  CRect rect = pTab->m_rect;
  rect.right++;
  rect.bottom++;
  InvalidateRect(&rect, TRUE);
}

void SEC3DTabControl::OnActivateTab(int)
{
  RecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// Layout and label fitting. Text widths are measured in the active tab's font.

int SEC3DTabControl::LabelWidth(CDC* pDC, const CString& label) const
{
  if (label.IsEmpty())
    return 0;
  return pDC->GetTextExtent(label).cx;
}

int SEC3DTabControl::TabsLength(CDC* pDC, BOOL bFullLabels) const
{
  int nTotal = 0;
  for (int i = 0; i < GetTabCount(); i++) {
    SEC3DTab* pTab = Tab3D(i);
    nTotal += (pTab->m_hIcon != NULL ? kIconRoom : kTabPadding) + kTabPadding +
              LabelWidth(pDC, bFullLabels ? pTab->m_csFullLabel : pTab->m_csLabel);
  }
  return nTotal;
}

void SEC3DTabControl::RecalcLayout()
{
  if (m_hWnd == NULL || m_pTabArray == NULL)
    return;
  DWORD dwStyle = GetStyle();
  CRect rcClient;
  GetClientRect(&rcClient);
  CClientDC dc(this);
  CFont* pOldFont = dc.SelectObject(&m_fontActive);

  int nTotalLength = TabsLength(&dc, TRUE);
  int nTotalHeight = 19 * GetTabCount();
  int nAvailable = Horizontal(dwStyle) ? rcClient.Width() : rcClient.Height();
  if (m_bFitLabels)
    FitLabels(nTotalLength, nTotalHeight, nAvailable);
  else
    m_bShowLabels = nTotalLength + 12 < nAvailable;

  int pos = Horizontal(dwStyle) ? rcClient.left + kFirstTabOffset : rcClient.top + kFirstTabOffset;
  for (int i = 0; i < GetTabCount(); i++) {
    SEC3DTab* pTab = Tab3D(i);
    int nLength = pTab->m_hIcon != NULL ? kIconRoom : kTabPadding;
    if (m_bShowLabels)
      nLength += LabelWidth(&dc, pTab->m_csLabel) + kTabPadding;
    CRect& r = pTab->m_rect;
    if (Horizontal(dwStyle)) {
      pTab->m_nWidth = nLength;
      pTab->m_nHeight = kTabThickness;
      int y = (dwStyle & TWS_TABS_ON_BOTTOM) ? rcClient.top + 2 : rcClient.bottom - 25;
      r.SetRect(pos, y, pos + nLength, y + kTabThickness);
    } else {
      pTab->m_nWidth = kTabThickness;
      pTab->m_nHeight = nLength;
      int x = (dwStyle & TWS_TABS_ON_LEFT) ? rcClient.right - 25 : rcClient.left + 2;
      r.SetRect(x, pos, x + kTabThickness, pos + nLength);
    }
    pos += nLength;
  }

  if (!(dwStyle & TWS_NOACTIVE_TAB_ENLARGED) && m_bActiveTab && TabExists(m_nActiveTab)) {
    CRect& r = Tab3D(m_nActiveTab)->m_rect;
    if (Horizontal(dwStyle)) {
      r.left -= 3;
      r.right += 3;
      if (dwStyle & TWS_TABS_ON_BOTTOM)
        r.bottom += 3;
      else
        r.top -= 3;
    } else {
      r.top -= 3;
      r.bottom += 3;
      if (dwStyle & TWS_TABS_ON_LEFT)
        r.left -= 3;
      else
        r.right += 3;
    }
  }
  dc.SelectObject(pOldFont);
}

void SEC3DTabControl::FitLabels(int, int nTotalHeight, int nAvailable)
{
  int nCount = GetTabCount();
  if (nCount == 0) {
    m_bShowLabels = nTotalHeight < nAvailable;
    return;
  }
  CClientDC dc(this);
  CFont* pOldFont = dc.SelectObject(&m_fontActive);

  // Do the tabs fit even with every label reduced to "..."?
  for (int i = 0; i < nCount; i++) {
    SEC3DTab* pTab = Tab3D(i);
    pTab->m_csLabel = pTab->m_csFullLabel.GetLength() >= 3 ? CString(kEllipsis) : pTab->m_csFullLabel;
  }
  BOOL bCutFits = TabsLength(&dc, FALSE) + 12 <= nAvailable;
  m_bShowLabels = nTotalHeight < nAvailable;
  if (bCutFits) {
    for (int i = 0; i < nCount; i++) {
      SEC3DTab* pTab = Tab3D(i);
      pTab->m_csLabel = pTab->m_csFullLabel;
      pTab->m_bShortened = FALSE;
    }
    if (nAvailable <= 0) {
      dc.SelectObject(pOldFont);
      return;
    }
    // Cut the widest label, a character at a time, until the strip fits.
    while (TabsLength(&dc, FALSE) + 12 > nAvailable) {
      int nWidest = 0, nWidth = -1;
      for (int i = 0; i < nCount; i++) {
        int w = LabelWidth(&dc, Tab3D(i)->m_csLabel);
        if (w > nWidth) {
          nWidth = w;
          nWidest = i;
        }
      }
      SEC3DTab* pTab = Tab3D(nWidest);
      CString before = pTab->m_csLabel;
      CString& label = pTab->m_csLabel;
      if (!pTab->m_bShortened) {
        int nKeep = label.GetLength() - (label.Left(3) == kEllipsis ? 3 : 4);
        label = label.Left(nKeep < 0 ? 0 : nKeep);
      } else {
        int nKeep = label.GetLength() - 4;  // its "..." and one character more
        label = label.Left(nKeep < 0 ? 0 : nKeep);
      }
      if (pTab->m_csFullLabel.GetLength() >= 3) {
        label += kEllipsis;
        pTab->m_bShortened = TRUE;
      }
      const CString& last = Tab3D(nCount - 1)->m_csLabel;
      if (last == kEllipsis || last.GetLength() < 3 || label == before)
        break;
    }
  }
  // Still too long: drop characters from the widest label while labels are shown.
  while (m_bShowLabels && TabsLength(&dc, FALSE) + 12 > nAvailable) {
    int nWidest = 0, nWidth = -1;
    for (int i = 0; i < nCount; i++) {
      SEC3DTab* pTab = Tab3D(i);
      pTab->m_bShortened = TRUE;
      int w = LabelWidth(&dc, pTab->m_csLabel);
      if (w > nWidth) {
        nWidth = w;
        nWidest = i;
      }
    }
    m_bShowLabels = !Tab3D(nCount - 1)->m_csLabel.IsEmpty();
    CString& label = Tab3D(nWidest)->m_csLabel;
    if (label.IsEmpty())
      break;
    label = label.Left(label.GetLength() - 1);
  }
  dc.SelectObject(pOldFont);
}

void SEC3DTabControl::OnSize(UINT nType, int cx, int cy)
{
  SECTabControlBase::OnSize(nType, cx, cy);
  RecalcLayout();
}

// ---------------------------------------------------------------------------------------------
// Painting

BOOL SEC3DTabControl::OnEraseBkgnd(CDC*)
{
  return TRUE;
}

void SEC3DTabControl::OnPaint()
{
  CPaintDC dc(this);
  CRect rcClient;
  GetClientRect(&rcClient);
  if (rcClient.IsRectEmpty())
    return;
  CDC mem;
  mem.CreateCompatibleDC(&dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dc, rcClient.Width(), rcClient.Height());
  CBitmap* pOld = mem.SelectObject(&bitmap);
  PaintStrip(&mem, dc.m_ps.rcPaint);
  dc.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &mem, 0, 0, SRCCOPY);
  mem.SelectObject(pOld);
}

void SEC3DTabControl::PaintStrip(CDC* pDC, const CRect& rcUpdate)
{
  CRect rcClient;
  GetClientRect(&rcClient);
  DWORD dwStyle = GetStyle();
  int nSaved = pDC->SaveDC();
  pDC->SetBkMode(TRANSPARENT);
  pDC->SetTextColor(m_clrText);
  pDC->SelectObject(&m_brushFace);
  pDC->SelectObject(&m_fontNormal);
  pDC->SelectObject(&m_penBlack);
  FillSolid(pDC, rcClient, ::GetSysColor(COLOR_BTNFACE));

  for (int i = 0; i < GetTabCount(); i++) {
    if (!(m_bActiveTab && i == m_nActiveTab))
      DrawTab(pDC, i);
  }
  DrawEdgeLines(pDC, rcClient, dwStyle);

  CRect rcTab, rcMeet;
  if (m_bActiveTab && GetTabRect(m_nActiveTab, rcTab) &&
      rcMeet.IntersectRect(&rcTab, &rcUpdate)) {
    pDC->SetTextColor(m_clrTextActive);
    pDC->SelectObject(&m_fontActive);
    pDC->SelectObject(&m_penBlackActive);
    DrawTab(pDC, m_nActiveTab);
  }
  pDC->RestoreDC(nSaved);
}

void SEC3DTabControl::DrawEdgeLines(CDC* pDC, const CRect& rc, DWORD dwStyle)
{
  // From the outside in: white, button face, button shadow, black.
  const COLORREF colours[4] = {RGB(255, 255, 255), ::GetSysColor(COLOR_BTNFACE),
                               ::GetSysColor(COLOR_BTNSHADOW), RGB(0, 0, 0)};
  for (int i = 0; i < 4; i++) {
    if (dwStyle & TWS_TABS_ON_BOTTOM)
      pDC->FillSolidRect(rc.left, rc.top + i, rc.Width(), 1, colours[i]);
    else if (dwStyle & TWS_TABS_ON_TOP)
      pDC->FillSolidRect(rc.left, rc.bottom - 4 + i, rc.Width(), 1, colours[i]);
    else if (dwStyle & TWS_TABS_ON_LEFT)
      pDC->FillSolidRect(rc.right - 4 + i, rc.top, 1, rc.Height(), colours[i]);
    else if (dwStyle & TWS_TABS_ON_RIGHT)
      pDC->FillSolidRect(rc.left + i, rc.top, 1, rc.Height(), colours[i]);
  }
}

void SEC3DTabControl::FillSolid(CDC* pDC, const CRect& rect, COLORREF clr)
{
  pDC->FillSolidRect(&rect, clr);
}

void SEC3DTabControl::DrawTab(CDC* pDC, int nIndex)
{
  SEC3DTab* pTab = Tab3D(nIndex);
  if (pTab == NULL)
    return;
  DWORD dwStyle = GetStyle();
  FillSolid(pDC, pTab->m_rect, ::GetSysColor(COLOR_BTNFACE));
  if (dwStyle & TWS_TABS_ON_TOP)
    DrawTabShapeTop(pDC, pTab);
  else if (dwStyle & TWS_TABS_ON_LEFT)
    DrawTabShapeLeft(pDC, pTab);
  else if (dwStyle & TWS_TABS_ON_RIGHT)
    DrawTabShapeRight(pDC, pTab);
  else
    DrawTabShapeBottom(pDC, pTab);
  DrawTabLabel(pDC, pTab, dwStyle);
}

// The outlines: (l, t) and (r, b) are the tab's first and last pixels.
void SEC3DTabControl::DrawTabShapeBottom(CDC* pDC, SEC3DTab* pTab)
{
  int l = pTab->m_rect.left, t = pTab->m_rect.top;
  int r = pTab->m_rect.right - 1, b = pTab->m_rect.bottom - 1;
  const POINT white[] = {{l, t + 1}, {l, b - 2}};
  const POINT shadow[] = {{l + 1, b - 2}, {l + 1, b - 1}, {r - 2, b - 1}, {r - 2, b - 2},
                          {r - 1, b - 2}, {r - 1, t},     {r, t}};
  const POINT black[] = {{r, t + 2}, {r, b - 2}, {r - 2, b}, {l + 2, b}};
  Line(pDC, &m_penWhite, white, 2);
  Line(pDC, &m_penShadow, shadow, 7);
  Line(pDC, pDC->GetCurrentPen(), black, 4);
}

void SEC3DTabControl::DrawTabShapeTop(CDC* pDC, SEC3DTab* pTab)
{
  int l = pTab->m_rect.left, t = pTab->m_rect.top;
  int r = pTab->m_rect.right - 1, b = pTab->m_rect.bottom - 1;
  const POINT white[] = {{l, b - 1}, {l, t + 2}, {l + 2, t}, {r - 2, t}};
  const POINT shadow[] = {{r - 2, t + 1}, {r - 1, t + 2}, {r - 1, b}};
  const POINT black[] = {{r - 1, t + 1}, {r, t + 2}, {r, b}};
  Line(pDC, &m_penWhite, white, 4);
  Line(pDC, &m_penShadow, shadow, 3);
  Line(pDC, pDC->GetCurrentPen(), black, 3);
}

void SEC3DTabControl::DrawTabShapeLeft(CDC* pDC, SEC3DTab* pTab)
{
  int l = pTab->m_rect.left, t = pTab->m_rect.top;
  int r = pTab->m_rect.right - 1, b = pTab->m_rect.bottom - 1;
  const POINT shadow[] = {{l + 1, b - 2}, {l + 2, b - 1}, {r, b - 1}};
  const POINT white[] = {{l, b - 2}, {l, t + 2}, {l + 2, t}, {r, t}};
  const POINT black[] = {{l + 1, b - 1}, {l + 2, b}, {r, b}};
  Line(pDC, &m_penShadow, shadow, 3);
  Line(pDC, &m_penWhite, white, 4);
  Line(pDC, pDC->GetCurrentPen(), black, 3);
}

void SEC3DTabControl::DrawTabShapeRight(CDC* pDC, SEC3DTab* pTab)
{
  int l = pTab->m_rect.left, t = pTab->m_rect.top;
  int r = pTab->m_rect.right - 1, b = pTab->m_rect.bottom - 1;
  CPen* pBlack = pDC->GetCurrentPen();
  const POINT white[] = {{l, t}, {r - 2, t}};
  const POINT shadow1[] = {{r - 2, t}, {r - 1, t + 1}, {r - 1, b - 2}};
  const POINT black1[] = {{r, t + 2}, {r, b - 2}};
  const POINT shadow2[] = {{r - 1, b - 2}, {r - 2, b - 1}, {l, b - 1}};
  const POINT black2[] = {{r, b - 2}, {r - 2, b}, {l, b}};
  Line(pDC, &m_penWhite, white, 2);
  Line(pDC, &m_penShadow, shadow1, 3);
  Line(pDC, pBlack, black1, 2);
  Line(pDC, &m_penShadow, shadow2, 3);
  Line(pDC, pBlack, black2, 3);
}

void SEC3DTabControl::DrawTabLabel(CDC* pDC, SEC3DTab* pTab, DWORD dwStyle)
{
  CRect rcTab = pTab->m_rect;
  CDC* pTarget = pDC;
  CDC mem;
  CBitmap bitmap;
  CBitmap* pOldBitmap = NULL;
  CPoint offset(0, 0);
  if (!pTab->m_bEnabled) {
    // A disabled tab is drawn apart, embossed, and copied into place.
    mem.CreateCompatibleDC(pDC);
    bitmap.CreateCompatibleBitmap(pDC, rcTab.Width() + 5, rcTab.Height() + 5);
    pOldBitmap = mem.SelectObject(&bitmap);
    mem.FillSolidRect(0, 0, rcTab.Width() + 5, rcTab.Height() + 5, ::GetSysColor(COLOR_BTNFACE));
    mem.SetBkMode(TRANSPARENT);
    mem.SetTextColor(pDC->GetTextColor());
    mem.SelectObject(pDC->GetCurrentFont());
    offset = -rcTab.TopLeft();
    pTarget = &mem;
  }

  CRect rc = rcTab + offset;
  int nText = 0;
  if (m_bShowLabels && !pTab->m_csLabel.IsEmpty()) {
    TEXTMETRICA tm;
    pTarget->GetTextMetrics(&tm);
    nText = tm.tmHeight;
  }
  int nStart = kTabPadding + (pTab->m_hIcon != NULL ? kIconSize + 3 : 0);
  if (Horizontal(dwStyle)) {
    if (pTab->m_hIcon != NULL)
      ::DrawIconEx(pTarget->m_hDC, rc.left + kTabPadding, rc.top + (rc.Height() - kIconSize) / 2,
                   pTab->m_hIcon, kIconSize, kIconSize, 0, NULL, DI_NORMAL);
    if (nText > 0)
      pTarget->ExtTextOut(rc.left + nStart, rc.top + (rc.Height() - nText) / 2, ETO_CLIPPED, &rc,
                          pTab->m_csLabel, NULL);
  } else if (dwStyle & TWS_TABS_ON_LEFT) {
    // Upwards from near the bottom.
    if (pTab->m_hIcon != NULL)
      ::DrawIconEx(pTarget->m_hDC, rc.left + (rc.Width() - kIconSize) / 2,
                   rc.bottom - kTabPadding - kIconSize, pTab->m_hIcon, kIconSize, kIconSize, 0,
                   NULL, DI_NORMAL);
    if (nText > 0)
      pTarget->ExtTextOut(rc.left + (rc.Width() - nText) / 2, rc.bottom - nStart, ETO_CLIPPED,
                          &rc, pTab->m_csLabel, NULL);
  } else {
    // Downwards from near the top.
    if (pTab->m_hIcon != NULL)
      ::DrawIconEx(pTarget->m_hDC, rc.left + (rc.Width() - kIconSize) / 2, rc.top + kTabPadding,
                   pTab->m_hIcon, kIconSize, kIconSize, 0, NULL, DI_NORMAL);
    if (nText > 0)
      pTarget->ExtTextOut(rc.left + (rc.Width() + nText) / 2, rc.top + nStart, ETO_CLIPPED, &rc,
                          pTab->m_csLabel, NULL);
  }

  if (!pTab->m_bEnabled) {
    DrawDisabledImage(&mem, rcTab.Width(), rcTab.Height());
    // The outline stays: only the inside of the tab is replaced.
    CRect rcInside = rcTab;
    rcInside.DeflateRect(3, 3);
    if (!rcInside.IsRectEmpty())
      pDC->BitBlt(rcInside.left, rcInside.top, rcInside.Width(), rcInside.Height(), &mem, 3, 3,
                  SRCCOPY);
    mem.SelectObject(pOldBitmap);
  }
}

void SEC3DTabControl::DrawDisabledImage(CDC* pDC, int cx, int cy)
{
  // Mask: white where the image, offset by one pixel, shows the background.
  CDC maskDC;
  maskDC.CreateCompatibleDC(pDC);
  CBitmap mask;
  mask.CreateBitmap(cx, cy, 1, 1, NULL);
  CBitmap* pOldMask = maskDC.SelectObject(&mask);
  maskDC.PatBlt(0, 0, cx, cy, WHITENESS);
  COLORREF oldBk = pDC->SetBkColor(::GetSysColor(COLOR_BTNFACE));
  maskDC.BitBlt(0, 0, cx, cy, pDC, 1, 1, SRCCOPY);
  pDC->SetBkColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
  maskDC.BitBlt(0, 0, cx, cy, pDC, 1, 1, SRCPAINT);
  pDC->SetBkColor(oldBk);

  // The drawn pixels become a highlight with a shadow over it.
  pDC->FillSolidRect(0, 0, cx + 5, cy + 5, ::GetSysColor(COLOR_BTNFACE));
  COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
  COLORREF oldBack = pDC->SetBkColor(RGB(255, 255, 255));
  const DWORD kPatternWhereBlack = 0x00B8074A;  // mask black: brush, white: destination
  CBrush highlight(::GetSysColor(COLOR_BTNHIGHLIGHT));
  CBrush* pOldBrush = pDC->SelectObject(&highlight);
  pDC->BitBlt(2, 2, cx, cy, &maskDC, 0, 0, kPatternWhereBlack);
  CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
  pDC->SelectObject(&shadow);
  pDC->BitBlt(1, 1, cx, cy, &maskDC, 0, 0, kPatternWhereBlack);
  pDC->SelectObject(pOldBrush);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBack);
  maskDC.SelectObject(pOldMask);
}

// ---------------------------------------------------------------------------------------------
// Mouse and tooltips

void SEC3DTabControl::OnLButtonDown(UINT nFlags, CPoint point)
{
  for (int i = 0; i < GetTabCount(); i++) {
    SEC3DTab* pTab = Tab3D(i);
    if (pTab == NULL || !pTab->m_bEnabled || !pTab->m_rect.PtInRect(point))
      continue;
    if (m_bActiveTab && i == m_nActiveTab)
      OnTabReselected();
    else
      ActivateTab(i);
    break;
  }
  SECTabControlBase::OnLButtonDown(nFlags, point);
}

void SEC3DTabControl::OnLButtonDblClk(UINT nFlags, CPoint point)
{
  for (int i = 0; i < GetTabCount(); i++) {
    SEC3DTab* pTab = Tab3D(i);
    if (pTab != NULL && pTab->m_bEnabled && pTab->m_rect.PtInRect(point))
      Notify(TCM_TABDBLCLK, (WPARAM)i);
  }
  SECTabControlBase::OnLButtonDblClk(nFlags, point);
}

INT_PTR SEC3DTabControl::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
  INT_PTR nHit = SECTabControlBase::OnToolHitTest(point, pTI);
  if (nHit != -1)
    return nHit;
  for (int i = 0; i < GetTabCount(); i++) {
    SEC3DTab* pTab = Tab3D(i);
    if (!pTab->m_rect.PtInRect(point))
      continue;
    if (!pTab->m_bShortened && (m_bShowLabels || m_bFitLabels))
      continue;
    if (pTI != NULL) {
      pTI->hwnd = m_hWnd;
      pTI->uId = (UINT_PTR)(i + 1);
      pTI->rect = pTab->m_rect;
      // The tip control copies the text when the tool is added; the tab keeps the string.
      pTI->lpszText = (LPSTR)(LPCTSTR)pTab->m_csFullLabel;
    }
    return i + 1;
  }
  return -1;
}

void SEC3DTabControl::DestroyGdiObjects()
{
  m_fontNormal.DeleteObject();
  m_fontActive.DeleteObject();
  m_penBlack.DeleteObject();
  m_penBlackActive.DeleteObject();
  m_penShadow.DeleteObject();
  m_penWhite.DeleteObject();
  m_brushFace.DeleteObject();
  m_brushWindow.DeleteObject();
}

void SEC3DTabControl::OnDestroy()
{
  SECTabControlBase::OnDestroy();
  DestroyGdiObjects();
}
