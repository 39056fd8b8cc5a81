// The date/time control: its window, value, range and null state, layout, painting and
// input routing, the format's gadgets and the rules by which each field changes the value.
#include "SECDateTimeCtrl.h"
#include "SECCalendar.h"
#include "SECLocaleNames.h"
#include "SECResource.h"
#include "SECSysData.h"

#include <string.h>

#include <algorithm>
#include <math.h>

using std::max;
using std::min;

IMPLEMENT_DYNAMIC(SECDateTimeCtrl, CWnd)

namespace {

const DWORD kAllFields = 0x7FF;

int DaysInMonth(int year, int month)
{
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12)
    return 31;
  if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
    return 29;
  return days[month - 1];
}

int Step(int nCode, int nValue)
{
  // Up/down keys step by one, the spin buttons by their value capped at 2.
  return (nCode == SECDT_GN_SPININC || nCode == SECDT_GN_SPINDEC) ? min(nValue, 2) : 1;
}

bool IsUp(int nCode) { return nCode == SECDT_GN_INC || nCode == SECDT_GN_SPININC; }
bool IsDown(int nCode) { return nCode == SECDT_GN_DEC || nCode == SECDT_GN_SPINDEC; }
bool IsStep(int nCode) { return IsUp(nCode) || IsDown(nCode); }
bool IsTyped(int nCode) { return nCode == SECDT_GN_VALIDATE || nCode == SECDT_GN_MODIFY; }

int SystemYear()
{
  SYSTEMTIME st;
  ::GetSystemTime(&st);
  return st.wYear;
}

CString LocaleInfo(LCTYPE type)
{
  char buffer[256] = {};
  if (::GetLocaleInfoA(::GetUserDefaultLCID(), type, buffer, sizeof buffer) == 0)
    return CString();
  return buffer;
}

}  // namespace

SECDateTimeCtrl::SECDateTimeCtrl()
    : m_nModified(0), m_dwNoEdit(0), m_bAutoAdvance(FALSE), m_bTabBetween(FALSE),
      m_bParentColors(TRUE), m_datetime(COleDateTime::GetCurrentTime()),
      m_minDate((DATE)-657434.0), m_maxDate((DATE)2958465.0), m_nRangeType(NoRange),
      m_nFormatType(ShortDate), m_hFont(NULL), m_nCurGadget(0), m_nXOrigin(0),
      m_nFixedWidth(0), m_nFixed(0), m_pCapture(NULL), m_pPopupCalendar(NULL),
      m_cNullChar('_'), m_bkColor(0), m_textColor(0), m_nBkDisabled(COLOR_BTNFACE),
      m_nTextDisabled(COLOR_GRAYTEXT), m_nBmpID(IDB_SEC_DTDROPDOWN),
      m_pListClass(RUNTIME_CLASS(SECDTListGadget)),
      m_pNumericClass(RUNTIME_CLASS(SECDTNumericGadget)),
      m_pStaticClass(RUNTIME_CLASS(SECDTStaticGadget)),
      m_pButtonClass(RUNTIME_CLASS(SECDTButtonGadget)),
      m_pSpinClass(RUNTIME_CLASS(SECDTSpinGadget))
{
  memset(&m_entry, 0, sizeof m_entry);
  m_entry.year = 1899;
  m_entry.month = 12;
  m_entry.day = 1;
  m_entry.dayOfWeek = 1;
}

SECDateTimeCtrl::~SECDateTimeCtrl()
{
  if (m_pCapture != NULL && ::GetCapture() == m_hWnd && m_hWnd != NULL)
    ::ReleaseCapture();
  m_pCapture = NULL;
  DeleteCalendar();
  DeleteGadgets(0);
}

// Value parts ------------------------------------------------------------------------------

BOOL SECDateTimeCtrl::Split(const COleDateTime& value, Parts& parts)
{
  if (value.GetStatus() != COleDateTime::valid)
    return FALSE;
  // before 1899-12-30 the time of day counts away from zero: the day is the whole part
  double day = value.m_dt < 0 ? ceil(value.m_dt) : floor(value.m_dt);
  if (day < -657434.0 || day > 2958465.0)
    return FALSE;
  SYSTEMTIME st;
  if (!value.GetAsSystemTime(st))
    return FALSE;
  parts.year = st.wYear;
  parts.month = st.wMonth;
  parts.day = st.wDay;
  parts.hour = st.wHour;
  parts.minute = st.wMinute;
  parts.second = st.wSecond;
  parts.dayOfWeek = st.wDayOfWeek + 1;
  return TRUE;
}

BOOL SECDateTimeCtrl::Build(const Parts& parts, COleDateTime& value)
{
  if (parts.year < 100 || parts.year > 9999)
    return FALSE;
  COleDateTime made;
  if (made.SetDateTime(parts.year, parts.month, parts.day, parts.hour, parts.minute,
                       parts.second) != 0 || made.GetStatus() != COleDateTime::valid)
    return FALSE;
  value = made;
  return TRUE;
}

// Creation ----------------------------------------------------------------------------------

BOOL SECDateTimeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                             CCreateContext* pContext)
{
  return Create(0, dwStyle, rect, pParentWnd, nID, pContext);
}

BOOL SECDateTimeCtrl::Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect,
                             CWnd* pParentWnd, UINT nID, CCreateContext*)
{
  DeleteGadgets(0);
  m_nFixed = 0;
  secData.UpdateSysColors();
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, secData.m_hcurArrow, NULL, NULL);
  if (!CreateEx(dwExStyle, cls, NULL, dwStyle | WS_CHILD, rect, pParentWnd, nID))
    return FALSE;
  HFONT font = pParentWnd ? (HFONT)pParentWnd->SendMessage(WM_GETFONT) : NULL;
  m_hFont = font ? font : (HFONT)::GetStockObject(SYSTEM_FONT);

  if (dwStyle & SEC_DTS_CALENDAR) {
    SECDTButtonGadget* pButton = (SECDTButtonGadget*)m_pButtonClass->CreateObject();
    pButton->SetStyle(pButton->GetStyle() | SECDTGadget::IsFixed);
    pButton->Initialise(this, m_nBmpID, SECDT_DROPDOWN);  // kept without a picture if missing
    m_gadgets.Add(pButton);
  }
  if (dwStyle & SEC_DTS_UPDOWN) {
    SECDTSpinGadget* pSpin = (SECDTSpinGadget*)m_pSpinClass->CreateObject();
    pSpin->SetStyle(pSpin->GetStyle() | SECDTGadget::IsFixed);
    pSpin->Initialise(this, SECDT_SPIN);
    m_gadgets.Add(pSpin);
  }
  m_nFixed = (int)m_gadgets.GetSize();
  m_nCurGadget = m_nFixed;
  BuildGadgets();
  LayoutGadgets();
  return TRUE;
}

BOOL SECDateTimeCtrl::AttachDateTime(UINT nID, CWnd* pParentWnd, DWORD dwCtrlStyle,
                                     DWORD dwWinStyle, DWORD dwExStyle)
{
  if (pParentWnd == NULL || pParentWnd->GetSafeHwnd() == NULL)
    return FALSE;
  HWND hItem = ::GetDlgItem(pParentWnd->m_hWnd, nID);
  if (hItem == NULL)
    return FALSE;  // nothing to take the place of: no window is left behind
  CRect rect(0, 0, 0, 0);
  if (!Create(dwExStyle, dwCtrlStyle | dwWinStyle, rect, pParentWnd, nID))
    return FALSE;
  CRect itemRect;
  ::GetWindowRect(hItem, &itemRect);
  pParentWnd->ScreenToClient(&itemRect);
  ::SetWindowPos(m_hWnd, hItem, itemRect.left, itemRect.top, itemRect.Width(),
                 itemRect.Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOREDRAW);
  ::DestroyWindow(hItem);
  return TRUE;
}

void SECDateTimeCtrl::DeleteGadgets(INT_PTR nFrom)
{
  for (INT_PTR i = m_gadgets.GetSize() - 1; i >= nFrom; --i) {
    SECDTGadget* pGadget = m_gadgets.Get(i);
    if (pGadget == m_pCapture)
      m_pCapture = NULL;
    delete pGadget;
    m_gadgets.RemoveAt(i);
  }
}

void SECDateTimeCtrl::DeleteCalendar()
{
  SECPopupCalendar* pCalendar = m_pPopupCalendar;
  m_pPopupCalendar = NULL;
  delete pCalendar;
}

// Format -------------------------------------------------------------------------------------

void SECDateTimeCtrl::SetFormat(int nType)
{
  m_nFormatType = nType;
  m_strCustomFormat.Empty();
  RebuildGadgets();
}

void SECDateTimeCtrl::SetCustomFormat(LPCTSTR pszFormat)
{
  m_nFormatType = Custom;
  m_strCustomFormat = pszFormat ? pszFormat : "";
  RebuildGadgets();
}

void SECDateTimeCtrl::GetFormat(CString& format) const
{
  switch (m_nFormatType) {
    case Custom: format = m_strCustomFormat; break;
    case Time: format = LocaleInfo(LOCALE_STIMEFORMAT); break;
    case ShortDate: format = LocaleInfo(LOCALE_SSHORTDATE); break;
    case LongDate: format = LocaleInfo(LOCALE_SLONGDATE); break;
    default: format.Empty(); break;
  }
}

void SECDateTimeCtrl::SetNoEditFields(DWORD dwMask)
{
  m_dwNoEdit = dwMask;
  if (m_hWnd != NULL)
    RebuildGadgets();
}

void SECDateTimeCtrl::SetFastEntry(BOOL bAutoAdvance, BOOL bTabBetween)
{
  m_bAutoAdvance = bAutoAdvance;
  m_bTabBetween = bTabBetween;
}

void SECDateTimeCtrl::AdjustMonthName(CString&) {}
void SECDateTimeCtrl::AdjustDayName(CString&) {}

void SECDateTimeCtrl::BuildGadgets()
{
  CString format;
  GetFormat(format);
  std::vector<SECDTFormatItem> items;
  SECParseDateTimeFormat(format, items);
  for (const SECDTFormatItem& item : items) {
    SECDTGadget* pGadget = NULL;
    if (item.kind == SECDTFormatItem::literal) {
      SECDTStaticGadget* p = (SECDTStaticGadget*)m_pStaticClass->CreateObject();
      p->Initialise(this, item.text, -1);
      pGadget = p;
    } else if (item.kind == SECDTFormatItem::numeric) {
      SECDTNumericGadget* p = (SECDTNumericGadget*)m_pNumericClass->CreateObject();
      p->Initialise(this, item.minimum, item.maximum, 0, item.leadingZeros, item.id);
      pGadget = p;
    } else {
      CStringArray names;
      switch (item.items) {
        case SECDTFormatItem::designatorFirst:
        case SECDTFormatItem::designatorFull: {
          CString am = LocaleInfo(LOCALE_S1159), pm = LocaleInfo(LOCALE_S2359);
          if (item.items == SECDTFormatItem::designatorFirst) {
            am = am.Left(am.GetLength() > 1 && _ismbblead((unsigned char)am[0]) ? 2 : 1);
            pm = pm.Left(pm.GetLength() > 1 && _ismbblead((unsigned char)pm[0]) ? 2 : 1);
          }
          names.Add(am);
          names.Add(pm);
          break;
        }
        case SECDTFormatItem::dayAbbrev:
        case SECDTFormatItem::dayFull:
          for (int day = 1; day <= 7; ++day) {
            CString name;
            GetLocaleDayName(name, day, item.items == SECDTFormatItem::dayFull);
            AdjustDayName(name);
            names.Add(name);
          }
          break;
        default:
          for (int month = 1; month <= 12; ++month) {
            CString name;
            GetLocaleMonthName(name, month, item.items == SECDTFormatItem::monthFull);
            AdjustMonthName(name);
            names.Add(name);
          }
          break;
      }
      SECDTListGadget* p = (SECDTListGadget*)m_pListClass->CreateObject();
      p->Initialise(this, &names, 0, item.id);
      pGadget = p;
    }
    if (item.noEditBit & m_dwNoEdit)
      pGadget->SetStyle(pGadget->GetStyle() & ~SECDTGadget::WantFocus);
    m_gadgets.Add(pGadget);
  }
  if (m_entry.entering)
    m_entry.present = PresentMask();
  RefreshFields(kAllFields);
}

void SECDateTimeCtrl::RebuildGadgets()
{
  if (m_hWnd == NULL)
    return;
  int remembered = m_nCurGadget;
  if (m_pCapture != NULL) {
    m_pCapture = NULL;
    if (::GetCapture() == m_hWnd)
      ::ReleaseCapture();
  }
  DeleteCalendar();
  m_nCurGadget = 0;
  m_nXOrigin = 0;
  DeleteGadgets(m_nFixed);
  BuildGadgets();
  LayoutGadgets();
  INT_PTR count = m_gadgets.GetSize();
  const int wants = SECDTGadget::WantFocus | SECDTGadget::WantMouse;
  if (remembered >= 0 && remembered < count && (m_gadgets.Get(remembered)->GetStyle() & wants)
      && !(m_gadgets.Get(remembered)->GetStyle() & SECDTGadget::IsFixed)) {
    m_nCurGadget = remembered;
  } else {
    m_nCurGadget = 0;
    for (INT_PTR i = 0; i < count; ++i)
      if (m_gadgets.Get(i)->GetStyle() & wants) {
        m_nCurGadget = (int)i;
        break;
      }
  }
  Invalidate();
}

// Value, range and entry -----------------------------------------------------------------

WORD SECDateTimeCtrl::PresentMask() const
{
  WORD mask = 0;
  for (INT_PTR i = 0; i < m_gadgets.GetSize(); ++i) {
    switch (m_gadgets.Get(i)->GetID()) {
      case SECDT_HOUR12: case SECDT_HOUR24: case SECDT_AMPM: mask |= EntryHour; break;
      case SECDT_MINUTE: mask |= EntryMinute; break;
      case SECDT_SECOND: mask |= EntrySecond; break;
      case SECDT_YEAR2: case SECDT_YEAR4: mask |= EntryYear; break;
      case SECDT_MONTH: case SECDT_MONTHNAME: mask |= EntryMonth; break;
      case SECDT_DAY: mask |= EntryDay; break;
      case SECDT_DAYOFWEEK: mask |= EntryDayOfWeek; break;
      default: break;
    }
  }
  return mask;
}

void SECDateTimeCtrl::StartEntry()
{
  m_entry.blank = 0x7F;
  m_entry.present = PresentMask();
  m_entry.entering = TRUE;
  m_entry.hour = m_entry.minute = m_entry.second = 0;
  m_entry.year = 1899;
  m_entry.month = 12;
  m_entry.day = 1;
  m_entry.dayOfWeek = 1;
}

void SECDateTimeCtrl::SetNull(char cPlaceholder)
{
  m_cNullChar = cPlaceholder;
  m_datetime.SetStatus(COleDateTime::null);
  StartEntry();
  if (m_hWnd != NULL)
    RefreshFields(kAllFields);
}

void SECDateTimeCtrl::CompleteEntry(BOOL bNotify)
{
  if (!m_entry.entering)
    return;
  if (m_entry.blank & m_entry.present & ~EntryDayOfWeek)
    return;
  Parts parts = {m_entry.year, m_entry.month, m_entry.day, m_entry.hour, m_entry.minute,
                 m_entry.second, m_entry.dayOfWeek};
  COleDateTime value;
  if (!Build(parts, value) || !IsInRange(value)) {
    m_datetime.SetStatus(COleDateTime::invalid);
    return;
  }
  if (bNotify && !OnChanging(value))
    return;
  m_datetime = value;
  m_entry.entering = FALSE;
  if (bNotify) {
    OnChanged();
    RefreshFields(kAllFields);
  }
}

void SECDateTimeCtrl::StoreValue(const COleDateTime& value)
{
  Parts before, after;
  DWORD changed = kAllFields;
  if (Split(m_datetime, before) && Split(value, after)) {
    changed = 0;
    if (before.hour != after.hour) changed |= SECDT_HOUR12 | SECDT_HOUR24 | SECDT_AMPM;
    if (before.minute != after.minute) changed |= SECDT_MINUTE;
    if (before.second != after.second) changed |= SECDT_SECOND;
    if (before.day != after.day) changed |= SECDT_DAY;
    if (before.dayOfWeek != after.dayOfWeek) changed |= SECDT_DAYOFWEEK;
    if (before.month != after.month) changed |= SECDT_MONTH | SECDT_MONTHNAME;
    if (before.year != after.year) changed |= SECDT_YEAR2 | SECDT_YEAR4;
  }
  m_datetime = value;
  if (m_hWnd != NULL && changed)
    RefreshFields(changed);
}

BOOL SECDateTimeCtrl::SetDateTime(const COleDateTime& value)
{
  if (value.GetStatus() != COleDateTime::valid)
    return FALSE;
  BOOL ended = m_entry.entering;
  m_entry.entering = FALSE;
  if (ended) {
    m_datetime = value;
    if (m_hWnd != NULL)
      RefreshFields(kAllFields);
  } else {
    StoreValue(value);
  }
  return TRUE;
}

BOOL SECDateTimeCtrl::SetDate(const COleDateTime& value)
{
  Parts parts;
  if (!Split(value, parts))
    return FALSE;
  if (m_entry.entering) {
    m_entry.dayOfWeek = parts.dayOfWeek;
    m_entry.day = parts.day;
    m_entry.month = parts.month;
    m_entry.year = parts.year;
    m_entry.blank &= ~(EntryDayOfWeek | EntryDay | EntryMonth | EntryYear);
    CompleteEntry(FALSE);
    if (m_hWnd != NULL)
      RefreshFields(kAllFields);
    return TRUE;
  }
  Parts now;
  if (!Split(m_datetime, now))
    return FALSE;
  parts.hour = now.hour;
  parts.minute = now.minute;
  parts.second = now.second;
  COleDateTime made;
  if (!Build(parts, made))
    return FALSE;
  return SetDateTime(made);
}

BOOL SECDateTimeCtrl::SetTime(const COleDateTime& value)
{
  Parts parts;
  if (!Split(value, parts))
    return FALSE;
  if (m_entry.entering) {
    m_entry.hour = parts.hour;
    m_entry.minute = parts.minute;
    m_entry.second = parts.second;
    m_entry.blank &= ~(EntryHour | EntryMinute | EntrySecond);
    CompleteEntry(FALSE);
    if (m_hWnd != NULL)
      RefreshFields(kAllFields);
    return TRUE;
  }
  Parts now;
  if (!Split(m_datetime, now))
    return FALSE;
  now.hour = parts.hour;
  now.minute = parts.minute;
  now.second = parts.second;
  COleDateTime made;
  if (!Build(now, made))
    return FALSE;
  return SetDateTime(made);
}

void SECDateTimeCtrl::SetModified(BOOL bUser, BOOL bOwner)
{
  m_nModified = (m_nModified & ~3u) | (bUser ? 1u : 0u) | (bOwner ? 2u : 0u);
}

void SECDateTimeCtrl::GetModified(int* pUser, int* pOwner) const
{
  if (pUser) *pUser = (m_nModified & 1) ? 1 : 0;
  if (pOwner) *pOwner = (m_nModified & 2) ? 1 : 0;
}

namespace {

// The value as the range type compares it; false for a type outside 0-3.
bool Compared(const COleDateTime& value, int nRangeType, COleDateTime& out)
{
  double whole = (double)value.m_dt;
  double day = whole < 0 ? -(double)(long long)(-whole) : (double)(long long)whole;
  double time = whole < 0 ? day - whole : whole - day;  // negative dates: time is positive
  switch (nRangeType) {
    case 0: case 3: out = value; return true;
    case 1: out = COleDateTime((DATE)time); return true;
    case 2: out = COleDateTime((DATE)day); return true;
    default: return false;
  }
}

}  // namespace

BOOL SECDateTimeCtrl::IsInRange(const COleDateTime& value) const
{
  Parts parts;
  if (!Split(value, parts))
    return FALSE;
  if (m_nRangeType == NoRange)
    return TRUE;
  COleDateTime compared;
  if (!Compared(value, m_nRangeType, compared))
    return FALSE;
  return m_minDate <= compared && compared <= m_maxDate;
}

BOOL SECDateTimeCtrl::Validate(COleDateTime& value, int nLevel)
{
  if (value.GetStatus() != COleDateTime::valid)
    return FALSE;
  if (m_nRangeType == NoRange)
    return TRUE;
  COleDateTime compared;
  if (!Compared(value, m_nRangeType, compared))
    return FALSE;
  if (m_minDate <= compared && compared <= m_maxDate)
    return TRUE;
  if (nLevel == 0)
    return FALSE;
  const COleDateTime& bound = compared < m_minDate ? m_minDate : m_maxDate;
  Parts v, b;
  if (!Split(value, v) || !Split(bound, b))
    return FALSE;
  // parts from the year down: which must match the bound's for the level
  int* vp[6] = {&v.year, &v.month, &v.day, &v.hour, &v.minute, &v.second};
  const int* bp[6] = {&b.year, &b.month, &b.day, &b.hour, &b.minute, &b.second};
  int matched;  // the number of leading parts that must be equal
  switch (nLevel) {
    case 1: matched = 5; break;
    case 2: matched = 4; break;
    case 3: matched = 3; break;
    case 4: matched = 2; break;
    case 5: matched = 1; break;
    case -1: matched = 0; break;
    default: return FALSE;
  }
  for (int i = 0; i < matched; ++i)
    if (*vp[i] != *bp[i])
      return FALSE;
  for (int i = matched; i < 6; ++i)
    *vp[i] = *bp[i];
  COleDateTime clamped;
  if (!Build(v, clamped) || !IsInRange(clamped))
    return FALSE;
  value = clamped;
  return TRUE;
}

BOOL SECDateTimeCtrl::SetMinMax(const COleDateTime& minimum, const COleDateTime& maximum,
                                int nRangeType)
{
  Parts a, b;
  if (!Split(minimum, a) || !Split(maximum, b) || minimum > maximum)
    return FALSE;
  COleDateTime lo = minimum, hi = maximum;
  if (nRangeType == TimeRange || nRangeType == DateRange) {
    Compared(minimum, nRangeType, lo);
    Compared(maximum, nRangeType, hi);
  }
  m_minDate = lo;
  m_maxDate = hi;
  m_nRangeType = nRangeType;
  if (!m_entry.entering) {
    COleDateTime copy = m_datetime;
    if (!Validate(copy, -1))
      return FALSE;
    if (m_hWnd != NULL)
      StoreValue(copy);
  }
  return TRUE;
}

int SECDateTimeCtrl::GetMinMax(COleDateTime& minimum, COleDateTime& maximum) const
{
  minimum = m_minDate;
  maximum = m_maxDate;
  return m_nRangeType;
}

BOOL SECDateTimeCtrl::OnChanging(const COleDateTime&) { return TRUE; }

void SECDateTimeCtrl::OnChanged() { SendNotify(EN_CHANGE); }

void SECDateTimeCtrl::SendNotify(UINT nCode)
{
  if (m_hWnd == NULL || (GetExStyle() & WS_EX_NOPARENTNOTIFY))
    return;
  HWND hParent = ::GetParent(m_hWnd);
  if (hParent != NULL)
    ::SendMessageA(hParent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(m_hWnd), nCode),
                   (LPARAM)m_hWnd);
}

int SECDateTimeCtrl::GetCentury(int nYear, int nTwoDigitYear)
{
  int base = (nYear != -1 && m_hWnd != NULL && (GetStyle() & SEC_DTS_Y2K_CONTEXT))
                 ? nYear : SystemYear();
  return (base - nTwoDigitYear + 50) / 100 * 100;
}

// Fields -----------------------------------------------------------------------------------

void SECDateTimeCtrl::RefreshFields(DWORD dwIDMask)
{
  Parts p;
  BOOL entering = m_entry.entering;
  if (!entering && !Split(m_datetime, p))
    return;
  if (entering) {
    p.hour = IsBlank(EntryHour) ? -1 : m_entry.hour;
    p.minute = IsBlank(EntryMinute) ? -1 : m_entry.minute;
    p.second = IsBlank(EntrySecond) ? -1 : m_entry.second;
    p.year = IsBlank(EntryYear) ? -1 : m_entry.year;
    p.month = IsBlank(EntryMonth) ? -1 : m_entry.month;
    p.day = IsBlank(EntryDay) ? -1 : m_entry.day;
    p.dayOfWeek = IsBlank(EntryDayOfWeek) ? -1 : m_entry.dayOfWeek;
  }
  for (INT_PTR i = 0; i < m_gadgets.GetSize(); ++i) {
    SECDTGadget* pGadget = m_gadgets.Get(i);
    int id = pGadget->GetID();
    if (id <= 0 || !(id & dwIDMask & kAllFields))
      continue;
    int shown;
    switch (id) {
      case SECDT_HOUR12:
        shown = p.hour < 0 ? -1 : p.hour == 0 ? 12 : p.hour > 12 ? p.hour - 12 : p.hour;
        break;
      case SECDT_HOUR24: shown = p.hour; break;
      case SECDT_MINUTE: shown = p.minute; break;
      case SECDT_SECOND: shown = p.second; break;
      case SECDT_AMPM: shown = p.hour < 0 ? -1 : p.hour < 12 ? 0 : 1; break;
      case SECDT_DAY: shown = p.day; break;
      case SECDT_DAYOFWEEK: shown = p.dayOfWeek < 0 ? -1 : p.dayOfWeek - 1; break;
      case SECDT_MONTH: shown = p.month; break;
      case SECDT_MONTHNAME: shown = p.month < 0 ? -1 : p.month - 1; break;
      case SECDT_YEAR2: shown = p.year < 0 ? -1 : p.year % 100; break;
      case SECDT_YEAR4: shown = p.year; break;
      default: continue;
    }
    if (shown == -1) {
      pGadget->SetStyle(pGadget->GetStyle() | SECDTGadget::IsNull);
    } else {
      pGadget->SetStyle(pGadget->GetStyle() & ~SECDTGadget::IsNull);
      pGadget->SetValue(shown);
    }
    pGadget->Invalidate();
  }
}

BOOL SECDateTimeCtrl::OnGadgetNotify(int nCode, int nID, int nValue)
{
  if (nCode == SECDT_GN_EDIT) {
    if (nValue)
      m_nModified |= 4;
    else
      m_nModified &= ~4u;
    return TRUE;
  }
  if (nCode == SECDT_GN_FULL && m_bAutoAdvance) {
    NextField();
    return TRUE;
  }
  switch (nID) {
    case SECDT_HOUR12: case SECDT_HOUR24: return OnHour(nCode, nID, nValue);
    case SECDT_MINUTE: return OnMinute(nCode, nID, nValue);
    case SECDT_SECOND: return OnSecond(nCode, nID, nValue);
    case SECDT_AMPM: return OnAmPm(nCode, nID, nValue);
    case SECDT_DAY: case SECDT_DAYOFWEEK: return OnDay(nCode, nID, nValue);
    case SECDT_MONTH: case SECDT_MONTHNAME: return OnMonth(nCode, nID, nValue);
    case SECDT_YEAR2: case SECDT_YEAR4: return OnYear(nCode, nID, nValue);
    case SECDT_DROPDOWN: PopupCalendar(); return TRUE;
    case SECDT_SPIN: {
      if (m_nCurGadget < m_nFixed || m_nCurGadget >= m_gadgets.GetSize())
        return FALSE;
      int id = m_gadgets.Get(m_nCurGadget)->GetID();
      if (id == SECDT_DROPDOWN || id == SECDT_SPIN || id <= 0)
        return FALSE;
      return OnGadgetNotify(nCode, id, nValue);
    }
    default: return FALSE;
  }
}

// Step 3 for a time part while an entry is in force, or step 4 on the split value.
BOOL SECDateTimeCtrl::ApplyTime(int nCode, int nEntryBit, int* pEntryField, int nValue,
                                int nLevel, Parts parts)
{
  if (m_entry.entering) {
    if (nCode == SECDT_GN_VALIDATE)
      return TRUE;
    *pEntryField = nValue;
    m_entry.blank &= ~nEntryBit;
    RefreshFields(nEntryBit == EntryHour ? SECDT_HOUR12 | SECDT_HOUR24 | SECDT_AMPM
                  : nEntryBit == EntryMinute ? SECDT_MINUTE : SECDT_SECOND);
    m_nModified |= 1;
    CompleteEntry(TRUE);
    if (m_hWnd) UpdateWindow();
    return TRUE;
  }
  COleDateTime value;
  if (!Build(parts, value) || !Validate(value, nLevel))
    return FALSE;
  if (nCode == SECDT_GN_VALIDATE)
    return TRUE;
  if (!OnChanging(value))
    return FALSE;
  StoreValue(value);
  m_nModified |= 1;
  OnChanged();
  if (m_hWnd) UpdateWindow();
  return TRUE;
}

BOOL SECDateTimeCtrl::OnHour(int nCode, int nID, int nValue)
{
  Parts p = {};
  if (!m_entry.entering && !Split(m_datetime, p))
    return FALSE;
  int hour = m_entry.entering ? (IsBlank(EntryHour) ? -1 : m_entry.hour) : p.hour;
  if (IsStep(nCode) && hour < 0) {
    hour = COleDateTime::GetCurrentTime().GetHour();
  } else if (IsUp(nCode)) {
    hour += Step(nCode, nValue);
    if (hour > 23) hour = 0;
  } else if (IsDown(nCode)) {
    hour -= Step(nCode, nValue);
    if (hour < 0) hour = 23;
  } else if (IsTyped(nCode)) {
    if (nID == SECDT_HOUR24) {
      if (nValue < 0 || nValue > 23) return FALSE;
      hour = nValue;
    } else {
      if (nValue < 1 || nValue > 12) return FALSE;
      bool pm = hour >= 12;
      hour = pm ? (nValue == 12 ? 12 : nValue + 12) : (nValue == 12 ? 0 : nValue);
    }
  } else if (nCode == SECDT_GN_HOME) {
    hour = 0;
  } else if (nCode == SECDT_GN_END) {
    hour = 23;
  }
  if (hour < 0)
    return FALSE;  // a blank field left as it is
  p.hour = hour;
  int level = (nCode == SECDT_GN_HOME || nCode == SECDT_GN_END) ? 3 : 2;
  return ApplyTime(nCode, EntryHour, &m_entry.hour, hour, level, p);
}

BOOL SECDateTimeCtrl::OnAmPm(int nCode, int, int nValue)
{
  Parts p = {};
  if (!m_entry.entering && !Split(m_datetime, p))
    return FALSE;
  int hour = m_entry.entering ? (IsBlank(EntryHour) ? -1 : m_entry.hour) : p.hour;
  if (IsStep(nCode)) {
    hour = hour < 0 ? 0 : hour < 12 ? hour + 12 : hour - 12;
  } else if (IsTyped(nCode)) {
    if (nValue == 0)
      hour = hour < 0 ? 0 : hour >= 12 ? hour - 12 : hour;
    else if (nValue == 1)
      hour = hour < 0 ? 12 : hour < 12 ? hour + 12 : hour;
    else
      return FALSE;
  } else if (nCode == SECDT_GN_HOME) {
    hour = hour < 0 ? 0 : hour >= 12 ? hour - 12 : hour;
  } else if (nCode == SECDT_GN_END) {
    hour = hour < 0 ? 23 : hour < 12 ? hour + 12 : hour;
  }
  if (hour < 0)
    return FALSE;
  p.hour = hour;
  return ApplyTime(nCode, EntryHour, &m_entry.hour, hour, 2, p);
}

namespace {

// Minutes and seconds: step with wrap, typed 0-59, Home 0, End 59; -1 when nothing applies.
int SixtyField(int nCode, int nValue, int current, int now, bool* refused)
{
  *refused = false;
  if (IsStep(nCode) && current < 0)
    return now;
  if (IsUp(nCode)) {
    current += Step(nCode, nValue);
    return current > 59 ? 0 : current;
  }
  if (IsDown(nCode)) {
    current -= Step(nCode, nValue);
    return current < 0 ? 59 : current;
  }
  if (IsTyped(nCode)) {
    if (nValue < 0 || nValue > 59) {
      *refused = true;
      return -1;
    }
    return nValue;
  }
  if (nCode == SECDT_GN_HOME) return 0;
  if (nCode == SECDT_GN_END) return 59;
  return current;
}

}  // namespace

BOOL SECDateTimeCtrl::OnMinute(int nCode, int, int nValue)
{
  Parts p = {};
  if (!m_entry.entering && !Split(m_datetime, p))
    return FALSE;
  int current = m_entry.entering ? (IsBlank(EntryMinute) ? -1 : m_entry.minute) : p.minute;
  bool refused;
  int minute = SixtyField(nCode, nValue, current,
                          COleDateTime::GetCurrentTime().GetMinute(), &refused);
  if (refused || minute < 0)
    return FALSE;
  p.minute = minute;
  int level = (nCode == SECDT_GN_HOME || nCode == SECDT_GN_END) ? 2 : 1;
  return ApplyTime(nCode, EntryMinute, &m_entry.minute, minute, level, p);
}

BOOL SECDateTimeCtrl::OnSecond(int nCode, int, int nValue)
{
  Parts p = {};
  if (!m_entry.entering && !Split(m_datetime, p))
    return FALSE;
  int current = m_entry.entering ? (IsBlank(EntrySecond) ? -1 : m_entry.second) : p.second;
  bool refused;
  int second = SixtyField(nCode, nValue, current,
                          COleDateTime::GetCurrentTime().GetSecond(), &refused);
  if (refused || second < 0)
    return FALSE;
  p.second = second;
  int level = (nCode == SECDT_GN_HOME || nCode == SECDT_GN_END) ? 1 : 0;
  return ApplyTime(nCode, EntrySecond, &m_entry.second, second, level, p);
}

// Step 3 for a date part while an entry is in force (the part already stored), going on
// with step 4 when the entry has been completed; else step 4 on the split parts.
BOOL SECDateTimeCtrl::ApplyDate(int nCode, int nLevel, Parts parts, BOOL bEntryStored)
{
  if (bEntryStored) {
    RefreshFields(SECDT_DAY | SECDT_DAYOFWEEK | SECDT_MONTH | SECDT_MONTHNAME | SECDT_YEAR2 |
                  SECDT_YEAR4);
    m_nModified |= 1;
    CompleteEntry(TRUE);
    if (m_hWnd) UpdateWindow();
    if (m_entry.entering || !Split(m_datetime, parts))
      return TRUE;
  }
  COleDateTime value;
  while (!Build(parts, value)) {
    if (parts.day <= 28)
      return FALSE;
    --parts.day;
  }
  if (!Validate(value, nLevel))
    return FALSE;
  if (nCode == SECDT_GN_VALIDATE)
    return TRUE;
  if (!OnChanging(value))
    return FALSE;
  StoreValue(value);
  m_nModified |= 1;
  OnChanged();
  if (m_hWnd) UpdateWindow();
  return TRUE;
}

BOOL SECDateTimeCtrl::OnDay(int nCode, int nID, int nValue)
{
  int level = (nCode == SECDT_GN_HOME || nCode == SECDT_GN_END) ? 4 : 3;
  COleDateTime now = COleDateTime::GetCurrentTime();
  if (m_entry.entering) {
    bool week = nID == SECDT_DAYOFWEEK;
    int bit = week ? EntryDayOfWeek : EntryDay;
    int wrap = week ? 7 : 31;
    int current = IsBlank(bit) ? -1 : (week ? m_entry.dayOfWeek : m_entry.day);
    if (IsStep(nCode) && current < 0) {
      current = week ? now.GetDayOfWeek() : now.GetDay();
    } else if (IsUp(nCode)) {
      current += Step(nCode, nValue);
      if (current > wrap) current -= wrap;
    } else if (IsDown(nCode)) {
      current -= Step(nCode, nValue);
      if (current <= 0) current += wrap;
    } else if (IsTyped(nCode)) {
      int v = week ? nValue + 1 : nValue;
      if (v < 1 || v > wrap) return FALSE;
      current = v;
    } else if (nCode == SECDT_GN_HOME) {
      current = 1;
    } else if (nCode == SECDT_GN_END) {
      current = wrap;
    }
    if (current < 0)
      return FALSE;
    if (nCode == SECDT_GN_VALIDATE)
      return TRUE;
    (week ? m_entry.dayOfWeek : m_entry.day) = current;
    m_entry.blank &= ~bit;
    return ApplyDate(nCode, level, Parts(), TRUE);
  }
  Parts p;
  if (!Split(m_datetime, p))
    return FALSE;
  int last = DaysInMonth(p.year, p.month);
  if (IsUp(nCode)) {
    p.day += Step(nCode, nValue);
    if (p.day > last) p.day = 1;
  } else if (IsDown(nCode)) {
    p.day -= Step(nCode, nValue);
    if (p.day <= 0) p.day = 31;  // lowered to the month's last day
  } else if (nID == SECDT_DAYOFWEEK && (IsTyped(nCode) || nCode == SECDT_GN_HOME ||
                                        nCode == SECDT_GN_END)) {
    int target = nCode == SECDT_GN_HOME ? 1 : nCode == SECDT_GN_END ? 7 : nValue + 1;
    if (target < 1 || target > 7)
      return FALSE;
    COleDateTime moved(m_datetime.m_dt + (target - p.dayOfWeek));
    Parts q;
    if (!Split(moved, q))
      return FALSE;
    p.year = q.year;
    p.month = q.month;
    p.day = q.day;
  } else if (IsTyped(nCode)) {
    if (nValue < 1 || nValue > last)
      return FALSE;  // the date must exist
    p.day = nValue;
  } else if (nCode == SECDT_GN_HOME) {
    p.day = 1;
  } else if (nCode == SECDT_GN_END) {
    p.day = 31;
  }
  return ApplyDate(nCode, level, p, FALSE);
}

BOOL SECDateTimeCtrl::OnMonth(int nCode, int nID, int nValue)
{
  int level = (nCode == SECDT_GN_HOME || nCode == SECDT_GN_END) ? 5 : 4;
  Parts p = {};
  if (!m_entry.entering && !Split(m_datetime, p))
    return FALSE;
  int month = m_entry.entering ? (IsBlank(EntryMonth) ? -1 : m_entry.month) : p.month;
  if (IsStep(nCode) && month < 0) {
    month = COleDateTime::GetCurrentTime().GetMonth();
  } else if (IsUp(nCode)) {
    month = month >= 12 ? 1 : month + 1;
  } else if (IsDown(nCode)) {
    month = month <= 1 ? 12 : month - 1;
  } else if (IsTyped(nCode)) {
    int v = nID == SECDT_MONTHNAME ? nValue + 1 : nValue;
    if (v < 1 || v > 12) return FALSE;
    month = v;
  } else if (nCode == SECDT_GN_HOME) {
    month = 1;
  } else if (nCode == SECDT_GN_END) {
    month = 12;
  }
  if (month < 0)
    return FALSE;
  if (m_entry.entering) {
    if (nCode == SECDT_GN_VALIDATE)
      return TRUE;
    m_entry.month = month;
    m_entry.blank &= ~EntryMonth;
    return ApplyDate(nCode, level, p, TRUE);
  }
  p.month = month;
  return ApplyDate(nCode, level, p, FALSE);
}

BOOL SECDateTimeCtrl::OnYear(int nCode, int nID, int nValue)
{
  const int level = 5;
  Parts p = {};
  if (!m_entry.entering && !Split(m_datetime, p))
    return FALSE;
  int year = m_entry.entering ? (IsBlank(EntryYear) ? -1 : m_entry.year) : p.year;
  if (IsStep(nCode) && year < 0) {
    year = COleDateTime::GetCurrentTime().GetYear();
  } else if (IsUp(nCode)) {
    year = min(year + (nCode == SECDT_GN_SPININC ? nValue : 1), 9999);
  } else if (IsDown(nCode)) {
    year = max(year - (nCode == SECDT_GN_SPINDEC ? nValue : 1), 100);
  } else if (IsTyped(nCode)) {
    if (nID == SECDT_YEAR2) {
      if (m_hWnd != NULL && (GetStyle() & SEC_DTS_Y2K_NOFIX))
        year = nValue + (year < 0 ? SystemYear() : year) / 100 * 100;
      else
        year = nValue + GetCentury(year, nValue);
    } else {
      year = (m_entry.entering && nValue <= 99) ? nValue + SystemYear() / 100 * 100 : nValue;
    }
  } else if (nCode == SECDT_GN_HOME) {
    year = m_minDate.GetYear();
  } else if (nCode == SECDT_GN_END) {
    year = m_maxDate.GetYear();
  }
  if (year < 0)
    return FALSE;
  if (m_entry.entering) {
    if (year < m_minDate.GetYear() || year > m_maxDate.GetYear())
      return FALSE;
    if (nCode == SECDT_GN_VALIDATE)
      return TRUE;
    m_entry.year = year;
    m_entry.blank &= ~EntryYear;
    return ApplyDate(nCode, level, p, TRUE);
  }
  p.year = year;
  return ApplyDate(nCode, level, p, FALSE);
}

// Layout and painting ----------------------------------------------------------------------

void SECDateTimeCtrl::LayoutGadgets()
{
  m_nFixedWidth = 0;
  if (m_hWnd == NULL)
    return;
  CClientDC dc(this);
  HGDIOBJ oldFont = m_hFont ? ::SelectObject(dc.m_hDC, m_hFont) : NULL;
  CRect client;
  GetClientRect(&client);
  int x = 1;
  int right = client.right;
  for (INT_PTR i = 0; i < m_gadgets.GetSize(); ++i) {
    SECDTGadget* pGadget = m_gadgets.Get(i);
    pGadget->CalcSize(&dc);
    CRect rect = pGadget->GetRect();
    int width = rect.Width();
    if (rect.bottom == -1) {
      rect.top = 0;
      rect.bottom = client.bottom;
    } else {
      rect.OffsetRect(0, 1 - rect.top);
    }
    if (pGadget->GetStyle() & SECDTGadget::IsFixed) {
      rect.left = right - width;
      rect.right = right;
      right -= width;
      m_nFixedWidth += width;
    } else {
      rect.left = x;
      rect.right = x + width;
      x += width;
    }
    pGadget->SetRect(rect);
  }
  if (oldFont)
    ::SelectObject(dc.m_hDC, oldFont);
}

void SECDateTimeCtrl::SizeToContent()
{
  if (m_hWnd == NULL || m_gadgets.GetSize() == 0)
    return;
  CRect border(0, 0, 0, 0);
  ::AdjustWindowRectEx(&border, GetStyle(), FALSE, GetExStyle());
  if (border.IsRectEmpty() && !secData.m_bWin4 && (GetExStyle() & WS_EX_CLIENTEDGE))
    border.SetRect(0, 0, 4, 4);
  int width = border.Width() + m_nFixedWidth + 3;
  int height = border.Height();
  INT_PTR first = -1;
  for (INT_PTR i = m_nFixed; i < m_gadgets.GetSize(); ++i) {
    width += m_gadgets.Get(i)->GetRect().Width();
    if (first < 0)
      first = i;
  }
  height += first >= 0 ? m_gadgets.Get(first)->GetRect().Height() + 2
                       : m_gadgets.Get(0)->GetRect().Height();
  SetWindowPos(NULL, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SECDateTimeCtrl::EnsureVisible(int nIndex)
{
  if (m_hWnd == NULL || nIndex < 0 || nIndex >= m_gadgets.GetSize())
    return;
  CRect client;
  GetClientRect(&client);
  int left = client.left + 1 + m_nXOrigin;
  int right = client.right - 1 - m_nFixedWidth + m_nXOrigin;
  const CRect& rect = m_gadgets.Get(nIndex)->GetRect();
  if (rect.left < left) {
    m_nXOrigin = rect.left;
  } else if (rect.right > right) {
    int excess = rect.right - right;
    left += excess;
    if (rect.left < left)
      m_nXOrigin = rect.left;
    else
      m_nXOrigin += excess;
  } else {
    return;
  }
  Invalidate();
}

void SECDateTimeCtrl::InvalidateGadget(SECDTGadget* pGadget, BOOL bUpdateNow)
{
  if (m_hWnd == NULL || pGadget == NULL)
    return;
  CRect rect = pGadget->GetRect();
  if (!(pGadget->GetStyle() & SECDTGadget::IsFixed))
    rect.OffsetRect(-m_nXOrigin, 0);
  InvalidateRect(&rect, FALSE);
  if (bUpdateNow)
    UpdateWindow();
}

void SECDateTimeCtrl::CaptureMouse(SECDTGadget* pGadget, BOOL bOn)
{
  if (m_hWnd == NULL)
    return;
  if (bOn) {
    SetCapture();
    m_pCapture = pGadget;
  } else {
    m_pCapture = NULL;
    if (::GetCapture() == m_hWnd)
      ::ReleaseCapture();
  }
}

void SECDateTimeCtrl::Draw(CDC* pDC)
{
  CRect clip;
  pDC->GetClipBox(&clip);
  pDC->FillSolidRect(&clip, m_bkColor);
  HGDIOBJ oldFont = m_hFont ? ::SelectObject(pDC->m_hDC, m_hFont) : NULL;
  for (INT_PTR i = 0; i < m_nFixed && i < m_gadgets.GetSize(); ++i) {
    SECDTGadget* pGadget = m_gadgets.Get(i);
    CRect rect = pGadget->GetRect();
    if (pDC->RectVisible(&rect)) {
      pGadget->Draw(pDC);
      pDC->ExcludeClipRect(&rect);
    }
  }
  POINT oldOrg;
  ::GetViewportOrgEx(pDC->m_hDC, &oldOrg);
  ::SetViewportOrgEx(pDC->m_hDC, oldOrg.x - m_nXOrigin, oldOrg.y, NULL);
  for (INT_PTR i = m_nFixed; i < m_gadgets.GetSize(); ++i) {
    SECDTGadget* pGadget = m_gadgets.Get(i);
    CRect rect = pGadget->GetRect();
    if (pDC->RectVisible(&rect))
      pGadget->Draw(pDC);
  }
  ::SetViewportOrgEx(pDC->m_hDC, oldOrg.x, oldOrg.y, NULL);
  if (oldFont)
    ::SelectObject(pDC->m_hDC, oldFont);
}

void SECDateTimeCtrl::PaintNonClient()
{
  CWindowDC dc(this);
  CRect rect;
  GetWindowRect(&rect);
  rect.OffsetRect(-rect.left, -rect.top);
  dc.Draw3dRect(&rect, secData.m_clrBtnShadow, secData.m_clrBtnHilite);
  rect.DeflateRect(1, 1);
  dc.Draw3dRect(&rect, secData.m_clrWindowFrame, secData.m_clrBtnFace);
}

void SECDateTimeCtrl::Paint(HDC hdc, const CRect& clip)
{
  CDC* pDC = CDC::FromHandle(hdc);
  BOOL enabled = IsWindowEnabled();
  m_bkColor = enabled ? secData.m_clrWindow : ::GetSysColor(m_nBkDisabled);
  m_textColor = enabled ? secData.m_clrWindowText : ::GetSysColor(m_nTextDisabled);
  if (m_bParentColors && GetParent() != NULL) {
    pDC->SetBkColor(m_bkColor);
    pDC->SetTextColor(m_textColor);
    GetParent()->SendMessage(enabled ? WM_CTLCOLOREDIT : WM_CTLCOLORSTATIC, (WPARAM)hdc,
                             (LPARAM)m_hWnd);
    m_bkColor = pDC->GetBkColor();
    m_textColor = pDC->GetTextColor();
  }
  CRect client;
  GetClientRect(&client);
  CDC mem;
  CBitmap bmp;
  if (mem.CreateCompatibleDC(pDC) &&
      bmp.CreateCompatibleBitmap(pDC, client.Width(), client.Height())) {
    CBitmap* old = mem.SelectObject(&bmp);
    mem.IntersectClipRect(&clip);
    Draw(&mem);
    pDC->BitBlt(clip.left, clip.top, clip.Width(), clip.Height(), &mem, clip.left, clip.top,
                SRCCOPY);
    mem.SelectObject(old);
  } else {
    Draw(pDC);  // no memory to draw off screen: straight to the window
  }
}

// Fields and focus --------------------------------------------------------------------------

BOOL SECDateTimeCtrl::NextField()
{
  INT_PTR count = m_gadgets.GetSize();
  for (INT_PTR i = m_nCurGadget + 1; i < count; ++i) {
    if (m_gadgets.Get(i)->GetStyle() & SECDTGadget::WantFocus) {
      if (m_nCurGadget >= 0 && m_nCurGadget < count)
        m_gadgets.Get(m_nCurGadget)->Select(FALSE);
      m_nCurGadget = (int)i;
      m_gadgets.Get(i)->Select(TRUE);
      EnsureVisible((int)i);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL SECDateTimeCtrl::PrevField()
{
  INT_PTR count = m_gadgets.GetSize();
  for (INT_PTR i = min((INT_PTR)m_nCurGadget, count) - 1; i >= 0; --i) {
    if (m_gadgets.Get(i)->GetStyle() & SECDTGadget::WantFocus) {
      if (m_nCurGadget >= 0 && m_nCurGadget < count)
        m_gadgets.Get(m_nCurGadget)->Select(FALSE);
      m_nCurGadget = (int)i;
      m_gadgets.Get(i)->Select(TRUE);
      EnsureVisible((int)i);
      return TRUE;
    }
  }
  return FALSE;
}

int SECDateTimeCtrl::HitTest(int x, int y) const
{
  const int wants = SECDTGadget::WantFocus | SECDTGadget::WantMouse;
  INT_PTR count = m_gadgets.GetSize();
  for (INT_PTR i = 0; i < m_nFixed && i < count; ++i) {
    SECDTGadget* pGadget = m_gadgets.Get(i);
    if ((pGadget->GetStyle() & wants) && pGadget->GetRect().PtInRect(CPoint(x, y)))
      return (int)i;
  }
  for (INT_PTR i = m_nFixed; i < count; ++i) {
    SECDTGadget* pGadget = m_gadgets.Get(i);
    if ((pGadget->GetStyle() & wants) && pGadget->GetRect().right >= x + m_nXOrigin)
      return (int)i;
  }
  for (INT_PTR i = count - 1; i > m_nFixed; --i)
    if (m_gadgets.Get(i)->GetStyle() & wants)
      return (int)i;
  return m_nFixed < count ? m_nFixed : -1;  // no field at all: nothing is hit
}

CString SECDateTimeCtrl::GetWindowTextAll() const
{
  CString all, piece;
  for (INT_PTR i = 0; i < m_gadgets.GetSize(); ++i) {
    m_gadgets.Get(i)->GetText(piece);
    all += piece;
  }
  return all;
}

// Calendar ------------------------------------------------------------------------------------

SECPopupCalendar* SECDateTimeCtrl::CreatePopupCalendar() { return new SECPopupCalendar; }

void SECDateTimeCtrl::PopupCalendar()
{
  if (m_hWnd == NULL)
    return;
  if (m_nCurGadget >= 0 && m_nCurGadget < m_gadgets.GetSize())
    m_gadgets.Get(m_nCurGadget)->OnCancelMode();
  DeleteCalendar();
  COleDateTime start = m_datetime;
  if (m_entry.entering) {
    SYSTEMTIME st;
    ::GetSystemTime(&st);
    Parts p = {st.wYear, st.wMonth, st.wDay, 0, 0, 0, 1};
    if (!IsBlank(EntryYear)) p.year = m_entry.year;
    if (!IsBlank(EntryMonth)) p.month = m_entry.month;
    if (!IsBlank(EntryDay)) p.day = m_entry.day;
    if (!Build(p, start)) {
      Parts today = {st.wYear, st.wMonth, st.wDay, 0, 0, 0, 1};
      Build(today, start);
    }
  }
  SECPopupCalendar* pCalendar = CreatePopupCalendar();
  if (pCalendar == NULL)
    return;
  pCalendar->SetMode(2);
  pCalendar->SetCalendarStyle(pCalendar->GetCalendarStyle() | 0x200 | 0x01000000);
  pCalendar->SetOtherMonthDayStyle(pCalendar->GetOtherMonthDayStyle() | 0x102);
  pCalendar->SetDate(start, FALSE);
  pCalendar->SelectDate(start, TRUE);
  m_pPopupCalendar = pCalendar;
  CRect rect;
  GetWindowRect(&rect);
  if (!pCalendar->Create(WS_POPUP | WS_VISIBLE | WS_THICKFRAME | 0x0001, rect, this, 0))
    DeleteCalendar();
}

void SECDateTimeCtrl::OnCalendarAccept()
{
  if (m_pPopupCalendar == NULL)
    return;
  COleDateTime chosen = m_pPopupCalendar->GetSelectedDate();
  const DWORD dateBits = SECDT_NOEDIT_YEAR | SECDT_NOEDIT_MONTH | SECDT_NOEDIT_DAY;
  Parts c;
  if (Split(chosen, c) && (m_dwNoEdit & dateBits) != dateBits) {
    if (m_entry.entering) {
      if (IsInRange(chosen) && OnChanging(chosen)) {
        m_entry.year = c.year;
        m_entry.month = c.month;
        m_entry.day = c.day;
        m_entry.dayOfWeek = c.dayOfWeek;
        m_entry.blank &= ~(EntryYear | EntryMonth | EntryDay | EntryDayOfWeek);
        RefreshFields(SECDT_DAY | SECDT_DAYOFWEEK | SECDT_MONTH | SECDT_MONTHNAME |
                      SECDT_YEAR2 | SECDT_YEAR4);
        m_nModified |= 1;
        CompleteEntry(TRUE);
        OnChanged();
      }
    } else {
      Parts v;
      if (Split(m_datetime, v)) {
        if (!(m_dwNoEdit & SECDT_NOEDIT_YEAR)) v.year = c.year;
        if (!(m_dwNoEdit & SECDT_NOEDIT_MONTH)) v.month = c.month;
        if (!(m_dwNoEdit & SECDT_NOEDIT_DAY)) v.day = c.day;
        COleDateTime value;
        if (Build(v, value) && value != m_datetime && IsInRange(value) && OnChanging(value)) {
          m_nModified |= 1;
          StoreValue(value);
          OnChanged();
        }
      }
    }
  }
  DeleteCalendar();
}

// Messages ----------------------------------------------------------------------------------

LRESULT SECDateTimeCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
  INT_PTR count = m_gadgets.GetSize();
  bool haveCurrent = m_nCurGadget >= 0 && m_nCurGadget < count;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC hdc = ::BeginPaint(m_hWnd, &ps);
      CRect clip;
      ::GetClipBox(hdc, &clip);
      Paint(hdc, clip);
      ::EndPaint(m_hWnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT: {
      CRect client;
      GetClientRect(&client);
      Paint((HDC)wParam, client);
      return 0;
    }
    case WM_NCCALCSIZE:
      if (!secData.m_bWin4 && (GetExStyle() & WS_EX_CLIENTEDGE)) {
        // the system draws no edge of its own there: the control's is 2 pixels
        RECT* rect = (RECT*)lParam;
        ::InflateRect(rect, -2, -2);
        return 0;
      }
      break;
    case WM_NCPAINT:
      if (!secData.m_bWin4 && (GetExStyle() & WS_EX_CLIENTEDGE)) {
        PaintNonClient();
        return 0;
      }
      break;
    case WM_GETDLGCODE:
      return m_bTabBetween ? DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB
                           : DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_KEYDOWN:
      if (count == 0)
        break;
      switch (wParam) {
        case VK_LEFT: PrevField(); return 0;
        case VK_RIGHT: NextField(); return 0;
        case VK_F4:
          if (GetStyle() & SEC_DTS_CALENDAR)
            PopupCalendar();
          return 0;
        case VK_TAB:
          if (m_bTabBetween) {
            bool back = ::GetKeyState(VK_SHIFT) < 0;
            if (!(back ? PrevField() : NextField()) && GetParent() != NULL) {
              CWnd* pNext = GetParent()->GetNextDlgTabItem(this, back);
              if (pNext != NULL)
                pNext->SetFocus();
            }
            return 0;
          }
          break;
        default: break;
      }
      if (haveCurrent)
        m_gadgets.Get(m_nCurGadget)->OnKeyDown((UINT)wParam);
      return 0;
    case WM_SYSKEYDOWN:
      if (wParam == VK_DOWN && (GetStyle() & SEC_DTS_CALENDAR) && count > 0) {
        PopupCalendar();
        return 0;
      }
      break;
    case WM_CHAR: {
      if (count == 0)
        break;
      if (wParam == '\t' && m_bTabBetween)
        return 0;
      if (haveCurrent && m_nCurGadget + 1 < count) {
        SECDTGadget* pNext = m_gadgets.Get(m_nCurGadget + 1);
        if (pNext->IsKindOf(RUNTIME_CLASS(SECDTStaticGadget))) {
          CString text = ((SECDTStaticGadget*)pNext)->GetCaption();
          text.TrimLeft();
          text.TrimRight();
          bool blanks = text.IsEmpty() && wParam == ' ';
          bool same = ((SECDTStaticGadget*)pNext)->GetCaption().GetLength() == 1 &&
                      (unsigned char)((SECDTStaticGadget*)pNext)->GetCaption()[0] ==
                          (unsigned char)wParam;
          if (blanks || same || (text.GetLength() == 1 && (unsigned char)text[0] == wParam)) {
            NextField();
            return 0;
          }
        }
      }
      if (haveCurrent)
        m_gadgets.Get(m_nCurGadget)->OnChar((UINT)wParam);
      return 0;
    }
    case WM_SETFOCUS: {
      CWnd::WindowProc(message, wParam, lParam);
      SendNotify(EN_SETFOCUS);
      count = m_gadgets.GetSize();
      if (m_bTabBetween && ::GetKeyState(VK_TAB) < 0) {
        int found = -1;
        if (::GetKeyState(VK_SHIFT) < 0) {
          for (INT_PTR i = count - 1; i >= 0 && found < 0; --i)
            if (m_gadgets.Get(i)->GetStyle() & SECDTGadget::WantFocus) found = (int)i;
        } else {
          for (INT_PTR i = m_nFixed; i < count && found < 0; ++i)
            if (m_gadgets.Get(i)->GetStyle() & SECDTGadget::WantFocus) found = (int)i;
        }
        if (found >= 0) {
          m_nCurGadget = found;
          EnsureVisible(found);
        }
      }
      if (m_nCurGadget >= 0 && m_nCurGadget < count)
        m_gadgets.Get(m_nCurGadget)->Select(TRUE);
      return 0;
    }
    case WM_KILLFOCUS:
      CWnd::WindowProc(message, wParam, lParam);
      if (haveCurrent)
        m_gadgets.Get(m_nCurGadget)->Select(FALSE);
      SendNotify(EN_KILLFOCUS);
      return 0;
    case WM_LBUTTONDOWN: {
      if (count == 0)
        break;
      int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
      int hit = HitTest(x, y);
      if (hit < 0)
        return 0;
      SECDTGadget* pGadget = m_gadgets.Get(hit);
      if (::GetFocus() != m_hWnd) {
        if (pGadget->GetStyle() & SECDTGadget::WantFocus) {
          m_nCurGadget = hit;
          EnsureVisible(hit);
        }
        SetFocus();
      } else if ((pGadget->GetStyle() & SECDTGadget::WantFocus) && hit != m_nCurGadget) {
        if (haveCurrent)
          m_gadgets.Get(m_nCurGadget)->Select(FALSE);
        m_nCurGadget = hit;
        pGadget->Select(TRUE);
        EnsureVisible(hit);
      }
      if (pGadget->GetStyle() & SECDTGadget::WantMouse) {
        int gx = (pGadget->GetStyle() & SECDTGadget::IsFixed) ? x : x + m_nXOrigin;
        pGadget->OnLButtonDown((UINT)wParam, gx, y);
      }
      return 0;
    }
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
      if (m_pCapture != NULL) {
        int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
        if (!(m_pCapture->GetStyle() & SECDTGadget::IsFixed))
          x += m_nXOrigin;
        if (message == WM_LBUTTONUP)
          m_pCapture->OnLButtonUp((UINT)wParam, x, y);
        else
          m_pCapture->OnMouseMove((UINT)wParam, x, y);
        return 0;
      }
      break;
    case WM_CANCELMODE:
      if (m_pCapture != NULL) {
        m_pCapture->OnCancelMode();
        return 0;
      }
      break;
    case WM_ENABLE:
      Invalidate();
      break;
    case WM_SIZE:
      CWnd::WindowProc(message, wParam, lParam);
      LayoutGadgets();
      Invalidate();
      return 0;
    case WM_SYSCOLORCHANGE:
      secData.UpdateSysColors();
      for (INT_PTR i = 0; i < count; ++i)
        m_gadgets.Get(i)->OnSysColorChange();
      Invalidate();
      break;
    case WM_SETTINGCHANGE:
      RebuildGadgets();
      break;
    case WM_SETFONT:
      m_hFont = (HFONT)wParam;
      LayoutGadgets();
      Invalidate();
      return 0;
    case WM_GETFONT:
      return (LRESULT)m_hFont;
    case WM_DESTROY:
      if (m_pCapture != NULL) {
        m_pCapture = NULL;
        if (::GetCapture() == m_hWnd)
          ::ReleaseCapture();
      }
      DeleteCalendar();
      m_nCurGadget = 0;
      m_nXOrigin = 0;
      break;
    case WM_GETTEXT: {
      char* buffer = (char*)lParam;
      if (wParam == 0 || buffer == NULL || m_datetime.GetStatus() != COleDateTime::valid)
        return 0;
      CString text = GetWindowTextAll();
      int n = min(text.GetLength(), (int)wParam - 1);
      memcpy(buffer, (LPCTSTR)text, n);
      buffer[n] = '\0';
      return n;
    }
    case WM_GETTEXTLENGTH:
      if (m_datetime.GetStatus() != COleDateTime::valid)
        return 0;
      return GetWindowTextAll().GetLength();
    case 0x602:
      OnCalendarAccept();
      return 0;
    case 0x603:
      DeleteCalendar();
      return 0;
    default:
      break;
  }
  return CWnd::WindowProc(message, wParam, lParam);
}
