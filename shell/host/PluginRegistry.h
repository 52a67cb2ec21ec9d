#pragma once

#include <map>
#include <memory>
#include <vector>

#include "foundation/String.h"
#include "shell/host/DirectoryWalker.h"

class PluginModule;

// The loaded plug-ins by identifier, and the menu command id of each.
class PluginRegistry : public DirectoryWalker
{
public:
    // The document's command range for plug-ins; loading stops at its end.
    static constexpr int kFirstCommand = 20480;
    static constexpr int kLastCommand = 24575;

    // The process-wide registry of the shell.
    static PluginRegistry& instance();

    PluginRegistry();
    ~PluginRegistry() override;

    // Loads every "*.qlplg" file of the folder (and its subfolders when
    // recursive). Returns true.
    bool scanFolder(const String& folder, bool recursive);
    // Loads one plug-in under the next command id; a later plug-in with the
    // same identifier replaces an earlier one. False (and no command id
    // used) for a file that is no plug-in, or when the ids are used up.
    bool loadPlugin(const String& path);

    PluginModule* find(const String& id) const;
    // The identifier of a command, "" when none.
    String idForCommand(int commandId) const;
    // The identifiers in ascending order.
    std::vector<String> ids() const;
    int nextCommandId() const { return nextCommand_; }

    void onFile(const String& path) override;

private:
    std::map<String, std::unique_ptr<PluginModule>> modules_;
    std::map<int, String> commands_;
    int nextCommand_;
};
