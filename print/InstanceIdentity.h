// Who this running converter is for the driver: a six-letter id, the instance number held by
// its instance lock, the job prefix made of that number and the counter that numbers its
// jobs. Set up once when the browser view is built and given back with it. Window thread.
#pragma once

#include <cstdint>
#include <string>

#include "core/Text.h"
#include "print/InstanceLock.h"

namespace korventa {

// The driver's job key name: prefix + job number in decimal, cut to 63 characters as a
// buffer of 64 wide characters would.
[[nodiscard]] WString MakeJobKeyName(WStringView prefix, std::int32_t jobNumber);
// "KORVENTAJob\Inst" + the number as at least three digits + "\".
[[nodiscard]] WString jobPrefixFor(unsigned instanceNumber);
// One capital letter from a rand() value r in 0..32767: 'A' + r * 25 / 32767, so only 32767
// gives 'Z'.
[[nodiscard]] char16_t instanceLetter(int r);

class InstanceIdentity {
public:
    static constexpr std::int32_t kFirstJobCounter = 100;

    // Draws the id (the generator seeded with a millisecond tick) and takes the lowest free
    // instance number in `lockFolder`.
    explicit InstanceIdentity(const std::string& lockFolder);

    [[nodiscard]] const WString& instanceId() const { return instanceId_; }
    [[nodiscard]] unsigned instanceNumber() const { return lock_.number(); }
    [[nodiscard]] const WString& jobPrefix() const { return jobPrefix_; }
    [[nodiscard]] std::int32_t jobCounter() const { return jobCounter_; }
    // Advances the counter; the new value is the job's number (101 first).
    [[nodiscard]] std::int32_t nextJobNumber() { return ++jobCounter_; }

private:
    WString instanceId_;
    InstanceLock lock_;
    WString jobPrefix_;
    std::int32_t jobCounter_ = kFirstJobCounter;
};

}  // namespace korventa
