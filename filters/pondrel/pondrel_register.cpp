// Class table and self-registration of the Pondrel module.
#include "replay_buffer_filter.h"
#include "replay_buffer_properties.h"

namespace {

const AMOVIESETUP_MEDIATYPE kPinTypes = {&GUID_NULL, &GUID_NULL};

const AMOVIESETUP_PIN kPins[] = {
    {L"Input", FALSE, FALSE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kPinTypes},
    {L"Output", FALSE, TRUE, FALSE, FALSE, &CLSID_NULL, nullptr, 1, &kPinTypes},
};

const AMOVIESETUP_FILTER kFilter = {&CLSID_ReplayBuffer, L"Pondrel", MERIT_DO_NOT_USE, 2, kPins};

} // namespace

CFactoryTemplate g_Templates[] = {
    {L"Pondrel", &CLSID_ReplayBuffer, CReplayBufferFilter::CreateInstance, nullptr, &kFilter},
    {L"Pondrel Properties", &CLSID_ReplayBufferProperties,
     CReplayBufferProperties::CreateInstance, nullptr, nullptr},
};
int g_cTemplates = sizeof(g_Templates) / sizeof(g_Templates[0]);

STDAPI DllRegisterServer() { return AMovieDllRegisterServer2(TRUE); }
STDAPI DllUnregisterServer() { return AMovieDllRegisterServer2(FALSE); }
