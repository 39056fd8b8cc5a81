#include "ClipBar.h"
#include "Clip.h"

CClipBar* g_pClipBar = NULL;

CClipBar::CClipBar()
{
}

CClipBar::~CClipBar()
{
    for (INT_PTR i = 0; i < m_students.GetSize(); ++i)
        delete m_students[i];
    for (INT_PTR i = 0; i < m_pros.GetSize(); ++i)
        delete m_pros[i];
}

BOOL CClipBar::ContainsGlobalID(const CString& guid) const
{
    for (INT_PTR i = 0; i < m_students.GetSize(); ++i)
        if (m_students[i]->m_strGlobalID == guid)
            return TRUE;
    for (INT_PTR i = 0; i < m_pros.GetSize(); ++i)
        if (m_pros[i]->m_strGlobalID == guid)
            return TRUE;
    return FALSE;
}

BOOL CClipBar::Refuse(CClip* clip)
{
    AfxMessageBox("Clip has already been added to the Clip Panel");
    delete clip;
    return FALSE;
}

BOOL CClipBar::AddClip(CClip* clip, CString label)
{
    if (ContainsGlobalID(clip->m_strGlobalID))
        return Refuse(clip);
    m_students.Add(clip);
    m_studentLabels.Add(label);
    return TRUE;
}

BOOL CClipBar::AddReferenceClip(CClip* clip, CString)
{
    for (INT_PTR i = 0; i < m_students.GetSize(); ++i) {
        if (m_students[i] == clip) {
            m_students.RemoveAt(i);
            m_studentLabels.RemoveAt(i);
            break;
        }
    }
    if (ContainsGlobalID(clip->m_strGlobalID))
        return Refuse(clip);
    m_pros.Add(clip);
    return TRUE;
}

void CClipBar::RemoveClipByID(int id)
{
    for (INT_PTR i = 0; i < m_pros.GetSize(); ++i) {
        if (m_pros[i]->m_nID == id) {
            CClip* clip = m_pros[i];
            m_pros.RemoveAt(i);
            delete clip;
            return;
        }
    }
    for (INT_PTR i = 0; i < m_students.GetSize(); ++i) {
        if (m_students[i]->m_nID == id) {
            CClip* clip = m_students[i];
            m_students.RemoveAt(i);
            m_studentLabels.RemoveAt(i);
            delete clip;
            return;
        }
    }
}
