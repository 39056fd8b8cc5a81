#include "audio_capture.h"
#include "avdevice_loader.h"
#include "live_source.h"
#include "video_formats.h"
extern "C" {
#include <libavformat/avformat.h>
}
#include <cmath>
#include <memory>
#include <new>
#include <vector>

// {6C1A4D02-0E55-4F1B-9A3E-51D0C2B7A102}
static const GUID CLSID_QuorvelAudioCapture = {0x6c1a4d02, 0x0e55, 0x4f1b, {0x9a, 0x3e, 0x51, 0xd0, 0xc2, 0xb7, 0xa1, 0x02}};

namespace {

const WAVEFORMATEX* Wave(const CMediaType& mt)
{
    return mt.FormatLength() >= sizeof(PCMWAVEFORMAT) ? reinterpret_cast<const WAVEFORMATEX*>(mt.Format()) : nullptr;
}

class AudioFeed {
public:
    virtual ~AudioFeed() {}
    virtual bool Paced() const = 0;
    virtual bool Open(const WAVEFORMATEX& wf) = 0;
    virtual void Close() {}
    // Appends the samples of the next `frames` sample frames (paced) or whatever the device
    // has (unpaced); false when the device is gone.
    virtual bool Read(int frames, std::vector<BYTE>& out) = 0;
};

class ToneFeed : public AudioFeed {
public:
    bool Paced() const override { return true; }
    bool Open(const WAVEFORMATEX& wf) override
    {
        m_wf = wf;
        m_phase = 0;
        return true;
    }
    bool Read(int frames, std::vector<BYTE>& out) override
    {
        for (int i = 0; i < frames; ++i, ++m_phase) {
            double v = 0.25 * std::sin(2.0 * M_PI * 440.0 * double(m_phase) / m_wf.nSamplesPerSec);
            for (int c = 0; c < m_wf.nChannels; ++c) {
                if (m_wf.wBitsPerSample == 8) {
                    out.push_back(BYTE(128 + int(v * 127)));
                } else {
                    int16_t s = int16_t(v * 32767);
                    out.push_back(BYTE(s & 0xFF));
                    out.push_back(BYTE((s >> 8) & 0xFF));
                }
            }
        }
        return true;
    }

private:
    WAVEFORMATEX m_wf{};
    LONGLONG m_phase = 0;
};

class AlsaFeed : public AudioFeed {
public:
    explicit AlsaFeed(const std::string& device) : m_device(device) {}
    ~AlsaFeed() override { Close(); }
    bool Paced() const override { return false; }
    bool Open(const WAVEFORMATEX& wf) override
    {
        LoadDeviceReaders();
        const AVInputFormat* f = av_find_input_format("alsa");
        if (!f)
            return false;
        AVDictionary* opts = nullptr;
        av_dict_set_int(&opts, "sample_rate", wf.nSamplesPerSec, 0);
        av_dict_set_int(&opts, "channels", wf.nChannels, 0);
        int rc = avformat_open_input(&m_ctx, m_device.c_str(), f, &opts);
        av_dict_free(&opts);
        m_eight = wf.wBitsPerSample == 8;
        return rc >= 0;
    }
    void Close() override
    {
        if (m_ctx)
            avformat_close_input(&m_ctx);
    }
    bool Read(int, std::vector<BYTE>& out) override
    {
        AVPacket* pkt = av_packet_alloc();
        bool ok = m_ctx && av_read_frame(m_ctx, pkt) >= 0;
        if (ok) {
            // The reader gives signed 16-bit samples; 8-bit output is offset binary.
            if (m_eight)
                for (int i = 1; i < pkt->size; i += 2)
                    out.push_back(BYTE(int8_t(pkt->data[i]) + 128));
            else
                out.insert(out.end(), pkt->data, pkt->data + pkt->size);
        }
        av_packet_free(&pkt);
        return ok;
    }

private:
    std::string m_device;
    AVFormatContext* m_ctx = nullptr;
    bool m_eight = false;
};

class CAudioCapture : public CLiveSource {
public:
    CAudioCapture(AudioFeed* feed, HRESULT* phr)
        : CLiveSource(NAME("Audio capture"), nullptr, CLSID_QuorvelAudioCapture), m_feed(feed)
    {
        AddPin(new CLivePin(this, phr, L"Capture", PIN_CATEGORY_CAPTURE,
                            {MakePcmType(44100, 1, 16), MakePcmType(44100, 2, 16), MakePcmType(48000, 2, 16),
                             MakePcmType(22050, 1, 16), MakePcmType(11025, 1, 8)},
                            false));
    }

protected:
    bool AcceptsFormat(CLivePin*, const CMediaType* mt) override
    {
        if (!IsEqualGUID(mt->majortype, MEDIATYPE_Audio) || !IsEqualGUID(mt->subtype, MEDIASUBTYPE_PCM) ||
            !IsEqualGUID(mt->formattype, FORMAT_WaveFormatEx))
            return false;
        const WAVEFORMATEX* wf = Wave(*mt);
        return wf && wf->wFormatTag == WAVE_FORMAT_PCM && wf->nChannels >= 1 && wf->nChannels <= 2 &&
               (wf->wBitsPerSample == 8 || wf->wBitsPerSample == 16) && wf->nSamplesPerSec >= 8000 &&
               wf->nSamplesPerSec <= 48000 && wf->nBlockAlign == wf->nChannels * wf->wBitsPerSample / 8 &&
               wf->nAvgBytesPerSec == wf->nSamplesPerSec * wf->nBlockAlign;
    }
    LONG BufferSize(CLivePin* pin) override
    {
        const WAVEFORMATEX* wf = Wave(pin->IsConnected() ? pin->CurrentMediaType() : pin->Format());
        return wf ? LONG(wf->nAvgBytesPerSec / 10 + wf->nBlockAlign) * 2 : 32768;
    }
    bool Open() override
    {
        const WAVEFORMATEX* wf = Wave(m_pins[0]->Format());
        if (!wf)
            return false;
        m_wf = *wf;
        m_wf.cbSize = 0;
        m_samples = 0;
        m_origin = -1;
        m_pending.clear();
        return m_feed->Open(m_wf);
    }
    void Close() override { m_feed->Close(); }
    bool Capture() override
    {
        const int chunk = int(m_wf.nSamplesPerSec / 10);
        // A source that makes its own sound starts it with the run, as the synthetic camera
        // numbers its frames from the run's start: a thread that got going late on a loaded
        // machine catches up instead of starting its sound after pictures already taken.
        if (m_origin < 0)
            m_origin = m_feed->Paced() ? 0 : Now();
        if (m_feed->Paced()) {
            // The buffer is delivered once its last sample has been "heard".
            if (!WaitUntil(m_origin + TimeOf(m_samples + chunk)))
                return true;
            if (!m_feed->Read(chunk, m_pending))
                return false;
        } else if (!m_feed->Read(chunk, m_pending)) {
            return false;
        }
        const LONG block = m_wf.nBlockAlign;
        const LONG bytes = chunk * block;
        while (LONG(m_pending.size()) >= (m_feed->Paced() ? block : bytes)) {
            LONG n = LONG(m_pending.size()) < bytes ? LONG(m_pending.size()) / block * block : bytes;
            LONGLONG frames = n / block;
            REFERENCE_TIME start = m_origin + TimeOf(m_samples), stop = m_origin + TimeOf(m_samples + frames);
            HRESULT hr = m_pins[0]->DeliverBuffer(m_pending.data(), n, start, stop);
            CountDelivered(hr == S_OK ? 1 : 0, 0);
            m_samples += frames;
            m_pending.erase(m_pending.begin(), m_pending.begin() + n);
        }
        return true;
    }

private:
    REFERENCE_TIME TimeOf(LONGLONG samples) const { return samples * UNITS / m_wf.nSamplesPerSec; }

    std::unique_ptr<AudioFeed> m_feed;
    WAVEFORMATEX m_wf{};
    LONGLONG m_samples = 0;
    REFERENCE_TIME m_origin = -1;
    std::vector<BYTE> m_pending;
};

HRESULT Make(AudioFeed* feed, IBaseFilter** ppFilter)
{
    if (!ppFilter)
        return E_POINTER;
    *ppFilter = nullptr;
    HRESULT hr = S_OK;
    CAudioCapture* f = new (std::nothrow) CAudioCapture(feed, &hr);
    return CLiveSource::HandOut(f, hr, ppFilter);
}

} // namespace

HRESULT CreateSyntheticAudioSource(IBaseFilter** ppFilter) { return Make(new ToneFeed, ppFilter); }

HRESULT CreateAlsaAudioSource(const std::string& device, IBaseFilter** ppFilter)
{
    return Make(new AlsaFeed(device), ppFilter);
}
