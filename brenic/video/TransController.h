// The record and replay controller: starts recordings on the capture channel, names the
// capture files, turns each finished capture into a clip of the clip panel and then shows,
// replays, holds or re-arms as the after-record mode says.
#pragma once
#include <afx.h>

class CClip;

class CTransController
{
public:
    enum { LIVE = 0, RECORDING = 1, PLAYBACK = 2, AUTO_REPEAT = 3, CUE_HOLD = 4 };

    CTransController();
    virtual ~CTransController();

    void StartRecording();
    void OnVideoStateChanged(LONG code);
    void OnTimer();
    void EnterPlaybackMode(BOOL noAutoRewind, BOOL keepLive);
    BOOL IsRecording() const { return m_nState == RECORDING; }
    int GetState() const { return m_nState; }
    void SetState(int state) { m_nState = state; }
    CString GetCaptureFile() const { return m_strCaptureFile; }
    CClip* GetNewClip() const { return m_pNewClip; }
    int GetRepeatCount() const { return m_nRepeatCount; }
    int GetCueTicks() const { return m_nCueTicks; }

    // A new capture file in the folder: "CAP" + lower-case hexadecimal + ".avi" on the
    // systems that answer 1 or 5, else the temporary name's stem + ".avi". Gives up after
    // a few tries; temporary files it made are removed.
    static BOOL MakeCaptureFileName(LPCTSTR folder, short os, CString* path);
    BOOL MakeCaptureFileName();

protected:
    void CreateClipFromCapture();
    void AddCaptureToClipPanel();
    void ShowCapturedClip();
    void StartAutoRepeat();
    void StartCueHold();

private:
    int m_nRepeatCount;
    CString m_strCaptureFile;
    int m_nState;
    BOOL m_bRecordAuto;
    int m_nReplayMode;
    int m_nRepeatTarget;
    int m_nCueTicks;
    int m_nCueDelay;
    CClip* m_pNewClip;
};
