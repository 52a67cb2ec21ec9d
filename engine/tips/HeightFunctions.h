#pragma once

// Height and noise functions of a tip shape, over tip coordinates -1..1.
typedef float (*TipHeightFunction)(float x, float y);
typedef float (*TipNoiseFunction)(float x, float y);

// 1 at the centre, 0 on the unit circle, negative outside it.
float coneHeight(float x, float y);
float zeroHeight(float x, float y);
float unitHeight(float x, float y);
