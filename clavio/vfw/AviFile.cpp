#include "AviFile.h"

CAviFile::CAviFile() : m_pFile(NULL) { AVIFileInit(); }

CAviFile::~CAviFile()
{
    Close();
    AVIFileExit();
}

void CAviFile::Close()
{
    if (m_pFile)
        AVIFileRelease(m_pFile);
    m_pFile = NULL;
    m_strPath.Empty();
}

BOOL CAviFile::Open(LPCTSTR path, UINT mode)
{
    Close();
    if (!path || !*path)
        return FALSE;
    if (AVIFileOpenA(&m_pFile, path, mode, NULL) != AVIERR_OK) {
        m_pFile = NULL;
        ErrorBox("Unable to open %s", path);
        return FALSE;
    }
    m_strPath = path;
    return TRUE;
}

PAVISTREAM CAviFile::GetStream(DWORD type, int index)
{
    if (!m_pFile)
        return NULL;
    const int kMaxStreams = 100;
    int found = 0;
    for (int i = 0; i < kMaxStreams; ++i) {
        PAVISTREAM stream = NULL;
        if (AVIFileGetStream(m_pFile, &stream, 0, i) != AVIERR_OK || !stream)
            return NULL;
        AVISTREAMINFOA info = {};
        if (AVIStreamInfoA(stream, &info, sizeof info) == AVIERR_OK && info.fccType == type &&
            found++ == index)
            return stream;
        AVIStreamRelease(stream);
    }
    ErrorBox("Exceeded maximum number of streams");
    return NULL;
}

PAVISTREAM CAviFile::CreateStream(AVISTREAMINFO* info)
{
    PAVISTREAM stream = NULL;
    if (!m_pFile || !info || AVIFileCreateStreamA(m_pFile, &stream, info) != AVIERR_OK)
        return NULL;
    return stream;
}
