// The program's side of the video control: hosts it as a child window and calls its
// dispatch members by their fixed DISPIDs. Without a control every call answers failure
// (FALSE, 0 or an empty text) instead of raising a dispatch exception.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>

class CVideoWindow : public CWnd
{
    DECLARE_DYNCREATE(CVideoWindow)

public:
    static CLSID const& GetClsid();

    // The control as a child window; FALSE (and no window) when it could not be created.
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID,
                CCreateContext* pContext = NULL) override;
    BOOL CreateControlWindow(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // A control is hosted and answers calls.
    BOOL HasControl();

    // Properties (DISPIDs 1 to 24).
    LONG GetFrameCount();
    void SetFrameCount(LONG value);
    LONG GetFieldPosition();
    void SetFieldPosition(LONG value);
    BOOL GetOverlayEnable();
    void SetOverlayEnable(BOOL value);
    BOOL GetCaptureEnable();
    void SetCaptureEnable(BOOL value);
    LONG GetTrimIn();
    void SetTrimIn(LONG value);
    LONG GetTrimOut();
    void SetTrimOut(LONG value);
    BOOL GetAutoReplay();
    void SetAutoReplay(BOOL value);
    BOOL GetAutoRewind();
    void SetAutoRewind(BOOL value);
    LONG GetSoundMarkFrame();
    void SetSoundMarkFrame(LONG value);
    LONG GetSoundThreshold();
    void SetSoundThreshold(LONG value);
    BOOL GetOverlayChanged();
    void SetOverlayChanged(BOOL value);
    LONG GetPreTrigFrames();
    void SetPreTrigFrames(LONG value);
    LONG GetPostTrigFrames();
    void SetPostTrigFrames(LONG value);
    LONG GetCapturedFrames();
    void SetCapturedFrames(LONG value);
    BOOL GetMirror();
    void SetMirror(BOOL value);
    BOOL GetPlayLocked();
    void SetPlayLocked(BOOL value);
    LONG GetLockOffset();
    void SetLockOffset(LONG value);
    float GetPlaySpeed();
    void SetPlaySpeed(float value);
    BOOL GetSuccFramesEnable();
    void SetSuccFramesEnable(BOOL value);
    BOOL GetShadowViewEnable();
    void SetShadowViewEnable(BOOL value);
    LONG GetShadowViewMix();
    void SetShadowViewMix(LONG value);
    BOOL GetBlendViewEnable();
    void SetBlendViewEnable(BOOL value);
    LONG GetBlendViewTrans();
    void SetBlendViewTrans(LONG value);
    BOOL GetMergeContinousActive();
    void SetMergeContinousActive(BOOL value);

    // Methods (DISPIDs 25 to 82).
    BOOL StepField(LONG fields);
    LONG Seek(LONG frame);
    BOOL Step(LONG frames);
    LONG SeekField(LONG field);
    BOOL Play();
    BOOL Stop();
    BOOL Pause();
    BOOL SetCrop(float x, float y, float w, float h);
    BOOL Record();
    BOOL SetCaptureFilename(LPCTSTR path);
    BOOL PlayBackwards();
    BOOL TriggerCapture();
    BOOL LoadAVIFile(LPCTSTR path, LONG field);
    BOOL IsPlaying();
    BOOL ShowDisplayDlg();
    BOOL ShowFormatDlg();
    BOOL ShowSourceDlg();
    BOOL IsValid();
    // The addresses of a CDC object and of a RECT of this process.
    BOOL Draw(LONG* pDC, LONG* pRect);
    BOOL SetMask(float x, float y, float w, float h);
    BOOL SetCropPos(float x, float y);
    BOOL SetCropSize(float w, float h);
    BOOL RealPlay();
    BOOL RealPlayBackwards();
    BOOL SetSuccFramesSource(LONG count, LONG* fields);
    // The address of the capture format's BITMAPINFOHEADER, 0 without one.
    LONG_PTR GetVideoFormat();
    LONG GetKeyColor();
    LONG GetDroppedFrames();
    CString GetDriverName();
    CString GetDriverDescription();
    LONG GetDriverType();
    BOOL IsCaptureDeviceActive();
    BOOL TrimFile(LPCTSTR source, LPCTSTR target, LONG start, LONG end);
    BOOL EnableSonderic(BOOL enable);
    void DisableCapture();
    BOOL IsOverlayCapable();
    double GetFrameRate();
    LONG GetFirstValidFrame();
    BOOL Transcode(LPCTSTR source, LPCTSTR target);
    BOOL SetMarkFieldAdjust(LONG fields);
    void SetLastKnownGoodCamera(short camera);
    short GetLastKnownGoodCamera();
    void SetLiveVideoMode(BOOL live, BOOL keep);
    BOOL GetLiveVideoMode();
    short GetNumCaptureDevices();
    void SetCaptureDevice(short device);
    short GetCurCaptureDevice();
    short GetOS();
    CString GetCaptureDriverName(short index);
    void SetCaptureDriverName(LPCTSTR name);
    short GetCaptureDriverCount();
    BOOL SetShadowViewTabs(LONG count, LONG* fields);
    BOOL ClearShadowView();
    BOOL MergeShadowView();
    LONG GetClipWidth();
    LONG GetClipHeight();
    void BlendFrame();
    void SetSkipFields(short fields);
    void AboutBox();
};
