// Pages reached by a real click on a link: the create commands work on them as on a page
// whose address was typed.
#include <QAbstractButton>
#include <QTest>

#include "frame/MainFrame.h"
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

}  // namespace
}  // namespace korventa
