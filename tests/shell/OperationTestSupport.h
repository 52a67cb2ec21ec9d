#pragma once

#include <vector>

#include "engine/DefaultRenderCallbacks.h"
#include "shell/host/FloatingPointState.h"

namespace shelltest {

// A sink that counts its hooks, records progress and can stop a run at a
// given report (1-based; 0 never).
class SinkLog : public DefaultRenderCallbacks
{
public:
    explicit SinkLog(int stopAt = 0) : DefaultRenderCallbacks(&flag_), stopAt_(stopAt) {}
    bool progress(float fraction) override
    {
        fractions.push_back(fraction);
        statesSeen.push_back(FloatingPointState::current());
        return stopAt_ <= 0 || int(fractions.size()) < stopAt_;
    }
    void finished() override { ++finishedCount; }
    void reserved() override { ++failedCount; }

    std::vector<float> fractions;
    std::vector<FloatingPointState> statesSeen;
    int finishedCount = 0;
    int failedCount = 0;

private:
    bool flag_ = false;
    int stopAt_;
};

} // namespace shelltest
