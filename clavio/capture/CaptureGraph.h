// The camera graph: live preview of the capture device through the capture builder's tee
// into the video renderer, recording to an AVI file (plain, with the camera's sound, or
// triggered through the replay buffer so that only the frames around a trigger reach the
// file), the sound-level trigger, and the camera going off.
//
// Graph events arrive on the event thread; whatever takes the graph apart or shows a
// message (the ring delivered, the camera lost) is handed to the thread that made the
// object, through a message-only window of its own, so that it never overlaps the owner's
// calls and its message box belongs to the user interface.
#pragma once
#include "GraphManager.h"

struct IReplayBuffer;
struct ILevelTrigger;

class CCaptureGraph : public CGraphManager
{
public:
    CCaptureGraph();
    ~CCaptureGraph() override;

    BOOL OnGraphEvent(long code, LONG_PTR param1, LONG_PTR param2) override;
    HRESULT ShowVideoWindow(BOOL show) override;
    HRESULT Stop(bool report) override;
    HRESULT TearDown() override;
    HRESULT ReleaseInterfaces() override;
    virtual HRESULT BuildPreviewGraph(int cameraIndex);

    // Live picture
    bool SetCrop(float x, float y, float w, float h);
    BOOL SetMask(float x, float y, float w, float h);
    COLORREF GetKeyColor();
    BYTE IsOverlayActive() const { return m_bOverlayInUse; }
    BOOL IsBuilt() const { return m_bBuilt; }
    const BITMAPINFOHEADER* GetBitmapInfoHeader() const { return &m_bih; }
    void OnCameraLost();
    BYTE IsCameraPresent() const { return m_bCameraPresent; }
    void SetCameraPresent(BYTE present) { m_bCameraPresent = present; }

    // Recording
    HRESULT StartRecord(CString fileName);
    HRESULT BeginRecording();
    HRESULT StopRecording();
    HRESULT BuildRecordGraph(BOOL withFile);
    HRESULT EnableReplayBuffer(BOOL on);
    bool TriggerNow();
    bool TriggerAt(REFERENCE_TIME t, int* parity);
    BOOL IsCapturing();
    BOOL SetPreTriggerFrames(int frames) { m_nPreFrames = frames; return TRUE; }
    BOOL SetPostTriggerFrames(int frames) { m_nPostFrames = frames; return TRUE; }
    BOOL SetTriggerOffset(int fields) { m_nTriggerOffset = fields; return TRUE; }
    void EnableSonderic(BYTE on) { m_bSoundTrigger = on; }
    long GetFramesDropped() const { return m_lDropped; }
    long GetFramesNotDropped() const { return m_lDelivered; }
    int GetTriggerParity() const { return m_nTriggerParity; }
    ILevelTrigger* GetLevelTrigger() const { return m_pLevelTrigger; }

    CString m_strVideoDevice;   // in: part of the wanted camera's name; out: the name found
    CString m_strAudioDevice;
    int m_nRecordMode;          // 0: plain recording with sound; 1: triggered
    BYTE m_bTriggered;

protected:
    HRESULT ReadConnectionFormat();
    void ReadCameraFormat();
    void FixPreviewSize();
    void DeliveredOnUiThread();
    void CameraLostOnUiThread();
    static LRESULT CALLBACK HandOverProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Class of the replay buffer filter (a test may name one that is not registered).
    CLSID m_clsidReplayBuffer;

    IBaseFilter* m_pCamera;
    IBaseFilter* m_pAudioDevice;
    IAMStreamConfig* m_pVideoFormat;
    IAMStreamConfig* m_pAudioFormat;
    IBaseFilter* m_pFeeder;   // no reference of its own
    BITMAPINFOHEADER m_bih;
    BYTE m_bCameraPresent;
    BYTE m_bOverlayInUse;
    float m_fMask[4];
    float m_fCrop[4];

    CString m_strFileName;
    int m_nPreFrames, m_nPostFrames, m_nTriggerOffset;
    BYTE m_bSoundTrigger;
    int m_nTriggerParity;
    IBaseFilter* m_pMux;
    IFileSinkFilter* m_pFileSink;
    IBaseFilter* m_pSplitter;
    IBaseFilter* m_pCaptureTee;
    IBaseFilter* m_pSoundFilter;
    ILevelTrigger* m_pLevelTrigger;
    IBaseFilter* m_pSoundRenderer;
    IBaseFilter* m_pReplayFilter;
    IReplayBuffer* m_pReplayBuffer;
    BOOL m_bReplayOn;
    IAMDroppedFrames* m_pDroppedFrames;
    LONG m_lDroppedAtStart, m_lDeliveredAtStart;
    LONG m_lDropped, m_lDelivered;
    BOOL m_bRecordGraphBuilt;
    HWND m_hHandOver;
};
