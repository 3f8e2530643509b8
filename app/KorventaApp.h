// The application object: the start-up sequence (locale, application names, the main window,
// the command line, the application mode). Holds the services the window borrows (prompts,
// failure reporter, spooler, layered settings) and the main window itself, in that order so
// that the window goes first. Created once by main on the GUI thread, after the QApplication.
#pragma once

#include <memory>
#include <vector>

#include "app/CheckFailure.h"
#include "app/QtUserPrompts.h"
#include "driver/LayeredSettings.h"
#include "platform/spooler/CupsSpooler.h"

namespace korventa {

class CMainFrame;

class CKorventaApp {
public:
    CKorventaApp();
    ~CKorventaApp();
    CKorventaApp(const CKorventaApp&) = delete;
    CKorventaApp& operator=(const CKorventaApp&) = delete;

    // Shows the main window and starts the application mode when the command line asks for it;
    // false ends the process before the event loop.
    [[nodiscard]] bool InitInstance(const std::vector<WString>& arguments);
    // Null before InitInstance.
    [[nodiscard]] CMainFrame* mainFrame() const { return mainFrame_.get(); }

private:

    QtUserPrompts prompts_;
    FailureReporter failures_{prompts_};
    CupsSpooler spooler_;
    LayeredSettings layers_;
    std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace korventa
