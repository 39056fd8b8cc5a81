// The blend page: lays channel 1's clip over channel 0's in one picture with an adjustable
// transparency, through the video engine's blend view.
#pragma once
#include <afxcmn.h>
#include "BaseBmpButton.h"
#include "BaseDialog.h"

class COverlayEffDlg : public CBaseDialog
{
public:
    explicit COverlayEffDlg(CWnd* pParent = NULL);
    virtual ~COverlayEffDlg();

    void ShowTransparency();

    CSliderCtrl m_slider;
    CBaseBmpButton m_btnBlend;
    int m_nDefaultTrans;

    afx_msg void OnBlend();
    afx_msg void OnDefaultSettings();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    // The slider's transparency to channel 0, and a new blended frame while blending.
    void ApplyTransparency();
};

// "Vistrel - Advanced Settings": the shadow mix and the number of fields skipped.
class CTVAdvSettDlg : public CDialog
{
public:
    explicit CTVAdvSettDlg(CWnd* pParent = NULL);

    int m_nDefaultMix;
    int m_nMix;
    int m_nSkip;
    CSliderCtrl m_slider;
    CComboBox m_combo;
    CString m_strMix;
    CWnd* m_pParent;

    afx_msg void OnDefaultSettings();
    void OnOK() override;
    void OnCancel() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()

private:
    // The mix on the active channel's control while its shadow view is on.
    void ApplyMix(int mix, BOOL onlyWhenEnabled);
    int m_nStoredMix; // the control's mix when the dialog opened
};
