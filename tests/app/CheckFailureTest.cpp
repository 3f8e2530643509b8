#include "app/CheckFailure.h"

#include <gtest/gtest.h>

#include <vector>

namespace korventa {
namespace {

class RecordingPresenter : public FailurePresenter {
public:
    void show(const WString& text) override { shown.push_back(text); }
    std::vector<WString> shown;
};

TEST(FailureText, ShowsEightLowerCaseHexDigitsForFailures) {
    EXPECT_EQ(FailureReporter::failureText(E_FAIL, u"m"), u"m: 0x80004005");
    EXPECT_EQ(FailureReporter::failureText(E_INVALIDARG, u"x"), u"x: 0x80070057");
}

TEST(FailureText, RightAlignsShortCodesInBlanks) {
    EXPECT_EQ(FailureReporter::failureText(0x1F, u"m"), u"m: 0x      1f");
}

TEST(FailureLocation, NamesTheFileInQuotesAndTheLineInParentheses) {
    const WString location = FAILURE_LOCATION();
    const WString line = decimalText(__LINE__ - 1);
    EXPECT_EQ(location.rfind(u"Failure at \"", 0), 0u);
    EXPECT_NE(location.find(u"CheckFailureTest.cpp\"(" + line + u")"), WString::npos);
    EXPECT_EQ(location.back(), u')');
}

TEST(ShowFailure, ShowsTheTextAndReturns) {
    RecordingPresenter presenter;
    FailureReporter reporter(presenter);
    reporter.ShowFailure(E_FAIL, u"ExecuteScript failure!!");
    ASSERT_EQ(presenter.shown.size(), 1u);
    EXPECT_EQ(presenter.shown[0], u"ExecuteScript failure!!: 0x80004005");
}

TEST(CheckFailure, PassesSuccessCodesSilently) {
    RecordingPresenter presenter;
    FailureReporter reporter(presenter);
    reporter.CheckFailure(S_OK, u"here");
    reporter.CheckFailure(S_FALSE, u"here");
    EXPECT_TRUE(presenter.shown.empty());
}

TEST(CheckFailureDeathTest, EndsTheProcessAfterReportingOnStandardError) {
    RecordingPresenter presenter;
    FailureReporter reporter(presenter);
    EXPECT_EXIT(reporter.CheckFailure(E_UNEXPECTED, u"Failure at \"EdgeView\"(12)"),
                testing::ExitedWithCode(134), "Failure at \"EdgeView\"\\(12\\): 0x8000ffff");
}

TEST(CheckFailureDeathTest, RunsNoExitHandlers) {
    RecordingPresenter presenter;
    FailureReporter reporter(presenter);
    EXPECT_EXIT(
        {
            std::atexit([] { std::fputs("exit handler ran", stderr); });
            reporter.CheckFailure(E_FAIL, u"loc");
        },
        testing::ExitedWithCode(134), "^loc: 0x80004005\n$");
}

}  // namespace
}  // namespace korventa
