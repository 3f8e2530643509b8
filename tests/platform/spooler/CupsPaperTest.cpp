#include "platform/spooler/CupsPaper.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

namespace korventa {
namespace {

PaperSize converted(const char* name, int width, int length) {
    cups_size_t size{};
    std::snprintf(size.media, sizeof size.media, "%s", name);
    size.width = width;
    size.length = length;
    return paperFromCups(size);
}

MATCHER_P3(IsPaper, name, width, height, "") {
    return arg.name == name && arg.width == width && arg.height == height;
}

TEST(CupsPaper, SnapsPointSizesToTheStandardSizeTheNameSpells) {
    EXPECT_THAT(converted("iso_a4_210x297mm_borderless", 20990, 29704),
                IsPaper(u"iso_a4_210x297mm", 2100, 2970));
    EXPECT_THAT(converted("iso_a5_148x210mm", 14817, 20990),
                IsPaper(u"iso_a5_148x210mm", 1480, 2100));
}

TEST(CupsPaper, KeepsSizesTheNameDoesNotSpellRoundedHalfUp) {
    EXPECT_THAT(converted("iso_a4_210x297mm", 21590, 27940),
                IsPaper(u"iso_a4_210x297mm", 2159, 2794));
    EXPECT_THAT(converted("Postcard-Wide", 12345, 6784), IsPaper(u"Postcard-Wide", 1235, 678));
}

}  // namespace
}  // namespace korventa
