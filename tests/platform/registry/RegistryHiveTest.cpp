#include "platform/registry/RegistryHive.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <optional>

#include "platform/registry/RegistryKey.h"
#include "support/TempDir.h"

namespace korventa::reg {
namespace {

// Sets (or, given nullopt, removes) one environment variable for the object's life.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name))
            saved_ = old;
        if (value) {
            ::setenv(name, value->c_str(), 1);
        } else {
            ::unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (saved_) {
            ::setenv(name_, saved_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> saved_;
};

void makeHive(const std::string& path) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::create(RegistryHive::atPath(path), u"Software", key), RegStatus::Ok);
    ASSERT_EQ(key.setString(u"v", u"remote"), RegStatus::Ok);
    ASSERT_EQ(key.close(), RegStatus::Ok);
}

TEST(RegistryHive, UserHiveFollowsTheConfigFolderWhenNotSetExplicitly) {
    const ScopedEnv noUserHive("TALVENIR_USER_HIVE", std::nullopt);
    {
        ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(RegistryHive::local(RootKey::CurrentUser).path(), "/cfg/talvenir/registry.db");
    }
    ScopedEnv home("HOME", "/home/u");
    ScopedEnv relative("XDG_CONFIG_HOME", "cfg");
    EXPECT_EQ(RegistryHive::local(RootKey::CurrentUser).path(),
              "/home/u/.config/talvenir/registry.db");
    test::ScopedHives hives;
    EXPECT_EQ(RegistryHive::local(RootKey::CurrentUser).path(), hives.userHive());
    EXPECT_EQ(RegistryHive::local(RootKey::LocalMachine).path(), hives.machineHive());
}

class RemoteHiveTest : public ::testing::Test {
protected:
    test::TempDir dir_;
    ScopedEnv remote_{"TALVENIR_REMOTE_HIVE", dir_.path() + "/%s/etc/%s.db"};
};

TEST_F(RemoteHiveTest, ReplacesEveryPlaceholderWithTheServerNameLiterally) {
    ASSERT_EQ(::mkdir(dir_.file("srv%d").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(dir_.file("srv%d/etc").c_str(), 0700), 0);
    makeHive(dir_.file("srv%d/etc/srv%d.db"));
    RegistryHive hive = RegistryHive::atPath("");
    ASSERT_EQ(RegistryHive::connectRemote(u"\\\\srv%d", hive), RegStatus::Ok);
    EXPECT_EQ(hive.path(), dir_.file("srv%d/etc/srv%d.db"));
    RegistryKey key;
    EXPECT_EQ(RegistryKey::open(hive, u"Software", KeyAccess::Read, key), RegStatus::Ok);
}

TEST_F(RemoteHiveTest, FailsForAServerWithoutAHive) {
    RegistryHive hive = RegistryHive::atPath("");
    EXPECT_EQ(RegistryHive::connectRemote(u"nowhere", hive), RegStatus::NotFound);
    ASSERT_EQ(::mkdir(dir_.file("bad").c_str(), 0700), 0);
    ASSERT_EQ(::mkdir(dir_.file("bad/etc").c_str(), 0700), 0);
    dir_.writeFile("bad/etc/bad.db", "not a hive at all, just some text....");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RegistryHive::connectRemote(u"bad", hive), RegStatus::BadHive);
    (void)::testing::internal::GetCapturedStderr();
    EXPECT_EQ(hive.path(), "");
}

TEST_F(RemoteHiveTest, RefusesServerNamesThatCouldLeaveTheFolder) {
    RegistryHive hive = RegistryHive::atPath("");
    for (const WStringView server :
         {WStringView(u""), WStringView(u"\\\\"), WStringView(u"a/b"), WStringView(u".."),
          WStringView(u"a..b"), WStringView(u".hidden"), WStringView(u"a\0b", 3),
          WStringView(u"\\\\../x")}) {
        EXPECT_EQ(RegistryHive::connectRemote(server, hive), RegStatus::InvalidArgument)
            << toUtf8(server);
    }
}

// Runs `body` in a child process without the right to write files it does not own; as root
// that means becoming nobody. Returns the child's exit status.
int runUnprivileged(const std::function<int()>& body) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(99);
        ::_exit(body());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 98;
}

TEST(ReadOnlyHive, ServesReadsAndRefusesWritesWithoutTouchingTheFile) {
    test::TempDir dir;
    const RegistryHive hive = RegistryHive::atPath(dir.file("machine.db"));
    makeHive(hive.path());
    const std::string before = dir.readFile("machine.db");
    ASSERT_EQ(::chmod(hive.path().c_str(), 0444), 0);
    ASSERT_EQ(::chmod(dir.path().c_str(), 0555), 0);

    const int result = runUnprivileged([&hive] {
        RegistryKey key;
        RegValue value;
        if (RegistryKey::open(hive, u"Software", KeyAccess::Read, key) != RegStatus::Ok)
            return 1;
        if (key.value(u"v", value) != RegStatus::Ok || value.text() != u"remote")
            return 2;
        if (RegistryKey::create(hive, u"Software", key) != RegStatus::AccessDenied)
            return 3;
        if (RegistryKey::open(hive, u"Software", KeyAccess::Write, key) !=
            RegStatus::AccessDenied) {
            return 4;
        }
        if (RegistryKey::deleteTree(hive, u"Software") != RegStatus::AccessDenied)
            return 5;
        const RegistryHive absent = RegistryHive::atPath(hive.path() + ".new");
        return RegistryKey::create(absent, u"K", key) == RegStatus::AccessDenied ? 0 : 6;
    });
    ASSERT_EQ(::chmod(dir.path().c_str(), 0700), 0);
    if (result == 99)
        GTEST_SKIP() << "cannot drop privileges";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(dir.readFile("machine.db"), before);
}

}  // namespace
}  // namespace korventa::reg
