// The video window control: one video engine per instance, its notifications turned into
// events, a 333 ms position timer, the overlay bitmap the container draws into, and the few
// properties that steer what happens at the end of a play range.
#pragma once
#include "afxctl.h"
#include "VideoEngine.h"

class CControlPanelDlg;
class CBitmapDIB;

class CVideoWindowCtrl : public COleControl {
    DECLARE_DYNCREATE(CVideoWindowCtrl)
public:
    enum { kPositionTimer = 1, kPositionPeriod = 333, kOverlayWidth = 608, kOverlayHeight = 456 };

    CVideoWindowCtrl();
    virtual ~CVideoWindowCtrl();

    // Makes the engine a new control uses; null (the default) makes the DirectShow engine.
    // Tests put a recording engine here.
    static CVideoEngine* (*s_pfnMakeEngine)();
    // Process-wide state shared by every control of the process.
    static long s_lEngineType;          // -1 until an engine initialised at creation
    static long s_lLastKnownGoodCamera; // as handed in by the container

    CVideoEngine* GetEngine() const { return m_pEngine; }
    // The engine for a dispatch member; without one (no window yet) the call answers
    // E_UNEXPECTED.
    CVideoEngine* Engine();
    // A clip is open: false too while there is no engine.
    bool EngineValid() const { return m_pEngine && m_pEngine->IsValid(); }
    CControlPanelDlg* GetControlPanel() const { return m_pControlPanel; }
    CDC* GetOverlayDC() { return &m_MemDC; }
    CBitmapDIB* GetOverlayBitmap() const { return m_pOverlayBitmap; }
    BOOL IsOverlayCurrent() { return m_bOverlayEnable && !m_bOverlayChanged; }

    BOOL CreateEngine();
    void UpdatePosition();
    void SetRecordState(long state);
    void RedrawOverlay();

    // Properties
    LONG GetFrameCount();
    void SetFrameCount(LONG);
    LONG GetFieldPosition();
    void SetFieldPosition(LONG field);
    BOOL GetOverlayEnable();
    void SetOverlayEnable(BOOL on);
    BOOL GetCaptureEnable();
    void SetCaptureEnable(BOOL on);
    LONG GetTrimIn();
    void SetTrimIn(LONG frame);
    LONG GetTrimOut();
    void SetTrimOut(LONG frame);
    BOOL GetAutoReplay();
    void SetAutoReplay(BOOL on);
    BOOL GetAutoRewind();
    void SetAutoRewind(BOOL on);
    LONG GetSoundMarkFrame();
    void SetSoundMarkFrame(LONG);
    LONG GetSoundThreshold();
    void SetSoundThreshold(LONG percent);
    BOOL GetOverlayChanged();
    void SetOverlayChanged(BOOL changed);
    LONG GetPreTrigFrames();
    void SetPreTrigFrames(LONG frames);
    LONG GetPostTrigFrames();
    void SetPostTrigFrames(LONG frames);
    LONG GetCapturedFrames();
    void SetCapturedFrames(LONG);
    BOOL GetMirror();
    void SetMirror(BOOL on);
    BOOL GetPlayLocked();
    void SetPlayLocked(BOOL on);
    LONG GetLockOffset();
    void SetLockOffset(LONG fields);
    float GetPlaySpeed();
    void SetPlaySpeed(float speed);
    BOOL GetSuccFramesEnable();
    void SetSuccFramesEnable(BOOL on);
    BOOL GetShadowViewEnable();
    void SetShadowViewEnable(BOOL on);
    LONG GetShadowViewMix();
    void SetShadowViewMix(LONG mix);
    BOOL GetBlendViewEnable();
    void SetBlendViewEnable(BOOL on);
    LONG GetBlendViewTrans();
    void SetBlendViewTrans(LONG transparency);
    BOOL GetMergeContinousActive();
    void SetMergeContinousActive(BOOL on);

    // Methods
    BOOL StepField(LONG fields);
    LONG Seek(LONG frame);
    BOOL Step(LONG frames);
    LONG SeekField(LONG field);
    BOOL Play();
    BOOL Stop();
    BOOL Pause();
    BOOL SetCrop(float x, float y, float cx, float cy);
    BOOL Record();
    BOOL SetCaptureFilename(LPCTSTR filename);
    BOOL PlayBackwards();
    BOOL TriggerCapture();
    BOOL LoadAVIFile(LPCTSTR filename, LONG initialpos);
    BOOL IsPlaying();
    BOOL ShowDisplayDlg();
    BOOL ShowFormatDlg();
    BOOL ShowSourceDlg();
    BOOL IsValid();
    BOOL Draw(LONG* pDC, LONG* pInvalidRect);
    BOOL SetMask(float x, float y, float cx, float cy);
    BOOL SetCropPos(float x, float y);
    BOOL SetCropSize(float cx, float cy);
    BOOL RealPlay();
    BOOL RealPlayBackwards();
    BOOL SetSuccFramesSource(LONG count, LONG* framearray);
    LONG_PTR GetVideoFormat();
    LONG GetKeyColor();
    LONG GetDroppedFrames();
    BSTR GetDriverName();
    BSTR GetDriverDescription();
    LONG GetDriverType();
    BOOL IsCaptureDeviceActive();
    BOOL TrimFile(LPCTSTR inFile, LPCTSTR outFile, LONG trimIn, LONG trimOut);
    BOOL EnableSonderic(BOOL on);
    void DisableCapture();
    BOOL IsOverlayCapable();
    double GetFrameRate();
    LONG GetFirstValidFrame();
    BOOL Transcode(LPCTSTR inFile, LPCTSTR outFile);
    BOOL SetMarkFieldAdjust(LONG fields);
    void SetLastKnownGoodCamera(short camera);
    short GetLastKnownGoodCamera();
    void SetLiveVideoMode(BOOL on, BOOL verbose);
    BOOL GetLiveVideoMode();
    short GetNumCaptureDevices();
    void SetCaptureDevice(short device);
    short GetCurCaptureDevice();
    short GetOS();
    BSTR GetCaptureDriverName(short device);
    void SetCaptureDriverName(LPCTSTR name);
    short GetCaptureDriverCount();
    BOOL SetShadowViewTabs(LONG count, LONG* tabarray);
    BOOL ClearShadowView();
    BOOL MergeShadowView();
    LONG GetClipWidth();
    LONG GetClipHeight();
    void BlendFrame();
    void SetSkipFields(short fields);
    void AboutBox();

    // Events
    void FirePosChanged(LONG field) { FireEvent(1, EVENT_PARAM(VTS_I4), field); }
    void FireVideoStateChanged(LONG state) { FireEvent(2, EVENT_PARAM(VTS_I4), state); }
    void FireDrawOverlay(LONG* dc) { FireEvent(3, EVENT_PARAM(VTS_PI4), dc); }

    virtual void OnDraw(CDC* pDC, const CRect& rcBounds, const CRect& rcInvalid) override;
    virtual void DoPropExchange(CPropExchange* pPX) override;
    virtual BOOL OnSetObjectRects(LPCRECT lpRectPos, LPCRECT lpRectClip) override;
    virtual BOOL DestroyWindow() override;
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

protected:
    // Ends of the play range (code 100 of WM_VIDEO_NOTIFY).
    void OnEndOfRange();
    // Seeks the range start for a rewind and shows it (twice with the shadow view on).
    void RewindTo(long field, BOOL overlayCheck);
    void PositionTick();
    BOOL StartPlay(BOOL (CVideoEngine::*play)(), bool setLocked);
    void BuildContextMenu(CMenu& menu);

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnVideoNotify(WPARAM wParam, LPARAM lParam);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnParentNotify(UINT message, LPARAM lParam);
    afx_msg void OnControlPanel();
    afx_msg void OnShowProperties();
    afx_msg void OnToggleFramesFields();
    DECLARE_MESSAGE_MAP()

    DECLARE_OLECREATE_EX(CVideoWindowCtrl)
    DECLARE_OLETYPELIB(CVideoWindowCtrl)
    DECLARE_PROPPAGEIDS(CVideoWindowCtrl)
    DECLARE_DISPATCH_MAP()
    DECLARE_EVENT_MAP()

public:
    CControlPanelDlg* m_pControlPanel;
    BOOL m_bLive;
    BOOL m_bOverlayEnable;
    BOOL m_bCaptureEnable;
    BOOL m_bAutoReplay;
    BOOL m_bAutoRewind;
    BOOL m_bOverlayChanged;
    BOOL m_bRecordResult;
    BOOL m_bBlendView;
    DWORD m_dwLastTick;   // GetTickCount at the previous position tick
    double m_dElapsed;
    long m_lRecordState;
    CString m_strCaptureFile;
    long m_lTrimIn;
    long m_lTrimOut;
    long m_lSoundThreshold;
    CBitmapDIB* m_pOverlayBitmap;
    CDC m_MemDC;
    HGDIOBJ m_hOldBitmap;
    BOOL m_bMirror;
    CVideoEngine* m_pEngine;
    short m_nOSCode;
    bool m_bReplayRunning;
    bool m_bLockedRunning;
    BOOL m_bFirstLoad;
    long m_lTimerPosition;
    long m_lReportedPosition;
};
