#include "shell/history/ActionHistory.h"

#include <new>

#include "engine/RenderCallbacks.h"
#include "image/PixelFormat.h"
#include "shell/files/ShellImageFiles.h"
#include "shell/history/ImageStore.h"
#include "shell/host/PluginRegistry.h"
#include "shell/operations/Operation.h"
#include "shell/operations/OperationFactory.h"
#include "shell/operations/ParameterRunner.h"

namespace {

const String kNoError;
const String kNotEnoughMemory("Not enough memory");

} // namespace

ActionHistory::ActionHistory(ImageStore& store)
    : store_(store), runner_(nullptr), plugins_(nullptr), lastError_(&kNoError)
{
    if (std::unique_ptr<DocumentDib> first = store_.create(1, 1, kFormatBgra))
        current_ = store_.add(std::move(first));
}

ActionHistory::~ActionHistory()
{
    clearStack(undo_);
    clearStack(redo_);
    registry_.clear();
}

DocumentDib* ActionHistory::currentImage() const
{
    return store_.find(current_);
}

String ActionHistory::newSnapshot()
{
    try {
        std::unique_ptr<DocumentDib> image = store_.create(1, 1, kFormatBgra);
        if (!image || image->isEmpty()) {
            store_.noteAllocationFailure();
            return String();
        }
        String name = store_.add(std::move(image));
        try {
            String made(name);
            setCurrentName(std::move(name));
            return made;
        } catch (...) {
            store_.erase(name);
            throw;
        }
    } catch (const std::bad_alloc&) {
        store_.noteAllocationFailure();
    } catch (...) {
    }
    return String();
}

String ActionHistory::setCurrentName(String name)
{
    String previous(std::move(current_));
    current_ = std::move(name);
    return previous;
}

void ActionHistory::setParameterRunner(ParameterRunner* runner)
{
    runner_ = runner;
}

ParameterRunner& ActionHistory::parameterRunner() const
{
    return runner_ ? *runner_ : defaultParameterRunner();
}

PluginRegistry& ActionHistory::pluginRegistry() const
{
    return plugins_ ? *plugins_ : PluginRegistry::instance();
}

Operation* ActionHistory::createOperation(const String& key, const PropertyBag& params,
                                          bool registerIt)
{
    Operation* op = createOperationFor(*this, key, params);
    if (op && registerIt)
        registerOperation(op);
    return op;
}

void ActionHistory::registerOperation(Operation* op)
{
    std::unique_ptr<Operation> owned(op);
    // Two operations made within one clock tick would share a time text.
    String id = op->identifier();
    for (int n = 2; registry_.count(id); ++n)
        id = op->identifier() + String::fromFormat("_%d", n);
    op->setIdentifier(id);
    registry_[id] = std::move(owned);
}

void ActionHistory::removeOperation(Operation* op)
{
    if (op)
        registry_.erase(op->identifier());
}

void ActionHistory::clearStack(std::deque<Operation*>& stack)
{
    while (!stack.empty()) {
        Operation* op = stack.back();
        stack.pop_back();
        removeOperation(op);
    }
}

void ActionHistory::noteMemoryFailure()
{
    lastError_ = &kNotEnoughMemory;
}

bool ActionHistory::attempt(Operation* op, bool (Operation::*step)(RenderCallbacks&),
                            RenderCallbacks& sink)
{
    store_.clearAllocationFailure();
    bool ok = false;
    try {
        ok = (op->*step)(sink);
    } catch (const std::bad_alloc&) {
        store_.noteAllocationFailure();
    } catch (...) {
    }
    if (!ok && store_.allocationFailed())
        noteMemoryFailure();
    return ok;
}

bool ActionHistory::run(const String& key, const PropertyBag& params, RenderCallbacks& sink)
{
    lastError_ = &kNoError;
    Operation* op = nullptr;
    try {
        op = createOperation(key, params, true);
    } catch (const std::bad_alloc&) {
        noteMemoryFailure();
    } catch (...) {
    }
    if (!op)
        return false;
    // The entry is made before the run, so that a successful run cannot
    // fail to be recorded.
    try {
        undo_.push_back(op);
    } catch (...) {
        removeOperation(op);
        noteMemoryFailure();
        reportFailed(sink);
        return false;
    }
    if (!attempt(op, &Operation::execute, sink)) {
        undo_.pop_back();
        // An operation that never ran holds nothing worth keeping.
        removeOperation(op);
        reportFailed(sink);
        return false;
    }
    if (op->canUndo()) {
        while (undo_.size() > kUndoCap) {
            Operation* oldest = undo_.front();
            undo_.pop_front();
            removeOperation(oldest);
        }
    } else {
        undo_.pop_back();
        clearStack(undo_);
        removeOperation(op);
    }
    clearStack(redo_);
    reportFinished(sink);
    return true;
}

bool ActionHistory::move(std::deque<Operation*>& from, std::deque<Operation*>& to,
                         bool (Operation::*step)(RenderCallbacks&), RenderCallbacks& sink)
{
    lastError_ = &kNoError;
    if (from.empty())
        return false;
    Operation* op = from.back();
    // Both entries exist while the step runs; the one not wanted goes after.
    try {
        to.push_back(op);
    } catch (...) {
        noteMemoryFailure();
        reportFailed(sink);
        return false;
    }
    if (!attempt(op, step, sink)) {
        to.pop_back();
        reportFailed(sink);
        return false;
    }
    from.pop_back();
    reportFinished(sink);
    return true;
}

bool ActionHistory::undo(RenderCallbacks& sink)
{
    return move(undo_, redo_, &Operation::undo, sink);
}

bool ActionHistory::redo(RenderCallbacks& sink)
{
    return move(redo_, undo_, &Operation::redo, sink);
}

String ActionHistory::undoName() const
{
    return undo_.empty() ? String() : undo_.back()->menuName();
}

String ActionHistory::redoName() const
{
    return redo_.empty() ? String() : redo_.back()->menuName();
}

String ActionHistory::reset(String newCurrentName)
{
    clearStack(undo_);
    clearStack(redo_);
    return setCurrentName(std::move(newCurrentName));
}

bool ActionHistory::load(const String& path)
{
    lastError_ = &kNoError;
    store_.clearAllocationFailure();
    String name;
    bool ok = false;
    try {
        std::unique_ptr<DocumentDib> owned = store_.create(1, 1, kFormatBgra);
        DocumentDib* image = owned.get();
        if (image) {
            // From here the store owns the image, whatever happens.
            name = store_.add(std::move(owned));
            ok = shellLoadImageFile(path, *image, String());
        }
    } catch (const std::bad_alloc&) {
        store_.noteAllocationFailure();
    } catch (...) {
    }
    if (!ok) {
        if (!name.empty())
            store_.erase(name);
        if (store_.allocationFailed())
            noteMemoryFailure();
        return false;
    }
    const String previous = reset(std::move(name));
    store_.erase(previous);
    return true;
}

bool ActionHistory::save(const String& path)
{
    DocumentDib* image = currentImage();
    if (!image)
        return false;
    try {
        return shellSaveImageFile(path, *image);
    } catch (...) {
        return false;
    }
}
