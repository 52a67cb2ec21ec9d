#pragma once

#include "image/ColorMatrix.h"

// Building steps of the colour adjustments. Each multiplies a new matrix N
// onto the matrix from the left (M becomes N x M), so the step added last
// acts on the pixel first.

// Saturation s: 1 keeps colours, 0 gives grey by 0.3086, 0.6094, 0.0820.
void saturateColors(ColorMatrix& m, float s);
// Rotation of the colour cube about its grey diagonal by turns x 2 pi; a
// third of a turn maps red to green.
void rotateHue(ColorMatrix& m, float turns);
// Adds (dr, dg, db), in units of full scale, to the pixel.
void translateColors(ColorMatrix& m, float dr, float dg, float db);

// Replaces R, G and B through the matrix, channels scaled by 1/255.99 and
// back; alpha is untouched.
void applyColorMatrix(const ColorMatrix& m, Pixel& pixel);
