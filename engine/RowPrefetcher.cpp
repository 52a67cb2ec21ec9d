#include "engine/RowPrefetcher.h"

#include "foundation/Numeric.h"

void RowPrefetcher::reset()
{
    firstSteps_.reset();
    fetchedStart_.reset();
    copies_ = false;
    pending_ = {0, 0, 0, 0};
    lastDab_.reset();
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
