#include "engine/strokes/StrokeAlgorithm.h"

#include <cstdlib>

#include "engine/Canvas.h"
#include "engine/brushes/Brush.h"
#include "engine/strokes/StrokeCoverage.h"
#include "foundation/Numeric.h"
#include "image/Image.h"

StrokeAlgorithm::StrokeAlgorithm(const ParamDescriptor* table, const char* id,
                                 const char* displayName)
    : Component(table, id, displayName, "stroke"), fieldImage(nullptr), feedback(false),
      length_{1, 1}, stopOnNoPaint_(false), hasSharedRows_(false), rows_{0, 0, 0}
{
}

StrokeAlgorithm::StrokeAlgorithm(const ParamDescriptor* table, const SharedRows& rows,
                                 const char* id, const char* displayName)
    : Component(table, id, displayName, "stroke"), fieldImage(nullptr), feedback(false),
      length_{1, 1}, stopOnNoPaint_(false), hasSharedRows_(true), rows_(rows)
{
}

StrokeAlgorithm::~StrokeAlgorithm()
{
}

void StrokeAlgorithm::prepare(Brush& brush)
{
    lengthDraw_ = -1;
    // What the prefetcher learnt of the last render's strokes is not this one's.
    brush.prefetcher().reset();
    if (!hasSharedRows_)
        return;
    readFeedback();
    stopOnNoPaint_ = isChecked(rows_.noPaintStop);
    readLength(length_[0], length_[1]);
    brush.prepare(length_[1]);
}

void StrokeAlgorithm::readFeedback()
{
    feedback = isChecked(rows_.feedback);
    fieldImage = nullptr;
    if (canvas)
        fieldImage = feedback ? canvas->target : canvas->reference;
}

void StrokeAlgorithm::readLength(int& low, int& high) const
{
    low = param(rows_.length).values[0];
    high = param(rows_.length).values[1];
    if (low > high) {
        const int swap = low;
        low = high;
        high = swap;
    }
    // 1 / high is the fraction step and the brush builds one tip per step.
    low = clampInt(low, 1, MaxSteps);
    high = clampInt(high, 1, MaxSteps);
}

int StrokeAlgorithm::storedLength() const
{
    return hasSharedRows_ ? rawValue(rows_.length) : 0;
}

double StrokeAlgorithm::storedLengthCoverage(Brush& brush) const
{
    return strokeCoverage(brush.meanSize(), storedLength());
}

void StrokeAlgorithm::prefetchStart(Brush& brush, Vec2 start)
{
    brush.prefetcher().nextStroke(start.x, start.y, fieldImage);
}

int StrokeAlgorithm::stepCount(int low, int high)
{
    int r = lengthDraw_;
    lengthDraw_ = -1;
    if (r < 0)
        r = std::rand();
    return low + (r * (high - low)) / 32767;
}
