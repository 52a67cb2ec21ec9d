// Parameter descriptions of the described commands and the values the
// windowless runners take from them.
#include <gtest/gtest.h>

#include "foundation/PropertyBag.h"
#include "image/OwnedBitmap.h"
#include "shell/operations/ParameterRunner.h"
#include "shell/operations/ParameterSchema.h"

namespace {

class NoPreview : public ParameterPreview
{
public:
    bool preview(RenderCallbacks&) override { return true; }
};

TEST(ParameterSchema, DescribedCommandsWriteTitleCountAndSixKeysPerParameter)
{
    OwnedBitmap image(40, 30, 4);
    DescribedDefaultsRunner runner;
    const struct
    {
        int command;
        int count;
        const char* title;
    } described[] = {{519, 1, "Gaussian Blur"},        {522, 1, "Box Blur"},
                     {523, 2, "Unsharp Mask"},          {470, 3, "Adjust Image Brightness"},
                     {526, 3, "Adjust Hue/Saturation"}, {527, 5, "Adjust Image Levels"},
                     {476, 3, "Colorize/Sepia"},        {462, 5, "Crop Image"}};
    for (const auto& d : described) {
        PropertyBag bag;
        ASSERT_TRUE(BuildParameterSchema(d.command, bag, image, runner)) << d.command;
        EXPECT_EQ(bag.entries().size(), size_t(2 + 6 * d.count)) << d.command;
        EXPECT_EQ(bag.getInt("count", 0), d.count);
        EXPECT_EQ(bag.getString("title", ""), d.title);
    }

    // The default is a slider position under the parameter's own key.
    PropertyBag gauss;
    BuildParameterSchema(519, gauss, image, runner);
    EXPECT_EQ(gauss.getInt("radius", 0), 40);
    EXPECT_EQ(gauss.getString("name_0", ""), "radius");
}

TEST(ParameterSchema, UndescribedCommandsAndDeclinedResampleLeaveTheBagEmpty)
{
    OwnedBitmap image(40, 30, 4);
    DescribedDefaultsRunner runner;
    for (int command : {440, 441, 444, 445, 456, 474, 520, 0, 460}) {
        PropertyBag bag;
        EXPECT_FALSE(BuildParameterSchema(command, bag, image, runner)) << command;
        EXPECT_TRUE(bag.entries().empty()) << command;
    }

    PropertyBag wanted;
    wanted.setInt("width", 20);
    wanted.setInt("height", 15);
    wanted.setFloat("smooth", 0.5f);
    FixedValuesRunner confirming(wanted);
    PropertyBag bag;
    ASSERT_TRUE(BuildParameterSchema(460, bag, image, confirming));
    EXPECT_EQ(bag.entries().size(), 3u);
    EXPECT_EQ(bag.getInt("width", 0), 20);
    EXPECT_EQ(bag.getInt("height", 0), 15);
    EXPECT_FLOAT_EQ(bag.getFloat("smooth", 0), 0.5f);
    EXPECT_FALSE(bag.contains("title"));
}

TEST(ParameterSchema, DefaultsRunnerTurnsPositionsIntoValues)
{
    OwnedBitmap image(4, 4, 4);
    DescribedDefaultsRunner runner;
    NoPreview preview;

    PropertyBag gauss, values;
    BuildParameterSchema(519, gauss, image, runner);
    ASSERT_TRUE(runner.chooseValues(gauss, values, preview));
    EXPECT_FLOAT_EQ(values.getFloat("radius", 0), 2.0f);

    // Zero divisions: the position itself, an integer.
    PropertyBag box, boxValues;
    BuildParameterSchema(522, box, image, runner);
    runner.chooseValues(box, boxValues, preview);
    EXPECT_EQ(boxValues.getString("radius", ""), "2");

    // A moved slider: position 41 of 20 divisions is 2.05.
    PropertyBag moved;
    storeParameterValue(gauss, 0, 41, moved);
    EXPECT_FLOAT_EQ(moved.getFloat("radius", 0), 2.05f);

    // Nothing described: nothing to confirm.
    PropertyBag empty, none;
    EXPECT_FALSE(runner.chooseValues(empty, none, preview));
}

} // namespace
