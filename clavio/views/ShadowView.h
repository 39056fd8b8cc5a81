// The shadow view's compositor: the moving parts of chosen swing positions stamped over
// each other, the current field's moving parts blended live over the stamped picture.
#pragma once
#include <afxwin.h>

class CPlaybackGraph;

class CShadowView
{
public:
    CShadowView();
    virtual ~CShadowView();
    // Sets parity and frame of a field position and composes.
    virtual void SetPosition(int field);
    // The stamped picture takes the composed one.
    virtual void Merge();
};
