#include "ODImageComponent.h"
#include <vector>
#include "ODClosedShapes.h"
#include "ODEditProperties.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODDib, SECDib, 1)
IMPLEMENT_SERIAL(CODSprite, CObject, 1)
IMPLEMENT_SERIAL(CODImageEntry, CObject, 1)
IMPLEMENT_SERIAL(CODImageComponent, CODPointComponent, VERSIONABLE_SCHEMA | 2)

namespace {

// A memory DC compatible with the screen, deleted with the object.
struct ScreenMemoryDC : CDC {
    ScreenMemoryDC() { CreateCompatibleDC(NULL); }
};

BOOL CopyBitmapIntoImage(SECPixelImage* image, CBitmap* bitmap, CDC* dc)
{
    if (bitmap == NULL || bitmap->GetSafeHandle() == NULL)
        return FALSE;
    if (dc)
        return image->CreateFromBitmap(dc, bitmap);
    ScreenMemoryDC memory;
    return image->CreateFromBitmap(&memory, bitmap);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Icon sets

void FreeIconSet(ODIconSet* set)
{
    if (set == NULL)
        return;
    for (int i = 0; i < set->count; ++i)
        delete[] set->images[i].bytes;
    delete[] set->images;
    delete set;
}

namespace {

ODIconSet* NewIconSet(int count)
{
    ODIconSet* set = new ODIconSet;
    set->count = count;
    set->images = new ODIconImage[count];
    return set;
}

DWORD IconPaletteBytes(const BITMAPINFOHEADER& h)
{
    DWORD colours = h.biClrUsed;
    if (colours == 0)
        colours = h.biBitCount == 1 ? 2 : h.biBitCount == 4 ? 16 : h.biBitCount == 8 ? 256 : 0;
    return colours * 4;
}

}  // namespace

BOOL LocateIconImageParts(ODIconImage* image)
{
    if (image->bytes == NULL || image->size < sizeof(BITMAPINFOHEADER))
        return FALSE;
    BITMAPINFOHEADER* h = (BITMAPINFOHEADER*)image->bytes;
    int bits = h->biPlanes * h->biBitCount;
    // Only what the block holds is read: a header inside it, a sane size, a known depth, a
    // colour table of at most 256 entries, then the colour rows and the mask rows.
    if (h->biSize < sizeof(BITMAPINFOHEADER) || h->biSize > image->size || h->biWidth <= 0 ||
        h->biWidth > 1024 || h->biHeight < 2 || h->biHeight > 2048 || h->biPlanes != 1 ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) ||
        h->biClrUsed > 256)
        return FALSE;
    uint64_t height = (uint64_t)h->biHeight / 2;
    uint64_t colourRow = (((uint64_t)h->biWidth * bits + 31) / 32) * 4;
    uint64_t maskRow = (((uint64_t)h->biWidth + 31) / 32) * 4;
    uint64_t colourAt = (uint64_t)h->biSize + IconPaletteBytes(*h);
    uint64_t maskAt = colourAt + colourRow * height;
    if (maskAt + maskRow * height > image->size)
        return FALSE;
    image->header = h;
    image->width = h->biWidth;
    image->height = (int)height;
    image->colors = bits;
    image->colorBits = image->bytes + colourAt;
    image->maskBits = image->bytes + maskAt;
    return TRUE;
}

ODIconSet* LoadIconFile(const char* path)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, 0, NULL, OPEN_EXISTING, 0, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    ODIconSet* set = NULL;
    DWORD fileSize = ::GetFileSize(file, NULL);
    WORD header[3];
    DWORD got = 0;
    BOOL sound = fileSize != INVALID_FILE_SIZE && ::ReadFile(file, header, 6, &got, NULL) &&
                 got == 6 && header[0] == 0 && header[1] == 1 && header[2] != 0 &&
                 6 + 16 * (DWORD)header[2] <= fileSize;
    if (sound) {
        set = NewIconSet(header[2]);
        lstrcpynA(set->fileName, path, MAX_PATH);
        std::vector<BYTE> directory(16 * (size_t)set->count);
        sound = ::ReadFile(file, directory.data(), (DWORD)directory.size(), &got, NULL) &&
                got == directory.size();
        for (int i = 0; sound && i < set->count; ++i) {
            DWORD size, offset;
            memcpy(&size, &directory[16 * i + 8], 4);
            memcpy(&offset, &directory[16 * i + 12], 4);
            if (size < sizeof(BITMAPINFOHEADER) || offset > fileSize || size > fileSize - offset) {
                sound = FALSE;
                break;
            }
            ODIconImage& image = set->images[i];
            image.bytes = new BYTE[size];
            image.size = size;
            sound = ::SetFilePointer(file, (LONG)offset, NULL, FILE_BEGIN) == offset &&
                    ::ReadFile(file, image.bytes, size, &got, NULL) && got == size &&
                    LocateIconImageParts(&image);
        }
    }
    ::CloseHandle(file);
    if (!sound) {
        FreeIconSet(set);
        return NULL;
    }
    return set;
}

ODIconSet* LoadIconResource(HINSTANCE instance, UINT id)
{
    HRSRC group = ::FindResourceA(instance, MAKEINTRESOURCEA(id), (LPCSTR)RT_GROUP_ICON);
    DWORD groupSize = group ? ::SizeofResource(instance, group) : 0;
    HGLOBAL loaded = groupSize ? ::LoadResource(instance, group) : NULL;
    const BYTE* bytes = loaded ? (const BYTE*)::LockResource(loaded) : NULL;
    if (bytes == NULL || groupSize < 6)
        return NULL;
    WORD count;
    memcpy(&count, bytes + 4, 2);
    if (count == 0 || 6 + 14 * (DWORD)count > groupSize)
        return NULL;
    ODIconSet* set = NewIconSet(count);
    for (int i = 0; i < count; ++i) {
        WORD imageId;
        memcpy(&imageId, bytes + 6 + 14 * i + 12, 2);
        HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(imageId), (LPCSTR)RT_ICON);
        DWORD size = found ? ::SizeofResource(instance, found) : 0;
        HGLOBAL h = size ? ::LoadResource(instance, found) : NULL;
        const void* data = h ? ::LockResource(h) : NULL;
        ODIconImage& image = set->images[i];
        if (data) {
            image.bytes = new BYTE[size];
            image.size = size;
            memcpy(image.bytes, data, size);
        }
        if (data == NULL || !LocateIconImageParts(&image)) {
            FreeIconSet(set);
            return NULL;
        }
    }
    return set;
}

HICON CreateIconFromImage(const ODIconImage* image)
{
    if (image == NULL || image->header == NULL)
        return NULL;
    HICON icon = ::CreateIconFromResourceEx(image->bytes, image->size, TRUE, 0x00030000,
                                            image->header->biWidth, image->header->biHeight / 2,
                                            0);
    if (icon == NULL && image->header->biBitCount != 16)
        icon = ::CreateIconFromResource(image->bytes, image->size, TRUE, 0x00030000);
    return icon;
}

BOOL IconToDib(SECDib* dib, HICON icon, COLORREF background)
{
    ICONINFO info = {};
    if (icon == NULL || !::GetIconInfo(icon, &info))
        return FALSE;
    BOOL done = FALSE;
    BITMAP colour = {};
    if (info.fIcon && info.hbmColor && ::GetObjectA(info.hbmColor, sizeof colour, &colour)) {
        ScreenMemoryDC dc;
        CBitmap bitmap;
        if (bitmap.CreateBitmap(colour.bmWidth, colour.bmHeight, colour.bmPlanes,
                                colour.bmBitsPixel, NULL)) {
            CBitmap* old = dc.SelectObject(&bitmap);
            CBrush brush(background);
            dc.FillRect(CRect(0, 0, colour.bmWidth, colour.bmHeight), &brush);
            ::DrawIconEx(dc.GetSafeHdc(), 0, 0, icon, colour.bmWidth, colour.bmHeight, 0, NULL,
                         DI_NORMAL);
            dc.SelectObject(old);
            done = dib->CreateFromBitmap(&dc, &bitmap);
        }
    }
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return done;
}

BOOL IconSetImageToDib(SECDib* dib, const ODIconSet* set, int index, COLORREF background)
{
    if (set == NULL || index < 0 || index >= set->count)
        return FALSE;
    HICON icon = CreateIconFromImage(&set->images[index]);
    if (icon == NULL)
        return FALSE;
    BOOL done = IconToDib(dib, icon, background);
    ::DestroyIcon(icon);
    return done;
}

// ---------------------------------------------------------------------------------------------
// Bitmap functions

void CreateBitmapMask(CBitmap* source, CBitmap* mask)
{
    BITMAP b = {};
    if (source == NULL || mask == NULL || !source->GetBitmap(&b))
        return;
    mask->DeleteObject();
    mask->CreateBitmap(b.bmWidth, b.bmHeight, 1, 1, NULL);
    ScreenMemoryDC from, to;
    CBitmap* oldFrom = from.SelectObject(source);
    CBitmap* oldTo = to.SelectObject(mask);
    COLORREF old = from.SetBkColor(from.GetPixel(0, 0));
    to.BitBlt(0, 0, b.bmWidth, b.bmHeight, &from, 0, 0, NOTSRCCOPY);
    from.SetBkColor(old);
    from.SelectObject(oldFrom);
    to.SelectObject(oldTo);
}

void DrawTransparentBitmap(CDC* dc, CBitmap* image, CBitmap* mask, int x, int y, int width,
                           int height)
{
    if (dc == NULL || image == NULL || mask == NULL)
        return;
    COLORREF oldBk = dc->SetBkColor(RGB(255, 255, 255));
    COLORREF oldText = dc->SetTextColor(RGB(0, 0, 0));
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(image);
    dc->BitBlt(x, y, width, height, &memory, 0, 0, SRCINVERT);
    memory.SelectObject(mask);
    dc->BitBlt(x, y, width, height, &memory, 0, 0, 0x220326);
    memory.SelectObject(image);
    dc->BitBlt(x, y, width, height, &memory, 0, 0, SRCINVERT);
    memory.SelectObject(old);
    dc->SetBkColor(oldBk);
    dc->SetTextColor(oldText);
}

// ---------------------------------------------------------------------------------------------
// CODDib

BOOL CODDib::LoadBitmapResource(UINT id, CDC* dc)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(id))
        return FALSE;
    return CopyBitmapIntoImage(this, &bitmap, dc);
}

BOOL CODDib::LoadIconFromResource(UINT id, COLORREF background)
{
    ODIconSet* set = LoadIconResource(AfxGetResourceHandle(), id);
    if (set == NULL)
        return FALSE;
    BOOL done = IconSetImageToDib(this, set, 0, background);
    FreeIconSet(set);
    return done;
}

BOOL CODDib::LoadIconFromFile(const char* path, COLORREF background)
{
    ODIconSet* set = LoadIconFile(path);
    if (set == NULL)
        return FALSE;
    BOOL done = IconSetImageToDib(this, set, 0, background);
    FreeIconSet(set);
    return done;
}

// ---------------------------------------------------------------------------------------------
// CODSprite

CODSprite::CODSprite(SECPixelImage* image)
    : m_pImage(image), m_crTransparent(RGB(255, 0, 255)), m_pMask(NULL), m_pMasked(NULL)
{
    Rebuild();
}

CODSprite::~CODSprite()
{
    ReleaseCache();
}

void CODSprite::ReleaseCache()
{
    delete m_pMasked;
    m_pMasked = NULL;
    delete m_pMask;
    m_pMask = NULL;
}

void CODSprite::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)m_crTransparent;
    } else {
        DWORD colour;
        ar >> colour;
        m_crTransparent = colour;
    }
}

void CODSprite::SetImage(SECPixelImage* image)
{
    m_pImage = image;
    Rebuild();
}

void CODSprite::SetTransparentColor(COLORREF colour)
{
    m_crTransparent = colour;
    Rebuild();
}

BOOL CODSprite::Rebuild()
{
    if (m_pImage == NULL || m_pImage->GetWidth() <= 0 || m_pImage->GetHeight() <= 0)
        return FALSE;
    int w = m_pImage->GetWidth(), h = m_pImage->GetHeight();
    ScreenMemoryDC imageDC, maskDC, maskedDC;
    CPalette* oldPalette = NULL;
    if (m_pImage->m_pPalette) {
        oldPalette = imageDC.SelectPalette(m_pImage->m_pPalette, FALSE);
        imageDC.RealizePalette();
    }
    // Device bitmaps compatible with the screen: a memory DC's own format is monochrome.
    CBitmap* pixels = m_pImage->MakeBitmap(NULL);
    if (pixels == NULL)
        return FALSE;
    CBitmap* oldImage = imageDC.SelectObject(pixels);

    CBitmap mask;
    mask.CreateBitmap(w, h, 1, 1, NULL);
    CBitmap* oldMask = maskDC.SelectObject(&mask);
    COLORREF oldBk = imageDC.SetBkColor(m_crTransparent);
    maskDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCCOPY);
    imageDC.SetBkColor(oldBk);
    maskDC.SelectObject(oldMask);
    SECDib* newMask = new SECDib;
    newMask->CreateFromBitmap(&maskDC, &mask);

    CBitmap masked;
    HDC screen = ::GetDC(NULL);
    masked.Attach(::CreateCompatibleBitmap(screen, w, h));
    ::ReleaseDC(NULL, screen);
    CBitmap* oldMasked = maskedDC.SelectObject(&masked);
    oldMask = maskDC.SelectObject(&mask);
    maskedDC.BitBlt(0, 0, w, h, &maskDC, 0, 0, NOTSRCCOPY);
    maskedDC.BitBlt(0, 0, w, h, &imageDC, 0, 0, SRCAND);
    maskDC.SelectObject(oldMask);
    maskedDC.SelectObject(oldMasked);
    SECDib* newMasked = new SECDib;
    newMasked->CreateFromBitmap(&maskedDC, &masked);

    imageDC.SelectObject(oldImage);
    if (oldPalette)
        imageDC.SelectPalette(oldPalette, FALSE);
    delete pixels;
    ReleaseCache();
    m_pMask = newMask;
    m_pMasked = newMasked;
    return TRUE;
}

void CODSprite::Draw(CDC* dc, int x, int y, int width, int height, int sx, int sy)
{
    DrawStretched(dc, x, y, width, height, sx, sy, width, height);
}

void CODSprite::DrawStretched(CDC* dc, int x, int y, int width, int height, int sx, int sy,
                              int sw, int sh)
{
    if (m_pImage == NULL || m_pMask == NULL || m_pMasked == NULL || m_pMask->m_lpBMI == NULL ||
        m_pMasked->m_lpBMI == NULL)
        return;
    CPalette* oldPalette = NULL;
    if (m_pImage->m_pPalette) {
        oldPalette = dc->SelectPalette(m_pImage->m_pPalette, FALSE);
        dc->RealizePalette();
    }
    COLORREF oldBk = dc->SetBkColor(m_crTransparent);
    m_pMask->AlignRows();
    m_pMasked->AlignRows();
    m_pMask->StretchDIBits(dc, x, y, width, height, sx, sy, sw, sh, m_pMask->m_lpSrcBits,
                           m_pMask->m_lpBMI, DIB_RGB_COLORS, SRCAND);
    m_pMasked->StretchDIBits(dc, x, y, width, height, sx, sy, sw, sh, m_pMasked->m_lpSrcBits,
                             m_pMasked->m_lpBMI, DIB_RGB_COLORS, SRCPAINT);
    dc->SetBkColor(oldBk);
    if (oldPalette)
        dc->SelectPalette(oldPalette, FALSE);
}

// ---------------------------------------------------------------------------------------------
// CODImageEntry and the store

CODImageEntry::~CODImageEntry()
{
    m_strPath.Empty();
}

void CODImageEntry::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_nResourceId << m_strPath;
    } else {
        ar >> m_nResourceId >> m_strPath;
    }
    m_image.Serialize(ar);
}

BOOL CODImageEntry::LoadBitmapResource(UINT id, CDC* dc)
{
    m_nResourceId = id;
    m_strPath.Empty();
    return m_image.LoadBitmapResource(id, dc);
}

BOOL CODImageEntry::LoadImageFile(const char* path)
{
    m_strPath = path;
    m_nResourceId = 0;
    return m_image.LoadImage(path);
}

BOOL CODImageEntry::CreateFromBitmap(CBitmap* bitmap, CDC* dc)
{
    m_nResourceId = 0;
    m_strPath.Empty();
    return CopyBitmapIntoImage(&m_image, bitmap, dc);
}

BOOL CODImageEntry::LoadIconFromResource(UINT id, COLORREF background)
{
    m_nResourceId = id;
    m_strPath.Empty();
    return m_image.LoadIconFromResource(id, background);
}

BOOL CODImageEntry::LoadIconFromFile(const char* path, COLORREF background)
{
    m_strPath = path;
    m_nResourceId = 0;
    return m_image.LoadIconFromFile(path, background);
}

BOOL CODImageEntry::ReloadIcon(COLORREF background)
{
    if (m_nResourceId)
        return LoadIconFromResource(m_nResourceId, background);
    if (!m_strPath.IsEmpty())
        return LoadIconFromFile(CString(m_strPath), background);
    return FALSE;
}

BOOL CODImageEntry::IsSameSource(const CODImageEntry* other) const
{
    if (other == NULL)
        return FALSE;
    if (m_nResourceId != 0 && m_nResourceId == other->m_nResourceId)
        return TRUE;
    return !m_strPath.IsEmpty() && m_strPath == other->m_strPath;
}

CODImageStore::~CODImageStore()
{
    while (!m_list.IsEmpty())
        m_list.RemoveHead()->Release();
}

CODImageStore& CODImageStore::Instance()
{
    static CODImageStore store;
    return store;
}

CODImageEntryPtr CODImageStore::AddShared(const CODImageEntryPtr& candidate)
{
    if (!candidate)
        return candidate;
    for (POSITION at = m_list.GetHeadPosition(); at;) {
        CODImageEntry* stored = m_list.GetNext(at);
        if (stored->IsSameSource(candidate.Get()))
            return CODImageEntryPtr(stored);
    }
    candidate->AddRef();
    m_list.AddTail(candidate.Get());
    Purge();
    return candidate;
}

void CODImageStore::Purge()
{
    for (POSITION at = m_list.GetHeadPosition(); at;) {
        POSITION here = at;
        CODImageEntry* stored = m_list.GetNext(at);
        if (stored->GetRefCount() <= 1) {
            m_list.RemoveAt(here);
            stored->Release();
        }
    }
}

// ---------------------------------------------------------------------------------------------
// CODImageComponent

CODImageComponent::CODImageComponent() : m_sprite(NULL), m_bTransparent(FALSE), m_bLoadedAsIcon(FALSE)
{
}

CODImageComponent::CODImageComponent(const CODImageComponent& other)
    : CODPointComponent(other), m_image(other.m_image), m_sprite(NULL),
      m_bTransparent(other.m_bTransparent), m_bLoadedAsIcon(other.m_bLoadedAsIcon)
{
    SetTransparency(other.GetTransparentColor());
    m_sprite.SetImage(m_image ? m_image->GetImage() : NULL);
}

CODImageComponent::~CODImageComponent()
{
}

BOOL CODImageComponent::Loaded(CODImageEntry* entry, BOOL transparent, COLORREF colour)
{
    m_image = CODImageStore::Instance().AddShared(CODImageEntryPtr(entry)).Get();
    m_bTransparent = transparent;
    m_sprite.SetTransparentColor(colour);
    m_sprite.SetImage(m_image->GetImage());
    SizeToImage();
    return TRUE;
}

BOOL CODImageComponent::LoadFromResource(UINT id, CDC* dc, BOOL transparent, COLORREF colour)
{
    CODImageEntryPtr entry(new CODImageEntry);
    BOOL icon = FALSE;
    if (!entry->LoadBitmapResource(id, dc)) {
        if (!entry->LoadIconFromResource(id, colour))
            return FALSE;
        icon = TRUE;
    }
    m_bLoadedAsIcon = icon;
    return Loaded(entry.Get(), transparent, colour);
}

BOOL CODImageComponent::LoadFromFile(CString path, BOOL transparent, COLORREF colour)
{
    CODImageEntryPtr entry(new CODImageEntry);
    BOOL icon = FALSE;
    if (!entry->LoadImageFile(path)) {
        if (!entry->LoadIconFromFile(path, colour))
            return FALSE;
        icon = TRUE;
    }
    m_bLoadedAsIcon = icon;
    return Loaded(entry.Get(), transparent, colour);
}

BOOL CODImageComponent::LoadFromBitmap(CBitmap* bitmap, BOOL transparent, COLORREF colour)
{
    CODImageEntryPtr entry(new CODImageEntry);
    if (!entry->CreateFromBitmap(bitmap, NULL))
        return FALSE;
    m_bLoadedAsIcon = FALSE;
    return Loaded(entry.Get(), transparent, colour);
}

BOOL CODImageComponent::Finish(BOOL loaded)
{
    if (!loaded)
        return FALSE;
    if (!CODPointComponent::Create(IDS_OD_IMAGE))
        return FALSE;
    CODEditProperties edit(40);
    GetProperty(40, edit);
    edit.SetCanRotate(FALSE);
    SetOrAddProperty(edit);
    return TRUE;
}

BOOL CODImageComponent::CreateFromResource(UINT id, CDC* dc, BOOL transparent, COLORREF colour)
{
    return Finish(LoadFromResource(id, dc, transparent, colour));
}

BOOL CODImageComponent::CreateFromFile(CString path, BOOL transparent, COLORREF colour)
{
    return Finish(LoadFromFile(path, transparent, colour));
}

BOOL CODImageComponent::CreateFromBitmap(CBitmap* bitmap, BOOL transparent, COLORREF colour)
{
    return Finish(LoadFromBitmap(bitmap, transparent, colour));
}

void CODImageComponent::SetTransparency(COLORREF colour)
{
    if (m_bLoadedAsIcon && m_image)
        m_image->ReloadIcon(colour);
    m_sprite.SetTransparentColor(colour);
}

void CODImageComponent::SizeToImage()
{
    if (!m_image)
        return;
    int w = m_image->GetImage()->GetWidth(), h = m_image->GetImage()->GetHeight();
    CPoint topLeft(0, 0);
    if (m_nCount > 3) {
        CPoint v0 = m_pVertices[0], v2 = m_pVertices[2];
        topLeft = CPoint(v0.x + ((v2.x - v0.x - w) >> 1), v0.y + ((v2.y - v0.y - h) >> 1));
    }
    CPoint v[4] = {topLeft, CPoint(topLeft.x + w, topLeft.y), CPoint(topLeft.x + w, topLeft.y + h),
                   CPoint(topLeft.x, topLeft.y + h)};
    SetVertices(v, 4);
    UpdateRegion(FALSE);
}

void CODImageComponent::OnDraw(CDC* dc)
{
    if (m_bFeedback) {
        dc->Polygon(DrawingVertices(), m_nCount);
        return;
    }
    // A component that never loaded, or one read from a damaged stream, has nothing to show.
    if (!m_image || m_nCount < 4)
        return;
    CODDib* dib = m_image->GetImage();
    if (dib->m_lpBMI == NULL || dib->GetWidth() <= 0 || dib->GetHeight() <= 0)
        return;
    CPoint a = DrawingVertices()[0], b = DrawingVertices()[2];
    if (m_bTransparent) {
        m_sprite.DrawStretched(dc, a.x, a.y, b.x - a.x, b.y - a.y, 0, 0, dib->GetWidth(),
                               dib->GetHeight());
    } else {
        dib->AlignRows();
        dib->StretchDIBits(dc, a.x, a.y, b.x - a.x, b.y - a.y, 0, 0, dib->GetWidth(),
                           dib->GetHeight(), dib->m_lpSrcBits, dib->m_lpBMI, DIB_RGB_COLORS,
                           SRCCOPY);
    }
}

int CODImageComponent::OffsetVertex(int i, int dx, int dy)
{
    if (i < 0 || i >= m_nCount)
        return 3;
    return ODOffsetBoxCorner(this, i, LocalOffset(i, dx, dy));
}

void CODImageComponent::Serialize(CArchive& ar)
{
    CODImageStore::Instance().Purge();
    if (ar.IsStoring()) {
        ar << (DWORD)2;
        if (m_image) {
            m_image->Serialize(ar);
        } else {
            CODImageEntry empty;
            empty.Serialize(ar);
        }
        ar << m_bTransparent << m_bLoadedAsIcon;
        m_sprite.Serialize(ar);
    } else {
        DWORD version;
        ar >> version;
        CODImageEntryPtr entry(new CODImageEntry);
        entry->Serialize(ar);
        ar >> m_bTransparent;
        m_bLoadedAsIcon = FALSE;
        if (version >= 2)
            ar >> m_bLoadedAsIcon;
        m_sprite.Serialize(ar);
        m_image = CODImageStore::Instance().AddShared(entry).Get();
        m_sprite.SetImage(m_image->GetImage());
    }
    CODPointComponent::Serialize(ar);
}
