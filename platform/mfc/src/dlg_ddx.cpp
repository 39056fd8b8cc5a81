// Dialog data exchange (DDX_) and validation (DDV_), and CWnd::UpdateData.
#include "afxwin.h"
#include "afxpriv.h"
#include "dlg_parse.h"

#include <float.h>
#include <type_traits>

// The framework's data-exchange prompts.
static const char kParseInt[] = "Please enter an integer.";
static const char kParseReal[] = "Please enter a number.";
static const char kParseIntRange[] = "Please enter an integer between %1 and %2.";
static const char kParseRealRange[] = "Please enter a number between %1 and %2.";
static const char kParseStringSize[] = "Please enter no more than %1 characters.";
static const char kParseByte[] = "Please enter an integer between 0 and 255.";
static const char kParseUInt[] = "Please enter a positive integer.";

// ---------------------------------------------------------------------------------------------
// CDataExchange

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_hWndLastControl(NULL),
      m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
    if (hWndCtrl == NULL) {
        // A member bound to a control the template does not have is a programming error
        // that must not pass silently.
        AfxTrace("data exchange: no control with id %d\n", nIDC);
        AfxThrowNotSupportedException();
    }
    m_hWndLastControl = hWndCtrl;
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_hWndLastControl != NULL) {
        ::SetFocus(m_hWndLastControl);
        if (m_bEditLastControl)
            ::SendMessageA(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
    AfxThrowUserException();
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    // Control notifications caused by the exchange itself (EN_CHANGE when a text is set)
    // are not handed to the window's handlers.
    AFX_THREAD_STATE* pState = AfxGetThreadState();
    HWND hWndOldLockout = pState->m_hLockoutNotifyWindow;
    pState->m_hLockoutNotifyWindow = m_hWnd;
    BOOL bOK = FALSE;
    try {
        DoDataExchange(&dx);
        bOK = TRUE;
    } catch (CUserException* e) {
        e->Delete();  // a failed check: the user has been told
    } catch (CException* e) {
        e->ReportError(MB_ICONEXCLAMATION);
        e->Delete();
    }
    pState->m_hLockoutNotifyWindow = hWndOldLockout;
    return bOK;
}

// ---------------------------------------------------------------------------------------------
// Helpers

static void GetText(HWND hWnd, CString& value)
{
    int nLen = ::GetWindowTextLengthA(hWnd);
    ::GetWindowTextA(hWnd, value.GetBufferSetLength(nLen), nLen + 1);
    value.ReleaseBuffer();
}

// Sets a control's text only when it changes, so an exchange does not make the control
// flicker or report a change that did not happen.
static void SetText(HWND hWnd, LPCTSTR lpszNew)
{
    int nNewLen = lstrlenA(lpszNew);
    char szOld[256];
    if (nNewLen > (int)sizeof(szOld) - 1 ||
        ::GetWindowTextA(hWnd, szOld, sizeof(szOld)) != nNewLen || lstrcmpA(szOld, lpszNew) != 0)
        ::SetWindowTextA(hWnd, lpszNew);
}

static void Prompt(LPCTSTR lpszFormat, LPCTSTR lpsz1 = NULL, LPCTSTR lpsz2 = NULL)
{
    CString prompt;
    LPCTSTR args[2] = {lpsz1, lpsz2};
    AfxFormatStrings(prompt, lpszFormat, args, lpsz2 != NULL ? 2 : lpsz1 != NULL ? 1 : 0);
    AfxMessageBox(prompt, MB_ICONEXCLAMATION);
}

template <class T>
static void TextSigned(CDataExchange* pDX, int nIDC, T& value, long long lo, long long hi,
                       LPCTSTR lpszBadPrompt)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        GetText(hWndCtrl, text);
        long long v;
        if (!DdxParseInteger(text, TRUE, lo, hi, &v)) {
            Prompt(lpszBadPrompt);
            pDX->Fail();
        }
        value = (T)v;
    } else {
        char buf[32];
        snprintf(buf, sizeof(buf), "%ld", (long)value);
        SetText(hWndCtrl, buf);
    }
}

template <class T>
static void TextUnsigned(CDataExchange* pDX, int nIDC, T& value, unsigned long long hi,
                         LPCTSTR lpszBadPrompt)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        GetText(hWndCtrl, text);
        long long v;
        if (!DdxParseInteger(text, FALSE, 0, (long long)hi, &v)) {
            Prompt(lpszBadPrompt);
            pDX->Fail();
        }
        value = (T)v;
    } else {
        char buf[32];
        snprintf(buf, sizeof(buf), "%lu", (unsigned long)value);
        SetText(hWndCtrl, buf);
    }
}

// ---------------------------------------------------------------------------------------------
// Text

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    TextUnsigned(pDX, nIDC, value, 255, kParseByte);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    TextSigned(pDX, nIDC, value, -32768, 32767, kParseInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    TextSigned(pDX, nIDC, value, INT_MIN, INT_MAX, kParseInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    TextUnsigned(pDX, nIDC, value, UINT_MAX, kParseUInt);
}

// `long` is a 32-bit value in the program's stored forms and interfaces, whatever its
// width here: a text that does not fit 32 bits is refused rather than kept wider.
void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    TextSigned(pDX, nIDC, value, INT_MIN, INT_MAX, kParseInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, unsigned long& value)
{
    TextUnsigned(pDX, nIDC, value, UINT_MAX, kParseUInt);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        GetText(hWndCtrl, text);
        double d;
        if (!DdxParseReal(text, &d) || d > FLT_MAX || d < -FLT_MAX) {
            Prompt(kParseReal);
            pDX->Fail();
        }
        value = (float)d;
    } else {
        SetText(hWndCtrl, DdxFormatReal(value, FLT_DIG));
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        CString text;
        GetText(hWndCtrl, text);
        double d;
        if (!DdxParseReal(text, &d)) {
            Prompt(kParseReal);
            pDX->Fail();
        }
        value = d;
    } else {
        SetText(hWndCtrl, DdxFormatReal(value, DBL_DIG));
    }
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        GetText(hWndCtrl, value);
    else
        SetText(hWndCtrl, value);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, LPTSTR value, int nMaxLen)
{
    HWND hWndCtrl = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        ::GetWindowTextA(hWndCtrl, value, nMaxLen);
    } else {
        ::SendMessageA(hWndCtrl, EM_LIMITTEXT, nMaxLen - 1, 0);
        SetText(hWndCtrl, value);
    }
}

// ---------------------------------------------------------------------------------------------
// Buttons

void AFXAPI DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = (int)::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0);
    } else {
        if (value < 0 || value > 2)
            value = 0;  // not a check state: shown unchecked
        ::SendMessageA(hWndCtrl, BM_SETCHECK, (WPARAM)value, 0);
    }
}

void AFXAPI DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    // nIDC is the first button of a group: the group runs to the next control with
    // WS_GROUP, and value is the index of the checked radio button in it (-1 for none).
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = -1;
    int iButton = 0;
    do {
        if (::SendMessageA(hWndCtrl, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) {
            if (pDX->m_bSaveAndValidate) {
                if (::SendMessageA(hWndCtrl, BM_GETCHECK, 0, 0) != 0)
                    value = iButton;
            } else {
                ::SendMessageA(hWndCtrl, BM_SETCHECK, iButton == value, 0);
            }
            iButton++;
        }
        hWndCtrl = ::GetWindow(hWndCtrl, GW_HWNDNEXT);
    } while (hWndCtrl != NULL && !(::GetWindowLongA(hWndCtrl, GWL_STYLE) & WS_GROUP));
}

// ---------------------------------------------------------------------------------------------
// Lists

static void ListText(HWND hWnd, int nIndex, CString& value, UINT msgLen, UINT msgText)
{
    int nLen = (int)::SendMessageA(hWnd, msgLen, nIndex, 0);
    if (nLen < 0) {
        value.Empty();
        return;
    }
    ::SendMessageA(hWnd, msgText, nIndex, (LPARAM)value.GetBufferSetLength(nLen));
    value.ReleaseBuffer(nLen);
}

void AFXAPI DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        int nIndex = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
        if (nIndex != LB_ERR)
            ListText(hWndCtrl, nIndex, value, LB_GETTEXTLEN, LB_GETTEXT);
        else
            value.Empty();
    } else {
        // The first item that begins with the value is selected; none matching leaves the
        // selection as it was.
        ::SendMessageA(hWndCtrl, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value);
    }
}

void AFXAPI DDX_LBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_LBString(pDX, nIDC, value);
    } else {
        int nIndex = (int)::SendMessageA(hWndCtrl, LB_FINDSTRINGEXACT, (WPARAM)-1,
                                         (LPARAM)(LPCTSTR)value);
        if (nIndex >= 0)
            ::SendMessageA(hWndCtrl, LB_SETCURSEL, nIndex, 0);
    }
}

void AFXAPI DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWndCtrl, LB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWndCtrl, LB_SETCURSEL, index, 0);
}

static BOOL IsDropList(HWND hWndCombo)
{
    return (::GetWindowLongA(hWndCombo, GWL_STYLE) & 0x3) == CBS_DROPDOWNLIST;
}

void AFXAPI DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        if (IsDropList(hWndCtrl)) {
            // A drop list has no edit: its value is the selected item's text.
            int nIndex = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
            if (nIndex != CB_ERR)
                ListText(hWndCtrl, nIndex, value, CB_GETLBTEXTLEN, CB_GETLBTEXT);
            else
                value.Empty();
        } else {
            GetText(hWndCtrl, value);
        }
    } else if (::SendMessageA(hWndCtrl, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)(LPCTSTR)value) ==
               CB_ERR) {
        // Not in the list: an edit shows the text as typed (a drop list ignores it).
        SetText(hWndCtrl, value);
    }
}

void AFXAPI DDX_CBStringExact(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        DDX_CBString(pDX, nIDC, value);
    } else {
        int nIndex = (int)::SendMessageA(hWndCtrl, CB_FINDSTRINGEXACT, (WPARAM)-1,
                                         (LPARAM)(LPCTSTR)value);
        if (nIndex >= 0)
            ::SendMessageA(hWndCtrl, CB_SETCURSEL, nIndex, 0);
        else
            SetText(hWndCtrl, value);
    }
}

void AFXAPI DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = (int)::SendMessageA(hWndCtrl, CB_GETCURSEL, 0, 0);
    else
        ::SendMessageA(hWndCtrl, CB_SETCURSEL, index, 0);
}

// ---------------------------------------------------------------------------------------------
// Scroll bars, sliders and control members

void AFXAPI DDX_Scroll(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = ::GetScrollPos(hWndCtrl, SB_CTL);
    else
        ::SetScrollPos(hWndCtrl, SB_CTL, value, TRUE);
}

void AFXAPI DDX_Slider(CDataExchange* pDX, int nIDC, int& value)
{
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = (int)::SendMessageA(hWndCtrl, TBM_GETPOS, 0, 0);
    else
        ::SendMessageA(hWndCtrl, TBM_SETPOS, TRUE, value);
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd != NULL)
        return;  // bound by an earlier exchange
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(hWndCtrl)) {
        AfxTrace("data exchange: control %d cannot be bound\n", nIDC);
        AfxThrowNotSupportedException();
    }
}

// ---------------------------------------------------------------------------------------------
// Validation: only when saving; a value out of range tells the user and fails the exchange
// with the focus on the field exchanged last.

static void FailRange(CDataExchange* pDX, LPCTSTR lpszFormat, LPCTSTR lpszMin, LPCTSTR lpszMax)
{
    if (!pDX->m_bSaveAndValidate)
        return;
    Prompt(lpszFormat, lpszMin, lpszMax);
    pDX->Fail();
}

static void FailIntRange(CDataExchange* pDX, long long lo, long long hi)
{
    char szMin[32], szMax[32];
    snprintf(szMin, sizeof(szMin), "%ld", (long)lo);
    snprintf(szMax, sizeof(szMax), "%ld", (long)hi);
    FailRange(pDX, kParseIntRange, szMin, szMax);
}

static void FailUIntRange(CDataExchange* pDX, unsigned long long lo, unsigned long long hi)
{
    char szMin[32], szMax[32];
    snprintf(szMin, sizeof(szMin), "%lu", (unsigned long)lo);
    snprintf(szMax, sizeof(szMax), "%lu", (unsigned long)hi);
    FailRange(pDX, kParseIntRange, szMin, szMax);
}

static void FailRealRange(CDataExchange* pDX, double lo, double hi, int nDigits)
{
    FailRange(pDX, kParseRealRange, DdxFormatReal(lo, nDigits), DdxFormatReal(hi, nDigits));
}

template <class T>
static void CheckRange(CDataExchange* pDX, T value, T minVal, T maxVal)
{
    if (value >= minVal && value <= maxVal)
        return;
    if (std::is_signed<T>::value)
        FailIntRange(pDX, (long long)minVal, (long long)maxVal);
    else
        FailUIntRange(pDX, (unsigned long long)minVal, (unsigned long long)maxVal);
}

void AFXAPI DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minVal, BYTE maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void AFXAPI DDV_MinMaxShort(CDataExchange* pDX, short value, short minVal, short maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void AFXAPI DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void AFXAPI DDV_MinMaxLong(CDataExchange* pDX, long value, long minVal, long maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void AFXAPI DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void AFXAPI DDV_MinMaxDWord(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    CheckRange(pDX, value, minVal, maxVal);
}

void AFXAPI DDV_MinMaxFloat(CDataExchange* pDX, float const& value, float minVal, float maxVal)
{
    if (value < minVal || value > maxVal)
        FailRealRange(pDX, minVal, maxVal, FLT_DIG);
}

void AFXAPI DDV_MinMaxDouble(CDataExchange* pDX, double const& value, double minVal,
                             double maxVal)
{
    if (value < minVal || value > maxVal)
        FailRealRange(pDX, minVal, maxVal, DBL_DIG);
}

void AFXAPI DDV_MinMaxSlider(CDataExchange* pDX, DWORD value, DWORD minVal, DWORD maxVal)
{
    if (!pDX->m_bSaveAndValidate) {
        // Loading: the range is given to the slider itself.
        if (pDX->m_hWndLastControl != NULL) {
            ::SendMessageA(pDX->m_hWndLastControl, TBM_SETRANGEMIN, FALSE, (LPARAM)minVal);
            ::SendMessageA(pDX->m_hWndLastControl, TBM_SETRANGEMAX, TRUE, (LPARAM)maxVal);
        }
        return;
    }
    CheckRange(pDX, value, minVal, maxVal);
}

void AFXAPI DDV_MaxChars(CDataExchange* pDX, CString const& value, int nChars)
{
    if (pDX->m_bSaveAndValidate) {
        if (value.GetLength() > nChars) {
            char szMax[32];
            snprintf(szMax, sizeof(szMax), "%d", nChars);
            Prompt(kParseStringSize, szMax);
            pDX->Fail();
        }
    } else if (pDX->m_hWndLastControl != NULL && pDX->m_bEditLastControl) {
        // Loading: the edit itself refuses longer input.
        ::SendMessageA(pDX->m_hWndLastControl, EM_LIMITTEXT, nChars, 0);
    }
}
