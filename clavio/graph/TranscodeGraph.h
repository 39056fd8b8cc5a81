// Re-encodes a range of frames of a clip file into a new AVI file: the clip's pictures,
// decoded, go through the video compressor into the AVI multiplexer, its sound into the
// multiplexer as it is. The graph runs without a clock, as fast as the filters go, while a
// progress window counts the frames written and offers Cancel.
#pragma once
#include "GraphManager.h"

class CProgressDlg;

class CTranscodeGraph : public CGraphManager
{
public:
    CTranscodeGraph();
    ~CTranscodeGraph() override;

    BOOL OnGraphEvent(long code, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT BuildGraph() override;
    HRESULT TearDown() override;

    void SetSource(CString path) { m_strSource = path; }
    void SetDestination(CString path) { m_strDestination = path; }
    // The range is start frame to end frame, both written.
    void SetStartFrame(int frame) { m_nStartFrame = frame; }
    void SetEndFrame(int frame) { m_nEndFrame = frame; }

    // 0 when the range was written, 1 when it was cancelled or failed.
    int Transcode();
    CProgressDlg* GetProgressDialog() const { return m_pProgress; }

protected:
    HRESULT PlayRange();
    HRESULT AdjustEncoder();

    CString m_strSource, m_strDestination;
    int m_nStartFrame, m_nEndFrame;
    IBaseFilter* m_pSource;
    IBaseFilter* m_pEncoder;
    IBaseFilter* m_pMux;
    IBaseFilter* m_pUpstream;   // no reference of its own
    IMediaSeeking* m_pSeeking;
    volatile BYTE m_bAborted;
    CProgressDlg* m_pProgress;
};
