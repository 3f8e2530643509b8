#include "pagescripts/PageScripts.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace korventa {
namespace {

using OrderedJson = nlohmann::ordered_json;

void collectNonStringLeaves(const OrderedJson& value, const std::string& path,
                            std::vector<std::string>& found) {
    if (value.is_object()) {
        for (const auto& [name, member] : value.items()) {
            collectNonStringLeaves(member, path + "." + name, found);
        }
    } else if (value.is_array()) {
        for (std::size_t i = 0; i < value.size(); ++i) {
            collectNonStringLeaves(value[i], path + "[" + std::to_string(i) + "]", found);
        }
    } else if (!value.is_string()) {
        found.push_back(path);
    }
}

TEST(SampleInvoice, ParsesAndEveryLeafIsAString) {
    const auto sample = OrderedJson::parse(sampleInvoiceJson(), nullptr, false);
    ASSERT_FALSE(sample.is_discarded());
    std::vector<std::string> nonStrings;
    collectNonStringLeaves(sample, "", nonStrings);
    EXPECT_TRUE(nonStrings.empty()) << nonStrings.front();
}

TEST(SampleInvoice, IsWrittenWithTwoSpaceIndentationOneMemberPerLine) {
    const auto sample = OrderedJson::parse(sampleInvoiceJson(), nullptr, false);
    EXPECT_EQ(sample.dump(2) + "\n", sampleInvoiceJson());
}

TEST(SampleInvoice, ListsTheSectionsInInvoiceOrder) {
    const auto sample = OrderedJson::parse(sampleInvoiceJson(), nullptr, false);
    std::vector<std::string> sections;
    for (const auto& [name, member] : sample.items()) sections.push_back(name);
    EXPECT_EQ(sections,
              (std::vector<std::string>{"doc", "line", "seller", "buyer", "ahtd", "ahts"}));
    EXPECT_EQ(sample["ahts"]["gtotal"], "529.87");
    EXPECT_EQ(sample["line"][1]["name"], "Joghurt Banan");
}

TEST(SampleInvoice, LegalBlockSeparatesLinesAndEndsTheCityLineWithATab) {
    const auto sample = OrderedJson::parse(sampleInvoiceJson(), nullptr, false);
    const auto& legal = sample["doc"]["note"][1];
    EXPECT_EQ(legal["scode"], "REG");
    const std::string text = legal["cont"];
    EXPECT_NE(text.find("80333 M\xc3\xbcnchen\t\nDeutschland\n"), std::string::npos);
}

}  // namespace
}  // namespace korventa
