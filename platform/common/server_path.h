// Path under which a module is registered as a COM server.
#pragma once
#include <windows.h>
#include <string>

// Wine reports a Winelib module as "X:\...\name.dll" although the file on disk is
// "name.dll.so", and CoCreateInstance only finds such a server by the full path of the
// .so file. This returns the path to write into InprocServer32 (and to compare with it).
std::string ServerModulePath(HMODULE module);
