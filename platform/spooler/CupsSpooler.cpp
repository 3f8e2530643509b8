#include "platform/spooler/CupsSpooler.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "platform/spooler/CupsHandles.h"
#include "platform/spooler/CupsPaper.h"

namespace korventa {
namespace {

constexpr int kConnectTimeoutMs = 3000;
constexpr double kAnswerTimeoutSeconds = 3.0;

// One local queue as the library describes it: its destination (with the user's options merged
// in) and the scheduler's description of what it supports.
struct Queue {
    DestsHandle dest;
    DestInfoHandle info;
};

struct QueueAttributes {
    PrinterInfo printer;
    int type = 0;
    bool temporary = false;
};

// Our own connection instead of the library's default one: the default waits without bound on
// a scheduler that accepts but never answers.
HttpHandle connectToScheduler() {
    HttpHandle http(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                 kConnectTimeoutMs, nullptr));
    if (http)
        httpSetTimeout(http.get(), kAnswerTimeoutSeconds, nullptr, nullptr);
    return http;
}

// Some calls report success with no scheduler behind them; only the last error tells.
bool lastCallSucceeded() {
    return cupsLastError() < IPP_STATUS_REDIRECTION_OTHER_SITE;
}

std::string_view textOf(ipp_attribute_t* attribute) {
    const char* text = ippGetString(attribute, 0, nullptr);
    return text == nullptr ? std::string_view() : std::string_view(text);
}

void readQueueAttribute(ipp_attribute_t* attribute, QueueAttributes& queue) {
    const char* name = ippGetName(attribute);
    if (name == nullptr)
        return;
    const std::string_view key(name);
    if (key == "printer-name") {
        queue.printer.name = fromUtf8(textOf(attribute));
    } else if (key == "printer-make-and-model") {
        queue.printer.makeAndModel = fromUtf8(textOf(attribute));
    } else if (key == "printer-type") {
        queue.type = ippGetInteger(attribute, 0);
    } else if (key == "printer-is-temporary") {
        queue.temporary = ippGetBoolean(attribute, 0) != 0;
    }
}

bool isLocal(const QueueAttributes& queue) {
    return !queue.printer.name.empty() && !queue.temporary &&
           (queue.type & (CUPS_PRINTER_REMOTE | CUPS_PRINTER_DISCOVERED)) == 0;
}

// Printers come as groups of printer attributes separated by other groups.
void collectLocalQueues(ipp_t* response, std::vector<PrinterInfo>& out) {
    QueueAttributes queue;
    for (ipp_attribute_t* attribute = ippFirstAttribute(response);;
         attribute = ippNextAttribute(response)) {
        if (attribute != nullptr && ippGetGroupTag(attribute) == IPP_TAG_PRINTER) {
            readQueueAttribute(attribute, queue);
            continue;
        }
        if (isLocal(queue))
            out.push_back(std::move(queue.printer));
        queue = QueueAttributes();
        if (attribute == nullptr)
            return;
    }
}

bool queryLocalQueues(http_t* http, std::vector<PrinterInfo>& out) {
    static const char* const kAttributes[] = {"printer-name", "printer-make-and-model",
                                              "printer-type", "printer-is-temporary"};
    IppHandle request(ippNewRequest(IPP_OP_CUPS_GET_PRINTERS));
    ippAddStrings(request.get(), IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(kAttributes)), nullptr, kAttributes);
    ippAddInteger(request.get(), IPP_TAG_OPERATION, IPP_TAG_ENUM, "printer-type",
                  CUPS_PRINTER_LOCAL);
    ippAddInteger(request.get(), IPP_TAG_OPERATION, IPP_TAG_ENUM, "printer-type-mask",
                  CUPS_PRINTER_REMOTE | CUPS_PRINTER_DISCOVERED);
    const IppHandle response(cupsDoRequest(http, request.release(), "/"));
    // The scheduler answers "not found" when it has no queues at all.
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return true;
    if (!response || !lastCallSucceeded())
        return false;
    collectLocalQueues(response.get(), out);
    return true;
}

// Exact, case included: the scheduler itself would also accept the name in another case.
bool hasLocalQueue(http_t* http, WStringView name) {
    std::vector<PrinterInfo> queues;
    if (!queryLocalQueues(http, queues))
        return false;
    return std::any_of(queues.begin(), queues.end(),
                       [name](const PrinterInfo& queue) { return queue.name == name; });
}

// Checking the local list first also keeps the library from looking for a network printer
// of that name.
bool openQueue(http_t* http, WStringView name, Queue& queue) {
    if (!hasLocalQueue(http, name))
        return false;
    const std::string utf8 = toUtf8(name);
    queue.dest = DestsHandle(cupsGetNamedDest(http, utf8.c_str(), nullptr));
    if (!queue.dest)
        return false;
    queue.info = DestInfoHandle(cupsCopyDestInfo(http, queue.dest.get()));
    return queue.info != nullptr;
}

bool findPaper(http_t* http, const Queue& queue, const std::string& name, cups_size_t& size) {
    const std::string media = standardMediaName(name);
    return !media.empty() &&
           cupsGetDestMediaByName(http, queue.dest.get(), queue.info.get(), media.c_str(),
                                  CUPS_MEDIA_FLAGS_DEFAULT, &size) != 0;
}

void appendOptionParts(const cups_dest_t& dest, const char* option, std::vector<std::string>& out) {
    const char* value = cupsGetOption(option, dest.num_options, dest.options);
    if (value == nullptr)
        return;
    // `media` may also name a source and a type: "A4,Tray1".
    std::string_view rest(value);
    while (!rest.empty()) {
        const std::size_t comma = std::min(rest.find(','), rest.size());
        out.emplace_back(rest.substr(0, comma));
        rest.remove_prefix(std::min(comma + 1, rest.size()));
    }
}

std::vector<std::string> defaultPaperCandidates(http_t* http, const Queue& queue) {
    std::vector<std::string> candidates;
    appendOptionParts(*queue.dest, "media", candidates);
    appendOptionParts(*queue.dest, "PageSize", candidates);
    ipp_attribute_t* fallback =
        cupsFindDestDefault(http, queue.dest.get(), queue.info.get(), CUPS_MEDIA);
    if (fallback != nullptr)
        candidates.emplace_back(textOf(fallback));
    return candidates;
}

// A paper offered both with and without margins is listed once.
void appendUnlisted(PaperSize paper, std::vector<PaperSize>& papers) {
    const bool listed = std::any_of(papers.begin(), papers.end(), [&paper](const PaperSize& known) {
        return known.name == paper.name;
    });
    if (!listed)
        papers.push_back(std::move(paper));
}

std::vector<PaperSize> supportedPapers(http_t* http, const Queue& queue) {
    const int count =
        cupsGetDestMediaCount(http, queue.dest.get(), queue.info.get(), CUPS_MEDIA_FLAGS_DEFAULT);
    std::vector<PaperSize> papers;
    for (int index = 0; index < count; ++index) {
        cups_size_t size{};
        if (cupsGetDestMediaByIndex(http, queue.dest.get(), queue.info.get(), index,
                                    CUPS_MEDIA_FLAGS_DEFAULT, &size) == 0) {
            return {};
        }
        appendUnlisted(paperFromCups(size), papers);
    }
    return papers;
}

std::optional<PaperSize> currentPaper(http_t* http, const Queue& queue) {
    for (const std::string& candidate : defaultPaperCandidates(http, queue)) {
        cups_size_t size{};
        if (findPaper(http, queue, candidate, size))
            return paperFromCups(size);
    }
    return std::nullopt;
}

// Only names that cannot change the meaning of the user's option file go into it.
bool isPlainMediaName(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == '.';
    });
}

// The option file is rewritten whole from the destinations read here, so they must be
// complete: on any doubt nothing is written.
bool storeUserMedia(http_t* http, const std::string& printer, const std::string& paper) {
    cups_dest_t* all = nullptr;
    const int count = cupsGetDests2(http, &all);
    const DestsHandle dests(all, CupsDestsRelease{count});
    if (!lastCallSucceeded())
        return false;
    cups_dest_t* dest = cupsGetDest(printer.c_str(), nullptr, count, dests.get());
    if (dest == nullptr)
        return false;
    dest->num_options = cupsAddOption("media", paper.c_str(), dest->num_options, &dest->options);
    return cupsSetDests2(http, count, dests.get()) == 0;
}

}  // namespace

bool CupsSpooler::localPrinters(std::vector<PrinterInfo>& out) {
    out.clear();
    const HttpHandle http = connectToScheduler();
    std::vector<PrinterInfo> queues;
    if (!http || !queryLocalQueues(http.get(), queues))
        return false;
    out = std::move(queues);
    return true;
}

bool CupsSpooler::hasPrinter(WStringView name) {
    const HttpHandle http = connectToScheduler();
    return http && hasLocalQueue(http.get(), name);
}

bool CupsSpooler::queuePapers(WStringView printer, QueuePapers& out) {
    out = {};
    const HttpHandle http = connectToScheduler();
    Queue queue;
    if (!http || !openQueue(http.get(), printer, queue))
        return false;
    out.supported = supportedPapers(http.get(), queue);
    out.current = currentPaper(http.get(), queue);
    return true;
}

bool CupsSpooler::setDefaultPaper(WStringView printer, WStringView paperName) {
    const std::string paper = toUtf8(paperName);
    if (!isPlainMediaName(paper))
        return false;
    const HttpHandle http = connectToScheduler();
    Queue queue;
    cups_size_t size{};
    if (!http || !openQueue(http.get(), printer, queue) ||
        !findPaper(http.get(), queue, paper, size)) {
        return false;
    }
    return storeUserMedia(http.get(), toUtf8(printer), paper);
}

}  // namespace korventa
