#include "VideoWindowCtrl.h"
#include "BitmapDIB.h"
#include "ControlPanelDlg.h"
#include "DsVideoEngine.h"
#include "GraphManager.h"
#include "PropPages.h"
#include "clavio_ids.h"
#include "resource.h"
#include <vector>

using namespace clavio;

IMPLEMENT_DYNCREATE(CVideoWindowCtrl, COleControl)
IMPLEMENT_OLECREATE_EX(CVideoWindowCtrl, "CLAVIO.VideoWindowCtrl.1", 0xc4afc5fd, 0x863e, 0x11d2,
                       0xbc, 0xed, 0xcc, 0x18, 0x6c, 0x00, 0x00, 0x00)
IMPLEMENT_OLETYPELIB(CVideoWindowCtrl, LIBID_ClavioLib, 1, 0)

BEGIN_PROPPAGEIDS(CVideoWindowCtrl, 1)
    PROPPAGEID(CVideoWindowPropPage::guid)
END_PROPPAGEIDS(CVideoWindowCtrl)

CVideoEngine* (*CVideoWindowCtrl::s_pfnMakeEngine)() = NULL;
long CVideoWindowCtrl::s_lEngineType = -1;
long CVideoWindowCtrl::s_lLastKnownGoodCamera = 1;

BEGIN_MESSAGE_MAP(CVideoWindowCtrl, COleControl)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_MESSAGE(WM_VIDEO_NOTIFY, OnVideoNotify)
    ON_WM_CONTEXTMENU()
    ON_WM_LBUTTONDOWN()
    ON_WM_PARENTNOTIFY()
END_MESSAGE_MAP()

#define PROP(name, type) \
    DISP_PROPERTY_EX_ID(CVideoWindowCtrl, #name, dispid##name, Get##name, Set##name, type)
#define METHOD(name, ret, params) \
    DISP_FUNCTION_ID(CVideoWindowCtrl, #name, dispid##name, name, ret, params)

BEGIN_DISPATCH_MAP(CVideoWindowCtrl, COleControl)
    PROP(FrameCount, VT_I4)
    PROP(FieldPosition, VT_I4)
    PROP(OverlayEnable, VT_BOOL)
    PROP(CaptureEnable, VT_BOOL)
    PROP(TrimIn, VT_I4)
    PROP(TrimOut, VT_I4)
    PROP(AutoReplay, VT_BOOL)
    PROP(AutoRewind, VT_BOOL)
    PROP(SoundMarkFrame, VT_I4)
    PROP(SoundThreshold, VT_I4)
    PROP(OverlayChanged, VT_BOOL)
    PROP(PreTrigFrames, VT_I4)
    PROP(PostTrigFrames, VT_I4)
    PROP(CapturedFrames, VT_I4)
    PROP(Mirror, VT_BOOL)
    PROP(PlayLocked, VT_BOOL)
    PROP(LockOffset, VT_I4)
    PROP(PlaySpeed, VT_R4)
    PROP(SuccFramesEnable, VT_BOOL)
    PROP(ShadowViewEnable, VT_BOOL)
    PROP(ShadowViewMix, VT_I4)
    PROP(BlendViewEnable, VT_BOOL)
    PROP(BlendViewTrans, VT_I4)
    PROP(MergeContinousActive, VT_BOOL)
    METHOD(StepField, VT_BOOL, VTS_I4)
    METHOD(Seek, VT_I4, VTS_I4)
    METHOD(Step, VT_BOOL, VTS_I4)
    METHOD(SeekField, VT_I4, VTS_I4)
    METHOD(Play, VT_BOOL, VTS_NONE)
    METHOD(Stop, VT_BOOL, VTS_NONE)
    METHOD(Pause, VT_BOOL, VTS_NONE)
    METHOD(SetCrop, VT_BOOL, VTS_R4 VTS_R4 VTS_R4 VTS_R4)
    METHOD(Record, VT_BOOL, VTS_NONE)
    METHOD(SetCaptureFilename, VT_BOOL, VTS_BSTR)
    METHOD(PlayBackwards, VT_BOOL, VTS_NONE)
    METHOD(TriggerCapture, VT_BOOL, VTS_NONE)
    METHOD(LoadAVIFile, VT_BOOL, VTS_BSTR VTS_I4)
    METHOD(IsPlaying, VT_BOOL, VTS_NONE)
    METHOD(ShowDisplayDlg, VT_BOOL, VTS_NONE)
    METHOD(ShowFormatDlg, VT_BOOL, VTS_NONE)
    METHOD(ShowSourceDlg, VT_BOOL, VTS_NONE)
    METHOD(IsValid, VT_BOOL, VTS_NONE)
    METHOD(Draw, VT_BOOL, VTS_PI4 VTS_PI4)
    METHOD(SetMask, VT_BOOL, VTS_R4 VTS_R4 VTS_R4 VTS_R4)
    METHOD(SetCropPos, VT_BOOL, VTS_R4 VTS_R4)
    METHOD(SetCropSize, VT_BOOL, VTS_R4 VTS_R4)
    METHOD(RealPlay, VT_BOOL, VTS_NONE)
    METHOD(RealPlayBackwards, VT_BOOL, VTS_NONE)
    METHOD(SetSuccFramesSource, VT_BOOL, VTS_I4 VTS_PI4)
    METHOD(GetVideoFormat, VT_I8, VTS_NONE)
    METHOD(GetKeyColor, VT_I4, VTS_NONE)
    METHOD(GetDroppedFrames, VT_I4, VTS_NONE)
    METHOD(GetDriverName, VT_BSTR, VTS_NONE)
    METHOD(GetDriverDescription, VT_BSTR, VTS_NONE)
    METHOD(GetDriverType, VT_I4, VTS_NONE)
    METHOD(IsCaptureDeviceActive, VT_BOOL, VTS_NONE)
    METHOD(TrimFile, VT_BOOL, VTS_BSTR VTS_BSTR VTS_I4 VTS_I4)
    METHOD(EnableSonderic, VT_BOOL, VTS_BOOL)
    METHOD(DisableCapture, VT_EMPTY, VTS_NONE)
    METHOD(IsOverlayCapable, VT_BOOL, VTS_NONE)
    METHOD(GetFrameRate, VT_R8, VTS_NONE)
    METHOD(GetFirstValidFrame, VT_I4, VTS_NONE)
    METHOD(Transcode, VT_BOOL, VTS_BSTR VTS_BSTR)
    METHOD(SetMarkFieldAdjust, VT_BOOL, VTS_I4)
    METHOD(SetLastKnownGoodCamera, VT_EMPTY, VTS_I2)
    METHOD(GetLastKnownGoodCamera, VT_I2, VTS_NONE)
    METHOD(SetLiveVideoMode, VT_EMPTY, VTS_BOOL VTS_BOOL)
    METHOD(GetLiveVideoMode, VT_BOOL, VTS_NONE)
    METHOD(GetNumCaptureDevices, VT_I2, VTS_NONE)
    METHOD(SetCaptureDevice, VT_EMPTY, VTS_I2)
    METHOD(GetCurCaptureDevice, VT_I2, VTS_NONE)
    METHOD(GetOS, VT_I2, VTS_NONE)
    METHOD(GetCaptureDriverName, VT_BSTR, VTS_I2)
    METHOD(SetCaptureDriverName, VT_EMPTY, VTS_BSTR)
    METHOD(GetCaptureDriverCount, VT_I2, VTS_NONE)
    METHOD(SetShadowViewTabs, VT_BOOL, VTS_I4 VTS_PI4)
    METHOD(ClearShadowView, VT_BOOL, VTS_NONE)
    METHOD(MergeShadowView, VT_BOOL, VTS_NONE)
    METHOD(GetClipWidth, VT_I4, VTS_NONE)
    METHOD(GetClipHeight, VT_I4, VTS_NONE)
    METHOD(BlendFrame, VT_EMPTY, VTS_NONE)
    METHOD(SetSkipFields, VT_EMPTY, VTS_I2)
    DISP_FUNCTION_ID(CVideoWindowCtrl, "AboutBox", DISPID_ABOUTBOX, AboutBox, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

#undef PROP
#undef METHOD

BEGIN_EVENT_MAP(CVideoWindowCtrl, COleControl)
    EVENT_CUSTOM_ID("PosChanged", eventPosChanged, FirePosChanged, VTS_I4)
    EVENT_CUSTOM_ID("VideoStateChanged", eventVideoStateChanged, FireVideoStateChanged, VTS_I4)
    EVENT_CUSTOM_ID("DrawOverlay", eventDrawOverlay, FireDrawOverlay, VTS_PI4)
    EVENT_STOCK_CLICK()
    EVENT_STOCK_DBLCLICK()
    EVENT_STOCK_MOUSEDOWN()
    EVENT_STOCK_MOUSEMOVE()
    EVENT_STOCK_MOUSEUP()
    EVENT_STOCK_ERROREVENT()
END_EVENT_MAP()

BOOL CVideoWindowCtrl::CVideoWindowCtrlFactory::UpdateRegistry(BOOL bRegister)
{
    if (!bRegister)
        return AfxOleUnregisterClass(m_clsid, m_lpszProgID);
    return AfxOleRegisterControlClass(AfxOleModuleHandle(), m_clsid, m_lpszProgID,
                                      IDS_VIDEOWINDOW, IDB_VIDEOWINDOW,
                                      afxRegInsertable | afxRegApartmentThreading,
                                      OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                                          OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                                          OLEMISC_RECOMPOSEONRESIZE,
                                      LIBID_ClavioLib, 1, 0);
}

CVideoWindowCtrl::CVideoWindowCtrl()
    : m_pControlPanel(NULL), m_bLive(FALSE), m_bOverlayEnable(FALSE), m_bCaptureEnable(FALSE),
      m_bAutoReplay(FALSE), m_bAutoRewind(FALSE), m_bOverlayChanged(FALSE),
      m_bRecordResult(FALSE), m_bBlendView(FALSE), m_dwLastTick(0), m_dElapsed(0),
      m_lRecordState(0), m_lTrimIn(0), m_lTrimOut(0), m_lSoundThreshold(0),
      m_pOverlayBitmap(NULL), m_hOldBitmap(NULL), m_bMirror(FALSE), m_pEngine(NULL),
      m_nOSCode(0), m_bReplayRunning(false), m_bLockedRunning(false), m_bFirstLoad(TRUE),
      m_lTimerPosition(0), m_lReportedPosition(0)
{
    InitializeIIDs(&IID_DIVideoWindow, &IID_DIVideoWindowEvents);
}

CVideoWindowCtrl::~CVideoWindowCtrl()
{
    if (m_pControlPanel) {
        if (m_pControlPanel->m_hWnd)
            m_pControlPanel->DestroyWindow();
        delete m_pControlPanel;
    }
    if (m_MemDC.m_hDC) {
        if (m_hOldBitmap)
            ::SelectObject(m_MemDC.m_hDC, m_hOldBitmap);
        m_MemDC.DeleteDC();
    }
    delete m_pOverlayBitmap;
    delete m_pEngine;
}

//////////////////////////////////////////////////////////////////////////////////////////
// Framework overrides

void CVideoWindowCtrl::OnDraw(CDC* pDC, const CRect& rcBounds, const CRect& rcInvalid)
{
    if (rcInvalid.IsRectEmpty())
        return;
    pDC->SetBoundsRect(&rcBounds, DCB_DISABLE);
    if (m_pEngine)
        m_pEngine->DrawFrame(pDC, &rcBounds);
}

void CVideoWindowCtrl::DoPropExchange(CPropExchange* pPX)
{
    ExchangeVersion(pPX, MAKELONG(0, 1));
    COleControl::DoPropExchange(pPX);
}

BOOL CVideoWindowCtrl::OnSetObjectRects(LPCRECT lpRectPos, LPCRECT lpRectClip)
{
    long w = 10000, h = 10000;
    if (m_pEngine && m_pEngine->IsValid()) {
        w = m_pEngine->GetClipWidth();
        h = m_pEngine->GetClipHeight();
    }
    CRect pos(lpRectPos);
    const long W = pos.Width(), H = pos.Height();
    if (w < W && h < H) {
        SetControlSize(w, h);
        pos.right = pos.left + w;
        pos.bottom = pos.top + h;
    } else if (w < W) {
        SetControlSize(w, H);
        pos.right = pos.left + w;
    } else if (h < H) {
        SetControlSize(W, h);
        pos.bottom = pos.top + h;
    }
    return COleControl::OnSetObjectRects(&pos, lpRectClip);
}

BOOL CVideoWindowCtrl::DestroyWindow()
{
    if (m_hWnd)
        KillTimer(kPositionTimer);
    return COleControl::DestroyWindow();
}

BOOL CVideoWindowCtrl::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case ID_CONTROL_PANEL:
        OnControlPanel();
        return TRUE;
    case ID_SHOW_PROPERTIES:
        OnShowProperties();
        return TRUE;
    case ID_FRAMES_FIELDS:
        OnToggleFramesFields();
        return TRUE;
    }
    return COleControl::OnCommand(wParam, lParam);
}

//////////////////////////////////////////////////////////////////////////////////////////
// Window

BOOL CVideoWindowCtrl::CreateEngine()
{
    m_pEngine = s_pfnMakeEngine ? s_pfnMakeEngine() : new CDsVideoEngine;
    m_pEngine->SetOwner(this);
    if (!m_pEngine->Init())
        return FALSE;
    s_lLastKnownGoodCamera = 0;
    s_lEngineType = m_pEngine->GetDriverType();
    return TRUE;
}

int CVideoWindowCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (COleControl::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nOSCode = (short)CGraphManager::GetOSVersionCode();
    CreateEngine();
    m_MemDC.CreateCompatibleDC(NULL);
    m_pOverlayBitmap = new CBitmapDIB;
    if (m_pOverlayBitmap->Create(kOverlayWidth, kOverlayHeight, 32))
        m_hOldBitmap = ::SelectObject(m_MemDC.m_hDC, m_pOverlayBitmap->GetSafeHandle());
    return 0;
}

void CVideoWindowCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kPositionTimer) {
        try {
            PositionTick();
        } catch (CException* e) {
            e->Delete();
            AfxMessageBox("Unhandled exception in CVideoWindowCtrl timer.");
        } catch (...) {
            AfxMessageBox("Unhandled exception in CVideoWindowCtrl timer.");
        }
    }
    Default();
}

void CVideoWindowCtrl::PositionTick()
{
    if (!m_pEngine || !m_pEngine->IsPlaying())
        return;
    long pos = m_pEngine->GetFieldPosition();
    // Wine's clock() counts processor time, not wall time: the tick count is the clock here.
    DWORD now = ::GetTickCount();
    m_dElapsed = (now - m_dwLastTick) * 0.001;
    m_dwLastTick = now;
    if (pos != m_lTimerPosition) {
        FirePosChanged(pos);
        // Two ticks within the same millisecond give no rate: the text keeps its last one.
        if (m_pControlPanel && m_pControlPanel->m_hWnd && m_dElapsed > 0) {
            CString text;
            text.Format("%4.1f fps", labs(pos - m_lTimerPosition) / m_dElapsed);
            m_pControlPanel->SetDlgItemText(IDC_FPS, text);
        }
    }
    m_lTimerPosition = pos;
}

LRESULT CVideoWindowCtrl::OnVideoNotify(WPARAM wParam, LPARAM)
{
    switch ((long)wParam) {
    case notifyEndOfRange:
        OnEndOfRange();
        break;
    case notifyRecordStopped:
    case notifyTriggeredStopped:
        SetRecordState(0);
        FireVideoStateChanged((LONG)wParam);
        break;
    case notifyRecordStarted:
    case notifyTriggeredStarted:
    case notifyTriggered:
        FireVideoStateChanged((LONG)wParam);
        break;
    }
    return 1;
}

void CVideoWindowCtrl::RewindTo(long field, BOOL overlayCheck)
{
    m_pEngine->SeekField(field, TRUE, overlayCheck);
    UpdatePosition();
    if (m_pEngine->GetShadowViewEnable()) {
        m_pEngine->SeekField(field, TRUE, overlayCheck);
        UpdatePosition();
    }
}

void CVideoWindowCtrl::OnEndOfRange()
{
    if (!m_pEngine)
        return;
    long pos = m_pEngine->GetFieldPosition();
    if (pos != m_lTimerPosition)
        FirePosChanged(pos);
    m_lTimerPosition = pos;
    m_lReportedPosition = -1;
    FireVideoStateChanged(notifyEndOfRange);
    if (!m_bAutoReplay && !m_bAutoRewind)
        return;
    if (m_pEngine->GetPlayLocked())
        return;
    if (m_pEngine->GetPlaySpeed() >= 0) {
        if (m_bAutoReplay) {
            BOOL real = m_pEngine->IsRealPlay();
            m_pEngine->SeekField(m_lTrimIn * 2, TRUE, FALSE);
            real ? RealPlay() : Play();
        } else {
            RewindTo(m_lTrimIn * 2, TRUE);
        }
    } else {
        if (m_bAutoReplay) {
            BOOL real = m_pEngine->IsRealPlay();
            m_pEngine->SeekField(m_lTrimOut * 2, TRUE, TRUE);
            real ? RealPlayBackwards() : PlayBackwards();
        } else {
            RewindTo(m_lTrimIn * 2, FALSE);
        }
    }
}

void CVideoWindowCtrl::BuildContextMenu(CMenu& menu)
{
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_CONTROL_PANEL, "&Control Panel...");
    UINT flags = MF_STRING | (m_pControlPanel ? 0 : MF_GRAYED);
    menu.AppendMenu(flags, ID_FRAMES_FIELDS,
                    m_pControlPanel && m_pControlPanel->m_bFramesMode ? "&Fields" : "&Frames");
    menu.AppendMenu(MF_SEPARATOR, 0, (LPCTSTR)NULL);
    menu.AppendMenu(MF_STRING, ID_SHOW_PROPERTIES, "Properties...");
}

void CVideoWindowCtrl::OnContextMenu(CWnd*, CPoint point)
{
    // The developer menu: the Control Panel, its frames/fields switch and the property frame.
    CMenu menu;
    BuildContextMenu(menu);
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, this);
    menu.DestroyMenu();
}

void CVideoWindowCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    FireMouseDown(LEFT_BUTTON, (short)(nFlags & 0xFFFF), point.x, point.y);
}

void CVideoWindowCtrl::OnParentNotify(UINT, LPARAM) { Default(); }

void CVideoWindowCtrl::OnControlPanel()
{
    if (!m_pControlPanel) {
        m_pControlPanel = new CControlPanelDlg;
        m_pControlPanel->m_pCtrl = this;
        m_pControlPanel->Create(IDD_CONTROL_PANEL, NULL);
    }
    m_pControlPanel->ShowWindow(SW_SHOW);
}

void CVideoWindowCtrl::OnShowProperties()
{
    CWnd* parent = GetParent();
    OnProperties(NULL, parent ? parent->m_hWnd : NULL, NULL);
}

void CVideoWindowCtrl::OnToggleFramesFields()
{
    if (m_pControlPanel && m_pControlPanel->m_hWnd)
        m_pControlPanel->UpdateFramesFields();
    UpdatePosition();
}

//////////////////////////////////////////////////////////////////////////////////////////
// Position, record state, overlay

// A container may call through IDispatch before the control's window, and with it the
// engine, exists: a member that needs the engine then answers E_UNEXPECTED and changes
// nothing.
CVideoEngine* CVideoWindowCtrl::Engine()
{
    if (!m_pEngine)
        ThrowError(E_UNEXPECTED);
    return m_pEngine;
}

void CVideoWindowCtrl::UpdatePosition()
{
    if (m_hWnd)
        Invalidate(TRUE);
    if (!m_pEngine)
        return;
    long pos = m_pEngine->GetFieldPosition();
    if (pos != m_lReportedPosition) {
        FirePosChanged(pos);
        m_lReportedPosition = pos;
    }
}

void CVideoWindowCtrl::SetRecordState(long state)
{
    m_bRecordResult = FALSE;
    if (state != m_lRecordState) {
        if (state == 1)
            m_bRecordResult = Engine()->StartRecord();
        else if (state == 0 && m_lRecordState == 1)
            m_bRecordResult = Engine()->StopRecord();
        FireVideoStateChanged(state);
    }
    m_lRecordState = state;
}

void CVideoWindowCtrl::RedrawOverlay()
{
    if (m_pOverlayBitmap && m_MemDC.m_hDC) {
        COLORREF key = m_pEngine ? m_pEngine->GetKeyColor() : RGB(0x10, 0x00, 0x10);
        m_MemDC.FillSolidRect(0, 0, m_pOverlayBitmap->m_nWidth, m_pOverlayBitmap->m_nHeight, key);
    }
    FireDrawOverlay(reinterpret_cast<LONG*>(&m_MemDC));
    m_bOverlayChanged = FALSE;
    UpdatePosition();
}

//////////////////////////////////////////////////////////////////////////////////////////
// Properties

LONG CVideoWindowCtrl::GetFrameCount() { return EngineValid() ? Engine()->GetFrameCount() : 0; }
void CVideoWindowCtrl::SetFrameCount(LONG) { SetNotSupported(); }

LONG CVideoWindowCtrl::GetFieldPosition() { return Engine()->GetFieldPosition(); }
void CVideoWindowCtrl::SetFieldPosition(LONG field)
{
    SeekField(field);
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetOverlayEnable() { return m_bOverlayEnable; }
void CVideoWindowCtrl::SetOverlayEnable(BOOL on)
{
    on = on ? TRUE : FALSE;
    if (on == m_bOverlayEnable)
        return;
    CVideoEngine* engine = Engine();
    m_bOverlayEnable = on;
    engine->SetOverlayEnable(on);
    if (!m_bReplayRunning && !m_bLockedRunning)
        Engine()->Refresh();
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetCaptureEnable() { return m_bCaptureEnable; }
void CVideoWindowCtrl::SetCaptureEnable(BOOL on)
{
    CVideoEngine* engine = Engine();
    m_bCaptureEnable = on ? TRUE : FALSE;
    engine->SetCaptureEnable(m_bCaptureEnable);
    SetModifiedFlag();
}

LONG CVideoWindowCtrl::GetTrimIn() { return m_lTrimIn; }
void CVideoWindowCtrl::SetTrimIn(LONG frame)
{
    if (Engine()->SetTrimIn(frame)) {
        m_lTrimIn = frame;
        SetModifiedFlag();
    }
}

LONG CVideoWindowCtrl::GetTrimOut() { return m_lTrimOut; }
void CVideoWindowCtrl::SetTrimOut(LONG frame)
{
    if (Engine()->SetTrimOut(frame)) {
        m_lTrimOut = frame;
        SetModifiedFlag();
    }
}

BOOL CVideoWindowCtrl::GetAutoReplay() { return m_bAutoReplay; }
void CVideoWindowCtrl::SetAutoReplay(BOOL on)
{
    m_bAutoReplay = on ? TRUE : FALSE;
    if (!on)
        m_bReplayRunning = false;
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetAutoRewind() { return m_bAutoRewind; }
void CVideoWindowCtrl::SetAutoRewind(BOOL on)
{
    m_bAutoRewind = on ? TRUE : FALSE;
    SetModifiedFlag();
}

LONG CVideoWindowCtrl::GetSoundMarkFrame() { return Engine()->GetSoundMarkFrame(); }
void CVideoWindowCtrl::SetSoundMarkFrame(LONG) { SetModifiedFlag(); }

LONG CVideoWindowCtrl::GetSoundThreshold() { return 0; }
void CVideoWindowCtrl::SetSoundThreshold(LONG percent)
{
    Engine()->SetSoundThreshold(percent);
    m_lSoundThreshold = percent;
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetOverlayChanged() { return m_bOverlayChanged; }
void CVideoWindowCtrl::SetOverlayChanged(BOOL changed)
{
    // The redraw needs the engine's key colour and the window's memory DC.
    if (changed && !m_bReplayRunning && !m_bLockedRunning)
        Engine();
    m_bOverlayChanged = changed ? TRUE : FALSE;
    SetModifiedFlag();
    if (changed && !m_bReplayRunning && !m_bLockedRunning) {
        RedrawOverlay();
        Engine()->Refresh();
    }
}

LONG CVideoWindowCtrl::GetPreTrigFrames() { return Engine()->GetPreTrigFrames(); }
void CVideoWindowCtrl::SetPreTrigFrames(LONG frames)
{
    Engine()->SetPreTrigFrames(frames);
    SetModifiedFlag();
}

LONG CVideoWindowCtrl::GetPostTrigFrames() { return Engine()->GetPostTrigFrames(); }
void CVideoWindowCtrl::SetPostTrigFrames(LONG frames)
{
    Engine()->SetPostTrigFrames(frames);
    SetModifiedFlag();
}

LONG CVideoWindowCtrl::GetCapturedFrames() { return Engine()->GetCapturedFrames(); }
void CVideoWindowCtrl::SetCapturedFrames(LONG) {}

BOOL CVideoWindowCtrl::GetMirror() { return m_bMirror; }
void CVideoWindowCtrl::SetMirror(BOOL on)
{
    CVideoEngine* engine = Engine();
    m_bMirror = on ? TRUE : FALSE;
    SetModifiedFlag();
    engine->SetMirror(m_bMirror);
    engine->Refresh();
}

BOOL CVideoWindowCtrl::GetPlayLocked() { return Engine()->GetPlayLocked(); }
void CVideoWindowCtrl::SetPlayLocked(BOOL on)
{
    Engine()->SetPlayLocked(on ? TRUE : FALSE);
    m_bLockedRunning = on != 0;
    SetModifiedFlag();
}

LONG CVideoWindowCtrl::GetLockOffset() { return Engine()->GetLockOffset(); }
void CVideoWindowCtrl::SetLockOffset(LONG fields)
{
    Engine()->SetLockOffset(fields);
    SetModifiedFlag();
}

float CVideoWindowCtrl::GetPlaySpeed() { return Engine()->GetPlaySpeed(); }
void CVideoWindowCtrl::SetPlaySpeed(float speed)
{
    Engine()->SetPlaySpeed(speed);
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetSuccFramesEnable() { return Engine()->GetSuccFramesEnable(); }
void CVideoWindowCtrl::SetSuccFramesEnable(BOOL on)
{
    if (!EngineValid())
        return;
    Engine()->SetSuccFramesEnable(on ? TRUE : FALSE);
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetShadowViewEnable() { return Engine()->GetShadowViewEnable(); }
void CVideoWindowCtrl::SetShadowViewEnable(BOOL on)
{
    if (EngineValid()) {
        if (!on && Engine()->GetShadowViewEnable() && Engine()->GetMergeContinousActive())
            SetMergeContinousActive(FALSE);
        if (!on) {
            if (Engine()->GetShadowViewEnable())
                Engine()->SetShadowViewEnable(FALSE);
        } else {
            Engine()->SetShadowViewEnable(TRUE);
        }
    }
    SetModifiedFlag();
}

LONG CVideoWindowCtrl::GetShadowViewMix() { return EngineValid() ? Engine()->GetShadowViewMix() : 0; }
void CVideoWindowCtrl::SetShadowViewMix(LONG mix)
{
    if (!EngineValid())
        return;
    Engine()->SetShadowViewMix(mix);
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetBlendViewEnable() { return m_bBlendView; }
void CVideoWindowCtrl::SetBlendViewEnable(BOOL on)
{
    CVideoEngine* engine = Engine();
    m_bBlendView = on ? TRUE : FALSE;
    if (m_bBlendView)
        engine->BlendViewOn();
    else
        engine->BlendViewOff();
    SetModifiedFlag();
}

LONG CVideoWindowCtrl::GetBlendViewTrans() { return Engine()->GetBlendViewTrans(); }
void CVideoWindowCtrl::SetBlendViewTrans(LONG transparency)
{
    Engine()->SetBlendViewTrans(transparency);
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetMergeContinousActive() { return Engine()->GetMergeContinousActive(); }
void CVideoWindowCtrl::SetMergeContinousActive(BOOL on)
{
    Engine()->SetMergeContinousActive(on != 0);
    SetModifiedFlag();
}

//////////////////////////////////////////////////////////////////////////////////////////
// Methods

BOOL CVideoWindowCtrl::StepField(LONG fields)
{
    if (EngineValid()) {
        SetRecordState(0);
        Engine()->StepField(fields);
        UpdatePosition();
    }
    return TRUE;
}

LONG CVideoWindowCtrl::Seek(LONG frame)
{
    if (!EngineValid())
        return 0;
    long field = Engine()->Seek(frame);
    UpdatePosition();
    return field;
}

// A step of whole frames: two fields per frame, so the parity of the position is kept.
BOOL CVideoWindowCtrl::Step(LONG frames)
{
    if (EngineValid()) {
        SetRecordState(0);
        Engine()->StepField(frames * 2);
        UpdatePosition();
    }
    return TRUE;
}

LONG CVideoWindowCtrl::SeekField(LONG field)
{
    if (!EngineValid())
        return 0;
    SetRecordState(0);
    long result = Engine()->SeekField(field, FALSE, FALSE);
    UpdatePosition();
    return result;
}

BOOL CVideoWindowCtrl::StartPlay(BOOL (CVideoEngine::*play)(), bool setLocked)
{
    if (!EngineValid())
        return FALSE;
    SetRecordState(0);
    if (m_bAutoReplay)
        m_bReplayRunning = true;
    if (setLocked && Engine()->GetPlayLocked())
        m_bLockedRunning = true;
    return (Engine()->*play)();
}

BOOL CVideoWindowCtrl::Play() { return StartPlay(&CVideoEngine::Play, true); }
BOOL CVideoWindowCtrl::PlayBackwards() { return StartPlay(&CVideoEngine::PlayBackwards, false); }
BOOL CVideoWindowCtrl::RealPlay() { return StartPlay(&CVideoEngine::RealPlay, true); }
BOOL CVideoWindowCtrl::RealPlayBackwards() { return StartPlay(&CVideoEngine::RealPlayBackwards, true); }

BOOL CVideoWindowCtrl::Stop()
{
    SetRecordState(0);
    BOOL r = Engine()->Stop();
    m_bReplayRunning = false;
    m_bLockedRunning = false;
    return r;
}

BOOL CVideoWindowCtrl::Pause()
{
    if (!EngineValid())
        return FALSE;
    SetRecordState(0);
    return Engine()->Pause();
}

BOOL CVideoWindowCtrl::SetCrop(float x, float y, float cx, float cy) { return Engine()->SetCrop(x, y, cx, cy); }

BOOL CVideoWindowCtrl::Record()
{
    Engine();
    SetRecordState(1);
    return m_bRecordResult;
}

BOOL CVideoWindowCtrl::SetCaptureFilename(LPCTSTR filename)
{
    CVideoEngine* engine = Engine();
    m_strCaptureFile = filename;
    return engine->SetCaptureFilename(m_strCaptureFile);
}

BOOL CVideoWindowCtrl::TriggerCapture()
{
    Engine()->TriggerCapture();
    return TRUE;
}

BOOL CVideoWindowCtrl::LoadAVIFile(LPCTSTR filename, LONG)
{
    BOOL ok = Engine()->LoadFile(filename);
    if (ok) {
        m_lTrimIn = Engine()->GetFirstValidFrame();
        m_lTrimOut = Engine()->GetFrameCount() - 1;
        long w = Engine()->GetClipWidth(), h = Engine()->GetClipHeight();
        if (m_pOverlayBitmap &&
            (m_pOverlayBitmap->m_nWidth != w || m_pOverlayBitmap->m_nHeight != h)) {
            if (m_hOldBitmap)
                ::SelectObject(m_MemDC.m_hDC, m_hOldBitmap);
            m_hOldBitmap = NULL;
            delete m_pOverlayBitmap;
            m_pOverlayBitmap = NULL;
        }
        if (!m_pOverlayBitmap) {
            m_pOverlayBitmap = new CBitmapDIB;
            m_pOverlayBitmap->Create(w, h, 32);
        }
        Engine()->SetOverlayBitmap(m_pOverlayBitmap->m_pBits, m_pOverlayBitmap->m_nWidth,
                                    m_pOverlayBitmap->m_nHeight);
        if (m_MemDC.m_hDC && m_pOverlayBitmap->GetSafeHandle()) {
            HGDIOBJ old = ::SelectObject(m_MemDC.m_hDC, m_pOverlayBitmap->GetSafeHandle());
            if (!m_hOldBitmap)
                m_hOldBitmap = old;
        }
    } else {
        if (m_pOverlayBitmap)
            Engine()->SetOverlayBitmap(m_pOverlayBitmap->m_pBits, m_pOverlayBitmap->m_nWidth,
                                        m_pOverlayBitmap->m_nHeight);
        SetOverlayChanged(TRUE);
    }
    if (m_bFirstLoad) {
        if (m_hWnd) {
            SetTimer(kPositionTimer, kPositionPeriod, NULL);
            m_dwLastTick = ::GetTickCount();
        }
        m_bFirstLoad = FALSE;
    }
    return ok;
}

BOOL CVideoWindowCtrl::IsPlaying() { return Engine()->IsPlaying(); }

BOOL CVideoWindowCtrl::ShowDisplayDlg()
{
    Engine()->CreateCaptureGraph();
    return Engine()->ShowDisplayDlg();
}

BOOL CVideoWindowCtrl::ShowFormatDlg()
{
    Engine()->CreateCaptureGraph();
    return Engine()->ShowFormatDlg();
}

BOOL CVideoWindowCtrl::ShowSourceDlg()
{
    Engine()->CreateCaptureGraph();
    return Engine()->ShowSourceDlg();
}

BOOL CVideoWindowCtrl::IsValid() { return EngineValid(); }

// pDC is the address of the caller's device-context object, which may belong to another
// module: only its handle is used.
BOOL CVideoWindowCtrl::Draw(LONG* pDC, LONG*)
{
    if (!pDC)
        return TRUE;
    HDC hdc = reinterpret_cast<CDC*>(pDC)->m_hDC;
    if (!hdc)
        return TRUE;
    CDC* dc = CDC::FromHandle(hdc);
    CRect rect(0, 0, Engine()->GetClipWidth() - 1, Engine()->GetClipHeight() - 1);
    if (!m_bLive) {
        Engine()->DrawFrame(dc, &rect);
    } else {
        CBrush brush(Engine()->GetKeyColor());
        dc->FillRect(&rect, &brush);
    }
    return TRUE;
}

BOOL CVideoWindowCtrl::SetMask(float x, float y, float cx, float cy)
{
    Engine()->SetMask(x, y, cx, cy);
    return TRUE;
}

BOOL CVideoWindowCtrl::SetCropPos(float x, float y)
{
    Engine()->SetCropPos(x, y);
    return TRUE;
}

BOOL CVideoWindowCtrl::SetCropSize(float cx, float cy)
{
    Engine()->SetCropSize(cx, cy);
    return TRUE;
}

namespace {

// The caller's array holds 32-bit longs; the engine's take the platform's long. The engine
// keeps at most eight entries, so no more are read from the caller.
std::vector<long> Widen(LONG count, const LONG* values)
{
    std::vector<long> out;
    if (values)
        for (LONG i = 0; i < count && i < 8; ++i)
            out.push_back(values[i]);
    return out;
}

} // namespace

BOOL CVideoWindowCtrl::SetSuccFramesSource(LONG count, LONG* framearray)
{
    std::vector<long> fields = Widen(count, framearray);
    Engine()->SetSuccFramesSource(framearray ? (long)fields.size() : count,
                                   fields.empty() ? NULL : fields.data());
    return TRUE;
}

BOOL CVideoWindowCtrl::SetShadowViewTabs(LONG count, LONG* tabarray)
{
    std::vector<long> tabs = Widen(count, tabarray);
    Engine()->SetShadowViewTabs(tabarray ? (long)tabs.size() : count,
                                 tabs.empty() ? NULL : tabs.data());
    return TRUE;
}

LONG_PTR CVideoWindowCtrl::GetVideoFormat()
{
    Engine()->CreateCaptureGraph();
    return Engine()->IsGraphBuilt() ? Engine()->GetVideoFormat() : 0;
}

LONG CVideoWindowCtrl::GetKeyColor() { return (LONG)Engine()->GetKeyColor(); }
LONG CVideoWindowCtrl::GetDroppedFrames() { return Engine()->GetDroppedFrames(); }
BSTR CVideoWindowCtrl::GetDriverName() { return Engine()->GetDriverName().AllocSysString(); }
BSTR CVideoWindowCtrl::GetDriverDescription() { return Engine()->GetDriverDescription().AllocSysString(); }
LONG CVideoWindowCtrl::GetDriverType() { return Engine()->GetDriverType(); }
BOOL CVideoWindowCtrl::IsCaptureDeviceActive() { return Engine()->IsCaptureDeviceActive(); }

BOOL CVideoWindowCtrl::TrimFile(LPCTSTR inFile, LPCTSTR outFile, LONG trimIn, LONG trimOut)
{
    return Engine()->TrimFile(inFile, outFile, trimIn, trimOut);
}

BOOL CVideoWindowCtrl::EnableSonderic(BOOL on) { return Engine()->EnableSonderic(on != 0); }
void CVideoWindowCtrl::DisableCapture() { Engine()->DisableCapture(); }
BOOL CVideoWindowCtrl::IsOverlayCapable() { return Engine()->IsOverlayCapable(); }
double CVideoWindowCtrl::GetFrameRate() { return Engine()->GetFrameRate(); }
LONG CVideoWindowCtrl::GetFirstValidFrame() { return Engine()->GetFirstValidFrame(); }
BOOL CVideoWindowCtrl::Transcode(LPCTSTR inFile, LPCTSTR outFile) { return Engine()->Transcode(inFile, outFile); }
BOOL CVideoWindowCtrl::SetMarkFieldAdjust(LONG fields) { return Engine()->SetMarkFieldAdjust(fields); }

void CVideoWindowCtrl::SetLastKnownGoodCamera(short camera)
{
    // The value is the process's: it is kept even before this control has an engine to
    // retry the camera with.
    s_lLastKnownGoodCamera = camera;
    if (s_lEngineType == 1 && m_pEngine && !m_pEngine->Init() &&
        (short)s_lLastKnownGoodCamera == 1)
        AfxMessageBox("Error: Unable to connect to video camera. To enable live mode, please "
                      "reconnect device and reboot.",
                      MB_ICONSTOP);
}

short CVideoWindowCtrl::GetLastKnownGoodCamera()
{
    if (m_pEngine && m_pEngine->GetCameraFound())
        s_lLastKnownGoodCamera = 0;
    return (short)s_lLastKnownGoodCamera;
}

void CVideoWindowCtrl::SetLiveVideoMode(BOOL on, BOOL verbose)
{
    Engine();
    m_bLive = on ? TRUE : FALSE;
    Stop();
    BOOL r;
    if (m_bLive) {
        Engine()->CreateCaptureGraph();
        r = Engine()->SetLive(TRUE, verbose);
        if (!r)
            Engine()->SetLive(FALSE, verbose);
    } else {
        r = Engine()->SetLive(FALSE, verbose);
    }
    UpdatePosition();
    if (!r)
        m_bLive = FALSE;
    SetModifiedFlag();
}

BOOL CVideoWindowCtrl::GetLiveVideoMode() { return m_bLive; }
short CVideoWindowCtrl::GetNumCaptureDevices() { return (short)Engine()->GetNumCaptureDevices(); }
void CVideoWindowCtrl::SetCaptureDevice(short device) { Engine()->SetCaptureDevice(device); }
short CVideoWindowCtrl::GetCurCaptureDevice() { return (short)Engine()->GetCurCaptureDevice(); }
short CVideoWindowCtrl::GetOS() { return m_nOSCode; }
BSTR CVideoWindowCtrl::GetCaptureDriverName(short device) { return Engine()->GetCaptureDriverName(device).AllocSysString(); }
void CVideoWindowCtrl::SetCaptureDriverName(LPCTSTR name) { Engine()->SetCaptureDriverName(name); }
short CVideoWindowCtrl::GetCaptureDriverCount() { return (short)Engine()->GetCaptureDriverCount(); }

BOOL CVideoWindowCtrl::ClearShadowView()
{
    if (EngineValid())
        Engine()->ClearShadowView();
    return TRUE;
}

BOOL CVideoWindowCtrl::MergeShadowView()
{
    if (EngineValid())
        Engine()->MergeShadowView();
    return TRUE;
}

LONG CVideoWindowCtrl::GetClipWidth() { return Engine()->GetClipWidth(); }
LONG CVideoWindowCtrl::GetClipHeight() { return Engine()->GetClipHeight(); }
void CVideoWindowCtrl::BlendFrame() { Engine()->BlendFrame(); }
void CVideoWindowCtrl::SetSkipFields(short fields) { Engine()->SetSkipFields(fields); }

void CVideoWindowCtrl::AboutBox()
{
    CDialog dlg(IDD_ABOUTBOX_VIDEOWINDOW);
    dlg.DoModal();
}
