// Drives the JPEG library for the JPEG image: source and destination managers over the
// image's file, an error manager whose fatal exit jumps back out of the library, and the
// scanline loops. The library's own memory manager is kept (its pools live on the C heap).
#include "SECJpegCodec.h"
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>
#include <jerror.h>

namespace {

const size_t kBufferBytes = 4096;

struct ErrorManager {
    jpeg_error_mgr pub;
    jmp_buf exit;
    char message[JMSG_LENGTH_MAX];
};

// Messages are formatted and dropped: nothing is shown to the user.
void OutputMessage(j_common_ptr cinfo)
{
    ErrorManager* err = (ErrorManager*)cinfo->err;
    char buffer[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, buffer);
    memcpy(err->message, buffer, sizeof buffer);
}

// The library must not be returned into after a fatal error: leave it by a jump to the
// call that started the work, which destroys the codec object.
void ErrorExit(j_common_ptr cinfo)
{
    (*cinfo->err->output_message)(cinfo);
    longjmp(((ErrorManager*)cinfo->err)->exit, 1);
}

void SetUpErrors(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.output_message = OutputMessage;
    err.pub.error_exit = ErrorExit;
    err.pub.trace_level = 0;
    err.message[0] = 0;
}

// Source manager over the stream.
struct Source {
    jpeg_source_mgr pub;
    SECJpegStream* stream;
    JOCTET* buffer;
    bool startOfFile;
};

void InitSource(j_decompress_ptr cinfo) { ((Source*)cinfo->src)->startOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo)
{
    Source* src = (Source*)cinfo->src;
    long got = src->stream->ReadBytes(src->buffer, kBufferBytes);
    if (got < 0)
        ERREXIT(cinfo, JERR_FILE_READ);
    if (got == 0) {
        if (src->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        // A file cut short: warn and end the image with an inserted end-of-image marker.
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        got = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = (size_t)got;
    src->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count)
{
    Source* src = (Source*)cinfo->src;
    if (count <= 0)
        return;
    while (count > (long)src->pub.bytes_in_buffer) {
        count -= (long)src->pub.bytes_in_buffer;
        (void)FillInputBuffer(cinfo);
    }
    src->pub.next_input_byte += count;
    src->pub.bytes_in_buffer -= (size_t)count;
}

void TermSource(j_decompress_ptr) {}

void AttachSource(j_decompress_ptr cinfo, SECJpegStream& stream)
{
    Source* src = (Source*)(*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_PERMANENT,
                                                       sizeof(Source));
    src->buffer = (JOCTET*)(*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_PERMANENT,
                                                      kBufferBytes);
    src->stream = &stream;
    src->pub.init_source = InitSource;
    src->pub.fill_input_buffer = FillInputBuffer;
    src->pub.skip_input_data = SkipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = TermSource;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = NULL;
    cinfo->src = &src->pub;
}

// Destination manager over the stream.
struct Destination {
    jpeg_destination_mgr pub;
    SECJpegStream* stream;
    JOCTET* buffer;
};

void InitDestination(j_compress_ptr cinfo)
{
    Destination* dest = (Destination*)cinfo->dest;
    dest->buffer = (JOCTET*)(*cinfo->mem->alloc_small)((j_common_ptr)cinfo, JPOOL_IMAGE,
                                                       kBufferBytes);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferBytes;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo)
{
    Destination* dest = (Destination*)cinfo->dest;
    if (!dest->stream->WriteBytes(dest->buffer, kBufferBytes))
        ERREXIT(cinfo, JERR_FILE_WRITE);
    dest->pub.next_output_byte = dest->buffer;
    dest->pub.free_in_buffer = kBufferBytes;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo)
{
    Destination* dest = (Destination*)cinfo->dest;
    size_t left = kBufferBytes - dest->pub.free_in_buffer;
    if ((left > 0 && !dest->stream->WriteBytes(dest->buffer, left)) || !dest->stream->Flush())
        ERREXIT(cinfo, JERR_FILE_WRITE);
}

void AttachDestination(j_compress_ptr cinfo, SECJpegStream& stream)
{
    Destination* dest = (Destination*)(*cinfo->mem->alloc_small)(
        (j_common_ptr)cinfo, JPOOL_PERMANENT, sizeof(Destination));
    dest->stream = &stream;
    dest->buffer = NULL;
    dest->pub.init_destination = InitDestination;
    dest->pub.empty_output_buffer = EmptyOutputBuffer;
    dest->pub.term_destination = TermDestination;
    cinfo->dest = &dest->pub;
}

unsigned long AlignedRow(unsigned long bytes) { return (bytes + 3) & ~3ul; }

}  // namespace

bool SECJpegDecode(SECJpegStream& stream, bool quantise, SECJpegTarget& target)
{
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    SetUpErrors(err);
    cinfo.err = &err.pub;
    if (setjmp(err.exit)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    AttachSource(&cinfo, stream);
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    bool grey = cinfo.jpeg_color_space == JCS_GRAYSCALE;
    if (quantise) {
        cinfo.out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = 256;
    } else {
        // Grey samples come out as three equal bytes, colour ones in the DIB's byte order.
        cinfo.out_color_space = JCS_EXT_BGR;
    }
    jpeg_calc_output_dimensions(&cinfo);
    const int width = (int)cinfo.output_width, height = (int)cinfo.output_height;
    const int bits = quantise ? 8 : 24;
    unsigned char* pixels = target.Prepare(width, height, bits);
    if (pixels == NULL) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);
    const unsigned long stride = AlignedRow((unsigned long)width * (bits / 8));
    // One row of the library's output width; for an 8-bit image that is one byte a pixel.
    JSAMPARRAY row = (*cinfo.mem->alloc_sarray)(
        (j_common_ptr)&cinfo, JPOOL_IMAGE,
        cinfo.output_width * (JDIMENSION)cinfo.output_components, 1);
    const unsigned long rowBytes =
        (unsigned long)cinfo.output_width * (unsigned long)cinfo.output_components;
    const unsigned long copy = rowBytes < stride ? rowBytes : stride;
    while (cinfo.output_scanline < cinfo.output_height) {
        JDIMENSION fromTop = cinfo.output_scanline;
        if (jpeg_read_scanlines(&cinfo, row, 1) != 1)
            break;
        // bottom-up rows: the first scanline is the last row of the block
        memcpy(pixels + (unsigned long)(height - 1 - (int)fromTop) * stride, row[0], copy);
    }
    if (quantise) {
        int colours = cinfo.actual_number_of_colors;
        for (int i = 0; i < colours && i < 256; i++) {
            if (cinfo.out_color_components == 3)
                target.SetColour(i, cinfo.colormap[0][i], cinfo.colormap[1][i],
                                 cinfo.colormap[2][i]);
            else
                target.SetColour(i, cinfo.colormap[0][i], cinfo.colormap[0][i],
                                 cinfo.colormap[0][i]);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

bool SECJpegEncode(SECJpegStream& stream, int width, int height, const SECJpegSettings& settings,
                   SECJpegRows& rows)
{
    jpeg_compress_struct cinfo;
    ErrorManager err;
    SetUpErrors(err);
    cinfo.err = &err.pub;
    if (setjmp(err.exit)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    AttachDestination(&cinfo, stream);
    cinfo.image_width = (JDIMENSION)width;
    cinfo.image_height = (JDIMENSION)height;
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, settings.quality, TRUE);
    cinfo.smoothing_factor = settings.smoothing;
    cinfo.optimize_coding = settings.optimize || cinfo.data_precision > 8;
    cinfo.arith_code = settings.arithmetic;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = (JSAMPROW)rows.Row((int)cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}
