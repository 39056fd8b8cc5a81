// The sound trigger page against Wine's sound layer, with ALSA's default device pointed at
// a file: Wine's input mixer, the level meter on real wave input, and the page destroyed
// while it records. ALSA reads its configuration from HOME, set before Wine's sound layer
// starts.
#include "options_test_support.h"
#include <stdlib.h>
#include <unistd.h>
#include <string>
#include "ToolsSheet.h"
#include "ToolsSoundPropPage.h"

namespace {

COptionsTestApp theApp;

std::string g_home;

// Eight seconds at 11025 Hz: a square wave of ±2816 (level 11), or silence. The device
// reads the file each time it is opened.
bool WriteInput(bool tone)
{
    FILE* f = fopen((g_home + "/input.raw").c_str(), "wb");
    if (!f)
        return false;
    for (int i = 0; i < 11025 * 8; ++i) {
        const short sample = tone ? ((i / 10) % 2 ? 2816 : -2816) : 0;
        fwrite(&sample, sizeof sample, 1, f);
    }
    fclose(f);
    return true;
}

bool PrepareAlsaHome()
{
    char pattern[] = "/tmp/quorvel-alsa-XXXXXX";
    if (!mkdtemp(pattern))
        return false;
    g_home = pattern;
    if (!WriteInput(true))
        return false;
    FILE* f = fopen((g_home + "/.asoundrc").c_str(), "w");
    if (!f)
        return false;
    fprintf(f,
            "pcm.!default {type file; slave.pcm \"null\"; file \"/dev/null\"; "
            "infile \"%s/input.raw\"; format \"raw\"}\n",
            g_home.c_str());
    fclose(f);
    return setenv("HOME", g_home.c_str(), 1) == 0;
}
const bool g_prepared = PrepareAlsaHome();

bool PumpUntil(const std::function<bool()>& done, DWORD ms)
{
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > ms)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(5);
    }
    return true;
}

class AlsaFile : public OptionsTest
{
protected:
    static void TearDownTestSuite()
    {
        if (!g_home.empty())
            system(("rm -rf '" + g_home + "'").c_str());
    }
};

} // namespace

TEST_F(AlsaFile, WinesInputMixerHasTheMicrophone)
{
    ASSERT_TRUE(g_prepared);
    CToolsSoundPropPage page;
    if (!page.IsMixerPresent())
        GTEST_SKIP() << "Wine's sound layer does not use ALSA here";
    ASSERT_TRUE(page.OpenMixer());
    EXPECT_NE(0u, page.m_dwVolumeControl);
    EXPECT_NE(0u, page.m_dwMuteControl);
    EXPECT_EQ(0u, page.m_dwBoostControl); // Wine offers no on/off control
    EXPECT_GE(page.m_nChannels, 1);
    // Setting the volume is accepted; what it reads back is Wine's business.
    page.SetLineVolume(40000);
    page.GetLineVolume();
}

TEST_F(AlsaFile, MeterTriggersOnTheToneAndNotOnSilence)
{
    ASSERT_TRUE(g_prepared);
    if (!CToolsSoundPropPage().IsMixerPresent())
        GTEST_SKIP() << "Wine's sound layer does not use ALSA here";
    g_pAppConfig->SetSoundThreshold(50);
    for (bool tone : {true, false}) {
        ASSERT_TRUE(WriteInput(tone));
        CToolsSheet sheet("Options");
        sheet.AddPage(&sheet.m_soundPage);
        CToolsSoundPropPage& page = sheet.m_soundPage;
        bool recording = false, boostDisabled = false;
        std::string state;
        int peak = -1, buffers = 0;
        Script script({[&] {
            recording = page.m_hWaveIn != NULL;
            boostDisabled = !page.GetDlgItem(1124)->IsWindowEnabled();
            // A second of sound: several buffers measured.
            const DWORD start = GetTickCount();
            PumpUntil([&] {
                if (!ItemText(&page, 1118).empty() && page.m_nPeak != peak) {
                    peak = page.m_nPeak;
                    ++buffers;
                }
                return GetTickCount() - start > 1500;
            }, 3000);
            state = ItemText(&page, 1118);
            peak = page.m_nPeak;
            sheet.PressButton(PSBTN_CANCEL);
        }});
        EXPECT_EQ(IDCANCEL, sheet.DoModal());
        ASSERT_TRUE(recording);
        EXPECT_TRUE(boostDisabled);
        EXPECT_GE(buffers, 1);
        EXPECT_EQ(tone ? "Triggered" : "NOT Triggered", state);
        EXPECT_EQ(tone ? 11 : 0, peak);
        EXPECT_EQ(NULL, page.m_hWaveIn);
    }
}

TEST_F(AlsaFile, DestroyedWhileRecording)
{
    ASSERT_TRUE(g_prepared);
    if (!CToolsSoundPropPage().IsMixerPresent())
        GTEST_SKIP() << "Wine's sound layer does not use ALSA here";
    for (int round = 0; round < 3; ++round) {
        CToolsSheet sheet("Options");
        sheet.AddPage(&sheet.m_soundPage);
        bool recording = false;
        Script script({[&] {
            recording = sheet.m_soundPage.m_hWaveIn != NULL;
            // Torn down at once, with a buffer queued and perhaps one on its way back.
            sheet.PressButton(PSBTN_CANCEL);
        }});
        sheet.DoModal();
        EXPECT_TRUE(recording);
        EXPECT_EQ(NULL, sheet.m_soundPage.m_hWaveIn);
        EXPECT_EQ(NULL, sheet.m_soundPage.m_waveHeader.lpData);
        // Messages still queued for the gone window do no harm.
        PumpUntil([] { return false; }, 300);
    }
}
