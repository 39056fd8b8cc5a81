// An image in the Windows bitmap-file form (BMP): the file header, the info header with its
// colour table and the DWORD-aligned pixel rows, bottom row first.
#ifndef QUORVEL_SECDIB_H
#define QUORVEL_SECDIB_H

#include "SECImage.h"

class SECDib : public SECPixelImage {
    DECLARE_SERIAL(SECDib)
public:
    SECDib();
    virtual ~SECDib();

    virtual BOOL DoWrite(CFile* pFile) override;
    // Refuses (FALSE) anything that is not a readable uncompressed bitmap file: a wrong type,
    // headers that do not fit the file, sizes out of range, unknown bit counts or
    // compression, rows past the end of the file.
    virtual BOOL DoRead(CFile* pFile) override;
};

#endif  // QUORVEL_SECDIB_H
