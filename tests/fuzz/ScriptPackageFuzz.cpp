// Fuzz target for the script package reader: each input is written as the package file and
// the Handlebars entry is read from it. The file lives in memory-backed /dev/shm when it can
// (else TMPDIR) and is made once per process, removed at exit.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "appmode/ScriptPackage.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class PackageFile {
public:
    PackageFile() {
        for (const std::string& folder : {std::string("/dev/shm"), tempFolder()}) {
            std::string pattern = folder + "/korventa-fuzz-XXXXXX";
            const int fd = mkstemp(pattern.data());
            if (fd < 0) continue;
            close(fd);
            path_ = pattern;
            return;
        }
        std::abort();
    }
    ~PackageFile() { unlink(path_.c_str()); }
    PackageFile(const PackageFile&) = delete;
    PackageFile& operator=(const PackageFile&) = delete;

    void write(const std::uint8_t* data, std::size_t size) const {
        std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path_.c_str(), "wb"));
        // An empty input comes with no buffer at all; fwrite must not see a null pointer.
        if (!file || (size > 0 && std::fwrite(data, 1, size, file.get()) != size)) std::abort();
        if (std::fclose(file.release()) != 0) std::abort();
    }

    [[nodiscard]] const std::string& path() const { return path_; }

private:
    static std::string tempFolder() {
        const char* folder = std::getenv("TMPDIR");
        return folder != nullptr && *folder != '\0' ? folder : "/tmp";
    }

    std::string path_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const PackageFile package;
    package.write(data, size);
    const std::string entry =
        korventa::ReadScriptPackageEntry(korventa::fromUtf8(package.path()), "handlebars.min.js");
    (void)entry;
    return 0;
}
