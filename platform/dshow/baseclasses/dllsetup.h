// Self-registration of filter modules: COM class keys (InprocServer32 with the module's .so
// path, ThreadingModel "Both") and the filter mapper's entry for each filter (name, merit,
// pins, pin media types), driven by the module's template table.
#pragma once
#include <windows.h>
#include <strmif.h>
#include <string>
#include <vector>

typedef REGPINTYPES AMOVIESETUP_MEDIATYPE;
typedef REGPINTYPES* PAMOVIESETUP_MEDIATYPE;
typedef REGPINTYPES* LPAMOVIESETUP_MEDIATYPE;

struct AMOVIESETUP_PIN {
    const WCHAR* strName;
    BOOL bRendered;
    BOOL bOutput;
    BOOL bZero;
    BOOL bMany;
    const CLSID* clsConnectsToFilter;
    const WCHAR* strConnectsToPin;
    UINT nMediaTypes;
    const AMOVIESETUP_MEDIATYPE* lpMediaType;
};
typedef AMOVIESETUP_PIN* PAMOVIESETUP_PIN;
typedef AMOVIESETUP_PIN* LPAMOVIESETUP_PIN;

struct AMOVIESETUP_FILTER {
    const CLSID* clsID;
    const WCHAR* strName;
    DWORD dwMerit;
    UINT nPins;
    const AMOVIESETUP_PIN* lpPin;
};
typedef AMOVIESETUP_FILTER* PAMOVIESETUP_FILTER;
typedef AMOVIESETUP_FILTER* LPAMOVIESETUP_FILTER;

// Registers (TRUE) or unregisters every class of g_Templates; returns the first failure.
STDAPI AMovieDllRegisterServer2(BOOL bRegister);
STDAPI AMovieDllRegisterServer();
STDAPI AMovieDllUnregisterServer();

// Filter mapper entries, as kept in the registry ("FilterData" of each filter's instance
// key under the legacy filter category). The graph manager reads them back to render.
struct FilterPinData {
    DWORD flags = 0; // REG_PINFLAG_B_*
    DWORD instances = 0;
    std::vector<std::pair<GUID, GUID>> types; // major, minor
};
struct FilterData {
    DWORD version = 2;
    DWORD merit = 0;
    std::vector<FilterPinData> pins;
};
std::vector<BYTE> EncodeFilterData(const FilterData& data);
// False for data that is cut short or malformed; never reads past size.
bool DecodeFilterData(const BYTE* bytes, size_t size, FilterData* out);

// Writes or removes one filter's mapper entry (the COM class key is written separately).
HRESULT RegisterFilterEntry(const CLSID& clsid, const WCHAR* name, const FilterData& data);
HRESULT UnregisterFilterEntry(const CLSID& clsid);
// Writes or removes one COM class key served by the given module file.
HRESULT RegisterClassKey(const CLSID& clsid, const WCHAR* name, const std::string& serverPath,
                         const char* threadingModel = "Both");
HRESULT UnregisterClassKey(const CLSID& clsid);
FilterData FilterDataFromSetup(const AMOVIESETUP_FILTER& setup);
std::string GuidText(const GUID& g);
std::string NarrowText(const WCHAR* text);
