#pragma once

#include "foundation/String.h"

// Where the user's and the machine's standard folders are, with fixed
// fallback paths when the shell cannot tell; the user name; shell shortcuts.
// Every folder result ends with a backslash.
class SpecialFolders
{
public:
    // The shell's answer for one CSIDL, with a backslash appended; false,
    // with out unchanged, when the shell cannot tell.
    typedef bool (*FolderQuery)(int csidl, String& out);

    virtual ~SpecialFolders();

    static bool folderPath(int csidl, String& out);

    // Replaces the query that the folder operations below ask first (null
    // restores folderPath); returns the previous one. Lets the fallbacks be
    // exercised where the shell answers every folder.
    static FolderQuery setFolderQuery(FolderQuery query);

    static String programFilesFolder();
    static String commonProgramsFolder();
    static String desktopFolder();
    static String commonDesktopFolder();
    static String startMenuFolder();
    static String commonStartMenuFolder();
    static String appDataFolder();

    // The logged-on user's name; empty when the system cannot tell.
    static String userName();

    // Writes a shell link at shortcutPath pointing at targetPath (made
    // absolute first). True when the link file was saved.
    static bool createShortcut(const String& shortcutPath, const String& description,
                               const String& targetPath);
};
