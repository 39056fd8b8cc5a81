// The skin of the main window: where its bitmaps live, the fixed client size, the video,
// slider, position-text and clip-panel places, and every named skin button with its id,
// images, position and latching. The layout is fixed; only the bitmaps come from files.
#pragma once
#include <afxwin.h>

class CBaseBmpButton;
class CTabrelEx;
class CClipBar;

// One named skin button. Image names are files of the button folder; NULL: none.
struct SkinButton
{
    const char* name;
    UINT id;
    const char* up;
    const char* down;
    const char* disabled;
    const char* state1;
    const char* state2;
    int x, y;
    BOOL latching;
    BOOL checked; // created checked
};

class CCustomConfig
{
public:
    CCustomConfig() {}
    virtual ~CCustomConfig() {}

    CString GetSkinDir() const;
    CString GetButtonsDir() const;
    CString GetBackgroundBitmapPath() const;

    static CSize GetClientSize() { return CSize(786, 574); }
    static CRect GetVideoRect() { return CRect(15, 33, 627, 493); }
    static CRect GetSliderRect() { return CRect(8, 495, 278, 515); }
    static CRect GetPositionTextRect() { return CRect(CPoint(287, 540), CSize(74, 22)); }
    static CRect GetClipPanelRect() { return CRect(CPoint(471, 499), CSize(306, 77)); }

    // Creates the named button (or, for "RecordManual" and "RecordAuto", re-skins the
    // Record button); FALSE for an unknown name. A button whose window already exists is
    // re-skinned only, never created a second time.
    BOOL SetupButton(CString name, CBaseBmpButton* button, CWnd* parent);
    BOOL PlaceSlider(CTabrelEx* slider, CWnd* parent);
    BOOL PlacePositionText(CWnd* text, CWnd* parent);
    // The clip panel at its place; FALSE when it has no window to place.
    BOOL CreateClipPanel(CClipBar* panel, CWnd* parent);

    // The table of creating names (exact, case-sensitive); NULL for a name not in it.
    static const SkinButton* FindButton(const char* name);
    static const SkinButton* GetButtons(int* count);
};

// The program's skin layout, created at start-up and deleted at its end.
extern CCustomConfig* g_pCustomConfig;
