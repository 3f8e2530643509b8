#include "frame/WindowPlacement.h"

#include <gtest/gtest.h>

#include "frame/RegistryFixture.h"

namespace korventa {
namespace {

constexpr WStringView kWorkspace = u"Software\\TALVENIR\\KORVENTA\\Workspace";

TEST(WindowPlacement, ComesBackAsSaved) {
    test::ScopedHives hives;
    const WindowPlacement placement{-20, 40, 1024, 700, true};
    ASSERT_EQ(placement.save(), reg::RegStatus::Ok);
    EXPECT_EQ(WindowPlacement::load(), placement);
}

TEST(WindowPlacement, IsAbsentOnFirstRun) {
    test::ScopedHives hives;
    EXPECT_FALSE(WindowPlacement::load().has_value());
}

TEST(WindowPlacement, DamagedValuesGiveNoPlacement) {
    test::ScopedHives hives;
    ASSERT_EQ((WindowPlacement{0, 0, 800, 600, false}.save()), reg::RegStatus::Ok);
    for (const WStringView bad : {u"12px", u"", u"0", u"-5", u"99999999999"}) {
        test::putText(hives.userHive(), kWorkspace, u"WindowWidth", bad);
        EXPECT_FALSE(WindowPlacement::load().has_value()) << toUtf8(bad);
    }
}

}  // namespace
}  // namespace korventa
