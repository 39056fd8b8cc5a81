// Fills a clip database with many people and clips for the scale benchmarks: every fifth
// person an instructor of the others, the clips spread over the last 60 days, two swings
// for each drill. The clips name a video file that does not exist: only the records count.
#pragma once
#include <afxwin.h>
#include <afxdao.h>

inline void FillClipDatabase(const CString& path, int people, int clips)
{
    CDaoDatabase db;
    db.Open(path, FALSE, FALSE);
    db.m_pWorkspace->BeginTrans();
    const char* roles[] = {"Student", "Student", "Student", "Pro", "Instructor"};
    for (int i = 0; i < people; ++i) {
        CString first, last;
        first.Format("First%d", i);
        last.Format("Last%04d", i);
        db.Execute("INSERT INTO [Person] ([FirstName], [LastName], [Role], [InstructorID], "
                   "[LastLessonNumber]) VALUES (?, ?, ?, ?, 0)",
                   CDaoParams().Add(first).Add(last).Add(roles[i % 5]).Add((LONG)(i % 5 == 0 ? 5 : -1)));
    }
    const double now = COleDateTime::GetCurrentTime().m_dt;
    for (int i = 0; i < clips; ++i) {
        COleVariant when;
        V_VT(&when) = VT_DATE;
        V_DATE(&when) = now - (i % 60);
        db.Execute("INSERT INTO [VideoClip] ([PersonID], [VideoClipName], [ClipType], [Club], "
                   "[View], [Comment], [ComparisonClipID], [VideoClipFileName], "
                   "[DateTimeStamp], [TrimIn]) VALUES (?, 'n', ?, 'Driver', 'Face on', '', -1, "
                   "'CLP.avi', ?, 0)",
                   CDaoParams().Add((LONG)(1 + i % people)).Add(i % 3 ? "Swing" : "Drill").Add(when));
    }
    db.m_pWorkspace->CommitTrans();
    db.Close();
}
