// The warm checker of the EN 16931 business rules: our Java program (checks/InvoiceRules.java)
// on Debian's Saxon-HE, which compiles the rules stylesheet once and then checks each invoice
// sent to it in a few milliseconds. Started ahead of need (when a job is prepared, so the JVM
// starts while the page prints) or by the first request, and kept for the owner's life, which
// is the loaded driver library's, so the start is paid once per process. Requests
// of several threads take turns. A checker that stops or stalls is ended and started afresh by
// the next request. Where Java or Saxon is missing every request says so, standard error once.
#pragma once

#include <sys/types.h>

#include <mutex>
#include <string>
#include <string_view>

#include "core/UniqueFd.h"

namespace korventa::refdriver {

class RuleChecker {
public:
    // `folder` holds invoice-rules.jar and EN16931-CII-validation.xslt.
    explicit RuleChecker(std::string folder) : folder_(std::move(folder)) {}
    ~RuleChecker();
    RuleChecker(const RuleChecker&) = delete;
    RuleChecker& operator=(const RuleChecker&) = delete;

    // Starts the checker if it is not running, without waiting for it; silent when it cannot.
    void warmUp();
    // The SVRL report of the rules over `xml`; false with the reason they could not be run.
    [[nodiscard]] bool check(std::string_view xml, std::string& svrl, std::string& reason);

private:
    enum class Exchange { Report, Refusal, Broken };

    [[nodiscard]] bool start(std::string& reason);
    [[nodiscard]] bool missingPart(std::string& reason) const;
    [[nodiscard]] Exchange exchange(std::string_view xml, std::string& svrl, std::string& reason);
    void stop();

    std::string folder_;
    std::mutex mutex_;
    UniqueFd socket_;  // the program's standard input and output
    pid_t pid_ = -1;
    bool toldMissing_ = false;
};

}  // namespace korventa::refdriver
