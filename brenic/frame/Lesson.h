// The lesson: a timed period with one student, counted down by the main window's one-second
// timer, with the student's lesson number written back when it ends.
#pragma once
#include <afx.h>
#include "Recordsets.h"

class CLesson
{
public:
    CLesson();
    virtual ~CLesson();

    // Ends a running lesson (after asking), lets the user pick the student when asked to,
    // then begins the lesson.
    BOOL Start(BOOL pickStudent);
    BOOL LoadStudent(int personId);
    BOOL Begin();
    BOOL End();
    BOOL Extend();
    void AskExtend();
    // The one-second tick.
    void OnTimer();
    // Takes the lesson length and extension from the settings; a running lesson keeps its
    // own.
    void ApplySettings();
    void UpdateTexts(BOOL all);
    void LoadInstructorName();
    BOOL EditStudent();
    BOOL IsRecordEmpty();
    // The lesson's own connection to the student's row, released while the database file
    // is repaired and compacted.
    void CloseRecordset();
    void ReopenRecordset();

    BOOL IsActive() const { return m_bActive; }
    int GetStudentID() const { return m_personSet.IsOpen() ? (int)m_personSet.m_ID : -1; }
    // "<first> <last>" of the running lesson's student, "" when no lesson runs.
    CString GetStudentName() const { return m_bActive ? m_strStudentName : CString(); }
    CString GetInstructorName() const { return m_bActive ? m_strInstructorName : CString(); }
    CString GetStudentHand() const { return m_bActive ? m_personSet.m_LRHand : CString(); }
    int GetRemainingSeconds() const { return m_nSecondsLeft; }
    int GetSecondsLeft() const { return m_nSecondsLeft; }
    int GetLessonLength() const { return m_nRunningDuration; }
    int GetDuration() const { return m_nRunningDuration; }
    int GetExtend() const { return m_nExtend; }
    int GetLessonNumber() const { return m_nLessonNumber; }
    // The document title the lesson last gave ("No Student" without a lesson).
    CString GetTitle() const { return m_strTitle; }

protected:
    // The work of one tick, inside the tick's guard.
    virtual void Tick();
    void SetDocumentTitle(CString title);
    // The database sheet's people page once the database is connected; NULL when it is not.
    class CPeoplePPage* ConnectPeoplePage();
    // Shows the connected sheet on the people page.
    void ShowDatabaseSheet();

    BOOL m_bRecordsetClosed;
    CString m_strStudentName;
    CString m_strInstructorName;
    int m_nLessonNumber;
    int m_nExtend;
    int m_nDuration;
    int m_nRunningExtend;
    int m_nSecondsLeft;
    int m_nRunningDuration;
    BOOL m_bActive;
    mutable CPeopleRecord m_personSet;
    BOOL m_bFirstSettings;
    BOOL m_bInTick;
    BOOL m_bStudentSelected;
    CString m_strTitle;
};
