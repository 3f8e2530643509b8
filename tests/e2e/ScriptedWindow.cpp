#include "e2e/ScriptedWindow.h"

#include <QTimer>
#include <cstdio>

#include "frame/MainFrame.h"

namespace korventa {
namespace {

constexpr int kWaitPoll = 50;  // milliseconds between looks of a "wait" step

}  // namespace

ScriptedWindow::ScriptedWindow(CMainFrame& frame, std::vector<ScriptStep> steps)
    : QObject(&frame), frame_(frame), steps_(std::move(steps)) {}

void ScriptedWindow::start() {
    QTimer::singleShot(0, this, [this] { runStep(0); });
}

void ScriptedWindow::runStep(std::size_t index) {
    if (index >= steps_.size())
        return;
    const ScriptStep& step = steps_[index];
    switch (step.kind) {
        case ScriptStep::Kind::Set:
            if (!frame_.setElementValue(step.id, QString::fromStdU16String(step.text)))
                std::fprintf(stderr, "script: step %zu sets nothing\n", index + 1);
            break;
        case ScriptStep::Kind::Command:
            frame_.onCommand(step.id, step.code);
            break;
        case ScriptStep::Kind::Page:
            frame_.runInPage(step.text, [this, index] { runStep(index + 1); });
            return;
        case ScriptStep::Kind::Wait:
            if (!frame_.isIdle()) {
                QTimer::singleShot(kWaitPoll, this, [this, index] { runStep(index); });
                return;
            }
            break;
        case ScriptStep::Kind::Close:
            frame_.close();
            return;
    }
    QTimer::singleShot(0, this, [this, index] { runStep(index + 1); });
}

}  // namespace korventa
