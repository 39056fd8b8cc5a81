// Filters registered with the filter mapper that this layer may build graphs with.
#pragma once
#include "streams.h"
#include <string>
#include <vector>

struct RegisteredFilter {
    CLSID clsid;
    std::u16string name;
    FilterData data;
};

// Registered filters above MERIT_DO_NOT_USE whose server is one of this system's modules,
// highest merit first. Filters served by other implementations registered in the same
// prefix (Wine's own) are left out: they are not built on this layer.
std::vector<RegisteredFilter> RegisteredFiltersByMerit();

// True when one of the filter's input pins is registered for one of the given types
// (GUID_NULL on either side matches anything).
bool AcceptsAnyOf(const RegisteredFilter& f, const std::vector<std::pair<GUID, GUID>>& types);
