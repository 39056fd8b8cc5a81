// The default drawing properties sheet: the toolkit's default-property sheet showing only the
// line and font pages (page flags 160).
#pragma once
#include "ODPropSheet.h"

class CODCustomDefPropSheet : public CODDefPropSheet
{
public:
    // Only the line (0x20) and font (0x80) pages.
    enum { kLineAndFontPages = 160 };

    CODCustomDefPropSheet(CODPropertyList* defaults, CODViewport* viewport, LPCTSTR caption,
                          CWnd* parent, UINT firstPage)
        : CODDefPropSheet(defaults, viewport, caption, parent, firstPage)
    {
    }
    virtual void SetPageFlags(int flags) { CODDefPropSheet::SetPageFlags(flags); }
};
