#include "VideoEngine.h"
#include <cmath>

CVideoEngine::CVideoEngine() : m_pOwner(NULL), m_lEngineType(0) {}

// The Video for Windows trimmer is not part of this build: trimming goes through the
// DirectShow engine's own graph.
BOOL CVideoEngine::TrimFile(CString, CString, long, long) { return FALSE; }

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
