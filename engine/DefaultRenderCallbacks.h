#pragma once

#include "engine/RenderCallbacks.h"

// RenderCallbacks over a cancel flag owned by the caller (usually a member of
// the same enclosing object). The flag is lowered at construction.
class DefaultRenderCallbacks : public RenderCallbacks
{
public:
    explicit DefaultRenderCallbacks(bool* flag);
    ~DefaultRenderCallbacks() override;

    void requestPreview() override;
    bool progress(float fraction) override;
    bool isCancelled() override;
    void finished() override;
    void reserved() override;
    void cancel() override;
    void reset() override;
    Logger* logger() override;

    DefaultRenderCallbacks(const DefaultRenderCallbacks&) = delete;
    DefaultRenderCallbacks& operator=(const DefaultRenderCallbacks&) = delete;

protected:
    bool* cancelFlag; // not owned
};
