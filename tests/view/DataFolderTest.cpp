#include "view/DataFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"
#include "view/BrowserEnvironment.h"

namespace korventa {
namespace {

TEST(DataFolder, PrefersLocalDataFolder) {
    EXPECT_EQ(chooseDataFolder({u"/home/u/.local/share", u"/home/u", u"/tmp"}),
              u"/home/u/.local/share/TALVENIR");
}

TEST(DataFolder, FallsBackToHomeFolder) {
    EXPECT_EQ(chooseDataFolder({std::nullopt, u"/home/u", u"/tmp"}), u"/home/u/.talvenir");
}

TEST(DataFolder, FallsBackToTheUsersOwnTemporaryFolderWithExactlyOneSeparator) {
    EXPECT_EQ(chooseDataFolder({std::nullopt, std::nullopt, u"/tmp", 1000}),
              u"/tmp/talvenri-1000");
    EXPECT_EQ(chooseDataFolder({std::nullopt, std::nullopt, u"/var/tmp/", 0}),
              u"/var/tmp/talvenri-0");
}

TEST(DataFolder, StaysEmptyWithoutAnySource) {
    EXPECT_EQ(chooseDataFolder({}), u"");
}

// Changes environment variables for one test and puts them back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            saved_ = old;
        if (value != nullptr) {
            ::setenv(name, value, 1);
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

private:
    const char* name_;
    std::optional<std::string> saved_;
};

TEST(DataFolder, IgnoresRelativeDataHomeAndUsesExistingLocalShare) {
    test::TempDir home;
    std::filesystem::create_directories(home.file(".local/share"));
    const ScopedEnv homeEnv("HOME", home.path().c_str());
    const ScopedEnv dataEnv("XDG_DATA_HOME", "relative/share");
    EXPECT_EQ(chooseDataFolder(currentFolderSources()),
              fromUtf8(home.file(".local/share/TALVENIR")));
}

TEST(DataFolder, UsesHomeFolderWhenLocalShareIsMissing) {
    test::TempDir home;
    const ScopedEnv homeEnv("HOME", home.path().c_str());
    const ScopedEnv dataEnv("XDG_DATA_HOME", nullptr);
    EXPECT_EQ(chooseDataFolder(currentFolderSources()), fromUtf8(home.file(".talvenir")));
}

TEST(DataFolder, HomeFolderInUseStaysWhenLocalShareAppearsLater) {
    test::TempDir home;
    const ScopedEnv homeEnv("HOME", home.path().c_str());
    const ScopedEnv dataEnv("XDG_DATA_HOME", nullptr);
    std::filesystem::create_directories(home.file(".talvenir"));
    std::filesystem::create_directories(home.file(".local/share"));
    EXPECT_EQ(chooseDataFolder(currentFolderSources()), fromUtf8(home.file(".talvenir")));
    std::filesystem::create_directories(home.file(".local/share/TALVENIR"));
    EXPECT_EQ(chooseDataFolder(currentFolderSources()),
              fromUtf8(home.file(".local/share/TALVENIR")));
}

TEST(DataFolder, UsesTemporaryFolderWithoutHome) {
    const ScopedEnv homeEnv("HOME", nullptr);
    const ScopedEnv dataEnv("XDG_DATA_HOME", nullptr);
    const ScopedEnv tmpEnv("TMPDIR", "/var/tmp/");
    EXPECT_EQ(chooseDataFolder(currentFolderSources()),
              u"/var/tmp/talvenri-" + fromUtf8(std::to_string(::geteuid())));
}

// The temporary folder is everyone's: the data folder made there is private, and one that is
// not the user's alone is refused rather than used.
TEST(BrowserDataFolder, IsMadePrivateAndRefusedWhenOthersCouldReachIt) {
    test::TempDir tmp;
    const std::string made = tmp.file("talvenri-1");
    EXPECT_EQ(BrowserEnvironment::prepareDataFolder(fromUtf8(made)), S_OK);
    struct stat info {};
    ASSERT_EQ(::stat(made.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    std::filesystem::create_directory(tmp.file("open"));
    ::chmod(tmp.file("open").c_str(), 0777);
    EXPECT_EQ(BrowserEnvironment::prepareDataFolder(fromUtf8(tmp.file("open"))), E_ACCESSDENIED);
    std::filesystem::create_directory_symlink(made, tmp.file("link"));
    EXPECT_EQ(BrowserEnvironment::prepareDataFolder(fromUtf8(tmp.file("link"))), E_ACCESSDENIED);
    tmp.writeFile("file", "x");
    EXPECT_EQ(BrowserEnvironment::prepareDataFolder(fromUtf8(tmp.file("file"))), E_FAIL);
    // Only root can give a folder away.
    if (::geteuid() == 0) {
        std::filesystem::create_directory(tmp.file("theirs"), made);
        ASSERT_EQ(::chown(tmp.file("theirs").c_str(), 65534, 65534), 0);
        EXPECT_EQ(BrowserEnvironment::prepareDataFolder(fromUtf8(tmp.file("theirs"))),
                  E_ACCESSDENIED);
    }
}

}  // namespace
}  // namespace korventa
