// The property pages of the two controls: one placeholder text each, no logic.
#pragma once
#include "afxctl.h"

class CVideoWindowPropPage : public COlePropertyPage {
    DECLARE_DYNCREATE(CVideoWindowPropPage)
    DECLARE_OLECREATE_EX(CVideoWindowPropPage)
public:
    CVideoWindowPropPage();
    virtual void DoDataExchange(CDataExchange* pDX) override;
};

class CClavioPropPage : public COlePropertyPage {
    DECLARE_DYNCREATE(CClavioPropPage)
    DECLARE_OLECREATE_EX(CClavioPropPage)
public:
    CClavioPropPage();
    virtual void DoDataExchange(CDataExchange* pDX) override;
};
