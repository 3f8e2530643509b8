#include <gtest/gtest.h>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <filesystem>
#include <memory>
#include <vector>

#include "view/WebTestSupport.h"

namespace korventa {
namespace {

using test::BrowserHarness;
using test::TempDir;

class EdgeViewWeb : public testing::Test {
protected:
    EdgeViewWeb() { BrowserHarness::useDataHome(dataHome.path()); }

    TempDir dataHome;
    TempDir pages;
};

TEST_F(EdgeViewWeb, PostedCallablesRunOnceInPostOrder) {
    BrowserHarness harness;
    std::vector<int> ran;
    harness.view->RunAsync([&] { ran.push_back(1); });
    harness.view->RunWebMessageAsync([&] { ran.push_back(2); });
    harness.view->RunAsync([&] { ran.push_back(3); });
    EXPECT_TRUE(ran.empty());
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST_F(EdgeViewWeb, CallablePostedToDestroyedViewNeverRunsAndIsFreed) {
    BrowserHarness harness;
    auto token = std::make_shared<int>(0);
    bool ran = false;
    harness.view->RunAsync([&ran, token] { ran = true; });
    harness.view.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
    EXPECT_EQ(token.use_count(), 1);
}

TEST_F(EdgeViewWeb, NavigateCurrentWithoutBrowserDoesNothing) {
    BrowserHarness harness;
    harness.view->requestState().currentAddress = u"https://example.com/";
    harness.view->requestState().scriptsInjected = 1;
    harness.view->NavigateCurrent();
    EXPECT_FALSE(harness.view->hasBrowser());
    EXPECT_EQ(harness.view->requestState().scriptsInjected, 1);
}

TEST_F(EdgeViewWeb, UnusableDataFolderGivesEnvironmentMessageAndNoBrowser) {
    dataHome.writeFile("blocker", "a file where the folder should go");
    BrowserHarness::useDataHome(dataHome.file("blocker"));
    BrowserHarness harness;
    harness.view->InitializeWebView();
    QCoreApplication::processEvents();
    EXPECT_FALSE(harness.view->hasBrowser());
    EXPECT_EQ(
        harness.prompts.messages,
        std::vector<WString>{u"Failed to create webview environmen, HRESULT is : -2147467259! "});
}

TEST_F(EdgeViewWeb, OpensSavedAddressFirstAndSizesBrowserAfterwards) {
    pages.writeFile("saved.html", "<title>saved</title>");
    BrowserHarness harness;
    harness.view->resize(320, 200);
    harness.view->requestState().currentAddress = fromUtf8(pages.file("saved.html"));
    harness.view->InitializeWebView();
    EXPECT_FALSE(harness.view->hasBrowser());
    ASSERT_TRUE(harness.start());
    EXPECT_EQ(harness.view->page()->requestedUrl(),
              QUrl::fromLocalFile(QString::fromStdString(pages.file("saved.html"))));
    const auto* browser = harness.view->findChild<QWebEngineView*>();
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(browser->geometry(), QRect(0, 0, 320, 200));
    EXPECT_NE(harness.view->page()->webChannel(), nullptr);
    EXPECT_TRUE(harness.waitForLoad());
    EXPECT_EQ(harness.view->page()->title(), "saved");
}

TEST_F(EdgeViewWeb, KeepsBrowserDataInsideDataFolderOnly) {
    pages.writeFile("page.html", "<title>page</title>");
    BrowserHarness harness;
    harness.view->requestState().currentAddress = fromUtf8(pages.file("page.html"));
    ASSERT_TRUE(harness.start());
    ASSERT_TRUE(harness.waitForLoad());
    std::vector<std::string> entries;
    for (const auto& entry : std::filesystem::directory_iterator(dataHome.path())) {
        entries.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(entries, std::vector<std::string>{"TALVENIR"});
    EXPECT_EQ(harness.view->page()->profile()->persistentStoragePath(),
              QString::fromStdString(dataHome.file("TALVENIR")));
}

// The image loads from a local page and is refused to a remote one, which sets the title.
TEST_F(EdgeViewWeb, RemotePageCannotLoadTheProgramsResources) {
    pages.writeFile("page.html", "<title>page</title>");
    BrowserHarness harness;
    harness.view->requestState().currentAddress = fromUtf8(pages.file("page.html"));
    ASSERT_TRUE(harness.start());
    ASSERT_TRUE(harness.waitForLoad());
    const QString html = QStringLiteral(
        "<img src='qrc:/korventa/korventa.svg' onload='document.title=\"loaded\"' "
        "onerror='document.title=\"refused\"'>");
    const auto titleFor = [&](const QUrl& base) {
        QSignalSpy titles(harness.view->page(), &QWebEnginePage::titleChanged);
        harness.view->page()->setHtml(html, base);
        while (titles.wait(test::kWaitMs)) {
            const QString title = titles.back().front().toString();
            if (title == QStringLiteral("loaded") || title == QStringLiteral("refused"))
                return title.toStdString();
        }
        return std::string("(no answer)");
    };
    EXPECT_EQ(titleFor(QUrl::fromLocalFile(QString::fromStdString(pages.file("local.html")))),
              "loaded");
    EXPECT_EQ(titleFor(QUrl(QStringLiteral("https://shop.example/invoice"))), "refused");
}

TEST_F(EdgeViewWeb, OpensAddressSetBeforeBrowserExists) {
    pages.writeFile("late.html", "<title>late</title>");
    BrowserHarness harness;
    harness.view->requestState().currentAddress = u"https://example.com/";
    harness.view->InitializeWebView();
    harness.view->requestState().currentAddress = fromUtf8(pages.file("late.html"));
    ASSERT_TRUE(harness.start());
    EXPECT_EQ(harness.view->page()->requestedUrl(),
              QUrl::fromLocalFile(QString::fromStdString(pages.file("late.html"))));
}

TEST_F(EdgeViewWeb, OpensHomePageWhenNoAddressIsSaved) {
    BrowserHarness harness;
    ASSERT_TRUE(harness.start());
    EXPECT_EQ(harness.view->page()->requestedUrl(),
              QUrl(QString::fromStdU16String(WString(AddressNavigator::kHomePage))));
    EXPECT_EQ(harness.view->dataFolder(), fromUtf8(dataHome.file("TALVENIR")));
}

TEST_F(EdgeViewWeb, NavigateCurrentOpensLocalPathAndClearsScriptsInjected) {
    pages.writeFile("first.html", "<title>first</title>");
    pages.writeFile("second.html", "<title>second</title>");
    BrowserHarness harness;
    harness.view->requestState().currentAddress = fromUtf8(pages.file("first.html"));
    ASSERT_TRUE(harness.start());
    ASSERT_TRUE(harness.waitForLoad());
    harness.view->requestState().scriptsInjected = 1;
    harness.view->requestState().currentAddress = fromUtf8(pages.file("second.html"));
    harness.view->NavigateCurrent();
    EXPECT_EQ(harness.view->requestState().scriptsInjected, 0);
    ASSERT_TRUE(harness.waitForLoad());
    EXPECT_EQ(harness.view->page()->title(), "second");
    EXPECT_EQ(harness.view->requestState().currentAddress, fromUtf8(pages.file("second.html")));
}

}  // namespace
}  // namespace korventa
