// The job record in a temporary user hive, where the driver looks for it.
#include "print/RegistryJobRecordStore.h"

#include <gtest/gtest.h>

#include "driver/DriverNames.h"
#include "driver/HiveWriter.h"
#include "driver/KeyValues.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

using test::textOf;
using test::userHive;

const WString kJobKey = u"KORVENTAJob\\Inst001\\101";

class RegistryJobRecord : public testing::Test {
protected:
    test::ScopedHives hives_;
    RegistryJobRecordStore store_;
};

TEST_F(RegistryJobRecord, BatchIsStoredUnderTheDriverRootAndReadBack) {
    EXPECT_TRUE(store_.writeBatch(kJobKey, {{u"JobTempPDF", u"/tmp/efn0001.tmp"}, {u"EmailEnable", u"False"}}));

    const WString keyPath = WString(DriverRegistryRoot) + kJobKey + u"\\";
    EXPECT_EQ(textOf(userHive(), keyPath, u"JobTempPDF"), u"/tmp/efn0001.tmp");
    SettingsMap values;
    store_.read(kJobKey, values);
    EXPECT_EQ(values,
              (SettingsMap{{u"EmailEnable", u"False"}, {u"JobTempPDF", u"/tmp/efn0001.tmp"}}));
}

TEST_F(RegistryJobRecord, LaterBatchOverwritesItsNamesAndKeepsTheRest) {
    EXPECT_TRUE(store_.writeBatch(kJobKey, {{u"DestPostSaveDlg", u"True"}, {u"JobFlagDrag2PDF", u"128"}}));
    EXPECT_TRUE(store_.writeBatch(kJobKey, {{u"DestPostSaveDlg", u"False"}}));

    SettingsMap values;
    store_.read(kJobKey, values);
    EXPECT_EQ(values, (SettingsMap{{u"DestPostSaveDlg", u"False"}, {u"JobFlagDrag2PDF", u"128"}}));
}

TEST_F(RegistryJobRecord, MissingKeyAddsNothing) {
    SettingsMap values{{u"Kept", u"yes"}};
    store_.read(kJobKey, values);
    EXPECT_EQ(values, (SettingsMap{{u"Kept", u"yes"}}));
}

}  // namespace
}  // namespace korventa
