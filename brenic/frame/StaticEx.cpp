#include "StaticEx.h"

BEGIN_MESSAGE_MAP(CStaticEx, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

CStaticEx::CStaticEx()
{
    SetDefaultColors();
}

CStaticEx::~CStaticEx()
{
}

void CStaticEx::SetBkColor(COLORREF color)
{
    m_brBk.DeleteObject();
    m_brBk.CreateSolidBrush(color);
    m_crBk = color;
}

void CStaticEx::SetDefaultColors()
{
    m_crText = ::GetSysColor(COLOR_WINDOWTEXT);
    SetBkColor(::GetSysColor(COLOR_BTNFACE));
}

HBRUSH CStaticEx::CtlColor(CDC* pDC, UINT)
{
    pDC->SetTextColor(m_crText);
    pDC->SetBkMode(OPAQUE);
    pDC->SetBkColor(m_crBk);
    return (HBRUSH)m_brBk.GetSafeHandle();
}
