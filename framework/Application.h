#pragma once

#include <windows.h>

#include "foundation/String.h"

// The application object of one module (the plug-in DLL or the shell): its
// name and title, module and resource handles, and the per-user profile in the
// registry at <root>\<software path>\<registry key>\<name>\<section>. A DLL
// has no message loop of its own; its initInstance runs when it is attached.
class CApplication
{
public:
    explicit CApplication(const char* name);
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The module's application object (the last one constructed), or null.
    static CApplication* current();

    // Records the module and runs initInstance (from DllMain: nothing here may
    // load other modules).
    bool attachModule(HINSTANCE instance);
    // Runs exitInstance.
    int detachModule();

    virtual bool initInstance();
    virtual int exitInstance();

    HINSTANCE instanceHandle() const { return instance_; }
    // Dialog templates, strings, cursors and pictures come from here.
    HINSTANCE resourceHandle() const { return resources_ ? resources_ : instance_; }
    void setResourceHandle(HINSTANCE module) { resources_ = module; }

    const String& name() const { return name_; }
    // The caption of message boxes without one of their own; the name
    // unless set.
    const String& title() const { return title_; }
    void setTitle(const String& title) { title_ = title; }

    // Without a registry key no profile value is read or written.
    void setRegistryKey(const String& key) { registryKey_ = key; }

    // Only REG_DWORD values count as integers and REG_SZ as strings: a value
    // of any other type reads as the default.
    int profileInt(const String& section, const String& key, int defaultValue) const;
    bool writeProfileInt(const String& section, const String& key, int value);
    String profileString(const String& section, const String& key,
                         const String& defaultValue) const;
    bool writeProfileString(const String& section, const String& key, const String& value);
    // The subkey below the profile root that holds a section.
    String sectionKeyPath(const String& section) const;

    // Where every module's profile lives: HKEY_CURRENT_USER and "Software"
    // unless replaced (tests point it at a scratch key).
    static void setProfileRoot(HKEY root, const String& softwarePath);
    static void resetProfileRoot();

    HWND mainWindow;

private:
    String name_;
    String title_;
    String registryKey_;
    HINSTANCE instance_;
    HINSTANCE resources_;
    CApplication* previous_;
};

// The current application's resource module, else the executable.
HINSTANCE resourceModule();
// Registers the window classes of the common controls once per process;
// dialogs call it before they are made, never DllMain.
void initCommonControls();
