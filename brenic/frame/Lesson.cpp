#include "Lesson.h"
#include <afxdao.h>
#include "AppConfig.h"
#include "Globals.h"
#include "Recordsets.h"

CLesson::CLesson()
    : m_bActive(FALSE), m_nDuration(30), m_nExtend(5), m_nSecondsLeft(30 * 60),
      m_nStudentID(-1), m_pDatabase(NULL), m_pPersonSet(NULL)
{
}

CLesson::~CLesson()
{
    CloseRecordset();
}

void CLesson::ApplySettings()
{
    if (g_pAppConfig) {
        m_nDuration = g_pAppConfig->GetLessonDuration();
        m_nExtend = g_pAppConfig->GetLessonExtend();
    }
    if (!m_bActive)
        m_nSecondsLeft = m_nDuration * 60;
}

void CLesson::CloseRecordset()
{
    if (m_pPersonSet && m_pPersonSet->IsOpen()) {
        m_pPersonSet->Close();
        if (m_pDatabase) {
            if (m_pDatabase->IsOpen())
                m_pDatabase->Close();
            delete m_pDatabase;
            m_pDatabase = NULL;
        }
    }
    delete m_pPersonSet;
    m_pPersonSet = NULL;
}

void CLesson::ReopenRecordset()
{
    if (!m_bActive)
        return;
    try {
        if (!m_pPersonSet)
            m_pPersonSet = new CPeopleRecord;
        if (m_pPersonSet->IsOpen())
            m_pPersonSet->Requery();
        else
            m_pPersonSet->Open();
        CString criterion;
        criterion.Format("ID = %d", m_nStudentID);
        m_pPersonSet->FindFirst(criterion);
    } catch (CDaoException* e) {
        e->Delete();
    }
}
