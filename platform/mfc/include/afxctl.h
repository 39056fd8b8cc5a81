// ActiveX controls: COleControl, its class factory and registration, property exchange,
// event maps and property pages.
#pragma once
#include "afxwin.h"
#include "afxdisp.h"
#include <ocidl.h>
#include <olectl.h>
#include <vector>

class COleControl;
class CPropExchange;

//////////////////////////////////////////////////////////////////////////////////////////
// Event maps: the events a control fires. Custom events are numbered by their 1-based
// position in the map; stock events have their fixed DISPIDs.

enum {
    STOCKEVENT_CLICK = 0x00000001,
    STOCKEVENT_DBLCLICK = 0x00000002,
    STOCKEVENT_KEYDOWN = 0x00000004,
    STOCKEVENT_KEYPRESS = 0x00000008,
    STOCKEVENT_KEYUP = 0x00000010,
    STOCKEVENT_MOUSEDOWN = 0x00000020,
    STOCKEVENT_MOUSEMOVE = 0x00000040,
    STOCKEVENT_MOUSEUP = 0x00000080,
    STOCKEVENT_ERROR = 0x00000100,
};

#define DECLARE_EVENT_MAP()                                                                 \
protected:                                                                                  \
    static const AFX_EVENTMAP* PASCAL GetThisEventMap();                                    \
    virtual const AFX_EVENTMAP* GetEventMap() const;

#define BEGIN_EVENT_MAP(theClass, baseClass)                                                \
    const AFX_EVENTMAP* theClass::GetEventMap() const { return GetThisEventMap(); }         \
    const AFX_EVENTMAP* PASCAL theClass::GetThisEventMap()                                  \
    {                                                                                       \
        typedef baseClass TheBaseClass;                                                     \
        static const AFX_EVENTMAP_ENTRY _eventEntries[] = {
#define END_EVENT_MAP()                                                                     \
    {NULL, DISPID_UNKNOWN, NULL, 0}                                                         \
    }                                                                                       \
    ;                                                                                       \
    static const AFX_EVENTMAP eventMap = {&TheBaseClass::GetThisEventMap, &_eventEntries[0]}; \
    return &eventMap;                                                                       \
    }

#define EVENT_CUSTOM(pszName, pfnFire, vtsParams) {_T(pszName), DISPID_UNKNOWN, vtsParams, 0},
#define EVENT_CUSTOM_ID(pszName, dispid, pfnFire, vtsParams) {_T(pszName), dispid, vtsParams, 0},
#define EVENT_PARAM(vtsParams) (BYTE*)(vtsParams)

#define EVENT_STOCK_CLICK() {_T("Click"), DISPID_CLICK, VTS_NONE, STOCKEVENT_CLICK},
#define EVENT_STOCK_DBLCLICK() {_T("DblClick"), DISPID_DBLCLICK, VTS_NONE, STOCKEVENT_DBLCLICK},
#define EVENT_STOCK_KEYDOWN()                                                               \
    {_T("KeyDown"), DISPID_KEYDOWN, VTS_PI2 VTS_I2, STOCKEVENT_KEYDOWN},
#define EVENT_STOCK_KEYUP() {_T("KeyUp"), DISPID_KEYUP, VTS_PI2 VTS_I2, STOCKEVENT_KEYUP},
#define EVENT_STOCK_KEYPRESS() {_T("KeyPress"), DISPID_KEYPRESS, VTS_PI2, STOCKEVENT_KEYPRESS},
#define EVENT_STOCK_MOUSEDOWN()                                                             \
    {_T("MouseDown"), DISPID_MOUSEDOWN, VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS,       \
     STOCKEVENT_MOUSEDOWN},
#define EVENT_STOCK_MOUSEMOVE()                                                             \
    {_T("MouseMove"), DISPID_MOUSEMOVE, VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS,       \
     STOCKEVENT_MOUSEMOVE},
#define EVENT_STOCK_MOUSEUP()                                                               \
    {_T("MouseUp"), DISPID_MOUSEUP, VTS_I2 VTS_I2 VTS_XPOS_PIXELS VTS_YPOS_PIXELS,          \
     STOCKEVENT_MOUSEUP},
#define EVENT_STOCK_ERROREVENT()                                                            \
    {_T("Error"), DISPID_ERROREVENT,                                                        \
     VTS_I2 VTS_PBSTR VTS_SCODE VTS_BSTR VTS_BSTR VTS_I4 VTS_PBOOL, STOCKEVENT_ERROR},

// Mouse buttons as the stock mouse events report them.
#define LEFT_BUTTON 0x01
#define RIGHT_BUTTON 0x02
#define MIDDLE_BUTTON 0x04
#define SHIFT_MASK 0x01
#define CTRL_MASK 0x02
#define ALT_MASK 0x04

//////////////////////////////////////////////////////////////////////////////////////////
// Stock properties and methods in dispatch maps

#define DISP_STOCKPROP_BACKCOLOR()                                                          \
    {_T("BackColor"), DISPID_BACKCOLOR, NULL, VT_COLOR,                                     \
     &AfxDisp::Method<&COleControl::GetBackColor>::Invoke,                                  \
     &AfxDisp::PropSet<&COleControl::SetBackColor>::Invoke, afxDispStock},
#define DISP_STOCKPROP_FORECOLOR()                                                          \
    {_T("ForeColor"), DISPID_FORECOLOR, NULL, VT_COLOR,                                     \
     &AfxDisp::Method<&COleControl::GetForeColor>::Invoke,                                  \
     &AfxDisp::PropSet<&COleControl::SetForeColor>::Invoke, afxDispStock},
#define DISP_STOCKPROP_ENABLED()                                                            \
    {_T("Enabled"), DISPID_ENABLED, NULL, VT_BOOL,                                          \
     &AfxDisp::Method<&COleControl::GetEnabled>::Invoke,                                    \
     &AfxDisp::PropSet<&COleControl::SetEnabled>::Invoke, afxDispStock},
#define DISP_STOCKPROP_HWND()                                                               \
    {_T("hWnd"), DISPID_HWND, NULL, VT_I4, &AfxDisp::Method<&COleControl::GetHwnd>::Invoke,  \
     &AfxDisp::PropSet<&COleControl::SetNotSupported>::Invoke, afxDispStock},
#define DISP_STOCKFUNC_REFRESH()                                                            \
    {_T("Refresh"), DISPID_REFRESH, VTS_NONE, VT_EMPTY,                                     \
     &AfxDisp::Method<&COleControl::Refresh>::Invoke, NULL, afxDispStock},
#define DISP_STOCKFUNC_DOCLICK()                                                            \
    {_T("DoClick"), DISPID_DOCLICK, VTS_NONE, VT_EMPTY,                                     \
     &AfxDisp::Method<&COleControl::DoClick>::Invoke, NULL, afxDispStock},

#ifndef VT_COLOR
#define VT_COLOR VT_I4
#endif
#ifndef VT_XPOS_PIXELS
#define VT_XPOS_PIXELS VT_I4
#define VT_YPOS_PIXELS VT_I4
#define VT_XSIZE_PIXELS VT_I4
#define VT_YSIZE_PIXELS VT_I4
#define VT_HANDLE VT_I4
#endif

//////////////////////////////////////////////////////////////////////////////////////////
// Property exchange: a control's persistent state, exchanged with a stream or reset to the
// defaults. Every value is written in the order the control exchanges it.

class CPropExchange {
public:
    virtual ~CPropExchange() {}
    BOOL IsLoading() const { return m_bLoading; }
    DWORD GetVersion() const { return m_dwVersion; }
    // Exchanges the control's version stamp: the stored one when loading (the default when
    // none is stored), else the default.
    virtual BOOL ExchangeVersion(DWORD& dwVersionLoaded, DWORD dwVersionDefault, BOOL bConvert);
    // One value: bytes of the given size; loading with no stored value gives the default.
    virtual BOOL ExchangeProp(LPCTSTR pszPropName, VARTYPE vtProp, void* pvProp,
                              const void* pvDefault = NULL) = 0;

protected:
    BOOL m_bLoading = TRUE;
    DWORD m_dwVersion = 0;
};

BOOL AFXAPI PX_Short(CPropExchange* pPX, LPCTSTR pszPropName, short& sValue);
BOOL AFXAPI PX_Short(CPropExchange* pPX, LPCTSTR pszPropName, short& sValue, short sDefault);
BOOL AFXAPI PX_Long(CPropExchange* pPX, LPCTSTR pszPropName, LONG& lValue);
BOOL AFXAPI PX_Long(CPropExchange* pPX, LPCTSTR pszPropName, LONG& lValue, LONG lDefault);
BOOL AFXAPI PX_Bool(CPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue);
BOOL AFXAPI PX_Bool(CPropExchange* pPX, LPCTSTR pszPropName, BOOL& bValue, BOOL bDefault);
BOOL AFXAPI PX_Float(CPropExchange* pPX, LPCTSTR pszPropName, float& floatValue);
BOOL AFXAPI PX_Float(CPropExchange* pPX, LPCTSTR pszPropName, float& floatValue,
                     float floatDefault);
BOOL AFXAPI PX_Double(CPropExchange* pPX, LPCTSTR pszPropName, double& doubleValue);
BOOL AFXAPI PX_Double(CPropExchange* pPX, LPCTSTR pszPropName, double& doubleValue,
                      double doubleDefault);
BOOL AFXAPI PX_String(CPropExchange* pPX, LPCTSTR pszPropName, CString& strValue);
BOOL AFXAPI PX_String(CPropExchange* pPX, LPCTSTR pszPropName, CString& strValue,
                      const CString& strDefault);
BOOL AFXAPI PX_Color(CPropExchange* pPX, LPCTSTR pszPropName, OLE_COLOR& clrValue);
BOOL AFXAPI PX_Color(CPropExchange* pPX, LPCTSTR pszPropName, OLE_COLOR& clrValue,
                     OLE_COLOR clrDefault);

//////////////////////////////////////////////////////////////////////////////////////////
// Class factories of controls and property pages, and their registration.

enum AFX_REG_FLAGS {
    afxRegDefault = 0x0000,
    afxRegInsertable = 0x0001,
    afxRegApartmentThreading = 0x0002,
    afxRegFreeThreading = 0x0004,
};

BOOL AFXAPI AfxOleRegisterControlClass(HINSTANCE hInstance, REFCLSID clsid, LPCTSTR pszProgID,
                                       UINT idTypeName, UINT idBitmap, int nRegFlags,
                                       DWORD dwMiscStatus, REFGUID tlid, WORD wVerMajor,
                                       WORD wVerMinor);
BOOL AFXAPI AfxOleRegisterPropertyPageClass(HINSTANCE hInstance, REFCLSID clsid,
                                            UINT idTypeName, int nRegFlags = afxRegDefault);
BOOL AFXAPI AfxOleUnregisterClass(REFCLSID clsid, LPCTSTR pszProgID);

class COleObjectFactoryEx : public COleObjectFactory {
public:
    COleObjectFactoryEx(REFCLSID clsid, CRuntimeClass* pRuntimeClass, BOOL bAutoRegister,
                        LPCTSTR lpszProgID)
        : COleObjectFactory(clsid, pRuntimeClass, bAutoRegister, lpszProgID)
    {
    }
};

#define BEGIN_OLEFACTORY(class_name)                                                        \
protected:                                                                                  \
    class class_name##Factory : public COleObjectFactoryEx {                                \
    public:                                                                                 \
        class_name##Factory(REFCLSID clsid, CRuntimeClass* pRuntimeClass,                   \
                            BOOL bAutoRegister, LPCTSTR lpszProgID)                         \
            : COleObjectFactoryEx(clsid, pRuntimeClass, bAutoRegister, lpszProgID)          \
        {                                                                                   \
        }                                                                                   \
        virtual BOOL UpdateRegistry(BOOL);
#define END_OLEFACTORY(class_name)                                                          \
    }                                                                                       \
    ;                                                                                       \
    friend class class_name##Factory;                                                       \
    static class_name##Factory factory;                                                     \
                                                                                            \
public:                                                                                     \
    static const GUID guid;                                                                 \
    virtual HRESULT GetClassID(LPCLSID pclsid);
#define DECLARE_OLECREATE_EX(class_name)                                                    \
    BEGIN_OLEFACTORY(class_name)                                                            \
    END_OLEFACTORY(class_name)
#define IMPLEMENT_OLECREATE_EX(class_name, external_name, l, w1, w2, b1, b2, b3, b4, b5, b6, \
                               b7, b8)                                                      \
    const GUID class_name::guid = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};            \
    class_name::class_name##Factory class_name::factory(class_name::guid,                   \
                                                        RUNTIME_CLASS(class_name), FALSE,   \
                                                        _T(external_name));                 \
    HRESULT class_name::GetClassID(LPCLSID pclsid)                                          \
    {                                                                                       \
        *pclsid = guid;                                                                     \
        return NOERROR;                                                                     \
    }

// The type library a control describes itself with.
#define DECLARE_OLETYPELIB(class_name)                                                      \
protected:                                                                                  \
    virtual HRESULT GetTypeLib(LCID lcid, LPTYPELIB* ppTypeLib);
#define IMPLEMENT_OLETYPELIB(class_name, tlid, wVerMajor, wVerMinor)                        \
    HRESULT class_name::GetTypeLib(LCID lcid, LPTYPELIB* ppTypeLib)                         \
    {                                                                                       \
        return AfxOleLoadTypeLib(tlid, wVerMajor, wVerMinor, lcid, ppTypeLib);              \
    }
// Loads a type library: registered, else the one in this module's resources.
HRESULT AFXAPI AfxOleLoadTypeLib(REFGUID tlid, WORD wVerMajor, WORD wVerMinor, LCID lcid,
                                 LPTYPELIB* ppTypeLib);

// Property pages of a control.
#define DECLARE_PROPPAGEIDS(class_name)                                                     \
protected:                                                                                  \
    virtual LPCLSID GetPropPageIDs(ULONG& cPropPages);
#define BEGIN_PROPPAGEIDS(class_name, count)                                                \
    static CLSID _rgPropPageIDs_##class_name[count];                                        \
    LPCLSID class_name::GetPropPageIDs(ULONG& cPropPages)                                   \
    {                                                                                       \
        static const CLSID* const _ids[] = {
#define PROPPAGEID(clsid) &clsid,
#define END_PROPPAGEIDS(class_name)                                                         \
    }                                                                                       \
    ;                                                                                       \
    cPropPages = sizeof(_ids) / sizeof(_ids[0]);                                            \
    for (ULONG i = 0; i < cPropPages; ++i)                                                  \
        _rgPropPageIDs_##class_name[i] = *_ids[i];                                          \
    return _rgPropPageIDs_##class_name;                                                     \
    }

//////////////////////////////////////////////////////////////////////////////////////////
// COleControl

class COleControl : public CWnd {
    DECLARE_DYNAMIC(COleControl)
public:
    COleControl();
    virtual ~COleControl();

    enum ControlFlags {
        fastBeginPaint = 0x0001,
        clipPaintDC = 0x0002,
        pointerInactive = 0x0004,
        noFlickerActivate = 0x0008,
        windowlessActivate = 0x0010,
        canOptimizeDraw = 0x0020,
    };

    // Identity
    void InitializeIIDs(const IID* piidPrimary, const IID* piidEvents);
    virtual HRESULT GetClassID(LPCLSID pclsid) = 0;
    void SetInitialSize(int cx, int cy);

    // Drawing
    virtual void OnDraw(CDC* pDC, const CRect& rcBounds, const CRect& rcInvalid);
    void InvalidateControl(LPCRECT lpRect = NULL, BOOL bErase = TRUE);
    virtual DWORD GetControlFlags();

    // Persistence
    virtual void DoPropExchange(CPropExchange* pPX);
    virtual void OnResetState();
    BOOL ExchangeVersion(CPropExchange* pPX, DWORD dwVersionDefault, BOOL bConvert = TRUE);
    void SetModifiedFlag(BOOL bModified = TRUE);
    BOOL IsModified();

    // Simple frame: the container's ISimpleFrameSite (when its site has one) filters every
    // message of the control's window before and after the control handles it.
    void EnableSimpleFrame();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Window
    virtual BOOL IsSubclassedControl();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void RecreateControlWindow();

    // Size and position
    BOOL SetControlSize(int cx, int cy);
    void GetControlSize(int* pcx, int* pcy);
    virtual BOOL OnSetObjectRects(LPCRECT lpRectPos, LPCRECT lpRectClip);
    virtual BOOL OnSetExtent(LPSIZEL lpSizeL);
    BOOL GetRectInContainer(LPRECT lpRect);

    // Ambient properties of the container
    BOOL GetAmbientProperty(DISPID dispid, VARTYPE vtProp, void* pvProp);
    OLE_COLOR AmbientBackColor();
    OLE_COLOR AmbientForeColor();
    CString AmbientDisplayName();
    BOOL AmbientUserMode();
    BOOL AmbientUIDead();
    BOOL AmbientShowHatching();
    BOOL AmbientShowGrabHandles();
    virtual void OnAmbientPropertyChange(DISPID dispid);

    // Events
    void AFX_CDECL FireEvent(DISPID dispid, BYTE* pbParams, ...);
    void FireEventV(DISPID dispid, BYTE* pbParams, va_list argList);
    void FireClick();
    void FireDblClick();
    void FireKeyDown(USHORT* pnChar, short nShiftState);
    void FireKeyUp(USHORT* pnChar, short nShiftState);
    void FireKeyPress(USHORT* pnChar);
    void FireMouseDown(short nButton, short nShiftState, OLE_XPOS_PIXELS x, OLE_YPOS_PIXELS y);
    void FireMouseUp(short nButton, short nShiftState, OLE_XPOS_PIXELS x, OLE_YPOS_PIXELS y);
    void FireMouseMove(short nButton, short nShiftState, OLE_XPOS_PIXELS x, OLE_YPOS_PIXELS y);
    void FireError(SCODE scode, LPCTSTR lpszDescription, UINT nHelpID = 0);
    BOOL IsStockEventEnabled(DWORD dwStockEvent);
    virtual void OnClick(USHORT iButton);
    virtual void OnFreezeEvents(BOOL bFreeze);
    virtual void OnEventAdvise(BOOL bAdvise);

    // Errors (raised inside dispatch members; the caller receives DISP_E_EXCEPTION)
    void ThrowError(SCODE sc, UINT nDescriptionID, UINT nHelpID = (UINT)-1);
    void ThrowError(SCODE sc, LPCTSTR pszDescription = NULL, UINT nHelpID = 0);
    void GetNotSupported();
    void SetNotSupported();

    // Stock properties and methods
    OLE_COLOR GetBackColor();
    void SetBackColor(OLE_COLOR dwBackColor);
    OLE_COLOR GetForeColor();
    void SetForeColor(OLE_COLOR dwForeColor);
    BOOL GetEnabled();
    void SetEnabled(BOOL bEnabled);
    OLE_HANDLE GetHwnd();
    void Refresh();
    void DoClick();
    COLORREF TranslateColor(OLE_COLOR clrColor, HPALETTE hpal = NULL);
    virtual void OnBackColorChanged();
    virtual void OnForeColorChanged();
    virtual void OnEnabledChanged();

    // Verbs and property frame
    virtual BOOL OnProperties(LPMSG lpMsg, HWND hWndParent, LPCRECT lpRect);
    virtual BOOL OnEdit(LPMSG lpMsg, HWND hWndParent, LPCRECT lpRect);
    virtual BOOL OnDoVerb(LONG iVerb, LPMSG lpMsg, HWND hWndParent, LPCRECT lpRect);
    virtual void OnSetClientSite();
    virtual void OnGetControlInfo(LPCONTROLINFO pControlInfo);
    virtual void OnMnemonic(LPMSG pMsg);

    // Type information
    virtual HRESULT GetTypeLib(LCID lcid, LPTYPELIB* ppTypeLib);
    virtual LPCLSID GetPropPageIDs(ULONG& cPropPages);
    virtual UINT GetTypeInfoCount() override;
    virtual HRESULT GetTypeInfoOfGuid(LCID lcid, const GUID& guid,
                                      LPTYPEINFO* ppTypeInfo) override;
    virtual BOOL GetDispatchIID(IID* pIID) override;

    virtual void OnFinalRelease() override;
    virtual LPUNKNOWN GetInterfaceHook(const void* piid) override;
    virtual void PostNcDestroy() override;

    // Activation state (also read by the tests of the layer)
    BOOL m_bInPlaceActive;
    BOOL m_bUIActive;
    BOOL m_bModified;
    BOOL m_bInitialized;
    LPOLECLIENTSITE m_pClientSite;
    LPOLEINPLACESITE m_pInPlaceSite;
    LPOLECONTROLSITE m_pControlSite;
    LPDISPATCH m_pAmbientDispatch;
    BOOL m_bSimpleFrame;
    ISimpleFrameSite* m_pSimpleFrameSite;
    CRect m_rcPos;
    CSize m_cxExtent; // HIMETRIC
    const IID* m_piidPrimary;
    const IID* m_piidEvents;
    OLE_COLOR m_clrBackColor;
    OLE_COLOR m_clrForeColor;
    short m_sFreezeEvents;
    USHORT m_iButtonState;
    USHORT m_iDblClkState;
    DWORD m_dwStockEventMask;
    BOOL m_bStockEventMaskValid;
    HWND m_hWndReflector; // parent of a subclassed control's window (reflects notifications)

    // Connected event sinks
    struct Sink {
        DWORD cookie;
        LPDISPATCH pDispatch;
    };
    std::vector<Sink> m_eventSinks;
    std::vector<std::pair<DWORD, IPropertyNotifySink*>> m_propSinks;
    DWORD m_nNextCookie;

    // Helpers of the COM side
    HRESULT DoInPlaceActivate(LONG iVerb);
    void DoInPlaceDeactivate();
    BOOL CreateControlWindow(HWND hWndParent, const CRect& rcPos, const CRect& rcClip);
    void ButtonDown(USHORT iButton, UINT nFlags, CPoint point);
    void ButtonUp(USHORT iButton, UINT nFlags, CPoint point);
    void ButtonDblClk(USHORT iButton, UINT nFlags, CPoint point);
    void KeyDown(USHORT* pnChar);
    void KeyUp(USHORT* pnChar);

    class XOleObject;
    class XInPlaceObject;
    class XOleControl;
    class XConnPtContainer;
    class XEventConnPt;
    class XPropConnPt;
    class XProvideClassInfo;
    class XPersistStreamInit;
    class XPersistPropertyBag;
    class XSpecifyPropertyPages;
    class XViewObject;
    class XInPlaceActiveObject;
    XOleObject* m_pxOleObject;
    XInPlaceObject* m_pxInPlaceObject;
    XOleControl* m_pxOleControl;
    XConnPtContainer* m_pxConnPtContainer;
    XEventConnPt* m_pxEventConnPt;
    XPropConnPt* m_pxPropConnPt;
    XProvideClassInfo* m_pxProvideClassInfo;
    XPersistStreamInit* m_pxPersistStreamInit;
    XPersistPropertyBag* m_pxPersistPropertyBag;
    XSpecifyPropertyPages* m_pxSpecifyPropertyPages;
    XViewObject* m_pxViewObject;
    XInPlaceActiveObject* m_pxInPlaceActiveObject;

protected:
    static const AFX_EVENTMAP* PASCAL GetThisEventMap();
    virtual const AFX_EVENTMAP* GetEventMap() const;

    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSysKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnCancelMode();
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    DECLARE_MESSAGE_MAP()

    friend class XOleObject;
};

// The shift state as the stock events report it.
short AFXAPI _AfxShiftState();

//////////////////////////////////////////////////////////////////////////////////////////
// COleControlModule: the application object of a control module.

class COleControlModule : public CWinApp {
    DECLARE_DYNAMIC(COleControlModule)
public:
    COleControlModule() {}
    virtual BOOL InitInstance() override;
    virtual int ExitInstance() override;
};

//////////////////////////////////////////////////////////////////////////////////////////
// COlePropertyPage: a dialog shown as a page of a property frame (IPropertyPage). Its
// template is a child dialog; the frame tells it which objects it edits.

class COlePropertyPage : public CDialog {
    DECLARE_DYNAMIC(COlePropertyPage)
public:
    COlePropertyPage(UINT idDlg, UINT idCaption);
    virtual ~COlePropertyPage();

    LPDISPATCH* GetObjectArray(ULONG* pnObjects);
    void SetModifiedFlag(BOOL bModified = TRUE);
    BOOL IsModified();
    void SetPageName(LPCTSTR lpszPageName);
    virtual BOOL OnInitDialog() override;
    virtual void OnObjectsChanged();
    virtual void OnSetPageSite();
    virtual LPUNKNOWN GetInterfaceHook(const void* piid) override;
    virtual void OnFinalRelease() override;
    virtual void PostNcDestroy() override;

    UINT m_idDlg;
    UINT m_idCaption;
    CString m_strPageName;
    BOOL m_bModified;
    std::vector<LPDISPATCH> m_objects;
    LPPROPERTYPAGESITE m_pPageSite;
    class XPropertyPage;
    XPropertyPage* m_pxPropertyPage;
};

// Called at the end of a page's DoDataExchange; pages here bind no control to a property.
void AFXAPI DDP_PostProcessing(CDataExchange* pDX);
