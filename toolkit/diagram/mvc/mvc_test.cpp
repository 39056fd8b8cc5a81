// The framework core without a drawing: collections and their walks, observers, visual parts,
// zoom and scrolling of a logical part, and the plugged-in controller's message routing.
#include "gtest_wine.h"
#include "Mvc.h"

namespace {

typedef CCArray_T<int*, int*> IntSet;

int g_items[6];

TEST(Collections, WalksEndOnNullAndWrapAround)
{
    IntSet set;
    Iterator_T<int*> it(&set);
    EXPECT_EQ(it.GetFirst(), nullptr);
    EXPECT_EQ(it.GetLast(), nullptr);

    int *a = &g_items[0], *b = &g_items[1], *c = &g_items[2];
    set.Add(a);
    set.Add(b);
    set.Add(a);
    set.Add(c);
    set.Add(a);
    EXPECT_EQ(it.GetFirst(), a);
    EXPECT_EQ(it.GetNext(), b);
    EXPECT_EQ(it.GetLast(), a);
    EXPECT_EQ(it.GetNext(), nullptr);  // past the end

    // FindNext from the last index wraps to an earlier match; FindPrev from 0 to a later one.
    int index = 4;
    EXPECT_TRUE(set.FindNext(index, b));
    EXPECT_EQ(index, 1);
    index = 0;
    EXPECT_TRUE(set.FindPrev(index, c));
    EXPECT_EQ(index, 3);
    index = 2;
    EXPECT_FALSE(set.FindNext(index, &g_items[5]));
    EXPECT_EQ(index, 2);

    set.Remove(a);
    EXPECT_EQ(set.GetSize(), 2);
    EXPECT_EQ(set.IndexOf(a), -1);
}

TEST(Collections, RemovingDuringAWalkSkipsTheNextElement)
{
    IntSet set;
    for (int i = 0; i < 4; ++i)
        set.Add(&g_items[i]);
    Iterator_T<int*> it(&set);
    EXPECT_EQ(it.GetFirst(), &g_items[0]);
    it.RemoveCurrent();
    EXPECT_EQ(it.GetNext(), &g_items[2]);
}

TEST(Collections, PositionsOffTheArrayDoNothing)
{
    IntSet set;
    set.Add(&g_items[0]);
    Iterator_T<int*> it(&set);
    it.MoveLast();
    it.MoveNext();
    it.SetCurrent(&g_items[1]);
    it.RemoveCurrent();
    it.MovePrev();
    it.MovePrev();
    it.MovePrev();
    it.SetCurrent(&g_items[1]);
    it.RemoveCurrent();
    EXPECT_EQ(set.GetSize(), 1);
    EXPECT_EQ(set[0], &g_items[0]);
    it.Attach(&set);  // a second attach frees the first position
    EXPECT_EQ(it.GetFirst(), &g_items[0]);
}

struct Recorder : IMvcObserver {
    int calls = 0;
    void* last = nullptr;
    void OnUpdate(IMvcSubject*, void* message) override
    {
        ++calls;
        last = message;
    }
};

TEST(MvcModel, ObserversTwiceAndTheSender)
{
    MvcModel model;
    Recorder a, b;
    model.AddObserver(&a);
    model.AddObserver(&a);
    model.AddObserver(&b);
    int message;
    model.UpdateAllObservers(NULL, &message);
    EXPECT_EQ(a.calls, 2);
    EXPECT_EQ(b.calls, 1);
    model.UpdateAllObservers(&a, &message);
    EXPECT_EQ(a.calls, 2);
    EXPECT_EQ(b.calls, 2);
    model.RemoveObserver(&a);
    EXPECT_EQ(model.GetObserverCount(), 1);
}

TEST(MvcVisualComponent, OriginSizeAndScaling)
{
    MvcVisualComponent c;
    c.SetSize(100, 100);
    EXPECT_EQ(c.SetOrigin(10, 10), CPoint(0, 0));
    EXPECT_EQ(c.GetBounds(), CRect(10, 10, 100, 100));
    c.SetOrigin(0, 0);
    EXPECT_EQ(c.OffsetBounds(10, 10), CPoint(10, 10));
    EXPECT_EQ(c.GetBounds(), CRect(10, 10, 110, 110));

    struct Case {
        int keep;
        CRect expected;
    } cases[] = {{1, CRect(35, 35, 85, 85)}, {2, CRect(10, 10, 60, 60)}, {0, CRect(10, 10, 60, 60)}};
    for (const Case& k : cases) {
        MvcVisualComponent s;
        s.SetOrigin(10, 10);
        s.SetSize(100, 100);
        EXPECT_EQ(s.ScaleSize(1, 2, 1, 2, k.keep), CSize(100, 100));
        EXPECT_EQ(s.GetBounds(), k.expected) << k.keep;
    }
}

TEST(MvcLogicalPart, ZoomTruncatesAndExtentsStayPositive)
{
    MvcLogicalPart part;
    struct Case {
        int set, got;
    } cases[] = {{200, 200}, {150, 149}, {300, 299}, {100, 100}};
    for (const Case& c : cases) {
        part.SetZoom(c.set, c.set);
        EXPECT_EQ(part.GetZoom().cx, c.got) << c.set;
    }
    part.SetZoom(100, 100);
    int expected[] = {124, 148, 172, 197, 222};
    for (int e : expected) {
        part.IncreaseZoom(25, 25);
        EXPECT_EQ(part.GetZoom().cx, e);
    }
    part.SetScale(0.0001f, 0.0001f);
    CSize logical(1, 1), device(1, 1);
    part.ScaleExtents(&logical, &device);
    EXPECT_EQ(logical, CSize(1, 1));
}

TEST(MvcLogicalPart, FixedModesIgnoreExtentsAndScrollingStaysInside)
{
    MvcLogicalPart part;
    part.SetMapMode(MM_TEXT);
    EXPECT_EQ(part.SetDeviceExtents(5, 5), CSize(1, 1));
    EXPECT_EQ(part.GetDeviceExtents(), CSize(1, 1));
    part.SetMapMode(MM_ANISOTROPIC);
    part.SetDeviceExtents(5, 5);
    EXPECT_EQ(part.GetDeviceExtents(), CSize(5, 5));
    part.SetDeviceExtents(1, 1);

    // The virtual area is the view itself here: every scroll lands back on the origin.
    part.SetSize(200, 100);
    EXPECT_EQ(part.ScrollBy(50, 30), CRect(0, 0, 200, 100));
    part.SetLogicalOrigin(40, 40);
    EXPECT_EQ(part.ScrollBy(0, 0).TopLeft(), CPoint(0, 0));
}

TEST(MvcLogicalPart, PreparedContextAndSizesInOtherModes)
{
    MvcLogicalPart part;
    part.SetOrigin(5, 6);
    part.SetLogicalOrigin(100, 200);
    part.SetExtents(0, 2, 1);
    part.SetExtents(1, 2, 1);
    part.SetScale(2.0f, 0.5f);
    HDC mem = ::CreateCompatibleDC(NULL);
    CDC dc;
    dc.Attach(mem);
    part.PrepareDC(&dc);
    EXPECT_EQ(dc.GetWindowExt(), CSize(4, 1));
    EXPECT_EQ(dc.GetViewportExt(), CSize(1, 1));
    POINT p = {100, 200};
    dc.LPtoDP(&p, 1);
    EXPECT_EQ(CPoint(p), CPoint(5, 6));
    dc.Detach();
    ::DeleteDC(mem);

    // Sizes given in another fixed mode arrive in the part's own through twips.
    MvcLogicalPart english;
    english.SetMapMode(MM_HIENGLISH);
    int cx = 254, cy = 2540;
    EXPECT_TRUE(english.ConvertSize(MM_LOMETRIC, &cx, &cy));
    EXPECT_EQ(CSize(cx, cy), CSize(1000, 10000));
    EXPECT_FALSE(english.ConvertSize(MM_ANISOTROPIC, &cx, &cy));
    EXPECT_FALSE(english.ConvertSize(MM_HIENGLISH, &cx, &cy));
}

// A controller whose map answers left clicks; SetHandled decides the answer.
class TestController : public MvcController
{
public:
    int clicks = 0;
    BOOL answer = TRUE;
    void OnLButtonDown(UINT, CPoint)
    {
        ++clicks;
        SetHandled(answer);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestController, MvcController)
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

class TestViewport : public MvcViewport
{
public:
    TestController* made = nullptr;
    BOOL CreateController() override
    {
        made = new TestController;
        m_pController = made;
        m_bOwnsController = TRUE;
        return TRUE;
    }
};

TEST(MvcViewport, MessagesReachThePluggedController)
{
    CWnd host;
    ASSERT_TRUE(host.CreateEx(0, "STATIC", "host", WS_POPUP, CRect(0, 0, 300, 200), NULL, 0));
    {
        TestViewport viewport;
        ASSERT_TRUE(viewport.Create(&host, NULL));
        viewport.SetSize(300, 200);
        TestController* c = viewport.made;
        ASSERT_TRUE(c->IsPlugged());
        EXPECT_EQ(c->GetSafeHwnd(), host.GetSafeHwnd());

        LRESULT result = 0;
        EXPECT_TRUE(viewport.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10), &result));
        c->answer = FALSE;
        EXPECT_FALSE(viewport.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10), &result));
        EXPECT_EQ(c->clicks, 2);
        // Negative coordinates read as unsigned halves fall outside the viewport ...
        EXPECT_FALSE(viewport.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(-5, 10), &result));
        EXPECT_EQ(c->clicks, 2);
        // ... but reach the controller that holds the capture.
        c->answer = TRUE;
        MvcController::SetCaptureController(c);
        EXPECT_TRUE(viewport.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(-5, 10), &result));
        MvcController::SetCaptureController(NULL);
        EXPECT_EQ(c->clicks, 3);
        // Messages outside the controller's list never reach its map.
        EXPECT_FALSE(viewport.OnWndMsg(WM_SIZE, 0, 0, &result));
        // A viewport without a controller of its own still offers messages to the holder.
        MvcViewport bare;
        MvcController::SetCaptureController(c);
        EXPECT_TRUE(bare.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10), &result));
        MvcController::SetCaptureController(NULL);
        EXPECT_FALSE(bare.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10), &result));
        EXPECT_EQ(c->clicks, 4);
        c->UnPlug();
        EXPECT_FALSE(viewport.OnWndMsg(WM_LBUTTONDOWN, 0, MAKELPARAM(10, 10), &result));
        EXPECT_EQ(c->clicks, 4);
    }
    // The plug-in borrowed the handle: the host window outlives it.
    EXPECT_TRUE(::IsWindow(host.GetSafeHwnd()));
    host.DestroyWindow();
}

}  // namespace
