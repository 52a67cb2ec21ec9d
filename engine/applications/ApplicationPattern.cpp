#include "engine/applications/ApplicationPattern.h"

#include <cmath>
#include <climits>

#include "engine/Canvas.h"
#include "engine/strokes/StrokeAlgorithm.h"

ApplicationPattern::ApplicationPattern(const ParamDescriptor* table, const char* componentId,
                                       const char* name)
    : Component(table, componentId, name, "application"), budget(0), remaining(0), coverage(0.0),
      stroke(nullptr), brush(nullptr), area()
{
    area.left = area.top = area.right = area.bottom = 0;
}

void ApplicationPattern::begin(StrokeAlgorithm& strokeAlgorithm, Brush& strokeBrush, Canvas& target)
{
    setCanvas(&target);
    stroke = &strokeAlgorithm;
    brush = &strokeBrush;
    area = target.area;
    area.normalize();

    float amount = float(param(AmountRow).valueReal(0));
    if (amount < 0.0f)
        amount = 0.01f;

    double s = stroke->coverage(*brush);
    if (!(s > 0.0))
        s = 1.0;
    coverage = s;

    double divisor = std::sqrt(s) + 0.1 * s;
    if (divisor > 1000.0)
        divisor = 1000.0;

    // In double and clamped: a tiny coverage over a huge area would overflow.
    const double width = double(area.right) - double(area.left);
    const double height = double(area.bottom) - double(area.top);
    double strokes = width * height * double(amount) / divisor;
    if (!(strokes < double(INT_MAX)))
        strokes = double(INT_MAX);
    budget = int(strokes);
    if (budget < 5)
        budget = 5;
    remaining = budget;
    prepare();
}

int ApplicationPattern::batchSize(int strokes)
{
    int n = strokes / 80;
    if (n < 10)
        n = 10;
    if (n > 4000)
        n = 4000;
    return n;
}

float ApplicationPattern::doneFraction() const
{
    if (budget == 0 || remaining <= 0)
        return 1.0f;
    return 1.0f - float(remaining) / float(budget);
}
