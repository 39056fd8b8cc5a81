// The video manager window: owns the two video channels and spreads their events. The
// object exists from start-up on; its window is created later by the view.
#pragma once
#include <afxwin.h>

class CClavio : public CWnd
{
public:
    CClavio();
    virtual ~CClavio();

    // Stops the current channel (both when locked) and clears the play lock.
    void Stop();
};
