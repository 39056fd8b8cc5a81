// Time per DV frame of the layer's playback chain (file source, DV decoder, colour space
// converter to 32-bit RGB, into a sink that only counts) against FFmpeg alone doing the
// same (read, decode, convert to 32-bit RGB) on the same clip. Prints the medians and
// their ratio.
//   dshow_dvdecode_bench.exe [repetitions=9] [frames=90]
#include "streams.h"
#include "dv_fixture.h"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Now()
{
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

class CountingSink : public CBaseFilter {
public:
    class Pin : public CBaseInputPin {
    public:
        Pin(CountingSink* f, HRESULT* phr) : CBaseInputPin(NAME("sink in"), f, &f->m_lock, phr, L"In"), m_sink(f) {}
        HRESULT CheckMediaType(const CMediaType* mt) override
        {
            return IsEqualGUID(*mt->Subtype(), MEDIASUBTYPE_RGB32) ? S_OK : S_FALSE;
        }
        STDMETHODIMP Receive(IMediaSample* s) override
        {
            HRESULT hr = CBaseInputPin::Receive(s);
            if (hr == S_OK)
                ++m_sink->m_frames;
            return hr;
        }
        STDMETHODIMP EndOfStream() override
        {
            SetEvent(m_sink->m_done);
            return S_OK;
        }
        CountingSink* m_sink;
    };
    CountingSink() : CBaseFilter(NAME("sink"), nullptr, &m_lock, GUID_NULL), m_pin(this, &m_hr)
    {
        m_done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    }
    ~CountingSink() override { CloseHandle(m_done); }
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    CCritSec m_lock;
    HRESULT m_hr = S_OK;
    Pin m_pin;
    HANDLE m_done;
    int m_frames = 0;
};

IPin* FirstPin(IBaseFilter* f, PIN_DIRECTION dir)
{
    IEnumPins* e = nullptr;
    f->EnumPins(&e);
    IPin* p = nullptr;
    while (e->Next(1, &p, nullptr) == S_OK) {
        PIN_DIRECTION d;
        p->QueryDirection(&d);
        if (d == dir)
            break;
        p->Release();
        p = nullptr;
    }
    e->Release();
    return p;
}

// Seconds per frame through a graph, or a negative value on failure.
double GraphRun(const WCHAR* file, int frames)
{
    IGraphBuilder* g = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&g);
    if (FAILED(hr)) {
        fprintf(stderr, "no filter graph: %08x\n", unsigned(hr));
        return -1;
    }
    IBaseFilter *source = nullptr, *decoder = nullptr, *converter = nullptr;
    CountingSink* sink = new CountingSink;
    sink->AddRef();
    double result = -1;
    CoCreateInstance(CLSID_DVVideoCodec, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&decoder);
    CoCreateInstance(CLSID_Colour, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&converter);
    if (decoder && converter && SUCCEEDED(g->AddFilter(decoder, L"decoder")) &&
        SUCCEEDED(g->AddFilter(converter, L"converter")) && SUCCEEDED(g->AddFilter(sink, L"sink")) &&
        SUCCEEDED(hr = g->AddSourceFilter(file, nullptr, &source))) {
        IPin* pins[] = {FirstPin(source, PINDIR_OUTPUT), FirstPin(decoder, PINDIR_INPUT), FirstPin(decoder, PINDIR_OUTPUT),
                        FirstPin(converter, PINDIR_INPUT), FirstPin(converter, PINDIR_OUTPUT), sink->GetPin(0)};
        sink->GetPin(0)->AddRef();
        bool ok = true;
        for (int i = 0; i < 6 && ok; i += 2)
            ok = SUCCEEDED(g->ConnectDirect(pins[i], pins[i + 1], nullptr));
        IMediaFilter* mf = nullptr;
        IMediaControl* mc = nullptr;
        g->QueryInterface(IID_IMediaFilter, (void**)&mf);
        g->QueryInterface(IID_IMediaControl, (void**)&mc);
        if (ok && mf && mc) {
            mf->SetSyncSource(nullptr);
            double t0 = Now();
            mc->Run();
            WaitForSingleObject(sink->m_done, 60000);
            double t1 = Now();
            mc->Stop();
            if (sink->m_frames == frames)
                result = (t1 - t0) / frames;
            else
                fprintf(stderr, "graph delivered %d of %d frames\n", sink->m_frames, frames);
        } else {
            fprintf(stderr, "graph not built\n");
        }
        if (mf)
            mf->Release();
        if (mc)
            mc->Release();
        for (IPin* p : pins)
            if (p)
                p->Release();
    }
    if (!source)
        fprintf(stderr, "no source: %08x\n", unsigned(hr));
    if (source)
        source->Release();
    if (decoder)
        decoder->Release();
    if (converter)
        converter->Release();
    g->Release();
    sink->Release();
    return result;
}

double FfmpegRun(const std::string& file, int frames)
{
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, file.c_str(), nullptr, nullptr) < 0)
        return -1;
    avformat_find_stream_info(fmt, nullptr);
    int vs = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    const AVCodec* codec = avcodec_find_decoder(fmt->streams[vs]->codecpar->codec_id);
    AVCodecContext* c = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(c, fmt->streams[vs]->codecpar);
    c->thread_count = 1;
    avcodec_open2(c, codec, nullptr);
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    std::vector<uint8_t> rgb(size_t(c->width) * c->height * 4);
    SwsContext* sws = nullptr;
    int done = 0;
    double t0 = Now();
    while (av_read_frame(fmt, pkt) >= 0) {
        if (pkt->stream_index == vs && avcodec_send_packet(c, pkt) >= 0) {
            while (avcodec_receive_frame(c, frame) >= 0) {
                if (!sws)
                    sws = sws_getContext(frame->width, frame->height, AVPixelFormat(frame->format), frame->width,
                                         frame->height, AV_PIX_FMT_BGRA, SWS_BILINEAR, nullptr, nullptr, nullptr);
                uint8_t* dst[4] = {rgb.data() + size_t(frame->width) * 4 * (frame->height - 1)};
                int stride[4] = {-frame->width * 4};
                sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, stride);
                ++done;
                av_frame_unref(frame);
            }
        }
        av_packet_unref(pkt);
    }
    double t1 = Now();
    sws_freeContext(sws);
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&c);
    avformat_close_input(&fmt);
    return done == frames ? (t1 - t0) / frames : -1;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 9;
    const int frames = argc > 2 ? std::max(1, atoi(argv[2])) : 90;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const std::string clip = "/tmp/dshow_bench" + std::to_string(GetCurrentProcessId()) + ".avi";
    std::string error;
    if (!WriteDvClip(clip, {frames, false, false}, &error)) {
        fprintf(stderr, "cannot write the clip: %s\n", error.c_str());
        return 1;
    }
    char* dos = nullptr;
    {
        // Z: maps the Unix root.
        std::string w = "Z:" + clip;
        for (char& ch : w)
            if (ch == '/')
                ch = '\\';
        dos = strdup(w.c_str());
    }
    std::wstring wide(strlen(dos) + 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, dos, -1, &wide[0], int(wide.size()));
    free(dos);
    std::vector<double> graph, ffmpeg;
    int status = 0;
    for (int i = 0; i < repetitions; ++i) {
        double a = GraphRun(wide.c_str(), frames);
        double b = FfmpegRun(clip, frames);
        if (a <= 0 || b <= 0) {
            fprintf(stderr, "run %d failed (graph %g, ffmpeg %g)\n", i, a, b);
            status = 1;
            break;
        }
        graph.push_back(a);
        ffmpeg.push_back(b);
    }
    remove(clip.c_str());
    if (!status) {
        double g = Median(graph), f = Median(ffmpeg);
        printf("DV 720x480 to 32-bit RGB, %d frames, %d runs (medians)\n", frames, repetitions);
        printf("  graph (source, decoder, converter): %.3f ms/frame\n", g * 1e3);
        printf("  FFmpeg alone (read, decode, convert): %.3f ms/frame\n", f * 1e3);
        printf("  ratio graph / FFmpeg: %.2f\n", g / f);
    }
    CoUninitialize();
    return status;
}
