// The in-memory store keeps the registry's rules the components rely on.
#include "base/MemoryStorage.h"

#include <gtest/gtest.h>

namespace nv {
namespace {

TEST(MemoryStorage, KeysAndValuesFollowTheRegistrysRules) {
    MemoryStorage storage;
    EXPECT_EQ(storage.OpenKey("Software\\Korvel\\Notova", false), nullptr) << "opening does not create";
    auto key = storage.OpenKey("\\Software\\Korvel\\Notova\\MRUList", true);
    ASSERT_TRUE(key);
    EXPECT_TRUE(storage.KeyExists("software\\KORVEL")) << "parents come with the key; case does not matter";

    key->WriteString("File0", "C:\\a.txt");
    key->WriteInteger("count", 7);
    key->WriteInteger("COUNT", 8);
    EXPECT_EQ(key->ReadString("file0"), "C:\\a.txt");
    EXPECT_EQ(key->ReadInteger("Count"), 8u);
    EXPECT_FALSE(key->ReadInteger("File0")) << "a string is no integer";
    EXPECT_FALSE(key->ReadString("count")) << "an integer is no string";
    EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"File0", "count"}));
    EXPECT_TRUE(key->DeleteValue("FILE0"));
    EXPECT_FALSE(key->DeleteValue("File0")) << "already gone";

    auto parent = storage.OpenKey("Software\\Korvel", false);
    EXPECT_EQ(parent->SubkeyNames(), std::vector<std::string>{"notova"});
    EXPECT_TRUE(storage.DeleteKey("Software\\Korvel"));
    EXPECT_FALSE(storage.KeyExists("Software\\Korvel\\Notova\\MRUList")) << "with everything below it";
    EXPECT_TRUE(storage.KeyExists("Software"));
    EXPECT_THROW(key->WriteInteger("count", 1), EStorageError) << "a deleted key takes no values";
    EXPECT_FALSE(storage.DeleteKey("Software\\Korvel"));
}

} // namespace
} // namespace nv
