#include "TabrelEx.h"
#include "control_call.h"

using namespace control_call;

IMPLEMENT_DYNCREATE(CTabrelEx, CWnd)

CLSID const& CTabrelEx::GetClsid()
{
    // {511980A6-A1A4-11D2-8C08-E4926DB1E860}
    static const CLSID clsid = {0x511980a6, 0xa1a4, 0x11d2,
                                {0x8c, 0x08, 0xe4, 0x92, 0x6d, 0xb1, 0xe8, 0x60}};
    return clsid;
}

BOOL CTabrelEx::Create(LPCTSTR, LPCTSTR, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                       UINT nID, CCreateContext*)
{
    return CreateControl(GetClsid(), NULL, dwStyle, rect, pParentWnd, nID);
}

LONG CTabrelEx::GetLineSize()
{
    return Get<LONG>(this, 1, VT_I4, 0);
}

void CTabrelEx::SetLineSize(LONG value)
{
    Set(this, 1, VT_I4, value);
}

LONG CTabrelEx::GetPageSize()
{
    return Get<LONG>(this, 2, VT_I4, 0);
}

void CTabrelEx::SetPageSize(LONG value)
{
    Set(this, 2, VT_I4, value);
}

short CTabrelEx::GetTabMode()
{
    return Get<short>(this, 3, VT_I2, 0);
}

void CTabrelEx::SetTabMode(short value)
{
    Set(this, 3, VT_I2, (int)value);
}

BOOL CTabrelEx::GetTabAdjustEnable()
{
    return Get<BOOL>(this, 4, VT_BOOL, FALSE);
}

void CTabrelEx::SetTabAdjustEnable(BOOL value)
{
    Set(this, 4, VT_BOOL, (int)value);
}

LONG CTabrelEx::GetTabCount()
{
    return Call<LONG>(this, 5, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

LONG CTabrelEx::AddTab(LONG position)
{
    return Call<LONG>(this, 6, VT_I4, 0, (const BYTE*)(VTS_I4), position);
}

LONG CTabrelEx::GetRange()
{
    return Call<LONG>(this, 7, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

void CTabrelEx::Refresh()
{
    CallVoid(this, -550, (const BYTE*)(VTS_NONE));
}

LONG CTabrelEx::GetThumbPosition()
{
    return Call<LONG>(this, 8, VT_I4, 0, (const BYTE*)(VTS_NONE));
}

BOOL CTabrelEx::SetRange(LONG minimum, LONG maximum)
{
    return Call<BOOL>(this, 9, VT_BOOL, FALSE, (const BYTE*)(VTS_I4 VTS_I4), minimum, maximum);
}

BOOL CTabrelEx::SetTabPosition(LONG tab, LONG position)
{
    return Call<BOOL>(this, 10, VT_BOOL, FALSE, (const BYTE*)(VTS_I4 VTS_I4), tab, position);
}

LONG CTabrelEx::GetTabPosition(LONG tab)
{
    return Call<LONG>(this, 11, VT_I4, -1, (const BYTE*)(VTS_I4), tab);
}

BOOL CTabrelEx::SetPos(LONG position)
{
    return Call<BOOL>(this, 12, VT_BOOL, FALSE, (const BYTE*)(VTS_I4), position);
}

BOOL CTabrelEx::DeleteTab(LONG tab)
{
    return Call<BOOL>(this, 13, VT_BOOL, FALSE, (const BYTE*)(VTS_I4), tab);
}

void CTabrelEx::SetTransparent(BOOL transparent)
{
    CallVoid(this, 14, (const BYTE*)(VTS_BOOL), (int)transparent);
}

void CTabrelEx::SetAltThumb(LONG thumb)
{
    CallVoid(this, 15, (const BYTE*)(VTS_I4), thumb);
}

void CTabrelEx::AboutBox()
{
    CallVoid(this, -552, (const BYTE*)(VTS_NONE));
}
