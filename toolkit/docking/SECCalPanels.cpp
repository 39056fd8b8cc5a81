// The calendar's panels: the common frame, the title with its buttons, the weekday bar and
// the day boxes.
#include "SECCalendar.h"
#include "SECLocaleNames.h"
#include "SECSysData.h"

IMPLEMENT_SERIAL(SECPanel, CObject, 256)
IMPLEMENT_SERIAL(SECCalTitle, SECPanel, 256)
IMPLEMENT_SERIAL(SECDayBox, SECPanel, 256)

SECPanel::SECPanel()
    : m_clrOtherMonth(::GetSysColor(COLOR_GRAYTEXT)), m_pCal(NULL), m_dwBehaviour(0),
      m_dwStyle(0x17F), m_rect(0, 0, 0, 0), m_nBevel(3), m_nSecond(2), m_bSelected(FALSE),
      m_bHighlighted(FALSE), m_clrOuter(RGB(0, 0, 0)), m_clrHighlight(RGB(255, 0, 0)),
      m_clrText(::GetSysColor(COLOR_BTNTEXT)), m_bDirty(TRUE), m_bCreated(FALSE)
{
  m_nBands[0] = m_nBands[1] = m_nBands[2] = m_nBands[3] = 0;
}

SECPanel::~SECPanel() {}

BOOL SECPanel::Create(const RECT& rect, SECCalendar* pCal, DWORD, UINT, BOOL bSelected,
                      BOOL bHighlighted, DWORD dwStyle, DWORD dwBehaviour, int nBevel)
{
  m_rect = rect;
  m_pCal = pCal;
  m_bSelected = bSelected;
  m_bHighlighted = bHighlighted;
  m_dwStyle = dwStyle;
  m_dwBehaviour = dwBehaviour;
  m_nBevel = nBevel;
  m_bCreated = TRUE;
  ComputeBands();
  return TRUE;
}

void SECPanel::ComputeBands()
{
  BOOL s = m_bSelected;
  m_nBands[0] = 0;
  m_nBands[1] = (m_dwStyle & (s ? 0x08 : 0x10)) ? 1 : 0;
  m_nBands[2] = m_nBands[1] + ((m_dwStyle & (s ? 0x02 : 0x04)) ? m_nBevel : 0);
  m_nBands[3] = m_nBands[2] + ((m_bHighlighted && (m_dwStyle & (s ? 0x20 : 0x40))) ? m_nBevel
                                                                                    : 0);
  m_bDirty = FALSE;
}

int SECPanel::GetContentInset()
{
  if (m_bDirty)
    ComputeBands();
  return m_nBands[3];
}

CRect SECPanel::SetRect(const RECT& rect)
{
  CRect old = m_rect;
  m_rect = rect;
  m_bDirty = TRUE;
  return old;
}

CRect SECPanel::GetInnerRect()
{
  int c = GetContentInset();
  CRect inner(m_rect.left + c, m_rect.top + c, m_rect.right - c, m_rect.bottom - c);
  if (inner.Width() < 0 || inner.Height() < 0)
    inner.SetRect(0, 0, 0, 0);
  return inner;
}

CString SECPanel::SetText(LPCTSTR pszText)
{
  CString old = m_strText;
  m_strText = pszText ? pszText : "";
  return old;
}

DWORD SECPanel::SetStyle(DWORD dwStyle)
{
  DWORD old = m_dwStyle;
  m_dwStyle = dwStyle;
  m_bDirty = TRUE;
  return old;
}

DWORD SECPanel::SetBehaviourFlags(DWORD dwFlags)
{
  DWORD old = m_dwBehaviour;
  m_dwBehaviour = dwFlags;
  m_bDirty = TRUE;
  return old;
}

int SECPanel::SetBevelWidth(int n)
{
  int old = m_nBevel;
  m_nBevel = n;
  m_bDirty = TRUE;
  return old;
}

int SECPanel::SetSecondWidth(int n)
{
  int old = m_nSecond;
  m_nSecond = n;
  m_bDirty = TRUE;
  return old;
}

COLORREF SECPanel::SetTextColor(COLORREF clr)
{
  COLORREF old = m_clrText;
  m_clrText = clr;
  return old;
}

void SECPanel::Redraw()
{
  if (!m_bCreated || m_pCal == NULL || m_pCal->m_hWnd == NULL)
    return;
  CRect rect(m_rect.left - 1, m_rect.top - 1, m_rect.right + 1, m_rect.bottom + 1);
  m_pCal->InvalidateRect(&rect, FALSE);
  m_pCal->UpdateWindow();
}

BOOL SECPanel::SetSelected(BOOL bOn, BOOL bRedraw)
{
  BOOL result = FALSE;
  if (m_dwBehaviour & 0x4000) {
    m_bSelected = bOn ? TRUE : FALSE;
    result = TRUE;
  }
  m_bDirty = TRUE;
  if (bRedraw)
    Redraw();
  return result;
}

BOOL SECPanel::SetHighlighted(BOOL bOn, BOOL bRedraw)
{
  BOOL result = FALSE;
  if (m_dwBehaviour & 0x8000) {
    m_bHighlighted = bOn ? TRUE : FALSE;
    result = TRUE;
  } else {
    m_bHighlighted = FALSE;
  }
  m_bDirty = TRUE;
  if (bRedraw)
    Redraw();
  return result;
}

BOOL SECPanel::HitTest(CPoint pt) const
{
  // right and bottom belong to the panel
  return pt.x >= m_rect.left && pt.x <= m_rect.right && pt.y >= m_rect.top &&
         pt.y <= m_rect.bottom;
}

BOOL SECPanel::DrawBand(CDC* pDC, int a, int b, COLORREF topLeft, COLORREF bottomRight)
{
  if (a == b)
    return TRUE;
  COLORREF oldBk = pDC->GetBkColor();
  for (int i = a; i <= b; ++i) {
    CRect ring(m_rect.left + i, m_rect.top + i, m_rect.right - i + 1, m_rect.bottom - i + 1);
    if (ring.Width() <= 0 || ring.Height() <= 0)
      break;
    pDC->Draw3dRect(&ring, topLeft, bottomRight);
  }
  pDC->SetBkColor(oldBk);
  return TRUE;
}

BOOL SECPanel::DrawOuterLine(CDC* pDC)
{
  return DrawBand(pDC, m_nBands[0], m_nBands[1], m_clrOuter, m_clrOuter);
}

BOOL SECPanel::DrawBevel(CDC* pDC)
{
  COLORREF light = secData.m_clrBtnHilite, dark = secData.m_clrBtnShadow;
  return m_bSelected ? DrawBand(pDC, m_nBands[1], m_nBands[2], dark, light)
                     : DrawBand(pDC, m_nBands[1], m_nBands[2], light, dark);
}

BOOL SECPanel::FillBackground(CDC* pDC)
{
  CRect inner = GetInnerRect();
  if (inner.IsRectNull())
    return TRUE;
  inner.right += 1;
  inner.bottom += 1;
  pDC->FillSolidRect(&inner, pDC->GetBkColor());
  return TRUE;
}

BOOL SECPanel::DrawText(CDC* pDC, const CString& text, COLORREF color)
{
  CRect inner = GetInnerRect();
  if (inner.IsRectNull() || text.IsEmpty())
    return TRUE;
  COLORREF oldText = pDC->SetTextColor(color);
  CRect clip(inner.left, inner.top, inner.right + 1, inner.bottom + 1);
  if (m_dwStyle & 0x80) {
    TEXTMETRIC tm;
    pDC->GetTextMetrics(&tm);
    UINT oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
    pDC->ExtTextOut(inner.left + inner.Width() / 2, inner.top + inner.Height() / 2 +
                    tm.tmAscent / 2, ETO_OPAQUE | ETO_CLIPPED, &clip, text, text.GetLength(),
                    NULL);
    pDC->SetTextAlign(oldAlign);
  } else {
    UINT oldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->ExtTextOut(inner.left + inner.Width() / 10, inner.top + inner.Height() / 10,
                    ETO_OPAQUE | ETO_CLIPPED, &clip, text, text.GetLength(), NULL);
    pDC->SetTextAlign(oldAlign);
  }
  pDC->SetTextColor(oldText);
  return TRUE;
}

BOOL SECPanel::DrawContent(CDC* pDC)
{
  return DrawText(pDC, m_strText, m_clrText);
}

BOOL SECPanel::DrawHighlight(CDC* pDC)
{
  return DrawBand(pDC, m_nBands[2], m_nBands[3], m_clrHighlight, m_clrHighlight);
}

BOOL SECPanel::Paint(CDC* pDC)
{
  if (m_bDirty)
    ComputeBands();
  COLORREF oldBk = pDC->SetBkColor(secData.m_clrBtnFace);
  COLORREF oldText = pDC->SetTextColor(m_clrText);
  BOOL ok = DrawOuterLine(pDC);
  ok = DrawBevel(pDC) && ok;
  ok = FillBackground(pDC) && ok;
  ok = DrawContent(pDC) && ok;
  ok = DrawHighlight(pDC) && ok;
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
  return ok;
}

namespace {

// Shrinks or grows a font description until the sample measured by measure fits the
// rectangle. Doubling stops once the sample no longer grows (a failed measure gives 0) or
// has passed the rectangle, so a font that cannot grow ends the loop.
template <class Measure>
LOGFONT Fit(CDC* pDC, LOGFONT lf, const CRect& rect, Measure measure, double shrink,
            int stopAt, bool stopOnMeasure, bool growOnlyIfNarrower)
{
  if (rect.IsRectEmpty()) {
    lf.lfHeight = lf.lfWidth = 0;
    return lf;
  }
  auto size = [&]() {
    CFont font;
    if (!font.CreateFontIndirect(&lf))
      return CSize(0, 0);
    return measure(pDC, &font);
  };
  CSize s = size();
  bool grow = growOnlyIfNarrower ? s.cx < rect.Width() : true;
  while (grow && s.cx < rect.Width() && s.cy < rect.Height() &&
         lf.lfHeight * 2 <= rect.Height() * 4 + 2) {
    LOGFONT next = lf;
    next.lfHeight = lf.lfHeight * 2;
    next.lfWidth = lf.lfWidth * 2;
    if (next.lfHeight == 0 && next.lfWidth == 0)
      break;
    LOGFONT keep = lf;
    lf = next;
    CSize bigger = size();
    if (bigger.cx <= s.cx && bigger.cy <= s.cy) {
      lf = keep;  // it stopped growing
      break;
    }
    s = bigger;
  }
  for (int guard = 0; guard < 1000 && (s.cx > rect.Width() || s.cy > rect.Height()); ++guard) {
    int h = abs(lf.lfHeight), w = abs(lf.lfWidth);
    int nh = std::min(h - 1, (int)(h * shrink)), nw = std::min(w - 1, (int)(w * shrink));
    if (nh < 0) nh = 0;
    if (nw < 0) nw = 0;
    lf.lfHeight = lf.lfHeight < 0 ? -nh : nh;
    lf.lfWidth = nw;
    if (nh <= stopAt || (w > 0 && nw <= stopAt))
      break;
    s = size();
    if (stopOnMeasure && (s.cx <= stopAt + 1 || s.cy <= stopAt + 1))
      break;
  }
  return lf;
}

CSize TextSize(CDC* pDC, CFont* pFont, const CString& text)
{
  CFont* old = pDC->SelectObject(pFont);
  CSize size = pDC->GetTextExtent(text);
  pDC->SelectObject(old);
  return size;
}

}  // namespace

// Title -----------------------------------------------------------------------------------

SECCalTitle::SECCalTitle() : m_pCalendar(NULL), m_bYearButtons(1), m_bMonthButtons(1) {}

SECCalTitle::~SECCalTitle()
{
  for (CWnd& button : m_buttons)
    if (button.m_hWnd != NULL)
      button.DestroyWindow();
}

BOOL SECCalTitle::Create(const RECT& rect, SECCalendar* pCal, DWORD dwWndStyle, UINT nID,
                         BOOL bSelected, BOOL bHighlighted, DWORD dwStyle, DWORD dwBehaviour,
                         int nBevel)
{
  BOOL ok = SECPanel::Create(rect, pCal, dwWndStyle, nID, bSelected, bHighlighted, dwStyle,
                             dwBehaviour, nBevel);
  m_pCalendar = pCal;
  static const char* const captions[4] = {"<<", "<", ">", ">>"};
  static const UINT commands[4] = {SECCAL_CMD_PREVYEAR, SECCAL_CMD_PREVMONTH,
                                   SECCAL_CMD_NEXTMONTH, SECCAL_CMD_NEXTYEAR};
  m_bMonthButtons = (dwBehaviour & 0x80000) != 0;
  m_bYearButtons = (dwBehaviour & 0x100000) != 0;
  for (int i = 0; i < 4; ++i) {
    bool year = i == 0 || i == 3;
    if (year ? !m_bYearButtons : !m_bMonthButtons)
      continue;
    if (m_buttons[i].m_hWnd != NULL)
      m_buttons[i].DestroyWindow();
    ok = m_buttons[i].Create("BUTTON", captions[i], WS_CHILD, rect, pCal, commands[i]) && ok;
  }
  return ok;
}

CRect SECCalTitle::SetRect(const RECT& rect)
{
  CRect old = SECPanel::SetRect(rect);
  CRect r = rect;
  int w = r.Width(), h = r.Height();
  int top = r.top + h / 5, bottom = r.bottom - h / 5;
  auto place = [&](int i, int left, int right) {
    if (m_buttons[i].m_hWnd == NULL)
      return;
    WINDOWPLACEMENT wp = {sizeof wp};
    m_buttons[i].GetWindowPlacement(&wp);
    wp.rcNormalPosition = CRect(left, top, right, bottom);
    wp.showCmd = SW_SHOWNORMAL;
    m_buttons[i].SetWindowPlacement(&wp);
    m_buttons[i].ShowWindow(SW_SHOW);
    m_buttons[i].EnableWindow(TRUE);
  };
  if (m_bYearButtons) {
    place(0, r.left + w * 10 / 200, r.left + w * 30 / 200);
    place(1, r.left + w * 30 / 200, r.left + w * 50 / 200);
    place(2, r.right - w * 50 / 200, r.right - w * 30 / 200);
    place(3, r.right - w * 30 / 200, r.right - w * 10 / 200);
  } else {
    place(1, r.left + w * 10 / 200, r.left + w * 30 / 200);
    place(2, r.right - w * 30 / 200, r.right - w * 10 / 200);
  }
  return old;
}

void SECCalTitle::SetTitleDate(const COleDateTime& date)
{
  CString month;
  GetLocaleMonthName(month, date.GetMonth(), (m_dwStyle & 0x10000000) != 0);
  CString text;
  text.Format("%s %d", (LPCTSTR)month, date.GetYear());
  SetText(text);
}

BOOL SECCalTitle::Paint(CDC* pDC)
{
  BOOL ok = SECPanel::Paint(pDC);
  for (CWnd& button : m_buttons) {
    if (button.m_hWnd == NULL || !button.IsWindowVisible())
      continue;
    if (m_pCalendar != NULL)
      button.SendMessage(WM_SETFONT, (WPARAM)m_pCalendar->GetTitleFont().GetSafeHandle(),
                         TRUE);
    button.RedrawWindow();
  }
  return ok;
}

CSize SECCalTitle::MeasureText(CDC* pDC, CFont* pFont)
{
  CFont* font = pFont ? pFont : (m_pCalendar ? &m_pCalendar->GetTitleFont() : NULL);
  if (font == NULL || font->GetSafeHandle() == NULL)
    return CSize(0, 0);
  CSize s = TextSize(pDC, font, (m_dwStyle & 0x10000000) ? "September, 2000" : "Sep, 2000");
  double fx = (m_bYearButtons || m_bMonthButtons) ? 2.2 : 1.2;
  return CSize((int)(s.cx * fx), (int)(s.cy * 1.2));
}

LOGFONT SECCalTitle::FitFont(CDC* pDC, const LOGFONT* pLogFont, const RECT* pRect)
{
  LOGFONT lf = pLogFont ? *pLogFont : m_pCalendar->GetTitleLogFont();
  CRect rect = pRect ? CRect(*pRect) : GetInnerRect();
  return Fit(pDC, lf, rect, [this](CDC* dc, CFont* f) { return MeasureText(dc, f); }, 0.95, 1,
             false, false);
}

void SECCalTitle::NextYear() { if (m_pCalendar) m_pCalendar->NextYear(FALSE); }
void SECCalTitle::PrevYear() { if (m_pCalendar) m_pCalendar->PrevYear(FALSE); }
void SECCalTitle::NextMonth() { if (m_pCalendar) m_pCalendar->NextMonth(FALSE); }
void SECCalTitle::PrevMonth() { if (m_pCalendar) m_pCalendar->PrevMonth(FALSE); }

// Day bar ---------------------------------------------------------------------------------

SECDayBar::SECDayBar() : m_nFirstDay(1) {}

void SECDayBar::Column(const CRect& inner, int i, int& left, int& right)
{
  static const double f[8] = {0, 0.143, 0.286, 0.429, 0.572, 0.715, 0.858, 1};
  int w = inner.Width();  // the inner rectangle's pixels less one
  left = inner.left + (int)(w * f[i - 1]);
  right = inner.left + (int)(w * f[i]);
}

BOOL SECDayBar::DrawContent(CDC* pDC)
{
  CRect inner = GetInnerRect();
  if (inner.IsRectNull())
    return TRUE;
  CFont* old = m_pCal ? pDC->SelectObject(&m_pCal->GetDayBarFont()) : NULL;
  TEXTMETRIC tm;
  pDC->GetTextMetrics(&tm);
  UINT oldAlign = pDC->SetTextAlign(TA_CENTER | TA_BASELINE);
  COLORREF oldBk = pDC->SetBkColor(secData.m_clrBtnFace);
  COLORREF oldText = pDC->SetTextColor(m_clrText);
  for (int i = 1; i <= 7; ++i) {
    int left, right;
    Column(inner, i, left, right);
    CString name;
    int day = (m_nFirstDay + i - 2) % 7 + 1;
    GetLocaleDayName(name, day, (m_dwStyle & 0x20000000) != 0);
    if (name.IsEmpty() || right <= left)
      continue;
    CRect col(left, inner.top, right, inner.bottom + 1);
    pDC->ExtTextOut((left + right) / 2, inner.top + inner.Height() / 2 + tm.tmAscent / 2,
                    ETO_OPAQUE | ETO_CLIPPED, &col, name, name.GetLength(), NULL);
  }
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
  pDC->SetTextAlign(oldAlign);
  if (old)
    pDC->SelectObject(old);
  return TRUE;
}

CSize SECDayBar::MeasureText(CDC* pDC, CFont* pFont)
{
  CFont* font = pFont ? pFont : (m_pCal ? &m_pCal->GetDayBarFont() : NULL);
  if (font == NULL || font->GetSafeHandle() == NULL)
    return CSize(0, 0);
  CString name;
  GetLocaleDayName(name, 4, (m_dwStyle & 0x20000000) != 0);
  CSize s = TextSize(pDC, font, name);
  return CSize(s.cx * 7, s.cy);
}

LOGFONT SECDayBar::FitFont(CDC* pDC, const LOGFONT* pLogFont, const RECT* pRect)
{
  LOGFONT lf = pLogFont ? *pLogFont : m_pCal->GetDayBarLogFont();
  CRect rect = pRect ? CRect(*pRect) : GetInnerRect();
  return Fit(pDC, lf, rect, [this](CDC* dc, CFont* f) { return MeasureText(dc, f); }, 0.9, 1,
             true, false);
}

// Day box ---------------------------------------------------------------------------------

SECDayBox::SECDayBox() : m_date((DATE)0.0), m_bOtherMonth(FALSE), m_bHasDate(FALSE) {}

COleDateTime SECDayBox::SetDate(const COleDateTime& date)
{
  COleDateTime old = m_date;
  m_date = date;
  m_bHasDate = TRUE;
  return old;
}

BOOL SECDayBox::SetOtherMonth(BOOL bOther)
{
  BOOL old = m_bOtherMonth;
  m_bOtherMonth = bOther;
  if (bOther) {
    m_dwBehaviour &= ~0x8000u;
    if (!(m_dwBehaviour & 0x0200))
      m_dwBehaviour &= ~0x4000u;
  } else {
    m_dwBehaviour |= 0x4000 | 0x8000;
  }
  return old;
}

BOOL SECDayBox::DrawContent(CDC* pDC)
{
  CRect inner = GetInnerRect();
  if (inner.IsRectNull())
    return TRUE;
  CString text;
  text.Format("%d", m_date.GetDay());
  COLORREF color = (m_bOtherMonth && (m_dwStyle & 0x100)) ? m_clrOtherMonth : m_clrText;
  CSize size = pDC->GetTextExtent(text);
  int x, y;
  if (m_dwStyle & 0x80) {
    x = inner.left + inner.Width() / 2 - size.cx / 2;
    y = inner.top + inner.Height() / 2 - size.cy / 2;
  } else {
    x = inner.left + inner.Width() / 10;
    y = inner.top + inner.Height() / 10;
  }
  COLORREF oldText = pDC->SetTextColor(color);
  UINT oldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
  CRect clip(inner.left, inner.top, inner.right + 1, inner.bottom + 1);
  pDC->ExtTextOut(x, y, ETO_OPAQUE | ETO_CLIPPED, &clip, text, text.GetLength(), NULL);
  pDC->SetTextAlign(oldAlign);
  pDC->SetTextColor(oldText);
  return TRUE;
}

void SECDayBox::OnClick()
{
  if (m_pCal == NULL)
    return;
  if (m_bOtherMonth && !(m_dwBehaviour & 0x0200) && !m_pCal->SetDate(m_date, TRUE))
    return;
  if (m_dwBehaviour & 0x01000000)
    m_pCal->SelectDate(m_date, TRUE);
  else
    m_pCal->ToggleSelection(m_date);
}

void SECDayBox::OnRightClick()
{
  if (m_pCal == NULL)
    return;
  if (m_bOtherMonth && !(m_dwBehaviour & 0x0200) && !m_pCal->SetDate(m_date, TRUE))
    return;
  m_pCal->ToggleHighlight(m_date);
}

void SECDayBox::OnDoubleClick()
{
  if (!m_bSelected)
    OnClick();
  if ((m_dwBehaviour & 0x0100) && m_pCal != NULL && m_pCal->m_hWnd != NULL)
    m_pCal->PostMessage(SECCAL_ACCEPT);
}

CSize SECDayBox::MeasureText(CDC* pDC, CFont* pFont)
{
  CFont* font = pFont ? pFont : (m_pCal ? &m_pCal->GetDayFont() : NULL);
  if (font == NULL || font->GetSafeHandle() == NULL)
    return CSize(0, 0);
  CSize s = TextSize(pDC, font, "88");
  double a = s.cx * 1.25, b = s.cy * 1.25;
  if (!(m_dwStyle & 0x80)) {
    a *= 1.5;
    b *= 1.5;
  }
  // the inset with both states on
  BOOL sel = m_bSelected, hl = m_bHighlighted;
  m_bSelected = m_bHighlighted = TRUE;
  ComputeBands();
  int c = m_nBands[3];
  m_bSelected = sel;
  m_bHighlighted = hl;
  m_bDirty = TRUE;
  return CSize(std::max(s.cx + c, (LONG)a), std::max((LONG)b, s.cy + c));
}

LOGFONT SECDayBox::FitFont(CDC* pDC, const LOGFONT* pLogFont, const RECT* pRect)
{
  LOGFONT lf = pLogFont ? *pLogFont : m_pCal->GetDayLogFont();
  CRect rect = pRect ? CRect(*pRect) : GetInnerRect();
  return Fit(pDC, lf, rect, [this](CDC* dc, CFont* f) { return MeasureText(dc, f); }, 0.9, 0,
             false, true);
}
