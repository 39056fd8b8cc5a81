// Reads a written clip back with FFmpeg for the graph and session tests: its codec and size,
// the number each picture carries (the DV fixture's eight bars unless told otherwise), and
// the first channel of its sound.
#pragma once
extern "C" {
#include <libavformat/avformat.h>
#include <libavcodec/avcodec.h>
}
#include <cstdint>
#include <string>
#include <vector>

struct ReadBack {
    bool opened = false;
    AVCodecID videoCodec = AV_CODEC_ID_NONE;
    uint32_t tag = 0;
    int width = 0, height = 0;
    int streams = 0;
    std::vector<int> numbers;   // of the pictures, in file order (-1: not decoded)
    std::vector<int16_t> left;  // the sound's first channel (16-bit stereo)
};

// The fixture's eight bars across a picture line (`bar` pixels each; 90 at full width).
inline int NumberOnRow(const uint8_t* row, int bar = 90)
{
    int n = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (row[bit * bar + bar / 2] > 128)
            n |= 1 << bit;
    return n;
}

// `number` reads a picture's number from its middle luma row (the fixture's bars by default).
inline int FixtureNumber(const uint8_t* row) { return NumberOnRow(row); }

inline ReadBack ReadClipBack(const std::string& path, int (*number)(const uint8_t*) = FixtureNumber)
{
    ReadBack c;
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0)
        return c;
    avformat_find_stream_info(fmt, nullptr);
    c.opened = true;
    c.streams = int(fmt->nb_streams);
    const int vs = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const int as = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    AVCodecContext* dec = nullptr;
    if (vs >= 0) {
        const AVCodecParameters* par = fmt->streams[vs]->codecpar;
        c.videoCodec = par->codec_id;
        c.tag = par->codec_tag;
        c.width = par->width;
        c.height = par->height;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        dec = avcodec_alloc_context3(codec);
        avcodec_parameters_to_context(dec, par);
        avcodec_open2(dec, codec, nullptr);
    }
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    while (av_read_frame(fmt, pkt) >= 0) {
        if (pkt->stream_index == vs && pkt->size > 0) {
            if (avcodec_send_packet(dec, pkt) >= 0 && avcodec_receive_frame(dec, frame) >= 0)
                c.numbers.push_back(number(frame->data[0] + size_t(frame->linesize[0]) * (frame->height / 2)));
            else
                c.numbers.push_back(-1);
        } else if (pkt->stream_index == as) {
            const int16_t* s = reinterpret_cast<const int16_t*>(pkt->data);
            for (int i = 0; i + 1 < pkt->size / 2; i += 2)
                c.left.push_back(s[i]);
        }
        av_packet_unref(pkt);
    }
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&dec);
    avformat_close_input(&fmt);
    return c;
}
