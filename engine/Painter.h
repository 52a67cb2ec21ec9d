#pragma once

class RenderCallbacks;
struct Canvas;

// Something that paints a canvas and reports through render callbacks.
class Painter
{
public:
    virtual bool paint(Canvas& canvas, RenderCallbacks& callbacks) = 0;

protected:
    ~Painter() {}
};
