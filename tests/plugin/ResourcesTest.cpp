#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "PluginTestSupport.h"

namespace {

using plugintest::plugin;

std::vector<unsigned char> resourceBytes(HMODULE module, const char* type, int id)
{
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(module, found);
    const unsigned char* data = static_cast<const unsigned char*>(LockResource(loaded));
    return std::vector<unsigned char>(data, data + SizeofResource(module, found));
}

// The property list as filter hosts read it: little-endian numbers, codes
// as numbers, string properties padded to their lengths.
struct Bytes
{
    std::vector<unsigned char> v;
    void u16(unsigned x) { v.push_back(x & 0xFF); v.push_back((x >> 8) & 0xFF); }
    void u32(unsigned x) { u16(x & 0xFFFF); u16(x >> 16); }
    void code(const char* c) { u32(unsigned(c[0]) << 24 | unsigned(c[1]) << 16 | unsigned(c[2]) << 8 | unsigned(c[3])); }
    void raw(const void* p, size_t n) { const unsigned char* b = static_cast<const unsigned char*>(p); v.insert(v.end(), b, b + n); }
    void property(const char* key, const void* data, size_t used, unsigned length)
    {
        code("8BIM");
        code(key);
        u32(0);
        u32(length);
        raw(data, used);
        v.resize(v.size() + (length - used), 0);
    }
};

std::vector<unsigned char> expectedPipl(const char* codeKey)
{
    Bytes b;
    b.u16(1);
    b.u32(0);
    b.u32(7);
    b.property("kind", "MFB8", 4, 4);
    b.property("name", "\016Daubcrafter...", 15, 16);
    b.property("catg", "\014Quillorantix", 13, 16);
    const unsigned char vers[] = {0x00, 0x00, 0x04, 0x00};
    b.property("vers", vers, 4, 4);
    b.property(codeKey, "ENTRYPOINT1", 12, 16);
    const unsigned char mode[] = {0x10, 0, 0, 0};
    b.property("mode", mode, 4, 4);
    const unsigned char fici[] = {4, 4, 4, 0, 4, 4, 4, 0, 4, 4, 12, 0, 4, 4, 4, 0,
                                  4, 4, 12, 0, 4, 4, 4, 0, 4, 4, 12, 0};
    b.property("fici", fici, sizeof fici, 28);
    return b.v;
}

TEST(PluginResources, PiplNamesTheEntryPointUnderThisArchitecturesCodeKey)
{
    ASSERT_TRUE(plugin().module()) << plugin().path;
    const std::vector<unsigned char> pipl = resourceBytes(plugin().module(), "PIPL", 16000);
    const char* key = sizeof(void*) == 8 ? "8664" : "wx86";
    EXPECT_EQ(expectedPipl(key), pipl);
    ASSERT_EQ(210u, pipl.size());
    // "8BIM" lies in the file as "MIB8".
    EXPECT_EQ(0, std::memcmp(pipl.data() + 10, "MIB8dnik", 8));
}

TEST(PluginResources, TemplatesStringsCursorsAndThePictureAreInTheDll)
{
    ASSERT_TRUE(plugin().module());
    for (int id : {100, 110, 112, 115, 116, 117, 118})
        EXPECT_TRUE(FindResourceA(plugin().module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5))) << id;
    for (int id : {102, 117})
        EXPECT_TRUE(LoadCursorA(plugin().module(), MAKEINTRESOURCEA(id))) << id;
    char text[512] = "";
    EXPECT_GT(LoadStringA(plugin().module(), 2, text, sizeof text), 0);
    EXPECT_STREQ("Quillorantix Plug-in Filter", text);
    LoadStringA(plugin().module(), 16998, text, sizeof text);
    EXPECT_STREQ("This plug-in is incompatible with this version of the host program", text);
    const std::vector<unsigned char> png = resourceBytes(plugin().module(), "bin", 650);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(0, std::memcmp(png.data(), "\x89PNG", 4));

    char file[MAX_PATH];
    GetModuleFileNameA(plugin().module(), file, MAX_PATH);
    DWORD ignored = 0;
    std::vector<char> version(GetFileVersionInfoSizeA(file, &ignored));
    ASSERT_FALSE(version.empty());
    ASSERT_TRUE(GetFileVersionInfoA(file, 0, DWORD(version.size()), version.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT size = 0;
    ASSERT_TRUE(VerQueryValueA(version.data(), "\\", reinterpret_cast<void**>(&fixed), &size));
    EXPECT_EQ(0x00010001u, fixed->dwFileVersionMS);
    EXPECT_EQ(0x00020000u, fixed->dwFileVersionLS);
}

} // namespace
