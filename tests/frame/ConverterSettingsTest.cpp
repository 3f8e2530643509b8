#include "frame/ConverterSettings.h"

#include <gtest/gtest.h>

#include "frame/RegistryFixture.h"

namespace korventa {
namespace {

using test::putText;
using test::valuesOf;

constexpr WStringView kUserKey = u"Software\\TALVENIR\\KORVENTA\\KORVENTA";
constexpr WStringView kMandatoryKey = u"Software\\TALVENIR\\KORVENTA\\MUST\\KORVENTA";
constexpr WStringView kHome = u"https://home.example/";

class ConverterSettingsTest : public testing::Test {
protected:
    ConverterSettings load() { return ConverterSettings::load(layers_, kHome); }

    test::ScopedHives hives_;
    LayeredSettings layers_;
};

TEST_F(ConverterSettingsTest, FirstRunGivesTheDefaults) {
    const ConverterSettings settings = load();
    EXPECT_EQ(settings.printerName, u"Veltrix PDF Pro");
    EXPECT_EQ(settings.url, kHome);
    EXPECT_EQ(settings.recentText, u"");
    EXPECT_TRUE(settings.detectCommands);
    EXPECT_TRUE(settings.hideCommands);
    EXPECT_EQ(settings.commandClass, u"veltrix-cmd");
    EXPECT_FALSE(settings.htmlAsTemplate);
}

TEST_F(ConverterSettingsTest, UpperCaseTrueReadsAsOffAndIsSavedAsFalse) {
    putText(hives_.userHive(), kUserKey, u"ConvertCmd", u"TRUE");
    putText(hives_.userHive(), kUserKey, u"ConvertHTMLAsTemp", u"true");
    const ConverterSettings settings = load();
    EXPECT_FALSE(settings.detectCommands);
    EXPECT_TRUE(settings.htmlAsTemplate);

    ASSERT_EQ(settings.save(), reg::RegStatus::Ok);
    EXPECT_EQ(load().toMap().at(u"ConvertCmd"), u"False");
}

TEST_F(ConverterSettingsTest, MandatoryValueWinsAtLoadWhileTheUsersValueIsWrittenBack) {
    putText(hives_.machineHive(), kMandatoryKey, u"ConvertCmdCSS", u"forced");
    putText(hives_.userHive(), kUserKey, u"ConvertCmdCSS", u"mine");
    ConverterSettings settings = load();
    EXPECT_EQ(settings.commandClass, u"forced");

    settings.commandClass = u"typed";
    ASSERT_EQ(settings.save(), reg::RegStatus::Ok);
    EXPECT_EQ(load().commandClass, u"forced");
    bool found = false;
    for (const auto& value : valuesOf(hives_.userHive(), kUserKey)) {
        if (value.name == u"ConvertCmdCSS")
            found = value.text() == u"typed";
    }
    EXPECT_TRUE(found);
}

TEST_F(ConverterSettingsTest, SavesExactlyTheSevenTextsInMapOrder) {
    ConverterSettings settings = load();
    settings.recentText = u"(a)(b)";
    ASSERT_EQ(settings.save(), reg::RegStatus::Ok);

    const auto values = valuesOf(hives_.userHive(), kUserKey);
    const std::vector<std::pair<WString, WString>> expected{
        {u"ConvertCmd", u"True"},
        {u"ConvertCmdCSS", u"veltrix-cmd"},
        {u"ConvertCmdHide", u"True"},
        {u"ConvertHTMLAsTemp", u"False"},
        {u"ConvertPrinterName", u"Veltrix PDF Pro"},
        {u"ConvertRecent", u"(a)(b)"},
        {u"ConvertURL", WString(kHome)},
    };
    ASSERT_EQ(values.size(), expected.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        EXPECT_EQ(values[i].name, expected[i].first);
        EXPECT_EQ(values[i].type, reg::REG_SZ);
        EXPECT_EQ(values[i].data, reg::RegValue::stringData(expected[i].second));
    }
}

}  // namespace
}  // namespace korventa
