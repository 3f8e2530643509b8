#include "platform/registry/RegistryKey.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include "platform/registry/RegistryTransaction.h"
#include "support/TempDir.h"

namespace korventa::reg {
namespace {

class DamagedHiveTest : public ::testing::Test {
protected:
    // A hive big enough to span many pages, so a cut lands inside its data.
    void makeHive() {
        RegistryTransaction transaction;
        ASSERT_EQ(RegistryTransaction::begin(hive_, transaction), RegStatus::Ok);
        for (unsigned job = 0; job < 200; ++job) {
            ASSERT_EQ(transaction.setValue(u"Jobs\\" + decimalText(job), u"JobTempPDF", REG_SZ,
                                           RegValue::stringData(u"/tmp/efn" + decimalText(job))),
                      RegStatus::Ok);
        }
        ASSERT_EQ(transaction.commit(), RegStatus::Ok);
    }

    std::string reportLine(const std::string& reason) const {
        return "korventa: registry hive " + hive_.path() + " " + reason + "; left untouched\n";
    }

    // Reads see no hive at all; each opening names the file once.
    void expectReadsSeeNoHive(const std::string& reason) {
        const std::string before = dir_.readFile("hive.db");
        RegistryKey key;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RegistryKey::open(hive_, u"Jobs", KeyAccess::Read, key), RegStatus::NotFound);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), reportLine(reason));
        EXPECT_EQ(dir_.readFile("hive.db"), before);
    }

    // Every way of writing is refused without changing a byte.
    void expectWritesRefused(const std::string& reason) {
        const std::string before = dir_.readFile("hive.db");
        RegistryKey key;
        RegistryTransaction transaction;
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(RegistryKey::create(hive_, u"Jobs\\New", key), RegStatus::BadHive);
        EXPECT_EQ(RegistryKey::deleteTree(hive_, u"Jobs"), RegStatus::BadHive);
        EXPECT_EQ(RegistryTransaction::begin(hive_, transaction), RegStatus::BadHive);
        const std::string line = reportLine(reason);
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), line + line + line);
        EXPECT_EQ(dir_.readFile("hive.db"), before);
    }

    test::TempDir dir_;
    RegistryHive hive_ = RegistryHive::atPath(dir_.file("hive.db"));
};

TEST_F(DamagedHiveTest, GarbageFileIsNotADatabase) {
    std::string garbage(8192, '\0');
    for (std::size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 37 + 11);
    dir_.writeFile("hive.db", garbage);
    expectReadsSeeNoHive("is not a database");
    expectWritesRefused("is not a database");
}

TEST_F(DamagedHiveTest, TruncatedHiveIsDamaged) {
    makeHive();
    const std::string whole = dir_.readFile("hive.db");
    ASSERT_GT(whole.size(), 8192u);
    dir_.writeFile("hive.db", whole.substr(0, whole.size() / 2));
    expectReadsSeeNoHive("is damaged");
    expectWritesRefused("is damaged");
}

// SQLite itself notices such damage only on the pages a statement reads.
TEST_F(DamagedHiveTest, OverwrittenPageStopsEveryWrite) {
    makeHive();
    std::string bytes = dir_.readFile("hive.db");
    ASSERT_GT(bytes.size(), 3 * 4096u);
    bytes.replace(2 * 4096 + 8, 512, 512, '\xA5');
    dir_.writeFile("hive.db", bytes);
    expectWritesRefused("is damaged");
}

TEST_F(DamagedHiveTest, HiveOfANewerSchemaIsRefused) {
    makeHive();
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(hive_.path().c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "PRAGMA user_version = 2", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    expectReadsSeeNoHive("has a newer schema (version 2)");
    expectWritesRefused("has a newer schema (version 2)");
}

TEST_F(DamagedHiveTest, ForeignDatabaseIsRefused) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(hive_.path().c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "CREATE TABLE notes(text)", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    expectReadsSeeNoHive("is not a registry hive");
    expectWritesRefused("is not a registry hive");
}

TEST_F(DamagedHiveTest, EmptyFileBecomesAHiveOnFirstWrite) {
    dir_.writeFile("hive.db", "");
    RegistryKey key;
    EXPECT_EQ(RegistryKey::open(hive_, u"", KeyAccess::Read, key), RegStatus::NotFound);
    ASSERT_EQ(RegistryKey::create(hive_, u"K", key), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);
    EXPECT_EQ(RegistryKey::open(hive_, u"K", KeyAccess::Read, key), RegStatus::Ok);
}

}  // namespace
}  // namespace korventa::reg
