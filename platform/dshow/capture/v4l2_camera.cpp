#include "v4l2_camera.h"
#include "avdevice_loader.h"
#include "live_source.h"
#include "video_formats.h"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}
#include <memory>
#include <new>
#include <vector>

// {6C1A4D02-0E55-4F1B-9A3E-51D0C2B7A103}
static const GUID CLSID_QuorvelV4l2Camera = {0x6c1a4d02, 0x0e55, 0x4f1b, {0x9a, 0x3e, 0x51, 0xd0, 0xc2, 0xb7, 0xa1, 0x03}};

namespace {

struct CameraMode {
    int width = 640, height = 480;
    REFERENCE_TIME period = 333667;
};

class V4l2Reader {
public:
    explicit V4l2Reader(const std::string& device) : m_device(device) {}
    ~V4l2Reader() { Close(); }
    bool Open(CameraMode* mode)
    {
        LoadDeviceReaders();
        const AVInputFormat* f = av_find_input_format("video4linux2");
        if (!f || avformat_open_input(&m_ctx, m_device.c_str(), f, nullptr) < 0)
            return false;
        m_stream = av_find_best_stream(m_ctx, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (m_stream < 0)
            return false;
        const AVCodecParameters* par = m_ctx->streams[m_stream]->codecpar;
        const AVCodec* codec = avcodec_find_decoder(par->codec_id);
        if (!codec)
            return false;
        m_dec = avcodec_alloc_context3(codec);
        if (avcodec_parameters_to_context(m_dec, par) < 0 || avcodec_open2(m_dec, codec, nullptr) < 0)
            return false;
        mode->width = par->width;
        mode->height = par->height;
        AVRational r = m_ctx->streams[m_stream]->avg_frame_rate;
        if (r.num > 0 && r.den > 0)
            mode->period = REFERENCE_TIME(10000000.0 * r.den / r.num + 0.5);
        m_mode = *mode;
        m_frame = av_frame_alloc();
        m_pkt = av_packet_alloc();
        return true;
    }
    void Close()
    {
        sws_freeContext(m_sws);
        m_sws = nullptr;
        av_frame_free(&m_frame);
        av_packet_free(&m_pkt);
        avcodec_free_context(&m_dec);
        if (m_ctx)
            avformat_close_input(&m_ctx);
    }
    // The next picture as a bottom-up 24-bit RGB bitmap.
    bool Read(std::vector<BYTE>& rgb)
    {
        while (m_ctx && av_read_frame(m_ctx, m_pkt) >= 0) {
            bool got = false;
            if (m_pkt->stream_index == m_stream && avcodec_send_packet(m_dec, m_pkt) >= 0)
                got = avcodec_receive_frame(m_dec, m_frame) >= 0;
            av_packet_unref(m_pkt);
            if (!got)
                continue;
            const int w = m_mode.width, h = m_mode.height;
            m_sws = sws_getCachedContext(m_sws, m_frame->width, m_frame->height, AVPixelFormat(m_frame->format), w, h,
                                         AV_PIX_FMT_BGR24, SWS_BILINEAR, nullptr, nullptr, nullptr);
            if (!m_sws)
                return false;
            const int stride = (w * 3 + 3) & ~3;
            rgb.assign(size_t(stride) * h, 0);
            // Bottom-up: start at the last row and step backwards.
            uint8_t* dst[4] = {rgb.data() + size_t(stride) * (h - 1), nullptr, nullptr, nullptr};
            int dstStride[4] = {-stride, 0, 0, 0};
            sws_scale(m_sws, m_frame->data, m_frame->linesize, 0, m_frame->height, dst, dstStride);
            av_frame_unref(m_frame);
            return true;
        }
        return false;
    }

private:
    std::string m_device;
    AVFormatContext* m_ctx = nullptr;
    AVCodecContext* m_dec = nullptr;
    AVFrame* m_frame = nullptr;
    AVPacket* m_pkt = nullptr;
    SwsContext* m_sws = nullptr;
    int m_stream = -1;
    CameraMode m_mode;
};

class CV4l2Camera : public CLiveSource {
public:
    CV4l2Camera(const std::string& device, const CameraMode& mode, HRESULT* phr)
        : CLiveSource(NAME("V4L2 camera"), nullptr, CLSID_QuorvelV4l2Camera), m_reader(device), m_pacer(mode.period)
    {
        AddPin(new CLivePin(this, phr, L"Capture", PIN_CATEGORY_CAPTURE,
                            {MakeUncompressedType(PixelLayout::RGB24, mode.width, mode.height, mode.period)}, true));
    }

protected:
    bool Open() override
    {
        m_pacer.Reset();
        CameraMode mode;
        return m_reader.Open(&mode);
    }
    void Close() override { m_reader.Close(); }
    bool Capture() override
    {
        if (!m_reader.Read(m_picture))
            return false;
        const REFERENCE_TIME now = Now();
        LONG dropped = 0;
        LONGLONG n = m_pacer.Take(m_pacer.NextDue(now), now, &dropped, m_pacer.Period());
        HRESULT hr = m_pins[0]->DeliverBuffer(m_picture.data(), LONG(m_picture.size()), m_pacer.Start(n), m_pacer.Stop(n));
        CountDelivered(hr == S_OK ? 1 : 0, dropped + (hr == S_OK ? 0 : 1));
        return true;
    }

private:
    V4l2Reader m_reader;
    FramePacer m_pacer;
    std::vector<BYTE> m_picture;
};

} // namespace

HRESULT CreateV4l2Camera(const std::string& device, IBaseFilter** ppFilter)
{
    if (!ppFilter)
        return E_POINTER;
    *ppFilter = nullptr;
    CameraMode mode;
    {
        // The camera's size and rate, for the pin's format.
        V4l2Reader probe(device);
        if (!probe.Open(&mode))
            return VFW_E_NO_CAPTURE_HARDWARE;
    }
    HRESULT hr = S_OK;
    CV4l2Camera* f = new (std::nothrow) CV4l2Camera(device, mode, &hr);
    return CLiveSource::HandOut(f, hr, ppFilter);
}
