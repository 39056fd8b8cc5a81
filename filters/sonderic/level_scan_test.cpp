#include "gtest_wine.h"
#include "level_scan.h"
#include <vector>

namespace {

TEST(LevelScan, ThresholdTable)
{
    const struct {
        int percent, level;
    } cases[] = {{0, 1}, {50, 11}, {100, 126}, {101, 127}, {1000, 127}, {-1, 0}, {-100, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(ThresholdLevel(c.percent), c.level) << c.percent << "%";
}

TEST(LevelScan, EightBitFiresStrictlyAboveTheLevel)
{
    PcmLayout mono8{1, 1, 8000};
    std::vector<uint8_t> quiet = {128, 139, 117, 128};   // magnitudes 0, 11, 11, 0
    EXPECT_EQ(FindLoudFrame(quiet.data(), quiet.size(), mono8, 11), -1);
    std::vector<uint8_t> loud = {128, 139, 140, 255};
    EXPECT_EQ(FindLoudFrame(loud.data(), loud.size(), mono8, 11), 2);
    std::vector<uint8_t> low = {128, 116};                // 116 - 128 = -12
    EXPECT_EQ(FindLoudFrame(low.data(), low.size(), mono8, 11), 1);
}

std::vector<uint8_t> Words(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (int v : values) {
        out.push_back(uint8_t(v & 0xFF));
        out.push_back(uint8_t((v >> 8) & 0xFF));
    }
    return out;
}

TEST(LevelScan, SixteenBitReadsOnlyTheFirstChannelOfWholeFrames)
{
    PcmLayout mono16{1, 2, 44100};
    auto a = Words({3071, -3071, 3072});
    EXPECT_EQ(FindLoudFrame(a.data(), a.size(), mono16, 11), 2);   // 3072 >> 8 = 12
    PcmLayout stereo16{2, 2, 44100};
    auto b = Words({0, 30000, 100, -30000, -3328, 0});
    EXPECT_EQ(FindLoudFrame(b.data(), b.size(), stereo16, 11), 2);   // right channel ignored
    // A last frame cut short is not read: its first channel would be loud.
    auto c = Words({0, 0, 30000});
    EXPECT_EQ(FindLoudFrame(c.data(), c.size(), stereo16, 11), -1);
    // Other sample sizes and broken layouts are not scanned.
    EXPECT_EQ(FindLoudFrame(c.data(), c.size(), PcmLayout{1, 3, 44100}, 0), -1);
    EXPECT_EQ(FindLoudFrame(c.data(), c.size(), PcmLayout{0, 2, 44100}, 0), -1);
}

TEST(LevelScan, EventTimeInMilliseconds)
{
    EXPECT_EQ(LoudFrameMilliseconds(44100, 441, 44100), 1010);
    EXPECT_EQ(LoudFrameMilliseconds(0, 47, 48000), 0);
    EXPECT_EQ(LoudFrameMilliseconds(48000LL * 3600 * 30, 0, 48000), 108000000);
    EXPECT_EQ(LoudFrameMilliseconds(100, 0, 0), 0);
}

} // namespace
