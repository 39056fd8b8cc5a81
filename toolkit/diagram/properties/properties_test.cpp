// Property objects: ids and equality, typed access by kind, the string forms, the conversion
// exception, the groups' setters and copies, and the shared cache.
#include "gtest_wine.h"
#include "ODEditProperties.h"
#include "ODFillProperties.h"
#include "ODFontProperties.h"
#include "ODLineProperties.h"
#include "ODOrientationProperties.h"

namespace {

// Runs f and reports whether it threw the conversion exception (deleted here, as catchers do).
template <class F>
bool ThrowsConversion(F f)
{
    try {
        f();
    } catch (CODPropertyConversionException* e) {
        char text[128] = "";
        EXPECT_TRUE(e->GetErrorMessage(text, sizeof(text)));
        EXPECT_STREQ(text, "Invalid data type supplied for property assignment");
        e->Delete();
        return true;
    }
    return false;
}

TEST(Properties, SingleValuesAsText)
{
    struct Case {
        const char* text;
        BOOL value;
    } cases[] = {{"yes", TRUE}, {"True", TRUE}, {"1", TRUE}, {"YES ", FALSE},
                 {"ON", FALSE}, {"01", FALSE},  {"", FALSE}};
    for (const Case& c : cases) {
        CODBoolProperty p(240, TRUE);
        p.SetValueFromString(c.text);
        EXPECT_EQ(p.GetValue(), c.value) << c.text;
    }
    CODBoolProperty b(230, TRUE);
    CString text;
    b.GetValueAsString(text);
    EXPECT_EQ(text, "TRUE");

    CODIntProperty i(210);
    i.SetValueFromString("12abc");
    EXPECT_EQ(i.GetValue(), 12);
    i.SetValueFromString("abc");
    EXPECT_EQ(i.GetValue(), 0);
    i.SetValue(-7);
    i.GetValueAsString(text);
    EXPECT_EQ(text, "-7");

    DWORD color;
    EXPECT_TRUE(ThrowsConversion([&] { b.GetValue(color); }));
    EXPECT_TRUE(ThrowsConversion([&] { CODProperty(5).SetValue(3); }));
    void* out = &b;
    EXPECT_EQ(b.QueryInterface(IID_IODPropertyContainer, &out), E_NOINTERFACE);
    EXPECT_EQ(b.QueryInterface(IID_IUnknown, &out), E_NOINTERFACE);
    EXPECT_EQ(out, &b);
}

TEST(Properties, GroupsAnswerTheirMembersByKind)
{
    CODFontProperties font;
    EXPECT_TRUE(font.Accepts(30));
    EXPECT_TRUE(font.Accepts(38));
    EXPECT_FALSE(font.Accepts(39));
    EXPECT_FALSE(font.Accepts(29));
    int value;
    CString face;
    EXPECT_TRUE(ThrowsConversion([&] { font.GetValue(1, value); }));
    EXPECT_TRUE(font.GetValue(1, face));
    EXPECT_EQ(face, "Times New Roman");
    EXPECT_FALSE(font.GetValue(9, value));
    EXPECT_FALSE(font.GetValue(0, face));

    CODLineProperties line;
    DWORD color;
    EXPECT_TRUE(ThrowsConversion([&] { line.GetValue(1, value); }));
    EXPECT_FALSE(line.GetValue(5, color));
    EXPECT_TRUE(line.SetValue(4, 5));  // unchecked through the interface
    EXPECT_EQ(line.GetStyle(), 5);
    line.SetStyle(7);
    EXPECT_EQ(line.GetStyle(), 5);

    CODOrientationProperties orientation;
    EXPECT_TRUE(ThrowsConversion([&] { orientation.GetValue(1, color); }));
    EXPECT_TRUE(ThrowsConversion([&] { orientation.GetValue(1, value); }));
    EXPECT_FALSE(orientation.GetValue(4, value));

    CODFillProperties fill;
    EXPECT_TRUE(fill.Accepts(20) && fill.Accepts(26));
    EXPECT_FALSE(fill.Accepts(19) || fill.Accepts(27));
    fill.SetHatchStyle(6);
    EXPECT_EQ(fill.GetHatchStyle(), 3);
    EXPECT_TRUE(fill.SetValue(4, 6));
    EXPECT_EQ(fill.GetHatchStyle(), 6);

    void* out = NULL;
    ASSERT_EQ(fill.QueryInterface(IID_IODPropertyContainer, &out), S_OK);
    EXPECT_EQ(out, static_cast<IODPropertyContainer*>(&fill));
    EXPECT_EQ(fill.GetRefCount(), 1u);
    fill.AddRef();  // the stack object is never released to 0
}

TEST(Properties, FontSetters)
{
    CODFontProperties font;
    int height = font.GetLogicalHeight();
    font.SetPointSize(1, NULL);
    EXPECT_EQ(font.GetPointSize(), 10);
    EXPECT_EQ(font.GetLogicalHeight(), height);
    font.SetPointSize(2, NULL);
    EXPECT_EQ(font.GetPointSize(), 2);
    EXPECT_NE(font.GetLogicalHeight(), height);
    font.SetWeight(1001);
    EXPECT_EQ(font.GetWeight(), 400);

    // A font whose logical height is 0 takes its height from the point size.
    EXPECT_TRUE(font.SetValue(8, 0));
    CFont* made = font.CreateFont(NULL);
    LOGFONTA lf;
    made->GetLogFont(&lf);
    EXPECT_LT(lf.lfHeight, 0);
    delete made;

    CODFontProperties other(font);
    other.SetFaceName("times new roman");
    font.SetFaceName("Times New Roman");
    other.SetFaceName("Times New Roman");
    EXPECT_TRUE(font.IsEqual(&other));
    other.SetFaceName("TIMES NEW ROMAN");
    EXPECT_FALSE(font.IsEqual(&other));
}

TEST(Properties, LinePensAndEditPermissions)
{
    struct Case {
        BOOL transparent;
        int logical, points, style;
        UINT penStyle;
        int width;
    } cases[] = {{FALSE, -1, 0, 2, PS_DOT, 1}, {TRUE, 3, 2, 1, PS_NULL, 3}, {FALSE, 4, 3, 0, PS_SOLID, 4}};
    for (const Case& c : cases) {
        CODLineProperties line;
        line.SetTransparent(c.transparent);
        line.SetStyle(c.style);
        line.SetWidth(c.points, NULL);
        EXPECT_TRUE(line.SetValue(3, c.logical));
        CPen* pen = line.CreatePen(NULL);
        LOGPEN lp;
        ASSERT_TRUE(pen->GetLogPen(&lp));
        EXPECT_EQ(lp.lopnStyle, c.penStyle);
        if (!c.transparent)
            EXPECT_EQ(lp.lopnWidth.x, c.width);
        delete pen;
    }

    CODEditProperties edit;
    edit.SetReadOnly(TRUE);
    EXPECT_FALSE(edit.CanMove() || edit.CanRotate() || edit.CanScale() || edit.CanEditProperties() ||
                 edit.CanEditVertices());
    EXPECT_TRUE(edit.GetCanSelect() && edit.GetCanStretch());
    CODEditProperties stuck;
    stuck.SetCanMove(FALSE);
    EXPECT_FALSE(stuck.CanEditVertices());
    CODEditProperties copy;
    copy.CopyFrom(&stuck, 0x004);
    EXPECT_FALSE(copy.GetCanMove());
    copy.CopyFrom(&edit, 0x004);
    EXPECT_TRUE(copy.GetCanMove());
    EXPECT_FALSE(copy.IsReadOnly());
}

TEST(Properties, CopyingAndComparingAcrossClassesIsRefused)
{
    CODBoolProperty b(10, TRUE);
    CODLineProperties line(10);
    EXPECT_FALSE(line.IsEqual(&b));
    EXPECT_FALSE(b.IsEqual(&line));
    line.CopyFrom(&b, 0xffff);
    CODLineProperties fresh(10);
    EXPECT_TRUE(line.IsEqual(&fresh));
    b.CopyFrom(&line, 0xffff);
    EXPECT_TRUE(b.GetValue());
}

TEST(PropertyCache, SharesEqualProperties)
{
    CODPropertyCache* cache = CODPropertyCache::GetCache();
    CODPropertyPtr a = cache->Intern(CODBoolProperty(240, TRUE));
    CODPropertyPtr b = cache->Intern(CODBoolProperty(240, TRUE));
    CODPropertyPtr c = cache->Intern(CODBoolProperty(240, FALSE));
    EXPECT_EQ(a.Get(), b.Get());
    EXPECT_NE(a.Get(), c.Get());
    CODPropertyPtr left = cache->Intern(CODIntProperty(210, 1));
    CODPropertyPtr right = cache->Intern(CODIntProperty(220, 1));
    EXPECT_NE(left.Get(), right.Get());
    EXPECT_EQ(a->GetRefCount(), 3u);  // a, b and the cache

    // Interning keeps entries after their users let go; cleaning drops them.
    CODProperty* kept = c.Get();
    c = NULL;
    EXPECT_EQ(cache->Intern(CODBoolProperty(240, FALSE)).Get(), kept);
    int before = cache->GetCount();
    EXPECT_GE(cache->Clean(), 1);
    EXPECT_LT(cache->GetCount(), before);
    EXPECT_EQ(a->GetRefCount(), 3u);
}

}  // namespace
