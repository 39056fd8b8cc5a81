// What the three filters do alike.
#pragma once
#include "streams.h"

// The output allocator when the filter has to provide it: one buffer of the input type's
// sample size; E_FAIL when the allocator grants less, E_UNEXPECTED without an input.
HRESULT OneBufferOfInputSize(CTransformInputPin* input, IMemAllocator* allocator,
                             ALLOCATOR_PROPERTIES* request);

// GetPages of a filter with one page: a counted array of one CLSID from CoTaskMemAlloc.
HRESULT OnePropertyPage(CAUUID* pages, const CLSID& page);
