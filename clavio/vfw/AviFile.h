// The Video for Windows side of the video engine: an AVI file over the AVIFile library.
#pragma once
#include <afxwin.h>
#include <vfw.h>
#include "ErrorBox.h"

class CAviFile
{
public:
    CAviFile();            // starts the AVIFile library
    ~CAviFile();           // releases the file, ends the library

    // Opens path in mode (OF_*); the empty path only closes. Failure: "Unable to open %s".
    BOOL Open(LPCTSTR path, UINT mode);
    void Close();
    // The index-th stream of the type (streamtypeVIDEO, streamtypeAUDIO), held for the
    // caller (who releases it); null when there is none.
    PAVISTREAM GetStream(DWORD type, int index);
    PAVISTREAM GetVideoStream() { return GetStream(streamtypeVIDEO, 0); }
    PAVISTREAM GetAudioStream() { return GetStream(streamtypeAUDIO, 0); }
    // A new stream of a file opened for writing, held for the caller.
    PAVISTREAM CreateStream(AVISTREAMINFO* info);

    PAVIFILE GetFile() const { return m_pFile; }
    const CString& GetPath() const { return m_strPath; }

private:
    PAVIFILE m_pFile;
    CString m_strPath;
};
