// The printer and page layout of one drawing: the printer's DEVNAMES and DEVMODE blocks, the
// page-setup flags, paper size and margins, in thousandths of an inch (4) or hundredths of a
// millimetre (8).
#pragma once
#include <afxwin.h>
#include <commdlg.h>

class CPrintInfo;

class CODPageSettings : public CObject
{
    DECLARE_SERIAL(CODPageSettings)

public:
    CODPageSettings();
    CODPageSettings(const CODPageSettings& other);
    CODPageSettings& operator=(const CODPageSettings& other);
    virtual ~CODPageSettings();

    // The current stored form.
    void Serialize(CArchive& ar) override;
    // Reads the form of drawings of model version 1; does nothing when storing.
    void SerializeOldFormat(CArchive& ar);

    HGLOBAL GetDevNames() const;
    HGLOBAL GetDevMode() const;
    void SetDevNames(HGLOBAL devNames);
    void SetDevMode(HGLOBAL devMode);
    void SetDefaults();
    // A DC of the stored printer, NULL without a usable one; the caller deletes it.
    HDC CreatePrinterDC() const;
    BOOL HasPrinter() const;
    int SetUnits(int units);
    int GetUnits() const;
    void GetPaperSize(int* width, int* height) const;
    CSize GetPaperSize() const { return CSize(m_psd.ptPaperSize.x, m_psd.ptPaperSize.y); }
    void GetMargins(RECT* margins) const { *margins = m_psd.rtMargin; }
    void GetMinMargins(RECT* margins) const { *margins = m_psd.rtMinMargin; }
    DWORD GetFlags() const { return m_psd.Flags; }
    void SelectPrinterInApp(CWinApp* app);
    BOOL LoadPrinterDefaults(CWinApp* app);
    void SetPrinter(HGLOBAL devNames);
    void GetPageSetup(PAGESETUPDLGA* psd) const;
    void SetPageSetup(const PAGESETUPDLGA* psd);
    void GetPrintHandles(PRINTDLGA* pd) const;
    void PreparePrintInfo(CPrintInfo* info);
    void SetPaperSizeCode(int code);
    void SetOrientation(int orientation);

    // The raw blocks as held (for inspection; not copies).
    HGLOBAL PeekDevNames() const { return m_psd.hDevNames; }
    HGLOBAL PeekDevMode() const { return m_psd.hDevMode; }

private:
    static void FreeBlock(HGLOBAL& block);
    // Reads a block of the stored length, bounded by what the archive still holds.
    static HGLOBAL ReadBlock(CArchive& ar, DWORD length);

    PAGESETUPDLGA m_psd;
};

BOOL GetPaperSize(HGLOBAL devMode, int* units, CSize* size);
int PageUnitsForMeasureUnit(WORD unit);
int ConvertPageUnits(int value, int fromUnits, int toUnits);
int GetDevNamesSize(const DEVNAMES* devNames);
int GetDevModeSize(HGLOBAL devNames);
HGLOBAL CopyGlobalHandle(HGLOBAL handle);
// TRUE when the blocks hold a well-formed DEVNAMES (strings inside the block, terminated) and
// a DEVMODE whose sizes fit its block; a printer is made only from blocks that pass.
BOOL ODValidDevNames(HGLOBAL devNames);
BOOL ODValidDevMode(HGLOBAL devMode);
