#include "engine/tips/ImageCopyTip.h"

#include <algorithm>

#include "engine/RowPrefetcher.h"
#include "engine/tips/ColorRows.h"

#include "foundation/Rect.h"
#include "foundation/Vec2.h"
#include "image/BlendKernels.h"
#include "image/Image.h"

ImageCopyTip::ImageCopyTip() : source(nullptr)
{
}

ImageCopyTip::~ImageCopyTip()
{
}

void ImageCopyTip::stampAt(Image&, const Vec2&)
{
}

void ImageCopyTip::colorAt(Pixel& out, int, int) const
{
    out = Pixel::fromWord(0);
}

struct ImageCopyTip::CopyCells {
    const ImageCopyTip& tip;
    Image& target;
    const Point& destination;
    const Point& sourceCentre;
    template <bool DefaultBlend, bool Bgr, bool Identity>
    void cells()
    {
        tip.stampCells<DefaultBlend, Bgr, Identity>(target, destination, sourceCentre);
    }
};

void ImageCopyTip::stamp(Image& target, const Point& destination, const Point& sourceCentre) const
{
    if (!source || source->isEmpty() || target.isEmpty())
        return;
    CopyCells owner{*this, target, destination, sourceCentre};
    dispatchCells(owner, target.pixelLayout().isBgr() && source->pixelLayout().isBgr());
}

template <bool DefaultBlend, bool Bgr, bool Identity>
void ImageCopyTip::stampCells(Image& target, const Point& destination,
                              const Point& sourceCentre) const
{
    const int w = mask.width();
    const int h = mask.height();
    if (w <= 0 || h <= 0 || !source || source->isEmpty() || target.isEmpty())
        return;
    const int hw = w / 2;
    const int hh = h / 2;
    const int rowStep = sourceCentre.y > destination.y ? -1 : 1;
    const int colStep = sourceCentre.x > destination.x ? -1 : 1;
    const int colStart = colStep < 0 ? hw : -hw;
    const int tw = target.width(), th = target.height();
    const int sw = source->width(), sh = source->height();

    // Running coordinates are 64-bit: centres may sit anywhere in the int range.
    long long destRow = static_cast<long long>(destination.y) + (rowStep < 0 ? hh : -hh);
    long long srcRow = static_cast<long long>(sourceCentre.y) + (rowStep < 0 ? hh : -hh);
    const int alpha = fixedAlpha();
    const PixelLayout destLayout = target.pixelLayout();
    const PixelLayout srcLayout = source->pixelLayout();
    const uint8_t* m = mask.bytes();
    // The default blend without brightness change: whole rows at a time
    // where the row's source needs no pulling in.
    const CopyRow copyRow(destLayout, srcLayout, alpha);
    const bool byRows = DefaultBlend && Identity && copyRow.served();
    const long long destStart = static_cast<long long>(destination.x) + colStart;
    const long long srcStart = static_cast<long long>(sourceCentre.x) + colStart;
    // The cells [first, last) of every row that land on the target.
    const long long first = std::max<long long>(0, colStep > 0 ? -destStart : destStart - tw + 1);
    const long long last = std::min<long long>(w, colStep > 0 ? tw - destStart : destStart + 1);
    const long long srcFirst = srcStart + colStep * first;
    const long long srcLast = srcStart + colStep * (last - 1);
    const bool rowsInside = first < last && std::min(srcFirst, srcLast) >= 0 &&
                            std::max(srcFirst, srcLast) < sw;
    const RowPrefetcher::StampRows rows = RowPrefetcher::StampRows::copy(
        target, static_cast<long long>(destination.x) - hw, destRow, *source,
        static_cast<long long>(sourceCentre.x) - hw, srcRow, 2 * hw + 1, h, rowStep);
    for (int k = 0; k < h; ++k, destRow += rowStep, srcRow += rowStep) {
        rows.before(k);
        if (destRow < 0 || destRow >= th) {
            m += w;
            continue;
        }
        // The clamped source coordinate stays in force and is stepped on
        // from the edge.
        if (srcRow < 0)
            srcRow = 0;
        else if (srcRow >= sh)
            srcRow = sh - 1;
        const int dy = static_cast<int>(destRow), sy = static_cast<int>(srcRow);
        uint8_t* destBits = target.row(dy);
        const uint8_t* srcBits = source->row(sy);
        if (byRows && rowsInside) {
            const int dx = static_cast<int>(destStart + colStep * first);
            uint8_t* d = destLayout.atAs<Bgr>(destBits, dx);
            const uint8_t* s = srcLayout.atAs<Bgr>(srcBits, static_cast<int>(srcFirst));
            if (copyRow.safe(d, s, colStep)) {
                copyRow.blend(d, s, m + first, static_cast<int>(last - first), colStep);
                m += w;
                continue;
            }
        }
        long long destCol = destStart;
        long long srcCol = srcStart;
        for (int j = 0; j < w; ++j, ++m, destCol += colStep, srcCol += colStep) {
            const uint8_t weight = *m;
            if (weight == 0 || destCol < 0 || destCol >= tw)
                continue;
            if (srcCol < 0)
                srcCol = 0;
            else if (srcCol >= sw)
                srcCol = sw - 1;
            const int dx = static_cast<int>(destCol), sx = static_cast<int>(srcCol);
            uint8_t* at = destLayout.atAs<Bgr>(destBits, dx);
            const Pixel d = destLayout.loadAs<Bgr>(at);
            const Pixel s = srcLayout.loadAs<Bgr>(srcLayout.atAs<Bgr>(srcBits, sx));
            destLayout.storeAs<Bgr>(at, blendCell<DefaultBlend, Identity>(s, weight, d, alpha));
        }
    }
}
