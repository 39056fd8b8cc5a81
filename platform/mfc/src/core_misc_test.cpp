// Geometry operators and the synchronisation objects.
#include "afxmt.h"
#include "gtest_wine.h"

namespace {

TEST(Geometry, RectPointSizeOperators) {
  CRect r(10, 20, 110, 70);
  EXPECT_EQ(100, r.Width());
  EXPECT_EQ(50, r.Height());
  EXPECT_EQ(CSize(100, 50), r.Size());
  EXPECT_EQ(CPoint(60, 45), r.CenterPoint());
  EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
  EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));  // right and bottom are outside

  CRect moved = r + CPoint(5, -5);
  EXPECT_EQ(CRect(15, 15, 115, 65), moved);
  EXPECT_EQ(CRect(10, 20, 110, 70) & CRect(50, 0, 200, 30), CRect(50, 20, 110, 30));
  EXPECT_EQ(CRect(0, 0, 1, 1) | CRect(5, 5, 6, 6), CRect(0, 0, 6, 6));
  EXPECT_TRUE((CRect(0, 0, 10, 10) & CRect(20, 20, 30, 30)).IsRectEmpty());

  CRect g(0, 0, 10, 10);
  g.InflateRect(1, 2, 3, 4);
  EXPECT_EQ(CRect(-1, -2, 13, 14), g);
  g.DeflateRect(1, 2);
  EXPECT_EQ(CRect(0, 0, 12, 12), g);
  CRect flipped(10, 10, 0, 0);
  flipped.NormalizeRect();
  EXPECT_EQ(CRect(0, 0, 10, 10), flipped);
  flipped.TopLeft() = CPoint(2, 3);
  EXPECT_EQ(CRect(2, 3, 10, 10), flipped);
  EXPECT_EQ(CRect(0, 0, 50, 25), CRect(0, 0, 100, 50).MulDiv(1, 2));

  CPoint p(3, 4);
  p += CSize(1, 1);
  EXPECT_EQ(CPoint(4, 5), p);
  EXPECT_EQ(CSize(2, 3), CPoint(5, 5) - CPoint(3, 2));
  EXPECT_EQ(CPoint(-4, -5), -p);
  EXPECT_EQ(CPoint(-2, 7), CPoint((DWORD)MAKELONG((WORD)-2, 7)));  // signed halves
  EXPECT_EQ(CSize(3, 3), CSize(1, 1) + CSize(2, 2));
}

DWORD WINAPI SignalLater(void* p) {
  static_cast<CEvent*>(p)->SetEvent();
  return 0;
}

TEST(Sync, LocksAndEvents) {
  CCriticalSection cs;
  {
    CSingleLock lock(&cs, TRUE);
    EXPECT_TRUE(lock.IsLocked());
    EXPECT_TRUE(lock.Unlock());
    EXPECT_FALSE(lock.IsLocked());
    EXPECT_TRUE(lock.Lock());
  }  // released here
  EXPECT_TRUE(TryEnterCriticalSection(&cs.m_sect));
  LeaveCriticalSection(&cs.m_sect);

  CEvent done(FALSE, TRUE);
  CSingleLock waiter(&done);
  EXPECT_FALSE(waiter.Lock(0));
  HANDLE hThread = CreateThread(NULL, 0, SignalLater, &done, 0, NULL);
  EXPECT_TRUE(waiter.Lock(10000));
  WaitForSingleObject(hThread, INFINITE);
  CloseHandle(hThread);
  EXPECT_TRUE(done.ResetEvent());

  CMutex mutex;
  CSemaphore semaphore(1, 2);
  CSyncObject* objects[] = {&mutex, &semaphore};
  {
    CMultiLock all(objects, 2);
    EXPECT_EQ(WAIT_OBJECT_0, all.Lock(1000, TRUE));
    EXPECT_TRUE(all.IsLocked(0));
    EXPECT_TRUE(all.IsLocked(1));
  }  // both released here
  CSingleLock again(&semaphore);
  EXPECT_TRUE(again.Lock(0));
}

}  // namespace
