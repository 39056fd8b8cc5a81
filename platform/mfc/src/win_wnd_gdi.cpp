// Window members that hand out device contexts, menus and fonts as wrapper objects.
#include "afxwin.h"

CDC* CWnd::GetDC() { return CDC::FromHandle(::GetDC(m_hWnd)); }
CDC* CWnd::GetWindowDC() { return CDC::FromHandle(::GetWindowDC(m_hWnd)); }
CDC* CWnd::GetDCEx(CRgn* prgnClip, DWORD flags)
{
  return CDC::FromHandle(::GetDCEx(m_hWnd, (HRGN)prgnClip->GetSafeHandle(), flags));
}
int CWnd::ReleaseDC(CDC* pDC) { return ::ReleaseDC(m_hWnd, pDC->GetSafeHdc()); }
CDC* CWnd::BeginPaint(LPPAINTSTRUCT lpPaint) { return CDC::FromHandle(::BeginPaint(m_hWnd, lpPaint)); }
void CWnd::EndPaint(LPPAINTSTRUCT lpPaint) { ::EndPaint(m_hWnd, lpPaint); }
void CWnd::Print(CDC* pDC, DWORD dwFlags) const
{
  ::SendMessageA(m_hWnd, WM_PRINT, (WPARAM)pDC->GetSafeHdc(), dwFlags);
}
void CWnd::PrintClient(CDC* pDC, DWORD dwFlags) const
{
  ::SendMessageA(m_hWnd, WM_PRINTCLIENT, (WPARAM)pDC->GetSafeHdc(), dwFlags);
}
void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
  ::SendMessageA(m_hWnd, WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw);
}
CFont* CWnd::GetFont() const
{
  return CFont::FromHandle((HFONT)::SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
}
CMenu* CWnd::GetMenu() const { return CMenu::FromHandle(::GetMenu(m_hWnd)); }
BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu->GetSafeHmenu()); }
CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
  return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}
