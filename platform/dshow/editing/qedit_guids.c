/* Identifiers of the installed editing-services header, which no import library defines
   (the headers it includes are read first, so that only its own identifiers are made). */
#include <windows.h>
#include <ole2.h>
#include <oaidl.h>
#include <ocidl.h>
#include <strmif.h>
#include <amstream.h>
#include <msxml.h>
#include <initguid.h>
#include <qedit.h>
