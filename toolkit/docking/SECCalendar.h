// A month calendar window (a title with navigation buttons, a bar of weekday names and six
// weeks of day boxes, all windowless panels) and its drop-down form.
#ifndef QUORVEL_SECCALENDAR_H
#define QUORVEL_SECCALENDAR_H

#include <afxwin.h>
#include <afxcoll.h>
#include <afxdisp.h>

class SECCalendar;

// Messages posted to the calendar's notify window.
#define SECCAL_SELECTED 0x600     // wParam the select flag, lParam the box
#define SECCAL_HIGHLIGHTED 0x601  // wParam the highlight flag, lParam the box
#define SECCAL_ACCEPT 0x602
#define SECCAL_CANCEL 0x603

// Commands of the title's buttons.
#define SECCAL_CMD_NEXTMONTH 20520
#define SECCAL_CMD_PREVYEAR 20521
#define SECCAL_CMD_NEXTYEAR 20522
#define SECCAL_CMD_PREVMONTH 20523

// A rectangle of the calendar that draws a frame, a bevel, its content and a highlight.
class SECPanel : public CObject {
  DECLARE_SERIAL(SECPanel)

 public:
  SECPanel();
  virtual ~SECPanel();

  virtual BOOL DrawHighlight(CDC* pDC);
  virtual BOOL Paint(CDC* pDC);
  virtual BOOL DrawBevel(CDC* pDC);
  virtual BOOL DrawOuterLine(CDC* pDC);
  virtual BOOL FillBackground(CDC* pDC);
  virtual BOOL DrawContent(CDC* pDC);

  BOOL Create(const RECT& rect, SECCalendar* pCal, DWORD dwWndStyle, UINT nID,
              BOOL bSelected, BOOL bHighlighted, DWORD dwStyle, DWORD dwBehaviour,
              int nBevel);
  CRect SetRect(const RECT& rect);
  CRect GetRect() const { return m_rect; }
  CRect GetInnerRect();
  CString SetText(LPCTSTR pszText);
  const CString& GetText() const { return m_strText; }
  DWORD SetStyle(DWORD dwStyle);
  DWORD GetStyle() const { return m_dwStyle; }
  DWORD SetBehaviourFlags(DWORD dwFlags);
  DWORD GetBehaviourFlags() const { return m_dwBehaviour; }
  int SetBevelWidth(int n);
  int GetBevelWidth() const { return m_nBevel; }
  int SetSecondWidth(int n);
  int GetSecondWidth() const { return m_nSecond; }
  BOOL SetSelected(BOOL bOn, BOOL bRedraw);
  BOOL SetHighlighted(BOOL bOn, BOOL bRedraw);
  BOOL GetSelected() const { return m_bSelected; }
  BOOL GetHighlighted() const { return m_bHighlighted; }
  COLORREF SetTextColor(COLORREF clr);
  COLORREF GetTextColor() const { return m_clrText; }
  void SetOtherMonthTextColor(COLORREF clr) { m_clrOtherMonth = clr; }
  COLORREF GetOtherMonthTextColor() const { return m_clrOtherMonth; }
  BOOL HitTest(CPoint pt) const;
  // The content inset (where the content begins inside the rectangle).
  int GetContentInset();
  // Mouse actions the calendar does not route: each sounds the asterisk beep.
  void OnMouseAction1(UINT, CPoint) { ::MessageBeep(MB_ICONASTERISK); }
  void OnMouseAction2(UINT, CPoint) { ::MessageBeep(MB_ICONASTERISK); }
  void OnMouseAction3(UINT, CPoint) { ::MessageBeep(MB_ICONASTERISK); }

 protected:
  void ComputeBands();
  BOOL DrawBand(CDC* pDC, int a, int b, COLORREF topLeft, COLORREF bottomRight);
  void Redraw();
  // The panel's text, opaque on the inner rectangle, centred or at a tenth of it.
  BOOL DrawText(CDC* pDC, const CString& text, COLORREF color);

  COLORREF m_clrOtherMonth;
  SECCalendar* m_pCal;
  DWORD m_dwBehaviour;
  DWORD m_dwStyle;
  CString m_strText;
  CRect m_rect;
  int m_nBevel;
  int m_nSecond;
  BOOL m_bSelected;
  BOOL m_bHighlighted;
  COLORREF m_clrOuter;
  COLORREF m_clrHighlight;
  COLORREF m_clrText;
  BOOL m_bDirty;
  BOOL m_bCreated;
  int m_nBands[4];  // outer line start, outer end, bevel end, highlight end (content inset)
};

class SECCalTitle : public SECPanel {
  DECLARE_SERIAL(SECCalTitle)

 public:
  SECCalTitle();
  virtual ~SECCalTitle();
  virtual BOOL Paint(CDC* pDC) override;
  virtual CRect SetRect(const RECT& rect);
  virtual void SetTitleDate(const COleDateTime& date);
  BOOL Create(const RECT& rect, SECCalendar* pCal, DWORD dwWndStyle, UINT nID,
              BOOL bSelected, BOOL bHighlighted, DWORD dwStyle, DWORD dwBehaviour,
              int nBevel);
  CSize MeasureText(CDC* pDC, CFont* pFont = NULL);
  LOGFONT FitFont(CDC* pDC, const LOGFONT* pLogFont = NULL, const RECT* pRect = NULL);
  CWnd* GetButton(int i) { return &m_buttons[i]; }  // "<<", "<", ">", ">>"
  void NextYear();
  void PrevYear();
  void NextMonth();
  void PrevMonth();

 protected:
  SECCalendar* m_pCalendar;
  CWnd m_buttons[4];
  BOOL m_bYearButtons;
  BOOL m_bMonthButtons;
};

class SECDayBar : public SECPanel {
 public:
  SECDayBar();
  virtual BOOL DrawContent(CDC* pDC) override;
  void SetFirstDayOfWeek(int nDay) { m_nFirstDay = nDay; }
  int GetFirstDayOfWeek() const { return m_nFirstDay; }
  CSize MeasureText(CDC* pDC, CFont* pFont = NULL);
  LOGFONT FitFont(CDC* pDC, const LOGFONT* pLogFont = NULL, const RECT* pRect = NULL);
  // Column i (1 to 7) of an inner rectangle, left and right edges.
  static void Column(const CRect& inner, int i, int& left, int& right);

 protected:
  int m_nFirstDay;
};

class SECDayBox : public SECPanel {
  DECLARE_SERIAL(SECDayBox)

 public:
  SECDayBox();
  virtual BOOL DrawContent(CDC* pDC) override;
  COleDateTime SetDate(const COleDateTime& date);
  const COleDateTime& GetDate() const { return m_date; }
  BOOL SetOtherMonth(BOOL bOther);
  BOOL GetOtherMonth() const { return m_bOtherMonth; }
  void OnClick();
  void OnRightClick();
  void OnDoubleClick();
  CSize MeasureText(CDC* pDC, CFont* pFont = NULL);
  LOGFONT FitFont(CDC* pDC, const LOGFONT* pLogFont = NULL, const RECT* pRect = NULL);

 protected:
  COleDateTime m_date;
  BOOL m_bOtherMonth;
  BOOL m_bHasDate;
};

class SECCalendar : public CWnd {
  DECLARE_SERIAL(SECCalendar)

 public:
  SECCalendar();
  virtual ~SECCalendar();
  virtual void Serialize(CArchive& ar) override;

  virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
                      CCreateContext* pContext = NULL);
  virtual BOOL NextDay(BOOL bMoveSelection);
  virtual BOOL PrevDay(BOOL bMoveSelection);
  virtual BOOL NextWeek(BOOL bMoveSelection);
  virtual BOOL PrevWeek(BOOL bMoveSelection);
  virtual BOOL NextMonth(BOOL bMoveSelection);
  virtual BOOL PrevMonth(BOOL bMoveSelection);
  virtual BOOL NextYear(BOOL bMoveSelection);
  virtual BOOL PrevYear(BOOL bMoveSelection);
  virtual BOOL MoveSelection(const int* pSeconds);
  virtual BOOL MoveSelection(const COleDateTimeSpan& span);
  virtual BOOL Scroll(const int* pSeconds);
  virtual BOOL Scroll(const COleDateTimeSpan& span);
  virtual BOOL HighlightDate(DATE date, BOOL bOn);
  virtual BOOL HighlightDate(const COleDateTime& date, BOOL bOn);
  virtual BOOL SelectDate(DATE date, BOOL bSelect);
  virtual BOOL SelectDate(COleDateTime date, BOOL bSelect);
  virtual BOOL ToggleSelection(DATE date);
  virtual BOOL ToggleSelection(const COleDateTime& date);
  virtual BOOL ToggleHighlight(DATE date);
  virtual BOOL ToggleHighlight(const COleDateTime& date);
  virtual BOOL IsDateAllowed(int nYear, int nMonth, int nDay);
  virtual void LoadColors();
  virtual void OnDateRefused();
  virtual UINT GetClassStyle();

  BOOL SetDate(const COleDateTime& date, BOOL bRedraw);
  BOOL SetDate(DATE date, BOOL bRedraw);
  const COleDateTime& GetDisplayedDate() const { return m_dateDisplayed; }
  SECDayBox* GetSelectedBox() const { return m_pSelectedBox; }
  const COleDateTime* GetSelection() const { return m_pSelection; }
  const COleDateTime& GetSelectedDate() const { return m_dateSelected; }
  const COleDateTime& GetFocusDate() const { return m_dateFocus; }
  UINT GetHighlightCount() const { return (UINT)m_highlights.GetCount(); }
  UINT GetHighlightedDates(COleDateTime* pOut, UINT nMax) const;
  void ClearHighlights();
  BOOL IsHighlighted(const COleDateTime& date) const;
  int GetFirstDayOfWeek() const { return m_dayBar.GetFirstDayOfWeek(); }
  void SetFirstDayOfWeek(int nDay, BOOL bRedraw);
  DWORD GetCalendarStyle() const { return m_dwCalStyle; }
  DWORD SetCalendarStyle(DWORD dw);
  DWORD GetOtherMonthDayStyle() const { return m_dwOtherDayStyle; }
  DWORD SetOtherMonthDayStyle(DWORD dw);
  DWORD GetTitleStyle() const { return m_dwTitleStyle; }
  DWORD SetTitleStyle(DWORD dw);
  CWnd* GetNotifyWnd() const { return m_pNotifyWnd; }
  void SetNotifyWnd(CWnd* pWnd) { m_pNotifyWnd = pWnd; }
  COLORREF GetDayTextColor() const { return m_clrDayText; }
  COLORREF SetDayTextColor(COLORREF clr);
  CRect MoveCalendar(const RECT& rect);
  SECDayBox& GetDayBox(int i) { return m_days[i]; }
  SECCalTitle& GetTitle() { return m_title; }
  SECDayBar& GetDayBar() { return m_dayBar; }
  CFont& GetTitleFont() { return m_fontTitle; }
  CFont& GetDayBarFont() { return m_fontDayBar; }
  CFont& GetDayFont() { return m_fontDay; }
  const LOGFONT& GetTitleLogFont() const { return m_lfTitle; }
  const LOGFONT& GetDayBarLogFont() const { return m_lfDayBar; }
  const LOGFONT& GetDayLogFont() const { return m_lfDay; }
  COLORREF GetButtonFaceColor() const { return m_clrButtonFace; }
  void CalcSize(CRect& rect, CDC* pDC = NULL);
  void FitFonts(CDC* pDC);
  void LayoutPanels();

 protected:
  // Makes the panels, shows the month and fits the fonts once the window exists.
  BOOL BuildPanels(CWnd* pParentWnd, UINT nID);
  void FillBoxes();
  void Accept();
  void Cancel();
  BOOL CheckMove(const COleDateTime& from, const COleDateTimeSpan& span);
  BOOL Reselect();
  int BoxAt(CPoint pt) const;
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnPaint();
  // The title, the day bar and the visible day boxes, each with its font.
  void PaintPanels(CDC* pDC);
  void OnKeyDown(UINT nChar);

  SECDayBar m_dayBar;
  SECCalTitle m_title;
  int m_nBorder;
  CWnd* m_pNotifyWnd;
  CWnd* m_pParent;
  BOOL m_bCreated;
  COleDateTime m_dateDisplayed;
  COleDateTime m_dateSelected;
  COleDateTime* m_pSelection;
  COleDateTime m_dateFocus;
  SECDayBox m_days[42];
  SECDayBox* m_pSelectedBox;
  BOOL m_bTracking;
  BOOL m_bRestore;
  COleDateTime m_dateRestore;
  CObList m_highlights;
  LOGFONT m_lfTitle;
  LOGFONT m_lfDayBar;
  LOGFONT m_lfDay;
  CFont m_fontTitle;
  CFont m_fontDayBar;
  CFont m_fontDay;
  COLORREF m_clrDayText;
  COLORREF m_clrButtonText;
  COLORREF m_clrDayBarText;
  COLORREF m_clrButtonFace;
  COLORREF m_clrTitleText;
  COLORREF m_clrTitleBk;
  COLORREF m_clrGrayText;
  DWORD m_dwOtherDayStyle;
  DWORD m_dwTitleStyle;
  DWORD m_dwCalStyle;
};

class SECPopupCalendar : public SECCalendar {
  DECLARE_DYNAMIC(SECPopupCalendar)

 public:
  SECPopupCalendar();
  virtual ~SECPopupCalendar();
  virtual UINT GetClassStyle() override;
  virtual BOOL Create(DWORD dwStyle, const RECT& ownerRect, CWnd* pOwner, UINT nID);
  using SECCalendar::Create;
  int SetMode(int nMode);
  int GetMode() const { return m_bMode1 ? 1 : 2; }

 protected:
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL m_bMode1;
};

#endif  // QUORVEL_SECCALENDAR_H
