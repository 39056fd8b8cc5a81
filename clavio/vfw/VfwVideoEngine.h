// The engine on Video for Windows: clips played by the AVI stream player, the camera through
// the capture window, trimming by the AVI trimmer. Nothing in the program creates it (the
// control always makes the DirectShow engine); its blend, shadow and field-seek slots fail.
#pragma once
#include "VideoEngine.h"
#include "AviStream.h"
#include "CaptureWnd.h"

class CVfwVideoEngine : public CVideoEngine
{
public:
    CVfwVideoEngine();
    ~CVfwVideoEngine() override;

    // Not implemented by this engine.
    void BlendViewOn() override {}
    void SetSkipFields(long) override {}
    void SetMergeContinousActive(bool) override {}
    bool GetMergeContinousActive() override { return false; }
    void SetBlendViewTrans(long) override {}
    long GetBlendViewTrans() override { return 0; }
    BOOL BlendViewOff() override { return FALSE; }
    BOOL BlendFrame() override { return FALSE; }
    void SetShadowViewMix(long) override {}
    long GetShadowViewMix() override { return 0; }
    BOOL SetShadowViewTabs(long, long*) override { return FALSE; }
    BOOL GetShadowViewEnable() override { return FALSE; }
    BOOL SetShadowViewEnable(BOOL) override { return FALSE; }
    BOOL ClearShadowView() override { return FALSE; }
    BOOL MergeShadowView() override { return FALSE; }
    long SeekField(long, BOOL, BOOL) override { return 0; }

    void DisableCapture() override {}
    BOOL EnableSonderic(bool) override { return 0; }
    BOOL SetMarkFieldAdjust(long) override { return 1; }

    // The player.
    BOOL LoadFile(LPCTSTR path) override { return m_player.Open(path); }
    BOOL Play() override { return Playing(&CAviStream::Play); }
    BOOL PlayBackwards() override { return Playing(&CAviStream::PlayBackwards); }
    BOOL RealPlay() override { return Playing(&CAviStream::RealPlay); }
    BOOL RealPlayBackwards() override { return Playing(&CAviStream::RealPlayBackwards); }
    BOOL Pause() override { return Playing(&CAviStream::Pause); }
    BOOL Stop() override { return Playing(&CAviStream::Stop); }
    long Seek(long frame) override;
    BOOL DrawFrame(CDC* dc, const RECT* rect) override;
    BOOL IsPlaying() override { return m_player.IsPlaying(); }
    BOOL IsRealPlay() override { return m_player.IsRealPlay(); }
    float GetPlaySpeed() override { return m_player.GetRate(); }
    BOOL SetPlaySpeed(float speed) override { return m_player.SetRate(speed); }
    long GetFieldPosition() override { return m_player.GetFieldPosition(); }
    BOOL StepField(long fields) override;
    BOOL IsValid() override { return m_player.IsOpen(); }
    long GetFrameCount() override;
    long GetClipWidth() override { return m_player.GetClipWidth(); }
    long GetClipHeight() override { return m_player.GetClipHeight(); }
    BOOL GetPlayLocked() override { return CAviStream::IsLocked(); }
    BOOL SetPlayLocked(BOOL on) override;
    long GetLockOffset() override { return m_player.GetLockOffset(); }
    BOOL SetLockOffset(long fields) override;
    BOOL SetSuccFramesSource(long count, long* frames) override;
    BOOL GetSuccFramesEnable() override { return m_player.GetSuccFramesEnable(); }
    BOOL SetSuccFramesEnable(BOOL on) override;
    BOOL SetMask(float x, float y, float width, float height) override;
    COLORREF GetKeyColor() override { return m_capture.GetKeyColor(); }
    BOOL SetTrimIn(long frame) override;
    BOOL SetTrimOut(long frame) override;
    BOOL SetCrop(float x, float y, float width, float height) override;
    BOOL SetCropSize(float width, float height) override;
    BOOL SetCropPos(float x, float y) override;

    // The capture window.
    BOOL CreateCaptureGraph() override;
    BOOL SetLive(BOOL on, BOOL) override { return m_capture.SetLive(on); }
    BOOL SetCaptureEnable(BOOL triggered) override;
    BOOL SetCaptureFilename(CString name) override { return m_capture.SetCaptureFile(name); }
    BOOL StartRecord() override { return m_capture.StartRecord(); }
    BOOL StopRecord() override;
    BOOL TriggerCapture() override { return m_capture.TriggerNow(); }
    LONG_PTR GetVideoFormat() override { return LONG_PTR(m_capture.GetVideoFormat()); }
    BOOL ShowDisplayDlg() override;
    BOOL ShowFormatDlg() override;
    BOOL ShowSourceDlg() override;
    long GetCapturedFrames() override { return m_capture.GetCapturedFrames(); }
    long GetDroppedFrames() override { return m_capture.GetDroppedFrames(); }
    CString GetDriverName() override { return m_capture.GetDriverName(); }
    CString GetDriverDescription() override { return m_capture.GetDriverVersion(); }
    BOOL SetSoundThreshold(long percent) override;
    BOOL SetPreTrigFrames(long frames) override;
    BOOL SetPostTrigFrames(long frames) override;
    long GetPreTrigFrames() override { return m_capture.GetPreTrigFrames(); }
    long GetPostTrigFrames() override { return m_capture.GetPostTrigFrames(); }
    BOOL IsGraphBuilt() override { return m_capture.IsConnected(); }
    long GetSoundMarkFrame() override;

    BOOL Init() override;
    void SetOwner(CWnd* owner) override;

private:
    BOOL Playing(void (CAviStream::*action)());
    BOOL ApplyCrop();

    CAviVideoStream m_player;
    CCaptureWnd m_capture;
    float m_fCrop[4];
};
