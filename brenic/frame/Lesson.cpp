#include "Lesson.h"
#include <afxdao.h>
#include <afxwin.h>
#include "../video/Clavio.h"
#include "AppConfig.h"
#include "ClipBar.h"
#include "CmdBar.h"
#include "DatabaseSheet.h"
#include "Globals.h"
#include "MenuBar.h"
#include "PeoplePPage.h"

CLesson::CLesson()
    : m_bRecordsetClosed(FALSE), m_nLessonNumber(0), m_nExtend(0), m_nDuration(0),
      m_nRunningExtend(0), m_nSecondsLeft(0), m_nRunningDuration(0), m_bActive(FALSE),
      m_bFirstSettings(TRUE), m_bInTick(FALSE), m_bStudentSelected(FALSE)
{
}

CLesson::~CLesson()
{
    try {
        if (m_personSet.IsOpen())
            m_personSet.Close();
    } catch (CException* e) {
        e->Delete();
    }
}

CPeoplePPage* CLesson::ConnectPeoplePage()
{
    if (!g_pAppConfig || !g_pAppConfig->ConnectDatabase() || !g_pDatabaseSheet)
        return NULL;
    return g_pDatabaseSheet->GetPeoplePage();
}

void CLesson::ShowDatabaseSheet()
{
    if (g_pDatabaseSheet->GetSafeHwnd())
        g_pDatabaseSheet->ShowModal(0);
    else
        g_pDatabaseSheet->DoModal();
}

BOOL CLesson::Start(BOOL pickStudent)
{
    if (m_bActive) {
        if (AfxMessageBox("There is a lesson currently active, do you wish to end this lesson "
                          "to start a new one?",
                          MB_YESNO | MB_ICONQUESTION) != IDYES)
            return FALSE;
        End();
    }
    if (pickStudent) {
        m_bStudentSelected = FALSE;
        CPeoplePPage* people = ConnectPeoplePage();
        if (!people)
            return FALSE;
        // The people page offers to pick the lesson's student.
        people->SetLessonPickMode(1);
        ShowDatabaseSheet();
    }
    if (!m_bStudentSelected || IsRecordEmpty())
        return FALSE;
    return Begin();
}

BOOL CLesson::LoadStudent(int personId)
{
    BOOL found = FALSE;
    try {
        if (m_personSet.IsOpen())
            m_personSet.Requery();
        else
            m_personSet.Open(dbOpenDynaset);
        CString filter;
        filter.Format("ID = %d", personId);
        found = m_personSet.FindFirst(filter);
    } catch (CDaoException* e) {
        e->Delete();
    }
    if (!found) {
        AfxMessageBox("Database Error: Record not found");
        m_bStudentSelected = FALSE;
        return FALSE;
    }
    m_nLessonNumber = m_personSet.m_LastLessonNumber + 1;
    m_strStudentName = m_personSet.m_FirstName + " " + m_personSet.m_LastName;
    m_bStudentSelected = TRUE;
    LoadInstructorName();
    return TRUE;
}

void CLesson::LoadInstructorName()
{
    m_strInstructorName.Empty();
    if (!m_personSet.IsOpen())
        return;
    try {
        CPeopleRecord instructor;
        instructor.Open(dbOpenDynaset);
        CString filter;
        filter.Format("ID = %d", (int)m_personSet.m_InstructorID);
        if (instructor.FindFirst(filter))
            m_strInstructorName = instructor.m_FirstName + " " + instructor.m_LastName;
        instructor.Close();
    } catch (CDaoException* e) {
        e->Delete();
    }
}

BOOL CLesson::Begin()
{
    m_nRunningDuration = m_nDuration;
    m_nSecondsLeft = m_nDuration * 60;
    m_nRunningExtend = m_nExtend;
    m_bActive = TRUE;
    UpdateTexts(TRUE);
    SetDocumentTitle(m_strStudentName);
    CClipBar* panel = CClipBar::GetClipBar();
    if (panel && !panel->GetStudentList().IsEmpty() &&
        AfxMessageBox("Do you want to delete all clips in the current clip panel?",
                      MB_YESNO | MB_ICONQUESTION) == IDYES) {
        panel->GetStudentList().DeleteAllClips(TRUE);
        if (g_pClavio)
            g_pClavio->NotifyUpdate();
    }
    return TRUE;
}

BOOL CLesson::End()
{
    if (m_bActive && !IsRecordEmpty()) {
        try {
            m_personSet.Edit();
            m_personSet.m_LastLessonNumber = (short)m_nLessonNumber;
            m_personSet.Update();
        } catch (CDaoException* e) {
            e->Delete();
        }
    }
    m_bActive = FALSE;
    m_nSecondsLeft = 0;
    UpdateTexts(TRUE);
    SetDocumentTitle("No Student");
    return TRUE;
}

BOOL CLesson::Extend()
{
    if (!m_bActive)
        return FALSE;
    m_nSecondsLeft += m_nRunningExtend * 60;
    UpdateTexts(FALSE);
    return TRUE;
}

void CLesson::AskExtend()
{
    if (AfxMessageBox("Do you wish to extend the lesson?", MB_YESNO | MB_ICONQUESTION) == IDYES)
        Extend();
    else
        End();
}

void CLesson::Tick()
{
    if (!m_bActive)
        return;
    if (--m_nSecondsLeft < 0)
        AskExtend();
    UpdateTexts(FALSE);
}

void CLesson::OnTimer()
{
    if (m_bInTick)
        return;
    m_bInTick = TRUE;
    try {
        Tick();
    } catch (...) {
        AfxMessageBox("Unhandled exception in timer for CLesson.");
    }
    // Cleared on every path: a tick that threw must not stop the lesson counting.
    m_bInTick = FALSE;
}

void CLesson::ApplySettings()
{
    if (g_pAppConfig) {
        m_nDuration = g_pAppConfig->GetLessonDuration();
        m_nExtend = g_pAppConfig->GetLessonExtend();
    }
    if (m_bActive)
        return;
    m_nRunningDuration = m_nDuration;
    m_nRunningExtend = m_nExtend;
    if (m_bFirstSettings)
        m_bFirstSettings = FALSE;
    else
        UpdateTexts(FALSE);
}

void CLesson::UpdateTexts(BOOL all)
{
    if (g_pCmdBar && g_pCmdBar->GetSafeHwnd() && g_pCmdBar->m_lessonDlg.GetSafeHwnd())
        g_pCmdBar->m_lessonDlg.UpdateTexts(all);
    if (g_pMenuBar && g_pMenuBar->GetSafeHwnd())
        g_pMenuBar->UpdateLessonTime();
}

void CLesson::SetDocumentTitle(CString title)
{
    m_strTitle = title;
    CFrameWnd* frame = DYNAMIC_DOWNCAST(CFrameWnd, AfxGetMainWnd());
    CDocument* document = frame ? frame->GetActiveDocument() : NULL;
    if (document)
        document->SetTitle(title);
}

BOOL CLesson::EditStudent()
{
    CPeoplePPage* people = ConnectPeoplePage();
    if (!people)
        return FALSE;
    people->SetPersonToShow(m_bActive ? GetStudentID() : -1);
    ShowDatabaseSheet();
    CloseRecordset();
    ReopenRecordset();
    LoadInstructorName();
    UpdateTexts(TRUE);
    return TRUE;
}

BOOL CLesson::IsRecordEmpty()
{
    return !m_personSet.IsOpen() || (m_personSet.IsBOF() && m_personSet.IsEOF());
}

void CLesson::CloseRecordset()
{
    if (!m_personSet.IsOpen())
        return;
    m_personSet.Close();
    m_bRecordsetClosed = TRUE;
}

void CLesson::ReopenRecordset()
{
    if (!m_bRecordsetClosed)
        return;
    m_bRecordsetClosed = FALSE;
    const int id = (int)m_personSet.m_ID;
    try {
        m_personSet.Open(dbOpenDynaset);
        CString filter;
        filter.Format("ID = %d", id);
        m_personSet.FindFirst(filter);
    } catch (CDaoException* e) {
        e->Delete();
    }
}
