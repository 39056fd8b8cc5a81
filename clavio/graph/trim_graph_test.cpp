// Trimming through the editing timeline: the engine's TrimFile keeps trim in to trim out
// (pictures copied, numbered as in the source, with their own sound to the sample), NTSC and
// PAL; a clip of three streams is refused; a missing or empty source fails at once.
#include "TrimGraph.h"
#include "DsVideoEngine.h"
#include "AviTrimmer.h"
#include "ProgressDlg.h"
#include "engine_test_support.h"
#include "av_readback.h"
#include <vector>

namespace {

CRecordingApp theApp;

// The fixture's sound: each frame's share starts a square wave of 48 samples afresh.
int SamplesOfFrame(bool pal, int n)
{
    static const int ntsc[5] = {1602, 1601, 1602, 1601, 1602};
    return pal ? 1920 : ntsc[n % 5];
}

class Output
{
public:
    explicit Output(const char* name)
        : unix(std::string("/tmp/") + name + std::to_string(GetCurrentProcessId()) + ".avi"),
          path(WinePath(unix).c_str())
    {
        remove(unix.c_str());
    }
    ~Output() { remove(unix.c_str()); }
    std::string unix;
    CString path;
};

DvClipFormat Clip(int frames, bool pal)
{
    DvClipFormat f;
    f.frames = frames;
    f.pal = pal;
    return f;
}

struct TrimCase {
    bool pal;
    int in, out;
    bool avi = false;   // the AVI trimmer (the engine interface's own) instead of the graph
};

// The engine interface's own trim, which only an engine without a trimmer of its own uses.
bool AviTrim(const CString& from, const CString& to, long in, long out)
{
    CAviTrimmer trimmer;
    trimmer.SetSource(from);
    trimmer.SetDestination(to);
    trimmer.SetTrimIn(in);
    trimmer.SetTrimOut(out);
    return trimmer.Trim() == 0;
}

bool Trim(bool avi, const CString& from, const CString& to, long in, long out)
{
    CDsVideoEngine engine;
    return avi ? AviTrim(from, to, in, out) : engine.TrimFile(from, to, in, out) != FALSE;
}

class TrimFileTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimFileTest, KeepsTrimInToTrimOutWithTheirSound)
{
    const TrimCase t = GetParam();
    TestClip source(Clip(30, t.pal), "trim_src");
    ASSERT_TRUE(source.ok);
    Output out("trim_out");
    theApp.ClearBoxes();
    ASSERT_TRUE(Trim(t.avi, source.path, out.path, t.in, t.out)) << theApp.AllBoxes();
    EXPECT_EQ(theApp.AllBoxes(), "");

    ReadBack c = ReadClipBack(out.unix);
    ASSERT_TRUE(c.opened);
    EXPECT_EQ(c.streams, 2);
    EXPECT_EQ(c.videoCodec, AV_CODEC_ID_DVVIDEO);  // copied, not re-encoded
    EXPECT_EQ(c.width, 720);
    EXPECT_EQ(c.height, t.pal ? 576 : 480);
    std::vector<int> expected;
    int samples = 0;
    for (int n = t.in; n <= t.out; ++n) {
        expected.push_back(n);
        samples += SamplesOfFrame(t.pal, n);
    }
    EXPECT_EQ(c.numbers, expected);
    // The sound of exactly those frames: its length, and the first frame's share starting
    // the wave from its beginning (24 samples up, then down).
    EXPECT_NEAR(double(c.left.size()), double(samples), 1.0);
    ASSERT_GE(c.left.size(), 25u);
    EXPECT_EQ(c.left[0], 1000);
    EXPECT_EQ(c.left[23], 1000);
    EXPECT_EQ(c.left[24], -1000);
    const size_t second = size_t(SamplesOfFrame(t.pal, t.in));
    if (c.left.size() > second + 1)
        EXPECT_EQ(c.left[second], 1000) << "the second frame's sound starts its wave afresh";
}

INSTANTIATE_TEST_SUITE_P(Ranges, TrimFileTest,
                         testing::Values(TrimCase{false, 10, 20}, TrimCase{false, 5, 5}, TrimCase{false, 0, 29},
                                         TrimCase{true, 3, 7}, TrimCase{true, 12, 12},
                                         TrimCase{false, 10, 20, true}, TrimCase{false, 0, 29, true},
                                         TrimCase{true, 3, 7, true}));

// The clip's streams written again in another order, or one of them twice: `order` lists
// the source stream of each stream of the new file.
bool Remux(const std::string& from, const std::string& to, const std::vector<int>& order)
{
    AVFormatContext* in = nullptr;
    if (avformat_open_input(&in, from.c_str(), nullptr, nullptr) < 0)
        return false;
    avformat_find_stream_info(in, nullptr);
    AVFormatContext* out = nullptr;
    avformat_alloc_output_context2(&out, nullptr, "avi", to.c_str());
    for (int source : order) {
        AVStream* s = avformat_new_stream(out, nullptr);
        avcodec_parameters_copy(s->codecpar, in->streams[source]->codecpar);
        s->time_base = in->streams[source]->time_base;
    }
    bool ok = avio_open(&out->pb, to.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
    AVPacket* pkt = av_packet_alloc();
    while (ok && av_read_frame(in, pkt) >= 0) {
        for (size_t i = 0; ok && i < order.size(); ++i) {
            if (order[i] != pkt->stream_index)
                continue;
            AVPacket* copy = av_packet_clone(pkt);
            copy->stream_index = int(i);
            av_packet_rescale_ts(copy, in->streams[pkt->stream_index]->time_base, out->streams[i]->time_base);
            ok = av_interleaved_write_frame(out, copy) >= 0;
            av_packet_free(&copy);
        }
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    ok = ok && av_write_trailer(out) >= 0;
    avio_closep(&out->pb);
    avformat_free_context(out);
    avformat_close_input(&in);
    return ok;
}

std::string UnixOf(const char* name)
{
    return std::string("/tmp/") + name + std::to_string(GetCurrentProcessId()) + ".avi";
}

TEST(TrimGraph, CutsAPalClipWhoseSoundComesFirst)
{
    TestClip source(Clip(20, true), "trim_pal_src");
    ASSERT_TRUE(source.ok);
    Output swapped("trim_pal_swapped");
    ASSERT_TRUE(Remux(UnixOf("trim_pal_src"), swapped.unix, {1, 0}));
    for (bool avi : {false, true}) {
        Output out("trim_pal_out");
        theApp.ClearBoxes();
        ASSERT_TRUE(Trim(avi, swapped.path, out.path, 4, 9)) << theApp.AllBoxes();
        ReadBack c = ReadClipBack(out.unix);
        EXPECT_EQ(c.numbers, (std::vector<int>{4, 5, 6, 7, 8, 9})) << avi;
        // Cut at 25 frames a second: six frames of sound, not six at 29.97.
        EXPECT_NEAR(double(c.left.size()), 6 * 1920.0, 1.0) << avi;
    }
}

TEST(TrimGraph, RefusesAClipOfThreeStreams)
{
    TestClip source(Clip(10, false), "trim_three_src");
    ASSERT_TRUE(source.ok);
    Output three("trim_three");
    ASSERT_TRUE(Remux(UnixOf("trim_three_src"), three.unix, {0, 1, 1}));
    ASSERT_EQ(ReadClipBack(three.unix).streams, 3);
    Output out("trim_three_out");
    theApp.ClearBoxes();
    CTrimGraph trim;
    trim.SetSource(three.path);
    trim.SetDestination(out.path);
    trim.SetFirstFrame(2);
    trim.SetEndFrame(5);
    EXPECT_EQ(trim.Run(), 1);
    EXPECT_TRUE(theApp.Saw("Could not create complete trim process")) << theApp.AllBoxes();
    EXPECT_FALSE(ReadClipBack(out.unix).opened);
}

TEST(TrimGraph, MissingSourceFailsWithItsName)
{
    Output out("trim_missing_out");
    theApp.ClearBoxes();
    CTrimGraph trim;
    trim.SetSource("C:\\no such folder\\clip.avi");
    trim.SetDestination(out.path);
    trim.SetFirstFrame(0);
    trim.SetEndFrame(3);
    EXPECT_EQ(trim.Run(), 1);
    EXPECT_TRUE(theApp.Saw("Could not open file C:\\no such folder\\clip.avi")) << theApp.AllBoxes();
    EXPECT_FALSE(ReadClipBack(out.unix).opened);
}

// An uncompressed clip with sound: 16 x 8 32-bit pictures at 29.97 frames a second whose
// first byte is the frame number, and 48 kHz mono sound whose samples carry the number of the
// frame they play with.
bool WriteUncompressedClip(const std::string& path, int frames)
{
    AVFormatContext* out = nullptr;
    if (avformat_alloc_output_context2(&out, nullptr, "avi", path.c_str()) < 0)
        return false;
    AVStream* video = avformat_new_stream(out, nullptr);
    video->codecpar->codec_type = AVMEDIA_TYPE_VIDEO;
    video->codecpar->codec_id = AV_CODEC_ID_RAWVIDEO;
    video->codecpar->format = AV_PIX_FMT_BGRA;
    video->codecpar->width = 16;
    video->codecpar->height = 8;
    video->codecpar->bits_per_coded_sample = 32;
    video->time_base = {1001, 30000};
    AVStream* sound = avformat_new_stream(out, nullptr);
    sound->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
    sound->codecpar->codec_id = AV_CODEC_ID_PCM_S16LE;
    sound->codecpar->sample_rate = 48000;
    sound->codecpar->ch_layout = AV_CHANNEL_LAYOUT_MONO;
    sound->codecpar->block_align = 2;
    sound->codecpar->bits_per_coded_sample = 16;
    sound->codecpar->bit_rate = 48000 * 16;
    sound->time_base = {1, 48000};
    bool ok = avio_open(&out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 && avformat_write_header(out, nullptr) >= 0;
    AVPacket* pkt = av_packet_alloc();
    for (int n = 0; ok && n < frames; ++n) {
        ok = av_new_packet(pkt, 16 * 8 * 4) >= 0;
        memset(pkt->data, 0, pkt->size);
        pkt->data[0] = uint8_t(n);
        pkt->stream_index = 0;
        pkt->pts = pkt->dts = av_rescale_q(n, {1001, 30000}, video->time_base);
        pkt->flags = AV_PKT_FLAG_KEY;
        ok = ok && av_interleaved_write_frame(out, pkt) >= 0;
        const int64_t from = av_rescale_rnd(n, 1001 * 48000, 30000, AV_ROUND_NEAR_INF);
        const int64_t to = av_rescale_rnd(n + 1, 1001 * 48000, 30000, AV_ROUND_NEAR_INF);
        ok = ok && av_new_packet(pkt, int(to - from) * 2) >= 0;
        for (int64_t i = 0; ok && i < to - from; ++i)
            reinterpret_cast<int16_t*>(pkt->data)[i] = int16_t(n);
        pkt->stream_index = 1;
        pkt->pts = pkt->dts = from;
        ok = ok && av_interleaved_write_frame(out, pkt) >= 0;
    }
    av_packet_free(&pkt);
    ok = ok && av_write_trailer(out) >= 0;
    avio_closep(&out->pb);
    avformat_free_context(out);
    return ok;
}

TEST(AviTrimmer, CutsAnUncompressedClipWithItsSound)
{
    const std::string source = UnixOf("avitrim_raw_src");
    ASSERT_TRUE(WriteUncompressedClip(source, 12));
    Output out("avitrim_raw_out");
    theApp.ClearBoxes();
    ASSERT_TRUE(AviTrim(WinePath(source).c_str(), out.path, 3, 7)) << theApp.AllBoxes();
    remove(source.c_str());

    AVFormatContext* fmt = nullptr;
    ASSERT_GE(avformat_open_input(&fmt, out.unix.c_str(), nullptr, nullptr), 0);
    avformat_find_stream_info(fmt, nullptr);
    EXPECT_EQ(fmt->streams[0]->codecpar->codec_id, AV_CODEC_ID_RAWVIDEO);
    std::vector<int> numbers, sound;
    AVPacket* pkt = av_packet_alloc();
    while (av_read_frame(fmt, pkt) >= 0) {
        if (pkt->stream_index == 0)
            numbers.push_back(pkt->data[0]);
        else
            for (int i = 0; i < pkt->size / 2; ++i)
                sound.push_back(reinterpret_cast<const int16_t*>(pkt->data)[i]);
        av_packet_unref(pkt);
    }
    av_packet_free(&pkt);
    avformat_close_input(&fmt);
    EXPECT_EQ(numbers, (std::vector<int>{3, 4, 5, 6, 7}));
    // Exactly the sound of frames 3 to 7: samples 4805 to 12812 of the source.
    ASSERT_EQ(sound.size(), size_t(12813 - 4805));
    EXPECT_EQ(sound.front(), 3);
    EXPECT_EQ(sound.back(), 7);
}

TEST(AviTrimmer, RangesAndSourcesThatCannotBeCut)
{
    TestClip source(Clip(10, false), "avitrim_range_src");
    ASSERT_TRUE(source.ok);
    struct Case {
        const char* what;
        long in, out;
        bool missing;
        bool ok;
        const char* box;
        std::vector<int> numbers;
    } cases[] = {
        {"before the start, beyond the end: clamped", -4, 40, false, true, "", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"trim out before trim in", 6, 5, false, false, "[Could not trim video stream\n]", {}},
        {"past the last frame", 12, 14, false, false, "[Could not trim video stream\n]", {}},
        {"missing source", 0, 3, true, false, "[Unable to open C:\\no such folder\\clip.avi]", {}},
    };
    for (const Case& t : cases) {
        Output out("avitrim_range_out");
        theApp.ClearBoxes();
        EXPECT_EQ(AviTrim(t.missing ? CString("C:\\no such folder\\clip.avi") : source.path, out.path,
                          t.in, t.out), t.ok) << t.what;
        EXPECT_EQ(theApp.AllBoxes(), t.box) << t.what;
        ReadBack c = ReadClipBack(out.unix);
        EXPECT_EQ(c.opened, t.ok) << t.what;
        EXPECT_EQ(c.numbers, t.numbers) << t.what;
    }
}

TEST(TrimGraph, EmptySourceFailsAtOnce)
{
    Output out("trim_empty_out");
    theApp.ClearBoxes();
    CTrimGraph trim;
    trim.SetDestination(out.path);
    trim.SetEndFrame(3);
    EXPECT_EQ(trim.Run(), 1);  // no graph left waiting for an end that never comes
    EXPECT_FALSE(ReadClipBack(out.unix).opened);
}

} // namespace
