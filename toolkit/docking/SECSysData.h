// The toolkit's one cache of what its windows draw with: the system's generation, the
// border size, ten system colours and the cursors.
#ifndef QUORVEL_SECSYSDATA_H
#define QUORVEL_SECSYSDATA_H

#include <afxwin.h>

class SECSysData {
 public:
  SECSysData();
  ~SECSysData();

  // Reads the ten colours again, in the order of the members.
  void UpdateSysColors();

  int m_cxBorder;  // 2 on version 4 and later, else 1
  int m_cyBorder;
  COLORREF m_clrBtnFace;
  COLORREF m_clrBtnShadow;
  COLORREF m_clrBtnHilite;
  COLORREF m_clrWindowFrame;
  COLORREF m_clr3DLight;
  COLORREF m_clr3DDkShadow;
  COLORREF m_clrWindowText;
  COLORREF m_clrWindow;
  COLORREF m_clrHighlight;
  COLORREF m_clrHighlightText;
  HCURSOR m_hcurArrow;
  // Loaded by the docking code from the program's cursors the first time it needs them.
  HCURSOR m_hcurHSplit;
  HCURSOR m_hcurVSplit;
  HANDLE m_hSpare;  // not used
  BOOL m_bWin4;     // major version (low byte of GetVersion) 4 or more
};

// The single instance, built before the program's entry code runs.
extern SECSysData secData;

#endif  // QUORVEL_SECSYSDATA_H
