// The test bar: a docking dialog bar of template 130, which gathers the skinned panel's
// button ids with one video control and one tabbed slider; and a dialog class of the same
// template that ignores every event of its video control.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>
#include "SECDialogBar.h"

class CTestBar : public SECDialogBar
{
public:
    CTestBar();
    virtual ~CTestBar();
};

class CTestBarDlg : public CDialog
{
public:
    explicit CTestBarDlg(CWnd* pParent = NULL);

protected:
    void OnClick() {}
    void OnDblClick() {}
    void OnPosChanged(long) {}
    void OnDrawOverlay(long*) {}
    void OnVideoStateChanged(long) {}
    void OnMouseDown(short, short, long, long) {}
    void OnMouseMove(short, short, long, long) {}
    void OnMouseUp(short, short, long, long) {}
    DECLARE_EVENTSINK_MAP()
};
