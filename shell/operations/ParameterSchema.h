#pragma once

#include "foundation/String.h"

class Image;
class ParameterRunner;
class PropertyBag;
class PropertyReader;
class PropertyWriter;

// Menu commands of the described operations.
enum SchemaCommand {
    kCommandResample = 460,
    kCommandCrop = 462,
    kCommandBrightnessContrast = 470,
    kCommandSepia = 476,
    kCommandGaussianBlur = 519,
    kCommandBoxBlur = 522,
    kCommandUnsharpMask = 523,
    kCommandHueSaturation = 526,
    kCommandLevels = 527,
};

const int kMaxSchemaParameters = 5;

// Writes the six keys of parameter `index`: "minval_", "maxval_",
// "description_", "name_", the default position under the parameter's own
// key, and "divsperunit_".
void AddParameterDescriptor(PropertyWriter& writer, int index, int minPosition, int maxPosition,
                            int defaultPosition, int divisionsPerUnit, const char* name,
                            const char* label);

// Describes the parameters of a menu command ("count", "title" and each
// parameter) and returns true. For Resample the runner asks for the new size
// and, when confirmed, "height", "width" and "smooth" are written instead.
// Any other command writes nothing and gives false.
bool BuildParameterSchema(int commandId, PropertyWriter& params, const Image& currentImage,
                          ParameterRunner& runner);

// The value of parameter `index` at slider position p, stored in values under
// the parameter's key: the float p / d with d = "divsperunit_" above 0, else
// the integer p.
void storeParameterValue(const PropertyReader& description, int index, int position,
                         PropertyBag& values);
