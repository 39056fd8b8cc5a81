// Ports: the circle port's region, properties and hit test, the location through the owner's
// and the port's own transforms, copies, drawing and the stored record.
#include "gtest_wine.h"
#include <memory>
#include "ODClosedShapes.h"
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODPortComponent.h"
#include "ODTransform.h"
#include "od_stream_util.h"
#include "od_test_canvas.h"

TEST(Ports, NewCirclePortRegionPropertiesAndHitTest)
{
    CODCirclePort port;
    ASSERT_TRUE(port.Create(CPoint(10, 20), 3));
    EXPECT_EQ(port.GetType(), "Port");
    EXPECT_EQ(port.GetName(), "Port");
    EXPECT_EQ(port.GetOwner(), nullptr);
    EXPECT_EQ(port.GetLocation(), CPoint(10, 20));
    ASSERT_EQ(port.GetRegion()->GetSegmentCount(), 1);
    const CODRgnSegment square = port.GetRegion()->GetSegment(0);
    ASSERT_EQ(square.GetCount(), 4);
    const CPoint want[4] = {CPoint(7, 17), CPoint(13, 17), CPoint(13, 23), CPoint(7, 23)};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(square.GetPoint(i), want[i]) << i;
    CODEditProperties edit;
    ASSERT_TRUE(port.GetProperty(40, edit));
    EXPECT_FALSE(edit.GetCanRotate());
    EXPECT_FALSE(edit.GetCanScale());
    CODFillProperties fill;
    ASSERT_TRUE(port.GetProperty(20, fill));
    EXPECT_EQ(fill.GetFillStyle(), 1);
    CPoint right(15, 20), inside(13, 20);
    EXPECT_FALSE(port.HitTestPort(&right, 1));
    EXPECT_TRUE(port.HitTestPort(&inside, 1));
    CArray<CPoint, CPoint> handles;
    port.GetHandles(handles, FALSE);
    EXPECT_EQ(handles.GetSize(), 0);
}

TEST(Ports, LocationThroughOwnerAndOwnTransforms)
{
    CODRectComponent owner;
    owner.Create(0, 0, 100, 100);
    CODTransform moved;
    moved.RotateAbout(900, 50.0f, 50.0f, 1, 1);
    moved.Translate(30, -10);
    owner.SetTransform(new CODTransform(moved));
    CODCirclePort port(&owner);
    port.Create(CPoint(0, 0), 3);
    const CPoint points[] = {CPoint(10, 20), CPoint(-40, 75), CPoint(0, 0), CPoint(123, -7)};
    for (CPoint pt : points) {
        port.SetLocation(pt);
        CPoint got = port.GetLocation();
        EXPECT_LE(abs(got.x - pt.x), 1) << pt.x;
        EXPECT_LE(abs(got.y - pt.y), 1) << pt.y;
    }
    // With a transform of its own too.
    port.SetTransform(new CODTransform);
    port.GetTransform()->Translate(5, 5);
    port.SetLocation(CPoint(60, 40));
    EXPECT_EQ(port.GetLocation(), CPoint(60, 40));

    // A copy keeps the centre flag and the radius but not the owner.
    port.SetCenterPort(1);
    std::unique_ptr<CODComponent> copy(port.Clone());
    CODCirclePort* c = DYNAMIC_DOWNCAST(CODCirclePort, copy.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->GetOwner(), nullptr);
    EXPECT_EQ(c->IsCenterPort(), 1u);
    EXPECT_EQ(c->GetRadius(), 3);
}

TEST(Ports, CirclePortDrawnAsACrossedCircleAndPlainPortNotAtAll)
{
    CODCirclePort port;
    port.Create(CPoint(10, 10), 6);
    Canvas canvas(24, 24);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* old = canvas.dc.SelectObject(&pen);
    canvas.dc.SelectStockObject(NULL_BRUSH);
    port.OnDraw(&canvas.dc);
    EXPECT_EQ(canvas.At(10, 10), RGB(0, 0, 0));  // the cross
    EXPECT_EQ(canvas.At(6, 10), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(10, 4), RGB(0, 0, 0));   // the circle's top
    EXPECT_EQ(canvas.At(7, 7), RGB(255, 255, 255));
    CODPortComponent plain;
    plain.Create(CPoint(18, 18));
    plain.OnDraw(&canvas.dc);
    EXPECT_EQ(canvas.At(18, 18), RGB(255, 255, 255));
    canvas.dc.SelectObject(old);
}

TEST(Ports, RecordsByteExactAndRoundTrip)
{
    CODCirclePort* port = new CODCirclePort;
    port->AddRef();
    port->Create(CPoint(10, 20), 4);
    port->SetCenterPort(1);
    std::vector<BYTE> stored = Store([&](CArchive& ar) { ar.WriteObject(port); });
    Bytes want;
    want.NewClass("CODCirclePort", 1);
    want.D(1).D(4).D(1).D(1);  // circle version, radius, port version, centre flag
    want.D(1).D(1).D(10).D(20);  // the point record: version, one vertex
    ASSERT_GT(stored.size(), want.v.size());
    EXPECT_EQ(FirstDifference(std::vector<BYTE>(stored.begin(), stored.begin() + want.v.size()),
                              want.v),
              -1);
    CODCirclePort* back = nullptr;
    Load(stored, [&](CArchive& ar) {
        back = (CODCirclePort*)ar.ReadObject(RUNTIME_CLASS(CODCirclePort));
    });
    ASSERT_NE(back, nullptr);
    back->AddRef();
    EXPECT_EQ(back->GetRadius(), 4);
    EXPECT_EQ(back->IsCenterPort(), 1u);
    EXPECT_EQ(back->GetLocation(), CPoint(10, 20));
    EXPECT_EQ(FirstDifference(Store([&](CArchive& ar) { ar.WriteObject(back); }), stored), -1);
    back->Release();
    port->Release();
}
