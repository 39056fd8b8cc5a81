#include "slider_model.h"
#include <algorithm>
#include <cmath>

CTabrelModel::CTabrelModel(int cxIcon, int cxSmIcon, int cySmIcon)
    : m_nMin(1), m_nMax(100), m_nPos(1), m_nLastRequested(1), m_nLineSize(1),
      m_nPageSize(cxIcon), m_nTabMode(1), m_bTabAdjust(TRUE), m_bTransparent(FALSE),
      m_nAltThumb(0), m_nTabCount(0), m_nCurTab(-1), m_nDragTab(-1), m_nRefusedTab(-1),
      m_cxSmIcon(cxSmIcon), m_cySmIcon(cySmIcon), m_nThumbSize(cxIcon),
      m_nHalfThumb(cxIcon / 2), m_nTabWidth(30), m_nButtonHeight(cySmIcon), m_nChannelWidth(0)
{
    for (int i = 0; i < kMaxTabs; ++i) {
        m_nTabPos[i] = kEmptySlot;
        m_rcTab[i].SetRectEmpty();
    }
    SetClient(CRect(0, 0, 0, 0));
}

BOOL CTabrelModel::SetRange(int nMin, int nMax)
{
    if (nMin < 0 || nMin >= nMax)
        return FALSE;
    m_nMin = nMin;
    m_nMax = nMax;
    return TRUE;
}

BOOL CTabrelModel::SetPos(int nPos)
{
    m_nLastRequested = nPos;
    if (nPos > m_nMax) {
        m_nPos = m_nMax;
        return FALSE;
    }
    if (nPos < m_nMin) {
        m_nPos = m_nMin;
        return FALSE;
    }
    m_nPos = nPos;
    return TRUE;
}

BOOL CTabrelModel::SetLineSize(int n)
{
    if (n <= 0 || n >= m_nMax)
        return FALSE;
    m_nLineSize = n;
    return TRUE;
}

BOOL CTabrelModel::SetPageSize(int n)
{
    if (n <= 0 || n >= m_nMax)
        return FALSE;
    m_nPageSize = n;
    return TRUE;
}

void CTabrelModel::SetTabMode(short nMode)
{
    m_nTabMode = nMode;
    if (nMode != 1)
        m_nTabWidth = m_cxSmIcon;
}

//////////////////////////////////////////////////////////////////////////////////////////
// Geometry

void CTabrelModel::SetClient(const CRect& rcClient)
{
    m_rcClient = rcClient;
    m_rcChannel.left = rcClient.left + m_nHalfThumb;
    m_rcChannel.right = rcClient.right - m_nHalfThumb;
    m_rcChannel.top = rcClient.top + ChannelTopOffset();
    m_rcChannel.bottom = m_rcChannel.top + kChannelHeight;
    m_nChannelWidth = m_rcChannel.right - m_rcChannel.left;
}

int CTabrelModel::PosToPoint(int nPos) const
{
    return (int)std::ceil((double)(nPos - m_nMin) * m_nChannelWidth / (m_nMax - m_nMin));
}

// The divisor is one step short of the range, so the right end of the channel reports
// max - 1 and the maximum lies just beyond it; the callers are used to that. A range of one
// step has no such shorter divisor and maps the whole channel onto its two positions.
int CTabrelModel::PointToPos(int x) const
{
    int steps = std::max(m_nMax - m_nMin - 1, 1);
    double pos = m_nMin;
    if (m_nChannelWidth > 0)
        pos += std::ceil((x - m_nHalfThumb) / ((double)m_nChannelWidth / steps));
    return (int)std::min<double>(std::max<double>(pos, m_nMin), m_nMax);
}

CRect CTabrelModel::ShiftedInside(CRect rc, int nHalf) const
{
    int limit = m_rcChannel.right + nHalf;
    if (rc.right >= limit)
        rc.OffsetRect(-std::max(rc.right - limit, 1), 0);
    return rc;
}

CRect CTabrelModel::ThumbRect() const
{
    CRect rc;
    rc.left = std::max(PosToPoint(m_nPos), (int)m_rcChannel.left - m_nHalfThumb);
    rc.right = rc.left + m_nThumbSize;
    if (m_nAltThumb == 1) {
        rc.top = m_rcChannel.bottom - m_nThumbSize / 2;
        rc.bottom = rc.top + m_nThumbSize / 2;
    } else {
        rc.top = m_rcChannel.bottom;
        rc.bottom = rc.top + m_nThumbSize;
    }
    return ShiftedInside(rc, m_nHalfThumb);
}

CRect CTabrelModel::TabRect(int nPos) const
{
    CRect rc;
    rc.left = std::max(PosToPoint(nPos), (int)m_rcChannel.left - m_nTabWidth / 2);
    rc.right = rc.left + m_nTabWidth;
    rc.bottom = m_rcChannel.top;
    rc.top = rc.bottom - m_nTabWidth;
    return ShiftedInside(rc, m_nTabWidth / 2);
}

int CTabrelModel::SlotLeft(int k) const
{
    int step = (m_rcChannel.right - m_nTabWidth - m_rcChannel.left) / 7;
    return m_rcChannel.left + k * step;
}

CRect CTabrelModel::ChannelHitArea() const
{
    CRect rc = m_rcChannel;
    rc.bottom += kChannelHitBelow;
    return rc;
}

//////////////////////////////////////////////////////////////////////////////////////////
// Tabs

CRect CTabrelModel::Narrowed(const CRect& rc)
{
    return CRect(rc.left + 2, rc.top, rc.right - 2, rc.bottom);
}

BOOL CTabrelModel::MarkOverlaps(int nPos, int nExcept) const
{
    CRect mark = Narrowed(TabRect(nPos)), common;
    for (int i = 0; i < m_nTabCount; ++i) {
        if (i == nExcept || m_nTabPos[i] == kEmptySlot)
            continue;
        CRect other = Narrowed(TabRect(m_nTabPos[i]));
        if (common.IntersectRect(&mark, &other))
            return TRUE;
    }
    return FALSE;
}

// A mark that overlaps another is refused from the second mark on: one accepted here would
// be dropped by the next layout pass after being reported as added, and the container's
// list of tabs would no longer match the control's. Before the control has a size nothing
// can be judged; the first layout pass does it.
int CTabrelModel::AddMark(int nPos)
{
    if (nPos < m_nMin || nPos > m_nMax || m_nTabCount >= kMaxTabs)
        return 0;
    for (int i = 0; i < m_nTabCount; ++i)
        if (m_nTabPos[i] == nPos)
            return 0;
    if (m_nTabCount >= 1 && m_nChannelWidth > 0 && MarkOverlaps(nPos, -1))
        return 0;
    m_nTabPos[m_nTabCount] = nPos;
    m_rcTab[m_nTabCount] = TabRect(nPos);
    ++m_nTabCount;
    SortTabs();
    return m_nTabCount;
}

int CTabrelModel::AddButtonTab(int nPos)
{
    if (m_nTabCount >= kMaxTabs)
        return 0;
    m_nTabPos[m_nTabCount++] = nPos;
    return m_nTabCount;
}

BOOL CTabrelModel::DeleteTab(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nTabCount)
        return FALSE;
    m_nTabPos[nIndex] = kEmptySlot;
    m_rcTab[nIndex].SetRectEmpty();
    if (m_nTabMode == 2) {
        --m_nTabCount;
        SortTabs();
    } else if (nIndex == m_nTabCount - 1) {
        // The count stays one past the last button in use.
        while (m_nTabCount > 0 && m_nTabPos[m_nTabCount - 1] == kEmptySlot)
            --m_nTabCount;
    }
    return TRUE;
}

BOOL CTabrelModel::SetTabPosition(int nIndex, int nPos)
{
    if (nIndex < 0 || nIndex >= m_nTabCount)
        return FALSE;
    m_nTabPos[nIndex] = nPos;
    if (m_nTabMode == 2)
        m_rcTab[nIndex] = TabRect(nPos);
    return TRUE;
}

int CTabrelModel::GetTabPosition(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nTabCount)
        return -1;
    return m_nTabPos[nIndex];
}

void CTabrelModel::SortTabs()
{
    std::stable_sort(m_nTabPos, m_nTabPos + kMaxTabs);
    for (int i = 0; i < kMaxTabs; ++i) {
        if (m_nTabPos[i] == kEmptySlot)
            m_rcTab[i].SetRectEmpty();
        else
            m_rcTab[i] = TabRect(m_nTabPos[i]);
    }
}

// Marks that came to overlap (a narrower range, marks set close together) are all kept and
// drawn over one another: dropping them here would lose tabs the container set, the impact
// tab among them, behind its back (its next SetTabPosition would be refused).
void CTabrelModel::LayoutMarks()
{
    for (int i = 0; i < kMaxTabs; ++i) {
        if (m_nTabPos[i] != kEmptySlot && m_nTabPos[i] > m_nMax) {
            m_nTabPos[i] = kEmptySlot;
            m_rcTab[i].SetRectEmpty();
            --m_nTabCount;
        }
    }
    SortTabs();
}

int CTabrelModel::MarkAt(CPoint pt) const
{
    for (int i = 0; i < m_nTabCount; ++i)
        if (m_nTabPos[i] != kEmptySlot && m_rcTab[i].PtInRect(pt))
            return i;
    return -1;
}

int CTabrelModel::NextTab()
{
    if (m_nTabCount == 0)
        return -1;
    if (m_nCurTab >= m_nTabCount) // its tab has been deleted since
        m_nCurTab = -1;
    if (m_nTabMode == 2) {
        m_nCurTab = m_nCurTab < 0 ? 0 : (m_nCurTab + 1) % m_nTabCount;
        return m_nCurTab;
    }
    if (m_nCurTab < 0) {
        // From the last requested position: the first slot (in slot order) above it.
        int k = 0;
        while (k < m_nTabCount && m_nTabPos[k] <= m_nLastRequested)
            ++k;
        m_nCurTab = (k == 0 || k == m_nTabCount) ? m_nTabCount - 1 : k - 1;
    }
    m_nCurTab = (m_nCurTab + 1) % m_nTabCount;
    return m_nCurTab;
}

int CTabrelModel::PreviousTab()
{
    if (m_nTabCount == 0)
        return -1;
    if (m_nCurTab >= m_nTabCount)
        m_nCurTab = -1;
    if (m_nTabMode == 2) {
        m_nCurTab = m_nCurTab < 0 ? 0 : (m_nCurTab + m_nTabCount - 1) % m_nTabCount;
        return m_nCurTab;
    }
    if (m_nCurTab < 0) {
        int n = m_nTabCount - 1;
        while (n >= 0 && m_nTabPos[n] >= m_nLastRequested)
            --n;
        m_nCurTab = (n + 1) % m_nTabCount;
    }
    m_nCurTab = m_nCurTab > 0 ? m_nCurTab - 1 : m_nTabCount - 1;
    return m_nCurTab;
}
