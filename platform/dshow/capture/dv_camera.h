// DV camcorder sources, shaped like the platform's DV camcorder driver: "DV Vid Out" sends
// the DV frames as video (dvsd), "DV A/V Out" the same frames as interleaved DV with their
// sound; both are capture pins, and neither is a preview pin.
#pragma once
#include "streams.h"
#include <string>

// The synthetic camera (no hardware): 29.97 frames/s, or 25 with `pal`. After `loseAfter`
// frames (when above 0) it behaves as a camera switched off.
HRESULT CreateSyntheticDvCamera(bool pal, long loseAfter, IBaseFilter** ppFilter);
// A FireWire camcorder through FFmpeg's IEEE 1394 reader; `device` is its node's GUID in
// hexadecimal, or "auto" for the first camcorder.
HRESULT CreateFireWireDvCamera(const std::string& device, IBaseFilter** ppFilter);
