// Operations the panels share that reach beyond the video manager: saving a clip, the trim
// dialog, the database browser's clips page, the options and the default drawing
// properties.
#pragma once
#include <afxwin.h>

class CClip;
class CODCustomViewport;
class CTabrelEx;

namespace panel {

// The slider's range over the clip's trim range in fields (trim in x 2 to trim out x 2 + 1);
// without a clip the smallest range at 0, since the slider refuses an empty one.
void SetClipRange(CTabrelEx& slider, CClip* clip);
// Writes the clip to the database; FALSE when it was not saved.
BOOL SaveClip(CClip* clip);
// The trim dialog over the clip (the sliders reach the whole clip, or only its current
// trim); TRUE when a new trim range was stored in the clip.
BOOL RunTrimDialog(CClip* clip, BOOL wholeClip);
// Trims the current channel's clip: refused (with the reason shown) without trimming
// support, while the channels are locked or without a clip; TRUE when the clip took a new
// trim range.
BOOL TrimCurrentClip(BOOL wholeClip = TRUE);
// Connects to the database and shows the browser on its clips page.
void ShowDatabaseClipsPage();
// The options sheet, modally.
void RunOptionsSheet();
// Lets the user edit the current viewport's default drawing properties, then gives them
// to the other viewport and stores them in the settings.
void EditDefaultDrawingProperties(CODCustomViewport* current, CODCustomViewport* other);

} // namespace panel
