// A private temporary folder for one test, removed with everything in it at the end.
// Also points the user and machine hives into it, so tests never touch real settings.
#pragma once

#include <string>

namespace korventa::test {

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }
    [[nodiscard]] std::string file(const std::string& name) const { return path_ + "/" + name; }

    void writeFile(const std::string& name, const std::string& bytes) const;
    [[nodiscard]] std::string readFile(const std::string& name) const;

private:
    std::string path_;
};

// Sets TALVENIR_USER_HIVE and TALVENIR_MACHINE_HIVE to files in a fresh TempDir for the
// object's life and restores the previous values afterwards.
class ScopedHives {
public:
    ScopedHives();
    ~ScopedHives();
    ScopedHives(const ScopedHives&) = delete;
    ScopedHives& operator=(const ScopedHives&) = delete;

    [[nodiscard]] const TempDir& dir() const { return dir_; }
    [[nodiscard]] std::string userHive() const { return dir_.file("user.db"); }
    [[nodiscard]] std::string machineHive() const { return dir_.file("machine.db"); }

private:
    TempDir dir_;
    std::string savedUser_;
    std::string savedMachine_;
    bool hadUser_ = false;
    bool hadMachine_ = false;
};

}  // namespace korventa::test
