// One clip in memory: its database row, video file, trim range, tab marks and drawing.
#pragma once
#include <afx.h>
#include <afxcoll.h>

class CClip
{
public:
    // Takes a clip file or an AVI video over as a new clip of the clip panel. Files handed
    // over before the clip panel exists wait in a queue that the panel works off.
    static BOOL ImportClipFiles(CString path, int flag);
    static const CStringArray& GetPendingImports() { return s_pendingImports; }
    static void ClearPendingImports() { s_pendingImports.RemoveAll(); }

private:
    static CStringArray s_pendingImports;
};
