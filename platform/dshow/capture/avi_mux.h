// Pure parts of the AVI multiplexer, kept apart so they can be tested without a graph.
#pragma once
#include <cstdint>
#include <functional>

namespace avi_mux {

// Stream-time origin and numbering of one multiplexed stream. Times are 100-ns units
// relative to the recording's origin; video counts frames, sound counts sample frames.
struct StreamClock {
    int64_t next = 0;       // number of the next unit
    bool started = false;
    // The number for a buffer starting `start` after the origin with `units` units of
    // length `unit` each; the part before the origin is cut (returned in *skip). Video
    // numbers never repeat or go back; sound continues without gaps unless the buffer
    // starts more than `jump` units later than the sound so far ends.
    int64_t Place(int64_t start, int64_t unitTime, int64_t units, bool video, int64_t jump, int64_t* skip);
};

// Hides the AVI 1.0 index of a finished file that has an OpenDML index (its "idx1" chunk
// becomes "JUNK" and the main header no longer says there is one), so that readers use the
// OpenDML index. A file without one (a single RIFF list, below FFmpeg's first gigabyte)
// keeps its only index. The file is reached through the callbacks; false when nothing was
// hidden.
struct FileAccess {
    std::function<bool(uint64_t pos, void* buf, uint32_t len)> read;
    std::function<bool(uint64_t pos, const void* buf, uint32_t len)> write;
};
bool HideCompatibilityIndex(const FileAccess& file);

} // namespace avi_mux
