// Helpers of the capture tests: the synthetic camera switched on for this process, devices
// by category, capture graphs built through the capture graph builder, and recordings read
// back with FFmpeg (frame counters from the pictures, sound format and length).
#pragma once
#include "gtest_wine.h"
#include "streams.h"
#include "synthetic_dv.h"
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}
#include <cstdio>
#include <string>
#include <vector>

template <typename T>
struct Ptr {
    T* p = nullptr;
    Ptr() = default;
    Ptr(const Ptr&) = delete;
    ~Ptr() { reset(); }
    void reset()
    {
        if (p)
            p->Release();
        p = nullptr;
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
    operator T*() const { return p; }
};

inline std::u16string Utf16(const std::string& s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::u16string w(n > 0 ? n - 1 : 0, u'\0');
    if (n > 1)
        MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, reinterpret_cast<LPWSTR>(&w[0]), n);
    return w;
}

inline std::string Ansi(const WCHAR* w)
{
    char buf[512] = {};
    WideCharToMultiByte(CP_ACP, 0, w, -1, buf, sizeof buf - 1, nullptr, nullptr);
    return buf;
}

inline void SwitchSyntheticCamera(const char* value)
{
    SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", value);
}

// Friendly names of a category's devices, in enumeration order; *hr gets the enumerator's answer.
inline std::vector<std::string> DeviceNames(REFCLSID category, HRESULT* hr)
{
    std::vector<std::string> names;
    Ptr<ICreateDevEnum> devices;
    *hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum, (void**)&devices);
    if (FAILED(*hr))
        return names;
    Ptr<IEnumMoniker> list;
    *hr = devices->CreateClassEnumerator(category, &list, 0);
    if (*hr != S_OK)
        return names;
    IMoniker* m = nullptr;
    while (list->Next(1, &m, nullptr) == S_OK) {
        Ptr<IPropertyBag> bag;
        VARIANT v;
        VariantInit(&v);
        if (SUCCEEDED(m->BindToStorage(nullptr, nullptr, IID_IPropertyBag, (void**)&bag)) &&
            SUCCEEDED(bag->Read(L"FriendlyName", &v, nullptr)) && V_VT(&v) == VT_BSTR)
            names.push_back(Ansi(V_BSTR(&v)));
        else
            names.push_back("?");
        VariantClear(&v);
        m->Release();
    }
    return names;
}

// The first device of the category, as a filter.
inline HRESULT FirstDevice(REFCLSID category, IBaseFilter** filter)
{
    *filter = nullptr;
    Ptr<ICreateDevEnum> devices;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                  (void**)&devices);
    if (FAILED(hr))
        return hr;
    Ptr<IEnumMoniker> list;
    if (devices->CreateClassEnumerator(category, &list, 0) != S_OK)
        return E_FAIL;
    Ptr<IMoniker> m;
    if (list->Next(1, &m, nullptr) != S_OK)
        return E_FAIL;
    return m->BindToObject(nullptr, nullptr, IID_IBaseFilter, (void**)filter);
}

inline IPin* PinNamed(IBaseFilter* f, const char* name)
{
    Ptr<IEnumPins> e;
    f->EnumPins(&e);
    IPin* p = nullptr;
    while (e->Next(1, &p, nullptr) == S_OK) {
        PIN_INFO info;
        p->QueryPinInfo(&info);
        if (info.pFilter)
            info.pFilter->Release();
        if (Ansi(info.achName) == name)
            return p;
        p->Release();
    }
    return nullptr;
}

inline std::vector<std::string> PinNames(IBaseFilter* f)
{
    std::vector<std::string> names;
    Ptr<IEnumPins> e;
    f->EnumPins(&e);
    IPin* p = nullptr;
    while (e->Next(1, &p, nullptr) == S_OK) {
        PIN_INFO info;
        p->QueryPinInfo(&info);
        if (info.pFilter)
            info.pFilter->Release();
        names.push_back(Ansi(info.achName));
        p->Release();
    }
    return names;
}

inline int CountFilters(IGraphBuilder* graph, REFCLSID clsid)
{
    Ptr<IEnumFilters> e;
    graph->EnumFilters(&e);
    IBaseFilter* f;
    int n = 0;
    while (e->Next(1, &f, nullptr) == S_OK) {
        CLSID c;
        if (SUCCEEDED(f->GetClassID(&c)) && IsEqualCLSID(c, clsid))
            ++n;
        f->Release();
    }
    return n;
}

// The counter drawn in a 32-bit RGB picture (a bottom-up bitmap when bottomUp).
inline int CounterFromRgb32(const uint8_t* pixels, int width, int height, bool bottomUp)
{
    if (width != synthetic_dv::kWidth)
        return -1;
    const int row = height / 2;
    const uint8_t* line = pixels + size_t(bottomUp ? height - 1 - row : row) * width * 4;
    std::vector<uint8_t> luma(width);
    for (int x = 0; x < width; ++x)
        luma[x] = uint8_t((line[4 * x] + line[4 * x + 1] + line[4 * x + 2]) / 3);
    return synthetic_dv::CounterFromLumaRow(luma.data());
}

struct Recording {
    bool opened = false;
    // Video
    int width = 0, height = 0;
    AVRational frameRate = {0, 1};
    std::vector<int> counters;   // of the frames with pictures, in file order (-1: unreadable)
    std::vector<int64_t> slots;  // their places in the video stream, in frames
    int emptyFrames = 0;         // frame slots without a picture (placeholders for missing frames)
    double videoSeconds = 0;
    // Sound
    bool hasAudio = false;
    int sampleRate = 0, channels = 0;
    AVCodecID audioCodec = AV_CODEC_ID_NONE;
    int64_t samples = 0;
};

inline Recording ReadRecording(const std::string& path)
{
    Recording r;
    AVFormatContext* fmt = nullptr;
    if (avformat_open_input(&fmt, path.c_str(), nullptr, nullptr) < 0)
        return r;
    avformat_find_stream_info(fmt, nullptr);
    r.opened = true;
    int vs = av_find_best_stream(fmt, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    int as = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    AVCodecContext* dec = nullptr;
    if (vs >= 0) {
        const AVCodecParameters* par = fmt->streams[vs]->codecpar;
        r.width = par->width;
        r.height = par->height;
        r.frameRate = fmt->streams[vs]->r_frame_rate;
        const AVCodec* c = avcodec_find_decoder(par->codec_id);
        dec = avcodec_alloc_context3(c);
        avcodec_parameters_to_context(dec, par);
        avcodec_open2(dec, c, nullptr);
    }
    if (as >= 0) {
        const AVCodecParameters* par = fmt->streams[as]->codecpar;
        r.hasAudio = true;
        r.sampleRate = par->sample_rate;
        r.channels = par->ch_layout.nb_channels;
        r.audioCodec = par->codec_id;
    }
    AVPacket* pkt = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int64_t videoEnd = 0;
    while (av_read_frame(fmt, pkt) >= 0) {
        if (pkt->stream_index == vs) {
            // FFmpeg's reader passes over the writer's empty placeholder entries: they show
            // as a jump in the time of the frame after them (before the first one, too).
            if (pkt->pts != AV_NOPTS_VALUE) {
                if (pkt->pts > videoEnd)
                    r.emptyFrames += int(pkt->pts - videoEnd);
                videoEnd = std::max<int64_t>(videoEnd, pkt->pts + (pkt->duration > 0 ? pkt->duration : 1));
            }
            if (pkt->size > 0)
                r.slots.push_back(pkt->pts);
            if (pkt->size == 0) {
                ++r.emptyFrames;
            } else if (avcodec_send_packet(dec, pkt) >= 0 && avcodec_receive_frame(dec, frame) >= 0) {
                r.counters.push_back(synthetic_dv::CounterFromLumaRow(frame->data[0] + frame->linesize[0] * (frame->height / 2)));
                av_frame_unref(frame);
            } else {
                r.counters.push_back(-1);
            }
        } else if (pkt->stream_index == as && r.channels > 0) {
            int bytes = av_get_bits_per_sample(r.audioCodec) / 8;
            r.samples += pkt->size / (bytes * r.channels);
        }
        av_packet_unref(pkt);
    }
    if (vs >= 0)
        r.videoSeconds = double(videoEnd) * av_q2d(fmt->streams[vs]->time_base);
    av_frame_free(&frame);
    av_packet_free(&pkt);
    avcodec_free_context(&dec);
    avformat_close_input(&fmt);
    return r;
}

// Whether a top-level chunk of the file's first RIFF list has the given code.
inline bool HasTopChunk(const std::string& path, const char* code)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    unsigned char head[12];
    bool found = false;
    if (fread(head, 1, 12, f) == 12) {
        uint64_t end = 8 + (uint64_t(head[4]) | uint64_t(head[5]) << 8 | uint64_t(head[6]) << 16 | uint64_t(head[7]) << 24);
        for (uint64_t pos = 12; pos + 8 <= end && !found;) {
            unsigned char c[8];
            if (fseek(f, long(pos), SEEK_SET) || fread(c, 1, 8, f) != 8)
                break;
            found = memcmp(c, code, 4) == 0;
            uint32_t size = uint32_t(c[4]) | uint32_t(c[5]) << 8 | uint32_t(c[6]) << 16 | uint32_t(c[7]) << 24;
            pos += 8 + uint64_t(size) + (size & 1);
        }
    }
    fclose(f);
    return found;
}

// Whether the bytes appear anywhere in the file (for index chunks inside lists).
inline bool FileContains(const std::string& path, const char* code)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return false;
    std::vector<char> all;
    char buf[65536];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        all.insert(all.end(), buf, buf + n);
    fclose(f);
    return std::search(all.begin(), all.end(), code, code + strlen(code)) != all.end();
}

inline long FileSize(const std::string& path)
{
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return -1;
    fseek(f, 0, SEEK_END);
    long n = ftell(f);
    fclose(f);
    return n;
}

inline std::string TempAvi(const char* name)
{
    return std::string("/tmp/") + name + std::to_string(GetCurrentProcessId()) + ".avi";
}
