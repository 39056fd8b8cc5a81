#include "RemoteSend.h"
#include <afxdao.h>
#include "AppConfig.h"
#include "BrowserLists.h"
#include "Clavio.h"
#include "Clip.h"
#include "ClipBar.h"
#include "Globals.h"
#include "Recordsets.h"

BOOL IsClipInClipPanel(const CString& globalId)
{
    CClipBar* panel = CClipBar::GetClipBar();
    return panel && (panel->GetStudentList().ContainsGlobalID(globalId) ||
                     panel->GetProList().ContainsGlobalID(globalId));
}

RemoteSendResult SendRemoteClip(CClipRecord& row)
{
    if (IsClipInClipPanel(row.m_GlobalID))
        return RemoteAlreadyListed;
    if (!CClip::IsSafeVideoName(row.m_VideoClipFileName))
        return RemoteImportFailed;
    const CString file = g_pAppConfig->GetCaptureDirectory() + "\\" + row.m_VideoClipFileName;
    CClip* before = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    BOOL imported = FALSE;
    g_pAppConfig->SetNetworkDatabase(FALSE);
    try {
        imported = CClip::ImportClipFiles(file, TRUE);
    } catch (...) {
        g_pAppConfig->SetNetworkDatabase(TRUE);
        throw;
    }
    g_pAppConfig->SetNetworkDatabase(TRUE);
    if (!imported)
        return RemoteImportFailed;
    CClip* clip = g_pClavio ? g_pClavio->GetCurrentClip() : NULL;
    if (!clip || clip == before)
        return RemoteNoClip;

    clip->m_strView = row.m_View;
    clip->m_strClub = row.m_Club;
    clip->m_strClipType = row.m_ClipType == "Comparison" ? CString("Swing") : row.m_ClipType;
    clip->m_strComment = row.m_Comment;
    clip->m_strGlobalID = row.m_GlobalID;
    CString label;
    long instructor = -1;
    {
        CPeopleRecord people(row.m_pDatabase);
        if (OpenPerson(people, row.m_PersonID)) {
            clip->m_subject.m_LastName = people.m_LastName;
            clip->m_subject.m_FirstName = people.m_FirstName;
            clip->m_subject.m_Role = people.m_Role;
            clip->m_subject.m_LRHand = people.m_LRHand;
            instructor = people.m_InstructorID;
            label = people.m_FirstName.Left(1) + "." + people.m_LastName + " (Imported)";
        }
        people.Close();
    }
    if (instructor != -1) {
        CPeopleRecord people(row.m_pDatabase);
        if (OpenPerson(people, instructor)) {
            clip->m_instructor.m_LastName = people.m_LastName;
            clip->m_instructor.m_FirstName = people.m_FirstName;
            clip->m_instructor.m_LRHand = people.m_LRHand;
            clip->m_instructor.m_Role = "Instructor";
        }
        people.Close();
    }
    if (CClipBar* panel = CClipBar::GetClipBar())
        panel->AddClip(clip, label);
    if (g_pClavio)
        g_pClavio->NotifyUpdate();
    return RemoteSent;
}
