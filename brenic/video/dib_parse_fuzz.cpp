// libFuzzer target over the bitmap-file and Targa checks, built natively with
// AddressSanitizer and UndefinedBehaviorSanitizer: every input is taken as the rest of a BMP
// file (after its 14-byte file header) and as a Targa file; whatever the checks accept is
// then read in full, as GDI and the Targa copy would, so that a read past the bytes there
// is an address error.
#include "DibParse.h"
#include <cstdlib>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace dibparse;
    {
        std::vector<uint8_t> block(data, data + size);
        size_t used = block.size();
        const uint32_t pixelsAt = size >= 4 ? Get32(data) % 2048 : 0;
        if (NormalisePackedDib(block.data(), used, pixelsAt)) {
            DibLayout l;
            if (!CheckPackedDib(block.data(), used, &l) || used > block.size() ||
                size_t(l.bitsOffset) + l.pixelBytes > used)
                abort();
            block.resize(used);  // what the program keeps
            unsigned sum = 0;
            for (size_t i = 0; i < l.bitsOffset + size_t(l.pixelBytes); ++i)
                sum += block[i];
            if (l.compression == 0 || l.compression == 3) {
                const size_t stride = (size_t(l.bitCount) * l.width + 31) / 32 * 4;
                const size_t rows = size_t(l.height < 0 ? -int64_t(l.height) : l.height);
                sum += block[l.bitsOffset + stride * rows - 1];
            }
            if (sum == 0xFFFFFFFF)
                abort();
        }
    }
    {
        TargaInfo info;
        if (ReadTargaHeader(data, size, &info) == kTargaOk) {
            const int bw = 1 + (info.width % 40), bh = 1 + (info.height % 40);
            std::vector<uint32_t> bits(size_t(bw) * bh);
            CopyTargaPixels(data, size, info, bits.data(), bw, bh);
        }
    }
    return 0;
}
