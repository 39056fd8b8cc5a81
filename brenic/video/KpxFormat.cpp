#include "KpxFormat.h"

namespace kpx {

namespace {

void Put32(uint8_t* p, uint32_t v)
{
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
    p[2] = (uint8_t)(v >> 16);
    p[3] = (uint8_t)(v >> 24);
}

uint32_t Get32(const uint8_t* p)
{
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
}

// Reads until `size` bytes are in or the source ends; the count read, or -1 on an error.
long long ReadFull(Source& from, uint8_t* buffer, size_t size)
{
    size_t got = 0;
    while (got < size) {
        long long n = from.Read(buffer + got, size - got);
        if (n < 0 || (size_t)n > size - got)
            return -1;
        if (n == 0)
            break;
        got += (size_t)n;
    }
    return (long long)got;
}

} // namespace

void EncodeHeader(const Header& header, uint8_t out[kHeaderSize])
{
    Put32(out, header.magic);
    Put32(out + 4, header.version);
    Put32(out + 8, header.dbOffset);
    Put32(out + 12, header.dbEnd);
    Put32(out + 16, header.voiceOverSize);
}

Header DecodeHeader(const uint8_t in[kHeaderSize])
{
    Header h;
    h.magic = Get32(in);
    h.version = Get32(in + 4);
    h.dbOffset = Get32(in + 8);
    h.dbEnd = Get32(in + 12);
    h.voiceOverSize = Get32(in + 16);
    return h;
}

Status CheckHeader(const Header& header, uint64_t fileSize, uint64_t* dbSize,
                   uint64_t* videoSize)
{
    if (!(header.version == 1 || (header.version == 2 && header.magic == kMagic)))
        return kUnsupported;
    // The database part starts right after the header whatever its offset field says; only
    // the difference of the two fields is its length.
    if (header.dbEnd < header.dbOffset || fileSize < kHeaderSize)
        return kCorrupt;
    const uint64_t size = (uint64_t)header.dbEnd - header.dbOffset;
    if (size > fileSize - kHeaderSize)
        return kCorrupt;
    if (header.voiceOverSize != 0)
        return kVoiceOver;
    *dbSize = size;
    *videoSize = fileSize - kHeaderSize - size;
    return kOk;
}

Status CopyExactly(Source& from, Sink& to, uint64_t count, std::vector<uint8_t>& buffer)
{
    const size_t block = count < kBlockSize ? (size_t)count : kBlockSize;
    if (buffer.size() < block)
        buffer.resize(block);
    while (count > 0) {
        const size_t want = count < kBlockSize ? (size_t)count : kBlockSize;
        const long long got = ReadFull(from, buffer.data(), want);
        if (got < 0)
            return kCannotRead;
        if ((size_t)got < want)
            return kCorrupt;
        if (!to.Write(buffer.data(), want))
            return kCannotWrite;
        count -= want;
    }
    return kOk;
}

Status Unpack(Source& in, uint64_t fileSize, Sink& db, Sink& video)
{
    uint8_t bytes[kHeaderSize];
    const long long got = ReadFull(in, bytes, kHeaderSize);
    if (got < 0)
        return kCannotRead;
    if ((size_t)got < kHeaderSize)
        return kCorrupt;
    uint64_t dbSize = 0, videoSize = 0;
    const Status header = CheckHeader(DecodeHeader(bytes), fileSize, &dbSize, &videoSize);
    if (header != kOk)
        return header;
    std::vector<uint8_t> buffer;
    if (!db.Create())
        return kCannotCreateDb;
    Status s = CopyExactly(in, db, dbSize, buffer);
    if (s != kOk)
        return s;
    if (!video.Create())
        return kCannotCreateVideo;
    s = CopyExactly(in, video, videoSize, buffer);
    if (s != kOk)
        return s;
    // A file that grew while it was read is not the file whose size was checked.
    uint8_t more;
    const long long extra = in.Read(&more, 1);
    if (extra < 0)
        return kCannotRead;
    return extra == 0 ? kOk : kCorrupt;
}

Status Pack(Sink& out, Source& db, uint64_t dbSize, Source& video, uint64_t videoSize)
{
    if (dbSize > 0xFFFFFFFFull - kHeaderSize)
        return kTooLarge;
    Header h;
    h.magic = kMagic;
    h.version = kVersion;
    h.dbOffset = kHeaderSize;
    h.dbEnd = kHeaderSize + (uint32_t)dbSize;
    h.voiceOverSize = 0;
    uint8_t bytes[kHeaderSize];
    EncodeHeader(h, bytes);
    if (!out.Write(bytes, kHeaderSize))
        return kCannotWrite;
    std::vector<uint8_t> buffer;
    Status s = CopyExactly(db, out, dbSize, buffer);
    if (s == kOk)
        s = CopyExactly(video, out, videoSize, buffer);
    // A part read short while packing is a read failure, not a damaged clip file.
    return s == kCorrupt ? kCannotRead : s;
}

} // namespace kpx
