// The Measurements and Size sheet: the unit and canvas size, the drawing scale and the
// mapping of logical units to the screen. The pages hold their values whether or not their
// windows exist; the sheet's own coordinate mapping converts with the values being edited.
#pragma once
#include <afxdlgs.h>
#include "Mvc.h"
#include "ODMeasure.h"

class CODMeasurePropPage : public CPropertyPage
{
public:
    CODMeasurePropPage(UINT templateId, IODCoordinateMapping* mapping)
        : CPropertyPage(templateId), m_pMapping(mapping)
    {
    }

protected:
    IODCoordinateMapping* m_pMapping;  // the sheet's; not owned
};

class CODCanvasSizePage : public CODMeasurePropPage
{
public:
    enum { idWidth = 1134, idHeight = 1135, idUnits = 1137 };
    explicit CODCanvasSizePage(IODCoordinateMapping* mapping = NULL);

    float m_fHeight;
    float m_fWidth;
    WORD m_nUnits;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // A new unit: the held width and height keep their lengths in it.
    void OnUnitChange();
};

class CODDrawingScalePage : public CODMeasurePropPage
{
public:
    enum { idDrawing = 1140, idDrawingUnits = 1141, idReal = 1142, idRealUnits = 1143 };
    explicit CODDrawingScalePage(IODCoordinateMapping* mapping = NULL);

    float m_fDrawing;
    float m_fReal;
    WORD m_nDrawingUnits;
    WORD m_nRealUnits;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CODCoordinateMappingPage : public CODMeasurePropPage
{
public:
    enum { idMode = 1129, idPhysicalX = 1130, idPhysicalY = 1131, idLogicalX = 1132,
           idLogicalY = 1133, idPositiveYUp = 1136, idXLabel = 1150, idYLabel = 1151 };
    explicit CODCoordinateMappingPage(IODCoordinateMapping* mapping = NULL);

    int m_nPhysicalX, m_nPhysicalY, m_nLogicalX, m_nLogicalY;
    BOOL m_bPositiveYUp;
    CString m_strXLabel, m_strYLabel;
    int m_nMappingMode;

    // The combo item of a mapping mode, or -1.
    int FindMappingModeItem(int mode);
    // "value unit" for one logical unit on each axis, in the sheet's unit of measure.
    void UpdateUnitLabels();

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnMappingChange();
};

class CODMeasurePropSheet : public CPropertySheet
{
public:
    enum { pageCanvas = 1, pageScale = 2, pageMapping = 4 };
    CODMeasurePropSheet(UINT caption, CWnd* parent = NULL, UINT firstPage = 0, int flags = 0);
    CODMeasurePropSheet(LPCTSTR caption, CWnd* parent = NULL, UINT firstPage = 0, int flags = 0);
    ~CODMeasurePropSheet() override;

    INT_PTR DoModal() override;
    BOOL Create(CWnd* parent = NULL, DWORD style = (DWORD)-1, DWORD exStyle = 0) override;
    virtual void AddPages();

    void SetMeasureUnits(WORD unit);
    WORD GetMeasureUnits();
    void SetScale(const CODMeasure& drawing, const CODMeasure& real);
    void GetScale(CODMeasure& drawing, CODMeasure& real);
    void SetMappingMode(int mode);
    int GetMappingMode();
    void SetPhysicalExtents(CSize size);
    CSize GetPhysicalExtents();
    void SetLogicalExtents(CSize size);
    CSize GetLogicalExtents();
    // In logical units: the canvas page shows it in its unit.
    void SetCanvasSize(CSize size);
    CSize GetCanvasSize();
    void ResetPages();

    IODCoordinateMapping* GetMapping() { return &m_mapping; }
    CODCanvasSizePage* GetCanvasPage() { return m_pCanvas; }
    CODDrawingScalePage* GetScalePage() { return m_pScale; }
    CODCoordinateMappingPage* GetMappingPage() { return m_pMappingPage; }

protected:
    // Conversions with the values the pages hold, through a logical part that takes them.
    class Mapping : public IODCoordinateMapping
    {
    public:
        explicit Mapping(CODMeasurePropSheet* sheet) : m_pSheet(sheet), m_part(NULL), m_mapping(&m_part) {}
        BOOL SetUnits(WORD unit) override;
        WORD GetUnits() override;
        BOOL SetScale(const CODMeasure& drawn, const CODMeasure& real) override;
        void MeasureToLogical(const CODMeasure& m, float& out, BOOL vertical) override;
        void LogicalToMeasure(float logical, CODMeasure& out, BOOL vertical) override;
        // The bounds' width and height.
        void GetComponentSize(CODComponent* c, CODMeasure& width, CODMeasure& height) override;
        // This slot is the sheet's GetSizeMeasures: the component's size, whatever the kind.
        void GetHandlePosition(CODComponent* c, CODMeasure& width, CODMeasure& height, int kind) override;

    private:
        void Sync();
        CODMeasurePropSheet* m_pSheet;
        MvcLogicalPart m_part;
        CODCoordinateMapping m_mapping;
    };

    void Construct(int flags);

    Mapping m_mapping;
    int m_nFlags;
    CODCanvasSizePage* m_pCanvas;
    CODDrawingScalePage* m_pScale;
    CODCoordinateMappingPage* m_pMappingPage;
};
