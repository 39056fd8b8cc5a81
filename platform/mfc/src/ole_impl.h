// Private helpers of the OLE layer.
#pragma once
#include "afxdisp.h"

// The map getters of CCmdTarget are protected; the OLE layer walks the maps of any target.
struct AfxOleMapAccess : public CCmdTarget {
    static const AFX_DISPMAP* Dispatch(const CCmdTarget* p)
    {
        return (p->*&AfxOleMapAccess::GetDispatchMap)();
    }
    static const AFX_EVENTSINKMAP* EventSink(const CCmdTarget* p)
    {
        return (p->*&AfxOleMapAccess::GetEventSinkMap)();
    }
    static const AFX_INTERFACEMAP* Interface(const CCmdTarget* p)
    {
        return (p->*&AfxOleMapAccess::GetInterfaceMap)();
    }
    static const AFX_CONNECTIONMAP* Connection(const CCmdTarget* p)
    {
        return (p->*&AfxOleMapAccess::GetConnectionMap)();
    }
};

#include <vector>

namespace AfxDisp {
// Arguments for an outgoing call from a parameter string and a va_list (strings are copied
// into BSTRs marked in owned; FreeArgs releases them).
HRESULT BuildArgs(const BYTE* pbParamInfo, va_list argList, std::vector<VARIANT>& args,
                  std::vector<bool>& owned);
void FreeArgs(std::vector<VARIANT>& args, std::vector<bool>& owned);
} // namespace AfxDisp
