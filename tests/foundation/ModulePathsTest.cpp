#include "FileTestFolder.h"

#include "foundation/Exception.h"
#include "foundation/ModulePaths.h"
#include "foundation/ModuleVersion.h"

#include <gtest/gtest.h>

namespace {

// Restores the process-wide module state whatever a test did to it.
struct ModulePathsGuard
{
    ~ModulePathsGuard()
    {
        ModulePaths::setModuleHandle(nullptr);
        ModulePaths::reset();
    }
};

}

TEST(ModulePaths, WithoutModuleHandleTheModuleIsTheExe)
{
    ModulePathsGuard guard;
    ModulePaths::setModuleHandle(nullptr);
    ModulePaths::reset();
    EXPECT_EQ(GetModuleHandleA(nullptr), ModulePaths::exeHandle());
    EXPECT_EQ(ModulePaths::exeHandle(), ModulePaths::instanceHandle());

    char file[MAX_PATH];
    GetModuleFileNameA(nullptr, file, MAX_PATH);
    EXPECT_EQ(file, ModulePaths::exeFile());
    EXPECT_EQ("foundation_tests", ModulePaths::exeName());
    const String& dir = ModulePaths::exeDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ('/', dir[dir.size() - 1]);
    EXPECT_EQ(std::string::npos, dir.find('\\'));
    // The test program carries no version resource.
    EXPECT_EQ("0.0.0.0", ModulePaths::exeVersion());

    EXPECT_EQ(ModulePaths::exeFile(), ModulePaths::moduleFile());
    EXPECT_EQ(ModulePaths::exeDirectory(), ModulePaths::moduleDirectory());
    EXPECT_EQ(ModulePaths::exeName(), ModulePaths::moduleName());
    EXPECT_EQ(ModulePaths::exeVersion(), ModulePaths::moduleVersion());
}

TEST(ModulePaths, ModuleHandleDescribesTheDll)
{
    ModulePathsGuard guard;
    HMODULE dll = LoadLibraryA("qx_version_probe.dll");
    ASSERT_TRUE(dll != nullptr);

    ModulePaths::reset();
    ModulePaths::ensureInitialised();
    ModulePaths::setModuleHandle(dll);
    // The handle is used at once for resources, but the texts only change
    // after a reset.
    EXPECT_EQ(dll, ModulePaths::instanceHandle());
    EXPECT_EQ("foundation_tests", ModulePaths::moduleName());

    ModulePaths::reset();
    EXPECT_EQ("qx_version_probe", ModulePaths::moduleName());
    EXPECT_EQ("1.2.3.65535", ModulePaths::moduleVersion());
    EXPECT_EQ(ModulePaths::exeDirectory(), ModulePaths::moduleDirectory());
    EXPECT_EQ("foundation_tests", ModulePaths::exeName());

    ModuleVersion v;
    ASSERT_TRUE(queryModuleVersion(ModulePaths::moduleFile(), v));
    EXPECT_EQ(1, v.major);
    EXPECT_EQ(2, v.minor);
    EXPECT_EQ(3, v.build);
    EXPECT_EQ(65535, v.revision);
    FreeLibrary(dll);
}

TEST(ModulePaths, VersionQueryFailureLeavesNumbers)
{
    ModuleVersion v;
    v.major = 7;
    EXPECT_FALSE(queryModuleVersion("C:\\no\\such\\file.dll", v));
    EXPECT_EQ(7, v.major);
    EXPECT_EQ("7.0.0.0", v.toString());
    ModuleVersion big;
    big.major = 65535;
    big.revision = 4;
    EXPECT_EQ("65535.0.0.4", big.toString());
}

TEST(ModulePaths, ProgramSubfolder)
{
    String name = "qx_sub_" + std::to_string(GetCurrentProcessId());
    String folder = programSubfolder(name, false);
    EXPECT_EQ(ModulePaths::exeDirectory() + name + "\\", folder);
    EXPECT_FALSE(FileTestFolder::exists(folder));

    String nested = programSubfolder(name + "/inner", true);
    EXPECT_TRUE(FileTestFolder::exists(nested));
    EXPECT_EQ(nested, programSubfolder(name + "/inner\\", false));
    RemoveDirectoryA(nested.c_str());
    RemoveDirectoryA(folder.c_str());

    // A file in the way cannot become a folder.
    String blocker = ModulePaths::exeDirectory() + name + ".blk";
    FileTestFolder::writeBytes(blocker, "x");
    try {
        programSubfolder(name + ".blk", true);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(0x5009201u, e.code);
    }
    DeleteFileA(blocker.c_str());
}
