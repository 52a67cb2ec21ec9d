#pragma once

#include "engine/PaintIf.h"
#include "engine/ParamDescriptor.h"
#include "engine/ResponseCurves.h"
#include "image/BlendModes.h"
#include "image/CompositeModes.h"

// Parameter rows that several brushes' tables hold alike.
inline constexpr ParamDescriptor kPushStickyRow =
    rangeRow("s->d Color Sticky ", "pushstickycolor").spans(-50, 150).hundredths()
        .describedAs("amount the current source color sticks\n to the original source color");
inline constexpr ParamDescriptor kPullStickyRow =
    rangeRow("d->s Color Sticky ", "pullstickycolor").spans(-50, 150).hundredths()
        .describedAs("amount the current destination color sticks\n"
                     " to the original destination color");
inline constexpr ParamDescriptor kLimitDestRow =
    choiceRow("Paint If s->d", "limit.dest", &paintIfPredicates)
        .describedAs("paint logic, selects which brush point applications are painted (src->dest)");
inline constexpr ParamDescriptor kLimitSrcRow =
    choiceRow("Paint If d->s", "limit.src", &paintIfPredicates)
        .describedAs("paint logic, selects which brush point applications are painted (dest->src)");
inline constexpr ParamDescriptor kBrightnessDestRow =
    rangeRow("Brightness d", "brightness.dest").spans(900, 1100).startsAt(1000).thousandths()
        .randomIn(995, 1005, 99)
        .describedAs("increase output brightness/contrast for destination");
inline constexpr ParamDescriptor kBrightnessSrcRow =
    rangeRow("Brightness s", "brightness.src").spans(900, 1100).startsAt(1000).thousandths()
        .randomIn(995, 1005, 99)
        .describedAs("increase output brightness/contrast for source");
inline constexpr ParamDescriptor kAlphaModeRow =
    choiceRow("Alpha mode ", "alphamode", &compositeModes)
        .describedAs("selects alpha result mode for brush application");
inline constexpr ParamDescriptor kHeightTransformRow =
    choiceRow("Height Transform", "height.transform", &responseCurves).startsAt(1)
        .describedAs("height transform function, makes\n changes to the brush height/alpha");
inline constexpr ParamDescriptor kSidesRow =
    singleRow("Sides ", "sides").spans(1, 10).startsAt(1).randomIn(1, 2, 40)
        .describedAs("number of sides in brush shape");
inline constexpr ParamDescriptor kBlendModeRow =
    choiceRow("Blend mode ", "blendmode", &blendModes)
        .describedAs("selects blend mode for brush application");
inline constexpr ParamDescriptor kBrightnessRow =
    rangeRow("Brightness ", "brightness").spans(900, 1100).startsAt(1000).thousandths()
        .randomIn(995, 1005, 99)
        .describedAs("increase output brightness/contrast");
inline constexpr ParamDescriptor kNoiseRow =
    rangeRow("Noise ", "noise").spans(0, 100).hundredths().randomIn(0, 25, 50)
        .describedAs("amount of noise in generated brush");

// The "limit" row of a brush with one paint condition, under the brush's own
// label ("Paint If " or "Paint If").
constexpr ParamDescriptor paintIfRow(const char* label)
{
    return choiceRow(label, "limit", &paintIfPredicates)
        .describedAs("paint logic, selects which brush point applications are painted");
}
