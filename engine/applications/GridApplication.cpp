#include "engine/applications/GridApplication.h"

#include <cmath>
#include <cstdlib>

#include "engine/ParamDescriptor.h"
#include "engine/RenderCallbacks.h"
#include "engine/strokes/StrokeAlgorithm.h"
#include "foundation/Numeric.h"
#include "foundation/Vec2.h"

const int gridPhaseTable[8][8] = {
    {0, 0, 0, 0, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 0, 0, 0},
    {0, 1, 0, 0, 0, 0, 0, 0},
    {0, 2, 1, 0, 0, 0, 0, 0},
    {0, 2, 3, 1, 0, 0, 0, 0},
    {0, 3, 1, 4, 2, 0, 0, 0},
    {0, 2, 4, 1, 5, 3, 0, 0},
    {0, 3, 6, 2, 5, 1, 4, 0},
};

float gridJitterTable[512];

namespace {

// The rows of kGridParams, in its order.
enum Row { kAmount, kPasses, kRowOffset, kRandomness, kAdvance, kRowCount };

const ParamDescriptor kGridParams[] = {
    singleRow("Amount ", "amount").spans(2, 500).startsAt(100).hundredths().randomIn(80, 120, 100)
        .describedAs("Select the amount of application\n higher value -> more effect"),
    singleRow("Passes ", "passes").spans(1, 7).startsAt(5)
        .describedAs("Number of application passes over image"),
    singleRow("Row Offset ", "offset").spans(-50, 50).hundredths()
        .describedAs("Horizontal placement of stroke application on odd lines\n"
                     " relative to even lines"),
    singleRow("Randomness ", "random").spans(0, 350).hundredths()
        .describedAs("Position randomness\n"),
    checkBoxRow("Advance position", "advance").startsAt(1).randomIn(1, 1, 90)
        .describedAs("advance forward on each pass\n"),
    kEndRow,
};
static_assert(sizeof kGridParams / sizeof kGridParams[0] == kRowCount + 1,
              "a name for every row");
static_assert(int(kAmount) == int(ApplicationPattern::AmountRow), "amount comes first");

const int kJitterCount = 512;

} // namespace

GridApplication::GridApplication()
    : ApplicationPattern(kGridParams, "single_grid", "Equal spaced single grid"), passes(5),
      advance(true), random(0.0f), offset(0.0f)
{
}

void GridApplication::prepare()
{
    passes = truncToInt(param(kPasses).valueReal(0));
    advance = truncToInt(param(kAdvance).valueReal(0)) != 0;
    random = float(param(kRandomness).valueReal(0));
    offset = float(param(kRowOffset).valueReal(0));
}

bool GridApplication::run(RenderCallbacks& callbacks)
{
    const int progressStep = batchSize(budget);
    // Wide types: an area spanning most of the int range must not wrap.
    const double width = double(area.right) - double(area.left);
    const double height = double(area.bottom) - double(area.top);
    if (budget <= 0 || width <= 0 || height <= 0)
        return false;

    const float d = float(1.0 / std::sqrt(double(budget) / (width * height)));
    const int columns = roundToInt(float(width) / d);
    const int rows = roundToInt(float(height) / d);
    const long long cells = (long long)columns * rows;
    budget = remaining = cells > 0x7fffffff ? 0x7fffffff : int(cells);

    for (int i = 0; i < kJitterCount; ++i)
        gridJitterTable[i] = float(rand()) * random * d * (1.0f / 32767.0f);
    const float rowOffset = d * offset;

    if (passes < 1) {
        callbacks.finished();
        return true;
    }
    // The parameter's range keeps passes within the phase table; guard anyway.
    const int phaseRow = passes < 8 ? passes : 7;

    const float x0 = float(area.left) + d / 2.0f;
    float y = float(area.top) + d / 2.0f;
    int k = 0;
    int countdown = progressStep;
    for (int p = 0; p < passes; ++p) {
        y = float(area.top) + d / 2.0f;
        for (int r = 0; r < rows; ++r) {
            if (callbacks.isCancelled())
                return false;
            int counter = gridPhaseTable[phaseRow][(r + (advance ? p : 0)) % passes % 8];
            float x = x0;
            if (r & 1)
                x += rowOffset;
            for (int c = 0; c < columns; ++c) {
                if (--counter < 0) {
                    stroke->draw(*brush, Vec2(x + gridJitterTable[k + 1], y + gridJitterTable[k]));
                    k += 2;
                    if (k >= kJitterCount)
                        k = 0;
                    counter = passes - 1;
                    if (--remaining == 0) {
                        callbacks.finished();
                        return true;
                    }
                    if (--countdown < 0) {
                        countdown = progressStep;
                        if (!callbacks.progress(doneFraction()))
                            return false;
                    }
                }
                x += d;
            }
            y += d;
        }
    }
    callbacks.finished();
    return true;
}
