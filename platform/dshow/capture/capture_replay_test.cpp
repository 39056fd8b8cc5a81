// A triggered recording as the engine builds it: the replay buffer filter put in front of
// the multiplexer's "Input 01" of a capture graph from the first-generation builder. Its
// ring is filled from the camera's stream times, triggered, and delivered to the file,
// which then starts at zero and holds the frames around the trigger, one place each.
#include "capture_test_support.h"
#include <initguid.h>
#include "../../../filters/pondrel/ireplaybuffer.h"

namespace {

const int kPre = 10, kPost = 9;

TEST(CaptureReplay, RingAroundTheTriggerReachesTheFile)
{
    SwitchSyntheticCamera("1");
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const std::string path = TempAvi("capture_replay");
    remove(path.c_str());
    {
        Ptr<IGraphBuilder> graph;
        Ptr<ICaptureGraphBuilder> builder;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&graph), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder,
                                   (void**)&builder),
                  S_OK);
        ASSERT_EQ(builder->SetFiltergraph(graph), S_OK);
        Ptr<IBaseFilter> camera, renderer, mux, replay;
        ASSERT_EQ(FirstDevice(CLSID_VideoInputDeviceCategory, &camera), S_OK);
        ASSERT_EQ(graph->AddFilter(camera, L"Capture Filter (Man)"), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer), S_OK);
        ASSERT_EQ(graph->AddFilter(renderer, L"Video Renderer (Man)"), S_OK);
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, camera, nullptr, renderer), VFW_S_NOPREVIEWPIN);
        const std::u16string file = Utf16(WinePath(path));
        ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, reinterpret_cast<LPCOLESTR>(file.c_str()), &mux, nullptr), S_OK);
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, camera, nullptr, mux), S_OK);

        // The replay buffer between the tee's capture output and "Input 01".
        ASSERT_EQ(CoCreateInstance(CLSID_ReplayBuffer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&replay), S_OK);
        ASSERT_EQ(graph->AddFilter(replay, L"Pondrel (Man)"), S_OK);
        Ptr<IReplayBuffer> ring;
        ASSERT_EQ(replay->QueryInterface(IID_IReplayBuffer, (void**)&ring), S_OK);
        ring->SetPreTriggerFrames(kPre);
        ring->SetPostTriggerFrames(kPost);
        ring->SetFrameRate(29.97);
        ring->SetTriggerOffset(0);
        Ptr<IPin> input, feeder, replayIn, replayOut;
        input.p = PinNamed(mux, "Input 01");
        ASSERT_EQ(input->ConnectedTo(&feeder), S_OK);
        ASSERT_EQ(graph->Disconnect(input), S_OK);
        ASSERT_EQ(graph->Disconnect(feeder), S_OK);
        Ptr<ICaptureGraphBuilder2> finder;
        ASSERT_EQ(builder->QueryInterface(IID_ICaptureGraphBuilder2, (void**)&finder), S_OK);
        ASSERT_EQ(finder->FindPin(replay, PINDIR_INPUT, nullptr, nullptr, TRUE, 0, &replayIn), S_OK);
        ASSERT_EQ(finder->FindPin(replay, PINDIR_OUTPUT, nullptr, nullptr, TRUE, 0, &replayOut), S_OK);
        ASSERT_EQ(graph->Connect(feeder, replayIn), S_OK);
        ASSERT_EQ(graph->Connect(replayOut, input), S_OK);
        {
            Ptr<IConfigAviMux> config;
            ASSERT_EQ(mux->QueryInterface(IID_IConfigAviMux, (void**)&config), S_OK);
            config->SetOutputCompatibilityIndex(FALSE);
        }
        ASSERT_EQ(graph->SetDefaultSyncSource(), S_OK);

        Ptr<IMediaControl> control;
        Ptr<IMediaEventEx> events;
        graph->QueryInterface(IID_IMediaControl, (void**)&control);
        graph->QueryInterface(IID_IMediaEventEx, (void**)&events);
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        BYTE can = 0;
        // Bounds on these waits only keep a broken graph from hanging the run: a loaded
        // machine may take long to fill the ring.
        for (DWORD start = GetTickCount(); !can && GetTickCount() - start < 60000;) {
            Sleep(20);
            ring->CanTrigger(&can);
        }
        ASSERT_EQ(can, 1);
        ASSERT_EQ(ring->TriggerNow(), S_OK);
        bool delivered = false;
        for (DWORD start = GetTickCount(); !delivered && GetTickCount() - start < 60000;) {
            LONG code;
            LONG_PTR a, b;
            if (events->GetEvent(&code, &a, &b, 100) == S_OK) {
                delivered = code == EC_FILTER_NOTIFY && a == 1 && b == 1;
                events->FreeEventParams(code, 0, 0);
            }
        }
        ASSERT_TRUE(delivered);
        ASSERT_TRUE(SUCCEEDED(control->Stop()));
        Ptr<IAMDroppedFrames> counters;
        ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, camera, IID_IAMDroppedFrames, (void**)&counters), S_OK);
        LONG dropped = 0;
        counters->GetNumDropped(&dropped);

        Recording r = ReadRecording(path);
        ASSERT_TRUE(r.opened) << "file of " << FileSize(path) << " bytes";
        ASSERT_EQ(int(r.counters.size()), kPre + 1 + kPost);
        int gaps = 0;
        for (size_t i = 1; i < r.counters.size(); ++i) {
            ASSERT_GT(r.counters[i], r.counters[i - 1]) << i;
            gaps += r.counters[i] - r.counters[i - 1] - 1;
        }
        EXPECT_LE(gaps, dropped);
        // The file starts with the ring's first frame, not at its stream time, and holds
        // one place per picture: a frame the camera dropped leaves no empty one.
        EXPECT_EQ(r.emptyFrames, 0);
        std::vector<int64_t> places;
        for (int i = 0; i < kPre + 1 + kPost; ++i)
            places.push_back(i);
        EXPECT_EQ(r.slots, places);
        EXPECT_NEAR(r.videoSeconds, (kPre + 1 + kPost) * 1001.0 / 30000.0, 0.001);
        EXPECT_FALSE(r.hasAudio);
    }
    remove(path.c_str());
    CoUninitialize();
}

} // namespace
