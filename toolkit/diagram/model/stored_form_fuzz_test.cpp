// The reader of stored drawings fed every truncation and seeded mutations of a corpus of
// drawings: each load ends in an archive (or memory) exception or in a consistent model, never
// in a crash. QUORVEL_FUZZ_MUTATIONS sets the mutations per drawing (a small count by default).
#include "gtest_wine.h"
#include <random>
#include <stdlib.h>
#include "ODClosedShapes.h"
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODImageComponent.h"
#include "ODMetafileComponent.h"
#include "ODPortComponent.h"
#include "ODLinkComponent.h"
#include "ODSymbolComponent.h"
#include "ODLabelComponent.h"
#include "ODOrientationProperties.h"
#include "ODOrientationProperties.h"
#include "ODTextComponent.h"
#include "od_stream_util.h"
#include "od_test_canvas.h"
#include "od_test_shape.h"

int CTestShape::s_live = 0;

namespace {

int CountTree(CODComponent* c)
{
    int n = 1;
    for (int i = 0; i < c->GetChildCount(); ++i)
        n += CountTree(c->GetChild(i));
    return n;
}

// Every component of the tree has its parent and its registered id.
void CheckTree(CODModel& model, CODComponent* c, const char* what)
{
    for (int i = 0; i < c->GetChildCount(); ++i) {
        CODComponent* child = c->GetChild(i);
        ASSERT_EQ(child->GetParent(), c) << what;
        ASSERT_EQ(model.FindById(child->GetId()), child) << what;
        CheckTree(model, child, what);
    }
}

void CheckModel(CODModel& model, const char* what)
{
    CheckTree(model, &model, what);
    EXPECT_EQ(model.GetRegisteredCount(), CountTree(&model) - 1) << what;
    CODComponentSet all;
    model.GetComponentsOverlapping(&all, CRect(INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2));
    EXPECT_LE(all.GetSize(), model.GetChildCount()) << what;
}

// Loads bytes into a fresh model; FALSE when the reader refused them.
bool TryLoad(const std::vector<BYTE>& bytes, CODModel& model)
{
    try {
        Load(bytes, [&](CArchive& ar) { model.Serialize(ar); });
        return true;
    } catch (CException* e) {
        bool expected = e->IsKindOf(RUNTIME_CLASS(CArchiveException)) ||
                        e->IsKindOf(RUNTIME_CLASS(CMemoryException));
        EXPECT_TRUE(expected) << e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
        return false;
    }
}

// One reading: a refusal leaves a consistent model; an accepted stream stores, and what it
// stores reads back to the same bytes.
void Exercise(const std::vector<BYTE>& bytes, const char* what)
{
    {
        // A refused stream leaves a drawing that held something as it was.
        CODModel lived;
        LivedInModel(lived);
        const std::vector<BYTE> before = StoreModel(lived);
        if (!TryLoad(bytes, lived)) {
            CheckModel(lived, what);
            EXPECT_EQ(FirstDifference(StoreModel(lived), before), -1) << what;
        }
    }
    CODModel model;
    bool loaded = TryLoad(bytes, model);
    CheckModel(model, what);
    std::vector<BYTE> stored = StoreModel(model);
    if (!loaded)
        return;
    CODModel again;
    ASSERT_TRUE(TryLoad(stored, again)) << what;
    EXPECT_EQ(FirstDifference(StoreModel(again), stored), -1) << what;
}

std::vector<BYTE> PatternFill()
{
    Bytes b;
    b.NewClass("CODFillProperties", 1).D(1).D(20).D(1).D(0xFF00).D(0).D(3).D(3).D(2).D(0xFFFFFF);
    b.NewClass("SECDib", 1).W(0x4D42).D(62).W(0).W(0).D(62);
    b.D(40).D(1).D(1).W(1).W(1).D(0).D(0).D(0).D(0).D(2).D(0).D(0).D(0xFFFFFF);
    return b.v;
}

// The corpus: drawings of the classes built here.
std::vector<std::vector<BYTE>> Corpus()
{
    std::vector<std::vector<BYTE>> corpus;
    {
        CODModel empty;
        PlainPageSettings(empty);
        corpus.push_back(StoreModel(empty));
    }
    {
        CODModel model;
        PlainPageSettings(model);
        CODFillProperties* fill = NULL;
        Load(PatternFill(), [&](CArchive& ar) { fill = (CODFillProperties*)ar.ReadObject(NULL); });
        CODComponentSet set;
        for (int i = 0; i < 4; ++i) {
            CTestShape* s = new CTestShape(CRect(i * 50, i * 30, i * 50 + 40, i * 30 + 20), TRUE);
            s->SetName(i == 2 ? CString('n', 300) : CString("shape"));
            model.AppendChild(s);
            set.Add(s);
        }
        set[0]->SetOrAddProperty(*fill);
        set[1]->SetOrAddProperty(*fill);
        delete fill;
        set[1]->SetOrAddProperty(CODFontProperties(30));
        set[2]->SetOrAddProperty(CODOrientationProperties(60));
        set[2]->SetOrAddProperty(CODIntProperty(210, 2));
        set[3]->SetOrAddProperty(CODBoolProperty(240, TRUE));
        set[3]->Rotate(300, 10.0f, 10.0f, 1, 1);
        CODComponentSet pair;
        pair.Add(set[1]);
        pair.Add(set[2]);
        CODComponent* group = new CODComponent;
        model.GroupComponents(&pair, group, -1);
        CODComponentSet outer;
        outer.Add(group);
        outer.Add(set[3]);
        model.GroupComponents(&outer, new CODComponent, 0);
        corpus.push_back(StoreModel(model));
    }
    {
        // A drawing of model version 1 with the old page settings.
        Bytes old;
        old.D(1).D(0).Str("").Str("").Rect(0, 0, 1000, 1000).W(0).D(1).D(0).D(1);
        old.NewClass("CODComponent", 1).D(1).D(5).Str("C").Str("C").Rect(1, 1, 9, 9);
        old.NewClass("CODTransform", 0).F(2).F(0).F(0).F(2).F(3).F(4).D(1).D(1);
        old.NewClass("CODLineProperties", 1).D(1).D(10).D(1).D(0xFF).D(0).D(2).D(1).D(0).W(0);
        old.D(1).W(16).W(24).W(32).W(0).D(3).Chars("drv").D(3).Chars("dev").D(3).Chars("out");
        std::vector<BYTE> mode(148, 0);
        old.Raw(mode.data(), mode.size()).D(0).D(0).D(4).D(8500).D(11000).Rect(0, 0, 0, 0).Rect(0, 0, 0, 0);
        old.D(0x808080).W(0);
        corpus.push_back(old.v);
    }
    {
        // The shapes a coach draws: an arrow line, a polyline, a rectangle, an ellipse, a
        // polygon, curves and a rotated text, one of them grouped.
        CODModel model;
        PlainPageSettings(model);
        CPoint pts[7] = {CPoint(0, 0), CPoint(40, 10), CPoint(80, 0), CPoint(120, 30),
                         CPoint(90, 60), CPoint(50, 70), CPoint(10, 40)};
        CODLineComponent* arrow = new CODLineComponent;
        arrow->Create(pts, 2);
        arrow->SetEndEndpoint(new CODArrowEndpoint);
        arrow->SetStartEndpoint(new CODEndpoint);
        model.AppendChild(arrow);
        CODLineComponent* poly = new CODLineComponent;
        poly->Create(pts, 5);
        model.AppendChild(poly);
        CODRectComponent* rect = new CODRectComponent;
        rect->Create(10, 10, 60, 40);
        rect->Rotate(450, 35.0f, 25.0f);
        model.AppendChild(rect);
        CODEllipseComponent* ellipse = new CODEllipseComponent;
        ellipse->Create(CRect(0, 0, 100, 50));
        CODPolygonComponent* polygon = new CODPolygonComponent;
        polygon->Create(pts, 4);
        CODComponentSet pair;
        model.AppendChild(ellipse);
        model.AppendChild(polygon);
        pair.Add(ellipse);
        pair.Add(polygon);
        model.GroupComponents(&pair, new CODComponent, -1);
        CODCurveComponent* curve = new CODCurveComponent;
        curve->Create(pts, 7);
        model.AppendChild(curve);
        CODClosedCurveComponent* closed = new CODClosedCurveComponent;
        closed->Create(pts, 4);
        model.AppendChild(closed);
        CODTextComponent* text = new CODTextComponent;
        text->SetText("Keep the\r\nhead still");
        text->Create(CRect(0, 100, 120, 140), NULL);
        text->SetOrAddProperty(CODBoolProperty(240, TRUE));
        text->Rotate(900, 60.0f, 120.0f);
        model.AppendChild(text);
        // A metafile picture of one rectangle.
        CRect frame(0, 0, 1000, 500);
        HDC dc = CreateEnhMetaFileA(NULL, NULL, &frame, NULL);
        Rectangle(dc, 0, 0, 30, 20);
        HENHMETAFILE emf = CloseEnhMetaFile(dc);
        CString path = SaveTestMetafile(emf);
        DeleteEnhMetaFile(emf);
        CODMetafileComponent* picture = new CODMetafileComponent;
        picture->Create(CRect(200, 0, 260, 30));
        picture->LoadFile(path);
        DeleteFileA(path);
        model.AppendChild(picture);
        // A 2 x 2 bitmap image drawn with a transparent colour.
        CBitmap bitmap;
        DWORD pixels[4] = {0xFF00FF, 0x00FF00, 0x0000FF, 0xFFFFFF};
        bitmap.CreateBitmap(2, 2, 1, 32, pixels);
        CODImageComponent* image = new CODImageComponent;
        image->CreateFromBitmap(&bitmap, TRUE, RGB(255, 0, 255));
        image->OffsetVertices(300, 0);
        model.AppendChild(image);
        CODCirclePort* port = new CODCirclePort;
        port->Create(CPoint(320, 40), 3);
        model.AppendChild(port);
        // Two symbols joined port to port.
        CODSymbolComponent* symbols[2];
        for (int i = 0; i < 2; ++i) {
            symbols[i] = new CODSymbolComponent;
            symbols[i]->Create();
            CODRectComponent* body = new CODRectComponent;
            body->Create(400 + 60 * i, 0, 440 + 60 * i, 30);
            symbols[i]->AppendChild(body);
            CODCirclePort* end = new CODCirclePort;
            end->Create(CPoint(i ? 460 : 440, 15), 3);
            symbols[i]->AddPort(end);
            symbols[i]->UpdateRegion(FALSE);
            model.AppendChild(symbols[i]);
        }
        symbols[0]->Connect(symbols[0]->GetPort(0), symbols[1]->GetPort(0));
        // A link from the first symbol's centre to the second one's port.
        CODLinkComponent* link = new CODLinkComponent;
        link->Create(symbols[0]->GetCenterPort(), symbols[1]->GetPort(0));
        model.AppendChild(link);
        // A label on the first symbol and one along the link.
        symbols[0]->AddLabel(_T("Hip"), symbols[0], NULL)->SetOrientation(5);
        CODLabelComponent* along = link->AddLabel(_T("Path"), link, NULL);
        CODOrientationProperties placement(260);
        placement.SetPosition(50);
        along->SetOrAddProperty(placement);
        corpus.push_back(StoreModel(model));
    }
    return corpus;
}

TEST(StoredFormFuzz, CorpusReadsBack)
{
    int live = CTestShape::s_live;
    for (const std::vector<BYTE>& bytes : Corpus())
        Exercise(bytes, "corpus");
    EXPECT_EQ(CTestShape::s_live, live);
}

// A stream cut anywhere is refused, and the drawing it was read into stores the same bytes as
// before: nothing of the cut drawing stays behind.
TEST(StoredFormFuzz, EveryTruncationLeavesTheDrawingAsItWas)
{
    int live = CTestShape::s_live;
    for (const std::vector<BYTE>& bytes : Corpus()) {
        CODModel model;
        LivedInModel(model);
        const std::vector<BYTE> before = StoreModel(model);
        const int registered = model.GetRegisteredCount();
        for (size_t n = 0; n < bytes.size(); ++n) {
            std::vector<BYTE> cut(bytes.begin(), bytes.begin() + n);
            EXPECT_FALSE(TryLoad(cut, model)) << n;
            CheckModel(model, "truncation");
            EXPECT_EQ(model.GetRegisteredCount(), registered) << n;
            EXPECT_EQ(FirstDifference(StoreModel(model), before), -1) << n;
            if (HasFailure())
                return;
        }
    }
    EXPECT_EQ(CTestShape::s_live, live);
}

TEST(StoredFormFuzz, SeededMutations)
{
    int perDrawing = 300;
    if (const char* env = getenv("QUORVEL_FUZZ_MUTATIONS"))
        perDrawing = atoi(env);
    std::mt19937 rng(2511);
    std::vector<std::vector<BYTE>> corpus = Corpus();
    auto pick = [&](size_t n) { return n ? std::uniform_int_distribution<size_t>(0, n - 1)(rng) : 0; };
    static const BYTE kValues[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};
    for (size_t d = 0; d < corpus.size(); ++d)
        for (int m = 0; m < perDrawing; ++m) {
            std::vector<BYTE> bytes = corpus[d];
            int edits = 1 + (int)pick(4);
            for (int e = 0; e < edits && !bytes.empty(); ++e) {
                size_t at = pick(bytes.size());
                switch (pick(5)) {
                case 0: bytes[at] ^= (BYTE)(1u << pick(8)); break;
                case 1: bytes[at] = kValues[pick(sizeof(kValues))]; break;
                case 2: bytes.erase(bytes.begin() + at); break;
                case 3: bytes.insert(bytes.begin() + at, (BYTE)pick(256)); break;
                default: {
                    size_t len = std::min<size_t>(1 + pick(16), bytes.size() - at);
                    std::vector<BYTE> chunk(bytes.begin() + at, bytes.begin() + at + len);
                    bytes.insert(bytes.begin() + pick(bytes.size()), chunk.begin(), chunk.end());
                }
                }
            }
            Exercise(bytes, "mutation");
            if (HasFailure()) {
                ADD_FAILURE() << "drawing " << d << " mutation " << m;
                return;
            }
        }
}

}  // namespace

namespace {

// Two symbols, each with one port, in a drawing stored to bytes; share makes the second
// symbol list the first one's port as well in the stored bytes (as only a damaged stream can).
std::vector<BYTE> TwoSymbols(bool share)
{
    CODModel model;
    PlainPageSettings(model);
    CODSymbolComponent* symbols[2];
    for (int i = 0; i < 2; ++i) {
        symbols[i] = new CODSymbolComponent;
        symbols[i]->Create();
        CODCirclePort* port = new CODCirclePort;
        port->Create(CPoint(40 * i, 15), 3);
        EXPECT_TRUE(symbols[i]->AddPort(port));
        model.AppendChild(symbols[i]);
    }
    CODPortComponent* first = symbols[0]->GetPort(0);
    // A port another symbol owns is refused.
    EXPECT_FALSE(symbols[1]->AddPort(first));
    if (!share)
        return StoreModel(model);
    first->SetOwner(NULL);
    EXPECT_TRUE(symbols[1]->AddPort(first));
    std::vector<BYTE> bytes = StoreModel(model);
    symbols[1]->RemovePortAt(1);
    first->SetOwner(symbols[0]);
    return bytes;
}

TEST(StoredFormFuzz, AnElementThatHasAnOwnerAlreadyIsRefused)
{
    CODModel plain;
    EXPECT_TRUE(TryLoad(TwoSymbols(false), plain));
    CODModel model;
    LivedInModel(model);
    const std::vector<BYTE> before = StoreModel(model);
    EXPECT_FALSE(TryLoad(TwoSymbols(true), model));
    EXPECT_EQ(FirstDifference(StoreModel(model), before), -1);
}

}  // namespace
