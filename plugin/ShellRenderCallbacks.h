#pragma once

#include "engine/RenderCallbacks.h"

struct PluginRequest;

// Render callbacks of a shell plug-in run: progress and abort go to the
// caller's procedures in the request, the end-of-render hook to its notify.
class ShellRenderCallbacks : public RenderCallbacks
{
public:
    explicit ShellRenderCallbacks(const PluginRequest& request) : request_(request) {}

    void requestPreview() override { finished(); }
    bool progress(float fraction) override;
    bool isCancelled() override;
    void finished() override;
    void reserved() override {}
    void cancel() override {}
    void reset() override {}
    Logger* logger() override;

private:
    const PluginRequest& request_;
};
