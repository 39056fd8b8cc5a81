// A static text control with its own text and background colours; it colours itself when
// its parent is asked for the control colours (the reflected colour message).
#pragma once
#include <afxwin.h>

class CStaticEx : public CStatic
{
public:
    CStaticEx();
    virtual ~CStaticEx();

    // Neither setter repaints: callers invalidate the control or set colours before showing it.
    void SetTextColor(COLORREF color) { m_crText = color; }
    void SetBkColor(COLORREF color);
    void SetDefaultColors();

    COLORREF GetTextColor() const { return m_crText; }
    COLORREF GetBkColor() const { return m_crBk; }

protected:
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

private:
    COLORREF m_crBk;
    CBrush m_brBk;
    COLORREF m_crText;
};
