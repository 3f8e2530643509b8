// Pages reached by a real click on a link: the create commands work on them as on a page
// whose address was typed.
#include <QAbstractButton>
#include <QTest>

#include "components/SettingsComponent.h"
#include "frame/MainFrame.h"
#include "window/PageServer.h"
#include "window/WindowHarness.h"

namespace korventa {
namespace {

using LinkWindow = test::WindowHarness;

TEST_F(LinkWindow, CreateAfterFollowingALinkMakesThePdfOfTheNewPage) {
    (void)pageFile("second.html",
                   "<title>Second page</title><h1>Reached by a link</h1>"
                   "<p class='veltrix-cmd'>%%DocSubject: linked%%</p>");
    putUserText(u"Software\\TALVENIR\\KORVENTA\\KORVENTA", u"ConvertURL",
                fromUtf8(pageFile("first.html",
                                  "<title>First</title><a id='next' href='second.html' "
                                  "style='display:block;width:300px;height:120px'>next</a>")));
    openWindow();
    const QUrl first = pageUrl();
    clickInPage(elementCentre(QStringLiteral("#next")));
    ASSERT_EQ(waitForNewPage(first).fileName(), QStringLiteral("second.html"));

    click(ribbonButton(QStringLiteral("Create PDF")));
    ASSERT_TRUE(waitForDataDialog());
    keyToPage(Qt::Key_Escape);
    ASSERT_TRUE(waitForStatus({QStringLiteral("PDF saved: "), QStringLiteral("No PDF")}));
    EXPECT_TRUE(prompts_.failures.empty()) << toUtf8(prompts_.failures.front());
    EXPECT_TRUE(statusText().startsWith(QStringLiteral("PDF saved: ") +
                                        QString::fromStdString(files_.file("Documents/Veltrix/"))))
        << statusText().toStdString();
    EXPECT_NE(pdfText(savedPdf()).find("Reached by a link"), std::string::npos);
}

// The test main resolves the example host to this machine, so its page comes from the server.
TEST_F(LinkWindow, TheFirstLinkToTheExampleHostOpensItsPageWithTheExampleAgent) {
    test::PageServer server;
    const QByteArray port = QByteArray::number(server.port());
    server.setLink("/first",
                   "http://" + SettingsComponent::kExampleHost.toUtf8() + ":" + port + "/second");
    putUserText(test::kConverterKey, u"ConvertURL",
                u"http://127.0.0.1:" + QString::fromLatin1(port).toStdU16String() + u"/first");
    openWindow();
    const QUrl first = pageUrl();
    clickInPage(elementCentre(QStringLiteral("#link")));
    ASSERT_EQ(waitForNewPage(first).path(), QStringLiteral("/second"));

    QList<QByteArray> firsts;
    QByteArray secondAgent;
    for (const auto& request : server.requests) {
        if (request.target == "/first")
            firsts.push_back(request.userAgent);
        if (request.target == "/second")
            secondAgent = request.userAgent;
    }
    EXPECT_EQ(firsts.size(), 1);
    EXPECT_EQ(secondAgent, SettingsComponent::kExampleUserAgent.toUtf8());
}

}  // namespace
}  // namespace korventa
