#pragma once

#include "engine/PaintIf.h"
#include "engine/ParamDescriptor.h"
#include "engine/ResponseCurves.h"
#include "image/BlendModes.h"
#include "image/CompositeModes.h"

// Parameter rows that several brushes' tables hold alike.
inline constexpr ParamDescriptor kPushStickyRow = {
    3, -50, 150, 0, 2, "s->d Color Sticky ", "pushstickycolor", 0, {}, 0, 0, 0,
    "amount the current source color sticks\n to the original source color"};
inline constexpr ParamDescriptor kPullStickyRow = {
    3, -50, 150, 0, 2, "d->s Color Sticky ", "pullstickycolor", 0, {}, 0, 0, 0,
    "amount the current destination color sticks\n to the original destination color"};
inline constexpr ParamDescriptor kLimitDestRow = {
    2, 0, 0, 0, 0, "Paint If s->d", "limit.dest", 5, &paintIfPredicates, 0, 0, 0,
    "paint logic, selects which brush point applications are painted (src->dest)"};
inline constexpr ParamDescriptor kLimitSrcRow = {
    2, 0, 0, 0, 0, "Paint If d->s", "limit.src", 5, &paintIfPredicates, 0, 0, 0,
    "paint logic, selects which brush point applications are painted (dest->src)"};
inline constexpr ParamDescriptor kBrightnessDestRow = {
    3, 900, 1100, 1000, 3, "Brightness d", "brightness.dest", 0, {}, 995, 1005, 99,
    "increase output brightness/contrast for destination"};
inline constexpr ParamDescriptor kBrightnessSrcRow = {
    3, 900, 1100, 1000, 3, "Brightness s", "brightness.src", 0, {}, 995, 1005, 99,
    "increase output brightness/contrast for source"};
inline constexpr ParamDescriptor kAlphaModeRow = {
    2, 0, 0, 0, 0, "Alpha mode ", "alphamode", 5, &compositeModes, 0, 0, 0,
    "selects alpha result mode for brush application"};
inline constexpr ParamDescriptor kHeightTransformRow = {
    2, 0, 0, 1, 0, "Height Transform", "height.transform", 5, &responseCurves, 0, 0, 0,
    "height transform function, makes\n changes to the brush height/alpha"};
inline constexpr ParamDescriptor kSidesRow = {
    2, 1, 10, 1, 0, "Sides ", "sides", 0, {}, 1, 2, 40,
    "number of sides in brush shape"};
inline constexpr ParamDescriptor kBlendModeRow = {
    2, 0, 0, 0, 0, "Blend mode ", "blendmode", 5, &blendModes, 0, 0, 0,
    "selects blend mode for brush application"};
inline constexpr ParamDescriptor kBrightnessRow = {
    3, 900, 1100, 1000, 3, "Brightness ", "brightness", 0, {}, 995, 1005, 99,
    "increase output brightness/contrast"};
inline constexpr ParamDescriptor kNoiseRow = {
    3, 0, 100, 0, 2, "Noise ", "noise", 0, {}, 0, 25, 50,
    "amount of noise in generated brush"};
