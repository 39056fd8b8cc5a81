// What the control panels compute without a window: position texts, the looks that follow
// the video state codes, the drawing-tool and line-colour tables, the shadow view's
// admission and the lesson texts. The panels show what these return.
#pragma once
#include <afx.h>

namespace panel {

// The frame rate a position text counts with: the control's rate truncated, 29 when
// there is no control (rate <= 0 passed) or the truncated rate is 0.
int CountingRate(double frameRate);

// A field position as "%02d:%02d:%d" (seconds at 60 fields a second, frame, field) in
// frames mode, else as "%02d:%02d:%02d" (minutes, seconds, hundredths) at the rate.
CString FormatPosition(int position, double frameRate, BOOL framesMode);

// The Record button's look after a video state code; change FALSE for codes that change
// nothing. trigger: -1 leaves the capture-trigger button as it is.
struct RecordLook {
    BOOL change;
    BOOL checked;
    int stateImage;
    int trigger;
};
RecordLook RecordLookForCode(long code);

// The drawing tools: index (the settings' current tool), the command that selects it on a
// drawing layer, the palette pages' button.
struct DrawingTool {
    int index;
    UINT command;
    UINT button;
};
enum { kToolCount = 8 };
extern const DrawingTool kTools[kToolCount];
const DrawingTool* FindTool(int index);
const DrawingTool* FindToolButton(UINT button);

enum : UINT {
    kCmdResetTools = 32832,
    kCmdSelectTool = 44525,
    kCmdPositionChanged = 32848,
    kCmdUndo = 57643,
};

// The default line colours of the palette pages: button id and colour.
struct LineColour {
    UINT button;
    COLORREF colour;
};
enum { kLineColourCount = 5 };
extern const LineColour kLineColours[kLineColourCount];
// The button whose colour equals the stored colour, or 0 for any other colour.
UINT LineColourButton(COLORREF colour);

// The camera that "Switch Cameras" selects after device current of count devices, and
// the state image that shows a device: its index for devices 0 to 2 (0 is the plain
// pressed face, 1 and 2 the two extra images), the plain face for any other index.
int NextCamera(int current, int count);
int CameraStateImage(int device);

// Memory figures in bytes, as the system reports them; tests replace the source.
struct MemoryFigures {
    unsigned long long availablePhysical;
    unsigned long long totalPhysical;
};
typedef MemoryFigures (*MemorySource)();
MemorySource SetMemorySource(MemorySource source); // returns the previous one
MemoryFigures ReadMemory();

// Whether the shadow view may be switched on: 0 when it may, else the refusal's text.
enum VistrelRefusal {
    kVistrelAllowed = 0,
    kVistrelLive,
    kVistrelNoClip,
    kVistrelTooLong,
    kVistrelNoMemory,
};
VistrelRefusal CanEnableVistrel(BOOL liveMode, BOOL hasClip, int frames, double frameRate);
LPCTSTR VistrelRefusalText(VistrelRefusal refusal);

// "Time remaining: %02d:%02d" of remaining seconds (below 0 reads 00:00).
CString TimeRemainingText(int seconds);

// The after-record radio button of a replay mode (0 to 2), or 0 for other values.
UINT ReplayModeButton(int mode);

} // namespace panel
