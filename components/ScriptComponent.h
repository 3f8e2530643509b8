// Copies the page's console messages (top page, frames, dedicated workers) to the
// debugger-output counterpart: the logging category "korventa.console" on standard error.
// Holds only its connection to the page, which must outlive it; GUI thread only.
#pragma once

#include <QLoggingCategory>
#include <QMetaObject>

#include "app/CheckFailure.h"
#include "components/ComponentBase.h"
#include "components/WebPage.h"

Q_DECLARE_LOGGING_CATEGORY(korventaConsole)

namespace korventa {

class ScriptComponent : public ComponentBase {
public:
    ScriptComponent(WebPage& page, FailureReporter& failures);
    ~ScriptComponent() override;

private:
    static void writeConsoleEvent(QWebEnginePage::JavaScriptConsoleMessageLevel level,
                                  const QString& message, int line, const QString& source);

    QMetaObject::Connection consoleConnection_;
};

}  // namespace korventa
