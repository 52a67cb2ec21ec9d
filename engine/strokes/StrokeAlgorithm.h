#pragma once

#include "engine/Component.h"
#include "foundation/Vec2.h"

class Brush;
class Image;

// Base of the components of type "stroke": from a start point a stroke
// walks a path of steps, steered by fields of the image, and asks the brush
// for one dab per step.
class StrokeAlgorithm : public Component {
public:
    enum { MaxSteps = 160 };

    // The rows of the parameters every stroke reads, in the stroke's table.
    struct SharedRows {
        int length;
        int feedback;
        int noPaintStop;
    };

    // Without shared rows prepare reads nothing.
    StrokeAlgorithm(const ParamDescriptor* table, const char* id, const char* displayName);
    StrokeAlgorithm(const ParamDescriptor* table, const SharedRows& rows, const char* id,
                    const char* displayName);
    ~StrokeAlgorithm() override;

    // Reads the parameters and binds the functions for a render. The base
    // reads the shared rows: "feedback" (the field image), "nopaintstop" and
    // "length", then prepares the brush for the longest stroke. Subclasses
    // call it first.
    virtual void prepare(Brush& brush);
    // Paints one stroke from start (canvas-area coordinates).
    virtual void draw(Brush& brush, Vec2 start) = 0;
    // The expected area one stroke covers.
    virtual double coverage(Brush& brush) = 0;
    virtual int minimumLength() const = 0;
    // True when draw takes exactly one random number, its length, before any
    // other: the caller may then draw it itself and hand it over, which keeps
    // the order of the draws.
    virtual bool drawsOnlyLength() const { return false; }
    // The length's random number for the next draw, drawn by the caller.
    void handLengthDraw(int draw) { lengthDraw_ = draw; }
    // Tells the brush's prefetcher where the next draw starts (canvas-area
    // coordinates) while the stroke before it paints.
    void prefetchStart(Brush& brush, Vec2 start);

    Image* fieldImage; // not owned; what the fields read during draw
    bool feedback;

protected:
    // First value of "length" as stored (not ordered).
    int storedLength() const;
    // strokeCoverage of the brush's mean size over storedLength() steps.
    double storedLengthCoverage(Brush& brush) const;
    // low + rand() * (high - low) / 32767, truncating; a handed-over draw
    // stands for the rand().
    int stepCount(int low, int high);

    // Read by prepare: "length" as (low, high) in order, each limited to
    // 1..160, and "nopaintstop".
    int length_[2];
    bool stopOnNoPaint_;

private:
    // "feedback": the fields follow the paint of earlier strokes (canvas
    // target) or the unchanged picture (canvas reference).
    void readFeedback();
    void readLength(int& low, int& high) const;

    int lengthDraw_ = -1;
    bool hasSharedRows_;
    SharedRows rows_;
};
