// V4L2 cameras through FFmpeg's reader: one "Capture" pin of 24-bit RGB pictures at the
// camera's own size and rate (compressed camera formats are decoded first).
#pragma once
#include "streams.h"
#include <string>

HRESULT CreateV4l2Camera(const std::string& device, IBaseFilter** ppFilter);
