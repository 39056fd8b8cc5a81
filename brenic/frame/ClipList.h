// One pane of the clip panel: a list view whose items each own one clip (the Students pane
// of current clips, or the Pros pane of reference clips) with the pane's commands.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>
#include <afxole.h>

class CClip;

// Commands of the two panes (context menus and the main menu's Clip Panel menu).
enum
{
    ID_CLIPS_LOAD_PANEL = 32787,
    ID_CLIPS_CLEAR_PANEL = 32789,
    ID_CLIPS_DELETE_SELECTED = 32790,
    ID_CLIPS_DELETE_ALL = 32791,
    ID_CLIPS_SAVE_SELECTED = 32792,
    ID_CLIPS_INFO = 32808,
    ID_PROS_INFO = 32817,
    ID_PROS_SAVE_SELECTED = 32818,
    ID_PROS_CLEAR_SELECTED = 32819,
    ID_PROS_EXPORT = 32839,
    ID_CLIPS_EXPORT = 32840,
    ID_CLIPS_EMAIL = 32841,
    ID_PROS_EMAIL = 32842,
};

class CClipList : public CListCtrl
{
public:
    CClipList();
    virtual ~CClipList();

    // 0 the Students pane, 1 the Pros pane.
    void SetReferencePane(int kind);
    int GetPaneKind() const { return m_nPaneKind; }
    void SetProgressText(CString text) { m_strProgressText = text; }
    CString GetProgressText() const { return m_strProgressText; }

    // Appends an item that owns the clip from now on.
    int InsertClip(CClip* clip, CString label);
    CClip* GetClip(int item) const { return (CClip*)GetItemData(item); }
    // The item that holds this very clip, -1 when none.
    int FindItem(const CClip* clip) const;

    BOOL IsNewClip(CClip* clip) const;
    BOOL ContainsGlobalID(CString globalID) const;
    // The database ID of the first clip with this video file, -1 when none.
    int FindClip(CString path) const;
    // The item of the first clip with this video file, -1 when none.
    int FindItemByPath(CString path) const;
    BOOL IsEmpty() const { return GetSafeHwnd() == NULL || GetItemCount() == 0; }
    BOOL HasSelection() const { return GetSafeHwnd() && GetSelectedCount() > 0; }
    BOOL HasUnsavedClips() const;
    BOOL HasModifiedSelection() const;

    // Removes the item, unloading its clip from the channels, and deletes the clip.
    void DeleteClipItem(int item);
    void DeleteSelectedClips();
    void DeleteAllClips(BOOL all);
    BOOL RemoveClipByID(int id);
    void RefreshClipByID(int id);

    // The drag data of an item: a pointer-sized block naming its clip, cached in the list's
    // data source. FALSE when there is no such item or no block.
    BOOL PrepareDrag(int item);
    COleDataSource& GetDataSource() { return m_dataSource; }

    // The pane's context menu (empty for a list of another kind).
    BOOL BuildContextMenu(CMenu& menu) const;

    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // The commands, callable directly.
    afx_msg void OnSaveSelected();
    afx_msg void OnDeleteAll();
    afx_msg void OnClearPanel();
    afx_msg void OnClipInfo();
    afx_msg void OnLoadClipPanel();
    afx_msg void OnExport();
    afx_msg void OnEmail();

protected:
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);

    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnDestroy();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnGetDispInfo(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteSelected();
    afx_msg void OnUpdateWithSelection(CCmdUI* pCmdUI);
    afx_msg void OnUpdateAlways(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

    // Names for a clip without a subject: the lesson's student, else the fallback names,
    // asked once. FALSE when the user did not give them.
    BOOL ChooseSubjectNames(CString& first, CString& last);
    void NotifyUpdate();

    COleDataSource m_dataSource;
    int m_nPaneKind;
    CString m_strProgressText;
    // The item pressed with the left button while no drag has started yet (-1 when none),
    // and where the press was.
    int m_nPressedItem;
    CPoint m_ptPressed;
};
