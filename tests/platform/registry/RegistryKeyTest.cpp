#include "platform/registry/RegistryKey.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "platform/registry/RegistryTransaction.h"
#include "support/TempDir.h"

namespace korventa::reg {
namespace {

std::vector<WString> valueNames(const RegistryKey& key) {
    std::vector<RegValue> values;
    EXPECT_EQ(key.values(values), RegStatus::Ok);
    std::vector<WString> names;
    for (const RegValue& value : values) names.push_back(value.name);
    return names;
}

WString readText(const RegistryHive& hive, WStringView path, WStringView name) {
    RegistryKey key;
    RegValue value;
    if (RegistryKey::open(hive, path, KeyAccess::Read, key) != RegStatus::Ok)
        return u"<no key>";
    if (key.value(name, value) != RegStatus::Ok)
        return u"<no value>";
    return value.text();
}

class RegistryKeyTest : public ::testing::Test {
protected:
    test::TempDir dir_;
    RegistryHive hive_ = RegistryHive::atPath(dir_.file("hive.db"));
};

TEST_F(RegistryKeyTest, MatchesPathsIgnoringAsciiCaseAndKeepsTheFirstCase) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(hive_, u"Software\\Talvenir\\Test\\", key), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);
    ASSERT_EQ(RegistryKey::create(hive_, u"SOFTWARE\\talvenir\\test\\Sub", key), RegStatus::Ok);
    EXPECT_EQ(key.path(), u"Software\\Talvenir\\Test\\Sub");
    ASSERT_EQ(key.close(), RegStatus::Ok);

    ASSERT_EQ(RegistryKey::open(hive_, u"software\\TALVENIR", KeyAccess::Read, key), RegStatus::Ok);
    std::vector<WString> subKeys;
    ASSERT_EQ(key.subKeys(subKeys), RegStatus::Ok);
    EXPECT_EQ(subKeys, std::vector<WString>{u"Test"});
}

TEST_F(RegistryKeyTest, FoldsOnlyAsciiLettersInNames) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(hive_, u"K", key), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"Name", u"1"), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"NAME", u"2"), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"\u00C4", u"3"), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"\u00E4", u"4"), RegStatus::Ok);
    EXPECT_EQ(valueNames(key), (std::vector<WString>{u"Name", u"\u00C4", u"\u00E4"}));
    ASSERT_EQ(key.close(), RegStatus::Ok);
    EXPECT_EQ(readText(hive_, u"k", u"nAmE"), u"2");
}

TEST_F(RegistryKeyTest, RefusesMalformedPaths) {
    RegistryKey key;
    for (const WStringView path :
         {u"\\Software", u"\\", u"Software\\\\Talvenir", u"Software\\\\"}) {
        EXPECT_EQ(RegistryKey::create(hive_, path, key), RegStatus::InvalidArgument);
    }
    EXPECT_EQ(RegistryKey::create(hive_, WString(u"A\0B", 3), key), RegStatus::InvalidArgument);
}

TEST_F(RegistryKeyTest, RefusesNamesThatCannotBeStoredUnchanged) {
    const WString loneSurrogate(1, char16_t(0xD800));
    RegistryKey key;
    EXPECT_EQ(RegistryKey::create(hive_, u"A\\" + loneSurrogate, key), RegStatus::InvalidArgument);
    ASSERT_EQ(RegistryKey::create(hive_, u"A", key), RegStatus::Ok);
    EXPECT_EQ(key.setString(loneSurrogate, u"x"), RegStatus::InvalidArgument);
    EXPECT_EQ(key.setString(u"\U0001F600", u"x"), RegStatus::Ok);
}

TEST_F(RegistryKeyTest, TheEmptyPathIsTheRootKey) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(hive_, u"", key), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"", u"default"), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);
    EXPECT_EQ(readText(hive_, u"", u""), u"default");
}

TEST_F(RegistryKeyTest, RewrittenValueKeepsItsPlaceAndRecreatedGoesLast) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(hive_, u"Job", key), RegStatus::Ok);
    for (const WStringView name : {u"C", u"A", u"B"})
        ASSERT_EQ(key.setString(name, u"1"), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);

    ASSERT_EQ(RegistryKey::open(hive_, u"Job", KeyAccess::Write, key), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"c", u"2"), RegStatus::Ok);
    ASSERT_EQ(key.deleteValue(u"A"), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"A", u"3"), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);

    ASSERT_EQ(RegistryKey::open(hive_, u"Job", KeyAccess::Read, key), RegStatus::Ok);
    EXPECT_EQ(valueNames(key), (std::vector<WString>{u"C", u"B", u"A"}));
}

TEST_F(RegistryKeyTest, ListsSubKeysInCreationOrder) {
    RegistryKey key;
    for (const WStringView path : {u"Root\\z", u"Root\\a", u"Root\\m"}) {
        ASSERT_EQ(RegistryKey::create(hive_, path, key), RegStatus::Ok);
    }
    ASSERT_EQ(RegistryKey::open(hive_, u"Root", KeyAccess::Read, key), RegStatus::Ok);
    std::vector<WString> names;
    ASSERT_EQ(key.subKeys(names), RegStatus::Ok);
    EXPECT_EQ(names, (std::vector<WString>{u"z", u"a", u"m"}));
}

TEST_F(RegistryKeyTest, KeepsRawBytesOfOtherTypes) {
    const std::string bytes("\x00\xFF\x01", 3);
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(hive_, u"K", key), RegStatus::Ok);
    ASSERT_EQ(key.setValue(u"Bin", REG_BINARY, bytes), RegStatus::Ok);
    ASSERT_EQ(key.setValue(u"Empty", REG_BINARY, std::string()), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);

    ASSERT_EQ(RegistryKey::open(hive_, u"K", KeyAccess::Read, key), RegStatus::Ok);
    RegValue value;
    ASSERT_EQ(key.value(u"bin", value), RegStatus::Ok);
    EXPECT_EQ(value.type, REG_BINARY);
    EXPECT_EQ(value.data, bytes);
    ASSERT_EQ(key.value(u"Empty", value), RegStatus::Ok);
    EXPECT_TRUE(value.data.empty());
}

TEST(RegValueText, ReadsAnyTypeAsUtf16UpToTheFirstNul) {
    EXPECT_EQ((RegValue{u"", REG_DWORD, std::string("A\0B\0", 4)}.text()), u"AB");
    EXPECT_EQ((RegValue{u"", REG_BINARY, std::string("A\0B", 3)}.text()), u"A");
    EXPECT_EQ((RegValue{u"", REG_MULTI_SZ, std::string("a\0\0\0b\0\0\0", 8)}.text()), u"a");
    EXPECT_EQ((RegValue{u"", REG_SZ, std::string("\xAC\x20", 2)}.text()), u"\u20AC");
}

TEST_F(RegistryKeyTest, ReadingAMissingHiveCreatesNothing) {
    RegistryKey key;
    EXPECT_EQ(RegistryKey::open(hive_, u"", KeyAccess::Read, key), RegStatus::NotFound);
    EXPECT_EQ(RegistryKey::open(hive_, u"A", KeyAccess::Write, key), RegStatus::NotFound);
    EXPECT_EQ(RegistryKey::deleteTree(hive_, u"A"), RegStatus::NotFound);
    struct stat info {};
    EXPECT_NE(::stat(hive_.path().c_str(), &info), 0);
}

TEST_F(RegistryKeyTest, FirstWriteCreatesPrivateFoldersAndFile) {
    const RegistryHive nested = RegistryHive::atPath(dir_.file("a/b/registry.db"));
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(nested, u"K", key), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);
    struct stat info {};
    ASSERT_EQ(::stat(dir_.file("a/b").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0700u);
    ASSERT_EQ(::stat(nested.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
}

TEST_F(RegistryKeyTest, DeleteTreeRemovesTheSubtreeOnly) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(hive_, u"A\\B\\C", key), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"v", u"1"), RegStatus::Ok);
    ASSERT_EQ(RegistryKey::create(hive_, u"A2", key), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"v", u"2"), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);

    EXPECT_EQ(RegistryKey::deleteTree(hive_, u"a\\b"), RegStatus::Ok);
    EXPECT_EQ(RegistryKey::open(hive_, u"A\\B\\C", KeyAccess::Read, key), RegStatus::NotFound);
    EXPECT_EQ(RegistryKey::open(hive_, u"A", KeyAccess::Read, key), RegStatus::Ok);
    EXPECT_EQ(readText(hive_, u"A2", u"v"), u"2");
    EXPECT_EQ(RegistryKey::deleteTree(hive_, u"A\\B"), RegStatus::NotFound);
}

TEST_F(RegistryKeyTest, TransactionDroppedWithoutCommitLeavesNoTrace) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(hive_, u"Keep", key), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"v", u"old"), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);
    {
        RegistryTransaction transaction;
        ASSERT_EQ(RegistryTransaction::begin(hive_, transaction), RegStatus::Ok);
        ASSERT_EQ(transaction.setValue(u"Keep", u"v", REG_SZ, RegValue::stringData(u"new")),
                  RegStatus::Ok);
        ASSERT_EQ(transaction.setValue(u"New\\Key", u"v", REG_SZ, RegValue::stringData(u"x")),
                  RegStatus::Ok);
    }
    EXPECT_EQ(readText(hive_, u"Keep", u"v"), u"old");
    EXPECT_EQ(RegistryKey::open(hive_, u"New", KeyAccess::Read, key), RegStatus::NotFound);
}

TEST_F(RegistryKeyTest, CommittedTransactionAppliesEveryChange) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(hive_, u"Old\\Sub", key), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);
    RegistryTransaction transaction;
    ASSERT_EQ(RegistryTransaction::begin(hive_, transaction), RegStatus::Ok);
    ASSERT_EQ(transaction.deleteKey(u"Old"), RegStatus::Ok);
    EXPECT_EQ(transaction.deleteKey(u"Old"), RegStatus::NotFound);
    ASSERT_EQ(transaction.setValue(u"New", u"v", REG_SZ, RegValue::stringData(u"x")),
              RegStatus::Ok);
    EXPECT_EQ(transaction.deleteValue(u"New", u"missing"), RegStatus::NotFound);
    ASSERT_EQ(transaction.commit(), RegStatus::Ok);
    EXPECT_EQ(transaction.commit(), RegStatus::InvalidArgument);

    EXPECT_EQ(RegistryKey::open(hive_, u"Old", KeyAccess::Read, key), RegStatus::NotFound);
    EXPECT_EQ(readText(hive_, u"New", u"v"), u"x");
}

}  // namespace
}  // namespace korventa::reg
