// Dispatch maps, argument coercion, the dispatch driver and event-sink maps, driven without
// a control module.
#include "gtest_wine.h"
#include "afxdisp.h"
#include <vector>

namespace {

class CAuto : public CCmdTarget {
public:
    CAuto() { EnableAutomation(); }
    LONG m_lValue = 0;
    int m_nNotified = 0;
    CString m_strLast;
    BOOL m_bLast = 12345;

    void OnValueChanged() { ++m_nNotified; }
    double Mix(short s, LONG l, float f, double d, BOOL b, LPCTSTR text)
    {
        m_bLast = b;
        m_strLast = text;
        return s + l + f + d + (b ? 1000 : 0);
    }
    BSTR Upper(LPCTSTR text)
    {
        CString s(text);
        s.MakeUpper();
        return s.AllocSysString();
    }
    LONG Twice(LONG* p) { return *p *= 2; }
    void SetFlag(BOOL* pb) { *pb = !*pb; }
    void Throw(LONG code)
    {
        COleDispatchException* e = new COleDispatchException("it failed", 0, 0);
        e->m_scError = code;
        throw e;
    }
    LONG GetReadOnly() { return 5; }
    void SetNothing() { AfxThrowOleDispatchException(0, "read only"); }
    short GetShort() { return -3; }
    void SetShort(short s) { m_lValue = s; }

    DECLARE_DISPATCH_MAP()
};

BEGIN_DISPATCH_MAP(CAuto, CCmdTarget)
    DISP_PROPERTY_NOTIFY(CAuto, "Value", m_lValue, OnValueChanged, VT_I4) // 1
    DISP_FUNCTION(CAuto, "Mix", Mix, VT_R8, VTS_I2 VTS_I4 VTS_R4 VTS_R8 VTS_BOOL VTS_BSTR) // 2
    DISP_FUNCTION(CAuto, "Upper", Upper, VT_BSTR, VTS_BSTR) // 3
    DISP_FUNCTION(CAuto, "Twice", Twice, VT_I4, VTS_PI4) // 4
    DISP_FUNCTION(CAuto, "SetFlag", SetFlag, VT_EMPTY, VTS_PBOOL) // 5
    DISP_FUNCTION(CAuto, "Throw", Throw, VT_EMPTY, VTS_I4) // 6
    DISP_PROPERTY_EX(CAuto, "ReadOnly", GetReadOnly, SetNothing, VT_I4) // 7
    DISP_PROPERTY_EX(CAuto, "Short", GetShort, SetShort, VT_I2) // 8
    DISP_FUNCTION_ID(CAuto, "About", -552, OnValueChanged, VT_EMPTY, VTS_NONE)
END_DISPATCH_MAP()

// A VARIANT that cleans up after itself.
struct Var : VARIANT {
    Var() { VariantInit(this); }
    explicit Var(LONG v) : Var() { V_VT(this) = VT_I4, V_I4(this) = v; }
    explicit Var(short v) : Var() { V_VT(this) = VT_I2, V_I2(this) = v; }
    explicit Var(double v) : Var() { V_VT(this) = VT_R8, V_R8(this) = v; }
    explicit Var(const char* s) : Var()
    {
        V_VT(this) = VT_BSTR;
        V_BSTR(this) = AfxDisp::AnsiToBstr(s);
    }
    static Var Bool(bool b)
    {
        Var v;
        V_VT(&v) = VT_BOOL;
        V_BOOL(&v) = b ? VARIANT_TRUE : VARIANT_FALSE;
        return v;
    }
    Var(const Var& o) : Var() { VariantCopy(this, const_cast<Var*>(&o)); }
    ~Var() { VariantClear(this); }
};

// Invokes with the arguments in call order.
HRESULT Call(CCmdTarget* t, DISPID id, WORD flags, std::vector<Var> args, VARIANT* result,
             EXCEPINFO* info = nullptr, UINT* argErr = nullptr)
{
    std::vector<VARIANT> rev(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    DISPPARAMS dp = {rev.empty() ? nullptr : rev.data(), nullptr, (UINT)rev.size(), 0};
    if (flags & DISPATCH_PROPERTYPUT) {
        dp.rgdispidNamedArgs = &put;
        dp.cNamedArgs = 1;
    }
    return AfxDispatchInvoke(t, id, flags, &dp, result, info, argErr);
}

TEST(DispatchMap, NamesResolveToPositionsAndExplicitIds)
{
    CAuto obj;
    struct {
        const WCHAR* name;
        DISPID id;
    } cases[] = {{L"Value", 1}, {L"mix", 2}, {L"SHORT", 8}, {L"About", -552}};
    for (auto& c : cases) {
        LPOLESTR name = const_cast<LPOLESTR>(c.name);
        DISPID id = 0;
        EXPECT_EQ(AfxDispatchGetIDsOfNames(&obj, &name, 1, &id), S_OK);
        EXPECT_EQ(id, c.id);
    }
    LPOLESTR unknown = const_cast<LPOLESTR>(L"Nope");
    DISPID id = 0;
    EXPECT_EQ(AfxDispatchGetIDsOfNames(&obj, &unknown, 1, &id), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(id, DISPID_UNKNOWN);
}

TEST(DispatchMap, ArgumentsAreCoercedToTheMembersTypes)
{
    CAuto obj;
    Var r;
    // Each argument arrives in another type than the member takes.
    ASSERT_EQ(Call(&obj, 2, DISPATCH_METHOD,
                   {Var(LONG(2)), Var("40"), Var(0.5), Var(short(7)), Var::Bool(true), Var(3.25)},
                   &r),
              S_OK);
    EXPECT_EQ(V_VT(&r), VT_R8);
    EXPECT_DOUBLE_EQ(V_R8(&r), 2 + 40 + 0.5 + 7 + 1000);
    // A BOOL member receives the automation value itself.
    EXPECT_EQ(obj.m_bLast, (BOOL)VARIANT_TRUE);
    EXPECT_EQ(obj.m_strLast, "3.25");

    Var u;
    ASSERT_EQ(Call(&obj, 3, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {Var("abc")}, &u), S_OK);
    ASSERT_EQ(V_VT(&u), VT_BSTR);
    EXPECT_EQ(AfxDisp::BstrToAnsi(V_BSTR(&u)), "ABC");
}

TEST(DispatchMap, PropertiesGetPutAndNotify)
{
    CAuto obj;
    Var none;
    ASSERT_EQ(Call(&obj, 1, DISPATCH_PROPERTYPUT, {Var("123")}, nullptr), S_OK);
    EXPECT_EQ(obj.m_lValue, 123);
    EXPECT_EQ(obj.m_nNotified, 1);
    Var got;
    ASSERT_EQ(Call(&obj, 1, DISPATCH_PROPERTYGET, {}, &got), S_OK);
    EXPECT_EQ(V_VT(&got), VT_I4);
    EXPECT_EQ(V_I4(&got), 123);

    Var s;
    ASSERT_EQ(Call(&obj, 8, DISPATCH_PROPERTYGET, {}, &s), S_OK);
    EXPECT_EQ(V_VT(&s), VT_I2);
    EXPECT_EQ(V_I2(&s), -3);
    ASSERT_EQ(Call(&obj, 8, DISPATCH_PROPERTYPUT, {Var(LONG(9))}, nullptr), S_OK);
    EXPECT_EQ(obj.m_lValue, 9);
}

TEST(DispatchMap, ByReferenceArgumentsWriteThrough)
{
    CAuto obj;
    LONG v = 21;
    Var ref;
    V_VT(&ref) = VT_I4 | VT_BYREF;
    V_I4REF(&ref) = &v;
    Var r;
    ASSERT_EQ(Call(&obj, 4, DISPATCH_METHOD, {ref}, &r), S_OK);
    EXPECT_EQ(v, 42);
    EXPECT_EQ(V_I4(&r), 42);

    // A by-reference BOOL travels as VARIANT_BOOL and comes back as one.
    VARIANT_BOOL flag = VARIANT_FALSE;
    Var bref;
    V_VT(&bref) = VT_BOOL | VT_BYREF;
    V_BOOLREF(&bref) = &flag;
    ASSERT_EQ(Call(&obj, 5, DISPATCH_METHOD, {bref}, nullptr), S_OK);
    EXPECT_EQ(flag, VARIANT_TRUE);
}

TEST(DispatchMap, BadCallsAnswerTheirErrors)
{
    CAuto obj;
    Var byValue(LONG(1));
    Var wrongRef;
    short s = 0;
    V_VT(&wrongRef) = VT_I2 | VT_BYREF;
    V_I2REF(&wrongRef) = &s;
    struct Case {
        const char* what;
        DISPID id;
        WORD flags;
        std::vector<Var> args;
        HRESULT expected;
    } cases[] = {
        {"unknown member", 99, DISPATCH_METHOD, {}, DISP_E_MEMBERNOTFOUND},
        {"too few arguments", 3, DISPATCH_METHOD, {}, DISP_E_BADPARAMCOUNT},
        {"too many arguments", 3, DISPATCH_METHOD, {Var("a"), Var("b")}, DISP_E_BADPARAMCOUNT},
        {"text that is no number", 4, DISPATCH_METHOD, {Var("x")}, DISP_E_TYPEMISMATCH},
        {"value for a reference", 4, DISPATCH_METHOD, {byValue}, DISP_E_TYPEMISMATCH},
        {"reference of another type", 4, DISPATCH_METHOD, {wrongRef}, DISP_E_TYPEMISMATCH},
        {"put on a method", 3, DISPATCH_PROPERTYPUT, {Var("a")}, DISP_E_MEMBERNOTFOUND},
        {"argument to a property get", 1, DISPATCH_PROPERTYGET, {Var(LONG(1))},
         DISP_E_BADPARAMCOUNT},
        {"number out of range", 8, DISPATCH_PROPERTYPUT, {Var(LONG(100000))}, DISP_E_OVERFLOW},
    };
    for (auto& c : cases) {
        Var r;
        EXPECT_EQ(Call(&obj, c.id, c.flags, c.args, &r), c.expected) << c.what;
    }
}

TEST(DispatchMap, ExceptionsBecomeExceptionInfo)
{
    CAuto obj;
    EXCEPINFO info = {};
    ASSERT_EQ(Call(&obj, 6, DISPATCH_METHOD, {Var(LONG(0x800A0BAD))}, nullptr, &info),
              DISP_E_EXCEPTION);
    EXPECT_EQ(info.scode, (SCODE)0x800A0BAD);
    EXPECT_EQ(AfxDisp::BstrToAnsi(info.bstrDescription), "it failed");
    SysFreeString(info.bstrDescription);
    SysFreeString(info.bstrSource);
    SysFreeString(info.bstrHelpFile);
}

TEST(DispatchDriver, CallsByDispidWithEveryArgumentType)
{
    CAuto* obj = new CAuto;
    COleDispatchDriver driver(obj->GetIDispatch(FALSE), FALSE);
    double sum = 0;
    driver.InvokeHelper(2, DISPATCH_METHOD, VT_R8, &sum,
                        (const BYTE*)(VTS_I2 VTS_I4 VTS_R4 VTS_R8 VTS_BOOL VTS_BSTR), 1, 20L,
                        0.25f, 300.0, TRUE, "text");
    EXPECT_DOUBLE_EQ(sum, 1321.25);
    EXPECT_EQ(obj->m_strLast, "text");

    CString upper;
    driver.InvokeHelper(3, DISPATCH_METHOD, VT_BSTR, &upper, (const BYTE*)VTS_BSTR, "mixed Case");
    EXPECT_EQ(upper, "MIXED CASE");

    LONG v = 8, twice = 0;
    driver.InvokeHelper(4, DISPATCH_METHOD, VT_I4, &twice, (const BYTE*)VTS_PI4, &v);
    EXPECT_EQ(v, 16);
    EXPECT_EQ(twice, 16);

    driver.SetProperty(1, VT_I4, 77);
    LONG value = 0;
    driver.GetProperty(1, VT_I4, &value);
    EXPECT_EQ(value, 77);
    short s = 0;
    driver.GetProperty(8, VT_I2, &s);
    EXPECT_EQ(s, -3);
    BOOL b = 2;
    driver.InvokeHelper(1, DISPATCH_PROPERTYGET, VT_BOOL, &b, nullptr);
    EXPECT_EQ(b, TRUE);

    // Failures arrive as dispatch exceptions carrying the code.
    SCODE caught = 0;
    CString text;
    try {
        driver.InvokeHelper(6, DISPATCH_METHOD, VT_EMPTY, nullptr, (const BYTE*)VTS_I4,
                            (int)0x800A1234);
    } catch (COleDispatchException* e) {
        caught = e->m_scError;
        text = e->m_strDescription;
        e->Delete();
    }
    EXPECT_EQ(caught, (SCODE)0x800A1234);
    EXPECT_EQ(text, "it failed");
    caught = 0;
    try {
        driver.InvokeHelper(99, DISPATCH_METHOD, VT_EMPTY, nullptr, nullptr);
    } catch (COleDispatchException* e) {
        caught = e->m_scError;
        e->Delete();
    }
    EXPECT_EQ(caught, DISP_E_MEMBERNOTFOUND);
    driver.ReleaseDispatch();
    obj->InternalRelease();
}

TEST(DispatchDriver, IDispatchOfATargetIsACOMObject)
{
    CAuto* obj = new CAuto;
    LPDISPATCH disp = obj->GetIDispatch(TRUE);
    ASSERT_NE(disp, nullptr);
    EXPECT_EQ(CCmdTarget::FromIDispatch(disp), obj);
    IUnknown* unk = nullptr;
    ASSERT_EQ(disp->QueryInterface(IID_IUnknown, (void**)&unk), S_OK);
    IDispatch* again = nullptr;
    ASSERT_EQ(unk->QueryInterface(IID_IDispatch, (void**)&again), S_OK);
    EXPECT_EQ(again, disp);
    again->Release();
    unk->Release();
    EXPECT_EQ(obj->m_dwRef, 2);
    disp->Release();
    obj->InternalRelease(); // the last reference deletes the object
}

class CSinkHost : public CCmdTarget {
public:
    std::vector<CString> log;
    void OnLevel(LONG level) { log.push_back("level " + Text(level)); }
    BOOL OnPicky(short s)
    {
        log.push_back("picky " + Text(s));
        return s > 0;
    }
    void OnFallback(short s) { log.push_back("fallback " + Text(s)); }
    void OnRange(UINT id, BSTR text, LONG* p)
    {
        log.push_back("range " + Text((LONG)id) + " " + AfxDisp::BstrToAnsi(text));
        *p = 99;
    }
    static CString Text(LONG v)
    {
        CString s;
        s.Format("%d", (int)v);
        return s;
    }
    DECLARE_EVENTSINK_MAP()
};

BEGIN_EVENTSINK_MAP(CSinkHost, CCmdTarget)
    ON_EVENT(CSinkHost, 10, 1, OnLevel, VTS_I4)
    ON_EVENT(CSinkHost, 10, 2, OnPicky, VTS_I2)
    ON_EVENT(CSinkHost, 10, 2, OnFallback, VTS_I2)
    ON_EVENT_RANGE(CSinkHost, 20, 29, 3, OnRange, VTS_WBSTR VTS_PI4)
END_EVENTSINK_MAP()

TEST(EventSinkMap, RoutesByControlIdAndDispid)
{
    CSinkHost host;
    Var level(LONG(5));
    DISPPARAMS one = {&level, nullptr, 1, 0};
    EXPECT_TRUE(AfxDispatchEventToSink(&host, 10, 1, &one));
    EXPECT_FALSE(AfxDispatchEventToSink(&host, 11, 1, &one)) << "another control";
    EXPECT_FALSE(AfxDispatchEventToSink(&host, 10, 7, &one)) << "another event";

    // A handler that answers FALSE lets the next entry have the event.
    Var neg(short(-1)), pos(short(1));
    DISPPARAMS dneg = {&neg, nullptr, 1, 0}, dpos = {&pos, nullptr, 1, 0};
    EXPECT_TRUE(AfxDispatchEventToSink(&host, 10, 2, &dneg));
    EXPECT_TRUE(AfxDispatchEventToSink(&host, 10, 2, &dpos));

    LONG out = 0;
    VARIANT args[2];
    VariantInit(&args[0]);
    V_VT(&args[0]) = VT_I4 | VT_BYREF;
    V_I4REF(&args[0]) = &out;
    Var text("hello");
    args[1] = text;
    DISPPARAMS two = {args, nullptr, 2, 0};
    EXPECT_TRUE(AfxDispatchEventToSink(&host, 25, 3, &two));
    EXPECT_EQ(out, 99);

    std::vector<CString> expected = {"level 5",  "picky -1",        "fallback -1",
                                     "picky 1",  "range 25 hello"};
    EXPECT_EQ(host.log, expected);
}

} // namespace
