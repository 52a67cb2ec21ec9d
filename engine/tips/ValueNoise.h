#pragma once

// Lattice value noise behind the noisy brush tips.
class ValueNoise {
public:
    // Pseudo-random lattice value in (-1, 1]; all integer arithmetic wraps at 32 bits.
    static double hash(int n);
    static double hash2(int x, int y);

    // Note the weight runs from 0.5 at t = 0 to 1.5 at t = 1; stored tips rely on it.
    static double cosineInterpolate(double t, double a, double b);
    static double cosineInterpolate2(double a, double b, double c, double d,
                                     double tx, double ty);

    static float smooth(float x, float y);
    static float smoothSigned(float x, float y);
    // Eight lattice cells per unit: 16 cells across a tip's -1..1 span.
    static float smooth8(float x, float y);
    static float smooth8Signed(float x, float y);
};
