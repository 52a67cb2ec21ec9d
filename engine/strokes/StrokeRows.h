#pragma once

#include "engine/ParamDescriptor.h"
#include "engine/ResponseCurves.h"
#include "engine/fields/ScalarFields.h"

// Parameter rows that several strokes' tables hold alike.
inline constexpr ParamDescriptor kLengthRow = {
    35, 1, 160, 8, 0, "Length ", "length", 0, {}, 1, 40, 50,
    "Stroke Length - the ranger of\n brush applications per brush stroke"};
inline constexpr ParamDescriptor kDirectionTransformRow = {
    2, 0, 0, 1, 0, "Direction Transform", "dir.transform", 5, &responseCurves, 0, 0, 0,
    "direction transform function, makes\n interesting changes to the stroke direction"};
inline constexpr ParamDescriptor kAngleMultiplierRow = {
    2, -2400, 2400, 100, 2, "Angle Multiplier ", "amult", 0, {}, 0, 0, 0,
    "The direction result\n is multiplied by this value"};
inline constexpr ParamDescriptor kFeedbackRow = {
    1, 0, 1, 1, 0, "Feedback", "feedback", 0, {}, 1, 1, 70,
    "When selected uses the output image\nfor stroke direction input\n (uses input image otherwise)"};
inline constexpr ParamDescriptor kNoPaintStopRow = {
    1, 0, 1, 0, 0, "Stop on no paint", "nopaintstop", 0, {}, 0, 0, 0,
    "stops the brush stroke application\nwhen the brush stops painting"};
inline constexpr ParamDescriptor kAngleRow = {
    2, -180, 180, 0, 0, "Stroke Angle ", "angle", 1, {}, 0, 0, 0,
    "The angle that the stroke takes\n (added to the Direction function result)"};
inline constexpr ParamDescriptor kDistanceGrowthRow = {
    2, 850, 1150, 1000, 3, "Distance Multiplier x", "dmultx", 0, {}, 970, 1030, 80,
    "Acceleration factor for\n the distance multiplier"};
