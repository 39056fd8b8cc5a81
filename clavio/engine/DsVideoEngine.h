// The DirectShow engine: owns the playback graph (one clip file, stepped and real-time
// play) and, for the first engine of the process, the camera graph; keeps the settings
// that survive a graph's replacement and turns the control's calls into graph operations.
#pragma once
#include "VideoEngine.h"

class CPlaybackGraph;
class CShadowView;
class CBitmapDIB;
class CCaptureGraph;

class CDsVideoEngine : public CVideoEngine
{
public:
    CDsVideoEngine();
    ~CDsVideoEngine() override;

    bool IsStill() override;
    void BlendViewOn() override;
    void SetSkipFields(long fields) override;
    void SetMergeContinousActive(bool on) override;
    bool GetMergeContinousActive() override;
    void SetBlendViewTrans(long transparency) override;
    long GetBlendViewTrans() override;
    BOOL BlendViewOff() override;
    BOOL BlendFrame() override;
    void SetShadowViewMix(long mix) override;
    long GetShadowViewMix() override;
    BOOL SetShadowViewTabs(long count, long* tabs) override;
    BOOL GetShadowViewEnable() override { return m_bShadowViewOn; }
    BOOL SetShadowViewEnable(BOOL on) override;
    BOOL ClearShadowView() override;
    BOOL MergeShadowView() override;
    void SetCaptureDriverName(CString name) override;
    CString GetCaptureDriverName(short index) override;
    long GetCurCaptureDevice() override { return m_lCurrentDevice; }
    void SetCaptureDevice(long index) override { m_lCurrentDevice = index; }
    long GetNumCaptureDevices() override { return m_lDeviceCount; }
    long GetCaptureDriverCount() override { return m_lDriverCount; }
    bool GetCameraFound() override;
    double GetFrameRate() override;
    long GetFirstValidFrame() override;
    bool IsOverlayCapable() override;
    void DisableCapture() override;
    BOOL EnableSonderic(bool on) override;
    void SetMirror(BOOL on) override;
    BOOL IsCaptureDeviceActive() override;
    void Refresh() override;
    void SetOverlayBitmap(void* bits, long width, long height) override;
    void SetOverlayEnable(BOOL on) override;
    BOOL SetCaptureFilename(CString name) override;
    BOOL StartRecord() override;
    BOOL StopRecord() override;
    BOOL SetCaptureEnable(BOOL triggered) override;
    BOOL ShowDisplayDlg() override;
    long GetCapturedFrames() override;
    BOOL GetPlayLocked() override;
    BOOL SetPlayLocked(BOOL on) override;
    long GetLockOffset() override;
    BOOL SetLockOffset(long fields) override;
    BOOL RealPlay() override;
    BOOL RealPlayBackwards() override;
    BOOL SetSuccFramesSource(long count, long* fields) override;
    BOOL GetSuccFramesEnable() override { return m_bSuccFramesOn; }
    BOOL SetSuccFramesEnable(BOOL on) override;
    BOOL IsGraphBuilt() override;
    long GetDroppedFrames() override;
    CString GetDriverName() override;
    CString GetDriverDescription() override { return CString(); }
    BOOL SetMask(float x, float y, float width, float height) override;
    BOOL SetCropSize(float width, float height) override;
    BOOL SetCropPos(float x, float y) override;
    COLORREF GetKeyColor() override;
    BOOL SetSoundThreshold(long percent) override;
    BOOL SetPreTrigFrames(long frames) override;
    BOOL SetPostTrigFrames(long frames) override;
    BOOL SetMarkFieldAdjust(long fields) override;
    long GetPreTrigFrames() override { return m_lPreFrames; }
    long GetPostTrigFrames() override { return m_lPostFrames; }
    long GetSoundMarkFrame() override;
    BOOL TriggerCapture() override;
    BOOL PlayBackwards() override;
    BOOL IsRealPlay() override { return m_bRealPlay; }
    float GetPlaySpeed() override;
    BOOL SetPlaySpeed(float speed) override;
    BOOL SetTrimIn(long frame) override;
    BOOL SetTrimOut(long frame) override;
    BOOL TrimFile(CString inFile, CString outFile, long trimIn, long trimOut) override;
    bool Transcode(CString inFile, CString outFile) override;
    BOOL IsPlaying() override;
    BOOL SetCrop(float x, float y, float width, float height) override;
    BOOL Pause() override;
    BOOL Stop() override;
    long Seek(long frame) override;
    BOOL DrawFrame(CDC* dc, const RECT* rect) override;
    BOOL Play() override;
    BOOL SetLive(BOOL on, BOOL verbose) override;
    BOOL CreateCaptureGraph() override;
    long GetFieldPosition() override;
    BOOL StepField(long fields) override;
    long SeekField(long field, BOOL keepMode, BOOL overlayCheck) override;
    BOOL IsValid() override;
    long GetFrameCount() override;
    long GetClipWidth() override;
    long GetClipHeight() override;
    BOOL LoadFile(LPCTSTR path) override;
    BOOL CreatePlaybackGraph() override;
    BOOL Init() override;

    CPlaybackGraph* GetPlaybackGraph() const { return m_pPlaybackGraph; }
    CShadowView* GetShadowView() const { return m_pShadowView; }
    CCaptureGraph* GetCaptureGraph() const { return m_pCaptureGraph; }
    LONG_PTR GetVideoFormat() override;
    CDC* GetMemDC() { return &m_MemDC; }

private:
    void ShadowStepHook(long field);
    void ComposeSuccessiveFrames();
    CWnd* OwnerWindow() const { return m_pOwner; }
    BOOL IsCaptureRunning();
    void Post(WPARAM code);

    CString m_strDeviceNames[10];
    CPlaybackGraph* m_pPlaybackGraph;
    CCaptureGraph* m_pCaptureGraph;
    int m_nDeviceIndex;
    int m_nInstance;
    long m_lPreFrames, m_lPostFrames;
    BOOL m_bLocked;
    long m_lLockOffset;
    BOOL m_bSuccFramesOn;
    long m_lSuccCount;
    long m_lSuccSources[8];
    BOOL m_bShadowViewOn;
    long m_lShadowTabCount;
    long m_lShadowTabs[8];
    CShadowView* m_pShadowView;
    long m_lCaptureEnable;
    BOOL m_bOverlayEnable;
    BOOL m_bLive;
    long m_lTrimIn, m_lTrimOut;
    BOOL m_bRealPlay;
    BYTE m_bCameraFound;
    float m_fMask[4];
    float m_fCrop[4];
    CBitmapDIB* m_pViewBitmap;
    CDC m_MemDC;
    HGDIOBJ m_hOldBitmap;
    BOOL m_bMirror;
    BOOL m_bMergeSuppressed;
    long m_lStepCounter;
    long m_lSkipFields;
    BYTE m_bNameChanged;
    long m_lDriverCount;
    CString m_strCaptureDriverName;
    long m_lBuiltDevice;
    long m_lDeviceCount;
    long m_lCurrentDevice;
    COLORREF m_crKeyColor;
};
