// The video manager window: owns the two video channels (controls 1014 and 1133) with their
// drawing overlays, the record and replay controller and the live drawing model; lays out
// and paints the channels, drives their transport (locked together in comparison view) and
// spreads their events through the notification hub. The object exists from start-up on;
// its window is created later by the view.
#pragma once
#include <afxwin.h>
#include <afxole.h>
#include "DropTarget.h"
#include "ODCustomModel.h"
#include "ObserverSvr.h"
#include "OverlayWnd.h"
#include "TransController.h"

class CClip;
class CODCustomViewport;
class CTabrelEx;
class CVideoWindow;

class CClavio : public CWnd, public CObserverSvr, public CDropTargetWnd
{
public:
    enum { CHANNEL0_ID = 1014, CHANNEL1_ID = 1133 };

    CClavio();
    virtual ~CClavio();

    BOOL DestroyWindow() override;
    BOOL OnDeviceChange(UINT, DWORD_PTR) { return TRUE; }
    void RecalcLayout();
    // The frames around the channels: the current one cyan, the other half grey in split
    // view; when locked a wider cyan frame round both halves and a focus mark.
    void PaintFrames(CDC* dc);
    void RedrawVideo();
    void RedrawCurrentWindow(const RECT& rect);
    void SetView(CWnd* view) { m_pView = view; }

    // Channels and clips.
    CVideoWindow* GetActiveVideoWindow() const { return m_pActiveVideo; }
    CVideoWindow* GetCaptureChannel() const { return m_pChannel[0]; }
    CVideoWindow* GetChannel0() const { return m_pChannel[0]; }
    CVideoWindow* GetChannel1() const { return m_pChannel[1]; }
    CVideoWindow* GetChannel(int n) const { return m_pChannel[n]; }
    int GetCurrentChannel() const { return m_nCurrentChannel; }
    int GetOtherChannelIndex() const { return (m_nCurrentChannel + 1) % 2; }
    CClip* GetCurrentClip() const { return m_pCurrentClip; }
    CClip* GetOtherClip() const { return m_pClip[GetOtherChannelIndex()]; }
    CClip* GetSecondChannelClip() const { return m_pClip[1]; }
    CClip* GetChannelClip(int n) const { return m_pClip[n]; }
    BOOL IsFirstChannelClip(CClip* clip) const { return clip && m_pClip[0] == clip; }
    int GetVideoState() const { return m_nLastVideoState; }
    void SetVideoState(int state) { m_nLastVideoState = state; }
    int GetLastStateChannel() const { return m_nLastStateChannel; }
    CTabrelEx* GetSlider() const { return m_pSlider; }
    void SetSlider(CTabrelEx* slider) { m_pSlider = slider; }
    // Gives the slider exactly the clip's tab marks, at the clip's tabs (none without a
    // clip). The slider's range must already be the clip's.
    void ShowClipTabs(CClip* clip);
    CDropTarget* GetDropTarget() { return &m_dropTarget; }
    CTransController* GetTransController() { return &m_transController; }
    COverlayWnd* GetOverlay(int n) { return &m_overlayWnd[n]; }
    CODCustomModel* GetLiveModel() { return &m_liveModel; }
    void SelectChannel(int n);
    void SelectFirstChannel();
    void SelectOtherChannel();
    void OnCurrentChannelChanged();

    // Capture: armed while an automatic recording waits for its trigger.
    BYTE IsCaptureArmed() const { return m_bCaptureArmed; }
    void SetCaptureArmed(BYTE armed) { m_bCaptureArmed = armed; }
    void TriggerCapture();
    BYTE GetRestartRecording() const { return m_bRestartRecording; }
    void SetRestartRecording(BYTE restart) { m_bRestartRecording = restart; }
    void SetClosing(BOOL closing) { m_bClosing = closing; }

    // Views.
    void SetViewMode(int mode);
    int GetViewMode() const { return m_nViewMode; }
    int GetLayout() const { return m_nLayout; }
    BOOL SetComparisonView(BOOL selectSecond);
    BOOL SetSingleView();
    void OnSplitWindowKey();
    BOOL IsSplitView() const { return m_nLayout == 1; }
    BOOL IsSingleView() const { return m_nLayout == 0; }
    BOOL IsSuccessiveFramesView() const { return m_nLayout == 2; }
    CRect GetVideoRect() const { return m_rectVideo; }
    CRect GetLeftRect() const { return m_rectLeft; }
    CRect GetRightRect() const { return m_rectRight; }
    CRect GetCurrentRect() const { return m_rectCurrent; }
    CRect GetOtherRect() const { return m_rectOther; }

    // Transport and lock-step.
    int GetLockMode() const { return m_nLockMode; }
    void SetLockMode(int mode);
    BOOL IsLocked() const;
    BOOL CanLock() const;
    void OnLockImpactKey();
    void OnLockViewKey();
    void AlignLockedClips(BOOL reverse);
    BOOL TakeChannelSwitchedFlag();
    void SeekField(int field);
    void StepField(int fields);
    void SlowPlay();
    void SlowPlayBackwards();
    void RealPlay();
    void RealPlayBackwards();
    // Stops the current channel (both when locked) and clears the play lock.
    void Stop();
    void SetAutoRewind(BOOL on);
    void SetAutoReplay(BOOL on);
    void SetLockedAutoRewind(BOOL on);
    int GetLeadingChannel() const;
    void SetPlaySpeed(float speed);
    int GetLockedPosition() const;

    // Channel content and drawing.
    BOOL LoadClip(CClip* clip);
    BOOL LoadClipInOtherChannel(CClip* clip);
    BOOL LoadVideoFile(LPCTSTR path);
    void OnClipDeleted(CClip* clip);
    void SaveClipPosition();
    void ApplyClipSettings(int channel);
    BOOL IsClipShown(CClip* clip) const;
    BOOL SetMirror(BOOL mirror);
    void OnToggleMirrorKey();
    void SetChannelLiveMode(CVideoWindow* control, BOOL live, BOOL keep);
    void SetLiveInput(BOOL on, BOOL keep);
    void ShowGraphics(BOOL show, int channel, BOOL exact);
    void ApplyClipGraphics(int channel);
    void RestoreOverlays();
    BOOL CanShowOverlay(int channel);
    BOOL IsOverlayEnabled();
    LRESULT SendDrawCommand(UINT command, BOOL otherChannel);
    void EnableOverlayGrid(BOOL on);
    void RefreshDrawing(BOOL full);
    void RefreshOverlayBitmaps();
    void FinishDrawing();
    BOOL CopyDrawing(BOOL toClip, CClip* clip);
    CODCustomViewport* GetCurrentViewport();
    CODCustomViewport* GetOtherViewport();
    CODCustomViewport* GetViewportOf(CVideoWindow* control);

    // Drop target side: clips dragged from the clip panel.
    DROPEFFECT OnDragEnter(CWnd* window, COleDataObject* data, DWORD keyState,
                           CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* window, COleDataObject* data, DWORD keyState,
                          CPoint point) override;
    BOOL OnDrop(CWnd* window, COleDataObject* data, DROPEFFECT effect, CPoint point) override;
    // The clip-pointer block of a drag: the address of a clip, pointer-width. NULL when the
    // block is not one or names no live clip of this process.
    static HGLOBAL MakeClipDragBlock(CClip* clip);
    static CClip* ClipFromDragBlock(HGLOBAL block);
    // Clips alive in this process (a dropped pointer is accepted only for one of them).
    static void RegisterLiveClip(CClip* clip);
    static void UnregisterLiveClip(CClip* clip);
    static BOOL IsLiveClip(CClip* clip);

    // Views, effects and media operations.
    void SetSuccessiveFramesView();
    void LeaveSuccessiveFramesView();
    void EnableShadowView();
    BOOL IsShadowViewEnabled();
    BOOL UpdateShadowTabs();
    void EnableBlendView(BOOL on);
    BOOL IsBlendViewEnabled();
    void BlendFrame();
    BOOL IsContinuousBlend();
    void SetContinuousBlend(BOOL on);
    void SetSkipFields(short fields);
    void StopEffects();
    BOOL Draw(CDC* dc);
    BOOL SaveSnapshot();
    static int GetHighestSnapshotNumber(LPCTSTR prefix);
    CString GetPhotosFolder(LPCTSTR name);
    BOOL EmailClip(LPCTSTR path);
    CString GetEmailFolder(LPCTSTR name);
    BOOL TranscodeClip(LPCTSTR source, LPCTSTR target);
    BOOL CanTrim();
    BOOL TrimClip(int start, int end);
    // After a trim from frame `start`: an automatic capture's tabs all move by
    // 2 x (new trim in - start) fields, kept within the clip; other clips spread them.
    static void ShiftTabsAfterTrim(CClip* clip, int start);
    // Puts the trimmed file in place of the original (one rename in the same folder).
    static BOOL ReplaceVideoFile(LPCTSTR trimmed, LPCTSTR original);
    BOOL HaveDifferentFrameRates();
    static BOOL FrameRatesDiffer(double r0, double r1);
    void CheckDiskSpace();
    // The warning level after one disk check at `percent` used (0, 75, 85 or 95), and the
    // level (75, 85, 95) whose message is due now, 0 for none.
    static int NextDiskWarnLevel(int level, int percent, int* warnAt);
    int GetDiskWarnLevel() const { return m_nDiskWarnLevel; }
    void SetDiskWarnLevel(int level) { m_nDiskWarnLevel = level; }
    float GetCompressionRatio();
    LONG GetBytesPerField();
    void CheckDisplayDepth();

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnDestroy();
    void OnClick() {}
    void OnDblClick() {}
    void OnPosChanged0(LONG field);
    void OnPosChanged1(LONG field);
    void OnDrawOverlay0(LONG* dc);
    void OnDrawOverlay1(LONG* dc);
    void OnVideoStateChanged0(LONG code);
    void OnVideoStateChanged1(LONG code);
    void OnMouseDown0(short button, short shift, LONG x, LONG y);
    void OnMouseDown1(short button, short shift, LONG x, LONG y);
    DECLARE_MESSAGE_MAP()
    DECLARE_EVENTSINK_MAP()

private:
    void OnVideoStateChanged(int channel, LONG code);
    void HaltChannels();
    void InvalidateViewVideoRect();
    void AttachModel(int channel, CODModel* model);
    BOOL LoadIntoChannel(int channel, CClip* clip);
    BOOL ChannelReady(int n) const;

    CRect m_rectLeft, m_rectRight;
    CRect m_rectOther;
    CRect m_rectCurrent;
    CVideoWindow* m_pActiveVideo;
    CVideoWindow* m_pChannel[2];
    CDropTarget m_dropTarget;
    COverlayWnd m_overlayWnd[2];
    CTransController m_transController;
    CClip* m_pCurrentClip;
    CClip* m_pClip[2];
    int m_nLastVideoState;
    int m_nLockMode;
    CODCustomModel m_liveModel;
    BOOL m_bComparisonNeverShown;
    int m_nDiskWarnLevel;
    BOOL m_bStartLivePending;
    BYTE m_bReversedLock;
    BYTE m_bRestartRecording;
    BYTE m_bCaptureArmed;
    BOOL m_bClosing;
    int m_nLastStateChannel;
    BOOL m_bChannelSwitched;
    int m_nCurrentChannel;
    CWnd* m_pView;
    int m_nViewMode;
    int m_nMarginX, m_nMarginY;
    int m_nClipWidth, m_nClipHeight;
    CRect m_rectVideo;
    int m_nLayout;
    CTabrelEx* m_pSlider;
    BOOL m_bControlErrorShown;
};
