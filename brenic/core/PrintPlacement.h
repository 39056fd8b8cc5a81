// Where the 608 x 456 video picture lands on a printed page: enlarged by the ratio of the
// larger to the smaller of screen and printer resolution on each axis, centred on the
// printable area, and, where it is larger than the page, cut evenly on both sides.
#pragma once

struct PrintPlacement
{
    int x, y, width, height;     // destination on the page
    int sx, sy, swidth, sheight; // source in the picture
};

PrintPlacement ComputePrintPlacement(int screenDpiX, int screenDpiY, int printerDpiX,
                                     int printerDpiY, int pageWidth, int pageHeight);
