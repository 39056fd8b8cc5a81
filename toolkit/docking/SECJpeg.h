// An image in the JPEG file form, read and written through the JPEG library. Files are
// written from 24-bit blue, green, red rows (palette images expanded through their colour
// table); reading gives a 24-bit image, or an 8-bit one of 256 colours on a palette display
// when quantising on read.
#ifndef QUORVEL_SECJPEG_H
#define QUORVEL_SECJPEG_H

#include "SECImage.h"

class SECJpeg : public SECPixelImage {
    DECLARE_SERIAL(SECJpeg)
public:
    SECJpeg();
    virtual ~SECJpeg();

    // FALSE when the file is no JPEG or the library fails; the image is then as before.
    virtual BOOL DoRead(CFile* pFile) override;
    // FALSE when the image is empty or the file cannot be written; the image is unchanged.
    virtual BOOL DoWrite(CFile* pFile) override;

    BOOL m_bQuantize;    // read into 8 bits with 256 colours on palette displays
    int m_nReserved;
    int m_nQuality;      // 0 to 100, 75 unless set
    int m_nSmoothing;
    BOOL m_bOptimize;
    BOOL m_bArithmetic;
};

#endif  // QUORVEL_SECJPEG_H
