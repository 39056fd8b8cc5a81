// The program's "Default Drawing Properties" sheet: the drawing toolkit's default-properties
// sheet, with the pages it shows chosen by the program.
#pragma once
#include "ODPropSheet.h"

class CODCustomDefPropSheet : public CODDefPropSheet
{
public:
    // The page mask: the toolkit shows 248; the line (0x20) and font (0x80) pages alone are 160.
    enum { kLineAndFontPages = 160 };

    CODCustomDefPropSheet(CODPropertyList* defaults, CODViewport* viewport, LPCTSTR caption,
                          CWnd* parent = NULL, UINT firstPage = 0)
        : CODDefPropSheet(defaults, viewport, caption, parent, firstPage)
    {
    }
    virtual void SetPageFlags(int mask) { CODDefPropSheet::SetPageFlags(mask); }
};
