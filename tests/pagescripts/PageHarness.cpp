#include "pagescripts/PageHarness.h"

#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <memory>
#include <optional>
#include <string>

#include "appmode/ScriptPackage.h"

namespace korventa::test {
namespace {

constexpr int kWaitMs = 15000;

const std::string& handlebarsSource() {
    static const std::string source = ReadScriptPackageEntry("handlebars.min.js");
    return source;
}

}  // namespace

PageHarness::PageHarness() {
    view_.setPage(&page_);
    view_.resize(800, 600);
    view_.show();
}

bool PageHarness::load(const QString& body, const QString& head) {
    QSignalSpy loaded(&page_, &QWebEnginePage::loadFinished);
    page_.setHtml("<!DOCTYPE html><html><head>" + head + "</head><body>" + body + "</body></html>",
                  QUrl("https://pages.test/invoice.html"));
    if (!loaded.wait(kWaitMs) || !loaded.front().front().toBool()) return false;
    scriptsInjected_ = false;
    return evaluate(QStringLiteral(
                        "window.__posted = []; window.__failed = 0;"
                        "window.chrome = {webview: {postMessage: m => window.__posted.push(m)}};"
                        "document.addEventListener('korventa-request-failed',"
                        " () => { window.__failed += 1; });"
                        "true"))
        .toBool();
}

QVariant PageHarness::evaluate(const QString& script) {
    // Shared with the callback, which the page always calls, possibly after a timeout here.
    auto result = std::make_shared<std::optional<QVariant>>();
    page_.runJavaScript(script, [result](const QVariant& value) { *result = value; });
    if (!QTest::qWaitFor([&result] { return result->has_value(); }, kWaitMs)) return {};
    return **result;
}

QVariant PageHarness::evaluate(std::string_view utf8Script) {
    return evaluate(QString::fromUtf8(utf8Script.data(), qsizetype(utf8Script.size())));
}

bool PageHarness::waitUntil(const QString& expression) {
    return QTest::qWaitFor([&] { return evaluate("Boolean(" + expression + ")").toBool(); },
                           kWaitMs);
}

bool PageHarness::request(WStringView xmlTemplate, const ConversionFlags& flags,
                          WStringView cmdClass) {
    const std::string script = assembleConversionScript(handlebarsSource(), xmlTemplate, flags,
                                                        cmdClass, scriptsInjected_);
    scriptsInjected_ = true;
    // A script that started its asynchronous part ends in a promise, which arrives as a map.
    return evaluate(script).typeId() == QMetaType::QVariantMap;
}

QStringList PageHarness::posted() {
    return evaluate(QStringLiteral("window.__posted")).toStringList();
}

int PageHarness::failedCount() { return evaluate(QStringLiteral("window.__failed")).toInt(); }

}  // namespace korventa::test
