#pragma once

#include "engine/ParamDescriptor.h"
#include "engine/ResponseCurves.h"
#include "engine/fields/ScalarFields.h"

// Parameter rows that several strokes' tables hold alike.
inline constexpr ParamDescriptor kLengthRow =
    rangeRow("Length ", "length").spans(1, 160).startsAt(8).greySpan().randomIn(1, 40, 50)
        .describedAs("Stroke Length - the ranger of\n brush applications per brush stroke");
inline constexpr ParamDescriptor kDirectionTransformRow =
    choiceRow("Direction Transform", "dir.transform", &responseCurves).startsAt(1)
        .describedAs("direction transform function, makes\n"
                     " interesting changes to the stroke direction");
inline constexpr ParamDescriptor kAngleMultiplierRow =
    singleRow("Angle Multiplier ", "amult").spans(-2400, 2400).startsAt(100).hundredths()
        .describedAs("The direction result\n is multiplied by this value");
inline constexpr ParamDescriptor kFeedbackRow =
    checkBoxRow("Feedback", "feedback").startsAt(1).randomIn(1, 1, 70)
        .describedAs("When selected uses the output image\nfor stroke direction input\n"
                     " (uses input image otherwise)");
inline constexpr ParamDescriptor kNoPaintStopRow =
    checkBoxRow("Stop on no paint", "nopaintstop")
        .describedAs("stops the brush stroke application\nwhen the brush stops painting");
inline constexpr ParamDescriptor kAngleRow =
    singleRow("Stroke Angle ", "angle").spans(-180, 180).inDegrees()
        .describedAs("The angle that the stroke takes\n (added to the Direction function result)");
inline constexpr ParamDescriptor kDistanceGrowthRow =
    singleRow("Distance Multiplier x", "dmultx").spans(850, 1150).startsAt(1000).thousandths()
        .randomIn(970, 1030, 80)
        .describedAs("Acceleration factor for\n the distance multiplier");
