// Pattern images: without the image classes in this build a stored fill group may carry no
// image; a record that names one is refused as a class the reader does not know.
#include "ODPatternImage.h"

void ODPatternAddRef(SECDib*)
{
}

void ODPatternRelease(SECDib*)
{
}

SECDib* ODReadPatternImage(CArchive& ar)
{
    CObject* object = ar.ReadObject(NULL);
    if (object != NULL)
        AfxThrowArchiveException(CArchiveException::badClass, ar.m_strFileName);
    return NULL;
}

void ODWritePatternImage(CArchive& ar, SECDib*)
{
    ar.WriteObject(NULL);
}

CBitmap* ODMakePatternBitmap(SECDib*, CDC*)
{
    return NULL;
}
