// The graph that plays one clip file: source -> DV decoder -> colour converter ->
// Deinterlacer -> video renderer in stepped mode (no clock; every position is a field:
// a frame and the Deinterlacer's choice of one of its two fields), or source -> decoder
// -> renderer in real-time mode. Stepped play runs on a thread of its own, paced by a
// one-shot multimedia timer; two graphs (the process's first two) can step in lock-step
// at a field offset, and blend their pictures.
#pragma once
#include "GraphManager.h"
#include "ideinterlace.h"
#include "step_timing.h"

class CShadowView;
class CPlaybackGraph;

// The stepping thread of one playback graph.
class CDsVRStreamThread : public CWinThread
{
    DECLARE_DYNCREATE(CDsVRStreamThread)
public:
    CDsVRStreamThread() : m_pGraph(NULL), m_bStop(0) {}
    BOOL InitInstance() override { return TRUE; }
    int Run() override;

    CPlaybackGraph* m_pGraph;
    volatile LONG m_bStop;
};

class CPlaybackGraph : public CGraphManager
{
    friend class CDsVRStreamThread;
    friend class PartnerRef;
public:
    // index: the entry of the process-wide pair the graph takes (0 or 1), or -1 for the
    // number of live playback graphs.
    explicit CPlaybackGraph(int index = -1);
    ~CPlaybackGraph() override;

    BOOL OnGraphEvent(long code, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT Stop(bool report) override;
    HRESULT RunFrom(long stopFrame) override;
    HRESULT BuildGraph() override { return OpenFile(); }
    HRESULT TearDown() override;
    HRESULT ReleaseInterfaces() override { return ReleaseRenderer(); }
    virtual HRESULT PausePlay();
    virtual HRESULT PlayForward();
    virtual HRESULT SeekFrame(int frame, bool keepMode, bool overlayCheck);

    HRESULT LoadFile(CString fileName);
    virtual HRESULT OpenFile();
    HRESULT ReleaseRenderer();
    HRESULT SetVideoOwner(CWnd* owner);
    HRESULT SetDecoderSize(BOOL fullSize);
    HRESULT EnableDeinterlacer(BOOL on);
    void SetRealPlayMode(BOOL real);
    BOOL IsRealPlayMode() const { return m_bRealMode; }

    HRESULT GetFieldPosition(int* field);
    int GetFieldPosition();
    HRESULT SetField(int parity);
    int GetParity() const { return m_nParity; }
    HRESULT StepFields(int fields);
    HRESULT StepFrames(int frames);
    HRESULT MoveFields(int fields);
    HRESULT SeekNotBeforeTrimIn(int frame);
    HRESULT SetTrimIn(int frame);
    HRESULT SetTrimOut(int frame);
    int GetTrimIn() const { return m_nTrimIn; }
    int GetTrimOut() const { return m_nTrimOut; }
    double GetFrameRate() const { return m_dFrameRate; }
    float GetFieldPeriod() const { return m_fFieldPeriod; }
    int GetFirstValidFrame() const { return 0; }
    BOOL IsStill() const { return m_nState == StatePaused || m_nState == StatePositioned; }
    BOOL IsFileOpened() const { return m_bFileOpened; }
    BOOL IsPAL() const { return m_bPAL; }
    int GetFrameWidth() const { return m_nFrameWidth; }
    int GetFrameHeight() const { return m_nFrameHeight; }
    int GetIndex() const { return m_nIndex; }
    void ClearPlaying() { m_bPlaying = FALSE; }
    HRESULT RealPlay();
    HRESULT RealPlayTo(int stopFrame);

    // Deinterlacer pass-through.
    HRESULT EnableDeinterlace(BOOL on);
    HRESULT SetOverlayEnable(BOOL on);
    HRESULT SetOverlayBitmap(void* bits, int width, int height, COLORREF key);
    HRESULT SetCrop(float x, float y, float w, float h);
    HRESULT GetCropOrigin(float* x, float* y);
    HRESULT GetCropSize(float* w, float* h);
    HRESULT SetMask(float x, float y, float w, float h);
    HRESULT SetMirror(BOOL on);
    HRESULT SetOutputDC(CDC* dc, BOOL scale);
    IDeinterlace* GetDeinterlace() const { return m_pDeinterlace; }

    // Stepped play, speeds and lock-step.
    HRESULT PlayBackward();
    HRESULT SetSpeed(float speed);   // E_INVALIDARG for 0 and for a speed that is no number
    double GetPlaySpeed() const { return m_nDirection * m_fSpeed; }
    int GetDirection() const { return m_nDirection; }
    BOOL IsPlaying() const { return m_bSteppedPlayActive || m_nState == StateRunning; }
    unsigned CurrentStepDelay() const;
    BOOL SetLockOffset(int fields);
    int GetLockOffset() const { return m_nLockOffset; }
    BOOL SetPlayLocked(BYTE on);
    static BYTE IsPlayLocked();
    BYTE IsLockStepAtEnd();
    // Timers started by this graph (each tick starts one), for the owner's statistics.
    LONG GetTimersStarted() const { return m_nTimersStarted; }

    void SetShadowViewActive(BYTE on);
    void SetShadowView(CShadowView* view);
    void SetSkipFields(int fields);   // below 0 taken as 0
    void SetMergeContinuous(BYTE on);
    BYTE GetMergeContinuous() const { return m_bMergeContinuous; }
    int GetSkipFields() const { return m_nSkipFields; }

    void BeginBlend() { m_bBlendView = TRUE; }
    BYTE IsBlendView() const { return m_bBlendView; }
    void SetBlendPosition(int position) { m_nBlendPosition = position; }
    int GetBlendPosition() const { return m_nBlendPosition; }
    void BlendWithOtherClip(CDC* output);
    HRESULT EndBlend();

    // The current picture through the Deinterlacer into a DC (bounded wait).
    int GrabFrame(CDC* target, const RECT* rect);
    int GrabFrameToDC(CDC* target, const RECT* rect);
    // The current picture as frame width x height 32-bit pixels, top line first.
    BOOL GrabToBuffer(int field, void* pixels);

    // The process-wide pair: the graph of entry 0 or 1, or null.
    static CPlaybackGraph* TableEntry(int index);

protected:
    void WaitForPlay();
    HRESULT AdvanceField();
    void BlendPlayTick();
    void InitLockStep();
    void StartTimer();
    void KillTimer();
    void StopSteppingLocked(bool clearInitialised);
    void PlaceRealTimeWindow();
    // Positions the paused graph on a frame and remembers it as the frame shown.
    HRESULT PositionOn(int frame);
    IBaseFilter* RendererFeeder();
    void RemoveStepFilters();
    void ReleaseIfRemoved(IBaseFilter** filter);

    int m_nIndex;
    CString m_strFileName;
    BOOL m_bFileOpened;
    IBaseFilter* m_pSource;
    IBaseFilter* m_pFeeder;
    IBaseFilter* m_pDVDecoder;
    IBaseFilter* m_pDeinterlacer;
    IBaseFilter* m_pColourConverter;
    IDeinterlace* m_pDeinterlace;
    BOOL m_bDeinterlacerOn;
    BOOL m_bRealMode;
    int m_nParity;
    CWnd* m_pOwnerWnd;
    volatile BOOL m_bPlaying;
    int m_nTrimIn, m_nTrimOut;
    float m_fFieldPeriod;
    float m_fSpeed;
    int m_nDirection;
    volatile BYTE m_bSteppedPlayActive;
    BYTE m_bOverlayEnabled;
    void* m_pOverlayBits;
    int m_nOverlayWidth, m_nOverlayHeight;
    COLORREF m_crOverlayKey;
    float m_fMask[4];
    float m_fCrop[4];
    CDC m_MemDC;
    CDsVRStreamThread* m_pStreamThread;
    HANDLE m_hTickEvent, m_hPlayEvent, m_hModeEvent, m_hStopEvent;
    UINT m_nTimerId;
    // A periodic timer that does nothing: while it exists the system's timer thread stays,
    // instead of ending after every one-shot tick and being made again for the next.
    volatile LONG m_nKeepAliveTimerId;
    volatile LONG m_nTimersStarted;
    StepPacer m_Pacer;
    CCriticalSection m_StepLock;

    int m_nLockOffset;
    volatile BYTE m_bAtEnd;
    int m_nTickCount;
    BYTE m_bShadowViewActive;
    CShadowView* m_pShadowView;
    int m_nSkipFields;
    BYTE m_bMergeContinuous;
    volatile BYTE m_bBlendView;
    int m_nBlendPosition;
    CDC* m_pBlendOutputDC;
    HBITMAP m_hBlendOutput;
    HGDIOBJ m_hBlendOld;
    volatile LONG m_nUsers;   // other graphs working on this one through the pair
    // The frame the stepped graph was last positioned on (-1 while it runs or before the
    // first positioning): the graph's own position may run ahead of the picture shown.
    volatile int m_nPositionedFrame;
    bool m_bDestroying;
};
