// The settings store over the registry of the test prefix, and the function-key table.
#include "gtest_wine.h"
#include <afxwin.h>
#include <string>
#include <vector>
#include "AppConfig.h"
#include "FileTask.h"
#include "Globals.h"
#include "Utility.h"
#include "dialog_answers.h"
#include "../browser/DatabaseSheet.h"
#include "ODCustomViewport.h"

namespace {

std::string ReadValue(const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CAppConfig::RegistryKey, 0, KEY_READ, &key))
        return "<no key>";
    char text[4096];
    DWORD size = sizeof text, type = 0;
    LONG result = RegQueryValueExA(key, name, NULL, &type, (BYTE*)text, &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS)
        return "<missing>";
    if (type != REG_SZ)
        return "<not text>";
    return std::string(text, size ? size - 1 : 0);
}

void WriteValue(const char* name, const char* text)
{
    HKEY key;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, CAppConfig::RegistryKey, 0, NULL, 0, KEY_ALL_ACCESS,
                    NULL, &key, NULL);
    RegSetValueExA(key, name, 0, REG_SZ, (const BYTE*)text, (DWORD)strlen(text) + 1);
    RegCloseKey(key);
}

void DeleteValue(const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, CAppConfig::RegistryKey, 0, KEY_ALL_ACCESS, &key))
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

CString ProgramFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    return CExtString(path).GetPathFolder();
}

struct Defaults
{
    const char* name;
    const char* text;
};

// Every value a first start writes, with its default text.
const Defaults kDefaults[] = {
    {"CaptureDirectory", ""},
    {"RecordView", "Face on"},
    {"RecordClub", "Driver"},
    {"CaptureDriverName", "Microsoft DV Camera and VCR"},
    {"VideoHelp", ""},
    {"DefaultHelpLoc", ""},
    {"VideoFilesDir", ""},
    {"SoundThreshold", "50"},
    {"SoundTrigAdjust", "0"},
    {"CueHoldDelay", "5"},
    {"AutoRepeatReplay", "2"},
    {"PreTrigFrames", "39"},
    {"PostTrigFrames", "30"},
    {"AutoRewind", "1"},
    {"LineColor", "0"},
    {"LastKnownGoodCamera", "0"},
    {"LaunchHelp", "1"},
    {"ImportVideoFiles", "1"},
    {"ShadowMix", "10"},
    {"SkipFields", "0"},
    {"ExportFilterIndex", "1"},
    {"ImportFilterIndex", "1"},
    {"LineWidth", "2"},
    {"LineStyle", "0"},
    {"FontFaceName", "Arial"},
    {"FontPointSize", "10"},
    {"FontColor", "16777215"},
    {"FontWeight", "400"},
    {"FontItalic", "0"},
    {"FontUnderline", "0"},
    {"KeyCommandList[STARTAUTORECKEY].Key", "1"},
    {"KeyCommandList[STARTMANRECKEY].Key", "2"},
    {"KeyCommandList[TRIGGERAUTORECKEY].Key", "3"},
    {"KeyCommandList[ATTENSLIDER].Key", "12"},
    {"KeyCommandList[TOGGLEWINDOW].Key", "11"},
    {"KeyCommandList[SPLITWINDOWKEY].Key", "10"},
    {"KeyCommandList[TAB16TOGGLEKEY].Key", "9"},
    {"KeyCommandList[LOCKIMPACTKEY].Key", "8"},
    {"KeyCommandList[LOCKVIEWKEY].Key", "7"},
    {"KeyCommandList[TOGGLEMIRRORKEY].Key", "4"},
    {"KeyCommandList[PLAYKEY].Key", "5"},
    {"KeyCommandList[REALPLAYKEY].Key", "6"},
    {"bVideoFrameCount", "0"},
    {"LessonDuration", "30"},
    {"LessonExtend", "5"},
    {"bNagEnable", "1"},
    {"bImpactTabRelative", "1"},
    {"PlaySpeed", "1.000000"},
    {"BkgColor", "10072511"},
    {"bUseDefaultColors", "1"},
    {"bTelestratorMode", "0"},
};

class SettingsTest : public testing::Test
{
protected:
    void SetUp() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, CAppConfig::RegistryKey);
        m_folder = ProgramFolder();
        CopyFileA(CString(WinePath(TestBinDir() + "/razeFieldDefs.xml").c_str()),
                  m_folder + "razeFieldDefs.xml", FALSE);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, CAppConfig::RegistryKey);
        g_pAppConfig = NULL;
    }

    // A start with no database file: the manager says so, and start-up goes on.
    BOOL Load(CAppConfig& config)
    {
        g_pAppConfig = &config;
        DialogAnswers answers;
        BOOL loaded = config.LoadSettings();
        EXPECT_TRUE(answers.Saw("Could not find database file."));
        return loaded;
    }

    CString m_folder;
};

} // namespace

TEST_F(SettingsTest, FirstStartWritesEveryDefaultAndSecondStartReadsThemBack)
{
    {
        CAppConfig config;
        ASSERT_TRUE(Load(config));
        for (const Defaults& d : kDefaults)
            EXPECT_EQ(d.text, ReadValue(d.name)) << d.name;
        EXPECT_EQ(std::string(m_folder), ReadValue("InstallDir"));
        EXPECT_STREQ(m_folder, config.GetInstallDir());
        EXPECT_STREQ(m_folder + "Capture", config.GetCaptureDirectory());
        EXPECT_STREQ(m_folder + "Quorvel.mdb", config.GetDatabasePath());
        EXPECT_STREQ("Clip Type", config.m_xmlParser.GetDisplayName("ClipType"));
    }

    WriteValue("PlaySpeed", "0.5");
    WriteValue("SoundThreshold", "loud");
    WriteValue("RecordView", "Down the line");
    WriteValue("KeyCommandList[PLAYKEY].Key", "0");
    WriteValue("CaptureDirectory", std::string(m_folder + "razeFieldDefs.xml").c_str());
    CAppConfig config;
    ASSERT_TRUE(Load(config));
    EXPECT_FLOAT_EQ(0.5f, config.GetPlaySpeed());
    EXPECT_EQ(0, config.GetSoundThreshold());
    EXPECT_STREQ("Down the line", config.GetRecordView());
    EXPECT_EQ(0, config.GetHotKey(PLAYKEY));
    // A capture folder that names a file falls back to the program's own.
    EXPECT_STREQ(m_folder + "Capture", config.GetCaptureDirectory());

    // Save writes back only the values it keeps; the others stay as they are.
    DeleteValue("CaptureDirectory");
    DeleteValue("DefaultHelpLoc");
    DeleteValue("RecordClub");
    config.SetRecordClub("Putter");
    ASSERT_TRUE(config.SaveSettings());
    EXPECT_EQ("0.500000", ReadValue("PlaySpeed"));
    EXPECT_EQ("Putter", ReadValue("RecordClub"));
    EXPECT_EQ("<missing>", ReadValue("CaptureDirectory"));
    EXPECT_EQ("<missing>", ReadValue("DefaultHelpLoc"));
    EXPECT_EQ("0", ReadValue("FileAssoc"));
}

// A start that ends before the settings were read must not overwrite them with defaults.
TEST_F(SettingsTest, SaveWithoutLoadKeepsStoredSettings)
{
    WriteValue("RecordClub", "Putter");
    CAppConfig config;
    EXPECT_TRUE(config.SaveSettings());
    EXPECT_EQ("Putter", ReadValue("RecordClub"));
    EXPECT_EQ("<missing>", ReadValue("RecordView"));
}

TEST_F(SettingsTest, MissingFieldDefinitionsEndTheStart)
{
    DeleteFileA(m_folder + "razeFieldDefs.xml");
    CAppConfig config;
    g_pAppConfig = &config;
    DialogAnswers answers;
    EXPECT_FALSE(config.LoadSettings());
    EXPECT_TRUE(answers.Saw("Could not open XML file.  Please contact Quorvel."));
}

TEST_F(SettingsTest, FileAssociationFollowsTheCommandKey)
{
    CAppConfig config;
    ASSERT_TRUE(Load(config));
    EXPECT_FALSE(config.IsFileAssociated());
    config.SetFileAssociation(TRUE);
    EXPECT_TRUE(config.IsFileAssociated());

    CAppConfig again;
    ASSERT_TRUE(Load(again));
    EXPECT_TRUE(again.IsFileAssociated());
    again.SetFileAssociation(FALSE);

    CAppConfig third;
    ASSERT_TRUE(Load(third));
    EXPECT_FALSE(third.IsFileAssociated());
}

TEST(SettingsPaths, NetworkModeSwitchesDatabaseAndCaptureFolder)
{
    CAppConfig config;
    config.SetInstallDir("C:\\Quorvel");
    config.SetCaptureDirectory("C:\\Quorvel\\Capture");
    EXPECT_STREQ("C:\\Quorvel\\Quorvel.mdb", config.GetDatabasePath());
    config.SetNetworkDatabasePath("\\\\coach\\Quorvel\\Quorvel.mdb");
    config.SetNetworkCaptureDirectory("\\\\coach\\Quorvel\\Capture");
    config.SetNetworkDatabase(TRUE);
    EXPECT_STREQ("\\\\coach\\Quorvel\\Quorvel.mdb", config.GetDatabasePath());
    EXPECT_STREQ("\\\\coach\\Quorvel\\Capture", config.GetCaptureDirectory());
    EXPECT_STREQ("C:\\Quorvel\\Capture", config.GetLocalCaptureDirectory());
    EXPECT_STREQ("C:\\Quorvel\\Temp", config.GetTempDir());
    EXPECT_STREQ("C:\\Quorvel\\razeFieldDefs.xml", config.GetFieldDefsPath());
    // Connecting is to the local database, which does not exist here: reported, and no
    // sheet is kept.
    DialogAnswers answers;
    EXPECT_FALSE(config.ConnectDatabase());
    EXPECT_FALSE(config.IsNetworkDatabase());
    EXPECT_TRUE(answers.Saw("Cannot connect to database"));
    EXPECT_EQ(nullptr, g_pDatabaseSheet);
}

TEST(SettingsDrawing, DefaultsGoToAndComeFromAViewport)
{
    CAppConfig config;
    CODCustomViewport viewport;
    config.ApplyDrawingDefaults(&viewport);
    EXPECT_EQ(2, viewport.GetLineWidth());
    EXPECT_STREQ("Arial", viewport.FindFontProperties()->GetFaceName());
    EXPECT_EQ(16777215u, viewport.FindFontProperties()->GetColor());

    viewport.SetLineColor(RGB(255, 0, 0));
    viewport.SetLineStyle(3);
    CODFontProperties* font = viewport.FindFontProperties();
    font->SetFaceName("Tahoma");
    font->SetPointSize(14);
    font->SetWeight(700);
    font->SetItalic(TRUE);
    config.StoreDrawingDefaults(&viewport);
    EXPECT_EQ(RGB(255, 0, 0), config.GetLineColor());
    EXPECT_EQ(3, config.GetLineStyle());
    EXPECT_STREQ("Tahoma", config.GetFontFaceName());
    EXPECT_EQ(14, config.GetFontPointSize());
    EXPECT_EQ(700, config.GetFontWeight());
    EXPECT_EQ(1, config.GetFontItalic());

    // The font keeps what it cannot take: no size of 1 or less, no weight beyond 1000.
    config.SetFontPointSize(1);
    config.SetFontWeight(2000);
    config.ApplyDrawingDefaults(&viewport);
    EXPECT_EQ(14, font->GetPointSize());
    EXPECT_EQ(700, font->GetWeight());
}
