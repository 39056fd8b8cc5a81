// The multiplexer's numbering of frames and sound samples from their stream times, and
// hiding the AVI 1.0 index of a file that has an OpenDML one (on small RIFF fixtures).
#include "gtest_wine.h"
#include "avi_mux.h"
// The pure logic is compiled into the module; the test takes its source as it is.
#include "avi_mux_logic.cpp"
#include <cstring>
#include <string>
#include <vector>

namespace {

using avi_mux::StreamClock;

TEST(AviMuxClock, VideoFramesNumberedByTimeNeverRepeatingAndSkippingOnlyGaps)
{
    const int64_t p = 333667;
    struct Step {
        int64_t start;
        int64_t expected;  // -1: left out (before the origin)
    } steps[] = {{-p, -1}, {0, 0}, {p - 40, 1}, {2 * p + 30, 2}, {2 * p + 50, 3} /* same time again: next */,
                 {6 * p, 6} /* two dropped */, {7 * p, 7}};
    StreamClock clock;
    for (const Step& s : steps) {
        int64_t skip = 0;
        EXPECT_EQ(clock.Place(s.start, p, 1, true, 0, &skip), s.expected) << s.start;
        EXPECT_EQ(skip, s.expected < 0 ? 1 : 0);
    }
}

TEST(AviMuxClock, SoundContinuesThroughJitterCutsBeforeTheOriginAndKeepsRealGaps)
{
    StreamClock clock;
    int64_t skip = 0;
    // A buffer that began 100 samples before the origin loses those samples.
    EXPECT_EQ(clock.Place(-100, 1, 4410, false, 4410, &skip), 0);
    EXPECT_EQ(skip, 100);
    EXPECT_EQ(clock.next, 4310);
    // Times a little early or late: the sound goes on without a hole or an overlap.
    EXPECT_EQ(clock.Place(4300, 1, 4410, false, 4410, &skip), 4310);
    EXPECT_EQ(clock.Place(8740, 1, 4410, false, 4410, &skip), 8720);
    EXPECT_EQ(skip, 0);
    // More than the allowed jump later: a gap.
    EXPECT_EQ(clock.Place(30000, 1, 4410, false, 4410, &skip), 30000);
    EXPECT_EQ(clock.next, 34410);
}

struct MemoryFile {
    std::vector<uint8_t> bytes;
    avi_mux::FileAccess Access()
    {
        avi_mux::FileAccess a;
        a.read = [this](uint64_t pos, void* buf, uint32_t len) {
            if (pos + len > bytes.size())
                return false;
            memcpy(buf, bytes.data() + pos, len);
            return true;
        };
        a.write = [this](uint64_t pos, const void* buf, uint32_t len) {
            if (pos + len > bytes.size())
                return false;
            memcpy(bytes.data() + pos, buf, len);
            return true;
        };
        return a;
    }
    void Put32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(v >> (8 * i)));
    }
    void Code(const char* c) { bytes.insert(bytes.end(), c, c + 4); }
    size_t Chunk(const char* code, uint32_t size)
    {
        size_t at = bytes.size();
        Code(code);
        Put32(size);
        bytes.resize(bytes.size() + size + (size & 1));
        return at;
    }
};

// RIFF AVI with a header list (main header flags: has index), a movi list and an idx1
// chunk; with `extended`, an AVIX list follows as in a file past its first gigabyte.
MemoryFile MakeAvi(bool extended, size_t* idx1At, size_t* flagsAt)
{
    MemoryFile f;
    f.Code("RIFF");
    f.Put32(0);
    f.Code("AVI ");
    f.Code("LIST");
    f.Put32(4 + 8 + 56);
    f.Code("hdrl");
    f.Code("avih");
    f.Put32(56);
    *flagsAt = f.bytes.size() + 12;
    for (int i = 0; i < 14; ++i)
        f.Put32(i == 3 ? 0x10 | 0x100 : 0);
    f.Chunk("LIST", 20);
    *idx1At = f.Chunk("idx1", 33);
    uint32_t riffSize = uint32_t(f.bytes.size() - 8);
    memcpy(f.bytes.data() + 4, &riffSize, 4);
    if (extended) {
        f.Code("RIFF");
        f.Put32(4 + 8 + 16);
        f.Code("AVIX");
        f.Chunk("LIST", 16);
    }
    return f;
}

TEST(AviMuxIndex, CompatibilityIndexHiddenOnlyWhereAnOpenDmlIndexStandsIn)
{
    for (bool extended : {false, true}) {
        SCOPED_TRACE(extended ? "two RIFF lists" : "one RIFF list");
        size_t idx1At = 0, flagsAt = 0;
        MemoryFile f = MakeAvi(extended, &idx1At, &flagsAt);
        const std::vector<uint8_t> before = f.bytes;
        EXPECT_EQ(avi_mux::HideCompatibilityIndex(f.Access()), extended);
        if (!extended) {
            EXPECT_EQ(f.bytes, before);
            continue;
        }
        EXPECT_EQ(std::string(reinterpret_cast<char*>(&f.bytes[idx1At]), 4), "JUNK");
        uint32_t flags;
        memcpy(&flags, &f.bytes[flagsAt], 4);
        EXPECT_EQ(flags, 0x100u);  // "has index" cleared, the rest kept
    }
    // Not an AVI, or cut short: nothing is touched.
    MemoryFile junk;
    junk.Code("RIFX");
    junk.Put32(4);
    junk.Code("WAVE");
    EXPECT_FALSE(avi_mux::HideCompatibilityIndex(junk.Access()));
    size_t a, b;
    MemoryFile cut = MakeAvi(true, &a, &b);
    cut.bytes.resize(40);
    EXPECT_FALSE(avi_mux::HideCompatibilityIndex(cut.Access()));
}

} // namespace
