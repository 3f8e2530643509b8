#include "platform/registry/RegistryKey.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <thread>

#include "support/TempDir.h"

namespace korventa::reg {
namespace {

// Descriptors of this process open on `file`, read from /proc as a user's tool would.
int openDescriptors(const std::string& file) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        if (std::filesystem::read_symlink(entry.path(), error) == file)
            ++count;
    }
    return count;
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

RegStatus writeText(const RegistryHive& hive, WStringView path, WStringView name,
                    WStringView text) {
    RegistryKey key;
    if (RegStatus status = RegistryKey::create(hive, path, key); status != RegStatus::Ok)
        return status;
    if (RegStatus status = key.setString(name, text); status != RegStatus::Ok)
        return status;
    return key.close();
}

class RegistryConnectionTest : public ::testing::Test {
protected:
    test::TempDir dir_;
    std::string file_ = dir_.file("hive.db");
    RegistryHive hive_ = RegistryHive::atPath(file_);
};

TEST_F(RegistryConnectionTest, ManyKeysOfOneHiveShareOneOpenFile) {
    for (int job = 0; job < 30; ++job) {
        const WString path = u"Jobs\\" + decimalText(static_cast<unsigned long long>(job));
        ASSERT_EQ(writeText(hive_, path, u"Result", u"OK"), RegStatus::Ok);
        EXPECT_EQ(readText(hive_, path, u"Result"), u"OK");
    }
    EXPECT_EQ(openDescriptors(file_), 1);
}

TEST_F(RegistryConnectionTest, AWriteBatchAndAReaderAtOnceEachGetAHandle) {
    ASSERT_EQ(writeText(hive_, u"A", u"V", u"old"), RegStatus::Ok);
    RegistryKey writer;
    ASSERT_EQ(RegistryKey::open(hive_, u"A", KeyAccess::Write, writer), RegStatus::Ok);
    ASSERT_EQ(writer.setString(u"V", u"new"), RegStatus::Ok);
    EXPECT_EQ(readText(hive_, u"A", u"V"), u"old");
    ASSERT_EQ(writer.close(), RegStatus::Ok);
    EXPECT_EQ(readText(hive_, u"A", u"V"), u"new");
}

TEST_F(RegistryConnectionTest, AHiveFileReplacedBetweenOpensIsReadAfresh) {
    ASSERT_EQ(writeText(hive_, u"A", u"V", u"first"), RegStatus::Ok);
    const RegistryHive other = RegistryHive::atPath(dir_.file("other.db"));
    ASSERT_EQ(writeText(other, u"A", u"V", u"second"), RegStatus::Ok);
    ASSERT_EQ(std::rename(dir_.file("other.db").c_str(), file_.c_str()), 0);
    EXPECT_EQ(readText(hive_, u"A", u"V"), u"second");
    ASSERT_EQ(writeText(hive_, u"A", u"W", u"third"), RegStatus::Ok);
    EXPECT_EQ(readText(hive_, u"A", u"W"), u"third");
}

TEST_F(RegistryConnectionTest, AHiveDeletedBetweenOpensIsNotFoundThenMadeAnew) {
    ASSERT_EQ(writeText(hive_, u"A", u"V", u"first"), RegStatus::Ok);
    ASSERT_TRUE(std::filesystem::remove(file_));
    EXPECT_EQ(readText(hive_, u"A", u"V"), u"<no key>");
    ASSERT_EQ(writeText(hive_, u"B", u"V", u"again"), RegStatus::Ok);
    EXPECT_EQ(readText(hive_, u"B", u"V"), u"again");
    EXPECT_EQ(readText(hive_, u"A", u"V"), u"<no key>");
}

TEST_F(RegistryConnectionTest, EveryThreadAndAForkedChildUseHandlesOfTheirOwn) {
    ASSERT_EQ(writeText(hive_, u"A", u"V", u"parent"), RegStatus::Ok);
    std::thread other([this] {
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(writeText(hive_, u"T", u"V", u"thread"), RegStatus::Ok);
    });
    other.join();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const bool ok = writeText(hive_, u"C", u"V", u"child") == RegStatus::Ok &&
                        readText(hive_, u"A", u"V") == u"parent";
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(readText(hive_, u"C", u"V"), u"child");
    EXPECT_EQ(readText(hive_, u"T", u"V"), u"thread");
    EXPECT_EQ(openDescriptors(file_), 1);
}

}  // namespace
}  // namespace korventa::reg
