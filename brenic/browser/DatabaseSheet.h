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

    // Save-clip support: the title asks to complete the new clip's fields; the clip's
    // video is previewed; the new row is made current.
    void SetSaveClipMode(BOOL on);
    void SetPreviewFile(CString path) { m_strPreviewFile = path; }
    CString GetPreviewFile() const { return m_strPreviewFile; }
    BOOL SelectClip(int id);
    int GetSelectedClip() const { return m_nSelectedClip; }
    // Shows the sheet on that page and runs its modal loop: IDOK or IDCANCEL as the user
    // closed it; -1 when it is shown already or has no page to show.
    int ShowModal(int page);

private:
    CString m_strPreviewFile;
    int m_nSelectedClip;
    BOOL m_bInModalLoop;
};
