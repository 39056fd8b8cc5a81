// The toolkit bar's dock context: toggling between the last dock place and the last
// floating place keeps the bar's row share across the float.
#ifndef QUORVEL_SECDOCKCONTEXT_H
#define QUORVEL_SECDOCKCONTEXT_H

#include <afxext.h>

class SECDockContext : public CDockContext {
 public:
  explicit SECDockContext(CControlBar* pBar) : CDockContext(pBar), m_bPrevFloating(FALSE) {}
  // Floats a docked bar at its last floating place, or docks a floating one back into its
  // place-holder (or last dock place); a bar with no side to go to stays where it is.
  virtual void ToggleDocking() override;

  BOOL m_bPrevFloating;  // "PrevFloating" of the dock state
};

#endif  // QUORVEL_SECDOCKCONTEXT_H
