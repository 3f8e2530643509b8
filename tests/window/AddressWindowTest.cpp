// Typing an address into the address box as a user does: the keys go to whatever has the
// focus after a click into the box.
#include <QComboBox>
#include <QTest>

#include "frame/MainFrame.h"
#include "window/PageServer.h"
#include "window/WindowHarness.h"

namespace korventa {
namespace {

using AddressWindow = test::WindowHarness;

TEST_F(AddressWindow, ReturnOpensATypedPathAndPutsItFirstInTheList) {
    openWindow();
    const QString typed = QString::fromStdString(pageFile("hello.html", "<p>hello</p>"));
    const QUrl start = pageUrl();
    typeAddress(typed, Qt::Key_Return);
    EXPECT_EQ(waitForNewPage(start), QUrl::fromLocalFile(typed));
    const auto* box = static_cast<QComboBox*>(addressBox());
    ASSERT_GE(box->count(), 2);
    EXPECT_EQ(box->itemText(0), typed);
    EXPECT_EQ(box->currentText(), typed);
}

TEST_F(AddressWindow, KeypadEnterConfirmsAnAddressAlreadyInTheListAndMovesItFirst) {
    const std::string older = pageFile("older.html", "<p>older</p>");
    putUserText(u"Software\\TALVENIR\\KORVENTA\\KORVENTA", u"ConvertRecent",
                u"(" + fromUtf8(older) + u")");
    openWindow();
    const auto* box = static_cast<QComboBox*>(addressBox());
    ASSERT_EQ(box->itemText(1), QString::fromStdString(older));
    const QUrl start = pageUrl();
    typeAddress(QString::fromStdString(older), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(waitForNewPage(start), QUrl::fromLocalFile(QString::fromStdString(older)));
    EXPECT_EQ(box->itemText(0), QString::fromStdString(older));
}

// Addresses a browser's address bar opens although they are not strictly written: they reach
// the server percent-encoded.
TEST_F(AddressWindow, AddressesWithBlanksOrBarsReachTheServer) {
    test::PageServer server;
    openWindow();
    const QString origin = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    QUrl previous = pageUrl();
    typeAddress(origin + QStringLiteral("/a b.html"), Qt::Key_Return);
    previous = waitForNewPage(previous);
    EXPECT_EQ(previous.path(), QStringLiteral("/a b.html"));
    typeAddress(origin + QStringLiteral("/q.html?x=a|b"), Qt::Key_Return);
    EXPECT_EQ(waitForNewPage(previous).path(), QStringLiteral("/q.html"));

    QList<QByteArray> targets;
    for (const auto& request : server.requests) {
        if (request.target != "/favicon.ico")
            targets.push_back(request.target);
    }
    ASSERT_EQ(targets.size(), 2);
    EXPECT_EQ(targets[0], "/a%20b.html");
    EXPECT_TRUE(targets[1] == "/q.html?x=a|b" || targets[1] == "/q.html?x=a%7Cb")
        << targets[1].toStdString();
}

}  // namespace
}  // namespace korventa
