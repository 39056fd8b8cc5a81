// Collection templates: CArray, CList, CMap and the typed pointer wrappers CTypedPtrArray,
// CTypedPtrList and CTypedPtrMap.
#ifndef QUORVEL_AFXTEMPL_H
#define QUORVEL_AFXTEMPL_H

#include "afx.h"

#include <new>
#include <type_traits>
#include <utility>

// ---------------------------------------------------------------------------------------------
// Element helpers. They can be specialised for an element type; the defaults construct,
// destroy, copy and compare as C++ does, and store plain types as their bytes.
template <class TYPE>
inline void AFXAPI ConstructElements(TYPE* pElements, INT_PTR nCount) {
  for (; nCount-- > 0; pElements++) {
    memset((void*)pElements, 0, sizeof(TYPE));
    ::new ((void*)pElements) TYPE;
  }
}

template <class TYPE>
inline void AFXAPI DestructElements(TYPE* pElements, INT_PTR nCount) {
  for (; nCount-- > 0; pElements++) pElements->~TYPE();
}

template <class TYPE>
inline void AFXAPI CopyElements(TYPE* pDest, const TYPE* pSrc, INT_PTR nCount) {
  while (nCount-- > 0) *pDest++ = *pSrc++;
}

template <class TYPE, class ARG_TYPE>
inline BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// The smallest number of stored bytes one element takes; bounds the counts read from an
// archive so that a corrupt count cannot make a huge allocation.
template <class TYPE>
inline DWORD AFXAPI AfxMinStoredSize(const TYPE*) {
  return sizeof(TYPE);
}
inline DWORD AFXAPI AfxMinStoredSize(const CString*) { return 1; }
inline DWORD AFXAPI AfxMinStoredSize(CObject* const*) { return 2; }

// Plain values are stored as their bytes. Addresses mean nothing in another process, and
// objects that own resources (smart pointers, strings of other kinds) cannot be copied as
// bytes: collections of those need a SerializeElements of their own and otherwise refuse to
// be stored (the collection still compiles, as long as it is never serialized).
template <class TYPE>
inline void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount) {
  if constexpr (std::is_pointer<TYPE>::value || !std::is_trivially_copyable<TYPE>::value) {
    (void)ar;
    (void)pElements;
    (void)nCount;
    AfxThrowNotSupportedException();
  } else {
    if (ar.IsStoring())
      ar.Write((void*)pElements, (UINT)(nCount * sizeof(TYPE)));
    else if (ar.Read((void*)pElements, (UINT)(nCount * sizeof(TYPE))) != nCount * sizeof(TYPE))
      AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
  }
}

template <>
void AFXAPI SerializeElements<CString>(CArchive& ar, CString* pElements, INT_PTR nCount);
template <>
void AFXAPI SerializeElements<CObject*>(CArchive& ar, CObject** pElements, INT_PTR nCount);

// Hash of a map key: integers and pointers drop their low four bits; strings mix every
// character (signed, as char is) into nHash * 33 + ch.
UINT AFXAPI AfxHashString(LPCSTR key);

template <class ARG_KEY>
inline UINT AFXAPI HashKey(ARG_KEY key) {
  typedef typename std::remove_cv<typename std::remove_reference<ARG_KEY>::type>::type K;
  if constexpr (std::is_convertible<K, LPCSTR>::value && !std::is_integral<K>::value)
    return AfxHashString((LPCSTR)key);
  else if constexpr (std::is_pointer<K>::value)
    return (UINT)(((UINT_PTR)key) >> 4);
  else
    return ((UINT)(UINT_PTR)key) >> 4;
}

// ---------------------------------------------------------------------------------------------
// Node blocks of the lists and maps: nodes are carved from blocks of the collection's block
// size; freed nodes wait on a free list for reuse and the blocks go back when the collection
// becomes empty.
struct alignas(16) CPlex {
  CPlex* pNext;

  void* data() { return this + 1; }
  // Adds a block of nMax elements of cbElement bytes at the head of the chain.
  static CPlex* Create(CPlex*& pHead, size_t nMax, size_t cbElement) {
    if (nMax == 0 || cbElement > (((size_t)-1) / 2 - sizeof(CPlex)) / nMax)
      AfxThrowMemoryException();
    CPlex* p = (CPlex*)::operator new(sizeof(CPlex) + nMax * cbElement, std::nothrow);
    if (p == NULL) AfxThrowMemoryException();
    p->pNext = pHead;
    pHead = p;
    return p;
  }
  // Frees this block and the ones chained after it.
  void FreeDataChain() {
    CPlex* p = this;
    while (p != NULL) {
      CPlex* pNextBlock = p->pNext;
      ::operator delete((void*)p);
      p = pNextBlock;
    }
  }
};

// ---------------------------------------------------------------------------------------------
// CArray: a growable array of TYPE, arguments passed as ARG_TYPE.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() : m_pData(NULL), m_nSize(0), m_nMaxSize(0), m_nGrowBy(0) {}
  virtual ~CArray() { RemoveAll(); }

  INT_PTR GetSize() const { return m_nSize; }
  INT_PTR GetCount() const { return m_nSize; }
  BOOL IsEmpty() const { return m_nSize == 0; }
  INT_PTR GetUpperBound() const { return m_nSize - 1; }
  // nGrowBy -1 keeps the current step; 0 grows by an eighth of the size (4 to 1024).
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1);

  void FreeExtra();
  void RemoveAll() { SetSize(0, -1); }

  const TYPE& GetAt(INT_PTR nIndex) const { Check(nIndex); return m_pData[nIndex]; }
  TYPE& GetAt(INT_PTR nIndex) { Check(nIndex); return m_pData[nIndex]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { Check(nIndex); m_pData[nIndex] = newElement; }
  const TYPE& ElementAt(INT_PTR nIndex) const { Check(nIndex); return m_pData[nIndex]; }
  TYPE& ElementAt(INT_PTR nIndex) { Check(nIndex); return m_pData[nIndex]; }

  const TYPE* GetData() const { return m_pData; }
  TYPE* GetData() { return m_pData; }

  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement);
  INT_PTR Add(ARG_TYPE newElement) {
    INT_PTR nIndex = m_nSize;
    SetAtGrow(nIndex, newElement);
    return nIndex;
  }
  INT_PTR Append(const CArray& src);
  void Copy(const CArray& src);

  const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1);
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1);
  void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray);

  virtual void Serialize(CArchive& ar) override;

 protected:
  TYPE* m_pData;
  INT_PTR m_nSize;
  INT_PTR m_nMaxSize;
  INT_PTR m_nGrowBy;

  // An index outside the array is a caller's bug; it throws rather than touching memory.
  void Check(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nSize) AfxThrowInvalidArgException();
  }
  // Moves the elements to a new block of nNewMax elements.
  void Reallocate(INT_PTR nNewMax);
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(INT_PTR nNewMax) {
  if (nNewMax < m_nSize) nNewMax = m_nSize;
  if ((size_t)nNewMax > ((size_t)-1) / 2 / sizeof(TYPE)) AfxThrowMemoryException();
  TYPE* pNew = NULL;
  if (nNewMax > 0) {
    pNew = (TYPE*)::operator new(nNewMax * sizeof(TYPE), std::nothrow);
    if (pNew == NULL) AfxThrowMemoryException();
  }
  for (INT_PTR i = 0; i < m_nSize; i++) {
    ::new ((void*)(pNew + i)) TYPE(std::move(m_pData[i]));
    m_pData[i].~TYPE();
  }
  ::operator delete((void*)m_pData);
  m_pData = pNew;
  m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(INT_PTR nNewSize, INT_PTR nGrowBy) {
  if (nNewSize < 0) AfxThrowInvalidArgException();
  if (nGrowBy >= 0) m_nGrowBy = nGrowBy;
  if (nNewSize == 0) {
    if (m_pData != NULL) {
      DestructElements<TYPE>(m_pData, m_nSize);
      ::operator delete((void*)m_pData);
      m_pData = NULL;
    }
    m_nSize = m_nMaxSize = 0;
    return;
  }
  if (nNewSize > m_nMaxSize) {
    INT_PTR nGrow = m_nGrowBy;
    if (nGrow == 0) {
      nGrow = m_nSize / 8;
      nGrow = (nGrow < 4) ? 4 : ((nGrow > 1024) ? 1024 : nGrow);
    }
    INT_PTR nNewMax = (m_pData == NULL) ? nNewSize : m_nMaxSize + nGrow;
    if (nNewMax < nNewSize) nNewMax = nNewSize;
    Reallocate(nNewMax);
  }
  if (nNewSize > m_nSize)
    ConstructElements<TYPE>(&m_pData[m_nSize], nNewSize - m_nSize);
  else if (nNewSize < m_nSize)
    DestructElements<TYPE>(&m_pData[nNewSize], m_nSize - nNewSize);
  m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra() {
  if (m_nSize != m_nMaxSize) Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
  if (nIndex < 0) AfxThrowInvalidArgException();
  if (nIndex >= m_nSize) {
    // newElement may refer into this array: copy it before the storage moves.
    TYPE temp(newElement);
    SetSize(nIndex + 1, -1);
    m_pData[nIndex] = std::move(temp);
    return;
  }
  m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE>
INT_PTR CArray<TYPE, ARG_TYPE>::Append(const CArray& src) {
  if (this == &src) AfxThrowInvalidArgException();
  INT_PTR nOldSize = m_nSize;
  SetSize(m_nSize + src.m_nSize, -1);
  CopyElements<TYPE>(m_pData + nOldSize, src.m_pData, src.m_nSize);
  return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src) {
  if (this == &src) return;
  SetSize(src.m_nSize, -1);
  CopyElements<TYPE>(m_pData, src.m_pData, src.m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount) {
  if (nIndex < 0 || nCount <= 0) {
    if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
    return;
  }
  TYPE temp(newElement);
  if (nIndex >= m_nSize) {
    SetSize(nIndex + nCount, -1);
  } else {
    INT_PTR nOldSize = m_nSize;
    SetSize(m_nSize + nCount, -1);
    // Shift the tail up by nCount (the new slots at the end are default-constructed).
    for (INT_PTR i = nOldSize - 1; i >= nIndex; i--) m_pData[i + nCount] = std::move(m_pData[i]);
  }
  for (INT_PTR i = 0; i < nCount; i++) m_pData[nIndex + i] = temp;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(INT_PTR nIndex, INT_PTR nCount) {
  if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize) AfxThrowInvalidArgException();
  for (INT_PTR i = nIndex + nCount; i < m_nSize; i++) m_pData[i - nCount] = std::move(m_pData[i]);
  DestructElements<TYPE>(&m_pData[m_nSize - nCount], nCount);
  m_nSize -= nCount;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
  if (pNewArray == NULL || nStartIndex < 0) AfxThrowInvalidArgException();
  if (pNewArray == this) {
    CArray copy;
    copy.Copy(*this);
    InsertAt(nStartIndex, &copy);
    return;
  }
  if (pNewArray->GetSize() > 0) {
    InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
    for (INT_PTR i = 0; i < pNewArray->GetSize(); i++)
      SetAt(nStartIndex + i, pNewArray->GetAt(i));
  }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount((DWORD)m_nSize);
  } else {
    DWORD nOldSize = ar.ReadCount();
    AfxCheckStoredCount(ar, nOldSize, AfxMinStoredSize((const TYPE*)NULL));
    SetSize(nOldSize, -1);
  }
  SerializeElements<TYPE>(ar, m_pData, m_nSize);
}

// ---------------------------------------------------------------------------------------------
// CList: a doubly linked list; a POSITION is a node.
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
 protected:
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

 public:
  explicit CList(INT_PTR nBlockSize = 10)
      : m_pNodeHead(NULL), m_pNodeTail(NULL), m_nCount(0), m_pNodeFree(NULL), m_pBlocks(NULL),
        m_nBlockSize(nBlockSize > 0 ? nBlockSize : 1) {}
  virtual ~CList() { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { NotEmpty(); return m_pNodeHead->data; }
  const TYPE& GetHead() const { NotEmpty(); return m_pNodeHead->data; }
  TYPE& GetTail() { NotEmpty(); return m_pNodeTail->data; }
  const TYPE& GetTail() const { NotEmpty(); return m_pNodeTail->data; }

  TYPE RemoveHead();
  TYPE RemoveTail();

  POSITION AddHead(ARG_TYPE newElement);
  POSITION AddTail(ARG_TYPE newElement);
  void AddHead(CList* pNewList);
  void AddTail(CList* pNewList);

  void RemoveAll();

  POSITION GetHeadPosition() const { return (POSITION)m_pNodeHead; }
  POSITION GetTailPosition() const { return (POSITION)m_pNodeTail; }
  TYPE& GetNext(POSITION& rPosition) {
    CNode* pNode = (CNode*)rPosition;
    rPosition = (POSITION)pNode->pNext;
    return pNode->data;
  }
  const TYPE& GetNext(POSITION& rPosition) const {
    CNode* pNode = (CNode*)rPosition;
    rPosition = (POSITION)pNode->pNext;
    return pNode->data;
  }
  TYPE& GetPrev(POSITION& rPosition) {
    CNode* pNode = (CNode*)rPosition;
    rPosition = (POSITION)pNode->pPrev;
    return pNode->data;
  }
  const TYPE& GetPrev(POSITION& rPosition) const {
    CNode* pNode = (CNode*)rPosition;
    rPosition = (POSITION)pNode->pPrev;
    return pNode->data;
  }

  TYPE& GetAt(POSITION position) { return ((CNode*)position)->data; }
  const TYPE& GetAt(POSITION position) const { return ((CNode*)position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { ((CNode*)pos)->data = newElement; }
  void RemoveAt(POSITION position);

  POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

  // Searches from the head (or after startAfter) with CompareElements.
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const;
  // The nIndex-th position from the head, NULL past the end.
  POSITION FindIndex(INT_PTR nIndex) const;

  virtual void Serialize(CArchive& ar) override;

 protected:
  CNode* m_pNodeHead;
  CNode* m_pNodeTail;
  INT_PTR m_nCount;
  CNode* m_pNodeFree;
  CPlex* m_pBlocks;
  INT_PTR m_nBlockSize;

  void NotEmpty() const {
    if (m_nCount == 0) AfxThrowInvalidArgException();
  }
  CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement) {
    if (m_pNodeFree == NULL) {
      // Chain a new block's nodes so that they are handed out in address order.
      CPlex* pBlock = CPlex::Create(m_pBlocks, (size_t)m_nBlockSize, sizeof(CNode));
      CNode* pNode = (CNode*)pBlock->data() + (m_nBlockSize - 1);
      for (INT_PTR i = m_nBlockSize - 1; i >= 0; i--, pNode--) {
        pNode->pNext = m_pNodeFree;
        m_pNodeFree = pNode;
      }
    }
    CNode* pNode = m_pNodeFree;
    ::new ((void*)&pNode->data) TYPE(newElement);  // may throw: the node stays free
    m_pNodeFree = pNode->pNext;
    pNode->pPrev = pPrev;
    pNode->pNext = pNext;
    m_nCount++;
    return pNode;
  }
  void FreeNode(CNode* pNode) {
    pNode->data.~TYPE();
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    if (--m_nCount == 0) RemoveAll();
  }
};

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead() {
  NotEmpty();
  CNode* pOldNode = m_pNodeHead;
  TYPE returnValue = pOldNode->data;
  m_pNodeHead = pOldNode->pNext;
  if (m_pNodeHead != NULL)
    m_pNodeHead->pPrev = NULL;
  else
    m_pNodeTail = NULL;
  FreeNode(pOldNode);
  return returnValue;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail() {
  NotEmpty();
  CNode* pOldNode = m_pNodeTail;
  TYPE returnValue = pOldNode->data;
  m_pNodeTail = pOldNode->pPrev;
  if (m_pNodeTail != NULL)
    m_pNodeTail->pNext = NULL;
  else
    m_pNodeHead = NULL;
  FreeNode(pOldNode);
  return returnValue;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddHead(ARG_TYPE newElement) {
  CNode* pNewNode = NewNode(NULL, m_pNodeHead, newElement);
  if (m_pNodeHead != NULL)
    m_pNodeHead->pPrev = pNewNode;
  else
    m_pNodeTail = pNewNode;
  m_pNodeHead = pNewNode;
  return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::AddTail(ARG_TYPE newElement) {
  CNode* pNewNode = NewNode(m_pNodeTail, NULL, newElement);
  if (m_pNodeTail != NULL)
    m_pNodeTail->pNext = pNewNode;
  else
    m_pNodeHead = pNewNode;
  m_pNodeTail = pNewNode;
  return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList) {
  POSITION pos = pNewList->GetTailPosition();
  while (pos != NULL) AddHead(pNewList->GetPrev(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList) {
  POSITION pos = pNewList->GetHeadPosition();
  while (pos != NULL) AddTail(pNewList->GetNext(pos));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll() {
  for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext) pNode->data.~TYPE();
  m_nCount = 0;
  m_pNodeHead = m_pNodeTail = m_pNodeFree = NULL;
  if (m_pBlocks != NULL) m_pBlocks->FreeDataChain();
  m_pBlocks = NULL;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position) {
  CNode* pOldNode = (CNode*)position;
  if (pOldNode == NULL) AfxThrowInvalidArgException();
  if (pOldNode == m_pNodeHead)
    m_pNodeHead = pOldNode->pNext;
  else
    pOldNode->pPrev->pNext = pOldNode->pNext;
  if (pOldNode == m_pNodeTail)
    m_pNodeTail = pOldNode->pPrev;
  else
    pOldNode->pNext->pPrev = pOldNode->pPrev;
  FreeNode(pOldNode);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement) {
  if (position == NULL) return AddHead(newElement);
  CNode* pOldNode = (CNode*)position;
  CNode* pNewNode = NewNode(pOldNode->pPrev, pOldNode, newElement);
  if (pOldNode->pPrev != NULL)
    pOldNode->pPrev->pNext = pNewNode;
  else
    m_pNodeHead = pNewNode;
  pOldNode->pPrev = pNewNode;
  return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement) {
  if (position == NULL) return AddTail(newElement);
  CNode* pOldNode = (CNode*)position;
  CNode* pNewNode = NewNode(pOldNode, pOldNode->pNext, newElement);
  if (pOldNode->pNext != NULL)
    pOldNode->pNext->pPrev = pNewNode;
  else
    m_pNodeTail = pNewNode;
  pOldNode->pNext = pNewNode;
  return (POSITION)pNewNode;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const {
  CNode* pNode = (CNode*)startAfter;
  pNode = (pNode == NULL) ? m_pNodeHead : pNode->pNext;
  for (; pNode != NULL; pNode = pNode->pNext)
    if (CompareElements<TYPE>(&pNode->data, &searchValue)) return (POSITION)pNode;
  return NULL;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(INT_PTR nIndex) const {
  if (nIndex < 0 || nIndex >= m_nCount) return NULL;
  CNode* pNode = m_pNodeHead;
  while (nIndex--) pNode = pNode->pNext;
  return (POSITION)pNode;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount((DWORD)m_nCount);
    for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
      SerializeElements<TYPE>(ar, &pNode->data, 1);
  } else {
    DWORD nNewCount = ar.ReadCount();
    AfxCheckStoredCount(ar, nNewCount, AfxMinStoredSize((const TYPE*)NULL));
    while (nNewCount--) {
      TYPE newData[1]{};
      SerializeElements<TYPE>(ar, newData, 1);
      AddTail(newData[0]);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// CMap: a hash table of KEY -> VALUE with chained buckets. New entries go to the head of
// their bucket and iteration walks the buckets in order, so the order of GetNextAssoc
// depends on the table size as callers have always seen it.
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
 protected:
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;
    KEY key;
    VALUE value;
  };

 public:
  explicit CMap(INT_PTR nBlockSize = 10)
      : m_pHashTable(NULL), m_nHashTableSize(17), m_nCount(0), m_pFreeList(NULL),
        m_pBlocks(NULL), m_nBlockSize(nBlockSize > 0 ? nBlockSize : 1) {}
  virtual ~CMap() { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
  VALUE& operator[](ARG_KEY key);
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key);
  void RemoveAll();

  POSITION GetStartPosition() const { return (m_nCount == 0) ? NULL : BEFORE_START_POSITION; }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

  UINT GetHashTableSize() const { return m_nHashTableSize; }
  // Sets the number of buckets (a prime works best); only before the first entry.
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

  virtual void Serialize(CArchive& ar) override;

 protected:
  CAssoc** m_pHashTable;
  UINT m_nHashTableSize;
  INT_PTR m_nCount;
  CAssoc* m_pFreeList;
  CPlex* m_pBlocks;
  INT_PTR m_nBlockSize;

  CAssoc* GetAssocAt(ARG_KEY key, UINT& nHash) const;
  CAssoc* NewAssoc(ARG_KEY key);
  void FreeAssoc(CAssoc* pAssoc);
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NewAssoc(ARG_KEY key) {
  if (m_pFreeList == NULL) {
    CPlex* pBlock = CPlex::Create(m_pBlocks, (size_t)m_nBlockSize, sizeof(CAssoc));
    CAssoc* pAssoc = (CAssoc*)pBlock->data() + (m_nBlockSize - 1);
    for (INT_PTR i = m_nBlockSize - 1; i >= 0; i--, pAssoc--) {
      pAssoc->pNext = m_pFreeList;
      m_pFreeList = pAssoc;
    }
  }
  CAssoc* pAssoc = m_pFreeList;
  ::new ((void*)&pAssoc->key) KEY(key);  // may throw: the entry stays free
  try {
    ::new ((void*)&pAssoc->value) VALUE();
  } catch (...) {
    pAssoc->key.~KEY();
    throw;
  }
  m_pFreeList = pAssoc->pNext;
  m_nCount++;
  return pAssoc;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FreeAssoc(CAssoc* pAssoc) {
  pAssoc->value.~VALUE();
  pAssoc->key.~KEY();
  pAssoc->pNext = m_pFreeList;
  m_pFreeList = pAssoc;
  if (--m_nCount == 0) RemoveAll();
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT nHashSize, BOOL bAllocNow) {
  if (m_nCount != 0 || nHashSize == 0) AfxThrowInvalidArgException();
  delete[] m_pHashTable;
  m_pHashTable = NULL;
  if (bAllocNow) m_pHashTable = new CAssoc* [nHashSize]();
  m_nHashTableSize = nHashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll() {
  if (m_pHashTable != NULL) {
    for (UINT nHash = 0; nHash < m_nHashTableSize; nHash++) {
      for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
        pAssoc->value.~VALUE();
        pAssoc->key.~KEY();
      }
    }
    delete[] m_pHashTable;
    m_pHashTable = NULL;
  }
  m_nCount = 0;
  m_pFreeList = NULL;
  if (m_pBlocks != NULL) m_pBlocks->FreeDataChain();
  m_pBlocks = NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc*
CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(ARG_KEY key, UINT& nHash) const {
  nHash = HashKey<ARG_KEY>(key) % m_nHashTableSize;
  if (m_pHashTable == NULL) return NULL;
  for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != NULL; pAssoc = pAssoc->pNext)
    if (CompareElements(&pAssoc->key, &key)) return pAssoc;
  return NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const {
  UINT nHash;
  CAssoc* pAssoc = GetAssocAt(key, nHash);
  if (pAssoc == NULL) return FALSE;
  rValue = pAssoc->value;
  return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key) {
  UINT nHash;
  CAssoc* pAssoc = GetAssocAt(key, nHash);
  if (pAssoc == NULL) {
    if (m_pHashTable == NULL) InitHashTable(m_nHashTableSize);
    pAssoc = NewAssoc(key);
    pAssoc->nHashValue = nHash;
    pAssoc->pNext = m_pHashTable[nHash];
    m_pHashTable[nHash] = pAssoc;
  }
  return pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key) {
  if (m_pHashTable == NULL) return FALSE;
  CAssoc** ppAssocPrev = &m_pHashTable[HashKey<ARG_KEY>(key) % m_nHashTableSize];
  for (CAssoc* pAssoc = *ppAssocPrev; pAssoc != NULL; pAssoc = pAssoc->pNext) {
    if (CompareElements(&pAssoc->key, &key)) {
      *ppAssocPrev = pAssoc->pNext;
      FreeAssoc(pAssoc);
      return TRUE;
    }
    ppAssocPrev = &pAssoc->pNext;
  }
  return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey,
                                                        VALUE& rValue) const {
  CAssoc* pAssocRet = (CAssoc*)rNextPosition;
  if (pAssocRet == NULL || m_pHashTable == NULL) AfxThrowInvalidArgException();
  if (pAssocRet == (CAssoc*)BEFORE_START_POSITION) {
    pAssocRet = NULL;
    for (UINT nBucket = 0; nBucket < m_nHashTableSize && pAssocRet == NULL; nBucket++)
      pAssocRet = m_pHashTable[nBucket];
    if (pAssocRet == NULL) AfxThrowInvalidArgException();
  }
  CAssoc* pAssocNext = pAssocRet->pNext;
  for (UINT nBucket = pAssocRet->nHashValue + 1;
       pAssocNext == NULL && nBucket < m_nHashTableSize; nBucket++)
    pAssocNext = m_pHashTable[nBucket];
  rNextPosition = (POSITION)pAssocNext;
  rKey = pAssocRet->key;
  rValue = pAssocRet->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar) {
  CObject::Serialize(ar);
  if (ar.IsStoring()) {
    ar.WriteCount((DWORD)m_nCount);
    if (m_nCount == 0) return;
    for (UINT nHash = 0; nHash < m_nHashTableSize; nHash++)
      for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
        SerializeElements<KEY>(ar, &pAssoc->key, 1);
        SerializeElements<VALUE>(ar, &pAssoc->value, 1);
      }
  } else {
    DWORD nNewCount = ar.ReadCount();
    AfxCheckStoredCount(ar, nNewCount,
                        AfxMinStoredSize((const KEY*)NULL) + AfxMinStoredSize((const VALUE*)NULL));
    while (nNewCount--) {
      KEY newKey[1]{};
      VALUE newValue[1]{};
      SerializeElements<KEY>(ar, newKey, 1);
      SerializeElements<VALUE>(ar, newValue, 1);
      SetAt(newKey[0], newValue[0]);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Typed wrappers over the pointer collections (CObArray, CPtrArray, CObList, CPtrList and the
// pointer maps), so that callers see their own pointer type.
template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
 public:
  TYPE GetAt(INT_PTR nIndex) const { return (TYPE)BASE_CLASS::GetAt(nIndex); }
  TYPE& ElementAt(INT_PTR nIndex) { return (TYPE&)BASE_CLASS::ElementAt(nIndex); }
  void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
  void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
  INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
  INT_PTR Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
  void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
  void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) {
    BASE_CLASS::InsertAt(nIndex, newElement, nCount);
  }
  void InsertAt(INT_PTR nStartIndex, CTypedPtrArray* pNewArray) {
    BASE_CLASS::InsertAt(nStartIndex, pNewArray);
  }
  TYPE* GetData() { return (TYPE*)BASE_CLASS::GetData(); }
  const TYPE* GetData() const { return (const TYPE*)BASE_CLASS::GetData(); }
  TYPE operator[](INT_PTR nIndex) const { return (TYPE)BASE_CLASS::operator[](nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return (TYPE&)BASE_CLASS::operator[](nIndex); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
 public:
  explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

  TYPE& GetHead() { return (TYPE&)BASE_CLASS::GetHead(); }
  TYPE GetHead() const { return (TYPE)BASE_CLASS::GetHead(); }
  TYPE& GetTail() { return (TYPE&)BASE_CLASS::GetTail(); }
  TYPE GetTail() const { return (TYPE)BASE_CLASS::GetTail(); }
  TYPE RemoveHead() { return (TYPE)BASE_CLASS::RemoveHead(); }
  TYPE RemoveTail() { return (TYPE)BASE_CLASS::RemoveTail(); }
  POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
  POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
  void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
  void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
  TYPE& GetNext(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetNext(rPosition); }
  TYPE GetNext(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetNext(rPosition); }
  TYPE& GetPrev(POSITION& rPosition) { return (TYPE&)BASE_CLASS::GetPrev(rPosition); }
  TYPE GetPrev(POSITION& rPosition) const { return (TYPE)BASE_CLASS::GetPrev(rPosition); }
  TYPE& GetAt(POSITION position) { return (TYPE&)BASE_CLASS::GetAt(position); }
  TYPE GetAt(POSITION position) const { return (TYPE)BASE_CLASS::GetAt(position); }
  void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
  POSITION InsertBefore(POSITION position, TYPE newElement) {
    return BASE_CLASS::InsertBefore(position, newElement);
  }
  POSITION InsertAfter(POSITION position, TYPE newElement) {
    return BASE_CLASS::InsertAfter(position, newElement);
  }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
 public:
  explicit CTypedPtrMap(INT_PTR nBlocks = 10) : BASE_CLASS(nBlocks) {}

  BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const {
    typename BASE_CLASS::BASE_VALUE v;
    if (!BASE_CLASS::Lookup(key, v)) return FALSE;
    rValue = (VALUE)v;
    return TRUE;
  }
  VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key) {
    return (VALUE&)BASE_CLASS::operator[](key);
  }
  void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
  BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
  void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const {
    typename BASE_CLASS::BASE_KEY k;
    typename BASE_CLASS::BASE_VALUE v;
    BASE_CLASS::GetNextAssoc(rPosition, k, v);
    rKey = (KEY)k;
    rValue = (VALUE)v;
  }
};

// The pointer collections are built on the templates above.
#include "afxcoll.h"

#endif  // QUORVEL_AFXTEMPL_H
