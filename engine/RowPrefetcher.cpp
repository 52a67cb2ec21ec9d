#include "engine/RowPrefetcher.h"

#include <cstdlib>

#include "foundation/Numeric.h"

namespace {

// False for far or NaN positions: nothing there is worth fetching, and
// their pixel coordinates would overflow an int.
bool inReach(float x, float y)
{
    return x > -1.0e6f && x < 1.0e6f && y > -1.0e6f && y < 1.0e6f;
}

// The pixels of the patch around `next` that the patch around `now` leaves
// out: the rows and columns a dab moving from now to next reaches first; hw
// and hh are the patch's half sizes.
void patchAdded(const Image& image, long long hw, long long hh, const Point& now,
                const Point& next)
{
    const long long x = now.x, y = now.y, nx = next.x, ny = next.y;
    long long top = ny - hh, bottom = ny + hh;
    // Rows only the new patch covers: all its columns.
    if (ny > y && top <= y + hh)
        top = y + hh + 1;
    else if (ny < y && bottom >= y - hh)
        bottom = y - hh - 1;
    if (ny != y)
        for (long long r = top; r <= bottom; ++r)
            image.prefetchPixels(nx - hw, nx + hw, r);
    // Rows both patches cover: only the columns the move adds.
    if (nx == x)
        return;
    long long left = nx - hw, right = nx + hw;
    if (nx > x && left <= x + hw)
        left = x + hw + 1;
    else if (nx < x && right >= x - hw)
        right = x - hw - 1;
    const long long from = ny > y ? ny - hh : y - hh;
    const long long to = ny > y ? y + hh : ny + hh;
    for (long long r = from; r <= to; ++r)
        image.prefetchPixels(left, right, r);
}

void patch(const Image& image, long long hw, long long hh, const Point& centre)
{
    for (long long r = centre.y - hh; r <= centre.y + hh; ++r)
        image.prefetchPixels(centre.x - hw, centre.x + hw, r);
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

void RowPrefetcher::copyDab(int maskWidth, int maskHeight, const Point& p, const Point& q, float t)
{
    const std::optional<DabEnds> last = lastDab_;
    lastDab_ = DabEnds{p, q, t};
    if (!active_ || maskWidth <= 0 || maskHeight <= 0)
        return;
    const long long hw = maskWidth / 2, hh = maskHeight / 2;
    const bool sameStroke = last && t > last->t;
    // The longest stroke's last dab has no next one to fetch for.
    const bool more =
        static_cast<float>(copySteps_) * t < static_cast<float>(copySteps_) - 1.5f;
    if (sameStroke && more) {
        // Each end moves on by about its last step. Along a straight stroke
        // one end often steps onto where the other was: each next patch is
        // measured against the nearer of this dab's.
        const auto onward = [](const Point& now, const Point& before) {
            return Point(saturateToInt(2 * static_cast<long long>(now.x) - before.x),
                         saturateToInt(2 * static_cast<long long>(now.y) - before.y));
        };
        const Point nextP = onward(p, last->p);
        const Point nextQ = onward(q, last->q);
        const auto nearer = [&](const Point& to) -> const Point& {
            const auto apart = [&](const Point& a) {
                return std::llabs(static_cast<long long>(a.x) - to.x) +
                       std::llabs(static_cast<long long>(a.y) - to.y);
            };
            return apart(p) <= apart(q) ? p : q;
        };
        patchAdded(*target_, hw, hh, nearer(nextP), nextP);
        patchAdded(*target_, hw, hh, nearer(nextQ), nextQ);
    } else if (!sameStroke) {
        // A stroke's first dab has no step to go by: all its rows at once.
        patch(*target_, hw, hh, p);
        patch(*target_, hw, hh, q);
    }
    fetchPending(kPendingRowsPerDab);
}

RowPrefetcher::StampRows RowPrefetcher::StampRows::color(const Image& image, long long left,
                                                         long long right, long long top, int rows)
{
    const int ahead = left <= right && pays(image) ? kRowsInFlight : 0;
    return StampRows({&image, left, right, top}, {}, rows, 1, ahead);
}

RowPrefetcher::StampRows RowPrefetcher::StampRows::copy(const Image& target, long long targetLeft,
                                                        long long targetTop, const Image& source,
                                                        long long sourceLeft, long long sourceTop,
                                                        int width, int rows, int step)
{
    const int ahead = pays(target) && rows > 2 * kRowsInFlight ? kRowsInFlight / 2 : 0;
    return StampRows({&target, targetLeft, targetLeft + width - 1, targetTop},
                     {&source, sourceLeft, sourceLeft + width - 1, sourceTop}, rows, step, ahead);
}

RowPrefetcher::StampRows::StampRows(const Span& a, const Span& b, int rows, int step, int ahead)
    : a_(a), b_(b), rows_(rows), step_(step), ahead_(ahead)
{
    for (int k = 0; k < ahead_ && k < rows_; ++k)
        fetch(k);
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
