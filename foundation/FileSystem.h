#pragma once

#include "foundation/String.h"

class PathParts;

// Path helpers over the ANSI Win32 file functions. Both "\" and "/" separate.
// None of them throws; failure is the result.
bool fileExists(const String& path);
bool isDirectory(const String& path);
bool isFileInUse(const String& path);
unsigned long fileSizeOf(const String& path);
bool setReadOnly(const String& path, bool readOnly);
bool deleteFile(const String& path);
bool removeDirectory(const String& path);
bool copyFile(const String& from, const String& to, bool overwrite);
bool moveFile(const String& from, const String& to, bool replace);
bool moveFileInto(const PathParts& source, const String& folder, bool replace);
bool createParentFolders(const PathParts& parts);
bool createDirectoryPath(const String& path);

// "/" separators, runs of them collapsed (a leading "\\" UNC prefix kept),
// always ending with "/".
String normalizePath(const String& path);
