// Sending a clip of the database on another machine to the clip panel. Such a clip cannot
// be loaded from there: its video is imported into the local database as a new clip, which
// takes the remote row's fields and goes to the Students pane labelled "J.Smith (Imported)".
#pragma once
#include <afxwin.h>

class CClipRecord;

enum RemoteSendResult
{
    RemoteSent,
    RemoteAlreadyListed, // a clip of the row's GlobalID is in the clip panel: nothing imported
    RemoteImportFailed,  // the import failed (or the stored file name is not a bare name)
    RemoteNoClip         // the import gave no current clip
};

// TRUE when the Students or the Pros pane holds a clip with this GlobalID.
BOOL IsClipInClipPanel(const CString& globalId);

// Imports the row's video from the network capture folder and hands the new clip on. The
// settings' network flag is off only for the import and is on again however it ends; the
// clip handed on is the one the import made, never a clip that was current before.
RemoteSendResult SendRemoteClip(CClipRecord& row);
