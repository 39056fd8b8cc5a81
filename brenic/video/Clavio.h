// The video manager window: owns the two video channels and spreads their events.
#pragma once
#include <afxwin.h>

class CClavio
{
public:
    CClavio();
    virtual ~CClavio();

    // Stops the current channel (both when locked) and clears the play lock.
    void Stop();
};
