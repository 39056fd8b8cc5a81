#include "dv_camera.h"
#include "avdevice_loader.h"
#include "live_source.h"
#include "synthetic_dv.h"
#include "video_formats.h"
extern "C" {
#include <libavformat/avformat.h>
}
#include <memory>
#include <new>
#include <vector>

// Identifies the camcorder sources (they are made through the device enumerator only).
// {6C1A4D02-0E55-4F1B-9A3E-51D0C2B7A101}
static const GUID CLSID_QuorvelDvCamera = {0x6c1a4d02, 0x0e55, 0x4f1b, {0x9a, 0x3e, 0x51, 0xd0, 0xc2, 0xb7, 0xa1, 0x01}};

namespace {

const REFERENCE_TIME kNtscPeriod = 333667; // 1001/30000 s
const REFERENCE_TIME kPalPeriod = 400000;

// Where the DV frames come from.
class DvFeed {
public:
    virtual ~DvFeed() {}
    virtual bool Pal() const = 0;
    // Paced feeds are read whenever the filter wants a frame; unpaced ones block until
    // the device has one.
    virtual bool Paced() const = 0;
    virtual bool Open() = 0;
    virtual void Close() {}
    // Frame n (for a paced feed) or the device's next frame; false when the device is gone.
    virtual bool Read(LONGLONG n, std::vector<BYTE>& frame) = 0;
};

class SyntheticFeed : public DvFeed {
public:
    SyntheticFeed(bool pal, long loseAfter) : m_pal(pal), m_loseAfter(loseAfter) {}
    bool Pal() const override { return m_pal; }
    bool Paced() const override { return true; }
    bool Open() override
    {
        if (!m_gen)
            m_gen.reset(new (std::nothrow) synthetic_dv::Generator(m_pal));
        return m_gen && m_gen->Ok();
    }
    bool Read(LONGLONG n, std::vector<BYTE>& frame) override
    {
        if (m_loseAfter > 0 && m_sent >= m_loseAfter)
            return false;
        ++m_sent;
        return m_gen->Frame(n, frame);
    }

private:
    bool m_pal;
    long m_loseAfter;
    long m_sent = 0;
    std::unique_ptr<synthetic_dv::Generator> m_gen;
};

class FireWireFeed : public DvFeed {
public:
    explicit FireWireFeed(const std::string& device) : m_device(device) {}
    ~FireWireFeed() override { Close(); }
    bool Pal() const override { return m_pal; }
    bool Paced() const override { return false; }
    bool Open() override
    {
        if (m_ctx)
            return true;
        LoadDeviceReaders();
        const AVInputFormat* f = av_find_input_format("iec61883");
        if (!f)
            return false;
        AVDictionary* opts = nullptr;
        av_dict_set(&opts, "dvtype", "dv", 0);
        int rc = avformat_open_input(&m_ctx, m_device.c_str(), f, &opts);
        av_dict_free(&opts);
        return rc >= 0;
    }
    void Close() override
    {
        if (m_ctx)
            avformat_close_input(&m_ctx);
    }
    bool Read(LONGLONG, std::vector<BYTE>& frame) override
    {
        if (!m_ctx)
            return false;
        AVPacket* pkt = av_packet_alloc();
        bool got = false;
        int foreign = 0;
        // The reader gives the whole DV frame as the picture packet, and its sound apart.
        // Frames of the other standard than the pins announce cannot be passed on; a
        // camcorder sending only those is treated as gone.
        while (!got && foreign < 25 && av_read_frame(m_ctx, pkt) >= 0) {
            if (pkt->size == synthetic_dv::FrameBytes(m_pal)) {
                frame.assign(pkt->data, pkt->data + pkt->size);
                got = true;
            } else if (pkt->size == synthetic_dv::FrameBytes(!m_pal)) {
                ++foreign;
            }
            av_packet_unref(pkt);
        }
        av_packet_free(&pkt);
        return got;
    }

private:
    std::string m_device;
    AVFormatContext* m_ctx = nullptr;
    // The standard is not asked of the camcorder when it is bound (a camcorder that sends
    // nothing would hold the caller up): it is taken to be 29.97 frames/s.
    bool m_pal = false;
};

CMediaType VideoOutType(bool pal)
{
    return MakeVideoType(MEDIASUBTYPE_dvsd, 720, pal ? 576 : 480, 24, MAKEFOURCC('d', 'v', 's', 'd'),
                         pal ? kPalPeriod : kNtscPeriod, pal ? 144000 : 120000);
}

CMediaType InterleavedType(bool pal)
{
    CMediaType mt;
    mt.SetType(&MEDIATYPE_Interleaved);
    mt.SetSubtype(&MEDIASUBTYPE_dvsd);
    mt.SetFormatType(&FORMAT_DvInfo);
    DVINFO* info = reinterpret_cast<DVINFO*>(mt.AllocFormatBuffer(sizeof(DVINFO)));
    memset(info, 0, sizeof *info);
    // The 50/60 flag of the source packs; sampling-frequency code 0 is 48 kHz.
    if (pal)
        info->dwDVAAuxSrc = info->dwDVVAuxSrc = 1u << 21;
    mt.SetSampleSize(pal ? 144000 : 120000);
    mt.SetTemporalCompression(FALSE);
    return mt;
}

class CDvCamera : public CLiveSource {
public:
    CDvCamera(DvFeed* feed, HRESULT* phr)
        : CLiveSource(NAME("DV camcorder"), nullptr, CLSID_QuorvelDvCamera), m_feed(feed),
          m_pacer(feed->Pal() ? kPalPeriod : kNtscPeriod)
    {
        const bool pal = feed->Pal();
        AddPin(new CLivePin(this, phr, L"DV Vid Out", PIN_CATEGORY_CAPTURE, {VideoOutType(pal)}, true));
        AddPin(new CLivePin(this, phr, L"DV A/V Out", PIN_CATEGORY_CAPTURE, {InterleavedType(pal)}, true));
    }

protected:
    bool Open() override
    {
        m_pacer.Reset();
        return m_feed->Open();
    }
    void Close() override
    {
        if (!m_feed->Paced())
            m_feed->Close();
    }
    bool Capture() override
    {
        LONGLONG n;
        LONG dropped = 0;
        // A frame is due at its stop time; one that is a whole period later than that
        // means the ones before it were not delivered. A frame that the source makes
        // itself is numbered before it is made, so that its picture and its times are
        // those of the same frame however long the making takes.
        if (m_feed->Paced()) {
            n = m_pacer.NextDue(Now());
            if (!WaitUntil(m_pacer.Stop(n)))
                return true;
            n = m_pacer.Take(n, Now(), &dropped, m_pacer.Period());
            if (!m_feed->Read(n, m_frame))
                return false;
        } else {
            if (!m_feed->Read(0, m_frame))
                return false;
            n = m_pacer.Take(m_pacer.NextDue(Now()), Now(), &dropped, m_pacer.Period());
        }
        const REFERENCE_TIME start = m_pacer.Start(n), stop = m_pacer.Stop(n);
        bool sent = false;
        for (CLivePin* pin : m_pins) {
            HRESULT hr = pin->DeliverBuffer(m_frame.data(), LONG(m_frame.size()), start, stop);
            if (hr == S_OK)
                sent = true;
        }
        CountDelivered(sent ? 1 : 0, dropped + (sent ? 0 : 1));
        return true;
    }

private:
    std::unique_ptr<DvFeed> m_feed;
    FramePacer m_pacer;
    std::vector<BYTE> m_frame;
};

} // namespace

HRESULT CreateSyntheticDvCamera(bool pal, long loseAfter, IBaseFilter** ppFilter)
{
    if (!ppFilter)
        return E_POINTER;
    *ppFilter = nullptr;
    HRESULT hr = S_OK;
    CDvCamera* camera = new (std::nothrow) CDvCamera(new SyntheticFeed(pal, loseAfter), &hr);
    return CLiveSource::HandOut(camera, hr, ppFilter);
}

HRESULT CreateFireWireDvCamera(const std::string& device, IBaseFilter** ppFilter)
{
    if (!ppFilter)
        return E_POINTER;
    *ppFilter = nullptr;
    FireWireFeed* feed = new FireWireFeed(device);
    HRESULT hr = S_OK;
    CDvCamera* camera = new (std::nothrow) CDvCamera(feed, &hr);
    return CLiveSource::HandOut(camera, hr, ppFilter);
}
