// The skin layout of the main panel.
#pragma once
#include <afxwin.h>

class CCustomConfig
{
public:
    // The video rectangle inside the skinned main panel.
    static CRect GetVideoRect() { return CRect(15, 33, 627, 493); }
};
