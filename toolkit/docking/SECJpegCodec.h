// The JPEG library's side of the JPEG image: decoding and encoding through callbacks, in a
// file of its own because the library's headers and the Windows headers cannot meet (both
// define `boolean`). Nothing here may throw: the callbacks report failures by their results,
// and a fatal library error leaves the library by its error exit and ends the call with false.
#ifndef QUORVEL_SECJPEGCODEC_H
#define QUORVEL_SECJPEGCODEC_H

#include <cstddef>

// The file under the codec.
class SECJpegStream {
public:
    virtual ~SECJpegStream() {}
    // Bytes read into buf (0 at the end of the file), or -1 when the file fails.
    virtual long ReadBytes(unsigned char* buf, unsigned long count) = 0;
    virtual bool WriteBytes(const unsigned char* buf, unsigned long count) = 0;
    virtual bool Flush() = 0;
};

// Where a decoded image goes.
class SECJpegTarget {
public:
    virtual ~SECJpegTarget() {}
    // Called once the header is read: the image's size and bits per pixel (8 or 24). Answers
    // the pixel block of DWORD-aligned rows, bottom row first, or null to refuse the image.
    virtual unsigned char* Prepare(int width, int height, int bits) = 0;
    // Entry index of the colour table of an 8-bit image.
    virtual void SetColour(int index, unsigned char blue, unsigned char green,
                           unsigned char red) = 0;
};

// Rows of the image to encode, top row first, as width x 3 bytes blue, green, red.
class SECJpegRows {
public:
    virtual ~SECJpegRows() {}
    virtual const unsigned char* Row(int fromTop) = 0;
};

struct SECJpegSettings {
    int quality;       // 0 to 100
    int smoothing;     // smoothing factor
    bool optimize;     // optimised Huffman tables
    bool arithmetic;   // arithmetic coding
};

// Reads a JPEG file: 24-bit colour, or an 8-bit image of at most 256 colours when quantise
// is set. False when the file is no JPEG, the target refuses it or the library fails; a file
// cut short decodes with what is there.
bool SECJpegDecode(SECJpegStream& stream, bool quantise, SECJpegTarget& target);

// Writes rows as a JPEG file of three components. False when the library or the file fails.
bool SECJpegEncode(SECJpegStream& stream, int width, int height, const SECJpegSettings& settings,
                   SECJpegRows& rows);

#endif  // QUORVEL_SECJPEGCODEC_H
