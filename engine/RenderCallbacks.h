#pragma once

class Logger;

// The engine's only channel back to whoever started a render: progress with a
// "go on" answer, a cancel test, the end-of-render hook and the settings-changed
// notice that parameters send to their listener. Everything is called on the
// caller's thread. The operation order is the slot order the front ends rely on.
class RenderCallbacks
{
public:
    // Settings have changed; the owner may start a new preview.
    virtual void requestPreview() = 0;
    // Fraction of the current render done (0..1); false asks the engine to stop.
    virtual bool progress(float fraction) = 0;
    // True when the render is to stop.
    virtual bool isCancelled() = 0;
    // A render has completed its last batch (never called after a stop).
    virtual void finished() = 0;
    // Hook without arguments; nothing in the engine calls it.
    virtual void reserved() = 0;
    // Raise the cancel flag.
    virtual void cancel() = 0;
    // Lower the cancel flag.
    virtual void reset() = 0;
    // The process-wide current logger.
    virtual Logger* logger() = 0;

    virtual ~RenderCallbacks() {}
};
