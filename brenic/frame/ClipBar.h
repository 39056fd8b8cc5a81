// The clip panel's clip lists: the Students and Pros panes own the clips handed to them.
// Its window (shortcut bar and list controls) is not built; the lists are.
#pragma once
#include <afxwin.h>
#include <afxtempl.h>

class CClip;

class CClipBar
{
public:
    CClipBar();
    virtual ~CClipBar();

    // Take ownership; a clip whose GlobalID is listed already is refused (and deleted).
    BOOL AddClip(CClip* clip, CString label);
    BOOL AddReferenceClip(CClip* clip, CString label = CString());
    void RemoveClipByID(int id);
    void Refresh() {}

    int GetStudentCount() const { return (int)m_students.GetSize(); }
    int GetProCount() const { return (int)m_pros.GetSize(); }
    CClip* GetStudent(int i) const { return m_students[i]; }
    CClip* GetPro(int i) const { return m_pros[i]; }
    CString GetStudentLabel(int i) const { return m_studentLabels[i]; }
    BOOL ContainsGlobalID(const CString& guid) const;

private:
    BOOL Refuse(CClip* clip);
    CTypedPtrArray<CPtrArray, CClip*> m_students;
    CTypedPtrArray<CPtrArray, CClip*> m_pros;
    CStringArray m_studentLabels;
};

// The program's clip panel; NULL until the main panel creates it.
extern CClipBar* g_pClipBar;
