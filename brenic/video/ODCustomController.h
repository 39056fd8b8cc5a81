// The telestrator's drawing controller: the diagram controller with the program's tools
// (line, polyline, vertical line, arrow line, protractor, freehand) kept armed after each
// figure, the protractor's angle label, channel switching, and a double click that clears
// the drawing.
#pragma once
#include "ODController.h"

class CODTextComponent;
class CODLineComponent;
class CODCustomViewport;

// Command ids of the telestrator.
enum {
    ID_DRAW_LINE = 32831, ID_DRAW_POLYLINE = 32830, ID_DRAW_VLINE = 32845,
    ID_DRAW_ARROW = 32799, ID_DRAW_PROTRACTOR = 32825, ID_DRAW_FREEHAND = 32846,
    ID_DRAW_RESET_TOOLS = 32832, ID_DRAW_DELETE_ALL = 32798, ID_DRAW_POS_CHANGED = 32848,
    ID_DRAW_ZOOM_IN = 32796, ID_DRAW_ZOOM_OUT = 32797, IDR_DRAW_CONTEXT_MENU = 22051,
};

class CODCustomController : public CODController
{
public:
    explicit CODCustomController(CODCustomViewport* viewport);
    ~CODCustomController() override;

    void SetModel(MvcModel* model) override;
    // Ends an in-place text edit unless the protractor is the stored tool.
    void FinishTool();

    // The angle at B between BA and BC, 0 to 180 (0 when two points coincide).
    static int AngleAt(CPoint a, CPoint b, CPoint c);
    // The centre of the angle label: B + (15, 15) for 15 degrees or less, else 50 units from
    // B on the bisector of the angle.
    static CPoint LabelCentre(CPoint a, CPoint b, CPoint c);
    // A protractor: a line whose first child is a text component.
    static BOOL IsProtractor(CODComponent* c);

    int GetTool() const { return m_nTool; }
    int GetToolMode() const { return m_nToolMode; }
    CODTextComponent* GetAngleLabel() const { return m_pAngleLabel; }

    CMenu* BuildContextMenu() override;
    void OnCommandExecuted(MvcCommandBase* command) override;
    void OnCommandUnexecuted(MvcCommandBase* command) override;
    void CopyToClipboard(CODComponentSet* set) override;
    void OnVertexDragMove(UINT flags, int x, int y) override;
    void OnPolylineAddPoint(UINT flags, int x, int y) override;
    void OnPolylineMouseMove(UINT flags, int x, int y) override;
    MvcCommandBase* InsertComponent(CODComponent* component) override;
    MvcCommandBase* DeleteComponents(CODComponentSet* set) override;
    MvcCommandBase* MoveComponents(CODComponentSet* set, int dx, int dy) override;
    MvcCommandBase* RotateComponents(CODComponentSet* set, int angle) override;
    MvcCommandBase* MoveVertex(CODComponent* component, int index, int dx, int dy) override;

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnLine();
    afx_msg void OnPolyline();
    afx_msg void OnVerticalLine();
    afx_msg void OnArrowLine();
    afx_msg void OnProtractor();
    afx_msg void OnFreehand();
    afx_msg void OnResetTools();
    afx_msg void OnVideoPosChanged();
    afx_msg void OnZoomInCmd();
    afx_msg void OnZoomOutCmd();
    afx_msg void OnDeleteAll();
    afx_msg void OnComponentProperties();
    afx_msg void OnUpdateAlwaysEnabled(CCmdUI* ui);
    DECLARE_MESSAGE_MAP()

    // The three points of the angle: the figure's vertices 0 to 2, or the figure under
    // construction's first two and (0, 0); the offset added to point number index.
    void AnglePoints(CODLineComponent* figure, int index, CPoint offset, CPoint pts[3]);
    CString AngleText(CPoint pts[3]);
    CRect LabelRect(CPoint pts[3]);
    CODTextComponent* NewLabel(CPoint pts[3], LPCTSTR name);
    void UpdateAngleLabel(CODLineComponent* figure, CODTextComponent* label, int index,
                          CPoint offset);
    // Labels named "child" out, every protractor's label in.
    void WithProtractorLabels(CODComponentSet* set, CODComponentSet* out, BOOL addLabels);
    void DropAngleLabel(BOOL deleteFromModel);
    void RunCommand(UINT id);
    CODCustomViewport* CustomViewport() const;

    bool m_bPosChangedOutside;
    bool m_bOutsideWindow;
    int m_nToolMode;
    CODTextComponent* m_pAngleLabel;  // counted reference while held
    CPoint m_ptVLineAnchor;
    bool m_bContextMenuAllowed;
    int m_nTool;
    int m_nProtractorClicks;
    CMenu* m_pMenu;
};
