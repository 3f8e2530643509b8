#include "platform/spooler/CupsPaper.h"

#include <cups/pwg.h>

#include <cstdlib>
#include <string_view>

namespace korventa {
namespace {

constexpr std::string_view kBorderlessSuffix = "_borderless";
constexpr int kSnapTolerance = 100;  // hundredths of a millimetre

std::string_view withoutBorderless(std::string_view name) {
    if (name.ends_with(kBorderlessSuffix))
        name.remove_suffix(kBorderlessSuffix.size());
    return name;
}

int hundredthsToTenths(int hundredths) {
    return hundredths < 0 ? 0 : (hundredths + 5) / 10;
}

}  // namespace

PaperSize paperFromCups(const cups_size_t& size) {
    const std::string name(withoutBorderless(size.media));
    int width = size.width;
    int length = size.length;
    const pwg_media_t* standard = pwgMediaForPWG(name.c_str());
    if (standard != nullptr && std::abs(standard->width - width) <= kSnapTolerance &&
        std::abs(standard->length - length) <= kSnapTolerance) {
        width = standard->width;
        length = standard->length;
    }
    return PaperSize{fromUtf8(name), hundredthsToTenths(width), hundredthsToTenths(length)};
}

std::string standardMediaName(const std::string& name) {
    // Copied at once: for sizes outside the table the library answers from a per-thread buffer
    // that its next lookup overwrites.
    const pwg_media_t* media = pwgMediaForPWG(name.c_str());
    if (media == nullptr)
        media = pwgMediaForLegacy(name.c_str());
    if (media == nullptr)
        media = pwgMediaForPPD(name.c_str());
    return media == nullptr ? std::string() : std::string(media->pwg);
}

}  // namespace korventa
