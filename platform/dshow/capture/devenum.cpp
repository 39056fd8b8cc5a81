// System device enumerator: the capture devices of a category as monikers, whose property
// bags carry "FriendlyName" and which bind to the device's capture filter.
#include "classes.h"
#include "devices.h"
#include <new>
#include <vector>

namespace {

// The reference counting and interface answer of the enumerator's small objects: each
// names the interfaces it answers for besides IUnknown.
template <class Interface>
class CSimpleObject : public Interface {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || Answers(riid)) {
            *ppv = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&m_ref); }
    STDMETHODIMP_(ULONG) Release() override
    {
        LONG r = InterlockedDecrement(&m_ref);
        if (!r)
            delete this;
        return r;
    }

protected:
    virtual ~CSimpleObject() = default;
    virtual bool Answers(REFIID riid) const = 0;

private:
    LONG m_ref = 1;
};

BSTR Bstr(const std::string& ansi)
{
    int n = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    BSTR b = SysAllocStringLen(nullptr, n > 0 ? n - 1 : 0);
    if (b && n > 0)
        MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, b, n);
    return b;
}

// Read-only bag of the device's values.
class CDevicePropertyBag final : public CSimpleObject<IPropertyBag> {
public:
    CDevicePropertyBag(const CaptureDevice& d, REFCLSID category) : m_device(d), m_category(category) {}
    STDMETHODIMP Read(LPCOLESTR name, VARIANT* value, IErrorLog*) override
    {
        if (!name || !value)
            return E_POINTER;
        std::string text;
        if (!lstrcmpiW(name, L"FriendlyName"))
            text = m_device.name;
        else if (!lstrcmpiW(name, L"DevicePath"))
            text = m_device.path;
        else
            return E_INVALIDARG;
        VARTYPE wanted = V_VT(value);
        if (wanted != VT_EMPTY && wanted != VT_BSTR)
            return E_FAIL;
        V_VT(value) = VT_BSTR;
        V_BSTR(value) = Bstr(text);
        return V_BSTR(value) ? S_OK : E_OUTOFMEMORY;
    }
    STDMETHODIMP Write(LPCOLESTR, VARIANT*) override { return E_ACCESSDENIED; }

private:
    bool Answers(REFIID riid) const override { return IsEqualIID(riid, IID_IPropertyBag); }
    CaptureDevice m_device;
    CLSID m_category;
};

class CDeviceMoniker final : public CSimpleObject<IMoniker> {
public:
    CDeviceMoniker(const CaptureDevice& d, REFCLSID category, int index) : m_device(d), m_category(category), m_index(index) {}
    // IPersist / IPersistStream: a device moniker is not stored.
    STDMETHODIMP GetClassID(CLSID* id) override
    {
        if (!id)
            return E_POINTER;
        *id = CLSID_CDeviceMoniker;
        return S_OK;
    }
    STDMETHODIMP IsDirty() override { return S_FALSE; }
    STDMETHODIMP Load(IStream*) override { return E_NOTIMPL; }
    STDMETHODIMP Save(IStream*, BOOL) override { return E_NOTIMPL; }
    STDMETHODIMP GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

    STDMETHODIMP BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        IBaseFilter* filter = nullptr;
        HRESULT hr = CreateCaptureFilter(m_device, &filter);
        if (FAILED(hr))
            return hr;
        hr = filter->QueryInterface(riid, ppv);
        filter->Release();
        return hr;
    }
    STDMETHODIMP BindToStorage(IBindCtx*, IMoniker*, REFIID riid, void** ppv) override
    {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (!IsEqualIID(riid, IID_IPropertyBag))
            return E_NOINTERFACE;
        CDevicePropertyBag* bag = new (std::nothrow) CDevicePropertyBag(m_device, m_category);
        if (!bag)
            return E_OUTOFMEMORY;
        *ppv = static_cast<IPropertyBag*>(bag);
        return S_OK;
    }
    STDMETHODIMP Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker** reduced) override
    {
        if (reduced) {
            *reduced = this;
            AddRef();
        }
        return MK_S_REDUCED_TO_SELF;
    }
    STDMETHODIMP ComposeWith(IMoniker*, BOOL, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP Enum(BOOL, IEnumMoniker** e) override
    {
        if (e)
            *e = nullptr;
        return S_OK;
    }
    STDMETHODIMP IsEqual(IMoniker* other) override
    {
        LPOLESTR a = nullptr, b = nullptr;
        HRESULT hr = S_FALSE;
        if (other && SUCCEEDED(GetDisplayName(nullptr, nullptr, &a)) &&
            SUCCEEDED(other->GetDisplayName(nullptr, nullptr, &b)))
            hr = lstrcmpW(a, b) == 0 ? S_OK : S_FALSE;
        CoTaskMemFree(a);
        CoTaskMemFree(b);
        return hr;
    }
    STDMETHODIMP Hash(DWORD* hash) override
    {
        if (!hash)
            return E_POINTER;
        *hash = DWORD(m_index) ^ m_category.Data1;
        return S_OK;
    }
    STDMETHODIMP IsRunning(IBindCtx*, IMoniker*, IMoniker*) override { return S_FALSE; }
    STDMETHODIMP GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) override { return E_NOTIMPL; }
    STDMETHODIMP Inverse(IMoniker**) override { return MK_E_NOINVERSE; }
    STDMETHODIMP CommonPrefixWith(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP RelativePathTo(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name) override
    {
        if (!name)
            return E_POINTER;
        std::string text = "@device:quorvel:" + GuidText(m_category) + "\\" + m_device.path;
        int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
        *name = static_cast<LPOLESTR>(CoTaskMemAlloc(n * sizeof(WCHAR)));
        if (!*name)
            return E_OUTOFMEMORY;
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, *name, n);
        return S_OK;
    }
    STDMETHODIMP ParseDisplayName(IBindCtx*, IMoniker*, LPOLESTR, ULONG*, IMoniker**) override { return E_NOTIMPL; }
    STDMETHODIMP IsSystemMoniker(DWORD* kind) override
    {
        if (kind)
            *kind = MKSYS_NONE;
        return S_FALSE;
    }

private:
    bool Answers(REFIID riid) const override
    {
        return IsEqualIID(riid, IID_IPersist) || IsEqualIID(riid, IID_IPersistStream) || IsEqualIID(riid, IID_IMoniker);
    }
    CaptureDevice m_device;
    CLSID m_category;
    int m_index;
};

class CMonikerList final : public CSimpleObject<IEnumMoniker> {
public:
    explicit CMonikerList(std::vector<IMoniker*> items, size_t pos = 0) : m_items(std::move(items)), m_pos(pos)
    {
        for (IMoniker* m : m_items)
            m->AddRef();
    }
    STDMETHODIMP Next(ULONG count, IMoniker** out, ULONG* fetched) override
    {
        if (!out || (count > 1 && !fetched))
            return E_POINTER;
        ULONG n = 0;
        while (n < count && m_pos < m_items.size()) {
            out[n] = m_items[m_pos++];
            out[n++]->AddRef();
        }
        if (fetched)
            *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    STDMETHODIMP Skip(ULONG count) override
    {
        m_pos = std::min(m_items.size(), m_pos + count);
        return m_pos < m_items.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP Reset() override
    {
        m_pos = 0;
        return S_OK;
    }
    STDMETHODIMP Clone(IEnumMoniker** e) override
    {
        if (!e)
            return E_POINTER;
        *e = new (std::nothrow) CMonikerList(m_items, m_pos);
        return *e ? S_OK : E_OUTOFMEMORY;
    }

private:
    ~CMonikerList() override
    {
        for (IMoniker* m : m_items)
            m->Release();
    }
    bool Answers(REFIID riid) const override { return IsEqualIID(riid, IID_IEnumMoniker); }
    std::vector<IMoniker*> m_items;
    size_t m_pos;
};

class CSystemDeviceEnum : public CUnknown, public ICreateDevEnum {
public:
    CSystemDeviceEnum(LPUNKNOWN pUnk, HRESULT* phr) : CUnknown(NAME("System device enumerator"), pUnk, phr) {}
    static CUnknown* CALLBACK CreateInstance(LPUNKNOWN pUnk, HRESULT* phr)
    {
        CUnknown* p = new (std::nothrow) CSystemDeviceEnum(pUnk, phr);
        if (!p && phr)
            *phr = E_OUTOFMEMORY;
        return p;
    }
    DECLARE_IUNKNOWN
    STDMETHODIMP NonDelegatingQueryInterface(REFIID riid, void** ppv) override
    {
        if (IsEqualIID(riid, IID_ICreateDevEnum))
            return GetInterface(static_cast<ICreateDevEnum*>(this), ppv);
        return CUnknown::NonDelegatingQueryInterface(riid, ppv);
    }

    // S_FALSE and no enumerator when the category has no device (as callers expect).
    STDMETHODIMP CreateClassEnumerator(REFCLSID category, IEnumMoniker** ppEnum, DWORD) override
    {
        if (!ppEnum)
            return E_POINTER;
        *ppEnum = nullptr;
        const bool video = IsEqualGUID(category, CLSID_VideoInputDeviceCategory);
        if (!video && !IsEqualGUID(category, CLSID_AudioInputDeviceCategory))
            return S_FALSE;
        std::vector<CaptureDevice> devices = ListCaptureDevices(video);
        if (devices.empty())
            return S_FALSE;
        std::vector<IMoniker*> monikers;
        for (size_t i = 0; i < devices.size(); ++i)
            monikers.push_back(new CDeviceMoniker(devices[i], category, int(i)));
        CMonikerList* list = new (std::nothrow) CMonikerList(monikers);
        for (IMoniker* m : monikers)
            m->Release();
        if (!list)
            return E_OUTOFMEMORY;
        *ppEnum = list;
        return S_OK;
    }
};

} // namespace

DSHOW_SERVED_CLASS(L"System Device Enum", &CLSID_SystemDeviceEnum, CSystemDeviceEnum::CreateInstance);
