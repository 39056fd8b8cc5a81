// Media file source: opens a file with libavformat and offers its video and sound streams
// on output pins ("DVVidOut0" for DV video, "AudOut00" for PCM sound), seekable by frame.
#pragma once
#include "streams.h"

// {8E2F6A31-5C47-4D0B-9B1E-3A6C1D74E502}
extern const CLSID CLSID_MediaFileSource;
