// The arithmetic of a customisable toolbar's layout: rows of buttons for a width or a height,
// evened out, placed, and the button under a point. Works on the visible buttons only.
#ifndef QUORVEL_SECTOOLBARLAYOUT_H
#define QUORVEL_SECTOOLBARLAYOUT_H

#include "SECToolBtn.h"
#include <functional>
#include <vector>

struct SECTBRow {
  int nLast;  // index of its last button
  BOOL bSep;  // it ends at a separator (which is not part of its width)
  int cx;
  int cy;
};

typedef std::vector<SECStdBtn*> SECBtnVector;

// Rows for a width: a row takes buttons while it stays within width + 2 pixels, then ends at
// its last separator, or before the button that overflows.
void SECBuildRows(const SECBtnVector& btns, int nWidth, std::vector<SECTBRow>& rows);
// Evens the rows out, moving groups or single buttons from the widest row to the next.
void SECBalanceRows(const SECBtnVector& btns, std::vector<SECTBRow>& rows);
// Width and height of each row from its buttons.
void SECMeasureRows(const SECBtnVector& btns, std::vector<SECTBRow>& rows);
// Wraps for a length (a width, or a height when bHeight), balances through the hook, sets the
// wrapped bits; the size before borders. sizeButton is one standard button (W+7, H+7).
CSize SECWrapButtons(const SECBtnVector& btns, int nLength, BOOL bHeight, CSize sizeButton,
                     int nSepWidth, const std::function<void(std::vector<SECTBRow>&)>& balance);
// Places the wrapped buttons from the top-left corner; centred buttons go to their row's
// vertical middle.
void SECPlaceButtons(const SECBtnVector& btns, CPoint ptTopLeft, int nSepWidth);
// The index (in btns) of the button under a point, -1 for none or a separator.
int SECHitTestButtons(const SECBtnVector& btns, int x, int y, int nBtnHeight, CRect* pRect);

#endif  // QUORVEL_SECTOOLBARLAYOUT_H
