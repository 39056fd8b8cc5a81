#include "SECOffscreenDC.h"

SECOffscreenDC::SECOffscreenDC(CDC* pDC, RECT rect) { Init(pDC, rect); }

SECOffscreenDC::SECOffscreenDC(CDC* pDC, const CRect& rect, int) { Init(pDC, rect); }

void SECOffscreenDC::Init(CDC* pDC, const RECT& rect)
{
  m_pTarget = pDC;
  m_pOldBitmap = NULL;
  m_hOldBitmap = NULL;
  m_left = rect.left;
  m_top = rect.top;
  m_right = rect.right;
  m_bottom = rect.bottom;
  if (pDC == NULL || pDC->m_hDC == NULL)
    AfxThrowResourceException();

  HDC hAttrib = pDC->m_hAttribDC != NULL ? pDC->m_hAttribDC : pDC->m_hDC;
  POINT pt;
  SIZE sz;
  ::GetViewportOrgEx(hAttrib, &pt);
  m_xViewportOrg = pt.x;
  m_yViewportOrg = pt.y;
  ::GetWindowOrgEx(hAttrib, &pt);
  m_xWindowOrg = pt.x;
  m_yWindowOrg = pt.y;
  ::GetViewportExtEx(hAttrib, &sz);
  m_cxViewportExt = sz.cx;
  m_cyViewportExt = sz.cy;
  ::GetWindowExtEx(hAttrib, &sz);
  m_cxWindowExt = sz.cx;
  m_cyWindowExt = sz.cy;

  HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
  if (hMem == NULL)
    AfxThrowResourceException();
  Attach(hMem);
  int cx = m_right - m_left, cy = m_bottom - m_top;
  HBITMAP hBitmap = ::CreateCompatibleBitmap(pDC->m_hDC, cx > 0 ? cx : 1, cy > 0 ? cy : 1);
  if (hBitmap == NULL) {
    DeleteDC();
    AfxThrowResourceException();
  }
  m_bitmap.Attach(hBitmap);
  m_hOldBitmap = ::SelectObject(m_hDC, hBitmap);
  m_pOldBitmap = CGdiObject::FromHandle(m_hOldBitmap);
  ApplyMapping();
}

// The same logical coordinates as on the target, except that the surface's pixel (0, 0)
// is the rectangle's top left corner: the viewport origin moves by the corner's device
// position (for a rectangle at the device origin nothing moves).
void SECOffscreenDC::ApplyMapping()
{
  HDC hTarget = m_pTarget->m_hAttribDC != NULL ? m_pTarget->m_hAttribDC : m_pTarget->m_hDC;
  ::SetMapMode(m_hDC, ::GetMapMode(hTarget));
  ::SetWindowExtEx(m_hDC, m_cxWindowExt, m_cyWindowExt, NULL);
  ::SetViewportExtEx(m_hDC, m_cxViewportExt, m_cyViewportExt, NULL);
  ::SetWindowOrgEx(m_hDC, m_xWindowOrg, m_yWindowOrg, NULL);
  POINT corner = {m_left, m_top};
  ::LPtoDP(hTarget, &corner, 1);
  ::SetViewportOrgEx(m_hDC, m_xViewportOrg - corner.x, m_yViewportOrg - corner.y, NULL);
}

SECOffscreenDC::~SECOffscreenDC()
{
  if (m_hDC == NULL)
    return;
  ApplyMapping();
  ::BitBlt(m_pTarget->m_hDC, m_left, m_top, m_right - m_left, m_bottom - m_top, m_hDC, m_left,
           m_top, SRCCOPY);
  if (m_hOldBitmap != NULL)
    ::SelectObject(m_hDC, m_hOldBitmap);
  m_bitmap.DeleteObject();
  DeleteDC();
}
