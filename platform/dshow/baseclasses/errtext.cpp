// Texts for the layer's error codes, as shown to the user after the caller's own message.
#include "streams.h"
#include <errors.h>
#include <cstring>

namespace {
struct ErrorText {
    HRESULT hr;
    const char* text;
};
const ErrorText kTexts[] = {
    {VFW_E_INVALIDMEDIATYPE, "The specified media type is invalid."},
    {VFW_E_INVALIDSUBTYPE, "The specified media subtype is invalid."},
    {VFW_E_NEED_OWNER, "This object can only be created as an aggregated object."},
    {VFW_E_ENUM_OUT_OF_SYNC, "The enumerator has become invalid."},
    {VFW_E_ALREADY_CONNECTED, "At least one of the pins involved in the operation is already connected."},
    {VFW_E_FILTER_ACTIVE, "This operation cannot be performed because the filter is active."},
    {VFW_E_NO_TYPES, "One of the specified pins supports no media types."},
    {VFW_E_NO_ACCEPTABLE_TYPES, "There is no common media type between these pins."},
    {VFW_E_INVALID_DIRECTION, "Two pins of the same direction cannot be connected together."},
    {VFW_E_NOT_CONNECTED, "The operation cannot be performed because the pins are not connected."},
    {VFW_E_NO_ALLOCATOR, "No sample buffer allocator is available."},
    {VFW_E_RUNTIME_ERROR, "A run-time error occurred."},
    {VFW_E_BUFFER_NOTSET, "No buffer space has been set."},
    {VFW_E_BUFFER_OVERFLOW, "The buffer is not big enough."},
    {VFW_E_BADALIGN, "An invalid alignment was specified."},
    {VFW_E_ALREADY_COMMITTED, "Cannot change allocated memory while the filter is active."},
    {VFW_E_BUFFERS_OUTSTANDING, "One or more buffers are still active."},
    {VFW_E_NOT_COMMITTED, "Cannot allocate a sample when the allocator is not active."},
    {VFW_E_SIZENOTSET, "Cannot allocate memory because no size has been set."},
    {VFW_E_NO_CLOCK, "Cannot lock for synchronization because no clock has been defined."},
    {VFW_E_NO_SINK, "Quality messages could not be sent because no quality sink has been defined."},
    {VFW_E_NO_INTERFACE, "A required interface has not been implemented."},
    {VFW_E_NOT_FOUND, "An object or name was not found."},
    {VFW_E_CANNOT_CONNECT, "No combination of intermediate filters could be found to make the connection."},
    {VFW_E_CANNOT_RENDER, "No combination of filters could be found to render the stream."},
    {VFW_E_CHANGING_FORMAT, "Could not change formats dynamically."},
    {VFW_E_NO_COLOR_KEY_SET, "No color key has been set."},
    {VFW_E_NOT_OVERLAY_CONNECTION, "Current pin connection is not using the IOverlay transport."},
    {VFW_E_NOT_SAMPLE_CONNECTION, "Current pin connection is not using the IMemInputPin transport."},
    {VFW_E_NO_COLOR_KEY_FOUND, "No color key was found."},
    {VFW_E_PALETTE_SET, "The palette is already set."},
    {VFW_E_NO_PALETTE_AVAILABLE, "No palette is available."},
    {VFW_E_NO_DISPLAY_PALETTE, "The display does not use a palette."},
    {VFW_E_TOO_MANY_COLORS, "Too many colors for the current display settings."},
    {VFW_E_STATE_CHANGED, "The state changed while waiting to process the sample."},
    {VFW_E_NOT_STOPPED, "The operation could not be performed because the filter is not stopped."},
    {VFW_E_NOT_PAUSED, "The operation could not be performed because the filter is not paused."},
    {VFW_E_NOT_RUNNING, "The operation could not be performed because the filter is not running."},
    {VFW_E_WRONG_STATE, "The operation could not be performed because the filter is in the wrong state."},
    {VFW_E_START_TIME_AFTER_END, "The sample start time is after the sample end time."},
    {VFW_E_INVALID_RECT, "The supplied rectangle is invalid."},
    {VFW_E_TYPE_NOT_ACCEPTED, "This pin cannot use the supplied media type."},
    {VFW_E_SAMPLE_REJECTED, "This sample cannot be rendered."},
    {VFW_E_SAMPLE_REJECTED_EOS, "This sample cannot be rendered because the end of the stream has been reached."},
    {VFW_E_DUPLICATE_NAME, "An attempt to add a filter with a duplicate name failed."},
    {VFW_S_DUPLICATE_NAME, "An attempt to add a filter with a duplicate name succeeded with a modified name."},
    {VFW_E_TIMEOUT, "A time-out has expired."},
    {VFW_E_INVALID_FILE_FORMAT, "The file format is invalid."},
    {VFW_E_ENUM_OUT_OF_RANGE, "The list has already been exhausted."},
    {VFW_E_CIRCULAR_GRAPH, "The filter graph is circular."},
    {VFW_E_NOT_ALLOWED_TO_SAVE, "Updates are not allowed in this state."},
    {VFW_E_TIME_ALREADY_PASSED, "An attempt was made to queue a command for a time in the past."},
    {VFW_E_ALREADY_CANCELLED, "The queued command has already been canceled."},
    {VFW_E_CORRUPT_GRAPH_FILE, "Cannot render the file because it is corrupt."},
    {VFW_E_ADVISE_ALREADY_SET, "An overlay advise link already exists."},
    {VFW_S_STATE_INTERMEDIATE, "The state transition has not completed."},
    {VFW_E_NO_MODEX_AVAILABLE, "No full-screen modes are available."},
    {VFW_E_NO_ADVISE_SET, "This advise cannot be canceled because it was not successfully set."},
    {VFW_E_NO_FULLSCREEN, "A full-screen mode is not available."},
    {VFW_E_IN_FULLSCREEN_MODE, "Cannot call IVideoWindow methods while in full-screen mode."},
    {VFW_E_UNKNOWN_FILE_TYPE, "The media type of this file is not recognized."},
    {VFW_E_CANNOT_LOAD_SOURCE_FILTER, "The source filter for this file could not be loaded."},
    {VFW_S_PARTIAL_RENDER, "Some of the streams in this movie are in an unsupported format."},
    {VFW_E_FILE_TOO_SHORT, "A file appeared to be incomplete."},
    {VFW_E_INVALID_FILE_VERSION, "The version number of the file is invalid."},
    {VFW_E_INVALID_CLSID, "This file is corrupt: it contains an invalid class identifier."},
    {VFW_E_INVALID_MEDIA_TYPE, "This file is corrupt: it contains an invalid media type."},
    {VFW_E_SAMPLE_TIME_NOT_SET, "No time stamp has been set for this sample."},
    {VFW_S_RESOURCE_NOT_NEEDED, "The resource specified is no longer needed."},
    {VFW_E_MEDIA_TIME_NOT_SET, "No media time stamp has been set for this sample."},
    {VFW_E_NO_TIME_FORMAT_SET, "No media time format has been selected."},
    {VFW_E_MONO_AUDIO_HW, "Cannot change balance because audio device is mono only."},
    {VFW_S_MEDIA_TYPE_IGNORED, "A connection could not be made with the media type in the persistent graph."},
    {VFW_E_NO_DECOMPRESSOR, "Cannot play back the video stream: no suitable decompressor could be found."},
    {VFW_E_NO_AUDIO_HARDWARE, "Cannot play back the audio stream: no audio hardware is available."},
    {VFW_S_VIDEO_NOT_RENDERED, "Cannot play back the video stream: no suitable decompressor could be found."},
    {VFW_S_AUDIO_NOT_RENDERED, "Cannot play back the audio stream: no audio hardware is available."},
    {VFW_E_RPZA, "Cannot play back the video stream: format 'RPZA' is not supported."},
    {VFW_E_PROCESSOR_NOT_SUITABLE, "This media file cannot be played back on this processor."},
    {VFW_E_UNSUPPORTED_AUDIO, "Cannot play back the audio stream: the audio format is not supported."},
    {VFW_E_UNSUPPORTED_VIDEO, "Cannot play back the video stream: the video format is not supported."},
    {VFW_E_NOT_IN_GRAPH, "Cannot perform the requested function on an object that is not in the filter graph."},
    {VFW_E_NO_TIME_FORMAT, "Cannot get or set time related information on an object that is using a time format of TIME_FORMAT_NONE."},
    {VFW_E_READ_ONLY, "The connection cannot be made because the stream is read only and the filter alters the data."},
    {VFW_E_BUFFER_UNDERFLOW, "The buffer is not full enough."},
    {VFW_E_UNSUPPORTED_STREAM, "Cannot play back the file: the format is not supported."},
    {VFW_E_NO_TRANSPORT, "Pins cannot connect because they don't support the same transport."},
    {VFW_E_BAD_VIDEOCD, "The video CD could not be read correctly."},
    {VFW_S_NO_STOP_TIME, "The sample had a start time but not a stop time."},
    {VFW_E_OUT_OF_VIDEO_MEMORY, "There is not enough video memory at this display resolution and number of colors."},
    {VFW_E_VP_NEGOTIATION_FAILED, "The video port connection negotiation process has failed."},
    {VFW_E_DDRAW_CAPS_NOT_SUITABLE, "Either DirectDraw has not been installed or the video card capabilities are not suitable."},
    {VFW_E_NO_VP_HARDWARE, "No video port hardware is available, or the hardware is not responding."},
    {VFW_E_NO_CAPTURE_HARDWARE, "No capture hardware is available, or the hardware is not responding."},
    {VFW_E_DVD_OPERATION_INHIBITED, "This user operation is prohibited by the content at this time."},
    {VFW_E_FRAME_STEP_UNSUPPORTED, "This filter graph does not support frame stepping."},
    {VFW_E_CODECAPI_NO_CURRENT_VALUE, "The value has not been set."},
    {E_FAIL, "Unspecified error."},
    {E_OUTOFMEMORY, "Not enough storage is available to complete this operation."},
    {E_INVALIDARG, "The parameter is incorrect."},
    {E_POINTER, "Invalid pointer."},
    {E_NOTIMPL, "Not implemented."},
    {E_NOINTERFACE, "No such interface supported."},
    {E_UNEXPECTED, "Catastrophic failure."},
    {E_ABORT, "Operation aborted."},
    {REGDB_E_CLASSNOTREG, "Class not registered."},
};
} // namespace

// Copies the text for hr into buffer (at most maxLen characters with the terminator) and
// returns its length; 0 for an unknown code or a buffer too small.
extern "C" DWORD WINAPI AMGetErrorTextA(HRESULT hr, LPSTR buffer, DWORD maxLen)
{
    const char* text = nullptr;
    for (const auto& e : kTexts)
        if (e.hr == hr)
            text = e.text;
    char sys[512];
    if (!text && HRESULT_FACILITY(hr) == FACILITY_WIN32 &&
        FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, hr, 0, sys, sizeof sys,
                       nullptr))
        text = sys;
    if (!text || !buffer)
        return 0;
    DWORD len = (DWORD)strlen(text);
    if (len >= maxLen)
        return 0;
    memcpy(buffer, text, len + 1);
    return len;
}

extern "C" DWORD WINAPI AMGetErrorTextW(HRESULT hr, LPWSTR buffer, DWORD maxLen)
{
    char text[512];
    DWORD n = AMGetErrorTextA(hr, text, sizeof text);
    if (!n || !buffer || n >= maxLen)
        return 0;
    MultiByteToWideChar(CP_ACP, 0, text, -1, buffer, (int)maxLen);
    return n;
}
