// The lesson: a timed period with one student, counted down by the main window.
#pragma once
#include <afx.h>

class CDaoDatabase;
class CPeopleRecord;

class CLesson
{
public:
    CLesson();
    virtual ~CLesson();

    // Takes the lesson length and extension from the settings; resets the countdown when
    // no lesson runs.
    void ApplySettings();
    BOOL IsActive() const { return m_bActive; }
    int GetDuration() const { return m_nDuration; }
    int GetExtend() const { return m_nExtend; }
    int GetSecondsLeft() const { return m_nSecondsLeft; }
    // "<first> <last>" of the running lesson's student, "" when no lesson runs.
    CString GetStudentName() const { return m_bActive ? m_strStudentName : CString(); }

    // The lesson's own connection to the student's row, released while the database file
    // is repaired and compacted.
    void CloseRecordset();
    void ReopenRecordset();

private:
    BOOL m_bActive;
    int m_nDuration;
    int m_nExtend;
    int m_nSecondsLeft;
    int m_nStudentID;
    CString m_strStudentName;
    CDaoDatabase* m_pDatabase;
    CPeopleRecord* m_pPersonSet;
};
