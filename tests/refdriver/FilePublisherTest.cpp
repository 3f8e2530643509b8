#include "refdriver/FilePublisher.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "support/TempDir.h"

namespace korventa::refdriver {
namespace {

namespace fs = std::filesystem;

std::set<std::string> namesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

std::string numbered(int number) {
    return number == 1 ? "Invoice" : "Invoice (" + std::to_string(number) + ")";
}

// Publishes one PDF and XML pair under "Invoice"; the PDF's path, or the error.
std::string publishPair(const test::TempDir& dir) {
    FilePublisher publisher;
    std::string error;
    if (!publisher.open(dir.path(), error) || !publisher.add(".pdf", "%PDF", error) ||
        !publisher.add(".xml", "<x/>", error) || !publisher.publish("Invoice", error)) {
        return error;
    }
    return fs::path(publisher.paths().front()).filename().string();
}

TEST(FilePublisher, ManyJobsOfOneTitleAreNumberedInTurnWithoutGaps) {
    test::TempDir dir;
    for (int number = 1; number <= 40; ++number)
        ASSERT_EQ(publishPair(dir), numbered(number) + ".pdf");
    EXPECT_EQ(namesIn(dir.path()).size(), 80U);
}

// Numbers taken by either file of the pair, with gaps a user left by deleting some: every new
// pair gets a number free for both files, and nothing there is replaced.
TEST(FilePublisher, NumbersTakenByEitherFileOrLeftFreeByDeletionNeverReplaceAFile) {
    test::TempDir dir;
    for (int number = 1; number <= 12; ++number) {
        if (number == 4 || number == 9)
            continue;
        dir.writeFile(numbered(number) + (number % 3 == 0 ? ".xml" : ".pdf"), "user's file");
    }
    std::set<std::string> published;
    for (int job = 0; job < 6; ++job) {
        const std::string name = publishPair(dir);
        ASSERT_TRUE(name.ends_with(".pdf")) << name;
        const std::string stem = name.substr(0, name.size() - 4);
        EXPECT_EQ(dir.readFile(stem + ".xml"), "<x/>");
        EXPECT_TRUE(published.insert(stem).second) << stem;
    }
    for (int number = 1; number <= 12; ++number) {
        if (number == 4 || number == 9)
            continue;
        EXPECT_EQ(dir.readFile(numbered(number) + (number % 3 == 0 ? ".xml" : ".pdf")),
                  "user's file");
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 10U + 12U);
}

}  // namespace
}  // namespace korventa::refdriver
