// The abstract engine behind the video control: the control holds one engine through this
// class and calls nothing else for video work. Positions named "field" count fields
// (frame x 2 + parity); crop and mask rectangles are fractions 0..1 of the 608 x 456
// reference picture; speeds are factors (1.0 normal, negative backwards).
#pragma once
#include <afxwin.h>

// The control's notification message: wParam the code, lParam 0.
#define WM_VIDEO_NOTIFY (WM_USER + 100)

// The video control that owns an engine; the engine needs only its window.
class CVideoWindowCtrl;

class CVideoEngine
{
public:
    CVideoEngine();

    // The slots, in the order every engine shares.
    virtual bool IsStill() { return false; }
    virtual void BlendViewOn() = 0;
    virtual void SetSkipFields(long fields) = 0;
    virtual void SetMergeContinousActive(bool on) = 0;
    virtual bool GetMergeContinousActive() = 0;
    virtual void SetBlendViewTrans(long transparency) = 0;
    virtual long GetBlendViewTrans() = 0;
    virtual BOOL BlendViewOff() = 0;
    virtual BOOL BlendFrame() = 0;
    virtual void SetShadowViewMix(long mix) = 0;
    virtual long GetShadowViewMix() = 0;
    virtual BOOL SetShadowViewTabs(long count, long* tabs) = 0;
    virtual BOOL GetShadowViewEnable() = 0;
    virtual BOOL SetShadowViewEnable(BOOL on) = 0;
    virtual BOOL ClearShadowView() = 0;
    virtual BOOL MergeShadowView() = 0;
    virtual void SetCaptureDriverName(CString name) {}
    virtual CString GetCaptureDriverName(short index) { return CString(); }
    virtual long GetCurCaptureDevice() { return 0; }
    virtual void SetCaptureDevice(long index) {}
    virtual long GetNumCaptureDevices() { return 1; }
    virtual long GetCaptureDriverCount() { return 1; }
    virtual bool GetCameraFound() { return false; }
    virtual bool Transcode(CString inFile, CString outFile) { return false; }
    virtual long GetFirstValidFrame() { return 0; }
    virtual double GetFrameRate() { return 29.97; }
    virtual bool IsOverlayCapable() { return true; }
    virtual void DisableCapture() = 0;
    virtual BOOL EnableSonderic(bool on) = 0;
    virtual BOOL TrimFile(CString inFile, CString outFile, long trimIn, long trimOut);
    virtual void SetMirror(BOOL on) {}
    virtual long GetDriverType() { return m_lEngineType; }
    virtual BOOL IsCaptureDeviceActive() { return TRUE; }
    virtual void Refresh() {}
    virtual void SetOverlayBitmap(void* bits, long width, long height) {}
    virtual void SetOverlayEnable(BOOL on) {}
    virtual BOOL SetCaptureFilename(CString name) = 0;
    virtual BOOL StartRecord() = 0;
    virtual BOOL StopRecord() = 0;
    virtual BOOL SetCaptureEnable(BOOL triggered) = 0;
    // The address of a format block (pointer-wide: an address does not fit a LONG here).
    virtual LONG_PTR GetVideoFormat() { return 0; }
    virtual BOOL ShowDisplayDlg() { return FALSE; }
    virtual BOOL ShowFormatDlg() { return FALSE; }
    virtual BOOL ShowSourceDlg() { return FALSE; }
    virtual long GetCapturedFrames() = 0;
    virtual BOOL GetPlayLocked() = 0;
    virtual BOOL SetPlayLocked(BOOL on) = 0;
    virtual long GetLockOffset() = 0;
    virtual BOOL SetLockOffset(long fields) = 0;
    virtual BOOL RealPlay() = 0;
    virtual BOOL RealPlayBackwards() = 0;
    virtual BOOL SetSuccFramesSource(long count, long* fields) = 0;
    virtual BOOL GetSuccFramesEnable() = 0;
    virtual BOOL SetSuccFramesEnable(BOOL on) = 0;
    virtual BOOL IsGraphBuilt() = 0;
    virtual long GetDroppedFrames() = 0;
    virtual CString GetDriverName() = 0;
    virtual CString GetDriverDescription() = 0;
    virtual BOOL SetMask(float x, float y, float width, float height) { return FALSE; }
    virtual BOOL SetCropSize(float width, float height) { return FALSE; }
    virtual BOOL SetCropPos(float x, float y) { return FALSE; }
    virtual COLORREF GetKeyColor() = 0;
    virtual BOOL SetSoundThreshold(long percent) = 0;
    virtual BOOL SetPreTrigFrames(long frames) = 0;
    virtual BOOL SetPostTrigFrames(long frames) = 0;
    virtual BOOL SetMarkFieldAdjust(long fields) = 0;
    virtual long GetPreTrigFrames() = 0;
    virtual long GetPostTrigFrames() = 0;
    virtual long GetSoundMarkFrame() = 0;
    virtual BOOL TriggerCapture() = 0;
    virtual BOOL PlayBackwards() = 0;
    virtual BOOL IsRealPlay() { return FALSE; }
    virtual float GetPlaySpeed() = 0;
    virtual BOOL SetPlaySpeed(float speed) = 0;
    virtual BOOL SetTrimIn(long frame) = 0;
    virtual BOOL SetTrimOut(long frame) = 0;
    virtual BOOL IsPlaying() = 0;
    virtual BOOL SetCrop(float x, float y, float width, float height) { return FALSE; }
    virtual BOOL Pause() = 0;
    virtual BOOL Stop() = 0;
    virtual long Seek(long frame) { return 0; }
    virtual BOOL DrawFrame(CDC* dc, const RECT* rect) { return FALSE; }
    virtual BOOL Play() = 0;
    virtual BOOL SetLive(BOOL on, BOOL verbose) = 0;
    virtual BOOL CreateCaptureGraph() = 0;
    virtual long GetFieldPosition() = 0;
    virtual BOOL StepField(long fields) = 0;
    virtual long SeekField(long field, BOOL keepMode, BOOL overlayCheck) = 0;
    virtual BOOL IsValid() = 0;
    virtual long GetFrameCount() = 0;
    virtual long GetClipWidth() = 0;
    virtual long GetClipHeight() = 0;
    virtual BOOL LoadFile(LPCTSTR path) = 0;
    virtual BOOL CreatePlaybackGraph() { return TRUE; }
    virtual BOOL Init() = 0;
    virtual ~CVideoEngine() {}
    virtual void SetOwner(CWnd* owner) { m_pOwner = owner; }

    // Keeps a normalised rectangle inside the reference picture: every value ends in
    // [0, 1] with x + width and y + height at most 1; a value that is not a number takes
    // its default (0 for the origin, 1 for the size).
    static void ClampRect(float* x, float* y, float* width, float* height);

protected:
    CWnd* m_pOwner;   // the control's window
    long m_lEngineType;   // 1 DirectShow, 0 Video for Windows
};
