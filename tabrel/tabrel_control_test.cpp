// The slider as its container sees it: created by class id from the registered module,
// driven through its DISPIDs, answering synthetic mouse and key input with its events.
#include "gtest_wine.h"
#include "afxole.h"
#include "server_path.h"
#include <algorithm>
#include <memory>
#include <vector>

namespace {

const CLSID kTabrel = {0x511980a6, 0xa1a4, 0x11d2, {0x8c, 0x08, 0xe4, 0x92, 0x6d, 0xb1, 0xe8, 0x60}};
const GUID kTypeLib = {0x511980a3, 0xa1a4, 0x11d2, {0x8c, 0x08, 0xe4, 0x92, 0x6d, 0xb1, 0xe8, 0x60}};
const char* const kClsidText = "{511980A6-A1A4-11D2-8C08-E4926DB1E860}";
const char* const kPageText = "{511980A7-A1A4-11D2-8C08-E4926DB1E860}";

enum {
    dispidLineSize = 1, dispidPageSize, dispidTabMode, dispidTabAdjustEnable, dispidGetTabCount,
    dispidAddTab, dispidGetRange, dispidGetThumbPosition, dispidSetRange, dispidSetTabPosition,
    dispidGetTabPosition, dispidSetPos, dispidDeleteTab, dispidSetTransparent, dispidSetAltThumb
};
enum { eventThumbClicked = 1, eventTabClicked, eventThumbMoved, eventTabMoved };
const UINT kCtrlId = 1300;
// 232 pixels wide: with the 32-pixel thumb the channel is 200 pixels, two per position of
// the range 0..100 that most tests set.
const int kWidth = 232, kHeight = 60;

std::string RegString(const std::string& key, const char* value)
{
    char buf[1024] = {};
    DWORD type, size = sizeof buf;
    HKEY k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "<missing>";
    LONG rc = RegQueryValueExA(k, value, nullptr, &type, (BYTE*)buf, &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? std::string(buf) : "<missing>";
}

class CHost : public CWnd {
public:
    CWnd m_ctl;
    std::vector<std::string> m_log;
    void Log(const char* fmt, long a, long b = 0)
    {
        char s[64];
        snprintf(s, sizeof s, fmt, a, b);
        m_log.push_back(s);
    }
    void OnThumbClicked(LONG p) { Log("ThumbClicked %ld", p); }
    void OnTabClicked(LONG t, LONG p) { Log("TabClicked %ld %ld", t, p); }
    void OnThumbMoved(LONG p) { Log("ThumbMoved %ld", p); }
    void OnTabMoved(LONG t, LONG p) { Log("TabMoved %ld %ld", t, p); }
    void OnKeyDown(short* key, short) { Log("KeyDown %ld", *key); }
    void OnKeyPress(short* key) { Log("KeyPress %ld", *key); }
    void OnClick() { m_log.push_back("Click"); }
    void OnMouseDown(short button, short, LONG x, LONG y)
    {
        char s[64];
        snprintf(s, sizeof s, "MouseDown %d %d %d", button, (int)x, (int)y);
        m_log.push_back(s);
    }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CHost, CWnd)
    ON_EVENT(CHost, kCtrlId, eventThumbClicked, OnThumbClicked, VTS_I4)
    ON_EVENT(CHost, kCtrlId, eventTabClicked, OnTabClicked, VTS_I4 VTS_I4)
    ON_EVENT(CHost, kCtrlId, eventThumbMoved, OnThumbMoved, VTS_I4)
    ON_EVENT(CHost, kCtrlId, eventTabMoved, OnTabMoved, VTS_I4 VTS_I4)
    ON_EVENT(CHost, kCtrlId, DISPID_KEYDOWN, OnKeyDown, VTS_PI2 VTS_I2)
    ON_EVENT(CHost, kCtrlId, DISPID_KEYPRESS, OnKeyPress, VTS_PI2)
    ON_EVENT(CHost, kCtrlId, DISPID_CLICK, OnClick, VTS_NONE)
    ON_EVENT(CHost, kCtrlId, DISPID_MOUSEDOWN, OnMouseDown,
             VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS)
END_EVENTSINK_MAP()

typedef std::vector<std::string> Log;

// Shown by the control (the host itself is never shown in these tests).
bool Shown(HWND w) { return (::GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) != 0; }

class TabrelTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AfxOleInit();
        AfxEnableControlContainer();
    }
    void SetUp() override
    {
        h.reset(new CHost);
        ASSERT_TRUE(h->CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, 0, 0,
                                  400, 200, NULL, NULL));
        ASSERT_TRUE(h->m_ctl.CreateControl(kTabrel, NULL, WS_VISIBLE | WS_TABSTOP,
                                             CRect(10, 10, 10 + kWidth, 10 + kHeight), h.get(),
                                             kCtrlId));
        ctl = h->m_ctl.GetSafeHwnd();
        ASSERT_NE(ctl, nullptr);
    }
    void TearDown() override
    {
        if (h && h->m_hWnd)
            h->DestroyWindow();
        h.reset();
    }
    // A control of its own for one case of a table.
    void Fresh()
    {
        TearDown();
        SetUp();
    }

    // Dispatch calls
    LONG Call(DISPID id, LONG a)
    {
        LONG r = 0;
        h->m_ctl.InvokeHelper(id, DISPATCH_METHOD, VT_I4, &r, (const BYTE*)VTS_I4, a);
        return r;
    }
    LONG Call(DISPID id)
    {
        LONG r = 0;
        h->m_ctl.InvokeHelper(id, DISPATCH_METHOD, VT_I4, &r, (const BYTE*)VTS_NONE);
        return r;
    }
    BOOL CallBool(DISPID id, LONG a, LONG b)
    {
        BOOL r = FALSE;
        h->m_ctl.InvokeHelper(id, DISPATCH_METHOD, VT_BOOL, &r, (const BYTE*)(VTS_I4 VTS_I4), a, b);
        return r;
    }
    BOOL CallBool(DISPID id, LONG a)
    {
        BOOL r = FALSE;
        h->m_ctl.InvokeHelper(id, DISPATCH_METHOD, VT_BOOL, &r, (const BYTE*)VTS_I4, a);
        return r;
    }
    void SetMode(short mode) { h->m_ctl.SetProperty(dispidTabMode, VT_I2, mode); }
    LONG Pos() { return Call(dispidGetThumbPosition); }
    LONG Count() { return Call(dispidGetTabCount); }
    LONG TabPos(LONG i) { return Call(dispidGetTabPosition, i); }

    // Synthetic input, straight to the control's window.
    void Key(UINT vk)
    {
        h->m_log.clear();
        ::SendMessageA(ctl, WM_KEYDOWN, vk, 1);
    }
    void Mouse(UINT msg, int x, int y, UINT flags)
    {
        ::SendMessageA(ctl, msg, flags, MAKELPARAM(x, y));
    }
    // Events other than the stock mouse and key ones.
    Log Custom() const
    {
        Log out;
        for (const std::string& s : h->m_log)
            if (s.compare(0, 5, "Mouse") && s.compare(0, 3, "Key") && s != "Click")
                out.push_back(s);
        return out;
    }

    std::unique_ptr<CHost> h;
    HWND ctl = nullptr;
};

TEST_F(TabrelTest, RegistersControlPageAndTypeLibrary)
{
    HMODULE module = GetModuleHandleA("tabrel.ocx");
    ASSERT_NE(module, nullptr);
    const std::string key = std::string("CLSID\\") + kClsidText;
    EXPECT_EQ(lstrcmpiA(RegString(key + "\\InprocServer32", nullptr).c_str(),
                        ServerModulePath(module).c_str()),
              0);
    EXPECT_EQ(RegString(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(RegString(key, nullptr), "Tabrel Control");
    EXPECT_EQ(RegString(key + "\\ProgID", nullptr), "TABREL.TabrelCtrl.1");
    EXPECT_EQ(RegString(key + "\\MiscStatus\\1", nullptr), "131473");
    EXPECT_EQ(RegString(key + "\\TypeLib", nullptr), "{511980A3-A1A4-11D2-8C08-E4926DB1E860}");
    EXPECT_EQ(RegString(std::string("CLSID\\") + kPageText, nullptr), "Tabrel Property Page");
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadRegTypeLib(kTypeLib, 1, 0, 0, &lib), S_OK);
    ITypeInfo* info = nullptr;
    const IID dispIid = {0x511980a4, 0xa1a4, 0x11d2, {0x8c, 0x08, 0xe4, 0x92, 0x6d, 0xb1, 0xe8, 0x60}};
    ASSERT_EQ(lib->GetTypeInfoOfGuid(dispIid, &info), S_OK);
    BSTR name = nullptr;
    EXPECT_EQ(info->GetDocumentation(MEMBERID_NIL, &name, nullptr, nullptr, nullptr), S_OK);
    EXPECT_EQ(std::string(CString(name)), "_DTabrel");
    SysFreeString(name);
    info->Release();
    lib->Release();
}

TEST_F(TabrelTest, StartsWithItsDefaults)
{
    EXPECT_EQ(Call(dispidGetRange), 100);
    EXPECT_EQ(Pos(), 1);
    EXPECT_EQ(Count(), 0);
    short mode = 0;
    h->m_ctl.GetProperty(dispidTabMode, VT_I2, &mode);
    EXPECT_EQ(mode, 1);
    LONG page = 0, line = 0;
    h->m_ctl.GetProperty(dispidPageSize, VT_I4, &page);
    h->m_ctl.GetProperty(dispidLineSize, VT_I4, &line);
    EXPECT_EQ(page, GetSystemMetrics(SM_CXICON));
    EXPECT_EQ(line, 1);
    Key(VK_PRIOR);
    EXPECT_EQ(Custom(), Log{"ThumbMoved " + std::to_string(1 + page)});
    EXPECT_EQ(h->m_log.back(), "KeyDown 33");
}

TEST_F(TabrelTest, RangeAndPositionRefusals)
{
    struct Case {
        LONG min, max;
        BOOL ok;
    } ranges[] = {{0, 0, FALSE}, {-1, 10, FALSE}, {10, 5, FALSE}, {5, 5, FALSE}, {0, 50, TRUE}};
    ASSERT_TRUE(CallBool(dispidSetPos, 70));
    for (const Case& c : ranges) {
        EXPECT_EQ(CallBool(dispidSetRange, c.min, c.max), c.ok) << c.min << ".." << c.max;
        EXPECT_EQ(Call(dispidGetRange), c.ok ? c.max : 100);
        EXPECT_EQ(Pos(), 70) << "the position is not changed by a new range";
    }
    // SetPos clamps and reports the clamp.
    EXPECT_FALSE(CallBool(dispidSetPos, 51));
    EXPECT_EQ(Pos(), 50);
    EXPECT_FALSE(CallBool(dispidSetPos, -3));
    EXPECT_EQ(Pos(), 0);
    EXPECT_TRUE(CallBool(dispidSetPos, 25));
    EXPECT_EQ(Pos(), 25);
    // Line and page sizes keep their value unless 0 < size < maximum.
    for (LONG v : {0L, -1L, 50L, 60L}) {
        h->m_ctl.SetProperty(dispidLineSize, VT_I4, v);
        LONG line = 0;
        h->m_ctl.GetProperty(dispidLineSize, VT_I4, &line);
        EXPECT_EQ(line, 1) << v;
    }
    h->m_ctl.SetProperty(dispidLineSize, VT_I4, 49);
    LONG line = 0;
    h->m_ctl.GetProperty(dispidLineSize, VT_I4, &line);
    EXPECT_EQ(line, 49);
    EXPECT_TRUE(h->m_log.empty()) << "SetPos fires nothing";
}

TEST_F(TabrelTest, KeysMoveTheThumbAndStopAtBothEnds)
{
    ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
    h->m_ctl.SetProperty(dispidPageSize, VT_I4, 30);
    struct Case {
        LONG start;
        UINT key;
        LONG end;
        const char* event; // nullptr: no ThumbMoved
    } cases[] = {
        {50, VK_PRIOR, 80, "ThumbMoved 80"},   {90, VK_PRIOR, 100, "ThumbMoved 100"},
        {100, VK_PRIOR, 100, "ThumbMoved 100"}, {50, VK_NEXT, 20, "ThumbMoved 20"},
        {10, VK_NEXT, 0, "ThumbMoved 0"},      {0, VK_NEXT, 0, nullptr},
        {50, VK_END, 100, "ThumbMoved 100"},   {50, VK_HOME, 0, "ThumbMoved 0"},
        {50, VK_LEFT, 49, "ThumbMoved 49"},    {0, VK_LEFT, 0, nullptr},
        {50, VK_RIGHT, 51, "ThumbMoved 51"},   {100, VK_RIGHT, 100, nullptr},
        {50, VK_UP, 50, nullptr},              {50, VK_DOWN, 50, nullptr}, // no tabs
    };
    for (const Case& c : cases) {
        CallBool(dispidSetPos, c.start);
        Key(c.key);
        EXPECT_EQ(Pos(), c.end) << "key " << c.key << " from " << c.start;
        EXPECT_EQ(Custom(), c.event ? Log{c.event} : Log{}) << "key " << c.key << " from " << c.start;
        EXPECT_EQ(h->m_log.back(), "KeyDown " + std::to_string(c.key));
    }
    h->m_log.clear();
    ::SendMessageA(ctl, WM_CHAR, 'a', 1);
    EXPECT_EQ(h->m_log, Log{"KeyPress 97"});
}

TEST_F(TabrelTest, MarksOfModeTwoAreRefusedOutsideTheRangeTwiceOrOverlapping)
{
    SetMode(2);
    ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
    struct Case {
        LONG pos;
        LONG result;
    } cases[] = {
        {30, 1},  {30, 0},  // the same position twice
        {101, 0}, {-1, 0},  // outside the range
        {33, 0},            // overlaps the first mark: refused from the second mark on
        {60, 2},  {64, 0},  // overlaps with two marks
        {10, 3},  {0, 4},   // touching edges do not overlap
        {40, 5},  {50, 6},  {70, 7}, {80, 8},
        {90, 0},            // a ninth
    };
    for (const Case& c : cases)
        EXPECT_EQ(Call(dispidAddTab, c.pos), c.result) << c.pos;
    // Marks are kept in position order.
    const LONG sorted[] = {0, 10, 30, 40, 50, 60, 70, 80};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(TabPos(i + 1), sorted[i]);
    EXPECT_EQ(TabPos(9), -1);
    EXPECT_EQ(TabPos(0), -1);
    EXPECT_FALSE(CallBool(dispidSetTabPosition, 0, 5));
    EXPECT_FALSE(CallBool(dispidSetTabPosition, -7, 5));
    EXPECT_FALSE(CallBool(dispidSetTabPosition, 9, 5));
    EXPECT_FALSE(CallBool(dispidDeleteTab, 0));
    EXPECT_FALSE(CallBool(dispidDeleteTab, 9));
    EXPECT_TRUE(CallBool(dispidDeleteTab, 2));
    EXPECT_EQ(Count(), 7);
    EXPECT_EQ(TabPos(2), 30);
}

TEST_F(TabrelTest, ButtonTabsOfModeOneTakeAnyPositionAndKeepTheirSlots)
{
    ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
    for (LONG p : {60L, 20L, 60L, 500L, -4L, 40L, 10L, 90L})
        EXPECT_GT(Call(dispidAddTab, p), 0) << p;
    EXPECT_EQ(Call(dispidAddTab, 5), 0) << "a ninth";
    EXPECT_EQ(TabPos(1), 60);
    EXPECT_EQ(TabPos(4), 500) << "stored unchanged, not sorted";
    // One numbered button per slot, control id = slot.
    for (int k = 0; k < 8; ++k) {
        HWND b = ::GetDlgItem(ctl, k);
        ASSERT_NE(b, nullptr) << k;
        char caption[8] = {};
        ::GetWindowTextA(b, caption, sizeof caption);
        EXPECT_EQ(std::string(caption), std::to_string(k + 1));
        EXPECT_TRUE(Shown(b));
    }
}

TEST_F(TabrelTest, DeletingButtonTabsKeepsTheCountPastTheLastOneInUse)
{
    ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
    struct Case {
        std::vector<LONG> deletes;
        LONG count;
    } cases[] = {
        {{3}, 5}, {{5}, 4}, {{5, 4}, 3}, {{3, 5, 4}, 2}, {{1, 2, 3, 4, 5}, 0}, {{6}, 5},
    };
    for (const Case& c : cases) {
        Fresh();
        ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
        for (LONG p : {10L, 20L, 30L, 40L, 50L})
            Call(dispidAddTab, p);
        std::string what;
        for (LONG d : c.deletes) {
            what += std::to_string(d) + " ";
            EXPECT_EQ(CallBool(dispidDeleteTab, d), d <= 5) << what;
            if (d <= 5)
                EXPECT_FALSE(Shown(::GetDlgItem(ctl, d - 1))) << what;
        }
        EXPECT_EQ(Count(), c.count) << what;
    }
}

TEST_F(TabrelTest, UpAndDownGoFromTabToTabInBothModes)
{
    struct Case {
        short mode;
        LONG start;
        std::vector<UINT> keys;
        std::vector<LONG> positions;
    } cases[] = {
        // Marks are sorted: 20, 40, 60.
        {2, 50, {VK_UP, VK_UP, VK_UP, VK_UP}, {20, 40, 60, 20}},
        {2, 50, {VK_DOWN, VK_DOWN, VK_DOWN}, {20, 60, 40}},
        // Buttons stay in slot order: 60, 20, 40; the first key starts from the position.
        {1, 30, {VK_UP, VK_UP, VK_UP}, {60, 20, 40}},
        {1, 10, {VK_UP}, {60}},
        {1, 70, {VK_UP}, {60}},
        {1, 50, {VK_DOWN, VK_DOWN}, {40, 20}},
        {1, 10, {VK_DOWN}, {40}},
    };
    for (const Case& c : cases) {
        Fresh();
        ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
        SetMode(c.mode);
        for (LONG p : {60L, 20L, 40L})
            ASSERT_GT(Call(dispidAddTab, p), 0);
        CallBool(dispidSetPos, c.start);
        for (size_t i = 0; i < c.keys.size(); ++i) {
            Key(c.keys[i]);
            EXPECT_EQ(Pos(), c.positions[i]) << "mode " << c.mode << " from " << c.start << " key " << i;
            EXPECT_EQ(Custom(), Log{"ThumbMoved " + std::to_string(c.positions[i])});
        }
    }
}

TEST_F(TabrelTest, DraggingTheThumbReportsEachNewPosition)
{
    ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
    ASSERT_TRUE(CallBool(dispidSetPos, 10));
    // The thumb of position 10 sits at x 20..52 below the channel (y 22 on).
    h->m_log.clear();
    Mouse(WM_LBUTTONDOWN, 30, 30, MK_LBUTTON);
    EXPECT_EQ(h->m_log, Log{"MouseDown 1 30 30"});
    Mouse(WM_MOUSEMOVE, 116, 30, MK_LBUTTON); // the middle of the channel
    Mouse(WM_MOUSEMOVE, 116, 30, MK_LBUTTON); // no change, no event
    Mouse(WM_MOUSEMOVE, 216, 30, MK_LBUTTON); // the right end of the channel
    Mouse(WM_MOUSEMOVE, 218, 30, MK_LBUTTON); // beyond it
    Mouse(WM_MOUSEMOVE, -50, 30, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, -50, 30, 0);
    EXPECT_EQ(Custom(), (Log{"ThumbMoved 50", "ThumbMoved 99", "ThumbMoved 100", "ThumbMoved 0"}));
    EXPECT_EQ(Pos(), 0);
    h->m_log.clear();
    Mouse(WM_MOUSEMOVE, 116, 30, 0);
    EXPECT_TRUE(Custom().empty()) << "the drag ended with the button";
}

TEST_F(TabrelTest, DraggingOverARangeOfOneStepStaysInTheRange)
{
    ASSERT_TRUE(CallBool(dispidSetRange, 0, 1));
    ASSERT_TRUE(CallBool(dispidSetPos, 0));
    Mouse(WM_LBUTTONDOWN, 5, 30, MK_LBUTTON);
    for (int x : {16, 17, 116, 216, 400, 16})
        Mouse(WM_MOUSEMOVE, x, 30, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 16, 30, 0);
    EXPECT_EQ(Custom(), (Log{"ThumbMoved 1", "ThumbMoved 0"}));
}

TEST_F(TabrelTest, MarksAreClickedAndShiftDragged)
{
    SetMode(2);
    ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
    for (LONG p : {20L, 50L, 80L})
        ASSERT_GT(Call(dispidAddTab, p), 0);
    const int markY = 10; // marks stand on the channel, which starts at y 18
    h->m_log.clear();
    // A click on the second mark (x 100..116).
    Mouse(WM_LBUTTONDOWN, 105, markY, MK_LBUTTON);
    Mouse(WM_LBUTTONUP, 105, markY, 0);
    EXPECT_EQ(Custom(), (Log{"TabClicked 1 50", "ThumbMoved 50"}));
    EXPECT_EQ(TabPos(2), 50) << "methods count tabs from 1";
    EXPECT_NE(std::find(h->m_log.begin(), h->m_log.end(), "Click"), h->m_log.end());

    // Shift-drag of the first mark (x 40..56) to the right.
    h->m_log.clear();
    const UINT shift = MK_LBUTTON | MK_SHIFT;
    Mouse(WM_LBUTTONDOWN, 45, markY, shift);
    Mouse(WM_MOUSEMOVE, 76, markY, shift);  // 30
    Mouse(WM_MOUSEMOVE, 106, markY, shift); // 45 would overlap the mark at 50: stops
    Mouse(WM_MOUSEMOVE, 50, markY, shift);  // not over the refused mark: nothing
    Mouse(WM_MOUSEMOVE, 70, markY, shift);  // over it again (60..76): resumes, 27
    Mouse(WM_MOUSEMOVE, 80, markY, MK_LBUTTON); // without Shift: nothing
    Mouse(WM_LBUTTONUP, 80, markY, MK_SHIFT);
    EXPECT_EQ(Custom(), (Log{"TabMoved 0 30", "ThumbMoved 30", "TabMoved 0 27", "ThumbMoved 27"}));
    EXPECT_EQ(TabPos(1), 27);
    EXPECT_EQ(Pos(), 27);
}

TEST_F(TabrelTest, AButtonTabClickedSelectsItsTab)
{
    ASSERT_TRUE(CallBool(dispidSetRange, 0, 100));
    for (LONG p : {10L, 20L, 30L})
        Call(dispidAddTab, p);
    h->m_log.clear();
    HWND third = ::GetDlgItem(ctl, 2);
    ::SendMessageA(third, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ::SendMessageA(third, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Custom(), (Log{"TabClicked 2 30", "ThumbMoved 30"}));
    EXPECT_EQ(::GetFocus(), ctl) << "the focus goes back to the slider";
    // Up from the selected tab goes on to the next slot.
    Key(VK_UP);
    EXPECT_EQ(Custom(), Log{"ThumbMoved 10"});
}

TEST_F(TabrelTest, ThePropertyPageAndTheFlags)
{
    const CLSID page = {0x511980a7, 0xa1a4, 0x11d2, {0x8c, 0x08, 0xe4, 0x92, 0x6d, 0xb1, 0xe8, 0x60}};
    IPropertyPage* pp = nullptr;
    ASSERT_EQ(CoCreateInstance(page, nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage, (void**)&pp), S_OK);
    PROPPAGEINFO info = {sizeof info};
    ASSERT_EQ(pp->GetPageInfo(&info), S_OK);
    EXPECT_EQ(std::string(CString(info.pszTitle)), "General");
    CoTaskMemFree(info.pszTitle);
    CoTaskMemFree(info.pszDocString);
    CoTaskMemFree(info.pszHelpFile);
    pp->Release();

    BOOL adjust = FALSE;
    h->m_ctl.GetProperty(dispidTabAdjustEnable, VT_BOOL, &adjust);
    EXPECT_TRUE(adjust);
    h->m_ctl.SetProperty(dispidTabAdjustEnable, VT_BOOL, FALSE);
    h->m_ctl.GetProperty(dispidTabAdjustEnable, VT_BOOL, &adjust);
    EXPECT_FALSE(adjust);
    // Any mode but 1 is stored as it is.
    h->m_ctl.SetProperty(dispidTabMode, VT_I2, 3);
    short mode = 0;
    h->m_ctl.GetProperty(dispidTabMode, VT_I2, &mode);
    EXPECT_EQ(mode, 3);
    h->m_ctl.InvokeHelper(dispidSetTransparent, DISPATCH_METHOD, VT_EMPTY, nullptr,
                          (const BYTE*)VTS_BOOL, TRUE);
    h->m_ctl.InvokeHelper(dispidSetAltThumb, DISPATCH_METHOD, VT_EMPTY, nullptr,
                          (const BYTE*)VTS_I4, 1L);
    h->m_ctl.InvokeHelper(DISPID_REFRESH, DISPATCH_METHOD, VT_EMPTY, nullptr, (const BYTE*)VTS_NONE);
    EXPECT_EQ(Pos(), 1);
}

} // namespace
