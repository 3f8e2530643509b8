#include "view/AddressNavigator.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace korventa {
namespace {

// Records every address asked; accepts those the predicate accepts.
class RecordingBrowser : public BrowserSeam {
public:
    explicit RecordingBrowser(std::function<bool(const WString&)> accepts)
        : accepts_(std::move(accepts)) {}
    HResult openInBrowser(const WString& address) override {
        asked.push_back(address);
        return accepts_(address) ? S_OK : E_INVALIDARG;
    }
    std::vector<WString> asked;

private:
    std::function<bool(const WString&)> accepts_;
};

// Accepts what has a scheme, like the browser: "https:" in front or an explicit "x:" form.
bool acceptsSchemes(const WString& address) {
    return address.starts_with(u"https://") || address.starts_with(u"file:");
}

std::vector<WString> askedFor(WStringView text, bool (*accepts)(const WString&) = acceptsSchemes) {
    RecordingBrowser browser(accepts);
    (void)AddressNavigator(browser).navigate(text);
    return browser.asked;
}

const WString kSearch(AddressNavigator::kSearchPrefix);

TEST(AddressNavigator, OpensCompleteAddressUnchanged) {
    EXPECT_EQ(askedFor(u"https://example.com/a?b=c"),
              std::vector<WString>{u"https://example.com/a?b=c"});
}

TEST(AddressNavigator, PrefixesHttpsToHostLikeText) {
    EXPECT_EQ(askedFor(u"example.com/x"),
              (std::vector<WString>{u"example.com/x", u"https://example.com/x"}));
}

TEST(AddressNavigator, RefusedHttpsFormGivesNoSearch) {
    RecordingBrowser browser([](const WString&) { return false; });
    EXPECT_EQ(AddressNavigator(browser).navigate(u"example.com"), E_INVALIDARG);
    EXPECT_EQ(browser.asked, (std::vector<WString>{u"example.com", u"https://example.com"}));
}

TEST(AddressNavigator, SearchesTextWithoutDotFoldingBlankRunsIntoOnePlus) {
    EXPECT_EQ(askedFor(u"news  of   today").back(), kSearch + u"news+of+today");
}

TEST(AddressNavigator, SearchesTextWithColonEvenWithDotAndEscapesTheColon) {
    EXPECT_EQ(askedFor(u"note: v1.2").back(), kSearch + u"note%3A+v1.2");
}

TEST(AddressNavigator, EscapesPlusAndPercentSoOnlyBlanksBecomePlus) {
    EXPECT_EQ(askedFor(u"1+1 %20").back(), kSearch + u"1%2B1+%2520");
}

TEST(AddressNavigator, SearchesEmptyQueryForEmptyText) {
    EXPECT_EQ(askedFor(u""), (std::vector<WString>{u"", kSearch}));
}

TEST(AddressNavigator, SearchesEmptyQueryWhenEscapedTextIsTooLong) {
    // 682 blanks escape to 2046 characters, one more "?" to 2049.
    EXPECT_EQ(askedFor(WString(682, u' ') + u"x").back(), kSearch + u"+x");
    EXPECT_EQ(askedFor(WString(682, u' ') + u"?").back(), kSearch);
}

TEST(AddressNavigator, KeepsNonAsciiInQuery) {
    EXPECT_EQ(askedFor(u"Rechnung März €").back(), kSearch + u"Rechnung+März+€");
}

TEST(AddressNavigator, ReturnsStatusOfLastAttempt) {
    RecordingBrowser browser(
        [](const WString& address) { return address.starts_with(u"https://www"); });
    EXPECT_EQ(AddressNavigator(browser).navigate(u"no dot here"), S_OK);
}

}  // namespace
}  // namespace korventa
