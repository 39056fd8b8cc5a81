#include "ClipBar.h"
#include <afxwin.h>
#include "../video/Clavio.h"
#include "../video/Clip.h"
#include "Globals.h"

CClipBar* CClipBar::s_pClipBar = NULL;

CClipBar::CClipBar()
{
    if (!s_pClipBar)
        s_pClipBar = this;
}

CClipBar::~CClipBar()
{
    ClearClips();
    if (s_pClipBar == this)
        s_pClipBar = NULL;
}

BOOL CClipBar::IsListed(CClip* clip) const
{
    for (INT_PTR i = 0; i < m_students.GetSize(); ++i)
        if (((CClip*)m_students[i])->m_strGlobalID == clip->m_strGlobalID)
            return TRUE;
    for (INT_PTR i = 0; i < m_pros.GetSize(); ++i)
        if (((CClip*)m_pros[i])->m_strGlobalID == clip->m_strGlobalID)
            return TRUE;
    return FALSE;
}

BOOL CClipBar::AddClip(CClip* clip, CString)
{
    if (!clip)
        return FALSE;
    if (IsListed(clip)) {
        AfxMessageBox("Clip has already been added to the Clip Panel");
        return FALSE;
    }
    m_students.Add(clip);
    return TRUE;
}

BOOL CClipBar::AddReferenceClip(CClip* clip)
{
    if (!clip)
        return FALSE;
    for (INT_PTR i = 0; i < m_students.GetSize(); ++i)
        if (m_students[i] == clip) {
            m_students.RemoveAt(i);
            m_pros.Add(clip);
            return TRUE;
        }
    if (IsListed(clip)) {
        AfxMessageBox("Clip has already been added to the Clip Panel");
        return FALSE;
    }
    m_pros.Add(clip);
    return TRUE;
}

BOOL CClipBar::RemoveFrom(CPtrArray& list, int id)
{
    for (INT_PTR i = 0; i < list.GetSize(); ++i) {
        CClip* clip = (CClip*)list[i];
        if (clip->m_nID == id) {
            list.RemoveAt(i);
            delete clip;
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CClipBar::RemoveClipByID(int id)
{
    return RemoveFrom(m_pros, id) || RemoveFrom(m_students, id);
}

void CClipBar::ClearClips()
{
    if (g_pClavio)
        g_pClavio->SetClosing(TRUE);
    while (m_students.GetSize()) {
        CClip* clip = (CClip*)m_students[m_students.GetSize() - 1];
        m_students.RemoveAt(m_students.GetSize() - 1);
        delete clip;
    }
    while (m_pros.GetSize()) {
        CClip* clip = (CClip*)m_pros[m_pros.GetSize() - 1];
        m_pros.RemoveAt(m_pros.GetSize() - 1);
        delete clip;
    }
    if (g_pClavio)
        g_pClavio->SetClosing(FALSE);
}
