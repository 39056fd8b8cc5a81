// The images of toolbar buttons and bitmap menus: a reference-counted map from command id to
// an image strip and an index in it, with small and large versions of every strip (large ones
// stretched from the small strip when no large resource exists) and system colour mapping.
#ifndef QUORVEL_SECBMPMGR_H
#define QUORVEL_SECBMPMGR_H

#include <afxwin.h>
#include <afxtempl.h>
#include <vector>

// A resource name kept by value: an integer id or a copied string.
class SECResName {
 public:
  SECResName() : m_nID(0), m_bNone(TRUE) {}
  SECResName(LPCTSTR lpsz) { Set(lpsz); }
  void Set(LPCTSTR lpsz)
  {
    m_bNone = lpsz == NULL;
    m_nID = (!m_bNone && IS_INTRESOURCE(lpsz)) ? (UINT)(UINT_PTR)lpsz : 0;
    m_str = (!m_bNone && m_nID == 0) ? CString(lpsz) : CString();
  }
  BOOL IsNone() const { return m_bNone; }
  LPCTSTR Get() const { return m_bNone ? NULL : (m_nID != 0 ? MAKEINTRESOURCE(m_nID) : (LPCTSTR)m_str); }

 private:
  UINT m_nID;
  BOOL m_bNone;
  CString m_str;
};

// A toolbar resource (type 241): its image size and command ids, separators (0) included.
// The count is bounded by the bytes the resource really holds. FALSE when it cannot be read.
BOOL SECReadToolBarResource(LPCTSTR lpszResource, CSize& sizeImage, CDWordArray& ids);

class SECBmpMgr : public CObject {
  DECLARE_DYNAMIC(SECBmpMgr)

 public:
  struct BmpItem {
    int m_nEntry;  // index in the entry list
    int m_nImage;  // index of the image in the entry's strip
  };
  struct BmpInfo {
    SECResName m_small, m_large;
    HBITMAP m_hSmall, m_hLarge;
    int m_nCount;
    BOOL m_bSysColor;
    BOOL m_bSmallExternal, m_bLargeExternal;
  };

  SECBmpMgr();

  void Retain() { m_nRef++; }
  // Deletes the object when the last reference goes.
  void Release();

  BOOL AddToolBarResource(LPCTSTR lpszSmall, LPCTSTR lpszLarge = NULL, BOOL bSysColor = TRUE);
  BOOL AddBitmapResource(LPCTSTR lpszBitmap, LPCTSTR lpszLarge, const UINT* pIDs, int nCount,
                         BOOL bSysColor = TRUE);
  BOOL AddBitmap(HBITMAP hSmall, HBITMAP hLarge, const UINT* pIDs, int nCount);

  // The strip and index holding the image of a command id; FALSE for an unknown id.
  BOOL GetBitmap(UINT nID, HBITMAP& hBitmap, int& nImage, BOOL bForceSmall = FALSE);
  BOOL HasImage(UINT nID) const;
  int GetImageIndex(UINT nID) const;  // -1 when unknown

  void SetSmallImages(BOOL bSmall);
  void SetKeepBoth(BOOL bKeepBoth);
  BOOL SmallImages() const { return m_bSmall; }
  BOOL KeepBoth() const { return m_bKeepBoth; }
  void SetSmallSize(int cx, int cy) { m_szSmall = CSize(cx, cy); }
  void SetLargeSize(int cx, int cy) { m_szLarge = CSize(cx, cy); }
  CSize GetSmallSize() const { return m_szSmall; }
  CSize GetLargeSize() const { return m_szLarge; }
  // The size of the images in the current mode.
  CSize GetImageSize() const { return m_bSmall ? m_szSmall : m_szLarge; }
  BOOL ReloadBitmaps();
  int GetEntryCount() const { return (int)m_entries.size(); }
  const BmpInfo& GetEntry(int i) const { return *m_entries[i]; }
  int GetRefCount() const { return m_nRef; }

 protected:
  virtual ~SECBmpMgr();
  BOOL AddEntry(BmpInfo* pInfo, const UINT* pIDs, int nCount);
  BOOL LoadEntry(BmpInfo& info);
  HBITMAP LoadOne(const SECResName& name, BOOL bSysColor);
  HBITMAP StretchSmall(BmpInfo& info);

  int m_nRef;
  CMap<UINT, UINT, BmpItem, const BmpItem&> m_map;
  std::vector<BmpInfo*> m_entries;
  CSize m_szSmall, m_szLarge;
  BOOL m_bSmall, m_bKeepBoth;
  BOOL m_bSizeSet;  // the first toolbar resource sets the sizes
};

#endif  // QUORVEL_SECBMPMGR_H
