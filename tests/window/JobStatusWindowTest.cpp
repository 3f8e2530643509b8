// What the window says after a job, read off its status line as a user reads it, and the
// desktop actions its buttons ask for.
#include <QAbstractButton>
#include <QDesktopServices>
#include <QTest>
#include <filesystem>

#include "frame/MainFrame.h"
#include "window/WindowHarness.h"

namespace korventa {
namespace {

constexpr WStringView kDriverKey = u"Software\\TALVENIR\\Veltrix\\PDF\\5.0";

// Takes the file addresses the desktop is asked to open.
class DesktopRecorder : public QObject {
    Q_OBJECT

public:
    DesktopRecorder() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~DesktopRecorder() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> opened;

public slots:
    void open(const QUrl& url) { opened.push_back(url); }
};

class JobStatusWindow : public test::WindowHarness {
protected:
    // Opens `page`, turns command detection off so the page prints as it is, and presses
    // "Create PDF".
    void createPdfOf(const std::string& page) {
        putUserText(test::kConverterKey, u"ConvertURL", fromUtf8(page));
        openWindow();
        click(ribbonButton(QStringLiteral("Detect commands in CSS class")));
        click(ribbonButton(QStringLiteral("Create PDF")));
    }
};

// The saved printer is the product name, which no CUPS queue can have: the print goes to the
// driver's queue all the same.
TEST_F(JobStatusWindow, FinishedJobShowsWhereThePdfWentAndOpensItsFolder) {
    DesktopRecorder desktop;
    createPdfOf(pageFile("report.html", "<title>March report</title><h1>Sales in March</h1>"));
    ASSERT_TRUE(waitForStatus({QStringLiteral("PDF saved: "), QStringLiteral("No PDF")}));
    const std::filesystem::path pdf = savedPdf();
    EXPECT_EQ(pdf.parent_path(), files_.file("Documents/Veltrix")) << statusText().toStdString();
    EXPECT_NE(pdfText(pdf).find("Sales in March"), std::string::npos);

    click(statusButton(QStringLiteral("Open Folder")));
    click(statusButton(QStringLiteral("Open PDF")));
    EXPECT_EQ(desktop.opened, (QList<QUrl>{QUrl::fromLocalFile(QString::fromStdString(
                                               files_.file("Documents/Veltrix"))),
                                           QUrl::fromLocalFile(QString::fromStdString(pdf))}));
}

TEST_F(JobStatusWindow, FailedJobSaysWhyAndOffersNothingToOpen) {
    files_.writeFile("not-a-folder", "");
    putUserText(kDriverKey, u"DestFolder", fromUtf8(files_.file("not-a-folder")));
    createPdfOf(pageFile("report.html", "<p>report</p>"));
    ASSERT_TRUE(waitForStatus({QStringLiteral("No PDF was made: "), QStringLiteral("PDF saved")}));
    EXPECT_TRUE(statusText().startsWith(QStringLiteral("No PDF was made: ")))
        << statusText().toStdString();
    EXPECT_GT(statusText().size(), QStringLiteral("No PDF was made: ").size());
    EXPECT_EQ(statusButton(QStringLiteral("Open PDF")), nullptr);
    EXPECT_EQ(statusButton(QStringLiteral("Open Folder")), nullptr);
}

TEST_F(JobStatusWindow, WithoutAQueueOfTheDriverTheWindowSaysWhatToRun) {
    spooler_ = test::FakeSpooler({});
    createPdfOf(pageFile("report.html", "<p>report</p>"));
    ASSERT_TRUE(waitForStatus({QStringLiteral("No PDF was made: ")}));
    EXPECT_TRUE(statusText().contains(QStringLiteral("korventa-setup")))
        << statusText().toStdString();
}

TEST_F(JobStatusWindow, InvalidJsonInTheDataDialogIsReported) {
    putUserText(test::kConverterKey, u"ConvertURL",
                fromUtf8(pageFile("invoice.html", "<p>inv</p>")));
    openWindow();
    click(ribbonButton(QStringLiteral("Invoice PDF")));
    ASSERT_TRUE(waitForDataDialog());
    clickInPage(elementCentre(QStringLiteral("#zugJsonData")));
    keyToPage(Qt::Key_A, Qt::ControlModifier);
    typeIntoPage(QStringLiteral("{ not json"));
    keyToPage(Qt::Key_Escape);
    ASSERT_TRUE(waitForStatus({QStringLiteral("No PDF was made: ")}));
    EXPECT_TRUE(statusText().contains(QStringLiteral("not valid JSON")))
        << statusText().toStdString();
    EXPECT_TRUE(frame_->isReady());
}

// A page whose own conversion never answers: the window waits, and the user can give up.
TEST_F(JobStatusWindow, ARequestThePageNeverAnswersCanBeCancelled) {
    putUserText(test::kConverterKey, u"ConvertURL",
                fromUtf8(pageFile("silent.html",
                                  "<script>var gkvt_zugFun = { renderInAppMode: () => "
                                  "new Promise(() => {}) };</script><p>silent</p>")));
    openWindow();
    click(ribbonButton(QStringLiteral("Invoice PDF")));
    ASSERT_TRUE(waitForStatus({QStringLiteral("Waiting for the page")}));
    EXPECT_FALSE(frame_->isReady());
    click(statusButton(QStringLiteral("Cancel")));
    EXPECT_TRUE(statusText().startsWith(QStringLiteral("No PDF was made: Cancelled")))
        << statusText().toStdString();
    EXPECT_TRUE(frame_->isReady());
}

}  // namespace
}  // namespace korventa

#include "JobStatusWindowTest.moc"
