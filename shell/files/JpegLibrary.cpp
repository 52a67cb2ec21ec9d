// The libjpeg side of the JPEG codec. This file must not see <windows.h>: its
// `boolean` is an unsigned char, libjpeg was built with an int, and the
// structures shared with the library would disagree.

#include "shell/files/JpegCodec.h"

#include "foundation/ByteSink.h"
#include "foundation/ByteStream.h"
#include "image/Image.h"
#include "image/OwnedBitmap.h"
#include "image/codecs/StreamIo.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

// libjpeg reports errors through its error_exit hook, which leaves by longjmp
// back to the function holding the setjmp frame. No object with a destructor
// lives in those functions or in the callbacks, and no C++ exception crosses a
// libjpeg frame: the stream callbacks catch everything and raise a libjpeg
// error instead.

namespace {

const size_t kBufferSize = 32768;
// Progressive files keep every coefficient in memory: two bytes per sample.
const long kMemoryLimit = long(OwnedBitmap::kMaxPixelBytes);
// A usual progressive file has a dozen scans; thousands of tiny ones would
// each walk the whole image (libjpeg-turbo's own advice is 500).
const int kMaxScans = 500;

struct ErrorManager
{
    jpeg_error_mgr pub;
    jmp_buf jump;
};

void onError(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Data that end inside a scan are padded by libjpeg with a warning; the image
// would be partly invented, so those warnings fail the load.
void onMessage(j_common_ptr cinfo, int level)
{
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF))
        cinfo->err->error_exit(cinfo);
}

void onOutputMessage(j_common_ptr)
{
}

void failWith(j_common_ptr cinfo, int code)
{
    cinfo->err->msg_code = code;
    cinfo->err->error_exit(cinfo);
}

void onProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans)
        failWith(cinfo, JERR_BAD_PROGRESSION);
}

void installErrors(j_common_ptr cinfo, ErrorManager& errors)
{
    cinfo->err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = onError;
    errors.pub.emit_message = onMessage;
    errors.pub.output_message = onOutputMessage;
}

struct Source
{
    jpeg_source_mgr pub;
    ByteStream* stream;
    bool endMarkerOptional;
    JOCTET buffer[kBufferSize];
};

// One read of the stream: whatever it hands out now, 0 for nothing or an error.
size_t readQuietly(ByteStream& stream, JOCTET* data, size_t length)
{
    try {
        const unsigned int got = stream.read(data, unsigned(length));
        return got <= length ? got : 0;
    } catch (...) {
        return 0;
    }
}

void initSource(j_decompress_ptr)
{
}

// Any read of one byte or more is data. At the end of the stream a single
// Huffman-coded scan may lack only its end marker: one is supplied, and if the
// scan needed more bits libjpeg warns and the load fails. Everywhere else the
// end fails at once: in the headers, in a progressive or multi-scan file
// (which may end between scans) and in arithmetic-coded data (padded with
// zeros without a word). Returning false instead would ask libjpeg to
// suspend, and a caller reading rows would spin for ever.
boolean fillInput(j_decompress_ptr cinfo)
{
    Source* source = reinterpret_cast<Source*>(cinfo->src);
    size_t got = readQuietly(*source->stream, source->buffer, kBufferSize);
    if (got == 0) {
        if (!source->endMarkerOptional)
            failWith(reinterpret_cast<j_common_ptr>(cinfo), JERR_INPUT_EOF);
        source->endMarkerOptional = false;
        source->buffer[0] = 0xFF;
        source->buffer[1] = JPEG_EOI;
        got = 2;
    }
    source->pub.next_input_byte = source->buffer;
    source->pub.bytes_in_buffer = got;
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    Source* source = reinterpret_cast<Source*>(cinfo->src);
    if (count < 1)
        return;
    if (size_t(count) <= source->pub.bytes_in_buffer) {
        source->pub.next_input_byte += count;
        source->pub.bytes_in_buffer -= size_t(count);
        return;
    }
    // Marker segments are at most 64 KiB: reading past them is cheap. A
    // stream that ends here fails at the next fill.
    const uint32_t rest = uint32_t(size_t(count) - source->pub.bytes_in_buffer);
    source->pub.bytes_in_buffer = 0;
    try {
        skipBytes(*source->stream, rest);
    } catch (...) {
    }
}

void termSource(j_decompress_ptr)
{
}

struct Destination
{
    jpeg_destination_mgr pub;
    ByteSink* sink;
    JOCTET buffer[kBufferSize];
};

bool writeQuietly(ByteSink& sink, const JOCTET* data, size_t length)
{
    try {
        return writeFully(sink, data, length);
    } catch (...) {
        return false;
    }
}

void initDestination(j_compress_ptr cinfo)
{
    Destination* destination = reinterpret_cast<Destination*>(cinfo->dest);
    destination->pub.next_output_byte = destination->buffer;
    destination->pub.free_in_buffer = kBufferSize;
}

boolean emptyOutput(j_compress_ptr cinfo)
{
    Destination* destination = reinterpret_cast<Destination*>(cinfo->dest);
    if (!writeQuietly(*destination->sink, destination->buffer, kBufferSize))
        failWith(reinterpret_cast<j_common_ptr>(cinfo), JERR_FILE_WRITE);
    destination->pub.next_output_byte = destination->buffer;
    destination->pub.free_in_buffer = kBufferSize;
    return TRUE;
}

void termDestination(j_compress_ptr cinfo)
{
    Destination* destination = reinterpret_cast<Destination*>(cinfo->dest);
    const size_t used = kBufferSize - destination->pub.free_in_buffer;
    if (!writeQuietly(*destination->sink, destination->buffer, used))
        failWith(reinterpret_cast<j_common_ptr>(cinfo), JERR_FILE_WRITE);
}

// Every block of the first scan costs the Huffman coder at least one bit: two
// in sequential files (DC and end of block), one in the DC scan that must
// open a progressive file. The whole file must be there (an early end fails),
// so the file size bounds the blocks a header may claim. Arithmetic coding
// can go below a bit per block; only the size limit holds there.
bool blocksFitTheData(const jpeg_decompress_struct& cinfo, uint32_t availableBytes)
{
    if (cinfo.progressive_mode && cinfo.Ss != 0)
        return false;
    if (availableBytes == 0xFFFFFFFFu || cinfo.arith_code)
        return true;
    uint64_t blocks = 0;
    for (int i = 0; i < cinfo.comps_in_scan; ++i)
        blocks += uint64_t(cinfo.cur_comp_info[i]->width_in_blocks) * cinfo.cur_comp_info[i]->height_in_blocks;
    const uint64_t bitsPerBlock = cinfo.progressive_mode ? 1 : 2;
    return blocks * bitsPerBlock <= uint64_t(availableBytes) * 8;
}

// Holds the setjmp frame; only plain values live here.
bool decodeJpeg(jpeg_decompress_struct* cinfo, ErrorManager* errors, Image* image, uint32_t availableBytes)
{
    if (setjmp(errors->jump))
        return false;
    jpeg_read_header(cinfo, TRUE);
    if (cinfo->data_precision != 8)
        return false;
    int format;
    switch (cinfo->jpeg_color_space) {
    case JCS_GRAYSCALE:
        format = kFormatGrey;
        cinfo->out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        // Straight into the B,G,R rows of format 4.
        format = kFormatBgr;
        cinfo->out_color_space = JCS_EXT_BGR;
        break;
    default:
        return false; // CMYK, YCCK and unknown colour spaces
    }
    const uint64_t width = cinfo->image_width, height = cinfo->image_height;
    const uint64_t components = format == kFormatGrey ? 1 : 3;
    if (width == 0 || height == 0 || width * height * components > OwnedBitmap::kMaxPixelBytes)
        return false;
    if (!blocksFitTheData(*cinfo, availableBytes))
        return false;
    cinfo->mem->max_memory_to_use = kMemoryLimit;

    reinterpret_cast<Source*>(cinfo->src)->endMarkerOptional
        = !cinfo->arith_code && !jpeg_has_multiple_scans(cinfo);
    jpeg_start_decompress(cinfo);
    if (cinfo->output_width != width || cinfo->output_height != height
        || cinfo->output_components != int(components))
        return false;
    if (!image->create(int(width), int(height), format))
        return false;
    if (image->width() != int(width) || image->height() != int(height) || image->format() != format
        || !image->bits())
        return false;
    // No memory for the row table: nothing to decode into.
    uint8_t* const* rows = image->rowTable();
    if (!rows)
        return false;
    while (cinfo->output_scanline < cinfo->output_height) {
        const JDIMENSION at = cinfo->output_scanline;
        if (jpeg_read_scanlines(cinfo, const_cast<JSAMPARRAY>(rows + at), cinfo->output_height - at) == 0)
            return false;
    }
    // Every row is decoded; what follows the scan is not needed.
    return true;
}

bool encodeJpeg(jpeg_compress_struct* cinfo, ErrorManager* errors, const Image* image, int quality)
{
    if (setjmp(errors->jump))
        return false;
    cinfo->image_width = JDIMENSION(image->width());
    cinfo->image_height = JDIMENSION(image->height());
    cinfo->input_components = int(image->step());
    // The B,G,R(,A) rows go in as they are; libjpeg ignores the fourth byte.
    cinfo->in_color_space = image->format() == kFormatBgr ? JCS_EXT_BGR : JCS_EXT_BGRX;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    uint8_t* const* rows = image->rowTable();
    if (!rows)
        return false;
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        const JDIMENSION at = cinfo->next_scanline;
        if (jpeg_write_scanlines(cinfo, const_cast<JSAMPARRAY>(rows + at), cinfo->image_height - at) == 0)
            return false;
    }
    jpeg_finish_compress(cinfo);
    return true;
}

} // namespace

bool canSaveJpeg(const Image& image)
{
    return image.step() == 3 && !image.isEmpty();
}

bool readJpeg(Image& image, ByteStream& stream, uint32_t availableBytes)
{
    jpeg_decompress_struct cinfo;
    ErrorManager errors;
    jpeg_progress_mgr progress;
    Source source;
    installErrors(reinterpret_cast<j_common_ptr>(&cinfo), errors);
    // Creation itself may fail (out of memory) through the error hook.
    if (setjmp(errors.jump))
        return false;
    jpeg_create_decompress(&cinfo);
    progress.progress_monitor = onProgress;
    cinfo.progress = &progress;
    source.stream = &stream;
    source.endMarkerOptional = false;
    source.pub.init_source = initSource;
    source.pub.fill_input_buffer = fillInput;
    source.pub.skip_input_data = skipInput;
    source.pub.resync_to_restart = jpeg_resync_to_restart;
    source.pub.term_source = termSource;
    source.pub.next_input_byte = nullptr;
    source.pub.bytes_in_buffer = 0;
    cinfo.src = &source.pub;
    bool ok;
    try {
        ok = decodeJpeg(&cinfo, &errors, &image, availableBytes);
    } catch (...) {
        ok = false;
    }
    jpeg_destroy_decompress(&cinfo);
    return ok;
}

bool writeJpeg(const Image& image, ByteSink& sink, int quality)
{
    if ((image.format() != kFormatBgr && image.format() != kFormatBgra) || image.isEmpty() || !image.rowTable())
        return false;
    jpeg_compress_struct cinfo;
    ErrorManager errors;
    Destination destination;
    installErrors(reinterpret_cast<j_common_ptr>(&cinfo), errors);
    if (setjmp(errors.jump))
        return false;
    jpeg_create_compress(&cinfo);
    destination.sink = &sink;
    destination.pub.init_destination = initDestination;
    destination.pub.empty_output_buffer = emptyOutput;
    destination.pub.term_destination = termDestination;
    cinfo.dest = &destination.pub;
    const bool ok = encodeJpeg(&cinfo, &errors, &image, quality);
    jpeg_destroy_compress(&cinfo);
    return ok;
}
