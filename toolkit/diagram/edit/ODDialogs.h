// The drawing editor's small dialogs: the custom zoom, the grid settings and the list of the
// drawing's components. The first two hold plain values that the caller sets before DoModal
// and reads back after OK; the Components dialog acts on the drawing itself.
#pragma once
#include <afxwin.h>
#include "MvcCollections.h"
#include "ODMeasure.h"
#include "ODStyleListBox.h"
#include "SECButtons.h"

class CODModel;
class CODViewport;
class CODComponent;

class CODZoomDlg : public CDialog
{
public:
    explicit CODZoomDlg(CWnd* parent = NULL);
    // For a derived dialog of its own template.
    CODZoomDlg(UINT templateId, CWnd* parent);

    int m_nZoom;     // percent
    int m_nMinZoom;  // the range the typed zoom must lie in
    int m_nMaxZoom;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

class CODGridDlg : public CDialog
{
public:
    explicit CODGridDlg(CWnd* parent = NULL);

    // The unit the spacings are typed in; the limits keep their lengths.
    void SetUnits(WORD unit);
    WORD GetUnits() const { return m_nUnits; }
    void SetMinSpacing(const CODMeasure& spacing) { m_minSpacing = CODMeasure(m_minSpacing.GetUnits(), spacing); }
    void SetMaxSpacing(const CODMeasure& spacing) { m_maxSpacing = CODMeasure(m_maxSpacing.GetUnits(), spacing); }
    const CODMeasure& GetMinSpacing() const { return m_minSpacing; }
    const CODMeasure& GetMaxSpacing() const { return m_maxSpacing; }
    void SetGridVisible(BOOL on) { m_bGridVisible = on; }
    BOOL GetGridVisible() const { return m_bGridVisible; }
    void SetSnapToGrid(BOOL on) { m_bSnapToGrid = on; }
    BOOL GetSnapToGrid() const { return m_bSnapToGrid; }
    void SetAngleSnap(BOOL on) { m_bAngleSnap = on; }
    BOOL GetAngleSnap() const { return m_bAngleSnap; }
    void SetHorizontalSpacing(float spacing) { m_fHorizontal = spacing; }
    float GetHorizontalSpacing() const { return m_fHorizontal; }
    void SetVerticalSpacing(float spacing) { m_fVertical = spacing; }
    float GetVerticalSpacing() const { return m_fVertical; }
    void SetGridColor(COLORREF colour) { m_well.SetColor(colour); }
    COLORREF GetGridColor() const { return m_well.GetColor(); }

    enum { idColor = 1082, idHorizontal = 1083, idVertical = 1084, idVisible = 1085,
           idSnap = 1118, idAngleSnap = 1003, idUnit1 = 1138, idUnit2 = 1139 };

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    BOOL m_bGridVisible, m_bSnapToGrid, m_bAngleSnap;
    float m_fHorizontal, m_fVertical;
    SECWellButton m_well;
    WORD m_nUnits;
    CODMeasure m_minSpacing, m_maxSpacing;
};

// The components, each as its name and type beside an icon of its kind.
class CODComponentListBox : public CODSampleListBox
{
public:
    CODComponentListBox();
    int AddComponentItem(CODComponent* component);
    // Appends the selected items' components in selection order, and removes their items
    // when asked (last first); the number appended.
    int GetSelectedComponents(CODComponentSet* components, BOOL remove);
    // The icon of the component's kind and its mask; left alone for a kind without one.
    virtual void GetTypeBitmaps(CODComponent* component, CBitmap*& icon, CBitmap*& mask);

protected:
    void AddItems() override {}
    int TextLeft(int) const override { return LOWORD(::GetDialogBaseUnits()) / 4 + 20; }
    void DrawSample(CDC* dc, const CRect& item) override;
    CString ItemText(UINT item) const override;

    enum { iconCount = 11 };
    CBitmap m_icons[iconCount];
    CBitmap m_masks[iconCount];
};

class CODComponentsDlg : public CDialog
{
public:
    enum { idList = 1075, idDelete = 1076, idGoTo = 1081, idProperties = 1116 };
    explicit CODComponentsDlg(CWnd* parent = NULL);
    void SetModel(CODModel* model);
    void SetViewport(CODViewport* viewport);
    void SetComponents(CODComponentSet* components);
    CODComponentListBox& GetList() { return m_list; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnSizing(UINT edge, LPRECT rect);
    afx_msg void OnGoTo();
    afx_msg void OnProperties();
    afx_msg void OnDelete();
    DECLARE_MESSAGE_MAP()
    void EnableButtons();
    void Layout(int cx, int cy);

    CODComponentListBox m_list;
    CODModel* m_pModel;
    CODViewport* m_pViewport;
    CODComponentSet m_components;
    BOOL m_bInitialised;
};
