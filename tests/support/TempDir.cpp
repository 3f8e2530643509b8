#include "support/TempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace korventa::test {
namespace {

void restoreEnv(const char* name, bool had, const std::string& value) {
    if (had) {
        ::setenv(name, value.c_str(), 1);
    } else {
        ::unsetenv(name);
    }
}

bool saveEnv(const char* name, std::string& value) {
    const char* current = std::getenv(name);
    if (current == nullptr) return false;
    value = current;
    return true;
}

}  // namespace

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korventa-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void TempDir::writeFile(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::readFile(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ScopedHives::ScopedHives()
    : hadUser_(saveEnv("TALVENIR_USER_HIVE", savedUser_)),
      hadMachine_(saveEnv("TALVENIR_MACHINE_HIVE", savedMachine_)) {
    ::setenv("TALVENIR_USER_HIVE", userHive().c_str(), 1);
    ::setenv("TALVENIR_MACHINE_HIVE", machineHive().c_str(), 1);
}

ScopedHives::~ScopedHives() {
    restoreEnv("TALVENIR_USER_HIVE", hadUser_, savedUser_);
    restoreEnv("TALVENIR_MACHINE_HIVE", hadMachine_, savedMachine_);
}

}  // namespace korventa::test
