// The browser page of the view. It turns Qt's virtual hooks into signals and decides
// nothing: every navigation is accepted, every console message only reported; the feature
// components listen. Owned by the browser view; GUI thread only.
#pragma once

#include <QWebEnginePage>

namespace korventa {

class WebPage : public QWebEnginePage {
    Q_OBJECT

public:
    WebPage(QWebEngineProfile* profile, QObject* parent);

signals:
    void consoleMessageReceived(QWebEnginePage::JavaScriptConsoleMessageLevel level,
                                const QString& message, int line, const QString& source);
    void navigationRequested(const QUrl& url, QWebEnginePage::NavigationType type,
                             bool isMainFrame);

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int line, const QString& source) override;
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

}  // namespace korventa
