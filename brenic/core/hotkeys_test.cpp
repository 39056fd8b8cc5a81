// The function-key table: which command each of F1 to F12 sends to the main window.
#include "gtest_wine.h"
#include <afxwin.h>
#include <vector>
#include "AppConfig.h"
#include "FileTask.h"

namespace {

class TestApp : public CWinApp
{
public:
    TestApp() : CWinApp("Quorvel Redovove") {}
};
TestApp theApp;

// A main window that records the commands it receives.
class CommandWindow : public CWnd
{
public:
    CommandWindow()
    {
        CreateEx(0, "STATIC", "main", WS_POPUP, 0, 0, 10, 10, NULL, NULL);
        AfxGetApp()->m_pMainWnd = this;
    }
    ~CommandWindow()
    {
        AfxGetApp()->m_pMainWnd = NULL;
        DestroyWindow();
    }
    std::vector<UINT> commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return TRUE;
    }
};

} // namespace

TEST(FunctionKeys, DefaultsDispatchTheirCommands)
{
    CommandWindow main;
    CAppConfig config;
    const struct { UINT key; UINT command; } table[] = {
        {VK_F1, 32802}, {VK_F2, 32804}, {VK_F3, 32803}, {VK_F4, 32820},
        {VK_F5, 32821}, {VK_F6, 32822}, {VK_F7, 32814}, {VK_F8, 32813},
        {VK_F9, 32815}, {VK_F10, 32812}, {VK_F11, 32807}, {VK_F12, 32805},
    };
    for (const auto& t : table) {
        main.commands.clear();
        EXPECT_TRUE(config.DispatchHotKey(t.key)) << t.key;
        ASSERT_EQ(1u, main.commands.size()) << t.key;
        EXPECT_EQ(t.command, main.commands[0]) << t.key;
    }
    EXPECT_STREQ("STARTAUTORECKEY", CAppConfig::GetKeyCommandName(STARTAUTORECKEY));
    EXPECT_STREQ("REALPLAYKEY", CAppConfig::GetKeyCommandName(REALPLAYKEY));
}

TEST(FunctionKeys, SharedZeroAndUnusedKeys)
{
    CommandWindow main;
    CAppConfig config;
    // F1 on two entries: the lower entry wins.
    config.SetHotKey(ATTENSLIDER, 1);
    EXPECT_TRUE(config.DispatchHotKey(VK_F1));
    // A key of 0 makes its entry inert, and the next entry with that key takes over.
    config.SetHotKey(STARTAUTORECKEY, 0);
    EXPECT_EQ(0, config.GetHotKey(STARTAUTORECKEY));
    EXPECT_TRUE(config.DispatchHotKey(VK_F1));
    // F12 is now unused: not consumed, nothing sent.
    EXPECT_FALSE(config.DispatchHotKey(VK_F12));
    ASSERT_EQ(2u, main.commands.size());
    EXPECT_EQ(32802u, main.commands[0]);
    EXPECT_EQ(32805u, main.commands[1]);
    // An entry given a key again after 0 answers to it at once.
    config.SetHotKey(STARTAUTORECKEY, 12);
    EXPECT_TRUE(config.DispatchHotKey(VK_F12));
    ASSERT_EQ(3u, main.commands.size());
    EXPECT_EQ(32802u, main.commands[2]);
}

// While database files are moved or compacted, a function key starts nothing.
TEST(FunctionKeys, KeysAreHeldWhileAFileTaskRuns)
{
    CommandWindow main;
    CAppConfig config;
    {
        CFileTask task;
        EXPECT_TRUE(config.DispatchHotKey(VK_F1));
        EXPECT_TRUE(main.commands.empty());
    }
    EXPECT_TRUE(config.DispatchHotKey(VK_F1));
    EXPECT_EQ(1u, main.commands.size());
}
