#pragma once

#include "engine/Component.h"
#include "foundation/Rect.h"

class Brush;
class RenderCallbacks;
class StrokeAlgorithm;
struct Canvas;
struct ParamDescriptor;

// Decides where strokes start and how many there are: turns "amount" and the
// stroke's coverage into a stroke budget, then places the strokes.
class ApplicationPattern : public Component
{
public:
    // Every application table starts with "amount".
    enum { AmountRow = 0 };

    ApplicationPattern(const ParamDescriptor* table, const char* id, const char* displayName);

    // Keeps the stroke, brush and canvas area and works out the budget.
    void begin(StrokeAlgorithm& stroke, Brush& brush, Canvas& canvas);

    // Places the strokes; true when the run completed.
    virtual bool run(RenderCallbacks& callbacks) = 0;
    virtual void prepare() {}

    // Strokes per progress report: budget / 80 within 10..4000.
    static int batchSize(int budget);

    int budget;
    int remaining;
    double coverage;
    StrokeAlgorithm* stroke;
    Brush* brush;
    Rect area;

protected:
    // 1 - remaining / budget, exactly 1 when nothing remains.
    float doneFraction() const;
};
