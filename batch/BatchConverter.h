// Drives the window's own classes through a batch: each item's page is opened in the main
// frame's view, readied for the item (its invoice data put where the request takes the data
// from, the data dialog kept shut) and the create command is dispatched as a click would.
// The next item starts once the job is handed to the driver, whose post-processing runs
// alongside; an item's line, in input order, follows when the driver has recorded its job
// (or the item failed or timed out before). An item that times out ends the page's renderer,
// so the next item starts on a fresh one; a print under way then is waited for once more
// and its job reported, and one that never ends fails the rest of the run. Invoice data of one page goes through
// CollatedBatch first. One line per item on `out`, a progress bar on
// `progress` when given. Borrows the frame, prompts and streams; main thread.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVariant>
#include <cstdio>
#include <string>
#include <vector>

#include "batch/BatchOptions.h"
#include "batch/BatchPlan.h"
#include "batch/BatchReport.h"
#include "batch/CollatedBatch.h"
#include "batch/ConsolePrompts.h"
#include "core/Text.h"

namespace korventa {

class CMainFrame;

class BatchConverter : public QObject {
    Q_OBJECT

public:
    BatchConverter(CMainFrame& frame, ConsolePrompts& prompts, const BatchOptions& options,
                   std::vector<BatchItem> items, std::FILE* out, std::FILE* progress);

    // Applies the options to the frame; false with `error` for a printer the frame does not
    // offer.
    [[nodiscard]] bool prepare(std::string& error);
    // Converts the items one after the other; `finished` follows the last.
    void start();

    [[nodiscard]] int failures() const { return report_.failures(); }
    [[nodiscard]] int invalidInvoices() const { return report_.invalidInvoices(); }

signals:
    void finished();

private:
    enum class Stage { Loading, Readying, Converting, GivingUp, Draining };

    void startItem();
    void handleTick();
    void readyPage();
    void handlePageReadied(std::size_t item, const QVariant& answer);
    void dispatch();
    void conclude();
    void giveUp();
    void abandon();
    void concludeGivenUp();
    void next();
    void fail(const std::string& reason);
    [[nodiscard]] int createCommand() const;
    [[nodiscard]] std::string timeoutReason() const;

    CMainFrame& frame_;
    ConsolePrompts& prompts_;
    BatchOptions options_;
    std::vector<BatchItem> items_;
    BatchReport report_;
    CollatedBatch collated_;
    std::size_t current_ = 0;
    Stage stage_ = Stage::Loading;
    std::string dataLiteral_;  // the item's data as a JavaScript string, or null
    unsigned printsBefore_ = 0;
    QTimer ticker_;
    QElapsedTimer clock_;
};

}  // namespace korventa
