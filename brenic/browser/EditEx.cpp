#include "EditEx.h"

// ---------------------------------------------------------------------------------------
// CEditEx

BEGIN_MESSAGE_MAP(CEditEx, CEdit)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CEditEx::CEditEx()
    : m_crBackground(::GetSysColor(COLOR_BTNFACE)), m_crText(::GetSysColor(COLOR_WINDOWTEXT))
{
    m_brBackground.CreateSolidBrush(m_crBackground);
}

void CEditEx::SetReadOnly(BOOL readOnly)
{
    m_crBackground = ::GetSysColor(readOnly ? COLOR_BTNFACE : COLOR_WINDOW);
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(m_crBackground);
    if (GetSafeHwnd()) {
        CEdit::SetReadOnly(readOnly);
        Invalidate();
    }
}

HBRUSH CEditEx::CtlColor(CDC* pDC, UINT)
{
    pDC->SetBkColor(m_crBackground);
    pDC->SetTextColor(m_crText);
    return (HBRUSH)m_brBackground.GetSafeHandle();
}

// ---------------------------------------------------------------------------------------
// CComboEx

BEGIN_MESSAGE_MAP(CComboEx, CComboBox)
    ON_WM_CTLCOLOR()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CComboEx::CComboEx()
    : m_crBackground(::GetSysColor(COLOR_BTNFACE)), m_crText(::GetSysColor(COLOR_WINDOWTEXT)),
      m_bReadOnly(TRUE)
{
    m_brBackground.CreateSolidBrush(m_crBackground);
}

void CComboEx::SetReadOnly(BOOL readOnly)
{
    m_bReadOnly = readOnly;
    m_crBackground = ::GetSysColor(readOnly ? COLOR_BTNFACE : COLOR_WINDOW);
    m_brBackground.DeleteObject();
    m_brBackground.CreateSolidBrush(m_crBackground);
    if (GetSafeHwnd())
        EnableWindow(!readOnly);
    ApplyToEditField();
}

void CComboEx::ApplyToEditField()
{
    if (!m_edit.GetSafeHwnd())
        return;
    m_edit.EnableWindow(TRUE);
    m_edit.SetReadOnly(m_bReadOnly);
    // Whatever the look, the edit field never takes typing.
    m_edit.CEdit::SetReadOnly(TRUE);
}

HBRUSH CComboEx::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH result = CComboBox::OnCtlColor(pDC, pWnd, nCtlColor);
    // The edit field asks as an edit while it takes typing and as a static once it is
    // read-only (always, after it is attached): both get the combo's look.
    if (nCtlColor != CTLCOLOR_EDIT && nCtlColor != CTLCOLOR_STATIC)
        return result;
    if (nCtlColor == CTLCOLOR_STATIC && !(pWnd && pWnd->GetSafeHwnd() &&
                                          ::GetParent(pWnd->GetSafeHwnd()) == GetSafeHwnd()))
        return result;
    if (!m_edit.GetSafeHwnd() && pWnd && pWnd->GetSafeHwnd()) {
        m_edit.SubclassWindow(pWnd->GetSafeHwnd());
        ApplyToEditField();
    }
    pDC->SetBkColor(m_crBackground);
    pDC->SetTextColor(m_crText);
    return (HBRUSH)m_brBackground.GetSafeHandle();
}

void CComboEx::OnDestroy()
{
    if (m_edit.GetSafeHwnd())
        m_edit.UnsubclassWindow();
    CComboBox::OnDestroy();
}
