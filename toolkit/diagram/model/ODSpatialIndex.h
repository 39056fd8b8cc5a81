// The spatial index of a model's top-level components: a binary space partition of the
// canvas, each node split at its centre across its longer side. A rectangle that crosses a
// split line is cut and filed on both sides; the index owns no component.
#pragma once
#include <afxwin.h>
#include <unordered_map>
#include <vector>
#include "MvcCollections.h"

class CODComponent;

struct CODSpatialEntry {
    LONG left, top, right, bottom;
    CODComponent* component;
};

class CODSpatialNode
{
public:
    explicit CODSpatialNode(const CRect& rect) : m_rect(rect), m_pLow(NULL), m_pHigh(NULL) {}
    virtual ~CODSpatialNode();

    void File(std::vector<CODSpatialEntry>& entries, int minSize);
    BOOL Remove(std::vector<CODSpatialEntry>& entries);
    void QueryPoint(int x, int y, std::vector<CODComponent*>& out) const;
    // mode 0: contained in rect, 1: overlapping rect.
    void QueryRect(const CRect& rect, int mode, std::vector<CODComponent*>& out) const;
    bool IsEmptyLeaf() const { return !m_pLow && !m_pHigh && m_entries.empty(); }

private:
    // Sizes and the centre in 64 bits: a canvas may span the whole int range.
    long long Width() const { return (long long)m_rect.right - m_rect.left; }
    long long Height() const { return (long long)m_rect.bottom - m_rect.top; }
    bool IsWide() const { return Width() >= Height(); }
    CPoint Centre() const
    {
        return CPoint((int)(((long long)m_rect.left + m_rect.right) / 2),
                      (int)(((long long)m_rect.top + m_rect.bottom) / 2));
    }
    int Classify(LONG l, LONG t, LONG r, LONG b) const;
    int ClassifyPoint(int x, int y) const;
    void Split(const CODSpatialEntry& e, CODSpatialEntry* low, CODSpatialEntry* high) const;
    CRect LowHalf() const;
    CRect HighHalf() const;

    CRect m_rect;
    std::vector<CODSpatialEntry> m_entries;
    CODSpatialNode* m_pLow;
    CODSpatialNode* m_pHigh;
};

class CODSpatialIndex
{
public:
    CODSpatialIndex() : m_nMinCellSize(2), m_pRoot(NULL) {}
    virtual ~CODSpatialIndex() { delete m_pRoot; }
    int GetCount() const { return (int)m_filed.size(); }

    BOOL Initialize(const CRect& rect);
    BOOL Initialize(const CRect& rect, int minSize);
    void Insert(CODComponent* component);
    void Insert(CODComponentSet* set);
    void Remove(CODComponent* component);
    void Remove(CODComponentSet* set);
    void QueryPoint(CODComponentSet* result, int x, int y, int tolerance);
    void QueryContained(CODComponentSet* result, const CRect& rect);
    void QueryOverlapping(CODComponentSet* result, const CRect& rect);
    int GetMinCellSize() const { return m_nMinCellSize; }

private:
    CODSpatialIndex(const CODSpatialIndex&) = delete;
    CODSpatialIndex& operator=(const CODSpatialIndex&) = delete;
    static CODSpatialEntry EntryOf(CODComponent* component);
    static void Collect(CODComponentSet* result, std::vector<CODComponent*>& found);

    int m_nMinCellSize;
    CODSpatialNode* m_pRoot;
    std::unordered_map<CODComponent*, CODSpatialEntry> m_filed;
};
