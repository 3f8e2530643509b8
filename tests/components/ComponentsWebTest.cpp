#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestInterceptor>

#include <algorithm>
#include <string>
#include <vector>

#include "components/WebPage.h"
#include "view/WebTestSupport.h"

namespace korventa {
namespace {

using test::BrowserHarness;
using test::TempDir;

// Lines of the console category, collected by a message handler for one test.
std::vector<std::string> gConsoleLines;

void collectConsoleLines(QtMsgType, const QMessageLogContext& context, const QString& message) {
    if (context.category != nullptr && std::string(context.category) == "korventa.console") {
        gConsoleLines.push_back(message.toStdString());
    }
}

// Keeps the browser off the network: every request to a web host is cancelled.
class OfflineInterceptor : public QWebEngineUrlRequestInterceptor {
public:
    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (info.requestUrl().scheme() != "file")
            info.block(true);
    }
};

class ComponentsWeb : public testing::Test {
protected:
    ComponentsWeb() {
        BrowserHarness::useDataHome(dataHome.path());
        gConsoleLines.clear();
        previousHandler_ = qInstallMessageHandler(collectConsoleLines);
    }
    ~ComponentsWeb() override { qInstallMessageHandler(previousHandler_); }

    [[nodiscard]] bool startWithPage(const std::string& name, const std::string& html) {
        pages.writeFile(name, html);
        harness.view->requestState().currentAddress = fromUtf8(pages.file(name));
        if (!harness.start())
            return false;
        harness.view->page()->profile()->setUrlRequestInterceptor(&offline_);
        return true;
    }

    [[nodiscard]] static std::size_t linesContaining(const std::string& part) {
        return static_cast<std::size_t>(std::count_if(
            gConsoleLines.begin(), gConsoleLines.end(),
            [&](const std::string& line) { return line.find(part) != std::string::npos; }));
    }

    // Waits on the page's console signal: the component has written its line by the time the
    // spy, connected after it, sees the message.
    [[nodiscard]] bool waitForLines(const std::string& part, std::size_t count) {
        QSignalSpy messages(static_cast<WebPage*>(harness.view->page()),
                            &WebPage::consoleMessageReceived);
        QDeadlineTimer deadline(test::kWaitMs);
        while (linesContaining(part) < count) {
            if (deadline.hasExpired() ||
                !messages.wait(static_cast<int>(deadline.remainingTime()))) {
                return false;
            }
        }
        return true;
    }

    TempDir dataHome;
    TempDir pages;
    BrowserHarness harness;

private:
    OfflineInterceptor offline_;
    QtMessageHandler previousHandler_ = nullptr;
};

constexpr char kTwoNotificationRequests[] = R"(<script>
(async () => {
  for (let i = 0; i < 2; i++) console.log('permission:' + await Notification.requestPermission());
})();
</script>)";

TEST_F(ComponentsWeb, WritesConsoleMessageAsJsonLine) {
    ASSERT_TRUE(startWithPage("console.html", "<script>console.warn('hello \"you\"');</script>"));
    ASSERT_TRUE(waitForLines("hello", 1));
    const std::string source =
        QUrl::fromLocalFile(QString::fromStdString(pages.file("console.html")))
            .toString()
            .toStdString();
    EXPECT_EQ(gConsoleLines.back(),
              "console.log Event: {\"level\":\"warning\",\"message\":"
              "\"hello \\\"you\\\"\",\"line\":1,\"source\":\"" +
                  source + "\"}");
}

TEST_F(ComponentsWeb, CapturesConsoleMessagesOfFramesAndWorkers) {
    pages.writeFile("frame.html", "<script>console.log('from-frame');</script>");
    pages.writeFile("worker.js", "console.log('from-worker');");
    ASSERT_TRUE(startWithPage("host.html",
                              "<iframe src='frame.html'></iframe>"
                              "<script>new Worker('worker.js');</script>"));
    EXPECT_TRUE(waitForLines("from-frame", 1));
    EXPECT_TRUE(waitForLines("from-worker", 1));
}

TEST_F(ComponentsWeb, RemembersYesSoSecondRequestIsGrantedWithoutPrompt) {
    harness.prompts.answers = {PromptAnswer::Yes};
    ASSERT_TRUE(startWithPage("notify.html", kTwoNotificationRequests));
    ASSERT_TRUE(waitForLines("permission:granted", 2));
    ASSERT_EQ(harness.prompts.asked.size(), 1u);
    EXPECT_EQ(harness.prompts.asked[0].caption, u"Permission Request");
    EXPECT_TRUE(harness.prompts.asked[0].text.starts_with(
        u"An iframe has requested device permission for Notifications to the website at "));
}

TEST_F(ComponentsWeb, CancelRefusesOnlyThisRequestAndPromptsAgain) {
    ASSERT_TRUE(startWithPage("notify.html", kTwoNotificationRequests));
    ASSERT_TRUE(waitForLines("permission:denied", 2));
    EXPECT_EQ(harness.prompts.asked.size(), 2u);
}

TEST_F(ComponentsWeb, ExampleHostSetsUserAgentForLaterNavigations) {
    pages.writeFile("agent.html", "<script>console.log('agent:' + navigator.userAgent);</script>");
    ASSERT_TRUE(startWithPage("start.html", "<p>start</p>"));
    const std::string before = harness.view->page()->profile()->httpUserAgent().toStdString();
    EXPECT_EQ(harness.view->NavigateTo(u"https://navigation.example/"), S_OK);
    (void)harness.waitForLoad();
    EXPECT_EQ(harness.view->NavigateTo(fromUtf8(pages.file("agent.html"))), S_OK);
    ASSERT_TRUE(waitForLines("agent:", 1));
    EXPECT_NE(before, "example_navigation_ua");
    EXPECT_NE(gConsoleLines.back().find("\"message\":\"agent:example_navigation_ua\""),
              std::string::npos);
}

TEST_F(ComponentsWeb, OtherHostLeavesUserAgentAlone) {
    ASSERT_TRUE(startWithPage("start.html", "<p>start</p>"));
    const QString before = harness.view->page()->profile()->httpUserAgent();
    EXPECT_EQ(harness.view->NavigateTo(u"https://www.navigation.example/"), S_OK);
    (void)harness.waitForLoad();
    EXPECT_EQ(harness.view->page()->profile()->httpUserAgent(), before);
}

}  // namespace
}  // namespace korventa
