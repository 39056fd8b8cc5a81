#include "ODPageSettings.h"
#include <afxdlgs.h>
#include <winspool.h>

IMPLEMENT_SERIAL(CODPageSettings, CObject, VERSIONABLE_SCHEMA | 1)

namespace {

struct PaperEntry {
    int units, width, height;
};

// Paper codes 1 to 41: units and portrait size.
const PaperEntry kPapers[] = {
    {4, 8500, 11000},  {4, 8500, 11000},  {4, 11000, 17000}, {4, 17000, 11000}, {4, 8500, 14000},
    {4, 5500, 8500},   {4, 7250, 10500},  {8, 29700, 42000}, {8, 21000, 29700}, {8, 21000, 29700},
    {8, 14800, 21000}, {8, 25000, 35400}, {8, 18200, 25700}, {4, 8500, 13000},  {8, 21500, 27500},
    {4, 10000, 14000}, {4, 11000, 17000}, {4, 8500, 11000},  {4, 3875, 8875},   {4, 4125, 9500},
    {4, 4500, 10375},  {4, 4750, 11000},  {4, 5000, 11500},  {4, 17000, 22000}, {4, 22000, 34000},
    {4, 34000, 44000}, {8, 11000, 22000}, {8, 16200, 22900}, {8, 32400, 45800}, {8, 22900, 32400},
    {8, 11400, 16200}, {8, 11400, 22900}, {8, 25000, 35300}, {8, 17600, 25000}, {8, 17600, 12500},
    {8, 11000, 23000}, {4, 3875, 7500},   {4, 3625, 6500},   {4, 14875, 11000}, {4, 8500, 12000},
    {4, 8500, 13000},
};

const DWORD kUnitFlags = PSD_INTHOUSANDTHSOFINCHES | PSD_INHUNDREDTHSOFMILLIMETERS;

// A string of a DEVNAMES block: inside the block and terminated within it.
bool ValidOffset(const BYTE* base, SIZE_T size, WORD offset)
{
    if (offset < sizeof(DEVNAMES) || offset >= size)
        return false;
    return memchr(base + offset, 0, size - offset) != NULL;
}

class LockedBlock
{
public:
    explicit LockedBlock(HGLOBAL h) : m_h(h), m_p(h ? (BYTE*)::GlobalLock(h) : NULL) {}
    ~LockedBlock()
    {
        if (m_p)
            ::GlobalUnlock(m_h);
    }
    BYTE* Get() const { return m_p; }
    SIZE_T Size() const { return m_h ? ::GlobalSize(m_h) : 0; }

private:
    HGLOBAL m_h;
    BYTE* m_p;
};

}  // namespace

BOOL ODValidDevNames(HGLOBAL devNames)
{
    LockedBlock block(devNames);
    const BYTE* p = block.Get();
    SIZE_T size = block.Size();
    if (p == NULL || size < sizeof(DEVNAMES))
        return FALSE;
    const DEVNAMES* dn = (const DEVNAMES*)p;
    return ValidOffset(p, size, dn->wDriverOffset) && ValidOffset(p, size, dn->wDeviceOffset) &&
           ValidOffset(p, size, dn->wOutputOffset);
}

BOOL ODValidDevMode(HGLOBAL devMode)
{
    LockedBlock block(devMode);
    const DEVMODEA* dm = (const DEVMODEA*)block.Get();
    SIZE_T size = block.Size();
    if (dm == NULL || size < offsetof(DEVMODEA, dmFields) + sizeof(dm->dmFields))
        return FALSE;
    if (dm->dmSize < offsetof(DEVMODEA, dmFields) + sizeof(dm->dmFields) ||
        (SIZE_T)dm->dmSize + dm->dmDriverExtra > size)
        return FALSE;
    return memchr(dm->dmDeviceName, 0, sizeof(dm->dmDeviceName)) != NULL;
}

HGLOBAL CopyGlobalHandle(HGLOBAL handle)
{
    if (handle == NULL)
        return NULL;
    SIZE_T size = ::GlobalSize(handle);
    LockedBlock source(handle);
    if (source.Get() == NULL && size != 0)
        return NULL;
    HGLOBAL copy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (copy == NULL)
        return NULL;
    if (size) {
        BYTE* target = (BYTE*)::GlobalLock(copy);
        memcpy(target, source.Get(), size);
        ::GlobalUnlock(copy);
    }
    return copy;
}

BOOL GetPaperSize(HGLOBAL devMode, int* units, CSize* size)
{
    if (!ODValidDevMode(devMode))
        return FALSE;
    LockedBlock block(devMode);
    const DEVMODEA* dm = (const DEVMODEA*)block.Get();
    if ((dm->dmFields & (DM_PAPERLENGTH | DM_PAPERWIDTH)) == (DM_PAPERLENGTH | DM_PAPERWIDTH)) {
        *units = 8;
        size->cx = dm->dmPaperWidth * 10;
        size->cy = dm->dmPaperLength * 10;
        return TRUE;
    }
    if (!(dm->dmFields & DM_PAPERSIZE))
        return FALSE;
    int width = 0, height = 0;
    int code = dm->dmPaperSize;
    if (code >= 1 && code <= (int)(sizeof(kPapers) / sizeof(kPapers[0]))) {
        *units = kPapers[code - 1].units;
        width = kPapers[code - 1].width;
        height = kPapers[code - 1].height;
    }
    if (dm->dmOrientation == DMORIENT_PORTRAIT) {
        *size = CSize(width, height);
        return TRUE;
    }
    if (dm->dmOrientation == DMORIENT_LANDSCAPE) {
        *size = CSize(height, width);
        return TRUE;
    }
    return FALSE;
}

int PageUnitsForMeasureUnit(WORD unit)
{
    return unit >= 4 && unit <= 7 ? 8 : 4;
}

int ConvertPageUnits(int value, int fromUnits, int toUnits)
{
    if (fromUnits == toUnits)
        return value;
    const bool fromMetric = fromUnits == 8, toMetric = toUnits == 8;
    float measure = (float)value / (fromMetric ? 100.0f : 1000.0f);
    if (fromMetric != toMetric)
        measure = measure * (toMetric ? 25.4f : 1.0f / 25.4f);
    // The measure is a single-precision value; the last step scales it in double and truncates.
    return (int)((double)measure * (toMetric ? 100.0 : 1000.0));
}

int GetDevNamesSize(const DEVNAMES* devNames)
{
    if (devNames == NULL)
        return 0;
    const char* base = (const char*)devNames;
    return lstrlenA(base + devNames->wDriverOffset) + lstrlenA(base + devNames->wDeviceOffset) +
           lstrlenA(base + devNames->wOutputOffset) + 11;
}

int GetDevModeSize(HGLOBAL devNames)
{
    if (!ODValidDevNames(devNames))
        return 0;
    LockedBlock block(devNames);
    const DEVNAMES* dn = (const DEVNAMES*)block.Get();
    LPSTR device = (LPSTR)block.Get() + dn->wDeviceOffset;
    HANDLE printer = NULL;
    if (!::OpenPrinterA(device, &printer, NULL))
        return 0;
    LONG size = ::DocumentPropertiesA(NULL, printer, device, NULL, NULL, 0);
    ::ClosePrinter(printer);
    return size > 0 ? (int)size : 0;
}

// ---------------------------------------------------------------------------------------------

CODPageSettings::CODPageSettings()
{
    memset(&m_psd, 0, sizeof(m_psd));
    SetDefaults();
}

CODPageSettings::CODPageSettings(const CODPageSettings& other) : CObject()
{
    memset(&m_psd, 0, sizeof(m_psd));
    SetPageSetup(&other.m_psd);
}

CODPageSettings& CODPageSettings::operator=(const CODPageSettings& other)
{
    if (this != &other)
        SetPageSetup(&other.m_psd);
    return *this;
}

CODPageSettings::~CODPageSettings()
{
    FreeBlock(m_psd.hDevNames);
    FreeBlock(m_psd.hDevMode);
}

void CODPageSettings::FreeBlock(HGLOBAL& block)
{
    if (block)
        ::GlobalFree(block);
    block = NULL;
}

HGLOBAL CODPageSettings::ReadBlock(CArchive& ar, DWORD length)
{
    AfxCheckStoredCount(ar, length, 1);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, length);
    if (block == NULL)
        AfxThrowMemoryException();
    if (length) {
        BYTE* p = (BYTE*)::GlobalLock(block);
        UINT read = ar.Read(p, length);
        ::GlobalUnlock(block);
        if (read != length) {
            ::GlobalFree(block);
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        }
    }
    return block;
}

void CODPageSettings::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << (DWORD)1;
        HGLOBAL blocks[2] = {m_psd.hDevNames, m_psd.hDevMode};
        for (HGLOBAL h : blocks) {
            LockedBlock block(h);
            DWORD size = block.Get() ? (DWORD)block.Size() : 0;
            ar << (LONG)size;
            if (size)
                ar.Write(block.Get(), size);
        }
        ar << (DWORD)m_psd.Flags << (LONG)m_psd.ptPaperSize.x << (LONG)m_psd.ptPaperSize.y
           << m_psd.rtMinMargin << m_psd.rtMargin;
        return;
    }
    DWORD version;
    LONG length;
    ar >> version >> length;
    if (length < 0)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    HGLOBAL devNames = ReadBlock(ar, (DWORD)length);
    HGLOBAL devMode = NULL;
    DWORD flags;
    LONG cx, cy;
    RECT minMargins, margins;
    try {
        ar >> length;
        if (length < 0)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        devMode = ReadBlock(ar, (DWORD)length);
        ar >> flags >> cx >> cy >> minMargins >> margins;
    } catch (...) {
        FreeBlock(devNames);
        FreeBlock(devMode);
        throw;
    }
    FreeBlock(m_psd.hDevNames);
    FreeBlock(m_psd.hDevMode);
    m_psd.hDevNames = devNames;
    m_psd.hDevMode = devMode;
    m_psd.Flags = flags;
    m_psd.ptPaperSize.x = cx;
    m_psd.ptPaperSize.y = cy;
    m_psd.rtMinMargin = minMargins;
    m_psd.rtMargin = margins;
}

void CODPageSettings::SerializeOldFormat(CArchive& ar)
{
    if (ar.IsStoring())
        return;
    const DWORD kBlock = 1032;
    BYTE names[kBlock];
    memset(names, 0, sizeof(names));
    if (ar.Read(names, 8) != 8)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    const WORD* offsets = (const WORD*)names;
    for (int i = 0; i < 3; ++i) {
        LONG length;
        ar >> length;
        WORD offset = offsets[i];
        // Each string must fit the block with its terminator.
        if (length < 0 || (DWORD)offset + (DWORD)length + 1 > kBlock)
            AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
        if (length && ar.Read(names + offset, (UINT)length) != (UINT)length)
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    }
    BYTE mode[148];
    BYTE skipped[8];
    if (ar.Read(mode, sizeof(mode)) != sizeof(mode) || ar.Read(skipped, 8) != 8)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    DWORD flags;
    LONG cx, cy;
    RECT minMargins, margins;
    ar >> flags >> cx >> cy >> minMargins >> margins;

    HGLOBAL devNames = ::GlobalAlloc(GMEM_MOVEABLE, kBlock);
    HGLOBAL devMode = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(mode));
    if (devNames == NULL || devMode == NULL) {
        FreeBlock(devNames);
        FreeBlock(devMode);
        AfxThrowMemoryException();
    }
    memcpy(::GlobalLock(devNames), names, kBlock);
    ::GlobalUnlock(devNames);
    memcpy(::GlobalLock(devMode), mode, sizeof(mode));
    ::GlobalUnlock(devMode);
    FreeBlock(m_psd.hDevNames);
    FreeBlock(m_psd.hDevMode);
    m_psd.hDevNames = devNames;
    m_psd.hDevMode = devMode;
    m_psd.Flags = flags;
    m_psd.ptPaperSize.x = cx;
    m_psd.ptPaperSize.y = cy;
    m_psd.rtMinMargin = minMargins;
    m_psd.rtMargin = margins;
}

HGLOBAL CODPageSettings::GetDevNames() const
{
    return CopyGlobalHandle(m_psd.hDevNames);
}

HGLOBAL CODPageSettings::GetDevMode() const
{
    return CopyGlobalHandle(m_psd.hDevMode);
}

void CODPageSettings::SetDevNames(HGLOBAL devNames)
{
    FreeBlock(m_psd.hDevNames);
    m_psd.hDevNames = CopyGlobalHandle(devNames);
}

void CODPageSettings::SetDevMode(HGLOBAL devMode)
{
    FreeBlock(m_psd.hDevMode);
    m_psd.hDevMode = CopyGlobalHandle(devMode);
}

void CODPageSettings::SetDefaults()
{
    FreeBlock(m_psd.hDevNames);
    FreeBlock(m_psd.hDevMode);
    {
        CPageSetupDialog dialog(PSD_MARGINS, NULL);
        m_psd = dialog.m_psd;
        m_psd.hDevMode = NULL;
        m_psd.hDevNames = NULL;
    }
    LoadPrinterDefaults(AfxGetApp());
    int units = 0;
    CSize size(0, 0);
    if (::GetPaperSize(m_psd.hDevMode, &units, &size)) {
        m_psd.ptPaperSize.x = size.cx;
        m_psd.ptPaperSize.y = size.cy;
    }
    m_psd.Flags |= (DWORD)units | PSD_MINMARGINS | PSD_MARGINS;
}

// Stored blocks reach the printer driver only when they are well formed; anything else means
// no printer, while the bytes stay as they were read.
HDC CODPageSettings::CreatePrinterDC() const
{
    if (!ODValidDevNames(m_psd.hDevNames))
        return NULL;
    LockedBlock names(m_psd.hDevNames);
    const DEVNAMES* dn = (const DEVNAMES*)names.Get();
    LPCSTR base = (LPCSTR)names.Get();
    const DEVMODEA* mode = NULL;
    LockedBlock modeBlock(ODValidDevMode(m_psd.hDevMode) ? m_psd.hDevMode : NULL);
    mode = (const DEVMODEA*)modeBlock.Get();
    return ::CreateDCA(base + dn->wDriverOffset, base + dn->wDeviceOffset,
                       base + dn->wOutputOffset, mode);
}

BOOL CODPageSettings::HasPrinter() const
{
    HDC dc = CreatePrinterDC();
    if (dc == NULL)
        return FALSE;
    ::DeleteDC(dc);
    return TRUE;
}

int CODPageSettings::GetUnits() const
{
    if (m_psd.Flags & PSD_INHUNDREDTHSOFMILLIMETERS)
        return 8;
    return (int)(m_psd.Flags & PSD_INTHOUSANDTHSOFINCHES);
}

int CODPageSettings::SetUnits(int units)
{
    int old = GetUnits();
    if (old == units)
        return old;
    LONG* values[] = {&m_psd.ptPaperSize.x,  &m_psd.ptPaperSize.y,  &m_psd.rtMargin.left,
                      &m_psd.rtMargin.top,   &m_psd.rtMargin.right, &m_psd.rtMargin.bottom,
                      &m_psd.rtMinMargin.left, &m_psd.rtMinMargin.top,
                      &m_psd.rtMinMargin.right, &m_psd.rtMinMargin.bottom};
    for (LONG* v : values)
        *v = ConvertPageUnits(*v, old, units);
    m_psd.Flags = (m_psd.Flags & ~kUnitFlags) | (DWORD)units;
    return old;
}

void CODPageSettings::GetPaperSize(int* width, int* height) const
{
    *width = m_psd.ptPaperSize.x;
    *height = m_psd.ptPaperSize.y;
}

void CODPageSettings::SelectPrinterInApp(CWinApp* app)
{
    if (app)
        app->SelectPrinter(GetDevNames(), GetDevMode(), TRUE);
}

BOOL CODPageSettings::LoadPrinterDefaults(CWinApp* app)
{
    if (app == NULL)
        return FALSE;
    PRINTDLGA pd;
    memset(&pd, 0, sizeof(pd));
    pd.lStructSize = sizeof(pd);
    if (!app->GetPrinterDeviceDefaults(&pd))
        return FALSE;
    SetDevNames(pd.hDevNames);
    SetDevMode(pd.hDevMode);
    return TRUE;
}

void CODPageSettings::SetPrinter(HGLOBAL devNames)
{
    if (devNames == NULL)
        return;
    SetDevNames(devNames);
    if (!ODValidDevNames(m_psd.hDevNames))
        return;
    LockedBlock names(m_psd.hDevNames);
    LPSTR device = (LPSTR)names.Get() + ((const DEVNAMES*)names.Get())->wDeviceOffset;
    HANDLE printer = NULL;
    if (!::OpenPrinterA(device, &printer, NULL))
        return;
    LONG size = ::DocumentPropertiesA(NULL, printer, device, NULL, NULL, 0);
    HGLOBAL mode = size > 0 ? ::GlobalAlloc(GMEM_MOVEABLE, (SIZE_T)size) : NULL;
    if (mode == NULL) {
        ::ClosePrinter(printer);
        return;
    }
    DEVMODEA* dm = (DEVMODEA*)::GlobalLock(mode);
    ::DocumentPropertiesA(NULL, printer, device, dm, NULL, DM_OUT_BUFFER);
    if (ODValidDevMode(m_psd.hDevMode)) {
        LockedBlock old(m_psd.hDevMode);
        const DEVMODEA* previous = (const DEVMODEA*)old.Get();
        dm->dmOrientation = previous->dmOrientation;
        dm->dmPaperSize = previous->dmPaperSize;
        dm->dmPaperLength = previous->dmPaperLength;
        dm->dmPaperWidth = previous->dmPaperWidth;
        dm->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH;
        ::DocumentPropertiesA(NULL, printer, device, dm, dm, DM_IN_BUFFER | DM_OUT_BUFFER);
    }
    ::GlobalUnlock(mode);
    FreeBlock(m_psd.hDevMode);
    m_psd.hDevMode = mode;
    ::ClosePrinter(printer);
}

void CODPageSettings::GetPageSetup(PAGESETUPDLGA* psd) const
{
    psd->hDevNames = GetDevNames();
    psd->hDevMode = GetDevMode();
    psd->Flags = m_psd.Flags;
    psd->ptPaperSize = m_psd.ptPaperSize;
    psd->rtMinMargin = m_psd.rtMinMargin;
    psd->rtMargin = m_psd.rtMargin;
    psd->lCustData = m_psd.lCustData;
}

void CODPageSettings::SetPageSetup(const PAGESETUPDLGA* psd)
{
    m_psd.Flags = psd->Flags;
    m_psd.ptPaperSize = psd->ptPaperSize;
    m_psd.rtMinMargin = psd->rtMinMargin;
    m_psd.rtMargin = psd->rtMargin;
    m_psd.lCustData = psd->lCustData;
    HGLOBAL names = CopyGlobalHandle(psd->hDevNames);
    HGLOBAL mode = CopyGlobalHandle(psd->hDevMode);
    FreeBlock(m_psd.hDevNames);
    FreeBlock(m_psd.hDevMode);
    m_psd.hDevNames = names;
    m_psd.hDevMode = mode;
}

void CODPageSettings::GetPrintHandles(PRINTDLGA* pd) const
{
    pd->hDevMode = m_psd.hDevMode;
    pd->hDevNames = m_psd.hDevNames;
}

void CODPageSettings::PreparePrintInfo(CPrintInfo* info)
{
    if (info == NULL)
        return;
    PRINTDLGA* pd = &info->m_pd;
    GetPrintHandles(pd);
    if (pd->hDC == NULL)
        pd->hDC = CreatePrinterDC();
}

void CODPageSettings::SetPaperSizeCode(int code)
{
    PAGESETUPDLGA psd = m_psd;
    GetPageSetup(&psd);
    if (ODValidDevMode(psd.hDevMode)) {
        {
            LockedBlock block(psd.hDevMode);
            ((DEVMODEA*)block.Get())->dmPaperSize = (short)code;
        }
        int units = 0;
        CSize size(0, 0);
        if (::GetPaperSize(psd.hDevMode, &units, &size)) {
            psd.ptPaperSize.x = size.cx;
            psd.ptPaperSize.y = size.cy;
        }
        psd.Flags |= (DWORD)units | PSD_MINMARGINS | PSD_MARGINS;
        SetPageSetup(&psd);
    }
    FreeBlock(psd.hDevNames);
    FreeBlock(psd.hDevMode);
}

void CODPageSettings::SetOrientation(int orientation)
{
    PAGESETUPDLGA psd = m_psd;
    GetPageSetup(&psd);
    if ((orientation == DMORIENT_PORTRAIT || orientation == DMORIENT_LANDSCAPE) &&
        ODValidDevMode(psd.hDevMode)) {
        LockedBlock block(psd.hDevMode);
        ((DEVMODEA*)block.Get())->dmOrientation = (short)orientation;
    }
    LONG w = psd.ptPaperSize.x;
    psd.ptPaperSize.x = psd.ptPaperSize.y;
    psd.ptPaperSize.y = w;
    SetPageSetup(&psd);
    FreeBlock(psd.hDevNames);
    FreeBlock(psd.hDevMode);
}
