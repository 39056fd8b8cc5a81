// The non-template collections and the stored forms of their elements.
#include "afxcoll.h"

UINT AFXAPI AfxHashString(LPCSTR key) {
  UINT nHash = 0;
  if (key != NULL)
    while (*key) nHash = (nHash << 5) + nHash + (UINT)(int)*key++;  // char is signed
  return nHash;
}

template <>
void AFXAPI SerializeElements<CString>(CArchive& ar, CString* pElements, INT_PTR nCount) {
  for (; nCount-- > 0; pElements++) {
    if (ar.IsStoring())
      ar << *pElements;
    else
      ar >> *pElements;
  }
}

template <>
void AFXAPI SerializeElements<CObject*>(CArchive& ar, CObject** pElements, INT_PTR nCount) {
  for (; nCount-- > 0; pElements++) {
    if (ar.IsStoring())
      ar << *pElements;
    else
      ar >> *pElements;
  }
}

IMPLEMENT_SERIAL(CByteArray, CObject, 0)
IMPLEMENT_SERIAL(CWordArray, CObject, 0)
IMPLEMENT_SERIAL(CDWordArray, CObject, 0)
IMPLEMENT_DYNAMIC(CUIntArray, CObject)
IMPLEMENT_DYNAMIC(CPtrArray, CObject)
IMPLEMENT_SERIAL(CObArray, CObject, 0)
IMPLEMENT_SERIAL(CStringArray, CObject, 0)
IMPLEMENT_DYNAMIC(CPtrList, CObject)
IMPLEMENT_SERIAL(CObList, CObject, 0)
IMPLEMENT_SERIAL(CStringList, CObject, 0)
IMPLEMENT_DYNAMIC(CMapPtrToPtr, CObject)
IMPLEMENT_DYNAMIC(CMapPtrToWord, CObject)
IMPLEMENT_DYNAMIC(CMapWordToPtr, CObject)
IMPLEMENT_SERIAL(CMapWordToOb, CObject, 0)
IMPLEMENT_DYNAMIC(CMapStringToPtr, CObject)
IMPLEMENT_SERIAL(CMapStringToOb, CObject, 0)
IMPLEMENT_SERIAL(CMapStringToString, CObject, 0)

// Addresses mean nothing in another process.
void CPtrArray::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CPtrList::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapPtrToPtr::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapPtrToWord::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapWordToPtr::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
void CMapStringToPtr::Serialize(CArchive&) { AfxThrowNotSupportedException(); }
