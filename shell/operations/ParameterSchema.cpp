#include "shell/operations/ParameterSchema.h"

#include "foundation/PropertyBag.h"
#include "image/Image.h"
#include "shell/operations/ParameterRunner.h"

namespace {

struct SchemaParameter
{
    const char* key;
    const char* label;
    int minPosition;
    int maxPosition;
    int defaultPosition;
    int divisionsPerUnit;
};

struct Schema
{
    int command;
    const char* title;
    int count;
    SchemaParameter parameters[kMaxSchemaParameters];
};

const Schema kSchemas[] = {
    {kCommandGaussianBlur, "Gaussian Blur", 1, {{"radius", "Radius", 20, 600, 40, 20}}},
    {kCommandBoxBlur, "Box Blur", 1, {{"radius", "Radius", 1, 8, 2, 0}}},
    {kCommandUnsharpMask, "Unsharp Mask", 2,
     {{"amount", "Amount", 0, 200, 50, 100}, {"radius", "Radius", 20, 600, 40, 20}}},
    {kCommandBrightnessContrast, "Adjust Image Brightness", 3,
     {{"brightness", "Brightness", -100, 100, 0, 100},
      {"contrast", "Contrast", -100, 100, 0, 100},
      {"contrast_center", "Contrast Center", -300, 300, 0, 100}}},
    {kCommandHueSaturation, "Adjust Hue/Saturation", 3,
     {{"hue_rotate", "Hue", -50, 50, 0, 100},
      {"saturation", "Saturation", -100, 100, 0, 100},
      {"lightness", "Lightness", -100, 100, 0, 100}}},
    {kCommandLevels, "Adjust Image Levels", 5,
     {{"input_black", "In Black", 0, 255, 0, 0},
      {"input_white", "In White", 0, 255, 255, 0},
      {"input_gamma", "In Gamma", 0, 500, 100, 100},
      {"output_black", "Out Black", 0, 255, 0, 0},
      {"output_white", "Out White", 0, 255, 255, 0}}},
    {kCommandSepia, "Colorize/Sepia", 3,
     {{"amount", "Amount", -100, 200, 70, 100},
      {"hue_rotate", "Hue", -50, 50, 0, 100},
      {"brightness", "Brightness", -50, 50, 0, 100}}},
    {kCommandCrop, "Crop Image", 5,
     {{"width", "Width", 0, 1000, 1000, 1000},
      {"height", "Height", 0, 1000, 1000, 1000},
      {"xcenter", "X Center", 0, 1000, 500, 1000},
      {"ycenter", "Y Center", 0, 1000, 500, 1000},
      {"rotate", "Rotation", -1800, 1800, 0, 10}}},
};
static_assert(sizeof kSchemas / sizeof kSchemas[0] == 8, "eight described commands");

} // namespace

void AddParameterDescriptor(PropertyWriter& writer, int index, int minPosition, int maxPosition,
                            int defaultPosition, int divisionsPerUnit, const char* name,
                            const char* label)
{
    writer.setInt(String::fromFormat("minval_%d", index), minPosition);
    writer.setInt(String::fromFormat("maxval_%d", index), maxPosition);
    writer.setString(String::fromFormat("description_%d", index), label);
    writer.setString(String::fromFormat("name_%d", index), name);
    writer.setInt(name, defaultPosition);
    writer.setInt(String::fromFormat("divsperunit_%d", index), divisionsPerUnit);
}

bool BuildParameterSchema(int commandId, PropertyWriter& params, const Image& currentImage,
                          ParameterRunner& runner)
{
    if (commandId == kCommandResample) {
        int width = currentImage.width(), height = currentImage.height();
        float smooth = 1.0f;
        if (!runner.chooseResample(currentImage.width(), currentImage.height(), width, height,
                                   smooth))
            return false;
        params.setInt("height", height);
        params.setInt("width", width);
        params.setFloat("smooth", smooth);
        return true;
    }
    for (const Schema& schema : kSchemas) {
        if (schema.command != commandId)
            continue;
        params.setInt("count", schema.count);
        params.setString("title", schema.title);
        for (int i = 0; i < schema.count; ++i) {
            const SchemaParameter& p = schema.parameters[i];
            AddParameterDescriptor(params, i, p.minPosition, p.maxPosition, p.defaultPosition,
                                   p.divisionsPerUnit, p.key, p.label);
        }
        return true;
    }
    return false;
}

void storeParameterValue(const PropertyReader& description, int index, int position,
                         PropertyBag& values)
{
    const int divisions = description.getInt(String::fromFormat("divsperunit_%d", index), 0);
    const String key = description.getString(String::fromFormat("name_%d", index), String());
    if (divisions > 0)
        values.setFloat(key, float((1.0 / divisions) * position));
    else
        values.setInt(key, position);
}
