// Transport of the two channels: play, step and seek, and the lock-step of two clips in
// comparison view (aligned at their impacts or at the positions held when locking).
#include "Clavio.h"
#include "Clip.h"
#include "TabrelEx.h"
#include "VideoWindow.h"
#include <stdlib.h>

BOOL CClavio::IsLocked() const
{
    return m_nLayout == 1 && m_pClip[0] && m_pClip[1] && m_nLockMode != 0;
}

BOOL CClavio::CanLock() const
{
    return m_nLayout == 1 && m_pClip[0] && m_pClip[1];
}

void CClavio::SetLockMode(int mode)
{
    if (m_nLockMode != 0 && m_pChannel[0] && m_pChannel[1]) {
        m_pChannel[0]->Stop();
        m_pChannel[1]->Stop();
    }
    if (mode == m_nLockMode)
        return;
    m_nLockMode = mode;
    if (mode != 0) {
        // Only a split view with two clips aligns; otherwise the mode waits until it can.
        if (!CanLock())
            return;
        SaveClipPosition();
        for (int n = 0; n < 2; ++n)
            m_pClip[n]->m_nLockPosition = m_pChannel[n]->GetFieldPosition();
        AlignLockedClips(FALSE);
        NotifyUpdate();
        InvalidateViewVideoRect();
    } else {
        for (int n = 0; n < 2; ++n)
            if (m_pClip[n] && m_pChannel[n]) {
                m_pClip[n]->m_nLastDisplayPos = m_pChannel[n]->GetFieldPosition();
                m_pClip[n]->m_nLockPosition = 0;
            }
        ApplyClipSettings(GetOtherChannelIndex());
        if (m_pActiveVideo)
            OnCurrentChannelChanged();
    }
}

void CClavio::OnLockImpactKey()
{
    if (IsLocked() || !CanLock()) {
        SetLockMode(0);
    } else {
        SetLockMode(1);
        RedrawVideo();
    }
}

void CClavio::OnLockViewKey()
{
    if (IsLocked() || !CanLock()) {
        SetLockMode(0);
    } else {
        SetLockMode(2);
        RedrawVideo();
    }
}

BOOL CClavio::TakeChannelSwitchedFlag()
{
    BOOL flag = m_bChannelSwitched;
    m_bChannelSwitched = FALSE;
    return flag;
}

void CClavio::AlignLockedClips(BOOL reverse)
{
    CClip* A = m_pClip[0];
    CClip* B = m_pClip[1];
    if (!A || !B)
        return;
    m_bReversedLock = reverse ? TRUE : FALSE;
    BOOL impacts = A->GetTabCount() == 8 && B->GetTabCount() == 8;
    int a, b;
    if (!reverse) {
        if (m_nLockMode == 2) {
            a = A->m_nLockPosition;
            b = B->m_nLockPosition;
        } else if (impacts) {
            a = A->GetImpactField();
            b = B->GetImpactField();
        } else {
            a = A->GetTrimIn() * 2;
            b = B->GetTrimIn() * 2;
        }
    } else {
        if (m_nLockMode == 2) {
            a = A->GetTrimOut() * 2 - A->m_nLockPosition;
            b = B->GetTrimOut() * 2 - B->m_nLockPosition;
        } else if (impacts) {
            a = A->GetTrimOut() * 2 - A->GetImpactField();
            b = B->GetTrimOut() * 2 - B->GetImpactField();
        } else {
            a = A->GetTrimOut() * 2 - A->GetTrimIn() * 2;
            b = B->GetTrimOut() * 2 - B->GetTrimIn() * 2;
        }
    }
    int lead = a >= b ? 0 : 1;
    CClip* L = lead == 0 ? A : B;
    CClip* O = lead == 0 ? B : A;
    int low, high;
    L->m_nLockOffset = 0;
    if (!reverse) {
        O->m_nLockOffset = lead == 0 ? b - a : a - b;
        low = L->GetTrimIn() * 2;
        high = L->GetTrimOut() * 2;
        if (O->GetTrimOut() * 2 - O->m_nLockOffset > high)
            high = O->GetTrimOut() * 2 - O->m_nLockOffset;
    } else {
        // Backwards the other clip keeps the distance the channels show now: the signed
        // difference of their present positions.
        int pL = m_pChannel[lead]->GetFieldPosition();
        int pO = m_pChannel[1 - lead]->GetFieldPosition();
        O->m_nLockOffset = pO - pL;
        low = L->GetTrimIn() * 2;
        high = L->GetTrimOut() * 2;
    }
    if (L != m_pCurrentClip && a != b) {
        m_bChannelSwitched = TRUE;
        SelectChannel(lead);
    }
    if (m_pSlider)
        m_pSlider->SetRange(low, high);
    if (!reverse) {
        int p = lead == 0 ? a : b;
        if (m_pSlider)
            m_pSlider->SetPos(p);
        SeekField(p);
    }
}

void CClavio::SeekField(int p)
{
    if (!m_pActiveVideo)
        return;
    if (IsBlendViewEnabled() && m_pClip[0] && m_pClip[1]) {
        m_pChannel[0]->SeekField(p + m_pClip[0]->m_nLockOffset);
        m_pChannel[1]->SeekField(p + m_pClip[1]->m_nLockOffset);
        BlendFrame();
        RedrawVideo();
    } else if (!IsLocked()) {
        m_pActiveVideo->SeekField(p);
    } else {
        m_pChannel[0]->SeekField(p + m_pClip[0]->m_nLockOffset);
        m_pChannel[1]->SeekField(p + m_pClip[1]->m_nLockOffset);
    }
}

void CClavio::StepField(int n)
{
    if (!m_pActiveVideo)
        return;
    if (IsBlendViewEnabled() && m_pClip[0] && m_pClip[1]) {
        m_pChannel[0]->StepField(1);
        m_pChannel[1]->StepField(1);
        BlendFrame();
        RedrawVideo();
    } else if (!IsLocked()) {
        m_pActiveVideo->StepField(n);
    } else {
        // Without a slider the locked position comes from the channels themselves.
        int p = (m_pSlider ? m_pSlider->GetThumbPosition() : GetLockedPosition()) + n;
        if (m_pSlider)
            m_pSlider->SetPos(p);
        m_pChannel[0]->SeekField(p + m_pClip[0]->m_nLockOffset);
        m_pChannel[1]->SeekField(p + m_pClip[1]->m_nLockOffset);
    }
}

void CClavio::SlowPlay()
{
    if (!m_pActiveVideo)
        return;
    if (IsBlendViewEnabled() && m_pClip[0] && m_pClip[1]) {
        for (int n = 0; n < 2; ++n) {
            m_pChannel[n]->SetPlayLocked(TRUE);
            m_pChannel[n]->SetLockOffset(m_pClip[n]->m_nLockOffset);
        }
        m_pChannel[0]->Play();
    } else if (IsLocked()) {
        if (m_bReversedLock)
            AlignLockedClips(FALSE);
        for (int n = 0; n < 2; ++n) {
            m_pChannel[n]->SetPlayLocked(TRUE);
            m_pChannel[n]->SetLockOffset(m_pClip[n]->m_nLockOffset);
        }
        m_pChannel[0]->Play();
        m_pChannel[1]->Play();
    } else {
        m_pChannel[0]->SetPlayLocked(FALSE);
        m_pChannel[1]->SetPlayLocked(FALSE);
        m_pActiveVideo->Play();
    }
}

void CClavio::SlowPlayBackwards()
{
    if (!m_pActiveVideo)
        return;
    if (IsBlendViewEnabled() && m_pClip[0] && m_pClip[1]) {
        m_pChannel[0]->PlayBackwards();
    } else if (IsLocked()) {
        if (!m_bReversedLock)
            AlignLockedClips(TRUE);
        for (int n = 0; n < 2; ++n) {
            m_pChannel[n]->SetPlayLocked(TRUE);
            m_pChannel[n]->SetLockOffset(m_pClip[n]->m_nLockOffset);
        }
        m_pChannel[0]->PlayBackwards();
        m_pChannel[1]->PlayBackwards();
    } else {
        m_pChannel[0]->SetPlayLocked(FALSE);
        m_pChannel[1]->SetPlayLocked(FALSE);
        m_pActiveVideo->PlayBackwards();
    }
}

void CClavio::RealPlay()
{
    if (!m_pActiveVideo)
        return;
    if (IsLocked() || m_nLayout == 2) {
        if (m_bReversedLock && IsLocked())
            AlignLockedClips(FALSE);
        SlowPlay();
        return;
    }
    m_pChannel[0]->SetPlayLocked(FALSE);
    m_pChannel[1]->SetPlayLocked(FALSE);
    if (m_pActiveVideo->GetMirror()) {
        // A mirrored picture always plays stepped.
        m_pActiveVideo->Play();
        m_pActiveVideo->SetPlaySpeed(1.0f);
    } else {
        m_pActiveVideo->RealPlay();
    }
}

void CClavio::RealPlayBackwards()
{
    if (!m_pActiveVideo)
        return;
    if (IsLocked() || m_nLayout == 2) {
        if (!m_bReversedLock && IsLocked())
            AlignLockedClips(TRUE);
        SlowPlayBackwards();
        return;
    }
    m_pChannel[0]->SetPlayLocked(FALSE);
    m_pChannel[1]->SetPlayLocked(FALSE);
    m_pActiveVideo->RealPlayBackwards();
}

void CClavio::Stop()
{
    if (!m_pActiveVideo)
        return;
    if (IsLocked()) {
        m_pChannel[0]->Stop();
        m_pChannel[1]->Stop();
    } else {
        m_pActiveVideo->Stop();
        m_pChannel[0]->SetPlayLocked(FALSE);
        m_pChannel[1]->SetPlayLocked(FALSE);
    }
}

void CClavio::SetAutoRewind(BOOL on)
{
    if (!m_pActiveVideo)
        return;
    if (IsLocked() || IsBlendViewEnabled()) {
        m_pChannel[0]->SetAutoRewind(on);
        m_pChannel[1]->SetAutoRewind(on);
    } else {
        m_pActiveVideo->SetAutoRewind(on);
    }
}

void CClavio::SetAutoReplay(BOOL on)
{
    if (!m_pActiveVideo)
        return;
    if (IsLocked() || IsBlendViewEnabled()) {
        m_pChannel[0]->SetAutoReplay(on);
        m_pChannel[1]->SetAutoReplay(on);
    } else {
        m_pActiveVideo->SetAutoReplay(on);
    }
}

void CClavio::SetLockedAutoRewind(BOOL on)
{
    if (!m_pActiveVideo)
        return;
    int lead = GetLeadingChannel();
    m_pChannel[lead]->SetAutoRewind(on);
    m_pChannel[1 - lead]->SetAutoRewind(FALSE);
}

int CClavio::GetLeadingChannel() const
{
    if (!IsLocked())
        return 0;
    CClip* A = m_pClip[0];
    CClip* B = m_pClip[1];
    if (m_pChannel[0]->GetPlaySpeed() >= 0.0f) {
        int ea = A->GetTrimOut() * 2 - A->m_nLockOffset;
        int eb = B->GetTrimOut() * 2 - B->m_nLockOffset;
        return ea < eb ? 1 : 0;
    }
    int sa = A->GetTrimIn() * 2 - A->m_nLockOffset;
    int sb = B->GetTrimIn() * 2 - B->m_nLockOffset;
    return sa < sb ? 1 : 0;
}

void CClavio::SetPlaySpeed(float speed)
{
    for (int n = 0; n < 2; ++n)
        if (m_pChannel[n])
            m_pChannel[n]->SetPlaySpeed(speed);
}

int CClavio::GetLockedPosition() const
{
    if (!IsLocked())
        return 0;
    int lead = m_pClip[0]->m_nLockOffset == 0 ? 0 : 1;
    int other = 1 - lead;
    int pL = m_pChannel[lead]->GetFieldPosition();
    int pO = m_pChannel[other]->GetFieldPosition();
    int offO = m_pClip[other]->m_nLockOffset;
    if (pL > -offO && pO - offO >= pL)
        return pO - offO;
    return pL;
}
