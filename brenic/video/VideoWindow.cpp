#include "VideoWindow.h"
#include "control_call.h"

using namespace control_call;

IMPLEMENT_DYNCREATE(CVideoWindow, CWnd)

CLSID const& CVideoWindow::GetClsid()
{
    // {C4AFC5FD-863E-11D2-BCED-CC186C000000}
    static const CLSID clsid = {0xc4afc5fd, 0x863e, 0x11d2,
                                {0xbc, 0xed, 0xcc, 0x18, 0x6c, 0x00, 0x00, 0x00}};
    return clsid;
}

BOOL CVideoWindow::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                          UINT nID, CCreateContext*)
{
    return CreateControl(GetClsid(), NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CVideoWindow::CreateControlWindow(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                                       UINT nID)
{
    return CreateControl(GetClsid(), NULL, dwStyle, rect, pParentWnd, nID);
}

BOOL CVideoWindow::HasControl()
{
    return GetControlUnknown() != NULL;
}

LONG CVideoWindow::GetFrameCount()
{
    return Get<LONG>(this, 1, VT_I4, 0);
}

void CVideoWindow::SetFrameCount(LONG value)
{
    Set(this, 1, VT_I4, value);
}

LONG CVideoWindow::GetFieldPosition()
{
    return Get<LONG>(this, 2, VT_I4, 0);
}

void CVideoWindow::SetFieldPosition(LONG value)
{
    Set(this, 2, VT_I4, value);
}

BOOL CVideoWindow::GetOverlayEnable()
{
    return Get<BOOL>(this, 3, VT_BOOL, FALSE);
}

void CVideoWindow::SetOverlayEnable(BOOL value)
{
    Set(this, 3, VT_BOOL, value);
}

BOOL CVideoWindow::GetCaptureEnable()
{
    return Get<BOOL>(this, 4, VT_BOOL, FALSE);
}

void CVideoWindow::SetCaptureEnable(BOOL value)
{
    Set(this, 4, VT_BOOL, value);
}

LONG CVideoWindow::GetTrimIn()
{
    return Get<LONG>(this, 5, VT_I4, 0);
}

void CVideoWindow::SetTrimIn(LONG value)
{
    Set(this, 5, VT_I4, value);
}

LONG CVideoWindow::GetTrimOut()
{
    return Get<LONG>(this, 6, VT_I4, 0);
}

void CVideoWindow::SetTrimOut(LONG value)
{
    Set(this, 6, VT_I4, value);
}

BOOL CVideoWindow::GetAutoReplay()
{
    return Get<BOOL>(this, 7, VT_BOOL, FALSE);
}

void CVideoWindow::SetAutoReplay(BOOL value)
{
    Set(this, 7, VT_BOOL, value);
}

BOOL CVideoWindow::GetAutoRewind()
{
    return Get<BOOL>(this, 8, VT_BOOL, FALSE);
}

void CVideoWindow::SetAutoRewind(BOOL value)
{
    Set(this, 8, VT_BOOL, value);
}

LONG CVideoWindow::GetSoundMarkFrame()
{
    return Get<LONG>(this, 9, VT_I4, 0);
}

void CVideoWindow::SetSoundMarkFrame(LONG value)
{
    Set(this, 9, VT_I4, value);
}

LONG CVideoWindow::GetSoundThreshold()
{
    return Get<LONG>(this, 10, VT_I4, 0);
}

void CVideoWindow::SetSoundThreshold(LONG value)
{
    Set(this, 10, VT_I4, value);
}

BOOL CVideoWindow::GetOverlayChanged()
{
    return Get<BOOL>(this, 11, VT_BOOL, FALSE);
}

void CVideoWindow::SetOverlayChanged(BOOL value)
{
    Set(this, 11, VT_BOOL, value);
}

LONG CVideoWindow::GetPreTrigFrames()
{
    return Get<LONG>(this, 12, VT_I4, 0);
}

void CVideoWindow::SetPreTrigFrames(LONG value)
{
    Set(this, 12, VT_I4, value);
}

LONG CVideoWindow::GetPostTrigFrames()
{
    return Get<LONG>(this, 13, VT_I4, 0);
}

void CVideoWindow::SetPostTrigFrames(LONG value)
{
    Set(this, 13, VT_I4, value);
}

LONG CVideoWindow::GetCapturedFrames()
{
    return Get<LONG>(this, 14, VT_I4, 0);
}

void CVideoWindow::SetCapturedFrames(LONG value)
{
    Set(this, 14, VT_I4, value);
}

BOOL CVideoWindow::GetMirror()
{
    return Get<BOOL>(this, 15, VT_BOOL, FALSE);
}

void CVideoWindow::SetMirror(BOOL value)
{
    Set(this, 15, VT_BOOL, value);
}

BOOL CVideoWindow::GetPlayLocked()
{
    return Get<BOOL>(this, 16, VT_BOOL, FALSE);
}

void CVideoWindow::SetPlayLocked(BOOL value)
{
    Set(this, 16, VT_BOOL, value);
}

LONG CVideoWindow::GetLockOffset()
{
    return Get<LONG>(this, 17, VT_I4, 0);
}

void CVideoWindow::SetLockOffset(LONG value)
{
    Set(this, 17, VT_I4, value);
}

float CVideoWindow::GetPlaySpeed()
{
    return Get<float>(this, 18, VT_R4, 0.0f);
}

void CVideoWindow::SetPlaySpeed(float value)
{
    Set(this, 18, VT_R4, (double)value);
}

BOOL CVideoWindow::GetSuccFramesEnable()
{
    return Get<BOOL>(this, 19, VT_BOOL, FALSE);
}

void CVideoWindow::SetSuccFramesEnable(BOOL value)
{
    Set(this, 19, VT_BOOL, value);
}

BOOL CVideoWindow::GetShadowViewEnable()
{
    return Get<BOOL>(this, 20, VT_BOOL, FALSE);
}

void CVideoWindow::SetShadowViewEnable(BOOL value)
{
    Set(this, 20, VT_BOOL, value);
}

LONG CVideoWindow::GetShadowViewMix()
{
    return Get<LONG>(this, 21, VT_I4, 0);
}

void CVideoWindow::SetShadowViewMix(LONG value)
{
    Set(this, 21, VT_I4, value);
}

BOOL CVideoWindow::GetBlendViewEnable()
{
    return Get<BOOL>(this, 22, VT_BOOL, FALSE);
}

void CVideoWindow::SetBlendViewEnable(BOOL value)
{
    Set(this, 22, VT_BOOL, value);
}

LONG CVideoWindow::GetBlendViewTrans()
{
    return Get<LONG>(this, 23, VT_I4, 0);
}

void CVideoWindow::SetBlendViewTrans(LONG value)
{
    Set(this, 23, VT_I4, value);
}

BOOL CVideoWindow::GetMergeContinousActive()
{
    return Get<BOOL>(this, 24, VT_BOOL, FALSE);
}

void CVideoWindow::SetMergeContinousActive(BOOL value)
{
    Set(this, 24, VT_BOOL, value);
}

BOOL CVideoWindow::StepField(LONG fields)
{
    return Call<BOOL>(this, 25, VT_BOOL, FALSE, (const BYTE*)(VTS_I4), fields);
}

LONG CVideoWindow::Seek(LONG frame)
{
    return Call<LONG>(this, 26, VT_I4, 0, (const BYTE*)(VTS_I4), frame);
}

BOOL CVideoWindow::Step(LONG frames)
{
    return Call<BOOL>(this, 27, VT_BOOL, FALSE, (const BYTE*)(VTS_I4), frames);
}

LONG CVideoWindow::SeekField(LONG field)
{
    return Call<LONG>(this, 28, VT_I4, 0, (const BYTE*)(VTS_I4), field);
}

BOOL CVideoWindow::Play()
{
    return Call<BOOL>(this, 29, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::Stop()
{
    return Call<BOOL>(this, 30, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::Pause()
{
    return Call<BOOL>(this, 31, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::SetCrop(float x, float y, float w, float h)
{
    return Call<BOOL>(this, 32, VT_BOOL, FALSE, (const BYTE*)(VTS_R4 VTS_R4 VTS_R4 VTS_R4), (double)x, (double)y, (double)w, (double)h);
}

BOOL CVideoWindow::Record()
{
    return Call<BOOL>(this, 33, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::SetCaptureFilename(LPCTSTR path)
{
    return Call<BOOL>(this, 34, VT_BOOL, FALSE, (const BYTE*)(VTS_BSTR), path);
}

BOOL CVideoWindow::PlayBackwards()
{
    return Call<BOOL>(this, 35, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::TriggerCapture()
{
    return Call<BOOL>(this, 36, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::LoadAVIFile(LPCTSTR path, LONG field)
{
    return Call<BOOL>(this, 37, VT_BOOL, FALSE, (const BYTE*)(VTS_BSTR VTS_I4), path, field);
}

BOOL CVideoWindow::IsPlaying()
{
    return Call<BOOL>(this, 38, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::ShowDisplayDlg()
{
    return Call<BOOL>(this, 39, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::ShowFormatDlg()
{
    return Call<BOOL>(this, 40, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::ShowSourceDlg()
{
    return Call<BOOL>(this, 41, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::IsValid()
{
    return Call<BOOL>(this, 42, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::Draw(LONG* pDC, LONG* pRect)
{
    return Call<BOOL>(this, 43, VT_BOOL, FALSE, (const BYTE*)(VTS_PI4 VTS_PI4), pDC, pRect);
}

BOOL CVideoWindow::SetMask(float x, float y, float w, float h)
{
    return Call<BOOL>(this, 44, VT_BOOL, FALSE, (const BYTE*)(VTS_R4 VTS_R4 VTS_R4 VTS_R4), (double)x, (double)y, (double)w, (double)h);
}

BOOL CVideoWindow::SetCropPos(float x, float y)
{
    return Call<BOOL>(this, 45, VT_BOOL, FALSE, (const BYTE*)(VTS_R4 VTS_R4), (double)x, (double)y);
}

BOOL CVideoWindow::SetCropSize(float w, float h)
{
    return Call<BOOL>(this, 46, VT_BOOL, FALSE, (const BYTE*)(VTS_R4 VTS_R4), (double)w, (double)h);
}

BOOL CVideoWindow::RealPlay()
{
    return Call<BOOL>(this, 47, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::RealPlayBackwards()
{
    return Call<BOOL>(this, 48, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::SetSuccFramesSource(LONG count, LONG* fields)
{
    return Call<BOOL>(this, 49, VT_BOOL, FALSE, (const BYTE*)(VTS_I4 VTS_PI4), count, fields);
}

LONG_PTR CVideoWindow::GetVideoFormat()
{
    return Call<LONG_PTR>(this, 50, VT_I8, 0, (const BYTE*)(VTS_NONE));
}

LONG CVideoWindow::GetKeyColor()
{
    return Call<LONG>(this, 51, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

LONG CVideoWindow::GetDroppedFrames()
{
    return Call<LONG>(this, 52, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

CString CVideoWindow::GetDriverName()
{
    return CallText(this, 53, (const BYTE*)(VTS_NONE));
}

CString CVideoWindow::GetDriverDescription()
{
    return CallText(this, 54, (const BYTE*)(VTS_NONE));
}

LONG CVideoWindow::GetDriverType()
{
    return Call<LONG>(this, 55, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::IsCaptureDeviceActive()
{
    return Call<BOOL>(this, 56, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::TrimFile(LPCTSTR source, LPCTSTR target, LONG start, LONG end)
{
    return Call<BOOL>(this, 57, VT_BOOL, FALSE, (const BYTE*)(VTS_BSTR VTS_BSTR VTS_I4 VTS_I4), source, target, start, end);
}

BOOL CVideoWindow::EnableSonderic(BOOL enable)
{
    return Call<BOOL>(this, 58, VT_BOOL, FALSE, (const BYTE*)(VTS_BOOL), (int)enable);
}

void CVideoWindow::DisableCapture()
{
    CallVoid(this, 59, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::IsOverlayCapable()
{
    return Call<BOOL>(this, 60, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

double CVideoWindow::GetFrameRate()
{
    return Call<double>(this, 61, VT_R8, 0.0, (const BYTE*)(VTS_NONE));
}

LONG CVideoWindow::GetFirstValidFrame()
{
    return Call<LONG>(this, 62, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::Transcode(LPCTSTR source, LPCTSTR target)
{
    return Call<BOOL>(this, 63, VT_BOOL, FALSE, (const BYTE*)(VTS_BSTR VTS_BSTR), source, target);
}

BOOL CVideoWindow::SetMarkFieldAdjust(LONG fields)
{
    return Call<BOOL>(this, 64, VT_BOOL, FALSE, (const BYTE*)(VTS_I4), fields);
}

void CVideoWindow::SetLastKnownGoodCamera(short camera)
{
    CallVoid(this, 65, (const BYTE*)(VTS_I2), (int)camera);
}

short CVideoWindow::GetLastKnownGoodCamera()
{
    return Call<short>(this, 66, VT_I2, 0, (const BYTE*)(VTS_NONE));
}

void CVideoWindow::SetLiveVideoMode(BOOL live, BOOL keep)
{
    CallVoid(this, 67, (const BYTE*)(VTS_BOOL VTS_BOOL), (int)live, (int)keep);
}

BOOL CVideoWindow::GetLiveVideoMode()
{
    return Call<BOOL>(this, 68, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

short CVideoWindow::GetNumCaptureDevices()
{
    return Call<short>(this, 69, VT_I2, 0, (const BYTE*)(VTS_NONE));
}

void CVideoWindow::SetCaptureDevice(short device)
{
    CallVoid(this, 70, (const BYTE*)(VTS_I2), (int)device);
}

short CVideoWindow::GetCurCaptureDevice()
{
    return Call<short>(this, 71, VT_I2, 0, (const BYTE*)(VTS_NONE));
}

short CVideoWindow::GetOS()
{
    return Call<short>(this, 72, VT_I2, 0, (const BYTE*)(VTS_NONE));
}

CString CVideoWindow::GetCaptureDriverName(short index)
{
    return CallText(this, 73, (const BYTE*)(VTS_I2), (int)index);
}

void CVideoWindow::SetCaptureDriverName(LPCTSTR name)
{
    CallVoid(this, 74, (const BYTE*)(VTS_BSTR), name);
}

short CVideoWindow::GetCaptureDriverCount()
{
    return Call<short>(this, 75, VT_I2, 0, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::SetShadowViewTabs(LONG count, LONG* fields)
{
    return Call<BOOL>(this, 76, VT_BOOL, FALSE, (const BYTE*)(VTS_I4 VTS_PI4), count, fields);
}

BOOL CVideoWindow::ClearShadowView()
{
    return Call<BOOL>(this, 77, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

BOOL CVideoWindow::MergeShadowView()
{
    return Call<BOOL>(this, 78, VT_BOOL, FALSE, (const BYTE*)(VTS_NONE));
}

LONG CVideoWindow::GetClipWidth()
{
    return Call<LONG>(this, 79, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

LONG CVideoWindow::GetClipHeight()
{
    return Call<LONG>(this, 80, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

void CVideoWindow::BlendFrame()
{
    CallVoid(this, 81, (const BYTE*)(VTS_NONE));
}

void CVideoWindow::SetSkipFields(short fields)
{
    CallVoid(this, 82, (const BYTE*)(VTS_I2), (int)fields);
}

void CVideoWindow::AboutBox()
{
    CallVoid(this, DISPID_ABOUTBOX, (const BYTE*)(VTS_NONE));
}
