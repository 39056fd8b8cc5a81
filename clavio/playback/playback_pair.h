// State shared by the process's playback graphs: the number of live graphs, the pair of
// the first two (the other clip of entry i is entry (i + 1) mod 2) and the lock-step
// state. One lock guards all of it; no graph lock is ever taken while it is held.
#pragma once
#include <windows.h>

class CPlaybackGraph;

struct PlaybackPair {
    PlaybackPair()
    {
        InitializeCriticalSection(&lock);
        sharedEvent = CreateEventA(NULL, TRUE, TRUE, NULL);
    }
    void ClearLockStep()
    {
        locked = 0;
        initialised = 0;
        master = 0;
        sharedPosition = 0;
        sharedEnd = 0;
    }
    CRITICAL_SECTION lock;
    int live = 0;
    CPlaybackGraph* table[2] = {NULL, NULL};
    BYTE locked = 0;
    BYTE initialised = 0;
    int master = 0;
    int sharedPosition = 0;
    int sharedEnd = 0;
    HANDLE sharedEvent;   // made once; the master sets it after each of its steps
};

extern PlaybackPair g_pair;

class PairLock {
public:
    PairLock() { EnterCriticalSection(&g_pair.lock); }
    ~PairLock() { LeaveCriticalSection(&g_pair.lock); }
};

// The other graph of a pair entry, kept from destruction while this object lives.
class PartnerRef {
public:
    explicit PartnerRef(int index);
    ~PartnerRef();
    CPlaybackGraph* operator->() const { return m_graph; }
    explicit operator bool() const { return m_graph != NULL; }
    CPlaybackGraph* get() const { return m_graph; }

private:
    CPlaybackGraph* m_graph;
};
