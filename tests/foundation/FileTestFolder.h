#pragma once

#include <windows.h>

#include <string>

// A fresh folder below the system temp folder, removed with its contents at
// the end of the test.
class FileTestFolder
{
public:
    explicit FileTestFolder(const char* tag)
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "qx_" + tag + "_" + std::to_string(GetCurrentProcessId())
                + "_" + std::to_string(GetTickCount());
        removeTree(path_);
        CreateDirectoryA(path_.c_str(), nullptr);
        path_ += "\\";
    }
    ~FileTestFolder() { removeTree(path_.substr(0, path_.size() - 1)); }

    // The folder with a trailing backslash.
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

    static void writeBytes(const std::string& file, const std::string& bytes)
    {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }

    static std::string readBytes(const std::string& file)
    {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return "<missing>";
        std::string out;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            out.append(buffer, got);
        CloseHandle(h);
        return out;
    }

    static bool exists(const std::string& path)
    {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

private:
    static void removeTree(const std::string& folder)
    {
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                std::string name = data.cFileName;
                if (name == "." || name == "..")
                    continue;
                std::string full = folder + "\\" + name;
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    removeTree(full);
                else
                    DeleteFileA(full.c_str());
            } while (FindNextFileA(find, &data));
            FindClose(find);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};
