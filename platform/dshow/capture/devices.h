// Capture devices of this machine, in a stable order: the synthetic DV camera (when
// switched on), FireWire DV camcorders, V4L2 cameras; the synthetic sound input (beside
// the synthetic camera), ALSA capture devices.
#pragma once
#include "streams.h"
#include <string>
#include <vector>

struct CaptureDevice {
    enum Kind { SyntheticDv, FireWireDv, V4l2, SyntheticAudio, Alsa } kind;
    std::string name;  // the friendly name (Windows-1252)
    std::string path;  // the device for FFmpeg's reader
    bool pal = false;         // synthetic camera: 25 frames/s
    long loseAfter = 0;       // synthetic camera: frames before it "goes off"
};

// The environment variable that switches the synthetic camera on: "1" or "ntsc" for
// 29.97 frames/s, "pal" for 25, optionally followed by ",lose=N" to make the camera go off
// after N frames.
extern const char kSyntheticCameraVariable[];

// Parses the variable's value; false when it does not switch the camera on.
bool ParseSyntheticCamera(const std::string& value, bool* pal, long* loseAfter);

std::vector<CaptureDevice> ListCaptureDevices(bool video);
HRESULT CreateCaptureFilter(const CaptureDevice& device, IBaseFilter** ppFilter);
