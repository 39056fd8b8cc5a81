// A program that only reads drawings names no class but the model, and still finds every class
// of the stored form.
#include "gtest_wine.h"
#include "od_stream_util.h"

namespace {

TEST(LoadOnly, EveryStoredClassIsRegistered)
{
    CODModel model;
    const char* names[] = {"CODComponent", "CODModel", "CODTransform", "CODProperty", "CODBoolProperty",
                           "CODIntProperty", "CODLineProperties", "CODFillProperties",
                           "CODFontProperties", "CODEditProperties", "CODOrientationProperties",
                           "CODPageSettings", "SECDib"};
    for (const char* name : names)
        EXPECT_NE(CRuntimeClass::FromName(name), nullptr) << name;

    Bytes b;
    b.D(1).D(0).Str("").Str("").Rect(0, 0, 1000, 1000).W(0).D(1).D(0).D(1);
    b.NewClass("CODComponent", 1).D(1).D(9).Str("Line").Str("Line").Rect(0, 0, 0, 0);
    b.NewClass("CODTransform", 0).F(1).F(0).F(0).F(1).F(5).F(6);
    b.D(1).D(4);
    b.NewClass("CODLineProperties", 2).D(1).D(10).D(2).D(0).D(0).D(1).D(1).D(0);
    b.NewClass("CODFillProperties", 1).D(1).D(20).D(1).D(0).D(0).D(0).D(3).D(1).D(0).W(0);
    b.NewClass("CODFontProperties", 2).D(1).D(30).D(2).Str("Arial").D(10).D(0).D(13).D(400).D(0).D(0).D(0);
    b.NewClass("CODIntProperty", 1).D(1).D(210).D(1);
    b.D(0).W(0);
    b.W(0).D(2).D(1).D(0).D(0).D(0).D(0).D(0).Rect(0, 0, 0, 0).Rect(0, 0, 0, 0).D(0xFFFFFF).W(0);
    Load(b.v, [&](CArchive& ar) { model.Serialize(ar); });
    ASSERT_EQ(model.GetChildCount(), 1);
    CODComponent* line = model.GetChild(0);
    EXPECT_EQ(line->GetId(), 9u);
    EXPECT_EQ(line->GetProperties()->GetCount(), 4);
    int x, y;
    line->GetTransform()->GetTranslation(&x, &y);
    EXPECT_EQ(CPoint(x, y), CPoint(5, 6));
    EXPECT_EQ(StoreModel(model), b.v);
}

}  // namespace
