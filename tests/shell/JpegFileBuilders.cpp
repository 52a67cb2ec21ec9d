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

bool compress(jpeg_compress_struct* cinfo, BuilderErrors* errors, const JpegSpec* spec, JSAMPROW row)
{
    if (setjmp(errors->jump))
        return false;
    cinfo->image_width = JDIMENSION(spec->width);
    cinfo->image_height = JDIMENSION(spec->height);
    cinfo->input_components = spec->components;
    cinfo->in_color_space = spec->components == 1 ? JCS_GRAYSCALE : spec->components == 3 ? JCS_RGB : JCS_CMYK;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, spec->quality, TRUE);
    if (spec->components == 3 && !spec->subsampled)
        for (int c = 0; c < 3; ++c)
            cinfo->comp_info[c].h_samp_factor = cinfo->comp_info[c].v_samp_factor = 1;
    if (spec->components == 3 && spec->storeRgb)
        jpeg_set_colorspace(cinfo, JCS_RGB);
    if (spec->progressive)
        jpeg_simple_progression(cinfo);
    cinfo->arith_code = spec->arithmetic ? TRUE : FALSE;
    cinfo->restart_in_rows = spec->restartRows;
    jpeg_start_compress(cinfo, TRUE);
    while (cinfo->next_scanline < cinfo->image_height) {
        const int y = int(cinfo->next_scanline);
        for (int x = 0; x < spec->width; ++x)
            for (int c = 0; c < spec->components; ++c)
                row[x * spec->components + c] = jpegPatternSample(x, y, c);
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

Bytes makeJpeg(const JpegSpec& spec)
{
    jpeg_compress_struct cinfo;
    BuilderErrors errors;
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = builderError;
    jpeg_create_compress(&cinfo);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &memory, &size);
    std::vector<JSAMPLE> row(size_t(spec.width) * size_t(spec.components));
    const bool ok = compress(&cinfo, &errors, &spec, row.data());
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
