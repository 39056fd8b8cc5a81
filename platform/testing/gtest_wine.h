// GoogleTest for Winelib test programs. Debian's libgtest is built for Linux, so it has to
// see its Linux configuration even though windows.h-using code defines _WIN32.
#pragma once
#include <windows.h>
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#undef _WIN32
#undef WIN32
#include <gtest/gtest.h>
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")

#include <string>

// Folder of the built modules and the source tree, as ctest passes them in.
std::string TestBinDir();
std::string TestSourceDir();
// A Unix path as Wine's Windows path (Z:\...).
std::string WinePath(const std::string& unixPath);
// A Windows path as the Unix path Wine maps it to ("" when it maps to none).
std::string UnixPath(const std::string& windowsPath);
// Puts the calling thread on a desktop of this test program's own (named after the tag and
// the process), so that activating its windows never takes the foreground from test programs
// that run at the same time. Windows made later by other threads stay on the default desktop,
// so tests whose windows cross threads keep to it. TRUE when the thread moved.
// With QUORVEL_TEST_DEFAULT_DESKTOP set the thread stays where it is.
bool RunOnOwnDesktop(const char* tag);
