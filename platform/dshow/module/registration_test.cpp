// The layer's module registers every class it serves with its own .so path, so that the
// standard class identifiers reach it rather than another implementation in the prefix,
// and its filters are in the filter mapper with their merits.
#include "gtest_wine.h"
#include "streams.h"
#include "server_path.h"

namespace {

std::string RegText(const std::string& key, const char* value)
{
    char buf[1024] = {};
    DWORD size = sizeof buf - 1, type = 0;
    HKEY k;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "<missing>";
    LONG rc = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? std::string(buf) : "<missing>";
}

} // namespace

TEST(DshowModule, ServesAndRegistersTheStandardClassesWithItsOwnPath)
{
    CoInitialize(nullptr);
    HMODULE module = LoadLibraryA(WinePath(TestBinDir() + "/dshow.dll.so").c_str());
    ASSERT_NE(module, nullptr);
    typedef HRESULT(WINAPI * NoArg)();
    typedef HRESULT(WINAPI * GetClassObject)(REFCLSID, REFIID, void**);
    auto reg = (NoArg)GetProcAddress(module, "DllRegisterServer");
    auto get = (GetClassObject)GetProcAddress(module, "DllGetClassObject");
    ASSERT_TRUE(reg && get);
    ASSERT_EQ(reg(), S_OK);
    const std::string path = ServerModulePath(module);
    const CLSID* served[] = {&CLSID_FilterGraph, &CLSID_SystemClock, &CLSID_VideoRenderer, &CLSID_DVVideoCodec,
                             &CLSID_Colour,      &CLSID_DSoundRender, &CLSID_DVSplitter,    &CLSID_MemoryAllocator};
    for (const CLSID* c : served) {
        const std::string key = "CLSID\\" + GuidText(*c);
        SCOPED_TRACE(key);
        IClassFactory* factory = nullptr;
        ASSERT_EQ(get(*c, IID_IClassFactory, (void**)&factory), S_OK);
        factory->Release();
        EXPECT_EQ(lstrcmpiA(RegText(key + "\\InprocServer32", nullptr).c_str(), path.c_str()), 0);
        EXPECT_EQ(RegText(key + "\\InprocServer32", "ThreadingModel"), "Both");
    }
    // Filters are in the mapper: the decoder is chosen for DV, the graph never picks a
    // filter registered as not to be used.
    const std::string decoderKey =
        "CLSID\\" + GuidText(CLSID_LegacyAmFilterCategory) + "\\Instance\\" + GuidText(CLSID_DVVideoCodec);
    EXPECT_EQ(RegText(decoderKey, "FriendlyName"), "DV Video Decoder");
    HKEY k;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, decoderKey.c_str(), 0, KEY_READ, &k), ERROR_SUCCESS);
    BYTE blob[1024];
    DWORD size = sizeof blob;
    ASSERT_EQ(RegQueryValueExA(k, "FilterData", nullptr, nullptr, blob, &size), ERROR_SUCCESS);
    RegCloseKey(k);
    FilterData data;
    ASSERT_TRUE(DecodeFilterData(blob, size, &data));
    EXPECT_EQ(data.merit, DWORD(MERIT_PREFERRED));
    // Created through COM, the graph is this module's.
    IGraphBuilder* graph = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, (void**)&graph), S_OK);
    HMODULE owner = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       *reinterpret_cast<LPCSTR*>(graph), &owner);
    EXPECT_EQ(owner, module);
    graph->Release();
    FreeLibrary(module);
    CoUninitialize();
}
