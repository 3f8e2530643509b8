#include "appmode/TestZip.h"

#include <zip.h>

#include <memory>
#include <type_traits>

namespace korventa::test {
namespace {

using ZipObject = std::remove_pointer_t<zipFile>;

struct ZipCloser {
    void operator()(ZipObject* zip) const { zipClose(zip, nullptr); }
};

bool addEntry(zipFile zip, const ZipEntry& entry) {
    const zip_fileinfo info{};
    if (zipOpenNewFileInZip(zip, entry.name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                            entry.deflated ? Z_DEFLATED : 0, Z_DEFAULT_COMPRESSION) != ZIP_OK)
        return false;
    const bool written = zipWriteInFileInZip(zip, entry.bytes.data(),
                                             static_cast<unsigned>(entry.bytes.size())) == ZIP_OK;
    return zipCloseFileInZip(zip) == ZIP_OK && written;
}

}  // namespace

bool writeZip(const std::string& path, const std::vector<ZipEntry>& entries) {
    std::unique_ptr<ZipObject, ZipCloser> zip(zipOpen64(path.c_str(), APPEND_STATUS_CREATE));
    if (!zip) return false;
    for (const ZipEntry& entry : entries) {
        if (!addEntry(zip.get(), entry)) return false;
    }
    return zipClose(zip.release(), nullptr) == ZIP_OK;
}

std::size_t localHeaderOffset(const std::string& zip) { return zip.find("PK\x03\x04"); }

std::size_t centralHeaderOffset(const std::string& zip) { return zip.find("PK\x01\x02"); }

void patchUint16(std::string& zip, std::size_t offset, std::uint16_t value) {
    zip[offset] = static_cast<char>(value & 0xFF);
    zip[offset + 1] = static_cast<char>(value >> 8);
}

void patchUint32(std::string& zip, std::size_t offset, std::uint32_t value) {
    patchUint16(zip, offset, static_cast<std::uint16_t>(value & 0xFFFF));
    patchUint16(zip, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

void declareSizes(std::string& zip, std::uint32_t compressed, std::uint32_t uncompressed) {
    const std::size_t local = localHeaderOffset(zip);
    const std::size_t central = centralHeaderOffset(zip);
    patchUint32(zip, local + 18, compressed);
    patchUint32(zip, local + 22, uncompressed);
    patchUint32(zip, central + 20, compressed);
    patchUint32(zip, central + 24, uncompressed);
}

void declareMethod(std::string& zip, std::uint16_t method) {
    patchUint16(zip, localHeaderOffset(zip) + 8, method);
    patchUint16(zip, centralHeaderOffset(zip) + 10, method);
}

}  // namespace korventa::test
