#include "DatabaseSheet.h"
#include <afxdao.h>
#include "Recordsets.h"

CDatabaseSheet::CDatabaseSheet(LPCTSTR caption, CWnd* parent, UINT firstPage)
    : CPropertySheet(caption, parent, firstPage), m_nSelectedClip(-1), m_bInModalLoop(FALSE)
{
}

void CDatabaseSheet::SetSaveClipMode(BOOL on)
{
    SetTitle(on ? "Save Clip to Database - Fill in missing or incorrect fields"
                : "Vido Database");
}

BOOL CDatabaseSheet::SelectClip(int id)
{
    CClipRecord rs;
    rs.Open(dbOpenDynaset, "[VideoClip]");
    CString criterion;
    criterion.Format("[VideoClip].[ID] = %d", id);
    const BOOL found = !rs.IsEOF() && rs.FindFirst(criterion);
    rs.Close();
    m_nSelectedClip = found ? id : -1;
    return found;
}

int CDatabaseSheet::ShowModal(int page)
{
    if (m_bInModalLoop || GetPageCount() == 0)
        return -1;
    m_bInModalLoop = TRUE;
    SetActivePage(page < GetPageCount() ? page : 0);
    const int result = (int)DoModal();
    m_bInModalLoop = FALSE;
    return result;
}

CDatabaseSheet::~CDatabaseSheet()
{
}
