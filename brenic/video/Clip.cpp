#include "Clip.h"

CStringArray CClip::s_pendingImports;

BOOL CClip::ImportClipFiles(CString path, int)
{
    if (path.IsEmpty())
        return FALSE;
    s_pendingImports.Add(path);
    return TRUE;
}
