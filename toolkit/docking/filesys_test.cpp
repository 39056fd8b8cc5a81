// The file-system utility class on a temporary folder: path strings, filters, folder trees
// with links that loop or lead out, copies, comparisons, drives and sizes.
#include "gtest_wine.h"
#include "filesys.h"
#include <fcntl.h>
#include <memory>
#include <set>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::set<std::string> Names(CStringList* pList)
{
    std::unique_ptr<CStringList> owned(pList);
    std::set<std::string> names;
    for (POSITION pos = pList->GetHeadPosition(); pos != NULL;)
        names.insert((LPCTSTR)pList->GetNext(pos));
    return names;
}

// A temporary folder, by its Unix and its Windows path, removed with everything in it.
class FileSystemTest : public testing::Test {
protected:
    std::string unixDir;
    CString dir;
    SECFileSystem fs;

    void SetUp() override
    {
        char tmpl[] = "/tmp/secfs_XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(tmpl));
        unixDir = tmpl;
        dir = WinePath(unixDir).c_str();
    }
    void TearDown() override
    {
        std::string cmd = "rm -rf '" + unixDir + "'";
        ASSERT_EQ(0, system(cmd.c_str()));
    }
    void Write(const std::string& rel, const std::string& text)
    {
        FILE* f = fopen((unixDir + "/" + rel).c_str(), "wb");
        ASSERT_NE(nullptr, f);
        fwrite(text.data(), 1, text.size(), f);
        fclose(f);
    }
    std::string Read(const std::string& rel)
    {
        std::string text;
        FILE* f = fopen((unixDir + "/" + rel).c_str(), "rb");
        if (f == nullptr)
            return "<missing>";
        char buf[256];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, f)) > 0)
            text.append(buf, n);
        fclose(f);
        return text;
    }
    void Mkdir(const std::string& rel) { ASSERT_EQ(0, mkdir((unixDir + "/" + rel).c_str(), 0755)); }
    CString Win(const std::string& rel) { return SECFileSystem::JoinPath(dir, rel.c_str()); }
};

TEST(FileSystemPaths, SplitAndJoin)
{
    struct Case {
        const char* path;
        const char* name;
        const char* folder;
        const char* folderNoDrive;
        const char* ext;
        const char* base;
        const char* drive;
    } cases[] = {
        {"c:\\x\\a.b.txt", "a.b.txt", "c:\\x\\", "\\x\\", "txt", "a.b", "c:\\"},
        {"c:x", "c:x", "", "", "", "c:x", "c:"},
        {"\\\\server\\share\\f", "f", "\\\\server\\share\\", "\\\\server\\share\\", "", "f", ""},
        {"d:\\.profile", ".profile", "d:\\", "\\", "", "", "d:\\"},
        {"c:\\v1.2\\readme", "readme", "c:\\v1.2\\", "\\v1.2\\", "", "readme", "c:\\"},
        {"name.", "name.", "", "", "", "name", ""},
        {"plain", "plain", "", "", "", "plain", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_STREQ(c.name, SECFileSystem::FileNameOfPath(c.path));
        EXPECT_STREQ(c.folder, SECFileSystem::FolderOfPath(c.path));
        EXPECT_STREQ(c.folderNoDrive, SECFileSystem::FolderOfPath(c.path, FALSE));
        EXPECT_STREQ(c.ext, SECFileSystem::ExtensionOfPath(c.path));
        EXPECT_STREQ(c.base, SECFileSystem::BaseNameOfPath(c.path));
        EXPECT_STREQ(c.drive, SECFileSystem::DriveOfPath(c.path));
    }
    EXPECT_STREQ("a\\b", SECFileSystem::JoinPath("a", "b"));
    EXPECT_STREQ("a\\b", SECFileSystem::JoinPath("a\\", "b"));
    EXPECT_STREQ("b", SECFileSystem::JoinPath("", "b"));

    CStringList list;
    for (const char* s : {"beta", "Alpha", "alpha", "Gamma"})
        list.AddTail(s);
    auto sorted = [&](BOOL bCase) {
        SECFileSystem::SortNames(&list, bCase);
        CString joined;
        for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
            joined += list.GetNext(pos) + " ";
        return joined;
    };
    EXPECT_STREQ("Alpha Gamma alpha beta ", sorted(TRUE));
    CString folded = sorted(FALSE);
    folded.MakeLower();
    EXPECT_STREQ("alpha alpha beta gamma ", folded);
}

TEST_F(FileSystemTest, FilterZeroPassesPlainFilesOnly)
{
    Write("plain.txt", "p");
    Write("ro.txt", "r");
    chmod((unixDir + "/ro.txt").c_str(), 0444);
    Write(".hidden", "h");  // dot files are hidden
    Mkdir("sub");
    BYTE attr = 0;
    ASSERT_TRUE(fs.FileAttributes(Win("ro.txt"), attr));
    EXPECT_TRUE(attr & CFile::readOnly);

    EXPECT_EQ((std::set<std::string>{(LPCTSTR)Win("plain.txt"), (LPCTSTR)Win("ro.txt")}),
              Names(fs.ListFiles(Win("*.*"), 0)));
    EXPECT_EQ((std::set<std::string>{(LPCTSTR)Win("sub")}),
              Names(fs.ListFiles(Win("*.*"), FILE_ATTRIBUTE_DIRECTORY)));
    std::set<std::string> any = Names(fs.ListFolderEntries(Win("*"), SECFS_ANY));
    EXPECT_EQ(4u, any.size());  // no "." or ".."
    EXPECT_TRUE(any.count((LPCTSTR)Win(".hidden")));
    std::unique_ptr<CString> first(fs.FindFirstEntry(Win("*.txt"), 0));
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(*first == "plain.txt" || *first == "ro.txt");
    EXPECT_EQ(nullptr, fs.FindFirstEntry(Win("*.none"), SECFS_ANY));
    EXPECT_EQ((std::set<std::string>{(LPCTSTR)Win("sub")}), Names(fs.ListSubfolders(dir, TRUE)));
    EXPECT_EQ((std::set<std::string>{"sub"}), Names(fs.ListSubfolders(dir, FALSE)));
    EXPECT_TRUE(fs.IsFolder(Win("sub")));
    EXPECT_FALSE(fs.IsFolder(Win("plain.txt")));
    EXPECT_TRUE(fs.FileExists(Win("plain.txt")));
    EXPECT_FALSE(fs.FileExists(Win("gone.txt")));
    CTime t;
    EXPECT_FALSE(fs.FileModified(Win("gone.txt"), t));
    EXPECT_TRUE(fs.FileModified(Win("plain.txt"), t));
}

TEST_F(FileSystemTest, FolderTreesAreMadeOnceAndRemovedWhole)
{
    CString deep = Win("a\\b");
    EXPECT_TRUE(fs.CreateFolderTree(deep));
    EXPECT_TRUE(fs.IsFolder(Win("a")));
    EXPECT_TRUE(fs.IsFolder(deep));
    EXPECT_FALSE(fs.CreateFolderTree(deep + "\\"));  // the deepest one exists already
    EXPECT_FALSE(fs.CreateFolderTree(""));

    Write("a/one.txt", "1");
    Write("a/b/two.txt", "22");
    EXPECT_FALSE(fs.RemoveFolder(Win("a")));  // not empty, not recursive
    EXPECT_EQ(3u, fs.FolderSize(Win("a"), "*.*", TRUE));
    EXPECT_EQ(1u, fs.FolderSize(Win("a"), "*.*", FALSE));
    EXPECT_TRUE(fs.RemoveFolder(Win("a"), TRUE));
    EXPECT_FALSE(fs.FileExists(Win("a")));
}

// A link back to an ancestor and one to a folder outside: walks neither loop nor leave the
// tree, and removing the tree removes the links, never what they point at.
TEST_F(FileSystemTest, WalksNeverEnterFolderLinks)
{
    Mkdir("tree");
    Mkdir("tree/sub");
    Mkdir("outside");
    Write("tree/sub/in.txt", "inside");
    Write("outside/keep.txt", "precious");
    ASSERT_EQ(0, symlink((unixDir + "/tree").c_str(), (unixDir + "/tree/sub/loop").c_str()));
    ASSERT_EQ(0, symlink((unixDir + "/outside").c_str(), (unixDir + "/tree/out").c_str()));
    DWORD attr = ::GetFileAttributesA(Win("tree\\out"));
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attr);
    EXPECT_EQ((DWORD)(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
              attr & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));

    EXPECT_EQ((std::set<std::string>{(LPCTSTR)Win("tree\\sub\\in.txt")}),
              Names(fs.ListFiles(Win("tree\\*.txt"), 0, TRUE)));
    EXPECT_EQ(6u, fs.FolderSize(Win("tree"), "*.txt", TRUE));
    // Listing shows the links as folders; only the walks keep out of them.
    EXPECT_EQ((std::set<std::string>{"out", "sub"}), Names(fs.ListSubfolders(Win("tree"), FALSE)));

    EXPECT_TRUE(fs.RemoveFolder(Win("tree"), TRUE));
    struct stat st;
    EXPECT_NE(0, lstat((unixDir + "/tree").c_str(), &st));
    EXPECT_EQ("precious", Read("outside/keep.txt"));
}

TEST_F(FileSystemTest, CopiesNeverOverwriteAndCompareByContent)
{
    std::string big(25000, 'x');
    big[24999] = 'y';
    Write("src.bin", big);
    Write("taken.bin", "mine");
    EXPECT_FALSE(fs.CopyOneFile(Win("src.bin"), Win("taken.bin")));
    EXPECT_EQ("mine", Read("taken.bin"));
    EXPECT_FALSE(fs.CopyOneFile(Win("missing.bin"), Win("new.bin")));
    EXPECT_EQ("<missing>", Read("new.bin"));
    EXPECT_FALSE(fs.CopyOneFile(Win("src.bin"), Win("new.bin"), 0));
    // A source that opens but cannot be read (the process's memory at address 0): a failed
    // copy, with no partial target left behind.
    CFile mem;
    ASSERT_TRUE(mem.Open("Z:\\proc\\self\\mem", CFile::modeRead | CFile::shareDenyWrite));
    mem.Close();
    EXPECT_FALSE(fs.CopyOneFile("Z:\\proc\\self\\mem", Win("new.bin")));
    EXPECT_EQ("<missing>", Read("new.bin"));

    EXPECT_TRUE(fs.CopyOneFile(Win("src.bin"), Win("copy.bin"), 4096));  // several blocks
    EXPECT_EQ(big, Read("copy.bin"));
    EXPECT_TRUE(fs.SameContents(Win("src.bin"), Win("copy.bin"), 1000));
    EXPECT_FALSE(fs.SameContents(Win("src.bin"), Win("taken.bin")));
    big[0] = 'z';
    Write("copy.bin", big);
    EXPECT_FALSE(fs.SameContents(Win("src.bin"), Win("copy.bin")));

    // Folders compared by their listings, and by content.
    Mkdir("one");
    Mkdir("two");
    for (const char* d : {"one", "two"}) {
        Write(std::string(d) + "/a.txt", "same");
        Write(std::string(d) + "/b.txt", d);
    }
    EXPECT_TRUE(fs.SameFolders(Win("one\\*.txt"), Win("two\\*.txt")));
    EXPECT_FALSE(fs.SameFolders(Win("one\\*.txt"), Win("two\\*.txt"), FALSE, TRUE));
    EXPECT_TRUE(fs.SameFolders(Win("one\\a.txt"), Win("two\\a.txt"), FALSE, TRUE));
    Write("two/c.txt", "extra");
    EXPECT_FALSE(fs.SameFolders(Win("one\\*.txt"), Win("two\\*.txt")));
    EXPECT_FALSE(fs.SameFolders(Win("none\\*.txt"), Win("two\\*.txt")));

    Mkdir("three");
    EXPECT_TRUE(fs.CopyMatchingFiles(Win("one\\*.txt"), Win("three")));
    EXPECT_EQ("one", Read("three/b.txt"));
    EXPECT_FALSE(fs.CopyMatchingFiles(Win("two\\*.txt"), Win("three"), TRUE));
    EXPECT_EQ("extra", Read("three/c.txt"));  // went on after the refused ones
    EXPECT_TRUE(fs.DeleteMatchingFiles(Win("three\\*.txt")));
    EXPECT_TRUE(fs.RemoveFolder(Win("three")));

    EXPECT_TRUE(fs.RenameFileIfFree(Win("src.bin"), Win("src.bin")));
    EXPECT_FALSE(fs.RenameFileIfFree(Win("src.bin"), Win("taken.bin")));
    EXPECT_FALSE(fs.RenameFileIfFree(Win("gone.bin"), Win("new.bin")));
    EXPECT_TRUE(fs.RenameFileIfFree(Win("src.bin"), Win("moved.bin")));
    EXPECT_EQ(big.substr(1), Read("moved.bin").substr(1));
    EXPECT_FALSE(fs.RenameFolderIfFree(Win("one"), Win("two")));
    EXPECT_TRUE(fs.RenameFolderIfFree(Win("one"), Win("uno")));
    EXPECT_TRUE(fs.IsFolder(Win("uno")));
    EXPECT_TRUE(fs.DeleteOneFile(Win("moved.bin")));
    EXPECT_FALSE(fs.DeleteOneFile(Win("moved.bin")));
}

TEST_F(FileSystemTest, SizesBeyondFourGigabytes)
{
    int fd = open((unixDir + "/large.bin").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    const ULONGLONG size = 5ULL << 30;  // sparse: takes no room
    ASSERT_EQ(0, ftruncate(fd, (off_t)size));
    close(fd);
    ULONGLONG got = 0;
    ASSERT_TRUE(fs.FileLength(Win("large.bin"), got));
    EXPECT_EQ(size, got);
    Write("small.bin", "12345");
    EXPECT_EQ(size + 5, fs.FolderSize(dir, "*.bin"));
    EXPECT_FALSE(fs.FileLength(Win("none.bin"), got));

    LONGLONG total = fs.TotalBytes("z:\\");
    LONGLONG free = fs.FreeBytes("z:\\");
    EXPECT_GT(free, 0);
    EXPECT_GE(total, free);
    EXPECT_GT(total, 0xFFFFFFFFLL);  // this machine's disk is larger than 4 GiB
    EXPECT_EQ(-1, fs.FreeBytes("q:\\"));
    EXPECT_EQ(-1, fs.TotalBytes("q:\\"));
}

TEST_F(FileSystemTest, FoldersAndDrives)
{
    Mkdir("inner");
    CString home = fs.CurrentFolderOf("");
    ASSERT_FALSE(home.IsEmpty());
    // The folder of a path, with the current folder left as it was.
    CString inner = fs.CurrentFolderOf(Win("inner"));
    EXPECT_EQ(0, lstrcmpiA(Win("inner"), inner));
    EXPECT_STREQ(home, fs.CurrentFolderOf(""));
    EXPECT_STREQ("", fs.CurrentFolderOf(Win("missing")));
    EXPECT_STREQ(home, fs.CurrentFolderOf(""));

    EXPECT_TRUE(fs.ChangeFolder(dir));
    EXPECT_STREQ("z:\\", fs.CurrentDriveRoot());
    EXPECT_EQ(0, lstrcmpiA(Win("inner"), fs.FullPath("inner")));
    EXPECT_TRUE(fs.SelectDrive('c'));
    EXPECT_STREQ("c:\\", fs.CurrentDriveRoot());
    for (char bad : {'[', '@', '1', '\0'})
        EXPECT_FALSE(fs.SelectDrive(bad)) << (int)bad;
    EXPECT_TRUE(fs.ChangeFolder(home));

    std::set<std::string> drives = Names(fs.ListDrives());
    EXPECT_TRUE(drives.count("c:\\"));
    EXPECT_TRUE(drives.count("z:\\"));
    EXPECT_TRUE(fs.DriveExists("Z:\\"));
    EXPECT_FALSE(fs.DriveExists("q:\\"));
    EXPECT_EQ((UINT)DRIVE_NO_ROOT_DIR, fs.DriveKind("q:\\"));
    EXPECT_STREQ("", fs.VolumeLabel("q:\\"));

    // The write test uses a file of its own: a user's file of any name is left alone.
    Write("xxxxtest.999", "user data");
    EXPECT_FALSE(fs.IsWriteProtected(dir));
    EXPECT_EQ("user data", Read("xxxxtest.999"));
    EXPECT_EQ(2u, Names(fs.ListFolderEntries(Win("*"), SECFS_ANY)).size());  // nothing left over
    EXPECT_TRUE(fs.IsWriteProtected(Win("missing")));
}

}  // namespace
