#include "streams.h"
#include "server_path.h"
#include <cstring>

namespace {

void PutDword(std::vector<BYTE>& out, DWORD v)
{
    BYTE b[4];
    memcpy(b, &v, 4);
    out.insert(out.end(), b, b + 4);
}

bool GetDword(const BYTE* bytes, size_t size, size_t at, DWORD* v)
{
    if (at > size || size - at < 4)
        return false;
    memcpy(v, bytes + at, 4);
    return true;
}

bool GetGuid(const BYTE* bytes, size_t size, DWORD at, GUID* g)
{
    if (at == 0) {
        *g = GUID_NULL;
        return true;
    }
    if (at > size || size - at < sizeof(GUID))
        return false;
    memcpy(g, bytes + at, sizeof(GUID));
    return true;
}

const CLSID kLegacyCategory = CLSID_LegacyAmFilterCategory;

} // namespace

// Layout: version, merit, pin count, reserved; per pin a tagged header (flags, instances,
// type count, medium count, category offset) followed by its tagged type records (two
// offsets each); then the GUIDs the offsets point at, each stored once.
std::vector<BYTE> EncodeFilterData(const FilterData& data)
{
    std::vector<GUID> pool;
    auto offsetOf = [&](const GUID& g, size_t headerSize) -> DWORD {
        for (size_t i = 0; i < pool.size(); ++i)
            if (IsEqualGUID(pool[i], g))
                return DWORD(headerSize + i * sizeof(GUID));
        pool.push_back(g);
        return DWORD(headerSize + (pool.size() - 1) * sizeof(GUID));
    };
    size_t header = 16;
    for (const auto& pin : data.pins)
        header += 24 + pin.types.size() * 16;
    std::vector<BYTE> out;
    PutDword(out, data.version);
    PutDword(out, data.merit);
    PutDword(out, DWORD(data.pins.size()));
    PutDword(out, 0);
    for (size_t p = 0; p < data.pins.size(); ++p) {
        const auto& pin = data.pins[p];
        PutDword(out, DWORD('0' + (p % 10)) | ('p' << 8) | ('i' << 16) | ('3' << 24));
        PutDword(out, pin.flags);
        PutDword(out, pin.instances);
        PutDword(out, DWORD(pin.types.size()));
        PutDword(out, 0);
        PutDword(out, 0);
        for (size_t t = 0; t < pin.types.size(); ++t) {
            PutDword(out, DWORD('0' + (t % 10)) | ('t' << 8) | ('y' << 16) | ('3' << 24));
            PutDword(out, 0);
            PutDword(out, offsetOf(pin.types[t].first, header));
            PutDword(out, offsetOf(pin.types[t].second, header));
        }
    }
    for (const GUID& g : pool) {
        const BYTE* b = reinterpret_cast<const BYTE*>(&g);
        out.insert(out.end(), b, b + sizeof(GUID));
    }
    return out;
}

bool DecodeFilterData(const BYTE* bytes, size_t size, FilterData* out)
{
    FilterData d;
    DWORD pins = 0, reserved = 0;
    if (!GetDword(bytes, size, 0, &d.version) || !GetDword(bytes, size, 4, &d.merit) ||
        !GetDword(bytes, size, 8, &pins) || !GetDword(bytes, size, 12, &reserved))
        return false;
    if (d.version != 2 || pins > size / 24)
        return false;
    size_t at = 16;
    for (DWORD p = 0; p < pins; ++p) {
        FilterPinData pin;
        DWORD tag, types, mediums, category;
        if (!GetDword(bytes, size, at, &tag) || !GetDword(bytes, size, at + 4, &pin.flags) ||
            !GetDword(bytes, size, at + 8, &pin.instances) ||
            !GetDword(bytes, size, at + 12, &types) || !GetDword(bytes, size, at + 16, &mediums) ||
            !GetDword(bytes, size, at + 20, &category))
            return false;
        if ((tag >> 8) != ('p' | ('i' << 8) | ('3' << 16)) || types > size / 16 || mediums > size / 4)
            return false;
        at += 24;
        for (DWORD t = 0; t < types; ++t) {
            DWORD ttag, res, major, minor;
            if (!GetDword(bytes, size, at, &ttag) || !GetDword(bytes, size, at + 4, &res) ||
                !GetDword(bytes, size, at + 8, &major) || !GetDword(bytes, size, at + 12, &minor))
                return false;
            if ((ttag >> 8) != ('t' | ('y' << 8) | ('3' << 16)))
                return false;
            GUID gMajor, gMinor;
            if (!GetGuid(bytes, size, major, &gMajor) || !GetGuid(bytes, size, minor, &gMinor))
                return false;
            pin.types.emplace_back(gMajor, gMinor);
            at += 16;
        }
        at += size_t(mediums) * 4;
        if (at > size)
            return false;
        d.pins.push_back(std::move(pin));
    }
    *out = std::move(d);
    return true;
}

FilterData FilterDataFromSetup(const AMOVIESETUP_FILTER& setup)
{
    FilterData d;
    d.merit = setup.dwMerit;
    for (UINT i = 0; i < setup.nPins && setup.lpPin; ++i) {
        const AMOVIESETUP_PIN& sp = setup.lpPin[i];
        FilterPinData pin;
        pin.flags = (sp.bZero ? REG_PINFLAG_B_ZERO : 0) | (sp.bRendered ? REG_PINFLAG_B_RENDERER : 0) |
                    (sp.bMany ? REG_PINFLAG_B_MANY : 0) | (sp.bOutput ? REG_PINFLAG_B_OUTPUT : 0);
        for (UINT t = 0; t < sp.nMediaTypes && sp.lpMediaType; ++t) {
            const AMOVIESETUP_MEDIATYPE& mt = sp.lpMediaType[t];
            pin.types.emplace_back(mt.clsMajorType ? *mt.clsMajorType : GUID_NULL,
                                   mt.clsMinorType ? *mt.clsMinorType : GUID_NULL);
        }
        d.pins.push_back(std::move(pin));
    }
    return d;
}

std::string GuidText(const GUID& g)
{
    char buf[40];
    snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", (unsigned)g.Data1,
             g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5],
             g.Data4[6], g.Data4[7]);
    return buf;
}

std::string NarrowText(const WCHAR* text)
{
    if (!text)
        return std::string();
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return std::string();
    std::string s(n - 1, '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &s[0], n, nullptr, nullptr);
    return s;
}

static HRESULT FromWin32(LONG rc) { return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc); }

static LONG SetText(HKEY key, const char* name, const std::string& value)
{
    return RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          DWORD(value.size() + 1));
}

HRESULT RegisterClassKey(const CLSID& clsid, const WCHAR* name, const std::string& serverPath,
                         const char* threadingModel)
{
    if (serverPath.empty())
        return E_FAIL;
    const std::string key = "CLSID\\" + GuidText(clsid);
    HKEY k, server;
    LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
    if (rc != ERROR_SUCCESS)
        return FromWin32(rc);
    rc = SetText(k, nullptr, NarrowText(name));
    if (rc == ERROR_SUCCESS)
        rc = RegCreateKeyExA(k, "InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &server, nullptr);
    RegCloseKey(k);
    if (rc != ERROR_SUCCESS)
        return FromWin32(rc);
    rc = SetText(server, nullptr, serverPath);
    if (rc == ERROR_SUCCESS)
        rc = SetText(server, "ThreadingModel", threadingModel);
    RegCloseKey(server);
    return FromWin32(rc);
}

HRESULT UnregisterClassKey(const CLSID& clsid)
{
    const std::string key = "CLSID\\" + GuidText(clsid);
    LONG rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
    return rc == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(rc);
}

static std::string InstanceKey(const CLSID& clsid)
{
    return "CLSID\\" + GuidText(kLegacyCategory) + "\\Instance\\" + GuidText(clsid);
}

HRESULT RegisterFilterEntry(const CLSID& clsid, const WCHAR* name, const FilterData& data)
{
    HKEY k;
    LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, InstanceKey(clsid).c_str(), 0, nullptr, 0, KEY_WRITE,
                              nullptr, &k, nullptr);
    if (rc != ERROR_SUCCESS)
        return FromWin32(rc);
    std::vector<BYTE> blob = EncodeFilterData(data);
    rc = SetText(k, "FriendlyName", NarrowText(name));
    if (rc == ERROR_SUCCESS)
        rc = SetText(k, "CLSID", GuidText(clsid));
    if (rc == ERROR_SUCCESS)
        rc = RegSetValueExA(k, "FilterData", 0, REG_BINARY, blob.data(), DWORD(blob.size()));
    RegCloseKey(k);
    return FromWin32(rc);
}

HRESULT UnregisterFilterEntry(const CLSID& clsid)
{
    LONG rc = RegDeleteTreeA(HKEY_CLASSES_ROOT, InstanceKey(clsid).c_str());
    return rc == ERROR_FILE_NOT_FOUND ? S_OK : FromWin32(rc);
}

