// The database browser's property sheet: people, clips and clip groups. Created on first
// use by the settings store's database connection and kept for the rest of the run.
#pragma once
#include <afxwin.h>

class CDatabaseSheet
{
public:
    CDatabaseSheet(LPCTSTR caption, CWnd* parent = NULL, UINT firstPage = 0);
    virtual ~CDatabaseSheet();

    CString GetCaption() const { return m_strCaption; }

private:
    CString m_strCaption;
    CWnd* m_pParent;
    UINT m_nFirstPage;
};
