// File Writer: writes the byte stream of a multiplexer into the file named through
// IFileSinkFilter. The multiplexer writes at positions of its choice through the input
// pin's IStream (samples received instead are written at the offset their start time
// gives). The file is created afresh at the first write after a pause from stopped and
// closed when the writer is told the stream is complete (IStream::Commit), when it gets a
// new name, or when it goes; a stop alone keeps it open, because the multiplexer, which is
// stopped after its writer, still finishes the file then.
#include "classes.h"
#include <new>
#include <string>

namespace {

class CFileWriter;

class CWriterInputPin : public CBaseInputPin, public IStream {
public:
    CWriterInputPin(CFileWriter* f, CCritSec* lock, HRESULT* phr);
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IStream) || IsEqualIID(riid, IID_ISequentialStream))
            return GetInterface(static_cast<IStream*>(this), ppv);
        return CBaseInputPin::NonDelegatingQueryInterface(riid, ppv);
    }
    HRESULT CheckMediaType(const CMediaType* pmt) override
    {
        return IsEqualGUID(pmt->majortype, MEDIATYPE_Stream) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    }
    HRESULT BreakConnect() override;
    STDMETHODIMP Receive(IMediaSample* pSample) override;
    // The multiplexer says the file is complete: the writer, a renderer, has rendered all.
    STDMETHODIMP EndOfStream() override
    {
        HRESULT hr = CheckStreaming();
        if (hr != S_OK)
            return hr;
        m_pFilter->NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(m_pFilter)));
        return S_OK;
    }

    // IStream
    STDMETHODIMP Read(void* pv, ULONG cb, ULONG* pcbRead) override;
    STDMETHODIMP Write(const void* pv, ULONG cb, ULONG* pcbWritten) override;
    STDMETHODIMP Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos) override;
    STDMETHODIMP SetSize(ULARGE_INTEGER size) override;
    STDMETHODIMP CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*, ULARGE_INTEGER*) override { return E_NOTIMPL; }
    STDMETHODIMP Commit(DWORD) override;
    STDMETHODIMP Revert() override { return E_NOTIMPL; }
    STDMETHODIMP LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    STDMETHODIMP Stat(STATSTG* stat, DWORD) override;
    STDMETHODIMP Clone(IStream**) override { return E_NOTIMPL; }

private:
    CFileWriter* m_writer;
};

class CFileWriter : public CBaseFilter, public IFileSinkFilter, public IAMFilterMiscFlags {
    friend class CWriterInputPin;

public:
    CFileWriter(LPUNKNOWN pUnk, HRESULT* phr)
        : CBaseFilter(NAME("File writer"), pUnk, &m_lock, CLSID_FileWriter), m_input(this, &m_lock, phr)
    {
    }
    ~CFileWriter() override { CloseFile(); }
    static CUnknown* CALLBACK CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
    {
        CUnknown* p = new (std::nothrow) CFileWriter(pUnk, phr);
        if (!p && phr)
            *phr = E_OUTOFMEMORY;
        return p;
    }
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_IFileSinkFilter))
            return GetInterface(static_cast<IFileSinkFilter*>(this), ppv);
        if (IsEqualIID(riid, IID_IAMFilterMiscFlags))
            return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
        return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
    }
    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_input : nullptr; }
    STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_RENDERER; }

    STDMETHODIMP Pause() override
    {
        CAutoLock l(&m_lock);
        if (m_State == State_Stopped) {
            // A new run writes a new file.
            CAutoLock f(&m_fileLock);
            CloseFile();
            m_fresh = true;
        }
        return CBaseFilter::Pause();
    }

    STDMETHODIMP SetFileName(LPCOLESTR name, const AM_MEDIA_TYPE* pmt) override
    {
        if (!name)
            return E_POINTER;
        CAutoLock f(&m_fileLock);
        CloseFile();
        m_name.assign(reinterpret_cast<const char16_t*>(name));
        m_type = pmt ? CMediaType(*pmt) : CMediaType();
        m_fresh = true;
        return S_OK;
    }
    STDMETHODIMP GetCurFile(LPOLESTR* name, AM_MEDIA_TYPE* pmt) override
    {
        if (!name)
            return E_POINTER;
        *name = nullptr;
        CAutoLock f(&m_fileLock);
        if (m_name.empty())
            return E_FAIL;
        size_t bytes = (m_name.size() + 1) * sizeof(WCHAR);
        *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
        if (!*name)
            return E_OUTOFMEMORY;
        memcpy(*name, m_name.c_str(), bytes);
        if (pmt)
            CopyMediaType(pmt, &m_type);
        return S_OK;
    }

private:
    // The file, created when first needed after a pause or a new name.
    HRESULT EnsureFile()
    {
        if (m_file != INVALID_HANDLE_VALUE)
            return S_OK;
        if (m_name.empty())
            return E_UNEXPECTED;
        m_file = CreateFileW(reinterpret_cast<LPCWSTR>(m_name.c_str()), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                             nullptr, m_fresh ? CREATE_ALWAYS : OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_file == INVALID_HANDLE_VALUE)
            return HRESULT_FROM_WIN32(GetLastError());
        m_fresh = false;
        return S_OK;
    }
    void CloseFile()
    {
        if (m_file != INVALID_HANDLE_VALUE) {
            CloseHandle(m_file);
            m_file = INVALID_HANDLE_VALUE;
        }
    }

    CCritSec m_lock;
    CCritSec m_fileLock;
    CWriterInputPin m_input;
    std::u16string m_name;
    CMediaType m_type;
    HANDLE m_file = INVALID_HANDLE_VALUE;
    bool m_fresh = true;
};

CWriterInputPin::CWriterInputPin(CFileWriter* f, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin(NAME("File writer input"), f, lock, phr, L"in"), m_writer(f)
{
}

HRESULT CWriterInputPin::BreakConnect()
{
    {
        CAutoLock f(&m_writer->m_fileLock);
        m_writer->CloseFile();
    }
    return CBaseInputPin::BreakConnect();
}

STDMETHODIMP CWriterInputPin::Receive(IMediaSample* pSample)
{
    HRESULT hr = CBaseInputPin::Receive(pSample);
    if (hr != S_OK)
        return hr;
    REFERENCE_TIME start = 0, stop = 0;
    if (pSample->GetTime(&start, &stop) == S_OK || start) {
        LARGE_INTEGER pos;
        pos.QuadPart = start;
        hr = Seek(pos, STREAM_SEEK_SET, nullptr);
    } else {
        LARGE_INTEGER zero = {};
        hr = Seek(zero, STREAM_SEEK_END, nullptr);
    }
    if (FAILED(hr))
        return hr;
    BYTE* p = nullptr;
    pSample->GetPointer(&p);
    return Write(p, ULONG(pSample->GetActualDataLength()), nullptr);
}

STDMETHODIMP CWriterInputPin::Read(void* pv, ULONG cb, ULONG* pcbRead)
{
    CAutoLock f(&m_writer->m_fileLock);
    HRESULT hr = m_writer->EnsureFile();
    if (FAILED(hr))
        return hr;
    DWORD n = 0;
    if (!ReadFile(m_writer->m_file, pv, cb, &n, nullptr))
        return HRESULT_FROM_WIN32(GetLastError());
    if (pcbRead)
        *pcbRead = n;
    return n == cb ? S_OK : S_FALSE;
}

STDMETHODIMP CWriterInputPin::Write(const void* pv, ULONG cb, ULONG* pcbWritten)
{
    CAutoLock f(&m_writer->m_fileLock);
    HRESULT hr = m_writer->EnsureFile();
    if (FAILED(hr))
        return hr;
    DWORD n = 0;
    if (!WriteFile(m_writer->m_file, pv, cb, &n, nullptr))
        return HRESULT_FROM_WIN32(GetLastError());
    if (pcbWritten)
        *pcbWritten = n;
    return n == cb ? S_OK : STG_E_MEDIUMFULL;
}

STDMETHODIMP CWriterInputPin::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPos)
{
    CAutoLock f(&m_writer->m_fileLock);
    HRESULT hr = m_writer->EnsureFile();
    if (FAILED(hr))
        return hr;
    LARGE_INTEGER now;
    if (!SetFilePointerEx(m_writer->m_file, move, &now, origin))
        return HRESULT_FROM_WIN32(GetLastError());
    if (newPos)
        newPos->QuadPart = ULONGLONG(now.QuadPart);
    return S_OK;
}

STDMETHODIMP CWriterInputPin::SetSize(ULARGE_INTEGER size)
{
    CAutoLock f(&m_writer->m_fileLock);
    HRESULT hr = m_writer->EnsureFile();
    if (FAILED(hr))
        return hr;
    LARGE_INTEGER keep = {}, at;
    SetFilePointerEx(m_writer->m_file, keep, &keep, FILE_CURRENT);
    at.QuadPart = LONGLONG(size.QuadPart);
    if (!SetFilePointerEx(m_writer->m_file, at, nullptr, FILE_BEGIN) || !SetEndOfFile(m_writer->m_file))
        return HRESULT_FROM_WIN32(GetLastError());
    SetFilePointerEx(m_writer->m_file, keep, nullptr, FILE_BEGIN);
    return S_OK;
}

STDMETHODIMP CWriterInputPin::Commit(DWORD)
{
    CAutoLock f(&m_writer->m_fileLock);
    if (m_writer->m_file != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_writer->m_file))
        return HRESULT_FROM_WIN32(GetLastError());
    // The stream is complete: the file is left for others to read.
    m_writer->CloseFile();
    return S_OK;
}

STDMETHODIMP CWriterInputPin::Stat(STATSTG* stat, DWORD)
{
    if (!stat)
        return E_POINTER;
    CAutoLock f(&m_writer->m_fileLock);
    memset(stat, 0, sizeof *stat);
    stat->type = STGTY_STREAM;
    LARGE_INTEGER size = {};
    if (m_writer->m_file != INVALID_HANDLE_VALUE)
        GetFileSizeEx(m_writer->m_file, &size);
    stat->cbSize.QuadPart = ULONGLONG(size.QuadPart);
    return S_OK;
}

const AMOVIESETUP_MEDIATYPE kTypes[] = {{&MEDIATYPE_Stream, &GUID_NULL}};
const AMOVIESETUP_PIN kPins[] = {{L"in", TRUE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, kTypes}};
const AMOVIESETUP_FILTER kSetup = {&CLSID_FileWriter, L"File writer", MERIT_DO_NOT_USE, 1, kPins};

} // namespace

DSHOW_SERVED_CLASS(L"File writer", &CLSID_FileWriter, CFileWriter::CreateInstance, &kSetup);
