// A date/time edit: one COleDateTime shown as a row of fields (gadgets) laid out from a
// format string, with optional spin and drop-down buttons, a range and a null state.
#ifndef QUORVEL_SECDATETIMECTRL_H
#define QUORVEL_SECDATETIMECTRL_H

#include <afxwin.h>
#include <afxcoll.h>
#include <afxdisp.h>

#include "SECDTFormat.h"

class SECDateTimeCtrl;
class SECPopupCalendar;

// Style bits of the control's window.
#define SEC_DTS_CALENDAR 0x0001L       // drop-down button and calendar
#define SEC_DTS_UPDOWN 0x0002L         // spin buttons
#define SEC_DTS_Y2K_NOFIX 0x0010L      // a two-digit year keeps the value's century
#define SEC_DTS_Y2K_CONTEXT 0x0020L    // a two-digit year lands around the value's year

// Gadget notification codes.
enum {
  SECDT_GN_INC = 1, SECDT_GN_DEC = 2, SECDT_GN_SPININC = 3, SECDT_GN_SPINDEC = 4,
  SECDT_GN_CLICKED = 5, SECDT_GN_VALIDATE = 6, SECDT_GN_MODIFY = 7, SECDT_GN_HOME = 8,
  SECDT_GN_END = 9, SECDT_GN_EDIT = 10, SECDT_GN_FULL = 11
};

// A windowless piece of the control: measures, draws and turns input into notifications.
class SECDTGadget : public CObject {
  DECLARE_DYNAMIC(SECDTGadget)

 public:
  enum { WantFocus = 1, WantMouse = 2, IsFixed = 4, IsNull = 8 };

  SECDTGadget();
  virtual ~SECDTGadget();

  virtual void GetText(CString& text) const;
  virtual void CalcSize(CDC* pDC) = 0;
  virtual void Draw(CDC* pDC) = 0;
  virtual BOOL Select(BOOL bOn);
  virtual void OnKeyDown(UINT nChar);
  virtual void OnChar(UINT nChar);
  virtual void OnLButtonDown(UINT nFlags, int x, int y);
  virtual void OnLButtonUp(UINT nFlags, int x, int y);
  virtual void OnMouseMove(UINT nFlags, int x, int y);
  virtual void OnCancelMode();
  virtual void OnTimer();
  virtual void OnSysColorChange();

  BOOL Initialise(SECDateTimeCtrl* pCtrl, int nID);
  int GetStyle() const { return m_style; }
  void SetStyle(int style) { m_style = style; }
  int GetValue() const { return m_nValue; }
  void SetValue(int nValue);
  int GetID() const { return m_nID; }
  const CRect& GetRect() const { return m_rect; }
  void SetRect(const RECT& rect) { m_rect = rect; }
  BOOL IsSelected() const { return m_bSelected; }

  BOOL Notify(int nCode, int nID, int nValue);
  void Invalidate(BOOL bUpdateNow = FALSE);
  void CaptureMouse(BOOL bOn);
  void StartTimer(UINT nMilliseconds);
  void StopTimer();
  // The procedure of the gadgets' thread timers: calls the gadget's OnTimer.
  static void CALLBACK TimerProc(HWND hWnd, UINT nMsg, UINT_PTR nIDEvent, DWORD dwTime);
  UINT_PTR GetTimerID() const;

 protected:
  // The text drawn in the control's or the highlight colours.
  void DrawText(CDC* pDC, const CString& text, UINT nFormat, BOOL bHighlight);

  CRect m_rect;
  BOOL m_bSelected;
  int m_style;
  int m_nID;
  int m_nValue;
  SECDateTimeCtrl* m_pCtrl;
};

class SECDTNumericGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTNumericGadget)

 public:
  SECDTNumericGadget();
  BOOL Initialise(SECDateTimeCtrl* pCtrl, int nMin, int nMax, int nValue, BOOL bLeadZero,
                  int nID);
  virtual void GetText(CString& text) const override;
  virtual void CalcSize(CDC* pDC) override;
  virtual void Draw(CDC* pDC) override;
  virtual BOOL Select(BOOL bOn) override;
  virtual void OnKeyDown(UINT nChar) override;
  virtual void OnChar(UINT nChar) override;
  virtual void OnCancelMode() override;
  int GetDigits() const { return m_nDigits; }
  BOOL IsTyping() const { return m_nNewDigits > 0; }

 protected:
  BOOL Commit();

  int m_nMin;
  int m_nMax;
  int m_nDigits;
  int m_nNewValue;
  int m_nNewDigits;
  BOOL m_bLeadZero;
};

class SECDTListGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTListGadget)

 public:
  SECDTListGadget();
  virtual ~SECDTListGadget();
  BOOL Initialise(SECDateTimeCtrl* pCtrl, const CStringArray* pItems, int nValue, int nID);
  virtual void GetText(CString& text) const override;
  virtual void CalcSize(CDC* pDC) override;
  virtual void Draw(CDC* pDC) override;
  virtual BOOL Select(BOOL bOn) override;
  virtual void OnKeyDown(UINT nChar) override;
  virtual void OnChar(UINT nChar) override;
  virtual void OnTimer() override;
  // From start (wrapped into the list), round the list once: the first item beginning with
  // the prefix (case ignored) that the control accepts is applied; its index, or -1.
  int FindItem(LPCTSTR pszPrefix, int nStart);
  const CString& GetPrefix() const { return m_strPrefix; }

 protected:
  void StopSearch();

  CStringArray m_items;
  char m_cPending[3];
  CString m_strPrefix;
  BOOL m_bSearching;
};

class SECDTStaticGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTStaticGadget)

 public:
  SECDTStaticGadget();
  BOOL Initialise(SECDateTimeCtrl* pCtrl, LPCTSTR pszText, int nID);
  virtual void GetText(CString& text) const override;
  virtual void CalcSize(CDC* pDC) override;
  virtual void Draw(CDC* pDC) override;
  const CString& GetCaption() const { return m_strText; }

 protected:
  CString m_strText;
};

class SECDTSpinGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTSpinGadget)

 public:
  enum { UpPressed = 0x01, DownPressed = 0x02, TrackUp = 0x04, TrackDown = 0x08,
         TimerRunning = 0x10, InitialDelay = 0x20 };
  SECDTSpinGadget();
  BOOL Initialise(SECDateTimeCtrl* pCtrl, int nID);
  virtual void CalcSize(CDC* pDC) override;
  virtual void Draw(CDC* pDC) override;
  virtual void OnLButtonDown(UINT nFlags, int x, int y) override;
  virtual void OnLButtonUp(UINT nFlags, int x, int y) override;
  virtual void OnMouseMove(UINT nFlags, int x, int y) override;
  virtual void OnCancelMode() override;
  virtual void OnTimer() override;
  int GetState() const { return m_nState; }

 protected:
  // 0 outside, 1 the upper button, 2 the lower one.
  int ButtonAt(int x, int y) const;
  void DrawArrowButton(CDC* pDC, CRect rect, BOOL bUp, BOOL bPressed);

  int m_nState;
  int m_nCount;
};

class SECDTButtonGadget : public SECDTGadget {
  DECLARE_DYNCREATE(SECDTButtonGadget)

 public:
  SECDTButtonGadget();
  virtual ~SECDTButtonGadget();
  BOOL Initialise(SECDateTimeCtrl* pCtrl, UINT nBmpID, int nID);
  virtual void CalcSize(CDC* pDC) override;
  virtual void Draw(CDC* pDC) override;
  virtual void OnLButtonDown(UINT nFlags, int x, int y) override;
  virtual void OnLButtonUp(UINT nFlags, int x, int y) override;
  virtual void OnMouseMove(UINT nFlags, int x, int y) override;
  virtual void OnCancelMode() override;
  virtual void OnSysColorChange() override;
  HBITMAP GetBitmap() const { return (HBITMAP)m_bmp.GetSafeHandle(); }

 protected:
  int m_nState;  // 0x01 tracking, 0x02 pressed look
  CBitmap m_bmp;
  UINT m_nBmpID;
};

class SECDateTimeCtrl : public CWnd {
  DECLARE_DYNAMIC(SECDateTimeCtrl)

 public:
  enum FormatType { Time = 0, ShortDate = 1, LongDate = 2, Custom = 3 };
  enum RangeType { NoRange = 0, TimeRange = 1, DateRange = 2, DateTimeRange = 3 };

  class SECDTGadgetArray : public CObArray {
   public:
    SECDTGadget* Get(INT_PTR i) const { return (SECDTGadget*)GetAt(i); }
  };

  SECDateTimeCtrl();
  virtual ~SECDateTimeCtrl();

  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
              CCreateContext* pContext = NULL);
  BOOL Create(DWORD dwExStyle, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID,
              CCreateContext* pContext = NULL);
  // Replaces the parent's item nID with the control (its place, size and tab position).
  BOOL AttachDateTime(UINT nID, CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwWinStyle,
                      DWORD dwExStyle = 0);

  void SetFormat(int nType);
  void SetCustomFormat(LPCTSTR pszFormat);
  void GetFormatType(int* pType) const { *pType = m_nFormatType; }
  void GetFormat(CString& format) const;
  void SetNoEditFields(DWORD dwMask);
  DWORD GetNoEditFields() const { return m_dwNoEdit; }
  void SetFastEntry(BOOL bOn) { m_bAutoAdvance = m_bTabBetween = bOn; }
  void SetFastEntry(BOOL bAutoAdvance, BOOL bTabBetween);
  BOOL GetFastEntry() const { return m_bAutoAdvance; }
  void SizeToContent();
  void EnsureVisible(int nIndex);

  BOOL SetDateTime(const COleDateTime& value);
  BOOL SetDate(const COleDateTime& value);
  BOOL SetTime(const COleDateTime& value);
  const COleDateTime& GetDateTime() const { return m_datetime; }
  BOOL SetMinMax(const COleDateTime& minimum, const COleDateTime& maximum, int nRangeType);
  int GetMinMax(COleDateTime& minimum, COleDateTime& maximum) const;
  BOOL IsInRange(const COleDateTime& value) const;
  void SetNull(char cPlaceholder);
  void SetModified(BOOL bModified) { SetModified(bModified, bModified); }
  void SetModified(BOOL bUser, BOOL bOwner);
  BOOL IsModified() const { return (m_nModified & 3) != 0; }
  void GetModified(int* pUser, int* pOwner) const;
  BOOL IsTyping() const { return (m_nModified & 4) != 0; }

  // What the gadgets use of their control.
  char GetNullChar() const { return m_cNullChar; }
  COLORREF GetBkColor() const { return m_bkColor; }
  COLORREF GetTextColor() const { return m_textColor; }
  void InvalidateGadget(SECDTGadget* pGadget, BOOL bUpdateNow);
  void CaptureMouse(SECDTGadget* pGadget, BOOL bOn);

  // Inspection.
  INT_PTR GetGadgetCount() const { return m_gadgets.GetSize(); }
  SECDTGadget* GetGadget(INT_PTR i) const { return m_gadgets.Get(i); }
  int GetCurrentGadget() const { return m_nCurGadget; }
  int GetScrollOffset() const { return m_nXOrigin; }
  SECPopupCalendar* GetPopupCalendar() const { return m_pPopupCalendar; }
  UINT GetDropDownBitmapID() const { return m_nBmpID; }
  void SetParentColors(BOOL bOn) { m_bParentColors = bOn; }

  virtual BOOL Validate(COleDateTime& value, int nLevel);
  virtual BOOL OnChanging(const COleDateTime& newValue);
  virtual void OnChanged();
  virtual void BuildGadgets();
  virtual int GetCentury(int nYear, int nTwoDigitYear);
  virtual void LayoutGadgets();
  virtual void Draw(CDC* pDC);
  virtual void PopupCalendar();
  virtual SECPopupCalendar* CreatePopupCalendar();
  virtual BOOL OnGadgetNotify(int nCode, int nID, int nValue);
  virtual void AdjustMonthName(CString& name);
  virtual void AdjustDayName(CString& name);

  void RefreshFields(DWORD dwIDMask);
  void RebuildGadgets();
  BOOL NextField();
  BOOL PrevField();

 protected:
  struct Parts {
    int year, month, day, hour, minute, second, dayOfWeek;
  };
  struct Entry {
    WORD blank;    // 0x01 hour, 0x02 minute, 0x04 second, 0x08 year, 0x10 month,
                   // 0x20 day, 0x40 day of week
    WORD present;
    BOOL entering;
    int hour, minute, second;
    int year, month, day, dayOfWeek;
  };
  enum { EntryHour = 0x01, EntryMinute = 0x02, EntrySecond = 0x04, EntryYear = 0x08,
         EntryMonth = 0x10, EntryDay = 0x20, EntryDayOfWeek = 0x40 };

  static BOOL Split(const COleDateTime& value, Parts& parts);
  static BOOL Build(const Parts& parts, COleDateTime& value);
  void StartEntry();
  WORD PresentMask() const;
  BOOL IsBlank(WORD bit) const { return (m_entry.blank & m_entry.present & bit) != 0; }
  void CompleteEntry(BOOL bNotify);
  void StoreValue(const COleDateTime& value);  // refreshes the changed fields
  void SendNotify(UINT nCode);
  int HitTest(int x, int y) const;
  void DeleteGadgets(INT_PTR nFrom);
  void DeleteCalendar();
  CString GetWindowTextAll() const;
  void PaintNonClient();
  // The background and text colours of this paint (the parent may give its own), then the
  // gadgets drawn off screen and copied.
  void Paint(HDC hdc, const CRect& clip);

  BOOL OnHour(int nCode, int nID, int nValue);
  BOOL OnMinute(int nCode, int nID, int nValue);
  BOOL OnSecond(int nCode, int nID, int nValue);
  BOOL OnAmPm(int nCode, int nID, int nValue);
  BOOL OnDay(int nCode, int nID, int nValue);
  BOOL OnMonth(int nCode, int nID, int nValue);
  BOOL OnYear(int nCode, int nID, int nValue);
  // Common end of a field change: step 3 (entry) or step 4 of the field handlers.
  BOOL ApplyTime(int nCode, int nEntryBit, int* pEntryField, int nValue, int nLevel,
                 Parts parts);
  BOOL ApplyDate(int nCode, int nLevel, Parts parts, BOOL bEntryStored);
  BOOL FinishEntryField();
  void OnCalendarAccept();

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  DWORD m_nModified;
  DWORD m_dwNoEdit;
  BOOL m_bAutoAdvance;
  BOOL m_bTabBetween;
  BOOL m_bParentColors;
  COleDateTime m_datetime;
  COleDateTime m_minDate;
  COleDateTime m_maxDate;
  int m_nRangeType;
  int m_nFormatType;
  CString m_strCustomFormat;
  HFONT m_hFont;
  int m_nCurGadget;
  int m_nXOrigin;
  int m_nFixedWidth;
  int m_nFixed;
  SECDTGadget* m_pCapture;
  SECPopupCalendar* m_pPopupCalendar;
  char m_cNullChar;
  COLORREF m_bkColor;
  COLORREF m_textColor;
  int m_nBkDisabled;
  int m_nTextDisabled;
  UINT m_nBmpID;
  CRuntimeClass* m_pListClass;
  CRuntimeClass* m_pNumericClass;
  CRuntimeClass* m_pStaticClass;
  CRuntimeClass* m_pButtonClass;
  CRuntimeClass* m_pSpinClass;
  Entry m_entry;
  SECDTGadgetArray m_gadgets;
};

#endif  // QUORVEL_SECDATETIMECTRL_H
