// The slider hosted directly, with a clock of the test's own: tab buttons held and moved by
// their timers, the hold timer of the control, and the drawing on memory bitmaps.
#include "gtest_wine.h"
#include "bmpbutton.h"
#include "clock.h"
#include "tabbutton.h"
#include "tabrel.h"
#include "tabrelctl.h"
#include <algorithm>
#include <string>
#include <vector>

namespace {

// Timers that fire only when the test moves the time on.
class FakeClock : public CTabrelClock {
public:
    struct Timer {
        HWND hWnd;
        UINT_PTR id;
        UINT elapse;
        ULONGLONG due;
    };
    std::vector<Timer> timers;
    ULONGLONG now = 0;

    void SetTimer(HWND hWnd, UINT_PTR id, UINT elapse) override
    {
        KillTimer(hWnd, id);
        timers.push_back({hWnd, id, elapse, now + elapse});
    }
    void KillTimer(HWND hWnd, UINT_PTR id) override
    {
        timers.erase(std::remove_if(timers.begin(), timers.end(),
                                    [&](const Timer& t) { return t.hWnd == hWnd && t.id == id; }),
                     timers.end());
    }
    bool Running(HWND hWnd, UINT_PTR id) const
    {
        return std::any_of(timers.begin(), timers.end(),
                           [&](const Timer& t) { return t.hWnd == hWnd && t.id == id; });
    }
    // Fires every timer that falls due, in time order, as the system would.
    void Advance(UINT ms)
    {
        ULONGLONG end = now + ms;
        for (;;) {
            auto next = std::min_element(timers.begin(), timers.end(),
                                         [](const Timer& a, const Timer& b) { return a.due < b.due; });
            if (next == timers.end() || next->due > end)
                break;
            now = next->due;
            next->due += next->elapse;
            ::SendMessageA(next->hWnd, WM_TIMER, next->id, 0);
        }
        now = end;
    }
};

// Records the control's events as text.
class EventSink : public IDispatch {
public:
    std::vector<std::string> log;
    HRESULT WINAPI QueryInterface(REFIID riid, void** ppv) override
    {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == DIID__DTabrelEvents) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI GetTypeInfoCount(UINT* n) override
    {
        *n = 0;
        return S_OK;
    }
    HRESULT WINAPI GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT WINAPI GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT WINAPI Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* p, VARIANT*, EXCEPINFO*,
                          UINT*) override
    {
        static const char* const names[] = {"", "ThumbClicked", "TabClicked", "ThumbMoved", "TabMoved"};
        if (id < 1 || id > 4)
            return S_OK; // stock events are the container test's business
        std::string s = names[id];
        for (int i = (int)p->cArgs - 1; i >= 0; --i) {
            VARIANT v;
            VariantInit(&v);
            VariantChangeType(&v, &p->rgvarg[i], 0, VT_I4);
            s += " " + std::to_string(V_I4(&v));
        }
        log.push_back(s);
        return S_OK;
    }
};

// The parent's view of a bitmap button: its hold messages.
std::vector<UINT> g_holdMessages;
LRESULT CALLBACK HoldHook(int code, WPARAM wParam, LPARAM lParam)
{
    const CWPSTRUCT* m = (const CWPSTRUCT*)lParam;
    if (code >= 0 && (m->message == WM_BUTTON_HOLD || m->message == WM_BUTTON_HOLD_END))
        g_holdMessages.push_back(m->message);
    return CallNextHookEx(NULL, code, wParam, lParam);
}

typedef std::vector<std::string> Log;
const int kWidth = 232, kHeight = 60;

class SliderTest : public testing::Test {
protected:
    void SetUp() override
    {
        CTabrelClock::Install(&clock);
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, 0, 0,
                                  400, 200, NULL, NULL));
        ctl = new CTabrelCtrl;
        ASSERT_TRUE(ctl->CreateControlWindow(host.m_hWnd, CRect(0, 0, kWidth, kHeight),
                                             CRect(0, 0, kWidth, kHeight)));
        IConnectionPointContainer* cpc = nullptr;
        ASSERT_EQ(ctl->GetIDispatch(FALSE)->QueryInterface(IID_IConnectionPointContainer,
                                                           (void**)&cpc),
                  S_OK);
        ASSERT_EQ(cpc->FindConnectionPoint(DIID__DTabrelEvents, &point), S_OK);
        cpc->Release();
        ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
        ASSERT_TRUE(ctl->SetRange(0, 100));
        hook = SetWindowsHookExA(WH_CALLWNDPROC, HoldHook, NULL, GetCurrentThreadId());
        g_holdMessages.clear();
    }
    void TearDown() override
    {
        UnhookWindowsHookEx(hook);
        if (point) {
            point->Unadvise(cookie);
            point->Release();
        }
        if (ctl) {
            ctl->DestroyWindow();
            ctl->InternalRelease();
        }
        host.DestroyWindow();
        CTabrelClock::Install(NULL);
    }
    // Three numbered buttons for tabs at 10, 20 and 30.
    void ThreeButtons()
    {
        for (LONG p : {10L, 20L, 30L})
            ASSERT_GT(ctl->AddTab(p), 0);
        sink.log.clear();
    }
    CTabButton* Button(int k) { return ctl->m_pButtons[k]; }
    void Send(HWND w, UINT msg, UINT flags, int x = 3, int y = 3)
    {
        ::SendMessageA(w, msg, flags, MAKELPARAM(x, y));
    }
    // A thumb drag from the thumb to the middle of the channel (position 50).
    void DragThumbToFifty()
    {
        CRect thumb = ctl->m_model.ThumbRect();
        Send(ctl->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, thumb.left + 4, thumb.top + 4);
        Send(ctl->m_hWnd, WM_MOUSEMOVE, MK_LBUTTON, 116, thumb.top + 4);
    }
    void EndDrag() { Send(ctl->m_hWnd, WM_LBUTTONUP, 0, 116, 30); }

    FakeClock clock;
    CWnd host;
    CTabrelCtrl* ctl = nullptr;
    EventSink sink;
    IConnectionPoint* point = nullptr;
    DWORD cookie = 0;
    HHOOK hook = NULL;
};

TEST_F(SliderTest, AShortClickSelectsTheTabAndHoldsNothing)
{
    ThreeButtons();
    HWND b3 = Button(2)->m_hWnd;
    Send(b3, WM_LBUTTONDOWN, MK_LBUTTON);
    clock.Advance(999);
    Send(b3, WM_LBUTTONUP, 0);
    clock.Advance(20000);
    EXPECT_EQ(sink.log, (Log{"TabClicked 2 30", "ThumbMoved 30"}));
    EXPECT_FALSE(ctl->m_bHeld);
    EXPECT_TRUE(g_holdMessages.empty());
}

TEST_F(SliderTest, ATabHeldASecondMovesWithTheNextThumbDrag)
{
    ThreeButtons();
    CTabButton* b3 = Button(2);
    Send(b3->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON);
    clock.Advance(1000);
    EXPECT_TRUE(ctl->m_bHeld);
    EXPECT_EQ(ctl->m_nHeldTab, 3);
    EXPECT_EQ(b3->GetExtraState(), 1) << "the held face";
    EXPECT_FALSE(clock.Running(ctl->m_hWnd, CTabrelCtrl::kHoldTimer)) << "armed only on release";
    Send(b3->m_hWnd, WM_LBUTTONUP, 0);
    EXPECT_TRUE(clock.Running(ctl->m_hWnd, CTabrelCtrl::kHoldTimer));
    EXPECT_TRUE(b3->GetCheckState());
    EXPECT_TRUE(g_holdMessages.empty()) << "the slider keeps the hold to itself";

    sink.log.clear();
    DragThumbToFifty();
    clock.Advance(10000); // the hold timer during a drag only stops
    EXPECT_TRUE(ctl->m_bHeld);
    EndDrag();
    EXPECT_EQ(sink.log, (Log{"ThumbMoved 50", "TabMoved 2 50"}));
    EXPECT_EQ(ctl->GetTabPosition(3), 50);
    EXPECT_FALSE(ctl->m_bHeld);
    EXPECT_EQ(b3->GetExtraState(), 0);
    EXPECT_FALSE(b3->GetCheckMode());
}

TEST_F(SliderTest, AHoldEndsAfterTenSecondsUnlessTheArrowKeysKeepItAlive)
{
    ThreeButtons();
    CTabButton* b2 = Button(1);
    Send(b2->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON);
    clock.Advance(1000);
    Send(b2->m_hWnd, WM_LBUTTONUP, 0);
    clock.Advance(6000);
    ::SendMessageA(ctl->m_hWnd, WM_KEYDOWN, VK_RIGHT, 1);
    clock.Advance(6000);
    ::SendMessageA(ctl->m_hWnd, WM_KEYDOWN, VK_LEFT, 1);
    clock.Advance(9999);
    EXPECT_TRUE(ctl->m_bHeld);
    clock.Advance(1);
    EXPECT_FALSE(ctl->m_bHeld);
    EXPECT_FALSE(b2->GetCheckState()) << "the normal face again";
    EXPECT_FALSE(clock.Running(ctl->m_hWnd, CTabrelCtrl::kHoldTimer));
    // A drag after the hold has ended moves no tab.
    sink.log.clear();
    DragThumbToFifty();
    EndDrag();
    EXPECT_EQ(sink.log, Log{"ThumbMoved 50"});
    EXPECT_EQ(ctl->GetTabPosition(2), 20);
}

TEST_F(SliderTest, TheRightButtonHeldHalfASecondMovesTheTabToTheThumb)
{
    ThreeButtons();
    ctl->SetPos(70);
    HWND b2 = Button(1)->m_hWnd;
    Send(b2, WM_RBUTTONDOWN, MK_RBUTTON);
    clock.Advance(499);
    Send(b2, WM_RBUTTONUP, 0);
    clock.Advance(1000);
    EXPECT_EQ(ctl->GetTabPosition(2), 20);
    EXPECT_TRUE(sink.log.empty());

    Send(b2, WM_RBUTTONDOWN, MK_RBUTTON);
    clock.Advance(500);
    EXPECT_EQ(sink.log, Log{"TabMoved 1 70"});
    EXPECT_EQ(ctl->GetTabPosition(2), 70);
    Send(b2, WM_RBUTTONUP, 0);
    EXPECT_EQ(Button(1)->GetExtraState(), 0);
}

TEST_F(SliderTest, WithoutAdjustingTabsStayWhereTheyAre)
{
    ThreeButtons();
    ctl->SetTabAdjustEnable(FALSE);
    ctl->SetPos(70);
    HWND b1 = Button(0)->m_hWnd;
    Send(b1, WM_RBUTTONDOWN, MK_RBUTTON);
    clock.Advance(2000);
    Send(b1, WM_RBUTTONUP, 0);
    Send(b1, WM_LBUTTONDOWN, MK_LBUTTON);
    clock.Advance(2000);
    Send(b1, WM_LBUTTONUP, 0);
    EXPECT_FALSE(ctl->m_bHeld);
    EXPECT_TRUE(g_holdMessages.empty());
    EXPECT_EQ(ctl->GetTabPosition(1), 10);
    EXPECT_EQ(sink.log, (Log{"TabClicked 0 10", "ThumbMoved 10"}));
    // A button made after the switch starts with adjusting on, as the switch only reaches
    // the buttons that exist when it is set.
    ASSERT_EQ(ctl->AddTab(40), 4);
    EXPECT_TRUE(Button(3)->m_bAdjustEnabled);
}

TEST_F(SliderTest, TheBitmapButtonTellsItsParentOfAHold)
{
    CBaseBmpButton button;
    ASSERT_TRUE(button.LoadBitmaps("IDB_NUMBER1"));
    ASSERT_TRUE(button.Create("1", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 30, 16),
                              &host, 7));
    Send(button.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON);
    clock.Advance(999);
    EXPECT_TRUE(g_holdMessages.empty());
    clock.Advance(1);
    EXPECT_EQ(g_holdMessages, std::vector<UINT>{WM_USER + 100});
    EXPECT_FALSE(clock.Running(button.m_hWnd, CBaseBmpButton::kHoldTimer));
    Send(button.m_hWnd, WM_LBUTTONUP, 0);
    EXPECT_EQ(g_holdMessages, (std::vector<UINT>{WM_USER + 100, WM_USER + 101}));
    // A short press tells nothing.
    g_holdMessages.clear();
    Send(button.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON);
    Send(button.m_hWnd, WM_LBUTTONUP, 0);
    clock.Advance(5000);
    EXPECT_TRUE(g_holdMessages.empty());
    button.DestroyWindow();
}

TEST_F(SliderTest, EscapeIsSwallowed)
{
    MSG msg = {ctl->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1};
    EXPECT_TRUE(ctl->PreTranslateMessage(&msg));
    msg.message = WM_SYSKEYDOWN;
    EXPECT_TRUE(ctl->PreTranslateMessage(&msg));
    msg.wParam = VK_RETURN;
    EXPECT_FALSE(ctl->PreTranslateMessage(&msg));
}

//////////////////////////////////////////////////////////////////////////////////////////
// Drawing, on a 32-bit top-down memory bitmap.

class Canvas {
public:
    Canvas(int w, int h, COLORREF fill) : m_w(w)
    {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        m_dc = CreateCompatibleDC(NULL);
        m_bmp = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, (void**)&m_bits, NULL, 0);
        m_old = SelectObject(m_dc, m_bmp);
        for (int i = 0; i < w * h; ++i)
            m_bits[i] = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
        dc.Attach(m_dc);
    }
    ~Canvas()
    {
        dc.Detach();
        SelectObject(m_dc, m_old);
        DeleteObject(m_bmp);
        DeleteDC(m_dc);
    }
    COLORREF At(int x, int y)
    {
        GdiFlush();
        DWORD p = m_bits[y * m_w + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    CDC dc;

private:
    int m_w;
    HDC m_dc;
    HBITMAP m_bmp;
    HGDIOBJ m_old;
    DWORD* m_bits = nullptr;
};

const COLORREF kBlue = RGB(0, 0, 255);

TEST_F(SliderTest, TheTransparentBitmapLeavesItsKeyColourOut)
{
    CTransparentBitmap face;
    ASSERT_FALSE(face.Load("NO_SUCH_BITMAP"));
    ASSERT_TRUE(face.Load("IDB_NUMBER1"));
    EXPECT_EQ(face.Width(), 30);
    EXPECT_EQ(face.Height(), 16);
    EXPECT_EQ(face.TransparentColor(), RGB(255, 0, 255));
    Canvas canvas(40, 20, kBlue);
    face.Draw(&canvas.dc, 5, 2);
    EXPECT_EQ(canvas.At(5, 2), kBlue) << "the key colour's frame";
    EXPECT_EQ(canvas.At(5 + 3, 2 + 8), RGB(192, 192, 192)) << "the face";
    EXPECT_EQ(canvas.At(5 + 14, 2 + 3), RGB(0, 0, 0)) << "the digit";
    EXPECT_EQ(canvas.At(39, 19), kBlue) << "outside the image";
    EXPECT_NE(face.m_hMask, (HBITMAP)NULL) << "made on the first drawing";
}

TEST_F(SliderTest, DrawsBackgroundChannelThumbAndMarks)
{
    ctl->SetTabMode(2);
    ASSERT_EQ(ctl->AddTab(20), 1);
    ASSERT_TRUE(ctl->SetPos(50));
    const CRect client(0, 0, kWidth, kHeight);
    {
        Canvas canvas(kWidth, kHeight, kBlue);
        ctl->OnDraw(&canvas.dc, client, client);
        EXPECT_EQ(canvas.At(kWidth / 2, 4), RGB(192, 192, 192)) << "light grey background";
        EXPECT_EQ(canvas.At(100, 18), GetSysColor(COLOR_BTNSHADOW)) << "the channel's sunken edge";
        CRect thumb = ctl->m_model.ThumbRect();
        EXPECT_EQ(thumb.left, 100);
        EXPECT_EQ(canvas.At(thumb.left + 16, thumb.top + 2), RGB(0, 0, 128)) << "thumb icon";
        CRect mark = ctl->m_model.m_rcTab[0];
        EXPECT_EQ(mark, CRect(40, 2, 56, 18));
        EXPECT_EQ(canvas.At(mark.left + 8, mark.top + 2), RGB(200, 0, 0)) << "tab icon";
    }
    {
        // Transparent: the container's picture stays around the channel, which moves up.
        ctl->SetTransparent(TRUE);
        ctl->SetAltThumb(1);
        Canvas canvas(kWidth, kHeight, kBlue);
        ctl->OnDraw(&canvas.dc, client, client);
        EXPECT_EQ(canvas.At(kWidth / 2, 40), kBlue);
        EXPECT_EQ(ctl->m_model.m_rcChannel.top, 8);
        CRect thumb = ctl->m_model.ThumbRect();
        EXPECT_EQ(thumb.Height(), 16) << "the half-height thumb";
        EXPECT_EQ(thumb.top, 12 - 16);
    }
}

TEST_F(SliderTest, FocusIsFramedOnlyWhenNotTransparent)
{
    const CRect client(0, 0, kWidth, kHeight);
    ctl->m_bHasFocus = TRUE;
    Canvas canvas(kWidth, kHeight, kBlue);
    ctl->OnDraw(&canvas.dc, client, client);
    const COLORREF grey = RGB(192, 192, 192);
    EXPECT_TRUE(canvas.At(5, 30) != grey || canvas.At(5, 31) != grey) << "the dotted focus frame";
    ctl->SetTransparent(TRUE);
    Canvas clear(kWidth, kHeight, kBlue);
    ctl->OnDraw(&clear.dc, client, client);
    EXPECT_EQ(clear.At(5, 30), kBlue);
    EXPECT_EQ(clear.At(5, 31), kBlue);
}

TEST_F(SliderTest, ThePaintPassDropsMarksAboveTheRangeAndKeepsMarksThatCameToOverlap)
{
    ctl->SetTabMode(2);
    for (LONG p : {20L, 30L, 80L})
        ASSERT_GT(ctl->AddTab(p), 0);
    const CRect client(0, 0, kWidth, kHeight);
    Canvas canvas(kWidth, kHeight, kBlue);
    ASSERT_TRUE(ctl->SetRange(0, 50));
    ctl->OnDraw(&canvas.dc, client, client);
    EXPECT_EQ(ctl->GetTabCount(), 2) << "80 is above the new maximum";
    ASSERT_TRUE(ctl->SetRange(0, 1000));
    ctl->OnDraw(&canvas.dc, client, client);
    EXPECT_EQ(ctl->GetTabCount(), 2) << "20 and 30 are now 2 pixels apart: both stay";
    EXPECT_EQ(ctl->GetTabPosition(1), 20);
    EXPECT_EQ(ctl->GetTabPosition(2), 30);
}

} // namespace
