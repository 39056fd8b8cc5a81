// Video renderer: draws RGB pictures by GDI into a window of its own (run by a thread of
// its own, so it answers while the application's thread waits), which the application can
// make a child of its window. The last picture stays readable (IBasicVideo::GetCurrentImage).
#pragma once
#include "streams.h"
