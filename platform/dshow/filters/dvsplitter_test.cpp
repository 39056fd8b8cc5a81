// DV splitter: raw interleaved DV frames in, the same frames on "DVVidOut0" and their
// sound as 48 kHz stereo PCM on "AudOut00".
#include "gtest_wine.h"
#include "streams.h"
#include "dv_fixture.h"
#include "video_formats.h"
#include <cstring>
#include <vector>

namespace {

const LONG kFrameBytes = 120000;

CMediaType InterleavedType()
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Interleaved);
    mt.SetSubtype(&MEDIASUBTYPE_dvsd);
    mt.SetFormatType(&FORMAT_DvInfo);
    DVINFO info = {};
    info.dwDVAAuxSrc = 0; // 48 kHz
    info.dwDVVAuxSrc = 0; // 60 fields
    mt.SetFormat(reinterpret_cast<BYTE*>(&info), sizeof info);
    mt.SetSampleSize(kFrameBytes);
    return mt;
}

class FrameSource : public CBaseFilter {
public:
    class Pin : public CBaseOutputPin {
    public:
        Pin(FrameSource* f, HRESULT* phr) : CBaseOutputPin(NAME("out"), f, &f->m_lock, phr, L"DV A/V Out") {}
        HRESULT CheckMediaType(const CMediaType* pmt) override { return *pmt == InterleavedType() ? S_OK : S_FALSE; }
        HRESULT GetMediaType(int i, CMediaType* pmt) override
        {
            if (i != 0)
                return i < 0 ? E_INVALIDARG : VFW_S_NO_MORE_ITEMS;
            *pmt = InterleavedType();
            return S_OK;
        }
        HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
        {
            ALLOCATOR_PROPERTIES want = *req, got;
            want.cBuffers = 2;
            want.cbBuffer = kFrameBytes;
            return a->SetProperties(&want, &got);
        }
    };
    FrameSource() : CBaseFilter(NAME("frames"), nullptr, &m_lock, GUID_NULL), m_pin(this, &m_hr) {}
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    HRESULT Push(const BYTE* frame, REFERENCE_TIME t)
    {
        IMediaSample* s = nullptr;
        HRESULT hr = m_pin.GetDeliveryBuffer(&s, nullptr, nullptr, 0);
        if (FAILED(hr))
            return hr;
        BYTE* p;
        s->GetPointer(&p);
        memcpy(p, frame, kFrameBytes);
        s->SetActualDataLength(kFrameBytes);
        REFERENCE_TIME e = t + 333667;
        s->SetTime(&t, &e);
        hr = m_pin.Deliver(s);
        s->Release();
        return hr;
    }
    CCritSec m_lock;
    HRESULT m_hr = S_OK;
    Pin m_pin;
};

class Sink : public CBaseFilter {
public:
    class Pin : public CBaseInputPin {
    public:
        Pin(Sink* f, HRESULT* phr) : CBaseInputPin(NAME("in"), f, &f->m_lock, phr, L"In"), m_sink(f) {}
        HRESULT CheckMediaType(const CMediaType* pmt) override
        {
            return IsEqualGUID(*pmt->Type(), m_sink->m_major) ? S_OK : S_FALSE;
        }
        STDMETHODIMP Receive(IMediaSample* s) override
        {
            HRESULT hr = CBaseInputPin::Receive(s);
            if (hr != S_OK)
                return hr;
            BYTE* p;
            s->GetPointer(&p);
            m_sink->m_sizes.push_back(s->GetActualDataLength());
            m_sink->m_data.insert(m_sink->m_data.end(), p, p + s->GetActualDataLength());
            return S_OK;
        }
        Sink* m_sink;
    };
    explicit Sink(const GUID& major) : CBaseFilter(NAME("sink"), nullptr, &m_lock, GUID_NULL), m_major(major), m_pin(this, &m_hr) {}
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    CCritSec m_lock;
    HRESULT m_hr = S_OK;
    GUID m_major;
    Pin m_pin;
    std::vector<LONG> m_sizes;
    std::vector<BYTE> m_data;
};

IPin* PinNamed(IBaseFilter* f, LPCWSTR name)
{
    IPin* p = nullptr;
    f->FindPin(name, &p);
    return p;
}

} // namespace

TEST(DVSplitter, SplitsPicturesAndSoundOfInterleavedFrames)
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const std::string path = "/tmp/dshow_split" + std::to_string(GetCurrentProcessId()) + ".dv";
    DvClipFormat format;
    format.frames = 5;
    format.rawDv = true;
    std::string error;
    ASSERT_TRUE(WriteDvClip(path, format, &error)) << error;
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<BYTE> file(kFrameBytes * 5);
    ASSERT_EQ(fread(file.data(), 1, file.size(), f), file.size());
    fclose(f);
    remove(path.c_str());

    IBaseFilter* splitter = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_DVSplitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&splitter), S_OK);
    FrameSource* source = new FrameSource;
    Sink* video = new Sink(MEDIATYPE_Video);
    Sink* audio = new Sink(MEDIATYPE_Audio);
    source->AddRef();
    video->AddRef();
    audio->AddRef();
    IPin* in = PinNamed(splitter, L"Input");
    IPin* vout = PinNamed(splitter, L"DVVidOut0");
    IPin* aout = PinNamed(splitter, L"AudOut00");
    ASSERT_TRUE(in && vout && aout);
    // No types before the input is connected.
    IEnumMediaTypes* e = nullptr;
    ASSERT_EQ(vout->EnumMediaTypes(&e), S_OK);
    AM_MEDIA_TYPE* mt = nullptr;
    EXPECT_EQ(e->Next(1, &mt, nullptr), S_FALSE);
    e->Release();

    ASSERT_EQ(source->GetPin(0)->Connect(in, nullptr), S_OK);
    ASSERT_EQ(vout->Connect(video->GetPin(0), nullptr), S_OK);
    ASSERT_EQ(aout->Connect(audio->GetPin(0), nullptr), S_OK);
    AM_MEDIA_TYPE at;
    ASSERT_EQ(aout->ConnectionMediaType(&at), S_OK);
    const WAVEFORMATEX* wf = reinterpret_cast<const WAVEFORMATEX*>(at.pbFormat);
    EXPECT_EQ(wf->nSamplesPerSec, 48000u);
    EXPECT_EQ(wf->nChannels, 2);
    FreeMediaType(at);
    AM_MEDIA_TYPE vt;
    ASSERT_EQ(vout->ConnectionMediaType(&vt), S_OK);
    EXPECT_TRUE(IsEqualGUID(vt.subtype, MEDIASUBTYPE_dvsd));
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(vt.pbFormat)->bmiHeader.biHeight, 480);
    FreeMediaType(vt);

    video->Run(0);
    audio->Run(0);
    splitter->Run(0);
    source->Run(0);
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(source->Push(file.data() + i * kFrameBytes, i * 333667), S_OK);
    EXPECT_EQ(video->m_sizes, std::vector<LONG>(5, kFrameBytes));
    EXPECT_EQ(memcmp(video->m_data.data(), file.data(), file.size()), 0);
    ASSERT_EQ(audio->m_sizes.size(), 5u);
    for (LONG n : audio->m_sizes) {
        EXPECT_GE(n, 1600 * 4);
        EXPECT_LE(n, 1602 * 4);
    }
    bool loud = false;
    for (size_t i = 0; i + 1 < audio->m_data.size(); i += 2)
        loud |= abs(int16_t(audio->m_data[i] | (audio->m_data[i + 1] << 8))) > 500;
    EXPECT_TRUE(loud);

    source->Stop();
    splitter->Stop();
    video->Stop();
    audio->Stop();
    for (IPin* p : {in, vout, aout}) {
        IPin* peer = nullptr;
        if (SUCCEEDED(p->ConnectedTo(&peer)) && peer) {
            peer->Disconnect();
            peer->Release();
        }
        p->Disconnect();
        p->Release();
    }
    splitter->Release();
    source->Release();
    video->Release();
    audio->Release();
    EXPECT_FALSE(TestBinDir().empty());
    CoUninitialize();
}
