// The slider's property page: nothing on it is bound to a property.
#pragma once
#include "afxctl.h"

class CTabrelPropPage : public COlePropertyPage {
    DECLARE_DYNCREATE(CTabrelPropPage)
    DECLARE_OLECREATE_EX(CTabrelPropPage)
public:
    CTabrelPropPage();
    virtual void DoDataExchange(CDataExchange* pDX) override;
    virtual BOOL OnInitDialog() override;
};
