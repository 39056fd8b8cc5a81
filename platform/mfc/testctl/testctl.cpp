// The test control: properties and methods of every argument type, events fired from inside
// property puts, an event that hands the container an address inside the control, errors,
// and stock events.
#include "afxctl.h"
#include "testctl.h"

static const GUID kTypeLib = {0x6d3a8e10, 0x5b21, 0x4c7a, {0x9e, 0x44, 0x2f, 0x1b, 0x0c, 0x9d, 0x7a, 0x01}};
enum { IDS_TESTCTL = 1, IDB_TESTCTL = 1, IDS_TESTPPG = 2, IDD_PROPPAGE = 200,
       IDS_PROPPAGE_CAPTION = 200 };

// The control's one property page: nothing bound, as the pages of the product's controls.
class CTestPropPage : public COlePropertyPage {
    DECLARE_DYNCREATE(CTestPropPage)
    DECLARE_OLECREATE_EX(CTestPropPage)
public:
    CTestPropPage() : COlePropertyPage(IDD_PROPPAGE, IDS_PROPPAGE_CAPTION) {}
    virtual void DoDataExchange(CDataExchange* pDX) override { DDP_PostProcessing(pDX); }
};

IMPLEMENT_DYNCREATE(CTestPropPage, COlePropertyPage)
IMPLEMENT_OLECREATE_EX(CTestPropPage, "TESTCTL.TestPropPage.1", 0x6d3a8e17, 0x5b21, 0x4c7a, 0x9e,
                       0x44, 0x2f, 0x1b, 0x0c, 0x9d, 0x7a, 0x01)

BOOL CTestPropPage::CTestPropPageFactory::UpdateRegistry(BOOL bRegister)
{
    if (bRegister)
        return AfxOleRegisterPropertyPageClass(AfxOleModuleHandle(), m_clsid, IDS_TESTPPG);
    return AfxOleUnregisterClass(m_clsid, NULL);
}

class CTestCtl : public COleControl {
    DECLARE_DYNCREATE(CTestCtl)
public:
    CTestCtl();

    // Properties kept in members
    LONG m_lValue;
    float m_fValue;
    double m_dValue;
    // Properties behind accessors
    short m_sValue;
    BOOL m_bValue;
    CString m_strText;
    LONG m_lLevel;
    LONG m_lNotifications;
    // What the container writes through the address it is handed.
    LONG m_lMarker;

    void OnLongValueChanged();
    short GetShortValue();
    void SetShortValue(short s);
    BOOL GetBoolValue();
    void SetBoolValue(BOOL b);
    BSTR GetTextValue();
    void SetTextValue(LPCTSTR text);
    LONG GetReadOnlyValue();
    LONG GetLevel();
    void SetLevel(LONG level);
    double Sum(short s, LONG l, float f, double d);
    BSTR Concat(LPCTSTR a, LPCTSTR b);
    BOOL Invert(BOOL b);
    LONG Twice(LONG* p);
    LONG FireAddress();
    void Fail(LONG code);
    void FireClickNow();

    void FireLevelChanged(LONG level) { FireEvent(1, EVENT_PARAM(VTS_I4), level); }
    void FireAddressEvent(LONG* object) { FireEvent(2, EVENT_PARAM(VTS_PI4), object); }
    void FireValues(short s, float f, double d, BOOL b, LPCTSTR text)
    {
        FireEvent(3, EVENT_PARAM(VTS_I2 VTS_R4 VTS_R8 VTS_BOOL VTS_BSTR), s, f, d, b, text);
    }

    virtual void DoPropExchange(CPropExchange* pPX) override;
    virtual void OnDraw(CDC* pDC, const CRect& rcBounds, const CRect& rcInvalid) override;
    virtual BOOL OnSetObjectRects(LPCRECT lpRectPos, LPCRECT lpRectClip) override;
    // Keeps the Escape key to itself.
    virtual BOOL PreTranslateMessage(MSG* pMsg) override
    {
        return (pMsg->message == WM_KEYDOWN || pMsg->message == WM_SYSKEYDOWN) &&
               pMsg->wParam == VK_ESCAPE;
    }

    DECLARE_OLECREATE_EX(CTestCtl)
    DECLARE_OLETYPELIB(CTestCtl)
    DECLARE_PROPPAGEIDS(CTestCtl)
    DECLARE_DISPATCH_MAP()
    DECLARE_EVENT_MAP()
};

IMPLEMENT_DYNCREATE(CTestCtl, COleControl)
IMPLEMENT_OLECREATE_EX(CTestCtl, "TESTCTL.TestCtl.1", 0x6d3a8e13, 0x5b21, 0x4c7a, 0x9e, 0x44, 0x2f,
                       0x1b, 0x0c, 0x9d, 0x7a, 0x01)
IMPLEMENT_OLETYPELIB(CTestCtl, kTypeLib, 1, 0)

BEGIN_PROPPAGEIDS(CTestCtl, 1)
    PROPPAGEID(CTestPropPage::guid)
END_PROPPAGEIDS(CTestCtl)

BEGIN_DISPATCH_MAP(CTestCtl, COleControl)
    DISP_PROPERTY_NOTIFY(CTestCtl, "LongValue", m_lValue, OnLongValueChanged, VT_I4)
    DISP_PROPERTY_EX(CTestCtl, "ShortValue", GetShortValue, SetShortValue, VT_I2)
    DISP_PROPERTY(CTestCtl, "FloatValue", m_fValue, VT_R4)
    DISP_PROPERTY(CTestCtl, "DoubleValue", m_dValue, VT_R8)
    DISP_PROPERTY_EX(CTestCtl, "BoolValue", GetBoolValue, SetBoolValue, VT_BOOL)
    DISP_PROPERTY_EX(CTestCtl, "TextValue", GetTextValue, SetTextValue, VT_BSTR)
    DISP_PROPERTY_EX(CTestCtl, "ReadOnlyValue", GetReadOnlyValue, SetNotSupported, VT_I4)
    DISP_PROPERTY_EX(CTestCtl, "Level", GetLevel, SetLevel, VT_I4)
    DISP_FUNCTION(CTestCtl, "Sum", Sum, VT_R8, VTS_I2 VTS_I4 VTS_R4 VTS_R8)
    DISP_FUNCTION(CTestCtl, "Concat", Concat, VT_BSTR, VTS_BSTR VTS_BSTR)
    DISP_FUNCTION(CTestCtl, "Invert", Invert, VT_BOOL, VTS_BOOL)
    DISP_FUNCTION(CTestCtl, "Twice", Twice, VT_I4, VTS_PI4)
    DISP_FUNCTION(CTestCtl, "FireAddress", FireAddress, VT_I4, VTS_NONE)
    DISP_FUNCTION(CTestCtl, "Fail", Fail, VT_EMPTY, VTS_I4)
    DISP_FUNCTION(CTestCtl, "FireClickNow", FireClickNow, VT_EMPTY, VTS_NONE)
    DISP_STOCKFUNC_REFRESH()
    DISP_STOCKPROP_BACKCOLOR()
    DISP_STOCKPROP_HWND()
END_DISPATCH_MAP()

BEGIN_EVENT_MAP(CTestCtl, COleControl)
    EVENT_CUSTOM("LevelChanged", FireLevelChanged, VTS_I4)
    EVENT_CUSTOM("Address", FireAddressEvent, VTS_PI4)
    EVENT_CUSTOM("Values", FireValues, VTS_I2 VTS_R4 VTS_R8 VTS_BOOL VTS_BSTR)
    EVENT_STOCK_CLICK()
    EVENT_STOCK_DBLCLICK()
    EVENT_STOCK_KEYDOWN()
    EVENT_STOCK_KEYPRESS()
    EVENT_STOCK_KEYUP()
    EVENT_STOCK_MOUSEDOWN()
    EVENT_STOCK_MOUSEMOVE()
    EVENT_STOCK_MOUSEUP()
END_EVENT_MAP()

BOOL CTestCtl::CTestCtlFactory::UpdateRegistry(BOOL bRegister)
{
    if (!bRegister)
        return AfxOleUnregisterClass(m_clsid, m_lpszProgID);
    return AfxOleRegisterControlClass(AfxOleModuleHandle(), m_clsid, m_lpszProgID, IDS_TESTCTL,
                                      IDB_TESTCTL, afxRegInsertable | afxRegApartmentThreading,
                                      OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                                          OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                                          OLEMISC_RECOMPOSEONRESIZE,
                                      kTypeLib, 1, 0);
}

CTestCtl::CTestCtl()
    : m_lValue(0), m_fValue(0), m_dValue(0), m_sValue(0), m_bValue(FALSE), m_lLevel(0),
      m_lNotifications(0), m_lMarker(0)
{
    InitializeIIDs(&DIID__DTestCtl, &DIID__DTestCtlEvents);
}

void CTestCtl::DoPropExchange(CPropExchange* pPX)
{
    ExchangeVersion(pPX, MAKELONG(0, 1));
    COleControl::DoPropExchange(pPX);
    PX_Long(pPX, "LongValue", m_lValue, 7);
}

void CTestCtl::OnDraw(CDC*, const CRect&, const CRect&) {}

// Never wider than 200 pixels, as a video window never grows beyond its clip.
BOOL CTestCtl::OnSetObjectRects(LPCRECT lpRectPos, LPCRECT lpRectClip)
{
    CRect pos(lpRectPos);
    if (pos.Width() > 200) {
        SetControlSize(200, pos.Height());
        pos.right = pos.left + 200;
    }
    return COleControl::OnSetObjectRects(pos, lpRectClip);
}

void CTestCtl::OnLongValueChanged()
{
    ++m_lNotifications;
    SetModifiedFlag();
}

short CTestCtl::GetShortValue() { return m_sValue; }
void CTestCtl::SetShortValue(short s)
{
    m_sValue = s;
    SetModifiedFlag();
}
BOOL CTestCtl::GetBoolValue() { return m_bValue; }
void CTestCtl::SetBoolValue(BOOL b)
{
    m_bValue = b;
    SetModifiedFlag();
}
BSTR CTestCtl::GetTextValue() { return m_strText.AllocSysString(); }
void CTestCtl::SetTextValue(LPCTSTR text)
{
    m_strText = text;
    SetModifiedFlag();
    FireValues(m_sValue, m_fValue, m_dValue, m_bValue, m_strText);
}
LONG CTestCtl::GetReadOnlyValue() { return 17; }
LONG CTestCtl::GetLevel() { return m_lLevel; }

// The event goes out while the put is still running; the container may call back in.
void CTestCtl::SetLevel(LONG level)
{
    m_lLevel = level;
    FireLevelChanged(level);
    SetModifiedFlag();
}

double CTestCtl::Sum(short s, LONG l, float f, double d) { return s + l + f + d; }

BSTR CTestCtl::Concat(LPCTSTR a, LPCTSTR b)
{
    CString s = CString(a) + b;
    return s.AllocSysString();
}

BOOL CTestCtl::Invert(BOOL b) { return !b; }

LONG CTestCtl::Twice(LONG* p)
{
    *p *= 2;
    return *p;
}

LONG CTestCtl::FireAddress()
{
    m_lMarker = 0;
    FireAddressEvent(&m_lMarker);
    return m_lMarker;
}

void CTestCtl::Fail(LONG code) { ThrowError((SCODE)code, "Failure asked for"); }

void CTestCtl::FireClickNow() { FireClick(); }

//////////////////////////////////////////////////////////////////////////////////////////
// A control on an edit window of the system: the notifications the edit sends its parent
// come back to it reflected.

class CTestSubCtl : public COleControl {
    DECLARE_DYNCREATE(CTestSubCtl)
public:
    CTestSubCtl() : m_lReflections(0) { InitializeIIDs(&DIID__DTestSubCtl, &DIID__DTestSubCtlEvents); }
    LONG m_lReflections;
    LONG Reflections() { return m_lReflections; }
    virtual BOOL IsSubclassedControl() override { return TRUE; }
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        cs.lpszClass = "EDIT";
        return COleControl::PreCreateWindow(cs);
    }
    afx_msg LRESULT OnOcmCommand(WPARAM wParam, LPARAM)
    {
        ++m_lReflections;
        FireEvent(1, EVENT_PARAM(VTS_I4), (int)HIWORD(wParam));
        return 0;
    }
    DECLARE_OLECREATE_EX(CTestSubCtl)
    DECLARE_OLETYPELIB(CTestSubCtl)
    DECLARE_DISPATCH_MAP()
    DECLARE_EVENT_MAP()
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNCREATE(CTestSubCtl, COleControl)
IMPLEMENT_OLECREATE_EX(CTestSubCtl, "TESTCTL.TestSubCtl.1", 0x6d3a8e16, 0x5b21, 0x4c7a, 0x9e, 0x44,
                       0x2f, 0x1b, 0x0c, 0x9d, 0x7a, 0x01)
IMPLEMENT_OLETYPELIB(CTestSubCtl, kTypeLib, 1, 0)

BEGIN_MESSAGE_MAP(CTestSubCtl, COleControl)
    ON_MESSAGE(OCM_COMMAND, OnOcmCommand)
END_MESSAGE_MAP()

BEGIN_DISPATCH_MAP(CTestSubCtl, COleControl)
    DISP_FUNCTION(CTestSubCtl, "Reflections", Reflections, VT_I4, VTS_NONE)
END_DISPATCH_MAP()

BEGIN_EVENT_MAP(CTestSubCtl, COleControl)
    EVENT_CUSTOM("Reflected", FireReflected, VTS_I4)
END_EVENT_MAP()

BOOL CTestSubCtl::CTestSubCtlFactory::UpdateRegistry(BOOL bRegister)
{
    if (!bRegister)
        return AfxOleUnregisterClass(m_clsid, m_lpszProgID);
    return AfxOleRegisterControlClass(AfxOleModuleHandle(), m_clsid, m_lpszProgID, IDS_TESTCTL,
                                      IDB_TESTCTL, afxRegApartmentThreading,
                                      OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST |
                                          OLEMISC_INSIDEOUT | OLEMISC_CANTLINKINSIDE |
                                          OLEMISC_RECOMPOSEONRESIZE,
                                      kTypeLib, 1, 0);
}

//////////////////////////////////////////////////////////////////////////////////////////
// Server exports

extern "C" HRESULT WINAPI DllRegisterServer()
{
    if (!AfxOleRegisterTypeLib(AfxOleModuleHandle(), kTypeLib))
        return SELFREG_E_TYPELIB;
    if (!COleObjectFactoryEx::UpdateRegistryAll(TRUE))
        return SELFREG_E_CLASS;
    return S_OK;
}

extern "C" HRESULT WINAPI DllUnregisterServer()
{
    if (!AfxOleUnregisterTypeLib(kTypeLib))
        return SELFREG_E_TYPELIB;
    if (!COleObjectFactoryEx::UpdateRegistryAll(FALSE))
        return SELFREG_E_CLASS;
    return S_OK;
}
