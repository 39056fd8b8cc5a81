// Bitmap resources whose four button greys follow the user's colour scheme.
#ifndef QUORVEL_SECSYSCOLOR_H
#define QUORVEL_SECSYSCOLOR_H

#include <afxwin.h>

// Attaches to pBitmap a screen-compatible bitmap of the named bitmap resource (of the
// current resource module) with black, dark grey, light grey and white in its colour table
// replaced by the button text, shadow, face and highlight colours. FALSE when the resource
// is missing or is not a bitmap of at most 8 bits per pixel, or when GDI fails.
BOOL LoadSysColorBitmap(CBitmap* pBitmap, LPCTSTR lpszResourceName);

// The mapping on a colour table: entries equal to one of the four greys (reserved byte 0)
// take the system colour; others are kept.
void MapSysColors(RGBQUAD* pTable, int nEntries);

#endif  // QUORVEL_SECSYSCOLOR_H
