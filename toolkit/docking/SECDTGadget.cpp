// The date/time control's gadgets: numeric and list fields, literal text, spin buttons and
// the drop-down button.
#include "SECDateTimeCtrl.h"
#include "SECSysColor.h"
#include "SECSysData.h"

#include <string.h>

#include <algorithm>

using std::max;
using std::min;

namespace {

// Each running gadget timer by its id (thread timers carry no window to find them by).
CMapWordToOb& TimerMap()
{
  static CMapWordToOb map(10);
  return map;
}

const UINT kTextFlags = DT_SINGLELINE | DT_NOPREFIX | DT_EXTERNALLEADING;

}  // namespace

IMPLEMENT_DYNAMIC(SECDTGadget, CObject)
IMPLEMENT_DYNCREATE(SECDTNumericGadget, SECDTGadget)
IMPLEMENT_DYNCREATE(SECDTListGadget, SECDTGadget)
IMPLEMENT_DYNCREATE(SECDTStaticGadget, SECDTGadget)
IMPLEMENT_DYNCREATE(SECDTSpinGadget, SECDTGadget)
IMPLEMENT_DYNCREATE(SECDTButtonGadget, SECDTGadget)

SECDTGadget::SECDTGadget()
    : m_rect(0, 0, 0, 0), m_bSelected(FALSE), m_style(WantFocus), m_nID(-1), m_nValue(0),
      m_pCtrl(NULL)
{
}

SECDTGadget::~SECDTGadget()
{
  // a gadget never leaves a timer pointing at it
  while (GetTimerID() != 0)
    StopTimer();
}

void SECDTGadget::GetText(CString& text) const { text.Empty(); }
void SECDTGadget::OnKeyDown(UINT) {}
void SECDTGadget::OnChar(UINT) {}
void SECDTGadget::OnLButtonDown(UINT, int, int) {}
void SECDTGadget::OnLButtonUp(UINT, int, int) {}
void SECDTGadget::OnMouseMove(UINT, int, int) {}
void SECDTGadget::OnCancelMode() {}
void SECDTGadget::OnTimer() {}
void SECDTGadget::OnSysColorChange() {}

BOOL SECDTGadget::Select(BOOL bOn)
{
  if (!(m_style & WantFocus))
    return FALSE;
  bOn = bOn ? TRUE : FALSE;
  if (bOn != m_bSelected) {
    m_bSelected = bOn;
    Invalidate();
  }
  return TRUE;
}

BOOL SECDTGadget::Initialise(SECDateTimeCtrl* pCtrl, int nID)
{
  m_pCtrl = pCtrl;
  m_nID = nID;
  return TRUE;
}

void SECDTGadget::SetValue(int nValue)
{
  m_nValue = nValue;
}

BOOL SECDTGadget::Notify(int nCode, int nID, int nValue)
{
  return m_pCtrl != NULL && m_pCtrl->OnGadgetNotify(nCode, nID, nValue);
}

void SECDTGadget::Invalidate(BOOL bUpdateNow)
{
  if (m_pCtrl != NULL)
    m_pCtrl->InvalidateGadget(this, bUpdateNow);
}

void SECDTGadget::CaptureMouse(BOOL bOn)
{
  if (m_pCtrl != NULL)
    m_pCtrl->CaptureMouse(this, bOn);
}

void SECDTGadget::StartTimer(UINT nMilliseconds)
{
  UINT_PTR id = ::SetTimer(NULL, 1, nMilliseconds, TimerProc);
  if (id != 0)
    TimerMap().SetAt((WORD)id, this);
}

UINT_PTR SECDTGadget::GetTimerID() const
{
  CMapWordToOb& map = TimerMap();
  POSITION pos = map.GetStartPosition();
  while (pos != NULL) {
    WORD id;
    CObject* pGadget;
    map.GetNextAssoc(pos, id, pGadget);
    if (pGadget == this)
      return id;
  }
  return 0;
}

void SECDTGadget::StopTimer()
{
  UINT_PTR id = GetTimerID();
  if (id == 0)
    return;
  ::KillTimer(NULL, id);
  TimerMap().RemoveKey((WORD)id);
}

void CALLBACK SECDTGadget::TimerProc(HWND, UINT, UINT_PTR nIDEvent, DWORD)
{
  CObject* pGadget = NULL;
  if (TimerMap().Lookup((WORD)nIDEvent, pGadget) && pGadget != NULL)
    ((SECDTGadget*)pGadget)->OnTimer();
}

void SECDTGadget::DrawText(CDC* pDC, const CString& text, UINT nFormat, BOOL bHighlight)
{
  COLORREF bk = bHighlight ? secData.m_clrHighlight : m_pCtrl->GetBkColor();
  COLORREF fg = bHighlight ? secData.m_clrHighlightText : m_pCtrl->GetTextColor();
  CRect rect = m_rect;
  pDC->FillSolidRect(&rect, bk);
  COLORREF oldBk = pDC->SetBkColor(bk);
  COLORREF oldText = pDC->SetTextColor(fg);
  int oldMode = pDC->SetBkMode(TRANSPARENT);
  pDC->DrawText(text, &rect, nFormat);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
}

// Numeric field ---------------------------------------------------------------------------

SECDTNumericGadget::SECDTNumericGadget()
    : m_nMin(0), m_nMax(0), m_nDigits(1), m_nNewValue(0), m_nNewDigits(0), m_bLeadZero(FALSE)
{
  m_style = WantFocus;
}

BOOL SECDTNumericGadget::Initialise(SECDateTimeCtrl* pCtrl, int nMin, int nMax, int nValue,
                                    BOOL bLeadZero, int nID)
{
  SECDTGadget::Initialise(pCtrl, nID);
  m_nMin = nMin;
  m_nMax = nMax;
  m_nValue = nValue;
  m_bLeadZero = bLeadZero;
  m_nDigits = nMax < 10 ? 1 : nMax < 100 ? 2 : nMax < 1000 ? 3 : 4;
  return TRUE;
}

void SECDTNumericGadget::GetText(CString& text) const
{
  int value = m_nNewDigits > 0 ? m_nNewValue : m_nValue;
  if (m_bLeadZero) {
    CString format;
    format.Format("%%0%dd", m_nDigits);
    text.Format(format, value);
  } else {
    text.Format("%d", value);
  }
}

void SECDTNumericGadget::CalcSize(CDC* pDC)
{
  CRect rect(0, 0, 0, 0);
  pDC->DrawText("00000", m_nDigits, &rect, DT_CALCRECT | kTextFlags);
  m_rect.SetRect(0, 0, rect.Width(), rect.Height());
}

void SECDTNumericGadget::Draw(CDC* pDC)
{
  CString text;
  if ((m_style & IsNull) && m_nNewDigits == 0)
    text = CString(m_pCtrl->GetNullChar(), m_nDigits);
  else
    GetText(text);
  DrawText(pDC, text, DT_CENTER | kTextFlags, m_bSelected);
}

BOOL SECDTNumericGadget::Select(BOOL bOn)
{
  if (m_nNewDigits > 0)
    Commit();
  return SECDTGadget::Select(bOn);
}

void SECDTNumericGadget::OnKeyDown(UINT nChar)
{
  bool digit = (nChar >= '0' && nChar <= '9') || (nChar >= VK_NUMPAD0 && nChar <= VK_NUMPAD9);
  if (!digit && m_nNewDigits > 0 && !Commit())
    return;
  switch (nChar) {
    case VK_END: Notify(SECDT_GN_END, m_nID, 0); break;
    case VK_HOME: Notify(SECDT_GN_HOME, m_nID, 0); break;
    case VK_UP: case VK_ADD: Notify(SECDT_GN_INC, m_nID, 0); break;
    case VK_DOWN: case VK_SUBTRACT: Notify(SECDT_GN_DEC, m_nID, 0); break;
    default: break;
  }
}

void SECDTNumericGadget::OnChar(UINT nChar)
{
  if (nChar >= '0' && nChar <= '9') {
    if (m_nNewDigits == 0) {
      Notify(SECDT_GN_EDIT, m_nID, 1);
      m_nNewValue = 0;
    }
    m_nNewValue = m_nNewValue * 10 + (int)(nChar - '0');
    ++m_nNewDigits;
    if (m_nNewValue == 0)
      m_nNewDigits = 0;  // leading zeros count for nothing
    if (m_nNewDigits >= m_nDigits && Commit())
      Notify(SECDT_GN_FULL, m_nID, 0);
    Invalidate(TRUE);
  } else if (m_nNewDigits > 0) {
    ::MessageBeep((UINT)-1);
    m_nNewDigits = 0;
    Invalidate();
    Notify(SECDT_GN_EDIT, m_nID, 0);
  }
}

void SECDTNumericGadget::OnCancelMode()
{
  if (m_nNewDigits > 0)
    Commit();
}

BOOL SECDTNumericGadget::Commit()
{
  m_nNewDigits = 0;
  BOOL result;
  if (Notify(SECDT_GN_VALIDATE, m_nID, m_nNewValue)) {
    m_nValue = m_nNewValue;
    Notify(SECDT_GN_MODIFY, m_nID, m_nNewValue);
    result = TRUE;
  } else {
    ::MessageBeep((UINT)-1);
    Invalidate();
    result = FALSE;
  }
  Notify(SECDT_GN_EDIT, m_nID, 0);
  return result;
}

// List field ------------------------------------------------------------------------------

SECDTListGadget::SECDTListGadget() : m_bSearching(FALSE)
{
  memset(m_cPending, 0, sizeof m_cPending);
  m_style = WantFocus;
}

SECDTListGadget::~SECDTListGadget()
{
  StopTimer();
}

BOOL SECDTListGadget::Initialise(SECDateTimeCtrl* pCtrl, const CStringArray* pItems,
                                 int nValue, int nID)
{
  SECDTGadget::Initialise(pCtrl, nID);
  m_items.RemoveAll();
  if (pItems != NULL)
    m_items.Append(*pItems);
  m_nValue = nValue;
  return TRUE;
}

void SECDTListGadget::GetText(CString& text) const
{
  if (m_nValue >= 0 && m_nValue < m_items.GetSize())
    text = m_items[m_nValue];
  else
    text.Empty();
}

void SECDTListGadget::CalcSize(CDC* pDC)
{
  int cx = 0, cy = 0;
  for (INT_PTR i = 0; i < m_items.GetSize(); ++i) {
    CRect rect(0, 0, 0, 0);
    pDC->DrawText(m_items[i], &rect, DT_CALCRECT | kTextFlags);
    cx = max(cx, rect.Width());
    cy = max(cy, rect.Height());
  }
  m_rect.SetRect(0, 0, cx, cy);
}

void SECDTListGadget::Draw(CDC* pDC)
{
  CString text;
  if (m_style & IsNull)
    text = CString(m_pCtrl->GetNullChar(), 80);
  else
    GetText(text);
  DrawText(pDC, text, DT_CENTER | kTextFlags, m_bSelected);
}

void SECDTListGadget::StopSearch()
{
  StopTimer();
  m_bSearching = FALSE;
}

BOOL SECDTListGadget::Select(BOOL bOn)
{
  if (m_bSearching)
    OnTimer();
  return SECDTGadget::Select(bOn);
}

void SECDTListGadget::OnKeyDown(UINT nChar)
{
  int code = 0;
  switch (nChar) {
    case VK_END: code = SECDT_GN_END; break;
    case VK_HOME: code = SECDT_GN_HOME; break;
    case VK_UP: case VK_ADD: code = SECDT_GN_INC; break;
    case VK_DOWN: case VK_SUBTRACT: code = SECDT_GN_DEC; break;
    default: return;
  }
  if (m_bSearching)
    StopSearch();
  Notify(code, m_nID, 0);
}

void SECDTListGadget::OnChar(UINT nChar)
{
  size_t used = strlen(m_cPending);
  if (used >= 2) {
    memset(m_cPending, 0, sizeof m_cPending);
    used = 0;
  }
  m_cPending[used] = (char)nChar;
  if (used == 0 && _ismbblead((unsigned char)nChar))
    return;  // wait for the trail byte
  CString c = m_cPending;
  memset(m_cPending, 0, sizeof m_cPending);

  const unsigned char* prefix = (const unsigned char*)(LPCTSTR)m_strPrefix;
  int prefixLen = m_strPrefix.GetLength();
  bool oneChar = prefixLen == 1 || (prefixLen == 2 && _ismbblead(prefix[0]));
  if (prefixLen == 0) {
    if (FindItem(c, m_nValue + 1) < 0) {
      ::MessageBeep((UINT)-1);
      return;
    }
    Invalidate(TRUE);
    m_strPrefix = c;
  } else if (oneChar && c.GetLength() == prefixLen &&
             _mbsnbicmp(prefix, (const unsigned char*)(LPCTSTR)c, prefixLen) == 0) {
    FindItem(m_strPrefix, m_nValue + 1);  // the same letter again steps on
    Invalidate(TRUE);
  } else {
    m_strPrefix += c;
    if (FindItem(m_strPrefix, m_nValue) < 0) {
      StopSearch();
      ::MessageBeep((UINT)-1);
      m_strPrefix.Empty();
      return;
    }
    Invalidate(TRUE);
  }
  StopTimer();
  StartTimer(2000);
  m_bSearching = TRUE;
}

int SECDTListGadget::FindItem(LPCTSTR pszPrefix, int nStart)
{
  INT_PTR count = m_items.GetSize();
  if (nStart < 0 || nStart >= count)
    nStart = 0;
  size_t len = strlen(pszPrefix);
  for (INT_PTR n = 0; n < count; ++n) {
    int index = (int)((nStart + n) % count);
    const CString& item = m_items[index];
    if ((size_t)item.GetLength() < len)
      continue;
    if (_mbsnbicmp((const unsigned char*)(LPCTSTR)item, (const unsigned char*)pszPrefix,
                   len) != 0)
      continue;
    if (!Notify(SECDT_GN_VALIDATE, m_nID, index))
      continue;
    if (Notify(SECDT_GN_MODIFY, m_nID, index))
      m_nValue = index;  // the control's refresh shows the same; a gadget alone keeps it
    return index;
  }
  return -1;
}

void SECDTListGadget::OnTimer()
{
  StopSearch();
  m_strPrefix.Empty();
}

// Literal text ----------------------------------------------------------------------------

SECDTStaticGadget::SECDTStaticGadget()
{
  m_style = 0;
}

BOOL SECDTStaticGadget::Initialise(SECDateTimeCtrl* pCtrl, LPCTSTR pszText, int nID)
{
  SECDTGadget::Initialise(pCtrl, nID);
  m_strText = pszText;
  return TRUE;
}

void SECDTStaticGadget::GetText(CString& text) const { text = m_strText; }

void SECDTStaticGadget::CalcSize(CDC* pDC)
{
  CRect rect(0, 0, 0, 0);
  pDC->DrawText(m_strText, &rect, DT_CALCRECT | kTextFlags);
  m_rect.SetRect(0, 0, rect.Width(), rect.Height());
}

void SECDTStaticGadget::Draw(CDC* pDC)
{
  DrawText(pDC, m_strText, kTextFlags, FALSE);
}

// Shared button frames --------------------------------------------------------------------

namespace {

void RaisedFrame(CDC* pDC, CRect& rect)
{
  pDC->Draw3dRect(&rect, secData.m_clrBtnFace, secData.m_clrWindowFrame);
  rect.DeflateRect(1, 1);
  pDC->Draw3dRect(&rect, secData.m_clrBtnHilite, secData.m_clrBtnShadow);
  rect.DeflateRect(1, 1);
}

}  // namespace

// Spin buttons ----------------------------------------------------------------------------

SECDTSpinGadget::SECDTSpinGadget() : m_nState(0), m_nCount(0)
{
  m_style = WantMouse;
}

BOOL SECDTSpinGadget::Initialise(SECDateTimeCtrl* pCtrl, int nID)
{
  return SECDTGadget::Initialise(pCtrl, nID);
}

void SECDTSpinGadget::CalcSize(CDC*)
{
  m_rect.SetRect(0, 0, 16, -1);
}

int SECDTSpinGadget::ButtonAt(int x, int y) const
{
  if (!m_rect.PtInRect(CPoint(x, y)))
    return 0;
  return y > m_rect.top + m_rect.Height() / 2 ? 2 : 1;
}

void SECDTSpinGadget::OnLButtonDown(UINT, int x, int y)
{
  int button = ButtonAt(x, y);
  if (button == 0)
    return;
  CaptureMouse(TRUE);
  m_nState = (m_nState & ~0x0F) | (button == 1 ? UpPressed | TrackUp : DownPressed | TrackDown);
  Notify(button == 1 ? SECDT_GN_SPININC : SECDT_GN_SPINDEC, m_nID, 1);
  Invalidate();
  StartTimer(500);
  m_nState |= TimerRunning | InitialDelay;
  m_nCount = 0;
}

void SECDTSpinGadget::OnTimer()
{
  if (m_nState & InitialDelay) {
    StopTimer();
    StartTimer(100);
    m_nState &= ~InitialDelay;
  }
  ++m_nCount;
  int step = m_nCount <= 20 ? 1 : m_nCount <= 50 ? 2 : 5;
  Notify((m_nState & UpPressed) ? SECDT_GN_SPININC : SECDT_GN_SPINDEC, m_nID, step);
}

void SECDTSpinGadget::OnMouseMove(UINT, int x, int y)
{
  if (!(m_nState & (TrackUp | TrackDown)))
    return;
  bool up = (m_nState & TrackUp) != 0;
  int pressedBit = up ? UpPressed : DownPressed;
  bool over = ButtonAt(x, y) == (up ? 1 : 2);
  if (over != ((m_nState & pressedBit) != 0)) {
    m_nState ^= pressedBit;
    Invalidate();
  }
  bool pressed = (m_nState & (UpPressed | DownPressed)) != 0;
  bool running = (m_nState & TimerRunning) != 0;
  if (pressed && !running) {
    StartTimer(100);
    m_nCount = 0;
    m_nState = (m_nState | TimerRunning) & ~InitialDelay;
  } else if (!pressed && running) {
    StopTimer();
    m_nState &= ~(TimerRunning | InitialDelay);
  }
}

void SECDTSpinGadget::OnLButtonUp(UINT, int, int)
{
  if (!(m_nState & (TrackUp | TrackDown)))
    return;
  OnCancelMode();
}

void SECDTSpinGadget::OnCancelMode()
{
  if (!(m_nState & (TrackUp | TrackDown)))
    return;
  CaptureMouse(FALSE);
  if (m_nState & (UpPressed | DownPressed))
    Invalidate();
  m_nState &= ~0x0F;
  if (m_nState & (TimerRunning | InitialDelay)) {
    StopTimer();
    m_nState &= ~(TimerRunning | InitialDelay);
  }
}

void SECDTSpinGadget::DrawArrowButton(CDC* pDC, CRect rect, BOOL bUp, BOOL bPressed)
{
  if (bPressed) {
    pDC->Draw3dRect(&rect, secData.m_clrBtnShadow, secData.m_clrBtnHilite);
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(&rect, secData.m_clrWindowFrame, secData.m_clrBtnFace);
    rect.DeflateRect(1, 1);
  } else {
    RaisedFrame(pDC, rect);
  }
  int h = rect.Height(), w = rect.Width();
  int e = min(h / 4 + 1, 4);
  int shift = bPressed ? 1 : 0;
  int x0 = rect.left + (w - 2 * e + 1) / 2 + shift;
  int tip = bUp ? rect.top + (h - e) / 2 : rect.bottom - (h - e) / 2 - 1;
  tip += shift;
  if (e < 2) {
    pDC->SetPixel(x0, tip, RGB(0, 0, 0));
    return;
  }
  int base = bUp ? tip + e - 1 : tip - (e - 1);
  POINT pts[3] = {{x0, base}, {x0 + 2 * e - 2, base}, {x0 + e - 1, tip}};
  int oldMode = pDC->SetPolyFillMode(WINDING);
  pDC->Polygon(pts, 3);
  pDC->SetPolyFillMode(oldMode);
}

void SECDTSpinGadget::Draw(CDC* pDC)
{
  pDC->FillSolidRect(&m_rect, secData.m_clrBtnFace);
  CGdiObject* oldPen = pDC->SelectStockObject(BLACK_PEN);
  CGdiObject* oldBrush = pDC->SelectStockObject(BLACK_BRUSH);
  int half = m_rect.Height() / 2;
  CRect upper(m_rect.left, m_rect.top, m_rect.right, m_rect.top + half);
  CRect lower(m_rect.left, m_rect.bottom - half, m_rect.right, m_rect.bottom);
  DrawArrowButton(pDC, upper, TRUE, (m_nState & UpPressed) != 0);
  DrawArrowButton(pDC, lower, FALSE, (m_nState & DownPressed) != 0);
  if (oldPen) pDC->SelectObject(oldPen);
  if (oldBrush) pDC->SelectObject(oldBrush);
}

// Drop-down button ------------------------------------------------------------------------

SECDTButtonGadget::SECDTButtonGadget() : m_nState(0), m_nBmpID(0)
{
  m_style = WantMouse;
}

SECDTButtonGadget::~SECDTButtonGadget()
{
  m_bmp.DeleteObject();
}

BOOL SECDTButtonGadget::Initialise(SECDateTimeCtrl* pCtrl, UINT nBmpID, int nID)
{
  SECDTGadget::Initialise(pCtrl, nID);
  m_nBmpID = nBmpID;
  m_bmp.DeleteObject();
  return LoadSysColorBitmap(&m_bmp, MAKEINTRESOURCE(nBmpID));
}

void SECDTButtonGadget::CalcSize(CDC*)
{
  m_rect.SetRect(0, 0, 16, -1);
}

void SECDTButtonGadget::Draw(CDC* pDC)
{
  CRect rect = m_rect;
  BOOL pressed = (m_nState & 0x02) != 0;
  if (pressed) {
    pDC->Draw3dRect(&rect, secData.m_clrBtnShadow, secData.m_clrBtnShadow);
    rect.DeflateRect(1, 1);
    pDC->Draw3dRect(&rect, secData.m_clrBtnFace, secData.m_clrBtnFace);
    rect.DeflateRect(1, 1);
  } else {
    RaisedFrame(pDC, rect);
  }
  pDC->FillSolidRect(&rect, secData.m_clrBtnFace);
  if (m_bmp.GetSafeHandle() == NULL)
    return;
  BITMAP bm;
  m_bmp.GetBitmap(&bm);
  CDC mem;
  if (!mem.CreateCompatibleDC(pDC))
    return;
  CBitmap* old = mem.SelectObject(&m_bmp);
  int x = rect.left + (rect.Width() - bm.bmWidth) / 2 + (pressed ? 1 : 0);
  int y = rect.top + (rect.Height() - bm.bmHeight) / 2 + (pressed ? 1 : 0);
  pDC->BitBlt(x, y, bm.bmWidth, bm.bmHeight, &mem, 0, 0, SRCCOPY);
  mem.SelectObject(old);
}

void SECDTButtonGadget::OnLButtonDown(UINT, int, int)
{
  m_nState = 0x03;
  Invalidate();
  CaptureMouse(TRUE);
}

void SECDTButtonGadget::OnMouseMove(UINT, int x, int y)
{
  if (!(m_nState & 0x01))
    return;
  int pressed = m_rect.PtInRect(CPoint(x, y)) ? 0x02 : 0;
  if (pressed != (m_nState & 0x02)) {
    m_nState = (m_nState & ~0x02) | pressed;
    Invalidate();
  }
}

void SECDTButtonGadget::OnLButtonUp(UINT, int x, int y)
{
  if (!(m_nState & 0x01))
    return;
  CaptureMouse(FALSE);
  m_nState &= ~0x01;
  if (m_rect.PtInRect(CPoint(x, y)))
    Notify(SECDT_GN_CLICKED, m_nID, 0);
  m_nState &= ~0x02;
  Invalidate();
}

void SECDTButtonGadget::OnCancelMode()
{
  if (!(m_nState & 0x01))
    return;
  CaptureMouse(FALSE);
  m_nState &= ~0x01;
  if (m_nState & 0x02) {
    m_nState &= ~0x02;
    Invalidate();
  }
}

void SECDTButtonGadget::OnSysColorChange()
{
  if (m_bmp.GetSafeHandle() == NULL)
    return;
  m_bmp.DeleteObject();
  LoadSysColorBitmap(&m_bmp, MAKEINTRESOURCE(m_nBmpID));
}
