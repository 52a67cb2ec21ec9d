#pragma once

#include <deque>
#include <map>
#include <memory>

#include "foundation/String.h"

class ImageStore;
class Operation;
class DocumentDib;
class ParameterRunner;
class PluginRegistry;
class PropertyBag;
class RenderCallbacks;

// A document's edit engine: which image of the store is current, the named
// operations run against it, and the undo and redo stacks (at most 13 undo
// steps). Once built, nothing here throws: failures are false results, and
// memory trouble is also told by lastError. A run, undo, redo or load that
// fails leaves both stacks and the current image as they were.
class ActionHistory
{
public:
    static constexpr size_t kUndoCap = 13;

    // Creates the first current image, 1 x 1 of format 6.
    explicit ActionHistory(ImageStore& store);
    ~ActionHistory();
    ActionHistory(const ActionHistory&) = delete;
    ActionHistory& operator=(const ActionHistory&) = delete;

    // Runs the operation of the key on the current image.
    bool run(const String& key, const PropertyBag& params, RenderCallbacks& sink);
    bool undo(RenderCallbacks& sink);
    bool redo(RenderCallbacks& sink);

    // Menu names of the actions undo and redo would act on ("" for none).
    String undoName() const;
    String redoName() const;

    // Loads a file into a new current image and drops all history; false
    // leaves everything as it was.
    bool load(const String& path);
    // Saves the current image by the path's type.
    bool save(const String& path);

    // Drops both stacks and makes the name current; returns the old name.
    String reset(String newCurrentName);

    size_t undoCount() const { return undo_.size(); }
    size_t redoCount() const { return redo_.size(); }
    const String& currentName() const { return current_; }
    // The current image, or null when the store lost it.
    DocumentDib* currentImage() const;
    // "Not enough memory" after a run, undo, redo or load that failed for
    // want of memory (worth telling the user); empty otherwise, a cancelled
    // or refused operation included.
    const String& lastError() const { return *lastError_; }

    // For the operations.
    ImageStore& store() { return store_; }
    // A new 1 x 1 image of format 6 made current under a fresh name; the
    // empty name (nothing changed, the failure recorded in the store) when
    // it cannot be allocated.
    String newSnapshot();
    // Moving a name in cannot fail.
    String setCurrentName(String name);

    // The factory: an operation for the key, registered with `registerIt`;
    // null for an unknown key.
    Operation* createOperation(const String& key, const PropertyBag& params, bool registerIt);

    // Where dialog-driven operations get their values (the GUI installs its
    // parameter dialog; by default the described defaults are used).
    void setParameterRunner(ParameterRunner* runner);
    ParameterRunner& parameterRunner() const;
    // The plug-ins whose identifiers are operation keys (the process-wide
    // registry unless set).
    void setPluginRegistry(PluginRegistry* registry) { plugins_ = registry; }
    PluginRegistry& pluginRegistry() const;

    // Live operations, on the stacks or not (for tests of their release).
    size_t registeredCount() const { return registry_.size(); }

private:
    void registerOperation(Operation* op);
    void removeOperation(Operation* op);
    void clearStack(std::deque<Operation*>& stack);
    // One step of the operation; a failure for want of memory is noted.
    bool attempt(Operation* op, bool (Operation::*step)(RenderCallbacks&), RenderCallbacks& sink);
    // Undo or redo: the back of `from` runs its step and moves to `to`.
    bool move(std::deque<Operation*>& from, std::deque<Operation*>& to,
              bool (Operation::*step)(RenderCallbacks&), RenderCallbacks& sink);
    void noteMemoryFailure();

    std::deque<Operation*> undo_;
    std::deque<Operation*> redo_;
    ImageStore& store_;
    String current_;
    std::map<String, std::unique_ptr<Operation>> registry_;
    ParameterRunner* runner_;
    PluginRegistry* plugins_;
    // Points at a fixed text, so that telling a failure allocates nothing.
    const String* lastError_;
};
