// Module-wide state of the class library (one copy per module that links it).
#include <windows.h>
