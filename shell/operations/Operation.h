#pragma once

#include "foundation/String.h"

class ActionHistory;
class Image;
class RenderCallbacks;

// One undoable change of a document's image, made by a short key and kept by
// the ActionHistory. The sink reports through its finished hook (slot 3) and
// its failed hook (slot 4). The virtual operations keep this order.
class Operation
{
public:
    Operation(ActionHistory& history, const char* key, const char* menuName,
              const char* description);
    virtual ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    virtual bool canUndo() const = 0;
    virtual bool undo(RenderCallbacks& sink) = 0;
    virtual bool canRedo() const = 0;
    virtual bool redo(RenderCallbacks& sink) = 0;
    virtual bool execute(RenderCallbacks& sink) = 0;
    virtual bool accepts(const Image& image) = 0;

    const String& key() const { return key_; }
    const String& menuName() const { return menuName_; }
    const String& description() const { return description_; }
    // The key, "_" and the local time of creation; the history registers the
    // operation under it.
    const String& identifier() const { return identifier_; }
    void setIdentifier(const String& identifier) { identifier_ = identifier; }

protected:
    ActionHistory& history_;

private:
    String key_;
    String menuName_;
    String description_;
    String identifier_;
};

// The shell's sinks treat the engine's spare hook (slot 4) as "failed".
void reportFailed(RenderCallbacks& sink);
void reportFinished(RenderCallbacks& sink);
