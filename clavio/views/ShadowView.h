// The shadow view's compositor: the moving parts of chosen swing positions stamped over
// each other, the current field's moving parts blended live over the stamped picture.
// Every frame of the range is kept as a picture, so positioning needs no decoding.
#pragma once
#include <afxwin.h>
#include "BitmapDIB.h"
#include <vector>

class CPlaybackGraph;

class CShadowView
{
public:
    CShadowView();
    virtual ~CShadowView();

    // Builds the caches from the graph's frames first..last and shows the field. FALSE
    // (and nothing kept) when the pictures cannot be made.
    BOOL Setup(CPlaybackGraph* graph, int width, int height, int first, int last, int field);
    // Sets parity and frame of a field position and composes.
    virtual void SetPosition(int field);
    // The stamped picture takes the composed one.
    virtual void Merge();
    // The stamped picture becomes the current frame's field, line-doubled.
    void Clear();
    void FreeFrames();
    CDC* GetOutputDC();
    void GrabFrameInto(int frame, CBitmapDIB* picture);

    int m_nThreshold;

    // The composition of the current position from the cached pictures.
    void Compose();

    std::vector<CBitmapDIB*> m_Frames;
    CBitmapDIB m_Background, m_Accumulated, m_Output, m_Mask, m_Scratch;
    CBitmapDIB* m_pCurrent;
    CBitmapDIB* m_pPrevious;
    CBitmapDIB* m_pNext;
    int m_nParity;
    int m_nCurrentFrame;
    int m_nFrameCount;
    int m_nWidth, m_nHeight;
    int m_nFirst, m_nLast;
    CPlaybackGraph* m_pGraph;
    CDC m_MemDC;

private:
    CBitmapDIB* FrameAt(int frame) const;
    HGDIOBJ m_hOriginal;
};
