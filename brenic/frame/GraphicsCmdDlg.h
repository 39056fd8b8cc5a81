// The command palette's Graphics page: the drawing layer of the current channel switched on
// and off, and its select, pan, rotate and clear commands, which the other palette pages
// forward to it.
#pragma once
#include "BaseDialog.h"

class CGraphicsCmdDlg : public CBaseDialog
{
public:
    explicit CGraphicsCmdDlg(CWnd* pParent = NULL);
    virtual ~CGraphicsCmdDlg();

    void EnableGraphics(BOOL enable);
    void OnToggleGraphics();
    void OnSelectObject();
    void OnPanVideo();
    void OnRotateLeft();
    void OnClearGraphics();
};
