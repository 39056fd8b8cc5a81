// The month calendar window and its drop-down form.
#include "SECCalendar.h"
#include "SECSysData.h"

#include <algorithm>
#include <math.h>

IMPLEMENT_SERIAL(SECCalendar, CWnd, 256)
IMPLEMENT_DYNAMIC(SECPopupCalendar, SECCalendar)

namespace {

// Calendar style bits.
const DWORD kAcceptOnRelease = 0x00000100;
const DWORD kFitFonts = 0x00010000;
const DWORD kCalcSize = 0x00020000;
const DWORD kAcceptOnSelect = 0x00040000;
const DWORD kKeyboard = 0x00200000;
const DWORD kNoSetDate = 0x00400000;
const DWORD kResizable = 0x00800000;
const DWORD kDragSelect = 0x01000000;

// A date of 100-01-01 to 9999-12-31 (before 1899-12-30 the time of day counts away from
// zero, so the day is the whole part towards zero).
bool IsDate(const COleDateTime& date)
{
  if (date.GetStatus() != COleDateTime::valid)
    return false;
  double day = date.m_dt < 0 ? ceil(date.m_dt) : floor(date.m_dt);
  return day >= -657434.0 && day <= 2958465.0;
}

// The date at noon; invalid when it is not a date.
COleDateTime Noon(const COleDateTime& date)
{
  COleDateTime noon;
  if (!IsDate(date)) {
    noon.SetStatus(COleDateTime::invalid);
    return noon;
  }
  noon.SetDateTime(date.GetYear(), date.GetMonth(), date.GetDay(), 12, 0, 0);
  return noon;
}

COleDateTimeSpan Days(long n) { return COleDateTimeSpan(n, 0, 0, 0); }

COleDateTimeSpan FromSeconds(const int* pSeconds)
{
  long s = pSeconds ? *pSeconds : 0;
  long days = s / 86400;
  s -= days * 86400;
  return COleDateTimeSpan(days, (int)(s / 3600), (int)(s / 60 % 60), (int)(s % 60));
}

}  // namespace

SECCalendar::SECCalendar()
    : m_nBorder(2), m_pNotifyWnd(NULL), m_pParent(NULL), m_bCreated(FALSE),
      m_dateDisplayed(1970, 1, 1, 12, 0, 0), m_pSelection(NULL), m_pSelectedBox(NULL),
      m_bTracking(FALSE), m_bRestore(FALSE), m_clrDayText(0), m_clrButtonText(0),
      m_clrDayBarText(0), m_clrButtonFace(0), m_clrTitleText(0), m_clrTitleBk(0),
      m_clrGrayText(0), m_dwOtherDayStyle(0x101), m_dwTitleStyle(0x1000017F),
      m_dwCalStyle(0x0039C000)
{
  m_dateFocus = m_dateDisplayed;
  m_dateSelected = m_dateDisplayed;
  HGDIOBJ sys = ::GetStockObject(SYSTEM_FONT);
  ::GetObjectA(sys, sizeof m_lfTitle, &m_lfTitle);
  m_lfDayBar = m_lfDay = m_lfTitle;
  m_fontTitle.CreateFontIndirect(&m_lfTitle);
  m_fontDayBar.CreateFontIndirect(&m_lfDayBar);
  m_fontDay.CreateFontIndirect(&m_lfDay);
  // these take effect when FitFonts makes the fonts again
  strcpy(m_lfTitle.lfFaceName, "Arial");
  m_lfTitle.lfHeight *= 2;
  m_lfTitle.lfWidth *= 2;
  m_lfTitle.lfQuality = DRAFT_QUALITY;
  m_lfTitle.lfOutPrecision = OUT_CHARACTER_PRECIS;
  m_lfTitle.lfPitchAndFamily = VARIABLE_PITCH;
  for (LOGFONT* lf : {&m_lfDayBar, &m_lfDay}) {
    strcpy(lf->lfFaceName, "Arial");
    lf->lfQuality = DRAFT_QUALITY;
    lf->lfOutPrecision = OUT_TT_ONLY_PRECIS;
  }
}

SECCalendar::~SECCalendar()
{
  ClearHighlights();
  if (m_hWnd != NULL)
    DestroyWindow();
}

void SECCalendar::Serialize(CArchive&) {}

UINT SECCalendar::GetClassStyle() { return CS_DBLCLKS; }
BOOL SECCalendar::IsDateAllowed(int, int, int) { return TRUE; }
void SECCalendar::OnDateRefused() { ::MessageBeep(MB_ICONEXCLAMATION); }

void SECCalendar::LoadColors()
{
  m_clrDayText = ::GetSysColor(COLOR_WINDOWTEXT);
  m_clrButtonText = ::GetSysColor(COLOR_BTNTEXT);
  m_clrDayBarText = ::GetSysColor(COLOR_BTNTEXT);
  m_clrButtonFace = ::GetSysColor(COLOR_BTNFACE);
  m_clrTitleText = ::GetSysColor(COLOR_CAPTIONTEXT);
  m_clrTitleBk = ::GetSysColor(COLOR_ACTIVECAPTION);
  m_clrGrayText = ::GetSysColor(COLOR_GRAYTEXT);
  if (!m_bCreated)
    return;
  // the panels draw with what they were handed: hand the new colours on
  m_title.SetTextColor(m_clrTitleText);
  m_title.SetOtherMonthTextColor(m_clrGrayText);
  m_dayBar.SetTextColor(m_clrDayBarText);
  m_dayBar.SetOtherMonthTextColor(m_clrGrayText);
  for (SECDayBox& box : m_days) {
    box.SetTextColor(m_clrDayText);
    box.SetOtherMonthTextColor(m_clrGrayText);
  }
  if (m_hWnd != NULL)
    Invalidate(FALSE);
}

COLORREF SECCalendar::SetDayTextColor(COLORREF clr)
{
  COLORREF old = m_clrDayText;
  m_clrDayText = clr;
  for (SECDayBox& box : m_days)
    box.SetTextColor(clr);
  return old;
}

DWORD SECCalendar::SetCalendarStyle(DWORD dw)
{
  DWORD old = m_dwCalStyle;
  m_dwCalStyle = dw;
  return old;
}

DWORD SECCalendar::SetOtherMonthDayStyle(DWORD dw)
{
  DWORD old = m_dwOtherDayStyle;
  m_dwOtherDayStyle = dw;
  return old;
}

DWORD SECCalendar::SetTitleStyle(DWORD dw)
{
  DWORD old = m_dwTitleStyle;
  m_dwTitleStyle = dw;
  return old;
}

BOOL SECCalendar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                         CCreateContext*)
{
  secData.UpdateSysColors();
  LoadColors();
  LPCTSTR cls = AfxRegisterWndClass(GetClassStyle(), secData.m_hcurArrow, NULL, NULL);
  if (!CreateEx(0, cls, "SECCalendar", dwStyle | WS_CHILD | WS_CLIPCHILDREN, rect, pParentWnd,
                nID))
    return FALSE;
  CRect measured = rect;
  CalcSize(measured);  // only rewrites the rectangle: the window keeps its size
  return BuildPanels(pParentWnd, nID);
}

BOOL SECCalendar::BuildPanels(CWnd* pParentWnd, UINT nID)
{
  m_pNotifyWnd = pParentWnd;
  m_pParent = pParentWnd;
  CRect empty(0, 0, 0, 0);
  BOOL ok = TRUE;
  for (SECDayBox& box : m_days)
    ok = box.Create(empty, this, WS_CHILD | WS_VISIBLE, nID, FALSE, FALSE, m_dwOtherDayStyle,
                    m_dwCalStyle, m_nBorder) && ok;
  DWORD reduced = m_dwCalStyle & ~(0x4000u | 0x8000u);
  ok = m_dayBar.Create(empty, this, WS_CHILD | WS_VISIBLE, nID, FALSE, FALSE, m_dwTitleStyle,
                       reduced, m_nBorder) && ok;
  ok = m_title.Create(empty, this, WS_CHILD | WS_VISIBLE, nID, FALSE, FALSE,
                      m_dwTitleStyle | 0x80, reduced, m_nBorder) && ok;
  if (m_dateDisplayed.m_dt == 0.0)
    m_dateDisplayed = Noon(COleDateTime::GetCurrentTime());
  m_bCreated = TRUE;  // the panels exist: SetDate may fill them
  COleDateTime selected = m_dateSelected;
  BOOL hadSelection = m_pSelection != NULL;
  SetDate(m_dateDisplayed, FALSE);
  if (hadSelection)
    SelectDate(selected, TRUE);  // a selection made before the window: its box marked now
  if (ok) {
    LayoutPanels();
    CClientDC dc(this);
    FitFonts(&dc);
    LoadColors();
  }
  UpdateWindow();
  SetFocus();
  return ok;
}

void SECCalendar::LayoutPanels()
{
  if (m_hWnd == NULL)
    return;
  CRect c;
  GetClientRect(&c);
  int H = c.Height(), W = c.Width();
  int titleBottom = c.top + (int)((H - 1) * 0.175);
  int barBottom = c.top + (int)((H - 1) * 0.25);
  m_title.SetRect(CRect(c.left, c.top, c.right - 1, titleBottom));
  m_dayBar.SetRect(CRect(c.left, titleBottom, c.right - 1, barBottom));
  static const double rows[7] = {0.25, 0.375, 0.5, 0.625, 0.75, 0.875, 1.0};
  static const double cols[8] = {0, 0.143, 0.286, 0.429, 0.572, 0.715, 0.858, 1.0};
  for (int i = 0; i < 42; ++i) {
    int col = i % 7, row = i / 7;
    m_days[i].SetRect(CRect(c.left + (int)(W * cols[col]), c.top + (int)(H * rows[row]),
                            c.left + (int)(W * cols[col + 1]) - 1,
                            c.top + (int)(H * rows[row + 1]) - 1));
  }
}

void SECCalendar::CalcSize(CRect& rect, CDC* pDC)
{
  if (!(m_dwCalStyle & kCalcSize))
    return;
  bool own = pDC == NULL;
  CDC* dc = pDC;
  CClientDC* window = NULL;
  if (own) {
    if (m_hWnd == NULL) {
      dc = new CClientDC(NULL);
    } else {
      window = new CClientDC(this);
      dc = window;
    }
  }
  m_days[0].SetStyle(m_dwOtherDayStyle);
  m_days[0].SetBehaviourFlags(m_dwCalStyle);
  m_days[0].SetBevelWidth(m_nBorder);
  m_title.SetStyle(m_dwTitleStyle | 0x80);
  m_dayBar.SetStyle(m_dwTitleStyle);
  if (m_title.GetBehaviourFlags() == 0)
    m_title.SetBehaviourFlags(m_dwCalStyle & ~(0x4000u | 0x8000u));
  CSize box = m_days[0].MeasureText(dc, &m_fontDay);
  CSize bar = m_dayBar.MeasureText(dc, &m_fontDayBar);
  CSize title = m_title.MeasureText(dc, &m_fontTitle);
  rect.right = rect.left + std::max({title.cx, bar.cx, box.cx * 7});
  rect.bottom = rect.top + title.cy + bar.cy + box.cy * 6;
  if (own)
    delete dc;
}

void SECCalendar::FitFonts(CDC* pDC)
{
  if (!(m_dwCalStyle & kFitFonts))
    return;
  LOGFONT sys;
  ::GetObjectA(::GetStockObject(SYSTEM_FONT), sizeof sys, &sys);
  struct Job { LOGFONT* lf; CFont* font; int which; } jobs[] = {
      {&m_lfDay, &m_fontDay, 0}, {&m_lfTitle, &m_fontTitle, 1}, {&m_lfDayBar, &m_fontDayBar, 2}};
  for (Job& job : jobs) {
    job.lf->lfHeight = sys.lfHeight;
    job.lf->lfWidth = sys.lfWidth;
    LOGFONT fitted = job.which == 0 ? m_days[0].FitFont(pDC, job.lf)
                     : job.which == 1 ? m_title.FitFont(pDC, job.lf)
                                      : m_dayBar.FitFont(pDC, job.lf);
    *job.lf = fitted;
    job.font->DeleteObject();
    job.font->CreateFontIndirect(job.lf);
  }
}

CRect SECCalendar::MoveCalendar(const RECT& rect)
{
  if (m_hWnd == NULL)
    return CRect(0, 0, 0, 0);
  WINDOWPLACEMENT wp = {sizeof wp};
  GetWindowPlacement(&wp);
  CRect old = wp.rcNormalPosition;
  wp.rcNormalPosition = rect;
  SetWindowPlacement(&wp);
  LayoutPanels();
  CClientDC dc(this);
  FitFonts(&dc);
  return old;
}

// Dates and boxes ---------------------------------------------------------------------------

BOOL SECCalendar::SetDate(DATE date, BOOL bRedraw) { return SetDate(COleDateTime(date), bRedraw); }

BOOL SECCalendar::SetDate(const COleDateTime& date, BOOL bRedraw)
{
  COleDateTime noon = Noon(date);
  if ((m_hWnd != NULL && (m_dwCalStyle & kNoSetDate)) || !IsDate(noon) ||
      !IsDateAllowed(noon.GetYear(), noon.GetMonth(), noon.GetDay())) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
  }
  m_dateDisplayed = noon;
  m_title.SetTitleDate(noon);
  FillBoxes();
  if (bRedraw && m_hWnd != NULL) {
    Invalidate(FALSE);
    UpdateWindow();
  }
  return TRUE;
}

void SECCalendar::FillBoxes()
{
  m_dateFocus = m_dateDisplayed;
  // back to the 1st of the month, then on back to the first day of the week; the walk
  // stops at the first representable day (a grid there starts on it)
  COleDateTime day = m_dateDisplayed;
  while (day.GetDay() != 1 && IsDate(day - Days(1)))
    day -= Days(1);
  int first = m_dayBar.GetFirstDayOfWeek();
  while (day.GetDayOfWeek() != first && IsDate(day - Days(1)))
    day -= Days(1);
  bool inMonth = false;  // flips at every 1st of a month met on the way
  for (int i = 0; i < 42; ++i) {
    if (day.GetDay() == 1)
      inMonth = !inMonth;
    SECDayBox& box = m_days[i];
    box.SetDate(day);
    if (inMonth) {
      box.SetStyle(m_dwTitleStyle);
      box.SetOtherMonth(FALSE);
    } else {
      box.SetStyle(m_dwOtherDayStyle);
      box.SetOtherMonth(TRUE);
    }
    box.SetHighlighted(IsHighlighted(day), FALSE);
    bool selected = m_pSelection != NULL && day == m_dateSelected;
    box.SetSelected(selected, FALSE);
    if (selected)
      m_dateFocus = m_dateSelected;
    COleDateTime next = day + Days(1);
    if (!IsDate(next))
      break;  // the last representable day: no boxes after it
    day = next;
  }
}

BOOL SECCalendar::SelectDate(DATE date, BOOL bSelect) { return SelectDate(COleDateTime(date), bSelect); }

BOOL SECCalendar::SelectDate(COleDateTime date, BOOL bSelect)
{
  date = Noon(date);
  if (!IsDate(date))
    return FALSE;
  if (bSelect) {
    m_dateSelected = date;
    m_dateFocus = date;
    m_pSelection = &m_dateSelected;
  } else {
    m_pSelection = NULL;
  }
  for (SECDayBox& box : m_days) {
    if (box.GetDate() == date) {
      box.SetSelected(bSelect, TRUE);
      m_pSelectedBox = &box;
      if (m_hWnd != NULL && m_pNotifyWnd != NULL) {
        m_pNotifyWnd->PostMessage(SECCAL_SELECTED, bSelect, (LPARAM)&box);
        if (m_dwCalStyle & kAcceptOnSelect)
          m_pNotifyWnd->PostMessage(SECCAL_ACCEPT, bSelect, (LPARAM)&box);
      }
    } else if (box.GetSelected()) {
      box.SetSelected(FALSE, TRUE);
    }
  }
  if (m_hWnd != NULL)
    SetFocus();
  return TRUE;
}

BOOL SECCalendar::ToggleSelection(DATE date) { return ToggleSelection(COleDateTime(date)); }

BOOL SECCalendar::ToggleSelection(const COleDateTime& date)
{
  COleDateTime noon = Noon(date);
  for (SECDayBox& box : m_days) {
    if (box.GetDate() == noon) {
      SelectDate(noon, !box.GetSelected());
      if (m_dwCalStyle & kAcceptOnSelect)
        Accept();
      return TRUE;
    }
  }
  return FALSE;
}

BOOL SECCalendar::IsHighlighted(const COleDateTime& date) const
{
  POSITION pos = m_highlights.GetHeadPosition();
  while (pos != NULL) {
    const COleDateTime* p = (const COleDateTime*)m_highlights.GetNext(pos);
    if (*p == date)
      return TRUE;
    if (*p > date)
      break;
  }
  return FALSE;
}

BOOL SECCalendar::HighlightDate(DATE date, BOOL bOn) { return HighlightDate(COleDateTime(date), bOn); }

BOOL SECCalendar::HighlightDate(const COleDateTime& date, BOOL bOn)
{
  COleDateTime noon = Noon(date);
  if (!IsDate(noon))
    return FALSE;
  for (SECDayBox& box : m_days) {
    if (box.GetDate() == noon) {
      box.SetHighlighted(bOn, TRUE);
      if (m_pNotifyWnd != NULL && m_hWnd != NULL)
        m_pNotifyWnd->PostMessage(SECCAL_HIGHLIGHTED, bOn, (LPARAM)&box);
    }
  }
  POSITION pos = m_highlights.GetHeadPosition();
  if (bOn) {
    while (pos != NULL) {
      POSITION at = pos;
      COleDateTime* p = (COleDateTime*)m_highlights.GetNext(pos);
      if (*p == noon)
        return TRUE;  // kept once
      if (*p > noon) {
        m_highlights.InsertBefore(at, (CObject*)(void*)new COleDateTime(noon));
        return TRUE;
      }
    }
    m_highlights.AddTail((CObject*)(void*)new COleDateTime(noon));
  } else {
    while (pos != NULL) {
      POSITION at = pos;
      COleDateTime* p = (COleDateTime*)m_highlights.GetNext(pos);
      if (*p == noon) {
        delete p;
        m_highlights.RemoveAt(at);
      }
    }
  }
  return TRUE;
}

BOOL SECCalendar::ToggleHighlight(DATE date) { return ToggleHighlight(COleDateTime(date)); }

BOOL SECCalendar::ToggleHighlight(const COleDateTime& date)
{
  COleDateTime noon = Noon(date);
  for (SECDayBox& box : m_days)
    if (box.GetDate() == noon)
      return HighlightDate(noon, !box.GetHighlighted());
  return FALSE;
}

UINT SECCalendar::GetHighlightedDates(COleDateTime* pOut, UINT nMax) const
{
  UINT n = 0;
  POSITION pos = m_highlights.GetHeadPosition();
  while (pos != NULL && n < nMax)
    pOut[n++] = *(const COleDateTime*)m_highlights.GetNext(pos);
  return n;
}

void SECCalendar::ClearHighlights()
{
  while (!m_highlights.IsEmpty())
    delete (COleDateTime*)m_highlights.RemoveHead();
}

void SECCalendar::SetFirstDayOfWeek(int nDay, BOOL bRedraw)
{
  m_dayBar.SetFirstDayOfWeek(nDay);
  if (m_hWnd != NULL) {
    FillBoxes();
    if (bRedraw)
      Invalidate(FALSE);
  }
}

// Moves ---------------------------------------------------------------------------------------

// The rough check of a move, then whether the target is a date at all: a move past
// 9999-12-31 or before 100-01-01 is refused rather than stored.
BOOL SECCalendar::CheckMove(const COleDateTime& from, const COleDateTimeSpan& span)
{
  long days = (long)span.m_span;
  long years = days / 365;
  long rest = days - years * 365;
  long months = rest / 28;
  rest -= months * 28;
  COleDateTime target = from + span;
  if (!IsDateAllowed(from.GetYear() + years, from.GetMonth() + months,
                     from.GetDay() + rest) || !IsDate(target)) {
    OnDateRefused();
    return FALSE;
  }
  return TRUE;
}

BOOL SECCalendar::Scroll(const int* pSeconds) { return Scroll(FromSeconds(pSeconds)); }

BOOL SECCalendar::Scroll(const COleDateTimeSpan& span)
{
  if (!CheckMove(m_dateDisplayed, span))
    return FALSE;
  return SetDate(m_dateDisplayed + span, TRUE);
}

BOOL SECCalendar::MoveSelection(const int* pSeconds) { return MoveSelection(FromSeconds(pSeconds)); }

BOOL SECCalendar::MoveSelection(const COleDateTimeSpan& span)
{
  if (m_pSelectedBox == NULL) {
    ::MessageBeep(MB_ICONEXCLAMATION);
    return FALSE;
  }
  COleDateTime from = m_pSelectedBox->GetDate();
  if (!CheckMove(from, span))
    return FALSE;
  COleDateTime target = from + span;
  if (target.GetMonth() != m_dateSelected.GetMonth() ||
      target.GetYear() != m_dateSelected.GetYear())
    SetDate(target, TRUE);
  SelectDate(target, TRUE);
  return TRUE;
}

BOOL SECCalendar::NextDay(BOOL b) { return b ? MoveSelection(Days(1)) : Scroll(Days(1)); }
BOOL SECCalendar::PrevDay(BOOL b) { return b ? MoveSelection(Days(-1)) : Scroll(Days(-1)); }

BOOL SECCalendar::NextWeek(BOOL b)
{
  if (m_hWnd) SetFocus();
  return b ? MoveSelection(Days(7)) : Scroll(Days(7));
}

BOOL SECCalendar::PrevWeek(BOOL b)
{
  if (m_hWnd) SetFocus();
  return b ? MoveSelection(Days(-7)) : Scroll(Days(-7));
}

BOOL SECCalendar::Reselect()
{
  if (m_pSelectedBox != NULL)
    SelectDate(m_pSelectedBox->GetDate(), TRUE);
  return TRUE;
}

BOOL SECCalendar::NextMonth(BOOL b)
{
  COleDateTime from = (b && m_pSelectedBox) ? m_pSelectedBox->GetDate() : m_dateDisplayed;
  COleDateTime first(from.GetYear(), from.GetMonth(), 1, 12, 0, 0);
  // the 1st of the next month: 12 December 9999 has none
  if (from.GetYear() == 9999 && from.GetMonth() == 12) {
    OnDateRefused();
    return FALSE;
  }
  COleDateTime next = first + Days(27);
  while (next.GetDay() != 1)
    next += Days(1);
  if (m_hWnd) SetFocus();
  BOOL ok = b ? MoveSelection(next - from) : Scroll(next - from);
  if (ok)
    Reselect();
  return ok;
}

BOOL SECCalendar::PrevMonth(BOOL b)
{
  COleDateTime from = (b && m_pSelectedBox) ? m_pSelectedBox->GetDate() : m_dateDisplayed;
  if (from.GetYear() == 100 && from.GetMonth() == 1) {
    OnDateRefused();
    return FALSE;
  }
  COleDateTime first(from.GetYear(), from.GetMonth(), 1, 12, 0, 0);
  COleDateTime prev = first - Days(27);
  while (prev.GetDay() != 1)
    prev -= Days(1);
  if (m_hWnd) SetFocus();
  BOOL ok = b ? MoveSelection(prev - from) : Scroll(prev - from);
  if (ok)
    Reselect();
  return ok;
}

static BOOL MoveYear(SECCalendar* cal, BOOL b, int delta, SECDayBox* box,
                     const COleDateTime& displayed)
{
  COleDateTime from = (b && box) ? box->GetDate() : displayed;
  int year = from.GetYear() + delta;
  if (year < 100 || year > 9999 || !cal->IsDateAllowed(year, 12, 31)) {
    cal->OnDateRefused();
    return FALSE;
  }
  COleDateTime target;
  if (from.GetMonth() == 2 && from.GetDay() == 29)
    target.SetDateTime(year, 2, 28, 0, 0, 0);
  else
    target.SetDateTime(year, from.GetMonth(), from.GetDay(), 12, 0, 0);
  if (cal->m_hWnd) cal->SetFocus();
  return b ? cal->MoveSelection(target - from) : cal->Scroll(target - from);
}

BOOL SECCalendar::NextYear(BOOL b)
{
  BOOL ok = MoveYear(this, b, 1, m_pSelectedBox, m_dateDisplayed);
  if (ok)
    Reselect();
  return ok;
}

BOOL SECCalendar::PrevYear(BOOL b)
{
  BOOL ok = MoveYear(this, b, -1, m_pSelectedBox, m_dateDisplayed);
  if (ok)
    Reselect();
  return ok;
}

// Input -----------------------------------------------------------------------------------------

void SECCalendar::Accept()
{
  if (m_pNotifyWnd != NULL)
    m_pNotifyWnd->PostMessage(SECCAL_ACCEPT, 0, 0);
  if (m_hWnd != NULL)
    ShowWindow(SW_HIDE);
}

void SECCalendar::Cancel()
{
  if (m_pNotifyWnd != NULL)
    m_pNotifyWnd->PostMessage(SECCAL_CANCEL, 0, 0);
  if (m_hWnd != NULL)
    ShowWindow(SW_HIDE);
}

int SECCalendar::BoxAt(CPoint pt) const
{
  for (int i = 0; i < 42; ++i)
    if (m_days[i].HitTest(pt))
      return i;
  return -1;
}

void SECCalendar::OnKeyDown(UINT nChar)
{
  bool ctrl = ::GetKeyState(VK_CONTROL) < 0;
  switch (nChar) {
    case VK_ESCAPE: case VK_CANCEL: Cancel(); break;
    case VK_RETURN:
      if (m_pSelectedBox != NULL) Accept(); else Cancel();
      break;
    case VK_SPACE: ToggleSelection(m_dateFocus); break;
    case VK_HOME:
      SelectDate(COleDateTime(m_dateDisplayed.GetYear(), m_dateDisplayed.GetMonth(), 1, 12, 0,
                              0), TRUE);
      break;
    case VK_END: {
      COleDateTime last(m_dateDisplayed.GetYear(), m_dateDisplayed.GetMonth(), 28, 12, 0, 0);
      COleDateTime probe = last + Days(4);
      while (!IsDate(probe) || probe.GetMonth() != m_dateDisplayed.GetMonth())
        probe -= Days(1);
      SelectDate(probe, TRUE);
      break;
    }
    case VK_LEFT: case VK_NUMPAD4: ctrl ? PrevMonth(TRUE) : PrevDay(TRUE); break;
    case VK_RIGHT: case VK_NUMPAD6: ctrl ? NextMonth(TRUE) : NextDay(TRUE); break;
    case VK_UP: case VK_NUMPAD8: ctrl ? PrevYear(TRUE) : PrevWeek(TRUE); break;
    case VK_DOWN: case VK_NUMPAD2: ctrl ? NextYear(TRUE) : NextWeek(TRUE); break;
    case VK_PRIOR: ctrl ? PrevYear(TRUE) : PrevMonth(TRUE); break;
    case VK_NEXT: ctrl ? NextYear(TRUE) : NextMonth(TRUE); break;
    default: break;
  }
}

void SECCalendar::OnPaint()
{
  PAINTSTRUCT ps;
  HDC hdc = ::BeginPaint(m_hWnd, &ps);
  PaintPanels(CDC::FromHandle(hdc));
  ::EndPaint(m_hWnd, &ps);
}

void SECCalendar::PaintPanels(CDC* pDC)
{
  CFont* old = pDC->SelectObject(&m_fontTitle);
  CRect r = m_title.GetRect();
  if (pDC->RectVisible(&r))
    m_title.Paint(pDC);
  pDC->SelectObject(&m_fontDayBar);
  r = m_dayBar.GetRect();
  if (pDC->RectVisible(&r))
    m_dayBar.Paint(pDC);
  pDC->SelectObject(&m_fontDay);
  for (SECDayBox& box : m_days) {
    CRect br = box.GetRect();
    br.right += 1;
    br.bottom += 1;
    if (pDC->RectVisible(&br))
      box.Paint(pDC);
  }
  pDC->SelectObject(old);
}

LRESULT SECCalendar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_PRINTCLIENT:
      PaintPanels(CDC::FromHandle((HDC)wParam));
      return 0;
    case WM_KEYDOWN:
      if (m_dwCalStyle & kKeyboard)
        OnKeyDown((UINT)wParam);
      break;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTALLKEYS;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case SECCAL_CMD_NEXTMONTH: NextMonth(FALSE); return 0;
        case SECCAL_CMD_PREVYEAR: PrevYear(FALSE); return 0;
        case SECCAL_CMD_NEXTYEAR: NextYear(FALSE); return 0;
        case SECCAL_CMD_PREVMONTH: PrevMonth(FALSE); return 0;
        default: break;
      }
      break;
    case WM_LBUTTONDOWN: {
      LRESULT r = CWnd::WindowProc(message, wParam, lParam);
      int i = BoxAt(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
      if (i < 0)
        return r;
      m_bRestore = FALSE;
      if (m_pSelection != NULL && m_dateSelected.GetMonth() == m_dateDisplayed.GetMonth() &&
          m_dateSelected.GetYear() == m_dateDisplayed.GetYear()) {
        m_dateRestore = m_dateSelected;
        m_bRestore = TRUE;
      }
      m_days[i].OnClick();
      i = BoxAt(CPoint((short)LOWORD(lParam), (short)HIWORD(lParam)));
      if (i >= 0 && m_days[i].GetSelected() && (m_dwCalStyle & kDragSelect)) {
        SetCapture();
        m_bTracking = TRUE;
      }
      return r;
    }
    case WM_MOUSEMOVE:
      if (m_bTracking) {
        CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
        CRect client;
        GetClientRect(&client);
        int i = BoxAt(pt);
        if (i >= 0) {
          if (!m_days[i].GetSelected())
            m_days[i].OnClick();
        } else if (!client.PtInRect(pt) && m_pSelectedBox != NULL) {
          SelectDate(m_pSelectedBox->GetDate(), FALSE);
        }
        return 0;
      }
      break;
    case WM_LBUTTONUP:
      if (m_bTracking) {
        m_bTracking = FALSE;
        ::ReleaseCapture();
        CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
        CRect client;
        GetClientRect(&client);
        int i = BoxAt(pt);
        if (i >= 0) {
          m_days[i].OnClick();
          if (m_dwCalStyle & kAcceptOnRelease)
            Accept();
        } else if (client.PtInRect(pt)) {
          if (m_dwCalStyle & kAcceptOnRelease)
            Accept();
        } else if (m_bRestore) {
          SelectDate(m_dateRestore, TRUE);
        }
        return 0;
      }
      break;
    case WM_CANCELMODE: {
      LRESULT r = CWnd::WindowProc(message, wParam, lParam);
      if (m_bTracking) {
        m_bTracking = FALSE;
        if (::GetCapture() == m_hWnd)
          ::ReleaseCapture();
        if (m_bRestore)
          SelectDate(m_dateRestore, TRUE);
      }
      return r;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      LRESULT r = CWnd::WindowProc(message, wParam, lParam);
      CPoint pt((short)LOWORD(lParam), (short)HIWORD(lParam));
      for (SECDayBox& box : m_days)
        if (box.HitTest(pt)) {
          if (message == WM_RBUTTONDOWN)
            box.OnRightClick();
          else
            box.OnDoubleClick();
        }
      return r;
    }
    case WM_NCHITTEST: {
      LRESULT r = CWnd::WindowProc(message, wParam, lParam);
      if (!(m_dwCalStyle & kResizable) && r >= HTLEFT && r <= HTBORDER)
        r = HTCLIENT;
      return r;
    }
    case WM_SYSCOLORCHANGE:
      secData.UpdateSysColors();
      LoadColors();
      break;
    case SECCAL_ACCEPT:
    case SECCAL_CANCEL:
      if (m_pNotifyWnd != NULL)
        m_pNotifyWnd->PostMessage(message, wParam, lParam);
      ShowWindow(SW_HIDE);
      return 0;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}

// Pop-up ----------------------------------------------------------------------------------------

SECPopupCalendar::SECPopupCalendar() : m_bMode1(TRUE)
{
  m_dwCalStyle = 0x0039C100;
  m_dwTitleStyle = 0x83;
  m_dwOtherDayStyle = 0x181;
}

SECPopupCalendar::~SECPopupCalendar()
{
  if (m_hWnd != NULL)
    DestroyWindow();
}

UINT SECPopupCalendar::GetClassStyle() { return CS_DBLCLKS | CS_SAVEBITS; }

int SECPopupCalendar::SetMode(int nMode)
{
  int old = GetMode();
  m_bMode1 = nMode == 1;
  return old;
}

BOOL SECPopupCalendar::Create(DWORD dwStyle, const RECT& ownerRect, CWnd* pOwner, UINT nID)
{
  m_dwCalStyle |= kCalcSize;
  CRect rect(0, 0, 0, 0);
  {
    CClientDC dc(pOwner);
    CalcSize(rect, &dc);
  }
  rect.OffsetRect(-rect.left, -rect.top);
  ::AdjustWindowRectEx(&rect, dwStyle | WS_POPUP, FALSE, 0);
  int w = rect.Width(), h = rect.Height();
  CRect work;
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  int x, y;
  if (dwStyle & 0x0001) {
    x = ownerRect.left + w >= work.right ? ownerRect.right - w : ownerRect.left;
  } else {
    x = ownerRect.right + w >= work.right ? ownerRect.left - w : ownerRect.right;
  }
  y = ownerRect.bottom + h >= work.bottom ? ownerRect.top - h : ownerRect.bottom;
  CRect placed(x, y, x + w, y + h);
  // the calendar is a pop-up: no child style, the owner is its parent and notify window
  LPCTSTR cls = AfxRegisterWndClass(GetClassStyle(), secData.m_hcurArrow, NULL, NULL);
  secData.UpdateSysColors();
  LoadColors();
  if (!CreateEx(0, cls, "SECCalendar", (dwStyle | WS_POPUP) & ~(DWORD)WS_CHILD,
                placed.left, placed.top, w, h, pOwner ? pOwner->m_hWnd : NULL, NULL))
    return FALSE;
  return BuildPanels(pOwner, nID);
}

LRESULT SECPopupCalendar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_ACTIVATE) {
    LRESULT r = SECCalendar::WindowProc(message, wParam, lParam);
    if (LOWORD(wParam) == WA_INACTIVE && IsWindowVisible()) {
      if (m_bMode1 && m_pSelectedBox != NULL)
        Accept();
      else
        Cancel();
    }
    return r;
  }
  return SECCalendar::WindowProc(message, wParam, lParam);
}
