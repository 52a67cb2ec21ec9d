#include "engine/brushes/Brush.h"

#include <climits>

#include "engine/Canvas.h"
#include "image/Image.h"

Brush::Brush(const ParamDescriptor* table, const char* id, const char* displayName)
    : Component(table, id, displayName, "brush")
{
}

Brush::~Brush()
{
}

float Brush::meanSize() const
{
    return 1.0f;
}

void Brush::prepare(int)
{
}
