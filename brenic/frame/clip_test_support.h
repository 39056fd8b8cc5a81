// What the clip panel's and the lesson's tests share: the video manager in a host with the
// clip panel beside it, a database with an instructor and a student, and message boxes
// answered from a queue.
#pragma once
#include "video_test_support.h"
#include <afxdao.h>
#include <deque>
#include "ImgList.h"
#include "Recordsets.h"

// Records the message boxes and answers them from a queue (IDOK when it is empty).
class CAnsweringApp : public CVideoTestApp
{
public:
    int DoMessageBox(LPCTSTR prompt, UINT type, UINT help) override
    {
        CVideoTestApp::DoMessageBox(prompt, type, help);
        if (m_answers.empty())
            return IDOK;
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    std::deque<int> m_answers;
};

class ClipPanelFixture : public VideoManagerFixture
{
protected:
    void SetUp() override
    {
        // The panel's lists take the program's image lists when they are made.
        g_pImgList = new CImgList;
        g_pImgList->Create();
        VideoManagerFixture::SetUp();
        CClip::s_bKeepTempFiles = FALSE;
        CDaoDatabase db;
        db.Create(g_pAppConfig->GetDatabasePath(), dbLangGeneral);
        for (const char* const* s = kClipDatabaseSchema; *s; ++s)
            db.Execute(*s);
        db.Execute("INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID], "
                   "[L/RHand], [LastLessonNumber]) VALUES ('Hale', 'Ida', 'Instructor', -1, "
                   "'Right Hand', 0)");
        db.Execute("INSERT INTO [Person] ([LastName], [FirstName], [Role], [InstructorID], "
                   "[L/RHand], [LastLessonNumber]) VALUES ('Smith', 'John', 'Student', 1, "
                   "'Left Hand', 4)");
        db.Close();
    }
    void TearDown() override
    {
        CClip::s_bKeepTempFiles = FALSE;
        VideoManagerFixture::TearDown();
        delete g_pImgList;
        g_pImgList = NULL;
    }

    CClipBar& Panel() { return *m_clipBar; }
    CClipList& Students() { return m_clipBar->GetStudentList(); }
    CClipList& Pros() { return m_clipBar->GetProList(); }

    // A new, unsaved clip over a DV file of its own (deleted with the clip).
    CClip* Capture(const char* name, const char* first = "", const char* last = "")
    {
        DvClip file(*m_folder, name, 12);
        CClip* clip = new CClip;
        clip->m_strVideoPath = file.path;
        clip->m_nFrames = 12;
        clip->SetTrimOut(11);
        clip->m_subject.m_FirstName = first;
        clip->m_subject.m_LastName = last;
        clip->m_captureTime = COleDateTime(2024, 3, 5, 15, 4, 5);
        return clip;
    }

    // Stores the clip as a row of the database, as a first save does.
    int AddRow(CClip* clip)
    {
        CClipRecord rs;
        rs.Open(dbOpenDynaset, "[VideoClip]");
        rs.AddNew();
        rs.Update();
        rs.SetBookmark(rs.GetLastModifiedBookmark());
        clip->m_nID = rs.m_ID;
        clip->WriteRecord(&rs);
        rs.Close();
        clip->m_bNew = FALSE;
        clip->SetModified(FALSE);
        return clip->m_nID;
    }

    void Execute(const CString& sql)
    {
        CDaoDatabase db;
        db.Open(g_pAppConfig->GetDatabasePath());
        db.Execute(sql);
        db.Close();
    }

    static void Select(CClipList& list, std::initializer_list<int> items)
    {
        list.SetItemState(-1, 0, LVIS_SELECTED);
        for (int i : items)
            list.SetItemState(i, LVIS_SELECTED, LVIS_SELECTED);
    }
};
