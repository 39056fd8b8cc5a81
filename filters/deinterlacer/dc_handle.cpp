// The one place where the Deinterlacer looks into the framework's DC object: it reads the
// handle only (nothing of the framework is linked).
#include <afxwin.h>

HDC DeviceContextHandle(CDC* dc) { return dc ? dc->m_hDC : nullptr; }
