// The pin-category property set's interface identifier: the base classes' identifier file
// takes the sound headers' declaration of it as external only.
#include <windows.h>
#include <initguid.h>
DEFINE_GUID(IID_IKsPropertySet, 0x31efac30, 0x515c, 0x11d0, 0xa9, 0xaa, 0x00, 0xaa, 0x00, 0x61, 0xbe, 0x93);
