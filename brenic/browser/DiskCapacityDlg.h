// The "Disk Capacity" dialog: how full the capture folder's drive is, and how much
// recording time and how many swings still fit.
#pragma once
#include <afxwin.h>
#include "OptionFigures.h"

class CDiskCapacityDlg : public CDialog
{
public:
    explicit CDiskCapacityDlg(CWnd* pParent = NULL);

    // Total size in bytes of the saved clip files in the capture folder.
    static double GetClipFilesSize();

    float m_fUsedFraction;
    options::DiskFigures m_figures;

protected:
    virtual BOOL OnInitDialog() override;
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()
};
