// Measures and the drawing scale: unit conversions and comparisons across units, the size of
// a logical unit by map mode, conversions between measures and logical units, refused input.
#include "gtest_wine.h"
#include <math.h>
#include "ODMeasure.h"
#include "od_test_shape.h"

int CTestShape::s_live = 0;

TEST(Measure, ConversionsAndComparisons)
{
    struct {
        WORD from;
        float value;
        WORD to;
        float want;
    } cases[] = {
        {8, 1.0f, 5, 0.0352778f}, {5, 1.0f, 8, 28.3465f}, {0, 12.0f, 1, 1.0f}, {1, 1.0f, 0, 12.0f},
        {3, 1.0f, 7, 1.609344f},  {6, 1.0f, 4, 1000.0f},  {2, 1.0f, 1, 3.0f},
    };
    for (auto& c : cases)
        EXPECT_NEAR(CODMeasure(c.to, CODMeasure(c.from, c.value)).GetValue(), c.want, c.want * 1e-5f)
            << c.from << "->" << c.to;
    EXPECT_EQ(CODMeasure::GetFactor(1, 0), 0.0833333f);
    EXPECT_EQ(CODMeasure::GetFactor(0, 1), 12.0f);
    EXPECT_TRUE(CODMeasure(0, 12.0f) == CODMeasure(1, 1.0f));
    EXPECT_FALSE(CODMeasure(1, 1.0f) == CODMeasure(0, 12.0f));
    EXPECT_TRUE(CODMeasure(1, 1.0f) > CODMeasure(0, 12.0f));
    EXPECT_TRUE(CODMeasure(0, 0.05f) < CODMeasure(0, 1.0f / 16));
    EXPECT_EQ(CODMeasure::GetUnitStringId(8), 22126u);

    // Unknown unit codes are refused and leave the measure as it was.
    CODMeasure m(4, 25.4f);
    EXPECT_FALSE(m.SetUnits(9));
    m.SetValueInUnit(12, 3.0f);
    EXPECT_EQ(m.GetUnits(), 4);
    EXPECT_EQ(m.GetValue(), 25.4f);
    EXPECT_EQ(CODMeasure(200, 1.0f).GetUnits(), 0);
}

TEST(Measure, LogicalUnitSizeByMapMode)
{
    CSize ppi = ODScreenPixelsPerInch();
    struct {
        int mode;
        CSize logical, device;
        WORD unit;
        float x, y;
    } cases[] = {
        {MM_TEXT, {1, 1}, {1, 1}, 0, 1.0f / ppi.cx, 1.0f / ppi.cy},
        {MM_LOMETRIC, {1, 1}, {1, 1}, 4, 0.1f, 0.1f},
        {MM_HIMETRIC, {1, 1}, {1, 1}, 4, 0.01f, 0.01f},
        {MM_LOENGLISH, {1, 1}, {1, 1}, 0, 0.01f, 0.01f},
        {MM_HIENGLISH, {1, 1}, {1, 1}, 0, 0.001f, 0.001f},
        {MM_TWIPS, {1, 1}, {1, 1}, 0, 0.00069444446f, 0.00069444446f},
        {MM_ANISOTROPIC, {1000, 500}, {2000, 2000}, 0, 2.0f / ppi.cx, 4.0f / ppi.cy},
        {MM_ISOTROPIC, {0, 0}, {3, 3}, 0, 3.0f / ppi.cx, 3.0f / ppi.cy},
    };
    for (auto& c : cases) {
        CODMeasure x(6, -1.0f), y(6, -1.0f);
        CODMeasure::ConvertLogical(c.mode, c.logical, c.device, x, y);
        EXPECT_EQ(x.GetUnits(), c.unit) << c.mode;
        EXPECT_FLOAT_EQ(x.GetValue(), c.x) << c.mode;
        EXPECT_FLOAT_EQ(y.GetValue(), c.y) << c.mode;
    }
    CODMeasure x(6, -1.0f), y(6, -1.0f);
    CODMeasure::ConvertLogical(99, CSize(1, 1), CSize(1, 1), x, y);
    EXPECT_EQ(x.GetValue(), -1.0f);
}

TEST(Measure, DrawingScale)
{
    MvcLogicalPart view;
    view.SetMapMode(MM_ANISOTROPIC);
    view.SetLogicalExtents(1000, 1000);
    view.SetDeviceExtents(1000, 1000);
    CODCoordinateMapping map(&view);
    CSize ppi = ODScreenPixelsPerInch();
    EXPECT_EQ(map.GetUnits(), 0);
    EXPECT_EQ(map.GetScaleRatio(), 1.0f);
    float logical = 0;
    map.MeasureToLogical(CODMeasure(0, 1.0f), logical, FALSE);
    EXPECT_FLOAT_EQ(logical, (float)ppi.cx);

    // 1 inch stands for 10 feet.
    ASSERT_TRUE(map.SetScale(CODMeasure(0, 1.0f), CODMeasure(1, 10.0f)));
    EXPECT_NEAR(map.GetScaleRatio(), 120.0f, 1e-3f);
    map.MeasureToLogical(CODMeasure(1, 10.0f), logical, TRUE);
    EXPECT_NEAR(logical, (float)ppi.cy, 1e-3f);
    CODMeasure feet(1, 0.0f);
    map.LogicalToMeasure((float)ppi.cx, feet, FALSE);
    EXPECT_NEAR(feet.GetValue(), 10.0f, 1e-4f);

    // A drawn or real length of 0 and unknown units are refused; the scale stays.
    EXPECT_FALSE(map.SetScale(CODMeasure(0, 0.0f), CODMeasure(1, 10.0f)));
    EXPECT_FALSE(map.SetScale(CODMeasure(0, 1.0f), CODMeasure(1, 0.0f)));
    EXPECT_FALSE(map.SetUnits(9));
    EXPECT_NEAR(map.GetScaleRatio(), 120.0f, 1e-3f);
    CODMeasure drawn, real;
    map.GetScale(drawn, real);
    EXPECT_EQ(real.GetUnits(), 1);
    EXPECT_EQ(real.GetValue(), 10.0f);

    // A component's size and handle positions in the real unit.
    map.SetScale(CODMeasure(0, 1.0f), CODMeasure(0, 1.0f));
    CTestShape shape(CRect(0, 0, ppi.cx * 2, ppi.cy));
    CODMeasure w(0), h(0), hx(0), hy(0);
    map.GetComponentSize(&shape, w, h);
    EXPECT_NEAR(w.GetValue(), 2.0f, 1e-4f);
    EXPECT_NEAR(h.GetValue(), 1.0f, 1e-4f);
    map.GetHandlePosition(&shape, hx, hy, 4);
    EXPECT_NEAR(hx.GetValue(), 2.0f, 1e-4f);

    // A logical unit set as a length reads back as that length.
    map.SetLogicalUnitSize(CODMeasure(4, 0.5f), CODMeasure(4, 0.25f));
    CODMeasure ux, uy;
    map.GetLogicalUnitSize(ux, uy);
    EXPECT_NEAR(CODMeasure(4, ux).GetValue(), 0.5f, 0.01f);
    EXPECT_NEAR(CODMeasure(4, uy).GetValue(), 0.25f, 0.01f);
}
