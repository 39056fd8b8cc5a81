// The command palette's tab window: a 3D tab window whose inside reaches 4 pixels further
// right.
#pragma once
#include "SECTabWnd.h"

class CBase3DTab : public SEC3DTabWnd
{
public:
    CBase3DTab();
    ~CBase3DTab() override;
    void GetInsideRect(LPRECT lpRect) const override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    DECLARE_MESSAGE_MAP()
};
