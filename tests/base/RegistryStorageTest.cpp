// The registry store with the real registry, below the program's own key.
#include "base/RegistryStorage.h"
#include "base/Unicode.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

const char kProgram[] = "Software\\Korvel\\Notova";
const char kTestKey[] = "\\Software\\Korvel\\Notova\\StorageTest";

class Registry : public ::testing::Test {
protected:
    void SetUp() override { storage.DeleteKey(kProgram); }
    void TearDown() override { storage.DeleteKey(kProgram); }

    void SetRaw(const char* name, DWORD type, const void* data, DWORD size) {
        HKEY raw = nullptr;
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey + 1, 0, nullptr, 0, KEY_WRITE, nullptr, &raw, nullptr);
        RegKey key(raw);
        ASSERT_EQ(::RegSetValueExA(key.get(), name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }

    RegistryStorage storage;
};

TEST_F(Registry, ValuesRoundTripAndOtherTypesReadAsNothing) {
    EXPECT_EQ(storage.OpenKey(kTestKey, false), nullptr);
    auto key = storage.OpenKey(kTestKey, true);
    ASSERT_TRUE(key);
    key->WriteInteger("WordWrap", 0xFFFFFFFFu);
    const std::string longPath = "C:\\" + std::string(300, 'x') + ".txt";
    key->WriteString("File0", longPath);
    EXPECT_EQ(key->ReadInteger("wordwrap"), 0xFFFFFFFFu);
    EXPECT_EQ(key->ReadString("File0"), longPath);
    EXPECT_FALSE(key->ReadString("WordWrap"));
    EXPECT_FALSE(key->ReadInteger("File0"));
    EXPECT_FALSE(key->ReadInteger("Missing"));

    SetRaw("Binary", REG_BINARY, "\1\0\0\0", 4);
    SetRaw("Unterminated", REG_SZ, "abc", 3);
    EXPECT_TRUE(key->ValueExists("Binary"));
    EXPECT_FALSE(key->ReadInteger("Binary"));
    EXPECT_FALSE(key->ReadString("Binary"));
    EXPECT_EQ(key->ReadString("Unterminated"), "abc");

    EXPECT_TRUE(key->DeleteValue("file0"));
    EXPECT_FALSE(key->DeleteValue("File0"));
    // Value names are limited to 16,383 characters.
    const std::string tooLong(20000, 'v');
    try {
        key->WriteInteger(tooLong, 1);
        ADD_FAILURE() << "this registry took a value name of 20,000 characters";
    } catch (const EStorageError& error) {
        EXPECT_EQ(std::string(error.what()), "Failed to set data for '" + tooLong + "'");
    }
}

// Strings are stored wide: whole outside the code page, and the same to a reader of the single-byte
// functions (an older build of the program) wherever the code page holds them.
TEST_F(Registry, StringsKeepNamesOutsideTheCodePageAndReadAsBeforeInside) {
    auto key = storage.OpenKey(kTestKey, true);
    ASSERT_TRUE(key);
    const std::string name = "C:\\caf\xC3\xA9\\привет.txt"; // "café" in UTF-8, then Cyrillic
    key->WriteString("File0", name);
    EXPECT_EQ(key->ReadString("File0"), name);

    char narrow[256] = {};
    DWORD size = sizeof narrow;
    HKEY raw = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey + 1, 0, KEY_READ, &raw), ERROR_SUCCESS);
    RegKey readKey(raw);
    ASSERT_EQ(
        ::RegQueryValueExA(readKey.get(), "File0", nullptr, nullptr, reinterpret_cast<BYTE*>(narrow), &size),
        ERROR_SUCCESS);
    const std::wstring wide = Wide(name);
    char expected[256] = {};
    ::WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, expected, sizeof expected, nullptr, nullptr);
    EXPECT_EQ(std::string(narrow), std::string(expected)) << "as an older build reads it";

    SetRaw("Name0", REG_SZ, "caf\xE9", 5); // as an older build wrote it, in the code page
    EXPECT_EQ(key->ReadString("Name0"), AnsiToUtf8("caf\xE9"));
}

TEST_F(Registry, KeysAreListedAndDeletedWithEverythingBelowThem) {
    auto key = storage.OpenKey(kTestKey, true);
    key->WriteString("File0", "a");
    ASSERT_TRUE(storage.OpenKey(std::string(kTestKey) + "\\Deeper", true));
    EXPECT_EQ(key->ValueNames(), std::vector<std::string>{"File0"});
    EXPECT_EQ(key->SubkeyNames(), std::vector<std::string>{"Deeper"});
    key.reset();
    EXPECT_TRUE(storage.DeleteKey(kProgram));
    EXPECT_EQ(storage.OpenKey(kProgram, false), nullptr);
    EXPECT_FALSE(storage.DeleteKey(kProgram));
    EXPECT_FALSE(storage.DeleteKey("\\")) << "never the whole root";
}

} // namespace
} // namespace nv
