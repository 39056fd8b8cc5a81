// Base classes: a source -> in-place transform -> sink chain driven by hand, allocators,
// filter mapper data and self-registration.
#include "gtest_wine.h"
#include "streams.h"
#include "server_path.h"
#include <cstring>
#include <vector>

// {6B1D5E1A-3C0F-4E51-9A61-2D0F7A4C9B01}
static const GUID CLSID_TestInPlace = {0x6b1d5e1a, 0x3c0f, 0x4e51, {0x9a, 0x61, 0x2d, 0x0f, 0x7a, 0x4c, 0x9b, 0x01}};

namespace {

CMediaType VideoType(LONG width, LONG height)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Video);
    mt.SetSubtype(&MEDIASUBTYPE_RGB32);
    mt.SetFormatType(&FORMAT_VideoInfo);
    VIDEOINFOHEADER* vih = reinterpret_cast<VIDEOINFOHEADER*>(mt.AllocFormatBuffer(sizeof(VIDEOINFOHEADER)));
    memset(vih, 0, sizeof *vih);
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->bmiHeader.biPlanes = 1;
    vih->bmiHeader.biBitCount = 32;
    vih->bmiHeader.biSizeImage = width * height * 4;
    mt.SetSampleSize(width * height * 4);
    return mt;
}

// A source whose output pin pushes samples on request from the test.
class TestSource : public CBaseFilter {
public:
    class Pin : public CBaseOutputPin {
    public:
        Pin(TestSource* f, HRESULT* phr) : CBaseOutputPin(NAME("out"), f, &f->m_lock, phr, L"Out") {}
        HRESULT CheckMediaType(const CMediaType* pmt) override { return *pmt == VideoType(4, 2) ? S_OK : S_FALSE; }
        HRESULT GetMediaType(int i, CMediaType* pmt) override
        {
            if (i < 0)
                return E_INVALIDARG;
            if (i > 0)
                return VFW_S_NO_MORE_ITEMS;
            *pmt = VideoType(4, 2);
            return S_OK;
        }
        HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
        {
            ALLOCATOR_PROPERTIES want = *req, got;
            want.cBuffers = want.cBuffers > 2 ? want.cBuffers : 2;
            want.cbBuffer = want.cbBuffer > 32 ? want.cbBuffer : 32;
            return a->SetProperties(&want, &got);
        }
    };
    TestSource() : CBaseFilter(NAME("source"), nullptr, &m_lock, GUID_NULL), m_pin(this, &m_hr) {}
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    HRESULT Push(BYTE value, REFERENCE_TIME t)
    {
        IMediaSample* s = nullptr;
        HRESULT hr = m_pin.GetDeliveryBuffer(&s, nullptr, nullptr, 0);
        if (FAILED(hr))
            return hr;
        BYTE* p;
        s->GetPointer(&p);
        memset(p, value, 32);
        s->SetActualDataLength(32);
        REFERENCE_TIME e = t + 1;
        s->SetTime(&t, &e);
        s->SetSyncPoint(TRUE);
        hr = m_pin.Deliver(s);
        s->Release();
        return hr;
    }
    CCritSec m_lock;
    HRESULT m_hr = S_OK;
    Pin m_pin;
};

// A renderer-like sink; it can insist on its own allocator.
class TestSink : public CBaseFilter {
public:
    class Pin : public CBaseInputPin {
    public:
        Pin(TestSink* f, HRESULT* phr) : CBaseInputPin(NAME("in"), f, &f->m_lock, phr, L"In"), m_sink(f) {}
        HRESULT CheckMediaType(const CMediaType* pmt) override
        {
            return IsEqualGUID(*pmt->Type(), MEDIATYPE_Video) ? S_OK : S_FALSE;
        }
        STDMETHODIMP NotifyAllocator(IMemAllocator* a, BOOL ro) override
        {
            if (m_sink->m_ownAllocatorOnly && m_pAllocator && a != m_pAllocator)
                return E_FAIL;
            return CBaseInputPin::NotifyAllocator(a, ro);
        }
        STDMETHODIMP Receive(IMediaSample* s) override
        {
            HRESULT hr = CBaseInputPin::Receive(s);
            if (hr != S_OK)
                return hr;
            BYTE* p;
            s->GetPointer(&p);
            REFERENCE_TIME a, b;
            s->GetTime(&a, &b);
            m_sink->m_values.push_back(p[0]);
            m_sink->m_times.push_back(a);
            m_sink->m_buffers.push_back(p);
            return S_OK;
        }
        TestSink* m_sink;
    };
    explicit TestSink(bool ownAllocatorOnly)
        : CBaseFilter(NAME("sink"), nullptr, &m_lock, GUID_NULL), m_ownAllocatorOnly(ownAllocatorOnly), m_pin(this, &m_hr)
    {
        if (ownAllocatorOnly) {
            IMemAllocator* a;
            m_pin.GetAllocator(&a);
            a->Release();
        }
    }
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }
    CCritSec m_lock;
    HRESULT m_hr = S_OK;
    bool m_ownAllocatorOnly;
    Pin m_pin;
    std::vector<BYTE> m_values;
    std::vector<int64_t> m_times;
    std::vector<BYTE*> m_buffers;
};

// Adds 1 to every byte and drops samples whose first byte was odd.
class TestInPlace : public CTransInPlaceFilter {
public:
    TestInPlace(HRESULT* phr) : CTransInPlaceFilter(NAME("in place"), nullptr, CLSID_TestInPlace, phr) {}
    HRESULT CheckInputType(const CMediaType* mt) override
    {
        return IsEqualGUID(*mt->Subtype(), MEDIASUBTYPE_RGB32) ? S_OK : E_FAIL;
    }
    HRESULT Transform(IMediaSample* s) override
    {
        ++m_seen;
        BYTE* p;
        s->GetPointer(&p);
        bool odd = p[0] & 1;
        for (LONG i = 0; i < s->GetActualDataLength(); ++i)
            ++p[i];
        return odd ? S_FALSE : S_OK;
    }
    int m_seen = 0;
};

struct Chain {
    TestSource* source = new TestSource;
    HRESULT hr = S_OK;
    TestInPlace* xform = new TestInPlace(&hr);
    TestSink* sink;
    explicit Chain(bool sinkOwnAllocator) : sink(new TestSink(sinkOwnAllocator))
    {
        source->AddRef();
        xform->AddRef();
        sink->AddRef();
    }
    ~Chain()
    {
        source->Stop();
        xform->Stop();
        sink->Stop();
        xform->GetPin(1)->Disconnect();
        sink->GetPin(0)->Disconnect();
        source->GetPin(0)->Disconnect();
        xform->GetPin(0)->Disconnect();
        source->Release();
        xform->Release();
        sink->Release();
    }
    HRESULT Connect()
    {
        HRESULT r = source->GetPin(0)->Connect(xform->GetPin(0), nullptr);
        if (FAILED(r))
            return r;
        return xform->GetPin(1)->Connect(sink->GetPin(0), nullptr);
    }
    void Run()
    {
        sink->Run(0);
        xform->Run(0);
        source->Run(0);
    }
};

} // namespace

TEST(TransInPlace, SharedAllocatorPassesSamplesThroughAndDropsOnSFalse)
{
    for (bool sinkOwnAllocator : {false, true}) {
        SCOPED_TRACE(sinkOwnAllocator ? "sink insists on its own allocator" : "one allocator");
        Chain c(sinkOwnAllocator);
        ASSERT_EQ(c.Connect(), S_OK);
        EXPECT_EQ(c.xform->UsingDifferentAllocators(), sinkOwnAllocator ? TRUE : FALSE);
        // The output type is the input type.
        EXPECT_TRUE(c.xform->OutputPin()->CurrentMediaType() == VideoType(4, 2));
        c.Run();
        for (int i = 0; i < 6; ++i)
            ASSERT_EQ(c.source->Push(BYTE(i), i * 100), S_OK);
        EXPECT_EQ(c.xform->m_seen, 6);
        // Even first bytes pass (incremented), odd ones are dropped.
        EXPECT_EQ(c.sink->m_values, (std::vector<BYTE>{1, 3, 5}));
        EXPECT_EQ(c.sink->m_times, (std::vector<int64_t>{0, 200, 400}));
    }
}

TEST(TransInPlace, OutputTypeQueriesFollowTheInput)
{
    HRESULT hr = S_OK;
    TestInPlace* f = new TestInPlace(&hr);
    f->AddRef();
    CMediaType mt;
    EXPECT_EQ(f->GetMediaType(0, &mt), E_UNEXPECTED);
    EXPECT_EQ(f->GetMediaType(-1, &mt), E_INVALIDARG);
    IEnumMediaTypes* e = nullptr;
    EXPECT_EQ(f->GetPin(1)->EnumMediaTypes(&e), VFW_E_NOT_CONNECTED);
    IPin* pin = nullptr;
    EXPECT_EQ(f->FindPin(L"Output", &pin), S_OK);
    if (pin)
        pin->Release();
    f->Release();
}

TEST(Allocator, NamedReconfigurableAndAllBuffersCanBeHeld)
{
    HRESULT hr = S_OK;
    CMemAllocator* a = new CMemAllocator(NAME("CircBuffer"), nullptr, &hr);
    a->NonDelegatingAddRef();
    ALLOCATOR_PROPERTIES req = {3, 100, 16, 0}, got;
    ASSERT_EQ(a->SetProperties(&req, &got), S_OK);
    IMediaSample* s;
    EXPECT_EQ(a->GetBuffer(&s, nullptr, nullptr, 0), VFW_E_NOT_COMMITTED);
    ASSERT_EQ(a->Commit(), S_OK);
    EXPECT_EQ(a->SetProperties(&req, &got), VFW_E_ALREADY_COMMITTED);
    std::vector<IMediaSample*> held(3);
    for (auto& h : held) {
        ASSERT_EQ(a->GetBuffer(&h, nullptr, nullptr, 0), S_OK);
        BYTE* p;
        h->GetPointer(&p);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 16, 0u);
        EXPECT_GE(h->GetSize(), 100);
    }
    EXPECT_EQ(a->GetBuffer(&s, nullptr, nullptr, AM_GBF_NOWAIT), VFW_E_TIMEOUT);
    // Decommitted with buffers out: no reconfiguration until they are all back.
    ASSERT_EQ(a->Decommit(), S_OK);
    req.cbBuffer = 5000;
    EXPECT_EQ(a->SetProperties(&req, &got), VFW_E_BUFFERS_OUTSTANDING);
    for (auto h : held)
        h->Release();
    EXPECT_EQ(a->SetProperties(&req, &got), S_OK);
    ASSERT_EQ(a->Commit(), S_OK);
    ASSERT_EQ(a->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    EXPECT_GE(s->GetSize(), 5000);
    EXPECT_EQ(s->SetActualDataLength(s->GetSize() + 1), VFW_E_BUFFER_OVERFLOW);
    s->Release();
    a->Decommit();
    a->NonDelegatingRelease();
}

TEST(MediaSample, TimesFlagsAndTypeRoundTrip)
{
    HRESULT hr = S_OK;
    CMemAllocator* a = new CMemAllocator(NAME("a"), nullptr, &hr);
    a->NonDelegatingAddRef();
    ALLOCATOR_PROPERTIES req = {1, 16, 1, 0}, got;
    a->SetProperties(&req, &got);
    a->Commit();
    IMediaSample* s;
    ASSERT_EQ(a->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    REFERENCE_TIME t0, t1;
    EXPECT_EQ(s->GetTime(&t0, &t1), VFW_E_SAMPLE_TIME_NOT_SET);
    REFERENCE_TIME st = 10;
    s->SetTime(&st, nullptr);
    EXPECT_EQ(s->GetTime(&t0, &t1), VFW_S_NO_STOP_TIME);
    EXPECT_EQ(t0, 10);
    LONGLONG m0 = 5, m1 = 6;
    EXPECT_EQ(s->GetMediaTime(&t0, &t1), VFW_E_MEDIA_TIME_NOT_SET);
    s->SetMediaTime(&m0, &m1);
    EXPECT_EQ(s->GetMediaTime(&t0, &t1), S_OK);
    EXPECT_EQ(t1, 6);
    CMediaType mt = VideoType(2, 2);
    s->SetMediaType(&mt);
    AM_MEDIA_TYPE* back = nullptr;
    ASSERT_EQ(s->GetMediaType(&back), S_OK);
    EXPECT_TRUE(CMediaType(*back) == mt);
    DeleteMediaType(back);
    s->SetDiscontinuity(TRUE);
    s->Release();
    // A sample handed out again starts clean.
    ASSERT_EQ(a->GetBuffer(&s, nullptr, nullptr, 0), S_OK);
    EXPECT_EQ(s->IsDiscontinuity(), S_FALSE);
    EXPECT_EQ(s->GetMediaType(&back), S_FALSE);
    s->Release();
    a->Decommit();
    a->NonDelegatingRelease();
}

TEST(FilterData, RoundTripsAndRejectsCutData)
{
    FilterData d;
    d.merit = MERIT_DO_NOT_USE;
    FilterPinData in, out;
    in.types.emplace_back(MEDIATYPE_Video, MEDIASUBTYPE_RGB32);
    out.flags = REG_PINFLAG_B_OUTPUT;
    out.types.emplace_back(MEDIATYPE_Video, MEDIASUBTYPE_RGB32);
    out.types.emplace_back(GUID_NULL, GUID_NULL);
    d.pins = {in, out};
    std::vector<BYTE> blob = EncodeFilterData(d);
    FilterData back;
    ASSERT_TRUE(DecodeFilterData(blob.data(), blob.size(), &back));
    EXPECT_EQ(back.merit, DWORD(MERIT_DO_NOT_USE));
    ASSERT_EQ(back.pins.size(), 2u);
    EXPECT_EQ(back.pins[1].flags, DWORD(REG_PINFLAG_B_OUTPUT));
    ASSERT_EQ(back.pins[1].types.size(), 2u);
    EXPECT_TRUE(IsEqualGUID(back.pins[1].types[0].second, MEDIASUBTYPE_RGB32));
    EXPECT_TRUE(IsEqualGUID(back.pins[1].types[1].first, GUID_NULL));
    for (size_t cut : {size_t(0), size_t(3), size_t(16), size_t(30), blob.size() - 1})
        EXPECT_FALSE(DecodeFilterData(blob.data(), cut, &back)) << cut;
}

// The module's class table, as a filter module would supply it.
static CUnknown* CALLBACK CreateTestInPlace(LPUNKNOWN, HRESULT* phr)
{
    return new TestInPlace(phr);
}
static const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};
static const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kTypes},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kTypes},
};
static const AMOVIESETUP_FILTER kFilter = {&CLSID_TestInPlace, L"Test In Place", MERIT_DO_NOT_USE, 2, kPins};
CFactoryTemplate g_Templates[] = {{L"Test In Place", &CLSID_TestInPlace, CreateTestInPlace, nullptr, &kFilter}};
int g_cTemplates = 1;

TEST(Registration, WritesClassAndMapperEntryAndRemovesThem)
{
    const std::string clsKey = "CLSID\\" + GuidText(CLSID_TestInPlace);
    const std::string instKey =
        "CLSID\\" + GuidText(CLSID_LegacyAmFilterCategory) + "\\Instance\\" + GuidText(CLSID_TestInPlace);
    ASSERT_EQ(AMovieDllRegisterServer2(TRUE), S_OK);
    char value[MAX_PATH] = {};
    LONG size = sizeof value;
    ASSERT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, (clsKey + "\\InprocServer32").c_str(), value, &size), ERROR_SUCCESS);
    EXPECT_STREQ(value, ServerModulePath(BaseClassesModule()).c_str());
    EXPECT_NE(strstr(value, "dshow_base_baseclasses_test.exe"), nullptr) << value << " in " << TestBinDir();
    HKEY k;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, instKey.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    BYTE blob[512];
    DWORD blobSize = sizeof blob, type;
    ASSERT_EQ(RegQueryValueExA(k, "FilterData", nullptr, &type, blob, &blobSize), ERROR_SUCCESS);
    RegCloseKey(k);
    FilterData d;
    ASSERT_TRUE(DecodeFilterData(blob, blobSize, &d));
    EXPECT_EQ(d.merit, DWORD(MERIT_DO_NOT_USE));
    EXPECT_EQ(d.pins.size(), 2u);

    // The class factory makes the filter; unloading is refused while it lives.
    IClassFactory* cf = nullptr;
    ASSERT_EQ(DllGetClassObject(CLSID_TestInPlace, IID_IClassFactory, (void**)&cf), S_OK);
    IBaseFilter* f = nullptr;
    ASSERT_EQ(cf->CreateInstance(nullptr, IID_IBaseFilter, (void**)&f), S_OK);
    cf->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    f->Release();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    EXPECT_EQ(DllGetClassObject(CLSID_NULL, IID_IClassFactory, (void**)&cf), CLASS_E_CLASSNOTAVAILABLE);

    ASSERT_EQ(AMovieDllRegisterServer2(FALSE), S_OK);
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, clsKey.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, instKey.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
}

TEST(ErrorText, KnownCodesHaveTextsUnknownHaveNone)
{
    char buf[256];
    EXPECT_GT(AMGetErrorTextA(VFW_E_NOT_CONNECTED, buf, sizeof buf), 0u);
    EXPECT_STREQ(buf, "The operation cannot be performed because the pins are not connected.");
    EXPECT_EQ(AMGetErrorTextA(VFW_E_NOT_CONNECTED, buf, 5), 0u);
    EXPECT_EQ(AMGetErrorTextA(0x80041234, buf, sizeof buf), 0u);
}

// Stream persistence writes only its version record: twelve wide characters.
class Persisted : public CPersistStream {
public:
    Persisted() : CPersistStream(nullptr, nullptr) {}
    STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    STDMETHODIMP GetClassID(CLSID* c) override
    {
        *c = GUID_NULL;
        return S_OK;
    }
    DWORD GetSoftwareVersion() override { return version; }
    DWORD version = 0;
};

TEST(PersistStream, SavesTheVersionRecordAndReadsItBack)
{
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    Persisted p;
    p.version = 7;
    p.SetDirty(TRUE);
    EXPECT_EQ(p.IsDirty(), S_OK);
    ULARGE_INTEGER max;
    ASSERT_EQ(p.GetSizeMax(&max), S_OK);
    EXPECT_EQ(max.QuadPart, 24u);
    ASSERT_EQ(p.Save(stream, TRUE), S_OK);
    EXPECT_EQ(p.IsDirty(), S_FALSE);
    STATSTG st;
    stream->Stat(&st, STATFLAG_NONAME);
    EXPECT_EQ(st.cbSize.QuadPart, 24u);
    LARGE_INTEGER zero = {};
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    HRESULT hr = E_FAIL;
    EXPECT_EQ(ReadInt(stream, hr), 7);
    EXPECT_EQ(hr, S_OK);
    // Cut short: the load fails instead of reading past the end.
    stream->Seek(zero, STREAM_SEEK_SET, nullptr);
    ULARGE_INTEGER ten = {};
    ten.QuadPart = 10;
    stream->SetSize(ten);
    Persisted q;
    EXPECT_FALSE(SUCCEEDED(q.Load(stream)));
    stream->Release();
}

// A push source: its worker fills five samples and ends the stream.
class CountingSource : public CSource {
public:
    class Stream : public CSourceStream {
    public:
        Stream(CountingSource* f, HRESULT* phr) : CSourceStream(NAME("count"), phr, f, L"Out") {}
        HRESULT GetMediaType(CMediaType* pmt) override
        {
            *pmt = VideoType(4, 2);
            return S_OK;
        }
        HRESULT DecideBufferSize(IMemAllocator* a, ALLOCATOR_PROPERTIES* req) override
        {
            ALLOCATOR_PROPERTIES want = *req, got;
            want.cBuffers = 2;
            want.cbBuffer = 32;
            return a->SetProperties(&want, &got);
        }
        HRESULT FillBuffer(IMediaSample* s) override
        {
            if (m_next == 5)
                return S_FALSE;
            BYTE* p;
            s->GetPointer(&p);
            p[0] = BYTE(m_next * 2); // even: passes the in-place filter
            s->SetActualDataLength(32);
            REFERENCE_TIME t = m_next * 10, e = t + 10;
            s->SetTime(&t, &e);
            ++m_next;
            return S_OK;
        }
        int m_next = 0;
    };
    CountingSource(HRESULT* phr) : CSource(NAME("counting source"), nullptr, GUID_NULL, phr) { new Stream(this, phr); }
};

TEST(Source, WorkerDeliversUntilTheEndOfTheStream)
{
    HRESULT hr = S_OK;
    CountingSource* source = new CountingSource(&hr);
    TestSink* sink = new TestSink(false);
    source->AddRef();
    sink->AddRef();
    ASSERT_EQ(source->GetPinCount(), 1);
    ASSERT_EQ(source->GetPin(0)->Connect(sink->GetPin(0), nullptr), S_OK);
    sink->Run(0);
    ASSERT_EQ(source->Run(0), S_OK);
    for (int i = 0; i < 200 && sink->m_values.size() < 5; ++i)
        Sleep(10);
    source->Stop();
    sink->Stop();
    EXPECT_EQ(sink->m_values, (std::vector<BYTE>{0, 2, 4, 6, 8}));
    EXPECT_EQ(sink->m_times, (std::vector<int64_t>{0, 10, 20, 30, 40}));
    source->GetPin(0)->Disconnect();
    sink->GetPin(0)->Disconnect();
    source->Release();
    sink->Release();
}

namespace {

struct EventWaiter {
    CLocalEvent* event;
    volatile LONG* started;
    volatile LONG* released;
    static DWORD WINAPI Run(LPVOID p)
    {
        EventWaiter* w = static_cast<EventWaiter*>(p);
        InterlockedIncrement(w->started);
        if (w->event->Wait())
            InterlockedIncrement(w->released);
        return 0;
    }
};

// Starts n threads waiting on the event and gives them time to block in it.
std::vector<HANDLE> StartWaiters(EventWaiter& w, int n)
{
    std::vector<HANDLE> threads;
    for (int i = 0; i < n; ++i)
        threads.push_back(CreateThread(nullptr, 0, EventWaiter::Run, &w, 0, nullptr));
    while (*w.started < n)
        Sleep(1);
    Sleep(50);
    return threads;
}

// Waits for the count to reach n (or a generous limit) and returns it.
LONG CountReaches(volatile LONG* count, LONG n)
{
    for (int i = 0; i < 500 && *count < n; ++i)
        Sleep(10);
    return *count;
}

bool Joined(std::vector<HANDLE>& threads)
{
    bool all = WaitForMultipleObjects(DWORD(threads.size()), threads.data(), TRUE, 5000) == WAIT_OBJECT_0;
    for (HANDLE h : threads)
        CloseHandle(h);
    return all;
}

} // namespace

TEST(LocalEvent, StatesAndTimeoutsWithoutWaiters)
{
    CLocalEvent autoEvent;
    EXPECT_FALSE(autoEvent.Check());
    EXPECT_FALSE(autoEvent.Wait(20));
    autoEvent.Set();
    autoEvent.Set(); // an auto-reset event counts no sets
    EXPECT_TRUE(autoEvent.Wait(20));
    EXPECT_FALSE(autoEvent.Check());
    autoEvent.Set();
    autoEvent.Reset();
    EXPECT_FALSE(autoEvent.Check());

    CLocalEvent manual(true, true);
    EXPECT_TRUE(manual.Check());
    EXPECT_TRUE(manual.Wait(20));
    manual.Reset();
    EXPECT_FALSE(manual.Wait(20));
    manual.Set();
    EXPECT_TRUE(manual.Check());
    EXPECT_TRUE(manual.Check());
}

// A flag that is set and cleared again before a waiting thread runs must still release
// it, as a Win32 event does: a hand-off would otherwise hang.
TEST(LocalEvent, ManualResetReleasesEveryWaiterEvenWhenResetAtOnce)
{
    CLocalEvent event(true);
    volatile LONG started = 0, released = 0;
    EventWaiter w{&event, &started, &released};
    std::vector<HANDLE> threads = StartWaiters(w, 3);
    EXPECT_EQ(released, 0);
    event.Set();
    event.Reset();
    EXPECT_EQ(CountReaches(&released, 3), 3);
    EXPECT_TRUE(Joined(threads));
    EXPECT_FALSE(event.Check());
}

TEST(LocalEvent, AutoResetReleasesOneWaiterPerSet)
{
    CLocalEvent event;
    volatile LONG started = 0, released = 0;
    EventWaiter w{&event, &started, &released};
    std::vector<HANDLE> threads = StartWaiters(w, 2);
    event.Set();
    EXPECT_EQ(CountReaches(&released, 1), 1);
    Sleep(50);
    EXPECT_EQ(released, 1); // the other still waits: the set was taken
    event.Set();
    event.Reset();          // too late: the set was handed to the waiting thread
    EXPECT_EQ(CountReaches(&released, 2), 2);
    EXPECT_TRUE(Joined(threads));
    EXPECT_FALSE(event.Check());
}
