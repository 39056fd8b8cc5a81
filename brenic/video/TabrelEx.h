// The program's side of the tabbed position slider: calls the control's dispatch members by
// their fixed DISPIDs. Tab numbers given to the control count from 1. Without a control every
// call answers failure (FALSE, 0, or -1 for a tab position).
#pragma once
#include <afxwin.h>
#include <afxdisp.h>

class CTabrelEx : public CWnd
{
    DECLARE_DYNCREATE(CTabrelEx)

public:
    static CLSID const& GetClsid();
    BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle,
                const RECT& rect, CWnd* pParentWnd, UINT nID,
                CCreateContext* pContext = NULL) override;
    LONG GetLineSize();
    void SetLineSize(LONG value);
    LONG GetPageSize();
    void SetPageSize(LONG value);
    short GetTabMode();
    void SetTabMode(short value);
    BOOL GetTabAdjustEnable();
    void SetTabAdjustEnable(BOOL value);
    LONG GetTabCount();
    // The new tab count, 0 when the control refuses the position.
    LONG AddTab(LONG position);
    LONG GetRange();
    void Refresh();
    LONG GetThumbPosition();
    BOOL SetRange(LONG minimum, LONG maximum);
    BOOL SetTabPosition(LONG tab, LONG position);
    // -1 beyond the tab count.
    LONG GetTabPosition(LONG tab);
    BOOL SetPos(LONG position);
    BOOL DeleteTab(LONG tab);
    void SetTransparent(BOOL transparent);
    void SetAltThumb(LONG thumb);
    void AboutBox();
};
