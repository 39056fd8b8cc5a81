// Toolbar buttons: sizes, pressing, notifications and drawing.
#include "SECToolBtn.h"
#include "SECBmpMgr.h"
#include "SECCustomToolBar.h"
#include "SECSysData.h"
#include "SECToolBarManager.h"

namespace {
template <class T>
SECStdBtn* NewButton()
{
  try {
    return new T;
  } catch (...) {
    return NULL;
  }
}
const DWORD kRopInkThroughBrush = 0xB8074A;  // brush where the mask is black, else the dest
const DWORD kRopDitherWhite = 0xE20746;      // brush where the source is white
}  // namespace

SECStdBtn* SECButtonClass::CreateButton() const
{
  return m_pfnCreate != NULL ? m_pfnCreate() : NULL;
}

const SECButtonClass SECStdBtn::classSECStdBtn = {&NewButton<SECStdBtn>};
const SECButtonClass SECTBMenuBtn::classSECTBMenuBtn = {&NewButton<SECTBMenuBtn>};

HBRUSH SECCreateDitherBrush()
{
  WORD rows[8];
  for (int i = 0; i < 8; i++)
    rows[i] = (i & 1) ? 0x55 : 0xAA;
  HBITMAP hbm = ::CreateBitmap(8, 8, 1, 1, rows);
  if (hbm == NULL)
    return NULL;
  HBRUSH hbr = ::CreatePatternBrush(hbm);
  ::DeleteObject(hbm);
  return hbr;
}

// ---------------------------------------------------------------------------------------------
// Drawing cache

SECBtnDrawCache::SECBtnDrawCache()
    : m_hbrDither(NULL), m_hbmFace(NULL), m_hbmMono(NULL), m_hOldFace(NULL), m_hOldMono(NULL),
      m_hOldImage(NULL), m_hbmImage(NULL), m_size(0, 0)
{
  if (!m_dcMono.CreateCompatibleDC(NULL) || !m_dcImage.CreateCompatibleDC(NULL) ||
      !m_dcFace.CreateCompatibleDC(NULL))
    AfxThrowResourceException();
  m_hbrDither = SECCreateDitherBrush();
  if (m_hbrDither == NULL)
    AfxThrowResourceException();
}

SECBtnDrawCache::~SECBtnDrawCache()
{
  EndDraw();
  if (m_hbrDither != NULL)
    ::DeleteObject(m_hbrDither);
}

void SECBtnDrawCache::RecreateDitherBrush()
{
  HBRUSH hbr = SECCreateDitherBrush();
  if (hbr == NULL)
    return;
  if (m_hbrDither != NULL)
    ::DeleteObject(m_hbrDither);
  m_hbrDither = hbr;
}

BOOL SECBtnDrawCache::PrepareDraw(CDC* pPaintDC, int cx, int cy)
{
  EndDraw();
  if (cx <= 0 || cy <= 0)
    return FALSE;
  m_hbmFace = ::CreateCompatibleBitmap(pPaintDC->GetSafeHdc(), cx, cy);
  m_hbmMono = ::CreateBitmap(cx, cy, 1, 1, NULL);
  if (m_hbmFace == NULL || m_hbmMono == NULL) {
    if (m_hbmFace) ::DeleteObject(m_hbmFace);
    if (m_hbmMono) ::DeleteObject(m_hbmMono);
    m_hbmFace = m_hbmMono = NULL;
    return FALSE;
  }
  m_hOldFace = ::SelectObject(m_dcFace.GetSafeHdc(), m_hbmFace);
  m_hOldMono = ::SelectObject(m_dcMono.GetSafeHdc(), m_hbmMono);
  m_size = CSize(cx, cy);
  return TRUE;
}

void SECBtnDrawCache::EndDraw()
{
  if (m_hbmFace != NULL) {
    ::SelectObject(m_dcFace.GetSafeHdc(), m_hOldFace);
    ::SelectObject(m_dcMono.GetSafeHdc(), m_hOldMono);
    ::DeleteObject(m_hbmFace);
    ::DeleteObject(m_hbmMono);
    m_hbmFace = m_hbmMono = NULL;
  }
  if (m_hOldImage != NULL) {
    ::SelectObject(m_dcImage.GetSafeHdc(), m_hOldImage);
    m_hOldImage = NULL;
    m_hbmImage = NULL;
  }
}

void SECBtnDrawCache::SelectImage(HBITMAP hBitmap)
{
  if (hBitmap == m_hbmImage)
    return;
  HGDIOBJ hOld = ::SelectObject(m_dcImage.GetSafeHdc(), hBitmap);
  if (m_hOldImage == NULL)
    m_hOldImage = hOld;
  m_hbmImage = hBitmap;
}

// ---------------------------------------------------------------------------------------------
// Standard button

SECStdBtn::SECStdBtn()
    : m_nID(0), m_nImage(0), m_nStyle(0), m_x(0), m_y(0), m_cx(23), m_cy(22),
      m_nType(SEC_BTNTYPE_STD), m_pToolBar(NULL), m_bImageSelected(FALSE)
{
}

CSize SECStdBtn::ImageSize() const
{
  return m_pToolBar != NULL ? m_pToolBar->GetImageSize() : CSize(16, 15);
}

void SECStdBtn::Invalidate(BOOL bErase)
{
  if (m_pToolBar != NULL && m_pToolBar->GetSafeHwnd() != NULL) {
    CRect rect = GetRect();
    m_pToolBar->InvalidateRect(&rect, bErase);
  }
}

void SECStdBtn::Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams)
{
  (void)pParams;
  m_pToolBar = pToolBar;
  AdjustSize();
}

void SECStdBtn::AdjustSize()
{
  CSize img = ImageSize();
  m_cx = (m_nStyle & SEC_TBBS_SEPARATOR) ? (img.cx + 8) / 3 : img.cx + 7;
  m_cy = img.cy + 7;
  if (m_pToolBar != NULL && m_pToolBar->m_nMaxBtnWidth < m_cx)
    m_pToolBar->m_nMaxBtnWidth = m_cx;
}

INT_PTR SECStdBtn::ToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
  (void)point;
  if (pTI != NULL) {
    pTI->uFlags = 0;
    pTI->hwnd = m_pToolBar != NULL ? m_pToolBar->GetSafeHwnd() : NULL;
    pTI->rect = GetRect();
    pTI->uId = m_nID;
    pTI->lpszText = LPSTR_TEXTCALLBACKA;
  }
  return m_nID;
}

void SECStdBtn::InformBtn(UINT nKind, void* pData)
{
  if (nKind != SEC_BTNINFORM_STYLE || pData == NULL)
    return;
  const SECBtnStyleChange* p = (const SECBtnStyleChange*)pData;
  m_nStyle = (m_nStyle & ~p->nMask) | p->nSet;
  Invalidate();
}

LRESULT SECStdBtn::SendNotify(UINT nCode, INT_PTR nParam1, INT_PTR nParam2)
{
  if (m_pToolBar == NULL || m_pToolBar->GetSafeHwnd() == NULL)
    return 0;
  SECTBNotify nm;
  memset(&nm, 0, sizeof(nm));
  nm.hdr.hwndFrom = m_pToolBar->GetSafeHwnd();
  nm.hdr.idFrom = (UINT_PTR)m_pToolBar->GetDlgCtrlID();
  nm.hdr.code = nCode;
  nm.iItem = (int)m_nID;
  nm.nIndex = m_pToolBar->IndexOfButton(this);
  nm.nParam1 = nParam1;
  nm.nParam2 = nParam2;
  CWnd* pOwner = m_pToolBar->GetOwner();
  HWND hOwner = pOwner != NULL ? pOwner->GetSafeHwnd() : ::GetParent(m_pToolBar->GetSafeHwnd());
  return ::SendMessageA(hOwner, WM_NOTIFY, nm.hdr.idFrom, (LPARAM)&nm);
}

BOOL SECStdBtn::PressDown(int x, int y)
{
  (void)x;
  (void)y;
  if (m_nStyle & SEC_TBBS_DISABLED)
    return FALSE;
  m_nStyle |= SEC_TBBS_PRESSED;
  if (m_nStyle & SEC_TBBS_DROPDOWN) {
    Invalidate();
    if (m_pToolBar != NULL && m_pToolBar->GetSafeHwnd() != NULL)
      m_pToolBar->UpdateWindow();
    BOOL bOld = SECCustomToolBar::s_bCmdInProgress;
    SECCustomToolBar::s_bCmdInProgress = TRUE;
    SendNotify(SEC_TBN_DROPDOWN, 0, 0);
    SECCustomToolBar::s_bCmdInProgress = bOld;
    m_nStyle &= ~SEC_TBBS_PRESSED;
    Invalidate();
    if (m_pToolBar != NULL)
      m_pToolBar->UpdateHotTracking();
    return FALSE;
  }
  return TRUE;
}

void SECStdBtn::PressMove(int x, int y)
{
  CRect r = GetRect();
  BOOL bIn = x >= r.left && x <= r.right && y >= r.top && y <= r.bottom;
  if (bIn)
    m_nStyle |= SEC_TBBS_PRESSED;
  else
    m_nStyle &= ~SEC_TBBS_PRESSED;
}

void SECStdBtn::PressCancel()
{
  m_nStyle &= ~SEC_TBBS_PRESSED;
  Invalidate();
}

UINT SECStdBtn::PressUp(int x, int y)
{
  m_nStyle &= ~SEC_TBBS_PRESSED;
  CRect r = GetRect();
  if (!(x >= r.left && x <= r.right && y >= r.top && y <= r.bottom))
    return 0;
  if ((m_nStyle & SEC_TBBS_DISABLED) || !(m_nStyle & SEC_TBBS_CHECKBOX))
    return m_nID;
  BOOL bChecked = (m_nStyle & SEC_TBBS_CHECKED) != 0;
  SECBtnStyleChange change;
  change.nSet = bChecked ? 0 : SEC_TBBS_CHECKED;
  change.nMask = (bChecked ? SEC_TBBS_CHECKED : 0) | SEC_TBBS_INDETERMINATE;
  if (m_pToolBar != NULL)
    m_pToolBar->InformBtn(m_nID, SEC_BTNINFORM_STYLE, &change, TRUE);
  else
    InformBtn(SEC_BTNINFORM_STYLE, &change);
  return m_nID;
}

// ---------------------------------------------------------------------------------------------
// Drawing

void SECStdBtn::Draw(CDC* pDC, SECBtnDrawCache& cache)
{
  CRect rect = GetRect();
  if (!pDC->RectVisible(&rect))
    return;
  if (DrawSeparator(pDC))
    return;
  m_bImageSelected = SelectImage(cache);
  DrawButton(cache);
  DrawTransparent(pDC, cache);
  DrawSelectionIf(cache);
  Blit(pDC, cache);
}

BOOL SECStdBtn::DrawSeparator(CDC* pDC)
{
  if (!(m_nStyle & SEC_TBBS_SEPARATOR))
    return FALSE;
  if (m_pToolBar == NULL || !m_pToolBar->IsCoolLook() || (m_nStyle & SEC_TBBS_WRAPPED))
    return TRUE;
  CRect rect = GetRect();
  DWORD ex = m_pToolBar->m_dwExStyle;
  if (!((ex & CBRS_EX_COOL) && (ex & 0x1000)))
    pDC->FillSolidRect(&rect, secData.m_clrBtnFace);
  int x = rect.left + (ImageSize().cx + 8) / 6;
  pDC->FillSolidRect(x, rect.top, 1, rect.Height(), secData.m_clrBtnShadow);
  pDC->FillSolidRect(x + 1, rect.top, 1, rect.Height(), secData.m_clrBtnHilite);
  return TRUE;
}

BOOL SECStdBtn::SelectImage(SECBtnDrawCache& cache)
{
  SECBmpMgr* pMgr = m_pToolBar != NULL ? m_pToolBar->GetBmpMgr() : NULL;
  HBITMAP hbm = NULL;
  int nImage = 0;
  if (pMgr == NULL || !pMgr->GetBitmap(m_nID, hbm, nImage))
    return FALSE;
  m_nImage = nImage;
  cache.SelectImage(hbm);
  return TRUE;
}

void SECStdBtn::DrawButton(SECBtnDrawCache& cache)
{
  int x = 0, y = 0, cx = m_cx, cy = m_cy;
  if (m_pToolBar != NULL && m_pToolBar->InConfigMode()) {
    DrawFace(cache, TRUE, x, y, cx, cy);
    return;
  }
  DrawFace(cache, FALSE, x, y, cx, cy);
  if (m_nStyle & SEC_TBBS_PRESSED)
    return;
  if (m_nStyle & SEC_TBBS_DISABLED)
    DrawDisabled(cache, x, y, cx, cy);
  else if (m_nStyle & SEC_TBBS_CHECKED)
    DrawChecked(cache, x, y, cx, cy);
  else if (m_nStyle & SEC_TBBS_INDETERMINATE)
    DrawIndeterminate(cache, x, y, cx, cy);
}

void SECStdBtn::DrawFace(SECBtnDrawCache& cache, BOOL bFlat, int& x, int& y, int& cx, int& cy,
                         int nImgWidth)
{
  CDC& dc = cache.m_dcFace;
  CSize img = ImageSize();
  if (nImgWidth < 0)
    nImgWidth = img.cx;
  dc.FillSolidRect(x, y, cx, cy, secData.m_clrBtnFace);
  BOOL bCool = m_pToolBar != NULL && m_pToolBar->IsCoolLook();
  int ix = x + (cx - nImgWidth - 1) / 2, iy = y + (cy - img.cy) / 2;
  if (!bFlat && (m_nStyle & (SEC_TBBS_CHECKED | SEC_TBBS_PRESSED))) {
    dc.Draw3dRect(x, y, cx, cy, bCool ? secData.m_clrBtnShadow : secData.m_clrWindowFrame,
                  secData.m_clrBtnHilite);
    if (!bCool)
      dc.Draw3dRect(x + 1, y + 1, cx - 2, cy - 2, secData.m_clrBtnShadow, secData.m_clrBtnFace);
    ix++;
    iy++;
  } else if (bCool) {
    if (!bFlat && (m_nStyle & SEC_TBBS_HOT))
      dc.Draw3dRect(x, y, cx, cy, secData.m_clrBtnHilite, secData.m_clrBtnShadow);
  } else if (!bFlat) {
    dc.Draw3dRect(x, y, cx, cy, secData.m_clrBtnHilite, secData.m_clrWindowFrame);
    dc.Draw3dRect(x + 1, y + 1, cx - 2, cy - 2, secData.m_clrBtnFace, secData.m_clrBtnShadow);
  }
  // a button without an image shows its face alone
  if (m_bImageSelected)
    DrawImage(ix, iy, nImgWidth, img.cy, cache, nImgWidth * m_nImage, 0);
  x += 2;
  y += 2;
  cx -= 4;
  cy -= 4;
}

void SECStdBtn::DrawImage(int x, int y, int cx, int cy, SECBtnDrawCache& cache, int sx, int sy)
{
  cache.m_dcFace.BitBlt(x, y, cx, cy, &cache.m_dcImage, sx, sy, SRCCOPY);
}

void SECStdBtn::CreateMask(SECBtnDrawCache& cache, int x, int y, int cx, int cy)
{
  CDC& mono = cache.m_dcMono;
  CDC& face = cache.m_dcFace;
  mono.PatBlt(0, 0, cache.m_size.cx, cache.m_size.cy, WHITENESS);
  COLORREF old = face.SetBkColor(secData.m_clrBtnFace);
  mono.BitBlt(x, y, cx, cy, &face, x, y, SRCCOPY);
  face.SetBkColor(secData.m_clrBtnHilite);
  mono.BitBlt(x, y, cx, cy, &face, x, y, SRCPAINT);
  face.SetBkColor(old);
}

void SECStdBtn::DrawDisabled(SECBtnDrawCache& cache, int x, int y, int cx, int cy)
{
  CreateMask(cache, x, y, cx, cy);
  CDC& face = cache.m_dcFace;
  face.FillSolidRect(x, y, cx, cy, secData.m_clrBtnFace);
  COLORREF oldText = face.SetTextColor(RGB(0, 0, 0));
  COLORREF oldBk = face.SetBkColor(RGB(255, 255, 255));
  HBRUSH hbrHi = ::CreateSolidBrush(secData.m_clrBtnHilite);
  HBRUSH hbrSh = ::CreateSolidBrush(secData.m_clrBtnShadow);
  HGDIOBJ hOld = ::SelectObject(face.GetSafeHdc(), hbrHi);
  face.BitBlt(x + 1, y + 1, cx, cy, &cache.m_dcMono, x, y, kRopInkThroughBrush);
  ::SelectObject(face.GetSafeHdc(), hbrSh);
  face.BitBlt(x, y, cx, cy, &cache.m_dcMono, x, y, kRopInkThroughBrush);
  if (m_nStyle & SEC_TBBS_CHECKED) {
    cache.m_dcMono.BitBlt(x + 1, y + 1, cx - 1, cy - 1, &cache.m_dcMono, x, y, SRCAND);
    ::SelectObject(face.GetSafeHdc(), cache.m_hbrDither);
    face.SetBrushOrg(2, 2);
    face.BitBlt(x, y, cx, cy, &cache.m_dcMono, x, y, kRopDitherWhite);
  }
  ::SelectObject(face.GetSafeHdc(), hOld);
  ::DeleteObject(hbrHi);
  ::DeleteObject(hbrSh);
  face.SetTextColor(oldText);
  face.SetBkColor(oldBk);
}

void SECStdBtn::DrawChecked(SECBtnDrawCache& cache, int x, int y, int cx, int cy)
{
  CreateMask(cache, x, y, cx, cy);
  CDC& face = cache.m_dcFace;
  COLORREF oldText = face.SetTextColor(secData.m_clrBtnFace);
  COLORREF oldBk = face.SetBkColor(secData.m_clrBtnHilite);
  HGDIOBJ hOld = ::SelectObject(face.GetSafeHdc(), cache.m_hbrDither);
  face.BitBlt(x, y, cx, cy, &cache.m_dcMono, x, y, kRopDitherWhite);
  ::SelectObject(face.GetSafeHdc(), hOld);
  face.SetTextColor(oldText);
  face.SetBkColor(oldBk);
}

void SECStdBtn::DrawIndeterminate(SECBtnDrawCache& cache, int x, int y, int cx, int cy)
{
  CreateMask(cache, x, y, cx, cy);
  CDC& face = cache.m_dcFace;
  COLORREF oldText = face.SetTextColor(RGB(0, 0, 0));
  COLORREF oldBk = face.SetBkColor(RGB(255, 255, 255));
  HBRUSH hbrSh = ::CreateSolidBrush(secData.m_clrBtnShadow);
  HGDIOBJ hOld = ::SelectObject(face.GetSafeHdc(), hbrSh);
  face.BitBlt(x, y, cx, cy, &cache.m_dcMono, x, y, kRopInkThroughBrush);
  face.SetTextColor(secData.m_clrBtnFace);
  face.SetBkColor(secData.m_clrBtnHilite);
  ::SelectObject(face.GetSafeHdc(), cache.m_hbrDither);
  face.BitBlt(x, y, cx, cy, &cache.m_dcMono, x, y, kRopDitherWhite);
  ::SelectObject(face.GetSafeHdc(), hOld);
  ::DeleteObject(hbrSh);
  face.SetTextColor(oldText);
  face.SetBkColor(oldBk);
}

void SECStdBtn::DrawSelection(SECBtnDrawCache& cache)
{
  CRect rect(0, 0, m_cx, m_cy);
  cache.m_dcFace.DrawDragRect(&rect, CSize(3, 3), NULL, CSize(3, 3));
}

void SECStdBtn::DrawSelectionIf(SECBtnDrawCache& cache)
{
  if (m_nStyle & SEC_TBBS_SELECTED)
    DrawSelection(cache);
}

void SECStdBtn::DrawTransparent(CDC* pDC, SECBtnDrawCache& cache)
{
  if (m_pToolBar == NULL || (m_pToolBar->m_dwExStyle & 0x1100) != 0x1100)
    return;
  CDC& face = cache.m_dcFace;
  CDC& mono = cache.m_dcMono;
  // mask: white where the composed button shows the face colour
  COLORREF old = face.SetBkColor(secData.m_clrBtnFace);
  mono.BitBlt(0, 0, m_cx, m_cy, &face, 0, 0, SRCCOPY);
  face.SetBkColor(old);
  COLORREF oldText = face.SetTextColor(RGB(0, 0, 0));
  COLORREF oldBk = face.SetBkColor(RGB(255, 255, 255));
  face.BitBlt(0, 0, m_cx, m_cy, pDC, m_x, m_y, SRCINVERT);
  face.BitBlt(0, 0, m_cx, m_cy, &mono, 0, 0, 0x00220326);  // AND NOT mask
  face.BitBlt(0, 0, m_cx, m_cy, pDC, m_x, m_y, SRCINVERT);
  face.SetTextColor(oldText);
  face.SetBkColor(oldBk);
}

void SECStdBtn::Blit(CDC* pDC, SECBtnDrawCache& cache)
{
  pDC->BitBlt(m_x, m_y, m_cx, m_cy, &cache.m_dcFace, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------------------------------------
// Menu button

SECTBMenuBtn::SECTBMenuBtn() : m_nMenuID(0), m_nPopup(0), m_cMnemonic(0), m_dwMask(0)
{
  m_nType = SEC_BTNTYPE_MENU;
}

void SECTBMenuBtn::Init(SECCustomToolBar* pToolBar, const UINT_PTR* pParams)
{
  m_pToolBar = pToolBar;
  if (pParams != NULL) {
    m_nMenuID = (UINT)pParams[0];
    m_nPopup = (int)pParams[1];
    m_strText = pParams[2] != 0 ? (LPCTSTR)pParams[2] : "";
    m_dwMask = (DWORD)pParams[3];
  }
  ComputeMnemonic();
  AdjustSize();
}

void SECTBMenuBtn::ComputeMnemonic()
{
  m_cMnemonic = 0;
  int n = m_strText.Find('&');
  if (n >= 0 && n + 1 < m_strText.GetLength())
    m_cMnemonic = (TCHAR)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)m_strText[n + 1]);
}

void SECTBMenuBtn::AdjustSize()
{
  HDC hdc = ::GetDC(NULL);
  HFONT hFont = m_pToolBar != NULL ? m_pToolBar->GetMenuFont() : NULL;
  HGDIOBJ hOld = ::SelectObject(hdc, hFont != NULL ? (HGDIOBJ)hFont : ::GetStockObject(DEFAULT_GUI_FONT));
  CRect r(0, 0, 0, 0);
  ::DrawTextA(hdc, m_strText, m_strText.GetLength(), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
  ::SelectObject(hdc, hOld);
  ::ReleaseDC(NULL, hdc);
  m_cx = r.Width() + 10;
  m_cy = r.Height() + 6;
  if (m_pToolBar != NULL && m_pToolBar->m_nMaxBtnWidth < m_cx)
    m_pToolBar->m_nMaxBtnWidth = m_cx;
}

BOOL SECTBMenuBtn::PressDown(int x, int y)
{
  (void)x;
  (void)y;
  if (m_nStyle & SEC_TBBS_DISABLED)
    return FALSE;
  m_nStyle |= SEC_TBBS_PRESSED;
  Invalidate();
  if (m_pToolBar != NULL && m_pToolBar->GetSafeHwnd() != NULL)
    m_pToolBar->UpdateWindow();
  DropDown();
  return FALSE;
}

void SECTBMenuBtn::DropDown()
{
  if (m_pToolBar != NULL)
    m_pToolBar->TrackMenu(this, (INT_PTR)m_nMenuID, (INT_PTR)m_nPopup);
}

void SECTBMenuBtn::DrawFace(SECBtnDrawCache& cache, BOOL bFlat, int& x, int& y, int& cx, int& cy,
                            int nImgWidth)
{
  (void)nImgWidth;
  CDC& dc = cache.m_dcFace;
  dc.FillSolidRect(x, y, cx, cy, secData.m_clrBtnFace);
  BOOL bDown = (m_nStyle & (SEC_TBBS_CHECKED | SEC_TBBS_PRESSED)) != 0;
  BOOL bCool = m_pToolBar == NULL || m_pToolBar->IsCoolLook();
  if (!bFlat && bDown)
    dc.Draw3dRect(x, y, cx, cy, bCool ? secData.m_clrBtnShadow : secData.m_clrWindowFrame,
                  secData.m_clrBtnHilite);
  else if (!bFlat && (m_nStyle & SEC_TBBS_HOT))
    dc.Draw3dRect(x, y, cx, cy, secData.m_clrBtnHilite, secData.m_clrBtnShadow);
  CRect rText(x + 4 + (bDown ? 1 : 0), y + 3 + (bDown ? 1 : 0), x + cx, y + cy);
  HFONT hFont = m_pToolBar != NULL ? m_pToolBar->GetMenuFont() : NULL;
  HGDIOBJ hOld = ::SelectObject(dc.GetSafeHdc(), hFont != NULL ? (HGDIOBJ)hFont
                                                                : ::GetStockObject(DEFAULT_GUI_FONT));
  COLORREF oldText = dc.SetTextColor(::GetSysColor(COLOR_MENUTEXT));
  COLORREF oldBk = dc.SetBkColor(secData.m_clrBtnFace);
  ::DrawTextA(dc.GetSafeHdc(), m_strText, m_strText.GetLength(), &rText, DT_SINGLELINE);
  dc.SetTextColor(oldText);
  dc.SetBkColor(oldBk);
  ::SelectObject(dc.GetSafeHdc(), hOld);
  x += 2;
  y += 2;
  cx -= 4;
  cy -= 4;
}

// ---------------------------------------------------------------------------------------------
// Tracker

void SECToolBarRectTracker::DrawTrackerRect(LPCRECT lpRect, CWnd* pWndClipTo, CDC* pDC, CWnd* pWnd)
{
  (void)pWndClipTo;
  (void)pDC;
  CRect rect = *lpRect;
  rect.NormalizeRect();
  if (pWnd != NULL)
    pWnd->ClientToScreen(&rect);
  int n = m_nHandleSize - 1 < 1 ? 1 : m_nHandleSize - 1;
  CSize size = m_bFinalErase ? CSize(0, 0) : CSize(n, n);
  HDC hdc = ::GetDCEx(NULL, NULL, DCX_WINDOW | DCX_CACHE | DCX_LOCKWINDOWUPDATE);
  if (hdc == NULL)
    hdc = ::GetDC(NULL);
  CDC* pDesk = CDC::FromHandle(hdc);
  pDesk->DrawDragRect(&rect, size, m_bErase ? &m_rectLast : NULL, m_sizeLast);
  ::ReleaseDC(NULL, hdc);
  m_rectLast = rect;
  m_sizeLast = size;
}

BOOL SECToolBarRectTracker::TrackFrom(CWnd* pWnd, CPoint point)
{
  return Track(pWnd, point, FALSE, CWnd::GetDesktopWindow());
}
