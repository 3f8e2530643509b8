#include "app/WindowProgram.h"

#include <QApplication>
#include <QLoggingCategory>
#include <cstdio>
#include <vector>

#include "app/CommandLine.h"
#include "app/KorventaApp.h"
#include "core/Text.h"

namespace korventa {

void quietTerminalLogging() {
    // "default.info" carries the browser's "Sandboxing disabled by user."; the context
    // category its 24-line report of graphics and switches.
    QLoggingCategory::setFilterRules(QStringLiteral("default.info=false\n"
                                                    "qt.webenginecontext.info=false\n"
                                                    "korventa.console.info=false\n"));
}

int runWindowProgram(int argc, char* argv[], const std::function<void(CMainFrame&)>& started) {
    // Taken before QApplication removes the options it knows, so the command line is seen
    // exactly as it was given.
    std::vector<WString> arguments;
    for (int i = 0; i < argc; ++i) arguments.push_back(fromUtf8(argv[i]));
    switch (parseCommandLine(arguments).action) {
        case StartAction::Usage: {
            const std::string_view usage = usageText();
            std::fwrite(usage.data(), 1, usage.size(), stdout);
            return 0;
        }
        case StartAction::Version:
            std::printf("korventa %s\n", KORVENTA_VERSION);
            return 0;
        case StartAction::Window:
            break;
    }
    quietTerminalLogging();
    QApplication application(argc, argv);
    CKorventaApp korventaApp;
    if (!korventaApp.InitInstance(arguments))
        return 1;
    if (started)
        started(*korventaApp.mainFrame());
    return QApplication::exec();
}

}  // namespace korventa
