// Writes the seed files of the clip-file reader's fuzz run into a folder: sound files of
// both versions, an empty database part, and headers whose lengths do not fit.
#include "KpxFormat.h"

#include <cstdio>
#include <string>

namespace {

bool WriteSeed(const std::string& folder, const char* name, const kpx::Header& h,
               const std::string& body)
{
    uint8_t bytes[kpx::kHeaderSize];
    kpx::EncodeHeader(h, bytes);
    FILE* f = fopen((folder + "/" + name).c_str(), "wb");
    if (!f)
        return false;
    bool ok = fwrite(bytes, 1, sizeof bytes, f) == sizeof bytes &&
              fwrite(body.data(), 1, body.size(), f) == body.size();
    return fclose(f) == 0 && ok;
}

kpx::Header Make(uint32_t magic, uint32_t version, uint32_t offset, uint32_t end,
                 uint32_t voice = 0)
{
    kpx::Header h;
    h.magic = magic;
    h.version = version;
    h.dbOffset = offset;
    h.dbEnd = end;
    h.voiceOverSize = voice;
    return h;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: kpx_seed <folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::string db = "SQLite format 3";
    const std::string avi = "RIFF\x10\0\0\0AVI LIST";
    const std::string both = db + avi;
    const uint32_t end = kpx::kHeaderSize + (uint32_t)db.size();
    bool ok = WriteSeed(folder, "v2", Make(kpx::kMagic, 2, 20, end), both) &&
              WriteSeed(folder, "v1", Make(0, 1, 20, end), both) &&
              WriteSeed(folder, "empty-db", Make(kpx::kMagic, 2, 20, 20), avi) &&
              WriteSeed(folder, "end-below-offset", Make(kpx::kMagic, 2, 20, 10), both) &&
              WriteSeed(folder, "end-past-file", Make(kpx::kMagic, 2, 20, 4000), both) &&
              WriteSeed(folder, "voice-over", Make(kpx::kMagic, 2, 20, end, 8), both) &&
              WriteSeed(folder, "v3", Make(kpx::kMagic, 3, 20, end), both);
    return ok ? 0 : 1;
}
