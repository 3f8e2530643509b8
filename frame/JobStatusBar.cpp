#include "frame/JobStatusBar.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QToolButton>
#include <QUrl>

namespace korventa {
namespace {

QString qt(const WString& text) {
    return QString::fromStdU16String(text);
}

QString invoiceVerdict(const JobOutcome& outcome) {
    if (outcome.invoiceCheck.empty())
        return {};
    QString text = QObject::tr("Invoice check: %1").arg(qt(outcome.invoiceCheck));
    if (!outcome.details.empty() && outcome.details.front().starts_with(u"Rule failed: "))
        text += QStringLiteral(" — ") + qt(outcome.details.front());
    return text;
}

}  // namespace

JobStatusBar::JobStatusBar(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);
    message_ = new QLabel(this);
    message_->setTextFormat(Qt::PlainText);
    message_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    verdict_ = new QLabel(this);
    verdict_->setTextFormat(Qt::PlainText);
    addWidget(message_, 1);
    addPermanentWidget(verdict_);
    openPdf_ = createButton(tr("Open PDF"));
    openFolder_ = createButton(tr("Open Folder"));
    openReport_ = createButton(tr("Open Check Report"));
    cancel_ = createButton(tr("Cancel"));
    connect(openPdf_, &QToolButton::clicked, this, [this] { openPath(shown_.pdfPath); });
    connect(openFolder_, &QToolButton::clicked, this, [this] {
        openPath(QFileInfo(qt(shown_.pdfPath)).absolutePath().toStdU16String());
    });
    connect(openReport_, &QToolButton::clicked, this, [this] { openPath(shown_.reportPath); });
    connect(cancel_, &QToolButton::clicked, this, &JobStatusBar::cancelRequested);
}

QToolButton* JobStatusBar::createButton(const QString& text) {
    auto* button = new QToolButton(this);
    button->setText(text);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    button->hide();
    addPermanentWidget(button);
    return button;
}

void JobStatusBar::showWaiting() {
    showText(tr("Waiting for the page's answer (close its data dialog to go on)…"), {});
    cancel_->show();
}

void JobStatusBar::showPrinting() {
    showText(tr("Printing; the driver finishes the PDF…"), {});
}

void JobStatusBar::showProblem(const QString& text) {
    showText(text, {});
}

void JobStatusBar::showOutcome(const JobOutcome& outcome) {
    QStringList details;
    for (const WString& detail : outcome.details) details << qt(detail);
    showText(qt(outcome.headline), details.join(u'\n'));
    shown_ = outcome;
    verdict_->setText(invoiceVerdict(outcome));
    verdict_->setVisible(!verdict_->text().isEmpty());
    const bool delivered = outcome.kind == JobOutcome::Kind::Delivered;
    openPdf_->setVisible(delivered);
    openFolder_->setVisible(delivered);
    openReport_->setVisible(!outcome.reportPath.empty());
}

void JobStatusBar::showText(const QString& text, const QString& details) {
    shown_ = {};
    message_->setText(text);
    message_->setToolTip(details.isEmpty() ? text : text + u'\n' + details);
    verdict_->clear();
    verdict_->hide();
    for (QToolButton* button : {openPdf_, openFolder_, openReport_, cancel_}) button->hide();
}

void JobStatusBar::openPath(const WString& path) const {
    if (!path.empty())
        (void)QDesktopServices::openUrl(QUrl::fromLocalFile(qt(path)));
}

}  // namespace korventa
