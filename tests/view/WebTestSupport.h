// Helpers for the suites that run the real browser: a view with scripted prompts and its
// own user data folder, and bounded waits on the event loop (never fixed sleeps).
#pragma once

#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <cstdlib>
#include <memory>

#include "driver/FakeSpooler.h"
#include "support/TempDir.h"
#include "view/EdgeView.h"
#include "view/ScriptedPrompts.h"

namespace korventa::test {

constexpr int kWaitMs = 15000;

struct BrowserHarness {
    // The user data folder goes into a fresh temporary folder, read by the view's constructor.
    static void useDataHome(const std::string& folder) {
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }

    // Starts the browser and waits until the first navigation was asked.
    [[nodiscard]] bool start() {
        QSignalSpy ready(view.get(), &CEdgeView::browserReady);
        view->InitializeWebView();
        return ready.wait(kWaitMs);
    }

    [[nodiscard]] bool waitForLoad() {
        QSignalSpy loaded(view->page(), &QWebEnginePage::loadFinished);
        return loaded.wait(kWaitMs) && loaded.front().front().toBool();
    }

    ScriptedPrompts prompts;
    FailureReporter reporter{prompts};
    FakeSpooler spooler{{}};
    std::unique_ptr<CEdgeView> view =
        std::make_unique<CEdgeView>(reporter, prompts, spooler, DriverLibrary{});
};

}  // namespace korventa::test
