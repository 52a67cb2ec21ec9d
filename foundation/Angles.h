#pragma once

// Angle constants. They are constant-initialised, so they hold their values
// before any code runs, whatever the link order. Each is computed from kPi in
// double precision exactly as written (kPi == 2 * asin(1.0)); the float forms
// are conversions of the double results.
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = kPi + kPi;
inline constexpr double kHalfPi = kPi * 0.5;
inline constexpr double kInvPi = 1.0 / kPi;
inline constexpr double kInvTwoPi = 0.5 / kPi;
inline constexpr double kDegToRad = kPi * 0.005555555555555556;
inline constexpr double kRadToDeg = 180.0 / kPi;
inline constexpr float kPiF = static_cast<float>(kPi);
inline constexpr float kTwoPiF = static_cast<float>(kTwoPi);
inline constexpr float kInvTwoPiF = static_cast<float>(kInvTwoPi);
