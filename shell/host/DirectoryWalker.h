#pragma once

#include <windows.h>

#include "foundation/LoggerRef.h"
#include "foundation/String.h"

class Exception;

// Decides what becomes of an exception raised while one entry of a walk is
// handled.
class WalkErrorHandler
{
public:
    enum Answer { kThrowOn = 0, kRetryEntry = 1, kNextEntry = 2 };
    virtual ~WalkErrorHandler() {}
    virtual int onWalkError(const Exception& error) = 0;
};

// Walks a folder's entries that match a pattern, optionally into subfolders,
// and reports them to its hooks.
class DirectoryWalker : public LoggerRef
{
public:
    enum { kRecursive = 4 };

    explicit DirectoryWalker(Logger* logger = nullptr, WalkErrorHandler* handler = nullptr);
    ~DirectoryWalker() override;

    // Lists folder + pattern (and matching subfolders with kRecursive). An
    // exception of a hook is logged and handed to onError; a raised cancel
    // flag stops the walk with "User Exception".
    void walk(const String& folder, const String& pattern, int flags);

    virtual void onFile(const String& path) = 0;
    virtual bool shouldStop();
    // True enters the subfolder.
    virtual bool onDirectory(const WIN32_FIND_DATAA& data, const String& path);
    virtual void onLeave(const String& folder);
    virtual void onEnter(const String& folder);
    // Without a handler the exception is thrown on; with one, true handles
    // the same entry again and false goes on with the next.
    virtual bool onError(const Exception& error);

    void setSuppressFiles(bool suppress) { suppressFiles_ = suppress; }
    void setProgressCounter(unsigned long* counter) { progress_ = counter; }
    // The walk stops when the flag holds 1.
    void setCancelFlag(const int* flag) { cancel_ = flag; }

private:
    // False when the walk is to end.
    bool walkFolder(const String& folder, const String& pattern, bool recursive);
    bool handleEntry(const WIN32_FIND_DATAA& data, const String& folder, const String& pattern,
                     bool recursive);

    bool suppressFiles_;
    WalkErrorHandler* handler_;
    unsigned long* progress_;
    const int* cancel_;
};
