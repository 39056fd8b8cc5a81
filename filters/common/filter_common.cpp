#include "filter_common.h"

HRESULT OneBufferOfInputSize(CTransformInputPin* input, IMemAllocator* allocator,
                             ALLOCATOR_PROPERTIES* request)
{
    if (!input || !input->IsConnected())
        return E_UNEXPECTED;
    if (!allocator || !request)
        return E_POINTER;
    ALLOCATOR_PROPERTIES want = *request, got = {};
    want.cBuffers = 1;
    want.cbBuffer = long(input->CurrentMediaType().GetSampleSize());
    HRESULT hr = allocator->SetProperties(&want, &got);
    if (FAILED(hr))
        return hr;
    return (got.cBuffers < want.cBuffers || got.cbBuffer < want.cbBuffer) ? E_FAIL : S_OK;
}

HRESULT OnePropertyPage(CAUUID* pages, const CLSID& page)
{
    if (!pages)
        return E_POINTER;
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
    if (!pages->pElems)
        return E_OUTOFMEMORY;
    pages->cElems = 1;
    pages->pElems[0] = page;
    return S_OK;
}
