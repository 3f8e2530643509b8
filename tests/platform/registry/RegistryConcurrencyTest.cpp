#include "platform/registry/RegistryKey.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "support/TempDir.h"

namespace korventa::reg {
namespace {

constexpr int kProcesses = 6;
constexpr int kJobsPerProcess = 40;
constexpr int kValuesPerJob = 8;

WString jobKey(int process, int job) {
    return u"Software\\TALVENIR\\Veltrix\\PDF\\5.0\\KORVENTAJob\\Inst00" + decimalText(process) +
           u"\\" + decimalText(static_cast<unsigned long long>(job)) + u"\\";
}

WString valueName(int index) {
    return u"JobValue" + decimalText(static_cast<unsigned long long>(index));
}

WString valueText(int process, int job, int index) {
    return decimalText(static_cast<unsigned long long>(process * 10000 + job * 100 + index));
}

// One instance's share of the load: every job key is one batch of values. Exit 0 on success.
int writeJobs(int process) {
    const RegistryHive hive = RegistryHive::local(RootKey::CurrentUser);
    for (int job = 0; job < kJobsPerProcess; ++job) {
        RegistryKey key;
        if (RegistryKey::create(hive, jobKey(process, job), key) != RegStatus::Ok)
            return 1;
        for (int index = 0; index < kValuesPerJob; ++index) {
            if (key.setString(valueName(index), valueText(process, job, index)) != RegStatus::Ok) {
                return 2;
            }
        }
        if (key.close() != RegStatus::Ok)
            return 3;
    }
    return 0;
}

TEST(RegistryConcurrency, ParallelProcessesLoseNoWrite) {
    test::ScopedHives hives;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> children;
    for (int process = 1; process <= kProcesses; ++process) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            char go = 0;
            ::close(start[1]);
            // All children start together once the parent closes its end of the pipe.
            ::_exit(::read(start[0], &go, 1) == 0 ? writeJobs(process) : 4);
        }
        children.push_back(child);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }

    const RegistryHive hive = RegistryHive::local(RootKey::CurrentUser);
    for (int process = 1; process <= kProcesses; ++process) {
        for (int job = 0; job < kJobsPerProcess; ++job) {
            RegistryKey key;
            ASSERT_EQ(RegistryKey::open(hive, jobKey(process, job), KeyAccess::Read, key),
                      RegStatus::Ok);
            std::vector<RegValue> values;
            ASSERT_EQ(key.values(values), RegStatus::Ok);
            ASSERT_EQ(values.size(), std::size_t{kValuesPerJob});
            for (int index = 0; index < kValuesPerJob; ++index) {
                EXPECT_EQ(values[index].name, valueName(index));
                EXPECT_EQ(values[index].text(), valueText(process, job, index));
            }
        }
    }
}

class WriteBatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegistryKey key;
        ASSERT_EQ(RegistryKey::create(hive_, u"Job", key), RegStatus::Ok);
        ASSERT_EQ(key.setString(u"State", u"old"), RegStatus::Ok);
        ASSERT_EQ(key.close(), RegStatus::Ok);
    }

    WString stateSeenByReader() {
        RegistryKey reader;
        RegValue value;
        if (RegistryKey::open(hive_, u"Job", KeyAccess::Read, reader) != RegStatus::Ok)
            return u"-";
        return reader.value(u"State", value) == RegStatus::Ok ? value.text() : u"-";
    }

    test::TempDir dir_;
    RegistryHive hive_ = RegistryHive::atPath(dir_.file("user.db"));
};

TEST_F(WriteBatchTest, ReaderSeesNothingOfAnOpenBatchUntilItCloses) {
    RegistryKey writer;
    ASSERT_EQ(RegistryKey::open(hive_, u"Job", KeyAccess::Write, writer), RegStatus::Ok);
    ASSERT_EQ(writer.setString(u"State", u"new"), RegStatus::Ok);
    ASSERT_EQ(writer.setString(u"More", u"x"), RegStatus::Ok);
    EXPECT_EQ(stateSeenByReader(), u"old");
    ASSERT_EQ(writer.close(), RegStatus::Ok);
    EXPECT_EQ(stateSeenByReader(), u"new");
}

TEST_F(WriteBatchTest, OpenReaderKeepsItsSnapshotAcrossALaterCommit) {
    RegistryKey reader;
    ASSERT_EQ(RegistryKey::open(hive_, u"Job", KeyAccess::Read, reader), RegStatus::Ok);
    RegistryKey writer;
    ASSERT_EQ(RegistryKey::open(hive_, u"Job", KeyAccess::Write, writer), RegStatus::Ok);
    ASSERT_EQ(writer.setString(u"State", u"new"), RegStatus::Ok);
    ASSERT_EQ(writer.close(), RegStatus::Ok);
    RegValue value;
    ASSERT_EQ(reader.value(u"State", value), RegStatus::Ok);
    EXPECT_EQ(value.text(), u"old");
}

TEST_F(WriteBatchTest, DestroyingAWriteKeyCommitsItsBatch) {
    {
        RegistryKey writer;
        ASSERT_EQ(RegistryKey::open(hive_, u"Job", KeyAccess::Write, writer), RegStatus::Ok);
        ASSERT_EQ(writer.setString(u"State", u"new"), RegStatus::Ok);
    }
    EXPECT_EQ(stateSeenByReader(), u"new");
}

}  // namespace
}  // namespace korventa::reg
