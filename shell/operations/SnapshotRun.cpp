#include "shell/operations/SnapshotRun.h"

#include <new>

#include "shell/filters/ImageFilter.h"
#include "shell/history/ActionHistory.h"
#include "shell/history/ImageStore.h"

bool runIntoSnapshot(ActionHistory& history, ImageFilter& filter, RenderCallbacks& sink,
                     String& old, String& made)
{
    ImageStore& store = history.store();
    old = history.currentName();
    DocumentDib* source = store.find(old);
    if (!source)
        return false;
    made = history.newSnapshot();
    if (made.empty())
        return false;
    DocumentDib* destination = store.find(made);
    bool ok = false;
    try {
        ok = destination && filter.prepareDestination(*source, *destination) &&
             filter.apply(*source, *destination, sink);
    } catch (const std::bad_alloc&) {
        store.noteAllocationFailure();
    } catch (...) {
    }
    if (ok)
        return true;
    store.erase(made);
    history.setCurrentName(std::move(old));
    old.clear();
    made.clear();
    return false;
}
