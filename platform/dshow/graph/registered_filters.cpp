#include "registered_filters.h"
#include <algorithm>

namespace {

std::string ReadText(HKEY key, const char* sub, const char* value)
{
    char buf[1024] = {};
    DWORD size = sizeof buf - 1, type = 0;
    HKEY k = key;
    if (sub && RegOpenKeyExA(key, sub, 0, KEY_READ, &k) != ERROR_SUCCESS)
        return std::string();
    LONG rc = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    if (sub)
        RegCloseKey(k);
    return rc == ERROR_SUCCESS && type == REG_SZ ? std::string(buf) : std::string();
}

bool EndsWithSo(const std::string& path)
{
    return path.size() > 3 && lstrcmpiA(path.c_str() + path.size() - 3, ".so") == 0;
}

} // namespace

std::vector<RegisteredFilter> RegisteredFiltersByMerit()
{
    std::vector<RegisteredFilter> result;
    const std::string base = "CLSID\\" + GuidText(CLSID_LegacyAmFilterCategory) + "\\Instance";
    HKEY instances;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, base.c_str(), 0, KEY_READ, &instances) != ERROR_SUCCESS)
        return result;
    char sub[256];
    for (DWORD i = 0; RegEnumKeyA(instances, i, sub, sizeof sub) == ERROR_SUCCESS; ++i) {
        HKEY k;
        if (RegOpenKeyExA(instances, sub, 0, KEY_READ, &k) != ERROR_SUCCESS)
            continue;
        std::vector<BYTE> blob(4096);
        DWORD size = DWORD(blob.size()), type = 0;
        LONG rc = RegQueryValueExA(k, "FilterData", nullptr, &type, blob.data(), &size);
        std::string clsidText = ReadText(k, nullptr, "CLSID");
        std::string name = ReadText(k, nullptr, "FriendlyName");
        RegCloseKey(k);
        if (rc != ERROR_SUCCESS || type != REG_BINARY || clsidText.empty())
            continue;
        RegisteredFilter f;
        WCHAR wide[64];
        MultiByteToWideChar(CP_ACP, 0, clsidText.c_str(), -1, wide, 64);
        if (FAILED(CLSIDFromString(wide, &f.clsid)))
            continue;
        if (!DecodeFilterData(blob.data(), size, &f.data) || f.data.merit <= MERIT_DO_NOT_USE)
            continue;
        if (!EndsWithSo(ReadText(HKEY_CLASSES_ROOT, ("CLSID\\" + clsidText + "\\InprocServer32").c_str(), nullptr)))
            continue;
        int n = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
        f.name.resize(n > 0 ? n - 1 : 0);
        if (n > 1)
            MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, reinterpret_cast<LPWSTR>(&f.name[0]), n);
        result.push_back(std::move(f));
    }
    RegCloseKey(instances);
    std::stable_sort(result.begin(), result.end(),
                     [](const RegisteredFilter& a, const RegisteredFilter& b) { return a.data.merit > b.data.merit; });
    return result;
}

bool AcceptsAnyOf(const RegisteredFilter& f, const std::vector<std::pair<GUID, GUID>>& types)
{
    auto match = [](const GUID& a, const GUID& b) {
        return IsEqualGUID(a, GUID_NULL) || IsEqualGUID(b, GUID_NULL) || IsEqualGUID(a, b);
    };
    for (const auto& pin : f.data.pins) {
        if (pin.flags & REG_PINFLAG_B_OUTPUT)
            continue;
        for (const auto& reg : pin.types)
            for (const auto& t : types)
                if (match(reg.first, t.first) && match(reg.second, t.second))
                    return true;
    }
    return false;
}
