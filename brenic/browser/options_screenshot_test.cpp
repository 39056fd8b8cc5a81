// Pictures of the options sheet's three pages and of the disk-capacity dialog for people:
// run under a display with QUORVEL_SCREENSHOT_DIR (a Unix folder); each is taken with xwd.
// Skipped otherwise. The windows stay on the display's own desktop.
#include "options_test_support.h"
#include <afxole.h>
#include "Clavio.h"
#include "DiskCapacityDlg.h"
#include "Lesson.h"
#include "ToolsSheet.h"

namespace {

COptionsTestApp theApp;

void Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < ms);
}

} // namespace

TEST(OptionsScreenshots, PagesAndDiskDialog)
{
    const char* dir = getenv("QUORVEL_SCREENSHOT_DIR");
    if (!dir)
        GTEST_SKIP() << "no screenshot folder";
    AfxOleInit();
    AfxEnableControlContainer();
    SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", "1");
    g_pAppConfig = new CAppConfig;
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    g_pAppConfig->SetInstallDir(temp);
    g_pAppConfig->SetCaptureDirectory(temp);
    g_pAppConfig->SetPreTrigFrames(39);
    g_pAppConfig->SetPostTrigFrames(30);
    g_pAppConfig->SetPlaySpeed(0.5f);
    g_pAppConfig->SetAutoRewind(1);
    g_pLesson = new CLesson;
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, 0, 0,
                              800, 600, NULL, NULL));
    g_pClavio = new CClavio;
    ASSERT_TRUE(g_pClavio->Create(NULL, "Clavio", WS_CHILD | WS_VISIBLE, CRect(0, 0, 700, 500),
                                  &host, 100));
    g_pClavio->SetView(&host);

    auto shoot = [&](CWnd* window, const char* name) {
        window->SetWindowPos(&CWnd::wndTop, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        window->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(800);
        std::string command =
            std::string("xwd -root -silent -out '") + dir + "/" + name + ".xwd'";
        EXPECT_EQ(0, system(command.c_str()));
    };
    {
        CToolsSheet sheet("Options");
        sheet.AddPages();
        Script script({[&] {
            const char* names[] = {"options_general", "options_recording", "options_video"};
            for (int page = 0; page < 3; ++page) {
                sheet.SetActivePage(page);
                shoot(&sheet, names[page]);
            }
            sheet.PressButton(PSBTN_CANCEL);
        }});
        sheet.DoModal();
    }
    {
        CDiskCapacityDlg disk;
        Script script({[&] {
            shoot(&disk, "disk_capacity");
            disk.EndDialog(IDOK);
        }});
        disk.DoModal();
    }
    g_pClavio->DestroyWindow();
    delete g_pClavio;
    g_pClavio = NULL;
    host.DestroyWindow();
    delete g_pLesson;
    g_pLesson = NULL;
    delete g_pAppConfig;
    g_pAppConfig = NULL;
}
