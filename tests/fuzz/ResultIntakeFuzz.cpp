// The result message comes from the page, which any site controls: the intake must take any
// bytes, and a message it refuses must leave the request state exactly as it was, while one
// it accepts may add and replace commands but never remove one.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "view/ResultIntake.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view message(reinterpret_cast<const char*>(data), size);
    const korventa::JobCommandMap before = {{u"AnnZUGXDoc", u"(earlier)"}, {u"\x01", u"x"}};
    const std::string xmlBefore = "<earlier/>";
    korventa::JobCommandMap commands = before;
    std::string facturXml = xmlBefore;

    switch (korventa::takeConversionResult(message, commands, facturXml)) {
    case korventa::IntakeStatus::Invalid:
        if (commands != before || facturXml != xmlBefore) std::abort();
        break;
    case korventa::IntakeStatus::Accepted:
        for (const auto& entry : before) {
            if (!commands.contains(entry.first)) std::abort();
        }
        break;
    }
    return 0;
}
