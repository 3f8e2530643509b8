// Test main for the page script suites: one QApplication for the process. Listing the tests
// (at build time, without a display) needs no application.
#include <QApplication>
#include <gtest/gtest.h>
#include <utility>

namespace {

// CTest sets these too; a direct run of the executable gets them here, so a headless run
// never needs a display or the sandbox that root may not use.
void setHeadlessDefaults() {
    for (const auto& [name, value] : {std::pair{"QT_QPA_PLATFORM", "offscreen"},
                                      std::pair{"QTWEBENGINE_DISABLE_SANDBOX", "1"},
                                      std::pair{"QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu"}}) {
        if (!qEnvironmentVariableIsSet(name)) qputenv(name, value);
    }
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    setHeadlessDefaults();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
