// The non-template collections: arrays, lists and maps of pointers, objects, integers and
// strings, with the classic names. They share their code with the templates of afxtempl.h.
#ifndef QUORVEL_AFXCOLL_H
#define QUORVEL_AFXCOLL_H

#include "afxtempl.h"

// ---------------------------------------------------------------------------------------------
// Arrays. Stored forms: a count (CArchive::WriteCount), then the elements (integers as their
// little-endian bytes, strings and objects as CArchive writes them).
class CByteArray : public CArray<BYTE, BYTE> {
  DECLARE_SERIAL(CByteArray)
 public:
  CByteArray() {}
};

class CWordArray : public CArray<WORD, WORD> {
  DECLARE_SERIAL(CWordArray)
 public:
  CWordArray() {}
};

class CDWordArray : public CArray<DWORD, DWORD> {
  DECLARE_SERIAL(CDWordArray)
 public:
  CDWordArray() {}
};

class CUIntArray : public CArray<UINT, UINT> {
  DECLARE_DYNAMIC(CUIntArray)
 public:
  CUIntArray() {}
};

class CPtrArray : public CArray<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
 public:
  CPtrArray() {}
  typedef void* BASE_TYPE;
  typedef void* BASE_ARG_TYPE;
  virtual void Serialize(CArchive& ar) override;  // pointers cannot be stored: throws
};

class CObArray : public CArray<CObject*, CObject*> {
  DECLARE_SERIAL(CObArray)
 public:
  CObArray() {}
  typedef CObject* BASE_TYPE;
  typedef CObject* BASE_ARG_TYPE;
};

class CStringArray : public CArray<CString, LPCSTR> {
  DECLARE_SERIAL(CStringArray)
 public:
  CStringArray() {}
  INT_PTR Add(const CString& newElement) { return CArray<CString, LPCSTR>::Add(newElement); }
  INT_PTR Add(LPCSTR newElement) { return CArray<CString, LPCSTR>::Add(newElement); }
};

// ---------------------------------------------------------------------------------------------
// Lists.
class CPtrList : public CList<void*, void*> {
  DECLARE_DYNAMIC(CPtrList)
 public:
  explicit CPtrList(INT_PTR nBlockSize = 10) : CList<void*, void*>(nBlockSize) {}
  typedef void* BASE_TYPE;
  typedef void* BASE_ARG_TYPE;
  virtual void Serialize(CArchive& ar) override;  // pointers cannot be stored: throws
};

class CObList : public CList<CObject*, CObject*> {
  DECLARE_SERIAL(CObList)
 public:
  explicit CObList(INT_PTR nBlockSize = 10) : CList<CObject*, CObject*>(nBlockSize) {}
  typedef CObject* BASE_TYPE;
  typedef CObject* BASE_ARG_TYPE;
};

class CStringList : public CList<CString, LPCSTR> {
  DECLARE_SERIAL(CStringList)
 public:
  explicit CStringList(INT_PTR nBlockSize = 10) : CList<CString, LPCSTR>(nBlockSize) {}
  typedef CString BASE_TYPE;
  typedef LPCSTR BASE_ARG_TYPE;
};

// ---------------------------------------------------------------------------------------------
// Maps.
#define QUORVEL_AFX_MAP_TYPES(K, AK, V, AV) \
  typedef K BASE_KEY;                       \
  typedef AK BASE_ARG_KEY;                  \
  typedef V BASE_VALUE;                     \
  typedef AV BASE_ARG_VALUE;

class CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
  DECLARE_DYNAMIC(CMapPtrToPtr)
 public:
  explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
  QUORVEL_AFX_MAP_TYPES(void*, void*, void*, void*)
  virtual void Serialize(CArchive& ar) override;  // pointers cannot be stored: throws
};

class CMapPtrToWord : public CMap<void*, void*, WORD, WORD> {
  DECLARE_DYNAMIC(CMapPtrToWord)
 public:
  explicit CMapPtrToWord(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
  QUORVEL_AFX_MAP_TYPES(void*, void*, WORD, WORD)
  virtual void Serialize(CArchive& ar) override;  // pointers cannot be stored: throws
};

class CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
  DECLARE_DYNAMIC(CMapWordToPtr)
 public:
  explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
  QUORVEL_AFX_MAP_TYPES(WORD, WORD, void*, void*)
  virtual void Serialize(CArchive& ar) override;  // pointers cannot be stored: throws
};

class CMapWordToOb : public CMap<WORD, WORD, CObject*, CObject*> {
  DECLARE_SERIAL(CMapWordToOb)
 public:
  explicit CMapWordToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
  QUORVEL_AFX_MAP_TYPES(WORD, WORD, CObject*, CObject*)
};

class CMapStringToPtr : public CMap<CString, LPCSTR, void*, void*> {
  DECLARE_DYNAMIC(CMapStringToPtr)
 public:
  explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
  QUORVEL_AFX_MAP_TYPES(CString, LPCSTR, void*, void*)
  virtual void Serialize(CArchive& ar) override;  // pointers cannot be stored: throws
};

class CMapStringToOb : public CMap<CString, LPCSTR, CObject*, CObject*> {
  DECLARE_SERIAL(CMapStringToOb)
 public:
  explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
  QUORVEL_AFX_MAP_TYPES(CString, LPCSTR, CObject*, CObject*)
};

class CMapStringToString : public CMap<CString, LPCSTR, CString, LPCSTR> {
  DECLARE_SERIAL(CMapStringToString)
 public:
  explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
  QUORVEL_AFX_MAP_TYPES(CString, LPCSTR, CString, LPCSTR)
};

#endif  // QUORVEL_AFXCOLL_H
