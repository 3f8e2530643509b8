// Runs a script of ribbon steps against the live main window, one step per event-loop turn,
// so whatever a command posts runs before the next step. Lives as long as the window; GUI
// thread only. Only the scripted test build of the window program has it.
#pragma once

#include <QObject>
#include <vector>

#include "support/CommandScript.h"

namespace korventa {

class CMainFrame;

class ScriptedWindow final : public QObject {
    Q_OBJECT

public:
    ScriptedWindow(CMainFrame& frame, std::vector<ScriptStep> steps);
    void start();

private:
    void runStep(std::size_t index);

    CMainFrame& frame_;
    std::vector<ScriptStep> steps_;
};

}  // namespace korventa
