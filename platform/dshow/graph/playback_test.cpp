// Playback graphs over a DV clip made at test time whose frames show their own numbers:
// building with a decoder already in the graph, exact positioning while paused, frame
// units, running to completion, an in-place filter in the chain, decoder resizing, events
// and the renderer's window.
#include "gtest_wine.h"
#include "streams.h"
#include "dv_fixture.h"
#include <functional>
#include <set>
#include <vector>

namespace {

const int kFrames = 12;

std::wstring Wide(const std::string& s)
{
    int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    w.resize(n - 1);
    return w;
}

class Clip {
public:
    explicit Clip(const DvClipFormat& format, const char* name)
    {
        unixPath = std::string("/tmp/") + name + std::to_string(GetCurrentProcessId()) + ".avi";
        std::string error;
        ok = WriteDvClip(unixPath, format, &error);
        EXPECT_TRUE(ok) << error;
        windowsPath = Wide(WinePath(unixPath));
    }
    ~Clip() { remove(unixPath.c_str()); }
    std::string unixPath;
    std::wstring windowsPath;
    bool ok = false;
};

template <typename T>
struct Ptr {
    T* p = nullptr;
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

HRESULT Add(IGraphBuilder* g, REFCLSID clsid, LPCWSTR name, IBaseFilter** out)
{
    HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)out);
    if (FAILED(hr))
        return hr;
    return g->AddFilter(*out, name);
}

int ShownFrame(IBaseFilter* renderer, LONG* width = nullptr)
{
    Ptr<IBasicVideo> bv;
    if (FAILED(renderer->QueryInterface(IID_IBasicVideo, (void**)&bv)))
        return -2;
    LONG size = 0;
    if (FAILED(bv->GetCurrentImage(&size, nullptr)))
        return -3;
    std::vector<LONG> buf((size + 3) / 4);
    if (FAILED(bv->GetCurrentImage(&size, buf.data())))
        return -4;
    const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(buf.data());
    if (width)
        *width = h->biWidth;
    if (h->biBitCount != 32)
        return -5;
    return FrameNumberFromRgb32(reinterpret_cast<const uint8_t*>(h + 1), h->biWidth, abs(h->biHeight), h->biHeight > 0);
}

bool WaitForEvent(IMediaEventEx* events, LONG wanted, DWORD ms, LONG_PTR* p1 = nullptr)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        LONG code;
        LONG_PTR a, b;
        if (events->GetEvent(&code, &a, &b, 100) == S_OK) {
            events->FreeEventParams(code, a, b);
            if (code == wanted) {
                if (p1)
                    *p1 = a;
                return true;
            }
        }
    }
    return false;
}

// Passes frames on (or drops odd ones) and records the frame numbers it saw.
class FrameTap : public CTransInPlaceFilter {
public:
    explicit FrameTap(HRESULT* phr) : CTransInPlaceFilter(NAME("tap"), nullptr, GUID_NULL, phr, false) {}
    HRESULT CheckInputType(const CMediaType* mt) override
    {
        return IsEqualGUID(*mt->Subtype(), MEDIASUBTYPE_RGB32) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT Transform(IMediaSample* s) override
    {
        WaitForSingleObject(gate, INFINITE);
        LONGLONG a, b;
        if (s->GetMediaTime(&a, &b) == S_OK)
            seen.push_back(int(a));
        REFERENCE_TIME t0, t1;
        if (s->GetTime(&t0, &t1) == S_OK)
            times.push_back(t0);
        return dropOdd && (a & 1) ? S_FALSE : S_OK;
    }
    ~FrameTap() override { CloseHandle(gate); }
    std::vector<int> seen;
    std::vector<int64_t> times;
    bool dropOdd = false;
    HANDLE gate = CreateEventA(nullptr, TRUE, TRUE, nullptr); // closed: frames wait here
};

class PlaybackTest : public testing::Test {
protected:
    void SetUp() override
    {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&graph),
                  S_OK);
        graph->QueryInterface(IID_IMediaControl, (void**)&control);
        graph->QueryInterface(IID_IMediaSeeking, (void**)&seeking);
        graph->QueryInterface(IID_IMediaEventEx, (void**)&events);
        graph->QueryInterface(IID_IMediaFilter, (void**)&mediaFilter);
        ASSERT_TRUE(control && seeking && events && mediaFilter);
    }
    void TearDown() override
    {
        if (control)
            control->Stop();
        for (IPin* p : chain)
            if (p)
                p->Release();
        if (tap)
            tap->Release();
        converter.reset();
        renderer.reset();
        decoder.reset();
        source.reset();
        mediaFilter.reset();
        events.reset();
        seeking.reset();
        control.reset();
        graph.reset();
        CoUninitialize();
    }
    // The engine's way: renderer and decoder first, then the source, then render.
    void BuildStepped(const Clip& clip)
    {
        ASSERT_EQ(Add(graph, CLSID_VideoRenderer, L"Video Renderer (Man)", &renderer), S_OK);
        ASSERT_EQ(Add(graph, CLSID_DVVideoCodec, L"DV Decoder(man)", &decoder), S_OK);
        ASSERT_EQ(graph->AddSourceFilter(clip.windowsPath.c_str(), nullptr, &source), S_OK);
        IPin* out = FirstPin(source, PINDIR_OUTPUT);
        ASSERT_NE(out, nullptr);
        ASSERT_EQ(graph->Render(out), S_OK);
        out->Release();
        ASSERT_EQ(mediaFilter->SetSyncSource(nullptr), S_OK);
        ASSERT_EQ(seeking->SetTimeFormat(&TIME_FORMAT_FRAME), S_OK);
    }
    // Source -> DV decoder [-> colour converter] -> tap -> renderer, connected pin to pin,
    // without a clock, positions in frames.
    void BuildTapChain(const Clip& clip, bool withConverter)
    {
        ASSERT_EQ(Add(graph, CLSID_VideoRenderer, L"Video Renderer", &renderer), S_OK);
        ASSERT_EQ(Add(graph, CLSID_DVVideoCodec, L"DV Decoder", &decoder), S_OK);
        if (withConverter) {
            ASSERT_EQ(Add(graph, CLSID_Colour, L"Color Space Conv", &converter), S_OK);
        }
        HRESULT hr = S_OK;
        tap = new FrameTap(&hr);
        tap->AddRef();
        ASSERT_EQ(graph->AddFilter(tap, L"Tap"), S_OK);
        ASSERT_EQ(graph->AddSourceFilter(clip.windowsPath.c_str(), nullptr, &source), S_OK);
        chain = {FirstPin(source, PINDIR_OUTPUT), FirstPin(decoder, PINDIR_INPUT), FirstPin(decoder, PINDIR_OUTPUT)};
        if (withConverter) {
            chain.push_back(FirstPin(converter, PINDIR_INPUT));
            chain.push_back(FirstPin(converter, PINDIR_OUTPUT));
        }
        for (int i = 0; i < 2; ++i) {
            tap->GetPin(i)->AddRef();
            chain.push_back(tap->GetPin(i));
        }
        chain.push_back(FirstPin(renderer, PINDIR_INPUT));
        for (size_t i = 0; i < chain.size(); i += 2)
            ASSERT_EQ(graph->ConnectDirect(chain[i], chain[i + 1], nullptr), S_OK) << i;
        mediaFilter->SetSyncSource(nullptr);
        seeking->SetTimeFormat(&TIME_FORMAT_FRAME);
    }
    HRESULT SeekPaused(LONGLONG frame)
    {
        HRESULT hr = seeking->SetPositions(&frame, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
        if (FAILED(hr))
            return hr;
        OAFilterState fs;
        return control->GetState(5000, &fs);
    }
    int CountFilters(REFCLSID clsid, bool all = false)
    {
        IEnumFilters* e = nullptr;
        graph->EnumFilters(&e);
        IBaseFilter* f;
        int n = 0;
        while (e->Next(1, &f, nullptr) == S_OK) {
            CLSID c;
            if (all || (SUCCEEDED(f->GetClassID(&c)) && IsEqualCLSID(c, clsid)))
                ++n;
            f->Release();
        }
        e->Release();
        return n;
    }

    Ptr<IGraphBuilder> graph;
    Ptr<IMediaControl> control;
    Ptr<IMediaSeeking> seeking;
    Ptr<IMediaEventEx> events;
    Ptr<IMediaFilter> mediaFilter;
    Ptr<IBaseFilter> renderer, decoder, source, converter;
    FrameTap* tap = nullptr;        // held, with the pins of the chain BuildTapChain makes
    std::vector<IPin*> chain;
};

TEST_F(PlaybackTest, RenderUsesTheDecoderInTheGraphAndSeeksExactFramesWhilePaused)
{
    Clip clip({kFrames, false, true}, "dshow_step");
    ASSERT_TRUE(clip.ok);
    BuildStepped(clip);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(CountFilters(CLSID_DVVideoCodec), 1);
    IPin* in = FirstPin(decoder, PINDIR_INPUT);
    IPin* peer = nullptr;
    EXPECT_EQ(in->ConnectedTo(&peer), S_OK);
    if (peer)
        peer->Release();
    in->Release();

    LONGLONG duration = 0;
    ASSERT_EQ(seeking->GetDuration(&duration), S_OK);
    EXPECT_EQ(duration, kFrames);
    REFTIME seconds = 0;
    Ptr<IMediaPosition> position;
    ASSERT_EQ(graph->QueryInterface(IID_IMediaPosition, (void**)&position), S_OK);
    ASSERT_EQ(position->get_Duration(&seconds), S_OK);
    EXPECT_NEAR(seconds, kFrames * 1001.0 / 30000.0, 1e-6);

    ASSERT_EQ(control->Pause(), S_OK);
    // The same frame twice shows it again; the last frame is reachable.
    for (int n : {0, 5, 5, 2, kFrames - 1, kFrames - 1, 1, 0}) {
        SCOPED_TRACE(n);
        ASSERT_EQ(SeekPaused(n), S_OK);
        EXPECT_EQ(ShownFrame(renderer), n);
        LONGLONG current = -1;
        EXPECT_EQ(seeking->GetCurrentPosition(&current), S_OK);
        EXPECT_EQ(current, n);
    }
    // Seconds through IMediaPosition follow the frame shown.
    ASSERT_EQ(SeekPaused(5), S_OK);
    ASSERT_EQ(position->get_CurrentPosition(&seconds), S_OK);
    EXPECT_NEAR(seconds, 5 * 1001.0 / 30000.0, 1e-6);
    // Beyond the end stays on the last frame.
    ASSERT_EQ(SeekPaused(kFrames + 5), S_OK);
    EXPECT_EQ(ShownFrame(renderer), kFrames - 1);
}

// The renderer shows a paused picture from the decoder's own buffer; a stop gives the
// buffer back but keeps the picture, and the decoder can then be connected anew.
TEST_F(PlaybackTest, PictureOutlivesTheStopAndTheDecoderReconnects)
{
    Clip clip({kFrames, false, true}, "dshow_keep");
    ASSERT_TRUE(clip.ok);
    BuildStepped(clip);
    if (HasFatalFailure())
        return;
    ASSERT_EQ(control->Pause(), S_OK);
    for (int n : {3, 4, 3, 4, 5}) {
        ASSERT_EQ(SeekPaused(n), S_OK) << n;
        EXPECT_EQ(ShownFrame(renderer), n);
    }
    ASSERT_EQ(control->Stop(), S_OK);
    EXPECT_EQ(ShownFrame(renderer), 5);

    IPin* decOut = FirstPin(decoder, PINDIR_OUTPUT);
    IPin* rendIn = FirstPin(renderer, PINDIR_INPUT);
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(decOut->ConnectionMediaType(&mt), S_OK);
    CMediaType half(mt);
    FreeMediaType(mt);
    VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(half.Format());
    vih->bmiHeader.biWidth = 360;
    vih->bmiHeader.biHeight = 240;
    vih->bmiHeader.biSizeImage = 360 * 240 * vih->bmiHeader.biBitCount / 8;
    ASSERT_EQ(graph->Disconnect(decOut), S_OK);
    ASSERT_EQ(graph->Disconnect(rendIn), S_OK);
    EXPECT_EQ(graph->ConnectDirect(decOut, rendIn, &half), S_OK);
    ASSERT_EQ(control->Pause(), S_OK);
    EXPECT_EQ(SeekPaused(2), S_OK);
    LONG width = 0;
    EXPECT_EQ(ShownFrame(renderer, &width), 2);
    EXPECT_EQ(width, 360);
    control->Stop();
    decOut->Release();
    rendIn->Release();
}

TEST_F(PlaybackTest, PalClipHas576LinesAt25FramesPerSecond)
{
    Clip clip({5, true, false}, "dshow_pal");
    ASSERT_TRUE(clip.ok);
    BuildStepped(clip);
    if (HasFatalFailure())
        return;
    IPin* in = FirstPin(decoder, PINDIR_INPUT);
    AM_MEDIA_TYPE mt;
    ASSERT_EQ(in->ConnectionMediaType(&mt), S_OK);
    const VIDEOINFOHEADER* vih = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
    EXPECT_EQ(vih->AvgTimePerFrame, 400000);
    EXPECT_EQ(vih->bmiHeader.biHeight, 576);
    FreeMediaType(mt);
    in->Release();
    LONGLONG duration = 0;
    EXPECT_EQ(seeking->GetDuration(&duration), S_OK);
    EXPECT_EQ(duration, 5);
    ASSERT_EQ(control->Pause(), S_OK);
    ASSERT_EQ(SeekPaused(3), S_OK);
    EXPECT_EQ(ShownFrame(renderer), 3);
}

TEST_F(PlaybackTest, ConnectPutsARegisteredDecoderBetweenSourceAndRenderer)
{
    Clip clip({3, false, false}, "dshow_connect");
    ASSERT_TRUE(clip.ok);
    ASSERT_EQ(Add(graph, CLSID_VideoRenderer, L"Video Renderer", &renderer), S_OK);
    ASSERT_EQ(graph->AddSourceFilter(clip.windowsPath.c_str(), L"Source", &source), S_OK);
    IPin* out = FirstPin(source, PINDIR_OUTPUT);
    IPin* in = FirstPin(renderer, PINDIR_INPUT);
    EXPECT_EQ(graph->ConnectDirect(out, in, nullptr), VFW_E_NO_ACCEPTABLE_TYPES);
    EXPECT_EQ(graph->Connect(out, in), S_OK);
    EXPECT_EQ(CountFilters(CLSID_DVVideoCodec), 1);
    EXPECT_EQ(graph->Connect(out, in), VFW_E_ALREADY_CONNECTED);
    out->Release();
    in->Release();
    Ptr<IBaseFilter> byName;
    EXPECT_EQ(graph->FindFilterByName(L"Source", &byName), S_OK);
    EXPECT_EQ(byName.p, source.p);
}

TEST_F(PlaybackTest, RunsWithoutClockToCompletionAndFromAFrameToAStopFrame)
{
    Clip clip({kFrames, false, false}, "dshow_run");
    ASSERT_TRUE(clip.ok);
    BuildStepped(clip);
    if (HasFatalFailure())
        return;
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_TRUE(WaitForEvent(events, EC_COMPLETE, 10000));
    EXPECT_EQ(ShownFrame(renderer), kFrames - 1);
    ASSERT_EQ(control->Stop(), S_OK);

    // From frame 3 up to frame 6 inclusive, as a play range.
    LONGLONG from = 3, to = 6;
    ASSERT_EQ(seeking->SetPositions(&from, AM_SEEKING_AbsolutePositioning, &to, AM_SEEKING_AbsolutePositioning), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_TRUE(WaitForEvent(events, EC_COMPLETE, 10000));
    EXPECT_EQ(ShownFrame(renderer), 6);
    LONGLONG stop = 0;
    EXPECT_EQ(seeking->GetStopPosition(&stop), S_OK);
    EXPECT_EQ(stop, 6);
}

TEST_F(PlaybackTest, RenderFileWithSoundRunsOnTheClockToOneCompletion)
{
    Clip clip({6, false, true}, "dshow_file");
    ASSERT_TRUE(clip.ok);
    ASSERT_EQ(graph->RenderFile(clip.windowsPath.c_str(), nullptr), S_OK);
    EXPECT_EQ(CountFilters(CLSID_DSoundRender), 1);
    EXPECT_EQ(CountFilters(CLSID_VideoRenderer), 1);
    // Source, decoder and the two renderers: nothing registered as not to be used (such as
    // filters that take any type) is put in.
    EXPECT_EQ(CountFilters(GUID_NULL, true), 4);
    // Paused first, the graph still plays on the default clock.
    ASSERT_EQ(control->Pause(), S_OK);
    Ptr<IReferenceClock> clock;
    ASSERT_EQ(mediaFilter->GetSyncSource(&clock), S_OK);
    EXPECT_NE(clock.p, nullptr);
    const DWORD started = GetTickCount();
    ASSERT_EQ(control->Run(), S_OK);
    LONG code = 0;
    EXPECT_EQ(events->WaitForCompletion(10000, &code), S_OK);
    EXPECT_EQ(code, EC_COMPLETE);
    // Six frames at 29.97/s take about 200 ms on the clock (a loose lower bound only).
    EXPECT_GE(GetTickCount() - started, 100u);
    // Two renderers, one completion for the application.
    EXPECT_TRUE(WaitForEvent(events, EC_COMPLETE, 2000));
    EXPECT_FALSE(WaitForEvent(events, EC_COMPLETE, 300));
}

DWORD WINAPI RunCall(LPVOID call)
{
    (*static_cast<std::function<void()>*>(call))();
    return 0;
}

// Runs a graph call on a thread of its own; false when it has not returned in time (the
// call is then left to its thread).
bool ReturnsInTime(std::function<void()> call, DWORD ms)
{
    auto* running = new std::function<void()>(std::move(call));
    HANDLE thread = CreateThread(nullptr, 0, RunCall, running, 0, nullptr);
    const bool done = WaitForSingleObject(thread, ms) == WAIT_OBJECT_0;
    if (done) {
        CloseHandle(thread);
        delete running;
    }
    return done;
}

// A sample waiting on the clock for its time is let go by a seek and by a stop, however
// far off that time is.
TEST_F(PlaybackTest, SeekAndStopReleaseASampleWaitingForItsTime)
{
    Clip clip({kFrames, false, false}, "dshow_wait");
    ASSERT_TRUE(clip.ok);
    BuildStepped(clip);
    if (HasFatalFailure())
        return;
    ASSERT_EQ(graph->SetDefaultSyncSource(), S_OK);
    // A frame every 100 s of the clock: the second one waits.
    ASSERT_EQ(seeking->SetRate(0.000333), S_OK);
    ASSERT_EQ(SeekPaused(2), S_OK);
    ASSERT_EQ(control->Run(), S_OK);
    Sleep(300);
    EXPECT_EQ(ShownFrame(renderer), 2);
    EXPECT_TRUE(ReturnsInTime([&] { SeekPaused(7); }, 10000));
    Sleep(300);
    EXPECT_EQ(ShownFrame(renderer), 7);
    EXPECT_TRUE(ReturnsInTime([&] { control->Stop(); }, 10000));
}

TEST_F(PlaybackTest, InPlaceFilterBehindTheConverterSeesEveryFrameOnceAndCanDrop)
{
    Clip clip({kFrames, false, false}, "dshow_tap");
    ASSERT_TRUE(clip.ok);
    ASSERT_NO_FATAL_FAILURE(BuildTapChain(clip, true));

    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_TRUE(WaitForEvent(events, EC_COMPLETE, 10000));
    control->Stop();
    std::vector<int> expected;
    for (int i = 0; i < kFrames; ++i)
        expected.push_back(i);
    EXPECT_EQ(tap->seen, expected);
    ASSERT_EQ(tap->times.size(), size_t(kFrames));
    EXPECT_EQ(tap->times[3], 1001000); // 3 x 1001/30000 s

    // At twice the rate the stream times are half as long.
    EXPECT_EQ(seeking->SetRate(0), E_INVALIDARG);
    ASSERT_EQ(seeking->SetRate(2.0), S_OK);
    double rate = 0;
    EXPECT_EQ(seeking->GetRate(&rate), S_OK);
    EXPECT_EQ(rate, 2.0);
    LONGLONG first = 0;
    seeking->SetPositions(&first, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    tap->times.clear();
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_TRUE(WaitForEvent(events, EC_COMPLETE, 10000));
    control->Stop();
    ASSERT_EQ(tap->times.size(), size_t(kFrames));
    EXPECT_EQ(tap->times[3], 500500);
    seeking->SetRate(1.0);

    // Dropped frames never reach the renderer: a pause on one completes on the next frame.
    tap->dropOdd = true;
    ASSERT_EQ(control->Pause(), S_OK);
    LONGLONG frame = 4;
    seeking->SetPositions(&frame, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    OAFilterState fs;
    ASSERT_EQ(control->GetState(5000, &fs), S_OK);
    EXPECT_EQ(ShownFrame(renderer), 4);
    frame = 3;
    tap->seen.clear();
    seeking->SetPositions(&frame, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    ASSERT_EQ(control->GetState(5000, &fs), S_OK);
    EXPECT_EQ(ShownFrame(renderer), 4);
    ASSERT_GE(tap->seen.size(), 2u);
    EXPECT_EQ(tap->seen[0], 3);

    // A pause is not complete until the renderer has its picture.
    tap->dropOdd = false;
    ResetEvent(tap->gate);
    frame = 6;
    seeking->SetPositions(&frame, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning);
    EXPECT_EQ(control->GetState(100, &fs), VFW_S_STATE_INTERMEDIATE);
    EXPECT_EQ(fs, State_Paused);
    SetEvent(tap->gate);
    ASSERT_EQ(control->GetState(5000, &fs), S_OK);
    EXPECT_EQ(ShownFrame(renderer), 6);
    control->Stop();
}

// A paused graph positioned again on the frame it shows (a stepped play's second field)
// gets that frame again, and a run from there goes on from the next frame, each frame once;
// a positioning elsewhere after it still finds its frame.
TEST_F(PlaybackTest, SameFrameAgainThenARunGoesOnFromTheNextFrame)
{
    Clip clip({kFrames, false, false}, "dshow_again");
    ASSERT_TRUE(clip.ok);
    ASSERT_NO_FATAL_FAILURE(BuildTapChain(clip, false));

    ASSERT_EQ(control->Pause(), S_OK);
    for (int n : {5, 5, 5}) {
        ASSERT_EQ(SeekPaused(n), S_OK);
        EXPECT_EQ(ShownFrame(renderer), n);
    }
    tap->seen.clear();
    ASSERT_EQ(control->Run(), S_OK);
    EXPECT_TRUE(WaitForEvent(events, EC_COMPLETE, 10000));
    // Frame 5 passed the tap before the run: the frames after it follow.
    std::vector<int> expected;
    for (int i = 6; i < kFrames; ++i)
        expected.push_back(i);
    EXPECT_EQ(tap->seen, expected);

    ASSERT_EQ(control->Pause(), S_OK);
    for (int n : {2, 2, 3, 3, 2, kFrames - 1, kFrames - 1, 0}) {
        SCOPED_TRACE(n);
        ASSERT_EQ(SeekPaused(n), S_OK);
        EXPECT_EQ(ShownFrame(renderer), n);
    }
    control->Stop();
}

// As the engine resizes the decoder's output with a filter between converter and renderer:
// the new size travels down the chain by reconnection.
TEST_F(PlaybackTest, DecoderOutputRenegotiatesToHalfSizeOnly)
{
    Clip clip({4, false, false}, "dshow_half");
    ASSERT_TRUE(clip.ok);
    Ptr<IBaseFilter> converter;
    ASSERT_EQ(Add(graph, CLSID_VideoRenderer, L"Video Renderer (Man)", &renderer), S_OK);
    ASSERT_EQ(Add(graph, CLSID_DVVideoCodec, L"DV Decoder(man)", &decoder), S_OK);
    ASSERT_EQ(Add(graph, CLSID_Colour, L"Color Space Conv (Man)", &converter), S_OK);
    HRESULT hr = S_OK;
    FrameTap* tap = new FrameTap(&hr);
    tap->AddRef();
    ASSERT_EQ(graph->AddFilter(tap, L"Tap"), S_OK);
    ASSERT_EQ(graph->AddSourceFilter(clip.windowsPath.c_str(), nullptr, &source), S_OK);
    IPin* src = FirstPin(source, PINDIR_OUTPUT);
    IPin* decIn = FirstPin(decoder, PINDIR_INPUT);
    IPin* decOut = FirstPin(decoder, PINDIR_OUTPUT);
    IPin* convIn = FirstPin(converter, PINDIR_INPUT);
    IPin* convOut = FirstPin(converter, PINDIR_OUTPUT);
    IPin* rendIn = FirstPin(renderer, PINDIR_INPUT);
    ASSERT_EQ(graph->ConnectDirect(src, decIn, nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(decOut, convIn, nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(convOut, tap->GetPin(0), nullptr), S_OK);
    ASSERT_EQ(graph->ConnectDirect(tap->GetPin(1), rendIn, nullptr), S_OK);

    AM_MEDIA_TYPE mt;
    ASSERT_EQ(decOut->ConnectionMediaType(&mt), S_OK);
    CMediaType half(mt);
    FreeMediaType(mt);
    VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(half.Format());
    ASSERT_EQ(vih->bmiHeader.biWidth, 720);
    struct Case {
        LONG w, h;
        HRESULT accepted;
    } cases[] = {{360, 240, S_OK}, {720, 480, S_OK}, {300, 200, S_FALSE}, {720, 240, S_FALSE}};
    for (const Case& c : cases) {
        vih->bmiHeader.biWidth = c.w;
        vih->bmiHeader.biHeight = c.h;
        vih->bmiHeader.biSizeImage = c.w * c.h * vih->bmiHeader.biBitCount / 8;
        EXPECT_EQ(decOut->QueryAccept(&half), c.accepted) << c.w << "x" << c.h;
    }
    vih->bmiHeader.biWidth = 360;
    vih->bmiHeader.biHeight = 240;
    vih->bmiHeader.biSizeImage = 360 * 240 * vih->bmiHeader.biBitCount / 8;
    ASSERT_EQ(graph->Disconnect(decOut), S_OK);
    ASSERT_EQ(graph->Disconnect(convIn), S_OK);
    ASSERT_EQ(graph->ConnectDirect(decOut, convIn, &half), S_OK);
    ASSERT_EQ(rendIn->ConnectionMediaType(&mt), S_OK);
    EXPECT_EQ(reinterpret_cast<VIDEOINFOHEADER*>(mt.pbFormat)->bmiHeader.biWidth, 360);
    FreeMediaType(mt);

    mediaFilter->SetSyncSource(nullptr);
    seeking->SetTimeFormat(&TIME_FORMAT_FRAME);
    ASSERT_EQ(control->Pause(), S_OK);
    ASSERT_EQ(SeekPaused(2), S_OK);
    LONG width = 0;
    EXPECT_EQ(ShownFrame(renderer, &width), 2);
    EXPECT_EQ(width, 360);
    EXPECT_EQ(tap->seen.back(), 2);
    control->Stop();
    for (IPin* p : {src, decIn, decOut, convIn, convOut, rendIn})
        p->Release();
    tap->Release();
}

TEST_F(PlaybackTest, EventsCarryPlainIntegersAndTheHandleMayBeSignalledByTheApplication)
{
    Ptr<IMediaEventSink> sink;
    ASSERT_EQ(graph->QueryInterface(IID_IMediaEventSink, (void**)&sink), S_OK);
    OAEVENT handle = 0;
    ASSERT_EQ(events->GetEventHandle(&handle), S_OK);
    EXPECT_EQ(WaitForSingleObject((HANDLE)handle, 0), WAIT_TIMEOUT);
    ASSERT_EQ(sink->Notify(24, 2, 1010), S_OK);
    EXPECT_EQ(WaitForSingleObject((HANDLE)handle, 0), WAIT_OBJECT_0);
    LONG code;
    LONG_PTR a, b;
    ASSERT_EQ(events->GetEvent(&code, &a, &b, 0), S_OK);
    EXPECT_EQ(code, 24);
    EXPECT_EQ(a, 2);
    EXPECT_EQ(b, 1010);
    EXPECT_EQ(events->FreeEventParams(code, a, b), S_OK);
    EXPECT_EQ(WaitForSingleObject((HANDLE)handle, 0), WAIT_TIMEOUT);
    // Woken by the application with nothing queued: no event, and the handle is cleared.
    SetEvent((HANDLE)handle);
    EXPECT_EQ(events->GetEvent(&code, &a, &b, 0), E_ABORT);
    EXPECT_EQ(WaitForSingleObject((HANDLE)handle, 0), WAIT_TIMEOUT);
    // A notify window gets a message per event, with the caller's value.
    HWND window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(events->SetNotifyWindow((OAHWND)window, WM_APP + 5, 77), S_OK);
    sink->Notify(24, 1, 1);
    MSG msg = {};
    EXPECT_TRUE(PeekMessageA(&msg, window, WM_APP + 5, WM_APP + 5, PM_REMOVE));
    EXPECT_EQ(msg.lParam, 77);
    EXPECT_EQ(events->GetEvent(&code, &a, &b, 0), S_OK);
    EXPECT_EQ(code, 24);
    events->SetNotifyWindow(0, 0, 0);
    DestroyWindow(window);
}

TEST_F(PlaybackTest, MissingOrForeignFilesGiveClassicErrors)
{
    Ptr<IBaseFilter> f;
    EXPECT_EQ(graph->AddSourceFilter(L"Z:\\no\\such\\clip.avi", nullptr, &f), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    std::string text = "/tmp/dshow_not_media" + std::to_string(GetCurrentProcessId()) + ".avi";
    FILE* fp = fopen(text.c_str(), "wb");
    fputs("this is not a clip", fp);
    fclose(fp);
    EXPECT_EQ(graph->AddSourceFilter(Wide(WinePath(text)).c_str(), nullptr, &f), VFW_E_UNKNOWN_FILE_TYPE);
    remove(text.c_str());
    char msg[200];
    EXPECT_GT(AMGetErrorTextA(VFW_E_UNKNOWN_FILE_TYPE, msg, sizeof msg), 0u);
}

TEST_F(PlaybackTest, RendererWindowBecomesAChildPlacedAnywhereInItsOwner)
{
    ASSERT_EQ(Add(graph, CLSID_VideoRenderer, L"Video Renderer", &renderer), S_OK);
    Ptr<IVideoWindow> window;
    ASSERT_EQ(graph->QueryInterface(IID_IVideoWindow, (void**)&window), S_OK);
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 608, 456, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    ASSERT_EQ(window->put_Owner((OAHWND)owner), S_OK);
    ASSERT_EQ(window->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN), S_OK);
    ASSERT_EQ(window->SetWindowPosition(-120, -40, 1000, 700), S_OK);
    LONG l, t, w, h;
    ASSERT_EQ(window->GetWindowPosition(&l, &t, &w, &h), S_OK);
    EXPECT_EQ(l, -120);
    EXPECT_EQ(t, -40);
    EXPECT_EQ(w, 1000);
    EXPECT_EQ(h, 700);
    LONG visible = 1;
    EXPECT_EQ(window->get_Visible(&visible), S_OK);
    EXPECT_EQ(visible, OAFALSE);
    ASSERT_EQ(window->put_Visible(OATRUE), S_OK);
    EXPECT_EQ(window->get_Visible(&visible), S_OK);
    EXPECT_EQ(visible, OATRUE);
    OAHWND got = 0;
    EXPECT_EQ(window->get_Owner(&got), S_OK);
    EXPECT_EQ((HWND)got, owner);
    // Mouse and keys in the video window go to the drain window.
    EXPECT_EQ(window->put_MessageDrain((OAHWND)owner), S_OK);
    HWND video = GetWindow(owner, GW_CHILD);
    ASSERT_NE(video, nullptr);
    PostMessageA(video, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6));
    MSG msg = {};
    bool drained = false;
    for (int i = 0; i < 200 && !drained; ++i) {
        if (PeekMessageA(&msg, owner, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE))
            drained = msg.lParam == MAKELPARAM(5, 6);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    EXPECT_TRUE(drained);
    // The graph can go while its window is still a child of the owner.
    window.reset();
    renderer.reset();
    control.reset();
    seeking.reset();
    events.reset();
    mediaFilter.reset();
    graph.reset();
    EXPECT_EQ(GetWindow(owner, GW_CHILD), nullptr);
    DestroyWindow(owner);
}

// A program whose window thread is not on the process's first desktop (the tests' own
// desktops, a service's) still gets the picture inside its window: the renderer's window must
// be on the same desktop as its owner, or it stays a window of its own.
struct DesktopResult {
    bool onDesktop = false, created = false, child = false, placed = false;
};

DWORD WINAPI RendererOnOwnDesktop(LPVOID param)
{
    DesktopResult& r = *static_cast<DesktopResult*>(param);
    char name[64];
    snprintf(name, sizeof name, "QuorvelRendererDesktop%lu", (unsigned long)GetCurrentProcessId());
    HDESK desktop = CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    r.onDesktop = desktop && SetThreadDesktop(desktop);
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 608, 456, nullptr, nullptr,
                                 nullptr, nullptr);
    IVideoWindow* window = nullptr;
    r.created = owner && SUCCEEDED(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER,
                                                    IID_IVideoWindow, (void**)&window));
    if (r.created) {
        window->put_Owner((OAHWND)owner);
        window->put_WindowStyle(WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
        window->SetWindowPosition(0, 0, 720, 480);
        HWND video = GetWindow(owner, GW_CHILD);
        r.child = video && GetParent(video) == owner;
        RECT rc = {};
        if (video) {
            GetWindowRect(video, &rc);
            MapWindowPoints(HWND_DESKTOP, owner, reinterpret_cast<POINT*>(&rc), 2);
        }
        r.placed = rc.left == 0 && rc.top == 0 && rc.right == 720 && rc.bottom == 480;
        window->Release();
    }
    if (owner)
        DestroyWindow(owner);
    CoUninitialize();
    return 0;
}

TEST(RendererWindowDesktop, WindowOnTheCreatorsDesktopBecomesTheOwnersChild)
{
    DesktopResult result;
    HANDLE thread = CreateThread(nullptr, 0, RendererOnOwnDesktop, &result, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 20000), WAIT_OBJECT_0);
    CloseHandle(thread);
    ASSERT_TRUE(result.onDesktop);
    ASSERT_TRUE(result.created);
    EXPECT_TRUE(result.child);
    EXPECT_TRUE(result.placed);
}

} // namespace
