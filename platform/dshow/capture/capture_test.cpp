// Device enumeration with the synthetic camera off and on (both standards), the camcorder's
// pins and formats, the capture graph builder's pin and interface lookups and stream
// control, a recording through a pass-through in-place filter in front of the multiplexer
// (times one frame apart, the compatibility index kept), and a camera that goes off.
#include "capture_test_support.h"
#include <algorithm>

namespace {

const char kCameraName[] = "Microsoft DV Camera and VCR (synthetic)";

class CaptureTest : public testing::Test {
protected:
    void SetUp() override { CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    void TearDown() override
    {
        SwitchSyntheticCamera(nullptr);
        CoUninitialize();
    }
    void MakeGraph()
    {
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&graph), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                   (void**)&builder),
                  S_OK);
        ASSERT_EQ(builder->SetFiltergraph(graph), S_OK);
        graph->QueryInterface(IID_IMediaControl, (void**)&control);
        graph->QueryInterface(IID_IMediaEventEx, (void**)&events);
    }
    Ptr<IGraphBuilder> graph;
    Ptr<ICaptureGraphBuilder2> builder;
    Ptr<IMediaControl> control;
    Ptr<IMediaEventEx> events;
};

// The property set interface (its identifier is not in the libraries linked here).
const GUID kIKsPropertySet = {0x31efac30, 0x515c, 0x11d0, {0xa9, 0xaa, 0x00, 0xaa, 0x00, 0x61, 0xbe, 0x93}};

GUID CategoryOf(IPin* pin)
{
    GUID g = GUID_NULL;
    Ptr<IKsPropertySet> ks;
    DWORD got = 0;
    if (SUCCEEDED(pin->QueryInterface(kIKsPropertySet, (void**)&ks)))
        ks->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &g, sizeof g, &got);
    return g;
}

TEST_F(CaptureTest, EnumeratorListsTheSyntheticCameraOnlyWhenSwitchedOn)
{
    struct Case {
        const char* value;
        bool listed;
        bool pal;
    } cases[] = {{nullptr, false, false}, {"0", false, false}, {"1", true, false},
                 {"PAL", true, true},     {"ntsc,lose=5", true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(unset)");
        SwitchSyntheticCamera(c.value);
        for (const GUID& category : {CLSID_VideoInputDeviceCategory, CLSID_AudioInputDeviceCategory}) {
            HRESULT hr;
            std::vector<std::string> names = DeviceNames(category, &hr);
            // No device at all is S_FALSE with no enumerator, not a failure.
            ASSERT_TRUE(hr == S_OK || hr == S_FALSE) << std::hex << hr;
            EXPECT_EQ(hr == S_OK, !names.empty());
            const char* synthetic =
                IsEqualGUID(category, CLSID_VideoInputDeviceCategory) ? kCameraName : "Synthetic Tone Input";
            bool found = std::find(names.begin(), names.end(), synthetic) != names.end();
            EXPECT_EQ(found, c.listed);
            if (c.listed)
                EXPECT_EQ(names[0], synthetic);
        }
        if (!c.listed)
            continue;
        Ptr<IBaseFilter> camera;
        ASSERT_EQ(FirstDevice(CLSID_VideoInputDeviceCategory, &camera), S_OK);
        EXPECT_EQ(PinNames(camera), (std::vector<std::string>{"DV Vid Out", "DV A/V Out"}));
        // Both are capture pins (a camcorder has no preview pin), with their formats and counters.
        Ptr<IPin> video, av;
        video.p = PinNamed(camera, "DV Vid Out");
        av.p = PinNamed(camera, "DV A/V Out");
        ASSERT_TRUE(video && av);
        const GUID videoCategory = CategoryOf(video), avCategory = CategoryOf(av);
        EXPECT_TRUE(IsEqualGUID(videoCategory, PIN_CATEGORY_CAPTURE));
        EXPECT_TRUE(IsEqualGUID(avCategory, PIN_CATEGORY_CAPTURE));
        Ptr<IAMStreamConfig> config;
        ASSERT_EQ(video->QueryInterface(IID_IAMStreamConfig, (void**)&config), S_OK);
        AM_MEDIA_TYPE* mt = nullptr;
        ASSERT_EQ(config->GetFormat(&mt), S_OK);
        EXPECT_TRUE(IsEqualGUID(mt->subtype, MEDIASUBTYPE_dvsd));
        ASSERT_TRUE(IsEqualGUID(mt->formattype, FORMAT_VideoInfo));
        const VIDEOINFOHEADER* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt->pbFormat);
        EXPECT_EQ(vih->bmiHeader.biWidth, 720);
        EXPECT_EQ(vih->bmiHeader.biHeight, c.pal ? 576 : 480);
        EXPECT_EQ(vih->AvgTimePerFrame, c.pal ? 400000 : 333667);
        DeleteMediaType(mt);
        config.reset();
        ASSERT_EQ(av->QueryInterface(IID_IAMStreamConfig, (void**)&config), S_OK);
        ASSERT_EQ(config->GetFormat(&mt), S_OK);
        EXPECT_TRUE(IsEqualGUID(mt->majortype, MEDIATYPE_Interleaved));
        EXPECT_TRUE(IsEqualGUID(mt->formattype, FORMAT_DvInfo));
        EXPECT_EQ(mt->lSampleSize, c.pal ? 144000u : 120000u);
        DeleteMediaType(mt);
        Ptr<IAMDroppedFrames> counters;
        EXPECT_EQ(av->QueryInterface(IID_IAMDroppedFrames, (void**)&counters), S_OK);
    }
}

TEST_F(CaptureTest, BuilderFindsPinsAndInterfacesByCategoryAndControlsStreams)
{
    SwitchSyntheticCamera("1");
    MakeGraph();
    EXPECT_EQ(builder->SetFiltergraph(graph), E_UNEXPECTED);
    Ptr<IBaseFilter> camera, mux;
    ASSERT_EQ(FirstDevice(CLSID_VideoInputDeviceCategory, &camera), S_OK);
    ASSERT_EQ(graph->AddFilter(camera, L"Capture Filter (Man)"), S_OK);

    struct Case {
        const GUID* category;
        const GUID* type;
        int num;
        const char* pin;  // null: none
    } cases[] = {{&PIN_CATEGORY_CAPTURE, nullptr, 0, "DV Vid Out"},
                 {&PIN_CATEGORY_CAPTURE, nullptr, 1, "DV A/V Out"},
                 {&PIN_CATEGORY_CAPTURE, nullptr, 2, nullptr},
                 {&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Interleaved, 0, "DV A/V Out"},
                 {&PIN_CATEGORY_PREVIEW, nullptr, 0, nullptr}};
    for (const Case& c : cases) {
        Ptr<IPin> pin;
        HRESULT hr = builder->FindPin(camera, PINDIR_OUTPUT, c.category, c.type, FALSE, c.num, &pin);
        if (!c.pin) {
            EXPECT_EQ(hr, E_FAIL);
            continue;
        }
        ASSERT_EQ(hr, S_OK) << c.pin;
        PIN_INFO info;
        pin->QueryPinInfo(&info);
        info.pFilter->Release();
        EXPECT_EQ(Ansi(info.achName), c.pin);
    }
    // Interfaces of the capture pin; the multiplexer's own from a filter upstream of it.
    Ptr<IAMStreamConfig> config;
    EXPECT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, IID_IAMStreamConfig,
                                     (void**)&config),
              S_OK);
    Ptr<IConfigAviMux> notThere;
    EXPECT_EQ(builder->FindInterface(nullptr, nullptr, camera, IID_IConfigAviMux, (void**)&notThere), E_NOINTERFACE);
    const std::string path = TempAvi("capture_builder");
    const std::u16string file = Utf16(WinePath(path));
    EXPECT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Asf, reinterpret_cast<LPCOLESTR>(file.c_str()), &mux, nullptr),
              E_NOTIMPL);
    ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, reinterpret_cast<LPCOLESTR>(file.c_str()), &mux, nullptr), S_OK);
    ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, nullptr, mux), S_OK);
    Ptr<IConfigAviMux> found;
    EXPECT_EQ(builder->FindInterface(&LOOK_DOWNSTREAM_ONLY, nullptr, camera, IID_IConfigAviMux, (void**)&found), S_OK);
    Ptr<IFileSinkFilter> sink;
    EXPECT_EQ(builder->FindInterface(nullptr, nullptr, camera, IID_IFileSinkFilter, (void**)&sink), S_OK);

    // Stream control: the capture stream held back, then let through.
    REFERENCE_TIME never = MAXLONGLONG;
    ASSERT_EQ(builder->ControlStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, &never, &never, 0, 0), S_OK);
    Ptr<IPin> video;
    video.p = PinNamed(camera, "DV Vid Out");
    Ptr<IAMStreamControl> control;
    ASSERT_EQ(video->QueryInterface(IID_IAMStreamControl, (void**)&control), S_OK);
    AM_STREAM_INFO info;
    ASSERT_EQ(control->GetInfo(&info), S_OK);
    EXPECT_TRUE(info.dwFlags & AM_STREAM_INFO_DISCARDING);
    ASSERT_EQ(builder->ControlStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, nullptr, &never, 0, 0), S_OK);
    ASSERT_EQ(control->GetInfo(&info), S_OK);
    EXPECT_FALSE(info.dwFlags & AM_STREAM_INFO_DISCARDING);
    EXPECT_EQ(builder->ControlStream(&PIN_CATEGORY_PREVIEW, nullptr, camera, nullptr, &never, 0, 0), E_FAIL);
    remove(path.c_str());
}

// Passes DV frames on untouched and keeps their times.
class PassThrough : public CTransInPlaceFilter {
public:
    explicit PassThrough(HRESULT* phr) : CTransInPlaceFilter(NAME("pass"), nullptr, GUID_NULL, phr, false) {}
    HRESULT CheckInputType(const CMediaType* mt) override
    {
        return IsEqualGUID(*mt->Subtype(), MEDIASUBTYPE_dvsd) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT Transform(IMediaSample* s) override
    {
        REFERENCE_TIME a = 0, b = 0;
        if (s->GetTime(&a, &b) == S_OK)
            times.push_back({a, b});
        return S_OK;
    }
    std::vector<std::pair<REFERENCE_TIME, REFERENCE_TIME>> times;
};

TEST_F(CaptureTest, RecordsThroughAPassThroughFilterInFrontOfTheMultiplexer)
{
    SwitchSyntheticCamera("1");
    MakeGraph();
    const std::string path = TempAvi("capture_pass");
    remove(path.c_str());
    HRESULT hr = S_OK;
    PassThrough* pass = new PassThrough(&hr);
    pass->AddRef();
    {
        Ptr<IBaseFilter> camera, microphone, renderer, mux;
        ASSERT_EQ(FirstDevice(CLSID_VideoInputDeviceCategory, &camera), S_OK);
        ASSERT_EQ(FirstDevice(CLSID_AudioInputDeviceCategory, &microphone), S_OK);
        ASSERT_EQ(graph->AddFilter(camera, L"Capture Filter (Man)"), S_OK);
        ASSERT_EQ(graph->AddFilter(microphone, nullptr), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer), S_OK);
        ASSERT_EQ(graph->AddFilter(renderer, L"Video Renderer (Man)"), S_OK);
        EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, nullptr, camera, nullptr, renderer), VFW_S_NOPREVIEWPIN);
        // Added only now, so that the preview's connection does not take it in.
        ASSERT_EQ(graph->AddFilter(pass, L"Pass"), S_OK);
        const std::u16string file = Utf16(WinePath(path));
        ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, reinterpret_cast<LPCOLESTR>(file.c_str()), &mux, nullptr), S_OK);
        // The pass-through filter goes between the tee and "Input 01".
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, pass, mux), S_OK);
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, microphone, nullptr, mux), S_OK);
        Ptr<IPin> first;
        first.p = PinNamed(mux, "Input 01");
        Ptr<IPin> feeder;
        ASSERT_EQ(first->ConnectedTo(&feeder), S_OK);
        PIN_INFO info;
        feeder->QueryPinInfo(&info);
        EXPECT_EQ(info.pFilter, static_cast<IBaseFilter*>(pass));
        info.pFilter->Release();

        Ptr<IMediaSeeking> written;
        ASSERT_EQ(mux->QueryInterface(IID_IMediaSeeking, (void**)&written), S_OK);
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        LONGLONG position = 0;
        // Recorded time, not frames: the camera drops frames on a loaded machine, so twice
        // the time the counts below need.
        for (DWORD start = GetTickCount(); position < 25 * UNITS / 10 && GetTickCount() - start < 10000;) {
            Sleep(50);
            written->GetCurrentPosition(&position);
        }
        ASSERT_TRUE(SUCCEEDED(control->Stop()));
        Ptr<IAMDroppedFrames> counters;
        ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, IID_IAMDroppedFrames,
                                         (void**)&counters),
                  S_OK);
        LONG dropped = 0;
        counters->GetNumDropped(&dropped);

        // Times one frame period long, increasing by whole periods (more than one only
        // across a dropped frame).
        ASSERT_GT(pass->times.size(), 30u);
        int skipped = 0;
        for (size_t i = 0; i < pass->times.size(); ++i) {
            EXPECT_EQ(pass->times[i].second - pass->times[i].first, 333667);
            if (i == 0)
                continue;
            REFERENCE_TIME step = pass->times[i].first - pass->times[i - 1].first;
            ASSERT_GE(step, 333667) << i;
            skipped += int(step / 333667) - 1;
        }
        EXPECT_LE(skipped, dropped);

        Recording r = ReadRecording(path);
        ASSERT_TRUE(r.opened);
        EXPECT_EQ(r.frameRate.num, 30000);
        EXPECT_EQ(r.frameRate.den, 1001);
        EXPECT_LE(abs(int(r.counters.size()) - int(pass->times.size())), 1);
        for (size_t i = 1; i < r.counters.size(); ++i)
            ASSERT_GT(r.counters[i], r.counters[i - 1]) << i;
        EXPECT_EQ(r.sampleRate, 44100);
        EXPECT_EQ(r.channels, 1);
        EXPECT_NEAR(double(r.samples) / 44100.0, r.videoSeconds, 0.25);
        // The AVI 1.0 index is written unless turned off.
        EXPECT_TRUE(HasTopChunk(path, "idx1"));
    }
    graph.reset();
    builder.reset();
    control.reset();
    events.reset();
    pass->Release();
    remove(path.c_str());
}

// The engine's fallback chain: the camcorder's interleaved output through the DV splitter
// into the preview's tee, the tee's capture output and the splitter's sound into the file.
TEST_F(CaptureTest, InterleavedOutputThroughTheSplitterRecordsTheCamerasSound)
{
    SwitchSyntheticCamera("pal");
    MakeGraph();
    const std::string path = TempAvi("capture_chain");
    remove(path.c_str());
    {
        Ptr<IBaseFilter> camera, renderer, mux, splitter;
        ASSERT_EQ(FirstDevice(CLSID_VideoInputDeviceCategory, &camera), S_OK);
        ASSERT_EQ(graph->AddFilter(camera, L"Capture Filter (Man)"), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer), S_OK);
        ASSERT_EQ(graph->AddFilter(renderer, L"Video Renderer (Man)"), S_OK);
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, nullptr, camera, nullptr, renderer), VFW_S_NOPREVIEWPIN);
        const std::u16string file = Utf16(WinePath(path));
        ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, reinterpret_cast<LPCOLESTR>(file.c_str()), &mux, nullptr), S_OK);

        Ptr<IPin> videoOut, avOut, teeIn, tee0;
        videoOut.p = PinNamed(camera, "DV Vid Out");
        avOut.p = PinNamed(camera, "DV A/V Out");
        ASSERT_EQ(videoOut->ConnectedTo(&teeIn), S_OK);
        PIN_INFO info;
        teeIn->QueryPinInfo(&info);
        Ptr<IBaseFilter> tee;
        tee.p = info.pFilter;
        ASSERT_EQ(graph->Disconnect(teeIn), S_OK);
        ASSERT_EQ(graph->Disconnect(videoOut), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_DVSplitter, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&splitter), S_OK);
        ASSERT_EQ(graph->AddFilter(splitter, L"DV Splitter (Man)"), S_OK);
        Ptr<IPin> splitIn, splitVideo, splitSound, teeCapture, in1, in2;
        splitIn.p = PinNamed(splitter, "Input");
        if (!splitIn)
            ASSERT_EQ(builder->FindPin(splitter, PINDIR_INPUT, nullptr, nullptr, TRUE, 0, &splitIn), S_OK);
        splitVideo.p = PinNamed(splitter, "DVVidOut0");
        splitSound.p = PinNamed(splitter, "AudOut00");
        teeCapture.p = PinNamed(tee, "Capture");
        ASSERT_TRUE(splitVideo && splitSound && teeCapture);
        ASSERT_EQ(graph->Connect(avOut, splitIn), S_OK);
        ASSERT_EQ(graph->Connect(splitVideo, teeIn), S_OK);
        in1.p = PinNamed(mux, "Input 01");
        ASSERT_EQ(graph->Connect(teeCapture, in1), S_OK);
        in2.p = PinNamed(mux, "Input 02");
        ASSERT_TRUE(in2);
        ASSERT_EQ(graph->Connect(splitSound, in2), S_OK);

        Ptr<IMediaSeeking> written;
        ASSERT_EQ(mux->QueryInterface(IID_IMediaSeeking, (void**)&written), S_OK);
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        LONGLONG position = 0;
        // Recorded time, not frames: the camera drops frames on a loaded machine, so twice
        // the time the counts below need.
        for (DWORD start = GetTickCount(); position < 20 * UNITS / 10 && GetTickCount() - start < 10000;) {
            Sleep(50);
            written->GetCurrentPosition(&position);
        }
        ASSERT_TRUE(SUCCEEDED(control->Stop()));

        Recording r = ReadRecording(path);
        ASSERT_TRUE(r.opened) << "file of " << FileSize(path) << " bytes";
        EXPECT_EQ(r.height, 576);
        EXPECT_EQ(r.frameRate.num, 25);
        EXPECT_EQ(r.frameRate.den, 1);
        ASSERT_GT(r.counters.size(), 20u);
        for (size_t i = 1; i < r.counters.size(); ++i)
            ASSERT_GT(r.counters[i], r.counters[i - 1]) << i;
        // The camcorder's own sound: 48 kHz stereo, as long as the pictures.
        ASSERT_TRUE(r.hasAudio);
        EXPECT_EQ(r.sampleRate, 48000);
        EXPECT_EQ(r.channels, 2);
        EXPECT_NEAR(double(r.samples) / 48000.0, r.videoSeconds, 0.2);
    }
    remove(path.c_str());
}

// The engine's way: the first-generation builder, a paused live graph, then running until
// the camera goes off.
TEST_F(CaptureTest, PausedLiveGraphCannotCueAndACameraGoingOffAbortsIt)
{
    SwitchSyntheticCamera("1,lose=5");
    MakeGraph();
    Ptr<ICaptureGraphBuilder> first;
    ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder,
                               (void**)&first),
              S_OK);
    ASSERT_EQ(first->SetFiltergraph(graph), S_OK);
    Ptr<IBaseFilter> camera, renderer;
    ASSERT_EQ(FirstDevice(CLSID_VideoInputDeviceCategory, &camera), S_OK);
    ASSERT_EQ(graph->AddFilter(camera, L"Capture Filter (Man)"), S_OK);
    ASSERT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer), S_OK);
    ASSERT_EQ(graph->AddFilter(renderer, L"Video Renderer (Man)"), S_OK);
    ASSERT_EQ(first->RenderStream(&PIN_CATEGORY_PREVIEW, camera, nullptr, renderer), VFW_S_NOPREVIEWPIN);
    Ptr<IAMStreamConfig> format;
    ASSERT_EQ(first->FindInterface(&PIN_CATEGORY_CAPTURE, camera, IID_IAMStreamConfig, (void**)&format), S_OK);
    ASSERT_TRUE(SUCCEEDED(control->Pause()));
    OAFilterState state;
    EXPECT_EQ(control->GetState(5000, &state), VFW_S_CANT_CUE);
    EXPECT_EQ(state, State_Paused);
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    bool aborted = false;
    for (DWORD start = GetTickCount(); !aborted && GetTickCount() - start < 5000;) {
        LONG code;
        LONG_PTR a, b;
        if (events->GetEvent(&code, &a, &b, 100) == S_OK) {
            aborted = code == EC_ERRORABORT;
            events->FreeEventParams(code, a, b);
        }
    }
    EXPECT_TRUE(aborted);
    control->Stop();
}

} // namespace
