// Pattern images of fill groups. An image is shared by the copies of a fill group, by the
// property cache and by every fill group that read it from one stored record; it is counted, and
// deleted when the last holder lets go.
#pragma once
#include <afxwin.h>

class SECDib;

void ODPatternAddRef(SECDib* image);
void ODPatternRelease(SECDib* image);
// Reads the pattern-image object of a fill record (NULL, a back-reference or a new image);
// the result carries a count for the caller.
SECDib* ODReadPatternImage(CArchive& ar);
void ODWritePatternImage(CArchive& ar, SECDib* image);
// A device bitmap of the image for dc, NULL when none can be made; the caller deletes it.
CBitmap* ODMakePatternBitmap(SECDib* image, CDC* dc);
