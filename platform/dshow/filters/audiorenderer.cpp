// Audio renderer: plays PCM through the machine's sound output (WinMM) at the samples'
// times; where there is no sound device the samples are taken at their times and discarded.
#include "classes.h"
#include "renderer_base.h"
#include <mmsystem.h>
#include <cstring>
#include <new>
#include <vector>

namespace {

const int kBuffers = 8;

class CAudioRenderer : public CRendererBase {
public:
    CAudioRenderer(LPUNKNOWN pUnk, HRESULT* phr)
        : CRendererBase(NAME("Audio renderer"), pUnk, CLSID_DSoundRender, L"Audio Input pin (rendered)", false, phr)
    {
        memset(m_headers, 0, sizeof m_headers);
    }
    ~CAudioRenderer() override { CloseDevice(); }

protected:
    HRESULT CheckMediaType(const CMediaType* pmt) override
    {
        if (!IsEqualGUID(*pmt->Type(), MEDIATYPE_Audio) || !IsEqualGUID(*pmt->Subtype(), MEDIASUBTYPE_PCM) ||
            !IsEqualGUID(*pmt->FormatType(), FORMAT_WaveFormatEx) || pmt->FormatLength() < sizeof(PCMWAVEFORMAT))
            return VFW_E_TYPE_NOT_ACCEPTED;
        const WAVEFORMATEX* wf = reinterpret_cast<const WAVEFORMATEX*>(pmt->Format());
        if (wf->wFormatTag != WAVE_FORMAT_PCM || wf->nChannels == 0 || wf->nBlockAlign == 0)
            return VFW_E_TYPE_NOT_ACCEPTED;
        return S_OK;
    }
    HRESULT SetMediaType(const CMediaType* pmt) override
    {
        CloseDevice();
        WAVEFORMATEX wf;
        memcpy(&wf, pmt->Format(), sizeof(PCMWAVEFORMAT));
        wf.cbSize = 0;
        // No device: the stream is still accepted and discarded.
        if (waveOutOpen(&m_device, WAVE_MAPPER, &wf, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
            m_device = nullptr;
        return S_OK;
    }
    void BreakConnect() override { CloseDevice(); }
    void OnStateChange(FILTER_STATE s) override
    {
        if (!m_device)
            return;
        if (s == State_Running)
            waveOutRestart(m_device);
        else if (s == State_Paused)
            waveOutPause(m_device);
        else
            waveOutReset(m_device);
    }
    HRESULT DoRenderSample(IMediaSample* pSample) override
    {
        if (!m_device)
            return S_OK;
        BYTE* p = nullptr;
        pSample->GetPointer(&p);
        LONG n = pSample->GetActualDataLength();
        // A buffer still playing is skipped: sound lost is better than a stalled graph.
        for (int i = 0; i < kBuffers; ++i) {
            WAVEHDR& h = m_headers[(m_next + i) % kBuffers];
            if (h.dwFlags & WHDR_PREPARED) {
                if (!(h.dwFlags & WHDR_DONE))
                    continue;
                waveOutUnprepareHeader(m_device, &h, sizeof h);
            }
            std::vector<BYTE>& data = m_data[(m_next + i) % kBuffers];
            data.assign(p, p + n);
            memset(&h, 0, sizeof h);
            h.lpData = reinterpret_cast<LPSTR>(data.data());
            h.dwBufferLength = DWORD(n);
            if (waveOutPrepareHeader(m_device, &h, sizeof h) == MMSYSERR_NOERROR)
                waveOutWrite(m_device, &h, sizeof h);
            m_next = (m_next + i + 1) % kBuffers;
            break;
        }
        return S_OK;
    }

private:
    void CloseDevice()
    {
        if (!m_device)
            return;
        waveOutReset(m_device);
        for (WAVEHDR& h : m_headers)
            if (h.dwFlags & WHDR_PREPARED)
                waveOutUnprepareHeader(m_device, &h, sizeof h);
        memset(m_headers, 0, sizeof m_headers);
        waveOutClose(m_device);
        m_device = nullptr;
    }

    HWAVEOUT m_device = nullptr;
    WAVEHDR m_headers[kBuffers];
    std::vector<BYTE> m_data[kBuffers];
    int m_next = 0;
};

const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const AMOVIESETUP_PIN kPins[] = {
    {L"Audio Input pin (rendered)", TRUE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kTypes}};
const AMOVIESETUP_FILTER kSetup = {&CLSID_DSoundRender, L"Default DirectSound Device", MERIT_PREFERRED, 1, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"Default DirectSound Device", &CLSID_DSoundRender, CreateServed<CAudioRenderer>, &kSetup);
