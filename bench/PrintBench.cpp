// How much the job hand-off adds to the browser's own print: for a one-page and a 30-page
// document, the median time of a bare printToPdf call and of a direct print from the request
// to the job handed off (paper lookup, job key, record, PDF file, worker start), in one run.
// Then a one-page invoice (a published EN 16931 example) from the request to its finished PDF,
// the driver's invoice check included: the first of the run and the median once warm. Run it
// beside a copy of the driver library without its checks folder for the unchecked figures.
// Runs headless on temporary hives and folders; prints a table.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPageLayout>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QWebEnginePage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/UserPrompts.h"
#include "driver/FinishedJobEntry.h"
#include "print/PostActionWorker.h"
#include "view/EdgeView.h"
#include "view/PrintLayout.h"

namespace korventa {
namespace {

constexpr int kRounds = 7;
constexpr WStringView kPrinter = u"Bench PDF";

class SilentPrompts final : public UserPrompts {
public:
    void show(const WString& text) override { std::fprintf(stderr, "%s\n", toUtf8(text).c_str()); }
    PromptAnswer askYesNoCancel(const WString&, const WString&) override {
        return PromptAnswer::No;
    }
    void showMessage(const WString& text) override { show(text); }
    std::optional<WString> chooseFileToOpen(const std::vector<FileFilter>&) override { return {}; }
    std::optional<WString> choosePaper(const WString&, const std::vector<PaperChoice>&,
                                       const WString&) override {
        return {};
    }
    void showAbout() override {}
};

// One queue set to A4.
class BenchSpooler final : public PrintSpooler {
public:
    bool localPrinters(std::vector<PrinterInfo>& out) override {
        out = {{WString(kPrinter), u"Veltrix PDF Pro"}};
        return true;
    }
    bool hasPrinter(WStringView name) override { return name == kPrinter; }
    bool queuePapers(WStringView, QueuePapers& out) override {
        out = {{kA4}, kA4};
        return true;
    }
    bool setDefaultPaper(WStringView, WStringView) override { return false; }

private:
    const PaperSize kA4{u"iso_a4_210x297mm", 2100, 2970};
};

// Runs the event loop until `done` is true; false after the limit.
bool waitUntil(const std::function<bool()>& done, int limitMs = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(1, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string pages(int count) {
    std::string html = "<html><head><title>Bench</title><style>section{page-break-after:always;"
                       "background:#eef}</style></head><body>";
    for (int i = 1; i <= count; ++i) {
        html += "<section><h1>Page " + std::to_string(i) + "</h1>";
        for (int line = 0; line < 40; ++line)
            html += "<p>Invoice line " + std::to_string(line) + ": 12.50 EUR</p>";
        html += "</section>";
    }
    return html + "</body></html>";
}

// The same layout the view prints with, so only the work around the call differs.
double rawPrint(QWebEnginePage& page, PrintSpooler& spooler) {
    PdfPrintSettings settings;
    ReadPrinterPaper(spooler, kPrinter, settings);
    QPageLayout layout;
    ApplyPrintSettings(settings, layout);
    bool done = false;
    QElapsedTimer timer;
    timer.start();
    page.printToPdf([&done](const QByteArray&) { done = true; }, layout);
    (void)waitUntil([&done] { return done; });
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// From the create command to the hand-off or, with `untilFinished`, to the driver's finished
// entry (the PDF in its folder); an invoice print when `xml` is not empty. The driver's
// finishing ends before the next round either way, so it does not weigh on it.
double timePrint(CEdgeView& view, const std::string& xml, bool untilFinished) {
    bool done = false;
    const auto connection =
        QObject::connect(&view, &CEdgeView::printFinished, [&done] { done = true; });
    QElapsedTimer timer;
    timer.start();
    RequestState& state = view.requestState();
    state.printerName = WString(kPrinter);
    state.emailEnable = 0;
    state.intentModeSet = 0;
    state.zugferdRequest = xml.empty() ? 0 : 1;
    state.facturXml = xml;
    (void)view.StartPdfPrint();
    (void)waitUntil([&done] { return done; });
    QObject::disconnect(connection);
    const auto finishingEnded = [] { return runningPostActions() == 0; };
    if (!untilFinished) {
        const double elapsed = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        (void)waitUntil(finishingEnded);
        return elapsed;
    }
    (void)waitUntil(finishingEnded);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void benchInvoice(CEdgeView& view) {
    QFile example(QStringLiteral(KORVENTA_SHARED_DIR "/en16931/examples/CII_example1.xml"));
    if (!example.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "note: %s is missing; no invoice figures\n",
                     example.fileName().toLocal8Bit().constData());
        return;
    }
    const std::string xml = example.readAll().toStdString();
    const double first = timePrint(view, xml, true);
    std::vector<double> warm;
    for (int round = 0; round < kRounds; ++round)
        warm.push_back(timePrint(view, xml, true));
    SettingsMap entry;
    const bool read = readFinishedJob(view.lastJobKeyName(), entry) == reg::RegStatus::Ok;
    const std::string check = !read || entry[u"InvoiceCheck"].empty()
                                  ? std::string("(no entry)")
                                  : toUtf8(entry[u"InvoiceCheck"]);
    std::printf("\n%-10s %18s %18s  %s\n", "invoice", "first (ms)", "warm median (ms)",
                "invoice check");
    std::printf("%-10s %18.1f %18.1f  %s\n", "1 page", first, median(warm), check.c_str());
}

int runBench(const QTemporaryDir& folder) {
    SilentPrompts prompts;
    FailureReporter failures(prompts);
    BenchSpooler spooler;
    const DriverLibrary driver = DriverLibrary::load();
    if (!driver.isLoaded())
        std::fprintf(stderr, "note: the driver library is not on the search path; no jobs\n");
    CEdgeView view(failures, prompts, spooler, driver);
    view.resize(1024, 768);
    view.InitializeWebView();
    if (!waitUntil([&view] { return view.hasBrowser(); }))
        return 1;

    std::printf("%-10s %16s %22s %8s\n", "document", "printToPdf (ms)", "create to hand-off (ms)",
                "ratio");
    for (const int count : {1, 30}) {
        const QString file = folder.filePath(QStringLiteral("bench-%1.html").arg(count));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly))
            return 1;
        out.write(QByteArray::fromStdString(pages(count)));
        out.close();
        view.requestState().currentAddress = file.toStdU16String();
        view.NavigateCurrent();
        if (!waitUntil([&view] { return view.isIdle(); }))
            return 1;
        std::vector<double> raw;
        std::vector<double> full;
        for (int round = 0; round < kRounds; ++round) {
            raw.push_back(rawPrint(*view.page(), spooler));
            full.push_back(timePrint(view, std::string(), false));
        }
        std::printf("%-10s %16.1f %22.1f %8.2f\n",
                    (std::to_string(count) + (count == 1 ? " page" : " pages")).c_str(),
                    median(raw), median(full), median(full) / median(raw));
    }
    benchInvoice(view);
    return 0;
}

}  // namespace
}  // namespace korventa

int main(int argc, char* argv[]) {
    if (std::getenv("DISPLAY") == nullptr)
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    if (::geteuid() == 0)
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    QApplication application(argc, argv);
    const QTemporaryDir folder;
    if (!folder.isValid())
        return 1;
    // Hives, job folders, the finished documents and the browser's data stay in the folder.
    for (const auto& [name, leaf] :
         {std::pair{"TALVENIR_USER_HIVE", "user.db"}, {"TALVENIR_MACHINE_HIVE", "machine.db"},
          {"HOME", "home"}, {"XDG_CACHE_HOME", "cache"}, {"XDG_DATA_HOME", "data"},
          {"XDG_CONFIG_HOME", "config"}, {"XDG_RUNTIME_DIR", "."}}) {
        ::setenv(name, folder.filePath(QString::fromLatin1(leaf)).toLocal8Bit().constData(), 1);
    }
    return korventa::runBench(folder);
}
