#include "components/ScriptComponent.h"

#include "components/ConsoleEventText.h"

Q_LOGGING_CATEGORY(korventaConsole, "korventa.console")

namespace korventa {
namespace {

std::string levelName(QWebEnginePage::JavaScriptConsoleMessageLevel level) {
    switch (level) {
        case QWebEnginePage::InfoMessageLevel:
            return "info";
        case QWebEnginePage::WarningMessageLevel:
            return "warning";
        case QWebEnginePage::ErrorMessageLevel:
            return "error";
    }
    return "unknown";
}

}  // namespace

ScriptComponent::ScriptComponent(WebPage& page, FailureReporter& failures)
    : consoleConnection_(QObject::connect(&page, &WebPage::consoleMessageReceived, &page,
                                          &ScriptComponent::writeConsoleEvent)) {
    if (!consoleConnection_)
        failures.CheckFailure(E_FAIL, FAILURE_LOCATION());
}

ScriptComponent::~ScriptComponent() {
    QObject::disconnect(consoleConnection_);
}

void ScriptComponent::writeConsoleEvent(QWebEnginePage::JavaScriptConsoleMessageLevel level,
                                        const QString& message, int line, const QString& source) {
    const std::string text =
        consoleEventText(levelName(level), message.toStdString(), line, source.toStdString());
    // The message handler ends each message with the line feed.
    qCInfo(korventaConsole).noquote() << QString::fromStdString(text);
}

}  // namespace korventa
