#include "app/KorventaApp.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <cstdlib>

#include "app/CommandLine.h"
#include "frame/MainFrame.h"

namespace korventa {
namespace {

constexpr const char* kTestScriptVariable = "KORVENTA_TEST_SCRIPT";
constexpr int kWaitPoll = 50;  // milliseconds between looks of a "wait" step

}  // namespace

CKorventaApp::CKorventaApp() = default;
CKorventaApp::~CKorventaApp() = default;

bool CKorventaApp::InitInstance(const std::vector<WString>& arguments) {
    // Texts of local files are decoded in the locale's character set.
    std::setlocale(LC_ALL, "");
    QCoreApplication::setOrganizationName(QStringLiteral("TALVENIR"));
    QCoreApplication::setApplicationName(QStringLiteral("KORVENTA"));
    if (!loadTestScript())
        return false;

    mainFrame_ = std::make_unique<CMainFrame>(failures_, prompts_, spooler_, layers_);
    mainFrame_->show();

    const AppModeRequest appMode = parseCommandLine(arguments);
    if (appMode.requested)
        mainFrame_->StartApplicationMode(appMode.name);
    if (!script_.empty()) {
        QTimer::singleShot(0, mainFrame_.get(), [this] { runScriptStep(0); });
    }
    return true;
}

// Only automated tests set the variable; a script that cannot be read or parsed stops the
// start, so a test never runs against a window that ignored its steps.
bool CKorventaApp::loadTestScript() {
    const char* path = std::getenv(kTestScriptVariable);
    if (path == nullptr)
        return true;
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", kTestScriptVariable, path);
        return false;
    }
    const QByteArray bytes = file.readAll();
    std::string error;
    if (!parseCommandScript(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), script_,
            error)) {
        std::fprintf(stderr, "%s: %s\n", kTestScriptVariable, error.c_str());
        return false;
    }
    return true;
}

// One step per event-loop turn, so whatever a command posts runs before the next step.
void CKorventaApp::runScriptStep(std::size_t index) {
    if (index >= script_.size())
        return;
    const ScriptStep& step = script_[index];
    switch (step.kind) {
        case ScriptStep::Kind::Set:
            if (!mainFrame_->setElementValue(step.id, QString::fromStdU16String(step.text))) {
                std::fprintf(stderr, "%s: step %zu sets nothing\n", kTestScriptVariable, index + 1);
            }
            break;
        case ScriptStep::Kind::Command:
            mainFrame_->onCommand(step.id, step.code);
            break;
        case ScriptStep::Kind::Page:
            mainFrame_->runInPage(step.text);
            break;
        case ScriptStep::Kind::Wait:
            if (!mainFrame_->isIdle()) {
                QTimer::singleShot(kWaitPoll, mainFrame_.get(),
                                   [this, index] { runScriptStep(index); });
                return;
            }
            break;
        case ScriptStep::Kind::Close:
            mainFrame_->close();
            return;
    }
    QTimer::singleShot(0, mainFrame_.get(), [this, index] { runScriptStep(index + 1); });
}

}  // namespace korventa
