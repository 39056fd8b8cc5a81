#include "synthetic_dv.h"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
}
#include <cmath>
#include <cstring>

namespace synthetic_dv {

// FFmpeg encodes the picture and its raw-DV writer puts the sound into the frame's audio
// blocks; the writer's output is gathered in memory, one frame per call.
struct Generator::Impl {
    bool pal = false;
    bool ok = false;
    AVCodecContext* video = nullptr;
    AVFormatContext* fmt = nullptr;
    AVStream* vs = nullptr;
    AVStream* as = nullptr;
    AVFrame* picture = nullptr;
    AVPacket* pkt = nullptr;
    std::vector<uint8_t>* sink = nullptr;
    int64_t audioPts = 0;
    int64_t tonePhase = 0;
    // Frames handed to the encoder so far: the stream's own times, which only go forward
    // though the camera numbers its frames from 0 again at each run.
    int64_t written = 0;
    int64_t made = 0;   // frames the writer has put out

    static int Write(void* opaque, uint8_t* buf, int size)
    {
        Impl* self = static_cast<Impl*>(opaque);
        if (self->sink)
            self->sink->insert(self->sink->end(), buf, buf + size);
        return size;
    }

    bool Open()
    {
        const AVCodec* dv = avcodec_find_encoder(AV_CODEC_ID_DVVIDEO);
        if (!dv)
            return false;
        video = avcodec_alloc_context3(dv);
        video->width = kWidth;
        video->height = Height(pal);
        video->pix_fmt = pal ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_YUV411P;
        video->time_base = pal ? AVRational{1, 25} : AVRational{1001, 30000};
        video->sample_aspect_ratio = AVRational{1, 1};
        if (avcodec_open2(video, dv, nullptr) < 0)
            return false;
        if (avformat_alloc_output_context2(&fmt, nullptr, "dv", nullptr) < 0)
            return false;
        vs = avformat_new_stream(fmt, nullptr);
        avcodec_parameters_from_context(vs->codecpar, video);
        vs->time_base = video->time_base;
        as = avformat_new_stream(fmt, nullptr);
        as->codecpar->codec_type = AVMEDIA_TYPE_AUDIO;
        as->codecpar->codec_id = AV_CODEC_ID_PCM_S16LE;
        as->codecpar->sample_rate = kSampleRate;
        av_channel_layout_default(&as->codecpar->ch_layout, 2);
        as->codecpar->bits_per_coded_sample = 16;
        as->time_base = AVRational{1, kSampleRate};
        const int bufSize = 1 << 16;
        uint8_t* buf = static_cast<uint8_t*>(av_malloc(bufSize));
        fmt->pb = avio_alloc_context(buf, bufSize, 1, this, nullptr, &Impl::Write, nullptr);
        if (!fmt->pb || avformat_write_header(fmt, nullptr) < 0)
            return false;
        picture = av_frame_alloc();
        picture->format = video->pix_fmt;
        picture->width = video->width;
        picture->height = video->height;
        if (av_frame_get_buffer(picture, 0) < 0)
            return false;
        pkt = av_packet_alloc();
        return true;
    }

    void Draw(int64_t n)
    {
        av_frame_make_writable(picture);
        const int h = picture->height;
        const int band0 = h / 2 - kBandHalfHeight, band1 = h / 2 + kBandHalfHeight;
        const int shift = int(n * 6 % 256);
        for (int y = 0; y < h; ++y) {
            uint8_t* row = picture->data[0] + y * picture->linesize[0];
            if (y >= band0 && y < band1) {
                for (int x = 0; x < kWidth; ++x)
                    row[x] = ((n >> (x / kBarWidth)) & 1) ? 235 : 16;
            } else {
                // Diagonal stripes moving right by 6 pixels a frame.
                for (int x = 0; x < kWidth; ++x)
                    row[x] = uint8_t(48 + (((x + y + shift) & 63) << 1) + 8 * ((x >> 6) & 1));
            }
        }
        const int chromaRows = pal ? h / 2 : h;
        for (int p = 1; p < 3; ++p)
            for (int y = 0; y < chromaRows; ++y) {
                uint8_t* row = picture->data[p] + y * picture->linesize[p];
                int lumaY = pal ? y * 2 : y;
                bool band = lumaY >= band0 && lumaY < band1;
                memset(row, band ? 128 : (p == 1 ? 150 : 110), picture->linesize[p]);
            }
        picture->pts = written;
    }

    // The writer takes the sound of its k-th frame by its own count k, whatever number the
    // picture carries: a camera that skips frames (late on a loaded machine) must still
    // hand it as many samples as it fills, or the frame never comes out.
    bool WriteSound()
    {
        const int count = SamplesInFrame(pal, made);
        if (av_new_packet(pkt, count * 4) < 0)
            return false;
        int16_t* s = reinterpret_cast<int16_t*>(pkt->data);
        for (int i = 0; i < count; ++i, ++tonePhase) {
            int16_t v = int16_t(8000.0 * std::sin(2.0 * M_PI * kToneHz * double(tonePhase) / kSampleRate));
            s[2 * i] = s[2 * i + 1] = v;
        }
        pkt->stream_index = as->index;
        pkt->pts = pkt->dts = audioPts;
        pkt->duration = count;
        audioPts += count;
        int rc = av_write_frame(fmt, pkt);
        av_packet_unref(pkt);
        return rc >= 0;
    }

    bool Frame(int64_t n, std::vector<uint8_t>& out)
    {
        out.clear();
        sink = &out;
        Draw(n);
        bool good = WriteSound() && avcodec_send_frame(video, picture) >= 0;
        while (good) {
            int rc = avcodec_receive_packet(video, pkt);
            if (rc == AVERROR(EAGAIN))
                break;
            if (rc < 0) {
                good = false;
                break;
            }
            pkt->stream_index = vs->index;
            pkt->pts = pkt->dts = written;
            good = av_write_frame(fmt, pkt) >= 0;
            av_packet_unref(pkt);
        }
        ++written;
        avio_flush(fmt->pb);
        sink = nullptr;
        good = good && int(out.size()) == FrameBytes(pal);
        if (good)
            ++made;
        return good;
    }

    ~Impl()
    {
        av_packet_free(&pkt);
        av_frame_free(&picture);
        avcodec_free_context(&video);
        if (fmt) {
            if (fmt->pb) {
                av_freep(&fmt->pb->buffer);
                avio_context_free(&fmt->pb);
            }
            avformat_free_context(fmt);
        }
    }
};

Generator::Generator(bool pal) : m(new Impl)
{
    m->pal = pal;
    m->ok = m->Open();
}

Generator::~Generator() = default;

bool Generator::Ok() const { return m->ok; }

bool Generator::Frame(int64_t n, std::vector<uint8_t>& out) { return m->ok && m->Frame(n, out); }

} // namespace synthetic_dv
