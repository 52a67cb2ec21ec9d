#include "engine/tips/HeightFunctions.h"

#include <cmath>

float coneHeight(float x, float y)
{
    return 1.0f - std::sqrt(x * x + y * y);
}

float zeroHeight(float, float)
{
    return 0.0f;
}

float unitHeight(float, float)
{
    return 1.0f;
}
