#pragma once

#include <cstddef>
#include <cstdlib>
#include <optional>

#include "foundation/Numeric.h"
#include "foundation/Rect.h"
#include "image/Image.h"

// Asks the caches early for the pixels painting will touch next, so that
// their loads overlap the work in hand instead of each stalling it. Only
// hints: nothing is read or changed, and no random number is drawn.
//
// When: for a picture the caches cannot hold (pays()). There every new row a
// stamp or a stroke step reaches lies a page or more from the last one, and
// waiting for it was most of the work. The stroke's own steps are the one
// request made at every size: it is two lines a step, and even a picture the
// caches hold sits in the outer one.
//
// What, and how far ahead:
//  - a stamp's rows, kRowsInFlight rows ahead of its row loop; a copy reads
//    two images and keeps half as many in flight, and leaves a patch of up to
//    2 * kRowsInFlight rows to the dab before it;
//  - a stroke's target rows kStepsAhead steps down its heading, and the
//    copied-from end of the dab where it runs away from them;
//  - a copy dab: what the next dab's patches add to this one's, taking
//    each end on by its last step;
//  - the next stroke's start, while the stroke before it paints: a copy
//    brush's first patches, kPendingRowsPerDab rows with each dab of the
//    stroke in hand (a burst of them stalled that dab on their page walks);
//    for other brushes the first steps when every stroke takes the same
//    ones, else the target around the start; and the field image around
//    the start, where the first step samples and a brush taking colour from
//    the picture reads, unless a copy brush walks known steps from it.
//
// A brush owns one and binds it to its target; strokes reach it through the
// brush. Every request is clamped into its image.
class RowPrefetcher {
public:
    static constexpr int kRowsInFlight = 8;
    static constexpr int kStepsAhead = 6;
    static constexpr int kPendingRowsPerDab = 2;

    // A straight walk of stroke steps from the start (x0, y0), (moveX, moveY)
    // a step; the copied-from end of each dab lies c times as far from the
    // start as the step (a brush vector of 1 puts it on the step itself).
    struct Path {
        float x0, y0;
        double moveX, moveY, c;
    };

    // Whether fetching ahead pays for an image: more pixels than the caches keep.
    static bool pays(const Image& image)
    {
        return size_t(image.stride()) * size_t(image.height()) > (size_t(8) << 20);
    }

    // The brush's target (null: none to paint) and the offset of its pixels
    // from canvas-area coordinates. Per dab and per step, like around() and
    // pathAhead(): the three stay inline, out of line painting was slower.
    void bind(const Image* target, Point pixelOffset)
    {
        target_ = target;
        offset_ = pixelOffset;
        active_ = target && pays(*target);
    }
    // Whether the bound target is one fetching ahead pays for.
    bool active() const { return active_; }
    // Forgets what the last render left: called as a render's components are prepared.
    void reset();

    // The target row around a canvas-area point, a pixel either side: a dab
    // may touch the neighbour across a line end.
    void around(float x, float y) const;
    // The target around steps from..to of path counted from (x, y), and the
    // copied-from ends where they run away from the steps.
    void pathAhead(const Path& path, float x, float y, int from, int to) const
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

    // Told by a stroke when every stroke of the render takes the steps of
    // `path` from its own start; the first telling stands.
    void sameFirstSteps(const Path& path);
    // Told where the next stroke starts (canvas-area coordinates) while the
    // current one is still to paint; field is the image its first step samples.
    void nextStroke(float x, float y, const Image* field);
    // True once after nextStroke(x, y) fetched the first steps from this
    // start: its draw then asks only for the steps beyond them.
    bool takeFetchedStart(float x0, float y0);

    // Told by a copy brush as it prepares: its first dab copies a patch of up
    // to halfWidth x halfHeight either side of the start, and strokes take up
    // to `steps` dabs.
    void copiesPatches(long long halfWidth, long long halfHeight, int steps);
    // A copy dab between the target points p and q with a tip mask of the
    // given size (0 without a tip), at stroke fraction t. Inline below: out
    // of line the copy brush painted measurably slower.
    void copyDab(int maskWidth, int maskHeight, const Point& p, const Point& q, float t);

    // The rows of one stamp: `rows` rows of one or two images from their top
    // rows by `step`. Made before the stamp's row loop, which calls before(k)
    // as it reaches row k. All inline: made out of line, the copy stamp lost
    // a few per cent.
    class StampRows {
    public:
        // A colour stamp over columns left..right (none when left > right).
        static StampRows color(const Image& image, long long left, long long right, long long top,
                               int rows)
        {
            const int ahead = left <= right && pays(image) ? kRowsInFlight : 0;
            return StampRows({&image, left, right, top}, {}, rows, 1, ahead);
        }
        // A copy of `width` columns from source to target.
        static StampRows copy(const Image& target, long long targetLeft, long long targetTop,
                              const Image& source, long long sourceLeft, long long sourceTop,
                              int width, int rows, int step)
        {
            const int ahead = pays(target) && rows > 2 * kRowsInFlight ? kRowsInFlight / 2 : 0;
            return StampRows({&target, targetLeft, targetLeft + width - 1, targetTop},
                             {&source, sourceLeft, sourceLeft + width - 1, sourceTop}, rows, step,
                             ahead);
        }
        void before(int k) const
        {
            if (ahead_ && k + ahead_ < rows_)
                fetch(k + ahead_);
        }

    private:
        struct Span {
            const Image* image;
            long long left, right, top;
        };
        StampRows(const Span& a, const Span& b, int rows, int step, int ahead)
            : a_(a), b_(b), rows_(rows), step_(step), ahead_(ahead)
        {
            for (int k = 0; k < ahead_ && k < rows_; ++k)
                fetch(k);
        }
        void fetch(int k) const
        {
            const long long down = static_cast<long long>(k) * step_;
            a_.image->prefetchPixels(a_.left, a_.right, a_.top + down);
            if (b_.image)
                b_.image->prefetchPixels(b_.left, b_.right, b_.top + down);
        }
        Span a_, b_;
        int rows_, step_, ahead_;
    };

private:
    // False for far or NaN positions: nothing there is worth fetching, and
    // their pixel coordinates would overflow an int.
    static bool inReach(float x, float y)
    {
        return x > -1.0e6f && x < 1.0e6f && y > -1.0e6f && y < 1.0e6f;
    }

    // The copy brush's patches still to be asked for, a few rows with each
    // dab.
    struct Rows {
        long long left, right, top, count;
    };
    void fetchPending(long long rows);
    static void patchAdded(const Image& image, long long hw, long long hh, const Point& now,
                           const Point& next);
    static void patch(const Image& image, long long hw, long long hh, const Point& centre);

    // A copy dab's target ends and stroke fraction.
    struct DabEnds {
        Point p, q;
        float t;
    };

    const Image* target_ = nullptr;
    Point offset_;
    bool active_ = false;
    std::optional<Path> firstSteps_;
    struct Start {
        float x, y;
    };
    std::optional<Start> fetchedStart_;
    // Set by copiesPatches.
    long long patchHalfWidth_ = 0, patchHalfHeight_ = 0;
    int copySteps_ = 0;
    bool copies_ = false;
    Rows pending_ = {0, 0, 0, 0};
    std::optional<DabEnds> lastDab_;
};

inline void RowPrefetcher::around(float x, float y) const
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

// The pixels of the patch around `next` that the patch around `now` leaves
// out: the rows and columns a dab moving from now to next reaches first; hw
// and hh are the patch's half sizes.
inline void RowPrefetcher::patchAdded(const Image& image, long long hw, long long hh,
                                      const Point& now, const Point& next)
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

inline void RowPrefetcher::patch(const Image& image, long long hw, long long hh,
                                 const Point& centre)
{
    for (long long r = centre.y - hh; r <= centre.y + hh; ++r)
        image.prefetchPixels(centre.x - hw, centre.x + hw, r);
}

inline void RowPrefetcher::copyDab(int maskWidth, int maskHeight, const Point& p,
                                   const Point& q, float t)
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
