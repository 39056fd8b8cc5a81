// The synthetic camera found by name, previewed into the video renderer and recorded with
// the synthetic sound for three seconds through the capture graph builder; the AVI is read
// back with FFmpeg: frame count (within the drops reported), frame rate, consecutive frame
// counters in the pictures, sound format and length, and the OpenDML index alone.
#include "capture_test_support.h"

namespace {

const double kSeconds = 3.0;

TEST(CaptureRecord, PreviewAndRecordWithSound)
{
    SwitchSyntheticCamera("1");
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    const std::string path = TempAvi("capture_record");
    remove(path.c_str());
    {
        HRESULT hr;
        std::vector<std::string> names = DeviceNames(CLSID_VideoInputDeviceCategory, &hr);
        ASSERT_EQ(hr, S_OK);
        ASSERT_FALSE(names.empty());
        EXPECT_NE(names[0].find("Microsoft DV Camera and VCR"), std::string::npos) << names[0];

        Ptr<IGraphBuilder> graph;
        Ptr<ICaptureGraphBuilder2> builder;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&graph), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                   (void**)&builder),
                  S_OK);
        ASSERT_EQ(builder->SetFiltergraph(graph), S_OK);

        Ptr<IBaseFilter> camera, microphone, renderer, mux;
        ASSERT_EQ(FirstDevice(CLSID_VideoInputDeviceCategory, &camera), S_OK);
        ASSERT_EQ(FirstDevice(CLSID_AudioInputDeviceCategory, &microphone), S_OK);
        ASSERT_EQ(graph->AddFilter(camera, L"Capture Filter (Man)"), S_OK);
        ASSERT_EQ(graph->AddFilter(microphone, nullptr), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_VideoRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, (void**)&renderer), S_OK);
        ASSERT_EQ(graph->AddFilter(renderer, L"Video Renderer (Man)"), S_OK);

        // The engine's sound format: 44.1 kHz, mono, 16-bit.
        Ptr<IAMStreamConfig> soundFormat;
        ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, microphone, IID_IAMStreamConfig,
                                         (void**)&soundFormat),
                  S_OK);
        AM_MEDIA_TYPE* mt = nullptr;
        ASSERT_EQ(soundFormat->GetFormat(&mt), S_OK);
        WAVEFORMATEX* wf = reinterpret_cast<WAVEFORMATEX*>(mt->pbFormat);
        wf->wFormatTag = WAVE_FORMAT_PCM;
        wf->nChannels = 1;
        wf->nSamplesPerSec = 44100;
        wf->nAvgBytesPerSec = 88200;
        wf->nBlockAlign = 2;
        wf->wBitsPerSample = 16;
        wf->cbSize = 0;
        EXPECT_EQ(soundFormat->SetFormat(mt), S_OK);
        DeleteMediaType(mt);

        // A camcorder has no preview pin: the builder puts a Smart Tee in.
        EXPECT_EQ(builder->RenderStream(&PIN_CATEGORY_PREVIEW, &MEDIATYPE_Video, camera, nullptr, renderer),
                  VFW_S_NOPREVIEWPIN);
        EXPECT_EQ(CountFilters(graph, CLSID_SmartTee), 1);

        const std::u16string file = Utf16(WinePath(path));
        Ptr<IFileSinkFilter> sink;
        ASSERT_EQ(builder->SetOutputFileName(&MEDIASUBTYPE_Avi, reinterpret_cast<LPCOLESTR>(file.c_str()), &mux, &sink), S_OK);
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, nullptr, mux), S_OK);
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Audio, microphone, nullptr, mux), S_OK);
        EXPECT_EQ(CountFilters(graph, CLSID_SmartTee), 1);
        std::vector<std::string> pins = PinNames(mux);
        ASSERT_GE(pins.size(), 3u);
        EXPECT_EQ(pins[0], "Input 01");
        EXPECT_EQ(pins[1], "Input 02");
        {
            Ptr<IConfigAviMux> config;
            ASSERT_EQ(mux->QueryInterface(IID_IConfigAviMux, (void**)&config), S_OK);
            EXPECT_EQ(config->SetOutputCompatibilityIndex(FALSE), S_OK);
        }
        Ptr<IAMDroppedFrames> counters;
        ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, camera, IID_IAMDroppedFrames,
                                         (void**)&counters),
                  S_OK);
        LONG dropped0 = 0, delivered0 = 0;
        counters->GetNumDropped(&dropped0);
        counters->GetNumNotDropped(&delivered0);

        Ptr<IMediaControl> control;
        Ptr<IMediaSeeking> written;
        graph->QueryInterface(IID_IMediaControl, (void**)&control);
        ASSERT_EQ(mux->QueryInterface(IID_IMediaSeeking, (void**)&written), S_OK);
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        // The multiplexer's position is the time written so far.
        LONGLONG position = 0;
        for (DWORD start = GetTickCount(); position < LONGLONG(kSeconds * UNITS) && GetTickCount() - start < 60000;) {
            Sleep(50);
            written->GetCurrentPosition(&position);
        }
        // The live picture is in the renderer.
        Ptr<IBasicVideo> picture;
        ASSERT_EQ(renderer->QueryInterface(IID_IBasicVideo, (void**)&picture), S_OK);
        LONG size = 0;
        ASSERT_EQ(picture->GetCurrentImage(&size, nullptr), S_OK);
        std::vector<LONG> image((size + 3) / 4);
        ASSERT_EQ(picture->GetCurrentImage(&size, image.data()), S_OK);
        const BITMAPINFOHEADER* bih = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
        ASSERT_EQ(bih->biBitCount, 32);
        EXPECT_GT(CounterFromRgb32(reinterpret_cast<const uint8_t*>(bih + 1), bih->biWidth, abs(bih->biHeight),
                                   bih->biHeight > 0),
                  0);
        ASSERT_TRUE(SUCCEEDED(control->Stop()));
        EXPECT_GE(position, LONGLONG(kSeconds * UNITS));
        // No source went off on the way (a late camera skips frames, it does not fail).
        Ptr<IMediaEventEx> events;
        graph->QueryInterface(IID_IMediaEventEx, (void**)&events);
        LONG code;
        LONG_PTR p1, p2;
        while (events->GetEvent(&code, &p1, &p2, 0) == S_OK) {
            EXPECT_NE(code, EC_ERRORABORT) << std::hex << p1;
            events->FreeEventParams(code, p1, p2);
        }

        LONG dropped = 0, delivered = 0;
        counters->GetNumDropped(&dropped);
        counters->GetNumNotDropped(&delivered);
        dropped -= dropped0;
        delivered -= delivered0;

        Recording r = ReadRecording(path);
        ASSERT_TRUE(r.opened) << "file of " << FileSize(path) << " bytes";
        EXPECT_EQ(r.width, 720);
        EXPECT_EQ(r.height, 480);
        EXPECT_EQ(r.frameRate.num, 30000);
        EXPECT_EQ(r.frameRate.den, 1001);
        ASSERT_GT(r.counters.size(), 0u);
        // Every frame the camera delivered is in the file (the very last may have met the
        // stop), and the file's length in frames accounts for the dropped ones. These hold
        // however late a loaded machine lets the camera be: lateness shows only as drops.
        const int frames = int(r.counters.size());
        EXPECT_LE(abs(frames - delivered), 1) << "delivered " << delivered << " dropped " << dropped;
        const double expected = r.videoSeconds * 30000.0 / 1001.0;
        EXPECT_NEAR(frames + r.emptyFrames, expected, 1.0);
        EXPECT_LE(r.emptyFrames, dropped);
        EXPECT_GE(r.videoSeconds, kSeconds - 0.1);
        // The counters drawn in the pictures follow each other, with gaps only for drops,
        // and each picture sits at its own frame's time.
        int gaps = 0;
        ASSERT_EQ(r.slots.size(), r.counters.size());
        for (size_t i = 0; i < r.counters.size(); ++i) {
            ASSERT_GE(r.counters[i], 0) << "frame " << i;
            if (i > 0) {
                ASSERT_GT(r.counters[i], r.counters[i - 1]) << "frame " << i;
                gaps += r.counters[i] - r.counters[i - 1] - 1;
            }
            EXPECT_EQ(r.slots[i] - r.slots[0], r.counters[i] - r.counters[0]) << "frame " << i;
        }
        EXPECT_LE(gaps, dropped);
        // The sound as set, as long as the pictures.
        ASSERT_TRUE(r.hasAudio);
        EXPECT_EQ(r.audioCodec, AV_CODEC_ID_PCM_S16LE);
        EXPECT_EQ(r.sampleRate, 44100);
        EXPECT_EQ(r.channels, 1);
        EXPECT_NEAR(double(r.samples) / 44100.0, r.videoSeconds, 0.25);
        // Without an AVI 1.0 index asked for, a file this short still keeps it: FFmpeg's
        // writer makes an OpenDML index only past the first gigabyte.
        EXPECT_TRUE(HasTopChunk(path, "idx1"));
    }
    remove(path.c_str());
    CoUninitialize();
}

} // namespace
