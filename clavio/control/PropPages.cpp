#include "PropPages.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CVideoWindowPropPage, COlePropertyPage)
IMPLEMENT_OLECREATE_EX(CVideoWindowPropPage, "CLAVIO.VideoWindowPropPage.1", 0xc4afc5fe, 0x863e,
                       0x11d2, 0xbc, 0xed, 0xcc, 0x18, 0x6c, 0x00, 0x00, 0x00)
IMPLEMENT_DYNCREATE(CClavioPropPage, COlePropertyPage)
IMPLEMENT_OLECREATE_EX(CClavioPropPage, "CLAVIO.ClavioPropPage.1", 0xc4afc5fa, 0x863e, 0x11d2,
                       0xbc, 0xed, 0xcc, 0x18, 0x6c, 0x00, 0x00, 0x00)

namespace {

BOOL RegisterPage(BOOL bRegister, REFCLSID clsid, UINT idTypeName)
{
    if (bRegister)
        return AfxOleRegisterPropertyPageClass(AfxOleModuleHandle(), clsid, idTypeName);
    return AfxOleUnregisterClass(clsid, NULL);
}

} // namespace

BOOL CVideoWindowPropPage::CVideoWindowPropPageFactory::UpdateRegistry(BOOL bRegister)
{
    return RegisterPage(bRegister, m_clsid, IDS_VIDEOWINDOW_PPG);
}

BOOL CClavioPropPage::CClavioPropPageFactory::UpdateRegistry(BOOL bRegister)
{
    return RegisterPage(bRegister, m_clsid, IDS_CLAVIO_PPG);
}

CVideoWindowPropPage::CVideoWindowPropPage()
    : COlePropertyPage(IDD_PROPPAGE_VIDEOWINDOW, IDS_VIDEOWINDOW_PPG_CAPTION)
{
}

void CVideoWindowPropPage::DoDataExchange(CDataExchange* pDX) { DDP_PostProcessing(pDX); }

CClavioPropPage::CClavioPropPage() : COlePropertyPage(IDD_PROPPAGE_CLAVIO, IDS_CLAVIO_PPG_CAPTION) {}

void CClavioPropPage::DoDataExchange(CDataExchange* pDX) { DDP_PostProcessing(pDX); }
