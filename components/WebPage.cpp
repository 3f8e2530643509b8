#include "components/WebPage.h"

namespace korventa {

WebPage::WebPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {}

void WebPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                       int line, const QString& source) {
    emit consoleMessageReceived(level, message, line, source);
}

bool WebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    emit navigationRequested(url, type, isMainFrame);
    return true;
}

}  // namespace korventa
