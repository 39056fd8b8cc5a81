// The database browser's property sheet: the "Register" page over the people and the
// "Clips" page over the clips. Made once and kept: its window is created by the first
// showing and afterwards only hidden and shown again, so that the pages keep their place,
// filters and lists. The sheet owns the two recordsets that the pages browse.
#pragma once
#include <afxwin.h>
#include <afxdlgs.h>

class CPeopleRecord;
class CClipRecord;
class CRefClipGroupDetail;
class CRefClipGroupMaster;
class CPeoplePPage;
class CClipsPPage;

class CDatabaseSheet : public CPropertySheet
{
    DECLARE_DYNAMIC(CDatabaseSheet)

public:
    CDatabaseSheet(LPCTSTR caption, CWnd* parent = NULL, UINT firstPage = 0);
    CDatabaseSheet(UINT captionId, CWnd* parent, UINT firstPage);
    // The sheet of a database on another machine (remote whatever `remote` says).
    CDatabaseSheet(LPCTSTR caption, BOOL remote, CWnd* parent, UINT firstPage);
    virtual ~CDatabaseSheet();

    // The recordsets could be opened at construction.
    BOOL IsConnected() const { return m_bConnected; }

    // First showing: creates the window and runs the sheet's modal loop. IDOK or IDCANCEL
    // as the user closed it.
    virtual INT_PTR DoModal();
    // Later showings, on that page; -1 at once when the sheet's loop runs already. A sheet
    // not shown before is shown by DoModal.
    int ShowModal(int page);
    BOOL IsInModalLoop() const { return m_bInModalLoop; }
    BOOL IsCreated() const { return m_bCreated; }
    BOOL IsRemote() const { return m_bRemote; }
    virtual BOOL DestroyWindow();

    // Save-clip support: the title asks to complete the new clip's fields; the clip's
    // video is previewed; the new row is made current.
    void SetSaveClipMode(BOOL on);
    BOOL IsSaveClipMode() const { return m_bSaveClipMode; }
    void SetPreviewFile(CString path);
    CString GetPreviewFile() const { return m_strPreviewFile; }
    BOOL SelectClip(int id);
    int GetSelectedClip() const { return m_nSelectedClip; }

    void SetAddedPersonID(int id) { m_nAddedPersonID = id; }
    int GetAddedPersonID() const { return m_nAddedPersonID; }
    BOOL GetResetPages() const { return m_bResetPages; }
    void SetResetPages(BOOL on) { m_bResetPages = on; }

    // A page's database failure on a network database: the sheet closes; when the program
    // cannot go on, the main window is asked to close once the sheet's loop has ended.
    void OnDaoError(BOOL recoverable);
    // Ends the running loop with `result` once the calling handler has returned, through a
    // press of Cancel, so that the pages run their Cancel handling and the sheet is hidden.
    void EndSheet(int result);

    CPeoplePPage* GetPeoplePage() const { return m_pPeoplePage; }
    CClipsPPage* GetClipsPage() const { return m_pClipsPage; }
    CPeopleRecord* GetPeopleRecordset() const { return m_pPeopleSet; }
    CClipRecord* GetClipRecordset() const { return m_pClipSet; }

    // The clip groups page's membership and group recordsets, made, opened and closed here
    // for a page that is given them.
    void CreateGroupRecordsets();
    void OpenGroupRecordsets();
    void CloseGroupRecordsets();
    CRefClipGroupDetail* GetGroupDetailRecordset() const { return m_pGroupDetailSet; }
    CRefClipGroupMaster* GetGroupMasterRecordset() const { return m_pGroupMasterSet; }

protected:
    virtual BOOL OnInitDialog();
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    DECLARE_MESSAGE_MAP()

    void Initialise();
    void UpdateTitle();
    int RunLoop(BOOL firstShowing);
    void AfterLoop(int& result);

    CPeopleRecord* m_pPeopleSet;
    CClipRecord* m_pClipSet;
    CRefClipGroupDetail* m_pGroupDetailSet;
    CRefClipGroupMaster* m_pGroupMasterSet;
    CPeoplePPage* m_pPeoplePage;
    CClipsPPage* m_pClipsPage;
    int m_nAddedPersonID;
    BOOL m_bInModalLoop;
    BOOL m_bResetPages;
    BOOL m_bCreated;
    int m_nSelectedClip;
    int m_nEndResult;
    BOOL m_bSaveClipMode;
    BOOL m_bRemote;
    BOOL m_bConnected;
    CString m_strPreviewFile;
};

// The program's Stop command (playback stops when the browser opens).
enum { ID_STOP_PLAYBACK = 32811 };
