#include "view/DataFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"

namespace korventa {
namespace {

TEST(DataFolder, PrefersLocalDataFolder) {
    EXPECT_EQ(chooseDataFolder({u"/home/u/.local/share", u"/home/u", u"/tmp"}),
              u"/home/u/.local/share/TALVENIR");
}

TEST(DataFolder, FallsBackToHomeFolder) {
    EXPECT_EQ(chooseDataFolder({std::nullopt, u"/home/u", u"/tmp"}), u"/home/u/.talvenir");
}

TEST(DataFolder, FallsBackToTemporaryFolderWithExactlyOneSeparator) {
    EXPECT_EQ(chooseDataFolder({std::nullopt, std::nullopt, u"/tmp"}), u"/tmp/talvenri");
    EXPECT_EQ(chooseDataFolder({std::nullopt, std::nullopt, u"/var/tmp/"}), u"/var/tmp/talvenri");
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
    EXPECT_EQ(chooseDataFolder(currentFolderSources()), u"/var/tmp/talvenri");
}

}  // namespace
}  // namespace korventa
