// The options that reach the video manager, with the synthetic camera: the Video page's
// capture drivers, the Recording page's frame rate and the disk-capacity dialog.
#include "../video/video_test_support.h"
#include <sys/statvfs.h>
#include "DiskCapacityDlg.h"
#include "ToolsSheet.h"
#include "options_res.h"
#include "options_test_support.h"

CVideoTestApp theApp;

namespace {

const char kSynthetic[] = "Microsoft DV Camera and VCR (synthetic)";

// The video manager in a host window; the camera variable as the test wants it.
class OptionsVideo : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        AfxOleInit();
        AfxEnableControlContainer();
    }
    void Start(const char* camera)
    {
        SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", camera);
        m_folder.reset(new TempFolder("options"));
        g_pAppConfig = new CAppConfig;
        g_pAppConfig->SetInstallDir(m_folder->path + "\\");
        g_pAppConfig->SetCaptureDirectory(m_folder->path);
        g_pLesson = new CLesson;
        ASSERT_TRUE(m_host.CreateEx(0, AfxRegisterWndClass(0), "host",
                                    WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 800, 600, NULL,
                                    NULL));
        g_pClavio = m_clavio = new CClavio;
        ASSERT_TRUE(m_clavio->Create(NULL, "Clavio", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                     CRect(0, 0, 700, 500), &m_host, 100));
        m_clavio->SetView(&m_host);
    }
    void TearDown() override
    {
        if (m_clavio && m_clavio->GetSafeHwnd())
            m_clavio->DestroyWindow();
        delete m_clavio;
        g_pClavio = m_clavio = nullptr;
        if (m_host.GetSafeHwnd())
            m_host.DestroyWindow();
        delete g_pLesson;
        g_pLesson = nullptr;
        delete g_pAppConfig;
        g_pAppConfig = nullptr;
        m_folder.reset();
    }
    // Shows the Video page, runs `step` on it, then cancels.
    void OnVideoPage(const std::function<void(CToolsVideoPropPage&)>& step)
    {
        CToolsSheet sheet("Options", NULL, 2);
        sheet.AddPages();
        Script script({[&] {
            step(sheet.m_videoPage);
            sheet.PressButton(PSBTN_CANCEL);
        }});
        EXPECT_EQ(IDCANCEL, sheet.DoModal());
        EXPECT_TRUE(script.Done());
    }

    std::unique_ptr<TempFolder> m_folder;
    CWnd m_host;
    CClavio* m_clavio = nullptr;
};

std::vector<std::string> ComboEntries(CComboBox& combo)
{
    std::vector<std::string> entries;
    for (int i = 0; i < combo.GetCount(); ++i) {
        CString text;
        combo.GetLBText(i, text);
        entries.push_back((LPCTSTR)text);
    }
    return entries;
}

} // namespace

TEST_F(OptionsVideo, MissingDriverNameGivesWayToTheFirstDriver)
{
    Start("1");
    g_pAppConfig->SetCaptureDriverName("Camera long gone");
    int selection = -2;
    std::vector<std::string> entries;
    std::string dropped;
    OnVideoPage([&](CToolsVideoPropPage& page) {
        selection = page.m_drivers.GetCurSel();
        entries = ComboEntries(page.m_drivers);
        dropped = ItemText(&page, 1190);
    });
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(kSynthetic, entries[0]);
    EXPECT_EQ(0, selection);
    // Stored at once, Cancel or not.
    EXPECT_STREQ(kSynthetic, g_pAppConfig->GetCaptureDriverName());
    EXPECT_EQ(0u, dropped.find("Last capture dropped "));
}

TEST_F(OptionsVideo, StoredDriverIsSelected)
{
    Start("1");
    g_pAppConfig->SetCaptureDriverName(kSynthetic);
    int selection = -2;
    OnVideoPage([&](CToolsVideoPropPage& page) { selection = page.m_drivers.GetCurSel(); });
    EXPECT_EQ(0, selection);
}

TEST_F(OptionsVideo, NoDriversLeaveTheComboEmptyAndTheNameStored)
{
    Start(NULL);
    g_pAppConfig->SetCaptureDriverName("Kept camera");
    int count = -1, selection = -2;
    OnVideoPage([&](CToolsVideoPropPage& page) {
        count = page.m_drivers.GetCount();
        selection = page.m_drivers.GetCurSel();
    });
    EXPECT_EQ(0, count);
    EXPECT_EQ(CB_ERR, selection);
    EXPECT_STREQ("Kept camera", g_pAppConfig->GetCaptureDriverName());
}

TEST_F(OptionsVideo, ChoosingADriverWithChannelOneActive)
{
    Start("1");
    g_pAppConfig->SetCaptureDriverName(kSynthetic);
    m_clavio->SelectChannel(1);
    ASSERT_EQ(m_clavio->GetChannel(1), m_clavio->GetActiveVideoWindow());
    const CString captureDriver = m_clavio->GetCaptureChannel()->GetDriverName();
    g_pAppConfig->SetCaptureDriverName("Other");
    OnVideoPage([&](CToolsVideoPropPage& page) { SelectCombo(&page, 1235, 0); });
    EXPECT_STREQ(kSynthetic, g_pAppConfig->GetCaptureDriverName());
    // The capturing channel takes the name at the next start.
    EXPECT_STREQ(captureDriver, m_clavio->GetCaptureChannel()->GetDriverName());
}

TEST_F(OptionsVideo, TimeLabelsUseTheActiveChannelsRate)
{
    Start("1");
    g_pAppConfig->SetPreTrigFrames(39);
    g_pAppConfig->SetPostTrigFrames(30);
    const double rate = m_clavio->GetActiveVideoWindow()->GetFrameRate();
    CString expected;
    expected.Format("%5.2f", 70 / (rate > 0 ? rate : 29.97));
    CToolsSheet sheet("Options", NULL, 1);
    sheet.AddPages();
    std::string total;
    Script script({[&] {
        total = ItemText(&sheet.m_recPage, 1034);
        sheet.PressButton(PSBTN_CANCEL);
    }});
    sheet.DoModal();
    EXPECT_EQ((LPCTSTR)expected, total);
}

namespace {

long long MegabytesOf(const std::string& text)
{
    std::string digits;
    for (char c : text)
        if (isdigit((unsigned char)c))
            digits += c;
    return digits.empty() ? -1 : atoll(digits.c_str());
}

} // namespace

TEST_F(OptionsVideo, DiskCapacityAgainstTheFileSystem)
{
    Start("1");
    // Two clip files of 2,500,000 bytes and a folder whose name matches the pattern.
    for (const char* name : {"CLP0001.avi", "CLP0002.avi"}) {
        FILE* f = fopen((m_folder->m_unix + "/" + name).c_str(), "wb");
        ASSERT_TRUE(f);
        fseek(f, 2500000 - 1, SEEK_SET);
        fputc(0, f);
        fclose(f);
    }
    CreateDirectoryA(m_folder->path + "\\CLPfolder.avi", NULL);
    EXPECT_DOUBLE_EQ(5000000.0, CDiskCapacityDlg::GetClipFilesSize());

    CDiskCapacityDlg dialog;
    ASSERT_TRUE(dialog.Create(IDD_DISK_CAPACITY, NULL));
    struct statvfs fs;
    ASSERT_EQ(0, statvfs(m_folder->m_unix.c_str(), &fs));
    const long long freeMb = (long long)((double)fs.f_bavail * fs.f_frsize / 1e6);
    const long long totalMb = (long long)((double)fs.f_blocks * fs.f_frsize / 1e6);
    // Other programs write to the same disk meanwhile: a little slack.
    EXPECT_NEAR((double)freeMb, (double)MegabytesOf(ItemText(&dialog, 1175)), 200.0);
    EXPECT_NEAR((double)totalMb, (double)MegabytesOf(ItemText(&dialog, 1176)), 1.0);
    EXPECT_EQ("5 MB", ItemText(&dialog, 1174));
    EXPECT_EQ("Capture Drive   Z:", ItemText(&dialog, 1172));
    const double used = 1.0 - (double)fs.f_bavail / fs.f_blocks;
    CString caption;
    caption.Format("Current Level: %d%% Full", (int)(used * 100.0));
    char text[128] = "";
    dialog.GetDlgItemText(1171, text, sizeof text);
    EXPECT_NEAR(used, dialog.m_fUsedFraction, 0.01);
    EXPECT_EQ(0u, std::string(text).find("Current Level: "));
    // Minutes and swings: counts, or "-" without a capture format.
    for (int id : {1178, 1179, 1180, 1181, 1182, 1183}) {
        const std::string figure = ItemText(&dialog, id);
        EXPECT_TRUE(figure == "-" || figure == "<1" || MegabytesOf(figure) >= 0) << figure;
    }
    dialog.DestroyWindow();
}

