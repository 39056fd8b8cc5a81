#include "ClavioCtrl.h"
#include "PropPages.h"
#include "clavio_ids.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CClavioCtrl, COleControl)
IMPLEMENT_OLECREATE_EX(CClavioCtrl, "CLAVIO.ClavioCtrl.1", 0xc4afc5f9, 0x863e, 0x11d2, 0xbc, 0xed,
                       0xcc, 0x18, 0x6c, 0x00, 0x00, 0x00)
IMPLEMENT_OLETYPELIB(CClavioCtrl, LIBID_ClavioLib, 1, 0)

BEGIN_PROPPAGEIDS(CClavioCtrl, 1)
    PROPPAGEID(CClavioPropPage::guid)
END_PROPPAGEIDS(CClavioCtrl)

BEGIN_DISPATCH_MAP(CClavioCtrl, COleControl)
    DISP_FUNCTION_ID(CClavioCtrl, "AboutBox", DISPID_ABOUTBOX, AboutBox, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

BEGIN_EVENT_MAP(CClavioCtrl, COleControl)
END_EVENT_MAP()

BOOL CClavioCtrl::CClavioCtrlFactory::UpdateRegistry(BOOL bRegister)
{
    if (!bRegister)
        return AfxOleUnregisterClass(m_clsid, m_lpszProgID);
    return AfxOleRegisterControlClass(AfxOleModuleHandle(), m_clsid, m_lpszProgID, IDS_CLAVIO,
                                      IDB_CLAVIO, afxRegInsertable | afxRegApartmentThreading,
                                      OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                                          OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                                          OLEMISC_RECOMPOSEONRESIZE | OLEMISC_SIMPLEFRAME,
                                      LIBID_ClavioLib, 1, 0);
}

CClavioCtrl::CClavioCtrl()
{
    InitializeIIDs(&IID_DIClavio, &IID_DIClavioEvents);
    EnableSimpleFrame();
}

void CClavioCtrl::OnDraw(CDC* pDC, const CRect& rcBounds, const CRect&)
{
    ::FillRect(pDC->m_hDC, &rcBounds, (HBRUSH)::GetStockObject(WHITE_BRUSH));
    ::Ellipse(pDC->m_hDC, rcBounds.left, rcBounds.top, rcBounds.right, rcBounds.bottom);
}

void CClavioCtrl::DoPropExchange(CPropExchange* pPX)
{
    ExchangeVersion(pPX, MAKELONG(0, 1));
    COleControl::DoPropExchange(pPX);
}

void CClavioCtrl::AboutBox()
{
    CDialog dlg(IDD_ABOUTBOX_CLAVIO);
    dlg.DoModal();
}

BEGIN_MESSAGE_MAP(CVideoChildWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
END_MESSAGE_MAP()

int CVideoChildWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    ModifyStyleEx(0, WS_EX_TRANSPARENT);
    return 0;
}

// Validates the window without drawing: it stays transparent.
void CVideoChildWnd::OnPaint()
{
    PAINTSTRUCT ps;
    ::BeginPaint(m_hWnd, &ps);
    ::EndPaint(m_hWnd, &ps);
}
