#include "clock.h"

static CTabrelClock s_systemClock;
static CTabrelClock* s_pClock = &s_systemClock;

CTabrelClock* CTabrelClock::Get() { return s_pClock; }
void CTabrelClock::Install(CTabrelClock* pClock) { s_pClock = pClock ? pClock : &s_systemClock; }
