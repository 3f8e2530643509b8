#include "window/WindowHarness.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "frame/AddressCombo.h"
#include "frame/MainFrame.h"
#include "platform/registry/RegistryHive.h"
#include "platform/registry/RegistryKey.h"
#include "view/EdgeView.h"

namespace korventa::test {
namespace {

QWebEngineView* browserOf(const CMainFrame& frame) {
    return frame.view()->findChild<QWebEngineView*>();
}

}  // namespace

WindowHarness::WindowHarness() {
    for (const auto& [variable, folder] :
         {std::pair{"HOME", ""}, std::pair{"XDG_DATA_HOME", "/data"},
          std::pair{"XDG_CACHE_HOME", "/cache"}, std::pair{"XDG_CONFIG_HOME", "/config"}}) {
        ::setenv(variable, (files_.path() + folder).c_str(), 1);
    }
    putUserText(kConverterKey, u"ConvertURL",
                fromUtf8(pageFile("start.html", "<title>Start</title><p>start</p>")));
}

WindowHarness::~WindowHarness() = default;

void WindowHarness::openWindow() {
    frame_ = std::make_unique<CMainFrame>(failures_, prompts_, spooler_, layers_);
    frame_->show();
    QApplication::setActiveWindow(frame_.get());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return frame_->isReady(); }, kWaitMs));
}

QUrl WindowHarness::pageUrl() const {
    return frame_->view()->page()->url();
}

QUrl WindowHarness::waitForNewPage(const QUrl& previous) {
    (void)QTest::qWaitFor([&] { return frame_->isReady() && pageUrl() != previous; }, kWaitMs);
    return pageUrl();
}

QVariant WindowHarness::evaluate(const QString& script) {
    QVariant result;
    bool done = false;
    frame_->view()->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, kWaitMs)) << script.toStdString();
    return result;
}

QPoint WindowHarness::elementCentre(const QString& selector) {
    const QVariantList centre =
        evaluate(QStringLiteral("(() => { const r = document.querySelector('%1')"
                                ".getBoundingClientRect(); return [r.x + r.width / 2, "
                                "r.y + r.height / 2]; })()")
                     .arg(selector))
            .toList();
    return centre.size() == 2 ? QPoint(centre[0].toInt(), centre[1].toInt()) : QPoint();
}

void WindowHarness::clickInPage(const QPoint& at) {
    QWidget* surface = browserOf(*frame_)->focusProxy();
    QTest::mouseMove(surface, at);
    QTest::mouseClick(surface, Qt::LeftButton, {}, at);
}

void WindowHarness::keyToPage(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(browserOf(*frame_)->focusProxy(), key, modifiers);
}

void WindowHarness::typeIntoPage(const QString& text) {
    QTest::keyClicks(browserOf(*frame_)->focusProxy(), text);
}

void WindowHarness::click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

QAbstractButton* WindowHarness::ribbonButton(const QString& text) const {
    for (auto* button : frame_->menuWidget()->findChildren<QAbstractButton*>()) {
        if (QString(button->text()).replace(u'\n', u' ') == text)
            return button;
    }
    return nullptr;
}

QWidget* WindowHarness::addressBox() const {
    return frame_->menuWidget()->findChild<AddressCombo*>();
}

QWidget* WindowHarness::focused() const {
    return QApplication::focusWidget();
}

void WindowHarness::typeAddress(const QString& text, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    click(addressBox());
    ASSERT_NE(focused(), nullptr);
    QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(focused(), text);
    QTest::keyClick(focused(), key, modifiers);
}

QString WindowHarness::statusText() const {
    const auto labels = frame_->statusBar()->findChildren<QLabel*>();
    return labels.isEmpty() ? QString() : labels.front()->text();
}

QAbstractButton* WindowHarness::statusButton(const QString& text) const {
    for (auto* button : frame_->statusBar()->findChildren<QAbstractButton*>()) {
        if (button->text() == text && button->isVisible())
            return button;
    }
    return nullptr;
}

bool WindowHarness::waitForStatus(const QStringList& starts) {
    return QTest::qWaitFor(
        [&] {
            const QString text = statusText();
            return std::any_of(starts.begin(), starts.end(),
                               [&text](const QString& start) { return text.startsWith(start); });
        },
        kWaitMs);
}

bool WindowHarness::waitForDataDialog() {
    return QTest::qWaitFor(
        [this] {
            return evaluate(QStringLiteral("!!document.getElementById('zugJsonDlg')?.open"))
                .toBool();
        },
        kWaitMs);
}

void WindowHarness::putUserText(WStringView keyPath, WStringView name, WStringView text) {
    reg::RegistryKey key;
    ASSERT_EQ(reg::RegistryKey::create(reg::RegistryHive::atPath(hives_.userHive()), keyPath, key),
              reg::RegStatus::Ok);
    ASSERT_EQ(key.setString(name, text), reg::RegStatus::Ok);
    ASSERT_EQ(key.close(), reg::RegStatus::Ok);
}

std::string WindowHarness::pdfText(const std::string& pdf) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(
        ::popen(("pdftotext '" + pdf + "' - 2>/dev/null").c_str(), "r"), ::pclose);
    std::string text;
    char chunk[4096];
    while (pipe) {
        const std::size_t count = std::fread(chunk, 1, sizeof chunk, pipe.get());
        if (count == 0)
            break;
        text.append(chunk, count);
    }
    return text;
}

std::string WindowHarness::savedPdf() const {
    const QString prefix = QStringLiteral("PDF saved: ");
    const QString text = statusText();
    return text.startsWith(prefix) ? text.mid(prefix.size()).toStdString() : std::string();
}

std::string WindowHarness::pageFile(const std::string& name, const std::string& html) {
    files_.writeFile(name, html);
    return files_.file(name);
}

}  // namespace korventa::test
