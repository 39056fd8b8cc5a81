// Sound inputs: one "Capture" pin of PCM (44.1 kHz, mono, 16-bit unless set otherwise
// through IAMStreamConfig), in buffers of a tenth of a second stamped from the sample count.
#pragma once
#include "streams.h"
#include <string>

// A tone, made at the pace of the graph's clock (beside the synthetic camera).
HRESULT CreateSyntheticAudioSource(IBaseFilter** ppFilter);
// An ALSA capture device through FFmpeg's reader (e.g. "plughw:CARD=PCH,DEV=0").
HRESULT CreateAlsaAudioSource(const std::string& device, IBaseFilter** ppFilter);
