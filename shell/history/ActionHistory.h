#pragma once

#include <deque>
#include <functional>
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
// steps). Nothing here throws: failures are false results, and memory
// trouble is also told by lastError.
class ActionHistory
{
public:
    static constexpr size_t kUndoCap = 13;

    // Creates the first current image, 1 x 1 of format 6.
    explicit ActionHistory(ImageStore& store);
    ~ActionHistory();
    ActionHistory(const ActionHistory&) = delete;
    ActionHistory& operator=(const ActionHistory&) = delete;

    // Runs the operation of the key on the current image. When its new
    // image cannot be allocated, the redo steps and then the oldest undo
    // steps are dropped one at a time and the run is tried again; when
    // nothing is left to drop the result is false and lastError is
    // "Not enough memory".
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
    String reset(const String& newCurrentName);

    size_t undoCount() const { return undo_.size(); }
    size_t redoCount() const { return redo_.size(); }
    const String& currentName() const { return current_; }
    // The current image, or null when the store lost it.
    DocumentDib* currentImage() const;
    // "Not enough memory" after a run, undo, redo or load that failed for
    // want of memory (worth telling the user); empty otherwise, a cancelled
    // or refused operation included.
    const String& lastError() const { return lastError_; }

    // For the operations.
    ImageStore& store() { return store_; }
    // A new 1 x 1 image of format 6 made current under a fresh name; the
    // empty name (nothing changed) when it cannot be allocated.
    String newSnapshot();
    String setCurrentName(const String& name);

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
    typedef std::function<bool(RenderCallbacks&)> Attempt;

    void registerOperation(Operation* op);
    void removeOperation(Operation* op);
    void clearStack(std::deque<Operation*>& stack);
    void pushOrRelease(std::deque<Operation*>& stack, Operation* op);
    // Runs the attempt; while it fails for want of memory and something can
    // be dropped (the redo steps when dropRedo, then the oldest undo steps),
    // drops one step and tries again.
    bool withMemoryRetry(const Attempt& attempt, RenderCallbacks& sink, bool dropRedo);
    bool dropOneStep(bool dropRedo);
    void finish(bool ok, RenderCallbacks& sink);

    std::deque<Operation*> undo_;
    std::deque<Operation*> redo_;
    ImageStore& store_;
    String current_;
    std::map<String, std::unique_ptr<Operation>> registry_;
    ParameterRunner* runner_;
    PluginRegistry* plugins_;
    String lastError_;
};
