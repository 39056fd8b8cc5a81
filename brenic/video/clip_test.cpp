// The clip object over a real clip database: defaults, tab marks, the row it writes and
// reads back, its drawing, and which video files its destruction removes.
#include "clip_fixture.h"
#include "ODClosedShapes.h"
#include <climits>
#include <vector>

namespace {

std::vector<int> Tabs(const CClip& clip)
{
    std::vector<int> tabs;
    for (int i = 0; i < clip.GetTabCount(); ++i)
        tabs.push_back(clip.GetTabPosition(i));
    return tabs;
}

void AddRectangle(CODModel& model, int left)
{
    CODRectComponent* rect = new CODRectComponent;
    rect->Create(left, 10, left + 50, 60);
    model.AppendChild(rect);
}

} // namespace

TEST_F(ClipFolder, NewClipDefaultsAndTabArithmetic)
{
    CClip clip;
    EXPECT_STREQ("Swing", clip.m_strClipType);
    EXPECT_STREQ("Driver", clip.m_strClub);
    EXPECT_STREQ("Face on", clip.m_strView);
    EXPECT_EQ(5, clip.m_nImpactTab);
    EXPECT_EQ(-1, clip.m_nComparisonClipID);
    EXPECT_EQ(-1, clip.m_nPersonID);
    EXPECT_EQ(0, clip.m_nID);
    EXPECT_TRUE(clip.IsModified());
    EXPECT_TRUE(clip.m_bNew);
    EXPECT_EQ(38, clip.m_strGlobalID.GetLength());
    EXPECT_EQ('{', clip.m_strGlobalID[0]);
    EXPECT_EQ(&clip, clip.GetDrawingModel()->GetOwnerClip());
    // No tab placed yet: the impact field reads 0, not an unset value.
    EXPECT_EQ(0, clip.GetImpactField());

    clip.m_nSoundMarkField = 100;
    clip.PlaceTabsAroundImpact();
    EXPECT_EQ(std::vector<int>({35, 58, 83, 94, 98, 100, 103, 119}), Tabs(clip));
    // An impact early in the recording: no tab before the first field.
    clip.m_nSoundMarkField = 20;
    clip.PlaceTabsAroundImpact();
    EXPECT_EQ(std::vector<int>({0, 0, 3, 14, 18, 20, 23, 39}), Tabs(clip));

    clip.m_nTrimIn = 10;
    clip.m_nTrimOut = 45;
    clip.SpreadTabsEvenly();
    EXPECT_EQ(std::vector<int>({20, 30, 40, 50, 60, 70, 80, 90}), Tabs(clip));
    EXPECT_EQ(-1, clip.GetTabPosition(8));
    EXPECT_EQ(-1, clip.GetTabPosition(-1));
    clip.SetModified(FALSE);
    clip.SetTabPosition(8, 5);
    EXPECT_FALSE(clip.IsModified());
    clip.m_nTrimIn = clip.m_nTrimOut = 0;
    clip.SpreadTabsEvenly();
    EXPECT_EQ(std::vector<int>(8, 0), Tabs(clip));

    clip.m_nTrimIn = 10;
    clip.m_nTrimOut = 45;
    clip.SpreadTabsEvenly();
    m_config.SetImpactTabRelative(TRUE);
    clip.MoveTab(5, 80);
    EXPECT_EQ(std::vector<int>({30, 40, 50, 60, 70, 80, 90, 100}), Tabs(clip));
    m_config.SetImpactTabRelative(FALSE);
    clip.MoveTab(5, 75);
    EXPECT_EQ(std::vector<int>({30, 40, 50, 60, 70, 75, 90, 100}), Tabs(clip));

    clip.SetTrimIn(-5);
    EXPECT_EQ(0, clip.GetTrimIn());
    clip.SetModified(FALSE);
    clip.SetTrimOut(45);
    EXPECT_FALSE(clip.IsModified());
}

TEST_F(ClipFolder, TabStringsAreParsedWithinBounds)
{
    struct Case {
        const char* text;
        std::vector<int> tabs;
    } cases[] = {
        {"1,2,3,", {1, 2, 3}},
        {"", {}},
        {"7", {7}},
        {"1,2,3,4,5,6,7,8,9,10,", {1, 2, 3, 4, 5, 6, 7, 8}},
        {"99999999999,", {INT_MAX}},
        {"-99999999999,12abc,", {INT_MIN, 12}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        CClip clip;
        clip.m_strTabString = c.text;
        clip.ParseTabString();
        EXPECT_EQ(c.tabs, Tabs(clip));
        // Tabs beyond the count read 0, the impact tab among them.
        if (c.tabs.size() <= 5)
            EXPECT_EQ(0, clip.GetImpactField());
    }
    CClip clip;
    clip.m_strTabString = "4,5,";
    clip.ParseTabString();
    clip.BuildTabString();
    EXPECT_STREQ("4,5,", clip.m_strTabString);
}

TEST_F(ClipFolder, WrittenRowReadsBackWithEveryExchangedColumn)
{
    CClip* clip = NewCapture("CLP77.avi");
    clip->m_nPersonID = 2;
    clip->m_strClipType = "Drill";
    clip->m_strClub = "7 Iron";
    clip->m_strView = "Down the line";
    clip->m_strComment = "Early release; it's \"bad\"";
    clip->m_nLessonNbr = 4;
    clip->m_nSoundMarkField = 61;
    clip->m_nTrimIn = 3;
    clip->m_nTrimOut = 40;
    clip->m_nFrames = 41;
    clip->m_bAutoCap = TRUE;
    clip->m_bImported = TRUE;
    clip->m_nComparisonClipID = -1;
    clip->m_bMirror = TRUE;
    clip->PlaceTabsAroundImpact();
    AddRectangle(*clip->GetDrawingModel(), 10);
    AddRectangle(*clip->GetDrawingModel(), 100);
    const int id = AddRow(clip);

    // The drawing stays in memory after the write.
    EXPECT_EQ(2, clip->GetDrawingModel()->GetChildCount());
    EXPECT_FALSE(clip->IsModified());
    EXPECT_STREQ(m_capture + "\\CLP77.avi", clip->m_strVideoPath);

    CClip* back = CClip::LoadFromDatabase(id);
    ASSERT_TRUE(back != NULL);
    EXPECT_STREQ(clip->m_strVideoPath, back->m_strVideoPath);
    EXPECT_EQ(2 * 3, back->m_nLastDisplayPos);
    EXPECT_STREQ("Drill", back->m_strClipType);
    EXPECT_EQ(clip->m_captureTime, back->m_captureTime);
    EXPECT_EQ(id, back->m_nID);
    EXPECT_EQ(4, back->m_nLessonNbr);
    EXPECT_STREQ(clip->m_strTabString, back->m_strTabString);
    EXPECT_EQ(Tabs(*clip), Tabs(*back));
    EXPECT_STREQ(clip->m_strComment, back->m_strComment);
    EXPECT_STREQ("7 Iron", back->m_strClub);
    EXPECT_STREQ("Down the line", back->m_strView);
    EXPECT_EQ(2, back->m_nPersonID);
    EXPECT_STREQ("O'Brien", back->m_subject.m_LastName);
    EXPECT_STREQ("Left Hand", back->m_subject.m_LRHand);
    ASSERT_EQ(clip->m_overlay.GetSize(), back->m_overlay.GetSize());
    EXPECT_EQ(0, memcmp(clip->m_overlay.GetData(), back->m_overlay.GetData(),
                        clip->m_overlay.GetSize()));
    EXPECT_EQ(2, back->GetDrawingModel()->GetChildCount());
    EXPECT_EQ(41, back->m_nFrames);
    EXPECT_EQ(3, back->m_nTrimIn);
    EXPECT_EQ(40, back->m_nTrimOut);
    EXPECT_EQ(-1, back->m_nComparisonClipID);
    EXPECT_TRUE(back->m_bAutoCap);
    EXPECT_TRUE(back->m_bImported);
    EXPECT_EQ(61, back->m_nSoundMarkField);
    EXPECT_STREQ(clip->m_strGlobalID, back->m_strGlobalID);
    EXPECT_FALSE(back->m_bMirror);
    EXPECT_FALSE(back->m_bNew);
    EXPECT_FALSE(back->IsModified());

    // Writing again does not double the drawing.
    clip->UpdateDatabaseRecord(FALSE);
    EXPECT_EQ(2, clip->GetDrawingModel()->GetChildCount());
    delete back;
    delete clip;
    EXPECT_EQ(0u, m_answers.Count());
    EXPECT_TRUE(Exists(m_capture + "\\CLP77.avi"));

    CClip empty;
    EXPECT_GT(empty.StoreOverlayBlob() ? empty.m_overlay.GetSize() : 0, 0);
    EXPECT_TRUE(CClip::LoadFromDatabase(999) == NULL);
    EXPECT_TRUE(m_answers.Saw("Database Error: Record not found"));
}

TEST_F(ClipFolder, DrawingBlobsFromElsewhereAreReadSafely)
{
    CClip clip;
    AddRectangle(*clip.GetDrawingModel(), 5);
    // An empty blob leaves the drawing as it is.
    clip.LoadOverlayBlob();
    EXPECT_EQ(1, clip.GetDrawingModel()->GetChildCount());

    clip.StoreOverlayBlob();
    const CByteArray whole;
    std::vector<std::vector<BYTE>> blobs;
    std::vector<BYTE> bytes(clip.m_overlay.GetData(),
                            clip.m_overlay.GetData() + clip.m_overlay.GetSize());
    blobs.push_back(std::vector<BYTE>(bytes.begin(), bytes.begin() + bytes.size() / 2));
    blobs.push_back(std::vector<BYTE>(64, 0xFF));
    for (const std::vector<BYTE>& blob : blobs) {
        m_answers.Clear();
        clip.m_overlay.SetSize((INT_PTR)blob.size());
        memcpy(clip.m_overlay.GetData(), blob.data(), blob.size());
        EXPECT_TRUE(clip.LoadOverlayBlob());
        EXPECT_EQ(0, clip.GetDrawingModel()->GetChildCount());
        EXPECT_TRUE(m_answers.Saw("drawing could not be read"));
        // The stored bytes are left as they were.
        ASSERT_EQ((INT_PTR)blob.size(), clip.m_overlay.GetSize());
        EXPECT_EQ(0, memcmp(blob.data(), clip.m_overlay.GetData(), blob.size()));
    }
}

TEST_F(ClipFolder, DestructionDeletesOnlyUnsavedRecordingsAndImports)
{
    struct Case {
        const char* name;
        BOOL isNew;
        BYTE keep;
        BOOL deleted;
    } cases[] = {
        {"CAP10.avi", TRUE, FALSE, TRUE},
        {"IMP10.avi", TRUE, FALSE, TRUE},
        {"CAP11.avi", TRUE, TRUE, FALSE},   // "Exit" at shutdown keeps them
        {"CLP10.avi", TRUE, FALSE, FALSE},  // a saved clip whose row went missing
        {"CAP12.avi", FALSE, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CClip* clip = NewCapture(c.name);
        clip->m_bNew = c.isNew;
        CClip::s_bKeepTempFiles = c.keep;
        delete clip;
        EXPECT_EQ(!c.deleted, Exists(m_capture + "\\" + c.name));
    }
    CClip::s_bKeepTempFiles = FALSE;
    EXPECT_EQ(0u, m_answers.Count());
}

TEST_F(ClipFolder, StateOverlaysOfClipsNotShown)
{
    CClip clip;
    EXPECT_EQ(0, clip.GetOverlayImageIndex(TRUE));   // new
    clip.m_bNew = FALSE;
    EXPECT_EQ(0, clip.GetOverlayImageIndex(TRUE));   // saved and modified
    EXPECT_EQ(0, clip.GetOverlayImageIndex(FALSE));
    clip.SetModified(FALSE);
    EXPECT_EQ(1, clip.GetOverlayImageIndex(TRUE));   // saved and not modified
    EXPECT_EQ(0, clip.GetOverlayImageIndex(FALSE));
    EXPECT_STREQ("", clip.GetSubjectShortName());
    clip.m_subject.m_FirstName = "Sam";
    clip.m_subject.m_LastName = "O'Brien";
    EXPECT_STREQ("S.O'Brien", clip.GetSubjectShortName());
    EXPECT_TRUE(clip.HasSubject());
}
