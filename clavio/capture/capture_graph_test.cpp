// The camera graph and the engine's capture half over the synthetic camera: preview
// through the tee (NTSC and PAL, renegotiated at full size), the live crop's window
// placement, plain recording with the camera's sound, triggered recording through the
// replay buffer (early trigger refused, 204 then 200, pre + 1 + post frames in the file),
// the sound trigger's time conversion and re-arming, the camera going off while recording,
// and triggered recording refused without the replay buffer. Checks count delivered
// frames and read their numbers back, never wall-clock time.
#include "CaptureGraph.h"
#include "DsVideoEngine.h"
#include "engine_test_support.h"
#include "../../platform/dshow/capture/capture_test_support.h"
#include "../../filters/pondrel/ireplaybuffer.h"
#include "../../filters/sonderic/ileveltrigger.h"

namespace {

// Records the thread each message box was shown on.
class ThreadRecordingApp : public CRecordingApp
{
public:
    int DoMessageBox(LPCTSTR prompt, UINT type, UINT help) override
    {
        boxThread = GetCurrentThreadId();
        return CRecordingApp::DoMessageBox(prompt, type, help);
    }
    volatile DWORD boxThread = 0;
};
ThreadRecordingApp theApp;

const char kCameraMessage[] =
    "Your video camera is not on or not connected.  Click OK to continue without the "
    "camera.  To view the camera, connect the firewire and click live camera. ";

// Pumps the test thread's messages (the graph hands work to this thread) for up to `ms`,
// collecting the notify window's codes, until `until` returns true.
template <typename Until>
std::vector<WPARAM> Pump(NotifyWindow& owner, DWORD ms, Until until)
{
    std::vector<WPARAM> codes;
    const DWORD start = GetTickCount();
    while (!until(codes) && GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_VIDEO_NOTIFY && msg.hwnd == owner.Wnd()->GetSafeHwnd())
                codes.push_back(msg.wParam);
            else
                DispatchMessageA(&msg);
        }
        Sleep(5);
    }
    return codes;
}

std::vector<WPARAM> PumpFor(NotifyWindow& owner, DWORD ms)
{
    return Pump(owner, ms, [](const std::vector<WPARAM>&) { return false; });
}

bool Has(const std::vector<WPARAM>& codes, WPARAM code)
{
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

IBaseFilter* FilterOf(IGraphBuilder* graph, REFCLSID clsid)
{
    Ptr<IEnumFilters> e;
    graph->EnumFilters(&e);
    IBaseFilter* f;
    while (e->Next(1, &f, nullptr) == S_OK) {
        CLSID c;
        if (SUCCEEDED(f->GetClassID(&c)) && IsEqualCLSID(c, clsid))
            return f;
        f->Release();
    }
    return nullptr;
}

// Waits until the file writer's multiplexer has written `seconds` (or 30 s pass).
void WaitForWritten(IGraphBuilder* graph, double seconds)
{
    Ptr<IBaseFilter> mux;
    mux.p = FilterOf(graph, CLSID_AviDest);
    ASSERT_TRUE(mux);
    Ptr<IMediaSeeking> written;
    ASSERT_EQ(mux->QueryInterface(IID_IMediaSeeking, (void**)&written), S_OK);
    LONGLONG position = 0;
    for (DWORD start = GetTickCount(); position < LONGLONG(seconds * UNITS) && GetTickCount() - start < 30000;) {
        Sleep(50);
        written->GetCurrentPosition(&position);
    }
    EXPECT_GE(position, LONGLONG(seconds * UNITS));
}

// Frames numbered consecutively but for gaps the camera counted as dropped.
void ExpectConsecutive(const Recording& r, long dropped)
{
    int gaps = 0;
    for (size_t i = 1; i < r.counters.size(); ++i) {
        ASSERT_GT(r.counters[i], r.counters[i - 1]) << i;
        gaps += r.counters[i] - r.counters[i - 1] - 1;
    }
    EXPECT_LE(gaps, dropped);
}

class CaptureGraphTest : public testing::Test
{
protected:
    void SetUp() override
    {
        SwitchSyntheticCamera("1");
        theApp.ClearBoxes();
    }
};

// The engine first: only the process's first engine may own the camera.
TEST_F(CaptureGraphTest, EngineRecordsPlainAndTriggered)
{
    NotifyWindow owner;
    CDsVideoEngine engine;
    engine.SetOwner(owner.Wnd());
    ASSERT_TRUE(engine.Init());
    EXPECT_GE(engine.GetNumCaptureDevices(), 1);
    EXPECT_FALSE(engine.SetPreTrigFrames(30));   // no camera graph yet: not stored
    EXPECT_EQ(engine.GetPreTrigFrames(), 0);
    ASSERT_TRUE(engine.CreateCaptureGraph()) << theApp.AllBoxes();
    EXPECT_TRUE(engine.IsCaptureDeviceActive());
    EXPECT_TRUE(engine.IsGraphBuilt());
    EXPECT_NE(engine.GetDriverName().Find("Microsoft DV Camera and VCR"), -1);
    {
        CDsVideoEngine second;
        second.SetOwner(owner.Wnd());
        second.Init();
        EXPECT_FALSE(second.CreateCaptureGraph());
    }
    ASSERT_TRUE(engine.SetLive(TRUE, TRUE)) << theApp.AllBoxes();

    // Mode 0: 202, about three seconds with the camera's sound, then 200.
    const std::string plain = TempAvi("engine_plain");
    remove(plain.c_str());
    engine.SetCaptureEnable(0);
    ASSERT_TRUE(engine.SetCaptureFilename(CString(WinePath(plain).c_str()))) << theApp.AllBoxes();
    EXPECT_TRUE(engine.StartRecord());
    EXPECT_EQ(PumpFor(owner, 100), std::vector<WPARAM>{202});
    WaitForWritten(engine.GetCaptureGraph()->GetGraph(), 3.0);
    EXPECT_TRUE(engine.StopRecord());
    EXPECT_EQ(PumpFor(owner, 100), std::vector<WPARAM>{200});
    {
        Recording r = ReadRecording(plain);
        ASSERT_TRUE(r.opened);
        EXPECT_EQ(r.frameRate.num, 30000);
        EXPECT_EQ(r.frameRate.den, 1001);
        // Three seconds of recorded time: each frame is in the file or counted as dropped
        // (a loaded machine drops some).
        EXPECT_GE(long(r.counters.size()) + engine.GetDroppedFrames(), 80);
        // The counters are read just before the stop, so the file may hold a few more.
        EXPECT_GE(engine.GetCapturedFrames() + engine.GetDroppedFrames(), 80);
        EXPECT_LE(engine.GetCapturedFrames(), long(r.counters.size()));
        ExpectConsecutive(r, engine.GetDroppedFrames());
        ASSERT_TRUE(r.hasAudio);
        // The sound goes on while the camera drops frames, so the pictures may fall short of
        // it by the frames dropped.
        EXPECT_NEAR(double(r.samples) / r.sampleRate, r.videoSeconds,
                    0.2 + engine.GetDroppedFrames() * 1001.0 / 30000);
    }
    remove(plain.c_str());
    EXPECT_TRUE(theApp.Boxes().empty()) << theApp.AllBoxes();

    // Mode 1, twice (the second recording reuses the tee): 203, an early trigger refused
    // with nothing posted, then 204 and the ring's 200; the file holds pre + 1 + post.
    // The user's trigger alone (the tone would trigger too).
    engine.EnableSonderic(false);
    ASSERT_TRUE(engine.SetPreTrigFrames(30));
    ASSERT_TRUE(engine.SetPostTrigFrames(29));
    engine.SetCaptureEnable(1);
    EXPECT_EQ(engine.GetCapturedFrames(), 60);
    for (int offset : {0, 1, -1}) {
        SCOPED_TRACE(offset);
        const std::string triggered = TempAvi("engine_triggered");
        remove(triggered.c_str());
        engine.SetMarkFieldAdjust(offset);
        ASSERT_TRUE(engine.SetCaptureFilename(CString(WinePath(triggered).c_str()))) << theApp.AllBoxes();
        EXPECT_TRUE(engine.StartRecord());
        EXPECT_FALSE(engine.TriggerCapture());
        EXPECT_EQ(PumpFor(owner, 50), std::vector<WPARAM>{203});
        BOOL accepted = FALSE;
        for (DWORD start = GetTickCount(); !accepted && GetTickCount() - start < 20000; Sleep(20))
            accepted = engine.TriggerCapture();
        if (!accepted) {
            std::string seen;
            for (WPARAM code : PumpFor(owner, 100))
                seen += std::to_string(code) + " ";
            FAIL() << "no trigger accepted; codes: " << seen << theApp.AllBoxes();
        }
        std::vector<WPARAM> codes =
            Pump(owner, 30000, [](const std::vector<WPARAM>& c) { return Has(c, 200); });
        EXPECT_EQ(codes, (std::vector<WPARAM>{204, 200}));
        EXPECT_EQ(engine.GetCaptureGraph()->GetState(), CGraphManager::StateStopped);
        Recording r = ReadRecording(triggered);
        ASSERT_TRUE(r.opened);
        EXPECT_EQ(int(r.counters.size()) + r.emptyFrames, 60);
        ExpectConsecutive(r, engine.GetDroppedFrames() + 60);
        EXPECT_FALSE(r.hasAudio);
        remove(triggered.c_str());
        // Every recording goes through the one tee the preview put in.
        EXPECT_EQ(CountFilters(engine.GetCaptureGraph()->GetGraph(), CLSID_SmartTee), 1);
    }
    EXPECT_TRUE(theApp.Boxes().empty()) << theApp.AllBoxes();
}

TEST_F(CaptureGraphTest, PreviewThroughTheTeeAtFullSize)
{
    struct Case {
        const char* camera;
        int height;
        bool pal;
    } cases[] = {{"1", 480, false}, {"pal", 576, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.camera);
        SwitchSyntheticCamera(c.camera);
        NotifyWindow owner;
        CCaptureGraph graph;
        graph.SetNotifyWindow(owner.Wnd());
        ASSERT_EQ(graph.CreateGraph(NULL), S_OK);
        ASSERT_EQ(graph.BuildPreviewGraph(0), S_OK) << theApp.AllBoxes();
        EXPECT_NE(graph.m_strVideoDevice.Find("Microsoft DV Camera and VCR"), -1);
        EXPECT_EQ(CountFilters(graph.GetGraph(), CLSID_SmartTee), 1);
        EXPECT_EQ(graph.IsOverlayActive(), 0);
        EXPECT_EQ(graph.GetKeyColor(), COLORREF(0x100010));
        const BITMAPINFOHEADER* bih = graph.GetBitmapInfoHeader();
        EXPECT_EQ(bih->biWidth, 720);
        EXPECT_EQ(abs(bih->biHeight), c.height);
        EXPECT_EQ(bih->biSizeImage, DWORD(2 * (c.pal ? 144000 : 120000)));
        // The renderer's input runs at the full frame size.
        Ptr<IPin> in;
        in.p = CGraphManager::FindPin(graph.GetVideoRenderer(), NULL, PINDIR_INPUT);
        ASSERT_TRUE(in);
        AM_MEDIA_TYPE mt = {};
        ASSERT_EQ(in->ConnectionMediaType(&mt), S_OK);
        ASSERT_TRUE(mt.formattype == FORMAT_VideoInfo && mt.cbFormat >= sizeof(VIDEOINFOHEADER));
        const VIDEOINFOHEADER* v = reinterpret_cast<const VIDEOINFOHEADER*>(mt.pbFormat);
        EXPECT_EQ(v->bmiHeader.biWidth, 720);
        EXPECT_EQ(abs(v->bmiHeader.biHeight), c.height);
        FreeMediaType(mt);

        // The live picture reaches the renderer.
        ASSERT_TRUE(SUCCEEDED(graph.Run(true)));
        Ptr<IBasicVideo> picture;
        ASSERT_EQ(graph.GetVideoRenderer()->QueryInterface(IID_IBasicVideo, (void**)&picture), S_OK);
        LONG size = 0;
        for (DWORD start = GetTickCount(); picture->GetCurrentImage(&size, nullptr) != S_OK &&
                                           GetTickCount() - start < 10000;)
            Sleep(20);
        EXPECT_GT(size, 0);
        graph.Stop(true);
    }
    EXPECT_TRUE(theApp.Boxes().empty()) << theApp.AllBoxes();
}

TEST_F(CaptureGraphTest, CropPlacesTheWindow)
{
    NotifyWindow owner;
    CCaptureGraph graph;
    EXPECT_FALSE(graph.SetCrop(0, 0, 1, 1));   // no renderer yet
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK);
    ASSERT_EQ(graph.BuildPreviewGraph(0), S_OK);
    ASSERT_EQ(graph.SetupVideoWindow(owner.Wnd()), S_OK);
    struct Case {
        float mask[4], crop[4];
        LONG left, top, width, height;
    } cases[] = {
        {{0, 0, 1, 1}, {0.25f, 0, 0.5f, 1}, -304, 0, 1216, 456},
        {{0, 0, 1, 1}, {0.1f, 0.2f, 0, 0}, -60, -91, 608, 456},
        {{0, 0, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f}, -608, -456, 1216, 912},
        {{0, 0, 0.5f, 0.5f}, {0, 0, 0.5f, 0.5f}, 0, 0, 608, 456},
        {{0, 0, 1, 1}, {0, 0, 1, 1}, 0, 0, 608, 456},
    };
    Ptr<IVideoWindow> window;
    ASSERT_EQ(graph.GetVideoRenderer()->QueryInterface(IID_IVideoWindow, (void**)&window), S_OK);
    for (const Case& c : cases) {
        graph.SetMask(c.mask[0], c.mask[1], c.mask[2], c.mask[3]);
        EXPECT_TRUE(graph.SetCrop(c.crop[0], c.crop[1], c.crop[2], c.crop[3]));
        LONG l, t, w, h;
        ASSERT_EQ(window->GetWindowPosition(&l, &t, &w, &h), S_OK);
        EXPECT_EQ((std::vector<LONG>{l, t, w, h}), (std::vector<LONG>{c.left, c.top, c.width, c.height}))
            << c.crop[0] << "," << c.crop[1] << "," << c.crop[2] << "," << c.crop[3];
    }
}

// A replay buffer that records the times it is given and refuses the first ones.
class FakeReplayBuffer : public IReplayBuffer
{
public:
    STDMETHODIMP QueryInterface(REFIID, void** p) override { *p = NULL; return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetEffect(int*, double*, double*) override { return S_OK; }
    STDMETHODIMP SetEffect(int, double, double) override { return S_OK; }
    STDMETHODIMP GetBufferInfo(int*, int*) override { return S_OK; }
    STDMETHODIMP TriggerAt(REFERENCE_TIME t, int* parity) override
    {
        times.push_back(t);
        *parity = refusals-- > 0 ? -1 : 1;
        return S_OK;
    }
    STDMETHODIMP TriggerNow() override { return S_OK; }
    STDMETHODIMP GetPreTriggerFrames(int*) override { return S_OK; }
    STDMETHODIMP SetPreTriggerFrames(int) override { return S_OK; }
    STDMETHODIMP GetPostTriggerFrames(int*) override { return S_OK; }
    STDMETHODIMP SetPostTriggerFrames(int) override { return S_OK; }
    STDMETHODIMP CanTrigger(BYTE* can) override { *can = 1; return S_OK; }
    STDMETHODIMP SetFrameRate(double) override { return S_OK; }
    STDMETHODIMP GetFrameRate(double*) override { return S_OK; }
    STDMETHODIMP SetTriggerOffset(int) override { return S_OK; }
    std::vector<REFERENCE_TIME> times;
    int refusals = 0;
};

class TestableCaptureGraph : public CCaptureGraph
{
public:
    void UseReplayBuffer(IReplayBuffer* buffer) { m_pReplayBuffer = buffer; }
    void NameReplayBufferClass(REFCLSID clsid) { m_clsidReplayBuffer = clsid; }
};

TEST_F(CaptureGraphTest, SoundTriggerTimesAndRefusals)
{
    NotifyWindow owner;
    FakeReplayBuffer ring;
    TestableCaptureGraph graph;
    graph.SetNotifyWindow(owner.Wnd());
    graph.UseReplayBuffer(&ring);
    graph.SetState(CGraphManager::StateRunning);
    ring.refusals = 1;
    graph.OnGraphEvent(EC_FILTER_NOTIFY, 2, 1500);      // refused: re-armed, nothing posted
    graph.OnGraphEvent(EC_FILTER_NOTIFY, 2, 300000);    // accepted: 204
    graph.OnGraphEvent(EC_FILTER_NOTIFY, 2, 400000);    // already triggered: ignored
    graph.OnGraphEvent(EC_FILTER_NOTIFY, 1, 0);         // not the ring's end
    EXPECT_EQ(ring.times, (std::vector<REFERENCE_TIME>{15000000, 3000000000LL}));
    EXPECT_EQ(graph.GetTriggerParity(), 1);
    EXPECT_EQ(PumpFor(owner, 50), std::vector<WPARAM>{204});
    // Disabled, nothing reaches the buffer.
    graph.m_bTriggered = 0;
    graph.EnableSonderic(0);
    graph.OnGraphEvent(EC_FILTER_NOTIFY, 2, 100);
    EXPECT_EQ(ring.times.size(), 2u);
    // Accepted while not running: nothing posted.
    graph.EnableSonderic(1);
    graph.SetState(CGraphManager::StateStopped);
    graph.OnGraphEvent(EC_FILTER_NOTIFY, 2, 100);
    EXPECT_EQ(ring.times.size(), 3u);
    EXPECT_TRUE(PumpFor(owner, 50).empty());
    graph.UseReplayBuffer(NULL);
}

// The tone input against the sound trigger's threshold: a tone above it is heard as soon as
// the recording runs, refused (and the filter re-armed) until the ring can trigger, then
// accepted once; a tone below it never triggers.
TEST_F(CaptureGraphTest, SoundTriggerOnTheTone)
{
    struct Case {
        int percent;
        bool triggers;
    } cases[] = {{40, true}, {95, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        NotifyWindow owner;
        CCaptureGraph graph;
        graph.SetNotifyWindow(owner.Wnd());
        ASSERT_EQ(graph.CreateGraph(NULL), S_OK);
        ASSERT_EQ(graph.BuildPreviewGraph(0), S_OK);
        graph.m_nRecordMode = 1;
        graph.SetPreTriggerFrames(10);
        graph.SetPostTriggerFrames(9);
        const std::string path = TempAvi("sound_trigger");
        remove(path.c_str());
        ASSERT_EQ(graph.StartRecord(CString(WinePath(path).c_str())), S_OK) << theApp.AllBoxes();
        ASSERT_TRUE(graph.GetLevelTrigger());
        graph.GetLevelTrigger()->SetThreshold(c.percent);
        graph.BeginRecording();
        if (c.triggers) {
            std::vector<WPARAM> codes =
                Pump(owner, 30000, [](const std::vector<WPARAM>& k) { return Has(k, 200); });
            EXPECT_EQ(codes, (std::vector<WPARAM>{204, 200}));
            Recording r = ReadRecording(path);
            ASSERT_TRUE(r.opened);
            EXPECT_EQ(int(r.counters.size()) + r.emptyFrames, 20);
        } else {
            // Well past the time the ring needs to be able to trigger.
            EXPECT_TRUE(PumpFor(owner, 2500).empty());
            EXPECT_TRUE(graph.IsCapturing());
            EXPECT_EQ(graph.m_bTriggered, 0);
            graph.StopRecording();
        }
        remove(path.c_str());
    }
    EXPECT_TRUE(theApp.Boxes().empty()) << theApp.AllBoxes();
}

TEST_F(CaptureGraphTest, TriggeredRecordingNeedsTheReplayBuffer)
{
    NotifyWindow owner;
    TestableCaptureGraph graph;
    graph.NameReplayBufferClass(CLSID_NULL);
    graph.SetNotifyWindow(owner.Wnd());
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK);
    ASSERT_EQ(graph.BuildPreviewGraph(0), S_OK);
    graph.m_nRecordMode = 1;
    const std::string path = TempAvi("no_ring");
    EXPECT_TRUE(FAILED(graph.StartRecord(CString(WinePath(path).c_str()))));
    EXPECT_TRUE(theApp.Saw("Could not instantiate filter")) << theApp.AllBoxes();
    EXPECT_FALSE(graph.IsCapturing());
    EXPECT_EQ(CountFilters(graph.GetGraph(), CLSID_AviDest), 0);
    remove(path.c_str());
}

TEST_F(CaptureGraphTest, CameraLostWhileRecording)
{
    SwitchSyntheticCamera("1,lose=45");
    NotifyWindow owner;
    CCaptureGraph graph;
    graph.SetNotifyWindow(owner.Wnd());
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK);
    ASSERT_EQ(graph.BuildPreviewGraph(0), S_OK);
    ASSERT_EQ(graph.SetupVideoWindow(owner.Wnd()), S_OK);
    graph.ShowVideoWindow(TRUE);
    const std::string path = TempAvi("camera_lost");
    remove(path.c_str());
    ASSERT_EQ(graph.StartRecord(CString(WinePath(path).c_str())), S_OK) << theApp.AllBoxes();
    graph.BeginRecording();
    ASSERT_TRUE(graph.IsCapturing());
    std::vector<WPARAM> codes = Pump(owner, 30000, [](const std::vector<WPARAM>& c) { return Has(c, 201); });
    for (WPARAM code : PumpFor(owner, 300))
        codes.push_back(code);
    EXPECT_EQ(codes, std::vector<WPARAM>{201});
    EXPECT_EQ(graph.IsCameraPresent(), 0);
    EXPECT_FALSE(graph.IsCapturing());
    EXPECT_EQ(CountFilters(graph.GetGraph(), CLSID_AviDest), 0);
    EXPECT_EQ(theApp.Boxes(), std::vector<std::string>{kCameraMessage});
    EXPECT_EQ(theApp.boxThread, GetCurrentThreadId());
    Ptr<IVideoWindow> window;
    ASSERT_EQ(graph.GetVideoRenderer()->QueryInterface(IID_IVideoWindow, (void**)&window), S_OK);
    LONG visible = OATRUE;
    window->get_Visible(&visible);
    EXPECT_EQ(visible, OAFALSE);
    // A second loss does nothing.
    graph.OnCameraLost();
    EXPECT_TRUE(PumpFor(owner, 100).empty());
    EXPECT_EQ(theApp.Boxes().size(), 1u);
    remove(path.c_str());
}

} // namespace
