// The shared button image store.
#include "SECBmpMgr.h"
#include "SECSysColor.h"

IMPLEMENT_DYNAMIC(SECBmpMgr, CObject)

#ifndef RT_TOOLBAR
#define RT_TOOLBAR MAKEINTRESOURCE(241)
#endif

BOOL SECReadToolBarResource(LPCTSTR lpszResource, CSize& sizeImage, CDWordArray& ids)
{
  ids.RemoveAll();
  HINSTANCE hInst = AfxFindResourceHandle(lpszResource, RT_TOOLBAR);
  HRSRC hRsrc = ::FindResourceA(hInst, lpszResource, RT_TOOLBAR);
  if (hRsrc == NULL)
    return FALSE;
  DWORD nBytes = ::SizeofResource(hInst, hRsrc);
  HGLOBAL hGlobal = ::LoadResource(hInst, hRsrc);
  const WORD* p = hGlobal != NULL ? (const WORD*)::LockResource(hGlobal) : NULL;
  // version, width, height, count: then as many ids as the resource really holds
  if (p == NULL || nBytes < 4 * sizeof(WORD) || p[0] != 1)
    return FALSE;
  sizeImage = CSize(p[1], p[2]);
  UINT nCount = p[3];
  UINT nThere = (UINT)(nBytes / sizeof(WORD)) - 4;
  if (nCount > nThere)
    nCount = nThere;
  for (UINT i = 0; i < nCount; i++)
    ids.Add(p[4 + i]);
  return TRUE;
}

SECBmpMgr::SECBmpMgr()
    : m_nRef(1), m_szSmall(16, 15), m_szLarge(22, 24), m_bSmall(TRUE), m_bKeepBoth(FALSE),
      m_bSizeSet(FALSE)
{
  m_map.InitHashTable(17);
}

SECBmpMgr::~SECBmpMgr()
{
  for (BmpInfo* p : m_entries) {
    if (p->m_hSmall != NULL && !p->m_bSmallExternal)
      ::DeleteObject(p->m_hSmall);
    if (p->m_hLarge != NULL && !p->m_bLargeExternal)
      ::DeleteObject(p->m_hLarge);
    delete p;
  }
}

void SECBmpMgr::Release()
{
  if (--m_nRef <= 0)
    delete this;
}

BOOL SECBmpMgr::AddToolBarResource(LPCTSTR lpszSmall, LPCTSTR lpszLarge, BOOL bSysColor)
{
  CSize size;
  CDWordArray ids;
  if (!SECReadToolBarResource(lpszSmall, size, ids))
    return FALSE;
  CSize sizeLarge(0, 0);
  CDWordArray idsLarge;
  if (lpszLarge != NULL && !SECReadToolBarResource(lpszLarge, sizeLarge, idsLarge))
    return FALSE;
  if (!m_bSizeSet) {
    m_bSizeSet = TRUE;
    m_szSmall = size;
    if (lpszLarge != NULL)
      m_szLarge = sizeLarge;
  }
  std::vector<UINT> images;
  for (INT_PTR i = 0; i < ids.GetSize(); i++)
    if (ids[i] != 0)
      images.push_back(ids[i]);
  BmpInfo* pInfo = new BmpInfo();
  pInfo->m_small.Set(lpszSmall);
  pInfo->m_large.Set(lpszLarge);
  pInfo->m_hSmall = pInfo->m_hLarge = NULL;
  pInfo->m_nCount = (int)images.size();
  pInfo->m_bSysColor = bSysColor;
  pInfo->m_bSmallExternal = pInfo->m_bLargeExternal = FALSE;
  return AddEntry(pInfo, images.data(), (int)images.size());
}

BOOL SECBmpMgr::AddBitmapResource(LPCTSTR lpszBitmap, LPCTSTR lpszLarge, const UINT* pIDs,
                                  int nCount, BOOL bSysColor)
{
  BmpInfo* pInfo = new BmpInfo();
  pInfo->m_small.Set(lpszBitmap);
  pInfo->m_large.Set(lpszLarge);
  pInfo->m_hSmall = pInfo->m_hLarge = NULL;
  pInfo->m_nCount = nCount;
  pInfo->m_bSysColor = bSysColor;
  pInfo->m_bSmallExternal = pInfo->m_bLargeExternal = FALSE;
  return AddEntry(pInfo, pIDs, nCount);
}

BOOL SECBmpMgr::AddBitmap(HBITMAP hSmall, HBITMAP hLarge, const UINT* pIDs, int nCount)
{
  BmpInfo* pInfo = new BmpInfo();
  pInfo->m_hSmall = hSmall;
  pInfo->m_hLarge = hLarge;
  pInfo->m_nCount = nCount;
  pInfo->m_bSysColor = FALSE;
  pInfo->m_bSmallExternal = hSmall != NULL;
  pInfo->m_bLargeExternal = hLarge != NULL;
  return AddEntry(pInfo, pIDs, nCount);
}

BOOL SECBmpMgr::AddEntry(BmpInfo* pInfo, const UINT* pIDs, int nCount)
{
  int nEntry = (int)m_entries.size();
  m_entries.push_back(pInfo);
  for (int i = 0; i < nCount; i++) {
    BmpItem item;
    if (pIDs[i] == 0 || m_map.Lookup(pIDs[i], item))
      continue;  // the first registration of an id wins
    item.m_nEntry = nEntry;
    item.m_nImage = i;
    m_map.SetAt(pIDs[i], item);
  }
  return LoadEntry(*pInfo);
}

HBITMAP SECBmpMgr::LoadOne(const SECResName& name, BOOL bSysColor)
{
  if (name.IsNone())
    return NULL;
  CBitmap bmp;
  BOOL ok = bSysColor ? LoadSysColorBitmap(&bmp, name.Get()) : bmp.LoadBitmap(name.Get());
  return ok ? (HBITMAP)bmp.Detach() : NULL;
}

HBITMAP SECBmpMgr::StretchSmall(BmpInfo& info)
{
  HBITMAP hSmall = info.m_hSmall;
  BOOL bTemp = FALSE;
  if (hSmall == NULL) {
    hSmall = LoadOne(info.m_small, info.m_bSysColor);
    bTemp = TRUE;
  }
  if (hSmall == NULL)
    return NULL;
  HDC hScreen = ::GetDC(NULL);
  HDC hSrc = ::CreateCompatibleDC(hScreen), hDst = ::CreateCompatibleDC(hScreen);
  int nCount = info.m_nCount > 0 ? info.m_nCount : 1;
  HBITMAP hLarge = ::CreateCompatibleBitmap(hScreen, m_szLarge.cx * nCount, m_szLarge.cy);
  if (hLarge != NULL && hSrc != NULL && hDst != NULL) {
    HGDIOBJ hOldSrc = ::SelectObject(hSrc, hSmall);
    HGDIOBJ hOldDst = ::SelectObject(hDst, hLarge);
    ::SetStretchBltMode(hDst, COLORONCOLOR);
    for (int i = 0; i < nCount; i++)
      ::StretchBlt(hDst, i * m_szLarge.cx, 0, m_szLarge.cx, m_szLarge.cy, hSrc, i * m_szSmall.cx,
                   0, m_szSmall.cx, m_szSmall.cy, SRCCOPY);
    ::SelectObject(hSrc, hOldSrc);
    ::SelectObject(hDst, hOldDst);
  }
  if (hSrc) ::DeleteDC(hSrc);
  if (hDst) ::DeleteDC(hDst);
  ::ReleaseDC(NULL, hScreen);
  if (bTemp)
    ::DeleteObject(hSmall);
  return hLarge;
}

BOOL SECBmpMgr::LoadEntry(BmpInfo& info)
{
  if (m_bSmall || m_bKeepBoth) {
    if (!info.m_bSmallExternal) {
      if (info.m_hSmall != NULL)
        ::DeleteObject(info.m_hSmall);
      info.m_hSmall = LoadOne(info.m_small, info.m_bSysColor);
      if (info.m_hSmall == NULL && !info.m_small.IsNone())
        return FALSE;
    }
    if (m_bSmall && !m_bKeepBoth && info.m_hLarge != NULL && !info.m_bLargeExternal) {
      ::DeleteObject(info.m_hLarge);
      info.m_hLarge = NULL;
    }
  }
  if (!m_bSmall && !info.m_bLargeExternal) {
    if (!m_bKeepBoth && info.m_hSmall != NULL && !info.m_bSmallExternal) {
      ::DeleteObject(info.m_hSmall);
      info.m_hSmall = NULL;
    }
    if (info.m_hLarge != NULL)
      ::DeleteObject(info.m_hLarge);
    info.m_hLarge = !info.m_large.IsNone() ? LoadOne(info.m_large, info.m_bSysColor)
                                           : StretchSmall(info);
    if (info.m_hLarge == NULL)
      return FALSE;
  }
  return TRUE;
}

BOOL SECBmpMgr::ReloadBitmaps()
{
  BOOL ok = TRUE;
  for (BmpInfo* p : m_entries)
    ok = LoadEntry(*p) && ok;
  return ok;
}

void SECBmpMgr::SetSmallImages(BOOL bSmall)
{
  m_bSmall = bSmall;
  ReloadBitmaps();
}

void SECBmpMgr::SetKeepBoth(BOOL bKeepBoth)
{
  m_bKeepBoth = bKeepBoth;
  ReloadBitmaps();
}

BOOL SECBmpMgr::GetBitmap(UINT nID, HBITMAP& hBitmap, int& nImage, BOOL bForceSmall)
{
  BmpItem item;
  if (!m_map.Lookup(nID, item))
    return FALSE;
  const BmpInfo& info = *m_entries[item.m_nEntry];
  hBitmap = (bForceSmall || m_bSmall) ? info.m_hSmall : info.m_hLarge;
  nImage = item.m_nImage;
  return hBitmap != NULL;
}

BOOL SECBmpMgr::HasImage(UINT nID) const
{
  BmpItem item;
  return m_map.Lookup(nID, item);
}

int SECBmpMgr::GetImageIndex(UINT nID) const
{
  BmpItem item;
  return m_map.Lookup(nID, item) ? item.m_nImage : -1;
}
