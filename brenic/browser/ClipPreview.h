// A record page's still picture of a stored clip. The video control takes its placeholder's
// place only when there is a first file to show (made while a sheet is being created, the
// hosted control is not safe), and a file is loaded only when it differs from the one shown.
#pragma once
#include <afxwin.h>
#include "VideoWindow.h"

class CClipPreview
{
public:
    // Shows `path` at `field` in place of the page's control `holderId`; an empty path or a
    // missing file empties the preview without asking the control anything.
    void Load(CWnd* page, UINT holderId, const CString& path, LONG field);
    void Clear();
    // Before the page's window goes: the control's site must not outlive it.
    void Destroy();
    CString GetFile() const { return m_strFile; }
    CVideoWindow& GetControl() { return m_control; }

private:
    CVideoWindow m_control;
    CString m_strFile;
};
