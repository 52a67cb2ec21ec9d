#include "engine/RowPrefetcher.h"

#include "foundation/Numeric.h"

namespace {

// False for far or NaN positions: nothing there is worth fetching, and
// their pixel coordinates would overflow an int.
bool inReach(float x, float y)
{
    return x > -1.0e6f && x < 1.0e6f && y > -1.0e6f && y < 1.0e6f;
}

} // namespace

void RowPrefetcher::bind(const Image* target, Point pixelOffset)
{
    target_ = target;
    offset_ = pixelOffset;
    active_ = target && pays(*target);
}

void RowPrefetcher::reset()
{
    firstSteps_.reset();
    fetchedStart_.reset();
    copies_ = false;
    pending_ = {0, 0, 0, 0};
    lastDab_.reset();
}

void RowPrefetcher::around(float x, float y) const
{
    if (!target_ || !inReach(x, y))
        return;
    const int w = target_->width();
    const int h = target_->height();
    int row = static_cast<int>(y) + offset_.y;
    row = row < 0 ? 0 : (row >= h ? h - 1 : row);
    const int col = static_cast<int>(x) + offset_.x;
    const int left = col - 1 < 0 ? 0 : (col - 1 >= w ? w - 1 : col - 1);
    const int right = col + 1 < 0 ? 0 : (col + 1 >= w ? w - 1 : col + 1);
    prefetchLine(target_->pixelAddress(left, row));
    prefetchLine(target_->pixelAddress(right, row));
}

void RowPrefetcher::pathAhead(const Path& path, float x, float y, int from, int to) const
{
    const bool farSource = active_ && path.c != 1.0;
    for (int k = from; k <= to; ++k) {
        const double aheadX = x + path.moveX * k;
        const double aheadY = y + path.moveY * k;
        around(static_cast<float>(aheadX), static_cast<float>(aheadY));
        if (farSource)
            around(static_cast<float>(path.x0 + (aheadX - path.x0) * path.c),
                   static_cast<float>(path.y0 + (aheadY - path.y0) * path.c));
    }
}

void RowPrefetcher::sameFirstSteps(const Path& path)
{
    if (!firstSteps_)
        firstSteps_ = path;
}

void RowPrefetcher::nextStroke(float x, float y, const Image* field)
{
    // Rows a short stroke left unasked are for the stroke about to start.
    fetchPending(pending_.count);
    if (!inReach(x, y))
        return;
    const float x0 = static_cast<float>(roundToInt(x));
    const float y0 = static_cast<float>(roundToInt(y));
    if (firstSteps_)
        fetchedStart_ = Start{x0, y0};
    const bool queued = copies_ && active_;
    if (queued) {
        // The first dab copies around the start and around a point about a
        // step away, in a heading the stroke has yet to pick: the rows
        // around both, a few with each dab of the stroke in hand.
        const long long px = static_cast<long long>(x0) + offset_.x;
        const long long py = static_cast<long long>(y0) + offset_.y;
        pending_ = {px - patchHalfWidth_, px + patchHalfWidth_, py - patchHalfHeight_,
                    2 * patchHalfHeight_ + 1};
    } else if (firstSteps_) {
        pathAhead(*firstSteps_, x0, y0, 0, kStepsAhead - 1);
    } else {
        around(x0, y0);
    }
    // The contour fields sample a ring of radius 2.5 around the start, and
    // its bilinear neighbours; a brush taking colour from the picture reads
    // there first too. A copy brush reads the target alone, and known steps
    // come from the constant field, which samples nothing.
    if ((firstSteps_ && queued) || !field || !pays(*field))
        return;
    const long long fx = static_cast<long long>(x0), fy = static_cast<long long>(y0);
    for (long long row = fy - 3; row <= fy + 3; ++row)
        field->prefetchPixels(fx - 3, fx + 3, row);
}

bool RowPrefetcher::takeFetchedStart(float x0, float y0)
{
    const bool fetched = fetchedStart_ && fetchedStart_->x == x0 && fetchedStart_->y == y0;
    fetchedStart_.reset();
    return fetched;
}

void RowPrefetcher::copiesPatches(long long halfWidth, long long halfHeight, int steps)
{
    copies_ = true;
    patchHalfWidth_ = halfWidth;
    patchHalfHeight_ = halfHeight;
    copySteps_ = steps;
}

void RowPrefetcher::fetchPending(long long rows)
{
    if (!target_) {
        pending_.count = 0;
        return;
    }
    for (; rows > 0 && pending_.count > 0; --rows, --pending_.count)
        target_->prefetchPixels(pending_.left, pending_.right, pending_.top++);
}
