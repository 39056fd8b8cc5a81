// Fuzz target of the clip-file reader: any bytes either unpack into a database part and a
// video part that together with the header are the whole input, or are refused.
#include "KpxFormat.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

class MemorySource : public kpx::Source {
public:
    MemorySource(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    long long Read(void* buffer, size_t size) override
    {
        size_t n = size < m_size - m_pos ? size : m_size - m_pos;
        if (n)
            memcpy(buffer, m_data + m_pos, n);
        m_pos += n;
        return (long long)n;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

class MemorySink : public kpx::Sink {
public:
    bool Create() override
    {
        created = true;
        bytes.clear();
        return true;
    }
    bool Write(const void* data, size_t size) override
    {
        if (!created)
            abort();
        bytes.append((const char*)data, size);
        return true;
    }
    bool created = false;
    std::string bytes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    MemorySource in(data, size);
    MemorySink db, video;
    const kpx::Status s = kpx::Unpack(in, size, db, video);
    if (s != kpx::kOk) {
        // Nothing is made before the header has been accepted.
        if (size >= kpx::kHeaderSize) {
            uint64_t d, v;
            if (kpx::CheckHeader(kpx::DecodeHeader(data), size, &d, &v) != kpx::kOk &&
                (db.created || video.created))
                abort();
        }
        return 0;
    }
    if (kpx::kHeaderSize + db.bytes.size() + video.bytes.size() != size)
        abort();
    if (memcmp(db.bytes.data(), data + kpx::kHeaderSize, db.bytes.size()) != 0 ||
        memcmp(video.bytes.data(), data + kpx::kHeaderSize + db.bytes.size(),
               video.bytes.size()) != 0)
        abort();
    // Packing the parts again gives a version-2 file of the same parts.
    MemorySource dbIn((const uint8_t*)db.bytes.data(), db.bytes.size());
    MemorySource videoIn((const uint8_t*)video.bytes.data(), video.bytes.size());
    MemorySink out;
    out.Create();
    if (kpx::Pack(out, dbIn, db.bytes.size(), videoIn, video.bytes.size()) != kpx::kOk ||
        out.bytes.size() != size ||
        memcmp(out.bytes.data() + kpx::kHeaderSize, data + kpx::kHeaderSize,
               size - kpx::kHeaderSize) != 0)
        abort();
    return 0;
}
