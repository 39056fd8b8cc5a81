// The five component modules: exports, version resources and what their self-registration
// wrote into the prefix. Every class a module serves must be registered under its CLSID
// with the module's .so path; a class it does not serve yet must not be registered.
#include "gtest_wine.h"
#include "server_path.h"
#include <objbase.h>
#include <vector>

namespace {

struct Module {
    const char* file;
    WORD fileVersion[4];
    std::vector<const char*> clsids;
};

const Module kModules[] = {
    {"pondrel.dll.so", {1, 0, 0, 10},
     {"{4AE01C20-9E92-4C0B-AE7D-D0A37CF111FC}", "{7C7E254C-CDBA-4BA7-8DD5-5A6CCF6FA54A}"}},
    {"deinterlacer.dll.so", {1, 0, 0, 8}, {"{33071BA1-BA79-11D4-8736-00E098732545}"}},
    {"sonderic.dll.so", {1, 0, 0, 10},
     {"{F19B88C1-D109-11D4-8735-00E02991EE42}", "{F19B88C3-D109-11D4-8735-00E02991EE42}"}},
    {"clavio.ocx.so", {1, 0, 0, 27},
     {"{C4AFC5FD-863E-11D2-BCED-CC186C000000}", "{C4AFC5F9-863E-11D2-BCED-CC186C000000}",
      "{C4AFC5FE-863E-11D2-BCED-CC186C000000}", "{C4AFC5FA-863E-11D2-BCED-CC186C000000}"}},
    {"tabrel.ocx.so", {1, 0, 0, 7},
     {"{511980A6-A1A4-11D2-8C08-E4926DB1E860}", "{511980A7-A1A4-11D2-8C08-E4926DB1E860}"}},
};

typedef HRESULT(WINAPI* GetClassObjectFn)(REFCLSID, REFIID, void**);
typedef HRESULT(WINAPI* NoArgFn)();

std::string RegString(HKEY root, const std::string& key, const char* value)
{
    char buf[1024] = {};
    DWORD size = sizeof buf - 1, type = 0;
    HKEY k;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
        return "<missing>";
    LONG rc = RegQueryValueExA(k, value, nullptr, &type, (BYTE*)buf, &size);
    RegCloseKey(k);
    return rc == ERROR_SUCCESS ? std::string(buf) : "<missing>";
}

class ModulesTest : public testing::TestWithParam<Module> {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        path = WinePath(TestBinDir() + "/" + GetParam().file);
        module = LoadLibraryA(path.c_str());
        ASSERT_NE(module, nullptr) << path;
    }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
        CoUninitialize();
    }
    std::string path;
    HMODULE module = nullptr;
};

TEST_P(ModulesTest, ExportsTheFourServerEntriesInOrdinalOrder)
{
    const char* names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer",
                           "DllUnregisterServer"};
    for (int i = 0; i < 4; ++i) {
        FARPROC byName = GetProcAddress(module, names[i]);
        ASSERT_NE(byName, nullptr) << names[i];
        EXPECT_EQ(byName, GetProcAddress(module, MAKEINTRESOURCEA(i + 1))) << names[i];
    }
}

TEST_P(ModulesTest, CarriesItsVersionResource)
{
    char name[MAX_PATH];
    ASSERT_GT(GetModuleFileNameA(module, name, MAX_PATH), 0u);
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(name, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(name, 0, size, block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", (void**)&info, &len));
    const WORD* v = GetParam().fileVersion;
    EXPECT_EQ(info->dwFileVersionMS, DWORD(MAKELONG(v[1], v[0])));
    EXPECT_EQ(info->dwFileVersionLS, DWORD(MAKELONG(v[3], v[2])));
    // The program's start-up check compares the low half of the product version with 1.
    EXPECT_EQ(info->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(info->dwProductVersionLS, 1u);
}

TEST_P(ModulesTest, RegistersExactlyTheClassesItServes)
{
    auto reg = (NoArgFn)GetProcAddress(module, "DllRegisterServer");
    ASSERT_NE(reg, nullptr);
    EXPECT_EQ(reg(), S_OK);

    auto getClassObject = (GetClassObjectFn)GetProcAddress(module, "DllGetClassObject");
    const std::string serverPath = ServerModulePath(module);
    for (const char* text : GetParam().clsids) {
        CLSID clsid;
        WCHAR wide[64];
        MultiByteToWideChar(CP_ACP, 0, text, -1, wide, 64);
        ASSERT_EQ(CLSIDFromString(wide, &clsid), S_OK);
        IClassFactory* factory = nullptr;
        HRESULT hr = getClassObject(clsid, IID_IClassFactory, (void**)&factory);
        const std::string key = std::string("CLSID\\") + text + "\\InprocServer32";
        const std::string registered = RegString(HKEY_CLASSES_ROOT, key, nullptr);
        if (hr == CLASS_E_CLASSNOTAVAILABLE) {
            EXPECT_EQ(factory, nullptr);
            EXPECT_NE(lstrcmpiA(registered.c_str(), serverPath.c_str()), 0)
                << text << " is registered but not served";
        } else {
            ASSERT_EQ(hr, S_OK) << text;
            factory->Release();
            EXPECT_EQ(lstrcmpiA(registered.c_str(), serverPath.c_str()), 0)
                << text << ": " << registered << " instead of " << serverPath;
            EXPECT_NE(RegString(HKEY_CLASSES_ROOT, key, "ThreadingModel"), "<missing>") << text;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(All, ModulesTest, testing::ValuesIn(kModules),
                         [](const testing::TestParamInfo<Module>& info) {
                             std::string n = info.param.file;
                             return n.substr(0, n.find('.'));
                         });

} // namespace
