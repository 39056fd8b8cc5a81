#include "ShadowView.h"
#include "shadow_pixels.h"
#include "PlaybackGraph.h"
#include "GraphManager.h"
#include <cstring>

CShadowView::CShadowView()
    : m_nThreshold(54), m_pCurrent(NULL), m_pPrevious(NULL), m_pNext(NULL), m_nParity(0),
      m_nCurrentFrame(0), m_nFrameCount(70), m_nWidth(608), m_nHeight(456), m_nFirst(0),
      m_nLast(0), m_pGraph(NULL), m_hOriginal(NULL)
{
    m_MemDC.CreateCompatibleDC(NULL);
    m_hOriginal = ::GetCurrentObject(m_MemDC.m_hDC, OBJ_BITMAP);
}

CShadowView::~CShadowView()
{
    if (m_MemDC.m_hDC && m_hOriginal)
        ::SelectObject(m_MemDC.m_hDC, m_hOriginal);
    for (CBitmapDIB* f : m_Frames)
        delete f;
}

CBitmapDIB* CShadowView::FrameAt(int frame) const
{
    if (m_Frames.empty())
        return NULL;
    int i = frame - m_nFirst;
    i = i < 0 ? 0 : i >= int(m_Frames.size()) ? int(m_Frames.size()) - 1 : i;
    return m_Frames[i];
}

void CShadowView::GrabFrameInto(int frame, CBitmapDIB* picture)
{
    if (!m_pGraph || !picture)
        return;
    ::SelectObject(m_MemDC.m_hDC, picture->m_hObject);
    m_pGraph->EnableDeinterlace(FALSE);
    m_pGraph->SeekFrame(frame, false, false);
    if (m_pGraph->GetDeinterlace())
        m_pGraph->GetDeinterlace()->SetScaleOutput(TRUE);
    RECT all = {0, 0, m_nWidth, m_nHeight};
    m_pGraph->GrabFrameToDC(&m_MemDC, &all);
    if (m_pGraph->GetDeinterlace())
        m_pGraph->GetDeinterlace()->SetScaleOutput(TRUE);
    m_pGraph->EnableDeinterlace(TRUE);
    ::SelectObject(m_MemDC.m_hDC, m_hOriginal);
    GdiFlush();
}

BOOL CShadowView::Setup(CPlaybackGraph* graph, int width, int height, int first, int last, int field)
{
    FreeFrames();
    m_nWidth = width, m_nHeight = height, m_nFirst = first, m_nLast = last < first ? first : last;
    m_pGraph = graph;
    m_nCurrentFrame = field / 2;
    m_nParity = field % 2;
    const size_t pixels = size_t(width) * height;
    if (!m_Background.Create(width, height, 32) || !m_Accumulated.Create(width, height, 32) ||
        !m_Output.Create(width, height, 32) || !m_Mask.Create(width, height, 32) ||
        !m_Scratch.Create(width, height, 32)) {
        FreeFrames();
        return FALSE;
    }
    GrabFrameInto(m_nFirst, &m_Mask);
    std::vector<uint32_t> firstPicture(m_Mask.m_pBits, m_Mask.m_pBits + pixels);
    GrabFrameInto((m_nLast - m_nFirst) / 2 + m_nFirst, &m_Scratch);
    std::vector<uint32_t> middle(m_Scratch.m_pBits, m_Scratch.m_pBits + pixels);
    GrabFrameInto(m_nLast, &m_Mask);
    shadow::Background(firstPicture.data(), middle.data(), (const uint32_t*)m_Mask.m_pBits,
                       (uint32_t*)m_Background.m_pBits, int(pixels));

    m_nFrameCount = m_nLast - m_nFirst + 1;
    for (int i = 0; i < m_nFrameCount; ++i) {
        CBitmapDIB* picture = new CBitmapDIB;
        if (!picture->Create(width, height, 32)) {
            // Memory for the whole range is not there: no view rather than a broken one.
            delete picture;
            FreeFrames();
            return FALSE;
        }
        m_Frames.push_back(picture);
        GrabFrameInto(m_nFirst + i, picture);
    }
    SetPosition(field);
    Clear();
    return TRUE;
}

void CShadowView::SetPosition(int field)
{
    m_nParity = field % 2;
    if (m_nParity < 0)
        m_nParity = -m_nParity;
    int code = CGraphManager::GetOSVersionCode();
    if (code == 3 || code == 4)
        m_nParity = (m_nParity + 1) % 2;
    m_nCurrentFrame = field / 2;
    Compose();
    if (m_pGraph)
        m_pGraph->SetOutputDC(GetOutputDC(), TRUE);
}

void CShadowView::Compose()
{
    m_pCurrent = FrameAt(m_nCurrentFrame);
    m_pPrevious = FrameAt(m_nCurrentFrame - 1 < m_nFirst ? m_nFirst : m_nCurrentFrame - 1);
    m_pNext = FrameAt(m_nCurrentFrame + 1 > m_nLast ? m_nLast : m_nCurrentFrame + 1);
    if (!m_pCurrent || !m_Output.m_pBits)
        return;
    GdiFlush();
    shadow::Pictures p = {(const uint32_t*)m_pCurrent->m_pBits, (const uint32_t*)m_Background.m_pBits,
                          (const uint32_t*)m_pPrevious->m_pBits, (const uint32_t*)m_pNext->m_pBits,
                          (const uint32_t*)m_Accumulated.m_pBits, (uint32_t*)m_Output.m_pBits,
                          (uint32_t*)m_Mask.m_pBits, (uint32_t*)m_Scratch.m_pBits};
    shadow::Compose(p, m_nWidth, m_nHeight, m_nParity, m_nThreshold);
}

void CShadowView::Merge()
{
    if (!m_Accumulated.m_pBits || !m_Output.m_pBits)
        return;
    GdiFlush();
    memcpy(m_Accumulated.m_pBits, m_Output.m_pBits, size_t(m_nWidth) * m_nHeight * 4);
}

void CShadowView::Clear()
{
    CBitmapDIB* current = FrameAt(m_nCurrentFrame);
    if (!current || !m_Accumulated.m_pBits)
        return;
    m_Accumulated.CopyField(current->m_pBits, 0, 0, m_nWidth, m_nHeight, m_nWidth, 0, 0, m_nParity);
}

void CShadowView::FreeFrames()
{
    ::SelectObject(m_MemDC.m_hDC, m_hOriginal);
    for (CBitmapDIB* f : m_Frames)
        delete f;
    m_Frames.clear();
    m_pCurrent = m_pPrevious = m_pNext = NULL;
    m_Background.DeleteObject();
    m_Accumulated.DeleteObject();
    m_Output.DeleteObject();
    m_Mask.DeleteObject();
    m_Scratch.DeleteObject();
    m_Background.m_pBits = m_Accumulated.m_pBits = m_Output.m_pBits = NULL;
    m_Mask.m_pBits = m_Scratch.m_pBits = NULL;
}

CDC* CShadowView::GetOutputDC()
{
    if (m_Output.m_hObject)
        ::SelectObject(m_MemDC.m_hDC, m_Output.m_hObject);
    return &m_MemDC;
}
