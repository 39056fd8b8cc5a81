#include "dv_fixture.h"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/opt.h>
}
#include <cstring>
#include <vector>

namespace {

struct Writer {
    AVFormatContext* fmt = nullptr;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    AVStream* vs = nullptr;
    AVStream* as = nullptr;
    ~Writer()
    {
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (fmt) {
            if (fmt->pb)
                avio_closep(&fmt->pb);
            avformat_free_context(fmt);
        }
    }
};

bool Fail(std::string* error, const std::string& what, int rc = 0)
{
    if (error) {
        char buf[AV_ERROR_MAX_STRING_SIZE] = {};
        if (rc)
            av_strerror(rc, buf, sizeof buf);
        *error = what + (rc ? std::string(": ") + buf : std::string());
    }
    return false;
}

bool Drain(AVCodecContext* c, AVStream* s, AVFormatContext* fmt, AVFrame* frame, std::string* error)
{
    int rc = avcodec_send_frame(c, frame);
    if (rc < 0)
        return Fail(error, "encode", rc);
    AVPacket* pkt = av_packet_alloc();
    while ((rc = avcodec_receive_packet(c, pkt)) == 0) {
        av_packet_rescale_ts(pkt, c->time_base, s->time_base);
        pkt->stream_index = s->index;
        rc = av_interleaved_write_frame(fmt, pkt);
        if (rc < 0) {
            av_packet_free(&pkt);
            return Fail(error, "write", rc);
        }
    }
    av_packet_free(&pkt);
    return rc == AVERROR(EAGAIN) || rc == AVERROR_EOF ? true : Fail(error, "receive", rc);
}

} // namespace

bool WriteDvClip(const std::string& path, const DvClipFormat& format, std::string* error)
{
    Writer w;
    int rc = avformat_alloc_output_context2(&w.fmt, nullptr, format.rawDv ? "dv" : "avi", path.c_str());
    if (rc < 0)
        return Fail(error, "avi muxer", rc);
    const AVCodec* dv = avcodec_find_encoder(AV_CODEC_ID_DVVIDEO);
    if (!dv)
        return Fail(error, "no DV encoder");
    w.vs = avformat_new_stream(w.fmt, nullptr);
    w.video = avcodec_alloc_context3(dv);
    w.video->width = 720;
    w.video->height = format.pal ? 576 : 480;
    w.video->pix_fmt = format.pal ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_YUV411P;
    w.video->time_base = format.pal ? AVRational{1, 25} : AVRational{1001, 30000};
    w.video->sample_aspect_ratio = AVRational{1, 1};
    w.vs->time_base = w.video->time_base;
    if ((rc = avcodec_open2(w.video, dv, nullptr)) < 0)
        return Fail(error, "open DV encoder", rc);
    avcodec_parameters_from_context(w.vs->codecpar, w.video);
    if (!format.rawDv)
        w.vs->codecpar->codec_tag = MKTAG('d', 'v', 's', 'd');

    if (format.withAudio || format.rawDv) {
        const AVCodec* pcm = avcodec_find_encoder(AV_CODEC_ID_PCM_S16LE);
        w.as = avformat_new_stream(w.fmt, nullptr);
        w.audio = avcodec_alloc_context3(pcm);
        w.audio->sample_rate = 48000;
        w.audio->sample_fmt = AV_SAMPLE_FMT_S16;
        av_channel_layout_default(&w.audio->ch_layout, 2);
        w.audio->time_base = AVRational{1, 48000};
        w.as->time_base = w.audio->time_base;
        if ((rc = avcodec_open2(w.audio, pcm, nullptr)) < 0)
            return Fail(error, "open PCM encoder", rc);
        avcodec_parameters_from_context(w.as->codecpar, w.audio);
    }
    if ((rc = avio_open(&w.fmt->pb, path.c_str(), AVIO_FLAG_WRITE)) < 0)
        return Fail(error, "create " + path, rc);
    if ((rc = avformat_write_header(w.fmt, nullptr)) < 0)
        return Fail(error, "header", rc);

    AVFrame* frame = av_frame_alloc();
    frame->format = w.video->pix_fmt;
    frame->width = w.video->width;
    frame->height = w.video->height;
    av_frame_get_buffer(frame, 0);
    AVFrame* sound = nullptr;
    // 29.97 frames/s carry 8008 samples in every 5 frames.
    const int ntscSamples[5] = {1602, 1601, 1602, 1601, 1602};
    const int samplesPerFrame = format.pal ? 1920 : 1602;
    if (w.audio) {
        sound = av_frame_alloc();
        sound->format = AV_SAMPLE_FMT_S16;
        sound->sample_rate = 48000;
        av_channel_layout_default(&sound->ch_layout, 2);
        sound->nb_samples = samplesPerFrame;
        av_frame_get_buffer(sound, 0);
    }
    bool ok = true;
    int64_t audioPts = 0;
    for (int n = 0; n < format.frames && ok; ++n) {
        av_frame_make_writable(frame);
        for (int y = 0; y < frame->height; ++y) {
            uint8_t* row = frame->data[0] + y * frame->linesize[0];
            // DV sends the lower field (odd lines counted from the top) first.
            const int number = format.fieldNumbers ? 2 * n + ((y & 1) ? 0 : 1) : n;
            for (int x = 0; x < frame->width; ++x)
                row[x] = ((number >> (x / 90)) & 1) ? 235 : 16;
        }
        for (int p = 1; p < 3; ++p) {
            int h = format.pal ? frame->height / 2 : frame->height;
            for (int y = 0; y < h; ++y)
                memset(frame->data[p] + y * frame->linesize[p], 128, frame->linesize[p]);
        }
        frame->pts = n;
        ok = Drain(w.video, w.vs, w.fmt, frame, error);
        if (ok && sound) {
            av_frame_make_writable(sound);
            sound->nb_samples = format.pal ? 1920 : ntscSamples[n % 5];
            // A quiet tone, so the sound is not all zeros.
            int16_t* pcm = reinterpret_cast<int16_t*>(sound->data[0]);
            for (int i = 0; i < sound->nb_samples * 2; ++i)
                pcm[i] = int16_t(((i / 2) % 48 < 24) ? 1000 : -1000);
            sound->pts = audioPts;
            audioPts += sound->nb_samples;
            ok = Drain(w.audio, w.as, w.fmt, sound, error);
        }
    }
    if (ok)
        ok = Drain(w.video, w.vs, w.fmt, nullptr, error);
    if (ok && sound)
        ok = Drain(w.audio, w.as, w.fmt, nullptr, error);
    av_frame_free(&frame);
    av_frame_free(&sound);
    if (!ok)
        return false;
    if ((rc = av_write_trailer(w.fmt)) < 0)
        return Fail(error, "trailer", rc);
    return true;
}

int FrameNumberFromRgb32(const uint8_t* pixels, int width, int height, bool bottomUp)
{
    return NumberOnLine(pixels, width, height, height / 2, bottomUp);
}

int NumberOnLine(const uint8_t* pixels, int width, int height, int row, bool bottomUp)
{
    if (!pixels || width < 8 || height < 1 || row < 0 || row >= height)
        return -1;
    const uint8_t* line = pixels + size_t(bottomUp ? height - 1 - row : row) * width * 4;
    int n = 0;
    const int bar = width / 8;
    for (int b = 0; b < 8; ++b) {
        const uint8_t* px = line + (b * bar + bar / 2) * 4;
        int level = (px[0] + px[1] + px[2]) / 3;
        if (level > 170)
            n |= 1 << b;
        else if (level > 85)
            return -1;
    }
    return n;
}
