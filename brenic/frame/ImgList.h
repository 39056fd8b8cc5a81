// The clip panel's image lists: the icons of each clip's kind and view and the overlay
// images of its state. One program-wide object, created at start-up.
#pragma once
#include <afxwin.h>
#include <afxcmn.h>

class CImgList
{
public:
    CImgList();
    virtual ~CImgList();

    // Creates the three lists and adds every picture; FALSE when a list or a picture could
    // not be made (the program carries on with what was added).
    BOOL Create();

    CImageList& GetLargeList() { return m_large; }
    CImageList& GetSmallList() { return m_small; }
    CImageList& GetStateList() { return m_state; }

    // Indexes of the pictures in their lists (the eight pair icons share their index in the
    // large and the small list).
    int m_nIconA, m_nIconB, m_nIconC, m_nIconD, m_nIconE, m_nIconF, m_nIconG, m_nIconH;
    int m_nSmallIconI, m_nSmallIconJ;
    int m_nProClip, m_nIconK, m_nDefaultClip, m_nIconL, m_nComparisonClip, m_nDrillClip;
    int m_nOverlayImage[7];   // large-list index of overlay image n + 1
    int m_nOverlayNumber[7];  // its overlay number, n + 1
    int m_nFaceOnClip, m_nDownLineClip, m_nStateImage, m_nProDownLineClip, m_nSplitClip;

private:
    int Add(CImageList& list, UINT id, COLORREF key);

    CImageList m_small;
    CImageList m_large;
    CImageList m_state;
    BOOL m_bAllAdded;
};
