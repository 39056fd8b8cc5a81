// The graph base: camera choice by position and name, pins by name, the bounded pause,
// the event thread (integer events intact, a thread again after a release) and a graph
// destroyed while it reports.
#include "GraphManager.h"
#include "engine_test_support.h"
#include <stdexcept>

namespace {

CRecordingApp theApp;

class EventGraph : public CGraphManager
{
public:
    struct Event {
        long code;
        LONG_PTR p1, p2;
    };
    BOOL OnGraphEvent(long code, LONG_PTR p1, LONG_PTR p2) override
    {
        {
            std::lock_guard<std::mutex> lock(mutex);
            events.push_back({code, p1, p2});
        }
        if (code == EC_COMPLETE) {
            Sleep(100);   // the owner may be destroying the graph meanwhile
            Notify(100);
        }
        return TRUE;
    }
    ~EventGraph() override { StopEventThread(); }
    bool WaitForEvents(size_t n, DWORD ms)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start < ms) {
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (events.size() >= n)
                    return true;
            }
            Sleep(5);
        }
        return false;
    }
    HRESULT Raise(long code, LONG_PTR p1, LONG_PTR p2)
    {
        IMediaEventSink* sink = NULL;
        HRESULT hr = m_pGraph->QueryInterface(IID_IMediaEventSink, (void**)&sink);
        if (FAILED(hr))
            return hr;
        hr = sink->Notify(code, p1, p2);
        sink->Release();
        return hr;
    }
    std::mutex mutex;
    std::vector<Event> events;
};

// A filter whose pause takes longer than the graph base waits for it.
class SlowPauseFilter : public CBaseFilter
{
public:
    SlowPauseFilter() : CBaseFilter(NAME("slow"), NULL, &m_lock, GUID_NULL) {}
    int GetPinCount() override { return 0; }
    CBasePin* GetPin(int) override { return NULL; }
    STDMETHODIMP Pause() override
    {
        Sleep(6000);
        return CBaseFilter::Pause();
    }

private:
    CCritSec m_lock;
};

// A filter whose pause fails with a C++ exception (once).
class ThrowingPauseFilter : public CBaseFilter
{
public:
    ThrowingPauseFilter() : CBaseFilter(NAME("throwing"), NULL, &m_lock, GUID_NULL) {}
    int GetPinCount() override { return 0; }
    CBasePin* GetPin(int) override { return NULL; }
    STDMETHODIMP Pause() override
    {
        if (InterlockedExchange(&m_throws, 0))
            throw std::runtime_error("pause failed");
        return CBaseFilter::Pause();
    }

private:
    CCritSec m_lock;
    LONG m_throws = 1;
};

class GraphBaseTest : public testing::Test
{
protected:
    void SetUp() override { theApp.ClearBoxes(); }
};

TEST_F(GraphBaseTest, VideoDevicesByPositionAndName)
{
    SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", "1");
    struct Case {
        int index;
        const char* name;
        bool found;
    } cases[] = {
        {0, "", true},
        {0, "dV", true},          // any case
        {0, "synthetic", true},
        {0, "zz", false},
        {7, "", false},           // past the last device
    };
    for (const Case& c : cases) {
        CString name = c.name;
        IBaseFilter* device = CGraphManager::CreateVideoDevice(c.index, name);
        EXPECT_EQ(device != NULL, c.found) << c.index << " " << c.name;
        if (device)
            device->Release();
        if (c.index == 0) {
            // The friendly name read last, whether or not it was taken.
            EXPECT_NE(name.Find("(synthetic)"), -1) << (LPCSTR)name;
        }
    }
    SetEnvironmentVariableA("QUORVEL_SYNTHETIC_CAMERA", NULL);
}

TEST_F(GraphBaseTest, PinsByNameAndConnectErrors)
{
    EventGraph graph;
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK) << theApp.AllBoxes();
    IBaseFilter* converter = NULL;
    IBaseFilter* renderer = NULL;
    ASSERT_EQ(graph.AddFilterByCLSID(CLSID_Colour, &converter, "Color Space Conv (Man)"), S_OK);
    ASSERT_EQ(graph.AddFilterByCLSID(CLSID_VideoRenderer, &renderer, "Video Renderer (Man)"), S_OK);

    IPin* first = CGraphManager::FindPin(converter, NULL, PINDIR_OUTPUT);
    ASSERT_TRUE(first);
    first->Release();
    IPin* named = CGraphManager::FindPin(converter, "XForm Out", PINDIR_OUTPUT);
    ASSERT_TRUE(named);
    named->Release();
    EXPECT_FALSE(CGraphManager::FindPin(converter, "xform out", PINDIR_OUTPUT));   // case counts
    EXPECT_FALSE(CGraphManager::FindPin(converter, "XForm Out", PINDIR_INPUT));    // direction counts
    EXPECT_FALSE(CGraphManager::FindPin(NULL, NULL, PINDIR_INPUT));

    EXPECT_EQ(graph.ConnectPins(converter, "No such pin", renderer, "Input", NULL), E_FAIL);
    EXPECT_EQ(graph.ConnectPins(NULL, "XForm Out", renderer, "Input", NULL), E_INVALIDARG);
    EXPECT_EQ(graph.ConnectPins(converter, "XForm Out", NULL, "Input", NULL), E_INVALIDARG);
    EXPECT_TRUE(theApp.Boxes().empty());
    EXPECT_FALSE(graph.IsPinConnected(renderer, "Input", PINDIR_INPUT));

    // Unknown pin on disconnect: reported.
    EXPECT_EQ(graph.DisconnectPins(renderer, "Nope", PINDIR_INPUT), E_FAIL);
    EXPECT_TRUE(theApp.Saw("Could not find specified filter pin"));
    // No format block to rewrite between unconnected filters: a failure, not a write.
    EXPECT_TRUE(FAILED(graph.ConnectFilters(converter, renderer, 360, 240)));

    CString name;
    graph.GetFilterName(renderer, name);
    EXPECT_STREQ(name, "Video Renderer (Man)");
    EXPECT_EQ(graph.RemoveFilter(&converter), S_OK);
    EXPECT_FALSE(converter);
    EXPECT_EQ(graph.RemoveFilter(&renderer), S_OK);
}

TEST_F(GraphBaseTest, PauseThatDoesNotFinishStopsTheGraph)
{
    EventGraph graph;
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK) << theApp.AllBoxes();
    SlowPauseFilter* slow = new SlowPauseFilter;
    slow->AddRef();
    ASSERT_EQ(graph.AddFilter(slow, "slow"), S_OK);
    graph.SetState(CGraphManager::StateRunning);
    DWORD start = GetTickCount();
    EXPECT_EQ(graph.Pause(true), -1);
    EXPECT_GE(GetTickCount() - start, 4900u);
    EXPECT_EQ(graph.GetState(), CGraphManager::StateStopped);
    EXPECT_TRUE(theApp.Saw("Could not pause...check camera"));
    slow->Release();
}

// An exception on the pause worker is reported there and the worker ends: the wait for it
// does not run into its time-out, and the graph can be paused again.
TEST_F(GraphBaseTest, ExceptionOnThePauseWorkerIsReportedAndTheWorkerEnds)
{
    EventGraph graph;
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK) << theApp.AllBoxes();
    ThrowingPauseFilter* filter = new ThrowingPauseFilter;
    filter->AddRef();
    ASSERT_EQ(graph.AddFilter(filter, "throwing"), S_OK);
    graph.SetState(CGraphManager::StateRunning);
    DWORD start = GetTickCount();
    EXPECT_GE(graph.Pause(true), 0);
    EXPECT_LT(GetTickCount() - start, 4000u);
    EXPECT_EQ(theApp.Boxes(), std::vector<std::string>{"Unhandled exception in PauseThread."});
    theApp.ClearBoxes();
    EXPECT_GE(graph.Pause(true), 0);
    EXPECT_EQ(graph.GetState(), CGraphManager::StatePaused);
    EXPECT_TRUE(theApp.Boxes().empty()) << theApp.AllBoxes();
    graph.Stop(false);
    filter->Release();
}

// A worker's piece of work that throws, a framework exception or any other, is reported
// with the thread's text; the framework exception is freed.
TEST(GraphBaseThreads, ExceptionsOfAPieceOfWorkAreReportedWithTheThreadsText)
{
    theApp.ClearBoxes();
    int runs = 0;
    EXPECT_TRUE(RunReportingExceptions("Unhandled exception in playback thread.", [&] { ++runs; }));
    EXPECT_FALSE(RunReportingExceptions("Unhandled exception in playback thread.",
                                        [] { throw std::runtime_error("x"); }));
    EXPECT_FALSE(RunReportingExceptions("Unhandled exception in PauseThread.",
                                        [] { AfxThrowMemoryException(); }));
    EXPECT_FALSE(RunReportingExceptions("Unhandled exception in playback thread.",
                                        [] { throw 5; }));
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(theApp.Boxes(), (std::vector<std::string>{"Unhandled exception in playback thread.",
                                                         "Unhandled exception in PauseThread.",
                                                         "Unhandled exception in playback thread."}));
}

TEST_F(GraphBaseTest, EventsArriveIntactAndAgainAfterARelease)
{
    EventGraph graph;
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK) << theApp.AllBoxes();
    ASSERT_EQ(graph.Raise(EC_FILTER_NOTIFY, 2, 1234), S_OK);
    ASSERT_TRUE(graph.WaitForEvents(1, 5000));
    EXPECT_EQ(graph.events[0].code, EC_FILTER_NOTIFY);
    EXPECT_EQ(graph.events[0].p1, 2);
    EXPECT_EQ(graph.events[0].p2, 1234);

    graph.ReleaseInterfaces();
    EXPECT_FALSE(graph.GetGraph());
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK) << theApp.AllBoxes();
    ASSERT_EQ(graph.Raise(EC_FILTER_NOTIFY, 1, 1), S_OK);
    ASSERT_TRUE(graph.WaitForEvents(2, 5000));
    EXPECT_EQ(graph.events[1].p1, 1);
}

TEST_F(GraphBaseTest, DestroyedWhileReportingTheEndDoesNotHang)
{
    NotifyWindow window;
    for (int i = 0; i < 3; ++i) {
        EventGraph* graph = new EventGraph;
        graph->SetNotifyWindow(window.Wnd());
        ASSERT_EQ(graph->CreateGraph(NULL), S_OK);
        ASSERT_EQ(graph->Raise(EC_COMPLETE, S_OK, 0), S_OK);
        ASSERT_TRUE(graph->WaitForEvents(1, 5000));
        // The event thread is inside its handler; this thread does not pump messages.
        delete graph;
    }
    std::vector<WPARAM> codes = window.Codes(50);
    EXPECT_EQ(codes, std::vector<WPARAM>(3, 100));
}

TEST_F(GraphBaseTest, RendererHasOnePropertyPage)
{
    EventGraph graph;
    ASSERT_EQ(graph.CreateGraph(NULL), S_OK);
    IBaseFilter* renderer = NULL;
    ASSERT_EQ(graph.AddFilterByCLSID(CLSID_VideoRenderer, &renderer, "Video Renderer (Man)"), S_OK);
    ISpecifyPropertyPages* specify = NULL;
    ASSERT_EQ(renderer->QueryInterface(IID_ISpecifyPropertyPages, (void**)&specify), S_OK);
    CAUUID pages = {};
    ASSERT_EQ(specify->GetPages(&pages), S_OK);
    specify->Release();
    ASSERT_EQ(pages.cElems, 1u);
    IPropertyPage* page = NULL;
    ASSERT_EQ(CoCreateInstance(pages.pElems[0], NULL, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                               (void**)&page),
              S_OK);
    CoTaskMemFree(pages.pElems);
    IUnknown* object = renderer;
    EXPECT_EQ(page->SetObjects(1, &object), S_OK);
    PROPPAGEINFO info = {};
    info.cb = sizeof info;
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    char title[64] = "";
    WideCharToMultiByte(CP_ACP, 0, info.pszTitle, -1, title, sizeof title, NULL, NULL);
    EXPECT_STREQ(title, "Quality");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    page->SetObjects(0, NULL);
    page->Release();
    graph.RemoveFilter(&renderer);
}

TEST(GraphBasePlatform, VersionCodeOfThisSystem)
{
    // Wine reports a version of the NT line from 5.1 on: the program's newest paths.
    int code = CGraphManager::GetOSVersionCode();
    EXPECT_TRUE(code == 5 || code == 1) << code;
}

} // namespace
