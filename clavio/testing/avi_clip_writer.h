// Uncompressed AVI clips written with AVIFile at test time, in the temporary folder.
#pragma once
#include "AviFile.h"
#include <functional>
#include <string>
#include <vector>

// The clip's frames (handled by the codec `handler`, none by default) have the format (a bitmap header, with its palette if any) and their
// bytes from fill(frame number, bytes); the clip's path, or empty on failure.
inline std::string WriteAviClip(const char* name, const std::vector<BYTE>& format, int frames,
                                const std::function<void(int, std::vector<BYTE>&)>& fill,
                                DWORD handler = 0)
{
    char dir[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    DeleteFileA(path.c_str());
    const auto* bih = reinterpret_cast<const BITMAPINFOHEADER*>(format.data());
    CAviFile file;
    if (!file.Open(path.c_str(), OF_CREATE | OF_WRITE))
        return "";
    AVISTREAMINFOA info = {};
    info.fccType = streamtypeVIDEO;
    info.fccHandler = handler;
    info.dwScale = 1001;
    info.dwRate = 30000;
    info.dwSuggestedBufferSize = bih->biSizeImage;
    SetRect(&info.rcFrame, 0, 0, bih->biWidth, bih->biHeight);
    PAVISTREAM stream = file.CreateStream(&info);
    if (!stream)
        return "";
    bool ok = AVIStreamSetFormat(stream, 0, const_cast<BYTE*>(format.data()), LONG(format.size())) == AVIERR_OK;
    std::vector<BYTE> bytes(bih->biSizeImage);
    for (int n = 0; ok && n < frames; ++n) {
        fill(n, bytes);
        ok = AVIStreamWrite(stream, n, 1, bytes.data(), LONG(bytes.size()), AVIIF_KEYFRAME, NULL,
                            NULL) == AVIERR_OK;
    }
    AVIStreamRelease(stream);
    return ok ? path : "";
}

// A bitmap header of the size and depth, with a palette of 256 colours at 8 bits.
inline std::vector<BYTE> AviFormat(int width, int height, int bitsPerPixel)
{
    std::vector<BYTE> format(sizeof(BITMAPINFOHEADER) + (bitsPerPixel == 8 ? 256 * sizeof(RGBQUAD) : 0));
    auto* bih = reinterpret_cast<BITMAPINFOHEADER*>(format.data());
    *bih = {sizeof *bih, width, height, 1, WORD(bitsPerPixel), BI_RGB,
            DWORD(width * height * bitsPerPixel / 8)};
    if (bitsPerPixel == 8)
        bih->biClrUsed = 256;
    return format;
}

// A clip whose line y of frame n carries field 2n + (y & 1) in its low byte and, in its red
// byte, 0x40 left of the middle column and 0xC0 from it; at 8 bits per pixel (a format with
// a 256-colour palette) the pictures are left empty.
inline std::string WriteFieldCodedClip(const char* name, int width, int height, int frames,
                                       int bitsPerPixel = 32, DWORD handler = 0)
{
    return WriteAviClip(name, AviFormat(width, height, bitsPerPixel), frames,
                        [width, height](int n, std::vector<BYTE>& bytes) {
                            if (bytes.size() < size_t(width) * height * 4)
                                return;
                            auto* pixels = reinterpret_cast<DWORD*>(bytes.data());
                            // Bottom-up: memory row r is line height - 1 - r.
                            for (int y = 0; y < height; ++y)
                                for (int x = 0; x < width; ++x)
                                    pixels[size_t(height - 1 - y) * width + x] =
                                        ((x < width / 2 ? 0x40 : 0xC0) << 16) | (2 * n + (y & 1));
                        },
                        handler);
}
