#include "ImgList.h"
#include "PanelRes.h"

namespace {
const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);
}

CImgList::CImgList()
    : m_nIconA(-1), m_nIconB(-1), m_nIconC(-1), m_nIconD(-1), m_nIconE(-1), m_nIconF(-1),
      m_nIconG(-1), m_nIconH(-1), m_nSmallIconI(-1), m_nSmallIconJ(-1), m_nProClip(-1),
      m_nIconK(-1), m_nDefaultClip(-1), m_nIconL(-1), m_nComparisonClip(-1), m_nDrillClip(-1),
      m_nFaceOnClip(-1), m_nDownLineClip(-1), m_nStateImage(-1), m_nProDownLineClip(-1),
      m_nSplitClip(-1), m_bAllAdded(TRUE)
{
    for (int i = 0; i < 7; ++i) {
        m_nOverlayImage[i] = -1;
        m_nOverlayNumber[i] = 0;
    }
}

CImgList::~CImgList()
{
}

// Adds one bitmap resource to a list with the key colour as mask; the list's index, or -1.
int CImgList::Add(CImageList& list, UINT id, COLORREF key)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(id)) {
        m_bAllAdded = FALSE;
        return -1;
    }
    int index = list.Add(&bitmap, key);
    if (index < 0)
        m_bAllAdded = FALSE;
    bitmap.DeleteObject();
    return index;
}

BOOL CImgList::Create()
{
    const UINT flags = ILC_COLOR8 | ILC_MASK;
    if (!m_large.Create(32, 32, flags, 8, 1) || !m_small.Create(16, 16, flags, 8, 1) ||
        !m_state.Create(32, 32, flags, 8, 1))
        return FALSE;
    m_bAllAdded = TRUE;

    // The eight pairs go in together, so each icon has one index in both lists.
    struct Pair {
        UINT largeId, smallId;
        int* index;
    } pairs[] = {
        {IDB_CLIP_LARGE_A, IDB_CLIP_SMALL_A, &m_nIconA}, {IDB_CLIP_LARGE_B, IDB_CLIP_SMALL_B, &m_nIconB},
        {IDB_CLIP_LARGE_C, IDB_CLIP_SMALL_C, &m_nIconC}, {IDB_CLIP_LARGE_D, IDB_CLIP_SMALL_D, &m_nIconD},
        {IDB_CLIP_LARGE_E, IDB_CLIP_SMALL_E, &m_nIconE}, {IDB_CLIP_LARGE_F, IDB_CLIP_SMALL_F, &m_nIconF},
        {IDB_CLIP_LARGE_G, IDB_CLIP_SMALL_G, &m_nIconG}, {IDB_CLIP_LARGE_H, IDB_CLIP_SMALL_H, &m_nIconH},
    };
    for (const Pair& p : pairs) {
        *p.index = Add(m_large, p.largeId, kMagenta);
        Add(m_small, p.smallId, kMagenta);
    }
    m_nSmallIconI = Add(m_small, IDB_CLIP_SMALL_I, kMagenta);
    m_nSmallIconJ = Add(m_small, IDB_CLIP_SMALL_J, kMagenta);

    m_nProClip = Add(m_large, IDB_CLIP_PRO, kRed);
    m_nIconK = Add(m_large, IDB_CLIP_K, kRed);
    m_nDefaultClip = Add(m_large, IDB_CLIP_DEFAULT, kRed);
    m_nIconL = Add(m_large, IDB_CLIP_L, kRed);
    m_nComparisonClip = Add(m_large, IDB_CLIP_COMPARISON, kRed);
    m_nDrillClip = Add(m_large, IDB_CLIP_DRILL, kRed);
    const UINT overlays[7] = {IDB_OVERLAY_1, IDB_OVERLAY_2, IDB_OVERLAY_3, IDB_OVERLAY_4,
                              IDB_OVERLAY_5, IDB_OVERLAY_6, IDB_OVERLAY_7};
    for (int n = 0; n < 7; ++n) {
        m_nOverlayImage[n] = Add(m_large, overlays[n], kRed);
        m_nOverlayNumber[n] = n + 1;
        if (m_nOverlayImage[n] >= 0)
            m_large.SetOverlayImage(m_nOverlayImage[n], n + 1);
    }
    m_nFaceOnClip = Add(m_large, IDB_CLIP_FACE_ON, kRed);
    m_nDownLineClip = Add(m_large, IDB_CLIP_DOWN_LINE, kRed);
    m_nStateImage = Add(m_state, IDB_CLIP_STATE, kRed);
    m_nProDownLineClip = Add(m_large, IDB_CLIP_PRO_DOWN_LINE, kRed);
    m_nSplitClip = Add(m_large, IDB_CLIP_SPLIT, kRed);
    return m_bAllAdded;
}
