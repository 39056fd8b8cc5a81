// The "Sound Trigger" options page: a live microphone level meter, the trigger threshold,
// the field adjustment of sound marks, the microphone volume and boost. Its mixer
// operations also serve the settings store without a window (detect a mixer, apply and
// read back the microphone volume).
#pragma once
#include <afxwin.h>
#include <afxcmn.h>
#include <afxdlgs.h>
#include <mmsystem.h>

// The audio mixer functions the page calls; tests put a mixer of their own in their place.
struct MixerApi
{
    UINT(WINAPI* getNumDevs)();
    MMRESULT(WINAPI* getDevCaps)(UINT_PTR id, MIXERCAPSA* caps, UINT size);
    MMRESULT(WINAPI* open)(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                           DWORD flags);
    MMRESULT(WINAPI* close)(HMIXER mixer);
    MMRESULT(WINAPI* getLineInfo)(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags);
    MMRESULT(WINAPI* getLineControls)(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls,
                                      DWORD flags);
    MMRESULT(WINAPI* getControlDetails)(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details,
                                        DWORD flags);
    MMRESULT(WINAPI* setControlDetails)(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details,
                                        DWORD flags);
};

class CToolsSoundPropPage : public CPropertyPage
{
    DECLARE_DYNCREATE(CToolsSoundPropPage)
public:
    CToolsSoundPropPage();
    virtual ~CToolsSoundPropPage();

    // Mixer operations, with or without the page's window.
    BOOL IsMixerPresent();
    // Opens the first mixer that has a microphone line under its wave-in destination and
    // finds the line's controls; FALSE when there is none.
    BOOL OpenMixer();
    void CloseMixer();
    void SetLineVolume(int volume);
    int GetLineVolume();

    // The line's identifier, 0 when there is none (or when the line's identifier is 0).
    DWORD FindMixerLine(DWORD sourceType, DWORD destinationType);
    BOOL LocateMixerLine(DWORD sourceType, DWORD destinationType, DWORD& lineId);
    DWORD FindLineControl(DWORD lineId, DWORD controlType);
    int GetLineChannels(DWORD lineId);
    MMRESULT SetControlBoolean(DWORD controlId, int channels, BOOL value);
    BOOL GetControlBoolean(DWORD controlId, int channels);
    MMRESULT SetControlUnsigned(DWORD controlId, int channels, DWORD value);
    DWORD GetControlUnsigned(DWORD controlId, int channels);

    void SetThresholdFromSlider(int threshold);
    void StartLevelMeter();
    int GetPeakLevel(const WAVEHDR* header) const;
    void RedrawMeter();

    static MixerApi s_mixer;

    int m_nChannels;
    DWORD m_dwVolumeControl;
    DWORD m_dwBoostControl;
    DWORD m_dwMuteControl;
    HMIXER m_hMixer;
    int m_nPeak;
    int m_bTriggered;
    int m_nThresholdLevel;
    HWAVEIN m_hWaveIn;
    WAVEHDR m_waveHeader;
    CSpinButtonCtrl m_spin;
    CSliderCtrl m_volume;
    CStatic m_levelText;
    CSliderCtrl m_threshold;
    int m_nFieldAdjust;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    virtual void OnCancel() override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnDestroy();
    afx_msg LRESULT OnWimData(WPARAM wParam, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg void OnMicBoost();
    afx_msg void OnDeltaPosSpin(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

private:
    MMRESULT ControlDetails(DWORD controlId, int channels, DWORD* values, BOOL write);
    CRect ItemRect(int id);
    void StopLevelMeter();
    UINT m_nDevice;
};
