// The Clavio module's identities and the DISPIDs of its dispatch and event interfaces, as
// the type library states them. The type library itself is the only thing generated from
// the IDL: its interface name IVideoWindow would clash with DirectShow's in C++.
#pragma once
#include <windows.h>

#define CLAVIO_GUID(name, last) \
    const GUID name = {0xC4AFC500 | (last), 0x863E, 0x11D2, {0xBC, 0xED, 0xCC, 0x18, 0x6C, 0x00, 0x00, 0x00}}

CLAVIO_GUID(LIBID_ClavioLib, 0xF6);
CLAVIO_GUID(IID_DIClavio, 0xF7);
CLAVIO_GUID(IID_DIClavioEvents, 0xF8);
CLAVIO_GUID(CLSID_Clavio, 0xF9);
CLAVIO_GUID(CLSID_ClavioPropPage, 0xFA);
CLAVIO_GUID(IID_DIVideoWindow, 0xFB);
CLAVIO_GUID(IID_DIVideoWindowEvents, 0xFC);
CLAVIO_GUID(CLSID_VideoWindow, 0xFD);
CLAVIO_GUID(CLSID_VideoWindowPropPage, 0xFE);
#undef CLAVIO_GUID

namespace clavio {

// IVideoWindow: properties 1-24, methods 25-82.
enum VideoWindowDispid {
    dispidFrameCount = 1, dispidFieldPosition, dispidOverlayEnable, dispidCaptureEnable,
    dispidTrimIn, dispidTrimOut, dispidAutoReplay, dispidAutoRewind, dispidSoundMarkFrame,
    dispidSoundThreshold, dispidOverlayChanged, dispidPreTrigFrames, dispidPostTrigFrames,
    dispidCapturedFrames, dispidMirror, dispidPlayLocked, dispidLockOffset, dispidPlaySpeed,
    dispidSuccFramesEnable, dispidShadowViewEnable, dispidShadowViewMix,
    dispidBlendViewEnable, dispidBlendViewTrans, dispidMergeContinousActive,
    dispidStepField = 25, dispidSeek, dispidStep, dispidSeekField, dispidPlay, dispidStop,
    dispidPause, dispidSetCrop, dispidRecord, dispidSetCaptureFilename, dispidPlayBackwards,
    dispidTriggerCapture, dispidLoadAVIFile, dispidIsPlaying, dispidShowDisplayDlg,
    dispidShowFormatDlg, dispidShowSourceDlg, dispidIsValid, dispidDraw, dispidSetMask,
    dispidSetCropPos, dispidSetCropSize, dispidRealPlay, dispidRealPlayBackwards,
    dispidSetSuccFramesSource, dispidGetVideoFormat, dispidGetKeyColor,
    dispidGetDroppedFrames, dispidGetDriverName, dispidGetDriverDescription,
    dispidGetDriverType, dispidIsCaptureDeviceActive, dispidTrimFile, dispidEnableSonderic,
    dispidDisableCapture, dispidIsOverlayCapable, dispidGetFrameRate,
    dispidGetFirstValidFrame, dispidTranscode, dispidSetMarkFieldAdjust,
    dispidSetLastKnownGoodCamera, dispidGetLastKnownGoodCamera, dispidSetLiveVideoMode,
    dispidGetLiveVideoMode, dispidGetNumCaptureDevices, dispidSetCaptureDevice,
    dispidGetCurCaptureDevice, dispidGetOS, dispidGetCaptureDriverName,
    dispidSetCaptureDriverName, dispidGetCaptureDriverCount, dispidSetShadowViewTabs,
    dispidClearShadowView, dispidMergeShadowView, dispidGetClipWidth, dispidGetClipHeight,
    dispidBlendFrame, dispidSetSkipFields,
    dispidLastVideoWindow = dispidSetSkipFields
};

// IVideoWindowEvents
enum VideoWindowEvent { eventPosChanged = 1, eventVideoStateChanged, eventDrawOverlay };

// WM_VIDEO_NOTIFY codes
enum VideoNotify {
    notifyEndOfRange = 100, notifyRecordStopped = 200, notifyTriggeredStopped = 201,
    notifyRecordStarted = 202, notifyTriggeredStarted = 203, notifyTriggered = 204
};

} // namespace clavio
