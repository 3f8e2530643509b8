// A batch run's data files come from the user's folders: whatever sits there under a .json
// name must give a reason, never block, abort or pass for an empty invoice.
#include "batch/BatchPlan.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "support/TempDir.h"

namespace korventa {
namespace {

std::string refusal(const std::string& path) {
    std::string text = "stale";
    std::string reason;
    EXPECT_FALSE(readDataFile(path, text, reason)) << path;
    EXPECT_EQ(text, "");
    return reason;
}

TEST(DataFile, TakesAJsonObjectAsItsText) {
    test::TempDir dir;
    dir.writeFile("a.json", " {\"doc\": {\"id\": \"R-1\"}}\n");
    std::string text;
    std::string reason;
    EXPECT_TRUE(readDataFile(dir.file("a.json"), text, reason)) << reason;
    EXPECT_EQ(text, " {\"doc\": {\"id\": \"R-1\"}}\n");
}

TEST(DataFile, RefusesFoldersFifosAndMissingFilesWithoutBlocking) {
    test::TempDir dir;
    std::filesystem::create_directory(dir.file("folder.json"));
    ASSERT_EQ(::mkfifo(dir.file("pipe.json").c_str(), 0600), 0);
    for (const char* name : {"folder.json", "pipe.json"}) {
        EXPECT_EQ(refusal(dir.file(name)),
                  "the data file cannot be read: " + dir.file(name) + " is not a regular file");
    }
    EXPECT_TRUE(refusal(dir.file("missing.json")).starts_with("the data file cannot be read: "));
}

TEST(DataFile, RefusesJsonThatIsNoObjectOrNoJsonAtAll) {
    test::TempDir dir;
    for (const char* value : {"42", "[{}]", "\"text\"", "null"}) {
        dir.writeFile("v.json", value);
        EXPECT_EQ(refusal(dir.file("v.json")), "the data file holds no JSON object") << value;
    }
    for (const char* value : {"", "{\"doc\": ", "{\"n\": 1e400}", "{} {}", "{\"a\":\"\xff\"}"}) {
        dir.writeFile("v.json", value);
        EXPECT_EQ(refusal(dir.file("v.json")), "the data file is not valid JSON") << value;
    }
}

}  // namespace
}  // namespace korventa
