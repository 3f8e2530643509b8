#include "batch/CollatedBatch.h"

#include <QByteArray>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <chrono>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <unistd.h>

#include "appmode/ScriptPackage.h"
#include "appmode/TextFile.h"
#include "batch/PdfSections.h"
#include "frame/ConversionRequest.h"
#include "frame/MainFrame.h"
#include "pagescripts/PageScripts.h"
#include "view/EdgeView.h"
#include "view/ResultIntake.h"
#include "view/TemplatePath.h"

namespace korventa {
namespace {

constexpr int kTickMs = 2;
constexpr const char* kRefused = "own page scripts";

// JSON text is a valid script literal; bytes that are not UTF-8 become U+FFFD, never a throw.
std::string literal(const nlohmann::json& value) {
    return value.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        text += part;
        text += '\n';
    }
    return text;
}

}  // namespace

CollatedBatch::CollatedBatch(CMainFrame& frame, const BatchOptions& options,
                             const std::vector<BatchItem>& items, BatchReport& report)
    : frame_(frame),
      options_(options),
      items_(items),
      report_(report),
      runToken_(std::to_string(::getpid()) + "-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())) {
    ticker_.setInterval(kTickMs);
    connect(&ticker_, &QTimer::timeout, this, &CollatedBatch::handleTick);
    writer_.setInterval(0);
    connect(&writer_, &QTimer::timeout, this, &CollatedBatch::handleWriteTick);
    deadline_.setSingleShot(true);
    // A renderer that is printing is not ended: the one-by-one path waits for its print.
    connect(&deadline_, &QTimer::timeout, this, [this] {
        frame_.view()->endRenderer();
        failChunk("no answer within " + std::to_string(options_.timeoutSeconds) + " s");
    });
}

void CollatedBatch::start() {
    frame_.OpenAddress(fromUtf8(items_.front().page));
    loading_ = true;
    deadline_.start(std::chrono::seconds(options_.timeoutSeconds));
    ticker_.start();
}

// Each chunk waits for the page to be idle, as a request of the window would; the load is
// the first wait.
void CollatedBatch::handleTick() {
    report_.flush();
    if (!frame_.isReady())
        return;
    ticker_.stop();
    if (loading_) {
        loading_ = false;
        const ConverterSettings settings = frame_.commands().settingsToSave();
        const ConversionOptions request{options_.email,          settings.htmlAsTemplate,
                                        options_.invoice,        false,
                                        settings.detectCommands, settings.hideCommands};
        applyConversionOptions(frame_.view()->requestState(), settings.printerName, request);
    }
    renderChunk();
}

void CollatedBatch::renderChunk() {
    entries_.clear();
    chunkStart_ = next_;
    std::vector<std::string> dataTexts;
    while (next_ < items_.size() && dataTexts.size() < kSectionsPerPrint) {
        Entry entry{next_++, {}, {}, {}};
        std::string text;
        const BatchItem& item = items_[entry.item];
        if (!item.failure.empty())
            entry.failure = item.failure;
        else if (readDataFile(item.dataFile, text, entry.failure))
            dataTexts.push_back(std::move(text));
        entries_.push_back(std::move(entry));
    }
    if (dataTexts.empty()) {
        endChunk();
        return;
    }
    deadline_.start(std::chrono::seconds(options_.timeoutSeconds));
    const unsigned chunk = chunk_;
    frame_.view()->page()->runJavaScript(
        QString::fromStdString(renderScript(dataTexts)), QWebEngineScript::MainWorld,
        [this, chunk](const QVariant& result) { handleRendered(result, chunk); });
}

// The first chunk brings the page scripts, after noting whether the page had its own: such a
// page decides for itself how its body is rendered, which only a request of its own honours.
std::string CollatedBatch::renderScript(const std::vector<std::string>& dataTexts) {
    const ConverterSettings settings = frame_.commands().settingsToSave();
    const WString xmlTemplate =
        options_.invoice
            ? ReadTextFile(templatePathFor(frame_.view()->requestState().currentAddress), u"UTF-8")
            : WString();
    const nlohmann::json flags{{"facturXml", options_.invoice},
                               {"htmlAsTemplate", settings.htmlAsTemplate},
                               {"detectCommands", settings.detectCommands},
                               {"hideCommands", settings.hideCommands}};
    const std::string call =
        "gkvt_collateOwn ? '" + std::string(kRefused) + "' : gkvt_collate.renderSections(" +
        literal(dataTexts) + ", " + literal(toUtf8(xmlTemplate)) + ", " + literal(flags) + ", " +
        literal(toUtf8(settings.commandClass)) + ", " + literal(markPrefix()) + ");";
    if (libraryInjected_)
        return call;
    libraryInjected_ = true;
    return joined({"var gkvt_collateOwn = typeof gkvt_zugFun !== 'undefined' || "
                   "typeof gkvt_veltCmds !== 'undefined' || typeof korventaPlugin !== 'undefined';",
                   ReadScriptPackageEntry("handlebars.min.js"), commandDetectionScript(),
                   templateRenderingScript(), collatedSectionsScript(), call});
}

std::string CollatedBatch::markPrefix() const {
    return "korventa-section:" + runToken_ + "/" + std::to_string(chunk_) + "/";
}

void CollatedBatch::handleRendered(const QVariant& result, unsigned chunk) {
    if (chunk != chunk_)
        return;
    const std::string text = result.toString().toStdString();
    if (text == kRefused) {
        stop(0);
        return;
    }
    nlohmann::json sections = nlohmann::json::parse(text, nullptr, false);
    std::size_t section = 0;
    sections_ = 0;
    for (Entry& entry : entries_) {
        if (!entry.failure.empty())
            continue;
        const nlohmann::json* answer =
            sections.is_array() && section < sections.size() ? &sections[section] : nullptr;
        ++section;
        if (answer != nullptr && answer->contains("message") && (*answer)["message"].is_string()) {
            entry.message = (*answer)["message"].get<std::string>();
            ++sections_;
        } else if (answer != nullptr && answer->contains("error") && (*answer)["error"].is_string()) {
            entry.failure = "the page gave no result: " + (*answer)["error"].get<std::string>();
        } else {
            entry.failure = "the page gave no result";
        }
    }
    if (sections_ == 0) {
        endChunk();
        return;
    }
    const bool printing = frame_.view()->PrintToBytes(
        [this, chunk](const QByteArray& pdf) { handlePrinted(pdf, chunk); });
    if (!printing)
        fallBack("a collated document cannot be printed");
}

void CollatedBatch::handlePrinted(const QByteArray& pdf, unsigned chunk) {
    if (chunk != chunk_)
        return;
    std::vector<std::string> parts;
    std::string error;
    if (pdf.isEmpty()) {
        fallBack("a collated print gave no PDF");
        return;
    }
    if (!splitPdfSections(std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())),
                          markPrefix(), sections_, parts, error)) {
        fallBack("a collated print cannot be cut into invoices: " + error);
        return;
    }
    std::size_t part = 0;
    for (Entry& entry : entries_) {
        if (entry.failure.empty())
            entry.pdf = std::move(parts[part++]);
    }
    endChunk();
}

// Writing a job waits mostly for the disk; one job per turn of the event loop lets the next
// chunk render and print meanwhile.
void CollatedBatch::handleWriteTick() {
    if (!writes_.empty()) {
        writeJob(writes_.front());
        writes_.pop_front();
    }
    report_.flush();
    if (!writes_.empty())
        return;
    writer_.stop();
    if (entries_.empty() && next_ >= items_.size())
        stop(items_.size());
}

// A part is written as the job of a request of its own: its section's commands and XML.
void CollatedBatch::writeJob(Entry& entry) {
    CEdgeView& view = *frame_.view();
    RequestState& state = view.requestState();
    if (entry.failure.empty()) {
        state.commandMap.clear();
        state.facturXml.clear();
        if (takeConversionResult(entry.message, state.commandMap, state.facturXml) !=
            IntakeStatus::Accepted) {
            entry.failure = "the page gave no result: invalid conversion result";
        }
    }
    if (!entry.failure.empty()) {
        report_.addFailure(items_[entry.item].label, entry.failure);
        return;
    }
    const WString jobKey =
        view.WritePrintedJob(QByteArray(entry.pdf.data(), static_cast<qsizetype>(entry.pdf.size())));
    if (jobKey.empty())
        report_.addFailure(items_[entry.item].label, noJobReason(state.printerName));
    else
        report_.addJob(items_[entry.item].label, jobKey);
}

void CollatedBatch::flushWrites() {
    for (Entry& entry : writes_) writeJob(entry);
    writes_.clear();
}

// The chunk's items fail, the rest go one by one: a view that did not answer in time is
// better served by the one-by-one path, which restarts what it must.
void CollatedBatch::failChunk(const std::string& reason) {
    flushWrites();
    for (Entry& entry : entries_)
        report_.addFailure(items_[entry.item].label, entry.failure.empty() ? reason : entry.failure);
    entries_.clear();
    stop(next_);
}

// Nothing of the chunk was written: its items are made again one by one.
void CollatedBatch::fallBack(const std::string& reason) {
    std::fprintf(stderr, "korventa-convert: %s; converting the rest one invoice at a time\n",
                 reason.c_str());
    flushWrites();
    entries_.clear();
    stop(chunkStart_);
}

void CollatedBatch::stop(std::size_t handled) {
    ++chunk_;
    deadline_.stop();
    ticker_.stop();
    writer_.stop();
    emit finished(handled);
}

// The chunk's entries join the writes; the next chunk renders at once, as the print that
// just ended left the view idle.
void CollatedBatch::endChunk() {
    for (Entry& entry : entries_) writes_.push_back(std::move(entry));
    entries_.clear();
    ++chunk_;
    deadline_.stop();
    writer_.start();
    if (next_ < items_.size()) {
        deadline_.start(std::chrono::seconds(options_.timeoutSeconds));
        renderChunk();
    }
}

}  // namespace korventa
