#include "print/PrintJobWriter.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "print/TempFileName.h"
#include "core/UniqueFd.h"
#include "view/PageCommandFilter.h"

namespace korventa {
namespace {

constexpr WStringView kTempPrefix = u"efn";
constexpr WStringView kOutputFolderValue = u"JobOutputFolder";

UniqueFd openForOutput(const WString& path) {
    if (path.empty()) return UniqueFd();
    return UniqueFd(::open(toUtf8(path).c_str(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600));
}

bool writeAll(int fd, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t written = ::write(fd, bytes, count);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = ENOSPC;
            return false;
        }
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

void keepFirst(std::string& failure, const std::string& text) {
    if (failure.empty()) failure = text;
}

std::string reason(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

// Writes the whole file; false with errno set when it cannot be created or written.
bool writeFile(const WString& path, const char* bytes, std::size_t count) {
    const UniqueFd file = openForOutput(path);
    return file.isOpen() && writeAll(file.get(), bytes, count);
}

void copyStream(ByteStream& stream, const WString& path, std::string& failure) {
    const UniqueFd file = openForOutput(path);
    if (!file.isOpen()) return keepFirst(failure, reason("the PDF file cannot be created"));
    char chunk[PrintJobWriter::kCopyChunk];
    for (std::size_t count; (count = stream.read(chunk, sizeof chunk)) > 0;) {
        if (!writeAll(file.get(), chunk, count))
            return keepFirst(failure, reason("the PDF cannot be written"));
    }
}

bool isOutputFolderName(WStringView name) {
    if (name.size() != kOutputFolderValue.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto fold = [](char16_t c) {
            return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
        };
        if (fold(name[i]) != fold(kOutputFolderValue[i])) return false;
    }
    return true;
}

SettingsMap fixedValues(const WString& pdfPath, const RequestState& request) {
    SettingsMap values{
        {u"JobTempPDF", pdfPath},          {u"JobSrcPDFName", pdfPath},
        {u"JobPostSaveDlg", u"True"},      {u"DestPostSaveDlg", u"True"},
        {u"JobFlagDrag2PDF", u"128"},      {u"EmailEnable", boolText(request.emailEnable != 0)},
    };
    if (request.intentModeSet != 0) {
        const WString mode = fromUtf8(std::to_string(request.intentMode));
        values[u"DocIntentMode"] = mode;
        values[u"DocMetaMode"] = mode;
    }
    return values;
}

}  // namespace

WString PrintJobWriter::OnPdfStreamCompleted(const PrintedPage& page, RequestState& request,
                                             InstanceIdentity& identity, PrintingSlot& slot) {
    const std::int32_t number = identity.nextJobNumber();
    const WString jobKey = MakeJobKeyName(identity.jobPrefix(), number);
    const std::int32_t prepared =
        driver_.prepareJob(request.printerName, identity.jobPrefix(), page.documentTitle,
                           static_cast<std::uint32_t>(number));
    if (prepared >= 0)
        writeJob(jobKey, page, request);
    // What the page asked for belongs to this job: a job that was not prepared takes it along
    // rather than leave it to the next page's job.
    request.commandMap.clear();
    request.facturXml.clear();
    slot.giveBack();
    return prepared >= 0 ? jobKey : WString();
}

void PrintJobWriter::writeJob(const WString& jobKey, const PrintedPage& page,
                              RequestState& request) {
    SettingsMap key;
    records_.read(jobKey, key);
    const WString folder = key[u"JobTempPath"];
    std::string failure;
    WString pdfPath;
    if (!GetTempFileNameW(folder, kTempPrefix, pdfPath))
        keepFirst(failure, "no file can be made in the job folder " + toUtf8(folder));
    writeBatch(jobKey, fixedValues(pdfPath, request), failure);
    writeCommands(jobKey, page, request, failure);
    if (!request.outputFolder.empty())
        writeBatch(jobKey, {{WString(kOutputFolderValue), request.outputFolder}}, failure);
    if (request.zugferdRequest != 0 && !request.facturXml.empty())
        writeInvoiceXml(jobKey, folder, request, failure);
    if (page.pdf != nullptr && !pdfPath.empty()) copyStream(*page.pdf, pdfPath, failure);
    // When the store itself fails this may not land either; the driver then finds the
    // record incomplete, and a damaged PDF is refused by it all the same.
    if (!failure.empty()) (void)records_.writeBatch(jobKey, {{u"JobWriteError", fromUtf8(failure)}});
    driver_.handOff(jobKey);
}

// The page may not name the job's own files, nor where the finished PDF goes: those values
// are the program's.
void PrintJobWriter::writeCommands(const WString& jobKey, const PrintedPage& page,
                                   RequestState& request, std::string& failure) {
    if (request.commandMap.empty()) return;
    JobCommandMap commands = filterPageCommands(request.commandMap, page.pageAddress);
    std::erase_if(commands, [](const auto& entry) { return isOutputFolderName(entry.first); });
    request.commandMap.clear();
    if (!commands.empty()) writeBatch(jobKey, commands, failure);
}

void PrintJobWriter::writeInvoiceXml(const WString& jobKey, const WString& folder,
                                     const RequestState& request, std::string& failure) {
    WString xmlPath;
    const std::string_view xml(request.facturXml.c_str(), std::strlen(request.facturXml.c_str()));
    if (!GetTempFileNameW(folder, kTempPrefix, xmlPath) ||
        !writeFile(xmlPath, xml.data(), xml.size())) {
        keepFirst(failure, reason("the invoice XML cannot be written"));
    }
    writeBatch(jobKey, {{u"AnnZUGFeRD", xmlPath}}, failure);
}

void PrintJobWriter::writeBatch(const WString& jobKey, const SettingsMap& values,
                                std::string& failure) {
    if (!records_.writeBatch(jobKey, values))
        keepFirst(failure, "the job record " + toUtf8(jobKey) + " cannot be written");
}

}  // namespace korventa
