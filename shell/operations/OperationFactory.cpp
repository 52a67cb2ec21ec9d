#include "shell/operations/OperationFactory.h"

#include <cstring>
#include <memory>
#include <utility>

#include "foundation/PropertyBag.h"
#include "shell/colour/ColourFunctions.h"
#include "shell/filters/BoxBlurFilter.h"
#include "shell/filters/GaussianBlurFilter.h"
#include "shell/filters/UnsharpMaskFilter.h"
#include "shell/history/ActionHistory.h"
#include "shell/host/PluginModule.h"
#include "shell/host/PluginRegistry.h"
#include "shell/operations/ImageEdits.h"
#include "shell/operations/InPlaceOperation.h"
#include "shell/operations/OperationAction.h"
#include "shell/operations/ParameterFilter.h"
#include "shell/operations/QuarterTurnFilter.h"
#include "shell/operations/RotationOperation.h"
#include "shell/transforms/InPlaceFilterAdapter.h"
#include "shell/transforms/PixelFunctionFilter.h"
#include "shell/transforms/PixelTransforms.h"
#include "shell/transforms/ResampleFilter.h"
#include "shell/transforms/RotateCropFilter.h"

namespace {

struct DialogKey
{
    const char* key;
    const char* menuName;
    const char* description;
};

// In menu order; each builds its real filter from the chosen values.
const DialogKey kDialogKeys[] = {
    {"blur_gauss", "Gaussian Blur", "gaussian blur image"},
    {"blur_box", "Box Blur", "box blur image"},
    {"sharpen_unsharpmask", "Unsharp Mask", "unsharp mask image"},
    {"color_brightcontrast", "Brightness/Contrast", "adjust image brightness/contrast"},
    {"color_huesaturation", "Hue/Saturation", "adjust image hue/saturation"},
    {"color_levels", "Level Adjust", "adjust levels"},
    {"color_sepia", "Sepia", "colorize/sepia tone"},
    {"crop", "Crop", "crop image"},
};
static_assert(sizeof kDialogKeys / sizeof kDialogKeys[0] == 8, "eight dialog-driven keys");

FilterBuilder builderFor(const String& key)
{
    if (key == "blur_gauss")
        return [](const PropertyReader& v) -> std::unique_ptr<ImageFilter> {
            return std::unique_ptr<ImageFilter>(new GaussianBlurFilter(v));
        };
    if (key == "blur_box")
        return [](const PropertyReader& v) -> std::unique_ptr<ImageFilter> {
            return std::unique_ptr<ImageFilter>(new BoxBlurFilter(v));
        };
    if (key == "sharpen_unsharpmask")
        return [](const PropertyReader& v) -> std::unique_ptr<ImageFilter> {
            return std::unique_ptr<ImageFilter>(new UnsharpMaskFilter(v));
        };
    if (key == "crop")
        return [](const PropertyReader& v) -> std::unique_ptr<ImageFilter> {
            return std::unique_ptr<ImageFilter>(new RotateCropFilter(v));
        };
    return [key](const PropertyReader& v) -> std::unique_ptr<ImageFilter> {
        std::unique_ptr<PixelFunction> function = makeColourFunction(key, v);
        if (!function)
            return nullptr;
        return std::unique_ptr<ImageFilter>(new PixelFunctionFilter(std::move(function)));
    };
}

// Paste reads into a destination of the source's size, never copied first.
class ClipboardPasteFilter : public InPlaceFilterAdapter
{
public:
    ClipboardPasteFilter() : InPlaceFilterAdapter(edit_, false) {}

private:
    ClipboardPasteEdit edit_;
};

// "\260" is the degree sign in the ANSI code page.
const char kRotateCwName[] = "Rotate 90\260 CW";
const char kRotateCcwName[] = "Rotate 90\260 CCW";
const char kRotate180Name[] = "Rotate 180\260";

// Each part is owned from its allocation on: an operation that cannot be
// built leaves nothing behind.
template <class Part, class... Args>
std::unique_ptr<Part> part(Args&&... args)
{
    return std::unique_ptr<Part>(new Part(std::forward<Args>(args)...));
}

} // namespace

Operation* createOperationFor(ActionHistory& history, const String& key, const PropertyBag& params)
{
    if (key == "vertflip")
        return new InPlaceOperation(history, "vertflip", "Vertical Flip",
                                    "flip image about horizontal axis",
                                    part<TransformEdit>(&flipVertical));
    if (key == "horzflip")
        return new InPlaceOperation(history, "horzflip", "Horizontal Flip",
                                    "mirror image about vertical axis",
                                    part<TransformEdit>(&mirrorHorizontal));
    if (key == "invertrgb")
        return new InPlaceOperation(history, "invertrgb", "Invert", "invert RGB values",
                                    part<InvertEdit>());
    if (key == "rotate90cw")
        return new RotationOperation(history, "rotate90cw", kRotateCwName,
                                     "rotate image 90 degrees clockwise",
                                     part<QuarterTurnFilter>(true), part<QuarterTurnFilter>(false));
    if (key == "rotate90ccw")
        return new RotationOperation(history, "rotate90ccw", kRotateCcwName,
                                     "rotate image 90 degrees counter-clockwise",
                                     part<QuarterTurnFilter>(false), part<QuarterTurnFilter>(true));
    if (key == "rotate180")
        return new InPlaceOperation(history, "rotate180", kRotate180Name,
                                    "rotate image 180 degrees", part<TransformEdit>(&rotate180));
    if (key == "resample")
        return new OperationAction(history, "resample", "Resample", "resize image",
                                   part<ResampleFilter>(params));
    return createDialogOperation(history, key, params);
}

Operation* createDialogOperation(ActionHistory& history, const String& key,
                                 const PropertyBag& params)
{
    for (const DialogKey& row : kDialogKeys) {
        if (key != row.key)
            continue;
        return new OperationAction(
            history, row.key, row.menuName, row.description,
            part<ParameterFilter>(params, builderFor(key), history.parameterRunner()));
    }
    if (key == "clipboardpaste")
        return new OperationAction(history, "clipboardpaste", "Paste",
                                   "paste image from clipboard", part<ClipboardPasteFilter>());
    if (PluginModule* module = history.pluginRegistry().find(key))
        return new OperationAction(history, key.c_str(), "plugin", "unknown plugin", *module);
    return nullptr;
}
