#include "pagescripts/PageScripts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
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

// An amount or quantity of the sample in hundredths; the sample writes both with a point.
long hundredths(const OrderedJson& text) {
    return std::lround(std::stod(text.get<std::string>()) * 100);
}

// The checks the EN 16931 rules make of an invoice's sums (BR-CO-10 to BR-CO-16 and the
// standard rate's tax, BR-S-08/09), on the sample that pages without data of their own show.
TEST(SampleInvoice, SumsAgreeWithItsLinesAndVatBreakdown) {
    const auto sample = OrderedJson::parse(sampleInvoiceJson(), nullptr, false);
    long lineSum = 0;
    std::map<std::string, long> basisByRate;
    for (const auto& line : sample["line"]) {
        const long total = hundredths(line["total"]);
        EXPECT_EQ(total, hundredths(line["qty"]) * hundredths(line["price"]) / 100)
            << line["name"];
        lineSum += total;
        basisByRate[line["vatrate"]] += total;
    }
    const auto& sums = sample["ahts"];
    EXPECT_EQ(hundredths(sums["ltotal"]), lineSum);
    EXPECT_EQ(hundredths(sums["btotal"]), lineSum);
    long taxSum = 0;
    for (const auto& group : sums["vat"]) {
        const long basis = hundredths(group["basis"]);
        const std::string rate = group["rate"];
        EXPECT_EQ(basis, basisByRate[rate]) << rate;
        EXPECT_EQ(hundredths(group["tax"]),
                  std::lround(static_cast<double>(basis) * std::stod(rate) / 100))
            << rate;
        taxSum += hundredths(group["tax"]);
    }
    EXPECT_EQ(basisByRate.size(), sums["vat"].size());
    EXPECT_EQ(hundredths(sums["tax"]), taxSum);
    EXPECT_EQ(hundredths(sums["gtotal"]), lineSum + taxSum);
    EXPECT_EQ(hundredths(sums["due"]), lineSum + taxSum - hundredths(sums["prepaid"]));
}

}  // namespace
}  // namespace korventa
