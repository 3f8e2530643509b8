// The line along the bottom of the main window that says what became of the last request,
// without a modal box: that the page's answer is awaited (with a way to give up), why no job
// was made, or, once the driver has finished the job, where the PDF went (with buttons that
// open it or its folder through the desktop) or why it failed, plus the invoice check's
// verdict. Texts from pages are shown as plain text. Owned by the main window; GUI thread.
#pragma once

#include <QStatusBar>

#include "driver/JobOutcome.h"

class QLabel;
class QToolButton;

namespace korventa {

class JobStatusBar final : public QStatusBar {
    Q_OBJECT

public:
    explicit JobStatusBar(QWidget* parent = nullptr);

    void showWaiting();
    void showPrinting();
    void showProblem(const QString& text);
    void showOutcome(const JobOutcome& outcome);

signals:
    void cancelRequested();

private:
    QToolButton* createButton(const QString& text);
    void showText(const QString& text, const QString& details);
    void openPath(const WString& path) const;

    QLabel* message_ = nullptr;  // owned by the bar, as are the buttons
    QLabel* verdict_ = nullptr;
    QToolButton* openPdf_ = nullptr;
    QToolButton* openFolder_ = nullptr;
    QToolButton* openReport_ = nullptr;
    QToolButton* cancel_ = nullptr;
    JobOutcome shown_;
};

}  // namespace korventa
