// Cuts a range of frames out of a clip file into a new AVI file without re-encoding: a
// timeline of one group per stream of the file (one track, one source spanning the range),
// turned into the graph's front end by the smart render engine, whose group pins are
// written through the AVI multiplexer. The range is first to end frame, end exclusive.
//
// The timeline is built on a worker thread while the caller keeps its messages flowing
// (the build may show message boxes owned by the caller's windows); the copy then runs
// with a progress window that offers Cancel.
#pragma once
#include "GraphManager.h"

class CProgressDlg;
struct IAMTimeline;
struct IAMTimelineObj;
struct IRenderEngine;
struct ICaptureGraphBuilder2;

class CTrimGraph : public CGraphManager
{
public:
    explicit CTrimGraph(CWnd* parent = NULL);
    ~CTrimGraph() override;

    BOOL OnGraphEvent(long code, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT BuildGraph() override { return BuildTimeline(); }
    HRESULT TearDown() override;
    HRESULT BuildTimeline();

    void SetSource(CString path) { m_strSource = path; }
    void SetDestination(CString path) { m_strDestination = path; }
    void SetFirstFrame(int frame) { m_nFirstFrame = frame; }
    void SetEndFrame(int frame) { m_nEndFrame = frame; }

    // 0 when the file was written, 1 when the trim failed or was cancelled.
    using CGraphManager::Run;
    int Run();

    CProgressDlg* GetProgressDialog() const { return m_pProgress; }

    enum { kMaxStreams = 2 };

protected:
    static UINT BuildThreadProc(LPVOID param);

    CString m_strSource, m_strDestination;
    int m_nFirstFrame, m_nEndFrame;
    IAMTimeline* m_pTimeline;
    IRenderEngine* m_pRenderEngine;
    ICaptureGraphBuilder2* m_pBuilder;
    IBaseFilter* m_pMux;
    IAMTimelineObj* m_pGroups[kMaxStreams];
    IAMTimelineObj* m_pObjects[kMaxStreams];
    volatile BYTE m_bBuildSucceeded;
    volatile BYTE m_bDone;
    volatile BYTE m_bAborted;
    CProgressDlg* m_pProgress;
    CWnd* m_pParent;
};
