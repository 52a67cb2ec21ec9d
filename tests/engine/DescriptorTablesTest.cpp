#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>

#include "engine/PaintIf.h"
#include "engine/ParamDescriptor.h"
#include "engine/ResponseCurves.h"
#include "engine/applications/GridApplication.h"
#include "engine/applications/RandomApplication.h"
#include "engine/brushes/ColorPointBrush.h"
#include "engine/brushes/ImageCopyBrush.h"
#include "engine/brushes/SwapBlendBrush.h"
#include "engine/brushes/SwapHsvBrush.h"
#include "engine/brushes/SwapPointBrush.h"
#include "engine/brushes/SwapRgbBrush.h"
#include "engine/fields/DirectionFields.h"
#include "engine/fields/ScalarFields.h"
#include "engine/strokes/AnglePairStroke.h"
#include "engine/strokes/ParamAngle2dStroke.h"
#include "engine/strokes/ParamAngleStroke.h"
#include "engine/strokes/Vector2Stroke.h"
#include "image/BlendModes.h"
#include "image/CompositeModes.h"

// The components' descriptor tables are what preset files are read and
// written by: every field of every row, end rows included, must stay as it
// is however the tables are spelled.

namespace {

// A descriptor row as plain fields, so the expected rows below do not depend
// on how the tables write theirs.
struct Row
{
    int32_t flags;
    int32_t min;
    int32_t max;
    int32_t defaultValue;
    int32_t decimals;
    const char* label;
    const char* id;
    int32_t kind;
    ParamList list;
    int32_t randomLow;
    int32_t randomHigh;
    int32_t randomChance;
    const char* description;
};

// Rows that several tables hold alike.
const Row kPushStickyRow = {
    3, -50, 150, 0, 2, "s->d Color Sticky ", "pushstickycolor", 0, {}, 0, 0, 0,
    "amount the current source color sticks\n to the original source color"};
const Row kPullStickyRow = {
    3, -50, 150, 0, 2, "d->s Color Sticky ", "pullstickycolor", 0, {}, 0, 0, 0,
    "amount the current destination color sticks\n to the original destination color"};
const Row kLimitDestRow = {
    2, 0, 0, 0, 0, "Paint If s->d", "limit.dest", 5, &paintIfPredicates, 0, 0, 0,
    "paint logic, selects which brush point applications are painted (src->dest)"};
const Row kLimitSrcRow = {
    2, 0, 0, 0, 0, "Paint If d->s", "limit.src", 5, &paintIfPredicates, 0, 0, 0,
    "paint logic, selects which brush point applications are painted (dest->src)"};
const Row kBrightnessDestRow = {
    3, 900, 1100, 1000, 3, "Brightness d", "brightness.dest", 0, {}, 995, 1005, 99,
    "increase output brightness/contrast for destination"};
const Row kBrightnessSrcRow = {
    3, 900, 1100, 1000, 3, "Brightness s", "brightness.src", 0, {}, 995, 1005, 99,
    "increase output brightness/contrast for source"};
const Row kAlphaModeRow = {
    2, 0, 0, 0, 0, "Alpha mode ", "alphamode", 5, &compositeModes, 0, 0, 0,
    "selects alpha result mode for brush application"};
const Row kHeightTransformRow = {
    2, 0, 0, 1, 0, "Height Transform", "height.transform", 5, &responseCurves, 0, 0, 0,
    "height transform function, makes\n changes to the brush height/alpha"};
const Row kSidesRow = {
    2, 1, 10, 1, 0, "Sides ", "sides", 0, {}, 1, 2, 40,
    "number of sides in brush shape"};
const Row kBlendModeRow = {
    2, 0, 0, 0, 0, "Blend mode ", "blendmode", 5, &blendModes, 0, 0, 0,
    "selects blend mode for brush application"};
const Row kPaintIfRow = {
    2, 0, 0, 0, 0, "Paint If ", "limit", 5, &paintIfPredicates, 0, 0, 0,
    "paint logic, selects which brush point applications are painted"};
const Row kBrightnessRow = {
    3, 900, 1100, 1000, 3, "Brightness ", "brightness", 0, {}, 995, 1005, 99,
    "increase output brightness/contrast"};
const Row kNoiseRow = {
    3, 0, 100, 0, 2, "Noise ", "noise", 0, {}, 0, 25, 50,
    "amount of noise in generated brush"};
const Row kLengthRow = {
    35, 1, 160, 8, 0, "Length ", "length", 0, {}, 1, 40, 50,
    "Stroke Length - the ranger of\n brush applications per brush stroke"};
const Row kDirectionRow = {
    2, 0, 0, 1, 0, "Direction ", "direction", 5, &scalarFields, 0, 0, 0,
    "direction function, controls\n brush motion direction"};
const Row kDirectionTransformRow = {
    2, 0, 0, 1, 0, "Direction Transform", "dir.transform", 5, &responseCurves, 0, 0, 0,
    "direction transform function, makes\n interesting changes to the stroke direction"};
const Row kAngleMultiplierRow = {
    2, -2400, 2400, 100, 2, "Angle Multiplier ", "amult", 0, {}, 0, 0, 0,
    "The direction result\n is multiplied by this value"};
const Row kWideBrushVectorRow = {
    3, -200, 250, 100, 2, "Brush Vector ", "brushvector", 0, {}, 80, 120, 90,
    "For a single brush application, the distance scale\n between 'source' and 'destination' pixels"};
const Row kFeedbackRow = {
    1, 0, 1, 1, 0, "Feedback", "feedback", 0, {}, 1, 1, 70,
    "When selected uses the output image\nfor stroke direction input\n (uses input image otherwise)"};
const Row kNoPaintStopRow = {
    1, 0, 1, 0, 0, "Stop on no paint", "nopaintstop", 0, {}, 0, 0, 0,
    "stops the brush stroke application\nwhen the brush stops painting"};
const Row kAngleRow = {
    2, -180, 180, 0, 0, "Stroke Angle ", "angle", 1, {}, 0, 0, 0,
    "The angle that the stroke takes\n (added to the Direction function result)"};
const Row kBrushVectorRow = {
    3, -100, 250, 100, 2, "Brush Vector ", "brushvector", 0, {}, 80, 120, 90,
    "For a single brush application, the distance scale\n between 'source' and 'destination' pixels"};
const Row kDistanceMultiplierRow = {
    2, 5, 400, 100, 2, "Distance Multiplier ", "dmult", 0, {}, 90, 125, 95,
    "The distance the stroke moves\n between each brush application, relative\nto the brush size"};
const Row kDistanceGrowthRow = {
    2, 850, 1150, 1000, 3, "Distance Multiplier x", "dmultx", 0, {}, 970, 1030, 80,
    "Acceleration factor for\n the distance multiplier"};
const Row kInertiaRow = {
    3, -20, 120, 0, 2, "Inertia ", "inertia", 0, {}, 0, 0, 70,
    "Controls how easily the motion vector\n changes through the stroke"};
const Row kAmountRow = {
    2, 2, 500, 100, 2, "Amount ", "amount", 0, {}, 80, 120, 100,
    "Select the amount of application\n higher value -> more effect"};
const Row kTableEnd = {0, 0, 0, 0, 0, "", "", 0, {}, 0, 0, 0, ""};

const Row kSwapPointRows[] = {
    {3, 1, 125, 50, 2, "s->d Intensity ", "pushintensity", 0, {}, 20, 80, 80,
     "Copy pixel from source to destination in this amount,\n higher value is more"},
    {3, -40, 40, 0, 1, "s->d Lighten ", "pushlighten", 0, {}, -12, 12, 90,
     "Lighten destination pixel value in this amount,\n higher value is lighter"},
    {3, -100, 100, 0, 2, "s->d Bias ", "pushbias", 0, {}, -20, 20, 90,
     "'Tips' the destination pixel output,\n resulting in more noisy contrasting output"},
    kPushStickyRow,
    {3, 1, 125, 50, 2, "d->s Intensity ", "pullintensity", 0, {}, 20, 80, 80,
     "Copy pixel from destination to source in this amount,\n higher value is more"},
    {3, -40, 40, 0, 1, "d->s Lighten ", "pulllighten", 0, {}, -12, 12, 90,
     "Lighten source pixel value in this amount,\n higher value is lighter"},
    {3, -100, 100, 0, 2, "d->s Bias ", "pullbias", 0, {}, -20, 20, 90,
     "'Tips' the source pixel output,\n resulting in more noisy/contrasting output"},
    kPullStickyRow,
    {2, 0, 0, 0, 0, "Paint If", "limit", 5, &paintIfPredicates, 0, 0, 0,
     "paint logic, selects which brush point applications are painted"},
    kTableEnd,
};

const Row kSwapRgbRows[] = {
    {3, -20, 120, 50, 2, "Src->Dest Red ", "srcr", 0, {}, 0, 100, 50,
     "Copy Red from source to destination,\n higher value is more"},
    {3, -20, 120, 50, 2, "Src->Dest Green ", "srcg", 0, {}, 0, 100, 50,
     "Copy Green from source to destination,\n higher value is more"},
    {3, -20, 120, 50, 2, "Src->Dest Blue ", "srcb", 0, {}, 0, 100, 50,
     "Copy Blue from source to destination,\n higher value is more"},
    kPushStickyRow,
    kLimitDestRow,
    {3, -20, 120, 50, 2, "Dest->Src Red ", "destr", 0, {}, 0, 100, 50,
     "Copy Red from destination to source,\n higher value is more"},
    {3, -20, 120, 50, 2, "Dest->Src Green ", "destg", 0, {}, 0, 100, 50,
     "Copy Green from destination to source,\n higher value is more"},
    {3, -20, 120, 50, 2, "Dest->Src Blue ", "destb", 0, {}, 0, 100, 50,
     "Copy Blue from destination to source,\n higher value is more"},
    kPullStickyRow,
    kLimitSrcRow,
    kTableEnd,
};

const Row kSwapHsvRows[] = {
    {3, -20, 120, 50, 2, "Src->Dest Hue ", "srch", 0, {}, 0, 100, 50,
     "Copy Hue from source to destination,\n higher value is more"},
    {3, -20, 120, 50, 2, "Src->Dest Saturation", "srcs", 0, {}, 0, 0, -1,
     "Copy Saturation from source to destination,\n higher value is more"},
    {3, -20, 120, 50, 2, "Src->Dest Brightness", "srcv", 0, {}, 0, 0, -1,
     "Copy Brightness from source to destination,\n higher value is more"},
    kPushStickyRow,
    kLimitDestRow,
    kBrightnessDestRow,
    {3, -20, 120, 50, 2, "Dest->Src Hue ", "desth", 0, {}, 0, 100, 50,
     "Copy Hue from destination to source,\n higher value is more"},
    {3, -20, 120, 50, 2, "Dest->Src Saturation", "dests", 0, {}, 3, 0, -1,
     "Copy Saturation from destination to source,\n higher value is more"},
    {3, -20, 120, 50, 2, "Dest->Src Brightness", "destv", 0, {}, 3, 0, -1,
     "Copy Brightness from destination to source,\n higher value is more"},
    kPullStickyRow,
    kLimitSrcRow,
    kBrightnessSrcRow,
    kTableEnd,
};

const Row kSwapBlendRows[] = {
    {3, -20, 120, 50, 2, "Src->Dest", "src", 0, {}, 0, 100, 50,
     "Amount to copy from source to destination,\n higher value is more"},
    {2, 0, 0, 0, 0, "Blend mode s->d", "blendmode.dest", 5, &blendModes, 0, 0, 0,
     "selects blend mode for source->destination"},
    kPushStickyRow,
    kLimitDestRow,
    kBrightnessDestRow,
    {3, -20, 120, 50, 2, "Dest->Src", "dest", 0, {}, 0, 100, 50,
     "Amount to copy from destination to source,\n higher value is more"},
    {2, 0, 0, 0, 0, "Blend mode d->s", "blendmode.src", 5, &blendModes, 0, 0, 0,
     "selects blend mode for destination->source"},
    kPullStickyRow,
    kLimitSrcRow,
    kBrightnessSrcRow,
    kAlphaModeRow,
    kTableEnd,
};

const Row kImageCopyRows[] = {
    {3, 5, 200, 25, 1, "Radius ", "radius", 0, {}, 0, 0, 0,
     "Brush radius"},
    {3, 4, 300, 100, 2, "Height ", "height", 0, {}, 4, 125, 75,
     "Brush height\n higher value -> sharper edged brush"},
    kHeightTransformRow,
    {2, -720, 720, 0, 0, "Rotation ", "rotation", 1, {}, 1, 2, 40,
     "Brush rotation through the stroke"},
    kSidesRow,
    {2, -10, 200, 0, 2, "Shape ", "shape", 0, {}, 0, 50, 60,
     "amount of brush shape"},
    kBlendModeRow,
    kAlphaModeRow,
    kPaintIfRow,
    kBrightnessRow,
    kNoiseRow,
    {1, 0, 1, 0, 0, "Reverse ", "swap", 0, {}, 0, 0, 0,
     "swap source/destination pixel positions"},
    {1, 0, 1, 1, 0, "Builder 1 ", "shapebuilder", 0, {}, 0, 0, 0,
     "use second shape builder"},
    kTableEnd,
};

const Row kColorPointRows[] = {
    {3, 5, 400, 25, 1, "Radius ", "radius", 0, {}, 10, 70, 60,
     "Brush radius"},
    {3, 3, 300, 100, 2, "Height ", "height", 0, {}, 5, 115, 85,
     "Brush height\n higher value -> sharper edged brush"},
    kHeightTransformRow,
    {2, -720, 720, 0, 0, "Rotation ", "rotation", 1, {}, 1, 2, 40,
     "Brush head rotation through stroke"},
    kSidesRow,
    {2, -50, 150, 0, 2, "Shape ", "shape", 0, {}, 0, 50, 60,
     "amount of shape in"},
    {3, -50, 150, 80, 2, "Color Mix ", "colormix", 0, {}, 60, 110, 50,
     "selects brush color between\n source and destination pixel"},
    {3, -50, 150, 0, 2, "Color Stickiness ", "stickycolor", 0, {}, 0, 0, 0,
     "amount the brush color sticks\n to the currently selected color"},
    {2, 0, 0, 0, 0, "Color Sticky Type ", "stickytype", 5, &stickyTypePredicates, 0, 0, 0,
     "sticky logic, selects which\n color is retained as current"},
    kBlendModeRow,
    kAlphaModeRow,
    kPaintIfRow,
    kBrightnessRow,
    kNoiseRow,
    {1, 0, 1, 0, 0, "Builder 1 ", "shapebuilder", 0, {}, 0, 0, 0,
     "use second shape builder"},
    kTableEnd,
};

const Row kParamAngleRows[] = {
    kLengthRow,
    kDirectionRow,
    kDirectionTransformRow,
    kAngleMultiplierRow,
    {2, -180, 180, 0, 0, "Stroke Angle ", "motionangle", 1, {}, 0, 0, 0,
     "The angle that the stroke takes\n (plus the direction result)"},
    {2, -500, 500, 0, 2, "Curl ", "curl", 1, {}, -100, 100, 85,
     "The amount that the stroke\n curls during application"},
    kWideBrushVectorRow,
    {2, 0, 0, 1, 0, "Brush Vector Trans", "brushvector.transform", 5, &responseCurves, 0, 0, 0,
     "direction transform function, makes\n interesting changes to the brush vector"},
    {2, -179, 180, 0, 0, "Brush Angle ", "opangle", 1, {}, -10, 10, 50,
     "The angle at which the brush is applied"},
    {2, 5, 400, 100, 2, "Distance Multiplier", "dmult", 0, {}, 90, 125, 95,
     "The distance the stroke moves\n between each brush application, relative\nto the brush size"},
    kFeedbackRow,
    {1, 0, 1, 0, 0, "Initial Direction", "line", 0, {}, 0, 0, 0,
     "Uses the direction calculated at the beginning\n of the stroke for the rest of the stroke"},
    kNoPaintStopRow,
    kTableEnd,
};

const Row kParamAngle2dRows[] = {
    kLengthRow,
    kDirectionRow,
    kDirectionTransformRow,
    kAngleRow,
    kAngleMultiplierRow,
    {3, -500, 500, 0, 2, "Curl ", "curl", 1, {}, -100, 100, 85,
     "The amount that the stroke\n curls during application"},
    kBrushVectorRow,
    kDistanceMultiplierRow,
    kDistanceGrowthRow,
    {3, -50, 150, 0, 2, "Initial Direction", "initdir", 0, {}, 0, 0, 0,
     "Amount to adhere to original direction\n (direction stickiness)"},
    {2, 0, 0, 1, 0, "Distance Function ", "distfunc", 5, &scalarFields, 0, 0, 0,
     "Distance function, multiples offset\n distance by function"},
    {3, -100, 200, 0, 2, "Distance Func. mix", "distfuncmix", 0, {}, 0, 0, 0,
     "Multiplier for\n distance function"},
    kInertiaRow,
    kFeedbackRow,
    kNoPaintStopRow,
    kTableEnd,
};

const Row kVector2Rows[] = {
    kLengthRow,
    {2, 0, 0, 1, 0, "Direction 1 ", "direction", 5, &directionFields, 0, 0, 0,
     "direction function, controls\n brush motion direction"},
    kAngleRow,
    {2, 0, 0, 0, 0, "Direction 1 Add", "dir.add", 5, &scalarFields, 0, 0, 0,
     "add direction function, controls\n additional brush motion direction"},
    {2, 0, 0, 0, 0, "D1.A. Transform", "dir.add.transform", 5, &responseCurves, 0, 0, 0,
     "add direction transform function, makes\n interesting changes to the stroke direction"},
    {3, -100, 200, 0, 2, "D1.A. Multiplier ", "dir.add.mult", 0, {}, 0, 0, 0,
     "The add direction result\n is multiplied by this value"},
    {2, 0, 0, 1, 0, "Direction 2 ", "direction2", 5, &directionFields, 0, 0, 0,
     "direction function, controls\n brush motion direction"},
    {3, -50, 150, 0, 2, "Vector Mix ", "vmix", 0, {}, 0, 0, 70,
     "Mix of direction vectors 1&2"},
    {3, -200, 200, 0, 2, "Curl ", "curl", 1, {}, -100, 100, 85,
     "The amount that the stroke\n curls during application"},
    {3, -500, 500, 100, 2, "Vector Multiplier ", "vectormult", 0, {}, 90, 125, 95,
     "The distance the stroke moves\n between each brush application, relative\nto the brush size"},
    {3, -20, 120, 0, 2, "Inertia ", "inertia", 0, {}, 0, 0, 70,
     "Inertia on the vector change through the stroke"},
    kWideBrushVectorRow,
    kFeedbackRow,
    kNoPaintStopRow,
    kTableEnd,
};

const Row kAnglePairRows[] = {
    kLengthRow,
    {2, 0, 0, 1, 0, "Direction 1", "direction1", 5, &scalarFields, 0, 0, 0,
     "direction 1 function, controls\n brush motion direction"},
    {3, -1200, 1200, 100, 2, "Angle 1 Multiplier ", "amult1", 0, {}, 0, 0, 0,
     "The direction result for the first angle component \n is multiplied by this value"},
    {2, 0, 0, 0, 0, "Angle 1 Transform", "dir1.transform", 5, &responseCurves, 0, 0, 0,
     "direction 1 transform function, makes\n interesting changes to the stroke direction"},
    {2, -180, 180, 0, 0, "Stroke Angle 1", "angle1", 1, {}, 0, 0, 0,
     "The angle that the stroke takes\n (added to the Direction 1 function result)"},
    {2, 0, 0, 1, 0, "Direction 2", "direction2", 5, &scalarFields, 0, 0, 0,
     "direction function, controls\n brush motion direction"},
    {3, -1200, 1200, 100, 2, "Angle Multiplier ", "amult2", 0, {}, 0, 0, 0,
     "The direction result\n is multiplied by this value"},
    {2, 0, 0, 0, 0, "Angle Transform ", "dir2.transform", 5, &responseCurves, 0, 0, 0,
     "final angle transform function, makes\n interesting changes to the stroke direction"},
    {2, -180, 180, 0, 0, "Stroke Angle ", "angle2", 1, {}, 0, 0, 0,
     "The angle that the stroke takes\n (added to the final Direction angle function result)"},
    {3, -100, 200, 100, 2, "Angle Mix ", "amix", 0, {}, 0, 0, 0,
     "Mix function \n for direction/angle 1 & 2"},
    kDistanceMultiplierRow,
    kDistanceGrowthRow,
    kBrushVectorRow,
    kInertiaRow,
    kFeedbackRow,
    kNoPaintStopRow,
    {1, 0, 1, 0, 0, "Premult/add 1", "preadd1", 0, {}, 0, 0, 0,
     "apply direction 1 add/multipy\nbefore applying transform function"},
    kTableEnd,
};

const Row kRandomRows[] = {
    kAmountRow,
    kTableEnd,
};

const Row kGridRows[] = {
    kAmountRow,
    {2, 1, 7, 5, 0, "Passes ", "passes", 0, {}, 0, 0, 0,
     "Number of application passes over image"},
    {2, -50, 50, 0, 2, "Row Offset ", "offset", 0, {}, 0, 0, 0,
     "Horizontal placement of stroke application on odd lines\n relative to even lines"},
    {2, 0, 350, 0, 2, "Randomness ", "random", 0, {}, 0, 0, 0,
     "Position randomness\n"},
    {1, 0, 1, 1, 0, "Advance position", "advance", 0, {}, 1, 1, 90,
     "advance forward on each pass\n"},
    kTableEnd,
};

template <class C, size_t N>
void expectTable(const Row (&expected)[N])
{
    const C component;
    const ParamDescriptor* table = component.table;
    ASSERT_NE(nullptr, table) << component.id;
    for (size_t i = 0; i < N; ++i) {
        const ParamDescriptor& row = table[i];
        const Row& want = expected[i];
        SCOPED_TRACE(::testing::Message() << component.id << " row " << i << " (" << want.id << ")");
        EXPECT_EQ(want.flags, row.flags);
        EXPECT_EQ(want.min, row.min);
        EXPECT_EQ(want.max, row.max);
        EXPECT_EQ(want.defaultValue, row.defaultValue);
        EXPECT_EQ(want.decimals, row.decimals);
        ASSERT_NE(nullptr, row.label);
        EXPECT_STREQ(want.label, row.label);
        ASSERT_NE(nullptr, row.id);
        EXPECT_STREQ(want.id, row.id);
        EXPECT_EQ(want.kind, row.kind);
        EXPECT_TRUE(want.list == row.list);
        EXPECT_EQ(want.randomLow, row.randomLow);
        EXPECT_EQ(want.randomHigh, row.randomHigh);
        EXPECT_EQ(want.randomChance, row.randomChance);
        ASSERT_NE(nullptr, row.description);
        EXPECT_STREQ(want.description, row.description);
        // Only the last expected row ends the table.
        EXPECT_EQ(i + 1 == N, want.flags == 0);
    }
}

} // namespace

TEST(DescriptorTables, BrushRowsAsStored)
{
    expectTable<SwapPointBrush>(kSwapPointRows);
    expectTable<SwapRgbBrush>(kSwapRgbRows);
    expectTable<SwapHsvBrush>(kSwapHsvRows);
    expectTable<SwapBlendBrush>(kSwapBlendRows);
    expectTable<ImageCopyBrush>(kImageCopyRows);
    expectTable<ColorPointBrush>(kColorPointRows);
}

TEST(DescriptorTables, StrokeRowsAsStored)
{
    expectTable<ParamAngleStroke>(kParamAngleRows);
    expectTable<ParamAngle2dStroke>(kParamAngle2dRows);
    expectTable<Vector2Stroke>(kVector2Rows);
    expectTable<AnglePairStroke>(kAnglePairRows);
}

TEST(DescriptorTables, ApplicationRowsAsStored)
{
    expectTable<RandomApplication>(kRandomRows);
    expectTable<GridApplication>(kGridRows);
}
