#include "ODPatternImage.h"
#include <unordered_map>
#include "SECDib.h"

namespace {
// Holders of each pattern image: fill groups (and their copies in the cache) and reads under way;
// kept to the end of the process, as the groups that count on it may be.
std::unordered_map<SECDib*, long>& g_holders = *new std::unordered_map<SECDib*, long>;
}

void ODPatternAddRef(SECDib* image)
{
    if (image)
        ++g_holders[image];
}

void ODPatternRelease(SECDib* image)
{
    auto it = image ? g_holders.find(image) : g_holders.end();
    if (it == g_holders.end())
        return;
    if (--it->second <= 0) {
        g_holders.erase(it);
        delete image;
    }
}

SECDib* ODReadPatternImage(CArchive& ar)
{
    SECDib* image = (SECDib*)ar.ReadObject(RUNTIME_CLASS(SECDib));
    ODPatternAddRef(image);
    return image;
}

void ODWritePatternImage(CArchive& ar, SECDib* image)
{
    ar.WriteObject(image);
}

CBitmap* ODMakePatternBitmap(SECDib* image, CDC* dc)
{
    return image ? image->MakeBitmap(dc) : NULL;
}
