#include "shell/host/DirectoryWalker.h"

#include <cstring>

#include "foundation/Exception.h"

namespace {

// Closes the search handle on every way out of a folder.
class FindHandle
{
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    ~FindHandle()
    {
        if (handle_ != INVALID_HANDLE_VALUE)
            FindClose(handle_);
    }
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

bool isDotEntry(const char* name)
{
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

} // namespace

DirectoryWalker::DirectoryWalker(Logger* logger, WalkErrorHandler* handler)
    : LoggerRef(logger), suppressFiles_(false), handler_(handler), progress_(nullptr),
      cancel_(nullptr)
{
}

DirectoryWalker::~DirectoryWalker()
{
}

bool DirectoryWalker::shouldStop()
{
    return false;
}

bool DirectoryWalker::onDirectory(const WIN32_FIND_DATAA&, const String&)
{
    return true;
}

void DirectoryWalker::onLeave(const String&)
{
}

void DirectoryWalker::onEnter(const String&)
{
}

bool DirectoryWalker::onError(const Exception& error)
{
    if (!handler_)
        throw Exception(error.code, error.message);
    switch (handler_->onWalkError(error)) {
    case WalkErrorHandler::kRetryEntry:
        return true;
    case WalkErrorHandler::kNextEntry:
        return false;
    default:
        throw Exception(error.code, error.message);
    }
}

void DirectoryWalker::walk(const String& folder, const String& pattern, int flags)
{
    if (folder.empty())
        return;
    onEnter(folder);
    walkFolder(folder, pattern, (flags & kRecursive) != 0);
}

bool DirectoryWalker::walkFolder(const String& folder, const String& pattern, bool recursive)
{
    String base = folder;
    const char last = base.charAt(-1);
    if (last != '\\' && last != '/')
        base += "\\";
    WIN32_FIND_DATAA data;
    FindHandle find(FindFirstFileA((base + pattern).c_str(), &data));
    if (find.get() == INVALID_HANDLE_VALUE)
        return true;
    bool goOn = true;
    do {
        if (cancel_ && *cancel_ == 1)
            throw Exception(kUserException);
        if (!handleEntry(data, base, pattern, recursive)) {
            goOn = false;
            break;
        }
        if (shouldStop()) {
            goOn = false;
            break;
        }
    } while (FindNextFileA(find.get(), &data));
    onLeave(folder);
    return goOn;
}

bool DirectoryWalker::handleEntry(const WIN32_FIND_DATAA& data, const String& folder,
                                  const String& pattern, bool recursive)
{
    const String path = folder + data.cFileName;
    const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    for (;;) {
        try {
            if (isFolder) {
                if (!isDotEntry(data.cFileName) && recursive && onDirectory(data, path))
                    return walkFolder(path, pattern, recursive);
            } else if (!suppressFiles_) {
                onFile(path);
                if (progress_)
                    ++*progress_;
            }
            return true;
        } catch (const Exception& e) {
            if (logger)
                error(e.code, isFolder ? "exception while processing directory %s"
                                       : "exception while processing file %s",
                      path.c_str());
            if (!onError(e))
                return true;
        }
    }
}
