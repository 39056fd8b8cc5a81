// The control wrappers against the real video and slider controls: every member reaches the
// control's member of that DISPID with its types, and a wrapper without a control answers
// failure instead of raising.
#include "gtest_wine.h"
#include <afxwin.h>
#include <afxole.h>
#include <memory>
#include "TabrelEx.h"
#include "VideoWindow.h"

namespace {

CWinApp theApp("wrappers test");

struct Member {
    const char* name;
    DISPID id;
};

// The member names as the controls publish them, with the DISPIDs the wrappers call.
const Member kVideoMembers[] = {
    {"FrameCount", 1}, {"FieldPosition", 2}, {"OverlayEnable", 3}, {"CaptureEnable", 4},
    {"TrimIn", 5}, {"TrimOut", 6}, {"AutoReplay", 7}, {"AutoRewind", 8},
    {"SoundMarkFrame", 9}, {"SoundThreshold", 10}, {"OverlayChanged", 11},
    {"PreTrigFrames", 12}, {"PostTrigFrames", 13}, {"CapturedFrames", 14}, {"Mirror", 15},
    {"PlayLocked", 16}, {"LockOffset", 17}, {"PlaySpeed", 18}, {"SuccFramesEnable", 19},
    {"ShadowViewEnable", 20}, {"ShadowViewMix", 21}, {"BlendViewEnable", 22},
    {"BlendViewTrans", 23}, {"MergeContinousActive", 24}, {"StepField", 25}, {"Seek", 26},
    {"Step", 27}, {"SeekField", 28}, {"Play", 29}, {"Stop", 30}, {"Pause", 31},
    {"SetCrop", 32}, {"Record", 33}, {"SetCaptureFilename", 34}, {"PlayBackwards", 35},
    {"TriggerCapture", 36}, {"LoadAVIFile", 37}, {"IsPlaying", 38}, {"ShowDisplayDlg", 39},
    {"ShowFormatDlg", 40}, {"ShowSourceDlg", 41}, {"IsValid", 42}, {"Draw", 43},
    {"SetMask", 44}, {"SetCropPos", 45}, {"SetCropSize", 46}, {"RealPlay", 47},
    {"RealPlayBackwards", 48}, {"SetSuccFramesSource", 49}, {"GetVideoFormat", 50},
    {"GetKeyColor", 51}, {"GetDroppedFrames", 52}, {"GetDriverName", 53},
    {"GetDriverDescription", 54}, {"GetDriverType", 55}, {"IsCaptureDeviceActive", 56},
    {"TrimFile", 57}, {"EnableSonderic", 58}, {"DisableCapture", 59},
    {"IsOverlayCapable", 60}, {"GetFrameRate", 61}, {"GetFirstValidFrame", 62},
    {"Transcode", 63}, {"SetMarkFieldAdjust", 64}, {"SetLastKnownGoodCamera", 65},
    {"GetLastKnownGoodCamera", 66}, {"SetLiveVideoMode", 67}, {"GetLiveVideoMode", 68},
    {"GetNumCaptureDevices", 69}, {"SetCaptureDevice", 70}, {"GetCurCaptureDevice", 71},
    {"GetOS", 72}, {"GetCaptureDriverName", 73}, {"SetCaptureDriverName", 74},
    {"GetCaptureDriverCount", 75}, {"SetShadowViewTabs", 76}, {"ClearShadowView", 77},
    {"MergeShadowView", 78}, {"GetClipWidth", 79}, {"GetClipHeight", 80},
    {"BlendFrame", 81}, {"SetSkipFields", 82}, {"AboutBox", -552},
};

const Member kSliderMembers[] = {
    {"LineSize", 1}, {"PageSize", 2}, {"TabMode", 3}, {"TabAdjustEnable", 4},
    {"GetTabCount", 5}, {"AddTab", 6}, {"GetRange", 7}, {"Refresh", -550},
    {"GetThumbPosition", 8}, {"SetRange", 9}, {"SetTabPosition", 10},
    {"GetTabPosition", 11}, {"SetPos", 12}, {"DeleteTab", 13}, {"SetTransparent", 14},
    {"SetAltThumb", 15}, {"AboutBox", -552},
};

void ExpectDispids(CWnd* wnd, const Member* members, size_t count)
{
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(S_OK, wnd->GetControlUnknown()->QueryInterface(IID_IDispatch, (void**)&dispatch));
    for (size_t i = 0; i < count; ++i) {
        WCHAR wide[64];
        MultiByteToWideChar(CP_ACP, 0, members[i].name, -1, wide, 64);
        LPOLESTR name = wide;
        DISPID id = 0;
        EXPECT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, &name, 1, 0, &id)) << members[i].name;
        EXPECT_EQ(members[i].id, id) << members[i].name;
    }
    dispatch->Release();
}

class Wrappers : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        AfxOleInit();
        AfxEnableControlContainer();
    }
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, 0, 0,
                                  800, 600, NULL, NULL));
        ASSERT_TRUE(video.CreateControlWindow(WS_VISIBLE, CRect(0, 0, 608, 456), &host, 1014));
        ASSERT_TRUE(slider.Create(NULL, NULL, WS_VISIBLE, CRect(0, 460, 608, 500), &host, 1208));
    }
    void TearDown() override
    {
        video.DestroyWindow();
        slider.DestroyWindow();
        host.DestroyWindow();
    }
    CWnd host;
    CVideoWindow video;
    CTabrelEx slider;
};

} // namespace

TEST_F(Wrappers, DispidsMatchTheControls)
{
    ExpectDispids(&video, kVideoMembers, sizeof kVideoMembers / sizeof *kVideoMembers);
    ExpectDispids(&slider, kSliderMembers, sizeof kSliderMembers / sizeof *kSliderMembers);
    EXPECT_TRUE(video.IsKindOf(RUNTIME_CLASS(CVideoWindow)));
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CTabrelEx)->CreateObject());
    EXPECT_TRUE(made && made->IsKindOf(RUNTIME_CLASS(CTabrelEx)));
}

TEST_F(Wrappers, VideoMembersCarryTheirTypes)
{
    // Properties written and read back.
    video.SetPlaySpeed(0.25f);
    EXPECT_FLOAT_EQ(0.25f, video.GetPlaySpeed());
    video.SetMirror(TRUE);
    EXPECT_TRUE(video.GetMirror());
    video.SetMirror(FALSE);
    EXPECT_FALSE(video.GetMirror());
    video.SetOverlayEnable(TRUE);
    EXPECT_TRUE(video.GetOverlayEnable());
    video.SetAutoReplay(TRUE);
    EXPECT_TRUE(video.GetAutoReplay());
    video.SetShadowViewEnable(FALSE);
    EXPECT_FALSE(video.GetShadowViewEnable());
    // Without a clip: the answers the control gives.
    EXPECT_FALSE(video.IsValid());
    EXPECT_TRUE(video.StepField(1));
    EXPECT_EQ(0, video.Seek(3));
    EXPECT_EQ(0, video.SeekField(3));
    EXPECT_FALSE(video.Play());
    EXPECT_FALSE(video.LoadAVIFile("", 0));
    EXPECT_FALSE(video.IsPlaying());
    EXPECT_EQ(0x100010, video.GetKeyColor());
    EXPECT_EQ(1, video.GetDriverType());
    short os = video.GetOS();
    EXPECT_TRUE(os == 0 || os == 1 || os == 3 || os == 4 || os == 5 || os == 6) << os;
    EXPECT_GE(video.GetFrameRate(), 0.0);
    EXPECT_GE(video.GetCaptureDriverCount(), 0);
    EXPECT_GE(video.GetNumCaptureDevices(), 0);
    video.SetLastKnownGoodCamera(2);
    EXPECT_EQ(2, video.GetLastKnownGoodCamera());
    video.SetLastKnownGoodCamera(1);
    EXPECT_EQ(720, video.GetClipWidth());
    EXPECT_EQ(480, video.GetClipHeight());
    EXPECT_FALSE(video.GetLiveVideoMode());
    // A pointer-width answer: no capture format without a live camera.
    LONG_PTR format = video.GetVideoFormat();
    EXPECT_EQ(0, format);
    // Draw receives the address of a device-context object of this process.
    CDC mem;
    ASSERT_TRUE(mem.CreateCompatibleDC(NULL));
    CBitmap bitmap;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 608;
    bi.bmiHeader.biHeight = -456;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    ASSERT_NE(dib, nullptr);
    HGDIOBJ old = SelectObject(mem.m_hDC, dib);
    RECT r = {0, 0, 607, 455};
    EXPECT_TRUE(video.Draw((LONG*)&mem, (LONG*)&r));
    SelectObject(mem.m_hDC, old);
    DeleteObject(dib);
}

TEST_F(Wrappers, SliderMembersCarryTheirTypes)
{
    EXPECT_TRUE(slider.SetRange(0, 1000));
    EXPECT_TRUE(slider.SetPos(700));
    EXPECT_EQ(700, slider.GetThumbPosition());
    slider.SetTabMode(2);
    EXPECT_EQ(2, slider.GetTabMode());
    EXPECT_TRUE(slider.SetRange(0, 100000));
    // A position beyond a short reaches the control whole (wrapped to a negative number it
    // would lie outside the range and be refused).
    LONG before = slider.GetTabCount();
    EXPECT_EQ(before + 1, slider.AddTab(40000));
    EXPECT_EQ(-1, slider.GetTabPosition(before + 2));
    EXPECT_TRUE(slider.SetTabPosition(1, 500));
    EXPECT_EQ(500, slider.GetTabPosition(1));
    EXPECT_TRUE(slider.DeleteTab(1));
    EXPECT_EQ(before, slider.GetTabCount());
    slider.SetTransparent(TRUE);
    slider.SetAltThumb(1);
}

TEST(WrappersWithoutControl, AnswerFailure)
{
    CWinApp* app = AfxGetApp();
    ASSERT_NE(app, nullptr);
    CVideoWindow video;
    CTabrelEx slider;
    EXPECT_FALSE(video.HasControl());
    EXPECT_FALSE(video.IsValid());
    EXPECT_FALSE(video.Play());
    EXPECT_EQ(0, video.GetFieldPosition());
    EXPECT_EQ(0.0, video.GetFrameRate());
    EXPECT_EQ(0, video.GetVideoFormat());
    EXPECT_EQ("", std::string((LPCTSTR)video.GetDriverName()));
    video.SetMirror(TRUE);
    video.SetLiveVideoMode(TRUE, FALSE);
    EXPECT_EQ(-1, slider.GetTabPosition(1));
    EXPECT_FALSE(slider.SetRange(0, 10));
    // A control that cannot be created (no parent window) leaves no window.
    EXPECT_FALSE(video.CreateControlWindow(WS_VISIBLE, CRect(0, 0, 10, 10), NULL, 1));
    EXPECT_FALSE(video.IsValid());
}
