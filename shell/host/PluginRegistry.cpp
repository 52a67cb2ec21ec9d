#include "shell/host/PluginRegistry.h"

#include "shell/host/PluginModule.h"

PluginRegistry& PluginRegistry::instance()
{
    static PluginRegistry registry;
    return registry;
}

PluginRegistry::PluginRegistry() : nextCommand_(kFirstCommand)
{
}

PluginRegistry::~PluginRegistry()
{
    commands_.clear();
    modules_.clear();
}

bool PluginRegistry::scanFolder(const String& folder, bool recursive)
{
    try {
        walk(folder, "*.qlplg", recursive ? kRecursive : 0);
    } catch (...) {
        // A walk without a cancel flag or handler raises nothing of its own;
        // whatever else happens, start-up goes on with what was loaded.
    }
    return true;
}

void PluginRegistry::onFile(const String& path)
{
    loadPlugin(path);
}

bool PluginRegistry::loadPlugin(const String& path)
{
    if (nextCommand_ > kLastCommand)
        return false;
    try {
        std::unique_ptr<PluginModule> module(new PluginModule(path, nextCommand_));
        const String id = module->id();
        modules_[id] = std::move(module);
        commands_[nextCommand_] = id;
        ++nextCommand_;
        return true;
    } catch (...) {
        GetLastError();
        return false;
    }
}

PluginModule* PluginRegistry::find(const String& id) const
{
    auto it = modules_.find(id);
    return it == modules_.end() ? nullptr : it->second.get();
}

String PluginRegistry::idForCommand(int commandId) const
{
    auto it = commands_.find(commandId);
    return it == commands_.end() ? String() : it->second;
}

std::vector<String> PluginRegistry::ids() const
{
    std::vector<String> result;
    for (const auto& entry : modules_)
        result.push_back(entry.first);
    return result;
}
