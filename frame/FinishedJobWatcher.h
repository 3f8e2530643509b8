// Waits for the driver's record of one handed-off job: looks at the finished entry a few
// times a second until it holds a new result, or until no post-processing of this process
// runs any more (the driver then recorded nothing). Job key names repeat from run to run, so
// the entry a job will replace is noted before the job is handed off and is never taken for
// the job's own. A new job replaces the one watched. Owned by the status bar; GUI thread.
#pragma once

#include <QObject>
#include <QTimer>

#include "core/Text.h"
#include "driver/JobOutcome.h"

namespace korventa {

class FinishedJobWatcher final : public QObject {
    Q_OBJECT

public:
    explicit FinishedJobWatcher(QObject* parent = nullptr);

    // Before the job of that key name is handed off: notes the entry an earlier job left.
    void expect(const WString& jobKeyName);
    void watch(const WString& jobKeyName);

signals:
    void jobFinished(const korventa::JobOutcome& outcome);

private:
    void handleTick();

    QTimer ticker_;
    WString jobKeyName_;
    WString expectedKeyName_;
    WString staleSequence_;  // "Sequence" of the entry found by expect; empty for none
};

}  // namespace korventa
