#include "VfwVideoEngine.h"
#include <afxctl.h>

CVfwVideoEngine::CVfwVideoEngine() : m_fCrop{0, 0, 1, 1}
{
    m_lEngineType = 0;
}

// The capture window goes first, then the player (members end in reverse order).
CVfwVideoEngine::~CVfwVideoEngine() {}

BOOL CVfwVideoEngine::Playing(void (CAviStream::*action)())
{
    if (!m_player.IsOpen())
        return FALSE;
    (m_player.*action)();
    return TRUE;
}

long CVfwVideoEngine::Seek(long frame)
{
    m_player.SeekFrame(frame);
    m_player.Redraw();
    return m_player.GetFieldPosition() / 2;
}

BOOL CVfwVideoEngine::DrawFrame(CDC* dc, const RECT* rect)
{
    // Only the DC's handle is used: it may come from another module.
    if (!dc || !dc->m_hDC)
        return FALSE;
    return m_player.Draw(dc->m_hDC, rect ? rect->left : 0, rect ? rect->top : 0);
}

BOOL CVfwVideoEngine::StepField(long fields)
{
    if (!m_player.IsOpen())
        return FALSE;
    m_player.StepFields(fields);
    m_player.Redraw();
    return TRUE;
}

long CVfwVideoEngine::GetFrameCount()
{
    return m_player.IsOpen() ? m_player.GetStreamLast() - m_player.GetStreamFirst() + 1 : 0;
}

BOOL CVfwVideoEngine::SetPlayLocked(BOOL on)
{
    CAviStream::SetLocked(on);
    return TRUE;
}

BOOL CVfwVideoEngine::SetLockOffset(long fields)
{
    m_player.SetLockOffset(int(fields));
    return TRUE;
}

BOOL CVfwVideoEngine::SetSuccFramesSource(long count, long* frames)
{
    if (!frames && count > 0)
        return FALSE;
    m_player.SetSuccFramesSource(frames, int(count));
    return TRUE;
}

BOOL CVfwVideoEngine::SetSuccFramesEnable(BOOL on)
{
    m_player.SetSuccFramesEnable(on);
    return TRUE;
}

BOOL CVfwVideoEngine::SetMask(float x, float y, float width, float height)
{
    m_player.SetMask(x, y, width, height);
    return TRUE;
}

BOOL CVfwVideoEngine::SetTrimIn(long frame)
{
    if (!m_player.IsOpen() || frame < m_player.GetStreamFirst() || frame >= m_player.GetLast())
        return FALSE;
    m_player.SetRange(frame, m_player.GetLast());
    return TRUE;
}

BOOL CVfwVideoEngine::SetTrimOut(long frame)
{
    if (!m_player.IsOpen() || frame > m_player.GetStreamLast() || frame <= m_player.GetFirst())
        return FALSE;
    m_player.SetRange(m_player.GetFirst(), frame);
    return TRUE;
}

BOOL CVfwVideoEngine::ApplyCrop()
{
    ClampRect(&m_fCrop[0], &m_fCrop[1], &m_fCrop[2], &m_fCrop[3]);
    m_player.SetCrop(m_fCrop[0], m_fCrop[1], m_fCrop[2], m_fCrop[3]);
    if (m_capture.GetSafeHwnd())
        m_capture.PositionForCrop(m_fCrop[0], m_fCrop[1], m_fCrop[2], m_fCrop[3]);
    return TRUE;
}

BOOL CVfwVideoEngine::SetCrop(float x, float y, float width, float height)
{
    m_fCrop[0] = x, m_fCrop[1] = y, m_fCrop[2] = width, m_fCrop[3] = height;
    return ApplyCrop();
}

BOOL CVfwVideoEngine::SetCropSize(float width, float height)
{
    m_fCrop[2] = width, m_fCrop[3] = height;
    return ApplyCrop();
}

BOOL CVfwVideoEngine::SetCropPos(float x, float y)
{
    m_fCrop[0] = x, m_fCrop[1] = y;
    return ApplyCrop();
}

BOOL CVfwVideoEngine::CreateCaptureGraph()
{
    if (m_capture.GetSafeHwnd())
        return m_capture.IsConnected();
    return m_capture.Create(m_pOwner);
}

BOOL CVfwVideoEngine::SetCaptureEnable(BOOL triggered)
{
    m_capture.SetCaptureMode(triggered ? 1 : 0);
    return TRUE;
}

BOOL CVfwVideoEngine::StopRecord()
{
    m_capture.StopRecord();
    return TRUE;
}

BOOL CVfwVideoEngine::ShowDisplayDlg()
{
    m_capture.ShowDisplayDlg();
    return m_capture.IsConnected();
}

BOOL CVfwVideoEngine::ShowFormatDlg()
{
    m_capture.ShowFormatDlg();
    return m_capture.IsConnected();
}

BOOL CVfwVideoEngine::ShowSourceDlg()
{
    m_capture.ShowSourceDlg();
    return m_capture.IsConnected();
}

BOOL CVfwVideoEngine::SetSoundThreshold(long percent)
{
    m_capture.SetSoundThreshold(int(percent));
    return TRUE;
}

BOOL CVfwVideoEngine::SetPreTrigFrames(long frames)
{
    m_capture.SetPreTrigFrames(int(frames));
    return TRUE;
}

BOOL CVfwVideoEngine::SetPostTrigFrames(long frames)
{
    m_capture.SetPostTrigFrames(int(frames));
    return TRUE;
}

long CVfwVideoEngine::GetSoundMarkFrame()
{
    return m_capture.GetTriggerParity() + 2 * m_capture.GetPreTrigFrames();
}

BOOL CVfwVideoEngine::Init()
{
    return m_capture.FindDriver();
}

void CVfwVideoEngine::SetOwner(CWnd* owner)
{
    CVideoEngine::SetOwner(owner);
    m_player.SetOwner(owner);
    m_capture.SetOwner(dynamic_cast<COleControl*>(owner), owner ? owner->GetSafeHwnd() : NULL);
}
