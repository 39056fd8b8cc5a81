// Owner-drawn popup menus with toolbar images.
#include "SECBmpMenuPlugIn.h"
#include "SECBmpMgr.h"
#include "SECSysColor.h"
#include "SECToolBars_res.h"
#include "SECToolBtn.h"
#include <afxpriv.h>
#include <algorithm>

#ifndef OBM_MNARROW
#define OBM_MNARROW 32739
#endif
#ifndef OBM_CHECK
#define OBM_CHECK 32760
#endif

IMPLEMENT_DYNAMIC(SECBmpMenuItemInfo, CObject)
IMPLEMENT_DYNAMIC(SECBmpMenuPlugIn, SECWndPlugIn)

COLORREF SECBmpMenuPlugIn::s_clrFace, SECBmpMenuPlugIn::s_clrHilite, SECBmpMenuPlugIn::s_clrShadow,
    SECBmpMenuPlugIn::s_clrSelect, SECBmpMenuPlugIn::s_clrMenu, SECBmpMenuPlugIn::s_clrGrayText,
    SECBmpMenuPlugIn::s_clrSelectText, SECBmpMenuPlugIn::s_clrMenuText;

BEGIN_MESSAGE_MAP(SECBmpMenuPlugIn, SECWndPlugIn)
  ON_MESSAGE(WM_INITMENUPOPUP, OnInitMenuPopupMsg)
  ON_MESSAGE(WM_MEASUREITEM, OnMeasureItemMsg)
  ON_MESSAGE(WM_DRAWITEM, OnDrawItemMsg)
  ON_MESSAGE(WM_MENUCHAR, OnMenuCharMsg)
  ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUIMsg)
  ON_MESSAGE(WM_SETTINGCHANGE, OnSettingChangeMsg)
  ON_MESSAGE(WM_SYSCOLORCHANGE, OnSysColorChangeMsg)
END_MESSAGE_MAP()

namespace {
TCHAR MnemonicOf(const CString& str)
{
  int n = str.Find('&');
  if (n < 0 || n + 1 >= str.GetLength())
    return 0;
  return (TCHAR)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)str[n + 1]);
}

}  // namespace

HFONT SECCreateMenuFont(BOOL bBold)
{
  NONCLIENTMETRICSA ncm;
  memset(&ncm, 0, sizeof(ncm));
  ncm.cbSize = sizeof(ncm);
  ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  if (bBold)
    ncm.lfMenuFont.lfWeight = FW_BOLD;
  return ::CreateFontIndirectA(&ncm.lfMenuFont);
}

SECBmpMenuItemInfo::SECBmpMenuItemInfo(UINT nID, LPCTSTR lpszText)
    : m_nID(nID), m_strText(lpszText), m_cMnemonic(MnemonicOf(m_strText))
{
}

void SECBmpMenuPlugIn::ReadColors()
{
  s_clrFace = ::GetSysColor(COLOR_BTNFACE);
  s_clrHilite = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  s_clrShadow = ::GetSysColor(COLOR_BTNSHADOW);
  s_clrSelect = ::GetSysColor(COLOR_HIGHLIGHT);
  s_clrMenu = ::GetSysColor(COLOR_MENU);
  s_clrGrayText = ::GetSysColor(COLOR_GRAYTEXT);
  s_clrSelectText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
  s_clrMenuText = ::GetSysColor(COLOR_MENUTEXT);
}

SECBmpMenuPlugIn::SECBmpMenuPlugIn(BOOL bOwnCheckMarks)
    : m_bOwnCheckMarks(bOwnCheckMarks), m_pBmpMgr(new SECBmpMgr), m_hMenuFont(NULL),
      m_hBoldFont(NULL), m_hbrDither(NULL), m_hbmRadio(NULL), m_hbmCheck(NULL)
{
  ReadColors();
  m_pBmpMgr->SetKeepBoth(TRUE);
  if (bOwnCheckMarks) {
    // 16 x 15, white but a dot in rows 4 to 8
    WORD rows[15];
    static const int kCols[5][2] = {{7, 8}, {6, 9}, {6, 9}, {6, 9}, {7, 8}};
    for (int y = 0; y < 15; y++) {
      WORD w = 0xFFFF;
      if (y >= 4 && y <= 8)
        for (int x = kCols[y - 4][0]; x <= kCols[y - 4][1]; x++)
          w &= (WORD)~(0x8000 >> x);
      rows[y] = (WORD)((w >> 8) | (w << 8));  // the bytes of a row, left one first
    }
    m_hbmRadio = ::CreateBitmap(16, 15, 1, 1, rows);
    if (m_hbmRadio == NULL)
      m_hbmRadio = ::LoadBitmapA(NULL, MAKEINTRESOURCEA(OBM_MNARROW));
  }
}

SECBmpMenuPlugIn::~SECBmpMenuPlugIn()
{
  RestoreMenus();
  if (m_pBmpMgr != NULL)
    m_pBmpMgr->Release();
  if (m_hbrDither) ::DeleteObject(m_hbrDither);
  if (m_hMenuFont) ::DeleteObject(m_hMenuFont);
  if (m_hBoldFont) ::DeleteObject(m_hBoldFont);
  if (m_hbmRadio) ::DeleteObject(m_hbmRadio);
  if (m_hbmCheck) ::DeleteObject(m_hbmCheck);
}

void SECBmpMenuPlugIn::RestoreMenus()
{
  for (auto& rec : m_menus) {
    if (::IsMenu(rec.first)) {
      int n = ::GetMenuItemCount(rec.first);
      for (int i = 0; i < n; i++) {
        MENUITEMINFOA mii;
        memset(&mii, 0, sizeof(mii));
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_DATA;
        if (!::GetMenuItemInfoA(rec.first, i, TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW))
          continue;
        SECBmpMenuItemInfo* pInfo = OwnInfo(mii.dwItemData);
        if (pInfo == NULL)
          continue;
        mii.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
        mii.fType &= ~MFT_OWNERDRAW;
        mii.dwTypeData = (LPSTR)(LPCSTR)pInfo->m_strText;
        mii.dwItemData = 0;
        ::SetMenuItemInfoA(rec.first, i, TRUE, &mii);
      }
    }
  }
  for (SECBmpMenuItemInfo* p : m_allInfos)
    delete p;
  m_allInfos.clear();
  m_menus.clear();
}

SECBmpMenuItemInfo* SECBmpMenuPlugIn::OwnInfo(ULONG_PTR nData) const
{
  auto it = m_allInfos.find((SECBmpMenuItemInfo*)nData);
  return it != m_allInfos.end() ? *it : NULL;
}

BOOL SECBmpMenuPlugIn::AddToolBarResource(LPCTSTR lpszResource)
{
  return m_pBmpMgr->AddToolBarResource(lpszResource, NULL, TRUE);
}

BOOL SECBmpMenuPlugIn::AddBitmapResource(LPCTSTR lpszBitmap, const UINT* pIDs, int nCount)
{
  return m_pBmpMgr->AddBitmapResource(lpszBitmap, NULL, pIDs, nCount, TRUE);
}

BOOL SECBmpMenuPlugIn::AddBitmap(HBITMAP hBitmap, const UINT* pIDs, int nCount)
{
  return m_pBmpMgr->AddBitmap(hBitmap, NULL, pIDs, nCount);
}

void SECBmpMenuPlugIn::SetBmpMgr(SECBmpMgr* pMgr)
{
  if (pMgr == NULL || pMgr == m_pBmpMgr)
    return;
  pMgr->Retain();
  m_pBmpMgr->Release();
  m_pBmpMgr = pMgr;
  m_pBmpMgr->SetKeepBoth(TRUE);
}

void SECBmpMenuPlugIn::CreateMenuFont()
{
  if (m_hMenuFont == NULL)
    m_hMenuFont = SECCreateMenuFont(FALSE);
}

void SECBmpMenuPlugIn::CreateBoldMenuFont()
{
  if (m_hBoldFont == NULL)
    m_hBoldFont = SECCreateMenuFont(TRUE);
}

// ---------------------------------------------------------------------------------------------
// Converting and cleaning menus

void SECBmpMenuPlugIn::ConvertMenu(HMENU hMenu)
{
  SECBmpMenuInfo& list = m_menus[hMenu];
  list.m_hMenu = hMenu;
  int n = ::GetMenuItemCount(hMenu);
  for (int i = 0; i < n; i++) {
    char szText[256] = "";
    MENUITEMINFOA mii;
    memset(&mii, 0, sizeof(mii));
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_ID | MIIM_TYPE | MIIM_DATA;
    mii.dwTypeData = szText;
    mii.cch = sizeof(szText);
    if (!::GetMenuItemInfoA(hMenu, i, TRUE, &mii))
      continue;
    if (mii.fType & MFT_OWNERDRAW) {
      SECBmpMenuItemInfo* pOwn = OwnInfo(mii.dwItemData);
      if (!IsExcluded(mii.wID) &&
          (pOwn == NULL || std::find(list.begin(), list.end(), pOwn) == list.end()))
        m_excluded.insert(mii.wID);
      continue;
    }
    if (mii.fType & (MFT_BITMAP | MFT_SEPARATOR))
      continue;
    if ((mii.wID >= 0xF000 && mii.wID <= 0xFEFF) || IsExcluded(mii.wID))
      continue;
    SECBmpMenuItemInfo* pInfo = new SECBmpMenuItemInfo(mii.wID, szText);
    MENUITEMINFOA set;
    memset(&set, 0, sizeof(set));
    set.cbSize = sizeof(set);
    set.fMask = MIIM_FTYPE | MIIM_DATA;
    set.fType = (mii.fType & ~MFT_STRING) | MFT_OWNERDRAW;
    set.dwItemData = (ULONG_PTR)pInfo;
    if (!::SetMenuItemInfoA(hMenu, i, TRUE, &set)) {
      delete pInfo;
      continue;
    }
    list.push_back(pInfo);
    m_allInfos.insert(pInfo);
  }
}

void SECBmpMenuPlugIn::ForwardInitMenuPopup(HMENU hMenu, UINT nIndex, BOOL bSysMenu)
{
  (void)nIndex;
  if (bSysMenu || !::IsMenu(hMenu))
    return;
  ConvertMenu(hMenu);
}

void SECBmpMenuPlugIn::CleanupMenus()
{
  for (auto it = m_menus.begin(); it != m_menus.end();) {
    if (!::IsMenu(it->first)) {
      for (SECBmpMenuItemInfo* p : it->second) {
        m_allInfos.erase(p);
        delete p;
      }
      it = m_menus.erase(it);
      continue;
    }
    std::set<SECBmpMenuItemInfo*> used;
    int n = ::GetMenuItemCount(it->first);
    for (int i = 0; i < n; i++) {
      MENUITEMINFOA mii;
      memset(&mii, 0, sizeof(mii));
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
      if (::GetMenuItemInfoA(it->first, i, TRUE, &mii) && (mii.fType & MFT_OWNERDRAW) &&
          !IsExcluded(mii.wID))
        used.insert((SECBmpMenuItemInfo*)mii.dwItemData);
    }
    std::vector<SECBmpMenuItemInfo*> keep;
    for (SECBmpMenuItemInfo* p : it->second) {
      if (used.count(p)) {
        keep.push_back(p);
      } else {
        m_allInfos.erase(p);
        delete p;
      }
    }
    it->second.swap(keep);
    ++it;
  }
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT SECBmpMenuPlugIn::OnInitMenuPopupMsg(WPARAM wParam, LPARAM lParam)
{
  ForwardInitMenuPopup((HMENU)wParam, LOWORD(lParam), HIWORD(lParam));
  SetHandled(FALSE);
  return 0;
}

LRESULT SECBmpMenuPlugIn::OnMeasureItemMsg(WPARAM, LPARAM lParam)
{
  MEASUREITEMSTRUCT* p = (MEASUREITEMSTRUCT*)lParam;
  SECBmpMenuItemInfo* pInfo = p != NULL && p->CtlType == ODT_MENU ? OwnInfo(p->itemData) : NULL;
  if (pInfo == NULL || IsExcluded(p->itemID)) {
    SetHandled(FALSE);
    return 0;
  }
  MeasureItem(p, pInfo);
  SetHandled(TRUE);
  return TRUE;
}

void SECBmpMenuPlugIn::MeasureItem(MEASUREITEMSTRUCT* p, SECBmpMenuItemInfo* pInfo)
{
  CreateMenuFont();
  HDC hdc = ::GetDC(NULL);
  HGDIOBJ hOld = ::SelectObject(hdc, m_hMenuFont);
  CRect r(0, 0, 0, 0);
  ::DrawTextA(hdc, pInfo->m_strText, pInfo->m_strText.GetLength(), &r,
              DT_CALCRECT | DT_SINGLELINE | DT_VCENTER);
  ::SelectObject(hdc, hOld);
  ::ReleaseDC(NULL, hdc);
  CSize img = m_pBmpMgr->GetSmallSize();
  p->itemWidth = (UINT)(r.Width() + img.cx + 30);
  p->itemHeight = (UINT)std::max(std::max(::GetSystemMetrics(SM_CYMENU), (int)img.cy + 4), r.Height());
}

LRESULT SECBmpMenuPlugIn::OnDrawItemMsg(WPARAM, LPARAM lParam)
{
  DRAWITEMSTRUCT* p = (DRAWITEMSTRUCT*)lParam;
  SECBmpMenuItemInfo* pInfo =
      p != NULL && p->CtlType == ODT_MENU && ::IsMenu((HMENU)p->hwndItem) ? OwnInfo(p->itemData) : NULL;
  if (pInfo == NULL || IsExcluded(p->itemID)) {
    SetHandled(FALSE);
    return 0;
  }
  DrawItem(p, pInfo);
  SetHandled(TRUE);
  return TRUE;
}

void SECBmpMenuPlugIn::DrawItem(DRAWITEMSTRUCT* p, SECBmpMenuItemInfo* pInfo)
{
  CDC* pDC = CDC::FromHandle(p->hDC);
  CString strLabel = pInfo->m_strText, strAccel;
  int nTab = strLabel.Find('\t');
  if (nTab >= 0) {
    strAccel = strLabel.Mid(nTab + 1);
    strLabel = strLabel.Left(nTab);
  }
  BOOL bChecked = (p->itemState & ODS_CHECKED) != 0;
  BOOL bSelected = (p->itemState & ODS_SELECTED) != 0;
  BOOL bDisabled = (p->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  HBITMAP hbm = NULL;
  int nImage = 0;
  CSize img = m_pBmpMgr->GetSmallSize();
  int cx = img.cx, cy = img.cy;
  if (!m_pBmpMgr->GetBitmap(pInfo->m_nID, hbm, nImage, TRUE)) {
    hbm = NULL;
    MENUITEMINFOA mii;
    memset(&mii, 0, sizeof(mii));
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_CHECKMARKS | MIIM_FTYPE;
    ::GetMenuItemInfoA((HMENU)p->hwndItem, p->itemID, FALSE, &mii);
    if (bChecked) {
      if (mii.hbmpChecked != NULL) {
        hbm = mii.hbmpChecked;
      } else if (m_bOwnCheckMarks) {
        if (m_hbmCheck == NULL) {
          CBitmap bmp;
          if (LoadSysColorBitmap(&bmp, MAKEINTRESOURCE(IDB_SEC_MENUCHECK)))
            m_hbmCheck = (HBITMAP)bmp.Detach();
        }
        hbm = (mii.fType & MFT_RADIOCHECK) && m_hbmRadio != NULL ? m_hbmRadio : m_hbmCheck;
      }
      if (hbm == NULL)
        hbm = ::LoadBitmapA(NULL, MAKEINTRESOURCEA(OBM_CHECK));
    } else if (mii.hbmpUnchecked != NULL) {
      hbm = mii.hbmpUnchecked;
    }
    if (hbm != NULL) {
      BITMAP bm;
      ::GetObjectA(hbm, sizeof(bm), &bm);
      cx = bm.bmWidth;
      cy = bm.bmHeight;
      nImage = 0;
    }
  }
  CreateMenuFont();
  CreateBoldMenuFont();
  HGDIOBJ hOldFont = pDC->SelectObject(CFont::FromHandle((p->itemState & ODS_DEFAULT) ? m_hBoldFont : m_hMenuFont))
                         ->GetSafeHandle();
  CRect rcItem = p->rcItem;
  CRect rcBox(rcItem.left + 1, rcItem.top, rcItem.left + 1 + img.cx + 4, rcItem.bottom);
  DrawImageBox(p, pDC, rcBox, hbm, nImage, cx, cy);
  CRect rcStrip(rcBox.right, rcItem.top, rcBox.right + 1, rcItem.bottom);
  pDC->FillSolidRect(&rcStrip, bSelected && hbm == NULL ? s_clrSelect : s_clrMenu);
  CRect rcRest(rcStrip.right, rcItem.top, rcItem.right, rcItem.bottom);
  pDC->FillSolidRect(&rcRest, bSelected ? s_clrSelect : s_clrMenu);
  CRect rcText(rcStrip.right + 1, rcItem.top, rcItem.right - 23, rcItem.bottom);
  int nOldMode = pDC->SetBkMode(TRANSPARENT);
  auto drawTexts = [&](CRect r, COLORREF clr) {
    COLORREF old = pDC->SetTextColor(clr);
    pDC->DrawText(strLabel, &r, DT_SINGLELINE | DT_VCENTER);
    if (!strAccel.IsEmpty())
      pDC->DrawText(strAccel, &r, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    pDC->SetTextColor(old);
  };
  if (bDisabled) {
    if (!bSelected) {
      CRect r = rcText;
      r.OffsetRect(1, 1);
      drawTexts(r, s_clrHilite);
    }
    drawTexts(rcText, s_clrGrayText);
  } else {
    drawTexts(rcText, bSelected ? s_clrSelectText : s_clrMenuText);
  }
  pDC->SetBkMode(nOldMode);
  ::SelectObject(p->hDC, hOldFont);
}

void SECBmpMenuPlugIn::DrawImageBox(DRAWITEMSTRUCT* p, CDC* pDC, CRect rect, HBITMAP hBitmap,
                                    int nImage, int cx, int cy)
{
  BOOL bChecked = (p->itemState & ODS_CHECKED) != 0;
  BOOL bSelected = (p->itemState & ODS_SELECTED) != 0;
  BOOL bDisabled = (p->itemState & (ODS_DISABLED | ODS_GRAYED)) != 0;
  if (hBitmap == NULL) {
    pDC->FillSolidRect(&rect, bSelected ? s_clrSelect : s_clrMenu);
    return;
  }
  pDC->FillSolidRect(&rect, s_clrMenu);
  int nInner = cy + 4;
  CRect rcInner(rect.left, rect.top + (rect.Height() - nInner) / 2, rect.right,
                rect.top + (rect.Height() - nInner) / 2 + nInner);
  if (bChecked)
    ::DrawEdge(pDC->GetSafeHdc(), &rcInner, BDR_SUNKENOUTER, BF_RECT);
  else if (bSelected && !bDisabled)
    ::DrawEdge(pDC->GetSafeHdc(), &rcInner, BDR_RAISEDINNER, BF_RECT);
  int x = rcInner.left + 2, y = rcInner.top + 2;
  int w = std::min(cx, rcInner.Width() - 3);
  int h = std::min(cy, rcInner.Height() - 3);
  CDC dcImage;
  dcImage.CreateCompatibleDC(pDC);
  HGDIOBJ hOld = ::SelectObject(dcImage.GetSafeHdc(), hBitmap);
  int sx = cx * nImage;
  if (bDisabled)
    DrawDisabledImage(pDC, x, y, w, h, &dcImage, sx);
  else if (bChecked && !bSelected)
    DrawCheckedImage(pDC, x, y, w, h, &dcImage, sx);
  else
    pDC->BitBlt(x, y, w, h, &dcImage, sx, 0, SRCCOPY);
  ::SelectObject(dcImage.GetSafeHdc(), hOld);
}

SECBmpMenuPlugIn::SECBmpMenuInfo::SECBmpMenuInfo() : m_hMenu(NULL) {}

void SECBmpMenuPlugIn::CreateImageMask(CDC* pDC, CDC* pMaskDC, HBITMAP& hMask, HGDIOBJ& hOldMask,
                                       int cx, int cy, CDC* pImageDC, int sx)
{
  pMaskDC->CreateCompatibleDC(pDC);
  hMask = ::CreateBitmap(cx, cy, 1, 1, NULL);
  hOldMask = ::SelectObject(pMaskDC->GetSafeHdc(), hMask);
  pMaskDC->PatBlt(0, 0, cx, cy, WHITENESS);
  COLORREF oldBk = pImageDC->SetBkColor(s_clrFace);
  pMaskDC->BitBlt(0, 0, cx, cy, pImageDC, sx, 0, SRCCOPY);
  pImageDC->SetBkColor(s_clrHilite);
  pMaskDC->BitBlt(0, 0, cx, cy, pImageDC, sx, 0, SRCPAINT);
  pImageDC->SetBkColor(oldBk);
}

void SECBmpMenuPlugIn::DrawDisabledImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pImageDC,
                                         int sx)
{
  CDC dcMask;
  HBITMAP hMask = NULL;
  HGDIOBJ hOldMask = NULL;
  CreateImageMask(pDC, &dcMask, hMask, hOldMask, cx, cy, pImageDC, sx);
  COLORREF oldText = pDC->SetTextColor(RGB(0, 0, 0));
  COLORREF oldBk = pDC->SetBkColor(RGB(255, 255, 255));
  HBRUSH hbrHi = ::CreateSolidBrush(s_clrHilite), hbrSh = ::CreateSolidBrush(s_clrShadow);
  HGDIOBJ hOldBr = ::SelectObject(pDC->GetSafeHdc(), hbrHi);
  pDC->BitBlt(x + 1, y + 1, cx, cy, &dcMask, 0, 0, 0xB8074A);
  ::SelectObject(pDC->GetSafeHdc(), hbrSh);
  pDC->BitBlt(x, y, cx, cy, &dcMask, 0, 0, 0xB8074A);
  ::SelectObject(pDC->GetSafeHdc(), hOldBr);
  ::DeleteObject(hbrHi);
  ::DeleteObject(hbrSh);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
  ::SelectObject(dcMask.GetSafeHdc(), hOldMask);
  ::DeleteObject(hMask);
}

void SECBmpMenuPlugIn::DrawCheckedImage(CDC* pDC, int x, int y, int cx, int cy, CDC* pImageDC,
                                        int sx)
{
  CDC dcMask;
  HBITMAP hMask = NULL;
  HGDIOBJ hOldMask = NULL;
  CreateImageMask(pDC, &dcMask, hMask, hOldMask, cx, cy, pImageDC, sx);
  if (m_hbrDither == NULL)
    m_hbrDither = SECCreateDitherBrush();
  pDC->BitBlt(x, y, cx, cy, pImageDC, sx, 0, SRCCOPY);
  COLORREF oldText = pDC->SetTextColor(s_clrFace);
  COLORREF oldBk = pDC->SetBkColor(s_clrHilite);
  HGDIOBJ hOldBr = ::SelectObject(pDC->GetSafeHdc(), m_hbrDither);
  pDC->BitBlt(x, y, cx, cy, &dcMask, 0, 0, 0xE20746);
  ::SelectObject(pDC->GetSafeHdc(), hOldBr);
  pDC->SetTextColor(oldText);
  pDC->SetBkColor(oldBk);
  ::SelectObject(dcMask.GetSafeHdc(), hOldMask);
  ::DeleteObject(hMask);
}

LRESULT SECBmpMenuPlugIn::OnMenuCharMsg(WPARAM wParam, LPARAM lParam)
{
  HMENU hMenu = (HMENU)lParam;
  TCHAR c = (TCHAR)(UINT_PTR)::CharLowerA((LPSTR)(UINT_PTR)(BYTE)LOWORD(wParam));
  std::vector<int> matches;
  int nHilite = -1;
  int n = ::IsMenu(hMenu) ? ::GetMenuItemCount(hMenu) : 0;
  for (int i = 0; i < n; i++) {
    MENUITEMINFOA mii;
    memset(&mii, 0, sizeof(mii));
    mii.cbSize = sizeof(mii);
    mii.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID | MIIM_STATE;
    if (!::GetMenuItemInfoA(hMenu, i, TRUE, &mii))
      continue;
    if (mii.fState & MFS_HILITE)
      nHilite = i;
    SECBmpMenuItemInfo* pInfo = (mii.fType & MFT_OWNERDRAW) ? OwnInfo(mii.dwItemData) : NULL;
    if (pInfo != NULL && !IsExcluded(mii.wID) && pInfo->m_cMnemonic == c)
      matches.push_back(i);
  }
  if (matches.empty()) {
    SetHandled(FALSE);
    return 0;
  }
  SetHandled(TRUE);
  if (matches.size() == 1)
    return MAKELRESULT(matches[0], MNC_EXECUTE);
  for (int m : matches)
    if (m > nHilite)
      return MAKELRESULT(m, MNC_SELECT);
  return MAKELRESULT(matches[0], MNC_SELECT);
}

LRESULT SECBmpMenuPlugIn::OnIdleUpdateCmdUIMsg(WPARAM, LPARAM)
{
  CleanupMenus();
  SetHandled(FALSE);
  return 0;
}

LRESULT SECBmpMenuPlugIn::OnSettingChangeMsg(WPARAM, LPARAM)
{
  if (m_hMenuFont) ::DeleteObject(m_hMenuFont);
  if (m_hBoldFont) ::DeleteObject(m_hBoldFont);
  m_hMenuFont = m_hBoldFont = NULL;
  m_pBmpMgr->ReloadBitmaps();
  CleanupMenus();
  // every item measured again: string and back
  for (auto& rec : m_menus) {
    int n = ::GetMenuItemCount(rec.first);
    for (int i = 0; i < n; i++) {
      MENUITEMINFOA mii;
      memset(&mii, 0, sizeof(mii));
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_FTYPE | MIIM_DATA;
      if (!::GetMenuItemInfoA(rec.first, i, TRUE, &mii) || !(mii.fType & MFT_OWNERDRAW) ||
          OwnInfo(mii.dwItemData) == NULL)
        continue;
      ULONG_PTR data = mii.dwItemData;
      MENUITEMINFOA s;
      memset(&s, 0, sizeof(s));
      s.cbSize = sizeof(s);
      s.fMask = MIIM_FTYPE | MIIM_STRING;
      s.fType = mii.fType & ~MFT_OWNERDRAW;
      s.dwTypeData = (LPSTR) "";
      ::SetMenuItemInfoA(rec.first, i, TRUE, &s);
      s.fMask = MIIM_FTYPE | MIIM_DATA;
      s.fType = mii.fType;
      s.dwItemData = data;
      ::SetMenuItemInfoA(rec.first, i, TRUE, &s);
    }
  }
  SetHandled(FALSE);
  return 0;
}

LRESULT SECBmpMenuPlugIn::OnSysColorChangeMsg(WPARAM, LPARAM)
{
  ReadColors();
  if (m_hbrDither) ::DeleteObject(m_hbrDither);
  m_hbrDither = NULL;
  if (m_hbmCheck) ::DeleteObject(m_hbmCheck);
  m_hbmCheck = NULL;
  m_pBmpMgr->ReloadBitmaps();
  SetHandled(FALSE);
  return 0;
}
