#include "tabrelppg.h"
#include "resource.h"

IMPLEMENT_DYNCREATE(CTabrelPropPage, COlePropertyPage)
IMPLEMENT_OLECREATE_EX(CTabrelPropPage, "TABREL.TabrelPropPage.1", 0x511980a7, 0xa1a4, 0x11d2,
                       0x8c, 0x08, 0xe4, 0x92, 0x6d, 0xb1, 0xe8, 0x60)

BOOL CTabrelPropPage::CTabrelPropPageFactory::UpdateRegistry(BOOL bRegister)
{
    if (bRegister)
        return AfxOleRegisterPropertyPageClass(AfxOleModuleHandle(), m_clsid, IDS_TABREL_PPG);
    return AfxOleUnregisterClass(m_clsid, NULL);
}

CTabrelPropPage::CTabrelPropPage()
    : COlePropertyPage(IDD_PROPPAGE_TABREL, IDS_TABREL_PPG_CAPTION)
{
}

void CTabrelPropPage::DoDataExchange(CDataExchange* pDX) { DDP_PostProcessing(pDX); }

BOOL CTabrelPropPage::OnInitDialog()
{
    COlePropertyPage::OnInitDialog();
    return TRUE;
}
