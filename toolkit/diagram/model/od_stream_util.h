// Byte streams for the stored-form tests: a builder of hand-written records and helpers that
// store an object or a model into bytes and read them back.
#pragma once
#include <string>
#include <vector>
#include "ODClosedShapes.h"
#include "ODFontProperties.h"
#include "ODModel.h"

struct Bytes {
    std::vector<BYTE> v;
    Bytes& B(BYTE b)
    {
        v.push_back(b);
        return *this;
    }
    Bytes& W(WORD w) { return B((BYTE)w).B((BYTE)(w >> 8)); }
    Bytes& D(DWORD d) { return W((WORD)d).W((WORD)(d >> 16)); }
    Bytes& F(float f)
    {
        DWORD d;
        memcpy(&d, &f, 4);
        return D(d);
    }
    Bytes& Raw(const void* p, size_t n)
    {
        v.insert(v.end(), (const BYTE*)p, (const BYTE*)p + n);
        return *this;
    }
    Bytes& Chars(const std::string& s) { return Raw(s.data(), s.size()); }
    // A CString: a length byte, or 0xFF and a WORD length.
    Bytes& Str(const std::string& s)
    {
        if (s.size() < 255)
            B((BYTE)s.size());
        else
            B(0xFF).W((WORD)s.size());
        return Chars(s);
    }
    // A new class record: the tag, the schema and the name.
    Bytes& NewClass(const char* name, WORD schema)
    {
        return W(0xFFFF).W(schema).W((WORD)strlen(name)).Chars(name);
    }
    Bytes& Rect(LONG l, LONG t, LONG r, LONG b) { return D(l).D(t).D(r).D(b); }
    Bytes& Add(const Bytes& other) { return Raw(other.v.data(), other.v.size()); }
};

// Stores through an archive; f writes.
template <class F>
std::vector<BYTE> Store(F f)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        f(ar);
        ar.Close();
    }
    std::vector<BYTE> out((size_t)file.GetLength());
    file.SeekToBegin();
    if (!out.empty())
        file.Read(out.data(), (UINT)out.size());
    return out;
}

// Loads from bytes; f reads. Archive exceptions pass to the caller.
template <class F>
void Load(const std::vector<BYTE>& bytes, F f)
{
    std::vector<BYTE> copy(bytes);
    CMemFile file(copy.empty() ? NULL : copy.data(), (UINT)copy.size());
    CArchive ar(&file, CArchive::load);
    f(ar);
}

// The first offset at which two streams differ, -1 when they are equal.
inline long FirstDifference(const std::vector<BYTE>& a, const std::vector<BYTE>& b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return (long)i;
    return a.size() == b.size() ? -1 : (long)n;
}

inline std::vector<BYTE> StoreModel(CODModel& model)
{
    return Store([&](CArchive& ar) { model.Serialize(ar); });
}

// Puts page settings with no printer and no flags in place, so that stored bytes do not
// depend on the machine's printers.
inline void PlainPageSettings(CODModel& model)
{
    PAGESETUPDLGA psd;
    memset(&psd, 0, sizeof(psd));
    model.GetPageSettings()->SetPageSetup(&psd);
}

// A drawing that differs from a fresh one in every member a stored record sets (name, canvas,
// properties, children, page settings, background colour and component), to load streams into.
inline void LivedInModel(CODModel& model)
{
    model.SetName("kept");
    model.SetType("drawing");
    model.SetSize(CSize(1200, 800));
    CODFontProperties font(30);
    font.SetFaceName("Arial");
    model.SetOrAddProperty(font);
    CODRectComponent* rect = new CODRectComponent;
    rect->Create(10, 20, 110, 70);
    model.AppendChild(rect);
    CODEllipseComponent* ellipse = new CODEllipseComponent;
    ellipse->Create(CRect(200, 200, 260, 240));
    model.AppendChild(ellipse);
    PAGESETUPDLGA psd;
    memset(&psd, 0, sizeof(psd));
    psd.Flags = PSD_MARGINS;
    psd.ptPaperSize.x = 8500;
    psd.ptPaperSize.y = 11000;
    SetRect(&psd.rtMargin, 500, 600, 700, 800);
    model.GetPageSettings()->SetPageSetup(&psd);
    model.SetBackgroundColor(RGB(10, 20, 30));
    CODRectComponent* back = new CODRectComponent;
    back->Create(0, 0, 1200, 800);
    model.SetBackgroundComponent(back, FALSE);
}
