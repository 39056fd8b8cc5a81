// The masked edit: mask parsing, the display, typing in insert and overwrite mode, caret
// movement over literals, deleting, and the clipboard.
#include "SECMaskEdit.h"
#include <cctype>
#include <vector>

IMPLEMENT_DYNAMIC(SECMaskEdit, CEdit)

BEGIN_MESSAGE_MAP(SECMaskEdit, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_CHAR()
    ON_WM_LBUTTONDOWN()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_COPY, OnCopy)
    ON_MESSAGE(WM_PASTE, OnPaste)
    ON_MESSAGE(WM_CUT, OnCut)
    ON_MESSAGE(WM_CLEAR, OnClear)
END_MESSAGE_MAP()

namespace {

const char kMaskChars[] = "#&?ALU";

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

SECMaskEdit::SECMaskEdit() : m_chPrompt(' '), m_bKeyHandled(FALSE), m_bInsertMode(FALSE) {}

BOOL SECMaskEdit::AttachEdit(UINT nID, CWnd* pParentWnd)
{
    return SubclassDlgItem(nID, pParentWnd);
}

BOOL SECMaskEdit::IsMaskChar(char ch) const
{
    return ch != 0 && strchr(kMaskChars, ch) != NULL;
}

void SECMaskEdit::ParseMask(LPCTSTR lpszMask)
{
    m_strMask.Empty();
    for (const char* p = lpszMask != NULL ? lpszMask : ""; *p != 0; p++) {
        if (*p == '\\' && p[1] != 0)
            m_strMask += *++p;  // the next character is a literal
        else if (IsMaskChar(*p))
            m_strMask += char((BYTE)*p | 0x80);
        else
            m_strMask += *p;
    }
}

BOOL SECMaskEdit::IsPlaceholder(int nPos) const
{
    return nPos >= 0 && nPos < m_strMask.GetLength() && !IsLiteral(m_strMask[nPos]);
}

CString SECMaskEdit::BuildDisplay() const
{
    CString display;
    for (int i = 0; i < m_strMask.GetLength(); i++)
        display += IsPlaceholder(i) ? m_chPrompt : m_strMask[i];
    return display;
}

void SECMaskEdit::ResetDisplay() { m_strDisplay = BuildDisplay(); }

void SECMaskEdit::UpdateText()
{
    if (m_hWnd != NULL) {
        SetWindowText(m_strDisplay);
        SetModify(TRUE);
    }
    m_strUndo = m_strLast;
    m_strLast = m_strDisplay;
}

void SECMaskEdit::ResetUndo()
{
    m_strUndo = m_strLast = BuildDisplay();
}

BOOL SECMaskEdit::Undo()
{
    if (!CanUndo())
        return FALSE;
    m_strDisplay = m_strUndo;
    UpdateText();
    return TRUE;
}

BOOL SECMaskEdit::SetMask(LPCTSTR lpszMask)
{
    ParseMask(lpszMask);
    ResetDisplay();
    UpdateText();
    if (m_hWnd != NULL)
        SetModify(FALSE);
    SetCaret(-1, 1, 0);
    ResetUndo();
    return TRUE;
}

void SECMaskEdit::SetPromptChar(char chPrompt)
{
    if (chPrompt == 0)
        return;
    for (int i = 0; i < m_strDisplay.GetLength(); i++)
        if (IsPlaceholder(i) && m_strDisplay[i] == m_chPrompt)
            m_strDisplay.SetAt(i, chPrompt);
    m_chPrompt = chPrompt;
    UpdateText();
}

BOOL SECMaskEdit::IsValidChar(int nPos, char* pChar) const
{
    if (!IsPlaceholder(nPos) || pChar == NULL)
        return FALSE;
    const DWORD style = m_hWnd != NULL ? GetStyle() : 0;
    char c = *pChar;
    if (style & ES_UPPERCASE)
        c = (char)toupper((BYTE)c);
    else if (style & ES_LOWERCASE)
        c = (char)tolower((BYTE)c);
    BOOL ok = FALSE;
    switch ((BYTE)m_strMask[nPos] & 0x7F) {
    case '#': ok = IsAsciiDigit(c); break;
    case '&': ok = TRUE; break;
    case '?': ok = IsAsciiLetter(c); break;
    case 'A': ok = IsAsciiLetter(c) || IsAsciiDigit(c); break;
    case 'L':
        ok = IsAsciiLetter(c);
        if (ok && !(style & ES_UPPERCASE))
            c = (char)tolower((BYTE)c);
        break;
    case 'U':
        ok = IsAsciiLetter(c);
        if (ok && !(style & ES_LOWERCASE))
            c = (char)toupper((BYTE)c);
        break;
    }
    *pChar = c;
    return ok;
}

int SECMaskEdit::NextPlaceholder(int nPos) const
{
    const int length = m_strMask.GetLength();
    if (nPos >= length)
        return nPos;
    for (int i = nPos + 1; i < length; i++)
        if (IsPlaceholder(i))
            return i;
    return -1;
}

int SECMaskEdit::PrevPlaceholder(int nPos) const
{
    int i = nPos > m_strMask.GetLength() ? m_strMask.GetLength() : nPos;
    for (i--; i >= 0; i--)
        if (IsPlaceholder(i))
            return i;
    return -1;
}

int SECMaskEdit::PlaceholderAtOrAfter(int nPos) const
{
    if (IsPlaceholder(nPos))
        return nPos;
    int next = NextPlaceholder(nPos < 0 ? -1 : nPos);
    return next >= 0 && next < m_strMask.GetLength() ? next : -1;
}

int SECMaskEdit::SetCaret(int nPos, int nDirection, int nLength)
{
    const int length = m_strMask.GetLength();
    int target = nDirection < 0 ? PrevPlaceholder(nPos) : NextPlaceholder(nPos);
    if (target < 0 || target >= length) {
        if (nDirection < 0)
            return -1;  // nothing before: the caret stays
        int at = nPos < 0 ? 0 : IsPlaceholder(nPos) ? nPos + 1 : nPos > length ? length : nPos;
        if (m_hWnd != NULL)
            SetSel(at, at);
        return -1;
    }
    if (m_hWnd != NULL) {
        SetSel(target, target + nLength);
        SendMessage(EM_SCROLLCARET);
    }
    return target;
}

int SECMaskEdit::EndOfText(int nPos) const
{
    const int length = m_strMask.GetLength();
    if (nPos > length)
        nPos = length;
    int here = PlaceholderAtOrAfter(nPos);
    if (nPos < length && here >= 0 && m_strDisplay[here] != m_chPrompt)
        return nPos;
    for (int i = nPos - 1; i >= 0; i--)
        if (IsPlaceholder(i) && m_strDisplay[i] != m_chPrompt)
            return i + 1;
    int first = PlaceholderAtOrAfter(0);
    return first >= 0 ? first : 0;
}

BOOL SECMaskEdit::InsertChar(int nPos, char ch, BOOL bUpdate)
{
    const int last = PrevPlaceholder(m_strMask.GetLength());
    int start = PlaceholderAtOrAfter(nPos);
    if (last < 0 || start < 0 || m_strDisplay[last] != m_chPrompt)
        return FALSE;
    std::vector<int> places;
    for (int p = start; p >= 0 && p < m_strMask.GetLength(); p = NextPlaceholder(p))
        places.push_back(p);
    for (size_t k = places.size() - 1; k > 0; k--)
        m_strDisplay.SetAt(places[k], m_strDisplay[places[k - 1]]);
    m_strDisplay.SetAt(start, ch);
    if (bUpdate) {
        UpdateText();
        SetCaret(start, 1, 0);
    }
    return TRUE;
}

void SECMaskEdit::DeleteChars(int nFrom, int nTo)
{
    const int length = m_strMask.GetLength();
    std::vector<int> from, to;
    for (int p = PlaceholderAtOrAfter(nFrom); p >= 0 && p < length; p = NextPlaceholder(p))
        from.push_back(p);
    for (int p = PlaceholderAtOrAfter(nTo); p >= 0 && p < length; p = NextPlaceholder(p))
        to.push_back(p);
    for (size_t k = 0; k < to.size(); k++)
        m_strDisplay.SetAt(to[k], k < from.size() ? m_strDisplay[from[k]] : m_chPrompt);
}

BOOL SECMaskEdit::SetData(const CString* pText, int nStart, BOOL bInsert, BOOL bSkipInvalid)
{
    const int length = m_strMask.GetLength();
    if (pText == NULL || length == 0 || nStart < 0 || nStart >= length)
        return FALSE;
    if (nStart == 0)
        ResetDisplay();
    int pos = PlaceholderAtOrAfter(nStart);
    for (int i = 0; i < pText->GetLength() && pos >= 0 && pos < length; i++) {
        char c = (*pText)[i];
        if (IsValidChar(pos, &c)) {
            if (bInsert)
                InsertChar(pos, c, FALSE);
            else
                m_strDisplay.SetAt(pos, c);
            pos = NextPlaceholder(pos);
        } else if (!bSkipInvalid && (*pText)[i] == m_chPrompt) {
            pos = NextPlaceholder(pos);  // a prompt leaves that position as it is
        }
    }
    UpdateText();
    return TRUE;
}

void SECMaskEdit::GetData(CString& strData, BOOL bTrim) const
{
    strData.Empty();
    for (int i = 0; i < m_strDisplay.GetLength() && i < m_strMask.GetLength(); i++)
        if (IsPlaceholder(i))
            strData += m_strDisplay[i] == m_chPrompt ? ' ' : m_strDisplay[i];
    if (bTrim)
        strData.TrimRight();
}

void SECMaskEdit::GetSelection(int& nStart, int& nEnd) const
{
    DWORD sel = GetSel();
    nStart = LOWORD(sel);
    nEnd = HIWORD(sel);
}

void SECMaskEdit::DeleteSelection(int nStart, int nEnd)
{
    DeleteChars(nEnd, nStart);
    UpdateText();
    int at = PlaceholderAtOrAfter(nStart);
    if (at < 0)
        at = PrevPlaceholder(m_strMask.GetLength()) + 1;
    SetSel(at, at);
}

void SECMaskEdit::DeleteKey(BOOL bBack)
{
    if (GetStyle() & ES_READONLY)
        return;
    int start, end;
    GetSelection(start, end);
    if (start != end) {
        DeleteSelection(start, end);
        return;
    }
    int place = bBack ? PrevPlaceholder(start) : PlaceholderAtOrAfter(start);
    if (place < 0 || start >= m_strMask.GetLength())
        return;
    DeleteChars(place + 1, place);
    UpdateText();
    int caret = bBack ? place : start;
    SetSel(caret, caret);
}

void SECMaskEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const int length = m_strMask.GetLength();
    int start, end;
    GetSelection(start, end);
    const int caret = end;
    m_bKeyHandled = TRUE;
    switch (nChar) {
    case VK_BACK:
    case VK_DELETE:
        DeleteKey(nChar == VK_BACK);
        break;
    case VK_HOME:
        if (shift)
            SetSel(0, caret);
        else
            SetCaret(-1, 1, 0);
        break;
    case VK_END:
        if (shift) {
            SetSel(caret, length);
        } else {
            int at = EndOfText(length);
            if (at < length && !IsPlaceholder(at))
                at = PlaceholderAtOrAfter(at) >= 0 ? PlaceholderAtOrAfter(at) : at;
            SetSel(at, at);
        }
        break;
    case VK_LEFT:
        if (shift) {
            m_bKeyHandled = FALSE;
            CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        } else if (start == end) {
            SetCaret(caret, -1, 0);
        } else if (end < EndOfText(length)) {
            SetCaret(end, -1, 0);
        } else {
            int at = EndOfText(length);
            SetSel(at, at);
        }
        break;
    case VK_RIGHT:
        if (shift) {
            m_bKeyHandled = FALSE;
            CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        } else if (start == end) {
            if (caret < EndOfText(length))
                SetCaret(caret, 1, 0);
        } else {
            int at = PlaceholderAtOrAfter(end);
            at = at >= 0 ? at : length;
            SetSel(at, at);
        }
        break;
    case VK_UP:
    case VK_DOWN:
        m_bKeyHandled = FALSE;  // swallowed
        break;
    case VK_INSERT:
        m_bInsertMode = !m_bInsertMode;
        break;
    default:
        m_bKeyHandled = FALSE;
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
        break;
    }
}

void SECMaskEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (GetKeyState(VK_CONTROL) & 0x8000) {
        CEdit::OnChar(nChar, nRepCnt, nFlags);
        return;
    }
    if (GetStyle() & ES_READONLY)
        return;
    if (m_bKeyHandled) {
        m_bKeyHandled = FALSE;
        return;
    }
    int start, end;
    GetSelection(start, end);
    int target;
    if (start == end) {
        target = PlaceholderAtOrAfter(start);
        if (target >= 0)
            SetSel(target, target);
    } else {
        target = PlaceholderAtOrAfter(start);
        if (target >= end)
            target = -1;
    }
    char c = (char)nChar;
    if (target < 0 || !IsValidChar(target, &c)) {
        MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    if (m_bInsertMode) {
        if (end > target)
            DeleteChars(end, target);
        if (!InsertChar(target, c, FALSE)) {
            MessageBeep(MB_ICONEXCLAMATION);  // the mask is full
            return;
        }
    } else {
        if (end > target + 1)
            DeleteChars(end, target + 1);
        m_strDisplay.SetAt(target, c);
    }
    UpdateText();
    SetCaret(target, 1, 0);
    m_bKeyHandled = FALSE;
}

void SECMaskEdit::CaretToEndOfText()
{
    int start, end;
    GetSelection(start, end);
    if (start != end)
        return;
    int at = EndOfText(start);
    if (at < m_strMask.GetLength() && !IsPlaceholder(at) && PlaceholderAtOrAfter(at) >= 0)
        at = PlaceholderAtOrAfter(at);
    SetSel(at, at);
}

void SECMaskEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    CEdit::OnLButtonDown(nFlags, point);
    CaretToEndOfText();
}

void SECMaskEdit::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    CaretToEndOfText();
}

LRESULT SECMaskEdit::OnCopy(WPARAM, LPARAM)
{
    int start, end;
    GetSelection(start, end);
    CString text;
    for (int i = start; i < end && i < m_strDisplay.GetLength(); i++)
        if (IsPlaceholder(i))
            text += m_strDisplay[i] == m_chPrompt ? ' ' : m_strDisplay[i];
    if (!OpenClipboard())
        return 0;
    EmptyClipboard();
    HGLOBAL hText = GlobalAlloc(GMEM_MOVEABLE, text.GetLength() + 1);
    if (hText != NULL) {
        memcpy(GlobalLock(hText), (LPCSTR)text, text.GetLength() + 1);
        GlobalUnlock(hText);
        if (SetClipboardData(CF_TEXT, hText) == NULL)
            GlobalFree(hText);
    }
    CloseClipboard();
    return 0;
}

LRESULT SECMaskEdit::OnCut(WPARAM, LPARAM)
{
    int start, end;
    GetSelection(start, end);
    OnCopy(0, 0);
    if (start != end && !(GetStyle() & ES_READONLY)) {
        DeleteChars(end, start);
        UpdateText();
        SetSel(start, start);
    }
    return 0;
}

LRESULT SECMaskEdit::OnPaste(WPARAM, LPARAM)
{
    int start, end;
    GetSelection(start, end);
    if ((GetStyle() & ES_READONLY) || !IsClipboardFormatAvailable(CF_TEXT) ||
        start >= m_strMask.GetLength() || !OpenClipboard())
        return 0;
    CString text;
    HANDLE hText = GetClipboardData(CF_TEXT);
    if (hText != NULL) {
        // the clipboard block bounds the text
        SIZE_T size = GlobalSize(hText);
        const char* p = (const char*)GlobalLock(hText);
        if (p != NULL) {
            SIZE_T n = 0;
            while (n < size && p[n] != 0)
                n++;
            text = CString(p, (int)n);
            GlobalUnlock(hText);
        }
    }
    CloseClipboard();
    if (start != end)
        DeleteChars(end, start);
    SetData(&text, start, TRUE, TRUE);
    int at = PlaceholderAtOrAfter(start);
    at = at >= 0 ? at : start;
    SetSel(at, at);
    return 0;
}

LRESULT SECMaskEdit::OnClear(WPARAM, LPARAM)
{
    DeleteKey(FALSE);
    return 0;
}

void AFXAPI DDX_MaskEdit(CDataExchange* pDX, SECMaskEdit& rControl, CString& strData,
                         CString& strDisplay)
{
    if (pDX->m_bSaveAndValidate) {
        strDisplay = rControl.GetDisplayText();
        rControl.GetData(strData, FALSE);
    } else {
        rControl.SetData(&strData, 0, FALSE, TRUE);
    }
}
