// Record-form controls that switch between an editable and a read-only look: read-only
// fields are drawn on the button-face colour, editable ones on the window colour, so that
// the coach sees at a glance whether a form is being edited. The colours are computed at
// construction and at each SetReadOnly, not on every paint.
#pragma once
#include <afxwin.h>

class CEditEx : public CEdit
{
public:
    CEditEx();
    // The look and the control's own read-only state follow `readOnly`.
    void SetReadOnly(BOOL readOnly = TRUE);

    COLORREF GetBackColor() const { return m_crBackground; }
    COLORREF GetTextColor() const { return m_crText; }

protected:
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CBrush m_brBackground;
    COLORREF m_crBackground;
    COLORREF m_crText;
};

// A combo box with the same look. Its edit field (the combo's own edit child) is attached
// the first time it asks for its colours, and from then on never takes typing: a value
// is only chosen from the list, and only while the combo is editable.
class CComboEx : public CComboBox
{
public:
    CComboEx();
    void SetReadOnly(BOOL readOnly = TRUE);
    BOOL IsReadOnly() const { return m_bReadOnly; }

    COLORREF GetBackColor() const { return m_crBackground; }
    COLORREF GetTextColor() const { return m_crText; }
    BOOL HasEditField() const { return m_edit.GetSafeHwnd() != NULL; }

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnDestroy();
    DECLARE_MESSAGE_MAP()

    void ApplyToEditField();

    CBrush m_brBackground;
    COLORREF m_crBackground;
    COLORREF m_crText;
    CEditEx m_edit;
    BOOL m_bReadOnly;
};
