// What the three filters do alike.
#pragma once
#include "streams.h"
#include <new>

// The output allocator when the filter has to provide it: one buffer of the input type's
// sample size; E_FAIL when the allocator grants less, E_UNEXPECTED without an input.
HRESULT OneBufferOfInputSize(CTransformInputPin* input, IMemAllocator* allocator,
                             ALLOCATOR_PROPERTIES* request);

// GetPages of a filter with one page: a counted array of one CLSID from CoTaskMemAlloc.
HRESULT OnePropertyPage(CAUUID* pages, const CLSID& page);

// What a class factory template's creation function returns for a newly allocated object:
// a failed allocation reports E_OUTOFMEMORY. (An object whose construction reported a
// failure is deleted by the factory.)
inline CUnknown* FactoryObject(CUnknown* object, HRESULT* phr)
{
    if (!object && phr)
        *phr = E_OUTOFMEMORY;
    return object;
}
