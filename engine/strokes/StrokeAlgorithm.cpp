#include "engine/strokes/StrokeAlgorithm.h"

#include <cstdlib>

#include "engine/Canvas.h"
#include "foundation/Numeric.h"

StrokeAlgorithm::StrokeAlgorithm(const ParamDescriptor* table, const char* id,
                                 const char* displayName)
    : Component(table, id, displayName, "stroke"), fieldImage(nullptr), feedback(false)
{
}

StrokeAlgorithm::~StrokeAlgorithm()
{
}

void StrokeAlgorithm::prepare(Brush&)
{
}

void StrokeAlgorithm::readFeedback()
{
    feedback = findParameter("feedback").values[0] != 0;
    fieldImage = nullptr;
    if (canvas)
        fieldImage = feedback ? canvas->target : canvas->reference;
}

void StrokeAlgorithm::readLength(int& low, int& high) const
{
    int values[2] = {0, 0};
    intRange("length", values);
    low = values[0];
    high = values[1];
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
    int values[2] = {0, 0};
    intRange("length", values);
    return values[0];
}

int StrokeAlgorithm::stepCount(int low, int high)
{
    const int r = std::rand();
    return low + (r * (high - low)) / 32767;
}

float StrokeAlgorithm::scaled(const char* id) const
{
    return static_cast<float>(findParameter(id).valueReal(0));
}

ValuePair StrokeAlgorithm::scaledPair(const char* id) const
{
    float values[2] = {0.0f, 0.0f};
    realRange(id, values);
    ValuePair pair;
    pair.first = values[0];
    pair.second = values[1];
    return pair;
}
