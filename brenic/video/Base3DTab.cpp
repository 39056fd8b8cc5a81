#include "Base3DTab.h"

BEGIN_MESSAGE_MAP(CBase3DTab, SEC3DTabWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CBase3DTab::CBase3DTab()
{
}

CBase3DTab::~CBase3DTab()
{
}

void CBase3DTab::GetInsideRect(LPRECT lpRect) const
{
    SEC3DTabWnd::GetInsideRect(lpRect);
    lpRect->right += 4;
}

// Only the window's own creation: the tab strip is made by Create.
int CBase3DTab::OnCreate(LPCREATESTRUCT cs)
{
    return CWnd::OnCreate(cs) == -1 ? -1 : 0;
}
