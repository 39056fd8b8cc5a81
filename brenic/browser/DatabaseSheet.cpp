#include "DatabaseSheet.h"

CDatabaseSheet::CDatabaseSheet(LPCTSTR caption, CWnd* parent, UINT firstPage)
    : m_strCaption(caption), m_pParent(parent), m_nFirstPage(firstPage)
{
}

CDatabaseSheet::~CDatabaseSheet()
{
}
