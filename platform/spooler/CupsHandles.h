// Owners of the CUPS library's C handles: each alias releases its handle with the library's
// own function, so a handle is owned from the line that receives it. A handle belongs to the
// thread that made it; the owners add no locking.
#pragma once

#include <cups/cups.h>

#include <memory>

namespace korventa {

template <auto release>
struct CupsRelease {
    template <typename Handle>
    void operator()(Handle* handle) const noexcept {
        release(handle);
    }
};

// Destination arrays are freed together with their count, which the deleter therefore keeps;
// a single destination is an array of one.
struct CupsDestsRelease {
    int count = 1;
    void operator()(cups_dest_t* dests) const noexcept { cupsFreeDests(count, dests); }
};

using HttpHandle = std::unique_ptr<http_t, CupsRelease<&httpClose>>;
using IppHandle = std::unique_ptr<ipp_t, CupsRelease<&ippDelete>>;
using DestInfoHandle = std::unique_ptr<cups_dinfo_t, CupsRelease<&cupsFreeDestInfo>>;
using DestsHandle = std::unique_ptr<cups_dest_t, CupsDestsRelease>;

}  // namespace korventa
