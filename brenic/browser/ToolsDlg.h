// The single-page "Options" dialog: the sound threshold and the capture folder.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>
#include "BaseDialog.h"

class CToolsDlg : public CBaseDialog
{
public:
    explicit CToolsDlg(CWnd* pParent = NULL);

    // TRUE when the folder can take captures: not empty and an existing folder.
    static BOOL IsUsableCaptureFolder(const CString& folder);

    CSliderCtrl m_threshold;

protected:
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
    virtual void OnOK() override;
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    DECLARE_MESSAGE_MAP()
};
