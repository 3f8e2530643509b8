// The window program's main, shared by the installed program and its scripted test build:
// answers --help and --version without a display, keeps the terminal quiet, then runs the
// application object's start-up and the event loop. GUI thread; called once per process.
#pragma once

#include <functional>

namespace korventa {

class CMainFrame;

// The process's exit code. `started`, when given, receives the main window once it is shown
// and the command line has been acted on.
[[nodiscard]] int runWindowProgram(int argc, char* argv[],
                                   const std::function<void(CMainFrame&)>& started = {});

// Qt's and the browser's start-up reports and the pages' console messages stay off the
// terminal unless QT_LOGGING_RULES asks for them (it overrides these rules).
void quietTerminalLogging();

}  // namespace korventa
