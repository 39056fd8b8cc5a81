// The arithmetic of the options windows and the disk-capacity dialog, and its drawing.
#include "gtest_wine.h"
#include <afxwin.h>
#include <vector>
#include "OptionFigures.h"
#include "ToolsDlg.h"
#include "ToolsKeyColorPages.h"

using namespace options;

TEST(SpeedSlider, EveryPercentSurvivesStoringAndReading)
{
    for (int percent = 1; percent <= 100; ++percent) {
        const int position = 100 - percent;
        const float stored = (float)(100 - position) / 100.0f; // as the Video page stores it
        EXPECT_EQ(percent, SpeedPercent(stored)) << percent;
        EXPECT_EQ(position, SpeedSliderPosition(stored)) << percent;
    }
    // Truncation would lose a percent for these.
    EXPECT_EQ(29, SpeedPercent(0.29f));
    EXPECT_EQ(53, SpeedPercent(0.53f));
    // Full speed at the left end, 1 % at the right; nothing outside 0 to 99.
    EXPECT_EQ(0, SpeedSliderPosition(1.0f));
    EXPECT_EQ(99, SpeedSliderPosition(0.01f));
    EXPECT_EQ(99, SpeedSliderPosition(0.0f));
    EXPECT_EQ(99, SpeedSliderPosition(0.001f));
    EXPECT_EQ(0, SpeedSliderPosition(2.5f));
}

TEST(TrigFrames, MovedCountIsClampedAndTheOtherGivesWay)
{
    struct Case { int moved, other, movedAfter, otherAfter; };
    const Case cases[] = {
        {39, 30, 39, 30},  {100, 30, 100, 20}, {115, 30, 110, 10}, {120, 10, 110, 10},
        {90, 90, 90, 30},  {5, 30, 10, 30},    {10, 120, 10, 110}, {60, 60, 60, 60},
    };
    for (const Case& c : cases) {
        int moved = c.moved, other = c.other;
        BalanceTrigFrames(moved, other);
        EXPECT_EQ(c.movedAfter, moved) << c.moved << "/" << c.other;
        EXPECT_EQ(c.otherAfter, other) << c.moved << "/" << c.other;
        EXPECT_LE(moved + other, 120);
        EXPECT_GE(other, 10);
    }
    EXPECT_DOUBLE_EQ(29.97, LabelFrameRate(0.0));
    EXPECT_DOUBLE_EQ(29.97, LabelFrameRate(-1.0));
    EXPECT_DOUBLE_EQ(25.0, LabelFrameRate(25.0));
}

TEST(SoundTrigger, ThresholdLevels)
{
    for (int t = 0; t <= 14; ++t)
        EXPECT_EQ(1, ThresholdLevel(t)) << t;
    EXPECT_EQ(2, ThresholdLevel(15));
    EXPECT_EQ(11, ThresholdLevel(50));
    EXPECT_EQ(37, ThresholdLevel(75));
    EXPECT_EQ(127, ThresholdLevel(100));
    EXPECT_EQ(127, ThresholdLevel(150));
    EXPECT_EQ(0, ThresholdLevel(-1000));
}

TEST(SoundTrigger, PeakLevels)
{
    std::vector<short> samples = {0, 100, -2816, 2000};
    EXPECT_EQ(11, PeakLevel(samples.data(), 8));
    samples = {0, 2816, -100};
    EXPECT_EQ(11, PeakLevel(samples.data(), 6));
    samples = {0, 0, 0};
    EXPECT_EQ(0, PeakLevel(samples.data(), 6));
    // The most negative sample is as loud as it gets, not silence.
    samples = {0, -32768, 0};
    EXPECT_EQ(127, PeakLevel(samples.data(), 6));
    samples = {32767};
    EXPECT_EQ(127, PeakLevel(samples.data(), 2));
    // An odd byte count leaves the half sample out.
    const BYTE odd[] = {0x00, 0x0B, 0x00, 0x7F, 0x00};
    EXPECT_EQ(11, PeakLevel(odd, 3));
    EXPECT_EQ(127, PeakLevel(odd, 5));
    EXPECT_EQ(0, PeakLevel(odd, 1));
    EXPECT_EQ(0, PeakLevel(odd, 0));
    EXPECT_DOUBLE_EQ(0.0, MeterFraction(0));
    EXPECT_DOUBLE_EQ(0.0, MeterFraction(1));
    EXPECT_DOUBLE_EQ(1.0, MeterFraction(127));
    EXPECT_NEAR(0.5, MeterFraction(11), 0.01);
}

namespace {

// The gauge drawn into a memory bitmap: the colour at a column of the middle row.
class GaugeCanvas
{
public:
    explicit GaugeCanvas(double fraction)
    {
        m_dc.CreateCompatibleDC(NULL);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = 108;
        info.bmiHeader.biHeight = -20;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc.GetSafeHdc(), &info, DIB_RGB_COLORS, &bits, NULL, 0);
        m_old = SelectObject(m_dc.GetSafeHdc(), m_bitmap);
        // Frame 0..104 wide: the inside is 100 pixels from x = 2.
        DrawGauge(&m_dc, CRect(0, 0, 104, 20), fraction);
    }
    ~GaugeCanvas()
    {
        SelectObject(m_dc.GetSafeHdc(), m_old);
        DeleteObject(m_bitmap);
    }
    COLORREF At(int percent) { return m_dc.GetPixel(2 + percent, 10); }

private:
    CDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
};

const COLORREF kGreen = RGB(0, 255, 0), kYellow = RGB(255, 255, 0), kRed = RGB(255, 0, 0);

} // namespace

TEST(Gauge, BandsAtZeroEightyNinetySevenAndFull)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE) & 0xFFFFFF;
    {
        GaugeCanvas gauge(0.0);
        EXPECT_EQ(face, gauge.At(0));
        EXPECT_EQ(face, gauge.At(99));
    }
    {
        GaugeCanvas gauge(0.80);
        EXPECT_EQ(kGreen, gauge.At(0));
        EXPECT_EQ(kGreen, gauge.At(74));
        EXPECT_EQ(kYellow, gauge.At(75));
        EXPECT_EQ(kYellow, gauge.At(79));
        EXPECT_EQ(face, gauge.At(80));
    }
    {
        GaugeCanvas gauge(0.97);
        EXPECT_EQ(kGreen, gauge.At(74));
        EXPECT_EQ(kYellow, gauge.At(94));
        EXPECT_EQ(kRed, gauge.At(95));
        EXPECT_EQ(kRed, gauge.At(96));
        EXPECT_EQ(face, gauge.At(97));
    }
    {
        GaugeCanvas gauge(1.0);
        EXPECT_EQ(kGreen, gauge.At(10));
        EXPECT_EQ(kYellow, gauge.At(80));
        EXPECT_EQ(kRed, gauge.At(99));
    }
    {
        GaugeCanvas gauge(-0.5); // nonsense reads as empty
        EXPECT_EQ(face, gauge.At(0));
    }
}

TEST(DiskFigures, GroupsEveryThreeDigits)
{
    EXPECT_STREQ("0", GroupDigits(0));
    EXPECT_STREQ("999", GroupDigits(999));
    EXPECT_STREQ("1,000", GroupDigits(1000));
    EXPECT_STREQ("1,234", GroupDigits(1234));
    EXPECT_STREQ("2000,000", GroupDigits(2000000)); // one separator only
    EXPECT_STREQ("-12345", GroupDigits(-12345));
}

TEST(DiskFigures, TableOfDrives)
{
    struct Case {
        double freeBytes, totalBytes, clipBytes;
        LONG bytesPerField;
        double rate;
        int swingFrames;
        int percent;
        const char *nonClip, *clips, *free, *total;
        const char *clipMinutes, *freeMinutes, *capacityMinutes;
        const char *clipSwings, *freeSwings, *capacitySwings;
    };
    const Case cases[] = {
        // 1,234,567,890 free bytes at 30 fps of 60,000-byte fields (108 MB a minute).
        {1234567890.0, 10000000000.0, 2000000000.0, 60000, 30.0, 70, 87, "6,765 MB",
         "2,000 MB", "1,234 MB", "10,000 MB", "18", "11", "29", "476", "293", "770"},
        {999999999.0, 1000000000.0, 0.0, 60000, 30.0, 70, 0, "0 MB", "0 MB", "999 MB",
         "1,000 MB", "0", "9", "9", "0", "238", "238"},
        // "<1" for a little, "0" for nothing.
        {30000000.0, 100000000.0, 0.0, 60000, 30.0, 70, 70, "70 MB", "0 MB", "30 MB",
         "100 MB", "0", "<1", "0", "0", "7", "7"},
        {0.0, 100000000.0, 50000000.0, 60000, 30.0, 70, 100, "50 MB", "50 MB", "0 MB",
         "100 MB", "<1", "0", "0", "11", "0", "11"},
        // Unknown total, capture format or rate: no figures to divide by.
        {0.0, 0.0, 0.0, 60000, 30.0, 70, 0, "0 MB", "0 MB", "0 MB", "0 MB", "0", "0", "0",
         "0", "0", "0"},
        {5e9, 1e10, 0.0, -1, 30.0, 70, 50, "5,000 MB", "0 MB", "5,000 MB", "10,000 MB", "-",
         "-", "-", "-", "-", "-"},
        {5e9, 1e10, 0.0, 60000, 0.0, 70, 50, "5,000 MB", "0 MB", "5,000 MB", "10,000 MB", "-",
         "-", "-", "-", "-", "-"},
        // 2 TB: the thousands apart by one comma only.
        {1e12, 2e12, 0.0, 60000, 30.0, 70, 50, "1000,000 MB", "0 MB", "1000,000 MB",
         "2000,000 MB", "0", "9,259", "9,259", "0", "238,095", "238,095"},
    };
    for (const Case& c : cases) {
        DiskInput in = {c.freeBytes, c.totalBytes, c.clipBytes, c.bytesPerField, c.rate,
                        c.swingFrames};
        const DiskFigures out = ComputeDiskFigures(in);
        SCOPED_TRACE(c.freeBytes);
        EXPECT_EQ(c.percent, out.percentFull);
        EXPECT_STREQ(c.nonClip, out.nonClipBytes);
        EXPECT_STREQ(c.clips, out.clipBytes);
        EXPECT_STREQ(c.free, out.freeBytes);
        EXPECT_STREQ(c.total, out.totalBytes);
        EXPECT_STREQ(c.clipMinutes, out.clipMinutes);
        EXPECT_STREQ(c.freeMinutes, out.freeMinutes);
        EXPECT_STREQ(c.capacityMinutes, out.capacityMinutes);
        EXPECT_STREQ(c.clipSwings, out.clipSwings);
        EXPECT_STREQ(c.freeSwings, out.freeSwings);
        EXPECT_STREQ(c.capacitySwings, out.capacitySwings);
    }
    DiskInput empty = {0.0, 0.0, 0.0, 60000, 30.0, 70};
    EXPECT_DOUBLE_EQ(0.0, ComputeDiskFigures(empty).usedFraction);
}

TEST(KeyboardPage, ChosenKeysAndClashes)
{
    // A combo without a selection (a stored key above F6) keeps the stored key.
    EXPECT_EQ(8, CToolsKeyBdPropPage::ChosenKey(CB_ERR, 8));
    EXPECT_EQ(0, CToolsKeyBdPropPage::ChosenKey(0, 8));
    EXPECT_EQ(3, CToolsKeyBdPropPage::ChosenKey(3, 8));
    struct Case { int manual, trigger, start; BOOL clash; };
    const Case cases[] = {
        {0, 0, 0, FALSE}, {2, 3, 1, FALSE}, {1, 0, 1, TRUE},  {1, 1, 0, TRUE},
        {0, 4, 4, TRUE},  {8, 0, 0, FALSE}, {8, 9, 8, TRUE},  {0, 0, 6, FALSE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.clash, CToolsKeyBdPropPage::KeysClash(c.manual, c.trigger, c.start))
            << c.manual << c.trigger << c.start;
}

TEST(ToolsDlg, CaptureFolderMustExist)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char file[MAX_PATH];
    GetTempFileNameA(temp, "opt", 0, file);
    EXPECT_TRUE(CToolsDlg::IsUsableCaptureFolder(temp));
    EXPECT_FALSE(CToolsDlg::IsUsableCaptureFolder(""));
    EXPECT_FALSE(CToolsDlg::IsUsableCaptureFolder("   "));
    EXPECT_FALSE(CToolsDlg::IsUsableCaptureFolder(CString(temp) + "no such folder"));
    EXPECT_FALSE(CToolsDlg::IsUsableCaptureFolder(file)); // a file, not a folder
    DeleteFileA(file);
}
