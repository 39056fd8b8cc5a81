// What each channel shows: clips, live video, the drawing overlays and their models, the
// routing of drawing commands, and clips dropped onto the video.
#include "Clavio.h"
#include "ClipBar.h"
#include "ODCustomController.h"
#include "AppConfig.h"
#include "Clip.h"
#include "Globals.h"
#include "ODCustomViewport.h"
#include "VideoWindow.h"
#include <set>

namespace {
std::set<CClip*>& LiveClips()
{
    static std::set<CClip*>* clips = new std::set<CClip*>;
    return *clips;
}
} // namespace

void CClavio::RegisterLiveClip(CClip* clip)
{
    LiveClips().insert(clip);
}

void CClavio::UnregisterLiveClip(CClip* clip)
{
    LiveClips().erase(clip);
}

BOOL CClavio::IsLiveClip(CClip* clip)
{
    return clip && LiveClips().count(clip) != 0;
}

// Channel content

BOOL CClavio::LoadClip(CClip* clip)
{
    if (!m_pActiveVideo)
        return FALSE;
    if (m_bClosing && !m_pActiveVideo->GetSafeHwnd())
        return FALSE;
    FinishDrawing();
    if (clip && clip->IsComparison() && m_nCurrentChannel == 1)
        SelectChannel(0);
    if (!m_bClosing)
        SetLockMode(0);
    if (m_nLayout == 2)
        SetViewMode(-1);
    int n = m_nCurrentChannel;
    CVideoWindow* control = m_pActiveVideo;
    BOOL mirror = control->GetMirror();
    if (m_pCurrentClip) {
        SaveClipPosition();
        if (clip)
            control->SetMirror(clip->GetMirror());
    } else if (clip) {
        control->SetMirror(clip->GetMirror());
    }
    SetChannelLiveMode(control, FALSE, FALSE);
    control->SetOverlayChanged(TRUE);
    ShowGraphics(FALSE, n, FALSE);
    BOOL ok;
    if (clip) {
        ok = control->LoadAVIFile(clip->m_strVideoPath, clip->m_nLastDisplayPos);
        if (ok)
            clip->SetTrimIn(control->GetTrimIn());
    } else {
        ok = control->LoadAVIFile("", 0);
    }
    if (ok && clip) {
        m_pCurrentClip = m_pClip[n] = clip;
        AttachModel(n, clip->GetDrawingModel());
        clip->FitToVideoWindow(control);
        SetChannelLiveMode(control, FALSE, FALSE);
        NotifyClipLoaded();
        ApplyClipSettings(n);
    } else {
        AttachModel(n, &m_liveModel);
        m_pCurrentClip = m_pClip[n] = NULL;
        control->SetMirror(mirror);
        SetChannelLiveMode(control, TRUE, FALSE);
        if (m_overlayWnd[n].GetSafeHwnd())
            m_overlayWnd[n].Invalidate(FALSE);
        NotifyVideoStateChanged();
    }
    if (ok && clip && clip->IsComparison()) {
        if (!IsSplitView())
            SetComparisonView(FALSE);
        CClip* partner = clip->GetComparisonClip();
        if (partner)
            LoadClipInOtherChannel(partner);
        SelectChannel(1);
    }
    if (m_pActiveVideo)
        m_pActiveVideo->SetOverlayChanged(TRUE);
    if (IsSplitView() && !m_pChannel[0]->GetLiveVideoMode() && m_pClip[0] && m_pClip[1] &&
        HaveDifferentFrameRates())
        AfxMessageBox("Warning:  You are comparing clips of two different display rates\n");
    return ok && clip;
}

BOOL CClavio::LoadClipInOtherChannel(CClip* clip)
{
    int n = GetOtherChannelIndex();
    CVideoWindow* control = m_pChannel[n];
    if (!control)
        return FALSE;
    FinishDrawing();
    BOOL mirror = control->GetMirror();
    if (clip)
        control->SetMirror(clip->GetMirror());
    control->SetOverlayChanged(TRUE);
    ShowGraphics(FALSE, n, FALSE);
    if (m_nLayout == 2)
        SetViewMode(-1);
    BOOL ok;
    if (clip) {
        ok = control->LoadAVIFile(clip->m_strVideoPath, clip->m_nLastDisplayPos);
        if (ok)
            clip->SetTrimIn(control->GetTrimIn());
    } else {
        ok = control->LoadAVIFile("", 0);
    }
    if (ok && clip) {
        AttachModel(n, clip->GetDrawingModel());
        m_pClip[n] = clip;
        clip->FitToVideoWindow(control);
        SetChannelLiveMode(control, FALSE, FALSE);
        ApplyClipSettings(n);
    } else {
        AttachModel(n, &m_liveModel);
        m_pClip[n] = NULL;
        control->SetMirror(mirror);
        SetChannelLiveMode(control, TRUE, FALSE);
        if (m_overlayWnd[n].GetSafeHwnd())
            m_overlayWnd[n].Invalidate(FALSE);
    }
    return ok && clip;
}

BOOL CClavio::LoadVideoFile(LPCTSTR path)
{
    if (!m_pActiveVideo)
        return FALSE;
    SetViewMode(-1);
    BOOL ok = m_pActiveVideo->LoadAVIFile(path, 0);
    if (ok) {
        NotifyClipLoaded();
        m_pCurrentClip = NULL;
    } else if (m_pCurrentClip) {
        m_pCurrentClip->SetTrimIn(m_pActiveVideo->GetTrimIn());
    }
    return ok;
}

void CClavio::OnClipDeleted(CClip* clip)
{
    if (!clip)
        return;
    // Every channel showing the clip lets go of it.
    if (m_pClip[m_nCurrentChannel] == clip || m_pCurrentClip == clip)
        LoadClip(NULL);
    if (m_pClip[GetOtherChannelIndex()] == clip)
        LoadClipInOtherChannel(NULL);
    for (int n = 0; n < 2; ++n)
        if (m_pClip[n] == clip)
            m_pClip[n] = NULL;
    if (m_pCurrentClip == clip)
        m_pCurrentClip = NULL;
}

void CClavio::SaveClipPosition()
{
    if (m_pCurrentClip && m_pActiveVideo)
        m_pCurrentClip->m_nLastDisplayPos = m_pActiveVideo->GetFieldPosition();
}

void CClavio::ApplyClipSettings(int channel)
{
    CClip* clip = m_pClip[channel];
    CVideoWindow* control = m_pChannel[channel];
    if (!clip || !control || IsLocked())
        return;
    control->SetTrimIn(clip->GetTrimIn());
    control->SetTrimOut(clip->GetTrimOut());
    control->SetMirror(clip->GetMirror());
    control->SeekField(clip->m_nLastDisplayPos);
    ApplyClipGraphics(m_nCurrentChannel);
}

BOOL CClavio::IsClipShown(CClip* clip) const
{
    if (!clip)
        return FALSE;
    if (IsSplitView())
        return m_pClip[0] == clip || m_pClip[1] == clip;
    return m_pCurrentClip == clip;
}

BOOL CClavio::SetMirror(BOOL mirror)
{
    if (m_pActiveVideo)
        m_pActiveVideo->SetMirror(mirror);
    if (m_pCurrentClip)
        m_pCurrentClip->SetMirror(mirror);
    return TRUE;
}

void CClavio::OnToggleMirrorKey()
{
    if (!m_pActiveVideo)
        return;
    BOOL mirror = !m_pActiveVideo->GetMirror();
    m_pActiveVideo->SetMirror(mirror);
    if (m_pCurrentClip)
        m_pCurrentClip->SetMirror(mirror);
    InvalidateViewVideoRect();
    NotifyUpdate();
}

// Live input

void CClavio::SetChannelLiveMode(CVideoWindow* control, BOOL live, BOOL keep)
{
    if (!control || !m_pActiveVideo)
        return;
    const int n = control == m_pChannel[1] ? 1 : 0;
    if (live && !m_pActiveVideo->GetLiveVideoMode()) {
        if (m_pCurrentClip)
            CopyDrawing(FALSE, m_pCurrentClip);
        // The live drawing goes over the channel that turns live: an empty second channel
        // made current must not take the first channel's clip drawing off its picture.
        AttachModel(n, &m_liveModel);
    } else if (m_pCurrentClip) {
        AttachModel(m_nCurrentChannel, m_pCurrentClip->GetDrawingModel());
    }
    control->SetLiveVideoMode(live, keep);
    // There is no overlay hardware: the overlay window stays transparent over live video
    // too, and the drawing reaches the picture through the control's own keying.
    if (m_overlayWnd[n].GetSafeHwnd())
        m_overlayWnd[n].ModifyStyleEx(0, WS_EX_TRANSPARENT);
}

void CClavio::SetLiveInput(BOOL on, BOOL keep)
{
    CVideoWindow* c0 = m_pChannel[0];
    if (!c0)
        return;
    SetChannelLiveMode(c0, on, keep);
    if (c0->GetDriverType() == 1 && m_pClip[0] && m_pClip[0]->GetShowGraphics() &&
        m_overlayWnd[0].GetSafeHwnd()) {
        m_overlayWnd[0].ShowWindow(SW_HIDE);
        m_overlayWnd[0].ShowWindow(SW_SHOW);
    } else if (m_overlayWnd[0].GetSafeHwnd()) {
        m_overlayWnd[0].Invalidate(FALSE);
    }
    if (c0->GetLiveVideoMode())
        ShowGraphics(IsOverlayEnabled(), -1, FALSE);
    else if (m_pClip[0])
        ShowGraphics(m_pClip[0]->GetShowGraphics(), -1, FALSE);
    if (m_nLayout == 2)
        SetViewMode(-1);
    if (on) {
        if (m_nCurrentChannel != 0)
            SelectFirstChannel();
        RefreshDrawing(FALSE);
    }
    NotifyUpdate();
}

// Drawing overlays

void CClavio::ShowGraphics(BOOL show, int channel, BOOL exact)
{
    if (channel == -1) {
        channel = m_nCurrentChannel;
        if (m_pClip[channel])
            m_pClip[channel]->SetShowGraphics(show);
    }
    if (channel < 0 || channel > 1 || !m_pChannel[channel])
        return;
    COverlayWnd& overlay = m_overlayWnd[channel];
    BOOL visible = (show && CanShowOverlay(channel)) ||
                   (!exact && m_pActiveVideo && m_pActiveVideo->GetOverlayEnable() &&
                    g_pAppConfig && g_pAppConfig->IsTelestratorMode());
    if (visible) {
        if (overlay.GetSafeHwnd()) {
            overlay.ShowWindow(SW_SHOW);
            overlay.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        }
        m_pChannel[channel]->SetOverlayEnable(TRUE);
    } else {
        if (overlay.GetSafeHwnd())
            overlay.ShowWindow(SW_HIDE);
        m_pChannel[channel]->SetOverlayEnable(FALSE);
    }
}

void CClavio::ApplyClipGraphics(int channel)
{
    if (channel >= 0 && channel < 2 && m_pClip[channel])
        ShowGraphics(m_pClip[channel]->GetShowGraphics(), channel, FALSE);
}

void CClavio::RestoreOverlays()
{
    for (int n = 0; n < 2; ++n)
        if (m_pChannel[n])
            ShowGraphics(m_pChannel[n]->GetOverlayEnable(), n, FALSE);
}

BOOL CClavio::CanShowOverlay(int channel)
{
    CVideoWindow* c = m_pChannel[channel];
    return !(c && c->GetLiveVideoMode() && !c->IsOverlayCapable());
}

BOOL CClavio::IsOverlayEnabled()
{
    return m_pActiveVideo ? m_pActiveVideo->GetOverlayEnable() : FALSE;
}

LRESULT CClavio::SendDrawCommand(UINT command, BOOL otherChannel)
{
    COverlayWnd& overlay =
        m_overlayWnd[otherChannel ? GetOtherChannelIndex() : m_nCurrentChannel];
    if (!overlay.GetSafeHwnd())
        return 0;
    return overlay.SendMessage(WM_COMMAND, command, 0);
}

void CClavio::EnableOverlayGrid(BOOL on)
{
    COverlayWnd& overlay = m_overlayWnd[m_nCurrentChannel];
    // The viewport's own default is a visible grid that every point snaps to.
    overlay.GetViewport()->SetGridVisible(on);
    overlay.GetViewport()->SetSnapToGrid(on);
    if (overlay.GetSafeHwnd())
        overlay.Invalidate(FALSE);
}

void CClavio::RefreshDrawing(BOOL full)
{
    if (!m_pActiveVideo)
        return;
    COverlayWnd& overlay = m_overlayWnd[m_nCurrentChannel];
    if (overlay.GetSafeHwnd())
        overlay.SendMessage(WM_COMMAND, 44554, 0);
    if (m_pActiveVideo->GetOverlayEnable() && !full)
        return;
    m_pActiveVideo->SetOverlayChanged(TRUE);
    if (m_pActiveVideo->GetSafeHwnd())
        m_pActiveVideo->Invalidate(FALSE);
    if (full) {
        if (overlay.GetSafeHwnd()) {
            overlay.Invalidate(FALSE);
            overlay.UpdateWindow();
        }
        RedrawVideo();
    }
}

void CClavio::RefreshOverlayBitmaps()
{
    for (int n = 0; n < 2; ++n) {
        m_overlayWnd[n].ClearSelection();
        if (m_pChannel[n])
            m_pChannel[n]->SetOverlayChanged(TRUE);
    }
}

void CClavio::FinishDrawing()
{
    CODCustomViewport* viewport = GetCurrentViewport();
    if (CODCustomController* controller =
            viewport ? dynamic_cast<CODCustomController*>(viewport->GetController()) : NULL)
        controller->FinishTool();
}

BOOL CClavio::CopyDrawing(BOOL toClip, CClip* clip)
{
    if (!clip)
        return FALSE;
    FinishDrawing();
    CMemFile first(1024);
    CODModel* from = toClip ? (CODModel*)&m_liveModel : (CODModel*)clip->GetDrawingModel();
    CODModel* to = toClip ? (CODModel*)clip->GetDrawingModel() : (CODModel*)&m_liveModel;
    {
        CArchive store(&first, CArchive::store, 4096);
        from->Serialize(store);
        store.Close();
    }
    ULONGLONG size = first.GetLength();
    if (!toClip)
        m_liveModel.Reinitialize();
    if (size) {
        first.SeekToBegin();
        CArchive load(&first, CArchive::load, 4096);
        to->Serialize(load);
        load.Close();
    }
    return TRUE;
}

CODCustomViewport* CClavio::GetCurrentViewport()
{
    return m_overlayWnd[m_nCurrentChannel].GetViewport();
}

CODCustomViewport* CClavio::GetOtherViewport()
{
    return m_overlayWnd[GetOtherChannelIndex()].GetViewport();
}

CODCustomViewport* CClavio::GetViewportOf(CVideoWindow* control)
{
    return m_overlayWnd[control == m_pChannel[1] ? 1 : 0].GetViewport();
}

// Drops

HGLOBAL CClavio::MakeClipDragBlock(CClip* clip)
{
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_SHARE, sizeof(CClip*));
    if (!block)
        return NULL;
    CClip** p = (CClip**)::GlobalLock(block);
    *p = clip;
    ::GlobalUnlock(block);
    return block;
}

CClip* CClavio::ClipFromDragBlock(HGLOBAL block)
{
    if (!block || ::GlobalSize(block) < sizeof(CClip*))
        return NULL;
    CClip** p = (CClip**)::GlobalLock(block);
    if (!p)
        return NULL;
    CClip* clip = *p;
    ::GlobalUnlock(block);
    // Only a clip alive in this process and listed by the clip panel: a block from another
    // instance names an address that means nothing here.
    CClipBar* panel = CClipBar::GetClipBar();
    return IsLiveClip(clip) && panel && panel->ListsClip(clip) ? clip : NULL;
}

DROPEFFECT CClavio::OnDragEnter(CWnd*, COleDataObject* data, DWORD, CPoint)
{
    return data && g_pAppConfig &&
                   data->IsDataAvailable((CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat())
               ? DROPEFFECT_COPY
               : DROPEFFECT_NONE;
}

DROPEFFECT CClavio::OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState,
                               CPoint point)
{
    return OnDragEnter(window, data, keyState, point);
}

BOOL CClavio::OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT, CPoint point)
{
    if (!data || !g_pAppConfig)
        return FALSE;
    CLIPFORMAT format = (CLIPFORMAT)g_pAppConfig->GetClipClipboardFormat();
    if (!data->IsDataAvailable(format))
        return FALSE;
    HGLOBAL block = data->GetGlobalData(format);
    CClip* clip = ClipFromDragBlock(block);
    if (block)
        ::GlobalFree(block);
    if (!clip)
        return FALSE;
    if (IsSplitView()) {
        CRect current = m_rectCurrent;
        ClientToScreen(&current);
        CPoint p = point;
        if (window && window->GetSafeHwnd())
            window->ClientToScreen(&p);
        if (!current.PtInRect(p))
            SelectOtherChannel();
    }
    LoadClip(clip);
    return TRUE;
}
