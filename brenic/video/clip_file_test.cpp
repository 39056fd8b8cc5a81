// Clip files (".kpx"): the bytes the writer produces, and the reader over sound, old and
// damaged files. With QUORVEL_KPX_CORPUS set to a folder, the reader also runs over every
// file in it (the fuzz run's corpus, for a run under AddressSanitizer).
#include "clip_fixture.h"
#include "KpxFormat.h"
#include <cstdlib>

namespace {

std::string Header(uint32_t magic, uint32_t version, uint32_t offset, uint32_t end,
                   uint32_t voice = 0)
{
    kpx::Header h;
    h.magic = magic;
    h.version = version;
    h.dbOffset = offset;
    h.dbEnd = end;
    h.voiceOverSize = voice;
    uint8_t bytes[kpx::kHeaderSize];
    kpx::EncodeHeader(h, bytes);
    return std::string((const char*)bytes, sizeof bytes);
}

uint32_t U32(const std::string& bytes, size_t at)
{
    return (uint8_t)bytes[at] | (uint8_t)bytes[at + 1] << 8 | (uint8_t)bytes[at + 2] << 16 |
           (uint32_t)(uint8_t)bytes[at + 3] << 24;
}

} // namespace

TEST_F(ClipFolder, WrittenClipFileCarriesHeaderDatabaseAndVideo)
{
    const std::string video(700000, 'v');  // more than one copy block
    CClip* clip = NewCapture("CAP20.avi", video);
    clip->m_nSoundMarkField = 50;
    clip->PlaceTabsAroundImpact();
    const CString temp = CClip::GetTempFolder();
    const CString copy = temp + "sendtmp.avi";
    ASSERT_TRUE(CopyFileA(clip->m_strVideoPath, copy, FALSE));
    const CString target = m_dir + "Sam O'Brien.kpx";
    ASSERT_TRUE(clip->PackClipFile(target, copy, NULL, FALSE, FALSE));
    for (const std::string& shown : m_answers.Shown())
        ADD_FAILURE() << shown;

    const std::string bytes = ReadBytes(target);
    ASSERT_GT(bytes.size(), 20u + video.size());
    EXPECT_EQ(std::string("\xDD\xCC\xBB\xAA\x02\0\0\0\x14\0\0\0", 12), bytes.substr(0, 12));
    const uint32_t end = U32(bytes, 12);
    EXPECT_EQ(0u, U32(bytes, 16));
    EXPECT_EQ(bytes.size(), end + video.size());
    EXPECT_EQ(video, bytes.substr(end));
    EXPECT_EQ("SQLite format 3", bytes.substr(20, 15));
    // The working files and the caller's copy are gone.
    EXPECT_FALSE(Exists(temp + "kpx.mdb"));
    EXPECT_FALSE(Exists(temp + "clip.avi"));
    EXPECT_FALSE(Exists(copy));

    // Read back: the database names the video "clip.avi" and holds the clip as it is.
    ASSERT_TRUE(CClip::UnpackClipFile(target, FALSE));
    EXPECT_EQ(video, ReadBytes(temp + "clip.avi"));
    {
        CDaoDatabase db;
        db.Open(temp + "kpx.mdb", FALSE, TRUE, "", dbOutsideFile);
        CClipRecord rs(&db);
        rs.Open(dbOpenDynaset, "SELECT * FROM [VideoClip]");
        ASSERT_FALSE(rs.IsEOF());
        EXPECT_STREQ("clip.avi", rs.m_VideoClipFileName);
        EXPECT_STREQ(clip->m_strGlobalID, rs.m_GlobalID);
        // An unsaved clip goes with its own tabs.
        EXPECT_STREQ(clip->m_strTabString, rs.m_TabString);
        CPeopleRecord people(&db);
        people.Open(dbOpenDynaset, "SELECT * FROM [Person]");
        ASSERT_TRUE(people.FindFirst("[ID] = ?", CDaoParams().Add(COleVariant(rs.m_PersonID))));
        EXPECT_STREQ("O'Brien", people.m_LastName);
        rs.Close();
        people.Close();
    }
    // The clip keeps its own identity in the main database.
    EXPECT_EQ(-1, clip->m_nPersonID);
    EXPECT_STREQ(m_capture + "\\CAP20.avi", clip->m_strVideoPath);
    delete clip;
}

TEST_F(ClipFolder, StaleWorkingDatabaseStopsTheWriter)
{
    CClip* clip = NewCapture("CAP21.avi");
    const CString temp = CClip::GetTempFolder();
    // A working database that cannot be removed (a folder in its place).
    ASSERT_TRUE(CreateDirectoryA(temp + "kpx.mdb", NULL));
    const CString copy = temp + "x.avi";
    CopyFileA(clip->m_strVideoPath, copy, FALSE);
    EXPECT_FALSE(clip->PackClipFile(m_dir + "out.kpx", copy, NULL, FALSE, FALSE));
    EXPECT_TRUE(m_answers.Saw("Could not clean up temp directory."));
    EXPECT_FALSE(Exists(m_dir + "out.kpx"));
    RemoveDirectoryA(temp + "kpx.mdb");

    m_answers.Clear();
    CopyFileA(clip->m_strVideoPath, copy, FALSE);
    EXPECT_FALSE(clip->PackClipFile(m_dir + "no\\such\\out.kpx", copy, NULL, FALSE, FALSE));
    EXPECT_TRUE(m_answers.Saw("Could not create kpx file"));
    delete clip;
}

TEST_F(ClipFolder, ReaderAcceptsSoundFilesAndRefusesDamagedOnes)
{
    const std::string db = "SQLite format 3\0-db-bytes";
    const std::string avi = "RIFF....AVI LIST-video";
    const uint32_t end = 20 + (uint32_t)db.size();
    struct Case {
        const char* name;
        std::string file;
        const char* message;  // NULL: accepted
        std::string dbPart, videoPart;
    } cases[] = {
        {"version 2", Header(kpx::kMagic, 2, 20, end) + db + avi, NULL, db, avi},
        {"version 1, any magic", Header(0x12345678, 1, 20, end) + db + avi, NULL, db, avi},
        {"version 2, magic 0", Header(0, 2, 20, end) + db + avi, "Unsupported format"},
        {"version 3", Header(kpx::kMagic, 3, 20, end) + db + avi, "Unsupported format"},
        {"empty database part", Header(kpx::kMagic, 2, 20, 20) + avi, NULL, "", avi},
        {"end below offset", Header(kpx::kMagic, 2, 20, 10) + db + avi, "corrupt"},
        {"end past the file", Header(kpx::kMagic, 2, 20, end + 4000) + db + avi, "corrupt"},
        {"header cut short", Header(kpx::kMagic, 2, 20, end).substr(0, 12), "corrupt"},
        {"voice-over", Header(kpx::kMagic, 2, 20, end, 8) + db + avi, "voice over"},
    };
    const CString temp = CClip::GetTempFolder();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_answers.Clear();
        WriteBytes(temp + "kpx.mdb", "stale");
        WriteBytes(temp + "clip.avi", "stale");
        const CString path = m_dir + "in.kpx";
        WriteBytes(path, c.file);
        const BYTE ok = CClip::UnpackClipFile(path, FALSE);
        if (!c.message) {
            EXPECT_TRUE(ok);
            EXPECT_EQ(0u, m_answers.Count());
            EXPECT_EQ(c.dbPart, ReadBytes(temp + "kpx.mdb"));
            EXPECT_EQ(c.videoPart, ReadBytes(temp + "clip.avi"));
        } else {
            EXPECT_FALSE(ok);
            EXPECT_TRUE(m_answers.Saw(c.message));
            // Nothing half-extracted is left; older files of the folder are not taken for
            // this file's parts.
            EXPECT_NE(c.dbPart.empty() ? "x" : c.dbPart, ReadBytes(temp + "kpx.mdb"));
        }
    }

    // Unpacking twice replaces the first run's files; a partner goes to its own names.
    const CString path = m_dir + "twice.kpx";
    WriteBytes(path, Header(kpx::kMagic, 2, 20, end) + db + avi);
    ASSERT_TRUE(CClip::UnpackClipFile(path, FALSE));
    WriteBytes(path, Header(kpx::kMagic, 2, 20, 20) + "second");
    ASSERT_TRUE(CClip::UnpackClipFile(path, FALSE));
    EXPECT_EQ("", ReadBytes(temp + "kpx.mdb"));
    EXPECT_EQ("second", ReadBytes(temp + "clip.avi"));
    ASSERT_TRUE(CClip::UnpackClipFile(path, TRUE));
    EXPECT_EQ("second", ReadBytes(temp + "comp.avi"));
    EXPECT_EQ("", ReadBytes(temp + "kpxcomp.mdb"));

    m_answers.Clear();
    EXPECT_FALSE(CClip::UnpackClipFile(m_dir + "missing.kpx", FALSE));
    EXPECT_TRUE(m_answers.Saw("Could not open .kpx file"));
}

TEST_F(ClipFolder, ReaderOverTheFuzzCorpus)
{
    const char* corpus = getenv("QUORVEL_KPX_CORPUS");
    if (!corpus)
        GTEST_SKIP() << "QUORVEL_KPX_CORPUS is not set";
    CString folder = corpus;
    if (folder.Find(':') < 0 && folder[0] == '/')
        folder = "Z:" + folder;
    folder.Replace('/', '\\');
    int files = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(folder + "\\*", &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, find);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        const CString path = folder + "\\" + found.cFileName;
        const std::string bytes = ReadBytes(path);
        const BYTE ok = CClip::UnpackClipFile(path, FALSE);
        if (ok) {
            const CString temp = CClip::GetTempFolder();
            EXPECT_EQ(bytes.size(), 20 + ReadBytes(temp + "kpx.mdb").size() +
                                        ReadBytes(temp + "clip.avi").size())
                << found.cFileName;
        }
        ++files;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    printf("read %d corpus files\n", files);
}
