#include "platform/spooler/CupsSpooler.h"

#include <arpa/inet.h>
#include <cups/cups.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace korventa {
namespace {

// Points the library at a loopback port of the test's own. Listening, the port completes every
// connection in the kernel and never answers; not listening, it refuses them.
class LoopbackScheduler {
public:
    explicit LoopbackScheduler(bool listening) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* generic = reinterpret_cast<sockaddr*>(&address);
        const bool ready = socket_ >= 0 && ::bind(socket_, generic, length) == 0 &&
                           ::getsockname(socket_, generic, &length) == 0 &&
                           (!listening || ::listen(socket_, 8) == 0);
        EXPECT_TRUE(ready) << "cannot set up a loopback port";
        cupsSetServer(("127.0.0.1:" + std::to_string(ntohs(address.sin_port))).c_str());
    }
    ~LoopbackScheduler() {
        cupsSetServer(nullptr);
        ::close(socket_);
    }
    LoopbackScheduler(const LoopbackScheduler&) = delete;
    LoopbackScheduler& operator=(const LoopbackScheduler&) = delete;

private:
    int socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
};

TEST(CupsSpoolerOffline, GivesUpOnASchedulerThatNeverAnswers) {
    const LoopbackScheduler silent(true);
    std::vector<PrinterInfo> printers{{u"stale", u"stale"}};
    EXPECT_FALSE(CupsSpooler().localPrinters(printers));
    EXPECT_TRUE(printers.empty());
}

TEST(CupsSpoolerOffline, FailsEveryCallWhenTheSchedulerIsDown) {
    const LoopbackScheduler closed(false);
    CupsSpooler spooler;
    std::vector<PrinterInfo> printers{{u"stale", u"stale"}};
    QueuePapers papers{{{u"stale", 1, 1}}, PaperSize{u"stale", 1, 1}};
    EXPECT_FALSE(spooler.localPrinters(printers));
    EXPECT_TRUE(printers.empty());
    EXPECT_FALSE(spooler.queuePapers(u"any", papers));
    EXPECT_TRUE(papers.supported.empty());
    EXPECT_FALSE(papers.current);
    EXPECT_FALSE(spooler.setDefaultPaper(u"any", u"iso_a4_210x297mm"));
}

}  // namespace
}  // namespace korventa
