// Bitmaps and icons in a drawing. The pixels live in an entry shared by every image component
// loaded from the same source (resource id or file path), held once by a process-wide store.
#pragma once
#include "ODPointComponent.h"
#include "SECDib.h"

// The toolkit's DIB: a bitmap file, a bitmap resource or the first image of an icon.
class CODDib : public SECDib
{
    DECLARE_SERIAL(CODDib)

public:
    CODDib() {}
    virtual BOOL LoadBitmapResource(UINT id, CDC* dc);
    virtual BOOL LoadIconFromFile(const char* path, COLORREF background);
    virtual BOOL LoadIconFromResource(UINT id, COLORREF background);
    BOOL LoadImage(LPCTSTR path) override { return SECDib::LoadImage(path); }
};

// One image of an icon set: its bytes as stored in icon files (header, colour table, colour
// bits, mask bits) and where each part starts.
struct ODIconImage {
    int width = 0, height = 0, colors = 0;
    BYTE* bytes = NULL;
    DWORD size = 0;
    BITMAPINFOHEADER* header = NULL;
    BYTE* colorBits = NULL;
    BYTE* maskBits = NULL;
};

struct ODIconSet {
    int count = 0;
    char fileName[MAX_PATH] = {};
    char secondName[MAX_PATH] = {};
    ODIconImage* images = NULL;
};

// Readers of icon files and icon resources: NULL for anything that is not a sound icon set
// of at least one image (counts, sizes, offsets and each image's header are bounded by the
// file or the resource).
ODIconSet* LoadIconFile(const char* path);
ODIconSet* LoadIconResource(HINSTANCE instance, UINT id);
void FreeIconSet(ODIconSet* set);
// Finds the header, colour bits and mask bits of an image's bytes; FALSE when they do not fit.
BOOL LocateIconImageParts(ODIconImage* image);
HICON CreateIconFromImage(const ODIconImage* image);
BOOL IconToDib(SECDib* dib, HICON icon, COLORREF background = RGB(255, 255, 255));
BOOL IconSetImageToDib(SECDib* dib, const ODIconSet* set, int index,
                       COLORREF background = RGB(255, 255, 255));

// Bitmaps with a transparent colour for the list boxes: the mask is black where the source has
// its top-left pixel's colour; the drawing shows the image where the mask is white.
void CreateBitmapMask(CBitmap* source, CBitmap* mask);
void DrawTransparentBitmap(CDC* dc, CBitmap* image, CBitmap* mask, int x, int y, int width,
                           int height);

// The masks that draw an image with one colour left out.
class CODSprite : public CObject
{
    DECLARE_SERIAL(CODSprite)

public:
    explicit CODSprite(SECPixelImage* image = NULL);
    ~CODSprite() override;
    void Serialize(CArchive& ar) override;

    void SetImage(SECPixelImage* image);
    void SetTransparentColor(COLORREF colour);
    COLORREF GetTransparentColor() const { return m_crTransparent; }
    BOOL Rebuild();
    void Draw(CDC* dc, int x, int y, int width, int height, int sx, int sy);
    void DrawStretched(CDC* dc, int x, int y, int width, int height, int sx, int sy, int sw,
                       int sh);
    SECDib* GetMask() const { return m_pMask; }
    SECDib* GetMaskedImage() const { return m_pMasked; }

private:
    void ReleaseCache();
    SECPixelImage* m_pImage;
    COLORREF m_crTransparent;
    SECDib* m_pMask;
    SECDib* m_pMasked;
};

// The shared pixels of image components, reference counted.
class CODImageEntry : public CObject
{
    DECLARE_SERIAL(CODImageEntry)

public:
    CODImageEntry() : m_nRefs(0), m_nResourceId(0) {}
    ~CODImageEntry() override;
    void Serialize(CArchive& ar) override;

    void AddRef() { ++m_nRefs; }
    void Release()
    {
        if (--m_nRefs <= 0)
            delete this;
    }
    int GetRefCount() const { return m_nRefs; }

    BOOL LoadBitmapResource(UINT id, CDC* dc);
    BOOL LoadImageFile(const char* path);
    BOOL CreateFromBitmap(CBitmap* bitmap, CDC* dc);
    BOOL LoadIconFromResource(UINT id, COLORREF background);
    BOOL LoadIconFromFile(const char* path, COLORREF background);
    BOOL ReloadIcon(COLORREF background);
    BOOL IsSameSource(const CODImageEntry* other) const;

    CODDib* GetImage() { return &m_image; }
    UINT GetResourceId() const { return m_nResourceId; }
    const CString& GetPath() const { return m_strPath; }

private:
    int m_nRefs;
    CODDib m_image;
    UINT m_nResourceId;
    CString m_strPath;
};

class CODImageEntryPtr
{
public:
    CODImageEntryPtr(CODImageEntry* entry = NULL) : m_p(entry)
    {
        if (m_p)
            m_p->AddRef();
    }
    CODImageEntryPtr(const CODImageEntryPtr& other) : CODImageEntryPtr(other.m_p) {}
    ~CODImageEntryPtr()
    {
        if (m_p)
            m_p->Release();
    }
    CODImageEntryPtr& operator=(const CODImageEntryPtr& other) { return *this = other.m_p; }
    CODImageEntryPtr& operator=(CODImageEntry* entry)
    {
        if (entry)
            entry->AddRef();
        if (m_p)
            m_p->Release();
        m_p = entry;
        return *this;
    }
    CODImageEntry* operator->() const { return m_p; }
    CODImageEntry* Get() const { return m_p; }
    explicit operator bool() const { return m_p != NULL; }

private:
    CODImageEntry* m_p;
};

// The process-wide list of shared entries; it holds one reference to each.
class CODImageStore
{
public:
    CODImageStore() : m_list(10) {}
    ~CODImageStore();
    CODImageEntryPtr AddShared(const CODImageEntryPtr& candidate);
    void Purge();
    int GetCount() const { return (int)m_list.GetCount(); }
    static CODImageStore& Instance();

private:
    CList<CODImageEntry*, CODImageEntry*> m_list;
};

class CODImageComponent : public CODPointComponent
{
    DECLARE_SERIAL(CODImageComponent)

public:
    CODImageComponent();
    CODImageComponent(const CODImageComponent& other);
    ~CODImageComponent() override;

    void Serialize(CArchive& ar) override;
    CODComponent* Clone() const override { return new CODImageComponent(*this); }
    void OnDraw(CDC* dc) override;
    int OffsetVertex(int i, int dx, int dy) override;

    BOOL CreateFromResource(UINT id, CDC* dc, BOOL transparent, COLORREF colour);
    BOOL CreateFromFile(CString path, BOOL transparent, COLORREF colour);
    BOOL CreateFromBitmap(CBitmap* bitmap, BOOL transparent, COLORREF colour);
    BOOL LoadFromResource(UINT id, CDC* dc, BOOL transparent, COLORREF colour);
    BOOL LoadFromFile(CString path, BOOL transparent, COLORREF colour);
    BOOL LoadFromBitmap(CBitmap* bitmap, BOOL transparent, COLORREF colour);

    BOOL GetTransparent() const { return m_bTransparent; }
    void SetTransparent(BOOL transparent) { m_bTransparent = transparent; }
    COLORREF GetTransparentColor() const { return m_sprite.GetTransparentColor(); }
    void SetTransparency(COLORREF colour);
    BOOL IsLoadedAsIcon() const { return m_bLoadedAsIcon; }
    CODImageEntry* GetImageEntry() const { return m_image.Get(); }
    const CODSprite& GetSprite() const { return m_sprite; }
    void SizeToImage();

private:
    BOOL Loaded(CODImageEntry* entry, BOOL transparent, COLORREF colour);
    BOOL Finish(BOOL loaded);

    CODImageEntryPtr m_image;
    CODSprite m_sprite;
    BOOL m_bTransparent;
    BOOL m_bLoadedAsIcon;
};
