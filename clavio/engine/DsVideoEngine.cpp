#include "DsVideoEngine.h"
#include "PlaybackGraph.h"
#include "ShadowView.h"
#include "BitmapDIB.h"
#include "CaptureGraph.h"
#include "TrimGraph.h"
#include "TranscodeGraph.h"
#include "../../filters/sonderic/ileveltrigger.h"
#include <cmath>

namespace {

// Process-wide: engines are numbered as they are made; only number 0 may own the camera.
// A camera that any engine found counts as found for the rest of the process.
LONG g_engineCounter = 0;
BYTE g_cameraFound = 0;

} // namespace

CDsVideoEngine::CDsVideoEngine()
    : m_pPlaybackGraph(NULL), m_pCaptureGraph(NULL), m_nDeviceIndex(0),
      m_nInstance(int(InterlockedIncrement(&g_engineCounter) - 1)), m_lPreFrames(0),
      m_lPostFrames(0), m_bLocked(FALSE), m_lLockOffset(0), m_bSuccFramesOn(FALSE),
      m_lSuccCount(0), m_bShadowViewOn(FALSE), m_lShadowTabCount(0), m_pShadowView(NULL),
      m_lCaptureEnable(0), m_bOverlayEnable(FALSE), m_bLive(FALSE), m_lTrimIn(0), m_lTrimOut(0),
      m_bRealPlay(FALSE), m_bCameraFound(0), m_pViewBitmap(NULL), m_hOldBitmap(NULL),
      m_bMirror(FALSE), m_bMergeSuppressed(FALSE), m_lStepCounter(0), m_lSkipFields(0),
      m_bNameChanged(0), m_lDriverCount(0), m_lBuiltDevice(0), m_lDeviceCount(0),
      m_lCurrentDevice(0), m_crKeyColor(0x100010)
{
    m_lEngineType = 1;
    for (int i = 0; i < 8; ++i)
        m_lSuccSources[i] = m_lShadowTabs[i] = 0;
    m_fMask[0] = m_fMask[1] = m_fCrop[0] = m_fCrop[1] = 0.0f;
    m_fMask[2] = m_fMask[3] = m_fCrop[2] = m_fCrop[3] = 1.0f;
    CDC screen;
    screen.Attach(::GetDC(NULL));
    m_MemDC.CreateCompatibleDC(&screen);
    ::ReleaseDC(NULL, screen.Detach());
    m_hOldBitmap = ::GetCurrentObject(m_MemDC.m_hDC, OBJ_BITMAP);
}

CDsVideoEngine::~CDsVideoEngine()
{
    delete m_pCaptureGraph;
    delete m_pPlaybackGraph;
    delete m_pShadowView;
    if (m_MemDC.m_hDC && m_hOldBitmap)
        ::SelectObject(m_MemDC.m_hDC, m_hOldBitmap);
    delete m_pViewBitmap;
}

// ---------------------------------------------------------------------------------------
// Lifecycle and devices

BOOL CDsVideoEngine::CreatePlaybackGraph()
{
    if (m_pPlaybackGraph)
        return TRUE;
    m_pPlaybackGraph = new CPlaybackGraph;
    m_pPlaybackGraph->SetNotifyWindow(OwnerWindow());
    m_pPlaybackGraph->CreateGraph(NULL);
    m_pPlaybackGraph->LoadFile("");
    return TRUE;
}

BOOL CDsVideoEngine::Init()
{
    CreatePlaybackGraph();
    m_nDeviceIndex = 0;
    m_bCameraFound = 0;
    m_lDeviceCount = 0;
    if (m_MemDC.GetDeviceCaps(BITSPIXEL) == 1)
        return FALSE;
    int found = 0;
    for (int index = 0; index < 6 && found < 10; ++index) {
        if (IBaseFilter* device = CGraphManager::CreateVideoDevice(index, m_strDeviceNames[found])) {
            device->Release();
            ++found;
        }
    }
    if (found > 0)
        m_lDriverCount = found;
    long count = 0;
    for (m_nDeviceIndex = 0; m_nDeviceIndex < 4; ++m_nDeviceIndex) {
        CString name = m_strCaptureDriverName;
        if (IBaseFilter* device = CGraphManager::CreateVideoDevice(m_nDeviceIndex, name)) {
            device->Release();
            m_bCameraFound = 1;
            g_cameraFound = 1;
            ++count;
        }
    }
    m_nDeviceIndex = 0;
    if (count > 0) {
        if (count == 1)
            m_lCurrentDevice = 0;
        m_lDeviceCount = count;
        return TRUE;
    }
    return FALSE;
}

BOOL CDsVideoEngine::CreateCaptureGraph()
{
    if (m_nInstance > 0)
        return FALSE;
    if (m_pCaptureGraph) {
        if (m_pCaptureGraph->IsCameraPresent() && !Init()) {
            m_pCaptureGraph->SetCameraPresent(0);
            return FALSE;
        }
        if (m_lBuiltDevice == m_lCurrentDevice && !m_bNameChanged) {
            if (m_bCameraFound && m_pCaptureGraph->IsCameraPresent())
                return TRUE;
            if (!Init())
                return TRUE;
        }
        delete m_pCaptureGraph;
        m_pCaptureGraph = NULL;
        m_bNameChanged = 0;
    }
    if (!m_bCameraFound && !Init())
        return FALSE;
    m_pCaptureGraph = new CCaptureGraph;
    m_bNameChanged = 0;
    m_pCaptureGraph->SetNotifyWindow(OwnerWindow());
    m_pCaptureGraph->CreateGraph(NULL);
    m_pCaptureGraph->m_strVideoDevice = m_strCaptureDriverName;
    HRESULT hr = m_pCaptureGraph->BuildPreviewGraph(int(m_lCurrentDevice));
    m_lBuiltDevice = m_lCurrentDevice;
    if (SUCCEEDED(hr)) {
        m_pCaptureGraph->SetupVideoWindow(OwnerWindow());
        return TRUE;
    }
    delete m_pCaptureGraph;
    m_pCaptureGraph = NULL;
    return FALSE;
}

BOOL CDsVideoEngine::IsCaptureDeviceActive()
{
    return m_pCaptureGraph && m_pCaptureGraph->IsCameraPresent();
}

BOOL CDsVideoEngine::IsGraphBuilt()
{
    return IsCaptureDeviceActive() ? m_pCaptureGraph->IsBuilt() : FALSE;
}

bool CDsVideoEngine::IsOverlayCapable()
{
    return !m_pCaptureGraph || m_pCaptureGraph->IsOverlayActive();
}

LONG_PTR CDsVideoEngine::GetVideoFormat()
{
    return m_pCaptureGraph ? (LONG_PTR)m_pCaptureGraph->GetBitmapInfoHeader() : 0;
}

CString CDsVideoEngine::GetDriverName()
{
    return IsCaptureDeviceActive() ? m_pCaptureGraph->m_strVideoDevice : CString("<NONE>");
}

void CDsVideoEngine::DisableCapture()
{
    if (m_pCaptureGraph)
        m_pCaptureGraph->OnCameraLost();
}

BOOL CDsVideoEngine::IsCaptureRunning()
{
    return IsCaptureDeviceActive() && m_pCaptureGraph->IsCapturing();
}

void CDsVideoEngine::Post(WPARAM code)
{
    HWND window = OwnerWindow() ? OwnerWindow()->GetSafeHwnd() : NULL;
    if (window)
        ::PostMessageA(window, WM_VIDEO_NOTIFY, code, 0);
}

BOOL CDsVideoEngine::StartRecord()
{
    if (!IsCaptureDeviceActive())
        return FALSE;
    HRESULT hr = m_pCaptureGraph->BeginRecording();
    if (IsCaptureRunning())
        Post(m_lCaptureEnable == 1 ? 203 : 202);
    return SUCCEEDED(hr);
}

BOOL CDsVideoEngine::StopRecord()
{
    if (!IsCaptureDeviceActive())
        return FALSE;
    if (IsCaptureRunning())
        Post(m_lCaptureEnable == 1 ? 201 : 200);
    return SUCCEEDED(m_pCaptureGraph->StopRecording());
}

BOOL CDsVideoEngine::TriggerCapture()
{
    if (!IsCaptureDeviceActive())
        return FALSE;
    if (!m_pCaptureGraph->TriggerNow())
        return FALSE;
    if (IsCaptureRunning())
        Post(204);
    return TRUE;
}

BOOL CDsVideoEngine::SetPreTrigFrames(long frames)
{
    if (!IsCaptureDeviceActive())
        return FALSE;
    m_lPreFrames = frames;
    return m_pCaptureGraph->SetPreTriggerFrames(int(frames));
}

BOOL CDsVideoEngine::SetPostTrigFrames(long frames)
{
    if (!IsCaptureDeviceActive())
        return FALSE;
    m_lPostFrames = frames;
    return m_pCaptureGraph->SetPostTriggerFrames(int(frames));
}

BOOL CDsVideoEngine::SetMarkFieldAdjust(long fields)
{
    if (!IsCaptureDeviceActive())
        return FALSE;
    return m_pCaptureGraph->SetTriggerOffset(int(fields));
}

BOOL CDsVideoEngine::EnableSonderic(bool on)
{
    if (!IsCaptureDeviceActive())
        return FALSE;
    m_pCaptureGraph->EnableSonderic(on);
    return TRUE;
}

BOOL CDsVideoEngine::SetSoundThreshold(long percent)
{
    if (m_pCaptureGraph && m_pCaptureGraph->GetLevelTrigger())
        m_pCaptureGraph->GetLevelTrigger()->SetThreshold(int(percent));
    return TRUE;
}

long CDsVideoEngine::GetSoundMarkFrame()
{
    if (!m_pCaptureGraph || !m_pCaptureGraph->IsCameraPresent())
        return 0;
    return m_pCaptureGraph->GetTriggerParity() + m_lPreFrames * 2;
}

long CDsVideoEngine::GetDroppedFrames()
{
    return IsCaptureDeviceActive() ? m_pCaptureGraph->GetFramesDropped() : 0;
}

COLORREF CDsVideoEngine::GetKeyColor()
{
    if (m_pCaptureGraph)
        m_crKeyColor = m_pCaptureGraph->GetKeyColor();
    return m_crKeyColor;
}

void CDsVideoEngine::SetCaptureDriverName(CString name)
{
    m_bNameChanged = BYTE(name != m_strCaptureDriverName);
    m_strCaptureDriverName = name;
    if (m_pCaptureGraph)
        m_pCaptureGraph->m_strVideoDevice = name;
}

CString CDsVideoEngine::GetCaptureDriverName(short index)
{
    if (index >= 0 && index < m_lDriverCount && index < 10)
        return m_strDeviceNames[index];
    return CString();
}

bool CDsVideoEngine::GetCameraFound() { return g_cameraFound != 0; }

BOOL CDsVideoEngine::ShowDisplayDlg()
{
    if (!m_bLive && m_pPlaybackGraph)
        m_pPlaybackGraph->ShowRendererPages();
    else if (m_bLive && IsCaptureDeviceActive())
        m_pCaptureGraph->ShowRendererPages();
    return TRUE;
}

BOOL CDsVideoEngine::SetCaptureFilename(CString name)
{
    if (!IsCaptureDeviceActive()) {
        AfxMessageBox("Cannot record. \n", MB_OK);
        return FALSE;
    }
    m_pCaptureGraph->m_nRecordMode = int(m_lCaptureEnable);
    return SUCCEEDED(m_pCaptureGraph->StartRecord(name));
}

BOOL CDsVideoEngine::SetCaptureEnable(BOOL triggered)
{
    m_lCaptureEnable = triggered;
    return TRUE;
}

long CDsVideoEngine::GetCapturedFrames()
{
    if (m_lCaptureEnable != 1 && m_pCaptureGraph)
        return m_pCaptureGraph->GetFramesNotDropped();
    return m_lPreFrames + m_lPostFrames + 1;
}

BOOL CDsVideoEngine::SetLive(BOOL on, BOOL verbose)
{
    if (on) {
        if (m_pPlaybackGraph) {
            m_pPlaybackGraph->ShowVideoWindow(FALSE);
            m_pPlaybackGraph->PausePlay();
        }
        if (IsCaptureDeviceActive()) {
            m_pCaptureGraph->ShowVideoWindow(TRUE);
            if (FAILED(m_pCaptureGraph->Run(false)))
                m_pCaptureGraph->OnCameraLost();
        }
        if (m_bCameraFound && IsCaptureDeviceActive()) {
            m_bLive = TRUE;
            return TRUE;
        }
        if (verbose)
            AfxMessageBox("Your video camera is not on or not connected.  Click OK to continue "
                          "without the camera.  To view the camera, connect the firewire and "
                          "click live camera. ",
                          MB_OK);
        if (m_pPlaybackGraph) {
            m_pPlaybackGraph->ShowVideoWindow(TRUE);
            m_pPlaybackGraph->PausePlay();
        }
        m_bLive = FALSE;
        return FALSE;
    }
    if (m_pPlaybackGraph) {
        m_pPlaybackGraph->ShowVideoWindow(TRUE);
        m_pPlaybackGraph->PausePlay();
    }
    if (IsCaptureDeviceActive()) {
        m_pCaptureGraph->ShowVideoWindow(FALSE);
        m_pCaptureGraph->Stop(true);
    }
    m_bLive = FALSE;
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Playback

BOOL CDsVideoEngine::LoadFile(LPCTSTR path)
{
    if (m_pPlaybackGraph) {
        m_pPlaybackGraph->SetPlayLocked(FALSE);
        m_pPlaybackGraph->Stop(true);
        const int index = m_pPlaybackGraph->GetIndex();
        // The shadow view's pictures are the old clip's and it points at the graph about
        // to go: the view ends with it, and keeps no pointer to it.
        if (m_pShadowView) {
            if (m_bShadowViewOn) {
                m_pPlaybackGraph->SetShadowViewActive(FALSE);
                m_pPlaybackGraph->SetOutputDC(NULL, FALSE);
                m_pPlaybackGraph->SetShadowView(NULL);
                m_bShadowViewOn = FALSE;
            }
            m_pShadowView->FreeFrames();
            m_pShadowView->m_pGraph = NULL;
        }
        delete m_pPlaybackGraph;
        // The new graph takes the old one's entry of the pair.
        m_pPlaybackGraph = new CPlaybackGraph(index);
        m_pPlaybackGraph->SetNotifyWindow(OwnerWindow());
        m_pPlaybackGraph->CreateGraph(NULL);
        m_pPlaybackGraph->LoadFile("");
    } else {
        CreatePlaybackGraph();
    }
    m_pPlaybackGraph->SetVideoOwner(OwnerWindow());
    HRESULT hr = m_pPlaybackGraph->LoadFile(path ? path : "");
    const bool empty = !path || !*path;
    if (SUCCEEDED(hr) && !empty) {
        SetCrop(m_fCrop[0], m_fCrop[1], m_fCrop[2], m_fCrop[3]);
        SetMask(m_fMask[0], m_fMask[1], m_fMask[2], m_fMask[3]);
        if (IsCaptureRunning())
            StopRecord();
        SetLive(FALSE, FALSE);
    }
    return !empty && SUCCEEDED(hr);
}

BOOL CDsVideoEngine::IsValid() { return m_pPlaybackGraph ? m_pPlaybackGraph->IsFileOpened() : FALSE; }

long CDsVideoEngine::GetFrameCount()
{
    long frames = 0;
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->GetDuration(&frames);
    return frames;
}

long CDsVideoEngine::GetClipWidth() { return m_pPlaybackGraph ? m_pPlaybackGraph->GetFrameWidth() : 0; }
long CDsVideoEngine::GetClipHeight() { return m_pPlaybackGraph ? m_pPlaybackGraph->GetFrameHeight() : 0; }
double CDsVideoEngine::GetFrameRate() { return m_pPlaybackGraph ? m_pPlaybackGraph->GetFrameRate() : 0.0; }
long CDsVideoEngine::GetFirstValidFrame() { return m_pPlaybackGraph ? m_pPlaybackGraph->GetFirstValidFrame() : 0; }
long CDsVideoEngine::GetFieldPosition() { return m_pPlaybackGraph ? m_pPlaybackGraph->GetFieldPosition() : 0; }

long CDsVideoEngine::SeekField(long field, BOOL keepMode, BOOL overlayCheck)
{
    if (!m_pPlaybackGraph)
        return 0;
    if (field < 0)
        field = 0;
    if (field < m_lTrimIn * 2)
        field = m_lTrimIn * 2;
    if (field > m_lTrimOut * 2 + 1)
        field = m_lTrimOut * 2 + 1;
    m_pPlaybackGraph->SetField(int(field % 2));
    m_pPlaybackGraph->ClearPlaying();
    ShadowStepHook(field);
    m_pPlaybackGraph->SeekFrame(int(field / 2), keepMode != FALSE, overlayCheck != FALSE);
    return m_pPlaybackGraph->GetFieldPosition();
}

BOOL CDsVideoEngine::StepField(long fields)
{
    if (!m_pPlaybackGraph)
        return FALSE;
    long p = GetFieldPosition() + fields;
    if (p < m_lTrimIn * 2)
        SeekField(m_lTrimIn * 2, FALSE, FALSE);
    else if (p > m_lTrimOut * 2 + 1)
        SeekField(m_lTrimOut * 2 + 1, FALSE, FALSE);
    else {
        ShadowStepHook(p);
        m_pPlaybackGraph->StepFields(int(fields));
    }
    return TRUE;
}

long CDsVideoEngine::Seek(long frame)
{
    if (!m_pPlaybackGraph)
        return 0;
    m_pPlaybackGraph->SeekFrame(int(frame), false, false);
    return m_pPlaybackGraph->GetFieldPosition();
}

BOOL CDsVideoEngine::Play()
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_bRealPlay = FALSE;
    m_pPlaybackGraph->EnableDeinterlace(FALSE);
    m_pPlaybackGraph->PlayForward();
    return TRUE;
}

BOOL CDsVideoEngine::PlayBackwards()
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_bRealPlay = FALSE;
    m_pPlaybackGraph->EnableDeinterlace(FALSE);
    m_pPlaybackGraph->PlayBackward();
    return TRUE;
}

BOOL CDsVideoEngine::RealPlay()
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_bRealPlay = TRUE;
    m_pPlaybackGraph->ClearPlaying();
    m_pPlaybackGraph->SetRealPlayMode(TRUE);
    m_pPlaybackGraph->EnableDeinterlace(FALSE);
    m_pPlaybackGraph->RealPlayTo(int(m_lTrimOut));
    return TRUE;
}

BOOL CDsVideoEngine::RealPlayBackwards()
{
    m_bRealPlay = TRUE;
    return PlayBackwards();
}

BOOL CDsVideoEngine::Pause()
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_pPlaybackGraph->PausePlay();
    return TRUE;
}

BOOL CDsVideoEngine::Stop()
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_pPlaybackGraph->Stop(true);
    StepField(0);
    return TRUE;
}

BOOL CDsVideoEngine::IsPlaying() { return m_pPlaybackGraph ? BYTE(m_pPlaybackGraph->IsPlaying()) : FALSE; }
bool CDsVideoEngine::IsStill() { return m_pPlaybackGraph && m_pPlaybackGraph->IsStill(); }
float CDsVideoEngine::GetPlaySpeed() { return m_pPlaybackGraph ? float(m_pPlaybackGraph->GetPlaySpeed()) : 0.0f; }

BOOL CDsVideoEngine::SetPlaySpeed(float speed)
{
    if (!m_pPlaybackGraph)
        return FALSE;
    // A speed that cannot pace a play (0, not a number) is refused and the last one kept.
    return SUCCEEDED(m_pPlaybackGraph->SetSpeed(speed));
}

BOOL CDsVideoEngine::SetTrimIn(long frame)
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_lTrimIn = frame;
    m_pPlaybackGraph->SetTrimIn(int(frame));
    return TRUE;
}

BOOL CDsVideoEngine::SetTrimOut(long frame)
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_lTrimOut = frame;
    m_pPlaybackGraph->SetTrimOut(int(frame));
    return TRUE;
}

// Trim in to trim out, both kept: the callers count out - in + 1 frames, and a trimmed clip
// replaces the original file.
BOOL CDsVideoEngine::TrimFile(CString inFile, CString outFile, long trimIn, long trimOut)
{
    CTrimGraph trim(NULL);
    trim.SetSource(inFile);
    trim.SetDestination(outFile);
    trim.SetFirstFrame(int(trimIn));
    trim.SetEndFrame(int(trimOut) + 1);
    return trim.Run() == 0;
}

// The current trim range, both ends written.
bool CDsVideoEngine::Transcode(CString inFile, CString outFile)
{
    CTranscodeGraph transcode;
    transcode.SetSource(inFile);
    transcode.SetDestination(outFile);
    transcode.SetStartFrame(int(m_lTrimIn));
    transcode.SetEndFrame(int(m_lTrimOut));
    if (FAILED(transcode.BuildGraph()))
        return false;
    return transcode.Transcode() == 0;
}

BOOL CDsVideoEngine::GetPlayLocked() { return CPlaybackGraph::IsPlayLocked(); }

BOOL CDsVideoEngine::SetPlayLocked(BOOL on)
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_bLocked = on;
    m_pPlaybackGraph->SetPlayLocked(on != 0);
    return TRUE;
}

long CDsVideoEngine::GetLockOffset()
{
    if (!m_pPlaybackGraph)
        return 0;
    m_lLockOffset = m_pPlaybackGraph->GetLockOffset();
    return m_lLockOffset;
}

BOOL CDsVideoEngine::SetLockOffset(long fields)
{
    if (!m_pPlaybackGraph)
        return FALSE;
    m_lLockOffset = fields;
    m_pPlaybackGraph->SetLockOffset(int(fields));
    return TRUE;
}

void CDsVideoEngine::Refresh()
{
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->StepFields(0);
}

BOOL CDsVideoEngine::DrawFrame(CDC* dc, const RECT* rect)
{
    if (!dc || !rect)
        return FALSE;
    HBRUSH black = (HBRUSH)::GetStockObject(BLACK_BRUSH);
    ::FillRect(dc->m_hDC, rect, black);
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->GrabFrame(dc, rect);
    return TRUE;
}

// ---------------------------------------------------------------------------------------
// Picture settings

BOOL CDsVideoEngine::SetCrop(float x, float y, float width, float height)
{
    ClampRect(&x, &y, &width, &height);
    m_fCrop[0] = x, m_fCrop[1] = y, m_fCrop[2] = width, m_fCrop[3] = height;
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->SetCrop(x, y, width, height);
    if (m_pCaptureGraph)
        return BYTE(m_pCaptureGraph->SetCrop(x, y, width, height));
    return TRUE;
}

BOOL CDsVideoEngine::SetCropPos(float x, float y)
{
    float w = m_fCrop[2], h = m_fCrop[3];
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->GetCropSize(&w, &h);
    return SetCrop(x, y, w, h);
}

BOOL CDsVideoEngine::SetCropSize(float width, float height)
{
    float x = m_fCrop[0], y = m_fCrop[1];
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->GetCropOrigin(&x, &y);
    return SetCrop(x, y, width, height);
}

BOOL CDsVideoEngine::SetMask(float x, float y, float width, float height)
{
    ClampRect(&x, &y, &width, &height);
    m_fMask[0] = x, m_fMask[1] = y, m_fMask[2] = width, m_fMask[3] = height;
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->SetMask(x, y, width, height);
    if (m_pCaptureGraph)
        return m_pCaptureGraph->SetMask(x, y, width, height);
    return TRUE;
}

void CDsVideoEngine::SetMirror(BOOL on)
{
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->SetMirror(on);
    m_bMirror = on;
}

void CDsVideoEngine::SetOverlayEnable(BOOL on)
{
    if (!m_pPlaybackGraph)
        return;
    m_bOverlayEnable = on;
    m_pPlaybackGraph->SetOverlayEnable(on);
}

void CDsVideoEngine::SetOverlayBitmap(void* bits, long width, long height)
{
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->SetOverlayBitmap(bits, int(width), int(height), GetKeyColor());
}

// ---------------------------------------------------------------------------------------
// Views

void CDsVideoEngine::ShadowStepHook(long field)
{
    if (!m_bShadowViewOn || !m_pShadowView)
        return;
    ++m_lStepCounter;
    if (!m_bMergeSuppressed && m_pPlaybackGraph && m_pPlaybackGraph->GetMergeContinuous() &&
        m_lStepCounter % (m_lSkipFields + 1) == 0)
        MergeShadowView();
    m_pShadowView->SetPosition(int(field));
}

BOOL CDsVideoEngine::SetSuccFramesSource(long count, long* fields)
{
    if (count > 0 && !fields)
        return FALSE;   // a count without its positions
    long n = count < 8 ? count : 8;
    if (n >= 1) {
        m_lSuccCount = n;
        for (long i = 0; i < n; ++i)
            m_lSuccSources[i] = fields[i];
    }
    return TRUE;
}

void CDsVideoEngine::ComposeSuccessiveFrames()
{
    const int mw = int(m_fMask[2] * 608 + 0.001), mh = int(m_fMask[3] * 456 + 0.001);
    int cw = int(m_fCrop[2] * 608 + 0.001), ch = int(m_fCrop[3] * 456 + 0.001);
    const long clipWidth = GetClipWidth(), clipHeight = GetClipHeight();
    if (clipWidth < 608)
        cw = int(clipWidth * m_fCrop[2] + 0.001);
    if (clipHeight < ch)
        ch = int(clipHeight);
    const long remembered = GetFieldPosition();
    CBitmapDIB scratch;
    if (!scratch.Create(608, 456, 32))
        return;
    CDC scratchDC;
    scratchDC.CreateCompatibleDC(&m_MemDC);
    HGDIOBJ old = ::SelectObject(scratchDC.m_hDC, scratch.m_hObject);
    RECT all = {0, 0, 608, 456};
    // The grabs are taken unmirrored: the cells are mirrored once, when drawn.
    if (m_bMirror)
        m_pPlaybackGraph->SetMirror(FALSE);
    for (long i = 0; i < m_lSuccCount; ++i) {
        const int x = 152 * (i % 4), y = 228 * (i / 4);
        SeekField(m_lSuccSources[i], FALSE, FALSE);
        m_pPlaybackGraph->GrabFrame(&scratchDC, &all);
        ::SetStretchBltMode(m_MemDC.m_hDC, COLORONCOLOR);
        if (m_bMirror)
            ::StretchBlt(m_MemDC.m_hDC, x + mw / 2, y, -(mw / 2), mh / 2, scratchDC.m_hDC, 0, 0, cw, ch, SRCCOPY);
        else
            ::StretchBlt(m_MemDC.m_hDC, x, y, mw / 2, mh / 2, scratchDC.m_hDC, 0, 0, cw, ch, SRCCOPY);
    }
    if (m_bMirror)
        m_pPlaybackGraph->SetMirror(TRUE);
    SeekField(remembered, FALSE, FALSE);
    ::SelectObject(scratchDC.m_hDC, old);
}

BOOL CDsVideoEngine::SetSuccFramesEnable(BOOL on)
{
    if (!m_pPlaybackGraph)
        return FALSE;
    if (on) {
        CBitmapDIB* bitmap = new CBitmapDIB;
        if (!bitmap->Create(608, 456, 32)) {
            delete bitmap;
            return FALSE;
        }
        ::SelectObject(m_MemDC.m_hDC, bitmap->m_hObject);
        delete m_pViewBitmap;
        m_pViewBitmap = bitmap;
        m_pPlaybackGraph->ShowVideoWindow(FALSE);
        ComposeSuccessiveFrames();
        m_pPlaybackGraph->SetOverlayEnable(m_bOverlayEnable);
        m_pPlaybackGraph->ShowVideoWindow(TRUE);
        m_pPlaybackGraph->SetOutputDC(&m_MemDC, FALSE);
    } else {
        m_pPlaybackGraph->SetOutputDC(NULL, FALSE);
        ::SelectObject(m_MemDC.m_hDC, m_hOldBitmap);
        delete m_pViewBitmap;
        m_pViewBitmap = NULL;
    }
    m_bSuccFramesOn = on;
    return TRUE;
}

BOOL CDsVideoEngine::SetShadowViewTabs(long count, long* tabs)
{
    if (count > 0 && !tabs)
        return FALSE;
    long n = count < 8 ? count : 8;
    if (n >= 1) {
        m_lShadowTabCount = n;
        for (long i = 0; i < n; ++i)
            m_lShadowTabs[i] = tabs[i];
    }
    if (m_bShadowViewOn && m_lShadowTabCount >= 3) {
        SeekField(m_lShadowTabs[2], FALSE, FALSE);
        ClearShadowView();
        for (long i = 3; i < m_lShadowTabCount - 1; ++i) {
            SeekField(m_lShadowTabs[i], FALSE, FALSE);
            MergeShadowView();
        }
    }
    return TRUE;
}

BOOL CDsVideoEngine::SetShadowViewEnable(BOOL on)
{
    if (!m_pPlaybackGraph)
        return FALSE;
    if (on) {
        m_pPlaybackGraph->ShowVideoWindow(FALSE);
        if (!m_pShadowView)
            m_pShadowView = new CShadowView;
        const long position = GetFieldPosition();
        if (!m_pShadowView->Setup(m_pPlaybackGraph, GetClipWidth(), GetClipHeight(), 0,
                                  m_lTrimOut, position)) {
            // The range's pictures do not fit in memory: the view stays off.
            m_pPlaybackGraph->ShowVideoWindow(TRUE);
            m_pPlaybackGraph->SetShadowView(NULL);
            m_pPlaybackGraph->SetShadowViewActive(FALSE);
            m_bShadowViewOn = FALSE;
            return FALSE;
        }
        SeekField(position, FALSE, FALSE);
        m_pPlaybackGraph->SetOverlayEnable(m_bOverlayEnable);
        m_pPlaybackGraph->ShowVideoWindow(TRUE);
        m_pPlaybackGraph->SetOutputDC(m_pShadowView->GetOutputDC(), TRUE);
    } else if (m_pShadowView) {
        m_pPlaybackGraph->SetShadowViewActive(FALSE);
        m_pShadowView->FreeFrames();
        m_pPlaybackGraph->SetOutputDC(NULL, FALSE);
    }
    m_pPlaybackGraph->SetShadowView(m_pShadowView);
    m_pPlaybackGraph->SetShadowViewActive(BYTE(on != 0));
    m_bShadowViewOn = on;
    return TRUE;
}

BOOL CDsVideoEngine::ClearShadowView()
{
    if (!m_pShadowView)
        return FALSE;
    const bool merging = GetMergeContinousActive();
    if (merging)
        SetMergeContinousActive(false);
    m_pShadowView->Clear();
    StepField(0);
    if (merging)
        SetMergeContinousActive(true);
    return TRUE;
}

BOOL CDsVideoEngine::MergeShadowView()
{
    if (!m_pShadowView)
        return FALSE;
    m_pShadowView->Merge();
    return TRUE;
}

long CDsVideoEngine::GetShadowViewMix() { return m_pShadowView ? m_pShadowView->m_nThreshold : 0; }

void CDsVideoEngine::SetShadowViewMix(long mix)
{
    if (!m_pShadowView)
        return;
    m_pShadowView->m_nThreshold = int(mix);
    m_bMergeSuppressed = TRUE;
    StepField(0);
    m_bMergeSuppressed = FALSE;
}

void CDsVideoEngine::SetSkipFields(long fields)
{
    // The merge interval divides the step count: below 0 is taken as 0.
    m_lSkipFields = fields < 0 ? 0 : fields;
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->SetSkipFields(int(m_lSkipFields));
}

void CDsVideoEngine::SetMergeContinousActive(bool on)
{
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->SetMergeContinuous(on);
    m_lStepCounter = 0;
}

bool CDsVideoEngine::GetMergeContinousActive()
{
    return m_pPlaybackGraph && m_pPlaybackGraph->GetMergeContinuous();
}

void CDsVideoEngine::BlendViewOn()
{
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->BeginBlend();
}

BOOL CDsVideoEngine::BlendViewOff()
{
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->EndBlend();
    return TRUE;
}

BOOL CDsVideoEngine::BlendFrame()
{
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->BlendWithOtherClip(&m_MemDC);
    return TRUE;
}

void CDsVideoEngine::SetBlendViewTrans(long transparency)
{
    if (m_pPlaybackGraph)
        m_pPlaybackGraph->SetBlendPosition(int(transparency));
}

long CDsVideoEngine::GetBlendViewTrans()
{
    return m_pPlaybackGraph ? m_pPlaybackGraph->GetBlendPosition() : 0;
}
