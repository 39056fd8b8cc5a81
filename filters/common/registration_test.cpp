// What the three modules' self-registration wrote into the test prefix: the filter
// mapper's entry of each filter (name, merit, pins and pin types) and the COM class names.
#include "gtest_wine.h"
#include "streams.h"
#include <initguid.h>
#include "ireplaybuffer.h"
#include "ideinterlace.h"
#include "ileveltrigger.h"
#include <string>
#include <vector>

namespace {

std::string ReadText(const std::string& key, const char* value)
{
    char buf[256] = {};
    DWORD size = sizeof buf - 1;
    return RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, buf,
                        &size) == ERROR_SUCCESS
               ? buf
               : "<missing>";
}

TEST(Registration, FilterMapperEntriesAndClassNames)
{
    const struct {
        const CLSID* clsid;
        const char* name;
        GUID major, minor;
        const CLSID* page;   // registered page class, or null
        const char* pageName;
    } filters[] = {
        {&CLSID_ReplayBuffer, "Pondrel", GUID_NULL, GUID_NULL, &CLSID_ReplayBufferProperties,
         "Pondrel Properties"},
        {&CLSID_Deinterlacer, "DeInterlacer", MEDIATYPE_Video, MEDIASUBTYPE_RGB32, nullptr, nullptr},
        {&CLSID_LevelTrigger, "Sonderic", GUID_NULL, GUID_NULL, &CLSID_LevelTriggerProperties,
         "Sonderic Properties"},
    };
    for (const auto& f : filters) {
        SCOPED_TRACE(f.name);
        const std::string clsid = GuidText(*f.clsid);
        EXPECT_EQ(ReadText("CLSID\\" + clsid, nullptr), f.name);
        EXPECT_EQ(ReadText("CLSID\\" + clsid + "\\InprocServer32", "ThreadingModel"), "Both");
        const std::string instance =
            "CLSID\\" + GuidText(CLSID_LegacyAmFilterCategory) + "\\Instance\\" + clsid;
        EXPECT_EQ(ReadText(instance, "FriendlyName"), f.name);
        BYTE blob[1024];
        DWORD size = sizeof blob;
        ASSERT_EQ(RegGetValueA(HKEY_CLASSES_ROOT, instance.c_str(), "FilterData", RRF_RT_REG_BINARY,
                               nullptr, blob, &size),
                  ERROR_SUCCESS);
        FilterData data;
        ASSERT_TRUE(DecodeFilterData(blob, size, &data));
        EXPECT_EQ(data.merit, DWORD(MERIT_DO_NOT_USE));
        ASSERT_EQ(data.pins.size(), 2u);
        EXPECT_FALSE(data.pins[0].flags & REG_PINFLAG_B_OUTPUT);
        EXPECT_TRUE(data.pins[1].flags & REG_PINFLAG_B_OUTPUT);
        for (const FilterPinData& pin : data.pins) {
            EXPECT_FALSE(pin.flags & (REG_PINFLAG_B_RENDERER | REG_PINFLAG_B_ZERO | REG_PINFLAG_B_MANY));
            ASSERT_EQ(pin.types.size(), 1u);
            EXPECT_TRUE(IsEqualGUID(pin.types[0].first, f.major));
            EXPECT_TRUE(IsEqualGUID(pin.types[0].second, f.minor));
        }
        if (f.page)
            EXPECT_EQ(ReadText("CLSID\\" + GuidText(*f.page), nullptr), f.pageName);
    }
    // The page the Deinterlacer names is served by no module.
    EXPECT_EQ(ReadText("CLSID\\" + GuidText(CLSID_DeinterlacerProperties), nullptr), "<missing>");
}

} // namespace
