#include "view/PageCommandFilter.h"

#include <array>

namespace korventa {
namespace {

constexpr std::array<WStringView, 3> kProgramOwned = {u"JobTempPDF", u"JobSrcPDFName",
                                                       u"JobTempPath"};

// The job record's value names are matched without regard to ASCII case, as the store
// matches them: "jobtemppdf" would overwrite "JobTempPDF" all the same.
bool sameNameIgnoringCase(WStringView a, WStringView b) {
    const auto fold = [](char16_t c) {
        return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

bool isLocalPage(WStringView address) {
    constexpr WStringView scheme = u"file:";
    return address.starts_with(u'/') ||
           sameNameIgnoringCase(address.substr(0, scheme.size()), scheme);
}

bool isDropped(WStringView name, bool localPage) {
    for (const WStringView owned : kProgramOwned) {
        if (sameNameIgnoringCase(name, owned)) return true;
    }
    return !localPage &&
           (sameNameIgnoringCase(name, u"AnnZUGFeRD") || sameNameIgnoringCase(name, u"AnnZUGXDoc"));
}

}  // namespace

JobCommandMap filterPageCommands(const JobCommandMap& commands, WStringView pageAddress) {
    const bool localPage = isLocalPage(pageAddress);
    JobCommandMap kept;
    for (const auto& [name, value] : commands) {
        if (!isDropped(name, localPage)) kept.emplace_hint(kept.end(), name, value);
    }
    return kept;
}

}  // namespace korventa
