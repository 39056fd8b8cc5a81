// The faces the program's dialogs, panels and drawings name, as the prefix set-up leaves them:
// each must be a font of its own rather than Wine's one default face (with other metrics),
// and the symbol font that draws the caption buttons must be there, or the minimise,
// maximise and close buttons show as the letters "0", "1" and "r".
#include "gtest_wine.h"

namespace {

struct Face {
    std::string name;
    TEXTMETRICA metrics;
    LONG width;  // of a line of text at the same height
};

Face Realize(HDC dc, const char* face)
{
    LOGFONTA lf = {};
    lf.lfHeight = -13;
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(lf.lfFaceName, face, LF_FACESIZE);
    HFONT font = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, font);
    char name[LF_FACESIZE] = "";
    GetTextFaceA(dc, sizeof name, name);
    Face f{name, {}, 0};
    GetTextMetricsA(dc, &f.metrics);
    SIZE size = {};
    GetTextExtentPoint32A(dc, "Swing 0123", 10, &size);
    f.width = size.cx;
    SelectObject(dc, old);
    DeleteObject(font);
    return f;
}

TEST(Fonts, EveryFaceTheProgramNamesIsAFontOfItsOwn)
{
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    const char* faces[] = {"MS Shell Dlg", "MS Sans Serif", "Tahoma", "Marlett", "Arial",
                           "Arial Narrow", "Verdana", "Times New Roman"};
    for (const char* face : faces)
        EXPECT_EQ(face, Realize(dc, face).name);

    EXPECT_EQ(SYMBOL_CHARSET, Realize(dc, "Marlett").metrics.tmCharSet);
    // Replacements keep the faces' shapes apart: narrow, serif and wide faces differ from Arial.
    const LONG arial = Realize(dc, "Arial").width;
    EXPECT_LT(Realize(dc, "Arial Narrow").width, arial);
    EXPECT_NE(Realize(dc, "Times New Roman").width, arial);
    EXPECT_GT(Realize(dc, "Verdana").width, arial);
    DeleteDC(dc);
}

}  // namespace
