// The clip panel: the lists of clips (students and pros) that own the clips they show.
#pragma once
#include <afx.h>
#include <afxcoll.h>

class CClip;

class CClipBar
{
public:
    CClipBar();
    virtual ~CClipBar();

    // The program's clip panel, NULL before it exists.
    static CClipBar* GetClipBar() { return s_pClipBar; }

    // Adds the clip to the students list, which owns it from then on; a clip whose global
    // id is listed already is refused (FALSE) with a message.
    BOOL AddClip(CClip* clip, CString label);
    // Moves the clip to the pros list (adding it when it is not listed yet).
    BOOL AddReferenceClip(CClip* clip);
    void Refresh() {}
    // Removes (and deletes) the clip with this database id, pros first.
    BOOL RemoveClipByID(int id);

    int GetClipCount() const { return (int)(m_students.GetSize() + m_pros.GetSize()); }
    CClip* GetStudentClip(int i) const { return (CClip*)m_students[i]; }
    int GetStudentCount() const { return (int)m_students.GetSize(); }
    // Deletes every clip (the video manager unloads them first).
    void ClearClips();

private:
    BOOL IsListed(CClip* clip) const;
    static BOOL RemoveFrom(CPtrArray& list, int id);
    CPtrArray m_students;
    CPtrArray m_pros;
    static CClipBar* s_pClipBar;
};
