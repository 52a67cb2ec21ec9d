#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "foundation/String.h"
#include "plugin/PluginRecords.h"
#include "shell/filters/ImageFilter.h"

// One loaded shell plug-in: its library, entry points, information record
// and the request (with its settings buffer) reused for every run, so the
// settings text a run leaves is handed to the next run of the same plug-in.
class PluginModule : public ImageFilter
{
public:
    // Larger than the classic 4096 bytes: the capacity is a request field,
    // and a plug-in's settings text with several presets outgrows 4 KiB.
    static constexpr int32_t kSettingsCapacity = 65536;

    // Loads the library and reads its information; throws Exception
    // "Runtime Exception" when it is no loadable library or lacks an export.
    PluginModule(const String& path, int commandId);
    ~PluginModule() override;

    // canProcess with the image's format, width and height.
    bool accepts(const Image& image) override;
    // Runs processImage on a destination that already holds a copy of the
    // source. The settings text the plug-in leaves is kept, whether the run
    // succeeded or not; the text from before the call comes back only when
    // the plug-in broke the buffer fields (another buffer or capacity, or a
    // length outside the buffer).
    bool apply(const Image& source, Image& destination, RenderCallbacks& sink) override;

    // The window that owns the plug-in's own dialog during a run. Without one
    // the plug-in takes the thread's active window, which while a run starts
    // is the host's still hidden progress window.
    void setParentWindow(HWND window) { parentWindow_ = window; }

    const char* id() const { return info_.id; }
    const char* menuName() const { return info_.menuName; }
    const char* vendor() const { return info_.vendor; }
    const PluginInfo& info() const { return info_; }
    int commandId() const { return commandId_; }
    const String& path() const { return path_; }

    // The settings text kept for the next run.
    String settingsText() const;

private:
    // Entry points as the host calls them: a bool result is one byte, and
    // only that byte is looked at.
    typedef uint8_t(__cdecl* GetInfoEntry)(PluginInfo* info);
    typedef uint8_t(__cdecl* CanProcessEntry)(int32_t format, int32_t width, int32_t height);
    typedef uint8_t(__cdecl* ProcessImageEntry)(PluginRequest* request);

    void unload();

    PluginRequest request_;
    PluginInfo info_;
    std::vector<char> settings_;
    HMODULE library_;
    ProcessImageEntry processImage_;
    CanProcessEntry canProcess_;
    GetInfoEntry getInfo_;
    int commandId_;
    String path_;
    HWND parentWindow_;
};
