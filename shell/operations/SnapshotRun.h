#pragma once

#include "foundation/String.h"

class ActionHistory;
class ImageFilter;
class RenderCallbacks;

// Filters the history's current image into a new snapshot that becomes
// current. True: `old` names the image that was current, `made` the new one.
// False: the snapshot is gone, the old image is current again and both names
// are empty; a refused allocation is recorded in the store (never thrown
// once the snapshot exists).
bool runIntoSnapshot(ActionHistory& history, ImageFilter& filter, RenderCallbacks& sink,
                     String& old, String& made);
