#pragma once

#include <functional>

#include <windows.h>

#include "shell/operations/ParameterRunner.h"

// The GUI's parameter runner: described operations get the parameter dialog
// with its live preview, Resample gets the resample dialog. Install it on a
// document's history (ActionHistory::setParameterRunner).
class DialogParameterRunner : public ParameterRunner
{
public:
    explicit DialogParameterRunner(HWND parent = nullptr) : parent(parent) {}

    bool chooseValues(const PropertyReader& description, PropertyBag& values,
                      ParameterPreview& preview) override;
    // A cancelled dialog gives false and leaves the outputs as they were.
    bool chooseResample(int width, int height, int& newWidth, int& newHeight,
                        float& smooth) override;

    // The owner of the dialogs.
    HWND parent;
    // Called after each completed preview, with the preview's destination
    // filled (the document shows it).
    std::function<void()> previewShown;
};
