#include "ODSpatialIndex.h"
#include <algorithm>
#include "ODComponent.h"
#include "ODGeometry.h"

CODSpatialNode::~CODSpatialNode()
{
    delete m_pLow;
    delete m_pHigh;
}

int CODSpatialNode::Classify(LONG l, LONG t, LONG r, LONG b) const
{
    CPoint c = Centre();
    LONG lo = IsWide() ? l : t, hi = IsWide() ? r : b, split = IsWide() ? c.x : c.y;
    if (lo == split && hi == split)
        return 0;
    if (lo <= split && hi <= split)
        return 1;
    if (lo >= split && hi >= split)
        return 2;
    return 3;
}

int CODSpatialNode::ClassifyPoint(int x, int y) const
{
    CPoint c = Centre();
    int v = IsWide() ? x : y, split = IsWide() ? c.x : c.y;
    return v < split ? 1 : v > split ? 2 : 0;
}

void CODSpatialNode::Split(const CODSpatialEntry& e, CODSpatialEntry* low,
                           CODSpatialEntry* high) const
{
    CPoint c = Centre();
    *low = e;
    *high = e;
    if (IsWide()) {
        low->right = c.x;
        high->left = c.x;
    } else {
        low->bottom = c.y;
        high->top = c.y;
    }
}

CRect CODSpatialNode::LowHalf() const
{
    CPoint c = Centre();
    return IsWide() ? CRect(m_rect.left, m_rect.top, c.x, m_rect.bottom)
                    : CRect(m_rect.left, m_rect.top, m_rect.right, c.y);
}

CRect CODSpatialNode::HighHalf() const
{
    CPoint c = Centre();
    return IsWide() ? CRect(c.x, m_rect.top, m_rect.right, m_rect.bottom)
                    : CRect(m_rect.left, c.y, m_rect.right, m_rect.bottom);
}

void CODSpatialNode::File(std::vector<CODSpatialEntry>& entries, int minSize)
{
    if (minSize < 3)
        minSize = 2;
    if (Width() < minSize && Height() < minSize) {
        m_entries.insert(m_entries.end(), entries.begin(), entries.end());
        return;
    }
    std::vector<CODSpatialEntry> low, high;
    for (const CODSpatialEntry& e : entries) {
        switch (Classify(e.left, e.top, e.right, e.bottom)) {
        case 0: m_entries.push_back(e); break;
        case 1: low.push_back(e); break;
        case 2: high.push_back(e); break;
        default: {
            CODSpatialEntry a, b;
            Split(e, &a, &b);
            low.push_back(a);
            high.push_back(b);
        }
        }
    }
    if (!low.empty()) {
        if (!m_pLow)
            m_pLow = new CODSpatialNode(LowHalf());
        m_pLow->File(low, minSize);
    }
    if (!high.empty()) {
        if (!m_pHigh)
            m_pHigh = new CODSpatialNode(HighHalf());
        m_pHigh->File(high, minSize);
    }
}

BOOL CODSpatialNode::Remove(std::vector<CODSpatialEntry>& entries)
{
    std::vector<CODSpatialEntry> here, low, high;
    if (!m_pLow && !m_pHigh) {
        here = entries;
    } else {
        for (const CODSpatialEntry& e : entries) {
            switch (Classify(e.left, e.top, e.right, e.bottom)) {
            case 0: here.push_back(e); break;
            case 1: (m_pLow ? low : here).push_back(e); break;
            case 2: (m_pHigh ? high : here).push_back(e); break;
            default: {
                // Each part goes to its child; without that child the entry goes here too, so
                // that no part of it is left behind anywhere.
                CODSpatialEntry a, b;
                Split(e, &a, &b);
                if (m_pLow)
                    low.push_back(a);
                if (m_pHigh)
                    high.push_back(b);
                if (!m_pLow || !m_pHigh)
                    here.push_back(e);
            }
            }
        }
    }
    BOOL removed = FALSE;
    for (const CODSpatialEntry& e : here) {
        auto end = std::remove_if(m_entries.begin(), m_entries.end(),
                                  [&](const CODSpatialEntry& x) { return x.component == e.component; });
        if (end != m_entries.end()) {
            m_entries.erase(end, m_entries.end());
            removed = TRUE;
        }
    }
    if (!low.empty() && m_pLow) {
        removed |= m_pLow->Remove(low);
        if (m_pLow->IsEmptyLeaf()) {
            delete m_pLow;
            m_pLow = NULL;
        }
    }
    if (!high.empty() && m_pHigh) {
        removed |= m_pHigh->Remove(high);
        if (m_pHigh->IsEmptyLeaf()) {
            delete m_pHigh;
            m_pHigh = NULL;
        }
    }
    return removed;
}

void CODSpatialNode::QueryPoint(int x, int y, std::vector<CODComponent*>& out) const
{
    int c = ClassifyPoint(x, y);
    if ((c == 1 || c == 0) && m_pLow)
        m_pLow->QueryPoint(x, y, out);
    if ((c == 2 || c == 0) && m_pHigh)
        m_pHigh->QueryPoint(x, y, out);
    for (const CODSpatialEntry& e : m_entries) {
        RECT r = {e.left, e.top, e.right, e.bottom};
        if (PointInRect(x, y, r))
            out.push_back(e.component);
    }
}

void CODSpatialNode::QueryRect(const CRect& rect, int mode, std::vector<CODComponent*>& out) const
{
    int c = Classify(rect.left, rect.top, rect.right, rect.bottom);
    if (c != 2 && m_pLow)
        m_pLow->QueryRect(rect, mode, out);
    if (c != 1 && m_pHigh)
        m_pHigh->QueryRect(rect, mode, out);
    for (const CODSpatialEntry& e : m_entries) {
        CRect b = e.component->GetBounds();
        if (mode == 0 ? RectInRect(b, rect) : RectsOverlap(b, rect))
            out.push_back(e.component);
    }
}

// ---------------------------------------------------------------------------------------------

BOOL CODSpatialIndex::Initialize(const CRect& rect)
{
    CRect r(rect);
    r.NormalizeRect();
    long long width = (long long)r.right - r.left, height = (long long)r.bottom - r.top;
    int size = RoundToInt((float)std::min(width, height) * 0.1f);
    // A canvas of extreme proportions would otherwise have cells so small across its long
    // side that one wide component is cut into millions of pieces: no more than 64 cells
    // along either side. The answers of the queries do not depend on the cell size.
    long long longest = std::max(width, height);
    if (size < (longest + 63) / 64)
        size = (int)std::min<long long>((longest + 63) / 64, 0x7FFFFFFF);
    return Initialize(rect, size);
}

BOOL CODSpatialIndex::Initialize(const CRect& rect, int minSize)
{
    delete m_pRoot;
    m_filed.clear();
    m_nMinCellSize = minSize < 2 ? 2 : minSize;
    CRect r(rect);
    r.NormalizeRect();
    m_pRoot = new CODSpatialNode(r);
    return TRUE;
}

CODSpatialEntry CODSpatialIndex::EntryOf(CODComponent* component)
{
    CRect b = component->GetBounds();
    return CODSpatialEntry{b.left, b.top, b.right, b.bottom, component};
}

void CODSpatialIndex::Insert(CODComponent* component)
{
    if (component == NULL || m_pRoot == NULL)
        return;
    Remove(component);  // filed once, under its present bounds
    std::vector<CODSpatialEntry> entries(1, EntryOf(component));
    m_filed[component] = entries[0];
    m_pRoot->File(entries, m_nMinCellSize);
}

void CODSpatialIndex::Insert(CODComponentSet* set)
{
    if (set != NULL)
        for (int i = 0; i < set->GetSize(); ++i)
            Insert((*set)[i]);
}

// Entries leave under the rectangle they were filed with: a component whose bounds changed
// behind the index's back (a group whose child moved) still leaves no entry behind.
void CODSpatialIndex::Remove(CODComponent* component)
{
    if (component == NULL || m_pRoot == NULL)
        return;
    auto it = m_filed.find(component);
    if (it == m_filed.end())
        return;
    std::vector<CODSpatialEntry> entries(1, it->second);
    m_filed.erase(it);
    m_pRoot->Remove(entries);
}

void CODSpatialIndex::Remove(CODComponentSet* set)
{
    if (set != NULL)
        for (int i = 0; i < set->GetSize(); ++i)
            Remove((*set)[i]);
}

void CODSpatialIndex::Collect(CODComponentSet* result, std::vector<CODComponent*>& found)
{
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    result->RemoveAll();
    for (CODComponent* c : found)
        result->Add(c);
}

void CODSpatialIndex::QueryPoint(CODComponentSet* result, int x, int y, int tolerance)
{
    if (m_pRoot == NULL || result == NULL)
        return;
    if (tolerance > 0) {
        QueryOverlapping(result, CRect(x - tolerance, y - tolerance, x + tolerance, y + tolerance));
        return;
    }
    std::vector<CODComponent*> found;
    m_pRoot->QueryPoint(x, y, found);
    Collect(result, found);
}

void CODSpatialIndex::QueryContained(CODComponentSet* result, const CRect& rect)
{
    if (m_pRoot == NULL || result == NULL)
        return;
    std::vector<CODComponent*> found;
    m_pRoot->QueryRect(rect, 0, found);
    Collect(result, found);
}

void CODSpatialIndex::QueryOverlapping(CODComponentSet* result, const CRect& rect)
{
    if (m_pRoot == NULL || result == NULL)
        return;
    std::vector<CODComponent*> found;
    m_pRoot->QueryRect(rect, 1, found);
    Collect(result, found);
}
