// Calls on a hosted control by DISPID that answer a failure value when no control is
// hosted (a control that could not be created), shared by the control wrappers.
#pragma once
#include <afxwin.h>
#include <afxdisp.h>

namespace control_call {

template <class T> T Get(CWnd* wnd, DISPID id, VARTYPE type, T fail)
{
    if (!wnd->GetControlUnknown())
        return fail;
    T value = fail;
    wnd->GetProperty(id, type, &value);
    return value;
}

template <class T> void Set(CWnd* wnd, DISPID id, VARTYPE type, T value)
{
    if (wnd->GetControlUnknown())
        wnd->SetProperty(id, type, value);
}

// A method with a result: `fail` without a control.
template <class T, class... Args>
T Call(CWnd* wnd, DISPID id, VARTYPE type, T fail, const BYTE* params, Args... args)
{
    if (!wnd->GetControlUnknown())
        return fail;
    T value = fail;
    wnd->InvokeHelper(id, DISPATCH_METHOD, type, &value, params, args...);
    return value;
}

template <class... Args> void CallVoid(CWnd* wnd, DISPID id, const BYTE* params, Args... args)
{
    if (wnd->GetControlUnknown())
        wnd->InvokeHelper(id, DISPATCH_METHOD, VT_EMPTY, NULL, params, args...);
}

template <class... Args> CString CallText(CWnd* wnd, DISPID id, const BYTE* params, Args... args)
{
    CString text;
    if (wnd->GetControlUnknown()) {
        // The container layer hands a string result over as a CString.
        wnd->InvokeHelper(id, DISPATCH_METHOD, VT_BSTR, &text, params, args...);
    }
    return text;
}

} // namespace control_call
