// The program's "Default Drawing Properties" sheet: the drawing toolkit's default-properties
// sheet, with the pages it shows chosen by the program.
#pragma once
#include "ODPropSheet.h"

class CODCustomDefPropSheet : public CODDefPropSheet
{
public:
    CODCustomDefPropSheet(CODPropertyList* defaults, CODViewport* viewport, LPCTSTR caption,
                          CWnd* parent = NULL, UINT firstPage = 0)
        : CODDefPropSheet(defaults, viewport, caption, parent, firstPage)
    {
    }
    // The page mask (the toolkit shows 248; line and font alone are 160).
    virtual void SetPageFlags(int mask) { CODDefPropSheet::SetPageFlags(mask); }
};
