// The layer's COM server: graph manager, clock and system filters under their standard
// class identifiers. Registering it points those identifiers at this module in the prefix,
// replacing the registration of Wine's own implementation (see README).
#include "classes.h"
#include <new>

namespace {
const int kMaxClasses = 64;
}

CFactoryTemplate g_Templates[kMaxClasses];
int g_cTemplates = 0;

ServedClass::ServedClass(const WCHAR* name, const CLSID* clsid, LPFNNewCOMObject create,
                         const AMOVIESETUP_FILTER* setup)
{
    if (g_cTemplates < kMaxClasses)
        g_Templates[g_cTemplates++] = CFactoryTemplate{name, clsid, create, nullptr, setup};
}

HRESULT CreateServedObject(REFCLSID clsid, REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    for (int i = 0; i < g_cTemplates; ++i) {
        if (g_Templates[i].IsClassID(clsid)) {
            CClassFactory factory(&g_Templates[i]);
            return factory.CreateInstance(nullptr, riid, ppv);
        }
    }
    return REGDB_E_CLASSNOTREG;
}

// The memory allocator is served too: filters elsewhere may ask for it by class.
DSHOW_SERVED_CLASS(L"Memory Allocator", &CLSID_MemoryAllocator, CMemAllocator::CreateInstance);
