// The toolkit bar's dock context: dragging a bar to dock or float it (a floating bar docks only
// after moving more than 4 pixels; the status line tells how to keep it from docking), resizing
// a floating bar on both axes within the floating limits, and toggling between the last dock
// place and the last floating place with the bar's row share kept across the float.
#ifndef QUORVEL_SECDOCKCONTEXT_H
#define QUORVEL_SECDOCKCONTEXT_H

#include <afxext.h>

class SECDockContext : public CDockContext {
 public:
  explicit SECDockContext(CControlBar* pBar);

  virtual void StartDrag(CPoint pt) override;
  // Floats a docked bar at its last floating place, or docks a floating one back into its
  // place-holder (or last dock place); a bar with no side to go to stays where it is.
  virtual void ToggleDocking() override;
  // "Float In Main Window" of a toolkit MDI frame: a bar outside an MDI child goes into one
  // (remembering whether it floated); a bar in one goes back to floating or to its dock place.
  virtual void ToggleFloatInMainWindow();

  virtual DWORD CanDock() override;
  // Over a toolkit dock bar the outline shows the bar's share of the row it would join.
  virtual void AdjustDockFeedback(CRect& rect) override;
  virtual void EndDrag() override;
  virtual void Stretch(CPoint pt) override;
  virtual void EndResize() override;
  // Ends the loop and puts the idle prompt back on the status line.
  virtual void CancelLoop() override;

  CRect m_rectLastFeedback;
  CPoint m_ptDragStart;   // screen
  CPoint m_ptLastFeedback;
  int m_nLastRow;         // -1: none
  BOOL m_bPrevFloating;   // "PrevFloating" of the dock state
  CSize m_sizeMinFloat;   // a floating frame's smallest and largest sizes
  CSize m_sizeMaxFloat;

 protected:
  // Whether a free-sizing toolkit bar: both axes follow the border drag.
  BOOL IsFreeSizing() const;
  // The dock bar a floating bar returns to and where in it (screen; NULL: its held place).
  CDockBar* MRUDockBar(CFrameWnd* pFrame, CRect& rect, BOOL& bUseRect);
  // The side the outline is over, by the bar's orientation (flipped with Shift).
  DWORD DockSide();
  void SendPrompt(UINT nID);
};

#endif  // QUORVEL_SECDOCKCONTEXT_H
