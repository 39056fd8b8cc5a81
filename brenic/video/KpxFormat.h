// The clip file's stored form: a 20-byte header, the one-clip database and the clip's
// video, one after the other. Written without Win32 so that the reader can be fuzzed
// natively; the clip object supplies the files.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace kpx {

const uint32_t kMagic = 0xAABBCCDDu;
const uint32_t kVersion = 2;
const uint32_t kHeaderSize = 20;
const size_t kBlockSize = 0x80000;

struct Header {
    uint32_t magic = 0;
    uint32_t version = 0;
    uint32_t dbOffset = 0;
    uint32_t dbEnd = 0;
    uint32_t voiceOverSize = 0;
};

void EncodeHeader(const Header& header, uint8_t out[kHeaderSize]);
Header DecodeHeader(const uint8_t in[kHeaderSize]);

enum Status {
    kOk,
    kCannotRead,        // the clip file (or a part being packed) could not be read
    kUnsupported,       // a version or magic the reader does not know
    kCorrupt,           // the header's lengths do not fit the file, or the file ends early
    kVoiceOver,         // a voice-over part, which no writer produces
    kCannotCreateDb,    // the database target could not be created
    kCannotCreateVideo, // the video target could not be created
    kCannotWrite,       // a target took fewer bytes than given
    kTooLarge,          // a database part too large for the header's 32-bit fields
};

// Reading side: Read returns the bytes read (0 at the end), or -1 on an error.
class Source {
public:
    virtual ~Source() {}
    virtual long long Read(void* buffer, size_t size) = 0;
};

// Writing side: Create makes the target (replacing an existing one); Write takes all bytes
// or fails.
class Sink {
public:
    virtual ~Sink() {}
    virtual bool Create() = 0;
    virtual bool Write(const void* data, size_t size) = 0;
};

// Accepts version 1 with any magic and version 2 with the magic. For an accepted header,
// the database part must end at or after its start and fit in the file; then *dbSize and
// *videoSize tell the parts' lengths.
Status CheckHeader(const Header& header, uint64_t fileSize, uint64_t* dbSize,
                   uint64_t* videoSize);

// Copies exactly `count` bytes in blocks; a source that ends early is kCorrupt.
Status CopyExactly(Source& from, Sink& to, uint64_t count, std::vector<uint8_t>& buffer);

// Reads a whole clip file of `fileSize` bytes from `in` into the two targets, which are
// created only once the header has been accepted.
Status Unpack(Source& in, uint64_t fileSize, Sink& db, Sink& video);

// Writes a clip file: the header, then exactly dbSize bytes of `db` and videoSize bytes of
// `video`. The caller has made `out`.
Status Pack(Sink& out, Source& db, uint64_t dbSize, Source& video, uint64_t videoSize);

} // namespace kpx
