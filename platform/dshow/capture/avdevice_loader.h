// FFmpeg's device readers (IEEE 1394, V4L2, ALSA) are loaded only when a real device is
// opened: the library brings a large tree of dependencies that processes without devices
// (tests, machines with the synthetic camera) should not have to map.
#pragma once

// Registers the device readers with FFmpeg's format lookup; false when the library is
// missing, after which av_find_input_format finds none of them.
bool LoadDeviceReaders();
