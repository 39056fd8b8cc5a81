// The slider's state and arithmetic without a window: range, thumb, the eight tab slots,
// the geometry of channel, thumb and tab marks, and the tab rules of both tab modes. The
// control (tabrelctl.h) owns one and adds drawing, buttons, timers and events.
#pragma once
#include "afx.h"

class CTabrelModel {
public:
    enum { kMaxTabs = 8, kEmptySlot = 9999, kChannelHeight = 4, kChannelHitBelow = 10 };

    // System metrics are handed in so that the arithmetic does not depend on the display.
    CTabrelModel(int cxIcon, int cxSmIcon, int cySmIcon);

    // Range and thumb
    BOOL SetRange(int nMin, int nMax);
    BOOL SetPos(int nPos);
    BOOL SetLineSize(int n);
    BOOL SetPageSize(int n);
    void SetTabMode(short nMode);
    void SetTransparent(BOOL b) { m_bTransparent = b; }

    // Geometry: the client rectangle decides channel, thumb, tabs and button slots.
    void SetClient(const CRect& rcClient);
    int PosToPoint(int nPos) const;
    int PointToPos(int x) const;
    CRect ThumbRect() const;
    CRect TabRect(int nPos) const;
    int SlotLeft(int k) const;
    CRect ChannelHitArea() const;
    int ChannelTopOffset() const { return m_bTransparent ? 8 : m_cySmIcon + 2; }

    // Tabs. Indices here count from 0; the control's members count from 1.
    int AddMark(int nPos);     // the new count, 0 when refused
    int AddButtonTab(int nPos); // mode 1: the new count, 0 when refused
    BOOL DeleteTab(int nIndex); // from 0
    BOOL SetTabPosition(int nIndex, int nPos);
    int GetTabPosition(int nIndex) const;
    void SortTabs();
    // The pass made before tab marks are drawn: marks above the maximum are dropped; the
    // others are sorted (overlapping ones are kept).
    void LayoutMarks();
    // Whether a mark at nPos would overlap another mark than nExcept.
    BOOL MarkOverlaps(int nPos, int nExcept) const;
    int MarkAt(CPoint pt) const;

    // The tab the Up and Down keys go to, or -1 when there is none; sets the current tab.
    int NextTab();
    int PreviousTab();

    // Range and thumb
    int m_nMin, m_nMax, m_nPos, m_nLastRequested;
    int m_nLineSize, m_nPageSize;
    short m_nTabMode;
    BOOL m_bTabAdjust, m_bTransparent;
    int m_nAltThumb;
    // Tabs
    int m_nTabCount;
    int m_nTabPos[kMaxTabs];
    CRect m_rcTab[kMaxTabs];
    int m_nCurTab, m_nDragTab, m_nRefusedTab;
    // Sizes
    int m_cxSmIcon, m_cySmIcon;
    int m_nThumbSize, m_nHalfThumb, m_nTabWidth, m_nButtonHeight;
    // Geometry
    CRect m_rcClient, m_rcChannel;
    int m_nChannelWidth;

private:
    static CRect Narrowed(const CRect& rc);
    CRect ShiftedInside(CRect rc, int nHalf) const;
};
