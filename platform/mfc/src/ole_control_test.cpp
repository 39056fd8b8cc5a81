// The control container with the test control module: registration, creation by class id in
// a window and from a dialog template, properties and methods by DISPID with every argument
// type, errors, and events (custom and stock, including one fired from inside a property put
// that calls back into the control).
#include "gtest_wine.h"
#include "afxole.h"
#include "server_path.h"
#include <algorithm>
#include <vector>

namespace {

const CLSID kTestCtl = {0x6d3a8e13, 0x5b21, 0x4c7a, {0x9e, 0x44, 0x2f, 0x1b, 0x0c, 0x9d, 0x7a, 0x01}};
const GUID kTypeLib = {0x6d3a8e10, 0x5b21, 0x4c7a, {0x9e, 0x44, 0x2f, 0x1b, 0x0c, 0x9d, 0x7a, 0x01}};
const CLSID kTestSubCtl = {0x6d3a8e16, 0x5b21, 0x4c7a, {0x9e, 0x44, 0x2f, 0x1b, 0x0c, 0x9d, 0x7a, 0x01}};
const char* const kClsidText = "{6D3A8E13-5B21-4C7A-9E44-2F1B0C9D7A01}";

enum {
    dispidLongValue = 1, dispidShortValue, dispidFloatValue, dispidDoubleValue, dispidBoolValue,
    dispidTextValue, dispidReadOnlyValue, dispidLevel, dispidSum, dispidConcat, dispidInvert,
    dispidTwice, dispidFireAddress, dispidFail, dispidFireClickNow
};
enum { eventLevelChanged = 1, eventAddress, eventValues };
const UINT kCtrlId = 1014, kDlgCtrlId = 1208, kDialogId = 300;

std::string ModuleDir()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string p(path);
    return p.substr(0, p.find_last_of("\\/"));
}

std::string RegString(const std::string& key, const char* value)
{
    char buf[1024] = {};
    DWORD type, dsize = sizeof buf;
    HKEY k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "<missing>";
    LONG rc = RegQueryValueExA(k, value, nullptr, &type, (BYTE*)buf, &dsize);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? std::string(buf) : "<missing>";
}

// The container window: records every event and, on request, calls back into the control
// while an event is being delivered.
class CHostWnd : public CWnd {
public:
    CWnd m_ctl;
    std::vector<CString> m_log;
    bool m_bCallBack = false;
    bool m_bThrow = false;
    LONG m_levelSeenInside = -1;
    LONG m_twiceInside = 0;
    LONG m_addressValue = 0x5eed;

    static CString Text(double v)
    {
        CString s;
        s.Format("%g", v);
        return s;
    }
    void Log(const CString& s) { m_log.push_back(s); }

    void OnLevelChanged(LONG level)
    {
        Log("LevelChanged " + Text(level));
        if (m_bThrow)
            AfxThrowUserException();
        if (m_bCallBack) {
            // Back into the control while its property put is still running.
            m_ctl.GetProperty(dispidLevel, VT_I4, &m_levelSeenInside);
            LONG v = level;
            m_ctl.InvokeHelper(dispidTwice, DISPATCH_METHOD, VT_I4, &m_twiceInside,
                               (const BYTE*)VTS_PI4, &v);
        }
    }
    void OnAddress(LONG* object)
    {
        Log("Address");
        // The address of an object inside the control: written in place.
        *object = m_addressValue;
    }
    void OnValues(short s, float f, double d, BOOL b, LPCTSTR text)
    {
        Log("Values " + Text(s) + " " + Text(f) + " " + Text(d) + " " + Text(b != 0) + " " +
            text);
    }
    void OnClick() { Log("Click"); }
    void OnDblClick() { Log("DblClick"); }
    void OnKeyDown(short* key, short shift) { Log("KeyDown " + Text(*key) + " " + Text(shift)); }
    void OnKeyUp(short* key, short shift) { Log("KeyUp " + Text(*key) + " " + Text(shift)); }
    void OnKeyPress(short* key) { Log("KeyPress " + Text(*key)); }
    static CString Mouse(const char* what, short button, short shift, LONG x, LONG y)
    {
        return CString(what) + " " + Text(button) + " " + Text(shift) + " " + Text(x) + " " +
               Text(y);
    }
    void OnMouseDown(short b, short s, LONG x, LONG y) { Log(Mouse("MouseDown", b, s, x, y)); }
    void OnMouseMove(short b, short s, LONG x, LONG y) { Log(Mouse("MouseMove", b, s, x, y)); }
    void OnMouseUp(short b, short s, LONG x, LONG y) { Log(Mouse("MouseUp", b, s, x, y)); }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CHostWnd, CWnd)
    ON_EVENT(CHostWnd, kCtrlId, eventLevelChanged, OnLevelChanged, VTS_I4)
    ON_EVENT(CHostWnd, kCtrlId, eventAddress, OnAddress, VTS_PI4)
    ON_EVENT(CHostWnd, kCtrlId, eventValues, OnValues,
             VTS_I2 VTS_R4 VTS_R8 VTS_BOOL VTS_BSTR)
    ON_EVENT(CHostWnd, kCtrlId, DISPID_CLICK, OnClick, VTS_NONE)
    ON_EVENT(CHostWnd, kCtrlId, DISPID_DBLCLICK, OnDblClick, VTS_NONE)
    ON_EVENT(CHostWnd, kCtrlId, DISPID_KEYDOWN, OnKeyDown, VTS_PI2 VTS_I2)
    ON_EVENT(CHostWnd, kCtrlId, DISPID_KEYUP, OnKeyUp, VTS_PI2 VTS_I2)
    ON_EVENT(CHostWnd, kCtrlId, DISPID_KEYPRESS, OnKeyPress, VTS_PI2)
    ON_EVENT(CHostWnd, kCtrlId, DISPID_MOUSEDOWN, OnMouseDown,
             VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS)
    ON_EVENT(CHostWnd, kCtrlId, DISPID_MOUSEMOVE, OnMouseMove,
             VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS)
    ON_EVENT(CHostWnd, kCtrlId, DISPID_MOUSEUP, OnMouseUp,
             VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS)
END_EVENTSINK_MAP()

class ControlTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        AfxOleInit();
        AfxEnableControlContainer();
        s_module = LoadLibraryA((ModuleDir() + "\\testctl.ocx.so").c_str());
        ASSERT_NE(s_module, nullptr);
        auto reg = (HRESULT(WINAPI*)())GetProcAddress(s_module, "DllRegisterServer");
        ASSERT_NE(reg, nullptr);
        ASSERT_EQ(reg(), S_OK);
    }
    void SetUp() override
    {
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_OVERLAPPEDWINDOW, 0, 0,
                                  640, 480, NULL, NULL));
        ASSERT_TRUE(host.m_ctl.CreateControl(kTestCtl, NULL, WS_VISIBLE | WS_TABSTOP,
                                             CRect(10, 20, 110, 70), &host, kCtrlId));
    }
    void TearDown() override
    {
        if (host.m_hWnd)
            host.DestroyWindow();
    }
    static HMODULE s_module;
    CHostWnd host;
};
HMODULE ControlTest::s_module;

TEST_F(ControlTest, RegistersItsClassAndTypeLibrary)
{
    const std::string key = std::string("CLSID\\") + kClsidText;
    EXPECT_EQ(lstrcmpiA(RegString(key + "\\InprocServer32", nullptr).c_str(),
                        ServerModulePath(s_module).c_str()),
              0);
    EXPECT_EQ(RegString(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(RegString(key, nullptr), "Test Control");
    EXPECT_EQ(RegString(key + "\\ProgID", nullptr), "TESTCTL.TestCtl.1");
    EXPECT_EQ(RegString(key + "\\MiscStatus\\1", nullptr), "131473");
    for (const char* sub : {"\\Control", "\\Insertable"}) {
        HKEY k;
        EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, (key + sub).c_str(), 0, KEY_READ, &k),
                  ERROR_SUCCESS)
            << sub;
        RegCloseKey(k);
    }
    EXPECT_EQ(RegString("TESTCTL.TestCtl.1\\CLSID", nullptr), kClsidText);
    ITypeLib* lib = nullptr;
    ASSERT_EQ(LoadRegTypeLib(kTypeLib, 1, 0, 0, &lib), S_OK);
    lib->Release();

    // Unregistering takes both away; registering again brings them back.
    auto unreg = (HRESULT(WINAPI*)())GetProcAddress(s_module, "DllUnregisterServer");
    auto reg = (HRESULT(WINAPI*)())GetProcAddress(s_module, "DllRegisterServer");
    ASSERT_EQ(unreg(), S_OK);
    EXPECT_EQ(RegString(key + "\\InprocServer32", nullptr), "<missing>");
    EXPECT_NE(LoadRegTypeLib(kTypeLib, 1, 0, 0, &lib), S_OK);
    ASSERT_EQ(reg(), S_OK);
    EXPECT_NE(RegString(key + "\\InprocServer32", nullptr), "<missing>");
}

TEST_F(ControlTest, CreatesTheControlAsAChildWindow)
{
    HWND ctl = host.m_ctl.GetSafeHwnd();
    ASSERT_NE(ctl, nullptr);
    EXPECT_EQ(::GetParent(ctl), host.m_hWnd);
    EXPECT_EQ(::GetDlgCtrlID(ctl), (int)kCtrlId);
    EXPECT_EQ(::GetDlgItem(host.m_hWnd, kCtrlId), ctl);
    EXPECT_TRUE(::GetWindowLongA(ctl, GWL_STYLE) & WS_TABSTOP);
    CRect rc;
    ::GetWindowRect(ctl, &rc);
    ::MapWindowPoints(nullptr, host.m_hWnd, (POINT*)&rc, 2);
    EXPECT_EQ(rc, CRect(10, 20, 110, 70));
    EXPECT_NE(host.m_ctl.GetControlUnknown(), nullptr);
    // The control starts from its defaults (no persistence).
    LONG v = 0;
    host.m_ctl.GetProperty(dispidLongValue, VT_I4, &v);
    EXPECT_EQ(v, 7);
}

TEST_F(ControlTest, CreationByNameAndFailures)
{
    struct {
        const char* cls;
        bool created;
    } cases[] = {{"TESTCTL.TestCtl.1", true},
                 {"{6D3A8E13-5B21-4C7A-9E44-2F1B0C9D7A01}", true},
                 {"{00000000-1111-2222-3333-444444444444}", false},
                 {"No.Such.Control", false}};
    for (auto& c : cases) {
        CWnd ctl;
        EXPECT_EQ(ctl.CreateControl(c.cls, NULL, WS_VISIBLE, CRect(0, 0, 40, 40), &host, 3000) !=
                      FALSE,
                  c.created)
            << c.cls;
        EXPECT_EQ(ctl.GetSafeHwnd() != nullptr, c.created) << c.cls;
        if (ctl.GetSafeHwnd())
            ctl.DestroyWindow();
    }
    // A failed creation leaves nothing behind in the container.
    EXPECT_EQ(::GetDlgItem(host.m_hWnd, 3000), nullptr);
}

TEST_F(ControlTest, PropertiesOfEveryTypeRoundTrip)
{
    CWnd& c = host.m_ctl;
    c.SetProperty(dispidLongValue, VT_I4, -123456);
    c.SetProperty(dispidShortValue, VT_I2, -1234);
    c.SetProperty(dispidFloatValue, VT_R4, 1.5);
    c.SetProperty(dispidDoubleValue, VT_R8, 2.25);
    c.SetProperty(dispidBoolValue, VT_BOOL, TRUE);
    c.SetProperty(dispidTextValue, VT_BSTR, "caf\xe9");
    LONG l = 0;
    short s = 0;
    float f = 0;
    double d = 0;
    BOOL b = FALSE;
    CString text;
    c.GetProperty(dispidLongValue, VT_I4, &l);
    c.GetProperty(dispidShortValue, VT_I2, &s);
    c.GetProperty(dispidFloatValue, VT_R4, &f);
    c.GetProperty(dispidDoubleValue, VT_R8, &d);
    c.GetProperty(dispidBoolValue, VT_BOOL, &b);
    c.GetProperty(dispidTextValue, VT_BSTR, &text);
    EXPECT_EQ(l, -123456);
    EXPECT_EQ(s, -1234);
    EXPECT_FLOAT_EQ(f, 1.5f);
    EXPECT_DOUBLE_EQ(d, 2.25);
    EXPECT_EQ(b, TRUE);
    EXPECT_EQ(text, "caf\xe9"); // Windows-1252 text survives the trip through BSTR

    // Putting the text fires an event with arguments of every type.
    ASSERT_FALSE(host.m_log.empty());
    EXPECT_EQ(host.m_log.back(), "Values -1234 1.5 2.25 1 caf\xe9");
}

TEST_F(ControlTest, MethodsTakeAndReturnEveryType)
{
    CWnd& c = host.m_ctl;
    double sum = 0;
    c.InvokeHelper(dispidSum, DISPATCH_METHOD, VT_R8, &sum,
                   (const BYTE*)(VTS_I2 VTS_I4 VTS_R4 VTS_R8), 2, 40000, 0.5f, 0.25);
    EXPECT_DOUBLE_EQ(sum, 40002.75);
    CString joined;
    c.InvokeHelper(dispidConcat, DISPATCH_METHOD, VT_BSTR, &joined,
                   (const BYTE*)(VTS_BSTR VTS_BSTR), "swing ", "plane");
    EXPECT_EQ(joined, "swing plane");
    BOOL inverted = TRUE;
    c.InvokeHelper(dispidInvert, DISPATCH_METHOD, VT_BOOL, &inverted, (const BYTE*)VTS_BOOL,
                   TRUE);
    EXPECT_EQ(inverted, FALSE);
    LONG value = 21, twice = 0;
    c.InvokeHelper(dispidTwice, DISPATCH_METHOD, VT_I4, &twice, (const BYTE*)VTS_PI4, &value);
    EXPECT_EQ(value, 42);
    EXPECT_EQ(twice, 42);
    c.InvokeHelper(DISPID_REFRESH, DISPATCH_METHOD, VT_EMPTY, NULL, (const BYTE*)VTS_NONE);
}

TEST_F(ControlTest, DispatchErrorsRaiseDispatchExceptions)
{
    struct Case {
        const char* what;
        DISPID id;
        WORD flags;
        SCODE expected;
    } cases[] = {
        {"error thrown by the control", dispidFail, DISPATCH_METHOD, (SCODE)0x800A01F4},
        {"put of a read-only property", dispidReadOnlyValue, DISPATCH_PROPERTYPUT,
         CTL_E_SETNOTSUPPORTED},
        {"unknown member", 4711, DISPATCH_METHOD, DISP_E_MEMBERNOTFOUND},
    };
    for (auto& c : cases) {
        SCODE caught = 0;
        try {
            if (c.flags == DISPATCH_PROPERTYPUT)
                host.m_ctl.SetProperty(c.id, VT_I4, 1);
            else
                host.m_ctl.InvokeHelper(c.id, c.flags, VT_EMPTY, NULL, (const BYTE*)VTS_I4,
                                        (int)0x800A01F4);
        } catch (COleDispatchException* e) {
            caught = e->m_scError;
            if (c.id == dispidFail) {
                EXPECT_EQ(e->m_strDescription, "Failure asked for");
            }
            e->Delete();
        }
        EXPECT_EQ(caught, c.expected) << c.what;
    }
    LONG v = 0;
    host.m_ctl.GetProperty(dispidReadOnlyValue, VT_I4, &v);
    EXPECT_EQ(v, 17);
}

TEST_F(ControlTest, EventFiredInsideAPutCanCallBackIntoTheControl)
{
    host.m_bCallBack = true;
    host.m_ctl.SetProperty(dispidLevel, VT_I4, 12);
    ASSERT_EQ(host.m_log.size(), 1u);
    EXPECT_EQ(host.m_log[0], "LevelChanged 12");
    EXPECT_EQ(host.m_levelSeenInside, 12);
    EXPECT_EQ(host.m_twiceInside, 24);
}

TEST_F(ControlTest, AnExceptionInAnEventHandlerStaysInTheContainer)
{
    // The handler's failure is the container's; the control's put completes.
    host.m_bThrow = true;
    host.m_ctl.SetProperty(dispidLevel, VT_I4, 4);
    LONG level = 0;
    host.m_ctl.GetProperty(dispidLevel, VT_I4, &level);
    EXPECT_EQ(level, 4);
    ASSERT_EQ(host.m_log.size(), 1u);
}

TEST_F(ControlTest, AnAddressInsideTheControlReachesTheContainerIntact)
{
    // The control hands out the address of one of its members; the container writes into it
    // during the event and the control reads the value back (a full 64-bit address).
    for (LONG value : {0x5eed, -1, 0x7fffffff}) {
        host.m_addressValue = value;
        LONG result = 0;
        host.m_ctl.InvokeHelper(dispidFireAddress, DISPATCH_METHOD, VT_I4, &result, NULL);
        EXPECT_EQ(result, value);
    }
}

TEST_F(ControlTest, StockEventsReachTheSinkMap)
{
    host.m_ctl.InvokeHelper(dispidFireClickNow, DISPATCH_METHOD, VT_EMPTY, NULL, NULL);
    ASSERT_EQ(host.m_log.size(), 1u);
    EXPECT_EQ(host.m_log[0], "Click");

    HWND ctl = host.m_ctl.GetSafeHwnd();
    struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::vector<CString> events;
    } cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 6), {"MouseDown 1 0 5 6"}},
        {WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(7, 8), {"MouseMove 1 0 7 8"}},
        // A press and release inside the control is a click.
        {WM_LBUTTONUP, 0, MAKELPARAM(7, 8), {"MouseUp 1 0 7 8", "Click"}},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(1, 2), {"MouseDown 1 0 1 2", "DblClick"}},
        // The release that ends a double click is no click of its own.
        {WM_LBUTTONUP, 0, MAKELPARAM(1, 2), {"MouseUp 1 0 1 2"}},
        {WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(3, 4), {"MouseDown 2 0 3 4"}},
        {WM_RBUTTONUP, 0, MAKELPARAM(3, 4), {"MouseUp 2 0 3 4"}},
        {WM_KEYDOWN, VK_F2, 0, {"KeyDown 113 0"}},
        {WM_CHAR, 'a', 0, {"KeyPress 97"}},
        {WM_KEYUP, VK_F2, 0, {"KeyUp 113 0"}},
    };
    for (auto& c : cases) {
        host.m_log.clear();
        ::SendMessageA(ctl, c.message, c.wParam, c.lParam);
        EXPECT_EQ(host.m_log, c.events) << "message " << c.message;
    }
}

TEST_F(ControlTest, DestroyingTheWrapperReleasesTheControl)
{
    HWND ctl = host.m_ctl.GetSafeHwnd();
    host.m_ctl.DestroyWindow();
    EXPECT_EQ(host.m_ctl.GetSafeHwnd(), nullptr);
    EXPECT_FALSE(::IsWindow(ctl));
    // A second control takes its place under the same id.
    ASSERT_TRUE(host.m_ctl.CreateControl(kTestCtl, NULL, WS_VISIBLE, CRect(0, 0, 50, 50), &host,
                                         kCtrlId));
    host.m_ctl.SetProperty(dispidLevel, VT_I4, 3);
    EXPECT_EQ(host.m_log.back(), "LevelChanged 3");
}

TEST_F(ControlTest, MovingTheWrapperLetsTheControlLimitItsSize)
{
    host.m_ctl.MoveWindow(5, 6, 500, 40);
    CRect rc;
    host.m_ctl.GetWindowRect(&rc);
    host.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(5, 6, 205, 46));
    host.m_ctl.SetWindowPos(NULL, 0, 0, 150, 30, SWP_NOZORDER | SWP_NOMOVE);
    host.m_ctl.GetWindowRect(&rc);
    host.ScreenToClient(&rc);
    EXPECT_EQ(rc, CRect(5, 6, 155, 36));
}

TEST_F(ControlTest, KeysAreOfferedToTheControlBeforeDispatch)
{
    HWND ctl = host.m_ctl.GetSafeHwnd();
    struct {
        UINT message;
        WPARAM key;
        BOOL kept;
    } cases[] = {{WM_KEYDOWN, VK_ESCAPE, TRUE},
                 {WM_KEYDOWN, VK_RETURN, FALSE},
                 {WM_MOUSEMOVE, VK_ESCAPE, FALSE}};
    for (auto& c : cases) {
        MSG msg = {ctl, c.message, c.key, 0};
        EXPECT_EQ(AfxOleTranslateControlMessage(ctl, &msg), c.kept) << c.message << " " << c.key;
    }
    MSG msg = {host.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0};
    EXPECT_FALSE(AfxOleTranslateControlMessage(host.m_hWnd, &msg)) << "not a control";
}

TEST_F(ControlTest, ThePropertyPageOfTheControlShowsInAFrame)
{
    ISpecifyPropertyPages* pageSource = nullptr;
    ASSERT_EQ(host.m_ctl.GetControlUnknown()->QueryInterface(IID_ISpecifyPropertyPages,
                                                             (void**)&pageSource),
              S_OK);
    CAUUID pages = {};
    ASSERT_EQ(pageSource->GetPages(&pages), S_OK);
    pageSource->Release();
    ASSERT_EQ(pages.cElems, 1u);
    const CLSID kPage = {0x6d3a8e17, 0x5b21, 0x4c7a, {0x9e, 0x44, 0x2f, 0x1b, 0x0c, 0x9d, 0x7a, 0x01}};
    EXPECT_TRUE(IsEqualCLSID(pages.pElems[0], kPage));
    IPropertyPage* page = nullptr;
    ASSERT_EQ(CoCreateInstance(pages.pElems[0], nullptr, CLSCTX_INPROC_SERVER, IID_IPropertyPage,
                               (void**)&page),
              S_OK);
    CoTaskMemFree(pages.pElems);
    IUnknown* object = host.m_ctl.GetControlUnknown();
    EXPECT_EQ(page->SetObjects(1, &object), S_OK);
    PROPPAGEINFO info = {sizeof info};
    ASSERT_EQ(page->GetPageInfo(&info), S_OK);
    char title[64] = {};
    WideCharToMultiByte(CP_ACP, 0, info.pszTitle, -1, title, sizeof title, nullptr, nullptr);
    EXPECT_STREQ(title, "General");
    EXPECT_GT(info.size.cx, 0);
    EXPECT_GT(info.size.cy, 0);
    CoTaskMemFree(info.pszTitle);
    RECT rc = {10, 10, 200, 120};
    ASSERT_EQ(page->Activate(host.m_hWnd, &rc, TRUE), S_OK);
    HWND pageWnd = ::GetWindow(host.m_hWnd, GW_CHILD);
    bool found = false;
    for (; pageWnd; pageWnd = ::GetWindow(pageWnd, GW_HWNDNEXT))
        found = found || ::GetDlgCtrlID(pageWnd) == 0;
    EXPECT_TRUE(found) << "the page is a child of the frame";
    EXPECT_EQ(page->IsPageDirty(), S_FALSE);
    EXPECT_EQ(page->Apply(), S_OK);
    EXPECT_EQ(page->Deactivate(), S_OK);
    EXPECT_EQ(page->SetObjects(0, nullptr), S_OK);
    page->Release();
}

TEST_F(ControlTest, StockPropertiesAnswerThroughTheirIds)
{
    host.m_ctl.SetProperty(DISPID_BACKCOLOR, VT_I4, 0x123456);
    LONG color = 0, hwnd = 0;
    host.m_ctl.GetProperty(DISPID_BACKCOLOR, VT_I4, &color);
    EXPECT_EQ(color, 0x123456);
    host.m_ctl.GetProperty(DISPID_HWND, VT_I4, &hwnd);
    EXPECT_EQ((HWND)(LONG_PTR)hwnd, host.m_ctl.GetSafeHwnd());
    SCODE caught = 0;
    try {
        host.m_ctl.SetProperty(DISPID_HWND, VT_I4, 1);
    } catch (COleDispatchException* e) {
        caught = e->m_scError;
        e->Delete();
    }
    EXPECT_EQ(caught, CTL_E_SETNOTSUPPORTED);
}

// The stored state: the version stamp, then the values in the order exchanged. A stream that
// ends early leaves what is missing at its default.
TEST_F(ControlTest, StateSavedToAStreamLoadsIntoAnotherInstance)
{
    auto make = [] {
        IPersistStreamInit* p = nullptr;
        EXPECT_EQ(CoCreateInstance(kTestCtl, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistStreamInit,
                                   (void**)&p),
                  S_OK);
        return p;
    };
    auto longValue = [](IPersistStreamInit* p) {
        COleDispatchDriver d;
        IDispatch* disp = nullptr;
        p->QueryInterface(IID_IDispatch, (void**)&disp);
        d.AttachDispatch(disp);
        LONG v = 0;
        d.GetProperty(dispidLongValue, VT_I4, &v);
        return v;
    };
    IPersistStreamInit* first = make();
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->InitNew(), S_OK);
    EXPECT_EQ(longValue(first), 7);
    {
        COleDispatchDriver d;
        IDispatch* disp = nullptr;
        first->QueryInterface(IID_IDispatch, (void**)&disp);
        d.AttachDispatch(disp);
        d.SetProperty(dispidLongValue, VT_I4, 99);
    }
    EXPECT_EQ(first->IsDirty(), S_OK);
    IStream* stream = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    ASSERT_EQ(first->Save(stream, TRUE), S_OK);
    EXPECT_EQ(first->IsDirty(), S_FALSE);
    STATSTG st = {};
    stream->Stat(&st, STATFLAG_NONAME);
    EXPECT_EQ(st.cbSize.QuadPart, 8u); // version stamp and one LONG

    for (ULONG cut : {8u, 6u, 2u}) {
        IStream* part = nullptr;
        ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &part), S_OK);
        LARGE_INTEGER zero = {};
        stream->Seek(zero, STREAM_SEEK_SET, nullptr);
        ULARGE_INTEGER n;
        n.QuadPart = cut;
        stream->CopyTo(part, n, nullptr, nullptr);
        part->Seek(zero, STREAM_SEEK_SET, nullptr);
        IPersistStreamInit* second = make();
        ASSERT_EQ(second->Load(part), S_OK);
        EXPECT_EQ(longValue(second), cut == 8 ? 99 : 7) << cut << " bytes";
        second->Release();
        part->Release();
    }
    stream->Release();
    first->Release();
}

class CSubHost : public CWnd {
public:
    std::vector<LONG> m_codes;
    void OnReflected(LONG code) { m_codes.push_back(code); }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CSubHost, CWnd)
    ON_EVENT(CSubHost, 7, 1, OnReflected, VTS_I4)
END_EVENTSINK_MAP()

TEST_F(ControlTest, ASubclassedControlGetsItsNotificationsReflected)
{
    CSubHost sub;
    ASSERT_TRUE(sub.CreateEx(0, AfxRegisterWndClass(0), "sub", WS_OVERLAPPEDWINDOW, 0, 0, 300,
                             200, NULL, NULL));
    CWnd ctl;
    ASSERT_TRUE(ctl.CreateControl(kTestSubCtl, NULL, WS_VISIBLE, CRect(0, 0, 100, 20), &sub, 7));
    char cls[32] = {};
    ::GetClassNameA(ctl.m_hWnd, cls, sizeof cls);
    EXPECT_EQ(lstrcmpiA(cls, "Edit"), 0);
    // The edit tells its parent of the change; the container hands it back to the control.
    ::SetWindowTextA(ctl.m_hWnd, "changed");
    LONG reflections = 0;
    ctl.InvokeHelper(1, DISPATCH_METHOD, VT_I4, &reflections, NULL);
    EXPECT_GE(reflections, 1);
    EXPECT_NE(std::find(sub.m_codes.begin(), sub.m_codes.end(), (LONG)EN_CHANGE),
              sub.m_codes.end());
    sub.DestroyWindow();
}

// A dialog made from a template that names the control by its class id.
class CDlgHost : public CWnd {
public:
    std::vector<LONG> m_levels;
    void OnLevelChanged(LONG level) { m_levels.push_back(level); }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CDlgHost, CWnd)
    ON_EVENT(CDlgHost, kDlgCtrlId, eventLevelChanged, OnLevelChanged, VTS_I4)
END_EVENTSINK_MAP()

CDlgHost* g_dlg;
bool g_controlAtInit;

INT_PTR CALLBACK DlgProc(HWND hDlg, UINT msg, WPARAM, LPARAM)
{
    if (msg == WM_INITDIALOG) {
        // The control exists when the dialog initialises (where data exchange binds it).
        HWND ctl = ::GetDlgItem(hDlg, kDlgCtrlId);
        char cls[64] = {};
        GetClassNameA(ctl, cls, sizeof cls);
        g_controlAtInit = ctl && lstrcmpiA(cls, kClsidText) != 0;
        g_dlg->Attach(hDlg);
        g_dlg->ExecuteDlgInit(MAKEINTRESOURCE(kDialogId));
        return TRUE;
    }
    return FALSE;
}

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

TEST_F(ControlTest, ControlsNamedInADialogTemplateAreCreatedWithTheDialog)
{
    CDlgHost dlg;
    g_dlg = &dlg;
    HWND hDlg = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(kDialogId),
                                   host.m_hWnd, DlgProc, 0);
    ASSERT_NE(hDlg, nullptr);
    EXPECT_TRUE(g_controlAtInit);
    PumpMessages();
    HWND ctl = ::GetDlgItem(hDlg, kDlgCtrlId);
    ASSERT_NE(ctl, nullptr);
    // The items keep their order: the control sits between the two static texts.
    EXPECT_EQ(::GetWindow(ctl, GW_HWNDPREV), ::GetDlgItem(hDlg, 1));
    EXPECT_EQ(::GetWindow(ctl, GW_HWNDNEXT), ::GetDlgItem(hDlg, 2));
    // Visible as its template item is.
    EXPECT_TRUE(::GetWindowLongA(ctl, GWL_STYLE) & WS_VISIBLE);

    // Bound the way a panel binds its wrapper: by subclassing the dialog item.
    CWnd wrapper;
    ASSERT_TRUE(wrapper.SubclassDlgItem(kDlgCtrlId, &dlg));
    // Bound to its site from the start: moving it lets the control limit its size.
    wrapper.MoveWindow(0, 0, 400, 30);
    CRect rc;
    wrapper.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 200);
    wrapper.SetProperty(dispidLevel, VT_I4, 8);
    LONG level = 0;
    wrapper.GetProperty(dispidLevel, VT_I4, &level);
    EXPECT_EQ(level, 8);
    ASSERT_EQ(dlg.m_levels.size(), 1u);
    EXPECT_EQ(dlg.m_levels[0], 8);
    dlg.DestroyWindow();
    EXPECT_EQ(wrapper.GetSafeHwnd(), nullptr);
}

// A panel as the program's panels are: a dialog class binding its wrapper by data exchange.
class CPanel : public CDialog {
public:
    CPanel() : CDialog(kDialogId) {}
    CWnd m_slider;
    std::vector<LONG> m_levels;
    void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, kDlgCtrlId, m_slider); }
    void OnLevelChanged(LONG level) { m_levels.push_back(level); }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CPanel, CDialog)
    ON_EVENT(CPanel, kDlgCtrlId, eventLevelChanged, OnLevelChanged, VTS_I4)
END_EVENTSINK_MAP()

TEST_F(ControlTest, ADialogClassBindsItsControlWhenItInitialises)
{
    CPanel panel;
    ASSERT_TRUE(panel.Create(kDialogId, &host));
    ASSERT_NE(panel.m_slider.GetSafeHwnd(), nullptr);
    panel.m_slider.SetProperty(dispidLevel, VT_I4, 5);
    ASSERT_EQ(panel.m_levels.size(), 1u);
    EXPECT_EQ(panel.m_levels[0], 5);
    // Moving the bound wrapper goes through the control's size limit.
    panel.m_slider.MoveWindow(0, 0, 400, 30);
    CRect rc;
    panel.m_slider.GetWindowRect(&rc);
    EXPECT_EQ(rc.Width(), 200);
    panel.DestroyWindow();
    EXPECT_EQ(panel.m_slider.GetSafeHwnd(), nullptr);
}

// Dialog templates: the class ids of the OLE items, read within the template's bytes.
std::vector<BYTE> BuildTemplate()
{
    std::vector<BYTE> t;
    auto word = [&](WORD w) {
        t.push_back(LOBYTE(w));
        t.push_back(HIBYTE(w));
    };
    auto dword = [&](DWORD d) {
        word(LOWORD(d));
        word(HIWORD(d));
    };
    auto text = [&](const char* s) {
        for (; *s; ++s)
            word((BYTE)*s);
        word(0);
    };
    auto align = [&] {
        while (t.size() % 4)
            t.push_back(0);
    };
    dword(WS_POPUP | DS_SETFONT);
    dword(0);
    word(3);
    word(0), word(0), word(100), word(50);
    word(0); // menu
    word(0); // class
    text("Title");
    word(8);
    text("MS Shell Dlg");
    const char* classes[] = {"{6D3A8E13-5B21-4C7A-9E44-2F1B0C9D7A01}", nullptr, "Button"};
    for (int i = 0; i < 3; ++i) {
        align();
        dword(WS_CHILD), dword(0);
        word(1), word(2), word(3), word(4);
        word(WORD(100 + i));
        if (classes[i])
            text(classes[i]);
        else
            word(0xFFFF), word(0x0082); // a static by ordinal
        text("x");
        word(0);
    }
    return t;
}

TEST(DialogTemplate, NamesTheClassIdsOfItsControlItems)
{
    std::vector<BYTE> t = BuildTemplate();
    std::vector<CString> classes;
    EXPECT_TRUE(AfxOleDialogControlClasses(t.data(), t.size(), classes));
    ASSERT_EQ(classes.size(), 1u);
    EXPECT_EQ(classes[0], "{6D3A8E13-5B21-4C7A-9E44-2F1B0C9D7A01}");

    // Cut anywhere, the template is read only as far as it goes.
    for (size_t n = 0; n < t.size(); ++n) {
        std::vector<BYTE> cut(t.begin(), t.begin() + n);
        std::vector<CString> some;
        AfxOleDialogControlClasses(cut.data(), cut.size(), some);
        EXPECT_LE(some.size(), 1u);
    }
}

} // namespace
