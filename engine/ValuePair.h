#pragma once

// The two values of a range parameter: the first applies at the start of a
// stroke, the second at its end.
struct ValuePair {
    float first = 0.0f;
    float second = 0.0f;

    // (1 - t) * first + t * second, in single precision.
    float at(float t) const { return (1.0f - t) * first + t * second; }
};
