#include "app/QtUserPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/AboutDialog.h"
#include "app/PaperDialog.h"

namespace korventa {
namespace {

QString qt(const WString& text) {
    return QString::fromStdU16String(text);
}

// "*.html;*.htm" / "*.html;*.htm" becomes the dialog's "*.html;*.htm (*.html *.htm)".
QString filterText(const FileFilter& filter) {
    QString patterns = qt(filter.pattern);
    patterns.replace(u';', u' ');
    return qt(filter.description) + QStringLiteral(" (") + patterns + QLatin1Char(')');
}

}  // namespace

void QtUserPrompts::show(const WString& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Error"), qt(text), QMessageBox::Ok);
    box.exec();
}

PromptAnswer QtUserPrompts::askYesNoCancel(const WString& caption, const WString& text) {
    QMessageBox box(QMessageBox::Warning, qt(caption), qt(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return PromptAnswer::Yes;
        case QMessageBox::No:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Cancel;
    }
}

void QtUserPrompts::showMessage(const WString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("KORVENTA"), qt(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

std::optional<WString> QtUserPrompts::chooseFileToOpen(const std::vector<FileFilter>& filters) {
    QStringList names;
    for (const auto& filter : filters) names << filterText(filter);
    QFileDialog dialog(QApplication::activeWindow());
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilters(names);
    if (!names.isEmpty())
        dialog.selectNameFilter(names.front());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().front().toStdU16String();
}

std::optional<WString> QtUserPrompts::choosePaper(const WString& printer,
                                                  const std::vector<PaperChoice>& papers,
                                                  const WString& current) {
    PaperDialog dialog(printer, papers, current, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.chosenPaper();
}

void QtUserPrompts::showAbout() {
    CAboutDlg dialog(QApplication::activeWindow());
    dialog.exec();
}

}  // namespace korventa
