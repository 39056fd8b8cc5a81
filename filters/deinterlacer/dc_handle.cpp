// The one place where the Deinterlacer looks into the framework's DC object.
#include "deinterlace_filter.h"
#if __has_include(<afxwin.h>)
#include <afxwin.h>

HDC DeviceContextHandle(CDC* dc) { return dc ? dc->m_hDC : nullptr; }
#else
// Until the framework's window classes are in the tree no caller can hand a DC over.
HDC DeviceContextHandle(CDC*) { return nullptr; }
#endif
