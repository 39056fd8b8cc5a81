#include "PrintPlacement.h"

namespace {

double Ratio(int a, int b)
{
    if (a <= 0 || b <= 0)
        return 1.0;
    return a > b ? (double)a / b : (double)b / a;
}

// One axis: destination position and size, source position and size.
void PlaceAxis(double ratio, int source, int page, int& pos, int& size, int& spos, int& ssize)
{
    size = (int)(ratio * source);
    pos = page / 2 - size / 2;
    spos = 0;
    ssize = source;
    if (pos < 0) {
        size += pos;
        spos = (int)(-pos / ratio);
        ssize = (int)(source + pos / ratio);
        pos = 0;
    }
}

} // namespace

PrintPlacement ComputePrintPlacement(int screenDpiX, int screenDpiY, int printerDpiX,
                                     int printerDpiY, int pageWidth, int pageHeight)
{
    PrintPlacement p;
    PlaceAxis(Ratio(screenDpiX, printerDpiX), 608, pageWidth, p.x, p.width, p.sx, p.swidth);
    PlaceAxis(Ratio(screenDpiY, printerDpiY), 456, pageHeight, p.y, p.height, p.sy, p.sheight);
    return p;
}
