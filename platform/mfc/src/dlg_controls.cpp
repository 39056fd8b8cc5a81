// Standard control wrappers: static, button, bitmap button, edit, list box, check list box,
// combo box and scroll bar.
#include "afxwin.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CBitmapButton, CButton)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CCheckListBox, CListBox)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

static BOOL CreateStdControl(CWnd* pWnd, LPCTSTR lpszClass, LPCTSTR lpszText, DWORD dwStyle,
                          const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return pWnd->CWnd::Create(lpszClass, lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateStdControl(this, "STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
}

// ---------------------------------------------------------------------------------------------
// Buttons

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                     UINT nID)
{
    return CreateStdControl(this, "BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT)
{
    // An owner-drawn button class must draw itself.
    ASSERT(FALSE);
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message != WM_DRAWITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    DrawItem((LPDRAWITEMSTRUCT)lParam);
    if (pResult != NULL)
        *pResult = TRUE;
    return TRUE;
}

BOOL CBitmapButton::LoadBitmaps(LPCTSTR lpszUp, LPCTSTR lpszSel, LPCTSTR lpszFocus,
                                LPCTSTR lpszDisabled)
{
    m_bitmap.DeleteObject();
    m_bitmapSel.DeleteObject();
    m_bitmapFocus.DeleteObject();
    m_bitmapDisabled.DeleteObject();
    if (!m_bitmap.LoadBitmap(lpszUp))
        return FALSE;
    BOOL bAllLoaded = TRUE;
    if (lpszSel != NULL && !m_bitmapSel.LoadBitmap(lpszSel))
        bAllLoaded = FALSE;
    if (lpszFocus != NULL && !m_bitmapFocus.LoadBitmap(lpszFocus))
        bAllLoaded = FALSE;
    if (lpszDisabled != NULL && !m_bitmapDisabled.LoadBitmap(lpszDisabled))
        bAllLoaded = FALSE;
    return bAllLoaded;
}

BOOL CBitmapButton::LoadBitmaps(UINT nIDUp, UINT nIDSel, UINT nIDFocus, UINT nIDDisabled)
{
    return LoadBitmaps(MAKEINTRESOURCE(nIDUp), nIDSel ? MAKEINTRESOURCE(nIDSel) : NULL,
                       nIDFocus ? MAKEINTRESOURCE(nIDFocus) : NULL,
                       nIDDisabled ? MAKEINTRESOURCE(nIDDisabled) : NULL);
}

BOOL CBitmapButton::AutoLoad(UINT nID, CWnd* pParent)
{
    if (!SubclassDlgItem(nID, pParent))
        return FALSE;
    CString name;
    GetWindowText(name);
    if (name.IsEmpty())
        return FALSE;
    if (!LoadBitmaps(name + "U", name + "D", NULL, NULL))
        return FALSE;
    // The focus and disabled images are optional.
    m_bitmapFocus.LoadBitmap(name + "F");
    m_bitmapDisabled.LoadBitmap(name + "X");
    SizeToContent();
    return TRUE;
}

void CBitmapButton::SizeToContent()
{
    BITMAP bm;
    if (m_bitmap.m_hObject == NULL || !m_bitmap.GetBitmap(&bm))
        return;
    SetWindowPos(NULL, 0, 0, bm.bmWidth, bm.bmHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    // The image for the state: pressed, else focused, else disabled, else up; a missing
    // image falls back to the up image.
    CBitmap* pBitmap = &m_bitmap;
    UINT state = lpDIS->itemState;
    if ((state & ODS_SELECTED) && m_bitmapSel.m_hObject != NULL)
        pBitmap = &m_bitmapSel;
    else if ((state & ODS_FOCUS) && m_bitmapFocus.m_hObject != NULL)
        pBitmap = &m_bitmapFocus;
    else if ((state & ODS_DISABLED) && m_bitmapDisabled.m_hObject != NULL)
        pBitmap = &m_bitmapDisabled;
    if (pBitmap->m_hObject == NULL)
        return;

    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CDC memDC;
    memDC.CreateCompatibleDC(pDC);
    CBitmap* pOld = memDC.SelectObject(pBitmap);
    const RECT& r = lpDIS->rcItem;
    pDC->BitBlt(r.left, r.top, r.right - r.left, r.bottom - r.top, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOld);
}

// ---------------------------------------------------------------------------------------------
// Edit

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateStdControl(this, "EDIT", NULL, dwStyle, rect, pParentWnd, nID);
}

int CEdit::GetLine(int nIndex, LPTSTR lpszBuffer, int nMaxLength) const
{
    // EM_GETLINE reads the buffer size from the buffer's first word.
    if (nMaxLength < 2) {
        if (nMaxLength == 1)
            lpszBuffer[0] = '\0';
        return 0;
    }
    *(LPWORD)lpszBuffer = (WORD)(nMaxLength > 0xFFFF ? 0xFFFF : nMaxLength);
    return (int)::SendMessageA(m_hWnd, EM_GETLINE, nIndex, (LPARAM)lpszBuffer);
}

// ---------------------------------------------------------------------------------------------
// List box

BOOL CListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateStdControl(this, "LISTBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

void CListBox::GetText(int nIndex, CString& rString) const
{
    int nLen = GetTextLen(nIndex);
    if (nLen == LB_ERR) {
        rString.Empty();
        return;
    }
    GetText(nIndex, rString.GetBufferSetLength(nLen));
    rString.ReleaseBuffer(nLen);
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const
{
    DWORD r = (DWORD)::SendMessageA(m_hWnd, LB_ITEMFROMPOINT, 0, MAKELPARAM(pt.x, pt.y));
    bOutside = HIWORD(r) != 0;
    return LOWORD(r);
}

void CListBox::DrawItem(LPDRAWITEMSTRUCT) { ASSERT(FALSE); }
void CListBox::MeasureItem(LPMEASUREITEMSTRUCT) { ASSERT(FALSE); }
int CListBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    ASSERT(FALSE);
    return 0;
}
void CListBox::DeleteItem(LPDELETEITEMSTRUCT) {}
int CListBox::VKeyToItem(UINT, UINT) { return -1; }
int CListBox::CharToItem(UINT, UINT) { return -1; }

// The owner-draw messages of list and combo boxes, reflected back to the control object.
template <class T>
static BOOL OwnerDrawNotify(T* pCtrl, UINT message, LPARAM lParam, LRESULT* pResult)
{
    LRESULT lResult = TRUE;
    switch (message) {
    case WM_DRAWITEM:
        pCtrl->DrawItem((LPDRAWITEMSTRUCT)lParam);
        break;
    case WM_MEASUREITEM:
        pCtrl->MeasureItem((LPMEASUREITEMSTRUCT)lParam);
        break;
    case WM_COMPAREITEM:
        lResult = pCtrl->CompareItem((LPCOMPAREITEMSTRUCT)lParam);
        break;
    case WM_DELETEITEM:
        pCtrl->DeleteItem((LPDELETEITEMSTRUCT)lParam);
        break;
    default:
        return FALSE;
    }
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}

BOOL CListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (OwnerDrawNotify(this, message, lParam, pResult))
        return TRUE;
    if (message != WM_VKEYTOITEM && message != WM_CHARTOITEM)
        return CWnd::OnChildNotify(message, wParam, lParam, pResult);
    LRESULT lResult = message == WM_VKEYTOITEM ? VKeyToItem(LOWORD(wParam), HIWORD(wParam))
                                               : CharToItem(LOWORD(wParam), HIWORD(wParam));
    if (pResult != NULL)
        *pResult = lResult;
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Check list box: every item's data points at a CheckData record that holds its check
// state, whether it is enabled, and the caller's own item data.

BEGIN_MESSAGE_MAP(CCheckListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYDOWN()
    ON_MESSAGE(LB_ADDSTRING, OnLBAddString)
    ON_MESSAGE(LB_INSERTSTRING, OnLBInsertString)
    ON_MESSAGE(LB_GETITEMDATA, OnLBGetItemData)
    ON_MESSAGE(LB_SETITEMDATA, OnLBSetItemData)
END_MESSAGE_MAP()

CCheckListBox::CCheckListBox() : m_nStyle(BS_AUTOCHECKBOX) {}

CCheckListBox::~CCheckListBox()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CCheckListBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!(dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)))
        dwStyle |= LBS_OWNERDRAWFIXED;
    return CListBox::Create(dwStyle | LBS_HASSTRINGS, rect, pParentWnd, nID);
}

void CCheckListBox::PreSubclassWindow()
{
    CListBox::PreSubclassWindow();
    // Without owner drawing and strings there would be nowhere to draw the check boxes.
    DWORD dwStyle = GetStyle();
    ASSERT((dwStyle & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) && (dwStyle & LBS_HASSTRINGS));
    (void)dwStyle;
}

void CCheckListBox::SetCheckStyle(UINT nStyle)
{
    ASSERT(nStyle == BS_CHECKBOX || nStyle == BS_AUTOCHECKBOX || nStyle == BS_AUTO3STATE ||
           nStyle == BS_3STATE);
    m_nStyle = nStyle;
}

CCheckListBox::CheckData* CCheckListBox::GetCheckData(int nIndex, BOOL bCreate)
{
    LRESULT r = CWnd::DefWindowProc(LB_GETITEMDATA, nIndex, 0);
    if (r == LB_ERR)
        return NULL;
    CheckData* p = (CheckData*)r;
    if (p == NULL && bCreate) {
        p = new CheckData{0, TRUE, 0};
        CWnd::DefWindowProc(LB_SETITEMDATA, nIndex, (LPARAM)p);
    }
    return p;
}

void CCheckListBox::SetCheck(int nIndex, int nCheck)
{
    if (CheckData* p = GetCheckData(nIndex, TRUE)) {
        p->nCheck = nCheck;
        CRect r;
        if (GetItemRect(nIndex, &r) != LB_ERR)
            InvalidateRect(&r, FALSE);
    }
}

int CCheckListBox::GetCheck(int nIndex)
{
    CheckData* p = GetCheckData(nIndex, FALSE);
    return p != NULL ? p->nCheck : 0;
}

void CCheckListBox::Enable(int nIndex, BOOL bEnabled)
{
    if (CheckData* p = GetCheckData(nIndex, TRUE)) {
        p->bEnabled = bEnabled;
        CRect r;
        if (GetItemRect(nIndex, &r) != LB_ERR)
            InvalidateRect(&r, FALSE);
    }
}

BOOL CCheckListBox::IsEnabled(int nIndex)
{
    CheckData* p = GetCheckData(nIndex, FALSE);
    return p == NULL || p->bEnabled;
}

DWORD_PTR CCheckListBox::GetItemData(int nIndex) const
{
    return (DWORD_PTR)::SendMessageA(m_hWnd, LB_GETITEMDATA, nIndex, 0);
}

int CCheckListBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return (int)::SendMessageA(m_hWnd, LB_SETITEMDATA, nIndex, (LPARAM)dwItemData);
}

LRESULT CCheckListBox::OnLBGetItemData(WPARAM wParam, LPARAM)
{
    LRESULT r = Default();
    if (r == LB_ERR)
        return r;
    CheckData* p = (CheckData*)r;
    return p != NULL ? (LRESULT)p->dwUserData : 0;
}

LRESULT CCheckListBox::OnLBSetItemData(WPARAM wParam, LPARAM lParam)
{
    CheckData* p = GetCheckData((int)wParam, TRUE);
    if (p == NULL)
        return LB_ERR;
    p->dwUserData = (DWORD_PTR)lParam;
    return 0;
}

LRESULT CCheckListBox::OnLBAddString(WPARAM, LPARAM lParam)
{
    LRESULT r = CWnd::DefWindowProc(LB_ADDSTRING, 0, lParam);
    if (r >= 0)
        GetCheckData((int)r, TRUE);
    return r;
}

LRESULT CCheckListBox::OnLBInsertString(WPARAM wParam, LPARAM lParam)
{
    LRESULT r = CWnd::DefWindowProc(LB_INSERTSTRING, wParam, lParam);
    if (r >= 0)
        GetCheckData((int)r, TRUE);
    return r;
}

BOOL CCheckListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DELETEITEM) {
        // The caller's DeleteItem sees its own item data, then the record goes.
        LPDELETEITEMSTRUCT lpDIS = (LPDELETEITEMSTRUCT)lParam;
        CheckData* p = (CheckData*)lpDIS->itemData;
        DELETEITEMSTRUCT dis = *lpDIS;
        dis.itemData = p != NULL ? p->dwUserData : 0;
        CListBox::OnChildNotify(message, wParam, (LPARAM)&dis, pResult);
        delete p;
        return TRUE;
    }
    return CListBox::OnChildNotify(message, wParam, lParam, pResult);
}

int CCheckListBox::GetCheckWidth() const
{
    return ::GetSystemMetrics(SM_CXMENUCHECK) + 2;
}

void CCheckListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    TEXTMETRICA tm;
    HDC hDC = ::GetDC(m_hWnd);
    HFONT hOld = (HFONT)::SelectObject(hDC, (HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    ::GetTextMetricsA(hDC, &tm);
    ::SelectObject(hDC, hOld);
    ::ReleaseDC(m_hWnd, hDC);
    int cy = tm.tmHeight + tm.tmExternalLeading;
    lpMIS->itemHeight = (UINT)std::max(cy, ::GetSystemMetrics(SM_CYMENUCHECK) + 2);
}

void CCheckListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if ((int)lpDIS->itemID < 0)
        return;
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CheckData* p = (CheckData*)lpDIS->itemData;
    int nCheck = p != NULL ? p->nCheck : 0;
    BOOL bEnabled = (p == NULL || p->bEnabled) && IsWindowEnabled();
    CRect rect(lpDIS->rcItem);

    // The check box in the left column
    int cxCheck = GetCheckWidth();
    CRect rectCheck(rect.left + 1, rect.top, rect.left + cxCheck - 1, rect.bottom);
    int cyBox = std::min(rectCheck.Height(), ::GetSystemMetrics(SM_CYMENUCHECK));
    rectCheck.top += (rectCheck.Height() - cyBox) / 2;
    rectCheck.bottom = rectCheck.top + cyBox;
    pDC->FillSolidRect(rect.left, rect.top, cxCheck, rect.Height(), ::GetSysColor(COLOR_WINDOW));
    UINT nState = DFCS_BUTTONCHECK;
    if (nCheck == 1)
        nState |= DFCS_CHECKED;
    else if (nCheck == 2)
        nState = DFCS_BUTTON3STATE | DFCS_CHECKED;
    if (!bEnabled)
        nState |= DFCS_INACTIVE;
    pDC->DrawFrameControl(&rectCheck, DFC_BUTTON, nState);

    // The text
    CRect rectText(rect.left + cxCheck, rect.top, rect.right, rect.bottom);
    BOOL bSelected = (lpDIS->itemState & ODS_SELECTED) != 0;
    COLORREF crBk = ::GetSysColor(bSelected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
    COLORREF crText = ::GetSysColor(!bEnabled ? COLOR_GRAYTEXT
                                    : bSelected ? COLOR_HIGHLIGHTTEXT
                                                : COLOR_WINDOWTEXT);
    COLORREF crOldBk = pDC->SetBkColor(crBk);
    COLORREF crOldText = pDC->SetTextColor(crText);
    CString text;
    GetText((int)lpDIS->itemID, text);
    pDC->ExtTextOut(rectText.left + 2, rectText.top, ETO_OPAQUE | ETO_CLIPPED, &rectText, text,
                    NULL);
    if (lpDIS->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&rectText);
    pDC->SetBkColor(crOldBk);
    pDC->SetTextColor(crOldText);
}

void CCheckListBox::NotifyCheckChange()
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), CLBN_CHKCHANGE), (LPARAM)m_hWnd);
}

void CCheckListBox::ToggleCheck(int nIndex)
{
    if (!IsEnabled(nIndex))
        return;
    int nCheck = GetCheck(nIndex);
    switch (m_nStyle) {
    case BS_AUTO3STATE:
        nCheck = (nCheck + 1) % 3;
        break;
    case BS_AUTOCHECKBOX:
        nCheck = nCheck == 1 ? 0 : 1;
        break;
    default:
        // Non-automatic styles: the parent decides the state when it hears of the click.
        NotifyCheckChange();
        return;
    }
    SetCheck(nIndex, nCheck);
    NotifyCheckChange();
}

void CCheckListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    BOOL bOutside = TRUE;
    int nIndex = (int)ItemFromPoint(point, bOutside);
    if (!bOutside) {
        CRect r;
        GetItemRect(nIndex, &r);
        if (point.x < r.left + GetCheckWidth()) {
            // A click in the box: toggle without moving the selection (unless it is the
            // only way to show the item has the focus).
            ToggleCheck(nIndex);
            return;
        }
    }
    Default();
}

void CCheckListBox::OnLButtonDblClk(UINT nFlags, CPoint point) { OnLButtonDown(nFlags, point); }

void CCheckListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_SPACE) {
        int nIndex = GetCaretIndex();
        if (nIndex != LB_ERR)
            ToggleCheck(nIndex);
        return;
    }
    Default();
}

// ---------------------------------------------------------------------------------------------
// Combo box and scroll bar

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateStdControl(this, "COMBOBOX", NULL, dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int nLen = GetLBTextLen(nIndex);
    if (nLen == CB_ERR) {
        rString.Empty();
        return;
    }
    GetLBText(nIndex, rString.GetBufferSetLength(nLen));
    rString.ReleaseBuffer(nLen);
}

void CComboBox::DrawItem(LPDRAWITEMSTRUCT) { ASSERT(FALSE); }
void CComboBox::MeasureItem(LPMEASUREITEMSTRUCT) { ASSERT(FALSE); }
int CComboBox::CompareItem(LPCOMPAREITEMSTRUCT)
{
    ASSERT(FALSE);
    return 0;
}
void CComboBox::DeleteItem(LPDELETEITEMSTRUCT) {}

BOOL CComboBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return OwnerDrawNotify(this, message, lParam, pResult) ||
           CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CScrollBar::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CreateStdControl(this, "SCROLLBAR", NULL, dwStyle, rect, pParentWnd, nID);
}

int CScrollBar::GetScrollLimit()
{
    SCROLLINFO info;
    if (!GetScrollInfo(&info, SIF_RANGE | SIF_PAGE))
        return 0;
    int nPage = info.nPage > 0 ? (int)info.nPage - 1 : 0;
    return info.nMax - nPage;
}
