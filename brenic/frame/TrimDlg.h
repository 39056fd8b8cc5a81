// "Clip Trim": the frames of the current clip that are shown, chosen with two sliders; the
// trim can be made permanent and can set the capture buffer around the impact.
#pragma once
#include <afxwin.h>
#include "Tabrel.h"

class CTrimDlg : public CDialog
{
public:
    explicit CTrimDlg(CWnd* parent = NULL);

    void SetRange(int first, int last)
    {
        m_nFirstFrame = first;
        m_nLastFrame = last;
    }
    void SetTrim(int in, int out)
    {
        m_nTrimIn = in;
        m_nTrimOut = out;
    }
    void GetTrim(int& in, int& out) const
    {
        in = m_nTrimIn;
        out = m_nTrimOut;
    }

    int m_nLastFrame;
    int m_nFirstFrame;
    int m_nTrimOut;
    int m_nTrimIn;
    CButton m_trimFile;
    CTabrel m_trimOutSlider;
    CTabrel m_trimInSlider;

    // The texts and the Trim File button after a change of the trim.
    void UpdateTexts();
    afx_msg void OnSetCaptureSize();
    afx_msg void OnTrimFile();

protected:
    // Cuts the current clip's video file to the frames; TRUE when it was cut.
    virtual BOOL TrimVideoFile(int in, int out);
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()
};
