#include "appmode/ScriptPackage.h"

#include <unzip.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <type_traits>

#include "appmode/ModuleFolder.h"

namespace korventa {
namespace {

constexpr unsigned kChunkSize = 8192;

using PackageObject = std::remove_pointer_t<unzFile>;

struct PackageCloser {
    void operator()(PackageObject* package) const { unzClose(package); }
};
using PackageHandle = std::unique_ptr<PackageObject, PackageCloser>;

// Owns the "entry is open" state of a package, not the package itself.
struct EntryCloser {
    void operator()(PackageObject* package) const { unzCloseCurrentFile(package); }
};
using OpenEntry = std::unique_ptr<PackageObject, EntryCloser>;

char foldAsciiLetter(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameEntryName(std::string_view stored, std::string_view wanted) {
    return std::equal(stored.begin(), stored.end(), wanted.begin(), wanted.end(),
                      [](char a, char b) { return foldAsciiLetter(a) == foldAsciiLetter(b); });
}

// Walks the directory from its start and stops on the first match, which becomes the current
// entry. Names are compared whole, so a name with an embedded NUL cannot pass for a shorter one.
bool locateEntry(unzFile package, std::string_view entryName, unz_file_info64& info) {
    for (int status = unzGoToFirstFile(package); status == UNZ_OK;
         status = unzGoToNextFile(package)) {
        if (unzGetCurrentFileInfo64(package, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
            return false;
        std::string name(info.size_filename, '\0');
        if (unzGetCurrentFileInfo64(package, &info, name.data(), info.size_filename, nullptr, 0,
                                    nullptr, 0) != UNZ_OK)
            return false;
        if (sameEntryName(name, entryName)) return true;
    }
    return false;
}

// The stream may end before the declared size, and then the library skips its CRC check:
// a short entry only counts as complete when its length is the declared one too.
std::string readCurrentEntry(unzFile package, const unz_file_info64& info) {
    if (unzOpenCurrentFile(package) != UNZ_OK) return {};
    OpenEntry entry(package);
    std::string bytes;
    std::array<char, kChunkSize> chunk{};
    for (;;) {
        const int count = unzReadCurrentFile(package, chunk.data(), kChunkSize);
        if (count == 0) break;
        if (count < 0) {
            std::printf("error %d with zipfile in unzReadCurrentFile\n", count);
            return bytes;
        }
        bytes.append(chunk.data(), static_cast<std::size_t>(count));
    }
    const bool checked = unzCloseCurrentFile(entry.release()) == UNZ_OK;
    if (checked && bytes.size() == info.uncompressed_size) bytes.push_back('\n');
    return bytes;
}

}  // namespace

WString scriptPackagePath() { return ModuleFolder() + kScriptPackageName; }

std::string ReadScriptPackageEntry(std::string_view entryName) {
    return ReadScriptPackageEntry(scriptPackagePath(), entryName);
}

std::string ReadScriptPackageEntry(WStringView packagePath, std::string_view entryName) {
    // A NUL would cut the file system path short and open some other file.
    if (packagePath.find(u'\0') != WStringView::npos) return "\n";
    const PackageHandle package(unzOpen64(toUtf8(packagePath).c_str()));
    if (!package) return "\n";
    unz_file_info64 info{};
    if (!locateEntry(package.get(), entryName, info)) return "\n";
    return readCurrentEntry(package.get(), info);
}

}  // namespace korventa
