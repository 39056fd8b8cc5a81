// The drawing-tool and line-colour buttons that the palette's Video page and the shadow-view
// panel share: the eight tools of the settings store's table and the five default line
// colours, with the tool armed again on the current drawing layer after other actions.
#pragma once
#include "BaseBmpButton.h"

class CGraphicsCmdDlg;

class CPaletteTools
{
public:
    // forgetOnRelease: releasing the tools also stores "no tool" (-1).
    CPaletteTools(CWnd* page, BOOL forgetOnRelease);

    // The page's bitmap button of a control id (NULL when it has none).
    CBaseBmpButton* Button(UINT id) const;

    void Release();
    void Restore(CBaseBmpButton* keep);
    void UpdateColours(CBaseBmpButton* keep);
    // A tool button clicked: pressed in chooses its tool, released releases all.
    void OnToolButton(UINT id);
    // A colour button clicked: the colour of both channels' new lines and the settings'.
    void OnColourButton(UINT id);
    void EnableGraphics();

    CGraphicsCmdDlg* m_pGraphicsDlg;
    int m_bReleased;

private:
    CWnd* m_pPage;
    BOOL m_bForgetOnRelease;
};
