// The clip panel: a shortcut bar with two clip lists, "Students" (the current clips) and
// "Pros" (the reference clips). The panel owns every clip it lists.
#pragma once
#include <afxwin.h>
#include "../video/ObserverSvr.h"
#include "ClipList.h"
#include "shortcutbar.h"

class CClip;

class CClipBar : public CWnd, public CObserverClient
{
public:
    CClipBar();
    virtual ~CClipBar();

    // The program's clip panel, NULL before it exists.
    static CClipBar* GetClipBar() { return s_pClipBar; }
    static void ForgetClipBar() { s_pClipBar = NULL; }

    // The panel's window, "Clip Panel", as a child of `parent`.
    BOOL CreatePanel(CWnd* parent, const CRect& rect, UINT id);

    // Adds the clip to the Students pane and owns it from then on; a clip whose GlobalID the
    // pane lists already is refused and deleted. TRUE when the clip was listed.
    BOOL AddClip(CClip* clip, CString label);
    // The same for the Pros pane; a Students item with the clip's video file gives way.
    BOOL AddReferenceClip(CClip* clip, CString label = CString());
    BOOL RemoveClipByID(int id);
    void RefreshClipByID(int id);
    // Repaints the open pane.
    void Refresh();
    // The close-down step: FALSE when the main window must stay open.
    BOOL ClearClips();

    CClipList& GetStudentList() { return m_students; }
    CClipList& GetProList() { return m_pros; }
    SECShortcutBar& GetShortcutBar() { return m_shortcutBar; }
    int GetStudentCount() const { return m_students.GetSafeHwnd() ? m_students.GetItemCount() : 0; }
    int GetProCount() const { return m_pros.GetSafeHwnd() ? m_pros.GetItemCount() : 0; }
    int GetClipCount() const { return GetStudentCount() + GetProCount(); }
    CClip* GetStudentClip(int i) const { return m_students.GetClip(i); }
    CClip* GetProClip(int i) const { return m_pros.GetClip(i); }
    // Whether one of the panes lists this very clip.
    BOOL ListsClip(const CClip* clip) const;

    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    // Notifications of the video manager.
    virtual void OnClipLoaded() { Refresh(); }
    virtual void OnUpdate() { Refresh(); }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    BOOL CreateList(CClipList& list, LPCTSTR label, int kind);

    SECShortcutBar m_shortcutBar;
    CClipList m_students;
    CClipList m_pros;
    static CClipBar* s_pClipBar;
};
