// The video help dialogs with the viewer, the file prompts and the copy step replaced:
// command lines, start-up mode, the locate prompt and the copy of the help files.
#include "options_test_support.h"
#include <sys/stat.h>
#include <deque>
#include "../video/video_test_support.h"
#include "LaunchHelpDlg.h"
#include "resource.h"

namespace {

COptionsTestApp theApp;

struct Started
{
    std::string application, commandLine, folder;
};

class FakeActions : public CHelpActions
{
public:
    BOOL StartProcess(const CString& application, const CString& commandLine,
                      const CString& folder) override
    {
        started.push_back({(LPCTSTR)application, (LPCTSTR)commandLine, (LPCTSTR)folder});
        return startSucceeds;
    }
    void Exec(const CString& commandLine) override
    {
        char current[MAX_PATH] = "";
        GetCurrentDirectoryA(sizeof current, current);
        execs.push_back((LPCTSTR)commandLine);
        execFolders.push_back(current);
    }
    BOOL PromptForFile(BOOL save, const CString& title, const CString& initialFile,
                       CString& chosen) override
    {
        prompts.push_back(std::string(save ? "save|" : "open|") + (LPCTSTR)title + "|" +
                          (LPCTSTR)initialFile);
        if (answers.empty())
            return FALSE;
        chosen = answers.front().c_str();
        answers.pop_front();
        return !chosen.IsEmpty();
    }
    BOOL CopyOneFile(const CString& from, const CString& to) override
    {
        ++copies;
        if (copies == cancelAt)
            ClickProgressCancel();
        if (copies == failAt)
            return FALSE;
        return CHelpActions::CopyOneFile(from, to);
    }

    static BOOL CALLBACK FindProgress(HWND wnd, LPARAM found)
    {
        if (FindWindowExA(wnd, NULL, "msctls_progress32", NULL))
            *(HWND*)found = wnd;
        return TRUE;
    }
    void ClickProgressCancel()
    {
        HWND progress = NULL;
        EnumThreadWindows(GetCurrentThreadId(), FindProgress, (LPARAM)&progress);
        ASSERT_TRUE(progress);
        SendMessageA(progress, WM_COMMAND, MAKEWPARAM(IDC_PROGRESS_CANCEL, BN_CLICKED),
                     (LPARAM)GetDlgItem(progress, IDC_PROGRESS_CANCEL));
    }

    BOOL startSucceeds = TRUE;
    std::vector<Started> started;
    std::vector<std::string> execs, execFolders, prompts;
    std::deque<std::string> answers; // "" answers Cancel
    int copies = 0, cancelAt = 0, failAt = 0;
};

void Touch(const std::string& path, const char* text = "help")
{
    FILE* f = fopen(path.c_str(), "w");
    ASSERT_TRUE(f) << path;
    fputs(text, f);
    fclose(f);
}

class HelpDialogs : public OptionsTest
{
protected:
    void SetUp() override
    {
        OptionsTest::SetUp();
        m_root.reset(new TempFolder("help"));
        SetHelpActions(&m_actions);
        theApp.m_boxes.clear();
    }
    void TearDown() override
    {
        SetHelpActions(NULL);
        m_root.reset();
        OptionsTest::TearDown();
    }
    std::string Unix(const std::string& relative) { return m_root->m_unix + "/" + relative; }
    CString Win(const std::string& relative)
    {
        CString path = m_root->path + "\\" + relative.c_str();
        path.Replace('/', '\\');
        return path;
    }
    // Runs the launch dialog: `step` on it, then OK.
    void RunLaunch(int mode, const std::function<void(CLaunchHelpDlg&)>& step = nullptr)
    {
        CLaunchHelpDlg dialog(mode);
        Script script({[&] {
            if (step)
                step(dialog);
            dialog.SendMessage(WM_COMMAND, IDOK);
        }});
        EXPECT_EQ(IDOK, dialog.DoModal());
        EXPECT_TRUE(script.Done());
    }

    FakeActions m_actions;
    std::unique_ptr<TempFolder> m_root;
};

std::string WindowsFolder()
{
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    return windows;
}

} // namespace

TEST_F(HelpDialogs, CommandLinesKeepPathsWithBlanksTogether)
{
    mkdir(Unix("Video Help Files").c_str(), 0755);
    mkdir(Unix("Video Help Files/Dovuriva").c_str(), 0755);
    Touch(Unix("Video Help Files/Dovuriva/VideoHelpDovuriva.chm"));
    const CString folder = Win("Video Help Files/Dovuriva");
    g_pAppConfig->SetVideoHelp(folder + "\\");
    const std::string help = (LPCTSTR)(folder + "\\VideoHelpDovuriva.chm");

    RunLaunch(1);
    ASSERT_EQ(1u, m_actions.started.size());
    EXPECT_EQ(WindowsFolder() + "\\hh.exe", m_actions.started[0].application);
    EXPECT_EQ(" \"mk:@MSITStore:" + help + "\"", m_actions.started[0].commandLine);
    EXPECT_EQ((LPCTSTR)folder, m_actions.started[0].folder);
    EXPECT_TRUE(m_actions.execs.empty());

    // A viewer that does not start: the shell runs it from the help folder, and the
    // program's folder is its own again afterwards.
    char before[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof before, before);
    m_actions.startSucceeds = FALSE;
    RunLaunch(1);
    ASSERT_EQ(1u, m_actions.execs.size());
    EXPECT_EQ("hh \"mk:@MSITStore:" + help + "\"", m_actions.execs[0]);
    EXPECT_EQ((LPCTSTR)folder, m_actions.execFolders[0]);
    char after[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(before, after);
}

TEST_F(HelpDialogs, StartupModeWithTheCheckCleared)
{
    Touch(Unix("VideoHelpDovuriva.chm"));
    g_pAppConfig->SetVideoHelp(m_root->path + "\\");
    g_pAppConfig->SetLaunchHelp(1);
    bool checked = false;
    RunLaunch(0, [&](CLaunchHelpDlg& dialog) {
        checked = dialog.IsDlgButtonChecked(1256) == BST_CHECKED;
        Click(&dialog, 1256);
    });
    EXPECT_TRUE(checked);
    EXPECT_EQ(0, g_pAppConfig->GetLaunchHelp());
    EXPECT_TRUE(m_actions.started.empty());
    // In command mode the help opens whatever the check says.
    RunLaunch(1);
    EXPECT_EQ(1u, m_actions.started.size());
    // Cancel keeps what the check stored.
    CLaunchHelpDlg dialog(0);
    Script script({[&] {
        Click(&dialog, 1256);
        dialog.SendMessage(WM_COMMAND, IDCANCEL);
    }});
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(1, g_pAppConfig->GetLaunchHelp());
    EXPECT_EQ(1u, m_actions.started.size());
}

TEST_F(HelpDialogs, LocatePrompt)
{
    g_pAppConfig->SetVideoHelp(Win("nowhere") + "\\");
    const std::string initial = (LPCTSTR)(g_pAppConfig->GetDefaultHelpLoc() +
                                          "VideoHelpDovuriva.chm");
    // Cancelled: nothing opens, nothing changes.
    m_actions.answers = {""};
    RunLaunch(1);
    ASSERT_EQ(1u, m_actions.prompts.size());
    EXPECT_EQ("open|Locate the Video help file|" + initial, m_actions.prompts[0]);
    EXPECT_TRUE(m_actions.started.empty());
    EXPECT_TRUE(m_actions.execs.empty());
    EXPECT_STREQ(Win("nowhere") + "\\", g_pAppConfig->GetVideoHelp());
    // Found elsewhere: opened there, and that folder is remembered.
    m_actions.answers = {"D:\\Disc Help\\VideoHelpDovuriva.chm"};
    RunLaunch(1);
    ASSERT_EQ(1u, m_actions.started.size());
    EXPECT_EQ(" \"mk:@MSITStore:D:\\Disc Help\\VideoHelpDovuriva.chm\"",
              m_actions.started[0].commandLine);
    EXPECT_EQ("D:\\Disc Help", m_actions.started[0].folder);
    EXPECT_STREQ("D:\\Disc Help\\", g_pAppConfig->GetVideoHelp());
}

namespace {

// A help source folder: the viewer, the help file, another file, a subfolder and a file
// that is read-only on the medium.
void MakeSource(const std::string& folder, bool withExe, bool withHelp)
{
    mkdir(folder.c_str(), 0755);
    if (withExe)
        Touch(folder + "/hhview.exe", "exe");
    if (withHelp)
        Touch(folder + "/VideoHelpDovuriva.chm");
    Touch(folder + "/readme.txt");
    mkdir((folder + "/extras").c_str(), 0755);
    Touch(folder + "/extras/inner.txt");
    Touch(folder + "/locked.dat");
    chmod((folder + "/locked.dat").c_str(), 0444);
}

} // namespace

TEST_F(HelpDialogs, CopyTable)
{
    struct Case {
        const char* name;
        bool withExe, withHelp;
        std::vector<std::string> answers;
        int cancelAt, failAt;
        bool copied;
        const char* message;
        int files; // files in the destination afterwards
    };
    const Case cases[] = {
        {"all", true, true, {}, 0, 0, true, nullptr, 4},
        {"no exe, prompt cancelled", false, true, {""}, 0, 0, true, nullptr, 3},
        {"no exe, found elsewhere", false, false, {"other"}, 0, 0, true, nullptr, 4},
        {"no help file", true, false, {}, 0, 0, false, nullptr, 3},
        {"cancelled", true, true, {}, 1, 0, false, "Copy process has been cancelled", 1},
        {"copy fails", true, true, {}, 0, 2, false, "Error copying video help file", 1},
    };
    int round = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string tag = std::to_string(round++);
        const std::string source = "src" + tag, other = "other" + tag, dest = "dest" + tag;
        MakeSource(Unix(source), c.withExe, c.withHelp);
        MakeSource(Unix(other), true, true);
        mkdir(Unix(dest).c_str(), 0755);
        m_actions = FakeActions();
        for (const std::string& a : c.answers)
            m_actions.answers.push_back(
                a.empty() ? a : (LPCTSTR)(Win(other) + "\\VideoHelpDovuriva.chm"));
        m_actions.cancelAt = c.cancelAt;
        m_actions.failAt = c.failAt;
        theApp.m_boxes.clear();
        g_pAppConfig->SetVideoHelp("C:\\old\\");

        const CString target = Win(dest) + "\\";
        EXPECT_EQ(c.copied,
                  CLaunchHelpDlg::CopyHelpFiles(Win(source) + "\\", target) != FALSE);
        const CString helpFolder = target + "Video Help Files\\Dovuriva\\";
        // After any copy, the setting names the new help folder.
        EXPECT_STREQ(helpFolder, g_pAppConfig->GetVideoHelp());
        if (c.message) {
            ASSERT_EQ(1u, theApp.m_boxes.size());
            EXPECT_EQ(c.message, theApp.m_boxes[0]);
        } else {
            EXPECT_TRUE(theApp.m_boxes.empty());
        }
        int files = 0;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(helpFolder + "*.*", &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    continue;
                ++files;
                // Nothing stays read-only from the medium.
                EXPECT_FALSE(found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                    << found.cFileName;
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        EXPECT_EQ(c.files, files);
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(helpFolder + "extras"));
    }
}

TEST_F(HelpDialogs, CopyDialogChecksTheDestination)
{
    mkdir(Unix("locked").c_str(), 0555);
    const bool lockedIsReadOnly =
        (GetFileAttributesA(Win("locked")) & FILE_ATTRIBUTE_READONLY) != 0;
    struct Case { CString destination; const char* message; };
    const Case cases[] = {
        {Win("missing folder") + "\\",
         "Destination directory does not exist.  Please enter a valid destination directory"},
        {Win("locked") + "\\", lockedIsReadOnly ? "Destination directory is read only.  Please "
                                                  "select a different destination directory"
                                                : nullptr},
        {m_root->path + "\\", nullptr},
    };
    for (const Case& c : cases) {
        theApp.m_boxes.clear();
        CCopyHelpDlg dialog;
        dialog.m_strSource = "E:\\Help\\";
        bool stayed = false;
        std::string typed;
        Script script({[&] {
                           dialog.SetDlgItemText(1275, c.destination);
                           dialog.SendMessage(WM_COMMAND, IDOK);
                       },
                       [&] {
                           stayed = dialog.GetSafeHwnd() && dialog.IsWindowVisible();
                           if (stayed) {
                               typed = ItemText(&dialog, 1275);
                               dialog.EndDialog(IDCANCEL);
                           }
                       }});
        const INT_PTR result = dialog.DoModal();
        EXPECT_EQ(c.message ? IDCANCEL : IDOK, result);
        EXPECT_EQ(c.message != nullptr, stayed);
        if (c.message) {
            ASSERT_EQ(1u, theApp.m_boxes.size());
            EXPECT_EQ(c.message, theApp.m_boxes[0]);
            EXPECT_EQ((LPCTSTR)c.destination, typed);
        } else {
            EXPECT_STREQ(c.destination, dialog.m_strDestination);
            EXPECT_STREQ("E:\\Help\\", dialog.m_strSource);
        }
    }
    chmod(Unix("locked").c_str(), 0755);
}
