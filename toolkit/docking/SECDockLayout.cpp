#include "SECDockLayout.h"

namespace SECDockLayout {

float MinShare(int nLength)
{
  float f = nLength > 0 ? (float)kMinBarLength / (float)nLength : 0.05f;
  if (f < 0.0f)
    f = 0.0f;
  if (f > 1.0f)
    f = 1.0f;
  return f;
}

void NormalizeShares(std::vector<float>& shares, float fMinShare, int nKeep)
{
  const size_t n = shares.size();
  if (n == 0)
    return;
  double sum = 0;
  for (float& f : shares) {
    if (!(f > 0.0f))  // negative or NaN from a stored state counts as nothing
      f = 0.0f;
    sum += f;
  }
  if (sum <= 0 || (double)fMinShare * (double)n >= 1.0) {
    for (float& f : shares)
      f = 1.0f / (float)n;
    return;
  }
  const float fKeep = nKeep >= 0 && nKeep < (int)n ? shares[nKeep] : 0.0f;
  if (fKeep > 0.0f && fKeep < 1.0f && sum - fKeep > 0) {
    double fOthers = sum - fKeep;
    for (size_t i = 0; i < n; i++)
      if ((int)i != nKeep)
        shares[i] = (float)(shares[i] / fOthers * (1.0 - fKeep));
  } else {
    for (float& f : shares)
      f = (float)(f / sum);
  }
  // Raise the small ones; take what that costs from the others by their excess.
  double deficit = 0, excess = 0;
  for (float f : shares) {
    if (f < fMinShare)
      deficit += fMinShare - f;
    else
      excess += f - fMinShare;
  }
  if (deficit <= 0)
    return;
  for (float& f : shares) {
    if (f < fMinShare)
      f = fMinShare;
    else
      f = (float)(fMinShare + (f - fMinShare) * (1.0 - deficit / excess));
  }
}

std::vector<int> RowLengths(const std::vector<float>& shares, int nLength, bool bStretchLast)
{
  const int n = (int)shares.size();
  std::vector<int> lengths(shares.size(), 0);
  if (n == 0)
    return lengths;
  int nBase = nLength - kSplitter * (n - 1);
  if (nBase < 0)
    nBase = 0;
  int nPos = 0;
  for (int i = 0; i < n; i++) {
    int nLen = (int)(shares[i] * (float)nBase);
    if (nLen < 0)
      nLen = 0;
    if (i == n - 1 && bStretchLast)
      nLen = nLength - nPos > 0 ? nLength - nPos : 0;
    lengths[i] = nLen;
    nPos += nLen + kSplitter;
  }
  return lengths;
}

int MoveInRowSplitter(std::vector<int>& lengths, int nBefore, int nDelta, int nMinLength)
{
  const int n = (int)lengths.size();
  if (nBefore < 0 || nBefore + 1 >= n || nDelta == 0)
    return 0;
  const int nWanted = nDelta < 0 ? -nDelta : nDelta;
  int nTaken = 0;
  if (nDelta < 0) {
    for (int i = nBefore; i >= 0 && nTaken < nWanted; i--) {
      int nCan = lengths[i] - nMinLength;
      int t = nCan > 0 ? (nCan < nWanted - nTaken ? nCan : nWanted - nTaken) : 0;
      lengths[i] -= t;
      nTaken += t;
    }
    lengths[nBefore + 1] += nTaken;
    return -nTaken;
  }
  for (int i = nBefore + 1; i < n && nTaken < nWanted; i++) {
    int nCan = lengths[i] - nMinLength;
    int t = nCan > 0 ? (nCan < nWanted - nTaken ? nCan : nWanted - nTaken) : 0;
    lengths[i] -= t;
    nTaken += t;
  }
  lengths[nBefore] += nTaken;
  return nTaken;
}

}  // namespace SECDockLayout
