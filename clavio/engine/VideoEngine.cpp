#include "VideoEngine.h"
#include "AviTrimmer.h"
#include <cmath>

CVideoEngine::CVideoEngine() : m_pOwner(NULL), m_lEngineType(0) {}

// The AVI trimmer; the DirectShow engine trims through its own graph instead.
BOOL CVideoEngine::TrimFile(CString inFile, CString outFile, long trimIn, long trimOut)
{
    CAviTrimmer trimmer;
    trimmer.SetSource(inFile);
    trimmer.SetDestination(outFile);
    trimmer.SetTrimIn(trimIn);
    trimmer.SetTrimOut(trimOut);
    return trimmer.Trim() == 0;
}

namespace {

float Unit(float v, float otherwise)
{
    if (std::isnan(v))
        return otherwise;
    return v < 0.0f ? 0.0f : v > 1.0f ? 1.0f : v;
}

} // namespace

void CVideoEngine::ClampRect(float* x, float* y, float* width, float* height)
{
    *x = Unit(*x, 0.0f);
    *y = Unit(*y, 0.0f);
    *width = Unit(*width, 1.0f);
    *height = Unit(*height, 1.0f);
    if (*x + *width > 1.0f)
        *width = 1.0f - *x;
    if (*y + *height > 1.0f)
        *height = 1.0f - *y;
}
