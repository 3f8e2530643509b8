// The whole main window as a user meets it, in this process: temporary hives, home and data
// folders, a spooler with one queue of the driver's model, the reference driver, prompts that
// record what they were asked. Tests reach it only as a user does: mouse clicks on widgets and
// on page coordinates, keys to whatever has the focus.
#pragma once

#include <gtest/gtest.h>

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <memory>
#include <string>

#include "app/CheckFailure.h"
#include "driver/FakeSpooler.h"
#include "driver/LayeredSettings.h"
#include "support/TempDir.h"
#include "view/ScriptedPrompts.h"

class QWidget;
class QAbstractButton;

namespace korventa {

class CMainFrame;

namespace test {

constexpr int kWaitMs = 20000;
inline constexpr WStringView kDriverQueue = u"Veltrix_PDF_Pro";
inline constexpr WStringView kConverterKey = u"Software\\TALVENIR\\KORVENTA\\KORVENTA";

class WindowHarness : public testing::Test {
protected:
    WindowHarness();
    ~WindowHarness() override;

    // Builds and shows the window and waits until its first page has loaded.
    void openWindow();
    // The page's address once it has loaded one that is not `previous`.
    [[nodiscard]] QUrl waitForNewPage(const QUrl& previous);
    [[nodiscard]] QUrl pageUrl() const;
    [[nodiscard]] QVariant evaluate(const QString& script);
    // Centre of the element in the view's widget coordinates.
    [[nodiscard]] QPoint elementCentre(const QString& selector);
    void clickInPage(const QPoint& at);
    void keyToPage(Qt::Key key, Qt::KeyboardModifiers modifiers = {});
    void typeIntoPage(const QString& text);

    void click(QWidget* widget);
    // The ribbon's button with that text (as shown), or null.
    [[nodiscard]] QAbstractButton* ribbonButton(const QString& text) const;
    [[nodiscard]] QWidget* addressBox() const;
    [[nodiscard]] QWidget* focused() const;
    // Clicks into the address box, replaces its text by typing and ends with `key`.
    void typeAddress(const QString& text, Qt::Key key, Qt::KeyboardModifiers modifiers = {});

    // The status line's text and the visible status buttons' texts.
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] QAbstractButton* statusButton(const QString& text) const;
    // Waits until the status line starts with one of the texts.
    [[nodiscard]] bool waitForStatus(const QStringList& starts);

    // The data dialog the page scripts open, closed as a user closes it: Escape.
    [[nodiscard]] bool waitForDataDialog();

    void putUserText(WStringView keyPath, WStringView name, WStringView text);
    // The PDF's text as pdftotext reads it; empty when it cannot.
    [[nodiscard]] static std::string pdfText(const std::string& pdf);
    // The path after "PDF saved: " in the status line.
    [[nodiscard]] std::string savedPdf() const;
    [[nodiscard]] std::string pageFile(const std::string& name, const std::string& html);

    ScopedHives hives_;
    TempDir files_;
    ScriptedPrompts prompts_;
    FailureReporter failures_{prompts_};
    FakeSpooler spooler_{{{WString(kDriverQueue), u"Veltrix PDF Pro"}}};
    LayeredSettings layers_;
    std::unique_ptr<CMainFrame> frame_;
};

}  // namespace test
}  // namespace korventa
