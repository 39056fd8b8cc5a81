#include "ODMetafileComponent.h"
#include <vector>
#include "ODClosedShapes.h"
#include "ODGeometry.h"
#include "ODMeasure.h"
#include "diagram_res.h"

IMPLEMENT_SERIAL(CODMetafileComponent, CODPointComponent, VERSIONABLE_SCHEMA | 1)

CODMetafileComponent::CODMetafileComponent(const CODMetafileComponent& other)
    : CODPointComponent(other), m_hMetafile(NULL)
{
    if (other.m_hMetafile)
        m_hMetafile = ::CopyEnhMetaFileA(other.m_hMetafile, NULL);
}

CODMetafileComponent::~CODMetafileComponent()
{
    if (m_hMetafile)
        ::DeleteEnhMetaFile(m_hMetafile);
}

BOOL CODMetafileComponent::IsSoundMetafile(const BYTE* bytes, size_t size)
{
    if (bytes == NULL || size < sizeof(ENHMETAHEADER) || size > 0xFFFFFFFFu)
        return FALSE;
    const ENHMETAHEADER* header = (const ENHMETAHEADER*)bytes;
    if (header->iType != EMR_HEADER || header->dSignature != ENHMETA_SIGNATURE ||
        header->nBytes != size)
        return FALSE;
    size_t at = 0;
    DWORD last = 0;
    while (at < size) {
        if (size - at < 8)
            return FALSE;
        DWORD type, length;
        memcpy(&type, bytes + at, 4);
        memcpy(&length, bytes + at + 4, 4);
        if (length < 8 || length % 4 != 0 || length > size - at)
            return FALSE;
        last = type;
        at += length;
    }
    return last == EMR_EOF;
}

void CODMetafileComponent::Serialize(CArchive& ar)
{
    CODPointComponent::Serialize(ar);
    if (ar.IsStoring()) {
        ar << (DWORD)1;
        UINT n = m_hMetafile ? ::GetEnhMetaFileBits(m_hMetafile, 0, NULL) : 0;
        std::vector<BYTE> bytes(n);
        if (n && ::GetEnhMetaFileBits(m_hMetafile, n, bytes.data()) != n)
            n = 0;
        ar << (DWORD)n;
        if (n)
            ar.Write(bytes.data(), n);
        return;
    }
    DWORD version, n;
    ar >> version >> n;
    DeleteMetafile();
    if (m_hMetafile) {
        ::DeleteEnhMetaFile(m_hMetafile);
        m_hMetafile = NULL;
    }
    if (n == 0)
        return;
    AfxCheckStoredCount(ar, n, 1);
    std::vector<BYTE> bytes(n);
    if (ar.Read(bytes.data(), n) != n)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    // Only a whole record chain reaches the metafile reader.
    if (!IsSoundMetafile(bytes.data(), n) || (m_hMetafile = ::SetEnhMetaFileBits(n, bytes.data())) == NULL)
        AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
}

BOOL CODMetafileComponent::Create(const CRect& r)
{
    CPoint v[4] = {CPoint(r.left, r.top), CPoint(r.right, r.top), CPoint(r.right, r.bottom),
                   CPoint(r.left, r.bottom)};
    SetVertices(v, 4);
    return CODComponent::Create(IDS_OD_METAFILE);
}

int CODMetafileComponent::OffsetVertex(int i, int dx, int dy)
{
    if (i < 0 || i >= m_nCount)
        return 3;
    return ODOffsetBoxCorner(this, i, LocalOffset(i, dx, dy));
}

BOOL CODMetafileComponent::DeleteMetafile()
{
    if (m_hMetafile == NULL)
        return FALSE;
    BOOL done = ::DeleteEnhMetaFile(m_hMetafile);
    if (done == 1)
        m_hMetafile = NULL;
    return done;
}

BOOL CODMetafileComponent::LoadFile(LPCTSTR path)
{
    DeleteMetafile();
    m_hMetafile = ::GetEnhMetaFileA(path);
    return m_hMetafile != NULL;
}

BOOL CODMetafileComponent::LoadFromResource(LPCTSTR name, HINSTANCE instance)
{
    DeleteMetafile();
    HRSRC found = ::FindResourceA(instance, name, "Metafile");
    DWORD size = found ? ::SizeofResource(instance, found) : 0;
    HGLOBAL loaded = size ? ::LoadResource(instance, found) : NULL;
    const BYTE* bytes = loaded ? (const BYTE*)::LockResource(loaded) : NULL;
    if (!IsSoundMetafile(bytes, size))
        return FALSE;
    m_hMetafile = ::SetEnhMetaFileBits(size, bytes);
    return m_hMetafile != NULL;
}

BOOL CODMetafileComponent::LoadFromResource(LPCTSTR name)
{
    return LoadFromResource(name, AfxGetResourceHandle());
}

UINT CODMetafileComponent::GetHeader(ENHMETAHEADER* header, UINT size)
{
    return m_hMetafile ? ::GetEnhMetaFileHeader(m_hMetafile, size, header) : 0;
}

BOOL CODMetafileComponent::GetFrameSize(CODMeasure& width, CODMeasure& height)
{
    ENHMETAHEADER header;
    if (m_hMetafile == NULL || GetHeader(&header, sizeof(header)) == 0)
        return FALSE;
    width = CODMeasure(4, (header.rclFrame.right - header.rclFrame.left) / 100.0f);
    height = CODMeasure(4, (header.rclFrame.bottom - header.rclFrame.top) / 100.0f);
    return TRUE;
}

BOOL CODMetafileComponent::SizeToFrame(CODCoordinateMapping* mapping)
{
    CODMeasure w, h;
    if (mapping == NULL || !GetFrameSize(w, h))
        return FALSE;
    float cx, cy;
    mapping->MeasureToLogical(w, cx, FALSE);
    mapping->MeasureToLogical(h, cy, TRUE);
    Resize(CSize(RoundToInt(cx), RoundToInt(cy)));
    return TRUE;
}

int CODMetafileComponent::GetDescription(CString& description)
{
    description.Empty();
    if (m_hMetafile == NULL)
        return 0;
    UINT length = ::GetEnhMetaFileDescriptionA(m_hMetafile, 0, NULL);
    if (length == 0 || length == GDI_ERROR)
        return 0;
    std::vector<char> buffer(length + 1, 0);
    ::GetEnhMetaFileDescriptionA(m_hMetafile, length, buffer.data());
    description = CString(buffer.data(), (int)length);
    return (int)length;
}

void CODMetafileComponent::OnDraw(CDC* dc)
{
    CRect box = GetBounds();
    dc->Rectangle(&box);
    if (m_bFeedback || m_hMetafile == NULL)
        return;
    dc->SaveDC();
    CRect device = box;
    dc->LPtoDP(&device);
    device.NormalizeRect();
    CRgn clip;
    if (clip.CreateRectRgnIndirect(&device))
        dc->SelectClipRgn(&clip);
    dc->PlayMetaFile(m_hMetafile, &box);
    dc->RestoreDC(-1);
}
