#include "TransController.h"
#include <afxwin.h>
#include <stdlib.h>
#include "AppConfig.h"
#include "Clavio.h"
#include "Clip.h"
#include "Globals.h"
#include "VideoWindow.h"
#include "../frame/ClipBar.h"

CTransController::CTransController()
    : m_nRepeatCount(0), m_nState(LIVE), m_bRecordAuto(FALSE), m_nReplayMode(0),
      m_nRepeatTarget(0), m_nCueTicks(0), m_nCueDelay(0), m_pNewClip(NULL)
{
}

CTransController::~CTransController()
{
}

void CTransController::EnterPlaybackMode(BOOL noAutoRewind, BOOL keepLive)
{
    CClavio* clavio = g_pClavio;
    if (!clavio || !g_pAppConfig)
        return;
    clavio->SetPlaySpeed(g_pAppConfig->GetPlaySpeed());
    CVideoWindow* c0 = clavio->GetChannel0();
    if (!keepLive && c0 && c0->GetLiveVideoMode()) {
        clavio->SetLiveInput(FALSE, FALSE);
        clavio->NotifyVideoStateChanged();
    }
    BOOL replay;
    if (clavio->IsLocked()) {
        clavio->SetLockedAutoRewind(g_pAppConfig->GetAutoRewind());
        replay = g_pAppConfig->GetAutoReplay();
    } else if (noAutoRewind) {
        clavio->SetAutoRewind(FALSE);
        replay = FALSE;
    } else {
        clavio->SetAutoRewind(g_pAppConfig->GetAutoRewind());
        replay = g_pAppConfig->GetAutoReplay();
    }
    clavio->SetAutoReplay(replay);
    m_nState = PLAYBACK;
}

BOOL CTransController::MakeCaptureFileName(LPCTSTR folder, short os, CString* path)
{
    // A name taken by something else makes the rename fail: a few tries, each leaving no
    // temporary file behind.
    for (int attempt = 0; attempt < 10; ++attempt) {
        char temp[MAX_PATH];
        if (!::GetTempFileNameA(folder, "CAP", 0, temp))
            return FALSE;
        CString target;
        if (os == 1 || os == 5) {
            target.Format("%s\\CAP%x.avi", folder, rand());
        } else {
            target = temp;
            target = target.Left(target.GetLength() - 4) + ".avi";
        }
        if (::MoveFileA(temp, target)) {
            *path = target;
            return TRUE;
        }
        ::DeleteFileA(temp);
    }
    return FALSE;
}

BOOL CTransController::MakeCaptureFileName()
{
    if (!g_pAppConfig || !g_pClavio || !g_pClavio->GetChannel0())
        return FALSE;
    CString folder = g_pAppConfig->GetCaptureDirectory();
    return MakeCaptureFileName(folder, g_pClavio->GetChannel0()->GetOS(), &m_strCaptureFile);
}

void CTransController::StartRecording()
{
    CClavio* clavio = g_pClavio;
    if (m_nState == RECORDING || !clavio || !g_pAppConfig)
        return;
    if (!MakeCaptureFileName())
        return;
    CWaitCursor wait;
    clavio->RefreshDrawing(TRUE);
    clavio->LeaveSuccessiveFramesView();
    clavio->FinishDrawing();
    if (clavio->GetCurrentChannel() != 0)
        clavio->SelectFirstChannel();
    BOOL automatic = g_pAppConfig->IsRecordAuto();
    if (automatic && !clavio->IsSingleView()) {
        clavio->SetSingleView();
        clavio->RedrawVideo();
    }
    CVideoWindow* c0 = clavio->GetChannel0();
    if (!c0->GetLiveVideoMode())
        clavio->SetLiveInput(TRUE, FALSE);
    if (!c0->IsCaptureDeviceActive()) {
        ::DeleteFileA(m_strCaptureFile);
        AfxMessageBox("Cannot Record.  Please make sure the video camera is connected and "
                      "turned on");
        clavio->SetVideoState(201);
        EnterPlaybackMode(FALSE, FALSE);
        clavio->NotifyVideoStateChanged();
        return;
    }
    if (clavio->IsSplitView())
        clavio->SetComparisonView(FALSE);
    else
        clavio->SetSingleView();
    m_bRecordAuto = automatic;
    m_nState = RECORDING;
    m_nReplayMode = g_pAppConfig->GetReplayMode();
    CVideoWindow* c = clavio->GetActiveVideoWindow();
    c->EnableSonderic(FALSE);
    c->SetPreTrigFrames(g_pAppConfig->GetPreTrigFrames());
    c->SetPostTrigFrames(g_pAppConfig->GetPostTrigFrames());
    c->SetMarkFieldAdjust(g_pAppConfig->GetSoundTrigAdjust());
    c->SetCaptureEnable(m_bRecordAuto);
    c->SetCaptureFilename(m_strCaptureFile);
    c->SetSoundThreshold(g_pAppConfig->GetSoundThreshold());
    if (m_bRecordAuto)
        clavio->SetCaptureArmed(TRUE);
    c->Record();
}

void CTransController::OnVideoStateChanged(LONG code)
{
    CClavio* clavio = g_pClavio;
    if (!clavio || !g_pAppConfig)
        return;
    CVideoWindow* c0 = clavio->GetChannel0();
    if (code == 201) {
        if (!m_strCaptureFile.IsEmpty())
            ::DeleteFileA(m_strCaptureFile);
        if (c0->IsCaptureDeviceActive()) {
            if (clavio->GetActiveVideoWindow()->IsValid()) {
                clavio->SetLiveInput(FALSE, FALSE);
                EnterPlaybackMode(FALSE, FALSE);
            } else {
                m_nState = LIVE;
                clavio->SetLiveInput(TRUE, FALSE);
            }
        }
        if (clavio->GetRestartRecording()) {
            clavio->SetRestartRecording(FALSE);
            StartRecording();
        }
    } else if (code == 200) {
        if (c0->GetCapturedFrames() <= 0) {
            // A capture without frames is no clip: handled as a failed recording.
            OnVideoStateChanged(201);
            return;
        }
        CreateClipFromCapture();
        clavio->CopyDrawing(TRUE, m_pNewClip);
        AddCaptureToClipPanel();
        if (m_nReplayMode == 2 && m_bRecordAuto) {
            int lock = clavio->GetLockMode();
            ShowCapturedClip();
            clavio->SetLockMode(lock);
            EnterPlaybackMode(TRUE, FALSE);
            StartAutoRepeat();
        } else if (m_nReplayMode == 1) {
            ShowCapturedClip();
            if (m_bRecordAuto)
                StartCueHold();
            else
                EnterPlaybackMode(FALSE, FALSE);
        } else if (m_bRecordAuto) {
            m_nState = PLAYBACK;
            StartRecording();
        } else {
            m_nState = LIVE;
            clavio->SetLiveInput(TRUE, FALSE);
        }
    } else if (code == 100) {
        BOOL fromLeader = clavio->GetLeadingChannel() == clavio->GetLastStateChannel();
        if (m_nState == PLAYBACK && clavio->IsLocked() &&
            (g_pAppConfig->GetAutoRewind() || g_pAppConfig->GetAutoReplay()) && fromLeader) {
            CVideoWindow* other = clavio->GetChannel(clavio->GetOtherChannelIndex());
            BOOL replay = g_pAppConfig->GetAutoReplay();
            if (other->GetPlaySpeed() >= 0.0f) {
                clavio->SeekField(0);
                if (replay)
                    clavio->SlowPlay();
            } else if (replay) {
                CClip* lead = clavio->GetChannelClip(clavio->GetLeadingChannel());
                clavio->SeekField(lead ? lead->GetTrimOut() * 2 : 0);
                clavio->SlowPlayBackwards();
            } else {
                clavio->SeekField(0);
            }
        } else if (m_nState == AUTO_REPEAT && (!clavio->IsLocked() || fromLeader)) {
            ++m_nRepeatCount;
            if (m_nRepeatCount < m_nRepeatTarget) {
                clavio->SeekField(0);
                clavio->SlowPlay();
            } else {
                StartRecording();
            }
        }
    }
}

void CTransController::CreateClipFromCapture()
{
    CClavio* clavio = g_pClavio;
    CVideoWindow* c0 = clavio->GetChannel0();
    CClip* clip = new CClip;
    clip->m_strVideoPath = m_strCaptureFile;
    clip->m_nSoundMarkField = c0->GetSoundMarkFrame();
    clip->m_bAutoCap = m_bRecordAuto;
    clip->m_nCuePosition = 0;
    clip->m_nLastDisplayPos = 0;
    int frames = c0->GetCapturedFrames();
    clip->SetTrimOut(frames - 1);
    clip->m_nFrames = frames;
    clip->m_strView = g_pAppConfig->GetRecordView();
    clip->m_strClub = g_pAppConfig->GetRecordClub();
    if (m_bRecordAuto) {
        clip->PlaceTabsAroundImpact();
    } else {
        clip->m_nTabCount = 0;
        clip->m_bNeedVideoInfo = TRUE;
    }
    m_pNewClip = clip;
}

void CTransController::AddCaptureToClipPanel()
{
    CClipBar* bar = CClipBar::GetClipBar();
    if (bar && m_pNewClip)
        bar->AddClip(m_pNewClip, "");
}

void CTransController::ShowCapturedClip()
{
    g_pClavio->LoadClip(m_pNewClip);
    g_pClavio->SeekField(0);
}

void CTransController::StartAutoRepeat()
{
    m_nRepeatCount = 0;
    m_nRepeatTarget = g_pAppConfig->GetAutoRepeatReplay();
    m_nState = AUTO_REPEAT;
    g_pClavio->SeekField(0);
    g_pClavio->SlowPlay();
}

void CTransController::StartCueHold()
{
    m_nCueTicks = 0;
    m_nCueDelay = g_pAppConfig->GetCueHoldDelay();
    m_nState = CUE_HOLD;
    g_pClavio->SeekField(m_pNewClip ? m_pNewClip->m_nCuePosition : 0);
}

void CTransController::OnTimer()
{
    if (m_nState != CUE_HOLD)
        return;
    try {
        ++m_nCueTicks;
        if (m_nCueTicks > m_nCueDelay)
            StartRecording();
    } catch (...) {
        AfxMessageBox("Unhandled exception in CTransController timer.");
    }
}
