// Files: CFile on disk (modes, sharing, errors, status), memory files, global-memory files,
// text files and file searches.
#include "afxcoll.h"
#include "gtest_wine.h"

#include <set>
#include <string>

namespace {

class FileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char szTemp[MAX_PATH], szName[MAX_PATH];
    GetTempPathA(MAX_PATH, szTemp);
    GetTempFileNameA(szTemp, "mfc", 0, szName);
    DeleteFileA(szName);
    ASSERT_TRUE(CreateDirectoryA(szName, NULL));
    m_dir = szName;
  }
  void TearDown() override {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((m_dir + "\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        std::string p = m_dir + "\\" + fd.cFileName;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
          if (fd.cFileName[0] != '.') RemoveDirectoryA(p.c_str());
        } else {
          SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL);
          DeleteFileA(p.c_str());
        }
      } while (FindNextFileA(h, &fd));
      FindClose(h);
    }
    RemoveDirectoryA(m_dir.c_str());
  }
  CString Path(const char* name) const { return CString(m_dir.c_str()) + "\\" + name; }
  static std::string Contents(CFile& f) {
    std::string s(f.GetLength(), '\0');
    f.SeekToBegin();
    if (!s.empty()) f.Read(&s[0], (UINT)s.size());
    return s;
  }
  std::string m_dir;
};

int CauseOf(const std::function<void()>& f) {
  try {
    f();
  } catch (CFileException* e) {
    int cause = e->m_cause;
    e->Delete();
    return cause;
  }
  return -1;
}

TEST_F(FileTest, OpenModesAndErrors) {
  CFile f;
  CFileException e;
  EXPECT_FALSE(f.Open(Path("missing.bin"), CFile::modeRead, &e));
  EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, (DWORD)e.m_lOsError);
  EXPECT_EQ(CFileException::badPath,
            CauseOf([&] { CFile g(Path("no\\such\\dir\\x.bin"), CFile::modeRead); }));

  ASSERT_TRUE(f.Open(Path("data.bin"), CFile::modeCreate | CFile::modeReadWrite));
  f.Write("hello world", 11);
  EXPECT_EQ(11u, f.GetLength());
  EXPECT_EQ(11u, f.GetPosition());
  EXPECT_EQ(6, f.Seek(-5, CFile::current));
  char buf[16] = {};
  EXPECT_EQ(5u, f.Read(buf, 10));
  EXPECT_STREQ("world", buf);
  EXPECT_EQ(0u, f.Read(buf, 10));  // at the end: nothing, no error
  EXPECT_EQ(CFileException::badSeek, CauseOf([&] { f.Seek(-100, CFile::begin); }));
  f.SetLength(5);
  EXPECT_EQ("hello", Contents(f));
  f.SetLength(8);
  EXPECT_EQ(std::string("hello\0\0\0", 8), Contents(f));
  EXPECT_STREQ("data.bin", f.GetFileName());
  EXPECT_STREQ("data", f.GetFileTitle());
  EXPECT_EQ(0, f.GetFilePath().CompareNoCase(Path("data.bin")));
  f.Close();

  // modeNoTruncate keeps what is there; modeCreate alone empties it.
  ASSERT_TRUE(f.Open(Path("data.bin"), CFile::modeCreate | CFile::modeNoTruncate |
                                           CFile::modeReadWrite));
  EXPECT_EQ(8u, f.GetLength());
  f.Close();
  ASSERT_TRUE(f.Open(Path("data.bin"), CFile::modeCreate | CFile::modeWrite));
  EXPECT_EQ(0u, f.GetLength());
  f.Close();

  // A read-only file refuses writing.
  ASSERT_TRUE(f.Open(Path("data.bin"), CFile::modeRead));
  EXPECT_NE(-1, CauseOf([&] { f.Write("x", 1); }));
}

TEST_F(FileTest, SharingDuplicatesAndStatus) {
  CFile writer(Path("shared.bin"), CFile::modeCreate | CFile::modeReadWrite |
                                       CFile::shareDenyWrite);
  writer.Write("abcdef", 6);
  CFile other;
  CFileException e;
  EXPECT_FALSE(other.Open(Path("shared.bin"), CFile::modeWrite | CFile::shareDenyNone, &e));
  EXPECT_EQ(CFileException::sharingViolation, e.m_cause);

  CFile* pDup = writer.Duplicate();
  pDup->SeekToBegin();
  EXPECT_EQ(0u, writer.GetPosition());  // one file object, one position
  delete pDup;

  CFileStatus status;
  ASSERT_TRUE(writer.GetStatus(status));
  EXPECT_EQ(6, status.m_size);
  CTime now = CTime::GetCurrentTime();
  EXPECT_LE((now - status.m_mtime).GetTotalSeconds(), 120);
  writer.Close();

  ASSERT_TRUE(CFile::GetStatus(Path("shared.bin"), status));
  EXPECT_EQ(6, status.m_size);
  EXPECT_EQ(0, status.m_attribute & CFile::directory);
  EXPECT_FALSE(CFile::GetStatus(Path("none.bin"), status));
  ASSERT_TRUE(CFile::GetStatus(CString(m_dir.c_str()), status));
  EXPECT_NE(0, status.m_attribute & CFile::directory);

  CFile::Rename(Path("shared.bin"), Path("renamed.bin"));
  EXPECT_TRUE(CFile::GetStatus(Path("renamed.bin"), status));
  EXPECT_EQ(CFileException::fileNotFound, CauseOf([&] { CFile::Remove(Path("shared.bin")); }));
  CFile::Remove(Path("renamed.bin"));
  EXPECT_FALSE(CFile::GetStatus(Path("renamed.bin"), status));

  EXPECT_EQ(CFileException::accessDenied, CFileException::OsErrorToException(ERROR_ACCESS_DENIED));
  EXPECT_EQ(CFileException::diskFull, CFileException::OsErrorToException(ERROR_DISK_FULL));
  EXPECT_EQ(CFileException::generic, CFileException::OsErrorToException(123456));
}

// Exposes the buffer size of a memory file.
struct CProbeMemFile : public CMemFile {
  using CMemFile::CMemFile;
  DWORD BufferSize() const { return m_nBufferSize; }
};

TEST(MemFile, GrowthAttachAndDetach) {
  CProbeMemFile f;
  f.Write("x", 1);
  EXPECT_EQ(1024u, f.BufferSize());
  BYTE block[1100] = {};
  f.Write(block, sizeof(block));
  EXPECT_EQ(2048u, f.BufferSize());
  EXPECT_EQ(1101u, f.GetLength());

  CProbeMemFile g(100);
  g.Write(block, 150);
  EXPECT_EQ(200u, g.BufferSize());
  // A seek past the end, then a write: the gap reads as zeros.
  g.Seek(10, CFile::end);
  g.Write("z", 1);
  EXPECT_EQ(161u, g.GetLength());
  BYTE back[12];
  g.Seek(150, CFile::begin);
  EXPECT_EQ(11u, g.Read(back, sizeof(back)));
  EXPECT_EQ(0, back[5]);
  EXPECT_EQ('z', back[10]);
  EXPECT_THROW(g.Seek(-1, CFile::begin), CFileException*);

  // The caller's buffer, fixed in size.
  BYTE mine[4] = {1, 2, 3, 4};
  CMemFile fixed(mine, sizeof(mine));
  EXPECT_EQ(4u, fixed.GetLength());
  BYTE b;
  fixed.Read(&b, 1);
  EXPECT_EQ(1, b);
  fixed.Write("\x09", 1);
  EXPECT_EQ(9, mine[1]);
  fixed.SeekToEnd();
  EXPECT_THROW(fixed.Write("!", 1), CMemoryException*);
  EXPECT_EQ(mine, fixed.Detach());
  EXPECT_EQ(0u, fixed.GetLength());

  // A caller's buffer that may grow starts empty; detached memory belongs to the caller.
  CMemFile growing;
  BYTE* pStart = (BYTE*)malloc(8);
  growing.Attach(pStart, 8, 16);
  EXPECT_EQ(0u, growing.GetLength());
  growing.Write(block, 20);
  BYTE* pOut = growing.Detach();
  ASSERT_NE(nullptr, pOut);
  free(pOut);
}

TEST(SharedFile, GlobalMemoryRoundTrip) {
  CSharedFile f;
  f.Write("clipboard", 9);
  HGLOBAL h = f.Detach();
  ASSERT_NE(nullptr, h);
  EXPECT_EQ(0u, f.GetLength());
  ASSERT_GE(GlobalSize(h), 9u);
  char* p = (char*)GlobalLock(h);
  EXPECT_EQ(0, memcmp(p, "clipboard", 9));
  GlobalUnlock(h);

  CSharedFile reader;
  reader.SetHandle(h, FALSE);
  char buf[9];
  EXPECT_EQ(9u, reader.Read(buf, 9));
  EXPECT_EQ(0, memcmp(buf, "clipboard", 9));
  reader.SeekToEnd();
  EXPECT_THROW(reader.Write(buf, 9), CMemoryException*);  // not allowed to grow
  EXPECT_EQ(h, reader.Detach());
  GlobalFree(h);
}

TEST_F(FileTest, TextLines) {
  {
    CStdioFile f(Path("lines.txt"), CFile::modeCreate | CFile::modeWrite | CFile::typeText);
    f.WriteString("first\nsecond line\n");
    f.WriteString("last without newline");
  }
  CFile raw(Path("lines.txt"), CFile::modeRead);
  EXPECT_EQ("first\r\nsecond line\r\nlast without newline", Contents(raw));
  raw.Close();

  CStdioFile f(Path("lines.txt"), CFile::modeRead | CFile::typeText);
  CString line;
  EXPECT_TRUE(f.ReadString(line));
  EXPECT_STREQ("first", line);
  char sz[64];
  EXPECT_STREQ("second line\n", f.ReadString(sz, sizeof(sz)));
  EXPECT_TRUE(f.ReadString(line));
  EXPECT_STREQ("last without newline", line);
  EXPECT_FALSE(f.ReadString(line));
  EXPECT_EQ(nullptr, f.ReadString(sz, sizeof(sz)));
  f.Close();

  CStdioFile bin(Path("bin.txt"), CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
  bin.WriteString("a\nb");
  EXPECT_EQ(3u, bin.GetLength());
}

TEST_F(FileTest, ArchiveOnDiskFile) {
  CStringArray strings;
  for (int i = 0; i < 300; i++) strings.Add(CString('a' + i % 26, i));
  {
    CFile f(Path("archive.bin"), CFile::modeCreate | CFile::modeWrite);
    CArchive ar(&f, CArchive::store, 128);  // a small buffer: many refills
    strings.Serialize(ar);
    ar << (DWORD)0xC0FFEE;
    ar.Close();
  }
  CFile f(Path("archive.bin"), CFile::modeRead);
  {
    CArchive ar(&f, CArchive::load, 128);
    CStringArray back;
    back.Serialize(ar);
    DWORD dw;
    ar >> dw;
    ASSERT_EQ(300, back.GetSize());
    EXPECT_TRUE(back[299] == strings[299]);
    EXPECT_EQ(0xC0FFEEu, dw);
  }
  DWORD nLength = f.GetLength();
  f.Close();

  // The same file cut short: reading reports the end, and the archive names the file.
  CFile cut(Path("archive.bin"), CFile::modeReadWrite);
  cut.SetLength(nLength / 2);
  cut.SeekToBegin();
  CArchive ar(&cut, CArchive::load, 128);
  CStringArray partial;
  try {
    partial.Serialize(ar);
    ADD_FAILURE();
  } catch (CArchiveException* e) {
    EXPECT_EQ(CArchiveException::endOfFile, e->m_cause);
    EXPECT_EQ(0, e->m_strFileName.CompareNoCase(Path("archive.bin")));
    char sz[512];
    EXPECT_TRUE(e->GetErrorMessage(sz, sizeof(sz)));
    EXPECT_NE(nullptr, strstr(sz, "archive.bin"));
    e->Delete();
  }
}

TEST_F(FileTest, FindFiles) {
  for (const char* name : {"one.txt", "two.txt", "other.dat"}) {
    CFile f(Path(name), CFile::modeCreate | CFile::modeWrite);
    f.Write("12", 2);
  }
  CreateDirectoryA(Path("sub"), NULL);

  CFileFind finder;
  std::set<std::string> found;
  BOOL bMore = finder.FindFile(Path("*.txt"));
  while (bMore) {
    bMore = finder.FindNextFile();
    found.insert((LPCSTR)finder.GetFileName());
    EXPECT_EQ(0, finder.GetFilePath().CompareNoCase(Path(finder.GetFileName())));
    EXPECT_EQ(2u, finder.GetLength());
    EXPECT_FALSE(finder.IsDirectory());
    EXPECT_STREQ(finder.GetFileName().Left(3), finder.GetFileTitle());
  }
  EXPECT_EQ((std::set<std::string>{"one.txt", "two.txt"}), found);

  int nDirs = 0, nDots = 0;
  bMore = finder.FindFile(Path("*"));
  while (bMore) {
    bMore = finder.FindNextFile();
    if (finder.IsDots())
      nDots++;
    else if (finder.IsDirectory())
      nDirs++;
  }
  EXPECT_EQ(1, nDirs);
  EXPECT_EQ(2, nDots);
  EXPECT_FALSE(finder.FindFile(Path("*.none")));
  EXPECT_FALSE(finder.FindNextFile());
}

}  // namespace
