// A browser page for the page script suites: an off-the-record profile, a page loaded from
// markup with the program's message channel stubbed, and script runs with bounded waits on
// the event loop (never fixed sleeps). The page is shown in a view: a dialog's "close" event
// waits for a rendered frame, which a page without a view never gets. Window thread only;
// one per test.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <string_view>

#include "view/ConversionScript.h"

namespace korventa::test {

class PageHarness {
public:
    PageHarness();

    // Loads <html><head>head</head><body>body</body></html> and installs the stub that
    // collects posted messages in window.__posted and counts failed requests in
    // window.__failed.
    [[nodiscard]] bool load(const QString& body, const QString& head = {});
    // The script's last value; an invalid value when it failed or did not finish in time.
    [[nodiscard]] QVariant evaluate(const QString& script);
    [[nodiscard]] QVariant evaluate(std::string_view utf8Script);
    // Waits until the expression is truthy in the page.
    [[nodiscard]] bool waitUntil(const QString& expression);
    // Runs the assembled request script; the library goes in with the first run only.
    [[nodiscard]] bool request(WStringView xmlTemplate, const ConversionFlags& flags,
                               WStringView cmdClass);
    [[nodiscard]] QStringList posted();
    [[nodiscard]] int failedCount();

private:
    QWebEngineProfile profile_;  // off the record; outlives the page
    QWebEnginePage page_{&profile_};
    QWebEngineView view_;  // shows page_, which outlives it
    bool scriptsInjected_ = false;
};

}  // namespace korventa::test
