// Links: creation between ports, ends kept on their ports when a joined symbol moves, clipping
// at a centre port, freeing an end and the stored drawing.
#include "gtest_wine.h"
#include "ODClosedShapes.h"
#include "ODEditProperties.h"
#include "ODGraph.h"
#include "ODLinkComponent.h"
#include "ODModel.h"
#include "ODProperty.h"
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

CODCirclePort* AddPort(CODSymbolComponent* s, CPoint at)
{
    CODCirclePort* port = new CODCirclePort;
    port->Create(at, 3);
    s->AddPort(port);
    s->UpdateRegion(FALSE);
    return port;
}

int Bool80(CODPortComponent* port)  // -1 when absent
{
    CODProperty* p = port->FindProperty(80);
    int value = -1;
    if (p)
        p->GetValue(value);
    return value;
}

std::vector<CPoint> Path(CODLinkComponent* link)
{
    std::vector<CPoint> v(link->GetVertexCount());
    for (int i = 0; i < (int)v.size(); ++i)
        v[i] = link->GetVertex(i);
    return v;
}

struct Joined {
    CODModel model;
    CODSymbolComponent* a;
    CODSymbolComponent* b;
    CODCirclePort* pa;
    CODCirclePort* pb;
    CODLinkComponent* link;
    Joined()
    {
        a = MakeSymbol(CRect(-40, -20, 0, 20));
        b = MakeSymbol(CRect(100, -20, 140, 20));
        model.AppendChild(a);
        model.AppendChild(b);
        pa = AddPort(a, CPoint(0, 0));
        pb = AddPort(b, CPoint(100, 0));
        link = new CODLinkComponent;
        link->Create(pa, pb);
        model.AppendChild(link);
    }
};

}  // namespace

TEST(Links, CreatedBetweenTwoPorts)
{
    Joined j;
    CODLinkComponent* link = j.link;
    EXPECT_EQ(link->GetType(), "Link");
    EXPECT_EQ(link->GetName(), "Link");
    EXPECT_EQ(Path(link), (std::vector<CPoint>{CPoint(0, 0), CPoint(100, 0)}));
    EXPECT_EQ(link->GetSourcePort()->GetLocation(), CPoint(0, 0));
    EXPECT_EQ(link->GetTargetPort()->GetLocation(), CPoint(100, 0));
    for (CODPortComponent* end : {link->GetSourcePort(), link->GetTargetPort()}) {
        EXPECT_FALSE(end->IsVisible());
        EXPECT_EQ(Bool80(end), 0);
        CODEditProperties edit;
        ASSERT_TRUE(end->GetProperty(40, edit));
        EXPECT_FALSE(edit.GetCanSelect());
    }
    EXPECT_EQ(link->GetSourceComponent(), j.a);
    EXPECT_EQ(link->GetTargetComponent(), j.b);
    CODCirclePort* other = AddPort(j.b, CPoint(140, 0));
    EXPECT_EQ(link->ConnectSource(other), nullptr);  // the source end is taken
}

TEST(Links, OnlyTheEndAtAMovedSymbolFollows)
{
    Joined j;
    CODComponentSet moved;
    moved.Add(j.a);
    j.model.MoveComponents(&moved, 10, 5);
    EXPECT_EQ(Path(j.link), (std::vector<CPoint>{CPoint(10, 5), CPoint(100, 0)}));
    EXPECT_EQ(j.link->GetSourcePort()->GetLocation(), CPoint(10, 5));
    EXPECT_EQ(j.pb->GetLocation(), CPoint(100, 0));
    EXPECT_EQ(j.link->GetConnectionCount(), 2);
    // Moving the link alone brings its ends back onto their ports.
    CODComponentSet linkOnly;
    linkOnly.Add(j.link);
    j.model.MoveComponents(&linkOnly, 0, 30);
    EXPECT_EQ(Path(j.link).front(), CPoint(10, 5));
    EXPECT_EQ(Path(j.link).back(), CPoint(100, 0));
}

TEST(Links, EndAtACentrePortStopsOutsideTheOutline)
{
    CODModel model;
    CODSymbolComponent* square = MakeSymbol(CRect(0, 0, 40, 40));
    model.AppendChild(square);
    CPoint points[2] = {CPoint(20, 20), CPoint(100, 20)};
    CODLinkComponent* link = new CODLinkComponent;
    ASSERT_TRUE(link->Create(points, 2, square->GetCenterPort(), NULL));
    model.AppendChild(link);
    EXPECT_EQ(link->GetVertex(0), CPoint(44, 20));
    EXPECT_EQ(link->GetVertex(1), CPoint(100, 20));
    EXPECT_EQ(link->GetSourceComponent(), square);
    EXPECT_EQ(link->GetTargetComponent(), nullptr);
}

TEST(Links, FreedEndIsOfferedAgainAndTheDrawingStoresJoined)
{
    Joined j;
    j.link->DisconnectTarget();
    j.link->UpdateEndPorts();
    EXPECT_EQ(Bool80(j.link->GetTargetPort()), 1);
    EXPECT_EQ(j.link->GetTargetPort()->GetLocation(), CPoint(100, 0));
    EXPECT_EQ(j.b->GetConnectionCount(), 0);
    EXPECT_NE(j.link->ConnectTarget(j.pb), nullptr);

    PlainPageSettings(j.model);
    std::vector<BYTE> stored = StoreModel(j.model);
    CODModel again;
    Load(stored, [&](CArchive& ar) { again.Serialize(ar); });
    ASSERT_EQ(again.GetChildCount(), 3);
    CODLinkComponent* link = DYNAMIC_DOWNCAST(CODLinkComponent, again.GetChild(2));
    ASSERT_NE(link, nullptr);
    ASSERT_NE(link->GetLine(), nullptr);
    EXPECT_EQ(link->GetSourceComponent(), again.GetChild(0));
    EXPECT_EQ(link->GetTargetComponent(), again.GetChild(1));
    CODComponentSet moved;
    moved.Add(again.GetChild(1));
    again.MoveComponents(&moved, 0, 7);
    EXPECT_EQ(link->GetVertex(1), CPoint(100, 7));
}

// The graph view: a -> b -> c joined by two links, and a symbol joined to nothing.
TEST(Links, GraphNodesAndEdgesEnumerate)
{
    CODModel model;
    CODSymbolComponent* s[4];
    for (int i = 0; i < 4; ++i) {
        s[i] = MakeSymbol(CRect(200 * i, 0, 200 * i + 40, 40));
        model.AppendChild(s[i]);
    }
    CODLinkComponent* links[2];
    for (int i = 0; i < 2; ++i) {
        links[i] = new CODLinkComponent;
        links[i]->Create(AddPort(s[i], CPoint(200 * i + 40, 20)), AddPort(s[i + 1], CPoint(200 * (i + 1), 20)));
        model.AppendChild(links[i]);
    }
    model.AddRef();  // held by the test, as a model made with new is by its owner
    void* g = NULL;
    ASSERT_EQ(model.QueryInterface(IID_IODGraph, &g), S_OK);
    IODGraph* graph = static_cast<IODGraph*>(g);
    IODGraphNode* n[4];
    for (int i = 0; i < 4; ++i) {
        n[i] = (IODGraphNode*)graph->GetNode(s[i]->GetId());
        ASSERT_NE(n[i], nullptr);
        EXPECT_EQ(n[i]->GetId(), s[i]->GetId());
    }
    EXPECT_EQ(graph->GetNode(links[0]->GetId()), nullptr);  // a link is never a node
    EXPECT_EQ(graph->GetEdge(s[0]->GetId()), nullptr);
    IODGraphEdge* e0 = (IODGraphEdge*)graph->GetEdge(links[0]->GetId());
    ASSERT_NE(e0, nullptr);
    IODGraphNode* src = NULL;
    IODGraphNode* dst = NULL;
    EXPECT_EQ(e0->GetNodes(&src, &dst), 2);
    EXPECT_EQ(src, n[0]);
    EXPECT_EQ(dst, n[1]);
    src->Release();
    dst->Release();
    EXPECT_EQ(e0->GetNodes(NULL, NULL), 2);
    EXPECT_EQ(e0->Reserved(), 0);
    IODGraphEdge* again = n[0]->GetEdge(links[0]->GetId());
    EXPECT_EQ(again, e0);
    again->Release();

    struct Row {
        int node, edges, out, in;
    } rows[] = {{0, 1, 1, 0}, {1, 2, 1, 1}, {2, 1, 0, 1}, {3, 0, 0, 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.node);
        EXPECT_EQ(n[row.node]->GetEdgeCount(), row.edges);
        EXPECT_EQ(n[row.node]->GetOutEdgeCount(), row.out);
        EXPECT_EQ(n[row.node]->GetInEdgeCount(), row.in);
    }
    {
        CODGraphCollection succ, pred, adj;
        EXPECT_EQ(n[1]->GetSuccessors(&succ), 1);
        EXPECT_TRUE(succ.Contains(n[2]));
        EXPECT_EQ(n[1]->GetPredecessors(&pred), 1);
        EXPECT_TRUE(pred.Contains(n[0]));
        EXPECT_EQ(n[1]->GetAdjacentNodes(&adj), 2);
        IODGraphNode* other = n[0]->GetAdjacentNode(e0);
        EXPECT_EQ(other, n[1]);
        other->Release();
        EXPECT_EQ(n[3]->GetAdjacentNode(e0), nullptr);
    }
    {
        CODGraphCollection forward, backward, both, none;
        n[0]->CollectReachableForward(&forward);
        EXPECT_EQ(forward.GetSize(), 2);
        EXPECT_TRUE(forward.Contains(n[2]));
        EXPECT_FALSE(forward.Contains(n[0]));
        n[2]->CollectReachableBackward(&backward);
        EXPECT_EQ(backward.GetSize(), 2);
        EXPECT_TRUE(backward.Contains(n[0]));
        n[0]->CollectReachable(&both);  // undirected: the walk comes back to the start
        EXPECT_EQ(both.GetSize(), 3);
        EXPECT_EQ(n[3]->CollectReachable(&none), 0);
        EXPECT_EQ(none.GetSize(), 0);
    }
    e0->Release();
    for (IODGraphNode* node : n)
        node->Release();
    graph->Release();
}

TEST(Links, StoredRecordsOfTheLinkAndItsConnection)
{
    Joined j;
    std::vector<BYTE> own = Store([&](CArchive& ar) { j.link->Serialize(ar); });
    Bytes want;
    want.D(1).D(0xFFFFFFFF).D(2).D(0).D(2);  // link version, then the symbol: marker, version, no labels, two ports
    ASSERT_GE(own.size(), want.v.size());
    EXPECT_EQ(FirstDifference(std::vector<BYTE>(own.begin(), own.begin() + want.v.size()), want.v), -1);

    CODConnectionArray connections;
    j.a->GetConnections(&connections);
    ASSERT_EQ(connections.GetSize(), 1);
    std::vector<BYTE> record = Store([&](CArchive& ar) { connections[0]->Serialize(ar); });
    // The source port as a new object of a new class, the target port after it, then DWORD 0.
    Bytes head;
    head.NewClass("CODCirclePort", 1);
    ASSERT_GE(record.size(), head.v.size() + 4);
    EXPECT_EQ(FirstDifference(std::vector<BYTE>(record.begin(), record.begin() + head.v.size()), head.v), -1);
    EXPECT_EQ(std::vector<BYTE>(record.end() - 4, record.end()), std::vector<BYTE>(4, 0));
}
