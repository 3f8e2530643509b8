#include "driver/KeyValues.h"

#include <gtest/gtest.h>

#include "driver/DriverNames.h"
#include "driver/HiveWriter.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

using test::machineHive;
using test::textOf;
using test::userHive;
using test::valueNames;

const WString kJobKey = WString(DriverRegistryRoot) + u"KORVENTAJob\\Inst001\\101\\";

TEST(WriteKeyValues, WritesEveryEntryInMapOrderBelowDriverRootOfUser) {
    test::ScopedHives hives;
    const SettingsMap map{{u"b", u"2"}, {u"a", u"1"}, {u"C", u"3"}};
    ASSERT_EQ(WriteKeyValues(u"KORVENTAJob\\Inst001\\101", map), reg::RegStatus::Ok);
    EXPECT_EQ(valueNames(userHive(), kJobKey), (std::vector<WString>{u"C", u"a", u"b"}));
    EXPECT_TRUE(valueNames(machineHive(), kJobKey).empty());
}

TEST(WriteKeyValues, LaterBatchReplacesValueOfSameNameOnly) {
    test::ScopedHives hives;
    ASSERT_EQ(WriteKeyValues(u"KORVENTAJob\\Inst001\\101",
                             {{u"DestPostSaveDlg", u"True"}, {u"JobTempPDF", u"/tmp/efn1.tmp"}}),
              reg::RegStatus::Ok);
    ASSERT_EQ(WriteKeyValues(u"KORVENTAJob\\Inst001\\101", {{u"DestPostSaveDlg", u"False"}}),
              reg::RegStatus::Ok);
    EXPECT_EQ(textOf(userHive(), kJobKey, u"DestPostSaveDlg"), u"False");
    EXPECT_EQ(textOf(userHive(), kJobKey, u"JobTempPDF"), u"/tmp/efn1.tmp");
}

}  // namespace
}  // namespace korventa
