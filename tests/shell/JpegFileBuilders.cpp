#include "JpegFileBuilders.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace {

struct BuilderErrors
{
    jpeg_error_mgr pub;
    jmp_buf jump;
};

void builderError(j_common_ptr cinfo)
{
    longjmp(reinterpret_cast<BuilderErrors*>(cinfo->err)->jump, 1);
}

// Spectral bands of one coefficient each, every bit of precision sent in a
// scan of its own.
void everyBitScans(std::vector<jpeg_scan_info>& scans)
{
    for (int k = 0; k < 64; ++k)
        for (int al = 10; al >= 0; --al) {
            jpeg_scan_info scan = {};
            scan.comps_in_scan = 1;
            scan.Ss = k;
            scan.Se = k;
            scan.Ah = al == 10 ? 0 : al + 1;
            scan.Al = al;
            scans.push_back(scan);
        }
}

bool compress(jpeg_compress_struct* cinfo, BuilderErrors* errors, const JpegSpec* shape, JSAMPROW row,
              std::vector<jpeg_scan_info>* scans)
{
    if (setjmp(errors->jump))
        return false;
    cinfo->image_width = JDIMENSION(shape->width);
    cinfo->image_height = JDIMENSION(shape->height);
    cinfo->input_components = shape->components;
    cinfo->in_color_space = shape->components == 1 ? JCS_GRAYSCALE : shape->components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, shape->quality, TRUE);
    if (shape->components == 3 && !shape->subsampled)
        for (int c = 0; c < 3; ++c)
            cinfo->comp_info[c].h_samp_factor = cinfo->comp_info[c].v_samp_factor = 1;
    if (shape->components == 3 && shape->storeRgb)
        jpeg_set_colorspace(cinfo, JCS_RGB);
    if (shape->progressive)
        jpeg_simple_progression(cinfo);
    if (shape->everyBitItsOwnScan) {
        everyBitScans(*scans);
        cinfo->scan_info = scans->data();
        cinfo->num_scans = int(scans->size());
    }
    cinfo->arith_code = shape->arithmetic ? TRUE : FALSE;
    cinfo->restart_in_rows = shape->restartRows;
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        const int y = int(cinfo->next_scanline);
        for (int x = 0; x < shape->width; ++x)
            for (int c = 0; c < shape->components; ++c)
                row[x * shape->components + c] = jpegPatternSample(x, y, c);
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    return true;
}

} // namespace

uint8_t jpegPatternSample(int x, int y, int c)
{
    // A triangle wave between 28 and 228, a different slope per channel.
    const int t = (x * (2 + c) + y * (3 - c) + 60 * c) % 400;
    return uint8_t(28 + (t < 200 ? t : 400 - t));
}

Bytes makeJpeg(const JpegSpec& shape)
{
    jpeg_compress_struct cinfo;
    BuilderErrors errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = builderError;
    jpeg_create_compress(&cinfo);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &memory, &size);
    std::vector<JSAMPLE> row(size_t(shape.width) * size_t(shape.components));
    std::vector<jpeg_scan_info> scans;
    const bool ok = compress(&cinfo, &errors, &shape, row.data(), &scans);
    jpeg_destroy_compress(&cinfo);
    Bytes out;
    if (ok && memory)
        out.assign(memory, memory + size);
    std::free(memory);
    return out;
}

std::vector<size_t> jpegMarkerOffsets(const Bytes& jpeg)
{
    std::vector<size_t> offsets;
    size_t at = 2;
    offsets.push_back(0);
    while (at + 4 <= jpeg.size() && jpeg[at] == 0xFF) {
        offsets.push_back(at);
        if (jpeg[at + 1] == 0xDA)
            break;
        at += 2 + ((size_t(jpeg[at + 2]) << 8) | jpeg[at + 3]);
    }
    return offsets;
}
