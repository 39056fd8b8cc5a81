// Data sources and data objects, and an in-process drag and drop of a private format from
// one window to another, where the targets' drag-over answers decide the effect.
#include "gtest_wine.h"
#include "afxole.h"
#include <algorithm>
#include <vector>

namespace {

HGLOBAL BlockWith(const void* p, size_t n)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, n);
    memcpy(GlobalLock(h), p, n);
    GlobalUnlock(h);
    return h;
}

std::vector<BYTE> BytesOf(HGLOBAL h)
{
    std::vector<BYTE> v;
    if (!h)
        return v;
    const BYTE* p = (const BYTE*)GlobalLock(h);
    v.assign(p, p + GlobalSize(h));
    GlobalUnlock(h);
    return v;
}

class DataTransfer : public testing::Test {
protected:
    static void SetUpTestSuite() { AfxOleInit(); }
    CLIPFORMAT Format() { return (CLIPFORMAT)RegisterClipboardFormatA("QuorvelTestFormat"); }
};

// Renders one format on request, counting the requests.
class CRenderingSource : public COleDataSource {
public:
    int renders = 0;
    BOOL OnRenderGlobalData(LPFORMATETC, HGLOBAL* phGlobal) override
    {
        ++renders;
        const char text[] = "rendered";
        *phGlobal = BlockWith(text, sizeof text);
        return TRUE;
    }
};

TEST_F(DataTransfer, CachedAndDelayedDataReachTheReceiver)
{
    CRenderingSource source;
    const BYTE cached[] = {1, 2, 3, 4, 5};
    source.CacheGlobalData(Format(), BlockWith(cached, sizeof cached));
    source.DelayRenderData(CF_TEXT);

    COleDataObject data;
    data.Attach(source.GetDataObject(), FALSE);
    EXPECT_TRUE(data.IsDataAvailable(Format()));
    EXPECT_TRUE(data.IsDataAvailable(CF_TEXT));
    EXPECT_FALSE(data.IsDataAvailable(CF_BITMAP));
    EXPECT_EQ(data.GetGlobalData(CF_BITMAP), nullptr);

    // Every receiver gets a block of its own; the source keeps its copy.
    for (int i = 0; i < 2; ++i) {
        HGLOBAL h = data.GetGlobalData(Format());
        ASSERT_NE(h, nullptr);
        std::vector<BYTE> got = BytesOf(h);
        EXPECT_EQ(got, std::vector<BYTE>(cached, cached + sizeof cached));
        GlobalFree(h);
    }

    CFile* file = data.GetFileData(CF_TEXT);
    ASSERT_NE(file, nullptr);
    char text[16] = {};
    EXPECT_EQ(file->Read(text, sizeof text), 9u);
    EXPECT_STREQ(text, "rendered");
    delete file;
    EXPECT_EQ(source.renders, 1);
    EXPECT_EQ(data.GetFileData(CF_BITMAP), nullptr);

    // Caching a format again replaces its data.
    const BYTE other[] = {9};
    source.CacheGlobalData(Format(), BlockWith(other, 1));
    HGLOBAL h = data.GetGlobalData(Format());
    EXPECT_EQ(BytesOf(h), std::vector<BYTE>(1, 9));
    GlobalFree(h);
}

TEST_F(DataTransfer, TheClipboardHoldsASourceUntilReplaced)
{
    COleDataSource* source = new COleDataSource;
    const BYTE bytes[] = {7, 7, 7};
    source->CacheGlobalData(Format(), BlockWith(bytes, sizeof bytes));
    source->SetClipboard();
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), source);

    for (int i = 0; i < 2; ++i) { // pasting does not consume it
        COleDataObject data;
        ASSERT_TRUE(data.AttachClipboard());
        EXPECT_TRUE(data.IsDataAvailable(Format()));
        HGLOBAL h = data.GetGlobalData(Format());
        EXPECT_EQ(BytesOf(h), std::vector<BYTE>(bytes, bytes + sizeof bytes));
        GlobalFree(h);
    }
    OleSetClipboard(nullptr); // the clipboard lets go and the source is deleted
    EXPECT_EQ(COleDataSource::GetClipboardOwner(), nullptr);
}

// A drop target that answers with a fixed effect when the private format is offered, and
// records what arrives.
class CTestTarget : public COleDropTarget {
public:
    CLIPFORMAT format = 0;
    DROPEFFECT answer = DROPEFFECT_NONE;
    int enters = 0, overs = 0, leaves = 0, drops = 0;
    std::vector<BYTE> dropped;
    DROPEFFECT Answer(COleDataObject* data)
    {
        return data->IsDataAvailable(format) ? answer : DROPEFFECT_NONE;
    }
    DROPEFFECT OnDragEnter(CWnd*, COleDataObject* data, DWORD, CPoint) override
    {
        ++enters;
        return Answer(data);
    }
    DROPEFFECT OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint) override
    {
        ++overs;
        return Answer(data);
    }
    void OnDragLeave(CWnd*) override { ++leaves; }
    BOOL OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint) override
    {
        ++drops;
        HGLOBAL h = data->GetGlobalData(format);
        dropped = BytesOf(h);
        GlobalFree(h);
        return TRUE;
    }
};

// Moves the mouse along a script as the drag loop asks whether to go on: over each window
// until its target has answered, then drop (or cancel when the script runs out).
class CScriptedSource : public COleDropSource {
public:
    std::vector<std::pair<HWND, CTestTarget*>> stops;
    size_t stop = 0;
    int calls = 0;
    int oversAtArrival = -1;
    std::vector<DROPEFFECT> feedback;

    SCODE QueryContinueDrag(BOOL, DWORD) override
    {
        if (++calls > 500)
            return DRAGDROP_S_CANCEL;
        if (stop >= stops.size())
            return DRAGDROP_S_DROP;
        CTestTarget* target = stops[stop].second;
        if (oversAtArrival < 0) {
            // Other test programs share the desktop: keep the target on top of theirs.
            SetWindowPos(stops[stop].first, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            RECT rc;
            GetWindowRect(stops[stop].first, &rc);
            SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
            oversAtArrival = target->enters + target->overs;
        } else if (target->enters + target->overs > oversAtArrival + 1) {
            // This target has answered; on to the next stop (or the drop).
            ++stop;
            oversAtArrival = -1;
            if (stop >= stops.size())
                return DRAGDROP_S_DROP;
        }
        return S_OK;
    }
    SCODE GiveFeedback(DROPEFFECT effect) override
    {
        feedback.push_back(effect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
};

class DragDrop : public DataTransfer {
protected:
    void SetUp() override
    {
        for (int i = 0; i < 3; ++i) {
            // Shown without taking the activation from other test programs on the desktop.
            ASSERT_TRUE(wnd[i].CreateEx(WS_EX_TOPMOST | WS_EX_NOACTIVATE, AfxRegisterWndClass(0),
                                        "drag", WS_POPUP, 610 + 130 * i, 530, 120, 120, NULL,
                                        NULL));
            wnd[i].ShowWindow(SW_SHOWNOACTIVATE);
        }
        for (int i = 1; i < 3; ++i) {
            target[i].format = Format();
            ASSERT_TRUE(target[i].Register(&wnd[i]));
        }
    }
    void TearDown() override
    {
        for (int i = 1; i < 3; ++i)
            target[i].Revoke();
        for (auto& w : wnd)
            w.DestroyWindow();
    }
    CWnd wnd[3]; // 0: where the drag starts; 1 and 2: drop targets
    CTestTarget target[3];
};

TEST_F(DragDrop, APrivateFormatMovesFromOneWindowToAnother)
{
    // A pointer-wide value, as the clip list passes a clip's address inside the process.
    void* clip = &target[2];
    COleDataSource source;
    source.CacheGlobalData(Format(), BlockWith(&clip, sizeof clip));
    target[1].answer = DROPEFFECT_NONE; // refuses
    target[2].answer = DROPEFFECT_COPY;
    CScriptedSource drag;
    drag.stops = {{wnd[1].m_hWnd, &target[1]}, {wnd[2].m_hWnd, &target[2]}};

    DROPEFFECT effect = source.DoDragDrop(DROPEFFECT_COPY, NULL, &drag);

    EXPECT_EQ(effect, DROPEFFECT_COPY);
    EXPECT_EQ(target[1].drops, 0);
    EXPECT_EQ(target[1].leaves, 1);
    ASSERT_EQ(target[2].drops, 1);
    ASSERT_EQ(target[2].dropped.size(), sizeof clip);
    void* received = nullptr;
    memcpy(&received, target[2].dropped.data(), sizeof received);
    EXPECT_EQ(received, clip);
    // The feedback followed the targets' answers: none over the first, copy over the second.
    ASSERT_FALSE(drag.feedback.empty());
    EXPECT_NE(std::find(drag.feedback.begin(), drag.feedback.end(), DROPEFFECT_NONE),
              drag.feedback.end());
    EXPECT_EQ(drag.feedback.back(), DROPEFFECT_COPY);
}

TEST_F(DragDrop, AnAnswerTheSourceDoesNotAllowIsNoDrop)
{
    const BYTE bytes[] = {1};
    COleDataSource source;
    source.CacheGlobalData(Format(), BlockWith(bytes, 1));
    target[2].answer = DROPEFFECT_MOVE; // the source offers copy only
    CScriptedSource drag;
    drag.stops = {{wnd[2].m_hWnd, &target[2]}};

    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY, NULL, &drag), DROPEFFECT_NONE);
    EXPECT_EQ(target[2].drops, 0);
}

TEST_F(DragDrop, ARevokedWindowTakesNoDrops)
{
    const BYTE bytes[] = {1};
    COleDataSource source;
    source.CacheGlobalData(Format(), BlockWith(bytes, 1));
    target[2].answer = DROPEFFECT_COPY;
    target[2].Revoke();
    CScriptedSource drag;
    drag.stops = {{wnd[2].m_hWnd, &target[2]}};
    drag.calls = 494; // nothing will answer: give up soon

    EXPECT_EQ(source.DoDragDrop(DROPEFFECT_COPY, NULL, &drag), DROPEFFECT_NONE);
    EXPECT_EQ(target[2].enters + target[2].drops, 0);
}

} // namespace
