// DirectShow base classes: the frame that filter modules are written on. Include this one
// header; the COM interfaces come from Wine's headers, the classes from the files below.
#pragma once
#include <windows.h>
#include <olectl.h>
#include <ole2.h>
#include <dshow.h>
#include <amvideo.h>
#include <mmreg.h>
#include <dvdmedia.h>
#include <evcode.h>
#include <vfwmsgs.h>

#ifndef NAME
#define NAME(x) TEXT(x)
#endif

#include "wxutil.h"
#include "combase.h"
#include "dllsetup.h"
#include "mtype.h"
#include "amfilter.h"
#include "transfrm.h"
#include "source.h"
#include "transip.h"
#include "cprop.h"
#include "pstream.h"
#include "ctlutil.h"
