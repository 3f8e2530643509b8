#include "app/KorventaApp.h"

#include <QCoreApplication>
#include <clocale>

#include "app/CommandLine.h"
#include "frame/MainFrame.h"

namespace korventa {

CKorventaApp::CKorventaApp() = default;
CKorventaApp::~CKorventaApp() = default;

bool CKorventaApp::InitInstance(const std::vector<WString>& arguments) {
    // Texts of local files are decoded in the locale's character set.
    std::setlocale(LC_ALL, "");
    QCoreApplication::setOrganizationName(QStringLiteral("TALVENIR"));
    QCoreApplication::setApplicationName(QStringLiteral("KORVENTA"));

    mainFrame_ = std::make_unique<CMainFrame>(failures_, prompts_, spooler_, layers_);
    mainFrame_->show();

    const AppModeRequest appMode = parseCommandLine(arguments);
    if (appMode.requested)
        mainFrame_->StartApplicationMode(appMode.name);
    return true;
}

}  // namespace korventa
