// The reader of stored drawings fed every truncation and seeded mutations of a corpus of
// drawings: each load ends in an archive (or memory) exception or in a consistent model, never
// in a crash. QUORVEL_FUZZ_MUTATIONS sets the mutations per drawing (a small count by default).
#include "gtest_wine.h"
#include <random>
#include <stdlib.h>
#include "od_corpus.h"

int CTestShape::s_live = 0;

namespace {

using od_corpus::Corpus;

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
