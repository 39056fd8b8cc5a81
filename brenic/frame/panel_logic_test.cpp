// The panels' arithmetic and tables, without windows.
#include "gtest_wine.h"
#include "PanelLogic.h"

using namespace panel;

TEST(PanelLogic, PositionTexts)
{
    struct Case {
        int position;
        double rate;
        BOOL frames;
        const char* text;
    } cases[] = {
        {125, 29.97, TRUE, "02:02:1"},  // 125 / 60, 62 mod 30, 125 mod 2
        {-1, 29.97, TRUE, "00:00:-1"},  // truncated toward zero
        {0, 29.97, TRUE, "00:00:0"},
        {120, 29.97, FALSE, "00:02:06"}, // 120 / 2 / 29 = 2.0689 s
        {125, 29.97, FALSE, "00:02:15"}, // 2.155 s
        {7200, 30.0, FALSE, "02:00:00"},
        {125, 25.0, FALSE, "00:02:50"},
        {125, 0.0, FALSE, "00:02:15"},   // rate 0: counted at 29, no division by zero
        {125, -1.0, FALSE, "00:02:15"},  // no control
        {125, 0.5, FALSE, "00:02:15"},   // truncates to 0
    };
    for (const Case& c : cases)
        EXPECT_STREQ(c.text, (LPCTSTR)FormatPosition(c.position, c.rate, c.frames))
            << c.position << " at " << c.rate;
    EXPECT_EQ(29, CountingRate(29.97));
    EXPECT_EQ(29, CountingRate(0));
    EXPECT_EQ(25, CountingRate(25));
}

TEST(PanelLogic, RecordLooksFollowTheVideoState)
{
    struct Case {
        long code;
        BOOL change, checked;
        int image, trigger;
    } cases[] = {
        {200, TRUE, FALSE, 0, 0}, {201, TRUE, FALSE, 0, 0}, {202, TRUE, TRUE, 2, -1},
        {203, TRUE, TRUE, 1, 0},  {204, TRUE, TRUE, 2, 1},  {100, FALSE, FALSE, 0, -1},
        {0, FALSE, FALSE, 0, -1}, {1, FALSE, FALSE, 0, -1},
    };
    for (const Case& c : cases) {
        RecordLook look = RecordLookForCode(c.code);
        EXPECT_EQ(c.change, look.change) << c.code;
        if (!c.change)
            continue;
        EXPECT_EQ(c.checked, look.checked) << c.code;
        EXPECT_EQ(c.image, look.stateImage) << c.code;
        EXPECT_EQ(c.trigger, look.trigger) << c.code;
    }
}

namespace {
MemoryFigures g_figures;
MemoryFigures Figures() { return g_figures; }
} // namespace

TEST(PanelLogic, VistrelAdmission)
{
    const unsigned long long MB = 1 << 20;
    MemorySource previous = SetMemorySource(Figures);
    struct Case {
        BOOL live, clip;
        int frames;
        double rate;
        unsigned long long available, total; // MB
        VistrelRefusal result;
    } cases[] = {
        {TRUE, TRUE, 30, 29.97, 0, 0, kVistrelLive},
        {FALSE, FALSE, 30, 29.97, 0, 0, kVistrelNoClip},
        {FALSE, TRUE, 60, 29.97, 0, 0, kVistrelAllowed},    // short clips need no figures
        {FALSE, TRUE, 91, 29.97, 4096, 4096, kVistrelTooLong},
        {FALSE, TRUE, 61, 29.97, 4096, 4096, kVistrelAllowed},
        // 90 frames at 29.97 need 118 MB, at 25 142 MB.
        {FALSE, TRUE, 90, 29.97, 117, 245, kVistrelNoMemory},
        {FALSE, TRUE, 90, 29.97, 118, 0, kVistrelAllowed},
        {FALSE, TRUE, 90, 29.97, 0, 246, kVistrelAllowed},
        {FALSE, TRUE, 90, 25.0, 141, 269, kVistrelNoMemory},
        {FALSE, TRUE, 90, 25.0, 142, 0, kVistrelAllowed},
        {FALSE, TRUE, 90, 25.0, 0, 270, kVistrelAllowed},
        {FALSE, TRUE, 61, 29.97, 79, 207, kVistrelNoMemory}, // 61 frames: 80 MB
    };
    for (const Case& c : cases) {
        g_figures = {c.available * MB, c.total * MB};
        EXPECT_EQ(c.result, CanEnableVistrel(c.live, c.clip, c.frames, c.rate))
            << c.frames << " frames at " << c.rate << ", " << c.available << "/" << c.total;
    }
    EXPECT_STREQ("Clip is too long.  Trim clip to enable Vistrel",
                 VistrelRefusalText(kVistrelTooLong));
    SetMemorySource(previous);
    // The system's own figures are read when no test replaces them.
    EXPECT_GT(ReadMemory().totalPhysical, 0u);
}

TEST(PanelLogic, CamerasToolsColoursAndTexts)
{
    EXPECT_EQ(0, NextCamera(2, 3));
    EXPECT_EQ(1, NextCamera(0, 3));
    EXPECT_EQ(0, NextCamera(-1, 1));
    EXPECT_EQ(0, NextCamera(-1, 2));
    EXPECT_EQ(2, NextCamera(2, 0)); // no device: nothing changes
    EXPECT_EQ(0, CameraStateImage(0));
    EXPECT_EQ(1, CameraStateImage(1));
    EXPECT_EQ(2, CameraStateImage(2));
    EXPECT_EQ(0, CameraStateImage(3));
    EXPECT_EQ(0, CameraStateImage(-1));

    EXPECT_EQ(32831u, FindTool(0)->command);
    EXPECT_EQ(44524u, FindTool(6)->command);
    EXPECT_EQ(1097u, FindTool(6)->button);
    EXPECT_EQ(nullptr, FindTool(8));
    EXPECT_EQ(nullptr, FindTool(-1));
    EXPECT_EQ(4, FindToolButton(1099)->index);

    EXPECT_EQ(1279u, LineColourButton(0));
    EXPECT_EQ(1280u, LineColourButton(255));
    EXPECT_EQ(1281u, LineColourButton(65280));
    EXPECT_EQ(1282u, LineColourButton(16711680));
    EXPECT_EQ(1283u, LineColourButton(65535));
    EXPECT_EQ(0u, LineColourButton(RGB(1, 2, 3)));

    EXPECT_STREQ("Time remaining: 01:30", (LPCTSTR)TimeRemainingText(90));
    EXPECT_STREQ("Time remaining: 00:00", (LPCTSTR)TimeRemainingText(-1));
    EXPECT_EQ(1026u, ReplayModeButton(1));
    EXPECT_EQ(0u, ReplayModeButton(3));
}
