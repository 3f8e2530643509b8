#include "print/InstanceIdentity.h"

#include <time.h>

#include <cstdlib>
#include <string>

#include "driver/DriverNames.h"

namespace korventa {
namespace {

constexpr int kIdLength = 6;

// The counterpart of a millisecond tick count since boot.
unsigned millisecondTick() {
    struct timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<unsigned long long>(now.tv_sec) * 1000ULL +
                              static_cast<unsigned long long>(now.tv_nsec / 1000000);
    return static_cast<unsigned>(milliseconds);
}

WString drawInstanceId() {
    std::srand(millisecondTick());
    WString id;
    for (int i = 0; i < kIdLength; ++i) id += instanceLetter(std::rand() % 32768);
    return id;
}

}  // namespace

char16_t instanceLetter(int r) {
    return static_cast<char16_t>(u'A' + (r * 25) / 32767);
}

WString jobPrefixFor(unsigned instanceNumber) {
    WString digits = decimalText(instanceNumber);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), u'0');
    return WString(InstanceJobPrefixStart) + digits + u"\\";
}

WString MakeJobKeyName(WStringView prefix, std::int32_t jobNumber) {
    WString name = WString(prefix) + fromUtf8(std::to_string(jobNumber));
    if (name.size() > MaxJobKeyNameLength) name.resize(MaxJobKeyNameLength);
    return name;
}

InstanceIdentity::InstanceIdentity(const std::string& lockFolder)
    : instanceId_(drawInstanceId()),
      lock_(InstanceLock::acquire(lockFolder)),
      jobPrefix_(jobPrefixFor(lock_.number())) {}

}  // namespace korventa
