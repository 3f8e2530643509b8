#include "batch/BatchConverter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>
#include <QPointer>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <filesystem>
#include <system_error>

#include "frame/CommandId.h"
#include "frame/MainFrame.h"
#include "pagescripts/PageScripts.h"
#include "print/PostActionWorker.h"
#include "view/EdgeView.h"

namespace korventa {
namespace {

constexpr int kTickMs = 2;

// The data file's text as a JavaScript string literal (JSON string syntax is valid there).
std::string stringLiteral(const std::string& text) {
    const QByteArray list =
        QJsonDocument(QJsonArray{QJsonValue(QString::fromUtf8(text.data(),
                                                              static_cast<qsizetype>(text.size())))})
            .toJson(QJsonDocument::Compact);
    return list.mid(1, list.size() - 2).toStdString();
}

}  // namespace

BatchConverter::BatchConverter(CMainFrame& frame, ConsolePrompts& prompts,
                               const BatchOptions& options, std::vector<BatchItem> items,
                               std::FILE* out, std::FILE* progress)
    : frame_(frame),
      prompts_(prompts),
      options_(options),
      items_(std::move(items)),
      report_(out, progress, items_.size()),
      collated_(frame, options_, items_, report_) {
    ticker_.setInterval(kTickMs);
    connect(&ticker_, &QTimer::timeout, this, &BatchConverter::handleTick);
    connect(&collated_, &CollatedBatch::finished, this, [this](std::size_t handled) {
        current_ = handled;
        startItem();
    });
}

bool BatchConverter::prepare(std::string& error) {
    if (!options_.printer.empty()) {
        if (!frame_.setElementValue(ID_COMBO_PRINTERSEL, QString::fromStdString(options_.printer))) {
            error = "the printer \"" + options_.printer + "\" is not a queue of the driver";
            return false;
        }
        frame_.onCommand(ID_COMBO_PRINTERSEL, 0);
    }
    if (!options_.commandClass.empty()) {
        (void)frame_.setElementValue(ID_EDIT_CMD_CLASSNAME,
                                     QString::fromStdString(options_.commandClass));
        frame_.onCommand(ID_EDIT_CMD_CLASSNAME, 0);
    }
    if (options_.detectCommands >= 0)
        frame_.setSwitch(ID_CHECK_DETECTCMD, options_.detectCommands == 1);
    frame_.setSwitch(ID_CHECK_HTML_AS_TEMPLATE, options_.htmlAsTemplate);
    if (options_.hideCommands >= 0)
        frame_.commands().setHideCommands(options_.hideCommands == 1);
    // The data comes from the files; nobody is there to edit it.
    frame_.commands().setShowJsonWhenPrint(false);
    if (!options_.outputFolder.empty()) {
        std::error_code failure;
        std::filesystem::path folder = std::filesystem::absolute(options_.outputFolder, failure);
        if (failure)
            folder = options_.outputFolder;
        else
            std::filesystem::create_directories(folder, failure);
        if (failure) {
            error = "the output folder " + folder.string() + " cannot be made: " +
                    failure.message();
            return false;
        }
        frame_.view()->requestState().outputFolder = fromUtf8(folder.string());
    }
    return true;
}

// Invoices of one page are printed many to a document unless asked not to; a missing page
// is left to the one-by-one path, which reports it for every item.
void BatchConverter::start() {
    current_ = 0;
    std::error_code ignored;
    if (!options_.dataPaths.empty() && options_.collate && !items_.empty() &&
        (isAddress(items_.front().page) ||
         std::filesystem::is_regular_file(items_.front().page, ignored))) {
        collated_.start();
        return;
    }
    startItem();
}

void BatchConverter::startItem() {
    // A renderer ended by a given-up collated chunk is gone only once the browser says so.
    if (frame_.view()->isEndingRenderer()) {
        QTimer::singleShot(kTickMs, this, &BatchConverter::startItem);
        return;
    }
    if (current_ >= items_.size()) {
        stage_ = Stage::Draining;
        ticker_.start();
        return;
    }
    const BatchItem& item = items_[current_];
    if (!item.failure.empty()) {
        fail(item.failure);
        return;
    }
    std::error_code ignored;
    if (!isAddress(item.page) && !std::filesystem::is_regular_file(item.page, ignored)) {
        fail("no such page");
        return;
    }
    dataLiteral_ = "null";
    if (!item.dataFile.empty()) {
        std::string data;
        std::string failure;
        if (!readDataFile(item.dataFile, data, failure)) {
            fail(failure);
            return;
        }
        dataLiteral_ = stringLiteral(data);
    }
    (void)prompts_.takeLastText();
    printsBefore_ = frame_.view()->completedPrints();
    frame_.OpenAddress(fromUtf8(item.page));
    stage_ = Stage::Loading;
    clock_.start();
    ticker_.start();
}

void BatchConverter::handleTick() {
    report_.flush();
    if (stage_ == Stage::Draining) {
        if (report_.isDone()) {
            ticker_.stop();
            emit finished();
        }
        return;
    }
    const bool late = clock_.elapsed() > static_cast<qint64>(options_.timeoutSeconds) * 1000;
    if (stage_ == Stage::GivingUp) {
        if (frame_.view()->isPrinting() && late)
            abandon();
        else if (!frame_.view()->isPrinting() && !frame_.view()->isEndingRenderer())
            concludeGivenUp();
        return;
    }
    if (late) {
        giveUp();
        return;
    }
    if (!frame_.isReady())
        return;
    switch (stage_) {
        case Stage::Loading:
            readyPage();
            return;
        case Stage::Readying:
            return;
        case Stage::Converting:
            conclude();
            return;
        case Stage::GivingUp:
        case Stage::Draining:
            return;
    }
}

// The renderer goes with the request: a script that never ends would hold the site's next
// page too. A print under way is given the time-out once more instead, as the browser does
// not survive the end of a renderer that is printing.
void BatchConverter::giveUp() {
    frame_.view()->cancelConversion();
    frame_.view()->endRenderer();
    stage_ = Stage::GivingUp;
    clock_.restart();
}

// A print that never ends holds the browser for good: nothing after it can be converted.
void BatchConverter::abandon() {
    const std::string reason = timeoutReason() + ", and the print under way did not end";
    while (current_ < items_.size()) report_.addFailure(items_[current_++].label, reason);
    ticker_.stop();
    startItem();
}

// A print that ended after the time-out went to the driver: the line reports that job, as
// the driver finished it, rather than a time-out.
void BatchConverter::concludeGivenUp() {
    const CEdgeView& view = *frame_.view();
    if (view.completedPrints() != printsBefore_ && !view.lastJobKeyName().empty()) {
        report_.addJob(items_[current_].label, view.lastJobKeyName());
        next();
        return;
    }
    fail(timeoutReason());
}

std::string BatchConverter::timeoutReason() const {
    return "no answer within " + std::to_string(options_.timeoutSeconds) + " s";
}

// Whatever the page's own plugin would supply and however its config asks for the dialog,
// the item's data is what gets converted; a page that cannot take it fails the item.
void BatchConverter::readyPage() {
    QWebEnginePage* page = frame_.view()->page();
    if (page == nullptr) {
        fail("the browser is gone");
        return;
    }
    stage_ = Stage::Readying;
    const std::string call = std::string(batchDataScript()) + "(" + dataLiteral_ + ")";
    page->runJavaScript(QString::fromStdString(call), QWebEngineScript::MainWorld,
                        [converter = QPointer<BatchConverter>(this),
                         item = current_](const QVariant& result) {
                            if (converter != nullptr)
                                converter->handlePageReadied(item, result);
                        });
}

// A late answer for an item already given up (timed out) is dropped. Anything but a string
// (the page broke the script) counts as a refusal too.
void BatchConverter::handlePageReadied(std::size_t item, const QVariant& answer) {
    if (item != current_ || stage_ != Stage::Readying)
        return;
    if (answer.typeId() != QMetaType::QString) {
        fail("the page could not be readied for the conversion");
        return;
    }
    if (const QString refusal = answer.toString(); !refusal.isEmpty()) {
        fail(refusal.toStdString());
        return;
    }
    dispatch();
}

void BatchConverter::dispatch() {
    stage_ = Stage::Converting;
    frame_.onCommand(createCommand(), 0);
}

// The frame is idle again: the request ended, with a print or without one.
void BatchConverter::conclude() {
    CEdgeView& view = *frame_.view();
    if (view.completedPrints() == printsBefore_) {
        const WString reason = prompts_.takeLastText();
        fail(reason.empty() ? "the page gave no result" : "the page gave no result: " +
                                                               toUtf8(reason));
        return;
    }
    const WString& jobKey = view.lastJobKeyName();
    if (jobKey.empty()) {
        fail(noJobReason(view.requestState().printerName));
        return;
    }
    report_.addJob(items_[current_].label, jobKey);
    next();
}

void BatchConverter::fail(const std::string& reason) {
    report_.addFailure(items_[current_].label, reason);
    next();
}

void BatchConverter::next() {
    ticker_.stop();
    ++current_;
    QTimer::singleShot(0, this, &BatchConverter::startItem);
}

int BatchConverter::createCommand() const {
    if (options_.invoice)
        return options_.email ? ID_BUTTON_ZUGPDF2EMAIL : ID_BUTTON_ZUGPDF;
    return options_.email ? ID_BUTTON_PRINT2EMAIL : ID_BUTTON_PRINT2PDF;
}

}  // namespace korventa
