// Shapes drawn through their vertices as closed outlines or Bezier curves.
#pragma once
#include "ODPointComponent.h"

class CODRectComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODRectComponent)

public:
    CODRectComponent() {}
    CODRectComponent(const CODRectComponent& other) : CODPointComponent(other) {}
    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODRectComponent(*this); }
    void OnDraw(CDC* dc) override;
    int OffsetVertex(int i, int dx, int dy) override;

    BOOL Create(int left, int top, int right, int bottom);
    BOOL CreateWithoutProperties(int left, int top, int right, int bottom);
};

// The corner rule of boxes of four vertices (rectangles, metafile pictures, text boxes): the
// dragged corner moves, its neighbours follow, and a box of no width or height is refused
// (1 no width, 2 no height, 3 neither or a bad index; 0 done).
int ODOffsetBoxCorner(CODPointComponent* box, int i, CPoint localOffset);

class CODEllipseComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODEllipseComponent)

public:
    CODEllipseComponent() {}
    CODEllipseComponent(const CODEllipseComponent& other) : CODPointComponent(other) {}
    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODEllipseComponent(*this); }
    void GetHandles(CArray<CPoint, CPoint>& handles, BOOL vertices) override;
    void OnDraw(CDC* dc) override;
    CODRgn CreateOutlineRegion() override;
    void BuildRegion(CODRgn* region) override;
    int OffsetVertex(int i, int dx, int dy) override;

    BOOL Create(CRect r);
    void SetEllipseRect(CRect r);

private:
    CRect LocalCurveBounds() const;
};

class CODPolygonComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODPolygonComponent)

public:
    CODPolygonComponent() {}
    CODPolygonComponent(const CODPolygonComponent& other) : CODPointComponent(other) {}
    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODPolygonComponent(*this); }
    BOOL CanAddVertex() override { return TRUE; }
    BOOL CanRemoveVertex() override { return m_nCount > 3; }
    void OnDraw(CDC* dc) override;

    BOOL Create(const CArray<CPoint, CPoint>& a) { return Create(a.GetData(), (int)a.GetSize()); }
    BOOL Create(const CPoint* p, int n);
};

class CODCurveComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODCurveComponent)

public:
    CODCurveComponent() {}
    CODCurveComponent(const CODCurveComponent& other) : CODPointComponent(other) {}
    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODCurveComponent(*this); }
    BOOL CanAddVertex() override { return FALSE; }
    BOOL CanRemoveVertex() override { return FALSE; }
    void OnDraw(CDC* dc) override;
    CODRgn CreateOutlineRegion() override { return m_region; }
    void BuildRegion(CODRgn* region) override;

    BOOL Create(const CArray<CPoint, CPoint>& a) { return Create(a.GetData(), (int)a.GetSize()); }
    BOOL Create(const CPoint* p, int n);
    int GetSegmentCount() const { return GetSegmentCountFor(m_nCount); }
    static int GetSegmentCountFor(int n) { return (n - 1) / 3; }

protected:
    // The curve's strokes: the flattened region's records on a metafile DC, else PolyBezier.
    void DrawCurve(CDC* dc);
};

class CODClosedCurveComponent : public CODCurveComponent
{
    DECLARE_SERIAL(CODClosedCurveComponent)

public:
    CODClosedCurveComponent() {}
    CODClosedCurveComponent(const CODClosedCurveComponent& other) : CODCurveComponent(other) {}
    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODClosedCurveComponent(*this); }
    void OnDraw(CDC* dc) override;
    CODRgn CreateOutlineRegion() override;
    void BuildRegion(CODRgn* region) override;

    BOOL Create(const CArray<CPoint, CPoint>& a) { return Create(a.GetData(), (int)a.GetSize()); }
    BOOL Create(const CPoint* p, int n);
};
