#include "DatabaseSheet.h"

CDatabaseSheet::CDatabaseSheet(LPCTSTR caption, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage)
{
}

CDatabaseSheet::~CDatabaseSheet()
{
}
