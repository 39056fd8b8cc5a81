// Push sources: a filter of output pins, each with a worker thread that fills buffers
// (FillBuffer) and delivers them from the pause until the stop; S_FALSE from FillBuffer
// ends the stream.
#pragma once
#include "amfilter.h"

class CSourceStream;

class CSource : public CBaseFilter {
public:
    CSource(LPCTSTR pName, LPUNKNOWN lpunk, CLSID clsid, HRESULT* phr);
    CSource(LPCTSTR pName, LPUNKNOWN lpunk, CLSID clsid);
    ~CSource() override;

    int GetPinCount() override;
    CBasePin* GetPin(int n) override;
    CCritSec* pStateLock() { return &m_cStateLock; }
    // Pins add themselves in their constructor and leave in their destructor; the filter
    // deletes the pins still there when it goes.
    HRESULT AddPin(CSourceStream* pStream);
    HRESULT RemovePin(CSourceStream* pStream);
    STDMETHODIMP FindPin(LPCWSTR Id, IPin** ppPin) override;
    int FindPinNumber(IPin* iPin);

protected:
    int m_iPins;
    CSourceStream** m_paStreams;
    CCritSec m_cStateLock;
};

class CSourceStream : public CAMThread, public CBaseOutputPin {
public:
    CSourceStream(LPCTSTR pObjectName, HRESULT* phr, CSource* pms, LPCWSTR pName);
    ~CSourceStream() override;

protected:
    CSource* m_pFilter;

    // The sample's data and times; S_FALSE at the end of the stream.
    virtual HRESULT FillBuffer(IMediaSample* pSamp) = 0;
    virtual HRESULT OnThreadCreate() { return S_OK; }
    virtual HRESULT OnThreadDestroy() { return S_OK; }
    virtual HRESULT OnThreadStartPlay() { return S_OK; }

    HRESULT Active() override;
    HRESULT Inactive() override;

    enum Command { CMD_INIT, CMD_PAUSE, CMD_RUN, CMD_STOP, CMD_EXIT };
    HRESULT Init() { return CallWorker(CMD_INIT); }
    HRESULT Exit() { return CallWorker(CMD_EXIT); }
    HRESULT Run() { return CallWorker(CMD_RUN); }
    HRESULT Pause() { return CallWorker(CMD_PAUSE); }
    HRESULT Stop() { return CallWorker(CMD_STOP); }
    Command GetRequest() { return Command(CAMThread::GetRequest()); }
    BOOL CheckRequest(Command* pCom) { return CAMThread::CheckRequest(reinterpret_cast<DWORD*>(pCom)); }

    DWORD ThreadProc() override;
    virtual HRESULT DoBufferProcessingLoop();

    // One media type by default: GetMediaType(CMediaType*) supplies it.
    HRESULT CheckMediaType(const CMediaType* pMediaType) override;
    HRESULT GetMediaType(int iPosition, CMediaType* pMediaType) override;
    virtual HRESULT GetMediaType(CMediaType*) { return E_UNEXPECTED; }

public:
    STDMETHODIMP QueryId(LPWSTR* Id) override { return CBasePin::QueryId(Id); }
    using CBasePin::Run;
};
