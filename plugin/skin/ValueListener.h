#pragma once

// Receives the values a skinned control's user input produces.
class ValueListener
{
public:
    virtual ~ValueListener() {}
    virtual void valueChanged(const int* value) = 0;
};
