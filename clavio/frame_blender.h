// Pixel engine for 32-bit pictures in memory (0xAARRGGBB, one word per pixel): copies,
// fills and blends rectangles between up to three buffers, always clipped to a frame
// rectangle of the destination and to the extent of each source that the caller gives.
//
// The caller fills the buffer fields before calling an operation. Line n of a buffer
// starts at pointer + n x stride (strides in pixels). The class owns no memory.
#pragma once
#include <cstdint>

class CFrameBlender {
public:
    CFrameBlender();

    // Buffers, filled by the caller.
    uint32_t* m_pSource = nullptr;       // source A (read)
    uint32_t* m_pDest = nullptr;         // destination (written)
    uint32_t* m_pSourceB = nullptr;      // second source of Blend2
    int m_nSourceStride = 0;
    int m_nDestStride = 0;
    int m_nSourceBStride = 0;
    // Extent of each source in pixels. A negative value means "not given": the source is
    // then trusted to cover every pixel the clipped rectangle reads. Give them whenever
    // the source may be smaller than the frame rectangle.
    int m_nSourceWidth = -1, m_nSourceHeight = -1;
    int m_nSourceBWidth = -1, m_nSourceBHeight = -1;

    // Clip rectangle in destination coordinates.
    int m_nFrameX, m_nFrameY, m_nFrameWidth, m_nFrameHeight;

    void SetAlphaMode(bool on) { m_bAlphaMode = on; }
    void SetUseConstantAlpha(bool on) { m_bUseConstantAlpha = on; }
    void SetConstantAlpha(int alpha) { m_nConstantAlpha = alpha < 0 ? 0 : alpha > 255 ? 255 : alpha; }

    // Clips a copy of (w x h) from (sx, sy) to (dx, dy) to the frame rectangle. Returns
    // true when nothing is left.
    bool ClipRect(int* sx, int* sy, int* w, int* h, int* dx, int* dy) const;

    void Copy(int sx, int sy, int w, int h, int dx, int dy);
    void CopyField(int sx, int sy, int w, int h, int dx, int dy, bool odd);
    void FillField(uint8_t value, int dx, int dy, int w, int h, bool odd);
    void Blend(int sx, int sy, int w, int h, int dx, int dy);
    void BlendField(int sx, int sy, int w, int h, int dx, int dy, bool odd);
    // Source line sy + k goes to destination line dy + h - 1 - k; pixels p with
    // (p & mask) == key are skipped.
    void KeyedCopyFlipped(int sx, int sy, int w, int h, int dx, int dy, uint32_t key,
                          uint32_t mask);
    // Destination = mix of source A and source B at the same coordinates.
    void Blend2(int sx, int sy, int w, int h, int dx, int dy);

private:
    // Frame clip, then the source extents (flipped: source lines run against the
    // destination's). False when nothing is left.
    bool Clip(int& sx, int& sy, int& w, int& h, int& dx, int& dy, bool flipped,
              bool withSourceB) const;
    static bool ClipToSource(int& sx, int& sy, int& w, int& h, int& dx, int& dy, int width,
                             int height, bool flipped);
    void BlendLine(const uint32_t* s, uint32_t* d, int w) const;

    bool m_bAlphaMode = false;
    int m_nConstantAlpha = 255;
    bool m_bUseConstantAlpha = false;
};
