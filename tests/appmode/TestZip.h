// Builds small zip packages for the package reader's tests through minizip's zip interface,
// and patches the header fields that damaged packages differ in. Test-only, single thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace korventa::test {

struct ZipEntry {
    std::string name;
    std::string bytes;
    bool deflated = true;
};

[[nodiscard]] bool writeZip(const std::string& path, const std::vector<ZipEntry>& entries);

// Offsets of the first entry's local header and central directory record in a package.
[[nodiscard]] std::size_t localHeaderOffset(const std::string& zip);
[[nodiscard]] std::size_t centralHeaderOffset(const std::string& zip);

void patchUint16(std::string& zip, std::size_t offset, std::uint16_t value);
void patchUint32(std::string& zip, std::size_t offset, std::uint32_t value);

// Declares new sizes (compressed and uncompressed) or a new method for the first entry, in
// both of its headers, so the library's header consistency check still passes.
void declareSizes(std::string& zip, std::uint32_t compressed, std::uint32_t uncompressed);
void declareMethod(std::string& zip, std::uint16_t method);

}  // namespace korventa::test
