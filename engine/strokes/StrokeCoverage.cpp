#include "engine/strokes/StrokeCoverage.h"

#include <cmath>

double strokeCoverage(float meanSize, int length)
{
    const long double l = length > 0 ? static_cast<long double>(length) : 0.0L;
    return static_cast<double>(0.5L * meanSize * l * std::sqrt(l));
}
