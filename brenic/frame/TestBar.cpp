#include "TestBar.h"
#include <afxdisp.h>
#include "PanelRes.h"

CTestBar::CTestBar()
{
}

CTestBar::~CTestBar()
{
}

CTestBarDlg::CTestBarDlg(CWnd* pParent) : CDialog(IDD_TEST_BAR, pParent)
{
}

BEGIN_EVENTSINK_MAP(CTestBarDlg, CDialog)
    ON_EVENT(CTestBarDlg, 1014, DISPID_CLICK, OnClick, VTS_NONE)
    ON_EVENT(CTestBarDlg, 1014, DISPID_DBLCLICK, OnDblClick, VTS_NONE)
    ON_EVENT(CTestBarDlg, 1014, 1, OnPosChanged, VTS_I4)
    ON_EVENT(CTestBarDlg, 1014, 3, OnDrawOverlay, VTS_PI4)
    ON_EVENT(CTestBarDlg, 1014, 2, OnVideoStateChanged, VTS_I4)
    ON_EVENT(CTestBarDlg, 1014, DISPID_MOUSEDOWN, OnMouseDown, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
    ON_EVENT(CTestBarDlg, 1014, DISPID_MOUSEMOVE, OnMouseMove, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
    ON_EVENT(CTestBarDlg, 1014, DISPID_MOUSEUP, OnMouseUp, VTS_I2 VTS_I2 VTS_I4 VTS_I4)
END_EVENTSINK_MAP()
