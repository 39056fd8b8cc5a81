// Shapes whose geometry is a list of vertices (lines, rectangles, ellipses, polygons, curves,
// text boxes), and the decorations at the ends of a line.
#pragma once
#include <afxtempl.h>
#include <vector>
#include "ODComponent.h"

class CODPointComponent : public CODComponent
{
    DECLARE_SERIAL(CODPointComponent)

public:
    CODPointComponent();
    CODPointComponent(const CODPointComponent& other);
    ~CODPointComponent() override;

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override;
    void GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices) override;
    void GetVertices(CArray<CPoint, CPoint>& points, int flag) override;
    CODRgn CreateOutlineRegion() override;
    void BuildRegion(CODRgn* region) override;
    CRect GetOwnExtent() override;
    CPoint SetOrigin(int x, int y) override;
    CPoint MoveOrigin(int dx, int dy) override;
    CPoint OffsetBounds(int dx, int dy) override;
    void PrepareDC(CDC* dc) override;

    virtual int GetVertexArray(CArray<CPoint, CPoint>* a);
    virtual int CopyVertices(CPoint* p);
    virtual int SetVertexArray(const CArray<CPoint, CPoint>* a);
    virtual void SetVertices(const CPoint* p, int n);
    virtual int GetVertexCount() { return m_nCount; }
    virtual int MoveVertex(int i, int dx, int dy);
    virtual int OffsetVertex(int i, int dx, int dy);
    virtual void OffsetVertices(int dx, int dy);

    BOOL Create(UINT typeId);
    // Sets the count; the contents are undefined until the caller fills them.
    void AllocVertices(int n);
    CPoint GetVertex(int i);
    CPoint SetVertex(int i, int x, int y);
    void InsertVertex(int i, int x, int y);
    void AppendVertex(int x, int y) { InsertVertex(m_nCount, x, y); }
    CPoint RemoveVertex(int i);
    CPoint* GetVertexData() { return m_pVertices; }

protected:
    // Maps the local vertices through the top of the drawing stack into the drawing vertices.
    void RefreshDrawingVertices();
    // Converts an offset in parent terms into local terms for vertex i.
    CPoint LocalOffset(int i, int dx, int dy) const;
    CPoint* DrawingVertices() { return m_pVertices + m_nCount; }
    enum RegionForm { kPolygon, kPolyline, kBezier, kClosedBezier };
    // Refreshes the drawing vertices and makes the region of that form through them; no
    // vertices give an empty region.
    void BuildVertexRegion(CODRgn* region, RegionForm form);
    // The Bezier outline of the vertices in parent coordinates (through the drawing vertices,
    // which it overwrites until the next draw or region rebuild).
    CODRgn ParentBezierOutline();

    int m_nCount;
    CPoint* m_pVertices;  // count local vertices, then count drawing vertices
};

class CODEndpoint : public CObject
{
    DECLARE_SERIAL(CODEndpoint)

public:
    CODEndpoint() : m_ptFrom(0, 0), m_ptTip(0, 0) {}
    CODEndpoint(const CODEndpoint& other) : CObject(), m_ptFrom(other.m_ptFrom), m_ptTip(other.m_ptTip) {}
    ~CODEndpoint() override {}

    void Serialize(CArchive& ar) override;
    virtual CODEndpoint* Clone() const { return new CODEndpoint(*this); }
    virtual void Draw(CDC*) {}
    virtual void BuildRegion(CODRgn* region) { region->Empty(); }

    void SetPoints(CPoint from, CPoint tip)
    {
        m_ptFrom = from;
        m_ptTip = tip;
    }
    CPoint GetFromPoint() const { return m_ptFrom; }
    CPoint GetTipPoint() const { return m_ptTip; }

protected:
    CPoint m_ptFrom;
    CPoint m_ptTip;
};

class CODArrowEndpoint : public CODEndpoint
{
    DECLARE_SERIAL(CODArrowEndpoint)

public:
    CODArrowEndpoint() : m_nLength(10), m_nWidth(8) {}
    CODArrowEndpoint(const CODArrowEndpoint& other)
        : CODEndpoint(other), m_nLength(other.m_nLength), m_nWidth(other.m_nWidth)
    {
    }

    void Serialize(CArchive& ar) override;
    CODEndpoint* Clone() const override { return new CODArrowEndpoint(*this); }
    void Draw(CDC* dc) override;
    void BuildRegion(CODRgn* region) override;
    virtual void GetArrowPoints(CPoint pts[3]);

    void SetLength(int length)
    {
        if (length >= 0)
            m_nLength = length;
    }
    void SetWidth(int width)
    {
        if (width >= 0)
            m_nWidth = width;
    }
    int GetLength() const { return m_nLength; }
    int GetWidth() const { return m_nWidth; }

private:
    int m_nLength;
    int m_nWidth;
};

class CODLineComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODLineComponent)

public:
    CODLineComponent();
    CODLineComponent(const CODLineComponent& other);
    ~CODLineComponent() override;

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override;
    BOOL CanAddVertex() override { return TRUE; }
    BOOL CanRemoveVertex() override { return m_nCount > 2; }
    void OnDraw(CDC* dc) override;
    CODRgn CreateOutlineRegion() override { return m_region; }
    void BuildRegion(CODRgn* region) override;
    virtual void DrawStartEndpoint(CDC* dc);
    virtual void DrawEndEndpoint(CDC* dc);

    BOOL Create(const CArray<CPoint, CPoint>& a);
    BOOL Create(const CPoint* p, int n);
    void SetStartEndpoint(CODEndpoint* endpoint);
    void SetEndEndpoint(CODEndpoint* endpoint);
    CODEndpoint* GetStartEndpoint() const { return m_pStart; }
    CODEndpoint* GetEndEndpoint() const { return m_pEnd; }
    int GetLength();
    CPoint GetPointAtPercent(int percent);
    CPoint GetPointAtPercent(int percent, int* from, int* to);

private:
    // Sets the start (TRUE) or end decoration's points from the drawing vertices; FALSE when
    // there is no decoration or fewer than two vertices.
    BOOL PlaceEndpoint(BOOL start);

    CODEndpoint* m_pStart;
    CODEndpoint* m_pEnd;
};
