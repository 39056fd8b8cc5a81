// The synthetic camera's DV frames: made for any frame numbers, in order but with gaps (a
// camera late on a loaded machine skips frames), each frame whole with its number drawn.
#include "gtest_wine.h"
#include "synthetic_dv.h"
#include "synthetic_dv.cpp"
extern "C" {
#include <libavcodec/avcodec.h>
}
#include <vector>

namespace {

int CounterOf(AVCodecContext* dec, const std::vector<uint8_t>& dv)
{
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int n = -2;
    if (av_new_packet(pkt, int(dv.size())) >= 0) {
        memcpy(pkt->data, dv.data(), dv.size());
        if (avcodec_send_packet(dec, pkt) >= 0 && avcodec_receive_frame(dec, frame) >= 0)
            n = synthetic_dv::CounterFromLumaRow(frame->data[0] + frame->linesize[0] * (frame->height / 2));
    }
    av_frame_free(&frame);
    av_packet_free(&pkt);
    return n;
}

TEST(SyntheticDv, FramesWithSkippedNumbersComeOutWholeAndCarryTheirNumbers)
{
    for (bool pal : {false, true}) {
        synthetic_dv::Generator gen(pal);
        ASSERT_TRUE(gen.Ok());
        const AVCodec* c = avcodec_find_decoder(AV_CODEC_ID_DVVIDEO);
        AVCodecContext* dec = avcodec_alloc_context3(c);
        ASSERT_GE(avcodec_open2(dec, c, nullptr), 0);
        // Starting late, single and long skips, then steady: every sound-count phase.
        const int numbers[] = {3, 4, 6, 7, 8, 11, 12, 13, 14, 20, 21, 23, 24, 25, 26, 27, 28, 40, 41, 42, 43, 44, 45, 46};
        std::vector<uint8_t> frame;
        for (int n : numbers) {
            ASSERT_TRUE(gen.Frame(n, frame)) << (pal ? "PAL " : "NTSC ") << n;
            ASSERT_EQ(int(frame.size()), synthetic_dv::FrameBytes(pal));
            EXPECT_EQ(CounterOf(dec, frame), n) << (pal ? "PAL " : "NTSC ");
        }
        avcodec_free_context(&dec);
    }
}

} // namespace
