// A video engine for the control's tests: every call the control makes is written to a log
// ("Name(args)"), and its answers come from plain fields the test sets.
#pragma once
#include "VideoEngine.h"
#include <stdexcept>
#include <string>
#include <vector>

class CRecordingEngine : public CVideoEngine
{
public:
    CRecordingEngine() { m_lEngineType = 1; }

    std::vector<std::string> log;
    BOOL valid = TRUE, playing = FALSE, locked = FALSE, realPlay = FALSE, shadow = FALSE;
    bool merge = false, throwOnPosition = false, initResult = true;
    BOOL startRecord = TRUE, stopRecord = TRUE, acceptTrim = TRUE, liveResult = FALSE;
    long position = 0, frames = 100, width = 720, height = 480, firstValid = 0;
    float speed = 1.0f;
    COLORREF key = RGB(0x10, 0x00, 0x10);

    std::string Take()
    {
        std::string all;
        for (const std::string& s : log)
            all += (all.empty() ? "" : " ") + s;
        log.clear();
        return all;
    }

    void BlendViewOn() override { Log("BlendViewOn"); }
    void SetSkipFields(long n) override { Log("SetSkipFields", n); }
    void SetMergeContinousActive(bool on) override { Log("SetMergeContinousActive", on); merge = on; }
    bool GetMergeContinousActive() override { return merge; }
    void SetBlendViewTrans(long t) override { Log("SetBlendViewTrans", t); }
    long GetBlendViewTrans() override { return 40; }
    BOOL BlendViewOff() override { return Log("BlendViewOff"); }
    BOOL BlendFrame() override { return Log("BlendFrame"); }
    void SetShadowViewMix(long m) override { Log("SetShadowViewMix", m); }
    long GetShadowViewMix() override { return 7; }
    BOOL SetShadowViewTabs(long count, long* tabs) override { return Log("SetShadowViewTabs", count, tabs ? tabs[count - 1] : -1); }
    BOOL GetShadowViewEnable() override { return shadow; }
    BOOL SetShadowViewEnable(BOOL on) override { Log("SetShadowViewEnable", on); shadow = on; return TRUE; }
    BOOL ClearShadowView() override { return Log("ClearShadowView"); }
    BOOL MergeShadowView() override { return Log("MergeShadowView"); }
    void DisableCapture() override { Log("DisableCapture"); }
    BOOL EnableSonderic(bool on) override { return Log("EnableSonderic", on); }
    void SetMirror(BOOL on) override { Log("SetMirror", on); }
    void Refresh() override { Log("Refresh"); }
    void SetOverlayBitmap(void*, long w, long h) override { Log("SetOverlayBitmap", w, h); }
    void SetOverlayEnable(BOOL on) override { Log("SetOverlayEnable", on); }
    BOOL SetCaptureFilename(CString) override { return Log("SetCaptureFilename"); }
    BOOL StartRecord() override { Log("StartRecord"); return startRecord; }
    BOOL StopRecord() override { Log("StopRecord"); return stopRecord; }
    BOOL SetCaptureEnable(BOOL t) override { return Log("SetCaptureEnable", t); }
    long GetCapturedFrames() override { return 0; }
    BOOL GetPlayLocked() override { return locked; }
    BOOL SetPlayLocked(BOOL on) override { locked = on; return Log("SetPlayLocked", on); }
    long GetLockOffset() override { return 0; }
    BOOL SetLockOffset(long f) override { return Log("SetLockOffset", f); }
    BOOL RealPlay() override { return Log("RealPlay"); }
    BOOL RealPlayBackwards() override { return Log("RealPlayBackwards"); }
    BOOL SetSuccFramesSource(long count, long* f) override { return Log("SetSuccFramesSource", count, f ? f[count - 1] : -1); }
    BOOL GetSuccFramesEnable() override { return FALSE; }
    BOOL SetSuccFramesEnable(BOOL on) override { return Log("SetSuccFramesEnable", on); }
    BOOL IsGraphBuilt() override { return FALSE; }
    long GetDroppedFrames() override { return 0; }
    CString GetDriverName() override { return "recorder"; }
    CString GetDriverDescription() override { return CString(); }
    COLORREF GetKeyColor() override { return key; }
    BOOL SetSoundThreshold(long p) override { return Log("SetSoundThreshold", p); }
    BOOL SetPreTrigFrames(long f) override { return Log("SetPreTrigFrames", f); }
    BOOL SetPostTrigFrames(long f) override { return Log("SetPostTrigFrames", f); }
    BOOL SetMarkFieldAdjust(long f) override { return Log("SetMarkFieldAdjust", f); }
    long GetPreTrigFrames() override { return 0; }
    long GetPostTrigFrames() override { return 0; }
    long GetSoundMarkFrame() override { return 0; }
    BOOL TriggerCapture() override { return Log("TriggerCapture"); }
    BOOL PlayBackwards() override { return Log("PlayBackwards"); }
    BOOL IsRealPlay() override { return realPlay; }
    float GetPlaySpeed() override { return speed; }
    BOOL SetPlaySpeed(float s) override { speed = s; return Log("SetPlaySpeed"); }
    BOOL SetTrimIn(long f) override { Log("SetTrimIn", f); return acceptTrim; }
    BOOL SetTrimOut(long f) override { Log("SetTrimOut", f); return acceptTrim; }
    BOOL IsPlaying() override { return playing; }
    BOOL Pause() override { return Log("Pause"); }
    BOOL Stop() override { return Log("Stop"); }
    long Seek(long frame) override { Log("Seek", frame); return position = frame * 2; }
    BOOL DrawFrame(CDC* dc, const RECT* r) override { return Log("DrawFrame", r->right, r->bottom); }
    BOOL Play() override { return Log("Play"); }
    BOOL SetLive(BOOL on, BOOL verbose) override { Log("SetLive", on, verbose); return on ? liveResult : TRUE; }
    BOOL CreateCaptureGraph() override { return Log("CreateCaptureGraph"); }
    long GetFieldPosition() override
    {
        if (throwOnPosition)
            throw std::runtime_error("position");
        return position;
    }
    BOOL StepField(long f) override { Log("StepField", f); position += f; return TRUE; }
    long SeekField(long field, BOOL keep, BOOL check) override
    {
        Log("SeekField", field, keep ? 1 : 0, check ? 1 : 0);
        return position = field;
    }
    BOOL IsValid() override { return valid; }
    long GetFrameCount() override { return frames; }
    long GetClipWidth() override { return width; }
    long GetClipHeight() override { return height; }
    BOOL LoadFile(LPCTSTR path) override { return Log(std::string("LoadFile ") + path) && valid; }
    BOOL Init() override { Log("Init"); return initResult; }

private:
    BOOL Log(const std::string& name, long a = LONG_MIN, long b = LONG_MIN, long c = LONG_MIN)
    {
        std::string s = name;
        if (a != LONG_MIN) {
            s += "(" + std::to_string(a);
            if (b != LONG_MIN)
                s += "," + std::to_string(b);
            if (c != LONG_MIN)
                s += "," + std::to_string(c);
            s += ")";
        }
        log.push_back(s);
        return TRUE;
    }
};
