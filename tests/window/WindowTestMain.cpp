// Test main for the suites that drive the whole main window: one QApplication on the
// offscreen platform with a single 1280 × 800 screen, as a small laptop has. A caller's own
// platform (for example an X server under xvfb-run) is kept.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>

namespace {

constexpr char kScreenConfig[] = R"({
  "windowFrameMargins": false,
  "screens": [ { "name": "laptop", "x": 0, "y": 0, "width": 1280, "height": 800,
                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1 } ]
})";

void setHeadlessDefaults(const QString& configFile) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        QFile config(configFile);
        if (config.open(QIODevice::WriteOnly | QIODevice::Truncate))
            config.write(kScreenConfig);
        qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + configFile).toLocal8Bit());
    }
    if (!qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The example host of the user-agent rule is served by the tests' own page server.
    const QByteArray flags = qEnvironmentVariableIsSet("QTWEBENGINE_CHROMIUM_FLAGS")
                                 ? qgetenv("QTWEBENGINE_CHROMIUM_FLAGS")
                                 : QByteArrayLiteral("--disable-gpu");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS",
            flags + " \"--host-resolver-rules=MAP navigation.example 127.0.0.1\"");
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    const QString configFile =
        QDir::tempPath() +
        QStringLiteral("/korventa-window-screen-%1.json").arg(QCoreApplication::applicationPid());
    setHeadlessDefaults(configFile);
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    const int result = RUN_ALL_TESTS();
    QFile::remove(configFile);
    return result;
}
