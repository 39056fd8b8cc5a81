// Row arithmetic of the dock bars, kept apart from the windows: the smallest share a bar
// may have, the normalisation of a row's shares, and the lengths of the bars of a shared
// row.
#ifndef QUORVEL_SECDOCKLAYOUT_H
#define QUORVEL_SECDOCKLAYOUT_H

#include <cstddef>
#include <vector>

namespace SECDockLayout {

// Pixels between two bars of a row (an in-row splitter).
const int kSplitter = 6;
// The fewest pixels a bar of a shared row keeps.
const int kMinBarLength = 18;

// 18 / length, 0.05 for a length that is not positive; within [0, 1].
float MinShare(int nLength);

// Scales the shares so that they add up to 1, none below the minimum. A row whose shares
// are all 0 (a stored state without shares) gets equal shares. What raising small shares
// to the minimum costs is taken from the shares above the minimum, in proportion to how
// far they stand above it; a row too short for every bar's minimum gets equal shares.
// With nKeep naming a share between 0 and 1 (the bar that changed last), that share stays
// and the others share the rest in their proportions.
void NormalizeShares(std::vector<float>& shares, float fMinShare, int nKeep = -1);

// Lengths of the bars of a shared row of nLength pixels: each bar share x (nLength - 6 (n -
// 1)), truncated; with bStretchLast the last bar ends exactly at the row's end. Lengths are
// never negative.
std::vector<int> RowLengths(const std::vector<float>& shares, int nLength, bool bStretchLast);

// Moves nDelta pixels across the in-row splitter after bar nBefore: the bar on the side the
// splitter moves away from grows by what the bars on the other side can give (from the
// splitter outwards), none of them going below nMinLength. Returns the pixels moved.
int MoveInRowSplitter(std::vector<int>& lengths, int nBefore, int nDelta, int nMinLength);

}  // namespace SECDockLayout

#endif  // QUORVEL_SECDOCKLAYOUT_H
