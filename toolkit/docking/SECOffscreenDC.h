// A device context that stands in for a real one while painting: drawing goes into a
// bitmap the size of a rectangle, and deleting the object copies that rectangle to the
// real device context in one block transfer, so a window repaints without flicker.
#pragma once

#include <afxwin.h>

class SECOffscreenDC : public CDC {
 public:
  // Throws the framework's resource exception when the target is null or the surface
  // cannot be made; nothing is left allocated then.
  SECOffscreenDC(CDC* pDC, RECT rect);
  SECOffscreenDC(CDC* pDC, const CRect& rect, int /*unused*/);
  virtual ~SECOffscreenDC();

 protected:
  CDC* m_pTarget;
  CBitmap m_bitmap;
  CGdiObject* m_pOldBitmap;
  int m_left, m_top, m_right, m_bottom;
  int m_xViewportOrg, m_yViewportOrg;
  int m_xWindowOrg, m_yWindowOrg;
  int m_cxViewportExt, m_cyViewportExt;
  int m_cxWindowExt, m_cyWindowExt;

 private:
  HGDIOBJ m_hOldBitmap;  // what m_pOldBitmap wraps (the wrapper is temporary)
  void Init(CDC* pDC, const RECT& rect);
  void ApplyMapping();
};
