// The database browser's property sheet: people, clips and clip groups. Created on first
// use by the settings store's database connection and kept for the rest of the run.
#pragma once
#include <afxwin.h>
#include <afxdlgs.h>

class CDatabaseSheet : public CPropertySheet
{
public:
    CDatabaseSheet(LPCTSTR caption, CWnd* parent = NULL, UINT firstPage = 0);
    virtual ~CDatabaseSheet();
};
