// Class table and self-registration of the Deinterlacer module.
#include "deinterlace_filter.h"

namespace {

const AMOVIESETUP_MEDIATYPE kPinTypes = {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32};

const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kPinTypes},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kPinTypes},
};

const AMOVIESETUP_FILTER kFilter = {&CLSID_Deinterlacer, L"DeInterlacer", MERIT_DO_NOT_USE, 2,
                                    kPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {L"DeInterlacer", &CLSID_Deinterlacer, CDeinterlaceFilter::CreateInstance, nullptr, &kFilter},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
