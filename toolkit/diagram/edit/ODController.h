// The controller of a diagram viewport: plugged into the viewport's window, it turns mouse and
// key messages into tools, selections and undoable commands. A single state number routes
// every mouse event to the virtual operation that handles it (the table is in
// ODController.cpp); each finished gesture builds one command through a command builder.
#pragma once
#include <afxole.h>
#include <afxtempl.h>
#include "Mvc.h"
#include "ODCommands.h"
#include "ODModel.h"
#include "ODTracker.h"
#include "ODViewport.h"

class CODTextComponent;
class CODDropTarget;
class CODPortComponent;
class CODConnection;
class CODLinkComponent;
class CODEndpoint;

// Tool commands, editing commands and resources of the controller.
enum {
    ID_OD_ALIGN_BOTTOM = 44500, ID_OD_ALIGN_CENTER = 44501, ID_OD_ALIGN_LEFT = 44502,
    ID_OD_ALIGN_MIDDLE = 44503, ID_OD_ALIGN_RIGHT = 44504, ID_OD_ALIGN_TOP = 44505,
    ID_OD_ANGLE_SNAP = 44506, ID_OD_SEND_TO_BACK = 44507, ID_OD_SEND_BACKWARD = 44508,
    ID_OD_NOTHING = 44510, ID_OD_DEFAULT_PROPERTIES = 44511, ID_OD_CLOSED_CURVE = 44514,
    ID_OD_ELLIPSE = 44516, ID_OD_IMAGE = 44517, ID_OD_LINE = 44518, ID_OD_POLYCURVE = 44520,
    ID_OD_POLYGON = 44521, ID_OD_POLYLINE = 44522, ID_OD_PORT = 44523, ID_OD_RECTANGLE = 44524,
    ID_OD_SELECT = 44525, ID_OD_TEXT = 44526, ID_OD_EDIT_VERTICES = 44528,
    ID_OD_FLIP_HORIZONTAL = 44529, ID_OD_FLIP_VERTICAL = 44530, ID_OD_BRING_FORWARD = 44531,
    ID_OD_FREE_ROTATE = 44532, ID_OD_BRING_TO_FRONT = 44533, ID_OD_GRID = 44534,
    ID_OD_GRID_PROPERTIES = 44535, ID_OD_GROUP = 44536, ID_OD_LINK = 44538,
    ID_OD_NUDGE_DOWN = 44540, ID_OD_NUDGE_LEFT = 44541, ID_OD_NUDGE_RIGHT = 44542,
    ID_OD_NUDGE_UP = 44543, ID_OD_PAGE_BOUNDS = 44544, ID_OD_PAN = 44545,
    ID_OD_PROPERTIES = 44546, ID_OD_ROTATE_LEFT = 44547, ID_OD_ROTATE_RIGHT = 44548,
    ID_OD_SNAP_TO_GRID = 44549, ID_OD_UNGROUP = 44550, ID_OD_COMPONENTS = 44552,
    ID_OD_ZOOM = 44553, ID_OD_ZOOM_100 = 44554, ID_OD_ZOOM_200 = 44555, ID_OD_ZOOM_50 = 44556,
    ID_OD_ZOOM_75 = 44557, ID_OD_ZOOM_CUSTOM = 44558, ID_OD_ZOOM_FIT = 44560,
    ID_OD_ZOOM_NORMAL = 44561, ID_OD_ZOOM_SELECTION = 44563, ID_OD_MEASUREMENTS = 44564,
    ID_OD_EXPORT = 44565,
    IDR_OD_CONTEXT_MENU = 22050,
    IDC_OD_INSERT_VERTEX = 1011, IDC_OD_PAN_DOWN = 1012, IDC_OD_PAN = 1013,
    IDC_OD_FREE_ROTATE = 1014, IDC_OD_ZOOM = 1015, IDC_OD_ZOOM_RECT = 1016,
    IDC_OD_PLACE_PORT = 1017, IDC_OD_TEXT = 1018, IDC_OD_PORT = 1019, IDC_OD_PLACE_IMAGE = 1020,
    IDC_OD_ROTATING = 1021, IDC_OD_DRAW = 1022, IDC_OD_SELECT_MOVE = 1023, IDC_OD_VERTEX = 1024,
    IDC_OD_DELETE_VERTEX = 1025, IDC_OD_MOVING = 1026, IDC_OD_DRAG_COPY = 1027,
    IDC_OD_PORT_TARGET = 1029,
};

class CODController : public MvcController
{
    DECLARE_DYNAMIC(CODController)

public:
    // The controller states.
    enum {
        stateSelect = 0, stateRubberPressed = 1, stateRubberBand = 2, stateFreeRotate = 3,
        stateRotatePressed = 4, stateRotating = 5, stateMovePressed = 6, stateMoving = 7,
        stateScalePressed = 8, stateScaling = 9, stateRect = 10, stateLine = 13,
        statePolyline = 16, statePolygon = 19, statePolycurve = 22, stateClosedCurve = 25,
        stateEllipse = 28, stateText = 31, statePlace = 32, statePort = 33, statePortPlace = 34,
        stateVertexPressed = 35, stateVertexDrag = 36, stateLink = 37, stateLinkDrawing = 39,
        stateZoom = 40, statePan = 43, stateLinkEndPressed = 46, stateLinkEndDrag = 47,
    };

    explicit CODController(CODViewport* viewport);
    ~CODController() override;

    BOOL Initialize(CWnd* window, MvcViewport* viewport) override;
    void SetModel(MvcModel* model) override;

    // 1-5
    virtual void ConstrainSquare(CPoint& point);
    virtual void ConstrainAxis(const CPoint& reference, CPoint& point);
    virtual BOOL SnapPointToGrid(CODComponent* component, int handle);
    virtual BOOL KeepInsidePage(CODComponent* component);
    virtual void ApplyDefaultProperties(CODComponent* component);
    // 6-19
    virtual void OnButtonUpNoDrag(UINT flags, int x, int y);
    virtual CMenu* BuildContextMenu();
    virtual void OnSelectMouseMove(UINT flags, int x, int y);
    virtual BOOL UpdateHandleCursor(UINT flags, CPoint logical);
    virtual BOOL UpdateCtrlCursor(UINT flags, CPoint logical);
    virtual BOOL UpdateMoveCursor(UINT flags, CPoint logical);
    virtual void OnSelectButtonDown(UINT flags, int x, int y, int button);
    virtual BOOL HitTestHandles(UINT flags, CPoint logical, int button);
    virtual BOOL HitTestSegments(UINT flags, CPoint logical, int button);
    virtual BOOL HitTestComponents(UINT flags, CPoint logical, int button);
    virtual void OnSelectDblClk(UINT flags, int x, int y, int button);
    virtual void OnSelectionChanged(CODComponentSet* set);
    virtual void OnCommandExecuted(MvcCommandBase* command);
    virtual void OnCommandUnexecuted(MvcCommandBase* command);
    // 20-27
    virtual void OnMoveDragStart(UINT flags, int x, int y);
    virtual void OnMoveDrag(UINT flags, int x, int y);
    virtual void OnMoveDragEnd(UINT flags, int x, int y);
    virtual BOOL IsOleInitialized();
    virtual void CopyToClipboard(CODComponentSet* set);
    virtual void PasteFromClipboard(CODComponentSet* set);
    virtual void StartDragDrop();
    virtual void CreateDropTarget();
    // 28-44
    virtual void OnRotateDragStart(UINT flags, int x, int y);
    virtual void OnRotateDrag(UINT flags, int x, int y);
    virtual void OnRotateDragEnd(UINT flags, int x, int y);
    virtual void OnScaleDragStart(UINT flags, int x, int y);
    virtual void OnScaleDrag(UINT flags, int x, int y);
    virtual void OnScaleDragEnd(UINT flags, int x, int y);
    virtual BOOL GetVertexEditFlag() { return m_bEditVertices; }
    virtual BOOL IsVertexComponent(CODComponent* component);
    virtual BOOL IsEditableVertexComponent(CODComponent* component);
    virtual BOOL CanEditVertices(CODComponent* component);
    virtual void OnVertexDragStart(UINT flags, int x, int y);
    virtual void OnVertexDragMove(UINT flags, int x, int y);
    virtual void OnVertexDragEnd(UINT flags, int x, int y);
    virtual void OnLinkEndDragStart(UINT flags, int x, int y);
    virtual void OnLinkEndDrag(UINT flags, int x, int y);
    virtual void OnLinkEndDragEnd(UINT flags, int x, int y);
    virtual void OnLinkEndCancel(UINT flags, int x, int y);
    // 45-46
    virtual int BeginTextEdit(UINT flags, int x, int y);
    virtual void EndTextEdit(UINT flags, int x, int y);
    // 47-85
    virtual void OnLineButtonDown(UINT flags, int x, int y);
    virtual void OnLineDragStart(UINT flags, int x, int y);
    virtual void OnLineDrag(UINT flags, int x, int y);
    virtual void OnLineCreate(UINT flags, int x, int y);
    virtual void OnLineCancel(UINT flags, int x, int y);
    virtual void OnPolylineButtonDown(UINT flags, int x, int y);
    virtual void OnPolylineDragStart(UINT flags, int x, int y);
    virtual void OnPolylineAddPoint(UINT flags, int x, int y);
    virtual void OnPolylineMouseMove(UINT flags, int x, int y);
    virtual void OnPolylineFinish(UINT flags, int x, int y);
    virtual void OnPolylineEnd(UINT flags, int x, int y);
    virtual void OnPolygonButtonDown(UINT flags, int x, int y);
    virtual void OnPolygonDragStart(UINT flags, int x, int y);
    virtual void OnPolygonAddPoint(UINT flags, int x, int y);
    virtual void OnPolygonMouseMove(UINT flags, int x, int y);
    virtual void OnPolygonFinish(UINT flags, int x, int y);
    virtual void OnPolygonEnd(UINT flags, int x, int y);
    virtual void OnPolycurveButtonDown(UINT flags, int x, int y);
    virtual void OnPolycurveDragStart(UINT flags, int x, int y);
    virtual void OnPolycurveAddPoint(UINT flags, int x, int y);
    virtual void OnPolycurveMouseMove(UINT flags, int x, int y);
    virtual void OnPolycurveFinish(UINT flags, int x, int y);
    virtual void OnPolycurveEnd(UINT flags, int x, int y);
    virtual void OnClosedCurveButtonDown(UINT flags, int x, int y);
    virtual void OnClosedCurveDragStart(UINT flags, int x, int y);
    virtual void OnClosedCurveAddPoint(UINT flags, int x, int y);
    virtual void OnClosedCurveMouseMove(UINT flags, int x, int y);
    virtual void OnClosedCurveFinish(UINT flags, int x, int y);
    virtual void OnClosedCurveEnd(UINT flags, int x, int y);
    virtual void OnRectButtonDown(UINT flags, int x, int y);
    virtual void OnRectDragStart(UINT flags, int x, int y);
    virtual void OnRectDrag(UINT flags, int x, int y);
    virtual void OnRectCreate(UINT flags, int x, int y);
    virtual void OnRectCancel(UINT flags, int x, int y);
    virtual void OnEllipseButtonDown(UINT flags, int x, int y);
    virtual void OnEllipseDragStart(UINT flags, int x, int y);
    virtual void OnEllipseDrag(UINT flags, int x, int y);
    virtual void OnEllipseCreate(UINT flags, int x, int y);
    virtual void OnEllipseCancel(UINT flags, int x, int y);
    // 86-96
    virtual void OnPlaceButtonUp(UINT flags, int x, int y);
    virtual void OnPlaceRButtonUp(UINT flags, int x, int y);
    virtual void OnTextButtonUp(UINT flags, int x, int y);
    virtual void OnTextRButtonUp(UINT flags, int x, int y);
    virtual void OnPortButtonUp(UINT flags, int x, int y);
    virtual void OnPortRButtonUp(UINT flags, int x, int y);
    virtual void BeginPortPlacement(CODComponent* component);
    virtual void OnPortPlaceUp(UINT flags, int x, int y);
    virtual void OnPortPlaceRButtonUp(UINT flags, int x, int y);
    virtual void BeginCapture();
    virtual void EndCapture();
    // 97-120
    virtual void CreateTrackingCopies(CODComponentSet* set);
    virtual void ReleaseTrackingCopies();
    virtual void BeginLink(CODComponent* link);
    virtual void OnLinkButtonDown(UINT flags, int x, int y);
    virtual void OnLinkAddPoint(UINT flags, int x, int y);
    virtual void OnLinkMouseMove(UINT flags, int x, int y);
    virtual void OnLinkFinish(UINT flags, int x, int y);
    virtual void OnLinkCancel(UINT flags, int x, int y);
    CODPortComponent* AcceptablePortAt(CPoint logical);
    virtual void OnZoomButtonUp(UINT flags, int x, int y);
    virtual void OnZoomRButtonUp(UINT flags, int x, int y);
    virtual void OnZoomButtonDown(UINT flags, int x, int y);
    virtual void OnZoomDragStart(UINT flags, int x, int y);
    virtual void OnZoomDrag(UINT flags, int x, int y);
    virtual void OnZoomDragEnd(UINT flags, int x, int y);
    virtual void OnPanButtonDown(UINT flags, int x, int y);
    virtual void OnPanDrag(UINT flags, int x, int y);
    virtual void OnPanButtonUp(UINT flags, int x, int y);
    virtual void OnRubberBandStart(UINT flags, int x, int y);
    virtual void OnRubberBandDrag(UINT flags, int x, int y);
    virtual void OnRubberBandEnd(UINT flags, int x, int y);
    virtual CODComponent* NewComponent();
    virtual BOOL PromptExportFile(CString& path, int* filterIndex, UINT titleId, UINT filterId);
    virtual BOOL ExportBitmap(LPCTSTR path);
    virtual BOOL ExportMetafile(LPCTSTR path);
    // 121-138: the command builders
    virtual MvcCommandBase* InsertComponents(CODComponentSet* set);
    virtual MvcCommandBase* InsertComponent(CODComponent* component);
    virtual MvcCommandBase* DeleteComponents(CODComponentSet* set);
    virtual MvcCommandBase* GroupComponents(CODComponentSet* set);
    virtual MvcCommandBase* UngroupComponents(CODComponentSet* set);
    virtual MvcCommandBase* LinkComponents(CODComponent* link, CODPortComponent* source,
                                           CODPortComponent* target);
    virtual MvcCommandBase* LinkComponent(CODComponent* link, CArray<CPoint, CPoint>* path,
                                          CODPortComponent* source, CODPortComponent* target);
    virtual MvcCommandBase* LinkPorts(CArray<CPoint, CPoint>* path, CODPortComponent* source,
                                      CODPortComponent* target, CODEndpoint* start,
                                      CODEndpoint* end);
    virtual MvcCommandBase* OrderComponents(CODComponentSet* set, int order);
    virtual MvcCommandBase* MoveComponents(CODComponentSet* set, int dx, int dy);
    virtual MvcCommandBase* RotateComponents(CODComponentSet* set, int angle);
    virtual MvcCommandBase* ScaleComponents(CODComponentSet* set, float sx, float sy, int handle);
    virtual MvcCommandBase* InsertVertex(CODComponent* component, int index, int x, int y);
    virtual MvcCommandBase* DeleteVertex(CODComponent* component, int index);
    virtual MvcCommandBase* MoveVertex(CODComponent* component, int index, int dx, int dy);
    virtual MvcCommandBase* MovePort(CODPortComponent* port, int dx, int dy,
                                     CODPortComponent* target);
    virtual MvcCommandBase* ChangeText(CODComponentSet* set, LPCTSTR text);
    virtual MvcCommandBase* AlignComponents(CODComponentSet* set, int alignment);

    // Plain operations.
    void ClearSelection() { m_selection.RemoveAll(); }
    CODComponent* GetLastSelected();
    void SelectAll();
    void DPtoLP(POINT* points, int count = 1);
    void LPtoDP(POINT* points, int count = 1);
    void DPtoLP(CArray<CPoint, CPoint>& points);
    void LPtoDP(CArray<CPoint, CPoint>& points);
    void SetCursorFromResource(UINT id);
    void SetStandardCursor(LPCTSTR id);
    MvcCommandBase* ChangeText(CODComponent* component, LPCTSTR text);

    CODViewport* GetViewport() const { return m_pODViewport; }
    CODModel* GetODModel() const { return static_cast<CODModel*>(m_pModel); }
    CODComponentSet* GetSelection() { return &m_selection; }
    // The feedback of the drag under way.
    CODComponentSetTracker* GetSetTracker() { return &m_tracker; }
    CODDropTarget* GetDropTarget() const { return m_pDropTarget; }
    UINT GetClipboardFormat() const { return m_cfPrivate; }
    int GetState() const { return m_nState; }
    void SetState(int state) { m_nState = state; }
    CODTextComponent* GetEditingText() const { return m_pEditing; }
    HCURSOR GetCurrentCursor() const { return m_hCursor; }
    CODComponent* GetPendingComponent() const { return m_pPending; }
    CArray<CPoint, CPoint>* GetPointList() { return &m_points; }
    void SetApplyDefaults(BOOL apply) { m_bApplyDefaults = apply; }

    // Selection filters by the components' own edit permissions.
    void GetMovableComponents(CODComponentSet* selection, CODComponentSet* out);
    void GetRotatableComponents(CODComponentSet* selection, CODComponentSet* out);
    void GetScalableComponents(CODComponentSet* selection, CODComponentSet* out);

    // Writes a set and its dependents, with the components its symbols depend on first.
    void SerializeSelection(CArchive& ar, CODComponentSet* set);
    // What SerializeSelection writes: the set with the dependents the state asks for, and the
    // components joined to their symbols.
    void GatherCopy(CODComponentSet* set, CODComponentSet& main, CODComponentSet& extra);
    // Reads back what SerializeSelection wrote; every component read holds one reference.
    void ReadSelection(CArchive& ar, CODComponentSet* result, CODComponentSet* extra);

    // Feedback on a client DC of the viewport window, in device units.
    void DrawTrackingRect(int x, int y);
    void DrawTrackingEllipse(int x, int y);
    void DrawTrackingLine(int x, int y);
    void DrawTrackingPolyline(int x, int y);
    void DrawTrackingPolygon(int x, int y);
    void DrawTrackingCurve(int x, int y);
    void DrawTrackingClosedCurve(int x, int y) { DrawTrackingCurve(x, y); }

    // Permission questions that take the model's option word and own edit group into account.
    enum Permission { permSelect, permMove, permRotate, permScale, permEditVertices,
                      permEditProperties };
    BOOL IsAllowed(CODComponent* component, Permission what);
    BOOL IsModelReadOnly();

protected:
    // Message handlers.
    afx_msg void OnKeyDown(UINT key, UINT repeat, UINT flags);
    afx_msg void OnKeyUp(UINT key, UINT repeat, UINT flags);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnRButtonDown(UINT flags, CPoint point);
    afx_msg void OnRButtonUp(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type);
    afx_msg void OnInPlaceEditChange();
    afx_msg void OnInPlaceEditEnd(NMHDR* header, LRESULT* result);

    // Tools.
    afx_msg void OnSelectTool();
    afx_msg void OnFreeRotateTool();
    afx_msg void OnRectangleTool();
    afx_msg void OnLineTool();
    afx_msg void OnPolylineTool();
    afx_msg void OnPolygonTool();
    afx_msg void OnPolycurveTool();
    afx_msg void OnClosedCurveTool();
    afx_msg void OnEllipseTool();
    afx_msg void OnTextTool();
    afx_msg void OnInsertImage();
    afx_msg void OnPortTool();
    afx_msg void OnLinkTool();
    afx_msg void OnZoomTool();
    afx_msg void OnPanTool();
    afx_msg void OnEditVerticesTool();
    afx_msg void OnUpdateSelectTool(CCmdUI* ui);
    afx_msg void OnUpdateFreeRotateTool(CCmdUI* ui);
    afx_msg void OnUpdateRectangleTool(CCmdUI* ui);
    afx_msg void OnUpdateLineTool(CCmdUI* ui);
    afx_msg void OnUpdatePolylineTool(CCmdUI* ui);
    afx_msg void OnUpdatePolygonTool(CCmdUI* ui);
    afx_msg void OnUpdatePolycurveTool(CCmdUI* ui);
    afx_msg void OnUpdateClosedCurveTool(CCmdUI* ui);
    afx_msg void OnUpdateEllipseTool(CCmdUI* ui);
    afx_msg void OnUpdateTextTool(CCmdUI* ui);
    afx_msg void OnUpdateInsertImage(CCmdUI* ui);
    afx_msg void OnUpdatePortTool(CCmdUI* ui);
    afx_msg void OnUpdateLinkTool(CCmdUI* ui);
    afx_msg void OnUpdateZoomTool(CCmdUI* ui);
    afx_msg void OnUpdatePanTool(CCmdUI* ui);
    afx_msg void OnUpdateEditVerticesTool(CCmdUI* ui);

    // Zoom commands.
    afx_msg void OnZoom50();
    afx_msg void OnZoom75();
    afx_msg void OnZoom100();
    afx_msg void OnZoom200();
    afx_msg void OnZoomCustom();
    afx_msg void OnZoomToFit();
    afx_msg void OnZoomToSelection();
    afx_msg void OnUpdateZoom50(CCmdUI* ui);
    afx_msg void OnUpdateZoom75(CCmdUI* ui);
    afx_msg void OnUpdateZoom100(CCmdUI* ui);
    afx_msg void OnUpdateZoom200(CCmdUI* ui);
    afx_msg void OnUpdateZoomNormal(CCmdUI* ui);
    afx_msg void OnUpdateZoomCustom(CCmdUI* ui);
    afx_msg void OnUpdateZoomToFit(CCmdUI* ui);

    // Selection commands and sheets.
    afx_msg void OnProperties();
    afx_msg void OnDefaultProperties();
    afx_msg void OnComponents();
    afx_msg void OnMeasurementsAndSize();

    // Arrange and edit.
    afx_msg void OnGrid();
    afx_msg void OnSnapToGrid();
    afx_msg void OnAngleSnap();
    afx_msg void OnPageBounds();
    afx_msg void OnGridProperties();
    afx_msg void OnUndo();
    afx_msg void OnRedo();
    afx_msg void OnDelete();
    afx_msg void OnRotateLeft();
    afx_msg void OnRotateRight();
    afx_msg void OnFlipHorizontal();
    afx_msg void OnFlipVertical();
    afx_msg void OnNudgeUp();
    afx_msg void OnNudgeDown();
    afx_msg void OnNudgeLeft();
    afx_msg void OnNudgeRight();
    afx_msg void OnAlignTop();
    afx_msg void OnAlignMiddle();
    afx_msg void OnAlignBottom();
    afx_msg void OnAlignLeft();
    afx_msg void OnAlignCenter();
    afx_msg void OnAlignRight();
    afx_msg void OnBringToFront();
    afx_msg void OnSendToBack();
    afx_msg void OnBringForward();
    afx_msg void OnSendBackward();
    afx_msg void OnGroup();
    afx_msg void OnUngroup();
    afx_msg void OnPageSetup();
    afx_msg void OnNothing() {}
    afx_msg void OnUpdateUndo(CCmdUI* ui);
    afx_msg void OnUpdateRedo(CCmdUI* ui);
    afx_msg void OnUpdateCutCopy(CCmdUI* ui);
    afx_msg void OnUpdateNeedSelection(CCmdUI* ui);
    afx_msg void OnUpdateGroup(CCmdUI* ui);
    afx_msg void OnUpdateUngroup(CCmdUI* ui);
    afx_msg void OnUpdateNudge(CCmdUI* ui);
    afx_msg void OnUpdateAlign(CCmdUI* ui);
    afx_msg void OnUpdateRotateFlip(CCmdUI* ui);
    afx_msg void OnUpdateProperties(CCmdUI* ui);
    afx_msg void OnUpdateGrid(CCmdUI* ui);
    afx_msg void OnUpdateSnapToGrid(CCmdUI* ui);
    afx_msg void OnUpdateAngleSnap(CCmdUI* ui);
    afx_msg void OnUpdatePageBounds(CCmdUI* ui);
    afx_msg void OnUpdateNeedTwo(CCmdUI* ui);
    afx_msg void OnUpdateScale(CCmdUI* ui);

    // Clipboard and export.
    afx_msg void OnCopy();
    afx_msg void OnCut();
    afx_msg void OnPaste();
    afx_msg void OnExport();
    afx_msg void OnUpdatePaste(CCmdUI* ui);

    DECLARE_MESSAGE_MAP()

    // The mouse events of the state table.
    enum Event { evLDown, evMove, evLUp, evDblClk, evRDown, evRUp };
    void Dispatch(Event event, UINT flags, CPoint point);
    // A logical point from a client point, snapped when snapping is on.
    CPoint ToLogical(int x, int y, BOOL snap);
    // The port under a link end being dragged that the end may be joined to, or NULL.
    CODPortComponent* FindLinkEndTarget(CPoint logical);
    // Gives the dragged link end its join back.
    void ReattachLinkEnd();
    CPoint ClampToPage(CPoint logical);
    // The device form of a logical point clamped into the page.
    CPoint ClampDevice(CPoint device);
    // The update rule of the shape tools.
    BOOL CanDraw();
    void CheckStates(CCmdUI* ui, int first, int last, BOOL extra = FALSE);
    // One of the shape tools: state and cursor.
    void ArmTool(int state, UINT cursor);
    // Creation done: insert, select tool, arrow.
    void FinishCreation(CODComponent* component, BOOL applyDefaults = TRUE);
    // Permission rules of the update handlers.
    BOOL SelectionAllows(Permission what);
    void UpdateBySelectionPermission(CCmdUI* ui, Permission what);
    // The nudge, rotation and flip pattern: filter, build, empty.
    void RunOnMovable(int dx, int dy);
    void RunRotation(int angle);
    void RunFlip(float sx, float sy);
    void RunAlign(int kind);
    void SetZoomPercent(int percent);
    // The grid steps in logical units, rounded as the paste position wants.
    CSize GridStep(BOOL round);
    void SetPending(CODComponent* component);
    CPoint PolyPointLP(int i);
    int PolyFinishStateCheck(int minimum, UINT flags, int x, int y);

    int m_nState;
    BOOL m_bEditVertices;
    CODViewport* m_pODViewport;
    BOOL m_bApplyDefaults;
    CMenu* m_pContextMenu;
    CPoint m_ptPressDP;
    CPoint m_ptPressLP;
    CPoint m_ptLastMouse;
    CODComponent* m_pHit;
    CODComponentSet m_selection;
    BOOL m_bPressedOnSelected;
    BOOL m_bKeepAspect;
    HCURSOR m_hCursor;
    int m_nDragDx;
    int m_nDragDy;
    UINT m_cfPrivate;
    CODDropTarget* m_pDropTarget;
    int m_nRotateStart;
    int m_nRotateAngle;
    CPoint m_ptRotateCentre;
    int m_nHandle;
    int m_nScaleBaseX;
    int m_nScaleBaseY;
    float m_fScaleX;
    float m_fScaleY;
    int m_nHoverHandle;
    int m_nScaleReference;
    CODPortComponent* m_pDragPort;
    CODConnection* m_pDetached;
    CODTextComponent* m_pEditing;
    CODComponent* m_pPending;
    CArray<CPoint, CPoint> m_points;
    CPoint m_ptTracking;
    CODComponentSetTracker m_tracker;
    CODComponentSet m_trackingCopies;
    CODComponentSet m_dragSet;
    CODComponentSet m_trackingExtras;
    CODPortComponent* m_pLinkSource;
    CODPortComponent* m_pLinkTarget;
};
