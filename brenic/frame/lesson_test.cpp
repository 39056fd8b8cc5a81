// The lesson: its countdown, the extend question, the lesson number written back, the
// settings that spare a running lesson, an unknown student and a tick that throws.
#include "clip_test_support.h"

namespace {
CAnsweringApp theApp;

class LessonTest : public ClipPanelFixture
{
protected:
    void SetUp() override
    {
        ClipPanelFixture::SetUp();
        theApp.m_boxes.clear();
        theApp.m_answers.clear();
        g_pAppConfig->SetLessonDuration(30);
        g_pAppConfig->SetLessonExtend(5);
        g_pLesson->ApplySettings();
    }
    static void Ticks(CLesson& lesson, int n)
    {
        for (int i = 0; i < n; ++i)
            lesson.OnTimer();
    }
    int LastLessonNumber(int id)
    {
        CPeopleRecord people;
        people.Open(dbOpenDynaset);
        CString filter;
        filter.Format("ID = %d", id);
        EXPECT_TRUE(people.FindFirst(filter));
        const int n = people.m_LastLessonNumber;
        people.Close();
        return n;
    }
};

// A lesson whose tick throws while `throwing` is set.
class ThrowingLesson : public CLesson
{
public:
    bool throwing = false;

protected:
    void Tick() override
    {
        if (throwing)
            throw 1;
        CLesson::Tick();
    }
};
} // namespace

TEST_F(LessonTest, CountdownExtendAndEnd)
{
    CLesson& lesson = *g_pLesson;
    EXPECT_FALSE(lesson.IsActive());
    EXPECT_STREQ("", lesson.GetStudentName());
    ASSERT_TRUE(lesson.LoadStudent(2));
    EXPECT_EQ(5, lesson.GetLessonNumber());
    // Without a running lesson the names are not given out.
    EXPECT_STREQ("", lesson.GetStudentName());
    ASSERT_TRUE(lesson.Start(FALSE));
    EXPECT_TRUE(lesson.IsActive());
    EXPECT_STREQ("John Smith", lesson.GetStudentName());
    EXPECT_STREQ("Ida Hale", lesson.GetInstructorName());
    EXPECT_STREQ("Left Hand", lesson.GetStudentHand());
    EXPECT_STREQ("John Smith", lesson.GetTitle());
    EXPECT_EQ(1800, lesson.GetRemainingSeconds());
    EXPECT_EQ(30, lesson.GetLessonLength());
    // Beginning with an empty current-clips pane asks nothing.
    EXPECT_TRUE(theApp.m_boxes.empty());

    // The question comes on the tick after 0; Yes adds the extension.
    Ticks(lesson, 1800);
    EXPECT_EQ(0, lesson.GetRemainingSeconds());
    EXPECT_TRUE(theApp.m_boxes.empty());
    theApp.m_answers = {IDYES};
    lesson.OnTimer();
    EXPECT_TRUE(theApp.Saw("Do you wish to extend the lesson?"));
    EXPECT_EQ(299, lesson.GetRemainingSeconds());
    EXPECT_TRUE(lesson.IsActive());

    // No ends it: the lesson number is written and the title goes back.
    Ticks(lesson, 299);
    theApp.m_answers = {IDNO};
    lesson.OnTimer();
    EXPECT_FALSE(lesson.IsActive());
    EXPECT_EQ(0, lesson.GetRemainingSeconds());
    EXPECT_STREQ("No Student", lesson.GetTitle());
    EXPECT_EQ(5, LastLessonNumber(2));
    // Without a lesson ticks change nothing.
    Ticks(lesson, 3);
    EXPECT_EQ(0, lesson.GetRemainingSeconds());
    EXPECT_FALSE(lesson.Extend());
}

TEST_F(LessonTest, SettingsSpareARunningLessonAndAStartCanBeRefused)
{
    CLesson& lesson = *g_pLesson;
    ASSERT_TRUE(lesson.LoadStudent(2));
    ASSERT_TRUE(lesson.Start(FALSE));
    Ticks(lesson, 10);
    g_pAppConfig->SetLessonDuration(45);
    lesson.ApplySettings();
    EXPECT_EQ(30, lesson.GetLessonLength());
    EXPECT_EQ(1790, lesson.GetRemainingSeconds());

    // A new start while one runs: No leaves the running lesson as it was.
    theApp.m_answers = {IDNO};
    EXPECT_FALSE(lesson.Start(FALSE));
    EXPECT_TRUE(theApp.Saw("There is a lesson currently active"));
    EXPECT_TRUE(lesson.IsActive());
    EXPECT_EQ(1790, lesson.GetRemainingSeconds());

    // Yes ends it; the next lesson takes the new length. Clips in the current pane are
    // offered for deletion.
    Panel().AddClip(Capture("lesson.avi"), "");
    theApp.m_answers = {IDYES, IDYES};
    EXPECT_TRUE(lesson.Start(FALSE));
    EXPECT_EQ(2700, lesson.GetRemainingSeconds());
    EXPECT_EQ(45, lesson.GetLessonLength());
    EXPECT_TRUE(theApp.Saw("Do you want to delete all clips in the current clip panel?"));
    EXPECT_EQ(0, Students().GetItemCount());
    EXPECT_EQ(5, LastLessonNumber(2));
}

TEST_F(LessonTest, UnknownStudentStartsNothing)
{
    CLesson& lesson = *g_pLesson;
    EXPECT_FALSE(lesson.LoadStudent(999));
    EXPECT_TRUE(theApp.Saw("Database Error: Record not found"));
    EXPECT_FALSE(lesson.Start(FALSE));
    EXPECT_FALSE(lesson.IsActive());
}

TEST_F(LessonTest, ATickThatThrowsDoesNotStopTheCount)
{
    ThrowingLesson lesson;
    lesson.ApplySettings();
    ASSERT_TRUE(lesson.LoadStudent(2));
    ASSERT_TRUE(lesson.Start(FALSE));
    lesson.throwing = true;
    lesson.OnTimer();
    EXPECT_TRUE(theApp.Saw("Unhandled exception in timer for CLesson."));
    lesson.throwing = false;
    lesson.OnTimer();
    EXPECT_EQ(1799, lesson.GetRemainingSeconds());
    lesson.End();
}
