// The video manager window: creation, layout, painting, views, the current channel and the
// controls' events.
#include "Clavio.h"
#include "AppConfig.h"
#include "Clip.h"
#include "Globals.h"
#include "TabrelEx.h"
#include "VideoWindow.h"
#include "../frame/CustomConfig.h"

BEGIN_MESSAGE_MAP(CClavio, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

BEGIN_EVENTSINK_MAP(CClavio, CWnd)
    ON_EVENT(CClavio, CHANNEL0_ID, DISPID_CLICK, OnClick, VTS_NONE)
    ON_EVENT(CClavio, CHANNEL0_ID, DISPID_DBLCLICK, OnDblClick, VTS_NONE)
    ON_EVENT(CClavio, CHANNEL0_ID, 1, OnPosChanged0, VTS_I4)
    ON_EVENT(CClavio, CHANNEL0_ID, 3, OnDrawOverlay0, VTS_PI4)
    ON_EVENT(CClavio, CHANNEL0_ID, 2, OnVideoStateChanged0, VTS_I4)
    ON_EVENT(CClavio, CHANNEL1_ID, DISPID_CLICK, OnClick, VTS_NONE)
    ON_EVENT(CClavio, CHANNEL0_ID, DISPID_MOUSEDOWN, OnMouseDown0,
             VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS)
    ON_EVENT(CClavio, CHANNEL1_ID, DISPID_MOUSEDOWN, OnMouseDown1,
             VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS)
    ON_EVENT(CClavio, CHANNEL1_ID, 1, OnPosChanged1, VTS_I4)
    ON_EVENT(CClavio, CHANNEL1_ID, 3, OnDrawOverlay1, VTS_PI4)
    ON_EVENT(CClavio, CHANNEL1_ID, 2, OnVideoStateChanged1, VTS_I4)
END_EVENTSINK_MAP()

CClavio::CClavio()
    : m_rectLeft(0, 0, 0, 0), m_rectRight(0, 0, 0, 0), m_rectOther(0, 0, 0, 0),
      m_rectCurrent(0, 0, 0, 0), m_pActiveVideo(NULL), m_pCurrentClip(NULL),
      m_nLastVideoState(0), m_nLockMode(0), m_bComparisonNeverShown(TRUE),
      m_nDiskWarnLevel(0), m_bStartLivePending(TRUE), m_bReversedLock(FALSE),
      m_bRestartRecording(FALSE), m_bCaptureArmed(FALSE), m_bClosing(FALSE),
      m_nLastStateChannel(0), m_bChannelSwitched(FALSE), m_nCurrentChannel(0), m_pView(NULL),
      m_nViewMode(1), m_nMarginX(2), m_nMarginY(2), m_nClipWidth(608), m_nClipHeight(456),
      m_rectVideo(0, 0, 0, 0), m_nLayout(0), m_pSlider(NULL), m_bControlErrorShown(FALSE)
{
    m_pChannel[0] = m_pChannel[1] = NULL;
    m_pClip[0] = m_pClip[1] = NULL;
}

CClavio::~CClavio()
{
    m_overlayWnd[0].SetModel(NULL);
    m_overlayWnd[1].SetModel(NULL);
    for (int i = 0; i < 2; ++i) {
        if (m_pChannel[i] && m_pChannel[i]->GetSafeHwnd())
            m_pChannel[i]->DestroyWindow();
        delete m_pChannel[i];
        m_pChannel[i] = NULL;
    }
    m_pActiveVideo = NULL;
}

BOOL CClavio::ChannelReady(int n) const
{
    return m_pChannel[n] && m_pChannel[n]->HasControl();
}

int CClavio::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    // A control that cannot be created leaves an empty wrapper: every call on it answers
    // failure, and the coach is told once.
    for (int n = 0; n < 2; ++n) {
        m_pChannel[n] = new CVideoWindow;
        BOOL made = m_pChannel[n]->CreateControlWindow(n == 0 ? WS_VISIBLE : 0,
                                                       CRect(100, 100, 400, 500), this,
                                                       n == 0 ? CHANNEL0_ID : CHANNEL1_ID);
        if (!made && !m_bControlErrorShown) {
            m_bControlErrorShown = TRUE;
            AfxMessageBox("Could not create the video control");
        }
        if (n == 0) {
            if (g_pAppConfig) {
                m_pChannel[0]->SetCaptureDriverName(g_pAppConfig->GetCaptureDriverName());
                m_pChannel[0]->SetLastKnownGoodCamera(
                    (short)g_pAppConfig->GetLastKnownGoodCamera());
            }
            m_pChannel[0]->SetLiveVideoMode(TRUE, FALSE);
            m_nCurrentChannel = 0;
            m_pActiveVideo = m_pChannel[0];
        }
    }
    for (int n = 0; n < 2; ++n)
        m_overlayWnd[n].SetClipSize(m_nClipWidth, m_nClipHeight);
    m_dropTarget.Register(this);
    m_dropTarget.SetTargetWnd(this);
    for (int n = 0; n < 2; ++n) {
        m_overlayWnd[n].SetModel(&m_liveModel);
        m_overlayWnd[n].SetVideoWindow(m_pChannel[n]);
        m_overlayWnd[n].SetClipDropTarget(this);
        m_overlayWnd[n].Create(NULL, n == 0 ? "OverlayWnd0" : "OverlayWnd1",
                               WS_CHILD | WS_VISIBLE,
                               CRect(0, 0, m_nClipWidth - 1, m_nClipHeight - 1), this, 0);
        m_overlayWnd[n].ModifyStyleEx(0, WS_EX_TRANSPARENT);
    }
    m_liveModel.Reinitialize();
    for (int n = 0; n < 2; ++n) {
        m_nCurrentChannel = n;
        m_pActiveVideo = m_pChannel[n];
        ShowGraphics(FALSE, -1, FALSE);
        EnableOverlayGrid(FALSE);
    }
    m_nCurrentChannel = 0;
    m_pActiveVideo = m_pChannel[0];
    SetTimer(1, 1000, NULL);
    m_nCurrentChannel = 1;
    m_pActiveVideo = m_pChannel[1];
    SetViewMode(m_nViewMode);
    m_nCurrentChannel = 0;
    m_pActiveVideo = m_pChannel[0];
    SetViewMode(m_nViewMode);
    NotifyUpdate();
    CheckDisplayDepth();
    return 0;
}

BOOL CClavio::DestroyWindow()
{
    if (m_hWnd)
        KillTimer(1);
    return CWnd::DestroyWindow();
}

void CClavio::OnDestroy()
{
    m_dropTarget.Revoke();
    CWnd::OnDestroy();
}

void CClavio::RecalcLayout()
{
    if (!m_hWnd)
        return;
    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
}

void CClavio::OnSize(UINT type, int cx, int cy)
{
    if (!m_bClosing)
        CWnd::OnSize(type, cx, cy);
    int w = cx - 2 * m_nMarginX;
    int h = cy - 2 * m_nMarginY;
    m_rectVideo.left = w / 2 - m_nClipWidth / 2 + m_nMarginX;
    m_rectVideo.right = m_nClipWidth < w ? m_rectVideo.left + m_nClipWidth - 1
                                         : w + m_nMarginX - 1;
    m_rectVideo.top = h / 2 - m_nClipHeight / 2 + m_nMarginY;
    m_rectVideo.bottom = m_nClipHeight < h ? m_rectVideo.top + m_nClipHeight - 1
                                           : h + m_nMarginY - 1;
    if (!m_pActiveVideo)
        return;
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (m_nLayout == 0 || m_nLayout == 2) {
        const CRect& r = m_rectVideo;
        if (m_pActiveVideo->GetSafeHwnd())
            m_pActiveVideo->SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(), flags);
        COverlayWnd& overlay = m_overlayWnd[m_nCurrentChannel];
        if (overlay.GetSafeHwnd())
            overlay.SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(), flags);
        m_rectCurrent = m_rectVideo;
    } else {
        int W = m_rectVideo.Width(), H = m_rectVideo.Height();
        int L = m_rectVideo.left, T = m_rectVideo.top;
        m_rectLeft.SetRect(L, T, L + (W + 1) / 2 - 2, T + H);
        m_rectRight.SetRect((W + 1) / 2 + L, T, L + W, T + H);
        const CRect* halves[2] = {&m_rectLeft, &m_rectRight};
        for (int n = 0; n < 2; ++n) {
            const CRect& r = *halves[n];
            if (m_pChannel[n] && m_pChannel[n]->GetSafeHwnd())
                m_pChannel[n]->SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(), flags);
            if (m_overlayWnd[n].GetSafeHwnd())
                m_overlayWnd[n].SetWindowPos(NULL, r.left, r.top, r.Width(), r.Height(),
                                             flags);
        }
        m_rectCurrent = *halves[m_nCurrentChannel];
        m_rectOther = *halves[GetOtherChannelIndex()];
    }
}

void CClavio::OnPaint()
{
    CPaintDC dc(this);
    if (m_bStartLivePending) {
        m_bStartLivePending = FALSE;
        SetChannelLiveMode(m_pChannel[0], TRUE, FALSE);
    }
    PaintFrames(&dc);
}

void CClavio::PaintFrames(CDC* pDC)
{
    CDC& dc = *pDC;
    CBrush grey(RGB(0x80, 0x80, 0x80));
    CBrush cyan((COLORREF)0xFFFF00);
    if (m_nLayout == 1) {
        CRect r = m_rectOther;
        r.InflateRect(1, 1);
        dc.FrameRect(&r, &grey);
        r.InflateRect(1, 1);
        dc.FrameRect(&r, &grey);
    }
    BOOL locked = IsLocked();
    CRect frame = m_rectCurrent;
    if (locked) {
        CRect span(m_rectLeft.left + 1, m_rectLeft.top, m_rectRight.right - 1,
                   m_rectRight.bottom);
        dc.FillRect(&span, &grey);
        frame = m_rectVideo;
    }
    frame.InflateRect(1, 1);
    dc.FrameRect(&frame, &cyan);
    frame.InflateRect(1, 1);
    dc.FrameRect(&frame, &cyan);
    if (locked) {
        frame.InflateRect(1, 1);
        dc.FrameRect(&frame, &cyan);
        CRect focus = m_rectCurrent;
        focus.InflateRect(2, 2);
        dc.DrawFocusRect(&focus);
    }
}

BOOL CClavio::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CClavio::OnTimer(UINT_PTR id)
{
    if (id != 1) {
        CWnd::OnTimer(id);
        return;
    }
    try {
        m_transController.OnTimer();
    } catch (...) {
        AfxMessageBox("Unhandled exception in CClavio timer.");
    }
}

void CClavio::RedrawVideo()
{
    const UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN;
    for (int n = 0; n < 2; ++n) {
        if (m_pChannel[n] && m_pChannel[n]->GetSafeHwnd())
            m_pChannel[n]->RedrawWindow(NULL, NULL, flags);
        if (m_overlayWnd[n].GetSafeHwnd())
            m_overlayWnd[n].RedrawWindow(NULL, NULL, flags);
    }
}

void CClavio::RedrawCurrentWindow(const RECT& rect)
{
    if (m_pActiveVideo && m_pActiveVideo->GetSafeHwnd())
        m_pActiveVideo->RedrawWindow(&rect, NULL,
                                     RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CClavio::InvalidateViewVideoRect()
{
    if (m_pView && m_pView->GetSafeHwnd()) {
        CRect r = CCustomConfig().GetVideoRect();
        m_pView->InvalidateRect(&r, FALSE);
    }
}

void CClavio::HaltChannels()
{
    for (int n = 0; n < 2; ++n) {
        if (!m_pChannel[n])
            continue;
        if (m_pChannel[n]->IsPlaying())
            m_pChannel[n]->Stop();
        else
            m_pChannel[n]->StepField(0);
    }
}

// Views

void CClavio::SetViewMode(int mode)
{
    if (!m_pActiveVideo)
        return;
    if (m_nLayout == 2 && mode != 2)
        m_pActiveVideo->SetSuccFramesEnable(FALSE);
    if (mode != -1)
        m_nViewMode = mode;
    else if (m_nLayout == 2)
        m_nViewMode = 1;
    if (m_nViewMode == 0) {
        for (int n = 0; n < 2; ++n) {
            m_pChannel[n]->SetMask(0.25f, 0.0f, 0.5f, 1.0f);
            m_pChannel[n]->SetCrop(0.25f, 0.0f, 0.5f, 1.0f);
            m_overlayWnd[n].SetCropRect(0.25f, 0.0f, 0.5f, 1.0f);
            m_overlayWnd[n].StoreCropRect(0.25f, 0.0f, 0.5f, 1.0f);
        }
        for (int n = 0; n < 2; ++n)
            if (m_pChannel[n]->GetSafeHwnd())
                m_pChannel[n]->ShowWindow(SW_SHOW);
        ApplyClipGraphics(0);
        ApplyClipGraphics(1);
        m_nLayout = 1;
    } else {
        for (int n = 0; n < 2; ++n) {
            m_pChannel[n]->SetMask(0.0f, 0.0f, 1.0f, 1.0f);
            m_pChannel[n]->SetCrop(0.0f, 0.0f, 1.0f, 1.0f);
            m_overlayWnd[n].SetCropRect(0.0f, 0.0f, 1.0f, 1.0f);
            m_overlayWnd[n].StoreCropRect(0.0f, 0.0f, 1.0f, 1.0f);
        }
        int other = GetOtherChannelIndex();
        if (m_pActiveVideo->GetSafeHwnd())
            m_pActiveVideo->ShowWindow(SW_SHOW);
        if (m_pChannel[other]->GetSafeHwnd())
            m_pChannel[other]->ShowWindow(SW_HIDE);
        ShowGraphics(FALSE, other, FALSE);
        ApplyClipGraphics(m_nCurrentChannel);
        m_nLayout = m_nViewMode == 2 ? 2 : 0;
    }
    RecalcLayout();
}

BOOL CClavio::SetComparisonView(BOOL selectSecond)
{
    HaltChannels();
    SetViewMode(0);
    InvalidateViewVideoRect();
    if (m_hWnd)
        NotifyUpdate();
    m_bComparisonNeverShown = FALSE;
    if (selectSecond)
        SelectChannel(1);
    return TRUE;
}

BOOL CClavio::SetSingleView()
{
    if (IsSplitView() && m_nCurrentChannel == 1 && m_pChannel[0] &&
        m_pChannel[0]->GetLiveVideoMode())
        SetLiveInput(FALSE, FALSE);
    HaltChannels();
    SetViewMode(1);
    InvalidateViewVideoRect();
    NotifyUpdate();
    RedrawVideo();
    return TRUE;
}

void CClavio::OnSplitWindowKey()
{
    if (IsSplitView())
        SetSingleView();
    else
        SetComparisonView(TRUE);
}

// The current channel

void CClavio::SelectChannel(int n)
{
    if (n < 0 || n > 1 || !m_pChannel[n])
        return;
    CVideoWindow* before = m_pActiveVideo;
    if (m_pCurrentClip)
        SaveClipPosition();
    CVideoWindow* other = m_pChannel[(n + 1) % 2];
    if (other)
        other->StepField(0);
    m_nCurrentChannel = n;
    m_pActiveVideo = m_pChannel[n];
    if (m_pActiveVideo != before)
        OnCurrentChannelChanged();
}

void CClavio::SelectFirstChannel()
{
    SelectChannel(0);
    SetViewMode(-1);
}

void CClavio::SelectOtherChannel()
{
    if (m_bComparisonNeverShown && !IsSplitView()) {
        SetComparisonView(FALSE);
        SetSingleView();
    }
    if (m_pActiveVideo)
        m_pActiveVideo->SetSuccFramesEnable(FALSE);
    SelectChannel(GetOtherChannelIndex());
    SetViewMode(-1);
}

void CClavio::OnCurrentChannelChanged()
{
    RecalcLayout();
    InvalidateViewVideoRect();
    int n = m_nCurrentChannel;
    if (m_pActiveVideo->IsValid()) {
        m_pCurrentClip = m_pClip[n];
        if (m_pCurrentClip) {
            AttachModel(n, m_pCurrentClip->GetDrawingModel());
            m_pCurrentClip->FitToVideoWindow(m_pActiveVideo);
        }
        NotifyUpdate();
        ApplyClipSettings(n);
    } else {
        AttachModel(n, &m_liveModel);
        m_pCurrentClip = NULL;
        SetChannelLiveMode(m_pActiveVideo, TRUE, FALSE);
        NotifyVideoStateChanged();
    }
    if (!IsLocked() && m_pCurrentClip && m_pSlider) {
        m_pSlider->SetRange(m_pCurrentClip->GetTrimIn() * 2,
                            m_pCurrentClip->GetTrimOut() * 2 + 1);
        m_pSlider->SetPos(m_pCurrentClip->m_nLastDisplayPos);
        ShowClipTabs(m_pCurrentClip);
        NotifyPositionChanged();
    } else if (!IsLocked()) {
        ShowClipTabs(NULL);
    }
    RedrawVideo();
}

// The slider refuses a mark on a position it already holds or one overlapping another, so
// missing marks are added one apart along the range, where none is refused, and then moved
// onto the clip's tabs (a move is never refused; marks drawn close together overlap).
void CClavio::ShowClipTabs(CClip* clip)
{
    if (!m_pSlider || !m_pSlider->GetSafeHwnd())
        return;
    const LONG want = clip ? clip->GetTabCount() : 0;
    if (m_pSlider->GetTabCount() != want) {
        for (LONG n = m_pSlider->GetTabCount(); n >= 1; --n)
            m_pSlider->DeleteTab(n);
        if (want) {
            const LONG low = clip->GetTrimIn() * 2, high = clip->GetTrimOut() * 2 + 1;
            for (LONG i = 0; i < want; ++i)
                m_pSlider->AddTab(low + (high - low) * i / want);
        }
    }
    for (LONG i = 0; i < want; ++i)
        m_pSlider->SetTabPosition(i + 1, clip->GetTabPosition(i));
}

void CClavio::AttachModel(int channel, CODModel* model)
{
    m_overlayWnd[channel].SetModel(model);
    m_overlayWnd[channel].ClearSelection();
}

// Events of the controls

void CClavio::OnPosChanged0(LONG)
{
    NotifyPositionChanged();
}

void CClavio::OnPosChanged1(LONG)
{
    NotifyPositionChanged();
}

void CClavio::OnDrawOverlay0(LONG* dc)
{
    m_overlayWnd[0].OnDrawOverlay(reinterpret_cast<CDC*>(dc));
}

void CClavio::OnDrawOverlay1(LONG* dc)
{
    m_overlayWnd[1].OnDrawOverlay(reinterpret_cast<CDC*>(dc));
}

void CClavio::OnVideoStateChanged(int channel, LONG code)
{
    m_nLastVideoState = code;
    m_nLastStateChannel = channel;
    m_transController.OnVideoStateChanged(code);
    NotifyVideoStateChanged();
}

void CClavio::OnVideoStateChanged0(LONG code)
{
    OnVideoStateChanged(0, code);
}

void CClavio::OnVideoStateChanged1(LONG code)
{
    OnVideoStateChanged(1, code);
}

void CClavio::OnMouseDown0(short, short, LONG, LONG)
{
    SelectChannel(0);
}

void CClavio::OnMouseDown1(short, short, LONG, LONG)
{
    SelectChannel(1);
}

void CClavio::TriggerCapture()
{
    m_bCaptureArmed = FALSE;
    if (m_pChannel[0])
        m_pChannel[0]->TriggerCapture();
}
