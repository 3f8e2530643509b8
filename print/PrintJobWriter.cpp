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
        if (written <= 0) return false;
        bytes += written;
        count -= static_cast<std::size_t>(written);
    }
    return true;
}

// A file that cannot be opened or written keeps what it got; the job goes on regardless.
void copyStream(ByteStream& stream, int fd) {
    char chunk[PrintJobWriter::kCopyChunk];
    for (;;) {
        const std::size_t count = stream.read(chunk, sizeof chunk);
        if (count == 0 || !writeAll(fd, chunk, count)) return;
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
    request.facturXml.clear();
    slot.giveBack();
    return prepared >= 0 ? jobKey : WString();
}

void PrintJobWriter::writeJob(const WString& jobKey, const PrintedPage& page,
                              RequestState& request) {
    SettingsMap key;
    records_.read(jobKey, key);
    const WString folder = key[u"JobTempPath"];
    WString pdfPath;
    (void)GetTempFileNameW(folder, kTempPrefix, pdfPath);
    records_.writeBatch(jobKey, fixedValues(pdfPath, request));
    writeCommands(jobKey, page, request);
    if (!request.outputFolder.empty()) {
        records_.writeBatch(jobKey, {{WString(kOutputFolderValue), request.outputFolder}});
    }
    if (request.zugferdRequest != 0 && !request.facturXml.empty()) {
        writeInvoiceXml(jobKey, folder, request);
    }
    const UniqueFd pdf = openForOutput(pdfPath);
    if (pdf.isOpen() && page.pdf != nullptr) copyStream(*page.pdf, pdf.get());
    driver_.handOff(jobKey);
}

// The page may not name the job's own files, nor where the finished PDF goes: those values
// are the program's.
void PrintJobWriter::writeCommands(const WString& jobKey, const PrintedPage& page,
                                   RequestState& request) {
    if (request.commandMap.empty()) return;
    JobCommandMap commands = filterPageCommands(request.commandMap, page.pageAddress);
    std::erase_if(commands, [](const auto& entry) { return isOutputFolderName(entry.first); });
    request.commandMap.clear();
    if (!commands.empty()) records_.writeBatch(jobKey, commands);
}

void PrintJobWriter::writeInvoiceXml(const WString& jobKey, const WString& folder,
                                     const RequestState& request) {
    WString xmlPath;
    (void)GetTempFileNameW(folder, kTempPrefix, xmlPath);
    const std::string_view xml(request.facturXml.c_str(), std::strlen(request.facturXml.c_str()));
    if (const UniqueFd file = openForOutput(xmlPath); file.isOpen()) {
        (void)writeAll(file.get(), xml.data(), xml.size());
    }
    records_.writeBatch(jobKey, {{u"AnnZUGFeRD", xmlPath}});
}

}  // namespace korventa
