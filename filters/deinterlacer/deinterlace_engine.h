// The Deinterlacer's work on one frame, apart from the filter graph: field selection and
// line doubling, crop, mask, mirror and scaling into the 608 x 456 reference picture at
// the top left of the frame, the keyed overlay, the composite picture of an output DC and
// snapshots. Frames are bottom-up 32-bit DIBs worked on in their own buffer.
#pragma once
#include <windows.h>
#include <ddraw.h>
#include <cstdint>
#include <vector>

struct DeinterlaceSettings {
    BOOL bypass = TRUE;
    int field = 0;
    BOOL overlayEnabled = FALSE;
    const uint32_t* overlayBits = nullptr;   // top row first, not owned
    LONG overlayWidth = 0;                   // pixels per row (the stride)
    LONG overlayHeight = 0;
    DWORD keyColour = 0;
    float crop[4] = {0, 0, 1, 1};            // x, y, w, h as fractions of the reference
    float mask[4] = {0, 0, 1, 1};
    BOOL mirror = FALSE;
    BOOL scaleToFrame = TRUE;
    BOOL scaleOutput = FALSE;
};

// Pixel geometry of one frame under the settings.
struct DeinterlaceGeometry {
    double refWidth = 608, refHeight = 456;
    bool scale = false;          // effective scale to frame
    int maskWidth = 0, maskHeight = 0;
    int cropX = 0, cropY = 0, cropWidth = 0, cropHeight = 0;
    int extra = 0;               // rows of the frame above the reference height
    bool fixUp = false;          // heights whose last field line needs doubling by hand
    bool cropActive = false;
};

DeinterlaceGeometry ComputeDeinterlaceGeometry(const DeinterlaceSettings& s, int width,
                                               int height);

class CDeinterlaceEngine {
public:
    CDeinterlaceEngine();
    ~CDeinterlaceEngine();
    CDeinterlaceEngine(const CDeinterlaceEngine&) = delete;
    CDeinterlaceEngine& operator=(const CDeinterlaceEngine&) = delete;

    // True when DirectDraw and the work surface could be made.
    bool Ready() const { return m_dd != nullptr && m_work != nullptr; }

    // Works on one frame in place. outputDC, when not null, supplies the composite picture.
    // When snapshotPending, the result is copied into snapshotDC (if any) and the function
    // returns true: the snapshot has been served.
    bool Process(uint8_t* bits, int width, int height, int bytesPerPixel,
                 const DeinterlaceSettings& s, HDC outputDC, bool snapshotPending,
                 HDC snapshotDC);

    // The field (0 or 1) whose rows alone Process reads from a frame of this size with
    // these settings, or -1 when it reads whole frames (no field view, a composite
    // picture, a crop, a mirror, or a height whose second field takes the first's last row).
    static int FieldRowsRead(int width, int height, int bytesPerPixel, const DeinterlaceSettings& s,
                             bool compositing);

private:
    bool EnsureWork(int width, int height, int bpp);
    IDirectDrawSurface4* SurfaceOver(uint8_t* bits, int width, int height, int bpp);
    void ServeSnapshot(IDirectDrawSurface4* frame, HDC target, int w, int h, int y, int height);
    void Composite(IDirectDrawSurface4* frame, HDC source, const DeinterlaceSettings& s,
                   DeinterlaceGeometry& g, int width, int height);
    static void Report(const char* what, HRESULT hr);

    IDirectDraw4* m_dd = nullptr;
    std::vector<uint8_t> m_workBits;
    IDirectDrawSurface4* m_work = nullptr;
    int m_workWidth = 0, m_workHeight = 0, m_workBpp = 0;
    std::vector<int> m_scratch;   // of the in-place scale
};
