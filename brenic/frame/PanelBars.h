// The docking bars of the panels, made in a frame with docking: the command palette (right)
// and the video bar (bottom), and test bars (right) with ids unique from 256.
#pragma once
#include <afxwin.h>

class SECFrameWnd;
class CTestBar;

// Creates the palette and the video bar when the frame has none; FALSE when one cannot be
// created.
BOOL CreatePanelBars(SECFrameWnd* frame);
// A new test bar; NULL when it cannot be created.
CTestBar* AddTestBar(SECFrameWnd* frame);
