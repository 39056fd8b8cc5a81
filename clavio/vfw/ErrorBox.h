// The message box the Video for Windows parts of the engine report failures with.
#pragma once
#include <afxwin.h>

// Formats its arguments (printf style) and shows them in an exclamation box.
void ErrorBox(LPCTSTR format, ...);
