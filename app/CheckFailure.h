// The two failure reports: ShowFailure tells the user a code and goes on; CheckFailure does the
// same for a failed browser call and then ends the process at once. One reporter per process,
// created at start-up and passed to everything that checks calls; window thread only.
#pragma once

#include <string_view>

#include "app/FailurePresenter.h"
#include "core/Status.h"
#include "core/Text.h"

#define KORVENTA_STRINGIFY_(x) #x
#define KORVENTA_STRINGIFY(x) KORVENTA_STRINGIFY_(x)
// The location of a check point, fixed at compile time: Failure at "path"(line).
#define FAILURE_LOCATION() (u"Failure at \"" __FILE__ "\"(" KORVENTA_STRINGIFY(__LINE__) ")")

namespace korventa {

class FailureReporter {
public:
    explicit FailureReporter(FailurePresenter& presenter) : presenter_(presenter) {}

    // message + ": 0x" + the code in lower-case hex, right-aligned in 8 places.
    [[nodiscard]] static WString failureText(HResult status, WStringView message);

    void ShowFailure(HResult status, WStringView message);
    // Returns only for status >= 0. On failure: shows the text, writes it to standard error and
    // ends the process without running destructors, exit handlers or saving anything.
    void CheckFailure(HResult status, WStringView location);

private:
    FailurePresenter& presenter_;
};

}  // namespace korventa
