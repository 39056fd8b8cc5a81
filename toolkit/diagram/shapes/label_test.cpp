// Labels: placement around a symbol and along a link, following the owner or staying put, the
// owner let go of when the symbol drops its label, and the stored record.
#include "gtest_wine.h"
#include "ODClosedShapes.h"
#include "ODLabelComponent.h"
#include "ODLinkComponent.h"
#include "ODModel.h"
#include "ODOrientationProperties.h"
#include "ODSymbolComponent.h"
#include "od_stream_util.h"

namespace {

CODSymbolComponent* MakeSymbol(const CRect& r)
{
    CODSymbolComponent* s = new CODSymbolComponent;
    s->Create();
    CODRectComponent* body = new CODRectComponent;
    body->Create(r.left, r.top, r.right, r.bottom);
    s->AppendChild(body);
    s->UpdateRegion(FALSE);
    return s;
}

// A label box of exactly w x h at the origin, so placements do not depend on the font.
CODLabelComponent* MakeLabel(int w, int h, int position, int dx, int dy)
{
    CODLabelComponent* label = new CODLabelComponent;
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    label->Create(CRect(0, 0, w, h), &dc);
    CODOrientationProperties orientation;
    orientation.SetPosition(position);
    orientation.SetOffsetX(dx);
    orientation.SetOffsetY(dy);
    label->SetOrAddProperty(orientation);
    return label;
}

CPoint Placed(CODLabelComponent* label)
{
    return label->GetVertex(0);
}

}  // namespace

TEST(Labels, PlacedAroundTheSymbolBody)
{
    struct Row {
        int position, dx, dy;
        CPoint want;
    } rows[] = {
        {8, 10, 10, CPoint(40, 20)}, {0, 10, 10, CPoint(-10, -10)}, {1, 10, 10, CPoint(40, -10)},
        {2, 10, 10, CPoint(90, -10)}, {3, 10, 10, CPoint(90, 20)},  {4, 10, 10, CPoint(90, 50)},
        {5, 10, 10, CPoint(40, 50)},  {6, 10, 10, CPoint(-10, 50)}, {7, 10, 10, CPoint(-10, 20)},
        {9, 10, 10, CPoint(0, 0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.position);
        CODModel model;
        CODSymbolComponent* s = MakeSymbol(CRect(0, 0, 100, 50));
        model.AppendChild(s);
        CODLabelComponent* label = MakeLabel(20, 10, row.position, row.dx, row.dy);
        ASSERT_TRUE(s->AddLabel(label));
        EXPECT_FALSE(s->AddLabel(label));
        EXPECT_EQ(model.GetChildIndex(label), 1);  // a sibling of its symbol
        EXPECT_EQ(label->GetOwner(), s);
        EXPECT_EQ(s->GetLabelPosition(label), row.want);
        label->UpdateRegion(TRUE);
        EXPECT_EQ(Placed(label), row.want);
        // The symbol's region holds its labels; its hit region does not.
        CRect both;
        both.UnionRect(s->GetBounds(), label->GetBounds());
        EXPECT_EQ(both, s->GetBounds());
        EXPECT_EQ(s->GetHitRegion()->GetBounds(), CRect(0, 0, 100, 50));
    }
}

TEST(Labels, FollowTheOwnerUntilDraggedAlone)
{
    CODModel model;
    CODSymbolComponent* s = MakeSymbol(CRect(0, 0, 100, 50));
    model.AppendChild(s);
    CODLabelComponent* label = MakeLabel(20, 10, 8, 10, 10);
    s->AddLabel(label);
    label->UpdateRegion(TRUE);

    CODComponentSet set;
    set.Add(s);
    model.MoveComponents(&set, 30, 5);  // the label goes along as a dependent
    EXPECT_TRUE(label->GetFollowOwner());
    EXPECT_EQ(Placed(label), CPoint(70, 25));
    s->Translate(0, 40);  // moved alone by its symbol: the label is found at its new place
    EXPECT_EQ(Placed(label), CPoint(70, 65));
    CPoint centre = label->GetBounds().CenterPoint();
    CODComponentSet hits;
    model.HitTest(&centre, &hits, 0);
    EXPECT_GE(hits.IndexOf(label), 0);
    s->Translate(0, -40);

    CODComponentSet alone;
    alone.Add(label);
    model.MoveComponents(&alone, 0, 100);
    EXPECT_FALSE(label->GetFollowOwner());
    EXPECT_EQ(Placed(label), CPoint(70, 125));
    s->Translate(5, 0);
    label->UpdateRegion(TRUE);
    EXPECT_EQ(Placed(label), CPoint(70, 125));  // stays where it was put

    // Without an orientation group a following label is not repositioned.
    CODLabelComponent* plain = new CODLabelComponent;
    ASSERT_TRUE(plain->Create(NULL));
    EXPECT_EQ(plain->GetType(), CString("Label"));
    s->AddLabel(plain);
    plain->SetFollowOwner(TRUE);
    CPoint before = Placed(plain);
    plain->UpdateRegion(TRUE);
    EXPECT_EQ(Placed(plain), before);
    EXPECT_FALSE(plain->CanJoinGroup(&set));
}

TEST(Labels, OwnerClearedWhenTheSymbolLetsGo)
{
    CODModel model;
    CODSymbolComponent* s = MakeSymbol(CRect(0, 0, 100, 50));
    model.AppendChild(s);
    CODLabelComponent* kept = MakeLabel(20, 10, 8, 10, 10);
    s->AddLabel(kept);
    kept->AddRef();  // stands for a command's reference
    ASSERT_TRUE(s->RemoveLabelAt(0));
    EXPECT_EQ(kept->GetOwner(), nullptr);
    EXPECT_EQ(model.GetChildIndex(kept), -1);
    EXPECT_FALSE(s->RemoveLabelAt(0));

    CODLabelComponent* second = MakeLabel(20, 10, 8, 10, 10);
    s->AddLabel(second);
    second->AddRef();
    model.RemoveChild(s);  // the symbol goes: its labels leave the model and then the symbol
    EXPECT_EQ(model.GetChildIndex(second), -1);
    EXPECT_EQ(second->GetOwner(), nullptr);
    second->UpdateRegion(TRUE);  // reaches no freed symbol
    kept->UpdateRegion(TRUE);
    second->Release();
    kept->Release();
}

TEST(Labels, AlongALinkPath)
{
    struct Row {
        int percent, anchor, distance;
        CPoint want;
    } rows[] = {
        {50, 8, 0, CPoint(40, -5)},   // centred on (50, 0)
        {50, 8, 10, CPoint(40, -15)},  // 10 across the path
        {50, 0, 0, CPoint(50, 0)},    // top-left corner on the point
        {150, 8, 0, CPoint(90, -5)},  // held to the path's end
        {-20, 8, 0, CPoint(-10, -5)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.percent);
        CPoint points[2] = {CPoint(0, 0), CPoint(100, 0)};
        CODLinkComponent* link = new CODLinkComponent;
        ASSERT_TRUE(link->Create(points, 2, NULL, NULL));
        CODLabelComponent* label = MakeLabel(20, 10, 8, 0, 0);
        CODOrientationProperties placement(260);
        placement.SetPosition(row.percent);
        placement.SetOffsetX(row.anchor);
        placement.SetOffsetY(row.distance);
        label->SetOrAddProperty(placement);
        link->AddLabel(label);
        label->UpdateRegion(FALSE);
        EXPECT_EQ(link->GetLabelPosition(label), row.want);
        delete link;
    }
}

TEST(Labels, StoredRecordAndSymbolWithLabels)
{
    CODLabelComponent* label = MakeLabel(20, 10, 8, 10, 10);
    label->SetText(_T("Grip"));
    std::vector<BYTE> own = Store([&](CArchive& ar) { label->Serialize(ar); });
    Bytes want;
    want.D(1).D(1).D(1).Str("Grip");  // version, following, then the text's version and text
    ASSERT_GE(own.size(), want.v.size());
    EXPECT_EQ(FirstDifference(std::vector<BYTE>(own.begin(), own.begin() + want.v.size()), want.v), -1);
    delete label;

    CODModel model;
    PlainPageSettings(model);
    CODSymbolComponent* s = MakeSymbol(CRect(0, 0, 100, 50));
    model.AppendChild(s);
    CODLabelComponent* l = MakeLabel(20, 10, 4, 10, 10);
    l->SetText(_T("Top"));
    s->AddLabel(l);
    std::vector<BYTE> symbol = Store([&](CArchive& ar) { s->Serialize(ar); });
    Bytes head;
    head.D(0xFFFFFFFF).D(2).D(1);  // marker, version, one label
    EXPECT_EQ(FirstDifference(std::vector<BYTE>(symbol.begin(), symbol.begin() + head.v.size()), head.v), -1);

    std::vector<BYTE> stored;
    ASSERT_NO_THROW(stored = StoreModel(model));
    CODModel again;
    try {
        Load(stored, [&](CArchive& ar) { again.Serialize(ar); });
    } catch (CException* e) {
        TCHAR m[200] = {0};
        e->GetErrorMessage(m, 200);
        ADD_FAILURE() << "load " << m << " " << e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
        return;
    }
    ASSERT_EQ(again.GetChildCount(), 2);  // the label is stored once, the second time a reference
    CODSymbolComponent* s2 = DYNAMIC_DOWNCAST(CODSymbolComponent, again.GetChild(0));
    CODLabelComponent* l2 = DYNAMIC_DOWNCAST(CODLabelComponent, again.GetChild(1));
    ASSERT_NE(s2, nullptr);
    ASSERT_NE(l2, nullptr);
    ASSERT_EQ(s2->GetLabelCount(), 1);
    EXPECT_EQ(s2->GetLabel(0), l2);
    EXPECT_EQ(l2->GetOwner(), s2);
    EXPECT_TRUE(l2->GetFollowOwner());
    EXPECT_EQ(Placed(l2), CPoint(90, 50));
}

TEST(Labels, ScalingTheSymbolKeepsTheLabelSize)
{
    CODModel model;
    CODSymbolComponent* s = MakeSymbol(CRect(0, 0, 100, 50));
    model.AppendChild(s);
    CODLabelComponent* label = MakeLabel(20, 10, 2, 10, 10);
    s->AddLabel(label);
    label->UpdateRegion(TRUE);
    ASSERT_EQ(Placed(label), CPoint(90, -10));
    label->SetFollowOwner(FALSE);  // else it would be placed on the scaled body again
    s->Scale(2.0f, 2.0f, 50.0f, 25.0f);
    EXPECT_EQ(s->GetHitRegion()->GetBounds(), CRect(-50, -25, 150, 75));
    // Its old centre (100, -5) goes to (150, -35); the box stays 20 by 10.
    EXPECT_EQ(Placed(label), CPoint(140, -40));
    EXPECT_EQ(label->GetVertex(2) - label->GetVertex(0), CSize(20, 10));
}
