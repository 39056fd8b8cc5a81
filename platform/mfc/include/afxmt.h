// Synchronisation objects: critical sections, events, mutexes and semaphores, and the locks
// that hold them for a scope.
#ifndef QUORVEL_AFXMT_H
#define QUORVEL_AFXMT_H

#include "afx.h"

class CSyncObject : public CObject {
  DECLARE_DYNAMIC(CSyncObject)
 public:
  explicit CSyncObject(LPCSTR pstrName);
  virtual ~CSyncObject();

  operator HANDLE() const { return m_hObject; }
  HANDLE m_hObject;

  virtual BOOL Lock(DWORD dwTimeout = INFINITE);
  virtual BOOL Unlock() = 0;
  virtual BOOL Unlock(LONG /*lCount*/, LPLONG /*lpPrevCount*/ = NULL) { return TRUE; }
};

class CSemaphore : public CSyncObject {
  DECLARE_DYNAMIC(CSemaphore)
 public:
  CSemaphore(LONG lInitialCount = 1, LONG lMaxCount = 1, LPCSTR pstrName = NULL,
             LPSECURITY_ATTRIBUTES lpsaAttributes = NULL);
  virtual ~CSemaphore();
  virtual BOOL Unlock() override;
  virtual BOOL Unlock(LONG lCount, LPLONG lprevCount = NULL) override;
};

class CMutex : public CSyncObject {
  DECLARE_DYNAMIC(CMutex)
 public:
  CMutex(BOOL bInitiallyOwn = FALSE, LPCSTR lpszName = NULL,
         LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
  virtual ~CMutex();
  virtual BOOL Unlock() override;
};

class CEvent : public CSyncObject {
  DECLARE_DYNAMIC(CEvent)
 public:
  CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCSTR lpszName = NULL,
         LPSECURITY_ATTRIBUTES lpsaAttribute = NULL);
  virtual ~CEvent();

  BOOL SetEvent();
  BOOL PulseEvent();
  BOOL ResetEvent();
  virtual BOOL Unlock() override;
};

class CCriticalSection : public CSyncObject {
  DECLARE_DYNAMIC(CCriticalSection)
 public:
  CCriticalSection();
  virtual ~CCriticalSection();

  operator CRITICAL_SECTION*() { return &m_sect; }
  CRITICAL_SECTION m_sect;

  virtual BOOL Lock();
  virtual BOOL Lock(DWORD dwTimeout) override;  // the timeout is ignored: waits
  virtual BOOL Unlock() override;
};

// Holds one synchronisation object; released by Unlock or at the end of the scope.
class CSingleLock {
 public:
  explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
  ~CSingleLock() { Unlock(); }

  BOOL Lock(DWORD dwTimeOut = INFINITE);
  BOOL Unlock();
  BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
  BOOL IsLocked() { return m_bAcquired; }

 protected:
  CSyncObject* m_pObject;
  HANDLE m_hObject;
  BOOL m_bAcquired;
};

// Waits for one or all of several objects (at most MAXIMUM_WAIT_OBJECTS).
class CMultiLock {
 public:
  CMultiLock(CSyncObject* ppObjects[], DWORD dwCount, BOOL bInitialLock = FALSE);
  ~CMultiLock();

  // WAIT_OBJECT_0 + index of the object acquired (or WAIT_TIMEOUT, WAIT_FAILED ...).
  DWORD Lock(DWORD dwTimeOut = INFINITE, BOOL bWaitForAll = TRUE, DWORD dwWakeMask = 0);
  BOOL Unlock();
  BOOL Unlock(LONG lCount, LPLONG lPrevCount = NULL);
  BOOL IsLocked(DWORD dwItem);

 protected:
  HANDLE m_hPreallocated[8];
  BOOL m_bPreallocated[8];
  CSyncObject* const* m_ppObjectArray;
  HANDLE* m_pHandleArray;
  BOOL* m_bLockedArray;
  DWORD m_dwCount;
};

#endif  // QUORVEL_AFXMT_H
