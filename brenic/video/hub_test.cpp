// The notification hub: masks, dispatch by bit, and subscribers that come and go while a
// notification runs.
#include "gtest_wine.h"
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include "DropTarget.h"
#include "ObserverSvr.h"

namespace {

std::vector<std::string> g_calls;

class Client : public CObserverClient
{
public:
    explicit Client(const char* name) : m_name(name) {}
    void OnClipLoaded() override { Log("clip"); }
    void OnPositionChanged() override { Log("pos"); }
    void OnVideoStateChanged() override { Log("state"); }
    void OnUpdate() override { Log("update"); }
    std::function<void()> m_onCall;

private:
    void Log(const char* what)
    {
        g_calls.push_back(m_name + " " + what);
        if (m_onCall)
            m_onCall();
    }
    std::string m_name;
};

} // namespace

TEST(Hub, MasksAndDispatch)
{
    const struct {
        int subscribed;  // bits given in two Subscribe calls, low byte then high byte
        int notified;
        const char* expected; // "" when the client must not be called
    } table[] = {
        {0x0801, 8, "c update"}, // 1 then 8: mask 9, called once
        {0x0801, 1, "c clip"},
        {0x0002, 8, ""},         // position only: not called by an update
        {0x0002, 2, "c pos"},
        {0x0404, 4, "c state"},
        {0x0F0F, 3, ""},         // not a single bit: nothing
        {0x0F0F, 16, ""},
    };
    for (const auto& t : table) {
        CObserverSvr hub;
        Client c("c");
        hub.Subscribe(&c, t.subscribed & 0xFF);
        hub.Subscribe(&c, t.subscribed >> 8);
        EXPECT_EQ((t.subscribed & 0xFF) | (t.subscribed >> 8), hub.GetMask(&c));
        g_calls.clear();
        hub.Notify(t.notified);
        if (*t.expected) {
            ASSERT_EQ(1u, g_calls.size()) << t.subscribed << " " << t.notified;
            EXPECT_EQ(t.expected, g_calls[0]);
        } else {
            EXPECT_TRUE(g_calls.empty()) << t.subscribed << " " << t.notified;
        }
    }
    CObserverSvr hub;
    Client c("c");
    hub.SubscribeClipLoaded(&c);
    hub.SubscribeUpdate(&c);
    EXPECT_EQ(9, hub.GetMask(&c));
    hub.SubscribePositionChanged(&c);
    hub.SubscribeVideoStateChanged(&c);
    EXPECT_EQ(15, hub.GetMask(&c));
    g_calls.clear();
    hub.NotifyClipLoaded();
    hub.NotifyPositionChanged();
    hub.NotifyVideoStateChanged();
    hub.NotifyUpdate();
    EXPECT_EQ((std::vector<std::string>{"c clip", "c pos", "c state", "c update"}), g_calls);
}

TEST(Hub, SubscribersComingAndGoingDuringANotification)
{
    CObserverSvr hub;
    auto a = std::make_unique<Client>("a");
    auto b = std::make_unique<Client>("b");
    Client late("late");
    hub.SubscribeUpdate(a.get());
    hub.SubscribeUpdate(b.get());
    // Whichever is called first destroys the other and subscribes a newcomer: the destroyed
    // one is not called, the newcomer only from the next notification on.
    Client* first = nullptr;
    auto act = [&](Client* self) {
        if (first)
            return;
        first = self;
        if (self == a.get())
            b.reset();
        else
            a.reset();
        hub.SubscribeUpdate(&late);
    };
    a->m_onCall = [&, p = a.get()] { act(p); };
    b->m_onCall = [&, p = b.get()] { act(p); };
    g_calls.clear();
    hub.NotifyUpdate();
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ(2, hub.GetSubscriberCount());
    g_calls.clear();
    hub.NotifyUpdate();
    EXPECT_EQ(2u, g_calls.size());

    // Unsubscribing itself inside its own call; a destroyed client leaves the hub.
    late.m_onCall = [&] { hub.Unsubscribe(&late); };
    hub.NotifyUpdate();
    EXPECT_EQ(0, hub.GetMask(&late));
    {
        Client gone("gone");
        hub.SubscribeClipLoaded(&gone);
        EXPECT_EQ(1, hub.GetMask(&gone));
    }
    EXPECT_EQ(1, hub.GetSubscriberCount());
    g_calls.clear();
    hub.NotifyClipLoaded();
    EXPECT_TRUE(g_calls.empty());
}

TEST(DropTarget, WithoutATargetDropsAreRefused)
{
    CDropTarget target;
    COleDataObject data;
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, target.OnDragEnter(NULL, &data, 0, CPoint(1, 1)));
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, target.OnDragOver(NULL, &data, 0, CPoint(1, 1)));
    EXPECT_FALSE(target.OnDrop(NULL, &data, DROPEFFECT_COPY, CPoint(1, 1)));
    target.OnDragLeave(NULL);

    struct Accepting : CDropTargetWnd {
        int leaves = 0;
        DROPEFFECT OnDragOver(CWnd*, COleDataObject*, DWORD, CPoint p) override
        {
            return p.x > 0 ? DROPEFFECT_COPY : DROPEFFECT_NONE;
        }
        BOOL OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) override { return TRUE; }
        void OnDragLeave(CWnd*) override { ++leaves; }
    } wnd;
    target.SetTargetWnd(&wnd);
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_COPY, target.OnDragOver(NULL, &data, 0, CPoint(1, 1)));
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, target.OnDragOver(NULL, &data, 0, CPoint(-1, 1)));
    EXPECT_EQ((DROPEFFECT)DROPEFFECT_NONE, target.OnDragEnter(NULL, &data, 0, CPoint(1, 1)));
    EXPECT_TRUE(target.OnDrop(NULL, &data, DROPEFFECT_COPY, CPoint(1, 1)));
    target.OnDragLeave(NULL);
    EXPECT_EQ(1, wnd.leaves);
}
