#include "driver/LayeredSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "driver/DriverNames.h"
#include "driver/HiveWriter.h"
#include "support/TempDir.h"

namespace korventa {
namespace {

using test::machineHive;
using test::putText;
using test::userHive;

const WString kConverterKey = WString(ConverterRegistryRoot) + u"KORVENTA";
const WString kConverterMust = WString(ConverterRegistryRoot) + u"MUST\\KORVENTA";
const WString kDriverMust = WString(DriverRegistryRoot) + u"MUST\\";

// Temporary machine and user hives, and remote machines whose hives are files
// remote-<server>.db in the same folder.
class LayeredSettingsTest : public ::testing::Test {
protected:
    LayeredSettingsTest() {
        const std::string pattern = hives_.dir().file("remote-%s.db");
        ::setenv("TALVENIR_REMOTE_HIVE", pattern.c_str(), 1);
    }
    ~LayeredSettingsTest() override { ::unsetenv("TALVENIR_REMOTE_HIVE"); }

    [[nodiscard]] reg::RegistryHive remoteHive(const std::string& server) const {
        return reg::RegistryHive::atPath(hives_.dir().file("remote-" + server + ".db"));
    }
    void setRemoteServer(WStringView root, WStringView server) {
        putText(machineHive(), root, u"RemoteRegServer", server);
    }
    [[nodiscard]] SettingsMap loadConverter(SettingsMap map = {}) {
        settings_.LoadLayeredSettings(SettingsForm::Converter, map);
        return map;
    }

    test::ScopedHives hives_;
    LayeredSettings settings_;
};

TEST_F(LayeredSettingsTest, UserLayerOverridesMachineLayer) {
    putText(machineHive(), kConverterKey, u"ConvertURL", u"https://machine.example/");
    putText(userHive(), kConverterKey, u"ConvertURL", u"https://user.example/");
    EXPECT_EQ(loadConverter()[u"ConvertURL"], u"https://user.example/");
}

TEST_F(LayeredSettingsTest, MandatoryLayerOverridesUserLayer) {
    putText(userHive(), kConverterKey, u"ConvertCmd", u"False");
    putText(machineHive(), kConverterMust, u"ConvertCmd", u"True");
    EXPECT_EQ(loadConverter()[u"ConvertCmd"], u"True");
}

TEST_F(LayeredSettingsTest, ProhibitFlagInMachineKeySkipsUserButNotMandatory) {
    putText(machineHive(), kConverterKey, u"FlagProhibitHKCU", u"True");
    putText(userHive(), kConverterKey, u"ConvertURL", u"https://user.example/");
    putText(machineHive(), kConverterMust, u"ConvertCmdCSS", u"invoice-cmd");
    const SettingsMap map = loadConverter();
    EXPECT_EQ(map.count(u"ConvertURL"), 0u);
    EXPECT_EQ(map.at(u"ConvertCmdCSS"), u"invoice-cmd");
}

TEST_F(LayeredSettingsTest, ProhibitFlagInUserKeyAloneDoesNotStopUserLayer) {
    putText(userHive(), kConverterKey, u"FlagProhibitHKCU", u"True");
    putText(userHive(), kConverterKey, u"ConvertURL", u"https://user.example/");
    EXPECT_EQ(loadConverter()[u"ConvertURL"], u"https://user.example/");
}

TEST_F(LayeredSettingsTest, UppercaseTrueDoesNotProhibitUserLayer) {
    putText(machineHive(), kConverterKey, u"FlagProhibitHKCU", u"TRUE");
    putText(userHive(), kConverterKey, u"ConvertURL", u"https://user.example/");
    EXPECT_EQ(loadConverter()[u"ConvertURL"], u"https://user.example/");
}

TEST_F(LayeredSettingsTest, ProhibitFlagLeftInMapByEarlierLoadIsReset) {
    putText(userHive(), kConverterKey, u"ConvertURL", u"https://user.example/");
    const SettingsMap map = loadConverter({{u"FlagProhibitHKCU", u"True"}});
    EXPECT_EQ(map.at(u"FlagProhibitHKCU"), u"False");
    EXPECT_EQ(map.at(u"ConvertURL"), u"https://user.example/");
}

TEST_F(LayeredSettingsTest, DriverFormReadsRootKeyAndMustKeyBelowIt) {
    putText(machineHive(), DriverRegistryRoot, u"Language", u"en");
    putText(userHive(), DriverRegistryRoot, u"Language", u"de");
    putText(machineHive(), kDriverMust, u"InstallPath", u"/opt/veltrix");
    SettingsMap map;
    settings_.LoadLayeredSettings(SettingsForm::Driver, map);
    EXPECT_EQ(map, (SettingsMap{{u"InstallPath", u"/opt/veltrix"}, {u"Language", u"de"}}));
}

TEST_F(LayeredSettingsTest, RemoteLayerSitsBetweenMachineAndUserAndItsMandatoryKeyComesLast) {
    setRemoteServer(ConverterRegistryRoot, u"alpha");
    putText(machineHive(), kConverterKey, u"ConvertCmd", u"machine");
    putText(machineHive(), kConverterKey, u"ConvertURL", u"machine");
    putText(remoteHive("alpha"), kConverterKey, u"ConvertCmd", u"remote");
    putText(remoteHive("alpha"), kConverterKey, u"ConvertURL", u"remote");
    putText(userHive(), kConverterKey, u"ConvertURL", u"user");
    putText(machineHive(), kConverterMust, u"ConvertCmdCSS", u"local-must");
    putText(remoteHive("alpha"), kConverterMust, u"ConvertCmdCSS", u"remote-must");

    const SettingsMap map = loadConverter();
    EXPECT_EQ(map.at(u"ConvertCmd"), u"remote");
    EXPECT_EQ(map.at(u"ConvertURL"), u"user");
    EXPECT_EQ(map.at(u"ConvertCmdCSS"), u"remote-must");
}

TEST_F(LayeredSettingsTest, FalseWithBlanksAroundMeansNoServer) {
    setRemoteServer(ConverterRegistryRoot, u" \tFalse\u00A0 ");
    WString server;
    EXPECT_FALSE(settings_.FindRemoteRegistryServer(ConverterRegistryRoot, server));
    EXPECT_EQ(server, u"False");
}

TEST_F(LayeredSettingsTest, UppercaseFalseIsTakenAsServerName) {
    setRemoteServer(ConverterRegistryRoot, u"FALSE");
    putText(remoteHive("FALSE"), kConverterKey, u"ConvertURL", u"remote");
    EXPECT_EQ(loadConverter()[u"ConvertURL"], u"remote");
}

TEST_F(LayeredSettingsTest, UnreachableServerIsTriedOnlyOncePerObject) {
    setRemoteServer(ConverterRegistryRoot, u"beta");
    EXPECT_EQ(loadConverter().count(u"ConvertURL"), 0u);

    // The server comes up later: this object has written it off, a new one reaches it.
    putText(remoteHive("beta"), kConverterKey, u"ConvertURL", u"remote");
    WString server;
    EXPECT_FALSE(settings_.FindRemoteRegistryServer(ConverterRegistryRoot, server));
    EXPECT_EQ(loadConverter().count(u"ConvertURL"), 0u);

    LayeredSettings fresh;
    SettingsMap map;
    fresh.LoadLayeredSettings(SettingsForm::Converter, map);
    EXPECT_EQ(map[u"ConvertURL"], u"remote");
}

TEST_F(LayeredSettingsTest, InstallPathFallsBackToLayeredDriverSettings) {
    putText(userHive(), DriverRegistryRoot, u"InstallPath", u"/home/user/veltrix");
    EXPECT_EQ(settings_.GetDriverInstallPath(), u"/home/user/veltrix");
}

}  // namespace
}  // namespace korventa
