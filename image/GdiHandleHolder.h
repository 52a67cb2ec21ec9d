#pragma once

#include "image/GdiObjectHolder.h"

// The same holder under a type of its own, for handles that are kept rather
// than drawn with.
class GdiHandleHolder : public GdiObjectHolder
{
public:
    using GdiObjectHolder::GdiObjectHolder;
};
