// A scripted conversion in a real page: the page scripts' result message, taken only while
// this view's request waits for it, starts the print; every way the page side can fail ends
// the request and frees the printing slot.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QVariant>
#include <string>

#include "appmode/ScriptPackage.h"
#include "view/ConversionScript.h"
#include "view/WebTestSupport.h"

namespace korventa {
namespace {

using test::BrowserHarness;
using test::TempDir;

constexpr WStringView kCommandPage =
    u"<title>Invoice</title><p class='veltrix-cmd'>%%DocTitle: March%%</p>";

class ConversionWeb : public testing::Test {
protected:
    ConversionWeb() { BrowserHarness::useDataHome(dataHome_.path()); }

    // Opens a local page with `html` in a shown view and waits until it has loaded. A hidden
    // page renders no frames, and a dialog's close event waits for the next frame.
    void open(WStringView html) {
        harness_.view->resize(800, 600);
        harness_.view->show();
        pages_.writeFile("page.html", toUtf8(html));
        harness_.view->requestState().currentAddress = fromUtf8(pages_.file("page.html"));
        ASSERT_TRUE(harness_.start());
        ASSERT_TRUE(harness_.waitForLoad());
    }

    // Starts a request as the frame does: the slot first, then the script.
    void request(const std::string& script) {
        ASSERT_TRUE(harness_.view->takePrintingSlot());
        harness_.view->RunConversionScript(fromUtf8(script));
    }

    std::string conversionScript(bool showJson) {
        const std::string handlebars = ReadScriptPackageEntry("handlebars.min.js");
        return assembleConversionScript(handlebars, u"", {false, false, showJson, true, true},
                                        u"veltrix-cmd", false);
    }
    void closeDataDialog() {
        (void)evaluate(QStringLiteral("document.getElementById('closeZugJsonBtn').click();"));
    }

    QVariant evaluate(const QString& script) {
        QVariant result;
        bool done = false;
        harness_.view->page()->runJavaScript(script, [&](const QVariant& value) {
            result = value;
            done = true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, test::kWaitMs));
        return result;
    }

    bool waitForFreeSlot() {
        return QTest::qWaitFor([this] { return !harness_.view->printingSlot().isHeld(); },
                               test::kWaitMs);
    }

    TempDir dataHome_;
    TempDir pages_;
    BrowserHarness harness_;
};

TEST_F(ConversionWeb, PageSeesOnlyAFrozenPostMessageAndNoChannel) {
    open(u"<p>x</p>");
    EXPECT_EQ(evaluate(QStringLiteral("typeof qt")).toString(), QStringLiteral("undefined"));
    EXPECT_EQ(evaluate(QStringLiteral("window.chrome.webview.postMessage = null;"
                                      "typeof window.chrome.webview.postMessage"))
                  .toString(),
              QStringLiteral("function"));
}

TEST_F(ConversionWeb, ResultMessageOfThePendingRequestStartsThePrint) {
    open(kCommandPage);
    JobCommandMap atPrint;
    QObject::connect(harness_.view.get(), &CEdgeView::printStarted, harness_.view.get(),
                     [&] { atPrint = harness_.view->requestState().commandMap; });
    QSignalSpy printed(harness_.view.get(), &CEdgeView::printFinished);
    request(conversionScript(false));
    ASSERT_TRUE(printed.wait(test::kWaitMs));
    EXPECT_EQ(atPrint, (JobCommandMap{{u"DocTitle", u"March"}}));
    // No driver here, so the job is not prepared: its commands go with it, not to the next.
    EXPECT_TRUE(harness_.view->requestState().commandMap.empty());
    EXPECT_FALSE(harness_.view->printingSlot().isHeld());
    EXPECT_TRUE(harness_.prompts.failures.empty());
}

TEST_F(ConversionWeb, PageThatPostsByItselfStartsNoJob) {
    open(u"<script>for (let i = 0; i < 3; ++i) window.chrome.webview.postMessage("
         u"'{\"type\":\"JSONCMDS\",\"cmds\":{\"JobTempPath\":\"/tmp\"}}');</script>");
    QSignalSpy printed(harness_.view.get(), &CEdgeView::printFinished);
    EXPECT_FALSE(printed.wait(1000));
    EXPECT_TRUE(harness_.view->requestState().commandMap.empty());
}

TEST_F(ConversionWeb, InvalidJsonInTheDataDialogFreesTheSlotAndPrintsNothing) {
    open(kCommandPage);
    QSignalSpy printed(harness_.view.get(), &CEdgeView::printFinished);
    request(conversionScript(true));
    EXPECT_TRUE(harness_.view->printingSlot().isHeld());
    (void)evaluate(QStringLiteral("document.getElementById('zugJsonData').value = '{bad';"
                                  "document.getElementById('closeZugJsonBtn').click();"));
    EXPECT_TRUE(waitForFreeSlot());
    EXPECT_EQ(printed.count(), 0);
    EXPECT_TRUE(harness_.prompts.failures.empty());
}

TEST_F(ConversionWeb, LeavingTheDocumentEndsTheWaitingRequest) {
    open(kCommandPage);
    request(conversionScript(true));
    harness_.view->requestState().facturXml = "<stale/>";
    pages_.writeFile("other.html", "<p>other</p>");
    ASSERT_EQ(harness_.view->NavigateTo(fromUtf8(pages_.file("other.html"))), S_OK);
    EXPECT_TRUE(waitForFreeSlot());
    EXPECT_EQ(harness_.view->requestState().facturXml, "");
}

TEST_F(ConversionWeb, InvalidResultMessageIsReportedAndFreesTheSlot) {
    open(u"<p>x</p>");
    request("window.chrome.webview.postMessage('{\"cmds\": 5}'); 1");
    EXPECT_TRUE(waitForFreeSlot());
    ASSERT_EQ(harness_.prompts.failures.size(), 1u);
    EXPECT_NE(harness_.prompts.failures[0].find(u"Invalid conversion result!!"), WString::npos);
}

TEST_F(ConversionWeb, ScriptErrorIsReportedAndFreesTheSlot) {
    open(u"<p>x</p>");
    request("this is not javascript (");
    EXPECT_TRUE(waitForFreeSlot());
    ASSERT_EQ(harness_.prompts.failures.size(), 1u);
    EXPECT_NE(harness_.prompts.failures[0].find(u"Javascript execution error!!"), WString::npos);
    EXPECT_EQ(harness_.view->requestState().scriptsInjected, 1);
}

// The answer belongs to the request, not to an address the page may change meanwhile.
TEST_F(ConversionWeb, AnswerCountsAfterThePageChangesItsAddressDuringTheRequest) {
    open(kCommandPage);
    QSignalSpy printed(harness_.view.get(), &CEdgeView::printFinished);
    request(conversionScript(true));
    ASSERT_TRUE(evaluate(QStringLiteral("history.pushState({}, '', '?moved'); location.href"))
                    .toString()
                    .endsWith(QStringLiteral("?moved")));
    closeDataDialog();
    ASSERT_TRUE(printed.wait(test::kWaitMs));
    EXPECT_FALSE(harness_.view->printingSlot().isHeld());
}

TEST_F(ConversionWeb, MessageThatIsNotAStringIsIgnored) {
    open(u"<p>x</p>");
    request("window.chrome.webview.postMessage({type: 'JSONCMDS'}); 1");
    QSignalSpy printed(harness_.view.get(), &CEdgeView::printFinished);
    EXPECT_FALSE(printed.wait(1000));
    EXPECT_TRUE(harness_.view->printingSlot().isHeld());
}

}  // namespace
}  // namespace korventa
