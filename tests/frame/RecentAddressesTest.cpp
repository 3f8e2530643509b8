#include "frame/RecentAddresses.h"

#include <gtest/gtest.h>

namespace korventa {
namespace {

class FakeAddressBox : public AddressBox {
public:
    void clearItems() override {
        items.clear();
        ++refills;
    }
    void addItem(const WString& text) override { items.push_back(text); }
    std::size_t itemCount() const override { return items.size(); }
    WString itemText(std::size_t index) const override { return items.at(index); }
    WString editText() const override { return edit; }
    void setEditText(const WString& text) override { edit = text; }

    std::vector<WString> items;
    WString edit;
    int refills = 0;
};

using List = std::vector<WString>;

TEST(RecentAddresses, PutsANewAddressInFront) {
    RecentAddresses recent;
    FakeAddressBox box;
    recent.load(u"(b)(c)");
    recent.AddRecentAddress(u"a", false, &box);
    EXPECT_EQ(recent.entries(), (List{u"a", u"b", u"c"}));
    EXPECT_EQ(box.items, recent.entries());
}

TEST(RecentAddresses, MovesRepeatedAddressToFrontRemovingEveryCopy) {
    RecentAddresses recent;
    recent.load(u"(a)(x)(b)(x)");
    recent.AddRecentAddress(u"x", false, nullptr);
    EXPECT_EQ(recent.entries(), (List{u"x", u"a", u"b"}));
}

TEST(RecentAddresses, LeavesTheBoxAloneWhenTheAddressIsFirstAndNoRefillIsAsked) {
    RecentAddresses recent;
    FakeAddressBox box;
    recent.load(u"(a)(b)");
    recent.AddRecentAddress(u"a", false, &box);
    EXPECT_EQ(box.refills, 0);
    recent.AddRecentAddress(u"a", true, &box);
    EXPECT_EQ(box.refills, 1);
    EXPECT_EQ(box.items, (List{u"a", u"b"}));
}

TEST(RecentAddresses, ComparesCaseSensitively) {
    RecentAddresses recent;
    recent.load(u"(A)");
    recent.AddRecentAddress(u"a", false, nullptr);
    EXPECT_EQ(recent.entries(), (List{u"a", u"A"}));
}

TEST(RecentAddresses, ShowsThirtyTwoAndSavesSixteen) {
    RecentAddresses recent;
    FakeAddressBox box;
    for (int i = 0; i < 40; ++i) recent.AddRecentAddress(u"u" + decimalText(i), false, &box);
    ASSERT_EQ(box.items.size(), 32u);
    EXPECT_EQ(box.items.front(), u"u39");
    EXPECT_EQ(box.items.back(), u"u8");

    RecentAddresses restarted;
    restarted.load(RecentAddresses::savedText(&box));
    restarted.AddRecentAddress(u"saved current", true, nullptr);
    ASSERT_EQ(restarted.entries().size(), 17u);
    EXPECT_EQ(restarted.entries()[1], u"u39");
    EXPECT_EQ(restarted.entries().back(), u"u24");
}

TEST(RecentAddresses, SavesNothingWithoutABoxAndDropsCarriageReturns) {
    EXPECT_EQ(RecentAddresses::savedText(nullptr), u"");
    FakeAddressBox box;
    box.items = {u"a\r\nb", u"c(1)\\"};
    RecentAddresses restored;
    restored.load(RecentAddresses::savedText(&box));
    EXPECT_EQ(restored.entries(), (List{u"a\nb", u"c(1)\\"}));
}

TEST(RecentAddresses, TakesAnEmptyAddressAsAnEntry) {
    RecentAddresses recent;
    recent.load(u"(a)");
    recent.AddRecentAddress(u"", true, nullptr);
    EXPECT_EQ(recent.entries(), (List{u"", u"a"}));
}

}  // namespace
}  // namespace korventa
