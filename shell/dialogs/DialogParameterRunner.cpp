#include "shell/dialogs/DialogParameterRunner.h"

#include "shell/dialogs/ParameterDialog.h"
#include "shell/dialogs/SizeDialogs.h"

bool DialogParameterRunner::chooseValues(const PropertyReader& description, PropertyBag& values,
                                         ParameterPreview& preview)
{
    CParameterDialog dialog(description, values, &preview, parent);
    dialog.previewShown = previewShown;
    return dialog.doModal() == IDOK;
}

bool DialogParameterRunner::chooseResample(int width, int height, int& newWidth, int& newHeight,
                                           float& smooth)
{
    CResampleDialog dialog(width, height, parent);
    if (dialog.doModal() != IDOK)
        return false;
    newWidth = dialog.newWidth;
    newHeight = dialog.newHeight;
    smooth = dialog.smoothing;
    return true;
}
