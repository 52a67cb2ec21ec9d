#include "engine/applications/RandomApplication.h"

#include <climits>
#include <cstdlib>

#include "engine/ParamDescriptor.h"
#include "engine/RenderCallbacks.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeAlgorithm.h"
#include "foundation/Numeric.h"
#include "foundation/Vec2.h"

namespace {

// The rows of kRandomParams, in its order.
enum Row { kAmount, kRowCount };

const ParamDescriptor kRandomParams[] = {
    singleRow("Amount ", "amount").spans(2, 500).startsAt(100).hundredths().randomIn(80, 120, 100)
        .describedAs("Select the amount of application\n higher value -> more effect"),
    kEndRow,
};
static_assert(sizeof kRandomParams / sizeof kRandomParams[0] == kRowCount + 1,
              "a name for every row");
static_assert(int(kAmount) == int(ApplicationPattern::AmountRow), "amount comes first");

} // namespace

RandomApplication::RandomApplication()
    : ApplicationPattern(kRandomParams, "random", "Random"), rowCursor(0)
{
}

void RandomApplication::prepare()
{
    rowCursor = 0;
}

bool RandomApplication::run(RenderCallbacks& callbacks)
{
    do {
        if (callbacks.isCancelled())
            return false;
        int batch = batchSize(budget);
        if (batch > remaining)
            batch = remaining;
        remaining -= batch;
        placeBatch(batch);
        if (!callbacks.progress(doneFraction()))
            return false;
    } while (remaining > 0);
    callbacks.finished();
    return true;
}

int RandomApplication::step(int count)
{
    if (count < 0)
        count = budget / 80;
    if (count < 10)
        count = 10;
    if (count > 4000)
        count = 4000;
    if (count > remaining)
        count = remaining;
    if (count < 0)
        count = 0;
    remaining -= count;
    placeBatch(count);
    return count;
}

void RandomApplication::placeBatch(int count)
{
    const long long c = truncToInt(coverage);
    if (area.left < 0 || area.top < 0)
        return;
    // Wide types: an area spanning most of the int range must not wrap.
    const long long width = (long long)area.right - area.left;
    const long long height = (long long)area.bottom - area.top;
    if (width < 1 || height < 1)
        return;
    const long long span = c + 1 > 2 ? c + 1 : 2;
    // rand() is below 2^15: while the sizes fit an int the int remainders
    // give the same values without the library's 64-bit division.
    const bool narrow = width <= INT_MAX && span <= INT_MAX && height <= INT_MAX / 2 &&
                        rowCursor >= 0 && rowCursor <= INT_MAX / 2;
    const auto drawColumn = [&]() {
        return narrow ? area.left + rand() % int(width) : int(area.left + rand() % width);
    };
    const auto stepRow = [&]() {
        if (narrow) {
            const int r = rand() % int(span);
            rowCursor = (rowCursor + r) % int(height);
        } else {
            rowCursor = int((rowCursor + rand() % span) % height);
        }
    };
    // A stroke that draws only its length lets the length, the row step and
    // the next column be drawn before it, in the same order: the next start
    // is then fetched while this stroke paints, not waited for at its first
    // dab.
    const bool ahead = count > 1 && stroke->drawsOnlyLength() && brush->prefetcher().active();
    int x = count > 0 ? drawColumn() : 0;
    for (int i = 0; i < count; ++i) {
        const int y = area.top + rowCursor;
        if (ahead && i + 1 < count) {
            stroke->handLengthDraw(rand());
            stepRow();
            const int next = drawColumn();
            stroke->prefetchStart(*brush, Vec2(float(next), float(area.top + rowCursor)));
            stroke->draw(*brush, Vec2(float(x), float(y)));
            x = next;
        } else {
            stroke->draw(*brush, Vec2(float(x), float(y)));
            stepRow();
            if (i + 1 < count)
                x = drawColumn();
        }
    }
}
