#include "shell/operations/Operation.h"

#include "engine/RenderCallbacks.h"
#include "foundation/Timestamp.h"

Operation::Operation(ActionHistory& history, const char* key, const char* menuName,
                     const char* description)
    : history_(history), key_(key), menuName_(menuName), description_(description)
{
    identifier_ = key_ + "_" + String(Timestamp::now().toString(Timestamp::kAll));
}

Operation::~Operation()
{
}

void reportFailed(RenderCallbacks& sink)
{
    sink.reserved();
}

void reportFinished(RenderCallbacks& sink)
{
    sink.finished();
}
