// Media operations of the video manager: snapshot numbering, folders and the clipboard
// picture, e-mail through the desktop's composer, trimming's tab shift and file
// replacement, and the frame-rate, disk and format checks.
#include "gtest_wine.h"
#include "video_test_support.h"
#include "BitmapDIB.h"
#include <stdlib.h>

CVideoTestApp theApp;

namespace {

void Touch(const CString& path)
{
    HANDLE h = CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h) << (LPCTSTR)path;
    DWORD written;
    WriteFile(h, "data", 4, &written, NULL);
    CloseHandle(h);
}

class ClavioMedia : public VideoManagerFixture
{
protected:
    // The number a DV fixture's picture shows on the channel's middle line (read through
    // Draw), or -1.
    int ShownNumber(int channel)
    {
        CDC dc;
        dc.CreateCompatibleDC(NULL);
        CBitmapDIB picture;
        if (!picture.Create(608, 456, 32))
            return -1;
        CBitmap* old = dc.SelectObject(&picture);
        RECT r = {0, 0, 607, 455};
        m_clavio->GetChannel(channel)->Draw((LONG*)&dc, (LONG*)&r);
        dc.SelectObject(old);
        GdiFlush();
        return NumberOnLine((const uint8_t*)picture.m_pBits, 608, 456, 228, true);
    }
};

} // namespace

TEST_F(ClavioMedia, SnapshotNumbersAndFolders)
{
    CString folder = m_clavio->GetPhotosFolder("Ann Lee");
    EXPECT_EQ(m_folder->path + "\\Photos\\Ann Lee", folder);
    CString prefix = folder + "\\snapshot";
    EXPECT_EQ(0, CClavio::GetHighestSnapshotNumber(prefix)); // snapshot_1.jpg comes next
    Touch(folder + "\\snapshot_3.jpg");
    Touch(folder + "\\snapshot_12.jpg");
    Touch(folder + "\\snapshot.jpg");
    EXPECT_EQ(12, CClavio::GetHighestSnapshotNumber(prefix)); // snapshot_13.jpg next
    // A number too long for an int is not taken.
    Touch(folder + "\\snapshot_99999999999999.jpg");
    EXPECT_EQ(12, CClavio::GetHighestSnapshotNumber(prefix));
    // A student name that is no valid folder name.
    CString odd = m_clavio->GetEmailFolder("A/B:C*?");
    EXPECT_EQ(m_folder->path + "\\VideoEmail\\A_B_C__", odd);
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(odd));
}

TEST_F(ClavioMedia, SnapshotCancelledStillFillsTheClipboard)
{
    DvClip a(*m_folder, "a.avi", 12), b(*m_folder, "b.avi", 12);
    CClip* A = NewClip(a, 12);
    CClip* B = NewClip(b, 12);
    m_clavio->SetComparisonView(FALSE);
    ASSERT_TRUE(m_clavio->LoadClip(A));
    ASSERT_TRUE(m_clavio->LoadClipInOtherChannel(B));
    m_clavio->GetChannel0()->SeekField(2);
    m_clavio->GetChannel1()->SeekField(14);
    Pump(300);
    m_answers.Queue(IDCANCEL);
    ASSERT_TRUE(m_clavio->SaveSnapshot());
    EXPECT_EQ(1u, m_answers.Count());
    ASSERT_TRUE(OpenClipboard(NULL));
    HANDLE data = GetClipboardData(CF_DIB);
    ASSERT_NE(nullptr, data);
    ASSERT_EQ(40u + 608u * 456u * 4u, GlobalSize(data));
    const BYTE* p = (const BYTE*)GlobalLock(data);
    const BITMAPINFOHEADER* header = (const BITMAPINFOHEADER*)p;
    EXPECT_EQ(40u, header->biSize);
    EXPECT_EQ(608, header->biWidth);
    EXPECT_EQ(456, header->biHeight);
    EXPECT_EQ(32, header->biBitCount);
    std::vector<DWORD> pixels((const DWORD*)(p + 40), (const DWORD*)(p + 40) + 608 * 456);
    GlobalUnlock(data);
    CloseClipboard();
    // The right half is the left half of channel 1's own picture.
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CBitmapDIB own;
    ASSERT_TRUE(own.Create(608, 456, 32));
    CBitmap* old = dc.SelectObject(&own);
    RECT r = {0, 0, 607, 455};
    m_clavio->GetChannel1()->Draw((LONG*)&dc, (LONG*)&r);
    dc.SelectObject(old);
    GdiFlush();
    int differing = 0, nonBlack = 0;
    for (int y = 0; y < 456; y += 7)
        for (int x = 0; x < 304; x += 5) {
            DWORD mine = pixels[y * 608 + 304 + x] & 0xFFFFFF;
            DWORD theirs = own.m_pBits[y * 608 + x] & 0xFFFFFF;
            differing += mine != theirs;
            nonBlack += mine != 0;
        }
    EXPECT_EQ(0, differing);
    EXPECT_GT(nonBlack, 100);

    // OK writes the proposed JPEG file, snapshot_1 in the folder of "No Lesson".
    m_answers.Queue(IDOK);
    ASSERT_TRUE(m_clavio->SaveSnapshot());
    std::string jpeg = ReadUnix(m_folder->m_unix + "/Photos/No Lesson/snapshot_1.jpg");
    ASSERT_GT(jpeg.size(), 1000u);
    EXPECT_EQ('\xFF', jpeg[0]);
    EXPECT_EQ('\xD8', jpeg[1]);
}

TEST_F(ClavioMedia, EmailGoesToTheComposerWithItsArguments)
{
    RecordingComposer composer(*m_folder);
    CString clip = m_folder->path + "\\CLP1234.avi";
    Touch(clip);
    EXPECT_TRUE(m_clavio->EmailClip(clip));
    EXPECT_EQ("--subject\nCLP1234.avi\n--body\nAttached is clip 'CLP1234.avi'\n--attach\n" +
                  m_folder->m_unix + "/CLP1234.avi\n",
              composer.Recorded());
    // Without a file: an empty message.
    EXPECT_TRUE(m_clavio->EmailClip(""));
    EXPECT_EQ("", composer.Recorded());
}

TEST_F(ClavioMedia, TrimShiftsTheTabsAndReplacesTheFileWhole)
{
    // An automatic capture trimmed from frame 10 to a file starting at 0: every tab moves
    // 20 fields earlier, kept inside the clip.
    CClip clip;
    clip.m_bAutoCap = TRUE;
    clip.m_nSoundMarkField = 100;
    clip.PlaceTabsAroundImpact(); // 35, 58, 83, 94, 98, 100, 103, 119
    clip.SetTrimOut(50);
    CClavio::ShiftTabsAfterTrim(&clip, 10);
    const int shifted[8] = {15, 38, 63, 74, 78, 80, 83, 99};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(shifted[i], clip.GetTabPosition(i)) << i;
    CClavio::ShiftTabsAfterTrim(&clip, 1); // from frame 1: two fields
    EXPECT_EQ(78, clip.GetImpactField());
    CClavio::ShiftTabsAfterTrim(&clip, 40); // clamped at the clip's start
    EXPECT_EQ(0, clip.GetTabPosition(0));
    EXPECT_EQ(0, clip.GetImpactField());
    CClip manual;
    manual.SetTrimIn(10);
    manual.SetTrimOut(45);
    CClavio::ShiftTabsAfterTrim(&manual, 3);
    const int spread[8] = {20, 30, 40, 50, 60, 70, 80, 90};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(spread[i], manual.GetTabPosition(i)) << i;

    // The trimmed file replaces the original in one step; a failed replace keeps it.
    CString original = m_folder->path + "\\CAP1.avi", trimmed = m_folder->path + "\\TMP1.avi";
    Touch(original);
    EXPECT_FALSE(CClavio::ReplaceVideoFile(m_folder->path + "\\missing.avi", original));
    EXPECT_EQ("data", ReadUnix(m_folder->m_unix + "/CAP1.avi"));
    {
        std::ofstream t(m_folder->m_unix + "/TMP1.avi");
        t << "trimmed";
    }
    EXPECT_TRUE(CClavio::ReplaceVideoFile(trimmed, original));
    EXPECT_EQ("trimmed", ReadUnix(m_folder->m_unix + "/CAP1.avi"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(trimmed));

}

TEST_F(ClavioMedia, TrimThroughTheControl)
{
    // Trimming needs the Direct3D 8 library, which Wine ships.
    EXPECT_TRUE(m_clavio->CanTrim());
    // An automatic capture of 40 frames with its impact at field 66.
    DvClip file(*m_folder, "t.avi", 40);
    CClip* clip = NewClip(file, 40);
    clip->m_bNew = TRUE; // not stored: no database row to correct
    clip->m_bAutoCap = TRUE;
    clip->m_nSoundMarkField = 66;
    clip->PlaceTabsAroundImpact(); // 1, 24, 49, 60, 64, 66, 69, 85
    ASSERT_TRUE(m_clavio->LoadClip(clip));
    m_clavio->SeekField(66);
    int impact = -1;
    ASSERT_TRUE(PumpUntil([&] { return (impact = ShownNumber(0)) >= 0; }, 2000));
    auto noTemporaryFile = [&] {
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(m_folder->path + "\\TMP*", &found);
        if (find != INVALID_HANDLE_VALUE)
            FindClose(find);
        return find == INVALID_HANDLE_VALUE;
    };

    // A file that cannot be replaced (open elsewhere without leave to delete it): the trim
    // fails, the file and the clip stay as they were and the clip is shown again.
    const std::string before = ReadUnix(file.m_unix);
    HANDLE held = CreateFileA(file.path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                              0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    theApp.m_boxes.clear();
    EXPECT_FALSE(m_clavio->TrimClip(10, 35));
    EXPECT_TRUE(theApp.Saw("Could not rename file - trim was unsuccessful"));
    EXPECT_TRUE(ReadUnix(file.m_unix) == before);
    EXPECT_EQ(40, clip->m_nFrames);
    EXPECT_EQ(39, clip->GetTrimOut());
    EXPECT_EQ(66, clip->GetImpactField());
    EXPECT_EQ(clip, m_clavio->GetCurrentClip());
    EXPECT_EQ(40, m_clavio->GetChannel0()->GetFrameCount());
    EXPECT_TRUE(noTemporaryFile());
    CloseHandle(held);

    // Frames 10 to 35: the file is replaced by the 26 frames, every tab moves 20 fields
    // earlier, kept inside the clip, and the impact tab shows the same picture as before.
    theApp.m_boxes.clear();
    EXPECT_TRUE(m_clavio->TrimClip(10, 35));
    EXPECT_TRUE(theApp.m_boxes.empty());
    EXPECT_EQ(26, clip->m_nFrames);
    EXPECT_EQ(0, clip->GetTrimIn());
    EXPECT_EQ(25, clip->GetTrimOut());
    EXPECT_EQ(26, m_clavio->GetChannel0()->GetFrameCount());
    const int shifted[8] = {0, 4, 29, 40, 44, 46, 49, 51};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(shifted[i], clip->GetTabPosition(i)) << i;
    m_clavio->SeekField(clip->GetImpactField());
    EXPECT_TRUE(PumpUntil([&] { return ShownNumber(0) == impact; }, 2000))
        << ShownNumber(0) << " " << impact;
    EXPECT_TRUE(noTemporaryFile());
}

TEST_F(ClavioMedia, FrameRatesDiskLevelsAndFormat)
{
    EXPECT_TRUE(CClavio::FrameRatesDiffer(29.97, 25.0));
    EXPECT_TRUE(CClavio::FrameRatesDiffer(25.0, 29.97));
    EXPECT_FALSE(CClavio::FrameRatesDiffer(29.97, 30.0));
    EXPECT_FALSE(CClavio::FrameRatesDiffer(25.0, 25.0));

    const struct {
        int level, percent, next, warn;
    } disk[] = {
        {0, 96, 95, 95}, {0, 80, 75, 75}, {0, 86, 85, 85}, {0, 50, 0, 0},
        {95, 97, 95, 0}, {75, 90, 85, 85}, {85, 80, 85, 0}, {85, 70, 75, 0},
        {75, 70, 75, 0}, {75, 60, 0, 0},
    };
    for (const auto& d : disk) {
        int warn = -1;
        EXPECT_EQ(d.next, CClavio::NextDiskWarnLevel(d.level, d.percent, &warn))
            << d.level << " " << d.percent;
        EXPECT_EQ(d.warn, warn) << d.level << " " << d.percent;
    }
    // No capture format without a camera.
    EXPECT_EQ(-1.0f, m_clavio->GetCompressionRatio());
    EXPECT_EQ(-1, m_clavio->GetBytesPerField());

    // Clips of 29.97 and 25 frames/s: a warning in comparison view only.
    DvClip ntsc(*m_folder, "n.avi", 8), pal(*m_folder, "p.avi", 8, true);
    CClip* N = NewClip(ntsc, 8);
    CClip* P = NewClip(pal, 8);
    theApp.m_boxes.clear();
    ASSERT_TRUE(m_clavio->LoadClip(N));
    m_clavio->SelectOtherChannel();
    m_clavio->SetSingleView();
    ASSERT_TRUE(m_clavio->LoadClip(P));
    EXPECT_FALSE(theApp.Saw("different display rates"));
    m_clavio->SetComparisonView(FALSE);
    ASSERT_TRUE(m_clavio->LoadClip(P));
    EXPECT_TRUE(theApp.Saw("different display rates"));
}
