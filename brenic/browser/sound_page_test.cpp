// The sound trigger page's mixer search and controls over a mixer of the test's own, the
// machine without a sound card, and the page itself.
#include "options_test_support.h"
#include <map>
#include "ToolsSheet.h"
#include "ToolsSoundPropPage.h"

namespace {

COptionsTestApp theApp;

// Two mixers as Wine lists them with one sound device: mixer 0 with speakers only, mixer 1
// with a wave-in destination whose second source is the microphone.
struct FakeMixer
{
    UINT devices = 2;
    DWORD channels = 2;
    bool boost = true;
    bool failReads = false;
    bool silentReads = false; // success without writing, as Wine's microphone does
    std::map<DWORD, std::vector<DWORD>> values;
    int writes = 0;
    UINT opened = 99;

    // Wine numbers the microphone line 0.
    enum { Volume = 11, Boost = 12, Mute = 13, MicLine = 0, LineIn = 1 };
};
FakeMixer* g_fake = nullptr;

UINT WINAPI FakeNumDevs()
{
    return g_fake->devices;
}
MMRESULT WINAPI FakeDevCaps(UINT_PTR id, MIXERCAPSA* caps, UINT)
{
    if (id >= g_fake->devices)
        return MMSYSERR_BADDEVICEID;
    lstrcpyA(caps->szPname, id == 0 ? "Out: default" : "In: default");
    caps->cDestinations = 1;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeOpen(HMIXER* mixer, UINT id, DWORD_PTR, DWORD_PTR, DWORD)
{
    if (id >= g_fake->devices)
        return MMSYSERR_BADDEVICEID;
    g_fake->opened = id;
    *mixer = (HMIXER)(UINT_PTR)(0x100 + id);
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeClose(HMIXER)
{
    g_fake->opened = 99;
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags)
{
    const bool input = (UINT_PTR)mixer == 0x101;
    switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_DESTINATION:
        line->dwComponentType = input ? MIXERLINE_COMPONENTTYPE_DST_WAVEIN
                                      : MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
        line->dwLineID = 0xFFFF0000;
        line->cConnections = input ? 2 : 0;
        return MMSYSERR_NOERROR;
    case MIXER_GETLINEINFOF_SOURCE:
        if (!input || line->dwSource > 1)
            return MIXERR_INVALLINE;
        line->dwComponentType = line->dwSource ? MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE
                                               : MIXERLINE_COMPONENTTYPE_SRC_LINE;
        line->dwLineID = line->dwSource ? FakeMixer::MicLine : FakeMixer::LineIn;
        return MMSYSERR_NOERROR;
    case MIXER_GETLINEINFOF_LINEID:
        if (line->dwLineID != FakeMixer::MicLine)
            return MIXERR_INVALLINE;
        line->cChannels = g_fake->channels;
        line->cControls = g_fake->boost ? 3 : 2;
        return MMSYSERR_NOERROR;
    }
    return MMSYSERR_INVALFLAG;
}
MMRESULT WINAPI FakeLineControls(HMIXEROBJ, MIXERLINECONTROLSA* request, DWORD)
{
    std::vector<std::pair<DWORD, DWORD>> controls = {
        {FakeMixer::Volume, MIXERCONTROL_CONTROLTYPE_VOLUME},
        {FakeMixer::Mute, MIXERCONTROL_CONTROLTYPE_MUTE}};
    if (g_fake->boost)
        controls.push_back({FakeMixer::Boost, MIXERCONTROL_CONTROLTYPE_ONOFF});
    if (request->cControls != controls.size())
        return MMSYSERR_INVALPARAM;
    for (size_t i = 0; i < controls.size(); ++i) {
        request->pamxctrl[i].dwControlID = controls[i].first;
        request->pamxctrl[i].dwControlType = controls[i].second;
    }
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeGetDetails(HMIXEROBJ, MIXERCONTROLDETAILS* details, DWORD)
{
    if (g_fake->failReads)
        return MMSYSERR_ERROR;
    if (g_fake->silentReads)
        return MMSYSERR_NOERROR;
    std::vector<DWORD>& v = g_fake->values[details->dwControlID];
    v.resize(g_fake->channels, 0);
    for (DWORD i = 0; i < details->cChannels && i < v.size(); ++i)
        ((DWORD*)details->paDetails)[i] = v[i];
    return MMSYSERR_NOERROR;
}
MMRESULT WINAPI FakeSetDetails(HMIXEROBJ, MIXERCONTROLDETAILS* details, DWORD)
{
    ++g_fake->writes;
    std::vector<DWORD>& v = g_fake->values[details->dwControlID];
    v.assign((DWORD*)details->paDetails, (DWORD*)details->paDetails + details->cChannels);
    return MMSYSERR_NOERROR;
}

class SoundPage : public OptionsTest
{
protected:
    void SetUp() override
    {
        OptionsTest::SetUp();
        m_real = CToolsSoundPropPage::s_mixer;
        g_fake = &m_fake;
        CToolsSoundPropPage::s_mixer = {FakeNumDevs,      FakeDevCaps,       FakeOpen,
                                        FakeClose,        FakeLineInfo,      FakeLineControls,
                                        FakeGetDetails,   FakeSetDetails};
    }
    void TearDown() override
    {
        CToolsSoundPropPage::s_mixer = m_real;
        g_fake = nullptr;
        OptionsTest::TearDown();
    }
    FakeMixer m_fake;
    MixerApi m_real;
};

} // namespace

TEST_F(SoundPage, FindsTheMicrophoneOnTheInputMixer)
{
    m_fake.values[FakeMixer::Mute] = {1, 1};
    CToolsSoundPropPage page;
    EXPECT_TRUE(page.IsMixerPresent());
    ASSERT_TRUE(page.OpenMixer());
    EXPECT_EQ(1u, m_fake.opened);
    EXPECT_EQ((DWORD)FakeMixer::Volume, page.m_dwVolumeControl);
    EXPECT_EQ((DWORD)FakeMixer::Boost, page.m_dwBoostControl);
    EXPECT_EQ((DWORD)FakeMixer::Mute, page.m_dwMuteControl);
    EXPECT_EQ(2, page.m_nChannels);
    // Unmuted on opening.
    EXPECT_EQ((std::vector<DWORD>{0, 0}), m_fake.values[FakeMixer::Mute]);
    // Every channel gets the volume; the first one is read back.
    page.SetLineVolume(30000);
    EXPECT_EQ((std::vector<DWORD>{30000, 30000}), m_fake.values[FakeMixer::Volume]);
    EXPECT_EQ(30000, page.GetLineVolume());
    EXPECT_EQ(0, page.SetControlBoolean(page.m_dwBoostControl, page.m_nChannels, TRUE));
    EXPECT_TRUE(page.GetControlBoolean(page.m_dwBoostControl, page.m_nChannels));
    EXPECT_EQ(FakeMixer::LineIn, (int)page.FindMixerLine(MIXERLINE_COMPONENTTYPE_SRC_LINE,
                                                         MIXERLINE_COMPONENTTYPE_DST_WAVEIN));
    EXPECT_EQ(0xFFFF0000u, page.FindMixerLine((DWORD)-1, MIXERLINE_COMPONENTTYPE_DST_WAVEIN));
    EXPECT_EQ(0u, page.FindMixerLine(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
                                     MIXERLINE_COMPONENTTYPE_DST_SPEAKERS));
}

TEST_F(SoundPage, MixersWithoutAMicrophoneOrNoneAtAll)
{
    m_fake.devices = 1; // speakers only
    {
        CToolsSoundPropPage page;
        EXPECT_TRUE(page.IsMixerPresent());
        EXPECT_FALSE(page.OpenMixer());
        EXPECT_EQ(99u, m_fake.opened); // the speakers' mixer was closed again
        EXPECT_EQ(0, page.GetLineVolume());
        page.SetLineVolume(1000);
        EXPECT_EQ(0, m_fake.writes);
    }
    m_fake.devices = 0;
    CToolsSoundPropPage page;
    EXPECT_FALSE(page.IsMixerPresent());
    EXPECT_FALSE(page.OpenMixer());
    EXPECT_EQ(0, page.GetLineVolume());
}

TEST_F(SoundPage, FailedAndEmptyReads)
{
    m_fake.values[FakeMixer::Volume] = {40000, 40000};
    CToolsSoundPropPage page;
    ASSERT_TRUE(page.OpenMixer());
    m_fake.failReads = true;
    const int writes = m_fake.writes;
    EXPECT_EQ(0, page.GetLineVolume());
    page.SetLineVolume(5); // a set reads first, and stops when that fails
    EXPECT_EQ(writes, m_fake.writes);
    EXPECT_FALSE(page.GetControlBoolean(page.m_dwBoostControl, page.m_nChannels));
    // A read that succeeds without writing gives 0, not whatever was in memory.
    m_fake.failReads = false;
    m_fake.silentReads = true;
    EXPECT_EQ(0, page.GetLineVolume());
    // Absurd channel counts are bounded.
    EXPECT_EQ(0u, page.GetControlUnsigned(FakeMixer::Volume, 100000));
}

TEST_F(SoundPage, SingleChannelWithoutBoost)
{
    m_fake.channels = 1;
    m_fake.boost = false;
    m_fake.values[FakeMixer::Volume] = {32768};
    g_pAppConfig->SetSoundThreshold(50);
    g_pAppConfig->SetSoundTrigAdjust(-3);
    CToolsSheet sheet("Options");
    sheet.AddPage(&sheet.m_soundPage);
    CToolsSoundPropPage& page = sheet.m_soundPage;
    bool boostEnabled = true;
    int threshold = -1, volume = -1, levelAt50 = -1, levelAfterMove = -1;
    std::string thresholdText, volumeText, adjust;
    Script script({[&] {
                       boostEnabled = page.GetDlgItem(1124)->IsWindowEnabled() != FALSE;
                       threshold = page.m_threshold.GetPos();
                       thresholdText = ItemText(&page, 1030);
                       volume = page.m_volume.GetPos();
                       volumeText = ItemText(&page, 1031);
                       adjust = ItemText(&page, 1229);
                       levelAt50 = page.m_nThresholdLevel;
                       MoveSlider(&page, 1056, 25); // threshold 75
                       levelAfterMove = page.m_nThresholdLevel;
                       MoveSlider(&page, 1123, 6553);
                       // The spin moves the field adjustment within -9 to 9.
                       NMUPDOWN change = {};
                       change.hdr.hwndFrom = page.m_spin.GetSafeHwnd();
                       change.hdr.idFrom = 1227;
                       change.hdr.code = UDN_DELTAPOS;
                       change.iPos = -3;
                       change.iDelta = 1;
                       page.SendMessage(WM_NOTIFY, 1227, (LPARAM)&change);
                   },
                   [&] { sheet.PressButton(PSBTN_OK); }});
    EXPECT_EQ(IDOK, sheet.DoModal());
    EXPECT_FALSE(boostEnabled);
    EXPECT_EQ(50, threshold);
    EXPECT_EQ("50", thresholdText);
    EXPECT_EQ(32768, volume);
    EXPECT_EQ("50", volumeText);
    EXPECT_EQ("-3", adjust);
    EXPECT_EQ(11, levelAt50);
    EXPECT_EQ(37, levelAfterMove);
    EXPECT_EQ((std::vector<DWORD>{6553}), m_fake.values[FakeMixer::Volume]);
    EXPECT_EQ(75, g_pAppConfig->GetSoundThreshold());
    EXPECT_EQ(-2, g_pAppConfig->GetSoundTrigAdjust());
}

TEST_F(SoundPage, BoostCheckWritesAtOnceAndCancelKeepsTheThreshold)
{
    g_pAppConfig->SetSoundThreshold(0);
    CToolsSheet sheet("Options");
    sheet.AddPage(&sheet.m_soundPage);
    CToolsSoundPropPage& page = sheet.m_soundPage;
    int peakAfterPaint = -1;
    Script script({[&] {
        Click(&page, 1124);
        MoveSlider(&page, 1056, 0); // threshold 100, not kept
        // Silence: painting does not turn the kept peak into a level of 1.
        page.m_nPeak = 0;
        page.RedrawMeter();
        peakAfterPaint = page.m_nPeak;
        sheet.PressButton(PSBTN_CANCEL);
    }});
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ((std::vector<DWORD>{1, 1}), m_fake.values[FakeMixer::Boost]);
    EXPECT_EQ(0, peakAfterPaint);
    EXPECT_EQ(0, g_pAppConfig->GetSoundThreshold());
    EXPECT_EQ(1, page.m_nThresholdLevel);
}

// The machine of these tests has no sound card: no mixer, and the meter stays still.
TEST(SoundPageNoCard, NoMixerNoMeter)
{
    g_pAppConfig = new CAppConfig;
    {
        CToolsSoundPropPage page;
        EXPECT_FALSE(page.IsMixerPresent());
        EXPECT_FALSE(page.OpenMixer());
        EXPECT_EQ(0, page.GetLineVolume());
        page.SetLineVolume(20000);
    }
    CToolsSheet sheet("Options");
    sheet.AddPage(&sheet.m_soundPage);
    bool meter = true;
    Script script({[&] {
        meter = sheet.m_soundPage.m_hWaveIn != NULL;
        sheet.PressButton(PSBTN_CANCEL);
    }});
    sheet.DoModal();
    EXPECT_FALSE(meter);
    delete g_pAppConfig;
    g_pAppConfig = nullptr;
}
