// A rectangle shape for the tests of the model: its four corners in its own coordinates,
// mapped by the drawing stack into its region, and a count of live shapes.
#pragma once
#include "ODComponent.h"
#include "ODLineProperties.h"

class CTestShape : public CODComponent
{
public:
    static int s_live;

    explicit CTestShape(CRect r = CRect(0, 0, 10, 10), BOOL withLine = FALSE) : m_rect(r)
    {
        ++s_live;
        if (withLine)
            SetOrAddProperty(CODLineProperties(10));
        UpdateRegion(FALSE);
    }
    CTestShape(const CTestShape& other) : CODComponent(other), m_rect(other.m_rect) { ++s_live; }
    ~CTestShape() override { --s_live; }
    CODComponent* Clone() const override { return new CTestShape(*this); }

    void BuildRegion(CODRgn* region) override
    {
        CPoint corners[4] = {m_rect.TopLeft(), CPoint(m_rect.right, m_rect.top),
                             m_rect.BottomRight(), CPoint(m_rect.left, m_rect.bottom)};
        GetTransformStack()->GetTop().TransformPoints(corners, 4);
        region->SetPolygon(corners, 4);
    }
    CRect GetOwnExtent() override { return m_rect; }
    void OnDraw(CDC* dc) override
    {
        ++m_draws;
        CODComponent::OnDraw(dc);
    }
    int m_draws = 0;

private:
    CRect m_rect;
};

// A two-point line in its own coordinates.
class CTestLine : public CODComponent
{
public:
    CTestLine(CPoint a, CPoint b) : m_a(a), m_b(b) { UpdateRegion(FALSE); }
    void BuildRegion(CODRgn* region) override
    {
        CPoint pts[2] = {m_a, m_b};
        GetTransformStack()->GetTop().TransformPoints(pts, 2);
        region->SetPolyline(pts, 2);
    }

private:
    CPoint m_a, m_b;
};
