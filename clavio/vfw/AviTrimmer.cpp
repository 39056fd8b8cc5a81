#include "AviTrimmer.h"
#include "ErrorBox.h"
#include "ProgressDlg.h"
extern "C" {
#include <libavformat/avformat.h>
}
#include <dlfcn.h>
#include <cstdio>
#include <string>
#include <vector>

extern "C" char* CDECL wine_get_unix_file_name(LPCWSTR dos);

namespace {

// FFmpeg's libraries are loaded when a clip is first cut and stay loaded: linked into the
// control's module they would keep it from loading again once COM has unloaded it.
#define FFMPEG_FUNCTIONS(X)                                                                  \
    X(avformat, avformat_open_input) X(avformat, avformat_find_stream_info)                 \
    X(avformat, av_find_best_stream) X(avformat, avformat_alloc_output_context2)            \
    X(avformat, avformat_new_stream) X(avformat, avio_open) X(avformat, avio_closep)        \
    X(avformat, avformat_write_header) X(avformat, av_read_frame)                           \
    X(avformat, av_write_frame) X(avformat, av_write_trailer)                               \
    X(avformat, avformat_free_context) X(avformat, avformat_close_input)                    \
    X(avcodec, avcodec_parameters_copy) X(avcodec, av_packet_alloc)                         \
    X(avcodec, av_packet_free) X(avcodec, av_packet_unref)                                  \
    X(avcodec, av_get_exact_bits_per_sample) X(avutil, av_rescale_rnd) X(avutil, av_rescale_q)

struct FFmpeg {
#define FFMPEG_POINTER(lib, name) decltype(&::name) name = nullptr;
    FFMPEG_FUNCTIONS(FFMPEG_POINTER)
#undef FFMPEG_POINTER
};

// The functions, or null when a library or one of them is missing.
const FFmpeg* LoadFFmpeg()
{
    static FFmpeg ff;
    static bool tried = false, loaded = false;
    if (tried)
        return loaded ? &ff : nullptr;
    tried = true;
    void* avutil = dlopen("libavutil.so." AV_STRINGIFY(LIBAVUTIL_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
    void* avcodec = dlopen("libavcodec.so." AV_STRINGIFY(LIBAVCODEC_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
    void* avformat = dlopen("libavformat.so." AV_STRINGIFY(LIBAVFORMAT_VERSION_MAJOR), RTLD_NOW | RTLD_LOCAL);
    if (!avutil || !avcodec || !avformat)
        return nullptr;
    loaded = true;
#define FFMPEG_LOOKUP(lib, name)                                                              \
    ff.name = reinterpret_cast<decltype(&::name)>(dlsym(lib, #name));                        \
    loaded = loaded && ff.name;
    FFMPEG_FUNCTIONS(FFMPEG_LOOKUP)
#undef FFMPEG_LOOKUP
    return loaded ? &ff : nullptr;
}

// At most this many streams of a clip are cut.
const unsigned kMaxStreams = 25;

std::string UnixPathOf(const CString& path)
{
    std::vector<WCHAR> wide(path.GetLength() + 1);
    MultiByteToWideChar(CP_ACP, 0, path, -1, wide.data(), int(wide.size()));
    char* unix = wine_get_unix_file_name(wide.data());
    if (!unix)
        return std::string();
    std::string out(unix);
    HeapFree(GetProcessHeap(), 0, unix);
    return out;
}

// One stream of the cut: where its kept part starts and ends, in its own units.
struct CutStream {
    int out = -1;             // output stream, -1 when not written
    bool video = false;
    bool pcm = false;         // sound cut to the sample (block) rather than by packets
    int blockAlign = 0;
    int64_t first = 0, end = 0;   // frames or samples kept: [first, end)
    int64_t position = 0;         // of the next packet's first frame or sample
};

class Cutter
{
public:
    explicit Cutter(const FFmpeg& ff) : m_ff(ff) {}
    ~Cutter()
    {
        m_ff.av_packet_free(&m_packet);
        if (m_out) {
            if (m_out->pb)
                m_ff.avio_closep(&m_out->pb);
            m_ff.avformat_free_context(m_out);
        }
        m_ff.avformat_close_input(&m_in);
    }

    bool OpenSource(const std::string& path)
    {
        if (path.empty() || m_ff.avformat_open_input(&m_in, path.c_str(), nullptr, nullptr) < 0) {
            m_in = nullptr;
            return false;
        }
        return m_ff.avformat_find_stream_info(m_in, nullptr) >= 0;
    }

    // The range of every stream; false when the clip has no video or the range is empty.
    bool Plan(long trimIn, long trimOut)
    {
        const int video = m_ff.av_find_best_stream(m_in, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (video < 0)
            return false;
        const AVStream* vs = m_in->streams[video];
        int64_t frames = vs->nb_frames;
        if (frames <= 0 && vs->duration > 0)
            frames = vs->duration;
        int64_t first = trimIn < 0 ? 0 : trimIn;
        int64_t last = trimOut;
        if (frames > 0 && last > frames - 1)
            last = frames - 1;
        if (last < first)
            return false;
        m_streams.assign(m_in->nb_streams, CutStream());
        m_videoTimeBase = vs->time_base;
        m_frames = last - first + 1;
        for (unsigned i = 0; i < m_in->nb_streams && i < kMaxStreams; ++i) {
            const AVCodecParameters* par = m_in->streams[i]->codecpar;
            CutStream& c = m_streams[i];
            if (int(i) == video) {
                c.video = true;
                c.first = first;
                c.end = last + 1;
            } else if (par->codec_type == AVMEDIA_TYPE_AUDIO && par->sample_rate > 0) {
                // The sound that plays with the kept pictures, to the nearest sample.
                const int64_t scale = int64_t(vs->time_base.num) * par->sample_rate;
                c.first = m_ff.av_rescale_rnd(first, scale, vs->time_base.den, AV_ROUND_NEAR_INF);
                c.end = m_ff.av_rescale_rnd(last + 1, scale, vs->time_base.den, AV_ROUND_NEAR_INF);
                c.blockAlign = par->block_align;
                c.pcm = par->block_align > 0 && par->bits_per_coded_sample > 0 &&
                        m_ff.av_get_exact_bits_per_sample(par->codec_id) > 0;
            } else {
                continue;
            }
            c.out = m_outputs++;
        }
        return true;
    }

    bool OpenDestination(const std::string& path)
    {
        if (path.empty() || m_ff.avformat_alloc_output_context2(&m_out, nullptr, "avi", path.c_str()) < 0)
            return false;
        for (unsigned i = 0; i < m_streams.size(); ++i) {
            if (m_streams[i].out < 0)
                continue;
            AVStream* s = m_ff.avformat_new_stream(m_out, nullptr);
            if (!s || m_ff.avcodec_parameters_copy(s->codecpar, m_in->streams[i]->codecpar) < 0)
                return false;
            s->codecpar->codec_tag = 0;
            const AVCodecParameters* par = s->codecpar;
            s->time_base = m_streams[i].video ? m_in->streams[i]->time_base
                                              : AVRational{1, par->sample_rate};
            s->avg_frame_rate = m_in->streams[i]->avg_frame_rate;
            s->r_frame_rate = m_in->streams[i]->r_frame_rate;
        }
        m_packet = m_ff.av_packet_alloc();
        return m_packet && m_ff.avio_open(&m_out->pb, path.c_str(), AVIO_FLAG_WRITE) >= 0 &&
               m_ff.avformat_write_header(m_out, nullptr) >= 0;
    }

    // Copies the next packet when it is kept; 0 at the end, -1 on failure, else 1.
    int Step()
    {
        int rc = m_ff.av_read_frame(m_in, m_packet);
        if (rc == AVERROR_EOF)
            return 0;
        if (rc < 0)
            return -1;
        int result = 1;
        if (unsigned(m_packet->stream_index) < m_streams.size() &&
            m_streams[m_packet->stream_index].out >= 0)
            result = Copy(m_streams[m_packet->stream_index]);
        m_ff.av_packet_unref(m_packet);
        return result;
    }

    bool Finish() { return m_ff.av_write_trailer(m_out) >= 0; }
    // Share of the kept pictures written, 0..100.
    int Percent() const { return m_frames > 0 ? int(m_written * 100 / m_frames) : 100; }

private:
    int Copy(CutStream& c)
    {
        AVStream* out = m_out->streams[c.out];
        if (c.video) {
            const int64_t frame = m_packet->pts != AV_NOPTS_VALUE ? m_packet->pts : c.position;
            c.position = frame + 1;
            if (frame < c.first || frame >= c.end)
                return 1;
            m_packet->pts = m_packet->dts = m_ff.av_rescale_q(frame - c.first, m_videoTimeBase, out->time_base);
            ++m_written;
        } else if (c.pcm) {
            const int64_t samples = m_packet->size / c.blockAlign;
            const int64_t from = std::max(c.first, c.position), to = std::min(c.end, c.position + samples);
            const int64_t start = c.position;
            c.position += samples;
            if (from >= to)
                return 1;
            m_packet->data += (from - start) * c.blockAlign;
            m_packet->size = int((to - from) * c.blockAlign);
            m_packet->pts = m_packet->dts = from - c.first;
            m_packet->duration = to - from;
        } else {
            const AVRational tb = m_in->streams[m_packet->stream_index]->time_base;
            const int64_t sample = m_packet->pts == AV_NOPTS_VALUE ? c.position
                                 : m_ff.av_rescale_q(m_packet->pts, tb, AVRational{1, out->codecpar->sample_rate});
            c.position = sample + 1;
            if (sample < c.first || sample >= c.end)
                return 1;
            m_packet->pts = m_packet->dts = sample - c.first;
        }
        m_packet->stream_index = c.out;
        m_packet->pos = -1;
        return m_ff.av_write_frame(m_out, m_packet) >= 0 ? 1 : -1;
    }

    const FFmpeg& m_ff;
    AVFormatContext* m_in = nullptr;
    AVFormatContext* m_out = nullptr;
    AVPacket* m_packet = nullptr;
    std::vector<CutStream> m_streams;
    AVRational m_videoTimeBase = {1, 1};
    int m_outputs = 0;
    int64_t m_frames = 0, m_written = 0;
};

} // namespace

CAviTrimmer::CAviTrimmer(CWnd* parent)
    : m_lTrimIn(0), m_lTrimOut(0), m_pProgress(new CProgressDlg(TRUE, parent)), m_pParent(parent)
{
    m_pProgress->SetMessage("Trimming clip...");
    m_pProgress->SetRange(100);
}

CAviTrimmer::~CAviTrimmer()
{
    if (m_pProgress->GetSafeHwnd())
        m_pProgress->DestroyWindow();
    delete m_pProgress;
}

int CAviTrimmer::Trim()
{
    const std::string destination = UnixPathOf(m_strDestination);
    bool written = false;
    {
        const FFmpeg* ff = LoadFFmpeg();
        if (!ff) {
            ErrorBox("Unable to open %s", (LPCTSTR)m_strSource);
            return 1;
        }
        Cutter cutter(*ff);
        if (!cutter.OpenSource(UnixPathOf(m_strSource))) {
            ErrorBox("Unable to open %s", (LPCTSTR)m_strSource);
            return 1;
        }
        if (!cutter.Plan(m_lTrimIn, m_lTrimOut)) {
            ErrorBox("Could not trim video stream\n");
            return 1;
        }
        m_pProgress->Show(m_pParent);
        bool ok = cutter.OpenDestination(destination);
        int shown = 0, rc = 1;
        while (ok && (rc = cutter.Step()) > 0) {
            for (; shown < cutter.Percent(); ++shown)
                m_pProgress->StepIt();
            if (m_pProgress->IsCancelled())
                ok = false;
        }
        written = ok && rc == 0 && cutter.Finish();
    }
    if (!written) {
        if (!destination.empty())
            remove(destination.c_str());
        if (!m_pProgress->IsCancelled())
            ErrorBox("Trim was not successful");
        return 1;
    }
    return 0;
}
