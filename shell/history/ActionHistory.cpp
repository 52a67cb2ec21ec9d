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

const char kNotEnoughMemory[] = "Not enough memory";

} // namespace

ActionHistory::ActionHistory(ImageStore& store)
    : store_(store), runner_(nullptr), plugins_(nullptr)
{
    if (DocumentDib* first = store_.create(1, 1, kFormatBgra))
        current_ = store_.add(first);
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
    DocumentDib* image = store_.create(1, 1, kFormatBgra);
    if (!image)
        return String();
    if (image->isEmpty()) {
        delete image;
        return String();
    }
    const String name = store_.add(image);
    setCurrentName(name);
    return name;
}

String ActionHistory::setCurrentName(const String& name)
{
    String previous = current_;
    current_ = name;
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

void ActionHistory::pushOrRelease(std::deque<Operation*>& stack, Operation* op)
{
    try {
        stack.push_back(op);
    } catch (...) {
        // No room for the entry: the step can no longer be taken back.
        removeOperation(op);
    }
}

bool ActionHistory::dropOneStep(bool dropRedo)
{
    if (dropRedo && !redo_.empty()) {
        Operation* op = redo_.front();
        redo_.pop_front();
        removeOperation(op);
        return true;
    }
    if (!undo_.empty()) {
        Operation* op = undo_.front();
        undo_.pop_front();
        removeOperation(op);
        return true;
    }
    return false;
}

bool ActionHistory::withMemoryRetry(const Attempt& attempt, RenderCallbacks& sink, bool dropRedo)
{
    for (;;) {
        store_.clearAllocationFailure();
        bool ok = false;
        try {
            ok = attempt(sink);
        } catch (const std::bad_alloc&) {
            store_.noteAllocationFailure();
        } catch (...) {
        }
        if (ok)
            return true;
        if (!store_.allocationFailed())
            return false;
        if (!dropOneStep(dropRedo)) {
            lastError_ = kNotEnoughMemory;
            return false;
        }
    }
}

bool ActionHistory::run(const String& key, const PropertyBag& params, RenderCallbacks& sink)
{
    lastError_.clear();
    Operation* op = nullptr;
    try {
        op = createOperation(key, params, true);
    } catch (const std::bad_alloc&) {
        lastError_ = kNotEnoughMemory;
    } catch (...) {
    }
    if (!op)
        return false;
    if (!withMemoryRetry([op](RenderCallbacks& s) { return op->execute(s); }, sink, true)) {
        // An operation that never ran holds nothing worth keeping.
        removeOperation(op);
        reportFailed(sink);
        return false;
    }
    try {
        if (op->canUndo()) {
            while (undo_.size() >= kUndoCap) {
                Operation* oldest = undo_.front();
                undo_.pop_front();
                removeOperation(oldest);
            }
            undo_.push_back(op);
        } else {
            clearStack(undo_);
            removeOperation(op);
        }
    } catch (...) {
        // No room even for the stack entry: the change stays, without undo.
        removeOperation(op);
        clearStack(undo_);
    }
    clearStack(redo_);
    reportFinished(sink);
    return true;
}

bool ActionHistory::undo(RenderCallbacks& sink)
{
    lastError_.clear();
    if (undo_.empty())
        return false;
    Operation* op = undo_.back();
    undo_.pop_back();
    if (!withMemoryRetry([op](RenderCallbacks& s) { return op->undo(s); }, sink, false)) {
        // Kept where it was, so it can be tried again.
        pushOrRelease(undo_, op);
        reportFailed(sink);
        return false;
    }
    pushOrRelease(redo_, op);
    reportFinished(sink);
    return true;
}

bool ActionHistory::redo(RenderCallbacks& sink)
{
    lastError_.clear();
    if (redo_.empty())
        return false;
    Operation* op = redo_.back();
    redo_.pop_back();
    if (!withMemoryRetry([op](RenderCallbacks& s) { return op->redo(s); }, sink, false)) {
        pushOrRelease(redo_, op);
        reportFailed(sink);
        return false;
    }
    pushOrRelease(undo_, op);
    reportFinished(sink);
    return true;
}

String ActionHistory::undoName() const
{
    return undo_.empty() ? String() : undo_.back()->menuName();
}

String ActionHistory::redoName() const
{
    return redo_.empty() ? String() : redo_.back()->menuName();
}

String ActionHistory::reset(const String& newCurrentName)
{
    clearStack(undo_);
    clearStack(redo_);
    return setCurrentName(newCurrentName);
}

bool ActionHistory::load(const String& path)
{
    lastError_.clear();
    store_.clearAllocationFailure();
    DocumentDib* image = store_.create(1, 1, kFormatBgra);
    if (!image) {
        lastError_ = kNotEnoughMemory;
        return false;
    }
    String name;
    bool ok = false;
    try {
        name = store_.add(image);
        ok = shellLoadImageFile(path, *image, String());
    } catch (...) {
        ok = false;
    }
    if (!ok) {
        if (name.empty())
            delete image;
        else
            store_.erase(name);
        if (store_.allocationFailed())
            lastError_ = kNotEnoughMemory;
        return false;
    }
    const String previous = reset(name);
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
