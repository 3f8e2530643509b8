// korventa-convert: builds the window's objects offscreen, hands the planned inputs to the
// batch converter and runs the event loop until the last one has finished.
#include <QApplication>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

#include "app/CheckFailure.h"
#include "app/WindowProgram.h"
#include "batch/BatchConverter.h"
#include "batch/BatchOptions.h"
#include "batch/BatchPlan.h"
#include "batch/ConsolePrompts.h"
#include "driver/LayeredSettings.h"
#include "frame/MainFrame.h"
#include "platform/spooler/CachingSpooler.h"
#include "platform/spooler/CupsSpooler.h"
#include "view/EdgeView.h"

namespace {

// Every print asks for the queue and its paper; within a run the scheduler is asked at most
// once a second, which still sees a queue changed during a long run.
constexpr std::chrono::seconds kSpoolerAnswerAge{1};

// No window is ever shown, so no display is needed; as root the browser runs without its
// sandbox, which refuses root. A caller's own settings win.
void setHeadlessDefaults() {
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu", 0);
    if (::geteuid() == 0)
        ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
}

}  // namespace

int main(int argc, char* argv[]) {
    using namespace korventa;
    BatchOptions options;
    std::string error;
    if (!parseBatchOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::fprintf(stderr, "korventa-convert: %s\nTry 'korventa-convert --help'.\n",
                     error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(batchUsage(), stdout);
        return 0;
    }
    if (options.version) {
        std::printf("korventa-convert %s\n", KORVENTA_VERSION);
        return 0;
    }
    setHeadlessDefaults();
    quietTerminalLogging();
    QApplication application(argc, argv);
    std::setlocale(LC_ALL, "");
    QCoreApplication::setOrganizationName(QStringLiteral("TALVENIR"));
    QCoreApplication::setApplicationName(QStringLiteral("KORVENTA"));

    ConsolePrompts prompts;
    FailureReporter failures(prompts);
    CupsSpooler scheduler;
    CachingSpooler spooler(scheduler, kSpoolerAnswerAge);
    LayeredSettings layers;
    const std::vector<BatchItem> items = planBatch(options);
    CMainFrame frame(failures, prompts, spooler, layers);
    frame.show();
    BatchConverter converter(frame, prompts, options, items, stdout,
                             ::isatty(STDERR_FILENO) ? stderr : nullptr);
    if (!converter.prepare(error)) {
        std::fprintf(stderr, "korventa-convert: %s\n", error.c_str());
        return 2;
    }
    QObject::connect(&converter, &BatchConverter::finished, &application, &QCoreApplication::quit);
    converter.start();
    QApplication::exec();
    const int failed = converter.failures();
    const int invalid = converter.invalidInvoices();
    std::printf("%zu finished, %d failed",
                items.size() - static_cast<std::size_t>(failed) - static_cast<std::size_t>(invalid),
                failed);
    if (invalid > 0)
        std::printf(", %d invalid", invalid);
    std::printf("\n");
    const int status = failed == 0 && (invalid == 0 || options.allowInvalid) ? 0 : 1;
    // The browser cannot be taken down under a print that never ended; the process ends
    // without taking it down, and its renderers end with it. Every job is recorded by now.
    if (frame.view()->isPrinting()) {
        std::fflush(stdout);
        std::_Exit(status);
    }
    return status;
}
